#include "host/platform/sdl/X11Bridge.h"

#include "host/platform/Platform.h"

// X headers last: they define macros (None, Bool, Status...) that clash with
// ordinary names.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <atomic>
#include <string>

namespace qz::x11 {

namespace {

Display* AsDisplay(void* d) { return static_cast<Display*>(d); }

// Errors on our own connection (a window gone, a window manager that
// reparented a window we restack) are expected and must not end the process;
// errors on other connections go to the handler that was there before.
std::atomic<Display*> ourDisplay{nullptr};
std::atomic<Display*> trayDisplay{nullptr};
XErrorHandler previousHandler = nullptr;

// A message sent to a window that was destroyed before the server read it.
// SDL wakes a waiting thread with a message to one of our windows on a
// connection of its own; when that window is being destroyed at the same
// moment, the server may take the destruction first. Nothing is lost: the
// window is gone, and so is whoever waited on it.
bool MessageToAWindowGone(const XErrorEvent& error) {
  return error.error_code == BadWindow && error.request_code == X_SendEvent;
}

int IgnoreOurErrors(Display* display, XErrorEvent* error) {
  if (display == ourDisplay.load() || display == trayDisplay.load() || MessageToAWindowGone(*error)) return 0;
  // SDL chains its handler to the one it found; after a restart that can be
  // this one again. Never go round the chain twice.
  static thread_local bool passingOn = false;
  if (passingOn || !previousHandler) return 0;
  passingOn = true;
  const int result = previousHandler(display, error);
  passingOn = false;
  return result;
}

uint32_t ModifiersOfState(unsigned int state) {
  uint32_t m = 0;
  if (state & ShiftMask) m |= kModShift;
  if (state & ControlMask) m |= kModCtrl;
  if (state & Mod1Mask) m |= kModAlt;
  if (state & Mod4Mask) m |= kModSuper;
  return m;
}

uint32_t ButtonsOfState(unsigned int state) {
  // Bits in TMouseButtonId order: left, right, middle.
  return ((state & Button1Mask) ? 1u : 0u) | ((state & Button3Mask) ? 2u : 0u) | ((state & Button2Mask) ? 4u : 0u);
}

// A depth-32 TrueColor visual with 8-bit red, green and blue in the low 24
// bits leaves the top byte to alpha: the pixels are TPixmap's own layout.
unsigned long FindArgbVisual(Display* d) {
  XVisualInfo wanted{};
  wanted.screen = DefaultScreen(d);
  wanted.depth = 32;
  wanted.c_class = TrueColor;
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(d, VisualScreenMask | VisualDepthMask | VisualClassMask, &wanted, &count);
  unsigned long id = 0;
  for (int i = 0; i < count && !id; ++i)
    if (found[i].red_mask == 0xFF0000 && found[i].green_mask == 0xFF00 && found[i].blue_mask == 0xFF)
      id = found[i].visualid;
  if (found) XFree(found);
  return id;
}

void CombineRegion(Display* d, TWindowId window, int kind, const TRegion* shape) {
  if (!shape) {
    XShapeCombineMask(d, window, kind, 0, 0, None, ShapeSet);
    return;
  }
  std::vector<XRectangle> rects;
  rects.reserve(shape->Rects().size());
  for (const TRect& r : shape->Rects())
    rects.push_back({static_cast<short>(r.Left), static_cast<short>(r.Top), static_cast<unsigned short>(r.Width()),
                     static_cast<unsigned short>(r.Height())});
  // The region's rectangles are y-x banded already.
  XShapeCombineRectangles(d, window, kind, 0, 0, rects.data(), static_cast<int>(rects.size()), ShapeSet, YXBanded);
}

}  // namespace

TWindowId WindowIdOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  return info.info.x11.window;
}

TPointerInput ReadPointerInput(const SDL_Event& systemEvent) {
  TPointerInput in;
  if (systemEvent.type != SDL_SYSWMEVENT || !systemEvent.syswm.msg ||
      systemEvent.syswm.msg->subsystem != SDL_SYSWM_X11)
    return in;
  const XEvent& e = systemEvent.syswm.msg->msg.x11.event;
  switch (e.type) {
    case MotionNotify:
      in = {TPointerInput::Kind::Move, e.xmotion.window, e.xmotion.x_root, e.xmotion.y_root, 0,
            ModifiersOfState(e.xmotion.state), ButtonsOfState(e.xmotion.state)};
      break;
    case ButtonPress:
    case ButtonRelease:
      in = {e.type == ButtonPress ? TPointerInput::Kind::Press : TPointerInput::Kind::Release,
            e.xbutton.window, e.xbutton.x_root, e.xbutton.y_root, static_cast<int>(e.xbutton.button),
            ModifiersOfState(e.xbutton.state), ButtonsOfState(e.xbutton.state)};
      break;
    default:
      break;
  }
  return in;
}

std::unique_ptr<TConnection> TConnection::Open() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  return std::unique_ptr<TConnection>(new TConnection(display));
}

void InstallErrorHandler() {
  const XErrorHandler installed = XSetErrorHandler(IgnoreOurErrors);
  if (installed != IgnoreOurErrors) previousHandler = installed;
}

void IgnoreErrorsOf(void* display) { trayDisplay = AsDisplay(display); }

TConnection::TConnection(void* display) : display_(display) {
  ourDisplay = AsDisplay(display_);
  int eventBase = 0, errorBase = 0;
  hasShape_ = XShapeQueryExtension(AsDisplay(display_), &eventBase, &errorBase);
  argbVisual_ = FindArgbVisual(AsDisplay(display_));
}

TConnection::~TConnection() {
  XSync(AsDisplay(display_), False);
  if (ourDisplay.load() == AsDisplay(display_)) ourDisplay = nullptr;
  XCloseDisplay(AsDisplay(display_));
}

bool TConnection::HasWindowManager() const {
  Display* d = AsDisplay(display_);
  const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  const bool found = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW, &type, &format,
                                        &count, &after, &data) == Success &&
                     data && count == 1;
  if (data) XFree(data);
  return found;
}

bool TConnection::HasCompositor() const {
  Display* d = AsDisplay(display_);
  const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(d));
  return XGetSelectionOwner(d, XInternAtom(d, name.c_str(), False)) != None;
}

void TConnection::SetShape(TWindowId window, const TRegion* shape) {
  if (!hasShape_ || !window) return;
  CombineRegion(AsDisplay(display_), window, ShapeBounding, shape);
  XSync(AsDisplay(display_), False);
}

void TConnection::SetInputShape(TWindowId window, const TRegion* shape) {
  if (!hasShape_ || !window) return;
  CombineRegion(AsDisplay(display_), window, ShapeInput, shape);
  XSync(AsDisplay(display_), False);
}

void TConnection::SetTransientFor(TWindowId window, TWindowId owner) {
  Display* d = AsDisplay(display_);
  if (owner)
    XSetTransientForHint(d, window, owner);
  else
    XDeleteProperty(d, window, XA_WM_TRANSIENT_FOR);
  XFlush(d);
}

void TConnection::Map(TWindowId window) {
  XMapRaised(AsDisplay(display_), window);
  XSync(AsDisplay(display_), False);
}

void TConnection::Unmap(TWindowId window) {
  Display* d = AsDisplay(display_);
  XWithdrawWindow(d, window, DefaultScreen(d));
  XSync(d, False);
}

void TConnection::Focus(TWindowId window) {
  Display* d = AsDisplay(display_);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(d, window, &attributes) || attributes.map_state != IsViewable) return;
  XSetInputFocus(d, window, RevertToParent, CurrentTime);
  XSync(d, False);
}

void TConnection::Restack(const std::vector<TWindowId>& bottomToTop) {
  if (bottomToTop.empty()) return;
  Display* d = AsDisplay(display_);
  if (HasWindowManager()) {
    // A window manager stacks the frames of the windows it manages and
    // takes a restack request against a sibling only when the sibling is a
    // client of its own (a popup is not): it may drop one or lower the
    // window to the bottom instead. A plain raise it always understands, so
    // each window is raised in turn, bottom to top. Popups (override-
    // redirect) are raised at once; the manager keeps its frames below them.
    for (TWindowId window : bottomToTop) XRaiseWindow(d, window);
  } else {
    std::vector<Window> topToBottom(bottomToTop.rbegin(), bottomToTop.rend());
    XRaiseWindow(d, topToBottom.front());
    XRestackWindows(d, topToBottom.data(), static_cast<int>(topToBottom.size()));
  }
  XSync(d, False);
}

void TConnection::Sync() { XSync(AsDisplay(display_), False); }

}  // namespace qz::x11
