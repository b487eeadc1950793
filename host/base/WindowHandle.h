// A window handle: the generation-counted id of a window in the window
// system's handle table (host/ui/HandleTable.h), never the control's
// address. A handle names one window for ever: when the window is destroyed
// its slot's generation moves on, so the old value never reaches a window
// created later, and every function taking a handle fails quietly for it.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace qz {

class TWinControl;
class TWindowNode;

class HWND {
 public:
  constexpr HWND() = default;
  constexpr HWND(std::nullptr_t) {}  // NOLINT: null handle, as for pointers
  // The window's current handle, null when it has none. Never creates one
  // (TWinControl::Handle() does).
  HWND(const TWindowNode* node);     // NOLINT: windows stand for their handle
  HWND(const TWinControl* control);  // NOLINT: controls stand for their window

  static constexpr HWND FromValue(uint64_t value) {
    HWND h;
    h.value_ = value;
    return h;
  }
  static constexpr HWND Make(uint32_t slot, uint32_t generation) {
    return FromValue((uint64_t{generation} << 32) | slot);
  }
  // The packed value (for WPARAM/LPARAM); FromValue gives the handle back.
  constexpr uint64_t Value() const { return value_; }
  constexpr uint32_t Slot() const { return static_cast<uint32_t>(value_); }
  constexpr uint32_t Generation() const { return static_cast<uint32_t>(value_ >> 32); }

  explicit constexpr operator bool() const { return value_ != 0; }
  friend constexpr bool operator==(const HWND&, const HWND&) = default;
  friend constexpr auto operator<=>(const HWND&, const HWND&) = default;

 private:
  uint64_t value_ = 0;
};

}  // namespace qz

template <>
struct std::hash<qz::HWND> {
  size_t operator()(const qz::HWND& h) const noexcept { return std::hash<uint64_t>{}(h.Value()); }
};
