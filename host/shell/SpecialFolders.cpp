#include "host/shell/SpecialFolders.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <memory>

#include "host/shell/BoundedRead.h"

namespace qz {

namespace {

constexpr size_t kMaxUserDirsBytes = 64 << 10;
constexpr size_t kMaxUserDirsLines = 256;
constexpr size_t kMaxUserDirsLineLength = 4096;
constexpr size_t kMaxMountInfoBytes = 1 << 20;
constexpr size_t kMaxMountInfoLines = 8192;
constexpr size_t kMaxLabels = 1024;

// Calls f for each line of text (without its '\n'), at most maxLines.
template <class F>
void ForEachLine(std::string_view text, size_t maxLines, F f) {
  for (size_t line = 0; line < maxLines && !text.empty(); ++line) {
    const size_t end = text.find('\n');
    f(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool IsKeyChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; }

// The text between the quotes of "…" with backslash escapes undone, or
// nothing when the quotes are missing or anything follows the closing one.
std::optional<std::string> Unquoted(std::string_view value) {
  if (value.size() < 2 || value.front() != '"') return std::nullopt;
  std::string text;
  for (size_t at = 1; at < value.size(); ++at) {
    const char c = value[at];
    if (c == '\\') {
      if (++at == value.size()) return std::nullopt;
      text += value[at];
    } else if (c == '"') {
      if (at + 1 != value.size()) return std::nullopt;
      return text;
    } else {
      text += c;
    }
  }
  return std::nullopt;  // no closing quote
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Undoes the \ooo octal escapes mountinfo writes for space, tab, newline
// and backslash; other backslashes stay as they are.
std::string UnescapeOctal(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (size_t at = 0; at < field.size(); ++at) {
    if (field[at] == '\\' && at + 3 < field.size()) {
      const auto digit = [&](size_t k) { return field[k] >= '0' && field[k] <= '7'; };
      if (digit(at + 1) && digit(at + 2) && digit(at + 3)) {
        const int value = (field[at + 1] - '0') * 64 + (field[at + 2] - '0') * 8 + (field[at + 3] - '0');
        if (value > 0 && value < 256) {
          text += char(value);
          at += 3;
          continue;
        }
      }
    }
    text += field[at];
  }
  return text;
}

// Undoes the \xHH escapes of the names in /dev/disk/by-label.
std::string UnescapeHex(std::string_view name) {
  const auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string text;
  for (size_t at = 0; at < name.size(); ++at) {
    if (name[at] == '\\' && at + 3 < name.size() && name[at + 1] == 'x' && hex(name[at + 2]) >= 0 && hex(name[at + 3]) >= 0) {
      const int value = hex(name[at + 2]) * 16 + hex(name[at + 3]);
      if (value > 0) {
        text += char(value);
        at += 3;
        continue;
      }
    }
    text += name[at];
  }
  return text;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (at < line.size() && fields.size() < 64) {
    while (at < line.size() && line[at] == ' ') ++at;
    if (at == line.size()) break;
    const size_t end = std::min(line.find(' ', at), line.size());
    fields.push_back(line.substr(at, end - at));
    at = end;
  }
  return fields;
}

// Whether path is folder or lies in it.
bool IsAtOrUnder(std::string_view path, std::string_view folder) {
  if (folder == "/") return true;
  if (path.substr(0, folder.size()) != folder) return false;
  return path.size() == folder.size() || path[folder.size()] == '/';
}

bool IsStrictlyUnder(std::string_view path, std::string_view folder) {
  return path != folder && IsAtOrUnder(path, folder);
}

bool IsSystemFsType(std::string_view type) {
  static constexpr std::string_view kTypes[] = {
      "proc",        "sysfs",      "cgroup",    "cgroup2",   "devpts",     "devtmpfs",
      "tmpfs",       "ramfs",      "securityfs", "debugfs",  "tracefs",    "pstore",
      "bpf",         "configfs",   "fusectl",   "mqueue",    "hugetlbfs",  "autofs",
      "binfmt_misc", "efivarfs",   "rpc_pipefs", "nsfs",     "selinuxfs",  "squashfs",
      "overlay",     "nfsd",       "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs",
      "cgroupfs",    "usbfs",      "xenfs",     "none"};
  for (const std::string_view t : kTypes)
    if (type == t) return true;
  return false;
}

bool IsSystemFolder(std::string_view path) {
  static constexpr std::string_view kFolders[] = {
      "/proc", "/sys", "/dev", "/run", "/snap", "/boot", "/var", "/usr", "/etc",
      "/bin",  "/sbin", "/lib", "/lib64", "/opt", "/tmp", "/srv", "/root"};
  for (const std::string_view folder : kFolders)
    if (IsAtOrUnder(path, folder) && !IsAtOrUnder(path, "/run/media")) return true;
  return false;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string RealPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::map<std::string, std::string> ParseUserDirs(std::string_view text, std::string_view home) {
  std::map<std::string, std::string> dirs;
  const std::string homeDir = WithoutTrailingSlashes(std::string(home));
  ForEachLine(text.substr(0, kMaxUserDirsBytes), kMaxUserDirsLines, [&](std::string_view line) {
    if (line.size() > kMaxUserDirsLineLength) return;
    line = Trimmed(line);
    if (line.empty() || line.front() == '#') return;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view key = Trimmed(line.substr(0, equals));
    if (key.size() <= 8 || key.substr(0, 4) != "XDG_" || key.substr(key.size() - 4) != "_DIR") return;
    for (const char c : key)
      if (!IsKeyChar(c)) return;
    std::optional<std::string> value = Unquoted(Trimmed(line.substr(equals + 1)));
    if (!value) return;
    std::string path;
    if (value->substr(0, 5) == "$HOME" && (value->size() == 5 || (*value)[5] == '/'))
      path = homeDir + value->substr(5);
    else if (!value->empty() && value->front() == '/')
      path = *value;
    else
      return;
    dirs.emplace(std::string(key.substr(4, key.size() - 8)),
                 TShellId::FromPath(path.empty() ? "/" : path).Path);
  });
  return dirs;
}

std::vector<TMountEntry> ParseMountInfo(std::string_view text) {
  std::vector<TMountEntry> mounts;
  ForEachLine(text.substr(0, kMaxMountInfoBytes), kMaxMountInfoLines, [&](std::string_view line) {
    const std::vector<std::string_view> fields = Fields(line);
    // Six fixed fields, the optional ones up to "-", then three more.
    size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (dash + 2 >= fields.size()) return;
    TMountEntry mount;
    mount.Root = UnescapeOctal(fields[3]);
    mount.MountPoint = UnescapeOctal(fields[4]);
    mount.FsType = UnescapeOctal(fields[dash + 1]);
    mount.Source = UnescapeOctal(fields[dash + 2]);
    if (mount.MountPoint.empty() || mount.MountPoint.front() != '/' || mount.FsType.empty()) return;
    mount.MountPoint = TShellId::FromPath(mount.MountPoint).Path;
    mounts.push_back(std::move(mount));
  });
  return mounts;
}

bool IsNetworkFsType(std::string_view type) {
  static constexpr std::string_view kTypes[] = {
      "nfs",  "nfs4",      "cifs",   "smb3",       "smbfs",     "ncpfs",
      "afs",  "9p",        "ceph",   "glusterfs",  "davfs",     "sshfs",
      "coda", "fuse.sshfs", "fuse.davfs", "fuse.rclone", "fuse.glusterfs"};
  for (const std::string_view t : kTypes)
    if (type == t) return true;
  return false;
}

bool IsUserVisibleMount(const TMountEntry& mount, std::string_view home) {
  const std::string_view point = mount.MountPoint;
  if (point == "/") return true;
  if (IsSystemFsType(mount.FsType)) return false;
  const std::string homeDir = WithoutTrailingSlashes(std::string(home));
  if (homeDir != "/" && IsStrictlyUnder(point, homeDir)) {
    // Not inside a hidden folder of the home folder (~/.cache/…).
    return point.find("/.", homeDir.size()) == std::string_view::npos;
  }
  if (IsStrictlyUnder(point, "/media") || IsStrictlyUnder(point, "/run/media") ||
      IsStrictlyUnder(point, "/mnt"))
    return true;
  return IsNetworkFsType(mount.FsType) && !IsSystemFolder(point);
}

TPlacesSettings PlacesSettingsFromEnvironment() {
  TPlacesSettings settings;
  std::string home = Env("HOME");
  if (home.empty() || home.front() != '/') {
    const passwd* entry = ::getpwuid(::getuid());
    home = entry && entry->pw_dir && entry->pw_dir[0] == '/' ? entry->pw_dir : "/";
  }
  settings.Home = TShellId::FromPath(home).Path;
  std::string config = Env("XDG_CONFIG_HOME");
  if (config.empty() || config.front() != '/') config = settings.Home + "/.config";
  settings.UserDirsFile = TShellId::FromPath(config + "/user-dirs.dirs").Path;
  return settings;
}

TPlaces::TPlaces(TPlacesSettings settings) : settings_(std::move(settings)) {
  settings_.Home = TShellId::FromPath(settings_.Home).Path;
  if (settings_.Home.empty()) settings_.Home = "/";
  Refresh();
}

void TPlaces::Refresh() {
  userDirs_.clear();
  mounts_.clear();
  labels_.clear();
  if (const auto text = ReadRegularFilePrefix(settings_.UserDirsFile, kMaxUserDirsBytes))
    userDirs_ = ParseUserDirs(*text, settings_.Home);
  if (const auto text = ReadRegularFilePrefix(settings_.MountInfoFile, kMaxMountInfoBytes)) {
    for (TMountEntry& mount : ParseMountInfo(*text)) {
      if (!IsUserVisibleMount(mount, settings_.Home)) continue;
      // A later mount on the same point hides the earlier one.
      std::erase_if(mounts_, [&](const TMountEntry& m) { return m.MountPoint == mount.MountPoint; });
      mounts_.push_back(std::move(mount));
    }
  }
  if (DIR* dir = ::opendir(settings_.DiskLabelsDir.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      if (entry->d_name[0] == '.' || labels_.size() >= kMaxLabels) continue;
      const std::string device = RealPath(settings_.DiskLabelsDir + '/' + entry->d_name);
      labels_.emplace(device, DisplayNameFromBytes(UnescapeHex(entry->d_name)));
    }
    ::closedir(dir);
  }
}

std::string TPlaces::LabelFor(const std::string& source) const {
  if (labels_.empty() || source.empty() || source.front() != '/') return {};
  const auto found = labels_.find(RealPath(source));
  return found == labels_.end() ? std::string() : found->second;
}

TShellId TPlaces::RootFolder(TRootFolder which) const {
  const auto userDir = [&](const char* key, const std::string& fallback) {
    const auto found = userDirs_.find(key);
    const std::string path = found != userDirs_.end() ? found->second : fallback;
    return TShellId::FromPath(IsFolder(path) ? path : settings_.Home);
  };
  switch (which) {
    case TRootFolder::rfDesktop: return userDir("DESKTOP", settings_.Home + "/Desktop");
    case TRootFolder::rfPersonal: return userDir("DOCUMENTS", settings_.Home);
    case TRootFolder::rfMyComputer: return TShellId::Computer();
    case TRootFolder::rfNetwork: return TShellId::Network();
  }
  return TShellId::Computer();
}

std::string TPlaces::DisplayName(const TShellId& id) const {
  if (id.Place == TShellPlace::Computer) return "Computer";
  if (id.Place == TShellPlace::Network) return "Network";
  if (id.Path == settings_.Home) return "Home";
  if (id.Path == "/") return "File System";
  for (const TMountEntry& mount : mounts_) {
    if (mount.MountPoint != id.Path) continue;
    std::string label = LabelFor(mount.Source);
    if (!label.empty()) return label;
  }
  return DisplayNameFromBytes(LastName(id.Path));
}

std::vector<TPlace> TPlaces::ComputerContents() const {
  std::vector<TPlace> places;
  places.push_back({TShellId::FromPath(settings_.Home), "Home", TPlace::TKind::Home});
  if (settings_.Home != "/")
    places.push_back({TShellId::FromPath("/"), "File System", TPlace::TKind::FileSystemRoot});
  for (const TMountEntry& mount : mounts_) {
    if (mount.MountPoint == "/" || mount.MountPoint == settings_.Home || IsNetworkFsType(mount.FsType))
      continue;
    const TShellId id = TShellId::FromPath(mount.MountPoint);
    places.push_back({id, DisplayName(id), TPlace::TKind::Volume});
  }
  for (TPlace& place : NetworkContents()) places.push_back(std::move(place));
  places.push_back({TShellId::Network(), "Network", TPlace::TKind::Network});
  return places;
}

std::vector<TPlace> TPlaces::NetworkContents() const {
  std::vector<TPlace> places;
  for (const TMountEntry& mount : mounts_) {
    if (!IsNetworkFsType(mount.FsType) || mount.MountPoint == "/") continue;
    const TShellId id = TShellId::FromPath(mount.MountPoint);
    places.push_back({id, DisplayName(id), TPlace::TKind::NetworkMount});
  }
  return places;
}

}  // namespace qz
