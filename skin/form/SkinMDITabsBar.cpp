// The MDI tabs bar: geometry, the tabs kept in step with the children, the
// properties. Painting is in SkinMDITabsBarPaint.cpp, the mouse, the keys
// and the menus in SkinMDITabsBarInput.cpp.
#include "skin/form/SkinMDITabsBar.h"

#include <algorithm>

#include "host/ui/Forms.h"
#include "host/ui/MDI.h"
#include "host/ui/Windows.h"
#include "skin/controls/SkinPageControl.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/QZUtils.h"
#include "skin/form/Orvane.h"
#include "skin/popups/SkinMenu.h"

namespace qz {

namespace {

// The add button and the menu button: 14 x 14, centred at H / 2 - 8.
constexpr int kButtonSize = 14;
constexpr int kTabsLeft = 15;

TRect SmallButton(int left, int H) { return Bounds(left, H / 2 - 8, kButtonSize, kButtonSize); }

TqzOrvane* ControllerOf(const TCustomForm& form) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* o = dynamic_cast<TqzOrvane*>(form.Components(i))) return o;
  return nullptr;
}

}  // namespace

TRect TqzMDITab::CloseButtonOnBar() const {
  if (IsNullRect(CloseButtonRect)) return {};
  return OffsetRect(CloseButtonRect, TabRect.Left, TabRect.Top);
}

// ---------------------------------------------------------------------------
// Geometry

TqzMDITabsGeometry LayoutMDITabs(const TqzMDITabsMetrics& m) {
  TqzMDITabsGeometry g;
  const int W = m.ShowAddButton ? m.Width - 19 : m.Width;
  const int H = m.Height;
  g.W = W;
  g.Tabs.assign(size_t(std::max(m.Count, 0)), TRect{});
  g.Shown.assign(g.Tabs.size(), false);
  auto addButton = [&](int left) {
    if (m.ShowAddButton) g.AddButton = SmallButton(left, H);
  };
  if (m.Count <= 0) {
    addButton(2);
    return g;
  }
  const int top = std::min(std::max(m.TabTop, 0), H);
  int width = std::max(0, std::min((W - kTabsLeft) / m.Count, m.DefaultTabWidth));
  int shown = m.Count;
  bool stretchLast = width < m.DefaultTabWidth;
  if (m.MinTabWidth > 0 && width < m.MinTabWidth) {
    shown = std::clamp((W - 2 * kTabsLeft) / m.MinTabWidth, 0, m.Count);
    width = m.MinTabWidth;
    stretchLast = false;
  } else if (m.KeptTabWidth > 0 && m.KeptTabWidth <= (W - kTabsLeft) / m.Count) {
    // After a close with the mouse the tabs keep their width, so the next
    // close button comes to lie under the pointer.
    width = m.KeptTabWidth;
    stretchLast = false;
  }
  g.TabWidth = width;
  g.HiddenCount = m.Count - shown;
  for (int i = 0; i < shown; ++i) {
    g.Tabs[size_t(i)] = {kTabsLeft + i * width, top, kTabsLeft + (i + 1) * width, H};
    g.Shown[size_t(i)] = true;
  }
  if (shown > 0 && stretchLast) g.Tabs[size_t(shown - 1)].Right = std::max(W, g.Tabs[size_t(shown - 1)].Left);
  addButton(shown > 0 ? g.Tabs[size_t(shown - 1)].Right + 2 : 2);
  if (g.HiddenCount > 0) g.MenuButton = SmallButton(m.Width - 15, H);
  return g;
}

TRect DraggedMDITabRect(const TRect& tab, int offset, int W) {
  TRect r = OffsetRect(tab, offset, 0);
  if (r.Right > W) r = OffsetRect(r, W - r.Right, 0);
  if (r.Left < 0) r = OffsetRect(r, -r.Left, 0);
  return r;
}

int MDITabDropIndex(const TqzMDITabsGeometry& g, int dragged, const TRect& shifted) {
  const int n = int(g.Tabs.size());
  if (dragged < 0 || dragged >= n) return dragged;
  const TRect& home = g.Tabs[size_t(dragged)];
  auto middle = [&](int i) { return (g.Tabs[size_t(i)].Left + g.Tabs[size_t(i)].Right) / 2; };
  int drop = dragged;
  if (shifted.Left > home.Left) {
    for (int i = dragged + 1; i < n; ++i)
      if (g.Shown[size_t(i)] && shifted.Right > middle(i)) drop = i;
  } else if (shifted.Left < home.Left) {
    for (int i = dragged - 1; i >= 0; --i)
      if (g.Shown[size_t(i)] && shifted.Left < middle(i)) drop = i;
  }
  return drop;
}

// ---------------------------------------------------------------------------
// The bar

TqzSkinMDITabsBar::TqzSkinMDITabsBar(TComponent* AOwner)
    : TqzSkinCustomControl(AOwner), hiddenMenu_(std::make_unique<TPopupMenu>(nullptr)) {
  SetSkinDataName("tab");
  SetAlign(alTop);
  SetDefaultHeight(21);
  SetBounds(Left(), Top(), 150, 21);
}

TqzSkinMDITabsBar::~TqzSkinMDITabsBar() {
  // The hidden tabs' menu may still be open on its items.
  if (hiddenEngine_ && hiddenEngine_->Visible()) hiddenEngine_->CloseAll();
  hot_ = oldHot_ = dragTab_ = middleTab_ = nullptr;
  tabs_.clear();
  SetOrvane(nullptr);
}

void TqzSkinMDITabsBar::SetOrvane(TqzOrvane* v) {
  SetReference(orvane_, v);
  if (v) SyncChildren();
}

void TqzSkinMDITabsBar::Notification(TComponent* AComponent, TOperation Operation) {
  TqzSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove || InState(csDestroying)) return;
  // A child going away leaves its tab at once; the controller's next sync
  // would find it gone as well.
  for (const auto& t : tabs_)
    if (!t->Child || t->Child.Get() == AComponent) {
      LayoutAndRedraw();
      return;
    }
}

void TqzSkinMDITabsBar::SetFlag(bool& flag, bool v) {
  if (flag == v) return;
  flag = v;
  LayoutAndRedraw();
}

void TqzSkinMDITabsBar::SetTabKind(TqzSkinMDITabKind v) {
  if (tabKind_ == v) return;
  tabKind_ = v;
  SetBounds(Left(), Top(), Width(), Height());
  LayoutAndRedraw();
}

void TqzSkinMDITabsBar::SetUseSkinSize(bool v) {
  useSkinSize_ = v;
  SetBounds(Left(), Top(), Width(), Height());
}

void TqzSkinMDITabsBar::SetDefaultTabWidth(int v) {
  defaultTabWidth_ = std::max(v, 0);
  LayoutAndRedraw();
}

void TqzSkinMDITabsBar::SetMinTabWidth(int v) {
  minTabWidth_ = std::max(v, 0);
  LayoutAndRedraw();
}

const TqzDataSkinTabControl* TqzSkinMDITabsBar::TabDescription() const {
  TqzSkinData* skin = SkinData();
  if (!skin || skin->Empty()) return nullptr;
  const int index = skin->FindControlIndex(SkinDataName());
  if (index < 0) return nullptr;
  auto* d = As<TqzDataSkinTabControl>(skin->CtrlList()[size_t(index)].get());
  return d && skin->ActivePicture(d->PictureIndex) && !IsNullRect(d->TabRect) ? d : nullptr;
}

int TqzSkinMDITabsBar::TabOffset() const {
  const TqzDataSkinTabControl* d = TabDescription();
  if (!d || IsNullRect(d->ActiveTabRect)) return 0;
  return std::max(0, d->ActiveTabRect.Height() - d->TabRect.Height());
}

void TqzSkinMDITabsBar::CalcSize(int& W, int& H) {
  // Any width; with UseSkinSize the height of the description's tallest tab.
  const TqzDataSkinTabControl* d = TabDescription();
  if (!d || !useSkinSize_) return;
  H = std::max(d->TabRect.Height(), d->ActiveTabRect.Height());
  (void)W;
}

void TqzSkinMDITabsBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TqzSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  Layout();
}

void TqzSkinMDITabsBar::ChangeSkinData() {
  TqzSkinCustomControl::ChangeSkinData();
  SetBounds(Left(), Top(), Width(), Height());
  LayoutAndRedraw();
}

// ---------------------------------------------------------------------------
// Layout

void TqzSkinMDITabsBar::Layout() {
  // Tabs of children that went are dropped first: nothing paints or hits them.
  for (size_t i = tabs_.size(); i-- > 0;) {
    TqzMDITab* t = tabs_[i].get();
    if (t->Child && !t->Child->InState(csDestroying)) continue;
    if (hot_ == t) hot_ = nullptr;
    if (oldHot_ == t) oldHot_ = nullptr;
    if (dragTab_ == t) dragTab_ = nullptr, dragging_ = false;
    if (middleTab_ == t) middleTab_ = nullptr;
    tabs_.erase(tabs_.begin() + std::ptrdiff_t(i));
  }
  TqzMDITabsMetrics m;
  m.Width = Width();
  m.Height = Height();
  m.Count = int(tabs_.size());
  m.ShowAddButton = showAddButton_;
  m.DefaultTabWidth = defaultTabWidth_;
  m.MinTabWidth = minTabWidth_;
  m.TabTop = tabKind_ == qztkTab ? TabOffset() : 0;
  m.KeptTabWidth = keptTabWidth_;
  geometry_ = LayoutMDITabs(m);
  const TSize close = CloseButtonSize();
  const TCustomForm* active = Client() ? Client()->ActiveChild() : nullptr;
  for (size_t i = 0; i < tabs_.size(); ++i) {
    TqzMDITab& t = *tabs_[i];
    t.Visible = geometry_.Shown[i];
    t.TabRect = geometry_.Tabs[i];
    if (dragging_ && &t == dragTab_) t.TabRect = DraggedMDITabRect(t.TabRect, dragOffset_, geometry_.W);
    t.CloseButtonRect = {};
    if (showCloseButtons_ && t.Visible && t.TabRect.Width() > close.cx + 6) {
      const int h = t.TabRect.Height();
      t.CloseButtonRect = Bounds(t.TabRect.Width() - close.cx - 4, (h - close.cy) / 2, close.cx, close.cy);
    }
    t.ShownCaption = t.Child ? t.Child->Caption() : std::string();
    t.ShownActive = t.Child.Get() == active;
  }
}

void TqzSkinMDITabsBar::RedrawRect(const TRect& r) {
  if (HandleAllocated() && !IsNullRect(r)) ::qz::InvalidateRect(Handle(), &r, false);
}

void TqzSkinMDITabsBar::RedrawTab(const TqzMDITab* tab) {
  if (!tab || !tab->Visible) return;
  // The active look may reach above the tab's rectangle.
  TRect r = tab->TabRect;
  r.Top = 0;
  RedrawRect(r);
}

void TqzSkinMDITabsBar::LayoutAndRedraw() {
  Layout();
  Invalidate();
}

// ---------------------------------------------------------------------------
// Tabs and children

TMDIClient* TqzSkinMDITabsBar::Client() const {
  if (!orvane_) return nullptr;
  return orvane_->Form().MDIClient();
}

TqzMDITab* TqzSkinMDITabsBar::FindTab(const TCustomForm& child) const {
  for (const auto& t : tabs_)
    if (t->Child.Get() == &child) return t.get();
  return nullptr;
}

int TqzSkinMDITabsBar::IndexOfTab(const TqzMDITab* tab) const {
  for (size_t i = 0; i < tabs_.size(); ++i)
    if (tabs_[i].get() == tab) return int(i);
  return -1;
}

std::vector<TqzMDITab*> TqzSkinMDITabsBar::HiddenTabs() const {
  std::vector<TqzMDITab*> out;
  for (const auto& t : tabs_)
    if (!t->Visible) out.push_back(t.get());
  return out;
}

TqzMDITab* TqzSkinMDITabsBar::AddTab(TCustomForm& child) {
  if (TqzMDITab* t = FindTab(child)) return t;
  tabs_.push_back(std::make_unique<TqzMDITab>(*this, child));
  TqzMDITab* t = tabs_.back().get();
  child.FreeNotification(this);
  LayoutAndRedraw();
  return t;
}

void TqzSkinMDITabsBar::RemoveTab(const TCustomForm& child) {
  TqzMDITab* t = FindTab(child);
  if (!t) return;
  TComponentRef<TqzSkinMDITabsBar> self(this);
  if (hot_ == t) {
    hot_ = nullptr;
    if (OnTabMouseLeave) OnTabMouseLeave(this, t);
    if (!self) return;
  }
  const int index = IndexOfTab(t);  // the handler may have removed it already
  if (index < 0) return;
  if (oldHot_ == t) oldHot_ = nullptr;
  if (dragTab_ == t) dragTab_ = nullptr, dragging_ = false;
  if (middleTab_ == t) middleTab_ = nullptr;
  tabs_.erase(tabs_.begin() + index);
  LayoutAndRedraw();
}

void TqzSkinMDITabsBar::UpdateTab(const TCustomForm& child) { RedrawTab(FindTab(child)); }

void TqzSkinMDITabsBar::SyncChildren() {
  if (InState(csDestroying)) return;
  TComponentRef<TqzSkinMDITabsBar> self(this);
  TMDIClient* client = Client();
  auto belongs = [client](const TCustomForm* c) {
    return c && client && c->Visible() && !c->InState(csDestroying) && c->MDIParentClient() == client;
  };
  // Refusals last while the child stays shown.
  std::erase_if(refused_, [&](const TComponentRef<TCustomForm>& c) { return !belongs(c.Get()); });
  // Tabs of children hidden, destroyed or gone elsewhere.
  std::vector<TComponentRef<TCustomForm>> leaving;
  for (const auto& t : tabs_)
    if (t->Child && !belongs(t->Child.Get())) leaving.push_back(t->Child);
  for (const auto& c : leaving) {
    if (c) RemoveTab(*c);
    if (!self) return;
  }
  // Shown children without a tab, in the order the client keeps them
  // (oldest first: the client lists the active child first).
  if (client) {
    std::vector<TComponentRef<TCustomForm>> children;
    for (int i = client->ChildCount(); i-- > 0;) children.push_back(client->Children(i));
    for (const auto& c : children) {
      if (!self) return;
      if (!belongs(c.Get()) || FindTab(*c)) continue;
      if (std::any_of(refused_.begin(), refused_.end(), [&](const auto& r) { return r.Get() == c.Get(); }))
        continue;
      bool accept = true;
      if (TqzOrvane* o = ControllerOf(*c); o && o->OnAcceptToMDITabsBar) o->OnAcceptToMDITabsBar(accept);
      if (!self) return;
      if (!belongs(c.Get())) continue;
      if (accept)
        AddTab(*c);
      else
        refused_.push_back(c);
    }
  }
  // Tabs whose caption or active state changed repaint alone.
  const TCustomForm* active = client ? client->ActiveChild() : nullptr;
  std::vector<const TqzMDITab*> changed;
  for (const auto& t : tabs_)
    if (t->Child && (t->ShownCaption != t->Child->Caption() || t->ShownActive != (t->Child.Get() == active)))
      changed.push_back(t.get());
  if (changed.empty()) return;
  Layout();
  for (const TqzMDITab* t : changed) RedrawTab(t);
}

void TqzSkinMDITabsBar::MoveTab(int from, int to) {
  const int n = int(tabs_.size());
  if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
  auto tab = std::move(tabs_[size_t(from)]);
  tabs_.erase(tabs_.begin() + from);
  tabs_.insert(tabs_.begin() + to, std::move(tab));
}

// ---------------------------------------------------------------------------
// Registration

QZ_PUBLISHED(TqzSkinMDITabsBar, TqzSkinCustomControl) {
  using O = TqzSkinMDITabsBar;
  b.Factory([](TComponent* owner) { return new TqzSkinMDITabsBar(owner); });
  b.Prop("SkinDataName", &O::SkinDataName, [](O& o, const std::string& v) { o.SetSkinDataName(v); },
         std::string("tab"));
  b.Prop("DefaultHeight", &O::DefaultHeight, &O::SetDefaultHeight, 21);
  b.Ref<TqzOrvane>("Orvane", &O::Orvane, &O::SetOrvane);
  b.Prop("ShowChildIcon", &O::ShowChildIcon, &O::SetShowChildIcon, false);
  b.Prop("ShowAddButton", &O::ShowAddButton, &O::SetShowAddButton, false);
  b.Prop("DblClickChildMove", &O::DblClickChildMove, &O::SetDblClickChildMove, false);
  b.Prop("ShowCloseButtons", &O::ShowCloseButtons, &O::SetShowCloseButtons, false);
  b.Enum("TabKind", &O::TabKind, &O::SetTabKind, qztkTab);
  b.Prop("SupportChildMenus", &O::SupportChildMenus, &O::SetSupportChildMenus, true);
  b.Prop("UseSkinSize", &O::UseSkinSize, &O::SetUseSkinSize, true);
  b.Prop("MoveTabs", &O::MoveTabs, &O::SetMoveTabs, true);
  b.Prop("DefaultTabWidth", &O::DefaultTabWidth, &O::SetDefaultTabWidth, 100);
  b.Prop("MinTabWidth", &O::MinTabWidth, &O::SetMinTabWidth, 0);
  b.Event<TNotifyEvent>("OnAddButtonClick", &O::OnAddButtonClick);
  b.Event<TqzMDITabMouseEnterEvent>("OnTabMouseEnter", &O::OnTabMouseEnter);
  b.Event<TqzMDITabMouseLeaveEvent>("OnTabMouseLeave", &O::OnTabMouseLeave);
  b.Event<TqzMDITabMouseDownEvent>("OnTabMouseDown", &O::OnTabMouseDown);
  b.Event<TqzMDITabMouseUpEvent>("OnTabMouseUp", &O::OnTabMouseUp);
  b.Event<TqzMDITabGetDrawParamsEvent>("OnTabGetDrawParamsEvent", &O::OnTabGetDrawParamsEvent);
  b.Event<TNotifyEvent>("OnClick", &O::OnClick);
}

}  // namespace qz
