// Region algebra against a per-pixel reference, and the region data block.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "host/base/Exception.h"
#include "host/graphics/Region.h"

namespace qz {
namespace {

constexpr int kSize = 50;  // reference grid: [-4, 46) holds every random rectangle
constexpr int kOrigin = -4;

// A region as a boolean grid.
struct TGrid {
  std::vector<uint8_t> cells = std::vector<uint8_t>(kSize * kSize, 0);
  uint8_t& At(int x, int y) { return cells[(y - kOrigin) * kSize + (x - kOrigin)]; }
  uint8_t At(int x, int y) const { return cells[(y - kOrigin) * kSize + (x - kOrigin)]; }
  void Add(const TRect& r) {
    for (int y = std::max(r.Top, kOrigin); y < std::min(r.Bottom, kOrigin + kSize); ++y)
      for (int x = std::max(r.Left, kOrigin); x < std::min(r.Right, kOrigin + kSize); ++x) At(x, y) = 1;
  }
};

TGrid GridOf(const TRegion& r) {
  TGrid g;
  for (const TRect& rc : r.Rects()) g.Add(rc);
  return g;
}

std::vector<TRect> RandomRects(std::mt19937& rng, int count) {
  std::uniform_int_distribution<int> pos(0, 30), len(-2, 12);
  std::vector<TRect> rects;
  for (int i = 0; i < count; ++i) {
    const int l = pos(rng), t = pos(rng);
    rects.push_back({l, t, l + len(rng), t + len(rng)});  // some empty or inverted
  }
  return rects;
}

// The banded invariant: sorted bands, equal heights per band, disjoint and
// non-touching spans, and no two touching bands with the same spans.
void ExpectCanonical(const TRegion& r) {
  const auto& rects = r.Rects();
  for (size_t i = 0; i < rects.size(); ++i) {
    ASSERT_FALSE(rects[i].IsEmpty());
    if (i == 0) continue;
    const TRect& a = rects[i - 1];
    const TRect& b = rects[i];
    if (a.Top == b.Top) {
      ASSERT_EQ(a.Bottom, b.Bottom);
      ASSERT_LT(a.Right, b.Left) << "spans touch or overlap";
    } else {
      ASSERT_LE(a.Bottom, b.Top) << "bands overlap";
    }
  }
  // Touching bands must differ.
  std::vector<std::pair<size_t, size_t>> bands;
  for (size_t i = 0; i < rects.size();) {
    size_t j = i;
    while (j < rects.size() && rects[j].Top == rects[i].Top) ++j;
    bands.push_back({i, j});
    i = j;
  }
  for (size_t k = 1; k < bands.size(); ++k) {
    const auto [a0, a1] = bands[k - 1];
    const auto [b0, b1] = bands[k];
    if (rects[a0].Bottom != rects[b0].Top || a1 - a0 != b1 - b0) continue;
    bool same = true;
    for (size_t i = 0; i < a1 - a0; ++i)
      same = same && rects[a0 + i].Left == rects[b0 + i].Left && rects[a0 + i].Right == rects[b0 + i].Right;
    ASSERT_FALSE(same) << "touching bands with equal spans were not merged";
  }
}

TEST(Region, AlgebraMatchesPixelReference) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 300; ++round) {
    const auto ra = RandomRects(rng, 1 + round % 9);
    const auto rb = RandomRects(rng, 1 + round % 7);
    const TRegion a = TRegion::FromRects(ra), b = TRegion::FromRects(rb);
    TGrid ga, gb;
    for (const TRect& r : ra) ga.Add(r);
    for (const TRect& r : rb) gb.Add(r);
    ASSERT_EQ(GridOf(a).cells, ga.cells);
    ExpectCanonical(a);

    struct TCase { const char* name; TRegion result; bool (*op)(bool, bool); };
    const TCase cases[] = {
        {"union", a.Union(b), [](bool x, bool y) { return x || y; }},
        {"intersect", a.Intersect(b), [](bool x, bool y) { return x && y; }},
        {"subtract", a.Subtract(b), [](bool x, bool y) { return x && !y; }},
        {"xor", a.Xor(b), [](bool x, bool y) { return x != y; }},
    };
    for (const TCase& c : cases) {
      ExpectCanonical(c.result);
      const TGrid got = GridOf(c.result);
      for (int y = kOrigin; y < kOrigin + kSize; ++y)
        for (int x = kOrigin; x < kOrigin + kSize; ++x) {
          const bool want = c.op(ga.At(x, y), gb.At(x, y));
          ASSERT_EQ(bool(got.At(x, y)), want) << c.name << " at " << x << "," << y << " round " << round;
          ASSERT_EQ(c.result.Contains({x, y}), want) << c.name << " Contains " << x << "," << y;
        }
    }
    // Same pixel set, different construction: equal.
    ASSERT_EQ(a.Union(b), b.Union(a));
    ASSERT_EQ(a.Subtract(b).Union(a.Intersect(b)), a);
  }
}

// Clipping with a rectangle: around the region, inside a band, partly over.
TEST(Region, IntersectWithOneRectangle) {
  const TRect l1{0, 0, 10, 4}, l2{0, 4, 4, 10};
  const TRegion ell = TRegion::FromRects(std::vector<TRect>{l1, l2});
  EXPECT_EQ(ell.Intersect(TRegion(TRect{-5, -5, 20, 20})), ell);
  EXPECT_EQ(TRegion(TRect{-5, -5, 20, 20}).Intersect(ell), ell);
  EXPECT_EQ(ell.Intersect(TRegion(TRect{0, 0, 10, 10})), ell);
  const TRegion cut = ell.Intersect(TRegion(TRect{2, 2, 8, 8}));
  ExpectCanonical(cut);
  EXPECT_EQ(cut, TRegion::FromRects(std::vector<TRect>{{2, 2, 8, 4}, {2, 4, 4, 8}}));
  EXPECT_EQ(TRegion(TRect{0, 0, 10, 10}).Intersect(TRegion(TRect{5, -3, 15, 5})), TRegion(TRect{5, 0, 10, 5}));
  EXPECT_TRUE(TRegion(TRect{0, 0, 10, 10}).Intersect(TRegion(TRect{10, 0, 15, 5})).IsEmpty());
}

TEST(Region, BoundsIntersectsAndOffset) {
  std::mt19937 rng(99);
  for (int round = 0; round < 100; ++round) {
    TRegion r = TRegion::FromRects(RandomRects(rng, 5));
    const TGrid g = GridOf(r);
    TRect box;
    for (int y = kOrigin; y < kOrigin + kSize; ++y)
      for (int x = kOrigin; x < kOrigin + kSize; ++x)
        if (g.At(x, y)) box = UnionRect(box, {x, y, x + 1, y + 1});
    ASSERT_EQ(r.Bounds(), box);

    const TRect probe = {round % 30, (round * 7) % 30, round % 30 + 3, (round * 7) % 30 + 2};
    bool any = false;
    for (int y = probe.Top; y < probe.Bottom; ++y)
      for (int x = probe.Left; x < probe.Right; ++x) any = any || g.At(x, y);
    ASSERT_EQ(r.Intersects(probe), any);

    TRegion moved = r;
    moved.Offset(-3, 2);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x) ASSERT_EQ(moved.Contains({x - 3, y + 2}), bool(g.At(x, y)));
  }
}

TEST(Region, EmptyInputsAndCombineModes) {
  const TRegion empty;
  const TRegion a(TRect{0, 0, 10, 10});
  const TRegion b(TRect{5, 5, 15, 15});
  EXPECT_TRUE(TRegion(TRect{5, 5, 5, 9}).IsEmpty());
  EXPECT_EQ(TRegion::FromRects({}), empty);
  EXPECT_EQ(empty.Bounds(), TRect{});
  EXPECT_EQ(a.Intersect(empty), empty);
  EXPECT_EQ(a.Union(empty), a);
  EXPECT_EQ(empty.Subtract(a), empty);

  TRegion dest;
  EXPECT_EQ(CombineRgn(dest, a, b, RGN_AND), SIMPLEREGION);
  EXPECT_EQ(dest, TRegion(TRect{5, 5, 10, 10}));
  EXPECT_EQ(CombineRgn(dest, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(dest, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(dest, b, a, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(dest, b);
  // dest aliasing an operand.
  dest = a;
  CombineRgn(dest, dest, b, RGN_XOR);
  EXPECT_EQ(dest, a.Xor(b));
  TRegion untouched = a;
  EXPECT_EQ(CombineRgn(untouched, b, b, 42), RGN_ERROR);
  EXPECT_EQ(untouched, a);
  // Two halves of one rectangle merge back into the rectangle.
  EXPECT_EQ(TRegion(TRect{0, 0, 10, 5}).Union(TRegion(TRect{0, 5, 10, 10})), a);
  EXPECT_TRUE(TRegion(TRect{0, 0, 5, 10}).Union(TRegion(TRect{5, 0, 10, 10})).IsRect());
}

TEST(Region, ManyScanlineRectsBuildBandsDirectly) {
  // A disc as one rectangle per row (what a mask produces): 2000 rows.
  std::vector<TRect> rows;
  const int radius = 1000;
  for (int y = -radius; y < radius; ++y) {
    const int half = static_cast<int>(std::sqrt(double(radius) * radius - double(y) * y));
    rows.push_back({-half, y, half, y + 1});
    rows.push_back({half + 5, y, half + 8, y + 1});  // a second run per row
  }
  const TRegion r = TRegion::FromRects(rows);
  ExpectCanonical(r);
  EXPECT_EQ(r.Bounds(), (TRect{-radius, -radius, radius + 8, radius}));
  EXPECT_TRUE(r.Contains({0, 0}));
  EXPECT_FALSE(r.Contains({radius + 1, 0}));
  EXPECT_TRUE(r.Contains({radius + 6, 0}));
  // Same region from the rows in reverse order.
  std::vector<TRect> reversed(rows.rbegin(), rows.rend());
  EXPECT_EQ(TRegion::FromRects(reversed), r);
}

std::vector<uint8_t> Block(uint32_t headerSize, uint32_t type, uint32_t count, uint32_t size,
                           std::vector<int32_t> coords) {
  std::vector<uint8_t> out;
  auto put = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
  };
  put(headerSize), put(type), put(count), put(size);
  for (int i = 0; i < 4; ++i) put(0);
  for (int32_t c : coords) put(uint32_t(c));
  return out;
}

TEST(RegionData, RoundTripAndHeader) {
  const TRegion r = TRegion::FromRects(std::vector<TRect>{{0, 0, 10, 2}, {3, 2, 5, 7}, {-8, -9, -1, 1}});
  const auto data = RegionToData(r);
  ASSERT_EQ(data.size(), 32 + r.Rects().size() * 16);
  uint32_t header[8];
  std::memcpy(header, data.data(), 32);  // the machine is little-endian, as is the block
  EXPECT_EQ(header[0], 32u);
  EXPECT_EQ(header[1], 1u);
  EXPECT_EQ(header[2], r.Rects().size());
  EXPECT_EQ(header[3], r.Rects().size() * 16);
  EXPECT_EQ(int32_t(header[4]), -8);
  EXPECT_EQ(int32_t(header[5]), -9);
  EXPECT_EQ(int32_t(header[6]), 10);
  EXPECT_EQ(int32_t(header[7]), 7);
  EXPECT_EQ(ExtCreateRegion(data), r);
  EXPECT_EQ(ExtCreateRegion(RegionToData(TRegion())), TRegion());
}

TEST(RegionData, AcceptsMaskStyleBlocks) {
  // Writers of mask regions leave nRgnSize 0 and list overlapping or
  // unsorted rows; empty rectangles are ignored.
  const auto data = Block(32, 1, 3, 0, {0, 1, 4, 2, 0, 0, 4, 1, 2, 0, 2, 5});
  EXPECT_EQ(ExtCreateRegion(data), TRegion(TRect{0, 0, 4, 2}));
}

TEST(RegionData, RejectsBadBlocks) {
  auto expectBad = [](const std::vector<uint8_t>& data, const char* fragment) {
    try {
      ExtCreateRegion(data);
      ADD_FAILURE() << "accepted a bad block, expected: " << fragment;
    } catch (const EInvalidGraphic& e) {
      EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
    }
  };
  expectBad({1, 2, 3}, "shorter than its 32-byte header");
  expectBad(Block(40, 1, 0, 0, {}), "header size 40");
  expectBad(Block(32, 2, 0, 0, {}), "type 2");
  expectBad(Block(32, 1, 2, 32, {0, 0, 1, 1}), "2 rectangles need 64 bytes");
  expectBad(Block(32, 1, 0xFFFFFFFFu, 0, {0, 0, 1, 1}), "rectangles need");
  expectBad(Block(32, 1, 1, 16, {0, 0, 1 << 30, 1}), "out of range");
  expectBad(Block(32, 1, 1, 16, {INT32_MIN, 0, 1, 1}), "out of range");
}

}  // namespace
}  // namespace qz
