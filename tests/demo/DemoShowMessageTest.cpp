// "Show message": the demo's message box component with its settings, and
// the dialog it shows (caption "Some caption", the test message, only OK)
// dressed by the dialog skin, again after each close.
#include <gtest/gtest.h>

#include <memory>

#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinLabel.h"
#include "skin/dialogs/SkinMessage.h"
#include "tests/demo/DemoTestKit.h"

namespace qz::testing {
namespace {

class DemoShowMessage : public DemoTest {
 protected:
  static TqzMessageForm* OpenDialog() {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* f = dynamic_cast<TqzMessageForm*>(Screen->Forms(i)))
        if (f->FormState().Contains(TFormStateFlag::fsModal)) return f;
    return nullptr;
  }
};

TEST_F(DemoShowMessage, ComponentCarriesTheDemoSettings) {
  const TqzSkinMessage& m = *Form1->qzSkinMessage1;
  EXPECT_EQ(m.SkinData(), Form1->qzSkinData2);
  EXPECT_EQ(m.CtrlSkinData(), Form1->qzSkinData2);
  EXPECT_EQ(m.ButtonSkinDataName, "button");
  EXPECT_EQ(m.MessageLabelSkinDataName, "stdlabel");
  EXPECT_TRUE(m.AlphaBlend);
  EXPECT_TRUE(m.AlphaBlendAnimation);
  EXPECT_EQ(m.AlphaBlendValue, 230);
  EXPECT_TRUE(m.UseSkinFont);
  for (const TFont* f : {&m.DefaultFont(), &m.DefaultButtonFont()}) {
    EXPECT_EQ(f->Name(), "Arial");
    EXPECT_EQ(f->Height(), 14);
  }
}

TEST_F(DemoShowMessage, ShowsTheTestMessageAsOftenAsPressed) {
  ShowMainWindow();
  TqzSkinButton& show = *Form1->qzSkinButton10;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    bool seen = false;
    TModalScript script(*hp, [] { return OpenDialog() != nullptr; }, 3000,
                        [] { OpenDialog()->SetModalResult(mrAbort); });
    script.Wait(900);  // the fade-in
    script.Add([&] {
      TqzMessageForm& f = *OpenDialog();
      seen = true;
      EXPECT_EQ(f.Caption(), "Some caption");
      EXPECT_EQ(f.MessageLabel()->Caption(), "Test message for video converter");
      EXPECT_EQ(f.Image(), nullptr);
      TqzSkinButton* ok = f.Button(qzmbOK);
      ASSERT_NE(ok, nullptr);
      EXPECT_TRUE(ok->Default() && ok->Cancel());
      EXPECT_EQ(ok->SkinData(), Form1->qzSkinData2);
      EXPECT_EQ(ok->Height(), 27);  // the dialog skin's button
      for (int bit = 0; bit < kMsgDlgButtonCount; ++bit)
        if (bit != int(qzmbOK)) EXPECT_EQ(f.Button(TqzMsgDlgBtn(bit)), nullptr);
      EXPECT_FALSE(IsWindowEnabled(Form1->Handle()));
      hp->InjectKey(VK_ESCAPE);
    });
    script.Install();
    hp->InjectClick(show.ClientToScreen({show.Width() / 2, show.Height() / 2}));
    Pump();
    hp->SetIdleHandler({});
    EXPECT_TRUE(seen);
    EXPECT_FALSE(script.Stuck());
    EXPECT_EQ(OpenDialog(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    Settle(300);
  }
}

}  // namespace
}  // namespace qz::testing
