// Skinned hints. Placing a TqzSkinHint makes every hint of the application a
// TqzSkinHintWindow: drawn from the skin's [HINTWINDOW] description (or in
// the plain look without one), optionally translucent with a fade-in, with a
// bold title and an image when the skinned control under the pointer gives
// them. The component also shows hints the program asks for itself (caption
// objects, pickers): ShowHintText after the host's hint pause, ActivateHint
// at once at a point; both close after the host's hide pause or HideHint.
#pragma once

#include <memory>
#include <string>

#include "host/graphics/Bitmap.h"
#include "host/ui/HintWindow.h"
#include "host/ui/ImgList.h"

namespace qz {

class TqzSkinData;
class TqzSkinHint;

// The layout of one hint: window size, where the text, title and image go,
// and the corner points of the window picture at that size.
struct TqzHintLayout {
  bool Skinned = false;   // composed from [HINTWINDOW], else the plain look
  bool Extended = false;  // with a title or an image
  TSize Size;
  TRect TextRect;         // the text (plain) or the whole content (extended)
  TRect TitleRect, BodyRect;
  TPoint ImagePos;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewClRect;
};

class TqzSkinHintWindow : public THintWindow {
  QZ_CLASS(TqzSkinHintWindow, THintWindow)
 public:
  explicit TqzSkinHintWindow(TComponent* AOwner, TqzSkinHint* hint = nullptr);
  ~TqzSkinHintWindow() override;

  // A maxWidth above 0 wraps the text at that width (title and image beside).
  TRect CalcHintRect(int maxWidth, const std::string& hint) override;
  void ActivateHint(const TRect& rect, const std::string& hint) override;
  void ReleaseHint() override;

  // The component whose look applies: the one that made this window, else
  // the first active one of the main form, else the first active one.
  TqzSkinHint* HintComponent() const;
  // A skin of the window's own, before the component's (a hint shown for
  // something that is no control, such as the tray icon); its font then
  // comes from the skin too.
  TqzSkinData* SkinData() const;
  void SetSkinData(TqzSkinData* skin);
  const TqzHintLayout& Layout() const { return layout_; }
  // The window's opacity while layered (255 otherwise).
  int CurrentAlpha() const { return alpha_; }
  // Translucent without layered windows: painted over this capture of the
  // screen under the window.
  bool SoftwareAlpha() const { return softwareAlpha_; }
  const TBitmap& ScreenUnder() const { return screenUnder_; }
  static constexpr unsigned kFadeIntervalMs = 4;  // "more than 3 ms" between steps

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  void Measure(const std::string& text);
  void ApplyTransparency(const TRect& placed);
  void ApplyRegion();
  void FadeStep();
  void StopFade();
  TqzSkinData* ActiveSkin() const;
  void SetupFont(TFont& font, bool bold) const;
  void PaintPlain(TCanvas& canvas);
  void PaintSkinned(TCanvas& canvas);
  void PaintContent(TCanvas& canvas, TColor textColor);

  TComponentRef<TqzSkinHint> owner_;
  TComponentRef<TqzSkinData> skin_;
  TqzHintLayout layout_;
  std::string text_;  // the hint with its line separators turned into breaks
  int alpha_ = 255;
  bool wasLayered_ = false;
  uintptr_t fadeTimer_ = 0;
  int maxWidth_ = 0;  // from the last CalcHintRect; 0 does not wrap
  bool softwareAlpha_ = false;
  TBitmap screenUnder_;
};

class TqzSkinHint : public TComponent {
  QZ_CLASS(TqzSkinHint, TComponent)
 public:
  explicit TqzSkinHint(TComponent* AOwner);
  ~TqzSkinHint() override;

  bool Active() const { return active_; }
  void SetActive(bool v);
  TqzSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TqzSkinData* v);
  TFont& DefaultFont() { return *defaultFont_; }
  const TFont& DefaultFont() const { return *defaultFont_; }
  void SetDefaultFont(const TFont& f) { defaultFont_->Assign(f); }
  bool UseSkinFont = true;
  std::string LineSeparator = "@";
  bool AlphaBlend = false;
  uint8_t AlphaBlendValue = 200;
  bool AlphaBlendAnimation = false;
  // Layered windows; off at run time on a platform without them.
  // Asked anew each time: per-pixel alpha comes and goes with a compositor.
  bool AlphaBlendSupport() const;
  void SetAlphaBlendSupport(bool v);
  TShowHintEvent OnShowHint;

  // A hint the program drives: opens at the cursor (moved below it) after
  // the host's hint pause and closes after its hide pause.
  void ShowHintText(const std::string& text);
  void HideHintText();
  // Opens `text` at once with its top-left at `screen` (kept on the work
  // area); closes after the host's hide pause or HideHint.
  void ActivateHint(TPoint screen, const std::string& text);
  void HideHint() { HideHintText(); }
  // The component's own window for program hints (made on first use).
  TqzSkinHintWindow* Window();
  bool ProgramHintPending() const { return timer_ != 0 && pending_; }

  // Captured from the skinned control under the pointer.
  const std::string& Title() const { return title_; }
  TCustomImageList* ImageList() const { return imageList_; }
  int ImageIndex() const { return imageIndex_; }
  void ClearCaptured();

  // The text as the window lays it out: each LineSeparator a line break.
  std::string FormatText(const std::string& hint) const;
  // The application's show-hint step while this component is the active
  // one: captures the title and image of a skinned control, then OnShowHint.
  void HandleShowHintFor(std::string& text, bool& canShow, THintInfo& info);

 protected:
  void Loaded() override;

 private:
  void Install();
  void Uninstall();
  void CaptureFrom(TControl* control);
  void StartTimer(unsigned ms, bool pending);
  void StopTimer();
  void TimerFired();
  void Open(TPoint screen, const std::string& text);

  bool active_ = true;
  bool alphaBlendSupport_ = true;
  TqzSkinData* skinData_ = nullptr;
  std::unique_ptr<TFont> defaultFont_;
  TComponentRef<TqzSkinHintWindow> window_;
  std::string text_;
  std::string title_;
  TCustomImageList* imageList_ = nullptr;
  int imageIndex_ = 0;
  uintptr_t timer_ = 0;
  bool pending_ = false;
};

}  // namespace qz
