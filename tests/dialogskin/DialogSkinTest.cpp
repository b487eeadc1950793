// The dialog skin's pictures against the rules the engine composes them by:
// state looks of odd sizes compose without losing their outline, stretched
// edges have no seams, caption buttons blend into the caption, check images
// keep their transparent colour outside the glyph, and the layered shadow
// fits the window's shape.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "host/graphics/Bitmap.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/SkinGeometry.h"
#include "skin/draw/SkinLattice.h"
#include "skins/DialogSkinParts.h"
#include "skins/Skins.h"

namespace qz::skingen {
namespace {


TSkinBuilder& Skin() {
  static std::unique_ptr<TSkinBuilder> skin = BuildDialogSkin();
  return *skin;
}

template <class T>
const T& Control(const char* name) {
  for (const auto& c : Skin().Controls())
    if (c->IDName == name) return dynamic_cast<const T&>(*c);
  throw std::runtime_error(std::string("no control ") + name);
}

template <class T>
const T& Object(const char* name) {
  for (const auto& o : Skin().Objects())
    if (o->IDName == name) return dynamic_cast<const T&>(*o);
  throw std::runtime_error(std::string("no object ") + name);
}

void ToBitmap(const TPixmap& p, TBitmap& b) {
  b.SetSize(p.Width(), p.Height());
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) b.Pixels().At(x, y) = p.At(x, y);
}

TqzSkinGeometry Geometry(const TqzDataSkinCustomControl& d) { return d.Geometry(); }

// A nine-part state look composed at W x H the way a button does it: the
// New geometry comes from the normal look, the pixels from the state rect.
TPixmap ComposeState(const TqzDataSkinCustomControl& d, const TRect& state, int w, int h) {
  TqzSkinGeometry g = Geometry(d);
  const TqzNewGeometry n = CalcNewGeometry(g, CalcResizeMode(g), w, h);
  g.SkinRect = state;
  TBitmap source, dest;
  ToBitmap(Skin().Active(d.PictureIndex), source);
  CreateSkinImage(g, n, true, n.Width, n.Height, source, dest);
  return dest.Pixels();
}

// The arrows of scroll bars, combo boxes and menus point where they say:
// a chevron's mass lies away from its tip.
TEST(DialogSkinGlyphs, OpenArrowsPointTheirWay) {
  for (int dir = 0; dir < 4; ++dir) {
    TPixmap pic(21, 21, Hex(0x000000));
    TPainter p(pic);
    p.OpenArrow(10.5, 10.5, 12, dir, 1.5, Hex(0xFFFFFF));
    double sx = 0, sy = 0, sum = 0;
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 21; ++x) {
        const double v = pic.At(x, y) & 255;
        sx += v * (x + 0.5), sy += v * (y + 0.5), sum += v;
      }
    ASSERT_GT(sum, 0) << dir;
    const double mx = sx / sum - 10.5, my = sy / sum - 10.5;
    const double along[4] = {my, -mx, -my, mx};  // away from the tip is positive
    const double across[4] = {mx, my, mx, my};
    EXPECT_GT(along[dir], 0.1) << "dir " << dir;
    EXPECT_NEAR(across[dir], 0, 0.05) << "dir " << dir;
  }
}

// [button]'s hot, pressed and disabled looks are a pixel wider (and the
// disabled one a pixel lower) than the normal look; composed at the normal
// and at other sizes, each keeps its two outer columns and rows.
TEST(DialogSkin, ButtonStatesKeepTheirOutlineAtAnySize) {
  const auto& b = Control<TqzDataSkinButtonControl>("button");
  const TPixmap& src = Skin().Active(b.PictureIndex);
  for (const TRect& st : {b.SkinRect, b.ActiveSkinRect, b.DownSkinRect, b.DisabledSkinRect,
                          b.FocusedSkinRect}) {
    for (auto [w, h] : {std::pair{94, 27}, {70, 25}, {113, 40}}) {
      SCOPED_TRACE(testing::Message() << "state " << st.Left << "," << st.Top << " at " << w
                                      << "x" << h);
      const TPixmap img = ComposeState(b, st, w, h);
      ASSERT_EQ(img.Width(), w);
      ASSERT_EQ(img.Height(), h);
      // The side edges stretch a vertical gradient, so a composed row may
      // come from any row of the edge piece: compare with that column's
      // colours over the piece.
      auto inColumn = [&](uint32_t c, int x) {
        for (int y = st.Top + b.LeftTopPoint.Y; y < st.Top + b.LeftBottomPoint.Y; ++y)
          if (src.At(x, y) == c) return true;
        return false;
      };
      // The rounded corners come through whole (a look one row short of
      // the normal one gets one of its rows twice: the bottom two are kept).
      const int bottomRows = st.Height() == b.SkinRect.Height() ? 4 : 2;
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
          EXPECT_EQ(img.At(i, j), src.At(st.Left + i, st.Top + j));
          EXPECT_EQ(img.At(w - 1 - i, j), src.At(st.Right - 1 - i, st.Top + j));
          if (j >= bottomRows) continue;
          EXPECT_EQ(img.At(i, h - 1 - j), src.At(st.Left + i, st.Bottom - 1 - j));
          EXPECT_EQ(img.At(w - 1 - i, h - 1 - j), src.At(st.Right - 1 - i, st.Bottom - 1 - j));
        }
      for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(inColumn(img.At(i, h / 2), st.Left + i)) << "left column " << i;
        EXPECT_TRUE(inColumn(img.At(w - 1 - i, h / 2), st.Right - 1 - i)) << "right column " << i;
        EXPECT_EQ(img.At(w / 2, i), src.At(st.Left + st.Width() / 2, st.Top + i));
        EXPECT_EQ(img.At(w / 2, h - 1 - i), src.At(st.Left + st.Width() / 2, st.Bottom - 1 - i));
      }
    }
  }
}

// Every row of a horizontally stretched piece is one colour along the
// stretch, every column of a vertically stretched piece likewise.
void ExpectRowsUniform(const TPixmap& p, const TRect& piece, const std::string& what) {
  for (int y = piece.Top; y < piece.Bottom; ++y)
    for (int x = piece.Left + 1; x < piece.Right; ++x)
      ASSERT_EQ(p.At(x, y), p.At(piece.Left, y)) << what << " row " << y << " column " << x;
}

void ExpectColumnsUniform(const TPixmap& p, const TRect& piece, const std::string& what) {
  for (int x = piece.Left; x < piece.Right; ++x)
    for (int y = piece.Top + 1; y < piece.Bottom; ++y)
      ASSERT_EQ(p.At(x, y), p.At(x, piece.Top)) << what << " column " << x << " row " << y;
}

// The middle of a look that stretches horizontally: the columns between its
// fixed left and right parts.
void ExpectMiddleUniform(const TPixmap& p, const TRect& look, int left, int right,
                         const std::string& what) {
  ExpectRowsUniform(p, {look.Left + left, look.Top, look.Right - right, look.Bottom}, what);
}

TEST(DialogSkin, StretchedPiecesHaveNoSeams) {
  for (const auto& c : Skin().Controls()) {
    const auto* d = dynamic_cast<const TqzDataSkinCustomControl*>(c.get());
    if (!d || d->PictureIndex < 0) continue;
    const TPixmap& p = Skin().Active(d->PictureIndex);
    const TqzSkinGeometry g = Geometry(*d);
    const TqzResizeMode mode = CalcResizeMode(g);
    const TRect& r = d->SkinRect;
    if (mode == TqzResizeMode::NinePart) {
      ExpectRowsUniform(p, {r.Left + d->LeftTopPoint.X, r.Top, r.Left + d->RightTopPoint.X,
                            r.Top + d->ClientRect.Top}, c->IDName + " top edge");
      ExpectRowsUniform(p, {r.Left + d->LeftBottomPoint.X, r.Top + d->ClientRect.Bottom,
                            r.Left + d->RightBottomPoint.X, r.Bottom}, c->IDName + " bottom edge");
    } else if (mode == TqzResizeMode::Horizontal) {
      ExpectMiddleUniform(p, r, d->LeftTopPoint.X, r.Width() - d->RightTopPoint.X, c->IDName);
    } else if (mode == TqzResizeMode::Vertical) {
      ExpectColumnsUniform(p, {r.Left, r.Top + d->LeftTopPoint.Y, r.Right,
                               r.Top + d->LeftBottomPoint.Y}, c->IDName);
    }
  }
  // List items and the combo box's focused item stretch between their offsets.
  const auto& list = Control<TqzDataSkinListBox>("listbox");
  const TPixmap& controls = Skin().Active(list.PictureIndex);
  for (const TRect& item : {list.ItemRect, list.ActiveItemRect, list.FocusItemRect})
    ExpectMiddleUniform(controls, item, list.ItemLeftOffset, list.ItemRightOffset, "list item");
  const auto& combo = Control<TqzDataSkinComboBox>("combobox");
  ExpectMiddleUniform(controls, combo.FocusItemRect, combo.ItemLeftOffset, combo.ItemRightOffset,
                      "combo item");
  const auto& item = Object<TqzDataSkinMenuItem>("menuitem");
  const TPixmap& menus = Skin().Active(item.ActivePictureIndex);
  for (const TRect& look : {item.SkinRect, item.ActiveSkinRect})
    ExpectMiddleUniform(menus, look, item.ItemLeftOffset, item.ItemRightOffset, "menu item");
  ExpectMiddleUniform(menus, item.DividerRect, item.DividerLeftOffset, item.DividerRightOffset,
                      "divider");
}

// The frame, its mask, and the popup, hint and layered border pictures
// stretch their four edges: rows of the top and bottom edges, columns of the
// left and right edges are uniform.
void ExpectFrameEdgesUniform(const TPixmap& p, TPoint lt, TPoint rt, TPoint lb, TPoint rb,
                             const TRect& client, const std::string& what) {
  const int w = p.Width(), h = p.Height();
  const TqzSkinGeometry g({0, 0, w, h}, TqzLatticeFields{lt, rt, lb, rb, client});
  for (const TqzLatticePiece& piece : NinePartPieces(g, CalcNewGeometry(g, TqzResizeMode::NinePart, w, h), w, h)) {
    const std::string where = what + " " + LatticePartName(piece.Part);
    if (piece.Part == TqzLatticePart::TopEdge || piece.Part == TqzLatticePart::BottomEdge)
      ExpectRowsUniform(p, piece.Source, where);
    if (piece.Part == TqzLatticePart::LeftEdge || piece.Part == TqzLatticePart::RightEdge)
      ExpectColumnsUniform(p, piece.Source, where);
  }
}

TEST(DialogSkin, WindowPicturesStretchWithoutSeams) {
  TSkinBuilder& s = Skin();
  const TqzSkinFormInfo& f = s.FormInfo();
  for (const TPixmap* p : {&s.Picture(), &s.Mask()})
    ExpectFrameEdgesUniform(*p, f.LeftTopPoint, f.RightTopPoint, f.LeftBottomPoint,
                            f.RightBottomPoint, f.ClientRect, "frame");
  const auto& pw = s.PopupWindow();
  ExpectFrameEdgesUniform(s.Active(pw.WindowPictureIndex), pw.LeftTopPoint, pw.RightTopPoint,
                          pw.LeftBottomPoint, pw.RightBottomPoint, pw.ItemsRect, "popup");
  ExpectFrameEdgesUniform(s.Active(pw.MaskPictureIndex), pw.LeftTopPoint, pw.RightTopPoint,
                          pw.LeftBottomPoint, pw.RightBottomPoint, pw.ItemsRect, "popup mask");
  const auto& hw = s.HintWindow();
  ExpectFrameEdgesUniform(s.Active(hw.WindowPictureIndex), hw.LeftTopPoint, hw.RightTopPoint,
                          hw.LeftBottomPoint, hw.RightBottomPoint, hw.ClientRect, "hint");
  const auto& lf = s.LayerFrame();
  for (int pic : {lf.PictureIndex, lf.MaskPictureIndex})
    ExpectFrameEdgesUniform(s.Active(pic), lf.LeftTopPoint, lf.RightTopPoint, lf.LeftBottomPoint,
                            lf.RightBottomPoint, lf.ClientRect, "layer frame");
}

// The caption buttons are cut from their own picture and drawn over the
// caption: wherever a look has no plate, its pixels are the caption's.
TEST(DialogSkin, CaptionButtonsBlendIntoTheCaption) {
  TSkinBuilder& s = Skin();
  const int frameX = s.FormInfo().ButtonsRect.Left;
  for (const char* name :
       {"closebutton", "maxbutton", "minbutton", "rollupbutton", "dialogclosebutton"}) {
    const auto& b = Object<TqzDataSkinStdButton>(name);
    const TPixmap& p = s.Active(b.ActivePictureIndex);
    for (const TRect& look :
         {b.SkinRect, b.InActiveSkinRect, b.RestoreRect, b.RestoreInActiveRect}) {
      if (look.IsEmpty()) continue;
      const int rowInCaption = s.FormInfo().ButtonsRect.Top;
      for (int y = 0; y < look.Height(); ++y)
        for (int x : {look.Left, look.Right - 1})
          EXPECT_EQ(p.At(x, look.Top + y), s.Picture().At(frameX, rowInCaption + y))
              << name << " look at " << look.Left << "," << look.Top << " row " << y;
    }
  }
}

// The rolled-up window is the frame without its client part: the caption
// rows and the bottom edge of the main picture and of its mask, so that
// the roll-up caption cuts the same pixels as the window's caption.
TEST(DialogSkin, RollUpPictureIsTheFrameWithoutItsClientPart) {
  TSkinBuilder& s = Skin();
  const TRect& client = s.FormInfo().ClientRect;
  for (auto [rolled, whole] : {std::pair{&s.RollUpPicture(), &s.Picture()},
                               std::pair{&s.RollUpMask(), &s.Mask()}}) {
    ASSERT_EQ(rolled->Width(), whole->Width());
    ASSERT_EQ(rolled->Height(), client.Top + whole->Height() - client.Bottom);
    for (int y = 0; y < rolled->Height(); ++y) {
      const int from = y < client.Top ? y : client.Bottom + y - client.Top;
      for (int x = 0; x < rolled->Width(); ++x)
        ASSERT_EQ(rolled->At(x, y), whole->At(x, from)) << x << "," << y;
    }
  }
  EXPECT_LT(s.FormInfo().RollUpLeftPoint.X, s.FormInfo().RollUpRightPoint.X);
}

// The objects shown while rolled up are twins of the window's own: same
// looks and commands, only marked for the roll-up.
TEST(DialogSkin, RolledUpObjectsTwinTheWindowsOwn) {
  for (const char* name : {"closebutton", "rollupbutton", "sysmenubutton"}) {
    const auto& own = Object<TqzDataSkinStdButton>(name);
    const auto& twin = Object<TqzDataSkinStdButton>((std::string("rollup") + name).c_str());
    EXPECT_FALSE(own.RollUp) << name;
    EXPECT_TRUE(twin.RollUp) << name;
    EXPECT_EQ(twin.Command, own.Command) << name;
    EXPECT_EQ(twin.ActivePictureIndex, own.ActivePictureIndex) << name;
    for (auto [a, b] : {std::pair{twin.SkinRect, own.SkinRect}, {twin.ActiveSkinRect, own.ActiveSkinRect},
                        {twin.DownRect, own.DownRect}, {twin.RestoreRect, own.RestoreRect},
                        {twin.RestoreActiveRect, own.RestoreActiveRect}})
      EXPECT_EQ(a, b) << name;
  }
  const auto& caption = Object<TqzDataSkinCaption>("caption");
  const auto& rolled = Object<TqzDataSkinCaption>("rollupcaption");
  EXPECT_TRUE(rolled.RollUp);
  EXPECT_EQ(rolled.SkinRect, caption.SkinRect);
  EXPECT_EQ(rolled.TextRect, caption.TextRect);
  EXPECT_LE(rolled.SkinRect.Bottom, Skin().RollUpPicture().Height());
}

TSize SizeOf(const TRect& r) { return {r.Width(), r.Height()}; }

// Looks that are copied 1:1 over a place of the control have that place's
// size; state looks that replace each other have one size.
TEST(DialogSkin, LooksMatchThePlacesTheyAreCopiedTo) {
  const auto& combo = Control<TqzDataSkinComboBox>("combobox");
  for (const TRect& r : {combo.ActiveButtonRect, combo.DownButtonRect, combo.UnEnabledButtonRect})
    EXPECT_EQ(SizeOf(r), SizeOf(combo.ButtonRect));
  EXPECT_EQ(SizeOf(combo.ActiveSkinRect), SizeOf(combo.SkinRect));
  const TRect field{0, 0, combo.SkinRect.Width(), combo.SkinRect.Height()};
  TRect inside;
  EXPECT_TRUE(IntersectRect(inside, combo.ButtonRect, field) && inside == combo.ButtonRect);

  for (const char* name : {"vscrollbar", "hscrollbar", "bothhscrollbar"}) {
    const auto& bar = Control<TqzDataSkinScrollBarControl>(name);
    for (const TRect& r : {bar.ActiveUpButtonRect, bar.DownUpButtonRect})
      EXPECT_EQ(SizeOf(r), SizeOf(bar.UpButtonRect)) << name;
    for (const TRect& r : {bar.ActiveDownButtonRect, bar.DownDownButtonRect})
      EXPECT_EQ(SizeOf(r), SizeOf(bar.DownButtonRect)) << name;
    for (const TRect& r : {bar.ActiveThumbRect, bar.DownThumbRect})
      EXPECT_EQ(SizeOf(r), SizeOf(bar.ThumbRect)) << name;
    // The thumb spans the bar's thickness.
    const bool vertical = CalcResizeMode(Geometry(bar)) == TqzResizeMode::Vertical;
    EXPECT_EQ(vertical ? bar.ThumbRect.Width() : bar.ThumbRect.Height(),
              vertical ? bar.SkinRect.Width() : bar.SkinRect.Height())
        << name;
  }
  for (const char* name : {"trackbar", "htrackbar"}) {
    const auto& t = Control<TqzDataSkinTrackBarControl>(name);
    EXPECT_EQ(SizeOf(t.ActiveSkinRect), SizeOf(t.SkinRect)) << name;
    EXPECT_EQ(SizeOf(t.ActiveButtonRect), SizeOf(t.ButtonRect)) << name;
  }
  const auto& edit = Control<TqzDataSkinEditControl>("edit");
  EXPECT_EQ(SizeOf(edit.ActiveSkinRect), SizeOf(edit.SkinRect));
  for (const char* name : {"resizebutton", "toolbutton", "toolmenubutton", "menuitembutton"}) {
    const auto& b = Control<TqzDataSkinButtonControl>(name);
    for (const TRect& r : {b.ActiveSkinRect, b.DownSkinRect, b.DisabledSkinRect})
      if (!r.IsEmpty()) {
        EXPECT_EQ(SizeOf(r), SizeOf(b.SkinRect)) << name;
      }
  }
  const auto& item = Object<TqzDataSkinMenuItem>("menuitem");
  EXPECT_EQ(SizeOf(item.ActiveSkinRect), SizeOf(item.SkinRect));
  for (const TRect& r : {item.ActiveCheckImageRect, item.RadioImageRect, item.ActiveRadioImageRect,
                         item.ArrowImageRect, item.ActiveArrowImageRect})
    EXPECT_EQ(SizeOf(r), SizeOf(item.CheckImageRect));
  // Caption buttons: every look of a button has its size.
  for (const auto& o : Skin().Objects()) {
    const auto* b = dynamic_cast<const TqzDataSkinStdButton*>(o.get());
    if (!b) continue;
    for (const TRect& r : {b->ActiveSkinRect, b->DownRect, b->InActiveSkinRect, b->RestoreRect,
                           b->RestoreActiveRect, b->RestoreDownRect, b->RestoreInActiveRect})
      if (!r.IsEmpty()) {
        EXPECT_EQ(SizeOf(r), SizeOf(b->SkinRect)) << o->IDName;
      }
  }
}

// Check images are drawn with their bottom-left pixel as the transparent
// colour: that colour is the dialog background, lies all around the glyph
// and never inside it.
TEST(DialogSkin, CheckImagesKeepTheirTransparentColourOutside) {
  for (const char* name : {"checkbox", "radiobox"}) {
    const auto& d = Control<TqzDataSkinCheckRadioControl>(name);
    const TPixmap& p = Skin().Active(d.PictureIndex);
    for (const TRect& r : {d.CheckImageRect, d.UnCheckImageRect, d.ActiveCheckImageRect,
                           d.ActiveUnCheckImageRect, d.UnEnabledCheckImageRect,
                           d.UnEnabledUnCheckImageRect, d.GrayedCheckImageRect,
                           d.ActiveGrayedCheckImageRect}) {
      if (r.IsEmpty()) continue;
      const uint32_t key = p.At(r.Left, r.Bottom - 1);
      EXPECT_EQ(key, dialogskin::tone::kBody) << name;
      for (TPoint corner : {TPoint{r.Left, r.Top}, TPoint{r.Right - 1, r.Top},
                            TPoint{r.Right - 1, r.Bottom - 1}})
        EXPECT_EQ(p.At(corner.X, corner.Y), key) << name;
      for (int y = r.Top + 3; y < r.Bottom - 3; ++y)
        for (int x = r.Left + 3; x < r.Right - 3; ++x)
          ASSERT_NE(p.At(x, y), key) << name << " pixel " << x << "," << y;
    }
  }
}

// The layered border's opacity is 0 where the window covers it and rises
// right outside the window's shape, including the corners its mask cuts off.
TEST(DialogSkin, LayerFrameShadowsExactlyOutsideTheWindowShape) {
  TSkinBuilder& s = Skin();
  const auto& lf = s.LayerFrame();
  const TPixmap& alpha = s.Active(lf.MaskPictureIndex);
  const TPixmap& mask = s.Mask();
  const TRect& c = lf.ClientRect;
  auto opacity = [&](int x, int y) { return int(alpha.At(x, y) & 255); };
  // The window's top-left and bottom-right corners against the frame mask.
  for (int j = 0; j < 12; ++j)
    for (int i = 0; i < 12; ++i) {
      const bool inside = (mask.At(i, j) & 0xFFFFFF) == 0;
      EXPECT_EQ(opacity(c.Left + i, c.Top + j) == 0, inside) << "top-left " << i << "," << j;
      const bool insideBR = (mask.At(mask.Width() - 1 - i, mask.Height() - 1 - j) & 0xFFFFFF) == 0;
      EXPECT_EQ(opacity(c.Right - 1 - i, c.Bottom - 1 - j) == 0, insideBR)
          << "bottom-right " << i << "," << j;
    }
  // Falling off away from the window, darker below it than above.
  const int midY = (c.Top + c.Bottom) / 2, midX = (c.Left + c.Right) / 2;
  for (int x = c.Left - 1; x > 0; --x) EXPECT_GE(opacity(x, midY), opacity(x - 1, midY));
  EXPECT_GT(opacity(c.Left - 1, midY), 40);
  EXPECT_LT(opacity(0, midY), 12);
  EXPECT_GT(opacity(midX, c.Bottom + 2), opacity(midX, c.Top - 3));
  EXPECT_EQ(opacity(midX, midY), 0);
}

}  // namespace
}  // namespace qz::skingen
