// The host's popup menu when the program loses the focus to another one:
// the menu closes without a command, as native menus do.
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
    for (TWinControl* w : TopLevelControls()) n += Is<TPopupMenuWindow>(w) ? 1 : 0;
    return n;
  }

  TForm* form = nullptr;
  TPopupMenu* menu = nullptr;
  int clicks = 0;
};

TEST_F(PopupMenuActivation, AnotherProgramTakingTheFocusClosesTheMenu) {
  ASSERT_EQ(GetActiveWindow(), HWND(form));
  menu->Popup(200, 150);
  Pump();
  ASSERT_TRUE(menu->IsShowing());
  FocusToAnotherProgram(form);
  EXPECT_FALSE(menu->IsShowing());
  EXPECT_EQ(LiveMenuWindows(), 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(GetCapture(), HWND());
}

// Focus moving between the program's own windows is no loss of the focus:
// the window system made the other window active before the platform's
// notice about the old one arrives.
TEST_F(PopupMenuActivation, ALateNoticeAboutAnOwnWindowKeepsTheMenuOpen) {
  TForm* other = MakeForm({700, 100, 900, 300});
  ASSERT_EQ(GetActiveWindow(), HWND(other));
  menu->Popup(200, 150);
  Pump();
  FocusToAnotherProgram(form);  // the old window's late notice
  EXPECT_TRUE(menu->IsShowing());
  EXPECT_EQ(GetActiveWindow(), HWND(other));
  menu->ClosePopup();
  Pump();
}

}  // namespace
}  // namespace qz
