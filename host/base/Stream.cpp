#include "host/base/Stream.h"

#include <cerrno>
#include <cstring>

namespace qz {

int64_t TStream::Size() {
  const int64_t pos = Position();
  const int64_t end = Seek(0, TSeekOrigin::soEnd);
  Seek(pos, TSeekOrigin::soBeginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  uint8_t buf[65536];
  int64_t left = count;
  while (left > 0) {
    const size_t n = static_cast<size_t>(std::min<int64_t>(left, sizeof buf));
    source.ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    left -= static_cast<int64_t>(n);
  }
  return count;
}

static size_t ClampSeek(int64_t base, int64_t offset, size_t size) {
  const int64_t p = base + offset;
  if (p < 0) return 0;
  (void)size;  // seeking past the end is allowed; reads there return nothing
  return static_cast<size_t>(p);
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (pos_ >= data_.size()) return 0;
  const size_t n = std::min(count, data_.size() - pos_);
  std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
  if (pos_ + count > data_.size()) data_.resize(pos_ + count);
  if (count) std::memcpy(data_.data() + pos_, buffer, count);
  pos_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == TSeekOrigin::soBeginning ? 0
                       : origin == TSeekOrigin::soCurrent ? static_cast<int64_t>(pos_)
                                                          : static_cast<int64_t>(data_.size());
  pos_ = ClampSeek(base, offset, data_.size());
  return static_cast<int64_t>(pos_);
}

void TMemoryStream::LoadFromFile(const std::string& path) {
  data_ = ReadFileBytes(path);
  pos_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& path) const { WriteFileBytes(path, data_); }

size_t TBytesStream::Read(void* buffer, size_t count) {
  if (pos_ >= size_) return 0;
  const size_t n = std::min(count, size_ - pos_);
  std::memcpy(buffer, data_ + pos_, n);
  pos_ += n;
  return n;
}

size_t TBytesStream::Write(const void*, size_t) { throw EWriteError("Stream is read-only"); }

int64_t TBytesStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == TSeekOrigin::soBeginning ? 0
                       : origin == TSeekOrigin::soCurrent ? static_cast<int64_t>(pos_)
                                                          : static_cast<int64_t>(size_);
  pos_ = ClampSeek(base, offset, size_);
  return static_cast<int64_t>(pos_);
}

TFileStream::TFileStream(const std::string& path, TFileMode mode) {
  file_ = std::fopen(path.c_str(), mode == TFileMode::fmCreate ? "w+b" : "rb");
  if (!file_)
    throw EFOpenError("Cannot open file \"" + path + "\": " + std::strerror(errno));
}

TFileStream::~TFileStream() {
  if (file_) std::fclose(file_);
}

size_t TFileStream::Read(void* buffer, size_t count) { return std::fread(buffer, 1, count, file_); }
size_t TFileStream::Write(const void* buffer, size_t count) {
  return std::fwrite(buffer, 1, count, file_);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                     : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                        : SEEK_END;
  if (std::fseek(file_, static_cast<long>(offset), whence) != 0) return -1;
  return std::ftell(file_);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  TFileStream f(path, TFileMode::fmOpenRead);
  const int64_t size = f.Size();
  std::vector<uint8_t> data(static_cast<size_t>(size));
  f.ReadBuffer(data.data(), data.size());
  return data;
}

void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
  TFileStream f(path, TFileMode::fmCreate);
  f.WriteBuffer(bytes.data(), bytes.size());
}

}  // namespace qz
