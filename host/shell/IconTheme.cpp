#include "host/shell/IconTheme.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "host/base/Exception.h"
#include "host/graphics/PixmapScale.h"
#include "host/graphics/StockIcons.h"

namespace qz {

namespace {

constexpr size_t kMaxIndexBytes = 1 << 20;
constexpr size_t kMaxSettingsBytes = 1 << 16;
constexpr size_t kMaxIconFileBytes = 8 << 20;
constexpr int kMaxInheritDepth = 32;

// Folder paths without trailing slashes ("/" stays "/"), so joins give one slash.
std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string Join(const std::string& dir, std::string_view name) {
  std::string path = dir;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Absolute entries of a colon-separated list, or of fallback when it is empty.
std::vector<std::string> PathList(const std::string& value, const char* fallback) {
  std::vector<std::string> dirs;
  std::string_view list = value.empty() ? std::string_view(fallback) : std::string_view(value);
  while (!list.empty()) {
    const size_t colon = list.find(':');
    const std::string_view entry = list.substr(0, colon);
    if (!entry.empty() && entry.front() == '/') dirs.push_back(WithoutTrailingSlash(std::string(entry)));
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  return dirs;
}

// An icon name the lookup accepts: a plain file name without control characters.
bool IsIconName(std::string_view name) {
  if (!IsPlainFileName(name) || name.size() > 200) return false;
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  return true;
}

TIconThemeSettings Normalized(TIconThemeSettings settings) {
  for (std::string& dir : settings.BaseDirs) dir = WithoutTrailingSlash(std::move(dir));
  return settings;
}

std::string CacheKey(const std::vector<std::string>& names, int size, int scale) {
  std::string key = std::to_string(size) + '@' + std::to_string(scale);
  for (const std::string& name : names) key += '\n' + name;
  return key;
}

}  // namespace

TIconThemeSettings IconThemeSettingsFromEnvironment() {
  TIconThemeSettings settings;
  const std::string home = Env("HOME");
  const bool homeOk = !home.empty() && home.front() == '/';
  if (homeOk) settings.BaseDirs.push_back(Join(WithoutTrailingSlash(home), ".icons"));
  std::string dataHome = Env("XDG_DATA_HOME");
  if (dataHome.empty() || dataHome.front() != '/') dataHome = homeOk ? Join(home, ".local/share") : "";
  if (!dataHome.empty()) settings.BaseDirs.push_back(Join(WithoutTrailingSlash(dataHome), "icons"));
  for (const std::string& dir : PathList(Env("XDG_DATA_DIRS"), "/usr/local/share/:/usr/share/"))
    settings.BaseDirs.push_back(Join(dir, "icons"));
  settings.BaseDirs.push_back("/usr/share/pixmaps");

  std::string configHome = Env("XDG_CONFIG_HOME");
  if (configHome.empty() || configHome.front() != '/') configHome = homeOk ? Join(home, ".config") : "";
  if (!configHome.empty()) settings.ConfigDirs.push_back(WithoutTrailingSlash(configHome));
  for (const std::string& dir : PathList(Env("XDG_CONFIG_DIRS"), "/etc/xdg"))
    settings.ConfigDirs.push_back(dir);
  settings.ConfigDirs.push_back("/etc");
  return settings;
}

TIconTheme::TIconTheme(TIconThemeSettings settings, TFileAccess& files)
    : settings_(Normalized(std::move(settings))), files_(files) {}

TIconTheme& TIconTheme::Shared() {
  static TIconTheme* shared = new TIconTheme(IconThemeSettingsFromEnvironment());
  return *shared;
}

std::string TIconTheme::ThemeName() {
  std::lock_guard lock(mutex_);
  return ResolvedThemeName();
}

std::optional<std::string> TIconTheme::Lookup(std::string_view name, int size, int scale) {
  return LookupFirst({std::string(name)}, size, scale);
}

std::optional<std::string> TIconTheme::LookupFirst(const std::vector<std::string>& names, int size,
                                                   int scale) {
  std::lock_guard lock(mutex_);
  return LookupLocked(names, size, scale);
}

std::shared_ptr<const TPixmap> TIconTheme::Load(const std::vector<std::string>& names, int size,
                                                const TIconDecoder& decode, int scale) {
  std::lock_guard lock(mutex_);
  return LoadLocked(names, size, decode, scale);
}

std::shared_ptr<const TPixmap> TIconTheme::LoadOrDraw(const std::vector<std::string>& names,
                                                      int size, const TIconDecoder& decode,
                                                      int scale) {
  std::lock_guard lock(mutex_);
  if (auto picture = LoadLocked(names, size, decode, scale)) return picture;
  if (size < 1 || scale < 1 || size > kMaxStockIconSize / scale) return nullptr;
  return DrawnLocked(names, size * scale);
}

std::shared_ptr<const TPixmap> TIconTheme::DrawnLocked(const std::vector<std::string>& names,
                                                       int pixels) {
  for (const std::string& name : names) {
    const std::optional<TStockIcon> stock = StockIconForName(name);
    if (!stock) continue;
    // Kept under a key no file path can have.
    const std::string key = "\n" + std::to_string(int(*stock)) + '@' + std::to_string(pixels);
    auto& drawn = pictures_[key];
    if (!drawn) drawn = std::make_shared<const TPixmap>(DrawStockIcon(*stock, pixels));
    return drawn;
  }
  return nullptr;
}

std::shared_ptr<const TPixmap> TIconTheme::LoadSized(const std::vector<std::string>& names,
                                                     int size, const TIconDecoder& decode) {
  std::lock_guard lock(mutex_);
  if (size < 1 || size > kMaxStockIconSize) return nullptr;
  // Kept under a key no file path can have ("\r" is refused in icon names).
  std::string key = "\r" + std::to_string(size);
  for (const std::string& name : names) key += '\r' + name;
  if (auto found = pictures_.find(key); found != pictures_.end()) return found->second;
  std::shared_ptr<const TPixmap> picture = LoadLocked(names, size, decode, 1);
  if (picture && std::max(picture->Width(), picture->Height()) < size) {
    // A larger file scales down more cleanly than the nearest smaller one scales up.
    auto larger = LoadLocked(names, size * 2, decode, 1);
    if (larger && larger->Width() > picture->Width()) picture = larger;
  }
  if (picture && (picture->Width() != size || picture->Height() != size)) {
    // Fitted into the square keeping its proportions, centred.
    const int longer = std::max(picture->Width(), picture->Height());
    const int w = std::max(1, picture->Width() * size / longer);
    const int h = std::max(1, picture->Height() * size / longer);
    const TPixmap scaled = ResamplePixmap(*picture, w, h);
    TPixmap square(size, size, 0);
    for (int y = 0; y < h; ++y)
      std::copy_n(scaled.Row(y), w, square.Row(y + (size - h) / 2) + (size - w) / 2);
    picture = std::make_shared<const TPixmap>(std::move(square));
  }
  if (!picture) picture = DrawnLocked(names, size);
  pictures_[key] = picture;
  return picture;
}

void TIconTheme::Reset() {
  std::lock_guard lock(mutex_);
  themeName_.reset();
  listings_.clear();
  themes_.clear();
  results_.clear();
  pictures_.clear();
}

const TIconTheme::TNameSet& TIconTheme::Listing(const std::string& path) {
  auto found = listings_.find(path);
  if (found != listings_.end()) return found->second;
  std::vector<std::string> names = files_.ListDirectory(path);
  TNameSet& set = listings_[path];
  set.insert(std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
  return set;
}

// The listing of root/relative, walking down from root so that a folder is
// listed only when its parent's listing names it: the many directories an
// index.theme names but a theme lacks cost no failed open each.
const TIconTheme::TNameSet& TIconTheme::SubdirListing(const std::string& root,
                                                      std::string_view relative) {
  static const TNameSet kNone;
  std::string path = root;
  while (!relative.empty()) {
    const size_t slash = relative.find('/');
    const std::string part(relative.substr(0, slash));
    if (!Listing(path).contains(part)) return kNone;
    path = Join(path, part);
    relative.remove_prefix(slash == std::string_view::npos ? relative.size() : slash + 1);
  }
  return Listing(path);
}

const TIconTheme::TTheme* TIconTheme::FindTheme(const std::string& name) {
  auto found = themes_.find(name);
  if (found == themes_.end()) {
    std::optional<TTheme> theme;
    std::optional<std::vector<uint8_t>> index;
    std::vector<std::string> roots;
    for (const std::string& base : settings_.BaseDirs) {
      if (!Listing(base).contains(name)) continue;
      roots.push_back(Join(base, name));
      // The first index.theme in base folder order describes the theme.
      if (!index && Listing(roots.back()).contains("index.theme"))
        index = files_.ReadFile(Join(roots.back(), "index.theme"), kMaxIndexBytes);
    }
    if (index) {
      theme.emplace();
      theme->Roots = std::move(roots);
      theme->Index = ParseIconThemeIndex(
          std::string_view(reinterpret_cast<const char*>(index->data()), index->size()));
    }
    found = themes_.emplace(name, std::move(theme)).first;
  }
  return found->second ? &*found->second : nullptr;
}

const std::string& TIconTheme::ResolvedThemeName() {
  if (themeName_) return *themeName_;
  if (IsPlainFileName(settings_.ThemeName)) return *(themeName_ = settings_.ThemeName);
  for (const std::string& dir : settings_.ConfigDirs) {
    const auto text = files_.ReadFile(Join(dir, "gtk-3.0/settings.ini"), kMaxSettingsBytes);
    if (!text) continue;
    for (const TIniSection& section :
         ParseIni(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()))) {
      const std::string* name = section.Name == "Settings" ? section.Find("gtk-icon-theme-name") : nullptr;
      if (!name) continue;
      // The first file that names a theme decides; one not installed is passed over.
      if (IsPlainFileName(*name) && FindTheme(*name)) return *(themeName_ = *name);
      return *(themeName_ = FindTheme("Adwaita") ? "Adwaita" : "hicolor");
    }
  }
  return *(themeName_ = FindTheme("Adwaita") ? "Adwaita" : "hicolor");
}

std::optional<std::string> TIconTheme::LookupInTheme(const TTheme& theme, const std::string& file,
                                                     int size, int scale) {
  const auto has = [&](const std::string& root, const TIconDirectory& dir) {
    return SubdirListing(root, dir.Path).contains(file);
  };
  for (const TIconDirectory& dir : theme.Index.Directories) {
    if (!DirectoryMatchesSize(dir, size, scale)) continue;
    for (const std::string& root : theme.Roots)
      if (has(root, dir)) return Join(Join(root, dir.Path), file);
  }
  std::optional<std::string> closest;
  int closestDistance = INT_MAX;
  for (const TIconDirectory& dir : theme.Index.Directories) {
    const int distance = DirectorySizeDistance(dir, size, scale);
    if (distance >= closestDistance) continue;
    for (const std::string& root : theme.Roots) {
      if (!has(root, dir)) continue;
      closest = Join(Join(root, dir.Path), file);
      closestDistance = distance;
      break;
    }
  }
  return closest;
}

// Depth first through the theme and its parents; a theme met twice (a cycle,
// or a parent shared by two parents) is searched once.
std::optional<std::string> TIconTheme::FindInThemeTree(const std::vector<std::string>& files,
                                                       int size, int scale,
                                                       const std::string& themeName,
                                                       std::unordered_set<std::string>& visited,
                                                       int depth) {
  if (depth > kMaxInheritDepth || !visited.insert(themeName).second) return std::nullopt;
  const TTheme* theme = FindTheme(themeName);
  if (!theme) return std::nullopt;
  for (const std::string& file : files)
    if (auto path = LookupInTheme(*theme, file, size, scale)) return path;
  for (const std::string& parent : theme->Index.Inherits)
    if (auto path = FindInThemeTree(files, size, scale, parent, visited, depth + 1)) return path;
  return std::nullopt;
}

std::optional<std::string> TIconTheme::FindUncached(const std::vector<std::string>& files, int size,
                                                    int scale) {
  std::unordered_set<std::string> visited;
  if (auto path = FindInThemeTree(files, size, scale, ResolvedThemeName(), visited, 0)) return path;
  if (auto path = FindInThemeTree(files, size, scale, "hicolor", visited, 0)) return path;
  for (const std::string& file : files)
    for (const std::string& base : settings_.BaseDirs)
      if (Listing(base).contains(file)) return Join(base, file);
  return std::nullopt;
}

std::optional<std::string> TIconTheme::LookupLocked(const std::vector<std::string>& names, int size,
                                                    int scale) {
  if (names.empty() || size < 1 || size > kMaxIconSize || scale < 1 || scale > kMaxIconScale)
    return std::nullopt;
  std::vector<std::string> files;
  for (const std::string& name : names) {
    if (!IsIconName(name)) return std::nullopt;
    files.push_back(name + ".png");
  }
  const std::string key = CacheKey(names, size, scale);
  auto found = results_.find(key);
  if (found == results_.end()) found = results_.emplace(key, FindUncached(files, size, scale)).first;
  return found->second;
}

std::shared_ptr<const TPixmap> TIconTheme::LoadLocked(const std::vector<std::string>& names,
                                                      int size, const TIconDecoder& decode,
                                                      int scale) {
  const std::optional<std::string> path = LookupLocked(names, size, scale);
  if (!path) return nullptr;
  auto found = pictures_.find(*path);
  if (found != pictures_.end()) return found->second;
  std::shared_ptr<const TPixmap> picture;
  if (const auto bytes = files_.ReadFile(*path, kMaxIconFileBytes)) {
    try {
      if (std::optional<TPixmap> pixels = decode(*bytes); pixels && !pixels->Empty())
        picture = std::make_shared<const TPixmap>(std::move(*pixels));
    } catch (const Exception&) {
      // A file the reader refuses is an icon the theme does not have.
    }
  }
  pictures_.emplace(*path, picture);
  return picture;
}

}  // namespace qz
