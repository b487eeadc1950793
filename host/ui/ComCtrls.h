// The page control: a windowed control that holds tab sheets, shows one of
// them (the active page) below a row of tabs, and switches pages by mouse
// (a click on a tab) and keyboard (Ctrl+Tab, Ctrl+Shift+Tab; the arrow keys
// while the control has the focus).
//
// The tab rectangles are computed once per layout change into one list
// (`Tabs()`); painting and hit testing both read it, so what is drawn is
// what is clicked. Subclasses that paint their own tabs change the tab sizes
// through TabItemHeight / TabItemWidth and the page area through
// DisplayRect; the list follows.
//
// Tab index and page index: `PageCount`/`Pages(i)`/`ActivePageIndex` count
// every sheet; `TabIndex` counts only the sheets whose tab is visible.
//
// Rows: a single row that does not fit its side shows a two-button scroller
// at its end and starts at `FirstVisibleTab`; tabs scrolled off keep their
// place in the list with rectangles outside the row's view (`TabViewRect`),
// so hit testing and painting need no second list. With `MultiLine` the tabs
// wrap into rows; for tabs (not buttons) the active tab's row moves next to
// the page, the rows keeping their cyclic order.
#pragma once

#include <string>
#include <vector>

#include "host/ui/StdCtrls.h"

namespace qz {

class TPageControl;

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
using enum TTabPosition;
QZ_ENUM(TTabPosition, "tpTop", "tpBottom", "tpLeft", "tpRight");

enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using enum TTabStyle;
QZ_ENUM(TTabStyle, "tsTabs", "tsButtons", "tsFlatButtons");

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// One page of a page control: a container whose tab carries its caption.
class TTabSheet : public TCustomControl {
  QZ_CLASS(TTabSheet, TCustomControl)
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  // Moves the sheet to another page control (at its end), or out of any.
  void SetPageControl(TPageControl* value);
  // Position among all pages of the page control (-1 without one).
  int PageIndex() const;
  void SetPageIndex(int value);
  // Position among the visible tabs (-1 when the tab is hidden or no control).
  int TabIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);

  // The reader hands a sheet the page control it is written in.
  void SetParentComponent(TComponent* value) override;
  // Whether the stored page index differs from where reading would put it.
  bool PageIndexNeedsStoring() const;

 protected:
  void Paint() override;
  void CMTextChanged(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int imageIndex_ = -1;
  int loadedPageIndex_ = -1;  // the index read from a resource, until placed
};

// A tab of the row: which page it shows and where it lies (client coordinates).
struct TTabItem {
  TTabSheet* Page = nullptr;
  TRect Rect;
};

class TPageControl : public TCustomControl {
  QZ_CLASS(TPageControl, TCustomControl)
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  // ---- pages
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return activePage_; }
  // Shows `page` (one of this control's, or null for none). No events fire.
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // The next (or previous) page from `current`, optionally only pages with
  // a visible tab; wraps around. Null when there is none.
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  // Changes the page as the user does: OnChanging may refuse, OnChange follows.
  void SelectNextPage(bool goForward, bool checkTabVisible = true);

  // ---- tabs
  int TabIndex() const;
  // Selects a visible tab as the user does (OnChanging, OnChange); -1 selects nothing.
  void SetTabIndex(int index);
  int TabCount() const { return static_cast<int>(Tabs().size()); }
  const std::vector<TTabItem>& Tabs() const;
  TRect TabRect(int tabIndex) const;
  // The visible tab at a client point (-1 when none). Parts of tabs outside
  // the row's view (under the scroller) do not count.
  int IndexOfTabAt(int X, int Y) const;
  // Number of tab rows (1 unless MultiLine wraps the tabs).
  int RowCount() const;
  // The first tab shown at the start of a row that overflows (0 while it fits).
  int FirstVisibleTab() const;
  void SetFirstVisibleTab(int index);
  // Scrolls an overflowing row by `delta` whole tabs (negative: towards its start).
  void ScrollTabs(int delta);
  // Scrolls the row so that the tab shows whole (as far as the view allows).
  void ScrollTabIntoView(int tabIndex);
  // The scroller of an overflowing row; empty while the row fits.
  TRect TabScrollerRect() const;
  // Where tabs show: the band without the scroller (the whole band otherwise).
  TRect TabViewRect() const;
  // Whether the row can scroll further back or forward.
  bool CanScrollTabs(bool forward) const;
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition v);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle v);
  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int v);
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int v);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v) { hotTrack_ = v; }

  // The area the pages cover (client coordinates).
  virtual TRect DisplayRect() const;
  // The strip along the tab side that holds the tab row.
  TRect TabBandRect() const;

  void AlignControls(TControl* AControl, TRect& Rect) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  // Asks OnChanging. A handler may free the control: callers guard.
  virtual bool CanChange();
  // After a user change of page: fires OnChange.
  virtual void Change();
  // Height of a tab (its thickness across the row) and width of one tab.
  virtual int TabItemHeight() const;
  virtual int TabItemWidth(const TTabSheet& page) const;
  // Where the row of tabs starts along the tab side, for a row that long.
  virtual int TabRowStart(int rowLength) const { return 0; }
  // Distance between the tab band and the page area, and around the pages.
  virtual int PageMargin() const { return 2; }
  // Length of the scroller along the row (cx) and across it (cy).
  virtual TSize TabScrollerSize() const;
  // Space between two tabs along the row (button-style tabs stand apart).
  virtual int TabGap() const;
  // False while a subclass hides its tab row: no scroller then.
  virtual bool TabRowShown() const { return true; }
  // After every change of the tab layout: subclasses move their scroller.
  virtual void UpdateTabScroller() {}
  // The tab list must be rebuilt and the control repainted.
  void TabsChanged();
  // The page switch a user asked for (OnChanging, then OnChange); false when
  // refused or when a handler freed the control.
  bool ChangeActivePageByUser(TTabSheet* page);

  void Paint() override;
  virtual void PaintTab(TCanvas& canvas, const TTabItem& tab, bool active);
  // The plain two-button scroller (subclasses put a control there instead).
  void PaintTabScroller(TCanvas& canvas);
  void Loaded() override;
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void CMDialogKey(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void WMEraseBkgnd(TMessage& m) override { m.Result = 1; }  // Paint covers everything
  void Dispatch(TMessage& m) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int index);
  void TabVisibilityChanged(TTabSheet* page);
  void ShowOnlyActivePage();
  void SortLoadedPages();
  void RebuildTabs() const;
  void LayOutSingleRow(const std::vector<TTabSheet*>& shown, const std::vector<int>& lengths) const;
  void LayOutRows(const std::vector<TTabSheet*>& shown, const std::vector<int>& lengths) const;
  // A rectangle given along the row and across the band (measured from the
  // control's edge on the tab side) in client coordinates.
  TRect BandToClient(int alongFrom, int alongTo, int acrossFrom, int acrossTo) const;
  int SideLength() const;
  int ScrollerButtonAt(int x, int y) const;

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  TTabPosition tabPosition_ = tpTop;
  TTabStyle style_ = tsTabs;
  int tabHeight_ = 0;
  int tabWidth_ = 0;
  bool multiLine_ = false;
  bool hotTrack_ = false;
  mutable std::vector<TTabItem> tabs_;
  mutable bool tabsValid_ = false;
  // Results of the last layout, kept with the list.
  mutable int firstVisibleTab_ = 0;
  mutable int rowCount_ = 1;
  mutable TRect scrollerRect_;
  mutable TRect viewRect_;
};

}  // namespace qz
