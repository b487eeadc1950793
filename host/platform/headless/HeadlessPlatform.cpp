#include "host/platform/headless/HeadlessPlatform.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "host/base/Exception.h"
#include "host/base/Messages.h"
#include "host/base/Threads.h"
#include "host/platform/Stacking.h"

#if __has_include("host/graphics/PngWriter.h")
#include "host/graphics/PixmapScale.h"
#include "host/graphics/PngWriter.h"
#define QZ_HEADLESS_HAVE_PNG_WRITER 1
#endif

namespace qz {

namespace {

uint32_t ButtonBit(TMouseButtonId button) { return 1u << static_cast<int>(button); }

uint32_t ModifierOfKey(int vk) {
  switch (vk) {
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: return kModShift;
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: return kModCtrl;
    case VK_MENU: case VK_LMENU: case VK_RMENU: return kModAlt;
    case VK_LWIN: case VK_RWIN: return kModSuper;
    default: return 0;
  }
}

// v / 255 rounded to the nearest integer (v / 255 is never exactly halfway).
inline uint32_t Div255(uint32_t v) { return (2 * v + 255) / 510; }

// Premultiplied OVER of src, scaled by the window opacity, onto dst.
inline uint32_t BlendOver(uint32_t dst, uint32_t src, uint32_t opacity) {
  const uint32_t srcAlpha = Div255((src >> 24) * opacity);
  if (srcAlpha == 255 && opacity == 255) return src;
  const uint32_t inverse = 255 - srcAlpha;
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t s = Div255(((src >> shift) & 0xFF) * opacity);
    const uint32_t d = Div255(((dst >> shift) & 0xFF) * inverse);
    out |= std::min<uint32_t>(s + d, 255) << shift;
  }
  const uint32_t a = std::min<uint32_t>(srcAlpha + Div255((dst >> 24) * inverse), 255);
  return out | (a << 24);
}

}  // namespace

// ---------------------------------------------------------------------------
// THeadlessWindow

THeadlessWindow::THeadlessWindow(THeadlessPlatform* platform, const TPlatformWindowDesc& desc)
    : platform_(platform),
      kind_(desc.kind),
      bounds_(desc.bounds),
      topmost_(desc.topmost),
      title_(desc.title) {
  ResizeContents(bounds_.Width(), bounds_.Height());
}

THeadlessWindow::~THeadlessWindow() {
  if (platform_) platform_->Unregister(this);
}

void THeadlessWindow::ResizeContents(int width, int height) {
  if (!blank_) contents_.ResizeKeeping(width, height, 0xFF000000);
}

const TPixmap& THeadlessWindow::Shown() const {
  if (blank_) {
    contents_.Resize(bounds_.Width(), bounds_.Height(), 0xFF000000);
    blank_ = false;
  }
  return contents_;
}

void THeadlessWindow::SetBounds(const TRect& screenBounds) {
  bounds_ = screenBounds;
  ResizeContents(bounds_.Width(), bounds_.Height());
}

void THeadlessWindow::SetVisible(bool visible, bool activate) {
  if (visible && !visible_) {
    visible_ = true;
    if (platform_) platform_->RaiseToTop(this);
  } else if (!visible && visible_) {
    visible_ = false;
    if (platform_ && platform_->focus_ == this) platform_->SetFocus(nullptr);
  }
  if (visible && activate) Activate();
}

void THeadlessWindow::SetShape(const TRegion* shape) {
  if (shape)
    shape_ = *shape;
  else
    shape_.reset();
}

void THeadlessWindow::SetTopmost(bool topmost) {
  topmost_ = topmost;
  if (platform_) platform_->Restack();
}

void THeadlessWindow::SetOwner(IPlatformWindow* owner) {
  auto* headlessOwner = dynamic_cast<THeadlessWindow*>(owner);
  for (auto* w = headlessOwner; w; w = w->owner_)
    if (w == this) throw EInvalidOperation("headless platform: a window cannot own itself");
  owner_ = headlessOwner;
  if (platform_) platform_->Restack();
}

void THeadlessWindow::Raise() {
  if (platform_) platform_->RaiseToTop(this);
}

void THeadlessWindow::Activate() {
  if (kind_ != TPlatformWindowKind::Normal || !platform_) return;
  platform_->RaiseToTop(this);
  if (visible_) platform_->SetFocus(this);
}

void THeadlessWindow::Present(const TPixmap& backBuffer, const TRegion& dirty) {
  if (blank_) {
    const TRect whole{0, 0, bounds_.Width(), bounds_.Height()};
    const bool covered = dirty.Intersect(TRegion(Intersection(backBuffer.Bounds(), whole))) == TRegion(whole);
    if (covered) {
      contents_.ResizeUninitialized(whole.Width(), whole.Height());
      blank_ = false;
    }
  }
  Shown();
  if (layered_) {
    // Leaving per-pixel alpha: what was not presented now stays as it was,
    // made opaque.
    for (int y = 0; y < contents_.Height(); ++y)
      for (uint32_t* p = contents_.Row(y), *e = p + contents_.Width(); p != e; ++p) *p |= 0xFF000000;
    layered_ = false;
  }
  const TRegion area = dirty.Intersect(TRegion(Intersection(backBuffer.Bounds(), contents_.Bounds())));
  for (const TRect& r : area.Rects())
    for (int y = r.Top; y < r.Bottom; ++y)
      std::copy(backBuffer.Row(y) + r.Left, backBuffer.Row(y) + r.Right, contents_.Row(y) + r.Left);
  lastDirty_ = area;
  ++presentCount_;
}

void THeadlessWindow::PresentLayered(const TPixmap& premultiplied) {
  layered_ = true;
  blank_ = false;
  // Filled first only where the picture leaves the window uncovered.
  const bool covers =
      premultiplied.Width() >= bounds_.Width() && premultiplied.Height() >= bounds_.Height();
  if (covers)
    contents_.ResizeUninitialized(bounds_.Width(), bounds_.Height());
  else
    contents_.Resize(bounds_.Width(), bounds_.Height(), 0);
  const int w = std::min(contents_.Width(), premultiplied.Width());
  const int h = std::min(contents_.Height(), premultiplied.Height());
  for (int y = 0; y < h; ++y) std::copy_n(premultiplied.Row(y), w, contents_.Row(y));
  lastDirty_ = TRegion(contents_.Bounds());
  ++presentCount_;
}

bool THeadlessWindow::HitTest(TPoint screen) const {
  if (!visible_ || !bounds_.Contains(screen)) return false;
  const TPoint local = screen - bounds_.TopLeft();
  if (shape_ && !shape_->Contains(local)) return false;
  if (layered_ && Shown().Bounds().Contains(local) && PixelAlpha(contents_.At(local.X, local.Y)) == 0)
    return false;
  return true;
}

// ---------------------------------------------------------------------------
// THeadlessPlatform: windows and stacking

THeadlessPlatform::THeadlessPlatform(THeadlessOptions options)
    : options_(std::move(options)), clockMs_(options_.startTimeMs),
      wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  const TRect screen = ScreenRect();
  injectPos_ = cursorPos_ = {screen.Left + screen.Width() / 2, screen.Top + screen.Height() / 2};
}

THeadlessPlatform::~THeadlessPlatform() {
  // Windows may outlive the platform (a test replacing it); they keep working
  // on their own from now on.
  for (auto* w : stack_) w->platform_ = nullptr;
  if (wakeFd_ >= 0) close(wakeFd_);
  for (auto* icon : trayIcons_) icon->platform_ = nullptr;
}

std::unique_ptr<IPlatformWindow> THeadlessPlatform::CreateWindow(const TPlatformWindowDesc& desc) {
  auto window = std::make_unique<THeadlessWindow>(this, desc);
  stack_.push_back(window.get());
  Restack();
  return window;
}

void THeadlessPlatform::Unregister(THeadlessWindow* window) {
  std::erase(stack_, window);
  for (auto* w : stack_)
    if (w->owner_ == window) w->owner_ = nullptr;
  if (focus_ == window) focus_ = nullptr;
  if (capture_ == window) capture_ = nullptr;
  PurgeEventsFor(window);
  Restack();
}

void THeadlessPlatform::RaiseToTop(THeadlessWindow* window) {
  std::erase(stack_, window);
  stack_.push_back(window);
  Restack();
}

void THeadlessPlatform::Restack() {
  ApplyStackingRules(
      stack_, [](const THeadlessWindow* w) { return StackingLayer(w->kind_, w->topmost_); },
      [](const THeadlessWindow* w) -> const THeadlessWindow* { return w->owner_; });
}

THeadlessWindow* THeadlessPlatform::WindowAt(TPoint screen) const {
  for (auto it = stack_.rbegin(); it != stack_.rend(); ++it)
    if ((*it)->HitTest(screen)) return *it;
  return nullptr;
}

TCursorShape THeadlessPlatform::CurrentCursorShape() const {
  if (capture_) return capture_->cursorShape_;
  if (auto* w = WindowAt(cursorPos_)) return w->cursorShape_;
  return TCursorShape::Arrow;
}

// ---------------------------------------------------------------------------
// Focus, capture, pointer

void THeadlessPlatform::SetFocus(THeadlessWindow* window, bool afterCurrentEvent) {
  if (window == focus_) return;
  std::vector<TPlatformEvent> events;
  if (focus_) events.push_back(MakeEvent(TPlatformEventKind::FocusOut, focus_));
  if (window) events.push_back(MakeEvent(TPlatformEventKind::FocusIn, window));
  focus_ = window;
  if (afterCurrentEvent) {
    EnqueueFront(std::move(events));
  } else {
    for (auto& e : events) Enqueue(std::move(e), false);
  }
}

void THeadlessPlatform::SetCapture(IPlatformWindow* window) {
  capture_ = dynamic_cast<THeadlessWindow*>(window);
}

void THeadlessPlatform::SetCursorPos(TPoint screen) {
  cursorPos_ = injectPos_ = screen;
}

bool THeadlessPlatform::MouseButtonDown(TMouseButtonId button) {
  return (buttons_ & ButtonBit(button)) != 0;
}

// ---------------------------------------------------------------------------
// Event queue

void THeadlessPlatform::Enqueue(TPlatformEvent event, bool route) {
  std::lock_guard lock(queueMutex_);
  queue_.push_back({std::move(event), route});
}

void THeadlessPlatform::EnqueueFront(std::vector<TPlatformEvent> events) {
  std::lock_guard lock(queueMutex_);
  for (auto it = events.rbegin(); it != events.rend(); ++it) queue_.push_front({std::move(*it), false});
}

bool THeadlessPlatform::PopEvent(TQueuedEvent& queued) {
  std::lock_guard lock(queueMutex_);
  if (queue_.empty()) return false;
  queued = std::move(queue_.front());
  queue_.pop_front();
  return true;
}

void THeadlessPlatform::PurgeEventsFor(const THeadlessWindow* window) {
  std::lock_guard lock(queueMutex_);
  std::erase_if(queue_, [&](const TQueuedEvent& q) { return q.event.window == window; });
}

size_t THeadlessPlatform::PendingEventCount() const {
  std::lock_guard lock(queueMutex_);
  return queue_.size();
}

// One queued Wakeup stands for any number of them: workers posting a burst
// of calls do not fill the queue.
void THeadlessPlatform::PostWakeup() {
  {
    std::lock_guard lock(queueMutex_);
    const bool queued = std::any_of(queue_.begin(), queue_.end(), [](const TQueuedEvent& q) {
      return q.event.kind == TPlatformEventKind::Wakeup;
    });
    if (!queued) {
      TPlatformEvent e;
      e.kind = TPlatformEventKind::Wakeup;
      queue_.push_back({std::move(e), false});
    }
  }
  if (wakeFd_ >= 0) {
    const uint64_t one = 1;
    while (write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
  }
}

// An endless wait with worker threads running blocks (in real time) until
// one of them wakes the loop (a posted call, a thread that ended).
bool THeadlessPlatform::WaitForWorkers() {
  if (wakeFd_ < 0) return false;
  for (;;) {
    uint64_t value;
    while (read(wakeFd_, &value, sizeof value) > 0) {
    }
    if (PendingEventCount() > 0) return true;
    if (TThread::RunningCount() == 0 && !SynchronizePending()) return false;
    pollfd p{wakeFd_, POLLIN, 0};
    while (poll(&p, 1, -1) < 0 && errno == EINTR) {
    }
  }
}

// Brings the delivered-input state up to this event and picks its window.
void THeadlessPlatform::Deliver(TQueuedEvent& queued) {
  TPlatformEvent& e = queued.event;
  switch (e.kind) {
    case TPlatformEventKind::MouseMove:
    case TPlatformEventKind::MouseDown:
    case TPlatformEventKind::MouseUp:
    case TPlatformEventKind::MouseWheel: {
      cursorPos_ = e.screenPos;
      modifiers_ = e.modifiers;
      if (e.kind == TPlatformEventKind::MouseDown) buttons_ |= ButtonBit(e.button);
      if (e.kind == TPlatformEventKind::MouseUp) buttons_ &= ~ButtonBit(e.button);
      if (!queued.route) break;
      THeadlessWindow* under = WindowAt(e.screenPos);
      e.window = capture_ ? capture_ : under;
      // A press into a normal window focuses it, unless the pointer is captured.
      if (e.kind == TPlatformEventKind::MouseDown && !capture_ && under &&
          under->kind_ == TPlatformWindowKind::Normal)
        SetFocus(under, true);
      break;
    }
    case TPlatformEventKind::KeyDown:
    case TPlatformEventKind::KeyUp:
    case TPlatformEventKind::Text:
      modifiers_ = e.modifiers;
      if (queued.route) e.window = focus_;
      break;
    case TPlatformEventKind::Tray:
      if (e.trayInput.kind != TTrayInput::Kind::HostChanged) cursorPos_ = e.trayInput.screenPos;
      break;
    default:
      break;
  }
}

bool THeadlessPlatform::WaitEvent(TPlatformEvent& event, int timeoutMs) {
  const uint64_t deadline = timeoutMs >= 0 ? clockMs_ + static_cast<uint64_t>(timeoutMs) : 0;
  for (;;) {
    TQueuedEvent queued;
    if (PopEvent(queued)) {
      Deliver(queued);
      event = std::move(queued.event);
      return true;
    }
    if (!idleHandler_ || !idleHandler_()) break;
    // The idle work may have let the wait's time pass.
    if (timeoutMs >= 0 && clockMs_ >= deadline && PendingEventCount() == 0) return false;
  }
  if (timeoutMs < 0 && WaitForWorkers()) return WaitEvent(event, timeoutMs);
  if (timeoutMs < 0) throw Exception("headless platform: waiting for input that was never injected");
  clockMs_ = std::max(clockMs_, deadline);
  return false;
}

// ---------------------------------------------------------------------------
// Input injection

TPlatformEvent THeadlessPlatform::MakeEvent(TPlatformEventKind kind, THeadlessWindow* window) const {
  TPlatformEvent e;
  e.kind = kind;
  e.window = window;
  e.screenPos = injectPos_;
  e.modifiers = injectModifiers_;
  e.timeMs = clockMs_;
  return e;
}

TPlatformEvent THeadlessPlatform::MakePointerEvent(TPlatformEventKind kind, TPoint screen) const {
  TPlatformEvent e = MakeEvent(kind);
  e.screenPos = screen;
  return e;
}

void THeadlessPlatform::InjectMouseMove(TPoint screen) {
  if (const uint32_t hovered = std::exchange(trayHover_, 0)) {
    TPlatformEvent e = MakeEvent(TPlatformEventKind::Tray);
    e.trayId = hovered;
    e.screenPos = screen;
    e.trayInput.kind = TTrayInput::Kind::MouseLeave;
    e.trayInput.screenPos = screen;
    Enqueue(e, false);
  }
  injectPos_ = screen;
  Enqueue(MakePointerEvent(TPlatformEventKind::MouseMove, screen), true);
}

void THeadlessPlatform::InjectMouseDown(TMouseButtonId button, std::optional<TPoint> screen) {
  if (screen && *screen != injectPos_) InjectMouseMove(*screen);
  auto e = MakePointerEvent(TPlatformEventKind::MouseDown, injectPos_);
  e.button = button;
  Enqueue(std::move(e), true);
}

void THeadlessPlatform::InjectMouseUp(TMouseButtonId button, std::optional<TPoint> screen) {
  if (screen && *screen != injectPos_) InjectMouseMove(*screen);
  auto e = MakePointerEvent(TPlatformEventKind::MouseUp, injectPos_);
  e.button = button;
  Enqueue(std::move(e), true);
}

void THeadlessPlatform::InjectClick(TPoint screen, TMouseButtonId button) {
  InjectMouseMove(screen);
  InjectMouseDown(button);
  InjectMouseUp(button);
}

void THeadlessPlatform::InjectWheel(int delta) {
  auto e = MakePointerEvent(TPlatformEventKind::MouseWheel, injectPos_);
  e.wheelDelta = delta;
  Enqueue(std::move(e), true);
}

void THeadlessPlatform::InjectKeyDown(int vk, uint32_t modifiers, bool repeat) {
  injectModifiers_ |= ModifierOfKey(vk);
  TPlatformEvent e = MakeEvent(TPlatformEventKind::KeyDown);
  e.key = vk;
  e.modifiers |= modifiers;
  e.repeat = repeat;
  Enqueue(std::move(e), true);
}

void THeadlessPlatform::InjectKeyUp(int vk, uint32_t modifiers) {
  injectModifiers_ &= ~ModifierOfKey(vk);
  TPlatformEvent e = MakeEvent(TPlatformEventKind::KeyUp);
  e.key = vk;
  e.modifiers |= modifiers;
  Enqueue(std::move(e), true);
}

void THeadlessPlatform::InjectKey(int vk, uint32_t modifiers) {
  InjectKeyDown(vk, modifiers);
  InjectKeyUp(vk, modifiers);
}

void THeadlessPlatform::InjectText(const std::string& utf8) {
  if (utf8.empty()) return;
  TPlatformEvent e = MakeEvent(TPlatformEventKind::Text);
  e.text = utf8;
  Enqueue(std::move(e), true);
}

void THeadlessPlatform::InjectEvent(const TPlatformEvent& event) { Enqueue(event, false); }

void THeadlessPlatform::InjectWindowManagerBounds(THeadlessWindow* window, const TRect& bounds) {
  const TRect old = window->Bounds();
  window->SetBounds(bounds);
  auto notify = [&](TPlatformEventKind kind) {
    TPlatformEvent e = MakeEvent(kind, window);
    e.newBounds = bounds;
    Enqueue(std::move(e), false);
  };
  if (old.TopLeft() != bounds.TopLeft()) notify(TPlatformEventKind::Moved);
  if (old.Size() != bounds.Size()) notify(TPlatformEventKind::Resized);
}

// ---------------------------------------------------------------------------
// Screen composition

TRect THeadlessPlatform::ScreenRect() const {
  TRect screen;
  for (const auto& m : options_.monitors) screen = UnionRect(screen, m.bounds);
  return screen;
}

TPixmap THeadlessPlatform::ComposeScreen() const {
  const TRect screen = ScreenRect();
  TPixmap out(screen.Width(), screen.Height(), options_.desktopColor | 0xFF000000);
  ComposeTray(out);
  for (const THeadlessWindow* w : stack_) {
    if (!w->visible_ || w->bounds_.IsEmpty()) continue;
    TRegion area(w->bounds_);
    if (w->shape_) {
      TRegion shape = *w->shape_;
      shape.Offset(w->bounds_.Left, w->bounds_.Top);
      area = area.Intersect(shape);
    }
    area = area.Intersect(TRegion(screen));
    const uint32_t opaque = w->layered_ ? 0 : 0xFF000000;
    for (const TRect& r : area.Rects()) {
      for (int y = r.Top; y < r.Bottom; ++y) {
        const uint32_t* src = w->Shown().Row(y - w->bounds_.Top) + (r.Left - w->bounds_.Left);
        uint32_t* dst = out.Row(y - screen.Top) + (r.Left - screen.Left);
        for (int x = r.Left; x < r.Right; ++x, ++src, ++dst) *dst = BlendOver(*dst, *src | opaque, w->opacity_);
      }
    }
  }
  return out;
}

void THeadlessPlatform::SaveScreenPng(const std::string& path) const {
#ifdef QZ_HEADLESS_HAVE_PNG_WRITER
  SavePng(ComposeScreen(), path);
#else
  throw EWriteError("headless platform: no PNG writer built in; cannot write " + path);
#endif
}

// ---------------------------------------------------------------------------
// Tray

namespace {
constexpr int kTrayCell = 32;   // one icon's place in the panel
constexpr int kTrayIcon = 24;   // the picture drawn there
constexpr uint32_t kTrayPanel = 0xFF20252C;

// Straight-alpha src over an opaque dst.
uint32_t BlendStraight(uint32_t dst, uint32_t src) {
  const uint32_t a = src >> 24;
  uint32_t out = 0xFF000000;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
    out |= Div255(s * a + d * (255 - a)) << shift;
  }
  return out;
}
}  // namespace

THeadlessTrayIcon::THeadlessTrayIcon(THeadlessPlatform* platform, TTrayListener listener)
    : platform_(platform), id_(platform->trayListeners_.Add(std::move(listener))) {}

THeadlessTrayIcon::~THeadlessTrayIcon() {
  if (!platform_) return;
  platform_->trayListeners_.Remove(id_);
  std::erase(platform_->trayIcons_, this);
}

void THeadlessTrayIcon::SetIcon(const TPixmap& icon) {
  icon_ = icon;
  ++iconChanges_;
}

TRect THeadlessTrayIcon::ScreenRect() const { return platform_ ? platform_->TrayIconRect(*this) : TRect{}; }

bool THeadlessTrayIcon::Embedded() const { return visible_ && platform_ && platform_->options_.trayHost; }

std::unique_ptr<IPlatformTrayIcon> THeadlessPlatform::CreateTrayIcon(TTrayListener listener) {
  auto icon = std::make_unique<THeadlessTrayIcon>(this, std::move(listener));
  trayIcons_.push_back(icon.get());
  return icon;
}

void THeadlessPlatform::SetTrayHost(bool present) {
  if (options_.trayHost == present) return;
  options_.trayHost = present;
  for (const THeadlessTrayIcon* icon : trayIcons_) {
    if (!icon->visible_) continue;
    TPlatformEvent e = MakeEvent(TPlatformEventKind::Tray);
    e.trayId = icon->id_;
    e.trayInput.kind = TTrayInput::Kind::HostChanged;
    Enqueue(e, false);
  }
}

TRect THeadlessPlatform::TrayIconRect(const THeadlessTrayIcon& icon) const {
  if (!icon.Embedded() || options_.monitors.empty()) return {};
  const TMonitorInfo* monitor = &options_.monitors.front();
  for (const TMonitorInfo& m : options_.monitors)
    if (m.primary) monitor = &m;
  int right = monitor->bounds.Right - 4;
  for (auto it = trayIcons_.rbegin(); it != trayIcons_.rend(); ++it) {
    if (!(*it)->Embedded()) continue;
    if (*it == &icon) break;
    right -= kTrayCell;
  }
  const int panelTop = std::min(monitor->workArea.Bottom, monitor->bounds.Bottom - kTrayCell);
  const int top = panelTop + (monitor->bounds.Bottom - panelTop - kTrayCell) / 2;
  return {right - kTrayCell, top, right, top + kTrayCell};
}

void THeadlessPlatform::ComposeTray(TPixmap& out) const {
  const TRect screen = ScreenRect();
  bool any = false;
  for (const THeadlessTrayIcon* icon : trayIcons_) {
    const TRect cell = TrayIconRect(*icon);
    if (cell.IsEmpty()) continue;
    if (!any) {
      // The panel: the strip of the primary monitor below its work area.
      TRect panel{screen.Left, cell.Top, screen.Right, screen.Bottom};
      for (const TMonitorInfo& m : options_.monitors)
        if (m.primary) panel = {m.bounds.Left, std::min(m.workArea.Bottom, cell.Top), m.bounds.Right, m.bounds.Bottom};
      for (int y = std::max(panel.Top, screen.Top); y < std::min(panel.Bottom, screen.Bottom); ++y)
        for (int x = std::max(panel.Left, screen.Left); x < std::min(panel.Right, screen.Right); ++x)
          out.At(x - screen.Left, y - screen.Top) = kTrayPanel;
      any = true;
    }
    if (icon->icon_.Empty()) continue;
    // Smoothly resized, as a desktop's tray draws an icon of another size.
    const TPixmap pic = ResamplePixmap(icon->icon_, kTrayIcon, kTrayIcon);
    const int left = cell.Left + (kTrayCell - kTrayIcon) / 2, top = cell.Top + (kTrayCell - kTrayIcon) / 2;
    for (int y = 0; y < kTrayIcon; ++y) {
      const int py = top + y - screen.Top;
      if (py < 0 || py >= out.Height()) continue;
      for (int x = 0; x < kTrayIcon; ++x) {
        const int px = left + x - screen.Left;
        if (px < 0 || px >= out.Width()) continue;
        out.At(px, py) = BlendStraight(out.At(px, py), pic.At(x, y));
      }
    }
  }
}

void THeadlessPlatform::InjectTrayInput(const THeadlessTrayIcon& icon, TTrayInput input) {
  if (input.kind == TTrayInput::Kind::MouseMove) trayHover_ = icon.id_;
  if (input.kind == TTrayInput::Kind::MouseLeave && trayHover_ == icon.id_) trayHover_ = 0;
  TPlatformEvent e = MakeEvent(TPlatformEventKind::Tray);
  e.trayId = icon.id_;
  e.screenPos = input.screenPos;
  e.trayInput = input;
  Enqueue(e, false);
}

void THeadlessPlatform::InjectTrayClick(const THeadlessTrayIcon& icon, TMouseButtonId button) {
  const TRect r = TrayIconRect(icon);
  const TPoint at{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  injectPos_ = at;
  TTrayInput input;
  input.screenPos = at;
  input.button = static_cast<int>(button);
  input.kind = TTrayInput::Kind::MouseMove;
  InjectTrayInput(icon, input);
  input.kind = TTrayInput::Kind::MouseDown;
  input.doubleClick = trayClicks_.IsDoubleClick(input.button, at, clockMs_, options_.doubleClickTimeMs,
                                                options_.doubleClickTimeMs > 0 ? TSize{4, 4} : TSize{});
  InjectTrayInput(icon, input);
  input.kind = TTrayInput::Kind::MouseUp;
  input.doubleClick = false;
  InjectTrayInput(icon, input);
}

void THeadlessPlatform::InjectTrayHover(const THeadlessTrayIcon& icon) {
  const TRect r = TrayIconRect(icon);
  TTrayInput input;
  input.screenPos = {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  input.kind = TTrayInput::Kind::MouseMove;
  injectPos_ = input.screenPos;
  InjectTrayInput(icon, input);
}

void THeadlessPlatform::InjectTrayDoubleClick(const THeadlessTrayIcon& icon) {
  InjectTrayClick(icon);
  InjectTrayClick(icon);
}

}  // namespace qz
