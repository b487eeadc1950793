// What the skin control base tests share: a small skin with one control
// description per resize mode, probe controls that record what the bases ask
// of them, and a shown borderless form to put them on.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/SkinControl.h"
#include "tests/skincontrols/SkinFormTestKit.h"

namespace qz::testing {

// Picture 0 is a 60 x 40 pattern; picture 1 a mask of the same size, black
// except for 5 x 5 white squares in its four corners.
//   nine   nine-part, corners 10 wide, client (10,10,50,30)
//   fixed  30 x 20, no corner points
//   horz   60 x 20, left 10 and right 10 fixed
//   vert   20 x 40, top 10 and bottom 10 fixed
//   none   an empty skin rect
//   masked "nine" with the mask and cursor 2
//   std    a description without geometry (a standard label)
//   maskedhorz, maskedvert  "horz" and "vert" with the mask
inline TTestSkinParts ControlSkinParts() {
  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 9);
  parts.Active.push_back(Pattern(60, 40, 3));
  TPixmap mask(60, 40, 0xFF000000u);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x)
      if ((x < 5 || x >= 55) && (y < 5 || y >= 35)) mask.At(x, y) = 0xFFFFFFFFu;
  parts.Active.push_back(mask);
  const std::string nine =
      "pictureindex=0\r\nskinrect=0,0,60,40\r\nlefttoppoint=10,10\r\nrighttoppoint=50,10\r\n"
      "leftbottompoint=10,30\r\nrightbottompoint=50,30\r\nclientrect=10,10,50,30\r\n"
      "leftstretch=1\r\ntopstretch=1\r\nrightstretch=1\r\nbottomstretch=1\r\n";
  const std::string horz =
      "pictureindex=0\r\nskinrect=0,10,60,30\r\nlefttoppoint=10,0\r\n"
      "righttoppoint=50,0\r\nclientrect=10,0,50,20\r\n";
  const std::string vert =
      "pictureindex=0\r\nskinrect=20,0,40,40\r\nlefttoppoint=0,10\r\n"
      "leftbottompoint=0,30\r\nclientrect=0,10,20,30\r\n";
  parts.Text =
      "[SKINCONTROLS]\r\ncount=10\r\n0=nine:label\r\n1=fixed:label\r\n2=horz:label\r\n"
      "3=vert:label\r\n4=none:label\r\n5=masked:label\r\n6=std:stdlabel\r\n7=tiled:label\r\n"
      "8=maskedhorz:label\r\n9=maskedvert:label\r\n"
      "[nine]\r\n" + nine + "stretcheffect=1\r\n"
      "[fixed]\r\npictureindex=0\r\nskinrect=5,5,35,25\r\nclientrect=5,5,25,15\r\n"
      "[horz]\r\n" + horz + "[vert]\r\n" + vert +
      "[maskedhorz]\r\n" + horz + "maskpictureindex=1\r\n"
      "[maskedvert]\r\n" + vert + "maskpictureindex=1\r\n"
      "[none]\r\npictureindex=0\r\n"
      "[masked]\r\n" + nine + "maskpictureindex=1\r\ncursorindex=2\r\n"
      "[std]\r\nskinrect=0,0,30,12\r\n"
      "[tiled]\r\n" + nine;
  return parts;
}

inline std::unique_ptr<TqzSkinData> LoadControlSkin() { return LoadTestSkin(ControlSkinParts()); }

// A windowed custom control that counts its paints and can run a hook while
// composing (standing in for a subclass's user event).
class TProbeSkinControl : public TqzSkinCustomControl {
 public:
  explicit TProbeSkinControl(TComponent* owner) : TqzSkinCustomControl(owner) {}
  void Paint() override {
    ++paints;
    TqzSkinCustomControl::Paint();
  }
  void CreateControlSkinImage(TBitmap& b) override {
    TComponentRef<TProbeSkinControl> self(this);
    if (onCompose) onCompose();
    if (self && !b.Empty()) TqzSkinCustomControl::CreateControlSkinImage(b);
  }
  void BeforeChangeSkinData() override {
    if (log) log->push_back("before " + Name());
    TqzSkinCustomControl::BeforeChangeSkinData();
  }
  void ChangeSkinData() override {
    if (log) log->push_back("changed " + Name());
    TComponentRef<TProbeSkinControl> self(this);
    if (onChange) onChange();
    if (self) TqzSkinCustomControl::ChangeSkinData();
  }
  using TqzSkinCustomControl::FrameOnlyPaint;
  using TqzSkinCustomControl::FillClientArea;

  int paints = 0;
  std::vector<std::string>* log = nullptr;
  std::function<void()> onCompose, onChange;
};

class TProbeGraphicSkinControl : public TqzGraphicSkinCustomControl {
 public:
  explicit TProbeGraphicSkinControl(TComponent* owner) : TqzGraphicSkinCustomControl(owner) {}
  void BeforeChangeSkinData() override {
    if (log) log->push_back("before " + Name());
    TqzGraphicSkinCustomControl::BeforeChangeSkinData();
  }
  void ChangeSkinData() override {
    if (log) log->push_back("changed " + Name());
    TqzGraphicSkinCustomControl::ChangeSkinData();
  }
  std::vector<std::string>* log = nullptr;
};

class SkinControlTest : public SkinOnFormTest {
 protected:
  SkinControlTest() : SkinOnFormTest(ControlSkinParts, {100, 100, 400, 300}) {}

  // A probe on the form at (left, top), sized w x h, drawing `name`.
  template <class T = TProbeSkinControl>
  T* Make(const std::string& name, int left, int top, int w, int h, TWinControl* parent = nullptr) {
    return MakeOnForm<T>(name, left, top, w, h, parent);
  }

  // A pixel's colour without its alpha (hides the fixture's colour helper).
  static uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFFu; }
};

}  // namespace qz::testing
