// Widths of menu item texts kept across openings. Every opening of a level
// measures each caption (with its short cut) to size the window; the same
// menu opened again has the same texts in the same font, so each text is
// measured once per font. The font's name, height, style and character set
// are part of the key: another skin or another default font measures anew.
#pragma once

#include <string>
#include <unordered_map>

#include "host/graphics/Font.h"

namespace qz {

class TqzMenuTextWidths {
 public:
  // The width of `text` on one line in `font` (as DrawText with
  // DT_CALCRECT | DT_SINGLELINE measures it; "&" marks an accelerator).
  int Width(const TFont& font, const std::string& text);
  int Count() const { return static_cast<int>(widths_.size()); }
  void Clear() { widths_.clear(); }

  // Kept texts at most; the store starts anew beyond.
  static constexpr int kMaxEntries = 2048;

 private:
  static std::string KeyOf(const TFont& font, const std::string& text);
  std::unordered_map<std::string, int> widths_;
};

}  // namespace qz
