#include "host/shell/ChangeNotifier.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "host/shell/ShellItem.h"

namespace qz {

namespace {

std::string ErrnoText(int error) {
  char buffer[256];
  return strerror_r(error, buffer, sizeof buffer);  // the GNU variant
}

constexpr uint32_t kSelfGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;
constexpr size_t kMaxDepth = 64;

void Retry(int fd, uint64_t* value, bool write) {
  for (;;) {
    const ssize_t n = write ? ::write(fd, value, sizeof *value) : ::read(fd, value, sizeof *value);
    if (n >= 0 || errno != EINTR) return;
  }
}

}  // namespace

void TFolderChanges::Merge(const TFolderChanges& other) {
  Kinds |= other.Kinds;
  ReloadAll = ReloadAll || other.ReloadAll;
  FolderGone = FolderGone || other.FolderGone;
  Events += other.Events;
}

uint32_t InotifyMaskOf(uint32_t filter) {
  uint32_t mask = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
  if (filter & (nfFileName | nfDirName)) mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
  if (filter & (nfAttributes | nfSecurity)) mask |= IN_ATTRIB;
  if (filter & (nfSize | nfLastWrite)) mask |= IN_CLOSE_WRITE;
  return mask;
}

bool ParseInotifyEvents(std::span<const uint8_t> bytes,
                        const std::function<void(int wd, uint32_t mask, std::string_view name)>& event) {
  size_t at = 0;
  while (at < bytes.size()) {
    inotify_event header;
    if (bytes.size() - at < sizeof header) return false;
    std::memcpy(&header, bytes.data() + at, sizeof header);  // the buffer need not be aligned
    at += sizeof header;
    if (header.len > bytes.size() - at) return false;
    const char* name = reinterpret_cast<const char*>(bytes.data() + at);
    // The name is padded with NULs up to len.
    const std::string_view padded(name, header.len);
    event(header.wd, header.mask, padded.substr(0, padded.find('\0')));
    at += header.len;
  }
  return true;
}

TFolderWatch::TFolderWatch()
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (fd_ < 0) error_ = "cannot watch folders: " + ErrnoText(errno);
}

TFolderWatch::~TFolderWatch() {
  if (fd_ >= 0) close(fd_);
  if (wakeFd_ >= 0) close(wakeFd_);
}

bool TFolderWatch::Watch(const std::string& path, bool subtree, uint32_t filter) {
  std::lock_guard lock(mutex_);
  CloseLocked();
  path_ = path;
  subtree_ = subtree;
  mask_ = InotifyMaskOf(filter);
  filter_ = filter;
  if (fd_ < 0) return false;  // error_ says why since construction
  if (path.empty() || path.find('\0') != std::string::npos) {
    error_ = "cannot watch \"" + DisplayNameFromBytes(path) + "\": not a folder path";
    return false;
  }
  if (!AddWatchLocked(path, true)) return false;
  if (subtree) AddSubtreeLocked(path, 0);
  return true;
}

bool TFolderWatch::AddWatchLocked(const std::string& path, bool root) {
  if (watches_.size() >= kMaxWatches) return false;
  // The root may be reached through a link (the user opened it so); below
  // it links are not followed, so a loop cannot make endless watches.
  const uint32_t mask = mask_ | (root ? 0 : IN_DONT_FOLLOW) | (subtree_ ? IN_CREATE | IN_MOVED_TO : 0);
  const int wd = inotify_add_watch(fd_, path.c_str(), mask);
  if (wd < 0) {
    if (root) {
      const int e = errno;
      error_ = "cannot watch \"" + DisplayNameFromBytes(path) + "\": " +
               (e == ENOSPC ? std::string("the user's limit of watched folders is reached") : ErrnoText(e));
    }
    return false;
  }
  // Two paths may name one folder (a hard-linked or bind-mounted folder):
  // the kernel gives the same wd; the root keeps its role.
  if (root) rootWd_ = wd;
  watches_.try_emplace(wd, path);
  return true;
}

void TFolderWatch::AddSubtreeLocked(const std::string& path, size_t depth) {
  if (depth >= kMaxDepth) return;
  const int dirFd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
  if (dirFd < 0) return;  // vanished or unreadable: nothing below to watch
  DIR* dir = fdopendir(dirFd);
  if (!dir) {
    close(dirFd);
    return;
  }
  std::vector<std::string> folders;
  while (dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool isDir = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat st;
      isDir = fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    if (isDir) folders.push_back(ChildOf(TShellId::FromPath(path), name).Path);
  }
  closedir(dir);
  for (const std::string& folder : folders) {
    if (watches_.size() >= kMaxWatches) return;
    if (AddWatchLocked(folder, false)) AddSubtreeLocked(folder, depth + 1);
  }
}

void TFolderWatch::CloseLocked() {
  for (const auto& [wd, path] : watches_) inotify_rm_watch(fd_, wd);
  watches_.clear();
  rootWd_ = -1;
  error_.clear();
}

void TFolderWatch::Close() {
  std::lock_guard lock(mutex_);
  CloseLocked();
  path_.clear();
}

bool TFolderWatch::Watching() const {
  std::lock_guard lock(mutex_);
  return rootWd_ >= 0;
}

std::string TFolderWatch::Error() const {
  std::lock_guard lock(mutex_);
  return error_;
}

std::string TFolderWatch::Path() const {
  std::lock_guard lock(mutex_);
  return path_;
}

void TFolderWatch::Interrupt() {
  uint64_t one = 1;
  if (wakeFd_ >= 0) Retry(wakeFd_, &one, true);
}

TFolderChanges TFolderWatch::Wait(int timeoutMs) {
  // Without an eventfd (out of descriptors) Interrupt cannot wake the
  // wait: it ends now and then for the caller to look whether to stop.
  if (wakeFd_ < 0 && (timeoutMs < 0 || timeoutMs > 200)) timeoutMs = 200;
  pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
  int ready;
  do {
    ready = poll(fds, 2, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0) return {};
  if (fds[1].revents) {
    uint64_t value;
    Retry(wakeFd_, &value, false);
  }
  return fds[0].revents ? Drain() : TFolderChanges{};
}

TFolderChanges TFolderWatch::Drain() {
  TFolderChanges changes;
  // Room for many events and at least one of the longest name.
  alignas(inotify_event) static thread_local uint8_t buffer[64 * 1024];
  size_t total = 0;
  while (total < kMaxReadBytes) {
    const ssize_t n = read(fd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // EAGAIN: all read
    total += static_cast<size_t>(n);
    changes.Merge(Feed({buffer, static_cast<size_t>(n)}));
  }
  return changes;
}

TFolderChanges TFolderWatch::Feed(std::span<const uint8_t> bytes) {
  TFolderChanges changes;
  std::lock_guard lock(mutex_);
  const bool whole = ParseInotifyEvents(bytes, [&](int wd, uint32_t mask, std::string_view name) {
    Handle(wd, mask, name, changes);
  });
  if (!whole) changes.ReloadAll = true;
  return changes;
}

void TFolderWatch::Handle(int wd, uint32_t mask, std::string_view name, TFolderChanges& out) {
  if (mask & IN_Q_OVERFLOW) {
    ++out.Events;
    out.ReloadAll = true;
    return;
  }
  const auto it = watches_.find(wd);
  if (it == watches_.end()) return;  // a watch given up before (an earlier folder)
  ++out.Events;
  const bool root = wd == rootWd_;
  if (mask & (kSelfGone | IN_IGNORED)) {
    if (root) {
      out.FolderGone = true;
      error_ = "the folder \"" + DisplayNameFromBytes(path_) + "\" is gone";
      for (const auto& [w, p] : watches_) inotify_rm_watch(fd_, w);
      watches_.clear();
      rootWd_ = -1;
    } else {
      // A subfolder: its parent reports the deletion or move as well.
      if (!(mask & IN_IGNORED)) inotify_rm_watch(fd_, wd);
      watches_.erase(it);
      out.Kinds |= kChangeDeleted;
    }
    return;
  }
  // Folder or file events the filter did not ask for (both share the mask).
  if (mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) {
    const bool wanted = (filter_ & ((mask & IN_ISDIR) ? nfDirName : nfFileName)) != 0;
    if (!wanted) {
      // Asked for by the other kind, or by the subtree only (to follow new folders).
    } else if (mask & IN_CREATE) {
      out.Kinds |= kChangeCreated;
    } else if (mask & IN_DELETE) {
      out.Kinds |= kChangeDeleted;
    } else {
      out.Kinds |= kChangeMoved;
    }
    if (subtree_ && (mask & IN_ISDIR) && (mask & (IN_CREATE | IN_MOVED_TO)) && !name.empty()) {
      const std::string folder = ChildOf(TShellId::FromPath(it->second), name).Path;
      if (AddWatchLocked(folder, false)) AddSubtreeLocked(folder, 1);
    }
    return;
  }
  if (mask & IN_ATTRIB) out.Kinds |= kChangeAttributes;
  if (mask & IN_CLOSE_WRITE) out.Kinds |= kChangeContent;
}

}  // namespace qz
