// The skinned track bar (slider): a value between MinValue and MaxValue
// shown by a thumb that moves along a track, horizontal or vertical.
//
// The first half holds the geometry rules (where the thumb lies for a
// value, which value a position along the track gives); they need no window
// and are tested on their own. The second half is the control.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "host/base/Types.h"
#include "skin/controls/SkinControl.h"

namespace qz {

class TBitmap;
class TqzDataSkinTrackBarControl;

// ---------------------------------------------------------------- rules

// The thumb's place inside the track rectangle: the centre runs from Start
// to End; Offset is how far it is from Start (from the bottom when
// vertical, where values grow upward).
struct TqzTrackGeometry {
  int Start = 0, End = 0, Offset = 0;
  TRect Thumb;
};
TqzTrackGeometry CalcTrackGeometry(const TRect& track, TSize thumb, bool vertical, int value,
                                   int minValue, int maxValue);

// The value at position p along the track (p from Start): the fraction of
// the track, clamped to [0, 1], of the range from minValue to maxValue,
// rounded halves to even. A track without length gives minValue.
int TrackValueAt(int p, int start, int end, int minValue, int maxValue);

// The thumb size of the plain look: across the bar 4 pixels less than the
// bar, along it half of that.
TSize PlainThumbSize(int width, int height, bool vertical);

// ---------------------------------------------------------------- control

class TqzSkinTrackBar : public TqzSkinCustomControl {
  QZ_CLASS(TqzSkinTrackBar, TqzSkinCustomControl)
 public:
  explicit TqzSkinTrackBar(TComponent* AOwner);
  ~TqzSkinTrackBar() override;

  // ---- published
  // A range given upside down (MinValue > MaxValue) runs the bar backwards:
  // the value stays between the two and MinValue sits at the track start.
  int MinValue() const { return minValue_; }
  void SetMinValue(int v);
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int v);
  int Value() const { return value_; }
  // Clamped to the range; OnChange when it really changes.
  void SetValue(int v);
  bool Vertical() const { return vertical_; }
  void SetVertical(bool v);
  bool JumpWhenClick() const { return jumpWhenClick_; }
  void SetJumpWhenClick(bool v) { jumpWhenClick_ = v; }
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool v);
  bool MouseSupport() const { return mouseSupport_; }
  void SetMouseSupport(bool v);
  // Every change of Value.
  TNotifyEvent OnChange;
  // A drag ended, or one step by key or wheel.
  TNotifyEvent OnLastChange;
  // A drag began.
  TNotifyEvent OnStartDragButton;

  void GetSkinData() override;
  void CreateControlSkinImage(TBitmap& B) override;
  void CreateControlDefaultImage(TBitmap& B) override;

  // ---- run-time state (read by tests)
  bool Dragging() const { return dragging_; }
  bool HasTrackSkin() const { return hasTrackSkin_; }
  // The direction in effect: the description's when it has one.
  bool IsVertical() const;
  // The track rectangle for the current size, and the thumb's place in it.
  TRect TrackRect() const;
  TSize ThumbSize() const;
  TqzTrackGeometry ThumbGeometry() const;
  // A step of the Page keys.
  int PageSize() const;

 protected:
  void Paint() override;
  void Dispatch(TMessage& m) override;
  void WMMouse(TMessage& m) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 private:
  // The description and its picture are there: the skinned look.
  bool Skinned() const { return hasTrackSkin_ && Picture != nullptr; }
  int LowValue() const { return std::min(minValue_, maxValue_); }
  int HighValue() const { return std::max(minValue_, maxValue_); }
  // The value moved by delta, kept in the range.
  int SteppedBy(int64_t delta) const;
  // Clamps value_ after a range change, repainting without OnChange.
  void PullValueIntoRange();
  // A step by key or wheel: the new value, then OnLastChange. False when a
  // handler freed the bar.
  bool StepTo(int v);
  bool Fire(const TNotifyEvent& event);
  bool HasFocusNow() const { return canFocused_ && Focused(); }
  void StopDrag();

  const TqzDataSkinTrackBarControl* TrackDescription() const;
  void PaintSkinThumb(TBitmap& B, const TRect& thumb) const;
  void PaintActiveTrack(TBitmap& B, const TRect& thumb) const;

  int minValue_ = 0;
  int maxValue_ = 100;
  int value_ = 50;
  bool vertical_ = false;
  bool jumpWhenClick_ = false;
  bool canFocused_ = false;
  bool mouseSupport_ = true;

  // From the description at GetSkinData.
  bool hasTrackSkin_ = false;
  bool skinVertical_ = false;
  TRect activeSkinRect_, trackArea_, buttonRect_, activeButtonRect_;
  bool buttonTransparent_ = false;
  TColor buttonTransparentColor_ = 0;

  bool dragging_ = false;
  bool releasing_ = false;  // a left button release is being handled
  int dragStartPos_ = 0;
  int dragStartOffset_ = 0;
};

}  // namespace qz
