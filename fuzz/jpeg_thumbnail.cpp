// Fuzz target for the JPEG path of the thumbnails: a file as JPEG (its
// header, its Exif orientation, its scaled decoding) and the same bytes as
// an APP1 Exif segment. Any input is refused with EInvalidGraphic or gives
// a picture no larger than the box; the orientation is always 1 to 8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "host/base/Exception.h"
#include "host/shell/ImageThumbnails.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  std::vector<uint8_t> exif = {'E', 'x', 'i', 'f', 0, 0};
  exif.insert(exif.end(), data, data + size);
  const int orientation = qz::ExifOrientation(exif);
  if (orientation < 1 || orientation > 8 || qz::ExifOrientation(bytes) < 1) std::abort();
  // As a JPEG file, whatever its first bytes say.
  std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF};
  jpeg.insert(jpeg.end(), data, data + size);
  for (const std::span<const uint8_t> file : {bytes, std::span<const uint8_t>(jpeg)}) {
    try {
      const qz::TPixmap picture = qz::MakeImageThumbnail(file, 64, 1 << 20, {});
      if (picture.Empty() || picture.Width() > 64 || picture.Height() > 64) std::abort();
    } catch (const qz::EInvalidGraphic&) {
    }
  }
  return 0;
}
