#include "skin/data/SkinObjectData.h"

#include <algorithm>
#include <cstring>

#include "host/graphics/Bitmap.h"
#include "skin/data/KindTable.h"
#include "skin/data/SkinData.h"

namespace qz {

// ---------------------------------------------------------------------------
// [FORMINFO]

void TqzSkinFormInfo::FormInfoFields(TqzDataFields& f) {
  f.CornerPoints(*this);
  f.Rect("clientrect", ClientRect);
  f.PictureIndex("bgpictureindex", BGPictureIndex);
  f.PictureIndex("mdibgpictureindex", MDIBGPictureIndex);
  f.StretchFlags(*this, TqzDataFields::TSideOrder::LeftRightTopBottom);
  f.Flag("mdibgstretcheffect", MDIBGStretchEffect);
  f.Enum("mdibgstretchtype", MDIBGStretchType, kStretchTypeWords);
  f.Rect("buttonsrect", ButtonsRect);
  f.Rect("captionrect", CaptionRect);
  f.Integer("buttonsoffset", ButtonsOffset);
  f.Flag("buttonsinleft", ButtonsInLeft);
  f.Rect("maskrectarea", MaskRectArea);
  f.Point("hittestlefttoppoint", HitTestLeftTopPoint);
  f.Point("hittestrighttoppoint", HitTestRightTopPoint);
  f.Point("hittestleftbottompoint", HitTestLeftBottomPoint);
  f.Point("hittestrightbottompoint", HitTestRightBottomPoint);
  f.Point("rollupleftpoint", RollUpLeftPoint);
  f.Point("rolluprightpoint", RollUpRightPoint);
  f.Rect("mainmenurect", MainMenuRect);
  f.Rect("iconrect", IconRect);
  f.Flag("mainmenupopupup", MainMenuPopupUp);
  f.Integer("borderwidth", BorderWidth);
  f.Integer("formminwidth", FormMinWidth);
  f.Integer("formminheight", FormMinHeight);
  f.Flag("mditabstransparent", MDITabsTransparent);
  f.Flag("mainmenubartransparent", MainMenuBarTransparent);
  f.Integer("cursorindex", CursorIndex, -1);
  f.Flag("autorenderinginactiveimage", AutoRenderingInActiveImage);
  f.EnumInt("inactiveeffect", InActiveEffect, kInactiveEffectWords);
  f.Rect("sizegriparea", SizeGripArea);
  f.String("statusbarname", StatusBarName);
}

void TqzSkinFormInfo::ReadFormInfo(const TqzIniFile& ini) {
  TqzFieldReader r(ini, "FORMINFO");
  FormInfoFields(r);
}

void TqzSkinFormInfo::WriteFormInfo(TqzIniFile& ini) {
  ini.EraseSection("FORMINFO");
  TqzFieldWriter w(ini, "FORMINFO");
  FormInfoFields(w);
}

namespace {
void ReplaceZeroPoint(TPoint& hit, const TPoint& corner) {
  if (hit.X == 0 || hit.Y == 0) hit = corner;
}
}  // namespace

void TqzSkinFormInfo::AdjustFormInfo(bool hasMask) {
  if (hasMask) {
    if (MaskRectArea.Width() <= 0 || MaskRectArea.Height() <= 0) {
      MaskRectArea = ClientRect;
    } else {
      MaskRectArea = {std::min(MaskRectArea.Left, ClientRect.Left),
                      std::min(MaskRectArea.Top, ClientRect.Top),
                      std::max(MaskRectArea.Right, ClientRect.Right),
                      std::max(MaskRectArea.Bottom, ClientRect.Bottom)};
    }
    ReplaceZeroPoint(HitTestLeftTopPoint, LeftTopPoint);
    ReplaceZeroPoint(HitTestRightTopPoint, RightTopPoint);
    ReplaceZeroPoint(HitTestLeftBottomPoint, LeftBottomPoint);
    ReplaceZeroPoint(HitTestRightBottomPoint, RightBottomPoint);
  }
  if (RightBottomPoint.X != LeftTopPoint.X && RightBottomPoint.Y != LeftTopPoint.Y) {
    LeftTopPoint.X = std::max(LeftTopPoint.X, ClientRect.Left);
    LeftBottomPoint.X = std::max(LeftBottomPoint.X, ClientRect.Left);
    LeftTopPoint.Y = std::max(LeftTopPoint.Y, ClientRect.Top);
    RightTopPoint.Y = std::max(RightTopPoint.Y, ClientRect.Top);
    RightTopPoint.X = std::min(RightTopPoint.X, ClientRect.Right);
    RightBottomPoint.X = std::min(RightBottomPoint.X, ClientRect.Right);
    LeftBottomPoint.Y = std::min(LeftBottomPoint.Y, ClientRect.Bottom);
    RightBottomPoint.Y = std::min(RightBottomPoint.Y, ClientRect.Bottom);
  }
}

// ---------------------------------------------------------------------------
// Fixed sections

void TqzDataSkinSection::ReadData(const TqzIniFile& ini) {
  TqzFieldReader r(ini, SectionName());
  Fields(r);
}

void TqzDataSkinSection::WriteData(TqzIniFile& ini) {
  ini.EraseSection(SectionName());
  TqzFieldWriter w(ini, SectionName());
  Fields(w);
}

namespace {
template <class T>
void Font(TqzDataFields& f, T& d, const char* nameKey = "fontname") {
  f.FontGroup(d.FontName, d.FontHeight, d.FontStyle, d.FontColor, nameKey);
}
}  // namespace

void TqzDataSkinPopupWindow::Fields(TqzDataFields& f) {
  f.LatticePictureIndex("windowpictureindex", WindowPictureIndex);
  f.PictureIndex("maskpictureindex", MaskPictureIndex);
  f.CornerPoints(*this, ItemsRect);
  f.Integer("cursorindex", CursorIndex, -1);
  f.Place("itemsrect", ItemsRect);
  f.Color("scrollmarkercolor", ScrollMarkerColor);
  f.Color("scrollmarkeractivecolor", ScrollMarkerActiveColor);
  f.StretchFlags(*this, TqzDataFields::TSideOrder::LeftRightTopBottom);
}

void TqzDataSkinHintWindow::Fields(TqzDataFields& f) {
  f.LatticePictureIndex("windowpictureindex", WindowPictureIndex);
  f.PictureIndex("maskpictureindex", MaskPictureIndex);
  f.CornerPoints(*this);
  f.Place("clientrect", ClientRect, TqzPlaceBound::InSkinRect);
  Font(f, *this);
  f.StretchFlags(*this, TqzDataFields::TSideOrder::LeftRightTopBottom);
}

void TqzDataSkinLayerFrame::Fields(TqzDataFields& f) {
  f.LatticePictureIndex("pictureindex", PictureIndex);
  f.PictureIndex("maskpictureindex", MaskPictureIndex);
  f.PictureIndex("inactivepictureindex", InActivePictureIndex);
  f.PictureIndex("inactivemaskpictureindex", InActiveMaskPictureIndex);
  f.CornerPoints(*this);
  f.Place("clientrect", ClientRect, TqzPlaceBound::InSkinRect);
  f.Integer("alphablendvalue", AlphaBlendValue, 255);
  f.Integer("inactivealphablendvalue", InActiveAlphaBlendValue, 255);
  f.Rect("borderrect", BorderRect);
  f.Rect("hittestrect", HitTestRect);
  f.Flag("hittestenable", HitTestEnable);
  f.Flag("fullborder", FullBorder);
  f.Integer("hittestsize", HitTestSize);
  f.Place("captionrect", CaptionRect);
  f.Point("hittestlefttoppoint", HitTestLeftTopPoint);
  f.Point("hittestrighttoppoint", HitTestRightTopPoint);
  f.Point("hittestleftbottompoint", HitTestLeftBottomPoint);
  f.Point("hittestrightbottompoint", HitTestRightBottomPoint);
  f.Rect("buttonsrect", ButtonsRect);
  f.Rect("sysmenubuttonrect", SysMenuButtonRect);
  f.Flag("fullstretch", FullStretch);
  f.Integer("rollupformheight", RollUpFormHeight);
  f.Integer("buttonstopoffset", ButtonsTopOffset);
  f.Integer("sysbuttontopoffset", SysButtonTopOffset);
  f.PictureIndex("blurmaskpictureindex", BlurMaskPictureIndex);
  f.Rect("intersectblurmaskrect", IntersectBlurMaskRect);
  f.Rect("excludeblurmaskrect", ExcludeBlurMaskRect);
  f.Integer("leftoffset", LeftOffset);
  f.Integer("topoffset", TopOffset);
  f.Integer("widthoffset", WidthOffset);
  f.Integer("heightoffset", HeightOffset);
}

// ---------------------------------------------------------------------------
// Areas

std::unique_ptr<TqzDataSkinArea> TqzDataSkinArea::Parse(std::string_view value) {
  auto area = std::make_unique<TqzDataSkinArea>();
  size_t colon = value.rfind(':');
  size_t semicolon = value.rfind(';');
  size_t rectBegin = colon == std::string_view::npos ? 0 : colon + 1;
  if (colon != std::string_view::npos) area->IDName = std::string(value.substr(0, colon));
  size_t rectEnd = semicolon == std::string_view::npos || semicolon < rectBegin ? value.size()
                                                                                : semicolon;
  area->AreaRect = ParseSkinRect(value.substr(rectBegin, rectEnd - rectBegin),
                                 "area \"" + area->IDName + "\"");
  if (semicolon != std::string_view::npos && semicolon >= rectBegin) {
    std::string_view tail = value.substr(semicolon + 1);
    if (tail.size() == 9) {
      area->Flag1 = tail[0] == '1';
      area->Flag2 = tail[2] == '1';
      area->Flag3 = tail[4] == '1';
      area->Flag4 = tail[6] == '1';
      area->Flag5 = tail[8] == '1';
    }
  }
  return area;
}

std::string TqzDataSkinArea::EntryText() const {
  auto d = [](bool f) { return f ? '1' : '0'; };
  std::string flags{d(Flag1), ',', d(Flag2), ',', d(Flag3), ',', d(Flag4), ',', d(Flag5)};
  return IDName + ":" + SkinRectText(AreaRect) + ";" + flags;
}

// ---------------------------------------------------------------------------
// Form objects

void TqzDataSkinObject::ReadData(const TqzIniFile& ini) {
  TqzFieldReader r(ini, IDName);
  Fields(r);
  AfterRead();
}

void TqzDataSkinObject::WriteData(TqzIniFile& ini) {
  ini.EraseSection(IDName);
  TqzFieldWriter w(ini, IDName);
  Fields(w);
}

void TqzDataSkinObject::Fields(TqzDataFields& f) {
  f.String("hint", Hint);
  f.Flag("rollup", RollUp);
  f.PictureIndex("activepictureindex", ActivePictureIndex);
  f.PictureIndex("activemaskpictureindex", ActiveMaskPictureIndex);
  f.Flag("skinrectinapicture", SkinRectInAPicture);
  f.Integer("cursorindex", CursorIndex, -1);
  f.Rect("skinrect", SkinRect);
  f.Rect("activeskinrect", ActiveSkinRect);
  f.Rect("inactiveskinrect", InActiveSkinRect);
  f.Flag("morphing", Morphing);
  f.EnumInt("morphkind", MorphKind, kMorphKindWords);
  f.PictureIndex("glowlayerpictureindex", GlowLayerPictureIndex);
  f.PictureIndex("glowlayermaskpictureindex", GlowLayerMaskPictureIndex);
  f.Integer("glowlayeroffsetx", GlowLayerOffsetX);
  f.Integer("glowlayeroffsety", GlowLayerOffsetY);
  f.Integer("glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255);
}

void TqzDataSkinButton::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Rect("downrect", DownRect);
  f.Rect("disableskinrsect", DisableSkinRect);
  f.Integer("groupindex", GroupIndex, -1);
  f.PictureIndex("alphamaskpictureindex", AlphaMaskPictureIndex);
  f.PictureIndex("alphamaskactivepictureindex", AlphaMaskActivePictureIndex);
  f.PictureIndex("alphamaskinactivepictureindex", AlphaMaskInActivePictureIndex);
}

std::string DefaultRestoreHint(const std::string& hint, TqzStdCommand command) {
  bool restores = (hint == "Maximize" && command == TqzStdCommand::Maximize) ||
                  (hint == "Minimize" && command == TqzStdCommand::Minimize) ||
                  ((hint == "RollUp" || hint == "Roll Up") && command == TqzStdCommand::RollUp);
  return restores ? "Restore" : "";
}

void TqzDataSkinStdButton::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Enum("command", Command, kStdCommandWords);
  f.Rect("restorerect", RestoreRect);
  f.Rect("restoreactiverect", RestoreActiveRect);
  f.Rect("restoredownrect", RestoreDownRect);
  f.Rect("restoreinactiverect", RestoreInActiveRect);
  f.String("restorehint", RestoreHint);
}

void TqzDataSkinStdButton::AfterRead() {
  inherited::AfterRead();
  if (RestoreHint.empty()) RestoreHint = DefaultRestoreHint(Hint, Command);
}

void TqzDataSkinCaptionMenuButton::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  Font(f, *this, "fontName");
  f.Color("activefontcolor", ActiveFontColor);
  f.Color("downfontcolor", DownFontColor);
  f.Color("inactivefontcolor", InActiveFontColor);
  f.Integer("leftoffset", LeftOffset, 10);
  f.Integer("rightoffset", RightOffset, 10);
  f.Integer("topposition", TopPosition, 0);
  f.Place("clientrect", ClientRect, TqzPlaceBound::InSkinRect);
}

void TqzDataSkinCaptionTab::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  Font(f, *this, "fontName");
  f.Color("activefontcolor", ActiveFontColor);
  f.Color("downfontcolor", DownFontColor);
  f.Integer("leftoffset", LeftOffset, 10);
  f.Integer("rightoffset", RightOffset, 10);
  f.Integer("topposition", TopPosition, 0);
  f.Place("clientrect", ClientRect, TqzPlaceBound::InSkinRect);
}

void TqzDataSkinMenuItem::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Integer("itemleftoffset", ItemLeftOffset);
  f.Integer("itemrightoffset", ItemRightOffset);
  f.Rect("dividerrect", DividerRect);
  f.Integer("dividerleftoffset", DividerLeftOffset);
  f.Integer("dividerrightoffset", DividerRightOffset);
  f.Place("textrect", TextRect);
  f.Place("imagerect", ImageRect);
  Font(f, *this);
  f.Color("activefontcolor", ActiveFontColor);
  f.Color("unenabledfontcolor", UnEnabledFontColor);
  f.Flag("stretcheffect", StretchEffect);
  f.Flag("inactivestretcheffect", InActiveStretchEffect);
  f.Flag("dividerstretcheffect", DividerStretchEffect);
  f.ThreePartLook({"skinrect", "activeskinrect", "animateskinrect"}, ItemLeftOffset,
                  ItemRightOffset, StretchEffect, TqzLookAxis::Horizontal);
  f.ThreePartLook({"dividerrect"}, DividerLeftOffset, DividerRightOffset, DividerStretchEffect,
                  TqzLookAxis::Horizontal);
  f.Rect("animateskinrect", AnimateSkinRect);
  f.Integer("framecount", FrameCount, 0);
  f.Integer("animateinterval", AnimateInterval, 25);
  f.Flag("inactiveanimation", InActiveAnimation);
  f.Flag("useimagecolor", UseImageColor);
  f.Color("imagecolor", ImageColor);
  f.Color("activeimagecolor", ActiveImageColor);
  f.Flag("inactivetransparent", InActiveTransparent);
  f.Rect("checkimagerect", CheckImageRect);
  f.Rect("activecheckimagerect", ActiveCheckImageRect);
  f.Rect("radioimagerect", RadioImageRect);
  f.Rect("activeradioimagerect", ActiveRadioImageRect);
  f.Rect("arrowimagerect", ArrowImageRect);
  f.Rect("activearrowimagerect", ActiveArrowImageRect);
}

void TqzDataSkinMenuItem::AfterRead() {
  inherited::AfterRead();
  if (ActiveCheckImageRect.IsEmpty()) ActiveCheckImageRect = CheckImageRect;
  if (ActiveRadioImageRect.IsEmpty()) ActiveRadioImageRect = RadioImageRect;
  if (ActiveArrowImageRect.IsEmpty()) ActiveArrowImageRect = ArrowImageRect;
}

void TqzDataSkinMainMenuItem::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Integer("itemleftoffset", ItemLeftOffset);
  f.Integer("itemrightoffset", ItemRightOffset);
  f.Rect("downrect", DownRect);
  f.Place("textrect", TextRect);
  Font(f, *this);
  f.Color("activefontcolor", ActiveFontColor);
  f.Color("downfontcolor", DownFontColor);
  f.Color("unenabledfontColor", UnEnabledFontColor);
  f.Flag("stretcheffect", StretchEffect);
  f.ThreePartLook({"skinrect", "activeskinrect", "downrect", "animateskinrect"}, ItemLeftOffset,
                  ItemRightOffset, StretchEffect, TqzLookAxis::Horizontal);
  f.Rect("animateskinrect", AnimateSkinRect);
  f.Integer("framecount", FrameCount, 0);
  f.Integer("animateinterval", AnimateInterval, 25);
  f.Flag("inactiveanimation", InActiveAnimation);
}

void TqzDataSkinCaption::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Flag("defaultcaption", DefaultCaption);
  f.Place("textrect", TextRect);
  Font(f, *this);
  f.Color("activefontcolor", ActiveFontColor);
  f.EnumInt("alignment", Alignment, kAlignmentWords);
  f.Flag("shadow", Shadow);
  f.Color("shadowcolor", ShadowColor);
  f.Flag("light", Light);
  f.Color("lightcolor", LightColor);
  f.Color("activelightcolor", ActiveLightColor);
  f.Color("activeshadowcolor", ActiveShadowColor);
  f.Rect("framerect", FrameRect);
  f.Rect("activeframerect", ActiveFrameRect);
  f.Place("frametextrect", FrameTextRect, TqzPlaceBound::OnOtherLook);
  f.Integer("frameleftoffset", FrameLeftOffset);
  f.Integer("framerightoffset", FrameRightOffset);
  f.Flag("stretcheffect", StretchEffect);
  f.ThreePartLook({"framerect", "activeframerect"}, FrameLeftOffset, FrameRightOffset,
                  StretchEffect, TqzLookAxis::Horizontal);
  f.Rect("animateskinrect", AnimateSkinRect);
  f.Integer("framecount", FrameCount, 0);
  f.Integer("animateinterval", AnimateInterval, 25);
  f.Flag("inactiveanimation", InActiveAnimation);
  f.Flag("fullframe", FullFrame);
  f.Flag("vistagloweffect", VistaGlowEffect);
  f.Flag("vistaglowinactiveeffect", VistaGlowInActiveEffect);
  f.Flag("gloweffect", GlowEffect);
  f.Flag("glowinactiveeffect", GlowInActiveEffect);
  f.Integer("glowsize", GlowSize, 3);
  f.Color("glowcolor", GlowColor);
  f.Color("glowactivecolor", GlowActiveColor);
  f.Integer("glowoffset", GlowOffset);
  f.Flag("reflectioneffect", ReflectionEffect);
  f.Color("reflactioncolor", ReflactionColor);
  f.Color("reflactionactivecolor", ReflactionActiveColor);
  f.Integer("reflectionoffset", ReflectionOffset);
  f.Rect("dividerrect", DividerRect);
  f.Rect("inactivedividerrect", InActiveDividerRect);
  f.Flag("dividertransparent", DividerTransparent);
  f.Color("dividertransparentcolor", DividerTransparentColor);
  f.PictureIndex("quickbuttonalphamaskpictureindex", QuickButtonAlphaMaskPictureIndex);
}

void TqzDataSkinLabel::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  Font(f, *this, "fontName");
  f.Color("activefontcolor", ActiveFontColor);
  f.EnumInt("alignment", Alignment, kAlignmentWords);
  f.String("textvalue", TextValue);
}

void TqzDataSkinBitLabel::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.String("textvalue", TextValue);
  f.Integer("symbolwidth", SymbolWidth);
  f.Integer("symbolheight", SymbolHeight);
  f.LineList("symbols", Symbols);
  f.Flag("transparent", Transparent);
  f.Color("transparentcolor", TransparentColor, 16711935);
}

void TqzDataSkinTrackBar::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Rect("buttonrect", ButtonRect);
  f.Rect("activebuttonrect", ActiveButtonRect);
  f.Point("beginpoint", BeginPoint);
  f.Point("endpoint", EndPoint);
  f.Integer("minvalue", MinValue);
  f.Integer("maxvalue", MaxValue);
  f.Flag("mousedownchangevalue", MouseDownChangeValue);
  f.Flag("buttontransparent", ButtonTransparent);
  f.Color("buttontransparentcolor", ButtonTransparentColor);
}

void TqzDataSkinGauge::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Integer("minvalue", MinValue);
  f.Integer("maxvalue", MaxValue);
  f.Enum("kind", Kind, kGaugeKindWords);
}

void TqzDataSkinFrameGaugeObject::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Integer("minvalue", MinValue);
  f.Integer("maxvalue", MaxValue);
  f.Integer("countframes", CountFrames);
  f.Enum("framesplacement", FramesPlacement, kFramesPlacementWords);
}

void TqzDataSkinFrameRegulatorObject::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Enum("kind", Kind, kRegulatorKindWords);
}

void TqzDataSkinAnimate::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Integer("countframes", CountFrames, 1);
  f.Flag("cycle", Cycle);
  f.Flag("buttonstyle", ButtonStyle);
  f.Integer("timerinterval", TimerInterval, 50);
  f.Enum("command", Command, kStdCommandWords);
  f.Rect("downskinrect", DownSkinRect);
  f.Rect("restorerect", RestoreRect);
  f.Rect("restoreactiverect", RestoreActiveRect);
  f.Rect("restoredownrect", RestoreDownRect);
  f.Rect("restoreinactiverect", RestoreInActiveRect);
  f.String("restorehint", RestoreHint);
}

void TqzDataSkinAnimate::AfterRead() {
  inherited::AfterRead();
  if (RestoreHint.empty()) RestoreHint = DefaultRestoreHint(Hint, Command);
}

void TqzDataUserObject::Fields(TqzDataFields& f) {
  // Deliberately not the base keys: a user object carries only these three.
  f.Flag("rollup", RollUp);
  f.Rect("skinrect", SkinRect);
  f.Integer("cursorindex", CursorIndex, -1);
}

// ---------------------------------------------------------------------------
// Kind words

namespace {

#define QZ_KIND(word, T) {word, #T, &MakeKind<TqzDataSkinObject, T>}
constexpr TqzKind<TqzDataSkinObject> kObjectKinds[] = {
    QZ_KIND("menuitem", TqzDataSkinMenuItem),
    QZ_KIND("mainmenuitem", TqzDataSkinMainMenuItem),
    QZ_KIND("mainmenubaritem", TqzDataSkinMainMenuBarItem),
    QZ_KIND("captionmenubutton", TqzDataSkinCaptionMenuButton),
    QZ_KIND("captiontab", TqzDataSkinCaptionTab),
    QZ_KIND("stdbutton", TqzDataSkinStdButton),
    QZ_KIND("mainmenubarbutton", TqzDataSkinMainMenuBarButton),
    QZ_KIND("button", TqzDataSkinButton),
    QZ_KIND("caption", TqzDataSkinCaption),
    QZ_KIND("trackbar", TqzDataSkinTrackBar),
    QZ_KIND("gauge", TqzDataSkinGauge),
    QZ_KIND("framegauge", TqzDataSkinFrameGaugeObject),
    QZ_KIND("frameregulator", TqzDataSkinFrameRegulatorObject),
    QZ_KIND("label", TqzDataSkinLabel),
    QZ_KIND("bitlabel", TqzDataSkinBitLabel),
    QZ_KIND("switch", TqzDataSkinSwitch),
    QZ_KIND("animate", TqzDataSkinAnimate),
    QZ_KIND("userobject", TqzDataUserObject),
};
#undef QZ_KIND

}  // namespace

std::unique_ptr<TqzDataSkinObject> CreateSkinObjectData(std::string_view kind, std::string idName) {
  return CreateByKindWord(kObjectKinds, kind, std::move(idName));
}

const char* SkinObjectKindWord(const TqzDataSkinObject& data) {
  return KindWordOf(kObjectKinds, data);
}

bool SplitSkinEntry(std::string_view value, std::string& name, std::string& kind) {
  size_t colon = value.find(':');
  if (colon == std::string_view::npos) {
    name.clear();
    kind.clear();
    return false;
  }
  name = std::string(value.substr(0, colon));
  kind = std::string(value.substr(colon + 1));
  return true;
}

}  // namespace qz
