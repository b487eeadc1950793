#include "host/graphics/Region.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "host/base/Exception.h"

namespace qz {

namespace {

struct TSpan {
  int l, r;
};

enum class TOp { Or, And, Xor, Diff };

bool Apply(TOp op, bool a, bool b) {
  switch (op) {
    case TOp::Or: return a || b;
    case TOp::And: return a && b;
    case TOp::Xor: return a != b;
    case TOp::Diff: return a && !b;
  }
  return false;
}

// One-dimensional boolean operation on the x-ranges of two bands (sorted,
// non-touching rectangles of one band each).
void CombineSpans(std::span<const TRect> a, std::span<const TRect> b, TOp op, std::vector<TSpan>& out) {
  out.clear();
  const size_t na = a.size() * 2, nb = b.size() * 2;
  auto edgeA = [&](size_t e) { return e % 2 == 0 ? a[e / 2].Left : a[e / 2].Right; };
  auto edgeB = [&](size_t e) { return e % 2 == 0 ? b[e / 2].Left : b[e / 2].Right; };
  size_t ea = 0, eb = 0;
  bool inA = false, inB = false, inside = false;
  int start = 0;
  while (ea < na || eb < nb) {
    const int x = std::min(ea < na ? edgeA(ea) : INT_MAX, eb < nb ? edgeB(eb) : INT_MAX);
    while (ea < na && edgeA(ea) == x) { inA = !inA; ++ea; }
    while (eb < nb && edgeB(eb) == x) { inB = !inB; ++eb; }
    const bool now = Apply(op, inA, inB);
    if (now && !inside) start = x;
    if (!now && inside) out.push_back({start, x});
    inside = now;
  }
}

// Walks a region's rectangle list band by band.
class TBandCursor {
 public:
  explicit TBandCursor(const std::vector<TRect>& rects) : rects_(rects) { FindEnd(); }
  bool AtEnd() const { return pos_ >= rects_.size(); }
  int Top() const { return AtEnd() ? INT_MAX : rects_[pos_].Top; }
  int Bottom() const { return rects_[pos_].Bottom; }
  std::span<const TRect> Band() const { return {rects_.data() + pos_, end_ - pos_}; }
  void Next() {
    pos_ = end_;
    FindEnd();
  }

 private:
  void FindEnd() {
    end_ = pos_;
    while (end_ < rects_.size() && rects_[end_].Top == rects_[pos_].Top) ++end_;
  }
  const std::vector<TRect>& rects_;
  size_t pos_ = 0, end_ = 0;
};

}  // namespace

// Appends bands top to bottom and merges a band into the previous one when
// they touch and have the same spans, which keeps the list canonical.
class TRegionBuilder {
 public:
  void AddBand(int top, int bottom, std::span<const TSpan> spans) {
    if (spans.empty() || bottom <= top) return;
    if (lastBandStart_ < rects_.size() && rects_.back().Bottom == top && SameAsLast(spans)) {
      for (size_t i = lastBandStart_; i < rects_.size(); ++i) rects_[i].Bottom = bottom;
      return;
    }
    lastBandStart_ = rects_.size();
    for (const TSpan& s : spans) rects_.push_back({s.l, top, s.r, bottom});
  }
  TRegion Finish() {
    TRegion r;
    r.rects_ = std::move(rects_);
    r.RecomputeBounds();
    return r;
  }

 private:
  bool SameAsLast(std::span<const TSpan> spans) const {
    if (rects_.size() - lastBandStart_ != spans.size()) return false;
    for (size_t i = 0; i < spans.size(); ++i) {
      const TRect& r = rects_[lastBandStart_ + i];
      if (r.Left != spans[i].l || r.Right != spans[i].r) return false;
    }
    return true;
  }
  std::vector<TRect> rects_;
  size_t lastBandStart_ = SIZE_MAX;
};

namespace {

TRegion Combine(const TRegion& a, const TRegion& b, TOp op) {
  // Fast paths that keep results canonical without a sweep.
  if (a.IsEmpty()) return (op == TOp::Or || op == TOp::Xor) ? b : TRegion();
  if (b.IsEmpty()) return (op == TOp::And) ? TRegion() : a;
  if (op == TOp::And || op == TOp::Diff) {
    TRect overlap;
    if (!IntersectRect(overlap, a.Bounds(), b.Bounds())) return op == TOp::And ? TRegion() : a;
    // Clipping to a rectangle (every clip change of a canvas): a rectangle
    // around the other region leaves it as it is.
    if (op == TOp::And && a.IsRect() && b.IsRect()) return TRegion(overlap);
    if (op == TOp::And && a.IsRect() && overlap == b.Bounds()) return b;
    if (op == TOp::And && b.IsRect() && overlap == a.Bounds()) return a;
  }

  // Walk both band lists together. Each step takes the next y-interval in
  // which neither region changes: covered by a alone, b alone, or both.
  const bool keepA = op != TOp::And, keepB = op == TOp::Or || op == TOp::Xor;
  TBandCursor ca(a.Rects()), cb(b.Rects());
  std::vector<TSpan> out;
  TRegionBuilder builder;
  auto emitAlone = [&](std::span<const TRect> band, int y0, int y1) {
    out.clear();
    for (const TRect& r : band) out.push_back({r.Left, r.Right});
    builder.AddBand(y0, y1, out);
  };
  int y = INT_MIN;
  while (!ca.AtEnd() || !cb.AtEnd()) {
    const int topA = std::max(ca.Top(), y), topB = std::max(cb.Top(), y);
    int y1;
    if (topA < topB) {
      y1 = std::min(ca.Bottom(), topB);
      if (keepA) emitAlone(ca.Band(), topA, y1);
    } else if (topB < topA) {
      y1 = std::min(cb.Bottom(), topA);
      if (keepB) emitAlone(cb.Band(), topB, y1);
    } else {
      y1 = std::min(ca.Bottom(), cb.Bottom());
      CombineSpans(ca.Band(), cb.Band(), op, out);
      builder.AddBand(topA, y1, out);
    }
    y = y1;
    if (!ca.AtEnd() && ca.Bottom() <= y) ca.Next();
    if (!cb.AtEnd() && cb.Bottom() <= y) cb.Next();
    if (op == TOp::And && (ca.AtEnd() || cb.AtEnd())) break;
    if (op == TOp::Diff && ca.AtEnd()) break;
  }
  return builder.Finish();
}

}  // namespace

namespace {

// Rectangles that already come band by band, left to right (mask scanlines)
// go straight into the builder; touching rectangles of a band are joined.
// False when the input is not in that order.
bool FromBandedRects(const std::vector<TRect>& rects, TRegion& out) {
  for (size_t i = 1; i < rects.size(); ++i) {
    const TRect& p = rects[i - 1];
    const TRect& r = rects[i];
    const bool sameBand = r.Top == p.Top && r.Bottom == p.Bottom && r.Left >= p.Right;
    if (!sameBand && r.Top < p.Bottom) return false;
  }
  TRegionBuilder builder;
  std::vector<TSpan> spans;
  for (size_t i = 0; i < rects.size();) {
    spans.clear();
    size_t j = i;
    for (; j < rects.size() && rects[j].Top == rects[i].Top; ++j) {
      if (!spans.empty() && rects[j].Left == spans.back().r)
        spans.back().r = rects[j].Right;
      else
        spans.push_back({rects[j].Left, rects[j].Right});
    }
    builder.AddBand(rects[i].Top, rects[i].Bottom, spans);
    i = j;
  }
  out = builder.Finish();
  return true;
}

}  // namespace

TRegion::TRegion(const TRect& r) {
  if (!r.IsEmpty()) {
    rects_.push_back(r);
    bounds_ = r;
  }
}

void TRegion::RecomputeBounds() {
  bounds_ = {};
  if (rects_.empty()) return;
  bounds_ = {INT_MAX, rects_.front().Top, INT_MIN, rects_.back().Bottom};
  for (const TRect& r : rects_) {
    bounds_.Left = std::min(bounds_.Left, r.Left);
    bounds_.Right = std::max(bounds_.Right, r.Right);
  }
}

TRegion TRegion::FromRects(std::span<const TRect> input) {
  std::vector<TRect> rects;
  rects.reserve(input.size());
  for (const TRect& r : input)
    if (!r.IsEmpty()) rects.push_back(r);
  if (rects.empty()) return TRegion();
  if (rects.size() == 1) return TRegion(rects.front());
  if (TRegion direct; FromBandedRects(rects, direct)) return direct;

  std::sort(rects.begin(), rects.end(),
            [](const TRect& x, const TRect& y) { return x.Top < y.Top; });
  std::vector<int> ys;
  ys.reserve(rects.size() * 2);
  for (const TRect& r : rects) {
    ys.push_back(r.Top);
    ys.push_back(r.Bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  // Sweep down the band boundaries keeping the rectangles that cover the
  // current band; each band's spans are those rectangles' x-ranges merged.
  std::vector<const TRect*> active;
  std::vector<TSpan> spans, merged;
  size_t next = 0;
  TRegionBuilder builder;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    const int y0 = ys[k], y1 = ys[k + 1];
    std::erase_if(active, [y0](const TRect* r) { return r->Bottom <= y0; });
    while (next < rects.size() && rects[next].Top <= y0) active.push_back(&rects[next++]);
    if (active.empty()) continue;
    spans.clear();
    for (const TRect* r : active) spans.push_back({r->Left, r->Right});
    std::sort(spans.begin(), spans.end(), [](const TSpan& x, const TSpan& y) { return x.l < y.l; });
    merged.clear();
    for (const TSpan& s : spans) {
      if (!merged.empty() && s.l <= merged.back().r)
        merged.back().r = std::max(merged.back().r, s.r);
      else
        merged.push_back(s);
    }
    builder.AddBand(y0, y1, merged);
  }
  return builder.Finish();
}

bool TRegion::Contains(TPoint p) const {
  if (!bounds_.Contains(p)) return false;
  // Bands are sorted and disjoint, so Bottom grows along the list.
  auto it = std::upper_bound(rects_.begin(), rects_.end(), p.Y,
                             [](int y, const TRect& r) { return y < r.Bottom; });
  for (; it != rects_.end() && it->Top <= p.Y; ++it) {
    if (p.X < it->Left) return false;
    if (p.X < it->Right) return true;
  }
  return false;
}

bool TRegion::Intersects(const TRect& r) const {
  TRect overlap;
  if (!IntersectRect(overlap, bounds_, r)) return false;
  auto it = std::upper_bound(rects_.begin(), rects_.end(), r.Top,
                             [](int y, const TRect& x) { return y < x.Bottom; });
  for (; it != rects_.end() && it->Top < r.Bottom; ++it)
    if (it->Left < r.Right && it->Right > r.Left) return true;
  return false;
}

TRegion TRegion::Union(const TRegion& o) const { return Combine(*this, o, TOp::Or); }
TRegion TRegion::Intersect(const TRegion& o) const { return Combine(*this, o, TOp::And); }
TRegion TRegion::Subtract(const TRegion& o) const { return Combine(*this, o, TOp::Diff); }
TRegion TRegion::Xor(const TRegion& o) const { return Combine(*this, o, TOp::Xor); }

void TRegion::Offset(int dx, int dy) {
  if (rects_.empty()) return;
  for (TRect& r : rects_) r = OffsetRect(r, dx, dy);
  bounds_ = OffsetRect(bounds_, dx, dy);
}

int RegionKind(const TRegion& r) {
  if (r.IsEmpty()) return NULLREGION;
  return r.IsRect() ? SIMPLEREGION : COMPLEXREGION;
}

int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode) {
  switch (mode) {
    case RGN_AND: dest = a.Intersect(b); break;
    case RGN_OR: dest = a.Union(b); break;
    case RGN_XOR: dest = a.Xor(b); break;
    case RGN_DIFF: dest = a.Subtract(b); break;
    case RGN_COPY: dest = a; break;
    default: return RGN_ERROR;
  }
  return RegionKind(dest);
}

namespace {

void PutLE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
uint32_t GetLE32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
int32_t GetCoord(const uint8_t* p, uint32_t index) {
  const int32_t v = static_cast<int32_t>(GetLE32(p));
  if (v > kMaxRegionCoord || v < -kMaxRegionCoord)
    throw EInvalidGraphic("Region data: coordinate " + std::to_string(v) + " of rectangle " +
                          std::to_string(index) + " is out of range");
  return v;
}

}  // namespace

std::vector<uint8_t> RegionToData(const TRegion& region) {
  const auto& rects = region.Rects();
  const TRect b = region.Bounds();
  std::vector<uint8_t> out;
  out.reserve(kRgnDataHeaderSize + rects.size() * 16);
  PutLE32(out, kRgnDataHeaderSize);
  PutLE32(out, RDH_RECTANGLES);
  PutLE32(out, static_cast<uint32_t>(rects.size()));
  PutLE32(out, static_cast<uint32_t>(rects.size() * 16));
  for (int v : {b.Left, b.Top, b.Right, b.Bottom}) PutLE32(out, static_cast<uint32_t>(v));
  for (const TRect& r : rects)
    for (int v : {r.Left, r.Top, r.Right, r.Bottom}) PutLE32(out, static_cast<uint32_t>(v));
  return out;
}

TRegion ExtCreateRegion(std::span<const uint8_t> data) {
  if (data.size() < kRgnDataHeaderSize)
    throw EInvalidGraphic("Region data: block of " + std::to_string(data.size()) +
                          " bytes is shorter than its 32-byte header");
  const uint8_t* p = data.data();
  const uint32_t headerSize = GetLE32(p);
  const uint32_t type = GetLE32(p + 4);
  const uint32_t count = GetLE32(p + 8);
  if (headerSize != kRgnDataHeaderSize)
    throw EInvalidGraphic("Region data: header size " + std::to_string(headerSize) +
                          " is not 32");
  if (type != RDH_RECTANGLES)
    throw EInvalidGraphic("Region data: type " + std::to_string(type) +
                          " is not 1 (rectangles)");
  const uint64_t needed = uint64_t(kRgnDataHeaderSize) + uint64_t(count) * 16;
  if (needed > data.size())
    throw EInvalidGraphic("Region data: " + std::to_string(count) + " rectangles need " +
                          std::to_string(needed) + " bytes, the block has " +
                          std::to_string(data.size()));
  std::vector<TRect> rects;
  rects.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* q = p + kRgnDataHeaderSize + size_t(i) * 16;
    rects.push_back({GetCoord(q, i), GetCoord(q + 4, i), GetCoord(q + 8, i), GetCoord(q + 12, i)});
  }
  return TRegion::FromRects(rects);
}

}  // namespace qz
