// Row transfers, nearest-neighbour maps and the scaled/unscaled draw loop.
#include "skin/draw/PixelOps.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if QZ_PIXELOPS_AVX2
#include <immintrin.h>
#endif

namespace qz {

void BuildNearestMap(std::vector<int>& map, int clipOffset, int count, int dstLen, int srcStart,
                     int srcLen) {
  map.resize(size_t(count));
  if (dstLen < 2) {
    std::fill(map.begin(), map.end(), (srcStart + srcStart + srcLen - 1) / 2);
    return;
  }
  // round(j * (srcLen - 1) / (dstLen - 1)) with halves to even, exactly:
  // an incremental quotient/remainder walk instead of a division per entry.
  const int64_t num = srcLen - 1;
  const int64_t den = dstLen - 1;
  int64_t q = (int64_t(clipOffset) * num) / den;
  int64_t r = (int64_t(clipOffset) * num) % den;
  const int64_t stepQ = num / den;
  const int64_t stepR = num % den;
  for (int i = 0; i < count; ++i) {
    const int64_t twice = 2 * r;
    const int64_t rounded = q + (twice > den || (twice == den && (q & 1)) ? 1 : 0);
    map[size_t(i)] = int(std::clamp<int64_t>(rounded, 0, srcLen - 1)) + srcStart;
    q += stepQ;
    r += stepR;
    if (r >= den) {
      r -= den;
      ++q;
    }
  }
}

namespace {

inline uint32_t BlendPixel(uint32_t s, uint32_t d) {
  const uint32_t a = s >> 24;
  if (a == 0) return d;
  if (a == 255) return s;
  const uint32_t na = 255 - a;
  // Red and blue in one word, green in another: each product sum stays below
  // 65536, so the lanes never carry into each other.
  const uint32_t rb = (((s & 0x00FF00FF) * a + (d & 0x00FF00FF) * na) >> 8) & 0x00FF00FF;
  const uint32_t g = (((s & 0x0000FF00) * a + (d & 0x0000FF00) * na) >> 8) & 0x0000FF00;
  return 0xFF000000 | rb | g;
}

void CopyRowColorKey(const uint32_t* src, uint32_t* dst, int count) {
  for (int i = 0; i < count; ++i) {
    const uint32_t s = src[i];
    if ((s & 0x00FFFFFF) != 0x007F007F) dst[i] = s | 0xFF000000;
  }
}

}  // namespace

void BlendRowAlphaScalar(const uint32_t* src, uint32_t* dst, int count) {
  for (int i = 0; i < count; ++i) dst[i] = BlendPixel(src[i], dst[i]);
}

#if defined(__SSE2__)
void BlendRowAlphaSse2(const uint32_t* src, uint32_t* dst, int count) {
  int i = 0;
  const __m128i zero = _mm_setzero_si128();
  const __m128i c255 = _mm_set1_epi16(255);
  const __m128i full = _mm_set1_epi32(255);
  const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000));
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i alpha32 = _mm_srli_epi32(s, 24);
    const __m128i isZero = _mm_cmpeq_epi32(alpha32, zero);
    const __m128i isFull = _mm_cmpeq_epi32(alpha32, full);
    if (_mm_movemask_epi8(isZero) == 0xFFFF) continue;  // nothing to draw in these four
    if (_mm_movemask_epi8(isFull) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
      continue;
    }
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    // Alpha of each pixel spread over its four 16-bit lanes.
    const __m128i a16 = _mm_or_si128(alpha32, _mm_slli_epi32(alpha32, 16));
    const __m128i aLo = _mm_shuffle_epi32(a16, _MM_SHUFFLE(1, 1, 0, 0));
    const __m128i aHi = _mm_shuffle_epi32(a16, _MM_SHUFFLE(3, 3, 2, 2));
    const __m128i sLo = _mm_unpacklo_epi8(s, zero), sHi = _mm_unpackhi_epi8(s, zero);
    const __m128i dLo = _mm_unpacklo_epi8(d, zero), dHi = _mm_unpackhi_epi8(d, zero);
    // s * a + d * (255 - a) stays below 65536: exact in 16-bit lanes.
    const __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(sLo, aLo), _mm_mullo_epi16(dLo, _mm_sub_epi16(c255, aLo))),
        8);
    const __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(sHi, aHi), _mm_mullo_epi16(dHi, _mm_sub_epi16(c255, aHi))),
        8);
    const __m128i blended = _mm_or_si128(_mm_packus_epi16(lo, hi), alphaMask);
    // Per pixel: A = 0 keeps d, A = 255 takes s, else the blend.
    __m128i out = _mm_or_si128(_mm_and_si128(isZero, d), _mm_andnot_si128(isZero, blended));
    out = _mm_or_si128(_mm_and_si128(isFull, s), _mm_andnot_si128(isFull, out));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
  }
  BlendRowAlphaScalar(src + i, dst + i, count - i);
}
#endif

#if QZ_PIXELOPS_AVX2
// The SSE2 routine eight pixels at a time; every step stays within 128-bit
// lanes, so unpack, shuffle and pack pair up as in the narrow version.
__attribute__((target("avx2"))) void BlendRowAlphaAvx2(const uint32_t* src, uint32_t* dst,
                                                       int count) {
  int i = 0;
  const __m256i zero = _mm256_setzero_si256();
  const __m256i c255 = _mm256_set1_epi16(255);
  const __m256i full = _mm256_set1_epi32(255);
  const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000));
  for (; i + 8 <= count; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i alpha32 = _mm256_srli_epi32(s, 24);
    const __m256i isZero = _mm256_cmpeq_epi32(alpha32, zero);
    const __m256i isFull = _mm256_cmpeq_epi32(alpha32, full);
    if (_mm256_movemask_epi8(isZero) == -1) continue;
    if (_mm256_movemask_epi8(isFull) == -1) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), s);
      continue;
    }
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    const __m256i a16 = _mm256_or_si256(alpha32, _mm256_slli_epi32(alpha32, 16));
    const __m256i aLo = _mm256_shuffle_epi32(a16, _MM_SHUFFLE(1, 1, 0, 0));
    const __m256i aHi = _mm256_shuffle_epi32(a16, _MM_SHUFFLE(3, 3, 2, 2));
    const __m256i sLo = _mm256_unpacklo_epi8(s, zero), sHi = _mm256_unpackhi_epi8(s, zero);
    const __m256i dLo = _mm256_unpacklo_epi8(d, zero), dHi = _mm256_unpackhi_epi8(d, zero);
    const __m256i lo = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(sLo, aLo),
                         _mm256_mullo_epi16(dLo, _mm256_sub_epi16(c255, aLo))),
        8);
    const __m256i hi = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(sHi, aHi),
                         _mm256_mullo_epi16(dHi, _mm256_sub_epi16(c255, aHi))),
        8);
    const __m256i blended = _mm256_or_si256(_mm256_packus_epi16(lo, hi), alphaMask);
    __m256i out = _mm256_blendv_epi8(blended, d, isZero);
    out = _mm256_blendv_epi8(out, s, isFull);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), out);
  }
  BlendRowAlphaSse2(src + i, dst + i, count - i);
}
#endif

namespace {

using TBlendRow = void (*)(const uint32_t*, uint32_t*, int);

// Picked once at start-up from what the processor offers.
TBlendRow PickBlendRow() {
#if QZ_PIXELOPS_AVX2
  if (__builtin_cpu_supports("avx2")) return BlendRowAlphaAvx2;
#endif
#if defined(__SSE2__)
  return BlendRowAlphaSse2;
#else
  return BlendRowAlphaScalar;
#endif
}

const TBlendRow gBlendRow = PickBlendRow();

}  // namespace

void BlendRowAlpha(const uint32_t* src, uint32_t* dst, int count) { gBlendRow(src, dst, count); }

void TransferRow(TDrawMode mode, const uint32_t* src, uint32_t* dst, int count) {
  switch (mode) {
    case TDrawMode::Opaque:
      std::memmove(dst, src, size_t(count) * 4);
      break;
    case TDrawMode::ColorKey:
      CopyRowColorKey(src, dst, count);
      break;
    case TDrawMode::Alpha:
      BlendRowAlpha(src, dst, count);
      break;
  }
}

namespace {

void DrawUnscaled(const TPixmap& source, TDrawMode mode, TPixmap& target, const TRect& dst,
                  const TRect& src, const TRect& c) {
  const int sx = src.Left + c.Left - dst.Left;
  const int sy = src.Top + c.Top - dst.Top;
  for (int y = c.Top; y < c.Bottom; ++y)
    TransferRow(mode, source.Row(sy + y - c.Top) + sx, target.Row(y) + c.Left, c.Width());
}

// out[i] = in[map[i]], unrolled: the loads are independent, so several are in
// flight at once.
void GatherRow(const uint32_t* __restrict in, const int* __restrict map, uint32_t* __restrict out,
               int w) {
  int i = 0;
  for (; i + 4 <= w; i += 4) {
    const uint32_t a = in[map[i]], b = in[map[i + 1]], c = in[map[i + 2]], d = in[map[i + 3]];
    out[i] = a;
    out[i + 1] = b;
    out[i + 2] = c;
    out[i + 3] = d;
  }
  for (; i < w; ++i) out[i] = in[map[i]];
}

void DrawScaled(const TPixmap& source, TDrawMode mode, TPixmap& target, const TRect& dst,
                const TRect& src, const TRect& c) {
  std::vector<int> cols, rows;
  BuildNearestMap(cols, c.Left - dst.Left, c.Width(), dst.Width(), src.Left, src.Width());
  BuildNearestMap(rows, c.Top - dst.Top, c.Height(), dst.Height(), src.Top, src.Height());
  const int w = c.Width();
  std::vector<uint32_t> line(static_cast<size_t>(w));
  const int* colMap = cols.data();
  int previous = -1;
  for (int j = 0; j < c.Height(); ++j) {
    uint32_t* out = target.Row(c.Top + j) + c.Left;
    const int sr = rows[size_t(j)];
    if (sr == previous) {
      if (mode == TDrawMode::Opaque)
        std::memcpy(out, target.Row(c.Top + j - 1) + c.Left, size_t(w) * 4);
      else
        TransferRow(mode, line.data(), out, w);
      continue;
    }
    previous = sr;
    const uint32_t* in = source.Row(sr);
    if (mode == TDrawMode::Opaque) {
      GatherRow(in, colMap, out, w);
      continue;
    }
    uint32_t* gathered = line.data();
    GatherRow(in, colMap, gathered, w);
    TransferRow(mode, gathered, out, w);
  }
}

}  // namespace

void DrawPixels(const TPixmap& source, TDrawMode mode, TPixmap& target, const TRect& dst,
                const TRect& src, const TRect& clip) {
  if (src.IsEmpty()) return;
  TRect c;
  if (!IntersectRect(c, dst, clip) || !IntersectRect(c, c, target.Bounds())) return;
  if (src.Left < 0 || src.Top < 0 || src.Right > source.Width() || src.Bottom > source.Height())
    return;
  if (src.Width() == dst.Width() && src.Height() == dst.Height())
    DrawUnscaled(source, mode, target, dst, src, c);
  else
    DrawScaled(source, mode, target, dst, src, c);
}

}  // namespace qz
