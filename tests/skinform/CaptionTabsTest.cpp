// Caption tabs on the caption: selection by a press, hot tracking, the
// text room they leave, their looks from the "captiontab" description and
// their accelerators.
#include <gtest/gtest.h>

#include "tests/skinform/QuickButtonsTestRig.h"

namespace qz {
namespace {

using testing::ActivePixel;
using testing::TCaptionRig;

// Tabs without caption or image are 20 wide, from the caption's left + 5.
const std::vector<TRect> kThreeTabs{{9, 8, 29, 20}, {29, 8, 49, 20}, {49, 8, 69, 20}};
constexpr TPoint kOnTab1{35, 12};

void AddTabs(TCaptionRig& rig, int count) {
  for (int i = 0; i < count; ++i) rig.Tabs.Add();
}

TEST(CaptionTabsInput, PressSelectsATabAndFiresOncePerChange) {
  TCaptionRig rig;
  AddTabs(rig, 3);
  EXPECT_EQ(rig.Caption->LayoutExtras().Tabs, kThreeTabs);
  rig.Press(kOnTab1);
  EXPECT_EQ(rig.TabIndex, 1);
  EXPECT_EQ(rig.TabChanges, 1);
  EXPECT_EQ(rig.Host.Events, (std::vector<std::string>{"down:caption"}));
  rig.Press(kOnTab1);  // already selected
  EXPECT_EQ(rig.TabChanges, 1);
  rig.Press({55, 12}, TqzMouseButton::mbRight);
  rig.Press({100, 12});  // caption, no tab
  EXPECT_EQ(rig.TabIndex, 1);
  rig.Press({55, 12});
  EXPECT_EQ(rig.TabIndex, 2);
  EXPECT_EQ(rig.TabChanges, 2);
}

TEST(CaptionTabsInput, HiddenTabsAndTabsPastTheCaptionTakeNoPress) {
  TCaptionRig rig;
  AddTabs(rig, 3);
  rig.Tabs.Items(1)->Visible = false;
  const auto tabs = rig.Caption->LayoutExtras().Tabs;
  EXPECT_TRUE(tabs[1].IsEmpty());
  EXPECT_EQ(tabs[2], kThreeTabs[1]);  // the next one moves up
  rig.Press(kOnTab1);
  EXPECT_EQ(rig.TabIndex, 2);

  for (int i = 0; i < 10; ++i) rig.Tabs.Add();  // 13 tabs of 20 pass the caption's end
  const auto many = rig.Caption->LayoutExtras().Tabs;
  EXPECT_TRUE(many.back().IsEmpty());
  EXPECT_LE(many[8].Right, 196);
}

TEST(CaptionTabsInput, DragPointAndClientMode) {
  TCaptionRig rig;
  AddTabs(rig, 2);
  EXPECT_FALSE(rig.Caption->CaptionDragPoint(kOnTab1));
  EXPECT_TRUE(rig.Caption->CaptionDragPoint({35, 22}));  // below the tabs
  EXPECT_TRUE(rig.Caption->CaptionDragPoint({100, 12}));
  rig.Tabs.Items(1)->Visible = false;
  EXPECT_TRUE(rig.Caption->CaptionDragPoint(kOnTab1));

  rig.Tabs.Items(1)->Visible = true;
  rig.Host.Client = true;
  rig.Press(kOnTab1);
  EXPECT_EQ(rig.TabIndex, 0);
  EXPECT_EQ(rig.Host.ClientDrags.size(), 1u);  // the press drags instead
}

TEST(CaptionTabsInput, NoDescriptionNoTabs) {
  TCaptionRig rig("", false);
  AddTabs(rig, 2);
  EXPECT_TRUE(rig.Caption->LayoutExtras().Tabs.empty());
  rig.Press(kOnTab1);
  EXPECT_EQ(rig.TabIndex, 0);
  EXPECT_TRUE(rig.Caption->CaptionDragPoint(kOnTab1));
  rig.Paint();
}

TEST(CaptionTabsLayout, TextRoomFollowsTheTabPositionAndTheQuickButtons) {
  TCaptionRig rig;
  AddTabs(rig, 2);
  auto layout = rig.Caption->LayoutExtras();
  EXPECT_EQ(layout.TextLeft, 49);
  EXPECT_FALSE(layout.TextRight);
  EXPECT_FALSE(layout.TabsReplaceText);

  rig.Caption->Extras().TabPos = qztpRight;  // shifted by 192 - 5 - 40 - 10
  layout = rig.Caption->LayoutExtras();
  EXPECT_EQ(layout.Tabs[0].Left, 9 + 137);
  EXPECT_EQ(layout.TextRight, 9 + 137);
  EXPECT_FALSE(layout.TextLeft);

  rig.Caption->Extras().TabPos = qztpCenter;
  layout = rig.Caption->LayoutExtras();
  EXPECT_TRUE(layout.TabsReplaceText);
  EXPECT_EQ(layout.Tabs[0].Left, 9 + 73);

  // Left quick buttons push the tabs right; right ones end their room.
  rig.Caption->Extras().TabPos = qztpLeft;
  rig.Quick.Add()->ImageIndex = 0;
  TqzQuickButtonItem* right = rig.Quick.Add();
  right->Position = qzqbpRight;
  layout = rig.Caption->LayoutExtras();
  EXPECT_EQ(layout.Tabs[0].Left, 29 + 2);
  EXPECT_EQ(layout.TextLeft, 71);
  EXPECT_EQ(layout.TextRight, 171);
  rig.Caption->Extras().TabPos = qztpRight;
  layout = rig.Caption->LayoutExtras();
  EXPECT_EQ(layout.Tabs[1].Right, 171 - 2 - 10);
}

// The tab at `r` shows the 10-pixel ends of `look` in active picture 0.
bool TabShows(const testing::TTarget& t, const TRect& r, const TRect& look) {
  return t.BlockIs(r.Left, r.Top, 10, r.Height(), [&](int i, int j) {
           return ActivePixel(look.Left + i, look.Top + j);
         }) &&
         t.BlockIs(r.Left + 10, r.Top, 10, r.Height(), [&](int i, int j) {
           return ActivePixel(look.Right - 10 + i, look.Top + j);
         });
}

TEST(CaptionTabsLook, SelectedHotAndNormalTabsComeFromTheirRects) {
  TCaptionRig rig;
  AddTabs(rig, 3);
  rig.TabIndex = 0;
  rig.Move({55, 12});
  EXPECT_EQ(rig.Caption->HotTab(), 2);
  const auto t = rig.Paint();
  EXPECT_TRUE(TabShows(*t, kThreeTabs[0], {80, 30, 120, 42}));  // downrect
  EXPECT_TRUE(TabShows(*t, kThreeTabs[1], {0, 30, 40, 42}));    // skinrect
  EXPECT_TRUE(TabShows(*t, kThreeTabs[2], {40, 30, 80, 42}));   // activeskinrect

  // A wide tab keeps both ends and fills its middle from the look.
  rig.Tabs.Items(1)->Caption = "Tab";
  rig.Caption->MouseLeave();
  const auto wide = rig.Paint();
  const TRect r = rig.Caption->LayoutExtras().Tabs[1];
  ASSERT_GT(r.Width(), 20);
  EXPECT_TRUE(wide->BlockIs(r.Left, r.Top, 10, r.Height(),
                            [](int i, int j) { return ActivePixel(i, 30 + j); }));
  EXPECT_TRUE(wide->BlockIs(r.Right - 10, r.Top, 10, r.Height(),
                            [](int i, int j) { return ActivePixel(30 + i, 30 + j); }));
}

TEST(CaptionTabsLook, CentredTabsReplaceTheCaptionText) {
  TCaptionRig rig("textrect=10,2,180,20\nfontcolor=16777215\n");
  AddTabs(rig, 1);
  rig.Caption->Extras().TabPos = qztpCenter;
  const auto withoutText = rig.Paint();
  rig.Host.CaptionText = "Caption text";
  const auto centred = rig.Paint();
  EXPECT_TRUE(centred->BlockIs(0, 0, 220, 110, [&](int i, int j) { return withoutText->At(i, j); }));
  const TRect r = rig.Caption->LayoutExtras().Tabs[0];
  EXPECT_TRUE(TabShows(*centred, r, {80, 30, 120, 42}));

  // Left of the text the text comes back.
  rig.Caption->Extras().TabPos = qztpLeft;
  const auto left = rig.Paint();
  rig.Host.CaptionText.clear();
  const auto leftWithoutText = rig.Paint();
  EXPECT_FALSE(left->BlockIs(0, 0, 220, 110, [&](int i, int j) { return leftWithoutText->At(i, j); }));
}

TEST(CaptionTabsAccelerator, AltKeyFindsTheVisibleTab) {
  EXPECT_EQ(CaptionAccelerator("&File"), 'f');
  EXPECT_EQ(CaptionAccelerator("Save && &Quit"), 'q');
  EXPECT_EQ(CaptionAccelerator("Plain"), 0);
  EXPECT_EQ(CaptionAccelerator("Trailing&"), 0);
  TqzCaptionTabs tabs(nullptr);
  tabs.Add()->Caption = "&Edit";
  tabs.Add()->Caption = "&View";
  tabs.Items(1)->Visible = false;
  tabs.Add()->Caption = "Pre&view";
  EXPECT_EQ(FindCaptionTabByAccelerator(tabs, 'E'), 0);
  EXPECT_EQ(FindCaptionTabByAccelerator(tabs, 'v'), 2);  // the hidden one is skipped
  EXPECT_EQ(FindCaptionTabByAccelerator(tabs, 'x'), -1);
  EXPECT_EQ(FindCaptionTabByAccelerator(tabs, 0), -1);
}

}  // namespace
}  // namespace qz
