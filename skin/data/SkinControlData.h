// Control skin descriptions: one object per [SKINCONTROLS] entry, reading the
// section named like the entry. Fields are plain values that the skinned
// controls read after TqzSkinData::FindControlIndex and a class check.
//
// Every class lists its keys once in Fields(); ReadData and WriteData walk
// that list, so reading and writing use the same keys, order and syntax.
// Enumeration fields hold the numbers of the description's words:
// StretchType is a TqzStretchType (stfull, sthorz, stvert); MorphKind 0 mkdefault ... 6 mkpush;
// Alignment qzTaLeftJustify / qzTaRightJustify / qzTaCenter.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Object.h"
#include "skin/data/SkinIni.h"
#include "skin/draw/SkinGeometry.h"

namespace qz {

enum class TqzFramesPlacement { Horizontal = 0, Vertical = 1 };
enum class TqzRegulatorKind { Round = 0, Horizontal = 1, Vertical = 2 };

class TqzDataSkinControl : public TObject {
  QZ_CLASS(TqzDataSkinControl, TObject)
 public:
  explicit TqzDataSkinControl(std::string idName) : IDName(std::move(idName)) {}

  // Reads the section IDName of the description text (parent keys first).
  virtual void ReadData(const TqzIniFile& ini);
  // Replaces the section IDName by all fields, in the same order and syntax.
  virtual void WriteData(TqzIniFile& ini);
  // Walks the field list with any visitor (checks read the fields' roles).
  void VisitFields(TqzDataFields& f) { Fields(f); }

  std::string IDName;
  int PictureIndex = -1;
  int MaskPictureIndex = -1;
  int CursorIndex = -1;
  TRect SkinRect;

 protected:
  virtual void Fields(TqzDataFields& f);
  // Adjustments made after the keys are read.
  virtual void AfterRead() {}
};

// Declares the shared parts of a description class.
#define QZ_SKIN_DATA_CLASS(Self, Parent) \
  QZ_CLASS(Self, Parent)                 \
 public:                                 \
  using Parent::Parent;                  \
                                         \
 protected:                              \
  void Fields(TqzDataFields& f) override;\
                                         \
 public:

// A control composed nine-part (or three-part) from its skin rect.
class TqzDataSkinCustomControl : public TqzDataSkinControl, public TqzLatticeFields {
  QZ_SKIN_DATA_CLASS(TqzDataSkinCustomControl, TqzDataSkinControl)
  TqzSkinGeometry Geometry() const { return {SkinRect, *this}; }
};

// The font group fields of many descriptions.
#define QZ_SKIN_FONT_FIELDS      \
  std::string FontName = "Tahoma"; \
  int FontHeight = 13;           \
  TFontStyles FontStyle;         \
  TColor FontColor = 0;

class TqzDataSkinButtonControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinButtonControl, TqzDataSkinCustomControl)
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0, DisabledFontColor = 0, DownFontColor = 0;
  bool Morphing = false;
  int MorphKind = 0;
  TRect ActiveSkinRect, DownSkinRect, FocusedSkinRect, DisabledSkinRect, AnimateSkinRect;
  int FrameCount = 0;
  int AnimateInterval = 25;
  bool ShowFocus = false;
  TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
  TColor MenuMarkerTransparentColor = 0;
  int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
  int GlowLayerOffsetLeft = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetRight = 0,
      GlowLayerOffsetBottom = 0;
  int GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
  int GlowLayerAlphaBlendValue = 255;
};

class TqzDataSkinMenuButtonControl : public TqzDataSkinButtonControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinMenuButtonControl, TqzDataSkinButtonControl)
  TRect TrackButtonRect;
};

class TqzDataSkinCheckRadioControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinCheckRadioControl, TqzDataSkinCustomControl)
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0, UnEnabledFontColor = 0, FrameFontColor = 0;
  bool Morphing = false;
  int MorphKind = 0;
  TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect, UnCheckImageRect,
      ActiveCheckImageRect, ActiveUnCheckImageRect, UnEnabledCheckImageRect,
      UnEnabledUnCheckImageRect, GrayedCheckImageRect, ActiveGrayedCheckImageRect;
};

class TqzDataSkinPanelControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinPanelControl, TqzDataSkinCustomControl)
  int BGPictureIndex = -1;
  TRect CaptionRect;
  int Alignment = qzTaCenter;
  QZ_SKIN_FONT_FIELDS
  TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect, FrameTextRect;
  int FrameLeftOffset = 0, FrameRightOffset = 0;
  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;
};

class TqzDataSkinExPanelControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinExPanelControl, TqzDataSkinCustomControl)
  TRect RollHSkinRect, RollVSkinRect;
  int RollLeftOffset = 0, RollRightOffset = 0, RollTopOffset = 0, RollBottomOffset = 0;
  TRect RollVCaptionRect, RollHCaptionRect;
  TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
  TRect HRollButtonRect, HRollButtonActiveRect, HRollButtonDownRect;
  TRect HRestoreButtonRect, HRestoreButtonActiveRect, HRestoreButtonDownRect;
  TRect VRollButtonRect, VRollButtonActiveRect, VRollButtonDownRect;
  TRect VRestoreButtonRect, VRestoreButtonActiveRect, VRestoreButtonDownRect;
  TRect CaptionRect;
  QZ_SKIN_FONT_FIELDS
  bool ButtonsTransparent = false;
  TColor ButtonsTransparentColor = 0;
};

class TqzDataSkinScrollBoxControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinScrollBoxControl, TqzDataSkinCustomControl)
  int BGPictureIndex = -1;
};

class TqzDataSkinLabelControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinLabelControl, TqzDataSkinCustomControl)
  QZ_SKIN_FONT_FIELDS
};

class TqzDataSkinStdLabelControl : public TqzDataSkinControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinStdLabelControl, TqzDataSkinControl)
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 16711680;
};

class TqzDataSkinBitLabelControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinBitLabelControl, TqzDataSkinCustomControl)
  TRect SkinTextRect;
  int SymbolWidth = 0, SymbolHeight = 0;
  std::vector<std::string> Symbols;
};

class TqzDataSkinEditControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinEditControl, TqzDataSkinCustomControl)
  TRect ActiveSkinRect;
  QZ_SKIN_FONT_FIELDS
  TColor DisabledFontColor = 0, ActiveFontColor = 0;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
};

class TqzDataSkinMemoControl : public TqzDataSkinEditControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinMemoControl, TqzDataSkinEditControl)
  TColor BGColor = 0, ActiveBGColor = 0;
};

// The six rects of an up and a down button.
#define QZ_SKIN_UPDOWN_FIELDS                                            \
  TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, \
      ActiveDownButtonRect, DownDownButtonRect;

class TqzDataSkinSpinEditControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinSpinEditControl, TqzDataSkinCustomControl)
  TRect ActiveSkinRect;
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0, DisabledFontColor = 0;
  QZ_SKIN_UPDOWN_FIELDS
};

class TqzDataSkinUpDownControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinUpDownControl, TqzDataSkinCustomControl)
  QZ_SKIN_UPDOWN_FIELDS
};

class TqzDataSkinListBox : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinListBox, TqzDataSkinCustomControl)
  TRect ItemRect, ActiveItemRect, FocusItemRect;
  int ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect;
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0, FocusFontColor = 0;
  TRect CaptionRect;
  std::string CaptionFontName = "Tahoma";
  int CaptionFontHeight = 13;
  TFontStyles CaptionFontStyle;
  TColor CaptionFontColor = 0;
  QZ_SKIN_UPDOWN_FIELDS
  TRect CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
  std::string VScrollBarName = "vscrollbar", HScrollBarName = "hscrollbar",
              BothHScrollBarName = "bothhscrollbar";
  bool ShowFocus = false;
  TRect DisabledButtonsRect, ButtonsArea;
};

class TqzDataSkinCheckListBox : public TqzDataSkinListBox {
  QZ_SKIN_DATA_CLASS(TqzDataSkinCheckListBox, TqzDataSkinListBox)
  TRect CheckImageRect, ItemCheckRect, UnCheckImageRect;
};

class TqzDataSkinComboBox : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinComboBox, TqzDataSkinCustomControl)
  TRect ActiveSkinRect;
  TRect ItemRect, ActiveItemRect, FocusItemRect;
  int ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect;
  QZ_SKIN_FONT_FIELDS
  TColor FocusFontColor = 0, ActiveFontColor = 0;
  std::string ListBoxName;
  TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
  bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;
};

class TqzDataSkinScrollBarControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinScrollBarControl, TqzDataSkinCustomControl)
  TRect TrackArea;
  QZ_SKIN_UPDOWN_FIELDS
  TRect ThumbRect, ActiveThumbRect, DownThumbRect;
  int ThumbOffset1 = 0, ThumbOffset2 = 0;
  bool ThumbTransparent = false;
  TColor ThumbTransparentColor = 0;
  bool ThumbStretchEffect = false;
  int ThumbMinSize = 0, ThumbMinPageSize = 0;
  TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
  bool GlyphTransparent = false;
  TColor GlyphTransparentColor = 0;
};

class TqzDataSkinTrackBarControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinTrackBarControl, TqzDataSkinCustomControl)
  TRect ActiveSkinRect;
  TRect TrackArea, ButtonRect, ActiveButtonRect;
  bool Vertical = false;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
};

class TqzDataSkinSplitterControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinSplitterControl, TqzDataSkinCustomControl)
  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;
};

class TqzDataSkinGaugeControl : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinGaugeControl, TqzDataSkinCustomControl)
  TRect ProgressArea, ProgressRect;
  int BeginOffset = 0, EndOffset = 0;
  bool Vertical = false;
  QZ_SKIN_FONT_FIELDS
  bool ProgressTransparent = false;
  TColor ProgressTransparentColor = 0;
  bool ProgressStretch = false;
  TRect AnimationSkinRect;
  int AnimationCountFrames = 0, AnimationTimerInterval = 0;
  TRect ProgressAnimationSkinRect;
  int ProgressAnimationCountFrames = 0, ProgressAnimationTimerInterval = 0;
  int AnimationBeginOffset = 0, AnimationEndOffset = 0;
};

class TqzDataSkinControlBar : public TqzDataSkinCustomControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinControlBar, TqzDataSkinCustomControl)
  TRect ItemRect;
  int BGPictureIndex = -1;
  TRect HGripRect, VGripRect;
  int GripOffset1 = 0, GripOffset2 = 0;
  bool ItemStretchEffect = false;
  int ItemOffset1 = 3, ItemOffset2 = 3;
  bool ItemTransparent = false;
  TColor ItemTransparentColor = 0;
  bool GripTransparent = false;
  TColor GripTransparentColor = 0;
};

// The page area is composed nine-part from the skin rect.
class TqzDataSkinTabControl : public TqzDataSkinControl, public TqzLatticeFields {
  QZ_SKIN_DATA_CLASS(TqzDataSkinTabControl, TqzDataSkinControl)
  TqzSkinGeometry Geometry() const { return {SkinRect, *this}; }
  TRect TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect;
  int BGPictureIndex = -1;
  int TabLeftOffset = 0, TabRightOffset = 0;
  TRect TabsBGRect;
  bool TabStretchEffect = false;
  QZ_SKIN_FONT_FIELDS
  TColor ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
  std::string UpDown;
  bool ShowFocus = false;
  int FocusOffsetX = 0, FocusOffsetY = 0;
  TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
  TRect TabLeftBottomActiveRect, TabLeftBottomFocusRect;
};

class TqzDataSkinGridControl : public TqzDataSkinControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinGridControl, TqzDataSkinControl)
  TRect FixedCellRect, SelectCellRect, FocusCellRect;
  int FixedCellLeftOffset = 0, FixedCellRightOffset = 0;
  TRect FixedCellTextRect;
  int CellLeftOffset = 0, CellRightOffset = 0;
  TRect CellTextRect;
  TColor LinesColor = 0, BGColor = 0;
  int BGPictureIndex = -1;
  QZ_SKIN_FONT_FIELDS
  TColor SelectFontColor = 0, FocusFontColor = 0;
  std::string FixedFontName = "Tahoma";
  int FixedFontHeight = 13;
  TFontStyles FixedFontStyle;
  TColor FixedFontColor = 0;
  bool CellStretchEffect = false, FixedCellStretchEffect = false, ShowFocus = false;
};

class TqzDataSkinMainMenuBar : public TqzDataSkinControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinMainMenuBar, TqzDataSkinControl)
  TRect ItemsRect;
  std::string MenuBarItem, CloseButton, MinButton, MaxButton, SysMenuButton;
  TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
  bool StretchEffect = false, ItemTransparent = false;
};

class TqzDataSkinTreeView : public TqzDataSkinControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinTreeView, TqzDataSkinControl)
  QZ_SKIN_FONT_FIELDS
  TColor BGColor = 0;
  TRect ExpandImageRect, NoExpandImageRect;
};

class TqzDataSkinListView : public TqzDataSkinControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinListView, TqzDataSkinControl)
  QZ_SKIN_FONT_FIELDS
  TColor BGColor = 0;
};

class TqzDataSkinRichEdit : public TqzDataSkinControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinRichEdit, TqzDataSkinControl)
  QZ_SKIN_FONT_FIELDS
  TColor BGColor = 0;
};

class TqzDataSkinSlider : public TqzDataSkinControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinSlider, TqzDataSkinControl)
  TColor BGColor = 0;
  TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
  int EdgeSize = 0;
  TColor PointsColor = 0;
};

class TqzDataSkinBevel : public TqzDataSkinControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinBevel, TqzDataSkinControl)
  TColor LightColor = 0, DarkColor = 0;
};

// Descriptions whose pictures hold a strip of frames; no kind word of its own.
class TqzDataSkinFrameControl : public TqzDataSkinControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinFrameControl, TqzDataSkinControl)
  int FramesCount = 1;  // at least 1
  TqzFramesPlacement FramesPlacement = TqzFramesPlacement::Horizontal;

 protected:
  void AfterRead() override;
};

class TqzDataSkinFrameGauge : public TqzDataSkinFrameControl {
  QZ_CLASS(TqzDataSkinFrameGauge, TqzDataSkinFrameControl)
 public:
  using TqzDataSkinFrameControl::TqzDataSkinFrameControl;
};

class TqzDataSkinAnimateControl : public TqzDataSkinFrameControl {
  QZ_CLASS(TqzDataSkinAnimateControl, TqzDataSkinFrameControl)
 public:
  using TqzDataSkinFrameControl::TqzDataSkinFrameControl;
};

class TqzDataSkinSwitchControl : public TqzDataSkinFrameControl {
  QZ_CLASS(TqzDataSkinSwitchControl, TqzDataSkinFrameControl)
 public:
  using TqzDataSkinFrameControl::TqzDataSkinFrameControl;
};

class TqzDataSkinFrameRegulator : public TqzDataSkinFrameControl {
  QZ_SKIN_DATA_CLASS(TqzDataSkinFrameRegulator, TqzDataSkinFrameControl)
  TqzRegulatorKind Kind = TqzRegulatorKind::Round;
};

// The description class a [SKINCONTROLS] kind word selects (exact case);
// nullptr for a word that is not in the table.
std::unique_ptr<TqzDataSkinControl> CreateSkinControlData(std::string_view kind,
                                                          std::string idName);
// The kind word of a description object (for writing [SKINCONTROLS]).
const char* SkinControlKindWord(const TqzDataSkinControl& data);

}  // namespace qz
