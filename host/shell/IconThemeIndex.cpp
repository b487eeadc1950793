#include "host/shell/IconThemeIndex.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

namespace qz {

namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Calls f(piece) for each trimmed, non-empty piece of s between separators.
template <class F>
void ForEachListItem(std::string_view s, char separator, F&& f) {
  while (!s.empty()) {
    const size_t end = s.find(separator);
    const std::string_view item = Trim(s.substr(0, end));
    if (!item.empty()) f(item);
    if (end == std::string_view::npos) break;
    s.remove_prefix(end + 1);
  }
}

// A decimal integer in [lo, hi] making up the whole value, else fallback.
int ParseInt(const std::string* value, int lo, int hi, int fallback) {
  if (!value || value->empty()) return fallback;
  int result = 0;
  const char* first = value->data();
  const char* last = first + value->size();
  const auto [end, error] = std::from_chars(first, last, result);
  if (error != std::errc() || end != last || result < lo || result > hi) return fallback;
  return result;
}

TIconDirType ParseType(const std::string* value) {
  if (value && *value == "Fixed") return TIconDirType::Fixed;
  if (value && *value == "Scalable") return TIconDirType::Scalable;
  return TIconDirType::Threshold;
}

// A relative path made of plain names ("48x48/apps", "scalable/stock/io").
bool IsSafeRelativePath(std::string_view path) {
  if (path.empty() || path.size() > 4096) return false;
  bool ok = true;
  size_t parts = 0;
  std::string_view rest = path;
  while (ok) {
    const size_t slash = rest.find('/');
    ok = IsPlainFileName(rest.substr(0, slash));
    ++parts;
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  return ok && parts <= 16;
}

// Theme names are folder names without commas or spaces.
bool IsThemeName(std::string_view name) {
  return IsPlainFileName(name) && name.find_first_of(", \t") == std::string_view::npos;
}

}  // namespace

const std::string* TIniSection::Find(std::string_view key) const {
  for (const auto& [k, v] : Entries)
    if (k == key) return &v;
  return nullptr;
}

std::vector<TIniSection> ParseIni(std::string_view text, const TIniLimits& limits) {
  std::vector<TIniSection> sections;
  std::unordered_set<std::string> seen;
  text = text.substr(0, std::min(text.size(), limits.MaxBytes));
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a UTF-8 byte order mark
  TIniSection* current = nullptr;  // null: outside a section, or in a skipped one
  size_t lines = 0;
  while (!text.empty() && lines++ < limits.MaxLines) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.size() > limits.MaxLineLength) continue;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      current = nullptr;
      if (line.back() != ']' || line.size() < 3) continue;
      std::string name(line.substr(1, line.size() - 2));
      if (sections.size() >= limits.MaxSections || !seen.insert(name).second) continue;
      current = &sections.emplace_back(TIniSection{std::move(name), {}});
      continue;
    }
    const size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos || eq == 0) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    if (key.empty() || current->Find(key) || current->Entries.size() >= limits.MaxEntriesPerSection)
      continue;
    current->Entries.emplace_back(std::string(key), std::string(Trim(line.substr(eq + 1))));
  }
  return sections;
}

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name.size() <= 255 && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

TIconThemeIndex ParseIconThemeIndex(std::string_view text) {
  TIconThemeIndex index;
  const std::vector<TIniSection> sections = ParseIni(text);
  std::unordered_map<std::string_view, const TIniSection*> byName;
  for (const TIniSection& s : sections) byName.emplace(s.Name, &s);
  const auto section = [&](std::string_view name) -> const TIniSection* {
    const auto found = byName.find(name);
    return found == byName.end() ? nullptr : found->second;
  };
  const TIniSection* theme = section("Icon Theme");
  if (!theme) return index;
  if (const std::string* inherits = theme->Find("Inherits"))
    ForEachListItem(*inherits, ',', [&](std::string_view name) {
      if (IsThemeName(name) && index.Inherits.size() < 64) index.Inherits.emplace_back(name);
    });
  std::unordered_set<std::string_view> listed;
  const auto addDirectories = [&](const std::string* list) {
    if (!list) return;
    ForEachListItem(*list, ',', [&](std::string_view path) {
      if (index.Directories.size() >= kMaxIconDirectories || !IsSafeRelativePath(path) ||
          !listed.insert(path).second)
        return;
      const TIniSection* s = section(path);
      if (!s) return;
      TIconDirectory dir;
      dir.Path = std::string(path);
      dir.Size = ParseInt(s->Find("Size"), 1, kMaxIconSize, 0);
      if (dir.Size == 0) return;  // Size is required
      dir.Type = ParseType(s->Find("Type"));
      dir.Scale = ParseInt(s->Find("Scale"), 1, kMaxIconScale, 1);
      dir.MinSize = ParseInt(s->Find("MinSize"), 1, kMaxIconSize, dir.Size);
      dir.MaxSize = ParseInt(s->Find("MaxSize"), 1, kMaxIconSize, dir.Size);
      dir.Threshold = ParseInt(s->Find("Threshold"), 0, kMaxIconSize, 2);
      index.Directories.push_back(std::move(dir));
    });
  };
  addDirectories(theme->Find("Directories"));
  addDirectories(theme->Find("ScaledDirectories"));
  return index;
}

bool DirectoryMatchesSize(const TIconDirectory& dir, int size, int scale) {
  if (dir.Scale != scale) return false;
  switch (dir.Type) {
    case TIconDirType::Fixed: return dir.Size == size;
    case TIconDirType::Scalable: return dir.MinSize <= size && size <= dir.MaxSize;
    case TIconDirType::Threshold:
      return dir.Size - dir.Threshold <= size && size <= dir.Size + dir.Threshold;
  }
  return false;
}

int DirectorySizeDistance(const TIconDirectory& dir, int size, int scale) {
  // Sizes and scales are capped, so the products fit an int comfortably.
  const int wanted = size * scale;
  const auto outside = [&](int lo, int hi) {
    if (wanted < lo * dir.Scale) return lo * dir.Scale - wanted;
    if (wanted > hi * dir.Scale) return wanted - hi * dir.Scale;
    return 0;
  };
  switch (dir.Type) {
    case TIconDirType::Fixed: return std::abs(dir.Size * dir.Scale - wanted);
    case TIconDirType::Scalable: return outside(dir.MinSize, dir.MaxSize);
    case TIconDirType::Threshold: return outside(dir.Size - dir.Threshold, dir.Size + dir.Threshold);
  }
  return 0;
}

}  // namespace qz
