// What the skin control test kits share: a test skin loaded for every test,
// a shown borderless form of one colour, controls made on it and drawing
// from the skin, and screen shots of their pixels.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "skin/data/SkinData.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skinform/FramePaintTestKit.h"

namespace qz::testing {

class SkinOnFormTest : public UiTest {
 protected:
  // The skin made by `parts` on a form with `formBounds`.
  SkinOnFormTest(TTestSkinParts (*parts)(), TRect formBounds) : parts_(parts), formBounds_(formBounds) {}

  void SetUp() override {
    UiTest::SetUp();
    skin = LoadTestSkin(parts_());
    form = MakeForm(formBounds_, bsNone);
    form->SetColor(kFormColor);
    Pump();
  }
  void TearDown() override {
    UiTest::TearDown();
    skin.reset();
  }

  // A control of type T on the form (or parent) at (left, top), sized w x h,
  // drawing `name`.
  template <class T>
  T* MakeOnForm(const std::string& name, int left, int top, int w, int h, TWinControl* parent) {
    auto* c = new T(form);
    c->SetParent(parent ? parent : form);
    c->SetBounds(left, top, w, h);
    c->SetSkinDataName(name);
    c->SetSkinData(skin.get());
    Pump();
    return c;
  }

  // The control's pixels as the screen shows them (0xRRGGBB).
  TPixmap Shot(TControl* c) {
    Pump();
    const TPixmap screen = hp->ComposeScreen();
    const TPoint at = c->ClientToScreen({0, 0});
    TPixmap out(c->Width(), c->Height());
    for (int y = 0; y < c->Height(); ++y)
      for (int x = 0; x < c->Width(); ++x) out.At(x, y) = screen.At(at.X + x, at.Y + y) & 0xFFFFFFu;
    return out;
  }

  static TPixmap RgbOf(const TPixmap& p) {
    TPixmap out(p.Width(), p.Height());
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) out.At(x, y) = p.At(x, y) & 0xFFFFFFu;
    return out;
  }

  // The first pixel where two images differ, for a readable failure.
  static std::string FirstDifference(const TPixmap& a, const TPixmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
      return "sizes " + std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + " and " +
             std::to_string(b.Width()) + "x" + std::to_string(b.Height());
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if ((a.At(x, y) & 0xFFFFFFu) != (b.At(x, y) & 0xFFFFFFu))
          return "at " + std::to_string(x) + "," + std::to_string(y);
    return "";
  }

  TBitmap& SkinPicture() { return *skin->ActivePicture(0); }

  static constexpr TColor kFormColor = RGB(10, 200, 90);
  std::unique_ptr<TqzSkinData> skin;
  TForm* form = nullptr;

 private:
  TTestSkinParts (*parts_)();
  TRect formBounds_;
};

}  // namespace qz::testing
