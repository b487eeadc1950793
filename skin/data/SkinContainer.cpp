#include "skin/data/SkinContainer.h"

#include <zlib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "host/graphics/BmpCodec.h"

namespace qz {

bool SkinSlotPresent(int32_t version, TqzSkinSlot slot) {
  switch (slot) {
    case ssPicture:
    case ssMask: return true;
    case ssInactivePicture: return version == 2 || version == 3;
    case ssRollUpPicture:
    case ssRollUpMask: return version == 1 || version == 2;
  }
  return false;
}

const char* SkinSlotName(TqzSkinSlot slot) {
  static constexpr const char* names[] = {"picture", "inactivepicture", "mask", "rolluppicture",
                                          "rollupmask"};
  return names[slot];
}

namespace {

// Sequential reader over the container bytes; never reads past the end.
class TContainerCursor {
 public:
  explicit TContainerCursor(std::span<const uint8_t> data) : data_(data) {}
  size_t Remaining() const { return data_.size() - pos_; }
  size_t Position() const { return pos_; }

  int32_t ReadInt32(const char* what) {
    Need(4, what);
    int32_t v;
    std::memcpy(&v, data_.data() + pos_, 4);
    pos_ += 4;
    return v;
  }
  uint8_t ReadByte(const char* what) {
    Need(1, what);
    return data_[pos_++];
  }
  std::span<const uint8_t> ReadBmp(const std::string& what) {
    if (Remaining() < kMinBmpFileSize)
      Fail("the container ends before the bitmap of " + what);
    uint32_t length;
    try {
      length = BmpFileLength(data_.subspan(pos_));
    } catch (const EInvalidGraphic& e) {
      Fail("the bitmap of " + what + " is invalid: " + e.what());
    }
    if (length > Remaining()) Fail("the bitmap of " + what + " runs past the end of the container");
    auto bmp = data_.subspan(pos_, length);
    pos_ += length;
    return bmp;
  }
  std::string_view Rest() const {
    return {reinterpret_cast<const char*>(data_.data()) + pos_, Remaining()};
  }

  [[noreturn]] void Fail(const std::string& why) const {
    throw ESkinContainerError("Damaged skin container at offset " + std::to_string(pos_) + ": " +
                              why);
  }

 private:
  void Need(size_t n, const char* what) const {
    if (Remaining() < n) Fail(std::string("the container ends before the ") + what);
  }
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

}  // namespace

bool ParseSkinContainer(std::span<const uint8_t> data, TqzSkinContainer& out) {
  out = TqzSkinContainer{};
  TContainerCursor cur(data);
  out.Version = cur.ReadInt32("container version");
  if (out.Version > kSkinContainerMaxVersion) return false;
  if (out.Version < 0)
    throw ESkinContainerError("Invalid skin container version " + std::to_string(out.Version));

  for (int s = 0; s < kSkinSlotCount; ++s) {
    auto slot = static_cast<TqzSkinSlot>(s);
    if (!SkinSlotPresent(out.Version, slot)) continue;
    std::string what = std::string("slot \"") + SkinSlotName(slot) + "\"";
    if (cur.ReadByte((what + " flag").c_str()) == 0) out.Slots[s] = cur.ReadBmp(what);
  }

  int32_t count = cur.ReadInt32("active picture count");
  if (count < 0) cur.Fail("negative active picture count " + std::to_string(count));
  // Every picture needs at least a minimal BMP: refuse counts the bytes cannot hold.
  if (static_cast<uint64_t>(count) * kMinBmpFileSize > cur.Remaining())
    cur.Fail("active picture count " + std::to_string(count) + " exceeds what the container holds");
  out.ActivePictures.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i)
    out.ActivePictures.push_back(cur.ReadBmp("active picture " + std::to_string(i)));

  out.Text = cur.Rest();
  return true;
}

std::vector<uint8_t> BuildSkinContainer(
    const std::array<std::span<const uint8_t>, kSkinSlotCount>& slots,
    std::span<const std::span<const uint8_t>> activePictures, std::string_view text,
    int32_t version) {
  std::vector<uint8_t> out;
  auto put = [&out](const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    out.insert(out.end(), b, b + n);
  };
  put(&version, 4);
  for (int s = 0; s < kSkinSlotCount; ++s) {
    if (!SkinSlotPresent(version, static_cast<TqzSkinSlot>(s))) continue;
    uint8_t flag = slots[s].empty() ? 1 : 0;
    put(&flag, 1);
    put(slots[s].data(), slots[s].size());
  }
  int32_t count = static_cast<int32_t>(activePictures.size());
  put(&count, 4);
  for (const auto& bmp : activePictures) put(bmp.data(), bmp.size());
  put(text.data(), text.size());
  return out;
}

std::vector<uint8_t> DeflateSkinStream(std::span<const uint8_t> data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::vector<uint8_t> out(size);
  int rc = compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9);
  if (rc != Z_OK) throw EWriteError("Cannot compress the skin (zlib error " + std::to_string(rc) + ")");
  out.resize(size);
  return out;
}

namespace {

// zlib's own check of the stream's Adler-32 is switched off
// (inflateValidate): the sum is computed here over the output with packed
// instructions where available and compared with the stream's trailer. Same
// result, a fraction of the time: zlib's byte-at-a-time loop was a fifth of
// a skin load.
constexpr uint32_t kAdlerBase = 65521;
// Bytes after which the sums must be reduced so that they fit 32 bits.
constexpr size_t kAdlerNmax = 5552;

uint32_t Adler32Scalar(uint32_t adler, const uint8_t* p, size_t n) {
  uint32_t s1 = adler & 0xFFFF, s2 = adler >> 16;
  while (n > 0) {
    size_t chunk = std::min(n, kAdlerNmax);
    n -= chunk;
    while (chunk--) {
      s1 += *p++;
      s2 += s1;
    }
    s1 %= kAdlerBase;
    s2 %= kAdlerBase;
  }
  return (s2 << 16) | s1;
}

#if defined(__SSE2__)
inline uint32_t HorizontalSum(__m128i v) {
  v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
  v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
  return uint32_t(_mm_cvtsi128_si32(v));
}

// 32 bytes at a time: s1 gains their sum, s2 gains 32 * s1 before them
// plus their sum weighted 32 .. 1.
uint32_t Adler32(uint32_t adler, const uint8_t* p, size_t n) {
  constexpr size_t kBlock = 32;
  uint32_t s1 = adler & 0xFFFF, s2 = adler >> 16;
  const __m128i zero = _mm_setzero_si128();
  const __m128i w1 = _mm_setr_epi16(32, 31, 30, 29, 28, 27, 26, 25);
  const __m128i w2 = _mm_setr_epi16(24, 23, 22, 21, 20, 19, 18, 17);
  const __m128i w3 = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
  const __m128i w4 = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
  while (n >= kBlock) {
    size_t blocks = std::min(n, kAdlerNmax) / kBlock;
    n -= blocks * kBlock;
    __m128i before = _mm_cvtsi32_si128(int(s1 * blocks));  // s1 ahead of every block
    __m128i sum1 = zero, sum2 = _mm_cvtsi32_si128(int(s2));
    do {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
      before = _mm_add_epi32(before, sum1);
      sum1 = _mm_add_epi32(sum1, _mm_add_epi32(_mm_sad_epu8(a, zero), _mm_sad_epu8(b, zero)));
      const __m128i wa = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(a, zero), w1),
                                       _mm_madd_epi16(_mm_unpackhi_epi8(a, zero), w2));
      const __m128i wb = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(b, zero), w3),
                                       _mm_madd_epi16(_mm_unpackhi_epi8(b, zero), w4));
      sum2 = _mm_add_epi32(sum2, _mm_add_epi32(wa, wb));
      p += kBlock;
    } while (--blocks);
    sum2 = _mm_add_epi32(sum2, _mm_slli_epi32(before, 5));
    s1 = (s1 + HorizontalSum(sum1)) % kAdlerBase;
    s2 = HorizontalSum(sum2) % kAdlerBase;
  }
  return Adler32Scalar((s2 << 16) | s1, p, n);
}
#else
uint32_t Adler32(uint32_t adler, const uint8_t* p, size_t n) { return Adler32Scalar(adler, p, n); }
#endif

// The stream ends with the Adler-32 of the data, big-endian: the four bytes
// zlib read last.
void CheckTrailer(const z_stream& zs, uint32_t adler) {
  const uint8_t* t = zs.next_in - 4;
  const uint32_t stored =
      (uint32_t(t[0]) << 24) | (uint32_t(t[1]) << 16) | (uint32_t(t[2]) << 8) | t[3];
  if (stored != adler)
    throw ESkinContainerError("The compressed skin stream is damaged: incorrect data check");
}

}  // namespace

TqzInflatedSkin InflateSkin(std::span<const uint8_t> compressed, size_t maxSize) {
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK || inflateValidate(&zs, 0) != Z_OK)
    throw ESkinContainerError("Cannot start inflating the skin");
  struct TEnd {
    z_stream* zs;
    ~TEnd() { inflateEnd(zs); }
  } end{&zs};

  // Skins inflate to about 30 times their compressed size. The buffer is not
  // zero-filled, so pages beyond what the stream produces are never touched.
  size_t capacity = std::min(maxSize, std::max<size_t>(compressed.size() * 64, 64 * 1024));
  auto buffer = std::unique_ptr<uint8_t[]>(new uint8_t[capacity]);
  zs.next_in = const_cast<Bytef*>(compressed.data());
  zs.avail_in = static_cast<uInt>(compressed.size());
  size_t produced = 0;
  uint32_t adler = 1;
  for (;;) {
    if (produced == capacity) {
      if (capacity >= maxSize)
        throw ESkinContainerError("The skin inflates to more than " +
                                  std::to_string(maxSize >> 20) + " MiB");
      size_t grown = std::min(maxSize, capacity * 2);
      auto bigger = std::unique_ptr<uint8_t[]>(new uint8_t[grown]);
      std::memcpy(bigger.get(), buffer.get(), produced);
      buffer = std::move(bigger);
      capacity = grown;
    }
    zs.next_out = buffer.get() + produced;
    zs.avail_out = static_cast<uInt>(std::min<size_t>(capacity - produced, 1u << 30));
    uInt before = zs.avail_out;
    int rc = inflate(&zs, Z_NO_FLUSH);
    const size_t made = before - zs.avail_out;
    adler = Adler32(adler, buffer.get() + produced, made);
    produced += made;
    if (rc == Z_STREAM_END) {
      CheckTrailer(zs, adler);
      break;
    }
    if (rc == Z_BUF_ERROR && zs.avail_in == 0)
      throw ESkinContainerError("The compressed skin stream ends early");
    if (rc != Z_OK && rc != Z_BUF_ERROR)
      throw ESkinContainerError(std::string("The compressed skin stream is damaged: ") +
                                (zs.msg ? zs.msg : "zlib error " + std::to_string(rc)));
  }
  TqzInflatedSkin out;
  out.data_ = std::move(buffer);
  out.size_ = produced;
  return out;
}

std::vector<uint8_t> InflateSkinStream(std::span<const uint8_t> compressed, size_t maxSize) {
  TqzInflatedSkin inflated = InflateSkin(compressed, maxSize);
  return {inflated.Bytes().begin(), inflated.Bytes().end()};
}

bool ReadCompressedSkinFile(TStream& stream, std::vector<uint8_t>& compressed) {
  compressed.clear();
  if (stream.Remaining() < 4) throw ESkinContainerError("The compressed skin file is too short");
  int32_t version = stream.ReadValue<int32_t>();
  if (version > kSkinContainerMaxVersion) return false;
  if (version < 0)
    throw ESkinContainerError("Invalid compressed skin file version " + std::to_string(version));
  if (stream.Remaining() < 4) throw ESkinContainerError("The compressed skin file is too short");
  int32_t length = stream.ReadValue<int32_t>();
  if (length < 0 || length > stream.Remaining())
    throw ESkinContainerError("The compressed skin file says " + std::to_string(length) +
                              " bytes follow but " + std::to_string(stream.Remaining()) + " do");
  compressed.resize(static_cast<size_t>(length));
  stream.ReadBuffer(compressed.data(), compressed.size());
  return true;
}

void WriteCompressedSkinFile(TStream& stream, std::span<const uint8_t> compressed) {
  stream.WriteValue<int32_t>(kSkinContainerVersion);
  stream.WriteValue<int32_t>(static_cast<int32_t>(compressed.size()));
  stream.WriteBuffer(compressed.data(), compressed.size());
}

}  // namespace qz
