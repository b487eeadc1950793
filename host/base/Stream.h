// Byte streams: the memory stream carries form resources, skin containers and
// pictures; the file stream is for tools. ReadBuffer throws on a short read,
// so readers never see bytes that are not there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "host/base/Exception.h"
#include "host/base/Object.h"

namespace qz {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
  QZ_CLASS(TStream, TObject)
 public:
  // Reads up to count bytes, returns how many were read.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
  virtual int64_t Size();
  int64_t Remaining() { return Size() - Position(); }

  // Exact reads and writes; EReadError "Stream read error" on a short read.
  void ReadBuffer(void* buffer, size_t count);
  void WriteBuffer(const void* buffer, size_t count);
  template <class T>
  T ReadValue() {  // little-endian plain value
    T v;
    ReadBuffer(&v, sizeof v);
    return v;
  }
  template <class T>
  void WriteValue(const T& v) {
    WriteBuffer(&v, sizeof v);
  }
  // Copies count bytes from source (all of it from its start when count is 0).
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
  QZ_CLASS(TMemoryStream, TStream)
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> data) : data_(std::move(data)) {}
  TMemoryStream(const void* data, size_t size)
      : data_(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size) {}

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }

  void SetSize(size_t size) { data_.resize(size); if (pos_ > size) pos_ = size; }
  void Clear() { data_.clear(); pos_ = 0; }
  const uint8_t* Memory() const { return data_.data(); }
  uint8_t* Memory() { return data_.data(); }
  std::span<const uint8_t> Bytes() const { return data_; }
  std::vector<uint8_t>& Data() { return data_; }
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

 private:
  std::vector<uint8_t> data_;
  size_t pos_ = 0;
};

// Read-only view over bytes owned elsewhere (embedded resources, fuzz input).
class TBytesStream : public TStream {
  QZ_CLASS(TBytesStream, TStream)
 public:
  TBytesStream(const void* data, size_t size)
      : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  explicit TBytesStream(std::span<const uint8_t> s) : TBytesStream(s.data(), s.size()) {}
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void*, size_t) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(size_); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

enum class TFileMode { fmOpenRead, fmCreate };

class TFileStream : public TStream {
  QZ_CLASS(TFileStream, TStream)
 public:
  // EFOpenError "Cannot open file \"<path>\": <reason>" when it fails.
  TFileStream(const std::string& path, TFileMode mode);
  ~TFileStream() override;
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

 private:
  std::FILE* file_ = nullptr;
};

// Whole-file helpers for tools and tests.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace qz
