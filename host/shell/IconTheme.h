// The user's freedesktop icon theme: finds the file of a named icon at a
// size as the icon theme standard says, and keeps what it has read.
//
// Search order for a name at (size, scale): the user's theme, its parents
// from Inherits= depth first, then "hicolor", then the unthemed icons lying
// in the base folders themselves. In a theme, first a directory whose size
// rules cover the size (directories in index.theme order, base folders in
// order within each), else the directory nearest to the size. Only PNG files
// count: an icon that a directory has as .svg or .xpm only is not there.
//
// The user's theme is the one set in the settings; else the
// gtk-icon-theme-name of the first gtk-3.0/settings.ini found in the
// settings' config folders, when that theme is installed; else "Adwaita"
// when installed; else "hicolor".
//
// Everything read is kept until Reset(): each theme's index.theme is read
// once, each folder listed once (a lookup then tests names in sets, it does
// not probe files), each answer kept per (names, size, scale), each decoded
// picture per file. A second lookup of an icon touches no file. The service
// is safe to call from several threads.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/graphics/Pixmap.h"
#include "host/shell/FileAccess.h"
#include "host/shell/IconThemeIndex.h"

namespace qz {

struct TIconThemeSettings {
  // Folders holding themes, searched in order.
  std::vector<std::string> BaseDirs;
  // The user's theme; empty: found as the header says.
  std::string ThemeName;
  // Folders that may hold gtk-3.0/settings.ini, first found wins.
  std::vector<std::string> ConfigDirs;
};

// The standard places: BaseDirs $HOME/.icons, $XDG_DATA_HOME/icons
// (default $HOME/.local/share/icons), each $XDG_DATA_DIRS entry + /icons
// (default /usr/local/share/:/usr/share/), /usr/share/pixmaps; ConfigDirs
// $XDG_CONFIG_HOME (default $HOME/.config), the $XDG_CONFIG_DIRS entries
// (default /etc/xdg), /etc. Relative entries are ignored.
TIconThemeSettings IconThemeSettingsFromEnvironment();

// Turns the bytes of an icon file into pixels, or nothing when it cannot.
// It may also raise a qz::Exception (a reader that refuses the file).
using TIconDecoder = std::function<std::optional<TPixmap>(std::span<const uint8_t> file)>;

class TIconTheme {
 public:
  explicit TIconTheme(TIconThemeSettings settings, TFileAccess& files = RealFileAccess());
  TIconTheme(const TIconTheme&) = delete;
  TIconTheme& operator=(const TIconTheme&) = delete;

  // One service for the whole program, on the environment's settings
  // (created on first use, never destroyed).
  static TIconTheme& Shared();

  // The user's theme as resolved (reads files on first call).
  std::string ThemeName();

  // The path of the best PNG file for the icon, or nothing. Names that are
  // not plain file names, sizes outside 1 … 65535 and scales outside 1 … 64
  // find nothing.
  std::optional<std::string> Lookup(std::string_view name, int size, int scale = 1);
  // As Lookup for the first name of the list that a theme has, trying all
  // names in each theme before its parents ({"text-plain", "text-x-generic"}:
  // the specific icon of the user's theme, else its generic one, before
  // anything from a parent theme).
  std::optional<std::string> LookupFirst(const std::vector<std::string>& names, int size,
                                         int scale = 1);

  // The decoded picture of LookupFirst's file (as large as the file is: the
  // nearest size found may differ from size), or null when no file is found
  // or it does not decode. Pictures are kept per file.
  std::shared_ptr<const TPixmap> Load(const std::vector<std::string>& names, int size,
                                      const TIconDecoder& decode, int scale = 1);
  // Load, else the icon the program draws for the first name that has one
  // (StockIconForName), at size * scale pixels; null when neither exists.
  std::shared_ptr<const TPixmap> LoadOrDraw(const std::vector<std::string>& names, int size,
                                            const TIconDecoder& decode, int scale = 1);

  // The icon at exactly size x size pixels, as a dialog or a list shows it:
  // the theme's picture when it has one (from a larger file when the nearest
  // one is smaller than size, so that it is scaled down rather than up),
  // resampled smoothly to the size; else the icon the program draws; null
  // when neither exists. Kept per (names, size).
  std::shared_ptr<const TPixmap> LoadSized(const std::vector<std::string>& names, int size,
                                           const TIconDecoder& decode);

  // Forgets everything read: after the user changed themes or installed icons.
  void Reset();

 private:
  struct TTheme {
    std::vector<std::string> Roots;  // base/name for each base folder having it
    TIconThemeIndex Index;
  };
  using TNameSet = std::unordered_set<std::string>;

  const TNameSet& Listing(const std::string& path);
  const TNameSet& SubdirListing(const std::string& root, std::string_view relative);
  const TTheme* FindTheme(const std::string& name);
  const std::string& ResolvedThemeName();
  std::optional<std::string> LookupInTheme(const TTheme& theme, const std::string& file, int size,
                                           int scale);
  std::optional<std::string> FindInThemeTree(const std::vector<std::string>& files, int size,
                                             int scale, const std::string& themeName,
                                             std::unordered_set<std::string>& visited, int depth);
  std::optional<std::string> FindUncached(const std::vector<std::string>& files, int size,
                                          int scale);
  std::optional<std::string> LookupLocked(const std::vector<std::string>& names, int size,
                                          int scale);
  std::shared_ptr<const TPixmap> DrawnLocked(const std::vector<std::string>& names, int pixels);
  std::shared_ptr<const TPixmap> LoadLocked(const std::vector<std::string>& names, int size,
                                            const TIconDecoder& decode, int scale);

  const TIconThemeSettings settings_;
  TFileAccess& files_;
  std::mutex mutex_;
  std::optional<std::string> themeName_;
  std::unordered_map<std::string, TNameSet> listings_;
  std::unordered_map<std::string, std::optional<TTheme>> themes_;  // nothing: not installed
  std::unordered_map<std::string, std::optional<std::string>> results_;
  std::unordered_map<std::string, std::shared_ptr<const TPixmap>> pictures_;  // null: unreadable
};

}  // namespace qz
