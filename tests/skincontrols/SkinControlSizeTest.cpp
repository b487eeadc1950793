// Size rules of the resizable skin controls: CalcSize and the New geometry
// per resize mode, snapping in SetBounds, CalcNewRect's zone rules, and the
// default size of a control without a description.
#include "tests/skincontrols/SkinControlTestKit.h"

namespace qz::testing {
namespace {

using SkinControlSizeTest = SkinControlTest;

struct TSizeCase {
  const char* name;
  int mode;
  int w, h;            // CalcSize(100, 70) result
  TRect newClRect;     // after it
  TPoint newRT, newLB, newRB;
};

TEST_F(SkinControlSizeTest, CalcSizeFollowsEachResizeMode) {
  const TSizeCase cases[] = {
      {"nine", 1, 100, 70, {10, 10, 90, 60}, {90, 10}, {10, 60}, {90, 60}},
      {"fixed", 0, 30, 20, {5, 5, 25, 15}, {0, 0}, {0, 0}, {0, 0}},
      {"horz", 2, 100, 20, {10, 0, 90, 20}, {90, 0}, {0, 0}, {0, 0}},
      {"vert", 3, 20, 70, {0, 10, 20, 60}, {0, 0}, {0, 60}, {0, 0}},
  };
  for (const TSizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto* ctrl = Make(c.name, 0, 0, 50, 50);
    EXPECT_EQ(ctrl->ResizeMode, c.mode);
    int w = 100, h = 70;
    ctrl->CalcSize(w, h);
    EXPECT_EQ(w, c.w);
    EXPECT_EQ(h, c.h);
    EXPECT_EQ(ctrl->NewGeom.NewClRect, c.newClRect);
    EXPECT_EQ(ctrl->NewGeom.NewLTPoint, ctrl->Geom.LeftTopPoint);
    EXPECT_EQ(ctrl->NewGeom.NewRTPoint, c.newRT);
    EXPECT_EQ(ctrl->NewGeom.NewLBPoint, c.newLB);
    EXPECT_EQ(ctrl->NewGeom.NewRBPoint, c.newRB);
  }
}

TEST_F(SkinControlSizeTest, NoGeometryOrNoDescriptionLeavesTheSizeAlone) {
  for (const char* name : {"none", "unknown", "Nine"}) {
    SCOPED_TRACE(name);
    auto* ctrl = Make(name, 0, 0, 50, 50);
    int w = 100, h = 70;
    ctrl->CalcSize(w, h);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 70);
    EXPECT_EQ(ctrl->Width(), 50);
  }
  // "none" has a description whose skin rect is empty: mode -1.
  EXPECT_EQ(Make("none", 0, 0, 5, 5)->ResizeMode, -1);
}

TEST_F(SkinControlSizeTest, SetBoundsSnapsTheFixedAxes) {
  auto* fixed = Make("fixed", 4, 6, 100, 70);
  EXPECT_EQ(fixed->BoundsRect(), (TRect{4, 6, 34, 26}));
  fixed->SetBounds(10, 12, 200, 5);
  EXPECT_EQ(fixed->BoundsRect(), (TRect{10, 12, 40, 32}));

  auto* horz = Make("horz", 0, 0, 100, 70);
  EXPECT_EQ(horz->Height(), 20);
  horz->SetBounds(0, 0, 130, 90);
  EXPECT_EQ(horz->Width(), 130);
  EXPECT_EQ(horz->Height(), 20);
  EXPECT_EQ(horz->NewGeom.NewClRect, (TRect{10, 0, 120, 20}));

  auto* vert = Make("vert", 0, 0, 100, 70);
  vert->SetWidth(3);
  EXPECT_EQ(vert->Width(), 20);
  EXPECT_EQ(vert->Height(), 70);
}

TEST_F(SkinControlSizeTest, ParentPlacerMovesChildrenVertically) {
  class TPlacer : public TPanel, public IqzSkinControlPlacer {
   public:
    using TPanel::TPanel;
    int PlaceChildTop(int, int height) const override { return 40 / 2 - height / 2; }
  };
  auto* bar = new TPlacer(form);
  bar->SetParent(form);
  bar->SetBounds(0, 0, 200, 40);
  auto* ctrl = Make("fixed", 3, 0, 30, 20, bar);
  ctrl->SetTop(33);
  EXPECT_EQ(ctrl->Top(), 10);
}

// Zones of "nine" (60 x 40): TL (0,0)-(10,10), TR (50,0)-(60,10),
// BL (0,30)-(10,40), BR (50,30)-(60,40). At 100 x 70: dW 40, dH 30.
TEST_F(SkinControlSizeTest, CalcNewRectNinePartZones) {
  auto* c = Make("nine", 0, 0, 100, 70);
  const struct {
    TRect in, out;
  } cases[] = {
      {{2, 2, 8, 8}, {2, 2, 8, 8}},          // inside TL
      {{52, 2, 58, 8}, {92, 2, 98, 8}},      // inside TR
      {{2, 32, 8, 38}, {2, 62, 8, 68}},      // inside BL
      {{52, 32, 58, 38}, {92, 62, 98, 68}},  // inside BR
      {{2, 2, 55, 35}, {2, 2, 95, 65}},      // TL to BR
      {{2, 2, 55, 8}, {2, 2, 95, 8}},        // TL to TR
      {{2, 32, 55, 38}, {2, 62, 95, 68}},    // BL to BR
      {{2, 2, 8, 35}, {2, 2, 8, 65}},        // TL to BL
      {{52, 2, 58, 35}, {92, 2, 98, 65}},    // TR to BR
      {{20, 15, 40, 25}, {20, 15, 40, 25}},  // middle: unchanged
      // Zone edges: "inside" excludes the right and bottom sides, the
      // spanning tests include every side.
      {{52, 2, 59, 8}, {92, 2, 99, 8}},      // inside TR
      {{52, 2, 60, 8}, {52, 2, 60, 8}},      // touches the right side: no rule
      {{10, 10, 50, 30}, {10, 10, 90, 60}},  // corner points: TL to BR
      {{0, 0, 10, 10}, {0, 0, 10, 10}},      // TL's own rectangle: no rule
      {{0, 30, 10, 40}, {0, 30, 10, 40}},    // BL's own rectangle: no rule
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(::testing::PrintToString(k.in));
    EXPECT_EQ(c->CalcNewRect(k.in), k.out);
  }
}

TEST_F(SkinControlSizeTest, CalcNewRectThreePartRules) {
  auto* h = Make("horz", 0, 0, 100, 20);  // dW 40, LT.X 10, RT.X 50
  EXPECT_EQ(h->CalcNewRect({5, 2, 55, 8}), (TRect{5, 2, 95, 8}));
  EXPECT_EQ(h->CalcNewRect({10, 2, 50, 8}), (TRect{10, 2, 90, 8}));
  EXPECT_EQ(h->CalcNewRect({50, 2, 58, 8}), (TRect{90, 2, 98, 8}));
  EXPECT_EQ(h->CalcNewRect({50, 2, 50, 8}), (TRect{50, 2, 50, 8}));
  EXPECT_EQ(h->CalcNewRect({2, 2, 8, 8}), (TRect{2, 2, 8, 8}));

  auto* v = Make("vert", 0, 0, 20, 70);  // dH 30, LT.Y 10, LB.Y 30
  EXPECT_EQ(v->CalcNewRect({2, 5, 8, 35}), (TRect{2, 5, 8, 65}));
  EXPECT_EQ(v->CalcNewRect({2, 30, 8, 38}), (TRect{2, 60, 8, 68}));
  EXPECT_EQ(v->CalcNewRect({2, 30, 8, 30}), (TRect{2, 30, 8, 30}));
  EXPECT_EQ(v->CalcNewRect({2, 2, 8, 8}), (TRect{2, 2, 8, 8}));

  auto* f = Make("fixed", 0, 0, 30, 20);
  EXPECT_EQ(f->CalcNewRect({1, 2, 3, 4}), (TRect{1, 2, 3, 4}));
}

TEST_F(SkinControlSizeTest, UnknownNameKeepsDefaultSizeAndPlainLook) {
  auto* c = Make("unknown", 5, 5, 10, 10);
  c->SetDefaultWidth(70);
  c->SetDefaultHeight(25);
  EXPECT_EQ(c->Width(), 70);
  EXPECT_EQ(c->Height(), 25);
  c->SetBounds(5, 5, 90, 90);
  c->ChangeSkinData();  // a skin change brings back the default size
  EXPECT_EQ(c->Width(), 70);
  EXPECT_EQ(c->Height(), 25);
  const TPixmap shot = Shot(c);
  const uint32_t face = PixelOf(clBtnFace);
  EXPECT_EQ(shot.At(0, 0), face);
  EXPECT_EQ(shot.At(69, 24), face);
  EXPECT_EQ(shot.At(35, 12), face);
}

TEST_F(SkinControlSizeTest, DescriptionOfAnotherClassDrawsNoSkinImageAndKeepsItsSkinRect) {
  auto* c = Make("std", 0, 0, 100, 70);
  EXPECT_NE(c->SkinIndex, -1);
  EXPECT_EQ(c->ResizeMode, 0);
  EXPECT_EQ(c->Picture, nullptr);
  EXPECT_EQ(c->Width(), 30);
  EXPECT_EQ(c->Height(), 12);
}

}  // namespace
}  // namespace qz::testing
