#include "host/shell/MimeMagic.h"

#include <algorithm>
#include <bit>

namespace qz {

namespace {

constexpr std::string_view kHeader("MIME-Magic\0\n", 12);
constexpr size_t kMaxTypeLength = 255;

// A read position in the file that never passes its end.
class TByteCursor {
 public:
  explicit TByteCursor(std::string_view bytes) : bytes_(bytes) {}
  bool AtEnd() const { return at_ >= bytes_.size(); }
  int Peek() const { return AtEnd() ? -1 : uint8_t(bytes_[at_]); }
  bool Take(char c) {
    if (Peek() != uint8_t(c)) return false;
    ++at_;
    return true;
  }
  // Decimal digits; nothing when there are none or the value passes max.
  std::optional<uint32_t> Number(uint32_t max) {
    if (Peek() < '0' || Peek() > '9') return std::nullopt;
    uint64_t value = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      value = value * 10 + uint32_t(Peek() - '0');
      if (value > max) return std::nullopt;
      ++at_;
    }
    return uint32_t(value);
  }
  std::optional<std::string_view> Bytes(size_t count) {
    if (bytes_.size() - at_ < count) return std::nullopt;
    const std::string_view part = bytes_.substr(at_, count);
    at_ += count;
    return part;
  }
  // Up to (not including) c, which is consumed; at most max bytes.
  std::optional<std::string_view> Until(char c, size_t max) {
    const size_t end = bytes_.find(c, at_);
    if (end == std::string_view::npos || end - at_ > max) return std::nullopt;
    const std::string_view part = bytes_.substr(at_, end - at_);
    at_ = end + 1;
    return part;
  }
  void SkipLine() {
    const size_t end = bytes_.find('\n', at_);
    at_ = end == std::string_view::npos ? bytes_.size() : end + 1;
  }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

bool IsTypeText(std::string_view type) {
  if (type.empty() || type.find('/') == std::string_view::npos) return false;
  for (const char c : type)
    if (uint8_t(c) <= ' ' || uint8_t(c) >= 0x7F) return false;
  return true;
}

// "[priority:type]\n"; nothing when the header is malformed.
std::optional<TMagicSection> ReadSectionHeader(TByteCursor& in) {
  if (!in.Take('[')) return std::nullopt;
  const auto priority = in.Number(100);
  if (!priority || !in.Take(':')) return std::nullopt;
  const auto type = in.Until(']', kMaxTypeLength);
  if (!type || !in.Take('\n') || !IsTypeText(*type)) return std::nullopt;
  TMagicSection section;
  section.Priority = int(*priority);
  section.Type = std::string(*type);
  return section;
}

// Byte order of the words of value and mask made the machine's own.
void SwapWords(std::string& bytes, uint32_t wordSize) {
  if (wordSize <= 1 || std::endian::native == std::endian::big) return;
  for (size_t at = 0; at + wordSize <= bytes.size(); at += wordSize)
    std::reverse(bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + wordSize));
}

enum class TRuleRead { Rule, Skipped, Broken };

// One rule line; Skipped for a line to leave out (an unknown extension, an
// impossible word size), Broken when the file cannot be read on.
TRuleRead ReadRule(TByteCursor& in, const TMagicLimits& limits, TMagicRule& rule) {
  rule.Indent = 0;
  if (in.Peek() != '>') {
    const auto indent = in.Number(1u << 16);
    if (!indent) return TRuleRead::Broken;
    rule.Indent = int(*indent);
  }
  if (!in.Take('>')) return TRuleRead::Broken;
  const auto offset = in.Number(UINT32_MAX - 1);
  if (!offset || !in.Take('=')) return TRuleRead::Broken;
  const auto lengthBytes = in.Bytes(2);
  if (!lengthBytes) return TRuleRead::Broken;
  const size_t length = size_t(uint8_t((*lengthBytes)[0])) << 8 | uint8_t((*lengthBytes)[1]);
  const auto value = in.Bytes(length);
  if (!value) return TRuleRead::Broken;
  rule.Value = std::string(*value);
  rule.Mask.clear();
  if (in.Take('&')) {
    const auto mask = in.Bytes(length);
    if (!mask) return TRuleRead::Broken;
    rule.Mask = std::string(*mask);
  }
  uint32_t wordSize = 1;
  if (in.Take('~')) {
    const auto size = in.Number(1u << 16);
    if (!size) return TRuleRead::Broken;
    wordSize = *size;
  }
  rule.Range = 1;
  if (in.Take('+')) {
    const auto range = in.Number(UINT32_MAX - 1);
    if (!range) return TRuleRead::Broken;
    rule.Range = *range;
  }
  if (!in.Take('\n')) {
    in.SkipLine();  // an extension this reader does not know
    return TRuleRead::Skipped;
  }
  const bool wordSizeOk = wordSize == 0 || wordSize == 1 || wordSize == 2 || wordSize == 4;
  if (!wordSizeOk || (wordSize > 1 && length % wordSize != 0) || length == 0 ||
      rule.Indent > limits.MaxIndent || *offset > limits.MaxOffset || rule.Range == 0 ||
      rule.Range > limits.MaxRange)
    return TRuleRead::Skipped;
  rule.Offset = *offset;
  SwapWords(rule.Value, wordSize);
  SwapWords(rule.Mask, wordSize);
  return TRuleRead::Rule;
}

bool BytesMatchAt(const TMagicRule& rule, std::string_view data, size_t at) {
  const size_t length = rule.Value.size();
  if (at > data.size() || data.size() - at < length) return false;
  if (rule.Mask.empty()) return data.compare(at, length, rule.Value) == 0;
  for (size_t k = 0; k < length; ++k)
    if ((uint8_t(data[at + k]) & uint8_t(rule.Mask[k])) !=
        (uint8_t(rule.Value[k]) & uint8_t(rule.Mask[k])))
      return false;
  return true;
}

bool RuleBytesMatch(const TMagicRule& rule, std::string_view data) {
  const uint64_t end = uint64_t(rule.Offset) + rule.Range;
  for (uint64_t at = rule.Offset; at < end; ++at) {
    if (at + rule.Value.size() > data.size()) return false;
    if (BytesMatchAt(rule, data, size_t(at))) return true;
  }
  return false;
}

// Whether rule i matches with (when it has any) one of the rules under it.
// Recursion goes one indent deeper each step, so no deeper than MaxIndent.
bool RuleTreeMatches(const std::vector<TMagicRule>& rules, size_t i, std::string_view data) {
  if (!RuleBytesMatch(rules[i], data)) return false;
  const int indent = rules[i].Indent;
  bool hasChildren = false;
  for (size_t j = i + 1; j < rules.size() && rules[j].Indent > indent; ++j) {
    if (rules[j].Indent != indent + 1) continue;
    hasChildren = true;
    if (RuleTreeMatches(rules, j, data)) return true;
  }
  return !hasChildren;
}

bool SectionMatches(const TMagicSection& section, std::string_view data) {
  for (size_t i = 0; i < section.Rules.size(); ++i)
    if (section.Rules[i].Indent == 0 && RuleTreeMatches(section.Rules, i, data)) return true;
  return false;
}

size_t RuleExtent(const TMagicRule& rule) {
  return size_t(uint64_t(rule.Offset) + rule.Range - 1 + rule.Value.size());
}

}  // namespace

TMimeMagic TMimeMagic::Parse(std::string_view file, const TMagicLimits& limits) {
  TMimeMagic magic;
  file = file.substr(0, limits.MaxBytes);
  if (file.substr(0, kHeader.size()) != kHeader) return magic;
  TByteCursor in(file.substr(kHeader.size()));
  while (!in.AtEnd() && magic.sections_.size() < limits.MaxSections) {
    std::optional<TMagicSection> section = ReadSectionHeader(in);
    if (!section) break;
    bool broken = false;
    while (!in.AtEnd() && in.Peek() != '[') {
      TMagicRule rule;
      const TRuleRead read = ReadRule(in, limits, rule);
      if (read == TRuleRead::Broken) {
        broken = true;
        break;
      }
      if (read == TRuleRead::Rule && section->Rules.size() < limits.MaxRulesPerSection)
        section->Rules.push_back(std::move(rule));
    }
    // A section cut off by a broken rule is incomplete: it could match
    // more than it should, so it is left out.
    if (broken) break;
    for (const TMagicRule& rule : section->Rules) magic.extent_ = std::max(magic.extent_, RuleExtent(rule));
    if (!section->Rules.empty()) magic.sections_.push_back(std::move(*section));
  }
  magic.Sort();
  return magic;
}

void TMimeMagic::Merge(TMimeMagic other) {
  for (TMagicSection& section : other.sections_) sections_.push_back(std::move(section));
  extent_ = std::max(extent_, other.extent_);
  Sort();
}

void TMimeMagic::Sort() {
  std::stable_sort(sections_.begin(), sections_.end(),
                   [](const TMagicSection& a, const TMagicSection& b) { return a.Priority > b.Priority; });
}

std::optional<TMimeMagic::TMatch> TMimeMagic::Match(std::string_view data) const {
  for (const TMagicSection& section : sections_)
    if (SectionMatches(section, data)) return TMatch{section.Type, section.Priority};
  return std::nullopt;
}

std::vector<TMimeMagic::TMatch> TMimeMagic::MatchAll(std::string_view data) const {
  std::vector<TMatch> matches;
  for (const TMagicSection& section : sections_)
    if (SectionMatches(section, data)) matches.push_back({section.Type, section.Priority});
  return matches;
}

}  // namespace qz
