// The skinned check box and radio button (one class: Radio chooses).
//
// The first half holds the rules that need no window (which check image a
// state shows and how missing images fall back, the state a click leads
// to, where the plate's areas go at a size); the second half is the control.
// In the default flat mode the box draws its check image and caption over
// its parent's background; otherwise it draws a plate composed from the
// description.
#pragma once

#include <functional>
#include <string>

#include "host/base/Color.h"
#include "host/base/Types.h"
#include "host/components/Properties.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinFade.h"

namespace qz {

class TBitmap;
class TCanvas;
class TCustomImageList;
class TqzDataSkinCheckRadioControl;

enum TqzCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
QZ_ENUM(TqzCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed");

// ---------------------------------------------------------------- rules

// The check images of a description after the fall-backs: the active and
// the disabled images of a state without their own are the normal ones.
// The grayed images stay empty when the description has none.
struct TqzCheckImages {
  TRect Check, Uncheck, ActiveCheck, ActiveUncheck, DisabledCheck, DisabledUncheck;
  TRect Grayed, ActiveGrayed;
};
TqzCheckImages ResolveCheckImages(const TqzDataSkinCheckRadioControl& d);

// The image a state shows. Brighten: the grayed look has no image of its
// own and is the chosen image brightened by half.
struct TqzCheckImageChoice {
  TRect Rect;
  bool Brighten = false;
};
TqzCheckImageChoice ChooseCheckImage(const TqzCheckImages& images, TqzCheckBoxState state,
                                     bool enabled, bool mouseIn);

// The state a click on the box leads to: a check box that allows the grayed
// state cycles unchecked -> grayed -> checked -> unchecked; otherwise a
// check box toggles and a radio button becomes checked.
TqzCheckBoxState NextClickState(TqzCheckBoxState state, bool allowGrayed, bool radio);

// Where the plate's check area and text area lie on a box of width x height
// (description coordinates in, control coordinates out): the text area
// takes the change of size; a check area right of it moves with it.
struct TqzCheckPlateAreas {
  TRect CheckArea, TextArea;
};
TqzCheckPlateAreas PlaceCheckPlateAreas(const TRect& checkArea, const TRect& textArea,
                                        const TRect& skinRect, int width, int height);

// ---------------------------------------------------------------- control

// What the box copies from its description at GetSkinData.
struct TqzCheckRadioSkinValues {
  std::string FontName = "Tahoma";
  int FontHeight = 13;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, UnEnabledFontColor = 0, FrameFontColor = 0;
  bool Morphing = false;
  int MorphKind = 0;
  TRect ActiveSkinRect;  // SkinRect when the description has none
  TRect CheckImageArea, TextArea;
  TqzCheckImages Images;
};

class TqzSkinCheckRadioBox : public TqzSkinCustomControl {
  QZ_CLASS(TqzSkinCheckRadioBox, TqzSkinCustomControl)
 public:
  explicit TqzSkinCheckRadioBox(TComponent* AOwner);
  ~TqzSkinCheckRadioBox() override;

  // ---- published
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v);
  TqzCheckBoxState State() const { return state_; }
  // Checked follows; a state that becomes checked unchecks the group.
  void SetState(TqzCheckBoxState V);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  bool UseSkinFontColor() const { return useSkinFontColor_; }
  void SetUseSkinFontColor(bool v);
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool v);
  bool Radio() const { return radio_; }
  void SetRadio(bool V);
  bool Checked() const { return checked_; }
  void SetChecked(bool V);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  // Every change of State, also of a radio button that a sibling unchecked.
  TNotifyEvent OnChange;

  // A check box inverts Checked; a radio button becomes checked.
  virtual void Toggle();

  void GetSkinData() override;
  void CreateControlSkinImage(TBitmap& B) override;
  void CreateControlDefaultImage(TBitmap& B) override;
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;
  void CalcSize(int& W, int& H) override;
  void SetControlRegion() override;

  // ---- run-time state (read by tests)
  bool MouseIn() const { return mouseIn_; }
  bool Pressed() const { return pressed_; }
  double MorphKf() const;
  bool FadeRunning() const { return fade_.Running(); }
  bool HasCheckSkin() const { return hasCheckSkin_; }
  const TqzCheckRadioSkinValues& SkinValues() const { return skin_; }
  // Whether the description's fade applies now (never in flat mode).
  bool MorphAvailable() const;
  // Where the check image of the flat look lies (size of `image`).
  TRect FlatCheckImageRect(TSize image) const;

 protected:
  // Besides caption, enabled state and hint: the action's Checked sets the
  // box's (without a click), and its image shows from its list's images.
  void ActionChange(TBasicAction& action) override;
  void Dispatch(TMessage& m) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WMMouse(TMessage& m) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;

 private:
  // Stores the state, repaints and unchecks the group when it became
  // checked; false when a handler freed the box.
  bool ApplyState(TqzCheckBoxState V, bool fireClick);
  bool UncheckGroup();
  // The linked action's Checked follows the box; false when that freed it.
  // Skipped when the click that follows runs an action that toggles itself.
  bool CheckLinkedAction(bool clickFollows);
  bool FireChange();
  bool FireClick();
  // The click of the mouse or the Space key.
  bool ClickByUser();
  // Arrow keys: the next radio button of the group takes focus and check.
  bool MoveInGroup(bool forward);
  bool HasFocusNow() const;
  void HoverChanged(bool in);

  void StartFade();
  void StopFade();
  void FadeTick();

  const TqzDataSkinCheckRadioControl* CheckDescription() const;
  void CopySkinValues(const TqzDataSkinCheckRadioControl& d);
  void SetUpCaptionFont(TCanvas& canvas, bool skinned, bool hot) const;
  // The check image of the current state as a bitmap (empty for none).
  void CheckImage(TBitmap& out) const;
  // The Images image at (x, centred); returns its width (0 for none).
  int DrawImagesImage(TCanvas& canvas, int x) const;
  void DrawCaption(TCanvas& canvas, const TRect& r) const;
  void DrawFocus(TCanvas& canvas, const TRect& textRect, const TRect& imageRect) const;
  void PaintFlat(TBitmap& B);
  void PaintPlate(TBitmap& B);
  void ComposePlate(TBitmap& B, bool hot) const;
  void PaintPlainLook(TBitmap& B);

  bool wordWrap_ = false;
  bool allowGrayed_ = false;
  TqzCheckBoxState state_ = cbUnchecked;
  TCustomImageList* images_ = nullptr;
  int imageIndex_ = -1;
  bool useSkinFontColor_ = true;
  bool canFocused_ = true;
  bool radio_ = false;
  bool checked_ = false;
  int groupIndex_ = 0;
  bool flat_ = true;

  TqzCheckRadioSkinValues skin_;
  bool hasCheckSkin_ = false;
  bool mouseIn_ = false;
  bool pressed_ = false;
  bool spaceDown_ = false;
  TqzFade fade_;
};

}  // namespace qz
