#include "host/shell/ThumbnailCache.h"

#include <fcntl.h>
#include <md5.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>

#include "host/base/Exception.h"
#include "host/graphics/PngWriter.h"
#include "host/shell/BoundedRead.h"
#include "host/shell/ShellItem.h"

namespace qz {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

void PutBigEndian32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

[[noreturn]] void Refuse(const std::string& why) {
  throw EInvalidGraphic("thumbnail file: " + why);
}

// tEXt: keyword, NUL, Latin-1 text.
void TakeText(std::string_view data, TThumbnailPngInfo& info) {
  const size_t nul = data.find('\0');
  if (nul == 0 || nul == std::string_view::npos || nul > 79) Refuse("a tEXt chunk without a keyword");
  info.Keys.emplace(std::string(data.substr(0, nul)), std::string(data.substr(nul + 1)));
}

// iTXt: keyword, NUL, compression flag, method, language, NUL, translated
// keyword, NUL, UTF-8 text. Compressed ones are skipped: the standard's keys
// are stored uncompressed.
void TakeInternationalText(std::string_view data, TThumbnailPngInfo& info) {
  const size_t nul = data.find('\0');
  if (nul == 0 || nul == std::string_view::npos || nul > 79 || data.size() < nul + 3)
    Refuse("an iTXt chunk without a keyword");
  if (data[nul + 1] != 0) return;
  const size_t language = data.find('\0', nul + 3);
  if (language == std::string_view::npos) Refuse("an iTXt chunk cut short");
  const size_t translated = data.find('\0', language + 1);
  if (translated == std::string_view::npos) Refuse("an iTXt chunk cut short");
  info.Keys.emplace(std::string(data.substr(0, nul)), std::string(data.substr(translated + 1)));
}

void AppendChunk(std::vector<uint8_t>& out, const char* type, std::string_view data) {
  PutBigEndian32(out, uint32_t(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian32(out, uint32_t(crc32(0L, out.data() + typeAt, uInt(4 + data.size()))));
}

std::string ErrnoText(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

// Removes a temporary file unless it was renamed.
class TTemporaryFile {
 public:
  explicit TTemporaryFile(std::string path) : path_(std::move(path)) {}
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;
  ~TTemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  void Keep() { path_.clear(); }

 private:
  std::string path_;
};

}  // namespace

std::string_view ThumbnailFolderName(TThumbnailSize size) {
  switch (size) {
    case TThumbnailSize::Normal: return "normal";
    case TThumbnailSize::Large: return "large";
    case TThumbnailSize::XLarge: return "x-large";
    case TThumbnailSize::XXLarge: return "xx-large";
  }
  return "normal";
}

std::string ThumbnailFileName(std::string_view uri) {
  MD5_CTX context;
  MD5Init(&context);
  MD5Update(&context, reinterpret_cast<const uint8_t*>(uri.data()), uri.size());
  uint8_t digest[MD5_DIGEST_LENGTH];
  MD5Final(digest, &context);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name;
  for (const uint8_t byte : digest) {
    name.push_back(kHex[byte >> 4]);
    name.push_back(kHex[byte & 15]);
  }
  return name + ".png";
}

TThumbnailPngInfo ReadThumbnailPngInfo(std::span<const uint8_t> file, int maxSide) {
  if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) Refuse("not a PNG file");
  TThumbnailPngInfo info;
  size_t at = 8;
  bool first = true;
  size_t texts = 0;
  while (true) {
    if (file.size() - at < 12) Refuse("cut short before its IEND chunk");
    const uint32_t length = BigEndian32(&file[at]);
    if (length > 0x7FFFFFFFu || length > file.size() - at - 12) Refuse("a chunk runs past the end");
    const uint8_t* type = &file[at + 4];
    const uint8_t* data = type + 4;
    if (uint32_t(crc32(0L, type, uInt(4 + length))) != BigEndian32(data + length))
      Refuse("a chunk's CRC does not match");
    const std::string_view name(reinterpret_cast<const char*>(type), 4);
    const std::string_view body(reinterpret_cast<const char*>(data), length);
    at += 12 + size_t(length);
    if (first != (name == "IHDR")) Refuse("IHDR is not the first chunk");
    if (first) {
      if (length != 13) Refuse("IHDR has the wrong length");
      const uint32_t width = BigEndian32(data), height = BigEndian32(data + 4);
      if (width == 0 || height == 0) Refuse("the picture is empty");
      if (width > uint32_t(maxSide) || height > uint32_t(maxSide))
        Refuse("the picture is larger than " + std::to_string(maxSide) + " pixels a side");
      info.Width = int(width);
      info.Height = int(height);
      first = false;
    } else if (name == "tEXt" || name == "iTXt") {
      if (++texts > kThumbnailMaxKeys) Refuse("more than " + std::to_string(kThumbnailMaxKeys) + " keys");
      if (name == "tEXt") TakeText(body, info);
      else TakeInternationalText(body, info);
    } else if (name == "IEND") {
      return info;
    }
  }
}

std::vector<uint8_t> EncodeThumbnailPng(const TPixmap& picture,
                                        const std::vector<std::pair<std::string, std::string>>& keys) {
  const std::vector<uint8_t> plain = EncodePng(picture, true);
  // Signature (8) and IHDR (4 + 4 + 13 + 4): the keys follow.
  constexpr size_t kAfterHeader = 33;
  if (plain.size() < kAfterHeader || std::memcmp(&plain[12], "IHDR", 4) != 0)
    throw EInvalidGraphic("thumbnail file: the PNG writer gave no IHDR first");
  std::vector<uint8_t> out(plain.begin(), plain.begin() + kAfterHeader);
  for (const auto& [key, value] : keys) {
    if (key.empty() || key.size() > 79 || key.find('\0') != std::string::npos ||
        value.find('\0') != std::string::npos)
      throw EInvalidGraphic("thumbnail file: the key \"" + key + "\" cannot be stored");
    AppendChunk(out, "tEXt", key + std::string(1, '\0') + value);
  }
  out.insert(out.end(), plain.begin() + kAfterHeader, plain.end());
  return out;
}

std::optional<TThumbnailSource> ThumbnailSourceOf(std::string_view path, std::string_view mimeType) {
  const TShellId id = TShellId::FromPath(path);
  if (id.IsVirtual()) return std::nullopt;
  struct stat st;
  if (::stat(id.Path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  TThumbnailSource source;
  source.Path = id.Path;
  source.Uri = FileUriFromPath(id.Path);
  source.MTime = int64_t(st.st_mtim.tv_sec);
  source.Size = uint64_t(st.st_size);
  source.MimeType = std::string(mimeType);
  return source;
}

TThumbnailCache::TThumbnailCache(std::string root, std::string program)
    : root_(TShellId::FromPath(root).Path), program_(std::move(program)) {
  if (root_.empty()) root_ = root;  // relative: used as given
}

std::string TThumbnailCache::FolderOf(TThumbnailSize size) const {
  return root_ + "/" + std::string(ThumbnailFolderName(size));
}

std::string TThumbnailCache::FailFolder() const { return root_ + "/fail/" + program_; }

std::string TThumbnailCache::PathOf(TThumbnailSize size, const TThumbnailSource& source) const {
  return FolderOf(size) + "/" + ThumbnailFileName(source.Uri);
}

std::string TThumbnailCache::FailPathOf(const TThumbnailSource& source) const {
  return FailFolder() + "/" + ThumbnailFileName(source.Uri);
}

bool TThumbnailCache::Contains(std::string_view path) const {
  return path.size() > root_.size() && path.substr(0, root_.size()) == root_ &&
         path[root_.size()] == '/';
}

namespace {

// Whether the keys of a cache file stand for the source as it is now.
bool Matches(const TThumbnailPngInfo& info, const TThumbnailSource& source, bool checkSize) {
  const std::string* uri = info.Find("Thumb::URI");
  const std::string* mtime = info.Find("Thumb::MTime");
  if (!uri || !mtime || *uri != source.Uri || *mtime != std::to_string(source.MTime)) return false;
  const std::string* size = checkSize ? info.Find("Thumb::Size") : nullptr;
  return !size || *size == std::to_string(source.Size);
}

}  // namespace

TThumbnailCache::TFound TThumbnailCache::Find(TThumbnailSize size, const TThumbnailSource& source) const {
  TFound found;
  std::optional<std::string> bytes = ReadRegularFilePrefix(PathOf(size, source), kThumbnailMaxFileBytes + 1);
  if (!bytes) return found;
  if (bytes->size() > kThumbnailMaxFileBytes) {
    found.State = TState::Corrupt;
    found.Error = "thumbnail file: larger than " + std::to_string(kThumbnailMaxFileBytes >> 20) + " MiB";
    return found;
  }
  const std::span<const uint8_t> file(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size());
  try {
    found.Info = ReadThumbnailPngInfo(file);
  } catch (const EInvalidGraphic& e) {
    found.State = TState::Corrupt;
    found.Error = e.what();
    return found;
  }
  found.State = Matches(found.Info, source, true) ? TState::Valid : TState::Stale;
  if (found.State == TState::Valid) found.File.assign(file.begin(), file.end());
  return found;
}

bool TThumbnailCache::HasFailure(const TThumbnailSource& source) const {
  std::optional<std::string> bytes = ReadRegularFilePrefix(FailPathOf(source), 1 << 16);
  if (!bytes) return false;
  try {
    const std::span<const uint8_t> file(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size());
    return Matches(ReadThumbnailPngInfo(file), source, false);
  } catch (const EInvalidGraphic&) {
    return false;  // a damaged record is no record: it is written again
  }
}

void TThumbnailCache::Store(TThumbnailSize size, const TThumbnailSource& source,
                            const TPixmap& picture) const {
  std::vector<std::pair<std::string, std::string>> keys = {
      {"Thumb::URI", source.Uri},
      {"Thumb::MTime", std::to_string(source.MTime)},
      {"Thumb::Size", std::to_string(source.Size)},
  };
  if (!source.MimeType.empty()) keys.emplace_back("Thumb::Mimetype", source.MimeType);
  keys.emplace_back("Software", program_);
  const std::vector<uint8_t> file = EncodeThumbnailPng(picture, keys);
  MakePrivateFolders(FolderOf(size));
  WriteFileAtomically(PathOf(size, source), file, 0600);
}

void TThumbnailCache::StoreFailure(const TThumbnailSource& source) const {
  const std::vector<uint8_t> file = EncodeThumbnailPng(
      TPixmap(1, 1, 0), {{"Thumb::URI", source.Uri},
                         {"Thumb::MTime", std::to_string(source.MTime)},
                         {"Software", program_}});
  MakePrivateFolders(FailFolder());
  WriteFileAtomically(FailPathOf(source), file, 0600);
}

void MakePrivateFolders(const std::string& path) {
  if (path.empty()) return;
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return;
    throw EWriteError("cannot make the folder " + path + ": something else is there");
  }
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) MakePrivateFolders(path.substr(0, slash));
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
    throw EWriteError(ErrnoText("cannot make the folder", path));
}

void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, unsigned mode) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string pattern = folder + "/." + name + ".XXXXXX";
  // Close-on-exec: an external thumbnailer started meanwhile by another
  // thread must not inherit it.
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) throw EWriteError(ErrnoText("cannot write into", folder));
  TTemporaryFile temporary(pattern);
  bool ok = ::fchmod(fd, mode) == 0;
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += size_t(n);
  }
  if (::close(fd) != 0) ok = false;
  if (!ok) throw EWriteError(ErrnoText("cannot write", pattern));
  if (::rename(pattern.c_str(), path.c_str()) != 0) throw EWriteError(ErrnoText("cannot replace", path));
  temporary.Keep();
}

}  // namespace qz
