#include "skin/controls/SkinScrollBox.h"

#include "host/ui/StdCtrls.h"
#include "skin/controls/SkinFrame.h"
#include "skin/draw/QzComposition.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"

namespace qz {

TqzSkinScrollBox::TqzSkinScrollBox(TComponent* AOwner)
    : TScrollingControl<TqzSkinCustomControl>(AOwner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  width_ = 150;
  height_ = 150;
  link_.skinDataName = "scrollbox";
}

// Bars that outlive the box must not call into it.
TqzSkinScrollBox::~TqzSkinScrollBox() {
  UnlinkBar(hBar_);
  UnlinkBar(vBar_);
}

// ---------------------------------------------------------------- bars

void TqzSkinScrollBox::SetHScrollBar(TqzSkinScrollBar* V) {
  if (V == hBar_ || (V && V == vBar_)) return;
  UnlinkBar(hBar_);
  SetReference(hBar_, V);
  LinkBar(V, false);
}

void TqzSkinScrollBox::SetVScrollBar(TqzSkinScrollBar* V) {
  if (V == vBar_ || (V && V == hBar_)) return;
  UnlinkBar(vBar_);
  SetReference(vBar_, V);
  LinkBar(V, true);
}

void TqzSkinScrollBox::UnlinkBar(TqzSkinScrollBar* bar) {
  if (!bar) return;
  bar->OnChange = nullptr;
  bar->OnLastChange = nullptr;
}

void TqzSkinScrollBox::LinkBar(TqzSkinScrollBar* bar, bool vertical) {
  if (!bar) return;
  bar->SetCanFocused(false);
  bar->SetEnabled(true);
  if (!InState(csLoading)) bar->SetVisible(false);
  bar->OnChange = [this, vertical](TObject* sender) {
    auto* b = static_cast<TqzSkinScrollBar*>(sender);
    if (vertical) SetVertPosition(b->Position());
    else SetHorzPosition(b->Position());
  };
  bar->OnLastChange = [this](TObject*) { Invalidate(); };
  UpdateBars();
}

bool TqzSkinScrollBox::MirrorBar(TqzSkinScrollBar& bar, int range, int client, int position) {
  const bool show = range > client && Visible();
  if (show) bar.SetRange(0, range - 1, client, position);
  else bar.SetRange(0, 0, 0, 0);
  if (bar.Visible() == show) return true;
  bar.SetVisible(show);
  return false;
}

void TqzSkinScrollBox::UpdateBars() {
  if (updatingBars_ || InState(csDestroying)) return;
  updatingBars_ = true;
  TComponentRef<TqzSkinScrollBox> self(this);
  bool same = true;
  if (vBar_) same = MirrorBar(*vBar_, VertRange(), ClientHeight(), VertPosition()) && same;
  if (self && hBar_) {
    // The horizontal bar leaves the corner to a vertical one.
    hBar_->SetBoth(vBar_ && vBar_->Visible());
    if (self) same = MirrorBar(*hBar_, HorzRange(), ClientWidth(), HorzPosition()) && same;
  }
  if (!self) return;
  updatingBars_ = false;
  // A bar that came or went changes the room of an aligned box.
  if (!same && Align() != alNone && Parent()) {
    Parent()->Realign();
    if (self) UpdateBars();
  }
}

bool TqzSkinScrollBox::IsScrollBarOfThis(const TControl* c) const { return c == hBar_ || c == vBar_; }

void TqzSkinScrollBox::ScrollPositionChanged() { UpdateBars(); }
void TqzSkinScrollBox::ScrollRangeChanged() { UpdateBars(); }

void TqzSkinScrollBox::Resize() {
  TComponentRef<TqzSkinScrollBox> self(this);
  TScrollingControl<TqzSkinCustomControl>::Resize();
  if (self) UpdateBars();
}

// Bars linked while the resource was read are taken over now.
void TqzSkinScrollBox::Loaded() {
  TComponentRef<TqzSkinScrollBox> self(this);
  TScrollingControl<TqzSkinCustomControl>::Loaded();
  if (!self) return;
  for (TqzSkinScrollBar* bar : {hBar_, vBar_})
    if (bar) bar->SetVisible(false);
  UpdateBars();
}

void TqzSkinScrollBox::CMVisibleChanged(TMessage& m) {
  TComponentRef<TqzSkinScrollBox> self(this);
  TScrollingControl<TqzSkinCustomControl>::CMVisibleChanged(m);
  if (self) UpdateBars();
}

void TqzSkinScrollBox::ChangeSkinData() {
  TComponentRef<TqzSkinScrollBox> self(this);
  TScrollingControl<TqzSkinCustomControl>::ChangeSkinData();
  if (!self) return;
  FrameChanged();
  if (self) UpdateBars();
}

void TqzSkinScrollBox::SetSkinData(TqzSkinData* Value) {
  TComponentRef<TqzSkinScrollBox> self(this);
  TScrollingControl<TqzSkinCustomControl>::SetSkinData(Value);
  // A present, loaded skin went through ChangeSkinData already.
  if (!self || (Value && !Value->Empty())) return;
  FrameChanged();
  if (self) UpdateBars();
}

// ---------------------------------------------------------------- properties

void TqzSkinScrollBox::SetBorderStyle(TqzSkinBorderStyle V) {
  borderStyle_ = V;
  FrameChanged();
}

void TqzSkinScrollBox::FrameChanged() { RecalcFrame(*this); }

void TqzSkinScrollBox::SetCanFocused(bool V) {
  canFocused_ = V;
  SetTabStop(V);
}

// ---------------------------------------------------------------- painting

TBitmap* TqzSkinScrollBox::BackgroundPicture() const {
  const auto* d = dynamic_cast<const TqzDataSkinScrollBoxControl*>(SkinDescription());
  if (!d || d->BGPictureIndex < 0 || !SkinData()) return nullptr;
  return SkinData()->ActivePicture(d->BGPictureIndex);
}

TRect TqzSkinScrollBox::FrameInsets() {
  GetSkinData();
  if (SkinIndex >= 0) {
    if (BackgroundPicture()) return {};
    return {Geom.ClientRect.Left, Geom.ClientRect.Top, Geom.SkinRect.Width() - Geom.ClientRect.Right, Geom.SkinRect.Height() - Geom.ClientRect.Bottom};
  }
  if (borderStyle_ == TqzSkinBorderStyle::bvNone) return {};
  return {1, 1, 1, 1};
}

// The client shows the description's middle piece (or the background
// picture), stretched by the stretch type or tiled from the client's origin.
void TqzSkinScrollBox::CreateControlSkinImage(TBitmap& B) {
  const int w = std::max(ClientWidth(), 1), h = std::max(ClientHeight(), 1);
  B.SetSize(w, h);
  TBitmap* background = BackgroundPicture();
  const TBitmap* source = background && !background->Empty() ? background : Picture;
  if (!source) return;
  const TRect piece = source == background ? TRect{0, 0, background->Width(), background->Height()}
                                           : OffsetRect(Geom.ClientRect, Geom.SkinRect.Left, Geom.SkinRect.Top);
  if (piece.IsEmpty()) return;
  TBitmap tile;
  tile.SetSize(piece.Width(), piece.Height());
  tile.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, const_cast<TBitmap*>(source)->Canvas(), piece);
  TCanvas& c = B.Canvas();
  if (Geom.StretchEffect && Geom.StretchType == TqzStretchType::Full) {
    c.StretchDraw({0, 0, w, h}, tile);
  } else if (Geom.StretchEffect) {
    // One direction stretched to the client, the other repeated.
    const bool across = Geom.StretchType == TqzStretchType::Horz;
    TBitmap strip;
    strip.SetSize(across ? tile.Width() : w, across ? h : tile.Height());
    strip.Canvas().StretchDraw({0, 0, strip.Width(), strip.Height()}, tile);
    for (int at = 0; at < (across ? w : h); at += across ? strip.Width() : strip.Height())
      c.Draw(across ? at : 0, across ? 0 : at, strip);
  } else {
    for (int y = 0; y < h; y += tile.Height())
      for (int x = 0; x < w; x += tile.Width()) c.Draw(x, y, tile);
  }
  B.Modified();
}

void TqzSkinScrollBox::CreateControlDefaultImage(TBitmap& B) {
  B.SetSize(std::max(ClientWidth(), 1), std::max(ClientHeight(), 1));
  TCanvas& c = B.Canvas();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(Color());
  c.FillRect({0, 0, B.Width(), B.Height()});
  B.Modified();
}

void TqzSkinScrollBox::PaintFrame() {
  const TRect in = FrameInsets();
  if (in.Left <= 0 && in.Top <= 0 && in.Right <= 0 && in.Bottom <= 0) return;
  HDC dc = GetWindowDC(HWND(this));
  if (!dc) return;
  TCanvas& c = *dc;
  const int W = Width(), H = Height();
  if (SkinIndex >= 0 && Picture) {
    int cw = W, ch = H;
    CalcSize(cw, ch);
    TBitmap top, bottom, left, right;
    CreateSkinBorderImages(Geometry(), NewGeometry(W, H), W, H, *Picture, top, bottom, left, right);
    c.Draw(0, 0, top);
    c.Draw(0, top.Height(), left);
    c.Draw(W - right.Width(), top.Height(), right);
    c.Draw(0, H - bottom.Height(), bottom);
  } else if (SkinIndex < 0) {
    TRect r{0, 0, W, H};
    switch (borderStyle_) {
      case TqzSkinBorderStyle::bvFrame: Frame3D(c, r, clBtnShadow, clBtnShadow, 1); break;
      case TqzSkinBorderStyle::bvRaised: Frame3D(c, r, clBtnShadow, clBtnHighlight, 1); break;
      case TqzSkinBorderStyle::bvLowered: Frame3D(c, r, clBtnHighlight, clBtnShadow, 1); break;
      case TqzSkinBorderStyle::bvNone: break;
    }
  }
  ReleaseDC(HWND(this), dc);
}

void TqzSkinScrollBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      InsetClientByFrame(m, FrameInsets());
      return;
    case WM_NCPAINT:
      PaintFrame();
      m.Result = 0;
      return;
    case WM_NCHITTEST:
      m.Result = HTCLIENT;
      return;
    default: break;
  }
  TScrollingControl<TqzSkinCustomControl>::Dispatch(m);
}

QZ_PUBLISHED(TqzSkinScrollBox, TqzSkinCustomControl) {
  using O = TqzSkinScrollBox;
  b.Factory([](TComponent* owner) { return new TqzSkinScrollBox(owner); });
  b.Prop("SkinDataName", &O::SkinDataName, &O::SetSkinDataName, std::string("scrollbox"));
  b.Ref<TqzSkinScrollBar>("HScrollBar", &O::HScrollBar, &O::SetHScrollBar);
  b.Ref<TqzSkinScrollBar>("VScrollBar", &O::VScrollBar, &O::SetVScrollBar);
  b.Enum("BorderStyle", &O::BorderStyle, &O::SetBorderStyle, TqzSkinBorderStyle::bvFrame);
  b.Prop("CanFocused", &O::CanFocused, &O::SetCanFocused, false);
  b.Prop("WheelStep", &O::WheelStep, &O::SetWheelStep, 40);
}

}  // namespace qz
