// The host list box: selection rules, keyboard and incremental search,
// owner drawing of the visible items only, the scroll state it reports,
// and a handler that frees the list.
#include <gtest/gtest.h>

#include <set>

#include "host/components/FormResource.h"
#include "host/ui/ListBox.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

class ListBoxTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 400}, bsNone);
    list = new TListBox(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 120, 100);  // 6 rows of 16 fit
    list->OnClick = [this](TObject*) { ++clicks; };
    list->OnScrollStateChange = [this](TObject*) { ++scrollChanges; };
    Pump();
  }
  void Fill(int n, const std::string& stem = "Item") {
    list->Items().BeginUpdate();
    for (int i = 0; i < n; ++i) list->Items().Add(stem + std::to_string(i));
    list->Items().EndUpdate();
  }
  // The screen point in the middle of the row `row` below the top index.
  TPoint Row(int row) const { return {100 + 10 + 20, 100 + 10 + row * 16 + 8}; }
  void ClickRow(int row, uint32_t mods = 0) {
    if (mods & kModShift) hp->InjectKeyDown(VK_SHIFT);
    if (mods & kModCtrl) hp->InjectKeyDown(VK_CONTROL);
    Click(Row(row));
    if (mods & kModShift) hp->InjectKeyUp(VK_SHIFT);
    if (mods & kModCtrl) hp->InjectKeyUp(VK_CONTROL);
    Pump();
  }
  std::vector<int> SelectedItems() const {
    std::vector<int> out;
    for (int i = 0; i < list->Count(); ++i)
      if (list->Selected(i)) out.push_back(i);
    return out;
  }
  void Type(const std::string& s) {
    hp->InjectText(s);
    Pump();
  }

  TForm* form = nullptr;
  TListBox* list = nullptr;
  int clicks = 0, scrollChanges = 0;
};

TEST_F(ListBoxTest, SingleSelectionFollowsClicksAndIndexChanges) {
  Fill(10);
  ClickRow(2);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(SelectedItems(), std::vector<int>{2});
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(list->Focused());
  ClickRow(4, kModCtrl);  // modifiers mean nothing in a single selection
  EXPECT_EQ(SelectedItems(), std::vector<int>{4});
  list->SetItemIndex(7);
  EXPECT_EQ(SelectedItems(), std::vector<int>{7});
  EXPECT_EQ(clicks, 2) << "setting the index from code is no click";
  list->SetItemIndex(99);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(list->SelCount(), 0);
}

TEST_F(ListBoxTest, ExtendedSelectionWithShiftAndCtrl) {
  Fill(10);
  list->SetMultiSelect(true);
  ClickRow(1);
  ClickRow(4, kModShift);
  EXPECT_EQ(SelectedItems(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(list->ItemIndex(), 4);
  ClickRow(0, kModShift);  // the range grows from the same anchor
  EXPECT_EQ(SelectedItems(), (std::vector<int>{0, 1}));
  ClickRow(3, kModCtrl);
  EXPECT_EQ(SelectedItems(), (std::vector<int>{0, 1, 3}));
  ClickRow(1, kModCtrl);
  EXPECT_EQ(SelectedItems(), (std::vector<int>{0, 3}));
  ClickRow(5);  // a plain click starts over
  EXPECT_EQ(SelectedItems(), std::vector<int>{5});
  // Shift with the arrows extends from the anchor; Ctrl+Space toggles.
  Key(VK_DOWN, kModShift);
  Key(VK_DOWN, kModShift);
  EXPECT_EQ(SelectedItems(), (std::vector<int>{5, 6, 7}));
  Key(VK_UP, kModCtrl);
  EXPECT_EQ(list->ItemIndex(), 6);
  Key(VK_SPACE, kModCtrl);
  EXPECT_EQ(SelectedItems(), (std::vector<int>{5, 7}));
}

TEST_F(ListBoxTest, PlainMultipleSelectionTogglesEachClick) {
  Fill(10);
  list->SetMultiSelect(true);
  list->SetExtendedSelect(false);
  ClickRow(1);
  ClickRow(3);
  EXPECT_EQ(SelectedItems(), (std::vector<int>{1, 3}));
  ClickRow(1);
  EXPECT_EQ(SelectedItems(), std::vector<int>{3});
  Key(VK_DOWN);  // the arrows move only the caret (from 1), Space toggles
  EXPECT_EQ(SelectedItems(), std::vector<int>{3});
  Key(VK_SPACE);
  EXPECT_EQ(SelectedItems(), (std::vector<int>{2, 3}));
}

TEST_F(ListBoxTest, SelectionAndTopIndexFollowInsertsAndDeletes) {
  Fill(10);
  list->SetItemIndex(5);
  list->Items().Insert(0, "new");
  EXPECT_EQ(list->ItemIndex(), 6);
  EXPECT_EQ(list->Items()[6], "Item5");
  list->Items().Delete(6);
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetTopIndex(4);
  EXPECT_EQ(list->TopIndex(), 4);
  while (list->Count() > 5) list->Items().Delete(0);
  EXPECT_EQ(list->TopIndex(), 0) << "everything fits again";
}

TEST_F(ListBoxTest, SortedListsKeepTheCurrentItem) {
  list->Items().Add("pear");
  list->Items().Add("Apple");
  list->Items().Add("fig");
  list->SetItemIndex(0);
  list->SetSorted(true);
  EXPECT_EQ(list->Items().Text(), "Apple\nfig\npear\n");
  EXPECT_EQ(list->Items()[list->ItemIndex()], "pear");
  EXPECT_EQ(list->Items().Add("banana"), 1);
  EXPECT_EQ(list->Items()[list->ItemIndex()], "pear");
}

TEST_F(ListBoxTest, KeyboardNavigation) {
  Fill(20);
  list->SetFocus();
  Key(VK_DOWN);
  EXPECT_EQ(list->ItemIndex(), 0) << "the first arrow picks the first item";
  Key(VK_NEXT);
  EXPECT_EQ(list->ItemIndex(), 5);
  Key(VK_NEXT);
  EXPECT_EQ(list->ItemIndex(), 10);
  EXPECT_EQ(list->TopIndex(), 5) << "the current item is kept in view";
  Key(VK_END);
  EXPECT_EQ(list->ItemIndex(), 19);
  EXPECT_EQ(list->TopIndex(), 14);
  Key(VK_DOWN);
  EXPECT_EQ(list->ItemIndex(), 19);
  Key(VK_HOME);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->TopIndex(), 0);
  Key(VK_UP);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(clicks, 5) << "only moves that change the selection click";
}

TEST_F(ListBoxTest, IncrementalSearchPrefixesAndPauses) {
  for (const char* s : {"alpha", "Beta", "bravo", "brick", "charlie", "beast"}) list->Items().Add(s);
  list->SetFocus();
  Type("b");
  EXPECT_EQ(list->ItemIndex(), 1);
  hp->AdvanceClock(kListSearchPauseMs - 1);
  Type("r");
  EXPECT_EQ(list->ItemIndex(), 2) << "\"br\" from the current item";
  hp->AdvanceClock(kListSearchPauseMs - 1);
  Type("i");
  EXPECT_EQ(list->ItemIndex(), 3);
  hp->AdvanceClock(kListSearchPauseMs);
  Type("b");
  EXPECT_EQ(list->ItemIndex(), 5) << "a new search starts after the current item";
  hp->AdvanceClock(kListSearchPauseMs);
  Type("B");
  EXPECT_EQ(list->ItemIndex(), 1) << "and wraps, case-insensitively";
  hp->AdvanceClock(kListSearchPauseMs);
  Type("z");
  EXPECT_EQ(list->ItemIndex(), 1);
}

// Counts the items an owner-drawn list paints.
struct DrawLog {
  std::vector<int> indexes;
  std::vector<TOwnerDrawState> states;
  void Attach(TListBox& l) {
    l.SetStyle(lbOwnerDrawFixed);
    l.OnDrawItem = [this](TWinControl*, int i, TRect, TOwnerDrawState s) {
      indexes.push_back(i);
      states.push_back(s);
    };
  }
};

TEST_F(ListBoxTest, OwnerDrawPaintsExactlyTheVisibleItems) {
  DrawLog log;
  log.Attach(*list);
  list->SetItemHeight(20);  // 5 rows of 20
  Fill(30);
  list->SetTopIndex(10);
  list->SetItemIndex(12);
  list->SetFocus();
  log.indexes.clear();
  log.states.clear();
  list->Invalidate();
  Pump();
  EXPECT_EQ(log.indexes, (std::vector<int>{10, 11, 12, 13, 14}));
  ASSERT_EQ(log.states.size(), 5u);
  EXPECT_TRUE(log.states[2].Contains(odSelected));
  EXPECT_TRUE(log.states[2].Contains(odFocused));
  EXPECT_FALSE(log.states[1].Contains(odSelected));
}

TEST_F(ListBoxTest, VariableHeightsAreMeasuredAndHitTested) {
  list->SetStyle(lbOwnerDrawVariable);
  list->OnMeasureItem = [](TWinControl*, int i, int& h) { h = i % 2 == 0 ? 10 : 30; };
  Fill(10);
  EXPECT_EQ(list->ItemHeightOf(0), 10);
  EXPECT_EQ(list->ItemHeightOf(1), 30);
  EXPECT_EQ(list->ItemAtPos({5, 9}, true), 0);
  EXPECT_EQ(list->ItemAtPos({5, 10}, true), 1);
  EXPECT_EQ(list->ItemAtPos({5, 45}, true), 2);
  EXPECT_EQ(list->ItemRect(2), (TRect{0, 40, 120, 50}));
  // 100 pixels hold 10+30+10+30+10 = 90: five rows; the last four items
  // (10+30+10+30 = 80) fit, five (+30) would not.
  EXPECT_EQ(list->VisibleRowCount(), 5);
  EXPECT_EQ(list->MaxTopIndex(), 6);
  list->SetItemIndex(9);
  EXPECT_EQ(list->TopIndex(), 6);
}

TEST_F(ListBoxTest, ScrollStateIsReportedWhenItChanges) {
  Fill(5);
  EXPECT_EQ(list->VertScrollInfo().Max, -1) << "all items fit";
  scrollChanges = 0;
  list->Items().Add("six");
  EXPECT_EQ(scrollChanges, 0);
  list->Items().Add("seven");
  EXPECT_EQ(scrollChanges, 1);
  EXPECT_EQ(list->VertScrollInfo(), (TListScrollInfo{0, 6, 6, 0}));
  list->Perform(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(list->VertScrollInfo().Position, 1);
  EXPECT_EQ(scrollChanges, 2);
  list->Perform(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(list->TopIndex(), 1) << "the last page stays full";
  list->Items().Delete(0);
  EXPECT_EQ(list->VertScrollInfo().Max, -1);
  EXPECT_EQ(list->TopIndex(), 0);
  // Horizontal: the extent beyond the client width.
  list->SetHorizontalExtent(300);
  EXPECT_EQ(list->HorzScrollInfo(), (TListScrollInfo{0, 299, 120, 0}));
  list->Perform(WM_HSCROLL, SB_THUMBPOSITION | (500 << 16));
  EXPECT_EQ(list->HorzPosition(), 180);
  list->SetHorizontalExtent(100);
  EXPECT_EQ(list->HorzPosition(), 0);
  EXPECT_EQ(list->HorzScrollInfo().Max, -1);
}

TEST_F(ListBoxTest, WheelScrollsThreeLinesANotch) {
  Fill(20);
  list->SetFocus();
  hp->InjectWheel(-120);
  Pump();
  EXPECT_EQ(list->TopIndex(), 3);
  hp->InjectWheel(120);
  Pump();
  EXPECT_EQ(list->TopIndex(), 0);
}

TEST_F(ListBoxTest, HundredThousandItemsDrawOnlyAScreenful) {
  DrawLog log;
  log.Attach(*list);
  list->Items().BeginUpdate();
  for (int i = 0; i < 100000; ++i) list->Items().Add("Line " + std::to_string(i));
  list->Items().EndUpdate();
  EXPECT_EQ(list->VertScrollInfo().Max, 99999);
  // A thumb position past 16 bits travels in LParam.
  list->Perform(WM_VSCROLL, SB_THUMBPOSITION | ((90000 & 0xFFFF) << 16), 90000);
  EXPECT_EQ(list->TopIndex(), 90000);
  log.indexes.clear();
  list->Invalidate();
  Pump();
  EXPECT_EQ(log.indexes, (std::vector<int>{90000, 90001, 90002, 90003, 90004, 90005, 90006}))
      << "six whole rows and the part of the seventh";
  list->SetFocus();
  Key(VK_END);
  EXPECT_EQ(list->TopIndex(), 99994);
  EXPECT_EQ(list->ItemAtPos({3, 95}, true), 99999);
  EXPECT_EQ(list->ItemAtPos({3, 99}, true), -1) << "below the last item";
}

TEST_F(ListBoxTest, ClickHandlerMayFreeTheList) {
  Fill(5);
  list->OnClick = [this](TObject*) {
    // The closure dies with the list: nothing of it is read afterwards.
    TListBox*& slot = list;
    delete slot;
    slot = nullptr;
  };
  ClickRow(1);
  EXPECT_EQ(list, nullptr);
  Pump();
}

TEST_F(ListBoxTest, KeyHandlerMayFreeTheListDuringSearch) {
  Fill(5);
  list->SetFocus();
  list->OnClick = [this](TObject*) {
    // The closure dies with the list: nothing of it is read afterwards.
    TListBox*& slot = list;
    delete slot;
    slot = nullptr;
  };
  Type("I");
  EXPECT_EQ(list, nullptr);
}

TEST_F(ListBoxTest, DrawHandlerMayFreeTheList) {
  list->SetStyle(lbOwnerDrawFixed);
  Fill(5);
  list->OnDrawItem = [this](TWinControl*, int, TRect, TOwnerDrawState) {
    // The closure dies with the list: nothing of it is read afterwards.
    TListBox*& slot = list;
    delete slot;
    slot = nullptr;
  };
  list->Invalidate();
  Pump();
  EXPECT_EQ(list, nullptr);
}

// Columns: 120 x 100 with items of 16 gives 6 whole rows a column.
TEST_F(ListBoxTest, ColumnsFlowDownThenAcrossAndHitTestTheirCells) {
  Fill(20);
  list->SetColumns(3);  // 40 wide each; 18 items on screen
  EXPECT_EQ(list->ItemRect(0), (TRect{0, 0, 40, 16}));
  EXPECT_EQ(list->ItemRect(7), (TRect{40, 16, 80, 32}));
  EXPECT_EQ(list->ItemRect(17), (TRect{80, 80, 120, 96}));
  EXPECT_TRUE(list->ItemRect(18).IsEmpty()) << "the fourth column is off screen";
  EXPECT_EQ(list->ItemAtPos({45, 20}, true), 7);
  EXPECT_EQ(list->ItemAtPos({119, 95}, true), 17);
  EXPECT_EQ(list->ItemAtPos({10, 97}, true), -1) << "the partial seventh row holds no item";
  EXPECT_EQ(list->VertScrollInfo(), TListScrollInfo{});
  EXPECT_EQ(list->HorzScrollInfo(), (TListScrollInfo{0, 3, 3, 0}));
  // Scrolling goes by whole columns.
  list->SetTopIndex(7);
  EXPECT_EQ(list->TopIndex(), 6);
  EXPECT_EQ(list->HorzScrollInfo().Position, 1);
  EXPECT_EQ(list->ItemAtPos({85, 20}, true), 19);
  EXPECT_EQ(list->ItemAtPos({85, 40}, true), -1) << "past the last item";
  EXPECT_EQ(list->ItemAtPos({85, 40}, false), 20);
  list->SetTopIndex(100);
  EXPECT_EQ(list->TopIndex(), 6) << "the last columns fill the page";
  // 7 columns of 17 leave a one-pixel strip on the right that holds none.
  list->SetColumns(7);
  EXPECT_EQ(list->ItemRect(1), (TRect{0, 16, 17, 32}));
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_EQ(list->ItemAtPos({60, 5}, true), 18);
  EXPECT_EQ(list->ItemAtPos({118, 5}, false), 20) << "an empty cell";
  EXPECT_EQ(list->ItemAtPos({119, 5}, false), -1) << "no cell";
  // Fewer rows fit after a resize: the top stays on a column's first item.
  list->SetColumns(3);
  list->SetTopIndex(6);
  list->SetHeight(50);  // 3 rows: 7 columns
  EXPECT_EQ(list->TopIndex(), 6);
  EXPECT_EQ(list->HorzScrollInfo(), (TListScrollInfo{0, 6, 3, 2}));
  list->SetHeight(70);  // 4 rows
  EXPECT_EQ(list->TopIndex(), 4);
}

TEST_F(ListBoxTest, ColumnsTakeClicksKeysAndScrollMessages) {
  Fill(20);
  list->SetColumns(3);
  Click({100 + 10 + 45, 100 + 10 + 20});
  EXPECT_EQ(list->ItemIndex(), 7);
  EXPECT_EQ(clicks, 1);
  // Right and Left keep the row and move a column; off the page scrolls.
  list->SetItemIndex(1);
  Key(VK_RIGHT);
  EXPECT_EQ(list->ItemIndex(), 7);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  EXPECT_EQ(list->ItemIndex(), 19);
  EXPECT_EQ(list->TopIndex(), 6);
  Key(VK_RIGHT);
  EXPECT_EQ(list->ItemIndex(), 19) << "nothing beyond the last item";
  Key(VK_LEFT);
  Key(VK_UP);
  EXPECT_EQ(list->ItemIndex(), 12);
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->TopIndex(), 0);
  Key(VK_NEXT);
  EXPECT_EQ(list->ItemIndex(), 18) << "a page is the three columns on screen";
  // The horizontal scroll messages count columns.
  list->SetTopIndex(0);
  list->Perform(WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(list->TopIndex(), 6);
  list->Perform(WM_HSCROLL, SB_LINELEFT);
  EXPECT_EQ(list->TopIndex(), 0);
  list->Perform(WM_HSCROLL, SB_THUMBPOSITION, 1);
  EXPECT_EQ(list->TopIndex(), 6);
  list->Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(120) << 16);
  EXPECT_EQ(list->TopIndex(), 0);
  // Dragging past the right edge reaches into the next column.
  hp->InjectMouseMove({100 + 10 + 5, 100 + 10 + 8});
  hp->InjectMouseDown();
  hp->InjectMouseMove({100 + 10 + 130, 100 + 10 + 8});
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(list->ItemIndex(), 18);
  EXPECT_EQ(list->TopIndex(), 6);
}

TEST_F(ListBoxTest, ColumnsPaintTheirCellsOnly) {
  list->SetStyle(lbOwnerDrawFixed);
  std::vector<std::pair<int, TRect>> drawn;
  list->OnDrawItem = [&](TWinControl*, int i, TRect r, TOwnerDrawState) { drawn.push_back({i, r}); };
  Fill(100000);
  list->SetColumns(3);
  list->SetTopIndex(70000);
  EXPECT_EQ(list->TopIndex(), 70000 - 70000 % 6);
  drawn.clear();
  list->Invalidate();
  Pump();
  ASSERT_EQ(drawn.size(), 18u);
  for (int k = 0; k < 18; ++k) {
    EXPECT_EQ(drawn[k].first, list->TopIndex() + k);
    EXPECT_EQ(drawn[k].second, list->ItemRect(drawn[k].first));
  }
  EXPECT_EQ(list->HorzScrollInfo().Max, (100000 + 5) / 6 - 1);
}

TEST_F(ListBoxTest, ReadFromAFormResource) {
  auto* owner = new TForm(Application);
  ReadComponentRes(owner,
      "object F: TForm\n"
      "  object L: TListBox\n"
      "    MultiSelect = True\n"
      "    ItemHeight = 20\n"
      "    HorizontalExtent = 400\n"
      "    Items.Strings = (\n"
      "      'one'\n"
      "      'two')\n"
      "  end\n"
      "end\n");
  auto* l = dynamic_cast<TListBox*>(owner->FindComponent("L"));
  ASSERT_NE(l, nullptr);
  EXPECT_TRUE(l->MultiSelect());
  EXPECT_EQ(l->ItemHeight(), 20);
  EXPECT_EQ(l->HorizontalExtent(), 400);
  EXPECT_EQ(l->Items().Text(), "one\ntwo\n");
  delete owner;
}

}  // namespace
}  // namespace qz::testing
