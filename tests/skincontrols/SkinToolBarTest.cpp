// The skinned tool bar: vertical centring of its children, the settings it
// hands to tool buttons, the two caption widths and scrolling a long row.
#include <gtest/gtest.h>

#include "host/components/FormResource.h"
#include "host/ui/ImgList.h"
#include "host/ui/StdCtrls.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/data/SkinData.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skinform/FramePaintTestKit.h"

namespace qz {
namespace {

// A tool button that records what the bar tells it.
class TFakeToolButton : public TGraphicControl, public IqzToolBarButton {
 public:
  using TGraphicControl::TGraphicControl;
  void SetFlat(bool v) override { flat = v; }
  void SetShowCaption(bool v) override { showCaption = v; }
  void ToolBarImagesChanged() override { ++imageChanges; }
  bool flat = false, showCaption = false;
  int imageChanges = 0;
};

class SkinToolBarTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 600, 300}, bsNone);
    bar = new TqzSkinToolBar(form);
    bar->SetParent(form);
    bar->SetBounds(10, 10, 300, 25);
    Pump();
  }
  template <class T>
  T* Child(int left, int top, int w, int h) {
    auto* c = new T(form);
    c->SetParent(bar);
    c->SetBounds(left, top, w, h);
    Pump();
    return c;
  }
  // A point inside the bar's window, in screen coordinates.
  TPoint WindowPoint(int x, int y) {
    TRect r;
    GetWindowRect(HWND(bar), r);
    return {r.Left + x, r.Top + y};
  }

  TForm* form = nullptr;
  TqzSkinToolBar* bar = nullptr;
};

TEST_F(SkinToolBarTest, CentresPlainChildrenAndLetsSkinnedOnesPlaceThemselves) {
  EXPECT_EQ(bar->Height(), 25);
  EXPECT_EQ(bar->SkinDataName(), "toolpanel");
  auto* probe = Child<testing::TProbe>(5, 0, 40, 11);
  EXPECT_EQ(probe->Top(), 7);  // centred as soon as it is placed
  auto* label = Child<TLabel>(50, 2, 40, 13);
  EXPECT_EQ(label->Top(), 6);
  auto* button = Child<TqzSkinButton>(100, 0, 40, 23);
  auto* aligned = Child<testing::TProbe>(0, 0, 20, 9);
  aligned->SetAlign(alRight);
  Pump();
  // Client height 25: top = 12 - height div 2.
  EXPECT_EQ(probe->Top(), 7);
  EXPECT_EQ(label->Top(), 6);
  EXPECT_EQ(button->Top(), 1);
  EXPECT_EQ(aligned->BoundsRect(), (TRect{280, 0, 300, 25}));

  // A taller bar moves every child to its new middle (20 - height div 2).
  bar->SetHeight(41);
  Pump();
  EXPECT_EQ(probe->Top(), 15);
  EXPECT_EQ(label->Top(), 14);
  EXPECT_EQ(button->Top(), 9);
  // A child moved by itself goes back to the middle.
  label->SetTop(0);
  EXPECT_EQ(label->Top(), 14);

  // Without AdjustControls children keep the tops they are given.
  bar->SetAdjustControls(false);
  label->SetTop(3);
  button->SetTop(2);
  Pump();
  EXPECT_EQ(label->Top(), 3);
  EXPECT_EQ(button->Top(), 2);
}

TEST_F(SkinToolBarTest, CaptionStateSwitchesBetweenTheTwoWidths) {
  auto* tool = Child<TFakeToolButton>(0, 0, 30, 20);
  bar->SetWidthWithCaptions(200);
  bar->SetWidthWithoutCaptions(80);
  bar->SetShowCaptions(true);
  EXPECT_EQ(bar->Width(), 200);
  EXPECT_FALSE(tool->showCaption);  // not passed without AutoShowHideCaptions
  bar->SetAutoShowHideCaptions(true);
  bar->SetShowCaptions(false);
  EXPECT_EQ(bar->Width(), 80);
  EXPECT_FALSE(tool->showCaption);
  bar->SetShowCaptions(true);
  EXPECT_TRUE(tool->showCaption);

  // With one width unset the bar keeps its width.
  bar->SetWidthWithoutCaptions(0);
  bar->SetShowCaptions(false);
  EXPECT_EQ(bar->Width(), 200);
  EXPECT_FALSE(tool->showCaption);
}

TEST_F(SkinToolBarTest, FlatAndImageListsReachToolButtons) {
  auto* tool = Child<TFakeToolButton>(0, 0, 30, 20);
  Child<testing::TProbe>(40, 0, 30, 20);  // not a tool button: left alone
  bar->SetFlat(true);
  EXPECT_TRUE(tool->flat);
  auto* images = new TImageList(form);
  bar->SetImages(images);
  bar->SetHotImages(images);
  EXPECT_EQ(tool->imageChanges, 2);
  // Image lists that go away are dropped.
  delete images;
  EXPECT_EQ(bar->Images(), nullptr);
  EXPECT_EQ(bar->HotImages(), nullptr);
}

TEST_F(SkinToolBarTest, ScrollsARowWiderThanTheBar) {
  bar->SetWidth(100);
  bar->SetScrollOffset(30);
  testing::TProbe* row[3];
  for (int i = 0; i < 3; ++i) row[i] = Child<testing::TProbe>(i * 50, 0, 50, 20);
  EXPECT_FALSE(bar->ScrollArrowsShown());
  EXPECT_EQ(bar->ClientWidth(), 100);

  bar->SetCanScroll(true);
  Pump();
  ASSERT_TRUE(bar->ScrollArrowsShown());
  EXPECT_EQ(bar->ClientWidth(), 100 - 2 * TqzSkinToolBar::kScrollArrowWidth);
  EXPECT_EQ(bar->MaxScrollPosition(), 150 - 76);
  // The plain arrow areas: framed in the shadow colour, filled with face.
  EXPECT_EQ(ScreenPixel(WindowPoint(0, 12)) & 0xFFFFFFu, Rgb(PlainShadowColor()) & 0xFFFFFFu);
  EXPECT_EQ(ScreenPixel(WindowPoint(99, 1)) & 0xFFFFFFu, Rgb(PlainShadowColor()) & 0xFFFFFFu);
  EXPECT_EQ(ScreenPixel(WindowPoint(1, 1)) & 0xFFFFFFu, Rgb(PlainFaceColor()) & 0xFFFFFFu);
  EXPECT_EQ(row[0]->ClientToScreen({0, 0}).X, WindowPoint(12, 0).X);
  // The second child reaches under the right arrow area, which hides it.
  const TPixmap screen = hp->ComposeScreen();
  for (int x = 100 - TqzSkinToolBar::kScrollArrowWidth; x < 100; ++x)
    for (int y = 0; y < 25; ++y) {
      const TPoint p = WindowPoint(x, y);
      ASSERT_NE(screen.At(p.X, p.Y) & 0xFFFFFFu, Rgb(clRed) & 0xFFFFFFu) << x << "," << y;
    }

  bar->ScrollRight();
  EXPECT_EQ(bar->ScrollPosition(), 30);
  EXPECT_EQ(row[0]->Left(), -30);
  bar->ScrollRight();
  bar->ScrollRight();
  EXPECT_EQ(bar->ScrollPosition(), 74);  // clamped at the row's end
  EXPECT_EQ(row[2]->Left(), 100 - 74);
  bar->ScrollLeft();
  EXPECT_EQ(bar->ScrollPosition(), 44);

  // Growing gives back the growth first.
  bar->SetWidth(130);
  Pump();
  EXPECT_EQ(bar->ScrollPosition(), 14);
  EXPECT_EQ(row[0]->Left(), -14);
  EXPECT_TRUE(bar->ScrollArrowsShown());

  // Shrinking keeps the position inside the row.
  bar->SetWidth(130);
  bar->ScrollRight();
  bar->ScrollRight();
  EXPECT_EQ(bar->ScrollPosition(), 150 - 106);

  // A row that fits again moves back, and the arrows go.
  bar->SetWidth(200);
  Pump();
  EXPECT_FALSE(bar->ScrollArrowsShown());
  EXPECT_EQ(bar->ScrollPosition(), 0);
  EXPECT_EQ(bar->ClientWidth(), 200);
  EXPECT_EQ(row[0]->Left(), 0);
  EXPECT_EQ(row[2]->Left(), 100);
}

TEST_F(SkinToolBarTest, TurningScrollingOffPutsTheRowBack) {
  bar->SetWidth(100);
  auto* first = Child<testing::TProbe>(0, 0, 80, 20);
  Child<testing::TProbe>(80, 0, 80, 20);
  bar->SetCanScroll(true);
  bar->ScrollRight();
  EXPECT_EQ(first->Left(), -TqzSkinToolBar::kDefaultScrollStep);
  bar->SetCanScroll(false);
  EXPECT_FALSE(bar->ScrollArrowsShown());
  EXPECT_EQ(first->Left(), 0);
}

TEST_F(SkinToolBarTest, PressingAnArrowScrollsOnTheTimerUntilRelease) {
  bar->SetWidth(100);
  bar->SetScrollOffset(5);
  auto* first = Child<testing::TProbe>(0, 0, 90, 20);
  Child<testing::TProbe>(90, 0, 90, 20);
  bar->SetCanScroll(true);
  Pump();
  ASSERT_TRUE(bar->ScrollArrowsShown());

  hp->InjectMouseMove(WindowPoint(100 - 6, 12));
  hp->InjectMouseDown();
  Pump();
  EXPECT_EQ(bar->ScrollPosition(), 5);
  for (int i = 0; i < 2; ++i) {
    hp->AdvanceClock(50);
    Pump();
  }
  EXPECT_EQ(bar->ScrollPosition(), 15);
  EXPECT_EQ(first->Left(), -15);
  hp->InjectMouseUp();
  Pump();
  hp->AdvanceClock(50);
  Pump();
  EXPECT_EQ(bar->ScrollPosition(), 15);

  // The left arrow goes back.
  Click(WindowPoint(3, 12));
  EXPECT_EQ(bar->ScrollPosition(), 10);
}

TEST_F(SkinToolBarTest, HotScrollScrollsWhileThePointerRests) {
  bar->SetWidth(100);
  bar->SetHotScroll(true);
  Child<testing::TProbe>(0, 0, 90, 20);
  Child<testing::TProbe>(90, 0, 90, 20);
  bar->SetCanScroll(true);
  Pump();
  Move(WindowPoint(100 - 6, 12));
  EXPECT_EQ(bar->ScrollPosition(), 0);
  hp->AdvanceClock(50);
  Pump();
  EXPECT_EQ(bar->ScrollPosition(), 10);
  // Off the arrow the scrolling stops.
  Move(WindowPoint(50, 12));
  hp->AdvanceClock(50);
  Pump();
  EXPECT_EQ(bar->ScrollPosition(), 10);
}

TEST_F(SkinToolBarTest, ArrowsTakeTheResizeButtonDescriptionOnlyWithAToolPanel) {
  testing::TTestSkinParts parts;
  parts.Picture = testing::Pattern(8, 8, 9);
  parts.Active.push_back(testing::Pattern(60, 40, 3));
  parts.Text =
      "[SKINCONTROLS]\r\ncount=2\r\n0=toolpanel:panel\r\n1=resizebutton:button\r\n"
      "[toolpanel]\r\npictureindex=0\r\nskinrect=0,0,40,20\r\nlefttoppoint=5,5\r\n"
      "righttoppoint=35,5\r\nleftbottompoint=5,15\r\nrightbottompoint=35,15\r\n"
      "clientrect=5,5,35,15\r\n"
      "[resizebutton]\r\npictureindex=0\r\nskinrect=40,0,60,20\r\nclientrect=3,3,17,17\r\n";
  auto skin = testing::LoadTestSkin(parts);
  bar->SetSkinData(skin.get());
  ASSERT_NE(bar->ArrowDescription(), nullptr);
  EXPECT_EQ(bar->ArrowDescription()->SkinRect, (TRect{40, 0, 60, 20}));

  bar->SetSkinDataName("nosuchpanel");
  bar->ChangeSkinData();
  EXPECT_EQ(bar->ArrowDescription(), nullptr);
  bar->SetSkinData(nullptr);
}

TEST_F(SkinToolBarTest, PublishedPropertiesStream) {
  form->SetName("Form1");
  bar->SetName("qzSkinToolBar1");
  bar->SetCanScroll(true);
  bar->SetHotScroll(true);
  bar->SetScrollOffset(7);
  bar->SetScrollTimerInterval(80);
  bar->SetAutoShowHideCaptions(true);
  bar->SetWidthWithCaptions(220);
  bar->SetWidthWithoutCaptions(90);
  bar->SetFlat(true);
  bar->SetAdjustControls(false);
  auto* images = new TImageList(form);
  images->SetName("ImageList1");
  bar->SetImages(images);
  const std::string text = WriteComponentRes(form);
  // The defaults of a new bar are not written.
  const std::string barText = text.substr(text.find("object qzSkinToolBar1"));
  EXPECT_EQ(barText.find("SkinDataName"), std::string::npos) << text;
  EXPECT_EQ(barText.find("BorderStyle"), std::string::npos) << text;

  form->SetName("Original");
  auto* copy = new TForm(Application);
  ReadComponentRes(copy, text);
  auto* read = dynamic_cast<TqzSkinToolBar*>(copy->FindComponent("qzSkinToolBar1"));
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->CanScroll());
  EXPECT_TRUE(read->HotScroll());
  EXPECT_EQ(read->ScrollOffset(), 7);
  EXPECT_EQ(read->ScrollTimerInterval(), 80);
  EXPECT_TRUE(read->AutoShowHideCaptions());
  EXPECT_EQ(read->WidthWithCaptions(), 220);
  EXPECT_EQ(read->WidthWithoutCaptions(), 90);
  EXPECT_TRUE(read->Flat());
  EXPECT_FALSE(read->AdjustControls());
  EXPECT_EQ(read->BorderStyle(), TqzSkinBorderStyle::bvNone);
  EXPECT_EQ(read->Images(), copy->FindComponent("ImageList1"));
}

}  // namespace
}  // namespace qz
