// Drives TqzBitmap drawing and TqzEffectBmp operations with arbitrary sizes,
// rectangles, morph factors and radii: nothing may be read or written outside
// the images.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "host/base/Exception.h"
#include "host/graphics/Canvas.h"
#include "skin/draw/EffectBmp.h"

namespace {

class TInput {
 public:
  TInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  int Int(int lo, int hi) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return lo + int(v % uint32_t(hi - lo + 1));
  }
  double Kf() { return Int(-300, 1300) / 1000.0; }
  qz::TRect Rect(int span) {
    return {Int(-span, 2 * span), Int(-span, 2 * span), Int(-span, 2 * span), Int(-span, 2 * span)};
  }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qz;
  TInput in(data, size);
  TqzBitmap src(in.Int(1, 40), in.Int(1, 40));
  TqzBitmap dst(in.Int(1, 40), in.Int(1, 40));
  for (int i = 0; i < src.Width() * src.Height(); ++i) src.Bits()[i] = uint32_t(in.Int(0, 1 << 30)) * 4;
  const int mode = in.Int(0, 2);
  src.AlphaBlend = mode == 2;
  src.Transparent = mode == 1;
  src.Draw(dst, in.Rect(60), in.Rect(60));
  src.Draw(dst, in.Int(-50, 50), in.Int(-50, 50), in.Rect(60));
  dst.Canvas().SetViewportOrg({in.Int(-30, 30), in.Int(-30, 30)});
  dst.Canvas().IntersectClipRect(in.Rect(40));
  src.Draw(dst.DC(), in.Rect(60), in.Rect(60));
  src.Draw(src.DC(), in.Rect(60), in.Rect(60));
  dst.FillRect(in.Rect(60), 0x80FFFFFF);
  AlphaFromMask(dst, src);
  BlurBitmap(src, in.Int(-2, 50));

  TqzEffectBmp a(in.Int(1, 24), in.Int(1, 24));
  TqzEffectBmp b(in.Byte() & 1 ? a.Width() : in.Int(1, 24), a.Height());
  a.ApplyMorph(in.Int(-1, 7), b, in.Kf());
  a.MorphHGrad(b, in.Kf());
  a.MorphVGrad(b, in.Kf());
  a.MorphRect(b, in.Rect(30), in.Int(-30, 30), in.Int(-30, 30), in.Kf());
  a.SplitBlur(in.Int(-3, 30));
  a.AddNoise(in.Int(-5, 300));
  a.ApplyInactiveEffect(in.Int(-1, 6));
  TqzEffectBmp r(a.Height(), a.Width());
  a.Rotate90_1(r);
  a.Rotate90_2(r);
  a.Draw(dst.DC(), in.Int(-30, 30), in.Int(-30, 30));
  try {
    TqzBitmap big(in.Int(20000, 100000) * (in.Byte() & 1 ? -1 : 1), in.Int(0, 1) * 30000);  // none or too large (> 2 GiB)
  } catch (const qz::Exception&) {
  }
  return 0;
}
