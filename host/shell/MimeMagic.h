// The "magic" file of the shared-mime-info database: content rules that
// recognise a type by bytes at given offsets.
//
// The file begins "MIME-Magic\0\n"; then sections "[priority:type]\n", each
// followed by rules, one a line:
//   [indent] ">" offset "=" value ["&" mask] ["~" word-size] ["+" range] "\n"
// value is a 2-byte big-endian length and that many bytes; the mask, when
// present, has as many. A rule at indent n + 1 belongs to the rule at
// indent n before it and is tried only when that one matched; a rule
// matches when its bytes match at one of the offsets offset … offset +
// range − 1 and (when it has rules under it) one of those matches. A
// section matches when one of its rules at indent 0 matches.
//
// The file comes from any data folder, so the reader is strict and bounded:
// anything it cannot read ends the file there (the sections read so far
// are kept), an unknown character where a rule's line end is expected
// skips the rest of that line (room for extensions, as the format says),
// and sizes are capped so that no file makes matching slow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

struct TMagicRule {
  int Indent = 0;
  uint32_t Offset = 0;
  uint32_t Range = 1;
  std::string Value;  // in file order, already swapped for word-size on this machine
  std::string Mask;   // empty, or as long as Value
};

struct TMagicSection {
  int Priority = 50;  // 0 … 100
  std::string Type;
  std::vector<TMagicRule> Rules;  // in file order
};

struct TMagicLimits {
  size_t MaxBytes = 16 << 20;
  size_t MaxSections = 1 << 16;
  size_t MaxRulesPerSection = 4096;
  int MaxIndent = 32;
  uint32_t MaxOffset = 1 << 24;
  uint32_t MaxRange = 1 << 20;
};

class TMimeMagic {
 public:
  // Reads one magic file; a file without the header gives no sections.
  static TMimeMagic Parse(std::string_view file, const TMagicLimits& limits = {});

  // Adds the sections of another file (a data folder of higher or lower
  // precedence: matching goes by priority either way).
  void Merge(TMimeMagic other);

  struct TMatch {
    std::string Type;
    int Priority = 0;
  };
  // The matching section of the highest priority (the first in file order
  // among equal ones) for the first bytes of a file, or nothing.
  std::optional<TMatch> Match(std::string_view data) const;
  // Every matching type with its priority, highest priority first.
  std::vector<TMatch> MatchAll(std::string_view data) const;

  // Bytes a rule may look at, at most: how much of a file to read.
  size_t Extent() const { return extent_; }
  const std::vector<TMagicSection>& Sections() const { return sections_; }

 private:
  void Sort();

  std::vector<TMagicSection> sections_;  // highest priority first, stable
  size_t extent_ = 0;
};

}  // namespace qz
