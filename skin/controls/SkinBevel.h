// TqzSkinBevel: the framework's window-less bevel drawn in the two colours of
// a skin's "bevel" description (a light and a dark one), or in the system's
// button highlight and shadow colours when the skin has none.
#pragma once

#include <string>

#include "host/ui/ExtCtrls.h"

namespace qz {

class TqzSkinData;

// The two colours of a bevel: A draws the top and left lines, B the bottom
// and right lines.
struct TqzBevelColors {
  TColor A = clBtnShadow;
  TColor B = clBtnHighlight;
};
// A lowered bevel is dark above light; a raised one light above dark.
TqzBevelColors BevelLineColors(TBevelStyle style, TColor light, TColor dark);

// Draws the box of a bevel on the inclusive corners (x1, y1)-(x2, y2): the
// left and top sides in A, the right and bottom sides in B.
void DrawBevelBox(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor a, TColor b);

// Paints a bevel of the given shape over (0, 0)-(width, height).
void PaintBevelShape(TCanvas& canvas, TBevelShape shape, int width, int height,
                     const TqzBevelColors& colors);
// The single two-colour divider that replaces the shape in divider mode.
void PaintBevelDivider(TCanvas& canvas, TBevelShape shape, int width, int height,
                       const TqzBevelColors& colors);

class TqzSkinBevel : public TBevel {
  QZ_CLASS(TqzSkinBevel, TBevel)
 public:
  explicit TqzSkinBevel(TComponent* AOwner);

  TqzSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TqzSkinData* value);
  const std::string& SkinDataName() const { return skinDataName_; }
  // Stores the name only; it takes effect at the next skin change.
  void SetSkinDataName(const std::string& value) { skinDataName_ = value; }
  bool DividerMode() const { return dividerMode_; }
  void SetDividerMode(bool value);

  TColor LightColor() const { return lightColor_; }
  TColor DarkColor() const { return darkColor_; }
  // Index of the bevel description in the skin's control list; -1 for none.
  int SkinIndex() const { return skinIndex_; }

  // The skin-change protocol of the form's control walk.
  void BeforeChangeSkinData();
  void ChangeSkinData();

  // On a skinned tool bar that arranges its controls the bevel is centred
  // vertically in it.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Where a parent may move the bevel vertically: a skinned tool bar that
  // arranges its controls centres it; other parents keep ATop.
  virtual int AdjustTopForParent(int ATop, int AHeight) const;

 private:
  void LookUpColors();

  TqzSkinData* skinData_ = nullptr;
  std::string skinDataName_ = "bevel";
  bool dividerMode_ = false;
  TColor lightColor_ = clBtnHighlight;
  TColor darkColor_ = clBtnShadow;
  int skinIndex_ = -1;
};

}  // namespace qz
