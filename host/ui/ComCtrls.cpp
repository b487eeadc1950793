#include "host/ui/ComCtrls.h"

#include <algorithm>

#include "host/ui/Forms.h"

namespace qz {

namespace {
// Space between a tab's caption and its sides when the tab sizes to its caption.
constexpr int kTabTextPadding = 6;
// The plain scroller's buttons are squares no larger than this.
constexpr int kScrollerButtonMax = 17;
// Space between button-style tabs.
constexpr int kButtonTabGap = 3;

bool IsVertical(TTabPosition p) { return p == tpLeft || p == tpRight; }
}  // namespace

// ---------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                   csDoubleClicks, csNoDesignVisible};
  // A sheet shows only while it is the active page of its control.
  visible_ = false;
  parentColor_ = false;
  color_ = clBtnFace;
  width_ = 100;
  height_ = 100;
}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* value) {
  if (value == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  SetParent(value);
  if (value) value->InsertPage(this);
}

void TTabSheet::SetParentComponent(TComponent* value) {
  if (auto* pc = As<TPageControl>(value))
    SetPageControl(pc);
  else
    TCustomControl::SetParentComponent(value);
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
  // While reading, later sheets are still missing: the page control puts
  // every sheet in its place once all are there (TPageControl::Loaded).
  if (InState(csLoading)) {
    loadedPageIndex_ = value;
    return;
  }
  if (pageControl_) pageControl_->MovePage(this, value);
}

bool TTabSheet::PageIndexNeedsStoring() const {
  // Reading appends sheets in their owner's creation order; only a sheet that
  // was moved since needs its index written.
  if (!pageControl_ || !Owner()) return false;
  int rank = 0;
  for (int i = 0; i < Owner()->ComponentCount(); ++i) {
    TComponent* c = Owner()->Components(i);
    if (c == this) break;
    if (auto* sheet = As<TTabSheet>(c); sheet && sheet->pageControl_ == pageControl_) ++rank;
  }
  return rank != PageIndex();
}

int TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  const auto& tabs = pageControl_->Tabs();
  for (size_t i = 0; i < tabs.size(); ++i)
    if (tabs[i].Page == this) return static_cast<int>(i);
  return -1;
}

void TTabSheet::SetTabVisible(bool value) {
  if (value == tabVisible_) return;
  tabVisible_ = value;
  if (pageControl_) pageControl_->TabVisibilityChanged(this);
}

void TTabSheet::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  if (pageControl_) pageControl_->TabsChanged();
}

void TTabSheet::CMTextChanged(TMessage& m) {
  TCustomControl::CMTextChanged(m);
  if (pageControl_) pageControl_->TabsChanged();
}

void TTabSheet::CMEnabledChanged(TMessage& m) {
  TCustomControl::CMEnabledChanged(m);
  if (pageControl_) pageControl_->TabsChanged();
}

void TTabSheet::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

// ---------------------------------------------------------------- TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks,
                   csReplicatable};
  color_ = clBtnFace;
  width_ = 289;
  height_ = 193;
  tabStop_ = true;
}

TPageControl::~TPageControl() {
  // The sheets are freed as children of this window after this body; they
  // must not call back into a page control that is half gone.
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return pages_[index];
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) { SetActivePage(Pages(index)); }

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  if (page == activePage_) return;
  TComponentRef<TPageControl> self(this);
  TComponentRef<TTabSheet> target(page);
  // Focus inside the page that goes would sit in a hidden window.
  if (activePage_ && activePage_->ContainsControl(GetFocus()) && CanFocus()) {
    SetFocus();  // OnExit/OnEnter run here
    if (!self || (page && (!target || target->pageControl_ != this))) return;
  }
  activePage_ = page;
  ShowOnlyActivePage();
  if (!self) return;
  TabsChanged();
  ScrollTabIntoView(TabIndex());
}

void TPageControl::ShowOnlyActivePage() {
  // Showing and hiding windows may move the focus and run handlers that free
  // pages or this control.
  TComponentRef<TPageControl> self(this);
  std::vector<TComponentRef<TTabSheet>> pages(pages_.begin(), pages_.end());
  if (TTabSheet* active = activePage_) {
    active->SetBoundsRect(DisplayRect());
    active->BringToFront();
    active->SetVisible(true);
  }
  for (const auto& page : pages) {
    if (!self) return;
    if (page && page.Get() != activePage_) page->SetVisible(false);
  }
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
  if (pages_.empty()) return nullptr;
  int count = PageCount();
  int start = current ? current->PageIndex() : -1;
  if (start < 0) start = goForward ? count - 1 : 0;
  for (int step = 1; step <= count; ++step) {
    int i = ((start + (goForward ? step : -step)) % count + count) % count;
    if (!checkTabVisible || pages_[i]->TabVisible()) return pages_[i];
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
  TTabSheet* page = FindNextPage(activePage_, goForward, checkTabVisible);
  if (page && page != activePage_) ChangeActivePageByUser(page);
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

bool TPageControl::ChangeActivePageByUser(TTabSheet* page) {
  if (page == activePage_) return true;
  TComponentRef<TPageControl> self(this);
  TComponentRef<TTabSheet> target(page);
  bool allowed = CanChange();
  if (!self || !allowed) return false;
  // The handler may have freed or moved the page it was asked about.
  if (!target || target->pageControl_ != this) return false;
  SetActivePage(target.Get());
  Change();
  return static_cast<bool>(self);
}

// ---- tabs

int TPageControl::TabIndex() const { return activePage_ ? activePage_->TabIndex() : -1; }

void TPageControl::SetTabIndex(int index) {
  const auto& tabs = Tabs();
  if (index < 0) {
    ChangeActivePageByUser(nullptr);
    return;
  }
  if (index < static_cast<int>(tabs.size())) ChangeActivePageByUser(tabs[index].Page);
}

const std::vector<TTabItem>& TPageControl::Tabs() const {
  if (!tabsValid_) RebuildTabs();
  return tabs_;
}

TRect TPageControl::TabRect(int tabIndex) const {
  const auto& tabs = Tabs();
  if (tabIndex < 0 || tabIndex >= static_cast<int>(tabs.size())) return {};
  return tabs[tabIndex].Rect;
}

int TPageControl::IndexOfTabAt(int X, int Y) const {
  const auto& tabs = Tabs();
  if (!viewRect_.Contains({X, Y})) return -1;
  for (size_t i = 0; i < tabs.size(); ++i)
    if (tabs[i].Rect.Contains({X, Y})) return static_cast<int>(i);
  return -1;
}

int TPageControl::RowCount() const {
  Tabs();
  return rowCount_;
}

int TPageControl::FirstVisibleTab() const {
  Tabs();
  return firstVisibleTab_;
}

void TPageControl::SetFirstVisibleTab(int index) {
  index = std::max(index, 0);
  if (index == FirstVisibleTab()) return;
  firstVisibleTab_ = index;  // the layout clamps it to what the row allows
  TabsChanged();
}

void TPageControl::ScrollTabs(int delta) { SetFirstVisibleTab(FirstVisibleTab() + delta); }

bool TPageControl::CanScrollTabs(bool forward) const {
  if (TabScrollerRect().IsEmpty()) return false;
  if (!forward) return firstVisibleTab_ > 0;
  const TTabItem& last = tabs_.back();
  bool vertical = IsVertical(tabPosition_);
  int lastEnd = vertical ? last.Rect.Bottom : last.Rect.Right;
  int viewEnd = vertical ? viewRect_.Bottom : viewRect_.Right;
  return lastEnd > viewEnd && firstVisibleTab_ < TabCount() - 1;
}

void TPageControl::ScrollTabIntoView(int tabIndex) {
  if (tabIndex < 0 || tabIndex >= TabCount() || TabScrollerRect().IsEmpty()) return;
  if (tabIndex < firstVisibleTab_) {
    SetFirstVisibleTab(tabIndex);
    return;
  }
  // Forward one tab at a time until the tab's end is in view; a tab longer
  // than the whole view stops as the first one.
  bool vertical = IsVertical(tabPosition_);
  while (firstVisibleTab_ < tabIndex) {
    const TRect& r = Tabs()[size_t(tabIndex)].Rect;
    int end = vertical ? r.Bottom : r.Right;
    if (end <= (vertical ? viewRect_.Bottom : viewRect_.Right)) break;
    int before = firstVisibleTab_;
    SetFirstVisibleTab(before + 1);
    if (FirstVisibleTab() == before) break;
  }
}

TRect TPageControl::TabScrollerRect() const {
  Tabs();
  return scrollerRect_;
}

TRect TPageControl::TabViewRect() const {
  Tabs();
  return viewRect_;
}

TSize TPageControl::TabScrollerSize() const {
  int button = std::max(1, std::min(TabItemHeight(), kScrollerButtonMax));
  return {2 * button, button};
}

int TPageControl::TabGap() const { return style_ == tsTabs ? 0 : kButtonTabGap; }

int TPageControl::TabItemHeight() const {
  if (tabHeight_ > 0) return tabHeight_;
  TCanvas measure;
  measure.Font().Assign(Font());
  return measure.TextHeight("Wg") + kTabTextPadding;
}

int TPageControl::TabItemWidth(const TTabSheet& page) const {
  if (tabWidth_ > 0) return tabWidth_;
  TCanvas measure;
  measure.Font().Assign(Font());
  return measure.TextWidth(page.Caption()) + 2 * kTabTextPadding;
}

int TPageControl::SideLength() const { return IsVertical(tabPosition_) ? height_ : width_; }

TRect TPageControl::BandToClient(int alongFrom, int alongTo, int acrossFrom, int acrossTo) const {
  switch (tabPosition_) {
    case tpTop: return {alongFrom, acrossFrom, alongTo, acrossTo};
    case tpBottom: return {alongFrom, height_ - acrossTo, alongTo, height_ - acrossFrom};
    case tpLeft: return {acrossFrom, alongFrom, acrossTo, alongTo};
    case tpRight: return {width_ - acrossTo, alongFrom, width_ - acrossFrom, alongTo};
  }
  return {};
}

void TPageControl::RebuildTabs() const {
  tabs_.clear();
  rowCount_ = 1;
  scrollerRect_ = {};
  std::vector<TTabSheet*> shown;
  std::vector<int> lengths;
  for (TTabSheet* page : pages_) {
    if (!page->TabVisible()) continue;
    shown.push_back(page);
    lengths.push_back(TabItemWidth(*page));
  }
  // Valid from here: measuring in a subclass that asks for the list again
  // must not start a second layout.
  tabsValid_ = true;
  if (multiLine_)
    LayOutRows(shown, lengths);
  else
    LayOutSingleRow(shown, lengths);
}

void TPageControl::LayOutSingleRow(const std::vector<TTabSheet*>& shown, const std::vector<int>& lengths) const {
  int thickness = TabItemHeight();
  int side = SideLength();
  int gap = TabGap();
  int count = static_cast<int>(shown.size());
  int rowLength = 0;
  for (int length : lengths) rowLength += length;
  if (count > 1) rowLength += gap * (count - 1);
  int start = TabRowStart(rowLength);
  int viewEnd = side;
  bool overflows = TabRowShown() && count > 0 && start + rowLength > side;
  if (overflows) {
    TSize scroller = TabScrollerSize();
    viewEnd = std::max(start, side - scroller.cx);
    int across = std::max(0, (thickness - scroller.cy) / 2);
    scrollerRect_ = BandToClient(viewEnd, viewEnd + scroller.cx, across, across + scroller.cy);
    // The last start that still fills the view: scrolling stops once the
    // last tab shows whole.
    int maxFirst = count - 1;
    int tail = lengths[size_t(count - 1)];
    while (maxFirst > 0 && tail + gap + lengths[size_t(maxFirst - 1)] <= viewEnd - start) {
      --maxFirst;
      tail += gap + lengths[size_t(maxFirst)];
    }
    firstVisibleTab_ = std::clamp(firstVisibleTab_, 0, maxFirst);
  } else {
    firstVisibleTab_ = 0;
  }
  // A hidden row shows nothing and takes no clicks.
  viewRect_ = TabRowShown() ? BandToClient(overflows ? start : 0, viewEnd, 0, thickness) : TRect{};
  int along = start;
  for (int i = 0; i < firstVisibleTab_; ++i) along -= lengths[size_t(i)] + gap;
  for (int i = 0; i < count; ++i) {
    tabs_.push_back({shown[size_t(i)], BandToClient(along, along + lengths[size_t(i)], 0, thickness)});
    along += lengths[size_t(i)] + gap;
  }
}

void TPageControl::LayOutRows(const std::vector<TTabSheet*>& shown, const std::vector<int>& lengths) const {
  int thickness = TabItemHeight();
  int side = SideLength();
  int gap = TabGap();
  firstVisibleTab_ = 0;
  // Fill rows in order; every row holds at least one tab.
  std::vector<std::vector<int>> rows;
  int used = 0;
  for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
    int need = lengths[size_t(i)] + (rows.empty() || rows.back().empty() ? 0 : gap);
    if (rows.empty() || (!rows.back().empty() && used + need > side)) {
      rows.emplace_back();
      used = 0;
      need = lengths[size_t(i)];
    }
    rows.back().push_back(i);
    used += need;
  }
  rowCount_ = std::max<int>(1, static_cast<int>(rows.size()));
  int activeRow = 0;
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    for (int i : rows[size_t(r)])
      if (shown[size_t(i)] == activePage_) activeRow = r;
  int bandThickness = rowCount_ * thickness;
  viewRect_ = TabRowShown() ? BandToClient(0, side, 0, bandThickness) : TRect{};
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    // Rows counted from the page outwards. Tabs: the active row touches the
    // page, the others follow in cyclic order; buttons keep their order,
    // the first row outermost.
    int fromPage = style_ == tsTabs ? (r - activeRow + rowCount_) % rowCount_ : rowCount_ - 1 - r;
    int across = bandThickness - (fromPage + 1) * thickness;
    int rowLength = 0;
    for (int i : rows[size_t(r)]) rowLength += lengths[size_t(i)];
    rowLength += gap * (static_cast<int>(rows[size_t(r)].size()) - 1);
    int along = TabRowStart(rowLength);
    for (int i : rows[size_t(r)]) {
      tabs_.push_back({shown[size_t(i)], BandToClient(along, along + lengths[size_t(i)], across, across + thickness)});
      along += lengths[size_t(i)] + gap;
    }
  }
}

TRect TPageControl::TabBandRect() const {
  int thickness = TabItemHeight() * RowCount();
  return BandToClient(0, SideLength(), 0, thickness);
}

TRect TPageControl::DisplayRect() const {
  TRect r{0, 0, width_, height_};
  TRect band = TabBandRect();
  switch (tabPosition_) {
    case tpTop: r.Top = band.Bottom; break;
    case tpBottom: r.Bottom = band.Top; break;
    case tpLeft: r.Left = band.Right; break;
    case tpRight: r.Right = band.Left; break;
  }
  r = InflateRect(r, -PageMargin(), -PageMargin());
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

void TPageControl::TabsChanged() {
  tabsValid_ = false;
  Invalidate();
  // Wrapped rows may have grown or shrunk the band.
  if (multiLine_ && !InState(csLoading)) Realign();
  UpdateTabScroller();
}

void TPageControl::SetTabPosition(TTabPosition v) {
  if (v == tabPosition_) return;
  tabPosition_ = v;
  TabsChanged();
  Realign();
}
void TPageControl::SetStyle(TTabStyle v) {
  if (v == style_) return;
  style_ = v;
  TabsChanged();
  Realign();
}
void TPageControl::SetTabHeight(int v) {
  v = std::max(v, 0);
  if (v == tabHeight_) return;
  tabHeight_ = v;
  TabsChanged();
  Realign();
}
void TPageControl::SetTabWidth(int v) {
  v = std::max(v, 0);
  if (v == tabWidth_) return;
  tabWidth_ = v;
  TabsChanged();
}
void TPageControl::SetMultiLine(bool v) {
  if (v == multiLine_) return;
  multiLine_ = v;
  TabsChanged();
  Realign();  // the band grows or shrinks with the rows
}

// ---- pages coming and going

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  page->pageControl_ = this;
  page->SetBoundsRect(DisplayRect());
  TabsChanged();
  if (!activePage_ && !InState(csLoading) && page->TabVisible())
    SetActivePage(page);
  else if (page != activePage_)
    page->SetVisible(false);
}

void TPageControl::RemovePage(TTabSheet* page) {
  TComponentRef<TPageControl> self(this);
  TTabSheet* next = page == activePage_ ? FindNextPage(page, true, true) : activePage_;
  std::erase(pages_, page);
  page->pageControl_ = nullptr;
  if (page == activePage_) {
    // The page may be going away: it takes no part in the switch.
    activePage_ = nullptr;
    SetActivePage(next == page ? nullptr : next);
  }
  if (self) TabsChanged();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  pages_.erase(it);
  index = std::clamp(index, 0, PageCount());
  pages_.insert(pages_.begin() + index, page);
  TabsChanged();
}

void TPageControl::TabVisibilityChanged(TTabSheet* page) {
  TabsChanged();
  if (page->TabVisible()) {
    if (!activePage_) SetActivePage(page);
    return;
  }
  if (page != activePage_) return;
  // A page whose tab went is no longer reachable: show a neighbour instead.
  TTabSheet* next = FindNextPage(page, true, true);
  SetActivePage(next);
}

void TPageControl::SortLoadedPages() {
  // Sheets were appended in creation order; those written with an index say
  // where they belong, the others are already where they were.
  std::vector<std::pair<int, TTabSheet*>> keyed;
  for (int i = 0; i < PageCount(); ++i) {
    TTabSheet* page = pages_[i];
    keyed.push_back({page->loadedPageIndex_ >= 0 ? page->loadedPageIndex_ : i, page});
    page->loadedPageIndex_ = -1;
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < keyed.size(); ++i) pages_[i] = keyed[i].second;
}

void TPageControl::Loaded() {
  TCustomControl::Loaded();
  SortLoadedPages();
  if (!activePage_) activePage_ = FindNextPage(nullptr, true, true);
  ShowOnlyActivePage();
  TabsChanged();
}

// ---- geometry

void TPageControl::AlignControls(TControl* AControl, TRect& Rect) {
  Rect = DisplayRect();
  for (TTabSheet* page : pages_) page->SetBoundsRect(Rect);
  TCustomControl::AlignControls(AControl, Rect);
}

void TPageControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  bool sized = AWidth != width_ || AHeight != height_;
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (sized) {
    TabsChanged();
    Realign();
  }
}

// ---- painting: a plain look in system colours

void TPageControl::Paint() {
  TCanvas& c = Canvas();
  c.Brush().SetColor(clBtnFace);
  c.FillRect(ClientRect());
  if (style_ == tsTabs) {
    c.Brush().SetColor(clBtnShadow);
    c.FrameRect(InflateRect(DisplayRect(), 1, 1));
  }
  int saved = c.SaveDC();
  c.IntersectClipRect(TabViewRect());
  for (const TTabItem& tab : Tabs())
    if (tab.Page != activePage_) PaintTab(c, tab, false);
  for (const TTabItem& tab : Tabs())
    if (tab.Page == activePage_) PaintTab(c, tab, true);
  c.RestoreDC(saved);
  PaintTabScroller(c);
}

void TPageControl::PaintTabScroller(TCanvas& c) {
  TRect r = TabScrollerRect();
  if (r.IsEmpty()) return;
  bool vertical = IsVertical(tabPosition_);
  for (int button = 0; button < 2; ++button) {
    TRect b = r;
    if (vertical)
      (button == 0 ? b.Bottom : b.Top) = r.Top + r.Height() / 2;
    else
      (button == 0 ? b.Right : b.Left) = r.Left + r.Width() / 2;
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clBtnFace);
    c.FillRect(b);
    c.Brush().SetColor(clBtnShadow);
    c.FrameRect(b);
    // A small triangle pointing the way the button scrolls.
    bool enabled = CanScrollTabs(button == 1);
    int cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
    int d = button == 0 ? -2 : 2;
    TPoint tip = vertical ? TPoint{cx, cy + d} : TPoint{cx + d, cy};
    TPoint a = vertical ? TPoint{cx - 3, cy - d} : TPoint{cx - d, cy - 3};
    TPoint z = vertical ? TPoint{cx + 3, cy - d} : TPoint{cx - d, cy + 3};
    TPoint pts[3] = {tip, a, z};
    TColor ink = enabled ? clBtnText : clGrayText;
    c.Brush().SetColor(ink);
    c.Pen().SetColor(ink);
    c.Polygon(pts);
  }
}

void TPageControl::PaintTab(TCanvas& c, const TTabItem& tab, bool active) {
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(active ? clWindow : clBtnFace);
  c.FillRect(tab.Rect);
  bool raised = style_ == tsButtons || (style_ == tsFlatButtons && active);
  c.Brush().SetColor(style_ == tsTabs || raised ? clBtnShadow : clBtnFace);
  c.FrameRect(tab.Rect);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Font().Assign(Font());
  if (!tab.Page->Enabled() || !Enabled()) c.Font().SetColor(clGrayText);
  c.DrawText(tab.Page->Caption(), tab.Rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (active && Focused()) {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.DrawFocusRect(InflateRect(tab.Rect, -2, -2));
  }
}

// ---- input

int TPageControl::ScrollerButtonAt(int x, int y) const {
  TRect r = TabScrollerRect();
  if (!r.Contains({x, y})) return 0;
  bool second = IsVertical(tabPosition_) ? y >= r.Top + r.Height() / 2 : x >= r.Left + r.Width() / 2;
  return second ? 1 : -1;
}

void TPageControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (b == mbLeft && ScrollerButtonAt(x, y) != 0) {
    ScrollTabs(ScrollerButtonAt(x, y));
  } else if (b == mbLeft) {
    TComponentRef<TPageControl> self(this);
    int tab = IndexOfTabAt(x, y);
    TComponentRef<TTabSheet> page(tab >= 0 ? Tabs()[tab].Page : nullptr);
    if (tab >= 0 && CanFocus() && !Focused()) SetFocus();  // OnEnter/OnExit run here
    if (!self) return;
    if (page) ChangeActivePageByUser(page.Get());
    if (!self) return;
  }
  TCustomControl::MouseDown(b, s, x, y);
}

void TPageControl::KeyDown(uint16_t& key, TShiftState shift) {
  TComponentRef<TPageControl> self(this);
  TCustomControl::KeyDown(key, shift);  // OnKeyDown may take the key
  if (!self || shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return;
  bool back = key == VK_LEFT || key == VK_UP;
  bool forward = key == VK_RIGHT || key == VK_DOWN;
  if (!back && !forward) return;
  key = 0;
  // The arrows stop at the ends of the row; only Ctrl+Tab goes round.
  int target = TabIndex() + (forward ? 1 : -1);
  if (TabIndex() >= 0 && target >= 0 && target < TabCount()) ChangeActivePageByUser(Tabs()[target].Page);
}

void TPageControl::CMDialogKey(TMessage& m) {
  bool ctrlTab = m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0;
  if (ctrlTab && Enabled() && (Focused() || ContainsControl(GetFocus()))) {
    SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
    m.Result = 1;
    return;
  }
  TCustomControl::CMDialogKey(m);
}

void TPageControl::CMFontChanged(TMessage& m) {
  TCustomControl::CMFontChanged(m);
  TabsChanged();
  Realign();
}

void TPageControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TComponentRef<TPageControl> self(this);
      TCustomControl::Dispatch(m);  // OnEnter/OnExit
      if (self) Invalidate();       // the focus mark on the active tab
      return;
    }
    default:
      TCustomControl::Dispatch(m);
  }
}

// ---------------------------------------------------------------- registration

QZ_PUBLISHED(TTabSheet, TCustomControl) {
  b.Factory([](TComponent* owner) { return new TTabSheet(owner); });
  b.Prop("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption);
  b.Prop("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex, -1);
  b.Prop("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible, true);
  b.Prop("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex, -1)
      .Stored([](const TTabSheet& s) { return s.PageIndexNeedsStoring(); });
}

QZ_PUBLISHED(TPageControl, TCustomControl) {
  b.Factory([](TComponent* owner) { return new TPageControl(owner); });
  b.Enum("TabPosition", &TPageControl::TabPosition, &TPageControl::SetTabPosition, tpTop);
  b.Enum("Style", &TPageControl::Style, &TPageControl::SetStyle, tsTabs);
  b.Prop("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight, 0);
  b.Prop("TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth, 0);
  b.Prop("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine, false);
  b.Prop("HotTrack", &TPageControl::HotTrack, &TPageControl::SetHotTrack, false);
  b.Ref<TTabSheet>("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
  b.Event<TNotifyEvent>("OnChange", &TPageControl::OnChange);
  b.Event<TTabChangingEvent>("OnChanging", &TPageControl::OnChanging);
}

}  // namespace qz
