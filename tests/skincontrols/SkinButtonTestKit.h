// What the skin button tests share: a small skin whose button picture tells
// every pixel's origin, and a borderless form on the headless screen.
#pragma once

#include <memory>
#include <string>

#include "host/graphics/BmpCodec.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {

// The button picture: red = x, green = y, blue 200.
inline uint32_t ButtonPicturePixel(int x, int y) {
  return 0xFF000000u | uint32_t(x) << 16 | uint32_t(y) << 8 | 200;
}

// A nine-part 40 x 20 look with 5-pixel borders, tiled edges and client.
inline const std::string kNinePart =
    "skinrect=0,0,40,20\nlefttoppoint=5,5\nrighttoppoint=35,5\nleftbottompoint=5,15\n"
    "rightbottompoint=35,15\nclientrect=5,5,35,15\n";
// Every state look, one below the other.
inline const std::string kLooks =
    "activeskinrect=0,20,40,40\ndownskinrect=0,40,40,60\nfocusedskinrect=0,60,40,80\n"
    "disabledskinrect=0,80,40,100\n";

// A skin with one control description "button" (picture 0) of these keys.
inline std::unique_ptr<TqzSkinData> MakeButtonSkin(const std::string& keys) {
  TPixmap main(40, 40, 0x808080), picture(200, 120);
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) picture.At(x, y) = ButtonPicturePixel(x, y);
  const std::string text =
      "[SKINCONTROLS]\ncount=1\n0=button:button\n[button]\npictureindex=0\n" + keys;
  const auto mainBmp = EncodeBmp(main), pictureBmp = EncodeBmp(picture);
  const std::array<std::span<const uint8_t>, kSkinSlotCount> slots{mainBmp, {}, {}, {}, {}};
  const std::span<const uint8_t> actives[] = {pictureBmp};
  auto skin = std::make_unique<TqzSkinData>(nullptr);
  skin->LoadFromContainer(BuildSkinContainer(slots, actives, text));
  return skin;
}

inline const TqzDataSkinButtonControl& ButtonDescription(const TqzSkinData& skin) {
  const int i = skin.FindControlIndex("button");
  return dynamic_cast<const TqzDataSkinButtonControl&>(*skin.CtrlList().at(size_t(i)));
}

inline THeadlessWindow& PlatformWindow(TForm* f) {
  return *static_cast<THeadlessWindow*>(f->WindowData()->platform.get());
}

class SkinButtonTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 420, 300}, bsNone);
  }
  void TearDown() override {
    UiTest::TearDown();
    skin.reset();
  }

  void UseSkin(const std::string& keys) { skin = MakeButtonSkin(keys); }

  TqzSkinButton* MakeButton(TRect bounds, const std::string& caption = "",
                            TWinControl* parent = nullptr) {
    auto* b = new TqzSkinButton(form);
    b->SetParent(parent ? parent : form);
    b->SetUseSkinSize(true);
    b->SetCaption(caption);
    b->SetBoundsRect(bounds);
    if (skin) b->SetSkinData(skin.get());
    Pump();
    return b;
  }

  void Ticks(int count, int ms = 20) {
    for (int i = 0; i < count; ++i) {
      hp->AdvanceClock(ms);
      Pump();
    }
  }

  TPoint Center(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }
  void Move(TPoint screen) { UiTest::Move(screen); }

  // The presented pixel at a point of the button.
  uint32_t ShownPixel(TControl* b, TPoint p) {
    Pump();
    const TPoint w = b->ClientToScreen(p) - form->ClientToScreen({0, 0});
    return PlatformWindow(form).Contents().At(w.X, w.Y);
  }

  // Whether the button's area on the screen equals `expected` pixel for pixel.
  ::testing::AssertionResult Shows(TControl* b, const TPixmap& expected) {
    Pump();
    const TPixmap& shown = PlatformWindow(form).Contents();
    const TPoint o = b->ClientToScreen({0, 0}) - form->ClientToScreen({0, 0});
    if (expected.Width() != b->Width() || expected.Height() != b->Height())
      return ::testing::AssertionFailure() << "size " << b->Width() << "x" << b->Height();
    for (int y = 0; y < b->Height(); ++y)
      for (int x = 0; x < b->Width(); ++x) {
        const uint32_t got = shown.At(o.X + x, o.Y + y) & 0xFFFFFF;
        const uint32_t want = expected.At(x, y) & 0xFFFFFF;
        if (got != want)
          return ::testing::AssertionFailure()
                 << "at " << x << "," << y << ": " << std::hex << got << " != " << want;
      }
    return ::testing::AssertionSuccess();
  }

  std::unique_ptr<TqzSkinData> skin;
  TForm* form = nullptr;
};

}  // namespace qz::testing
