// Shared pieces of the benchmarks: the comparisons the final table prints, deterministic sample
// lists like the ones users keep, and the files they are written to.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kv::bench {

// One row of the ratio table: a figure of the program beside the physical baseline measured in
// the same run (both are benchmark names as registered). `goal` is the ratio the figure should
// stay within; 0 when it has none.
struct Comparison {
  std::string figure;
  std::string baseline;
  double goal = 0;
};

// A family of one operation on growing inputs; the table prints the time per item of each, so
// linear growth shows as a flat column, and its baseline's, which shows what the memory alone
// costs once the input no longer fits in the caches.
struct Growth {
  std::string title;
  std::vector<std::string> names;      // benchmark names, smallest input first
  std::vector<std::string> baselines;  // the physical baseline of each
  std::vector<double> items;           // input size of each
};

bool AddComparison(Comparison comparison);
bool AddGrowth(Growth growth);
const std::vector<Comparison>& Comparisons();
const std::vector<Growth>& Growths();

// `count` history entries (newest first as the file keeps them): programs, documents with
// parameters, addresses, network commands; about a third hold Cyrillic text. The same seed gives
// the same list on every machine.
std::vector<std::string> SampleHistory(size_t count, unsigned seed = 1);

// `count` stored command lines name|path|parameters|working folder, sorted by name as the
// command editor writes them. Every 1000th name starts with "far", so a typed "far" matches
// count / 1000 lines.
std::vector<std::string> SampleCommandStore(size_t count, unsigned seed = 2);

// A folder for the benchmark files, removed at exit.
const std::string& BenchFolder();
std::string BenchFile(const std::string& name);

// Raw POSIX file access for the baselines: the fewest system calls that move the bytes.
// Reads the whole file into `buffer` of `capacity` bytes (one more than the file) with one
// read(), and the read of 0 bytes that shows the end; returns the size.
size_t RawRead(const std::string& path, char* buffer, size_t capacity);
// Writes the bytes to a temporary file beside `path`, then renames it over `path`.
void RawWriteAndRename(const std::string& path, const std::string& bytes);
size_t FileSize(const std::string& path);

}  // namespace kv::bench
