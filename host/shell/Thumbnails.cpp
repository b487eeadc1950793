#include "host/shell/Thumbnails.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <new>

#include "host/base/Exception.h"
#include "host/shell/BoundedRead.h"

#ifndef QZ_VERSION
#define QZ_VERSION "0"
#endif

namespace qz {

namespace {

// Larger source files are refused without reading them.
constexpr size_t kMaxSourceFileBytes = size_t(256) << 20;
// What an external thumbnailer may write.
constexpr size_t kMaxOutputFileBytes = size_t(64) << 20;

std::string EnvironmentFolder(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? std::string(value) : std::string();
}

std::string HomeFolder() {
  std::string home = EnvironmentFolder("HOME");
  return home.empty() ? "/" : home;
}

// A program that could not be started at all: no thumbnail, but nothing
// wrong with the file either.
class ENotStarted : public Exception {
  using Exception::Exception;
};

// A private folder for one thumbnailer run, removed with what is in it.
class TRunFolder {
 public:
  explicit TRunFolder(const std::string& parent) {
    std::string pattern = parent + "/qzskin-thumbnail-XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  TRunFolder(const TRunFolder&) = delete;
  TRunFolder& operator=(const TRunFolder&) = delete;
  ~TRunFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

}  // namespace

std::string ThumbnailProgramName() { return std::string("qzskin-") + QZ_VERSION; }

TThumbnailSettings ThumbnailSettingsFromEnvironment() {
  TThumbnailSettings settings;
  std::string cache = EnvironmentFolder("XDG_CACHE_HOME");
  if (cache.empty()) cache = HomeFolder() + "/.cache";
  settings.CacheRoot = cache + "/thumbnails";
  std::string dataHome = EnvironmentFolder("XDG_DATA_HOME");
  if (dataHome.empty()) dataHome = HomeFolder() + "/.local/share";
  settings.ThumbnailerDirs.push_back(dataHome + "/thumbnailers");
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  std::string_view list = dirs && dirs[0] ? dirs : "/usr/local/share:/usr/share";
  while (!list.empty()) {
    const size_t colon = list.find(':');
    const std::string_view dir = list.substr(0, colon);
    if (!dir.empty() && dir.front() == '/') settings.ThumbnailerDirs.push_back(std::string(dir) + "/thumbnailers");
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  const std::string temp = EnvironmentFolder("TMPDIR");
  if (!temp.empty()) settings.TempDir = temp;
  return settings;
}

bool IsOwnThumbnailType(std::string_view type) {
  static constexpr std::string_view kTypes[] = {"image/png",   "image/jpeg",     "image/pjpeg",
                                                "image/bmp",   "image/x-bmp",    "image/x-ms-bmp",
                                                "image/x-png", "image/jpg"};
  for (const std::string_view own : kTypes)
    if (type == own) return true;
  return false;
}

TThumbnails::TThumbnails(TThumbnailSettings settings)
    : settings_(std::move(settings)),
      cache_(settings_.CacheRoot, settings_.Program.empty() ? ThumbnailProgramName() : settings_.Program) {}

const TThumbnailers& TThumbnails::Thumbnailers() {
  std::call_once(thumbnailersRead_,
                 [this] { thumbnailers_ = std::make_unique<TThumbnailers>(settings_.ThumbnailerDirs); });
  return *thumbnailers_;
}

bool TThumbnails::CanMake(std::string_view mimeType) {
  return IsOwnThumbnailType(mimeType) || Thumbnailers().ForType(mimeType) != nullptr;
}

TPixmap TThumbnails::MakeExternal(const TThumbnailerEntry& entry, const TThumbnailSource& source,
                                  int box, const std::function<bool()>& cancelled) {
  const TRunFolder folder(settings_.TempDir);
  if (folder.Path().empty()) throw ENotStarted("cannot make a folder in " + settings_.TempDir);
  TThumbnailerArguments args;
  args.Input = source.Path;  // absolute: never taken for an option
  args.Output = folder.Path() + "/thumbnail.png";
  args.Uri = source.Uri;
  args.Size = box;
  const std::optional<std::vector<std::string>> argv = ExpandThumbnailerExec(entry.Exec, args);
  if (!argv) throw ENotStarted(entry.File + ": Exec cannot be read");
  const TRunOutcome run = RunProgram(*argv, settings_.Timeout, cancelled);
  // Stopped by the caller: nothing is known against the file.
  if (run.Result == TRunResult::NotStarted || run.Result == TRunResult::Cancelled) throw ENotStarted(run.Error);
  if (run.Result == TRunResult::TimedOut || run.ExitStatus != 0) throw EInvalidGraphic(run.Error);
  const std::optional<std::string> output = ReadRegularFilePrefix(args.Output, kMaxOutputFileBytes + 1);
  if (!output || output->empty()) throw EInvalidGraphic(argv->front() + " wrote no thumbnail");
  if (output->size() > kMaxOutputFileBytes) throw EInvalidGraphic(argv->front() + " wrote too large a file");
  return MakeImageThumbnail(Bytes(*output), box, settings_.MaxPixels, settings_.DecodePng);
}

TPixmap TThumbnails::Make(const TThumbnailSource& source, int box, const std::function<bool()>& cancelled) {
  if (IsOwnThumbnailType(source.MimeType)) {
    const std::optional<std::string> file = ReadRegularFilePrefix(source.Path, kMaxSourceFileBytes + 1);
    if (!file) throw EInvalidGraphic("cannot read " + source.Path);
    if (file->size() > kMaxSourceFileBytes) throw EInvalidGraphic("image: the file is too large");
    return MakeImageThumbnail(Bytes(*file), box, settings_.MaxPixels, settings_.DecodePng);
  }
  const TThumbnailerEntry* entry = Thumbnailers().ForType(source.MimeType);
  if (!entry) throw ENotStarted("no thumbnailer for " + source.MimeType);
  return MakeExternal(*entry, source, box, cancelled);
}

TThumbnailResult TThumbnails::Get(std::string_view path, std::string_view mimeType, TThumbnailSize size,
                                  const std::function<bool()>& cancelled) {
  TThumbnailResult result;
  if (!settings_.DecodePng) {
    // Cache files and thumbnailers' output are PNG: nothing can be shown,
    // and nothing is recorded against the file.
    result.Error = "no PNG reader given";
    return result;
  }
  const std::optional<TThumbnailSource> source = ThumbnailSourceOf(path, mimeType);
  if (!source) {
    result.Error = "no regular file";
    return result;
  }
  if (cache_.Contains(source->Path)) {
    result.Error = "a file of the thumbnail cache";
    return result;
  }
  const int box = ThumbnailPixels(size);
  TThumbnailCache::TFound found = cache_.Find(size, *source);
  if (found.State == TThumbnailCache::TState::Valid) {
    try {
      result.Picture = MakeImageThumbnail(found.File, box, uint64_t(kThumbnailMaxSide) * kThumbnailMaxSide,
                                          settings_.DecodePng);
      result.Outcome = TThumbnailOutcome::Cached;
      return result;
    } catch (const Exception& e) {
      found.Error = e.what();  // keys fine, pixels not: made again
    }
  }
  if (cache_.HasFailure(*source)) {
    result.Outcome = TThumbnailOutcome::FailedBefore;
    return result;
  }
  try {
    result.Picture = Make(*source, box, cancelled);
  } catch (const ENotStarted& e) {
    result.Error = e.what();
    return result;
  } catch (const std::exception& e) {  // qz::Exception and std::bad_alloc alike
    result.Outcome = TThumbnailOutcome::Failed;
    result.Error = e.what();
    try {
      cache_.StoreFailure(*source);
    } catch (const Exception& write) {
      result.Error += std::string("; ") + write.what();
    }
    return result;
  }
  result.Outcome = TThumbnailOutcome::Created;
  try {
    cache_.Store(size, *source, result.Picture);
  } catch (const Exception& e) {
    result.Error = e.what();
  }
  return result;
}

}  // namespace qz
