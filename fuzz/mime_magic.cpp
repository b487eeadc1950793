// Fuzz target for the magic file reader: arbitrary bytes must give sections
// within the reader's limits, and matching data (the input itself and a
// short made-up file) against them must not crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/shell/MimeMagic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The header is given, so that the fuzzer spends its time on sections.
  const std::string file = std::string("MIME-Magic\0\n", 12) + std::string(reinterpret_cast<const char*>(data), size);
  const qz::TMagicLimits limits;
  const qz::TMimeMagic magic = qz::TMimeMagic::Parse(file, limits);
  int previous = 101;
  for (const qz::TMagicSection& section : magic.Sections()) {
    if (section.Priority < 0 || section.Priority > 100 || section.Priority > previous) std::abort();
    previous = section.Priority;
    if (section.Rules.empty() || section.Rules.size() > limits.MaxRulesPerSection) std::abort();
    for (const qz::TMagicRule& rule : section.Rules) {
      if (rule.Value.empty() || (!rule.Mask.empty() && rule.Mask.size() != rule.Value.size())) std::abort();
      if (rule.Indent > limits.MaxIndent || rule.Range == 0 || rule.Range > limits.MaxRange) std::abort();
    }
  }
  // Matching cost stays bounded by the data's size, whatever the ranges.
  const std::string_view input(reinterpret_cast<const char*>(data), size < 4096 ? size : 4096);
  magic.Match(input);
  magic.MatchAll("\x89PNG\r\n\x1a\n....");
  return 0;
}
