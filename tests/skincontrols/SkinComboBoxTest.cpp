// The skinned combo box: opening and placement, picking with the mouse and
// the keyboard, Escape keeping the old choice, paging, incremental search
// on the virtual clock, the fade-in steps, handlers that free the box, and
// edit style through a stand-in edit.
#include <gtest/gtest.h>

#include "skin/controls/SkinComboBox.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/QzComposition.h"
#include "tests/skincontrols/SkinControlTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

class SkinComboBoxTest : public SkinControlTest {
 protected:
  TqzSkinComboBox* MakeCombo(int items, TPoint at = {20, 20}) {
    auto* c = new TqzSkinComboBox(form);
    c->SetParent(form);
    c->SetBounds(at.X, at.Y, 120, 20);
    for (int i = 1; i <= items; ++i) c->Items().Add("Item" + std::to_string(i));
    c->OnClick = [this](TObject*) { ++clicks; };
    c->OnCloseUp = [this](TObject*) { ++closeUps; };
    c->OnDropDown = [this](TObject*) { ++dropDowns; };
    Pump();
    return c;
  }
  void Type(const std::string& s) {
    hp->InjectText(s);
    Pump();
  }
  // The middle of row `row` of the open list on the screen.
  static TPoint ListRow(TqzSkinComboBox& c, int row) {
    TqzListBox& inner = c.PopupList().ListBox();
    return inner.ClientToScreen({20, row * inner.ItemHeight() + inner.ItemHeight() / 2});
  }
  int clicks = 0, closeUps = 0, dropDowns = 0;
};

TEST_F(SkinComboBoxTest, AnEmptyComboBoxDoesNotOpen) {
  TqzSkinComboBox* c = MakeCombo(0);
  c->DropDown();
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(dropDowns, 0);
  Click(c->ClientToScreen({110, 10}));
  EXPECT_FALSE(c->PopupList().IsShowing());
}

TEST_F(SkinComboBoxTest, PlainLayoutAndTheListBelowTheControl) {
  TqzSkinComboBox* c = MakeCombo(9);
  EXPECT_EQ(c->ButtonRect(), (TRect{101, 0, 120, 20}));
  EXPECT_EQ(c->ItemRect(), (TRect{2, 2, 100, 18}));
  c->SetFocus();
  Key(VK_F4);
  ASSERT_TRUE(c->DroppedDown());
  EXPECT_TRUE(c->PopupList().IsShowing());
  EXPECT_EQ(dropDowns, 1);
  // Eight rows of 20 and the 4-pixel frame, at the control's bottom-left.
  const TPoint below = c->ClientToScreen({0, 20});
  EXPECT_EQ(c->PopupList().BoundsRect(), (TRect{below.X, below.Y, below.X + 120, below.Y + 164}));
  EXPECT_NE(c->PopupList().VScrollBar(), nullptr);
  EXPECT_TRUE(c->Focused()) << "the list never takes the focus";
  Key(VK_ESCAPE);
  EXPECT_FALSE(c->PopupList().IsShowing());
  c->SetListBoxWidth(200);
  c->SetDropDownCount(3);
  EXPECT_EQ(c->DropDownRect().Width(), 200);
  EXPECT_EQ(c->DropDownRect().Height(), 64);
}

TEST_F(SkinComboBoxTest, AListThatDoesNotFitBelowOpensAbove) {
  // The work area ends at 1040; the form sits low on the screen.
  form->SetBounds(100, 900, 300, 120);
  Pump();
  TqzSkinComboBox* c = MakeCombo(9);
  const TRect r = c->DropDownRect();
  const TPoint top = c->ClientToScreen({0, 0});
  EXPECT_EQ(r.Bottom, top.Y);
  EXPECT_EQ(r.Top, top.Y - 164);
  // A second monitor below it gives no room: the one nearest the control counts.
  hp->SetMonitors({{Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040), true},
                   {Rect(0, 1080, 1920, 2160), Rect(0, 1080, 1920, 2160), false}});
  EXPECT_EQ(c->DropDownRect().Bottom, top.Y);
}

TEST_F(SkinComboBoxTest, PickingWithTheMouse) {
  TqzSkinComboBox* c = MakeCombo(5);
  c->SetItemIndex(0);
  clicks = 0;
  Click(c->ClientToScreen({110, 10}));
  ASSERT_TRUE(c->PopupList().IsShowing());
  EXPECT_FALSE(c->Tracking()) << "released over the control: the list stays open";
  Click(ListRow(*c, 3));
  EXPECT_FALSE(c->PopupList().IsShowing());
  EXPECT_EQ(c->ItemIndex(), 3);
  EXPECT_EQ(c->Text(), "Item4");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(closeUps, 1);
}

TEST_F(SkinComboBoxTest, DraggingFromTheButtonOntoAnItemPicksIt) {
  TqzSkinComboBox* c = MakeCombo(5);
  Move(c->ClientToScreen({110, 10}));
  hp->InjectMouseDown();
  Pump();
  ASSERT_TRUE(c->Tracking());
  Move(ListRow(*c, 2));
  EXPECT_EQ(c->PopupList().ItemIndex(), 2) << "the item under the pointer is highlighted";
  hp->InjectMouseUp();
  Pump();
  EXPECT_FALSE(c->PopupList().IsShowing());
  EXPECT_EQ(c->ItemIndex(), 2);
}

TEST_F(SkinComboBoxTest, HoldingThePointerBelowTheListScrollsIt) {
  TqzSkinComboBox* c = MakeCombo(20);
  Move(c->ClientToScreen({110, 10}));
  hp->InjectMouseDown();
  Pump();
  ASSERT_NE(c->PopupList().VScrollBar(), nullptr);
  const TPoint below{ListRow(*c, 0).X, c->PopupList().BoundsRect().Bottom + 10};
  Move(below);
  EXPECT_EQ(c->AutoScrollDirection(), 0) << "only after the pointer has been over the list";
  Move(ListRow(*c, 7));
  EXPECT_EQ(c->PopupList().ItemIndex(), 7);
  Move(below);
  EXPECT_EQ(c->AutoScrollDirection(), 2);
  for (int tick = 0; tick < 3; ++tick) {
    hp->AdvanceClock(kComboAutoScrollMs);
    Pump();
  }
  EXPECT_EQ(c->PopupList().ItemIndex(), 10);
  EXPECT_EQ(c->PopupList().TopIndex(), 3) << "the highlight stays in view";
  Move(ListRow(*c, 2));
  EXPECT_EQ(c->AutoScrollDirection(), 0);
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(c->ItemIndex(), 5);
}

TEST_F(SkinComboBoxTest, TheWheelStepsTheChoiceOrTheOpenList) {
  TqzSkinComboBox* c = MakeCombo(5);
  c->SetItemIndex(2);
  c->SetFocus();
  c->Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<uint16_t>(-120)) << 16);
  EXPECT_EQ(c->ItemIndex(), 3);
  c->Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(120) << 16);
  EXPECT_EQ(c->ItemIndex(), 2);
  c->DropDown();
  c->Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(120) << 16);
  EXPECT_EQ(c->PopupList().ItemIndex(), 1);
  EXPECT_EQ(c->Text(), "Item3") << "open: only the highlight moves";
}

TEST_F(SkinComboBoxTest, PickingWithTheKeyboardAndEscapeKeepingTheOldValue) {
  TqzSkinComboBox* c = MakeCombo(5);
  c->SetItemIndex(1);
  c->SetFocus();
  clicks = 0;
  Key(VK_DOWN, kModAlt);
  ASSERT_TRUE(c->DroppedDown());
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(c->ItemIndex(), 3) << "the list's highlight moves";
  EXPECT_EQ(c->Text(), "Item2") << "the choice is not made yet";
  Key(VK_ESCAPE);
  EXPECT_FALSE(c->DroppedDown());
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(c->Text(), "Item2");
  EXPECT_EQ(closeUps, 0) << "OnCloseUp only for an accepted choice";
  EXPECT_EQ(clicks, 0);
  Key(VK_F4);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(c->ItemIndex(), 2);
  EXPECT_EQ(c->Text(), "Item3");
  EXPECT_EQ(closeUps, 1);
  EXPECT_EQ(clicks, 1);
  // Closed, the arrows change the choice at once.
  Key(VK_UP);
  EXPECT_EQ(c->Text(), "Item2");
  EXPECT_EQ(clicks, 2);
}

TEST_F(SkinComboBoxTest, AClickElsewhereClosesWithoutAccepting) {
  TqzSkinComboBox* c = MakeCombo(5);
  auto* other = new TqzSkinComboBox(form);
  other->SetParent(form);
  other->SetBounds(20, 160, 120, 20);
  Pump();
  c->SetItemIndex(0);
  Click(c->ClientToScreen({110, 10}));
  Key(VK_DOWN);
  ASSERT_TRUE(c->Focused());
  Click(other->ClientToScreen({10, 10}));
  ASSERT_TRUE(other->Focused());
  EXPECT_FALSE(c->PopupList().IsShowing());
  EXPECT_EQ(c->ItemIndex(), 0);
}

TEST_F(SkinComboBoxTest, PageKeysStepByTheDropDownCount) {
  TqzSkinComboBox* c = MakeCombo(30);
  c->SetItemIndex(20);
  c->SetFocus();
  Key(VK_PRIOR);
  EXPECT_EQ(c->ItemIndex(), 11) << "DropDownCount + 1 up";
  Key(VK_NEXT);
  EXPECT_EQ(c->ItemIndex(), 18) << "DropDownCount - 1 down";
  Key(VK_NEXT);
  Key(VK_NEXT);
  EXPECT_EQ(c->ItemIndex(), 29);
  Key(VK_PRIOR);
  Key(VK_PRIOR);
  Key(VK_PRIOR);
  Key(VK_PRIOR);
  EXPECT_EQ(c->ItemIndex(), 0);
}

TEST_F(SkinComboBoxTest, IncrementalSearchJoinsKeysUnderHalfASecond) {
  auto* c = MakeCombo(0);
  for (const char* s : {"apple", "banana", "berry", "blue", "bee"}) c->Items().Add(s);
  c->SetFocus();
  Type("b");
  EXPECT_EQ(c->Text(), "banana");
  hp->AdvanceClock(kComboSearchPauseMs - 1);
  Type("l");
  EXPECT_EQ(c->Text(), "blue") << "\"bl\" from the first item";
  hp->AdvanceClock(kComboSearchPauseMs);
  Type("b");
  EXPECT_EQ(c->Text(), "bee") << "a new search after the current item";
  c->SetAutoComplete(false);
  hp->AdvanceClock(kComboSearchPauseMs);
  Type("a");
  EXPECT_EQ(c->Text(), "bee");
}

TEST_F(SkinComboBoxTest, TheListFadesInStepsOfAFifteenth) {
  EXPECT_EQ(TqzPopupListBox::FadeStep(200), 13);
  EXPECT_EQ(TqzPopupListBox::FadeStep(10), 1);
  TqzSkinComboBox* c = MakeCombo(3);
  c->SetListBoxAlphaBlend(true);
  c->SetListBoxAlphaBlendAnimation(true);
  c->SetListBoxAlphaBlendValue(200);
  c->DropDown();
  const std::vector<int>& alphas = c->PopupList().AppliedAlphas();
  ASSERT_EQ(alphas.size(), 17u);
  EXPECT_EQ(alphas[0], 0);
  EXPECT_EQ(alphas[1], 13);
  EXPECT_EQ(alphas[15], 195);
  EXPECT_EQ(alphas[16], 200);
  c->CloseUp(false);
  c->DropDown();
  EXPECT_TRUE(c->PopupList().AppliedAlphas().empty()) << "the same opacity is not applied again";
}

// Without per-pixel alpha (no compositor) the list opens opaque, not
// layered; the answer is asked on every drop-down.
TEST_F(SkinComboBoxTest, TheListIsLayeredOnlyWithPerPixelAlpha) {
  TqzSkinComboBox* c = MakeCombo(3);
  c->SetListBoxAlphaBlend(true);
  c->SetListBoxAlphaBlendAnimation(false);
  c->SetListBoxAlphaBlendValue(200);
  for (bool perPixel : {false, true, false}) {
    hp->SetPerPixelAlpha(perPixel);
    c->DropDown();
    const bool layered = (GetWindowLong(HWND(&c->PopupList()), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    EXPECT_EQ(layered, perPixel);
    c->CloseUp(false);
  }
}

TEST_F(SkinComboBoxTest, CloseUpHandlerMayFreeTheBox) {
  TqzSkinComboBox* c = MakeCombo(5);
  c->OnCloseUp = [&](TObject*) {
    // The closure dies with the control: nothing of it is read afterwards.
    TqzSkinComboBox*& slot = c;
    delete slot;
    slot = nullptr;
  };
  c->SetFocus();
  Key(VK_F4);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(c, nullptr);
  Pump();
}

TEST_F(SkinComboBoxTest, ClickHandlerMayFreeTheBoxWhilePicking) {
  TqzSkinComboBox* c = MakeCombo(5);
  c->OnClick = [&](TObject*) {
    // The closure dies with the control: nothing of it is read afterwards.
    TqzSkinComboBox*& slot = c;
    delete slot;
    slot = nullptr;
  };
  Click(c->ClientToScreen({110, 10}));
  Click(ListRow(*c, 1));
  EXPECT_EQ(c, nullptr);
  Pump();
}

// The screen pixels of a control-relative rectangle (0xRRGGBB).
TPixmap ScreenPart(const TPixmap& screen, TControl& c, const TRect& r) {
  const TPoint at = c.ClientToScreen(r.TopLeft());
  TPixmap out(r.Width(), r.Height());
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) out.At(x, y) = screen.At(at.X + x, at.Y + y) & 0xFFFFFF;
  return out;
}

TPixmap PictureRgb(const TBitmap& b) {
  TPixmap out(b.Width(), b.Height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.At(x, y) = b.Pixels().At(x, y) & 0xFFFFFF;
  return out;
}

TEST_F(SkinComboBoxTest, DialogSkinFocusItemAndHotButtonLooks) {
  const TDemoSkin& demo = DialogSkin();
  const int index = demo.Skin->FindControlIndex("combobox");
  ASSERT_GE(index, 0);
  const auto& d = dynamic_cast<const TqzDataSkinComboBox&>(*demo.Skin->CtrlList()[index]);
  const TBitmap& picture = *demo.Skin->ActivePicture(d.PictureIndex);
  auto* c = new TqzSkinComboBox(form);
  c->SetParent(form);
  c->SetBounds(20, 20, 150, 24);
  c->SetSkinData(demo.Skin.get());
  c->Items().Add("");  // no text over the looks
  c->SetItemIndex(0);
  c->SetFocus();
  Pump();
  EXPECT_EQ(c->Height(), d.SkinRect.Height());
  EXPECT_EQ(c->ButtonRect(), OffsetRect(d.ButtonRect, 150 - d.SkinRect.Width(), 0));
  const TRect item = c->ItemRect();
  TBitmap focus;
  CreateHSkinImage(d.ItemLeftOffset, d.ItemRightOffset, focus, d.FocusItemStretchEffect, item.Width(),
                   d.FocusItemRect, picture);
  EXPECT_EQ(ScreenPart(hp->ComposeScreen(), *c, {item.Left, item.Top, item.Right, item.Top + focus.Height()}),
            PictureRgb(focus));
  // The hot button is the description's hot picture copied 1:1.
  Move(c->ClientToScreen({c->ButtonRect().Left + 3, c->ButtonRect().Top + 3}));
  ASSERT_TRUE(c->ButtonHot());
  TBitmap hot(d.ActiveButtonRect.Width(), d.ActiveButtonRect.Height());
  hot.Canvas().CopyRect({0, 0, hot.Width(), hot.Height()}, const_cast<TBitmap&>(picture).Canvas(),
                        d.ActiveButtonRect);
  const TRect b = c->ButtonRect();
  EXPECT_EQ(ScreenPart(hp->ComposeScreen(), *c, {b.Left, b.Top, b.Left + hot.Width(), b.Top + hot.Height()}),
            PictureRgb(hot));
}

// A stand-in for the host edit: a plain control holding a text.
class TFakeEdit : public TCustomControl, public IqzComboEdit {
 public:
  explicit TFakeEdit(TComponent* owner) : TCustomControl(owner) { tabStop_ = true; }
  TWinControl& EditControl() override { return *this; }
  std::string EditText() const override { return text; }
  void SetEditText(const std::string& t) override { text = t; }
  void SelectText(int s, int l) override { selStart = s, selLength = l; }
  void SelectAllText() override { SelectText(0, static_cast<int>(text.size())); }
  void TypeText(const std::string& t) {
    text = t;
    if (OnEditChange) OnEditChange();
  }
  std::string text;
  int selStart = 0, selLength = 0;
};

class ComboEditStyleTest : public SkinComboBoxTest {
 protected:
  void SetUp() override {
    SkinComboBoxTest::SetUp();
    SetComboEditFactory([this](TqzSkinCustomComboBox& combo) {
      edit = new TFakeEdit(&combo);
      return static_cast<IqzComboEdit*>(edit);
    });
  }
  void TearDown() override {
    SetComboEditFactory(nullptr);
    SkinComboBoxTest::TearDown();
  }
  TFakeEdit* edit = nullptr;
};

TEST_F(ComboEditStyleTest, TheEditFollowsTheChoiceAndTypingFollowsTheList) {
  TqzSkinComboBox* c = MakeCombo(5);
  c->SetItemIndex(1);
  c->SetStyle(qzcbEditStyle);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text, "Item2");
  EXPECT_EQ(edit->Parent(), c);
  EXPECT_EQ(edit->Left(), c->ItemRect().Left);
  EXPECT_EQ(edit->Width(), c->ItemRect().Width());
  int changes = 0;
  c->OnChange = [&](TObject*) { ++changes; };
  edit->TypeText("Item4");
  EXPECT_EQ(c->Text(), "Item4");
  EXPECT_EQ(c->PopupList().ItemIndex(), 3);
  EXPECT_EQ(changes, 1);
  edit->TypeText("free text");
  EXPECT_EQ(c->Text(), "free text");
  // Up and Down in the edit pick the neighbours and select the text.
  edit->SetFocus();
  Key(VK_DOWN);
  EXPECT_EQ(edit->text, "Item5");
  EXPECT_EQ(edit->selLength, 5);
  c->SetStyle(qzcbFixedStyle);
  EXPECT_EQ(c->InnerEdit(), nullptr);
}

}  // namespace
}  // namespace qz::testing
