// Ratios between benchmarks of one run: the console output as usual, plus
// the CPU time per iteration of each benchmark (CPU time, not wall time: the
// ratios stay meaningful on a busy machine), and a line per ratio with its goal.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace qz {

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration && r.iterations > 0)
        times[r.benchmark_name()] = r.GetAdjustedCPUTime();
  }
  std::map<std::string, double> times;
};

inline void PrintRatio(const TRatioReporter& rep, const char* what, const std::string& ours,
                       const std::string& reference, double goal) {
  const auto a = rep.times.find(ours), b = rep.times.find(reference);
  if (a == rep.times.end() || b == rep.times.end()) return;
  const double ratio = a->second / b->second;
  std::printf("%-40s %6.3f  (goal <= %.2f: %s)\n", what, ratio, goal, ratio <= goal ? "met" : "MISSED");
}

}  // namespace qz
