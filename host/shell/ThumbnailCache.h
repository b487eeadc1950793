// The user's thumbnail cache, as the freedesktop Thumbnail Managing
// Standard lays it out and the file managers share it:
//   <root>/normal/   128 pixels      <root>/large/     256 pixels
//   <root>/x-large/  512 pixels      <root>/xx-large/  1024 pixels
//   <root>/fail/<program>-<version>/  files a program failed to thumbnail
// (root is $XDG_CACHE_HOME/thumbnails, ~/.cache/thumbnails by default).
// A thumbnail's file name is the MD5 of the file's canonical file:// URI
// (lower-case hex) + ".png". It is an 8-bit RGBA PNG whose tEXt chunks hold
// Thumb::URI and Thumb::MTime (and Thumb::Size, Thumb::Mimetype); it stands
// for the file only while those match. Folders are 0700, files 0600, and a
// file is written to a temporary file in its folder, then renamed over the
// old one, so that no reader sees half a file.
//
// Everything here reads and writes only files; no state is kept, so several
// threads may use one cache at once (two writers of one thumbnail each
// rename a whole file; the last one stays).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/graphics/Pixmap.h"
#include "host/shell/FileUri.h"

namespace qz {

enum class TThumbnailSize { Normal = 128, Large = 256, XLarge = 512, XXLarge = 1024 };

constexpr int ThumbnailPixels(TThumbnailSize size) { return int(size); }
// "normal", "large", "x-large", "xx-large".
std::string_view ThumbnailFolderName(TThumbnailSize size);

// MD5 of the URI in lower-case hex + ".png".
std::string ThumbnailFileName(std::string_view uri);

// A cache file's size and text keys, read without decoding its pixels.
struct TThumbnailPngInfo {
  int Width = 0;
  int Height = 0;
  // Keys of the tEXt and uncompressed iTXt chunks (the first of each key).
  std::map<std::string, std::string, std::less<>> Keys;

  const std::string* Find(std::string_view key) const {
    auto it = Keys.find(key);
    return it == Keys.end() ? nullptr : &it->second;
  }
};

// The limits of the reader: a cache file holds one picture of at most
// 1024 pixels a side; others' caches may hold larger ones, but nothing needs
// more than this.
constexpr int kThumbnailMaxSide = 4096;
constexpr size_t kThumbnailMaxFileBytes = size_t(64) << 20;
constexpr size_t kThumbnailMaxKeys = 64;

// Walks the chunks of a PNG file (signature, lengths, CRCs, IHDR first,
// IEND last) and collects its size and keys. Bad input raises
// EInvalidGraphic naming the fault: not a PNG, truncated, a CRC mismatch, a
// picture larger than maxSide a side, too many keys.
TThumbnailPngInfo ReadThumbnailPngInfo(std::span<const uint8_t> file,
                                       int maxSide = kThumbnailMaxSide);

// The picture as an RGBA PNG with a tEXt chunk per key, after IHDR.
// Keywords are 1 to 79 Latin-1 characters without NUL; values hold no NUL
// (EInvalidGraphic otherwise).
std::vector<uint8_t> EncodeThumbnailPng(const TPixmap& picture,
                                        const std::vector<std::pair<std::string, std::string>>& keys);

// What a thumbnail stands for.
struct TThumbnailSource {
  std::string Path;      // absolute, normalised
  std::string Uri;       // FileUriFromPath(Path)
  int64_t MTime = 0;     // modification time, whole seconds
  uint64_t Size = 0;     // bytes
  std::string MimeType;  // may be empty
};

// The source for a path: stats it (links followed). Nothing for a path that
// is not absolute or is no regular file (folders, FIFOs, devices, sockets,
// dangling links).
std::optional<TThumbnailSource> ThumbnailSourceOf(std::string_view path, std::string_view mimeType);

class TThumbnailCache {
 public:
  // root: the thumbnails folder; program: the folder name under fail/
  // ("qzskin-0.9.0").
  TThumbnailCache(std::string root, std::string program);

  const std::string& Root() const { return root_; }
  std::string PathOf(TThumbnailSize size, const TThumbnailSource& source) const;
  std::string FailPathOf(const TThumbnailSource& source) const;
  // Whether a path lies in the cache (no thumbnails of thumbnails).
  bool Contains(std::string_view path) const;

  enum class TState { Missing, Valid, Stale, Corrupt };
  struct TFound {
    TState State = TState::Missing;
    std::vector<uint8_t> File;  // Valid: the whole cache file
    TThumbnailPngInfo Info;     // Valid, Stale
    std::string Error;          // Corrupt: what is wrong with the file
  };
  // The cache file of the source at the size. Valid while its Thumb::URI and
  // Thumb::MTime match the source (and its Thumb::Size, when it has one);
  // Stale when they do not; Corrupt when it is no PNG, is cut short or is
  // too large; Missing when there is no regular file (never opening others).
  TFound Find(TThumbnailSize size, const TThumbnailSource& source) const;
  // Whether a failure is recorded for the source with its current MTime.
  bool HasFailure(const TThumbnailSource& source) const;

  // Writes the thumbnail (keys Thumb::URI, Thumb::MTime, Thumb::Size,
  // Thumb::Mimetype when known, Software), creating the folders (0700) as
  // needed. Raises EWriteError when the cache cannot be written; a file
  // already there stays as it was then.
  void Store(TThumbnailSize size, const TThumbnailSource& source, const TPixmap& picture) const;
  // Records that no thumbnail could be made for the source at its MTime: a
  // 1 x 1 PNG with Thumb::URI and Thumb::MTime under fail/<program>/.
  void StoreFailure(const TThumbnailSource& source) const;

 private:
  std::string FolderOf(TThumbnailSize size) const;
  std::string FailFolder() const;

  std::string root_;
  std::string program_;
};

// Writes bytes to path atomically: a temporary file in the same folder,
// mode `mode`, renamed over path when complete. Raises EWriteError.
void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, unsigned mode);
// Makes the folder and its missing parents with mode 0700 (existing ones
// keep their modes). Raises EWriteError.
void MakePrivateFolders(const std::string& path);

}  // namespace qz
