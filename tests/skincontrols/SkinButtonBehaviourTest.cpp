// How a skinned button behaves: the group rule, toggling by mouse and key,
// push buttons released outside, repeat clicks, dialog buttons in a modal
// form, and handlers that free the button or its form.
#include <gtest/gtest.h>

#include "host/components/FormResource.h"
#include "skin/controls/SkinButton.h"
#include "tests/skincontrols/SkinButtonTestKit.h"

namespace qz {
namespace {

using testing::kLooks;
using testing::kNinePart;
using testing::SkinButtonTest;

class SkinButtonBehaviour : public SkinButtonTest {
 protected:
  // Three group buttons side by side, counting their clicks.
  std::vector<TqzSkinButton*> MakeGroup(int groupIndex, bool allowAllUp) {
    std::vector<TqzSkinButton*> group;
    for (int i = 0; i < 3; ++i) {
      auto* b = MakeButton({10 + 50 * i, 10, 50 + 50 * i, 30});
      b->SetGroupIndex(groupIndex);
      b->SetAllowAllUp(allowAllUp);
      b->OnClick = [this, i](TObject*) { clicks.push_back(i); };
      group.push_back(b);
    }
    return group;
  }
  static std::vector<bool> DownStates(const std::vector<TqzSkinButton*>& group) {
    std::vector<bool> states;
    for (auto* b : group) states.push_back(b->Down());
    return states;
  }
  void ClickOn(TControl* c) { Click(Center(c)); }

  std::vector<int> clicks;
};

TEST_F(SkinButtonBehaviour, GroupKeepsExactlyOneDown) {
  UseSkin(kNinePart + kLooks);
  auto group = MakeGroup(1, false);
  EXPECT_FALSE(group[0]->CanFocused());  // a group button takes no focus
  ClickOn(group[1]);
  EXPECT_EQ(DownStates(group), (std::vector<bool>{false, true, false}));
  ClickOn(group[2]);
  EXPECT_EQ(DownStates(group), (std::vector<bool>{false, false, true}));
  // Clicking the down one again leaves it down and still clicks.
  ClickOn(group[2]);
  EXPECT_EQ(DownStates(group), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 2}));
  // Setting Down in code follows the rule too.
  group[0]->SetDown(true);
  EXPECT_EQ(DownStates(group), (std::vector<bool>{true, false, false}));
  // Another group under the same parent is not touched.
  auto* other = MakeButton({10, 60, 50, 80});
  other->SetGroupIndex(2);
  ClickOn(other);
  EXPECT_TRUE(other->Down());
  EXPECT_TRUE(group[0]->Down());
}

TEST_F(SkinButtonBehaviour, AllowAllUpReleasesTheDownButton) {
  UseSkin(kNinePart + kLooks);
  auto group = MakeGroup(1, true);
  ClickOn(group[0]);
  ClickOn(group[0]);
  EXPECT_EQ(DownStates(group), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(clicks, (std::vector<int>{0, 0}));
  // A press that began on the down button and ends outside releases nothing.
  ClickOn(group[1]);
  Move(Center(group[1]));
  hp->InjectMouseDown();
  Pump();
  Move({300, 150});
  hp->InjectMouseUp();
  Pump();
  EXPECT_TRUE(group[1]->Down());
  EXPECT_EQ(clicks, (std::vector<int>{0, 0, 1}));
}

TEST_F(SkinButtonBehaviour, CheckedModeTogglesByClickAndBySpace) {
  UseSkin(kNinePart + kLooks);
  auto* b = MakeButton({10, 10, 60, 35});
  int clickCount = 0;
  b->OnClick = [&](TObject*) { ++clickCount; };
  b->SetCheckedMode(true);
  EXPECT_EQ(b->GroupIndex(), -1);
  ClickOn(b);
  EXPECT_TRUE(b->Down());
  ClickOn(b);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(clickCount, 2);

  b->SetCanFocused(true);
  b->SetFocus();
  Pump();
  Key(VK_SPACE);
  EXPECT_TRUE(b->Down());
  Key(VK_SPACE);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(clickCount, 4);
  b->SetCheckedMode(false);
  EXPECT_EQ(b->GroupIndex(), 0);
}

TEST_F(SkinButtonBehaviour, PushButtonClicksOnReleaseInsideOnly) {
  UseSkin(kNinePart + kLooks);
  auto* b = MakeButton({10, 10, 60, 35});
  int clickCount = 0;
  b->OnClick = [&](TObject*) { ++clickCount; };
  ClickOn(b);
  EXPECT_EQ(clickCount, 1);
  EXPECT_FALSE(b->Down());
  EXPECT_TRUE(b->Focused());
  // Pressed, then released outside: no click, and it comes back up.
  Move(Center(b));
  hp->InjectMouseDown();
  Pump();
  EXPECT_TRUE(b->Down());
  Move({300, 150});
  hp->InjectMouseUp();
  Pump();
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(clickCount, 1);
  // Space and Enter click the focused button.
  Key(VK_SPACE);
  EXPECT_EQ(clickCount, 2);
  Key(VK_RETURN);
  EXPECT_EQ(clickCount, 3);
}

TEST_F(SkinButtonBehaviour, RepeatModeClicksAfterTheDelayThenEveryInterval) {
  UseSkin(kNinePart + kLooks);
  auto* b = MakeButton({10, 10, 60, 35});
  b->SetRepeatMode(true);
  b->SetRepeatInterval(100);
  int clickCount = 0;
  b->OnClick = [&](TObject*) { ++clickCount; };
  Move(Center(b));
  hp->InjectMouseDown();
  Pump();
  Ticks(1, 499);
  EXPECT_EQ(clickCount, 0);
  Ticks(1, 1);
  EXPECT_EQ(clickCount, 1);
  Ticks(3, 100);
  EXPECT_EQ(clickCount, 4);
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(clickCount, 5);  // the release clicks too
  Ticks(3, 100);
  EXPECT_EQ(clickCount, 5);
}

// A dialog: OK is the default button, Cancel the cancel button.
class SkinButtonDialog : public SkinButtonBehaviour {
 protected:
  void SetUp() override {
    SkinButtonBehaviour::SetUp();
    UseSkin(kNinePart + kLooks);
    dialog = new TForm(Application);
    dialog->SetBorderStyle(bsNone);
    dialog->SetBounds(150, 150, 240, 100);
    edit = new testing::TProbe(dialog);  // a control that is no skin button
    edit->SetParent(dialog);
    edit->SetBounds(10, 10, 100, 20);
    edit->SetTabStop(true);
    ok = MakeButton({10, 50, 85, 75}, "&OK", dialog);
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    cancel = MakeButton({100, 50, 175, 75}, "Cancel", dialog);
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    dialog->SetActiveControl(edit);
  }
  // Runs the dialog modally, injecting `keys` (one per idle turn).
  int RunWithKeys(std::vector<int> keys, uint32_t mods = 0) {
    size_t next = 0;
    hp->SetIdleHandler([&]() {
      if (next >= keys.size()) return false;
      hp->InjectKey(keys[next++], mods);
      return true;
    });
    const int result = dialog->ShowModal();
    hp->SetIdleHandler({});
    return result;
  }
  TForm* dialog = nullptr;
  testing::TProbe* edit = nullptr;
  TqzSkinButton *ok = nullptr, *cancel = nullptr;
};

TEST_F(SkinButtonDialog, EnterClosesWithTheDefaultButtonsResult) {
  EXPECT_EQ(RunWithKeys({VK_RETURN}), mrOk);
  EXPECT_FALSE(dialog->Visible());
}

TEST_F(SkinButtonDialog, EscapeClosesWithTheCancelButtonsResult) {
  EXPECT_EQ(RunWithKeys({VK_ESCAPE}), mrCancel);
}

TEST_F(SkinButtonDialog, EnterGoesToTheFocusedSkinButton) {
  dialog->SetActiveControl(cancel);
  cancel->SetCanFocused(true);
  EXPECT_EQ(RunWithKeys({VK_RETURN}), mrCancel);
}

TEST_F(SkinButtonDialog, AcceleratorFocusesAndClicks) {
  EXPECT_EQ(RunWithKeys({'O'}, kModAlt), mrOk);
}

TEST_F(SkinButtonDialog, DefaultButtonShowsItsHighlightWhileAnotherControlHasTheFocus) {
  dialog->Show();
  Pump();
  edit->SetFocus();
  Pump();
  EXPECT_TRUE(ok->IsDefaultActive());
  EXPECT_TRUE(ok->MouseIn());
  cancel->SetCanFocused(true);
  cancel->SetFocus();
  Pump();
  EXPECT_FALSE(ok->IsDefaultActive());
  EXPECT_FALSE(ok->MouseIn());
}

// Handlers that free what raised them: run under the sanitizers.
TEST_F(SkinButtonBehaviour, ClickHandlerThatFreesItsOwnButton) {
  UseSkin(kNinePart + kLooks + "morphing=1\n");
  TComponentRef<TqzSkinButton> b = MakeButton({10, 10, 60, 35});
  b->OnClick = [&](TObject* sender) { delete static_cast<TqzSkinButton*>(sender); };
  ClickOn(b.Get());
  EXPECT_FALSE(b);
  Ticks(8);
  // The same by the keyboard and in a group.
  TComponentRef<TqzSkinButton> k = MakeButton({10, 10, 60, 35});
  k->OnClick = [&](TObject* sender) { delete static_cast<TqzSkinButton*>(sender); };
  k->SetFocus();
  Pump();
  Key(VK_SPACE);
  EXPECT_FALSE(k);
  TComponentRef<TqzSkinButton> g = MakeButton({10, 10, 60, 35});
  g->SetGroupIndex(3);
  g->OnClick = [&](TObject* sender) { delete static_cast<TqzSkinButton*>(sender); };
  ClickOn(g.Get());
  EXPECT_FALSE(g);
  Ticks(8);
}

TEST_F(SkinButtonBehaviour, ClickHandlerThatFreesItsForm) {
  UseSkin(kNinePart + kLooks + "morphing=1\n");
  auto* owner = new TForm(Application);
  owner->SetBorderStyle(bsNone);
  owner->SetBounds(50, 50, 200, 100);
  owner->Show();
  auto* b = MakeButton({10, 10, 60, 35}, "", owner);
  b->OnClick = [&](TObject*) { delete owner; };
  TComponentRef<TForm> alive = owner;
  ClickOn(b);
  EXPECT_FALSE(alive);
  Ticks(8);
}

TEST_F(SkinButtonBehaviour, PaintHandlerThatFreesTheButton) {
  UseSkin(kNinePart + kLooks);
  TComponentRef<TqzSkinButton> b = MakeButton({10, 10, 60, 35});
  b->OnPaint = [&](TObject* sender, TCanvas&, TRect, bool, bool, bool&) {
    delete static_cast<TqzSkinButton*>(sender);
  };
  b->Invalidate();
  Pump();
  EXPECT_FALSE(b);
}

TEST_F(SkinButtonBehaviour, RefusedValuesAndDefaults) {
  auto* b = MakeButton({10, 10, 60, 35});
  EXPECT_EQ(b->SkinDataName(), "button");
  b->SetMargin(-2);
  EXPECT_EQ(b->Margin(), -1);
  b->SetMargin(4);
  EXPECT_EQ(b->Margin(), 4);
  b->SetNumGlyphs(5);
  EXPECT_EQ(b->NumGlyphs(), 1);
  b->SetGroupIndex(0);
  b->SetCanFocused(false);
  EXPECT_FALSE(b->TabStop());
  auto* fresh = new TqzSkinButton(form);
  EXPECT_EQ(fresh->Width(), 75);
  EXPECT_EQ(fresh->Height(), 25);
  EXPECT_TRUE(fresh->CanFocused());
  EXPECT_TRUE(fresh->UseSkinSize());
  EXPECT_EQ(fresh->ImageIndex(), -1);
  EXPECT_EQ(fresh->RepeatInterval(), 100);
}


// A form resource keeps what differs from a new button and reads it back.
TEST_F(SkinButtonBehaviour, PropertiesStreamAndReadBack) {
  auto* b = MakeButton({10, 10, 60, 35}, "&Edit");
  b->SetName("qzSkinButton1");
  form->SetName("Form1");
  b->SetGroupIndex(2);
  b->SetDown(true);
  b->SetLayout(blGlyphTop);
  b->SetMargin(3);
  b->SetModalResult(mrYes);
  b->SetUseSkinSize(false);
  TBitmap glyph(16, 8);
  glyph.Pixels().At(3, 4) = 0xFF123456;
  glyph.Modified();
  b->SetGlyph(glyph);
  b->SetNumGlyphs(2);
  const std::string text = WriteComponentRes(form);
  EXPECT_NE(text.find("GroupIndex = 2"), std::string::npos) << text;
  EXPECT_NE(text.find("Layout = blGlyphTop"), std::string::npos) << text;
  EXPECT_EQ(text.find("RepeatInterval"), std::string::npos) << text;
  EXPECT_EQ(text.find("Spacing"), std::string::npos) << text;

  form->SetName("Original");
  auto* copy = new TForm(Application);
  ReadComponentRes(copy, text);
  auto* read = dynamic_cast<TqzSkinButton*>(copy->FindComponent("qzSkinButton1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Caption(), "&Edit");
  EXPECT_EQ(read->GroupIndex(), 2);
  EXPECT_TRUE(read->Down());
  EXPECT_FALSE(read->CanFocused());
  EXPECT_EQ(read->Layout(), blGlyphTop);
  EXPECT_EQ(read->Margin(), 3);
  EXPECT_EQ(read->ModalResult(), mrYes);
  EXPECT_FALSE(read->UseSkinSize());
  EXPECT_EQ(read->NumGlyphs(), 2);
  ASSERT_EQ(read->Glyph().Width(), 16);
  EXPECT_EQ(read->Glyph().Pixels().At(3, 4) & 0xFFFFFF, 0x123456u);
}

}  // namespace
}  // namespace qz
