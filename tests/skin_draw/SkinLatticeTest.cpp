// The lattice of nine-part pieces, checked by what must hold for any sound
// geometry (not by its own table): at the element's own size every piece is
// copied to where it came from and the pieces cover the element once; and by
// what its validator reports for unsound corner points.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "skin/draw/SkinLattice.h"

namespace qz {
namespace {

int Pick(std::mt19937& rng, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// Corner points in order within a client rect within the skin rect: the
// pieces of such a geometry partition the element.
TqzSkinGeometry SoundGeometry(std::mt19937& rng) {
  TqzSkinGeometry g;
  const int w = Pick(rng, 3, 30), h = Pick(rng, 3, 30);
  g.SkinRect = Bounds(Pick(rng, 0, 50), Pick(rng, 0, 50), w, h);
  const int cl = Pick(rng, 0, w - 2), cr = Pick(rng, cl + 1, w);
  const int ct = Pick(rng, 0, h - 2), cb = Pick(rng, ct + 1, h);
  g.ClientRect = {cl, ct, cr, cb};
  const int ltx = Pick(rng, 0, w), rtx = Pick(rng, ltx, w);
  const int lbx = Pick(rng, cl, w), rbx = Pick(rng, lbx, w);
  const int lty = Pick(rng, ct, h), lby = Pick(rng, lty, h);
  const int rty = Pick(rng, ct, cb), rby = Pick(rng, rty, cb);
  g.LeftTopPoint = {ltx, lty};
  g.RightTopPoint = {rtx, rty};
  g.LeftBottomPoint = {lbx, lby};
  g.RightBottomPoint = {rbx, rby};
  g.StretchEffect = Pick(rng, 0, 1);
  g.StretchType = static_cast<TqzStretchType>(Pick(rng, 0, 2));
  return g;
}

TEST(SkinLattice, AtItsOwnSizeEveryPieceStaysWhereItIsAndTheyCoverTheElementOnce) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 300; ++round) {
    const TqzSkinGeometry g = SoundGeometry(rng);
    ASSERT_TRUE(LatticeProblems(g).empty()) << round;
    const int w = g.SkinRect.Width(), h = g.SkinRect.Height();
    const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, w, h);
    std::vector<int> cover(size_t(w * h), 0);
    const std::vector<TqzLatticePiece> pieces = NinePartPieces(g, n, w, h);
    ASSERT_EQ(pieces.size(), 13u);
    for (const TqzLatticePiece& p : pieces) {
      EXPECT_EQ(OffsetRect(p.Source, -g.SkinRect.Left, -g.SkinRect.Top), p.Dest) << LatticePartName(p.Part) << " round " << round;
      for (int y = p.Dest.Top; y < p.Dest.Bottom; ++y)
        for (int x = p.Dest.Left; x < p.Dest.Right; ++x) ++cover[size_t(y * w + x)];
    }
    for (int i = 0; i < w * h; ++i)
      ASSERT_EQ(cover[size_t(i)], 1) << "pixel " << i % w << "," << i / w << " round " << round;
  }
}

TEST(SkinLattice, EdgesTileOrStretchByTheirFlagsAndTheClientByItsStretchType) {
  TqzSkinGeometry g;
  g.SkinRect = {0, 0, 20, 20};
  g.LeftTopPoint = {5, 5};
  g.RightTopPoint = {15, 5};
  g.LeftBottomPoint = {5, 15};
  g.RightBottomPoint = {15, 15};
  g.ClientRect = {5, 5, 15, 15};
  g.TopStretch = true;
  auto fillOf = [&](TqzLatticePart part) {
    for (const TqzLatticePiece& p : NinePartPieces(g, CalcNewGeometry(g, TqzResizeMode::NinePart, 40, 30), 40, 30))
      if (p.Part == part) return p.Fill;
    ADD_FAILURE() << "no " << LatticePartName(part);
    return TqzPieceFill::Stretch;
  };
  EXPECT_EQ(fillOf(TqzLatticePart::TopEdge), TqzPieceFill::Stretch);
  EXPECT_EQ(fillOf(TqzLatticePart::BottomEdge), TqzPieceFill::TileX);
  EXPECT_EQ(fillOf(TqzLatticePart::LeftEdge), TqzPieceFill::TileY);
  EXPECT_EQ(fillOf(TqzLatticePart::Client), TqzPieceFill::Tile);
  g.StretchEffect = true;
  g.StretchType = TqzStretchType::Horz;
  EXPECT_EQ(fillOf(TqzLatticePart::Client), TqzPieceFill::StretchRepeatX);
  g.StretchType = TqzStretchType::Vert;
  EXPECT_EQ(fillOf(TqzLatticePart::Client), TqzPieceFill::StretchRepeatY);
  g.StretchType = TqzStretchType::Full;
  EXPECT_EQ(fillOf(TqzLatticePart::Client), TqzPieceFill::Stretch);
}

TEST(SkinLattice, ValidatorNamesPointsOutsideAndCrossingPoints) {
  TqzSkinGeometry g;
  g.SkinRect = {10, 10, 30, 26};  // 20 x 16
  g.LeftTopPoint = {4, 4};
  g.RightTopPoint = {16, 4};
  g.LeftBottomPoint = {4, 12};
  g.RightBottomPoint = {16, 12};
  EXPECT_TRUE(LatticeProblems(g).empty());

  g.RightTopPoint = {21, 4};
  EXPECT_EQ(LatticeProblems(g),
            std::vector<std::string>{"righttoppoint 21,4 lies outside skinrect's 20 x 16"});

  g.RightTopPoint = {3, 4};  // left of the left top point
  EXPECT_EQ(LatticeProblems(g), std::vector<std::string>{
                                    "skinrect's corner points cross (left past right or top "
                                    "past bottom)"});

  // Crossing only matters for nine-part elements; a three-part one (zero
  // right-bottom point) is judged by its points' places alone.
  g.RightBottomPoint = {};
  EXPECT_TRUE(LatticeProblems(g).empty());
}

TEST(SkinLattice, BorderStripsExistOnlyWhereTheElementHasABorder) {
  TqzSkinGeometry g;
  g.SkinRect = {0, 0, 20, 20};
  g.LeftTopPoint = {5, 0};
  g.RightTopPoint = {15, 0};
  g.LeftBottomPoint = {5, 20};
  g.RightBottomPoint = {15, 20};
  g.ClientRect = {5, 0, 15, 20};  // no top or bottom border
  const TqzBorderLattice b = BorderStripPieces(g, CalcNewGeometry(g, TqzResizeMode::NinePart, 50, 40), 50, 40);
  EXPECT_FALSE(b.Top.Exists());
  EXPECT_FALSE(b.Bottom.Exists());
  ASSERT_TRUE(b.Left.Exists());
  EXPECT_EQ(b.Left.Width, 5);
  EXPECT_EQ(b.Left.Height, 40);
  ASSERT_TRUE(b.Right.Exists());
  EXPECT_EQ(b.Right.Width, 5);
  for (const TqzLatticePiece& p : b.Right.Pieces)
    EXPECT_TRUE(p.Dest.Left >= 0 && p.Dest.Top >= 0 && p.Dest.Right <= 5 && p.Dest.Bottom <= 40)
        << LatticePartName(p.Part);
}

}  // namespace
}  // namespace qz
