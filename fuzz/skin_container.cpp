// Fuzz target: the stored skin loader. The first byte chooses whether the
// rest is a zlib stream, a compressed skin file or an inflated container;
// each path ends in a full TqzSkinData load.
#include <cstddef>
#include <cstdint>
#include <span>

#include "host/base/Exception.h"
#include "skin/data/SkinData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  std::span<const uint8_t> rest(data + 1, size - 1);
  qz::TqzSkinData skin(nullptr);
  try {
    switch (data[0] % 3) {
      case 0: {
        // Keep inflated sizes small enough for the fuzzer's memory limit.
        std::vector<uint8_t> container = qz::InflateSkinStream(rest, size_t(64) << 20);
        skin.LoadFromContainer(container);
        break;
      }
      case 1: {
        qz::TqzCompressedStoredSkin holder(nullptr);
        qz::TBytesStream stream(rest);
        holder.LoadFromStream(stream);
        if (!holder.Empty()) {
          std::vector<uint8_t> container =
              qz::InflateSkinStream(holder.CompressedData(), size_t(64) << 20);
          skin.LoadFromContainer(container);
        }
        break;
      }
      default:
        skin.LoadFromContainer(rest);
        break;
    }
  } catch (const qz::Exception&) {
  }
  return 0;
}
