// A two-button scroller: the page control puts one at the end of a tab row
// that does not fit. The first button steps back (towards the row's start),
// the second forward; side by side, or stacked when vertical.
//
// Its look comes from an up-down description of the skin (kind "updown", or
// the spin buttons of a "spinedit" description): the back button from the
// down pieces, the forward button from the up pieces, each in its normal,
// hot or pressed state (a missing state falls back: pressed -> hot ->
// normal). Without a description it draws a plain look in system colours.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "skin/controls/SkinControl.h"

namespace qz {

enum class TqzUpDownButton { None, Back, Forward };

// The six button pieces of an up-down or spin description.
struct TqzUpDownPieces {
  TRect Up, ActiveUp, DownUp;        // forward: normal, hot, pressed
  TRect Down, ActiveDown, DownDown;  // back: normal, hot, pressed
  TBitmap* Picture = nullptr;        // not owned

  // The piece for a button in a state, after the fall-backs.
  TRect Piece(TqzUpDownButton button, bool hot, bool pressed) const;
};

// The pieces of the up-down or spin description `name` of a skin; none
// without such a description or its picture.
std::optional<TqzUpDownPieces> FindUpDownPieces(const TqzSkinData* skin, const std::string& name);
// Both buttons at their pieces' size, along the buttons' line (cx) and
// across it (cy); none when a normal piece is missing.
std::optional<TSize> UpDownSkinSize(const TqzUpDownPieces& pieces, bool vertical);

using TqzUpDownClickEvent = std::function<void(TObject* Sender, int Delta)>;

class TqzSkinUpDown : public TqzSkinControl {
  QZ_CLASS(TqzSkinUpDown, TqzSkinControl)
 public:
  explicit TqzSkinUpDown(TComponent* AOwner);

  bool Vertical() const { return vertical_; }
  void SetVertical(bool v);
  // A button that cannot act is drawn greyed (plain look) and ignores clicks.
  void SetButtonsEnabled(bool back, bool forward);
  bool ButtonEnabled(TqzUpDownButton button) const;

  // The two halves of the control.
  TRect ButtonRect(TqzUpDownButton button) const;
  TqzUpDownButton ButtonAt(int x, int y) const;
  TqzUpDownButton HotButton() const { return hot_; }
  TqzUpDownButton PressedButton() const { return pressed_; }

  // The pieces of the linked description; none without an up-down or spin
  // description of that name.
  std::optional<TqzUpDownPieces> Pieces() const;
  // Both buttons at their pieces' size (along the row x across it); none
  // without a description with pieces.
  std::optional<TSize> SkinSize() const;

  // Fired on a press of an enabled button: -1 back, +1 forward.
  TqzUpDownClickEvent OnClick;

 protected:
  void CreateControlSkinImage(TBitmap& B) override;
  void CreateControlDefaultImage(TBitmap& B) override;
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
  void MouseMove(TShiftState s, int x, int y) override;
  void CMMouseLeave(TMessage& m) override;

 private:
  void SetStates(TqzUpDownButton hot, TqzUpDownButton pressed);

  bool vertical_ = false;
  bool backEnabled_ = true;
  bool forwardEnabled_ = true;
  TqzUpDownButton hot_ = TqzUpDownButton::None;
  TqzUpDownButton pressed_ = TqzUpDownButton::None;
};

}  // namespace qz
