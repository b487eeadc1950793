// Structure of the two demo skins: what the demo program's windows rely on
// (containers, pictures, descriptions by name and class, the values quoted
// for them), and that every description's rectangles lie in their pictures.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "skin/data/SkinValidation.h"
#include "skin/draw/QZUtils.h"
#include "skin/draw/SkinImage.h"
#include "tests/skins/DemoSkins.h"
#include "tools/skinsheet/SkinPieces.h"

namespace qz {
namespace {

using testing::DemoSkin;
using testing::DialogSkin;
using testing::MainSkin;
using testing::TDemoSkin;

std::string Entry(const TDemoSkin& s, const char* section, const char* key) {
  const std::string* v = s.Text.Find(section, key);
  return v ? *v : "<missing>";
}

void ExpectSlotSize(const TDemoSkin& s, TqzSkinSlot slot, int w, int h, int bits) {
  ASSERT_FALSE(s.Layout.Slots[slot].empty()) << SkinSlotName(slot);
  TBmpImage bmp = TDemoSkin::Header(s.Layout.Slots[slot]);
  EXPECT_EQ(bmp.Width, w) << SkinSlotName(slot);
  EXPECT_EQ(bmp.Height, h) << SkinSlotName(slot);
  EXPECT_EQ(bmp.BitsPerPixel, bits) << SkinSlotName(slot);
}

// The description of that name and class, or a failure naming what is wrong.
template <class T>
const T* Control(const TqzSkinData& skin, const std::string& name) {
  const int i = skin.FindControlIndex(name);
  if (i < 0) {
    ADD_FAILURE() << "no control description \"" << name << "\"";
    return nullptr;
  }
  const TqzDataSkinControl* c = skin.CtrlList()[size_t(i)].get();
  if (!Is<T>(c)) {
    ADD_FAILURE() << "\"" << name << "\" is a " << c->ClassName()
                  << ", not of the class its control expects";
    return nullptr;
  }
  return static_cast<const T*>(c);
}

template <class T>
const T* Object(const TqzSkinData& skin, const std::string& name) {
  const int i = skin.FindObjectIndex(name);
  if (i < 0) {
    ADD_FAILURE() << "no object description \"" << name << "\"";
    return nullptr;
  }
  const TqzDataSkinObject* o = skin.ObjectList()[size_t(i)].get();
  if (!Is<T>(o)) {
    ADD_FAILURE() << "\"" << name << "\" is a " << o->ClassName()
                  << ", not of the class its frame object expects";
    return nullptr;
  }
  return static_cast<const T*>(o);
}

TSize SizeOf(const TRect& r) { return {r.Width(), r.Height()}; }

// ---------------------------------------------------------------------------
// skin.ini: the main window.

TEST(MainSkin, ContainerHoldsThePicturesOfTheMainWindow) {
  const TDemoSkin& s = MainSkin();
  EXPECT_EQ(s.Layout.Version, 2);
  ExpectSlotSize(s, ssPicture, 820, 602, 24);
  EXPECT_TRUE(s.Layout.Slots[ssInactivePicture].empty());
  ExpectSlotSize(s, ssMask, 820, 602, 1);
  EXPECT_TRUE(s.Layout.Slots[ssRollUpPicture].empty());
  EXPECT_TRUE(s.Layout.Slots[ssRollUpMask].empty());
  EXPECT_EQ(s.Layout.ActivePictures.size(), 13u);
  EXPECT_TRUE(s.Layout.Text.starts_with("[lbscrollbar]")) << s.Layout.Text.substr(0, 40);

  const TqzSkinData& skin = *s.Skin;
  EXPECT_FALSE(skin.Empty());
  EXPECT_EQ(skin.Picture().Width(), 820);
  EXPECT_EQ(skin.Picture().Height(), 602);
  EXPECT_EQ(skin.Picture().PixelFormat(), pf24bit);
  EXPECT_TRUE(skin.InactivePicture().Empty());
  EXPECT_EQ(skin.Mask().Width(), 820);
  EXPECT_EQ(skin.Mask().Height(), 602);
  EXPECT_EQ(skin.Mask().PixelFormat(), pf1bit);
  EXPECT_TRUE(skin.RollUpPicture().Empty());
  EXPECT_TRUE(skin.RollUpMask().Empty());
  EXPECT_EQ(skin.ActivePictureCount(), 13);
}

TEST(MainSkin, DescriptionListsAndTheirEntries) {
  const TDemoSkin& s = MainSkin();
  const TqzSkinData& skin = *s.Skin;
  EXPECT_EQ(skin.CtrlList().size(), 34u);
  EXPECT_EQ(skin.ObjectList().size(), 7u);
  EXPECT_EQ(skin.AreaList().size(), 7u);
  EXPECT_EQ(Entry(s, "SKINCONTROLS", "0"), "mainmenubar:mainmenubar");
  EXPECT_EQ(Entry(s, "SKINCONTROLS", "2"), "edittab:button");
  EXPECT_EQ(Entry(s, "SKINCONTROLS", "3"), "converttab:button");
  EXPECT_EQ(Entry(s, "SKINCONTROLS", "5"), "mainpage:tab");
}

TEST(MainSkin, AreasThatPlaceTheMainWindowsControls) {
  const TDemoSkin& s = MainSkin();
  const TqzSkinData& skin = *s.Skin;
  EXPECT_EQ(Entry(s, "SKINAREAS", "0"), "addtabarea:20,51,151,161;0,0,0,0,0");
  EXPECT_EQ(Entry(s, "SKINAREAS", "3"), "pagearea:29,172,424,555;0,0,0,0,0");
  const int page2 = skin.FindAreaIndex("pagearea2");
  ASSERT_GE(page2, 0);
  EXPECT_EQ(skin.AreaList()[size_t(page2)]->AreaRect, (TRect{443, 68, 799, 565}));
  for (const char* name :
       {"addtabarea", "pagearea", "edittabarea", "converttabarea", "infobuttonarea",
        "mainmenubararea"})
    EXPECT_GE(skin.FindAreaIndex(name), 0) << name;
}

TEST(MainSkin, InfoNameLabelHasAShapeMaskOfItsSize) {
  const TqzSkinData& skin = *MainSkin().Skin;
  const auto* label2 = Control<TqzDataSkinLabelControl>(skin, "label2");
  ASSERT_TRUE(label2);
  EXPECT_EQ(SizeOf(label2->SkinRect), (TSize{75, 26}));
  const TBitmap* mask = skin.ActivePicture(label2->MaskPictureIndex);
  ASSERT_TRUE(mask) << "maskpictureindex " << label2->MaskPictureIndex;
  EXPECT_EQ(mask->Width(), 75);
  EXPECT_EQ(mask->Height(), 26);
}

TEST(MainSkin, PathEditWithItsButton) {
  const TqzSkinData& skin = *MainSkin().Skin;
  const auto* edit = Control<TqzDataSkinEditControl>(skin, "buttonedit");
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->SkinRect, (TRect{904, 452, 979, 478}));
  EXPECT_EQ(edit->ButtonRect, (TRect{50, 3, 70, 24}));
  EXPECT_NE(skin.ActivePicture(edit->PictureIndex), nullptr)
      << "pictureindex " << edit->PictureIndex;
}

TEST(MainSkin, EveryControlOfTheMainWindowFindsItsDescription) {
  const TqzSkinData& skin = *MainSkin().Skin;
  Control<TqzDataSkinMainMenuBar>(skin, "mainmenubar");
  for (const char* name : {"addtab", "edittab", "converttab", "infobutton", "pagebutton",
                           "convertbutton", "button1", "button2", "resizetoolbutton"})
    Control<TqzDataSkinButtonControl>(skin, name);
  Control<TqzDataSkinTabControl>(skin, "mainpage");
  for (const char* name : {"stdlabel", "stdlabel1", "stdlabel2"})
    Control<TqzDataSkinStdLabelControl>(skin, name);
  for (const char* name : {"label", "label2"}) Control<TqzDataSkinLabelControl>(skin, name);
  for (const char* name :
       {"bottompanel", "rightpanel", "propertypanel", "propertypanel1", "propertypanel2"})
    Control<TqzDataSkinPanelControl>(skin, name);
  Control<TqzDataSkinBevel>(skin, "bevel");
  Control<TqzDataSkinScrollBoxControl>(skin, "scrollbox");
  Control<TqzDataSkinScrollBarControl>(skin, "vscrollbar");
  Control<TqzDataSkinEditControl>(skin, "buttonedit");
  Control<TqzDataSkinCheckRadioControl>(skin, "checkbox");
  Control<TqzDataSkinListBox>(skin, "listbox1");
}

TEST(MainSkin, PageTogglesHaveHoverAndPressedLooks) {
  const TqzSkinData& skin = *MainSkin().Skin;
  for (const char* name : {"addtab", "edittab", "converttab"}) {
    const auto* b = Control<TqzDataSkinButtonControl>(skin, name);
    if (!b) continue;
    EXPECT_EQ(SizeOf(b->SkinRect), (TSize{131, 110})) << name;
    EXPECT_FALSE(b->ActiveSkinRect.IsEmpty()) << name;
    EXPECT_FALSE(b->DownSkinRect.IsEmpty()) << name;
  }
}

// ---------------------------------------------------------------------------
// dialog.ini: the second window, the message box and the file dialogs.

TEST(DialogSkin, ContainerHoldsThePicturesOfTheDialogs) {
  const TDemoSkin& s = DialogSkin();
  EXPECT_EQ(s.Layout.Version, 2);
  ExpectSlotSize(s, ssPicture, 393, 268, 24);
  EXPECT_EQ(s.Layout.ActivePictures.size(), 7u);
  EXPECT_TRUE(s.Layout.Text.starts_with("[trackbar]")) << s.Layout.Text.substr(0, 40);
  EXPECT_EQ(s.Skin->ActivePictureCount(), 7);
}

TEST(DialogSkin, ButtonDescription) {
  const TDemoSkin& s = DialogSkin();
  const auto* b = Control<TqzDataSkinButtonControl>(*s.Skin, "button");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->SkinRect, (TRect{1, 1, 95, 28}));
  EXPECT_EQ(b->ClientRect, (TRect{7, 3, 86, 24}));
  EXPECT_EQ(b->ActiveSkinRect, (TRect{1, 30, 96, 57}));
  EXPECT_EQ(b->DownSkinRect, (TRect{1, 59, 96, 86}));
  EXPECT_EQ(b->DisabledSkinRect, (TRect{1, 88, 96, 114}));
  EXPECT_EQ(b->FontStyle, TFontStyles{TFontStyle::fsBold});
  EXPECT_EQ(Entry(s, "button", "fontstyle"), "fsbold");
}

TEST(DialogSkin, CloseButtonObject) {
  const auto* c = Object<TqzDataSkinStdButton>(*DialogSkin().Skin, "closebutton");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->ActivePictureIndex, 2);
  EXPECT_TRUE(c->SkinRectInAPicture);
  EXPECT_EQ(c->SkinRect, (TRect{29, 7, 46, 23}));
  EXPECT_EQ(c->ActiveSkinRect, (TRect{7, 7, 24, 23}));
  EXPECT_EQ(c->DownRect, (TRect{51, 7, 68, 23}));
  EXPECT_TRUE(c->Morphing);
  EXPECT_EQ(c->Command, TqzStdCommand::Close);
}

TEST(DialogSkin, SkinColours) {
  const TDemoSkin& s = DialogSkin();
  EXPECT_EQ(Entry(s, "SKINCOLORS", "cwindow"), "16777215");
  EXPECT_EQ(Entry(s, "SKINCOLORS", "chighlight"), "11250603");
  EXPECT_EQ(Entry(s, "SKINCOLORS", "cbtnshadow"), "4473924");
  const TqzSkinColors& c = s.Skin->SkinColors();
  EXPECT_EQ(c.cWindow, 16777215);
  EXPECT_EQ(c.cHighLight, 11250603);
  EXPECT_EQ(c.cBtnShadow, 4473924);
}

TEST(DialogSkin, EveryControlOfTheSecondWindowFindsItsDescription) {
  const TqzSkinData& skin = *DialogSkin().Skin;
  for (const char* name : {"button", "resizebutton"}) Control<TqzDataSkinButtonControl>(skin, name);
  for (const char* name : {"checkbox", "radiobox"})
    Control<TqzDataSkinCheckRadioControl>(skin, name);
  Control<TqzDataSkinStdLabelControl>(skin, "stdlabel");
  Control<TqzDataSkinLabelControl>(skin, "label");
  Control<TqzDataSkinListBox>(skin, "listbox");
  Control<TqzDataSkinComboBox>(skin, "combobox");
  Control<TqzDataSkinEditControl>(skin, "edit");
  for (const char* name : {"panel", "roundpanel", "groupbox"})
    Control<TqzDataSkinPanelControl>(skin, name);
  Control<TqzDataSkinTrackBarControl>(skin, "htrackbar");
  Control<TqzDataSkinMenuButtonControl>(skin, "toolmenubutton");
}

// ---------------------------------------------------------------------------
// Both skins.

bool HasLayerFramePicture(const TqzSkinData& skin) {
  return skin.ActivePicture(skin.LayerFrame().PictureIndex) != nullptr;
}

bool HasGlowingCaptionButton(const TqzSkinData& skin) {
  for (const auto& o : skin.ObjectList())
    if (Is<TqzDataSkinButton>(o.get()) && skin.ActivePicture(o->GlowLayerPictureIndex))
      return true;
  return false;
}

TEST(DemoSkins, OneHasALayeredFrameTheOtherAGlowingCaptionButton) {
  const TqzSkinData& main = *MainSkin().Skin;
  const TqzSkinData& dialog = *DialogSkin().Skin;
  const bool mainFrame = HasLayerFramePicture(main) && HasGlowingCaptionButton(dialog);
  const bool dialogFrame = HasLayerFramePicture(dialog) && HasGlowingCaptionButton(main);
  EXPECT_TRUE(mainFrame || dialogFrame)
      << "layer frame picture: skin.ini " << HasLayerFramePicture(main) << ", dialog.ini "
      << HasLayerFramePicture(dialog) << "; glowing caption button: skin.ini "
      << HasGlowingCaptionButton(main) << ", dialog.ini " << HasGlowingCaptionButton(dialog);
}

// Every look of every description is cut from inside the picture it names,
// every picture index names a picture, client rects and button places lie in
// their skin rects, shape masks have their skin rect's size, and the frame's
// rects and areas lie in the main picture.
class DemoSkinChecks : public ::testing::TestWithParam<const char*> {};

TEST_P(DemoSkinChecks, FindNoFault) {
  const TDemoSkin& s = DemoSkin(GetParam());
  for (const skinsheet::TSkinDescriptionPieces& d :
       skinsheet::AllDescriptionPieces(*s.Skin))
    for (const std::string& problem : d.Problems) ADD_FAILURE() << d.Name << ": " << problem;
}

// The shape regions of the demo skins' masks (the frame masks and every
// active picture, whole and composed at a larger size) come out the same
// whether built from the mask runs or read back from their region data.
TEST_P(DemoSkinChecks, MaskRegionsFromRunsEqualThoseFromRegionData) {
  const TqzSkinData& skin = *DemoSkin(GetParam()).Skin;
  std::vector<const TBitmap*> masks = {&skin.Mask(), &skin.RollUpMask()};
  for (int i = 0; i < skin.ActivePictureCount(); ++i) masks.push_back(skin.ActivePicture(i));
  for (const TBitmap* mask : masks) {
    if (!mask || mask->Empty()) continue;
    const TqzRegionData data = CreateRegionDataFromMask(*mask, 0, 0);
    EXPECT_EQ(CreateRegionFromMask(*mask), std::optional<TRegion>(ExtCreateRegion(data.Data)));

    TqzSkinGeometry g;  // a nine-part cut with a quarter of each side as corners
    const int w = mask->Width(), h = mask->Height();
    g.SkinRect = {0, 0, w, h};
    g.LeftTopPoint = {w / 4, h / 4};
    g.RightTopPoint = {w - w / 4, h / 4};
    g.LeftBottomPoint = {w / 4, h - h / 4};
    g.RightBottomPoint = {w - w / 4, h - h / 4};
    g.ClientRect = {w / 4, h / 4, w - w / 4, h - h / 4};
    const int W = w + 37, H = h + 23;
    const TqzNewGeometry n = CalcNewGeometry(g, CalcResizeMode(g), W, H);
    const TqzBorderStrips strips = ComposeSkinBorderImages(g, n, W, H, mask->Pixels());
    TRegion expected = n.NewClRect.IsEmpty() ? TRegion() : TRegion(n.NewClRect);
    const std::pair<const TPixmap*, TPoint> places[] = {
        {&strips.Top, {0, 0}}, {&strips.Bottom, {0, n.NewClRect.Bottom}},
        {&strips.Left, {0, n.NewClRect.Top}}, {&strips.Right, {n.NewClRect.Right, n.NewClRect.Top}}};
    for (const auto& [strip, at] : places)
      if (!strip->Empty())
        expected = expected.Union(ExtCreateRegion(CreateRegionDataFromMask(*strip, at.X, at.Y).Data));
    EXPECT_EQ(CreateSkinRegion(g, n, W, H, *mask), std::optional<TRegion>(expected));
  }
}

TEST_P(DemoSkinChecks, ValidationFindsNoProblem) {
  const TDemoSkin& s = DemoSkin(GetParam());
  for (const std::string& problem : ValidateDescriptions(*s.Skin)) ADD_FAILURE() << problem;
}

// ---------------------------------------------------------------------------
// The sheet composes every look as its description class declares it: the
// skin rect looks by the description's lattice, items, tabs and thumbs by
// their own end offsets and stretch flags.

const skinsheet::TSkinDescriptionPieces& SheetDescription(const TDemoSkin& s,
                                                          const std::string& name) {
  static std::map<const TDemoSkin*, std::vector<skinsheet::TSkinDescriptionPieces>> sheets;
  auto& all = sheets[&s];
  if (all.empty()) all = skinsheet::AllDescriptionPieces(*s.Skin);
  for (const auto& d : all)
    if (d.Name == name) return d;
  throw std::runtime_error("no description " + name);
}

const skinsheet::TSkinPiece& SheetPiece(const TDemoSkin& s, const std::string& name,
                                        const std::string& key) {
  for (const skinsheet::TSkinPiece& p : SheetDescription(s, name).Pieces)
    if (p.Key == key) return p;
  throw std::runtime_error(name + " has no piece " + key);
}

template <class T>
T& DemoControl(const TDemoSkin& s, const std::string& name) {
  const int i = s.Skin->FindControlIndex(name);
  if (i < 0) throw std::runtime_error("no control " + name);
  T* c = As<T>(s.Skin->CtrlList()[size_t(i)].get());
  if (!c) throw std::runtime_error(name + " is of another class");
  return *c;
}

void ExpectLattice(const skinsheet::TSkinPiece& p, const TqzSkinGeometry& declared,
                   const TRect& look) {
  EXPECT_EQ(p.Layout, skinsheet::TPieceLayout::Geometry) << p.Key;
  const TqzSkinGeometry& g = p.Geometry;
  EXPECT_EQ(g.SkinRect, look) << p.Key;
  EXPECT_EQ(g.ClientRect, declared.ClientRect) << p.Key;
  EXPECT_EQ(g.LeftTopPoint, declared.LeftTopPoint) << p.Key;
  EXPECT_EQ(g.RightTopPoint, declared.RightTopPoint) << p.Key;
  EXPECT_EQ(g.LeftBottomPoint, declared.LeftBottomPoint) << p.Key;
  EXPECT_EQ(g.RightBottomPoint, declared.RightBottomPoint) << p.Key;
  EXPECT_EQ(CalcResizeMode(g), CalcResizeMode(declared)) << p.Key;
  EXPECT_EQ(g.StretchEffect, declared.StretchEffect) << p.Key;
}

void ExpectEnds(const skinsheet::TSkinPiece& p, skinsheet::TPieceLayout layout, int endA,
                int endB, bool stretch) {
  EXPECT_EQ(p.Layout, layout) << p.Key;
  EXPECT_EQ(p.EndA, endA) << p.Key;
  EXPECT_EQ(p.EndB, endB) << p.Key;
  EXPECT_EQ(p.Stretch, stretch) << p.Key;
}

TEST(DemoSkinLooks, ButtonStatesFollowTheButtonsLattice) {
  const TDemoSkin& s = MainSkin();
  auto& b = DemoControl<TqzDataSkinButtonControl>(s, "button1");
  ExpectLattice(SheetPiece(s, "button1", "skinrect"), b.Geometry(), b.SkinRect);
  ExpectLattice(SheetPiece(s, "button1", "activeskinrect"), b.Geometry(), b.ActiveSkinRect);
  ExpectLattice(SheetPiece(s, "button1", "downskinrect"), b.Geometry(), b.DownSkinRect);
}

TEST(DemoSkinLooks, TabsKeepTheirEndsAndThePageFollowsItsLattice) {
  const TDemoSkin& s = MainSkin();
  auto& t = DemoControl<TqzDataSkinTabControl>(s, "mainpage");
  ExpectLattice(SheetPiece(s, "mainpage", "skinrect"), t.Geometry(), t.SkinRect);
  for (const char* key : {"tabrect", "activetabrect", "mouseintabrect"})
    ExpectEnds(SheetPiece(s, "mainpage", key), skinsheet::TPieceLayout::HorzEnds,
               t.TabLeftOffset, t.TabRightOffset, t.TabStretchEffect);
}

TEST(DemoSkinLooks, ListItemsKeepTheirEndsAndStretchWithTheList) {
  for (const TDemoSkin* s : {&MainSkin(), &DialogSkin()}) {
    const std::string name = s == &MainSkin() ? "listbox1" : "listbox";
    auto& l = DemoControl<TqzDataSkinListBox>(*s, name);
    ExpectLattice(SheetPiece(*s, name, "skinrect"), l.Geometry(), l.SkinRect);
    ASSERT_FALSE(l.ItemRect.IsEmpty()) << name;
    ExpectEnds(SheetPiece(*s, name, "itemrect"), skinsheet::TPieceLayout::HorzEnds,
               l.ItemLeftOffset, l.ItemRightOffset, l.StretchEffect);
  }
}

TEST(DemoSkinLooks, ThumbsRunAlongTheirBar) {
  const TDemoSkin& s = MainSkin();
  auto& v = DemoControl<TqzDataSkinScrollBarControl>(s, "vscrollbar");
  auto& h = DemoControl<TqzDataSkinScrollBarControl>(s, "hscrollbar");
  ExpectEnds(SheetPiece(s, "vscrollbar", "thumbrect"), skinsheet::TPieceLayout::VertEnds,
             v.ThumbOffset1, v.ThumbOffset2, v.ThumbStretchEffect);
  ExpectEnds(SheetPiece(s, "hscrollbar", "thumbrect"), skinsheet::TPieceLayout::HorzEnds,
             h.ThumbOffset1, h.ThumbOffset2, h.ThumbStretchEffect);
}

TEST(DemoSkinLooks, MenuBarKeepsThePartsBesideItsItems) {
  const TDemoSkin& s = MainSkin();
  auto& bar = DemoControl<TqzDataSkinMainMenuBar>(s, "mainmenubar");
  ExpectEnds(SheetPiece(s, "mainmenubar", "skinrect"), skinsheet::TPieceLayout::HorzEnds,
             bar.ItemsRect.Left, bar.SkinRect.Width() - bar.ItemsRect.Right, bar.StretchEffect);
}

// The popup window's lattice takes its items rect as client rect; the
// section has no client rect of its own.
TEST(DemoSkinLooks, PopupWindowComposesItsPictureAroundItsItems) {
  const TDemoSkin& s = DialogSkin();
  const TqzDataSkinPopupWindow& w = s.Skin->PopupWindow();
  const skinsheet::TSkinPiece& p = SheetPiece(s, "POPUPWINDOW", "windowpictureindex");
  EXPECT_TRUE(p.WholePicture);
  ExpectLattice(p, w.Geometry(p.Rect), p.Rect);
  EXPECT_EQ(p.Geometry.ClientRect, w.ItemsRect);
}

INSTANTIATE_TEST_SUITE_P(DemoSkins, DemoSkinChecks, ::testing::Values("skin.skn", "dialog.skn"));

}  // namespace
}  // namespace qz
