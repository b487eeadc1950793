// The tool-button images of the file dialogs, drawn in code: back arrow, up
// arrow, new folder, view styles and fit picture. Each is 16 x 16 pixels with
// straight alpha (soft edges). The build stores them as PNG program resources
// under the names below.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/graphics/Pixmap.h"

namespace qz {

enum class TqzToolImage { tiBack, tiUp, tiNewFolder, tiLvStyle, tiStretch };

constexpr std::array<TqzToolImage, 5> kToolImages = {
    TqzToolImage::tiBack, TqzToolImage::tiUp, TqzToolImage::tiNewFolder,
    TqzToolImage::tiLvStyle, TqzToolImage::tiStretch};

constexpr int kToolImageSize = 16;

// "QZ_BACK_PNG", "QZ_UP_PNG", "QZ_NEWFOLDER_PNG", "QZ_LVSTYLE_PNG", "QZ_STRETCH_PNG".
std::string ToolImageResourceName(TqzToolImage image);

// The picture: 16 x 16, 0xAARRGGBB, straight alpha.
TPixmap DrawToolImage(TqzToolImage image);

// The picture as a PNG file (colour type 6, 8 bits, not interlaced).
std::vector<uint8_t> EncodeToolImage(TqzToolImage image);

}  // namespace qz
