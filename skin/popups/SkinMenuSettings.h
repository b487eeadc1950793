// The menu settings a form's controller passes to its menu engine and each
// popup level copies when it opens.
#pragma once

#include <cstdint>
#include <string>

#include "host/graphics/Font.h"

namespace qz {

// What the controller's published menu properties feed into the engine.
struct TqzSkinMenuSettings {
  bool UseSkinFont = true;
  bool UseSkinSize = true;
  int DefItemHeight = 20;
  std::string DefFontName = "Tahoma";
  int DefFontHeight = 13;
  TFontStyles DefFontStyle{};
  // Items are drawn in the character set of the skin's resource strings,
  // else in this one.
  TFontCharset DefFontCharset = DEFAULT_CHARSET;
  bool AlphaBlend = false;
  uint8_t AlphaBlendValue = 200;
  bool AlphaBlendAnimation = false;
  int MaxItemsInWindow = 0;
};

}  // namespace qz
