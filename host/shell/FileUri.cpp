#include "host/shell/FileUri.h"

#include <cstdint>
#include <cstring>

namespace qz {

namespace {

bool Unreserved(uint8_t c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return c != 0 && std::strchr("-._~!$&'()*+,=:@/", c) != nullptr;
}

}  // namespace

std::string FileUriFromPath(std::string_view absolutePath) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  uri.reserve(uri.size() + absolutePath.size());
  for (const char ch : absolutePath) {
    const auto c = uint8_t(ch);
    if (Unreserved(c)) {
      uri.push_back(ch);
    } else {
      uri.push_back('%');
      uri.push_back(kHex[c >> 4]);
      uri.push_back(kHex[c & 15]);
    }
  }
  return uri;
}

}  // namespace qz
