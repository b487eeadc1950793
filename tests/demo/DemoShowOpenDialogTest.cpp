// "Show open dialog": the demo's open dialog component with its settings,
// and the window it shows dressed by the dialog skin, again after each close.
#include <gtest/gtest.h>

#include "skin/controls/SkinButton.h"
#include "skin/dialogs/FilterComboBox.h"
#include "skin/dialogs/SkinOpenDialog.h"
#include "skin/form/Orvane.h"
#include "tests/demo/DemoTestKit.h"

namespace qz::testing {
namespace {

class DemoShowOpenDialog : public DemoTest {
 protected:
  TqzOpenDlgForm* OpenWindow() const {
    TqzOpenDlgForm* w = Form1->qzSkinOpenDialog1 ? Form1->qzSkinOpenDialog1->Window() : nullptr;
    return w && w->FormState().Contains(TFormStateFlag::fsModal) ? w : nullptr;
  }
};

TEST_F(DemoShowOpenDialog, ComponentCarriesTheDemoSettings) {
  ASSERT_NE(Form1->qzSkinOpenDialog1, nullptr);
  const TqzSkinOpenDialog& d = *Form1->qzSkinOpenDialog1;
  EXPECT_EQ(d.SkinData(), Form1->qzSkinData2);
  EXPECT_EQ(d.CtrlSkinData(), Form1->qzSkinData2);
  EXPECT_EQ(d.Title, "Open file");
  EXPECT_EQ(d.Filter, "All files|*.*");
  EXPECT_EQ(d.FilterIndex, 1);
  EXPECT_TRUE(d.ShowThumbnails && d.CheckFileExists);
  EXPECT_FALSE(d.ShowHiddenFiles || d.MultiSelection || d.OverwritePromt);
  EXPECT_TRUE(d.AlphaBlend && d.AlphaBlendAnimation);
  EXPECT_EQ(d.AlphaBlendValue, 240);
  EXPECT_TRUE(d.CtrlAlphaBlend && d.CtrlAlphaBlendAnimation);
  EXPECT_EQ(d.CtrlAlphaBlendValue, 230);
  EXPECT_EQ(d.LVHeaderSkinDataName, "resizebutton");
}

TEST_F(DemoShowOpenDialog, ShowsTheDialogAsOftenAsPressed) {
  ShowMainWindow();
  TqzSkinButton& show = *Form1->qzSkinButton12;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    bool seen = false;
    TModalScript script(*hp, [this] { return OpenWindow() != nullptr; }, 3000,
                        [this] { OpenWindow()->SetModalResult(mrAbort); });
    script.Wait(900);  // the fade-in
    script.Add([&] {
      TqzOpenDlgForm& w = *OpenWindow();
      seen = true;
      EXPECT_EQ(w.Caption(), "Open file");
      EXPECT_EQ(w.Orvane()->SkinData(), Form1->qzSkinData2);
      EXPECT_EQ(w.FilterCombo()->Items().Count(), 1);
      EXPECT_EQ(w.FilterCombo()->Mask(), "*.*");
      EXPECT_FALSE(IsWindowEnabled(Form1->Handle()));
      hp->InjectKey(VK_ESCAPE);
    });
    script.Install();
    hp->InjectClick(show.ClientToScreen({show.Width() / 2, show.Height() / 2}));
    Pump();
    hp->SetIdleHandler({});
    EXPECT_TRUE(seen);
    EXPECT_FALSE(script.Stuck());
    EXPECT_EQ(Form1->qzSkinOpenDialog1->Window(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    Settle(300);
  }
}

}  // namespace
}  // namespace qz::testing
