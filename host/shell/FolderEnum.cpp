#include "host/shell/FolderEnum.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "host/shell/ShellItem.h"

namespace qz {

namespace {

struct TDirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using TDirPtr = std::unique_ptr<DIR, TDirCloser>;

// Opens a folder for reading without following it into anything else.
TDirPtr OpenFolder(const std::string& path, int& error) {
  const int fd = ::openat(AT_FDCWD, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    error = errno;
    ::close(fd);
    return nullptr;
  }
  error = 0;
  return TDirPtr(dir);
}

TEntryKind KindFromDirentType(unsigned char type) {
  switch (type) {
    case DT_REG: return TEntryKind::Regular;
    case DT_DIR: return TEntryKind::Folder;
    case DT_FIFO: return TEntryKind::Fifo;
    case DT_SOCK: return TEntryKind::Socket;
    case DT_CHR: return TEntryKind::CharDevice;
    case DT_BLK: return TEntryKind::BlockDevice;
    default: return TEntryKind::Unknown;  // DT_LNK, DT_UNKNOWN
  }
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

bool Wanted(const TFolderEntry& entry, TShellObjectTypes types) {
  return types.Contains(entry.IsFolder() ? TShellObjectType::otFolders
                                         : TShellObjectType::otNonFolders);
}

void TakeDetails(TFolderEntry& entry, const struct stat& st) {
  entry.HasDetails = true;
  entry.Size = st.st_size > 0 ? uint64_t(st.st_size) : 0;
  entry.MTimeSec = st.st_mtim.tv_sec;
  entry.MTimeNsec = int32_t(st.st_mtim.tv_nsec);
  entry.Mode = st.st_mode;
}

enum class TExamined { Keep, Vanished };

// Fills the kind (and the details when asked) of an entry read from the
// folder open as dirFd, with one fstatat at most when d_type says enough,
// two only for an entry of unknown type that turns out to be a dead link.
TExamined Examine(int dirFd, const dirent& raw, bool details, TFolderEntry& entry) {
  entry.Kind = KindFromDirentType(raw.d_type);
  entry.IsLink = raw.d_type == DT_LNK;
  const bool needStat = details || entry.Kind == TEntryKind::Unknown;
  if (!needStat) return TExamined::Keep;
  struct stat st;
  // Follows links: a link shows as what it leads to, as file managers show it.
  if (::fstatat(dirFd, raw.d_name, &st, 0) == 0) {
    entry.Kind = EntryKindFromMode(st.st_mode);
    if (details) TakeDetails(entry, st);
    return TExamined::Keep;
  }
  const int error = errno;
  if (raw.d_type == DT_LNK) {
    entry.Kind = TEntryKind::DanglingLink;
    return TExamined::Keep;
  }
  if (raw.d_type == DT_UNKNOWN &&
      ::fstatat(dirFd, raw.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
    entry.IsLink = true;
    entry.Kind = TEntryKind::DanglingLink;
    return TExamined::Keep;
  }
  if (error == ENOENT) return TExamined::Vanished;
  return TExamined::Keep;  // kind from d_type (or Unknown), no details
}

// Reads the next entry; nullptr at the end or on an error (then error is set).
const dirent* NextEntry(DIR* dir, int& error) {
  errno = 0;
  const dirent* raw = ::readdir(dir);
  if (!raw) error = errno;
  return raw;
}

}  // namespace

TEntryKind EntryKindFromMode(uint32_t mode) {
  switch (mode & S_IFMT) {
    case S_IFREG: return TEntryKind::Regular;
    case S_IFDIR: return TEntryKind::Folder;
    case S_IFIFO: return TEntryKind::Fifo;
    case S_IFSOCK: return TEntryKind::Socket;
    case S_IFCHR: return TEntryKind::CharDevice;
    case S_IFBLK: return TEntryKind::BlockDevice;
    case S_IFLNK: return TEntryKind::DanglingLink;
    default: return TEntryKind::Unknown;
  }
}

TFolderListing EnumerateFolder(const std::string& path, TShellObjectTypes types,
                               const TEnumOptions& options) {
  TFolderListing listing;
  TDirPtr dir = OpenFolder(path, listing.Error);
  if (!dir) return listing;
  const int dirFd = ::dirfd(dir.get());
  const bool hidden = types.Contains(TShellObjectType::otHidden);
  const bool folders = types.Contains(TShellObjectType::otFolders);
  const bool others = types.Contains(TShellObjectType::otNonFolders);
  size_t read = 0;
  while (const dirent* raw = NextEntry(dir.get(), listing.Error)) {
    if (IsDotOrDotDot(raw->d_name)) continue;
    if (listing.Entries.size() >= options.MaxEntries) {
      listing.Truncated = true;
      break;
    }
    ++read;
    if (options.OnEntryRead) options.OnEntryRead(read);
    if (!hidden && IsHiddenName(raw->d_name)) continue;
    // Known folders and files are sorted out before any fstatat.
    if (!folders && raw->d_type == DT_DIR) continue;
    if (!others && raw->d_type != DT_DIR && raw->d_type != DT_LNK && raw->d_type != DT_UNKNOWN)
      continue;
    TFolderEntry entry;
    if (Examine(dirFd, *raw, options.Details, entry) == TExamined::Vanished) continue;
    if (!Wanted(entry, types)) continue;
    entry.Name = raw->d_name;
    listing.Entries.push_back(std::move(entry));
  }
  return listing;
}

bool HasSubfolders(const std::string& path, TShellObjectTypes types, size_t maxProbe) {
  int error = 0;
  TDirPtr dir = OpenFolder(path, error);
  if (!dir) return false;
  const int dirFd = ::dirfd(dir.get());
  const bool hidden = types.Contains(TShellObjectType::otHidden);
  size_t probed = 0;
  while (const dirent* raw = NextEntry(dir.get(), error)) {
    if (IsDotOrDotDot(raw->d_name)) continue;
    if (++probed > maxProbe) return true;
    if (!hidden && IsHiddenName(raw->d_name)) continue;
    if (raw->d_type == DT_DIR) return true;
    if (raw->d_type != DT_LNK && raw->d_type != DT_UNKNOWN) continue;
    TFolderEntry entry;
    if (Examine(dirFd, *raw, false, entry) == TExamined::Keep && entry.IsFolder()) return true;
  }
  return false;
}

std::string PermissionsText(uint32_t mode) {
  std::string text(10, '-');
  switch (mode & S_IFMT) {
    case S_IFDIR: text[0] = 'd'; break;
    case S_IFLNK: text[0] = 'l'; break;
    case S_IFIFO: text[0] = 'p'; break;
    case S_IFSOCK: text[0] = 's'; break;
    case S_IFCHR: text[0] = 'c'; break;
    case S_IFBLK: text[0] = 'b'; break;
    default: break;
  }
  static constexpr char kLetters[] = "rwxrwxrwx";
  for (int bit = 0; bit < 9; ++bit)
    if (mode & (0400u >> bit)) text[size_t(bit + 1)] = kLetters[bit];
  const auto special = [&](uint32_t flag, size_t at, char withExec, char withoutExec) {
    if (mode & flag) text[at] = text[at] == 'x' ? withExec : withoutExec;
  };
  special(S_ISUID, 3, 's', 'S');
  special(S_ISGID, 6, 's', 'S');
  special(S_ISVTX, 9, 't', 'T');
  return text;
}

}  // namespace qz
