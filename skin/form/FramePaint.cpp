// Painting of a skinned window: the frame from four border strips, the
// frame drawn without a skin, the client background, the whole skin in the
// client area and the window region cut from the skin's mask.
#include "skin/form/FramePaint.h"

#include <algorithm>
#include <utility>

#include "host/graphics/Bitmap.h"
#include "host/graphics/Canvas.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/PixelCopy.h"
#include "skin/draw/QzComposition.h"
#include "skin/draw/QzRegions.h"
#include "skin/draw/SkinImage.h"
#include "skin/draw/QzText.h"

namespace qz {

// ---- Shared helpers ----

namespace {

// Draws `bitmap` at (x, y) as canvas.Draw does; an opaque bitmap goes
// through the 1:1 row copy instead of the general stretching transfer,
// which costs a map lookup per pixel. Frame strips and client images are
// window-sized, so this is most of a repaint.
void DrawBitmap(TCanvas& canvas, int x, int y, const TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  if (bitmap.Transparent()) {
    canvas.Draw(x, y, bitmap);
    return;
  }
  // The source context only reads the pixels.
  TCanvas source(const_cast<TPixmap*>(&bitmap.Pixels()));
  BitBlt(canvas.Handle(), x, y, bitmap.Width(), bitmap.Height(), source.Handle(), 0, 0, SRCCOPY);
}

}  // namespace

TqzSkinGeometry FormSkinGeometry(const TqzSkinData& skin) {
  const TqzLatticeFields& fields = skin;
  return TqzSkinGeometry({0, 0, skin.Picture().Width(), skin.Picture().Height()}, fields);
}

TqzNewGeometry FormNewGeometry(const TqzFrameRects& rects, TSize window) {
  TqzNewGeometry n;
  n.Width = window.cx;
  n.Height = window.cy;
  n.NewLTPoint = rects.NewLTPoint;
  n.NewRTPoint = rects.NewRTPoint;
  n.NewLBPoint = rects.NewLBPoint;
  n.NewRBPoint = rects.NewRBPoint;
  n.NewClRect = rects.NewClRect;
  return n;
}

void CopyPiece(const TPixmap& source, const TRect& r, TBitmap& dest) {
  const TRect piece = Intersection(r, source.Bounds());
  if (piece.IsEmpty()) {
    dest.SetSize(piece.Width(), piece.Height());
  } else {
    // The piece covers the new pixels whole: they are not filled first.
    TPixmap pixels;
    pixels.ResizeUninitialized(piece.Width(), piece.Height());
    CopyPixels(source, piece, pixels, {0, 0, piece.Width(), piece.Height()});
    dest.Pixels() = std::move(pixels);
  }
  dest.Modified();
}

void ApplyInactiveEffect(TBitmap& bitmap, int effect) {
  if (bitmap.Empty()) return;
  TqzEffectBmp pixels(bitmap.Pixels());
  pixels.ApplyInactiveEffect(effect);
  bitmap.Pixels() = pixels.ToPixmap();
  bitmap.Modified();
}

void DrawObjectMoved(TqzActiveSkinObject& object, TCanvas& canvas, int dx, int dy) {
  const TRect saved = object.ObjectRect;
  object.ObjectRect = OffsetRect(saved, dx, dy);
  try {
    object.Draw(canvas, true);
  } catch (...) {
    object.ObjectRect = saved;
    throw;
  }
  object.ObjectRect = saved;
}

namespace {

bool HasSkin(const TqzSkinData* skin) { return skin && !skin->Picture().Empty(); }

void FillWithButtonFace(TCanvas& canvas, const TRect& r) {
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(r);
}

// ---- Frame ----

struct TFrameStrips {
  TBitmap Top, Bottom, Left, Right;
};

const TBitmap& FrameSource(const TqzFramePaintInput& in) {
  const TBitmap& inactive = in.Skin->InactivePicture();
  return in.FormActive || inactive.Empty() ? in.Skin->Picture() : inactive;
}

// Frame menu items go where the menu lies; every other visible object of
// the current roll-up state goes to the top strip when it ends at or above
// the client top, else to the bottom strip. Objects on the sides are not
// drawn: no object description places one there.
void DrawObjectsIntoStrips(const TqzFramePaintInput& in, TFrameStrips& strips) {
  if (!in.Objects) return;
  const TRect& client = in.Rects->NewClRect;
  const bool menuBelowClientTop = client.Top < in.Rects->NewMainMenuRect.Top;
  for (const auto& object : *in.Objects) {
    bool intoTop;
    if (object->IsFrameMenuItem()) {
      intoTop = !menuBelowClientTop;
    } else {
      if (!object->Visible || !object->ShownIn(in.RolledUp)) continue;
      intoTop = object->ObjectRect.Bottom <= client.Top;
    }
    if (intoTop) {
      if (!strips.Top.Empty()) object->Draw(strips.Top.Canvas(), true);
    } else if (!strips.Bottom.Empty()) {
      DrawObjectMoved(*object, strips.Bottom.Canvas(), 0, -client.Bottom);
    }
  }
}

// The border strips of a frame picture for one geometry, as composed.
struct TComposedBorder {
  TqzNewGeometry Geometry;
  TqzBorderStrips Strips;
};

bool SameGeometry(const TqzNewGeometry& a, const TqzNewGeometry& b) {
  return a.Width == b.Width && a.Height == b.Height && a.NewLTPoint == b.NewLTPoint &&
         a.NewRTPoint == b.NewRTPoint && a.NewLBPoint == b.NewLBPoint &&
         a.NewRBPoint == b.NewRBPoint && a.NewClRect == b.NewClRect;
}

void TakeCopy(TBitmap& bitmap, const TPixmap& pixels) {
  if (pixels.Empty()) return;
  bitmap.Pixels() = pixels;
  bitmap.Modified();
}

// The frame picture's four strips for the window: composed once per
// picture, window size and geometry and kept with the skin's composed
// pictures, since a frame repaints at every activation and size message,
// mostly at one size. The objects are drawn into copies.
void FrameStrips(const TqzFramePaintInput& in, TFrameStrips& strips) {
  const TBitmap& source = FrameSource(in);
  const TqzNewGeometry geometry = FormNewGeometry(*in.Rects, in.Window);
  TqzComposedCache& cache = in.Skin->ImageCache().Composed();
  const TqzComposedCache::TKey key{&source, in.Window, 0};
  std::shared_ptr<const TComposedBorder> composed = cache.Find<TComposedBorder>(key);
  if (!composed || !SameGeometry(composed->Geometry, geometry)) {
    auto made = std::make_shared<TComposedBorder>();
    made->Geometry = geometry;
    made->Strips = ComposeSkinBorderImages(FormSkinGeometry(*in.Skin), geometry, in.Window.cx,
                                           in.Window.cy, source.Pixels());
    composed = made;
    cache.Store(key, composed);
  }
  TakeCopy(strips.Top, composed->Strips.Top);
  TakeCopy(strips.Bottom, composed->Strips.Bottom);
  TakeCopy(strips.Left, composed->Strips.Left);
  TakeCopy(strips.Right, composed->Strips.Right);
}

}  // namespace

void PaintFrame(TCanvas& windowCanvas, const TqzFramePaintInput& in) {
  if (!HasSkin(in.Skin) || !in.Rects || in.Skin->ClientRect.IsEmpty()) return;
  const int W = in.Window.cx, H = in.Window.cy;
  TFrameStrips strips;
  FrameStrips(in, strips);
  DrawObjectsIntoStrips(in, strips);
  if (!in.FormActive && in.Skin->AutoRenderingInActiveImage) {
    for (TBitmap* strip : {&strips.Top, &strips.Bottom, &strips.Left, &strips.Right})
      ApplyInactiveEffect(*strip, in.Skin->InActiveEffect);
  }
  const int saved = windowCanvas.SaveDC();
  windowCanvas.ExcludeClipRect(in.Rects->NewClRect);
  const int topHeight = strips.Top.Height();
  DrawBitmap(windowCanvas, 0, 0, strips.Top);
  DrawBitmap(windowCanvas, 0, topHeight, strips.Left);
  DrawBitmap(windowCanvas, W - strips.Right.Width(), topHeight, strips.Right);
  DrawBitmap(windowCanvas, 0, H - strips.Bottom.Height(), strips.Bottom);
  windowCanvas.RestoreDC(saved);
}

// ---- Default frame ----

namespace {

// The room for the caption text: between the buttons on the left of the
// caption (the system-menu button) and those on its right, in caption
// bitmap coordinates.
TRect CaptionTextRoom(const TqzDefaultFramePaintInput& in, const TRect& caption) {
  TRect room = caption;
  if (!in.Objects) return room;
  const int middle = caption.Width() / 2;
  for (const auto& object : *in.Objects) {
    if (!object->Visible) continue;
    const TRect r = OffsetRect(object->ObjectRect, -kDefaultFrameBorder, -kDefaultFrameBorder);
    if (r.IsEmpty()) continue;
    if (r.Left + r.Width() / 2 < middle)
      room.Left = std::max(room.Left, r.Right);
    else
      room.Right = std::min(room.Right, r.Left);
  }
  return room;
}

void DrawDefaultCaptionText(TCanvas& canvas, const TqzDefaultFramePaintInput& in,
                            const TRect& caption) {
  const TRect room = CaptionTextRoom(in, caption);
  const std::string text = CorrectTextByWidth(canvas, in.Caption, std::max(0, room.Width()));
  if (text.empty()) return;
  const int textWidth = GetTextWidthNoPrefix(canvas, text);
  const int textHeight = GetTextHeightNoPrefix(canvas, text);
  const int left = room.Left + room.Width() / 2 - (textWidth + 5) / 2;
  const int top = caption.Height() / 2 - textHeight / 2;
  TRect textRect{left, top, left + textWidth, top + textHeight};
  FillWithButtonFace(canvas, InflateRect(textRect, 2, 2));
  canvas.SetBkMode(TRANSPARENT);
  uint32_t flags = DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP;
  if (in.RightToLeft) flags |= DT_RTLREADING | DT_RIGHT;
  canvas.DrawText(text, textRect, flags);
}

void DrawDefaultRings(TCanvas& canvas, TSize window) {
  const TColor colors[] = {cl3DDkShadow, clBtnFace, clBtnFace};
  TRect ring{0, 0, window.cx, window.cy};
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  for (TColor color : colors) {
    canvas.Brush().SetColor(color);
    canvas.FrameRect(ring);
    ring = InflateRect(ring, -1, -1);
  }
}

}  // namespace

void PaintDefaultFrame(TCanvas& windowCanvas, const TqzDefaultFramePaintInput& in) {
  const int W = in.Window.cx, H = in.Window.cy;
  const int b = kDefaultFrameBorder;
  const int captionHeight = DefaultCaptionHeight(in.ToolWindow);
  TBitmap bar(std::max(0, W - 2 * b), captionHeight);
  TCanvas& canvas = bar.Canvas();
  const TRect caption{0, 0, bar.Width(), captionHeight};
  FillWithButtonFace(canvas, caption);
  const TFont* font = in.FormActive ? in.ActiveFont : in.InactiveFont;
  if (font) canvas.SetFont(*font);
  if (in.CharSet != 0) canvas.Font().SetCharset(static_cast<TFontCharset>(in.CharSet));
  if (in.OnCaptionPaint)
    in.OnCaptionPaint(canvas, caption, in.FormActive);
  else
    DrawDefaultCaptionText(canvas, in, caption);
  if (in.Objects) {
    for (const auto& object : *in.Objects)
      if (object->Visible) DrawObjectMoved(*object, canvas, -b, -b);
  }
  const int saved = windowCanvas.SaveDC();
  windowCanvas.ExcludeClipRect({b, captionHeight + b, W - b, H - b});
  if (!bar.Empty()) windowCanvas.Draw(b, b, bar);
  DrawDefaultRings(windowCanvas, in.Window);
  windowCanvas.RestoreDC(saved);
}

// ---- Client background ----

namespace {

// The background picture: the active picture bgpictureindex, else the
// clientrect piece of the main picture. Empty when there is none.
void BackgroundSource(const TqzSkinData& skin, TBitmap& source) {
  if (skin.BGPictureIndex != -1) {
    if (const TBitmap* picture = skin.ActivePicture(skin.BGPictureIndex))
      CopyPiece(picture->Pixels(), picture->Pixels().Bounds(), source);
    return;
  }
  CopyPiece(skin.Picture().Pixels(), skin.ClientRect, source);
}

// The source stretched to `size`, drawn `count` times from (0, 0) stepping by `step`.
void DrawStretchedRepeats(TCanvas& canvas, const TBitmap& source, TSize size, int count,
                          TPoint step) {
  TBitmap stretched(size.cx, size.cy);
  stretched.Canvas().StretchDraw({0, 0, size.cx, size.cy}, source);
  for (int k = 0; k < count; ++k) DrawBitmap(canvas, k * step.X, k * step.Y, stretched);
}

void DrawBackgroundPicture(TCanvas& canvas, const TqzClientBackgroundInput& in,
                           const TBitmap& source) {
  const int sw = source.Width(), sh = source.Height();
  const TRect client{0, 0, in.Client.cx, in.Client.cy};
  if (in.Skin->StretchEffect && !client.IsEmpty()) {
    switch (in.Skin->StretchType) {
      case TqzStretchType::Full:
        canvas.StretchDraw(client, source);
        return;
      case TqzStretchType::Horz:
        DrawStretchedRepeats(canvas, source, {sw, in.Window.cy}, in.Window.cx / sw + 1, {sw, 0});
        return;
      case TqzStretchType::Vert:
        DrawStretchedRepeats(canvas, source, {in.Window.cx, sh}, in.Window.cy / sh + 1, {0, sh});
        return;
    }
  }
  const int columns = in.Client.cx / sw + 1, rows = in.Client.cy / sh + 1;
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column) DrawBitmap(canvas, column * sw, row * sh, source);
}

void DrawLogo(TCanvas& canvas, const TqzClientBackgroundInput& in) {
  if (!in.Logo || in.Logo->Empty()) return;
  const int left = std::max(0, in.Client.cx / 2 - in.Logo->Width() / 2);
  const int top = std::max(0, in.Client.cy / 2 - in.Logo->Height() / 2);
  if (!in.LogoTransparent) {
    canvas.Draw(left, top, *in.Logo);
    return;
  }
  TBitmap logo;
  logo.Assign(*in.Logo);
  logo.SetTransparent(true);
  canvas.Draw(left, top, logo);
}

}  // namespace

void PaintClientBackground(TCanvas& clientCanvas, const TqzClientBackgroundInput& in) {
  const TRect client{0, 0, in.Client.cx, in.Client.cy};
  const int saved = clientCanvas.SaveDC();
  if (!HasSkin(in.Skin) || (in.Skin->BGPictureIndex == -1 && in.Skin->ClientRect.IsEmpty())) {
    FillWithButtonFace(clientCanvas, client);
  } else {
    TBitmap source;
    BackgroundSource(*in.Skin, source);
    if (!source.Empty()) DrawBackgroundPicture(clientCanvas, in, source);
  }
  DrawLogo(clientCanvas, in);
  clientCanvas.RestoreDC(saved);
}

// ---- Client-mode skin ----

namespace {

void ComposeClientSkin(const TqzClientSkinInput& in, TBitmap& image) {
  const TqzSkinData& skin = *in.Skin;
  const TBitmap& rollUp = skin.RollUpPicture();
  if (in.RolledUp && !rollUp.Empty()) {
    if (skin.RollUpLeftPoint.X < skin.RollUpRightPoint.X) {
      CreateHSkinImage(skin.RollUpLeftPoint.X, rollUp.Width() - skin.RollUpRightPoint.X, image,
                       false, in.Client.cx, rollUp.Pixels().Bounds(), rollUp);
    } else {
      CopyPiece(rollUp.Pixels(), rollUp.Pixels().Bounds(), image);
    }
    return;
  }
  const TBitmap& picture = skin.Picture();
  if (skin.LeftTopPoint != TPoint{} || skin.RightBottomPoint != TPoint{}) {
    const TqzFrameSize size{{picture.Width(), picture.Height()}, in.Client};
    const TqzFrameRects rects = CalcFrameRects(skin, size);
    CreateSkinImage(FormSkinGeometry(skin), FormNewGeometry(rects, in.Client), true, in.Client.cx,
                    in.Client.cy, picture, image);
  } else {
    CopyPiece(picture.Pixels(), picture.Pixels().Bounds(), image);
  }
}

// The size grip of the status bar description named by statusbarname.
void DrawSizeGrip(TCanvas& canvas, const TqzClientSkinInput& in) {
  const TqzSkinData& skin = *in.Skin;
  const int index = skin.FindControlIndex(skin.StatusBarName);
  if (index < 0) return;
  const auto* bar = dynamic_cast<const TqzDataSkinPanelControl*>(skin.CtrlList()[size_t(index)].get());
  if (!bar || bar->GripperRect.IsEmpty()) return;
  const TBitmap* picture = skin.ActivePicture(bar->PictureIndex);
  if (!picture) return;
  TBitmap grip;
  CopyPiece(picture->Pixels(), bar->GripperRect, grip);
  if (grip.Empty()) return;
  if (bar->GripperTransparent) {
    grip.SetTransparentColor(bar->GripperTransparentColor);
    grip.SetTransparent(true);
  }
  canvas.Draw(in.SizeGripRect.Left, in.SizeGripRect.Top, grip);
}

}  // namespace

void PaintClientSkin(TCanvas& clientCanvas, const TqzClientSkinInput& in) {
  if (!HasSkin(in.Skin)) {
    const int saved = clientCanvas.SaveDC();
    clientCanvas.Pen().SetColor(clBlack);
    clientCanvas.Pen().SetStyle(TPenStyle::psSolid);
    clientCanvas.Brush().SetColor(clBtnFace);
    clientCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
    clientCanvas.Rectangle(0, 0, in.Client.cx, in.Client.cy);
    clientCanvas.RestoreDC(saved);
    return;
  }
  TBitmap image;
  ComposeClientSkin(in, image);
  if (image.Empty()) return;
  if (in.Objects) {
    for (const auto& object : *in.Objects)
      if (object->Visible && object->ShownIn(in.RolledUp)) object->Draw(image.Canvas(), true);
  }
  if (in.NormalState && !in.SizeGripRect.IsEmpty()) DrawSizeGrip(image.Canvas(), in);
  DrawBitmap(clientCanvas, 0, 0, image);
}

// ---- Window region ----

namespace {

TqzFormRegion RectRegion(TSize window) {
  return {std::make_unique<TRegion>(TRect{0, 0, window.cx, window.cy}), false};
}

TRegion StripRegion(const TPixmap& strip, int x, int y) {
  if (strip.Empty()) return {};
  const std::vector<TRect> runs = MaskRunRects(strip, x, y);
  return TRegion::FromRects(runs);
}

// The four strips at their places united with the mask area: top with
// bottom, left with right, then both, then with the rectangle.
TRegion StripsRegion(const TqzMaskStrips& strips, const TRect& area) {
  const TRegion vertical =
      StripRegion(strips.Top, 0, 0).Union(StripRegion(strips.Bottom, 0, area.Bottom));
  const TRegion horizontal = StripRegion(strips.Left, 0, area.Top)
                                 .Union(StripRegion(strips.Right, area.Right, area.Top));
  return vertical.Union(horizontal).Union(TRegion(area));
}

TqzFormRegion RegionOrKeep(TRegion region) {
  if (region.IsEmpty()) return {nullptr, true};
  return {std::make_unique<TRegion>(std::move(region)), false};
}

TqzFormRegion WholeMaskRegion(const TBitmap& mask) {
  std::optional<TRegion> region = CreateRegionFromMask(mask);
  if (!region) return {nullptr, true};
  return RegionOrKeep(std::move(*region));
}

}  // namespace

TqzFormRegion BuildFormRegion(const TqzFormRegionInput& in, TqzMaskStrips& strips, bool recreate) {
  const TSize window = in.Size.Window;
  if (!in.Skinnable) return {};
  if (in.FrameMode && !in.Borderless && in.FullBorderLayered) {
    const int height = in.LayeredRollUpHeight >= 0 ? in.LayeredRollUpHeight : window.cy;
    return {std::make_unique<TRegion>(TRect{0, 0, window.cx, height}), false};
  }
  if (in.FrameMode && in.Borderless) return {};
  const bool skinned = in.HasSkin && in.Skin;
  // Strips of a skin without mask (or of no skin) would shape the hit tests
  // by a mask that no longer applies.
  if (!skinned || !in.HasMask) strips = {};
  if (!skinned || !in.HasMask || in.MaximizedMDIChild) return RectRegion(window);
  const TBitmap& rollUpMask = in.Skin->RollUpMask();
  if (in.RolledUpClientMode && !rollUpMask.Empty()) return WholeMaskRegion(rollUpMask);
  if (!recreate) return WholeMaskRegion(in.Skin->Mask());
  if (!in.Rects) return {nullptr, true};
  if (!in.StripsCurrent)
    strips = BuildMaskStrips(*in.Skin, *in.Rects, in.Size, in.Skin->Mask().Pixels());
  return RegionOrKeep(StripsRegion(strips, in.Rects->NewMaskRectArea));
}

}  // namespace qz
