// TScrollBox: a windowed container whose children scroll by pixels.
//
// The box keeps its children's positions shifted by the scroll position:
// a child placed at content point (x, y) sits at (x - HorzPosition,
// y - VertPosition). The scroll range is the extent of the visible
// children in content coordinates and follows them as they are added,
// moved, resized, shown, hidden or removed. The box draws no bars of its
// own; whoever shows bars reads the ranges and positions and listens to
// OnScroll and OnRangeChange.
#pragma once

#include "host/ui/Controls.h"

namespace qz {

class TScrollBox : public TCustomControl {
  QZ_CLASS(TScrollBox, TCustomControl)
 public:
  explicit TScrollBox(TComponent* AOwner);
  ~TScrollBox() override;

  // The content's extent (at least 0).
  int HorzRange() const { return horzRange_; }
  int VertRange() const { return vertRange_; }
  int HorzPosition() const { return horzPosition_; }
  int VertPosition() const { return vertPosition_; }
  // The largest positions: the content's last pixels at the client's edge.
  int MaxHorzPosition() const;
  int MaxVertPosition() const;
  // Clamped to 0 .. the largest position; the children move.
  void SetHorzPosition(int V);
  void SetVertPosition(int V);

  // Moves every child by (DeltaX, DeltaY) pixels; the positions change by
  // the opposite amounts. Not clamped: callers keep within the range.
  void ScrollBy(int DeltaX, int DeltaY);
  // Scrolls as little as needed to show the child (a descendant of the
  // box) whole, or its top-left part when it is larger than the client.
  void ScrollInView(TControl* AControl);
  // Recomputes the ranges from the children and pulls the positions back
  // into them.
  void UpdateScrollRange();

  // ---- published
  // Pixels scrolled per wheel notch.
  int WheelStep() const { return wheelStep_; }
  void SetWheelStep(int V) { wheelStep_ = V > 0 ? V : 1; }

  // A position changed (by scrolling or by a range that shrank).
  TNotifyEvent OnScroll;
  // A range changed.
  TNotifyEvent OnRangeChange;

  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Dispatch(TMessage& m) override;

 protected:
  void Paint() override;

 private:
  // Moves the children to new positions and tells the listeners.
  void ScrollTo(int x, int y);
  bool FireGuarded(const TNotifyEvent& e);

  int horzRange_ = 0, vertRange_ = 0;
  int horzPosition_ = 0, vertPosition_ = 0;
  int wheelStep_ = 40;
  bool updating_ = false;  // children move because of the box itself
};

}  // namespace qz
