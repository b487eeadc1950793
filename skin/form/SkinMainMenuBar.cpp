// The main menu bar: its items, their layout and their looks. Input, the
// timers and the menus are in SkinMainMenuBarInput.cpp.
#include <algorithm>

#include "host/graphics/Font.h"
#include "host/ui/Forms.h"
#include "host/ui/ImgList.h"
#include "host/ui/MDI.h"
#include "host/ui/PopupMenuWindow.h"
#include "host/ui/Windows.h"
#include "skin/data/ResourceStrData.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"
#include "skin/draw/QzComposition.h"
#include "skin/draw/QzText.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinMainMenu.h"
#include "skin/popups/SkinMenu.h"

namespace qz {

// ---------------------------------------------------------------------------
// The main menu

TqzSkinMainMenu::~TqzSkinMainMenu() { SetSkinData(nullptr); }

void TqzSkinMainMenu::SetSkinData(TqzSkinData* value) { SetReference(skinData_, value); }

void TqzSkinMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMainMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == skinData_) skinData_ = nullptr;
}

QZ_PUBLISHED(TqzSkinMainMenu, TMainMenu) {
  using O = TqzSkinMainMenu;
  b.Factory([](TComponent* owner) { return new TqzSkinMainMenu(owner); });
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, &O::SetSkinData);
}

// ---------------------------------------------------------------------------
// Layout

std::vector<TRect> LayoutMDIButtons(TRect& area, const std::vector<TqzMDIButtonKind>& kinds,
                                   const std::vector<TSize>& sizes) {
  std::vector<TRect> rects(kinds.size());
  constexpr int kGap = 2;
  auto centred = [&](int left, TSize size) {
    const int top = area.Top + (area.Height() - size.cy) / 2;
    return TRect{left, top, left + size.cx, top + size.cy};
  };
  int left = area.Left, right = area.Right;
  for (size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i] == TqzMDIButtonKind::SysMenu) {
      rects[i] = centred(left, sizes[i]);
      left = rects[i].Right + kGap;
    } else {
      rects[i] = centred(right - sizes[i].cx, sizes[i]);
      right = rects[i].Left - kGap;
    }
  }
  area.Left = left;
  area.Right = right;
  return rects;
}

const char* TqzSkinMainMenuBarButton::IDName() const {
  switch (Kind) {
    case TqzMDIButtonKind::SysMenu: return "SysMenuButton";
    case TqzMDIButtonKind::Close: return "CloseButton";
    case TqzMDIButtonKind::Restore: return "MaxButton";
    case TqzMDIButtonKind::Minimize: return "MinButton";
  }
  return "";
}

TqzMenuBarRow LayoutMenuBarItems(const TRect& area, const std::vector<int>& widths, int reserve) {
  TqzMenuBarRow row;
  int left = area.Left;
  for (int w : widths) {
    const TRect r{left, area.Top, left + w, area.Bottom};
    const bool fits = r.Right <= area.Right - reserve;
    row.Rects.push_back(r);
    row.Fits.push_back(fits);
    row.Overflow = row.Overflow || !fits;
    left = r.Right;
  }
  return row;
}

namespace {

// The caption without its accelerator marks ("&&" stays one "&").
std::string PlainCaption(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += caption[++i];
      continue;
    }
    out += caption[i];
  }
  return out;
}

// The width an item's image takes beside its caption (0 without one).
int ImageWidth(const TMenuItem& item) {
  if (item.ImageIndex() >= 0) {
    if (const TMenu* menu = item.GetParentMenu(); menu && menu->Images()) return menu->Images()->Width();
  }
  return item.Bitmap().Empty() ? 0 : item.Bitmap().Width();
}

}  // namespace

TqzSkinMainMenuBar::TqzSkinMainMenuBar(TComponent* AOwner)
    : TqzSkinCustomControl(AOwner), defItemFont_(std::make_unique<TFont>()) {
  SetSkinDataName("mainmenubar");
  SetAlign(alTop);
  defItemFont_->SetName("Tahoma");
  defItemFont_->SetHeight(13);
  defItemFont_->SetColor(clBtnText);
  SetDefaultHeight(22);
  SetBounds(Left(), Top(), Width(), 22);
}

TqzSkinMainMenuBar::~TqzSkinMainMenuBar() {
  CloseOpenMenu();
  SetMainMenu(nullptr);
  SetOrvane(nullptr);
}

void TqzSkinMainMenuBar::SetOrvane(TqzOrvane* v) { SetReference(orvane_, v); }

void TqzSkinMainMenuBar::SetToolBarMode(bool v) {
  toolBarMode_ = v;
  Invalidate();
}
void TqzSkinMainMenuBar::SetToolBarModeItemTransparent(bool v) {
  toolBarModeItemTransparent_ = v;
  Invalidate();
}
void TqzSkinMainMenuBar::SetUseSkinSize(bool v) {
  useSkinSize_ = v;
  Layout();
  Invalidate();
}
void TqzSkinMainMenuBar::SetScrollMenu(bool v) {
  scrollMenu_ = v;
  Layout();
  Invalidate();
}

void TqzSkinMainMenuBar::SetMainMenu(TMainMenu* v) {
  if (mainMenu_ == v) return;
  if (mainMenu_) mainMenu_->OnChange = nullptr;
  SetReference(mainMenu_, v);
  if (mainMenu_) {
    TComponentRef<TqzSkinMainMenuBar> self(this);
    mainMenu_->OnChange = [self](TObject*) {
      if (self) {
        self->RebuildItems();
        self->Invalidate();
      }
    };
  }
  RebuildItems();
  Invalidate();
}

void TqzSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  TqzSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == static_cast<TComponent*>(orvane_)) orvane_ = nullptr;
  if (AComponent == mainMenu_) {
    mainMenu_ = nullptr;
    items_.clear();
    hot_ = oldHot_ = pressed_ = down_ = -1;
  }
}

const TqzDataSkinMainMenuBar* TqzSkinMainMenuBar::BarData() const {
  return dynamic_cast<const TqzDataSkinMainMenuBar*>(SkinDescription());
}

const TqzDataSkinMainMenuItem* TqzSkinMainMenuBar::ItemData() const {
  const TqzDataSkinMainMenuBar* bar = BarData();
  if (!bar || !SkinData() || bar->MenuBarItem.empty()) return nullptr;
  const int index = SkinData()->FindObjectIndex(bar->MenuBarItem);
  if (index < 0) return nullptr;
  return dynamic_cast<const TqzDataSkinMainMenuItem*>(SkinData()->ObjectList()[size_t(index)].get());
}

void TqzSkinMainMenuBar::ChangeSkinData() {
  TqzSkinCustomControl::ChangeSkinData();
  RebuildItems();
  Invalidate();
}

void TqzSkinMainMenuBar::CalcSize(int& W, int& H) {
  const TqzDataSkinMainMenuBar* bar = BarData();
  if (bar && useSkinSize_ && !bar->SkinRect.IsEmpty()) H = bar->SkinRect.Height();
}

void TqzSkinMainMenuBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TqzSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  Layout();
}

void TqzSkinMainMenuBar::RebuildItems() {
  CloseOpenMenu();
  items_.clear();
  hot_ = oldHot_ = pressed_ = down_ = -1;
  for (TMenuItem* item : ShownMenuItems()) {
    TqzSkinMainMenuBarItem object(*item);
    object.OwnEnabled = object.Enabled = item->Enabled();
    items_.push_back(std::move(object));
  }
  RebuildMDIButtons();
  Layout();
}

// The visible top items of the menu; on an MDI form whose active child has
// a menu of its own, the two merged.
std::vector<TMenuItem*> TqzSkinMainMenuBar::ShownMenuItems() const {
  if (!mainMenu_) return {};
  const TMainMenu* childMenu = nullptr;
  if (const TCustomForm* form = GetParentForm(this); form && form->MDIClient())
    if (const TCustomForm* child = form->ActiveMDIChild(); child && child->Visible()) childMenu = child->Menu();
  return MergedMenuItems(mainMenu_, childMenu);
}

TCustomForm* TqzSkinMainMenuBar::MaximizedMDIChild() const {
  const TCustomForm* form = GetParentForm(this);
  return form ? MaximizedMDIChildOf(*form) : nullptr;
}

void TqzSkinMainMenuBar::UpdateMDI() {
  RebuildItems();
  Invalidate();
}

void TqzSkinMainMenuBar::RebuildMDIButtons() {
  mdiButtons_.clear();
  mdiHot_ = mdiPressed_ = -1;
  if (!MaximizedMDIChild()) return;
  const TqzDataSkinMainMenuBar* bar = BarData();
  const bool skinned = bar && SkinData() && !bar->SkinRect.IsEmpty();
  const std::pair<TqzMDIButtonKind, const std::string*> kinds[] = {
      {TqzMDIButtonKind::SysMenu, skinned ? &bar->SysMenuButton : nullptr},
      {TqzMDIButtonKind::Close, skinned ? &bar->CloseButton : nullptr},
      {TqzMDIButtonKind::Restore, skinned ? &bar->MaxButton : nullptr},
      {TqzMDIButtonKind::Minimize, skinned ? &bar->MinButton : nullptr}};
  for (const auto& [kind, name] : kinds) {
    const TqzDataSkinButton* data = nullptr;
    if (skinned) {
      // A button whose description is missing is left out of the skinned set.
      const int index = name->empty() ? -1 : SkinData()->FindObjectIndex(*name);
      if (index >= 0) data = dynamic_cast<const TqzDataSkinButton*>(SkinData()->ObjectList()[size_t(index)].get());
      if (!data) continue;
    }
    mdiButtons_.emplace_back(kind, data);
  }
  UpdateMDIButtonStates();
}

// Enabled as the maximised child's border icons allow: the system button
// with its system menu, restore with maximise, minimise with minimise; a
// child can always be closed.
void TqzSkinMainMenuBar::UpdateMDIButtonStates() {
  TCustomForm* child = MaximizedMDIChild();
  if (!child) return;
  bool sys = child->BorderIcons().Contains(TBorderIcon::biSystemMenu);
  bool max = child->BorderIcons().Contains(TBorderIcon::biMaximize);
  bool min = child->BorderIcons().Contains(TBorderIcon::biMinimize);
  for (int i = 0; i < child->ComponentCount(); ++i)
    if (auto* o = dynamic_cast<TqzOrvane*>(child->Components(i))) {
      sys = o->BorderIcons().Contains(biSystemMenu);
      max = o->BorderIcons().Contains(biMaximize);
      min = o->BorderIcons().Contains(biMinimize);
      break;
    }
  for (auto& b : mdiButtons_) {
    switch (b.Kind) {
      case TqzMDIButtonKind::SysMenu: b.Enabled = sys; break;
      case TqzMDIButtonKind::Close: b.Enabled = true; break;
      case TqzMDIButtonKind::Restore: b.Enabled = max; break;
      case TqzMDIButtonKind::Minimize: b.Enabled = min; break;
    }
  }
}

int TqzSkinMainMenuBar::MDIButtonAt(TPoint p) const {
  for (size_t i = 0; i < mdiButtons_.size(); ++i)
    if (mdiButtons_[i].Enabled && mdiButtons_[i].Rect.Contains(p)) return int(i);
  return -1;
}

void TqzSkinMainMenuBar::ApplyItemFont(TCanvas& canvas, const TqzSkinMainMenuBarItem& item) const {
  const TqzDataSkinMainMenuItem* d = ItemData();
  if (d && UseSkinFont()) {
    canvas.Font().SetName(d->FontName);
    canvas.Font().SetHeight(d->FontHeight);
    canvas.Font().SetStyle(d->FontStyle);
  } else {
    canvas.Font().Assign(*defItemFont_);
  }
  if (SkinData() && SkinData()->ResourceStrData())
    canvas.Font().SetCharset(static_cast<TFontCharset>(SkinData()->ResourceStrData()->CharSet()));
  TColor color = d ? d->FontColor : defItemFont_->Color();
  if (!item.Enabled)
    color = d ? d->UnEnabledFontColor : PlainShadowColor();
  else if (item.Down && d)
    color = d->DownFontColor;
  else if (item.Active && d)
    color = d->ActiveFontColor;
  canvas.Font().SetColor(color);
}

int TqzSkinMainMenuBar::ItemWidth(const TqzSkinMainMenuBarItem& item) const {
  if (!item.Item) return 0;
  TCanvas measure;
  ApplyItemFont(measure, item);
  const int text = measure.TextWidth(PlainCaption(item.Item->Caption()));
  const int image = ImageWidth(*item.Item);
  const int imagePart = image > 0 ? image + 5 : 0;
  if (const TqzDataSkinMainMenuItem* d = ItemData())
    return d->SkinRect.Width() + d->TextRect.Left - d->TextRect.Right + text + 2 + imagePart;
  return text + 14 + imagePart;
}

void TqzSkinMainMenuBar::Layout() {
  const int w = Width(), h = Height();
  const TqzDataSkinMainMenuBar* bar = BarData();
  if (bar && !bar->SkinRect.IsEmpty()) {
    const TRect& ir = bar->ItemsRect;
    const int bottom = useSkinSize_ ? ir.Bottom : h + ir.Bottom - bar->SkinRect.Height();
    itemArea_ = {ir.Left, ir.Top, w + ir.Right - bar->SkinRect.Width(), bottom};
  } else {
    itemArea_ = {2, 2, w - 2, h - 2};
  }
  if (!mdiButtons_.empty()) {
    std::vector<TqzMDIButtonKind> kinds;
    std::vector<TSize> sizes;
    for (const auto& b : mdiButtons_) {
      kinds.push_back(b.Kind);
      // Skinned buttons take their look's size; plain ones are squares.
      sizes.push_back(b.Data ? b.Data->SkinRect.Size() : TSize{itemArea_.Height(), itemArea_.Height()});
    }
    const std::vector<TRect> rects = LayoutMDIButtons(itemArea_, kinds, sizes);
    for (size_t i = 0; i < mdiButtons_.size(); ++i) mdiButtons_[i].Rect = rects[i];
  }
  std::vector<int> widths;
  for (const auto& item : items_) widths.push_back(ItemWidth(item));
  const TqzMenuBarRow row =
      LayoutMenuBarItems(itemArea_, widths, scrollMenu_ ? kMenuBarMarkerWidth : 0);
  overflow_ = row.Overflow;
  for (size_t i = 0; i < items_.size(); ++i) {
    TqzSkinMainMenuBarItem& item = items_[i];
    item.Rect = row.Rects[i];
    item.Visible = row.Fits[i];
    if (item.Item) item.OwnEnabled = item.Item->Enabled();
    item.Enabled = item.Visible && item.OwnEnabled;
    if (!item.Visible) item.Active = false;
  }
  if (hot_ >= 0 && !Selectable(hot_)) hot_ = -1;
  if (!overflow_) markerHot_ = false;
}

TRect TqzSkinMainMenuBar::MarkerRect() const {
  if (!overflow_ || !scrollMenu_) return {};
  return {itemArea_.Right - kMenuBarMarkerWidth, itemArea_.Top, itemArea_.Right, itemArea_.Bottom};
}

int TqzSkinMainMenuBar::ItemAt(TPoint p) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].Visible && items_[i].Enabled && items_[i].Rect.Contains(p)) return int(i);
  return -1;
}

std::vector<TMenuItem*> TqzSkinMainMenuBar::HiddenItems() const {
  std::vector<TMenuItem*> hidden;
  for (const auto& item : items_)
    if (!item.Visible && item.Item) hidden.push_back(item.Item.Get());
  return hidden;
}

// ---------------------------------------------------------------------------
// Painting

// Draws the bar's band, items and marker into the bar's bitmap.
class TqzMenuBarPainter {
 public:
  explicit TqzMenuBarPainter(TqzSkinMainMenuBar& bar) : bar_(bar) {}

  void Band(TBitmap& B, bool skinned) {
    const TqzDataSkinMainMenuBar* d = bar_.BarData();
    TCanvas& c = B.Canvas();
    const bool transparent = skinned && bar_.SkinData() && bar_.SkinData()->MainMenuBarTransparent;
    if (transparent) {
      GetParentImage(&bar_, c);
      return;
    }
    TBitmap* picture = skinned && d ? bar_.SkinData()->ActivePicture(d->PictureIndex) : nullptr;
    if (!picture || d->SkinRect.IsEmpty()) {
      c.Brush().SetStyle(TBrushStyle::bsSolid);
      c.Brush().SetColor(PlainFaceColor());
      c.FillRect(Rect(0, 0, B.Width(), B.Height()));
      return;
    }
    TBitmap band;
    if (bar_.useSkinSize_) {
      CreateHSkinImage(d->ItemsRect.Left, d->SkinRect.Width() - d->ItemsRect.Right, band, d->StretchEffect,
                       B.Width(), d->SkinRect, *picture);
    } else {
      const int h = B.Height();
      band.SetSize(B.Width(), h);
      CreateStretchImage(band, *picture, d->SkinRect,
                         Rect(d->ItemsRect.Left, h / 4, d->ItemsRect.Right, h - h / 4), true);
    }
    c.Draw(0, 0, band);
  }

  void Item(TCanvas& c, const TqzSkinMainMenuBarItem& item) {
    if (!item.Visible || !item.Item || item.Rect.IsEmpty()) return;
    const TqzDataSkinMainMenuItem* d = bar_.ItemData();
    TRect textRect = item.Rect;
    if (d) {
      SkinLook(c, *d, item);
      textRect = {item.Rect.Left + d->TextRect.Left, item.Rect.Top + d->TextRect.Top,
                  item.Rect.Right - (d->SkinRect.Width() - d->TextRect.Right),
                  item.Rect.Top + d->TextRect.Bottom};
    } else {
      DefaultLook(c, item);
      textRect = {item.Rect.Left + 7, item.Rect.Top, item.Rect.Right - 7, item.Rect.Bottom};
    }
    const int image = ImageWidth(*item.Item);
    if (image > 0) {
      DrawItemImage(c, *item.Item, textRect);
      textRect.Left += image + 5;
    }
    bar_.ApplyItemFont(c, item);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    DrawTextAligned(c, PlainCaption(item.Item->Caption()), textRect, 2);
  }

  void MDIButton(TCanvas& c, const TqzSkinMainMenuBarButton& b) {
    if (b.Rect.IsEmpty()) return;
    if (b.Data) {
      SkinButton(c, b, *b.Data);
      return;
    }
    PlainButton(c, b);
  }

  void Marker(TCanvas& c) {
    const TRect r = bar_.MarkerRect();
    if (r.IsEmpty()) return;
    const TqzDataSkinMainMenuBar* d = bar_.BarData();
    TColor color;
    if (d)
      color = bar_.markerHot_ ? d->TrackMarkActiveColor : d->TrackMarkColor;
    else
      color = ColorToRGB(bar_.markerHot_ ? clBtnText : clBtnShadow);
    // Two small chevrons pointing right, centred in the marker.
    const int cy = (r.Top + r.Bottom) / 2;
    for (int dx = 0; dx < 2; ++dx)
      for (int i = 0; i < 3; ++i) {
        c.SetPixel(r.Left + dx * 2 + i / 2, cy - 2 + i, color);
        c.SetPixel(r.Left + dx * 2 + i / 2, cy + 2 - i, color);
      }
  }

 private:
  TBitmap* ItemPicture(const TqzDataSkinMainMenuItem& d) const {
    TqzSkinData* skin = bar_.SkinData();
    if (!skin) return nullptr;
    if (d.SkinRectInAPicture) return skin->ActivePicture(d.ActivePictureIndex);
    TBitmap& p = skin->Picture();
    return p.Empty() ? nullptr : &p;
  }

  void Compose(TBitmap& out, const TqzDataSkinMainMenuItem& d, const TRect& look, int w,
               const TBitmap& picture) {
    CreateHSkinImage(d.ItemLeftOffset, d.ItemRightOffset, out, d.StretchEffect, w, look, picture);
  }

  // The i-th of `count` equal slices of `r` (1-based), stacked vertically
  // when `r` is taller than the item look, else side by side.
  static TRect Frame(const TRect& r, int i, int count, const TRect& look) {
    if (r.Height() > look.Height()) {
      const int h = r.Height() / count;
      return {r.Left, r.Top + (i - 1) * h, r.Right, r.Top + i * h};
    }
    const int w = r.Width() / count;
    return {r.Left + (i - 1) * w, r.Top, r.Left + i * w, r.Bottom};
  }

  void SkinLook(TCanvas& c, const TqzDataSkinMainMenuItem& d, const TqzSkinMainMenuBarItem& item) {
    TBitmap* picture = ItemPicture(d);
    if (!picture) return;
    const int w = item.Rect.Width();
    const TRect active = d.ActiveSkinRect.IsEmpty() ? d.SkinRect : d.ActiveSkinRect;
    TBitmap image;
    if (item.Down) {
      Compose(image, d, d.DownRect.IsEmpty() ? active : d.DownRect, w, *picture);
    } else if (!d.AnimateSkinRect.IsEmpty() && d.FrameCount > 0 && item.FrameIndex >= 1 &&
               item.FrameIndex <= d.FrameCount) {
      Compose(image, d, Frame(d.AnimateSkinRect, item.FrameIndex, d.FrameCount, d.SkinRect), w, *picture);
    } else if (item.MorphStep != 0 || (item.MorphKf > 0 && item.MorphKf < 1)) {
      TBitmap normal, hot;
      Compose(normal, d, d.SkinRect, w, *picture);
      Compose(hot, d, active, w, *picture);
      TqzEffectBmp blend(normal);
      blend.ApplyMorph(d.MorphKind, TqzEffectBmp(hot), item.MorphKf);
      blend.Draw(&c, item.Rect.Left, item.Rect.Top);
      return;
    } else {
      Compose(image, d, item.Active ? active : d.SkinRect, w, *picture);
    }
    c.Draw(item.Rect.Left, item.Rect.Top, image);
  }

  // The button's look from its description at the look's own size: the
  // disabled look (else the normal one), the down look (else the active),
  // the active look while hot (else the normal one).
  void SkinButton(TCanvas& c, const TqzSkinMainMenuBarButton& b, const TqzDataSkinButton& d) {
    TqzSkinData* skin = bar_.SkinData();
    if (!skin) return;
    const TqzMDIButtonLook look = MDIButtonLook(b, d, *skin);
    if (!look.Picture || look.Picture->Empty() || look.Rect.IsEmpty()) return;
    c.CopyRect(b.Rect, const_cast<TBitmap*>(look.Picture)->Canvas(), look.Rect);
  }

  // Hot buttons get the plain hot fill and frame, pressed ones the pressed
  // fill; the glyph is drawn in the button-text colour (shadow when disabled).
  void PlainButton(TCanvas& c, const TqzSkinMainMenuBarButton& b) {
    const TRect& r = b.Rect;
    if (b.Enabled && (b.Down || b.Active)) {
      c.Brush().SetStyle(TBrushStyle::bsSolid);
      c.Brush().SetColor(b.Down ? kPlainLookDownFill : kPlainLookHotFill);
      c.FillRect(r);
      c.Brush().SetColor(kPlainLookHotFrame);
      c.FrameRect(r);
    }
    const TColor ink = ColorToRGB(b.Enabled ? clBtnText : clBtnShadow);
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2, e = std::max(2, r.Height() / 4);
    auto line = [&](int x1, int y1, int x2, int y2) {
      const int n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
      for (int k = 0; k <= n; ++k)
        c.SetPixel(x1 + (n ? (x2 - x1) * k / n : 0), y1 + (n ? (y2 - y1) * k / n : 0), ink);
    };
    auto box = [&](int l, int t, int rr, int bb) {
      line(l, t, rr, t);
      line(l, t + 1, rr, t + 1);
      line(l, bb, rr, bb);
      line(l, t, l, bb);
      line(rr, t, rr, bb);
    };
    switch (b.Kind) {
      case TqzMDIButtonKind::SysMenu:
        for (int y = cy - e; y <= cy + e; ++y) line(cx - e, y, cx + e, y);
        break;
      case TqzMDIButtonKind::Close:
        line(cx - e, cy - e, cx + e, cy + e);
        line(cx - e, cy + e, cx + e, cy - e);
        break;
      case TqzMDIButtonKind::Restore:
        box(cx - e + 2, cy - e, cx + e, cy + e - 2);
        box(cx - e, cy - e + 2, cx + e - 2, cy + e);
        break;
      case TqzMDIButtonKind::Minimize:
        line(cx - e, cy + e, cx + e, cy + e);
        line(cx - e, cy + e - 1, cx + e, cy + e - 1);
        break;
    }
  }

  // Hot items are raised, the item whose menu is open is sunken.
  void DefaultLook(TCanvas& c, const TqzSkinMainMenuBarItem& item) {
    if (!item.Down && !item.Active) return;
    const TColor light = PlainHighlightColor(), dark = PlainShadowColor();
    const TColor topLeft = item.Down ? dark : light, bottomRight = item.Down ? light : dark;
    const TRect& r = item.Rect;
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(topLeft);
    c.FillRect(Rect(r.Left, r.Top, r.Right, r.Top + 1));
    c.FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
    c.Brush().SetColor(bottomRight);
    c.FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    c.FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
  }

  void DrawItemImage(TCanvas& c, const TMenuItem& item, const TRect& textRect) {
    const TMenu* menu = item.GetParentMenu();
    if (item.ImageIndex() >= 0 && menu && menu->Images()) {
      const int y = textRect.Top + (textRect.Height() - menu->Images()->Height()) / 2;
      menu->Images()->Draw(c, textRect.Left, y, item.ImageIndex(), item.Enabled());
    } else if (!item.Bitmap().Empty()) {
      const int y = textRect.Top + (textRect.Height() - item.Bitmap().Height()) / 2;
      c.Draw(textRect.Left, y, item.Bitmap());
    }
  }

  TqzSkinMainMenuBar& bar_;
};

void TqzSkinMainMenuBar::CreateControlSkinImage(TBitmap& B) {
  TqzMenuBarPainter painter(*this);
  painter.Band(B, true);
  for (const auto& item : items_) painter.Item(B.Canvas(), item);
  for (const auto& button : mdiButtons_) painter.MDIButton(B.Canvas(), button);
  painter.Marker(B.Canvas());
}

void TqzSkinMainMenuBar::CreateControlDefaultImage(TBitmap& B) {
  TqzMenuBarPainter painter(*this);
  painter.Band(B, false);
  for (const auto& item : items_) painter.Item(B.Canvas(), item);
  for (const auto& button : mdiButtons_) painter.MDIButton(B.Canvas(), button);
  painter.Marker(B.Canvas());
}

TqzMDIButtonLook MDIButtonLook(const TqzSkinMainMenuBarButton& b, const TqzDataSkinButton& d, TqzSkinData& skin) {
  const TBitmap* own = skin.ActivePicture(d.ActivePictureIndex);
  const TBitmap* frame = skin.Picture().Empty() ? nullptr : &skin.Picture();
  const TqzMDIButtonLook normal{d.SkinRectInAPicture ? own : frame, d.SkinRect};
  auto ownLook = [&](const TRect& r, const TqzMDIButtonLook& fallback) {
    return own && !r.IsEmpty() ? TqzMDIButtonLook{own, r} : fallback;
  };
  if (!b.Enabled) return ownLook(d.DisableSkinRect, normal);
  const TqzMDIButtonLook active = ownLook(d.ActiveSkinRect, normal);
  if (b.Down) return ownLook(d.DownRect, active);
  return b.Active ? active : normal;
}

QZ_PUBLISHED(TqzSkinMainMenuBar, TqzSkinCustomControl) {
  using O = TqzSkinMainMenuBar;
  b.Factory([](TComponent* owner) { return new TqzSkinMainMenuBar(owner); });
  b.Prop("SkinDataName", &O::SkinDataName, [](O& o, const std::string& v) { o.SetSkinDataName(v); },
         std::string("mainmenubar"));
  b.Prop("DefaultHeight", &O::DefaultHeight, &O::SetDefaultHeight, 22);
  b.Prop("ToolBarMode", &O::ToolBarMode, &O::SetToolBarMode, false);
  b.Prop("ToolBarModeItemTransparent", &O::ToolBarModeItemTransparent, &O::SetToolBarModeItemTransparent, false);
  b.Prop("UseSkinSize", &O::UseSkinSize, &O::SetUseSkinSize, true);
  b.Prop("ScrollMenu", &O::ScrollMenu, &O::SetScrollMenu, true);
  b.Object("DefItemFont", [](O& o) -> TFont& { return o.DefItemFont(); });
  b.Prop("PopupToUp", &O::PopupToUp, &O::SetPopupToUp, false);
  b.Ref<TqzOrvane>("Orvane", &O::Orvane, &O::SetOrvane);
  b.Ref<TMainMenu>("MainMenu", &O::MainMenu, &O::SetMainMenu);
  b.Event<TNotifyEvent>("OnClick", &O::OnClick);
}

}  // namespace qz
