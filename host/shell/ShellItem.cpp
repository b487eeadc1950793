#include "host/shell/ShellItem.h"

#include <cstdint>

namespace qz {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The range of the second byte of a sequence led by `lead`; later bytes are
// 80 … BF. Returns the sequence length, 0 for a byte that leads nothing.
int SequenceRule(uint8_t lead, uint8_t& low, uint8_t& high) {
  low = 0x80;
  high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead == 0xE0) { low = 0xA0; return 3; }
  if (lead == 0xED) { high = 0x9F; return 3; }  // no UTF-16 surrogates
  if (lead >= 0xE1 && lead <= 0xEF) return 3;
  if (lead == 0xF0) { low = 0x90; return 4; }
  if (lead == 0xF4) { high = 0x8F; return 4; }  // nothing past U+10FFFF
  if (lead >= 0xF1 && lead <= 0xF3) return 4;
  return 0;
}

// The length of the valid sequence at text[at], or the negated length of
// the maximal invalid subpart there (at least 1).
int ValidSequenceAt(std::string_view text, size_t at) {
  const uint8_t lead = uint8_t(text[at]);
  uint8_t low, high;
  const int length = SequenceRule(lead, low, high);
  if (length == 0) return -1;
  for (int k = 1; k < length; ++k) {
    if (at + k >= text.size()) return -k;
    const uint8_t byte = uint8_t(text[at + k]);
    if (byte < low || byte > high) return -k;
    low = 0x80;
    high = 0xBF;
  }
  return length;
}

bool IsControl(char c) { return uint8_t(c) < 0x20 || c == 0x7F; }

}  // namespace

TShellId TShellId::FromPath(std::string_view path) {
  if (path.empty() || path.front() != '/') return Computer();
  // Copies byte by byte, dropping empty and "." components.
  std::string normal;
  normal.reserve(path.size());
  size_t at = 0;
  while (at < path.size()) {
    while (at < path.size() && path[at] == '/') ++at;
    size_t end = at;
    while (end < path.size() && path[end] != '/') ++end;
    const bool dot = end - at == 1 && path[at] == '.';
    if (end > at && !dot) {
      normal.push_back('/');
      for (size_t k = at; k < end; ++k) normal.push_back(path[k]);
    }
    at = end;
  }
  if (normal.empty()) normal.push_back('/');
  return {TShellPlace::FileSystem, std::move(normal)};
}

TShellId ParentOf(const TShellId& id) {
  switch (id.Place) {
    case TShellPlace::Computer:
    case TShellPlace::Network:
      return TShellId::Computer();
    case TShellPlace::FileSystem:
      break;
  }
  if (id.Path == "/" || id.Path.empty()) return TShellId::Computer();
  const size_t slash = id.Path.rfind('/');
  if (slash == 0 || slash == std::string::npos) return {TShellPlace::FileSystem, "/"};
  return {TShellPlace::FileSystem, id.Path.substr(0, slash)};
}

TShellId ChildOf(const TShellId& folder, std::string_view name) {
  if (folder.IsVirtual()) return TShellId::Computer();
  std::string path = folder.Path;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return TShellId::FromPath(path);
}

std::string_view LastName(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  if (path == "/") return path;
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string DisplayNameFromBytes(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  size_t at = 0;
  while (at < bytes.size()) {
    const int length = ValidSequenceAt(bytes, at);
    if (length < 0) {
      text += kReplacement;
      at += size_t(-length);
    } else if (length == 1 && IsControl(bytes[at])) {
      text += kReplacement;
      ++at;
    } else {
      text.append(bytes.substr(at, size_t(length)));
      at += size_t(length);
    }
  }
  return text;
}

bool IsDisplayableName(std::string_view bytes) {
  size_t at = 0;
  while (at < bytes.size()) {
    const int length = ValidSequenceAt(bytes, at);
    if (length < 0 || (length == 1 && IsControl(bytes[at]))) return false;
    at += size_t(length);
  }
  return true;
}

}  // namespace qz
