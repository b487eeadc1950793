// A small skin whose [LAYERFRAME] the layered border tests vary, and a
// border owner around a plain host form.
//
// The frame picture is 40 x 30 with every pixel told apart by its colour
// (red 6x, green 8y, blue 100) and its opacity (grey level (5x + 7y) mod 256
// in the mask picture). The form sits at the client rect (10, 8, 30, 22);
// the top strip is rows 0..10 with corners 14 wide, the bottom strip rows
// 20..30, the side strips 10 wide.
#pragma once

#include <string>

#include "host/graphics/BmpCodec.h"
#include "host/ui/Forms.h"
#include "skin/data/SkinData.h"
#include "skin/form/LayerBorder.h"
#include "tests/skindata/SkinTestData.h"

namespace qz::testing {

inline constexpr int kFramePictureWidth = 40, kFramePictureHeight = 30;

inline uint32_t FramePictureColour(int x, int y) {
  return 0xFF000000u | uint32_t(x * 6) << 16 | uint32_t(y * 8) << 8 | 100u;
}
inline int FrameMaskGrey(int x, int y) { return (5 * x + 7 * y) % 256; }

// The pixel a border window shows for picture pixel (x, y): the colour with
// the mask's opacity, premultiplied (each channel round(c * a / 255)).
inline uint32_t ShownFramePixel(int x, int y, uint32_t colour = 0) {
  const uint32_t c = colour ? colour : FramePictureColour(x, y);
  const uint32_t a = uint32_t(FrameMaskGrey(x, y));
  auto channel = [a](uint32_t v) { return (2 * v * a + 255) / 510; };
  return a << 24 | channel((c >> 16) & 0xFF) << 16 | channel((c >> 8) & 0xFF) << 8 |
         channel(c & 0xFF);
}

inline std::vector<uint8_t> FramePictureBmp() {
  TPixmap p(kFramePictureWidth, kFramePictureHeight);
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) p.At(x, y) = FramePictureColour(x, y);
  return EncodeBmp(p, 24);
}

inline std::vector<uint8_t> FrameMaskBmp() {
  TPixmap p(kFramePictureWidth, kFramePictureHeight);
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x) {
      const uint32_t g = uint32_t(FrameMaskGrey(x, y));
      p.At(x, y) = 0xFF000000u | g << 16 | g << 8 | g;
    }
  return EncodeBmp(p, 24);
}

inline constexpr uint32_t kInactiveFrameColour = 0xFF0000FFu;

// Active pictures: 0 the frame, 1 its mask, 2 a plain blue inactive frame.
// `layerKeys` are the lines of [LAYERFRAME] after the corner points.
inline TTestSkin LayerFrameSkin(const std::string& layerKeys) {
  TTestSkin s;
  s.slots[ssPicture] = SolidBmp(40, 30, 0x102030);
  s.slots[ssMask] = SolidBmp(40, 30, 0xFFFFFF, 1);
  s.active.push_back(FramePictureBmp());
  s.active.push_back(FrameMaskBmp());
  s.active.push_back(SolidBmp(kFramePictureWidth, kFramePictureHeight, kInactiveFrameColour & 0xFFFFFF));
  s.text =
      "[VERSION]\r\nskinname=Layer\r\n"
      "[PICTURES]\r\npicture=p.bmp\r\nmask=m.bmp\r\nactivepicturescount=3\r\n0=f.bmp\r\n"
      "1=a.bmp\r\n2=i.bmp\r\n"
      "[FORMINFO]\r\nclientrect=5,5,35,25\r\n"
      "[LAYERFRAME]\r\n"
      "lefttoppoint=14,10\r\nrighttoppoint=26,10\r\nleftbottompoint=14,20\r\n"
      "rightbottompoint=26,20\r\nclientrect=10,8,30,22\r\n" +
      layerKeys;
  return s;
}

// The usual frame: opaque when active, half when inactive, a 4-pixel
// sizing band around the form.
inline const char* kPlainLayerKeys =
    "pictureindex=0\r\nmaskpictureindex=1\r\nalphablendvalue=255\r\n"
    "inactivealphablendvalue=128\r\nhittestrect=6,4,34,26\r\n";

struct TTestBorderOwner : TqzLayerBorderOwner {
  explicit TTestBorderOwner(TCustomForm& f) : form(f) {}
  TCustomForm& BorderForm() const override { return form; }
  bool FormActive() const override { return active; }
  bool RolledUp() const override { return rolledUp; }
  bool Minimized() const override { return minimized; }
  bool IsMainForm() const override { return mainForm; }
  bool LayeredBorderAllowed() const override { return allowed; }

  TCustomForm& form;
  bool active = true, rolledUp = false, minimized = false, mainForm = true, allowed = true;
};

}  // namespace qz::testing
