// The application's hints: timing on the virtual clock, which controls show
// one, what closes it, and the plain window's size and pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/ui/HintWindow.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

class HintTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsSizeable, "Hints");
    left = AddPanel(10, 10, "Left|The left panel");
    right = AddPanel(90, 10, "Right");
  }

  TPanel* AddPanel(int x, int y, const std::string& hint) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(x, y, 80, 40);
    panel->SetHint(hint);
    panel->SetShowHint(true);
    Pump();
    return panel;
  }

  TPoint Inside(TControl* c, TPoint at = {20, 20}) { return c->ClientToScreen(at); }
  void Wait(uint64_t ms) {
    hp->AdvanceClock(ms);
    Pump();
  }
  THintWindow* Window() { return Application->Hints().Window(); }
  bool Showing() { return Window() != nullptr && Window()->IsShowing(); }

  TForm* form = nullptr;
  TPanel* left = nullptr;
  TPanel* right = nullptr;
};

TEST_F(HintTest, OpensAfterThePauseWithTheShortHintAndClosesAfterTheHidePause) {
  EXPECT_EQ(Application->HintPause(), 500);
  EXPECT_EQ(Application->HintHidePause(), 2500);
  EXPECT_EQ(Application->HintShortPause(), 50);
  Move(Inside(left));
  Wait(499);
  EXPECT_FALSE(Showing());
  Wait(1);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Window()->Caption(), "Left");
  // Below the cursor, clear of the arrow.
  const TPoint cursor = Inside(left);
  EXPECT_EQ(Window()->BoundsRect().TopLeft(), (TPoint{cursor.X, cursor.Y + kCursorVisibleHeight}));
  Wait(2499);
  EXPECT_TRUE(Showing());
  Wait(1);
  EXPECT_FALSE(Showing());
  // Timed out: resting or moving on the same control does not bring it back.
  Move(Inside(left, {30, 25}));
  Wait(5000);
  EXPECT_FALSE(Showing());
}

TEST_F(HintTest, MovingOnFromAShownHintUsesTheShortPause) {
  Move(Inside(left));
  Wait(500);
  ASSERT_TRUE(Showing());
  Move(Inside(right));
  EXPECT_FALSE(Showing());
  Wait(49);
  EXPECT_FALSE(Showing());
  Wait(1);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Window()->Caption(), "Right");
}

TEST_F(HintTest, MovingBetweenControlsWithoutAShownHintWaitsTheFullPause) {
  Move(Inside(left));
  Wait(300);
  Move(Inside(right));  // the pause starts again for the new control
  Wait(499);
  EXPECT_FALSE(Showing());
  Wait(1);
  EXPECT_TRUE(Showing());
}

TEST_F(HintTest, ClickKeyAndLeaveCloseTheHint) {
  Move(Inside(left));
  Wait(500);
  ASSERT_TRUE(Showing());
  Click(Inside(left));
  EXPECT_FALSE(Showing());
  Wait(1000);
  EXPECT_FALSE(Showing()) << "a click keeps it closed on the same control";

  Move(Inside(right));
  Wait(500);
  ASSERT_TRUE(Showing());
  Key(VK_DOWN);
  EXPECT_FALSE(Showing());

  Move(Inside(left));
  Wait(500);
  ASSERT_TRUE(Showing());
  Move(form->ClientToScreen({300, 200}));  // bare form, which has no hint
  EXPECT_FALSE(Showing());
  Wait(1000);
  EXPECT_FALSE(Showing());
}

TEST_F(HintTest, ShowHintIsInheritedThroughParentShowHint) {
  auto* inner = new TPanel(form);
  inner->SetParent(left);
  inner->SetBounds(40, 5, 30, 30);
  inner->SetHint("Inner");
  Pump();
  EXPECT_TRUE(inner->ShowHint()) << "takes its parent's ShowHint";
  Move(Inside(inner, {5, 5}));
  Wait(500);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Window()->Caption(), "Inner");

  inner->SetShowHint(false);
  EXPECT_FALSE(inner->ParentShowHint());
  Move(Inside(right));
  Move(Inside(inner, {5, 5}));
  Wait(1000);
  EXPECT_FALSE(Showing());

  // A control with an empty hint shows none even with ShowHint on.
  right->SetHint("");
  Move(Inside(right));
  Wait(1000);
  EXPECT_FALSE(Showing());

  // The application's switch turns every hint off.
  Application->SetShowHint(false);
  Move(Inside(left));
  Wait(1000);
  EXPECT_FALSE(Showing());
}

TEST_F(HintTest, AControlFreedWhileItsHintShowsClosesIt) {
  Move(Inside(left));
  Wait(500);
  ASSERT_TRUE(Showing());
  delete left;
  left = nullptr;
  EXPECT_FALSE(Showing());
  Wait(5000);
  EXPECT_FALSE(Showing());
  EXPECT_EQ(Application->Hints().HintControl(), nullptr);
}

TEST_F(HintTest, OnShowHintMayChangeTheTextOrRefuseAndMayFreeTheControl) {
  Application->OnShowHint = [](std::string& text, bool&, THintInfo& info) {
    text = "Changed " + info.HintControl->Name();
    info.HideTimeout = 100;
  };
  left->SetName("L");
  Move(Inside(left));
  Wait(500);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Window()->Caption(), "Changed L");
  Wait(100);
  EXPECT_FALSE(Showing());

  Application->OnShowHint = [](std::string&, bool& canShow, THintInfo&) { canShow = false; };
  Move(Inside(right));
  Wait(1000);
  EXPECT_FALSE(Showing());

  Application->OnShowHint = [this](std::string&, bool&, THintInfo&) {
    delete left;
    left = nullptr;
  };
  Move(Inside(left));
  Wait(500);
  EXPECT_FALSE(Showing());
}

class TMarkedHintWindow : public THintWindow {
 public:
  using THintWindow::THintWindow;
};

TEST_F(HintTest, HintWindowClassTakesEffectWhenShowHintIsToggled) {
  Move(Inside(left));
  Wait(500);
  ASSERT_TRUE(Showing());
  int made = 0;
  Application->HintWindowClass = [&made](TComponent* owner) -> THintWindow* {
    ++made;
    return new TMarkedHintWindow(owner);
  };
  Application->SetShowHint(false);
  EXPECT_EQ(Window(), nullptr);
  Application->SetShowHint(true);
  Move(Inside(right));
  Wait(500);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(made, 1);
  EXPECT_NE(dynamic_cast<TMarkedHintWindow*>(Window()), nullptr);
}

TEST_F(HintTest, PlainWindowSizeAndPixels) {
  left->SetHint("Save");
  Move(Inside(left));
  Wait(500);
  ASSERT_TRUE(Showing());
  TCanvas measure;
  measure.Font().Assign(Window()->Font());
  const TSize text = measure.TextExtent("Save");
  EXPECT_EQ(Window()->Width(), text.cx + 4);
  EXPECT_EQ(Window()->Height(), text.cy + 4);

  const TRect r = Window()->BoundsRect();
  EXPECT_EQ(ScreenPixel(r.TopLeft()), Rgb(clBtnShadow));
  EXPECT_EQ(ScreenPixel({r.Right - 1, r.Bottom - 1}), Rgb(clBtnShadow));
  EXPECT_EQ(ScreenPixel({r.Left + 1, r.Top + 1}), Rgb(clInfoBk));
  EXPECT_EQ(ScreenPixel({r.Right - 2, r.Bottom - 2}), Rgb(clInfoBk));
  // The text is drawn inside the 2-pixel margin: the rows of the margin
  // keep the background, the inside does not.
  TPixmap screen = hp->ComposeScreen();
  int textPixels = 0, marginPixels = 0;
  for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
    for (int x = r.Left + 1; x < r.Right - 1; ++x) {
      if (screen.At(x, y) == Rgb(clInfoBk)) continue;
      // Glyphs may overhang sideways; the lines stay within the rows.
      const bool inMargin = y == r.Top + 1 || y == r.Bottom - 2;
      ++(inMargin ? marginPixels : textPixels);
    }
  EXPECT_GT(textPixels, 10);
  EXPECT_EQ(marginPixels, 0);
}

TEST_F(HintTest, MultiLineTextSetsTheHeight) {
  THintWindow window(nullptr);
  TCanvas measure;
  measure.Font().Assign(window.Font());
  const int line = measure.TextHeight("Ag");
  const TRect one = window.CalcHintRect(0, "one line");
  const TRect two = window.CalcHintRect(0, "first\nsecond line");
  EXPECT_EQ(one.Height(), line + 4);
  EXPECT_EQ(two.Height(), 2 * line + 4);
  EXPECT_EQ(two.Width(), measure.TextWidth("second line") + 4);
}

TEST_F(HintTest, HintMaxWidthFromOnShowHintWrapsTheText) {
  left->SetHint("aaaa bbbb cccc dddd");
  Move(Inside(right));
  Wait(500);
  ASSERT_TRUE(Showing());
  TCanvas measure;
  measure.Font().Assign(Window()->Font());
  // Holds two words a line but not three: exactly two lines.
  const int width = std::max(measure.TextWidth("aaaa bbbb"), measure.TextWidth("cccc dddd"));
  const int line = measure.TextHeight("Ag");
  Application->OnShowHint = [&](std::string&, bool&, THintInfo& info) { info.HintMaxWidth = width; };
  Move(Inside(left));
  Wait(500);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Window()->Width(), width + 4);
  EXPECT_EQ(Window()->Height(), 2 * line + 4);
  Application->OnShowHint = nullptr;
}

TEST_F(HintTest, PlacementUsesTheWorkAreaOfTheMonitorUnderTheHintPoint) {
  // The left panel's hint point lies on a narrow first monitor; the second
  // one continues the screen to its right.
  const TPoint at = Inside(left);
  const int edge = at.X + 10;
  hp->SetMonitors({{Rect(0, 0, edge, 1080), Rect(0, 0, edge, 1040), true},
                   {Rect(edge, 0, 1920, 1080), Rect(edge, 0, 1920, 1040), false}});
  EXPECT_EQ(HintWorkArea(at), Rect(0, 0, edge, 1040));
  EXPECT_EQ(HintWorkArea({edge + 5, 500}), Rect(edge, 0, 1920, 1040));
  Move(at);
  Wait(500);
  ASSERT_TRUE(Showing());
  const TRect r = Window()->BoundsRect();
  EXPECT_EQ(r.Right, at.X - 2);
  EXPECT_EQ(r.Top, at.Y + kCursorVisibleHeight);
}

TEST(HintPlacement, PassingTheWorkAreaFlipsToTheOtherSideOfThePoint) {
  const TRect work{0, 0, 800, 600};
  EXPECT_EQ(PlaceHintRect({100, 100}, {50, 20}, work), (TRect{100, 100, 150, 120}));
  EXPECT_EQ(PlaceHintRect({780, 590}, {50, 20}, work), (TRect{728, 568, 778, 588}));
  EXPECT_EQ(PlaceHintRect({750, 100}, {50, 20}, work), (TRect{750, 100, 800, 120}));
  EXPECT_EQ(GetShortHint("a|b"), "a");
  EXPECT_EQ(GetLongHint("a|b"), "b");
  EXPECT_EQ(GetShortHint("plain"), "plain");
  EXPECT_EQ(GetLongHint("plain"), "plain");
}

}  // namespace
}  // namespace qz::testing
