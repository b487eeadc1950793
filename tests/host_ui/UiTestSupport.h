// A fresh application on a fresh headless platform for every test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"

namespace qz::testing {

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto p = std::make_unique<THeadlessPlatform>();
    hp = p.get();
    TApplication::ResetForTesting(std::move(p));
  }
  void TearDown() override { TApplication::ResetForTesting(std::make_unique<THeadlessPlatform>()); }

  void Pump() { Application->ProcessMessages(); }

  // A shown form at the given outer bounds.
  TForm* MakeForm(TRect bounds, TFormBorderStyle style = bsSizeable, const std::string& caption = "Form") {
    auto* f = new TForm(Application);
    f->SetBorderStyle(style);
    f->SetCaption(caption);
    f->SetBoundsRect(bounds);
    f->Show();
    Pump();
    return f;
  }

  void Click(TPoint screen) {
    hp->InjectClick(screen);
    Pump();
  }
  void Move(TPoint screen) {
    hp->InjectMouseMove(screen);
    Pump();
  }
  void Key(int vk, uint32_t mods = 0) {
    hp->InjectKey(vk, mods);
    Pump();
  }

  // The pixel of the composed screen (0xAARRGGBB).
  uint32_t ScreenPixel(TPoint p) const {
    TPixmap s = hp->ComposeScreen();
    return s.At(p.X, p.Y);
  }
  static uint32_t Rgb(TColor c) { return PixelFromColorRef(ColorToRGB(c)); }

  THeadlessPlatform* hp = nullptr;
};

// A custom control that records its paints and mouse messages.
class TProbe : public TCustomControl {
  QZ_CLASS(TProbe, TCustomControl)
 public:
  explicit TProbe(TComponent* owner, TColor fill = clRed) : TCustomControl(owner), fill_(fill) {}
  int paints = 0;
  std::vector<uint32_t> messages;
  std::vector<TPoint> points;
  TColor fill_;

 protected:
  void Paint() override {
    ++paints;
    Canvas().Brush().SetColor(fill_);
    Canvas().FillRect(ClientRect());
  }
  void WndProc(TMessage& m) override {
    if ((m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MBUTTONDBLCLK) || m.Msg == WM_CAPTURECHANGED ||
        m.Msg == WM_MOUSELEAVE || m.Msg == WM_NCMOUSELEAVE) {
      messages.push_back(m.Msg);
      points.push_back({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    }
    TCustomControl::WndProc(m);
  }
};

}  // namespace qz::testing
