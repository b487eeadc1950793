// The random-input monkey of the demo's windows: random clicks, drags,
// double clicks, wheel turns, keys and moves over a window's controls and
// caption objects, with the clock running in between, from a fixed seed.
// A concrete monkey says where the mouse goes, how a window comes back and
// what must hold after each event.
//   QZ_MONKEY_SEED    replays another run (the seed is printed)
//   QZ_MONKEY_EVENTS  number of events; 10,000 by default, 3,000 in a
//                     sanitizer build, where every event costs far more
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "skin/dialogs/OpenDlgForm.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/dialogs/MessageForm.h"
#include "tests/demo/DemoTestKit.h"

namespace qz::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr uint64_t kMonkeyDefaultEvents = 3000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr uint64_t kMonkeyDefaultEvents = 3000;
#else
inline constexpr uint64_t kMonkeyDefaultEvents = 10000;
#endif
#else
inline constexpr uint64_t kMonkeyDefaultEvents = 10000;
#endif

inline uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  return end != nullptr && *end == '\0' ? value : fallback;
}

enum class TEventKind { Move, Click, RightClick, DoubleClick, Drag, Wheel, Key, Clock, Activate };

inline constexpr std::array<const char*, 9> kKindNames{"move",  "click", "right click", "double click",
                                                       "drag",  "wheel", "key",         "clock",
                                                       "activate"};

// Relative frequencies, in the order of TEventKind.
inline constexpr std::array<double, 9> kKindWeights{24, 20, 4, 6, 6, 5, 20, 12, 3};

class DemoMonkeyBase : public DemoTest {
 protected:
  // Where the mouse goes next, on the screen.
  virtual TPoint PickPoint() = 0;
  // Brings the window under test back, or activates it.
  virtual void ChangeActivation() = 0;
  // The name of the focused control, for failure messages.
  virtual std::string FocusName() const = 0;

  // The seed and event count of this run, with the seed printed.
  uint64_t StartRun(const char* who) {
    seed_ = EnvNumber("QZ_MONKEY_SEED", 20261209);
    std::printf("[%s] seed %llu (set QZ_MONKEY_SEED to replay another)\n", who,
                static_cast<unsigned long long>(seed_));
    rng_.seed(seed_);
    return EnvNumber("QZ_MONKEY_EVENTS", kMonkeyDefaultEvents);
  }

  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }

  TEventKind PickKind() {
    std::discrete_distribution<int> pick(kKindWeights.begin(), kKindWeights.end());
    return static_cast<TEventKind>(pick(rng_));
  }

  static bool Shown(TCustomForm* form) {
    return form->HandleAllocated() && IsWindowVisible(form->Handle()) && !IsIconic(form->Handle());
  }
  static THeadlessWindow* Native(TCustomForm* form) {
    if (!form->HandleAllocated()) return nullptr;
    return static_cast<THeadlessWindow*>(form->WindowData()->platform.get());
  }

  // While a native move or size loop waits for input with a mouse button
  // held, the user goes on: a few more moves, then lets go. False when no
  // button is held.
  bool FinishHeldGesture() {
    const bool left = hp->MouseButtonDown(TMouseButtonId::Left);
    const bool right = hp->MouseButtonDown(TMouseButtonId::Right);
    if (left || right) {
      if (heldMoves_ < 4 && Chance(0.5)) {
        ++heldMoves_;
        const TPoint p = hp->CursorPos();
        hp->InjectMouseMove({p.X + Uniform(-80, 80), p.Y + Uniform(-80, 80)});
        return true;
      }
      if (left) hp->InjectMouseUp(TMouseButtonId::Left);
      if (right) hp->InjectMouseUp(TMouseButtonId::Right);
      return true;
    }
    heldMoves_ = 0;
    return false;
  }

  // Inside the second window's modal loop the user clicks and types a
  // little, then closes it. False when the window is not modal.
  bool StepInModalSecondWindow() {
    if (!SecondIsModal()) return false;
    ++modalSteps_;
    if (modalSteps_ > 6 || Chance(0.3)) {
      Form2->SetModalResult(mrCancel);
      ++modalShows_;
      modalSteps_ = 0;
      return true;
    }
    if (Chance(0.5)) {
      hp->InjectKey(Chance(0.5) ? VK_TAB : VK_SPACE);
    } else {
      hp->InjectClick(RandomPointIn(Form2->BoundsRect()));
    }
    return true;
  }

  // The open dialog gets keys only (a click could make folders on disk)
  // and is cancelled after a few.
  bool StepInModalOpenDialog() {
    TCustomForm* dialog = nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (dynamic_cast<TqzOpenDlgForm*>(Screen->Forms(i)) &&
          Screen->Forms(i)->FormState().Contains(TFormStateFlag::fsModal))
        dialog = Screen->Forms(i);
    if (dialog == nullptr) return false;
    hp->AdvanceClock(25);
    if (++openDialogSteps_ > 6 || Chance(0.3)) {
      dialog->SetModalResult(mrCancel);
      openDialogSteps_ = 0;
      return true;
    }
    hp->InjectKey(Chance(0.5) ? VK_TAB : VK_DOWN);
    return true;
  }
  int openDialogSteps_ = 0;

  // Inside a message box ("Show message") or another dialog of the demo's
  // buttons the user clicks and types a little, then closes it. False when
  // none is modal.
  bool StepInModalMessageBox() {
    TCustomForm* box = nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f != Form1 && f != Form2 && f->FormState().Contains(TFormStateFlag::fsModal)) box = f;
    }
    if (box == nullptr) return false;
    ++messageSteps_;
    if (messageSteps_ > 6 || Chance(0.3)) {
      box->SetModalResult(mrCancel);
      ++messageShows_;
      messageSteps_ = 0;
      return true;
    }
    if (Chance(0.5)) {
      hp->InjectKey(Chance(0.5) ? VK_TAB : VK_RIGHT);
    } else {
      hp->InjectClick(RandomPointIn(box->BoundsRect()));
    }
    return true;
  }

  TPoint RandomPointIn(const TRect& r) {
    if (r.IsEmpty()) return r.TopLeft();
    return {Uniform(r.Left, r.Right - 1), Uniform(r.Top, r.Bottom - 1)};
  }

  // Every control of a window on the screen now.
  static void CollectShowing(TWinControl& parent, std::vector<TControl*>& out) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
      TControl* c = parent.Controls(i);
      if (!c->Showing() || c->Width() <= 0 || c->Height() <= 0) continue;
      out.push_back(c);
      if (auto* w = dynamic_cast<TWinControl*>(c)) CollectShowing(*w, out);
    }
  }

  // Mostly a control of the form, its caption objects, near its edges;
  // sometimes anywhere on the screen.
  TPoint PickPointOn(TCustomForm& form, TqzOrvane& controller) {
    if (!Shown(&form) || Chance(0.05)) return RandomPointIn(hp->ScreenRect());
    const TRect b = form.BoundsRect();
    const int where = Uniform(0, 99);
    auto& objects = controller.ObjectList();
    if (where < 60) {
      std::vector<TControl*> controls;
      CollectShowing(form, controls);
      if (!controls.empty()) {
        TControl* c = controls[size_t(Uniform(0, int(controls.size()) - 1))];
        return c->ClientToScreen(RandomPointIn({0, 0, c->Width(), c->Height()}));
      }
    }
    if (where < 80 && !objects.empty()) {
      const TRect r = objects[size_t(Uniform(0, int(objects.size()) - 1))]->ObjectRect;
      const TPoint local = RandomPointIn(r);
      return {b.Left + local.X, b.Top + local.Y};
    }
    if (where < 90) {
      return {b.Left + Uniform(-6, b.Width() + 6), b.Top + Uniform(-6, b.Height() + 6)};
    }
    return RandomPointIn(b);
  }

  void ClickAt(TPoint p, TMouseButtonId button) {
    hp->InjectMouseMove(p);
    hp->InjectMouseDown(button);
    hp->InjectMouseUp(button);
  }

  void Drag() {
    TPoint p = PickPoint();
    hp->InjectMouseMove(p);
    hp->InjectMouseDown(TMouseButtonId::Left);
    for (int steps = Uniform(1, 4); steps > 0; --steps) {
      p.X += Uniform(-60, 60);
      p.Y += Uniform(-60, 60);
      hp->InjectMouseMove(p);
      if (Chance(0.3)) Pump();
    }
    hp->InjectMouseUp(TMouseButtonId::Left);
  }

  void PressKey() {
    const int which = Uniform(0, 9);
    lastEvent_ = "key kind " + std::to_string(which) + " focus " + FocusName();
    switch (which) {
      case 0: hp->InjectKey(VK_TAB, Chance(0.3) ? uint32_t(kModShift) : 0u); break;
      case 1: hp->InjectKey(VK_TAB, kModCtrl | (Chance(0.3) ? uint32_t(kModShift) : 0u)); break;
      case 2: hp->InjectKey(VK_LEFT + Uniform(0, 3)); break;
      case 3: hp->InjectKey(VK_SPACE); break;
      case 4: hp->InjectKey(VK_RETURN); break;
      case 5: hp->InjectKey(VK_ESCAPE); break;
      case 6:
      case 7: hp->InjectKey('A' + Uniform(0, 25), kModAlt); break;
      case 8: hp->InjectKey(VK_SPACE, kModAlt); break;
      default: hp->InjectKey('A' + Uniform(0, 25)); break;
    }
  }

  void RunClock() {
    for (int left = Uniform(1, 24) * 25; left > 0; left -= 25) {
      hp->AdvanceClock(25);
      Pump();
    }
  }

  void Run(TEventKind kind) {
    ++kindCounts_[kind];
    lastEvent_ = kKindNames[size_t(kind)];
    switch (kind) {
      case TEventKind::Move: hp->InjectMouseMove(PickPoint()); break;
      case TEventKind::Click: ClickAt(PickPoint(), TMouseButtonId::Left); break;
      case TEventKind::RightClick: ClickAt(PickPoint(), TMouseButtonId::Right); break;
      case TEventKind::DoubleClick: {
        const TPoint p = PickPoint();
        ClickAt(p, TMouseButtonId::Left);
        ClickAt(p, TMouseButtonId::Left);
        break;
      }
      case TEventKind::Drag: Drag(); break;
      case TEventKind::Wheel:
        hp->InjectMouseMove(PickPoint());
        hp->InjectWheel(Chance(0.5) ? 120 : -120);
        break;
      case TEventKind::Key: PressKey(); break;
      case TEventKind::Clock: RunClock(); break;
      case TEventKind::Activate: ChangeActivation(); break;
    }
    Pump();
  }

  // A shown, skinned window keeps its controller's size limits and a shape.
  void CheckSizeAndShape(TCustomForm& form, TqzOrvane& controller, uint64_t step) {
    if (!Shown(&form) || !controller.Skinned()) return;
    const TqzSizeLimits limits = controller.SizeLimits();
    const TRect b = form.BoundsRect();
    EXPECT_GE(b.Width(), limits.MinWidth) << "step " << step << " after " << lastEvent_;
    EXPECT_GE(b.Height(), limits.MinHeight) << "step " << step << " after " << lastEvent_;
    EXPECT_LE(b.Width(), limits.MaxWidth) << "step " << step << " after " << lastEvent_;
    EXPECT_LE(b.Height(), limits.MaxHeight) << "step " << step << " after " << lastEvent_;
    if (const THeadlessWindow* native = Native(&form); native && native->Shape()) {
      EXPECT_FALSE(native->Shape()->IsEmpty()) << "region empty at step " << step;
    }
  }

  // Every control of type T of a window.
  template <class T>
  static void Collect(TWinControl& parent, std::vector<T*>& out) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
      if (auto* c = dynamic_cast<T*>(parent.Controls(i))) out.push_back(c);
      if (auto* w = dynamic_cast<TWinControl*>(parent.Controls(i))) Collect(*w, out);
    }
  }

  // With the mouse parked on the desktop for half a second nothing of the
  // window tracks it, morphs, fades or animates any more.
  void CheckTimersSettle(TCustomForm& form, TqzOrvane& controller, uint64_t step) {
    for (auto b : {TMouseButtonId::Left, TMouseButtonId::Right}) {
      if (hp->MouseButtonDown(b)) hp->InjectMouseUp(b);
    }
    hp->InjectMouseMove({hp->ScreenRect().Right - 2, hp->ScreenRect().Bottom - 2});
    Settle(500);
    EXPECT_FALSE(controller.MouseTimerActive()) << "mouse timer at step " << step;
    EXPECT_FALSE(controller.MorphTimerActive()) << "morph timer at step " << step;
    EXPECT_FALSE(controller.AnimateTimerActive()) << "animate timer at step " << step;
    std::vector<TqzSkinButton*> buttons;
    Collect(form, buttons);
    for (TqzSkinButton* b : buttons) {
      EXPECT_FALSE(b->FadeRunning()) << b->Name() << " fades at step " << step;
      EXPECT_FALSE(b->AnimationRunning()) << b->Name() << " animates at step " << step;
    }
    std::vector<TqzSkinCheckRadioBox*> boxes;
    Collect(form, boxes);
    for (TqzSkinCheckRadioBox* b : boxes) {
      EXPECT_FALSE(b->FadeRunning()) << b->Name() << " fades at step " << step;
    }
  }

  void ReportKinds(const char* who, uint64_t events) const {
    std::printf("[%s] seed %llu, %llu events\n", who, static_cast<unsigned long long>(seed_),
                static_cast<unsigned long long>(events));
    for (const auto& [kind, count] : kindCounts_) {
      std::printf("[%s]   %-13s %d\n", who, kKindNames[size_t(kind)], count);
    }
  }

  std::mt19937_64 rng_;
  uint64_t seed_ = 0;
  std::map<TEventKind, int> kindCounts_;
  std::string lastEvent_;  // what the failure messages name
  int heldMoves_ = 0, modalSteps_ = 0, modalShows_ = 0, messageSteps_ = 0, messageShows_ = 0;
};

}  // namespace qz::testing
