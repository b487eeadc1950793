// Region data blocks from arbitrary bytes: the reader either builds a region
// or raises EInvalidGraphic; the region's algebra and round trip stay sound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "host/base/Exception.h"
#include "host/graphics/Region.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qz;
  TRegion region;
  try {
    region = ExtCreateRegion(std::span<const uint8_t>(data, size));
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  // What the reader accepted must survive a round trip unchanged.
  if (!(ExtCreateRegion(RegionToData(region)) == region)) std::abort();
  // Algebra with a shifted copy of itself: identities that must hold.
  TRegion shifted = region;
  shifted.Offset(3, -2);
  const TRegion both = region.Intersect(shifted);
  const TRegion either = region.Union(shifted);
  if (!(either.Subtract(region.Xor(shifted)) == both)) std::abort();
  if (!(region.Subtract(shifted).Union(both) == region)) std::abort();
  const TRect b = region.Bounds();
  if (!region.IsEmpty() && !region.Contains({region.Rects().front().Left, region.Rects().front().Top}))
    std::abort();
  if (region.Intersects(b) == region.IsEmpty()) std::abort();
  return 0;
}
