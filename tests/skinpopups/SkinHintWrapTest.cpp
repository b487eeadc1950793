// Skinned hints wrapped at the hint's maximum width, placed on the work area
// of the monitor under the hint point, and the show-hint event read from a
// form resource.
#include <gtest/gtest.h>

#include "host/components/FormResource.h"
#include "skin/controls/SkinControl.h"
#include "skin/popups/SkinHint.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skinform/FramePaintTestKit.h"

namespace qz::testing {
namespace {

class SkinHintWrapTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsSizeable, "Hints");
    Application->SetMainForm(form);
    panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 80, 40);
    panel->SetHint(kText);
    panel->SetShowHint(true);
    hint = new TqzSkinHint(form);
    Pump();
  }
  void TearDown() override {
    UiTest::TearDown();
    skin.reset();
  }
  TqzSkinHintWindow* HoverUntilShown() {
    Move(panel->ClientToScreen({20, 20}));
    hp->AdvanceClock(static_cast<uint64_t>(Application->HintPause()));
    Pump();
    auto* w = dynamic_cast<TqzSkinHintWindow*>(Application->Hints().Window());
    return w != nullptr && w->IsShowing() ? w : nullptr;
  }
  static TCanvas& Measure(TCanvas& c, const std::string& name, int height) {
    c.Font().SetName(name);
    c.Font().SetHeight(height);
    return c;
  }

  static constexpr const char* kText = "aaaa bbbb cccc dddd";
  TForm* form = nullptr;
  TPanel* panel = nullptr;
  TqzSkinHint* hint = nullptr;
  std::unique_ptr<TqzSkinData> skin;
};

// The width that holds "aaaa bbbb" and "cccc dddd" each on a line, but not
// three words: the text wraps into exactly those two lines.
int TwoLineWidth(TCanvas& c) { return std::max(c.TextWidth("aaaa bbbb"), c.TextWidth("cccc dddd")); }

TEST_F(SkinHintWrapTest, PlainHintWrapsAtTheMaximumWidth) {
  TCanvas c;
  c.Font().Assign(hint->DefaultFont());
  const int width = TwoLineWidth(c), line = c.TextHeight("Ag");
  int seen = 0;
  hint->OnShowHint = [&](std::string&, bool&, THintInfo& info) {
    ++seen;
    info.HintMaxWidth = width;
  };
  TqzSkinHintWindow* w = HoverUntilShown();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(w->Width(), width + 4);
  EXPECT_EQ(w->Height(), 2 * line + 4);
  // Without a maximum the text stays on one line.
  EXPECT_EQ(w->CalcHintRect(0, kText), (TRect{0, 0, c.TextWidth(kText) + 4, line + 4}));
}

TEST_F(SkinHintWrapTest, SkinnedHintWrapsInsideItsMargins) {
  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 2);
  parts.Active.push_back(Pattern(40, 30, 5));
  parts.Text =
      "[HINTWINDOW]\r\nwindowpictureindex=0\r\nlefttoppoint=8,6\r\nrighttoppoint=32,6\r\n"
      "leftbottompoint=8,24\r\nrightbottompoint=32,24\r\nclientrect=8,6,32,24\r\n"
      "fontname=Tahoma\r\nfontheight=13\r\n";
  skin = LoadTestSkin(parts);
  hint->SetSkinData(skin.get());
  TCanvas c;
  Measure(c, "Tahoma", 13);
  const int width = TwoLineWidth(c), line = c.TextHeight("Ag");
  hint->OnShowHint = [&](std::string&, bool&, THintInfo& info) { info.HintMaxWidth = width; };
  TqzSkinHintWindow* w = HoverUntilShown();
  ASSERT_NE(w, nullptr);
  // text + clientrect left + (picture width - clientrect right) + 5, and
  // text + clientrect top + (picture height - clientrect bottom).
  EXPECT_EQ(w->Width(), width + 8 + 8 + 5);
  EXPECT_EQ(w->Height(), 2 * line + 6 + 6);
}

// A skinned control's bold title wraps at the maximum width like the text,
// in the plain look and in the skinned one.
TEST_F(SkinHintWrapTest, TitleWrapsAtTheMaximumWidth) {
  auto* control = new TqzSkinCustomControl(form);
  control->SetParent(form);
  control->SetBounds(120, 10, 80, 40);
  control->SetHint("x");
  control->SetShowHint(true);
  control->SetHintTitle(kText);
  Pump();
  TCanvas bold;
  bold.Font().Assign(hint->DefaultFont());
  bold.Font().SetStyle({TFontStyle::fsBold});
  const int width = TwoLineWidth(bold), boldLine = bold.TextHeight("Ag");
  TCanvas plain;
  plain.Font().Assign(hint->DefaultFont());
  const int line = plain.TextHeight("Ag");
  hint->OnShowHint = [&](std::string&, bool&, THintInfo& info) { info.HintMaxWidth = width; };
  Move(control->ClientToScreen({20, 20}));
  hp->AdvanceClock(static_cast<uint64_t>(Application->HintPause()));
  Pump();
  auto* w = dynamic_cast<TqzSkinHintWindow*>(Application->Hints().Window());
  ASSERT_TRUE(w != nullptr && w->IsShowing());
  ASSERT_TRUE(w->Layout().Extended);
  EXPECT_EQ(w->Layout().TitleRect, (TRect{2, 2, 2 + width, 2 + 2 * boldLine}));
  EXPECT_EQ(w->Layout().BodyRect.Top, 2 + 2 * boldLine + 10);
  EXPECT_EQ(w->Width(), width + 4);
  EXPECT_EQ(w->Height(), 2 * boldLine + 10 + line + 4);

  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 2);
  parts.Active.push_back(Pattern(40, 30, 5));
  parts.Text =
      "[HINTWINDOW]\r\nwindowpictureindex=0\r\nlefttoppoint=8,6\r\nrighttoppoint=32,6\r\n"
      "leftbottompoint=8,24\r\nrightbottompoint=32,24\r\nclientrect=8,6,32,24\r\n";
  skin = LoadTestSkin(parts);
  hint->UseSkinFont = false;
  hint->SetSkinData(skin.get());
  EXPECT_EQ(w->CalcHintRect(width, "x"), (TRect{0, 0, width + 8 + 8 + 5, 2 * boldLine + 10 + line + 6 + 6}));
  hint->SetSkinData(nullptr);
}

TEST_F(SkinHintWrapTest, ProgramHintsStayOnTheMonitorUnderThePoint) {
  hp->SetMonitors({{Rect(0, 0, 1000, 800), Rect(0, 0, 1000, 760), true},
                   {Rect(1000, 0, 2000, 900), Rect(1000, 0, 2000, 860), false}});
  TCanvas c;
  c.Font().Assign(hint->DefaultFont());
  const TSize size{c.TextWidth("Hint") + 4, c.TextHeight("Hint") + 4};
  // Near the first monitor's right edge: flips left although the second
  // monitor continues the screen.
  hint->ActivateHint({995, 100}, "Hint");
  EXPECT_EQ(hint->Window()->BoundsRect(), (TRect{995 - size.cx - 2, 100, 993, 100 + size.cy}));
  // On the second monitor, below the first one's bottom: flips up only past
  // the second one's work area.
  hint->ActivateHint({1500, 780}, "Hint");
  EXPECT_EQ(hint->Window()->BoundsRect().TopLeft(), (TPoint{1500, 780}));
  hint->ActivateHint({1995, 855}, "Hint");
  EXPECT_EQ(hint->Window()->BoundsRect().TopLeft(), (TPoint{1995 - size.cx - 2, 855 - size.cy - 2}));
  hint->HideHint();
}

TEST_F(SkinHintWrapTest, ShowHintEventBindsFromTheResource) {
  auto* root = new TForm(Application);
  int shown = 0;
  root->RegisterHandler("HintShow", TShowHintEvent([&](std::string& text, bool&, THintInfo&) {
                         ++shown;
                         text = "changed";
                       }));
  ReadComponentRes(root,
                   "object Form9: TForm\n  object qzSkinHint9: TqzSkinHint\n    OnShowHint = HintShow\n  end\nend\n");
  auto* streamed = dynamic_cast<TqzSkinHint*>(root->FindComponent("qzSkinHint9"));
  ASSERT_NE(streamed, nullptr);
  ASSERT_TRUE(streamed->OnShowHint);
  std::string text = "Save";
  bool canShow = true;
  THintInfo info;
  streamed->HandleShowHintFor(text, canShow, info);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(text, "changed");
  delete root;
}

}  // namespace
}  // namespace qz::testing
