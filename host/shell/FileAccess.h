// The two file operations the shell services need, behind an interface so
// that tests can count them or serve a made-up tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qz {

class TFileAccess {
 public:
  virtual ~TFileAccess() = default;
  // The names in a folder (without "." and ".."), empty when it cannot be
  // read or is no folder. Order unspecified.
  virtual std::vector<std::string> ListDirectory(const std::string& path) = 0;
  // The bytes of a regular file of at most maxBytes, or nothing (missing,
  // unreadable, too large, not a regular file).
  virtual std::optional<std::vector<uint8_t>> ReadFile(const std::string& path, size_t maxBytes) = 0;
};

// The real file system. Follows symbolic links (themes are full of them) but
// opens only folders and regular files: FIFOs, devices and sockets are never
// opened, and a link loop is just a missing entry. Stateless; lives for the
// whole process.
TFileAccess& RealFileAccess();

}  // namespace qz
