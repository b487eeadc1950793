// A skinned button linked to an action: caption and enabled state follow
// the action, a click runs it, the action's Checked and a toggle button's
// Down stay in step both ways (also across a group), handlers may free the
// button, and a right click shows the button's popup menu.
#include <gtest/gtest.h>

#include "host/ui/ActnList.h"
#include "host/ui/Menus.h"
#include "skin/controls/SkinButton.h"
#include "tests/skincontrols/SkinButtonTestKit.h"

namespace qz {
namespace {

using testing::kLooks;
using testing::kNinePart;
using testing::SkinButtonTest;

class SkinButtonAction : public SkinButtonTest {
 protected:
  void SetUp() override {
    SkinButtonTest::SetUp();
    UseSkin(kNinePart + kLooks);
    list = new TActionList(form);
  }
  TAction* NewAction(const std::string& caption) {
    auto* a = new TAction(form);
    a->SetActionList(list);
    a->SetCaption(caption);
    a->OnExecute = [this, a](TObject*) { executed.push_back(a); };
    return a;
  }
  void ClickOn(TControl* c) { Click(Center(c)); }

  TActionList* list = nullptr;
  std::vector<TBasicAction*> executed;
};

TEST_F(SkinButtonAction, CaptionAndEnabledStateFollowTheAction) {
  TAction* save = NewAction("Save");
  TqzSkinButton* b = MakeButton({10, 10, 90, 40}, "Button");
  b->SetAction(save);
  EXPECT_EQ(b->Caption(), "Save");
  save->SetCaption("Save all");
  save->SetEnabled(false);
  EXPECT_EQ(b->Caption(), "Save all");
  EXPECT_FALSE(b->Enabled());
  // A disabled button takes no click.
  ClickOn(b);
  EXPECT_TRUE(executed.empty());
  save->SetEnabled(true);
  ClickOn(b);
  EXPECT_EQ(executed, std::vector<TBasicAction*>{save});
}

TEST_F(SkinButtonAction, TheButtonsOwnOnClickComesBeforeTheAction) {
  TAction* save = NewAction("Save");
  TqzSkinButton* b = MakeButton({10, 10, 90, 40});
  b->SetAction(save);
  int ownClicks = 0;
  b->OnClick = [&](TObject*) { ++ownClicks; };
  ClickOn(b);
  EXPECT_EQ(ownClicks, 1);
  EXPECT_TRUE(executed.empty());
}

TEST_F(SkinButtonAction, CheckedActionsAndToggleButtonsKeepInStep) {
  std::vector<TqzSkinButton*> buttons;
  std::vector<TAction*> actions;
  for (int i = 0; i < 3; ++i) {
    actions.push_back(NewAction("Page " + std::to_string(i)));
    actions.back()->SetGroupIndex(1);
    buttons.push_back(MakeButton({10 + 50 * i, 10, 50 + 50 * i, 30}));
    buttons.back()->SetGroupIndex(1);
    buttons.back()->SetAction(actions.back());
  }
  // The action drives Down...
  actions[1]->SetChecked(true);
  EXPECT_TRUE(buttons[1]->Down());
  actions[2]->SetChecked(true);
  EXPECT_FALSE(buttons[1]->Down());
  EXPECT_TRUE(buttons[2]->Down());
  // ...and a click on a toggle button checks its action (and runs it).
  ClickOn(buttons[0]);
  EXPECT_TRUE(buttons[0]->Down());
  EXPECT_FALSE(buttons[2]->Down());
  EXPECT_TRUE(actions[0]->Checked());
  EXPECT_FALSE(actions[2]->Checked());
  EXPECT_EQ(executed, std::vector<TBasicAction*>{actions[0]});
}

TEST_F(SkinButtonAction, APushButtonIgnoresChecked) {
  TAction* bold = NewAction("Bold");
  TqzSkinButton* b = MakeButton({10, 10, 90, 40});
  b->SetAction(bold);
  bold->SetChecked(true);
  EXPECT_FALSE(b->Down());
  ClickOn(b);
  EXPECT_TRUE(bold->Checked());
}

TEST_F(SkinButtonAction, AnActionHandlerMayFreeTheButton) {
  TAction* close = NewAction("Close");
  TqzSkinButton* b = MakeButton({10, 10, 90, 40});
  b->SetAction(close);
  close->OnExecute = [&](TObject*) { delete b; };
  ClickOn(b);
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_EQ(close->ClientCount(), 0);
  // A toggle button freed from its action's handler as well.
  TqzSkinButton* t = MakeButton({10, 10, 90, 40});
  t->SetGroupIndex(2);
  t->SetAction(close);
  close->OnExecute = [&](TObject*) { delete t; };
  ClickOn(t);
  EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(SkinButtonAction, RightClickShowsTheButtonsPopupMenu) {
  auto* menu = new TPopupMenu(form);
  auto* item = new TMenuItem(menu);
  item->SetCaption("Properties");
  menu->Items()->Add(item);
  TqzSkinButton* b = MakeButton({10, 10, 90, 40});
  b->SetPopupMenu(menu);
  hp->InjectClick(Center(b), TMouseButtonId::Right);
  Pump();
  ASSERT_TRUE(menu->IsShowing());
  EXPECT_EQ(menu->PopupComponent(), b);
  EXPECT_EQ(menu->PopupRect().TopLeft(), Center(b));
  EXPECT_FALSE(b->Down());
}

}  // namespace
}  // namespace qz
