#include "host/shell/MimeDatabase.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <tuple>
#include <unordered_set>

#include "host/shell/BoundedRead.h"
#include "host/shell/ShellItem.h"

namespace qz {

namespace {

constexpr size_t kMaxGlobsBytes = 16 << 20;
constexpr size_t kMaxGlobLines = 65536;
constexpr size_t kMaxLineLength = 4096;
constexpr size_t kMaxMagicBytes = 16 << 20;
constexpr size_t kMaxListBytes = 4 << 20;  // aliases, subclasses, icons
constexpr size_t kMaxListLines = 65536;
constexpr size_t kMaxXmlBytes = 256 << 10;
constexpr size_t kMaxCommentBytes = 1024;
constexpr size_t kTextCheckBytes = 512;
constexpr size_t kMaxAncestors = 256;
constexpr std::string_view kNoGlobs = "__NOGLOBS__";

template <class F>
void ForEachLine(std::string_view text, size_t maxLines, F f) {
  for (size_t line = 0; line < maxLines && !text.empty(); ++line) {
    const size_t end = text.find('\n');
    std::string_view part = text.substr(0, end);
    if (!part.empty() && part.back() == '\r') part.remove_suffix(1);
    if (part.size() <= kMaxLineLength) f(part);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return lower;
}

bool HasWildcards(std::string_view pattern) {
  return pattern.find_first_of("*?[") != std::string_view::npos;
}

bool HasControls(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return uint8_t(c) < 0x20 || c == 0x7F; });
}

std::optional<int> Weight(std::string_view text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 100) return std::nullopt;
  return value;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// "key value" (separator ' ') or "key:value" lines of the list files.
template <class F>
void ForEachPair(std::string_view text, char separator, F f) {
  ForEachLine(text, kMaxListLines, [&](std::string_view line) {
    if (line.empty() || line.front() == '#') return;
    const size_t at = line.find(separator);
    if (at == std::string_view::npos) return;
    const std::string_view key = line.substr(0, at);
    const std::string_view value = line.substr(at + 1);
    if (!IsMimeTypeName(key) || value.empty() || HasControls(value) ||
        value.find(separator) != std::string_view::npos)
      return;
    f(key, value);
  });
}

// Undoes the XML entities of a text; unknown ones stay as they are.
std::string DecodeEntities(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    if (text[at] != '&') {
      out += text[at++];
      continue;
    }
    const size_t semi = text.find(';', at);
    if (semi == std::string_view::npos || semi - at > 10) {
      out += text[at++];
      continue;
    }
    const std::string_view name = text.substr(at + 1, semi - at - 1);
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    bool done = false;
    for (const auto& [entity, c] : kNamed)
      if (name == entity) {
        out += c;
        done = true;
      }
    if (!done && name.size() > 1 && name.front() == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string digits(name.substr(hex ? 2 : 1));
      char* end = nullptr;
      const unsigned long code = digits.empty() ? 0 : std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
      if (end && *end == 0 && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
        // UTF-8 of the code point.
        if (code < 0x80) {
          out += char(code);
        } else if (code < 0x800) {
          out += char(0xC0 | (code >> 6));
          out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
          out += char(0xE0 | (code >> 12));
          out += char(0x80 | ((code >> 6) & 0x3F));
          out += char(0x80 | (code & 0x3F));
        } else {
          out += char(0xF0 | (code >> 18));
          out += char(0x80 | ((code >> 12) & 0x3F));
          out += char(0x80 | ((code >> 6) & 0x3F));
          out += char(0x80 | (code & 0x3F));
        }
        done = true;
      }
    }
    if (done) {
      at = semi + 1;
    } else {
      out += text[at++];
    }
  }
  return out;
}

std::string_view TrimmedBlanks(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Cut to at most max bytes without splitting a UTF-8 sequence.
std::string CutUtf8(std::string text, size_t max) {
  if (text.size() <= max) return text;
  size_t end = max;
  while (end > 0 && (uint8_t(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

}  // namespace

bool IsMimeTypeName(std::string_view type) {
  if (type.size() < 3 || type.size() > 255) return false;
  const size_t slash = type.find('/');
  if (slash == 0 || slash == std::string_view::npos || slash + 1 == type.size()) return false;
  if (type.find('/', slash + 1) != std::string_view::npos) return false;
  if (type.find("..") != std::string_view::npos) return false;
  for (const char c : type)
    if (uint8_t(c) <= ' ' || uint8_t(c) >= 0x7F || c == '\\' || c == ':') return false;
  return true;
}

std::vector<TMimeGlob> ParseMimeGlobs(std::string_view text) {
  std::vector<TMimeGlob> globs;
  ForEachLine(text.substr(0, kMaxGlobsBytes), kMaxGlobLines, [&](std::string_view line) {
    if (line.empty() || line.front() == '#') return;
    const size_t first = line.find(':');
    if (first == std::string_view::npos) return;
    const size_t second = line.find(':', first + 1);
    if (second == std::string_view::npos) return;
    const auto weight = Weight(line.substr(0, first));
    const std::string_view type = line.substr(first + 1, second - first - 1);
    std::string_view pattern = line.substr(second + 1);
    std::string_view flags;
    if (const size_t third = pattern.find(':'); third != std::string_view::npos) {
      flags = pattern.substr(third + 1);
      pattern = pattern.substr(0, third);
      // Fields past the flags are for later versions of the format.
      flags = flags.substr(0, flags.find(':'));
    }
    if (!weight || !IsMimeTypeName(type) || pattern.empty() || HasControls(pattern)) return;
    TMimeGlob glob;
    glob.Weight = *weight;
    glob.Type = std::string(type);
    glob.Pattern = std::string(pattern);
    while (!flags.empty()) {
      const size_t comma = flags.find(',');
      if (flags.substr(0, comma) == "cs") glob.CaseSensitive = true;
      if (comma == std::string_view::npos) break;
      flags.remove_prefix(comma + 1);
    }
    globs.push_back(std::move(glob));
  });
  return globs;
}

void TMimeGlobIndex::Add(const TMimeGlob& glob, uint32_t precedence) {
  if (glob.Pattern == kNoGlobs) return;
  globs_.push_back({glob, precedence});
  const TEntry entry{glob, uint64_t(precedence) << 32 | (order_++ & 0xFFFFFFFFu), {}};
  const std::string_view pattern = glob.Pattern;
  if (!HasWildcards(pattern)) {
    literals_[Lower(pattern)].push_back(entry);
  } else if (pattern.size() > 1 && pattern.front() == '*' && !HasWildcards(pattern.substr(1))) {
    suffixes_[Lower(pattern.substr(1))].push_back(entry);
    maxSuffix_ = std::max(maxSuffix_, pattern.size() - 1);
  } else {
    others_.push_back(entry);
    others_.back().LowerPattern = Lower(pattern);
  }
}

void TMimeGlobIndex::RemoveType(std::string_view type) {
  std::vector<std::pair<TMimeGlob, uint32_t>> kept;
  for (auto& glob : globs_)
    if (glob.first.Type != type) kept.push_back(std::move(glob));
  *this = TMimeGlobIndex();
  for (const auto& [glob, precedence] : kept) Add(glob, precedence);
}

void TMimeGlobIndex::Consider(const TEntry& entry, std::vector<const TEntry*>& best) const {
  // Higher weight first, then the longer pattern, then a case-sensitive
  // match before one that ignored case.
  const auto rank = [](const TMimeGlob& glob) {
    return std::tuple(glob.Weight, glob.Pattern.size(), glob.CaseSensitive);
  };
  if (!best.empty()) {
    const auto top = rank(best.front()->Glob), mine = rank(entry.Glob);
    if (mine < top) return;
    if (top < mine) best.clear();
  }
  best.push_back(&entry);
}

std::vector<std::string> TMimeGlobIndex::Match(std::string_view name) const {
  std::vector<const TEntry*> best;
  if (name.empty()) return {};
  const std::string lower = Lower(name);
  if (const auto found = literals_.find(lower); found != literals_.end())
    for (const TEntry& entry : found->second)
      if (!entry.Glob.CaseSensitive || entry.Glob.Pattern == name) Consider(entry, best);
  const size_t firstSuffix = name.size() > maxSuffix_ ? name.size() - maxSuffix_ : 0;
  for (size_t at = firstSuffix; at < name.size(); ++at) {
    const auto found = suffixes_.find(std::string_view(lower).substr(at));
    if (found == suffixes_.end()) continue;
    for (const TEntry& entry : found->second)
      if (!entry.Glob.CaseSensitive || name.substr(at) == std::string_view(entry.Glob.Pattern).substr(1))
        Consider(entry, best);
  }
  const std::string nameText(name);
  for (const TEntry& entry : others_) {
    const bool match = entry.Glob.CaseSensitive
                           ? ::fnmatch(entry.Glob.Pattern.c_str(), nameText.c_str(), 0) == 0
                           : ::fnmatch(entry.LowerPattern.c_str(), lower.c_str(), 0) == 0;
    if (match) Consider(entry, best);
  }
  std::sort(best.begin(), best.end(), [](const TEntry* a, const TEntry* b) { return a->Order < b->Order; });
  std::vector<std::string> types;
  for (const TEntry* entry : best)
    if (std::find(types.begin(), types.end(), entry->Glob.Type) == types.end())
      types.push_back(entry->Glob.Type);
  return types;
}

TMimeSettings MimeSettingsFromEnvironment() {
  TMimeSettings settings;
  const std::string home = Env("HOME");
  std::string dataHome = Env("XDG_DATA_HOME");
  if (dataHome.empty() || dataHome.front() != '/')
    dataHome = !home.empty() && home.front() == '/' ? WithoutTrailingSlash(home) + "/.local/share" : "";
  if (!dataHome.empty()) settings.Dirs.push_back(WithoutTrailingSlash(dataHome) + "/mime");
  std::string dirs = Env("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share/:/usr/share/";
  std::string_view list = dirs;
  while (!list.empty()) {
    const size_t colon = list.find(':');
    const std::string_view entry = list.substr(0, colon);
    if (!entry.empty() && entry.front() == '/')
      settings.Dirs.push_back(WithoutTrailingSlash(std::string(entry)) + "/mime");
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  return settings;
}

TMimeDatabase::TMimeDatabase(TMimeSettings settings) : settings_(std::move(settings)) { Load(); }

TMimeDatabase& TMimeDatabase::Shared() {
  static TMimeDatabase* shared = new TMimeDatabase(MimeSettingsFromEnvironment());
  return *shared;
}

void TMimeDatabase::Load() {
  // Lowest precedence first, so that a later folder overrides and its
  // __NOGLOBS__ removes what came before.
  for (size_t i = settings_.Dirs.size(); i-- > 0;) LoadDir(settings_.Dirs[i], uint32_t(i));
}

void TMimeDatabase::LoadDir(const std::string& dir, uint32_t precedence) {
  if (const auto text = ReadRegularFilePrefix(dir + "/globs2", kMaxGlobsBytes)) {
    const std::vector<TMimeGlob> globs = ParseMimeGlobs(*text);
    for (const TMimeGlob& glob : globs)
      if (glob.Pattern == kNoGlobs) globs_.RemoveType(glob.Type);
    for (const TMimeGlob& glob : globs) globs_.Add(glob, precedence);
  }
  if (const auto bytes = ReadRegularFilePrefix(dir + "/magic", kMaxMagicBytes))
    magic_.Merge(TMimeMagic::Parse(*bytes));
  if (const auto text = ReadRegularFilePrefix(dir + "/aliases", kMaxListBytes))
    ForEachPair(*text, ' ', [&](std::string_view alias, std::string_view type) {
      if (IsMimeTypeName(type)) aliases_[std::string(alias)] = std::string(type);
    });
  if (const auto text = ReadRegularFilePrefix(dir + "/subclasses", kMaxListBytes))
    ForEachPair(*text, ' ', [&](std::string_view type, std::string_view parent) {
      if (!IsMimeTypeName(parent)) return;
      std::vector<std::string>& list = parents_[std::string(type)];
      if (std::find(list.begin(), list.end(), parent) == list.end() && list.size() < 64)
        list.emplace_back(parent);
    });
  const auto readIcons = [&](const char* file, std::unordered_map<std::string, std::string>& map) {
    if (const auto text = ReadRegularFilePrefix(dir + '/' + file, kMaxListBytes))
      ForEachPair(*text, ':', [&](std::string_view type, std::string_view icon) {
        if (icon.find('/') == std::string_view::npos) map[std::string(type)] = std::string(icon);
      });
  };
  readIcons("icons", icons_);
  readIcons("generic-icons", genericIcons_);
}

std::string_view TMimeDatabase::InodeType(TEntryKind kind) {
  switch (kind) {
    case TEntryKind::Folder: return "inode/directory";
    case TEntryKind::Fifo: return "inode/fifo";
    case TEntryKind::Socket: return "inode/socket";
    case TEntryKind::CharDevice: return "inode/chardevice";
    case TEntryKind::BlockDevice: return "inode/blockdevice";
    case TEntryKind::DanglingLink: return "inode/symlink";
    case TEntryKind::Regular:
    case TEntryKind::Unknown: return {};
  }
  return {};
}

std::vector<std::string> TMimeDatabase::TypesOfName(std::string_view name) const {
  return globs_.Match(name);
}

std::string TMimeDatabase::TypeOfNameAndData(std::string_view name,
                                             const std::optional<std::string>& data) const {
  return Decide(globs_.Match(name), data);
}

std::string TMimeDatabase::Decide(const std::vector<std::string>& globTypes,
                                  const std::optional<std::string>& data) const {
  if (globTypes.size() == 1) return globTypes.front();
  if (data) {
    if (const auto magic = magic_.Match(*data)) {
      for (const std::string& type : globTypes)
        if (IsA(type, magic->Type)) return type;
      return Unalias(magic->Type);
    }
  }
  const bool text = data && LooksLikeText(*data);
  if (text)
    for (const std::string& type : globTypes)
      if (IsA(type, "text/plain")) return type;
  if (!globTypes.empty()) return globTypes.front();
  if (text) return "text/plain";
  return "application/octet-stream";
}

std::string TMimeDatabase::TypeOf(int dirFd, const char* openName, std::string_view name,
                                  TEntryKind kind) const {
  const std::string_view inode = InodeType(kind);
  if (!inode.empty()) return std::string(inode);
  const std::vector<std::string> globTypes = globs_.Match(name);
  if (globTypes.size() == 1) return globTypes.front();
  std::optional<std::string> data;
  // Only a regular file is read, and only when its name does not settle it.
  if (kind == TEntryKind::Regular) {
    const size_t want = std::clamp(magic_.Extent(), kTextCheckBytes, kMaxSniffBytes);
    data = ReadRegularFilePrefix(dirFd, openName, want);
  }
  return Decide(globTypes, data);
}

std::string TMimeDatabase::TypeOfEntry(int dirFd, const TFolderEntry& entry) const {
  return TypeOf(dirFd, entry.Name.c_str(), entry.Name, entry.Kind);
}

std::string TMimeDatabase::TypeOfFile(const std::string& path) const {
  struct stat st;
  TEntryKind kind = TEntryKind::Unknown;
  if (::stat(path.c_str(), &st) == 0)
    kind = EntryKindFromMode(st.st_mode);
  else if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
    kind = TEntryKind::DanglingLink;
  return TypeOf(AT_FDCWD, path.c_str(), LastName(path), kind);
}

std::string TMimeDatabase::Unalias(std::string_view type) const {
  const auto found = aliases_.find(std::string(type));
  return found == aliases_.end() ? std::string(type) : found->second;
}

std::vector<std::string> TMimeDatabase::Parents(std::string_view type) const {
  const auto found = parents_.find(Unalias(type));
  return found == parents_.end() ? std::vector<std::string>() : found->second;
}

bool TMimeDatabase::IsA(std::string_view type, std::string_view parent) const {
  const std::string target = Unalias(parent);
  const std::string start = Unalias(type);
  if (start == target) return true;
  if (target == "application/octet-stream" && start.substr(0, 6) != "inode/") return true;
  std::unordered_set<std::string> seen{start};
  std::deque<std::string> queue{start};
  while (!queue.empty() && seen.size() < kMaxAncestors) {
    const std::string current = std::move(queue.front());
    queue.pop_front();
    std::vector<std::string> parents = Parents(current);
    if (current.substr(0, 5) == "text/" && current != "text/plain") parents.push_back("text/plain");
    for (const std::string& p : parents) {
      const std::string canonical = Unalias(p);
      if (canonical == target) return true;
      if (seen.insert(canonical).second) queue.push_back(canonical);
    }
  }
  return false;
}

std::vector<std::string> TMimeDatabase::IconNames(std::string_view type) const {
  const std::string canonical = Unalias(type);
  std::vector<std::string> names;
  if (const auto found = icons_.find(canonical); found != icons_.end()) names.push_back(found->second);
  std::string own = canonical;
  std::replace(own.begin(), own.end(), '/', '-');
  names.push_back(own);
  if (const auto found = genericIcons_.find(canonical); found != genericIcons_.end()) {
    names.push_back(found->second);
  } else if (const size_t slash = canonical.find('/'); slash != std::string::npos) {
    names.push_back(canonical.substr(0, slash) + "-x-generic");
  }
  std::vector<std::string> distinct;
  for (std::string& name : names)
    if (std::find(distinct.begin(), distinct.end(), name) == distinct.end()) distinct.push_back(std::move(name));
  return distinct;
}

std::string TMimeDatabase::Comment(std::string_view type) const {
  const std::string canonical = Unalias(type);
  {
    std::lock_guard lock(commentsMutex_);
    if (const auto found = comments_.find(canonical); found != comments_.end()) return found->second;
  }
  std::string comment = canonical;
  if (IsMimeTypeName(canonical)) {
    for (const std::string& dir : settings_.Dirs) {
      const auto xml = ReadRegularFilePrefix(dir + '/' + canonical + ".xml", kMaxXmlBytes);
      if (!xml) continue;
      if (auto text = ReadMimeComment(*xml)) comment = std::move(*text);
      break;
    }
  }
  std::lock_guard lock(commentsMutex_);
  if (comments_.size() < 65536) comments_.emplace(canonical, comment);
  return comment;
}

std::optional<std::string> ReadMimeComment(std::string_view xml) {
  xml = xml.substr(0, kMaxXmlBytes);
  size_t at = 0;
  while (at < xml.size()) {
    const size_t open = xml.find('<', at);
    if (open == std::string_view::npos) break;
    if (xml.substr(open, 4) == "<!--") {
      const size_t end = xml.find("-->", open + 4);
      if (end == std::string_view::npos) break;
      at = end + 3;
      continue;
    }
    at = open + 1;
    if (xml.substr(open, 8) != "<comment") continue;
    const size_t afterName = open + 8;
    if (afterName >= xml.size()) break;
    const char next = xml[afterName];
    if (next != '>' && next != ' ' && next != '\t' && next != '\n' && next != '\r' && next != '/') continue;
    const size_t close = xml.find('>', afterName);
    if (close == std::string_view::npos) break;
    const std::string_view attributes = xml.substr(afterName, close - afterName);
    if (!attributes.empty() && attributes.back() == '/') continue;  // <comment/>
    const size_t end = xml.find("</comment>", close + 1);
    if (end == std::string_view::npos) break;
    at = end + 10;
    if (attributes.find("xml:lang") != std::string_view::npos) continue;
    std::string text = DecodeEntities(TrimmedBlanks(xml.substr(close + 1, end - close - 1)));
    if (text.empty()) continue;
    return CutUtf8(std::move(text), kMaxCommentBytes);
  }
  return std::nullopt;
}

bool LooksLikeText(std::string_view bytes) {
  bytes = bytes.substr(0, kTextCheckBytes);
  for (const char c : bytes) {
    const uint8_t b = uint8_t(c);
    if (b >= 0x20 || b == '\t' || b == '\n' || b == '\r' || b == '\f' || b == 0x1B) continue;
    return false;
  }
  return true;
}

}  // namespace qz
