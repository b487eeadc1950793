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

// Alpha-weighted sums of one block of source pixels.
struct TBlockSum {
  uint64_t Count = 0, A = 0, R = 0, G = 0, B = 0;
};

void AddRowToSums(const uint32_t* row, int width, int blockWidth, TBlockSum* sums) {
  for (int x0 = 0, column = 0; x0 < width; x0 += blockWidth, ++column) {
    const int x1 = std::min(width, x0 + blockWidth);
    // 32-bit partial sums: 255 * 255 * blockWidth fits for blocks below
    // 66,052 pixels (ShrinkPixmap keeps them below 65,536).
    // Opaque runs (photos) need no weighting: plain sums, times 255.
    uint32_t opaque = 0xFF, a = 0, r = 0, g = 0, b = 0;
    for (int x = x0; x < x1; ++x) {
      const uint32_t p = row[x];
      opaque &= p >> 24;
      r += (p >> 16) & 0xFF;
      g += (p >> 8) & 0xFF;
      b += p & 0xFF;
    }
    if (opaque == 0xFF) {
      a = 255 * uint32_t(x1 - x0), r *= 255, g *= 255, b *= 255;
    } else {
      r = g = b = 0;
      for (int x = x0; x < x1; ++x) {
        const uint32_t p = row[x], pa = p >> 24;
        a += pa;
        r += ((p >> 16) & 0xFF) * pa;
        g += ((p >> 8) & 0xFF) * pa;
        b += (p & 0xFF) * pa;
      }
    }
    TBlockSum& sum = sums[column];
    sum.Count += uint64_t(x1 - x0);
    sum.A += a, sum.R += r, sum.G += g, sum.B += b;
  }
}

uint32_t MeanOf(const TBlockSum& s) {
  if (s.A == 0) return 0;
  const auto mean = [](uint64_t total, uint64_t count) { return uint32_t((total + count / 2) / count); };
  return (mean(s.A, s.Count) << 24) | (mean(s.R, s.A) << 16) | (mean(s.G, s.A) << 8) | mean(s.B, s.A);
}

// Each target pixel the mean of a block of blockWidth x blockHeight source
// pixels (fewer at the right and bottom edges).
TPixmap BoxReduce(const TPixmap& source, int blockWidth, int blockHeight) {
  const int width = (source.Width() + blockWidth - 1) / blockWidth;
  const int height = (source.Height() + blockHeight - 1) / blockHeight;
  TPixmap target;
  target.ResizeUninitialized(width, height);
  std::vector<TBlockSum> sums(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), TBlockSum{});
    const int y1 = std::min(source.Height(), (y + 1) * blockHeight);
    for (int sy = y * blockHeight; sy < y1; ++sy)
      AddRowToSums(source.Row(sy), source.Width(), blockWidth, sums.data());
    uint32_t* out = target.Row(y);
    for (int x = 0; x < width; ++x) out[x] = MeanOf(sums[size_t(x)]);
  }
  return target;
}

// Each target pixel the weighted mean of the source pixels its column and
// row spans name (alpha-weighted).
TPixmap ResampleBySpans(const TPixmap& source, const std::vector<TSpan>& columns,
                        const std::vector<TSpan>& rows) {
  const int width = int(columns.size()), height = int(rows.size());
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

// AreaSpans over blocks of `block` source pixels (the last one may be
// shorter): each block is weighted by the share of the target pixel's
// source range it covers, as if its pixels were all its mean.
std::vector<TSpan> BlockSpans(int sourceLength, int block, int targetLength) {
  const int blocks = (sourceLength + block - 1) / block;
  std::vector<TSpan> spans(targetLength);
  const double step = double(sourceLength) / targetLength;
  for (int t = 0; t < targetLength; ++t) {
    const double from = t * step, to = from + step;
    TSpan& span = spans[t];
    span.First = std::min(int(from) / block, blocks - 1);
    for (int k = span.First; k < blocks && double(k) * block < to; ++k) {
      const double start = double(k) * block, end = std::min<double>(double(k + 1) * block, sourceLength);
      const double cover = std::min(end, to) - std::max(start, from);
      span.Weights.push_back(cover > 0 ? cover / step : 0.0);
    }
  }
  return spans;
}

}  // namespace

TPixmap ResamplePixmap(const TPixmap& source, int width, int height) {
  if (width < 1 || height < 1 || source.Empty()) return {};
  if (width == source.Width() && height == source.Height()) return source;
  return ResampleBySpans(source, AreaSpans(source.Width(), width), AreaSpans(source.Height(), height));
}

TPixmap ShrinkPixmap(const TPixmap& source, int width, int height) {
  if (width < 1 || height < 1 || source.Empty()) return {};
  // Blocks no wider than 65,535 pixels keep the row sums in 32 bits.
  const int blockWidth = std::clamp(source.Width() / width, 1, 65535);
  const int blockHeight = std::max(1, source.Height() / height);
  if (blockWidth < 2 && blockHeight < 2) return ResamplePixmap(source, width, height);
  return ResampleBySpans(BoxReduce(source, blockWidth, blockHeight),
                         BlockSpans(source.Width(), blockWidth, width),
                         BlockSpans(source.Height(), blockHeight, height));
}

}  // namespace qz
