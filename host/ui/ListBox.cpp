#include "host/ui/ListBox.h"

#include <algorithm>

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

int CompareNoCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char x = AsciiLower(a[i]), y = AsciiLower(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}


constexpr int kWheelLines = 3;

}  // namespace

// ---------------------------------------------------------------------------
// TListBoxStrings

int TListBoxStrings::Count() const { return owner_.Count(); }

std::string TListBoxStrings::Get(int index) const {
  CheckIndex(index, Count());
  return owner_.items_[index].text;
}

void TListBoxStrings::Put(int index, const std::string& s) {
  CheckIndex(index, Count());
  if (owner_.sorted_) {
    // A sorted list keeps its order: the line moves to its new place.
    TObject* object = owner_.items_[index].object;
    const bool selected = owner_.items_[index].selected;
    const bool wasCurrent = owner_.itemIndex_ == index;
    owner_.DeleteItem(index);
    const int at = owner_.InsertItem(owner_.SortedPosition(s), s);
    owner_.items_[at].object = object;
    owner_.items_[at].selected = selected;
    if (wasCurrent) owner_.itemIndex_ = at;
  } else {
    owner_.items_[index].text = s;
    owner_.MeasureItem(index);
  }
  owner_.ItemsChanged();
}

TObject* TListBoxStrings::GetObject(int index) const {
  CheckIndex(index, Count());
  return owner_.items_[index].object;
}

void TListBoxStrings::PutObject(int index, TObject* object) {
  CheckIndex(index, Count());
  owner_.items_[index].object = object;
}

void TListBoxStrings::Insert(int index, const std::string& s) {
  CheckIndex(index, Count() + 1);
  owner_.InsertItem(index, s);
  owner_.ItemsChanged();
}

int TListBoxStrings::Add(const std::string& s) {
  const int at = owner_.InsertItem(owner_.sorted_ ? owner_.SortedPosition(s) : Count(), s);
  owner_.ItemsChanged();
  return at;
}

void TListBoxStrings::Delete(int index) {
  CheckIndex(index, Count());
  owner_.DeleteItem(index);
  owner_.ItemsChanged();
}

void TListBoxStrings::Clear() {
  owner_.ClearItems();
  owner_.ItemsChanged();
}

void TListBoxStrings::SetUpdateState(bool updating) {
  owner_.updateCount_ += updating ? 1 : -1;
  if (!updating) owner_.ItemsChanged();
}

// ---------------------------------------------------------------------------
// TCustomListBox: storage

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomControl(AOwner), strings_(std::make_unique<TListBoxStrings>(*this)) {
  SetBounds(0, 0, 121, 97);
  // Click comes from the selection, not from every press and release.
  controlStyle_.Exclude(csClickEvents);
  tabStop_ = true;
  color_ = clWindow;
}

TCustomListBox::~TCustomListBox() = default;

int TCustomListBox::InsertItem(int index, const std::string& s) {
  items_.insert(items_.begin() + index, TItem{s});
  if (itemIndex_ >= index) ++itemIndex_;
  if (anchor_ >= index) ++anchor_;
  MeasureItem(index);
  return index;
}

void TCustomListBox::DeleteItem(int index) {
  items_.erase(items_.begin() + index);
  if (itemIndex_ == index) itemIndex_ = -1;
  else if (itemIndex_ > index) --itemIndex_;
  if (anchor_ == index) anchor_ = -1;
  else if (anchor_ > index) --anchor_;
}

void TCustomListBox::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  anchor_ = -1;
  topIndex_ = 0;
  horzPosition_ = 0;
}

int TCustomListBox::SortedPosition(const std::string& s) const {
  auto it = std::upper_bound(items_.begin(), items_.end(), s, [](const std::string& v, const TItem& i) {
    return CompareNoCase(v, i.text) < 0;
  });
  return static_cast<int>(it - items_.begin());
}

void TCustomListBox::MeasureItem(int index) {
  if (style_ != lbOwnerDrawVariable) return;
  int h = itemHeight_;
  if (OnMeasureItem) OnMeasureItem(this, index, h);
  items_[index].height = std::max(1, h);
}

void TCustomListBox::ItemsChanged() {
  if (updateCount_ > 0) return;
  topIndex_ = ClampTop(topIndex_);
  Invalidate();
  TComponentRef<TControl> self(this);
  if (NotifyScrollState() && self) ItemsAltered();
}

// ---------------------------------------------------------------------------
// Selection

void TCustomListBox::SetItemIndex(int V) {
  if (V < -1 || V >= Count()) V = -1;
  if (!multiSelect_) {
    if (itemIndex_ >= 0) items_[itemIndex_].selected = false;
    if (V >= 0) items_[V].selected = true;
  }
  if (V == itemIndex_) return;
  InvalidateItem(itemIndex_);
  itemIndex_ = V;
  anchor_ = V;
  InvalidateItem(V);
  if (V >= 0) MakeVisible(V);
}

bool TCustomListBox::Selected(int Index) const {
  return Index >= 0 && Index < Count() && items_[Index].selected;
}

void TCustomListBox::SetSelected(int Index, bool V) {
  if (Index < 0 || Index >= Count()) return;
  if (!multiSelect_) {
    if (V) SetItemIndex(Index);
    else if (Index == itemIndex_) SetItemIndex(-1);
    return;
  }
  if (items_[Index].selected == V) return;
  items_[Index].selected = V;
  InvalidateItem(Index);
}

int TCustomListBox::SelCount() const {
  if (!multiSelect_) return itemIndex_ >= 0 ? 1 : 0;
  return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const TItem& i) { return i.selected; }));
}

void TCustomListBox::ClearSelection() {
  for (auto& i : items_) i.selected = false;
  if (!multiSelect_) itemIndex_ = -1;
  Invalidate();
}

void TCustomListBox::SelectAll() {
  if (!multiSelect_) return;
  for (auto& i : items_) i.selected = true;
  Invalidate();
}

void TCustomListBox::SetMultiSelect(bool V) {
  if (multiSelect_ == V) return;
  multiSelect_ = V;
  // Only the current item stays selected across the switch.
  for (int i = 0; i < Count(); ++i) items_[i].selected = i == itemIndex_;
  Invalidate();
}

void TCustomListBox::SetSorted(bool V) {
  if (sorted_ == V) return;
  sorted_ = V;
  if (!V || items_.empty()) return;
  // Sort an index permutation so the current item is found again.
  std::vector<int> order(items_.size());
  for (int i = 0; i < Count(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [this](int a, int b) { return CompareNoCase(items_[a].text, items_[b].text) < 0; });
  std::vector<TItem> sorted;
  sorted.reserve(items_.size());
  int newIndex = -1;
  for (int i = 0; i < Count(); ++i) {
    if (order[i] == itemIndex_) newIndex = i;
    sorted.push_back(std::move(items_[order[i]]));
  }
  items_ = std::move(sorted);
  itemIndex_ = anchor_ = newIndex;
  ItemsChanged();
}

void TCustomListBox::SelectRange(int from, int to, bool clearOthers) {
  if (from > to) std::swap(from, to);
  from = std::max(from, 0);
  if (clearOthers)
    for (auto& i : items_) i.selected = false;
  for (int i = from; i <= to && i < Count(); ++i) items_[i].selected = true;
  Invalidate();
}

void TCustomListBox::MoveCaret(int Index, TShiftState Shift) {
  if (Count() == 0) return;
  Index = std::clamp(Index, 0, Count() - 1);
  if (!multiSelect_) {
    SetItemIndex(Index);
    return;
  }
  const int anchor = anchor_ >= 0 ? anchor_ : Index;
  InvalidateItem(itemIndex_);
  itemIndex_ = Index;
  if (extendedSelect_ && Shift.Contains(ssShift)) {
    SelectRange(anchor, Index, !Shift.Contains(ssCtrl));
    anchor_ = anchor;
  } else if (extendedSelect_ && !Shift.Contains(ssCtrl)) {
    SelectRange(Index, Index, true);
    anchor_ = Index;
  } else {
    // Ctrl in an extended list and every move in a plain multiple list
    // only move the caret.
    anchor_ = Index;
    InvalidateItem(Index);
  }
  MakeVisible(Index);
}

bool TCustomListBox::UserSelectionChanged() {
  TComponentRef<TControl> self(this);
  Click();
  return static_cast<bool>(self);
}

// ---------------------------------------------------------------------------
// Looks and scrolling

void TCustomListBox::SetStyle(TListBoxStyle V) {
  if (style_ == V) return;
  style_ = V;
  for (int i = 0; i < Count(); ++i) MeasureItem(i);
  ItemsChanged();
}

void TCustomListBox::SetItemHeight(int V) {
  if (V < 1 || V == itemHeight_) return;
  itemHeight_ = V;
  ItemsChanged();
}

int TCustomListBox::ItemHeightOf(int Index) const {
  if (style_ == lbOwnerDrawVariable && Index >= 0 && Index < Count()) return items_[Index].height;
  return itemHeight_;
}

int TCustomListBox::RowsFittingFrom(int first) const {
  if (style_ != lbOwnerDrawVariable) return std::max(1, ClientHeight() / itemHeight_);
  int rows = 0;
  for (int y = 0, i = first; i < Count(); ++i, ++rows) {
    y += items_[i].height;
    if (y > ClientHeight()) break;
  }
  return std::max(1, rows);
}

int TCustomListBox::VisibleRowCount() const {
  if (Count() == 0) return 0;
  if (ColumnMode()) return ColumnRows();
  return std::min(RowsFittingFrom(topIndex_), Count() - topIndex_);
}

int TCustomListBox::MaxTopIndex() const {
  if (Count() == 0) return 0;
  if (ColumnMode()) return std::max(0, ColumnTotal() - columns_) * ColumnRows();
  if (style_ != lbOwnerDrawVariable) return std::max(0, Count() - RowsFittingFrom(0));
  // Walk back from the last item while the items still fit.
  int first = Count() - 1;
  for (int y = items_[first].height; first > 0 && y + items_[first - 1].height <= ClientHeight();) {
    --first;
    y += items_[first].height;
  }
  return first;
}

int TCustomListBox::ClampTop(int V) const {
  V = std::clamp(V, 0, MaxTopIndex());
  if (ColumnMode()) V -= V % ColumnRows();
  return V;
}

void TCustomListBox::SetTopIndex(int V) {
  V = ClampTop(V);
  if (V == topIndex_) return;
  topIndex_ = V;
  Invalidate();
  NotifyScrollState();
}

void TCustomListBox::SetHorizontalExtent(int V) {
  V = std::max(0, V);
  if (V == horizontalExtent_) return;
  horizontalExtent_ = V;
  horzPosition_ = std::clamp(horzPosition_, 0, std::max(0, V - ClientWidth()));
  Invalidate();
  NotifyScrollState();
}

void TCustomListBox::SetHorzPosition(int V) {
  V = std::clamp(V, 0, std::max(0, horizontalExtent_ - ClientWidth()));
  if (V == horzPosition_) return;
  horzPosition_ = V;
  Invalidate();
  NotifyScrollState();
}

TListScrollInfo TCustomListBox::VertScrollInfo() const {
  TListScrollInfo info;
  if (ColumnMode() || MaxTopIndex() == 0) return info;
  info.Max = Count() - 1;
  info.Page = RowsFittingFrom(topIndex_);
  info.Position = topIndex_;
  return info;
}

TListScrollInfo TCustomListBox::HorzScrollInfo() const {
  TListScrollInfo info;
  if (ColumnMode()) {
    // Counted in columns: the page is the columns on screen.
    if (ColumnTotal() <= columns_) return info;
    info.Max = ColumnTotal() - 1;
    info.Page = columns_;
    info.Position = topIndex_ / ColumnRows();
    return info;
  }
  if (horizontalExtent_ <= ClientWidth()) return info;
  info.Max = horizontalExtent_ - 1;
  info.Page = ClientWidth();
  info.Position = horzPosition_;
  return info;
}

void TCustomListBox::MakeVisible(int Index) {
  if (Index < 0 || Index >= Count()) return;
  if (ColumnMode()) {
    const int rows = ColumnRows(), column = Index / rows, first = topIndex_ / rows;
    if (column < first) SetTopIndex(column * rows);
    else if (column >= first + columns_) SetTopIndex((column - columns_ + 1) * rows);
    return;
  }
  if (Index < topIndex_) {
    SetTopIndex(Index);
    return;
  }
  if (style_ != lbOwnerDrawVariable) {
    const int rows = RowsFittingFrom(0);
    if (Index >= topIndex_ + rows) SetTopIndex(Index - rows + 1);
    return;
  }
  int first = Index;
  for (int y = items_[first].height; first > topIndex_ && y + items_[first - 1].height <= ClientHeight();) {
    --first;
    y += items_[first].height;
  }
  if (first > topIndex_) SetTopIndex(first);
}

bool TCustomListBox::NotifyScrollState() {
  const TListScrollInfo vert = VertScrollInfo(), horz = HorzScrollInfo();
  if (vert == toldVert_ && horz == toldHorz_) return true;
  toldVert_ = vert;
  toldHorz_ = horz;
  TComponentRef<TControl> self(this);
  ScrollStateChanged();
  return static_cast<bool>(self);
}

void TCustomListBox::ScrollStateChanged() {
  if (OnScrollStateChange) OnScrollStateChange(this);
}

int TCustomListBox::LineWidth() const {
  TCanvas measure;
  measure.SetFont(Font());
  return std::max(1, measure.TextWidth("0"));
}

void TCustomListBox::Scroll(int bar, int code, int pos) {
  if (bar == SB_VERT) {
    const int page = std::max(1, VertScrollInfo().Page);
    switch (code) {
      case SB_LINEUP: SetTopIndex(topIndex_ - 1); break;
      case SB_LINEDOWN: SetTopIndex(topIndex_ + 1); break;
      case SB_PAGEUP: SetTopIndex(topIndex_ - page); break;
      case SB_PAGEDOWN: SetTopIndex(topIndex_ + page); break;
      case SB_THUMBPOSITION: case SB_THUMBTRACK: SetTopIndex(pos); break;
      case SB_TOP: SetTopIndex(0); break;
      case SB_BOTTOM: SetTopIndex(Count()); break;
      default: break;
    }
    return;
  }
  if (ColumnMode()) {
    // Sideways by whole columns.
    const int rows = ColumnRows(), column = topIndex_ / rows;
    switch (code) {
      case SB_LINELEFT: SetTopIndex((column - 1) * rows); break;
      case SB_LINERIGHT: SetTopIndex((column + 1) * rows); break;
      case SB_PAGELEFT: SetTopIndex((column - columns_) * rows); break;
      case SB_PAGERIGHT: SetTopIndex((column + columns_) * rows); break;
      case SB_THUMBPOSITION: case SB_THUMBTRACK: SetTopIndex(pos * rows); break;
      case SB_LEFT: SetTopIndex(0); break;
      case SB_RIGHT: SetTopIndex(Count()); break;
      default: break;
    }
    return;
  }
  const int line = LineWidth();
  switch (code) {
    case SB_LINELEFT: SetHorzPosition(horzPosition_ - line); break;
    case SB_LINERIGHT: SetHorzPosition(horzPosition_ + line); break;
    case SB_PAGELEFT: SetHorzPosition(horzPosition_ - ClientWidth()); break;
    case SB_PAGERIGHT: SetHorzPosition(horzPosition_ + ClientWidth()); break;
    case SB_THUMBPOSITION: case SB_THUMBTRACK: SetHorzPosition(pos); break;
    case SB_LEFT: SetHorzPosition(0); break;
    case SB_RIGHT: SetHorzPosition(horizontalExtent_); break;
    default: break;
  }
}

// ---------------------------------------------------------------------------
// Geometry

TRect TCustomListBox::ItemRect(int Index) const {
  if (Index < topIndex_ || Index >= Count()) return {};
  if (ColumnMode()) return ColumnItemRect(Index);
  const int width = std::max(ClientWidth(), horizontalExtent_);
  int y = 0;
  for (int i = topIndex_; i < Index; ++i) {
    y += ItemHeightOf(i);
    if (y >= ClientHeight()) return {};
  }
  return {-horzPosition_, y, width - horzPosition_, y + ItemHeightOf(Index)};
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
  if (Pos.X < 0 || Pos.X >= ClientWidth() || Pos.Y < 0 || Pos.Y >= ClientHeight()) return -1;
  if (ColumnMode()) return ColumnItemAtPos(Pos, Existing);
  int y = 0;
  for (int i = topIndex_; i < Count(); ++i) {
    y += ItemHeightOf(i);
    if (Pos.Y < y) return i;
    if (y >= ClientHeight()) break;
  }
  return Existing ? -1 : Count();
}

int TCustomListBox::FindPrefix(const std::string& Prefix, int From) const {
  const int n = Count();
  if (n == 0 || Prefix.empty()) return -1;
  const int start = Prefix.size() == 1 ? From + 1 : std::max(From, 0);
  for (int k = 0; k < n; ++k) {
    const int i = ((start + k) % n + n) % n;
    if (StartsWithNoCase(items_[i].text, Prefix)) return i;
  }
  return -1;
}

// ---------------------------------------------------------------------------
// Columns

void TCustomListBox::SetColumns(int V) {
  V = std::max(0, V);
  if (V == columns_) return;
  columns_ = V;
  horzPosition_ = 0;
  topIndex_ = ClampTop(topIndex_);
  Invalidate();
  NotifyScrollState();
}

int TCustomListBox::ColumnRows() const { return std::max(1, ClientHeight() / itemHeight_); }

int TCustomListBox::ColumnWidth() const { return std::max(1, ClientWidth() / columns_); }

int TCustomListBox::ColumnTotal() const {
  const int rows = ColumnRows();
  return (Count() + rows - 1) / rows;
}

TRect TCustomListBox::ColumnItemRect(int Index) const {
  const int rows = ColumnRows(), offset = Index - topIndex_;
  const int column = offset / rows, row = offset % rows;
  if (column >= columns_) return {};
  const int w = ColumnWidth();
  return {column * w, row * itemHeight_, (column + 1) * w, (row + 1) * itemHeight_};
}

// Only whole rows and the Columns columns hold items; the strips beyond
// them hold none.
int TCustomListBox::ColumnItemAtPos(TPoint Pos, bool Existing) const {
  const int rows = ColumnRows(), column = Pos.X / ColumnWidth(), row = Pos.Y / itemHeight_;
  if (column >= columns_ || row >= rows) return -1;
  const int i = topIndex_ + column * rows + row;
  if (i < Count()) return i;
  return Existing ? -1 : Count();
}

// Dragging past the left or right edge reaches into the column beyond,
// which MakeVisible then scrolls in; the row follows the pointer.
int TCustomListBox::ColumnTrackTarget(int X, int Y) const {
  const int rows = ColumnRows();
  const int row = std::clamp(Y / itemHeight_ - (Y < 0 ? 1 : 0), 0, rows - 1);
  int column = X < 0 ? -1 : X / ColumnWidth();
  column = std::min(column, columns_);
  return std::clamp(topIndex_ + column * rows + row, 0, Count() - 1);
}

void TCustomListBox::PaintColumns(const TRect& clip) {
  TComponentRef<TControl> self(this);
  const int rows = ColumnRows(), w = ColumnWidth(), h = itemHeight_;
  for (int column = 0; column < columns_; ++column) {
    const int first = topIndex_ + column * rows;
    const TRect strip{column * w, 0, (column + 1) * w, ClientHeight()};
    if (strip.Right <= clip.Left || strip.Left >= clip.Right) continue;
    int y = 0;
    for (int i = first; i < Count() && i < first + rows; ++i, y += h) {
      const TRect r{strip.Left, y, strip.Right, y + h};
      if (r.Bottom <= clip.Top || r.Top >= clip.Bottom) continue;
      const int saved = Canvas().SaveDC();
      Canvas().IntersectClipRect(r);
      DrawItem(i, r, ItemState(i));
      if (!self) return;
      Canvas().RestoreDC(saved);
    }
    if (y < ClientHeight()) PaintBackground({strip.Left, y, strip.Right, ClientHeight()});
    if (!self) return;
  }
  if (columns_ * w < ClientWidth()) PaintBackground({columns_ * w, 0, ClientWidth(), ClientHeight()});
}

// ---------------------------------------------------------------------------
// Painting

void TCustomListBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WindowClassStyle |= CS_DBLCLKS;
}

TOwnerDrawState TCustomListBox::ItemState(int Index) const {
  TOwnerDrawState state;
  if (Selected(Index)) state.Include(odSelected);
  if (!Enabled()) state.Include(odDisabled);
  if (Index == itemIndex_ && const_cast<TCustomListBox*>(this)->Focused()) state.Include(odFocused);
  return state;
}

void TCustomListBox::Paint() {
  TComponentRef<TControl> self(this);
  const TRect clip = Canvas().ClipRect();
  if (ColumnMode()) {
    PaintColumns(clip);
    return;
  }
  const int width = std::max(ClientWidth(), horizontalExtent_);
  int y = 0;
  for (int i = topIndex_; i < Count() && y < ClientHeight(); ++i) {
    const int h = ItemHeightOf(i);
    const TRect r{-horzPosition_, y, width - horzPosition_, y + h};
    y += h;
    if (r.Bottom <= clip.Top || r.Top >= clip.Bottom) continue;
    const int saved = Canvas().SaveDC();
    Canvas().IntersectClipRect(r);
    DrawItem(i, r, ItemState(i));
    if (!self) return;
    Canvas().RestoreDC(saved);
  }
  if (y < ClientHeight()) PaintBackground({0, y, ClientWidth(), ClientHeight()});
}

void TCustomListBox::PaintBackground(const TRect& Rect) {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(Rect);
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas& c = Canvas();
  c.SetFont(Font());
  if (State.Contains(odSelected)) {
    c.Brush().SetColor(clHighlight);
    c.Font().SetColor(clHighlightText);
  } else {
    c.Brush().SetColor(Color());
  }
  if (style_ != lbStandard && OnDrawItem) {
    TComponentRef<TControl> self(this);
    OnDrawItem(this, Index, Rect, State);
    if (!self) return;
  } else {
    c.FillRect(Rect);
    const int textY = Rect.Top + (Rect.Height() - c.TextHeight(items_[Index].text)) / 2;
    c.TextRect(Rect, Rect.Left + 2, textY, items_[Index].text);
  }
  if (State.Contains(odFocused)) c.DrawFocusRect(Rect);
}

void TCustomListBox::InvalidateItem(int index) {
  if (!HandleAllocated() || index < 0) return;
  const TRect r = ItemRect(index);
  if (!r.IsEmpty()) InvalidateRect(Handle(), &r, false);
}

void TCustomListBox::Resize() {
  TComponentRef<TControl> self(this);
  TCustomControl::Resize();
  if (!self) return;
  topIndex_ = ClampTop(topIndex_);
  horzPosition_ = std::clamp(horzPosition_, 0, std::max(0, horizontalExtent_ - ClientWidth()));
  Invalidate();
  NotifyScrollState();
}

// ---------------------------------------------------------------------------
// Input

void TCustomListBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_VSCROLL: case WM_HSCROLL: {
      // The 16-bit thumb position of WParam cannot name items past 65535:
      // a sender may pass the whole position in LParam.
      const int code = LOWORD(m.WParam);
      const int pos = m.LParam != 0 ? static_cast<int>(m.LParam) : HIWORD(m.WParam);
      Scroll(m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, code, pos);
      m.Result = 0;
      return;
    }
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<int16_t>(HIWORD(m.WParam));
      if (ColumnMode()) {
        // A notch moves one column (a partial notch still moves one).
        const int columns = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : delta < 0 ? -1 : 0);
        SetTopIndex(topIndex_ - columns * ColumnRows());
      } else if (MaxTopIndex() > 0) SetTopIndex(topIndex_ - delta * kWheelLines / 120);
      else SetHorzPosition(horzPosition_ - delta * LineWidth() / 120);
      m.Result = 1;
      return;
    }
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TControl> self(this);
  if (Button == mbLeft && CanFocus() && !Focused()) {
    SetFocus();
    if (!self) return;
  }
  if (Button == mbLeft) {
    const int i = ItemAtPos({X, Y}, true);
    if (i >= 0) {
      tracking_ = true;
      if (multiSelect_ && !extendedSelect_) {
        SetSelected(i, !Selected(i));
        InvalidateItem(itemIndex_);
        itemIndex_ = anchor_ = i;
        InvalidateItem(i);
      } else if (multiSelect_ && Shift.Contains(ssCtrl) && !Shift.Contains(ssShift)) {
        SetSelected(i, !Selected(i));
        InvalidateItem(itemIndex_);
        itemIndex_ = anchor_ = i;
        InvalidateItem(i);
      } else {
        MoveCaret(i, Shift);
      }
      if (!UserSelectionChanged()) return;
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
  TComponentRef<TControl> self(this);
  if (tracking_ && Shift.Contains(ssLeft) && Count() > 0 && !(multiSelect_ && !extendedSelect_)) {
    // Dragging past the edges scrolls one item on.
    int i = ItemAtPos({std::clamp(X, 0, ClientWidth() - 1), Y}, true);
    if (ColumnMode()) i = ColumnTrackTarget(X, Y);
    else if (Y < 0) i = std::max(0, topIndex_ - 1);
    else if (Y >= ClientHeight()) i = std::min(Count() - 1, topIndex_ + VisibleRowCount());
    if (i >= 0 && i != itemIndex_) {
      TShiftState s = Shift;
      if (multiSelect_) s.Include(ssShift);
      MoveCaret(i, s);
      if (!UserSelectionChanged()) return;
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) tracking_ = false;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

// A drag that starts from a press ends the press's item tracking: the list
// hears nothing more of the button.
void TCustomListBox::DoStartDrag(TDragObject*& DragObject) {
  tracking_ = false;
  TCustomControl::DoStartDrag(DragObject);
}

void TCustomListBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  TComponentRef<TControl> self(this);
  TCustomControl::KeyDown(Key, Shift);
  if (!self || Key == 0 || Count() == 0) return;
  const int current = itemIndex_;
  // Across columns Left and Right keep the row; a page is the columns on
  // screen.
  const int across = ColumnMode() ? ColumnRows() : 1;
  const int page = ColumnMode() ? ColumnRows() * columns_ + 1 : std::max(1, VisibleRowCount());
  int target = -2;
  switch (Key) {
    case VK_UP: target = current < 0 ? 0 : current - 1; break;
    case VK_DOWN: target = current < 0 ? 0 : current + 1; break;
    case VK_LEFT: target = current < 0 ? 0 : current - across; break;
    case VK_RIGHT: target = current < 0 ? 0 : current + across; break;
    case VK_PRIOR: target = current < 0 ? 0 : current - (page - 1); break;
    case VK_NEXT: target = current < 0 ? 0 : current + (page - 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = Count() - 1; break;
    case VK_SPACE:
      if (multiSelect_ && current >= 0 && (!extendedSelect_ || Shift.Contains(ssCtrl))) {
        SetSelected(current, !Selected(current));
        UserSelectionChanged();
        Key = 0;
      }
      return;
    default: return;
  }
  Key = 0;
  target = std::clamp(target, 0, Count() - 1);
  const bool before = Selected(target);
  if (target == current && before) return;
  MoveCaret(target, Shift);
  UserSelectionChanged();
}

void TCustomListBox::KeyPress(char32_t& Key) {
  TComponentRef<TControl> self(this);
  TCustomControl::KeyPress(Key);
  if (!self || Key < 0x20 || Count() == 0) return;
  const int found = FindPrefix(search_.Add(Key, GetTickCount64()), itemIndex_);
  if (found < 0 || found == itemIndex_) return;
  MoveCaret(found, {});
  UserSelectionChanged();
}

void TCustomListBox::WMSetFocus(TMessage& m) {
  TComponentRef<TControl> self(this);
  TCustomControl::WMSetFocus(m);
  if (self) InvalidateItem(itemIndex_);
}

void TCustomListBox::WMKillFocus(TMessage& m) {
  TComponentRef<TControl> self(this);
  TCustomControl::WMKillFocus(m);
  if (!self) return;
  tracking_ = false;
  InvalidateItem(itemIndex_);
}

// ---------------------------------------------------------------------------

QZ_PUBLISHED(TCustomListBox, TCustomControl) {}

QZ_PUBLISHED(TListBox, TCustomListBox) {
  using O = TListBox;
  b.Factory([](TComponent* owner) { return new TListBox(owner); });
  b.Enum("Style", &O::Style, &O::SetStyle, lbStandard);
  b.Prop("ItemHeight", &O::ItemHeight, &O::SetItemHeight, 16);
  b.Prop("MultiSelect", &O::MultiSelect, &O::SetMultiSelect, false);
  b.Prop("ExtendedSelect", &O::ExtendedSelect, &O::SetExtendedSelect, true);
  b.Prop("Sorted", &O::Sorted, &O::SetSorted, false);
  b.Prop("HorizontalExtent", &O::HorizontalExtent, &O::SetHorizontalExtent, 0);
  b.Prop("Columns", &O::Columns, &O::SetColumns, 0);
  b.Strings("Items", [](O& o) -> TStrings& { return o.Items(); });
  b.Prop("ItemIndex", &O::ItemIndex, &O::SetItemIndex, -1);
  b.Event<TDrawItemEvent>("OnDrawItem", &O::OnDrawItem);
  b.Event<TMeasureItemEvent>("OnMeasureItem", &O::OnMeasureItem);
  b.Event<TNotifyEvent>("OnScrollStateChange", &O::OnScrollStateChange);
}


const std::string& TTypedPrefix::Add(char32_t key, uint64_t now) {
  if (now - lastTick_ >= kListSearchPauseMs) text_.clear();
  lastTick_ = now;
  text_ += EncodeUtf8(std::u32string_view(&key, 1));
  return text_;
}

}  // namespace qz
