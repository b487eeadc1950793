// The stored forms of a skin, from the outside in:
//  - the compressed skin file: version (int32), N (int32), N bytes of zlib stream;
//  - the compressed stream: zlib (RFC 1950), written at level 9;
//  - the stored skin container (the inflated bytes): container version, the
//    picture slots of that version (flag byte, then a BMP file when the flag
//    is 0), the active picture count K, K BMP files, and the description text
//    running to the end.
// All integers are little-endian. Readers check every length against the
// bytes that are there before they allocate anything.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Exception.h"
#include "host/base/Stream.h"

namespace qz {

// A stored skin is damaged (truncated, a length that lies, a bad stream).
class ESkinContainerError : public EReadError { using EReadError::EReadError; };

constexpr int32_t kSkinContainerVersion = 2;  // the version written
constexpr int32_t kSkinContainerMaxVersion = 3;
// Largest inflated container accepted (a guard against zlib bombs).
constexpr size_t kMaxSkinContainerSize = size_t(256) << 20;
// Smallest possible BMP file (file header + core header), used to bound counts.
constexpr size_t kMinBmpFileSize = 26;

// The five picture slots in container order.
enum TqzSkinSlot { ssPicture, ssInactivePicture, ssMask, ssRollUpPicture, ssRollUpMask };
constexpr int kSkinSlotCount = 5;
// Whether a container of that version carries the slot.
bool SkinSlotPresent(int32_t version, TqzSkinSlot slot);
const char* SkinSlotName(TqzSkinSlot slot);

// A parsed container: views into the inflated bytes. An empty span is an
// empty (or absent) slot.
struct TqzSkinContainer {
  int32_t Version = 0;
  std::array<std::span<const uint8_t>, kSkinSlotCount> Slots{};
  std::vector<std::span<const uint8_t>> ActivePictures;
  std::string_view Text;
};

// Parses the layout. Returns false, with only Version set, for a version of
// 4 or more (a newer container this reader does not know). Raises
// ESkinContainerError for a negative version, a truncated container, a slot
// flag without its BMP, a BMP whose headers do not add up (EInvalidGraphic
// from the BMP reader) or a count that the remaining bytes cannot hold.
bool ParseSkinContainer(std::span<const uint8_t> data, TqzSkinContainer& out);

// Builds a container of version 2 (or `version`): empty spans give empty slots
// (flag 1); slots the version does not carry are skipped.
std::vector<uint8_t> BuildSkinContainer(
    const std::array<std::span<const uint8_t>, kSkinSlotCount>& slots,
    std::span<const std::span<const uint8_t>> activePictures, std::string_view text,
    int32_t version = kSkinContainerVersion);

// zlib: level 9 on writing; any valid stream on reading. Inflating stops with
// ESkinContainerError when the stream is damaged, ends early, or would
// exceed maxSize.
std::vector<uint8_t> DeflateSkinStream(std::span<const uint8_t> data);

// Inflated bytes in a buffer that is not zero-filled first (the loader's
// path: inflating is the largest part of loading a skin).
class TqzInflatedSkin {
 public:
  std::span<const uint8_t> Bytes() const { return {data_.get(), size_}; }
  size_t Size() const { return size_; }

 private:
  friend TqzInflatedSkin InflateSkin(std::span<const uint8_t>, size_t);
  std::unique_ptr<uint8_t[]> data_;
  size_t size_ = 0;
};
TqzInflatedSkin InflateSkin(std::span<const uint8_t> compressed,
                            size_t maxSize = kMaxSkinContainerSize);
std::vector<uint8_t> InflateSkinStream(std::span<const uint8_t> compressed,
                                       size_t maxSize = kMaxSkinContainerSize);

// The compressed skin file. Reading returns false (stream left empty) for a
// file version above 3; ESkinContainerError when the header is short, the
// version negative or N larger than the bytes that follow.
bool ReadCompressedSkinFile(TStream& stream, std::vector<uint8_t>& compressed);
void WriteCompressedSkinFile(TStream& stream, std::span<const uint8_t> compressed);

}  // namespace qz
