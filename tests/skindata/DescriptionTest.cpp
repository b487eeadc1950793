// Control and form object descriptions: kinds, defaults, read order,
// adjustments and writing back.
#include <gtest/gtest.h>

#include "skin/data/SkinControlData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/data/SkinValidation.h"

namespace qz {
namespace {

template <class T>
std::unique_ptr<T> ReadControl(std::string_view kind, std::string name, const std::string& text) {
  auto data = CreateSkinControlData(kind, std::move(name));
  EXPECT_NE(data, nullptr) << kind;
  TqzIniFile ini(text);
  data->ReadData(ini);
  return std::unique_ptr<T>(dynamic_cast<T*>(data.release()));
}

template <class T>
std::unique_ptr<T> ReadObject(std::string_view kind, std::string name, const std::string& text) {
  auto data = CreateSkinObjectData(kind, std::move(name));
  EXPECT_NE(data, nullptr) << kind;
  TqzIniFile ini(text);
  data->ReadData(ini);
  return std::unique_ptr<T>(dynamic_cast<T*>(data.release()));
}

TEST(ControlDescriptions, KindWordsSelectClassesWithExactCase) {
  EXPECT_STREQ(CreateSkinControlData("button", "b")->ClassName(), "TqzDataSkinButtonControl");
  EXPECT_STREQ(CreateSkinControlData("menubutton", "b")->ClassName(),
               "TqzDataSkinMenuButtonControl");
  EXPECT_STREQ(CreateSkinControlData("frameregulator", "b")->ClassName(),
               "TqzDataSkinFrameRegulator");
  EXPECT_EQ(CreateSkinControlData("Button", "b"), nullptr);
  EXPECT_EQ(CreateSkinControlData("", "b"), nullptr);
  EXPECT_EQ(CreateSkinObjectData("StdButton", "b"), nullptr);
  EXPECT_STREQ(SkinControlKindWord(*CreateSkinControlData("checklistbox", "x")), "checklistbox");
  EXPECT_STREQ(SkinObjectKindWord(*CreateSkinObjectData("mainmenubarbutton", "x")),
               "mainmenubarbutton");
}

TEST(ControlDescriptions, ButtonReadsTheDialogSkinExample) {
  auto b = ReadControl<TqzDataSkinButtonControl>(
      "button", "button",
      "[button]\nskinrect=1,1,95,28\nclientrect=7,3,86,24\nactiveskinrect=1,30,96,57\n"
      "downskinrect=1,59,96,86\ndisabledskinrect=1,88,96,114\nfontstyle=fsbold\n"
      "pictureindex=0\nstretchtype=stvert\n");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->SkinRect, (TRect{1, 1, 95, 28}));
  EXPECT_EQ(b->ClientRect, (TRect{7, 3, 86, 24}));
  EXPECT_EQ(b->DownSkinRect, (TRect{1, 59, 96, 86}));
  EXPECT_EQ(b->FocusedSkinRect, TRect{});
  EXPECT_TRUE(b->FontStyle.Contains(TFontStyle::fsBold));
  EXPECT_EQ(b->StretchType, TqzStretchType::Vert);
  EXPECT_EQ(b->PictureIndex, 0);
  // Defaults of keys not given.
  EXPECT_EQ(b->MaskPictureIndex, -1);
  EXPECT_EQ(b->FontName, "Tahoma");
  EXPECT_EQ(b->FontHeight, 13);
  EXPECT_EQ(b->AnimateInterval, 25);
  EXPECT_EQ(b->GlowLayerPictureIndex, -1);
  EXPECT_EQ(b->GlowLayerAlphaBlendValue, 255);
}

TEST(ControlDescriptions, MissingSectionGivesDefaultsAndSpecialRules) {
  auto label = ReadControl<TqzDataSkinStdLabelControl>("stdlabel", "stdlabel", "");
  EXPECT_EQ(label->ActiveFontColor, 16711680);
  EXPECT_EQ(label->PictureIndex, -1);

  for (const char* count : {"0", "-3"}) {
    auto gauge = ReadControl<TqzDataSkinFrameGauge>(
        "framegauge", "g", std::string("[g]\nframescount=") + count + "\nframesplacement=x\n");
    EXPECT_EQ(gauge->FramesCount, 1) << count;
    EXPECT_EQ(gauge->FramesPlacement, TqzFramesPlacement::Vertical);
  }
  auto bar = ReadControl<TqzDataSkinControlBar>("controlbar", "c", "");
  EXPECT_EQ(bar->ItemOffset1, 3);
  EXPECT_EQ(bar->BGPictureIndex, -1);
  auto list = ReadControl<TqzDataSkinListBox>("listbox", "l", "");
  EXPECT_EQ(list->VScrollBarName, "vscrollbar");
  EXPECT_EQ(list->BothHScrollBarName, "bothhscrollbar");
}

TEST(ControlDescriptions, MenuButtonReadsButtonKeysThenItsOwn) {
  auto m = ReadControl<TqzDataSkinMenuButtonControl>(
      "menubutton", "mb", "[mb]\ntrackbuttonrect=5,6,7,8\nmorphing=1\nmorphkind=mkpush\n");
  EXPECT_EQ(m->TrackButtonRect, (TRect{5, 6, 7, 8}));
  EXPECT_TRUE(m->Morphing);
  EXPECT_EQ(m->MorphKind, 6);
  // A malformed rect stops the read (and so the load).
  TqzIniFile bad("[mb]\ntrackbuttonrect=5,,7,8\n");
  auto again = CreateSkinControlData("menubutton", "mb");
  EXPECT_THROW(again->ReadData(bad), ESkinValueError);
}

TEST(ControlDescriptions, WriteDataWritesAllKeysWithTheirWords) {
  auto b = ReadControl<TqzDataSkinButtonControl>(
      "button", "btn", "[btn]\nstretchtype=Stfull\nfontstyle=fsunderline fsbold\nskinrect=1,2,3,4\n");
  TqzIniFile out("[btn]\nobsolete=1\n[other]\nx=1\n");
  b->WriteData(out);
  EXPECT_EQ(out.Find("btn", "obsolete"), nullptr);
  EXPECT_EQ(*out.Find("btn", "stretchtype"), "sthorz");
  EXPECT_EQ(*out.Find("btn", "fontstyle"), "fsbold,fsunderline");
  EXPECT_EQ(*out.Find("btn", "skinrect"), "1,2,3,4");
  EXPECT_EQ(*out.Find("btn", "pictureindex"), "-1");
  EXPECT_EQ(*out.Find("other", "x"), "1");
  // Reading the written section gives the same object.
  auto copy = CreateSkinControlData("button", "btn");
  copy->ReadData(out);
  TqzIniFile a, c;
  b->WriteData(a);
  copy->WriteData(c);
  EXPECT_EQ(a.Text(), c.Text());

  auto regulator = ReadControl<TqzDataSkinFrameRegulator>("frameregulator", "r", "[r]\nkind=x\n");
  TqzIniFile rw;
  regulator->WriteData(rw);
  EXPECT_EQ(*rw.Find("r", "kind"), "rkvertical");
  EXPECT_EQ(*rw.Find("r", "framesplacement"), "fphorizontal");
}

TEST(ObjectDescriptions, StdButtonCommandsAndRestoreHint) {
  auto max = ReadObject<TqzDataSkinStdButton>(
      "stdbutton", "maxbutton", "[maxbutton]\nhint=Maximize\ncommand=cmmaximize\n");
  EXPECT_EQ(max->Command, TqzStdCommand::Maximize);
  EXPECT_EQ(max->RestoreHint, "Restore");
  auto close = ReadObject<TqzDataSkinStdButton>(
      "stdbutton", "maxbutton", "[maxbutton]\nhint=Maximize\ncommand=cmclose\n");
  EXPECT_EQ(close->RestoreHint, "");
  auto roll = ReadObject<TqzDataSkinStdButton>(
      "stdbutton", "r", "[r]\nhint=Roll Up\ncommand=cmrollup\nrestorehint=Down\n");
  EXPECT_EQ(roll->RestoreHint, "Down");
  auto tray = ReadObject<TqzDataSkinStdButton>("stdbutton", "t", "[t]\ncommand=CMCLOSE\n");
  EXPECT_EQ(tray->Command, TqzStdCommand::MinimizeToTray);
  EXPECT_EQ(ReadObject<TqzDataSkinStdButton>("stdbutton", "d", "")->Command,
            TqzStdCommand::Default);
  TqzIniFile out;
  tray->WriteData(out);
  EXPECT_EQ(*out.Find("t", "command"), "cmminimizetotray");

  auto closeButton = ReadObject<TqzDataSkinStdButton>(
      "stdbutton", "closebutton",
      "[closebutton]\nactivepictureindex=2\nskinrectinapicture=1\nskinrect=29,7,46,23\n"
      "activeskinrect=7,7,24,23\ndownrect=51,7,68,23\nmorphing=1\ncommand=cmclose\n"
      "disableskinrsect=1,1,2,2\n");
  EXPECT_EQ(closeButton->ActivePictureIndex, 2);
  EXPECT_TRUE(closeButton->SkinRectInAPicture);
  EXPECT_EQ(closeButton->DownRect, (TRect{51, 7, 68, 23}));
  EXPECT_EQ(closeButton->DisableSkinRect, (TRect{1, 1, 2, 2}));
  EXPECT_EQ(closeButton->GroupIndex, -1);
}

TEST(ObjectDescriptions, MenuItemActiveRectsFallBackAndUserObjectReadsThreeKeys) {
  auto item = ReadObject<TqzDataSkinMenuItem>(
      "menuitem", "mi", "[mi]\ncheckimagerect=1,2,3,4\nradioimagerect=5,6,7,8\n"
      "activeradioimagerect=9,9,10,10\n");
  EXPECT_EQ(item->ActiveCheckImageRect, (TRect{1, 2, 3, 4}));
  EXPECT_EQ(item->ActiveRadioImageRect, (TRect{9, 9, 10, 10}));
  EXPECT_EQ(item->ActiveArrowImageRect, TRect{});

  auto user = ReadObject<TqzDataUserObject>(
      "userobject", "u", "[u]\nhint=h\nrollup=1\nskinrect=1,2,3,4\ncursorindex=3\n"
      "activeskinrect=1,1,1,1\n");
  EXPECT_EQ(user->Hint, "");
  EXPECT_TRUE(user->RollUp);
  EXPECT_EQ(user->SkinRect, (TRect{1, 2, 3, 4}));
  EXPECT_EQ(user->CursorIndex, 3);
  EXPECT_EQ(user->ActiveSkinRect, TRect{});
  TqzIniFile out;
  user->WriteData(out);
  EXPECT_EQ(out.EntryCount("u"), 3u);

  auto label = ReadObject<TqzDataSkinLabel>("label", "l", "[l]\nFONTNAME=Arial\n");
  EXPECT_EQ(label->FontName, "Arial");
  EXPECT_EQ(ReadObject<TqzDataSkinBitLabel>("bitlabel", "b", "")->TransparentColor, 16711935);
  EXPECT_EQ(ReadObject<TqzDataSkinCaption>("caption", "c", "")->GlowSize, 3);
  EXPECT_EQ(ReadObject<TqzDataSkinAnimate>("animate", "a", "")->CountFrames, 1);
}

TEST(SkinAreas, EntrySyntaxAndFlags) {
  auto a = TqzDataSkinArea::Parse("addtabarea:20,51,151,161;0,0,0,0,0");
  EXPECT_EQ(a->IDName, "addtabarea");
  EXPECT_EQ(a->AreaRect, (TRect{20, 51, 151, 161}));
  EXPECT_FALSE(a->Flag1 || a->Flag2 || a->Flag3 || a->Flag4 || a->Flag5);

  auto b = TqzDataSkinArea::Parse("addtabarea:20,51,151,161;1,0,1,0,1");
  EXPECT_TRUE(b->Flag1 && !b->Flag2 && b->Flag3 && !b->Flag4 && b->Flag5);
  auto c = TqzDataSkinArea::Parse("addtabarea:20,51,151,161;1,1,1,1");
  EXPECT_FALSE(c->Flag1 || c->Flag2 || c->Flag3 || c->Flag4 || c->Flag5);
  // The name runs to the last colon; without a colon it is empty.
  auto d = TqzDataSkinArea::Parse("a:b:1,2,3,4");
  EXPECT_EQ(d->IDName, "a:b");
  EXPECT_EQ(d->AreaRect, (TRect{1, 2, 3, 4}));
  auto e = TqzDataSkinArea::Parse("1,2,3,4;1,1,1,1,1");
  EXPECT_EQ(e->IDName, "");
  EXPECT_TRUE(e->Flag5);
  EXPECT_THROW(TqzDataSkinArea::Parse("x:1,2;0,0,0,0,0"), ESkinValueError);
  EXPECT_EQ(TqzDataSkinArea::Parse(b->EntryText())->EntryText(), b->EntryText());
}

TEST(FormInfo, AdjustmentsWithAndWithoutMask) {
  TqzSkinFormInfo info;
  TqzIniFile ini(
      "[FORMINFO]\nlefttoppoint=2,3\nrighttoppoint=90,1\nleftbottompoint=1,95\n"
      "rightbottompoint=99,99\nclientrect=5,20,80,90\nmaskrectarea=0,0,10,10\n"
      "hittestlefttoppoint=0,4\nhittestrighttoppoint=7,8\n");
  info.ReadFormInfo(ini);
  TqzSkinFormInfo noMask = info;
  noMask.AdjustFormInfo(false);
  EXPECT_EQ(noMask.MaskRectArea, (TRect{0, 0, 10, 10}));
  EXPECT_EQ(noMask.HitTestLeftTopPoint, (TPoint{0, 4}));
  // Corner points are pulled into the client rect in both cases.
  EXPECT_EQ(noMask.LeftTopPoint, (TPoint{5, 20}));
  EXPECT_EQ(noMask.RightTopPoint, (TPoint{80, 20}));
  EXPECT_EQ(noMask.LeftBottomPoint, (TPoint{5, 90}));
  EXPECT_EQ(noMask.RightBottomPoint, (TPoint{80, 90}));

  info.AdjustFormInfo(true);
  EXPECT_EQ(info.MaskRectArea, (TRect{0, 0, 80, 90}));
  // Zero hit-test points take the corner point read from the section.
  EXPECT_EQ(info.HitTestLeftTopPoint, (TPoint{2, 3}));
  EXPECT_EQ(info.HitTestRightTopPoint, (TPoint{7, 8}));
  EXPECT_EQ(info.HitTestRightBottomPoint, (TPoint{99, 99}));

  TqzSkinFormInfo emptyMask;
  emptyMask.ClientRect = {1, 2, 3, 4};
  emptyMask.AdjustFormInfo(true);
  EXPECT_EQ(emptyMask.MaskRectArea, (TRect{1, 2, 3, 4}));
}

// The field list says which rects are cut from a picture and which are
// places relative to the skin rect; the same key may be either in different
// descriptions (a scroll bar's button rect is a place, a track bar's a look).
const TqzRoleField* FindRole(const std::vector<TqzRoleField>& fields, const std::string& key) {
  for (const TqzRoleField& f : fields)
    if (f.Key == key) return &f;
  return nullptr;
}

TEST(FieldRoles, PicturesRectsPlacesAndPictureIndexesInListOrder) {
  auto bar = CreateSkinControlData("scrollbar", "bar");
  ASSERT_NE(bar, nullptr);
  const std::vector<TqzRoleField> fields = RoleFields(*bar);
  ASSERT_FALSE(fields.empty());
  EXPECT_EQ(fields.front().Key, "pictureindex");
  EXPECT_EQ(fields.front().Role, TqzFieldRole::PictureIndex);
  const TqzRoleField* up = FindRole(fields, "upbuttonrect");
  ASSERT_NE(up, nullptr);
  EXPECT_EQ(up->Role, TqzFieldRole::Place);
  EXPECT_EQ(up->Bound, TqzPlaceBound::InSkinRect);
  ASSERT_NE(FindRole(fields, "activeupbuttonrect"), nullptr);
  EXPECT_EQ(FindRole(fields, "activeupbuttonrect")->Role, TqzFieldRole::PictureRect);
  EXPECT_EQ(FindRole(fields, "clientrect")->Bound, TqzPlaceBound::InSkinRect);
  EXPECT_EQ(FindRole(fields, "lefttoppoint"), nullptr);  // points are no rect fields

  auto edit = CreateSkinControlData("edit", "edit");
  ASSERT_NE(edit, nullptr);
  const std::vector<TqzRoleField> editFields = RoleFields(*edit);
  EXPECT_EQ(FindRole(editFields, "buttonrect")->Role, TqzFieldRole::Place);
  EXPECT_EQ(FindRole(editFields, "downbuttonrect")->Role, TqzFieldRole::PictureRect);

  auto caption = CreateSkinObjectData("caption", "caption");
  ASSERT_NE(caption, nullptr);
  const std::vector<TqzRoleField> captionFields = RoleFields(*caption);
  EXPECT_EQ(FindRole(captionFields, "textrect")->Role, TqzFieldRole::Place);
  EXPECT_EQ(FindRole(captionFields, "textrect")->Bound, TqzPlaceBound::Free);
  EXPECT_EQ(FindRole(captionFields, "activepictureindex")->Role, TqzFieldRole::PictureIndex);
}

// Collects the keys the three-part declarations name; reads nothing.
class TThreePartKeys : public TqzDataFields {
 public:
  std::vector<std::string> Keys;
  void Integer(const char*, int&, int) override {}
  void Flag(const char*, bool&) override {}
  void Color(const char*, TColor&, TColor) override {}
  void String(const char*, std::string&, const char*) override {}
  void Rect(const char*, TRect&) override {}
  void Point(const char*, TPoint&) override {}
  void EnumInt(const char*, int&, const TqzEnumWords&) override {}
  void FontStyle(const char*, TFontStyles&) override {}
  void LineList(const char*, std::vector<std::string>&) override {}
  void ThreePartLook(std::initializer_list<const char*> keys, int, int, bool,
                     TqzLookAxis) override {
    Keys.insert(Keys.end(), keys.begin(), keys.end());
  }
};

template <class D>
void ExpectThreePartKeysAreLooks(D& d, std::string_view kind) {
  TThreePartKeys declared;
  d.VisitFields(declared);
  const std::vector<TqzRoleField> fields = RoleFields(d);
  for (const std::string& key : declared.Keys) {
    const TqzRoleField* f = FindRole(fields, key);
    EXPECT_TRUE(f && f->Role == TqzFieldRole::PictureRect) << kind << ": " << key;
  }
}

// A misspelt key in a declaration would leave its look fixed without a word.
TEST(LookLayouts, ThreePartDeclarationsNameLooksOfTheirOwnDescription) {
  for (const char* kind :
       {"button", "menubutton", "checkradio", "panel", "expanel", "scrollbox", "label",
        "stdlabel", "bitlabel", "edit", "memo", "spinedit", "updown", "listbox", "checklistbox",
        "combobox", "scrollbar", "trackbar", "splitter", "gauge", "controlbar", "tab", "grid",
        "mainmenubar", "treeview", "listview", "richedit", "slider", "bevel", "framegauge",
        "animate", "switch", "frameregulator"}) {
    auto c = CreateSkinControlData(kind, "c");
    ASSERT_NE(c, nullptr) << kind;
    ExpectThreePartKeysAreLooks(*c, kind);
  }
  for (const char* kind :
       {"menuitem", "mainmenuitem", "mainmenubaritem", "captionmenubutton", "captiontab",
        "stdbutton", "mainmenubarbutton", "button", "caption", "trackbar", "gauge",
        "framegauge", "frameregulator", "label", "bitlabel", "switch", "animate", "userobject"}) {
    auto o = CreateSkinObjectData(kind, "o");
    ASSERT_NE(o, nullptr) << kind;
    ExpectThreePartKeysAreLooks(*o, kind);
  }
}

// The skin rect looks follow the corner points where a description has
// them; without, a look falls back to its three-part declaration or stays
// fixed. The three-part values are the loaded description's.
TEST(LookLayouts, SkinRectLooksFollowTheLatticeOnlyWhereThereIsOne) {
  auto button = ReadControl<TqzDataSkinButtonControl>(
      "button", "b",
      "[b]\r\nskinrect=0,0,40,20\r\nactiveskinrect=0,20,40,40\r\nlefttoppoint=3,3\r\n"
      "clientrect=2,2,38,18\r\nanimateskinrect=0,40,40,60\r\n");
  const std::vector<TqzRoleField> b = RoleFields(*button);
  ASSERT_EQ(FindRole(b, "activeskinrect")->Layout, TqzLookLayout::Lattice);
  EXPECT_EQ(FindRole(b, "activeskinrect")->Lattice.SkinRect, (TRect{0, 20, 40, 40}));
  EXPECT_EQ(FindRole(b, "activeskinrect")->Lattice.LeftTopPoint, (TPoint{3, 3}));
  EXPECT_EQ(FindRole(b, "activeskinrect")->Lattice.ClientRect, (TRect{2, 2, 38, 18}));
  EXPECT_EQ(FindRole(b, "animateskinrect")->Layout, TqzLookLayout::Fixed);

  auto grid = CreateSkinControlData("grid", "g");
  EXPECT_EQ(FindRole(RoleFields(*grid), "skinrect")->Layout, TqzLookLayout::Fixed);

  auto bar = ReadControl<TqzDataSkinMainMenuBar>(
      "mainmenubar", "m", "[m]\r\nskinrect=0,0,50,20\r\nitemsrect=4,0,44,20\r\n");
  const std::vector<TqzRoleField> barFields = RoleFields(*bar);
  const TqzRoleField* barLook = FindRole(barFields, "skinrect");
  ASSERT_EQ(barLook->Layout, TqzLookLayout::ThreePart);
  EXPECT_EQ(barLook->Ends.EndA, 4);
  EXPECT_EQ(barLook->Ends.EndB, 6);

  auto gauge = ReadControl<TqzDataSkinGaugeControl>(
      "gauge", "g",
      "[g]\r\nprogressrect=0,0,10,40\r\nbeginoffset=2\r\nendoffset=3\r\nvertical=1\r\n"
      "progressstretch=1\r\n");
  const std::vector<TqzRoleField> gaugeFields = RoleFields(*gauge);
  const TqzRoleField* progress = FindRole(gaugeFields, "progressrect");
  ASSERT_EQ(progress->Layout, TqzLookLayout::ThreePart);
  EXPECT_EQ(progress->Ends.Axis, TqzLookAxis::Vertical);
  EXPECT_EQ(progress->Ends.EndA, 2);
  EXPECT_EQ(progress->Ends.EndB, 3);
  EXPECT_TRUE(progress->Ends.Stretch);
}

TEST(FieldRoles, RolesLeaveReadingAndWritingAsTheyWere) {
  const TqzIniFile ini(
      "[bar]\r\npictureindex=2\r\nskinrect=0,0,20,90\r\nupbuttonrect=0,76,20,90\r\n"
      "clientrect=1,2,3,4\r\n");
  auto bar = CreateSkinControlData("scrollbar", "bar");
  bar->ReadData(ini);
  EXPECT_EQ(bar->PictureIndex, 2);
  TqzIniFile out;
  bar->WriteData(out);
  EXPECT_EQ(*out.Find("bar", "upbuttonrect"), "0,76,20,90");
  EXPECT_EQ(*out.Find("bar", "clientrect"), "1,2,3,4");
  EXPECT_EQ(*out.Find("bar", "maskpictureindex"), "-1");
}

}  // namespace
}  // namespace qz
