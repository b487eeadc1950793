// The menus of a skinned form through its controller's engine: the system
// menu, the tray menu, the controller's menu properties, and the form
// messages that close an open menu.
#include "skin/data/ResourceStrData.h"
#include "skin/popups/SkinMenu.h"
#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {
namespace {

class SkinMenuForm : public OrvaneTest {
 protected:
  static std::vector<std::string> Names(TqzSkinPopupWindow& w) {
    std::vector<std::string> names;
    for (int i = 0; i < w.ItemCount(); ++i) names.push_back(w.Item(i).MenuItem->Name());
    return names;
  }
  static int IndexOf(TqzSkinPopupWindow& w, const std::string& name) {
    for (int i = 0; i < w.ItemCount(); ++i)
      if (w.Item(i).MenuItem->Name() == name) return i;
    return -1;
  }
};

TEST_F(SkinMenuForm, AltSpaceOpensTheSystemMenuSkinnedAndEscapeEndsIt) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  int opened = 0, closed = 0;
  s.Orvane->OnSkinMenuOpen = [&](TObject*) { ++opened; };
  s.Orvane->OnSkinMenuClose = [&](TObject*) { ++closed; };
  Key(VK_SPACE, kModAlt);
  TqzSkinMenu& engine = s.Orvane->SkinMenu();
  ASSERT_TRUE(engine.Visible());
  ASSERT_TRUE(s.Orvane->MenuShowing());
  TqzSkinPopupWindow& w = *engine.Level(0);
  EXPECT_TRUE(w.HasWindowLook());
  EXPECT_EQ(Names(w), (std::vector<std::string>{"ORV_MINITEM", "ORV_MAXITEM", "ORV_ROLLUP", "ORV_MINTOTRAY",
                                                "ORV_SEPARATOR", "ORV_CLOSE"}));
  // Below the form's top-left corner (no system-menu button in this skin's
  // caption at that place is needed: the anchor is a point).
  EXPECT_GE(w.BoundsRect().Top, 100);
  Key(VK_ESCAPE);
  EXPECT_FALSE(engine.Visible());
  EXPECT_FALSE(s.Orvane->MenuShowing());
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(closed, 1);
}

TEST_F(SkinMenuForm, SystemMenuCommandRunsThroughTheController) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Orvane->SystemMenuPopup(300, 150);
  Pump();
  TqzSkinPopupWindow& w = *s.Orvane->SkinMenu().Level(0);
  const TRect r = w.Item(IndexOf(w, "ORV_MAXITEM")).ItemRect;
  Click(w.ClientToScreen({r.Left + 10, r.Top + r.Height() / 2}));
  EXPECT_EQ(s.Orvane->WindowState(), wsMaximized);
  EXPECT_FALSE(s.Orvane->SkinMenu().Visible());
  EXPECT_FALSE(s.Orvane->MenuShowing());
}

TEST_F(SkinMenuForm, CloseFromTheTrayMenuFreesNothingTwice) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  s.Orvane->TrayMenuPopup(900, 900);
  Pump();
  TqzSkinPopupWindow& w = *s.Orvane->SkinMenu().Level(0);
  EXPECT_EQ(Names(w), (std::vector<std::string>{"TRAY_ORV_RESTORE", "ORV_SEPARATOR", "TRAY_ORV_CLOSE"}));
  TComponentRef<TForm> form(s.Form);
  w.ActivateItem(IndexOf(w, "TRAY_ORV_CLOSE"));
  Pump();
  EXPECT_FALSE(form);
}

TEST_F(SkinMenuForm, ControllerMenuPropertiesReachTheEngine) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Orvane->UseSkinSizeInMenu = false;
  s.Orvane->DefMenuItemHeight = 31;
  s.Orvane->SystemMenuPopup(300, 150);
  Pump();
  TqzSkinPopupWindow& w = *s.Orvane->SkinMenu().Level(0);
  EXPECT_EQ(w.Item(0).ItemRect.Height(), 31);
  s.Orvane->SkinMenu().CloseAll();
  // Without a skin the plain look shows.
  s.Orvane->SetSkinData(nullptr);
  s.Orvane->SystemMenuPopup(300, 150);
  Pump();
  EXPECT_FALSE(s.Orvane->SkinMenu().Level(0)->HasWindowLook());
  s.Orvane->SkinMenu().CloseAll();
}

// The application's popup menus open with the controller's menu properties
// as they are now, and their items use the character set of the skin's
// resource strings, else that of the default item font.
TEST_F(SkinMenuForm, PopupMenusTakeTheControllersPropertiesAndTheStringsCharacterSet) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  auto* menu = new TqzSkinPopupMenu(s.Form);
  auto* item = new TMenuItem(menu);
  item->SetCaption("Item");
  menu->Items()->Add(item);
  s.Orvane->UseSkinSizeInMenu = false;
  s.Orvane->DefMenuItemHeight = 27;
  s.Orvane->DefMenuItemFont().SetCharset(RUSSIAN_CHARSET);
  auto* strings = new TqzResourceStrData(s.Form);
  strings->SetCharSet(SYMBOL_CHARSET);
  s.Skin->SetResourceStrData(strings);
  menu->Popup(300, 150);
  Pump();
  TqzSkinPopupWindow* w = s.Orvane->SkinMenu().Level(0);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Item(0).ItemRect.Height(), 27);
  TFont font;
  w->ApplyItemFont(font);
  EXPECT_EQ(font.Charset(), SYMBOL_CHARSET);
  s.Orvane->SkinMenu().CloseAll();

  s.Skin->SetResourceStrData(nullptr);
  s.Orvane->DefMenuItemHeight = 23;
  menu->Popup(300, 150);
  Pump();
  w = s.Orvane->SkinMenu().Level(0);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Item(0).ItemRect.Height(), 23);
  w->ApplyItemFont(font);
  EXPECT_EQ(font.Charset(), RUSSIAN_CHARSET);
  s.Orvane->SkinMenu().CloseAll();
}

// Which controller a skinned popup menu shows through: the explicit one,
// else the search component's, else its form's, where an MDI child form
// hands over to the main form's controller; none shows nothing.
TEST_F(SkinMenuForm, PopupMenusFindTheirController) {
  auto main = MakeSkinned(DialogSkin(), Bounds(100, 100, 400, 300));
  auto child = MakeSkinned(DialogSkin(), Bounds(520, 100, 400, 300));
  Application->SetMainForm(main.Form);
  auto* menu = new TqzSkinPopupMenu(child.Form);
  auto* item = new TMenuItem(menu);
  item->SetCaption("Item");
  menu->Items()->Add(item);
  EXPECT_EQ(menu->LastPopupPoint(), (TPoint{-1, -1}));
  EXPECT_EQ(menu->FindController(), child.Orvane);
  main.Form->SetFormStyle(fsMDIForm);
  child.Form->SetFormStyle(fsMDIChild);
  Pump();  // the child's activation inside the MDI form settles first
  EXPECT_EQ(menu->FindController(), main.Orvane);
  menu->Popup(600, 150);
  Pump();
  EXPECT_EQ(menu->LastPopupPoint(), (TPoint{600, 150}));
  EXPECT_TRUE(main.Orvane->SkinMenu().Visible());
  EXPECT_FALSE(child.Orvane->SkinMenu().Visible());
  main.Orvane->SkinMenu().CloseAll();

  // The explicit controller comes first and is dropped when it goes.
  menu->SetController(child.Orvane);
  EXPECT_EQ(menu->FindController(), child.Orvane);
  // A main form without a controller leaves the child its own.
  delete main.Orvane;
  menu->SetController(nullptr);
  EXPECT_EQ(menu->FindController(), child.Orvane);
  delete child.Orvane;
  EXPECT_EQ(menu->Controller(), nullptr);
  EXPECT_EQ(menu->FindController(), nullptr);

  // A menu of no form finds one through its search component only.
  auto other = MakeSkinned(DialogSkin(), Bounds(100, 500, 300, 200));
  auto* loose = new TqzSkinPopupMenu(nullptr);
  auto* looseItem = new TMenuItem(loose);
  looseItem->SetCaption("Loose");
  loose->Items()->Add(looseItem);
  loose->Popup(150, 550);
  EXPECT_FALSE(other.Orvane->SkinMenu().Visible());
  loose->SetControllerSearch(other.Form);
  loose->Popup(150, 550);
  Pump();
  EXPECT_TRUE(other.Orvane->SkinMenu().Visible());
  other.Orvane->SkinMenu().CloseAll();
  // An explicit controller that goes while set is dropped, not kept.
  loose->SetController(other.Orvane);
  EXPECT_EQ(loose->Controller(), other.Orvane);
  delete other.Orvane;
  EXPECT_EQ(loose->Controller(), nullptr);
  EXPECT_EQ(loose->FindController(), nullptr);
  loose->Popup(150, 550);  // shows nothing, touches nothing gone
  delete loose;
}

// Opening a menu closes the one open before, whose close handler may free
// the controller and its engine: the new menu then shows nowhere.
TEST_F(SkinMenuForm, AMenuWhoseOpeningFreesTheControllerShowsNothing) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 400, 300));
  auto makeMenu = [&](const char* caption) {
    auto* menu = new TqzSkinPopupMenu(s.Form);
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    menu->Items()->Add(item);
    return menu;
  };
  TqzSkinPopupMenu* first = makeMenu("First");
  TqzSkinPopupMenu* second = makeMenu("Second");
  first->OnMenuClose = [&](TObject*) { delete s.Orvane; };
  first->Popup(200, 150);
  Pump();
  ASSERT_TRUE(s.Orvane->SkinMenu().Visible());
  second->Popup(250, 150);
  Pump();
  EXPECT_EQ(second->FindController(), nullptr);
}

TEST_F(SkinMenuForm, PressOnTheFormClosesTheMenu) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  int closed = 0;
  s.Orvane->OnSkinMenuClose = [&](TObject*) { ++closed; };
  s.Orvane->SystemMenuPopup(300, 150);
  Pump();
  Click({500, 400});
  EXPECT_FALSE(s.Orvane->SkinMenu().Visible());
  EXPECT_EQ(closed, 1);
}

// Counts the close notices the menu chain sends to the control that asked
// for the menu.
class TCloseNoticeProbe : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_CLOSESKINMENU) ++Closes;
    TGraphicControl::Dispatch(m);
  }
  int Closes = 0;
};

struct TFormMessageCase {
  const char* Name;
  std::function<void(TForm& form, TForm& other)> Send;
};

class SkinMenuFormMessages : public OrvaneTest, public ::testing::WithParamInterface<TFormMessageCase> {};

TEST_P(SkinMenuFormMessages, CloseAnOpenMenuOnceWithItsNotices) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  auto* other = new TForm(Application);
  other->SetBoundsRect(Bounds(800, 100, 200, 200));
  auto* probe = new TCloseNoticeProbe(s.Form);
  probe->SetParent(s.Form);
  probe->SetBounds(10, 10, 40, 20);
  auto* menu = new TqzSkinPopupMenu(s.Form);
  for (const char* caption : {"One", "Two"}) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  int menuCloses = 0, formNotices = 0;
  menu->OnMenuClose = [&](TObject*) { ++menuCloses; };
  s.Orvane->OnSkinMenuClose = [&](TObject*) { ++formNotices; };
  menu->PopupFromRect(probe, {300, 200, 340, 220}, false);
  Pump();
  ASSERT_TRUE(s.Orvane->SkinMenu().Visible());
  GetParam().Send(*s.Form, *other);
  Pump();
  EXPECT_FALSE(s.Orvane->SkinMenu().Visible());
  EXPECT_EQ(menuCloses, 1);
  EXPECT_EQ(probe->Closes, 1);
  Pump();
  EXPECT_EQ(menuCloses, 1);

  // The system menu the same way, with the controller's own notice.
  SetForegroundWindow(s.Form->Handle());
  Pump();
  ASSERT_FALSE(s.Orvane->SkinMenu().Visible());
  s.Orvane->SystemMenuPopup(300, 150);
  Pump();
  ASSERT_TRUE(s.Orvane->SkinMenu().Visible());
  GetParam().Send(*s.Form, *other);
  Pump();
  EXPECT_FALSE(s.Orvane->SkinMenu().Visible());
  EXPECT_EQ(formNotices, 1);
  EXPECT_EQ(menuCloses, 1);
  delete other;
}

INSTANTIATE_TEST_SUITE_P(
    Form, SkinMenuFormMessages,
    ::testing::Values(
        TFormMessageCase{"Moved",
                         [](TForm& f, TForm&) { f.SetBounds(f.Left() + 30, f.Top() + 20, f.Width(), f.Height()); }},
        TFormMessageCase{"Sized",
                         [](TForm& f, TForm&) { f.SetBounds(f.Left(), f.Top(), f.Width() + 40, f.Height()); }},
        TFormMessageCase{"Deactivated", [](TForm&, TForm& other) {
                           other.Show();
                           SetForegroundWindow(other.Handle());
                         }},
        // Told directly, as a form deactivated while the menu holds no focus.
        TFormMessageCase{"DeactivateNotice",
                         [](TForm& f, TForm&) { SendMessage(f.Handle(), WM_ACTIVATE, WA_INACTIVE, 0); }},
        TFormMessageCase{"CancelMode", [](TForm& f, TForm&) { SendMessage(f.Handle(), WM_CANCELMODE, 0, 0); }},
        TFormMessageCase{"ChildPressed",
                         [](TForm& f, TForm&) { SendMessage(f.Handle(), WM_PARENTNOTIFY, WM_LBUTTONDOWN, 0); }}),
    [](const ::testing::TestParamInfo<TFormMessageCase>& info) { return std::string(info.param.Name); });

// The form's focus and non-press notices reach it while the menu holds the
// keyboard; they leave the menu alone.
TEST_F(SkinMenuForm, FocusMovesAndOtherParentNoticesKeepTheMenuOpen) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Orvane->SystemMenuPopup(300, 150);
  Pump();
  ASSERT_TRUE(s.Orvane->SkinMenu().Visible());
  SendMessage(s.Form->Handle(), WM_KILLFOCUS, 0, 0);
  SendMessage(s.Form->Handle(), WM_PARENTNOTIFY, WM_CREATE, 0);
  Pump();
  EXPECT_TRUE(s.Orvane->SkinMenu().Visible());
  s.Orvane->SkinMenu().CloseAll();
}

}  // namespace
}  // namespace qz::testing
