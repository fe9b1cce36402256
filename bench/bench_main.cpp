// karvoss_bench: Google Benchmark's usual console output, then the table of every figure beside
// its physical baseline from the same run, and the per-item cost of the growing inputs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_support.h"

namespace kv::bench {
namespace {

double Nanoseconds(double value, benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kSecond:
      return value * 1e9;
    case benchmark::kMillisecond:
      return value * 1e6;
    case benchmark::kMicrosecond:
      return value * 1e3;
    default:
      return value;
  }
}

std::string FormatTime(double ns) {
  char text[32];
  if (ns >= 1e6)
    std::snprintf(text, sizeof text, "%.2f ms", ns / 1e6);
  else if (ns >= 1e3)
    std::snprintf(text, sizeof text, "%.2f us", ns / 1e3);
  else
    std::snprintf(text, sizeof text, "%.1f ns", ns);
  return text;
}

std::string CpuModel() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      const size_t colon = line.find(':');
      if (colon != std::string::npos)
        return line.substr(line.find_first_not_of(' ', colon + 1));
    }
  }
  return "unknown CPU";
}

// Keeps the CPU time of every benchmark by its registered name while the console reporter prints
// as usual. The process's CPU time, page faults and system calls included, is what the program
// costs; the wall clock also counts the time other processes held the processor. With
// repetitions the median counts; otherwise the fastest run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred)
        continue;
      const std::string& name = run.run_name.function_name;
      const double ns = Nanoseconds(run.GetAdjustedCPUTime(), run.time_unit);
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") {
          times_[name] = ns;
          medians_[name] = true;
        }
      } else if (!medians_[name] && (!times_.count(name) || ns < times_[name])) {
        times_[name] = ns;
      }
    }
  }

  void PrintTables() const {
    std::printf("\nMachine: %u hardware threads, %s\n", std::thread::hardware_concurrency(),
                CpuModel().c_str());
    std::printf("\nFigure beside its physical baseline (CPU time per operation)\n");
    std::printf("%-34s %11s  %-26s %11s %8s  %s\n", "figure", "time", "baseline", "time", "ratio",
                "goal");
    for (const Comparison& c : Comparisons()) {
      const auto figure = times_.find(c.figure);
      const auto baseline = times_.find(c.baseline);
      if (figure == times_.end() || baseline == times_.end())
        continue;
      const double ratio = figure->second / baseline->second;
      std::string goal;
      if (c.goal > 0) {
        char text[32];
        std::snprintf(text, sizeof text, "<= %.0fx %s", c.goal, ratio <= c.goal ? "met" : "MISSED");
        goal = text;
      }
      std::printf("%-34s %11s  %-26s %11s %7.2fx  %s\n", c.figure.c_str(),
                  FormatTime(figure->second).c_str(), c.baseline.c_str(),
                  FormatTime(baseline->second).c_str(), ratio, goal.c_str());
    }
    for (const Growth& g : Growths()) {
      if (!times_.count(g.names.front()))
        continue;  // filtered out of this run
      std::printf("\n%s: time per item; linear growth keeps the per-item columns flat\n",
                  g.title.c_str());
      std::printf("  %-32s %11s %11s %8s %18s\n", "input", "time", "per item", "growth",
                  "baseline per item");
      double first = 0;
      for (size_t i = 0; i < g.names.size(); ++i) {
        const auto found = times_.find(g.names[i]);
        const auto baseline = times_.find(g.baselines[i]);
        if (found == times_.end() || baseline == times_.end())
          continue;
        const double perItem = found->second / g.items[i];
        if (first == 0)
          first = perItem;
        std::printf("  %-32s %11s %11s %7.2fx %18s\n", g.names[i].c_str(),
                    FormatTime(found->second).c_str(), FormatTime(perItem).c_str(), perItem / first,
                    FormatTime(baseline->second / g.items[i]).c_str());
      }
    }
  }

 private:
  std::map<std::string, double> times_;
  std::map<std::string, bool> medians_;
};

}  // namespace
}  // namespace kv::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  kv::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintTables();
  benchmark::Shutdown();
  return 0;
}
