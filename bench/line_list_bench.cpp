// Reading and writing the two line lists, with the Windows-1251 conversion, against moving the
// same bytes with raw read() / write() (plus, for reading, a memchr count of the lines).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "app/history.h"
#include "tests/support/cp1251_codec.h"
#include "bench/bench_support.h"
#include "interpreter/command_store.h"
#include "tests/support/posix_file_system.h"
#include "toolkit/line_list.h"

namespace kv::bench {
namespace {

struct ListFile {
  std::string path;
  std::vector<std::string> lines;  // UTF-8, as the program holds them
  std::string bytes;               // the file's Windows-1251 content
};

ListFile MakeListFile(const std::string& name, std::vector<std::string> lines) {
  test::PosixFileSystem fs;
  ListFile file{BenchFile(name), std::move(lines), {}};
  writeLineList(fs, Cp1251Codec(), file.path, file.lines);
  file.bytes = test::ReadBytes(file.path);
  return file;
}

const ListFile& HistoryFile() {
  static const ListFile file = MakeListFile("history.cmh", SampleHistory(1000000));
  return file;
}

const ListFile& StoreFile() {
  static const ListFile file = MakeListFile("command.cms", SampleCommandStore(100000));
  return file;
}

size_t CountLines(const char* p, size_t size) {
  size_t lines = 0;
  const char* const end = p + size;
  while (const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p))) {
    ++lines;
    p = static_cast<const char*>(lf) + 1;
  }
  return lines;
}

// The bytes land in fresh memory, as a whole-file read into memory needs: the page faults of a
// buffer the size of the file are part of the physical cost.
void ReadRaw(benchmark::State& state, const ListFile& file) {
  const size_t capacity = file.bytes.size() + 1;
  for (auto _ : state) {
    const std::unique_ptr<char[]> buffer(new char[capacity]);
    const size_t size = RawRead(file.path, buffer.get(), capacity);
    benchmark::DoNotOptimize(CountLines(buffer.get(), size));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

// The same into one buffer kept for every read: the least the bytes can cost.
void ReadRawWarm(benchmark::State& state, const ListFile& file) {
  const size_t capacity = file.bytes.size() + 1;
  std::string buffer(capacity, '\0');
  for (auto _ : state) {
    const size_t size = RawRead(file.path, buffer.data(), capacity);
    benchmark::DoNotOptimize(CountLines(buffer.data(), size));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

void WriteRaw(benchmark::State& state, const ListFile& file) {
  const std::string target = file.path + ".written";
  for (auto _ : state)
    RawWriteAndRename(target, file.bytes);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

// The bar's reload on every show: the list already holds the previous load, as it does there.
void LoadHistoryFile(benchmark::State& state) {
  const ListFile& file = HistoryFile();
  test::PosixFileSystem fs;
  const Cp1251Codec codec;
  HistoryList entries;
  LoadHistory(fs, codec, file.path, entries);
  for (auto _ : state) {
    LoadHistory(fs, codec, file.path, entries);
    benchmark::DoNotOptimize(entries.data());
  }
  if (entries != file.lines)
    state.SkipWithError("the history read back differs from the one written");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

void WriteHistoryFile(benchmark::State& state) {
  const ListFile& file = HistoryFile();
  test::PosixFileSystem fs;
  const Cp1251Codec codec;
  const std::string target = file.path + ".written";
  for (auto _ : state)
    writeLineList(fs, codec, target, file.lines);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

void LoadStoreFile(benchmark::State& state) {
  const ListFile& file = StoreFile();
  test::PosixFileSystem fs;
  const Cp1251Codec codec;
  std::vector<std::string> lines;
  LoadCommandStore(fs, codec, file.path, lines);
  for (auto _ : state) {
    LoadCommandStore(fs, codec, file.path, lines);
    benchmark::DoNotOptimize(lines.data());
  }
  if (lines != file.lines)
    state.SkipWithError("the store read back differs from the one written");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

void SaveStoreFile(benchmark::State& state) {
  const ListFile& file = StoreFile();
  test::PosixFileSystem fs;
  const Cp1251Codec codec;
  const std::string target = file.path + ".written";
  for (auto _ : state)
    SaveCommandStore(fs, codec, target, file.lines);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}

const bool registered = [] {
  benchmark::RegisterBenchmark("history_1M/read_raw", [](benchmark::State& s) {
    ReadRaw(s, HistoryFile());
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("history_1M/read_raw_warm", [](benchmark::State& s) {
    ReadRawWarm(s, HistoryFile());
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("history_1M/LoadHistory", LoadHistoryFile)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("history_1M/write_raw", [](benchmark::State& s) {
    WriteRaw(s, HistoryFile());
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("history_1M/writeLineList", WriteHistoryFile)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("store_100k/read_raw", [](benchmark::State& s) {
    ReadRaw(s, StoreFile());
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("store_100k/read_raw_warm", [](benchmark::State& s) {
    ReadRawWarm(s, StoreFile());
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("store_100k/LoadCommandStore", LoadStoreFile)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("store_100k/write_raw", [](benchmark::State& s) {
    WriteRaw(s, StoreFile());
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("store_100k/SaveCommandStore", SaveStoreFile)
      ->Unit(benchmark::kMillisecond);
  AddComparison({"history_1M/LoadHistory", "history_1M/read_raw", 3});
  AddComparison({"history_1M/LoadHistory", "history_1M/read_raw_warm"});
  AddComparison({"history_1M/writeLineList", "history_1M/write_raw"});
  AddComparison({"store_100k/LoadCommandStore", "store_100k/read_raw", 3});
  AddComparison({"store_100k/LoadCommandStore", "store_100k/read_raw_warm"});
  AddComparison({"store_100k/SaveCommandStore", "store_100k/write_raw"});
  return true;
}();

}  // namespace
}  // namespace kv::bench
