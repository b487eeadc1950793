// The host's list box: a scrolling column of text items (each may carry an
// object), single or multiple selection, optional owner drawing.
//
// The list keeps its own scroll state: TopIndex is the vertical position
// (in items) and HorzPosition the horizontal one (in pixels, up to
// HorizontalExtent). With Columns > 0 the items flow top to bottom and then
// into the next column instead; the list then scrolls sideways by whole
// columns (TopIndex is always the first item of a column) and the
// horizontal scroll state counts columns. It draws no scroll bars of its own; whoever shows bars
// reads VertScrollInfo / HorzScrollInfo and hears of changes through
// ScrollStateChanged / OnScrollStateChange, and drives the list back with
// WM_VSCROLL / WM_HSCROLL. Painting and hit testing only look at the items
// that are on screen, so the list stays cheap with very many items.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/components/Strings.h"
#include "host/ui/Controls.h"

namespace qz {

class TCustomListBox;

// Scroll request codes of WM_VSCROLL / WM_HSCROLL (LOWORD of WParam; the
// position of the thumb codes is in HIWORD).
enum : int {
  SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2,
  SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5,
  SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8,
};
// The two scroll axes.
enum : int { SB_HORZ = 0, SB_VERT = 1 };

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
using enum TListBoxStyle;
QZ_ENUM(TListBoxStyle, "lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable");

enum class TOwnerDrawStateFlag { odSelected, odGrayed, odDisabled, odChecked, odFocused };
using enum TOwnerDrawStateFlag;
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;

// Draws item Index into Rect of the list's Canvas (brush and font already
// set for the item's state).
using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
// Asks the height of item Index (variable owner draw); Height holds the
// list's ItemHeight on entry.
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// The state of one scroll axis as a bar shows it: Min..Max, the page and
// the position. Max < Min means nothing to scroll.
struct TListScrollInfo {
  int Min = 0, Max = -1, Page = 0, Position = 0;
  bool operator==(const TListScrollInfo&) const = default;
};

// Characters typed closer together than this build one search prefix.
inline constexpr unsigned kListSearchPauseMs = 500;

// What the user typed for type-to-select in a list: a key typed within the
// pause of the one before extends the prefix, a later one starts it anew.
class TTypedPrefix {
 public:
  // Adds the key typed at `now` (milliseconds) and returns the prefix.
  const std::string& Add(char32_t key, uint64_t now);
  bool Empty() const { return text_.empty(); }

 private:
  std::string text_;
  uint64_t lastTick_ = 0;
};

// The items of a list box: a TStrings view on the list's own storage.
class TListBoxStrings : public TStrings {
  QZ_CLASS(TListBoxStrings, TStrings)
 public:
  explicit TListBoxStrings(TCustomListBox& owner) : owner_(owner) {}
  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  // A sorted list inserts in order.
  int Add(const std::string& s) override;

 protected:
  void SetUpdateState(bool updating) override;

 private:
  TCustomListBox& owner_;
};

class TCustomListBox : public TCustomControl {
  QZ_CLASS(TCustomListBox, TCustomControl)
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  // ---- items
  TStrings& Items() { return *strings_; }
  const TStrings& Items() const { return *strings_; }
  void SetItems(const TStrings& V) { strings_->Assign(V); }
  int Count() const { return static_cast<int>(items_.size()); }
  void Clear() { strings_->Clear(); }

  // ---- selection
  // The focused item (the caret in a multiple selection); -1 for none. In a
  // single selection it is also the selected item.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int V);
  bool Selected(int Index) const;
  void SetSelected(int Index, bool V);
  int SelCount() const;
  void ClearSelection();
  void SelectAll();
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool V);
  // With MultiSelect: Shift selects ranges, Ctrl adds single items.
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool V) { extendedSelect_ = V; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool V);

  // ---- looks
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle V);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int V);
  // The height of one item (the measured one in variable owner draw).
  int ItemHeightOf(int Index) const;

  // Items flow into this many columns, each ClientWidth / Columns wide and
  // as many whole rows high as fit; 0 is the ordinary single column.
  int Columns() const { return columns_; }
  void SetColumns(int V);

  // ---- scrolling
  int TopIndex() const { return topIndex_; }
  // Clamped so that the last page stays full; with columns, rounded down to
  // the first item of its column.
  void SetTopIndex(int V);
  // The width in pixels the items may take; wider than the client lets the
  // list scroll horizontally. 0: no horizontal scrolling.
  int HorizontalExtent() const { return horizontalExtent_; }
  void SetHorizontalExtent(int V);
  int HorzPosition() const { return horzPosition_; }
  void SetHorzPosition(int V);
  // Items that fit whole below TopIndex (at least 1 while there are items);
  // with columns, the rows of one column.
  int VisibleRowCount() const;
  // The largest TopIndex: the last item sits at the bottom.
  int MaxTopIndex() const;
  TListScrollInfo VertScrollInfo() const;
  TListScrollInfo HorzScrollInfo() const;
  // Scrolls as little as needed to show the item whole.
  void MakeVisible(int Index);

  // ---- geometry
  // The item's rectangle in client coordinates (empty when not on screen).
  TRect ItemRect(int Index) const;
  // The item under a client point; with Existing false a point below the
  // last item answers Count(); -1 when nothing.
  int ItemAtPos(TPoint Pos, bool Existing) const;

  // ---- events
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  TNotifyEvent OnScrollStateChange;

  // The search a typed character runs: a one-character prefix from the item
  // after From (wrapping), a longer one from From itself; case-insensitive.
  // -1 when no item starts with it.
  int FindPrefix(const std::string& Prefix, int From) const;

 protected:
  friend class TListBoxStrings;

  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& m) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoStartDrag(TDragObject*& DragObject) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void Resize() override;
  void WMSetFocus(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;

  // Draws one item: OnDrawItem for owner-drawn lists, else the text.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  // The background below the last item.
  virtual void PaintBackground(const TRect& Rect);
  // The scroll state (VertScrollInfo, HorzScrollInfo) changed; fires
  // OnScrollStateChange. May run user code that frees the list.
  virtual void ScrollStateChanged();
  // The state an item is drawn in.
  TOwnerDrawState ItemState(int Index) const;
  // Items were added, removed or changed (after a batch: once).
  virtual void ItemsAltered() {}
  // The selection changed by the user: fires OnClick. False when the list
  // was freed.
  bool UserSelectionChanged();

  // Tells ScrollStateChanged when the scroll state differs from the last
  // one told. False when the list was freed.
  bool NotifyScrollState();

 private:
  struct TItem {
    std::string text;
    TObject* object = nullptr;
    bool selected = false;
    int height = 0;  // variable owner draw only
  };

  // Storage operations used by TListBoxStrings.
  int InsertItem(int index, const std::string& s);
  void DeleteItem(int index);
  void ClearItems();
  void ItemsChanged();
  int SortedPosition(const std::string& s) const;
  void MeasureItem(int index);

  void InvalidateItem(int index);
  // Moves the caret to Index by a user action with Shift / Ctrl.
  void MoveCaret(int Index, TShiftState Shift);
  void SelectRange(int from, int to, bool clearOthers);
  void Scroll(int bar, int code, int pos);
  int RowsFittingFrom(int first) const;
  int LineWidth() const;
  // V clamped to the scroll range (and to a column's first item).
  int ClampTop(int V) const;
  // Column layout: whole rows a column holds (at least 1), a column's
  // width, and the columns all items take.
  bool ColumnMode() const { return columns_ > 0; }
  int ColumnRows() const;
  int ColumnWidth() const;
  int ColumnTotal() const;
  TRect ColumnItemRect(int Index) const;
  int ColumnItemAtPos(TPoint Pos, bool Existing) const;
  void PaintColumns(const TRect& clip);
  // The item a drag outside the client reaches in column mode.
  int ColumnTrackTarget(int X, int Y) const;

  std::unique_ptr<TListBoxStrings> strings_;
  std::vector<TItem> items_;
  int itemIndex_ = -1;
  int anchor_ = -1;
  int topIndex_ = 0;
  int itemHeight_ = 16;
  int horizontalExtent_ = 0;
  int horzPosition_ = 0;
  int columns_ = 0;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  bool sorted_ = false;
  TListBoxStyle style_ = lbStandard;
  int updateCount_ = 0;
  bool tracking_ = false;   // left button held since a press on the list
  TTypedPrefix search_;
  TListScrollInfo toldVert_, toldHorz_;
};

// The published list box.
class TListBox : public TCustomListBox {
  QZ_CLASS(TListBox, TCustomListBox)
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

}  // namespace qz
