// The layered border on real X windows: its four windows appear around a
// form at the frame's places, stay under the form, and follow it when it
// moves (geometry read back from the X server); without a compositor there
// is none.
#include <gtest/gtest.h>

#include <memory>

#include "X11FormTest.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "tests/skinform/LayerBorderTestSkin.h"

namespace qz {
namespace {

class LayerBorderX11Test : public testing::X11FormTest {
 protected:
  void TearDown() override {
    border_.reset();
    X11FormTest::TearDown();
  }
  // Whether a mapped top-level window with exactly these bounds comes up.
  bool Appears(const TRect& bounds) {
    return PumpUntil([&] { return x_->TopLevelAt(bounds) != 0; });
  }
  bool Goes(const TRect& bounds) {
    return PumpUntil([&] { return x_->TopLevelAt(bounds) == 0; });
  }
  std::unique_ptr<TqzSkinData> skin_;
  std::unique_ptr<testing::TTestBorderOwner> owner_;
  std::unique_ptr<TqzFormLayerBorder> border_;
};

// The test frame is 20 wider and 16 taller than the form, which sits 10 in
// and 8 down; strips 10 tall (top, bottom) and 10 wide (sides).
TEST_F(LayerBorderX11Test, WindowsAppearAroundTheFormAndFollowIt) {
  auto* form = new TForm(Application);
  form->SetBorderStyle(bsNone);
  form->SetColor(clWhite);
  form->SetBoundsRect(Bounds(300, 250, 200, 150));
  skin_ = std::make_unique<TqzSkinData>(nullptr);
  skin_->LoadFromContainer(testing::LayerFrameSkin(testing::kPlainLayerKeys).Container());
  owner_ = std::make_unique<testing::TTestBorderOwner>(*form);
  border_ = std::make_unique<TqzFormLayerBorder>(*owner_);
  border_->SetSkin(skin_.get());
  if (!Platform().SupportsPerPixelAlpha()) {
    // The bare server blends nothing: no border windows at all.
    border_->Show();
    form->Show();
    EXPECT_FALSE(border_->Visible());
    return;
  }
  // As the controller does: the border first, then the form, then a repaint.
  border_->Show();
  form->Show();
  border_->Update();

  ASSERT_TRUE(PumpUntil([&] { return x_->Rgb(400, 320) == 0xFFFFFF; }));  // the form is up
  EXPECT_TRUE(Appears(Rect(290, 242, 510, 252)));  // top
  EXPECT_TRUE(Appears(Rect(290, 398, 510, 408)));  // bottom
  EXPECT_TRUE(Appears(Rect(290, 252, 300, 398)));  // left
  EXPECT_TRUE(Appears(Rect(500, 252, 510, 398)));  // right
  // The top strip reaches 2 rows into the form, under it.
  EXPECT_TRUE(PumpUntil([&] { return x_->Rgb(400, 251) == 0xFFFFFF; }));

  form->SetBounds(400, 300, 200, 150);
  border_->SetPosition(400, 300);
  EXPECT_TRUE(Appears(Rect(390, 292, 610, 302)));
  EXPECT_TRUE(Appears(Rect(600, 302, 610, 448)));
  EXPECT_TRUE(Goes(Rect(290, 242, 510, 252)));

  border_->Hide();
  EXPECT_TRUE(Goes(Rect(390, 292, 610, 302)));
}

}  // namespace
}  // namespace qz
