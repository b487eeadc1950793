// Input masks: which characters a mask takes, how the text keeps its shape
// under typing, deleting and pasting.
#include "host/components/FormResource.h"
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

// ---- both edits in a form resource

namespace qz {

class TEditsForm : public TForm {
  QZ_CLASS(TEditsForm, TForm)
 public:
  explicit TEditsForm(TComponent* owner) : TForm(owner) {
    RegisterHandler("TextChanged", TNotifyEvent([this](TObject*) { ++changes; }));
    BindField("Plain", Plain);
    BindField("Masked", Masked);
  }
  TEdit* Plain = nullptr;
  TMaskEdit* Masked = nullptr;
  int changes = 0;
};

QZ_PUBLISHED(TEditsForm, TForm) {}

}  // namespace qz

namespace qz::testing {
namespace {

// Every published edit property set away from its default, written out
// exactly as the form writes it: each class's properties in their order
// (the mask before the text it shapes) after what every control writes.
constexpr const char* kEditsResource = R"(object EditsForm: TEditsForm
  Left = 10
  Top = 10
  Width = 300
  Height = 200
  Color = clBtnFace
  Visible = False
  object Plain: TEdit
    Left = 8
    Top = 8
    Width = 120
    Height = 21
    Cursor = crIBeam
    TabOrder = 0
    TabStop = True
    Text = 'PLAIN'
    MaxLength = 12
    ReadOnly = True
    PasswordChar = '*'
    CharCase = ecUpperCase
    AutoSelect = False
    HideSelection = False
    Alignment = taRightJustify
    BorderVisible = False
    OnChange = TextChanged
  end
  object Masked: TMaskEdit
    Left = 8
    Top = 40
    Width = 120
    Height = 21
    Cursor = crIBeam
    TabOrder = 1
    TabStop = True
    EditMask = '00/00;1;_'
    Text = '12/34'
    MaxLength = 5
    ReadOnly = True
    PasswordChar = '#'
    CharCase = ecLowerCase
    AutoSelect = False
    HideSelection = False
    Alignment = taCenter
    BorderVisible = False
    OnChange = TextChanged
  end
end
)";

class EditResourceTest : public UiTest {};

TEST_F(EditResourceTest, EditsKeepEveryPublishedPropertyThroughAFormResource) {
  auto* f = new TEditsForm(Application);
  ReadComponentRes(f, kEditsResource);
  ASSERT_NE(f->Plain, nullptr);
  ASSERT_NE(f->Masked, nullptr);
  EXPECT_EQ(f->Plain->Text(), "PLAIN");
  EXPECT_EQ(f->Plain->PasswordChar(), U'*');
  EXPECT_EQ(f->Plain->Alignment(), taRightJustify);
  EXPECT_EQ(f->Masked->EditMask(), "00/00;1;_");
  EXPECT_EQ(f->Masked->Text(), "12/34");
  EXPECT_EQ(f->Masked->CharCase(), ecLowerCase);
  EXPECT_FALSE(f->Masked->BorderVisible());
  f->Masked->OnChange(f->Masked);
  EXPECT_EQ(f->changes, 1);
  EXPECT_EQ(WriteComponentRes(f), kEditsResource);
}

}  // namespace
}  // namespace qz::testing
