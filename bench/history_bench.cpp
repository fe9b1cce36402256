// AddToHistory on growing histories, each beside writing the same file with raw write() and
// rename(): the list work and the conversion must stay linear, like the file itself.
#include <benchmark/benchmark.h>

#include "app/history.h"
#include "tests/support/cp1251_codec.h"
#include "bench/bench_support.h"
#include "tests/support/posix_file_system.h"
#include "toolkit/line_list.h"

namespace kv::bench {
namespace {

constexpr size_t kSizes[] = {10000, 100000, 1000000};

std::string SizeName(size_t size) {
  return size >= 1000000 ? std::to_string(size / 1000000) + "M" : std::to_string(size / 1000) + "k";
}

// Runs a command that already sits in the middle of the history: it moves to the top, so the
// list keeps its length from one iteration to the next.
void AddExisting(benchmark::State& state, size_t size) {
  test::PosixFileSystem fs;
  const Cp1251Codec codec;
  const std::string path = BenchFile("add_" + SizeName(size) + ".cmh");
  HistoryList entries = SampleHistory(size);
  for (auto _ : state)
    AddToHistory(fs, codec, path, entries, entries[size / 2]);
  if (entries.size() != size)
    state.SkipWithError("the history changed its length");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

void WriteRaw(benchmark::State& state, size_t size) {
  const std::string bytes = Cp1251Codec().fromUtf8(formatLineList(SampleHistory(size)));
  const std::string path = BenchFile("raw_" + SizeName(size) + ".cmh");
  for (auto _ : state)
    RawWriteAndRename(path, bytes);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

const bool registered = [] {
  Growth growth{"AddToHistory", {}, {}, {}};
  for (size_t size : kSizes) {
    const std::string prefix = "add_" + SizeName(size);
    benchmark::RegisterBenchmark((prefix + "/write_raw").c_str(), [size](benchmark::State& s) {
      WriteRaw(s, size);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((prefix + "/AddToHistory").c_str(), [size](benchmark::State& s) {
      AddExisting(s, size);
    })->Unit(benchmark::kMillisecond);
    AddComparison({prefix + "/AddToHistory", prefix + "/write_raw"});
    growth.names.push_back(prefix + "/AddToHistory");
    growth.baselines.push_back(prefix + "/write_raw");
    growth.items.push_back(static_cast<double>(size));
  }
  AddGrowth(growth);
  return true;
}();

}  // namespace
}  // namespace kv::bench
