// Input masks: which characters a mask takes, how the text keeps its shape
// under typing, deleting and pasting.
#include "host/ui/MaskEdit.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

TEST(ParsedMaskTest, FieldsLiteralsAndCase) {
  TParsedMask m = TParsedMask::Parse(R"(>LL\-00;0;*)");
  EXPECT_FALSE(m.saveLiterals);
  EXPECT_EQ(m.blank, U'*');
  EXPECT_EQ(m.BlankText(), U"**-**");
  char32_t c;
  EXPECT_TRUE(m.Accepts(0, U'q', c));
  EXPECT_EQ(c, U'Q');
  EXPECT_FALSE(m.Accepts(0, U'5', c));
  EXPECT_FALSE(m.Accepts(3, U'x', c));
  EXPECT_TRUE(m.Accepts(4, U'7', c));
  // '#' takes signs, 'A' letters and digits but no punctuation.
  TParsedMask n = TParsedMask::Parse("#A");
  EXPECT_TRUE(n.Accepts(0, U'-', c));
  EXPECT_TRUE(n.Accepts(1, U'é', c));
  EXPECT_FALSE(n.Accepts(1, U'.', c));
}

TEST(ParsedMaskTest, ConformKeepsFittingTextAndRefillsTheRest) {
  TParsedMask m = TParsedMask::Parse("00/00");
  EXPECT_EQ(m.Conform(U"12/34"), U"12/34");
  EXPECT_EQ(m.Conform(U"1234"), U"12/34");
  EXPECT_EQ(m.Conform(U"a1b"), U"1_/__");
  EXPECT_EQ(m.Conform(U"123456789"), U"12/34");
}

class MaskEditTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 400, 200});
    edit = new TMaskEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 150, 24);
    edit->SetEditMask("!00/00/0000;1;_");
    edit->SetAutoSelect(false);
    edit->SetFocus();
    Pump();
  }
  void Type(const std::string& s) {
    hp->InjectText(s);
    Pump();
  }
  TForm* form = nullptr;
  TMaskEdit* edit = nullptr;
};

TEST_F(MaskEditTest, TypingFillsInputsAndStepsOverLiterals) {
  EXPECT_EQ(edit->Text(), "__/__/____");
  Type("3112");
  EXPECT_EQ(edit->Text(), "31/12/____");
  EXPECT_EQ(edit->SelStart(), 6);
  // Typing the literal itself steps over it, too.
  edit->SetText("");
  Key(VK_HOME);
  Type("12/3");
  EXPECT_EQ(edit->Text(), "12/3_/____");
  EXPECT_FALSE(edit->IsMaskComplete());
  Type("x9");  // 'x' is refused, 9 goes where it fits
  EXPECT_EQ(edit->Text(), "12/39/____");
}

TEST_F(MaskEditTest, RefusedCharactersChangeNothing) {
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  Type("ab-");
  EXPECT_EQ(edit->Text(), "__/__/____");
  EXPECT_EQ(changes, 0);
  Type("0101202");
  Type("5");
  EXPECT_TRUE(edit->IsMaskComplete());
  Type("7");  // no input position left
  EXPECT_EQ(edit->Text(), "01/01/2025");
}

TEST_F(MaskEditTest, BackspaceDeleteAndSelectionBlankInputsOnly) {
  edit->SetText("01012025");
  EXPECT_EQ(edit->Text(), "01/01/2025");
  Key(VK_END);
  Key(VK_BACK);
  EXPECT_EQ(edit->Text(), "01/01/202_");
  edit->SetSelStart(3);
  Key(VK_BACK);  // steps back over the literal
  EXPECT_EQ(edit->Text(), "0_/01/202_");
  Key(VK_HOME);
  Key(VK_END, kModShift);
  Key(VK_DELETE);
  EXPECT_EQ(edit->Text(), "__/__/____");
  Key('Z', kModCtrl);
  EXPECT_EQ(edit->Text(), "0_/01/202_");
}

TEST_F(MaskEditTest, PasteTypesUntilTheFirstRefusal) {
  hp->SetClipboardText("24/12x1999");
  Key('V', kModCtrl);
  EXPECT_EQ(edit->Text(), "24/12/____");
  hp->SetClipboardText("06122024");
  Key(VK_HOME);
  Key(VK_END, kModShift);
  Key('V', kModCtrl);
  EXPECT_EQ(edit->Text(), "06/12/2024");
}

TEST_F(MaskEditTest, LiteralsLeftOutWhenTheMaskSaysSo) {
  edit->SetEditMask(">LL-000;0;_");
  Type("ab123");
  EXPECT_EQ(edit->Text(), "AB-123");
  EXPECT_EQ(edit->TextWithoutLiterals(), "AB123");
  edit->SetEditMask("");
  Type("-x");
  EXPECT_EQ(edit->Text(), "AB-123-x");  // a plain edit again
}

}  // namespace
}  // namespace qz::testing
