// The combo box in edit style with its real inner edit: typing completed
// from the items (UTF-8 text too), the keys the combo box keeps from the
// edit, Escape giving back the text of before the drop-down, the numeric
// kind, and handlers that free the box while it completes.
#include <gtest/gtest.h>

#include "host/ui/StdCtrls.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/controls/SkinComboBoxEdit.h"
#include "skin/data/SkinControlData.h"
#include "tests/skincontrols/SkinControlTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

class TNumericCombo : public TqzSkinComboBox {
 public:
  using TqzSkinComboBox::TqzSkinComboBox;
  bool NumericKind() const override { return true; }
};

class ComboInnerEditTest : public SkinControlTest {
 protected:
  template <class T = TqzSkinComboBox>
  T* MakeEditCombo(std::initializer_list<const char*> items) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBounds(20, 20, 160, 20);
    for (const char* s : items) c->Items().Add(s);
    c->SetStyle(qzcbEditStyle);
    c->OnClick = [this](TObject*) { ++clicks; };
    Pump();
    return c;
  }
  static TCustomEdit& EditOf(TqzSkinCustomComboBox& c) {
    return dynamic_cast<TCustomEdit&>(c.InnerEdit()->EditControl());
  }
  // One key typed as the platform delivers it: down, the text, up.
  void TypeKey(int vk, const std::string& text) {
    hp->InjectKeyDown(vk);
    hp->InjectText(text);
    hp->InjectKeyUp(vk);
    Pump();
  }
  // Past the completion pause, so that the next key completes again.
  void Pause() { hp->AdvanceClock(kComboCompletionPauseMs); }
  int clicks = 0;
};

TEST_F(ComboInnerEditTest, TheDefaultInnerEditIsARealEditInTheItemRectangle) {
  TqzSkinComboBox* c = MakeEditCombo({"apple", "banana"});
  ASSERT_NE(c->InnerEdit(), nullptr);
  TCustomEdit& e = EditOf(*c);
  EXPECT_EQ(e.Parent(), c);
  EXPECT_EQ(e.Left(), c->ItemRect().Left);
  EXPECT_EQ(e.Width(), c->ItemRect().Width());
  EXPECT_EQ(e.Color(), c->DefaultColor());
  EXPECT_TRUE(e.TabStop());
  EXPECT_FALSE(c->TabStop()) << "the tab stop moves to the edit";
  c->SetCharCase(ecUpperCase);
  c->SetHideSelection(false);
  EXPECT_EQ(e.CharCase(), ecUpperCase);
  EXPECT_FALSE(e.HideSelection());
  c->SetEnabled(false);
  EXPECT_FALSE(e.Enabled());
}

TEST_F(ComboInnerEditTest, OverASkinnedFieldTheEditShowsTheFieldNotItsColour) {
  TqzSkinComboBox* c = MakeEditCombo({"1", "2"});
  c->SetDefaultColor(clRed);  // a window colour the skin's field does not share
  TCustomEdit& e = EditOf(*c);
  const uint32_t red = UiTest::Rgb(clRed) & 0xFFFFFFu;
  // The far right of the edit holds no text: there the background shows.
  const TPoint empty{e.Left() + e.Width() - 2, e.Top() + e.Height() / 2};
  EXPECT_EQ(Shot(c).At(empty.X, empty.Y), red) << "the plain field is DefaultColor, edit included";
  c->SetSkinData(DialogSkin().Skin.get());
  Pump();
  const TPoint emptySkinned{e.Left() + e.Width() - 2, e.Top() + e.Height() / 2};
  const TPixmap shot = Shot(c);
  EXPECT_NE(shot.At(emptySkinned.X, emptySkinned.Y), red);
  EXPECT_EQ(shot.At(emptySkinned.X, emptySkinned.Y), shot.At(emptySkinned.X, c->ItemRect().Top))
      << "the field's picture runs on under the edit";
}

TEST_F(ComboInnerEditTest, TheFieldLightsUpWhileThePointerIsOverTheEdit) {
  TqzSkinComboBox* c = MakeEditCombo({"1", "2"});
  c->SetSkinData(DialogSkin().Skin.get());
  Pump();
  TCustomEdit& e = EditOf(*c);
  const TPoint edge{1, c->Height() / 2};  // the field's frame, left of the edit
  const uint32_t idle = Shot(c).At(edge.X, edge.Y);
  Move(c->ClientToScreen({c->ButtonRect().Left + 2, 2}));
  const uint32_t lit = Shot(c).At(edge.X, edge.Y);
  ASSERT_NE(idle, lit) << "the skin's field must light up for the test to mean anything";
  Move(e.ClientToScreen({2, 2}));
  EXPECT_EQ(Shot(c).At(edge.X, edge.Y), lit) << "over the edit part the box stays lit";
  Move(form->ClientToScreen({250, 250}));
  EXPECT_EQ(Shot(c).At(edge.X, edge.Y), idle);
}

// Skin changes switch the edit between transparent and opaque and change its
// font: the focused edit keeps focus, text and selection, and box and edit
// take each skin's size and place.
TEST_F(ComboInnerEditTest, SkinChangesKeepTheEditsFocusAndReapplyTheSize) {
  TqzSkinComboBox* c = MakeEditCombo({"apple", "banana"});
  TCustomEdit& e = EditOf(*c);
  e.SetFocus();
  e.SetText("banana split");
  e.SetSelStart(2);
  e.SetSelLength(4);
  Pump();
  auto expectLaidOut = [&](const char* skin) {
    SCOPED_TRACE(skin);
    EXPECT_TRUE(e.Focused());
    EXPECT_EQ(e.Text(), "banana split");
    EXPECT_EQ(e.SelStart(), 2);
    EXPECT_EQ(e.SelLength(), 4);
    const TRect item = c->ItemRect();
    EXPECT_EQ(e.Left(), item.Left);
    EXPECT_EQ(e.Width(), item.Width());
    EXPECT_EQ(e.Top(), item.Top + item.Height() / 2 - e.Height() / 2);
  };
  // The dialog skin describes the combo box; the main skin does not, so
  // there the box is plain (and its edit opaque) with the skin linked.
  const TDemoSkin& dialog = DialogSkin();
  c->SetSkinData(dialog.Skin.get());
  Pump();
  const int index = dialog.Skin->FindControlIndex("combobox");
  ASSERT_GE(index, 0);
  const auto& d = dynamic_cast<const TqzDataSkinComboBox&>(*dialog.Skin->CtrlList()[index]);
  EXPECT_EQ(c->Height(), d.SkinRect.Height());
  expectLaidOut("dialog");
  ASSERT_LT(MainSkin().Skin->FindControlIndex("combobox"), 0);
  c->SetSkinData(MainSkin().Skin.get());
  Pump();
  expectLaidOut("main");
  EXPECT_EQ(c->ItemRect(), (TRect{2, 2, c->ButtonRect().Left - 1, c->Height() - 2}));
  c->SetSkinData(dialog.Skin.get());
  Pump();
  expectLaidOut("dialog again");
  c->SetSkinData(nullptr);
  Pump();
  expectLaidOut("unlinked");
  EXPECT_EQ(c->ItemRect(), (TRect{2, 2, c->ButtonRect().Left - 1, c->Height() - 2}));
}

TEST_F(ComboInnerEditTest, TypingCompletesThePrefixAndSelectsTheTail) {
  TqzSkinComboBox* c = MakeEditCombo({"apple", "banana", "berry", "blue"});
  TCustomEdit& e = EditOf(*c);
  e.SetFocus();
  Pump();
  TypeKey('B', "b");
  EXPECT_EQ(e.Text(), "banana") << "one character: the first item, not the one after the typed match";
  EXPECT_EQ(e.SelStart(), 1);
  EXPECT_EQ(e.SelLength(), 5);
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(c->Text(), "banana");
  Pause();
  TypeKey('E', "e");  // replaces the selected tail
  EXPECT_EQ(e.Text(), "berry");
  EXPECT_EQ(e.SelStart(), 2);
  EXPECT_EQ(e.SelLength(), 3);
  // A key within the pause types without completing.
  TypeKey('R', "r");
  EXPECT_EQ(e.Text(), "ber");
  EXPECT_EQ(c->Text(), "ber");
  Pause();
  // Keys that type nothing leave the text alone: Ctrl+A selects all.
  hp->InjectKey('A', kModCtrl);
  Pump();
  EXPECT_EQ(e.Text(), "ber");
  EXPECT_EQ(e.SelLength(), 3);
  // Free text that begins no item stays as typed.
  TypeKey('X', "x");
  EXPECT_EQ(e.Text(), "x");
  EXPECT_EQ(c->Text(), "x");
  c->SetAutoComplete(false);
  Pause();
  e.SelectAll();
  TypeKey('A', "a");
  EXPECT_EQ(e.Text(), "a") << "no completion without AutoComplete";
}

TEST_F(ComboInnerEditTest, CompletionCountsCharactersOfMultiByteText) {
  TqzSkinComboBox* c = MakeEditCombo({"Ärger", "日本語テキスト", "日曜日", "€uro"});
  TCustomEdit& e = EditOf(*c);
  e.SetFocus();
  Pump();
  TypeKey('J', "日");
  EXPECT_EQ(e.Text(), "日本語テキスト");
  EXPECT_EQ(e.SelStart(), 1);
  EXPECT_EQ(e.SelLength(), 6);
  EXPECT_EQ(e.SelText(), "本語テキスト");
  Pause();
  TypeKey('J', "曜");
  EXPECT_EQ(e.Text(), "日曜日");
  EXPECT_EQ(e.SelText(), "日");
  Pause();
  e.SelectAll();
  TypeKey('E', "€");
  EXPECT_EQ(e.Text(), "€uro");
  EXPECT_EQ(e.SelText(), "uro");
  EXPECT_EQ(c->ItemIndex(), 3);
}

TEST_F(ComboInnerEditTest, KeysFromTheEditDriveTheList) {
  TqzSkinComboBox* c = MakeEditCombo({"apple", "banana", "berry"});
  auto* ok = new TButton(form);
  ok->SetParent(form);
  ok->SetBounds(20, 200, 60, 24);
  ok->SetDefault(true);
  auto* cancel = new TButton(form);
  cancel->SetParent(form);
  cancel->SetBounds(100, 200, 60, 24);
  cancel->SetCancel(true);
  int okClicks = 0, cancelClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  cancel->OnClick = [&](TObject*) { ++cancelClicks; };
  c->SetItemIndex(0);
  TCustomEdit& e = EditOf(*c);
  e.SetFocus();
  Pump();
  Key(VK_DOWN, kModAlt);
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_TRUE(e.Focused());
  Key(VK_DOWN);
  EXPECT_EQ(c->PopupList().ItemIndex(), 1);
  Key(VK_RETURN);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(e.Text(), "banana");
  EXPECT_EQ(e.SelLength(), 6);
  EXPECT_EQ(okClicks, 0) << "the Enter that picked goes no further";
  Key(VK_F4);
  ASSERT_TRUE(c->DroppedDown());
  Key(VK_F4);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 1);
  // Closed, Enter and Escape reach the form's buttons as in any skinned edit.
  Key(VK_RETURN);
  Key(VK_ESCAPE);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(cancelClicks, 1);
  // Closed, Up and Down pick the neighbours at once.
  Key(VK_DOWN);
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(e.Text(), "berry");
  EXPECT_EQ(e.SelLength(), 5);
  // Left and Right stay the caret's.
  Key(VK_LEFT);
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(e.SelLength(), 0);
}

TEST_F(ComboInnerEditTest, EscapeGivesBackTheTextOfBeforeTheDropDown) {
  TqzSkinComboBox* c = MakeEditCombo({"apple", "banana", "berry"});
  auto* cancel = new TButton(form);
  cancel->SetParent(form);
  cancel->SetBounds(100, 200, 60, 24);
  cancel->SetCancel(true);
  int cancelClicks = 0;
  cancel->OnClick = [&](TObject*) { ++cancelClicks; };
  c->SetItemIndex(0);
  TCustomEdit& e = EditOf(*c);
  e.SetFocus();
  Pump();
  Key(VK_F4);
  e.SelectAll();
  TypeKey('B', "b");
  EXPECT_EQ(e.Text(), "banana");
  EXPECT_TRUE(c->DroppedDown()) << "typing keeps the list open";
  clicks = 0;
  int closeUps = 0;
  c->OnCloseUp = [&](TObject*) { ++closeUps; };
  Key(VK_ESCAPE);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(c->Text(), "apple");
  EXPECT_EQ(e.Text(), "apple");
  EXPECT_EQ(closeUps, 0);
  EXPECT_EQ(cancelClicks, 0) << "the Escape that closed the list goes no further";
  // Alt+Up cancels the same way.
  Key(VK_DOWN, kModAlt);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_UP, kModAlt);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(e.Text(), "apple");
  // In the fixed style too an open list takes Escape before the form does.
  c->SetStyle(qzcbFixedStyle);
  c->SetFocus();
  Key(VK_F4);
  ASSERT_TRUE(c->DroppedDown());
  Key(VK_ESCAPE);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(cancelClicks, 0);
  Key(VK_ESCAPE);
  EXPECT_EQ(cancelClicks, 1);
}

TEST_F(ComboInnerEditTest, TheNumericKindRefusesLettersAndCompletesNumbers) {
  auto* c = MakeEditCombo<TNumericCombo>({"100", "250", "-5"});
  auto* num = dynamic_cast<TqzSkinNumEdit*>(&c->InnerEdit()->EditControl());
  ASSERT_NE(num, nullptr);
  num->SetFocus();
  Pump();
  TypeKey('A', "a");
  EXPECT_EQ(num->Text(), "");
  EXPECT_EQ(num->BeepCount(), 1);
  TypeKey('2', "2");
  EXPECT_EQ(num->Text(), "250");
  EXPECT_EQ(num->SelText(), "50");
  Pause();
  TypeKey('X', "x");
  EXPECT_EQ(num->Text(), "250") << "a letter typed over the selection is refused too";
  EXPECT_EQ(num->BeepCount(), 2);
  // Up and Down still pick items instead of stepping a value.
  Key(VK_UP);
  EXPECT_EQ(c->ItemIndex(), 0);
  EXPECT_EQ(num->Text(), "100");
}

TEST_F(ComboInnerEditTest, HandlersMayFreeTheBoxWhileItCompletes) {
  TqzSkinComboBox* c = MakeEditCombo({"apple", "banana"});
  EditOf(*c).SetFocus();
  Pump();
  c->OnClick = [&](TObject*) {
    // The closure dies with the control: nothing of it is read afterwards.
    TqzSkinComboBox*& slot = c;
    delete slot;
    slot = nullptr;
  };
  TypeKey('B', "b");
  EXPECT_EQ(c, nullptr);

  c = MakeEditCombo({"apple", "banana"});
  EditOf(*c).SetFocus();
  Pump();
  c->OnChange = [&](TObject*) {
    TqzSkinComboBox*& slot = c;
    delete slot;
    slot = nullptr;
  };
  TypeKey('A', "a");
  EXPECT_EQ(c, nullptr);
  Pump();
}

}  // namespace
}  // namespace qz::testing
