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

  using WindowId = unsigned long;
  // The mapped top-level window with exactly these bounds (0: none), and its depth.
  WindowId TopLevelAt(const TRect& bounds);
  int Depth(WindowId window);
  // The window's own pixels, row by row: for a depth-32 window all 32 bits.
  std::vector<uint32_t> WindowPixels(WindowId window, const TRect& area);
  // The window's bounding (or input) shape in window coordinates.
  TRegion Shape(WindowId window, bool input);
  WindowId TransientFor(WindowId window);
  // A CARDINAL/32 property, nullopt when the window has none.
  std::optional<uint32_t> Cardinal(WindowId window, const char* property);
  // The root's mapped children, bottom to top.
  std::vector<WindowId> MappedTopLevels();

 private:
  explicit XTestDisplay(void* display) : display_(display) {}
  void* display_;
  WindowId selectionOwner_ = 0;
};

}  // namespace qz::testing
