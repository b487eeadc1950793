// The tray icon on the headless tray: click and double-click timing and the
// animation on the virtual clock, the tooltip's length, the popup menus, the
// controller's minimise to tray and back with a tray and without one, and
// handlers that free the icon or the form.
#include <gtest/gtest.h>

#include "host/components/FormResource.h"
#include "host/ui/Application.h"
#include "skin/form/TrayIcon.h"
#include "skin/popups/SkinHint.h"
#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {
namespace {

class TrayIcon : public OrvaneTest {
 protected:
  THeadlessTrayIcon& Shown(TqzTrayIcon& icon) {
    auto* shown = dynamic_cast<THeadlessTrayIcon*>(icon.PlatformIcon());
    EXPECT_NE(shown, nullptr);
    return *shown;
  }
  void ClickTray(TqzTrayIcon& icon, TMouseButtonId button = TMouseButtonId::Left) {
    hp->InjectTrayClick(Shown(icon), button);
    Pump();
  }
  // A list of `count` one-colour 16 x 16 images: image i is 0xFF000000 + i + 1.
  TImageList* Images(TComponent* owner, int count) {
    auto* list = new TImageList(owner);
    list->SetSize(16, 16);
    TBitmap strip(16 * count, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16 * count; ++x) strip.Pixels().At(x, y) = 0xFF000000u + uint32_t(x / 16 + 1);
    strip.Modified();
    list->Add(strip);
    return list;
  }
};

TEST_F(TrayIcon, ClickComesAfterTheDoubleClickTimeAndNeverWithADoubleClick) {
  struct Case {
    const char* name;
    int holdMs;         // between press and release
    bool twice;         // a second click right after the first
    int clicksAtOnce;   // OnClick right after the gesture
    int clicksLater;    // once the double-click time (500 ms) is over
    int doubleClicks;
  };
  const Case cases[] = {
      {"quick click waits for the double-click time", 0, false, 0, 1, 0},
      {"release after the double-click time clicks at once", 600, false, 1, 1, 0},
      {"double click", 0, true, 0, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* form = new TForm(Application);
    auto* icon = new TqzTrayIcon(form);
    icon->SetIconVisible(true);
    int clicks = 0, doubles = 0, downs = 0;
    icon->OnClick = [&](TObject*) { ++clicks; };
    icon->OnDblClick = [&](TObject*) { ++doubles; };
    icon->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    if (c.twice) {
      hp->InjectTrayDoubleClick(Shown(*icon));
      Pump();
    } else {
      const TRect r = hp->TrayIconRect(Shown(*icon));
      TTrayInput in;
      in.screenPos = {r.Left + 2, r.Top + 2};
      in.kind = TTrayInput::Kind::MouseDown;
      hp->InjectTrayInput(Shown(*icon), in);
      Pump();
      hp->AdvanceClock(c.holdMs);
      in.kind = TTrayInput::Kind::MouseUp;
      hp->InjectTrayInput(Shown(*icon), in);
      Pump();
    }
    EXPECT_EQ(clicks, c.clicksAtOnce);
    Ticks(2, 300);
    EXPECT_EQ(clicks, c.clicksLater);
    EXPECT_EQ(doubles, c.doubleClicks);
    EXPECT_EQ(downs, 1);  // the second press of a double click is the double click
    delete form;
  }
}

TEST_F(TrayIcon, AnimationShowsEveryImageInTurnAndOnCycleNamesTheNext) {
  auto* form = new TForm(Application);
  auto* icon = new TqzTrayIcon(form);
  icon->SetIconList(Images(form, 3));
  icon->SetIconIndex(2);
  icon->SetAnimateTimerInterval(100);
  icon->SetCycleIcons(true);
  icon->SetIconVisible(true);
  EXPECT_EQ(icon->IconIndex(), 0);
  std::vector<int> next, shown;
  icon->OnCycle = [&](TObject*, int n) {
    next.push_back(n);
    shown.push_back(int(Shown(*icon).Icon().At(0, 0) & 0xFF) - 1);
  };
  Ticks(4, 100);
  EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0}));
  EXPECT_EQ(next, (std::vector<int>{1, 2, 0, 1}));
  // Beyond the list the index clamps to the last image; without one it is 0.
  icon->SetCycleIcons(false);
  icon->SetIconIndex(7);
  EXPECT_EQ(icon->IconIndex(), 2);
  icon->SetIconList(nullptr);
  EXPECT_EQ(icon->IconIndex(), 0);
}

TEST_F(TrayIcon, TooltipIsTheHintCutTo127Characters) {
  struct Case {
    std::string hint;
    bool showHint;
    std::string tip;
  };
  const std::string e = "\xC3\xA9";  // two bytes, one character
  std::string e127, e130;
  for (int i = 0; i < 127; ++i) e127 += e;
  e130 = e127 + e + e + e;
  const Case cases[] = {
      {"Converter", true, "Converter"},
      {std::string(200, 'x'), true, std::string(127, 'x')},
      {e130, true, e127},
      {"Converter", false, ""},
  };
  auto* form = new TForm(Application);
  auto* icon = new TqzTrayIcon(form);
  icon->SetIconVisible(true);
  for (const Case& c : cases) {
    icon->SetHint(c.hint);
    icon->SetShowHint(c.showHint);
    EXPECT_EQ(Shown(*icon).ToolTip(), c.tip);
  }
}

TEST_F(TrayIcon, RightClickOpensThePopupMenuAndDoubleClickRunsItsDefaultItem) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  auto* icon = new TqzTrayIcon(s.Form);
  auto* menu = new TqzSkinPopupMenu(s.Form);
  int chosen = 0;
  for (const char* name : {"first", "second"}) {
    auto* item = new TMenuItem(menu);
    item->SetName(name);
    item->SetCaption(name);
    item->OnClick = [&chosen, name](TObject*) { chosen = name[0] == 's' ? 2 : 1; };
    menu->Items()->Add(item);
  }
  menu->Items()->Items(1)->SetDefault(true);
  icon->SetPopupMenu(menu);
  icon->SetIconVisible(true);
  ClickTray(*icon, TMouseButtonId::Right);
  EXPECT_TRUE(s.Orvane->SkinMenu().Visible());
  EXPECT_EQ(menu->PopupComponent(), icon);
  s.Orvane->SkinMenu().CloseAll();
  Pump();
  hp->InjectTrayDoubleClick(Shown(*icon));
  Pump();
  EXPECT_EQ(chosen, 2);
}

// A tray host that reports its own gestures (StatusNotifierItem): its
// activation is the click and then the double click's action, its context
// request opens the menu where it says.
TEST_F(TrayIcon, TrayHostActivationAndContextRequestReachTheComponent) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  auto* icon = new TqzTrayIcon(s.Form);
  icon->SetIconVisible(true);
  std::vector<std::string> events;
  icon->OnClick = [&](TObject*) { events.push_back("click"); };
  icon->OnDblClick = [&](TObject*) { events.push_back("double"); };
  icon->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
    events.push_back("up " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  TPoint menuAt{-1, -1};
  icon->Link({[&](TPoint at) { menuAt = at; }, {}});
  TTrayInput in;
  in.kind = TTrayInput::Kind::Activate;
  in.screenPos = {10, 20};
  hp->InjectTrayInput(Shown(*icon), in);
  in.kind = TTrayInput::Kind::ContextMenu;
  in.screenPos = {300, 1000};
  hp->InjectTrayInput(Shown(*icon), in);
  Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"click", "double", "up 1 300,1000"}));
  EXPECT_EQ(menuAt, (TPoint{300, 1000}));
  // Disabled, the icon reports nothing.
  events.clear();
  icon->Enabled = false;
  ClickTray(*icon);
  Ticks(2, 300);
  EXPECT_TRUE(events.empty());
}

// The controller's minimise to tray: into the tray only when there is one.
TEST_F(TrayIcon, MinimizeToTrayHidesOnlyIntoARealTray) {
  for (const bool trayHost : {true, false}) {
    SCOPED_TRACE(trayHost ? "with a tray" : "without a tray");
    hp->SetTrayHost(trayHost);
    auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
    Application->SetMainForm(s.Form);
    auto* icon = new TqzTrayIcon(s.Form);
    s.Orvane->SetTrayIcon(icon);
    EXPECT_FALSE(icon->IconVisible());
    int toTray = 0, fromTray = 0, minimized = 0;
    s.Orvane->OnMinimizeToTray = [&](TObject*) { ++toTray; };
    s.Orvane->OnRestoreFromTray = [&](TObject*) { ++fromTray; };
    s.Orvane->OnMinimize = [&](TObject*) { ++minimized; };
    s.Orvane->MinimizeToTray();
    Pump();
    EXPECT_EQ(icon->InTray(), trayHost);
    EXPECT_EQ(IsWindowVisible(s.Form->Handle()), !trayHost);
    EXPECT_EQ(toTray, trayHost ? 1 : 0);
    EXPECT_EQ(minimized, trayHost ? 0 : 1);
    EXPECT_EQ(icon->IconVisible(), trayHost);
    if (trayHost) {
      // Double click: the controller's restore (OnDblClick is not set).
      hp->InjectTrayDoubleClick(Shown(*icon));
      Pump();
      EXPECT_TRUE(IsWindowVisible(s.Form->Handle()));
      EXPECT_FALSE(icon->IconVisible());
      EXPECT_FALSE(icon->InTray());
      EXPECT_EQ(fromTray, 1);
    }
    delete s.Form;
    Pump();
  }
}

TEST_F(TrayIcon, TheMainFormComesBackWhenTheTrayGoesAway) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  Application->SetMainForm(s.Form);
  TForm* other = MakeForm(Bounds(700, 100, 900, 300));
  auto* icon = new TqzTrayIcon(s.Form);
  s.Orvane->SetTrayIcon(icon);
  s.Orvane->MinimizeToTray();
  Pump();
  ASSERT_FALSE(IsWindowVisible(s.Form->Handle()));
  ASSERT_FALSE(IsWindowVisible(other->Handle()));
  hp->SetTrayHost(false);
  Pump();
  EXPECT_TRUE(IsWindowVisible(s.Form->Handle()));
  EXPECT_TRUE(IsWindowVisible(other->Handle()));
  EXPECT_FALSE(icon->InTray());
  // The tray comes back: the next minimise to tray goes there again.
  hp->SetTrayHost(true);
  s.Orvane->MinimizeToTray();
  Pump();
  EXPECT_TRUE(icon->InTray());
}

TEST_F(TrayIcon, TheTrayMenuRestoresAndCloses) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  Application->SetMainForm(s.Form);
  auto* icon = new TqzTrayIcon(s.Form);
  s.Orvane->SetTrayIcon(icon);
  s.Orvane->MinimizeToTray();
  Pump();
  ClickTray(*icon, TMouseButtonId::Right);
  TqzSkinMenu& engine = s.Orvane->SkinMenu();
  ASSERT_TRUE(engine.Visible());
  TqzSkinPopupWindow& w = *engine.Level(0);
  ASSERT_EQ(w.Item(0).MenuItem->Name(), "TRAY_ORV_RESTORE");
  // It opens at the pointer and stays on the screen.
  EXPECT_LE(w.BoundsRect().Bottom, hp->ScreenRect().Bottom);
  const TRect r = w.Item(0).ItemRect;
  Click(w.ClientToScreen({r.Left + 10, r.Top + r.Height() / 2}));
  EXPECT_TRUE(IsWindowVisible(s.Form->Handle()));
  EXPECT_FALSE(icon->InTray());
}

TEST_F(TrayIcon, HandlersMayFreeTheIconOrTheForm) {
  struct Case {
    const char* name;
    bool freeForm;
    bool onDouble;
  };
  for (const Case& c : {Case{"icon on click", false, false}, Case{"icon on double click", false, true},
                        Case{"form on click", true, false}, Case{"form on double click", true, true}}) {
    SCOPED_TRACE(c.name);
    auto* form = new TForm(Application);
    auto* icon = new TqzTrayIcon(form);
    icon->SetIconVisible(true);
    TComponentRef<TqzTrayIcon> alive(icon);
    TComponentRef<TForm> formAlive(form);
    auto freeIt = [&](TObject*) {
      if (c.freeForm) delete form;
      else delete icon;
    };
    if (c.onDouble) icon->OnDblClick = freeIt;
    else icon->OnClick = freeIt;
    icon->OnMouseUp = [](TObject*, TMouseButton, TShiftState, int, int) {};
    THeadlessTrayIcon& shown = Shown(*icon);
    if (c.onDouble) hp->InjectTrayDoubleClick(shown);
    else hp->InjectTrayClick(shown);
    Pump();
    Ticks(3, 300);
    EXPECT_FALSE(alive);
    EXPECT_EQ(bool(formAlive), !c.freeForm);
    EXPECT_TRUE(hp->TrayIcons().empty());
    if (formAlive) delete form;
  }
}

TEST(TrayToolTipPlace, NearTheIconAndOnTheScreen) {
  const TRect screen{0, 0, 800, 600};
  struct Case {
    const char* name;
    TRect icon;
    TPoint at;
  } cases[] = {
      {"bottom panel: above", {400, 570, 432, 600}, {366, 570 - kTrayTipGap - 20}},
      {"top panel: below", {400, 0, 432, 24}, {366, 24 + kTrayTipGap}},
      {"right edge", {780, 570, 800, 600}, {700, 546}},
      {"left edge", {0, 570, 20, 600}, {0, 546}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TrayToolTipPlace(c.icon, {100, 20}, screen), c.at);
  }
}

// The headless panel shows no tooltips: the component shows the hint in a
// skinned hint window above the icon once the pointer rests there.
TEST_F(TrayIcon, ATrayWithoutTooltipsGetsTheHintInAHintWindowNearTheIcon) {
  auto skinned = MakeSkinned(MainSkin(), Rect(100, 100, 500, 400));
  auto* icon = new TqzTrayIcon(skinned.Form);
  icon->SetHint("Converter");
  skinned.Orvane->SetTrayIcon(icon);
  icon->SetIconVisible(true);
  THeadlessTrayIcon& shown = Shown(*icon);
  const int pause = Application->HintPause();
  struct Case {
    const char* name;
    std::function<void()> end;  // what takes the tooltip away
  } cases[] = {
      {"pointer leaves", [&] { hp->InjectMouseMove({10, 10}); }},
      {"press", [&] { ClickTray(*icon, TMouseButtonId::Right); }},
      {"hide pause", [&] { Ticks(2, Application->HintHidePause()); }},
      {"icon hidden", [&] { icon->SetIconVisible(false); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    icon->SetIconVisible(true);
    hp->InjectTrayHover(shown);
    Pump();
    Ticks(1, pause / 2);
    EXPECT_FALSE(icon->ToolTipShown());  // not before the hint pause
    hp->InjectTrayHover(shown);          // moves on the icon do not start it again
    Pump();
    Ticks(1, pause / 2 + 10);
    ASSERT_TRUE(icon->ToolTipShown());
    TqzSkinHintWindow& window = *icon->ToolTipWindow();
    EXPECT_TRUE(window.Layout().Skinned);  // dressed from the controller's skin
    const TRect at = hp->TrayIconRect(shown), tip = window.BoundsRect();
    EXPECT_EQ(tip.Bottom, at.Top - kTrayTipGap);
    // Centred on the icon unless the screen's edge holds it back.
    const int middle = (at.Left + at.Right) / 2;
    EXPECT_TRUE(tip.Left <= middle && middle <= tip.Right);
    EXPECT_TRUE(std::abs((tip.Left + tip.Right) / 2 - middle) <= 1 || tip.Right == hp->ScreenRect().Right);
    c.end();
    Pump();
    EXPECT_FALSE(icon->ToolTipShown());
    skinned.Orvane->SkinMenu().CloseAll();
    Pump();
  }
  // No hint, or ShowHint off: nothing to show, and a shown tooltip goes.
  icon->SetIconVisible(true);
  hp->InjectTrayHover(shown);
  Pump();
  Ticks(2, pause);
  ASSERT_TRUE(icon->ToolTipShown());
  icon->SetHint("A longer text");  // shown at once, measured again
  EXPECT_TRUE(icon->ToolTipShown());
  icon->SetShowHint(false);
  EXPECT_FALSE(icon->ToolTipShown());
  hp->InjectMouseMove({10, 10});
  hp->InjectTrayHover(shown);
  Pump();
  Ticks(2, pause);
  EXPECT_FALSE(icon->ToolTipShown());
  // The icon goes with its tooltip shown: the window goes with it.
  icon->SetShowHint(true);
  hp->InjectMouseMove({10, 10});
  hp->InjectTrayHover(shown);
  Pump();
  Ticks(2, pause);
  ASSERT_TRUE(icon->ToolTipShown());
  TComponentRef<TqzSkinHintWindow> window(icon->ToolTipWindow());
  delete icon;
  Pump();
  EXPECT_FALSE(window);
}

TEST_F(TrayIcon, MinimizedOnStartStartsInTheTrayOnlyWhenThereIsOne) {
  for (const bool trayHost : {true, false}) {
    SCOPED_TRACE(trayHost ? "with a tray" : "without a tray");
    hp->SetTrayHost(trayHost);
    Application->SetShowMainForm(true);
    auto* f = new TForm(Application);
    ReadComponentRes(f, R"(object Form1: TForm
  object qzTrayIcon1: TqzTrayIcon
    IconVisible = False
    MinimizedOnStart = True
  end
end
)");
    auto* icon = f->FindChild<TqzTrayIcon>("qzTrayIcon1");
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->IconVisible());
    EXPECT_TRUE(icon->MinimizeToTray);
    EXPECT_EQ(icon->Embedded(), trayHost);
    EXPECT_EQ(Application->ShowMainForm(), !trayHost);
    delete f;
  }
}

}  // namespace
}  // namespace qz::testing
