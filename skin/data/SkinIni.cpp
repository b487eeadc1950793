#include "skin/data/SkinIni.h"

#include <array>
#include <limits>

namespace qz {

std::string LowerCaseAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view TrimSkinText(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

// ---------------------------------------------------------------------------
// TqzIniFile

void TqzIniFile::Clear() {
  sections_.clear();
  sectionIndex_.clear();
}

TqzIniSection& TqzIniFile::AddSection(std::string_view name) {
  sections_.push_back(TqzIniSection{std::string(name), {}, {}});
  sectionIndex_.emplace(LowerCaseAscii(name), sections_.size() - 1);
  return sections_.back();
}

static void AddEntry(TqzIniSection& section, std::string_view line) {
  TqzIniEntry entry;
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    entry.key = std::string(line);
  } else {
    entry.key = std::string(TrimSkinText(line.substr(0, eq)));
    entry.value = std::string(TrimSkinText(line.substr(eq + 1)));
    entry.hasValue = true;
    // emplace keeps the first entry of a duplicate key.
    section.index.emplace(LowerCaseAscii(entry.key), section.entries.size());
  }
  section.entries.push_back(std::move(entry));
}

void TqzIniFile::SetText(std::string_view text) {
  Clear();
  // Sections that repeat a name are parsed into a scratch section that is
  // dropped: the first section of a name counts.
  TqzIniSection scratch;
  bool inSection = false, inDuplicate = false;
  size_t current = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = TrimSkinText(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;

    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      std::string_view name = TrimSkinText(line.substr(1, line.size() - 2));
      inSection = true;
      inDuplicate = SectionExists(name);
      if (inDuplicate) {
        scratch = TqzIniSection{};
      } else {
        AddSection(name);
        current = sections_.size() - 1;
      }
      continue;
    }
    if (inSection) AddEntry(inDuplicate ? scratch : sections_[current], line);
  }
}

std::string TqzIniFile::Text() const {
  std::string out;
  for (const auto& s : sections_) {
    out += '[';
    out += s.name;
    out += "]\r\n";
    for (const auto& e : s.entries) {
      out += e.key;
      if (e.hasValue) {
        out += '=';
        out += e.value;
      }
      out += "\r\n";
    }
  }
  return out;
}

const TqzIniSection* TqzIniFile::FindSection(std::string_view section) const {
  auto it = sectionIndex_.find(LowerCaseAscii(section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

TqzIniSection* TqzIniFile::MutableSection(std::string_view section) {
  auto it = sectionIndex_.find(LowerCaseAscii(section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

bool TqzIniFile::SectionExists(std::string_view section) const {
  return FindSection(section) != nullptr;
}

const std::string* TqzIniFile::Find(std::string_view section, std::string_view key) const {
  const TqzIniSection* s = FindSection(section);
  if (!s) return nullptr;
  auto it = s->index.find(LowerCaseAscii(key));
  return it == s->index.end() ? nullptr : &s->entries[it->second].value;
}

size_t TqzIniFile::EntryCount(std::string_view section) const {
  const TqzIniSection* s = FindSection(section);
  return s ? s->entries.size() : 0;
}

void TqzIniFile::WriteString(std::string_view section, std::string_view key,
                             std::string_view value) {
  TqzIniSection* s = MutableSection(section);
  if (!s) s = &AddSection(section);
  auto it = s->index.find(LowerCaseAscii(key));
  if (it != s->index.end()) {
    s->entries[it->second].value = std::string(value);
    return;
  }
  s->index.emplace(LowerCaseAscii(key), s->entries.size());
  s->entries.push_back(TqzIniEntry{std::string(key), std::string(value), true});
}

void TqzIniFile::EraseSection(std::string_view section) {
  TqzIniSection* s = MutableSection(section);
  if (!s) return;
  s->entries.clear();
  s->index.clear();
}

// ---------------------------------------------------------------------------
// Value syntaxes

bool TryParseSkinInteger(std::string_view text, int& out) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  // Decimal values must fit a signed 32-bit integer; hexadecimal ones 32 bits.
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > limit) return false;
  }
  uint32_t bits = static_cast<uint32_t>(value);
  if (negative) bits = 0u - bits;
  out = static_cast<int32_t>(bits);
  return true;
}

namespace {

// Splits at commas and converts `count` fields; extra fields are ignored.
template <size_t N>
std::array<int, N> ParseCoordinateFields(std::string_view text, std::string_view what,
                                         const char* kind) {
  std::array<int, N> fields{};
  size_t field = 0;
  uint64_t value = 0;
  bool digits = false;
  auto fail = [&](const char* why) {
    std::string msg = std::string("Invalid ") + kind + " value \"" + std::string(text) + "\"";
    if (!what.empty()) msg += " of " + std::string(what);
    msg += ": field " + std::to_string(field + 1) + " " + why;
    throw ESkinValueError(msg);
  };
  auto close = [&]() {
    if (!digits) fail("has no digits");
    fields[field++] = static_cast<int>(value);
    value = 0;
    digits = false;
  };
  for (char c : text) {
    if (field >= N) break;
    if (c == ',') {
      close();
    } else if (c >= '0' && c <= '9') {
      value = value * 10 + static_cast<uint64_t>(c - '0');
      if (value > 0x7FFFFFFFull) fail("is out of range");
      digits = true;
    }
  }
  if (field < N) close();
  if (field < N) fail("is missing");
  return fields;
}

}  // namespace

TRect ParseSkinRect(std::string_view text, std::string_view what) {
  auto f = ParseCoordinateFields<4>(text, what, "rect");
  return {f[0], f[1], f[2], f[3]};
}

TPoint ParseSkinPoint(std::string_view text, std::string_view what) {
  auto f = ParseCoordinateFields<2>(text, what, "point");
  return {f[0], f[1]};
}

std::string SkinRectText(const TRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
         "," + std::to_string(r.Bottom);
}

std::string SkinPointText(const TPoint& p) {
  return std::to_string(p.X) + "," + std::to_string(p.Y);
}

int TqzEnumWords::Parse(std::string_view word) const {
  for (size_t i = 0; i < names.size(); ++i) {
    if (word == names[i]) return static_cast<int>(i);
  }
  return fallback;
}

const char* TqzEnumWords::Name(int value) const {
  if (value >= 0 && static_cast<size_t>(value) < names.size()) return names[value];
  return names[static_cast<size_t>(fallback)];
}

namespace {
constexpr const char* kStretchNames[] = {"stfull", "sthorz", "stvert"};
constexpr const char* kMorphNames[] = {"mkdefault",     "mkgradient",   "mkleftgradient",
                                       "mkrightgradient", "mkleftslide", "mkrightslide",
                                       "mkpush"};
constexpr const char* kEffectNames[] = {"iebrightness", "iedarkness",   "iegrayscale",
                                        "ienoise",      "iesplitblur", "ieinvert"};
constexpr const char* kAlignNames[] = {"taleftjustify", "tarightjustify", "tacenter"};
constexpr const char* kPlacementNames[] = {"fphorizontal", "fpvertical"};
constexpr const char* kRegulatorNames[] = {"rkround", "rkhorizontal", "rkvertical"};
constexpr const char* kGaugeNames[] = {"gkhorizontal", "gkvertical"};
constexpr const char* kCommandNames[] = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                         "cmdefault", "cmrollup",   "cmminimizetotray"};
}  // namespace

// An unknown word reads as sthorz, a missing key as stfull.
const TqzEnumWords kStretchTypeWords{kStretchNames, int(TqzStretchType::Horz), int(TqzStretchType::Full)};
const TqzEnumWords kMorphKindWords{kMorphNames, 0, 0};
const TqzEnumWords kInactiveEffectWords{kEffectNames, 2, 0};
const TqzEnumWords kAlignmentWords{kAlignNames, qzTaRightJustify, qzTaCenter};
const TqzEnumWords kFramesPlacementWords{kPlacementNames, 1, 0};
const TqzEnumWords kRegulatorKindWords{kRegulatorNames, 2, 0};
const TqzEnumWords kGaugeKindWords{kGaugeNames, 1, 0};
const TqzEnumWords kStdCommandWords{kCommandNames, 6, 4};

namespace {
constexpr std::array<std::pair<const char*, TFontStyle>, 4> kFontStyleWords = {{
    {"fsbold", TFontStyle::fsBold},
    {"fsitalic", TFontStyle::fsItalic},
    {"fsunderline", TFontStyle::fsUnderline},
    {"fsstrikeout", TFontStyle::fsStrikeOut},
}};
}  // namespace

TFontStyles ParseFontStyle(std::string_view text) {
  TFontStyles styles;
  for (const auto& [word, style] : kFontStyleWords) {
    if (text.find(word) != std::string_view::npos) styles.Include(style);
  }
  return styles;
}

std::string FontStyleText(TFontStyles styles) {
  std::string out;
  for (const auto& [word, style] : kFontStyleWords) {
    if (!styles.Contains(style)) continue;
    if (!out.empty()) out += ',';
    out += word;
  }
  return out;
}

// ---------------------------------------------------------------------------
// Readers and writers

std::string TqzIniReader::String(std::string_view key, std::string_view def) const {
  const std::string* v = ini_.Find(section_, key);
  return v ? *v : std::string(def);
}

int TqzIniReader::Integer(std::string_view key, int def) const {
  const std::string* v = ini_.Find(section_, key);
  int out;
  if (v && TryParseSkinInteger(*v, out)) return out;
  return def;
}

static std::string KeyName(const std::string& section, std::string_view key) {
  return "key \"" + std::string(key) + "\" of section [" + section + "]";
}

TRect TqzIniReader::Rect(std::string_view key) const {
  const std::string* v = ini_.Find(section_, key);
  return v ? ParseSkinRect(*v, KeyName(section_, key)) : TRect{};
}

TPoint TqzIniReader::Point(std::string_view key) const {
  const std::string* v = ini_.Find(section_, key);
  return v ? ParseSkinPoint(*v, KeyName(section_, key)) : TPoint{};
}

int TqzIniReader::Enum(std::string_view key, const TqzEnumWords& words) const {
  const std::string* v = ini_.Find(section_, key);
  return v ? words.Parse(*v) : words.missing;
}

TFontStyles TqzIniReader::FontStyle(std::string_view key) const {
  const std::string* v = ini_.Find(section_, key);
  return v ? ParseFontStyle(*v) : TFontStyles{};
}

// A count key never yields more items than the section has lines, so a
// hostile "count=2000000000" costs nothing.
static std::vector<std::string> ReadCountedKeys(const TqzIniFile& ini, const std::string& section,
                                                int count, const std::string& prefix) {
  std::vector<std::string> out;
  if (count <= 0) return out;
  size_t n = std::min<size_t>(static_cast<size_t>(count), ini.EntryCount(section));
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const std::string* v = ini.Find(section, prefix + std::to_string(i));
    out.push_back(v ? *v : std::string());
  }
  return out;
}

std::vector<std::string> TqzIniReader::StringList(std::string_view name) const {
  return ReadCountedKeys(ini_, section_, Integer(std::string(name) + "count", 0), "");
}

std::vector<std::string> TqzIniReader::LineList(std::string_view name) const {
  return ReadCountedKeys(ini_, section_, Integer(std::string(name) + "linecount", 0),
                         std::string(name) + "line");
}

void TqzIniWriter::String(std::string_view key, std::string_view value) {
  ini_.WriteString(section_, key, value);
}
void TqzIniWriter::Integer(std::string_view key, int value) {
  ini_.WriteString(section_, key, std::to_string(value));
}
void TqzIniWriter::Rect(std::string_view key, const TRect& r) {
  ini_.WriteString(section_, key, SkinRectText(r));
}
void TqzIniWriter::Point(std::string_view key, const TPoint& p) {
  ini_.WriteString(section_, key, SkinPointText(p));
}
void TqzIniWriter::Enum(std::string_view key, int value, const TqzEnumWords& words) {
  ini_.WriteString(section_, key, words.Name(value));
}
void TqzIniWriter::FontStyle(std::string_view key, TFontStyles styles) {
  ini_.WriteString(section_, key, FontStyleText(styles));
}
void TqzIniWriter::StringList(std::string_view name, const std::vector<std::string>& items) {
  Integer(std::string(name) + "count", static_cast<int>(items.size()));
  for (size_t i = 0; i < items.size(); ++i) String(std::to_string(i), items[i]);
}
void TqzIniWriter::LineList(std::string_view name, const std::vector<std::string>& lines) {
  Integer(std::string(name) + "linecount", static_cast<int>(lines.size()));
  for (size_t i = 0; i < lines.size(); ++i) {
    String(std::string(name) + "line" + std::to_string(i), lines[i]);
  }
}

void TqzDataFields::FontGroup(std::string& name, int& height, TFontStyles& style, TColor& color,
                              const char* nameKey) {
  String(nameKey, name, "Tahoma");
  Integer("fontheight", height, 13);
  FontStyle("fontstyle", style);
  Color("fontcolor", color, 0);
}

void TqzDataFields::CornerPoints(TqzLatticeFields& g, const TRect& clientRect) {
  Point("lefttoppoint", g.LeftTopPoint);
  Point("righttoppoint", g.RightTopPoint);
  Point("leftbottompoint", g.LeftBottomPoint);
  Point("rightbottompoint", g.RightBottomPoint);
  Lattice(g, clientRect);
}

void TqzDataFields::StretchFlags(TqzLatticeFields& g, TSideOrder order) {
  Flag("leftstretch", g.LeftStretch);
  if (order == TSideOrder::LeftTopRightBottom) {
    Flag("topstretch", g.TopStretch);
    Flag("rightstretch", g.RightStretch);
  } else {
    Flag("rightstretch", g.RightStretch);
    Flag("topstretch", g.TopStretch);
  }
  Flag("bottomstretch", g.BottomStretch);
  Flag("stretcheffect", g.StretchEffect);
  Enum("stretchtype", g.StretchType, kStretchTypeWords);
}

}  // namespace qz
