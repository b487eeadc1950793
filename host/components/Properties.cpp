#include "host/components/Properties.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace qz {

namespace {

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

std::map<std::string, std::unique_ptr<TClassInfo>>& Registry() {
  static std::map<std::string, std::unique_ptr<TClassInfo>> classes;
  return classes;
}

struct TColorName {
  TColor color;
  const char* name;
};
constexpr TColorName kColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
    {clMedGray, "clMedGray"}, {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"}, {clMenuBar, "clMenuBar"}, {clNone, "clNone"},
    {clDefault, "clDefault"},
};

struct TCursorName {
  int cursor;
  const char* name;
};
// The host's standard cursor numbers (crSize is an alias of crSizeAll and is
// only read).
constexpr TCursorName kCursorNames[] = {
    {0, "crDefault"},    {-1, "crNone"},      {-2, "crArrow"},      {-3, "crCross"},
    {-4, "crIBeam"},     {-6, "crSizeNESW"},  {-7, "crSizeNS"},     {-8, "crSizeNWSE"},
    {-9, "crSizeWE"},    {-10, "crUpArrow"},  {-11, "crHourGlass"}, {-12, "crDrag"},
    {-13, "crNoDrop"},   {-14, "crHSplit"},   {-15, "crVSplit"},    {-16, "crMultiDrag"},
    {-17, "crSQLWait"},  {-18, "crNo"},       {-19, "crAppStart"},  {-20, "crHelp"},
    {-21, "crHandPoint"}, {-22, "crSizeAll"}, {-22, "crSize"},
};

}  // namespace

bool ColorToIdent(TColor color, std::string& ident) {
  for (const auto& c : kColorNames)
    if (c.color == color) {
      ident = c.name;
      return true;
    }
  return false;
}

bool IdentToColor(std::string_view ident, TColor& color) {
  for (const auto& c : kColorNames)
    if (SameText(c.name, ident)) {
      color = c.color;
      return true;
    }
  return false;
}

bool CursorToIdent(int cursor, std::string& ident) {
  for (const auto& c : kCursorNames)
    if (c.cursor == cursor) {
      ident = c.name;
      return true;
    }
  return false;
}

bool IdentToCursor(std::string_view ident, int& cursor) {
  for (const auto& c : kCursorNames)
    if (SameText(c.name, ident)) {
      cursor = c.cursor;
      return true;
    }
  return false;
}

// --- value conversion helpers ------------------------------------------------------

namespace detail {

std::string DescribeValue(const TValue& value) {
  using K = TValue::TKind;
  switch (value.kind) {
    case K::Integer: return std::to_string(value.integer);
    case K::Float: return std::to_string(value.number);
    case K::String: {
      std::string s = value.text.size() > 40 ? value.text.substr(0, 40) + "..." : value.text;
      return "'" + s + "'";
    }
    case K::Ident: return value.text;
    case K::Set: return "a set";
    case K::Binary: return "a binary block";
    case K::List: return "a list";
    case K::None: break;
  }
  return "nothing";
}

void ThrowBadValue(const TValue& value, std::string_view expected) {
  throw EPropertyError("Invalid property value " + DescribeValue(value) + " (expected " +
                       std::string(expected) + ")");
}

void ThrowOutOfRange(int64_t value) {
  throw EPropertyError("Invalid property value " + std::to_string(value) + " (out of range)");
}

TValue ColorToValue(TColor c) {
  std::string ident;
  if (ColorToIdent(c, ident)) return TValue::Ident(ident);
  return TValue::Integer(c);
}

TColor ColorFromValue(const TValue& v) {
  if (v.kind == TValue::TKind::Ident) {
    TColor c = 0;
    if (!IdentToColor(v.text, c)) ThrowBadValue(v, "a colour");
    return c;
  }
  if (v.kind != TValue::TKind::Integer) ThrowBadValue(v, "a colour");
  // $FF00000F and -16777201 are the same system colour.
  if (v.integer < INT32_MIN || v.integer > static_cast<int64_t>(UINT32_MAX)) ThrowOutOfRange(v.integer);
  return static_cast<TColor>(static_cast<uint32_t>(v.integer));
}

TValue CursorToValue(int c) {
  std::string ident;
  if (CursorToIdent(c, ident)) return TValue::Ident(ident);
  return TValue::Integer(c);
}

int CursorFromValue(const TValue& v) {
  if (v.kind == TValue::TKind::Ident) {
    int c = 0;
    if (!IdentToCursor(v.text, c)) ThrowBadValue(v, "a cursor");
    return c;
  }
  if (v.kind != TValue::TKind::Integer) ThrowBadValue(v, "a cursor");
  if (v.integer < INT32_MIN || v.integer > INT32_MAX) ThrowOutOfRange(v.integer);
  return static_cast<int>(v.integer);
}

}  // namespace detail

// --- class registry ------------------------------------------------------------------

const TClassInfo* TClassInfo::Parent() const {
  if (parentName_.empty() || SameText(parentName_, name_)) return nullptr;
  return FindClassInfo(parentName_);
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
  // Bounded walk: a mistaken registration loop must not hang the reader.
  const TClassInfo* c = this;
  for (int depth = 0; c != nullptr && depth < 64; ++depth, c = c->Parent())
    if (SameText(c->name_, className)) return true;
  return false;
}

TComponent* TClassInfo::Create(TComponent* owner) const {
  if (!factory_) throw EClassNotFound("Class " + name_ + " cannot be created");
  return factory_(owner);
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  const TClassInfo* c = this;
  for (int depth = 0; c != nullptr && depth < 64; ++depth, c = c->Parent())
    for (const auto& p : c->props_)
      if (SameText(p->name, name)) return p.get();
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c != nullptr && chain.size() < 64; c = c->Parent()) chain.push_back(c);
  std::vector<const TPropInfo*> result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const auto& p : (*it)->props_) {
      // A subclass that registers an inherited name again (another default)
      // takes the inherited entry's place: one entry per name.
      auto same = std::find_if(result.begin(), result.end(),
                               [&](const TPropInfo* q) { return SameText(q->name, p->name); });
      if (same != result.end())
        *same = p.get();
      else
        result.push_back(p.get());
    }
  return result;
}

TPropInfo& TClassInfo::AddProperty(std::string name, TPropKind kind) {
  // Registering a name again replaces the earlier entry (a subclass may
  // re-register with another default by using its own class).
  for (auto& p : props_)
    if (SameText(p->name, name)) {
      *p = TPropInfo{};
      p->name = std::move(name);
      p->kind = kind;
      return *p;
    }
  auto p = std::make_unique<TPropInfo>();
  p->name = std::move(name);
  p->kind = kind;
  props_.push_back(std::move(p));
  return *props_.back();
}

TClassInfo& RegisterClassInfo(const std::string& name, const std::string& parentName) {
  auto& slot = Registry()[Lower(name)];
  if (!slot) slot = std::make_unique<TClassInfo>(name, parentName);
  return *slot;
}

const TClassInfo* FindClassInfo(std::string_view name) {
  auto& reg = Registry();
  auto it = reg.find(Lower(name));
  return it == reg.end() ? nullptr : it->second.get();
}

const TClassInfo& GetClassInfo(std::string_view name) {
  const TClassInfo* info = FindClassInfo(name);
  if (info == nullptr) throw EClassNotFound("Class " + std::string(name) + " not found");
  return *info;
}

const TClassInfo* ClassInfoOf(const TObject& obj) { return FindClassInfo(obj.ClassName()); }

void AssignPublished(TPersistent& dest, const TPersistent& src) {
  if (&dest == &src) return;
  const TClassInfo* srcInfo = ClassInfoOf(src);
  const TClassInfo* destInfo = ClassInfoOf(dest);
  if (srcInfo == nullptr || destInfo == nullptr || !destInfo->InheritsFrom(srcInfo->Name()))
    throw EInvalidCast(std::string("Cannot assign a ") + src.ClassName() + " to a " + dest.ClassName());
  auto& from = const_cast<TPersistent&>(src);
  for (const TPropInfo* prop : srcInfo->Properties()) {
    switch (prop->kind) {
      case TPropKind::Object:
      case TPropKind::Strings:
      case TPropKind::Collection: {
        TPersistent* a = prop->object(dest);
        TPersistent* b = prop->object(from);
        if (a == nullptr || b == nullptr) break;
        if (prop->kind == TPropKind::Object) AssignPublished(*a, *b);
        else a->Assign(*b);
        break;
      }
      case TPropKind::Reference:
        prop->setRef(dest, prop->getRef(from));
        break;
      case TPropKind::Event:
        break;
      default: {
        TValue v = prop->get(from);
        prop->set(dest, v);
      }
    }
  }
}

}  // namespace qz
