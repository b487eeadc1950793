// Which items a skinned level shows: separator reduction as the menu and its
// items set it, levels with nothing to show, items whose sub-items are all
// hidden; and item looks that follow the skin's pixels, not its addresses.
#include "host/ui/ActnList.h"
#include "skin/draw/QZUtils.h"
#include "tests/skinpopups/SkinMenuTestKit.h"

namespace qz::testing {
namespace {

class SkinMenuLines : public SkinMenuTest {
 protected:
  void SetUp() override {
    SkinMenuTest::SetUp();
    client = new TMenuClient(form);
    client->SetParent(form);
    client->SetBounds(0, 0, 50, 50);
    Pump();
  }
  void OpenFor(TMenuItem& items, int startIndex = 0) {
    engine->Popup(client, skin.get(), startIndex, {300, 300, 300, 300}, items, false);
    Pump();
  }
  static int ShownLevels() {
    int n = 0;
    for (TWinControl* w : TopLevelControls())
      if (Is<TqzSkinPopupWindow>(w) && IsWindowVisible(w)) ++n;
    return n;
  }
  TMenuClient* client = nullptr;
};

// "-", "A", "-", "-", "Sub" > ("-", "X", "-"), "-": skinned levels leave
// out the leading, trailing and doubled separators whatever the menu and its
// items set (a manual menu has its lines rethought before a level is built),
// and leave the items themselves untouched.
TEST_F(SkinMenuLines, LevelsLeaveOutRedundantSeparatorsUnderEverySetting) {
  TMenuItem* root = popup->Items();
  Add(root, "-");
  Add(root, "A");
  Add(root, "-");
  Add(root, "-");
  TMenuItem* sub = Add(root, "Sub");
  Add(sub, "-");
  Add(sub, "X");
  Add(sub, "-");
  Add(root, "-");
  for (TMenuAutoFlag menu : {maAutomatic, maManual}) {
    for (TMenuAutoFlag item : {maParent, maAutomatic, maManual}) {
      SCOPED_TRACE(std::to_string(int(menu)) + "/" + std::to_string(int(item)));
      popup->SetAutoLineReduction(menu);
      sub->SetAutoLineReduction(item);
      OpenAt({200, 200}, skin.get());
      EXPECT_EQ(Captions(Level(0)), (std::vector<std::string>{"A", "-", "Sub"}));
      // One divider of 4, two items of 20, the picture's margin of 8.
      EXPECT_EQ(Level(0).WindowSize().cy, 4 + 2 * 20 + 8);
      EXPECT_EQ(Level(0).ActiveIndex(), 0);
      Key(VK_DOWN);
      Key(VK_RIGHT);
      ASSERT_EQ(engine->LevelCount(), 2);
      EXPECT_EQ(Captions(Level(1)), std::vector<std::string>{"X"});
      engine->CloseAll();
      Pump();
    }
  }
  EXPECT_EQ(root->Count(), 6);
  EXPECT_TRUE(root->Items(0)->Visible()) << "the items stay as the application left them";
}

// Nothing to show but separators and hidden items: the engine does nothing,
// whether a menu is open or not. The open one stays with its input, and
// nobody hears of a close.
TEST_F(SkinMenuLines, ALevelOfSeparatorsAndHiddenItemsOpensNothing) {
  BuildTwoLevels();
  auto* empty = new TPopupMenu(form);
  empty->SetAutoLineReduction(maManual);
  Add(empty->Items(), "-");
  Add(empty->Items(), "Gone")->SetVisible(false);
  Add(empty->Items(), "-");
  int closes = 0;
  OpenFor(*popup->Items());
  engine->OnClose = [&](TObject*) { ++closes; };
  OpenFor(*empty->Items());
  OpenFor(*popup->Items(), 5);  // from past the last item
  engine->PopupMerged(client, skin.get(), 0, {300, 300, 300, 300}, nullptr, *empty->Items(), false);
  Pump();
  EXPECT_TRUE(engine->Visible());
  ASSERT_EQ(engine->LevelCount(), 1);
  EXPECT_EQ(Level(0).Source(), popup->Items());
  EXPECT_EQ(GetCapture(), HWND(&Level(0)));
  EXPECT_EQ(closes, 0);
  EXPECT_TRUE(client->seen.empty());
  engine->CloseAll();
  EXPECT_EQ(closes, 1);
  Pump();
  client->seen.clear();
  OpenFor(*empty->Items());
  EXPECT_FALSE(engine->Visible());
  EXPECT_EQ(engine->LevelCount(), 0);
  EXPECT_EQ(ShownLevels(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(client->seen.empty());
  EXPECT_EQ(engine->LastPopupControl(), client);  // from the first menu, not this one
}

// The actions update as a level is built: when they hide every item the
// level never shows. A root leaves the engine closed without any close
// report; a submenu leaves its item not marked open.
TEST_F(SkinMenuLines, ActionsThatHideEveryItemLeaveNoLevel) {
  auto* list = new TActionList(form);
  auto hiding = [&] {
    auto* a = new TAction(form);
    a->SetActionList(list);
    a->SetCaption("Hides");
    a->OnUpdate = [a](TObject*) { a->SetVisible(false); };
    return a;
  };
  TMenuItem* root = popup->Items();
  Add(root, "x")->SetAction(hiding());
  Add(root, "-");
  int closes = 0;
  engine->OnClose = [&](TObject*) { ++closes; };
  OpenFor(*root);
  EXPECT_FALSE(engine->Visible());
  EXPECT_EQ(engine->LevelCount(), 0);
  EXPECT_EQ(ShownLevels(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(closes, 0);
  EXPECT_TRUE(client->seen.empty());

  auto* other = new TPopupMenu(form);
  TMenuItem* sub = Add(other->Items(), "Sub");
  Add(sub, "y")->SetAction(hiding());
  Add(other->Items(), "Other");
  OpenFor(*other->Items());
  ASSERT_TRUE(engine->Visible());
  Click(ItemCentre(0, 0));
  EXPECT_EQ(engine->LevelCount(), 1);
  EXPECT_FALSE(Level(0).Item(0).Down);
  EXPECT_EQ(ShownLevels(), 1);
  EXPECT_FALSE(Level(0).Item(0).HasChildren());  // y stays hidden now
}

// An item whose sub-items are all hidden (or separators) shows no arrow,
// opens nothing on hover or Right, and a click runs it as a command.
TEST_F(SkinMenuLines, AnItemWhoseSubItemsAreAllHiddenIsACommand) {
  BuildTwoLevels();
  recent->OnClick = [this](TObject*) { clicks.push_back("&Recent"); };
  // The strip right of the caption where the arrow picture goes.
  auto arrowStrip = [&] {
    TqzSkinPopupWindow& w = Level(0);
    const TRect r = w.Item(2).ItemRect;
    return Shown(w, {r.Right - 16, r.Top, r.Right - 4, r.Bottom});
  };
  auto normalStrip = [&] {
    const TRect r = Level(0).Item(2).ItemRect;
    const TPixmap look = ItemLook({0, 0, 40, 20}, r.Width());
    TPixmap strip(12, look.Height());
    for (int y = 0; y < look.Height(); ++y)
      for (int x = 0; x < 12; ++x) strip.At(x, y) = look.At(r.Width() - 16 + x, y);
    return strip;
  };
  OpenAt({200, 200}, skin.get());
  EXPECT_NE(FirstDifference(arrowStrip(), normalStrip()), "");
  engine->CloseAll();
  Pump();
  one->SetVisible(false);
  two->SetCaption("-");
  popup->SetAutoLineReduction(maManual);
  OpenAt({200, 200}, skin.get());
  ASSERT_EQ(Level(0).Item(2).MenuItem.Get(), recent);
  EXPECT_EQ(FirstDifference(arrowStrip(), normalStrip()), "");
  Move(ItemCentre(0, 2));
  EXPECT_EQ(Level(0).ActiveIndex(), 2);
  EXPECT_EQ(engine->WaitingItem(), nullptr);
  Ticks(1, 600);
  Key(VK_RIGHT);
  EXPECT_EQ(engine->LevelCount(), 1);
  Click(ItemCentre(0, 2));
  EXPECT_EQ(clicks, std::vector<std::string>{"&Recent"});
  EXPECT_FALSE(engine->Visible());
}

// The composed item looks a level keeps are those of the pixels it shows:
// a picture changed in place (a skin reloaded into the same bitmap) or a
// skin reloaded while the menu is open gives the new look on the next paint.
TEST_F(SkinMenuLines, ItemLooksFollowThePicturesPixelsNotTheirAddress) {
  BuildBlankItems();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  const TRect lit = w.Item(0).ItemRect, normal = w.Item(1).ItemRect;
  ASSERT_EQ(FirstDifference(Shown(w, normal), ItemLook({0, 0, 40, 20}, normal.Width())), "");
  TBitmap& picture = *skin->ActivePicture(1);
  picture.Pixels() = Pattern(60, 60, 13);
  picture.Modified();
  w.Invalidate();
  EXPECT_EQ(FirstDifference(Shown(w, normal), ItemLook({0, 0, 40, 20}, normal.Width())), "");
  EXPECT_EQ(FirstDifference(Shown(w, lit), ItemLook({0, 20, 40, 40}, lit.Width())), "");

  // Another item picture and other fixed ends, reloaded under the open menu.
  TTestSkinParts parts = MenuSkinParts();
  parts.Active[1] = Pattern(60, 60, 17);
  const std::string from = "itemleftoffset=6\r\nitemrightoffset=6";
  parts.Text.replace(parts.Text.find(from), from.size(), "itemleftoffset=2\r\nitemrightoffset=9");
  ReloadTestSkin(*skin, parts);
  w.Invalidate();
  TBitmap expected;
  CreateHSkinImage(2, 9, expected, false, normal.Width(), {0, 0, 40, 20}, *skin->ActivePicture(1));
  EXPECT_EQ(FirstDifference(Shown(w, normal), RgbOf(expected.Pixels())), "");
}

TEST(MenuItemLooks, KeptWhileTheRectanglesPixelsAndFieldsStay) {
  TqzMenuItemLooks looks;
  TBitmap picture;
  picture.Pixels() = Pattern(40, 40, 3);
  picture.Modified();
  const TRect source{0, 0, 40, 20};
  const TBitmap* first = &looks.Composed(picture, source, 6, 6, false, 100);
  TBitmap expected;
  CreateHSkinImage(6, 6, expected, false, 100, source, picture);
  EXPECT_EQ(first->Pixels(), expected.Pixels());
  // Equal pixels in another bitmap, or a change outside the rectangle: kept.
  TBitmap copy;
  copy.Pixels() = picture.Pixels();
  copy.Pixels().At(5, 30) ^= 0xFFu;
  copy.Modified();
  EXPECT_EQ(&looks.Composed(copy, source, 6, 6, false, 100), first);
  EXPECT_EQ(looks.Count(), 1);
  // Any pixel of the rectangle, an offset, the stretch or the width: anew.
  copy.Pixels().At(39, 19) ^= 0xFFu;
  const TBitmap& changed = looks.Composed(copy, source, 6, 6, false, 100);
  CreateHSkinImage(6, 6, expected, false, 100, source, copy);
  EXPECT_EQ(changed.Pixels(), expected.Pixels());
  looks.Composed(picture, source, 5, 6, false, 100);
  looks.Composed(picture, source, 6, 7, false, 100);
  looks.Composed(picture, source, 6, 6, true, 100);
  looks.Composed(picture, source, 6, 6, false, 101);
  EXPECT_EQ(looks.Count(), 6);
  // A rectangle reaching past the picture compares the part inside it.
  const TRect past{30, 30, 50, 50};
  const TBitmap* clipped = &looks.Composed(picture, past, 2, 2, false, 30);
  EXPECT_EQ(&looks.Composed(picture, past, 2, 2, false, 30), clipped);
  // Bounded.
  for (int w = 0; w < 10; ++w) looks.Composed(picture, source, 6, 6, false, 50 + w);
  EXPECT_LE(looks.Count(), TqzMenuItemLooks::kMaxEntries);
}

}  // namespace
}  // namespace qz::testing
