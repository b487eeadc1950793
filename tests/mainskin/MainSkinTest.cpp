// The main window's skin as the engine will use it: its areas carried to the
// demo's 848 x 645 client, seamless stretching of every stretched piece, the
// frame composed at that size, the room the raised caption of the toggle
// buttons needs, the transparent key of the check images and the rectangle
// check that guards the generator.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/graphics/PngWriter.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/SkinLattice.h"
#include "skins/MainSkinParts.h"
#include "skins/Skins.h"

namespace qz::skingen {
namespace {

using mainskin::layout::kHeight;
using mainskin::layout::kWidth;

constexpr int kClientW = 848, kClientH = 645;

class MainSkinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin_ = BuildMainSkin().release(); }
  static void TearDownTestSuite() {
    delete skin_;
    skin_ = nullptr;
  }
  static TSkinBuilder& Skin() { return *skin_; }

  template <class T>
  static const T& Control(const std::string& name) {
    for (const auto& c : skin_->Controls())
      if (c->IDName == name) return dynamic_cast<const T&>(*c);
    throw std::runtime_error("no description " + name);
  }

 private:
  static TSkinBuilder* skin_;
};

TSkinBuilder* MainSkinTest::skin_ = nullptr;

// The controller's frame transform of a picture rectangle to a window of
// W x H (quadrants from the corner points; point tests half-open).
TRect FrameTransform(const TqzSkinFormInfo& fi, const TRect& r, int W, int H) {
  const int dx = W - kWidth, dy = H - kHeight;
  const TRect tl{0, 0, fi.LeftTopPoint.X, fi.LeftTopPoint.Y};
  const TRect tr{fi.RightTopPoint.X, 0, kWidth, fi.RightTopPoint.Y};
  const TRect bl{0, fi.LeftBottomPoint.Y, fi.LeftBottomPoint.X, kHeight};
  const TRect br{fi.RightBottomPoint.X, fi.RightBottomPoint.Y, kWidth, kHeight};
  const TPoint a = r.TopLeft(), b = r.BottomRight();
  auto inside = [&](const TRect& q) { return q.Contains(a) && q.Contains({b.X - 1, b.Y - 1}); };
  if (inside(tl)) return r;
  if (inside(tr)) return OffsetRect(r, dx, 0);
  if (inside(bl)) return OffsetRect(r, 0, dy);
  if (inside(br)) return OffsetRect(r, dx, dy);
  if (tl.Contains(a) && br.Contains(b)) return {r.Left, r.Top, r.Right + dx, r.Bottom + dy};
  if (tl.Contains(a) && tr.Contains(b)) return {r.Left, r.Top, r.Right + dx, r.Bottom};
  if (bl.Contains(a) && br.Contains(b)) return {r.Left, r.Top + dy, r.Right + dx, r.Bottom + dy};
  if (tl.Contains(a) && bl.Contains(b)) return {r.Left, r.Top, r.Right, r.Bottom + dy};
  if (tr.Contains(a) && br.Contains(b)) return {r.Left + dx, r.Top, r.Right + dx, r.Bottom + dy};
  return r;
}

TEST_F(MainSkinTest, AreasLandWhereTheDemoWindowNeedsThem) {
  const TqzSkinFormInfo& fi = Skin().FormInfo();
  auto at = [&](const TRect& r) { return FrameTransform(fi, r, kClientW, kClientH); };
  using namespace mainskin::layout;
  // The first page keeps its width and grows down; the information panel
  // grows both ways; the toggle buttons and the menu bar stay put; the
  // information button follows the bottom edge under the panel.
  EXPECT_EQ(at(kPageArea), Rect(29, 172, 424, 598));
  EXPECT_EQ(at(kPageArea2), Rect(443, 68, 827, 608));
  EXPECT_EQ(at(kAddTabArea), kAddTabArea);
  EXPECT_EQ(at(kEditTabArea), kEditTabArea);
  EXPECT_EQ(at(kConvertTabArea), kConvertTabArea);
  EXPECT_EQ(at(kMenuBarArea), kMenuBarArea);
  EXPECT_EQ(at(kInfoButtonArea), Rect(439, 615, 831, 639));
  // Caption buttons follow the right edge, the caption stays at the left.
  EXPECT_EQ(at(kCloseButton), OffsetRect(kCloseButton, kClientW - kWidth, 0));
  EXPECT_EQ(at(kCaptionObject), kCaptionObject);

  const TRect placed[] = {at(kPageArea), at(kPageArea2), at(kAddTabArea), at(kEditTabArea),
                          at(kConvertTabArea), at(kMenuBarArea), at(kInfoButtonArea)};
  for (size_t i = 0; i < std::size(placed); ++i) {
    EXPECT_LE(placed[i].Right, kClientW);
    EXPECT_LE(placed[i].Bottom, kClientH);
    for (size_t j = i + 1; j < std::size(placed); ++j) {
      TRect overlap;
      EXPECT_FALSE(IntersectRect(overlap, placed[i], placed[j])) << i << " and " << j;
    }
  }
}

// Every pixel row of r has one colour (a piece stretched or tiled
// horizontally shows no seam) / every column has one colour.
bool RowsUniform(const TPixmap& p, const TRect& r) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left + 1; x < r.Right; ++x)
      if (p.At(x, y) != p.At(r.Left, y)) return false;
  return true;
}
bool ColumnsUniform(const TPixmap& p, const TRect& r) {
  for (int x = r.Left; x < r.Right; ++x)
    for (int y = r.Top + 1; y < r.Bottom; ++y)
      if (p.At(x, y) != p.At(x, r.Top)) return false;
  return true;
}

struct TPieces {
  TRect Top, Bottom, Left, Right, Client;
};

// The lattice pieces a nine-part composition stretches or tiles, in picture
// coordinates.
TPieces NinePieces(const TRect& s, TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& cl) {
  const TqzSkinGeometry g(s, TqzLatticeFields{lt, rt, lb, rb, cl});
  const TqzNewGeometry own = CalcNewGeometry(g, TqzResizeMode::NinePart, s.Width(), s.Height());
  TPieces k;
  for (const TqzLatticePiece& p : NinePartPieces(g, own, s.Width(), s.Height())) {
    switch (p.Part) {
      case TqzLatticePart::TopEdge: k.Top = p.Source; break;
      case TqzLatticePart::BottomEdge: k.Bottom = p.Source; break;
      case TqzLatticePart::LeftEdge: k.Left = p.Source; break;
      case TqzLatticePart::RightEdge: k.Right = p.Source; break;
      case TqzLatticePart::Client: k.Client = p.Source; break;
      default: break;
    }
  }
  return k;
}

// The horizontal pieces must not vary along X. The side pieces must not vary
// along Y either, unless they stretch exactly over the rows of the middle
// (then a vertical gradient maps onto itself and shows no seam).
// A tiled piece must repeat without a seam: its rows are periodic with a
// period that divides its width.
bool TilesSeamlessly(const TPixmap& p, const TRect& r) {
  for (int period = 1; period <= r.Width(); ++period) {
    if (r.Width() % period != 0) continue;
    bool ok = true;
    for (int y = r.Top; y < r.Bottom && ok; ++y)
      for (int x = r.Left + period; x < r.Right && ok; ++x) ok = p.At(x, y) == p.At(x - period, y);
    if (ok) return period < r.Width() || r.Width() == 1;
  }
  return false;
}

void ExpectSeamless(const TPixmap& p, const TPieces& k, bool sidesFollowMiddle,
                    const std::string& name, bool topTiled = false) {
  if (topTiled)
    EXPECT_TRUE(TilesSeamlessly(p, k.Top)) << name << " tiled top edge";
  else
    EXPECT_TRUE(RowsUniform(p, k.Top)) << name << " top edge";
  EXPECT_TRUE(RowsUniform(p, k.Bottom)) << name << " bottom edge";
  EXPECT_TRUE(RowsUniform(p, k.Client)) << name << " middle";
  if (sidesFollowMiddle) return;
  EXPECT_TRUE(ColumnsUniform(p, k.Left)) << name << " left edge";
  EXPECT_TRUE(ColumnsUniform(p, k.Right)) << name << " right edge";
}

bool SidesFollowMiddle(const TqzDataSkinCustomControl& d) {
  const TRect& c = d.ClientRect;
  return d.LeftStretch && d.RightStretch && d.LeftTopPoint.Y == c.Top &&
         d.RightTopPoint.Y == c.Top && d.LeftBottomPoint.Y == c.Bottom &&
         d.RightBottomPoint.Y == c.Bottom;
}

TEST_F(MainSkinTest, StretchedPiecesAreUniformAlongTheirStretch) {
  const TqzSkinFormInfo& fi = Skin().FormInfo();
  const TRect whole{0, 0, kWidth, kHeight};
  TPieces frame = NinePieces(whole, fi.LeftTopPoint, fi.RightTopPoint, fi.LeftBottomPoint,
                             fi.RightBottomPoint, fi.ClientRect);
  ExpectSeamless(Skin().Picture(), frame, false, "main picture");
  ExpectSeamless(Skin().Mask(), frame, false, "mask");

  int checked = 0;
  for (const auto& c : Skin().Controls()) {
    auto* d = dynamic_cast<const TqzDataSkinCustomControl*>(c.get());
    if (d == nullptr || d->PictureIndex < 0 || d->SkinRect.IsEmpty()) continue;
    const TPixmap& pic = Skin().Active(d->PictureIndex);
    const TqzSkinGeometry g = d->Geometry();
    const TRect& s = d->SkinRect;
    switch (CalcResizeMode(g)) {
      case TqzResizeMode::NinePart:
        ExpectSeamless(pic, NinePieces(s, d->LeftTopPoint, d->RightTopPoint, d->LeftBottomPoint,
                                       d->RightBottomPoint, d->ClientRect),
                       SidesFollowMiddle(*d), d->IDName, !d->TopStretch);
        ++checked;
        break;
      case TqzResizeMode::Horizontal:
        EXPECT_TRUE(RowsUniform(pic, Rect(s.Left + d->LeftTopPoint.X, s.Top,
                                          s.Left + d->RightTopPoint.X, s.Bottom)))
            << d->IDName;
        ++checked;
        break;
      case TqzResizeMode::Vertical:
        EXPECT_TRUE(ColumnsUniform(pic, Rect(s.Left, s.Top + d->LeftTopPoint.Y, s.Right,
                                             s.Top + d->LeftBottomPoint.Y)))
            << d->IDName;
        ++checked;
        break;
      default:
        break;
    }
  }
  EXPECT_GE(checked, 20);
}

TEST_F(MainSkinTest, FrameComposedAtTheDemoSizeKeepsItsFixedParts) {
  const TqzSkinFormInfo& fi = Skin().FormInfo();
  TBitmap source(kWidth, kHeight);
  source.Pixels() = Skin().Picture();
  const TqzSkinGeometry g(Rect(0, 0, kWidth, kHeight), fi);
  ASSERT_EQ(CalcResizeMode(g), TqzResizeMode::NinePart);
  TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, kClientW, kClientH);
  TBitmap out;
  CreateSkinImage(g, n, true, n.Width, n.Height, source, out);
  std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
  SavePng(out.Pixels(), std::string(QZ_TEST_OUTPUT_DIR) + "/mainskin_frame_848x645.png", false);
  ASSERT_EQ(out.Width(), kClientW);
  ASSERT_EQ(out.Height(), kClientH);
  const int dx = kClientW - kWidth, dy = kClientH - kHeight;
  const TPixmap& src = Skin().Picture();
  const TPixmap& dst = out.Pixels();
  auto same = [&](int x, int y, int ox, int oy) {
    return (src.At(x, y) | 0xFF000000) == (dst.At(x + ox, y + oy) | 0xFF000000);
  };
  // Corners copied 1:1 (caption, toggle buttons; caption buttons; footer).
  for (int y = 0; y < fi.LeftTopPoint.Y; y += 3)
    for (int x = 0; x < fi.LeftTopPoint.X; x += 3) ASSERT_TRUE(same(x, y, 0, 0)) << x << "," << y;
  for (int y = 0; y < fi.RightTopPoint.Y; y += 3)
    for (int x = fi.RightTopPoint.X; x < kWidth; x += 3) ASSERT_TRUE(same(x, y, dx, 0)) << x << "," << y;
  for (int y = fi.RightBottomPoint.Y; y < kHeight; y += 3)
    for (int x = fi.RightBottomPoint.X; x < kWidth; x += 3)
      ASSERT_TRUE(same(x, y, dx, dy)) << x << "," << y;
  for (int y = fi.LeftBottomPoint.Y; y < kHeight; y += 3)
    for (int x = 0; x < fi.LeftBottomPoint.X; x += 3) ASSERT_TRUE(same(x, y, 0, dy)) << x << "," << y;
}

TEST_F(MainSkinTest, RaisedCaptionOfAPressedToggleButtonMeetsNoIcon) {
  for (const char* name : {"addtab", "edittab", "converttab"}) {
    const auto& d = Control<TqzDataSkinButtonControl>(name);
    ASSERT_EQ(d.SkinRect.Width(), 131) << name;
    ASSERT_EQ(d.SkinRect.Height(), 110) << name;
    // The demo lifts the client rectangle's top by 20 while down; the
    // caption (one line, centred) then occupies these rows of the down look.
    TRect raised = d.ClientRect;
    raised.Top -= 20;
    ASSERT_GE(raised.Top, 0) << name;
    const int mid = (raised.Top + raised.Bottom) / 2, half = d.FontHeight / 2 + 2;
    TRect band = OffsetRect(Rect(8, mid - half, d.SkinRect.Width() - 8, mid + half),
                            d.DownSkinRect.Left, d.DownSkinRect.Top);
    EXPECT_TRUE(RowsUniform(Skin().Active(d.PictureIndex), band)) << name;
    // In the resting looks the caption band is free as well.
    const int restMid = (d.ClientRect.Top + d.ClientRect.Bottom) / 2;
    for (const TRect& look : {d.SkinRect, d.ActiveSkinRect}) {
      TRect rest = OffsetRect(Rect(8, restMid - half, d.SkinRect.Width() - 8, restMid + half),
                              look.Left, look.Top);
      EXPECT_TRUE(RowsUniform(Skin().Active(d.PictureIndex), rest)) << name;
    }
  }
}

TEST_F(MainSkinTest, CheckImagesCarryTheirTransparentColourAllRound) {
  const auto& d = Control<TqzDataSkinCheckRadioControl>("checkbox");
  const TPixmap& pic = Skin().Active(d.PictureIndex);
  for (const TRect* r : {&d.CheckImageRect, &d.UnCheckImageRect, &d.ActiveCheckImageRect,
                         &d.ActiveUnCheckImageRect, &d.UnEnabledCheckImageRect,
                         &d.UnEnabledUnCheckImageRect, &d.GrayedCheckImageRect,
                         &d.ActiveGrayedCheckImageRect}) {
    ASSERT_FALSE(r->IsEmpty());
    // The engine takes the bottom-left pixel as the transparent colour: it
    // is the group box's colour and so is the whole outer ring.
    const uint32_t key = pic.At(r->Left, r->Bottom - 1);
    EXPECT_EQ(key, mainskin::tone::kGroup);
    for (int x = r->Left; x < r->Right; ++x) {
      EXPECT_EQ(pic.At(x, r->Top), key);
      EXPECT_EQ(pic.At(x, r->Bottom - 1), key);
    }
    for (int y = r->Top; y < r->Bottom; ++y) {
      EXPECT_EQ(pic.At(r->Left, y), key);
      EXPECT_EQ(pic.At(r->Right - 1, y), key);
    }
  }
}

TEST_F(MainSkinTest, GlowPicturesFitTheirButtonsAndLeaveThemUncovered) {
  auto objectGlow = [&](const std::string& name) -> const TqzDataSkinObject& {
    for (const auto& o : Skin().Objects())
      if (o->IDName == name) return *o;
    throw std::runtime_error("no object " + name);
  };
  // Caption buttons: the glow window is the glow picture's size, placed at
  // the button less the offsets, and lies over the form.
  for (const char* name : {"closebutton", "minbutton", "traybutton"}) {
    const TqzDataSkinObject& o = objectGlow(name);
    const TPixmap& glow = Skin().Active(o.GlowLayerPictureIndex);
    const TPixmap& mask = Skin().Active(o.GlowLayerMaskPictureIndex);
    EXPECT_EQ(glow.Width(), o.SkinRect.Width() + 2 * o.GlowLayerOffsetX) << name;
    EXPECT_EQ(glow.Height(), o.SkinRect.Height() + 2 * o.GlowLayerOffsetY) << name;
    EXPECT_EQ(mask.Bounds(), glow.Bounds()) << name;
    // Fully transparent over the button's middle, visible around it.
    EXPECT_EQ(mask.At(glow.Width() / 2, glow.Height() / 2) & 0xFFFFFF, 0u) << name;
    EXPECT_GT(mask.At(o.GlowLayerOffsetX - 1, glow.Height() / 2) & 0xFF, 64u) << name;
  }
  // The toggle buttons have a fixed size, so their glow picture is used as
  // it is: the button plus the offsets on each side.
  const auto& tab = Control<TqzDataSkinButtonControl>("addtab");
  const TPixmap& glow = Skin().Active(tab.GlowLayerPictureIndex);
  EXPECT_EQ(glow.Width(),
            tab.SkinRect.Width() + tab.GlowLayerOffsetLeft + tab.GlowLayerOffsetRight);
  EXPECT_EQ(glow.Height(),
            tab.SkinRect.Height() + tab.GlowLayerOffsetTop + tab.GlowLayerOffsetBottom);
  EXPECT_EQ(Skin().Active(tab.GlowLayerMaskPictureIndex).At(glow.Width() / 2, glow.Height() / 2) &
                0xFFFFFF,
            0u);
}

TEST_F(MainSkinTest, WindowColourMatchesTheTextAreasOfEditsAndLists) {
  // The platform edit paints its text area in the skin's window colour;
  // the frame around it must show the same colour there.
  const uint32_t window = 0xFF000000 | uint32_t(ColorToRGB(Skin().Colors().cWindow));
  auto pixel = [&](int picture, int x, int y) {
    uint32_t v = Skin().Active(picture).At(x, y);
    return 0xFF000000 | ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);  // as 0xBBGGRR
  };
  for (const char* name : {"buttonedit", "edit"}) {
    const auto& e = Control<TqzDataSkinEditControl>(name);
    const TRect& c = e.ClientRect;
    EXPECT_EQ(pixel(e.PictureIndex, e.SkinRect.Left + c.Left + 2, e.SkinRect.Top + (c.Top + c.Bottom) / 2),
              window)
        << name;
  }
  const auto& list = Control<TqzDataSkinListBox>("listbox1");
  EXPECT_EQ(pixel(list.PictureIndex, list.SkinRect.Left + list.ClientRect.Left,
                  list.SkinRect.Top + list.ClientRect.Top),
            window);
  EXPECT_EQ(pixel(list.PictureIndex, list.ItemRect.Left + 1, list.ItemRect.Top + 1), window);
}

TEST_F(MainSkinTest, MenuMarksSitOnTheColourOfTheirItem) {
  for (const auto& o : Skin().Objects()) {
    auto* item = dynamic_cast<const TqzDataSkinMenuItem*>(o.get());
    if (item == nullptr) continue;
    const TPixmap& pic = Skin().Active(item->ActivePictureIndex);
    const TRect& n = item->SkinRect;
    const TRect& a = item->ActiveSkinRect;
    const uint32_t normal = pic.At(n.Left + n.Width() / 2, n.Top + n.Height() / 2);
    const uint32_t active = pic.At(a.Left + a.Width() / 2, a.Top + a.Height() / 2);
    for (const TRect* r : {&item->CheckImageRect, &item->RadioImageRect, &item->ArrowImageRect})
      EXPECT_EQ(pic.At(r->Left, r->Top), normal);
    for (const TRect* r :
         {&item->ActiveCheckImageRect, &item->ActiveRadioImageRect, &item->ActiveArrowImageRect})
      EXPECT_EQ(pic.At(r->Left, r->Top), active);
    return;
  }
  FAIL() << "no menu item description";
}

TEST_F(MainSkinTest, PopupAndHintWindowsShareAMaskOfTheirSize) {
  const auto& popup = Skin().PopupWindow();
  const auto& hint = Skin().HintWindow();
  ASSERT_TRUE(Skin().HasPopupWindow && Skin().HasHintWindow);
  const TPixmap& mask = Skin().Active(popup.MaskPictureIndex);
  EXPECT_EQ(Skin().Active(popup.WindowPictureIndex).Bounds(), mask.Bounds());
  EXPECT_EQ(Skin().Active(hint.WindowPictureIndex).Bounds(), mask.Bounds());
  EXPECT_EQ(hint.MaskPictureIndex, popup.MaskPictureIndex);
  // Rounded: the corner pixel is outside, the middle inside.
  EXPECT_EQ(mask.At(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(mask.At(mask.Width() / 2, mask.Height() / 2) & 0xFFFFFF, 0u);
}

TEST(MainSkinRectCheck, RejectsRectanglesOutsideTheirPictureOrCuttingIntoOthers) {
  TSkinBuilder skin("x.ini", 10, 10, 0);
  int pic = skin.AddActivePicture("a.bmp", 40, 20, 0);
  auto& a = skin.Control<TqzDataSkinButtonControl>("a");
  a.PictureIndex = pic;
  a.SkinRect = Rect(0, 0, 20, 20);
  auto& b = skin.Control<TqzDataSkinButtonControl>("b");
  b.PictureIndex = pic;
  b.SkinRect = Rect(0, 0, 20, 20);  // a shared rectangle is fine
  EXPECT_NO_THROW(CheckPictureRects(skin));

  b.ActiveSkinRect = Rect(10, 0, 30, 20);  // cuts into "a"
  EXPECT_THROW(CheckPictureRects(skin), std::runtime_error);

  b.ActiveSkinRect = Rect(20, 0, 41, 20);  // one column past the picture
  EXPECT_THROW(CheckPictureRects(skin), std::runtime_error);
  b.ActiveSkinRect = Rect(20, 0, 40, 20);
  EXPECT_NO_THROW(CheckPictureRects(skin));
}

}  // namespace
}  // namespace qz::skingen
