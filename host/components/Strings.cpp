#include "host/components/Strings.h"

#include <algorithm>
#include <cctype>
#include <numeric>

#include "host/components/Component.h"

namespace qz {

namespace {

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = std::tolower(static_cast<unsigned char>(a[i]));
    int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareBytes(std::string_view a, std::string_view b) {
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool NeedsQuotes(std::string_view s) {
  if (s.empty()) return true;
  return std::any_of(s.begin(), s.end(), [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"';
  });
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

// --- TStrings ----------------------------------------------------------------

void TStrings::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit)
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::Put(int index, const std::string& s) {
  CheckIndex(index, Count());
  TObject* object = GetObject(index);
  BeginUpdate();
  Delete(index);
  Insert(index, s);
  PutObject(index, object);
  EndUpdate();
}

int TStrings::Add(const std::string& s) {
  int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
  int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& other) {
  // Copy first: other may be this list.
  std::vector<std::pair<std::string, TObject*>> lines;
  for (int i = 0; i < other.Count(); ++i) lines.emplace_back(other.Get(i), other.GetObject(i));
  BeginUpdate();
  for (auto& [s, o] : lines) AddObject(s, o);
  EndUpdate();
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  CheckIndex(from, Count());
  CheckIndex(to, Count());
  std::string s = Get(from);
  TObject* o = GetObject(from);
  BeginUpdate();
  Delete(from);
  InsertObject(to, s, o);
  EndUpdate();
}

void TStrings::Exchange(int a, int b) {
  CheckIndex(a, Count());
  CheckIndex(b, Count());
  std::string sa = Get(a), sb = Get(b);
  TObject *oa = GetObject(a), *ob = GetObject(b);
  BeginUpdate();
  Put(a, sb);
  PutObject(a, ob);
  Put(b, sa);
  PutObject(b, oa);
  EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareText(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string line = Get(i);
    size_t eq = line.find('=');
    if (eq != std::string::npos && CompareText(std::string_view(line).substr(0, eq), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string r;
  for (int i = 0; i < Count(); ++i) {
    r += Get(i);
    r += '\n';
  }
  return r;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      Add(std::string(text.substr(start)));
      break;
    }
    Add(std::string(text.substr(start, end - start)));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  std::string r;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) r += ',';
    std::string s = Get(i);
    if (!NeedsQuotes(s)) {
      r += s;
      continue;
    }
    r += '"';
    for (char c : s) {
      if (c == '"') r += '"';
      r += c;
    }
    r += '"';
  }
  return r;
}

void TStrings::SetCommaText(std::string_view text) {
  BeginUpdate();
  Clear();
  size_t p = 0;
  auto skipBlanks = [&] {
    while (p < text.size() && IsBlank(text[p])) ++p;
  };
  skipBlanks();
  while (p < text.size()) {
    std::string item;
    if (text[p] == '"') {
      ++p;
      while (p < text.size()) {
        if (text[p] == '"') {
          if (p + 1 < text.size() && text[p + 1] == '"') {
            item += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += text[p++];
      }
    } else {
      while (p < text.size() && text[p] != ',' && !IsBlank(text[p])) item += text[p++];
    }
    Add(item);
    skipBlanks();
    if (p < text.size() && text[p] == ',') {
      ++p;
      skipBlanks();
      if (p == text.size()) Add("");  // a trailing comma ends with an empty item
    }
  }
  EndUpdate();
}

std::string TStrings::Names(int index) const {
  std::string line = Get(index);
  size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStrings::Values(std::string_view name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValues(std::string_view name, const std::string& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::string line = std::string(name) + "=" + value;
  if (i < 0) Add(line);
  else Put(i, line);
}

std::string TStrings::ValueFromIndex(int index) const {
  std::string line = Get(index);
  size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream& stream) {
  int64_t remaining = stream.Remaining();
  std::string text(static_cast<size_t>(std::max<int64_t>(remaining, 0)), '\0');
  if (!text.empty()) stream.ReadBuffer(text.data(), text.size());
  std::string_view view = text;
  if (view.starts_with("\xEF\xBB\xBF")) view.remove_prefix(3);
  SetText(view);
}

void TStrings::SaveToStream(TStream& stream) const {
  std::string text = Text();
  stream.WriteBuffer(text.data(), text.size());
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

void TStrings::Assign(const TPersistent& source) {
  if (const auto* src = dynamic_cast<const TStrings*>(&source)) {
    if (src == this) return;
    BeginUpdate();
    Clear();
    AddStrings(*src);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::AssignTo(TPersistent& dest) const { TPersistent::AssignTo(dest); }

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> r;
  r.reserve(static_cast<size_t>(Count()));
  for (int i = 0; i < Count(); ++i) r.push_back(Get(i));
  return r;
}

// --- TStringList ---------------------------------------------------------------

std::string TStringList::Get(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, const std::string& s) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(index, Count());
  Changing();
  items_[static_cast<size_t>(index)].text = s;
  Changed();
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index, Count());
  Changing();
  items_[static_cast<size_t>(index)].object = object;
  Changed();
}

void TStringList::Insert(int index, const std::string& s) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(index, Count() + 1);
  InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* object) {
  Changing();
  items_.insert(items_.begin() + index, TItem{s, object});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

int TStringList::Add(const std::string& s) {
  if (!sorted_) {
    int index = Count();
    InsertItem(index, s, nullptr);
    return index;
  }
  int index = 0;
  if (Find(s, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
    // dupAccept: after the equal ones, so equal lines keep their order.
    auto after = std::upper_bound(items_.begin() + index, items_.end(), s,
                                  [this](const std::string& v, const TItem& item) { return Compare(v, item.text) < 0; });
    index = static_cast<int>(after - items_.begin());
  }
  InsertItem(index, s, nullptr);
  return index;
}

bool TStringList::Find(std::string_view s, int& index) const {
  auto it = std::lower_bound(items_.begin(), items_.end(), s,
                             [this](const TItem& item, std::string_view v) { return Compare(item.text, v) < 0; });
  index = static_cast<int>(it - items_.begin());
  return it != items_.end() && Compare(it->text, s) == 0;
}

int TStringList::IndexOf(std::string_view s) const {
  if (sorted_) {
    int index = 0;
    return Find(s, index) ? index : -1;
  }
  for (size_t i = 0; i < items_.size(); ++i)
    if (Compare(items_[i].text, s) == 0) return static_cast<int>(i);
  return -1;
}

void TStringList::SetSorted(bool value) {
  if (value == sorted_) return;
  if (value) Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (value == caseSensitive_) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const TItem& a, const TItem& b) { return Compare(a.text, b.text) < 0; });
  Changed();
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare) {
  std::vector<int> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
  std::vector<TItem> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
  Changing();
  items_ = std::move(sorted);
  Changed();
}

int TStringList::Compare(std::string_view a, std::string_view b) const {
  return caseSensitive_ ? CompareBytes(a, b) : CompareText(a, b);
}

void TStringList::SetUpdateState(bool updating) {
  // Runs when the outermost batch begins or ends, whatever the count says.
  if (updating) {
    if (OnChanging) OnChanging(this);
  } else if (OnChange) {
    OnChange(this);
  }
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

}  // namespace qz
