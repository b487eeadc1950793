// Reversal of the five PNG row filters (None, Sub, Up, Average, Paeth).
// The loops run over whole rows without per-pixel branches; Paeth for 3 and
// 4 bytes per pixel uses packed integer instructions where available.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qz {

// Unfilters `row` (length bytes, without the filter-type byte) in place.
// `prev` is the unfiltered previous row of the same pass, or nullptr for the
// first row. bpp is the number of bytes per complete pixel (1 for depths
// below 8). Returns false for an unknown filter type.
bool PngUnfilterRow(int filterType, uint8_t* row, const uint8_t* prev, size_t length, int bpp);

// Applies the filter to an unfiltered row (the writer's side): out receives
// length bytes. Same conventions as above.
void PngFilterRow(int filterType, const uint8_t* row, const uint8_t* prev, uint8_t* out,
                  size_t length, int bpp);

// The standard's Paeth predictor.
inline uint8_t PngPaethPredictor(int a, int b, int c) {
  int p = a + b - c;
  int pa = p > a ? p - a : a - p;
  int pb = p > b ? p - b : b - p;
  int pc = p > c ? p - c : c - p;
  if (pa <= pb && pa <= pc) return uint8_t(a);
  if (pb <= pc) return uint8_t(b);
  return uint8_t(c);
}

}  // namespace qz
