// ExecuteCommand of a typed name against growing command stores, beside the least a lookup can
// do: one memcmp of the typed text against the start of every stored line.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/bench_support.h"
#include "interpreter/dispatch.h"

namespace kv::bench {
namespace {

constexpr size_t kSizes[] = {10000, 100000, 1000000};
constexpr char kTyped[] = "far";  // matches one stored line in a thousand

std::string SizeName(size_t size) {
  return size >= 1000000 ? std::to_string(size / 1000000) + "M" : std::to_string(size / 1000) + "k";
}

// Starts nothing: counts what would be started, the same on every run.
class QuietHost : public DispatchHost {
 public:
  explicit QuietHost(std::vector<std::string> commands) : commands_(std::move(commands)) {}
  size_t launched = 0;

  void ShowHelp() override {}
  void EditSettings() override {}
  void ShowAbout() override {}
  void HidePanel() override {}
  void Terminate() override {}
  int ShowCommandEditor() override { return kModalResultCancel; }
  void ReloadCommands() override {}
  void ClearHistory() override {}
  void SetFieldText(const std::string&, bool) override {}
  void RepaintBar() override {}
  const std::vector<std::string>& Commands() override { return commands_; }
  void RestartWindows(TRestartWindows) override {}
  int ShellOpen(const std::string& file, const std::string& parameters,
                const std::string& directory) override {
    launched += file.size() + parameters.size() + directory.size() > 0;
    return 42;
  }
  void ShowMessage(const std::string&) override {}

 private:
  std::vector<std::string> commands_;
};

void Execute(benchmark::State& state, size_t size) {
  QuietHost host(SampleCommandStore(size));
  CommandState command;
  for (auto _ : state) {
    command.CurrentCommand = kTyped;
    ExecuteCommand(command, host);
  }
  if (host.launched != state.iterations() * (size / 1000))
    state.SkipWithError("the typed name did not start one line in a thousand");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

void PrefixScan(benchmark::State& state, size_t size) {
  const std::vector<std::string> lines = SampleCommandStore(size);
  const size_t length = std::strlen(kTyped);
  for (auto _ : state) {
    size_t matches = 0;
    for (const std::string& line : lines)
      matches += line.size() >= length && std::memcmp(line.data(), kTyped, length) == 0;
    benchmark::DoNotOptimize(matches);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

const bool registered = [] {
  Growth growth{"ExecuteCommand", {}, {}, {}};
  for (size_t size : kSizes) {
    const std::string prefix = "dispatch_" + SizeName(size);
    benchmark::RegisterBenchmark((prefix + "/prefix_scan").c_str(), [size](benchmark::State& s) {
      PrefixScan(s, size);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((prefix + "/ExecuteCommand").c_str(), [size](benchmark::State& s) {
      Execute(s, size);
    })->Unit(benchmark::kMicrosecond);
    AddComparison({prefix + "/ExecuteCommand", prefix + "/prefix_scan"});
    growth.names.push_back(prefix + "/ExecuteCommand");
    growth.baselines.push_back(prefix + "/prefix_scan");
    growth.items.push_back(static_cast<double>(size));
  }
  AddGrowth(growth);
  return true;
}();

}  // namespace
}  // namespace kv::bench
