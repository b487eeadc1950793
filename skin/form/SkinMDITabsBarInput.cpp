// The MDI tabs bar's input: hot tracking and the tab events, selecting and
// dragging tabs, the close buttons and the middle click, the add button,
// the child's system menu, the hidden tabs' menu and Ctrl+Tab. Any event
// handler may free the bar, a child or the form: every step after one
// checks what is still there.
#include <algorithm>
#include <cstdlib>

#include "host/ui/Forms.h"
#include "host/ui/MDI.h"
#include "host/ui/Windows.h"
#include "skin/base/MenuController.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinMDITabsBar.h"
#include "skin/popups/SkinMenu.h"

namespace qz {

namespace {

// A press moves this far before the tab follows the pointer.
constexpr int kDragThreshold = 3;

TqzOrvane* ControllerOf(const TCustomForm& form) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* o = dynamic_cast<TqzOrvane*>(form.Components(i))) return o;
  return nullptr;
}

TWindowState StateOf(const TCustomForm& child) {
  if (const TqzOrvane* o = ControllerOf(child)) return o->ActualWindowState();
  return child.WindowState();
}

}  // namespace

TqzMDITab* TqzSkinMDITabsBar::TabAt(TPoint p) const {
  // The dragged tab lies over the others.
  if (dragging_ && dragTab_ && dragTab_->Visible && dragTab_->TabRect.Contains(p)) return dragTab_;
  for (const auto& t : tabs_)
    if (t->Visible && t.get() != dragTab_ && t->TabRect.Contains(p)) return t.get();
  if (!dragging_ && dragTab_ && dragTab_->Visible && dragTab_->TabRect.Contains(p)) return dragTab_;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Hot tracking

void TqzSkinMDITabsBar::SetHot(TqzMDITab* tab) {
  if (tab == hot_) return;
  TComponentRef<TqzSkinMDITabsBar> self(this);
  TqzMDITab* old = hot_;
  oldHot_ = old;
  hot_ = tab;
  if (old) {
    old->MouseIn = false;
    old->CloseButtonMouseIn = false;
    RedrawTab(old);
    if (OnTabMouseLeave) OnTabMouseLeave(this, old);
    if (!self) return;
  }
  // The handler may have removed the new tab (closed its child).
  if (!tab || hot_ != tab || IndexOfTab(tab) < 0) return;
  tab->MouseIn = true;
  RedrawTab(tab);
  if (OnTabMouseEnter) OnTabMouseEnter(this, tab);
}

void TqzSkinMDITabsBar::SetAddHot(bool hot) {
  if (hot == addHot_) return;
  addHot_ = hot;
  RedrawRect(geometry_.AddButton);
}

void TqzSkinMDITabsBar::SetMenuHot(bool hot) {
  if (hot == menuHot_) return;
  menuHot_ = hot;
  RedrawRect(geometry_.MenuButton);
}

void TqzSkinMDITabsBar::Track(TPoint p) {
  TComponentRef<TqzSkinMDITabsBar> self(this);
  SetHot(TabAt(p));
  if (!self) return;
  for (const auto& t : tabs_) {
    const bool in = t.get() == hot_ && t->CloseButtonOnBar().Contains(p);
    if (in == t->CloseButtonMouseIn) continue;
    t->CloseButtonMouseIn = in;
    RedrawRect(t->CloseButtonOnBar());
  }
  SetAddHot(geometry_.AddButton.Contains(p));
  SetMenuHot(geometry_.MenuButton.Contains(p));
}

void TqzSkinMDITabsBar::CMMouseLeave(TMessage& m) {
  TComponentRef<TqzSkinMDITabsBar> self(this);
  TqzSkinCustomControl::CMMouseLeave(m);  // OnMouseLeave
  if (!self) return;
  if (dragging_) return;  // the drag holds the mouse; its release ends it
  SetHot(nullptr);
  if (!self) return;
  for (const auto& t : tabs_) t->CloseButtonMouseIn = t->CloseButtonMouseDown = false;
  SetAddHot(false);
  addDown_ = false;
  SetMenuHot(false);
  ReleaseKeptWidth();
}

// ---------------------------------------------------------------------------
// Kept widths after a close with the mouse

void TqzSkinMDITabsBar::KeepTabWidth() {
  if (geometry_.HiddenCount == 0 && geometry_.TabWidth > 0) keptTabWidth_ = geometry_.TabWidth;
}

void TqzSkinMDITabsBar::ReleaseKeptWidth() {
  if (keptTabWidth_ == 0) return;
  keptTabWidth_ = 0;
  LayoutAndRedraw();
}

// ---------------------------------------------------------------------------
// Presses and releases

void TqzSkinMDITabsBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinMDITabsBar> self(this);
  TqzSkinCustomControl::MouseDown(Button, Shift, X, Y);  // OnMouseDown
  if (!self) return;
  const TPoint p{X, Y};
  Track(p);
  if (!self) return;
  if (Button == mbLeft && geometry_.AddButton.Contains(p)) {
    addDown_ = true;
    RedrawRect(geometry_.AddButton);
    return;
  }
  if (Button == mbLeft && geometry_.MenuButton.Contains(p)) {
    PopupHiddenTabs();
    return;
  }
  TqzMDITab* tab = TabAt(p);
  if (!tab) return;
  if (Button == mbLeft && tab->CloseButtonOnBar().Contains(p)) {
    tab->CloseButtonMouseDown = true;
    RedrawRect(tab->CloseButtonOnBar());
    return;
  }
  if (Button == mbLeft) TabLeftDown(*tab, Shift, p);
  if (Button == mbRight) TabRightDown(*tab, p);
  if (Button == mbMiddle) middleTab_ = tab;
  if (!self || IndexOfTab(tab) < 0) return;
  if (OnTabMouseDown) OnTabMouseDown(this, Button, Shift, tab);
}

void TqzSkinMDITabsBar::TabLeftDown(TqzMDITab& tab, TShiftState Shift, TPoint p) {
  TComponentRef<TqzSkinMDITabsBar> self(this);
  TComponentRef<TCustomForm> child = tab.Child;
  if (!child) return;
  if (Shift.Contains(ssDouble)) {
    // The first click selected the child already.
    if (dblClickChildMove_ && StateOf(*child) == wsNormal) child->SetBounds(0, 0, child->Width(), child->Height());
    return;
  }
  SelectTab(tab);
  if (!self || !child || IndexOfTab(&tab) < 0) return;
  if (!moveTabs_) return;
  dragTab_ = &tab;
  dragStartX_ = p.X;
  dragOffset_ = 0;
  dragging_ = false;
}

void TqzSkinMDITabsBar::TabRightDown(TqzMDITab& tab, TPoint) {
  if (!supportChildMenus_ || !tab.Child) return;
  TqzOrvane* controller = ControllerOf(*tab.Child);
  if (!controller) return;
  TqzSkinData* skin = orvane_ ? (orvane_->MenusSkinData() ? orvane_->MenusSkinData() : orvane_->SkinData()) : nullptr;
  TPoint cursor;
  GetCursorPos(cursor);
  controller->SystemMenuPopup(cursor.X, cursor.Y, skin);
}

void TqzSkinMDITabsBar::MouseMove(TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinMDITabsBar> self(this);
  TqzSkinCustomControl::MouseMove(Shift, X, Y);  // OnMouseMove
  if (!self) return;
  if (dragging_ && !Shift.Contains(ssLeft)) {
    // The release went elsewhere (the mouse was taken away): the tab goes
    // back to its place.
    dragging_ = false;
    dragTab_ = nullptr;
    dragOffset_ = 0;
    LayoutAndRedraw();
  }
  if (dragTab_ && Shift.Contains(ssLeft)) {
    const int offset = X - dragStartX_;
    if (dragging_ || std::abs(offset) > kDragThreshold) {
      dragging_ = true;
      dragOffset_ = offset;
      LayoutAndRedraw();
    }
  }
  Track({X, Y});
}

void TqzSkinMDITabsBar::EndDrag() {
  const int from = IndexOfTab(dragTab_);
  if (from >= 0) MoveTab(from, MDITabDropIndex(geometry_, from, dragTab_->TabRect));
  dragging_ = false;
  dragTab_ = nullptr;
  dragOffset_ = 0;
  LayoutAndRedraw();
}

void TqzSkinMDITabsBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinMDITabsBar> self(this);
  TqzSkinCustomControl::MouseUp(Button, Shift, X, Y);  // OnMouseUp
  if (!self) return;
  const TPoint p{X, Y};
  if (Button == mbLeft) {
    if (dragging_) {
      EndDrag();
      Track(p);
      return;
    }
    dragTab_ = nullptr;
    if (std::exchange(addDown_, false)) {
      RedrawRect(geometry_.AddButton);
      if (geometry_.AddButton.Contains(p) && OnAddButtonClick) OnAddButtonClick(this);
      return;
    }
  }
  TqzMDITab* tab = TabAt(p);
  // A close button closes on a release over itself.
  bool closing = false;
  for (const auto& t : tabs_) {
    if (!t->CloseButtonMouseDown) continue;
    t->CloseButtonMouseDown = false;
    RedrawRect(t->CloseButtonOnBar());
    closing = closing || (Button == mbLeft && t.get() == tab && t->CloseButtonOnBar().Contains(p));
  }
  if (closing) {
    CloseChild(*tab);
    return;
  }
  TqzMDITab* middle = std::exchange(middleTab_, nullptr);
  if (!tab) return;
  if (OnTabMouseUp) OnTabMouseUp(this, Button, Shift, tab);
  if (!self || IndexOfTab(tab) < 0) return;
  if (Button == mbMiddle && middle == tab) CloseChild(*tab);
}

void TqzSkinMDITabsBar::CloseChild(TqzMDITab& tab) {
  TComponentRef<TCustomForm> child = tab.Child;
  if (!child) return;
  // The tabs keep their width until the pointer leaves the bar, so the
  // next tab's close button comes to lie under the pointer.
  KeepTabWidth();
  child->Close();
}

// ---------------------------------------------------------------------------
// Children

void TqzSkinMDITabsBar::SelectTab(TqzMDITab& tab) {
  TComponentRef<TCustomForm> child = tab.Child;
  if (!child) return;
  if (StateOf(*child) == wsMinimized) {
    if (TqzOrvane* o = ControllerOf(*child))
      o->Restore();
    else
      child->SetWindowState(wsNormal);
    if (!child) return;
  }
  child->Show();
  if (!child) return;
  if (TMDIClient* client = child->MDIParentClient()) client->Activate(child.Get());
}

void TqzSkinMDITabsBar::StepChild(bool forward) {
  TMDIClient* client = Client();
  if (!client) return;
  if (forward)
    client->Next();
  else
    client->Previous();
}

void TqzSkinMDITabsBar::CMDialogKey(TMessage& m) {
  const bool ctrlTab = m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0;
  TMDIClient* client = Client();
  if (ctrlTab && client && client->ActiveChild()) {
    StepChild(GetKeyState(VK_SHIFT) >= 0);
    m.Result = 1;
    return;
  }
  TqzSkinCustomControl::CMDialogKey(m);
}

// ---------------------------------------------------------------------------
// The hidden tabs' menu

void TqzSkinMDITabsBar::RebuildHiddenMenu() {
  TMenuItem& root = *hiddenMenu_->Items();
  while (root.Count() > 0) delete root.Items(root.Count() - 1);
  for (TqzMDITab* t : HiddenTabs()) {
    if (!t->Child) continue;
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(t->Child->Caption());
    // Choosing a hidden tab brings it into the last shown place.
    item->OnClick = [bar = TComponentRef<TqzSkinMDITabsBar>(this), child = t->Child](TObject*) {
      const TComponentRef<TqzSkinMDITabsBar> b = bar;
      const TComponentRef<TCustomForm> c = child;
      if (!b || !c) return;
      TqzMDITab* tab = b->FindTab(*c);
      if (!tab) return;
      const int shown = b->TabCount() - b->HiddenCount();
      if (shown > 0) b->MoveTab(b->IndexOfTab(tab), shown - 1);
      b->LayoutAndRedraw();
      b->SelectTab(*tab);
    };
    root.Add(item);
  }
}

void TqzSkinMDITabsBar::PopupHiddenTabs() {
  if (geometry_.HiddenCount == 0) return;
  TqzMenuController* controller = orvane_ ? orvane_ : MenuController(this);
  if (!controller) return;
  TComponentRef<TqzSkinMDITabsBar> self(this);
  // The items shown last may still be on screen: close them before they go.
  TqzSkinMenu& engine = controller->SkinMenu();
  if (engine.Visible()) engine.CloseAll();
  if (!self) return;
  RebuildHiddenMenu();
  const TRect r = geometry_.MenuButton;
  const TPoint topLeft = ClientToScreen(r.TopLeft());
  const TRect anchor{topLeft.X, topLeft.Y, topLeft.X + r.Width(), topLeft.Y + r.Height()};
  TqzSkinData* skin = controller->MenuSkin() ? controller->MenuSkin() : SkinData();
  hiddenEngine_ = &engine;
  controller->PopupItems(*hiddenMenu_->Items(), skin, this, anchor, false);
}

}  // namespace qz
