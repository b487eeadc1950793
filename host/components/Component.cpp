#include "host/components/Component.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cxxabi.h>

#include "host/components/Events.h"
#include "host/components/Properties.h"

namespace qz {

namespace {

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

std::vector<TComponent*>& GlobalComponents() {
  static std::vector<TComponent*> list;
  return list;
}

template <class V>
void EraseValue(std::vector<V>& v, const V& x) {
  auto it = std::find(v.rbegin(), v.rend(), x);
  if (it != v.rend()) v.erase(std::next(it).base());
}

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool IsValidIdent(std::string_view name) {
  if (name.empty()) return false;
  auto alpha = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
  if (!alpha(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [&](char c) { return alpha(c) || std::isdigit(static_cast<unsigned char>(c)); });
}

std::string TypeDisplayName(const std::type_info& type) {
  // The general event types by the names code uses for them.
  static const std::pair<const std::type_info*, const char*> known[] = {
      {&typeid(TNotifyEvent), "TNotifyEvent"},     {&typeid(TKeyEvent), "TKeyEvent"},
      {&typeid(TKeyPressEvent), "TKeyPressEvent"}, {&typeid(TMouseEvent), "TMouseEvent"},
      {&typeid(TMouseMoveEvent), "TMouseMoveEvent"}, {&typeid(TCloseEvent), "TCloseEvent"},
      {&typeid(TCloseQueryEvent), "TCloseQueryEvent"},
  };
  for (const auto& [t, n] : known)
    if (*t == type) return n;
  int status = 0;
  char* raw = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string name = status == 0 && raw ? raw : type.name();
  std::free(raw);
  // "qz::TLabel" reads better as "TLabel".
  for (size_t p; (p = name.find("qz::")) != std::string::npos;) name.erase(p, 4);
  return name;
}

// ---------------------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

void TWeakLink::Attach(TComponent* target) {
  // A component whose destructor already runs hands out null references.
  if (target == nullptr || target->weakClosed_) return;
  target_ = target;
  next_ = target->weakLinks_;
  if (next_ != nullptr) next_->prev_ = this;
  target->weakLinks_ = this;
}

void TWeakLink::Detach() {
  if (target_ == nullptr) return;
  if (prev_ != nullptr) prev_->next_ = next_;
  else target_->weakLinks_ = next_;
  if (next_ != nullptr) next_->prev_ = prev_;
  target_ = nullptr;
  prev_ = next_ = nullptr;
}

void TComponent::operator delete(TComponent* component, std::destroying_delete_t) {
  component->BeforeDestruction();
  // The most derived object's address: the memory `new` handed out.
  void* whole = dynamic_cast<void*>(component);
  component->~TComponent();
  ::operator delete(whole);
}

void TComponent::BeforeDestruction() { state_.Include(csDestroying); }

void TComponent::ClearWeakLinks() {
  weakClosed_ = true;
  while (weakLinks_ != nullptr) weakLinks_->Detach();
}

TComponent::~TComponent() {
  state_.Include(csDestroying);
  // Callers up the stack that hold a weak reference see null from here on.
  ClearWeakLinks();
  UnregisterGlobalComponent(this);
  // Our subclass's members (reference slots, fields) are already gone: never
  // write to them again while the owned components are torn down below.
  refSlots_.clear();
  fields_.clear();
  // Everyone who refers to us drops the reference. Take the list first: the
  // notified components may change their own lists in Notification.
  std::vector<TComponent*> notifies;
  notifies.swap(freeNotifies_);
  for (TComponent* c : notifies) {
    c->RemoveNotification(this);
    c->ClearReferencesTo(this);
    c->Notification(this, opRemove);
  }
  if (owner_ != nullptr) owner_->RemoveComponent(this);
  DestroyComponents();
}

void TComponent::DestroyComponents() {
  // Owned components go last created first; each removes itself from us.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    delete c;
    // A component whose destructor did not reach ours (it cannot happen with
    // the base destructor above) must not loop forever.
    if (!components_.empty() && components_.back() == c) Remove(c);
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("\"" + name + "\" is not a valid component name");
  if (owner_ != nullptr && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other != nullptr && other != this)
      throw EComponentError("A component named " + name + " already exists");
  }
  if (owner_ != nullptr) {
    if (!name_.empty()) owner_->componentsByName_.erase(Lower(name_));
    if (!name.empty()) owner_->componentsByName_[Lower(name)] = this;
  }
  name_ = name;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EComponentError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  auto it = componentsByName_.find(Lower(name));
  return it == componentsByName_.end() ? nullptr : it->second;
}

int TComponent::ComponentIndex() const {
  if (owner_ == nullptr) return -1;
  const auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::InsertComponent(TComponent* component) {
  if (component == nullptr || component->owner_ == this) return;
  if (component->owner_ != nullptr)
    throw EComponentError("Component " + component->name_ + " already has an owner");
  if (!component->name_.empty() && FindComponent(component->name_) != nullptr)
    throw EComponentError("A component named " + component->name_ + " already exists");
  Insert(component);
  if (state_.Contains(csDesigning)) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (component == nullptr || component->owner_ != this) return;
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  if (!component->name_.empty()) componentsByName_[Lower(component->name_)] = component;
}

void TComponent::Remove(TComponent* component) {
  EraseValue(components_, component);
  if (!component->name_.empty()) {
    auto it = componentsByName_.find(Lower(component->name_));
    if (it != componentsByName_.end() && it->second == component) componentsByName_.erase(it);
  }
  component->owner_ = nullptr;
  ClearFieldsFor(component);
}

void TComponent::SetDesigning(bool value) {
  if (value) state_.Include(csDesigning);
  else state_.Exclude(csDesigning);
  for (TComponent* c : components_) c->SetDesigning(value);
}

void TComponent::SetStateFlag(TComponentStateFlag flag, bool on) {
  if (on) state_.Include(flag);
  else state_.Exclude(flag);
}

void TComponent::FreeNotification(TComponent* component) {
  if (component == nullptr || component == this) return;
  // The two lists are always changed together, so looking in the shorter one
  // is enough (one component watched by thousands stays cheap).
  const bool mineIsShorter = freeNotifies_.size() <= component->freeNotifies_.size();
  const auto& shorter = mineIsShorter ? freeNotifies_ : component->freeNotifies_;
  TComponent* other = mineIsShorter ? component : this;
  if (std::find(shorter.begin(), shorter.end(), other) == shorter.end()) {
    freeNotifies_.push_back(component);
    component->freeNotifies_.push_back(this);
  }
  state_.Include(csFreeNotification);
  component->state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (component == nullptr) return;
  RemoveNotification(component);
  component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* component) {
  EraseValue(freeNotifies_, component);
  if (freeNotifies_.empty()) state_.Exclude(csFreeNotification);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  // References kept with SetReference are already cleared; the owner also
  // drops its bound fields when an owned component goes.
  if (operation == opRemove) ClearFieldsFor(component);
}

// --- references ------------------------------------------------------------

void TComponent::SetReferenceAny(void* key, TComponent* oldValue, TComponent* newValue,
                                 std::function<void(TComponent*)> clear) {
  auto it = std::find_if(refSlots_.begin(), refSlots_.end(), [key](const TRefSlot& s) { return s.key == key; });
  if (it == refSlots_.end()) refSlots_.push_back({key, std::move(clear)});
  // The notification link to the old target stays: another slot may still
  // point at it, and a notification about a component we no longer refer to
  // is harmless (the slots compare before they clear).
  (void)oldValue;
  if (newValue != nullptr) FreeNotification(newValue);
}

void TComponent::ClearReferencesTo(TComponent* gone) {
  for (const TRefSlot& s : refSlots_) s.clear(gone);
}

// --- handlers and fields -----------------------------------------------------

void TComponent::RegisterHandlerAny(const std::string& name, std::any handler) {
  handlers_[Lower(name)] = std::move(handler);
}

const std::any* TComponent::FindHandler(std::string_view name) const {
  auto it = handlers_.find(Lower(name));
  return it == handlers_.end() ? nullptr : &it->second;
}

void TComponent::BindFieldAny(const std::string& name, TFieldAssign assign, std::string typeName) {
  fields_.push_back({name, std::move(assign), std::move(typeName)});
}

void TComponent::ResolveFields() {
  for (const TFieldBinding& f : fields_) {
    TComponent* c = FindComponent(f.name);
    if (!f.assign(c))
      throw EReadError("Field " + f.name + " should be a " + f.typeName + ", but " + f.name + " is a " +
                       c->ClassName());
  }
}

void TComponent::ClearFieldsFor(TComponent* component) {
  if (component->name_.empty()) return;
  for (const TFieldBinding& f : fields_)
    if (SameText(f.name, component->name_)) f.assign(nullptr);
}

void TComponent::SetEventHandlerName(const std::string& property, const std::string& handler) {
  if (handler.empty()) eventNames_.erase(property);
  else eventNames_[property] = handler;
}

std::string TComponent::EventHandlerName(std::string_view property) const {
  for (const auto& [p, h] : eventNames_)
    if (SameText(p, property)) return h;
  return {};
}

// --- global roots --------------------------------------------------------------

void RegisterGlobalComponent(TComponent* component) {
  auto& list = GlobalComponents();
  if (component != nullptr && std::find(list.begin(), list.end(), component) == list.end())
    list.push_back(component);
}

void UnregisterGlobalComponent(TComponent* component) { EraseValue(GlobalComponents(), component); }

TComponent* FindGlobalComponent(std::string_view name) {
  for (TComponent* c : GlobalComponents())
    if (SameText(c->Name(), name)) return c;
  return nullptr;
}

QZ_PUBLISHED(TComponent, TPersistent) {
  b.Prop("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
}

}  // namespace qz
