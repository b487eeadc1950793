// The skinned list box: a skin control that draws the frame and an optional
// caption bar, with an inner owner-drawn host list inside and skinned
// scroll bars that exist only while there is something to scroll. The bars
// mirror the inner list's scroll state and drive it back.
//
// Items are drawn from the "listbox" description's item pictures
// (itemrect, activeitemrect, focusitemrect) or, without a description, in
// the plain system-colour look.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/components/Strings.h"
#include "host/ui/ListBox.h"
#include "host/ui/StdCtrls.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinScrollBar.h"

namespace qz {

class TqzSkinCustomListBox;
class TqzDataSkinListBox;
class TCustomImageList;

// Draws an item's content into TextRect of Cnvs (the item's own bitmap).
using TqzDrawSkinItemEvent = std::function<void(TCanvas& Cnvs, int Index, TSize ItemSize,
                                                 TRect TextRect, TOwnerDrawState State)>;

// Tabbed item text on one line from (Left, Y): each piece after a tab starts
// at the next stop (pixels from Left) beyond the text so far, or one pixel
// after it when the stops are used up.
void DrawTabbedText(TCanvas& Cnvs, std::string_view Text, int Left, int Y, const std::vector<int>& Stops);

// The inner list: owner drawn with a fixed item height, no frame; it hands
// drawing, scroll changes and its events to the skinned list box.
class TqzListBox : public TCustomListBox {
  QZ_CLASS(TqzListBox, TCustomListBox)
 public:
  TqzListBox(TComponent* AOwner, TqzSkinCustomListBox* Box);

  TqzSkinCustomListBox* SkinListBox() const { return box_; }
  // Pixels the item contents are moved left by (the horizontal bar).
  int HorzOffset() const { return horzOffset_; }
  void SetHorzOffset(int V);

 protected:
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void PaintBackground(const TRect& Rect) override;
  void ScrollStateChanged() override;
  void ItemsAltered() override;
  void Dispatch(TMessage& m) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 private:
  TqzSkinCustomListBox* box_;
  int horzOffset_ = 0;
};

enum class TqzCaptionButton { None = -1, Up = 0, Down = 1, Check = 2 };

class TqzSkinCustomListBox : public TqzSkinCustomControl {
  QZ_CLASS(TqzSkinCustomListBox, TqzSkinCustomControl)
 public:
  explicit TqzSkinCustomListBox(TComponent* AOwner);
  ~TqzSkinCustomListBox() override;

  // ---- forwarded to the inner list
  TStrings& Items() { return list_->Items(); }
  void SetItems(const TStrings& V);
  int ItemIndex() const { return list_->ItemIndex(); }
  void SetItemIndex(int V) { list_->SetItemIndex(V); }
  bool MultiSelect() const { return list_->MultiSelect(); }
  void SetMultiSelect(bool V) { list_->SetMultiSelect(V); }
  bool ExtandedSelect() const { return list_->ExtendedSelect(); }
  void SetExtandedSelect(bool V) { list_->SetExtendedSelect(V); }
  bool Sorted() const { return list_->Sorted(); }
  void SetSorted(bool V) { list_->SetSorted(V); }
  bool Selected(int Index) const { return list_->Selected(Index); }
  void SetSelected(int Index, bool V) { list_->SetSelected(Index, V); }
  int TopIndex() const { return list_->TopIndex(); }
  void SetTopIndex(int V) { list_->SetTopIndex(V); }
  TFont& ListBoxFont() { return list_->Font(); }
  int ListBoxTabOrder() const { return list_->TabOrder(); }
  void SetListBoxTabOrder(int V) { list_->SetTabOrder(V); }
  bool ListBoxTabStop() const { return list_->TabStop(); }
  void SetListBoxTabStop(bool V) { list_->SetTabStop(V); }
  // The inner list's context menu; a skin popup menu shows through the
  // form's skinned menu engine.
  TPopupMenu* ListBoxPopupMenu() const { return list_->PopupMenu(); }
  void SetListBoxPopupMenu(TPopupMenu* V) { list_->SetPopupMenu(V); }
  TDragMode ListBoxDragMode() const { return list_->DragMode(); }
  void SetListBoxDragMode(TDragMode V) { list_->SetDragMode(V); }
  TDragKind ListBoxDragKind() const { return list_->DragKind(); }
  void SetListBoxDragKind(TDragKind V) { list_->SetDragKind(V); }
  TCursor ListBoxDragCursor() const { return list_->DragCursor(); }
  void SetListBoxDragCursor(TCursor V) { list_->SetDragCursor(V); }
  // Items flow into this many columns; the list then scrolls sideways by
  // columns and its one bar lies across the bottom.
  int Columns() const { return list_->Columns(); }
  void SetColumns(int V);
  TqzListBox& ListBox() { return *list_; }

  // ---- published of its own
  bool UseSkinItemHeight() const { return useSkinItemHeight_; }
  void SetUseSkinItemHeight(bool V);
  int DefaultItemHeight() const { return defaultItemHeight_; }
  void SetDefaultItemHeight(int V);
  bool HorizontalExtent() const { return horizontalExtent_; }
  void SetHorizontalExtent(bool V);
  TStrings& TabWidths() { return *tabWidths_; }
  int RowCount() const { return rowCount_; }
  void SetRowCount(int V);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* V);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int V);
  bool CaptionMode() const { return captionMode_; }
  void SetCaptionMode(bool V);
  int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
  void SetDefaultCaptionHeight(int V);
  TFont& DefaultCaptionFont() { return *defaultCaptionFont_; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment V);
  bool ShowCaptionButtons() const { return showCaptionButtons_; }
  void SetShowCaptionButtons(bool V);
  // The caption's glyph: NumGlyphs frames side by side (the second shows
  // while the control is disabled), Spacing pixels before the text.
  TBitmap& Glyph() { return *glyph_; }
  void SetGlyph(const TBitmap& V);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int V);
  int Spacing() const { return spacing_; }
  void SetSpacing(int V);

  TNotifyEvent OnListBoxClick, OnListBoxDblClick, OnUpButtonClick, OnDownButtonClick,
      OnCheckButtonClick;
  TMouseEvent OnListBoxMouseDown, OnListBoxMouseUp;
  TMouseMoveEvent OnListBoxMouseMove;
  TKeyEvent OnListBoxKeyDown, OnListBoxKeyUp;
  TKeyPressEvent OnListBoxKeyPress;
  // The inner list's drags, the box as sender. Source is the dragging
  // control: the inner list (ListBox()) when items of this box are dragged.
  // Without OnListBoxDragOver the list accepts no drop.
  TStartDragEvent OnListBoxStartDrag;
  TDragOverEvent OnListBoxDragOver;
  TDragDropEvent OnListBoxDragDrop;
  TEndDragEvent OnListBoxEndDrag;
  TqzDrawSkinItemEvent OnDrawItem;

  // ---- state, for painting and tests
  TqzSkinScrollBar* VScrollBar() const { return vBar_; }
  TqzSkinScrollBar* HScrollBar() const { return hBar_; }
  // The inner list's place in the control.
  TRect ListRect() const;
  // The item height the list uses now.
  int CurrentItemHeight() const;
  // The tab stops TabWidths gives (at most 10; a line not all digits is 0).
  std::vector<int> TabStops() const;
  // The caption buttons in control coordinates (empty when not shown).
  TRect CaptionButtonRect(TqzCaptionButton B) const;
  // Where the caption's text may go (control coordinates; empty without a
  // caption) and where its glyph lies in it (empty without a glyph).
  TRect CaptionTextRect() const;
  TRect CaptionGlyphRect();
  TqzCaptionButton HotButton() const { return hotButton_; }
  TqzCaptionButton PressedButton() const { return pressedButton_; }

  // Brings the bars in line with the inner list: created when needed,
  // destroyed when not.
  void UpdateScrollBars();
  // Places the bars and the inner list.
  void Relayout();

  // Draws item Index into a bitmap of the item's size (called by the list).
  void DrawListItem(TCanvas& Cnvs, int Index, const TRect& Rect, TOwnerDrawState State);
  // The background of the list below its items.
  void PaintListBackground(TCanvas& Cnvs, const TRect& Rect);

  void CreateControlDefaultImage(TBitmap& B) override;
  void CreateControlSkinImage(TBitmap& B) override;
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseLeave(TMessage& m) override;
  void CMTextChanged(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void Dispatch(TMessage& m) override;

 private:
  friend class TqzListBox;
  const TqzDataSkinListBox* ListDescription() const;
  int CaptionHeight() const;
  bool ButtonsShown() const;
  void ApplyItemHeight();
  void ApplyRowCount();
  // The widest item text in the item font.
  int WidestItem();
  // Sets the canvas font for items (skin or default font, skin charset).
  void UseItemFont(TCanvas& Cnvs, TOwnerDrawState State, bool described);
  void DrawItemContent(TCanvas& Cnvs, int Index, const TRect& TextRect, TOwnerDrawState State);
  void DrawSkinItem(TCanvas& Cnvs, int Index, TSize Size, TOwnerDrawState State);
  void DrawPlainItem(TCanvas& Cnvs, int Index, TSize Size, TOwnerDrawState State);
  void PaintCaption(TCanvas& Cnvs);
  // Sets the caption font on Cnvs.
  void UseCaptionFont(TCanvas& Cnvs);
  // The left of the caption's content (glyph and text) by Alignment.
  int CaptionContentLeft(TCanvas& Cnvs, const TRect& Text);
  TSize GlyphSize() const;
  void PaintCaptionButtons(TCanvas& Cnvs);
  TqzSkinScrollBar* MakeBar(bool vertical);
  bool UpdateColumnBar();
  void DestroyBar(TqzSkinScrollBar*& bar);
  void NameBars();
  TqzCaptionButton ButtonAt(TPoint p) const;
  // Runs the button's action: its event, else the built-in move.
  void RunButton(TqzCaptionButton B);
  void StepSelection(int delta);
  void RepeatTick();
  void StopRepeat();
  void StartRepeat(unsigned ms);
  bool FireListEvent(const std::function<void()>& call);
  void ForwardListDrags();

  TqzListBox* list_ = nullptr;
  TqzSkinScrollBar* vBar_ = nullptr;
  TqzSkinScrollBar* hBar_ = nullptr;
  std::unique_ptr<TStringList> tabWidths_;
  std::unique_ptr<TFont> defaultCaptionFont_;
  std::unique_ptr<TBitmap> glyph_;
  int numGlyphs_ = 1;
  int spacing_ = 2;
  TCustomImageList* images_ = nullptr;
  bool useSkinItemHeight_ = true;
  int defaultItemHeight_ = 20;
  bool horizontalExtent_ = false;
  int rowCount_ = 0;
  int imageIndex_ = -1;
  bool captionMode_ = false;
  int defaultCaptionHeight_ = 20;
  TAlignment alignment_ = taLeftJustify;
  bool showCaptionButtons_ = true;
  bool inSkinChange_ = false;
  bool updatingBars_ = false;
  TqzCaptionButton hotButton_ = TqzCaptionButton::None;
  TqzCaptionButton pressedButton_ = TqzCaptionButton::None;
  int repeatDirection_ = 0;  // 0 none, 1 up, 2 down
  bool repeatTimer_ = false;
};

class TqzSkinListBox : public TqzSkinCustomListBox {
  QZ_CLASS(TqzSkinListBox, TqzSkinCustomListBox)
 public:
  explicit TqzSkinListBox(TComponent* AOwner) : TqzSkinCustomListBox(AOwner) {}
};

// Auto-repeat of the caption's up and down buttons.
inline constexpr unsigned kListButtonRepeatDelayMs = 500;
inline constexpr unsigned kListButtonRepeatIntervalMs = 100;
inline constexpr unsigned kListButtonRepeatResumeMs = 50;

}  // namespace qz
