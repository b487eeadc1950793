// What the painting tests share: small skins with patterned pictures made
// here, a window host that answers nothing, and objects that paint a plain
// colour over their rectangle.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/graphics/Bitmap.h"
#include "host/graphics/BmpCodec.h"
#include "host/graphics/Canvas.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinObjects.h"

namespace qz::testing {

// A picture whose every pixel differs from its neighbours, so that a piece
// taken from the wrong place or at the wrong phase shows.
inline uint32_t PatternPixel(int x, int y, int seed) {
  const uint32_t r = uint32_t(x * 7 + seed * 31) & 0xFF;
  const uint32_t g = uint32_t(y * 11 + seed * 17) & 0xFF;
  const uint32_t b = uint32_t(x * 3 + y * 5 + seed) & 0xFF;
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}
inline TPixmap Pattern(int w, int h, int seed) {
  TPixmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = PatternPixel(x, y, seed);
  return p;
}

inline uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFF; }
// The pixel colour (0xRRGGBB) a colour value paints.
inline uint32_t PixelOf(TColor c) { return Rgb(PixelFromColorRef(ColorToRGB(c))); }

// The pictures and description text of a test skin; empty pixmaps are
// empty slots.
struct TTestSkinParts {
  TPixmap Picture, Inactive, Mask, RollUp, RollUpMask;
  std::vector<TPixmap> Active;
  std::string Text;  // sections after [PICTURES]
};

// Loads the parts into `skin` in place, as a reload of the same component.
inline void ReloadTestSkin(TqzSkinData& skin, const TTestSkinParts& parts) {
  auto bmp = [](const TPixmap& p) { return p.Empty() ? std::vector<uint8_t>{} : EncodeBmp(p, 24); };
  std::vector<std::vector<uint8_t>> slots = {bmp(parts.Picture), bmp(parts.Inactive), bmp(parts.Mask),
                                             bmp(parts.RollUp), bmp(parts.RollUpMask)};
  std::array<std::span<const uint8_t>, kSkinSlotCount> slotSpans{};
  for (int i = 0; i < kSkinSlotCount; ++i) slotSpans[size_t(i)] = slots[size_t(i)];
  std::vector<std::vector<uint8_t>> active;
  std::string text = "[PICTURES]\r\nactivepicturescount=" + std::to_string(parts.Active.size()) + "\r\n";
  for (size_t i = 0; i < parts.Active.size(); ++i) {
    active.push_back(EncodeBmp(parts.Active[i], 24));
    text += std::to_string(i) + "=a" + std::to_string(i) + ".bmp\r\n";
  }
  text += parts.Text;
  std::vector<std::span<const uint8_t>> activeSpans(active.begin(), active.end());
  skin.LoadFromContainer(BuildSkinContainer(slotSpans, activeSpans, text));
}

inline std::unique_ptr<TqzSkinData> LoadTestSkin(const TTestSkinParts& parts) {
  auto skin = std::make_unique<TqzSkinData>(nullptr);
  ReloadTestSkin(*skin, parts);
  return skin;
}

// A 60 x 50 skin whose corner points (20,15)-(40,40) lie on its client rect
// (10,15,50,40): fixed corners, edges and a client piece of 40 x 25. The
// caller sets the [FORMINFO] fields it needs after loading.
inline TTestSkinParts SmallFrameSkin() {
  TTestSkinParts parts;
  parts.Picture = Pattern(60, 50, 1);
  parts.Text = "[FORMINFO]\r\nclientrect=10,15,50,40\r\nlefttoppoint=20,15\r\nrighttoppoint=40,15\r\n"
               "leftbottompoint=20,40\r\nrightbottompoint=40,40\r\n";
  return parts;
}

// Answers nothing; the painting never asks.
class TQuietHost : public TqzObjectHost {
 public:
  TqzSkinData* HostSkinData() const override { return nullptr; }
  bool FormActive() const override { return true; }
  bool RolledUp() const override { return false; }
  bool Maximized() const override { return false; }
  bool Minimized() const override { return false; }
  bool IsMainForm() const override { return true; }
  bool ClientMode() const override { return false; }
  bool FullBorderLayered() const override { return false; }
  bool ShowIcon() const override { return false; }
  bool NCDraggAble() const override { return true; }
  TPoint WindowToScreen(TPoint p) const override { return p; }
  TqzCaptionContext CaptionContext() const override { return {}; }
  void RedrawObject(TqzActiveSkinObject&) override {}
  void RedrawCaption() override {}
  void StartMorphTimer() override {}
  void StartAnimateTimer() override {}
  void ExecuteCommand(TqzStdCommand) override {}
  void PopupSystemMenuBelow(const TRect&) override {}
  void PopupMenuBelow(TMenuItem&, const TRect&) override {}
  void StartClientDrag(TPoint) override {}
  void ShowGlowLayer(int, int, uint8_t, const TBitmap*, const TBitmap&) override {}
  void HideGlowLayer() override {}
  void FireMouseEnter(const std::string&) override {}
  void FireMouseLeave(const std::string&) override {}
  void FireMouseDown(const std::string&, int, int, const TRect&, TqzMouseButton) override {}
  void FireMouseUp(const std::string&, int, int, const TRect&, TqzMouseButton) override {}
  void FireMouseMove(const std::string&, int, int, const TRect&) override {}
  void FirePaint(const std::string&, TCanvas&, const TRect&) override {}
  void FireSwitchChangeState(const std::string&, TSwitchState) override {}
  void FireTrackBarChangeValue(const std::string&, int) override {}
  void FireFrameRegulatorChangeValue(const std::string&, int) override {}
};

// Fills its rectangle with one colour (nothing when the colour is clNone)
// and remembers the rectangles it was drawn at.
class TFillObject : public TqzActiveSkinObject {
 public:
  TFillObject(TqzObjectHost& host, const TqzDataSkinObject& data, TRect rect, TColor color,
              bool menuItem = false)
      : TqzActiveSkinObject(host, data), color_(color), menuItem_(menuItem) {
    ObjectRect = rect;
  }
  void Draw(TCanvas& canvas, bool) override {
    DrawnAt.push_back(ObjectRect);
    if (color_ == clNone) return;
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(color_);
    canvas.FillRect(ObjectRect);
  }
  bool IsFrameMenuItem() const override { return menuItem_; }
  std::vector<TRect> DrawnAt;

 private:
  TColor color_;
  bool menuItem_;
};

// Owns the descriptions the objects refer to.
struct TObjectSet {
  TQuietHost Host;
  std::vector<std::unique_ptr<TqzDataSkinObject>> Data;
  TqzSkinObjectList Objects;
  TFillObject& Add(TRect rect, TColor color, bool rollUp = false, bool menuItem = false) {
    Data.push_back(std::make_unique<TqzDataSkinObject>("object" + std::to_string(Data.size())));
    Data.back()->RollUp = rollUp;
    auto object = std::make_unique<TFillObject>(Host, *Data.back(), rect, color, menuItem);
    TFillObject& ref = *object;
    Objects.push_back(std::move(object));
    return ref;
  }
};

// A window surface filled with a colour no skin here uses.
constexpr uint32_t kUntouched = 0xFF123456u;

}  // namespace qz::testing
