// A test's own connection to the X server: reads screen pixels and fakes
// pointer and keyboard input with the XTEST extension. X headers stay in the
// .cpp (their macros, FocusIn and friends, clash with platform names).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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

 private:
  explicit XTestDisplay(void* display) : display_(display) {}
  void* display_;
};

}  // namespace qz::testing
