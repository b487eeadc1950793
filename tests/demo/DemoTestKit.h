// The demo's two windows built as the program builds them, on a fresh
// headless platform, with a clock that only moves when a test moves it.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/ui/Application.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinObjects.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {

class DemoTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
  }
  void TearDown() override {
    hp->SetIdleHandler({});
    UiTest::TearDown();
  }

  // Lets queued messages, paints and timers run for `ms` of virtual time.
  void Settle(int ms) {
    Pump();
    for (int t = 0; t < ms; t += 25) {
      hp->AdvanceClock(25);
      Pump();
    }
  }

  void ShowMainWindow() {
    Form1->Show();
    Settle(600);  // the fade-in
  }

  bool SecondIsModal() const {
    return Form2->Visible() && Form2->FormState().Contains(TFormStateFlag::fsModal);
  }

  static TqzActiveSkinObject* FrameObject(TqzOrvane& controller, const std::string& name) {
    for (auto& object : controller.ObjectList())
      if (object->IDName() == name) return object.get();
    return nullptr;
  }

  // The centre of a frame object of a form, on the screen.
  static TPoint FrameObjectCentre(TCustomForm& form, const TqzActiveSkinObject& object) {
    TRect w;
    GetWindowRect(form.Handle(), w);
    const TRect r = object.ObjectRect;
    return {w.Left + (r.Left + r.Right) / 2, w.Top + (r.Top + r.Bottom) / 2};
  }

  TForm1* Form1 = nullptr;
  TForm2* Form2 = nullptr;
};

// Drives a modal loop from the inside: whenever the loop waits for input,
// the next step of a script runs (each step injects input or lets 25 ms
// pass). A loop that outlives its script by more than `patienceMs` of
// virtual time is ended with mrAbort and counted as stuck, so a window that
// does not close fails the test instead of hanging it.
class TModalScript {
 public:
  using TStep = std::function<void()>;

  TModalScript(THeadlessPlatform& platform, std::function<bool()> modalRunning, int patienceMs,
               std::function<void()> abort)
      : p_(platform), running_(std::move(modalRunning)), patience_(patienceMs), abort_(std::move(abort)) {}

  void Add(TStep step) { steps_.push_back(std::move(step)); }
  void Wait(int ms) {
    for (int t = 0; t < ms; t += 25) Add([this] { p_.AdvanceClock(25); });
  }
  void Install() {
    p_.SetIdleHandler([this] { return Idle(); });
  }

  bool Stuck() const { return stuck_; }
  bool Finished() const { return next_ == steps_.size(); }

 private:
  bool Idle() {
    if (!running_()) return false;
    if (next_ < steps_.size()) {
      steps_[next_++]();
      return true;
    }
    if (waited_ < patience_) {
      waited_ += 25;
      p_.AdvanceClock(25);
      return true;
    }
    stuck_ = true;
    abort_();
    return true;
  }

  THeadlessPlatform& p_;
  std::function<bool()> running_;
  int patience_;
  std::function<void()> abort_;
  std::vector<TStep> steps_;
  size_t next_ = 0;
  int waited_ = 0;
  bool stuck_ = false;
};

}  // namespace qz::testing
