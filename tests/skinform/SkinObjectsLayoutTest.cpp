// Which objects a skin makes, which caption buttons are enabled and
// visible, and where the objects go on a 300 x 150 window (dx 100, dy 50).
#include <gtest/gtest.h>

#include "host/ui/Menus.h"
#include "tests/skinform/SkinObjectsTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

using testing::MakeSkin;
using testing::ObjectAs;
using testing::StdButton;
using testing::TRecordingHost;

std::unique_ptr<TqzSkinData> RowSkin(const std::string& formInfo) {
  return MakeSkin({{"caption", "caption", "skinrect=4,2,196,24"},
                   StdButton("closebutton", "cmclose", "0,0,10,8"),
                   StdButton("maxbutton", "cmmaximize", "0,10,12,18"),
                   StdButton("custom", "cmdefault", "0,40,8,48"),
                   StdButton("minbutton", "cmminimize", "0,20,10,28"),
                   StdButton("rolledclose", "cmclose", "0,0,10,8", "rollup=1"),
                   StdButton("sysmenubutton", "cmsysmenu", "0,30,14,42"),
                   {"menubutton", "captionmenubutton", "activepictureindex=0\nskinrect=20,4,40,20"},
                   {"corner", "label", "skinrect=192,92,198,98"}},
                  formInfo);
}

struct TPlaced {
  TRecordingHost Host;
  std::unique_ptr<TqzSkinData> Skin;
  TqzSkinObjectList Objects;
  TqzFrameSize Size{{200, 100}, {300, 150}};
  TqzFrameRects Rects;

  explicit TPlaced(const std::string& formInfo) : Skin(RowSkin(formInfo)) {
    Host.Skin = Skin.get();
    Objects = CreateSkinObjects(Host, *Skin, nullptr);
    Rects = CalcFrameRects(*Skin, Size);
  }
  void Place(bool frameMode = true, bool menuButton = false) {
    TqzObjectPlacement in;
    in.Info = Skin.get();
    in.Size = Size;
    in.Rects = &Rects;
    in.FrameMode = frameMode;
    in.MenuButtonVisible = menuButton;
    PlaceObjects(Objects, in);
  }
  TRect At(const std::string& id) { return ObjectAs<TqzActiveSkinObject>(Objects, id).ObjectRect; }
};

TEST(SkinObjectsPlacement, ButtonRowRunsLeftwardsInsideButtonsRect) {
  TPlaced p("buttonsrect=150,4,196,20\n");
  p.Place();
  // Row 250..296: close, maximise, minimise, then the custom button; 2 apart.
  EXPECT_EQ(p.At("closebutton"), (TRect{286, 4, 296, 12}));
  EXPECT_EQ(p.At("maxbutton"), (TRect{272, 4, 284, 12}));
  EXPECT_EQ(p.At("minbutton"), (TRect{260, 4, 270, 12}));
  EXPECT_EQ(p.At("custom"), (TRect{250, 4, 258, 12}));
  // The roll-up state has its own row: its close button takes the same place.
  EXPECT_EQ(p.At("rolledclose"), (TRect{286, 4, 296, 12}));
  // System menu at the caption's left, centred in its 22 pixels.
  EXPECT_EQ(p.At("sysmenubutton"), (TRect{4, 7, 18, 19}));
  // The caption ends 2 before the row and starts after the system menu.
  EXPECT_EQ(p.At("caption"), (TRect{18, 2, 248, 24}));
  // Objects outside the row keep the frame transform.
  EXPECT_EQ(p.At("corner"), (TRect{292, 142, 298, 148}));
}

TEST(SkinObjectsPlacement, HiddenButtonsLeaveNoGapAndMenuButtonTakesCaptionStart) {
  TPlaced p("buttonsrect=150,4,196,20\n");
  ObjectAs<TqzActiveSkinObject>(p.Objects, "maxbutton").Visible = false;
  ObjectAs<TqzActiveSkinObject>(p.Objects, "custom").Visible = false;
  p.Place(true, true);
  EXPECT_EQ(p.At("minbutton"), (TRect{274, 4, 284, 12}));
  EXPECT_EQ(p.At("menubutton"), (TRect{23, 4, 73, 20}));  // 5 after the caption start, 50 wide
  EXPECT_EQ(p.At("caption"), (TRect{78, 2, 272, 24}));
  EXPECT_TRUE(p.Objects[7]->Visible);
}

TEST(SkinObjectsPlacement, ButtonsInLeftUseTheCaptionRect) {
  TPlaced p("buttonsinleft=1\n");
  p.Place();
  EXPECT_EQ(p.At("closebutton"), (TRect{4, 2, 14, 10}));
  EXPECT_EQ(p.At("maxbutton"), (TRect{16, 2, 28, 10}));
  EXPECT_EQ(p.At("minbutton"), (TRect{30, 2, 40, 10}));
  EXPECT_EQ(p.At("custom"), (TRect{42, 2, 50, 10}));
  EXPECT_EQ(p.At("caption"), (TRect{52, 2, 296, 24}));
}

// dialog.ini: 17 x 16 caption buttons in buttonsrect (300,7,385,23), 2 apart;
// caption rect (9,1,381,29). Laid out 100 pixels wider than the picture.
TEST(SkinObjectsPlacement, DialogSkinCaptionButtons) {
  TqzSkinData& skin = *testing::DialogSkin().Skin;
  TRecordingHost host;
  host.Skin = &skin;
  TqzSkinObjectList objects = CreateSkinObjects(host, skin, nullptr);
  TqzObjectStateInput states;
  states.BorderIcons = {biSystemMenu, biMinimize, biMaximize, biRollUp};
  states.HasDialogCloseButton = skin.FindObjectIndex("dialogclosebutton") >= 0;
  UpdateObjectStates(objects, states);
  const TSize picture{skin.Picture().Width(), skin.Picture().Height()};
  const TqzFrameSize size{picture, {picture.cx + 100, picture.cy}};
  const TqzFrameRects rects = CalcFrameRects(skin, size);
  TqzObjectPlacement in;
  in.Info = &skin;
  in.Size = size;
  in.Rects = &rects;
  PlaceObjects(objects, in);
  auto at = [&](const char* id) { return ObjectAs<TqzActiveSkinObject>(objects, id).ObjectRect; };
  EXPECT_EQ(at("closebutton"), (TRect{468, 7, 485, 23}));
  EXPECT_EQ(at("maxbutton"), (TRect{449, 7, 466, 23}));
  EXPECT_EQ(at("minbutton"), (TRect{430, 7, 447, 23}));
  EXPECT_EQ(at("rollupbutton"), (TRect{411, 7, 428, 23}));
  EXPECT_EQ(at("sysmenubutton"), (TRect{9, 7, 26, 23}));
  EXPECT_EQ(at("caption"), (TRect{26, 1, 409, 29}));
  EXPECT_FALSE(ObjectAs<TqzActiveSkinObject>(objects, "dialogclosebutton").Visible);
}

TEST(SkinObjectsPlacement, ClientModeKeepsTheTransformedRects) {
  TPlaced p("buttonsrect=150,4,196,20\n");
  p.Place(false);
  EXPECT_EQ(p.At("closebutton"), (TRect{0, 0, 10, 8}));
  EXPECT_EQ(p.At("caption"), (TRect{4, 2, 296, 24}));
  EXPECT_FALSE(p.Objects[7]->Visible);  // the menu button shows only when asked for
}

TEST(SkinObjectsCreation, DescriptionClassesMakeTheirObjects) {
  TRecordingHost host;
  auto skin = MakeSkin({{"cap", "caption", ""},
                        {"item", "menuitem", ""},
                        {"tab", "captiontab", ""},
                        {"barbutton", "mainmenubarbutton", ""},
                        {"push", "button", ""},
                        {"std", "stdbutton", ""},
                        {"menub", "captionmenubutton", ""},
                        {"anim", "animate", ""},
                        {"sw", "switch", ""},
                        {"tb", "trackbar", ""},
                        {"g", "gauge", ""},
                        {"fg", "framegauge", ""},
                        {"fr", "frameregulator", ""},
                        {"l", "label", ""},
                        {"bl", "bitlabel", ""},
                        {"u", "userobject", ""},
                        {"MAINMENUITEM", "mainmenuitem", "fontheight=13"}});
  host.Skin = skin.get();
  TMainMenu menu(nullptr);
  const char* names[] = {"fileitem", "hiddenitem", "edititem"};
  for (const char* name : names) {
    auto* item = new TMenuItem(nullptr);  // owned by the menu's tree
    item->SetName(name);
    item->SetCaption(std::string("&") + name);
    menu.Items()->Add(item);
  }
  menu.Items()->Items(1)->SetVisible(false);
  menu.Items()->Items(2)->SetEnabled(false);

  TqzSkinObjectList list = CreateSkinObjects(host, *skin, &menu);
  std::vector<std::string> ids;
  for (auto& o : list) ids.push_back(o->IDName());
  EXPECT_EQ(ids, (std::vector<std::string>{"cap", "push", "std", "menub", "anim", "sw", "tb", "g",
                                            "fg", "fr", "l", "bl", "u", "fileitem", "edititem"}));
  EXPECT_TRUE(list[0]->IsCaption());
  EXPECT_NE(dynamic_cast<TqzSkinStdButtonObject*>(list[2].get()), nullptr);
  EXPECT_EQ(dynamic_cast<TqzSkinStdButtonObject*>(list[1].get()), nullptr);
  EXPECT_NE(dynamic_cast<TqzSkinFrameRegulatorObject*>(list[9].get()), nullptr);
  EXPECT_TRUE(list[13]->IsFrameMenuItem());
  EXPECT_TRUE(list[13]->Enabled);
  EXPECT_FALSE(list[14]->Enabled);
  // Without a main menu no item objects are made.
  EXPECT_EQ(CreateSkinObjects(host, *skin, nullptr).size(), 13u);
}

// ---------------------------------------------------------------------------

struct TStates {
  TRecordingHost Host;
  std::unique_ptr<TqzSkinData> Skin;
  TqzSkinObjectList Objects;
  TStates()
      : Skin(MakeSkin({StdButton("closebutton", "cmclose", "0,0,10,8"),
                       StdButton("dialogclosebutton", "cmclose", "0,0,10,8"),
                       {"frameclose", "stdbutton", "command=cmclose\nskinrect=150,4,160,12"},
                       StdButton("maxbutton", "cmmaximize", "0,10,12,18"),
                       {"framemax", "stdbutton", "command=cmmaximize\nskinrect=160,4,170,12"},
                       StdButton("sysmenubutton", "cmsysmenu", "0,30,14,42"),
                       StdButton("custom", "cmdefault", "0,40,8,48"),
                       {"anim", "animate", "activepictureindex=0\nskinrectinapicture=1"}})) {
    Host.Skin = Skin.get();
    Objects = CreateSkinObjects(Host, *Skin, nullptr);
  }
  TqzActiveSkinObject& operator[](const std::string& id) {
    return ObjectAs<TqzActiveSkinObject>(Objects, id);
  }
  // "EV" enabled and visible, "-V" visible only, "--" neither.
  std::string State(const std::string& id) {
    TqzActiveSkinObject& o = (*this)[id];
    return std::string(o.Enabled ? "E" : "-") + (o.Visible ? "V" : "-");
  }
};

TEST(SkinObjectsStates, DialogCloseButtonIsTheOnlyCloseButtonOfFormsWithoutButtons) {
  for (TqzBorderIcons icons : {TqzBorderIcons{}, TqzBorderIcons{biSystemMenu}}) {
    TStates s;
    TqzObjectStateInput in;
    in.BorderIcons = icons;
    in.HasDialogCloseButton = true;
    UpdateObjectStates(s.Objects, in);
    EXPECT_EQ(s.State("dialogclosebutton"), "EV");
    EXPECT_EQ(s.State("closebutton"), "--");
    EXPECT_EQ(s.State("frameclose"), "--");
  }
  TStates s;
  TqzObjectStateInput in;
  in.BorderIcons = {biSystemMenu, biMinimize};
  in.HasDialogCloseButton = true;
  UpdateObjectStates(s.Objects, in);
  EXPECT_EQ(s.State("dialogclosebutton"), "--");
  EXPECT_EQ(s.State("closebutton"), "EV");
  // A skin without the dialog button keeps its close buttons on such forms.
  TStates bare;
  in.BorderIcons = {};
  in.HasDialogCloseButton = false;
  UpdateObjectStates(bare.Objects, in);
  EXPECT_EQ(bare.State("closebutton"), "EV");
  EXPECT_EQ(bare.State("dialogclosebutton"), "--");
}

TEST(SkinObjectsStates, HiddenCloseButtonOfTheFramePictureStaysVisibleButDisabled) {
  TStates s;
  TqzObjectStateInput in;
  in.BorderIcons = {biMinimize, biMaximize};
  in.HideCloseButton = true;
  UpdateObjectStates(s.Objects, in);
  EXPECT_EQ(s.State("frameclose"), "-V");
  EXPECT_EQ(s.State("closebutton"), "--");
  // With the system menu the close button stays.
  in.BorderIcons.Include(biSystemMenu);
  UpdateObjectStates(s.Objects, in);
  EXPECT_EQ(s.State("frameclose"), "EV");
  EXPECT_EQ(s.State("closebutton"), "EV");
}

TEST(SkinObjectsStates, ButtonsFollowTheBorderIcons) {
  TStates s;
  TqzObjectStateInput in;
  in.BorderIcons = {biSystemMenu, biMinimize};
  in.DisableSystemMenu = true;
  std::vector<std::string> asked;
  in.OnActivateCustomObject = [&](const std::string& id, bool& visible) {
    asked.push_back(id);
    visible = true;
  };
  UpdateObjectStates(s.Objects, in);
  EXPECT_EQ(s.State("maxbutton"), "--");
  EXPECT_EQ(s.State("framemax"), "-V");
  EXPECT_EQ(s.State("sysmenubutton"), "--");
  EXPECT_EQ(s.State("custom"), "EV");
  EXPECT_EQ(asked, std::vector<std::string>{"custom"});
  // Unanswered, a custom button stays hidden.
  in.OnActivateCustomObject = nullptr;
  in.BorderIcons.Include(biMaximize);
  in.DisableSystemMenu = false;
  UpdateObjectStates(s.Objects, in);
  EXPECT_EQ(s.State("custom"), "--");
  EXPECT_EQ(s.State("maxbutton"), "EV");
  EXPECT_EQ(s.State("sysmenubutton"), "EV");
}

TEST(SkinObjectsStates, HideCaptionButtonsLeavesOnlyFramePictureLooks) {
  TStates s;
  TqzObjectStateInput in;
  in.BorderIcons = {biSystemMenu, biMinimize, biMaximize};
  in.HideCaptionButtons = true;
  UpdateObjectStates(s.Objects, in);
  EXPECT_EQ(s.State("closebutton"), "--");
  EXPECT_EQ(s.State("maxbutton"), "--");
  EXPECT_EQ(s.State("anim"), "--");
  EXPECT_EQ(s.State("frameclose"), "-V");
  EXPECT_EQ(s.State("framemax"), "-V");
}

// ---------------------------------------------------------------------------

TEST(SkinObjectsDefaultButtons, SixButtonsOnTheDefaultCaption) {
  TRecordingHost host;
  TqzSkinObjectList buttons = CreateDefaultButtons(host);
  std::vector<std::string> ids;
  for (auto& b : buttons) ids.push_back(b->IDName());
  EXPECT_EQ(ids, (std::vector<std::string>{"closebutton", "maxbutton", "minbutton", "rollupbutton",
                                            "sysmenubutton", "traybutton"}));
  EXPECT_EQ(ObjectAs<TqzSkinStdButtonObject>(buttons, "traybutton").Command(),
            TqzStdCommand::MinimizeToTray);
  TqzObjectStateInput in;
  in.BorderIcons = {biSystemMenu, biMinimize, biMaximize};
  UpdateObjectStates(buttons, in);
  PlaceDefaultButtons(buttons, {200, 100});
  // Caption 3..22 tall 19: buttons 14 high at y 5; close ends 2 before the border.
  EXPECT_EQ(buttons[0]->ObjectRect, (TRect{179, 5, 195, 19}));
  EXPECT_EQ(buttons[1]->ObjectRect, (TRect{161, 5, 177, 19}));
  EXPECT_EQ(buttons[2]->ObjectRect, (TRect{143, 5, 159, 19}));
  EXPECT_FALSE(buttons[3]->Visible);  // no roll-up icon
  EXPECT_EQ(buttons[4]->ObjectRect, (TRect{5, 5, 21, 19}));
}

}  // namespace
}  // namespace qz
