// Painting: update regions, clipping by children and siblings, window
// regions, painting into a given context, layered windows, and a small form
// written as PNG.
#include <filesystem>

#include "host/graphics/PngWriter.h"

#include "UiTestSupport.h"

namespace qz::testing {
namespace {

class PaintTest : public UiTest {
 protected:
  TForm* form = nullptr;
  int formPaints = 0;
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsSizeable, "Paint");
    form->OnPaint = [this](TObject*) {
      ++formPaints;
      form->Canvas().Brush().SetColor(clFuchsia);
      form->Canvas().FillRect(form->ClientRect());
    };
  }
  TProbe* AddProbe(TWinControl* parent, TRect r, TColor c) {
    auto* p = new TProbe(form, c);
    p->SetParent(parent);
    p->SetBoundsRect(r);
    return p;
  }
  uint32_t At(TWinControl* w, TPoint client) { return ScreenPixel(w->ClientToScreen(client)); }
};

TEST_F(PaintTest, OnlyTheInvalidatedChildRepaints) {
  TProbe* a = AddProbe(form, {10, 10, 60, 60}, clRed);
  TProbe* b = AddProbe(form, {100, 10, 150, 60}, clBlue);
  Pump();
  EXPECT_EQ(At(a, {5, 5}), Rgb(clRed));
  EXPECT_EQ(At(b, {5, 5}), Rgb(clBlue));
  int fp = formPaints, ap = a->paints, bp = b->paints;
  a->Invalidate();
  Pump();
  EXPECT_EQ(a->paints, ap + 1);
  EXPECT_EQ(b->paints, bp);
  EXPECT_EQ(formPaints, fp);
  // A form repaint (WS_CLIPCHILDREN) leaves the children alone and never
  // paints over them.
  form->Invalidate();
  Pump();
  EXPECT_EQ(formPaints, fp + 1);
  EXPECT_EQ(a->paints, ap + 1);
  EXPECT_EQ(At(a, {5, 5}), Rgb(clRed));
  EXPECT_EQ(At(form, {5, 5}), Rgb(clFuchsia));
}

TEST_F(PaintTest, HigherSiblingsAndChildrenAreClippedOut) {
  TProbe* low = AddProbe(form, {10, 10, 110, 110}, clRed);
  TProbe* high = AddProbe(form, {60, 60, 160, 160}, clBlue);
  TProbe* child = AddProbe(low, {5, 5, 25, 25}, clLime);
  Pump();
  low->Invalidate();  // TProbe lacks WS_CLIPCHILDREN: the child repaints too
  Pump();
  EXPECT_EQ(At(low, {70, 70}), Rgb(clBlue));  // the overlap belongs to the higher sibling
  EXPECT_EQ(At(low, {40, 40}), Rgb(clRed));
  EXPECT_EQ(At(child, {1, 1}), Rgb(clLime));
  // The clip the paint context gets is exactly that visible part.
  TRegion expected = TRegion(Bounds(0, 0, 100, 100))
                         .Subtract(TRegion(Bounds(50, 50, 50, 50)))
                         .Subtract(TRegion(Bounds(5, 5, 20, 20)));
  HDC dc = GetDC(low);
  TRegion clip = dc->ClipRegion();
  TPoint o = TWindowSystem::OffsetInTop(low) + low->WindowData()->clientRect.TopLeft();
  clip.Offset(-o.X, -o.Y);
  ReleaseDC(low, dc);
  EXPECT_EQ(clip, expected);
  // Bringing the low one to the front swaps the overlap.
  SetWindowPos(low, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  EXPECT_EQ(At(low, {70, 70}), Rgb(clRed));
  (void)high;
}

TEST_F(PaintTest, WindowRegionClipsPaintingAndHitTesting) {
  TProbe* p = AddProbe(form, {10, 10, 110, 110}, clRed);
  Pump();
  // Only the left half of the window stays.
  SetWindowRgn(p, TRegion(Bounds(0, 0, 50, 100)), true);
  Pump();
  EXPECT_EQ(At(form, {20, 20}), Rgb(clRed));
  EXPECT_EQ(At(form, {80, 20}), Rgb(clFuchsia));  // the parent shows through
  EXPECT_EQ(WindowFromPoint(form->ClientToScreen({20, 20})), p);
  EXPECT_EQ(WindowFromPoint(form->ClientToScreen({80, 20})), form);
  TRegion back;
  EXPECT_EQ(GetWindowRgn(p, back), SIMPLEREGION);
  // A top-level window's region becomes its platform shape.
  SetWindowRgn(form, TRegion(Bounds(0, 0, 200, 300)), true);
  auto* native = static_cast<THeadlessWindow*>(form->WindowData()->platform.get());
  ASSERT_TRUE(native->Shape().has_value());
  EXPECT_EQ(*native->Shape(), TRegion(Bounds(0, 0, 200, 300)));
  EXPECT_EQ(WindowFromPoint({350, 200}), nullptr);
  SetWindowRgn(form, nullptr, true);
  EXPECT_FALSE(native->Shape().has_value());
}

TEST_F(PaintTest, ParentPaintsIntoAGivenContextWithGraphicChildren) {
  TProbe* parent = AddProbe(form, {10, 10, 210, 110}, clNavy);
  auto* bevel = new TLabel(form);  // an earlier window-less sibling under the child
  bevel->SetParent(parent);
  bevel->SetAutoSize(false);
  bevel->SetTransparent(false);
  bevel->SetColor(clYellow);
  bevel->SetCaption("");
  bevel->SetBounds(40, 20, 30, 30);
  Pump();
  // What a transparent child at (30, 10, 80, 60) of the parent needs as its
  // background: the parent's paint and the label, shifted.
  TPixmap bmp(50, 50, 0);
  TCanvas c(&bmp);
  c.SetViewportOrg({-30, -10});
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&c));
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(&c));
  EXPECT_EQ(bmp.At(0, 0), Rgb(clNavy));
  EXPECT_EQ(bmp.At(10, 10), Rgb(clYellow));   // the label at parent (40, 20)
  EXPECT_EQ(bmp.At(39, 39), Rgb(clYellow));   // its last pixel (69, 49)
  EXPECT_EQ(bmp.At(40, 40), Rgb(clNavy));
  // PaintTo draws a control with its children anywhere.
  TPixmap whole(200, 100, 0);
  TCanvas wc(&whole);
  parent->PaintTo(&wc, 0, 0);
  EXPECT_EQ(whole.At(45, 25), Rgb(clYellow));
  EXPECT_EQ(whole.At(5, 5), Rgb(clNavy));
}

TEST_F(PaintTest, LayeredWindowsReachThePlatform) {
  form->SetAlphaBlendValue(128);
  form->SetAlphaBlend(true);
  auto* native = static_cast<THeadlessWindow*>(form->WindowData()->platform.get());
  EXPECT_EQ(native->Opacity(), 128);
  Pump();
  // A per-pixel alpha picture replaces painting.
  TPixmap pic(form->Width(), form->Height(), 0x80400000u);
  EXPECT_TRUE(UpdateLayeredWindow(form, nullptr, nullptr, pic, nullptr, ULW_ALPHA));
  EXPECT_TRUE(native->Layered());
  EXPECT_EQ(native->Contents(), pic);
  int fp = formPaints;
  form->Invalidate();
  Pump();
  EXPECT_EQ(formPaints, fp);
  // Alpha 0 pixels let the pointer through.
  TPixmap holey(form->Width(), form->Height(), 0xFF000000u);
  holey.At(50, 50) = 0;
  UpdateLayeredWindow(form, nullptr, nullptr, holey, nullptr, ULW_ALPHA);
  EXPECT_EQ(WindowFromPoint({150, 150}), nullptr);
  EXPECT_NE(WindowFromPoint({151, 150}), nullptr);
  // Back to ordinary painting.
  form->SetAlphaBlend(false);
  Pump();
  EXPECT_GT(formPaints, fp);
  EXPECT_EQ(native->Opacity(), 255);
}

TEST_F(PaintTest, ALayeredPictureRightAfterShowDoesNotStallTheQueue) {
  // Shown and drawn into before any message ran: the pending present of the
  // back buffer must be dropped, or the queue never becomes idle.
  TForm* layered = MakeForm({600, 100, 700, 200}, bsNone, "Layered");
  SetWindowLong(layered, GWL_EXSTYLE, GetWindowLong(layered, GWL_EXSTYLE) | WS_EX_LAYERED);
  layered->Show();
  TPixmap pic(layered->Width(), layered->Height(), 0x80204060u);
  ASSERT_TRUE(UpdateLayeredWindow(layered, nullptr, nullptr, pic, nullptr, ULW_ALPHA));
  HDC dc = GetDC(layered);
  ReleaseDC(layered, dc);
  Pump();
  auto* native = static_cast<THeadlessWindow*>(layered->WindowData()->platform.get());
  EXPECT_EQ(native->Contents(), pic);
}

TEST_F(PaintTest, ColourKeyMakesHolesInTheShape) {
  TProbe* hole = AddProbe(form, {10, 10, 30, 30}, clLime);
  SetWindowLong(form, GWL_EXSTYLE, GetWindowLong(form, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(form, ColorToRGB(clLime), 255, LWA_COLORKEY);
  Pump();
  auto* native = static_cast<THeadlessWindow*>(form->WindowData()->platform.get());
  ASSERT_TRUE(native->Shape().has_value());
  TPoint inHole = hole->ClientToScreen({5, 5}) - form->BoundsRect().TopLeft();
  EXPECT_FALSE(native->Shape()->Contains(inHole));
  EXPECT_TRUE(native->Shape()->Contains(inHole + TPoint{30, 0}));
}

TEST_F(PaintTest, SmallFormWithPanelLabelAndButton) {
  form->OnPaint = nullptr;
  form->SetColor(clBtnFace);
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 200, 60);
  panel->SetCaption("Panel");
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption("Label text");
  label->SetBounds(10, 90, 100, 20);
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetCaption("OK");
  button->SetBounds(10, 130, 75, 25);
  button->SetFocus();
  Pump();
  std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
  hp->SaveScreenPng(std::string(QZ_TEST_OUTPUT_DIR) + "/host_ui_screen.png");
  {
    TPixmap screen = hp->ComposeScreen(), crop(420, 320);
    for (int y = 0; y < 320; ++y)
      for (int x = 0; x < 420; ++x) crop.At(x, y) = screen.At(90 + x, 90 + y);
    SavePng(crop, std::string(QZ_TEST_OUTPUT_DIR) + "/host_ui_small_form.png");
  }

  // Frame and caption of the active window.
  EXPECT_EQ(ScreenPixel({100, 100}), Rgb(cl3DDkShadow));
  EXPECT_EQ(ScreenPixel({101, 101}), Rgb(clBtnHighlight));
  EXPECT_EQ(ScreenPixel({104, 104}), Rgb(clActiveCaption));
  // Panel: raised bevel, face inside.
  EXPECT_EQ(At(panel, {0, 0}), Rgb(clBtnHighlight));
  EXPECT_EQ(At(panel, {199, 59}), Rgb(clBtnShadow));
  EXPECT_EQ(At(panel, {5, 5}), Rgb(clBtnFace));
  // Label: autosized to its text, drawn in the window text colour somewhere.
  EXPECT_GT(label->Width(), 20);
  EXPECT_LT(label->Height(), 20);
  bool textSeen = false;
  for (int y = 0; y < label->Height(); ++y)
    for (int x = 0; x < label->Width(); ++x)
      textSeen = textSeen || ScreenPixel(label->ClientToScreen({x, y})) != Rgb(clBtnFace);
  EXPECT_TRUE(textSeen);
  // Button: focused, so a dark outer frame, then the raised edge.
  EXPECT_EQ(At(button, {0, 0}), Rgb(cl3DDkShadow));
  EXPECT_EQ(At(button, {1, 1}), Rgb(clBtnHighlight));
  EXPECT_EQ(At(button, {73, 23}), Rgb(cl3DDkShadow));
  EXPECT_EQ(At(button, {8, 8}), Rgb(clBtnFace));
  EXPECT_NE(At(button, {5, 12}), Rgb(clBtnFace));  // the dotted focus rectangle
  // Outside the window: the desktop.
  EXPECT_EQ(ScreenPixel({99, 99}), 0xFF3A6EA5u);
}

}  // namespace
}  // namespace qz::testing
