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

}  // namespace
}  // namespace qz
