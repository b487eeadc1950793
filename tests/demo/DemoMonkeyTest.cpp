// A monkey on the demo's real main window with all its controls (see
// DemoMonkeyKit.h for the events and the settings). After every event the
// window keeps its size limits and a shape, exactly one of the three page
// buttons is down and both page controls show the pages that button stands
// for; every 500 events the timers must have stopped once the mouse went
// away. Inside the second window's modal loop the monkey clicks and types a
// little, then closes it.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "skin/controls/SkinPageControl.h"
#include "tests/demo/DemoMonkeyKit.h"

namespace qz::testing {
namespace {

// The pages each of the three buttons stands for: first and second page control.
struct TPagePair {
  int First, Second;
};
constexpr std::array<TPagePair, 3> kPagesOfButton{{{0, 0}, {1, 1}, {2, 0}}};

class DemoMonkey : public DemoMonkeyBase {
 protected:
  void SetUp() override {
    DemoMonkeyBase::SetUp();
    // Closing the main window would end the program; the monkey keeps it.
    Form1->OnCloseQuery = [this](TObject*, bool& canClose) {
      canClose = false;
      ++refusedCloses_;
    };
    ShowMainWindow();
    hp->SetIdleHandler([this] { return IdleStep(); });
  }

  // While a native loop or a modal loop (the second window, a message box)
  // waits for input, the user goes on: a held gesture ends; in the modal
  // window a few clicks and keys, then it closes.
  bool IdleStep() {
    return FinishHeldGesture() || StepInModalSecondWindow() || StepInModalOpenDialog() || StepInModalMessageBox();
  }

  TPoint PickPoint() override { return PickPointOn(*Form1, *Form1->qzOrvane1); }

  // Brings the main window back from the tray or the task bar, else
  // activates it.
  void ChangeActivation() override {
    if (!Form1->Visible()) {
      Form1->qzOrvane1->RestoreFromTray();
    } else if (IsIconic(Form1->Handle())) {
      Application->Restore();
    } else if (THeadlessWindow* native = Native(Form1)) {
      native->Activate();
    }
  }

  std::string FocusName() const override {
    TWinControl* f = Form1->ActiveControl();
    return f ? f->Name() : std::string("none");
  }

  std::array<TqzSkinButton*, 3> PageButtons() const {
    return {Form1->qzSkinButton1, Form1->qzSkinButton2, Form1->qzSkinButton3};
  }

  void CheckWindow(uint64_t step) {
    CheckSizeAndShape(*Form1, *Form1->qzOrvane1, step);
    int downCount = 0, down = -1;
    for (int i = 0; i < 3; ++i) {
      if (PageButtons()[size_t(i)]->Down()) {
        ++downCount;
        down = i;
      }
    }
    ASSERT_EQ(downCount, 1) << "page buttons down at step " << step;
    ++downSteps_[size_t(down)];
    EXPECT_EQ(Form1->qzSkinPageControl1->ActivePageIndex(), kPagesOfButton[size_t(down)].First)
        << "first page control, button " << down + 1 << " down, step " << step << " after "
        << lastEvent_;
    EXPECT_EQ(Form1->qzSkinPageControl2->ActivePageIndex(), kPagesOfButton[size_t(down)].Second)
        << "second page control, button " << down + 1 << " down, step " << step << " after "
        << lastEvent_;
  }

  void Report(uint64_t events) const {
    ReportKinds("demo monkey", events);
    std::printf(
        "[demo monkey] steps with button 1/2/3 down: %d/%d/%d; second window shown modally %d; "
        "message boxes %d; main close refused %d\n",
        downSteps_[0], downSteps_[1], downSteps_[2], modalShows_, messageShows_, refusedCloses_);
  }

  std::array<int, 3> downSteps_{};
  int refusedCloses_ = 0;
};

TEST_F(DemoMonkey, RandomEventsKeepTheMainWindowSound) {
  const uint64_t events = StartRun("demo monkey");
  uint64_t step = 0;
  for (; step < events && !HasFailure(); ++step) {
    Run(PickKind());
    CheckWindow(step);
    if (step % 500 == 499 && !HasFailure()) CheckTimersSettle(*Form1, *Form1->qzOrvane1, step);
  }
  if (!HasFailure()) CheckTimersSettle(*Form1, *Form1->qzOrvane1, step);
  Report(step);
  // The monkey reached every page.
  EXPECT_GT(downSteps_[1], 0);
  EXPECT_GT(downSteps_[2], 0);
}

}  // namespace
}  // namespace qz::testing
