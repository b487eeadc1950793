// A check box linked to an action: caption and checked state follow the
// action without a click, the user's click runs the action and leaves its
// Checked in step (also for an action that checks itself), and a handler
// may free the box.
#include <gtest/gtest.h>

#include <vector>

#include "host/ui/ActnList.h"
#include "host/ui/ImgList.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

class SkinCheckRadioAction : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsNone);
    list = new TActionList(form);
    action = new TAction(form);
    action->SetActionList(list);
    action->SetCaption("Wrap lines");
    action->OnExecute = [this](TObject*) { ++executed; };
    box = new TqzSkinCheckRadioBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 150, 25);
    box->OnChange = [this](TObject*) { ++changes; };
    Pump();
  }
  void ClickBox() { Click(box->ClientToScreen({10, 12})); }

  TForm* form = nullptr;
  TActionList* list = nullptr;
  TAction* action = nullptr;
  TqzSkinCheckRadioBox* box = nullptr;
  int executed = 0, changes = 0;
};

TEST_F(SkinCheckRadioAction, TheActionsStateSetsTheBoxWithoutAClick) {
  action->SetChecked(true);
  box->SetAction(action);
  EXPECT_EQ(box->Caption(), "Wrap lines");
  EXPECT_TRUE(box->Checked());
  action->SetChecked(false);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(box->State(), cbUnchecked);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(executed, 0);
  action->SetEnabled(false);
  EXPECT_FALSE(box->Enabled());
}

TEST_F(SkinCheckRadioAction, ImageComesFromTheActionsList) {
  auto* images = new TImageList(form);
  list->SetImages(images);
  action->SetImageIndex(3);
  box->SetAction(action);
  EXPECT_EQ(box->Images(), images);
  EXPECT_EQ(box->ImageIndex(), 3);
}

TEST_F(SkinCheckRadioAction, AClickRunsTheActionAndChecksIt) {
  box->SetAction(action);
  ClickBox();
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(action->Checked());
  EXPECT_EQ(executed, 1);
  ClickBox();
  EXPECT_FALSE(box->Checked());
  EXPECT_FALSE(action->Checked());
  EXPECT_EQ(executed, 2);
}

TEST_F(SkinCheckRadioAction, AnActionThatChecksItselfStaysInStep) {
  action->SetAutoCheck(true);
  box->SetAction(action);
  for (bool expected : {true, false, true}) {
    ClickBox();
    EXPECT_EQ(box->Checked(), expected);
    EXPECT_EQ(action->Checked(), expected);
  }
  EXPECT_EQ(executed, 3);
}

TEST_F(SkinCheckRadioAction, OtherControlsOfTheActionFollowTheBox) {
  auto* other = new TqzSkinCheckRadioBox(form);
  other->SetParent(form);
  other->SetBounds(10, 40, 150, 25);
  other->SetAction(action);
  box->SetAction(action);
  ClickBox();
  EXPECT_TRUE(other->Checked());
}

TEST_F(SkinCheckRadioAction, TheActionMayFreeTheBox) {
  box->SetAction(action);
  action->OnExecute = [this](TObject*) { delete box; };
  TComponentRef<TqzSkinCheckRadioBox> alive(box);
  ClickBox();
  EXPECT_FALSE(alive);
  EXPECT_TRUE(action->Checked());
}

}  // namespace
}  // namespace qz::testing
