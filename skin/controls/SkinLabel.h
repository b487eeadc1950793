// Skinned labels.
//  - TqzSkinStdLabel: the framework's window-less label whose font comes from
//    a font-only skin description ("stdlabel").
//  - TqzSkinLabel: a skinned caption plate with its own image and optional
//    shadow or reflection under the text ("label").
#pragma once

#include <memory>
#include <string>

#include "host/ui/StdCtrls.h"
#include "skin/controls/SkinControl.h"

namespace qz {

class TqzSkinData;
class TqzDataSkinStdLabelControl;
class TqzDataSkinLabelControl;
class TqzBitmap;

// How a std label shortens a caption that does not fit.
enum class TqzEllipsType { qzetNone, qzetEndEllips, qzetPathEllips };
QZ_ENUM(TqzEllipsType, "qzetNone", "qzetEndEllips", "qzetPathEllips");
// The text format flag of an ellipsis type (0 for none).
uint32_t EllipsisFlag(TqzEllipsType type);

// The border of a plain-look label or panel. Scoped: the framework's panel
// bevel uses the same names.
enum class TqzSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
QZ_ENUM(TqzSkinBorderStyle, "bvFrame", "bvRaised", "bvLowered", "bvNone");

class TqzSkinStdLabel : public TLabel {
  QZ_CLASS(TqzSkinStdLabel, TLabel)
 public:
  explicit TqzSkinStdLabel(TComponent* AOwner);
  ~TqzSkinStdLabel() override;

  TqzEllipsType EllipsType() const { return ellipsType_; }
  void SetEllipsType(TqzEllipsType value);
  bool UseSkinFont() const { return useSkinFont_; }
  void SetUseSkinFont(bool value);
  bool UseSkinColor() const { return useSkinColor_; }
  void SetUseSkinColor(bool value);
  TFont& DefaultFont() { return *defaultFont_; }
  const TFont& DefaultFont() const { return *defaultFont_; }
  void SetDefaultFont(const TFont& value) { defaultFont_->Assign(value); }
  TqzSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TqzSkinData* value);
  const std::string& SkinDataName() const { return skinDataName_; }
  // Stores the name only; the next skin change or paint picks it up.
  void SetSkinDataName(const std::string& value) { skinDataName_ = value; }

  // Index of the description in the skin's control list; -1 for none.
  int SkinIndex() const { return skinIndex_; }
  // The font the text is drawn in, with its colour (the description's or
  // the label's own, by UseSkinFont and UseSkinColor).
  void SelectTextFont(TFont& font) const;

  // The skin-change protocol of the form's control walk.
  void BeforeChangeSkinData();
  void ChangeSkinData();

  // With AutoSize the size follows the text measured in the text font.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  // Draws the text into r, or with DT_CALCRECT measures it into r.
  void DoDrawText(TCanvas& canvas, TRect& r, uint32_t flags);
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void GetSkinData();
  const TqzDataSkinStdLabelControl* Description() const;
  TSize AutoSizeExtent(int width);
  void ReapplyAutoSize();

  TqzEllipsType ellipsType_ = TqzEllipsType::qzetNone;
  bool useSkinFont_ = true;
  bool useSkinColor_ = true;
  std::unique_ptr<TFont> defaultFont_;
  TqzSkinData* skinData_ = nullptr;
  std::string skinDataName_ = "stdlabel";
  int skinIndex_ = -1;
};

// ---------------------------------------------------------------------------
// The caption plate.

// Whether a plate shortens a caption that does not fit.
enum class TqzEllipsType2 { qzetNoneEllips, qzetEllips };
QZ_ENUM(TqzEllipsType2, "qzetNoneEllips", "qzetEllips");

// How a plate's caption is drawn inside its text rectangle.
struct TqzLabelTextStyle {
  TAlignment Alignment = taLeftJustify;
  bool Ellipsis = false;
  bool Shadow = false;
  TColor ShadowColor = 0;
  int ShadowOffset = 0;
  int ShadowSize = 3;
  bool Reflection = false;
  int ReflectionOffset = -5;
};

// The widest shadow a plate draws: larger sizes count as this, so that a
// wild value cannot ask for a huge bitmap.
inline constexpr int kMaxLabelShadowSize = 64;

// Where a one-line text starts in r: vertically centred (one pixel higher
// for an odd font height), left, right or centred by alignment.
TPoint LabelTextOrigin(TCanvas& canvas, const TRect& r, std::string_view text,
                       TAlignment alignment);
// The blurred shadow of a text drawn at `origin`, as a bitmap to alpha-draw
// at (r.Left + offset - size, r.Top + offset - size): the text in red on
// black inset by size, blurred, each pixel the shadow colour with the red
// value as alpha.
void BuildTextShadow(TCanvas& canvas, const TRect& r, TPoint origin, std::string_view text,
                     TColor color, int size, TqzBitmap& shadow);
// Draws the caption in the canvas's font into r with the style's effects.
void DrawLabelText(TCanvas& canvas, const TRect& r, std::string text, const TqzLabelTextStyle& style);
// A colour with every channel lowered by `percent` of its value (rounded
// half to even): the lightness taken down, the hue kept.
TColor DarkenColor(TColor color, int percent);

class TqzSkinLabel : public TqzSkinCustomControl {
  QZ_CLASS(TqzSkinLabel, TqzSkinCustomControl)
 public:
  explicit TqzSkinLabel(TComponent* AOwner);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { SetAndRepaint(transparent_, value); }
  bool ShadowEffect() const { return style_.Shadow; }
  void SetShadowEffect(bool value) { SetAndRepaint(style_.Shadow, value); }
  TColor ShadowColor() const { return style_.ShadowColor; }
  void SetShadowColor(TColor value) { SetAndRepaint(style_.ShadowColor, value); }
  int ShadowOffset() const { return style_.ShadowOffset; }
  void SetShadowOffset(int value) { SetAndRepaint(style_.ShadowOffset, value); }
  int ShadowSize() const { return style_.ShadowSize; }
  void SetShadowSize(int value) { SetAndRepaint(style_.ShadowSize, value); }
  bool ReflectionEffect() const { return style_.Reflection; }
  void SetReflectionEffect(bool value) { SetAndRepaint(style_.Reflection, value); }
  int ReflectionOffset() const { return style_.ReflectionOffset; }
  void SetReflectionOffset(int value) { SetAndRepaint(style_.ReflectionOffset, value); }
  TqzEllipsType2 EllipsType() const { return ellipsType_; }
  void SetEllipsType(TqzEllipsType2 value) { SetAndRepaint(ellipsType_, value); }
  bool UseSkinSize() const { return useSkinSize_; }
  void SetUseSkinSize(bool value);
  bool UseSkinFontColor() const { return useSkinFontColor_; }
  void SetUseSkinFontColor(bool value) { SetAndRepaint(useSkinFontColor_, value); }
  TqzSkinBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TqzSkinBorderStyle value) { SetAndRepaint(borderStyle_, value); }
  TAlignment Alignment() const { return style_.Alignment; }
  void SetAlignment(TAlignment value) { SetAndRepaint(style_.Alignment, value); }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  // The font the caption is drawn in (with its colour).
  void SelectTextFont(TFont& font) const;
  // Where the caption is drawn at the current size.
  TRect TextRect() const;
  // The colour of the shadow under the caption.
  TColor EffectiveShadowColor() const;

  void GetSkinData() override;
  void CreateControlDefaultImage(TBitmap& B) override;
  void CreateControlSkinImage(TBitmap& B) override;
  void ChangeSkinData() override;
  void CalcSize(int& W, int& H) override;
  void SetControlRegion() override;

 protected:
  void CMTextChanged(TMessage& m) override;
  void Loaded() override;

 private:
  template <class V>
  void SetAndRepaint(V& field, V value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  const TqzDataSkinLabelControl* LabelDescription() const;
  // Widens or narrows the label by what its caption needs.
  void AdjustAutoSize();
  void DrawCaption(TCanvas& canvas, const TRect& r);

  bool transparent_ = false;
  TqzLabelTextStyle style_;
  TqzEllipsType2 ellipsType_ = TqzEllipsType2::qzetNoneEllips;
  bool useSkinSize_ = true;
  bool useSkinFontColor_ = true;
  TqzSkinBorderStyle borderStyle_ = TqzSkinBorderStyle::bvFrame;
  bool autoSize_ = false;
};

}  // namespace qz
