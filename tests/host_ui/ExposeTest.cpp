// A child window that stops covering part of its parent (moved, shrunk,
// hidden, reshaped, lowered or removed) leaves no picture of itself behind:
// the parent and the sibling windows under the uncovered area repaint, with
// their own children, even when every window clips its children.
#include "UiTestSupport.h"

namespace qz::testing {
namespace {

// A probe that clips its children, as forms and most containers do, so its
// own invalidation never reaches them.
class TClippingProbe : public TProbe {
 public:
  using TProbe::TProbe;

 protected:
  void CreateParams(TCreateParams& p) override {
    TProbe::CreateParams(p);
    p.Style |= WS_CLIPCHILDREN;
  }
};

class ExposeTest : public UiTest {
 protected:
  TForm* form = nullptr;
  TClippingProbe* below = nullptr;  // a clipping sibling with a child
  TProbe* belowChild = nullptr;
  TProbe* cover = nullptr;          // lies over both, then leaves
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsSizeable, "Expose");
    form->OnPaint = [this](TObject*) {
      form->Canvas().Brush().SetColor(clFuchsia);
      form->Canvas().FillRect(form->ClientRect());
    };
    below = Add<TClippingProbe>(form, {10, 10, 210, 160}, clRed);
    belowChild = Add<TProbe>(below, {20, 20, 120, 120}, clLime);
    cover = Add<TProbe>(form, {0, 0, 300, 200}, clBlue);
    Pump();
    EXPECT_EQ(At({50, 50}), Rgb(clBlue));
  }
  template <class P>
  P* Add(TWinControl* parent, TRect r, TColor c) {
    auto* p = new P(form, c);
    p->SetParent(parent);
    p->SetBoundsRect(r);
    return p;
  }
  uint32_t At(TPoint formClient) { return ScreenPixel(form->ClientToScreen(formClient)); }
  // What lies under the cover once it is gone: the sibling, its child and
  // the form between them.
  void ExpectUncovered() {
    EXPECT_EQ(At({15, 15}), Rgb(clRed));       // the sibling
    EXPECT_EQ(At({50, 50}), Rgb(clLime));      // the sibling's child
    EXPECT_EQ(At({250, 180}), Rgb(clFuchsia));  // the form
  }
};

TEST_F(ExposeTest, MovingAwayUncoversSiblingsAndTheirChildren) {
  cover->SetBounds(320, 220, 50, 50);
  Pump();
  ExpectUncovered();
  EXPECT_EQ(At({330, 230}), Rgb(clBlue));
}

TEST_F(ExposeTest, ShrinkingUncoversWhatItLeft) {
  cover->SetBounds(0, 0, 12, 12);
  Pump();
  ExpectUncovered();
  EXPECT_EQ(At({5, 5}), Rgb(clBlue));
}

TEST_F(ExposeTest, HidingUncovers) {
  cover->SetVisible(false);
  Pump();
  ExpectUncovered();
}

TEST_F(ExposeTest, RemovingAndDestroyingUncover) {
  cover->SetParent(nullptr);
  Pump();
  ExpectUncovered();
  cover->SetParent(form);
  Pump();
  EXPECT_EQ(At({50, 50}), Rgb(clBlue));
  delete cover;
  cover = nullptr;
  Pump();
  ExpectUncovered();
}

TEST_F(ExposeTest, ReshapingUncoversWhatTheOldShapeCovered) {
  SetWindowRgn(cover, std::make_unique<TRegion>(Bounds(0, 0, 12, 12)), true);
  Pump();
  ExpectUncovered();
  EXPECT_EQ(At({5, 5}), Rgb(clBlue));
}

TEST_F(ExposeTest, LoweringShowsTheSiblingsNowAbove) {
  SetWindowPos(cover, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  EXPECT_EQ(At({15, 15}), Rgb(clRed));
  EXPECT_EQ(At({50, 50}), Rgb(clLime));
  EXPECT_EQ(At({250, 180}), Rgb(clBlue));  // the cover still lies over the form
}

TEST_F(ExposeTest, MovingRepaintsOnlyWindowsUnderTheUncoveredArea) {
  // A sibling far from both places of the moving window is left alone.
  auto* far = Add<TProbe>(form, {320, 10, 380, 60}, clYellow);
  Pump();
  int farPaints = far->paints, belowPaints = below->paints;
  cover->SetBounds(0, 0, 100, 100);
  Pump();
  EXPECT_EQ(far->paints, farPaints);
  EXPECT_EQ(below->paints, belowPaints + 1);
  EXPECT_EQ(At({150, 120}), Rgb(clRed));
}

}  // namespace
}  // namespace qz::testing
