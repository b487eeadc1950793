// Window procedure replacement, move and size loops, timers, alignment.
#include "UiTestSupport.h"

#include "host/ui/Timer.h"

namespace qz::testing {
namespace {

class WindowTest : public UiTest {};

// A replacement window procedure as a skinning component installs it.
struct TSubclass {
  TWinControl* w;
  std::function<void(TMessage&)> old;
  std::vector<std::pair<uint32_t, bool>> seen;  // message, after default
  explicit TSubclass(TWinControl* c) : w(c), old(c->WindowProc) {
    c->WindowProc = [this](TMessage& m) { Proc(m); };
  }
  ~TSubclass() { w->WindowProc = old; }
  void Proc(TMessage& m) {
    seen.push_back({m.Msg, false});
    if (m.Msg == WM_NCCALCSIZE) {
      // A 10-pixel frame all round, no caption.
      auto* p = reinterpret_cast<TNCCalcSizeParams*>(m.LParam);
      p->rgrc[0] = InflateRect(p->rgrc[0], -10, -10);
      m.Result = 0;
      return;
    }
    if (m.Msg == WM_NCHITTEST) {
      TRect r;
      GetWindowRect(w, r);
      int y = GET_Y_LPARAM(m.LParam) - r.Top;
      m.Result = y < 10 ? HTCAPTION : HTCLIENT;
      return;
    }
    old(m);
    seen.push_back({m.Msg, true});
  }
};

TEST_F(WindowTest, ReplacedWindowProcSeesMessagesAndChangesNonClientArea) {
  TForm* f = MakeForm({100, 100, 500, 400});
  {
    TSubclass sub(f);
    SetWindowPos(f, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(f->ClientRect(), (TRect{0, 0, 380, 280}));
    EXPECT_EQ(f->ClientOrigin(), (TPoint{110, 110}));
    // Before and after default processing; a caption change is a WM_SETTEXT.
    sub.seen.clear();
    f->SetCaption("x");
    EXPECT_EQ(f->Caption(), "x");
    ASSERT_GE(sub.seen.size(), 2u);
    EXPECT_EQ(sub.seen[0], std::make_pair(uint32_t(WM_SETTEXT), false));
    EXPECT_EQ(sub.seen[1], std::make_pair(uint32_t(WM_SETTEXT), true));
    // The new hit codes drive the host's move loop.
    hp->InjectMouseMove({300, 105});
    hp->InjectMouseDown();
    hp->InjectMouseMove({340, 125});
    hp->InjectMouseUp();
    Pump();
    TRect r;
    GetWindowRect(f, r);
    EXPECT_EQ(r, (TRect{140, 120, 540, 420}));
  }
  // Restoring the old procedure gives the default frame back.
  SetWindowPos(f, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(f->ClientRect(), (TRect{0, 0, 400 - 6, 300 - 6 - kCaptionHeight}));
}

TEST_F(WindowTest, MoveLoopHonoursChangedMovingRectAndEscapeRestores) {
  TForm* f = MakeForm({100, 100, 500, 400});
  std::vector<uint32_t> log;
  auto old = f->WindowProc;
  f->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_ENTERSIZEMOVE || m.Msg == WM_EXITSIZEMOVE) log.push_back(m.Msg);
    if (m.Msg == WM_MOVING) {
      // Snap to multiples of 50.
      auto* r = reinterpret_cast<TRect*>(m.LParam);
      int x = (r->Left + 25) / 50 * 50, y = (r->Top + 25) / 50 * 50;
      *r = OffsetRect(*r, x - r->Left, y - r->Top);
      log.push_back(m.Msg);
    }
    old(m);
  };
  TPoint caption{300, 110};
  EXPECT_EQ(SendMessage(f, WM_NCHITTEST, 0, MAKELPARAM(caption.X, caption.Y)), HTCAPTION);
  hp->InjectMouseMove(caption);
  hp->InjectMouseDown();
  hp->InjectMouseMove(caption + TPoint{37, 61});
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(f->BoundsRect(), (TRect{150, 150, 550, 450}));
  EXPECT_EQ(static_cast<THeadlessWindow*>(f->WindowData()->platform.get())->Bounds(), f->BoundsRect());
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log.front(), WM_ENTERSIZEMOVE);
  EXPECT_EQ(log[1], WM_MOVING);
  EXPECT_EQ(log.back(), WM_EXITSIZEMOVE);
  EXPECT_EQ(GetCapture(), nullptr);

  // Escape puts the window back where the loop started.
  TPoint c2{300, 160};
  hp->InjectMouseMove(c2);
  hp->InjectMouseDown();
  hp->InjectMouseMove(c2 + TPoint{200, 200});
  hp->InjectKey(VK_ESCAPE);
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(f->BoundsRect(), (TRect{150, 150, 550, 450}));
  f->WindowProc = old;
}

TEST_F(WindowTest, SizeLoopFromBottomRightClampsToMinMaxInfo) {
  TForm* f = MakeForm({100, 100, 500, 400});
  std::vector<TRect> sizes;
  f->OnResize = [&](TObject*) { sizes.push_back(f->BoundsRect()); };
  auto old = f->WindowProc;
  f->WindowProc = [&](TMessage& m) {
    old(m);
    if (m.Msg == WM_GETMINMAXINFO) {
      auto* mm = reinterpret_cast<TMinMaxInfo*>(m.LParam);
      mm->ptMinTrackSize = {250, 200};
      mm->ptMaxTrackSize = {600, 450};
    }
  };
  TPoint corner{499, 399};
  EXPECT_EQ(SendMessage(f, WM_NCHITTEST, 0, MAKELPARAM(corner.X, corner.Y)), HTBOTTOMRIGHT);
  hp->InjectMouseMove(corner);
  hp->InjectMouseDown();
  hp->InjectMouseMove({300, 250});  // would be 200 x 150
  hp->InjectMouseMove({900, 900});  // would be 800 x 800
  hp->InjectMouseUp();
  Pump();
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_EQ(sizes[0], (TRect{100, 100, 350, 300}));
  EXPECT_EQ(sizes[1], (TRect{100, 100, 700, 550}));
  EXPECT_EQ(f->ClientWidth(), 600 - 6);
  f->WindowProc = old;
  f->OnResize = nullptr;
}

TEST_F(WindowTest, SizeLoopFromTopLeftKeepsTheOppositeCorner) {
  TForm* f = MakeForm({100, 100, 500, 400});
  TPoint corner{100, 100};
  EXPECT_EQ(SendMessage(f, WM_NCHITTEST, 0, MAKELPARAM(corner.X, corner.Y)), HTTOPLEFT);
  hp->InjectMouseMove(corner);
  hp->InjectMouseDown();
  hp->InjectMouseMove({490, 390});  // far past the default minimum size
  hp->InjectMouseUp();
  Pump();
  TRect r = f->BoundsRect();
  EXPECT_EQ(r.Right, 500);
  EXPECT_EQ(r.Bottom, 400);
  TMinMaxInfo mm = DefaultMinMaxInfo(f);
  EXPECT_EQ(r.Width(), mm.ptMinTrackSize.X);
  EXPECT_EQ(r.Height(), mm.ptMinTrackSize.Y);
}

TEST_F(WindowTest, DragMoveFromAClientPress) {
  TForm* f = MakeForm({100, 100, 500, 400}, bsNone);
  f->OnMouseDown = [f](TObject*, TMouseButton, TShiftState, int, int) {
    ReleaseCapture();
    SendMessage(f, WM_SYSCOMMAND, SC_DRAGMOVE, 0);
  };
  hp->InjectMouseMove({200, 200});
  hp->InjectMouseDown();
  hp->InjectMouseMove({260, 150});
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(f->BoundsRect(), (TRect{160, 50, 560, 350}));
  EXPECT_EQ(GetCapture(), nullptr);
  // A system command without a pressed button starts no loop.
  SendMessage(f, WM_SYSCOMMAND, SC_MOVE, 0);
  EXPECT_EQ(f->BoundsRect(), (TRect{160, 50, 560, 350}));
  f->OnMouseDown = nullptr;
}

TEST_F(WindowTest, TimersRunOnTheVirtualClock) {
  TForm* f = MakeForm({100, 100, 500, 400});
  std::vector<uintptr_t> fired;
  auto old = f->WindowProc;
  f->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_TIMER) fired.push_back(m.WParam);
    old(m);
  };
  SetTimer(f, 7, 100);
  SetTimer(f, 9, 250);
  hp->AdvanceClock(99);
  Pump();
  EXPECT_TRUE(fired.empty());
  hp->AdvanceClock(1);
  Pump();
  EXPECT_EQ(fired, (std::vector<uintptr_t>{7}));
  hp->AdvanceClock(150);
  Pump();
  EXPECT_EQ(fired, (std::vector<uintptr_t>{7, 7, 9}));  // the most overdue first
  EXPECT_TRUE(KillTimer(f, 7));
  EXPECT_FALSE(KillTimer(f, 7));
  hp->AdvanceClock(1000);
  Pump();
  EXPECT_EQ(fired, (std::vector<uintptr_t>{7, 7, 9, 9}));  // one WM_TIMER however late
  // Destroying the window kills its timers.
  f->HandleNeeded();
  delete f;
  hp->AdvanceClock(1000);
  Pump();
}

TEST_F(WindowTest, TTimerComponentAndCallbackTimers) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetInterval(50);
  hp->AdvanceClock(120);
  Pump();
  EXPECT_EQ(ticks, 1);
  hp->AdvanceClock(50);
  Pump();
  EXPECT_EQ(ticks, 2);
  timer.SetEnabled(false);
  hp->AdvanceClock(500);
  Pump();
  EXPECT_EQ(ticks, 2);
  // A modal-style wait lets the clock run to the next timer.
  int cb = 0;
  uintptr_t id = SetTimer(nullptr, 0, 30, [&](HWND, UINT, uintptr_t, DWORD) { ++cb; });
  EXPECT_NE(id, 0u);
  WindowSystem().WaitMessage();
  Pump();
  EXPECT_EQ(cb, 1);
  KillTimer(nullptr, id);
}

TEST_F(WindowTest, AlignmentAndAnchorsFollowTheParent) {
  TForm* f = MakeForm({100, 100, 500, 400});
  f->SetClientSize(400, 300);
  auto* top = new TPanel(f);
  top->SetParent(f);
  top->SetHeight(30);
  top->SetAlign(alTop);
  auto* left = new TPanel(f);
  left->SetParent(f);
  left->SetWidth(50);
  left->SetAlign(alLeft);
  auto* client = new TPanel(f);
  client->SetParent(f);
  client->SetAlign(alClient);
  auto* anchored = new TButton(client);
  anchored->SetParent(client);
  anchored->SetBounds(250, 200, 60, 20);  // 40 from the right, 50 from the bottom of 350 x 270
  anchored->SetAnchors({akRight, akBottom});
  auto* stretched = new TButton(client);
  stretched->SetParent(client);
  stretched->SetBounds(10, 10, 300, 20);
  stretched->SetAnchors({akLeft, akTop, akRight});
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 400, 30}));
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 30, 50, 300}));
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 30, 400, 300}));
  f->SetClientSize(500, 400);
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 500, 30}));
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 30, 500, 400}));
  EXPECT_EQ(anchored->BoundsRect(), (TRect{350, 300, 410, 320}));
  EXPECT_EQ(stretched->BoundsRect(), (TRect{10, 10, 410, 30}));
  // Hiding an aligned control gives its space to the others.
  top->Hide();
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 0, 500, 400}));
}

// A control that the alignment itself shows or hides (a handler of another
// aligned control's resize does) is aligned all the same, and takes its
// room from the others.
TEST_F(WindowTest, AControlShownWhileItsParentAlignsIsAlignedToo) {
  TForm* f = MakeForm({100, 100, 500, 400});
  f->SetClientSize(400, 300);
  auto* bottom = new TPanel(f);
  bottom->SetParent(f);
  bottom->SetBounds(0, 0, 80, 20);  // where it was made: top left
  bottom->SetVisible(false);
  bottom->SetAlign(alBottom);
  auto* client = new TPanel(f);
  client->SetParent(f);
  client->SetAlign(alClient);
  // As scroll bars follow a client: shown when it gets narrow.
  client->OnResize = [&](TObject*) { bottom->SetVisible(client->Width() < 300); };
  f->SetClientSize(250, 300);
  ASSERT_TRUE(bottom->Visible());
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 280, 250, 300}));
  EXPECT_EQ(client->BoundsRect(), (TRect{0, 0, 250, 280}));
  f->SetClientSize(400, 300);
  EXPECT_FALSE(bottom->Visible());
  EXPECT_EQ(client->BoundsRect(), (TRect{0, 0, 400, 300}));
}

TEST_F(WindowTest, MaximizeAndRestoreUseTheWorkArea) {
  TForm* f = MakeForm({100, 100, 500, 400});
  SendMessage(f, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(IsZoomed(f));
  EXPECT_EQ(f->BoundsRect(), (TRect{0, 0, 1920, 1040}));
  EXPECT_EQ(f->WindowState(), wsMaximized);
  SendMessage(f, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(f->BoundsRect(), (TRect{100, 100, 500, 400}));
  SendMessage(f, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(f));
  EXPECT_FALSE(static_cast<THeadlessWindow*>(f->WindowData()->platform.get())->Visible());
  ShowWindow(f, SW_RESTORE);
  EXPECT_FALSE(IsIconic(f));
  EXPECT_EQ(f->BoundsRect(), (TRect{100, 100, 500, 400}));
}

TEST_F(WindowTest, ReleasedFormIsDeletedAfterTheMessage) {
  TForm* f = MakeForm({100, 100, 500, 400});
  bool destroyed = false;
  f->OnDestroy = [&](TObject*) { destroyed = true; };
  auto* b = new TButton(f);
  b->SetParent(f);
  b->SetBounds(10, 10, 75, 25);
  b->OnClick = [&](TObject*) { f->Release(); };
  Pump();
  Click(b->ClientToScreen({5, 5}));
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Screen->FormCount(), 0);
}

}  // namespace
}  // namespace qz::testing
