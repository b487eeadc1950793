// Builds small PNG files for tests straight from zlib, independent of the
// reader's own writer: header fields, raw rows (filter byte first) and any
// extra chunks.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qz::test {

using Bytes = std::vector<uint8_t>;

inline void PutU32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

inline Bytes Chunk(const std::string& type, const Bytes& data) {
  Bytes out;
  PutU32(out, uint32_t(data.size()));
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
  if (!data.empty()) crc = crc32(crc, data.data(), uInt(data.size()));
  PutU32(out, uint32_t(crc));
  return out;
}

inline Bytes Ihdr(uint32_t w, uint32_t h, int depth, int colorType, int interlace = 0) {
  Bytes d;
  PutU32(d, w);
  PutU32(d, h);
  d.insert(d.end(), {uint8_t(depth), uint8_t(colorType), 0, 0, uint8_t(interlace)});
  return Chunk("IHDR", d);
}

inline Bytes Zlib(const Bytes& raw) {
  uLongf size = compressBound(uLong(raw.size()));
  Bytes out(size);
  compress2(out.data(), &size, raw.data(), uLong(raw.size()), 6);
  out.resize(size);
  return out;
}

inline Bytes Signature() { return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}; }

// Concatenates parts into one file.
inline Bytes Png(std::initializer_list<Bytes> parts) {
  Bytes out = Signature();
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline Bytes Iend() { return Chunk("IEND", {}); }

// Raw rows of an 8-bit image, filter type 0 on every row.
inline Bytes RawRows(int rowBytes, const Bytes& pixels) {
  Bytes raw;
  for (size_t at = 0; at < pixels.size(); at += rowBytes) {
    raw.push_back(0);
    raw.insert(raw.end(), pixels.begin() + at, pixels.begin() + at + rowBytes);
  }
  return raw;
}

}  // namespace qz::test
