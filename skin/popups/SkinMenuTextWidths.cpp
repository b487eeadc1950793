#include "skin/popups/SkinMenuTextWidths.h"

#include "host/graphics/Canvas.h"
#include "host/graphics/Pixmap.h"

namespace qz {

std::string TqzMenuTextWidths::KeyOf(const TFont& font, const std::string& text) {
  std::string key = font.Name();
  key += '\0';
  key += std::to_string(font.Height());
  key += '/';
  key += std::to_string(font.Style().Bits());
  key += '/';
  key += std::to_string(font.Charset());
  key += '\0';
  key += text;
  return key;
}

int TqzMenuTextWidths::Width(const TFont& font, const std::string& text) {
  std::string key = KeyOf(font, text);
  if (auto it = widths_.find(key); it != widths_.end()) return it->second;
  TCanvas c;
  c.Font().Assign(font);
  TRect r{0, 0, 0, 0};
  c.DrawText(text, r, DT_CALCRECT | DT_SINGLELINE);
  if (Count() >= kMaxEntries) widths_.clear();
  widths_.emplace(std::move(key), r.Width());
  return r.Width();
}

}  // namespace qz
