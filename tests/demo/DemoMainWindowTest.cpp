// The demo's main window driven headlessly: the three toggle buttons as the
// tab strip of both page controls, the page control keeping the buttons in
// step when its page changes by keyboard, the lifted caption of the pressed
// button, the area bindings after a skin change, the page background and
// the button that shows the second window.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/ui/Application.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Windows.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinLabel.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

// The page areas of "skin.ini" on its main picture.
constexpr TRect kPageArea{29, 172, 424, 555};
constexpr TRect kPageArea2{443, 68, 799, 565};

class DemoMainWindow : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Form1->Show();
    Settle(600);
  }
  void Settle(int ms) {
    Pump();
    for (int t = 0; t < ms; t += 25) {
      hp->AdvanceClock(25);
      Pump();
    }
  }
  void ClickControl(TControl& c) {
    hp->InjectClick(c.ClientToScreen({c.Width() / 2, c.Height() / 2}));
    Settle(100);
  }
  void CtrlTab(bool backwards = false) {
    hp->InjectKeyDown(VK_CONTROL);
    if (backwards) hp->InjectKeyDown(VK_SHIFT);
    hp->InjectKey(VK_TAB);
    if (backwards) hp->InjectKeyUp(VK_SHIFT);
    hp->InjectKeyUp(VK_CONTROL);
    Settle(100);
  }
  // Which of the three toggle buttons are down, as "1", "2" or "3".
  std::string DownButtons() const {
    std::string s;
    if (Form1->qzSkinButton1->Down()) s += "1";
    if (Form1->qzSkinButton2->Down()) s += "2";
    if (Form1->qzSkinButton3->Down()) s += "3";
    return s;
  }
  void ExpectPages(int first, int second) const {
    EXPECT_EQ(Form1->qzSkinPageControl1->ActivePageIndex(), first);
    EXPECT_EQ(Form1->qzSkinPageControl2->ActivePageIndex(), second);
  }
  void ExpectInfo(const std::string& caption, int left, int width) const {
    EXPECT_EQ(Form1->InfoLabel->Caption(), caption);
    EXPECT_EQ(Form1->InfoName->Left(), left);
    EXPECT_EQ(Form1->InfoName->Width(), width);
    EXPECT_EQ(Form1->InfoName->Left() + Form1->InfoName->Width(), 348);
  }
  TForm1* Form1 = nullptr;
  TForm2* Form2 = nullptr;
};

TEST_F(DemoMainWindow, StartsOnAddFileWithBothTabStripsHidden) {
  EXPECT_EQ(DownButtons(), "1");
  ExpectPages(0, 0);
  ExpectInfo("Info:", 43, 305);
  EXPECT_TRUE(Form1->qzSkinPageControl1->TabsHidden());
  EXPECT_TRUE(Form1->qzSkinPageControl2->TabsHidden());
  EXPECT_EQ(Form1->qzSkinPageControl1->PageCount(), 3);
  EXPECT_EQ(Form1->qzSkinPageControl2->PageCount(), 2);
  EXPECT_FALSE(Form1->qzSkinButton1->CanFocused());
  EXPECT_TRUE(Form1->qzSkinButton10->CanFocused());
}

TEST_F(DemoMainWindow, ToggleButtonsSwitchBothPagesAndTheInfoPair) {
  ClickControl(*Form1->qzSkinButton3);
  EXPECT_EQ(DownButtons(), "3");
  ExpectPages(2, 0);
  ExpectInfo("Convert to:", 83, 265);
  // "Edit" leaves the info pair as "Convert" set it.
  ClickControl(*Form1->qzSkinButton2);
  EXPECT_EQ(DownButtons(), "2");
  ExpectPages(1, 1);
  ExpectInfo("Convert to:", 83, 265);
  ClickControl(*Form1->qzSkinButton1);
  EXPECT_EQ(DownButtons(), "1");
  ExpectPages(0, 0);
  ExpectInfo("Info:", 43, 305);
  // A second click on the button that is down keeps one button down.
  ClickControl(*Form1->qzSkinButton1);
  EXPECT_EQ(DownButtons(), "1");
}

TEST_F(DemoMainWindow, KeyboardPageChangesBringTheButtonsAlong) {
  Form1->qzSkinButton10->SetFocus();
  Pump();
  CtrlTab();
  EXPECT_EQ(DownButtons(), "2");
  ExpectPages(1, 1);
  CtrlTab();
  EXPECT_EQ(DownButtons(), "3");
  ExpectPages(2, 0);
  ExpectInfo("Convert to:", 83, 265);
  // Ctrl+Shift+Tab goes back: "Edit" keeps the info pair.
  Form1->qzSkinPageControl1->SetFocus();
  Pump();
  CtrlTab(true);
  EXPECT_EQ(DownButtons(), "2");
  ExpectPages(1, 1);
  ExpectInfo("Convert to:", 83, 265);
}

TEST_F(DemoMainWindow, QualityButtonsAreAGroupOfTheirOwn) {
  ClickControl(*Form1->qzSkinButton2);
  auto* veryHigh = Form1->FindChild<TqzSkinButton>("qzSkinButton6");
  auto* fast = Form1->FindChild<TqzSkinButton>("qzSkinButton9");
  ASSERT_NE(veryHigh, nullptr);
  ASSERT_NE(fast, nullptr);
  EXPECT_TRUE(veryHigh->Down());
  ClickControl(*fast);
  EXPECT_TRUE(fast->Down());
  EXPECT_FALSE(veryHigh->Down());
  EXPECT_EQ(DownButtons(), "2");
  ExpectPages(1, 1);
}

TEST_F(DemoMainWindow, PageChangedInCodeFollowsOnlyWhenTheButtonIsNotDownYet) {
  TqzSkinPageControl& pc = *Form1->qzSkinPageControl1;
  pc.SelectNextPage(true, false);
  pc.SelectNextPage(true, false);
  EXPECT_EQ(DownButtons(), "3");
  ExpectPages(2, 0);
  // Going back to page 0 while "Add file" is up runs its handler too.
  pc.SelectNextPage(true, false);
  EXPECT_EQ(DownButtons(), "1");
  ExpectPages(0, 0);
  ExpectInfo("Info:", 43, 305);
}

TEST_F(DemoMainWindow, PressedToggleButtonLaysItsCaptionOutTwentyPixelsHigher) {
  TqzSkinButton& add = *Form1->qzSkinButton1;
  TqzSkinButton& edit = *Form1->qzSkinButton2;
  EXPECT_EQ(add.NewGeom.NewClRect.Top, add.Geom.ClientRect.Top - TForm1::kDownCaptionLift);
  ClickControl(edit);
  Settle(600);  // the fades between looks end with a full paint
  EXPECT_EQ(edit.NewGeom.NewClRect.Top, edit.Geom.ClientRect.Top - TForm1::kDownCaptionLift);
  EXPECT_EQ(add.NewGeom.NewClRect.Top, add.Geom.ClientRect.Top);
}

// The rows of a control on the screen that hold the exact caption colour.
std::pair<int, int> RowsOfColour(const TPixmap& screen, TControl& c, uint32_t rgb) {
  int first = -1, last = -1;
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) {
      const TPoint s = c.ClientToScreen({x, y});
      if ((screen.At(s.X, s.Y) & 0xFFFFFFu) != rgb) continue;
      if (first < 0) first = y;
      last = y;
      break;
    }
  }
  return {first, last};
}

TEST_F(DemoMainWindow, PressedToggleButtonPaintsItsCaptionTenPixelsHigher) {
  TqzSkinButton& add = *Form1->qzSkinButton1;
  const int index = Form1->qzSkinData1->FindControlIndex("addtab");
  ASSERT_GE(index, 0);
  const auto* d = dynamic_cast<const TqzDataSkinButtonControl*>(
      Form1->qzSkinData1->CtrlList()[size_t(index)].get());
  ASSERT_NE(d, nullptr);
  const uint32_t down = PixelFromColorRef(ColorToRGB(d->DownFontColor)) & 0xFFFFFFu;
  const auto lifted = RowsOfColour(hp->ComposeScreen(), add, down);
  ASSERT_GE(lifted.first, 0);
  // Without the handler the caption is centred in the skin's client
  // rectangle; the handler's rectangle starts 20 pixels higher, so its
  // centre is 10 pixels higher.
  add.OnPaint = nullptr;
  add.NewGeom.NewClRect.Top = add.Geom.ClientRect.Top;
  add.Invalidate();
  Settle(100);
  const auto plain = RowsOfColour(hp->ComposeScreen(), add, down);
  EXPECT_EQ(lifted.first, plain.first - TForm1::kDownCaptionLift / 2);
  EXPECT_EQ(lifted.second, plain.second - TForm1::kDownCaptionLift / 2);
}

TEST_F(DemoMainWindow, SkinChangeRebindsBothPageControlsAndLiftsTheCaptionAgain) {
  TqzSkinPageControl& pc1 = *Form1->qzSkinPageControl1;
  TqzSkinPageControl& pc2 = *Form1->qzSkinPageControl2;
  const TRect bound1 = pc1.BoundsRect(), bound2 = pc2.BoundsRect();
  // The window is larger than the picture: the areas grow with the part of
  // the frame that stretches, from where the picture puts them.
  EXPECT_GE(bound1.Width(), kPageArea.Width());
  EXPECT_GE(bound1.Height(), kPageArea.Height());
  EXPECT_GE(bound2.Width(), kPageArea2.Width());
  EXPECT_GE(bound2.Height(), kPageArea2.Height());
  pc1.SetBounds(0, 0, 50, 50);
  pc2.SetBounds(60, 0, 50, 50);
  Form1->qzSkinData1->LoadFromStoredSkin(*Form1->qzCompressedStoredSkin1);
  Pump();
  EXPECT_EQ(pc1.BoundsRect(), bound1);
  EXPECT_EQ(pc2.BoundsRect(), bound2);
  TqzSkinButton& add = *Form1->qzSkinButton1;
  EXPECT_EQ(add.NewGeom.NewClRect.Top, add.Geom.ClientRect.Top - TForm1::kDownCaptionLift);
}

// The controls that name a skin area stand where the controller places that
// area (a plain panel bound to the same area shows where), and go back there
// after a skin change.
TEST_F(DemoMainWindow, ControlsNamingAnAreaStandOnIt) {
  auto* probe = new TPanel(Form1);
  probe->SetParent(Form1);
  std::vector<TRect> placed;
  for (TqzSkinButton* b : {Form1->qzSkinButton1, Form1->qzSkinButton2, Form1->qzSkinButton3,
                           Form1->InfoButton}) {
    ASSERT_FALSE(b->AreaName().empty());
    Form1->qzOrvane1->BindControlToArea(b->AreaName(), probe);
    EXPECT_EQ(b->BoundsRect().TopLeft(), probe->BoundsRect().TopLeft()) << b->AreaName();
    placed.push_back(b->BoundsRect());
  }
  delete probe;
  Form1->qzSkinButton1->SetBounds(0, 0, 40, 40);
  Form1->InfoButton->SetBounds(5, 5, 40, 40);
  Form1->qzSkinData1->LoadFromStoredSkin(*Form1->qzCompressedStoredSkin1);
  Pump();
  EXPECT_EQ(Form1->qzSkinButton1->BoundsRect(), placed[0]);
  EXPECT_EQ(Form1->InfoButton->BoundsRect(), placed[3]);
}

TEST_F(DemoMainWindow, SkinChangeWithAddFileUpLeavesItsCaptionWhereTheButtonPutIt) {
  ClickControl(*Form1->qzSkinButton3);
  Form1->qzSkinData1->LoadFromStoredSkin(*Form1->qzCompressedStoredSkin1);
  TqzSkinButton& add = *Form1->qzSkinButton1;
  EXPECT_EQ(add.NewGeom.NewClRect.Top, add.Geom.ClientRect.Top);
}

TEST_F(DemoMainWindow, EmptyPageShowsThePageBackgroundOfTheDescription) {
  ClickControl(*Form1->qzSkinButton2);
  Settle(600);
  const TqzSkinData& skin = *Form1->qzSkinData1;
  const int index = skin.FindControlIndex("mainpage");
  ASSERT_GE(index, 0);
  const auto* d = dynamic_cast<const TqzDataSkinTabControl*>(skin.CtrlList()[size_t(index)].get());
  ASSERT_NE(d, nullptr);
  const TBitmap* picture = skin.ActivePicture(d->PictureIndex);
  ASSERT_NE(picture, nullptr);
  // The client piece of the page frame is one flat colour, stretched over
  // the page; take it from the middle of the piece on the picture.
  const TRect piece{d->SkinRect.Left + d->ClientRect.Left, d->SkinRect.Top + d->ClientRect.Top,
                    d->SkinRect.Left + d->ClientRect.Right, d->SkinRect.Top + d->ClientRect.Bottom};
  const uint32_t expected = picture->Pixels().At((piece.Left + piece.Right) / 2,
                                                 (piece.Top + piece.Bottom) / 2) | 0xFF000000u;
  TTabSheet& sheet = *Form1->qzSkinPageControl1->ActivePage();
  ASSERT_EQ(sheet.Caption(), "Edit");
  TPixmap screen = hp->ComposeScreen();
  // Away from the label "Page #2" at the page's top left.
  for (TPoint p : {TPoint{200, 200}, TPoint{sheet.Width() - 10, sheet.Height() - 10},
                   TPoint{10, sheet.Height() / 2}}) {
    const TPoint s = sheet.ClientToScreen(p);
    EXPECT_EQ(screen.At(s.X, s.Y) | 0xFF000000u, expected) << p.X << "," << p.Y;
  }
}

TEST_F(DemoMainWindow, ShowDialogFormShowsTheSecondWindowModally) {
  bool shownDuring = false;
  int step = 0;
  hp->SetIdleHandler([&]() {
    if (step++ > 0) return false;
    shownDuring = IsWindowVisible(Form2->Handle());
    Form2->SetModalResult(mrOk);
    return true;
  });
  ClickControl(*Form1->qzSkinButton11);
  hp->SetIdleHandler({});
  EXPECT_TRUE(shownDuring);
  EXPECT_FALSE(Form2->Visible());
  // The window can be shown again after it closed.
  step = 0;
  shownDuring = false;
  hp->SetIdleHandler([&]() {
    if (step++ > 0) return false;
    shownDuring = IsWindowVisible(Form2->Handle());
    Form2->SetModalResult(mrCancel);
    return true;
  });
  ClickControl(*Form1->qzSkinButton11);
  hp->SetIdleHandler({});
  EXPECT_TRUE(shownDuring);
}

}  // namespace
}  // namespace qz::testing
