#include "host/ui/ActnList.h"

#include <algorithm>

#include "host/ui/ImgList.h"

namespace qz {

namespace {

// Every live action, for the idle updates.
std::vector<TBasicAction*>& LiveActions() {
  static std::vector<TBasicAction*> actions;
  return actions;
}

template <class T>
void EraseOne(std::vector<T*>& list, T* item) {
  if (auto it = std::find(list.begin(), list.end(), item); it != list.end()) list.erase(it);
}

}  // namespace

// ---------------------------------------------------------------- TBasicAction

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {
  LiveActions().push_back(this);
}

TBasicAction::~TBasicAction() {
  EraseOne(LiveActions(), this);
  for (TActionLink* link : clients_) link->Detach();
  clients_.clear();
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

// A client's change handler may unlink clients or free the action: the
// list is copied and every link is checked against the current list.
void TBasicAction::Change() {
  TComponentRef<TBasicAction> self(this);
  const std::vector<TActionLink*> links = clients_;
  for (TActionLink* link : links) {
    if (!self) return;
    if (std::find(clients_.begin(), clients_.end(), link) != clients_.end()) link->ActionChanged();
  }
}

void TBasicAction::AddClient(TActionLink* link) { clients_.push_back(link); }
void TBasicAction::RemoveClient(TActionLink* link) { EraseOne(clients_, link); }

// ---------------------------------------------------------------- TContainedAction

TContainedAction::TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TActionList* list) {
  if (list == actionList_) return;
  if (actionList_) EraseOne(actionList_->actions_, this);
  actionList_ = list;
  if (actionList_) actionList_->actions_.push_back(this);
}

int TContainedAction::Index() const {
  if (!actionList_) return -1;
  const auto& all = actionList_->actions_;
  return int(std::find(all.begin(), all.end(), this) - all.begin());
}

void TContainedAction::SetParentComponent(TComponent* parent) {
  if (auto* list = dynamic_cast<TActionList*>(parent)) SetActionList(list);
}

TComponent* TContainedAction::GetParentComponent() const { return actionList_; }

bool TContainedAction::Execute() {
  TComponentRef<TContainedAction> self(this);
  if (actionList_ && actionList_->ExecuteAction(this)) return true;
  if (!self) return true;
  return TBasicAction::Execute();
}

bool TContainedAction::Update() {
  TComponentRef<TContainedAction> self(this);
  if (actionList_ && actionList_->UpdateAction(this)) return true;
  if (!self) return true;
  return TBasicAction::Update();
}

// ---------------------------------------------------------------- TCustomAction

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

void TCustomAction::SetCaption(const std::string& v) {
  if (v == caption_) return;
  caption_ = v;
  Change();
}

void TCustomAction::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Change();
}

void TCustomAction::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  TComponentRef<TCustomAction> self(this);
  if (v) UncheckGroup();
  if (self) Change();
}

// Radio-like groups: one checked action per group of a list. While a form
// resource is read the stored states are taken as they are.
void TCustomAction::UncheckGroup() {
  if (groupIndex_ <= 0 || !ActionList() || ComponentState().Contains(csLoading)) return;
  std::vector<TComponentRef<TCustomAction>> others;
  for (int i = 0; i < ActionList()->ActionCount(); ++i) {
    TContainedAction* a = ActionList()->Actions(i);
    auto* other = dynamic_cast<TCustomAction*>(a);
    if (other && other != this && other->groupIndex_ == groupIndex_) others.emplace_back(other);
  }
  for (auto& other : others) {
    if (other) other->SetChecked(false);
  }
}

void TCustomAction::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Change();
}

void TCustomAction::SetHint(const std::string& v) {
  if (v == hint_) return;
  hint_ = v;
  Change();
}

void TCustomAction::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  Change();
}

void TCustomAction::SetShortCut(uint16_t v) {
  if (v == shortCut_) return;
  shortCut_ = v;
  Change();
}

void TCustomAction::SetGroupIndex(int v) {
  if (v == groupIndex_) return;
  groupIndex_ = v;
  TComponentRef<TCustomAction> self(this);
  if (checked_) UncheckGroup();
  if (self) Change();
}

bool TCustomAction::Execute() {
  TComponentRef<TCustomAction> self(this);
  Update();
  if (!self || !enabled_) return false;
  if (autoCheck_) {
    SetChecked(!checked_);
    if (!self) return false;
  }
  return TContainedAction::Execute();
}

// ---------------------------------------------------------------- TActionList

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
  const std::vector<TContainedAction*> actions = actions_;
  for (TContainedAction* a : actions) a->SetActionList(nullptr);
}

void TActionList::SetImages(TCustomImageList* v) { SetReference(images_, v); }

bool TActionList::ExecuteAction(TBasicAction* action) {
  bool handled = false;
  if (OnExecute) OnExecute(action, handled);
  return handled;
}

bool TActionList::UpdateAction(TBasicAction* action) {
  bool handled = false;
  if (OnUpdate) OnUpdate(action, handled);
  return handled;
}

TCustomAction* TActionList::FindShortCut(uint16_t shortCut) const {
  if (shortCut == 0) return nullptr;
  for (TContainedAction* a : actions_) {
    auto* action = dynamic_cast<TCustomAction*>(a);
    if (action && action->ShortCut() == shortCut) return action;
  }
  return nullptr;
}

// ---------------------------------------------------------------- TActionLink

TActionLink::~TActionLink() {
  if (action_) action_->RemoveClient(this);
}

void TActionLink::SetAction(TBasicAction* action) {
  if (action == action_) return;
  if (action_) action_->RemoveClient(this);
  action_ = action;
  if (action_) action_->AddClient(this);
}

bool TActionLink::Execute() {
  // The action's handler may free this link's client and so the link:
  // nothing of the link is touched once the action runs.
  TBasicAction* action = action_;
  return action != nullptr && action->Execute();
}

// Handlers may free actions (and so change the live list): each one is
// checked through a weak reference taken before any handler ran.
void UpdateActions() {
  std::vector<TComponentRef<TBasicAction>> withClients;
  for (TBasicAction* a : LiveActions()) {
    if (a->ClientCount() > 0) withClients.emplace_back(a);
  }
  for (auto& action : withClients) {
    if (action && !action->ComponentState().Contains(csDestroying)) action->Update();
  }
}

bool ExecuteActionShortCut(TComponent& owner, uint16_t shortCut) {
  if (shortCut == 0) return false;
  for (int i = 0; i < owner.ComponentCount(); ++i) {
    auto* list = dynamic_cast<TActionList*>(owner.Components(i));
    if (TCustomAction* action = list ? list->FindShortCut(shortCut) : nullptr) {
      return action->Execute();
    }
  }
  return false;
}

// ---------------------------------------------------------------- registration

QZ_PUBLISHED(TBasicAction, TComponent) {
  b.Event<TNotifyEvent>("OnExecute", &TBasicAction::OnExecute);
  b.Event<TNotifyEvent>("OnUpdate", &TBasicAction::OnUpdate);
}

QZ_PUBLISHED(TContainedAction, TBasicAction) {
  b.Prop("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
}

QZ_PUBLISHED(TCustomAction, TContainedAction) {
  b.Prop("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption);
  b.Prop("AutoCheck", &TCustomAction::AutoCheck, &TCustomAction::SetAutoCheck, false);
  b.Prop("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked, false);
  b.Prop("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled, true);
  b.Prop("GroupIndex", &TCustomAction::GroupIndex, &TCustomAction::SetGroupIndex, 0);
  b.Prop("Hint", &TCustomAction::Hint, &TCustomAction::SetHint);
  b.Prop("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex, -1);
  b.Prop("ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut, 0);
  b.Prop("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible, true);
}

QZ_PUBLISHED(TAction, TCustomAction) {
  b.Factory([](TComponent* owner) { return new TAction(owner); });
}

QZ_PUBLISHED(TActionList, TComponent) {
  b.Factory([](TComponent* owner) { return new TActionList(owner); });
  b.Ref<TCustomImageList>("Images", &TActionList::Images, &TActionList::SetImages);
  b.Event<TActionEvent>("OnExecute", &TActionList::OnExecute);
  b.Event<TActionEvent>("OnUpdate", &TActionList::OnUpdate);
}

}  // namespace qz
