#include "toolkit/line_list.h"

#include <cstdint>
#include <cstring>

#include "toolkit/byte_scan.h"

namespace kv {
namespace {

using scan::kBlock;

// Stops at the first byte of 0x80 or above: most pieces of a file with any Cyrillic have one
// early.
bool IsAscii(std::string_view bytes) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  for (; static_cast<size_t>(end - p) >= kBlock; p += kBlock) {
    if (!scan::BlockIsAscii(p))
      return false;
  }
  for (; p != end; ++p) {
    if (static_cast<unsigned char>(*p) >= 0x80)
      return false;
  }
  return true;
}

// How many lines [p, end) holds at least: the larger of its LF and CR counts.
size_t CountLineEnds(const char* p, const char* end) {
  using scan::word::kOnes;
  using scan::word::ZeroBytes;
  size_t lf = 0;
  size_t cr = 0;
  for (; end - p >= 8; p += 8) {
    // One bit per matching byte, summed across the word by the multiplication.
    const std::uint64_t word = scan::word::Load8(p);
    lf += static_cast<size_t>(((ZeroBytes(word ^ (kOnes * '\n')) >> 7) * kOnes) >> 56);
    cr += static_cast<size_t>(((ZeroBytes(word ^ (kOnes * '\r')) >> 7) * kOnes) >> 56);
  }
  for (; p != end; ++p) {
    lf += *p == '\n';
    cr += *p == '\r';
  }
  return lf > cr ? lf : cr;
}

// The first CR, LF or NUL in [p, end), or `end`. A block at a time: most lines are short, and a
// library search's setup would cost more than the search. `ascii` is cleared when a byte of 0x80
// or above is seen on the way; the block that holds the line end counts whole, so the flag may
// be cleared for a line of ASCII, never left set for one that is not.
inline const char* FindLineEnd(const char* p, const char* end, bool& ascii) {
  scan::Mask high = 0;
  for (; static_cast<size_t>(end - p) >= kBlock; p += kBlock) {
    high |= scan::HighMask(p);
    if (const scan::Mask found = scan::LineEndMask(p)) {
      ascii = high == 0;
      return p + scan::FirstIndex(found);
    }
  }
  bool highByte = high != 0;
  for (; p != end && *p != '\n' && *p != '\r' && *p != '\0'; ++p)
    highByte |= static_cast<unsigned char>(*p) >= 0x80;
  ascii = !highByte;
  return p;
}

const char* FindLineEnd(const char* p, const char* end) {
  bool ascii = true;
  return FindLineEnd(p, end, ascii);
}

// Where the piece that starts at `p` ends: just after the first line end at or after
// p + pieceSize (a CR LF pair is never split), or at `end`. Pieces so hold whole lines only.
const char* PieceEnd(const char* p, const char* end, size_t pieceSize) {
  if (static_cast<size_t>(end - p) <= pieceSize)
    return end;
  const char* const lineEnd = FindLineEnd(p + pieceSize, end);
  if (lineEnd == end)
    return end;
  if (*lineEnd == '\r' && lineEnd + 1 != end && lineEnd[1] == '\n')
    return lineEnd + 2;
  return lineEnd + 1;
}

// Fills a list from its first entry on, reusing the strings it already holds: reloading an
// unchanged list then allocates nothing.
class LineSink {
 public:
  explicit LineSink(std::vector<std::string>& lines) : lines_(lines) {}
  // The next entry to fill.
  std::string& Next() {
    if (used_ == lines_.size())
      lines_.emplace_back();
    return lines_[used_++];
  }
  void Add(const char* begin, const char* end) { Next().assign(begin, end); }
  // Converts a line of a one-byte code page straight into its entry; an ASCII line is copied.
  void AddConverted(const SingleByteTable& table, const char* begin, const char* end, bool ascii) {
    std::string& line = Next();
    const std::string_view ansi(begin, static_cast<size_t>(end - begin));
    if (ascii) {
      // Cheaper than assign, which must allow for the source overlapping the string.
      line.resize(ansi.size());
      std::memcpy(line.data(), ansi.data(), ansi.size());
      return;
    }
    // An entry of the same length, as on every reload of an unchanged file, is simply
    // overwritten.
    line.resize(utf8Size(table, ansi));
    writeUtf8(table, ansi, line.data());
  }
  // Drops the entries that the new text did not reach.
  void Finish() { lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(used_), lines_.end()); }

 private:
  std::vector<std::string>& lines_;
  size_t used_ = 0;
};

// Cuts a text into lines up to its first NUL byte, handing each to `add` with a flag that is set
// only if the line is ASCII; false when it found a NUL, so that nothing after it is read.
template <typename Add>
bool CutLines(std::string_view text, Add add) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p != end) {
    bool ascii = true;
    const char* const lineEnd = FindLineEnd(p, end, ascii);
    if (lineEnd == end) {
      add(p, lineEnd, ascii);
      break;
    }
    if (*lineEnd == '\0') {
      if (lineEnd != p)
        add(p, lineEnd, ascii);
      return false;
    }
    add(p, lineEnd, ascii);
    p = lineEnd + 1;
    if (*lineEnd == '\r' && p != end && *p == '\n')
      ++p;
  }
  return true;
}

bool CutLines(std::string_view text, LineSink& sink) {
  return CutLines(text,
                  [&sink](const char* begin, const char* end, bool) { sink.Add(begin, end); });
}

// One reservation spares an empty list the regrowth on a million entries. A list that is being
// reloaded keeps the room of its last load, which the count would only confirm.
void ReserveLines(std::string_view text, std::vector<std::string>& lines) {
  if (lines.empty())
    lines.reserve(CountLineEnds(text.data(), text.data() + text.size()) + 1);
}

// Converts the text appended to `out` since `from` into the code page, in place.
void ConvertTail(const AnsiCodec& codec, std::string& out, size_t from) {
  const std::string_view tail = std::string_view(out).substr(from);
  if (IsAscii(tail))
    return;
  const std::string ansi = codec.fromUtf8(tail);
  out.resize(from);
  out += ansi;
}

}  // namespace

std::vector<std::string> parseLineList(std::string_view bytes) {
  std::vector<std::string> lines;
  ReserveLines(bytes, lines);
  LineSink sink(lines);
  CutLines(bytes, sink);
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

namespace detail {

void parseAnsiLineList(std::string_view ansi, const AnsiCodec& codec, size_t pieceSize,
                       std::vector<std::string>& lines) {
  ReserveLines(ansi, lines);
  LineSink sink(lines);
  // CR, LF and NUL are the same bytes in every ANSI code page and in UTF-8, and never occur
  // inside a multi-byte UTF-8 character, so the text is cut the same way before or after its
  // conversion. A one-byte code page converts line by line straight into the entries.
  if (const SingleByteTable* table = codec.singleByteTable()) {
    CutLines(ansi, [&](const char* begin, const char* end, bool ascii) {
      sink.AddConverted(*table, begin, end, ascii);
    });
    sink.Finish();
    return;
  }
  // Otherwise the text goes to the codec in pieces; an ASCII piece needs no conversion.
  for (const char *p = ansi.data(), *const end = p + ansi.size(); p != end;) {
    const char* const cut = PieceEnd(p, end, pieceSize);
    const std::string_view piece(p, static_cast<size_t>(cut - p));
    if (!(IsAscii(piece) ? CutLines(piece, sink) : CutLines(codec.toUtf8(piece), sink)))
      break;
    p = cut;
  }
  sink.Finish();
}

std::string formatAnsiLineList(const AnsiCodec& codec, const std::vector<std::string>& lines,
                               size_t pieceSize) {
  size_t size = 0;
  for (const std::string& line : lines)
    size += line.size() + 2;
  // The code page never needs more bytes than UTF-8 for the same text.
  std::string bytes;
  bytes.reserve(size);
  size_t converted = 0;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
    if (bytes.size() - converted >= pieceSize) {
      ConvertTail(codec, bytes, converted);
      converted = bytes.size();
    }
  }
  ConvertTail(codec, bytes, converted);
  return bytes;
}

}  // namespace detail

void readLineList(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                  std::vector<std::string>& lines) {
  detail::parseAnsiLineList(fs.readFile(path, kMaxLineListBytes), codec, detail::kPieceSize, lines);
}

std::vector<std::string> readLineList(FileSystem& fs, const AnsiCodec& codec,
                                      const std::string& path) {
  std::vector<std::string> lines;
  readLineList(fs, codec, path, lines);
  return lines;
}

std::string formatAnsiLineList(const AnsiCodec& codec, const std::vector<std::string>& lines) {
  return detail::formatAnsiLineList(codec, lines, detail::kPieceSize);
}

void writeLineList(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                   const std::vector<std::string>& lines) {
  writeFileAtomically(fs, path, formatAnsiLineList(codec, lines));
}

}  // namespace kv
