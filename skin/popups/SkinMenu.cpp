#include "skin/popups/SkinMenu.h"

#include <algorithm>

#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"

namespace qz {

namespace {

constexpr unsigned kSubmenuDelayMs = 500;

}  // namespace

TqzSkinMenu::TqzSkinMenu(TComponent* AOwner) : TComponent(AOwner) {
  waitTimer_ = std::make_unique<TTimer>(nullptr);
  waitTimer_->SetEnabled(false);
  waitTimer_->SetInterval(kSubmenuDelayMs);
  waitTimer_->OnTimer = [this](TObject*) { OnWaitTimer(); };
}

TqzSkinMenu::~TqzSkinMenu() {
  waitTimer_->SetEnabled(false);
  // The engine may go from inside a message of one of its windows: they are
  // hidden now and freed later, and nobody is told any more.
  for (auto& w : windows_)
    if (w) w->CloseWindow();
}

TqzSkinPopupWindow* TqzSkinMenu::Level(int index) const {
  if (index < 0 || index >= LevelCount()) return nullptr;
  return windows_[static_cast<size_t>(index)].Get();
}

int TqzSkinMenu::LevelOf(const TqzSkinPopupWindow* window) const {
  for (int i = 0; i < LevelCount(); ++i)
    if (Level(i) == window) return i;
  return -1;
}

TqzSkinPopupWindow* TqzSkinMenu::LevelAt(TPoint screen) const {
  for (int i = LevelCount() - 1; i >= 0; --i) {
    TqzSkinPopupWindow* w = Level(i);
    if (w && w->HandleAllocated() && IsWindowVisible(w->Handle()) && w->BoundsRect().Contains(screen))
      return w;
  }
  return nullptr;
}

bool TqzSkinMenu::BeginPopup(TControl* popupCtrl, TqzSkinData* skinData, const TRect& anchor) {
  TComponentRef<TqzSkinMenu> self(this);
  TComponentRef<TControl> control(popupCtrl);
  firstShow_ = !visible_;
  // An open chain ends first (telling its own control), then the new one
  // remembers who asked for it.
  if (!windows_.empty() || visible_) CloseFrom(0);
  if (!self) return false;
  popupControl_ = control.Get();
  workArea_ = WorkAreaNear(anchor.TopLeft());
  SetReference(skinData_, skinData);
  return true;
}

void TqzSkinMenu::Popup(TControl* popupCtrl, TqzSkinData* skinData, int startIndex, const TRect& anchor,
                        TMenuItem& item, bool popupToUp) {
  TComponentRef<TqzSkinMenu> self(this);
  TComponentRef<TMenuItem> source(&item);
  // Nothing but hidden items and separators: nothing happens at all (an
  // open menu stays, no close is reported, no input is taken).
  if (!item.HasShownItems(startIndex)) return;
  if (!BeginPopup(popupCtrl, skinData, anchor) || !source) return;
  // The close of the open chain ran handlers that may have changed the items.
  if (!item.HasShownItems(startIndex)) return;
  OpenRoot(anchor, item, startIndex, popupToUp, nullptr);
}

void TqzSkinMenu::OpenRoot(const TRect& anchor, TMenuItem& item, int startIndex, bool popupToUp,
                           const std::vector<TMenuItem*>* itemList) {
  TComponentRef<TqzSkinMenu> self(this);
  visible_ = true;
  const bool opened = OpenLevel(anchor, item, startIndex, false, popupToUp, itemList);
  if (!self) return;
  firstShow_ = false;
  // The items' actions hid everything while the level was built: the menu
  // never opened and is not reported as closed.
  if (!opened && windows_.empty()) {
    visible_ = false;
    popupControl_ = nullptr;
  }
}

std::vector<TMenuItem*> TqzSkinMenu::MergedItems(TMenuItem* childItems, TMenuItem& mainItems) {
  std::vector<TMenuItem*> children;
  for (int i = 0; childItems && i < childItems->Count(); ++i) children.push_back(childItems->Items(i));
  std::vector<TMenuItem*> merged;
  for (int i = 0; i < mainItems.Count(); ++i) {
    TMenuItem* item = mainItems.Items(i);
    const bool replaced = std::any_of(children.begin(), children.end(),
                                      [&](const TMenuItem* c) { return c->GroupIndex() == item->GroupIndex(); });
    if (!replaced) merged.push_back(item);
  }
  merged.insert(merged.end(), children.begin(), children.end());
  std::stable_sort(merged.begin(), merged.end(),
                   [](const TMenuItem* a, const TMenuItem* b) { return a->GroupIndex() < b->GroupIndex(); });
  return merged;
}

void TqzSkinMenu::PopupMerged(TControl* popupCtrl, TqzSkinData* skinData, int startIndex, const TRect& anchor,
                              TMenuItem* childItems, TMenuItem& mainItems, bool popupToUp) {
  TComponentRef<TqzSkinMenu> self(this);
  TComponentRef<TMenuItem> main(&mainItems), child(childItems);
  auto anythingShown = [&] {
    if (!main || main->Count() == 0) return false;
    const std::vector<TMenuItem*> list = MergedItems(child.Get(), *main);
    const int from = std::clamp(startIndex, 0, static_cast<int>(list.size()));
    return AnyShownCommand({list.begin() + from, list.end()});
  };
  if (!anythingShown()) return;
  if (!BeginPopup(popupCtrl, skinData, anchor) || !anythingShown()) return;
  const std::vector<TMenuItem*> list = MergedItems(child.Get(), mainItems);
  OpenRoot(anchor, mainItems, startIndex, popupToUp, &list);
}

bool TqzSkinMenu::OpenLevel(const TRect& anchor, TMenuItem& item, int startIndex, bool submenu, bool popupToUp,
                            const std::vector<TMenuItem*>* itemList) {
  TComponentRef<TqzSkinMenu> self(this);
  TqzSkinData* skin = skinData_ && !skinData_->Empty() ? skinData_ : nullptr;
  auto* window = new TqzSkinPopupWindow(*this, skin, item, startIndex);
  if (itemList) window->SetItemList(*itemList);
  TComponentRef<TqzSkinPopupWindow> level(window);
  windows_.emplace_back(window);
  window->ShowFor(anchor, submenu, popupToUp);
  if (!self) return false;
  if (level && !level->Closing()) return true;
  // Closed while it was built (its items came out empty, or a handler
  // ended the menu): it is no level of the chain any more.
  std::erase_if(windows_, [&](const TComponentRef<TqzSkinPopupWindow>& w) { return !w || w.Get() == level.Get(); });
  return false;
}

void TqzSkinMenu::CloseFrom(int level) {
  level = std::max(level, 0);
  TComponentRef<TqzSkinMenu> self(this);
  while (LevelCount() > level) {
    TComponentRef<TqzSkinPopupWindow> w = windows_.back();
    windows_.pop_back();
    if (w) w->CloseWindow();
    if (!self) return;
  }
  if (level > 0 || !visible_) return;
  waitTimer_->SetEnabled(false);
  visible_ = false;
  lastPopupControl_ = popupControl_.Get();
  TControl* control = std::exchange(popupControl_, nullptr).Get();
  SendToControl(control, WM_CLOSESKINMENU);
  if (!self) return;
  OnSideKey = nullptr;
  if (TNotifyEvent handler = std::exchange(OnClose, nullptr)) handler(this);
}

void TqzSkinMenu::CloseAll() {
  TComponentRef<TqzSkinMenu> self(this);
  const bool wasOpen = visible_ || !windows_.empty();
  CloseFrom(0);
  if (!self) return;
  waitTimer_->SetEnabled(false);
  waitItem_ = nullptr;
  waitWindow_ = nullptr;
  if (wasOpen && form_ && form_->HandleAllocated()) SendMessage(form_->Handle(), WM_CLOSESKINMENU, 0, 0);
}

void TqzSkinMenu::HandleKey(uint16_t key) {
  if (TqzSkinPopupWindow* deepest = Deepest()) deepest->HandleKey(key);
}

void TqzSkinMenu::SendToControl(TControl* control, uint32_t msg) {
  if (control == nullptr) return;
  if (auto* win = dynamic_cast<TWinControl*>(control); win && win->HandleAllocated()) {
    SendMessage(win->Handle(), msg, 0, 0);
    return;
  }
  TMessage m{msg, 0, 0, 0};
  control->Dispatch(m);
}

void TqzSkinMenu::ReportItem(TqzSkinPopupWindow& window, int index, bool immediate, bool click) {
  if (index < 0 || index >= window.ItemCount()) return;
  TComponentRef<TqzSkinMenu> self(this);
  TComponentRef<TqzSkinPopupWindow> level(&window);
  TComponentRef<TMenuItem> item = window.Item(index).MenuItem;
  if (!item) return;
  const int depth = LevelOf(&window);
  const bool children = item->HasShownItems();
  if (!children) {
    waitTimer_->SetEnabled(false);
    if (!click) {
      CloseFrom(depth + 1);
      return;
    }
    CloseAll();
    if (self) Dispatch(item);
    return;
  }
  if (!click) {
    if (immediate) return;
    CloseFrom(depth + 1);
    if (!self) return;
    waitItem_ = item.Get();
    waitWindow_ = &window;
    waitTimer_->SetEnabled(false);
    waitTimer_->SetEnabled(true);
    return;
  }
  // The item's own handler may fill the submenu before it opens.
  item->Click();
  if (!self || !level || !item) return;
  waitTimer_->SetEnabled(false);
  waitItem_ = nullptr;
  const int at = window.IndexOfItem(item.Get());
  if (at < 0 || !item->HasShownItems()) return;
  CloseFrom(depth + 1);
  if (!self || !level) return;
  window.Item(at).Down = true;
  window.RepaintItem(at);
  const TRect r = window.Item(at).ItemRect;
  const TPoint topLeft = window.ClientToScreen(r.TopLeft());
  const bool opened = OpenLevel({topLeft.X, topLeft.Y, topLeft.X + r.Width(), topLeft.Y + r.Height()}, *item, 0,
                                true, false);
  if (opened || !self || !level || !item) return;
  // Nothing to show after all: the item is not left marked as open.
  if (const int again = window.IndexOfItem(item.Get()); again >= 0 && window.Item(again).Down) {
    window.Item(again).Down = false;
    window.RepaintItem(again);
  }
}

void TqzSkinMenu::OnWaitTimer() {
  waitTimer_->SetEnabled(false);
  TqzSkinPopupWindow* window = waitWindow_.Get();
  TMenuItem* item = waitItem_.Get();
  waitItem_ = nullptr;
  waitWindow_ = nullptr;
  if (window == nullptr || item == nullptr || LevelOf(window) < 0) return;
  const int index = window->IndexOfItem(item);
  if (index >= 0 && window->Item(index).Active) ReportItem(*window, index, false, true);
}

void TqzSkinMenu::CancelWait(const TMenuItem* item) {
  if (item == nullptr || waitItem_.Get() != item) return;
  waitTimer_->SetEnabled(false);
  waitItem_ = nullptr;
  waitWindow_ = nullptr;
}

// The menu has closed before this runs: the handler may free the form, the
// controller and this engine.
void TqzSkinMenu::Dispatch(TComponentRef<TMenuItem> item) {
  TComponentRef<TqzSkinMenu> self(this);
  if (item) item->Click();
  if (!self) return;
  SendToControl(lastPopupControl_.Get(), WM_AFTERDISPATCH);
}

// ---------------------------------------------------------------------------
// Popup menus of the application

TqzMenuRoute FindMenuRoute(TComponent* component) {
  auto* popup = dynamic_cast<TqzSkinPopupMenu*>(component);
  TqzMenuController* controller = popup ? popup->FindController() : MenuController(component);
  if (controller == nullptr) return {};
  return {&controller->SkinMenu(), controller->MenuSkin()};
}

TqzSkinPopupMenu::TqzSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

void TqzSkinPopupMenu::SetController(TqzMenuController* value) {
  controller_ = value;
  SetReference(controllerComponent_, value ? &value->MenuControllerComponent() : nullptr);
}

TqzMenuController* TqzSkinPopupMenu::FindController() const {
  if (TqzMenuController* own = Controller()) return own;
  if (controllerSearch_) {
    auto* form = dynamic_cast<TCustomForm*>(controllerSearch_);
    if (TqzMenuController* found = form ? MenuControllerOf(*form) : FirstController(*controllerSearch_))
      return found;
  }
  return MenuController(const_cast<TqzSkinPopupMenu*>(this));
}

void TqzSkinPopupMenu::DoPopup(int x, int y) {
  lastPopupPoint_ = {x, y};
  PopupFromRect(nullptr, {x, y, x, y}, false);
}

void TqzSkinPopupMenu::PopupFromRect(TControl* control, const TRect& screenRect, bool popupToUp) {
  // Nothing to show: an open menu is not closed for it.
  if (!Items()->HasShownItems()) return;
  TqzMenuRoute route = FindMenuRoute(this);
  if (route.Menu == nullptr) return;
  if (skinData_ == nullptr) SetSkinData(route.SkinData);
  TComponentRef<TqzSkinPopupMenu> self(this);
  // The close handler of the menu open before may free the controller and
  // its engine with it.
  TComponentRef<TqzSkinMenu> engine(route.Menu);
  if (engine->Visible()) engine->CloseAll();
  if (!self || !engine) return;
  engine->Popup(control, skinData_, 0, screenRect, *Items(), popupToUp);
  if (!self || !engine) return;
  if (engine->Visible()) engine->OnClose = OnMenuClose;
}

namespace {

// Reaches the host's own DoPopup (the plain popup window) from outside.
struct THostPopupAccess : TPopupMenu {
  using TPopupMenu::DoPopup;
};

// A free function rather than a lambda: the hook clears itself while it runs.
void SkinnedPopupHook(TPopupMenu& m, int x, int y) {
  TqzMenuRoute route = FindMenuRoute(&m);
  TComponentRef<TPopupMenu> self(&m);
  if (route.Menu == nullptr) {
    // No skinned form: the host's window shows the menu.
    m.PopupHook = nullptr;
    (m.*(&THostPopupAccess::DoPopup))(x, y);
    if (self) m.PopupHook = SkinnedPopupHook;
    return;
  }
  if (!m.Items()->HasShownItems()) return;
  TComponentRef<TqzSkinMenu> engine(route.Menu);
  if (engine->Visible()) engine->CloseAll();
  if (self && engine) engine->Popup(nullptr, route.SkinData, 0, {x, y, x, y}, *m.Items(), false);
}

}  // namespace

void InstallSkinnedPopupHook(TPopupMenu& menu) { menu.PopupHook = SkinnedPopupHook; }

QZ_PUBLISHED(TqzSkinPopupMenu, TPopupMenu) {
  b.Factory([](TComponent* owner) { return new TqzSkinPopupMenu(owner); });
  b.Ref<TqzSkinData>("SkinData", &TqzSkinPopupMenu::SkinData, &TqzSkinPopupMenu::SetSkinData);
  b.Event<TNotifyEvent>("OnMenuClose", &TqzSkinPopupMenu::OnMenuClose);
}

}  // namespace qz
