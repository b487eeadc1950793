// The skinned scroll box: the host's pixel scrolling of child controls,
// painted from a "scrollbox" description, with two skinned scroll bars
// placed beside it that mirror its ranges and positions and scroll it when
// they move.
#pragma once

#include "host/ui/ScrollBox.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinLabel.h"
#include "skin/controls/SkinScrollBar.h"

namespace qz {

class TqzSkinScrollBox : public TScrollingControl<TqzSkinCustomControl> {
  QZ_CLASS(TqzSkinScrollBox, TqzSkinCustomControl)
 public:
  explicit TqzSkinScrollBox(TComponent* AOwner);
  ~TqzSkinScrollBox() override;

  // ---- published
  // Links to bars beside the box; a linked bar is taken over (hidden until
  // there is something to scroll, not focusable, its change scrolls).
  TqzSkinScrollBar* HScrollBar() const { return hBar_; }
  void SetHScrollBar(TqzSkinScrollBar* V);
  TqzSkinScrollBar* VScrollBar() const { return vBar_; }
  void SetVScrollBar(TqzSkinScrollBar* V);
  TqzSkinBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TqzSkinBorderStyle V);
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool V);

  // Brings both bars in line with the ranges, the client size and the
  // positions; shows a bar only when there is something to scroll.
  void UpdateBars();

  void CreateControlDefaultImage(TBitmap& B) override;
  void CreateControlSkinImage(TBitmap& B) override;
  void ChangeSkinData() override;
  // Unlinking the skin (or linking one still loading) changes the frame
  // too: the box gives back the borders it reserved and its bars follow.
  void SetSkinData(TqzSkinData* Value) override;

  // The frame's thickness on each side: the description's borders, none
  // with a background picture, one pixel in the plain look unless bvNone.
  TRect FrameInsets();

 protected:
  void ScrollPositionChanged() override;
  void ScrollRangeChanged() override;
  bool IsScrollBarOfThis(const TControl* c) const override;
  void Resize() override;
  void Loaded() override;
  void CMVisibleChanged(TMessage& m) override;
  void Dispatch(TMessage& m) override;

 private:
  void LinkBar(TqzSkinScrollBar* bar, bool vertical);
  void UnlinkBar(TqzSkinScrollBar* bar);
  // False when the bar's visibility changed.
  bool MirrorBar(TqzSkinScrollBar& bar, int range, int client, int position);
  // The description's background picture; null for none.
  TBitmap* BackgroundPicture() const;
  void PaintFrame();
  // The client rectangle follows the frame again.
  void FrameChanged();

  TqzSkinScrollBar* hBar_ = nullptr;
  TqzSkinScrollBar* vBar_ = nullptr;
  TqzSkinBorderStyle borderStyle_ = TqzSkinBorderStyle::bvFrame;
  bool canFocused_ = false;
  bool updatingBars_ = false;
};

}  // namespace qz
