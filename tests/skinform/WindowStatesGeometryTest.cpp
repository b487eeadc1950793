// Window-state arithmetic: maximise target, minimise slots, magnetic snap,
// drag-away bounds and roll-up object rectangles. Every expected value is
// worked out by hand from the rectangles in each test.
#include <gtest/gtest.h>

#include "skin/form/WindowStates.h"

namespace qz {
namespace {

constexpr TRect kMonitor{0, 0, 1920, 1080};
constexpr TRect kWorkArea{0, 0, 1920, 1040};  // task bar of 40 at the bottom
constexpr TqzEdges kLayer{5, 6, 7, 8};

// ---- Maximise ----

TEST(WindowStatesMaximize, WorkAreaOrMonitorOnFullScreen) {
  TqzMaximizeInput in{kMonitor, kWorkArea, kMonitor, false, {}};
  EXPECT_EQ(MaximizeTarget(in), kWorkArea);
  in.FullScreen = true;
  EXPECT_EQ(MaximizeTarget(in), kMonitor);
}

TEST(WindowStatesMaximize, AutoHiddenTaskBarLeavesOnePixelOnEverySide) {
  TqzMaximizeInput in{kMonitor, kMonitor, kMonitor, false, {}};
  EXPECT_EQ(MaximizeTarget(in), (TRect{1, 1, 1919, 1079}));
  // Full screen covers the monitor whatever the task bar does.
  in.FullScreen = true;
  EXPECT_EQ(MaximizeTarget(in), kMonitor);
}

TEST(WindowStatesMaximize, NoMarginOnAMonitorSmallerThanTheScreen) {
  // Second monitor to the right; its work area is the whole monitor but the
  // screen spans both, so the task bar is on the other monitor.
  const TRect second{1920, 0, 3200, 1024};
  const TqzMaximizeInput in{second, second, TRect{0, 0, 3200, 1080}, false, {}};
  EXPECT_EQ(MaximizeTarget(in), second);
}

TEST(WindowStatesMaximize, LayeredBorderGrowsTheTarget) {
  TqzMaximizeInput in{kMonitor, kWorkArea, kMonitor, false, kLayer};
  EXPECT_EQ(MaximizeTarget(in), (TRect{-5, -6, 1927, 1048}));
  in.WorkArea = kMonitor;  // auto-hidden: margin first, then the growth
  EXPECT_EQ(MaximizeTarget(in), (TRect{-4, -5, 1926, 1087}));
}

// ---- Minimise slots ----

TqzMinimizeSlotInput SlotInput(std::vector<TPoint> taken = {}) {
  return {TRect{0, 0, 1000, 700}, TSize{150, 30}, std::move(taken), {}};
}

TEST(WindowStatesMinimize, ThreeFormsSideBySideAlongTheBottom) {
  TqzMinimizeSlotInput in = SlotInput();
  const TPoint expected[] = {{0, 670}, {150, 670}, {300, 670}};
  for (TPoint slot : expected) {
    TPoint got = MinimizeSlot(in);
    EXPECT_EQ(got, slot);
    in.Taken.push_back(got);
  }
  // A freed slot in the middle is found again before the next free one.
  EXPECT_EQ(MinimizeSlot(SlotInput({{0, 670}, {300, 670}})), (TPoint{150, 670}));
  // Only an exact position counts as taken.
  EXPECT_EQ(MinimizeSlot(SlotInput({{1, 670}, {0, 669}})), (TPoint{0, 670}));
}

TEST(WindowStatesMinimize, WrapsToTheRowAboveAtTheRightEdge) {
  // 1000 / 150: slots at 0..750; one at 900 would end at 1050.
  std::vector<TPoint> bottomRow;
  for (int x = 0; x <= 750; x += 150) bottomRow.push_back({x, 670});
  EXPECT_EQ(MinimizeSlot(SlotInput(bottomRow)), (TPoint{0, 640}));
}

TEST(WindowStatesMinimize, AreaOriginIsHonoured) {
  const TqzMinimizeSlotInput in{TRect{100, 50, 700, 450}, TSize{200, 40}, {{100, 410}}, {}};
  EXPECT_EQ(MinimizeSlot(in), (TPoint{300, 410}));
}

TEST(WindowStatesMinimize, FallsBackToTheBottomRowWhenEverySlotIsTaken) {
  // Two columns, two rows (y 40 and 10; a third at -20 starts above the top).
  TqzMinimizeSlotInput in{TRect{0, 0, 300, 70}, TSize{150, 30}, {{0, 40}, {150, 40}, {0, 10}}, {}};
  EXPECT_EQ(MinimizeSlot(in), (TPoint{150, 10}));
  in.Taken.push_back({150, 10});
  EXPECT_EQ(MinimizeSlot(in), (TPoint{0, 40}));
  // A form as wide as nothing or taller than the area still gets an answer.
  in.MinSize = {0, 30};
  EXPECT_EQ(MinimizeSlot(in), (TPoint{0, 40}));
  in.MinSize = {150, 100};
  EXPECT_EQ(MinimizeSlot(in), (TPoint{0, -30}));
}

TEST(WindowStatesMinimize, LayeredBorderShiftsEverySlot) {
  TqzMinimizeSlotInput in = SlotInput();
  in.Layer = kLayer;
  EXPECT_EQ(MinimizeSlot(in), (TPoint{-5, 664}));
  // Another layered form sits at the shifted position: that slot is taken.
  in.Taken = {{-5, 664}};
  EXPECT_EQ(MinimizeSlot(in), (TPoint{145, 664}));
  // A form at the unshifted position does not block it.
  in.Taken = {{0, 670}};
  EXPECT_EQ(MinimizeSlot(in), (TPoint{-5, 664}));
}

// ---- Magnetic snap ----

constexpr TRect kArea{0, 0, 1000, 800};
constexpr TSize kWindow{200, 100};
constexpr int kMagnetic = 10;

struct SnapCase {
  const char* edge;
  TPoint snaps;    // 9 px from the edge (inside or outside)
  TPoint snapped;  // where it goes
  TPoint staysAt;  // 10 px from the edge
};

TEST(WindowStatesMagnetic, SnapsStrictlyInsideTheZoneOnEveryEdge) {
  const SnapCase cases[] = {
      {"left inside", {9, 300}, {0, 300}, {10, 300}},
      {"left outside", {-9, 300}, {0, 300}, {-10, 300}},
      {"top inside", {300, 9}, {300, 0}, {300, 10}},
      {"top outside", {300, -9}, {300, 0}, {300, -10}},
      {"right inside", {791, 300}, {800, 300}, {790, 300}},
      {"right outside", {809, 300}, {800, 300}, {810, 300}},
      {"bottom inside", {300, 691}, {300, 700}, {300, 690}},
      {"bottom outside", {300, 709}, {300, 700}, {300, 710}},
  };
  const TPoint cursor{500, 400};
  for (const SnapCase& c : cases) {
    SCOPED_TRACE(c.edge);
    TqzMagneticState state;
    EXPECT_EQ(MagneticSnap(c.snaps, kWindow, cursor, kArea, kMagnetic, state), c.snapped);
    TqzMagneticState fresh;
    EXPECT_EQ(MagneticSnap(c.staysAt, kWindow, cursor, kArea, kMagnetic, fresh), c.staysAt);
    EXPECT_FALSE(fresh.StuckLeft || fresh.StuckTop || fresh.StuckRight || fresh.StuckBottom);
  }
}

TEST(WindowStatesMagnetic, CornerSticksBothAxesAndRemembersTheCursor) {
  TqzMagneticState state;
  EXPECT_EQ(MagneticSnap({5, 695}, kWindow, {40, 750}, kArea, kMagnetic, state), (TPoint{0, 700}));
  EXPECT_TRUE(state.StuckLeft);
  EXPECT_TRUE(state.StuckBottom);
  EXPECT_FALSE(state.StuckRight || state.StuckTop);
  EXPECT_EQ(state.StuckX, 40);
  EXPECT_EQ(state.StuckY, 750);
}

TEST(WindowStatesMagnetic, StaysStuckUntilTheCursorMovesMoreThanTheSizeThenFollows) {
  TqzMagneticState state;
  ASSERT_EQ(MagneticSnap({4, 300}, kWindow, {50, 310}, kArea, kMagnetic, state), (TPoint{0, 300}));
  // Proposed positions out of the zone do not matter while the cursor is
  // within 10 px of where the edge stuck.
  EXPECT_EQ(MagneticSnap({15, 300}, kWindow, {55, 310}, kArea, kMagnetic, state), (TPoint{0, 300}));
  EXPECT_EQ(MagneticSnap({20, 300}, kWindow, {60, 310}, kArea, kMagnetic, state), (TPoint{0, 300}));
  EXPECT_EQ(MagneticSnap({-30, 300}, kWindow, {40, 310}, kArea, kMagnetic, state),
            (TPoint{0, 300}));
  EXPECT_TRUE(state.StuckLeft);
  // 11 px: released, left = 61 + 0 - 50.
  EXPECT_EQ(MagneticSnap({21, 300}, kWindow, {61, 310}, kArea, kMagnetic, state),
            (TPoint{11, 300}));
  EXPECT_FALSE(state.StuckLeft);
  // Free again: the next proposal is taken as it is.
  EXPECT_EQ(MagneticSnap({12, 300}, kWindow, {62, 310}, kArea, kMagnetic, state),
            (TPoint{12, 300}));
}

TEST(WindowStatesMagnetic, FarEdgesFollowRelativeToTheirSnappedPosition) {
  TqzMagneticState state;
  ASSERT_EQ(MagneticSnap({300, 695}, kWindow, {400, 760}, kArea, kMagnetic, state),
            (TPoint{300, 700}));
  ASSERT_EQ(MagneticSnap({795, 700}, kWindow, {900, 760}, kArea, kMagnetic, state),
            (TPoint{800, 700}));
  EXPECT_EQ(state.StuckX, 900);
  // Upwards by 11: top = 749 + 700 - 760; right stays stuck (cursor x moved 0).
  EXPECT_EQ(MagneticSnap({790, 680}, kWindow, {900, 749}, kArea, kMagnetic, state),
            (TPoint{800, 689}));
  EXPECT_FALSE(state.StuckBottom);
  // Left by 11: left = 889 + 800 - 900.
  EXPECT_EQ(MagneticSnap({780, 600}, kWindow, {889, 700}, kArea, kMagnetic, state),
            (TPoint{789, 600}));
  EXPECT_FALSE(state.StuckRight);
}

TEST(WindowStatesMagnetic, ResetForgetsTheStuckEdges) {
  TqzMagneticState state;
  MagneticSnap({3, 3}, kWindow, {20, 20}, kArea, kMagnetic, state);
  ASSERT_TRUE(state.StuckLeft && state.StuckTop);
  state.Reset();
  EXPECT_FALSE(state.StuckLeft || state.StuckTop);
  EXPECT_EQ(MagneticSnap({15, 15}, kWindow, {21, 21}, kArea, kMagnetic, state), (TPoint{15, 15}));
}

// ---- Drag away from maximised ----

TEST(WindowStatesDragAway, CentredUnderTheCursorWithTheSavedSize) {
  const TRect maximised = kWorkArea;
  EXPECT_EQ(DragAwayBounds(maximised, {800, 600}, {960, 5}, kWorkArea), (TRect{560, 0, 1360, 600}));
  // Odd width: 801 / 2 = 400.
  EXPECT_EQ(DragAwayBounds(maximised, {801, 600}, {960, 5}, kWorkArea), (TRect{560, 0, 1361, 600}));
  // The top stays where the form is (a task bar at the top).
  const TRect belowBar{0, 40, 1920, 1080};
  EXPECT_EQ(DragAwayBounds(belowBar, {800, 600}, {960, 45}, belowBar), (TRect{560, 40, 1360, 640}));
}

TEST(WindowStatesDragAway, ClampedIntoTheWorkAreaOnBothSides) {
  EXPECT_EQ(DragAwayBounds(kWorkArea, {800, 600}, {100, 5}, kWorkArea), (TRect{0, 0, 800, 600}));
  EXPECT_EQ(DragAwayBounds(kWorkArea, {800, 600}, {1900, 5}, kWorkArea),
            (TRect{1120, 0, 1920, 600}));
  const TRect second{1920, 0, 3200, 1024};
  EXPECT_EQ(DragAwayBounds(second, {800, 600}, {1950, 5}, second), (TRect{1920, 0, 2720, 600}));
  // Wider than the area: the left edge wins.
  EXPECT_EQ(DragAwayBounds(second, {1400, 600}, {3000, 5}, second), (TRect{1920, 0, 3320, 600}));
}

TEST(WindowStatesDragAway, EmptySavedSizeKeepsTheCurrentSize) {
  EXPECT_EQ(DragAwayBounds(kWorkArea, {0, 0}, {960, 5}, kWorkArea), kWorkArea);
}

// ---- Roll-up object rectangles ----

TEST(WindowStatesRollUp, ObjectsMoveOrGrowByTheWidthDifference) {
  // Left part [0, 20), tiled middle [20, 80), right part from 80.
  struct Case {
    TRect in, out;
  };
  const Case cases[] = {
      {{85, 5, 95, 15}, {135, 5, 145, 15}},  // right part: moves
      {{80, 5, 90, 15}, {130, 5, 140, 15}},  // first column of the right part
      {{5, 5, 15, 15}, {5, 5, 15, 15}},      // left part: stays
      {{10, 2, 90, 20}, {10, 2, 140, 20}},   // left part to right part: grows
      {{20, 2, 90, 20}, {20, 2, 90, 20}},    // starts in the middle
      {{10, 2, 80, 20}, {10, 2, 80, 20}},    // ends with the middle
      {{30, 2, 70, 20}, {30, 2, 70, 20}},    // inside the middle
  };
  for (const Case& c : cases) EXPECT_EQ(RollUpObjectRect(c.in, 20, 80, 50), c.out);
  // A narrower form moves them left.
  EXPECT_EQ(RollUpObjectRect({85, 5, 95, 15}, 20, 80, -10), (TRect{75, 5, 85, 15}));
  // No tiled middle: the picture is used as it is.
  EXPECT_EQ(RollUpObjectRect({85, 5, 95, 15}, 80, 80, 50), (TRect{85, 5, 95, 15}));
}

}  // namespace
}  // namespace qz
