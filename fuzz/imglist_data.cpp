// Fuzz target for the image list's stored data: arbitrary bytes must either
// load or raise EReadError, never crash, and a failed load must leave the
// list as it was. What loads must save and load back to the same images.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "host/ui/ImgList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qz::TImageList list(nullptr);
  std::vector<uint8_t> bytes(data, data + size);
  try {
    list.LoadData(bytes);
  } catch (const qz::EReadError&) {
    if (list.Count() != 0 || list.Width() != 16) std::abort();
    return 0;
  }
  qz::TImageList copy(nullptr);
  copy.LoadData(list.SaveData());
  if (copy.Count() != list.Count()) std::abort();
  for (int i = 0; i < list.Count(); ++i)
    if (!(copy.Image(i) == list.Image(i))) std::abort();
  return 0;
}
