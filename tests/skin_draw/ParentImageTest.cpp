// GetParentImage: the parent's background shifted under the control, then the
// earlier window-less siblings that overlap it; later siblings stay out.
#include <gtest/gtest.h>

#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Forms.h"
#include "skin/draw/ParentImage.h"
#include "skin/draw/QZUtils.h"

namespace qz {
namespace {

class ParentImageTest : public ::testing::Test {
 protected:
  void SetUp() override { TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>()); }
  void TearDown() override {
    TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>());
  }
};

// A window-less control that fills itself with one colour.
class TSolid : public TGraphicControl {
 public:
  TSolid(TComponent* owner, TColor c) : TGraphicControl(owner), color_(c) {}
  void Paint() override {
    Canvas().Brush().SetColor(color_);
    Canvas().FillRect(ClientRect());
  }

 private:
  TColor color_;
};

// A container that paints its own background: a different colour per half.
class TSplitPanel : public TPanel, public IqzBackgroundPainter {
 public:
  using TPanel::TPanel;
  void PaintBackground(TCanvas& c) override {
    c.Brush().SetColor(clRed);
    c.FillRect({0, 0, ClientWidth() / 2, ClientHeight()});
    c.Brush().SetColor(clBlue);
    c.FillRect({ClientWidth() / 2, 0, ClientWidth(), ClientHeight()});
  }
};

uint32_t Px(TColor c) { return PixelFromColorRef(ColorToRGB(c)) & 0xFFFFFF; }

TEST_F(ParentImageTest, ParentBackgroundThenEarlierGraphicSiblings) {
  auto* form = new TForm(Application);
  form->SetBounds(100, 100, 300, 200);
  auto* panel = new TSplitPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 200, 100);
  auto* before = new TSolid(form, clLime);
  before->SetParent(panel);
  before->SetBounds(90, 10, 20, 20);
  auto* control = new TSolid(form, clWhite);
  control->SetParent(panel);
  control->SetBounds(80, 0, 40, 40);
  auto* after = new TSolid(form, clYellow);
  after->SetParent(panel);
  after->SetBounds(80, 0, 10, 10);
  form->Show();
  Application->ProcessMessages();

  TPixmap pixels(40, 40);
  TCanvas canvas(&pixels);
  GetParentImage(control, canvas);
  EXPECT_EQ(pixels.At(5, 30) & 0xFFFFFF, Px(clRed));    // parent x 85: left half
  EXPECT_EQ(pixels.At(30, 30) & 0xFFFFFF, Px(clBlue));  // parent x 110: right half
  EXPECT_EQ(pixels.At(15, 15) & 0xFFFFFF, Px(clLime));  // the earlier sibling
  EXPECT_EQ(pixels.At(2, 2) & 0xFFFFFF, Px(clRed));     // the later sibling is not drawn
  EXPECT_EQ(canvas.ViewportOrg(), Point(0, 0));         // the canvas state is restored
}

}  // namespace
}  // namespace qz

#include "host/ui/ImgList.h"

namespace qz {
namespace {

TEST(ImageAndText, ImageListImageIsCentredWithoutCaption) {
  TImageList images(nullptr);
  images.SetWidth(8);
  images.SetHeight(8);
  TBitmap red(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) red.Pixels().At(x, y) = 0xFFFF0000u;
  images.Add(red, nullptr);
  TPixmap pixels(40, 20, 0xFFFFFFFFu);
  TCanvas canvas(&pixels);
  DrawImageAndText(canvas, {0, 0, 40, 20}, "", &images, 0, true, {});
  // m = (8 + 0 + 1) div 2 = 4: the image starts at (20 - 4, 10 - 4).
  EXPECT_EQ(pixels.At(16, 6), 0xFFFF0000u);
  EXPECT_EQ(pixels.At(23, 13), 0xFFFF0000u);
  EXPECT_EQ(pixels.At(15, 6), 0xFFFFFFFFu);
  EXPECT_EQ(pixels.At(24, 13), 0xFFFFFFFFu);
  // An index outside the list draws nothing.
  TPixmap blank(40, 20, 0xFFFFFFFFu);
  TCanvas c2(&blank);
  DrawImageAndText(c2, {0, 0, 40, 20}, "", &images, 5, true, {});
  EXPECT_EQ(blank, TPixmap(40, 20, 0xFFFFFFFFu));
}

}  // namespace
}  // namespace qz
