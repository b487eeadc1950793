// The host edit driven through the headless platform: keys, typed UTF-8,
// mouse, clipboard, undo, limits and the lifetime of handlers.
#include <functional>

#include "host/graphics/TextEngine.h"
#include "host/ui/Edit.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

class EditTest : public UiTest {
 public:
  using UiTest::Key;
  using UiTest::hp;

 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 300});
    edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 200, 24);
    Pump();
    edit->SetFocus();
    Pump();
  }

 public:
  void Type(const std::string& utf8) {
    hp->InjectText(utf8);
    Pump();
  }
  // A left click at a client point of the edit.
  void ClickAt(int x, int y = 12) { Click(edit->ClientToScreen({x, y})); }
  int XOf(int pos) { return edit->PositionToX(pos); }
  void Start(const std::string& text) {
    edit->SetText(text);
    Key(VK_END);
  }

  TForm* form = nullptr;
  TEdit* edit = nullptr;
};

struct TEditCase {
  const char* name;
  std::function<void(EditTest&)> steps;
  const char* text;
  int selStart, selLength;
};

class EditSequenceTest : public EditTest, public ::testing::WithParamInterface<TEditCase> {};

TEST_P(EditSequenceTest, KeysGiveTextCaretAndSelection) {
  const TEditCase& c = GetParam();
  c.steps(*this);
  EXPECT_EQ(edit->Text(), c.text);
  EXPECT_EQ(edit->SelStart(), c.selStart);
  EXPECT_EQ(edit->SelLength(), c.selLength);
}

// Character positions: "añ€😀" has 4 characters in 10 bytes.
const TEditCase kSequences[] = {
    {"TypedAscii", [](EditTest& t) { t.Type("abc"); }, "abc", 3, 0},
    {"TypedMultiByte", [](EditTest& t) { t.Type("añ€😀"); }, "añ€😀", 4, 0},
    {"BackspaceTakesWholeCodePoint", [](EditTest& t) { t.Type("añ€😀"); t.Key(VK_BACK); t.Key(VK_BACK); },
     "añ", 2, 0},
    {"ComposedTextInOneEvent", [](EditTest& t) { t.Type("e\xCC\x81x"); t.Key(VK_LEFT); t.Key(VK_BACK); },
     "ex", 1, 0},
    {"ShiftLeftSelectsAcrossMultiByte",
     [](EditTest& t) { t.Start("xñ€y"); t.Key(VK_LEFT); t.Key(VK_LEFT, kModShift); t.Key(VK_LEFT, kModShift); },
     "xñ€y", 1, 2},
    {"TypingReplacesSelection",
     [](EditTest& t) { t.Start("xñ€y"); t.Key(VK_LEFT); t.Key(VK_LEFT, kModShift); t.Key(VK_LEFT, kModShift); t.Type("ü"); },
     "xüy", 2, 0},
    {"ShiftEndFromHome", [](EditTest& t) { t.Start("hello world"); t.Key(VK_HOME); t.Key(VK_END, kModShift); },
     "hello world", 0, 11},
    {"LeftCollapsesSelectionToStart",
     [](EditTest& t) { t.Start("hello"); t.Key(VK_HOME, kModShift); t.Key(VK_LEFT); }, "hello", 0, 0},
    {"RightCollapsesSelectionToEnd",
     [](EditTest& t) { t.Start("hello"); t.Key(VK_HOME, kModShift); t.Key(VK_RIGHT); }, "hello", 5, 0},
    {"CtrlRightToNextWord", [](EditTest& t) { t.Start("hello world foo"); t.Key(VK_HOME); t.Key(VK_RIGHT, kModCtrl); },
     "hello world foo", 6, 0},
    {"CtrlShiftRightSelectsWord",
     [](EditTest& t) { t.Start("hello wörld foo"); t.Key(VK_HOME); t.Key(VK_RIGHT, kModCtrl);
                       t.Key(VK_RIGHT, kModCtrl | kModShift); },
     "hello wörld foo", 6, 6},
    {"CtrlLeftToWordStart", [](EditTest& t) { t.Start("hello world foo"); t.Key(VK_LEFT, kModCtrl); t.Key(VK_LEFT, kModCtrl); },
     "hello world foo", 6, 0},
    {"DeleteForward", [](EditTest& t) { t.Start("abc"); t.Key(VK_HOME); t.Key(VK_DELETE); }, "bc", 0, 0},
    {"CtrlDeleteTakesWord", [](EditTest& t) { t.Start("one two"); t.Key(VK_HOME); t.Key(VK_DELETE, kModCtrl); },
     "two", 0, 0},
    {"CtrlASelectsAll", [](EditTest& t) { t.Start("abc"); t.Key('A', kModCtrl); }, "abc", 0, 3},
    {"EnterAndEscapeTypeNothing", [](EditTest& t) { t.Start("ab"); t.Key(VK_RETURN); t.Key(VK_ESCAPE); t.Key(VK_TAB); },
     "ab", 2, 0},
    {"MaxLengthCutsTyping", [](EditTest& t) { t.edit->SetMaxLength(5); t.Type("ab€defg"); }, "ab€de", 5, 0},
    {"MaxLengthCutsPaste",
     [](EditTest& t) { t.edit->SetMaxLength(4); t.Type("ab"); t.hp->SetClipboardText("ñ€xyz"); t.Key('V', kModCtrl); },
     "abñ€", 4, 0},
    {"UpperCase", [](EditTest& t) { t.edit->SetCharCase(ecUpperCase); t.Type("aäb€"); }, "AÄB€", 4, 0},
    {"LowerCaseConvertsExisting", [](EditTest& t) { t.Start("AbÖ"); t.edit->SetCharCase(ecLowerCase); }, "abö", 3, 0},
    {"PasteTakesFirstLine",
     [](EditTest& t) { t.hp->SetClipboardText("one\r\ntwo"); t.Key(VK_INSERT, kModShift); }, "one", 3, 0},
};

std::string CaseName(const ::testing::TestParamInfo<TEditCase>& c) { return c.param.name; }

INSTANTIATE_TEST_SUITE_P(Edit, EditSequenceTest, ::testing::ValuesIn(kSequences), CaseName);

TEST_F(EditTest, MouseClickDragDoubleAndTripleClick) {
  Start("hello wörld");
  ClickAt(XOf(3));
  EXPECT_EQ(edit->SelStart(), 3);
  EXPECT_EQ(edit->SelLength(), 0);

  // A drag from 1 to 4 selects the three characters between.
  hp->InjectMouseDown(TMouseButtonId::Left, edit->ClientToScreen({XOf(1), 12}));
  hp->InjectMouseMove(edit->ClientToScreen({XOf(4), 12}));
  hp->InjectMouseUp(TMouseButtonId::Left);
  Pump();
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(edit->SelLength(), 3);

  hp->AdvanceClock(1000);
  ClickAt(XOf(8));
  ClickAt(XOf(8));
  EXPECT_EQ(edit->SelText(), "wörld");
  ClickAt(XOf(8));
  EXPECT_EQ(edit->SelLength(), 11);

  hp->AdvanceClock(1000);
  ClickAt(XOf(2));
  hp->InjectKeyDown(VK_SHIFT);
  ClickAt(XOf(5));
  hp->InjectKeyUp(VK_SHIFT);
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_EQ(edit->SelLength(), 3);
}

TEST_F(EditTest, ClickBeyondTheTextPutsCaretAtTheEnd) {
  Start("abc");
  ClickAt(190);
  EXPECT_EQ(edit->SelStart(), 3);
  ClickAt(1);
  EXPECT_EQ(edit->SelStart(), 0);
}

TEST_F(EditTest, ClipboardRoundTrip) {
  Type("héllo wörld");
  for (int i = 0; i < 5; ++i) Key(VK_LEFT, kModShift);
  Key('C', kModCtrl);
  EXPECT_EQ(hp->ClipboardText(), "wörld");
  Key('X', kModCtrl);
  EXPECT_EQ(edit->Text(), "héllo ");
  Key(VK_HOME);
  Key('V', kModCtrl);
  EXPECT_EQ(edit->Text(), "wörldhéllo ");

  // The other key family: Ctrl+Ins copies, Shift+Del cuts, Shift+Ins pastes.
  Key(VK_HOME, kModShift);
  Key(VK_INSERT, kModCtrl);
  EXPECT_EQ(hp->ClipboardText(), "wörld");
  Key(VK_DELETE, kModShift);
  EXPECT_EQ(edit->Text(), "héllo ");
  Key(VK_END);
  Key(VK_INSERT, kModShift);
  EXPECT_EQ(edit->Text(), "héllo wörld");
}

TEST_F(EditTest, UndoAfterEachKindOfChange) {
  Type("abc");
  Key('Z', kModCtrl);  // the whole typed run at once
  EXPECT_EQ(edit->Text(), "");
  Key('Z', kModCtrl);  // undo of undo redoes
  EXPECT_EQ(edit->Text(), "abc");

  Key(VK_BACK);
  Key('Z', kModCtrl);
  EXPECT_EQ(edit->Text(), "abc");

  Key(VK_HOME);
  Key(VK_DELETE);
  Key('Z', kModCtrl);
  EXPECT_EQ(edit->Text(), "abc");

  Key(VK_END, kModShift);
  Key('X', kModCtrl);
  EXPECT_EQ(edit->Text(), "");
  Key('Z', kModCtrl);
  EXPECT_EQ(edit->Text(), "abc");

  hp->SetClipboardText("ü");
  Key(VK_END);
  Key('V', kModCtrl);
  EXPECT_EQ(edit->Text(), "abcü");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "abc");

  // Typing after a caret move starts a new step.
  Type("x");
  Key(VK_HOME);
  Type("y");
  Key('Z', kModCtrl);
  EXPECT_EQ(edit->Text(), "abcx");

  // A text set from outside leaves nothing to undo.
  edit->SetText("fresh");
  EXPECT_FALSE(edit->CanUndo());
  EXPECT_EQ(edit->SelStart(), 0);
}

TEST_F(EditTest, ReadOnlyRefusesEveryChangePath) {
  Start("keep");
  edit->SetReadOnly(true);
  hp->SetClipboardText("x");
  Type("a");
  Key(VK_BACK);
  Key(VK_DELETE);
  Key(VK_HOME, kModShift);
  Key('X', kModCtrl);
  Key(VK_DELETE, kModShift);
  Key('V', kModCtrl);
  Key(VK_INSERT, kModShift);
  Key('Z', kModCtrl);
  edit->Perform(WM_PASTE);
  edit->Perform(WM_CUT);
  edit->Perform(WM_CLEAR);
  edit->Perform(WM_UNDO);
  edit->SetSelText("x");
  EXPECT_EQ(edit->Text(), "keep");
  EXPECT_EQ(hp->ClipboardText(), "x");  // the cuts copied nothing either
  Key('C', kModCtrl);
  EXPECT_EQ(hp->ClipboardText(), "keep");
}

TEST_F(EditTest, PasswordIsShownMaskedAndNeverCopied) {
  edit->SetPasswordChar(U'•');
  Type("sécret");
  EXPECT_EQ(edit->DisplayText(), "••••••");
  hp->SetClipboardText("before");
  Key('A', kModCtrl);
  Key('C', kModCtrl);
  Key('X', kModCtrl);
  EXPECT_EQ(hp->ClipboardText(), "before");
  EXPECT_EQ(edit->Text(), "sécret");
}

TEST_F(EditTest, OnChangeFiresForTextChangesOnly) {
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  Type("ab");
  Key(VK_LEFT);
  Key(VK_HOME, kModShift);
  EXPECT_EQ(changes, 2);
  Key(VK_DELETE);
  EXPECT_EQ(changes, 3);
  edit->SetText("new");
  EXPECT_EQ(changes, 4);
  EXPECT_TRUE(edit->Modified());
}

TEST_F(EditTest, HandlerMayFreeItsEdit) {
  edit->OnChange = [&](TObject* sender) { delete static_cast<TEdit*>(sender); };
  TComponentRef<TEdit> ref(edit);
  Type("abc");
  EXPECT_FALSE(ref);

  auto* second = new TEdit(form);
  second->SetParent(form);
  second->SetFocus();
  Pump();
  second->OnKeyPress = [](TObject* sender, char32_t&) { delete static_cast<TEdit*>(sender); };
  TComponentRef<TEdit> ref2(second);
  Type("x");
  EXPECT_FALSE(ref2);
}

TEST_F(EditTest, LongTextScrollsToKeepTheCaretInside) {
  edit->SetWidth(60);
  Type("a fairly long line of text that cannot fit");
  TRect r = edit->EditRect();
  EXPECT_GT(edit->ScrollOffset(), 0);
  int x = XOf(edit->SelStart());
  EXPECT_GE(x, r.Left);
  EXPECT_LT(x, r.Right);
  Key(VK_HOME);
  EXPECT_EQ(edit->ScrollOffset(), 0);
  EXPECT_EQ(XOf(0), r.Left);
  // Deleting the text brings the view back.
  Key(VK_END, kModShift);
  Key(VK_DELETE);
  EXPECT_EQ(edit->ScrollOffset(), 0);
}

TEST_F(EditTest, AutoSelectOnKeyboardFocusOnly) {
  auto* other = new TEdit(form);
  other->SetParent(form);
  other->SetBounds(10, 50, 100, 24);
  other->SetText("other text");
  Pump();
  Key(VK_TAB);
  ASSERT_TRUE(other->Focused());
  EXPECT_EQ(other->SelLength(), 10);

  Start("mine");
  other->SetAutoSelect(false);
  edit->SetFocus();
  Pump();
  Click(other->ClientToScreen({XOf(2), 12}));
  EXPECT_EQ(other->SelLength(), 0);
}

TEST_F(EditTest, CaretBlinksOnTheTimerWhileFocused) {
  EXPECT_TRUE(edit->CaretShown());
  hp->AdvanceClock(kCaretBlinkMs);
  Pump();
  EXPECT_FALSE(edit->CaretShown());
  hp->AdvanceClock(kCaretBlinkMs);
  Pump();
  EXPECT_TRUE(edit->CaretShown());
  // A key shows it at once.
  hp->AdvanceClock(kCaretBlinkMs);
  Pump();
  Key(VK_LEFT);
  EXPECT_TRUE(edit->CaretShown());
}

TEST_F(EditTest, PaintsSelectionInHighlightColours) {
  Start("WWWW");
  Key(VK_HOME);
  Key(VK_RIGHT, kModShift);
  Key(VK_RIGHT, kModShift);
  Pump();
  TPoint inSel = edit->ClientToScreen({XOf(1), 4});
  TPoint outSel = edit->ClientToScreen({XOf(3), 4});
  EXPECT_EQ(ScreenPixel(inSel), Rgb(clHighlight));
  EXPECT_EQ(ScreenPixel(outSel), Rgb(clWindow));
  auto* other = new TEdit(form);
  other->SetParent(form);
  other->SetTop(50);
  other->SetFocus();
  Pump();
  EXPECT_EQ(ScreenPixel(inSel), Rgb(clWindow));  // HideSelection
}

}  // namespace
}  // namespace qz::testing
