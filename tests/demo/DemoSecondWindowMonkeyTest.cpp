// The monkey of DemoMonkeyKit.h on the second window and its controls,
// shown over the main window. Closed by its caption button, it is shown
// again soon; minimised or rolled up, it is restored now and then. After
// every event the window keeps its size limits and a shape, the radio group
// has at most one button checked, the track bar's value stays in its range
// and the controls keep their sizes; every 500 events the timers must have
// stopped once the mouse went away.
#include <gtest/gtest.h>

#include <cstdio>

#include "skin/controls/SkinTrackBar.h"
#include "tests/demo/DemoMonkeyKit.h"

namespace qz::testing {
namespace {

class DemoSecondWindowMonkey : public DemoMonkeyBase {
 protected:
  void SetUp() override {
    DemoMonkeyBase::SetUp();
    Form1->OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
    ShowMainWindow();
    Form2->Show();
    Settle(600);
    // Closed, the window may come back modally through the main window's
    // "Show dialog form"; its modal loop is driven from the idle handler.
    hp->SetIdleHandler([this] { return FinishHeldGesture() || StepInModalSecondWindow(); });
  }

  // Now and then the track bar's thumb, which a point picked anywhere on a
  // control would hardly ever hit.
  TPoint PickPoint() override {
    TqzSkinTrackBar& bar = *Form2->qzSkinTrackBar1;
    if (Shown(Form2) && bar.Showing() && Chance(0.05))
      return bar.ClientToScreen(RandomPointIn(bar.ThumbGeometry().Thumb));
    return PickPointOn(*Form2, *Form2->qzOrvane1);
  }

  void ChangeActivation() override {
    TqzOrvane& o = *Form2->qzOrvane1;
    if (!Form2->Visible()) {
      ShowAgain();
    } else if (IsIconic(Form2->Handle()) || o.IsRolledUp()) {
      o.Restore();
    } else if (THeadlessWindow* native = Native(Form2)) {
      native->Activate();
    }
  }

  void ShowAgain() {
    Form2->Show();
    ++shows_;
  }

  std::string FocusName() const override {
    TWinControl* f = Form2->ActiveControl();
    return f ? f->Name() : std::string("none");
  }

  void CheckWindow(uint64_t step) {
    CheckSizeAndShape(*Form2, *Form2->qzOrvane1, step);
    const bool first = Form2->qzSkinCheckRadioBox2->Checked();
    const bool second = Form2->qzSkinCheckRadioBox3->Checked();
    EXPECT_FALSE(first && second) << "both radio buttons checked at step " << step << " after "
                                  << lastEvent_;
    firstPicked_ |= first;
    secondPicked_ |= second;
    const TqzSkinTrackBar& bar = *Form2->qzSkinTrackBar1;
    EXPECT_GE(bar.Value(), 0) << "step " << step;
    EXPECT_LE(bar.Value(), 100) << "step " << step;
    barMoved_ |= bar.Value() != 50;
    EXPECT_EQ(Form2->qzSkinButton2->Width(), 113) << "step " << step;
    EXPECT_EQ(Form2->qzSkinButton2->Height(), 73) << "step " << step;
  }

  int shows_ = 0;
  bool firstPicked_ = false, secondPicked_ = false, barMoved_ = false;
};

TEST_F(DemoSecondWindowMonkey, RandomEventsKeepTheSecondWindowSound) {
  const uint64_t events = StartRun("second window monkey");
  uint64_t step = 0;
  int closes = 0;
  for (; step < events && !HasFailure(); ++step) {
    Run(PickKind());
    if (!Form2->Visible()) {
      ++closes;
      if (Chance(0.25)) ShowAgain();
    }
    CheckWindow(step);
    if (step % 500 == 499 && !HasFailure()) CheckTimersSettle(*Form2, *Form2->qzOrvane1, step);
  }
  if (!HasFailure()) CheckTimersSettle(*Form2, *Form2->qzOrvane1, step);
  ReportKinds("second window monkey", step);
  std::printf("[second window monkey] steps hidden %d, shown again %d, shown modally %d\n", closes,
              shows_, modalShows_);
  // The monkey reached the controls.
  EXPECT_TRUE(firstPicked_);
  EXPECT_TRUE(secondPicked_);
  EXPECT_TRUE(barMoved_);
}

}  // namespace
}  // namespace qz::testing
