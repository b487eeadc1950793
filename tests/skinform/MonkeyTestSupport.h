// The two skinned windows of the demonstration program, set up as the demo
// sets them up, and the checks every random step must pass.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {

// A number from the environment, or `fallback` when unset or not a number.
inline uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  return end != nullptr && *end == '\0' ? value : fallback;
}

class DemoWindowsTest : public OrvaneTest {
 protected:
  // Main window: client mode, fixed size, magnetic, fades in.
  TSkinnedForm MakeMainWindow() {
    auto w = MakeSkinned(MainSkin(), Bounds(200, 120, 848, 645), /*clientMode=*/true, false);
    w.Orvane->SetSizeable(false);
    w.Orvane->Magnetic = true;
    w.Orvane->SetBorderIcons({biMinimize, biMinimizeToTray});
    w.Orvane->AlphaBlendAnimation = true;
    // The monkey keeps the main window: closing it would end the program.
    w.Form->OnCloseQuery = [this](TObject*, bool& canClose) {
      canClose = false;
      ++refusedMainCloses;
    };
    w.Form->Show();
    Pump();
    return w;
  }

  // Second window: frame mode, sizeable, translucent with a fade-in.
  TSkinnedForm MakeSecondWindow() {
    auto w = MakeSkinned(DialogSkin(), Bounds(700, 300, 520, 420), false, false);
    w.Orvane->SetSizeable(true);
    w.Orvane->SetBorderIcons({biSystemMenu, biMinimize, biMaximize, biRollUp});
    w.Orvane->AlphaBlend = true;
    w.Orvane->AlphaBlendAnimation = true;
    w.Orvane->AlphaBlendValue = 240;
    w.Form->OnClose = [](TObject*, TCloseAction& action) { action = caHide; };
    w.Form->Show();
    Pump();
    return w;
  }

  static THeadlessWindow* Native(const TSkinnedForm& w) {
    if (!w.Form->HandleAllocated()) return nullptr;
    return static_cast<THeadlessWindow*>(w.Form->WindowData()->platform.get());
  }

  static bool Shown(const TSkinnedForm& w) {
    return w.Form->HandleAllocated() && IsWindowVisible(w.Form->Handle()) &&
           !IsIconic(w.Form->Handle());
  }

  // The window keeps to the controller's own limits (they already account
  // for the rolled-up and minimised states) and keeps a shape to click on.
  static void ExpectSaneWindow(const TSkinnedForm& w, const std::string& name, uint64_t step) {
    if (!Shown(w) || !w.Orvane->Skinned()) return;
    const TqzSizeLimits limits = w.Orvane->SizeLimits();
    const TRect b = w.Form->BoundsRect();
    EXPECT_GE(b.Width(), limits.MinWidth) << name << " at step " << step;
    EXPECT_GE(b.Height(), limits.MinHeight) << name << " at step " << step;
    EXPECT_LE(b.Width(), limits.MaxWidth) << name << " at step " << step;
    EXPECT_LE(b.Height(), limits.MaxHeight) << name << " at step " << step;
    if (const THeadlessWindow* native = Native(w); native && native->Shape()) {
      EXPECT_FALSE(native->Shape()->IsEmpty()) << name << " region empty at step " << step;
    }
  }

  // A screen point no window covers, or nullopt when the screen is full.
  std::optional<TPoint> DesktopPoint() const {
    const TRect screen = hp->ScreenRect();
    for (int y = screen.Bottom - 2; y > screen.Top; y -= 37) {
      for (int x = screen.Right - 2; x > screen.Left; x -= 53) {
        if (hp->WindowAt({x, y}) == nullptr) return TPoint{x, y};
      }
    }
    return std::nullopt;
  }

  // Lets the clock run with the mouse parked on the desktop and the buttons
  // up, one timer period at a time, so that every timer gets its ticks.
  void SettleAway(int ms) {
    if (hp->MouseButtonDown(TMouseButtonId::Left)) hp->InjectMouseUp(TMouseButtonId::Left);
    if (hp->MouseButtonDown(TMouseButtonId::Right)) hp->InjectMouseUp(TMouseButtonId::Right);
    Pump();
    if (auto away = DesktopPoint()) hp->InjectMouseMove(*away);
    Pump();
    for (int t = 0; t < ms; t += 25) {
      hp->AdvanceClock(25);
      Pump();
    }
  }

  // Once the mouse has been away for a while nothing tracks it, morphs
  // or animates any more.
  static void ExpectTimersIdle(const TSkinnedForm& w, const std::string& name, uint64_t step) {
    EXPECT_FALSE(w.Orvane->MouseTimerActive()) << name << " mouse timer at step " << step;
    EXPECT_FALSE(w.Orvane->MorphTimerActive()) << name << " morph timer at step " << step;
    EXPECT_FALSE(w.Orvane->AnimateTimerActive()) << name << " animate timer at step " << step;
  }

  int refusedMainCloses = 0;
};

}  // namespace qz::testing
