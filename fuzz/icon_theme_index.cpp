// Fuzz target for the index.theme reader: any bytes give an index, never a
// crash, and what it keeps stays inside its limits and its path rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/shell/IconThemeIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const qz::TIconThemeIndex index = qz::ParseIconThemeIndex(text);
  if (index.Directories.size() > qz::kMaxIconDirectories) std::abort();
  for (const std::string& parent : index.Inherits)
    if (!qz::IsPlainFileName(parent)) std::abort();
  for (const qz::TIconDirectory& dir : index.Directories) {
    if (dir.Path.empty() || dir.Path.front() == '/' || dir.Path.find("..") != std::string::npos ||
        dir.Path.find("//") != std::string::npos)
      std::abort();
    if (dir.Size < 1 || dir.Size > qz::kMaxIconSize || dir.Scale < 1 || dir.Scale > qz::kMaxIconScale)
      std::abort();
    // The size rules must hold for any request without overflow.
    for (const int wanted : {1, dir.Size, qz::kMaxIconSize})
      if (qz::DirectorySizeDistance(dir, wanted, qz::kMaxIconScale) < 0 ||
          (qz::DirectoryMatchesSize(dir, wanted, dir.Scale) && dir.Type == qz::TIconDirType::Fixed &&
           wanted != dir.Size))
        std::abort();
  }
  qz::ParseIni(text);
  return 0;
}
