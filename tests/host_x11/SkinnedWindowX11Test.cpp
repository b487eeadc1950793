// Skinned windows on real X windows: forms dressed by the controller with
// the demo skins, driven with XTEST, their shape, pixels and geometry read
// back from the X server.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "X11FormTest.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "host/ui/Windows.h"
#include "skin/form/Orvane.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

using testing::DialogSkin;
using testing::MainSkin;

constexpr uint32_t kWallpaper = 0x2040A0;

class SkinnedWindowX11Test : public testing::X11FormTest {
 protected:
  void SetUp() override {
    X11FormTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    x_->SetWallpaper(kWallpaper);
  }

  struct TSkinned {
    TForm* Form;
    TqzOrvane* Orvane;
  };

  enum class TSkinFirst { BeforeShow, AfterShow };

  // A shown form dressed with `skin`, at `bounds` (client mode: borderless,
  // the bounds are the client area). The skin is loaded before the form is
  // shown, as a streamed form does, or into the visible form (a skin change).
  TSkinned Show(const testing::TDemoSkin& skin, TRect bounds, bool clientMode,
                TSkinFirst order = TSkinFirst::BeforeShow) {
    auto* form = new TForm(Application);
    if (clientMode) form->SetBorderStyle(bsNone);
    form->SetBoundsRect(bounds);
    auto* data = new TqzSkinData(form);
    auto* orvane = new TqzOrvane(form);
    if (clientMode) orvane->SetSupportNCArea(false);
    orvane->SetSkinData(data);
    if (order == TSkinFirst::BeforeShow) data->LoadFromCompressedData(skin.Compressed);
    form->Show();
    if (order == TSkinFirst::AfterShow) {
      PumpUntil([&] { return x_->TopLevelAt(form->BoundsRect()) != 0; });
      data->LoadFromCompressedData(skin.Compressed);
    }
    return {form, orvane};
  }

  // Waits until the X server shows a mapped window at the form's bounds
  // and the form is fully faded in.
  bool Up(TForm* form) {
    return PumpUntil([&] { return x_->TopLevelAt(form->BoundsRect()) != 0; }) &&
           PumpUntil([&] { return x_->Rgb(form->Left() + form->Width() / 2,
                                          form->Top() + form->Height() / 2) != kWallpaper; });
  }

  void MoveTo(TPoint p) {
    x_->Move(p.X, p.Y);
    PumpUntil([&] {
      TPoint at;
      return GetCursorPos(at) && at == p;
    });
  }

  // A left-button drag through a middle point, as a hand does.
  void Drag(TPoint from, TPoint to) {
    MoveTo(from);
    x_->Button(1, true);
    x_->Move((from.X + to.X) / 2, (from.Y + to.Y) / 2);
    x_->Move(to.X, to.Y);
    x_->Button(1, false);
  }

  static uint32_t Rgb(uint32_t argb) { return argb & 0xFFFFFF; }
};

// The demo's main window: client mode, 848 x 645, not sizeable. The main
// skin keeps its top-left quarter as it is when stretched: there the
// screen shows the skin's picture, and its cut-off corner the desktop.
// The skin comes to the visible window (see the disabled test below).
TEST_F(SkinnedWindowX11Test, ClientModeWindowIsShapedByTheMask) {
  auto s = Show(MainSkin(), Bounds(100, 80, 848, 645), true, TSkinFirst::AfterShow);
  s.Orvane->SetSizeable(false);
  ASSERT_TRUE(Up(s.Form));
  ASSERT_EQ(s.Form->BoundsRect(), Bounds(100, 80, 848, 645));
  const TPixmap& picture = MainSkin().Skin->Picture().Pixels();
  for (TPoint p : {TPoint{300, 300}, TPoint{40, 100}, TPoint{200, 20}})
    EXPECT_TRUE(Shows(100 + p.X, 80 + p.Y, Rgb(picture.At(p.X, p.Y)))) << p.X << "," << p.Y;

  const auto window = x_->TopLevelAt(s.Form->BoundsRect());
  ASSERT_NE(window, 0u);
  const TRegion shape = x_->Shape(window, false);
  EXPECT_FALSE(shape.Contains({0, 0}));
  EXPECT_TRUE(shape.Contains({300, 300}));
  EXPECT_TRUE(Shows(100, 80, kWallpaper));
}

// A client-mode form that has its skin before it is first shown (every
// streamed form) is shaped from its first show, by the mask stretched to
// its size.
TEST_F(SkinnedWindowX11Test, ClientModeShapeFromTheFirstShowAndAtEverySize) {
  auto s = Show(MainSkin(), Bounds(100, 80, 848, 645), true);
  ASSERT_TRUE(Up(s.Form));
  const auto window = x_->TopLevelAt(s.Form->BoundsRect());
  ASSERT_NE(window, 0u);
  const TRegion shape = x_->Shape(window, false);
  EXPECT_FALSE(shape.Contains({0, 0}));
  EXPECT_TRUE(shape.Contains({835, 300}));
  EXPECT_TRUE(shape.Contains({300, 630}));
  EXPECT_TRUE(Shows(100, 80, kWallpaper));
}

// The caption object answers HTCAPTION: a drag on it moves the real window.
TEST_F(SkinnedWindowX11Test, CaptionDragMovesTheRealWindow) {
  auto s = Show(DialogSkin(), Bounds(100, 100, 393, 268), false);
  ASSERT_TRUE(Up(s.Form));
  ASSERT_EQ(SendMessage(s.Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(250, 115)), HTCAPTION);

  Drag({250, 115}, {350, 195});
  ASSERT_TRUE(PumpUntil([&] { return s.Form->Left() == 200 && s.Form->Top() == 180; }))
      << s.Form->Left() << "," << s.Form->Top();
  EXPECT_NE(ShownWindow(Bounds(200, 180, 393, 268)), 0u);
  EXPECT_TRUE(PumpUntil([&] { return x_->Rgb(200 + 196, 180 + 134) != kWallpaper; }));
  EXPECT_TRUE(Shows(150, 130, kWallpaper));  // where the window was
}

// The right border of a sizeable frame-mode dialog answers HTRIGHT: a drag
// on it widens the real window.
TEST_F(SkinnedWindowX11Test, BorderDragSizesTheRealWindow) {
  auto s = Show(DialogSkin(), Bounds(100, 100, 393, 268), false);
  ASSERT_TRUE(s.Orvane->Sizeable());
  ASSERT_TRUE(Up(s.Form));
  const TPoint edge{100 + 391, 100 + 150};
  ASSERT_EQ(SendMessage(s.Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(edge.X, edge.Y)), HTRIGHT);

  Drag(edge, {edge.X + 60, edge.Y + 30});
  ASSERT_TRUE(PumpUntil([&] { return s.Form->Width() == 453; })) << s.Form->Width();
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(100, 100, 453, 268));
  EXPECT_NE(ShownWindow(Bounds(100, 100, 453, 268)), 0u);
}

// dialog.ini has a [LAYERFRAME]: its four windows stand around the form and
// go with it when the user moves it by the caption. The skin comes to the
// visible form (see the disabled test below).
TEST_F(SkinnedWindowX11Test, LayeredBorderFollowsTheMovedWindow) {
  auto s = Show(DialogSkin(), Bounds(100, 100, 393, 268), false, TSkinFirst::AfterShow);
  ASSERT_TRUE(Up(s.Form));
  TqzFormLayerBorder& border = s.Orvane->LayerBorder();
  if (!Platform().SupportsPerPixelAlpha()) {
    // Nothing would blend the shadow on a bare server: no border windows.
    EXPECT_FALSE(border.Used());
    EXPECT_FALSE(border.Visible());
    return;
  }
  ASSERT_TRUE(PumpUntil([&] { return border.Visible(); }));

  constexpr std::array kSides{TqzBorderSide::Top, TqzBorderSide::Bottom, TqzBorderSide::Left,
                              TqzBorderSide::Right};
  std::array<TRect, 4> before;
  for (size_t i = 0; i < kSides.size(); ++i) {
    ASSERT_TRUE(GetWindowRect(border.Window(kSides[i]), before[i]));
    EXPECT_NE(ShownWindow(before[i]), 0u) << "side " << i;
  }

  Drag({250, 115}, {330, 175});
  ASSERT_TRUE(PumpUntil([&] { return s.Form->Left() == 180 && s.Form->Top() == 160; }))
      << s.Form->Left() << "," << s.Form->Top();
  for (size_t i = 0; i < kSides.size(); ++i) {
    const TRect moved = OffsetRect(before[i], 80, 60);
    EXPECT_TRUE(PumpUntil([&] { return x_->TopLevelAt(moved) != 0; })) << "side " << i;
    EXPECT_TRUE(PumpUntil([&] { return x_->TopLevelAt(before[i]) == 0; })) << "side " << i;
  }
}

// A form that has its skin before it is first shown shows its layered
// border with it.
TEST_F(SkinnedWindowX11Test, LayeredBorderAppearsOnTheFirstShow) {
  auto s = Show(DialogSkin(), Bounds(100, 100, 393, 268), false);
  ASSERT_TRUE(Up(s.Form));
  // Only where something blends it: a compositor runs.
  const bool blended = Platform().SupportsPerPixelAlpha();
  EXPECT_EQ(PumpUntil([&] { return s.Orvane->LayerBorder().Visible(); }), blended);
}

}  // namespace
}  // namespace qz
