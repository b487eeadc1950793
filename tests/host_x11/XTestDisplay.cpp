#include "XTestDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <vector>

namespace qz::testing {

namespace {
Display* D(void* d) { return static_cast<Display*>(d); }

// A window can go between finding it and asking about it (a window manager
// destroys its frames when it likes): such errors on the test's own
// connections are answers, not failures. Others go to the handler before.
std::vector<Display*> testDisplays;
XErrorHandler handlerBefore = nullptr;

int IgnoreErrorsOfTestDisplays(Display* display, XErrorEvent* error) {
  if (std::find(testDisplays.begin(), testDisplays.end(), display) != testDisplays.end()) return 0;
  return handlerBefore ? handlerBefore(display, error) : 0;
}
}  // namespace

std::unique_ptr<XTestDisplay> XTestDisplay::Open(const std::string& name) {
  Display* d = XOpenDisplay(name.c_str());
  if (!d) return nullptr;
  testDisplays.push_back(d);
  const XErrorHandler installed = XSetErrorHandler(IgnoreErrorsOfTestDisplays);
  if (installed != IgnoreErrorsOfTestDisplays) handlerBefore = installed;
  return std::unique_ptr<XTestDisplay>(new XTestDisplay(d));
}

XTestDisplay::~XTestDisplay() {
  XCloseDisplay(D(display_));
  std::erase(testDisplays, D(display_));
}

void XTestDisplay::MessageAWindowGone(const std::string& name) {
  UnreadConnection connection = MessageAWindowGoneUnread(name);
  if (connection) XSync(D(connection.get()), False);
}

XTestDisplay::UnreadConnection XTestDisplay::MessageAWindowGoneUnread(const std::string& name) {
  UnreadConnection connection(nullptr, [](void* d) { XCloseDisplay(D(d)); });
  Display* d = XOpenDisplay(name.c_str());
  if (!d) return connection;
  connection.reset(d);
  const Window gone = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(d, gone);
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = gone;
  message.xclient.format = 32;
  XSendEvent(d, gone, False, NoEventMask, &message);
  XFlush(d);
  return connection;
}

XTestDisplay::HandlerRestorer XTestDisplay::UseXlibDefaultErrorHandler() {
  static XErrorHandler before = nullptr;
  before = XSetErrorHandler(nullptr);
  return HandlerRestorer(reinterpret_cast<void*>(1), [](void*) { XSetErrorHandler(before); });
}

uint32_t XTestDisplay::Rgb(int x, int y) {
  XImage* image = XGetImage(D(display_), DefaultRootWindow(D(display_)), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0xDEADBEEF;
  const uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
  XDestroyImage(image);
  return pixel;
}

void XTestDisplay::Move(int x, int y) {
  XTestFakeMotionEvent(D(display_), -1, x, y, CurrentTime);
  XSync(D(display_), False);
}

void XTestDisplay::Button(unsigned button, bool down) {
  XTestFakeButtonEvent(D(display_), button, down, CurrentTime);
  XSync(D(display_), False);
}

void XTestDisplay::Key(const char* keysym, bool down) {
  XTestFakeKeyEvent(D(display_), XKeysymToKeycode(D(display_), XStringToKeysym(keysym)), down, CurrentTime);
  XSync(D(display_), False);
}

void XTestDisplay::OwnCompositorSelection(bool own) {
  Display* d = D(display_);
  const Atom selection = XInternAtom(d, "_NET_WM_CM_S0", False);
  if (own && !selectionOwner_) {
    selectionOwner_ = XCreateSimpleWindow(d, DefaultRootWindow(d), -10, -10, 1, 1, 0, 0, 0);
    XSetSelectionOwner(d, selection, selectionOwner_, CurrentTime);
  } else if (!own && selectionOwner_) {
    XSetSelectionOwner(d, selection, None, CurrentTime);
    XDestroyWindow(d, selectionOwner_);
    selectionOwner_ = 0;
  }
  XSync(d, False);
}

std::optional<XTestDisplay::WindowId> XTestDisplay::WindowProperty(WindowId window, const char* property) {
  Display* d = D(display_);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::optional<WindowId> value;
  if (XGetWindowProperty(d, window, XInternAtom(d, property, False), 0, 1, False, XA_WINDOW, &type, &format, &count,
                         &after, &data) == Success &&
      data && count == 1 && format == 32)
    value = *reinterpret_cast<unsigned long*>(data);
  if (data) XFree(data);
  return value;
}

XTestDisplay::WindowId XTestDisplay::WindowManagerCheck() {
  const auto check = WindowProperty(DefaultRootWindow(D(display_)), "_NET_SUPPORTING_WM_CHECK");
  if (!check || !*check) return 0;
  return WindowProperty(*check, "_NET_SUPPORTING_WM_CHECK") == check ? *check : 0;
}

XTestDisplay::WindowId XTestDisplay::SelectionOwner(const char* selection) {
  Display* d = D(display_);
  return XGetSelectionOwner(d, XInternAtom(d, selection, False));
}

// The window itself when it is a client (it has WM_STATE, or no window
// manager runs); else the client a window manager's frame holds, 0 if none.
XTestDisplay::WindowId XTestDisplay::ClientIn(WindowId window) {
  Display* d = D(display_);
  const Atom wmState = XInternAtom(d, "WM_STATE", False);
  Atom type = 0;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  XGetWindowProperty(d, window, wmState, 0, 0, False, AnyPropertyType, &type, &format, &count, &after, &data);
  if (data) XFree(data);
  XWindowAttributes a;
  if (type != 0 || !WindowManagerCheck() || (XGetWindowAttributes(d, window, &a) && a.override_redirect))
    return window;
  Window root, parent, *children = nullptr;
  unsigned int childCount = 0;
  WindowId client = 0;
  if (!XQueryTree(d, window, &root, &parent, &children, &childCount)) return 0;
  for (unsigned int i = 0; i < childCount && !client; ++i) {
    type = 0;
    data = nullptr;
    XGetWindowProperty(d, children[i], wmState, 0, 0, False, AnyPropertyType, &type, &format, &count, &after, &data);
    if (data) XFree(data);
    if (type != 0) client = children[i];
  }
  if (children) XFree(children);
  return client;
}

void XTestDisplay::SetWallpaper(uint32_t rgb) {
  Display* d = D(display_);
  const Window root = DefaultRootWindow(d);
  const Pixmap picture = XCreatePixmap(d, root, 1, 1, DefaultDepth(d, DefaultScreen(d)));
  GC gc = XCreateGC(d, picture, 0, nullptr);
  XSetForeground(d, gc, rgb);
  XFillRectangle(d, picture, gc, 0, 0, 1, 1);
  XFreeGC(d, gc);
  XSetWindowBackgroundPixmap(d, root, picture);
  XClearWindow(d, root);
  const unsigned long id = picture;
  XChangeProperty(d, root, XInternAtom(d, "_XROOTPMAP_ID", False), XA_PIXMAP, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&id), 1);
  XSync(d, False);
}

std::vector<XTestDisplay::WindowId> XTestDisplay::MappedTopLevels() {
  Display* d = D(display_);
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  std::vector<WindowId> mapped;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return mapped;
  for (unsigned int i = 0; i < count; ++i) {
    const WindowId client = ClientIn(children[i]);
    XWindowAttributes a;
    if (client && XGetWindowAttributes(d, client, &a) && a.map_state == IsViewable) mapped.push_back(client);
  }
  if (children) XFree(children);
  return mapped;
}

XTestDisplay::WindowId XTestDisplay::TopLevelAt(const TRect& bounds) {
  Display* d = D(display_);
  WindowId found = 0;
  for (WindowId w : MappedTopLevels()) {
    XWindowAttributes a;
    int x = 0, y = 0;
    Window child;
    if (XGetWindowAttributes(d, w, &a) &&
        XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child) && x == bounds.Left &&
        y == bounds.Top && a.width == bounds.Width() && a.height == bounds.Height())
      found = w;  // the topmost of equal ones
  }
  return found;
}

int XTestDisplay::Depth(WindowId window) {
  XWindowAttributes a;
  return XGetWindowAttributes(D(display_), window, &a) ? a.depth : 0;
}

std::vector<uint32_t> XTestDisplay::WindowPixels(WindowId window, const TRect& area) {
  std::vector<uint32_t> pixels;
  XImage* image =
      XGetImage(D(display_), window, area.Left, area.Top, area.Width(), area.Height(), AllPlanes, ZPixmap);
  if (!image) return pixels;
  for (int y = 0; y < area.Height(); ++y)
    for (int x = 0; x < area.Width(); ++x) pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)));
  XDestroyImage(image);
  return pixels;
}

TRegion XTestDisplay::Shape(WindowId window, bool input) {
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(D(display_), window, input ? ShapeInput : ShapeBounding, &count, &ordering);
  std::vector<TRect> all;
  for (int i = 0; i < count; ++i) all.push_back(Bounds(rects[i].x, rects[i].y, rects[i].width, rects[i].height));
  if (rects) XFree(rects);
  return TRegion::FromRects(all);
}

XTestDisplay::WindowId XTestDisplay::TransientFor(WindowId window) {
  Window owner = 0;
  return XGetTransientForHint(D(display_), window, &owner) ? owner : 0;
}

std::optional<uint32_t> XTestDisplay::Cardinal(WindowId window, const char* property) {
  Display* d = D(display_);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::optional<uint32_t> value;
  if (XGetWindowProperty(d, window, XInternAtom(d, property, False), 0, 1, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) == Success &&
      data && count == 1 && format == 32)
    value = static_cast<uint32_t>(*reinterpret_cast<unsigned long*>(data));
  if (data) XFree(data);
  return value;
}

}  // namespace qz::testing
