#include "skin/controls/SkinPageControl.h"

#include <algorithm>
#include <limits>

#include "host/base/Stream.h"
#include "host/ui/ImgList.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/ResourceStrData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QzColors.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/SkinImage.h"

namespace qz {

namespace {

// The close button: a square at the right end of a tab.
constexpr int kCloseSize = 14;
constexpr int kCloseGap = 2;
constexpr int kCloseSkinGap = 3;

void FlipVertically(TBitmap& b) {
  TPixmap& p = b.Pixels();
  for (int y = 0; y < p.Height() / 2; ++y)
    for (int x = 0; x < p.Width(); ++x) std::swap(p.At(x, y), p.At(x, p.Height() - 1 - y));
  b.Modified();
}

// A quarter turn: counter-clockwise for tabs on the left, clockwise for the right.
void Rotate(TBitmap& b, bool counterClockwise) {
  const TPixmap& src = b.Pixels();
  TPixmap dst(src.Height(), src.Width());
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) {
      if (counterClockwise)
        dst.At(y, src.Width() - 1 - x) = src.At(x, y);
      else
        dst.At(src.Height() - 1 - y, x) = src.At(x, y);
    }
  b.SetSize(dst.Width(), dst.Height());
  b.Pixels() = std::move(dst);
  b.Modified();
}

// `piece` of `source` over `area` of `dest`, the way a client area is
// filled: stretched by the stretch type when `stretch`, else tiled from the
// area's top-left.
void LayPiece(TCanvas& dest, const TRect& area, const TBitmap& source, const TRect& piece, bool stretch,
              TqzStretchType type = TqzStretchType::Full) {
  if (IsNullRect(piece) || IsNullRect(area)) return;
  TBitmap laid(area.Width(), area.Height());
  ComposeClientFill(source.Pixels(), piece, laid.Pixels(), stretch, type);
  laid.Modified();
  dest.Draw(area.Left, area.Top, laid);
}

bool Vertical(TTabPosition p) { return p == tpLeft || p == tpRight; }

}  // namespace

// ---------------------------------------------------------------- TqzTabLook

TRect TqzTabLook::Borders() const {
  const TRect& r = Page.SkinRect;
  const TRect& cl = Page.ClientRect;
  return {cl.Left, cl.Top, r.Width() - cl.Right, r.Height() - cl.Bottom};
}

TqzTabLook TqzTabLook::From(const TqzDataSkinTabControl& d, const TqzSkinData& skin) {
  TqzTabLook l;
  l.Page = d.Geometry();
  l.TabRect = d.TabRect;
  l.ActiveTabRect = IsNullRect(d.ActiveTabRect) ? d.TabRect : d.ActiveTabRect;
  l.FocusTabRect = IsNullRect(d.FocusTabRect) ? l.ActiveTabRect : d.FocusTabRect;
  l.MouseInTabRect = d.MouseInTabRect;
  l.TabLeftOffset = d.TabLeftOffset;
  l.TabRightOffset = d.TabRightOffset;
  l.TabsBGRect = d.TabsBGRect;
  l.TabStretchEffect = d.TabStretchEffect;
  l.FontName = d.FontName;
  l.FontHeight = d.FontHeight;
  l.FontStyle = d.FontStyle;
  l.FontColor = d.FontColor;
  l.ActiveFontColor = d.ActiveFontColor;
  l.FocusFontColor = d.FocusFontColor;
  l.MouseInFontColor = d.MouseInFontColor;
  l.ShowFocus = d.ShowFocus;
  l.FocusOffsetX = d.FocusOffsetX;
  l.FocusOffsetY = d.FocusOffsetY;
  l.CloseButtonRect = d.CloseButtonRect;
  l.CloseButtonActiveRect = d.CloseButtonActiveRect;
  l.CloseButtonDownRect = d.CloseButtonDownRect;
  l.ButtonTransparent = d.ButtonTransparent;
  l.ButtonTransparentColor = d.ButtonTransparentColor;
  l.TabLeftBottomActiveRect = d.TabLeftBottomActiveRect;
  l.TabLeftBottomFocusRect = d.TabLeftBottomFocusRect;
  l.UpDown = d.UpDown;
  l.Picture = skin.ActivePicture(d.PictureIndex);
  l.BGPicture = skin.ActivePicture(d.BGPictureIndex);
  return l;
}

// ---------------------------------------------------------------- sheets

TqzSkinCustomTabSheet::TqzSkinCustomTabSheet(TComponent* AOwner) : TTabSheet(AOwner) {
  align_ = alClient;
}

void TqzSkinCustomTabSheet::SetWallPaper(const TBitmap& value) {
  wallPaper_.Assign(value);
  Invalidate();
}

std::vector<uint8_t> TqzSkinCustomTabSheet::WallPaperData() const {
  if (wallPaper_.Empty()) return {};
  TMemoryStream stream;
  wallPaper_.WriteData(stream);
  return stream.Data();
}

void TqzSkinCustomTabSheet::SetWallPaperData(const std::vector<uint8_t>& data) {
  if (data.empty()) {
    wallPaper_.Clear();
  } else {
    TBytesStream stream(data.data(), data.size());
    wallPaper_.ReadData(stream);
  }
  Invalidate();
}

TqzSkinPageControl* TqzSkinCustomTabSheet::SkinPageControl() const {
  return As<TqzSkinPageControl>(PageControl());
}

void TqzSkinCustomTabSheet::PaintBackground(TCanvas& canvas) {
  TRect r = ClientRect();
  if (!wallPaper_.Empty()) {
    LayPiece(canvas, r, wallPaper_, {0, 0, wallPaper_.Width(), wallPaper_.Height()}, false);
    return;
  }
  if (TqzSkinPageControl* pc = SkinPageControl()) {
    pc->PaintPageBackground(canvas, r);
    return;
  }
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(r);
}

void TqzSkinCustomTabSheet::Paint() {
  // One off-screen picture, copied once.
  TBitmap buffer(Width(), Height());
  PaintBackground(buffer.Canvas());
  Canvas().Draw(0, 0, buffer);
}

void TqzSkinCustomTabSheet::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  bool sized = AWidth != width_ || AHeight != height_;
  TTabSheet::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!sized) return;
  Invalidate();
  TqzSkinPageControl* pc = SkinPageControl();
  bool stretched = pc && pc->Look() && pc->Look()->Page.StretchEffect && wallPaper_.Empty();
  if (!stretched) return;
  // What blending children show of this sheet changed with its size.
  for (TWinControl* child : WinControls()) child->Perform(MSG_REFRESH_ALPHABLEND);
}

// ---------------------------------------------------------------- TqzSkinPageControl

TqzSkinPageControl::TqzSkinPageControl(TComponent* AOwner)
    : TPageControl(AOwner), defaultFont_(std::make_unique<TFont>()) {
  defaultFont_->SetName("Tahoma");
  defaultFont_->SetHeight(13);
  defaultFont_->SetColor(clBtnText);
}

TqzSkinPageControl::~TqzSkinPageControl() = default;

// ---- properties

void TqzSkinPageControl::SetButtonTabSkinDataName(const std::string& v) {
  buttonTabSkinDataName_ = v;
  Invalidate();
}
void TqzSkinPageControl::SetTabsOffset(int v) {
  tabsOffset_ = v;
  TabsChanged();
}
void TqzSkinPageControl::SetTabExtededDraw(bool v) {
  tabExtededDraw_ = v;
  Invalidate();
}
void TqzSkinPageControl::SetTabMargin(int v) {
  tabMargin_ = v;
  Invalidate();
}
void TqzSkinPageControl::SetTabSpacing(int v) {
  tabSpacing_ = v;
  Invalidate();
}
void TqzSkinPageControl::SetTabLayout(TqzButtonLayout v) {
  tabLayout_ = v;
  Invalidate();
}
void TqzSkinPageControl::SetTextInHorizontal(bool v) {
  textInHorizontal_ = v;
  Invalidate();
}
void TqzSkinPageControl::SetTabsInCenter(bool v) {
  tabsInCenter_ = v;
  TabsChanged();
}
void TqzSkinPageControl::SetShowCloseButtons(bool v) {
  if (v == showCloseButtons_) return;
  showCloseButtons_ = v;
  TabsChanged();
}
void TqzSkinPageControl::SetImages(TCustomImageList* v) {
  SetReference(images_, v);
  TabsChanged();
}
void TqzSkinPageControl::SetTabsBGTransparent(bool v) {
  tabsBGTransparent_ = v;
  Invalidate();
}
void TqzSkinPageControl::SetUseSkinFont(bool v) {
  useSkinFont_ = v;
  ApplyFont();
}
void TqzSkinPageControl::SetDefaultItemHeight(int v) {
  defaultItemHeight_ = std::max(v, 0);
  TabsChanged();
  Realign();
}

void TqzSkinPageControl::SetSkinData(TqzSkinData* v) {
  SetReference(skinData_, v);
  ChangeSkinData();
}

void TqzSkinPageControl::SetSkinDataName(const std::string& v) {
  skinDataName_ = v;
  if (!InState(csLoading)) ChangeSkinData();
}

void TqzSkinPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TPageControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == upDown_) {
    upDown_ = nullptr;
    return;
  }
  // The reference slot is already cleared when the skin goes.
  if (!skinData_ && look_) {
    look_.reset();
    TabsChanged();
    Realign();
  }
}

// ---- skin

const TqzDataSkinTabControl* TqzSkinPageControl::Description() const {
  if (!skinData_ || skinData_->Empty()) return nullptr;
  int index = skinData_->FindControlIndex(skinDataName_);
  if (index < 0) return nullptr;
  return As<TqzDataSkinTabControl>(skinData_->CtrlList()[size_t(index)].get());
}

void TqzSkinPageControl::RefreshLook() {
  const TqzDataSkinTabControl* d = Description();
  if (d)
    look_ = TqzTabLook::From(*d, *skinData_);
  else
    look_.reset();
}

void TqzSkinPageControl::ApplyFont() {
  TFont f;
  if (look_ && useSkinFont_) {
    f.SetName(look_->FontName);
    f.SetHeight(look_->FontHeight);
    f.SetStyle(look_->FontStyle);
    f.SetColor(look_->FontColor);
  } else {
    f.Assign(*defaultFont_);
  }
  // Captions are in the language of the skin's texts when it has them.
  const TqzResourceStrData* strings = skinData_ ? skinData_->ResourceStrData() : nullptr;
  f.SetCharset(strings ? TFontCharset(strings->CharSet()) : defaultFont_->Charset());
  SetParentFont(false);
  SetFont(f);  // the tab sizes follow the font
}

void TqzSkinPageControl::BeforeChangeSkinData() {
  // The skin's descriptions and pictures go away now.
  look_.reset();
}

void TqzSkinPageControl::ChangeSkinData() {
  RefreshLook();
  ApplyFont();
  TabsChanged();
  Realign();
  if (ActivePage()) ActivePage()->Invalidate();
}

void TqzSkinPageControl::Loaded() {
  TPageControl::Loaded();
  ChangeSkinData();
}

// ---- tabs and page area

void TqzSkinPageControl::HideTabs() {
  if (TabPosition() != tpTop) SetTabPosition(tpTop);
  tabsHidden_ = true;
  hotTab_ = oldHotTab_ = -1;
  delete upDown_;  // clears upDown_ through Notification
  TabsChanged();
  Realign();
}

TSize TqzSkinPageControl::TabScrollerSize() const {
  if (look_) {
    if (auto pieces = FindUpDownPieces(skinData_, look_->UpDown))
      if (auto size = UpDownSkinSize(*pieces, Vertical(TabPosition()))) return *size;
  }
  return TPageControl::TabScrollerSize();
}

void TqzSkinPageControl::UpdateTabScroller() {
  if (InState(csDestroying)) return;
  // Last in the tab order, so that the sheets' tab orders (which form
  // resources store) are what they would be without the scroller.
  constexpr int kLastTabOrder = std::numeric_limits<int>::max();
  if (upDown_) upDown_->SetTabOrder(kLastTabOrder);
  TRect r = TabScrollerRect();
  if (r.IsEmpty()) {
    if (upDown_) upDown_->SetVisible(false);
    return;
  }
  if (!upDown_) {
    upDown_ = new TqzSkinUpDown(this);
    upDown_->SetParent(this);
    // The scroller is part of this control and dies with it.
    upDown_->OnClick = [this](TObject*, int delta) { ScrollTabs(delta); };
    upDown_->SetTabOrder(kLastTabOrder);
  }
  upDown_->SetVertical(Vertical(TabPosition()));
  upDown_->SetSkinDataName(look_ ? look_->UpDown : std::string());
  if (upDown_->SkinData() != skinData_) upDown_->SetSkinData(skinData_);
  upDown_->SetBoundsRect(r);
  upDown_->SetButtonsEnabled(CanScrollTabs(false), CanScrollTabs(true));
  upDown_->SetVisible(true);
  upDown_->Invalidate();
}

int TqzSkinPageControl::TabItemHeight() const {
  if (TabHeight() > 0) return TabHeight();
  if (look_) return look_->TabRect.Height();
  return defaultItemHeight_;
}

int TqzSkinPageControl::TabItemWidth(const TTabSheet& page) const {
  int w = TPageControl::TabItemWidth(page);
  if (showCloseButtons_ && TabWidth() <= 0) w += kCloseSize + kCloseGap + (look_ ? kCloseSkinGap : 0);
  return w;
}

int TqzSkinPageControl::TabRowStart(int rowLength) const {
  if (!tabsInCenter_) return tabsOffset_;
  int side = Vertical(TabPosition()) ? Height() : Width();
  return std::max(0, (side - rowLength) / 2);
}

TRect TqzSkinPageControl::DisplayRect() const {
  if (tabsHidden_) return {0, -2, Width(), Height()};
  // Button-style tabs have no page frame: the host's margin only.
  if (!look_ || Style() != tsTabs) return TPageControl::DisplayRect();
  TRect b = look_->Borders();
  TRect band = TabBandRect();
  TRect f{0, 0, Width(), Height()};
  switch (TabPosition()) {
    case tpTop: f.Top = band.Bottom; break;
    case tpBottom: f.Bottom = band.Top; break;
    case tpLeft: f.Left = band.Right; break;
    case tpRight: f.Right = band.Left; break;
  }
  TRect r{f.Left + b.Left, f.Top + b.Top, f.Right - b.Right, f.Bottom - b.Bottom};
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

TRect TqzSkinPageControl::PageFrameRect() const {
  TRect r = DisplayRect();
  if (!look_) return InflateRect(r, 1, 1);
  if (Style() != tsTabs) return InflateRect(r, PageMargin(), PageMargin());
  TRect b = look_->Borders();
  return {r.Left - b.Left, r.Top - b.Top, r.Right + b.Right, r.Bottom + b.Bottom};
}

TRect TqzSkinPageControl::ActiveTabJoinedRect() const {
  int tab = TabIndex();
  if (tab < 0 || tabsHidden_) return {};
  TRect r = TabRect(tab);
  int extra = look_ && Style() == tsTabs ? look_->ActiveTabRect.Height() - look_->TabRect.Height() : 0;
  switch (TabPosition()) {
    case tpTop: r.Bottom += std::max(extra, 0); break;
    case tpBottom: r.Top -= std::max(extra, 0); break;
    case tpLeft: r.Right += std::max(extra, 0); break;
    case tpRight: r.Left -= std::max(extra, 0); break;
  }
  // Only the part along the row that is in view (not under the scroller,
  // not scrolled off).
  TRect view = TabViewRect();
  if (Vertical(TabPosition())) {
    r.Top = std::max(r.Top, view.Top);
    r.Bottom = std::min(r.Bottom, view.Bottom);
  } else {
    r.Left = std::max(r.Left, view.Left);
    r.Right = std::min(r.Right, view.Right);
  }
  return IsNullRect(r) ? TRect{} : r;
}

void TqzSkinPageControl::Change() {
  TComponentRef<TqzSkinPageControl> self(this);
  UpdateTabScroller();
  TPageControl::Change();  // OnChange
  if (!self) return;
  Invalidate();
  if (ActivePage()) ActivePage()->Invalidate();
}

// ---- painting

void TqzSkinPageControl::Paint() {
  // The description may have changed since the last look (a skin change
  // that did not come through ChangeSkinData): never paint a stale copy.
  bool wasSkinned = look_.has_value();
  RefreshLook();
  if (wasSkinned != look_.has_value()) {
    TabsChanged();
    Realign();
  }
  TBitmap buffer(Width(), Height());
  if (look_)
    PaintSkinned(buffer.Canvas());
  else
    PaintPlain(buffer.Canvas());
  Canvas().Draw(0, 0, buffer);
}

void TqzSkinPageControl::PaintPlain(TCanvas& c) {
  c.Brush().SetColor(clBtnFace);
  c.FillRect({0, 0, Width(), Height()});
  if (tabsHidden_) return;
  if (Style() == tsTabs) {
    c.Brush().SetColor(clBtnShadow);
    c.FrameRect(InflateRect(DisplayRect(), 1, 1));
  }
  // Tabs scrolled off (or half under the scroller) show only in the view.
  int saved = c.SaveDC();
  c.IntersectClipRect(TabViewRect());
  const auto& tabs = Tabs();
  for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
    TBitmap tab;
    DrawTabImage(tab, i, tabs[size_t(i)].Page == ActivePage(), i == hotTab_);
    c.Draw(tabs[size_t(i)].Rect.Left, tabs[size_t(i)].Rect.Top, tab);
  }
  c.RestoreDC(saved);
}

void TqzSkinPageControl::PaintSkinned(TCanvas& c) {
  if (tabsHidden_) {
    // Only the page shows; an empty control shows the page background.
    PaintPageBackground(c, {0, 0, Width(), Height()});
    return;
  }
  // Without a page frame (button-style tabs) the page reaches the band.
  PaintPageBackground(c, Style() == tsTabs ? DisplayRect() : PageFrameRect());
  TRect joined = ActiveTabJoinedRect();
  int saved = c.SaveDC();
  if (!IsNullRect(joined)) c.ExcludeClipRect(joined);
  PaintFrame(c);
  PaintBand(c);
  c.RestoreDC(saved);
  int active = TabIndex();
  if (active < 0 || IsNullRect(joined)) return;  // no active tab in view
  TBitmap tab;
  DrawTabImage(tab, active, true, active == hotTab_);
  const TRect item = TabPlacement(active, true, active == hotTab_).Item;
  // Clipped along the row to the view; across it the tab may reach into the page.
  TRect view = TabViewRect();
  saved = c.SaveDC();
  c.IntersectClipRect(Vertical(TabPosition()) ? TRect{0, view.Top, Width(), view.Bottom}
                                              : TRect{view.Left, 0, view.Right, Height()});
  c.Draw(item.Left, item.Top, tab);
  c.RestoreDC(saved);
}

void TqzSkinPageControl::PaintFrame(TCanvas& c) {
  if (!look_->Picture || Style() != tsTabs) return;
  TRect f = PageFrameRect();
  const TqzSkinGeometry& g = look_->Page;
  TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, f.Width(), f.Height());
  TBitmap top, bottom, left, right;
  CreateSkinBorderImages(g, n, f.Width(), f.Height(), *look_->Picture, top, bottom, left, right);
  if (!top.Empty()) c.Draw(f.Left, f.Top, top);
  if (!left.Empty()) c.Draw(f.Left, f.Top + top.Height(), left);
  if (!right.Empty()) c.Draw(f.Right - right.Width(), f.Top + top.Height(), right);
  if (!bottom.Empty()) c.Draw(f.Left, f.Bottom - bottom.Height(), bottom);
}

void TqzSkinPageControl::PaintBand(TCanvas& c) {
  TRect f = PageFrameRect();
  TRect band;
  switch (TabPosition()) {
    case tpTop: band = {0, 0, Width(), f.Top}; break;
    case tpBottom: band = {0, f.Bottom, Width(), Height()}; break;
    case tpLeft: band = {0, 0, f.Left, Height()}; break;
    case tpRight: band = {f.Right, 0, Width(), Height()}; break;
  }
  if (IsNullRect(band)) return;
  TBitmap bmp(band.Width(), band.Height());
  TCanvas& bc = bmp.Canvas();
  if (tabsBGTransparent_) {
    int saved = bc.SaveDC();
    bc.SetViewportOrg({-band.Left, -band.Top});
    GetParentImage(this, bc);
    bc.RestoreDC(saved);
  } else if (look_->Picture) {
    TRect piece = look_->TabsBGRect;
    if (IsNullRect(piece)) {
      const TRect& r = look_->Page.SkinRect;
      piece = OffsetRect(look_->Page.ClientRect, r.Left, r.Top);
    }
    LayPiece(bc, {0, 0, band.Width(), band.Height()}, *look_->Picture, piece, false);
  }
  int saved = bc.SaveDC();
  bc.IntersectClipRect(OffsetRect(TabViewRect(), -band.Left, -band.Top));
  const auto& tabs = Tabs();
  for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
    if (tabs[size_t(i)].Page == ActivePage()) continue;
    TBitmap tab;
    DrawTabImage(tab, i, false, i == hotTab_);
    TRect item = OffsetRect(tabs[size_t(i)].Rect, -band.Left, -band.Top);
    bc.Draw(item.Left, item.Top, tab);
  }
  bc.RestoreDC(saved);
  c.Draw(band.Left, band.Top, bmp);
}

void TqzSkinPageControl::PaintPageBackground(TCanvas& canvas, const TRect& rect) {
  if (IsNullRect(rect)) return;
  RefreshLook();  // the sheets paint on their own: never from a stale copy
  if (!look_) {
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(rect);
    return;
  }
  const TqzSkinGeometry& g = look_->Page;
  if (look_->BGPicture) {
    const TBitmap& bg = *look_->BGPicture;
    LayPiece(canvas, rect, bg, {0, 0, bg.Width(), bg.Height()}, g.StretchEffect, g.StretchType);
  } else if (look_->Picture) {
    LayPiece(canvas, rect, *look_->Picture, OffsetRect(g.ClientRect, g.SkinRect.Left, g.SkinRect.Top),
             g.StretchEffect, g.StretchType);
  }
}

TRect TqzSkinPageControl::StateRect(bool active, bool mouseIn) const {
  if (mouseIn && !active && !IsNullRect(look_->MouseInTabRect)) return look_->MouseInTabRect;
  if (active && Focused()) return look_->FocusTabRect;
  if (!active) return look_->TabRect;
  return look_->ActiveTabRect;
}

TColor TqzSkinPageControl::CaptionColor(bool active, bool mouseIn) const {
  if (mouseIn && !active) return look_->MouseInFontColor;
  if (active && Focused()) return look_->FocusFontColor;
  if (!active) return look_->FontColor;
  return look_->ActiveFontColor;
}

bool TqzSkinPageControl::TabLightsUp(int tabIndex, bool mouseIn) const {
  const TTabSheet& page = *Tabs()[size_t(tabIndex)].Page;
  return mouseIn && page.Enabled() && Enabled();
}

TqzTabPlacement TqzSkinPageControl::TabPlacement(int tabIndex, bool active, bool mouseIn) const {
  const auto& tabs = Tabs();
  if (tabIndex < 0 || tabIndex >= static_cast<int>(tabs.size())) return {};
  const TTabItem& item = tabs[size_t(tabIndex)];
  mouseIn = TabLightsUp(tabIndex, mouseIn);
  const TTabPosition pos = TabPosition();
  const bool vertical = Vertical(pos);
  const bool skinnedTabs = look_ && Style() == tsTabs;
  TqzTabPlacement l;
  l.Item = item.Rect;
  int w = vertical ? item.Rect.Height() : item.Rect.Width();
  int h = vertical ? item.Rect.Width() : item.Rect.Height();
  if (skinnedTabs && look_->Picture) {
    if (TabHeight() > 0) {
      int grow = 0;
      if (active)
        grow = (Focused() ? look_->FocusTabRect : look_->ActiveTabRect).Height() - look_->TabRect.Height();
      h += std::max(grow, 0);
    } else {
      h = StateRect(active, mouseIn).Height();
    }
  }
  l.Picture = {w, h};
  if (active && skinnedTabs) {
    // Bottom and right tabs grow towards the page.
    const int extra = std::max(0, look_->ActiveTabRect.Height() - look_->TabRect.Height());
    if (pos == tpBottom) l.Item = OffsetRect(l.Item, 0, -extra);
    if (pos == tpRight) l.Item = OffsetRect(l.Item, -extra, 0);
  }
  if (!showCloseButtons_) return l;
  // The close button is drawn on the picture as it is when the content goes
  // on: already turned when the caption stays horizontal.
  const bool turnedFirst = vertical && textInHorizontal_;
  const TSize face = turnedFirst ? TSize{h, w} : TSize{w, h};
  const TSize button = CloseButtonSize(*item.Page, active);
  l.Close = Bounds(face.cx - button.cx - kCloseSkinGap, (face.cy - button.cy) / 2, button.cx, button.cy);
  TRect shown = l.Close;
  if (vertical && !turnedFirst) {
    // The quarter turn of Rotate: counter-clockwise takes (x, y) to
    // (y, width - 1 - x), clockwise to (height - 1 - y, x).
    const TRect& c = l.Close;
    shown = pos == tpLeft ? TRect{c.Top, face.cx - c.Right, c.Bottom, face.cx - c.Left}
                          : TRect{face.cy - c.Bottom, c.Left, face.cy - c.Top, c.Right};
  }
  l.CloseShown = OffsetRect(shown, l.Item.Left, l.Item.Top);
  return l;
}

TqzTabPlacement TqzSkinPageControl::TabPlacement(int tabIndex) const {
  if (tabIndex < 0 || tabIndex >= TabCount()) return {};
  return TabPlacement(tabIndex, Tabs()[size_t(tabIndex)].Page == ActivePage(), tabIndex == hotTab_);
}

void TqzSkinPageControl::DrawTabImage(TBitmap& out, int tabIndex, bool active, bool mouseIn) {
  const auto& tabs = Tabs();
  if (tabIndex < 0 || tabIndex >= static_cast<int>(tabs.size())) return;
  const TTabItem& item = tabs[size_t(tabIndex)];
  RefreshLook();
  TTabPosition pos = TabPosition();
  bool vertical = Vertical(pos);
  mouseIn = TabLightsUp(tabIndex, mouseIn);
  const TqzTabPlacement layout = TabPlacement(tabIndex, active, mouseIn);
  const int w = layout.Picture.cx, h = layout.Picture.cy;
  bool focused = active && Focused();

  TColor captionColor = Font().Color();
  if (Style() != tsTabs) {
    captionColor = DrawButtonTab(out, w, h, active, mouseIn);
  } else if (!look_ || !look_->Picture) {
    out.SetSize(w, h);
    TCanvas& c = out.Canvas();
    c.Brush().SetColor(active ? (focused ? kPlainLookDownFill : kPlainLookHotFill) : mouseIn ? kPlainLookHotFill : clBtnFace);
    c.FillRect({0, 0, w, h});
    if (active) {
      c.Brush().SetColor(kPlainLookHotFrame);
      c.FrameRect({0, 0, w, h});
    }
  } else {
    TRect state = StateRect(active, mouseIn);
    if (TabHeight() > 0) {
      out.SetSize(w, h);
      int q = look_->TabRect.Height() / 4;
      CreateStretchImage(out, *look_->Picture, state,
                         {look_->TabLeftOffset, q, state.Width() - look_->TabRightOffset, state.Height() - q}, true);
    } else {
      CreateHSkinImage(look_->TabLeftOffset, look_->TabRightOffset, out, look_->TabStretchEffect, w, state,
                       *look_->Picture);
    }
    TRect corner = focused ? look_->TabLeftBottomFocusRect : look_->TabLeftBottomActiveRect;
    if (IsNullRect(corner)) corner = look_->TabLeftBottomActiveRect;
    if (active && item.Rect.Left == 0 && !MultiLine() && !vertical && !IsNullRect(corner)) {
      out.Canvas().CopyRect({0, out.Height() - corner.Height(), corner.Width(), out.Height()},
                            look_->Picture->Canvas(), corner);
    }
    if (pos == tpBottom) FlipVertically(out);
    captionColor = CaptionColor(active, mouseIn);
  }
  if (vertical && textInHorizontal_) Rotate(out, pos == tpLeft);

  // The caption area: inactive tabs lower than the active one keep their
  // caption level with the active caption.
  TRect area{0, 0, out.Width(), out.Height()};
  if (look_ && Style() == tsTabs && !active && look_->ActiveTabRect.Height() != look_->TabRect.Height()) {
    bool towardsBottom = pos == tpTop || pos == tpLeft;
    area = OffsetRect(area, 0, towardsBottom ? 2 : -2);
  }
  if (showCloseButtons_) area.Right -= kCloseSize + kCloseGap + (look_ ? kCloseSkinGap : 0);
  TCanvas& c = out.Canvas();
  c.Font().Assign(Font());
  c.Font().SetColor(captionColor);
  if (!item.Page->Enabled() || !Enabled()) c.Font().SetColor(clGrayText);
  PaintTabContent(c, tabIndex, area, active, mouseIn);
  if (showCloseButtons_) PaintCloseButton(c, *item.Page, layout.Close, active);
  if (look_ && look_->ShowFocus && focused) {
    c.Font().SetColor(captionColor);
    DrawSkinFocusRect(c, InflateRect({0, 0, out.Width(), out.Height()}, -look_->FocusOffsetX, -look_->FocusOffsetY));
  }
  if (vertical && !textInHorizontal_) Rotate(out, pos == tpLeft);
}

void TqzSkinPageControl::PaintTabContent(TCanvas& c, int tabIndex, const TRect& area, bool active, bool mouseIn) {
  const TTabSheet& page = *Tabs()[size_t(tabIndex)].Page;
  c.Brush().SetStyle(TBrushStyle::bsClear);
  if (OnDrawSkinTab) {
    OnDrawSkinTab(page.PageIndex(), area, active, mouseIn, c);
    return;
  }
  bool hasImage = images_ && page.ImageIndex() >= 0 && page.ImageIndex() < images_->Count();
  if (tabExtededDraw_) {
    TqzImageAndTextOptions o;
    o.Layout = tabLayout_;
    o.Margin = tabMargin_;
    o.Spacing = tabSpacing_;
    DrawImageAndText(c, area, page.Caption(), images_, page.ImageIndex(), page.Enabled(), o);
    return;
  }
  if (hasImage) {
    // Image and caption side by side, centred together.
    int tw = c.TextWidth(page.Caption());
    int gw = images_->Width();
    int x = area.Left + (area.Width() - (gw + 3 + tw)) / 2;
    images_->Draw(c, x, area.Top + (area.Height() - images_->Height()) / 2, page.ImageIndex(), page.Enabled());
    TRect text{x + gw + 3, area.Top, area.Right, area.Bottom};
    c.DrawText(page.Caption(), text, DT_VCENTER | DT_SINGLELINE);
    return;
  }
  TRect text = area;
  c.DrawText(page.Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

TRect TqzSkinPageControl::ClosePiece(const TTabSheet& page, bool active) const {
  if (!look_ || !look_->Picture) return {};
  const auto* sheet = As<const TqzSkinCustomTabSheet>(&page);
  const bool down = sheet && sheet->CloseButtonDown;
  const bool hot = sheet && sheet->CloseButtonHot;
  TRect piece = down ? look_->CloseButtonDownRect : (hot || active) ? look_->CloseButtonActiveRect : look_->CloseButtonRect;
  return IsNullRect(piece) ? look_->CloseButtonRect : piece;
}

TSize TqzSkinPageControl::CloseButtonSize(const TTabSheet& page, bool active) const {
  // The button description's face and the plain glyph take a fixed square;
  // the tab description's pictures keep their own size.
  if (look_ && !ButtonTabDescription()) {
    const TRect piece = ClosePiece(page, active);
    if (!IsNullRect(piece)) return {piece.Width(), piece.Height()};
  }
  return {kCloseSize, kCloseSize};
}

void TqzSkinPageControl::PaintCloseButton(TCanvas& c, const TTabSheet& page, const TRect& r, bool active) {
  const auto* sheet = As<const TqzSkinCustomTabSheet>(&page);
  bool down = sheet && sheet->CloseButtonDown;
  bool hot = sheet && sheet->CloseButtonHot;
  if (look_ && PaintButtonCloseButton(c, r, hot, down)) return;
  TRect piece = ClosePiece(page, active);
  if (!IsNullRect(piece)) {
    TBitmap b(piece.Width(), piece.Height());
    b.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, look_->Picture->Canvas(), piece);
    if (look_->ButtonTransparent) {
      b.SetTransparentColor(look_->ButtonTransparentColor);
      b.SetTransparent(true);
    }
    c.Draw(r.Left, r.Top, b);
    return;
  }
  DrawCloseGlyph(c, r.Left + 2, r.Top + 2, hot || down ? clWhite : clBlack);
}

const TqzDataSkinButtonControl* TqzSkinPageControl::ButtonTabDescription() const {
  if (!skinData_ || skinData_->Empty()) return nullptr;
  int index = skinData_->FindControlIndex(buttonTabSkinDataName_);
  if (index < 0) return nullptr;
  auto* d = As<TqzDataSkinButtonControl>(skinData_->CtrlList()[size_t(index)].get());
  if (!d || IsNullRect(d->SkinRect) || !skinData_->ActivePicture(d->PictureIndex)) return nullptr;
  return d;
}

TColor TqzSkinPageControl::DrawButtonTab(TBitmap& out, int w, int h, bool active, bool mouseIn) {
  out.SetSize(w, h);
  if (const TqzDataSkinButtonControl* d = ButtonTabDescription()) {
    // The selected tab is the pressed button; a missing look falls back:
    // hot <- normal, pressed <- hot.
    TRect hotRect = IsNullRect(d->ActiveSkinRect) ? d->SkinRect : d->ActiveSkinRect;
    TRect downRect = IsNullRect(d->DownSkinRect) ? hotRect : d->DownSkinRect;
    TqzSkinGeometry g = d->Geometry();
    g.SkinRect = active ? downRect : mouseIn ? hotRect : d->SkinRect;
    TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, w, h);
    CreateSkinImage(g, n, true, w, h, *skinData_->ActivePicture(d->PictureIndex), out);
    return active ? d->DownFontColor : mouseIn ? d->ActiveFontColor : d->FontColor;
  }
  // Plain buttons; flat ones show an edge only when selected or hot.
  TCanvas& c = out.Canvas();
  c.Brush().SetColor(active ? kPlainLookDownFill : mouseIn ? kPlainLookHotFill : clBtnFace);
  c.FillRect({0, 0, w, h});
  if (active || mouseIn || Style() == tsButtons) {
    c.Brush().SetColor(active || mouseIn ? kPlainLookHotFrame : clBtnShadow);
    c.FrameRect({0, 0, w, h});
  }
  return Font().Color();
}

bool TqzSkinPageControl::PaintButtonCloseButton(TCanvas& c, const TRect& r, bool hot, bool down) {
  const TqzDataSkinButtonControl* d = ButtonTabDescription();
  if (!d) return false;
  TBitmap* picture = skinData_->ActivePicture(d->PictureIndex);
  // The state's look, falling back: hot <- normal, pressed <- hot.
  TRect hotRect = IsNullRect(d->ActiveSkinRect) ? d->SkinRect : d->ActiveSkinRect;
  TRect downRect = IsNullRect(d->DownSkinRect) ? hotRect : d->DownSkinRect;
  TqzSkinGeometry g = d->Geometry();
  g.SkinRect = down ? downRect : hot ? hotRect : d->SkinRect;
  TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, r.Width(), r.Height());
  TBitmap b;
  CreateSkinImage(g, n, true, r.Width(), r.Height(), *picture, b);
  c.Draw(r.Left, r.Top, b);
  TColor glyph = down ? d->DownFontColor : hot ? d->ActiveFontColor : d->FontColor;
  DrawCloseGlyph(c, r.Left + (r.Width() - 11) / 2, r.Top + (r.Height() - 10) / 2, glyph);
  return true;
}

// ---- mouse

void TqzSkinPageControl::InvalidateTab(int tab) {
  if (tab < 0 || tab >= TabCount() || !HandleAllocated()) return;
  TRect r = Tabs()[size_t(tab)].Page == ActivePage() ? ActiveTabJoinedRect() : TabRect(tab);
  InvalidateRect(HWND(this), &r, false);
}

void TqzSkinPageControl::SetHotTab(int tab) {
  if (tab == hotTab_) return;
  oldHotTab_ = hotTab_;
  hotTab_ = tab;
  if (oldHotTab_ >= 0 && oldHotTab_ != TabIndex()) InvalidateTab(oldHotTab_);
  InvalidateTab(hotTab_);
}

void TqzSkinPageControl::MouseMove(TShiftState s, int x, int y) {
  if (!tabsHidden_) SetHotTab(IndexOfTabAt(x, y));
  if (showCloseButtons_) TrackCloseButton(x, y);
  TPageControl::MouseMove(s, x, y);
}

void TqzSkinPageControl::TrackCloseButton(int x, int y) {
  const auto& tabs = Tabs();
  for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
    auto* sheet = As<TqzSkinCustomTabSheet>(tabs[size_t(i)].Page);
    if (!sheet) continue;
    // Only the hot tab's button can be under the mouse; the others lose
    // their mark when the mouse moves on to another tab.
    bool hot = false;
    if (i == hotTab_) {
      sheet->CloseButtonRect = TabPlacement(i).CloseShown;
      hot = sheet->CloseButtonRect.Contains({x, y});
    }
    if (hot == sheet->CloseButtonHot) continue;
    sheet->CloseButtonHot = hot;
    InvalidateTab(i);
    // The button's picture may differ in size when lit.
    if (i == hotTab_) sheet->CloseButtonRect = TabPlacement(i).CloseShown;
  }
}

void TqzSkinPageControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  TComponentRef<TqzSkinPageControl> self(this);
  if (b == mbLeft && showCloseButtons_ && hotTab_ >= 0 && !tabsHidden_) {
    // The press may have selected the tab, which moves its button with the
    // active look: test against where it is drawn now.
    TrackCloseButton(x, y);
    auto* sheet = As<TqzSkinCustomTabSheet>(Tabs()[size_t(hotTab_)].Page);
    if (sheet && sheet->CloseButtonRect.Contains({x, y})) {
      sheet->CloseButtonDown = true;
      InvalidateTab(hotTab_);
      CloseActivePage();
      if (!self) return;
    }
  }
  TPageControl::MouseUp(b, s, x, y);
}

void TqzSkinPageControl::CloseActivePage() {
  TComponentRef<TqzSkinPageControl> self(this);
  TComponentRef<TTabSheet> page(ActivePage());
  if (!page) return;
  bool canClose = true;
  if (OnClose) OnClose(page.Get(), canClose);
  if (!self) return;
  if (!canClose) {
    if (auto* sheet = As<TqzSkinCustomTabSheet>(page.Get())) {
      TPoint p;
      GetCursorPos(p);
      p = ScreenToClient(p);
      if (!TRect{0, 0, Width(), Height()}.Contains(p)) {
        sheet->CloseButtonDown = sheet->CloseButtonHot = false;
        Invalidate();
      }
    }
    return;
  }
  if (!page) return;
  if (auto* sheet = As<TqzSkinCustomTabSheet>(page.Get())) sheet->CloseButtonDown = sheet->CloseButtonHot = false;
  page->SetTabVisible(false);
  hotTab_ = -1;
  if (freeOnClose_ && page) delete page.Get();
  if (OnAfterClose) OnAfterClose(this);
}

void TqzSkinPageControl::CMMouseLeave(TMessage& m) {
  TComponentRef<TqzSkinPageControl> self(this);
  TPageControl::CMMouseLeave(m);  // OnMouseLeave
  if (!self) return;
  SetHotTab(-1);
  if (showCloseButtons_) TrackCloseButton(-1, -1);  // no button stays lit
}

bool TqzSkinPageControl::WheelPage(int delta) {
  if (!mouseWheelSupport_ || !Focused() || delta == 0) return false;
  // The wheel stops at the ends of the row (no wrapping round).
  bool forward = delta < 0;
  int from = ActivePageIndex();
  for (int i = from + (forward ? 1 : -1); i >= 0 && i < PageCount(); i += forward ? 1 : -1) {
    if (!Pages(i)->TabVisible()) continue;
    ChangeActivePageByUser(Pages(i));
    return true;
  }
  return true;
}

void TqzSkinPageControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_MOUSEWHEEL && mouseWheelSupport_ && Focused()) {
    WheelPage(static_cast<int16_t>(HIWORD(m.WParam)));
    m.Result = 1;
    return;
  }
  TPageControl::Dispatch(m);
}

// ---------------------------------------------------------------- registration

QZ_PUBLISHED(TqzSkinCustomTabSheet, TTabSheet) {
  b.Factory([](TComponent* owner) { return new TqzSkinCustomTabSheet(owner); });
  b.Binary("WallPaper", &TqzSkinCustomTabSheet::WallPaperData, &TqzSkinCustomTabSheet::SetWallPaperData);
}

QZ_PUBLISHED(TqzSkinTabSheet, TqzSkinCustomTabSheet) {
  b.Factory([](TComponent* owner) { return new TqzSkinTabSheet(owner); });
}

QZ_PUBLISHED(TqzSkinPageControl, TPageControl) {
  using P = TqzSkinPageControl;
  b.Factory([](TComponent* owner) { return new TqzSkinPageControl(owner); });
  b.Prop("ButtonTabSkinDataName", &P::ButtonTabSkinDataName, &P::SetButtonTabSkinDataName,
         std::string("resizetoolbutton"));
  b.Prop("MouseWheelSupport", &P::MouseWheelSupport, &P::SetMouseWheelSupport, false);
  b.Prop("TabsOffset", &P::TabsOffset, &P::SetTabsOffset, 0);
  b.Prop("TabExtededDraw", &P::TabExtededDraw, &P::SetTabExtededDraw, false);
  b.Prop("TabMargin", &P::TabMargin, &P::SetTabMargin, -1);
  b.Prop("TabSpacing", &P::TabSpacing, &P::SetTabSpacing, 1);
  b.Enum("TabLayout", &P::TabLayout, &P::SetTabLayout, blGlyphLeft);
  b.Prop("TextInHorizontal", &P::TextInHorizontal, &P::SetTextInHorizontal, false);
  b.Prop("TabsInCenter", &P::TabsInCenter, &P::SetTabsInCenter, false);
  b.Prop("FreeOnClose", &P::FreeOnClose, &P::SetFreeOnClose, false);
  b.Prop("ShowCloseButtons", &P::ShowCloseButtons, &P::SetShowCloseButtons, false);
  b.Ref<TCustomImageList>("Images", &P::Images, &P::SetImages);
  b.Prop("TabsBGTransparent", &P::TabsBGTransparent, &P::SetTabsBGTransparent, false);
  b.Object("DefaultFont", [](P& p) -> TFont& { return p.DefaultFont(); });
  b.Prop("UseSkinFont", &P::UseSkinFont, &P::SetUseSkinFont, true);
  b.Prop("DefaultItemHeight", &P::DefaultItemHeight, &P::SetDefaultItemHeight, 20);
  b.Ref<TqzSkinData>("SkinData", &P::SkinData, &P::SetSkinData);
  b.Prop("SkinDataName", &P::SkinDataName, &P::SetSkinDataName, std::string("tab"));
  b.Event<TqzCloseEvent>("OnClose", &P::OnClose);
  b.Event<TNotifyEvent>("OnAfterClose", &P::OnAfterClose);
  b.Event<TqzDrawSkinTabEvent>("OnDrawSkinTab", &P::OnDrawSkinTab);
}

}  // namespace qz
