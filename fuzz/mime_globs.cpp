// Fuzz target for the globs2 reader and the glob index: arbitrary text must
// give well-formed globs (a type name safe for a path, a pattern without
// control characters), and matching names against them must not crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/shell/MimeDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<qz::TMimeGlob> globs = qz::ParseMimeGlobs(text);
  qz::TMimeGlobIndex index;
  for (const qz::TMimeGlob& glob : globs) {
    if (!qz::IsMimeTypeName(glob.Type) || glob.Pattern.empty() || glob.Weight < 0 || glob.Weight > 100)
      std::abort();
    for (const char c : glob.Pattern)
      if (static_cast<unsigned char>(c) < 0x20) std::abort();
    index.Add(glob);
  }
  if (!globs.empty()) index.RemoveType(globs.front().Type);
  for (const std::string_view name : {"file.txt", "archive.tar.gz", "Makefile", "README", ".hidden", "x.C"})
    for (const std::string& type : index.Match(name))
      if (!qz::IsMimeTypeName(type)) std::abort();
  // The input's own last line as a name.
  const size_t newline = text.rfind('\n');
  const std::string name(newline == std::string_view::npos ? text : text.substr(newline + 1));
  if (name.size() < 256) index.Match(name);
  return 0;
}
