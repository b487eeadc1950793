#include "skin/data/SkinControlData.h"

#include "skin/data/KindTable.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace qz {

void TqzDataSkinControl::ReadData(const TqzIniFile& ini) {
  TqzFieldReader reader(ini, IDName);
  Fields(reader);
  AfterRead();
}

void TqzDataSkinControl::WriteData(TqzIniFile& ini) {
  ini.EraseSection(IDName);
  TqzFieldWriter writer(ini, IDName);
  Fields(writer);
}

void TqzDataSkinControl::Fields(TqzDataFields& f) {
  f.PictureIndex("pictureindex", PictureIndex);
  f.PictureIndex("maskpictureindex", MaskPictureIndex);
  f.Integer("cursorindex", CursorIndex, -1);
  f.SkinRectLook("skinrect", SkinRect);
}

namespace {
template <class T>
void UpDownRects(TqzDataFields& f, T& d) {
  f.Place("upbuttonrect", d.UpButtonRect, TqzPlaceBound::InSkinRect);
  f.Rect("activeupbuttonrect", d.ActiveUpButtonRect);
  f.Rect("downupbuttonrect", d.DownUpButtonRect);
  f.Place("downbuttonrect", d.DownButtonRect, TqzPlaceBound::InSkinRect);
  f.Rect("activedownbuttonrect", d.ActiveDownButtonRect);
  f.Rect("downdownbuttonrect", d.DownDownButtonRect);
}
template <class T>
void Font(TqzDataFields& f, T& d) {
  f.FontGroup(d.FontName, d.FontHeight, d.FontStyle, d.FontColor);
}
}  // namespace

void TqzDataSkinCustomControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.CornerPoints(*this);
  f.Place("clientrect", ClientRect, TqzPlaceBound::InSkinRect);
  f.StretchFlags(*this, TqzDataFields::TSideOrder::LeftTopRightBottom);
}

void TqzDataSkinButtonControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  Font(f, *this);
  f.Color("activefontcolor", ActiveFontColor);
  f.Color("disabledfontcolor", DisabledFontColor);
  f.Color("downfontcolor", DownFontColor);
  f.Flag("morphing", Morphing);
  f.EnumInt("morphkind", MorphKind, kMorphKindWords);
  f.SkinRectLook("activeskinrect", ActiveSkinRect);
  f.SkinRectLook("downskinrect", DownSkinRect);
  f.SkinRectLook("focusedskinrect", FocusedSkinRect);
  f.SkinRectLook("disabledskinrect", DisabledSkinRect);
  f.Rect("animateskinrect", AnimateSkinRect);
  f.Integer("framecount", FrameCount, 0);
  f.Integer("animateinterval", AnimateInterval, 25);
  f.Flag("showfocus", ShowFocus);
  f.Rect("menumarkerflatrect", MenuMarkerFlatRect);
  f.Rect("menumarkerrect", MenuMarkerRect);
  f.Rect("menumarkeractiverect", MenuMarkerActiveRect);
  f.Rect("menumarkerdownrect", MenuMarkerDownRect);
  f.Color("menumarkertransparentcolor", MenuMarkerTransparentColor);
  f.PictureIndex("glowlayerpictureindex", GlowLayerPictureIndex);
  f.PictureIndex("glowlayermaskpictureindex", GlowLayerMaskPictureIndex);
  f.Integer("glowlayeroffsetleft", GlowLayerOffsetLeft);
  f.Integer("glowlayeroffsettop", GlowLayerOffsetTop);
  f.Integer("glowlayeroffsetright", GlowLayerOffsetRight);
  f.Integer("glowlayeroffsetbottom", GlowLayerOffsetBottom);
  f.Integer("glowlayershowoffsetx", GlowLayerShowOffsetX);
  f.Integer("glowlayershowoffsety", GlowLayerShowOffsetY);
  f.Integer("glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255);
}

void TqzDataSkinMenuButtonControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Place("trackbuttonrect", TrackButtonRect, TqzPlaceBound::InSkinRect);
}

void TqzDataSkinCheckRadioControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  Font(f, *this);
  f.Color("activefontcolor", ActiveFontColor);
  f.Color("unenabledfontcolor", UnEnabledFontColor);
  f.Color("framefontcolor", FrameFontColor);
  f.Flag("morphing", Morphing);
  f.EnumInt("morphkind", MorphKind, kMorphKindWords);
  f.SkinRectLook("activeskinrect", ActiveSkinRect);
  f.Place("checkimagearea", CheckImageArea);
  f.Place("textarea", TextArea);
  f.Rect("checkimagerect", CheckImageRect);
  f.Rect("uncheckimagerect", UnCheckImageRect);
  f.Rect("activecheckimagerect", ActiveCheckImageRect);
  f.Rect("activeuncheckimagerect", ActiveUnCheckImageRect);
  f.Rect("unenabledcheckimagerect", UnEnabledCheckImageRect);
  f.Rect("unenableduncheckimagerect", UnEnabledUnCheckImageRect);
  f.Rect("grayedcheckimagerect", GrayedCheckImageRect);
  f.Rect("activegrayedcheckimagerect", ActiveGrayedCheckImageRect);
}

void TqzDataSkinPanelControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.PictureIndex("bgpictureindex", BGPictureIndex);
  f.Place("captionrect", CaptionRect);
  f.EnumInt("alignment", Alignment, kAlignmentWords);
  Font(f, *this);
  f.Rect("checkimagerect", CheckImageRect);
  f.Rect("uncheckimagerect", UnCheckImageRect);
  f.Rect("markframerect", MarkFrameRect);
  f.Rect("framerect", FrameRect);
  f.Place("frametextrect", FrameTextRect, TqzPlaceBound::OnOtherLook);
  f.Integer("frameleftoffset", FrameLeftOffset);
  f.Integer("framerightoffset", FrameRightOffset);
  // The frame's middle stretches with the panel's lattice.
  f.ThreePartLook({"framerect"}, FrameLeftOffset, FrameRightOffset, StretchEffect, TqzLookAxis::Horizontal);
  f.Rect("gripperrect", GripperRect);
  f.Flag("grippertransparent", GripperTransparent);
  f.Color("grippertransparentcolor", GripperTransparentColor);
}

void TqzDataSkinExPanelControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Rect("rollhskinrect", RollHSkinRect);
  f.Rect("rollvskinrect", RollVSkinRect);
  f.Integer("rollleftoffset", RollLeftOffset);
  f.Integer("rollrightoffset", RollRightOffset);
  f.Integer("rolltopoffset", RollTopOffset);
  f.Integer("rollbottomoffset", RollBottomOffset);
  f.Place("rollvcaptionrect", RollVCaptionRect, TqzPlaceBound::OnOtherLook);
  f.Place("rollhcaptionrect", RollHCaptionRect, TqzPlaceBound::OnOtherLook);
  f.Rect("closebuttonrect", CloseButtonRect);
  f.Rect("closebuttonactiverect", CloseButtonActiveRect);
  f.Rect("closebuttondownrect", CloseButtonDownRect);
  f.Rect("hrollbuttonrect", HRollButtonRect);
  f.Rect("hrollbuttonactiverect", HRollButtonActiveRect);
  f.Rect("hrollbuttondownrect", HRollButtonDownRect);
  f.Rect("hrestorebuttonrect", HRestoreButtonRect);
  f.Rect("hrestorebuttonactiverect", HRestoreButtonActiveRect);
  f.Rect("hrestorebuttondownrect", HRestoreButtonDownRect);
  f.Rect("vrollbuttonrect", VRollButtonRect);
  f.Rect("vrollbuttonactiverect", VRollButtonActiveRect);
  f.Rect("vrollbuttondownrect", VRollButtonDownRect);
  f.Rect("vrestorebuttonrect", VRestoreButtonRect);
  f.Rect("vrestorebuttonactiverect", VRestoreButtonActiveRect);
  f.Rect("vrestorebuttondownrect", VRestoreButtonDownRect);
  f.Place("captionrect", CaptionRect);
  Font(f, *this);
  f.Flag("buttonstransparent", ButtonsTransparent);
  f.Color("buttonstransparentcolor", ButtonsTransparentColor);
}

void TqzDataSkinScrollBoxControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.PictureIndex("bgpictureindex", BGPictureIndex);
}

void TqzDataSkinLabelControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  Font(f, *this);
}

void TqzDataSkinStdLabelControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  Font(f, *this);
  f.Color("activefontcolor", ActiveFontColor, 16711680);
}

void TqzDataSkinBitLabelControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Rect("skintextrect", SkinTextRect);
  f.Integer("symbolwidth", SymbolWidth);
  f.Integer("symbolheight", SymbolHeight);
  f.LineList("symbols", Symbols);
}

void TqzDataSkinEditControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.SkinRectLook("activeskinrect", ActiveSkinRect);
  Font(f, *this);
  f.Color("disabledfontcolor", DisabledFontColor);
  f.Color("activefontcolor", ActiveFontColor);
  f.Place("buttonrect", ButtonRect, TqzPlaceBound::InSkinRect);
  f.Rect("activebuttonrect", ActiveButtonRect);
  f.Rect("downbuttonrect", DownButtonRect);
  f.Rect("unenabledbuttonrect", UnEnabledButtonRect);
}

void TqzDataSkinMemoControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Color("bgcolor", BGColor);
  f.Color("activebgcolor", ActiveBGColor);
}

void TqzDataSkinSpinEditControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.SkinRectLook("activeskinrect", ActiveSkinRect);
  Font(f, *this);
  f.Color("activefontcolor", ActiveFontColor);
  f.Color("disabledfontcolor", DisabledFontColor);
  UpDownRects(f, *this);
}

void TqzDataSkinUpDownControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  UpDownRects(f, *this);
}

void TqzDataSkinListBox::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Rect("itemrect", ItemRect);
  f.Rect("activeitemrect", ActiveItemRect);
  f.Rect("focusitemrect", FocusItemRect);
  f.Integer("itemleftoffset", ItemLeftOffset);
  f.Integer("itemrightoffset", ItemRightOffset);
  // The items' middle stretches with the list's lattice.
  f.ThreePartLook({"itemrect", "activeitemrect", "focusitemrect"}, ItemLeftOffset,
                  ItemRightOffset, StretchEffect, TqzLookAxis::Horizontal);
  f.Place("itemtextrect", ItemTextRect, TqzPlaceBound::OnOtherLook);
  Font(f, *this);
  f.Color("activefontcolor", ActiveFontColor);
  f.Color("focusfontcolor", FocusFontColor);
  f.Place("captionrect", CaptionRect);
  f.String("captionfontname", CaptionFontName, "Tahoma");
  f.Integer("captionfontheight", CaptionFontHeight, 13);
  f.FontStyle("captionfontstyle", CaptionFontStyle);
  f.Color("captionfontcolor", CaptionFontColor);
  UpDownRects(f, *this);
  f.Place("checkbuttonrect", CheckButtonRect, TqzPlaceBound::InSkinRect);
  f.Rect("activecheckbuttonrect", ActiveCheckButtonRect);
  f.Rect("downcheckbuttonrect", DownCheckButtonRect);
  f.String("vscrollbarname", VScrollBarName, "vscrollbar");
  f.String("hscrollbarname", HScrollBarName, "hscrollbar");
  f.String("bothhscrollbarname", BothHScrollBarName, "bothhscrollbar");
  f.Flag("showfocus", ShowFocus);
  f.Rect("disabledbuttonsrect", DisabledButtonsRect);
  f.Place("buttonsarea", ButtonsArea);
}

void TqzDataSkinCheckListBox::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Rect("checkimagerect", CheckImageRect);
  f.Rect("itemcheckrect", ItemCheckRect);
  f.Rect("uncheckimagerect", UnCheckImageRect);
}

void TqzDataSkinComboBox::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.SkinRectLook("activeskinrect", ActiveSkinRect);
  f.Rect("itemrect", ItemRect);
  f.Rect("activeitemrect", ActiveItemRect);
  f.Rect("focusitemrect", FocusItemRect);
  f.Integer("itemleftoffset", ItemLeftOffset);
  f.Integer("itemrightoffset", ItemRightOffset);
  f.Place("itemtextrect", ItemTextRect, TqzPlaceBound::OnOtherLook);
  Font(f, *this);
  f.Color("focusfontcolor", FocusFontColor);
  f.Color("activefontcolor", ActiveFontColor);
  f.String("listboxname", ListBoxName);
  f.Place("buttonrect", ButtonRect, TqzPlaceBound::InSkinRect);
  f.Rect("activebuttonrect", ActiveButtonRect);
  f.Rect("downbuttonrect", DownButtonRect);
  f.Rect("unenabledbuttonrect", UnEnabledButtonRect);
  f.Flag("itemstretcheffect", ItemStretchEffect);
  f.ThreePartLook({"itemrect", "activeitemrect", "focusitemrect"}, ItemLeftOffset,
                  ItemRightOffset, ItemStretchEffect, TqzLookAxis::Horizontal);
  f.Flag("focusitemstretcheffect", FocusItemStretchEffect);
  f.Flag("showfocus", ShowFocus);
}

void TqzDataSkinScrollBarControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Place("trackarea", TrackArea, TqzPlaceBound::InSkinRect);
  UpDownRects(f, *this);
  f.Rect("thumbrect", ThumbRect);
  f.Rect("activethumbrect", ActiveThumbRect);
  f.Rect("downthumbrect", DownThumbRect);
  f.Integer("thumboffset1", ThumbOffset1);
  f.Integer("thumboffset2", ThumbOffset2);
  f.Flag("thumbtransparent", ThumbTransparent);
  f.Color("thumbtransparentcolor", ThumbTransparentColor);
  f.Flag("thumbstretcheffect", ThumbStretchEffect);
  // The thumb runs along the bar: a bar taller than wide is vertical.
  f.ThreePartLook({"thumbrect", "activethumbrect", "downthumbrect"}, ThumbOffset1, ThumbOffset2,
                  ThumbStretchEffect,
                  SkinRect.Height() > SkinRect.Width() ? TqzLookAxis::Vertical : TqzLookAxis::Horizontal);
  f.Integer("thumbminsize", ThumbMinSize);
  f.Integer("thumbminpagesize", ThumbMinPageSize);
  f.Rect("glyphrect", GlyphRect);
  f.Rect("activeglyphrect", ActiveGlyphRect);
  f.Rect("downglyphrect", DownGlyphRect);
  f.Flag("glyphtransparent", GlyphTransparent);
  f.Color("glyphtransparentcolor", GlyphTransparentColor);
}

void TqzDataSkinTrackBarControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.SkinRectLook("activeskinrect", ActiveSkinRect);
  f.Place("trackarea", TrackArea, TqzPlaceBound::InSkinRect);
  f.Rect("buttonrect", ButtonRect);
  f.Rect("activebuttonrect", ActiveButtonRect);
  f.Flag("vertical", Vertical);
  f.Flag("buttontransparent", ButtonTransparent);
  f.Color("buttontransparentcolor", ButtonTransparentColor);
}

void TqzDataSkinSplitterControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Rect("gripperrect", GripperRect);
  f.Flag("grippertransparent", GripperTransparent);
  f.Color("grippertransparentcolor", GripperTransparentColor);
}

void TqzDataSkinGaugeControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Place("progressarea", ProgressArea);
  f.Rect("progressrect", ProgressRect);
  f.Integer("beginoffset", BeginOffset);
  f.Integer("endoffset", EndOffset);
  f.Flag("vertical", Vertical);
  Font(f, *this);
  f.Flag("progresstransparent", ProgressTransparent);
  f.Color("progresstransparentcolor", ProgressTransparentColor);
  f.Flag("progressstretch", ProgressStretch);
  f.ThreePartLook({"progressrect"}, BeginOffset, EndOffset, ProgressStretch,
                  Vertical ? TqzLookAxis::Vertical : TqzLookAxis::Horizontal);
  f.Rect("animationskinrect", AnimationSkinRect);
  f.Integer("animationcountframes", AnimationCountFrames);
  f.Integer("animationtimerinterval", AnimationTimerInterval);
  f.Rect("progressanimationskinrect", ProgressAnimationSkinRect);
  f.Integer("progressanimationcountframes", ProgressAnimationCountFrames);
  f.Integer("progressanimationtimerinterval", ProgressAnimationTimerInterval);
  f.Integer("animationbeginoffset", AnimationBeginOffset);
  f.Integer("animationendoffset", AnimationEndOffset);
}

void TqzDataSkinControlBar::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Rect("itemrect", ItemRect);
  f.PictureIndex("bgpictureindex", BGPictureIndex);
  f.Rect("hgriprect", HGripRect);
  f.Rect("vgriprect", VGripRect);
  f.Integer("gripoffset1", GripOffset1);
  f.Integer("gripoffset2", GripOffset2);
  f.Flag("itemstretcheffect", ItemStretchEffect);
  f.Integer("itemoffset1", ItemOffset1, 3);
  f.Integer("itemoffset2", ItemOffset2, 3);
  f.ThreePartLook({"itemrect"}, ItemOffset1, ItemOffset2, ItemStretchEffect, TqzLookAxis::Horizontal);
  f.Flag("itemtransparent", ItemTransparent);
  f.Color("itemtransparentcolor", ItemTransparentColor);
  f.Flag("griptransparent", GripTransparent);
  f.Color("griptransparentcolor", GripTransparentColor);
}

void TqzDataSkinTabControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Rect("tabrect", TabRect);
  f.Rect("activetabrect", ActiveTabRect);
  f.Rect("focustabrect", FocusTabRect);
  f.Rect("mouseintabrect", MouseInTabRect);
  f.Place("clientrect", ClientRect, TqzPlaceBound::InSkinRect);
  f.PictureIndex("bgpictureindex", BGPictureIndex);
  f.CornerPoints(*this);
  f.Integer("tableftoffset", TabLeftOffset);
  f.Integer("tabrightoffset", TabRightOffset);
  f.Rect("tabsbgrect", TabsBGRect);
  f.Flag("tabstretcheffect", TabStretchEffect);
  f.ThreePartLook({"tabrect", "activetabrect", "focustabrect", "mouseintabrect"}, TabLeftOffset,
                  TabRightOffset, TabStretchEffect, TqzLookAxis::Horizontal);
  f.StretchFlags(*this, TqzDataFields::TSideOrder::LeftTopRightBottom);
  Font(f, *this);
  f.Color("activefontcolor", ActiveFontColor);
  f.Color("focusfontcolor", FocusFontColor);
  f.Color("mouseinfontcolor", MouseInFontColor);
  f.String("updown", UpDown);
  f.Flag("showfocus", ShowFocus);
  f.Integer("focusoffsetx", FocusOffsetX);
  f.Integer("focusoffsety", FocusOffsetY);
  f.Rect("closebuttonrect", CloseButtonRect);
  f.Rect("closebuttonactiverect", CloseButtonActiveRect);
  f.Rect("closebuttondownrect", CloseButtonDownRect);
  f.Flag("buttontransparent", ButtonTransparent);
  f.Color("buttontransparentcolor", ButtonTransparentColor);
  f.Rect("tableftbottomactiverect", TabLeftBottomActiveRect);
  f.Rect("tableftbottomfocusrect", TabLeftBottomFocusRect);
}

void TqzDataSkinGridControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Rect("fixedcellrect", FixedCellRect);
  f.Rect("selectcellrect", SelectCellRect);
  f.Rect("focuscellrect", FocusCellRect);
  f.Integer("fixedcellleftoffset", FixedCellLeftOffset);
  f.Integer("fixedcellrightoffset", FixedCellRightOffset);
  f.Place("fixedcelltextrect", FixedCellTextRect, TqzPlaceBound::OnOtherLook);
  f.Integer("cellleftoffset", CellLeftOffset);
  f.Integer("cellrightoffset", CellRightOffset);
  f.Place("celltextrect", CellTextRect, TqzPlaceBound::OnOtherLook);
  f.Color("linescolor", LinesColor);
  f.Color("bgcolor", BGColor);
  f.PictureIndex("bgpictureindex", BGPictureIndex);
  Font(f, *this);
  f.Color("selectfontcolor", SelectFontColor);
  f.Color("focusfontcolor", FocusFontColor);
  f.String("fixedfontname", FixedFontName, "Tahoma");
  f.Integer("fixedfontheight", FixedFontHeight, 13);
  f.FontStyle("fixedfontstyle", FixedFontStyle);
  f.Color("fixedfontcolor", FixedFontColor);
  f.Flag("cellstretcheffect", CellStretchEffect);
  f.Flag("fixedcellstretcheffect", FixedCellStretchEffect);
  f.ThreePartLook({"fixedcellrect"}, FixedCellLeftOffset, FixedCellRightOffset,
                  FixedCellStretchEffect, TqzLookAxis::Horizontal);
  f.ThreePartLook({"selectcellrect", "focuscellrect"}, CellLeftOffset, CellRightOffset,
                  CellStretchEffect, TqzLookAxis::Horizontal);
  f.Flag("showfocus", ShowFocus);
}

void TqzDataSkinMainMenuBar::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Place("itemsrect", ItemsRect);
  f.String("menubaritem", MenuBarItem);
  f.String("closebutton", CloseButton);
  f.String("minbutton", MinButton);
  f.String("maxbutton", MaxButton);
  f.String("sysmenubutton", SysMenuButton);
  f.Color("trackmarkcolor", TrackMarkColor);
  f.Color("trackmarkactivecolor", TrackMarkActiveColor);
  f.Flag("stretcheffect", StretchEffect);
  // The bar keeps the parts left and right of its items rect.
  f.ThreePartLook({"skinrect"}, ItemsRect.Left, std::max(0, SkinRect.Width() - ItemsRect.Right),
                  StretchEffect, TqzLookAxis::Horizontal);
  f.Flag("itemtransparent", ItemTransparent);
}

void TqzDataSkinTreeView::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  Font(f, *this);
  f.Color("bgcolor", BGColor);
  f.Rect("expandimagerect", ExpandImageRect);
  f.Rect("noexpandimagerect", NoExpandImageRect);
}

void TqzDataSkinListView::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  Font(f, *this);
  f.Color("bgcolor", BGColor);
}

void TqzDataSkinRichEdit::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  Font(f, *this);
  f.Color("bgcolor", BGColor);
}

void TqzDataSkinSlider::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Color("bgcolor", BGColor);
  f.Rect("hrulerrect", HRulerRect);
  f.Rect("hthumbrect", HThumbRect);
  f.Rect("vrulerrect", VRulerRect);
  f.Rect("vthumbrect", VThumbRect);
  f.Integer("edgesize", EdgeSize);
  f.Color("pointscolor", PointsColor);
}

void TqzDataSkinBevel::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Color("lightcolor", LightColor);
  f.Color("darkcolor", DarkColor);
}

void TqzDataSkinFrameControl::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Integer("framescount", FramesCount, 1);
  f.Enum("framesplacement", FramesPlacement, kFramesPlacementWords);
}

void TqzDataSkinFrameControl::AfterRead() {
  if (FramesCount < 1) FramesCount = 1;
}

void TqzDataSkinFrameRegulator::Fields(TqzDataFields& f) {
  inherited::Fields(f);
  f.Enum("kind", Kind, kRegulatorKindWords);
}

namespace {

#define QZ_KIND(word, T) {word, #T, &MakeKind<TqzDataSkinControl, T>}
constexpr TqzKind<TqzDataSkinControl> kControlKinds[] = {
    QZ_KIND("button", TqzDataSkinButtonControl),
    QZ_KIND("menubutton", TqzDataSkinMenuButtonControl),
    QZ_KIND("checkradio", TqzDataSkinCheckRadioControl),
    QZ_KIND("panel", TqzDataSkinPanelControl),
    QZ_KIND("expanel", TqzDataSkinExPanelControl),
    QZ_KIND("scrollbox", TqzDataSkinScrollBoxControl),
    QZ_KIND("label", TqzDataSkinLabelControl),
    QZ_KIND("stdlabel", TqzDataSkinStdLabelControl),
    QZ_KIND("bitlabel", TqzDataSkinBitLabelControl),
    QZ_KIND("edit", TqzDataSkinEditControl),
    QZ_KIND("memo", TqzDataSkinMemoControl),
    QZ_KIND("spinedit", TqzDataSkinSpinEditControl),
    QZ_KIND("updown", TqzDataSkinUpDownControl),
    QZ_KIND("listbox", TqzDataSkinListBox),
    QZ_KIND("checklistbox", TqzDataSkinCheckListBox),
    QZ_KIND("combobox", TqzDataSkinComboBox),
    QZ_KIND("scrollbar", TqzDataSkinScrollBarControl),
    QZ_KIND("trackbar", TqzDataSkinTrackBarControl),
    QZ_KIND("splitter", TqzDataSkinSplitterControl),
    QZ_KIND("gauge", TqzDataSkinGaugeControl),
    QZ_KIND("controlbar", TqzDataSkinControlBar),
    QZ_KIND("tab", TqzDataSkinTabControl),
    QZ_KIND("grid", TqzDataSkinGridControl),
    QZ_KIND("mainmenubar", TqzDataSkinMainMenuBar),
    QZ_KIND("treeview", TqzDataSkinTreeView),
    QZ_KIND("listview", TqzDataSkinListView),
    QZ_KIND("richedit", TqzDataSkinRichEdit),
    QZ_KIND("slider", TqzDataSkinSlider),
    QZ_KIND("bevel", TqzDataSkinBevel),
    QZ_KIND("framegauge", TqzDataSkinFrameGauge),
    QZ_KIND("animate", TqzDataSkinAnimateControl),
    QZ_KIND("switch", TqzDataSkinSwitchControl),
    QZ_KIND("frameregulator", TqzDataSkinFrameRegulator),
};
#undef QZ_KIND

}  // namespace

std::unique_ptr<TqzDataSkinControl> CreateSkinControlData(std::string_view kind, std::string idName) {
  return CreateByKindWord(kControlKinds, kind, std::move(idName));
}

const char* SkinControlKindWord(const TqzDataSkinControl& data) {
  return KindWordOf(kControlKinds, data);
}

}  // namespace qz
