#include "XTestDisplay.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

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

}  // namespace qz::testing
