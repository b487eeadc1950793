// Pixel scrolling of a container's children, and TScrollBox built on it.
//
// A scrolling container keeps its children shifted by the scroll position:
// a child placed at content point (x, y) sits at (x - HorzPosition,
// y - VertPosition). The scroll range is the extent of the visible
// children in content coordinates and follows them as they are added,
// moved, resized, shown, hidden or removed (the framework tells a parent of
// such changes with CM_CONTROLCHANGE). The scrolling itself draws no bars;
// whoever shows bars reads the ranges and positions and hears of changes
// through the two hooks.
//
// TScrollingControl<Base> adds the scrolling to any windowed control class,
// so the host's plain TScrollBox and the skinned scroll box share it.
#pragma once

#include <algorithm>
#include <vector>

#include "host/ui/Controls.h"
#include "host/ui/Forms.h"

namespace qz {

template <class Base>
class TScrollingControl : public Base {
 public:
  using Base::Base;

  // The content's extent (at least 0).
  int HorzRange() const { return horzRange_; }
  int VertRange() const { return vertRange_; }
  int HorzPosition() const { return horzPosition_; }
  int VertPosition() const { return vertPosition_; }
  // The largest positions: the content's last pixels at the client's edge.
  int MaxHorzPosition() const { return std::max(0, horzRange_ - this->ClientWidth()); }
  int MaxVertPosition() const { return std::max(0, vertRange_ - this->ClientHeight()); }
  // Clamped to 0 .. the largest position; the children move.
  void SetHorzPosition(int V) { ScrollTo(std::clamp(V, 0, MaxHorzPosition()), vertPosition_); }
  void SetVertPosition(int V) { ScrollTo(horzPosition_, std::clamp(V, 0, MaxVertPosition())); }

  // Moves every child by (DeltaX, DeltaY) pixels; the positions change by
  // the opposite amounts. Not clamped: callers keep within the range.
  void ScrollBy(int DeltaX, int DeltaY) {
    if (DeltaX == 0 && DeltaY == 0) return;
    horzPosition_ -= DeltaX;
    vertPosition_ -= DeltaY;
    // Moving the children is the box's own doing: no realignment and no
    // range update per child.
    const bool wasAligning = this->aligning_;
    this->aligning_ = true;
    std::vector<TComponentRef<TControl>> children(this->controls_.begin(), this->controls_.end());
    for (const auto& c : children)
      if (c) c->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
    this->aligning_ = wasAligning;
    this->Invalidate();
  }

  // Scrolls as little as needed to show the control (a descendant) whole,
  // or its top-left part when it is larger than the client.
  void ScrollInView(TControl* AControl) {
    if (!AControl || AControl == this || !this->ContainsControl(AControl)) return;
    TRect r = AControl->BoundsRect();
    if (AControl->Parent() != this) {
      const TPoint o = AControl->Parent()->ClientOrigin() - this->ClientOrigin();
      r = OffsetRect(r, o.X, o.Y);
    }
    auto needed = [](int low, int high, int size) {
      if (low < 0) return low;
      if (high > size) return std::min(high - size, low);
      return 0;
    };
    TComponentRef<TControl> self(this);
    SetHorzPosition(horzPosition_ + needed(r.Left, r.Right, this->ClientWidth()));
    if (self) SetVertPosition(vertPosition_ + needed(r.Top, r.Bottom, this->ClientHeight()));
  }

  // Recomputes the ranges from the children and pulls the positions back
  // into them.
  void UpdateScrollRange() {
    if (updating_ || this->InState(csDestroying)) return;
    int right = 0, bottom = 0;
    for (TControl* c : this->controls_) {
      if (!c->Visible() || IsScrollBarOfThis(c)) continue;
      if (CountsAcross(c->Align())) right = std::max(right, c->Left() + c->Width() + horzPosition_);
      if (CountsDown(c->Align())) bottom = std::max(bottom, c->Top() + c->Height() + vertPosition_);
    }
    const bool rangeChanged = right != horzRange_ || bottom != vertRange_;
    horzRange_ = right;
    vertRange_ = bottom;
    TComponentRef<TControl> self(this);
    updating_ = true;
    // Aligned children span the scrolled area, which the new range changes.
    if (rangeChanged) this->Realign();
    ScrollTo(std::min(horzPosition_, MaxHorzPosition()), std::min(vertPosition_, MaxVertPosition()));
    if (!self) return;
    updating_ = false;
    if (rangeChanged) ScrollRangeChanged();
  }

  void AlignControls(TControl* AControl, TRect& Rect) override {
    // Aligned children are placed in the whole scrolled area.
    TRect area{-horzPosition_, -vertPosition_, -horzPosition_ + std::max(horzRange_, Rect.Width()),
               -vertPosition_ + std::max(vertRange_, Rect.Height())};
    Base::AlignControls(AControl, area);
    UpdateScrollRange();
  }

  // ---- published
  // Pixels scrolled per wheel notch.
  int WheelStep() const { return wheelStep_; }
  void SetWheelStep(int V) { wheelStep_ = V > 0 ? V : 1; }

  void Dispatch(TMessage& m) override {
    switch (m.Msg) {
      case CM_CONTROLCHANGE: {
        // An aligned child that changed moves its followers: realigning
        // updates the range as well.
        auto* child = reinterpret_cast<TControl*>(m.WParam);
        if (child && child->Align() != alNone && !updating_) this->Realign();
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
        TComponentRef<TControl> self(this);
        Base::Dispatch(m);
        if (!self) return;
        if (TCustomForm* form = GetParentForm(this)) ScrollInView(form->ActiveControl());
        return;
      }
      case CM_FOCUSCHANGED: {
        // So does focus that moves between two controls inside the box.
        TComponentRef<TControl> self(this);
        Base::Dispatch(m);
        if (self) ScrollInView(reinterpret_cast<TControl*>(m.WParam));
        return;
      }
      default: break;
    }
    Base::Dispatch(m);
  }

 protected:
  // Hooks: a position or a range changed. They may run user code that
  // frees the control; callers check.
  virtual void ScrollPositionChanged() {}
  virtual void ScrollRangeChanged() {}
  // Children that are not content (a box's own bars placed inside it).
  virtual bool IsScrollBarOfThis(const TControl*) const { return false; }

  // Moves the children to new positions and tells the hook.
  void ScrollTo(int x, int y) {
    if (x == horzPosition_ && y == vertPosition_) return;
    ScrollBy(horzPosition_ - x, vertPosition_ - y);
    ScrollPositionChanged();
  }

 private:
  // Aligned children follow the box's size along their free axis, so they
  // do not count for that axis's extent (they would keep alive a range that
  // only exists because of them).
  static bool CountsAcross(TAlign a) { return a == alNone || a == alCustom || a == alLeft; }
  static bool CountsDown(TAlign a) { return a == alNone || a == alCustom || a == alTop; }

  int horzRange_ = 0, vertRange_ = 0;
  int horzPosition_ = 0, vertPosition_ = 0;
  int wheelStep_ = 40;
  bool updating_ = false;  // the box itself moves children or realigns
};

// The host's plain scrolling container.
class TScrollBox : public TScrollingControl<TCustomControl> {
  QZ_CLASS(TScrollBox, TCustomControl)
 public:
  explicit TScrollBox(TComponent* AOwner);
  ~TScrollBox() override;

  // A position changed (by scrolling or by a range that shrank).
  TNotifyEvent OnScroll;
  // A range changed.
  TNotifyEvent OnRangeChange;

 protected:
  void Paint() override;
  void ScrollPositionChanged() override;
  void ScrollRangeChanged() override;
};

}  // namespace qz
