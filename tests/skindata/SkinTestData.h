// Small skins made by the tests themselves: BMPs from the host's encoder,
// containers of any version, compressed holders.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "host/graphics/BmpCodec.h"
#include "skin/data/SkinContainer.h"

namespace qz::testing {

// A w x h BMP filled with one colour (0x00RRGGBB), at 24 or 1 bits.
inline std::vector<uint8_t> SolidBmp(int w, int h, uint32_t rgb, int bits = 24) {
  TPixmap p(w, h, 0xFF000000u | rgb);
  return EncodeBmp(p, bits);
}

struct TTestSkin {
  std::array<std::vector<uint8_t>, kSkinSlotCount> slots;
  std::vector<std::vector<uint8_t>> active;
  std::string text;
  int32_t version = 2;

  std::vector<uint8_t> Container() const {
    std::array<std::span<const uint8_t>, kSkinSlotCount> s{};
    for (int i = 0; i < kSkinSlotCount; ++i) s[i] = slots[i];
    std::vector<std::span<const uint8_t>> a(active.begin(), active.end());
    return BuildSkinContainer(s, a, text, version);
  }
  std::vector<uint8_t> Compressed() const { return DeflateSkinStream(Container()); }
};

// A skin with a picture, a mask, two active pictures and a description that
// uses every section the loader reads.
inline TTestSkin SampleSkin() {
  TTestSkin s;
  s.slots[ssPicture] = SolidBmp(40, 30, 0x102030);
  s.slots[ssMask] = SolidBmp(40, 30, 0xFFFFFF, 1);
  s.active.push_back(SolidBmp(20, 10, 0x00FF00));
  s.active.push_back(SolidBmp(20, 10, 0x808080));
  s.text =
      "[VERSION]\r\nskinname=Sample\r\nskinauthor=Tests\r\n"
      "[PICTURES]\r\npicture=p.bmp\r\nmask=m.bmp\r\nactivepicturescount=2\r\n0=a0.bmp\r\n"
      "1=a1.bmp\r\n"
      "[FORMINFO]\r\nclientrect=5,5,35,25\r\nstretchtype=stvert\r\n"
      "[SKINCOLORS]\r\ncwindow=16777215\r\nchighlight=11250603\r\nchighlighttext=255\r\n"
      "cwindowtext=65280\r\n"
      "[SKINAREAS]\r\ncount=2\r\n0=pagearea:29,172,424,555;0,0,0,0,0\r\n"
      "1=other:1,2,3,4;1,0,1,0,1\r\n"
      "[SKINOBJECTS]\r\ncount=3\r\n0=closebutton:stdbutton\r\n1=bad:nosuchkind\r\n"
      "2=caption:caption\r\n"
      "[closebutton]\r\nactivepictureindex=0\r\nskinrect=1,1,5,5\r\ncommand=cmclose\r\n"
      "[SKINCONTROLS]\r\ncount=4\r\n0=button:button\r\n1=button:button\r\n2=Button:Button\r\n"
      "3=tab:tab\r\n"
      "[button]\r\nskinrect=1,1,95,28\r\npictureindex=1\r\n"
      "[tab]\r\ntabrect=1,2,3,4\r\nstretchtype=sthorz\r\n";
  return s;
}

}  // namespace qz::testing
