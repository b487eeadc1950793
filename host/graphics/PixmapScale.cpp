#include "host/graphics/PixmapScale.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qz {

namespace {

// The source pixels one target pixel covers along one axis, with the share
// of each (the shares of a target pixel add up to 1).
struct TSpan {
  int First = 0;
  std::vector<double> Weights;
};

std::vector<TSpan> AreaSpans(int sourceLength, int targetLength) {
  std::vector<TSpan> spans(targetLength);
  const double step = double(sourceLength) / targetLength;
  for (int t = 0; t < targetLength; ++t) {
    const double from = t * step, to = from + step;
    TSpan& span = spans[t];
    span.First = std::min(int(from), sourceLength - 1);
    for (int s = span.First; s < sourceLength && s < to; ++s) {
      const double cover = std::min<double>(s + 1, to) - std::max<double>(s, from);
      if (cover > 0) span.Weights.push_back(cover / step);
    }
  }
  return spans;
}

uint8_t Channel(double value) { return uint8_t(std::clamp(std::lround(value), 0L, 255L)); }

}  // namespace

TPixmap ResamplePixmap(const TPixmap& source, int width, int height) {
  if (width < 1 || height < 1 || source.Empty()) return {};
  if (width == source.Width() && height == source.Height()) return source;
  const std::vector<TSpan> columns = AreaSpans(source.Width(), width);
  const std::vector<TSpan> rows = AreaSpans(source.Height(), height);
  TPixmap target(width, height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double a = 0, r = 0, g = 0, b = 0;
      for (size_t j = 0; j < rows[y].Weights.size(); ++j) {
        const uint32_t* row = source.Row(rows[y].First + int(j));
        for (size_t i = 0; i < columns[x].Weights.size(); ++i) {
          const uint32_t p = row[columns[x].First + int(i)];
          const double w = rows[y].Weights[j] * columns[x].Weights[i];
          const double pa = double(p >> 24) * w;
          a += pa;
          r += double((p >> 16) & 0xFF) * pa;
          g += double((p >> 8) & 0xFF) * pa;
          b += double(p & 0xFF) * pa;
        }
      }
      if (a <= 0) continue;
      target.At(x, y) = (uint32_t(Channel(a)) << 24) | (uint32_t(Channel(r / a)) << 16) |
                        (uint32_t(Channel(g / a)) << 8) | Channel(b / a);
    }
  }
  return target;
}

}  // namespace qz
