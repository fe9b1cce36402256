#include "bench/bench_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "tests/support/posix_file_system.h"

namespace kv::bench {
namespace {

// splitmix64: fixed output for a fixed seed on every platform, unlike the standard
// distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
  template <size_t N>
  const char* Pick(const char* const (&words)[N]) {
    return words[Below(N)];
  }

 private:
  std::uint64_t state_;
};

constexpr const char* kMonths[] = {"январь", "февраль", "март", "апрель", "май", "июнь"};
constexpr const char* kPrograms[] = {"notepad", "mspaint", "wordpad", "winword", "excel"};
constexpr const char* kSyllables[] = {"ka", "ro", "mi", "ve",  "to",  "lu",  "sa",
                                      "ne", "di", "po", "gra", "sto", "bel", "kin"};

std::string Number(size_t n) {
  return std::to_string(n);
}

std::string HistoryEntry(size_t n, Random& random) {
  switch (random.Below(6)) {
    case 0:
      return std::string(random.Pick(kPrograms)) + "|C:\\Temp\\log" + Number(n) + ".txt";
    case 1:
      return "C:\\Users\\ivan\\Документы\\Отчёт за " + std::string(random.Pick(kMonths)) + " " +
             Number(n) + ".docx";
    case 2:
      return "https://example.org/wiki/page" + Number(n);
    case 3:
      return "ping 10." + Number(random.Below(256)) + "." + Number(random.Below(256)) + "." +
             Number(n % 256);
    case 4:
      return "\\\\server\\Общая папка\\Проект " + Number(n);
    default:
      return "C:\\Program Files\\Tool " + Number(n) + "\\tool.exe|/quiet /log:C:\\Temp\\t" +
             Number(n) + ".log";
  }
}

std::string LowerAscii(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Filled by the benchmark files' static registrations, so held in functions to be ready first.
std::vector<Comparison>& ComparisonList() {
  static std::vector<Comparison> comparisons;
  return comparisons;
}

std::vector<Growth>& GrowthList() {
  static std::vector<Growth> growths;
  return growths;
}

}  // namespace

bool AddComparison(Comparison comparison) {
  ComparisonList().push_back(std::move(comparison));
  return true;
}

bool AddGrowth(Growth growth) {
  GrowthList().push_back(std::move(growth));
  return true;
}

const std::vector<Comparison>& Comparisons() {
  return ComparisonList();
}

const std::vector<Growth>& Growths() {
  return GrowthList();
}

std::vector<std::string> SampleHistory(size_t count, unsigned seed) {
  Random random(seed);
  std::vector<std::string> entries;
  entries.reserve(count);
  for (size_t n = 0; n < count; ++n)
    entries.push_back(HistoryEntry(n, random));
  return entries;
}

std::vector<std::string> SampleCommandStore(size_t count, unsigned seed) {
  Random random(seed);
  std::vector<std::string> lines;
  lines.reserve(count);
  for (size_t n = 0; n < count; ++n) {
    std::string name = n % 1000 == 0 ? "far" : "";
    for (size_t s = 1 + random.Below(3); s > 0; --s)
      name += random.Pick(kSyllables);
    if (random.Below(4) == 0 && n % 1000 != 0)
      name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    name += Number(n);
    if (n % 3 == 0) {
      lines.push_back(name + "|C:\\Users\\ivan\\Документы\\" + name +
                      ".doc||C:\\Users\\ivan\\Документы");
    } else if (n % 3 == 1) {
      lines.push_back(name + "|C:\\Program Files\\" + name + "\\" + name +
                      ".exe|/n /x:" + Number(random.Below(100)) + "|C:\\Program Files\\" + name);
    } else {
      lines.push_back(name + "|https://example.org/" + name + "||");
    }
  }
  // The command editor keeps its lines sorted without regard to case. Copied in order, so the
  // texts lie in memory in list order, as they do after a load from the file.
  std::vector<std::pair<std::string, size_t>> keys;
  keys.reserve(count);
  for (size_t i = 0; i < count; ++i)
    keys.emplace_back(LowerAscii(lines[i]), i);
  std::sort(keys.begin(), keys.end());
  std::vector<std::string> sorted;
  sorted.reserve(count);
  for (const auto& key : keys)
    sorted.push_back(lines[key.second]);
  return sorted;
}

const std::string& BenchFolder() {
  static test::TemporaryFolder folder;
  return folder.Path();
}

std::string BenchFile(const std::string& name) {
  return BenchFolder() + "/" + name;
}

size_t RawRead(const std::string& path, char* buffer, size_t capacity) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0)
    throw std::runtime_error("cannot open " + path);
  size_t total = 0;
  for (;;) {
    const ssize_t n = ::read(fd, buffer + total, capacity - total);
    if (n <= 0)
      break;
    total += static_cast<size_t>(n);
  }
  ::close(fd);
  return total;
}

void RawWriteAndRename(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".raw";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0)
    throw std::runtime_error("cannot create " + temporary);
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n <= 0)
      throw std::runtime_error("cannot write " + temporary);
    written += static_cast<size_t>(n);
  }
  ::close(fd);
  if (::rename(temporary.c_str(), path.c_str()) != 0)
    throw std::runtime_error("cannot rename " + temporary);
}

size_t FileSize(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    throw std::runtime_error("cannot stat " + path);
  return static_cast<size_t>(info.st_size);
}

}  // namespace kv::bench
