// The class and published property registry. Form resources create
// components by class name and assign their properties by name through it;
// the writer writes every property whose value differs from its default.
//
// Register a class and its published properties in the .cpp that defines the
// class's methods (so that the static library's linker keeps the
// registration), inside namespace qz (the classes live there too):
//
//   QZ_ENUM(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient");
//
//   QZ_PUBLISHED(TButton, TWinControl) {   // class "TButton", parent "TWinControl"
//     // 'b' is a TClassBuilder<TButton>&
//     b.Factory([](TComponent* owner) { return new TButton(owner); });  // components
//     b.Prop("Caption", &TButton::Caption, &TButton::SetCaption);       // getter, setter
//     b.Prop("Default", &TButton::Default, &TButton::SetDefault, false);
//     b.Prop("Cancel", &TButton::cancel_);                               // data member
//     b.Enum("Align", &TControl::Align, &TControl::SetAlign, alNone);
//     b.Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, TAnchors{akLeft, akTop});
//     b.Color("Color", &TControl::Color, &TControl::SetColor, clBtnFace);
//     b.Cursor("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault);
//     b.Object("Font", &TControl::Font);           // TPersistent sub-object
//     b.Strings("Items", &TListBox::Items);        // TStrings: Items.Strings = ('a' 'b')
//     b.Collection("Panels", &TStatusBar::Panels); // Panels = < item ... end >
//     b.Ref<TqzSkinData>("SkinData", &TqzSkinControl::SkinData, &TqzSkinControl::SetSkinData);
//     b.Event<TNotifyEvent>("OnClick", &TControl::OnClick);  // data member or setter
//     b.Binary("CompressedData", &TStored::Data, &TStored::SetData);  // std::vector<uint8_t>
//   }
//
// Getters are anything std::invoke can call with a T& (const or not), setters
// anything callable with (T&, value); a data member pointer serves as both.
// Properties are kept in registration order; a class's inherited properties
// come first. The registration of a class with private members it publishes
// needs `QZ_PUBLISHED_ACCESS(TButton);` in the class body.
//
// Value kinds and defaults: Prop picks the kind from the value type: bool
// (True/False), integers (range-checked), floating point, std::string,
// enumerations with QZ_ENUM names, TSet<E> of those, std::vector<uint8_t>
// (binary block). Without an explicit default the default is the type's zero
// value (0, False, '', empty set, first enumeration value, empty block):
// such a value is not written. `.Stored(pred)` adds a further condition.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "host/base/Color.h"
#include "host/base/Exception.h"
#include "host/base/Object.h"
#include "host/base/Set.h"
#include "host/components/Component.h"
#include "host/components/Persistent.h"

namespace qz {

class TStrings;
class TCollection;

// ---------------------------------------------------------------------------
// Values as a form resource spells them.
struct TValue {
  enum class TKind { None, Integer, Float, String, Ident, Set, Binary, List };
  TKind kind = TKind::None;
  int64_t integer = 0;
  double number = 0;
  std::string text;                 // String (UTF-8) and Ident (True, alClient, clRed, a.b)
  std::vector<std::string> names;   // Set
  std::vector<uint8_t> bytes;       // Binary
  std::vector<TValue> items;        // List ('a' 'b')

  static TValue Integer(int64_t v) { TValue r; r.kind = TKind::Integer; r.integer = v; return r; }
  static TValue Float(double v) { TValue r; r.kind = TKind::Float; r.number = v; return r; }
  static TValue String(std::string v) { TValue r; r.kind = TKind::String; r.text = std::move(v); return r; }
  static TValue Ident(std::string v) { TValue r; r.kind = TKind::Ident; r.text = std::move(v); return r; }
  static TValue Set(std::vector<std::string> v) { TValue r; r.kind = TKind::Set; r.names = std::move(v); return r; }
  static TValue Binary(std::vector<uint8_t> v) { TValue r; r.kind = TKind::Binary; r.bytes = std::move(v); return r; }
  bool operator==(const TValue&) const = default;
};

// ---------------------------------------------------------------------------
// Enumeration names: QZ_ENUM(TAlign, "alNone", ...) declares them for a plain
// or scoped enumeration whose values are 0, 1, 2 ... (found by argument-
// dependent lookup, so it must sit in the enumeration's namespace).
#define QZ_ENUM(E, ...)                                                        \
  [[maybe_unused]] inline std::span<const std::string_view> QzEnumNames(E) {   \
    static constexpr std::string_view names[] = {__VA_ARGS__};                 \
    return names;                                                              \
  }

template <class E>
concept NamedEnum = std::is_enum_v<E> && requires(E e) {
  { QzEnumNames(e) } -> std::convertible_to<std::span<const std::string_view>>;
};

template <NamedEnum E>
std::string_view EnumName(E value) {
  auto names = QzEnumNames(E{});
  auto i = static_cast<size_t>(value);
  return i < names.size() ? names[i] : std::string_view();
}
// The value named `name` (case-insensitive); false when there is none.
template <NamedEnum E>
bool EnumValue(std::string_view name, E& value) {
  auto names = QzEnumNames(E{});
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], name)) {
      value = static_cast<E>(i);
      return true;
    }
  return false;
}

// Colour and cursor identifiers ("clBtnFace", "crHandPoint").
bool ColorToIdent(TColor color, std::string& ident);
bool IdentToColor(std::string_view ident, TColor& color);
bool CursorToIdent(int cursor, std::string& ident);
bool IdentToCursor(std::string_view ident, int& cursor);

// ---------------------------------------------------------------------------
enum class TPropKind {
  Integer, Boolean, Float, String, Enum, Set, Color, Cursor, Binary,  // scalar
  Object, Strings, Collection,                                        // sub-objects
  Reference, Event,
};

struct TPropInfo {
  std::string name;
  TPropKind kind = TPropKind::Integer;
  // Scalar kinds. `set` raises EPropertyError for a value of the wrong kind or
  // out of range (the reader adds the line number); it may move from the value.
  std::function<TValue(TPersistent&)> get;
  std::function<void(TPersistent&, TValue&)> set;
  std::optional<TValue> defaultValue;
  std::function<bool(const TPersistent&)> stored;  // optional: false = never written
  // Object, Strings, Collection: the sub-object (never null while the owner lives).
  std::function<TPersistent*(TPersistent&)> object;
  // Reference: the referenced component and its required class.
  std::function<TComponent*(TPersistent&)> getRef;
  std::function<void(TPersistent&, TComponent*)> setRef;
  std::function<bool(const TComponent*)> accepts;
  std::string refClass;
  // Event: stores the handler; EPropertyError naming both types when the
  // handler is not of the event's type.
  std::function<void(TPersistent&, const std::any&)> bindEvent;
  std::string eventType;

  bool IsScalar() const { return kind <= TPropKind::Binary; }
};

class TClassInfo {
 public:
  TClassInfo(std::string name, std::string parentName)
      : name_(std::move(name)), parentName_(std::move(parentName)) {}
  const std::string& Name() const { return name_; }
  const std::string& ParentName() const { return parentName_; }
  // The registered parent, or null (TPersistent, TObject or not registered).
  const TClassInfo* Parent() const;
  bool InheritsFrom(std::string_view className) const;  // also true for itself

  bool CanCreate() const { return static_cast<bool>(factory_); }
  // EClassNotFound "Class X cannot be created" without a factory.
  TComponent* Create(TComponent* owner) const;

  // Searches this class, then its parents (case-insensitive).
  const TPropInfo* FindProperty(std::string_view name) const;
  // All published properties, inherited ones first.
  std::vector<const TPropInfo*> Properties() const;

  // Used by TClassBuilder.
  void SetFactory(std::function<TComponent*(TComponent*)> factory) { factory_ = std::move(factory); }
  TPropInfo& AddProperty(std::string name, TPropKind kind);

 private:
  std::string name_;
  std::string parentName_;
  std::function<TComponent*(TComponent*)> factory_;
  std::vector<std::unique_ptr<TPropInfo>> props_;
};

// Registers (or returns the already registered) class.
TClassInfo& RegisterClassInfo(const std::string& name, const std::string& parentName);
const TClassInfo* FindClassInfo(std::string_view name);
// EClassNotFound "Class X not found".
const TClassInfo& GetClassInfo(std::string_view name);
// The registered class of obj (by ClassName()), or null.
const TClassInfo* ClassInfoOf(const TObject& obj);

// Copies every published property of src into dest (both of the same
// registered class or dest of a subclass): values, sub-objects, string lists,
// collections (item by item), references and nothing else (events are not
// copied). EInvalidCast when the classes do not fit.
void AssignPublished(TPersistent& dest, const TPersistent& src);

// ---------------------------------------------------------------------------
namespace detail {

[[noreturn]] void ThrowBadValue(const TValue& value, std::string_view expected);
[[noreturn]] void ThrowOutOfRange(int64_t value);
std::string DescribeValue(const TValue& value);

template <class V>
struct IsTSet : std::false_type {};
template <class E>
struct IsTSet<TSet<E>> : std::true_type {
  using Element = E;
};

template <class V>
constexpr TPropKind KindOf() {
  if constexpr (std::is_same_v<V, bool>) return TPropKind::Boolean;
  else if constexpr (NamedEnum<V>) return TPropKind::Enum;
  else if constexpr (IsTSet<V>::value) return TPropKind::Set;
  else if constexpr (std::is_integral_v<V>) return TPropKind::Integer;
  else if constexpr (std::is_floating_point_v<V>) return TPropKind::Float;
  else if constexpr (std::is_same_v<V, std::string>) return TPropKind::String;
  else if constexpr (std::is_same_v<V, std::vector<uint8_t>>) return TPropKind::Binary;
  else static_assert(sizeof(V) == 0, "unsupported published property type");
}

template <NamedEnum E>
TValue SetToValue(const TSet<E>& s) {
  std::vector<std::string> names;
  auto all = QzEnumNames(E{});
  for (size_t i = 0; i < all.size() && i < 64; ++i)
    if (s.Contains(static_cast<E>(i))) names.emplace_back(all[i]);
  return TValue::Set(std::move(names));
}

template <NamedEnum E>
TSet<E> SetFromValue(const TValue& v) {
  if (v.kind != TValue::TKind::Set) ThrowBadValue(v, "a set");
  TSet<E> s;
  for (const auto& n : v.names) {
    E e;
    if (!EnumValue(n, e)) ThrowBadValue(TValue::Ident(n), "a set element");
    s.Include(e);
  }
  return s;
}

template <class V>
TValue ToValue(const V& v) {
  if constexpr (std::is_same_v<V, bool>) {
    return TValue::Ident(v ? "True" : "False");
  } else if constexpr (NamedEnum<V>) {
    return TValue::Ident(std::string(EnumName(v)));
  } else if constexpr (IsTSet<V>::value) {
    return SetToValue(v);
  } else if constexpr (std::is_integral_v<V>) {
    return TValue::Integer(static_cast<int64_t>(v));
  } else if constexpr (std::is_floating_point_v<V>) {
    return TValue::Float(static_cast<double>(v));
  } else if constexpr (std::is_same_v<V, std::string>) {
    return TValue::String(v);
  } else {
    return TValue::Binary(v);
  }
}

template <class V>
V FromValue(TValue& v) {
  using K = TValue::TKind;
  if constexpr (std::is_same_v<V, bool>) {
    if (v.kind == K::Ident && SameText(v.text, "True")) return true;
    if (v.kind == K::Ident && SameText(v.text, "False")) return false;
    ThrowBadValue(v, "True or False");
  } else if constexpr (NamedEnum<V>) {
    V e{};
    if (v.kind != K::Ident || !EnumValue(v.text, e)) ThrowBadValue(v, "an enumeration value");
    return e;
  } else if constexpr (IsTSet<V>::value) {
    return SetFromValue<typename IsTSet<V>::Element>(v);
  } else if constexpr (std::is_integral_v<V>) {
    if (v.kind != K::Integer) ThrowBadValue(v, "an integer");
    if constexpr (std::is_signed_v<V>) {
      if (v.integer < static_cast<int64_t>(std::numeric_limits<V>::min()) ||
          v.integer > static_cast<int64_t>(std::numeric_limits<V>::max()))
        ThrowOutOfRange(v.integer);
    } else {
      if (v.integer < 0 || static_cast<uint64_t>(v.integer) > std::numeric_limits<V>::max())
        ThrowOutOfRange(v.integer);
    }
    return static_cast<V>(v.integer);
  } else if constexpr (std::is_floating_point_v<V>) {
    if (v.kind == K::Float) return static_cast<V>(v.number);
    if (v.kind == K::Integer) return static_cast<V>(v.integer);
    ThrowBadValue(v, "a number");
  } else if constexpr (std::is_same_v<V, std::string>) {
    if (v.kind != K::String) ThrowBadValue(v, "a string");
    return std::move(v.text);
  } else {
    if (v.kind != K::Binary) ThrowBadValue(v, "a binary block");
    return std::move(v.bytes);
  }
}

// Colours: identifier or integer (system colours are negative; $FF00000F is
// accepted as the same bit pattern).
TValue ColorToValue(TColor c);
TColor ColorFromValue(const TValue& v);
TValue CursorToValue(int c);
int CursorFromValue(const TValue& v);

template <class G, class T>
using GetResult = std::remove_cvref_t<std::invoke_result_t<G, T&>>;

template <class P>
TPersistent* AsPersistent(P&& p) {
  if constexpr (std::is_pointer_v<std::remove_cvref_t<P>>)
    return const_cast<TPersistent*>(static_cast<const TPersistent*>(p));
  else
    return const_cast<TPersistent*>(static_cast<const TPersistent*>(&p));
}

template <class P>
auto* AsPointer(P&& p) {
  if constexpr (std::is_pointer_v<std::remove_cvref_t<P>>)
    return p;
  else
    return &p;
}

}  // namespace detail

// Returned by the builder's registration calls to add options.
template <class T>
class TPropRef {
 public:
  explicit TPropRef(TPropInfo& info) : info_(&info) {}
  // Only written when pred(obj) is true (and the value is not the default).
  TPropRef& Stored(std::function<bool(const T&)> pred) {
    info_->stored = [pred = std::move(pred)](const TPersistent& p) {
      return pred(static_cast<const T&>(p));
    };
    return *this;
  }
  TPropInfo& Info() { return *info_; }

 private:
  TPropInfo* info_;
};

template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& info) : info_(info) {}
  TClassInfo& Info() { return info_; }

  template <class F>
  TClassBuilder& Factory(F make) {
    static_assert(std::is_base_of_v<TComponent, T>, "only components have a factory");
    info_.SetFactory([make = std::move(make)](TComponent* owner) -> TComponent* { return make(owner); });
    return *this;
  }

  // --- scalar properties: kind from the value type -------------------------
  template <class Get, class Setter>
    requires std::is_invocable_v<Setter, T&, detail::GetResult<Get, T>>
  TPropRef<T> Prop(std::string name, Get get, Setter set) {
    using V = detail::GetResult<Get, T>;
    return Scalar<V>(std::move(name), detail::KindOf<V>(), get, set, std::nullopt);
  }
  template <class Get, class Setter, class D>
    requires std::is_invocable_v<Setter, T&, detail::GetResult<Get, T>>
  TPropRef<T> Prop(std::string name, Get get, Setter set, D def) {
    using V = detail::GetResult<Get, T>;
    return Scalar<V>(std::move(name), detail::KindOf<V>(), get, set, detail::ToValue<V>(V(def)));
  }
  template <class M, class C>
    requires(!std::is_function_v<M>)
  TPropRef<T> Prop(std::string name, M C::*member) {
    return Scalar<M>(std::move(name), detail::KindOf<M>(), member, MemberSetter(member), std::nullopt);
  }
  template <class M, class C, class D>
    requires(!std::is_function_v<M> && !std::is_invocable_v<D, T&, M>)
  TPropRef<T> Prop(std::string name, M C::*member, D def) {
    return Scalar<M>(std::move(name), detail::KindOf<M>(), member, MemberSetter(member),
                     detail::ToValue<M>(M(def)));
  }

  // Enumerations and sets (the same as Prop; named for readability).
  template <class... A>
  TPropRef<T> Enum(std::string name, A... a) {
    return Prop(std::move(name), a...);
  }
  template <class... A>
  TPropRef<T> Set(std::string name, A... a) {
    return Prop(std::move(name), a...);
  }

  // Colours: written as clXxx when there is a name, else as an integer.
  template <class Get, class Setter>
  TPropRef<T> Color(std::string name, Get get, Setter set, TColor def = clBlack) {
    return Mapped(std::move(name), TPropKind::Color, get, set, detail::ColorToValue(def),
                  &detail::ColorToValue, &detail::ColorFromValue);
  }
  // Cursors: crXxx names or integers; any integral value type.
  template <class Get, class Setter>
  TPropRef<T> Cursor(std::string name, Get get, Setter set, int def = 0) {
    return Mapped(std::move(name), TPropKind::Cursor, get, set, detail::CursorToValue(def),
                  &detail::CursorToValue, &detail::CursorFromValue);
  }

  // Binary blocks: getter returns std::vector<uint8_t> (or a reference to
  // one), setter takes one (by value, && or const&). Written when non-empty.
  template <class Get, class Setter>
  TPropRef<T> Binary(std::string name, Get get, Setter set) {
    TPropInfo& p = info_.AddProperty(std::move(name), TPropKind::Binary);
    p.get = [get](TPersistent& o) { return TValue::Binary(std::invoke(get, Self(o))); };
    p.set = [set](TPersistent& o, TValue& v) {
      std::invoke(set, Self(o), detail::FromValue<std::vector<uint8_t>>(v));
    };
    p.defaultValue = TValue::Binary({});
    return TPropRef<T>(p);
  }

  // --- sub-objects -----------------------------------------------------------
  // Getter returns a TPersistent-derived pointer or reference.
  template <class Get>
  TPropRef<T> Object(std::string name, Get get) {
    return Sub(std::move(name), TPropKind::Object, get);
  }
  template <class Get>
  TPropRef<T> Strings(std::string name, Get get) {
    return Sub(std::move(name), TPropKind::Strings, get);
  }
  template <class Get>
  TPropRef<T> Collection(std::string name, Get get) {
    return Sub(std::move(name), TPropKind::Collection, get);
  }

  // --- component references --------------------------------------------------
  // Getter returns a pointer to R (or a subclass); setter takes R*. A data
  // member pointer R* C::* serves as both.
  template <class R, class Get, class Setter>
  TPropRef<T> Ref(std::string name, Get get, Setter set) {
    TPropInfo& p = RefInfo<R>(std::move(name));
    p.getRef = [get](TPersistent& o) -> TComponent* { return std::invoke(get, Self(o)); };
    p.setRef = [set](TPersistent& o, TComponent* c) { std::invoke(set, Self(o), dynamic_cast<R*>(c)); };
    return TPropRef<T>(p);
  }
  template <class R, class C>
  TPropRef<T> Ref(std::string name, R* C::*member) {
    return Ref<R>(std::move(name), member, [member](T& o, R* v) { o.*member = v; });
  }

  // --- events ------------------------------------------------------------------
  // `target` is a data member of type E or a setter taking E.
  template <class E, class Target>
  TPropRef<T> Event(std::string name, Target target) {
    TPropInfo& p = info_.AddProperty(std::move(name), TPropKind::Event);
    p.eventType = TypeDisplayName(typeid(E));
    std::string propName = p.name;
    p.bindEvent = [target, propName](TPersistent& o, const std::any& handler) {
      const E* h = std::any_cast<E>(&handler);
      if (h == nullptr)
        throw EPropertyError("Handler of type " + TypeDisplayName(handler.type()) +
                             " does not fit event " + propName + " of type " +
                             TypeDisplayName(typeid(E)));
      if constexpr (std::is_member_object_pointer_v<Target>)
        Self(o).*target = *h;
      else
        std::invoke(target, Self(o), *h);
    };
    return TPropRef<T>(p);
  }

 private:
  static T& Self(TPersistent& o) { return static_cast<T&>(o); }

  template <class M, class C>
  static auto MemberSetter(M C::*member) {
    return [member](T& o, M v) { o.*member = std::move(v); };
  }

  template <class V, class Get, class Setter>
  TPropRef<T> Scalar(std::string name, TPropKind kind, Get get, Setter set, std::optional<TValue> def) {
    TPropInfo& p = info_.AddProperty(std::move(name), kind);
    p.get = [get](TPersistent& o) { return detail::ToValue<V>(V(std::invoke(get, Self(o)))); };
    p.set = [set](TPersistent& o, TValue& v) { std::invoke(set, Self(o), detail::FromValue<V>(v)); };
    p.defaultValue = def ? std::move(*def) : detail::ToValue<V>(V{});
    return TPropRef<T>(p);
  }

  template <class Get, class Setter, class ToV, class FromV>
  TPropRef<T> Mapped(std::string name, TPropKind kind, Get get, Setter set, TValue def, ToV to,
                     FromV from) {
    using V = detail::GetResult<Get, T>;
    TPropInfo& p = info_.AddProperty(std::move(name), kind);
    p.get = [get, to](TPersistent& o) { return to(static_cast<int>(std::invoke(get, Self(o)))); };
    p.set = [set, from](TPersistent& o, TValue& v) {
      auto x = from(v);
      if constexpr (std::is_integral_v<V> && !std::is_same_v<V, int> && !std::is_same_v<V, TColor>) {
        if (x < static_cast<int64_t>(std::numeric_limits<V>::min()) ||
            x > static_cast<int64_t>(std::numeric_limits<V>::max()))
          detail::ThrowOutOfRange(x);
      }
      std::invoke(set, Self(o), static_cast<V>(x));
    };
    p.defaultValue = std::move(def);
    return TPropRef<T>(p);
  }

  template <class Get>
  TPropRef<T> Sub(std::string name, TPropKind kind, Get get) {
    TPropInfo& p = info_.AddProperty(std::move(name), kind);
    p.object = [get](TPersistent& o) -> TPersistent* {
      return detail::AsPersistent(std::invoke(get, Self(o)));
    };
    return TPropRef<T>(p);
  }

  template <class R>
  TPropInfo& RefInfo(std::string name) {
    static_assert(std::is_base_of_v<TComponent, R>, "references point to components");
    TPropInfo& p = info_.AddProperty(std::move(name), TPropKind::Reference);
    p.accepts = [](const TComponent* c) { return c == nullptr || dynamic_cast<const R*>(c) != nullptr; };
    p.refClass = TypeDisplayName(typeid(R));
    return p;
  }

  TClassInfo& info_;
};

// Registration at program start; see the example at the top of this file.
template <class T>
struct TPublisher {
  static void Publish(TClassBuilder<T>& b);
};

template <class T, class Parent>
struct TClassRegistrar {
  TClassRegistrar(const char* name, const char* parentName) {
    static_assert(std::is_base_of_v<Parent, T> || std::is_same_v<T, Parent>,
                  "QZ_PUBLISHED: the parent must be a base class");
    TClassBuilder<T> b(RegisterClassInfo(name, parentName));
    TPublisher<T>::Publish(b);
  }
};

#define QZ_PUBLISHED_CONCAT2(a, b) a##b
#define QZ_PUBLISHED_CONCAT(a, b) QZ_PUBLISHED_CONCAT2(a, b)
#define QZ_PUBLISHED(Self, Parent)                                                   \
  template <>                                                                        \
  void TPublisher<Self>::Publish(TClassBuilder<Self>& b);                            \
  static const TClassRegistrar<Self, Parent> QZ_PUBLISHED_CONCAT(qz_published_, __COUNTER__){ \
      #Self, #Parent};                                                               \
  template <>                                                                        \
  void TPublisher<Self>::Publish([[maybe_unused]] TClassBuilder<Self>& b)

// In a class body, lets its QZ_PUBLISHED block name private members.
#define QZ_PUBLISHED_ACCESS(Self) friend struct ::qz::TPublisher<Self>

}  // namespace qz
