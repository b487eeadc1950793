// Region data and regions from arbitrary masks: the first bytes give a size
// and a nine-part geometry, the rest are mask pixels (black where a byte is even).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "host/graphics/Bitmap.h"
#include "skin/draw/QZUtils.h"

using namespace qz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 16) return 0;
  const int w = 1 + data[0] % 64, h = 1 + data[1] % 64;
  TBitmap mask(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t i = 16 + size_t(y) * w + x;
      const uint8_t v = i < size ? data[i] : 1;
      mask.Pixels().At(x, y) = (v % 2 == 0) ? 0xFF000000u : 0xFFFFFFFFu;
    }
  TqzSkinGeometry g;
  g.SkinRect = {0, 0, w, h};
  auto c = [&](int i) { return int(int8_t(data[i])); };
  g.LeftTopPoint = {c(2), c(3)};
  g.RightTopPoint = {c(4), c(5)};
  g.LeftBottomPoint = {c(6), c(7)};
  g.RightBottomPoint = {c(8), c(9)};
  g.ClientRect = {c(10), c(11), c(12), c(13)};
  const int W = data[14], H = data[15];
  const TqzNewGeometry n = CalcNewGeometry(g, CalcResizeMode(g), W, H);

  // The region built from the runs is the one the serialised runs describe.
  const TqzRegionData rd = CreateRegionDataFromMask(mask, c(2), c(3));
  if (!rd.Data.empty() &&
      !(ExtCreateRegion(rd.Data) == TRegion::FromRects(MaskRunRects(mask.Pixels(), c(2), c(3)))))
    std::abort();
  (void)CreateRegionFromMask(mask);
  (void)CreateSkinRegion(g, n, W, H, mask);
  return 0;
}
