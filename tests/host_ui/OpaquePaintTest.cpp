// Top-level windows whose paint covers all it is asked to paint
// (CS_OPAQUEPAINT) get a back buffer that is not cleared first. Whatever
// else reads it must still see black where nothing was painted: the memory
// behind it may hold anything.
#include <vector>

#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;

const void* volatile scratchSink = nullptr;

// Memory of about a window's size, freed full of a colour that is not black:
// the next window's buffers likely get it.
void LeaveJunk(int width, int height) {
  std::vector<uint32_t> junk(size_t(width) * size_t(height), 0xFF5A6B7Cu);
  scratchSink = junk.data();
}

class TOpaquePopup : public TCustomControl {
  QZ_CLASS(TOpaquePopup, TCustomControl)
 public:
  explicit TOpaquePopup(TColor fill) : TCustomControl(Application), fill_(fill) {
    visible_ = false;
    controlStyle_ = {csOpaque};
  }
  void Open(const TRect& r) {
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    visible_ = true;
  }
  int paints = 0;

 protected:
  void CreateParams(TCreateParams& params) override {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    params.WindowClassStyle = CS_OPAQUEPAINT;
  }
  void Paint() override {
    ++paints;
    Canvas().Brush().SetColor(fill_);
    Canvas().FillRect(ClientRect());
  }

 private:
  TColor fill_;
};

class OpaquePaintTest : public UiTest {};

TEST_F(OpaquePaintTest, PaintedWholeShowsThePaintAndNothingElse) {
  LeaveJunk(80, 50);
  auto* w = new TOpaquePopup(clRed);
  w->Open({100, 100, 180, 150});
  Pump();
  ASSERT_EQ(w->paints, 1);
  const TPixmap& back = WindowSystem().DefinedBackBuffer(w);
  const auto& shown = static_cast<THeadlessWindow*>(w->WindowData()->platform.get())->Contents();
  for (TPoint p : {TPoint{0, 0}, TPoint{79, 49}, TPoint{40, 25}}) {
    EXPECT_EQ(back.At(p.X, p.Y), Rgb(clRed));
    EXPECT_EQ(shown.At(p.X, p.Y), Rgb(clRed));
  }
  delete w;
}

// A shape leaves part of the buffer out of every paint: that part reads as
// black, for a reader of the buffer and on the platform window.
TEST_F(OpaquePaintTest, WhatNoPaintReachedReadsAsBlack) {
  LeaveJunk(80, 50);
  auto* w = new TOpaquePopup(clRed);
  w->HandleNeeded();
  SetWindowRgn(w->Handle(), TRegion(TRect{0, 0, 40, 50}), false);
  w->Open({100, 100, 180, 150});
  Pump();
  const TPixmap& back = WindowSystem().DefinedBackBuffer(w);
  EXPECT_EQ(back.At(10, 10), Rgb(clRed));
  EXPECT_EQ(back.At(60, 10), kBlack);
  EXPECT_EQ(back.At(79, 49), kBlack);
  const auto& shown = static_cast<THeadlessWindow*>(w->WindowData()->platform.get())->Contents();
  EXPECT_EQ(shown.At(10, 10), Rgb(clRed));
  EXPECT_EQ(shown.At(60, 10), kBlack);
  delete w;
}

// Before its first paint: a context of the window, and a resize, see black.
TEST_F(OpaquePaintTest, ReadBeforeTheFirstPaintOrAfterAResizeIsBlack) {
  LeaveJunk(80, 50);
  auto* w = new TOpaquePopup(clRed);
  w->SetBounds(100, 100, 80, 50);
  w->HandleNeeded();
  HDC dc = GetDC(w->Handle());
  EXPECT_EQ(ColorToRGB(dc->Pixel(30, 20)), ColorToRGB(clBlack));
  ReleaseDC(w->Handle(), dc);

  auto* resized = new TOpaquePopup(clRed);
  resized->SetBounds(100, 100, 80, 50);
  resized->HandleNeeded();
  LeaveJunk(120, 90);
  SetWindowPos(resized->Handle(), nullptr, 100, 100, 120, 90, SWP_NOZORDER | SWP_NOACTIVATE);
  const TPixmap& back = WindowSystem().DefinedBackBuffer(resized);
  ASSERT_EQ(back.Width(), 120);
  ASSERT_EQ(back.Height(), 90);
  for (TPoint p : {TPoint{0, 0}, TPoint{100, 70}, TPoint{119, 89}}) EXPECT_EQ(back.At(p.X, p.Y), kBlack);
  delete w;
  delete resized;
}

}  // namespace
}  // namespace qz::testing
