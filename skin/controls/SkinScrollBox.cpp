#include "skin/controls/SkinScrollBox.h"

#include "host/ui/StdCtrls.h"
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
  if (self) UpdateBars();
}

// ---------------------------------------------------------------- properties

void TqzSkinScrollBox::SetBorderStyle(TqzSkinBorderStyle V) {
  borderStyle_ = V;
  Invalidate();
}

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

void TqzSkinScrollBox::CreateControlSkinImage(TBitmap& B) {
  TBitmap* background = BackgroundPicture();
  if (!background || background->Empty()) {
    TScrollingControl<TqzSkinCustomControl>::CreateControlSkinImage(B);
    return;
  }
  // The background picture covers the box, stretched or tiled from (0, 0).
  B.SetSize(Width(), Height());
  TCanvas& c = B.Canvas();
  if (StretchEffect) {
    c.StretchDraw({0, 0, Width(), Height()}, *background);
  } else {
    for (int y = 0; y < Height(); y += background->Height())
      for (int x = 0; x < Width(); x += background->Width()) c.Draw(x, y, *background);
  }
  B.Modified();
}

void TqzSkinScrollBox::CreateControlDefaultImage(TBitmap& B) {
  B.SetSize(std::max(Width(), 1), std::max(Height(), 1));
  TCanvas& c = B.Canvas();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(Color());
  TRect r{0, 0, B.Width(), B.Height()};
  c.FillRect(r);
  switch (borderStyle_) {
    case TqzSkinBorderStyle::bvFrame: Frame3D(c, r, clBtnShadow, clBtnShadow, 1); break;
    case TqzSkinBorderStyle::bvRaised: Frame3D(c, r, clBtnShadow, clBtnHighlight, 1); break;
    case TqzSkinBorderStyle::bvLowered: Frame3D(c, r, clBtnHighlight, clBtnShadow, 1); break;
    case TqzSkinBorderStyle::bvNone: break;
  }
  B.Modified();
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
