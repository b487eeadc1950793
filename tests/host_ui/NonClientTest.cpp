// The default non-client model, activation messages and monitors.
#include "UiTestSupport.h"

namespace qz::testing {
namespace {

class NonClientTest : public UiTest {};

// A control whose window styles are given by the test.
class TStyled : public TCustomControl {
 public:
  TStyled(TComponent* owner, uint32_t style, uint32_t exStyle)
      : TCustomControl(owner), style_(style), exStyle_(exStyle) {}

 protected:
  void CreateParams(TCreateParams& p) override {
    TCustomControl::CreateParams(p);
    p.Style |= style_;
    p.ExStyle |= exStyle_;
  }
  uint32_t style_, exStyle_;
};

TEST_F(NonClientTest, ClientAreaByStyle) {
  TForm* f = MakeForm({0, 0, 600, 500});
  struct Case {
    uint32_t style, ex;
    TRect insets;  // left, top, right, bottom
  } cases[] = {
      {0, 0, {0, 0, 0, 0}},
      {WS_BORDER, 0, {1, 1, 1, 1}},
      {WS_THICKFRAME, 0, {3, 3, 3, 3}},
      {WS_CAPTION, 0, {3, 3 + kCaptionHeight, 3, 3}},
      {WS_CAPTION, WS_EX_TOOLWINDOW, {3, 3 + kToolCaptionHeight, 3, 3}},
      {0, WS_EX_CLIENTEDGE, {2, 2, 2, 2}},
      {WS_BORDER, WS_EX_CLIENTEDGE, {3, 3, 3, 3}},
  };
  for (const Case& c : cases) {
    auto* w = new TStyled(f, c.style, c.ex);
    w->SetParent(f);
    w->SetBounds(10, 10, 200, 100);
    TRect cr = w->ClientRect();
    EXPECT_EQ(cr, (TRect{0, 0, 200 - c.insets.Left - c.insets.Right, 100 - c.insets.Top - c.insets.Bottom}))
        << "style " << std::hex << c.style << " ex " << c.ex;
    TPoint origin = w->ClientOrigin() - TWindowSystem::WindowOrigin(w);
    EXPECT_EQ(origin, (TPoint{c.insets.Left, c.insets.Top}));
    delete w;
  }
}

TEST_F(NonClientTest, DefaultHitCodes) {
  TForm* f = MakeForm({100, 100, 500, 400});
  auto hit = [&](int x, int y) { return SendMessage(f, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  EXPECT_EQ(hit(100, 100), HTTOPLEFT);
  EXPECT_EQ(hit(499, 100), HTTOPRIGHT);
  EXPECT_EQ(hit(100, 399), HTBOTTOMLEFT);
  EXPECT_EQ(hit(100, 250), HTLEFT);
  EXPECT_EQ(hit(499, 250), HTRIGHT);
  EXPECT_EQ(hit(300, 100), HTTOP);
  EXPECT_EQ(hit(300, 399), HTBOTTOM);
  EXPECT_EQ(hit(300, 110), HTCAPTION);
  EXPECT_EQ(hit(300, 250), HTCLIENT);
  EXPECT_EQ(hit(99, 250), HTNOWHERE);
  // No sizing on a single border; the border itself answers HTBORDER.
  f->SetBorderStyle(bsSingle);
  EXPECT_EQ(hit(300, 100), HTBORDER);
  EXPECT_EQ(hit(300, 110), HTCAPTION);
  // A window region cuts the hit area too.
  SetWindowRgn(f, TRegion(Bounds(0, 0, 100, 100)), false);
  EXPECT_EQ(hit(300, 110), HTNOWHERE);
}

TEST_F(NonClientTest, ActivationMessagesInOrder) {
  TForm* a = MakeForm({100, 100, 400, 300}, bsSizeable, "A");
  TForm* b = MakeForm({500, 100, 800, 300}, bsSizeable, "B");
  std::vector<std::string> log;
  auto hook = [&log](TForm* f, const std::string& name) {
    auto old = f->WindowProc;
    f->WindowProc = [&log, name, old](TMessage& m) {
      if (m.Msg == WM_NCACTIVATE) log.push_back(name + ".nc" + std::to_string(m.WParam));
      if (m.Msg == WM_ACTIVATE) log.push_back(name + ".act" + std::to_string(LOWORD(m.WParam)));
      if (m.Msg == WM_MOUSEACTIVATE) log.push_back(name + ".mouseact");
      old(m);
    };
    return old;
  };
  auto oldA = hook(a, "A"), oldB = hook(b, "B");
  Click(a->ClientToScreen({20, 20}));
  EXPECT_EQ(log, (std::vector<std::string>{"A.mouseact", "B.nc0", "B.act0", "A.nc1", "A.act2"}));
  EXPECT_TRUE(a->Active());
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(Screen->ActiveForm(), a);
  // The raised window is now on top of the platform's stack.
  EXPECT_EQ(hp->Windows().back(), static_cast<THeadlessWindow*>(a->WindowData()->platform.get()));
  a->WindowProc = oldA;
  b->WindowProc = oldB;
}

TEST_F(NonClientTest, MonitorsAndMaximizeOnTheWindowsMonitor) {
  hp->SetMonitors({{Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040), true},
                   {Rect(1920, 0, 3200, 1024), Rect(1920, 30, 3200, 1024), false}});
  EXPECT_EQ(Screen->MonitorCount(), 2);
  EXPECT_EQ(Screen->DesktopRect(), (TRect{0, 0, 3200, 1080}));
  EXPECT_EQ(Screen->MonitorFromPoint({2000, 500}).WorkareaRect, (TRect{1920, 30, 3200, 1024}));
  EXPECT_EQ(Screen->MonitorFromPoint({5000, 500}).MonitorNum, 1);  // nearest
  EXPECT_EQ(::qz::MonitorFromPoint({5000, 500}, MONITOR_DEFAULTTONULL), 0);
  TForm* f = MakeForm({2100, 100, 2500, 400});
  TMonitorInfoRec mi;
  ASSERT_TRUE(GetMonitorInfo(::qz::MonitorFromWindow(f, MONITOR_DEFAULTTONEAREST), mi));
  EXPECT_EQ(mi.dwFlags, 0u);
  ShowWindow(f, SW_SHOWMAXIMIZED);
  EXPECT_EQ(f->BoundsRect(), (TRect{1920, 30, 3200, 1024}));
  TRect work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work, (TRect{0, 0, 1920, 1040}));
}

TEST_F(NonClientTest, ScreenListsFormsInCreationOrder) {
  TForm* a = MakeForm({0, 0, 100, 100}, bsSizeable, "A");
  TForm* b = MakeForm({0, 0, 100, 100}, bsSizeable, "B");
  ASSERT_EQ(Screen->FormCount(), 2);
  EXPECT_EQ(Screen->Forms(0), a);
  EXPECT_EQ(Screen->Forms(1), b);
  delete a;
  ASSERT_EQ(Screen->FormCount(), 1);
  EXPECT_EQ(Screen->Forms(0), b);
}

}  // namespace
}  // namespace qz::testing
