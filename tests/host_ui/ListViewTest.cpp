// The host list view: keys and clicks in every style, the rubber band, the
// column header, owner data that fetches and paints only the rows on
// screen, in-place rename, free positions, and handlers that free the view.
#include <gtest/gtest.h>

#include <set>

#include "host/ui/ListView.h"
#include "tests/host_ui/UiTestSupport.h"

namespace qz::testing {
namespace {

const char* StyleName(TViewStyle s) {
  switch (s) {
    case vsIcon: return "icon";
    case vsSmallIcon: return "small icon";
    case vsList: return "list";
    case vsReport: return "report";
  }
  return "?";
}

class ListViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 800, 700}, bsNone);
    lv = new TListView(form);
    lv->SetParent(form);
    lv->AddColumn("Name", 100);
    lv->AddColumn("Size", 60);
    lv->AddColumn("Type", 80);
    lv->OnSelectionChange = [this](TObject*) { ++selectionChanges; };
    Pump();
  }
  void Fill(int n) {
    lv->BeginUpdate();
    for (int i = 0; i < n; ++i) lv->AddItem("Item" + std::to_string(i));
    lv->EndUpdate();
  }
  // A style with a known geometry: 8 report rows, 5 list rows, 4 icon
  // cells a row.
  void UseStyle(TViewStyle s) {
    lv->SetViewStyle(s);
    switch (s) {
      case vsReport: lv->SetBounds(10, 10, 300, lv->HeaderHeight() + 8 * lv->RowHeight() + 3); break;
      case vsList: lv->SetBounds(10, 10, 300, 5 * lv->RowHeight() + 3); break;
      case vsIcon: lv->SetBounds(10, 10, 4 * lv->IconCellSize().cx + 10, 300); break;
      case vsSmallIcon: lv->SetBounds(10, 10, 4 * lv->ListColumnWidth() + 10, 300); break;
    }
    Pump();
  }
  TPoint Screen(TPoint client) const { return lv->ClientToScreen(client); }
  TPoint Centre(int i, TDisplayCode code = drBounds) const {
    const TRect r = lv->DisplayRect(i, code);
    return Screen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
  void WithMods(uint32_t mods, const std::function<void()>& act) {
    if (mods & kModShift) hp->InjectKeyDown(VK_SHIFT);
    if (mods & kModCtrl) hp->InjectKeyDown(VK_CONTROL);
    act();
    if (mods & kModShift) hp->InjectKeyUp(VK_SHIFT);
    if (mods & kModCtrl) hp->InjectKeyUp(VK_CONTROL);
    Pump();
  }
  void ClickItem(int i, uint32_t mods = 0) {
    const TPoint p = Centre(i);
    WithMods(mods, [&] { Click(p); });
  }
  void Drag(TPoint from, TPoint to, uint32_t mods = 0) {
    WithMods(mods, [&] {
      hp->InjectMouseMove(from);
      hp->InjectMouseDown();
      hp->InjectMouseMove({(from.X + to.X) / 2, (from.Y + to.Y) / 2});
      hp->InjectMouseMove(to);
      hp->InjectMouseUp();
    });
  }
  std::vector<int> SelectedItems() const {
    std::vector<int> out;
    for (int i = 0; i < lv->Count(); ++i)
      if (lv->Selected(i)) out.push_back(i);
    return out;
  }
  static std::vector<int> Range(int from, int to) {
    std::vector<int> out;
    for (int i = from; i <= to; ++i) out.push_back(i);
    return out;
  }

  TForm* form = nullptr;
  TListView* lv = nullptr;
  int selectionChanges = 0;
};

TEST_F(ListViewTest, ArrowsPagesHomeAndEndInEveryStyle) {
  struct Case {
    TViewStyle style;
    int from, key, expected;
  };
  const Case cases[] = {
      // 8 rows on screen: a page moves 7; Left and Right scroll, the focus stays.
      {vsReport, 5, VK_DOWN, 6}, {vsReport, 5, VK_UP, 4}, {vsReport, 5, VK_NEXT, 12},
      {vsReport, 5, VK_PRIOR, 0}, {vsReport, 5, VK_RIGHT, 5}, {vsReport, 5, VK_END, 29},
      {vsReport, 0, VK_UP, 0},
      // 5 rows a column: Left and Right move a column, not past the ends.
      {vsList, 7, VK_DOWN, 8}, {vsList, 7, VK_UP, 6}, {vsList, 7, VK_RIGHT, 12}, {vsList, 7, VK_LEFT, 2},
      {vsList, 3, VK_LEFT, 3}, {vsList, 27, VK_RIGHT, 29}, {vsList, 7, VK_HOME, 0},
      // 4 cells a row: Up and Down move a row; Down into a short last row
      // lands on its last item, and stays on the last row.
      {vsIcon, 5, VK_RIGHT, 6}, {vsIcon, 5, VK_LEFT, 4}, {vsIcon, 4, VK_LEFT, 4}, {vsIcon, 7, VK_RIGHT, 7},
      {vsIcon, 5, VK_DOWN, 9}, {vsIcon, 5, VK_UP, 1}, {vsIcon, 2, VK_UP, 2}, {vsIcon, 26, VK_DOWN, 29},
      {vsIcon, 28, VK_DOWN, 28}, {vsIcon, 5, VK_END, 29},
      {vsSmallIcon, 5, VK_RIGHT, 6}, {vsSmallIcon, 5, VK_DOWN, 9}, {vsSmallIcon, 9, VK_UP, 5},
  };
  Fill(30);
  for (const Case& c : cases) {
    UseStyle(c.style);
    lv->SetItemIndex(c.from);
    lv->SetFocus();
    Key(c.key);
    EXPECT_EQ(lv->ItemFocused(), c.expected) << StyleName(c.style) << " from " << c.from << " key " << c.key;
    EXPECT_EQ(SelectedItems(), std::vector<int>{c.expected}) << StyleName(c.style);
    EXPECT_FALSE(lv->DisplayRect(c.expected).IsEmpty()) << "the focused item is kept in view";
  }
}

TEST_F(ListViewTest, MultipleSelectionSequencesInEveryStyle) {
  struct Step {
    enum { ClickOn, KeyPress } kind;
    int what;  // item or key
    uint32_t mods;
    std::vector<int> selection;
    int focus;
  };
  const std::vector<Step> steps = {
      {Step::ClickOn, 2, 0, {2}, 2},
      {Step::ClickOn, 5, kModShift, {2, 3, 4, 5}, 5},
      {Step::ClickOn, 3, kModCtrl, {2, 4, 5}, 3},
      {Step::ClickOn, 7, kModShift, {3, 4, 5, 6, 7}, 7},  // from the Ctrl click's anchor
      {Step::KeyPress, VK_END, kModShift, Range(3, 29), 29},
      {Step::KeyPress, VK_HOME, kModCtrl, Range(3, 29), 0},  // Ctrl moves the focus alone
      {Step::KeyPress, VK_SPACE, kModCtrl, [] { auto v = Range(3, 29); v.insert(v.begin(), 0); return v; }(), 0},
      {Step::ClickOn, 1, 0, {1}, 1},
      {Step::KeyPress, 'A', kModCtrl, Range(0, 29), 1},
  };
  Fill(30);
  lv->SetMultiSelect(true);
  for (TViewStyle style : {vsIcon, vsSmallIcon, vsList, vsReport}) {
    UseStyle(style);
    lv->ClearSelection();
    lv->ScrollTo(0, 0);
    int n = 0;
    for (const Step& s : steps) {
      if (s.kind == Step::ClickOn) {
        lv->MakeVisible(s.what);
        ClickItem(s.what, s.mods);
      } else {
        Key(s.what, s.mods);
      }
      EXPECT_EQ(SelectedItems(), s.selection) << StyleName(style) << " step " << n;
      EXPECT_EQ(lv->ItemFocused(), s.focus) << StyleName(style) << " step " << n;
      ++n;
    }
  }
}

TEST_F(ListViewTest, SingleSelectionIgnoresModifiersAndEmptyClicksClear) {
  Fill(6);
  UseStyle(vsIcon);
  ClickItem(1);
  ClickItem(3, kModCtrl);
  ClickItem(4, kModShift);
  EXPECT_EQ(SelectedItems(), std::vector<int>{4});
  // Row 1 holds items 4 and 5: its last cell is empty.
  const TRect cell = lv->DisplayRect(1);
  Click(Screen({3 * lv->IconCellSize().cx + 20, cell.Top + lv->IconCellSize().cy + 20}));
  EXPECT_EQ(lv->SelCount(), 0);
  EXPECT_EQ(lv->ItemFocused(), 4) << "the focus stays";
}

TEST_F(ListViewTest, RubberBandSelectsWhatItMeetsAndCtrlToggles) {
  Fill(6);
  lv->SetMultiSelect(true);
  for (TViewStyle style : {vsIcon, vsSmallIcon}) {
    UseStyle(style);
    const TSize cell = style == vsIcon ? lv->IconCellSize() : TSize{lv->ListColumnWidth(), lv->RowHeight()};
    // From the empty last cell of row 1 up to the middle of item 1: it
    // meets items 1, 2, 3 of row 0 and item 5 of row 1.
    const TPoint empty = Screen({3 * cell.cx + cell.cx / 2, cell.cy + cell.cy / 2});
    lv->SetItemIndex(0);
    Drag(empty, Centre(1));
    EXPECT_EQ(SelectedItems(), (std::vector<int>{1, 2, 3, 5})) << StyleName(style);
    // Ctrl: the items a band meets toggle against what was selected.
    Drag(empty, Centre(5), kModCtrl);
    EXPECT_EQ(SelectedItems(), (std::vector<int>{1, 2, 3})) << StyleName(style) << ": item 5 toggled off";
    Drag(empty, Centre(2), kModCtrl);
    EXPECT_EQ(SelectedItems(), std::vector<int>{1}) << StyleName(style) << ": items 2 and 3 toggled off";
  }
  // No band in the list styles: a drag from nothing selects nothing.
  UseStyle(vsReport);
  lv->ClearSelection();
  Drag(Screen({250, lv->HeaderHeight() + 7 * lv->RowHeight()}), Centre(1));
  EXPECT_EQ(SelectedItems(), std::vector<int>{});
}

// A band held past the bottom edge scrolls the view on the timer and
// grows with it; back inside, the scrolling stops; past the top it goes
// back up. Nothing moves without the timer or after the button is up.
TEST_F(ListViewTest, BandPastTheEdgeScrollsOnTheTimer) {
  Fill(40);
  lv->SetMultiSelect(true);
  UseStyle(vsIcon);  // 4 cells a row, 10 rows: more than 300 pixels
  const TPoint empty = Screen({lv->ClientWidth() - 4, 2});
  lv->SetItemIndex(0);
  lv->ClearSelection();
  hp->InjectMouseMove(empty);
  hp->InjectMouseDown();
  const int x = 3 * lv->IconCellSize().cx + 20;  // in the last column of cells
  hp->InjectMouseMove(Screen({x, lv->ClientHeight() + 30}));
  Pump();
  EXPECT_EQ(lv->ScrollY(), 0) << "no scrolling before the timer";
  const int selectedInside = lv->SelCount();
  hp->AdvanceClock(50);
  Pump();
  const int once = lv->ScrollY();
  EXPECT_GT(once, 0);
  EXPECT_LE(once, 64) << "a tick scrolls by at most its step";
  for (int i = 0; i < 40; ++i) {
    hp->AdvanceClock(50);
    Pump();
  }
  EXPECT_EQ(lv->ScrollY(), lv->VertScrollInfo().Max - lv->VertScrollInfo().Page + 1) << "to the end, then no further";
  EXPECT_GT(lv->SelCount(), selectedInside) << "the band grew with the scrolling";
  EXPECT_TRUE(lv->Selected(39));
  // Back inside: no more scrolling.
  hp->InjectMouseMove(Screen({x, lv->ClientHeight() - 10}));
  Pump();
  const int stopped = lv->ScrollY();
  hp->AdvanceClock(200);
  Pump();
  EXPECT_EQ(lv->ScrollY(), stopped);
  // Past the top it goes back; the button up stops it.
  hp->InjectMouseMove(Screen({x, -5}));
  Pump();
  hp->AdvanceClock(50);
  Pump();
  EXPECT_LT(lv->ScrollY(), stopped);
  hp->InjectMouseUp();
  Pump();
  const int released = lv->ScrollY();
  hp->AdvanceClock(200);
  Pump();
  EXPECT_EQ(lv->ScrollY(), released);
}

TEST_F(ListViewTest, HeaderClickReportsTheColumnAndDividerDragResizes) {
  Fill(5);
  UseStyle(vsReport);
  std::vector<int> clicked;
  lv->OnColumnClick = [&](TObject*, int column) { clicked.push_back(column); };
  const int mid = lv->HeaderHeight() / 2;
  Click(Screen({130, mid}));
  Click(Screen({10, mid}));
  EXPECT_EQ(clicked, (std::vector<int>{1, 0}));
  // Press on a column, release on another: no click.
  Drag(Screen({130, mid}), Screen({200, mid}));
  EXPECT_EQ(clicked.size(), 2u);
  // The divider after "Name" (x = 100) drags the width; nothing is clicked.
  Drag(Screen({101, mid}), Screen({131, mid}));
  EXPECT_EQ(lv->Column(0).Width, 130);
  EXPECT_EQ(lv->ColumnRect(1).Left, 130);
  EXPECT_EQ(lv->DisplayRect(0, drLabel).Right, 130) << "rows follow the header";
  Drag(Screen({130, mid}), Screen({0, mid}));
  EXPECT_EQ(lv->Column(0).Width, 0) << "no width below nothing";
  // A closed column is opened again from its divider (the last one near).
  Drag(Screen({1, mid}), Screen({41, mid}));
  EXPECT_EQ(lv->Column(0).Width, 40);
  EXPECT_EQ(lv->Column(1).Width, 60);
  EXPECT_EQ(clicked.size(), 2u);
}

TEST_F(ListViewTest, TypeToSelectByCaptionPrefix) {
  for (const char* s : {"alpha", "Beta", "bravo", "brick", "charlie", "beast"}) lv->AddItem(s);
  UseStyle(vsList);
  lv->SetFocus();
  const struct {
    unsigned pause;
    const char* text;
    int expected;
  } steps[] = {
      {0, "b", 1}, {kListSearchPauseMs - 1, "r", 2}, {kListSearchPauseMs - 1, "i", 3},
      {kListSearchPauseMs, "b", 5}, {kListSearchPauseMs, "B", 1}, {kListSearchPauseMs, "z", 1},
  };
  for (const auto& s : steps) {
    hp->AdvanceClock(s.pause);
    hp->InjectText(s.text);
    Pump();
    EXPECT_EQ(lv->ItemFocused(), s.expected) << s.text;
    EXPECT_EQ(SelectedItems(), std::vector<int>{s.expected});
  }
}

TEST_F(ListViewTest, TypeToSelectAsksTheOwnerOfTheData) {
  lv->SetOwnerData(true);
  lv->SetItemCount(100000);
  int fetches = 0;
  lv->OnData = [&](TObject*, TListItem& item) {
    ++fetches;
    item.Caption = "Row " + std::to_string(item.Index);
  };
  std::vector<std::pair<std::string, int>> asked;
  lv->OnDataFind = [&](TObject*, const std::string& prefix, int start, int& found) {
    asked.emplace_back(prefix, start);
    found = prefix == "r" ? 70000 : -1;
  };
  UseStyle(vsReport);
  lv->SetFocus();
  fetches = 0;
  hp->InjectText("r");
  hp->InjectText("x");
  Pump();
  EXPECT_EQ(asked, (std::vector<std::pair<std::string, int>>{{"r", 0}, {"rx", 70000}}));
  EXPECT_EQ(lv->ItemFocused(), 70000);
  EXPECT_TRUE(lv->Selected(70000));
  EXPECT_LT(fetches, 20) << "the search itself fetched nothing; the repaint a screenful";
}

// Owner data: counts every fetch and every painted row.
struct RowLog {
  std::vector<int> fetched, painted;
  void Attach(TListView& v) {
    v.SetOwnerData(true);
    v.OnData = [this](TObject*, TListItem& item) {
      fetched.push_back(item.Index);
      item.Caption = "Row " + std::to_string(item.Index);
      item.SubItems = {std::to_string(item.Index * 10)};
    };
    v.OnCustomDrawItem = [this](TCustomListView*, int i, TRect, TOwnerDrawState, bool&) { painted.push_back(i); };
  }
  void Clear() {
    fetched.clear();
    painted.clear();
  }
};

TEST_F(ListViewTest, OwnerDataFetchesAndPaintsOnlyTheRowsOnScreen) {
  RowLog log;
  log.Attach(*lv);
  lv->SetItemCount(100000);
  for (TViewStyle style : {vsReport, vsList, vsIcon, vsSmallIcon}) {
    UseStyle(style);
    for (int scroll : {0, 1, 2}) {
      if (scroll == 1) {
        // Far down (the position past 16 bits travels in LParam) ...
        const bool vert = style != vsList;
        const int pos = vert ? lv->VertScrollInfo().Max / 2 : lv->HorzScrollInfo().Max / 2;
        lv->Perform(vert ? WM_VSCROLL : WM_HSCROLL, SB_THUMBPOSITION, pos);
      } else if (scroll == 2) {
        lv->SetFocus();
        Key(VK_END);  // ... and to the last row
        EXPECT_EQ(lv->ItemFocused(), 99999);
      }
      log.Clear();
      lv->Invalidate();
      Pump();
      const std::vector<int> shown = lv->VisibleItems();
      EXPECT_EQ(log.fetched, shown) << StyleName(style) << " scroll " << scroll;
      EXPECT_EQ(log.painted, shown) << StyleName(style) << " scroll " << scroll;
      EXPECT_FALSE(shown.empty());
      EXPECT_LT(shown.size(), 80u) << "a screenful";
      if (scroll == 2) {
        EXPECT_EQ(shown.back(), 99999) << StyleName(style);
        EXPECT_EQ(lv->ItemAtPos(lv->ScreenToClient(Centre(99999))), 99999);
      }
      if (scroll == 1) EXPECT_GT(shown.front(), 40000) << StyleName(style);
    }
  }
  // Range selection and hit testing need no fetches.
  log.Clear();
  lv->SetMultiSelect(true);
  lv->SetItemIndex(5);
  Key(VK_END, kModShift);
  EXPECT_EQ(lv->SelCount(), 99995);
  const size_t afterKeys = log.fetched.size();
  lv->ItemAtPos({20, 20});
  EXPECT_EQ(log.fetched.size(), afterKeys);
  // The scroll state follows the count.
  int changes = 0;
  lv->OnScrollStateChange = [&](TObject*) { ++changes; };
  lv->SetItemCount(3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(lv->VertScrollInfo().Max, -1);
  EXPECT_EQ(lv->SelCount(), 0) << "selected rows past the end are gone";
}

TEST_F(ListViewTest, RenameAcceptedCancelledRefusedAndReadOnly) {
  auto* other = new TEdit(form);
  other->SetParent(form);
  other->SetBounds(400, 10, 100, 24);
  struct Case {
    const char* name;
    bool readOnly, refuse;
    std::function<void()> finish;
    std::string caption;
    int edited;
  };
  const Case cases[] = {
      {"Enter", false, false, [&] { Key(VK_RETURN); }, "renamed", 1},
      {"Escape", false, false, [&] { Key(VK_ESCAPE); }, "Item2", 0},
      {"focus loss", false, false, [&] { Click(other->ClientToScreen({5, 5})); }, "renamed", 1},
      {"refused", false, true, [&] { Key(VK_RETURN); }, "Item2", 1},
      {"read-only", true, false, [&] { Key(VK_RETURN); }, "Item2", 0},
  };
  for (TViewStyle style : {vsIcon, vsReport}) {
    for (const Case& c : cases) {
      lv->ClearItems();
      Fill(5);
      UseStyle(style);
      lv->SetReadOnly(c.readOnly);
      int edited = 0;
      lv->OnEdited = [&](TObject*, int index, std::string& s, bool& accept) {
        ++edited;
        EXPECT_EQ(index, 2);
        EXPECT_EQ(s, "renamed");
        accept = !c.refuse;
      };
      ClickItem(2);
      Key(VK_F2);
      EXPECT_EQ(lv->IsEditing(), !c.readOnly) << c.name;
      if (lv->IsEditing()) {
        EXPECT_EQ(lv->Editor()->Text(), "Item2");
        EXPECT_TRUE(lv->Editor()->Focused());
        const TRect label = lv->DisplayRect(2, drLabel);
        EXPECT_EQ(lv->Editor()->Left(), label.Left) << "over the caption";
        hp->InjectText("renamed");  // replaces the selected caption
        Pump();
      }
      c.finish();
      EXPECT_FALSE(lv->IsEditing()) << c.name;
      EXPECT_EQ(lv->Item(2).Caption, c.caption) << StyleName(style) << " " << c.name;
      EXPECT_EQ(edited, c.edited) << c.name;
      EXPECT_FALSE(lv->Editor() && lv->Editor()->Visible());
    }
  }
  // Removing the item being renamed drops the editor without a word.
  lv->SetReadOnly(false);
  int edited = 0;
  lv->OnEdited = [&](TObject*, int, std::string&, bool&) { ++edited; };
  ASSERT_TRUE(lv->EditCaption(3));
  lv->DeleteItem(3);
  EXPECT_FALSE(lv->IsEditing());
  EXPECT_EQ(edited, 0);
}

TEST_F(ListViewTest, FreePositionsWithoutAutoArrange) {
  Fill(8);
  UseStyle(vsIcon);
  const TPoint home = lv->ScreenToClient(Centre(0));
  lv->SetAutoArrange(false);
  EXPECT_EQ(lv->ItemAtPos(home), 0) << "items stay where the grid put them";
  lv->SetItemPosition(0, {100, 170});
  EXPECT_EQ(lv->ItemAtPos(home), -1);
  const TPoint moved = lv->ScreenToClient(Centre(0));
  EXPECT_EQ(lv->ItemAtPos(moved), 0);
  // The arrows walk by place: 6 is straight right of 5, 0 further down.
  lv->SetItemIndex(5);
  lv->SetFocus();
  Key(VK_RIGHT);
  EXPECT_EQ(lv->ItemFocused(), 6);
  // A narrower view does not move free items; Arrange puts them back.
  lv->SetWidth(2 * lv->IconCellSize().cx + 10);
  EXPECT_EQ(lv->ItemAtPos(moved), 0);
  lv->Arrange();
  EXPECT_EQ(lv->ItemAtPos(home), 0);
  // With AutoArrange the grid flows into the width: item 2 starts row 1.
  lv->SetAutoArrange(true);
  EXPECT_EQ(lv->ItemPosition(2), (TPoint{0, lv->IconCellSize().cy}));
}

TEST_F(ListViewTest, ImagesComeFromTheStylesImageList) {
  auto* small = new TImageList(form);
  TBitmap strip;
  strip.SetSize(32, 16);
  strip.Canvas().Brush().SetColor(clRed);
  strip.Canvas().FillRect({0, 0, 16, 16});
  strip.Canvas().Brush().SetColor(clBlue);
  strip.Canvas().FillRect({16, 0, 32, 16});
  small->Add(strip);
  lv->SetSmallImages(small);
  lv->AddItem("red", 0);
  lv->AddItem("blue", 1);
  lv->AddItem("none", 7);  // outside the list: no image
  UseStyle(vsReport);
  EXPECT_EQ(ScreenPixel(Centre(0, drIcon)), Rgb(clRed));
  EXPECT_EQ(ScreenPixel(Centre(1, drIcon)), Rgb(clBlue));
  EXPECT_EQ(ScreenPixel(Centre(2, drIcon)), Rgb(clWindow));
  delete small;
  EXPECT_EQ(lv->SmallImages(), nullptr);
  Pump();
}

TEST_F(ListViewTest, HandlersMayFreeTheView) {
  struct Case {
    const char* name;
    std::function<void(std::function<void()> kill)> arm;
    std::function<void()> act;
  };
  const Case cases[] = {
      {"selection", [&](auto kill) { lv->OnSelectionChange = [kill](TObject*) { kill(); }; },
       [&] { ClickItem(1); }},
      {"column click", [&](auto kill) { lv->OnColumnClick = [kill](TObject*, int) { kill(); }; },
       [&] { Click(Screen({10, lv->HeaderHeight() / 2})); }},
      {"edited by Enter",
       [&](auto kill) { lv->OnEdited = [kill](TObject*, int, std::string&, bool&) { kill(); }; },
       [&] {
         lv->EditCaption(1);
         Pump();
         Key(VK_RETURN);
       }},
      {"edited by focus loss",
       [&](auto kill) { lv->OnEdited = [kill](TObject*, int, std::string&, bool&) { kill(); }; },
       [&] {
         lv->EditCaption(1);
         Pump();
         ClickItem(3);
       }},
      {"data", [&](auto kill) {
         lv->SetOwnerData(true);
         lv->SetItemCount(50);
         lv->OnData = [kill](TObject*, TListItem&) { kill(); };
       },
       [&] { lv->Invalidate(); Pump(); }},
      {"custom draw",
       [&](auto kill) {
         lv->OnCustomDrawItem = [kill](TCustomListView*, int, TRect, TOwnerDrawState, bool&) { kill(); };
       },
       [&] { lv->Invalidate(); Pump(); }},
  };
  for (const Case& c : cases) {
    lv = new TListView(form);
    lv->SetParent(form);
    lv->AddColumn("Name", 100);
    Fill(10);
    UseStyle(vsReport);
    // The closure dies with the view: it reads nothing of itself afterwards.
    c.arm([this] {
      TListView*& slot = lv;
      delete slot;
      slot = nullptr;
    });
    c.act();
    EXPECT_EQ(lv, nullptr) << c.name;
    Pump();
  }
}

}  // namespace
}  // namespace qz::testing
