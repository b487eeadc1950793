// Fuzz target for the PNG reader: any input must either load or be refused
// with EInvalidGraphic; a loaded image must convert, draw and save.
#include <cstddef>
#include <cstdint>

#include "host/base/Exception.h"
#include "host/base/Stream.h"
#include "skin/draw/PngImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Small images keep each run fast; the size check itself is what is tested.
  static const bool limited = (qz::TqzPngLayerIHDR::SetMaxImageBytes(4u << 20), true);
  (void)limited;
  qz::TqzPngImage image;
  try {
    image.LoadFromBytes({data, size});
  } catch (const qz::EInvalidGraphic&) {
    return 0;
  }
  qz::TPixmap pixels = image.ToPixmap();
  // The one-pass decoder must give exactly the same pixels.
  if (!(qz::TqzPngImage::DecodeToPixmap({data, size}) == pixels)) __builtin_trap();
  qz::TPixmap target(24, 24, 0xFF808080u);
  image.DrawOnPixmap(target, {-3, 2, 17, 30});
  qz::TMemoryStream saved;
  image.SaveToStream(saved);
  saved.SetPosition(0);
  qz::TqzPngImage again;
  again.LoadFromStream(saved);  // our own output must always load
  if (again.Width() != image.Width() || again.Height() != image.Height()) __builtin_trap();
  return 0;
}
