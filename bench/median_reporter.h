// Console output as usual, plus the median of every counter of every
// benchmark over its repetitions, so a summary can set figures of one run
// side by side.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace yz::bench {

class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;

  // Median of `counter` ("bytes_per_second", "real_time" in the benchmark's
  // time unit, or a counter the benchmark set) over the repetitions of the
  // benchmark named `name` (function name and arguments, e.g. "parse/search").
  std::optional<double> Median(const std::string& name, const std::string& counter) const;
  // True when some benchmark ended with an error.
  bool Failed() const { return failed_; }

 private:
  bool failed_ = false;
  std::map<std::string, std::map<std::string, std::vector<double>>> values_;
};

// Runs the benchmarks selected on the command line with a MedianReporter.
// Returns false when the command line was not understood or a benchmark
// ended with an error.
bool RunBenchmarks(int argc, char** argv, MedianReporter& reporter);

}  // namespace yz::bench
