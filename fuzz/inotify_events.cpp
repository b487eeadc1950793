// Fuzz target for the reading of inotify event records: arbitrary bytes
// (as if the kernel had written them) must neither crash the parser nor a
// watch that handles them, and a record never reaches past the buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "host/shell/ChangeNotifier.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const char* end = reinterpret_cast<const char*>(data + size);
  qz::ParseInotifyEvents(bytes, [&](int, uint32_t, std::string_view name) {
    if (!name.empty() && (name.data() < reinterpret_cast<const char*>(data) || name.data() + name.size() > end))
      std::abort();
    if (name.find('\0') != std::string_view::npos) std::abort();
  });
  // A watch of a folder that is surely there handles the same records
  // (watched again when a record said that it went).
  static qz::TFolderWatch watch;
  if (!watch.Watching()) watch.Watch("/");
  const qz::TFolderChanges changes = watch.Feed(bytes);
  if (changes.Events > size) std::abort();
  return 0;
}
