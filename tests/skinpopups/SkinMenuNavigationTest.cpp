// Keyboard and mouse through a two-level menu, the submenu delay, command
// dispatch and the ways a menu closes.
#include "skin/form/Orvane.h"
#include "tests/skinpopups/SkinMenuTestKit.h"

namespace qz::testing {
namespace {

TEST_F(SkinMenuTest, OpeningHighlightsTheFirstEnabledItemWithoutOpeningItsSubmenu) {
  BuildTwoLevels();
  open->SetEnabled(false);
  OpenAt({200, 200}, skin.get());
  ASSERT_TRUE(engine->Visible());
  // The disabled item and the separator are skipped; "&Recent" has a
  // submenu that stays closed.
  EXPECT_EQ(Level(0).ActiveIndex(), 2);
  Ticks(2, 500);
  EXPECT_EQ(engine->LevelCount(), 1);
}

TEST_F(SkinMenuTest, KeyboardWalksBothLevelsAndRunsTheChosenItem) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& root = Level(0);
  EXPECT_EQ(root.ActiveIndex(), 0);
  Key(VK_DOWN);  // over the separator
  EXPECT_EQ(root.ActiveIndex(), 2);
  Key(VK_DOWN);  // over the disabled item
  EXPECT_EQ(root.ActiveIndex(), 4);
  Key(VK_DOWN);  // wraps
  EXPECT_EQ(root.ActiveIndex(), 0);
  Key(VK_UP);
  EXPECT_EQ(root.ActiveIndex(), 4);
  Key(VK_UP);
  Key(VK_RIGHT);
  ASSERT_EQ(engine->LevelCount(), 2);
  EXPECT_TRUE(root.Item(2).Down);
  EXPECT_EQ(Level(1).ActiveIndex(), 0);
  Key(VK_DOWN);
  // Left closes the submenu and clears the parent's down mark.
  Key(VK_LEFT);
  EXPECT_EQ(engine->LevelCount(), 1);
  EXPECT_FALSE(root.Item(2).Down);
  EXPECT_EQ(root.ActiveIndex(), 2);
  // Left on the root does nothing; Enter opens the submenu again.
  Key(VK_LEFT);
  EXPECT_TRUE(engine->Visible());
  Key(VK_RETURN);
  ASSERT_EQ(engine->LevelCount(), 2);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(clicks, std::vector<std::string>{"&Two"});
  EXPECT_FALSE(engine->Visible());
  EXPECT_EQ(engine->LevelCount(), 0);
}

TEST_F(SkinMenuTest, AcceleratorsChooseOnTheirLevel) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  auto type = [&](const char* letter) {
    hp->InjectText(letter);
    Pump();
  };
  type("g");  // disabled: highlighted, not run
  EXPECT_TRUE(engine->Visible());
  EXPECT_TRUE(clicks.empty());
  type("r");
  ASSERT_EQ(engine->LevelCount(), 2);
  type("T");
  EXPECT_EQ(clicks, std::vector<std::string>{"&Two"});
  EXPECT_FALSE(engine->Visible());
}

TEST_F(SkinMenuTest, EscapeClosesOneLevelThenTheMenuAndTellsEveryoneOnce) {
  BuildTwoLevels();
  auto* client = new TMenuClient(form);
  client->SetParent(form);
  client->SetBounds(0, 0, 50, 50);
  Pump();
  int closes = 0;
  engine->Popup(client, skin.get(), 0, {200, 200, 200, 200}, *popup->Items(), false);
  engine->OnClose = [&](TObject*) { ++closes; };
  Pump();
  Key(VK_DOWN);
  Key(VK_RIGHT);
  ASSERT_EQ(engine->LevelCount(), 2);
  Key(VK_ESCAPE);
  EXPECT_EQ(engine->LevelCount(), 1);
  EXPECT_FALSE(Level(0).Item(2).Down);
  EXPECT_EQ(closes, 0);
  Key(VK_ESCAPE);
  EXPECT_FALSE(engine->Visible());
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(client->seen, std::vector<uint32_t>{WM_CLOSESKINMENU});
  EXPECT_EQ(engine->LastPopupControl(), client);
  // The handler ran once and is gone.
  engine->CloseAll();
  EXPECT_EQ(closes, 1);
}

TEST_F(SkinMenuTest, ChosenCommandRunsAfterTheCloseAndIsReportedToTheControl) {
  BuildTwoLevels();
  auto* client = new TMenuClient(form);
  client->SetParent(form);
  client->SetBounds(0, 0, 50, 50);
  Pump();
  bool visibleInHandler = true;
  open->OnClick = [&](TObject*) { visibleInHandler = engine->Visible(); };
  engine->Popup(client, skin.get(), 0, {200, 200, 200, 200}, *popup->Items(), false);
  Pump();
  Click(ItemCentre(0, 0));
  EXPECT_FALSE(visibleInHandler);
  EXPECT_EQ(client->seen, (std::vector<uint32_t>{WM_CLOSESKINMENU, WM_AFTERDISPATCH}));
}

TEST_F(SkinMenuTest, HoveredSubmenuOpensAfterHalfASecond) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  Move(ItemCentre(0, 2));
  EXPECT_EQ(Level(0).ActiveIndex(), 2);
  EXPECT_EQ(engine->WaitingItem(), recent);
  Ticks(1, 499);
  EXPECT_EQ(engine->LevelCount(), 1);
  Ticks(1, 1);
  ASSERT_EQ(engine->LevelCount(), 2);
  EXPECT_TRUE(Level(0).Item(2).Down);
  // Moving to a leaf closes the deeper level at once.
  Move(ItemCentre(0, 0));
  EXPECT_EQ(engine->LevelCount(), 1);
  EXPECT_FALSE(Level(0).Item(2).Down);
}

TEST_F(SkinMenuTest, LeavingTheItemBeforeTheDelayCancelsTheSubmenu) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  Move(ItemCentre(0, 2));
  Ticks(1, 300);
  Move(ItemCentre(0, 4));
  Ticks(2, 300);
  EXPECT_EQ(engine->LevelCount(), 1);
  EXPECT_EQ(engine->WaitingItem(), nullptr);
}

TEST_F(SkinMenuTest, ClickingAnItemWithASubmenuOpensItAtOnce) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  Click(ItemCentre(0, 2));
  ASSERT_EQ(engine->LevelCount(), 2);
  Click(ItemCentre(1, 0));
  EXPECT_EQ(clicks, std::vector<std::string>{"&One"});
  EXPECT_FALSE(engine->Visible());
}

TEST_F(SkinMenuTest, DisabledItemsAndSeparatorsDoNotRun) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  Click(ItemCentre(0, 3));
  Click(ItemCentre(0, 1));
  EXPECT_TRUE(clicks.empty());
  EXPECT_TRUE(engine->Visible());
}

TEST_F(SkinMenuTest, PressOutsideClosesWithoutACommand) {
  BuildTwoLevels();
  int formClicks = 0;
  form->OnClick = [&](TObject*) { ++formClicks; };
  OpenAt({200, 200}, skin.get());
  Click({150, 150});
  EXPECT_FALSE(engine->Visible());
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(formClicks, 0);
  for (THeadlessWindow* w : hp->Windows())
    if (w->Kind() == TPlatformWindowKind::Popup) EXPECT_FALSE(w->Visible());
}

TEST_F(SkinMenuTest, HandlerThatFreesTheFormAndTheEngine) {
  BuildTwoLevels();
  TComponentRef<TForm> formRef(form);
  // Nothing of the handler's captures is touched after the form (and with
  // it this item and its handler) is gone.
  open->OnClick = [this](TObject*) {
    engine.reset();
    delete form;
  };
  OpenAt({200, 200}, skin.get());
  Key(VK_RETURN);
  EXPECT_FALSE(formRef);
  EXPECT_FALSE(engine);
  Pump();
}

TEST_F(SkinMenuTest, CloseHandlerThatFreesTheEngine) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  engine->OnClose = [&](TObject*) { engine.reset(); };
  Key(VK_ESCAPE);
  EXPECT_FALSE(engine);
  Pump();
}

TEST_F(SkinMenuTest, ItemFreedWhileShownIsSkipped) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  delete open;
  Pump();
  Key(VK_RETURN);  // the highlighted item went away: nothing runs
  EXPECT_TRUE(clicks.empty());
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_TRUE(engine->LevelCount() >= 1);
}

TEST_F(SkinMenuTest, SkinnedPopupMenuFindsTheFormsEngine) {
  auto* orvane = new TqzOrvane(form);
  auto* menu = new TqzSkinPopupMenu(form);
  auto* item = new TMenuItem(menu);
  item->SetCaption("Only");
  menu->Items()->Add(item);
  int closed = 0;
  menu->OnMenuClose = [&](TObject*) { ++closed; };
  menu->Popup(300, 300);
  Pump();
  ASSERT_TRUE(orvane->SkinMenu().Visible());
  EXPECT_EQ(orvane->SkinMenu().Level(0)->BoundsRect().TopLeft(), (TPoint{300, 300}));
  Key(VK_ESCAPE);
  EXPECT_EQ(closed, 1);

  // A plain popup menu shows skinned once the hook is in.
  auto* plain = new TPopupMenu(form);
  auto* plainItem = new TMenuItem(plain);
  plainItem->SetCaption("Plain");
  plain->Items()->Add(plainItem);
  InstallSkinnedPopupHook(*plain);
  plain->Popup(320, 320);
  Pump();
  EXPECT_TRUE(orvane->SkinMenu().Visible());
  EXPECT_FALSE(plain->IsShowing());
  orvane->SkinMenu().CloseAll();
}

TEST_F(SkinMenuTest, HookedPopupMenuWithoutAControllerShowsTheHostWindow) {
  auto* plain = new TPopupMenu(form);
  auto* plainItem = new TMenuItem(plain);
  plainItem->SetCaption("Plain");
  plain->Items()->Add(plainItem);
  InstallSkinnedPopupHook(*plain);
  plain->Popup(320, 320);
  Pump();
  EXPECT_TRUE(plain->IsShowing());
  EXPECT_TRUE(plain->PopupHook != nullptr);
  plain->ClosePopup();
}

}  // namespace
}  // namespace qz::testing
