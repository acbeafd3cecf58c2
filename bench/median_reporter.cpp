#include "median_reporter.h"

#include <algorithm>

namespace yz::bench {

void MedianReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.error_occurred) failed_ = true;
    if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
    std::string name = run.run_name.function_name;
    if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
    auto& counters = values_[name];
    counters["real_time"].push_back(run.GetAdjustedRealTime());
    for (const auto& [key, counter] : run.counters) counters[key].push_back(counter.value);
  }
}

std::optional<double> MedianReporter::Median(const std::string& name,
                                             const std::string& counter) const {
  auto byName = values_.find(name);
  if (byName == values_.end()) return std::nullopt;
  auto byCounter = byName->second.find(counter);
  if (byCounter == byName->second.end() || byCounter->second.empty()) return std::nullopt;
  std::vector<double> v = byCounter->second;
  std::sort(v.begin(), v.end());
  std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool RunBenchmarks(int argc, char** argv, MedianReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return !reporter.Failed();
}

}  // namespace yz::bench
