// The skinned push, toggle and group button.
//
// The first half of this header holds the button's rules as plain functions
// (which state image shows, how missing looks fall back, the fade steps, the
// glyph frame, the caption colour, the animation frames): they need no window
// and are tested on their own. The second half is the control.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/base/Color.h"
#include "host/base/Types.h"
#include "host/ui/Forms.h"
#include "skin/controls/ButtonLayoutNames.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinFade.h"
#include "skin/draw/QzText.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

class TBitmap;
class TCustomImageList;
class TqzDataSkinButtonControl;
class TqzLayerManager;

// ---------------------------------------------------------------- rules

// The state rectangles of a button description after the fall-backs: an
// empty active look is the normal one, an empty down look the active one.
// Focused and Disabled stay empty when the description has none (the
// choice below then skips them).
struct TqzButtonLooks {
  TRect Normal, Active, Down, Focused, Disabled;
};
TqzButtonLooks ResolveButtonLooks(const TqzDataSkinButtonControl& d);

// Which of the looks a paint shows; Fade blends Normal into Active.
enum class TqzButtonLook { Normal, Active, Down, Focused, Disabled, Fade };

struct TqzButtonState {
  bool Enabled = true;
  bool Down = false;
  int GroupIndex = 0;
  bool MouseIn = false;
  bool Focused = false;  // has the focus and may take it (CanFocused)
  bool MouseDownFlag = false;
  bool MorphAvailable = false;
  int FadeStep = 0;  // 0 .. kButtonFadeSteps
  bool Animating = false;
  bool HasDisabledLook = false;
  bool HasFocusedLook = false;
};

struct TqzButtonLookChoice {
  TqzButtonLook Look = TqzButtonLook::Normal;
  bool IsActive = false;
  bool IsDown = false;
};
TqzButtonLookChoice ChooseButtonLook(const TqzButtonState& s);

// Whether a Down button shows its down look now: group buttons always; a
// push button only while the mouse is over it, or while it has the focus
// and the mouse did not press it (the Space key).
bool ShowsDownLook(const TqzButtonState& s);

// The glyph frame (1-based) a state draws from a strip of numGlyphs frames.
int ButtonGlyphFrame(int numGlyphs, bool active, bool down, bool enabled);

// The caption colour of a state (see the control's colour rule).
struct TqzButtonColors {
  TColor Font = 0, Active = 0, Down = 0, Disabled = 0;
  TColor DefaultFont = 0;  // the DefaultFont's colour
  TColor SkinButtonText = 0;
};
struct TqzCaptionColorInput {
  bool Enabled = true, UseSkinFontColor = true, Active = false, Down = false;
  bool Transparent = false, HasSkin = false;
};
TColor ButtonCaptionColor(const TqzButtonColors& c, const TqzCaptionColorInput& in);

// Frame `frame` (1-based) of an animation strip: frames lie side by side when
// the strip is wider than the skin rectangle, else one below the other.
// Empty for a frame outside 1 .. frameCount.
TRect AnimationFrameRect(const TRect& strip, const TRect& skinRect, int frameCount, int frame);

// The content rectangle of a button whose size is free of the skin: the
// client rectangle grown by what the button is larger than its skin.
TRect FreeSizeContentRect(const TRect& clientRect, const TRect& skinRect, int width, int height);

// Composes the look at stateRect (a rectangle laid out like the description's
// SkinRect) into dest at width x height. With skinSized the description's
// resize rules apply (fixed axes snap to the skin size); otherwise the size is
// free and the look is scaled: a fixed-size look whole, a three-part look
// with its client rectangle as the stretched middle.
void ComposeButtonLook(const TqzSkinGeometry& g, const TRect& stateRect, bool skinSized, int width,
                       int height, const TBitmap& picture, TBitmap& dest);

// The glow picture brought to a button of width x height: its four offsets
// are fixed borders and the inside stretches. A glow picture for a
// fixed-size button is used as it is.
void ComposeGlowImage(const TBitmap& glow, const TRect& offsets, bool fixedSize, int width,
                      int height, TBitmap& dest);

// ---------------------------------------------------------------- control

// Custom painting of a button's content: R is the content rectangle; clearing
// DrawDefault suppresses glyph and caption (the skin background stays).
using TqzButtonPaintEvent = std::function<void(TObject* Sender, TCanvas& Cnvs, TRect R, bool ADown,
                                               bool AMouseIn, bool& DrawDefault)>;

// What the button copies from its description at GetSkinData.
struct TqzButtonSkinValues {
  std::string FontName = "Tahoma";
  int FontHeight = 13;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
  bool Morphing = false;
  int MorphKind = 0;
  TqzButtonLooks Looks;
  TRect AnimateSkinRect;
  int FrameCount = 0;
  int AnimateInterval = 25;
  bool ShowFocus = false;
  TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
  TColor MenuMarkerTransparentColor = 0;
  int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
  TRect GlowLayerOffsets;  // left, top, right, bottom margins
  TPoint GlowLayerShowOffset;
  int GlowLayerAlphaBlendValue = 255;
};

class TqzSkinButton : public TqzSkinCustomControl {
  QZ_CLASS(TqzSkinButton, TqzSkinCustomControl)
 public:
  explicit TqzSkinButton(TComponent* AOwner);
  ~TqzSkinButton() override;

  // ---- published
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool CheckedMode() const { return groupIndex_ == -1; }
  void SetCheckedMode(bool v);
  TCustomImageList* ImageList() const { return imageList_; }
  void SetImageList(TCustomImageList* v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  bool AlwaysShowLayeredFrame() const { return alwaysShowLayeredFrame_; }
  void SetAlwaysShowLayeredFrame(bool v) { alwaysShowLayeredFrame_ = v; }
  bool UseSkinSize() const { return useSkinSize_; }
  void SetUseSkinSize(bool v);
  bool UseSkinFontColor() const { return useSkinFontColor_; }
  void SetUseSkinFontColor(bool v);
  bool RepeatMode() const { return repeatMode_; }
  void SetRepeatMode(bool v) { repeatMode_ = v; }
  int RepeatInterval() const { return repeatInterval_; }
  void SetRepeatInterval(int v) { repeatInterval_ = v; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  bool CanFocused() const { return canFocused_; }
  void SetCanFocused(bool v);
  bool Down() const { return down_; }
  void SetDown(bool V);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int V);
  TBitmap& Glyph() { return *glyph_; }
  const TBitmap& Glyph() const { return *glyph_; }
  // Copies the bitmap.
  void SetGlyph(const TBitmap& v);
  int NumGlyphs() const { return numGlyphs_; }
  // 1 to 4; other values are refused.
  void SetNumGlyphs(int v);
  int Margin() const { return margin_; }
  // -1 centres glyph and caption together; values below -1 are refused.
  void SetMargin(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  TqzButtonLayout Layout() const { return layout_; }
  void SetLayout(TqzButtonLayout v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  bool Default() const { return default_; }
  void SetDefault(bool V);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  TqzButtonPaintEvent OnPaint;

  // ---- operations
  // The parent form takes ModalResult, then OnClick runs.
  virtual void ButtonClick();
  // Paints the whole button for one state into Bitmap.
  virtual void CreateButtonImage(TBitmap& Bitmap, const TRect& StateRect, bool IsActive,
                                 bool IsDown);

  void GetSkinData() override;
  void CreateControlSkinImage(TBitmap& B) override;
  void CreateControlDefaultImage(TBitmap& B) override;
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;
  void CalcSize(int& W, int& H) override;
  void SetControlRegion() override;

  // ---- run-time state (read by tests and by the menu button)
  bool MouseIn() const { return mouseIn_; }
  bool IsDefaultActive() const { return isDefaultActive_; }
  double MorphKf() const { return fade_.Kf(); }
  bool FadeRunning() const { return fade_.Running(); }
  bool AnimationRunning() const { return animTimer_; }
  int AnimFrame() const { return animFrame_; }
  const TqzButtonSkinValues& SkinValues() const { return skin_; }
  // Whether the description's fade applies now.
  bool MorphAvailable() const;
  // The glow frame's window manager (null until a glow frame was shown).
  const TqzLayerManager* GlowLayer() const { return glow_.get(); }
  // The state the paint chooses its look from.
  TqzButtonState PaintState() const;

  // The focus of the form moved to `focused` (null: nowhere). Every skin
  // button of the form hears of it.
  void FocusChanged(TWinControl* focused);

  std::vector<uint8_t> GlyphData() const;
  void SetGlyphData(const std::vector<uint8_t>& data);

 protected:
  // Besides caption, enabled state and hint: the action's Checked drives
  // Down for toggle buttons, and its image shows from its list's images.
  void ActionChange(TBasicAction& action) override;
  void Dispatch(TMessage& m) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WMMouse(TMessage& m) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void CMDialogKey(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;

 private:
  // A press and a release, by the mouse or the Space key. False when a
  // handler freed the button.
  bool Press();
  bool Release(bool inside);
  // Clicks; false when the click freed the button.
  bool ClickGuarded();
  void ReleaseGroup();
  // A toggle button's linked action is checked while the button is down.
  void CheckLinkedAction(bool checked);
  void HandleFocusIn();
  void HandleFocusOut(HWND newFocus);
  void NotifyFormFocus(TWinControl* focused);
  bool HasFocusNow() const;
  // The focused control when it belongs to this button's form.
  TWinControl* FocusedInForm() const;

  void StartFade();
  void StopFade();
  void FadeTick();
  void StartAnimation(bool forward);
  void StopAnimation();
  void AnimationTick();
  void StartRepeat();
  void StopRepeat();
  bool RepeatTick();
  bool SetButtonTimer(uintptr_t id, unsigned ms);
  void KillButtonTimer(uintptr_t id, bool& running);

  void ShowGlowFrame();
  void HideGlowFrame();

  const TqzDataSkinButtonControl* ButtonDescription() const;
  void CopySkinValues(const TqzDataSkinButtonControl& d);
  TRect ContentRect(const TRect& stateRect, int width, int height) const;
  bool PaintFadeImage(TBitmap& B);
  // False when the OnPaint handler freed the button.
  bool PaintContent(TCanvas& canvas, const TRect& r, bool isActive, bool isDown);
  void SetUpCaptionFont(TCanvas& canvas, bool isActive, bool isDown) const;

  bool transparent_ = false;
  TCustomImageList* imageList_ = nullptr;
  int imageIndex_ = -1;
  bool alwaysShowLayeredFrame_ = false;
  bool useSkinSize_ = true;
  bool useSkinFontColor_ = true;
  bool repeatMode_ = false;
  int repeatInterval_ = 100;
  bool allowAllUp_ = false;
  bool canFocused_ = true;
  bool down_ = false;
  int groupIndex_ = 0;
  std::unique_ptr<TBitmap> glyph_;
  int numGlyphs_ = 1;
  int margin_ = -1;
  int spacing_ = 1;
  TqzButtonLayout layout_ = blGlyphLeft;
  bool cancel_ = false;
  bool default_ = false;
  TModalResult modalResult_ = mrNone;

  TqzButtonSkinValues skin_;
  bool hasButtonSkin_ = false;
  bool mouseIn_ = false;
  bool mouseDownFlag_ = false;
  bool isDefaultActive_ = false;
  bool ignoreNextRelease_ = false;   // checked mode: the toggling press clicked already
  bool pressedWhileDown_ = false;    // the press began on a button already down
  bool spaceDown_ = false;
  TqzFade fade_;
  bool animTimer_ = false;
  bool animForward_ = true;
  int animFrame_ = 0;
  bool repeatTimer_ = false;
  bool repeatStarted_ = false;       // the first repeat (after 500 ms) happened
  std::unique_ptr<TqzLayerManager> glow_;
};

}  // namespace qz
