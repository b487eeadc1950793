// The skinned bevel: each shape of the line table and the divider, in the
// colours of the skin's "bevel" description or of the system.
#include "tests/skincontrols/SkinPanelTestKit.h"

namespace qz::testing {
namespace {

constexpr TColor kA = RGB(255, 0, 0);
constexpr TColor kB = RGB(0, 0, 255);
constexpr uint32_t kPaper = 0x808080;

// The shape painted on a grey w x h canvas, as rows of '.', 'A' and 'B'.
std::vector<std::string> Painted(void (*paint)(TCanvas&, TBevelShape, int, int, const TqzBevelColors&),
                                 TBevelShape shape, int w, int h) {
  TBitmap b(w, h);
  b.Canvas().Brush().SetColor(TColor(kPaper));
  b.Canvas().FillRect({0, 0, w, h});
  paint(b.Canvas(), shape, w, h, {kA, kB});
  std::vector<std::string> rows;
  for (int y = 0; y < h; ++y) {
    std::string row;
    for (int x = 0; x < w; ++x) {
      const uint32_t p = b.Pixels().At(x, y) & 0xFFFFFF;
      row += p == 0xFF0000 ? 'A' : p == 0x0000FF ? 'B' : p == kPaper ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> Shape(TBevelShape shape, int w, int h) {
  return Painted(&PaintBevelShape, shape, w, h);
}
std::vector<std::string> Divider(TBevelShape shape, int w, int h) {
  return Painted(&PaintBevelDivider, shape, w, h);
}

TEST(SkinBevelShapes, BoxAndFrame) {
  EXPECT_EQ(Shape(bsBox, 5, 4), (std::vector<std::string>{"AAAAB", "A...B", "A...B", "ABBBB"}));
  // The frame: the box in B one pixel down-right, then in A at the origin.
  EXPECT_EQ(Shape(bsFrame, 5, 4), (std::vector<std::string>{"AAAA.", "ABBAB", "AAAAB", ".BBBB"}));
}

TEST(SkinBevelShapes, LinesTakeTheirEdge) {
  EXPECT_EQ(Shape(bsTopLine, 3, 4), (std::vector<std::string>{"AAA", "BBB", "...", "..."}));
  EXPECT_EQ(Shape(bsBottomLine, 3, 4), (std::vector<std::string>{"...", "...", "AAA", "BBB"}));
  EXPECT_EQ(Shape(bsLeftLine, 4, 2), (std::vector<std::string>{"AB..", "AB.."}));
  EXPECT_EQ(Shape(bsRightLine, 4, 2), (std::vector<std::string>{"..AB", "..AB"}));
  EXPECT_EQ(Shape(bsSpacer, 2, 2), (std::vector<std::string>{"..", ".."}));
}

TEST(SkinBevelShapes, DividerIsOneTwoColourBoxCentredAcrossTheLine) {
  // Horizontal shapes: two rows in the middle, from x = 2 to Width - 2.
  EXPECT_EQ(Divider(bsTopLine, 8, 6),
            (std::vector<std::string>{"........", "........", "..AAAAB.", "..ABBBB.", "........", "........"}));
  EXPECT_EQ(Divider(bsBottomLine, 8, 2), (std::vector<std::string>{"..AAAAB.", "..ABBBB."}));
  // The others: two columns in the middle, from y = 2 to Height - 2.
  EXPECT_EQ(Divider(bsBox, 4, 6), (std::vector<std::string>{"....", "....", ".AB.", ".AB.", ".AB.", "...."}));
  EXPECT_EQ(Divider(bsLeftLine, 4, 6), Divider(bsFrame, 4, 6));
}

TEST(SkinBevelShapes, LoweredIsDarkAboveLightRaisedTheReverse) {
  const TqzBevelColors lowered = BevelLineColors(bsLowered, clWhite, clBlack);
  const TqzBevelColors raised = BevelLineColors(bsRaised, clWhite, clBlack);
  EXPECT_EQ(lowered.A, clBlack);
  EXPECT_EQ(lowered.B, clWhite);
  EXPECT_EQ(raised.A, clWhite);
  EXPECT_EQ(raised.B, clBlack);
}

using SkinBevelTest = SkinPanelTest;

TEST_F(SkinBevelTest, LoweredBoxShowsTheSkinsDarkTopLeftAndLightBottomRight) {
  auto* bevel = Make<TqzSkinBevel>("bevel", 10, 10, 20, 12);
  EXPECT_NE(bevel->SkinIndex(), -1);
  const TPixmap shot = Shot(bevel);
  EXPECT_EQ(shot.At(0, 5), 0x141516u);   // dark RGB(20, 21, 22) on the left
  EXPECT_EQ(shot.At(7, 0), 0x141516u);   // and on the top
  EXPECT_EQ(shot.At(19, 5), 0xF0F1F2u);  // light RGB(240, 241, 242) on the right
  EXPECT_EQ(shot.At(7, 11), 0xF0F1F2u);  // and on the bottom
  EXPECT_EQ(shot.At(7, 5), PixelOf(kFormColor));  // window-less: the form shows inside
}

TEST_F(SkinBevelTest, WithoutDescriptionOrAfterTheSkinIsGoneSystemColours) {
  auto* unknown = Make<TqzSkinBevel>("nosuchbevel", 10, 10, 20, 12);
  EXPECT_EQ(unknown->LightColor(), clBtnHighlight);
  EXPECT_EQ(unknown->DarkColor(), clBtnShadow);
  EXPECT_EQ(Shot(unknown).At(0, 5), PixelOf(clBtnShadow));

  // A description of another kind under the name is no description.
  auto* wrongKind = Make<TqzSkinBevel>("panel", 40, 10, 20, 12);
  EXPECT_EQ(wrongKind->SkinIndex(), -1);
  EXPECT_EQ(wrongKind->DarkColor(), clBtnShadow);

  auto* skinned = Make<TqzSkinBevel>("bevel", 70, 10, 20, 12);
  skinned->SetStyle(bsRaised);
  EXPECT_EQ(Shot(skinned).At(0, 5), 0xF0F1F2u);
  skin.reset();
  EXPECT_EQ(skinned->SkinData(), nullptr);
  EXPECT_EQ(Shot(skinned).At(0, 5), PixelOf(clBtnHighlight));
}

TEST_F(SkinBevelTest, FollowsTheFormsSkinChange) {
  auto* bevel = Make<TqzSkinBevel>("bevel", 10, 10, 20, 12);
  bevel->SetSkinDataName("other");
  NotifySkinControls(form, MSG_SKIN_BEFORE_CHANGE, skin.get());
  EXPECT_EQ(bevel->SkinIndex(), -1);
  NotifySkinControls(form, MSG_SKIN_CHANGED, skin.get());
  EXPECT_EQ(bevel->DarkColor(), clBtnShadow);
  bevel->SetSkinDataName("bevel");
  NotifySkinControls(form, MSG_SKIN_CHANGED, skin.get());
  EXPECT_EQ(bevel->DarkColor(), TColor(RGB(20, 21, 22)));
}

}  // namespace
}  // namespace qz::testing
