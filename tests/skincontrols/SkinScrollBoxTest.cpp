// The skinned scroll box: its bars mirror the box's ranges and positions,
// moving a bar scrolls, and the links survive either side going away.
#include <gtest/gtest.h>

#include "host/components/FormResource.h"
#include "skin/controls/SkinScrollBox.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/QzComposition.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

class SkinScrollBoxTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsNone);
    box = new TqzSkinScrollBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 150, 100);
    box->SetBorderStyle(TqzSkinBorderStyle::bvNone);  // client = bounds
    vbar = new TqzSkinScrollBar(form);
    vbar->SetParent(form);
    vbar->SetKind(sbVertical);
    vbar->SetBounds(160, 10, 19, 100);
    hbar = new TqzSkinScrollBar(form);
    hbar->SetParent(form);
    hbar->SetBounds(10, 110, 150, 19);
    box->SetVScrollBar(vbar);
    box->SetHScrollBar(hbar);
    Pump();
  }
  TControl* Child(TRect r) {
    auto* c = new TBevel(form);
    c->SetParent(box);
    c->SetBoundsRect(r);
    return c;
  }

  TForm* form = nullptr;
  TqzSkinScrollBox* box = nullptr;
  TqzSkinScrollBar* vbar = nullptr;
  TqzSkinScrollBar* hbar = nullptr;
};

TEST_F(SkinScrollBoxTest, BarsAppearWithContentAndMirrorTheRange) {
  EXPECT_EQ(box->Width(), 150);
  EXPECT_FALSE(vbar->Visible());
  EXPECT_FALSE(hbar->Visible());
  TControl* a = Child({0, 0, 100, 60});
  EXPECT_FALSE(vbar->Visible());
  TControl* b = Child({0, 200, 100, 260});
  ASSERT_TRUE(vbar->Visible());
  EXPECT_EQ(vbar->Min(), 0);
  EXPECT_EQ(vbar->Max(), 259);
  EXPECT_EQ(vbar->PageSize(), box->ClientHeight());
  EXPECT_FALSE(hbar->Visible());
  EXPECT_TRUE(hbar->Both());  // it follows the vertical bar even while hidden
  // Content wider than the box: the horizontal bar leaves the corner.
  a->SetWidth(400);
  EXPECT_TRUE(hbar->Visible());
  EXPECT_TRUE(hbar->Both());
  EXPECT_EQ(hbar->Max(), 399);
  // Removing the far child hides the vertical bar again.
  delete b;
  EXPECT_FALSE(vbar->Visible());
  EXPECT_FALSE(hbar->Both());
}

TEST_F(SkinScrollBoxTest, MovingABarScrollsAndScrollingMovesTheBar) {
  TControl* a = Child({0, 0, 100, 60});
  TControl* b = Child({0, 200, 100, 260});
  vbar->SetPosition(100);
  EXPECT_EQ(box->VertPosition(), 100);
  EXPECT_EQ(a->Top(), -100);
  EXPECT_EQ(b->Top(), 100);
  // The bar keeps to the last page: 260 - 100 = 160.
  vbar->SetPosition(1000);
  EXPECT_EQ(vbar->Position(), 160);
  EXPECT_EQ(box->VertPosition(), 160);
  box->SetVertPosition(40);
  EXPECT_EQ(vbar->Position(), 40);
  // Growing the box pulls the content back and the bar follows.
  box->SetHeight(240);
  EXPECT_EQ(box->VertPosition(), 20);
  EXPECT_EQ(vbar->Position(), 20);
  EXPECT_EQ(vbar->PageSize(), 240);
}

TEST_F(SkinScrollBoxTest, DraggingTheLinkedBarScrollsTheChildren) {
  TControl* a = Child({0, 0, 100, 300});
  Pump();
  const TRect thumb = vbar->Layout().Thumb;
  Move(vbar->ClientToScreen({9, thumb.Top + 2}));
  hp->InjectMouseDown();
  Pump();
  Move(vbar->ClientToScreen({9, 500}));
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(box->VertPosition(), 200);
  EXPECT_EQ(a->Top(), -200);
}

TEST_F(SkinScrollBoxTest, LinksSurviveEitherSideGoingAway) {
  Child({0, 0, 100, 300});
  delete vbar;
  EXPECT_EQ(box->VScrollBar(), nullptr);
  box->SetVertPosition(50);  // no bar to mirror
  EXPECT_EQ(box->VertPosition(), 50);
  delete box;
  hbar->SetPosition(10);  // its handler is gone with the box
  EXPECT_EQ(hbar->Position(), 0);
}

TEST_F(SkinScrollBoxTest, FrameTakesTheBordersOutsideTheClient) {
  box->SetBorderStyle(TqzSkinBorderStyle::bvFrame);
  Pump();
  EXPECT_EQ(box->ClientWidth(), 148);
  EXPECT_EQ(box->ClientHeight(), 98);
  const TPixmap screen = hp->ComposeScreen();
  const TPoint origin = box->ClientToScreen({0, 0});
  EXPECT_EQ(screen.At(origin.X - 1, origin.Y - 1) & 0xFFFFFF, Rgb(clBtnShadow) & 0xFFFFFF);
  EXPECT_EQ(screen.At(origin.X, origin.Y) & 0xFFFFFF, Rgb(box->Color()) & 0xFFFFFF);
  // Children scroll inside the frame.
  TControl* a = Child({0, 0, 100, 300});
  EXPECT_EQ(vbar->PageSize(), 98);
  vbar->SetPosition(500);
  EXPECT_EQ(box->VertPosition(), 202);
  EXPECT_EQ(a->BoundsRect().Bottom, 98);

  // Skinned: the description's borders, drawn from its border strips.
  const TDemoSkin& s = MainSkin();
  box->SetSkinData(s.Skin.get());
  Pump();
  const auto& d = dynamic_cast<const TqzDataSkinScrollBoxControl&>(*box->SkinDescription());
  const int left = d.ClientRect.Left, top = d.ClientRect.Top;
  EXPECT_EQ(box->ClientWidth(), 150 - left - (d.SkinRect.Width() - d.ClientRect.Right));
  EXPECT_EQ(box->ClientHeight(), 100 - top - (d.SkinRect.Height() - d.ClientRect.Bottom));
  TBitmap stripTop, stripBottom, stripLeft, stripRight;
  CreateSkinBorderImages(box->Geometry(), box->NewGeometry(150, 100), 150, 100,
                         *s.Skin->ActivePicture(d.PictureIndex), stripTop, stripBottom, stripLeft, stripRight);
  const TPixmap shown = hp->ComposeScreen();
  const TPoint at = box->ClientToScreen({-left, -top});
  for (int x = 0; x < 150; ++x)
    ASSERT_EQ(shown.At(at.X + x, at.Y) & 0xFFFFFF, stripTop.Pixels().At(x, 0) & 0xFFFFFF) << x;
}

TEST_F(SkinScrollBoxTest, LinksStreamAndAreTakenOverOnLoad) {
  form->SetName("Form1");
  box->SetName("qzSkinScrollBox1");
  vbar->SetName("qzSkinScrollBar1");
  hbar->SetName("qzSkinScrollBar2");
  box->SetHScrollBar(nullptr);
  vbar->SetVisible(true);
  const std::string text = WriteComponentRes(form);
  EXPECT_NE(text.find("VScrollBar = qzSkinScrollBar1"), std::string::npos) << text;
  EXPECT_EQ(text.find("HScrollBar"), std::string::npos) << text;
  form->SetName("Original");
  auto* copy = new TForm(Application);
  ReadComponentRes(copy, text);
  auto* readBox = dynamic_cast<TqzSkinScrollBox*>(copy->FindComponent("qzSkinScrollBox1"));
  auto* readBar = dynamic_cast<TqzSkinScrollBar*>(copy->FindComponent("qzSkinScrollBar1"));
  ASSERT_NE(readBox, nullptr);
  ASSERT_EQ(readBox->VScrollBar(), readBar);
  EXPECT_FALSE(readBar->Visible());  // nothing to scroll
  EXPECT_EQ(readBox->SkinDataName(), "scrollbox");
}

}  // namespace
}  // namespace qz::testing
