// PNG writer: 8-bit RGBA (or RGB) images compressed with zlib. Screenshots of
// headless windows and test images go out through it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/graphics/Pixmap.h"

namespace qz {

// Encodes the pixmap as a complete PNG file. withAlpha writes colour type 6
// (RGBA, alpha as stored, not premultiplied); otherwise colour type 2 (RGB,
// alpha dropped). An empty pixmap raises EInvalidGraphic (PNG has no 0-pixel
// images).
std::vector<uint8_t> EncodePng(const TPixmap& pixels, bool withAlpha = true);

// EncodePng, then writes the bytes to path (EFOpenError / EWriteError on failure).
void SavePng(const TPixmap& pixels, const std::string& path, bool withAlpha = true);

}  // namespace qz
