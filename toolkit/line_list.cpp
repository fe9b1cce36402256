#include "toolkit/line_list.h"

#include <cstdint>
#include <cstring>

namespace kv {
namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7Full;

std::string_view untilFirstNul(std::string_view bytes) {
  const void* nul = std::memchr(bytes.data(), '\0', bytes.size());
  if (nul == nullptr)
    return bytes;
  return bytes.substr(0, static_cast<const char*>(nul) - bytes.data());
}

std::uint64_t load8(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}

bool isAscii(std::string_view bytes) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  std::uint64_t high = 0;
  for (; end - p >= 8; p += 8)
    high |= load8(p);
  for (; p != end; ++p)
    high |= static_cast<unsigned char>(*p);
  return (high & 0x8080808080808080ull) == 0;
}

// The high bit set in exactly those bytes of `word` that are zero.
std::uint64_t zeroBytes(std::uint64_t word) {
  return ~(((word & kLows) + kLows) | word | kLows);
}

// How many lines [p, end) holds at least: the larger of its LF and CR counts.
size_t countLineEnds(const char* p, const char* end) {
  const std::uint64_t lineFeeds = kOnes * '\n';
  const std::uint64_t carriageReturns = kOnes * '\r';
  size_t lf = 0;
  size_t cr = 0;
  for (; end - p >= 8; p += 8) {
    // One bit per matching byte, summed across the word by the multiplication.
    const std::uint64_t word = load8(p);
    lf += static_cast<size_t>(((zeroBytes(word ^ lineFeeds) >> 7) * kOnes) >> 56);
    cr += static_cast<size_t>(((zeroBytes(word ^ carriageReturns) >> 7) * kOnes) >> 56);
  }
  for (; p != end; ++p) {
    lf += *p == '\n';
    cr += *p == '\r';
  }
  return lf > cr ? lf : cr;
}

// The next `c` at or after `from`, or `end`.
const char* findNext(const char* from, const char* end, char c) {
  const void* found = std::memchr(from, c, static_cast<size_t>(end - from));
  return found == nullptr ? end : static_cast<const char*>(found);
}

// The first CR in [p, limit), or `limit`. Eight bytes at a time: most lines are short, and
// memchr's setup would cost more than the search.
const char* findCarriageReturn(const char* p, const char* limit) {
  const std::uint64_t carriageReturns = kOnes * '\r';
  for (; limit - p >= 8; p += 8) {
    if (zeroBytes(load8(p) ^ carriageReturns) != 0)
      break;
  }
  while (p != limit && *p != '\r')
    ++p;
  return p;
}

}  // namespace

std::vector<std::string> parseLineList(std::string_view bytes) {
  bytes = untilFirstNul(bytes);
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  std::vector<std::string> lines;
  // One reservation spares the vector's regrowth on lists of a million entries.
  lines.reserve(countLineEnds(p, end) + 1);
  // The next LF is searched once and kept until passed, so a file with CR line ends alone is
  // still scanned in one pass.
  const char* nextLf = findNext(p, end, '\n');
  while (p != end) {
    if (nextLf < p)
      nextLf = findNext(p, end, '\n');
    const char* const lineEnd = findCarriageReturn(p, nextLf);
    lines.emplace_back(p, lineEnd);
    if (lineEnd == end)
      break;
    p = lineEnd + 1;
    if (*lineEnd == '\r' && p != end && *p == '\n')
      ++p;
  }
  return lines;
}

std::string formatLineList(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const std::string& line : lines)
    size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

std::vector<std::string> readLineList(FileSystem& fs, const AnsiCodec& codec,
                                      const std::string& path) {
  const std::string ansi = fs.readFile(path);
  const std::string_view text = untilFirstNul(ansi);
  // Every ANSI code page keeps ASCII as it is, so an ASCII file needs no conversion. Otherwise
  // the whole text is converted at once: CR and LF are the same bytes in both encodings and
  // never occur inside a multi-byte UTF-8 character, so the lines are cut the same way.
  if (isAscii(text))
    return parseLineList(text);
  return parseLineList(codec.toUtf8(text));
}

void writeLineList(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                   const std::vector<std::string>& lines) {
  writeFileAtomically(fs, path, codec.fromUtf8(formatLineList(lines)));
}

}  // namespace kv
