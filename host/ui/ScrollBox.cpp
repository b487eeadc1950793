#include "host/ui/ScrollBox.h"

#include <algorithm>

#include "host/ui/Forms.h"

namespace qz {

namespace {

// Aligned children follow the box's size along their free axis, so they do
// not count for that axis's extent (they would keep a range alive that only
// exists because of them).
bool CountsAcross(TAlign a) { return a == alNone || a == alCustom || a == alLeft; }
bool CountsDown(TAlign a) { return a == alNone || a == alCustom || a == alTop; }

}  // namespace

TScrollBox::TScrollBox(TComponent* AOwner) : TCustomControl(AOwner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  width_ = 185;
  height_ = 41;
}

TScrollBox::~TScrollBox() = default;

int TScrollBox::MaxHorzPosition() const { return std::max(0, horzRange_ - ClientWidth()); }
int TScrollBox::MaxVertPosition() const { return std::max(0, vertRange_ - ClientHeight()); }

void TScrollBox::SetHorzPosition(int V) { ScrollTo(std::clamp(V, 0, MaxHorzPosition()), vertPosition_); }
void TScrollBox::SetVertPosition(int V) { ScrollTo(horzPosition_, std::clamp(V, 0, MaxVertPosition())); }

void TScrollBox::ScrollBy(int DeltaX, int DeltaY) {
  if (DeltaX == 0 && DeltaY == 0) return;
  horzPosition_ -= DeltaX;
  vertPosition_ -= DeltaY;
  // Moving the children is the box's own doing: no realignment, no range
  // update per child.
  const bool wasAligning = aligning_;
  aligning_ = true;
  std::vector<TComponentRef<TControl>> children(controls_.begin(), controls_.end());
  for (const auto& c : children)
    if (c) c->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
  aligning_ = wasAligning;
  Invalidate();
}

void TScrollBox::ScrollTo(int x, int y) {
  if (x == horzPosition_ && y == vertPosition_) return;
  ScrollBy(horzPosition_ - x, vertPosition_ - y);
  FireGuarded(OnScroll);
}

bool TScrollBox::FireGuarded(const TNotifyEvent& e) {
  if (!e) return true;
  TComponentRef<TScrollBox> self(this);
  e(this);
  return bool(self);
}

void TScrollBox::UpdateScrollRange() {
  if (updating_ || InState(csDestroying)) return;
  int right = 0, bottom = 0;
  for (TControl* c : controls_) {
    if (!c->Visible()) continue;
    if (CountsAcross(c->Align())) right = std::max(right, c->Left() + c->Width() + horzPosition_);
    if (CountsDown(c->Align())) bottom = std::max(bottom, c->Top() + c->Height() + vertPosition_);
  }
  const bool rangeChanged = right != horzRange_ || bottom != vertRange_;
  horzRange_ = right;
  vertRange_ = bottom;
  TComponentRef<TScrollBox> self(this);
  updating_ = true;
  // Aligned children span the scrolled area, which the new range may change.
  if (rangeChanged) Realign();
  ScrollTo(std::min(horzPosition_, MaxHorzPosition()), std::min(vertPosition_, MaxVertPosition()));
  if (!self) return;
  updating_ = false;
  if (rangeChanged) FireGuarded(OnRangeChange);
}

void TScrollBox::AlignControls(TControl* AControl, TRect& Rect) {
  // Aligned children are placed in the whole scrolled area.
  TRect area{-horzPosition_, -vertPosition_, -horzPosition_ + std::max(horzRange_, Rect.Width()),
             -vertPosition_ + std::max(vertRange_, Rect.Height())};
  TCustomControl::AlignControls(AControl, area);
  UpdateScrollRange();
}

void TScrollBox::ScrollInView(TControl* AControl) {
  if (!AControl || !ContainsControl(AControl) || AControl == this) return;
  // The control's rectangle in the box's client coordinates.
  TRect r = AControl->BoundsRect();
  if (AControl->Parent() != this) {
    const TPoint o = AControl->Parent()->ClientOrigin() - ClientOrigin();
    r = OffsetRect(r, o.X, o.Y);
  }
  auto needed = [](int low, int high, int size) {
    if (low < 0) return low;
    if (high > size) return std::min(high - size, low);
    return 0;
  };
  SetHorzPosition(horzPosition_ + needed(r.Left, r.Right, ClientWidth()));
  SetVertPosition(vertPosition_ + needed(r.Top, r.Bottom, ClientHeight()));
}

void TScrollBox::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

void TScrollBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_CONTROLCHANGE: {
      // An aligned child that changed moves its followers: realign, which
      // updates the range as well.
      auto* child = reinterpret_cast<TControl*>(m.WParam);
      if (child && child->Align() != alNone && !updating_) Realign();
      else UpdateScrollRange();
      return;
    }
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<int16_t>(HIWORD(m.WParam));
      const int pixels = delta * wheelStep_ / 120;
      if (MaxVertPosition() > 0) SetVertPosition(vertPosition_ - pixels);
      else SetHorzPosition(horzPosition_ - pixels);
      m.Result = 1;
      return;
    }
    case CM_ENTER: {
      // Focus that moves into the box brings its control into view.
      TComponentRef<TScrollBox> self(this);
      TCustomControl::Dispatch(m);
      if (!self) return;
      if (TCustomForm* form = GetParentForm(this)) ScrollInView(form->ActiveControl());
      return;
    }
    default: break;
  }
  TCustomControl::Dispatch(m);
}

QZ_PUBLISHED(TScrollBox, TCustomControl) {
  b.Factory([](TComponent* owner) { return new TScrollBox(owner); });
  b.Prop("WheelStep", &TScrollBox::WheelStep, &TScrollBox::SetWheelStep, 40);
}

}  // namespace qz
