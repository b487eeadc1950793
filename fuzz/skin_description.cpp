// Fuzz target: the description text. The input is the text of a container
// without pictures; the whole loading order runs over it, then the loaded
// descriptions are written back and parsed again, and validated.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/base/Exception.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinValidation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::array<std::span<const uint8_t>, qz::kSkinSlotCount> noSlots{};
  std::vector<uint8_t> container = qz::BuildSkinContainer(noSlots, {}, text);
  qz::TqzSkinData skin(nullptr);
  try {
    skin.LoadFromContainer(container);
  } catch (const qz::Exception&) {
    return 0;
  }
  qz::TqzIniFile written;
  skin.WriteData(written);
  qz::TqzIniFile again(written.Text());
  (void)skin.FindControlIndex("button");
  (void)skin.FindObjectIndex("caption");
  (void)qz::ValidateDescriptions(skin);
  return 0;
}
