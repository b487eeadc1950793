// Reading the start of a file that may be anything: a FIFO, a device, a
// file that grows or is replaced while it is read.
#pragma once

#include <fcntl.h>

#include <cstddef>
#include <optional>
#include <string>

namespace qz {

// At most maxBytes from the start of the regular file `name` (relative to
// the folder open as dirFd, or any path with AT_FDCWD; links followed).
// The entry is checked with fstatat before it is opened, so that FIFOs,
// sockets and devices are never opened, and what was opened is checked
// again. Files the system gives as empty (/proc) are read to their end, as
// far as maxBytes. Nothing when it is no regular file or cannot be read.
std::optional<std::string> ReadRegularFilePrefix(int dirFd, const char* name, size_t maxBytes);

inline std::optional<std::string> ReadRegularFilePrefix(const std::string& path, size_t maxBytes) {
  return ReadRegularFilePrefix(AT_FDCWD, path.c_str(), maxBytes);
}

}  // namespace qz
