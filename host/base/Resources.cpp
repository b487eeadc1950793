#include "host/base/Resources.h"

#include <map>

namespace qz {

// Process-wide table, filled by static registrations before main().
static std::map<std::string, std::span<const uint8_t>>& Table() {
  static std::map<std::string, std::span<const uint8_t>> table;
  return table;
}

TResourceRegistration::TResourceRegistration(const char* name, const unsigned char* data,
                                             size_t size) {
  Table().emplace(name, std::span<const uint8_t>(data, size));
}

std::span<const uint8_t> FindResource(const std::string& name) {
  auto it = Table().find(name);
  return it == Table().end() ? std::span<const uint8_t>() : it->second;
}

std::vector<std::string> ResourceNames(const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : Table())
    if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
  return names;
}

}  // namespace qz
