#include "host/ui/ListView.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "host/graphics/TextEngine.h"
#include "host/ui/Windows.h"

namespace qz {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
  return true;
}

int CeilDiv(int a, int b) { return b <= 0 ? 0 : (a + b - 1) / b; }

constexpr int kDividerSlop = 3;     // pixels either side of a header divider
constexpr int kWheelRows = 3;
constexpr int kMinIconCell = 76;
constexpr int kCellInset = 2;       // icon styles: the gap around an item's bounds
constexpr int kCellTextInset = 6;   // report: text inside a column
constexpr int kHorzLine = 16;       // report: pixels a line of horizontal scrolling
// KeyTarget's answer for a key that moves nothing (any int is a target: it
// is clamped to the items afterwards).
constexpr uintptr_t kBandScrollTimerId = 0x4C56;  // window timer of the band's auto-scroll
constexpr int kBandScrollMs = 50;
constexpr int kBandScrollMaxStep = 64;  // pixels a tick scrolls at most
constexpr int kNoTarget = std::numeric_limits<int>::min();

}  // namespace

// ---------------------------------------------------------------------------
// TListViewEditor

TListViewEditor::TListViewEditor(TCustomListView& view) : TCustomEdit(&view), view_(view) {
  SetVisible(false);
  tabStop_ = false;
}

void TListViewEditor::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    // Enter and Escape close the editor instead of reaching the form.
    m.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    return;
  }
  TCustomEdit::Dispatch(m);
}

void TListViewEditor::KeyDown(uint16_t& key, TShiftState shift) {
  if (key == VK_RETURN || key == VK_ESCAPE) {
    const bool accept = key == VK_RETURN;
    key = 0;
    // May free the view and this editor with it: nothing is touched after.
    view_.EndEdit(accept);
    return;
  }
  TCustomEdit::KeyDown(key, shift);
}

void TListViewEditor::WMKillFocus(TMessage& m) {
  TComponentRef<TControl> self(this);
  TCustomEdit::WMKillFocus(m);
  if (self && view_.IsEditing()) view_.EndEdit(true);
}

// ---------------------------------------------------------------------------
// TCustomListView: construction and properties

TCustomListView::TCustomListView(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 250, 150);
  tabStop_ = true;
  color_ = clWindow;
}

TCustomListView::~TCustomListView() {
  // The editor goes first, while the view it reports to is whole.
  editing_ = -1;
  DestroyComponents();
}

void TCustomListView::SetViewStyle(TViewStyle V) {
  if (V == viewStyle_) return;
  DropEdit();
  drag_ = TDrag::None;
  viewStyle_ = V;
  scrollX_ = scrollY_ = 0;
  // Cells differ in size between the styles: free positions start over.
  if (FreeLayout()) Arrange();
  Invalidate();
  NotifyScrollState();
}

void TCustomListView::SetLargeImages(TCustomImageList* V) {
  SetReference(largeImages_, V);
  DataChanged();
}

void TCustomListView::SetSmallImages(TCustomImageList* V) {
  SetReference(smallImages_, V);
  DataChanged();
}

void TCustomListView::SetListColumnWidth(int V) {
  V = std::max(1, V);
  if (V == listColumnWidth_) return;
  listColumnWidth_ = V;
  DataChanged();
}

void TCustomListView::SetShowColumnHeaders(bool V) {
  if (V == showColumnHeaders_) return;
  showColumnHeaders_ = V;
  DataChanged();
}

void TCustomListView::SetLargeIconSize(int V) {
  V = std::max(0, V);
  if (V == largeIconSize_) return;
  largeIconSize_ = V;
  DataChanged();
}

void TCustomListView::SetMultiSelect(bool V) {
  if (V == multiSelect_) return;
  multiSelect_ = V;
  if (!V && selCount_ > 1) {
    const int keep = Selected(focused_) ? focused_ : ItemIndex();
    ClearSelection();
    if (keep >= 0) SetSelectedQuiet(keep, true);
  }
}

// ---------------------------------------------------------------------------
// Columns

int TCustomListView::AddColumn(const std::string& Caption, int Width) {
  columns_.push_back({Caption, std::max(0, Width)});
  DataChanged();
  return ColumnCount() - 1;
}

void TCustomListView::SetColumnWidth(int Index, int Width) {
  if (Index < 0 || Index >= ColumnCount()) throw EListViewError("Column index out of bounds");
  Width = std::max(0, Width);
  if (columns_[Index].Width == Width) return;
  columns_[Index].Width = Width;
  PlaceEditor();
  DataChanged();
}

void TCustomListView::ClearColumns() {
  columns_.clear();
  DataChanged();
}

int TCustomListView::ColumnsWidth() const {
  int w = 0;
  for (const TListColumn& c : columns_) w += c.Width;
  return w;
}

TRect TCustomListView::ColumnRect(int Index) const {
  if (Index < 0 || Index >= ColumnCount()) return {};
  int x = -scrollX_;
  for (int c = 0; c < Index; ++c) x += columns_[c].Width;
  return {x, 0, x + columns_[Index].Width, HeaderHeight()};
}

int TCustomListView::ColumnAtPos(TPoint Pos) const {
  if (viewStyle_ != vsReport || Pos.Y < 0 || Pos.Y >= HeaderHeight()) return -1;
  for (int c = 0; c < ColumnCount(); ++c)
    if (ColumnRect(c).Contains(Pos)) return c;
  return -1;
}

// The column whose right edge is near the point; the last such column, so
// that a column dragged down to nothing can be pulled open again.
int TCustomListView::DividerAt(TPoint Pos) const {
  if (viewStyle_ != vsReport || Pos.Y < 0 || Pos.Y >= HeaderHeight()) return -1;
  for (int c = ColumnCount() - 1; c >= 0; --c)
    if (std::abs(Pos.X - ColumnRect(c).Right) <= kDividerSlop) return c;
  return -1;
}

// ---------------------------------------------------------------------------
// Items

void TCustomListView::SetOwnerData(bool V) {
  if (V == ownerData_) return;
  DropEdit();
  ownerData_ = V;
  items_.clear();
  positions_.clear();
  itemCount_ = 0;
  ResizeState(0);
  scrollX_ = scrollY_ = 0;
  DataChanged();
}

void TCustomListView::ResizeState(int count) {
  selected_.resize(count, 0);
  selCount_ = static_cast<int>(std::count(selected_.begin(), selected_.end(), 1));
  if (focused_ >= count) focused_ = -1;
  if (anchor_ >= count) anchor_ = -1;
}

void TCustomListView::SetItemCount(int V) {
  if (!ownerData_) throw EListViewError("SetItemCount needs OwnerData");
  V = std::max(0, V);
  if (V == itemCount_) return;
  DropEdit();
  itemCount_ = V;
  ResizeState(V);
  DataChanged();
}

int TCustomListView::AddItem(const std::string& Caption, int ImageIndex) {
  TListItem item;
  item.Caption = Caption;
  item.ImageIndex = ImageIndex;
  InsertItem(Count(), std::move(item));
  return Count() - 1;
}

void TCustomListView::InsertItem(int Index, TListItem Item) {
  if (ownerData_) throw EListViewError("An owner-data list view keeps no items");
  if (Index < 0 || Index > Count()) throw EListViewError("Item index out of bounds");
  DropEdit();
  items_.insert(items_.begin() + Index, std::move(Item));
  selected_.insert(selected_.begin() + Index, 0);
  // A new item of a free layout takes the grid cell after the last one.
  if (FreeLayout()) positions_.insert(positions_.begin() + Index, GridPosition(Count() - 1));
  if (focused_ >= Index) ++focused_;
  if (anchor_ >= Index) ++anchor_;
  DataChanged();
}

void TCustomListView::DeleteItem(int Index) {
  if (ownerData_) throw EListViewError("An owner-data list view keeps no items");
  if (Index < 0 || Index >= Count()) throw EListViewError("Item index out of bounds");
  DropEdit();
  if (selected_[Index]) --selCount_;
  items_.erase(items_.begin() + Index);
  selected_.erase(selected_.begin() + Index);
  if (!positions_.empty()) positions_.erase(positions_.begin() + Index);
  if (focused_ == Index) focused_ = -1;
  else if (focused_ > Index) --focused_;
  if (anchor_ == Index) anchor_ = -1;
  else if (anchor_ > Index) --anchor_;
  DataChanged();
}

void TCustomListView::ClearItems() {
  DropEdit();
  items_.clear();
  positions_.clear();
  if (ownerData_) itemCount_ = 0;
  ResizeState(0);
  scrollX_ = scrollY_ = 0;
  DataChanged();
}

void TCustomListView::SetItem(int Index, TListItem Item) {
  if (ownerData_ || Index < 0 || Index >= Count()) throw EListViewError("Item index out of bounds");
  items_[Index] = std::move(Item);
  UpdateItem(Index);
}

void TCustomListView::CustomSort(const std::function<bool(const TListItem&, const TListItem&)>& Less) {
  if (ownerData_ || Count() < 2) return;
  DropEdit();
  std::vector<int> order(Count());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Less(items_[a], items_[b]); });
  std::vector<TListItem> items;
  std::vector<uint8_t> selected;
  std::vector<int> newIndex(Count());
  items.reserve(Count());
  selected.reserve(Count());
  for (int i = 0; i < Count(); ++i) {
    items.push_back(std::move(items_[order[i]]));
    selected.push_back(selected_[order[i]]);
    newIndex[order[i]] = i;
  }
  items_ = std::move(items);
  selected_ = std::move(selected);
  if (focused_ >= 0) focused_ = newIndex[focused_];
  if (anchor_ >= 0) anchor_ = newIndex[anchor_];
  // A free layout keeps its cells in place: the sorted order fills them.
  Invalidate();
}

TListItem TCustomListView::FetchItem(int Index) {
  TListItem item;
  if (Index < 0 || Index >= Count()) return item;
  if (!ownerData_) {
    item = items_[Index];
  } else {
    item.Index = Index;
    DoData(item);
  }
  item.Index = Index;
  return item;
}

void TCustomListView::DoData(TListItem& Item) {
  if (OnData) OnData(this, Item);
}

void TCustomListView::ColumnClicked(int Column) {
  if (OnColumnClick) OnColumnClick(this, Column);
}

void TCustomListView::UpdateItem(int Index) { InvalidateItem(Index); }

void TCustomListView::BeginUpdate() { ++updateCount_; }

void TCustomListView::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) DataChanged();
}

void TCustomListView::DataChanged() {
  if (updateCount_ > 0) return;
  ClampScrollState();
  PlaceEditor();
  Invalidate();
  NotifyScrollState();
}

// ---------------------------------------------------------------------------
// Selection

bool TCustomListView::Selected(int Index) const {
  return Index >= 0 && Index < static_cast<int>(selected_.size()) && selected_[Index] != 0;
}

void TCustomListView::SetSelectedQuiet(int Index, bool V) {
  if (Index < 0 || Index >= Count() || Selected(Index) == V) return;
  selected_[Index] = V ? 1 : 0;
  selCount_ += V ? 1 : -1;
  InvalidateItem(Index);
}

void TCustomListView::SetSelected(int Index, bool V) {
  if (Index < 0 || Index >= Count()) throw EListViewError("Item index out of bounds");
  if (V && !multiSelect_) ClearSelection();
  SetSelectedQuiet(Index, V);
}

void TCustomListView::ClearSelection() {
  if (selCount_ == 0) return;
  std::fill(selected_.begin(), selected_.end(), 0);
  selCount_ = 0;
  Invalidate();
}

void TCustomListView::SelectAll() {
  if (!multiSelect_ || Count() == 0) return;
  std::fill(selected_.begin(), selected_.end(), 1);
  selCount_ = Count();
  Invalidate();
}

void TCustomListView::SetItemFocused(int Index) {
  if (Index < -1 || Index >= Count()) throw EListViewError("Item index out of bounds");
  InvalidateItem(focused_);
  focused_ = Index;
  InvalidateItem(focused_);
}

int TCustomListView::ItemIndex() const {
  if (selCount_ == 0) return -1;
  const auto it = std::find(selected_.begin(), selected_.end(), 1);
  return static_cast<int>(it - selected_.begin());
}

void TCustomListView::SetItemIndex(int Index) {
  ClearSelection();
  if (Index < 0 || Index >= Count()) return;
  SetSelectedQuiet(Index, true);
  SetItemFocused(Index);
  anchor_ = Index;
  MakeVisible(Index);
}

void TCustomListView::SelectRange(int From, int To, bool ClearOthers) {
  if (ClearOthers) ClearSelection();
  for (int i = std::min(From, To); i <= std::max(From, To); ++i) SetSelectedQuiet(i, true);
}

// A user's move of the focus to Index: Shift selects from the anchor, Ctrl
// moves the focus alone (both only in a multiple selection), else the item
// becomes the selection.
void TCustomListView::MoveFocus(int Index, TShiftState Shift) {
  const int old = focused_;
  SetItemFocused(Index);
  if (multiSelect_ && Shift.Contains(ssShift)) {
    if (anchor_ < 0) anchor_ = old >= 0 ? old : Index;
    SelectRange(anchor_, Index, !Shift.Contains(ssCtrl));
  } else if (!(multiSelect_ && Shift.Contains(ssCtrl))) {
    ClearSelection();
    SetSelectedQuiet(Index, true);
    anchor_ = Index;
  }
  MakeVisible(Index);
}

bool TCustomListView::UserSelectionChanged() {
  TComponentRef<TControl> self(this);
  if (OnSelectionChange) OnSelectionChange(this);
  return static_cast<bool>(self);
}

// ---------------------------------------------------------------------------
// Arrangement

void TCustomListView::SetAutoArrange(bool V) {
  if (V == autoArrange_) return;
  if (!V && !ownerData_) {
    // The items stay where the grid put them.
    positions_.resize(Count());
    for (int i = 0; i < Count(); ++i) positions_[i] = GridPosition(i);
  }
  autoArrange_ = V;
  if (V) positions_.clear();
  DataChanged();
}

void TCustomListView::Arrange() {
  if (FreeLayout()) {
    positions_.resize(Count());
    for (int i = 0; i < Count(); ++i) positions_[i] = GridPosition(i);
  }
  DataChanged();
}

TPoint TCustomListView::ItemPosition(int Index) const {
  if (Index < 0 || Index >= Count()) return {};
  return FreeLayout() && Index < static_cast<int>(positions_.size()) ? positions_[Index] : GridPosition(Index);
}

void TCustomListView::SetItemPosition(int Index, TPoint P) {
  if (!FreeLayout() || Index < 0 || Index >= Count()) return;
  positions_.resize(Count());
  positions_[Index] = {std::max(0, P.X), std::max(0, P.Y)};
  DataChanged();
}

// ---------------------------------------------------------------------------
// Geometry

int TCustomListView::TextHeight() const {
  if (textHeight_ < 0 || !(measuredFont_ == Font().Data())) {
    TCanvas measure;
    measure.SetFont(Font());
    measuredFont_ = Font().Data();
    textHeight_ = std::max(1, measure.TextHeight("Ag"));
  }
  return textHeight_;
}

int TCustomListView::RowHeight() const {
  const int image = smallImages_ ? smallImages_->Height() : 16;
  return std::max(TextHeight() + 4, image + 2);
}

int TCustomListView::HeaderHeight() const {
  return viewStyle_ == vsReport && showColumnHeaders_ ? TextHeight() + 8 : 0;
}

TSize TCustomListView::IconCellSize() const {
  int w = largeImages_ ? largeImages_->Width() : 32, h = largeImages_ ? largeImages_->Height() : 32;
  if (largeIconSize_ > 0) w = h = largeIconSize_;
  return {std::max(kMinIconCell, w + 16), h + 8 + 2 * TextHeight() + 6};
}

TSize TCustomListView::CellSize() const {
  switch (viewStyle_) {
    case vsIcon: return IconCellSize();
    case vsSmallIcon: case vsList: return {listColumnWidth_, RowHeight()};
    case vsReport: return {std::max(1, ColumnsWidth()), RowHeight()};  // no columns: no width
  }
  return {1, 1};
}

int TCustomListView::GridColumns() const { return std::max(1, ClientWidth() / CellSize().cx); }

int TCustomListView::ListRows() const { return std::max(1, ClientHeight() / RowHeight()); }

int TCustomListView::ReportRowsOnScreen() const {
  return std::max(0, (ClientHeight() - HeaderHeight()) / RowHeight());
}

TPoint TCustomListView::GridPosition(int Index) const {
  const int columns = GridColumns();
  const TSize cell = CellSize();
  return {(Index % columns) * cell.cx, (Index / columns) * cell.cy};
}

// The bounds of an item of the icon styles in content coordinates.
TRect TCustomListView::ItemContentRect(int Index) const {
  const TPoint p = ItemPosition(Index);
  const TSize cell = CellSize();
  return {p.X + kCellInset, p.Y + kCellInset, p.X + cell.cx - kCellInset, p.Y + cell.cy - kCellInset};
}

TSize TCustomListView::ContentSize() const {
  if (Count() == 0) return {0, 0};
  const TSize cell = CellSize();
  if (!FreeLayout()) {
    const int columns = GridColumns();
    return {std::min(Count(), columns) * cell.cx, CeilDiv(Count(), columns) * cell.cy};
  }
  TSize size{0, 0};
  for (int i = 0; i < Count(); ++i) {
    const TPoint p = ItemPosition(i);
    size.cx = std::max(size.cx, p.X + cell.cx);
    size.cy = std::max(size.cy, p.Y + cell.cy);
  }
  return size;
}

TRect TCustomListView::DisplayRect(int Index, TDisplayCode Code) const {
  if (Index < 0 || Index >= Count()) return {};
  const int rh = RowHeight();
  TRect b;
  switch (viewStyle_) {
    case vsReport: {
      const int top = HeaderHeight() + (Index - scrollY_) * rh;
      if (Index < scrollY_ || top >= ClientHeight()) return {};
      b = {-scrollX_, top, ColumnsWidth() - scrollX_, top + rh};
      break;
    }
    case vsList: {
      const int rows = ListRows(), column = Index / rows - scrollX_;
      if (column < 0 || column * listColumnWidth_ >= ClientWidth()) return {};
      const int top = (Index % rows) * rh;
      b = {column * listColumnWidth_, top, (column + 1) * listColumnWidth_, top + rh};
      break;
    }
    case vsIcon: case vsSmallIcon: {
      b = OffsetRect(ItemContentRect(Index), -scrollX_, -scrollY_);
      TRect shown;
      if (!IntersectRect(shown, b, ClientRect())) return {};
      break;
    }
  }
  if (Code == drBounds) return b;
  const TCustomImageList* images = Images();
  int iw = images ? images->Width() : 0, ih = images ? images->Height() : 0;
  if (viewStyle_ == vsIcon && !images) iw = ih = 32;
  if (viewStyle_ == vsIcon && largeIconSize_ > 0) iw = ih = largeIconSize_;
  if (viewStyle_ == vsIcon) {
    const TRect icon{b.Left + (b.Width() - iw) / 2, b.Top + 4, b.Left + (b.Width() - iw) / 2 + iw, b.Top + 4 + ih};
    if (Code == drIcon) return icon;
    return {b.Left + 2, icon.Bottom + 4, b.Right - 2, b.Bottom - 2};
  }
  const TRect icon{b.Left + 2, b.Top + (b.Height() - ih) / 2, b.Left + 2 + iw, b.Top + (b.Height() - ih) / 2 + ih};
  if (Code == drIcon) return icon;
  int right = b.Right;
  if (viewStyle_ == vsReport && !columns_.empty()) right = b.Left + columns_[0].Width;
  return {icon.Right + 2, b.Top, std::max(icon.Right + 2, right), b.Bottom};
}

int TCustomListView::ItemAtPos(TPoint Pos) const {
  if (!ClientRect().Contains(Pos) || Count() == 0) return -1;
  int i = -1;
  switch (viewStyle_) {
    case vsReport:
      if (Pos.Y < HeaderHeight()) return -1;
      i = scrollY_ + (Pos.Y - HeaderHeight()) / RowHeight();
      break;
    case vsList: {
      const int rows = ListRows(), row = Pos.Y / RowHeight();
      if (row >= rows) return -1;
      i = (scrollX_ + Pos.X / listColumnWidth_) * rows + row;
      break;
    }
    case vsIcon: case vsSmallIcon: {
      const TPoint c{Pos.X + scrollX_, Pos.Y + scrollY_};
      if (FreeLayout()) {
        // The last item drawn is the one on top.
        for (int k = Count() - 1; k >= 0; --k)
          if (ItemContentRect(k).Contains(c)) return k;
        return -1;
      }
      const TSize cell = CellSize();
      const int column = c.X / cell.cx;
      if (column >= GridColumns()) return -1;
      i = (c.Y / cell.cy) * GridColumns() + column;
      break;
    }
  }
  if (i < 0 || i >= Count()) return -1;
  return DisplayRect(i).Contains(Pos) ? i : -1;
}

std::vector<int> TCustomListView::VisibleItems() const {
  std::vector<int> out;
  const int n = Count();
  if (n == 0) return out;
  int first = 0, last = 0;  // candidates [first, last)
  switch (viewStyle_) {
    case vsReport:
      first = scrollY_;
      last = scrollY_ + CeilDiv(ClientHeight() - HeaderHeight(), RowHeight());
      break;
    case vsList: {
      const int rows = ListRows();
      first = scrollX_ * rows;
      last = (scrollX_ + CeilDiv(ClientWidth(), listColumnWidth_)) * rows;
      break;
    }
    case vsIcon: case vsSmallIcon: {
      if (FreeLayout()) {
        first = 0;
        last = n;
        break;
      }
      const TSize cell = CellSize();
      const int columns = GridColumns();
      first = (scrollY_ / cell.cy) * columns;
      last = ((scrollY_ + ClientHeight() - 1) / cell.cy + 1) * columns;
      break;
    }
  }
  for (int i = std::max(0, first); i < std::min(n, last); ++i)
    if (!DisplayRect(i).IsEmpty()) out.push_back(i);
  return out;
}

// Items of the icon styles whose bounds meet a content rectangle.
std::vector<int> TCustomListView::ItemsInContentRect(const TRect& R) const {
  std::vector<int> out;
  if (!IconStyle() || R.IsEmpty()) return out;
  TRect meet;
  if (FreeLayout()) {
    for (int i = 0; i < Count(); ++i)
      if (IntersectRect(meet, ItemContentRect(i), R)) out.push_back(i);
    return out;
  }
  const TSize cell = CellSize();
  const int columns = GridColumns();
  const int c0 = std::max(0, R.Left / cell.cx), c1 = std::min(columns - 1, (R.Right - 1) / cell.cx);
  const int r0 = std::max(0, R.Top / cell.cy), r1 = (R.Bottom - 1) / cell.cy;
  for (int row = r0; row <= r1; ++row)
    for (int column = c0; column <= c1; ++column) {
      const int i = row * columns + column;
      if (i < Count() && IntersectRect(meet, ItemContentRect(i), R)) out.push_back(i);
    }
  return out;
}

// ---------------------------------------------------------------------------
// Scrolling

TListScrollInfo TCustomListView::VertScrollInfo() const {
  TListScrollInfo info;
  switch (viewStyle_) {
    case vsReport: {
      const int rows = ReportRowsOnScreen();
      if (Count() > rows) info = {0, Count() - 1, rows, scrollY_};
      break;
    }
    case vsList: break;
    case vsIcon: case vsSmallIcon: {
      const int h = ContentSize().cy;
      if (h > ClientHeight()) info = {0, h - 1, ClientHeight(), scrollY_};
      break;
    }
  }
  return info;
}

TListScrollInfo TCustomListView::HorzScrollInfo() const {
  TListScrollInfo info;
  switch (viewStyle_) {
    case vsReport: {
      const int w = ColumnsWidth();
      if (w > ClientWidth()) info = {0, w - 1, ClientWidth(), scrollX_};
      break;
    }
    case vsList: {
      const int total = CeilDiv(Count(), ListRows()), page = std::max(1, ClientWidth() / listColumnWidth_);
      if (total > page) info = {0, total - 1, page, scrollX_};
      break;
    }
    case vsIcon: case vsSmallIcon: {
      const int w = ContentSize().cx;
      if (w > ClientWidth()) info = {0, w - 1, ClientWidth(), scrollX_};
      break;
    }
  }
  return info;
}

TPoint TCustomListView::ClampScroll(TPoint P) const {
  const TListScrollInfo v = VertScrollInfo(), h = HorzScrollInfo();
  const int maxY = v.Max < v.Min ? 0 : std::max(0, v.Max + 1 - std::max(1, v.Page));
  const int maxX = h.Max < h.Min ? 0 : std::max(0, h.Max + 1 - std::max(1, h.Page));
  return {std::clamp(P.X, 0, maxX), std::clamp(P.Y, 0, maxY)};
}

void TCustomListView::ClampScrollState() {
  const TPoint p = ClampScroll({scrollX_, scrollY_});
  scrollX_ = p.X;
  scrollY_ = p.Y;
}

int TCustomListView::TopIndex() const {
  switch (viewStyle_) {
    case vsReport: return scrollY_;
    case vsList: return scrollX_ * ListRows();
    default: break;
  }
  const std::vector<int> shown = VisibleItems();
  return shown.empty() ? 0 : shown.front();
}

void TCustomListView::ScrollTo(int X, int Y) {
  const TPoint p = ClampScroll({X, Y});
  if (p.X == scrollX_ && p.Y == scrollY_) return;
  scrollX_ = p.X;
  scrollY_ = p.Y;
  PlaceEditor();
  Invalidate();
  NotifyScrollState();
}

void TCustomListView::MakeVisible(int Index) {
  if (Index < 0 || Index >= Count()) return;
  int x = scrollX_, y = scrollY_;
  switch (viewStyle_) {
    case vsReport: {
      const int rows = std::max(1, ReportRowsOnScreen());
      if (Index < y) y = Index;
      else if (Index >= y + rows) y = Index - rows + 1;
      break;
    }
    case vsList: {
      const int column = Index / ListRows(), page = std::max(1, ClientWidth() / listColumnWidth_);
      if (column < x) x = column;
      else if (column >= x + page) x = column - page + 1;
      break;
    }
    case vsIcon: case vsSmallIcon: {
      const TRect r = ItemContentRect(Index);
      if (r.Bottom > y + ClientHeight()) y = r.Bottom - ClientHeight();
      if (r.Top < y) y = r.Top;
      if (r.Right > x + ClientWidth()) x = r.Right - ClientWidth();
      if (r.Left < x) x = r.Left;
      break;
    }
  }
  ScrollTo(x, y);
}

bool TCustomListView::NotifyScrollState() {
  const TListScrollInfo vert = VertScrollInfo(), horz = HorzScrollInfo();
  if (vert == toldVert_ && horz == toldHorz_) return true;
  toldVert_ = vert;
  toldHorz_ = horz;
  TComponentRef<TControl> self(this);
  if (OnScrollStateChange) OnScrollStateChange(this);
  return static_cast<bool>(self);
}

void TCustomListView::Scroll(int Bar, int Code, int Pos) {
  const bool vert = Bar == SB_VERT;
  const TListScrollInfo info = vert ? VertScrollInfo() : HorzScrollInfo();
  int line = 1;
  if (viewStyle_ == vsReport && !vert) line = kHorzLine;
  else if (IconStyle()) line = RowHeight();
  const int page = std::max(1, info.Page), now = vert ? scrollY_ : scrollX_;
  int to = now;
  switch (Code) {
    case SB_LINEUP: to = now - line; break;
    case SB_LINEDOWN: to = now + line; break;
    case SB_PAGEUP: to = now - page; break;
    case SB_PAGEDOWN: to = now + page; break;
    case SB_THUMBPOSITION: case SB_THUMBTRACK: to = Pos; break;
    case SB_TOP: to = 0; break;
    case SB_BOTTOM: to = info.Max; break;
    default: return;
  }
  if (vert) ScrollTo(scrollX_, to);
  else ScrollTo(to, scrollY_);
}

// ---------------------------------------------------------------------------
// Painting

void TCustomListView::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WindowClassStyle |= CS_DBLCLKS;
}

TOwnerDrawState TCustomListView::ItemState(int Index) const {
  TOwnerDrawState state;
  if (Selected(Index)) state.Include(odSelected);
  if (!Enabled()) state.Include(odDisabled);
  if (Index == focused_ && const_cast<TCustomListView*>(this)->Focused()) state.Include(odFocused);
  return state;
}

void TCustomListView::InvalidateItem(int Index) {
  if (!HandleAllocated() || Index < 0 || updateCount_ > 0) return;
  const TRect r = DisplayRect(Index);
  if (!r.IsEmpty()) InvalidateRect(Handle(), &r, false);
}

void TCustomListView::PaintBackground(const TRect& Rect) {
  TCanvas& c = Canvas();
  c.Brush().SetColor(Color());
  c.FillRect(Rect);
}

void TCustomListView::Paint() {
  TComponentRef<TControl> self(this);
  TCanvas& c = Canvas();
  PaintBackground(ClientRect());
  const TRect clip = c.ClipRect();
  TRect meet;
  for (int i : VisibleItems()) {
    if (i >= Count()) break;  // a handler shortened the list
    const TRect r = DisplayRect(i);
    if (!IntersectRect(meet, r, clip)) continue;
    const TListItem item = FetchItem(i);
    if (!self) return;
    const int saved = c.SaveDC();
    c.IntersectClipRect(r);
    if (viewStyle_ == vsReport) c.IntersectClipRect({0, HeaderHeight(), ClientWidth(), ClientHeight()});
    bool defaultDraw = true;
    if (OnCustomDrawItem) {
      OnCustomDrawItem(this, i, r, ItemState(i), defaultDraw);
      if (!self) return;
    }
    if (defaultDraw) DrawItem(i, item, r, ItemState(i));
    c.RestoreDC(saved);
  }
  if (HeaderHeight() > 0) DrawHeader();
  if (drag_ == TDrag::Band) c.DrawFocusRect(OffsetRect(band_, -scrollX_, -scrollY_));
}

void TCustomListView::DrawItem(int Index, const TListItem& Item, const TRect& Rect, TOwnerDrawState State) {
  TCanvas& c = Canvas();
  c.SetFont(Font());
  c.SetBkMode(TRANSPARENT);
  const bool selected = State.Contains(odSelected);
  const TCustomImageList* images = Images();
  const TRect icon = DisplayRect(Index, drIcon), label = DisplayRect(Index, drLabel);
  if (images && Item.ImageIndex >= 0 && Item.ImageIndex < images->Count())
    images->Draw(c, icon.Left, icon.Top, Item.ImageIndex, Enabled());
  if (selected) c.Font().SetColor(clHighlightText);
  c.Brush().SetColor(clHighlight);
  TRect mark = label;
  if (viewStyle_ == vsIcon) {
    const uint32_t flags = DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX;
    TRect measured{label.Left, label.Top, label.Right, label.Top};
    c.DrawText(Item.Caption, measured, flags | DT_CALCRECT);
    const int w = std::min(label.Width(), measured.Width() + 4);
    mark = {label.Left + (label.Width() - w) / 2, label.Top, label.Left + (label.Width() - w) / 2 + w,
            std::min(label.Bottom, measured.Bottom + 2)};
    if (selected) c.FillRect(mark);
    c.DrawText(Item.Caption, label, flags);
  } else {
    if (viewStyle_ == vsReport) mark.Right = Rect.Right;
    else mark.Right = std::min(label.Right, label.Left + c.TextWidth(Item.Caption) + 4);
    if (selected) c.FillRect(mark);
    const int y = label.Top + (label.Height() - TextHeight()) / 2;
    c.TextRect(label, label.Left + 2, y, Item.Caption);
    int x = label.Right;
    for (int column = 1; viewStyle_ == vsReport && column < ColumnCount(); ++column) {
      const TRect cell{x, Rect.Top, x + columns_[column].Width, Rect.Bottom};
      if (column - 1 < static_cast<int>(Item.SubItems.size()))
        c.TextRect(cell, cell.Left + kCellTextInset, y, Item.SubItems[column - 1]);
      x = cell.Right;
    }
  }
  if (State.Contains(odFocused)) c.DrawFocusRect(mark);
}

void TCustomListView::DrawHeader() {
  TCanvas& c = Canvas();
  const int h = HeaderHeight();
  c.SetFont(Font());
  c.Font().SetColor(clBtnText);  // the header is a row of buttons, whatever the items' colours
  c.SetBkMode(TRANSPARENT);
  c.Brush().SetColor(clBtnFace);
  c.FillRect({0, 0, ClientWidth(), h});
  for (int column = 0; column < ColumnCount(); ++column) {
    const TRect r = ColumnRect(column);
    const int pressed = drag_ == TDrag::HeaderPress && dragColumn_ == column ? 1 : 0;
    c.TextRect(r, r.Left + kCellTextInset + pressed, (h - TextHeight()) / 2 + pressed, columns_[column].Caption);
    c.Brush().SetColor(clBtnShadow);
    c.FillRect({r.Right - 1, 2, r.Right, h - 2});
  }
  c.Brush().SetColor(clBtnShadow);
  c.FillRect({0, h - 1, ClientWidth(), h});
}

void TCustomListView::Resize() {
  TComponentRef<TControl> self(this);
  TCustomControl::Resize();
  if (!self) return;
  // A free layout keeps its positions; the grid flows into the new width.
  ClampScrollState();
  PlaceEditor();
  Invalidate();
  NotifyScrollState();
}

// ---------------------------------------------------------------------------
// Mouse

void TCustomListView::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_VSCROLL: case WM_HSCROLL: {
      // Positions past 16 bits travel in LParam.
      const int pos = m.LParam != 0 ? static_cast<int>(m.LParam) : HIWORD(m.WParam);
      Scroll(m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(m.WParam), pos);
      m.Result = 0;
      return;
    }
    case WM_TIMER:
      if (m.WParam == kBandScrollTimerId) {
        BandAutoScroll();
        m.Result = 0;
        return;
      }
      break;
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<int16_t>(HIWORD(m.WParam));
      const int notches = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : delta < 0 ? -1 : 0);
      if (viewStyle_ == vsReport) ScrollTo(scrollX_, scrollY_ - notches * kWheelRows);
      else if (viewStyle_ == vsList) ScrollTo(scrollX_ - notches, scrollY_);
      else if (VertScrollInfo().Max >= 0) ScrollTo(scrollX_, scrollY_ - notches * kWheelRows * RowHeight());
      else ScrollTo(scrollX_ - notches * kWheelRows * RowHeight(), scrollY_);
      m.Result = 1;
      return;
    }
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TCustomListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TControl> self(this);
  if (Button == mbLeft && CanFocus() && !Focused()) {
    SetFocus();  // closes an open editor, which may run OnEdited
    if (!self) return;
  }
  if (Button == mbLeft) {
    const TPoint p{X, Y};
    if (viewStyle_ == vsReport && Y >= 0 && Y < HeaderHeight()) {
      if (const int d = DividerAt(p); d >= 0) {
        drag_ = TDrag::Divider;
        dragColumn_ = d;
        dragStart_ = p;
        dragWidth_ = columns_[d].Width;
      } else if (const int column = ColumnAtPos(p); column >= 0) {
        drag_ = TDrag::HeaderPress;
        dragColumn_ = column;
        Invalidate();
      }
    } else if (const int i = ItemAtPos(p); i >= 0) {
      drag_ = TDrag::Select;
      if (multiSelect_ && Shift.Contains(ssCtrl) && !Shift.Contains(ssShift)) {
        SetSelectedQuiet(i, !Selected(i));
        SetItemFocused(i);
        anchor_ = i;
      } else {
        MoveFocus(i, Shift);
      }
      if (!UserSelectionChanged()) return;
    } else {
      const bool adding = multiSelect_ && Shift.Contains(ssCtrl);
      const bool changed = !adding && selCount_ > 0;
      if (!adding) ClearSelection();
      if (multiSelect_ && IconStyle()) {
        drag_ = TDrag::Band;
        dragStart_ = {X + scrollX_, Y + scrollY_};
        band_ = {dragStart_.X, dragStart_.Y, dragStart_.X, dragStart_.Y};
        bandBase_ = selected_;
      }
      if (changed && !UserSelectionChanged()) return;
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

// The band selects what it meets: with Ctrl those items toggle against the
// selection the band started from.
void TCustomListView::UpdateBand(TPoint ClientPoint, TShiftState Shift) {
  bandPoint_ = ClientPoint;
  bandShift_ = Shift;
  const TPoint at{ClientPoint.X + scrollX_, ClientPoint.Y + scrollY_};
  band_ = {std::min(dragStart_.X, at.X), std::min(dragStart_.Y, at.Y), std::max(dragStart_.X, at.X) + 1,
           std::max(dragStart_.Y, at.Y) + 1};
  std::vector<uint8_t> want = bandBase_;
  want.resize(Count(), 0);
  for (int i : ItemsInContentRect(band_)) want[i] = Shift.Contains(ssCtrl) ? !bandBase_[i] : 1;
  bool changed = false;
  for (int i = 0; i < Count(); ++i)
    if (Selected(i) != (want[i] != 0)) {
      SetSelectedQuiet(i, want[i] != 0);
      changed = true;
    }
  Invalidate();
  if (changed) UserSelectionChanged();
}

void TCustomListView::MouseMove(TShiftState Shift, int X, int Y) {
  TComponentRef<TControl> self(this);
  if (drag_ == TDrag::Divider && dragColumn_ < ColumnCount()) {
    SetColumnWidth(dragColumn_, dragWidth_ + X - dragStart_.X);
  } else if (drag_ == TDrag::Band && Shift.Contains(ssLeft)) {
    UpdateBand({X, Y}, Shift);
    if (!self) return;
    SetBandTimer(!ClientRect().Contains(TPoint{X, Y}));
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomListView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TControl> self(this);
  if (Button == mbLeft) {
    const TDrag was = drag_;
    drag_ = TDrag::None;
    SetBandTimer(false);
    if (was == TDrag::Band) Invalidate();
    if (was == TDrag::HeaderPress) {
      Invalidate();
      const int column = ColumnAtPos({X, Y});
      if (column >= 0 && column == dragColumn_) {
        ColumnClicked(column);
        if (!self) return;
      }
    }
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

// While a band is drawn with the mouse past the client's edge, a timer
// scrolls the view towards the mouse (further past the edge: faster) and
// grows the band with it.
void TCustomListView::SetBandTimer(bool On) {
  if (On == bandTimer_ || !HandleAllocated()) return;
  bandTimer_ = On;
  if (On) SetTimer(Handle(), kBandScrollTimerId, kBandScrollMs);
  else KillTimer(Handle(), kBandScrollTimerId);
}

void TCustomListView::BandAutoScroll() {
  if (drag_ != TDrag::Band) {
    SetBandTimer(false);
    return;
  }
  const TRect c = ClientRect();
  auto step = [](int past) { return past == 0 ? 0 : (past < 0 ? -1 : 1) * std::min(kBandScrollMaxStep, std::abs(past)); };
  const int pastX = bandPoint_.X < c.Left ? bandPoint_.X - c.Left : (bandPoint_.X >= c.Right ? bandPoint_.X - c.Right + 1 : 0);
  const int pastY = bandPoint_.Y < c.Top ? bandPoint_.Y - c.Top : (bandPoint_.Y >= c.Bottom ? bandPoint_.Y - c.Bottom + 1 : 0);
  if (pastX == 0 && pastY == 0) {
    SetBandTimer(false);
    return;
  }
  TComponentRef<TControl> self(this);
  ScrollTo(scrollX_ + step(pastX), scrollY_ + step(pastY));
  if (!self) return;
  UpdateBand(bandPoint_, bandShift_);
}

// ---------------------------------------------------------------------------
// Keys

int TCustomListView::SpatialNeighbour(int From, int Dx, int Dy) const {
  const TRect f = ItemContentRect(From);
  const TPoint c{(f.Left + f.Right) / 2, (f.Top + f.Bottom) / 2};
  int best = From;
  long long bestScore = -1;
  for (int i = 0; i < Count(); ++i) {
    if (i == From) continue;
    const TRect r = ItemContentRect(i);
    const int dx = (r.Left + r.Right) / 2 - c.X, dy = (r.Top + r.Bottom) / 2 - c.Y;
    const int along = Dx != 0 ? dx * Dx : dy * Dy, across = std::abs(Dx != 0 ? dy : dx);
    if (along <= 0) continue;
    // Straight ahead counts more than off to the side.
    const long long score = static_cast<long long>(along) + 2LL * across;
    if (bestScore < 0 || score < bestScore) {
      bestScore = score;
      best = i;
    }
  }
  return best;
}

// Where a navigation key moves the focus from the focused item (not yet
// clamped to the items); kNoTarget for a key that is no navigation key.
int TCustomListView::KeyTarget(uint16_t Key) const {
  const int n = Count(), cur = focused_;
  if (Key == VK_HOME) return 0;
  if (Key == VK_END) return n - 1;
  if (Key != VK_UP && Key != VK_DOWN && Key != VK_LEFT && Key != VK_RIGHT && Key != VK_PRIOR && Key != VK_NEXT)
    return kNoTarget;
  if (cur < 0) return 0;
  switch (viewStyle_) {
    case vsReport: {
      const int step = std::max(1, ReportRowsOnScreen() - 1);
      if (Key == VK_UP) return cur - 1;
      if (Key == VK_DOWN) return cur + 1;
      if (Key == VK_PRIOR) return cur - step;
      if (Key == VK_NEXT) return cur + step;
      return cur;
    }
    case vsList: {
      const int rows = ListRows(), page = rows * std::max(1, ClientWidth() / listColumnWidth_);
      if (Key == VK_UP) return cur - 1;
      if (Key == VK_DOWN) return cur + 1;
      if (Key == VK_LEFT) return cur - rows >= 0 ? cur - rows : cur;
      if (Key == VK_RIGHT) return std::min(n - 1, cur + rows);
      return Key == VK_PRIOR ? cur - page : cur + page;
    }
    case vsIcon: case vsSmallIcon: break;
  }
  if (FreeLayout()) {
    if (Key == VK_LEFT) return SpatialNeighbour(cur, -1, 0);
    if (Key == VK_RIGHT) return SpatialNeighbour(cur, 1, 0);
    if (Key == VK_UP || Key == VK_PRIOR) return SpatialNeighbour(cur, 0, -1);
    return SpatialNeighbour(cur, 0, 1);
  }
  const int columns = GridColumns();
  const int page = columns * std::max(1, ClientHeight() / CellSize().cy);
  switch (Key) {
    case VK_LEFT: return cur % columns > 0 ? cur - 1 : cur;
    case VK_RIGHT: return cur % columns < columns - 1 && cur + 1 < n ? cur + 1 : cur;
    case VK_UP: return cur - columns >= 0 ? cur - columns : cur;
    // Down from the row above a short last row lands on its last item.
    case VK_DOWN: return cur + columns < n ? cur + columns : (cur / columns < (n - 1) / columns ? n - 1 : cur);
    case VK_PRIOR: return cur - page >= 0 ? cur - page : cur % columns;
    default: return std::min(n - 1, cur + page);
  }
}

void TCustomListView::KeyDown(uint16_t& Key, TShiftState Shift) {
  TComponentRef<TControl> self(this);
  TCustomControl::KeyDown(Key, Shift);
  if (!self || Key == 0) return;
  if (Key == VK_F2) {
    Key = 0;
    if (focused_ >= 0) EditCaption(focused_);
    return;
  }
  if (Count() == 0) return;
  const bool ctrl = Shift.Contains(ssCtrl);
  if (Key == 'A' && ctrl && multiSelect_) {
    Key = 0;
    SelectAll();
    UserSelectionChanged();
    return;
  }
  if (Key == VK_SPACE && ctrl && multiSelect_ && focused_ >= 0) {
    Key = 0;
    SetSelectedQuiet(focused_, !Selected(focused_));
    anchor_ = focused_;
    UserSelectionChanged();
    return;
  }
  if (viewStyle_ == vsReport && (Key == VK_LEFT || Key == VK_RIGHT)) {
    Scroll(SB_HORZ, Key == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT, 0);
    Key = 0;
    return;
  }
  int target = KeyTarget(Key);
  if (target == kNoTarget) return;
  Key = 0;
  target = std::clamp(target, 0, Count() - 1);
  if (target == focused_ && (Selected(target) || (multiSelect_ && ctrl))) {
    MakeVisible(target);
    return;
  }
  MoveFocus(target, Shift);
  UserSelectionChanged();
}

int TCustomListView::FindCaption(const std::string& Prefix, int Start) {
  const int n = Count();
  if (n == 0 || Prefix.empty()) return -1;
  Start = ((Start % n) + n) % n;
  TComponentRef<TControl> self(this);
  if (ownerData_ && OnDataFind) {
    int found = -1;
    OnDataFind(this, Prefix, Start, found);
    return self && found >= 0 && found < Count() ? found : -1;
  }
  for (int k = 0; k < n; ++k) {
    const int i = (Start + k) % n;
    const TListItem item = FetchItem(i);
    if (!self) return -1;
    if (StartsWithNoCase(item.Caption, Prefix)) return i;
  }
  return -1;
}

void TCustomListView::KeyPress(char32_t& Key) {
  TComponentRef<TControl> self(this);
  TCustomControl::KeyPress(Key);
  if (!self || Key < 0x20 || Count() == 0) return;
  const std::string& prefix = search_.Add(Key, GetTickCount64());
  // A new search starts after the focused item, a longer prefix at it.
  const int start = prefix.size() == 1 || focused_ < 0 ? focused_ + 1 : focused_;
  const int found = FindCaption(prefix, start);
  if (!self || found < 0 || (found == focused_ && Selected(found))) return;
  MoveFocus(found, {});
  UserSelectionChanged();
}

void TCustomListView::WMSetFocus(TMessage& m) {
  TComponentRef<TControl> self(this);
  TCustomControl::WMSetFocus(m);
  if (self) InvalidateItem(focused_);
}

void TCustomListView::WMKillFocus(TMessage& m) {
  TComponentRef<TControl> self(this);
  TCustomControl::WMKillFocus(m);
  if (!self) return;
  if (drag_ == TDrag::Band) Invalidate();
  drag_ = TDrag::None;
  InvalidateItem(focused_);
}

// ---------------------------------------------------------------------------
// In-place rename

bool TCustomListView::EditCaption(int Index) {
  if (readOnly_ || Index < 0 || Index >= Count()) return false;
  TComponentRef<TControl> self(this);
  if (IsEditing()) {
    EndEdit(true);
    if (!self) return false;
  }
  bool allow = true;
  if (OnEditing) {
    OnEditing(this, Index, allow);
    if (!self) return false;
  }
  if (!allow || Index >= Count()) return false;
  MakeVisible(Index);
  const TListItem item = FetchItem(Index);
  if (!self) return false;
  if (!editor_) {
    editor_ = new TListViewEditor(*this);
    editor_->SetParent(this);
  }
  editing_ = Index;
  editor_->SetText(item.Caption);
  PlaceEditor();
  editor_->Show();
  editor_->SelectAll();
  editor_->SetFocus();
  return static_cast<bool>(self) && IsEditing();
}

void TCustomListView::PlaceEditor() {
  if (!IsEditing() || !editor_) return;
  const TRect label = DisplayRect(editing_, drLabel);
  if (label.IsEmpty()) return;  // scrolled away: it stays where it was
  const int h = TextHeight() + 6;
  const int top = viewStyle_ == vsIcon ? label.Top : label.Top + (label.Height() - h) / 2;
  editor_->SetBounds(label.Left, top, std::max(40, label.Width()), h);
}

void TCustomListView::EndEdit(bool Accept) {
  if (editing_ < 0 || !editor_) return;
  const int index = editing_;
  editing_ = -1;  // the focus change below must not end it again
  std::string text = editor_->Text();
  TComponentRef<TControl> self(this);
  if (editor_->Focused() && CanFocus()) {
    SetFocus();
    if (!self) return;
  }
  editor_->Hide();
  if (Accept) {
    bool accept = true;
    if (OnEdited) {
      OnEdited(this, index, text, accept);
      if (!self) return;
    }
    if (accept && !ownerData_ && index < Count()) items_[index].Caption = text;
  }
  InvalidateItem(index);
}

// Closes the editor without asking anyone: the item it named is moving.
void TCustomListView::DropEdit() {
  if (editing_ < 0) return;
  editing_ = -1;
  if (editor_) editor_->Hide();
}

// ---------------------------------------------------------------------------

QZ_PUBLISHED(TCustomListView, TCustomControl) {}

QZ_PUBLISHED(TListView, TCustomListView) {
  using O = TListView;
  b.Factory([](TComponent* owner) { return new TListView(owner); });
  b.Enum("ViewStyle", &O::ViewStyle, &O::SetViewStyle, vsIcon);
  b.Prop("MultiSelect", &O::MultiSelect, &O::SetMultiSelect, false);
  b.Prop("OwnerData", &O::OwnerData, &O::SetOwnerData, false);
  b.Prop("ReadOnly", &O::ReadOnly, &O::SetReadOnly, false);
  b.Prop("AutoArrange", &O::AutoArrange, &O::SetAutoArrange, true);
  b.Prop("ListColumnWidth", &O::ListColumnWidth, &O::SetListColumnWidth, 120);
  b.Prop("ShowColumnHeaders", &O::ShowColumnHeaders, &O::SetShowColumnHeaders, true);
  b.Ref<TCustomImageList>("LargeImages", &O::LargeImages, &O::SetLargeImages);
  b.Ref<TCustomImageList>("SmallImages", &O::SmallImages, &O::SetSmallImages);
  b.Event<TLVOwnerDataEvent>("OnData", &O::OnData);
  b.Event<TLVOwnerDataFindEvent>("OnDataFind", &O::OnDataFind);
  b.Event<TLVColumnClickEvent>("OnColumnClick", &O::OnColumnClick);
  b.Event<TLVEditingEvent>("OnEditing", &O::OnEditing);
  b.Event<TLVEditedEvent>("OnEdited", &O::OnEdited);
  b.Event<TLVCustomDrawItemEvent>("OnCustomDrawItem", &O::OnCustomDrawItem);
  b.Event<TNotifyEvent>("OnSelectionChange", &O::OnSelectionChange);
  b.Event<TNotifyEvent>("OnScrollStateChange", &O::OnScrollStateChange);
}

}  // namespace qz
