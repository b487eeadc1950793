// Thumbnails of files, shared with the user's other programs through the
// freedesktop thumbnail cache (ThumbnailCache.h): a valid cached thumbnail
// is used as it is; otherwise one is made — PNG, JPEG and BMP files by the
// program's own decoders, other types by an installed external thumbnailer
// run with a time limit — and stored for everyone; a file that cannot be
// thumbnailed is recorded once and not tried again until it changes.
//
// A worker thread calls Get; several threads may call it at once on one
// TThumbnails (it keeps nothing but its settings and the thumbnailer list,
// read once on first use). Bad input — huge, truncated or empty pictures,
// corrupt or foreign cache files, thumbnailers that fail or hang — costs a
// missing picture, never more.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "host/graphics/Pixmap.h"
#include "host/shell/IconTheme.h"
#include "host/shell/ImageThumbnails.h"
#include "host/shell/ThumbnailCache.h"
#include "host/shell/Thumbnailers.h"

namespace qz {

struct TThumbnailSettings {
  std::string CacheRoot;                     // the thumbnails folder
  std::vector<std::string> ThumbnailerDirs;  // folders of *.thumbnailer files, first wins
  std::string TempDir = "/tmp";              // where external thumbnailers write
  TIconDecoder DecodePng;                    // the program's PNG reader
  std::chrono::milliseconds Timeout{10000};  // for one external thumbnailer
  uint64_t MaxPixels = kThumbnailMaxSourcePixels;  // decoded pixels of one picture
  std::string Program;                       // fail/<Program>/; empty: "qzskin-<version>"
};

// CacheRoot $XDG_CACHE_HOME/thumbnails (default ~/.cache/thumbnails);
// ThumbnailerDirs $XDG_DATA_HOME/thumbnailers (default
// ~/.local/share/thumbnailers), then each $XDG_DATA_DIRS entry +
// /thumbnailers (default /usr/local/share:/usr/share); TempDir $TMPDIR.
// Relative entries are ignored. DecodePng is left for the caller to set.
TThumbnailSettings ThumbnailSettingsFromEnvironment();
// "qzskin-<version>".
std::string ThumbnailProgramName();

enum class TThumbnailOutcome {
  Cached,        // a valid thumbnail from the cache
  Created,       // made now (and stored, unless Error says why not)
  Failed,        // could not be made; the failure is recorded
  FailedBefore,  // a failure is recorded for the file as it is now
  Unsupported,   // no regular file, a file in the cache, or no maker for its type
};

struct TThumbnailResult {
  TThumbnailOutcome Outcome = TThumbnailOutcome::Unsupported;
  TPixmap Picture;    // Cached and Created: at most size x size
  std::string Error;  // what went wrong, when something did
};

class TThumbnails {
 public:
  explicit TThumbnails(TThumbnailSettings settings);
  TThumbnails(const TThumbnails&) = delete;
  TThumbnails& operator=(const TThumbnails&) = delete;

  const TThumbnailSettings& Settings() const { return settings_; }
  const TThumbnailCache& Cache() const { return cache_; }

  // The thumbnail of the file at an absolute path (bytes), whose type is
  // mimeType (from the type database; it chooses the maker). Without a PNG
  // reader in the settings everything is Unsupported.
  // `cancelled`, when given, is asked while an external thumbnailer runs:
  // true stops it, and the file gets no picture and no failure record.
  TThumbnailResult Get(std::string_view path, std::string_view mimeType, TThumbnailSize size,
                       const std::function<bool()>& cancelled = {});
  // Whether a thumbnail can be made for the type at all.
  bool CanMake(std::string_view mimeType);

 private:
  const TThumbnailers& Thumbnailers();
  TPixmap Make(const TThumbnailSource& source, int box, const std::function<bool()>& cancelled);
  TPixmap MakeExternal(const TThumbnailerEntry& entry, const TThumbnailSource& source, int box,
                       const std::function<bool()>& cancelled);

  const TThumbnailSettings settings_;
  const TThumbnailCache cache_;
  std::once_flag thumbnailersRead_;
  std::unique_ptr<TThumbnailers> thumbnailers_;
};

// The types the program decodes itself.
bool IsOwnThumbnailType(std::string_view mimeType);

}  // namespace qz
