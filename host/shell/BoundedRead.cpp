#include "host/shell/BoundedRead.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qz {

std::optional<std::string> ReadRegularFilePrefix(int dirFd, const char* name, size_t maxBytes) {
  struct stat st;
  if (::fstatat(dirFd, name, &st, 0) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  const int fd = ::openat(dirFd, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> bytes;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    bytes.emplace();
    const size_t expected = st.st_size > 0 ? size_t(st.st_size) : 4096;
    bytes->resize(expected < maxBytes ? expected : maxBytes);
    size_t done = 0;
    while (done < maxBytes) {
      if (done == bytes->size()) {
        // Full as its size said: look for more before growing (a file that
        // grew, or one the system gives as empty), so that reading a whole
        // file makes one buffer of its size, not twice that.
        char probe[4096];
        const ssize_t n = ::read(fd, probe, sizeof probe < maxBytes - done ? sizeof probe : maxBytes - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        const size_t doubled = bytes->size() * 2 < maxBytes ? bytes->size() * 2 : maxBytes;
        bytes->resize(doubled > done + size_t(n) ? doubled : done + size_t(n));
        std::memcpy(bytes->data() + done, probe, size_t(n));
        done += size_t(n);
        continue;
      }
      const ssize_t n = ::read(fd, bytes->data() + done, bytes->size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += size_t(n);
    }
    bytes->resize(done);
  }
  ::close(fd);
  return bytes;
}

}  // namespace qz
