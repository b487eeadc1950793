// What the label, bevel and panel tests share: a small skin made here with
// one description of each kind, a shown borderless form, and screen shots of
// a control's pixels.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "skin/controls/SkinBevel.h"
#include "skin/controls/SkinLabel.h"
#include "skin/controls/SkinPanel.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"
#include "tests/skincontrols/SkinFormTestKit.h"

namespace qz::testing {

// Skin colours: button face RGB(112, 112, 112), highlight RGB(224, 224, 224),
// shadow RGB(48, 48, 48).
// Picture 0: an 80 x 60 pattern. Picture 1: a 7 x 5 pattern (a background).
//   stdlabel   font Tahoma 15 bold, colour RGB(200, 30, 40)
//   bevel      light RGB(240, 241, 242), dark RGB(20, 21, 22)
//   hlabel     a horizontal plate 60 x 20, ends of 10, client (10,0,50,20), font 13
//   nlabel     a nine-part plate 60 x 40, corners 10, client (10,10,50,30), font 11
//   flabel     a fixed 30 x 20 plate
//   panel      nine-part 60 x 40, stretched parts, caption (10,0,50,10) in the
//              10-pixel top border, centred, font 11 white
//   cappanel   nine-part 60 x 50 with a 20-pixel top border holding the
//              caption (2,2,58,18), left aligned, check images and a marker
//   bgpanel    "panel" with picture 1 as its background
//   tiledpanel nine-part with tiled client piece
//   lowgroup   a group box whose client area ends above its caption
inline TTestSkinParts PanelSkinParts() {
  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 9);
  parts.Active.push_back(Pattern(80, 60, 3));
  parts.Active.push_back(Pattern(7, 5, 5));
  const std::string nine =
      "pictureindex=0\r\nskinrect=0,0,60,40\r\nlefttoppoint=10,10\r\nrighttoppoint=50,10\r\n"
      "leftbottompoint=10,30\r\nrightbottompoint=50,30\r\nclientrect=10,10,50,30\r\n";
  const std::string stretched =
      "leftstretch=1\r\ntopstretch=1\r\nrightstretch=1\r\nbottomstretch=1\r\nstretcheffect=1\r\n";
  parts.Text =
      "[SKINCOLORS]\r\ncbtnface=7368816\r\ncbtnhighlight=14737632\r\ncbtnshadow=3158064\r\n"
      "[SKINCONTROLS]\r\ncount=10\r\n0=stdlabel:stdlabel\r\n1=bevel:bevel\r\n2=hlabel:label\r\n"
      "3=nlabel:label\r\n4=flabel:label\r\n5=panel:panel\r\n6=cappanel:panel\r\n"
      "7=bgpanel:panel\r\n8=tiledpanel:panel\r\n9=lowgroup:panel\r\n"
      "[stdlabel]\r\nfontname=Tahoma\r\nfontheight=15\r\nfontstyle=fsbold\r\nfontcolor=2629320\r\n"
      "[bevel]\r\nlightcolor=15921648\r\ndarkcolor=1447188\r\n"
      "[hlabel]\r\npictureindex=0\r\nskinrect=0,20,60,40\r\nlefttoppoint=10,0\r\n"
      "righttoppoint=50,0\r\nclientrect=10,0,50,20\r\nfontheight=13\r\nfontcolor=16777215\r\n"
      "[nlabel]\r\n" + nine + stretched + "fontheight=11\r\nfontcolor=65535\r\n"
      "[flabel]\r\npictureindex=0\r\nskinrect=5,5,35,25\r\nclientrect=2,2,28,18\r\n"
      "[panel]\r\n" + nine + stretched +
      "captionrect=10,0,50,10\r\nfontheight=11\r\nfontcolor=16777215\r\n"
      "[cappanel]\r\npictureindex=0\r\nskinrect=0,0,60,50\r\nlefttoppoint=10,20\r\n"
      "righttoppoint=50,20\r\nleftbottompoint=10,40\r\nrightbottompoint=50,40\r\n"
      "clientrect=10,20,50,40\r\n" + stretched +
      "captionrect=2,2,58,18\r\nalignment=taleftjustify\r\nfontheight=13\r\nfontcolor=16777215\r\n"
      "checkimagerect=60,0,68,8\r\nuncheckimagerect=68,0,76,8\r\nmarkframerect=60,10,72,22\r\n"
      "[bgpanel]\r\n" + nine + "bgpictureindex=1\r\n"
      "[tiledpanel]\r\n" + nine +
      "[lowgroup]\r\npictureindex=0\r\nskinrect=0,0,60,40\r\nlefttoppoint=10,5\r\n"
      "righttoppoint=50,5\r\nleftbottompoint=10,8\r\nrightbottompoint=50,8\r\n"
      "clientrect=5,5,55,10\r\ncaptionrect=0,20,60,30\r\n";
  return parts;
}

class SkinPanelTest : public SkinOnFormTest {
 protected:
  SkinPanelTest() : SkinOnFormTest(PanelSkinParts, {100, 100, 500, 400}) {}

  // A control of type T on the form (or parent), drawing `name`.
  template <class T>
  T* Make(const std::string& name, int left, int top, int w, int h, TWinControl* parent = nullptr) {
    return MakeOnForm<T>(name, left, top, w, h, parent);
  }

  // The bitmap sized w x h and filled with the form's colour.
  static void FillWithFormColor(TBitmap& b, int w, int h) {
    b.SetSize(w, h);
    b.Canvas().Brush().SetColor(kFormColor);
    b.Canvas().FillRect({0, 0, w, h});
  }

  // Writes the screen to the test output folder, for a look at the result.
  void SaveScreen(const std::string& file) {
    std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
    hp->SaveScreenPng(std::string(QZ_TEST_OUTPUT_DIR) + "/" + file);
  }

  const TqzDataSkinControl& Description(const std::string& name) {
    return *skin->CtrlList()[size_t(skin->FindControlIndex(name))];
  }
};

}  // namespace qz::testing
