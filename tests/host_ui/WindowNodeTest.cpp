// The window system on its own: windows that are window nodes but no
// controls get their mouse and key messages, keep the bounds, visibility,
// enabling and stacking the window API gives them, and a window that frees
// itself from its handler leaves the dispatch running.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/graphics/Font.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/WindowNode.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"

namespace qz::testing {
namespace {

struct TDelivery {
  std::string window;
  uint32_t msg = 0;
  TPoint client;
};

// A plain window: a name, a rectangle, children, and a log of what reached it.
class TPlainWindow : public TWindowNode {
 public:
  TPlainWindow(std::string name, TPlainWindow* parent, TRect bounds, uint32_t style,
               std::vector<TDelivery>& log)
      : name_(std::move(name)), parent_(parent), bounds_(bounds), log_(log) {
    if (parent_) parent_->children_.push_back(this);
    auto data = std::make_unique<TWindowData>();
    data->style = style & ~WS_VISIBLE;
    WindowSystem().AttachWindow(this, std::move(data));
    WindowSystem().RecalcClient(this);
    WindowData()->creating = false;
    if (style & WS_VISIBLE) ShowWindow(this, parent_ ? SW_SHOWNA : SW_SHOW);
  }
  ~TPlainWindow() override {
    WindowSystem().DetachWindow(this);
    wnd_.reset();
    if (parent_) std::erase(parent_->children_, this);
  }

  // Called with the message before it is logged; may delete the window.
  std::function<void(uint32_t msg)> onMessage;
  bool visible = true, enabled = true;

  TWindowNode* WindowParent() const override { return parent_; }
  std::vector<TWindowNode*> WindowChildren() const override {
    return {children_.begin(), children_.end()};
  }
  void RestackChild(TWindowNode* child, HWND after) override {
    auto* c = static_cast<TPlainWindow*>(child);
    std::erase(children_, c);
    if (after == HWND_BOTTOM) children_.insert(children_.begin(), c);
    else children_.push_back(c);
  }
  TRect WindowBounds() const override { return bounds_; }
  bool WindowShowing() const override { return visible && (!parent_ || parent_->WindowShowing()); }
  std::string WindowText() const override { return name_; }
  const TFont& WindowFont() const override { return font_; }
  void StoreWindowBounds(const TRect& bounds) override { bounds_ = bounds; }
  void StoreWindowVisible(bool v) override { visible = v; }
  void StoreWindowEnabled(bool v) override { enabled = v; }
  LRESULT WindowMessage(uint32_t msg, WPARAM w, LPARAM l) override {
    log_.push_back({name_, msg, {GET_X_LPARAM(l), GET_Y_LPARAM(l)}});
    const HWND self = this;
    // A copy: the handler may free the window, and with it onMessage.
    if (const auto handler = onMessage) handler(msg);
    return IsWindow(self) ? DefWindowProc(self, msg, w, l) : 0;
  }

 private:
  std::string name_;
  TPlainWindow* parent_;
  std::vector<TPlainWindow*> children_;
  TRect bounds_;
  TFont font_;
  std::vector<TDelivery>& log_;
};

class WindowNodeTest : public ::testing::Test {
 public:
  void SetUp() override {
    auto p = std::make_unique<THeadlessPlatform>();
    hp = p.get();
    TApplication::ResetForTesting(std::move(p));
    // A captionless top window at (100, 100): its client area starts there.
    top = std::make_unique<TPlainWindow>("top", nullptr, Bounds(100, 100, 300, 200), WS_POPUP | WS_VISIBLE, log);
    low = std::make_unique<TPlainWindow>("low", top.get(), Bounds(10, 10, 60, 40), WS_CHILD | WS_VISIBLE, log);
    high = std::make_unique<TPlainWindow>("high", top.get(), Bounds(50, 10, 60, 40), WS_CHILD | WS_VISIBLE, log);
    Pump();
  }
  void TearDown() override {
    high.reset();
    low.reset();
    top.reset();
    TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>());
  }
  void Pump() {
    for (int i = 0; i < 1000 && WindowSystem().ProcessMessage(); ++i) {
    }
  }
  // The first delivery of msg since the log was cleared (window "" when none).
  TDelivery First(uint32_t msg) const {
    auto it = std::find_if(log.begin(), log.end(), [msg](const TDelivery& d) { return d.msg == msg; });
    return it == log.end() ? TDelivery{} : *it;
  }

  THeadlessPlatform* hp = nullptr;
  std::vector<TDelivery> log;
  std::unique_ptr<TPlainWindow> top, low, high;
};

TEST_F(WindowNodeTest, RoutesInputByWhatTheWindowApiStoredInTheNodes) {
  struct TCase {
    const char* name;
    std::function<void(WindowNodeTest&)> prepare;
    TPoint click;            // screen
    const char* target;      // the window that gets WM_LBUTTONDOWN
    TPoint client;           // at this client point
  };
  const TCase cases[] = {
      {"a child gets the click in its client coordinates", {}, {115, 120}, "low", {5, 10}},
      {"where siblings overlap the upper one gets it", {}, {165, 120}, "high", {15, 10}},
      {"outside the children the parent gets it", {}, {300, 250}, "top", {200, 150}},
      {"a raised child comes above its sibling",
       [](WindowNodeTest& t) { SetWindowPos(t.low.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); },
       {165, 120}, "low", {55, 10}},
      {"a hidden child lets the click through",
       [](WindowNodeTest& t) {
         ShowWindow(t.high.get(), SW_HIDE);
         EXPECT_FALSE(t.high->visible);
       },
       {165, 120}, "low", {55, 10}},
      {"a disabled child's parent gets it",
       [](WindowNodeTest& t) {
         EnableWindow(t.low.get(), false);
         EXPECT_FALSE(t.low->enabled);
       },
       {115, 120}, "top", {15, 20}},
      {"a moved child is hit where it went",
       [](WindowNodeTest& t) {
         SetWindowPos(t.low.get(), nullptr, 200, 100, 60, 40, SWP_NOZORDER);
         EXPECT_EQ(t.low->WindowBounds(), Bounds(200, 100, 60, 40));
       },
       {310, 210}, "low", {10, 10}},
      {"a window that frees itself on WM_SETCURSOR leaves the click to the one below",
       [](WindowNodeTest& t) {
         t.high->onMessage = [&t](uint32_t msg) {
           if (msg == WM_SETCURSOR) t.high.reset();
         };
       },
       {165, 120}, "low", {55, 10}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.prepare) c.prepare(*this);
    Pump();
    log.clear();
    hp->InjectClick(c.click);
    Pump();
    const TDelivery down = First(WM_LBUTTONDOWN);
    EXPECT_EQ(down.window, c.target);
    EXPECT_EQ(down.client, c.client);
  }
  EXPECT_FALSE(high) << "the last case freed the window";
}

TEST_F(WindowNodeTest, KeysGoToTheFocusedNode) {
  log.clear();
  SetFocus(high.get());
  EXPECT_EQ(First(WM_SETFOCUS).window, "high");
  log.clear();
  hp->InjectKey('A');
  Pump();
  EXPECT_EQ(First(WM_KEYDOWN).window, "high");
}

}  // namespace
}  // namespace qz::testing
