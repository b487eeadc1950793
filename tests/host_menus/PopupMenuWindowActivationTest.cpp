// The host's popup menu when the program loses the focus to another one:
// the menu closes without a command, as native menus do, and the window
// that was active takes the inactive state.
#include <gtest/gtest.h>

#include <vector>

#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/Menus.h"
#include "host/ui/PopupMenuWindow.h"
#include "host/ui/WindowSystem.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz {
namespace {

class PopupMenuActivation : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 600, 500});
    menu = new TPopupMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption("&Open");
    item->OnClick = [this](TObject*) { ++clicks; };
    menu->Items()->Add(item);
  }
  THeadlessWindow* PlatformWindow(TForm* f) {
    return static_cast<THeadlessWindow*>(f->WindowData()->platform.get());
  }
  // The platform's focus leaves `f` for a window of another program.
  void FocusToAnotherProgram(TForm* f) {
    TPlatformEvent out;
    out.kind = TPlatformEventKind::FocusOut;
    out.window = PlatformWindow(f);
    hp->InjectEvent(out);
    Pump();
  }
  static int LiveMenuWindows() {
    int n = 0;
    for (TWinControl* w : WindowSystem().TopLevels()) n += Is<TPopupMenuWindow>(w) ? 1 : 0;
    return n;
  }

  TForm* form = nullptr;
  TPopupMenu* menu = nullptr;
  int clicks = 0;
};

TEST_F(PopupMenuActivation, AnotherProgramTakingTheFocusClosesTheMenu) {
  ASSERT_EQ(GetActiveWindow(), HWND(form));
  int deactivations = 0;
  form->OnDeactivate = [&](TObject*) { ++deactivations; };
  menu->Popup(200, 150);
  Pump();
  ASSERT_TRUE(menu->IsShowing());
  FocusToAnotherProgram(form);
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_EQ(LiveMenuWindows(), 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(GetActiveWindow(), HWND());
  EXPECT_EQ(deactivations, 1);
  EXPECT_EQ(GetCapture(), HWND());
  // Coming back activates the window again.
  TPlatformEvent in;
  in.kind = TPlatformEventKind::FocusIn;
  in.window = PlatformWindow(form);
  hp->InjectEvent(in);
  Pump();
  EXPECT_EQ(GetActiveWindow(), HWND(form));
}

// Focus moving between the program's own windows is no loss of the focus:
// the window system made the other window active before the platform's
// notice arrives.
TEST_F(PopupMenuActivation, FocusMovingToAnotherOwnWindowKeepsItActive) {
  TForm* other = MakeForm({700, 100, 900, 300});
  ASSERT_EQ(GetActiveWindow(), HWND(other));
  int deactivations = 0;
  other->OnDeactivate = [&](TObject*) { ++deactivations; };
  FocusToAnotherProgram(form);  // the old window's late notice
  EXPECT_EQ(GetActiveWindow(), HWND(other));
  EXPECT_EQ(deactivations, 0);
}

// A handler of the deactivation may free the form that owns the menu.
TEST_F(PopupMenuActivation, AFormFreedOnDeactivationTakesItsMenuAlong) {
  TComponentRef<TForm> owner(form);
  form->OnDeactivate = [&](TObject*) { delete owner.Get(); };
  menu->Popup(200, 150);
  Pump();
  FocusToAnotherProgram(form);
  EXPECT_FALSE(owner);
  EXPECT_EQ(LiveMenuWindows(), 0);
}

}  // namespace
}  // namespace qz
