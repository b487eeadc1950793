// Fuzz target for reading a cached thumbnail: its PNG chunks and keys, then
// its picture, as the cache reader does. Any input is either refused with
// EInvalidGraphic or gives keys within the limits and a picture no larger
// than the box; the keys written back read again the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "host/base/Exception.h"
#include "host/shell/ImageThumbnails.h"
#include "host/shell/ThumbnailCache.h"
#include "skin/draw/PngImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  qz::TThumbnailPngInfo info;
  try {
    info = qz::ReadThumbnailPngInfo(file, 512);
  } catch (const qz::EInvalidGraphic&) {
    return 0;
  }
  if (info.Width < 1 || info.Height < 1 || info.Width > 512 || info.Height > 512 ||
      info.Keys.size() > qz::kThumbnailMaxKeys)
    std::abort();
  std::vector<std::pair<std::string, std::string>> keys;
  for (const auto& [key, value] : info.Keys)
    if (!key.empty() && key.size() <= 79 && key.find('\0') == std::string::npos &&
        value.find('\0') == std::string::npos)
      keys.emplace_back(key, value);
  const std::vector<uint8_t> again = qz::EncodeThumbnailPng(qz::TPixmap(2, 3, 0xFF102030u), keys);
  const qz::TThumbnailPngInfo reread = qz::ReadThumbnailPngInfo(again);
  if (reread.Keys.size() != keys.size() || reread.Width != 2 || reread.Height != 3) std::abort();
  for (const auto& [key, value] : keys)
    if (!reread.Find(key) || *reread.Find(key) != value) std::abort();
  const qz::TIconDecoder decode = [](std::span<const uint8_t> bytes) {
    return std::optional<qz::TPixmap>(qz::TqzPngImage::DecodeToPixmap(bytes));
  };
  try {
    const qz::TPixmap picture = qz::MakeImageThumbnail(file, 128, 512 * 512, decode);
    if (picture.Empty() || picture.Width() > 128 || picture.Height() > 128) std::abort();
  } catch (const qz::EInvalidGraphic&) {
  }
  return 0;
}
