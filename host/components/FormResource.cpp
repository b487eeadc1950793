#include "host/components/FormResource.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "host/base/Resources.h"
#include "host/components/Collection.h"
#include "host/components/Properties.h"
#include "host/components/Strings.h"

namespace qz {

namespace {

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || std::isdigit(static_cast<unsigned char>(c)); }

bool LessText(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Character-level scanner of the resource text with line numbers.
class TScanner {
 public:
  explicit TScanner(std::string_view text) : text_(text) {
    if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;  // a UTF-8 byte order mark
  }

  int Line() const { return line_; }
  bool AtEnd() { SkipBlanks(); return pos_ >= text_.size(); }
  char Peek() { SkipBlanks(); return pos_ < text_.size() ? text_[pos_] : '\0'; }
  // The next character without skipping blanks.
  char PeekRaw() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

  [[noreturn]] void Error(const std::string& message) const { ErrorAt(line_, message); }
  [[noreturn]] static void ErrorAt(int line, const std::string& message) {
    throw EReadError("Line " + std::to_string(line) + ": " + message);
  }

  void SkipBlanks() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') ++line_;
      else if (static_cast<unsigned char>(c) > ' ') return;
      ++pos_;
    }
  }

  bool Accept(char c) {
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }
  void Expect(char c, const char* what) {
    if (!Accept(c)) Error(std::string("Expected ") + what);
  }

  // A plain identifier (no dots); Error when there is none.
  std::string Ident(const char* what) {
    SkipBlanks();
    size_t start = pos_;
    if (pos_ < text_.size() && IsIdentStart(text_[pos_])) {
      while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
    }
    if (start == pos_) Error(std::string("Expected ") + what);
    return std::string(text_.substr(start, pos_ - start));
  }
  // a.b.c (property paths and component references).
  std::string DottedIdent(const char* what) {
    std::string r = Ident(what);
    while (PeekRaw() == '.') {
      ++pos_;
      r += '.';
      if (pos_ >= text_.size() || !IsIdentStart(text_[pos_])) Error(std::string("Expected ") + what);
      r += Ident(what);
    }
    return r;
  }

  // 'abc''d'#13#10 + 'more': quoted parts, #nnn character codes and '+'
  // between pieces.
  std::string String() {
    std::string out;
    for (;;) {
      ReadStringPiece(out);
      while (PeekRaw() == '\'' || PeekRaw() == '#') ReadStringPiece(out);
      size_t save = pos_;
      int saveLine = line_;
      if (Accept('+') && (Peek() == '\'' || Peek() == '#')) continue;
      pos_ = save;
      line_ = saveLine;
      return out;
    }
  }

  // 12, -3, $FF, 1.5, -2.5E-3 (a number with '.' or an exponent is a float).
  TValue Number() {
    SkipBlanks();
    bool negative = false;
    if (PeekRaw() == '-' || PeekRaw() == '+') {
      negative = text_[pos_] == '-';
      ++pos_;
    }
    if (PeekRaw() == '$') {
      ++pos_;
      uint64_t v = 0;
      size_t start = pos_;
      while (pos_ < text_.size() && HexDigit(text_[pos_]) >= 0) {
        if (v >> 60) Error("Invalid integer value (too large)");
        v = v * 16 + static_cast<uint64_t>(HexDigit(text_[pos_++]));
      }
      if (start == pos_) Error("Invalid integer value");
      if (v > static_cast<uint64_t>(INT64_MAX)) Error("Invalid integer value (too large)");
      return TValue::Integer(negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v));
    }
    size_t start = pos_;
    bool isFloat = false;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (start == pos_) Error("Invalid property value");
    if (PeekRaw() == '.' && pos_ + 1 < text_.size() &&
        std::isdigit(static_cast<unsigned char>(text_[pos_ + 1]))) {
      isFloat = true;
      ++pos_;
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    }
    if (PeekRaw() == 'e' || PeekRaw() == 'E') {
      size_t e = pos_ + 1;
      if (e < text_.size() && (text_[e] == '+' || text_[e] == '-')) ++e;
      if (e < text_.size() && std::isdigit(static_cast<unsigned char>(text_[e]))) {
        isFloat = true;
        pos_ = e;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
      }
    }
    std::string_view digits = text_.substr(start, pos_ - start);
    if (isFloat) {
      double d = 0;
      auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), d);
      if (ec != std::errc() || p != digits.data() + digits.size() || !std::isfinite(d))
        Error("Invalid floating point value " + std::string(digits));
      return TValue::Float(negative ? -d : d);
    }
    uint64_t v = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (ec != std::errc() || v > static_cast<uint64_t>(INT64_MAX))
      Error("Invalid integer value " + std::string(digits) + " (too large)");
    return TValue::Integer(negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v));
  }

  // {hex digits spread over lines}. One pass to find the end, one to decode.
  std::vector<uint8_t> Binary() {
    Expect('{', "'{'");
    size_t end = text_.find('}', pos_);
    if (end == std::string_view::npos) Error("Unterminated binary value");
    static const auto kDigits = [] {
      std::array<int8_t, 256> t{};
      t.fill(-1);
      for (int c = 0; c < 256; ++c) t[static_cast<size_t>(c)] = static_cast<int8_t>(HexDigit(static_cast<char>(c)));
      return t;
    }();
    std::vector<uint8_t> bytes((end - pos_) / 2);
    size_t count = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text_.data());
    while (pos_ < end) {
      int hi = kDigits[p[pos_]];
      if (hi >= 0) {
        int lo = pos_ + 1 < end ? kDigits[p[pos_ + 1]] : -1;
        if (lo < 0) Error(pos_ + 1 < end && p[pos_ + 1] > ' ' ? "Invalid binary value"
                                                             : "Invalid binary value (odd number of digits)");
        bytes[count++] = static_cast<uint8_t>(hi << 4 | lo);
        pos_ += 2;
        continue;
      }
      if (p[pos_] == '\n') ++line_;
      else if (p[pos_] > ' ') Error("Invalid binary value");
      ++pos_;
    }
    bytes.resize(count);
    ++pos_;  // '}'
    return bytes;
  }

 private:
  void ReadStringPiece(std::string& out) {
    SkipBlanks();
    if (PeekRaw() == '#') {
      ++pos_;
      uint32_t cp = 0;
      size_t start = pos_;
      bool hex = PeekRaw() == '$';
      if (hex) ++pos_, ++start;
      while (pos_ < text_.size()) {
        int d = hex ? HexDigit(text_[pos_])
                    : (std::isdigit(static_cast<unsigned char>(text_[pos_])) ? text_[pos_] - '0' : -1);
        if (d < 0) break;
        cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
        if (cp > 0x10FFFF) Error("Invalid character code");
        ++pos_;
      }
      if (start == pos_ || (cp >= 0xD800 && cp <= 0xDFFF)) Error("Invalid character code");
      AppendUtf8(out, cp);
      return;
    }
    if (PeekRaw() != '\'') Error("Invalid property value");
    ++pos_;
    for (;;) {
      size_t q = text_.find_first_of("'\n\r", pos_);
      if (q == std::string_view::npos || text_[q] != '\'') Error("Unterminated string");
      out.append(text_.substr(pos_, q - pos_));
      pos_ = q + 1;
      if (PeekRaw() == '\'') {  // '' is a quote inside the string
        out += '\'';
        ++pos_;
        continue;
      }
      return;
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

// Adds the line to an error raised while assigning a property, keeping its
// class so that callers can tell property errors from broken text.
[[noreturn]] void RethrowWithLine(int line, const std::exception& e) {
  std::string msg = e.what();
  if (msg.rfind("Line ", 0) == 0) throw;
  msg = "Line " + std::to_string(line) + ": " + msg;
  if (dynamic_cast<const EPropertyError*>(&e)) throw EPropertyError(msg);
  if (dynamic_cast<const EClassNotFound*>(&e)) throw EClassNotFound(msg);
  throw EReadError(msg);
}

// Watches the components a read creates, so that the reader never touches
// one that something else destroyed meanwhile.
class TReadWatcher : public TComponent {
 public:
  TReadWatcher() : TComponent(nullptr) {}
  void Watch(TComponent* c) {
    live_.insert(c);
    FreeNotification(c);
  }
  bool Alive(const TComponent* c) const { return live_.count(const_cast<TComponent*>(c)) != 0; }
  const std::unordered_set<TComponent*>& Live() const { return live_; }
  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove) live_.erase(c);
    TComponent::Notification(c, op);
  }

 private:
  std::unordered_set<TComponent*> live_;
};

}  // namespace

// ---------------------------------------------------------------------------
// Reader

class TReader {
 public:
  TReader(TComponent* root, std::string_view text) : root_(root), s_(text) {}
  ~TReader() {
    // Unhook the watcher quietly: the components must not be told about it.
    for (TComponent* c : watcher_->Live()) c->RemoveNotification(watcher_.get());
    watcher_->freeNotifies_.clear();
  }
  TReader(const TReader&) = delete;
  TReader& operator=(const TReader&) = delete;

  void Read() {
    try {
      ReadAll();
    } catch (...) {
      Abandon();
      throw;
    }
  }

 private:
  // How a property's object is reached from the component being read: a
  // sub-object property, or a collection property and an item index. Used
  // to find the object again when references are resolved.
  struct TStep {
    const TPropInfo* prop;
    int item;  // -1 for sub-objects
    int generation = 0;  // of the collection's reading that made the item
  };
  struct TFixup {
    TComponent* component;
    std::vector<TStep> steps;
    const TPropInfo* prop;
    std::string target;  // "" for nil
    int line;
  };

  void ReadAll() {
    root_->SetStateFlag(csLoading, true);
    root_->SetStateFlag(csReading, true);
    ReadRootHeader();
    ReadBody(root_);
    if (!s_.AtEnd()) s_.Error("Unexpected text after the end of the root object");
    root_->ResolveFields();
    ResolveReferences();
    Finish();
  }

  void ReadRootHeader() {
    if (s_.AtEnd()) s_.Error("Empty resource");
    std::string word = s_.Ident("object");
    if (!SameText(word, "object")) s_.Error("Expected object");
    auto [name, cls] = ReadNameAndClass();
    if (!SameText(cls, root_->ClassName())) {
      const TClassInfo* info = ClassInfoOf(*root_);
      if (info == nullptr || !info->InheritsFrom(cls))
        throw EClassNotFound("Line " + std::to_string(s_.Line()) + ": Class " + cls +
                             " does not match the root class " + root_->ClassName());
    }
    int line = s_.Line();
    if (!name.empty() && name != root_->Name()) {
      try {
        root_->SetName(name);
      } catch (const std::exception& e) {
        RethrowWithLine(line, e);
      }
    }
  }

  std::pair<std::string, std::string> ReadNameAndClass() {
    std::string first = s_.Ident("a component name");
    if (s_.Accept(':')) return {first, s_.Ident("a class name")};
    return {std::string(), first};
  }

  // Properties and child objects until `end`.
  void ReadBody(TComponent* component) {
    for (;;) {
      if (s_.AtEnd()) s_.Error("Expected end");
      int line = s_.Line();
      std::string word = s_.DottedIdent("a property name, object or end");
      if (SameText(word, "end")) return;
      if (SameText(word, "object")) {
        ReadChild(component);
        continue;
      }
      if (SameText(word, "inherited") || SameText(word, "inline"))
        s_.Error("Inherited objects are not supported");
      s_.Expect('=', "'='");
      current_ = component;
      ReadProperty(component, word, {}, line);
    }
  }

  void ReadChild(TComponent* enclosing) {
    Enter();
    int line = s_.Line();
    auto [name, cls] = ReadNameAndClass();
    const TClassInfo* info = FindClassInfo(cls);
    if (info == nullptr) throw EClassNotFound("Line " + std::to_string(line) + ": Class " + cls + " not found");
    TComponent* child = nullptr;
    try {
      child = info->Create(root_);
    } catch (const std::exception& e) {
      RethrowWithLine(line, e);
    }
    if (child == nullptr) s_.Error("Class " + cls + " cannot be created");
    if (child->Owner() != root_) {
      // The factory must make the component with the owner it was given.
      delete child;
      s_.Error("Class " + cls + " did not take the root as its owner");
    }
    created_.push_back(child);
    watcher_->Watch(child);
    child->SetStateFlag(csLoading, true);
    child->SetStateFlag(csReading, true);
    try {
      child->SetName(name);
      child->SetParentComponent(enclosing);
    } catch (const std::exception& e) {
      RethrowWithLine(line, e);
    }
    ReadBody(child);
    Leave();
  }

  // `path` = Name or Sub.Sub.Name relative to obj.
  void ReadProperty(TPersistent* obj, const std::string& path, std::vector<TStep> steps, int line) {
    TPersistent* cur = obj;
    size_t start = 0;
    for (;;) {
      size_t dot = path.find('.', start);
      std::string segment = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
      bool last = dot == std::string::npos;
      if (auto* strings = dynamic_cast<TStrings*>(cur); strings && last && SameText(segment, "Strings")) {
        ReadStringList(*strings, line);
        return;
      }
      const TClassInfo* info = ClassInfoOf(*cur);
      const TPropInfo* prop = info ? info->FindProperty(segment) : nullptr;
      if (prop == nullptr) PropertyError(line, "Property " + path + " does not exist");
      if (last) {
        AssignProperty(cur, *prop, path, std::move(steps), line);
        return;
      }
      if (prop->kind != TPropKind::Object && prop->kind != TPropKind::Strings)
        PropertyError(line, "Property " + path + " does not exist");
      cur = prop->object(*cur);
      if (cur == nullptr) PropertyError(line, "Property " + path + " does not exist");
      steps.push_back({prop, -1, 0});
      start = dot + 1;
    }
  }

  [[noreturn]] static void PropertyError(int line, const std::string& message) {
    throw EPropertyError("Line " + std::to_string(line) + ": " + message);
  }

  void AssignProperty(TPersistent* obj, const TPropInfo& prop, const std::string& path,
                      std::vector<TStep> steps, int line) {
    switch (prop.kind) {
      case TPropKind::Collection: {
        auto* c = dynamic_cast<TCollection*>(prop.object(*obj));
        if (c == nullptr) PropertyError(line, "Property " + path + " does not exist");
        steps.push_back({&prop, 0, 0});
        ReadCollection(*c, steps, line);
        return;
      }
      case TPropKind::Strings: {
        auto* strings = dynamic_cast<TStrings*>(prop.object(*obj));
        if (strings == nullptr) PropertyError(line, "Property " + path + " does not exist");
        ReadStringList(*strings, line);
        return;
      }
      case TPropKind::Object:
        PropertyError(line, "Invalid property value for " + path + " (set its properties by name)");
      case TPropKind::Reference: {
        std::string target = ReadReferenceName(line);
        fixups_.push_back({current_, std::move(steps), &prop, std::move(target), line});
        return;
      }
      case TPropKind::Event:
        BindEvent(obj, prop, line);
        return;
      default:
        break;
    }
    if (s_.Peek() == '<') PropertyError(line, "Invalid property value for " + path + " (not a collection)");
    TValue value = ReadValue(line);
    try {
      prop.set(*obj, value);
    } catch (const std::exception& e) {
      RethrowWithLine(line, e);
    }
  }

  std::string ReadReferenceName(int line) {
    if (!IsIdentStart(s_.Peek())) PropertyError(line, "Invalid property value (expected a component name)");
    std::string name = s_.DottedIdent("a component name");
    return SameText(name, "nil") ? std::string() : name;
  }

  void BindEvent(TPersistent* obj, const TPropInfo& prop, int line) {
    if (!IsIdentStart(s_.Peek())) PropertyError(line, "Invalid property value (expected a method name)");
    std::string handlerName = s_.Ident("a method name");
    if (SameText(handlerName, "nil")) return;
    const std::any* handler = root_->FindHandler(handlerName);
    if (handler == nullptr) PropertyError(line, "Method " + handlerName + " not found in " + root_->ClassName());
    try {
      prop.bindEvent(*obj, *handler);
    } catch (const std::exception& e) {
      RethrowWithLine(line, e);
    }
    if (auto* component = dynamic_cast<TComponent*>(obj)) component->SetEventHandlerName(prop.name, handlerName);
  }

  void ReadStringList(TStrings& strings, int line) {
    TValue list = ReadValue(line);
    if (list.kind != TValue::TKind::List) PropertyError(line, "Invalid property value (expected a list of strings)");
    for (const TValue& v : list.items)
      if (v.kind != TValue::TKind::String) PropertyError(line, "Invalid property value (expected a list of strings)");
    if (auto* sorted = dynamic_cast<TStringList*>(&strings); sorted && sorted->Sorted()) {
      // Adding in order makes each insertion an append; a stable sort keeps
      // which of several equal lines comes (or is kept) first.
      bool caseSensitive = sorted->CaseSensitive();
      std::stable_sort(list.items.begin(), list.items.end(), [caseSensitive](const TValue& a, const TValue& b) {
        return caseSensitive ? a.text < b.text : LessText(a.text, b.text);
      });
    }
    try {
      strings.BeginUpdate();
      strings.Clear();
      for (TValue& v : list.items) strings.Add(v.text);
      strings.EndUpdate();
    } catch (const std::exception& e) {
      strings.EndUpdate();
      RethrowWithLine(line, e);
    }
  }

  void ReadCollection(TCollection& c, std::vector<TStep>& steps, int line) {
    if (!s_.Accept('<')) PropertyError(line, "Invalid property value (expected a collection)");
    Enter();
    // References read inside the items this assignment replaces are void.
    int generation = ++lastGeneration_;
    generations_[&c] = generation;
    steps.back().generation = generation;
    c.BeginUpdate();
    try {
      c.Clear();
      while (!s_.Accept('>')) {
        if (s_.AtEnd()) s_.Error("Expected '>'");
        std::string word = s_.Ident("item or '>'");
        if (!SameText(word, "item")) s_.Error("Expected item");
        steps.back().item = c.Count();
        TCollectionItem* item = c.Add();
        Enter();
        for (;;) {
          if (s_.AtEnd()) s_.Error("Expected end");
          int propLine = s_.Line();
          std::string name = s_.DottedIdent("a property name or end");
          if (SameText(name, "end")) break;
          s_.Expect('=', "'='");
          ReadProperty(item, name, steps, propLine);
        }
        Leave();
      }
    } catch (...) {
      c.EndUpdate();
      throw;
    }
    c.EndUpdate();
    Leave();
  }

  TValue ReadValue(int line) {
    char c = s_.Peek();
    switch (c) {
      case '\'':
      case '#':
        return TValue::String(s_.String());
      case '[':
        return ReadSet();
      case '(':
        return ReadList(line);
      case '{':
        return TValue::Binary(s_.Binary());
      case '-':
      case '+':
      case '$':
        return s_.Number();
      default:
        break;
    }
    if (std::isdigit(static_cast<unsigned char>(c))) return s_.Number();
    if (IsIdentStart(c)) return TValue::Ident(s_.DottedIdent("a value"));
    if (c == '\0') s_.Error("Unexpected end of resource");
    PropertyError(s_.Line(), "Invalid property value");
  }

  TValue ReadSet() {
    s_.Expect('[', "'['");
    std::vector<std::string> names;
    if (!s_.Accept(']')) {
      do {
        names.push_back(s_.Ident("a set element"));
      } while (s_.Accept(','));
      s_.Expect(']', "']'");
    }
    return TValue::Set(std::move(names));
  }

  TValue ReadList(int line) {
    s_.Expect('(', "'('");
    Enter();
    TValue list;
    list.kind = TValue::TKind::List;
    while (!s_.Accept(')')) {
      if (s_.AtEnd()) s_.Error("Expected ')'");
      list.items.push_back(ReadValue(line));
    }
    Leave();
    return list;
  }

  void Enter() {
    if (++depth_ > kMaxResourceNesting) s_.Error("Nesting too deep");
  }
  void Leave() { --depth_; }

  // Walks from the component along the recorded steps to the object whose
  // reference property was read; null when it is gone.
  TPersistent* FindFixupObject(const TFixup& f) const {
    if (f.component != root_ && !watcher_->Alive(f.component)) return nullptr;
    TPersistent* cur = f.component;
    for (const TStep& step : f.steps) {
      TPersistent* sub = step.prop->object(*cur);
      if (sub == nullptr) return nullptr;
      if (step.item < 0) {
        cur = sub;
        continue;
      }
      auto* c = dynamic_cast<TCollection*>(sub);
      if (c == nullptr || step.item >= c->Count()) return nullptr;
      auto gen = generations_.find(c);
      if (gen == generations_.end() || gen->second != step.generation) return nullptr;
      cur = c->Items(step.item);
    }
    return cur;
  }

  TComponent* FindReferenced(const TFixup& f) const {
    if (f.target.empty()) return nullptr;
    size_t dot = f.target.find('.');
    TComponent* found = nullptr;
    if (dot != std::string::npos) {
      std::string_view rootName = std::string_view(f.target).substr(0, dot);
      TComponent* other = SameText(rootName, root_->Name()) ? root_ : FindGlobalComponent(rootName);
      if (other != nullptr) found = other->FindComponent(std::string_view(f.target).substr(dot + 1));
    } else {
      found = root_->FindComponent(f.target);
      if (found == nullptr && SameText(f.target, root_->Name())) found = root_;
      if (found == nullptr) found = FindGlobalComponent(f.target);
    }
    if (found == nullptr)
      throw EReadError("Line " + std::to_string(f.line) + ": Invalid property value: component " + f.target +
                       " not found");
    return found;
  }

  void ResolveReferences() {
    for (const TFixup& f : fixups_) {
      TPersistent* obj = FindFixupObject(f);
      if (obj == nullptr) continue;
      TComponent* target = FindReferenced(f);
      if (!f.prop->accepts(target))
        PropertyError(f.line, "Invalid property value: " + f.target + " is a " + target->ClassName() + ", " +
                                  f.prop->name + " needs a " + f.prop->refClass);
      try {
        f.prop->setRef(*obj, target);
      } catch (const std::exception& e) {
        RethrowWithLine(f.line, e);
      }
    }
  }

  void Finish() {
    std::vector<TComponent*> loaded;
    for (TComponent* c : created_)
      if (watcher_->Alive(c)) loaded.push_back(c);
    for (TComponent* c : loaded) {
      c->SetStateFlag(csReading, false);
      c->SetStateFlag(csLoading, false);
    }
    root_->SetStateFlag(csReading, false);
    root_->SetStateFlag(csLoading, false);
    for (TComponent* c : loaded)
      if (watcher_->Alive(c)) c->Loaded();
    root_->Loaded();
  }

  // After a failure: destroy what this read created (last first), which
  // clears the references and fields that point to them.
  void Abandon() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
      if (watcher_->Alive(*it)) delete *it;
    created_.clear();
    root_->SetStateFlag(csReading, false);
    root_->SetStateFlag(csLoading, false);
  }

  TComponent* root_;
  TScanner s_;
  std::unique_ptr<TReadWatcher> watcher_ = std::make_unique<TReadWatcher>();
  std::vector<TComponent*> created_;
  std::vector<TFixup> fixups_;
  TComponent* current_ = nullptr;
  int depth_ = 0;
  std::unordered_map<const TCollection*, int> generations_;
  int lastGeneration_ = 0;
};

void ReadComponentRes(TComponent* root, std::string_view text) {
  if (root == nullptr) throw EReadError("No root component to read into");
  TReader(root, text).Read();
}

std::string ResourceRootClass(std::string_view text) {
  TScanner s(text);
  try {
    if (!SameText(s.Ident("object"), "object")) return {};
    std::string first = s.Ident("a name");
    if (s.Accept(':')) return s.Ident("a class name");
    return first;
  } catch (const EReadError&) {
    return {};
  }
}

void ReadComponentResFromResources(TComponent* root) {
  if (root == nullptr) throw EReadError("No root component to read into");
  for (const std::string& name : ResourceNames("form:")) {
    auto bytes = FindResource(name);
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (SameText(ResourceRootClass(text), root->ClassName())) {
      ReadComponentRes(root, text);
      return;
    }
  }
  throw EReadError(std::string("No form resource for class ") + root->ClassName());
}

// ---------------------------------------------------------------------------
// Writer

namespace {

std::string FormatString(std::string_view s) {
  if (s.empty()) return "''";
  std::string out;
  bool quoted = false;
  for (char ch : s) {
    auto c = static_cast<unsigned char>(ch);
    if (c < ' ' || c == 127) {
      if (quoted) out += '\'';
      quoted = false;
      out += '#' + std::to_string(c);
      continue;
    }
    if (!quoted) out += '\'';
    quoted = true;
    if (ch == '\'') out += '\'';
    out += ch;
  }
  if (quoted) out += '\'';
  return out;
}

std::string FormatFloat(double d) {
  if (!std::isfinite(d)) return "0";
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, d);
  std::string s(buf, p);
  // Keep it a float when read back ("2" would be an integer; both assign
  // the same, but the text must not change on a round trip).
  if (s.find_first_of(".eE") == std::string::npos) s += ".0";
  return s;
}

}  // namespace

class TWriter {
 public:
  explicit TWriter(const TComponent* root) : root_(const_cast<TComponent*>(root)) {}

  std::string Write() {
    const bool wasWriting = root_->InState(csWriting);
    root_->SetStateFlag(csWriting, true);
    try {
      WriteRoot();
    } catch (...) {
      root_->SetStateFlag(csWriting, wasWriting);
      throw;
    }
    root_->SetStateFlag(csWriting, wasWriting);
    return std::move(out_);
  }

 private:
  void WriteRoot() {
    // Children by the component they sit in (controls in their parent,
    // everything else in the root), in the root's creation order.
    for (TComponent* c : root_->components_) {
      TComponent* parent = c->GetParentComponent();
      if (parent == nullptr || parent->Owner() != root_ || parent == c) parent = root_;
      children_[parent].push_back(c);
    }
    WriteObject(root_, 0);
  }
  void WriteObject(TComponent* c, int level) {
    if (!visited_.insert(c).second || level > kMaxResourceNesting) return;
    Indent(level);
    out_ += "object ";
    if (!c->Name().empty()) out_ += c->Name() + ": ";
    out_ += c->ClassName();
    out_ += '\n';
    WriteProperties(*c, "", level + 1, true);
    auto it = children_.find(c);
    if (it != children_.end())
      for (TComponent* child : it->second) WriteObject(child, level + 1);
    Indent(level);
    out_ += "end\n";
  }

  void WriteProperties(TPersistent& obj, const std::string& prefix, int level, bool isComponent) {
    const TClassInfo* info = ClassInfoOf(obj);
    if (info == nullptr) return;
    for (const TPropInfo* prop : info->Properties()) {
      if (prop->stored && !prop->stored(obj)) continue;
      std::string name = prefix + prop->name;
      switch (prop->kind) {
        case TPropKind::Object:
          if (TPersistent* sub = prop->object(obj)) {
            if (auto* strings = dynamic_cast<TStrings*>(sub)) WriteStrings(*strings, name, level);
            else WriteProperties(*sub, name + ".", level, false);
          }
          break;
        case TPropKind::Strings:
          if (auto* strings = dynamic_cast<TStrings*>(prop->object(obj))) WriteStrings(*strings, name, level);
          break;
        case TPropKind::Collection:
          if (auto* c = dynamic_cast<TCollection*>(prop->object(obj))) WriteCollection(*c, name, level);
          break;
        case TPropKind::Reference:
          WriteReference(prop->getRef(obj), name, level);
          break;
        case TPropKind::Event:
          if (isComponent && prefix.empty()) {
            std::string handler = static_cast<TComponent&>(obj).EventHandlerName(prop->name);
            if (!handler.empty()) Line(level, name + " = " + handler);
          }
          break;
        default: {
          TValue v = prop->get(obj);
          if (prop->defaultValue && v == *prop->defaultValue) break;
          WriteValue(v, name, level);
        }
      }
    }
  }

  void WriteValue(const TValue& v, const std::string& name, int level) {
    using K = TValue::TKind;
    switch (v.kind) {
      case K::Integer: Line(level, name + " = " + std::to_string(v.integer)); break;
      case K::Float: Line(level, name + " = " + FormatFloat(v.number)); break;
      case K::String: Line(level, name + " = " + FormatString(v.text)); break;
      case K::Ident: Line(level, name + " = " + v.text); break;
      case K::Set: {
        std::string s = "[";
        for (size_t i = 0; i < v.names.size(); ++i) s += (i ? ", " : "") + v.names[i];
        Line(level, name + " = " + s + "]");
        break;
      }
      case K::Binary: WriteBinary(v.bytes, name, level); break;
      case K::List:
      case K::None: break;
    }
  }

  void WriteBinary(const std::vector<uint8_t>& bytes, const std::string& name, int level) {
    static const char kHex[] = "0123456789ABCDEF";
    constexpr size_t kBytesPerLine = 32;
    Indent(level);
    out_ += name + " = {";
    const size_t indent = static_cast<size_t>(level + 1) * 2;
    const size_t lines = (bytes.size() + kBytesPerLine - 1) / kBytesPerLine;
    size_t at = out_.size();
    out_.resize(at + bytes.size() * 2 + lines * (1 + indent));
    char* dst = out_.data() + at;
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (i % kBytesPerLine == 0) {
        *dst++ = '\n';
        dst = std::fill_n(dst, indent, ' ');
      }
      *dst++ = kHex[bytes[i] >> 4];
      *dst++ = kHex[bytes[i] & 15];
    }
    out_ += "}\n";
  }

  void WriteStrings(TStrings& strings, const std::string& name, int level) {
    if (strings.Count() == 0) return;
    Line(level, name + ".Strings = (");
    for (int i = 0; i < strings.Count(); ++i) {
      Indent(level + 1);
      out_ += FormatString(strings.Get(i));
      out_ += i + 1 == strings.Count() ? ")\n" : "\n";
    }
  }

  void WriteCollection(TCollection& c, const std::string& name, int level) {
    if (c.Count() == 0) return;
    Line(level, name + " = <");
    for (int i = 0; i < c.Count(); ++i) {
      Line(level + 1, "item");
      WriteProperties(*c.Items(i), "", level + 2, false);
      Indent(level + 1);
      out_ += i + 1 == c.Count() ? "end>\n" : "end\n";
    }
  }

  void WriteReference(TComponent* target, const std::string& name, int level) {
    if (target == nullptr || target->Name().empty()) return;
    std::string ref = target->Name();
    TComponent* owner = target->Owner();
    if (target != root_ && owner != nullptr && owner != root_) {
      if (owner->Name().empty()) return;  // cannot be named from here
      ref = owner->Name() + "." + ref;
    }
    Line(level, name + " = " + ref);
  }

  void Indent(int level) { out_.append(static_cast<size_t>(level) * 2, ' '); }
  void Line(int level, const std::string& text) {
    Indent(level);
    out_ += text;
    out_ += '\n';
  }

  TComponent* root_;
  std::string out_;
  std::unordered_map<TComponent*, std::vector<TComponent*>> children_;
  std::unordered_set<TComponent*> visited_;
};

std::string WriteComponentRes(const TComponent* root) {
  if (root == nullptr) return {};
  return TWriter(root).Write();
}

}  // namespace qz
