// The headless platform: native windows live in memory and a virtual screen
// composes them. Nothing is shown anywhere; tests drive it by injecting input
// and inspect it through the window list, the focus, the capture and the
// composed screen.
//
// Behaviour the window system can rely on:
// - Time is virtual. NowMs() moves only through AdvanceClock() or when a
//   WaitEvent with a timeout finds nothing to deliver (the wait "elapses").
//   The clock starts at THeadlessOptions::startTimeMs (not 0, so a first
//   click never looks like the double of an imagined click at time 0).
// - Injected input is queued with the clock value of its injection. Its
//   target window is chosen when WaitEvent delivers it, from the state at that
//   moment: the captured window, else the topmost visible window whose shape
//   holds the point (per-pixel alpha windows let the pointer through where
//   their alpha is 0), else none (event.window == nullptr). Key and text
//   events go to the focused window (nullptr when none).
// - CursorPos(), KeyModifiers() and MouseButtonDown() describe the input
//   delivered so far (like a key state kept in step with the message queue),
//   so an event being handled sees the pointer and buttons of that event even
//   when more input is already queued behind it. SetCursorPos() moves the
//   pointer at once and queues no event.
// - Focus: Activate() on a visible Normal window raises it and gives it the
//   focus; delivering a MouseDown over a visible Normal window gives it the
//   focus (without raising: the window system decides about raising). Popups
//   never take the focus. A change queues FocusOut for the old window and
//   FocusIn for the new one, delivered next. Hiding the focused window queues
//   its FocusOut and leaves no window focused; destroying it just clears the
//   focus. Showing a window raises it to the top of its layer.
// - Stacking, bottom to top: Normal, topmost Normal, Popup, topmost Popup; an
//   owned window is kept above its owner (and in its owner's layer at least).
// - Contents: Present copies the dirty rectangles of the back buffer;
//   PresentLayered replaces the contents with a premultiplied picture and
//   makes the window per-pixel alpha until the next Present. A fresh window
//   is opaque black. Resizing keeps the top-left contents.
// - Composition (ComposeScreen): the desktop colour, then every visible
//   window bottom to top, clipped to its shape, blended with premultiplied
//   OVER: out = src * o / 255 + dst * (255 - srcAlpha * o / 255) / 255, each
//   division rounded to nearest, where o is the window opacity and src an
//   opaque pixel for Present windows.
// - Tray: a tray host is there from the start (THeadlessOptions::trayHost)
//   and tests make it go and come back (SetTrayHost). An icon shown in it
//   sits in a panel along the bottom of the primary monitor, below its work
//   area, the newest on the left of the others; the panel is composed only
//   while an icon is in it. Clicks on an icon are injected (InjectTrayClick)
//   and arrive as Tray events; a second press within the double-click time
//   is marked as the second of a double click. The panel shows no tooltips
//   (the owner does); the pointer moving off an icon is its MouseLeave.
// - WaitEvent(-1) with nothing queued and no idle work throws Exception
//   instead of hanging, unless worker threads (host/base/Threads.h) run:
//   then it blocks until one of them posts a call or ends (PostWakeup); a WaitEvent(t >= 0) that times out advances the clock
//   by t and returns false.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/platform/Platform.h"

namespace qz {

class THeadlessPlatform;

struct THeadlessOptions {
  std::vector<TMonitorInfo> monitors{
      {Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040), true}};
  uint32_t desktopColor = 0xFF3A6EA5;  // opaque 0xAARRGGBB
  uint64_t startTimeMs = 100000;
  int doubleClickTimeMs = 500;
  bool perPixelAlpha = true;
  bool shapes = true;
  bool trayHost = true;
};

// An icon of the headless tray.
class THeadlessTrayIcon final : public IPlatformTrayIcon {
 public:
  THeadlessTrayIcon(THeadlessPlatform* platform, TTrayListener listener);
  ~THeadlessTrayIcon() override;
  THeadlessTrayIcon(const THeadlessTrayIcon&) = delete;
  THeadlessTrayIcon& operator=(const THeadlessTrayIcon&) = delete;

  void SetIcon(const TPixmap& icon) override;
  void SetToolTip(const std::string& text) override { toolTip_ = text; }
  void SetVisible(bool visible) override { visible_ = visible; }
  bool Visible() const override { return visible_; }
  bool Embedded() const override;
  std::string Protocol() const override { return Embedded() ? "headless" : ""; }
  TRect ScreenRect() const override;

  uint32_t Id() const { return id_; }
  const TPixmap& Icon() const { return icon_; }
  const std::string& ToolTip() const { return toolTip_; }
  // How often the picture was set.
  int IconChanges() const { return iconChanges_; }

 private:
  friend class THeadlessPlatform;
  THeadlessPlatform* platform_;  // null once the platform is gone
  uint32_t id_;
  TPixmap icon_;
  std::string toolTip_;
  bool visible_ = false;
  int iconChanges_ = 0;
};

class THeadlessWindow final : public IPlatformWindow {
 public:
  THeadlessWindow(THeadlessPlatform* platform, const TPlatformWindowDesc& desc);
  ~THeadlessWindow() override;
  THeadlessWindow(const THeadlessWindow&) = delete;
  THeadlessWindow& operator=(const THeadlessWindow&) = delete;

  // IPlatformWindow
  void SetBounds(const TRect& screenBounds) override;
  TRect Bounds() const override { return bounds_; }
  void SetVisible(bool visible, bool activate) override;
  bool Visible() const override { return visible_; }
  void SetTitle(const std::string& title) override { title_ = title; }
  void SetShape(const TRegion* shape) override;
  void SetOpacity(uint8_t alpha) override { opacity_ = alpha; }
  void SetTopmost(bool topmost) override;
  void SetOwner(IPlatformWindow* owner) override;
  void Raise() override;
  void Activate() override;
  void Present(const TPixmap& backBuffer, const TRegion& dirty) override;
  void PresentLayered(const TPixmap& premultiplied) override;
  void SetCursorShape(TCursorShape shape) override { cursorShape_ = shape; }

  // Inspection for tests.
  TPlatformWindowKind Kind() const { return kind_; }
  bool Topmost() const { return topmost_; }
  THeadlessWindow* Owner() const { return owner_; }
  const std::string& Title() const { return title_; }
  uint8_t Opacity() const { return opacity_; }
  // The shape in window coordinates; empty optional: rectangular.
  const std::optional<TRegion>& Shape() const { return shape_; }
  bool Layered() const { return layered_; }
  // What the window shows: the last presented pixels (premultiplied when
  // Layered()), the size of the window.
  const TPixmap& Contents() const { return Shown(); }
  TCursorShape CursorShape() const { return cursorShape_; }
  int PresentCount() const { return presentCount_; }
  // The dirty region of the last Present (window coordinates).
  const TRegion& LastPresentDirty() const { return lastDirty_; }
  // Whether the pointer at this screen point is over the window: visible,
  // inside bounds and shape, and not a fully transparent per-pixel alpha pixel.
  bool HitTest(TPoint screen) const;

 private:
  friend class THeadlessPlatform;
  void ResizeContents(int width, int height);
  // The contents, with the black of a window never presented written out.
  const TPixmap& Shown() const;

  THeadlessPlatform* platform_;  // null once the platform is gone
  TPlatformWindowKind kind_;
  TRect bounds_;
  bool topmost_;
  std::string title_;
  bool visible_ = false;
  uint8_t opacity_ = 255;
  std::optional<TRegion> shape_;
  THeadlessWindow* owner_ = nullptr;
  bool layered_ = false;
  // A window shows black until it is presented. While `blank_`, that black
  // (the size of the window) is not written: a first present covering the
  // whole window overwrites it anyway, so it is written only when something
  // reads the contents or a present leaves part of them.
  mutable TPixmap contents_;
  mutable bool blank_ = true;
  TCursorShape cursorShape_ = TCursorShape::Arrow;
  int presentCount_ = 0;
  TRegion lastDirty_;
};

class THeadlessPlatform final : public IPlatform {
 public:
  explicit THeadlessPlatform(THeadlessOptions options = {});
  ~THeadlessPlatform() override;
  THeadlessPlatform(const THeadlessPlatform&) = delete;
  THeadlessPlatform& operator=(const THeadlessPlatform&) = delete;

  // IPlatform
  const char* Name() const override { return "headless"; }
  std::unique_ptr<IPlatformWindow> CreateWindow(const TPlatformWindowDesc& desc) override;
  bool WaitEvent(TPlatformEvent& event, int timeoutMs) override;
  void PostWakeup() override;
  uint64_t NowMs() override { return clockMs_; }
  std::vector<TMonitorInfo> Monitors() override { return options_.monitors; }
  TPoint CursorPos() override { return cursorPos_; }
  void SetCursorPos(TPoint screen) override;
  void SetCapture(IPlatformWindow* window) override;
  uint32_t KeyModifiers() override { return modifiers_; }
  bool MouseButtonDown(TMouseButtonId button) override;
  int DoubleClickTimeMs() override { return options_.doubleClickTimeMs; }
  bool SupportsPerPixelAlpha() override { return options_.perPixelAlpha; }
  bool SupportsShapes() override { return options_.shapes; }
  std::string ClipboardText() override { return clipboard_; }
  void SetClipboardText(const std::string& text) override { clipboard_ = text; }
  std::unique_ptr<IPlatformTrayIcon> CreateTrayIcon(TTrayListener listener) override;
  void DeliverTrayEvent(const TPlatformEvent& event) override { trayListeners_.Deliver(event.trayId, event.trayInput); }

  // ---- Test API: the tray.
  // The tray goes away or comes back: every shown icon whose Embedded()
  // changes gets a HostChanged event.
  void SetTrayHost(bool present);
  bool TrayHost() const { return options_.trayHost; }
  // Live icons, oldest first (hidden ones included).
  std::vector<THeadlessTrayIcon*> TrayIcons() const { return trayIcons_; }
  // Where an embedded icon sits on the screen (empty when it is not shown).
  TRect TrayIconRect(const THeadlessTrayIcon& icon) const;
  // Move over the icon, press and release (the second of two within the
  // double-click time is a double click); input as given.
  void InjectTrayClick(const THeadlessTrayIcon& icon, TMouseButtonId button = TMouseButtonId::Left);
  void InjectTrayDoubleClick(const THeadlessTrayIcon& icon);
  void InjectTrayInput(const THeadlessTrayIcon& icon, TTrayInput input);
  // The pointer comes to rest over the icon (a MouseMove there). The next
  // pointer move elsewhere (InjectMouseMove) is the icon's MouseLeave.
  void InjectTrayHover(const THeadlessTrayIcon& icon);

  // ---- Test API: input. Positions are screen coordinates; a mouse call
  // without a position uses the position of the last injected pointer event.
  void InjectMouseMove(TPoint screen);
  void InjectMouseDown(TMouseButtonId button = TMouseButtonId::Left,
                       std::optional<TPoint> screen = std::nullopt);
  void InjectMouseUp(TMouseButtonId button = TMouseButtonId::Left,
                     std::optional<TPoint> screen = std::nullopt);
  // Move there, press and release.
  void InjectClick(TPoint screen, TMouseButtonId button = TMouseButtonId::Left);
  void InjectWheel(int delta);  // 120 per notch, positive = away from the user
  // Modifier keys (VK_SHIFT/CONTROL/MENU/LWIN and their left/right forms)
  // pressed with InjectKeyDown stay held for later events until released.
  void InjectKeyDown(int vk, uint32_t modifiers = 0, bool repeat = false);
  void InjectKeyUp(int vk, uint32_t modifiers = 0);
  void InjectKey(int vk, uint32_t modifiers = 0);  // KeyDown + KeyUp
  void InjectText(const std::string& utf8);
  // Any event as given (CloseRequest, Expose, ...); its window is kept.
  void InjectEvent(const TPlatformEvent& event);
  // A window manager moved or resized the window: the bounds change at once
  // and a Moved and/or Resized event is queued.
  void InjectWindowManagerBounds(THeadlessWindow* window, const TRect& bounds);

  // ---- Test API: time and idling.
  void AdvanceClock(uint64_t ms) { clockMs_ += ms; }
  // Called when WaitEvent finds the queue empty: returns true when it did
  // something (injected input, advanced the clock), false when it has no more.
  void SetIdleHandler(std::function<bool()> handler) { idleHandler_ = std::move(handler); }
  size_t PendingEventCount() const;

  // ---- Test API: inspection.
  // Live windows, bottom to top (hidden ones included).
  std::vector<THeadlessWindow*> Windows() const { return stack_; }
  THeadlessWindow* FocusedWindow() const { return focus_; }
  THeadlessWindow* CaptureWindow() const { return capture_; }
  // The visible window that would get a pointer event at this point now.
  THeadlessWindow* WindowAt(TPoint screen) const;
  // The cursor shape of the window under the pointer (or the captured one).
  TCursorShape CurrentCursorShape() const;
  // The virtual screen: the bounding rectangle of all monitors.
  TRect ScreenRect() const;
  void SetMonitors(std::vector<TMonitorInfo> monitors) { options_.monitors = std::move(monitors); }
  // Whether SupportsPerPixelAlpha answers true (a display without a compositor).
  void SetPerPixelAlpha(bool supported) { options_.perPixelAlpha = supported; }
  void SetDesktopColor(uint32_t argb) { options_.desktopColor = argb; }
  // The composed screen; pixel (0, 0) is ScreenRect().TopLeft().
  TPixmap ComposeScreen() const;
  // Writes ComposeScreen() as PNG; throws EWriteError when it cannot.
  void SaveScreenPng(const std::string& path) const;

 private:
  friend class THeadlessWindow;
  friend class THeadlessTrayIcon;
  struct TQueuedEvent {
    TPlatformEvent event;
    bool route = false;  // choose the target window when delivered
  };

  void Unregister(THeadlessWindow* window);
  void RaiseToTop(THeadlessWindow* window);
  void Restack();
  // Focus events go behind the queued input, or right after the event being
  // delivered when that event moved the focus.
  void SetFocus(THeadlessWindow* window, bool afterCurrentEvent = false);
  void Enqueue(TPlatformEvent event, bool route);
  void EnqueueFront(std::vector<TPlatformEvent> events);
  bool PopEvent(TQueuedEvent& queued);
  void Deliver(TQueuedEvent& queued);
  void PurgeEventsFor(const THeadlessWindow* window);
  bool WaitForWorkers();
  TPlatformEvent MakeEvent(TPlatformEventKind kind, THeadlessWindow* window = nullptr) const;
  TPlatformEvent MakePointerEvent(TPlatformEventKind kind, TPoint screen) const;

  THeadlessOptions options_;
  uint64_t clockMs_;
  std::vector<THeadlessWindow*> stack_;  // bottom to top
  THeadlessWindow* focus_ = nullptr;
  THeadlessWindow* capture_ = nullptr;
  std::string clipboard_;

  // Queue and wakeups may be touched from other threads (PostWakeup).
  mutable std::mutex queueMutex_;
  std::deque<TQueuedEvent> queue_;

  // Input state as injected (ahead of delivery) and as delivered.
  TPoint injectPos_;
  uint32_t injectModifiers_ = 0;
  TPoint cursorPos_;
  uint32_t modifiers_ = 0;
  uint32_t buttons_ = 0;  // bit per TMouseButtonId

  std::function<bool()> idleHandler_;
  int wakeFd_ = -1;  // readable after PostWakeup

  std::vector<THeadlessTrayIcon*> trayIcons_;
  TTrayRegistry trayListeners_;
  TTrayClickTracker trayClicks_;
  uint32_t trayHover_ = 0;  // the icon under the pointer (0: none)
  void ComposeTray(TPixmap& out) const;
};

}  // namespace qz
