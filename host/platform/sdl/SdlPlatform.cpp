#include "host/platform/sdl/SdlPlatform.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "host/base/Exception.h"
#include "host/base/Messages.h"
#include "host/platform/Stacking.h"
#include "host/platform/sdl/SdlTray.h"
#include "host/platform/sdl/X11Bridge.h"

namespace qz {

namespace {

class TSdlPlatform;

std::string SdlError(const char* what) { return std::string("sdl platform: ") + what + ": " + SDL_GetError(); }

// ---------------------------------------------------------------------------
// Keys

int VkFromKeycode(SDL_Keycode k) {
  if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
  if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
  if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + (k - SDLK_F1);
  if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (k - SDLK_KP_1);
  switch (k) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    case SDLK_LGUI: return VK_LWIN;
    case SDLK_RGUI: return VK_RWIN;
    case SDLK_APPLICATION: return VK_APPS;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    // The platform's punctuation key codes (US layout positions).
    case SDLK_SEMICOLON: return 0xBA;
    case SDLK_EQUALS: return 0xBB;
    case SDLK_COMMA: return 0xBC;
    case SDLK_MINUS: return 0xBD;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_SLASH: return 0xBF;
    case SDLK_BACKQUOTE: return 0xC0;
    case SDLK_LEFTBRACKET: return 0xDB;
    case SDLK_BACKSLASH: return 0xDC;
    case SDLK_RIGHTBRACKET: return 0xDD;
    case SDLK_QUOTE: return 0xDE;
    default: return 0;
  }
}

uint32_t ModifiersFromSdl(Uint16 mod) {
  uint32_t m = 0;
  if (mod & KMOD_SHIFT) m |= kModShift;
  if (mod & KMOD_CTRL) m |= kModCtrl;
  if (mod & KMOD_ALT) m |= kModAlt;
  if (mod & KMOD_GUI) m |= kModSuper;
  return m;
}

TRect RectFromSdl(const SDL_Rect& r) { return Bounds(r.x, r.y, r.w, r.h); }

// A region of the pixels whose alpha is not zero.
TRegion OpaqueArea(const TPixmap& picture) {
  std::vector<TRect> runs;
  for (int y = 0; y < picture.Height(); ++y) {
    const uint32_t* row = picture.Row(y);
    for (int x = 0; x < picture.Width();) {
      if (PixelAlpha(row[x]) == 0) { ++x; continue; }
      const int start = x;
      while (x < picture.Width() && PixelAlpha(row[x]) != 0) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  }
  return TRegion::FromRects(runs);
}

// ---------------------------------------------------------------------------

class TSdlWindow final : public IPlatformWindow {
 public:
  TSdlWindow(TSdlPlatform* platform, SDL_Window* window, const TPlatformWindowDesc& desc);
  ~TSdlWindow() override;

  void SetBounds(const TRect& screenBounds) override;
  TRect Bounds() const override { return bounds_; }
  void SetVisible(bool visible, bool activate) override;
  bool Visible() const override { return visible_; }
  void SetTitle(const std::string& title) override;
  void SetShape(const TRegion* shape) override;
  void SetOpacity(uint8_t alpha) override;
  void SetTopmost(bool topmost) override;
  void SetOwner(IPlatformWindow* owner) override;
  void Raise() override;
  void Activate() override;
  void Present(const TPixmap& backBuffer, const TRegion& dirty) override;
  void PresentLayered(const TPixmap& premultiplied) override;
  void SetCursorShape(TCursorShape shape) override;

  bool HitTest(TPoint screen) const;
  // Puts the last presented picture on the screen again; false when there
  // is none to put (the window system must present).
  bool Reexpose();
  void Detach();  // the platform is going away

  SDL_Window* window_;
  x11::TWindowId xid_;
  TPlatformWindowKind kind_;
  bool topmost_;
  TSdlWindow* owner_ = nullptr;
  TRect bounds_;
  TCursorShape cursor_ = TCursorShape::Arrow;

 private:
  void ApplyShape();
  void CopyToSurface(const TPixmap& pixels, const TRegion& area, bool opaque);
  void MoveToArgbVisual();

  TSdlPlatform* platform_;
  bool visible_ = false;
  // The window surface that holds the whole picture (SDL makes a new, empty
  // one when the window is resized); null until the first Present.
  SDL_Surface* filledSurface_ = nullptr;
  TSize filledSize_;
  std::optional<TRegion> shape_;       // the window system's shape
  std::optional<TRegion> opaqueArea_;  // the shown pixels of a per-pixel alpha picture
  std::string title_;
  uint8_t opacity_ = 255;
  // The native window is on the display's ARGB visual (it moved there for
  // its first per-pixel alpha picture on a compositing display).
  bool argb_ = false;
  // The picture shown is blended by its alpha (a compositor runs): input is
  // limited to its visible pixels instead of shaping the window to them.
  bool alphaComposited_ = false;
  bool inputShaped_ = false;
};

class TSdlPlatform final : public IPlatform {
 public:
  TSdlPlatform();
  ~TSdlPlatform() override;

  const char* Name() const override { return "sdl"; }
  std::unique_ptr<IPlatformWindow> CreateWindow(const TPlatformWindowDesc& desc) override;
  bool WaitEvent(TPlatformEvent& event, int timeoutMs) override;
  void PostWakeup() override;
  uint64_t NowMs() override { return SDL_GetTicks64(); }
  std::vector<TMonitorInfo> Monitors() override;
  // The pointer, buttons and modifiers as of the input delivered so far
  // (in step with the events being handled, like the headless platform).
  TPoint CursorPos() override { return haveCursor_ ? cursorPos_ : PointerNow(); }
  void SetCursorPos(TPoint screen) override;
  void SetCapture(IPlatformWindow* window) override;
  uint32_t KeyModifiers() override { return modifiers_; }
  bool MouseButtonDown(TMouseButtonId button) override { return (buttons_ & ButtonBit(button)) != 0; }
  int DoubleClickTimeMs() override { return 500; }
  // Needs a compositor now and the ARGB visual; asked on every layered
  // picture, so windows follow a compositor that starts or stops.
  bool SupportsPerPixelAlpha() override { return x11_->ArgbVisual() != 0 && x11_->HasCompositor(); }
  bool SupportsShapes() override { return x11_->HasShapeExtension(); }
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& text) override { SDL_SetClipboardText(text.c_str()); }
  std::unique_ptr<IPlatformTrayIcon> CreateTrayIcon(TTrayListener listener) override;
  void DeliverTrayEvent(const TPlatformEvent& event) override {
    if (tray_) tray_->Deliver(event);
  }

  // For the windows.
  x11::TConnection& X11() { return *x11_; }
  bool HasWindowManager() const { return hasWindowManager_; }
  // A hidden SDL window as described, on the ARGB visual when asked; null
  // when SDL cannot make it (SDL_GetError says why).
  SDL_Window* NewSdlWindow(const TPlatformWindowDesc& desc, bool argbVisual);
  // The window has a new native window: owners and stacking follow it.
  void NativeWindowReplaced(TSdlWindow* window);
  bool IsCapturing(const TSdlWindow* window) const { return capture_ == window; }
  void Unregister(TSdlWindow* window);
  void RaiseToTop(TSdlWindow* window);
  void ApplyStacking();
  void ShowCursorOf(const TSdlWindow* window);
  const TSdlWindow* PointerWindow() const { return capture_ ? capture_ : pointerWindow_; }

 private:
  bool Translate(const SDL_Event& in, TPlatformEvent& out);
  bool TranslateXButton(const SDL_Event& in, TPlatformEvent& out);
  bool TranslateSdlPointer(const SDL_Event& in, TPlatformEvent& out);
  bool RoutePointer(TSdlWindow* reporting, TPlatformEvent& out);
  bool TranslateWindowEvent(const SDL_WindowEvent& in, TPlatformEvent& out);
  TSdlWindow* FromSdlId(Uint32 id) const;
  TSdlWindow* FromXid(x11::TWindowId xid) const;
  TSdlWindow* WindowAt(TPoint screen) const;
  uint64_t EventTime(Uint32 timestamp) const;
  static TPoint PointerNow();
  static uint32_t ButtonBit(TMouseButtonId button) { return 1u << static_cast<int>(button); }

  std::unique_ptr<x11::TConnection> x11_;
  // Made with the first tray icon.
  std::unique_ptr<TSdlTray> tray_;
  bool hasWindowManager_ = false;
  Uint32 wakeupEventType_ = 0;
  std::vector<TSdlWindow*> stack_;  // bottom to top
  TSdlWindow* capture_ = nullptr;
  TSdlWindow* pointerWindow_ = nullptr;
  std::array<SDL_Cursor*, static_cast<size_t>(TCursorShape::Hidden) + 1> cursors_{};
  TCursorShape shownCursor_ = TCursorShape::Arrow;
  // SDL events still to come for X button events already translated.
  int sdlEventsOfXButtons_ = 0;
  TPoint cursorPos_;
  bool haveCursor_ = false;
  uint32_t buttons_ = 0;  // ButtonBit set
  uint32_t modifiers_ = 0;
};

bool sdlPlatformAlive = false;

// ---------------------------------------------------------------------------
// TSdlWindow

TSdlWindow::TSdlWindow(TSdlPlatform* platform, SDL_Window* window, const TPlatformWindowDesc& desc)
    : window_(window),
      xid_(x11::WindowIdOf(window)),
      kind_(desc.kind),
      topmost_(desc.topmost),
      bounds_(desc.bounds),
      platform_(platform),
      title_(desc.title) {
  SDL_SetWindowData(window_, "qz", this);
  if (bounds_.IsEmpty()) ApplyShape();
}

TSdlWindow::~TSdlWindow() {
  if (!platform_) return;
  platform_->Unregister(this);
  SDL_DestroyWindow(window_);
}

void TSdlWindow::Detach() {
  if (window_) SDL_DestroyWindow(window_);
  window_ = nullptr;
  platform_ = nullptr;
}

void TSdlWindow::SetBounds(const TRect& screenBounds) {
  const bool wasEmpty = bounds_.IsEmpty();
  bounds_ = screenBounds;
  if (!platform_) return;
  int x, y, w, h;
  SDL_GetWindowPosition(window_, &x, &y);
  SDL_GetWindowSize(window_, &w, &h);
  // X windows cannot be empty; an empty window keeps one pixel, shaped away.
  const int width = std::max(screenBounds.Width(), 1), height = std::max(screenBounds.Height(), 1);
  if (x != screenBounds.Left || y != screenBounds.Top) SDL_SetWindowPosition(window_, screenBounds.Left, screenBounds.Top);
  if (w != width || h != height) SDL_SetWindowSize(window_, width, height);
  if (screenBounds.IsEmpty() != wasEmpty) ApplyShape();
}

void TSdlWindow::SetVisible(bool visible, bool activate) {
  if (!platform_) return;
  if (visible && !visible_) {
    visible_ = true;
    platform_->X11().Map(xid_);  // without SDL: SDL would also take the focus
    platform_->RaiseToTop(this);
  } else if (!visible && visible_) {
    visible_ = false;
    platform_->X11().Unmap(xid_);
  }
  if (visible && activate) Activate();
}

void TSdlWindow::SetTitle(const std::string& title) {
  title_ = title;
  if (platform_) SDL_SetWindowTitle(window_, title.c_str());
}

void TSdlWindow::SetShape(const TRegion* shape) {
  if (shape)
    shape_ = *shape;
  else
    shape_.reset();
  ApplyShape();
}

// The window system's shape bounds the window. A per-pixel alpha picture
// also limits it to the picture's visible pixels: by shaping the window when
// nothing blends its alpha, else only where it takes pointer input (clicks
// on transparent pixels go to what shows through).
void TSdlWindow::ApplyShape() {
  if (!platform_) return;
  std::optional<TRegion> bounding = shape_;
  std::optional<TRegion> input;
  if (opaqueArea_) {
    TRegion visible = shape_ ? shape_->Intersect(*opaqueArea_) : *opaqueArea_;
    // A window manager's frame takes the clicks its client's input shape
    // leaves out (openbox copies only the bounding shape to the frame). The
    // bounding shape of the visible pixels changes nothing a compositor
    // shows, and keeps those clicks for what shows through.
    if (alphaComposited_ && platform_->HasWindowManager()) bounding = visible;
    (alphaComposited_ ? input : bounding) = std::move(visible);
  }
  // X windows cannot be empty; an empty window keeps one pixel, shaped away.
  if (bounds_.IsEmpty()) bounding = TRegion();
  platform_->X11().SetShape(xid_, bounding ? &*bounding : nullptr);
  if (input || inputShaped_) platform_->X11().SetInputShape(xid_, input ? &*input : nullptr);
  inputShaped_ = input.has_value();
}

void TSdlWindow::SetOpacity(uint8_t alpha) {
  opacity_ = alpha;
  if (platform_) SDL_SetWindowOpacity(window_, alpha / 255.0f);  // _NET_WM_WINDOW_OPACITY
}

void TSdlWindow::SetTopmost(bool topmost) {
  topmost_ = topmost;
  if (!platform_) return;
  SDL_SetWindowAlwaysOnTop(window_, topmost ? SDL_TRUE : SDL_FALSE);
  platform_->ApplyStacking();
}

void TSdlWindow::SetOwner(IPlatformWindow* owner) {
  auto* sdlOwner = dynamic_cast<TSdlWindow*>(owner);
  for (auto* w = sdlOwner; w; w = w->owner_)
    if (w == this) throw EInvalidOperation("sdl platform: a window cannot own itself");
  owner_ = sdlOwner;
  if (!platform_) return;
  platform_->X11().SetTransientFor(xid_, owner_ ? owner_->xid_ : 0);
  platform_->ApplyStacking();
}

void TSdlWindow::Raise() {
  if (platform_) platform_->RaiseToTop(this);
}

void TSdlWindow::Activate() {
  if (!platform_ || kind_ != TPlatformWindowKind::Normal) return;
  if (platform_->HasWindowManager()) SDL_RaiseWindow(window_);  // asks the manager to activate it
  platform_->RaiseToTop(this);
  if (visible_) platform_->X11().Focus(xid_);
}

// `opaque`: the pixels are shown without their alpha (an ARGB window would
// blend by whatever alpha a back buffer happens to hold).
void TSdlWindow::CopyToSurface(const TPixmap& pixels, const TRegion& dirty, bool opaque) {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return;
  const TRect all = Intersection(pixels.Bounds(), Rect(0, 0, surface->w, surface->h));
  // A new surface is empty: it gets everything, not just the dirty part.
  const bool fresh = surface != filledSurface_ || filledSize_ != TSize{surface->w, surface->h};
  const TRegion area = fresh ? TRegion(all) : dirty.Intersect(all);
  if (area.IsEmpty()) return;
  const bool sameLayout = surface->format->format == SDL_PIXELFORMAT_RGB888 ||
                          surface->format->format == SDL_PIXELFORMAT_ARGB8888;
  if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
  std::vector<SDL_Rect> rects;
  rects.reserve(area.Rects().size());
  auto* base = static_cast<uint8_t*>(surface->pixels);
  for (const TRect& r : area.Rects()) {
    if (opaque && surface->format->format == SDL_PIXELFORMAT_ARGB8888) {
      for (int y = r.Top; y < r.Bottom; ++y) {
        const uint32_t* from = pixels.Row(y) + r.Left;
        auto* to = reinterpret_cast<uint32_t*>(base + static_cast<size_t>(y) * surface->pitch) + r.Left;
        for (int x = 0; x < r.Width(); ++x) to[x] = from[x] | 0xFF000000u;
      }
    } else if (sameLayout) {
      for (int y = r.Top; y < r.Bottom; ++y)
        std::memcpy(base + static_cast<size_t>(y) * surface->pitch + r.Left * 4, pixels.Row(y) + r.Left,
                    static_cast<size_t>(r.Width()) * 4);
    } else {
      SDL_ConvertPixels(r.Width(), r.Height(), SDL_PIXELFORMAT_ARGB8888, pixels.Row(r.Top) + r.Left,
                        pixels.Width() * 4, surface->format->format,
                        base + static_cast<size_t>(r.Top) * surface->pitch +
                            r.Left * surface->format->BytesPerPixel,
                        surface->pitch);
    }
    rects.push_back({r.Left, r.Top, r.Width(), r.Height()});
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
  filledSurface_ = surface;
  filledSize_ = {surface->w, surface->h};
}

void TSdlWindow::Present(const TPixmap& backBuffer, const TRegion& dirty) {
  if (!platform_) return;
  if (opaqueArea_) {
    opaqueArea_.reset();
    alphaComposited_ = false;
    ApplyShape();
  }
  CopyToSurface(backBuffer, dirty, argb_);
}

// With a compositor the picture goes as it is (premultiplied ARGB, what a
// compositor blends) into a window of the ARGB visual. Without one the
// window shows the picture's visible pixels (over black, as the
// premultiplied colours are) and is shaped to them.
void TSdlWindow::PresentLayered(const TPixmap& premultiplied) {
  if (!platform_) return;
  const bool compositing = platform_->SupportsPerPixelAlpha();
  if (compositing && !argb_) MoveToArgbVisual();
  alphaComposited_ = compositing && argb_;
  opaqueArea_ = OpaqueArea(premultiplied);
  ApplyShape();
  CopyToSurface(premultiplied, TRegion(premultiplied.Bounds()), false);
}

// X fixes a window's visual when the window is made, so a new native window
// on the ARGB visual takes this one's place, with its place in the stacking
// order, owner, owned windows, opacity, visibility and focus. When SDL
// cannot make it the window stays as it was.
void TSdlWindow::MoveToArgbVisual() {
  TPlatformWindowDesc desc;
  desc.kind = kind_;
  desc.bounds = bounds_;
  desc.topmost = topmost_;
  desc.title = title_;
  SDL_Window* fresh = platform_->NewSdlWindow(desc, true);
  if (!fresh) return;
  SDL_Surface* surface = SDL_GetWindowSurface(fresh);
  const x11::TWindowId freshXid = x11::WindowIdOf(fresh);
  if (!freshXid || !surface || surface->format->format != SDL_PIXELFORMAT_ARGB8888) {
    SDL_DestroyWindow(fresh);
    return;
  }
  SDL_Window* old = window_;
  const bool hadFocus = SDL_GetKeyboardFocus() == old;
  window_ = fresh;
  xid_ = freshXid;
  argb_ = true;
  filledSurface_ = nullptr;
  inputShaped_ = false;
  SDL_SetWindowData(window_, "qz", this);
  if (opacity_ != 255) SDL_SetWindowOpacity(window_, opacity_ / 255.0f);
  ApplyShape();
  platform_->NativeWindowReplaced(this);
  if (visible_) {
    platform_->X11().Map(xid_);
    platform_->ApplyStacking();
  }
  SDL_DestroyWindow(old);
  if (visible_ && hadFocus) platform_->X11().Focus(xid_);
  if (platform_->IsCapturing(this)) SDL_CaptureMouse(SDL_TRUE);
}

bool TSdlWindow::Reexpose() {
  if (!platform_ || !filledSurface_) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface || surface != filledSurface_ || filledSize_ != TSize{surface->w, surface->h}) return false;
  SDL_UpdateWindowSurface(window_);
  return true;
}

void TSdlWindow::SetCursorShape(TCursorShape shape) {
  cursor_ = shape;
  if (platform_ && platform_->PointerWindow() == this) platform_->ShowCursorOf(this);
}

bool TSdlWindow::HitTest(TPoint screen) const {
  if (!visible_ || !bounds_.Contains(screen)) return false;
  const TPoint local = screen - bounds_.TopLeft();
  if (shape_ && !shape_->Contains(local)) return false;
  if (opaqueArea_ && !opaqueArea_->Contains(local)) return false;
  return true;
}

// ---------------------------------------------------------------------------
// TSdlPlatform

TSdlPlatform::TSdlPlatform() {
  if (sdlPlatformAlive) throw EInvalidOperation("sdl platform: only one can exist at a time");
  // The accelerated framebuffer recreates the X window and loses its shape.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Capture is the window system's decision (SetCapture), not SDL's.
  SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  x11::InstallErrorHandler();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw Exception(SdlError("cannot open the display"));
  x11_ = x11::TConnection::Open();
  if (!x11_) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw Exception("sdl platform: cannot open a second connection to the X display");
  }
  hasWindowManager_ = x11_->HasWindowManager();
  // Pointer input is read from the X events themselves (exact root positions).
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  wakeupEventType_ = SDL_RegisterEvents(1);
  SDL_StartTextInput();
  sdlPlatformAlive = true;
}

TSdlPlatform::~TSdlPlatform() {
  tray_.reset();
  for (auto* w : stack_) w->Detach();
  stack_.clear();
  for (SDL_Cursor* c : cursors_)
    if (c) SDL_FreeCursor(c);
  x11_.reset();
  SDL_StopTextInput();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  sdlPlatformAlive = false;
}

SDL_Window* TSdlPlatform::NewSdlWindow(const TPlatformWindowDesc& desc, bool argbVisual) {
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_RESIZABLE;
  // Popup menus are override-redirect: no window manager moves or focuses them.
  if (desc.kind == TPlatformWindowKind::Popup) flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
  if (desc.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  // SDL makes the X window on the visual this hint names (with a colormap of
  // its own, border pixel 0 and no background) and then gives it a window
  // surface in that visual's pixel format, ARGB8888 for the ARGB visual.
  if (argbVisual)
    SDL_SetHintWithPriority(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, std::to_string(x11_->ArgbVisual()).c_str(),
                            SDL_HINT_OVERRIDE);
  SDL_Window* sdl = SDL_CreateWindow(desc.title.c_str(), desc.bounds.Left, desc.bounds.Top,
                                     std::max(desc.bounds.Width(), 1), std::max(desc.bounds.Height(), 1), flags);
  if (argbVisual) SDL_ResetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID);
  return sdl;
}

void TSdlPlatform::NativeWindowReplaced(TSdlWindow* window) {
  if (window->owner_) x11_->SetTransientFor(window->xid_, window->owner_->xid_);
  for (auto* w : stack_)
    if (w->owner_ == window) x11_->SetTransientFor(w->xid_, window->xid_);
  ApplyStacking();
}

std::unique_ptr<IPlatformWindow> TSdlPlatform::CreateWindow(const TPlatformWindowDesc& desc) {
  SDL_Window* sdl = NewSdlWindow(desc, false);
  if (!sdl) throw Exception(SdlError("cannot create a window"));
  auto window = std::make_unique<TSdlWindow>(this, sdl, desc);
  if (!window->xid_) throw Exception("sdl platform: the window is not an X11 window");
  stack_.push_back(window.get());
  ApplyStacking();
  return window;
}

void TSdlPlatform::Unregister(TSdlWindow* window) {
  std::erase(stack_, window);
  for (auto* w : stack_)
    if (w->owner_ == window) w->owner_ = nullptr;
  if (capture_ == window) SetCapture(nullptr);
  if (pointerWindow_ == window) pointerWindow_ = nullptr;
}

void TSdlPlatform::RaiseToTop(TSdlWindow* window) {
  std::erase(stack_, window);
  stack_.push_back(window);
  ApplyStacking();
}

void TSdlPlatform::ApplyStacking() {
  ApplyStackingRules(
      stack_, [](const TSdlWindow* w) { return StackingLayer(w->kind_, w->topmost_); },
      [](const TSdlWindow* w) -> const TSdlWindow* { return w->owner_; });
  std::vector<x11::TWindowId> ids;
  for (auto* w : stack_) ids.push_back(w->xid_);
  x11_->Restack(ids);
}

TSdlWindow* TSdlPlatform::FromSdlId(Uint32 id) const {
  SDL_Window* sdl = SDL_GetWindowFromID(id);
  if (!sdl) return nullptr;
  auto* w = static_cast<TSdlWindow*>(SDL_GetWindowData(sdl, "qz"));
  return std::find(stack_.begin(), stack_.end(), w) != stack_.end() ? w : nullptr;
}

TSdlWindow* TSdlPlatform::FromXid(x11::TWindowId xid) const {
  for (auto* w : stack_)
    if (w->xid_ == xid) return w;
  return nullptr;
}

TSdlWindow* TSdlPlatform::WindowAt(TPoint screen) const {
  for (auto it = stack_.rbegin(); it != stack_.rend(); ++it)
    if ((*it)->HitTest(screen)) return *it;
  return nullptr;
}

void TSdlPlatform::ShowCursorOf(const TSdlWindow* window) {
  const TCursorShape shape = window ? window->cursor_ : TCursorShape::Arrow;
  if (shape == shownCursor_) return;
  shownCursor_ = shape;
  if (shape == TCursorShape::Hidden) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  static constexpr SDL_SystemCursor kSystem[] = {
      SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_IBEAM,    SDL_SYSTEM_CURSOR_WAIT,
      SDL_SYSTEM_CURSOR_CROSSHAIR, SDL_SYSTEM_CURSOR_ARROW,   SDL_SYSTEM_CURSOR_SIZENWSE,
      SDL_SYSTEM_CURSOR_SIZENESW, SDL_SYSTEM_CURSOR_SIZEWE,   SDL_SYSTEM_CURSOR_SIZENS,
      SDL_SYSTEM_CURSOR_SIZEALL,  SDL_SYSTEM_CURSOR_NO,       SDL_SYSTEM_CURSOR_HAND,
      SDL_SYSTEM_CURSOR_WAITARROW, SDL_SYSTEM_CURSOR_ARROW,   SDL_SYSTEM_CURSOR_ARROW,
      SDL_SYSTEM_CURSOR_ARROW};
  const auto index = static_cast<size_t>(shape);
  if (!cursors_[index]) cursors_[index] = SDL_CreateSystemCursor(kSystem[index]);
  SDL_ShowCursor(SDL_ENABLE);
  if (cursors_[index]) SDL_SetCursor(cursors_[index]);
}

std::vector<TMonitorInfo> TSdlPlatform::Monitors() {
  std::vector<TMonitorInfo> monitors;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect bounds, usable;
    if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
    if (SDL_GetDisplayUsableBounds(i, &usable) != 0) usable = bounds;
    monitors.push_back({RectFromSdl(bounds), RectFromSdl(usable), i == 0});
  }
  return monitors;
}

TPoint TSdlPlatform::PointerNow() {
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return {x, y};
}

void TSdlPlatform::SetCursorPos(TPoint screen) {
  SDL_WarpMouseGlobal(screen.X, screen.Y);
  cursorPos_ = screen;
  haveCursor_ = true;
}

void TSdlPlatform::SetCapture(IPlatformWindow* window) {
  capture_ = dynamic_cast<TSdlWindow*>(window);
  // SDL grabs the pointer for the window it has under the pointer; events
  // are routed to the capturing window here whichever window reports them.
  SDL_CaptureMouse(capture_ ? SDL_TRUE : SDL_FALSE);
}

std::string TSdlPlatform::ClipboardText() {
  char* text = SDL_GetClipboardText();
  std::string result = text ? text : "";
  SDL_free(text);
  return result;
}

void TSdlPlatform::PostWakeup() {
  SDL_Event e{};
  e.type = wakeupEventType_;
  SDL_PushEvent(&e);
}

// SDL stamps events with 32-bit milliseconds; widen them next to the clock.
uint64_t TSdlPlatform::EventTime(Uint32 timestamp) const {
  const uint64_t now = SDL_GetTicks64();
  return now - static_cast<Uint32>(static_cast<Uint32>(now) - timestamp);
}

std::unique_ptr<IPlatformTrayIcon> TSdlPlatform::CreateTrayIcon(TTrayListener listener) {
  if (!tray_) tray_ = std::make_unique<TSdlTray>();
  return tray_->CreateIcon(std::move(listener));
}

// While tray icons exist, the bus and the tray's X connection are read
// between waits of at most kTraySliceMs.
constexpr int kTraySliceMs = 20;

bool TSdlPlatform::WaitEvent(TPlatformEvent& event, int timeoutMs) {
  const uint64_t deadline = SDL_GetTicks64() + static_cast<uint64_t>(std::max(timeoutMs, 0));
  for (;;) {
    const bool tray = tray_ && tray_->HasIcons();
    if (tray) {
      tray_->Dispatch();
      if (tray_->PopEvent(event)) return true;
    }
    SDL_Event e;
    int got;
    if (timeoutMs < 0 && !tray) {
      got = SDL_WaitEvent(&e);
    } else {
      const uint64_t now = SDL_GetTicks64();
      int remaining = timeoutMs >= 0 && now >= deadline ? 0 : static_cast<int>(deadline - now);
      if (timeoutMs < 0 || (tray && remaining > kTraySliceMs)) remaining = kTraySliceMs;
      got = remaining == 0 ? SDL_PollEvent(&e) : SDL_WaitEventTimeout(&e, remaining);
      if (!got && tray && (timeoutMs < 0 || SDL_GetTicks64() < deadline)) continue;
    }
    if (!got) return false;
    event = TPlatformEvent{};
    if (Translate(e, event)) return true;
  }
}

bool TSdlPlatform::Translate(const SDL_Event& in, TPlatformEvent& out) {
  out.timeMs = EventTime(in.common.timestamp);
  if (in.type == wakeupEventType_) {
    out.kind = TPlatformEventKind::Wakeup;
    return true;
  }
  switch (in.type) {
    case SDL_SYSWMEVENT:
      return TranslateXButton(in, out);
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
      return TranslateSdlPointer(in, out);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      out.key = VkFromKeycode(in.key.keysym.sym);
      if (!out.key) return false;
      out.kind = in.type == SDL_KEYDOWN ? TPlatformEventKind::KeyDown : TPlatformEventKind::KeyUp;
      out.window = FromSdlId(in.key.windowID);
      out.modifiers = ModifiersFromSdl(in.key.keysym.mod);
      out.repeat = in.key.repeat != 0;
      modifiers_ = out.modifiers;
      return true;
    case SDL_TEXTINPUT:
      out.kind = TPlatformEventKind::Text;
      out.window = FromSdlId(in.text.windowID);
      out.text = in.text.text;
      out.modifiers = modifiers_;
      return !out.text.empty();
    case SDL_WINDOWEVENT:
      return TranslateWindowEvent(in.window, out);
    default:
      return false;
  }
}

// Buttons and the wheel come from the X events themselves: their root
// position is exact even when the window has moved since (move loops).
bool TSdlPlatform::TranslateXButton(const SDL_Event& in, TPlatformEvent& out) {
  const x11::TPointerInput p = x11::ReadPointerInput(in);
  using PK = x11::TPointerInput::Kind;
  if (p.kind != PK::Press && p.kind != PK::Release) return false;
  TSdlWindow* reporting = FromXid(p.window);
  if (!reporting) return false;
  // SDL follows every press with its own event, and every release except
  // those of the wheel buttons (4 to 7); those are skipped when they come.
  const bool wheelButton = p.button >= 4 && p.button <= 7;
  if (p.kind == PK::Press || !wheelButton) ++sdlEventsOfXButtons_;
  out.screenPos = {p.rootX, p.rootY};
  out.modifiers = p.modifiers;
  buttons_ = p.buttonsHeld;
  if (p.button == 4 || p.button == 5) {
    if (p.kind == PK::Release) return false;
    out.kind = TPlatformEventKind::MouseWheel;
    out.wheelDelta = p.button == 4 ? 120 : -120;
  } else if (p.button >= 1 && p.button <= 3) {
    out.kind = p.kind == PK::Press ? TPlatformEventKind::MouseDown : TPlatformEventKind::MouseUp;
    out.button = p.button == 1 ? TMouseButtonId::Left : p.button == 2 ? TMouseButtonId::Middle : TMouseButtonId::Right;
    if (out.kind == TPlatformEventKind::MouseDown)
      buttons_ |= ButtonBit(out.button);
    else
      buttons_ &= ~ButtonBit(out.button);
  } else {
    return false;
  }
  return RoutePointer(reporting, out);
}

// Motion comes from SDL (it reads it through XInput2); its position is the
// pointer's position now, which is exact for the newest motion and keeps a
// window moved meanwhile from skewing it. Buttons come here only when SDL
// reported one that no X button event announced.
bool TSdlPlatform::TranslateSdlPointer(const SDL_Event& in, TPlatformEvent& out) {
  if (in.type != SDL_MOUSEMOTION && sdlEventsOfXButtons_ > 0) {
    --sdlEventsOfXButtons_;
    return false;
  }
  out.modifiers = ModifiersFromSdl(static_cast<Uint16>(SDL_GetModState()));
  Uint32 windowId = 0;
  switch (in.type) {
    case SDL_MOUSEMOTION:
      out.kind = TPlatformEventKind::MouseMove;
      out.screenPos = PointerNow();
      windowId = in.motion.windowID;
      buttons_ = ((in.motion.state & SDL_BUTTON_LMASK) ? ButtonBit(TMouseButtonId::Left) : 0) |
                 ((in.motion.state & SDL_BUTTON_RMASK) ? ButtonBit(TMouseButtonId::Right) : 0) |
                 ((in.motion.state & SDL_BUTTON_MMASK) ? ButtonBit(TMouseButtonId::Middle) : 0);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (in.button.button > SDL_BUTTON_RIGHT) return false;
      out.kind = in.type == SDL_MOUSEBUTTONDOWN ? TPlatformEventKind::MouseDown : TPlatformEventKind::MouseUp;
      out.button = in.button.button == SDL_BUTTON_LEFT     ? TMouseButtonId::Left
                   : in.button.button == SDL_BUTTON_MIDDLE ? TMouseButtonId::Middle
                                                           : TMouseButtonId::Right;
      windowId = in.button.windowID;
      TSdlWindow* w = FromSdlId(windowId);
      out.screenPos = w ? w->bounds_.TopLeft() + TPoint{in.button.x, in.button.y} : PointerNow();
      if (out.kind == TPlatformEventKind::MouseDown)
        buttons_ |= ButtonBit(out.button);
      else
        buttons_ &= ~ButtonBit(out.button);
      break;
    }
    default: {  // SDL_MOUSEWHEEL
      if (in.wheel.y == 0) return false;
      out.kind = TPlatformEventKind::MouseWheel;
      const int notches = in.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -in.wheel.y : in.wheel.y;
      out.wheelDelta = notches * 120;
      out.screenPos = PointerNow();
      windowId = in.wheel.windowID;
      break;
    }
  }
  TSdlWindow* reporting = FromSdlId(windowId);
  if (!reporting && !capture_) reporting = WindowAt(out.screenPos);
  if (!reporting && !capture_) return false;
  return RoutePointer(reporting, out);
}

// The captured window takes every pointer event; otherwise the window of
// ours under the point (shapes included), else none.
bool TSdlPlatform::RoutePointer(TSdlWindow* reporting, TPlatformEvent& out) {
  cursorPos_ = out.screenPos;
  haveCursor_ = true;
  modifiers_ = out.modifiers;
  TSdlWindow* under = reporting && reporting->HitTest(out.screenPos) ? reporting : WindowAt(out.screenPos);
  out.window = capture_ ? capture_ : under;
  if (out.kind == TPlatformEventKind::MouseDown && !capture_ && under &&
      under->kind_ == TPlatformWindowKind::Normal && FromSdlId(SDL_GetWindowID(SDL_GetKeyboardFocus())) != under)
    x11_->Focus(under->xid_);  // click to focus, also without a window manager
  pointerWindow_ = under;
  ShowCursorOf(PointerWindow());
  return true;
}

bool TSdlPlatform::TranslateWindowEvent(const SDL_WindowEvent& in, TPlatformEvent& out) {
  TSdlWindow* w = FromSdlId(in.windowID);
  if (!w) return false;
  out.window = w;
  switch (in.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      out.kind = TPlatformEventKind::FocusIn;
      return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      out.kind = TPlatformEventKind::FocusOut;
      return true;
    case SDL_WINDOWEVENT_LEAVE:
      // Outside our windows no pointer events come; follow the pointer there.
      cursorPos_ = PointerNow();
      return false;
    case SDL_WINDOWEVENT_CLOSE:
      out.kind = TPlatformEventKind::CloseRequest;
      return true;
    case SDL_WINDOWEVENT_EXPOSED:
      // The window surface still holds the whole picture: put it back here.
      if (w->Reexpose()) return false;
      out.kind = TPlatformEventKind::Expose;
      return true;
    case SDL_WINDOWEVENT_MOVED: {
      const TRect moved = Bounds(in.data1, in.data2, w->bounds_.Width(), w->bounds_.Height());
      if (moved.TopLeft() == w->bounds_.TopLeft()) return false;  // our own SetBounds
      w->bounds_ = moved;
      out.kind = TPlatformEventKind::Moved;
      out.newBounds = moved;
      return true;
    }
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      const TRect sized = Bounds(w->bounds_.Left, w->bounds_.Top, in.data1, in.data2);
      if (sized.Size() == w->bounds_.Size() || (w->bounds_.IsEmpty() && in.data1 == 1 && in.data2 == 1))
        return false;
      w->bounds_ = sized;
      out.kind = TPlatformEventKind::Resized;
      out.newBounds = sized;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

std::unique_ptr<IPlatform> CreateSdlPlatform() { return std::make_unique<TSdlPlatform>(); }

}  // namespace qz
