// A test's own connection to the X server: reads screen pixels and fakes
// pointer and keyboard input with the XTEST extension. X headers stay in the
// .cpp (their macros, FocusIn and friends, clash with platform names).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/graphics/Region.h"

namespace qz::testing {

class XTestDisplay {
 public:
  static std::unique_ptr<XTestDisplay> Open(const std::string& name);  // null on failure
  ~XTestDisplay();

  // The colour at a screen point, 0xRRGGBB.
  uint32_t Rgb(int x, int y);
  void Move(int x, int y);
  void Button(unsigned button, bool down);
  // keysym by its X name: "a", "Shift_L", "Return".
  void Key(const char* keysym, bool down);

  // Owns the compositing manager selection _NET_WM_CM_S0, as a compositor
  // does (given up again on false, or when this connection closes).
  void OwnCompositorSelection(bool own);

  // Fills the root with one colour and names it as the desktop's wallpaper
  // (_XROOTPMAP_ID, which compositors paint where no window is). The
  // picture lives as long as this connection.
  void SetWallpaper(uint32_t rgb);

  using WindowId = unsigned long;
  // The window a window manager names on the root (_NET_SUPPORTING_WM_CHECK,
  // naming itself as well), 0 when no window manager runs.
  WindowId WindowManagerCheck();
  // The owner of a selection such as _NET_WM_CM_S0, 0 when it has none.
  WindowId SelectionOwner(const char* selection);
  // The mapped top-level window with exactly these screen bounds (0: none),
  // and its depth. Under a window manager that is the client window inside
  // its frame.
  WindowId TopLevelAt(const TRect& bounds);
  int Depth(WindowId window);
  // The window's own pixels, row by row: for a depth-32 window all 32 bits.
  std::vector<uint32_t> WindowPixels(WindowId window, const TRect& area);
  // The window's bounding (or input) shape in window coordinates.
  TRegion Shape(WindowId window, bool input);
  WindowId TransientFor(WindowId window);
  // A CARDINAL/32 property, nullopt when the window has none.
  std::optional<uint32_t> Cardinal(WindowId window, const char* property);
  // The mapped top-level windows, bottom to top: the root's children, or
  // for a frame of a window manager the client window in it.
  std::vector<WindowId> MappedTopLevels();

  // On a connection of its own (whose errors nobody here ignores), sends a
  // message to a window that is already destroyed and waits for the server's
  // answer: the BadWindow error goes to the process's error handler.
  static void MessageAWindowGone(const std::string& name);
  // The same, but nothing reads the server's answer until the returned
  // connection closes: then the error reaches whichever handler the process
  // has at that moment.
  using UnreadConnection = std::unique_ptr<void, void (*)(void*)>;
  static UnreadConnection MessageAWindowGoneUnread(const std::string& name);

  // Makes Xlib's default handler (which ends the process) the process's X
  // error handler, as in a program that set none, until the returned
  // object goes; then the handler before is back.
  using HandlerRestorer = std::unique_ptr<void, void (*)(void*)>;
  static HandlerRestorer UseXlibDefaultErrorHandler();

 private:
  explicit XTestDisplay(void* display) : display_(display) {}
  WindowId ClientIn(WindowId window);
  std::optional<WindowId> WindowProperty(WindowId window, const char* property);
  void* display_;
  WindowId selectionOwner_ = 0;
};

}  // namespace qz::testing
