// Actions and action lists: a linked control takes the action's properties
// and follows its changes, its click runs the action unless it has an
// OnClick of its own, disabled actions do not run, checked groups stay
// exclusive, list handlers come first, idle processing runs OnUpdate, and
// handlers may free the control, the action or the list. Form resources
// nest actions inside their list and link controls by name.
#include "UiTestSupport.h"

#include "host/components/FormResource.h"
#include "host/ui/ActnList.h"
#include "host/ui/Menus.h"
#include "host/ui/Timer.h"

namespace qz {

class TActionTestForm : public TForm {
  QZ_CLASS(TActionTestForm, TForm)
 public:
  explicit TActionTestForm(TComponent* owner) : TForm(owner) {
    RegisterHandler("OpenExecute", TNotifyEvent([this](TObject*) { ++opened; }));
    BindField("Open", Open);
    BindField("Button1", Button1);
    BindField("ActionList1", ActionList1);
  }
  TAction* Open = nullptr;
  TButton* Button1 = nullptr;
  TActionList* ActionList1 = nullptr;
  int opened = 0;
};

QZ_PUBLISHED(TActionTestForm, TForm) {}

}  // namespace qz

namespace qz::testing {
namespace {

class Actions : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400});
    list = new TActionList(form);
    action = NewAction("Open", [this](TObject*) { ++executed; });
    button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 100, 30);
    Pump();
  }
  TAction* NewAction(const std::string& caption, TNotifyEvent onExecute) {
    auto* a = new TAction(form);
    a->SetActionList(list);
    a->SetCaption(caption);
    a->OnExecute = std::move(onExecute);
    return a;
  }
  void ClickButton(TControl& c) { Click(c.ClientToScreen({c.Width() / 2, c.Height() / 2})); }

  TForm* form = nullptr;
  TActionList* list = nullptr;
  TAction* action = nullptr;
  TButton* button = nullptr;
  int executed = 0;
};

TEST_F(Actions, ALinkedControlTakesTheActionsPropertiesAndFollowsThem) {
  button->SetCaption("Mine");
  action->SetHint("Opens a file");
  button->SetAction(action);
  EXPECT_EQ(button->Action(), action);
  EXPECT_EQ(button->Caption(), "Open");
  EXPECT_EQ(button->Hint(), "Opens a file");
  action->SetCaption("Open...");
  action->SetEnabled(false);
  action->SetVisible(false);
  EXPECT_EQ(button->Caption(), "Open...");
  EXPECT_FALSE(button->Enabled());
  EXPECT_FALSE(button->Visible());
  // Unlinked, the control keeps what it has and hears nothing more.
  button->SetAction(nullptr);
  action->SetCaption("Other");
  EXPECT_EQ(button->Caption(), "Open...");
  EXPECT_EQ(action->ClientCount(), 0);
}

TEST_F(Actions, AClickRunsTheActionUnlessTheControlHasItsOwnOnClick) {
  button->SetAction(action);
  ClickButton(*button);
  EXPECT_EQ(executed, 1);
  int ownClicks = 0;
  button->OnClick = [&](TObject*) { ++ownClicks; };
  ClickButton(*button);
  EXPECT_EQ(ownClicks, 1);
  EXPECT_EQ(executed, 1);
}

TEST_F(Actions, ADisabledActionDoesNotRun) {
  action->SetEnabled(false);
  EXPECT_FALSE(action->Execute());
  EXPECT_EQ(executed, 0);
  // OnUpdate runs first and may enable it.
  action->OnUpdate = [this](TObject*) { action->SetEnabled(true); };
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(executed, 1);
}

TEST_F(Actions, CheckedActionsOfAGroupAreExclusiveAndAutoCheckToggles) {
  TAction* other = NewAction("Other", {});
  action->SetGroupIndex(3);
  other->SetGroupIndex(3);
  action->SetChecked(true);
  other->SetChecked(true);
  EXPECT_FALSE(action->Checked());
  EXPECT_TRUE(other->Checked());
  TAction* loose = NewAction("Loose", {});
  loose->SetAutoCheck(true);
  loose->SetChecked(true);
  EXPECT_TRUE(other->Checked());
  loose->Execute();
  EXPECT_FALSE(loose->Checked());
}

TEST_F(Actions, TheListsHandlersComeFirst) {
  std::vector<TBasicAction*> seen;
  list->OnExecute = [&](TBasicAction* a, bool& handled) {
    seen.push_back(a);
    handled = true;
  };
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(executed, 0);
  list->OnExecute = [](TBasicAction*, bool&) {};
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(executed, 1);
  EXPECT_EQ(seen, std::vector<TBasicAction*>{action});
}

TEST_F(Actions, IdleProcessingUpdatesTheActionsThatHaveClients) {
  bool allowed = true;
  action->OnUpdate = [&](TObject*) { action->SetEnabled(allowed); };
  int unlinkedUpdates = 0;
  TAction* unlinked = NewAction("Unlinked", {});
  unlinked->OnUpdate = [&](TObject*) { ++unlinkedUpdates; };
  button->SetAction(action);
  allowed = false;
  // A running timer gives the idle application something to wait for.
  TTimer timer(form);
  timer.SetInterval(10);
  timer.SetEnabled(true);
  Pump();
  Application->HandleMessage();
  EXPECT_FALSE(button->Enabled());
  EXPECT_EQ(unlinkedUpdates, 0);
}

TEST_F(Actions, TheShortCutOfAnActionOfTheFormRunsIt) {
  action->SetShortCut(uint16_t(scCtrl | 'O'));
  button->SetFocus();
  Key('O', kModCtrl);
  EXPECT_EQ(executed, 1);
  Key('O');  // without Ctrl: not the shortcut
  EXPECT_EQ(executed, 1);
  action->SetEnabled(false);
  Key('O', kModCtrl);
  EXPECT_EQ(executed, 1);
}

TEST_F(Actions, AnActionHandlerMayFreeTheControlThatRanIt) {
  button->SetAction(action);
  action->OnExecute = [this](TObject*) { delete button; };
  ClickButton(*button);
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_EQ(action->ClientCount(), 0);
}

TEST_F(Actions, AnActionThatGoesUnlinksItsControlsAndLeavesItsList) {
  button->SetAction(action);
  action->OnExecute = [this](TObject*) { delete action; };
  ClickButton(*button);
  EXPECT_EQ(button->Action(), nullptr);
  EXPECT_EQ(list->ActionCount(), 0);
  ClickButton(*button);  // no action any more: nothing runs
  TAction* again = NewAction("Again", {});
  delete list;
  EXPECT_EQ(again->ActionList(), nullptr);
}

// A menu item links like a control: it takes and follows the action's
// states, runs the action when it has no OnClick, and updates it on request.
TEST_F(Actions, AMenuItemTakesTheActionsStatesAndRunsIt) {
  auto* menu = new TPopupMenu(form);
  auto* item = new TMenuItem(menu);
  menu->Items()->Add(item);
  action->SetChecked(true);
  action->SetImageIndex(3);
  action->SetShortCut(ShortCut('O', {ssCtrl}));
  item->SetAction(action);
  EXPECT_EQ(item->Caption(), "Open");
  EXPECT_TRUE(item->Checked());
  EXPECT_EQ(item->ImageIndex(), 3);
  EXPECT_EQ(item->ShortCut(), ShortCut('O', {ssCtrl}));
  item->Click();
  EXPECT_EQ(executed, 1);
  action->OnUpdate = [this](TObject*) { action->SetEnabled(false); };
  item->InitiateAction();
  EXPECT_FALSE(item->Enabled());
  item->Click();  // disabled: nothing runs
  EXPECT_EQ(executed, 1);
  delete action;
  EXPECT_EQ(item->Action(), nullptr);
  item->SetEnabled(true);
  item->Click();
  item->InitiateAction();
}

// Leading, trailing and doubled separators go, hidden items count as absent;
// the items themselves are not changed.
TEST(MenuLines, RedundantSeparatorsAreFoundWithoutChangingTheItems) {
  auto* menu = new TPopupMenu(nullptr);
  auto make = [&](const std::string& caption, bool visible = true) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    item->SetVisible(visible);
    menu->Items()->Add(item);
    return item;
  };
  std::vector<TMenuItem*> items{make("-"), make("A"), make("-"), make("B", false), make("-"),
                                make("C"), make("-"), make("D", false)};
  EXPECT_EQ(RedundantLines(items), (std::vector<bool>{true, false, false, false, true, false, true, false}));
  EXPECT_TRUE(items[0]->Visible());
  items[3]->SetVisible(true);
  EXPECT_EQ(RedundantLines(items), (std::vector<bool>{true, false, false, false, false, false, true, false}));
  EXPECT_EQ(RedundantLines({make("-"), nullptr, make("-")}), (std::vector<bool>{true, false, true}));
  EXPECT_TRUE(RedundantLines({}).empty());
  delete menu;
}

TEST_F(Actions, FormResourcesNestActionsInTheirListAndLinkControls) {
  constexpr const char* kText = R"(object ActionTestForm: TActionTestForm
  Left = 100
  Top = 100
  Width = 300
  Height = 200
  object Button1: TButton
    Left = 10
    Top = 10
    Width = 100
    Height = 30
    Action = Open
  end
  object ActionList1: TActionList
    object Open: TAction
      Caption = 'Open'
      Hint = 'Opens a file'
      ShortCut = 16463
      OnExecute = OpenExecute
    end
  end
end
)";
  auto* f = new TActionTestForm(Application);
  ReadComponentRes(f, kText);
  ASSERT_NE(f->Open, nullptr);
  EXPECT_EQ(f->Open->ActionList(), f->ActionList1);
  EXPECT_EQ(f->ActionList1->FindShortCut(16463), f->Open);
  EXPECT_EQ(f->Button1->Action(), f->Open);
  EXPECT_EQ(f->Button1->Caption(), "Open");
  EXPECT_EQ(f->Button1->Hint(), "Opens a file");
  f->Button1->Click();
  EXPECT_EQ(f->opened, 1);
  const std::string written = WriteComponentRes(f);
  EXPECT_NE(written.find("    Action = Open\n"), std::string::npos) << written;
  EXPECT_NE(written.find("  object ActionList1: TActionList\n    object Open: TAction\n"),
            std::string::npos)
      << written;
}

}  // namespace
}  // namespace qz::testing
