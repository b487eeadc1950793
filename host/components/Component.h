// Components: named objects in an ownership tree. An owner deletes the
// components it owns; components that refer to one another ask for free
// notification so that a reference is cleared when its target goes away.
// Roots (forms) also carry the event handlers and fields that a form
// resource binds by name.
#pragma once

#include <any>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "host/base/Exception.h"
#include "host/base/Object.h"
#include "host/base/Set.h"
#include "host/components/Persistent.h"

namespace qz {

enum TComponentStateFlag {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csFreeNotification, csUpdating
};
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

class TComponent;

// One link of a component's list of weak references. A TComponentRef is the
// only user; the component clears every link when it is destroyed.
class TWeakLink {
 public:
  TWeakLink() = default;
  explicit TWeakLink(TComponent* target) { Attach(target); }
  TWeakLink(const TWeakLink& other) { Attach(other.target_); }
  TWeakLink& operator=(const TWeakLink& other) {
    if (this != &other) Reset(other.target_);
    return *this;
  }
  ~TWeakLink() { Detach(); }

  TComponent* Target() const { return target_; }
  void Reset(TComponent* target = nullptr) {
    if (target == target_) return;
    Detach();
    Attach(target);
  }

 private:
  friend class TComponent;
  void Attach(TComponent* target);
  void Detach();

  TComponent* target_ = nullptr;
  TWeakLink* prev_ = nullptr;
  TWeakLink* next_ = nullptr;
};

// A reference to a component that becomes null when the component is
// destroyed. Cheap enough for the stack (two pointers' worth of list links,
// no allocation): code that calls user code (events, handlers, message
// dispatch) takes one on itself first and returns quietly when it is null
// afterwards, because the user code may have deleted the object.
//   TComponentRef<TControl> self(this);
//   Click();
//   if (!self) return;
template <class T>
class TComponentRef {
 public:
  TComponentRef() = default;
  TComponentRef(T* target) : link_(target) {}  // NOLINT: implicit like a pointer
  TComponentRef& operator=(T* target) {
    link_.Reset(target);
    return *this;
  }
  T* Get() const { return static_cast<T*>(link_.Target()); }
  T* operator->() const { return Get(); }
  T& operator*() const { return *Get(); }
  explicit operator bool() const { return link_.Target() != nullptr; }
  bool Alive() const { return link_.Target() != nullptr; }
  friend bool operator==(const TComponentRef& r, const T* p) { return r.Get() == p; }
  friend bool operator==(const TComponentRef& r, std::nullptr_t) { return !r; }

 private:
  TWeakLink link_;
};
using TWeakRef = TComponentRef<TComponent>;

// Case-insensitive (ASCII) comparison of component, property and class names.
bool SameText(std::string_view a, std::string_view b);
// A valid component name: a letter or '_' followed by letters, digits, '_'.
bool IsValidIdent(std::string_view name);
// Readable name of a C++ type ("TNotifyEvent", "qz::TLabel") for error messages.
std::string TypeDisplayName(const std::type_info& type);

class TComponent : public TPersistent {
  QZ_CLASS(TComponent, TPersistent)
 public:
  // Inserts itself into AOwner's list (AOwner may be null). Inherits
  // csDesigning from the owner.
  explicit TComponent(TComponent* AOwner);
  // Sets csDestroying, tells every component that asked for free notification
  // (Notification(this, opRemove)) and the owner, removes itself from the
  // owner, then deletes the owned components, last created first.
  ~TComponent() override;

  // `delete component` runs BeforeDestruction while the object is still
  // whole (every subclass member alive, virtual calls reach the most derived
  // class), then the destructors, then frees the memory. Components must be
  // created with plain `new` (or live on the stack / in a member, where the
  // destructors run without BeforeDestruction).
  static void operator delete(TComponent* component, std::destroying_delete_t);
  // Runs first when a component is deleted; overrides call inherited first.
  // Sets csDestroying. Forms fire OnDestroy here.
  virtual void BeforeDestruction();

  // Deletes the owned components now, last created first. Classes whose
  // owned components use the owner's own members while they go (a form and
  // its controls) call it first thing in their destructor, because the base
  // destructor runs after the subclass's members are gone.
  void DestroyComponents();
  // Sets csDestroying early (from a subclass destructor).
  void Destroying() { state_.Include(csDestroying); }

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // EComponentError "X is not a valid component name" or
  // "A component named X already exists" (siblings of the same owner,
  // compared case-insensitively). An empty name is allowed.
  virtual void SetName(const std::string& name);

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;  // EComponentError when out of range
  // The owned component with that name (case-insensitive), or null.
  TComponent* FindComponent(std::string_view name) const;
  template <class T>
  T* FindChild(std::string_view name) const {
    return As<T>(FindComponent(name));
  }
  // Position in the owner's list, -1 without an owner.
  int ComponentIndex() const;
  // Takes ownership of / releases a component (it must have no / this owner).
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  TComponentState ComponentState() const { return state_; }
  bool InState(TComponentStateFlag flag) const { return state_.Contains(flag); }
  // Design mode for tests and tools; applies to the owned components too.
  void SetDesigning(bool value);

  // Asks that this component be told when `component` is destroyed (and the
  // other way round). Both lists are kept in step; harmless to repeat.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);
  // Told about components going away (opRemove) and, for an owner, about
  // components inserted into / removed from its list. Overrides clear their
  // references and call inherited. A component reported by its destructor
  // is already reduced to a TComponent: compare pointers, do not cast it.
  virtual void Notification(TComponent* component, TOperation operation);

  // Called after a form resource has been read into this component; csLoading
  // is already cleared.
  virtual void Loaded() {}

  int Tag() const { return tag_; }
  void SetTag(int value) { tag_ = value; }

  // Hooks used by the form resource reader and writer. Controls override them:
  // SetParentComponent makes `parent` the control's parent when it is a
  // windowed control; GetParentComponent returns it. The reader calls
  // SetParentComponent on every created component with the enclosing object
  // (the root for top-level ones) before assigning properties.
  virtual void SetParentComponent(TComponent* parent) {}
  virtual TComponent* GetParentComponent() const { return nullptr; }

  // --- Roots: event handlers and fields bound by name -----------------------
  // Registers a method the resource's event properties can name:
  //   RegisterHandler("Button1Click", TNotifyEvent([this](TObject* s) { ... }));
  // The handler's type must be the event's std::function type exactly.
  template <class E>
  void RegisterHandler(const std::string& name, E handler) {
    RegisterHandlerAny(name, std::any(std::move(handler)));
  }
  void RegisterHandlerAny(const std::string& name, std::any handler);
  const std::any* FindHandler(std::string_view name) const;

  // Binds a member pointer to the owned component of that name. The reader
  // resolves all fields after it has created the components; a field whose
  // component goes away (destroyed or removed) is set to null.
  // EReadError when the component exists but is not a T.
  template <class T>
  void BindField(const std::string& name, T*& field) {
    T** slot = &field;
    BindFieldAny(name, [slot](TComponent* c) {
      if (c == nullptr) {
        *slot = nullptr;
        return true;
      }
      T* typed = dynamic_cast<T*>(c);
      if (typed == nullptr) return false;
      *slot = typed;
      return true;
    }, TypeDisplayName(typeid(T)));
  }
  // Sets every bound field from the current owned components.
  void ResolveFields();

  // The handler names the reader bound to this component's event properties,
  // kept so that the writer can write them back ("OnClick" -> "Button1Click").
  void SetEventHandlerName(const std::string& property, const std::string& handler);
  std::string EventHandlerName(std::string_view property) const;
  const std::map<std::string, std::string>& EventHandlerNames() const { return eventNames_; }

 protected:
  // Stores a reference to another component and keeps it valid: the slot is
  // set to null when the referenced component is destroyed (before
  // Notification runs). Use it in reference setters:
  //   void SetSkinData(TqzSkinData* v) { SetReference(skinData_, v); ... }
  template <class R>
  void SetReference(R*& slot, R* value) {
    R** where = &slot;
    TComponent* old = slot;
    slot = value;
    SetReferenceAny(static_cast<void*>(where), old, value,
                    [where](TComponent* gone) {
                      if (*where != nullptr && static_cast<TComponent*>(*where) == gone)
                        *where = nullptr;
                    });
  }

  // csLoading / csReading / csWriting / csUpdating are set by the streaming
  // system and by BeginUpdate-like operations of subclasses.
  void SetStateFlag(TComponentStateFlag flag, bool on);

 private:
  friend class TReader;
  friend class TWriter;
  friend class TWeakLink;
  using TFieldAssign = std::function<bool(TComponent*)>;
  struct TFieldBinding {
    std::string name;
    TFieldAssign assign;
    std::string typeName;
  };
  struct TRefSlot {
    void* key;
    std::function<void(TComponent*)> clear;
  };

  void BindFieldAny(const std::string& name, TFieldAssign assign, std::string typeName);
  void SetReferenceAny(void* key, TComponent* oldValue, TComponent* newValue,
                       std::function<void(TComponent*)> clear);
  void ClearReferencesTo(TComponent* gone);
  void ClearWeakLinks();
  void RemoveNotification(TComponent* component);
  void ClearFieldsFor(TComponent* component);
  void Insert(TComponent* component);
  void Remove(TComponent* component);

  TComponent* owner_ = nullptr;
  std::string name_;
  int tag_ = 0;
  TComponentState state_;
  std::vector<TComponent*> components_;                    // owned, creation order
  std::map<std::string, TComponent*> componentsByName_;    // lower-case name -> owned
  std::vector<TComponent*> freeNotifies_;
  std::vector<TRefSlot> refSlots_;
  std::map<std::string, std::any> handlers_;               // lower-case name -> handler
  std::vector<TFieldBinding> fields_;
  std::map<std::string, std::string> eventNames_;
  TWeakLink* weakLinks_ = nullptr;   // head of the weak references to this
  bool weakClosed_ = false;          // destroyed: no new weak references
};

// Process-wide list of root components (forms register themselves) used to
// resolve references into other roots such as `Form1.qzSkinData2`. A
// component unregisters itself when it is destroyed.
void RegisterGlobalComponent(TComponent* component);
void UnregisterGlobalComponent(TComponent* component);
TComponent* FindGlobalComponent(std::string_view name);

}  // namespace qz
