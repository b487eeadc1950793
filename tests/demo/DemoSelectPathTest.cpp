// "Show select path dialog": the demo's folder dialog component with its
// settings, and the window it shows (the computer folder, no tool bar)
// dressed by the dialog skin, again after each close.
#include <gtest/gtest.h>

#include "skin/controls/SkinButton.h"
#include "skin/dialogs/DirTreeView.h"
#include "skin/dialogs/SelectDirectoryDialog.h"
#include "skin/form/Orvane.h"
#include "tests/demo/DemoTestKit.h"

namespace qz::testing {
namespace {

class DemoSelectPath : public DemoTest {
 protected:
  static TqzSelDirDlgForm* OpenDialog() {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* f = dynamic_cast<TqzSelDirDlgForm*>(Screen->Forms(i)))
        if (f->FormState().Contains(TFormStateFlag::fsModal)) return f;
    return nullptr;
  }
};

TEST_F(DemoSelectPath, ShowsTheFolderDialogAsOftenAsPressed) {
  const TqzSkinSelectDirectoryDialog& d = *Form1->qzSkinSelectDirectoryDialog1;
  EXPECT_EQ(d.SkinData(), Form1->qzSkinData2);
  EXPECT_EQ(d.CtrlSkinData(), Form1->qzSkinData2);
  EXPECT_EQ(d.Title, "Select folder");
  EXPECT_FALSE(d.ShowToolBar);
  EXPECT_TRUE(d.AlphaBlend && d.AlphaBlendAnimation);
  EXPECT_EQ(d.AlphaBlendValue, 240);
  ShowMainWindow();
  TqzSkinButton& show = *Form1->qzSkinButton13;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    bool seen = false;
    TModalScript script(*hp, [] { return OpenDialog() != nullptr; }, 3000,
                        [] { OpenDialog()->SetModalResult(mrAbort); });
    script.Wait(900);  // the fade-in
    script.Add([&] {
      TqzSelDirDlgForm& f = *OpenDialog();
      seen = true;
      EXPECT_EQ(f.Caption(), "Select folder");
      EXPECT_EQ(f.ToolBar(), nullptr);
      EXPECT_EQ(f.Orvane()->SkinData(), Form1->qzSkinData2);
      TqzSkinDirTreeView& tree = *f.Tree();
      EXPECT_EQ(tree.Selected(), tree.TopItem(0));  // the computer folder
      EXPECT_TRUE(tree.Selected()->Expanded());
      // 350 x 350 each time: the size written back is the size asked for.
      EXPECT_EQ(f.ClientWidth(), 350);
      EXPECT_EQ(f.ClientHeight(), 350);
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
