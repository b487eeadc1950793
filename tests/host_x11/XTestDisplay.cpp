#include "XTestDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

namespace qz::testing {

namespace {
Display* D(void* d) { return static_cast<Display*>(d); }
}  // namespace

std::unique_ptr<XTestDisplay> XTestDisplay::Open(const std::string& name) {
  Display* d = XOpenDisplay(name.c_str());
  return d ? std::unique_ptr<XTestDisplay>(new XTestDisplay(d)) : nullptr;
}

XTestDisplay::~XTestDisplay() { XCloseDisplay(D(display_)); }

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

std::vector<XTestDisplay::WindowId> XTestDisplay::MappedTopLevels() {
  Display* d = D(display_);
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  std::vector<WindowId> mapped;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return mapped;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) mapped.push_back(children[i]);
  }
  if (children) XFree(children);
  return mapped;
}

XTestDisplay::WindowId XTestDisplay::TopLevelAt(const TRect& bounds) {
  WindowId found = 0;
  for (WindowId w : MappedTopLevels()) {
    XWindowAttributes a;
    if (XGetWindowAttributes(D(display_), w, &a) && a.x == bounds.Left && a.y == bounds.Top &&
        a.width == bounds.Width() && a.height == bounds.Height())
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
