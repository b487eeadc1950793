// The composition functions against a straightforward per-pixel reference:
// every destination pixel is produced by the last piece (in drawing order)
// that covers it, computed with plain arithmetic instead of block copies.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "skin/draw/PixelCopy.h"
#include "skin/draw/SkinImage.h"
#include "skin/draw/SkinLattice.h"

namespace qz {
namespace {

// A source pixel value that tells where it came from.
uint32_t Tag(int x, int y) { return 0xFF000000u | (uint32_t(y) << 12) | uint32_t(x); }

TPixmap TaggedPicture(int w, int h) {
  TPixmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = Tag(x, y);
  return p;
}

int ScaleIndex(int i, int srcStart, int srcEnd, int dstLen) {
  if (dstLen < 2) return (srcStart + srcEnd - 1) / 2;
  const double scale = double(srcEnd - srcStart - 1) / double(dstLen - 1);
  return int(std::nearbyint(i * scale + srcStart));
}

// One piece of a composition: a destination rectangle and, for each of its
// pixels, the source pixel (or nothing).
struct Piece {
  TRect dest;
  std::function<bool(int x, int y, TPoint& src)> map;
};

Piece Stretch(TRect s, TRect d) {
  return {d, [s, d](int x, int y, TPoint& src) {
            if (s.IsEmpty()) return false;
            src.X = s.Width() == d.Width() ? s.Left + x - d.Left
                                           : ScaleIndex(x - d.Left, s.Left, s.Right, d.Width());
            src.Y = s.Height() == d.Height() ? s.Top + y - d.Top
                                             : ScaleIndex(y - d.Top, s.Top, s.Bottom, d.Height());
            return true;
          }};
}

// Tiles along X over d.Left..d.Right; rows scaled when heights differ.
Piece TileX(TRect s, TRect d) {
  return {d, [s, d](int x, int y, TPoint& src) {
            if (s.IsEmpty()) return false;
            src.X = s.Left + (x - d.Left) % s.Width();
            src.Y = s.Height() == d.Height() ? s.Top + y - d.Top
                                             : ScaleIndex(y - d.Top, s.Top, s.Bottom, d.Height());
            return true;
          }};
}

Piece TileY(TRect s, TRect d) {
  return {d, [s, d](int x, int y, TPoint& src) {
            if (s.IsEmpty()) return false;
            src.Y = s.Top + (y - d.Top) % s.Height();
            src.X = s.Width() == d.Width() ? s.Left + x - d.Left
                                           : ScaleIndex(x - d.Left, s.Left, s.Right, d.Width());
            return true;
          }};
}

Piece Tile2D(TRect s, TRect d) {
  return {d, [s, d](int x, int y, TPoint& src) {
            if (s.IsEmpty()) return false;
            src = {s.Left + (x - d.Left) % s.Width(), s.Top + (y - d.Top) % s.Height()};
            return true;
          }};
}

TPixmap Render(const std::vector<Piece>& pieces, const TPixmap& source, int W, int H,
               const TPixmap* start = nullptr) {
  TPixmap out = start ? *start : TPixmap(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        TPoint s;
        if (!it->dest.Contains({x, y}) || !it->map(x, y, s)) continue;
        if (s.X >= 0 && s.Y >= 0 && s.X < source.Width() && s.Y < source.Height())
          out.At(x, y) = source.At(s.X, s.Y);
        break;
      }
  return out;
}

// The client piece scaled to the client height and repeated across, or
// scaled to its width and repeated down.
Piece StretchRepeat(TRect piece, TRect ncl, bool across) {
  return {ncl, [piece, ncl, across](int x, int y, TPoint& src) {
            if (across)
              src = {piece.Left + (x - ncl.Left) % piece.Width(),
                     piece.Height() == ncl.Height()
                         ? piece.Top + y - ncl.Top
                         : ScaleIndex(y - ncl.Top, piece.Top, piece.Bottom, ncl.Height())};
            else
              src = {piece.Width() == ncl.Width()
                         ? piece.Left + x - ncl.Left
                         : ScaleIndex(x - ncl.Left, piece.Left, piece.Right, ncl.Width()),
                     piece.Top + (y - ncl.Top) % piece.Height()};
            return true;
          }};
}

// The lattice's pieces, each rendered pixel by pixel.
std::vector<Piece> NinePartReference(const TqzSkinGeometry& g, const TqzNewGeometry& n,
                                     bool drawClient, int W, int H) {
  std::vector<Piece> p;
  for (const TqzLatticePiece& l : NinePartPieces(g, n, W, H)) {
    if (l.Part == TqzLatticePart::Client && (!drawClient || l.Source.IsEmpty())) continue;
    switch (l.Fill) {
      case TqzPieceFill::Stretch: p.push_back(Stretch(l.Source, l.Dest)); break;
      case TqzPieceFill::TileX: p.push_back(TileX(l.Source, l.Dest)); break;
      case TqzPieceFill::TileY: p.push_back(TileY(l.Source, l.Dest)); break;
      case TqzPieceFill::Tile: p.push_back(Tile2D(l.Source, l.Dest)); break;
      case TqzPieceFill::StretchRepeatX: p.push_back(StretchRepeat(l.Source, l.Dest, true)); break;
      case TqzPieceFill::StretchRepeatY: p.push_back(StretchRepeat(l.Source, l.Dest, false)); break;
    }
  }
  return p;
}

TqzSkinGeometry RandomNinePart(std::mt19937& rng, const TPixmap& picture) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  TqzSkinGeometry g;
  const int w = pick(4, 40), h = pick(4, 40);
  const int left = pick(0, picture.Width() - w), top = pick(0, picture.Height() - h);
  g.SkinRect = Bounds(left, top, w, h);
  // Client rectangle inside R, corner points inside R and nonzero bottom-right.
  const int cl = pick(0, w / 2), cr = pick(cl + 1, w);
  const int ct = pick(0, h / 2), cb = pick(ct + 1, h);
  g.ClientRect = {cl, ct, cr, cb};
  g.LeftTopPoint = {pick(0, w - 1), pick(0, h - 1)};
  g.RightTopPoint = {pick(g.LeftTopPoint.X, w), pick(0, h - 1)};
  g.LeftBottomPoint = {pick(0, w - 1), pick(g.LeftTopPoint.Y, h)};
  g.RightBottomPoint = {pick(std::max(1, g.LeftBottomPoint.X), w), pick(std::max(1, g.RightTopPoint.Y), h)};
  g.LeftStretch = pick(0, 1);
  g.TopStretch = pick(0, 1);
  g.RightStretch = pick(0, 1);
  g.BottomStretch = pick(0, 1);
  g.StretchEffect = pick(0, 1);
  g.StretchType = static_cast<TqzStretchType>(pick(0, 2));
  return g;
}

TEST(SkinImage, NinePartMatchesPerPixelReference) {
  std::mt19937 rng(12345);
  const TPixmap picture = TaggedPicture(120, 90);
  int composed = 0;
  for (int iteration = 0; iteration < 400; ++iteration) {
    const TqzSkinGeometry g = RandomNinePart(rng, picture);
    // Sizes smaller than the fixed parts, equal, and larger.
    const int W = std::uniform_int_distribution<int>(0, 3 * g.SkinRect.Width())(rng);
    const int H = std::uniform_int_distribution<int>(0, 3 * g.SkinRect.Height())(rng);
    const bool drawClient = iteration % 3 != 0;
    const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, W, H);
    TPixmap out;
    ComposeSkinImage(g, n, drawClient, W, H, picture, out);
    ASSERT_EQ(out.Width(), W);
    const bool degenerate = g.RightBottomPoint.X == g.LeftTopPoint.X ||
                            g.RightBottomPoint.Y == g.LeftTopPoint.Y;
    const TPixmap expected =
        degenerate ? TPixmap(W, H) : Render(NinePartReference(g, n, drawClient, W, H), picture, W, H);
    ASSERT_TRUE(out == expected) << "iteration " << iteration << " size " << W << "x" << H;
    composed += degenerate ? 0 : 1;
  }
  EXPECT_GT(composed, 300);
}

TEST(SkinImage, FixedDescriptionComposesTheSourceRectangle) {
  const TPixmap picture = TaggedPicture(50, 50);
  TqzSkinGeometry g;
  g.SkinRect = {5, 6, 25, 16};
  ASSERT_EQ(CalcResizeMode(g), TqzResizeMode::Fixed);
  const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::Fixed, 300, 7);
  EXPECT_EQ(n.Width, 20);
  EXPECT_EQ(n.Height, 10);
}

TEST(SkinImage, TopEdgeShowsWholeTilesAtAnExactMultiple) {
  const TPixmap picture = TaggedPicture(40, 40);
  TqzSkinGeometry g;
  g.SkinRect = {0, 0, 30, 30};
  g.LeftTopPoint = {10, 10};
  g.RightTopPoint = {20, 10};
  g.LeftBottomPoint = {10, 20};
  g.RightBottomPoint = {20, 20};
  g.ClientRect = {10, 10, 20, 20};
  for (int extra : {20, 21}) {
    const int W = 30 + extra;
    const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, W, 30);
    TPixmap out;
    ComposeSkinImage(g, n, true, W, 30, picture, out);
    // The top edge runs from 10 to 20 + extra; tile columns repeat 10..19.
    for (int x = 10; x < 20 + extra; ++x) EXPECT_EQ(out.At(x, 0), Tag(10 + (x - 10) % 10, 0));
    EXPECT_EQ(out.At(20 + extra, 0), Tag(20, 0));  // the right corner follows at once
  }
}

TEST(SkinImage, HorizontalClientStretchRepeatsFromTheLeftAndIsClipped) {
  const TPixmap picture = TaggedPicture(40, 40);
  TqzSkinGeometry g;
  g.SkinRect = {0, 0, 12, 12};
  g.LeftTopPoint = {2, 2};
  g.RightTopPoint = {10, 2};
  g.LeftBottomPoint = {2, 10};
  g.RightBottomPoint = {10, 10};
  g.ClientRect = {2, 2, 10, 10};
  g.StretchEffect = true;
  g.StretchType = TqzStretchType::Horz;
  const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, 25, 12);
  TPixmap out;
  ComposeSkinImage(g, n, true, 25, 12, picture, out);
  // Client spans 2..23 (21 px): pieces of 8 at 2, 10, 18 (the last cut at 23).
  EXPECT_EQ(out.At(2, 5), Tag(2, 5));
  EXPECT_EQ(out.At(10, 5), Tag(2, 5));
  EXPECT_EQ(out.At(22, 5), Tag(6, 5));
  EXPECT_EQ(out.At(23, 5), Tag(10, 5));  // right edge, not the client piece
}

TEST(SkinImage, ThreePartImagesMatchReference) {
  const TPixmap picture = TaggedPicture(60, 30);
  const TRect R{5, 3, 35, 23};
  for (bool stretch : {false, true})
    for (int W : {0, 7, 30, 31, 77}) {
      TPixmap h;
      ComposeHSkinImage(6, 9, h, stretch, W, R, picture);
      const TRect mid{11, 3, 26, 23};
      std::vector<Piece> ref = {Stretch({5, 3, 11, 23}, {0, 0, 6, 20}),
                                Stretch({26, 3, 35, 23}, {W - 9, 0, W, 20}),
                                stretch ? Stretch(mid, {6, 0, W - 9, 20}) : TileX(mid, {6, 0, W - 9, 20})};
      EXPECT_TRUE(h == Render(ref, picture, W, 20)) << W << " stretch " << stretch;

      TPixmap v;
      ComposeVSkinImage(4, 5, v, stretch, W, R, picture);
      const TRect vmid{5, 7, 35, 18};
      std::vector<Piece> vref = {Stretch({5, 3, 35, 7}, {0, 0, 30, 4}),
                                 Stretch({5, 18, 35, 23}, {0, W - 5, 30, W}),
                                 stretch ? Stretch(vmid, {0, 4, 30, W - 5}) : TileY(vmid, {0, 4, 30, W - 5})};
      EXPECT_TRUE(v == Render(vref, picture, 30, W)) << W << " stretch " << stretch;
    }
}

TEST(SkinImage, BorderStripsMatchTheFullComposition) {
  // With tiles that line up from 0 (edge starting at the corner point 0 would
  // differ), compare the strips with the same area of the full image.
  std::mt19937 rng(99);
  const TPixmap picture = TaggedPicture(120, 90);
  int compared = 0;
  for (int iteration = 0; iteration < 300; ++iteration) {
    TqzSkinGeometry g = RandomNinePart(rng, picture);
    // Strips tile from the strip's own start; make the fixed parts line up
    // with that by stretching every edge.
    g.LeftStretch = g.TopStretch = g.RightStretch = g.BottomStretch = true;
    // Corner points on the client rectangle's corners: the layout a frame uses.
    const TRect cl = g.ClientRect;
    g.LeftTopPoint = {cl.Left, cl.Top};
    g.RightTopPoint = {cl.Right, cl.Top};
    g.LeftBottomPoint = {cl.Left, cl.Bottom};
    g.RightBottomPoint = {cl.Right, cl.Bottom};
    if (g.RightBottomPoint.X == 0 || g.RightBottomPoint.Y == 0) continue;
    const int W = g.SkinRect.Width() + std::uniform_int_distribution<int>(0, 40)(rng);
    const int H = g.SkinRect.Height() + std::uniform_int_distribution<int>(0, 40)(rng);
    const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, W, H);
    TPixmap full;
    ComposeSkinImage(g, n, false, W, H, picture, full);
    const TqzBorderStrips s = ComposeSkinBorderImages(g, n, W, H, picture);
    auto same = [&](const TPixmap& strip, int ox, int oy) {
      for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < strip.Width(); ++x)
          if (strip.At(x, y) != full.At(ox + x, oy + y)) return false;
      return true;
    };
    EXPECT_TRUE(same(s.Top, 0, 0)) << iteration;
    EXPECT_TRUE(same(s.Bottom, 0, H - s.Bottom.Height())) << iteration;
    EXPECT_TRUE(same(s.Left, 0, s.Top.Height())) << iteration;
    EXPECT_TRUE(same(s.Right, W - s.Right.Width(), s.Top.Height())) << iteration;
    ++compared;
  }
  EXPECT_GT(compared, 100);
}

// Rects and points outside the picture and sizes down to zero. The sanitizer
// build checks that no access leaves either surface; here every pixel that
// comes out must be blank or one of the picture's own.
TEST(SkinImage, HostileGeometryStaysInsideBothSurfaces) {
  std::mt19937 rng(7);
  const int side = 30;
  const TPixmap picture = TaggedPicture(side, side);
  auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto onlyPicturePixels = [&](const TPixmap& p) {
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) {
        const uint32_t v = p.At(x, y);
        if (v != 0 && v != Tag(int(v & 0xFFF) % side, int((v >> 12) & 0xFFF) % side)) return false;
      }
    return true;
  };
  for (int i = 0; i < 500; ++i) {
    TqzSkinGeometry g;
    g.SkinRect = {any(-20, 40), any(-20, 40), any(-20, 60), any(-20, 60)};
    g.LeftTopPoint = {any(-10, 50), any(-10, 50)};
    g.RightTopPoint = {any(-10, 50), any(-10, 50)};
    g.LeftBottomPoint = {any(-10, 50), any(-10, 50)};
    g.RightBottomPoint = {any(-10, 50), any(-10, 50)};
    g.ClientRect = {any(-10, 50), any(-10, 50), any(-10, 50), any(-10, 50)};
    g.StretchEffect = any(0, 1);
    g.StretchType = static_cast<TqzStretchType>(any(0, 2));
    const int W = any(0, 70), H = any(0, 70);
    TPixmap out;
    ComposeSkinImage(g, CalcNewGeometry(g, TqzResizeMode::NinePart, W, H), true, W, H, picture, out);
    ASSERT_TRUE(onlyPicturePixels(out)) << "nine-part, iteration " << i;
    const TqzBorderStrips strips =
        ComposeSkinBorderImages(g, CalcNewGeometry(g, TqzResizeMode::NinePart, W, H), W, H, picture);
    for (const TPixmap* strip : {&strips.Top, &strips.Bottom, &strips.Left, &strips.Right})
      ASSERT_TRUE(onlyPicturePixels(*strip)) << "border strip, iteration " << i;
    ComposeHSkinImage(any(-5, 20), any(-5, 20), out, any(0, 1), W, g.SkinRect, picture);
    ASSERT_TRUE(onlyPicturePixels(out)) << "three parts, iteration " << i;
  }
}

TEST(PixelCopy, OnePixelWideDestinationTakesTheMiddleColumn) {
  const TPixmap picture = TaggedPicture(20, 1);
  TPixmap out(1, 1);
  CopyPixels(picture, {4, 0, 10, 1}, out, {0, 0, 1, 1});
  EXPECT_EQ(out.At(0, 0), Tag(6, 0));  // (4 + 10 - 1) div 2
}

}  // namespace
}  // namespace qz
