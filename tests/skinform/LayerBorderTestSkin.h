// A small skin whose [LAYERFRAME] the layered border tests vary, and a
// border owner around a plain host form.
//
// The frame picture is 40 x 30 with every pixel told apart by its colour
// (red 6x, green 8y, blue 100) and its opacity (grey level (5x + 7y) mod 256
// in the mask picture). The form sits at the client rect (10, 8, 30, 22);
// the top strip is rows 0..10 with corners 14 wide, the bottom strip rows
// 20..30, the side strips 10 wide.
#pragma once

#include <array>
#include <span>
#include <string>

#include "host/graphics/BmpCodec.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Forms.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinData.h"
#include "skin/form/LayerBorder.h"
#include "tests/skindata/SkinTestData.h"

namespace qz::testing {

// The headless window behind a handle (null for a dead handle), and where
// the window system has the window.
inline THeadlessWindow* Native(HWND h) {
  TWinControl* w = WindowControl(h);
  return w ? static_cast<THeadlessWindow*>(w->WindowData()->platform.get()) : nullptr;
}

inline TRect WindowRect(HWND h) {
  TRect r;
  GetWindowRect(h, r);
  return r;
}

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

// ---------------------------------------------------------------------------
// A whole skin with a full-border layer frame, for a form with a controller.
//
// The form picture is 100 x 60 (client rect (5, 20, 95, 55), corners at
// x 10 / 90 and y 20 / 50), with a caption (4, 2, 96, 18), a close and a
// maximise button. Their looks are 12 x 10 cells of active picture 0
// (normal at x 0, hot at 12, pressed at 24) whose opacity is active picture
// 1 at the same place. The layer frame is 120 x 90 (active pictures 2 and
// 3): border rect (10, 5, 110, 85) and client rect (15, 25, 105, 80), so
// the border's extents are 5, 20, 5, 5, the outer window's (0, 0) lies at
// (10, 5) of the frame, and the top strip is 30 rows.

inline uint32_t FullFormPixel(int x, int y) {
  return 0xFF000000u | uint32_t(x * 2) << 16 | uint32_t(y * 4) << 8 | 30u;
}
inline uint32_t ButtonLookPixel(int x, int y) {
  return 0xFF000000u | uint32_t(x * 5) << 16 | uint32_t(y * 20) << 8 | 180u;
}
inline int ButtonMaskGrey(int x, int y) { return (x * 5 + y * 11) % 256; }
inline uint32_t FullFramePixel(int x, int y) {
  return 0xFF000000u | uint32_t(x * 2) << 16 | uint32_t(y * 2) << 8 | 60u;
}
inline constexpr int kFullFrameGrey = 160;

// round(c * a / 255) on each colour channel, alpha a.
inline uint32_t Premultiplied(uint32_t colour, int alpha) {
  const uint32_t a = uint32_t(alpha);
  auto channel = [a](uint32_t v) { return (2 * v * a + 255) / 510; };
  return a << 24 | channel((colour >> 16) & 0xFF) << 16 | channel((colour >> 8) & 0xFF) << 8 |
         channel(colour & 0xFF);
}

template <class F>
std::vector<uint8_t> PictureBmp(int w, int h, F pixel) {
  TPixmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = pixel(x, y);
  return EncodeBmp(p, 24);
}

inline std::vector<uint8_t> GreyBmp(int w, int h, int (*grey)(int, int)) {
  return PictureBmp(w, h, [grey](int x, int y) {
    const uint32_t g = uint32_t(grey(x, y));
    return 0xFF000000u | g << 16 | g << 8 | g;
  });
}

inline std::string FullBorderButtonKeys(const std::string& command) {
  return "activepictureindex=0\nskinrectinapicture=1\ncommand=" + command +
         "\nskinrect=0,0,12,10\nactiveskinrect=12,0,24,10\ndownrect=24,0,36,10\n"
         "alphamaskpictureindex=1\nalphamaskactivepictureindex=1\n";
}

// `layerKeys` are added to [LAYERFRAME], `formKeys` to [FORMINFO],
// `captionKeys` to the caption's section; `tabKeys`, when given, describe
// the caption tabs (a fourth object, "captiontab").
inline std::vector<uint8_t> FullBorderSkin(const std::string& layerKeys = "",
                                           const std::string& formKeys = "",
                                           const std::string& captionKeys = "",
                                           const std::string& tabKeys = "") {
  const auto picture = PictureBmp(100, 60, FullFormPixel);
  const auto looks = PictureBmp(48, 10, ButtonLookPixel);
  const auto looksMask = GreyBmp(48, 10, ButtonMaskGrey);
  const auto frame = PictureBmp(120, 90, FullFramePixel);
  const auto frameMask = GreyBmp(120, 90, [](int, int) { return kFullFrameGrey; });
  const std::string text =
      "[FORMINFO]\nlefttoppoint=10,20\nrighttoppoint=90,20\nleftbottompoint=10,50\n"
      "rightbottompoint=90,50\nclientrect=5,20,95,55\ncaptionrect=4,2,96,18\nbuttonsoffset=2\n" +
      formKeys +
      "[SKINOBJECTS]\ncount=" + std::string(tabKeys.empty() ? "3" : "4") +
      "\n0=caption:caption\n1=closebutton:stdbutton\n2=maxbutton:stdbutton\n" +
      (tabKeys.empty() ? "" : "3=captiontab:captiontab\n[captiontab]\n" + tabKeys + "\n") +
      "[caption]\nskinrect=4,2,96,18\n" + captionKeys +
      "\n[closebutton]\n" + FullBorderButtonKeys("cmclose") +
      "[maxbutton]\n" + FullBorderButtonKeys("cmmaximize") +
      "[LAYERFRAME]\npictureindex=2\nmaskpictureindex=3\nlefttoppoint=20,30\n"
      "righttoppoint=100,30\nleftbottompoint=20,80\nrightbottompoint=100,80\n"
      "clientrect=15,25,105,80\nborderrect=10,5,110,85\nfullborder=1\n" +
      layerKeys;
  const std::array<std::span<const uint8_t>, kSkinSlotCount> slots{picture, {}, {}, {}, {}};
  const std::span<const uint8_t> actives[] = {looks, looksMask, frame, frameMask};
  return BuildSkinContainer(slots, actives, text);
}

}  // namespace qz::testing
