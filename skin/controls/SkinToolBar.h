// The skinned tool bar: a panel that carries a row of buttons and other
// controls. It centres its children vertically, hands its image lists and
// its caption and flat settings to the tool buttons on it, switches between
// a wide layout with captions and a narrow one without, and scrolls a row
// that is wider than itself with two arrow areas at its ends.
#pragma once

#include <cstdint>

#include "skin/controls/SkinPanel.h"

namespace qz {

class TqzDataSkinButtonControl;

// A button that takes part of its look from the tool bar it sits on. The
// bar tells every such child of its settings; other children are left
// alone.
class IqzToolBarButton {
 public:
  virtual ~IqzToolBarButton() = default;
  virtual void SetFlat(bool v) = 0;
  virtual void SetShowCaption(bool v) = 0;
  // The bar's image lists changed: the button repaints with them.
  virtual void ToolBarImagesChanged() = 0;
};

// Which arrow area of a scrolling bar: none, the left or the right one.
enum class TqzToolBarArrow { None, Left, Right };

class TqzSkinToolBar : public TqzSkinPanel, public IqzSkinControlPlacer {
  QZ_CLASS(TqzSkinToolBar, TqzSkinPanel)
 public:
  explicit TqzSkinToolBar(TComponent* AOwner);
  ~TqzSkinToolBar() override;

  // Width of each arrow area while the row does not fit.
  static constexpr int kScrollArrowWidth = 12;
  // Pixels per scroll step when ScrollOffset is 0.
  static constexpr int kDefaultScrollStep = 10;

  // ---- published
  bool AdjustControls() const { return adjustControls_; }
  void SetAdjustControls(bool v);
  bool CanScroll() const { return canScroll_; }
  void SetCanScroll(bool v);
  bool HotScroll() const { return hotScroll_; }
  void SetHotScroll(bool v) { hotScroll_ = v; }
  int ScrollOffset() const { return scrollOffset_; }
  void SetScrollOffset(int v) { scrollOffset_ = v < 0 ? 0 : v; }
  int ScrollTimerInterval() const { return scrollTimerInterval_; }
  void SetScrollTimerInterval(int v) { scrollTimerInterval_ = v < 1 ? 1 : v; }
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool v);
  bool AutoShowHideCaptions() const { return autoShowHideCaptions_; }
  void SetAutoShowHideCaptions(bool v) { autoShowHideCaptions_ = v; }
  int WidthWithCaptions() const { return widthWithCaptions_; }
  void SetWidthWithCaptions(int v) { widthWithCaptions_ = v; }
  int WidthWithoutCaptions() const { return widthWithoutCaptions_; }
  void SetWidthWithoutCaptions(int v) { widthWithoutCaptions_ = v; }
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  TCustomImageList* HotImages() const { return hotImages_; }
  void SetHotImages(TCustomImageList* v);
  TCustomImageList* DisabledImages() const { return disabledImages_; }
  void SetDisabledImages(TCustomImageList* v);

  // ---- scrolling
  // How far the row is scrolled to the left (0: not scrolled).
  int ScrollPosition() const { return scrollPosition_; }
  // The largest position: the row's right end at the client's right edge.
  int MaxScrollPosition() const;
  bool ScrollArrowsShown() const { return arrowsShown_; }
  // One step towards the row's start or its end; nothing at either end.
  void ScrollLeft();
  void ScrollRight();
  // The "resizebutton" description that draws the arrows (null for none).
  const TqzDataSkinButtonControl* ArrowDescription() const { return arrowDescription_; }
  // The arrow area under a point in window coordinates.
  TqzToolBarArrow ArrowAt(TPoint windowPoint) const;

  // ---- operations
  int PlaceChildTop(int top, int height) const override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;

 protected:
  void Paint() override;
  void Dispatch(TMessage& m) override;

 private:
  // Children that are not skinned controls and not aligned move to the
  // vertical middle of the client area.
  void CentreChildren();
  void CentreChild(TControl& child, const TRect& client);
  void ChildChanged(TControl* child);
  // Every child's bounds set again, so that skinned children place
  // themselves in the bar.
  void ReplaceChildren();
  // Shows or hides the arrow areas as the row needs and keeps the scroll
  // position inside the row.
  void UpdateScrolling();
  // The right end of the visible children, unscrolled, in client pixels.
  int RowRight() const;
  // Moves every child by dx without a realignment per child.
  void MoveChildren(int dx);
  void SetArrowsShown(bool shown);
  void StepScroll(TqzToolBarArrow arrow);
  void ForEachToolButton(void (*fn)(IqzToolBarButton&, bool), bool value);
  void TellImagesChanged();

  void PressArrow(TqzToolBarArrow arrow);
  void HoverArrow(TqzToolBarArrow arrow);
  void StartScrollTimer(TqzToolBarArrow arrow);
  void StopScrollTimer();
  void ScrollTimerTick();
  TqzToolBarArrow ArrowUnderCursor() const;
  void PaintArrows();
  // An arrow with nothing left to scroll towards is drawn disabled.
  void PaintArrow(TCanvas& canvas, const TRect& r, bool left, bool hot, bool enabled) const;
  void RedrawArrows();

  bool adjustControls_ = true;
  bool canScroll_ = false;
  bool hotScroll_ = false;
  int scrollOffset_ = 0;
  int scrollTimerInterval_ = 50;
  bool showCaptions_ = false;
  bool autoShowHideCaptions_ = false;
  int widthWithCaptions_ = 0;
  int widthWithoutCaptions_ = 0;
  bool flat_ = false;
  TCustomImageList* images_ = nullptr;
  TCustomImageList* hotImages_ = nullptr;
  TCustomImageList* disabledImages_ = nullptr;

  const TqzDataSkinButtonControl* arrowDescription_ = nullptr;
  int scrollPosition_ = 0;
  bool arrowsShown_ = false;
  bool relayingOut_ = false;      // the bar itself is being re-laid out
  bool updatingScroll_ = false;
  TqzToolBarArrow timerArrow_ = TqzToolBarArrow::None;
  TqzToolBarArrow hotArrow_ = TqzToolBarArrow::None;
  bool pressed_ = false;
};

}  // namespace qz
