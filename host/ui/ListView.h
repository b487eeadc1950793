// The host's list view: items with an image and a caption (and, in the
// report style, sub-items under columns with a header) shown as large icons,
// small icons, a list of columns or a report.
//
// Items are kept by the view, or, with OwnerData, by the program: the view
// then knows only their number (SetItemCount) and asks OnData for the rows
// it paints, never for others. Geometry is computed, not stored: every cell
// of a style has one size, so the rows on screen and the item under a point
// follow by arithmetic, and painting, hit testing and the in-place editor
// all read the same rectangles (DisplayRect). Only the icon styles without
// AutoArrange keep a position per item.
//
// Like the list box the view draws no scroll bars: VertScrollInfo and
// HorzScrollInfo give its scroll state (rows and pixels in the report
// style, columns in the list style, pixels in the icon styles),
// OnScrollStateChange tells of changes, and WM_VSCROLL / WM_HSCROLL drive it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ui/Edit.h"
#include "host/ui/ImgList.h"
#include "host/ui/ListBox.h"

namespace qz {

class TCustomListView;

// A list view operation named an item that does not exist, or one the
// view's kind of data does not support.
class EListViewError : public Exception {
 public:
  using Exception::Exception;
};

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
using enum TViewStyle;
QZ_ENUM(TViewStyle, "vsIcon", "vsSmallIcon", "vsList", "vsReport");

// The parts of an item DisplayRect answers: the whole item (what a click
// hits), its image, its caption.
enum class TDisplayCode { drBounds, drIcon, drLabel };
using enum TDisplayCode;

// One row of the view. With OwnerData the view hands OnData an item with
// Index set and the rest empty, to be filled in.
struct TListItem {
  int Index = -1;
  std::string Caption;
  int ImageIndex = -1;
  std::vector<std::string> SubItems;
  TObject* Data = nullptr;
};

struct TListColumn {
  std::string Caption;
  int Width = 50;
};

using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem& Item)>;
// Asks the owner of the data for the first item from Start on (wrapping)
// whose caption starts with Prefix, case-insensitively; Found -1 for none.
using TLVOwnerDataFindEvent =
    std::function<void(TObject* Sender, const std::string& Prefix, int Start, int& Found)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, int Column)>;
using TLVEditingEvent = std::function<void(TObject* Sender, int Index, bool& AllowEdit)>;
// The in-place editor closed with Enter or lost the focus: S holds the new
// caption; Accept false keeps the old one.
using TLVEditedEvent = std::function<void(TObject* Sender, int Index, std::string& S, bool& Accept)>;
// Draws item Index into Rect (its bounds, the rectangle a click hits) of the
// view's Canvas; leaving DefaultDraw true draws the standard look as well.
using TLVCustomDrawItemEvent = std::function<void(TCustomListView* Sender, int Index, TRect Rect,
                                                  TOwnerDrawState State, bool& DefaultDraw)>;

// The in-place caption editor: Enter accepts, Escape cancels, losing the
// focus accepts.
class TListViewEditor : public TCustomEdit {
  QZ_CLASS(TListViewEditor, TCustomEdit)
 public:
  TListViewEditor(TCustomListView& view);

 protected:
  void Dispatch(TMessage& m) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void WMKillFocus(TMessage& m) override;

 private:
  TCustomListView& view_;
};

class TCustomListView : public TCustomControl {
  QZ_CLASS(TCustomListView, TCustomControl)
 public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  // ---- looks
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle V);
  TCustomImageList* LargeImages() const { return largeImages_; }
  void SetLargeImages(TCustomImageList* V);
  TCustomImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TCustomImageList* V);
  // The width of a column of the list style and of a cell of the small
  // icon style.
  int ListColumnWidth() const { return listColumnWidth_; }
  void SetListColumnWidth(int V);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool V);
  // The picture size of the icon style (thumbnails want more than the
  // large images' size); 0: the large images' size.
  int LargeIconSize() const { return largeIconSize_; }
  void SetLargeIconSize(int V);

  // ---- columns (report style)
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const TListColumn& Column(int Index) const { return columns_.at(Index); }
  int AddColumn(const std::string& Caption, int Width);
  void SetColumnWidth(int Index, int Width);
  void ClearColumns();
  // The header rectangle of a column (client coordinates).
  TRect ColumnRect(int Index) const;

  // ---- items
  bool OwnerData() const { return ownerData_; }
  // Switching drops the items (and the selection) of the other kind.
  void SetOwnerData(bool V);
  int Count() const { return ownerData_ ? itemCount_ : static_cast<int>(items_.size()); }
  // OwnerData: the number of rows.
  void SetItemCount(int V);
  // Without OwnerData: the view's own items.
  int AddItem(const std::string& Caption, int ImageIndex = -1);
  void InsertItem(int Index, TListItem Item);
  void DeleteItem(int Index);
  void ClearItems();
  const TListItem& Item(int Index) const { return items_.at(Index); }
  // Replaces an item and repaints it.
  void SetItem(int Index, TListItem Item);
  // Sorts the view's own items (stable); selection and focus go with them.
  void CustomSort(const std::function<bool(const TListItem&, const TListItem&)>& Less);
  // The item as painted: the own item, or with OwnerData what OnData gives.
  TListItem FetchItem(int Index);
  // Repaints item Index (its data changed).
  void UpdateItem(int Index);
  void BeginUpdate();
  void EndUpdate();

  // ---- selection
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool V);
  bool Selected(int Index) const;
  void SetSelected(int Index, bool V);
  int SelCount() const { return selCount_; }
  void ClearSelection();
  void SelectAll();
  // The focused item (the caret; -1 for none).
  int ItemFocused() const { return focused_; }
  void SetItemFocused(int Index);
  // The first selected item, -1 when none; setting selects only that item
  // and focuses it.
  int ItemIndex() const;
  void SetItemIndex(int Index);

  // ---- arrangement (icon styles)
  bool AutoArrange() const { return autoArrange_; }
  void SetAutoArrange(bool V);
  // Puts every item back into the grid.
  void Arrange();
  // The item's top-left in the view's content (icon styles).
  TPoint ItemPosition(int Index) const;
  // Moves an item (icon styles, without AutoArrange and OwnerData).
  void SetItemPosition(int Index, TPoint P);

  // ---- geometry
  // The part of an item in client coordinates (empty when off the client
  // or out of range).
  TRect DisplayRect(int Index, TDisplayCode Code = drBounds) const;
  // The item under a client point; -1 when none.
  int ItemAtPos(TPoint Pos) const;
  // The column whose header is under a client point; -1 when none.
  int ColumnAtPos(TPoint Pos) const;
  // The items shown, first to last (in index order).
  std::vector<int> VisibleItems() const;
  int RowHeight() const;
  int HeaderHeight() const;
  TSize IconCellSize() const;

  // ---- scrolling
  TListScrollInfo VertScrollInfo() const;
  TListScrollInfo HorzScrollInfo() const;
  // The first row (report) or column (list) on screen.
  int TopIndex() const;
  void ScrollTo(int X, int Y);
  int ScrollX() const { return scrollX_; }
  int ScrollY() const { return scrollY_; }
  void MakeVisible(int Index);

  // ---- in-place rename
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool V) { readOnly_ = V; }
  // Opens the caption editor on an item (F2 does it for the focused one).
  // False when the view is read-only, the index is out of range or
  // OnEditing refused.
  bool EditCaption(int Index);
  bool IsEditing() const { return editing_ >= 0; }
  TListViewEditor* Editor() const { return editor_; }
  // Closes the editor: Accept runs OnEdited and stores the caption.
  void EndEdit(bool Accept);

  // The first item from Start on (wrapping) whose caption starts with
  // Prefix, case-insensitively; -1 when none.
  int FindCaption(const std::string& Prefix, int Start);

  // ---- events
  TLVOwnerDataEvent OnData;
  TLVOwnerDataFindEvent OnDataFind;
  TLVColumnClickEvent OnColumnClick;
  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;
  TLVCustomDrawItemEvent OnCustomDrawItem;
  // The user changed the selection or the focused item.
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnScrollStateChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& m) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void Resize() override;
  void WMSetFocus(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;

  // The standard look of an item.
  virtual void DrawItem(int Index, const TListItem& Item, const TRect& Rect, TOwnerDrawState State);
  virtual void DrawHeader();
  // Fills the view behind the items (the control's colour).
  virtual void PaintBackground(const TRect& Rect);
  // Fills an owner-data row (Index set): fires OnData.
  virtual void DoData(TListItem& Item);
  // A click on a column header: fires OnColumnClick.
  virtual void ColumnClicked(int Column);
  TOwnerDrawState ItemState(int Index) const;
  // The column whose header the mouse holds down; -1 for none.
  int PressedColumn() const { return drag_ == TDrag::HeaderPress ? dragColumn_ : -1; }
  // False when the view was freed by a handler.
  bool NotifyScrollState();
  bool UserSelectionChanged();

 private:
  enum class TDrag { None, Select, Band, Divider, HeaderPress };

  TCustomImageList* Images() const { return viewStyle_ == vsIcon ? largeImages_ : smallImages_; }
  bool IconStyle() const { return viewStyle_ == vsIcon || viewStyle_ == vsSmallIcon; }
  bool FreeLayout() const { return IconStyle() && !autoArrange_ && !ownerData_; }
  int TextHeight() const;
  TSize CellSize() const;
  int GridColumns() const;     // icon styles: cells a row holds
  int ListRows() const;        // list style: rows a column holds
  int ReportRowsOnScreen() const;
  int ColumnsWidth() const;
  TRect ItemContentRect(int Index) const;  // icon styles: content coordinates
  TPoint GridPosition(int Index) const;
  TSize ContentSize() const;
  TPoint ClampScroll(TPoint P) const;
  void ClampScrollState();
  std::vector<int> ItemsInContentRect(const TRect& R) const;
  void ResizeState(int count);
  void InvalidateItem(int Index);
  void SetSelectedQuiet(int Index, bool V);
  void SelectRange(int From, int To, bool ClearOthers);
  void MoveFocus(int Index, TShiftState Shift);
  int KeyTarget(uint16_t Key) const;
  int SpatialNeighbour(int From, int Dx, int Dy) const;
  void DropEdit();
  void PlaceEditor();
  void UpdateBand(TPoint ClientPoint, TShiftState Shift);
  void SetBandTimer(bool On);
  void BandAutoScroll();
  void Scroll(int Bar, int Code, int Pos);
  int DividerAt(TPoint Pos) const;
  void DataChanged();

  TViewStyle viewStyle_ = vsIcon;
  TCustomImageList* largeImages_ = nullptr;
  TCustomImageList* smallImages_ = nullptr;
  int listColumnWidth_ = 120;
  int largeIconSize_ = 0;
  bool showColumnHeaders_ = true;
  std::vector<TListColumn> columns_;

  bool ownerData_ = false;
  int itemCount_ = 0;
  std::vector<TListItem> items_;
  std::vector<uint8_t> selected_;
  std::vector<TPoint> positions_;   // free layout only
  int selCount_ = 0;
  mutable TFontData measuredFont_{};
  mutable int textHeight_ = -1;
  int focused_ = -1;
  int anchor_ = -1;
  bool multiSelect_ = false;
  bool autoArrange_ = true;
  bool readOnly_ = false;
  int updateCount_ = 0;

  int scrollX_ = 0, scrollY_ = 0;
  TListScrollInfo toldVert_, toldHorz_;

  TDrag drag_ = TDrag::None;
  TPoint dragStart_;                // client (header) or content (band) point
  int dragColumn_ = -1;
  int dragWidth_ = 0;
  std::vector<uint8_t> bandBase_;   // the selection a Ctrl band adds to
  TRect band_;                      // content coordinates
  TPoint bandPoint_;                // the mouse, client coordinates
  TShiftState bandShift_;
  bool bandTimer_ = false;

  TTypedPrefix search_;

  TListViewEditor* editor_ = nullptr;   // owned as a child component
  int editing_ = -1;
};

class TListView : public TCustomListView {
  QZ_CLASS(TListView, TCustomListView)
 public:
  explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};

}  // namespace qz
