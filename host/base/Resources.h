// Program resources: byte blocks compiled into the executable (form
// resources, PNG tool images). The build embeds them with
// qz_embed_resources(); lookups are by exact name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qz {

struct TResourceRegistration {
  TResourceRegistration(const char* name, const unsigned char* data, size_t size);
};

// The bytes of a resource, or an empty span when there is none by that name.
std::span<const uint8_t> FindResource(const std::string& name);
// Names of all resources that start with prefix, in name order.
std::vector<std::string> ResourceNames(const std::string& prefix = "");

}  // namespace qz
