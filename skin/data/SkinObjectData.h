// Form skin descriptions: [FORMINFO] (fields of the skin data), the popup
// window, hint window and layer frame descriptions, the areas of
// [SKINAREAS] and the family of form objects of [SKINOBJECTS] (caption,
// caption buttons, menu items, labels, gauges ...).
//
// As with the control descriptions, each class lists its keys once in
// Fields(); ReadData and WriteData walk that list.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Object.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinIni.h"

namespace qz {


// Built-in command of a standard caption button ("command" key).
enum class TqzStdCommand {
  Close = 0, Maximize = 1, Minimize = 2, SysMenu = 3, Default = 4, RollUp = 5, MinimizeToTray = 6
};
enum class TqzGaugeKind { Horizontal = 0, Vertical = 1 };

// ---------------------------------------------------------------------------
// [FORMINFO]: read into fields of TqzSkinData, which derives from this.
// The lattice fields are those of the main picture.
struct TqzSkinFormInfo : TqzLatticeFields {
  int BGPictureIndex = -1;
  int MDIBGPictureIndex = -1;
  bool MDIBGStretchEffect = false;
  TqzStretchType MDIBGStretchType = TqzStretchType::Full;
  TRect ButtonsRect, CaptionRect;
  int ButtonsOffset = 0;
  bool ButtonsInLeft = false;
  TRect MaskRectArea;
  TPoint HitTestLeftTopPoint, HitTestRightTopPoint, HitTestLeftBottomPoint,
      HitTestRightBottomPoint;
  TPoint RollUpLeftPoint, RollUpRightPoint;
  TRect MainMenuRect, IconRect;
  bool MainMenuPopupUp = false;
  int BorderWidth = 0;
  int FormMinWidth = 0, FormMinHeight = 0;
  bool MDITabsTransparent = false, MainMenuBarTransparent = false;
  int CursorIndex = -1;
  bool AutoRenderingInActiveImage = false;
  int InActiveEffect = 0;  // 0 iebrightness ... 5 ieinvert
  TRect SizeGripArea;
  std::string StatusBarName;

  void FormInfoFields(TqzDataFields& f);
  void ReadFormInfo(const TqzIniFile& ini);
  void WriteFormInfo(TqzIniFile& ini);
  // The adjustments made right after [FORMINFO] is read: with a mask, the mask
  // area grows to hold the client rect and zero hit-test points take the
  // corner points; corner points are pulled into the client rect.
  void AdjustFormInfo(bool hasMask);
  void ResetFormInfo() { *this = TqzSkinFormInfo{}; }
};

// ---------------------------------------------------------------------------
// A description read from one fixed section ([POPUPWINDOW], [HINTWINDOW],
// [LAYERFRAME]); it lives as long as its skin data.
class TqzDataSkinSection : public TObject {
  QZ_CLASS(TqzDataSkinSection, TObject)
 public:
  virtual const char* SectionName() const = 0;
  void ReadData(const TqzIniFile& ini);
  void WriteData(TqzIniFile& ini);
  // Walks the field list with any visitor (checks read the fields' roles).
  void VisitFields(TqzDataFields& f) { Fields(f); }

 protected:
  virtual void Fields(TqzDataFields& f) = 0;
};

// The window picture is composed nine-part with ItemsRect as its client
// rect; the section has no "clientrect" key and ClientRect stays empty.
class TqzDataSkinPopupWindow : public TqzDataSkinSection, public TqzLatticeFields {
  QZ_CLASS(TqzDataSkinPopupWindow, TqzDataSkinSection)
 public:
  const char* SectionName() const override { return "POPUPWINDOW"; }
  int WindowPictureIndex = -1, MaskPictureIndex = -1;
  int CursorIndex = -1;
  TRect ItemsRect;
  TColor ScrollMarkerColor = 0, ScrollMarkerActiveColor = 0;
  // The geometry of a window picture of that size.
  TqzSkinGeometry Geometry(const TRect& pictureRect) const {
    TqzSkinGeometry g(pictureRect, *this);
    g.ClientRect = ItemsRect;
    return g;
  }

 protected:
  void Fields(TqzDataFields& f) override;
};

class TqzDataSkinHintWindow : public TqzDataSkinSection, public TqzLatticeFields {
  QZ_CLASS(TqzDataSkinHintWindow, TqzDataSkinSection)
 public:
  const char* SectionName() const override { return "HINTWINDOW"; }
  int WindowPictureIndex = -1, MaskPictureIndex = -1;
  QZ_SKIN_FONT_FIELDS
  TqzSkinGeometry Geometry(const TRect& pictureRect) const { return {pictureRect, *this}; }

 protected:
  void Fields(TqzDataFields& f) override;
};

// The frame picture is composed by its corner points and client rect; the
// section has no stretch keys, so the stretch fields keep their defaults.
class TqzDataSkinLayerFrame : public TqzDataSkinSection, public TqzLatticeFields {
  QZ_CLASS(TqzDataSkinLayerFrame, TqzDataSkinSection)
 public:
  const char* SectionName() const override { return "LAYERFRAME"; }
  int PictureIndex = -1, MaskPictureIndex = -1, InActivePictureIndex = -1,
      InActiveMaskPictureIndex = -1;
  TqzSkinGeometry Geometry(const TRect& pictureRect) const { return {pictureRect, *this}; }
  int AlphaBlendValue = 255, InActiveAlphaBlendValue = 255;
  TRect BorderRect, HitTestRect;
  bool HitTestEnable = false, FullBorder = false;
  int HitTestSize = 0;
  TRect CaptionRect;
  TPoint HitTestLeftTopPoint, HitTestRightTopPoint, HitTestLeftBottomPoint,
      HitTestRightBottomPoint;
  TRect ButtonsRect, SysMenuButtonRect;
  bool FullStretch = false;
  int RollUpFormHeight = 0, ButtonsTopOffset = 0, SysButtonTopOffset = 0;
  int BlurMaskPictureIndex = -1;
  TRect IntersectBlurMaskRect, ExcludeBlurMaskRect;
  int LeftOffset = 0, TopOffset = 0, WidthOffset = 0, HeightOffset = 0;

 protected:
  void Fields(TqzDataFields& f) override;
};

// ---------------------------------------------------------------------------
// One [SKINAREAS] entry: "name:left,top,right,bottom;f,f,f,f,f".
class TqzDataSkinArea : public TObject {
  QZ_CLASS(TqzDataSkinArea, TObject)
 public:
  TqzDataSkinArea() = default;
  TqzDataSkinArea(std::string idName, TRect rect) : IDName(std::move(idName)), AreaRect(rect) {}
  std::string IDName;
  TRect AreaRect;
  bool Flag1 = false, Flag2 = false, Flag3 = false, Flag4 = false, Flag5 = false;

  // Parses an entry value; a rect field without digits raises ESkinValueError.
  static std::unique_ptr<TqzDataSkinArea> Parse(std::string_view value);
  std::string EntryText() const;
};

// ---------------------------------------------------------------------------
// Form objects.
class TqzDataSkinObject : public TObject {
  QZ_CLASS(TqzDataSkinObject, TObject)
 public:
  explicit TqzDataSkinObject(std::string idName) : IDName(std::move(idName)) {}

  virtual void ReadData(const TqzIniFile& ini);
  virtual void WriteData(TqzIniFile& ini);
  // Walks the field list with any visitor (checks read the fields' roles).
  void VisitFields(TqzDataFields& f) { Fields(f); }

  std::string IDName;
  std::string Hint;
  bool RollUp = false;
  int ActivePictureIndex = -1, ActiveMaskPictureIndex = -1;
  bool SkinRectInAPicture = false;
  int CursorIndex = -1;
  TRect SkinRect, ActiveSkinRect, InActiveSkinRect;
  bool Morphing = false;
  int MorphKind = 0;
  int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
  int GlowLayerOffsetX = 0, GlowLayerOffsetY = 0;
  int GlowLayerAlphaBlendValue = 255;

 protected:
  virtual void Fields(TqzDataFields& f);
  virtual void AfterRead() {}
};

class TqzDataSkinButton : public TqzDataSkinObject {
  QZ_CLASS(TqzDataSkinButton, TqzDataSkinObject)
 public:
  using TqzDataSkinObject::TqzDataSkinObject;

  TRect DownRect;
  TRect DisableSkinRect;  // key "disableskinrsect"
  int GroupIndex = -1;
  int AlphaMaskPictureIndex = -1, AlphaMaskActivePictureIndex = -1,
      AlphaMaskInActivePictureIndex = -1;

 protected:
  void Fields(TqzDataFields& f) override;
};

class TqzDataSkinStdButton : public TqzDataSkinButton {
  QZ_CLASS(TqzDataSkinStdButton, TqzDataSkinButton)
 public:
  using TqzDataSkinButton::TqzDataSkinButton;

  TqzStdCommand Command = TqzStdCommand::Default;
  TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
  std::string RestoreHint;

 protected:
  void Fields(TqzDataFields& f) override;
  void AfterRead() override;
};

class TqzDataSkinMainMenuBarButton : public TqzDataSkinStdButton {
  QZ_CLASS(TqzDataSkinMainMenuBarButton, TqzDataSkinStdButton)
 public:
  using TqzDataSkinStdButton::TqzDataSkinStdButton;
};

class TqzDataSkinCaptionMenuButton : public TqzDataSkinButton {
  QZ_CLASS(TqzDataSkinCaptionMenuButton, TqzDataSkinButton)
 public:
  using TqzDataSkinButton::TqzDataSkinButton;
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0, DownFontColor = 0, InActiveFontColor = 0;
  int LeftOffset = 10, RightOffset = 10, TopPosition = 0;
  TRect ClientRect;

 protected:
  void Fields(TqzDataFields& f) override;
};

class TqzDataSkinCaptionTab : public TqzDataSkinButton {
  QZ_CLASS(TqzDataSkinCaptionTab, TqzDataSkinButton)
 public:
  using TqzDataSkinButton::TqzDataSkinButton;
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0, DownFontColor = 0;
  int LeftOffset = 10, RightOffset = 10, TopPosition = 0;
  TRect ClientRect;

 protected:
  void Fields(TqzDataFields& f) override;
};

#define QZ_SKIN_OBJECT_CLASS(Self, Parent) \
  QZ_CLASS(Self, Parent)                   \
 public:                                   \
  using Parent::Parent;                    \
                                           \
 protected:                                \
  void Fields(TqzDataFields& f) override;  \
                                           \
 public:

class TqzDataSkinMenuItem : public TqzDataSkinObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataSkinMenuItem, TqzDataSkinObject)
  int ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect DividerRect;
  int DividerLeftOffset = 0, DividerRightOffset = 0;
  TRect TextRect, ImageRect;
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0, UnEnabledFontColor = 0;
  bool StretchEffect = false, InActiveStretchEffect = false, DividerStretchEffect = false;
  TRect AnimateSkinRect;
  int FrameCount = 0, AnimateInterval = 25;
  bool InActiveAnimation = false, UseImageColor = false;
  TColor ImageColor = 0, ActiveImageColor = 0;
  bool InActiveTransparent = false;
  TRect CheckImageRect, ActiveCheckImageRect, RadioImageRect, ActiveRadioImageRect,
      ArrowImageRect, ActiveArrowImageRect;

 protected:
  void AfterRead() override;
};

class TqzDataSkinMainMenuItem : public TqzDataSkinObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataSkinMainMenuItem, TqzDataSkinObject)
  int ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect DownRect, TextRect;
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0, DownFontColor = 0, UnEnabledFontColor = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  int FrameCount = 0, AnimateInterval = 25;
  bool InActiveAnimation = false;
};

class TqzDataSkinMainMenuBarItem : public TqzDataSkinMainMenuItem {
  QZ_CLASS(TqzDataSkinMainMenuBarItem, TqzDataSkinMainMenuItem)
 public:
  using TqzDataSkinMainMenuItem::TqzDataSkinMainMenuItem;
};

class TqzDataSkinCaption : public TqzDataSkinObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataSkinCaption, TqzDataSkinObject)
  bool DefaultCaption = false;
  TRect TextRect;
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0;
  int Alignment = qzTaCenter;
  bool Shadow = false;
  TColor ShadowColor = 0;
  bool Light = false;
  TColor LightColor = 0, ActiveLightColor = 0, ActiveShadowColor = 0;
  TRect FrameRect, ActiveFrameRect, FrameTextRect;
  int FrameLeftOffset = 0, FrameRightOffset = 0;
  bool StretchEffect = false;
  TRect AnimateSkinRect;
  int FrameCount = 0, AnimateInterval = 25;
  bool InActiveAnimation = false, FullFrame = false, VistaGlowEffect = false,
       VistaGlowInActiveEffect = false, GlowEffect = false, GlowInActiveEffect = false;
  int GlowSize = 3;
  TColor GlowColor = 0, GlowActiveColor = 0;
  int GlowOffset = 0;
  bool ReflectionEffect = false;
  TColor ReflactionColor = 0, ReflactionActiveColor = 0;
  int ReflectionOffset = 0;
  TRect DividerRect, InActiveDividerRect;
  bool DividerTransparent = false;
  TColor DividerTransparentColor = 0;
  int QuickButtonAlphaMaskPictureIndex = -1;
};

class TqzDataSkinLabel : public TqzDataSkinObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataSkinLabel, TqzDataSkinObject)
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0;
  int Alignment = qzTaCenter;
  std::string TextValue;
};

class TqzDataSkinBitLabel : public TqzDataSkinObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataSkinBitLabel, TqzDataSkinObject)
  std::string TextValue;
  int SymbolWidth = 0, SymbolHeight = 0;
  std::vector<std::string> Symbols;
  bool Transparent = false;
  TColor TransparentColor = 16711935;
};

class TqzDataSkinTrackBar : public TqzDataSkinObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataSkinTrackBar, TqzDataSkinObject)
  TRect ButtonRect, ActiveButtonRect;
  TPoint BeginPoint, EndPoint;
  int MinValue = 0, MaxValue = 0;
  bool MouseDownChangeValue = false, ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
};

class TqzDataSkinGauge : public TqzDataSkinObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataSkinGauge, TqzDataSkinObject)
  int MinValue = 0, MaxValue = 0;
  TqzGaugeKind Kind = TqzGaugeKind::Horizontal;
};

class TqzDataSkinFrameGaugeObject : public TqzDataSkinObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataSkinFrameGaugeObject, TqzDataSkinObject)
  int MinValue = 0, MaxValue = 0, CountFrames = 0;
  TqzFramesPlacement FramesPlacement = TqzFramesPlacement::Horizontal;
};

class TqzDataSkinFrameRegulatorObject : public TqzDataSkinFrameGaugeObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataSkinFrameRegulatorObject, TqzDataSkinFrameGaugeObject)
  TqzRegulatorKind Kind = TqzRegulatorKind::Round;
};

class TqzDataSkinSwitch : public TqzDataSkinObject {
  QZ_CLASS(TqzDataSkinSwitch, TqzDataSkinObject)
 public:
  using TqzDataSkinObject::TqzDataSkinObject;
};

class TqzDataSkinAnimate : public TqzDataSkinObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataSkinAnimate, TqzDataSkinObject)
  int CountFrames = 1;
  bool Cycle = false, ButtonStyle = false;
  int TimerInterval = 50;
  TqzStdCommand Command = TqzStdCommand::Default;
  TRect DownSkinRect;
  TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
  std::string RestoreHint;

 protected:
  void AfterRead() override;
};

// Reads only "rollup", "skinrect" and "cursorindex".
class TqzDataUserObject : public TqzDataSkinObject {
  QZ_SKIN_OBJECT_CLASS(TqzDataUserObject, TqzDataSkinObject)
};

// The restore hint a standard button gets when its "restorehint" is empty.
std::string DefaultRestoreHint(const std::string& hint, TqzStdCommand command);

// The class a [SKINOBJECTS] kind word selects (exact case); nullptr for an
// unknown word.
std::unique_ptr<TqzDataSkinObject> CreateSkinObjectData(std::string_view kind, std::string idName);
const char* SkinObjectKindWord(const TqzDataSkinObject& data);

// Splits "name:kind" at the first ':'; false (both empty) without one.
bool SplitSkinEntry(std::string_view value, std::string& name, std::string& kind);

}  // namespace qz
