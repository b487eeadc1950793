// The X11 system tray client against a tray manager written here: it owns
// the selection and announces itself, receives the dock request, embeds the
// icon window at the size it chooses, gets clicks through XTEST, goes away
// (its connection closes: the icon goes back to the root) and comes back.
#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

#include "X11FormTest.h"
#include "XvfbSuite.h"
#include "host/platform/sdl/X11Tray.h"
#include "host/ui/Forms.h"
#include "skin/form/TrayIcon.h"
#include "skin/popups/SkinHint.h"

// X headers last: their macros clash with ordinary names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qz::testing {
namespace {

using namespace std::chrono_literals;

class TestTrayManager {
 public:
  static constexpr int kIconSize = 24;
  static constexpr int kLeft = 100, kTop = 100;

  explicit TestTrayManager(const std::string& name) : d_(XOpenDisplay(name.c_str())) {
    const Window root = DefaultRootWindow(d_);
    window_ = XCreateSimpleWindow(d_, root, kLeft, kTop, 200, 40, 0, 0, 0x202020);
    XSelectInput(d_, window_, SubstructureNotifyMask);
    opcode_ = XInternAtom(d_, "_NET_SYSTEM_TRAY_OPCODE", False);
    // The ARGB visual when the screen has one, and a vertical tray.
    XVisualInfo wanted{};
    wanted.depth = 32;
    wanted.c_class = TrueColor;
    int count = 0;
    XVisualInfo* found = XGetVisualInfo(d_, VisualDepthMask | VisualClassMask, &wanted, &count);
    if (found && count > 0) {
      const unsigned long id = found[0].visualid;
      XChangeProperty(d_, window_, XInternAtom(d_, "_NET_SYSTEM_TRAY_VISUAL", False), XA_VISUALID, 32,
                      PropModeReplace, reinterpret_cast<const unsigned char*>(&id), 1);
    }
    if (found) XFree(found);
    const unsigned long vertical = 1;
    XChangeProperty(d_, window_, XInternAtom(d_, "_NET_SYSTEM_TRAY_ORIENTATION", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&vertical), 1);
    XMapWindow(d_, window_);
    const Atom selection = XInternAtom(d_, "_NET_SYSTEM_TRAY_S0", False);
    XSetSelectionOwner(d_, selection, window_, CurrentTime);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = root;
    e.xclient.message_type = XInternAtom(d_, "MANAGER", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = CurrentTime;
    e.xclient.data.l[1] = static_cast<long>(selection);
    e.xclient.data.l[2] = static_cast<long>(window_);
    XSendEvent(d_, root, False, StructureNotifyMask, &e);
    XSync(d_, False);
  }
  // Going away as a tray does when it ends: the connection closes, the
  // icons in its save-set go back to the root window.
  ~TestTrayManager() { XCloseDisplay(d_); }

  // Embeds every window that asks to dock.
  void Process() {
    while (XPending(d_)) {
      XEvent e;
      XNextEvent(d_, &e);
      if (e.type != ClientMessage || e.xclient.message_type != opcode_ || e.xclient.data.l[1] != 0) continue;
      const Window icon = static_cast<Window>(e.xclient.data.l[2]);
      XAddToSaveSet(d_, icon);
      XReparentWindow(d_, icon, window_, 0, 8);
      XResizeWindow(d_, icon, kIconSize, kIconSize);
      XMapWindow(d_, icon);
      XEvent notify{};
      notify.xclient.type = ClientMessage;
      notify.xclient.window = icon;
      notify.xclient.message_type = XInternAtom(d_, "_XEMBED", False);
      notify.xclient.format = 32;
      notify.xclient.data.l[0] = CurrentTime;
      notify.xclient.data.l[1] = 0;  // XEMBED_EMBEDDED_NOTIFY
      notify.xclient.data.l[3] = static_cast<long>(window_);
      XSendEvent(d_, icon, False, NoEventMask, &notify);
      XSync(d_, False);
      docked.push_back(icon);
    }
  }
  std::vector<Window> docked;

 private:
  Display* d_;
  Window window_ = 0;
  Atom opcode_ = 0;
};

class TrayXEmbed : public XvfbSuite {
 protected:
  void SetUp() override {
    XvfbSuite::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    client_ = x11::TTrayClient::Open([this](uint32_t id, const TTrayInput& in) { posted_.emplace_back(id, in); });
    ASSERT_NE(client_, nullptr);
  }
  void TearDown() override {
    client_.reset();
    manager_.reset();
    XvfbSuite::TearDown();
  }
  template <class P>
  bool Until(P done) {
    for (auto end = std::chrono::steady_clock::now() + 3s; std::chrono::steady_clock::now() < end;) {
      client_->Dispatch();
      if (manager_) manager_->Process();
      if (done()) return true;
      std::this_thread::sleep_for(2ms);
    }
    return false;
  }
  bool Posted(TTrayInput::Kind kind, int button = -1) {
    for (const auto& [id, in] : posted_)
      if (in.kind == kind && (button < 0 || in.button == button)) return true;
    return false;
  }

  std::unique_ptr<x11::TTrayClient> client_;
  std::unique_ptr<TestTrayManager> manager_;
  std::vector<std::pair<uint32_t, TTrayInput>> posted_;
};

TEST_F(TrayXEmbed, DocksIntoATrayThatComesLaterTakesItsSizeAndClicksAndFollowsItAway) {
  client_->AddItem(1);
  TPixmap red(16, 16, 0xFFFF0000);
  client_->SetIcon(1, red);
  client_->SetToolTip(1, "Converter");
  client_->SetVisible(1, true);
  EXPECT_FALSE(client_->ManagerPresent());
  EXPECT_FALSE(client_->Embedded(1));

  manager_ = std::make_unique<TestTrayManager>(server_->Display());
  ASSERT_TRUE(Until([&] { return client_->Embedded(1); }));
  EXPECT_TRUE(Posted(TTrayInput::Kind::HostChanged));
  ASSERT_EQ(manager_->docked.size(), 1u);
  const auto window = client_->WindowOf(1);
  EXPECT_EQ(manager_->docked[0], window);
  EXPECT_EQ(client_->Orientation(), 1);
  // On the tray's ARGB visual, drawn at the size the tray gave (24 x 24).
  EXPECT_EQ(x_->Depth(window) == 32, client_->ArgbOf(1));
  const int size = TestTrayManager::kIconSize;
  ASSERT_TRUE(Until([&] {
    const auto px = x_->WindowPixels(window, {0, 0, size, size});
    return px.size() == size_t(size * size) && (px[0] & 0xFFFFFF) == 0xFF0000 &&
           (px[size * size - 1] & 0xFFFFFF) == 0xFF0000;
  }));

  // A click on the icon.
  posted_.clear();
  x_->Move(TestTrayManager::kLeft + size / 2, TestTrayManager::kTop + 8 + size / 2);
  x_->Button(1, true);
  x_->Button(1, false);
  ASSERT_TRUE(Until([&] { return Posted(TTrayInput::Kind::MouseUp, 0); }));
  EXPECT_TRUE(Posted(TTrayInput::Kind::MouseDown, 0));
  for (const auto& [id, in] : posted_)
    if (in.kind == TTrayInput::Kind::MouseDown)
      EXPECT_EQ(in.screenPos, (TPoint{TestTrayManager::kLeft + size / 2, TestTrayManager::kTop + 8 + size / 2}));
  // Where the icon is (its tooltip goes near it), and the pointer leaving it.
  EXPECT_EQ(client_->ScreenRectOf(1),
            (TRect{TestTrayManager::kLeft, TestTrayManager::kTop + 8, TestTrayManager::kLeft + size,
                   TestTrayManager::kTop + 8 + size}));
  posted_.clear();
  x_->Move(10, 10);
  ASSERT_TRUE(Until([&] { return Posted(TTrayInput::Kind::MouseLeave); }));

  // The tray goes away, and comes back.
  posted_.clear();
  manager_.reset();
  ASSERT_TRUE(Until([&] { return !client_->Embedded(1); }));
  EXPECT_TRUE(Posted(TTrayInput::Kind::HostChanged));
  EXPECT_FALSE(client_->ManagerPresent());
  posted_.clear();
  manager_ = std::make_unique<TestTrayManager>(server_->Display());
  ASSERT_TRUE(Until([&] { return client_->Embedded(1); }));
  EXPECT_EQ(manager_->docked.size(), 1u);
  EXPECT_TRUE(Posted(TTrayInput::Kind::HostChanged));

  // Hidden, the icon leaves the tray.
  client_->SetVisible(1, false);
  EXPECT_FALSE(client_->Embedded(1));
  EXPECT_EQ(client_->WindowOf(1), 0u);
}

// The whole road: the tray icon component on the SDL platform docks into
// the X11 tray (no session bus in the environment) and hears a real click.
class TrayIconOnX11 : public X11FormTest {
 protected:
  void SetUp() override {
    for (const char* name : {"DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"}) {
      const char* v = std::getenv(name);
      saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
      unsetenv(name);
    }
    X11FormTest::SetUp();
  }
  void TearDown() override {
    X11FormTest::TearDown();
    for (const auto& [name, value] : saved_)
      if (value) setenv(name.c_str(), value->c_str(), 1);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(TrayIconOnX11, TheComponentDocksAndHearsAClickThroughTheSdlPlatform) {
  auto manager = std::make_unique<TestTrayManager>(server_->Display());
  auto* form = new TForm(Application);
  auto* icon = new TqzTrayIcon(form);
  int clicks = 0;
  icon->OnClick = [&](TObject*) { ++clicks; };
  icon->SetIconVisible(true);
  ASSERT_TRUE(PumpUntil([&] {
    manager->Process();
    return icon->Embedded();
  }));
  EXPECT_EQ(icon->PlatformIcon()->Protocol(), "xembed");
  const int size = TestTrayManager::kIconSize;
  x_->Move(TestTrayManager::kLeft + size / 2, TestTrayManager::kTop + 8 + size / 2);
  x_->Button(1, true);
  x_->Button(1, false);
  // The click comes once the double-click time is over.
  ASSERT_TRUE(PumpUntil([&] {
    manager->Process();
    return clicks == 1;
  }));
  // The tray shows no tooltip: the component's hint window comes below the
  // icon (the tray is in the upper half of the screen) and goes with the pointer.
  EXPECT_FALSE(icon->PlatformIcon()->HostShowsToolTip());
  icon->SetHint("Converter");
  x_->Move(TestTrayManager::kLeft + size / 2 + 2, TestTrayManager::kTop + 8 + size / 2);
  ASSERT_TRUE(PumpUntil([&] {
    manager->Process();
    return icon->ToolTipShown();
  }));
  const TRect tip = icon->ToolTipWindow()->BoundsRect();
  EXPECT_EQ(tip.Top, TestTrayManager::kTop + 8 + size + kTrayTipGap);
  EXPECT_TRUE(tip.Left <= TestTrayManager::kLeft + size / 2 && TestTrayManager::kLeft + size / 2 <= tip.Right);
  x_->Move(10, 10);
  ASSERT_TRUE(PumpUntil([&] {
    manager->Process();
    return !icon->ToolTipShown();
  }));
  delete form;
  Application->ProcessMessages();
}

}  // namespace
}  // namespace qz::testing
