// The platform layer: native top-level windows, input, time, monitors,
// clipboard and cursors. The window system in host/ui/ runs on top of one
// IPlatform; it never talks to a display directly. Backends: headless (always
// available; windows live in memory and a virtual screen composes them) and
// SDL2/X11 (real windows).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/base/Types.h"
#include "host/graphics/Pixmap.h"
#include "host/graphics/Region.h"
#include "host/platform/Tray.h"

namespace qz {

// Mouse cursor shapes the window system asks for (one per hit code family).
enum class TCursorShape {
  Arrow, IBeam, Wait, Cross, UpArrow, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No,
  HandPoint, AppStarting, Help, Drag, MultiDrag, Hidden,
};

struct TMonitorInfo {
  TRect bounds;    // the whole monitor, screen coordinates
  TRect workArea;  // usable bounds (without panels/taskbars)
  bool primary = false;
};

enum class TPlatformWindowKind {
  Normal,  // an application window; takes activation
  Popup,   // menus, hints, drop-down lists, glow and border windows: never
           // takes activation, stays above normal windows
};

struct TPlatformWindowDesc {
  TPlatformWindowKind kind = TPlatformWindowKind::Normal;
  TRect bounds;              // screen coordinates
  bool topmost = false;      // stay above non-topmost windows
  std::string title;         // for the task bar / window list only; we draw captions
};

enum class TMouseButtonId { Left, Right, Middle };

// Modifier keys held during an input event.
enum : uint32_t { kModShift = 1, kModCtrl = 2, kModAlt = 4, kModSuper = 8 };

enum class TPlatformEventKind {
  None,
  MouseMove,      // screenPos
  MouseDown,      // screenPos, button (double clicks are detected by the window system)
  MouseUp,        // screenPos, button
  MouseWheel,     // screenPos, wheelDelta (120 per notch, positive = away from user)
  KeyDown,        // key (VK_ code), modifiers, repeat
  KeyUp,          // key, modifiers
  Text,           // text: UTF-8 of typed characters (after KeyDown)
  FocusIn,        // the native window got the keyboard focus
  FocusOut,       // the native window lost it
  CloseRequest,   // the user asked a window manager to close the window
  Expose,         // the native window needs its contents again (present everything)
  Moved,          // a window manager moved the window: newBounds
  Resized,        // a window manager resized the window: newBounds
  Wakeup,         // PostWakeup() was called (another thread has work for the loop)
  Tray,           // input on a tray icon: trayId, trayInput (see DeliverTrayEvent)
};

class IPlatformWindow;

struct TPlatformEvent {
  TPlatformEventKind kind = TPlatformEventKind::None;
  IPlatformWindow* window = nullptr;  // target native window (null: none of ours)
  TPoint screenPos;                   // pointer position, screen coordinates
  TMouseButtonId button = TMouseButtonId::Left;
  int wheelDelta = 0;
  int key = 0;              // virtual key code (VK_*; letters and digits as their ASCII upper case)
  uint32_t modifiers = 0;   // kMod*
  bool repeat = false;
  std::string text;         // UTF-8
  TRect newBounds;
  uint64_t timeMs = 0;      // platform clock when the event happened
  uint32_t trayId = 0;      // Tray: the icon, by its backend's id
  TTrayInput trayInput;
};

// One native top-level window. Its contents come from the window system's
// back buffer (Present) or, for per-pixel alpha windows, a premultiplied
// ARGB picture (PresentLayered).
class IPlatformWindow {
 public:
  virtual ~IPlatformWindow() = default;
  virtual void SetBounds(const TRect& screenBounds) = 0;
  virtual TRect Bounds() const = 0;
  virtual void SetVisible(bool visible, bool activate) = 0;
  virtual bool Visible() const = 0;
  virtual void SetTitle(const std::string& title) = 0;
  // Shape in window coordinates; nullptr removes the shape (rectangular window).
  virtual void SetShape(const TRegion* shape) = 0;
  // Whole-window opacity, 255 = opaque.
  virtual void SetOpacity(uint8_t alpha) = 0;
  virtual void SetTopmost(bool topmost) = 0;
  // The owner stays below its owned windows; null for none.
  virtual void SetOwner(IPlatformWindow* owner) = 0;
  // Raise above its siblings in the stacking order (respecting topmost).
  virtual void Raise() = 0;
  // Give the keyboard focus / activation to this window (Normal kind only).
  virtual void Activate() = 0;
  // Opaque contents: copy `dirty` (window coordinates) of backBuffer, which is
  // the size of the window, to the screen.
  virtual void Present(const TPixmap& backBuffer, const TRegion& dirty) = 0;
  // Per-pixel alpha contents (premultiplied 0xAARRGGBB), the size of the window.
  virtual void PresentLayered(const TPixmap& premultiplied) = 0;
  virtual void SetCursorShape(TCursorShape shape) = 0;
};

class IPlatform {
 public:
  virtual ~IPlatform() = default;
  virtual const char* Name() const = 0;  // "headless", "sdl"

  virtual std::unique_ptr<IPlatformWindow> CreateWindow(const TPlatformWindowDesc& desc) = 0;

  // Next input or window event; waits at most timeoutMs (0: do not wait,
  // negative: wait until there is one). False when none arrived in time.
  virtual bool WaitEvent(TPlatformEvent& event, int timeoutMs) = 0;
  // Makes a waiting WaitEvent return (Wakeup event); callable from any thread.
  virtual void PostWakeup() = 0;

  // Monotonic milliseconds. The headless clock is virtual and moves only when told.
  virtual uint64_t NowMs() = 0;

  virtual std::vector<TMonitorInfo> Monitors() = 0;
  virtual TPoint CursorPos() = 0;
  virtual void SetCursorPos(TPoint screen) = 0;
  // While captured, every pointer event goes to that window, also outside it.
  virtual void SetCapture(IPlatformWindow* window) = 0;
  // Modifier keys and mouse buttons held right now (kMod*, and the buttons).
  virtual uint32_t KeyModifiers() = 0;
  virtual bool MouseButtonDown(TMouseButtonId button) = 0;

  virtual int DoubleClickTimeMs() = 0;
  virtual TSize DoubleClickSize() { return {4, 4}; }
  virtual bool SupportsPerPixelAlpha() = 0;
  virtual bool SupportsShapes() = 0;

  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(const std::string& text) = 0;

  // A tray icon, hidden until SetVisible(true); null when this platform has
  // no tray service at all. Its input comes back as Tray events.
  virtual std::unique_ptr<IPlatformTrayIcon> CreateTrayIcon(TTrayListener listener) {
    (void)listener;
    return nullptr;
  }
  // Hands a Tray event to its icon's listener (nothing when that icon is gone).
  virtual void DeliverTrayEvent(const TPlatformEvent& event) { (void)event; }
};

// The process's platform, created on first use: QZ_PLATFORM=headless|sdl
// chooses; without it, sdl when a display is available (and the backend is
// built), headless otherwise. SetPlatform replaces it (tests install a
// fresh headless platform per test).
IPlatform& Platform();
void SetPlatform(std::unique_ptr<IPlatform> platform);
// Creates the platform named (nullopt: the automatic choice); throws
// Exception when it cannot be created (no display for "sdl").
std::unique_ptr<IPlatform> CreatePlatform(std::optional<std::string> name = std::nullopt);

}  // namespace qz
