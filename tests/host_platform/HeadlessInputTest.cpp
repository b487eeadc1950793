// Input on the headless platform: which window gets an event, focus and
// capture, the delivered input state, the virtual clock and the idle handler.
#include <gtest/gtest.h>

#include <thread>

#include "HeadlessTestUtil.h"
#include "host/base/Exception.h"
#include "host/base/Messages.h"

namespace qz {
namespace {

using testing::Drain;
using testing::Kinds;
using testing::SolidWindow;
using K = TPlatformEventKind;

constexpr uint32_t kGrey = 0xFF808080;

std::unique_ptr<THeadlessWindow> Popup(THeadlessPlatform& p, TRect r) {
  return SolidWindow(p, r, kGrey, TPlatformWindowKind::Popup);
}

TEST(HeadlessInput, PointerGoesToTheTopmostWindowWhoseShapeHoldsThePoint) {
  THeadlessPlatform p;
  auto below = SolidWindow(p, Rect(0, 0, 100, 100), kGrey);
  auto top = SolidWindow(p, Rect(0, 0, 50, 50), kGrey);
  TRegion hole = TRegion(Rect(0, 0, 50, 50)).Subtract(TRegion(Rect(10, 10, 20, 20)));
  top->SetShape(&hole);
  auto layered = SolidWindow(p, Rect(60, 60, 62, 61), kGrey);
  TPixmap picture(2, 1);
  picture.At(0, 0) = 0x00000000;  // transparent: lets the pointer through
  picture.At(1, 0) = 0x01010101;  // barely visible: catches it
  layered->PresentLayered(picture);

  EXPECT_EQ(p.WindowAt({5, 5}), top.get());
  EXPECT_EQ(p.WindowAt({15, 15}), below.get());
  EXPECT_EQ(p.WindowAt({60, 60}), below.get());
  EXPECT_EQ(p.WindowAt({61, 60}), layered.get());
  EXPECT_EQ(p.WindowAt({500, 500}), nullptr);

  p.InjectMouseMove({5, 5});
  p.InjectMouseMove({15, 15});
  p.InjectMouseMove({500, 500});
  p.InjectWheel(-120);
  auto events = Drain(p);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].window, top.get());
  EXPECT_EQ(events[1].window, below.get());
  EXPECT_EQ(events[2].window, nullptr);
  EXPECT_EQ(events[3].kind, K::MouseWheel);
  EXPECT_EQ(events[3].wheelDelta, -120);
  EXPECT_EQ(events[3].screenPos, (TPoint{500, 500}));
}

TEST(HeadlessInput, CaptureTakesEveryPointerEventUntilReleased) {
  THeadlessPlatform p;
  auto a = SolidWindow(p, Rect(0, 0, 100, 100), kGrey);
  auto b = SolidWindow(p, Rect(200, 0, 300, 100), kGrey);
  p.SetCapture(a.get());
  EXPECT_EQ(p.CaptureWindow(), a.get());
  p.InjectMouseMove({250, 50});
  p.InjectMouseMove({900, 900});
  p.InjectClick({250, 50});
  for (const auto& e : Drain(p)) EXPECT_EQ(e.window, a.get());
  EXPECT_EQ(p.FocusedWindow(), nullptr);  // a captured press moves no focus

  p.SetCapture(nullptr);
  p.InjectMouseMove({250, 50});
  EXPECT_EQ(Drain(p).at(0).window, b.get());

  // The target is chosen at delivery: capture taken while handling a press
  // also takes the moves queued behind it.
  p.InjectMouseDown(TMouseButtonId::Left, TPoint{50, 50});
  p.InjectMouseMove({250, 50});
  p.InjectMouseUp(TMouseButtonId::Left);
  TPlatformEvent e;
  ASSERT_TRUE(p.WaitEvent(e, 0));
  EXPECT_EQ(e.kind, K::MouseMove);
  ASSERT_TRUE(p.WaitEvent(e, 0));
  ASSERT_EQ(e.kind, K::MouseDown);
  p.SetCapture(e.window);
  auto rest = Drain(p);
  ASSERT_EQ(Kinds(rest), (std::vector<K>{K::FocusIn, K::MouseMove, K::MouseUp}));
  EXPECT_EQ(rest[1].window, a.get());
  EXPECT_EQ(rest[2].window, a.get());

  // A destroyed window drops the capture.
  p.SetCapture(b.get());
  b.reset();
  EXPECT_EQ(p.CaptureWindow(), nullptr);
}

TEST(HeadlessInput, FocusFollowsClicksAndActivationButNeverGoesToPopups) {
  THeadlessPlatform p;
  auto a = SolidWindow(p, Rect(0, 0, 100, 100), kGrey);
  auto b = SolidWindow(p, Rect(200, 0, 300, 100), kGrey);
  auto menu = Popup(p, Rect(400, 0, 500, 100));

  a->Activate();
  EXPECT_EQ(p.FocusedWindow(), a.get());
  p.InjectClick({250, 50});  // into b
  auto events = Drain(p);
  ASSERT_EQ(Kinds(events), (std::vector<K>{K::FocusIn, K::MouseMove, K::MouseDown, K::FocusOut, K::FocusIn,
                                           K::MouseUp}));
  EXPECT_EQ(events[0].window, a.get());
  EXPECT_EQ(events[3].window, a.get());
  EXPECT_EQ(events[4].window, b.get());
  EXPECT_EQ(p.FocusedWindow(), b.get());
  // A click does not raise (the window system decides); Activate does.
  EXPECT_EQ(p.Windows().back(), menu.get());

  p.InjectClick({450, 50});  // into the popup
  menu->Activate();
  EXPECT_EQ(Kinds(Drain(p)), (std::vector<K>{K::MouseMove, K::MouseDown, K::MouseUp}));
  EXPECT_EQ(p.FocusedWindow(), b.get());

  // Keys and text go to the focused window, wherever the pointer is.
  p.InjectKey('A', kModCtrl);
  p.InjectText("\xC3\xA9");
  events = Drain(p);
  ASSERT_EQ(Kinds(events), (std::vector<K>{K::KeyDown, K::KeyUp, K::Text}));
  for (const auto& e : events) EXPECT_EQ(e.window, b.get());
  EXPECT_EQ(events[0].key, 'A');
  EXPECT_EQ(events[0].modifiers, kModCtrl);
  EXPECT_EQ(events[2].text, "\xC3\xA9");

  // Hiding the focused window takes the focus away; a hidden window cannot take it.
  b->SetVisible(false, false);
  EXPECT_EQ(p.FocusedWindow(), nullptr);
  b->Activate();
  EXPECT_EQ(p.FocusedWindow(), nullptr);
  b->SetVisible(true, true);
  EXPECT_EQ(p.FocusedWindow(), b.get());
  EXPECT_EQ(Kinds(Drain(p)), (std::vector<K>{K::FocusOut, K::FocusIn}));
}

TEST(HeadlessInput, DestroyedWindowsGetNoMoreEvents) {
  THeadlessPlatform p;
  auto a = SolidWindow(p, Rect(0, 0, 100, 100), kGrey);
  a->Activate();
  TPlatformEvent close;
  close.kind = K::CloseRequest;
  close.window = a.get();
  p.InjectEvent(close);
  p.InjectKey(VK_RETURN);  // routed at delivery: no focus, no window
  a.reset();
  auto events = Drain(p);
  ASSERT_EQ(Kinds(events), (std::vector<K>{K::KeyDown, K::KeyUp}));
  EXPECT_EQ(events[0].window, nullptr);
  EXPECT_EQ(p.FocusedWindow(), nullptr);
  EXPECT_TRUE(p.Windows().empty());
}

TEST(HeadlessInput, StateSeenWhileHandlingAnEventIsThatOfTheEvent) {
  THeadlessPlatform p;
  auto a = SolidWindow(p, Rect(0, 0, 100, 100), kGrey);
  p.InjectKeyDown(VK_SHIFT);
  p.InjectClick({10, 20}, TMouseButtonId::Right);
  p.InjectKeyUp(VK_SHIFT);
  p.InjectMouseMove({30, 40});

  TPlatformEvent e;
  ASSERT_TRUE(p.WaitEvent(e, 0));  // Shift down
  EXPECT_EQ(p.KeyModifiers(), uint32_t{kModShift});
  ASSERT_TRUE(p.WaitEvent(e, 0));  // move
  ASSERT_TRUE(p.WaitEvent(e, 0));  // press
  EXPECT_EQ(e.kind, K::MouseDown);
  EXPECT_EQ(e.button, TMouseButtonId::Right);
  EXPECT_EQ(e.modifiers, uint32_t{kModShift});
  EXPECT_EQ(p.CursorPos(), (TPoint{10, 20}));
  EXPECT_TRUE(p.MouseButtonDown(TMouseButtonId::Right));
  EXPECT_FALSE(p.MouseButtonDown(TMouseButtonId::Left));
  Drain(p);
  EXPECT_EQ(p.CursorPos(), (TPoint{30, 40}));
  EXPECT_FALSE(p.MouseButtonDown(TMouseButtonId::Right));
  EXPECT_EQ(p.KeyModifiers(), 0u);

  // A press somewhere else moves the pointer there first.
  p.InjectMouseDown(TMouseButtonId::Left, TPoint{50, 50});
  EXPECT_EQ(Kinds(Drain(p)), (std::vector<K>{K::MouseMove, K::MouseDown}));

  a->SetCursorShape(TCursorShape::SizeNWSE);
  EXPECT_EQ(p.CurrentCursorShape(), TCursorShape::SizeNWSE);
  p.SetCursorPos({500, 500});
  EXPECT_EQ(p.CurrentCursorShape(), TCursorShape::Arrow);
  EXPECT_EQ(p.PendingEventCount(), 0u);
}

TEST(HeadlessClock, WaitingMovesTheVirtualClockOnlyWhenNothingCame) {
  THeadlessOptions o;
  o.startTimeMs = 5000;
  THeadlessPlatform p(o);
  EXPECT_EQ(p.NowMs(), 5000u);
  EXPECT_EQ(p.DoubleClickTimeMs(), 500);

  TPlatformEvent e;
  EXPECT_FALSE(p.WaitEvent(e, 250));
  EXPECT_EQ(p.NowMs(), 5250u);
  EXPECT_FALSE(p.WaitEvent(e, 0));
  EXPECT_EQ(p.NowMs(), 5250u);

  // Events carry the clock of their injection and come without waiting.
  p.InjectMouseMove({1, 1});
  p.AdvanceClock(40);
  p.InjectMouseMove({2, 2});
  ASSERT_TRUE(p.WaitEvent(e, 1000));
  EXPECT_EQ(e.timeMs, 5250u);
  ASSERT_TRUE(p.WaitEvent(e, 1000));
  EXPECT_EQ(e.timeMs, 5290u);
  EXPECT_EQ(p.NowMs(), 5290u);

  try {
    p.WaitEvent(e, -1);
    FAIL() << "waiting forever must throw";
  } catch (const Exception& x) {
    EXPECT_STREQ(x.what(), "headless platform: waiting for input that was never injected");
  }
}

TEST(HeadlessClock, IdleHandlerFeedsWaitsAndItsTimeCountsAgainstTheTimeout) {
  THeadlessPlatform p;
  const uint64_t start = p.NowMs();
  int calls = 0;
  // Scripted user: two idle turns of nothing but time, then a key, then done.
  p.SetIdleHandler([&] {
    ++calls;
    if (calls <= 2) {
      p.AdvanceClock(100);
      return true;
    }
    if (calls == 3) {
      p.InjectKey(VK_ESCAPE);
      return true;
    }
    return false;
  });

  TPlatformEvent e;
  // 150 ms wait: the idle time passes the deadline after two turns.
  EXPECT_FALSE(p.WaitEvent(e, 150));
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(p.NowMs(), start + 200);
  // Endless wait: the handler's key arrives.
  ASSERT_TRUE(p.WaitEvent(e, -1));
  EXPECT_EQ(e.kind, K::KeyDown);
  EXPECT_EQ(e.key, VK_ESCAPE);
  ASSERT_TRUE(p.WaitEvent(e, -1));
  EXPECT_EQ(e.kind, K::KeyUp);
  // Handler exhausted: a timed wait times out normally, an endless one throws.
  EXPECT_FALSE(p.WaitEvent(e, 30));
  EXPECT_EQ(p.NowMs(), start + 230);
  EXPECT_THROW(p.WaitEvent(e, -1), Exception);
}

TEST(HeadlessClock, WakeupFromAnotherThreadEndsAWait) {
  THeadlessPlatform p;
  std::thread worker([&] { p.PostWakeup(); });
  worker.join();
  TPlatformEvent e;
  ASSERT_TRUE(p.WaitEvent(e, -1));
  EXPECT_EQ(e.kind, K::Wakeup);
  EXPECT_EQ(e.window, nullptr);
}

TEST(HeadlessPlatform, WindowsOutliveTheirPlatformSafely) {
  auto p = std::make_unique<THeadlessPlatform>();
  auto w = SolidWindow(*p, Rect(0, 0, 10, 10), kGrey);
  p.reset();
  w->SetVisible(false, false);
  w->Raise();
  w->Activate();
  w->SetBounds(Rect(0, 0, 20, 20));
  EXPECT_EQ(w->Contents().Width(), 20);
  w.reset();
}

TEST(HeadlessPlatform, ClipboardAndWindowManagerMoves) {
  THeadlessPlatform p;
  p.SetClipboardText("copied \xE2\x82\xAC");
  EXPECT_EQ(p.ClipboardText(), "copied \xE2\x82\xAC");

  auto w = SolidWindow(p, Rect(0, 0, 10, 10), kGrey);
  p.InjectWindowManagerBounds(w.get(), Rect(5, 5, 25, 15));
  EXPECT_EQ(w->Bounds(), Rect(5, 5, 25, 15));
  auto events = Drain(p);
  ASSERT_EQ(Kinds(events), (std::vector<K>{K::Moved, K::Resized}));
  EXPECT_EQ(events[1].newBounds, Rect(5, 5, 25, 15));
  EXPECT_EQ(events[1].window, w.get());
}

}  // namespace
}  // namespace qz
