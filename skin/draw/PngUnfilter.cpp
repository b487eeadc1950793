#include "skin/draw/PngUnfilter.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qz {
namespace {

void UnfilterSub(uint8_t* __restrict row, size_t length, int bpp) {
  for (size_t i = bpp; i < length; ++i) row[i] = uint8_t(row[i] + row[i - bpp]);
}

void UnfilterUp(uint8_t* __restrict row, const uint8_t* __restrict prev, size_t length) {
  for (size_t i = 0; i < length; ++i) row[i] = uint8_t(row[i] + prev[i]);
}

// Average on the first row: the row above counts as zeros.
void UnfilterAverageFirst(uint8_t* __restrict row, size_t length, int bpp) {
  for (size_t i = bpp; i < length; ++i) row[i] = uint8_t(row[i] + (row[i - bpp] >> 1));
}

void UnfilterAverage(uint8_t* __restrict row, const uint8_t* __restrict prev, size_t length,
                     int bpp) {
  size_t head = size_t(bpp) < length ? size_t(bpp) : length;
  for (size_t i = 0; i < head; ++i) row[i] = uint8_t(row[i] + (prev[i] >> 1));
  for (size_t i = bpp; i < length; ++i)
    row[i] = uint8_t(row[i] + ((row[i - bpp] + prev[i]) >> 1));
}

// Branch-free Paeth for any pixel size: the choice is made with masks so that
// the loop does not mispredict on noisy images.
void UnfilterPaethScalar(uint8_t* __restrict row, const uint8_t* __restrict prev, size_t length,
                         int bpp) {
  size_t head = size_t(bpp) < length ? size_t(bpp) : length;
  for (size_t i = 0; i < head; ++i) row[i] = uint8_t(row[i] + prev[i]);
  for (size_t i = bpp; i < length; ++i) {
    int a = row[i - bpp], b = prev[i], c = prev[i - bpp];
    int pa = b - c, pb = a - c;
    int pc = pa + pb;
    pa = pa < 0 ? -pa : pa;
    pb = pb < 0 ? -pb : pb;
    pc = pc < 0 ? -pc : pc;
    int bOrC = pb <= pc ? b : c;
    int pred = (pa <= pb && pa <= pc) ? a : bOrC;
    row[i] = uint8_t(row[i] + pred);
  }
}

#if defined(__SSE2__)
// The bytes of one pixel in the low lanes. Where four bytes may be read
// (`wide`), a 3-byte pixel is loaded with the next byte in the unused lane:
// one load instead of a copy through memory, which stalls on the partial
// stores before it.
inline uint32_t LoadBytes(const uint8_t* p, int bpp, bool wide) {
  uint32_t v = 0;
  if (wide) std::memcpy(&v, p, 4);
  else std::memcpy(&v, p, bpp);
  return v;
}
inline __m128i LoadPixel(const uint8_t* p, int bpp, bool wide) {
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(LoadBytes(p, bpp, wide))), _mm_setzero_si128());
}
inline void StorePixel(uint8_t* p, __m128i v, int bpp) {
  uint32_t out = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
  std::memcpy(p, &out, bpp);
}
inline __m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }
inline __m128i Select(__m128i mask, __m128i a, __m128i b) {
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// One pixel (3 or 4 channels) at a time, channels in 16-bit lanes.
template <int Bpp>
void UnfilterPaethSse2(uint8_t* __restrict row, const uint8_t* __restrict prev, size_t length) {
  const __m128i byteMask = _mm_set1_epi16(0xFF);
  __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
  for (size_t i = 0; i + Bpp <= length; i += Bpp) {
    const bool wide = i + 4 <= length;
    __m128i b = LoadPixel(prev + i, Bpp, wide);
    __m128i x = LoadPixel(row + i, Bpp, wide);
    __m128i pa = _mm_sub_epi16(b, c);
    __m128i pb = _mm_sub_epi16(a, c);
    __m128i pc = Abs16(_mm_add_epi16(pa, pb));
    pa = Abs16(pa);
    pb = Abs16(pb);
    __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
    __m128i pred = Select(_mm_cmpeq_epi16(pb, smallest), b, c);
    pred = Select(_mm_cmpeq_epi16(pa, smallest), a, pred);
    a = _mm_and_si128(_mm_add_epi16(x, pred), byteMask);
    StorePixel(row + i, a, Bpp);
    c = b;
  }
}

// Average: floor((left + above) / 2) from the rounding-up byte average.
template <int Bpp>
void UnfilterAverageSse2(uint8_t* __restrict row, const uint8_t* __restrict prev, size_t length) {
  const __m128i one = _mm_set1_epi8(1);
  __m128i a = _mm_setzero_si128();
  for (size_t i = 0; i + Bpp <= length; i += Bpp) {
    const bool wide = i + 4 <= length;
    __m128i b = _mm_cvtsi32_si128(int(LoadBytes(prev + i, Bpp, wide)));
    __m128i x = _mm_cvtsi32_si128(int(LoadBytes(row + i, Bpp, wide)));
    __m128i avg = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
    a = _mm_add_epi8(x, avg);
    uint32_t out = uint32_t(_mm_cvtsi128_si32(a));
    std::memcpy(row + i, &out, Bpp);
  }
}
#endif

void UnfilterPaeth(uint8_t* row, const uint8_t* prev, size_t length, int bpp) {
#if defined(__SSE2__)
  if (bpp == 4) return UnfilterPaethSse2<4>(row, prev, length);
  if (bpp == 3) return UnfilterPaethSse2<3>(row, prev, length);
#endif
  UnfilterPaethScalar(row, prev, length, bpp);
}

void UnfilterAverageAny(uint8_t* row, const uint8_t* prev, size_t length, int bpp) {
#if defined(__SSE2__)
  if (bpp == 4) return UnfilterAverageSse2<4>(row, prev, length);
  if (bpp == 3) return UnfilterAverageSse2<3>(row, prev, length);
#endif
  UnfilterAverage(row, prev, length, bpp);
}

}  // namespace

bool PngUnfilterRow(int filterType, uint8_t* row, const uint8_t* prev, size_t length, int bpp) {
  switch (filterType) {
    case 0:
      return true;
    case 1:
      UnfilterSub(row, length, bpp);
      return true;
    case 2:
      if (prev) UnfilterUp(row, prev, length);
      return true;
    case 3:
      if (prev)
        UnfilterAverageAny(row, prev, length, bpp);
      else
        UnfilterAverageFirst(row, length, bpp);
      return true;
    case 4:
      // With a zero row above, the predictor always picks the left byte.
      if (prev)
        UnfilterPaeth(row, prev, length, bpp);
      else
        UnfilterSub(row, length, bpp);
      return true;
    default:
      return false;
  }
}

void PngFilterRow(int filterType, const uint8_t* row, const uint8_t* prev, uint8_t* out,
                  size_t length, int bpp) {
  for (size_t i = 0; i < length; ++i) {
    int a = i >= size_t(bpp) ? row[i - bpp] : 0;
    int b = prev ? prev[i] : 0;
    int c = (prev && i >= size_t(bpp)) ? prev[i - bpp] : 0;
    int pred = 0;
    switch (filterType) {
      case 1: pred = a; break;
      case 2: pred = b; break;
      case 3: pred = (a + b) >> 1; break;
      case 4: pred = PngPaethPredictor(a, b, c); break;
      default: break;
    }
    out[i] = uint8_t(row[i] - pred);
  }
}

}  // namespace qz
