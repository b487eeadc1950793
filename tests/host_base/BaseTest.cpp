#include <gtest/gtest.h>

#include "host/base/Color.h"
#include "host/base/ColorHooks.h"
#include "host/base/Set.h"
#include "host/base/Stream.h"
#include "host/base/Types.h"

namespace qz {
namespace {

TEST(Rect, RightAndBottomAreExclusive) {
  const TRect r = Rect(10, 20, 30, 40);
  EXPECT_TRUE(PtInRect(r, Point(10, 20)));
  EXPECT_TRUE(PtInRect(r, Point(29, 39)));
  EXPECT_FALSE(PtInRect(r, Point(30, 39)));
  EXPECT_FALSE(PtInRect(r, Point(29, 40)));
  EXPECT_EQ(r.Width(), 20);
  EXPECT_TRUE(Rect(5, 5, 5, 9).IsEmpty());
  EXPECT_TRUE(Rect(5, 5, 4, 9).IsEmpty());
}

TEST(Rect, IntersectionAndUnion) {
  TRect out{1, 1, 1, 1};
  EXPECT_FALSE(IntersectRect(out, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));
  EXPECT_EQ(out, TRect{});  // touching edges share no pixel
  EXPECT_TRUE(IntersectRect(out, Rect(0, 0, 10, 10), Rect(5, -5, 20, 6)));
  EXPECT_EQ(out, Rect(5, 0, 10, 6));
  EXPECT_EQ(UnionRect(Rect(0, 0, 2, 2), TRect{}), Rect(0, 0, 2, 2));
  EXPECT_EQ(UnionRect(Rect(0, 0, 2, 2), Rect(5, 5, 6, 7)), Rect(0, 0, 6, 7));
}

class SysColorTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetGetSysColorHook({});
    SetGetSysColorBrushHook({});
    SetCreatePenHook({});
    ResetRealSysColors();
  }
};

TEST_F(SysColorTest, ColorToRGBResolvesSystemColoursOnly) {
  SetRealSysColor(COLOR_BTNFACE, RGB(1, 2, 3));
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(1, 2, 3));
  EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
  EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456u);
}

TEST_F(SysColorTest, HooksRedirectAllThreeAndCanBeRemoved) {
  SetGetSysColorHook([](int index) {
    return index == COLOR_WINDOW ? RGB(9, 9, 9) : GetRealSysColor(index);
  });
  SetGetSysColorBrushHook([](int index) {
    return index == COLOR_WINDOW ? TLogBrush{TBrushKind::Solid, RGB(9, 9, 9)}
                                 : RealGetSysColorBrush(index);
  });
  SetCreatePenHook([](int style, int width, TColorRef c) {
    return RealCreatePen(style, width, c == COLOR_WINDOW ? RGB(9, 9, 9) : c);
  });
  EXPECT_EQ(ColorToRGB(clWindow), RGB(9, 9, 9));
  EXPECT_EQ(GetSysColorBrush(COLOR_WINDOW).color, RGB(9, 9, 9));
  EXPECT_EQ(CreatePen(PS_SOLID, 1, COLOR_WINDOW).color, RGB(9, 9, 9));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetRealSysColor(COLOR_BTNFACE));

  SetGetSysColorHook({});
  EXPECT_FALSE(IsGetSysColorHooked());
  EXPECT_EQ(ColorToRGB(clWindow), RGB(255, 255, 255));
}

TEST_F(SysColorTest, HookMayRemoveItselfWhileRunning) {
  SetGetSysColorHook([](int index) {
    SetGetSysColorHook({});
    return GetRealSysColor(index);
  });
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_FALSE(IsGetSysColorHooked());
}

TEST_F(SysColorTest, OutOfRangeIndexesAnswerNothing) {
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColor(COLOR_COUNT), 0u);
  EXPECT_EQ(GetSysColorBrush(99).kind, TBrushKind::Null);
}

enum class TFruit { Apple, Pear, Plum };

TEST(Set, IncludeExcludeAndAlgebra) {
  TSet<TFruit> s{TFruit::Apple, TFruit::Plum};
  EXPECT_TRUE(s.Contains(TFruit::Plum));
  EXPECT_FALSE(s.Contains(TFruit::Pear));
  s.Exclude(TFruit::Apple);
  EXPECT_EQ(s, TSet<TFruit>{TFruit::Plum});
  EXPECT_EQ((TSet<TFruit>{TFruit::Apple} + s) - TSet<TFruit>{TFruit::Plum},
            TSet<TFruit>{TFruit::Apple});
}

TEST(Stream, ShortReadsThrowAndSeekingClamps) {
  TMemoryStream m;
  m.WriteValue<uint32_t>(0xAABBCCDD);
  m.SetPosition(0);
  EXPECT_EQ(m.ReadValue<uint32_t>(), 0xAABBCCDDu);
  EXPECT_THROW(m.ReadValue<uint8_t>(), EReadError);
  EXPECT_EQ(m.Seek(-100, TSeekOrigin::soCurrent), 0);

  const uint8_t bytes[3] = {1, 2, 3};
  TBytesStream b(bytes, 3);
  uint8_t buf[4];
  EXPECT_EQ(b.Read(buf, 4), 3u);
  EXPECT_THROW(b.WriteValue<uint8_t>(1), EWriteError);
  b.SetPosition(10);
  EXPECT_EQ(b.Read(buf, 1), 0u);
}

TEST(Stream, CopyFromCopiesWholeSourceWhenCountIsZero) {
  TMemoryStream src(std::vector<uint8_t>(100000, 7));
  src.SetPosition(500);
  TMemoryStream dst;
  EXPECT_EQ(dst.CopyFrom(src, 0), 100000);
  EXPECT_EQ(dst.Size(), 100000);
}

}  // namespace
}  // namespace qz
