#include "host/shell/FileAccess.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qz {

namespace {

// Owns a file descriptor.
class TFd {
 public:
  explicit TFd(int fd) : fd_(fd) {}
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  ~TFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }
  int Release() { int fd = fd_; fd_ = -1; return fd; }

 private:
  int fd_;
};

// Entries that may be folders or files; sockets, FIFOs and devices are left
// out (they may still appear as DT_UNKNOWN or behind a link: ReadFile checks).
bool MayBeFileOrFolder(unsigned char type) {
  return type == DT_REG || type == DT_DIR || type == DT_LNK || type == DT_UNKNOWN;
}

class TRealFileAccess final : public TFileAccess {
 public:
  std::vector<std::string> ListDirectory(const std::string& path) override {
    std::vector<std::string> names;
    // O_DIRECTORY refuses anything else before it is opened.
    TFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0) return names;
    DIR* dir = ::fdopendir(fd.Get());
    if (!dir) return names;
    fd.Release();  // the stream owns it now
    constexpr size_t kMaxEntries = 1 << 18;
    while (const dirent* entry = ::readdir(dir)) {
      if (names.size() >= kMaxEntries) break;
      const char* name = entry->d_name;
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
      if (MayBeFileOrFolder(entry->d_type)) names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
  }

  std::optional<std::vector<uint8_t>> ReadFile(const std::string& path, size_t maxBytes) override {
    struct stat st;
    // Checked before opening so that a FIFO or device is never opened.
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || size_t(st.st_size) > maxBytes)
      return std::nullopt;
    TFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    // The entry may have been replaced since: check what was opened.
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        size_t(st.st_size) > maxBytes)
      return std::nullopt;
    std::vector<uint8_t> bytes(size_t(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += size_t(n);
    }
    bytes.resize(done);  // a file that shrank meanwhile gives what it still had
    return bytes;
  }
};

}  // namespace

TFileAccess& RealFileAccess() {
  static TRealFileAccess access;
  return access;
}

}  // namespace qz
