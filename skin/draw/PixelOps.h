// Row-level pixel routines behind TqzBitmap and TqzEffectBmp: the three
// transfer modes, the nearest-neighbour maps, exact rounding helpers. Internal
// to skin/draw; callers use EffectBmp.h.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "host/base/Types.h"
#include "host/graphics/Pixmap.h"

namespace qz {

enum class TDrawMode { Opaque, ColorKey, Alpha };

inline std::span<uint32_t> PixelSpan(TPixmap& p) {
  return {p.Data(), size_t(p.Width()) * size_t(p.Height())};
}

// Nearest integer, halves to even, for |x| < 2^51 (the FPU's default rounding
// mode does the work: adding 1.5 * 2^52 leaves no fraction bits).
inline double RoundHalfEven(double x) {
  constexpr double kShift = 6755399441055744.0;
  return (x + kShift) - kShift;
}
inline uint8_t ClampToByte(double x) {
  const double r = RoundHalfEven(x);
  return r <= 0.0 ? 0 : r >= 255.0 ? 255 : static_cast<uint8_t>(r);
}
inline uint8_t ClampToByte(int x) { return x < 0 ? 0 : x > 255 ? 255 : static_cast<uint8_t>(x); }

// round(v / 255) for 0 <= v <= 255 * 255 (no value of that range lies exactly
// half-way, so this is also the halves-to-even result).
inline uint32_t DivRound255(uint32_t v) {
  v += 128;
  return (v + (v >> 8)) >> 8;
}

inline uint32_t PremultiplyPixel(uint32_t p) {
  const uint32_t a = p >> 24;
  const uint32_t r = DivRound255(((p >> 16) & 0xFF) * a);
  const uint32_t g = DivRound255(((p >> 8) & 0xFF) * a);
  const uint32_t b = DivRound255((p & 0xFF) * a);
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// Source index of each destination index of a scaled span: destination span
// [dstStart, dstStart + dstLen) of which the indices from clipStart on (count
// of them) are wanted, source span [srcStart, srcStart + srcLen). Below two
// destination pixels every index takes the middle source pixel; otherwise
// round(i * (srcLen - 1) / (dstLen - 1)) + srcStart, computed exactly.
void BuildNearestMap(std::vector<int>& map, int clipOffset, int count, int dstLen, int srcStart,
                     int srcLen);

// Transfers count pixels from src onto dst in the given mode.
void TransferRow(TDrawMode mode, const uint32_t* src, uint32_t* dst, int count);
// Alpha mode: A = 0 keeps dst, A = 255 copies src, otherwise each colour
// channel becomes (s * A + d * (255 - A)) >> 8 and alpha 255.
// Uses the widest vector routine the processor supports; all give the same
// pixels as the scalar one.
void BlendRowAlpha(const uint32_t* src, uint32_t* dst, int count);
void BlendRowAlphaScalar(const uint32_t* src, uint32_t* dst, int count);
#if defined(__SSE2__)
void BlendRowAlphaSse2(const uint32_t* src, uint32_t* dst, int count);
#endif
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#define QZ_PIXELOPS_AVX2 1
void BlendRowAlphaAvx2(const uint32_t* src, uint32_t* dst, int count);
#else
#define QZ_PIXELOPS_AVX2 0
#endif

// Draws src rectangle of source into dst rectangle of target, limited to clip
// and to the target's bounds; nearest-neighbour scaling when sizes differ.
// Nothing is drawn for an empty src or one not wholly inside the source.
void DrawPixels(const TPixmap& source, TDrawMode mode, TPixmap& target, const TRect& dst,
                const TRect& src, const TRect& clip);

}  // namespace qz
