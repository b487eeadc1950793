// The shell list view's looks: items from the skin's list item description
// (the selection and the focused selection as its item pictures, its font
// and colours), the column header from a button description (its normal
// and down pictures per column), thumbnails in place of icons; the host's
// plain look when no skin is given, it has no such description or skinned
// drawing is off.
#include <algorithm>

#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/dialogs/ShellListView.h"
#include "skin/draw/QzComposition.h"

namespace qz {

namespace {

constexpr int kCellTextInset = 6;  // report: text inside a column, as the host view

template <class D>
const D* FindDescription(const TqzSkinData* skin, const std::string& name) {
  if (!skin || skin->Empty()) return nullptr;
  const int index = skin->FindControlIndex(name);
  if (index < 0) return nullptr;
  const D* d = dynamic_cast<const D*>(skin->CtrlList()[size_t(index)].get());
  return d && skin->ActivePicture(d->PictureIndex) ? d : nullptr;
}

// Draws a picture with straight alpha over what the canvas holds, inside
// its clipping.
void DrawBlended(TCanvas& c, int x, int y, const TPixmap& picture) {
  TPixmap* dst = c.Target();
  if (!dst) return;
  const TPoint o = c.LogicalToDevice(TPoint{x, y});
  c.ForEachClipRect({o.X, o.Y, o.X + picture.Width(), o.Y + picture.Height()}, [&](const TRect& r) {
    for (int dy = r.Top; dy < r.Bottom; ++dy)
      for (int dx = r.Left; dx < r.Right; ++dx) {
        const uint32_t s = picture.At(dx - o.X, dy - o.Y), a = s >> 24, d = dst->At(dx, dy);
        if (a == 0) continue;
        auto mix = [a](uint32_t sv, uint32_t dv) { return (sv * a + dv * (255 - a) + 127) / 255; };
        dst->At(dx, dy) = a == 255 ? s
                                   : 0xFF000000u | mix(s >> 16 & 0xFF, d >> 16 & 0xFF) << 16 |
                                         mix(s >> 8 & 0xFF, d >> 8 & 0xFF) << 8 | mix(s & 0xFF, d & 0xFF);
      }
  });
}

}  // namespace

// An item picture of the list item description at w x h: one row's height
// keeps its picture and stretches between the offsets; other heights
// stretch around the text rectangle.
void ComposeShellListItem(const TqzDataSkinListBox& d, const TBitmap& picture, const TRect& source, int w, int h,
                          TBitmap& look) {
  if (h == source.Height()) {
    CreateHSkinImage(d.ItemLeftOffset, d.ItemRightOffset, look, d.StretchEffect, w, source, picture);
  } else {
    look.SetSize(w, h);
    CreateStretchImage(look, picture, source, InflateRect(d.ItemTextRect, -1, -1), true);
  }
}

// A column header of a button description at w x h, pressed or not.
void ComposeShellListHeader(const TqzDataSkinButtonControl& d, const TBitmap& picture, bool down, int w, int h,
                            TBitmap& out) {
  TqzSkinGeometry g = d.Geometry();
  if (down && !d.DownSkinRect.IsEmpty()) g.SkinRect = d.DownSkinRect;
  CreateSkinImage(g, CalcNewGeometry(g, CalcResizeMode(g), w, h), true, w, h, picture, out);
}

// ---------------------------------------------------------------------------
// Properties and the skin change

void TqzCustomShellListView::SetSkinData(TqzSkinData* V) {
  SetReference(skinData_, V);
  Invalidate();
}

void TqzCustomShellListView::SetItemSkinDataName(const std::string& V) {
  itemSkinDataName_ = V;
  Invalidate();
}

void TqzCustomShellListView::SetHeaderSkinDataName(const std::string& V) {
  headerSkinDataName_ = V;
  Invalidate();
}

void TqzCustomShellListView::SetDrawSkin(bool V) {
  drawSkin_ = V;
  Invalidate();
}

const TqzDataSkinListBox* TqzCustomShellListView::ItemDescription() const {
  return drawSkin_ && !skinChanging_ ? FindDescription<TqzDataSkinListBox>(skinData_, itemSkinDataName_) : nullptr;
}

const TqzDataSkinButtonControl* TqzCustomShellListView::HeaderDescription() const {
  return drawSkin_ && !skinChanging_ ? FindDescription<TqzDataSkinButtonControl>(skinData_, headerSkinDataName_)
                                     : nullptr;
}

// The descriptions are looked up at each paint: nothing to drop but the
// right to paint from them while they change.
void TqzCustomShellListView::BeforeChangeSkinData() { skinChanging_ = true; }

void TqzCustomShellListView::ChangeSkinData() {
  skinChanging_ = false;
  Invalidate();
}

void TqzCustomShellListView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // The reference to the skin is cleared already; the image lists are ours.
  if (AComponent == typeSmall_) typeSmall_ = nullptr;
  if (AComponent == typeLarge_) typeLarge_ = nullptr;
  Invalidate();
}

// ---------------------------------------------------------------------------
// Items

// Behind the items the client part of the list description's picture,
// tiled from the view's origin (the field its item pictures lie on).
void TqzCustomShellListView::PaintBackground(const TRect& Rect) {
  const TqzDataSkinListBox* d = ItemDescription();
  const TRect piece = d ? OffsetRect(d->ClientRect, d->SkinRect.Left, d->SkinRect.Top) : TRect{};
  if (!d || piece.IsEmpty()) {
    TCustomListView::PaintBackground(Rect);
    return;
  }
  TBitmap tile(piece.Width(), piece.Height());
  tile.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, skinData_->ActivePicture(d->PictureIndex)->Canvas(),
                         piece);
  tile.Modified();
  TCanvas& c = Canvas();
  const int saved = c.SaveDC();
  c.IntersectClipRect(Rect);
  for (int y = 0; y < Rect.Bottom; y += tile.Height())
    for (int x = 0; x < Rect.Right; x += tile.Width())
      if (y + tile.Height() > Rect.Top && x + tile.Width() > Rect.Left) c.Draw(x, y, tile);
  c.RestoreDC(saved);
}

// The thumbnail (icon style) or the image, centred in the picture's place.
void TqzCustomShellListView::DrawPicture(int Index, const TListItem& Item, TqzShellFolder* Folder) {
  TCanvas& c = Canvas();
  const TRect icon = DisplayRect(Index, drIcon);
  if (ViewStyle() == vsIcon && ThumbnailsWanted() && Folder && Folder->HasThumbnail && !Folder->Thumbnail.Empty()) {
    const TPixmap& t = Folder->Thumbnail;
    DrawBlended(c, icon.Left + (icon.Width() - t.Width()) / 2, icon.Top + (icon.Height() - t.Height()) / 2, t);
    return;
  }
  const TCustomImageList* images = ViewStyle() == vsIcon ? LargeImages() : SmallImages();
  if (images && Item.ImageIndex >= 0 && Item.ImageIndex < images->Count())
    images->Draw(c, icon.Left + (icon.Width() - images->Width()) / 2, icon.Top + (icon.Height() - images->Height()) / 2,
                 Item.ImageIndex, Enabled());
}

void TqzCustomShellListView::UseItemFont(const TqzDataSkinListBox* d, TOwnerDrawState State) {
  TCanvas& c = Canvas();
  c.SetFont(Font());
  if (!d) return;
  c.Font().SetName(d->FontName);
  c.Font().SetHeight(d->FontHeight);
  c.Font().SetStyle(d->FontStyle);
  const bool selected = State.Contains(odSelected), focused = State.Contains(odFocused);
  c.Font().SetColor(selected && focused ? d->FocusFontColor : selected ? d->ActiveFontColor : d->FontColor);
}

void TqzCustomShellListView::DrawItem(int Index, const TListItem& Item, const TRect& Rect, TOwnerDrawState State) {
  TqzShellFolder* folder = Index >= 0 && Index < FolderCount() ? folders_[size_t(Index)].get() : nullptr;
  const TqzDataSkinListBox* d = ItemDescription();
  if (!d) {
    // The plain look, with the picture drawn here (thumbnails, centred).
    TListItem plain = Item;
    plain.ImageIndex = -1;
    TCustomListView::DrawItem(Index, plain, Rect, State);
    DrawPicture(Index, Item, folder);
    return;
  }
  DrawPicture(Index, Item, folder);
  DrawSkinLabel(*d, *skinData_->ActivePicture(d->PictureIndex), Index, Item, Rect, State);
}

void TqzCustomShellListView::DrawSkinLabel(const TqzDataSkinListBox& d, const TBitmap& pic, int Index,
                                           const TListItem& Item, const TRect& Rect, TOwnerDrawState State) {
  TCanvas& c = Canvas();
  const bool selected = State.Contains(odSelected), focused = State.Contains(odFocused);
  UseItemFont(&d, State);
  c.SetBkMode(TRANSPARENT);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  const TRect label = DisplayRect(Index, drLabel);
  const int textHeight = std::max(1, c.TextHeight("Ag"));
  // The plate behind the caption: as wide as the text (the whole row in
  // the report style), as the plain look marks it.
  TRect mark = label;
  const uint32_t iconFlags = DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (ViewStyle() == vsIcon) {
    TRect measured{label.Left, label.Top, label.Right, label.Top};
    c.DrawText(Item.Caption, measured, iconFlags | DT_CALCRECT);
    const int w = std::min(label.Width(), measured.Width() + 4);
    mark = {label.Left + (label.Width() - w) / 2, label.Top, label.Left + (label.Width() - w) / 2 + w,
            std::min(label.Bottom, measured.Bottom + 2)};
  } else if (ViewStyle() == vsReport) {
    mark.Right = Rect.Right;
  } else {
    mark.Right = std::min(label.Right, label.Left + c.TextWidth(Item.Caption) + 4);
  }
  if (selected && mark.Width() > 0 && mark.Height() > 0) {
    const TRect normal = d.ItemRect;
    const TRect active = d.ActiveItemRect.IsEmpty() ? normal : d.ActiveItemRect;
    const TRect focus = d.FocusItemRect.IsEmpty() ? active : d.FocusItemRect;
    TBitmap look;
    ComposeShellListItem(d, pic, focused ? focus : active, mark.Width(), mark.Height(), look);
    c.Draw(mark.Left, mark.Top, look);
  }
  c.Brush().SetStyle(TBrushStyle::bsClear);
  if (ViewStyle() == vsIcon) {
    c.DrawText(Item.Caption, label, iconFlags);
  } else {
    const int y = label.Top + (label.Height() - textHeight) / 2;
    c.TextRect(label, label.Left + 2, y, Item.Caption);
    int x = label.Right;
    for (int column = 1; ViewStyle() == vsReport && column < ColumnCount(); ++column) {
      const TRect cell{x, Rect.Top, x + Column(column).Width, Rect.Bottom};
      if (column - 1 < static_cast<int>(Item.SubItems.size()))
        c.TextRect(cell, cell.Left + kCellTextInset, y, Item.SubItems[size_t(column - 1)]);
      x = cell.Right;
    }
  }
  if (focused && !selected) c.DrawFocusRect(mark);
}

// ---------------------------------------------------------------------------
// The header: each column one button of the description, the rest of the
// row an empty one.

void TqzCustomShellListView::DrawHeader() {
  const TqzDataSkinButtonControl* d = HeaderDescription();
  if (!d) {
    TCustomListView::DrawHeader();
    return;
  }
  const TBitmap& pic = *skinData_->ActivePicture(d->PictureIndex);
  TCanvas& c = Canvas();
  const int h = HeaderHeight();
  c.SetFont(Font());
  c.Font().SetName(d->FontName);
  c.Font().SetHeight(d->FontHeight);
  c.Font().SetStyle(d->FontStyle);
  c.SetBkMode(TRANSPARENT);
  const int textHeight = std::max(1, c.TextHeight("Ag"));
  int right = 0;
  for (int column = 0; column < ColumnCount(); ++column) {
    const TRect r = ColumnRect(column);
    if (r.Width() <= 0) continue;
    const bool down = PressedColumn() == column;
    TBitmap face;
    ComposeShellListHeader(*d, pic, down, r.Width(), h, face);
    c.Draw(r.Left, 0, face);
    c.Font().SetColor(down ? d->DownFontColor : d->FontColor);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    const int shift = down ? 1 : 0;
    c.TextRect({r.Left, 0, r.Right, h}, r.Left + kCellTextInset + shift, (h - textHeight) / 2 + shift,
               Column(column).Caption);
    right = std::max(right, r.Right);
  }
  if (right < ClientWidth()) {
    TBitmap rest;
    ComposeShellListHeader(*d, pic, false, ClientWidth() - right, h, rest);
    c.Draw(right, 0, rest);
  }
}

}  // namespace qz
