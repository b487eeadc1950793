// The pixel surface's own storage: copies are deep, moves leave an empty
// pixmap, resizing keeps or reuses memory as documented.
#include <gtest/gtest.h>

#include <utility>

#include "host/graphics/Pixmap.h"

namespace qz {
namespace {

TEST(Pixmap, CopiesAreDeepAndCompareByPixels) {
  TPixmap a(3, 2, 0xFF112233u);
  a.At(2, 1) = 0x80FFFFFFu;
  TPixmap b = a;
  EXPECT_EQ(b, a);
  EXPECT_NE(b.Data(), a.Data());
  b.At(0, 0) = 0;
  EXPECT_FALSE(b == a);

  TPixmap c(10, 10, 7);
  c = a;  // into a larger buffer
  EXPECT_EQ(c, a);
  EXPECT_FALSE(TPixmap(3, 2) == TPixmap(2, 3));
}

TEST(Pixmap, MovingLeavesAnEmptyPixmapThatCanBeReused) {
  TPixmap a(4, 4, 0xFF00FF00u);
  const uint32_t* storage = a.Data();
  TPixmap b = std::move(a);
  EXPECT_EQ(b.Data(), storage);
  EXPECT_TRUE(a.Empty());  // NOLINT(bugprone-use-after-move): documented state
  EXPECT_EQ(a.Width(), 0);
  a.Resize(2, 2, 5);
  EXPECT_EQ(a.At(1, 1), 5u);

  TPixmap c(1, 1);
  c = std::move(b);
  EXPECT_EQ(c.Width(), 4);
  EXPECT_EQ(c.At(3, 3), 0xFF00FF00u);
  EXPECT_TRUE(b.Empty());  // NOLINT(bugprone-use-after-move)
}

TEST(Pixmap, ResizingReusesMemoryAndFillsWhenAsked) {
  TPixmap p(8, 8, 1);
  const uint32_t* storage = p.Data();
  p.ResizeUninitialized(4, 4);  // smaller: same memory, new size
  EXPECT_EQ(p.Data(), storage);
  EXPECT_EQ(p.Width(), 4);
  p.Resize(8, 8, 9);  // back to what the memory holds: filled
  EXPECT_EQ(p.Data(), storage);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(p.At(x, y), 9u);
  p.Resize(-3, 5);
  EXPECT_TRUE(p.Empty());
  EXPECT_EQ(p.Height(), 5);
}

// Each pixel names its own position, so a moved pixel shows where it came from.
TPixmap Numbered(int w, int h) {
  TPixmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = uint32_t(y * 100 + x);
  return p;
}

void ExpectKeptThenFilled(const TPixmap& p, int keptW, int keptH, uint32_t fill) {
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x)
      ASSERT_EQ(p.At(x, y), x < keptW && y < keptH ? uint32_t(y * 100 + x) : fill) << x << "," << y;
}

TEST(Pixmap, ResizeKeepingKeepsEveryPixelAtItsPlaceInEitherDirection) {
  TPixmap p = Numbered(12, 9);
  const uint32_t* storage = p.Data();
  p.ResizeKeeping(11, 9, 0xFF000000u);  // narrower: rows move towards the start
  EXPECT_EQ(p.Data(), storage);
  ExpectKeptThenFilled(p, 11, 9, 0xFF000000u);
  p.ResizeKeeping(12, 9, 0xFF000000u);  // wider again, in place: rows move towards the end
  EXPECT_EQ(p.Data(), storage);
  ExpectKeptThenFilled(p, 11, 9, 0xFF000000u);
  p.ResizeKeeping(9, 12, 7);  // narrower and taller, still within the memory held
  EXPECT_EQ(p.Data(), storage);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 9; ++x)
      ASSERT_EQ(p.At(x, y), y < 9 ? uint32_t(y * 100 + x) : 7u) << x << "," << y;
  p.ResizeKeeping(20, 20, 5);  // beyond the memory: a new buffer, pixels copied
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(p.At(x, y), x >= 9 || y >= 12 ? 5u : y < 9 ? uint32_t(y * 100 + x) : 7u)
          << x << "," << y;
  p.ResizeKeeping(-1, 4, 0);
  EXPECT_TRUE(p.Empty());
}

TEST(Pixmap, ResizeForRepaintKeepsHeldMemoryAndDefinesFreshMemory) {
  TPixmap p(6, 6, 3);
  const uint32_t* storage = p.Data();
  p.ResizeForRepaint(5, 7, 9);
  EXPECT_EQ(p.Data(), storage) << "36 pixels held, 35 needed";
  for (int i = 0; i < 35; ++i) ASSERT_EQ(p.Data()[i], 3u);
  p.ResizeForRepaint(10, 10, 9);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(p.Data()[i], 9u);
}

}  // namespace
}  // namespace qz
