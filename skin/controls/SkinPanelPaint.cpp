// TqzSkinPanel painting: the border strips alone for large nine-part panels,
// otherwise one composed image; background pictures, the transparent group
// frame, the caption line and the plain look.
#include <algorithm>

#include "skin/controls/SkinPanel.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzTextEffects.h"

namespace qz {

namespace {

// A marker without a picture of its own: a cell for the default arrow.
constexpr TSize kDefaultMarkerSize{12, 12};
// The check box of the plain-look caption.
constexpr TSize kPlainCheckSize{13, 13};

TSize SizeOf(const TRect& r) { return IsNullRect(r) ? TSize{} : TSize{r.Width(), r.Height()}; }

// Copies a piece of a skin picture 1:1 to `where` (its top-left).
void DrawPiece(TCanvas& canvas, const TRect& where, TBitmap& picture, const TRect& piece) {
  if (IsNullRect(piece) || where.IsEmpty()) return;
  canvas.CopyRect(Bounds(where.Left, where.Top, piece.Width(), piece.Height()), picture.Canvas(), piece);
}

// Draws `tile` repeatedly from (0, 0) over width x height.
void TileFromOrigin(TCanvas& canvas, const TBitmap& tile, int width, int height) {
  if (tile.Empty()) return;
  for (int y = 0; y < height; y += tile.Height())
    for (int x = 0; x < width; x += tile.Width()) canvas.Draw(x, y, tile);
}

void DrawBorder(TCanvas& canvas, TqzSkinBorderStyle style, int width, int height) {
  TRect frame{0, 0, width, height};
  switch (style) {
    case TqzSkinBorderStyle::bvFrame: Frame3D(canvas, frame, clBtnShadow, clBtnShadow, 1); break;
    case TqzSkinBorderStyle::bvRaised: Frame3D(canvas, frame, clBtnHighlight, clBtnShadow, 1); break;
    case TqzSkinBorderStyle::bvLowered: Frame3D(canvas, frame, clBtnShadow, clBtnHighlight, 1); break;
    case TqzSkinBorderStyle::bvNone: break;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// What to paint

TBitmap* TqzSkinPanel::BackgroundPicture() const {
  const TqzDataSkinPanelControl* d = PanelDescription();
  if (d == nullptr || SkinData() == nullptr) return nullptr;
  return SkinData()->ActivePicture(d->BGPictureIndex);
}

bool TqzSkinPanel::TilesClientPieceOnly() const {
  return PanelDescription() != nullptr && borderStyle_ == TqzSkinBorderStyle::bvNone &&
         ResizeMode == 1 && !captionMode_ && !Geom.StretchEffect;
}

bool TqzSkinPanel::UsesFrameOnlyPath() const {
  return PanelDescription() != nullptr && FrameOnlyPaint && ResizeMode == 1 && !AlphaBlend() &&
         Picture != nullptr && !transparentMode_ && BackgroundPicture() == nullptr &&
         !TilesClientPieceOnly();
}

void TqzSkinPanel::Paint() {
  if (emptyDrawing_ && !InState(csDesigning)) return;
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  int w = Width(), h = Height();
  CalcSize(w, h);
  if (!UsesFrameOnlyPath()) {
    PaintThroughBitmap();
    return;
  }
  // Large panels: the strips and the client piece straight onto the
  // canvas; the caption lives in the top strip and is cut off with it.
  TCanvas& canvas = Canvas();
  PaintFrameOnly(canvas, Width(), Height());
  const int saved = canvas.SaveDC();
  canvas.IntersectClipRect({0, 0, Width(), NewGeom.NewClRect.Top});
  DrawSkinCaption(canvas);
  canvas.RestoreDC(saved);
}

// ---------------------------------------------------------------------------
// The composed image

void TqzSkinPanel::PaintBackgroundPicture(TCanvas& canvas, const TBitmap& picture) const {
  const int W = Width(), H = Height();
  if (!Geom.StretchEffect) {
    TileFromOrigin(canvas, picture, W, H);
    return;
  }
  switch (Geom.StretchType) {
    case TqzStretchType::Full:
      if (!NewGeom.NewClRect.IsEmpty()) canvas.StretchDraw(NewGeom.NewClRect, picture);
      break;
    case TqzStretchType::Horz: {
      TBitmap column(picture.Width(), H);
      column.Canvas().StretchDraw({0, 0, picture.Width(), H}, picture);
      TileFromOrigin(canvas, column, W, H);
      break;
    }
    case TqzStretchType::Vert: {
      TBitmap row(W, picture.Height());
      row.Canvas().StretchDraw({0, 0, W, picture.Height()}, picture);
      TileFromOrigin(canvas, row, W, H);
      break;
    }
  }
}

void TqzSkinPanel::TileClientPiece(TCanvas& canvas) const {
  if (Picture == nullptr || IsNullRect(Geom.ClientRect)) return;
  const TRect piece = OffsetRect(Geom.ClientRect, Geom.SkinRect.Left, Geom.SkinRect.Top);
  TBitmap tile(piece.Width(), piece.Height());
  tile.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, Picture->Canvas(), piece);
  TileFromOrigin(canvas, tile, Width(), Height());
}

void TqzSkinPanel::CreateControlSkinImage(TBitmap& B) {
  const int W = Width(), H = Height();
  if (transparentMode_) {
    GetParentImage(this, B.Canvas());
    if (captionMode_) DrawTransparentCaption(B.Canvas());
    return;
  }
  if (const TBitmap* background = BackgroundPicture()) {
    PaintBackgroundPicture(B.Canvas(), *background);
    return;
  }
  if (TilesClientPieceOnly()) {
    TileClientPiece(B.Canvas());
    return;
  }
  if (ResizeMode == 1) {
    // Composed here: the base leaves a frame-only control's full image out.
    if (Picture != nullptr) CreateSkinImage(Geometry(), NewGeometry(W, H), true, W, H, *Picture, B);
  } else {
    TqzSkinCustomControl::CreateControlSkinImage(B);
  }
  DrawSkinCaption(B.Canvas());
}

void TqzSkinPanel::CreateControlDefaultImage(TBitmap& B) {
  TqzSkinCustomControl::CreateControlDefaultImage(B);
  DrawBorder(B.Canvas(), borderStyle_, Width(), Height());
  if (captionMode_) DrawPlainCaption(B.Canvas());
}

// ---------------------------------------------------------------------------
// Caption

TRect TqzSkinPanel::MappedCaptionRect() const {
  const TqzDataSkinPanelControl* d = PanelDescription();
  if (d == nullptr) return {};
  return useSkinSize_ ? CalcNewRect(d->CaptionRect) : d->CaptionRect;
}

void TqzSkinPanel::SelectCaptionFont(TFont& font) const {
  font.Assign(DefaultFont());
  const TqzDataSkinPanelControl* d = PanelDescription();
  if (d == nullptr) return;
  if (UseSkinFont()) {
    font.SetName(d->FontName);
    font.SetHeight(d->FontHeight);
    font.SetStyle(d->FontStyle);
  }
  font.SetColor(d->FontColor);
}

TSize TqzSkinPanel::CaptionImageSize() const {
  if (captionImageList_ != nullptr && captionImageIndex_ >= 0 &&
      captionImageIndex_ < captionImageList_->Count())
    return {captionImageList_->Width(), captionImageList_->Height()};
  if (glyph_->Empty()) return {};
  return {glyph_->Width() / numGlyphs_, glyph_->Height()};
}

void TqzSkinPanel::DrawCaptionImage(TCanvas& canvas, const TRect& where) const {
  if (where.IsEmpty()) return;
  if (captionImageList_ != nullptr && captionImageIndex_ >= 0 &&
      captionImageIndex_ < captionImageList_->Count()) {
    captionImageList_->Draw(canvas, where.Left, where.Top, captionImageIndex_, Enabled());
    return;
  }
  const int frame = numGlyphs_ >= 2 && !Enabled() ? 2 : 1;
  DrawGlyph(canvas, where.Left, where.Top, frame, numGlyphs_, *glyph_);
}

TqzCaptionParts TqzSkinPanel::CaptionParts(TCanvas& canvas, const TqzDataSkinPanelControl* d) const {
  TqzCaptionParts parts;
  if (d != nullptr) {
    if (checkedMode_) parts.Check = SizeOf(checked_ ? d->CheckImageRect : d->UnCheckImageRect);
    if (rollUpMode_) parts.Marker = IsNullRect(d->MarkFrameRect) ? kDefaultMarkerSize : SizeOf(d->MarkFrameRect);
    parts.FrameRect = d->FrameRect;
    parts.FrameTextRect = d->FrameTextRect;
    parts.Alignment = d->Alignment;
  } else {
    if (checkedMode_) parts.Check = kPlainCheckSize;
    if (rollUpMode_) parts.Marker = kDefaultMarkerSize;
    parts.Alignment = static_cast<int>(defaultAlignment_);
  }
  parts.Image = CaptionImageSize();
  parts.Text = canvas.TextExtent(Caption());
  parts.ImageFarLeft = imagePosition_ == TqzImagePosition::qzipLeft;
  parts.Spacing = spacing_;
  parts.OddFontHeight = canvas.Font().Height() % 2 != 0;
  return parts;
}

void TqzSkinPanel::DrawSkinCaption(TCanvas& canvas) {
  captionRect_ = {};
  const TqzDataSkinPanelControl* d = PanelDescription();
  if (d == nullptr || Caption().empty() || IsNullRect(d->CaptionRect)) return;
  captionRect_ = MappedCaptionRect();
  SelectCaptionFont(canvas.Font());
  const TqzCaptionParts parts = CaptionParts(canvas, d);
  const TqzCaptionLayout layout = LayoutCaption(captionRect_, parts);
  const int saved = canvas.SaveDC();
  canvas.IntersectClipRect(captionRect_);
  if (Picture != nullptr) {
    DrawPiece(canvas, layout.Check, *Picture, checked_ ? d->CheckImageRect : d->UnCheckImageRect);
    DrawPiece(canvas, layout.Marker, *Picture, d->MarkFrameRect);
    if (!layout.Frame.IsEmpty()) {
      TBitmap frame;
      CreateHSkinImage(d->FrameLeftOffset, d->FrameRightOffset, frame, false, layout.Frame.Width(),
                       d->FrameRect, *Picture);
      canvas.Draw(layout.Frame.Left, layout.Frame.Top, frame);
    }
  }
  if (rollUpMode_) DrawArrowImage(canvas, layout.Marker, d->FontColor, rollUpState_ ? 4 : 3);
  DrawCaptionImage(canvas, layout.Image);
  DrawPlainText(canvas, layout.Text.X, layout.Text.Y, Caption());
  canvas.RestoreDC(saved);
}

int TqzSkinPanel::TransparentCaptionHeight() {
  TCanvas measure;
  SelectCaptionFont(measure.Font());
  return measure.TextHeight(Caption().empty() ? std::string("Wg") : Caption()) + 5;
}

void TqzSkinPanel::DrawTransparentCaption(TCanvas& canvas) {
  const TqzDataSkinPanelControl* d = PanelDescription();
  const int W = Width(), H = Height();
  const int lineHeight = TransparentCaptionHeight();
  captionRect_ = {0, 0, W, lineHeight};
  SelectCaptionFont(canvas.Font());
  TqzCaptionParts parts = CaptionParts(canvas, d);
  parts.FrameRect = parts.FrameTextRect = {};
  parts.Alignment = 0;
  const TqzCaptionLayout layout = LayoutCaption({5, 0, W - 5, lineHeight}, parts);
  // The group frame, its top line broken where the caption stands.
  const int top = lineHeight / 2;
  const int gapRight = Caption().empty() ? 3 : layout.Text.X + parts.Text.cx + 2;
  canvas.Pen().SetColor(SkinData()->SkinColors().cBtnShadow);
  canvas.MoveTo(2, top);
  canvas.LineTo(0, top);
  canvas.LineTo(0, H - 1);
  canvas.LineTo(W - 1, H - 1);
  canvas.LineTo(W - 1, top);
  canvas.LineTo(std::min(gapRight, W - 1), top);
  if (Picture != nullptr)
    DrawPiece(canvas, layout.Check, *Picture, checked_ ? d->CheckImageRect : d->UnCheckImageRect);
  if (rollUpMode_) DrawArrowImage(canvas, layout.Marker, d->FontColor, rollUpState_ ? 4 : 3);
  DrawCaptionImage(canvas, layout.Image);
  DrawPlainText(canvas, layout.Text.X, layout.Text.Y, Caption());
}

void TqzSkinPanel::DrawPlainCaption(TCanvas& canvas) {
  const TRect band = PlainCaptionBand();
  captionRect_ = band;
  if (band.IsEmpty()) return;
  // A rule between the caption band and the client area.
  canvas.Pen().SetColor(clBtnShadow);
  const int ruleY = ribbonStyle_ ? band.Top - 1 : band.Bottom;
  canvas.MoveTo(band.Left, ruleY);
  canvas.LineTo(band.Right, ruleY);
  canvas.Font().Assign(DefaultFont());
  if (!Enabled()) canvas.Font().SetColor(clGrayText);
  const TqzCaptionParts parts = CaptionParts(canvas, nullptr);
  const TqzCaptionLayout layout = LayoutCaption(InflateRect(band, -3, 0), parts);
  if (!layout.Check.IsEmpty()) {
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clWindow);
    canvas.Pen().SetColor(clBtnShadow);
    canvas.Rectangle(layout.Check);
    if (checked_) DrawCheckImage(canvas, layout.Check.Left + 3, layout.Check.Top + 2, clWindowText);
  }
  if (rollUpMode_) DrawArrowImage(canvas, layout.Marker, canvas.Font().Color(), rollUpState_ ? 4 : 3);
  DrawCaptionImage(canvas, layout.Image);
  const int saved = canvas.SaveDC();
  canvas.IntersectClipRect(band);
  DrawPlainText(canvas, layout.Text.X, layout.Text.Y, Caption());
  canvas.RestoreDC(saved);
}

}  // namespace qz
