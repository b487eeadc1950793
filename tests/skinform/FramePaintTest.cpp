// The frame painted from border strips against the whole window composed
// at once, the inactive looks, the objects drawn into the strips, and the
// frame drawn without a skin.
#include <gtest/gtest.h>

#include "skin/draw/QzComposition.h"
#include "skin/form/FramePaint.h"
#include "tests/skinform/FramePaintTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

using testing::kUntouched;
using testing::PixelOf;
using testing::Rgb;

// The window composed in one piece from the picture, by the geometry of the
// skin carried to W x H independently of the frame layout.
TPixmap ComposedWindow(const TqzSkinData& skin, const TBitmap& picture, TSize window) {
  const TqzLatticeFields& fields = skin;
  const TqzSkinGeometry g({0, 0, picture.Width(), picture.Height()}, fields);
  const TqzNewGeometry n = CalcNewGeometry(g, TqzResizeMode::NinePart, window.cx, window.cy);
  TBitmap out;
  CreateSkinImage(g, n, false, window.cx, window.cy, picture, out);
  return out.Pixels();
}

struct TPaintedFrame {
  TqzFrameRects Rects;
  TPixmap Window;
};

TPaintedFrame PaintedFrame(const TqzSkinData& skin, TSize window, bool active,
                           const TqzSkinObjectList* objects = nullptr) {
  TPaintedFrame out;
  const TqzFrameSize size{{skin.Picture().Width(), skin.Picture().Height()}, window};
  out.Rects = CalcFrameRects(skin, size);
  out.Window = TPixmap(window.cx, window.cy, kUntouched);
  TCanvas canvas(&out.Window);
  TqzFramePaintInput in;
  in.Skin = &skin;
  in.Rects = &out.Rects;
  in.Window = window;
  in.FormActive = active;
  in.Objects = objects;
  PaintFrame(canvas, in);
  return out;
}

// Every pixel outside the client rect is the reference's (through `map`);
// the client rect is left alone.
template <class Map>
void ExpectFrame(const TPaintedFrame& painted, const TPixmap& reference, Map map) {
  const TRect& client = painted.Rects.NewClRect;
  int wrong = 0;
  for (int y = 0; y < painted.Window.Height(); ++y)
    for (int x = 0; x < painted.Window.Width(); ++x) {
      const uint32_t want = client.Contains({x, y}) ? Rgb(kUntouched) : map(Rgb(reference.At(x, y)));
      if (Rgb(painted.Window.At(x, y)) != want && ++wrong <= 5)
        ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
    }
  EXPECT_EQ(wrong, 0);
}
void ExpectFrame(const TPaintedFrame& painted, const TPixmap& reference) {
  ExpectFrame(painted, reference, [](uint32_t c) { return c; });
}

TEST(FramePaintDemoSkins, StripsEqualTheWholeWindowComposedAtOnce) {
  for (const char* file : {"dialog.skn", "skin.skn"}) {
    const TqzSkinData& skin = *testing::DemoSkin(file).Skin;
    const TSize picture{skin.Picture().Width(), skin.Picture().Height()};
    for (TSize window : {picture, TSize{picture.cx + 57, picture.cy + 33},
                         TSize{picture.cx + 301, picture.cy + 190}}) {
      SCOPED_TRACE(std::string(file) + " at " + std::to_string(window.cx) + " x " +
                   std::to_string(window.cy));
      ExpectFrame(PaintedFrame(skin, window, true), ComposedWindow(skin, skin.Picture(), window));
    }
  }
}

TEST(FramePaint, InactiveLooks) {
  testing::TTestSkinParts parts = testing::SmallFrameSkin();
  parts.Inactive = testing::Pattern(60, 50, 2);
  const auto withInactive = testing::LoadTestSkin(parts);
  parts.Inactive = {};
  const auto plain = testing::LoadTestSkin(parts);
  const auto rendered = testing::LoadTestSkin(parts);
  rendered->AutoRenderingInActiveImage = true;
  rendered->InActiveEffect = ieInvert;
  const TSize window{97, 71};
  const TPixmap active = ComposedWindow(*plain, plain->Picture(), window);

  // The inactive picture replaces the main one while the form is inactive.
  ExpectFrame(PaintedFrame(*withInactive, window, true), active);
  ExpectFrame(PaintedFrame(*withInactive, window, false),
              ComposedWindow(*withInactive, withInactive->InactivePicture(), window));
  // Without one, autorenderinginactiveimage shows the main picture with the effect.
  ExpectFrame(PaintedFrame(*rendered, window, false), active,
              [](uint32_t c) { return ~c & 0xFFFFFF; });
  ExpectFrame(PaintedFrame(*rendered, window, true), active);
  // With neither, deactivation leaves the frame as it is.
  ExpectFrame(PaintedFrame(*plain, window, false), active);
}

TEST(FramePaint, NothingWithoutSkinOrClientRect) {
  testing::TTestSkinParts parts = testing::SmallFrameSkin();
  const auto skin = testing::LoadTestSkin(parts);
  skin->ClientRect = {};
  const TPaintedFrame painted = PaintedFrame(*skin, {80, 60}, true);
  EXPECT_EQ(painted.Window, TPixmap(80, 60, kUntouched));

  TPixmap window(80, 60, kUntouched);
  TCanvas canvas(&window);
  TqzFramePaintInput none;
  none.Window = {80, 60};
  PaintFrame(canvas, none);
  EXPECT_EQ(window, TPixmap(80, 60, kUntouched));
}

TEST(FramePaint, ObjectsGoIntoTheTopAndBottomStrips) {
  const auto skin = testing::LoadTestSkin(testing::SmallFrameSkin());
  const TSize window{100, 80};  // client (10,15,90,70), bottom strip from y 70
  testing::TObjectSet set;
  auto& top = set.Add({30, 2, 40, 15}, clRed);             // ends at the client top
  auto& bottom = set.Add({30, 72, 40, 78}, clLime);        // below the client
  auto& hidden = set.Add({50, 2, 60, 10}, clBlue);
  hidden.Visible = false;
  auto& rollUpOnly = set.Add({60, 2, 70, 10}, clBlue, true);
  auto& menu = set.Add({70, 2, 80, 12}, clYellow, false, true);
  const TPaintedFrame painted = PaintedFrame(*skin, window, true, &set.Objects);
  auto at = [&](int x, int y) { return Rgb(painted.Window.At(x, y)); };

  EXPECT_EQ(at(30, 2), PixelOf(clRed));
  EXPECT_EQ(at(39, 14), PixelOf(clRed));
  EXPECT_EQ(at(30, 72), PixelOf(clLime));
  EXPECT_EQ(at(39, 77), PixelOf(clLime));
  EXPECT_EQ(at(75, 5), PixelOf(clYellow));
  // The bottom object was drawn in strip coordinates and got its rectangle back.
  ASSERT_EQ(bottom.DrawnAt.size(), 1u);
  EXPECT_EQ(bottom.DrawnAt[0], (TRect{30, 2, 40, 8}));
  EXPECT_EQ(bottom.ObjectRect, (TRect{30, 72, 40, 78}));
  EXPECT_EQ(top.DrawnAt.size(), 1u);
  EXPECT_TRUE(hidden.DrawnAt.empty());
  EXPECT_TRUE(rollUpOnly.DrawnAt.empty());
  EXPECT_EQ(menu.DrawnAt.size(), 1u);
  // An object reaching into the client is not painted over it.
  auto& across = set.Add({30, 10, 40, 20}, clFuchsia);
  const TPaintedFrame again = PaintedFrame(*skin, window, true, &set.Objects);
  EXPECT_EQ(Rgb(again.Window.At(35, 17)), Rgb(kUntouched));
  EXPECT_EQ(across.ObjectRect, (TRect{30, 10, 40, 20}));
}

// ---------------------------------------------------------------------------
// The frame drawn without a skin.

struct TDefaultFrame {
  TPixmap Window{200, 100, kUntouched};
  TqzDefaultFramePaintInput In;
  TFont Font;
  TDefaultFrame() {
    In.Window = {200, 100};
    Font.SetName("Tahoma");
    Font.SetHeight(-11);
    Font.SetColor(clBlack);
    In.ActiveFont = In.InactiveFont = &Font;
  }
  void Paint() {
    TCanvas canvas(&Window);
    PaintDefaultFrame(canvas, In);
  }
  uint32_t At(int x, int y) const { return Rgb(Window.At(x, y)); }
};

TEST(DefaultFramePaint, RingsCaptionBarAndClientLeftAlone) {
  TDefaultFrame f;
  f.Paint();
  const uint32_t face = ColorToRGB(clBtnFace), dark = ColorToRGB(cl3DDkShadow);
  for (TPoint p : {TPoint{0, 50}, TPoint{199, 50}, TPoint{100, 0}, TPoint{100, 99}})
    EXPECT_EQ(f.At(p.X, p.Y), Rgb(PixelFromColorRef(dark))) << p.X << "," << p.Y;
  for (int i : {1, 2}) {
    EXPECT_EQ(f.At(i, 50), Rgb(PixelFromColorRef(face)));
    EXPECT_EQ(f.At(199 - i, 50), Rgb(PixelFromColorRef(face)));
    EXPECT_EQ(f.At(100, 99 - i), Rgb(PixelFromColorRef(face)));
  }
  EXPECT_EQ(f.At(5, 5), Rgb(PixelFromColorRef(face)));  // empty caption bar
  EXPECT_EQ(f.At(50, 22), Rgb(kUntouched));              // client (3, 22, 197, 97)
  EXPECT_EQ(f.At(196, 96), Rgb(kUntouched));
}

TEST(DefaultFramePaint, CaptionTextStaysBetweenTheButtons) {
  TDefaultFrame f;
  f.In.Caption = std::string(80, 'W');
  testing::TObjectSet set;
  set.Add({5, 5, 21, 19}, clNone);      // system menu: caption bitmap x 2..18
  set.Add({150, 5, 166, 19}, clNone);   // first button on the right: x 147..
  set.Add({170, 5, 186, 19}, clNone);
  f.In.Objects = &set.Objects;
  f.Paint();
  const uint32_t face = Rgb(PixelFromColorRef(ColorToRGB(clBtnFace)));
  int textLeft = 1000, textRight = -1;
  for (int y = 3; y < 22; ++y)
    for (int x = 3; x < 197; ++x)
      if (f.At(x, y) != face) {
        textLeft = std::min(textLeft, x);
        textRight = std::max(textRight, x);
      }
  ASSERT_LE(textLeft, textRight) << "some text was drawn";
  // Centred as (room width - text width - 5) / 2: a fitting text may start
  // up to 3 pixels left of the room, never under the buttons beyond that.
  EXPECT_GE(textLeft, 3 + 18 - 3);
  EXPECT_LT(textRight, 3 + 147);
  EXPECT_GT(textRight - textLeft, 100);  // shortened, not dropped
  // Drawn at their rectangles less the border: (5,5) in window coordinates.
  EXPECT_EQ(static_cast<testing::TFillObject&>(*set.Objects[0]).DrawnAt[0], (TRect{2, 2, 18, 16}));
  EXPECT_EQ(set.Objects[0]->ObjectRect, (TRect{5, 5, 21, 19}));
}

TEST(DefaultFramePaint, OnCaptionPaintReplacesTheText) {
  TDefaultFrame f;
  f.In.Caption = "Title";
  f.In.ToolWindow = true;
  f.In.FormActive = false;
  TRect got;
  bool gotActive = true;
  f.In.OnCaptionPaint = [&](TCanvas& c, const TRect& r, bool active) {
    got = r;
    gotActive = active;
    c.Brush().SetColor(clRed);
    c.FillRect({0, 0, 4, 4});
  };
  f.Paint();
  EXPECT_EQ(got, (TRect{0, 0, 194, 15}));
  EXPECT_FALSE(gotActive);
  EXPECT_EQ(f.At(3, 3), PixelOf(clRed));
  EXPECT_EQ(f.At(50, 18), Rgb(kUntouched));  // the tool window's client starts at 18
}

}  // namespace
}  // namespace qz
