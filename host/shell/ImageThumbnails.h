// Thumbnails of the image files the program decodes itself: PNG (through
// the PNG reader the caller gives), JPEG (libjpeg-turbo, decoded at the
// smallest DCT scale that still covers the thumbnail) and BMP. Pictures are
// shrunk with an area filter to fit a square, keeping their proportions;
// smaller ones keep their size.
//
// The memory a picture takes is bounded before it is decoded: a picture
// whose decoded pixels would exceed the budget is refused by the sizes in
// its header, never allocated. Stateless: safe on any thread.
#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "host/graphics/Pixmap.h"
#include "host/shell/IconTheme.h"

namespace qz {

enum class TImageFormat { Unknown, Png, Jpeg, Bmp };

// The format by the file's first bytes (not by its name or type).
TImageFormat SniffImageFormat(std::span<const uint8_t> head);

// The size of a width x height picture fitted into box x box (never
// enlarged, at least 1 x 1).
std::pair<int, int> FitThumbnailSize(int width, int height, int box);
// The picture shrunk to FitThumbnailSize (a copy when it fits already).
TPixmap FitThumbnail(const TPixmap& picture, int box);

// Default budget: 32 Mi pixels (128 MiB decoded), a 40-megapixel photo.
constexpr uint64_t kThumbnailMaxSourcePixels = uint64_t(1) << 25;

// The thumbnail of a whole image file, fitted into box x box. Raises
// EInvalidGraphic naming the fault: an unknown format, a picture over the
// pixel budget, a file the decoder refuses, cut short or empty.
// decodePng is the PNG reader (it may raise qz::Exception itself).
TPixmap MakeImageThumbnail(std::span<const uint8_t> file, int box, uint64_t maxPixels,
                           const TIconDecoder& decodePng);

// The orientation tag (0x0112) of an APP1 Exif segment's first IFD (the
// segment's bytes after its length: "Exif\0\0" and the TIFF data), 1 to 8;
// 1 (as stored) for a segment without one or one that is malformed. Reads
// only inside the segment and at most kMaxExifEntries entries.
int ExifOrientation(std::span<const uint8_t> app1);
constexpr int kMaxExifEntries = 512;
// The picture turned upright for an Exif orientation: 2 mirrored, 3 turned
// half round, 4 flipped, 5 transposed, 6 turned a quarter clockwise, 7
// transversed, 8 turned a quarter anticlockwise; others as they are.
TPixmap OrientPixmap(const TPixmap& picture, int orientation);

// A JPEG file decoded at the smallest scale n/8 that still covers its
// size fitted into box x box (not yet shrunk to it) and turned upright by
// its Exif orientation. Raises EInvalidGraphic; a file cut short is
// refused, not shown half grey.
TPixmap DecodeJpegForBox(std::span<const uint8_t> file, int box, uint64_t maxPixels);

}  // namespace qz
