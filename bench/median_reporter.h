#pragma once
// A console reporter that also keeps the median real and CPU time per iteration of each benchmark,
// so that a run can end with the ratio of the tool's way to a bare loop doing the same exchanges.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace morvek {

class MedianReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0, cpu = 0;
  };
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (!run.error_occurred && run.run_type == Run::RT_Aggregate &&
          run.aggregate_name == "median")
        medians[run.run_name.function_name +
                (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] = {
            run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    ConsoleReporter::ReportRuns(runs);
  }
  // The medians of a benchmark, or nullptr when it did not run or failed.
  const Times* Of(const std::string& name) const {
    const auto found = medians.find(name);
    return found == medians.end() ? nullptr : &found->second;
  }
  std::map<std::string, Times> medians;
};

// The benchmarks of the command line run with a MedianReporter, which report gets at the end.
template <typename Report>
int RunWithMedians(int argc, char** argv, Report report) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  report(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace morvek
