// Plain extra controls: TPanel (a container with bevels and a caption) and
// TBevel (window-less lines and boxes).
#pragma once

#include "host/ui/StdCtrls.h"

namespace qz {

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
using enum TPanelBevel;
QZ_ENUM(TPanelBevel, "bvNone", "bvLowered", "bvRaised", "bvSpace");

class TPanel : public TCustomControl {
  QZ_CLASS(TPanel, TCustomControl)
 public:
  explicit TPanel(TComponent* AOwner);

  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel v);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel v);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  // The area inside the bevels and border (children align inside it).
  void AlignControls(TControl* AControl, TRect& Rect) override;
  TRect InnerRect() const;

 protected:
  void Paint() override;
  void WMEraseBkgnd(TMessage& m) override { m.Result = 1; }  // Paint covers everything

 private:
  TPanelBevel bevelInner_ = bvNone;
  TPanelBevel bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TAlignment alignment_ = taCenter;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
using enum TBevelShape;
enum class TBevelStyle { bsLowered, bsRaised };
using enum TBevelStyle;
QZ_ENUM(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine",
        "bsSpacer");
QZ_ENUM(TBevelStyle, "bsLowered", "bsRaised");

class TBevel : public TGraphicControl {
  QZ_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape v);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle v);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

}  // namespace qz
