// Painting the MDI tabs bar: the band, each shown tab from the skin's tab
// description (tabs or buttons), the child icon, the caption, the close
// buttons, the add button and the hidden tabs' menu button from the
// "resizetoolbutton" description; the plain look without a skin.
#include <algorithm>
#include <optional>

#include "host/ui/Forms.h"
#include "host/ui/MDI.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/data/ResourceStrData.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/QzColors.h"
#include "skin/draw/QzComposition.h"
#include "skin/draw/QzGlyphs.h"
#include "skin/draw/SkinImage.h"
#include "skin/form/SkinMDITabsBar.h"

namespace qz {

namespace {

constexpr int kPlainCloseSize = 14;
constexpr int kIconSize = 16;

// `piece` of `source` tiled over `area` of `dest`.
void Tile(TCanvas& dest, const TRect& area, const TBitmap& source, const TRect& piece) {
  if (IsNullRect(piece) || IsNullRect(area)) return;
  TBitmap laid(area.Width(), area.Height());
  ComposeClientFill(source.Pixels(), piece, laid.Pixels(), false, TqzStretchType::Full);
  laid.Modified();
  dest.Draw(area.Left, area.Top, laid);
}

TRect Piece(const TBitmap& picture, const TRect& r) {
  return IsNullRect(r) || r.Right > picture.Width() || r.Bottom > picture.Height() ? TRect{} : r;
}

}  // namespace

// The "resizetoolbutton" description when it has a look to draw.
const TqzDataSkinButtonControl* TqzSkinMDITabsBar::ButtonDescription() const {
  TqzSkinData* skin = SkinData();
  if (!skin || skin->Empty()) return nullptr;
  const int index = skin->FindControlIndex("resizetoolbutton");
  if (index < 0) return nullptr;
  auto* d = As<TqzDataSkinButtonControl>(skin->CtrlList()[size_t(index)].get());
  return d && !IsNullRect(d->SkinRect) && skin->ActivePicture(d->PictureIndex) ? d : nullptr;
}

TSize TqzSkinMDITabsBar::CloseButtonSize() const {
  if (const TqzDataSkinTabControl* d = TabDescription(); d && !IsNullRect(d->CloseButtonRect))
    return {d->CloseButtonRect.Width(), d->CloseButtonRect.Height()};
  return {kPlainCloseSize, kPlainCloseSize};
}

TFontData TqzSkinMDITabsBar::CaptionFont(const TqzMDITab& tab) const {
  const TqzDataSkinTabControl* d = TabDescription();
  TFontData f = DefaultFont().Data();
  if (d && UseSkinFont()) {
    f.name = d->FontName;
    f.height = d->FontHeight;
    f.style = d->FontStyle;
  }
  const bool active = tab.ShownActive;
  const bool hot = tab.MouseIn && !active;
  if (d)
    f.color = active ? d->ActiveFontColor : hot ? d->MouseInFontColor : d->FontColor;
  else if (!UseSkinFont() || !SkinData())
    f.color = DefaultFont().Color();
  else
    f.color = clBtnText;
  // Captions are in the language of the skin's texts when it has them.
  if (const TqzResourceStrData* strings = SkinData() ? SkinData()->ResourceStrData() : nullptr)
    f.charset = TFontCharset(strings->CharSet());
  return f;
}

bool TqzSkinMDITabsBar::TakeDrawParams() {
  TComponentRef<TqzSkinMDITabsBar> self(this);
  TBitmap scratch(1, 1);
  for (size_t i = 0; i < tabs_.size(); ++i) {
    TqzMDITab* t = tabs_[i].get();
    if (!t->Visible) continue;
    t->DrawFont = CaptionFont(*t);
    if (!OnTabGetDrawParamsEvent) continue;
    TCanvas& c = scratch.Canvas();
    c.Font().SetData(t->DrawFont);
    OnTabGetDrawParamsEvent(this, t, c);
    if (!self) return false;
    // The handler may have closed children: the tab may be gone.
    if (i >= tabs_.size() || tabs_[i].get() != t) return true;
    t->DrawFont = c.Font().Data();
  }
  return true;
}

void TqzSkinMDITabsBar::Paint() {
  Layout();
  if (!TakeDrawParams()) return;  // a handler freed the bar
  TqzSkinCustomControl::Paint();
}

// ---------------------------------------------------------------------------

class TqzMDITabsPainter {
 public:
  TqzMDITabsPainter(TqzSkinMDITabsBar& bar, TCanvas& c) : bar_(bar), c_(c) {
    skin_ = bar.SkinData();
    if (const TqzDataSkinTabControl* d = bar.TabDescription()) look_ = TqzTabLook::From(*d, *skin_);
    button_ = bar.ButtonDescription();
  }

  void Band() {
    const TRect all{0, 0, bar_.Width(), bar_.Height()};
    if (look_ && look_->Picture) {
      TRect piece = look_->TabsBGRect;
      if (IsNullRect(piece)) piece = OffsetRect(look_->Page.ClientRect, look_->Page.SkinRect.Left, look_->Page.SkinRect.Top);
      piece = Piece(*look_->Picture, piece);
      if (!IsNullRect(piece)) {
        Tile(c_, all, *look_->Picture, piece);
        return;
      }
    }
    c_.Brush().SetStyle(TBrushStyle::bsSolid);
    c_.Brush().SetColor(clBtnFace);
    c_.FillRect(all);
  }

  void Tab(const TqzMDITab& t) {
    if (IsNullRect(t.TabRect)) return;
    const bool active = t.ShownActive;
    const bool hot = t.MouseIn && !active;
    if (look_ && look_->Picture)
      SkinnedFace(t.TabRect, active, hot);
    else
      PlainFace(t.TabRect, active, hot);
    Content(t);
  }

  // The add button (plus) and the menu button (arrow down).
  void SmallButton(const TRect& r, bool hot, bool down, bool plus) {
    if (IsNullRect(r)) return;
    TColor glyph = clBtnText;
    if (button_) {
      const TqzDataSkinButtonControl& d = *button_;
      const TRect hotRect = IsNullRect(d.ActiveSkinRect) ? d.SkinRect : d.ActiveSkinRect;
      const TRect downRect = IsNullRect(d.DownSkinRect) ? hotRect : d.DownSkinRect;
      TqzSkinGeometry g = d.Geometry();
      g.SkinRect = down ? downRect : hot ? hotRect : d.SkinRect;
      const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, r.Width(), r.Height());
      TBitmap face;
      CreateSkinImage(g, n, true, r.Width(), r.Height(), *skin_->ActivePicture(d.PictureIndex), face);
      c_.Draw(r.Left, r.Top, face);
      glyph = down ? d.DownFontColor : hot ? d.ActiveFontColor : d.FontColor;
    } else {
      c_.Brush().SetStyle(TBrushStyle::bsSolid);
      c_.Brush().SetColor(hot || down ? TColor(kPlainLookHotFill) : clBtnFace);
      c_.FillRect(r);
    }
    if (plus)
      DrawArrowImage(c_, r, glyph, 5);
    else
      DrawSmallArrowImage(c_, r, glyph, 4);
  }

 private:
  TRect StateRect(bool active, bool hot) const {
    if (active) return look_->ActiveTabRect;
    if (hot && !IsNullRect(look_->MouseInTabRect)) return look_->MouseInTabRect;
    return look_->TabRect;
  }

  void SkinnedFace(const TRect& r, bool active, bool hot) {
    const TRect state = StateRect(active, hot);
    TBitmap face;
    if (bar_.TabKind() == qztkButton) {
      // Buttons fill the bar's height: the look stretched nine-part.
      face.SetSize(r.Width(), r.Height());
      const int q = state.Height() / 4;
      CreateStretchImage(face, *look_->Picture, state,
                         {look_->TabLeftOffset, q, state.Width() - look_->TabRightOffset, state.Height() - q}, true);
      c_.Draw(r.Left, r.Top, face);
      return;
    }
    CreateHSkinImage(look_->TabLeftOffset, look_->TabRightOffset, face, look_->TabStretchEffect, r.Width(), state,
                     *look_->Picture);
    // Tabs stand on the bar's bottom edge; the taller active look reaches up.
    c_.Draw(r.Left, r.Bottom - face.Height(), face);
  }

  void PlainFace(const TRect& r, bool active, bool hot) {
    c_.Brush().SetStyle(TBrushStyle::bsSolid);
    c_.Brush().SetColor(active ? TColor(kPlainLookDownFill) : hot ? TColor(kPlainLookHotFill) : clBtnFace);
    c_.FillRect(r);
    c_.Brush().SetColor(active || hot ? TColor(kPlainLookHotFrame) : clBtnShadow);
    c_.FrameRect(r);
  }

  void Content(const TqzMDITab& t) {
    TRect area = InflateRect(t.TabRect, -5, 0);
    const int saved = c_.SaveDC();
    c_.IntersectClipRect(t.TabRect);
    c_.Font().SetData(t.DrawFont);
    if (bar_.ShowChildIcon()) {
      // Forms carry no icon of their own: a small window in the caption's
      // colour, its title bar filled.
      const int top = t.TabRect.Top + (t.TabRect.Height() - kIconSize) / 2;
      const TRect window{area.Left + 1, top + 3, area.Left + kIconSize - 3, top + kIconSize - 3};
      c_.Brush().SetStyle(TBrushStyle::bsSolid);
      c_.Brush().SetColor(t.DrawFont.color);
      c_.FrameRect(window);
      c_.FillRect({window.Left, window.Top, window.Right, window.Top + 3});
      area.Left += kIconSize + 2;
    }
    const TRect close = t.CloseButtonOnBar();
    if (!IsNullRect(close)) area.Right = close.Left - 2;
    c_.Brush().SetStyle(TBrushStyle::bsClear);
    const std::string caption = t.Child ? t.Child->Caption() : std::string();
    if (area.Right > area.Left)
      c_.DrawText(caption, area, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (!IsNullRect(close)) CloseButton(t, close);
    c_.RestoreDC(saved);
  }

  void CloseButton(const TqzMDITab& t, const TRect& r) {
    if (look_ && look_->Picture) {
      TRect piece = t.CloseButtonMouseDown ? look_->CloseButtonDownRect
                    : t.CloseButtonMouseIn ? look_->CloseButtonActiveRect
                                           : look_->CloseButtonRect;
      if (IsNullRect(piece)) piece = look_->CloseButtonRect;
      piece = Piece(*look_->Picture, piece);
      if (!IsNullRect(piece)) {
        TBitmap b(piece.Width(), piece.Height());
        b.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, look_->Picture->Canvas(), piece);
        if (look_->ButtonTransparent) {
          b.SetTransparentColor(look_->ButtonTransparentColor);
          b.SetTransparent(true);
        }
        c_.Draw(r.Left, r.Top, b);
        return;
      }
    }
    const bool lit = t.CloseButtonMouseIn || t.CloseButtonMouseDown;
    if (lit) {
      c_.Brush().SetStyle(TBrushStyle::bsSolid);
      c_.Brush().SetColor(t.CloseButtonMouseDown ? TColor(kPlainLookDownFill) : TColor(kPlainLookHotFill));
      c_.FillRect(r);
      c_.Brush().SetColor(kPlainLookHotFrame);
      c_.FrameRect(r);
    }
    const TColor glyph = lit && !look_ ? clBtnText : t.DrawFont.color;
    DrawCloseGlyph(c_, r.Left + (r.Width() - 11) / 2, r.Top + (r.Height() - 10) / 2, glyph);
  }

  TqzSkinMDITabsBar& bar_;
  TCanvas& c_;
  TqzSkinData* skin_ = nullptr;
  std::optional<TqzTabLook> look_;
  const TqzDataSkinButtonControl* button_ = nullptr;
};

void TqzSkinMDITabsBar::PaintBar(TBitmap& B) {
  TCanvas& c = B.Canvas();
  TqzMDITabsPainter painter(*this, c);
  painter.Band();
  // Inactive tabs first, then the active one over its neighbours, then the
  // dragged one over everything.
  const TqzMDITab* activeTab = nullptr;
  for (const auto& t : tabs_) {
    if (!t->Visible || t.get() == dragTab_) continue;
    if (t->ShownActive) {
      activeTab = t.get();
      continue;
    }
    painter.Tab(*t);
  }
  if (activeTab) painter.Tab(*activeTab);
  if (dragTab_ && dragTab_->Visible) painter.Tab(*dragTab_);
  painter.SmallButton(geometry_.AddButton, addHot_, addDown_, true);
  painter.SmallButton(geometry_.MenuButton, menuHot_, false, false);
}

void TqzSkinMDITabsBar::CreateControlSkinImage(TBitmap& B) { PaintBar(B); }
void TqzSkinMDITabsBar::CreateControlDefaultImage(TBitmap& B) { PaintBar(B); }

}  // namespace qz
