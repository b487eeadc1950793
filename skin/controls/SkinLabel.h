// Skinned labels.
//  - TqzSkinStdLabel: the framework's window-less label whose font comes from
//    a font-only skin description ("stdlabel").
//  - TqzSkinLabel: a skinned caption plate with its own image and optional
//    shadow or reflection under the text ("label").
#pragma once

#include <memory>
#include <string>

#include "host/ui/StdCtrls.h"

namespace qz {

class TqzSkinData;
class TqzDataSkinStdLabelControl;

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

}  // namespace qz
