#include "widgets/gradient.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "toolkit/errors.h"

namespace kv {
namespace {

// A signed decimal 32-bit integer: optional sign, at least one digit, nothing else.
std::optional<std::int32_t> ParseInt32(std::string_view word) {
  size_t i = 0;
  bool negative = false;
  if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
    negative = word[i] == '-';
    ++i;
  }
  if (i == word.size())
    return std::nullopt;
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t value = 0;
  for (; i < word.size(); ++i) {
    if (word[i] < '0' || word[i] > '9')
      return std::nullopt;
    value = value * 10 + (word[i] - '0');
    if (value > limit)
      return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = text.find_first_not_of(';', pos);
    if (start == std::string_view::npos)
      break;
    size_t end = text.find(';', start);
    if (end == std::string_view::npos)
      end = text.size();
    words.push_back(text.substr(start, end - start));
    pos = end;
  }
  return words;
}

std::int32_t ConvertWord(std::string_view word) {
  const auto value = ParseInt32(word);
  if (!value)
    throw ConvertError(InvalidIntegerMessage(word));
  return *value;
}

std::uint8_t ToByte(double channel) {
  return static_cast<std::uint8_t>(std::clamp(RoundHalfEven(channel), 0.0, 255.0));
}

// Shades one band: `count` + 1 colours from `from` to `to` in equal double steps, handed to
// `put` one by one.
template <typename Put>
void ShadeBand(const GradientSegment& segment, int count, Put put) {
  double acc[3] = {double(redOf(segment.StartColor)), double(greenOf(segment.StartColor)),
                   double(blueOf(segment.StartColor))};
  const double step[3] = {(redOf(segment.EndColor) - acc[0]) / count,
                          (greenOf(segment.EndColor) - acc[1]) / count,
                          (blueOf(segment.EndColor) - acc[2]) / count};
  for (int i = 0; i <= count; ++i) {
    put(i, ToByte(acc[2]), ToByte(acc[1]), ToByte(acc[0]));
    for (int c = 0; c < 3; ++c)
      acc[c] += step[c];
  }
}

// Walks the bands along one axis of `length` pixels starting at `first`; `lastInImage` is the
// image's last row (column), `lastInRect` the rectangle's. Calls band(segment, start, end) for
// every band that is painted, end included.
template <typename Band>
void LayOutBands(std::span<const GradientSegment> segments, int first, int length, int lastInImage,
                 int lastInRect, Band band) {
  int end = first;
  for (size_t i = 0; i < segments.size(); ++i) {
    const bool last = i + 1 == segments.size();
    const int start = end;
    end = start + segments[i].SizePercent * length / 100;
    if (last)
      end = lastInImage;
    if (end - start <= 0)
      continue;
    // Bands never run past the rectangle: lastInRect <= lastInImage.
    if (last || end > lastInRect)
      end = std::min(end, lastInRect);
    if (end <= start)
      return;
    band(segments[i], start, end);
  }
}

void PaintRows(Bitmap& image, const Rect& r, std::span<const GradientSegment> segments) {
  const size_t rowBytes = static_cast<size_t>(r.width()) * 3;
  const std::uint8_t* previous = nullptr;
  Color previousColor = -1;
  LayOutBands(segments, r.top, r.height(), image.height() - 1, r.bottom - 1,
              [&](const GradientSegment& segment, int start, int end) {
                ShadeBand(segment, end - start,
                          [&](int i, std::uint8_t b, std::uint8_t g, std::uint8_t rd) {
                            const Color color = rgb(rd, g, b);
                            std::uint8_t* row = image.row(start + i) + r.left * 3;
                            if (previous && color == previousColor) {
                              if (row != previous)  // the row where two bands meet
                                std::memcpy(row, previous, rowBytes);
                            } else {
                              image.fillRow(start + i, r.left, r.right, color);
                            }
                            previous = row;
                            previousColor = color;
                          });
              });
}

void PaintColumns(Bitmap& image, const Rect& r, std::span<const GradientSegment> segments) {
  // Every row gets the same colours: shade the first row, copy it to the others.
  std::uint8_t* first = image.row(r.top);
  bool painted = false;
  LayOutBands(segments, r.left, r.width(), image.width() - 1, r.right - 1,
              [&](const GradientSegment& segment, int start, int end) {
                painted = true;
                ShadeBand(segment, end - start,
                          [&](int i, std::uint8_t b, std::uint8_t g, std::uint8_t rd) {
                            std::uint8_t* p = first + (start + i) * 3;
                            p[0] = b;
                            p[1] = g;
                            p[2] = rd;
                          });
              });
  if (!painted)
    return;
  const size_t rowBytes = static_cast<size_t>(r.width()) * 3;
  for (int y = r.top + 1; y < r.bottom; ++y)
    std::memcpy(image.row(y) + r.left * 3, first + r.left * 3, rowBytes);
}

}  // namespace

void ParseGradientData(std::string_view text, std::vector<GradientSegment>& segments) {
  const std::vector<std::string_view> words = SplitWords(text);
  segments.assign(words.size() / 5, GradientSegment{});
  for (size_t i = 0; i < segments.size(); ++i) {
    GradientSegment s;
    s.StartColor = ConvertWord(words[5 * i]);
    s.EndColor = ConvertWord(words[5 * i + 1]);
    s.SizePercent = static_cast<std::uint8_t>(ConvertWord(words[5 * i + 2]) & 0xFF);
    s.Direction = ConvertWord(words[5 * i + 3]);
    segments[i] = s;
  }
}

std::vector<GradientSegment> ParseGradientData(std::string_view text) {
  std::vector<GradientSegment> segments;
  ParseGradientData(text, segments);
  return segments;
}

void PaintGradient(Bitmap& image, Rect rect, std::span<const GradientSegment> segments) {
  const Rect r{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, image.width()),
               std::min(rect.bottom, image.height())};
  if (r.width() <= 0 || r.height() <= 0 || segments.empty())
    return;
  switch (segments.front().Direction) {
    case 0:
      PaintRows(image, r, segments);
      break;
    case 1:
      PaintColumns(image, r, segments);
      break;
    default:
      break;
  }
}

void BlendWithColor(Bitmap& image, Rect inclusive, int percent, Color rgbColor) {
  const int left = std::max(inclusive.left, 0);
  const int top = std::max(inclusive.top, 0);
  const int right = std::min(inclusive.right, image.width() - 1);
  const int bottom = std::min(inclusive.bottom, image.height() - 1);
  if (left > right || top > bottom)
    return;
  const double k = percent / 100.0;
  const double j = 1.0 - k;
  // The colour is fixed, so each channel maps through a 256-entry table of the same arithmetic.
  std::uint8_t table[3][256];
  const int channel[3] = {blueOf(rgbColor), greenOf(rgbColor), redOf(rgbColor)};
  for (int c = 0; c < 3; ++c)
    for (int p = 0; p < 256; ++p)
      table[c][p] = ToByte(p * k + channel[c] * j);
  for (int y = top; y <= bottom; ++y) {
    std::uint8_t* p = image.row(y) + left * 3;
    for (int x = left; x <= right; ++x, p += 3) {
      p[0] = table[0][p[0]];
      p[1] = table[1][p[1]];
      p[2] = table[2][p[2]];
    }
  }
}

}  // namespace kv
