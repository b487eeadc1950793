// A monkey on the demo's real main window with all its controls: thousands
// of random clicks, drags, double clicks, wheel turns, keys and moves over
// every control and the caption objects, with the clock running in between,
// from a fixed seed. After every event the window keeps its size limits and
// a shape, exactly one of the three page buttons is down and both page
// controls show the pages that button stands for; every 500 events the
// timers must have stopped once the mouse went away.
//   QZ_MONKEY_SEED    replays another run (the seed is printed)
//   QZ_MONKEY_EVENTS  number of events; 10,000 by default, 3,000 in a
//                     sanitizer build, where every event costs far more
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/ui/Application.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr uint64_t kDefaultEvents = 3000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr uint64_t kDefaultEvents = 3000;
#else
constexpr uint64_t kDefaultEvents = 10000;
#endif
#else
constexpr uint64_t kDefaultEvents = 10000;
#endif

uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  return end != nullptr && *end == '\0' ? value : fallback;
}

enum class TEventKind { Move, Click, RightClick, DoubleClick, Drag, Wheel, Key, Clock, Activate };

constexpr std::array<const char*, 9> kKindNames{"move",  "click", "right click", "double click",
                                                "drag",  "wheel", "key",         "clock",
                                                "activate"};

// Relative frequencies, in the order of TEventKind.
constexpr std::array<double, 9> kKindWeights{24, 20, 4, 6, 6, 5, 20, 12, 3};

// The pages each of the three buttons stands for: first and second page control.
struct TPagePair {
  int First, Second;
};
constexpr std::array<TPagePair, 3> kPagesOfButton{{{0, 0}, {1, 1}, {2, 0}}};

class DemoMonkey : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    // Closing the main window would end the program; the monkey keeps it.
    Form1->OnCloseQuery = [this](TObject*, bool& canClose) {
      canClose = false;
      ++refusedCloses_;
    };
    Form1->Show();
    Settle(600);
    hp->SetIdleHandler([this] { return IdleStep(); });
  }
  void TearDown() override {
    hp->SetIdleHandler({});
    UiTest::TearDown();
  }

  void Settle(int ms) {
    Pump();
    for (int t = 0; t < ms; t += 25) {
      hp->AdvanceClock(25);
      Pump();
    }
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
  bool SecondIsModal() const {
    return Form2->Visible() && Form2->FormState().Contains(TFormStateFlag::fsModal);
  }

  // While a native move or size loop or the second window's modal loop
  // waits for input, the user goes on: a few more moves with the button
  // held, then lets go; in the modal window a few clicks and keys, then
  // closes it.
  bool IdleStep() {
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

  TPoint RandomPointIn(const TRect& r) {
    if (r.IsEmpty()) return r.TopLeft();
    return {Uniform(r.Left, r.Right - 1), Uniform(r.Top, r.Bottom - 1)};
  }

  // Every control of the main window on the screen now.
  void CollectShowing(TWinControl& parent, std::vector<TControl*>& out) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
      TControl* c = parent.Controls(i);
      if (!c->Showing() || c->Width() <= 0 || c->Height() <= 0) continue;
      out.push_back(c);
      if (auto* w = dynamic_cast<TWinControl*>(c)) CollectShowing(*w, out);
    }
  }

  // Where the mouse goes: mostly a control of the main window, its caption
  // objects, near its edges; sometimes anywhere on the screen.
  TPoint PickPoint() {
    if (!Shown(Form1) || Chance(0.05)) return RandomPointIn(hp->ScreenRect());
    const TRect b = Form1->BoundsRect();
    const int where = Uniform(0, 99);
    auto& objects = Form1->qzOrvane1->ObjectList();
    if (where < 60) {
      std::vector<TControl*> controls;
      CollectShowing(*Form1, controls);
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

  // Brings the main window back from the tray or the task bar, else
  // activates it.
  void ChangeActivation() {
    if (!Form1->Visible()) {
      Form1->qzOrvane1->RestoreFromTray();
    } else if (IsIconic(Form1->Handle())) {
      Application->Restore();
    } else if (THeadlessWindow* native = Native(Form1)) {
      native->Activate();
    }
  }

  void RunClock() {
    for (int left = Uniform(1, 24) * 25; left > 0; left -= 25) {
      hp->AdvanceClock(25);
      Pump();
    }
  }

  std::string FocusName() const {
    TWinControl* f = Form1->ActiveControl();
    return f ? f->Name() : std::string("none");
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

  std::array<TqzSkinButton*, 3> PageButtons() const {
    return {Form1->qzSkinButton1, Form1->qzSkinButton2, Form1->qzSkinButton3};
  }

  void CheckWindow(uint64_t step) {
    if (Shown(Form1) && Form1->qzOrvane1->Skinned()) {
      const TqzSizeLimits limits = Form1->qzOrvane1->SizeLimits();
      const TRect b = Form1->BoundsRect();
      EXPECT_GE(b.Width(), limits.MinWidth) << "step " << step;
      EXPECT_GE(b.Height(), limits.MinHeight) << "step " << step;
      EXPECT_LE(b.Width(), limits.MaxWidth) << "step " << step;
      EXPECT_LE(b.Height(), limits.MaxHeight) << "step " << step;
      if (const THeadlessWindow* native = Native(Form1); native && native->Shape()) {
        EXPECT_FALSE(native->Shape()->IsEmpty()) << "region empty at step " << step;
      }
    }
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

  // Every skin button of a form.
  static void CollectButtons(TWinControl& parent, std::vector<TqzSkinButton*>& out) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
      if (auto* b = dynamic_cast<TqzSkinButton*>(parent.Controls(i))) out.push_back(b);
      if (auto* w = dynamic_cast<TWinControl*>(parent.Controls(i))) CollectButtons(*w, out);
    }
  }

  // With the mouse parked on the desktop for half a second nothing tracks
  // it, morphs, fades or animates any more.
  void CheckTimersSettle(uint64_t step) {
    for (auto b : {TMouseButtonId::Left, TMouseButtonId::Right}) {
      if (hp->MouseButtonDown(b)) hp->InjectMouseUp(b);
    }
    hp->InjectMouseMove({hp->ScreenRect().Right - 2, hp->ScreenRect().Bottom - 2});
    Settle(500);
    const TqzOrvane& o = *Form1->qzOrvane1;
    EXPECT_FALSE(o.MouseTimerActive()) << "mouse timer at step " << step;
    EXPECT_FALSE(o.MorphTimerActive()) << "morph timer at step " << step;
    EXPECT_FALSE(o.AnimateTimerActive()) << "animate timer at step " << step;
    std::vector<TqzSkinButton*> buttons;
    CollectButtons(*Form1, buttons);
    for (TqzSkinButton* b : buttons) {
      EXPECT_FALSE(b->FadeRunning()) << b->Name() << " fades at step " << step;
      EXPECT_FALSE(b->AnimationRunning()) << b->Name() << " animates at step " << step;
    }
  }

  void Report(uint64_t seed, uint64_t events) const {
    std::printf("[demo monkey] seed %llu, %llu events\n", static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(events));
    for (const auto& [kind, count] : kindCounts_) {
      std::printf("[demo monkey]   %-13s %d\n", kKindNames[size_t(kind)], count);
    }
    std::printf(
        "[demo monkey] steps with button 1/2/3 down: %d/%d/%d; second window shown modally %d; "
        "main close refused %d\n",
        downSteps_[0], downSteps_[1], downSteps_[2], modalShows_, refusedCloses_);
  }

  TForm1* Form1 = nullptr;
  TForm2* Form2 = nullptr;
  std::mt19937_64 rng_;
  std::map<TEventKind, int> kindCounts_;
  std::string lastEvent_;  // what the failure messages name
  std::array<int, 3> downSteps_{};
  int heldMoves_ = 0, modalSteps_ = 0, modalShows_ = 0, refusedCloses_ = 0;
};

TEST_F(DemoMonkey, RandomEventsKeepTheMainWindowSound) {
  const uint64_t seed = EnvNumber("QZ_MONKEY_SEED", 20261209);
  const uint64_t events = EnvNumber("QZ_MONKEY_EVENTS", kDefaultEvents);
  std::printf("[demo monkey] seed %llu (set QZ_MONKEY_SEED to replay another)\n",
              static_cast<unsigned long long>(seed));
  rng_.seed(seed);

  uint64_t step = 0;
  for (; step < events && !HasFailure(); ++step) {
    Run(PickKind());
    CheckWindow(step);
    if (step % 500 == 499 && !HasFailure()) CheckTimersSettle(step);
  }
  if (!HasFailure()) CheckTimersSettle(step);
  Report(seed, step);
  // The monkey reached every page.
  EXPECT_GT(downSteps_[1], 0);
  EXPECT_GT(downSteps_[2], 0);
}

}  // namespace
}  // namespace qz::testing
