// Sets of enumeration values (the framework's "set of" properties such as
// [fsBold, fsItalic] or [biMinimize, biMaximize]). Bit n stands for value n.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace qz {

template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) Include(v);
  }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr uint64_t Bits() const { return bits_; }
  constexpr bool Contains(E v) const { return (bits_ >> Index(v)) & 1u; }
  constexpr TSet& Include(E v) {
    bits_ |= uint64_t(1) << Index(v);
    return *this;
  }
  constexpr TSet& Exclude(E v) {
    bits_ &= ~(uint64_t(1) << Index(v));
    return *this;
  }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr unsigned Index(E v) { return static_cast<unsigned>(v); }
  uint64_t bits_ = 0;
};

}  // namespace qz
