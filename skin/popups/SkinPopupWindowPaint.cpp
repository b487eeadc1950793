// Drawing of a popup menu level: the window background, each item at its
// place, and the scroll markers.
#include <algorithm>
#include <array>
#include <cmath>

#include "host/ui/ImgList.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"
#include "skin/popups/SkinMenu.h"
#include "skin/popups/SkinPopupWindow.h"

namespace qz {

namespace {

// The plain look's fill of a highlighted item.
constexpr int kPlainGutter = 19;

using TGlyph = void (*)(TCanvas&, int, int, TColor);

// The caption-button glyph drawn for the items of the system and tray menus.
TGlyph SystemGlyph(const std::string& name) {
  if (name == "ORV_CLOSE" || name == "TRAY_ORV_CLOSE") return DrawCloseGlyph;
  if (name == "ORV_MINITEM") return DrawMinimizeGlyph;
  if (name == "ORV_MAXITEM") return DrawMaximizeGlyph;
  if (name == "ORV_RESTORE" || name == "TRAY_ORV_RESTORE") return DrawRestoreGlyph;
  if (name == "ORV_ROLLUP") return DrawRollUpGlyph;
  if (name == "ORV_MINTOTRAY") return DrawMinimizeToTrayGlyph;
  return nullptr;
}

void DrawSubmenuTriangle(TCanvas& c, int x, int y, TColor color) {
  const std::array<TPoint, 3> points{TPoint{x, y}, TPoint{x + 4, y + 4}, TPoint{x, y + 8}};
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(color);
  c.Pen().SetColor(color);
  c.Polygon(points);
}

void DrawRadioDot(TCanvas& c, int x, int y, TColor color) {
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(color);
  c.Pen().SetColor(color);
  c.Ellipse(x, y, x + 6, y + 6);
}

// A rectangle of a picture copied centred into `area`.
void DrawPictureCentred(TCanvas& c, const TBitmap& picture, const TRect& source, const TRect& area) {
  const int x = area.Left + (area.Width() - source.Width()) / 2;
  const int y = area.Top + (area.Height() - source.Height()) / 2;
  TBitmap piece(source.Width(), source.Height());
  piece.Canvas().CopyRect({0, 0, source.Width(), source.Height()}, const_cast<TBitmap&>(picture).Canvas(), source);
  c.Draw(x, y, piece);
}

bool HasImage(const TMenuItem& item, const TCustomImageList* images) {
  if (!item.Bitmap().Empty()) return true;
  return images && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count();
}

}  // namespace

void TqzSkinPopupWindow::Paint() {
  ResolveLooks();
  if (softwareAlpha_) PaintBuffered(Canvas());
  else PaintDirect(Canvas());
}

// The window's canvas draws into its back buffer, which is shown only after
// the paint: nothing half drawn is ever seen, so no bitmap of the whole
// level is needed. The background is left out under the visible items,
// which cover their rectangles entirely.
void TqzSkinPopupWindow::PaintDirect(TCanvas& c) {
  const int saved = c.SaveDC();
  TRect run{};
  for (const TqzSkinMenuItem& item : items_) {
    if (!item.Visible) continue;
    const TRect& r = item.ItemRect;
    if (!run.IsEmpty() && r.Left == run.Left && r.Right == run.Right && r.Top == run.Bottom) {
      run.Bottom = r.Bottom;
      continue;
    }
    if (!run.IsEmpty()) c.ExcludeClipRect(run);
    run = r;
  }
  if (!run.IsEmpty()) c.ExcludeClipRect(run);
  PaintBackground(c);
  c.RestoreDC(saved);
  for (const TqzSkinMenuItem& item : items_) {
    const TRect& r = item.ItemRect;
    if (!item.Visible || r.IsEmpty() || !c.RectVisible(r)) continue;
    const int itemState = c.SaveDC();
    c.IntersectClipRect(r);
    c.SetViewportOrg(c.ViewportOrg() + r.TopLeft());
    DrawItemOn(item, c, {r.Width(), r.Height()});
    c.RestoreDC(itemState);
  }
  if (scrollMode_) PaintMarkers(c);
}

void TqzSkinPopupWindow::PaintBuffered(TCanvas& c) {
  TBitmap buffer(size_.cx, size_.cy);
  PaintBackground(buffer.Canvas());
  BlendWithScreen(buffer, {0, 0});
  for (int i = 0; i < ItemCount(); ++i) {
    if (!Item(i).Visible) continue;
    const TRect& r = Item(i).ItemRect;
    if (!c.RectVisible(r)) continue;
    TBitmap itemImage;
    DrawItemImage(i, itemImage);
    if (settings_.UseSkinSize) BlendWithScreen(itemImage, r.TopLeft());
    buffer.Canvas().Draw(r.Left, r.Top, itemImage);
  }
  if (scrollMode_) PaintMarkers(buffer.Canvas());
  c.Draw(0, 0, buffer);
}

void TqzSkinPopupWindow::PaintBackground(TCanvas& c) {
  if (windowData_) {
    c.Draw(0, 0, WindowBackground());
    return;
  }
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(clWindow);
  c.FillRect({0, 0, size_.cx, size_.cy});
  c.Brush().SetColor(clBtnShadow);
  c.FrameRect({0, 0, size_.cx, size_.cy});
}

const TBitmap& TqzSkinPopupWindow::WindowBackground() {
  if (windowData_) {
    const TqzSkinGeometry g = windowData_->Geometry({0, 0, windowPicture_->Width(), windowPicture_->Height()});
    if (menu_) {
      background_ = menu_->Backgrounds().Composed(*windowPicture_, g, size_);
    } else {
      TqzMenuBackgrounds alone;
      background_ = alone.Composed(*windowPicture_, g, size_);
    }
    return *background_;
  }
  if (!plainBackground_ || plainBackground_->Width() != size_.cx || plainBackground_->Height() != size_.cy) {
    plainBackground_ = std::make_unique<TBitmap>(size_.cx, size_.cy);
    PaintBackground(plainBackground_->Canvas());
  }
  return *plainBackground_;
}

// The image at `at` (window coordinates) mixed with the captured screen:
// the menu's share is the alpha value.
void TqzSkinPopupWindow::BlendWithScreen(TBitmap& image, TPoint at) const {
  BlendOverScreen(image, screenUnder_, at, settings_.AlphaBlendValue);
}

void TqzSkinPopupWindow::PaintMarkers(TCanvas& c) {
  const bool skin = itemData_ && itemPicture_;
  TRect top{3, 3, size_.cx - 3, 13}, bottom{3, size_.cy - 10, size_.cx - 3, size_.cy - 3};
  if (skin) {
    top = {itemsArea_.Left, itemsArea_.Top, itemsArea_.Right, itemsArea_.Top + kScrollMarkerHeight};
    bottom = {itemsArea_.Left, itemsArea_.Bottom - kScrollMarkerHeight, itemsArea_.Right, itemsArea_.Bottom};
    // The gap under the last visible item is filled like the markers.
    int lastBottom = top.Bottom;
    for (const TqzSkinMenuItem& item : items_)
      if (item.Visible) lastBottom = item.ItemRect.Bottom;
    for (const TRect& band : {top, bottom, TRect{top.Left, lastBottom, top.Right, bottom.Top}}) {
      if (band.Height() <= 0) continue;
      TBitmap fill;
      CreateHSkinImage(itemData_->ItemLeftOffset, itemData_->ItemRightOffset, fill, itemData_->InActiveStretchEffect,
                       band.Width(), itemData_->SkinRect, *itemPicture_);
      c.StretchDraw(band, fill);
    }
  }
  auto colour = [&](TqzScrollMarker which) {
    const bool hot = marker_ == which;
    if (windowData_) return hot ? windowData_->ScrollMarkerActiveColor : windowData_->ScrollMarkerColor;
    return hot ? clBtnText : clBtnShadow;
  };
  DrawArrowImage(c, top, colour(TqzScrollMarker::Top), 1);
  DrawArrowImage(c, bottom, colour(TqzScrollMarker::Bottom), 2);
}

void TqzSkinPopupWindow::DrawItemImage(int index, TBitmap& out) {
  if (index < 0 || index >= ItemCount()) return;
  ResolveLooks();
  const TqzSkinMenuItem& item = Item(index);
  out.SetSize(item.ItemRect.Width(), item.ItemRect.Height());
  DrawItemOn(item, out.Canvas(), {out.Width(), out.Height()});
}

void TqzSkinPopupWindow::DrawItemOn(const TqzSkinMenuItem& item, TCanvas& c, TSize size) {
  if (!item.MenuItem) {
    // Freed while shown: an empty row until the menu closes.
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clWindow);
    c.FillRect({0, 0, size.cx, size.cy});
    return;
  }
  if (itemData_ && itemPicture_) DrawSkinItem(item, c, size);
  else DrawPlainItem(item, c, size);
}

// ---------------------------------------------------------------------------
// With a description

void TqzSkinPopupWindow::DrawSkinItem(const TqzSkinMenuItem& item, TCanvas& c, TSize size) {
  const TqzDataSkinMenuItem& d = *itemData_;
  const int w = size.cx, h = size.cy;
  if (item.IsSeparator()) {
    TBitmap strip;
    CreateHSkinImage(d.DividerLeftOffset, d.DividerRightOffset, strip, d.DividerStretchEffect, w, d.DividerRect,
                     *itemPicture_);
    c.StretchDraw({0, 0, w, h}, strip);
    return;
  }
  DrawItemBackground(item, c, size);
  const TRect textArea{d.TextRect.Left, d.TextRect.Top, w + d.TextRect.Right - d.SkinRect.Width(),
                       d.TextRect.Bottom > d.TextRect.Top ? d.TextRect.Bottom : h};
  const TColor color = item.Active ? d.ActiveFontColor : item.Enabled() ? d.FontColor : d.UnEnabledFontColor;
  DrawItemContent(item, c, textArea, color, true);
}

namespace {

// Frame k (1-based) of an animation picture cut into `count` equal slices,
// stacked when the picture is taller than one item, else side by side.
TRect AnimationFrame(const TRect& frames, int count, int k, int itemHeight) {
  if (frames.Height() > itemHeight) {
    const int h = frames.Height() / count;
    return {frames.Left, frames.Top + (k - 1) * h, frames.Right, frames.Top + k * h};
  }
  const int w = frames.Width() / count;
  return {frames.Left + (k - 1) * w, frames.Top, frames.Left + k * w, frames.Bottom};
}

}  // namespace

// Normal, active, a morph of both, or a frame of the animation; an inactive
// item of a see-through description shows the window background instead of
// its normal picture.
void TqzSkinPopupWindow::DrawItemBackground(const TqzSkinMenuItem& item, TCanvas& c, TSize size) {
  const TqzDataSkinMenuItem& d = *itemData_;
  const int w = size.cx, h = size.cy;
  const bool lit = item.Active || item.Down;
  const TRect activeRect = d.ActiveSkinRect.IsEmpty() ? d.SkinRect : d.ActiveSkinRect;
  auto compose = [&](const TRect& source, bool stretch, TBitmap& dst) {
    CreateHSkinImage(d.ItemLeftOffset, d.ItemRightOffset, dst, stretch, w, source, *itemPicture_);
  };
  auto normalLook = [&](TBitmap& dst) {
    if (!d.InActiveTransparent) {
      compose(d.SkinRect, d.InActiveStretchEffect, dst);
      return;
    }
    dst.SetSize(w, h);
    dst.Canvas().CopyRect({0, 0, w, h}, const_cast<TBitmap&>(WindowBackground()).Canvas(), item.ItemRect);
  };
  auto draw = [&](const TBitmap& look) {
    if (look.Height() == h) c.Draw(0, 0, look);
    else c.StretchDraw({0, 0, w, h}, look);
  };
  const bool framed = Animates() && item.Frame >= 1 && item.Frame <= d.FrameCount;
  const bool morphing = Morphs() && item.Morph > 0 && item.Morph < 1;
  TBitmap look;
  if (framed) {
    const TRect frame = AnimationFrame(d.AnimateSkinRect, d.FrameCount, item.Frame, d.SkinRect.Height());
    compose(frame, lit ? d.StretchEffect : d.InActiveStretchEffect || d.StretchEffect, look);
  } else if (Animates() && item.Frame > d.FrameCount) {
    compose(activeRect, d.StretchEffect, look);
  } else if (morphing) {
    TBitmap normal, active;
    normalLook(normal);
    compose(activeRect, d.StretchEffect, active);
    TBitmap sized(w, active.Height());
    sized.Canvas().StretchDraw({0, 0, w, active.Height()}, normal);
    TqzEffectBmp blend(sized.Pixels());
    blend.ApplyMorph(d.MorphKind, TqzEffectBmp(active.Pixels()), item.Morph);
    look.SetSize(w, active.Height());
    look.Pixels() = blend.ToPixmap();
    look.Modified();
  } else if (lit) {
    return draw(ComposedItemLook(activeRect, d.StretchEffect, w));
  } else if (!d.InActiveTransparent) {
    return draw(ComposedItemLook(d.SkinRect, d.InActiveStretchEffect, w));
  } else {
    normalLook(look);
  }
  draw(look);
}

const TBitmap& TqzSkinPopupWindow::ComposedItemLook(const TRect& source, bool stretch, int width) {
  const TqzDataSkinMenuItem& d = *itemData_;
  return itemLooks_.Composed(*itemPicture_, source, d.ItemLeftOffset, d.ItemRightOffset, stretch, width);
}

// ---------------------------------------------------------------------------
// Plain look

void TqzSkinPopupWindow::DrawPlainItem(const TqzSkinMenuItem& item, TCanvas& c, TSize size) {
  const int w = size.cx, h = size.cy;
  const bool lit = (item.Active || item.Down) && !item.IsSeparator();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(lit ? kPlainLookHotFill : clWindow);
  c.FillRect({0, 0, w, h});
  if (item.IsSeparator()) {
    c.Brush().SetColor(clBtnShadow);
    c.FillRect({0, h / 2, w, h / 2 + 1});
    return;
  }
  const TColor color = item.Enabled() ? clWindowText : clBtnShadow;
  DrawItemContent(item, c, {2, 2, w - 2, h - 2}, color, false);
}

// ---------------------------------------------------------------------------
// Caption, short cut, submenu mark, image or mark

void TqzSkinPopupWindow::DrawItemContent(const TqzSkinMenuItem& item, TCanvas& c, const TRect& area, TColor color,
                                         bool skinLook) {
  const TMenuItem& mi = *item.MenuItem;
  const TqzDataSkinMenuItem* d = skinLook ? itemData_ : nullptr;
  TMenu* menu = mi.GetParentMenu();
  const TCustomImageList* images = menu ? menu->Images() : nullptr;
  const int middle = area.Top + area.Height() / 2;
  const bool imageRect = d && !d->ImageRect.IsEmpty();
  const int arrowColumn = skinLook ? 16 : kPlainGutter;
  const int gutter = skinLook ? (imageRect ? 0 : ImageColumnWidth()) : (images ? images->Width() + 5 : kPlainGutter);

  SetItemFont(c);
  if (mi.Default()) c.Font().SetStyle(c.Font().Style() + TFontStyles{TFontStyle::fsBold});
  c.Font().SetColor(color);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  std::string caption = mi.Caption();
  const bool header = !mi.Enabled() && caption.size() > 2 && caption.front() == '-' && caption.back() == '-';
  if (header) {
    caption = caption.substr(1, caption.size() - 2);
    if (skinLook) DrawHeader(c, {0, 0, item.ItemRect.Width(), item.ItemRect.Height()}, caption);
    else c.DrawText(caption, area, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    return;
  }
  TRect text{area.Left + gutter, area.Top, area.Right - arrowColumn, area.Bottom};
  const int th = c.GetTextMetrics().tmHeight;  // the line height, as TextHeight gives it
  text.Top = area.Top + (area.Height() - th) / 2 - (skinLook && th % 2 ? 1 : 0);
  text.Bottom = text.Top + th;
  c.DrawText(caption, text, DT_SINGLELINE | DT_LEFT);
  if (mi.ShortCut() != scNone) c.DrawText(ShortCutToText(mi.ShortCut()), text, DT_SINGLELINE | DT_RIGHT | DT_NOPREFIX);

  if (item.HasChildren()) {
    const TRect& arrow = d ? d->ArrowImageRect : TRect{};
    if (d && !arrow.IsEmpty() && itemPicture_)
      DrawMarkPicture(item, c, arrow, d->ActiveArrowImageRect,
                      {area.Right - arrow.Width() - 5, area.Top, area.Right, area.Bottom});
    else
      DrawSubmenuTriangle(c, area.Right - 7, middle - 4, color);
  }

  const TRect imageArea = imageRect ? d->ImageRect : TRect{};
  if (HasImage(mi, images)) {
    const TSize size = mi.Bitmap().Empty() ? TSize{images->Width(), images->Height()}
                                           : TSize{mi.Bitmap().Width(), mi.Bitmap().Height()};
    const int x = imageRect ? imageArea.Left + (imageArea.Width() - size.cx) / 2 : area.Left + 2;
    const int y = imageRect ? imageArea.Top + (imageArea.Height() - size.cy) / 2 : middle - size.cy / 2;
    if (!mi.Bitmap().Empty()) c.Draw(x, y, mi.Bitmap());
    else images->Draw(c, x, y, mi.ImageIndex(), mi.Enabled());
    if (mi.Checked()) {
      c.Brush().SetStyle(TBrushStyle::bsSolid);
      c.Brush().SetColor(color);
      c.FrameRect({x - 1, y - 1, x + size.cx + 1, y + size.cy + 1});
    }
    return;
  }
  TPoint at{area.Left + 2, middle - 4};
  if (imageRect) at = {imageArea.Left + imageArea.Width() / 2 - 4, imageArea.Top + imageArea.Height() / 2 - 4};
  DrawItemMark(item, c, at, imageArea, color);
}

// A header row: the skin's "menuheader" picture (or its "label") stretched
// to the item, the word centred on it.
void TqzSkinPopupWindow::DrawHeader(TCanvas& c, const TRect& itemRect, const std::string& caption) {
  const TqzSkinData* skin = skinData_.Get();
  const TqzDataSkinCustomControl* look = nullptr;
  const TBitmap* picture = nullptr;
  for (const char* name : {"menuheader", "label"}) {
    const int index = skin ? skin->FindControlIndex(name) : -1;
    if (index < 0) continue;
    look = dynamic_cast<const TqzDataSkinCustomControl*>(skin->CtrlList()[static_cast<size_t>(index)].get());
    picture = look ? skin->ActivePicture(look->PictureIndex) : nullptr;
    if (picture && !look->SkinRect.IsEmpty()) break;
    look = nullptr;
  }
  if (look) {
    const TqzSkinGeometry g = look->Geometry();
    const TqzNewGeometry n = CalcNewGeometry(g, CalcResizeMode(g), itemRect.Width(), itemRect.Height());
    TBitmap composed;
    CreateSkinImage(g, n, true, itemRect.Width(), itemRect.Height(), *picture, composed);
    c.Draw(itemRect.Left, itemRect.Top, composed);
  }
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.DrawText(caption, itemRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void TqzSkinPopupWindow::DrawItemMark(const TqzSkinMenuItem& item, TCanvas& c, TPoint at, const TRect& imageArea,
                                      TColor color) {
  const TMenuItem& mi = *item.MenuItem;
  const TqzDataSkinMenuItem* d = itemData_ && itemPicture_ ? itemData_ : nullptr;
  if (d && d->UseImageColor) color = item.Active ? d->ActiveImageColor : d->ImageColor;
  if (TGlyph glyph = SystemGlyph(mi.Name())) {
    glyph(c, at.X, at.Y, color);
    return;
  }
  if (!mi.Checked()) return;
  const bool plain = d == nullptr;
  const TRect& picture = !d ? TRect{} : mi.RadioItem() ? d->RadioImageRect : d->CheckImageRect;
  if (!picture.IsEmpty()) {
    const TRect area = imageArea.IsEmpty() ? TRect{at.X, at.Y, at.X + 8, at.Y + 8} : imageArea;
    DrawMarkPicture(item, c, picture, mi.RadioItem() ? d->ActiveRadioImageRect : d->ActiveCheckImageRect, area);
    return;
  }
  // The plain look draws its marks one pixel further in.
  const int x = plain ? at.X + 1 : at.X;
  if (mi.RadioItem()) DrawRadioDot(c, x, at.Y + 1, color);
  else DrawCheckImage(c, x, at.Y, color);
}

void TqzSkinPopupWindow::DrawMarkPicture(const TqzSkinMenuItem& item, TCanvas& c, const TRect& normal,
                                         const TRect& active, const TRect& area) {
  const TRect& lit = active.IsEmpty() ? normal : active;
  const bool morphing = Morphs() && item.Morph > 0 && item.Morph < 1 && !item.IsSeparator();
  if (!morphing || lit.Size() != normal.Size()) {
    DrawPictureCentred(c, *itemPicture_, item.Active || item.Down ? lit : normal, area);
    return;
  }
  TBitmap from(normal.Width(), normal.Height()), to(lit.Width(), lit.Height());
  from.Canvas().CopyRect({0, 0, normal.Width(), normal.Height()}, const_cast<TBitmap&>(*itemPicture_).Canvas(), normal);
  to.Canvas().CopyRect({0, 0, lit.Width(), lit.Height()}, const_cast<TBitmap&>(*itemPicture_).Canvas(), lit);
  TqzEffectBmp blend(from.Pixels());
  blend.ApplyMorph(itemData_->MorphKind, TqzEffectBmp(to.Pixels()), item.Morph);
  TBitmap piece(normal.Width(), normal.Height());
  piece.Pixels() = blend.ToPixmap();
  piece.Modified();
  DrawPictureCentred(c, piece, {0, 0, piece.Width(), piece.Height()}, area);
}

}  // namespace qz
