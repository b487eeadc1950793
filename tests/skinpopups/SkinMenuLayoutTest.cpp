// Item layout, window size and placement of popup menu levels.
#include "host/ui/ActnList.h"
#include "tests/skinpopups/SkinMenuTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

// The widest "caption  shortcut" + 2, measured in the font the level uses.
int WidestText(const std::vector<std::string>& texts, const std::string& font, int height) {
  TPixmap scratch(1, 1);
  TCanvas c(&scratch);
  c.Font().SetName(font);
  c.Font().SetHeight(height);
  int widest = 0;
  for (const std::string& t : texts) {
    TRect r{0, 0, 0, 0};
    c.DrawText(t, r, DT_CALCRECT | DT_SINGLELINE);
    widest = std::max(widest, r.Width() + 2);
  }
  return widest;
}

std::vector<std::string> RootTexts() { return {"&Open  Ctrl+O", "&Recent", "&Gone", "&Checked"}; }

// Separators that would lead, trail, double up or stand next to a hidden
// item only are left out; the host items keep their states.
TEST_F(SkinMenuTest, RedundantSeparatorsAreLeftOut) {
  TMenuItem* root = popup->Items();
  TMenuItem* lead = Add(root, "-");
  Add(root, "A");
  Add(root, "-");
  Add(root, "-");
  TMenuItem* hidden = Add(root, "Hidden");
  hidden->SetVisible(false);
  Add(root, "-");
  Add(root, "B");
  Add(root, "-");
  OpenAt({200, 200});
  EXPECT_EQ(Captions(Level(0)), (std::vector<std::string>{"A", "-", "B"}));
  EXPECT_TRUE(lead->Visible());
  engine->CloseAll();
  // A start index past the first item: what leads from there goes too.
  engine->Popup(nullptr, nullptr, 2, {200, 200, 200, 200}, *root, false);
  Pump();
  EXPECT_EQ(Captions(Level(0)), (std::vector<std::string>{"B"}));
}

// Each item's action updates before the level is built: an update that
// hides, shows or renames an item (or frees one) is what the level shows.
TEST_F(SkinMenuTest, ActionsUpdateBeforeTheItemsAreBuilt) {
  auto* list = new TActionList(form);
  auto action = [&](const std::string& caption, TNotifyEvent onUpdate) {
    auto* a = new TAction(form);
    a->SetActionList(list);
    a->SetCaption(caption);
    a->OnUpdate = std::move(onUpdate);
    return a;
  };
  TMenuItem* root = popup->Items();
  TMenuItem* shown = Add(root, "x");
  TMenuItem* hides = Add(root, "x");
  TMenuItem* freed = Add(root, "Freed");
  TMenuItem* renamed = Add(root, "x");
  TAction* showAction = action("Shown", {});
  showAction->SetVisible(false);
  shown->SetAction(showAction);
  showAction->OnUpdate = [&](TObject*) { showAction->SetVisible(true); };
  TAction* hideAction = action("Hides", {});
  hides->SetAction(hideAction);
  hideAction->OnUpdate = [&](TObject*) {
    hideAction->SetVisible(false);
    delete std::exchange(freed, nullptr);
  };
  TAction* renameAction = action("Old", {});
  renamed->SetAction(renameAction);
  renameAction->OnUpdate = [&](TObject*) { renameAction->SetCaption("Renamed to a longer caption"); };
  ASSERT_FALSE(shown->Visible());
  OpenAt({200, 200});
  ASSERT_TRUE(engine->Visible());
  EXPECT_EQ(Captions(Level(0)), (std::vector<std::string>{"Shown", "Renamed to a longer caption"}));
  EXPECT_EQ(Level(0).WindowSize().cx,
            WidestText({"Renamed to a longer caption"}, "Tahoma", 13) + 16 + 16 + 10);
  // The action runs when its item is chosen.
  int executed = 0;
  renameAction->OnExecute = [&](TObject*) { ++executed; };
  Click(ItemCentre(0, 1));
  EXPECT_EQ(executed, 1);
}

TEST_F(SkinMenuTest, SkinnedLevelTakesItsSizeFromTheDescriptions) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  ASSERT_EQ(w.ItemCount(), 5);
  // Text + image column 16 + 16 + text left 20 + (40 - 36) + picture 40 +
  // items-rect left 4 - items-rect right 36.
  const int width = WidestText(RootTexts(), "Tahoma", 13) + 16 + 16 + 20 + 4 + 40 + 4 - 36;
  // Four 20-pixel items, a 4-pixel divider, picture 40 - items-rect height 32.
  EXPECT_EQ(w.WindowSize(), (TSize{width, 4 * 20 + 4 + 8}));
  EXPECT_EQ(w.ItemsArea(), (TRect{4, 4, width - 4, 92 - 4}));
  EXPECT_EQ(w.Item(0).ItemRect, (TRect{4, 4, width - 4, 24}));
  EXPECT_EQ(w.Item(1).ItemRect, (TRect{4, 24, width - 4, 28}));
  EXPECT_EQ(w.Item(4).ItemRect, (TRect{4, 68, width - 4, 88}));
  EXPECT_EQ(w.BoundsRect(), Bounds(200, 200, width, 92));
}

TEST_F(SkinMenuTest, PlainLevelUsesTheDefaultHeightAndMargins) {
  BuildTwoLevels();
  engine->Settings.DefItemHeight = 22;
  OpenAt({200, 200});
  TqzSkinPopupWindow& w = Level(0);
  EXPECT_FALSE(w.HasWindowLook());
  const int width = WidestText(RootTexts(), "Tahoma", 13) + 16 + 16 + 10;
  EXPECT_EQ(w.WindowSize(), (TSize{width, 4 * 22 + 4 + 6}));
  EXPECT_EQ(w.Item(2).ItemRect, (TRect{3, 29, width - 3, 51}));
}

TEST_F(SkinMenuTest, DemoDialogSkinLevelSize) {
  const TDemoSkin& demo = DemoSkin("dialog.skn");
  auto* data = new TqzSkinData(form);
  data->LoadFromCompressedData(demo.Compressed);
  BuildTwoLevels();
  OpenAt({200, 200}, data);
  TqzSkinPopupWindow& w = Level(0);
  ASSERT_TRUE(w.HasWindowLook());
  ASSERT_NE(w.ItemLook(), nullptr);
  const TqzDataSkinMenuItem& d = *w.ItemLook();
  const TqzDataSkinPopupWindow& pw = data->PopupWindow();
  const TBitmap& picture = *data->ActivePicture(pw.WindowPictureIndex);
  // The dialog skin's items are 24 high with a 7-pixel divider, text from 30
  // to 6 before the right edge of the 60-pixel look.
  ASSERT_EQ(d.SkinRect.Height(), 24);
  ASSERT_EQ(d.DividerRect.Height(), 7);
  const int width = WidestText(RootTexts(), d.FontName, d.FontHeight) + 16 + 16 + 30 + 6 + picture.Width() +
                    pw.ItemsRect.Left - pw.ItemsRect.Right;
  EXPECT_EQ(w.WindowSize(), (TSize{width, 4 * 24 + 7 + picture.Height() - pw.ItemsRect.Height()}));
}

TEST_F(SkinMenuTest, RootFlipsAtTheRightAndBottomEdges) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  const TSize s = w.WindowSize();
  const TRect work{0, 0, 1920, 1040};
  // Room below and to the right: at the anchor's bottom-left.
  EXPECT_EQ(w.PlaceFor({100, 100, 150, 120}, work, false, false), (TPoint{100, 120}));
  // At the right edge: against the right of the work area.
  EXPECT_EQ(w.PlaceFor({1900, 100, 1910, 120}, work, false, false), (TPoint{1920 - s.cx, 120}));
  // Lower half without room below: above the anchor.
  EXPECT_EQ(w.PlaceFor({100, 1000, 150, 1020}, work, false, false), (TPoint{100, 1000 - s.cy}));
  // Upper half of a short work area without room below: shifted up to the
  // bottom, and a shifted root opens beside the anchor.
  const TRect shortWork{0, 0, 1920, 100};
  EXPECT_EQ(w.PlaceFor({100, 40, 150, 45}, shortWork, false, false), (TPoint{151, 100 - s.cy}));
  // Opening upwards when there is room above.
  EXPECT_EQ(w.PlaceFor({100, 500, 150, 520}, work, false, true), (TPoint{100, 500 - s.cy}));
}

// Two monitors side by side (the second taller): a menu stays on the
// monitor under its anchor, flipping at that monitor's edges although the
// other one continues the screen, and its submenus keep to the same one.
TEST_F(SkinMenuTest, MenusKeepToTheMonitorUnderTheirAnchor) {
  hp->SetMonitors({{Rect(0, 0, 1000, 800), Rect(0, 0, 1000, 760), true},
                   {Rect(1000, 0, 2000, 900), Rect(1000, 0, 2000, 860), false}});
  BuildTwoLevels();
  auto placedAt = [&](TPoint anchor) {
    OpenAt(anchor, skin.get());
    const TRect r = Level(0).BoundsRect();
    engine->CloseAll();
    Pump();
    return r;
  };
  const TRect first = placedAt({0, 0});
  const TSize s{first.Width(), first.Height()};
  EXPECT_EQ(first.TopLeft(), (TPoint{0, 0})) << "the top-left corner of the first monitor";
  EXPECT_EQ(placedAt({995, 100}).TopLeft(), (TPoint{1000 - s.cx, 100})) << "the first monitor's right edge";
  EXPECT_EQ(placedAt({1005, 100}).TopLeft(), (TPoint{1005, 100})) << "the second monitor's left edge";
  EXPECT_EQ(placedAt({500, 750}).TopLeft(), (TPoint{500, 750 - s.cy})) << "the first monitor's bottom";
  EXPECT_EQ(placedAt({1500, 760}).TopLeft(), (TPoint{1500, 760})) << "room below on the taller second";
  EXPECT_EQ(placedAt({1995, 855}).TopLeft(), (TPoint{2000 - s.cx, 855 - s.cy})) << "the second's corner";

  // A submenu at the second monitor's right edge opens to the left of its
  // level; at the first monitor's right edge it does not spill over.
  for (TPoint anchor : {TPoint{1995, 100}, TPoint{995, 100}}) {
    OpenAt(anchor, skin.get());
    Key(VK_DOWN);  // Recent
    Key(VK_RIGHT);
    ASSERT_EQ(engine->LevelCount(), 2);
    const TRect parent = Level(0).BoundsRect(), sub = Level(1).BoundsRect();
    EXPECT_EQ(sub.Right, parent.Left + Level(0).Item(2).ItemRect.Left - 1);
    EXPECT_GE(sub.Left, anchor.X < 1000 ? 0 : 1000);
    engine->CloseAll();
    Pump();
  }
}

TEST_F(SkinMenuTest, SubmenuOpensBesideItsItemOrToTheLeft) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  const TSize s = w.WindowSize();
  const TRect work{0, 0, 1920, 1040};
  // Level with the item, its first row at the item's top, one pixel apart.
  EXPECT_EQ(w.PlaceFor({300, 400, 380, 420}, work, true, false), (TPoint{381, 400 - 4}));
  EXPECT_EQ(w.PlaceFor({1800, 400, 1900, 420}, work, true, false), (TPoint{1800 - s.cx - 1, 396}));
  // No room below in the lower half: its bottom row level with the item.
  EXPECT_EQ(w.PlaceFor({300, 1020, 380, 1040}, work, true, false), (TPoint{381, 1040 - s.cy + 4}));
}

TEST_F(SkinMenuTest, OpenedSubmenuSitsOnItsItem) {
  BuildTwoLevels();
  OpenAt({200, 200}, skin.get());
  Key(VK_DOWN);  // Recent
  Key(VK_RIGHT);
  ASSERT_EQ(engine->LevelCount(), 2);
  const TRect parent = Level(0).BoundsRect();
  const TRect item = Level(0).Item(2).ItemRect;
  // One pixel right of the item, whose right edge is the items area's.
  EXPECT_EQ(Level(1).BoundsRect().TopLeft(), (TPoint{parent.Left + item.Right + 1, parent.Top + item.Top - 4}));
}

TEST_F(SkinMenuTest, MenuTallerThanTheWorkAreaScrolls) {
  for (int i = 0; i < 80; ++i) Add(popup->Items(), "Item " + std::to_string(i));
  OpenAt({200, 300}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  EXPECT_TRUE(w.ScrollMode());
  EXPECT_FALSE(w.LimitedMode());
  EXPECT_EQ(w.BoundsRect().Top, 0);
  EXPECT_EQ(w.WindowSize().cy, 1040);
  // Items start below the 10-pixel marker; those past the bottom marker are hidden.
  EXPECT_EQ(w.Item(0).ItemRect.Top, 14);
  int visible = 0;
  for (int i = 0; i < w.ItemCount(); ++i) visible += w.Item(i).Visible;
  EXPECT_EQ(visible, (1040 - 8 - 20) / 20);
  const int last = visible - 1;
  EXPECT_FALSE(w.Item(last + 1).Visible);

  // Down past the last visible item scrolls by one.
  for (int i = 0; i < last; ++i) Key(VK_DOWN);
  EXPECT_EQ(w.ActiveIndex(), last);
  EXPECT_EQ(w.FirstVisible(), 0);
  Key(VK_DOWN);
  EXPECT_EQ(w.ActiveIndex(), last + 1);
  EXPECT_EQ(w.FirstVisible(), 1);
  EXPECT_TRUE(w.Item(last + 1).Visible);
  EXPECT_FALSE(w.Item(0).Visible);
  // Up from the first item wraps to the last one, scrolled to the end.
  engine->CloseAll();
  OpenAt({200, 300}, skin.get());
  TqzSkinPopupWindow& again = Level(0);
  Key(VK_UP);
  EXPECT_EQ(again.ActiveIndex(), 79);
  EXPECT_TRUE(again.Item(79).Visible);
}

TEST_F(SkinMenuTest, HoveringTheBottomMarkerScrollsOneItemPerTick) {
  for (int i = 0; i < 80; ++i) Add(popup->Items(), "Item " + std::to_string(i));
  OpenAt({200, 300}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  const TRect area = w.ItemsArea();
  Move(w.ClientToScreen({area.Left + 10, area.Bottom - 5}));
  EXPECT_EQ(w.Marker(), TqzScrollMarker::Bottom);
  Ticks(3, 100);
  EXPECT_EQ(w.FirstVisible(), 3);
  // Leaving the marker stops the scrolling.
  Move(w.ClientToScreen({area.Left + 10, area.Top + 100}));
  EXPECT_EQ(w.Marker(), TqzScrollMarker::None);
  Ticks(2, 100);
  EXPECT_EQ(w.FirstVisible(), 3);
}

// A submenu scrolling under the pointer stops when the pointer moves on to
// its parent level, as when it leaves the menu.
TEST_F(SkinMenuTest, MovingOntoAnotherLevelStopsTheScrolling) {
  TMenuItem* sub = Add(popup->Items(), "Sub");
  for (int i = 0; i < 8; ++i) Add(sub, "Item " + std::to_string(i));
  engine->Settings.MaxItemsInWindow = 3;
  OpenAt({200, 300}, skin.get());
  Click(ItemCentre(0, 0));
  ASSERT_EQ(engine->LevelCount(), 2);
  TqzSkinPopupWindow& w = Level(1);
  ASSERT_TRUE(w.ScrollMode());
  const TRect area = w.ItemsArea();
  Move(w.ClientToScreen({area.Left + 10, area.Bottom - 5}));
  EXPECT_EQ(w.Marker(), TqzScrollMarker::Bottom);
  Ticks(1, 100);
  EXPECT_EQ(w.FirstVisible(), 1);
  Move(ItemCentre(0, 0));
  ASSERT_EQ(engine->LevelCount(), 2);
  EXPECT_EQ(w.Marker(), TqzScrollMarker::None);
  Ticks(3, 100);
  EXPECT_EQ(w.FirstVisible(), 1);
}

TEST_F(SkinMenuTest, MaxItemsInWindowLimitsTheHeightAndKeepsTheAnchor) {
  for (int i = 0; i < 8; ++i) Add(popup->Items(), "Item " + std::to_string(i));
  engine->Settings.MaxItemsInWindow = 5;
  OpenAt({200, 300}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  EXPECT_TRUE(w.ScrollMode());
  EXPECT_TRUE(w.LimitedMode());
  EXPECT_EQ(w.WindowSize().cy, 5 * 20 + 8 + 20);
  EXPECT_EQ(w.BoundsRect().TopLeft(), (TPoint{200, 300}));
}

}  // namespace
}  // namespace qz::testing
