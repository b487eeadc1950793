// The skinned scroll bar: two step buttons, a track and a thumb, cut from a
// "scrollbar" description or drawn in the plain look.
//
// The bar's geometry is one pure function (CalcScrollBarLayout) that the
// paint, the hit test and the thumb drag all use, so what is drawn is what
// is clicked. The control adds the range, the mouse (hot and pressed parts,
// auto-repeat, paging, dragging) and the keyboard.
#pragma once

#include <functional>
#include <string>

#include "host/base/Types.h"
#include "host/components/Events.h"
#include "skin/controls/SkinControl.h"

namespace qz {

class TqzDataSkinScrollBarControl;

enum class TqzScrollBarKind { sbHorizontal, sbVertical };
using enum TqzScrollBarKind;
QZ_ENUM(TqzScrollBarKind, "sbHorizontal", "sbVertical");

// The parts in hit-test order; -1 is none.
enum TqzScrollBarPart : int { sbpThumb = 0, sbpIncrement = 1, sbpDecrement = 2 };

// Auto-repeat: the first delay after a press, then the rhythm.
inline constexpr unsigned kScrollRepeatDelayMs = 500;
inline constexpr unsigned kScrollRepeatIntervalMs = 50;

// Everything the layout depends on.
struct TqzScrollBarLayoutInput {
  bool Vertical = false;
  int Width = 0, Height = 0;
  int Min = 0, Max = 100, Position = 0, PageSize = 0;
  bool Both = false;
  int BothMarkerWidth = 0;
  // Null: the plain look.
  const TqzDataSkinScrollBarControl* Skin = nullptr;
};

// Rectangles in control coordinates; c0 / c1 are the thumb centre's lowest
// and highest positions along the axis, Offset the thumb's current offset
// from its lowest place.
struct TqzScrollBarLayout {
  TRect Thumb, Increment, Decrement, Track;
  int LowCentre = 0, HighCentre = 0, Offset = 0;
  int ThumbLength = 0;
  const TRect& Part(int part) const;
};

TqzScrollBarLayout CalcScrollBarLayout(const TqzScrollBarLayoutInput& in);

// The position a thumb drag reaches when the thumb's offset along the axis
// is `offset` (clamped to the track).
int ScrollPositionFromOffset(const TqzScrollBarLayout& layout, const TqzScrollBarLayoutInput& in,
                             int offset);

// The state rectangles of a description after the fall-backs (an empty
// pressed look is the hot one, an empty hot thumb the normal one).
struct TqzScrollBarLooks {
  TRect IncHot, IncDown, DecHot, DecDown;
  TRect Thumb, ThumbHot, ThumbDown;
  TRect Glyph, GlyphHot, GlyphDown;
};
TqzScrollBarLooks ResolveScrollBarLooks(const TqzDataSkinScrollBarControl& d);

class TqzSkinScrollBar : public TqzSkinCustomControl {
  QZ_CLASS(TqzSkinScrollBar, TqzSkinCustomControl)
 public:
  explicit TqzSkinScrollBar(TComponent* AOwner);
  ~TqzSkinScrollBar() override;

  // ---- published
  bool Both() const { return both_; }
  void SetBoth(bool V);
  int BothMarkerWidth() const { return bothMarkerWidth_; }
  void SetBothMarkerWidth(int V);
  const std::string& BothSkinDataName() const { return bothSkinDataName_; }
  void SetBothSkinDataName(const std::string& V) { bothSkinDataName_ = V; }
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool V);
  TqzScrollBarKind Kind() const { return kind_; }
  void SetKind(TqzScrollBarKind V);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int V);
  int Min() const { return min_; }
  void SetMin(int V);
  int Max() const { return max_; }
  void SetMax(int V);
  int Position() const { return position_; }
  // Clamps, stores, repaints and fires OnChange when the value changed.
  void SetPosition(int V);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int V);
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int V);
  TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnChange, OnLastChange, OnPageUp, OnPageDown;

  // Stores all four and clamps the position; no OnChange.
  void SetRange(int AMin, int AMax, int APageSize, int APosition);

  // ---- state, for painting and tests
  TqzScrollBarLayout Layout() const;
  int HotPart() const { return hotPart_; }
  int PressedPart() const { return pressedPart_; }
  int RepeatMode() const { return repeatMode_; }
  bool Dragging() const { return pressedPart_ == sbpThumb; }
  const TqzDataSkinScrollBarControl* BarDescription() const;

  void CreateControlSkinImage(TBitmap& B) override;
  void CreateControlDefaultImage(TBitmap& B) override;
  void CalcSize(int& W, int& H) override;

 protected:
  void Dispatch(TMessage& m) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void CMMouseLeave(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;

 private:
  TqzScrollBarLayoutInput LayoutInput() const;
  int PartAt(TPoint p) const;
  int AxisOf(TPoint p) const { return kind_ == sbVertical ? p.Y : p.X; }
  void InvalidatePart(int part);
  void SetHotPart(int part);
  // Clamps V to the range rule.
  int ClampPosition(int V) const;

  // The actions; false when a handler freed the bar.
  bool Fire(const TNotifyEvent& e);
  bool StepButton(int part);
  bool PageStep(bool forward);
  void PressAt(TPoint p);
  void RepeatTick();
  void StartRepeatTimer(unsigned ms);
  void StopRepeatTimer();
  void ReleasePressed(bool leftButton);

  void DrawSkinParts(TBitmap& B, const TqzScrollBarLayout& l);
  void DrawPlainParts(TBitmap& B, const TqzScrollBarLayout& l);
  void DrawSkinThumb(TBitmap& B, const TqzDataSkinScrollBarControl& d, const TqzScrollBarLayout& l);

  bool both_ = false;
  int bothMarkerWidth_ = 0;
  std::string bothSkinDataName_ = "bothhscrollbar";
  std::string singleSkinDataName_;
  bool canFocused_ = false;
  TqzScrollBarKind kind_ = sbHorizontal;
  int pageSize_ = 0, min_ = 0, max_ = 100, position_ = 0;
  int smallChange_ = 1, largeChange_ = 1;

  int hotPart_ = -1, pressedPart_ = -1;
  int repeatMode_ = 0;  // 0 none, 1 decrement, 2 increment, 3 page back, 4 page forward
  bool repeatTimer_ = false;
  bool repeatWaiting_ = false;  // the first (long) delay runs
  int dragOrigin_ = 0, dragOffset_ = 0;
  TPoint lastMouse_;
};

}  // namespace qz
