// The line-list reader and the two splitters on arbitrary file bytes. The first byte chooses the
// size of the pieces the reader converts and cuts, so that short inputs cross piece boundaries.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/command_store.h"
#include "tests/support/cp1251_codec.h"
#include "fuzz/fuzz_check.h"
#include "toolkit/errors.h"
#include "toolkit/line_list.h"

namespace kv {
namespace {

// A file system holding one file, so that readLineList itself is run.
class OneFile : public FileSystem {
 public:
  explicit OneFile(std::string_view bytes) : bytes_(bytes) {}
  bool fileExists(const std::string&) override { return true; }
  bool directoryExists(const std::string&) override { return true; }
  bool createDirectories(const std::string&) override { return true; }
  std::string readFile(const std::string&, size_t) override { return std::string(bytes_); }
  std::optional<std::string> readFileForUpdate(const std::string&, size_t) override {
    return std::string(bytes_);
  }
  void writeNewFile(const std::string&, std::string_view, const std::string&) override {}
  void replaceFile(const std::string&, const std::string&) override {}
  bool removeFile(const std::string&) override { return true; }

 private:
  std::string_view bytes_;
};

void CheckSplitters(const std::string& line) {
  const size_t bars = static_cast<size_t>(std::count(line.begin(), line.end(), '|'));
  const CommandEntry entry = SplitEntryLine(line, kEntrySeparator);
  for (const std::string* field :
       {&entry.name, &entry.path, &entry.parameters, &entry.workingFolder}) {
    FUZZ_CHECK(field->find('|') == std::string::npos);
  }
  FUZZ_CHECK(entry.name.size() + entry.path.size() + entry.parameters.size() +
                 entry.workingFolder.size() + bars ==
             line.size());
  // A line as the editor writes it comes back whole; fewer separators leave fields empty.
  if (bars == 3)
    FUZZ_CHECK(ComposeEntryLine(entry) == line);
  if (bars < 3)
    FUZZ_CHECK(entry.workingFolder.empty());
  if (bars == 0)
    FUZZ_CHECK(entry.name == line && entry.path.empty());

  for (const char separator : {kEntrySeparator, ' '}) {
    const SplitText split = SplitOnce(line, separator);
    const size_t first = line.find(separator);
    if (first == std::string::npos) {
      FUZZ_CHECK(split.head == line && split.tail.empty());
    } else {
      FUZZ_CHECK(split.head.find(separator) == std::string::npos);
      FUZZ_CHECK(split.head + separator + split.tail == line);
    }
  }
}

}  // namespace
}  // namespace kv

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace kv;
  if (size == 0)
    return 0;
  const size_t pieceSize = 1 + data[0] % 64;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const Cp1251Codec codec;

  // Line by line, in pieces or whole, into a list that held other entries or into an empty
  // one: the same lines.
  std::vector<std::string> lines = {"stale", std::string(40, 'x')};
  detail::parseAnsiLineList(bytes, codec, pieceSize, lines);
  const std::vector<std::string> whole = parseLineList(codec.toUtf8(bytes));
  FUZZ_CHECK(lines == whole);
  const PiecewiseCp1251 piecewise;
  std::vector<std::string> pieces(data[0] % 5, "old");
  detail::parseAnsiLineList(bytes, piecewise, pieceSize, pieces);
  FUZZ_CHECK(pieces == whole);
  OneFile file(bytes);
  FUZZ_CHECK(readLineList(file, codec, "command.cms") == whole);
  for (const std::string& line : lines)
    FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);

  // Written and read again, the lines come back unchanged: every Windows-1251 byte has its own
  // character.
  const std::string written = detail::formatAnsiLineList(codec, lines, pieceSize);
  FUZZ_CHECK(written == codec.fromUtf8(formatLineList(lines)));
  FUZZ_CHECK(detail::formatAnsiLineList(piecewise, lines, pieceSize) == written);
  std::vector<std::string> again;
  detail::parseAnsiLineList(written, codec, pieceSize, again);
  FUZZ_CHECK(again == lines);

  for (const std::string& line : lines)
    CheckSplitters(line);

  // Matching a typed text against the store: a prefix of one of the lines, chosen by the input.
  std::string typed;
  if (!lines.empty()) {
    const std::string& line = lines[data[0] % lines.size()];
    typed = line.substr(0, (data[0] / 7) % (line.size() + 2));
  }
  const std::vector<size_t> matches = MatchingUserCommands(lines, typed);
  std::vector<size_t> expected;
  for (size_t i = 0; !typed.empty() && i < lines.size(); ++i) {
    if (lines[i].compare(0, typed.size(), typed) == 0)
      expected.push_back(i);
  }
  FUZZ_CHECK(matches == expected);
  return 0;
}
