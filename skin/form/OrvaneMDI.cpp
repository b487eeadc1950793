// The MDI form's side of the controller: the client's scroll bars, the
// window menu's child items, the caption and menu bar look of a maximised
// child and its hand-over between children, and the pre-processing passed
// on to the active child.
#include <algorithm>
#include <utility>

#include "host/ui/MDI.h"
#include "host/ui/Menus.h"
#include "host/ui/Windows.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinMDITabsBar.h"

namespace qz {

namespace {

TqzOrvane* ControllerOf(const TCustomForm& form) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* o = dynamic_cast<TqzOrvane*>(form.Components(i))) return o;
  return nullptr;
}

bool ShownMaximized(const TCustomForm& child) {
  if (!child.Visible()) return false;
  if (const TqzOrvane* o = ControllerOf(child)) return o->ActualWindowState() == wsMaximized;
  return child.WindowState() == wsMaximized;
}

}  // namespace

TCustomForm* MaximizedMDIChildOf(const TCustomForm& mdiForm) {
  if (!mdiForm.MDIClient()) return nullptr;
  TCustomForm* child = mdiForm.ActiveMDIChild();
  return child && ShownMaximized(*child) ? child : nullptr;
}

bool TqzOrvane::MDIChildrenMaximized() const {
  const TMDIClient* client = form_->MDIClient();
  if (!client) return false;
  if (mdiChildrenMaximized_ || client->ChildrenMaximized()) return true;
  for (int i = 0; i < client->ChildCount(); ++i)
    if (ShownMaximized(*client->Children(i))) return true;
  return false;
}

// ---------------------------------------------------------------------------
// Keeping up with the children

void TqzOrvane::SyncMDIForm() {
  if (!form_->MDIClient()) return;
  TComponentRef<TqzOrvane> self(this);
  // The look stays while some child shows maximised; a closing child's look
  // was handed on (or not) by the time the client reports the change.
  mdiChildrenMaximized_ = false;
  mdiChildrenMaximized_ = MDIChildrenMaximized();
  UpdateMDIScrollBars(0);
  if (!self) return;
  SyncWindowMenu();
  if (!self) return;
  if (mdiTabsBar_) mdiTabsBar_->SyncChildren();
  if (!self) return;
  const std::string caption = MDIFormCaption();
  if (caption != mdiCaptionShown_) {
    mdiCaptionShown_ = caption;
    RepaintCaptionArea();
  }
}

void TqzOrvane::SetMDITabsBar(TqzSkinMDITabsBar* v) {
  SetReference(mdiTabsBar_, v);
  if (v && v->Orvane() != this) v->SetOrvane(this);
  else if (v) v->SyncChildren();
}

TqzMDIScrollBars* TqzOrvane::MDIScrollBars() {
  TMDIClient* client = form_->MDIClient();
  if (!client) {
    mdiScroll_.reset();
    return nullptr;
  }
  if (!mdiScroll_ || mdiScroll_->Client() != client) {
    mdiScroll_.reset();
    mdiScroll_ = std::make_unique<TqzMDIScrollBars>(*form_);
    mdiScroll_->SetSkinData(skinData_);
    mdiScroll_->ChildrenMaximized = [this] { return MDIChildrenMaximized(); };
    // Maximised children fill the client again (bars coming or going size it).
    mdiScroll_->OnClientResized = [this] {
      for (const TComponentRef<TqzOrvane> child : MDIChildControllers())
        if (child && child->IsMaximizedMDIChild() && child->form_->HandleAllocated())
          SendMessage(child->form_->Handle(), kMDIRefit, 0, 0);
    };
  }
  return mdiScroll_.get();
}

void TqzOrvane::UpdateMDIScrollBars(uint64_t ignore) {
  if (form_->InState(csDestroying)) return;
  TqzMDIScrollBars* bars = MDIScrollBars();
  if (!bars) return;
  bars->SetEnabled(ShowMDIScrollBars);
  bars->Update(ignore, MDIChildrenMaximized());
}

std::string TqzOrvane::MDIFormCaption() const {
  const TCustomForm* child = MaximizedMDIChildOf(*form_);
  return child ? form_->Caption() + " - [" + child->Caption() + "]" : form_->Caption();
}

// ---------------------------------------------------------------------------
// The window menu

TMenuItem* TqzOrvane::MDIWindowMenuItem(const TCustomForm& child) const {
  for (const auto& w : windowItems_)
    if (w.Child.Get() == &child && w.Item) return w.Item.Get();
  return nullptr;
}

// Shown children have an item, in the order they were first shown; hidden
// and destroyed ones lose theirs; captions follow the children's.
void TqzOrvane::SyncWindowMenu() {
  TMDIClient* client = form_->MDIClient();
  TMenuItem* menu = form_->WindowMenu();
  if (windowMenuOfItems_.Get() != menu)
    while (!windowItems_.empty()) RetireWindowItem(windowItems_.size() - 1);
  windowMenuOfItems_ = menu;
  for (size_t i = windowItems_.size(); i-- > 0;) {
    const TWindowItem& w = windowItems_[i];
    const bool keep = w.Item && w.Child && w.Child->Visible() && !w.Child->InState(csDestroying) &&
                      w.Child->MDIParentClient() == client;
    if (!keep) RetireWindowItem(i);
  }
  if (windowItemClicks_ == 0) FreeRetiredItems();
  for (int i = 0; menu && client && i < client->ChildCount(); ++i) {
    TCustomForm* child = client->Children(i);
    if (!child->Visible() || child->InState(csDestroying)) continue;
    if (TMenuItem* item = MDIWindowMenuItem(*child)) {
      if (item->Caption() != child->Caption()) item->SetCaption(child->Caption());
      continue;
    }
    auto* item = new TMenuItem(nullptr);
    item->SetName(child->Name() + kMDIChildItemSuffix);
    item->SetCaption(child->Caption());
    item->OnClick = [owner = TComponentRef<TqzOrvane>(this), target = TComponentRef<TCustomForm>(child)](TObject*) {
      // Copies: the item (and this handler) may go while the child activates.
      const TComponentRef<TqzOrvane> o = owner;
      const TComponentRef<TCustomForm> c = target;
      if (o && c) o->ActivateFromWindowMenu(c.Get());
    };
    menu->Add(item);
    windowItems_.push_back({child, item});
  }
}

// Out of the menu at once; freed later, as the item may be the one whose
// click is running.
void TqzOrvane::RetireWindowItem(size_t index) {
  TComponentRef<TMenuItem> item = windowItems_[index].Item;
  windowItems_.erase(windowItems_.begin() + std::ptrdiff_t(index));
  if (!item) return;
  item->SetVisible(false);
  if (TMenuItem* parent = item->Parent()) parent->Remove(item.Get());
  retiredItems_.push_back(item);
}

void TqzOrvane::ActivateFromWindowMenu(TCustomForm* child) {
  TComponentRef<TqzOrvane> self(this);
  TComponentRef<TCustomForm> target(child);
  ++windowItemClicks_;
  target->Show();
  if (target && self) {
    if (TMDIClient* client = target->MDIParentClient()) client->Activate(target.Get());
  }
  if (!self) return;
  // The clicked item may be among the retired ones and still running its
  // click: they are freed when the MDI form hears from its client next.
  if (--windowItemClicks_ == 0 && !retiredItems_.empty() && form_->HandleAllocated())
    PostMessage(form_->Handle(), CM_MDICHANGED, 0, 0);
}

void TqzOrvane::FreeRetiredItems() {
  for (auto& item : std::exchange(retiredItems_, {})) delete item.Get();
}

void TqzOrvane::FreeWindowItems() {
  for (auto& w : std::exchange(windowItems_, {})) delete w.Item.Get();
  FreeRetiredItems();
}

// ---------------------------------------------------------------------------
// Maximised look and pre-processing

void TqzOrvane::TakeMaximizedLookOnActivation() {
  TMDIClient* client = form_->MDIParentClient();
  if (!client || actualState_ != wsNormal || !borderIcons_.Contains(biMaximize) || !form_->Visible()) return;
  TCustomForm& main = client->Form();
  if (!main.HandleAllocated() || main.InState(csDestroying)) return;
  if (SendMessage(main.Handle(), kMDIQueryMaximized, 0, 0) == 1) Maximize();
}

void TqzOrvane::ForwardPreProcess(TMessage& m) {
  TCustomForm* child = form_->ActiveMDIChild();
  if (!child || child->InState(csDestroying)) return;
  if (TqzOrvane* o = ControllerOf(*child); o && o != this) o->PreProcess(m);
}

}  // namespace qz
