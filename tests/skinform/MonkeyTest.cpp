// A monkey on the demo's two skinned windows: thousands of random mouse,
// keyboard, activation, skin and clock events from a fixed seed, with the
// windows' invariants checked after every one of them.
//   QZ_MONKEY_SEED    replays another run (the seed is printed)
//   QZ_MONKEY_EVENTS  number of events; 10,000 by default, 3,000 in a
//                     sanitizer build, where every event costs about ten times
//                     as much and the run should stay under a minute
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "host/ui/PopupMenuWindow.h"
#include "tests/skinform/MonkeyTestSupport.h"

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

enum class TEventKind {
  Move, Press, Release, Click, DoubleClick, EdgeDrag, Key, Activate, SkinReload, SkinSwap,
  Clock, CloseReshow
};

constexpr std::array<const char*, 12> kKindNames{
    "move", "press", "release", "click", "double click", "edge drag", "key", "activate",
    "skin reload", "skin swap", "clock", "close/reshow"};

// Relative frequencies, in the order of TEventKind.
constexpr std::array<double, 12> kKindWeights{28, 8, 7, 8, 5, 8, 10, 5, 1.5, 0.5, 12, 2};

struct TStateCounts {
  int Maximized = 0, RolledUp = 0, Minimized = 0, MenusOpened = 0, AppMinimized = 0, InTray = 0;
  int MouseTimerSteps = 0, MorphOrAnimateSteps = 0;
};

class Monkey : public DemoWindowsTest {
 protected:
  void SetUp() override {
    DemoWindowsTest::SetUp();
    main_ = MakeMainWindow();
    second_ = MakeSecondWindow();
    hp->SetIdleHandler([this] { return KeepHoldingOrLetGo(); });
  }

  // A held button keeps a native move or size loop waiting for input: the
  // user then moves a little more, and lets go in the end. Without a held
  // button there is nothing to do.
  bool KeepHoldingOrLetGo() {
    const bool left = hp->MouseButtonDown(TMouseButtonId::Left);
    const bool right = hp->MouseButtonDown(TMouseButtonId::Right);
    if (!left && !right) {
      heldMoves_ = 0;
      return false;
    }
    if (heldMoves_ < 4 && Chance(0.5)) {
      ++heldMoves_;
      const TPoint p = hp->CursorPos();
      hp->InjectMouseMove({p.X + Uniform(-120, 120), p.Y + Uniform(-120, 120)});
      return true;
    }
    if (left) hp->InjectMouseUp(TMouseButtonId::Left);
    if (right) hp->InjectMouseUp(TMouseButtonId::Right);
    return true;
  }

  std::mt19937_64 rng_;
  TSkinnedForm main_{}, second_{};
  std::map<TEventKind, int> kindCounts_;
  TStateCounts reached_;
  bool skinsSwapped_ = false;

  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }

  TEventKind PickKind() {
    std::discrete_distribution<int> pick(kKindWeights.begin(), kKindWeights.end());
    return static_cast<TEventKind>(pick(rng_));
  }

  std::vector<TSkinnedForm*> ShownWindows() {
    std::vector<TSkinnedForm*> shown;
    for (TSkinnedForm* w : {&main_, &second_}) {
      if (Shown(*w)) shown.push_back(w);
    }
    return shown;
  }

  TControl* OpenSystemMenu() {
    for (TSkinnedForm* w : {&main_, &second_}) {
      if (w->Orvane->SkinMenu().Visible()) return w->Orvane->SkinMenu().Level(0);
    }
    return nullptr;
  }

  TPoint RandomPointIn(const TRect& r) {
    if (r.IsEmpty()) return r.TopLeft();
    return {Uniform(r.Left, r.Right - 1), Uniform(r.Top, r.Bottom - 1)};
  }

  // A point within a few pixels of one of the window's edges (window
  // coordinates; it may lie just outside).
  TPoint NearEdge(const TRect& bounds) {
    const int w = bounds.Width(), h = bounds.Height(), d = Uniform(-6, 6);
    switch (Uniform(0, 3)) {
      case 0: return {d, Uniform(0, h)};
      case 1: return {w + d, Uniform(0, h)};
      case 2: return {Uniform(0, w), d};
      default: return {Uniform(0, w), h + d};
    }
  }

  // Where the monkey's mouse goes: mostly the interesting parts of a shown
  // window (edges, caption, skin objects), sometimes an open menu or the
  // desktop.
  TPoint PickPoint() {
    if (TControl* menu = OpenSystemMenu(); menu && Chance(0.4)) {
      return RandomPointIn(menu->BoundsRect());
    }
    const auto shown = ShownWindows();
    if (shown.empty() || Chance(0.08)) return RandomPointIn(hp->ScreenRect());
    TSkinnedForm& w = *shown[Uniform(0, int(shown.size()) - 1)];
    const TRect bounds = w.Form->BoundsRect();
    TPoint local;
    const int where = Uniform(0, 99);
    auto& objects = w.Orvane->ObjectList();
    if (where < 30) {
      local = NearEdge(bounds);
    } else if (where < 50 && !w.Orvane->Rects().NewCaptionRect.IsEmpty()) {
      local = RandomPointIn(w.Orvane->Rects().NewCaptionRect);
    } else if (where < 85 && !objects.empty()) {
      local = RandomPointIn(objects[Uniform(0, int(objects.size()) - 1)]->ObjectRect);
    } else {
      local = RandomPointIn({0, 0, bounds.Width(), bounds.Height()});
    }
    return {bounds.Left + local.X, bounds.Top + local.Y};
  }

  TMouseButtonId PickButton() { return Chance(0.8) ? TMouseButtonId::Left : TMouseButtonId::Right; }

  void PressAt(TPoint p, TMouseButtonId button) {
    hp->InjectMouseMove(p);
    hp->InjectMouseDown(button);
  }

  // Presses near an edge (or the caption) and drags across it in a few steps.
  void EdgeDrag() {
    const auto shown = ShownWindows();
    if (shown.empty()) return;
    TSkinnedForm& w = *shown[Uniform(0, int(shown.size()) - 1)];
    const TRect b = w.Form->BoundsRect();
    const TPoint local = Chance(0.7) ? NearEdge(b) : RandomPointIn(w.Orvane->Rects().NewCaptionRect);
    TPoint p{b.Left + local.X, b.Top + local.Y};
    PressAt(p, TMouseButtonId::Left);
    for (int steps = Uniform(1, 4); steps > 0; --steps) {
      p.X += Uniform(-120, 120);
      p.Y += Uniform(-120, 120);
      hp->InjectMouseMove(p);
      if (Chance(0.3)) Pump();  // sometimes let the move loop see each step
    }
    hp->InjectMouseUp(TMouseButtonId::Left);
  }

  void PressKey() {
    static constexpr std::array<int, 8> kKeys{VK_ESCAPE, VK_RETURN, VK_LEFT, VK_RIGHT,
                                              VK_UP,     VK_DOWN,   VK_SPACE, 'A'};
    const int which = Uniform(0, int(kKeys.size()) + 2);
    if (which == int(kKeys.size())) {
      hp->InjectKey(VK_SPACE, kModAlt);
    } else if (which > int(kKeys.size())) {
      hp->InjectKey('A' + Uniform(0, 25));
    } else {
      hp->InjectKey(kKeys[which]);
    }
  }

  // Brings back what the user can bring back: the main window from the
  // tray (the icon's double click), minimised windows from the task bar;
  // else activates a shown window.
  void ChangeActivation() {
    if (!main_.Form->Visible()) {
      main_.Orvane->RestoreFromTray();
      return;
    }
    if (IsIconic(main_.Form->Handle()) ||
        (second_.Form->HandleAllocated() && IsIconic(second_.Form->Handle()))) {
      Application->Restore();
      return;
    }
    const auto shown = ShownWindows();
    if (shown.empty()) return;
    if (THeadlessWindow* native = Native(*shown[Uniform(0, int(shown.size()) - 1)])) {
      native->Activate();
    }
  }

  // Loads one of the two skins into one of the two skin data components.
  void ReloadSkin() {
    TSkinnedForm& w = Chance(0.5) ? main_ : second_;
    const TDemoSkin& skin = Chance(0.5) ? MainSkin() : DialogSkin();
    w.Skin->LoadFromCompressedData(skin.Compressed);
  }

  // Each window takes the other's skin (and back the next time).
  void SwapSkins() {
    skinsSwapped_ = !skinsSwapped_;
    main_.Skin->LoadFromCompressedData((skinsSwapped_ ? DialogSkin() : MainSkin()).Compressed);
    second_.Skin->LoadFromCompressedData((skinsSwapped_ ? MainSkin() : DialogSkin()).Compressed);
  }

  void RunClock() {
    for (int left = Uniform(1, 24) * 25; left > 0; left -= 25) {
      hp->AdvanceClock(25);
      Pump();
    }
  }

  void CloseOrReshow() {
    if (second_.Form->Visible()) {
      second_.Form->Close();
    } else {
      second_.Form->Show();
    }
  }

  void Run(TEventKind kind) {
    ++kindCounts_[kind];
    switch (kind) {
      case TEventKind::Move: hp->InjectMouseMove(PickPoint()); break;
      case TEventKind::Press:
        if (Chance(0.5)) hp->InjectMouseMove(PickPoint());
        hp->InjectMouseDown(PickButton());
        break;
      case TEventKind::Release: hp->InjectMouseUp(PickButton()); break;
      case TEventKind::Click: {
        const TMouseButtonId button = PickButton();
        PressAt(PickPoint(), button);
        hp->InjectMouseUp(button);
        break;
      }
      case TEventKind::DoubleClick: {
        const TPoint p = PickPoint();
        for (int i = 0; i < 2; ++i) {
          PressAt(p, TMouseButtonId::Left);
          hp->InjectMouseUp(TMouseButtonId::Left);
        }
        break;
      }
      case TEventKind::EdgeDrag: EdgeDrag(); break;
      case TEventKind::Key: PressKey(); break;
      case TEventKind::Activate: ChangeActivation(); break;
      case TEventKind::SkinReload: ReloadSkin(); break;
      case TEventKind::SkinSwap: SwapSkins(); break;
      case TEventKind::Clock: RunClock(); break;
      case TEventKind::CloseReshow: CloseOrReshow(); break;
    }
    Pump();
  }

  // Counts every entry into a state the monkey is meant to reach.
  void CountStates() {
    for (size_t i = 0; i < 2; ++i) {
      const TqzOrvane& o = *(i == 0 ? main_ : second_).Orvane;
      const TSeen now{o.ActualWindowState() == wsMaximized, o.IsRolledUp(),
                      o.ActualWindowState() == wsMinimized};
      reached_.Maximized += now.Maximized && !seen_[i].Maximized;
      reached_.RolledUp += now.RolledUp && !seen_[i].RolledUp;
      reached_.Minimized += now.Minimized && !seen_[i].Minimized;
      seen_[i] = now;
      // Steps with a running timer: the idle checks have something to catch.
      reached_.MouseTimerSteps += o.MouseTimerActive();
      reached_.MorphOrAnimateSteps += o.MorphTimerActive() || o.AnimateTimerActive();
    }
    const bool iconic = IsIconic(main_.Form->Handle());
    reached_.AppMinimized += iconic && !appWasIconic_;
    appWasIconic_ = iconic;
    const bool inTray = !main_.Form->Visible();
    reached_.InTray += inTray && !wasInTray_;
    wasInTray_ = inTray;
    const bool menuOpen = OpenSystemMenu() != nullptr;
    reached_.MenusOpened += menuOpen && !menuWasOpen_;
    menuWasOpen_ = menuOpen;
  }

  void CheckWindows(uint64_t step) {
    ExpectSaneWindow(main_, "main", step);
    ExpectSaneWindow(second_, "second", step);
  }

  void CheckTimersSettle(uint64_t step) {
    SettleAway(500);
    ExpectTimersIdle(main_, "main", step);
    ExpectTimersIdle(second_, "second", step);
  }

  void Report(uint64_t seed, uint64_t events) const {
    std::printf("[monkey] seed %llu, %llu events\n", static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(events));
    for (const auto& [kind, count] : kindCounts_) {
      std::printf("[monkey]   %-13s %d\n", kKindNames[size_t(kind)], count);
    }
    std::printf(
        "[monkey] reached: maximised %d, rolled up %d, minimised %d, application minimised %d, "
        "main window to the tray %d, system menus opened %d, main close refused %d\n",
        reached_.Maximized, reached_.RolledUp, reached_.Minimized, reached_.AppMinimized,
        reached_.InTray, reached_.MenusOpened, refusedMainCloses);
    std::printf("[monkey] window-steps with the mouse timer on %d, with morph/animate on %d\n",
                reached_.MouseTimerSteps, reached_.MorphOrAnimateSteps);
  }

  struct TSeen {
    bool Maximized = false, RolledUp = false, Minimized = false;
  };
  std::array<TSeen, 2> seen_{};
  int heldMoves_ = 0;
  bool appWasIconic_ = false, menuWasOpen_ = false, wasInTray_ = false;
};

TEST_F(Monkey, RandomEventsKeepBothWindowsSound) {
  const uint64_t seed = EnvNumber("QZ_MONKEY_SEED", 20261209);
  const uint64_t events = EnvNumber("QZ_MONKEY_EVENTS", kDefaultEvents);
  std::printf("[monkey] seed %llu (set QZ_MONKEY_SEED to replay another)\n",
              static_cast<unsigned long long>(seed));
  rng_.seed(seed);

  uint64_t step = 0;
  for (; step < events && !HasFailure(); ++step) {
    Run(PickKind());
    CountStates();
    CheckWindows(step);
    if (step % 500 == 499) CheckTimersSettle(step);
  }
  if (!HasFailure()) CheckTimersSettle(step);
  Report(seed, step);
}

}  // namespace
}  // namespace qz::testing
