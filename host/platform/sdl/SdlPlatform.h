// The SDL2/X11 platform: real top-level windows on an X display. Windows
// carry no system decorations (the window system draws frames); popups are
// override-redirect windows that never take the focus; shapes use the X11
// SHAPE extension; per-pixel alpha pictures go, on a display with a
// compositing manager, to a window of the 32-bit ARGB visual (without one the
// window is shaped to the picture's visible pixels); the pointer is read
// from the raw X events so its screen position is exact even while a window
// is being moved.
#pragma once

#include <memory>

#include "host/platform/Platform.h"

namespace qz {

// Opens the display named by $DISPLAY. Throws Exception when SDL's video
// cannot start there (no display, no X11).
std::unique_ptr<IPlatform> CreateSdlPlatform();

}  // namespace qz
