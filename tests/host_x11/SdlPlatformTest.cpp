// The SDL2/X11 platform on a private Xvfb server: what the X server shows
// (read back with XGetImage) and the events that real X input (XTEST)
// produces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

#include "XvfbSuite.h"
#include "host/base/Exception.h"
#include "host/base/Messages.h"
#include "host/platform/Platform.h"
#include "XTestDisplay.h"

namespace qz {

// Regions in failure messages as their rectangles.
void PrintTo(const TRegion& region, std::ostream* out) {
  *out << "{";
  for (const TRect& r : region.Rects()) *out << " [" << r.Left << "," << r.Top << " - " << r.Right << "," << r.Bottom << ")";
  *out << " }";
}

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kRootRgb = 0x000000;  // Xvfb -br: black root
using K = TPlatformEventKind;

class SdlPlatformTest : public testing::XvfbSuite {
 protected:
  void SetUp() override {
    XvfbSuite::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    platform_ = CreatePlatform("sdl");
  }
  void TearDown() override {
    platform_.reset();
    XvfbSuite::TearDown();
  }

  std::unique_ptr<IPlatformWindow> ShowSolid(TRect bounds, uint32_t argb,
                                             TPlatformWindowKind kind = TPlatformWindowKind::Normal) {
    TPlatformWindowDesc desc;
    desc.kind = kind;
    desc.bounds = bounds;
    auto w = platform_->CreateWindow(desc);
    w->SetVisible(true, false);
    TPixmap buffer(bounds.Width(), bounds.Height(), argb);
    w->Present(buffer, TRegion(buffer.Bounds()));
    return w;
  }

  // The screen's colour at a point, 0xRRGGBB, read from the server.
  uint32_t ScreenRgb(int x, int y) { return x_->Rgb(x, y); }

  void HandleEventsWhileWaiting() override {
    TPlatformEvent e;
    while (platform_->WaitEvent(e, 10)) {
    }
  }

  // Handles events until `done` holds (bounded, so a broken backend fails
  // instead of hanging). Returns every event seen.
  std::vector<TPlatformEvent> PumpUntil(const std::function<bool(const std::vector<TPlatformEvent>&)>& done) {
    std::vector<TPlatformEvent> seen;
    for (int round = 0; round < 200 && !done(seen); ++round) {
      TPlatformEvent e;
      while (platform_->WaitEvent(e, 25)) seen.push_back(e);
    }
    return seen;
  }
  std::vector<TPlatformEvent> PumpUntilEvent(K kind, IPlatformWindow* window = nullptr) {
    return PumpUntil([=](const std::vector<TPlatformEvent>& seen) {
      for (const auto& e : seen)
        if (e.kind == kind && (!window || e.window == window)) return true;
      return false;
    });
  }
  void PumpUntilPixel(int x, int y, uint32_t rgb) {
    PumpUntil([&](const std::vector<TPlatformEvent>&) { return ScreenRgb(x, y) == rgb; });
  }

  void FakeMove(int x, int y) { x_->Move(x, y); }
  void FakeButton(unsigned button, bool down) { x_->Button(button, down); }
  void FakeKey(const char* key, bool down) { x_->Key(key, down); }

  static const TPlatformEvent* Find(const std::vector<TPlatformEvent>& events, K kind) {
    for (const auto& e : events)
      if (e.kind == kind) return &e;
    return nullptr;
  }

  std::unique_ptr<IPlatform> platform_;
};

TEST_F(SdlPlatformTest, DescribesTheServerScreen) {
  EXPECT_STREQ(platform_->Name(), "sdl");
  auto monitors = platform_->Monitors();
  ASSERT_EQ(monitors.size(), 1u);
  EXPECT_EQ(monitors[0].bounds, Rect(0, 0, 1280, 1024));
  EXPECT_TRUE(monitors[0].primary);
  EXPECT_TRUE(platform_->SupportsShapes());
  EXPECT_EQ(platform_->DoubleClickTimeMs(), 500);
  platform_->SetClipboardText("qz clipboard");
  EXPECT_EQ(platform_->ClipboardText(), "qz clipboard");
  // One SDL platform per process at a time.
  EXPECT_THROW(CreatePlatform("sdl"), Exception);

  // With a display and no QZ_PLATFORM the automatic choice is this backend.
  platform_.reset();
  const char* chosen = std::getenv("QZ_PLATFORM");
  const std::string saved = chosen ? chosen : "";
  unsetenv("QZ_PLATFORM");
  platform_ = CreatePlatform();
  EXPECT_STREQ(platform_->Name(), "sdl");
  if (chosen) setenv("QZ_PLATFORM", saved.c_str(), 1);
}

TEST_F(SdlPlatformTest, ShapedWindowShowsOnlyItsShape) {
  auto w = ShowSolid(Rect(100, 100, 300, 250), kRed);
  TRegion frame = TRegion(Rect(0, 0, 200, 150)).Subtract(TRegion(Rect(50, 50, 150, 100)));
  w->SetShape(&frame);
  EXPECT_TRUE(Shows(105, 105, 0xFF0000u));
  EXPECT_TRUE(Shows(200, 175, kRootRgb));  // the hole
  EXPECT_TRUE(Shows(299, 249, 0xFF0000u));
  EXPECT_TRUE(Shows(300, 250, kRootRgb));

  // Without the shape the hole is exposed and shows the picture again.
  w->SetShape(nullptr);
  PumpUntilPixel(200, 175, 0xFF0000);
  EXPECT_TRUE(Shows(200, 175, 0xFF0000u));

  // The shape survives moving and resizing the window.
  w->SetShape(&frame);
  w->SetBounds(Rect(400, 300, 600, 450));
  TPixmap green(200, 150, kGreen);
  w->Present(green, TRegion(green.Bounds()));
  EXPECT_TRUE(Shows(405, 305, 0x00FF00u));
  EXPECT_TRUE(Shows(500, 375, kRootRgb));
  EXPECT_TRUE(Shows(105, 105, kRootRgb));
}

TEST_F(SdlPlatformTest, PresentPutsOnlyTheDirtyRectangles) {
  auto w = ShowSolid(Rect(50, 50, 150, 150), kRed);
  TPixmap blue(100, 100, kBlue);
  w->Present(blue, TRegion(Rect(10, 10, 20, 20)).Union(TRegion(Rect(80, 0, 100, 5))));
  EXPECT_TRUE(Shows(60, 60, 0x0000FFu));
  EXPECT_TRUE(Shows(69, 69, 0x0000FFu));
  EXPECT_TRUE(Shows(70, 70, 0xFF0000u));
  EXPECT_TRUE(Shows(149, 50, 0x0000FFu));
  EXPECT_TRUE(Shows(149, 60, 0xFF0000u));

  // After a resize the window has a new, empty surface: a partial Present
  // still shows the whole picture.
  w->SetBounds(Rect(50, 50, 180, 160));
  TPixmap green(130, 110, kGreen);
  w->Present(green, TRegion(Rect(0, 0, 5, 5)));
  EXPECT_TRUE(Shows(170, 150, 0x00FF00u));
  EXPECT_TRUE(Shows(100, 100, 0x00FF00u));
}

// X windows cannot be empty: an empty window is one pixel shaped away, and
// shows again once it has a size.
TEST_F(SdlPlatformTest, AnEmptyWindowShowsNothingUntilItHasASize) {
  auto w = ShowSolid(Rect(30, 40, 30, 40), kRed);
  const auto xid = ShownWindow(Rect(30, 40, 31, 41));
  ASSERT_NE(xid, 0u);
  EXPECT_TRUE(x_->Shape(xid, false).IsEmpty());
  w->SetBounds(Rect(30, 40, 70, 60));
  TPixmap green(40, 20, kGreen);
  w->Present(green, TRegion(green.Bounds()));
  EXPECT_EQ(x_->Shape(xid, false), TRegion(Rect(0, 0, 40, 20)));
  EXPECT_TRUE(Shows(30, 40, 0x00FF00u));
  w->SetBounds(Rect(30, 40, 30, 60));
  EXPECT_TRUE(x_->Shape(xid, false).IsEmpty());
}

TEST_F(SdlPlatformTest, StackingFollowsRaiseAndPopupsStayAbove) {
  auto a = ShowSolid(Rect(0, 0, 100, 100), kRed);
  auto popup = ShowSolid(Rect(80, 80, 120, 120), kBlue, TPlatformWindowKind::Popup);
  auto b = ShowSolid(Rect(50, 50, 150, 150), kGreen);
  EXPECT_TRUE(Shows(60, 60, 0x00FF00u));
  EXPECT_TRUE(Shows(90, 90, 0x0000FFu));  // the popup stays above the newer window
  a->Raise();  // X exposes what was covered; the backend puts its picture back
  PumpUntilPixel(60, 60, 0xFF0000);
  EXPECT_TRUE(Shows(60, 60, 0xFF0000u));
  EXPECT_TRUE(Shows(90, 90, 0x0000FFu));
  popup->SetVisible(false, false);
  PumpUntilPixel(90, 90, 0xFF0000);
  EXPECT_TRUE(Shows(90, 90, 0xFF0000u));
}

TEST_F(SdlPlatformTest, PerPixelAlphaFallsBackToAShapeOfTheVisiblePixels) {
  if (OnDesktop()) GTEST_SKIP() << "the desktop runs a compositor";
  EXPECT_FALSE(platform_->SupportsPerPixelAlpha());  // Xvfb runs no compositor
  auto w = ShowSolid(Rect(200, 200, 240, 220), kRed);
  TPixmap picture(40, 20, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 20; x < 40; ++x) picture.At(x, y) = 0xFF00FF00;
  w->PresentLayered(picture);
  EXPECT_TRUE(Shows(205, 205, kRootRgb));
  EXPECT_TRUE(Shows(225, 205, 0x00FF00u));
  const auto xid = ShownWindow(Rect(200, 200, 240, 220));
  ASSERT_NE(xid, 0u);
  EXPECT_EQ(x_->Depth(xid), 24);
  EXPECT_EQ(x_->Shape(xid, false), TRegion(Rect(20, 0, 40, 20)));
}

// Columns of alpha 0, 128, 255 and 64, premultiplied.
TPixmap AlphaColumns() {
  static constexpr uint32_t kColumns[] = {0x00000000, 0x80402010, 0xFF00FF00, 0x40302010};
  TPixmap picture(40, 20, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) picture.At(x, y) = kColumns[x / 10];
  return picture;
}

std::vector<uint32_t> PixelsOf(const TPixmap& picture) {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) pixels.push_back(picture.At(x, y));
  return pixels;
}

TEST_F(SdlPlatformTest, WithACompositorLayeredPicturesKeepTheirAlpha) {
  RunCompositor();
  EXPECT_TRUE(platform_->SupportsPerPixelAlpha());
  auto below = ShowSolid(Rect(280, 190, 360, 240), kRed);
  const TRect bounds = Rect(300, 200, 340, 220);
  auto w = ShowSolid(bounds, kBlue);
  const TPixmap picture = AlphaColumns();
  w->PresentLayered(picture);

  const auto xid = ShownWindow(bounds);
  ASSERT_NE(xid, 0u);
  EXPECT_EQ(x_->Depth(xid), 32);
  SettleOnDesktop([&] { return x_->WindowPixels(xid, Rect(0, 0, 40, 20)) == PixelsOf(picture); });
  EXPECT_EQ(x_->WindowPixels(xid, Rect(0, 0, 40, 20)), PixelsOf(picture));
  // The compositor shows the desktop through it; clicks on the transparent
  // pixels go to what is below. On the bare server only the input shape
  // leaves them out; under a window manager, whose frame would take them,
  // the bounding shape too.
  EXPECT_EQ(x_->Shape(xid, false), OnDesktop() ? TRegion(Rect(10, 0, 40, 20)) : TRegion(Rect(0, 0, 40, 20)));
  EXPECT_EQ(x_->Shape(xid, true), TRegion(Rect(10, 0, 40, 20)));
  for (const auto& [x, expected] : {std::pair{315, w.get()}, std::pair{305, below.get()}}) {
    FakeMove(x, 205);
    FakeButton(1, true);
    FakeButton(1, false);
    auto events = PumpUntilEvent(K::MouseUp);
    const TPlatformEvent* down = Find(events, K::MouseDown);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->window, expected) << "click at x " << x;
    EXPECT_EQ(down->screenPos, (TPoint{x, 205}));
  }

  // The next picture goes into the same window.
  TPixmap next(40, 20, 0x80800000);
  w->PresentLayered(next);
  EXPECT_EQ(ShownWindow(bounds), xid);
  // (A window manager's frame shows the pixels left out before only when
  // it has followed the window's shape: they come with the exposure.)
  SettleOnDesktop([&] { return x_->WindowPixels(xid, Rect(0, 0, 40, 20)) == PixelsOf(next); });
  EXPECT_EQ(x_->WindowPixels(xid, Rect(0, 0, 40, 20)), PixelsOf(next));

  // Opaque contents again: whatever alpha the back buffer holds, the window
  // shows it opaque and takes input everywhere.
  w->Present(picture, TRegion(picture.Bounds()));
  for (uint32_t p : x_->WindowPixels(xid, Rect(0, 0, 40, 20))) ASSERT_EQ(p >> 24, 0xFFu);
  EXPECT_EQ(x_->WindowPixels(xid, Rect(25, 5, 26, 6)), std::vector<uint32_t>{0xFF00FF00});
  EXPECT_EQ(x_->Shape(xid, true), TRegion(Rect(0, 0, 40, 20)));

  // The compositor gone, the next picture shapes the window as without one.
  StopCompositor();
  w->PresentLayered(picture);
  EXPECT_EQ(x_->Shape(xid, false), TRegion(Rect(10, 0, 40, 20)));
}

// The window moves to a new native window of the ARGB visual; what the
// window system set up on the old one goes with it.
TEST_F(SdlPlatformTest, ALayeredWindowKeepsOwnersStackingOpacityAndFocus) {
  RunCompositor();
  auto owner = ShowSolid(Rect(100, 100, 300, 300), kRed);
  auto w = ShowSolid(Rect(150, 150, 250, 250), kGreen);
  w->SetOwner(owner.get());
  auto popup = ShowSolid(Rect(200, 200, 260, 260), kBlue, TPlatformWindowKind::Popup);
  popup->SetOwner(w.get());
  w->Activate();
  PumpUntilEvent(K::FocusIn, w.get());
  const auto opaqueXid = ShownWindow(Rect(150, 150, 250, 250));
  w->SetOpacity(128);
  w->PresentLayered(TPixmap(100, 100, 0x80008000));

  const auto ownerXid = ShownWindow(Rect(100, 100, 300, 300));
  const auto xid = ShownWindow(Rect(150, 150, 250, 250));
  const auto popupXid = ShownWindow(Rect(200, 200, 260, 260));
  ASSERT_NE(xid, 0u);
  EXPECT_NE(xid, opaqueXid);
  EXPECT_EQ(x_->Depth(xid), 32);
  EXPECT_EQ(x_->TransientFor(xid), ownerXid);
  EXPECT_EQ(x_->TransientFor(popupXid), xid);
  const auto stack = x_->MappedTopLevels();
  const auto at = [&](unsigned long id) { return std::find(stack.begin(), stack.end(), id) - stack.begin(); };
  EXPECT_LT(at(ownerXid), at(xid));
  EXPECT_LT(at(xid), at(popupXid));
  EXPECT_EQ(std::find(stack.begin(), stack.end(), opaqueXid), stack.end());  // the old one is gone
  const auto opacity = x_->Cardinal(xid, "_NET_WM_WINDOW_OPACITY");
  ASSERT_TRUE(opacity.has_value());
  EXPECT_NEAR(static_cast<double>(*opacity) / 0xFFFFFFFFu, 128.0 / 255, 1e-3);

  // Keys still go to it, and moves and sizes reach the new window.
  FakeKey("x", true);
  FakeKey("x", false);
  auto events = PumpUntilEvent(K::KeyUp);
  ASSERT_NE(Find(events, K::KeyDown), nullptr);
  EXPECT_EQ(Find(events, K::KeyDown)->window, w.get());
  w->SetBounds(Rect(170, 160, 290, 260));
  EXPECT_EQ(ShownWindow(Rect(170, 160, 290, 260)), xid);
}

TEST_F(SdlPlatformTest, ClicksAndTypingArriveAsPlatformEvents) {
  auto w = ShowSolid(Rect(100, 100, 300, 300), kRed);
  w->Activate();
  PumpUntilEvent(K::FocusIn, w.get());

  FakeMove(150, 160);
  FakeButton(1, true);
  FakeButton(1, false);
  auto events = PumpUntilEvent(K::MouseUp);
  const TPlatformEvent* down = Find(events, K::MouseDown);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->window, w.get());
  EXPECT_EQ(down->screenPos, (TPoint{150, 160}));
  EXPECT_EQ(down->button, TMouseButtonId::Left);
  EXPECT_EQ(platform_->CursorPos(), (TPoint{150, 160}));

  FakeKey("Shift_L", true);
  FakeKey("b", true);
  FakeKey("b", false);
  FakeKey("Shift_L", false);
  FakeKey("Return", true);
  FakeKey("Return", false);
  events = PumpUntil([](const std::vector<TPlatformEvent>& seen) {
    for (const auto& e : seen)
      if (e.kind == K::KeyUp && e.key == VK_RETURN) return true;
    return false;
  });
  const TPlatformEvent* text = Find(events, K::Text);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text, "B");
  EXPECT_EQ(text->window, w.get());
  std::vector<int> downs;
  for (const auto& e : events)
    if (e.kind == K::KeyDown) {
      downs.push_back(e.key);
      if (e.key == 'B') {
        EXPECT_EQ(e.modifiers, uint32_t{kModShift});
      }
    }
  EXPECT_EQ(downs, (std::vector<int>{VK_SHIFT, 'B', VK_RETURN}));
}

// A drag done before the program looks (press, move, release all queued):
// while the press is handled, the button is down and the pointer is where
// it was pressed, so a move loop started there sees the whole drag.
TEST_F(SdlPlatformTest, StateSeenWhileHandlingAPressIsThatOfThePress) {
  auto w = ShowSolid(Rect(100, 100, 300, 300), kRed);
  w->Activate();
  PumpUntilEvent(K::FocusIn, w.get());
  FakeMove(120, 130);
  FakeButton(1, true);
  FakeMove(220, 230);
  FakeButton(1, false);
  bool sawPress = false, sawRelease = false;
  TPlatformEvent e;
  for (int round = 0; round < 200 && !sawRelease; ++round) {
    if (!platform_->WaitEvent(e, 25)) continue;
    if (e.kind == K::MouseDown) {
      sawPress = true;
      EXPECT_TRUE(platform_->MouseButtonDown(TMouseButtonId::Left));
      EXPECT_EQ(platform_->CursorPos(), (TPoint{120, 130}));
    } else if (e.kind == K::MouseUp) {
      sawRelease = true;
      EXPECT_FALSE(platform_->MouseButtonDown(TMouseButtonId::Left));
      EXPECT_EQ(e.screenPos, (TPoint{220, 230}));
    }
  }
  EXPECT_TRUE(sawPress);
  EXPECT_TRUE(sawRelease);
}

TEST_F(SdlPlatformTest, PopupsTakeClicksButNotTheFocus) {
  auto w = ShowSolid(Rect(100, 100, 300, 300), kRed);
  w->Activate();
  PumpUntilEvent(K::FocusIn, w.get());
  auto popup = ShowSolid(Rect(400, 100, 500, 200), kBlue, TPlatformWindowKind::Popup);
  popup->SetVisible(true, true);
  popup->Activate();

  FakeMove(450, 150);
  FakeButton(1, true);
  FakeButton(1, false);
  FakeKey("x", true);
  FakeKey("x", false);
  auto events = PumpUntilEvent(K::KeyUp);
  const TPlatformEvent* down = Find(events, K::MouseDown);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->window, popup.get());
  EXPECT_EQ(Find(events, K::FocusOut), nullptr);
  EXPECT_EQ(Find(events, K::KeyDown)->window, w.get());
}

TEST_F(SdlPlatformTest, CaptureTakesMovesOutsideTheWindow) {
  auto w = ShowSolid(Rect(100, 100, 200, 200), kRed);
  auto other = ShowSolid(Rect(600, 600, 700, 700), kGreen);
  w->Activate();
  PumpUntilEvent(K::FocusIn, w.get());
  FakeMove(150, 150);
  PumpUntilEvent(K::MouseMove, w.get());
  platform_->SetCapture(w.get());
  FakeMove(650, 650);
  auto events = PumpUntil([](const std::vector<TPlatformEvent>& seen) {
    return !seen.empty() && seen.back().kind == K::MouseMove && seen.back().screenPos == TPoint{650, 650};
  });
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().window, w.get());
  // Also over no window at all, and the release there.
  FakeMove(900, 300);
  FakeButton(1, true);
  FakeButton(1, false);
  events = PumpUntilEvent(K::MouseUp);
  ASSERT_NE(Find(events, K::MouseUp), nullptr);
  EXPECT_EQ(Find(events, K::MouseUp)->window, w.get());
  EXPECT_EQ(Find(events, K::MouseUp)->screenPos, (TPoint{900, 300}));
  ASSERT_NE(Find(events, K::MouseMove), nullptr);
  EXPECT_EQ(Find(events, K::MouseMove)->window, w.get());

  platform_->SetCapture(nullptr);
  FakeMove(660, 660);
  events = PumpUntil([](const std::vector<TPlatformEvent>& seen) {
    return !seen.empty() && seen.back().kind == K::MouseMove && seen.back().screenPos == TPoint{660, 660};
  });
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().window, other.get());
}

// SDL wakes a waiting thread by a message to one of our windows; when that
// window is destroyed at the same moment, the server answers BadWindow on
// SDL's connection. That must not end the process, and the platform goes on
// showing windows.
TEST_F(SdlPlatformTest, AMessageToAWindowAlreadyGoneDoesNotEndTheProcess) {
  testing::XTestDisplay::MessageAWindowGone(server_->Display());
  auto w = ShowSolid(Rect(40, 40, 120, 100), 0xFF0000FFu);
  EXPECT_TRUE(Shows(60, 60, 0x0000FFu));
}

// SDL wakes its own wait with a message to one of our windows, sent on a
// connection of its own whose answers it reads only when it closes it: after
// it has put back the error handler it found when it opened the display.
// A window destroyed meanwhile makes that answer BadWindow, which must not
// end the process, also in a program that set no handler of its own.
TEST_F(SdlPlatformTest, AMessageToAWindowGoneAnsweredAfterThePlatformEndedDoesNotEndTheProcess) {
  platform_.reset();
  {
    auto restore = testing::XTestDisplay::UseXlibDefaultErrorHandler();
    platform_ = CreatePlatform("sdl");
    auto unread = testing::XTestDisplay::MessageAWindowGoneUnread(server_->Display());
    ASSERT_NE(unread, nullptr);
    platform_.reset();
    unread.reset();  // reads the BadWindow answer now
  }
  // The process lives on, and a platform made after it shows windows.
  platform_ = CreatePlatform("sdl");
  auto w = ShowSolid(Rect(40, 40, 120, 100), 0xFF0000FFu);
  EXPECT_TRUE(Shows(60, 60, 0x0000FFu));
}

TEST_F(SdlPlatformTest, WakeupFromAnotherThreadEndsAnEndlessWait) {
  std::thread worker([&] { platform_->PostWakeup(); });
  worker.join();
  TPlatformEvent e;
  bool woke = false;
  while (!woke && platform_->WaitEvent(e, -1)) woke = e.kind == K::Wakeup;
  EXPECT_TRUE(woke);
}

}  // namespace
}  // namespace qz
