// The host's plain popup menu window, driven through the headless platform.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/graphics/Pixmap.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/Menus.h"
#include "host/ui/PopupMenuWindow.h"
#include "host/ui/WindowSystem.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz {
namespace {

// A focusable control that records the keyboard messages it gets.
class TKeyProbe : public TCustomControl {
 public:
  explicit TKeyProbe(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
  std::vector<uint32_t> keyMessages;

 protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_KEYDOWN || m.Msg == WM_CHAR || m.Msg == WM_SYSCHAR) keyMessages.push_back(m.Msg);
    TCustomControl::Dispatch(m);
  }
};

class PopupMenuWindowTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = new TForm(Application);
    form->SetBoundsRect({100, 100, 600, 500});
    form->Show();
    probe = new TKeyProbe(form);
    probe->SetParent(form);
    probe->SetBounds(10, 10, 100, 30);
    probe->SetFocus();
    menu = new TPopupMenu(form);
    open = AddItem(menu->Items(), "&Open", ShortCut('O', {ssCtrl}));
    save = AddItem(menu->Items(), "&Save", ShortCut('S', {ssCtrl}));
    line = AddItem(menu->Items(), "-");
    disabled = AddItem(menu->Items(), "&Print");
    disabled->SetEnabled(false);
    hidden = AddItem(menu->Items(), "&Hidden");
    hidden->SetVisible(false);
    exit = AddItem(menu->Items(), "E&xit");
    Pump();
  }

  TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut = 0) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    item->OnClick = [this](TObject* sender) { clicked.push_back(static_cast<TMenuItem*>(sender)); };
    parent->Add(item);
    return item;
  }

  TPopupMenuWindow* Show(TPoint at = {200, 150}) {
    menu->Popup(at.X, at.Y);
    Pump();
    return menu->PopupWindow();
  }
  static TPoint ItemCenter(TPopupMenuWindow* w, int index) {
    TRect r = w->ItemRect(index);
    return w->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
  void Move(TPoint screen) {
    hp->InjectMouseMove(screen);
    Pump();
  }
  void Click(TPoint screen) {
    hp->InjectClick(screen);
    Pump();
  }
  void Key(int vk) {
    hp->InjectKey(vk);
    Pump();
  }
  // Visible popup menu windows (the deferred deletion has run after Pump).
  static int ShownMenuWindows() {
    int n = 0;
    for (TWinControl* w : TopLevelControls())
      if (Is<TPopupMenuWindow>(w) && IsWindowVisible(w)) ++n;
    return n;
  }
  static int LiveMenuWindows() {
    int n = 0;
    for (TWinControl* w : TopLevelControls()) n += Is<TPopupMenuWindow>(w) ? 1 : 0;
    return n;
  }
  uint32_t ScreenPixel(TPoint p) const { return hp->ComposeScreen().At(p.X, p.Y); }
  static uint32_t Rgb(TColor c) { return PixelFromColorRef(ColorToRGB(c)); }

  TForm* form = nullptr;
  TKeyProbe* probe = nullptr;
  TPopupMenu* menu = nullptr;
  TMenuItem *open = nullptr, *save = nullptr, *line = nullptr, *disabled = nullptr, *hidden = nullptr,
            *exit = nullptr;
  std::vector<TMenuItem*> clicked;
};

// ---------------------------------------------------------------- layout

TEST_F(PopupMenuWindowTest, RowsAndWindowSizeFollowTheItems) {
  TPopupMenuWindow* w = Show();
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(w->ItemCount(), 5);  // the invisible item takes no row
  EXPECT_EQ(w->Item(0), open);
  EXPECT_EQ(w->Item(2), line);
  EXPECT_EQ(w->Item(4), exit);

  TCanvas measure;
  measure.Font().Assign(w->Font());
  const int itemHeight = std::max(20, measure.TextHeight("Ag") + 6);
  const int captions = std::max({measure.TextWidth("Open"), measure.TextWidth("Save"),
                                 measure.TextWidth("Print"), measure.TextWidth("Exit")});
  const int shortCuts = std::max(measure.TextWidth("Ctrl+O"), measure.TextWidth("Ctrl+S"));
  const int width = 3 + 20 + captions + 20 + shortCuts + 20 + 3;
  const int height = 3 + 4 * itemHeight + 7 + 3;
  EXPECT_EQ(menu->PopupRect(), (TRect{200, 150, 200 + width, 150 + height}));
  EXPECT_EQ(w->ItemRect(0), (TRect{3, 3, width - 3, 3 + itemHeight}));
  EXPECT_EQ(w->ItemRect(2), (TRect{3, 3 + 2 * itemHeight, width - 3, 3 + 2 * itemHeight + 7}));
  EXPECT_EQ(w->ItemRect(3).Top, w->ItemRect(2).Bottom);
  EXPECT_EQ(w->ItemRect(4).Bottom, height - 3);
  EXPECT_EQ(w->ItemAt({1, 1}), -1);  // the border
  EXPECT_EQ(w->ItemAt({width / 2, 3 + 2 * itemHeight + 3}), 2);
}

TEST_F(PopupMenuWindowTest, FlipsToStayOnTheWorkAreaOfTheMonitorAtThePoint) {
  // Two monitors side by side; the first one's work area ends at y = 1040.
  hp->SetMonitors({{Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040), true},
                   {Rect(1920, 0, 3200, 1024), Rect(1920, 0, 3200, 1024), false}});
  TSize size = Show()->BoundsRect().Size();
  menu->ClosePopup();

  Show({1910, 300});  // the window would reach onto the second monitor
  EXPECT_EQ(menu->PopupRect(), Bounds(1910 - size.cx, 300, size.cx, size.cy));
  Show({500, 1030});  // would pass the work area's bottom (not the monitor's)
  EXPECT_EQ(menu->PopupRect(), Bounds(500, 1030 - size.cy, size.cx, size.cy));
  Show({1915, 1035});
  EXPECT_EQ(menu->PopupRect(), Bounds(1915 - size.cx, 1035 - size.cy, size.cx, size.cy));
  Show({3190, 10});  // second monitor
  EXPECT_EQ(menu->PopupRect(), Bounds(3190 - size.cx, 10, size.cx, size.cy));
  Show({3000, 10});
  EXPECT_EQ(menu->PopupRect(), Bounds(3000, 10, size.cx, size.cy));
  EXPECT_EQ(LiveMenuWindows(), 1);  // each Popup replaced the previous window
}

// ---------------------------------------------------------------- mouse

TEST_F(PopupMenuWindowTest, HoverHighlightsAndAClickRunsTheItemOnceAndCloses) {
  TPopupMenuWindow* w = Show();
  EXPECT_TRUE(menu->IsShowing());
  EXPECT_EQ(w->HotIndex(), -1);
  Move(ItemCenter(w, 1));
  EXPECT_EQ(w->HotIndex(), 1);
  Move(ItemCenter(w, 2));  // separators and disabled items are never hot
  EXPECT_EQ(w->HotIndex(), -1);
  Move(ItemCenter(w, 3));
  EXPECT_EQ(w->HotIndex(), -1);

  Click(ItemCenter(w, 1));
  EXPECT_EQ(clicked, std::vector<TMenuItem*>{save});
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_EQ(menu->PopupRect(), TRect());
  EXPECT_EQ(LiveMenuWindows(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetFocus(), HWND(probe));  // the focus came back
}

TEST_F(PopupMenuWindowTest, ClicksOnSeparatorsDisabledItemsOrTheBorderDoNothing) {
  TPopupMenuWindow* w = Show();
  Click(ItemCenter(w, 2));
  Click(ItemCenter(w, 3));
  Click(w->ClientToScreen({1, 1}));
  EXPECT_TRUE(clicked.empty());
  EXPECT_TRUE(menu->IsShowing());
  EXPECT_EQ(ShownMenuWindows(), 1);
}

TEST_F(PopupMenuWindowTest, AClickOutsideClosesWithoutACommandAndIsNotPassedOn) {
  int formClicks = 0;
  form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++formClicks; };
  Show();
  Click({500, 400});  // on the form
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_TRUE(clicked.empty());
  EXPECT_EQ(formClicks, 0);
  EXPECT_EQ(LiveMenuWindows(), 0);
  Click({500, 400});  // the next click is the form's again
  EXPECT_EQ(formClicks, 1);
}

TEST_F(PopupMenuWindowTest, TheReleaseOfThePressThatOpenedTheMenuChoosesNothing) {
  // Opened from a button press whose release lands on an item.
  TPopupMenuWindow* w = Show();
  hp->InjectMouseMove(ItemCenter(w, 0));
  hp->InjectMouseUp();
  Pump();
  EXPECT_TRUE(clicked.empty());
  EXPECT_TRUE(menu->IsShowing());
  // Nor does a left release after a right press inside the menu.
  hp->InjectClick(ItemCenter(w, 0), TMouseButtonId::Right);
  hp->InjectMouseUp();
  Pump();
  EXPECT_TRUE(clicked.empty());
}

// ---------------------------------------------------------------- keys

TEST_F(PopupMenuWindowTest, ArrowKeysSkipSeparatorsAndDisabledItemsAndWrap) {
  TPopupMenuWindow* w = Show();
  EXPECT_EQ(GetFocus(), HWND(w));
  std::vector<int> downs, ups;
  for (int i = 0; i < 4; ++i) {
    Key(VK_DOWN);
    downs.push_back(w->HotIndex());
  }
  EXPECT_EQ(downs, (std::vector<int>{0, 1, 4, 0}));
  for (int i = 0; i < 3; ++i) {
    Key(VK_UP);
    ups.push_back(w->HotIndex());
  }
  EXPECT_EQ(ups, (std::vector<int>{4, 1, 0}));
  EXPECT_TRUE(probe->keyMessages.empty());  // the menu had the keyboard
}

TEST_F(PopupMenuWindowTest, EnterRunsTheHotItemAndNoKeyReachesTheControlBehind) {
  TPopupMenuWindow* w = Show();
  Key(VK_DOWN);
  Key(VK_DOWN);
  ASSERT_EQ(w->HotIndex(), 1);
  Key(VK_RETURN);
  EXPECT_EQ(clicked, std::vector<TMenuItem*>{save});
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_EQ(GetFocus(), HWND(probe));
  EXPECT_TRUE(probe->keyMessages.empty());
}

TEST_F(PopupMenuWindowTest, EnterWithoutAHotItemAndEscapeRunNothing) {
  Show();
  Key(VK_RETURN);
  EXPECT_TRUE(menu->IsShowing());
  Key(VK_ESCAPE);
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_TRUE(clicked.empty());
  EXPECT_TRUE(probe->keyMessages.empty());
  Key(VK_ESCAPE);  // afterwards keys go to the control again
  EXPECT_FALSE(probe->keyMessages.empty());
}

TEST_F(PopupMenuWindowTest, AcceleratorsChooseEnabledItems) {
  TPopupMenuWindow* w = Show();
  hp->InjectText("p");  // disabled: nothing
  Pump();
  EXPECT_TRUE(menu->IsShowing());
  hp->InjectText("X");
  Pump();
  EXPECT_EQ(clicked, std::vector<TMenuItem*>{exit});
  EXPECT_FALSE(menu->IsShowing());
  (void)w;

  // Two items with the same letter: the letter moves between them.
  AddItem(menu->Items(), "&Send");
  w = Show();
  hp->InjectText("s");
  Pump();
  EXPECT_EQ(w->HotIndex(), 1);
  hp->InjectText("s");
  Pump();
  EXPECT_EQ(w->HotIndex(), 5);
  EXPECT_EQ(clicked.size(), 1u);
}

// ---------------------------------------------------------------- submenus

class PopupSubmenuTest : public PopupMenuWindowTest {
 protected:
  void SetUp() override {
    PopupMenuWindowTest::SetUp();
    recent = AddItem(menu->Items(), "&Recent");
    first = AddItem(recent, "&First");
    second = AddItem(recent, "&Second");
  }
  TMenuItem *recent = nullptr, *first = nullptr, *second = nullptr;
};

TEST_F(PopupSubmenuTest, HoverOpensTheChildBesideTheItemAndItsItemRuns) {
  TPopupMenuWindow* w = Show();
  const int recentRow = 5;
  ASSERT_EQ(w->Item(recentRow), recent);
  Move(ItemCenter(w, recentRow));
  TPopupMenuWindow* child = w->Submenu();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(ShownMenuWindows(), 2);
  // Beside the parent, its first row level with the item.
  EXPECT_EQ(child->BoundsRect().Left, w->BoundsRect().Right - 3);
  EXPECT_EQ(child->ClientToScreen(child->ItemRect(0).TopLeft()).Y,
            w->ClientToScreen(w->ItemRect(recentRow).TopLeft()).Y);
  // Clicking the parent item itself runs nothing.
  Click(ItemCenter(w, recentRow));
  EXPECT_TRUE(clicked.empty());
  EXPECT_EQ(w->Submenu(), child);

  Move(ItemCenter(child, 1));
  EXPECT_EQ(child->HotIndex(), 1);
  EXPECT_EQ(w->HotIndex(), recentRow);  // the path stays lit
  Click(ItemCenter(child, 1));
  EXPECT_EQ(clicked, std::vector<TMenuItem*>{second});
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_EQ(LiveMenuWindows(), 0);
}

TEST_F(PopupSubmenuTest, HoveringAnotherItemClosesTheChild) {
  TPopupMenuWindow* w = Show();
  Move(ItemCenter(w, 5));
  ASSERT_NE(w->Submenu(), nullptr);
  Move(ItemCenter(w, 0));
  EXPECT_EQ(w->Submenu(), nullptr);
  EXPECT_EQ(ShownMenuWindows(), 1);
}

TEST_F(PopupSubmenuTest, RightOpensLeftAndEscapeCloseOneLevel) {
  TPopupMenuWindow* w = Show();
  Key(VK_UP);
  ASSERT_EQ(w->Item(w->HotIndex()), recent);
  Key(VK_RIGHT);
  TPopupMenuWindow* child = w->Submenu();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->HotIndex(), 0);
  Key(VK_LEFT);
  EXPECT_EQ(w->Submenu(), nullptr);
  EXPECT_TRUE(menu->IsShowing());
  Key(VK_RIGHT);
  Key(VK_ESCAPE);
  EXPECT_EQ(w->Submenu(), nullptr);
  EXPECT_TRUE(menu->IsShowing());
  Key(VK_RIGHT);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(clicked, std::vector<TMenuItem*>{second});
  EXPECT_EQ(LiveMenuWindows(), 0);
}

TEST_F(PopupSubmenuTest, AChildNearTheRightEdgeOpensOnTheLeft) {
  TPopupMenuWindow* w = Show({1900, 100});
  ASSERT_EQ(w->BoundsRect().Right, 1900);  // the root flipped already
  Move(ItemCenter(w, 5));
  ASSERT_NE(w->Submenu(), nullptr);
  EXPECT_EQ(w->Submenu()->BoundsRect().Right, w->BoundsRect().Left + 3);
}

// A sub-menu of nothing but hidden items and separators opens no level and
// draws no arrow: its item is a command like any other.
TEST_F(PopupSubmenuTest, AnItemWhoseSubItemsAreAllHiddenIsACommand) {
  const int recentRow = 5;
  auto arrowPixel = [&](TPopupMenuWindow* w) {
    const TRect r = w->ItemRect(recentRow);
    const int cx = r.Right - TPopupMenuWindow::kArrowColumn / 2;
    return ScreenPixel(w->ClientToScreen({cx - 1, (r.Top + r.Bottom) / 2}));
  };
  TPopupMenuWindow* w = Show();
  ASSERT_EQ(w->Item(recentRow), recent);
  EXPECT_EQ(arrowPixel(w), Rgb(clMenuText));
  menu->ClosePopup();
  Pump();
  first->SetVisible(false);
  second->SetCaption("-");
  menu->SetAutoLineReduction(maManual);  // a kept separator still is no content
  w = Show();
  EXPECT_EQ(arrowPixel(w), Rgb(clMenu));
  Move(ItemCenter(w, recentRow));
  EXPECT_EQ(w->HotIndex(), recentRow);
  EXPECT_EQ(w->Submenu(), nullptr);
  Key(VK_RIGHT);
  EXPECT_EQ(w->Submenu(), nullptr);
  Click(ItemCenter(w, recentRow));
  EXPECT_EQ(clicked, std::vector<TMenuItem*>{recent});
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_EQ(LiveMenuWindows(), 0);
}

// ---------------------------------------------------------------- closing and lifetime

TEST_F(PopupMenuWindowTest, ActivationMovingToAnotherWindowClosesTheMenu) {
  auto* other = new TForm(Application);
  other->SetBoundsRect({700, 100, 900, 300});
  Show();
  other->Show();  // becomes the active window
  Pump();
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_TRUE(clicked.empty());
  EXPECT_EQ(LiveMenuWindows(), 0);
}

TEST_F(PopupMenuWindowTest, AnOnClickThatFreesTheOwnerFormDoesNotCrash) {
  save->OnClick = [this](TObject*) {
    // The handler lives in the item the form frees: nothing of it is read afterwards.
    TForm*& slot = form;
    delete slot;
    slot = nullptr;
  };
  TPopupMenuWindow* w = Show();
  Click(ItemCenter(w, 1));
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(LiveMenuWindows(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(PopupMenuWindowTest, FreeingTheMenuOrClosingItClosesTheWindow) {
  Show();
  menu->ClosePopup();
  EXPECT_FALSE(menu->IsShowing());
  Pump();
  EXPECT_EQ(LiveMenuWindows(), 0);
  EXPECT_EQ(GetFocus(), HWND(probe));

  Show();
  delete menu;
  Pump();
  EXPECT_EQ(LiveMenuWindows(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(clicked.empty());
}

TEST_F(PopupMenuWindowTest, OpeningAnotherMenuClosesTheFirstAndTheFocusStillComesBack) {
  auto* other = new TPopupMenu(form);
  AddItem(other->Items(), "&Other");
  Show();
  other->Popup(300, 300);
  Pump();
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_TRUE(other->IsShowing());
  Key(VK_ESCAPE);
  EXPECT_FALSE(other->IsShowing());
  EXPECT_EQ(LiveMenuWindows(), 0);
  EXPECT_EQ(GetFocus(), HWND(probe));
}

TEST_F(PopupMenuWindowTest, AMenuWithoutVisibleItemsShowsNothing) {
  auto* empty = new TPopupMenu(form);
  AddItem(empty->Items(), "Gone")->SetVisible(false);
  empty->Popup(300, 300);
  Pump();
  EXPECT_FALSE(empty->IsShowing());
  EXPECT_EQ(LiveMenuWindows(), 0);
  EXPECT_EQ(GetFocus(), HWND(probe));
}

// Leading, trailing and doubled separators (hidden items counting as
// absent) show only while the menu leaves reduction to the application.
TEST_F(PopupMenuWindowTest, SeparatorsFollowTheMenusLineReduction) {
  auto* lead = new TMenuItem(form);
  lead->SetCaption("-");
  menu->Items()->Insert(0, lead);
  auto* doubled = new TMenuItem(form);
  doubled->SetCaption("-");
  menu->Items()->Insert(menu->Items()->IndexOf(exit), doubled);  // line, Print, hidden, doubled, Exit
  TMenuItem* trail = AddItem(menu->Items(), "-");
  disabled->SetVisible(false);  // line and doubled now meet
  TPopupMenuWindow* w = Show();
  ASSERT_NE(w, nullptr);
  std::vector<TMenuItem*> rows;
  for (int i = 0; i < w->ItemCount(); ++i) rows.push_back(w->Item(i));
  EXPECT_EQ(rows, (std::vector<TMenuItem*>{open, save, line, exit}));
  EXPECT_EQ(menu->PopupRect().Height(), w->ItemRect(3).Bottom + 3);
  menu->ClosePopup();
  Pump();
  menu->SetAutoLineReduction(maManual);
  w = Show();
  rows.clear();
  for (int i = 0; i < w->ItemCount(); ++i) rows.push_back(w->Item(i));
  EXPECT_EQ(rows, (std::vector<TMenuItem*>{lead, open, save, line, doubled, exit, trail}));
  // The keyboard still skips every separator.
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(w->Item(w->HotIndex()), exit);
}

// A menu that would show separators at most opens nothing: no window, no
// input taken, and another menu that is open stays open. OnPopup still runs
// first (where an application shows or hides its items).
TEST_F(PopupMenuWindowTest, AMenuOfSeparatorsAndHiddenItemsOpensNothing) {
  auto* empty = new TPopupMenu(form);
  empty->SetAutoLineReduction(maManual);
  AddItem(empty->Items(), "-");
  AddItem(empty->Items(), "Gone")->SetVisible(false);
  AddItem(empty->Items(), "-");
  int popups = 0;
  empty->OnPopup = [&](TObject*) { ++popups; };
  TPopupMenuWindow* w = Show();
  ASSERT_NE(w, nullptr);
  empty->Popup(300, 300);
  Pump();
  EXPECT_EQ(popups, 1);
  EXPECT_FALSE(empty->IsShowing());
  EXPECT_TRUE(menu->IsShowing());
  EXPECT_EQ(ShownMenuWindows(), 1);
  EXPECT_EQ(GetCapture(), HWND(w));
  Key(VK_ESCAPE);
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_EQ(GetFocus(), HWND(probe));
  empty->Popup(300, 300);
  Pump();
  EXPECT_EQ(LiveMenuWindows(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetFocus(), HWND(probe));
  // A handler that shows an item opens the menu after all.
  empty->OnPopup = [&](TObject*) { empty->Items()->Items(1)->SetVisible(true); };
  empty->Popup(300, 300);
  Pump();
  ASSERT_TRUE(empty->IsShowing());
  EXPECT_EQ(empty->PopupWindow()->ItemCount(), 3);
}

TEST_F(PopupMenuWindowTest, AnInstalledHookStillReplacesTheWindow) {
  int hooked = 0;
  menu->PopupHook = [&](TPopupMenu&, int x, int y) { hooked += x == 10 && y == 20; };
  menu->Popup(10, 20);
  Pump();
  EXPECT_EQ(hooked, 1);
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_EQ(LiveMenuWindows(), 0);
}

// ---------------------------------------------------------------- pixels

TEST_F(PopupMenuWindowTest, HotRowSeparatorAndBorderPixels) {
  TPopupMenuWindow* w = Show();
  Move(ItemCenter(w, 1));
  const TRect hot = w->ItemRect(1), plain = w->ItemRect(0), sep = w->ItemRect(2);
  // Away from text and marks: the right end of the rows.
  auto at = [&](int x, int y) { return ScreenPixel(w->ClientToScreen({x, y})); };
  EXPECT_EQ(at(hot.Right - 2, hot.Top), Rgb(clHighlight));
  EXPECT_EQ(at(hot.Right - 2, hot.Bottom - 1), Rgb(clHighlight));
  EXPECT_EQ(at(hot.Left, hot.Top + 1), Rgb(clHighlight));
  EXPECT_EQ(at(plain.Right - 2, plain.Top + 1), Rgb(clMenu));
  // The separator: a shadow line over a highlight line in the middle of its row.
  EXPECT_EQ(at(sep.Left + 1, sep.Top + 3), Rgb(clBtnShadow));
  EXPECT_EQ(at(sep.Right - 2, sep.Top + 3), Rgb(clBtnShadow));
  EXPECT_EQ(at(sep.Left + 1, sep.Top + 4), Rgb(clBtnHighlight));
  EXPECT_EQ(at(sep.Left, sep.Top + 3), Rgb(clMenu));
  EXPECT_EQ(at(sep.Left + 1, sep.Top + 2), Rgb(clMenu));
  // The one-pixel frame.
  EXPECT_EQ(at(0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(at(w->Width() - 1, w->Height() - 1), Rgb(clBtnShadow));
  EXPECT_EQ(at(1, 1), Rgb(clMenu));
  // The highlight moves with the hot item.
  Move(ItemCenter(w, 0));
  EXPECT_EQ(at(hot.Right - 2, hot.Top), Rgb(clMenu));
  EXPECT_EQ(at(plain.Right - 2, plain.Top + 1), Rgb(clHighlight));
}

}  // namespace
}  // namespace qz
