// Scanning text a block of bytes at a time, for the line lists and the code page conversion:
// sixteen bytes with SSE2, which every x86-64 compiler offers, eight in a 64-bit word elsewhere.
// The word versions are always compiled, so the tests check them on every machine.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define KARVOSS_SCAN_SSE2 1
#endif

namespace kv::scan {

namespace word {

inline constexpr size_t kBlock = 8;
inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

inline std::uint64_t Load8(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}

// The high bit set in exactly those bytes of `word` that are zero (no false positives).
inline std::uint64_t ZeroBytes(std::uint64_t word) {
  constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7Full;
  return ~(((word & kLows) + kLows) | word | kLows);
}

// The index of the first byte whose high bit is set in `marks` (which holds nothing else).
inline size_t FirstMarked(std::uint64_t marks) {
  if constexpr (std::endian::native == std::endian::little)
    return static_cast<size_t>(std::countr_zero(marks)) / 8;
  size_t i = 0;
  while ((marks & (std::uint64_t{0x80} << (8 * i))) == 0)
    ++i;
  return i;
}

// A block's marks: the high bit of each byte that has the property asked for.
using Mask = std::uint64_t;

// The bytes of 0x80 and above.
inline Mask HighMask(const char* p) {
  return Load8(p) & kHighBits;
}

// The CR, LF and NUL bytes.
inline Mask LineEndMask(const char* p) {
  const std::uint64_t w = Load8(p);
  return ZeroBytes(w ^ (kOnes * '\n')) | ZeroBytes(w ^ (kOnes * '\r')) | ZeroBytes(w);
}

// The index of the first marked byte of a mask that has one.
inline size_t FirstIndex(Mask marks) {
  return FirstMarked(marks);
}

// The index of the last marked byte of a mask that has one.
inline size_t LastIndex(Mask marks) {
  if constexpr (std::endian::native == std::endian::little)
    return 7 - static_cast<size_t>(std::countl_zero(marks)) / 8;
  size_t i = 7;
  while ((marks & (std::uint64_t{0x80} << (8 * i))) == 0)
    --i;
  return i;
}

inline bool BlockIsAscii(const char* p) {
  return HighMask(p) == 0;
}

inline size_t AsciiPrefixLength(const char* p) {
  const Mask high = HighMask(p);
  return high == 0 ? kBlock : FirstIndex(high);
}

inline size_t CountHighBytes(const char* p) {
  // One bit per byte, summed across the word by the multiplication.
  return static_cast<size_t>((((Load8(p) >> 7) & kOnes) * kOnes) >> 56);
}

inline bool HasByteFrom80ToBf(const char* p) {
  return ZeroBytes((Load8(p) & (kOnes * 0xC0)) ^ kHighBits) != 0;
}

}  // namespace word

#ifdef KARVOSS_SCAN_SSE2

inline constexpr size_t kBlock = 16;

inline __m128i LoadBlock(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// A block's marks: bit i set when byte i has the property asked for.
using Mask = unsigned;

// The bytes of 0x80 and above.
inline Mask HighMask(const char* p) {
  return static_cast<Mask>(_mm_movemask_epi8(LoadBlock(p)));
}

// The CR, LF and NUL bytes.
inline Mask LineEndMask(const char* p) {
  const __m128i block = LoadBlock(p);
  const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\n')),
                                    _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')));
  return static_cast<Mask>(
      _mm_movemask_epi8(_mm_or_si128(ends, _mm_cmpeq_epi8(block, _mm_setzero_si128()))));
}

// The index of the first marked byte of a mask that has one.
inline size_t FirstIndex(Mask marks) {
  return static_cast<size_t>(std::countr_zero(marks));
}

// The index of the last marked byte of a mask that has one.
inline size_t LastIndex(Mask marks) {
  return 31 - static_cast<size_t>(std::countl_zero(marks));
}

// True when none of the kBlock bytes at `p` is 0x80 or above.
inline bool BlockIsAscii(const char* p) {
  return HighMask(p) == 0;
}

// How many of the kBlock bytes at `p` come before the first one of 0x80 or above.
inline size_t AsciiPrefixLength(const char* p) {
  const Mask high = HighMask(p);
  return high == 0 ? kBlock : FirstIndex(high);
}

// How many of the kBlock bytes at `p` are 0x80 or above. (std::popcount would call a library
// routine on processors without the instruction, that is, on the baseline x86-64.)
inline size_t CountHighBytes(const char* p) {
  const __m128i ones =
      _mm_srli_epi16(_mm_and_si128(LoadBlock(p), _mm_set1_epi8(static_cast<char>(0x80))), 7);
  const __m128i sums = _mm_sad_epu8(ones, _mm_setzero_si128());
  return static_cast<size_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
}

// True when one of the kBlock bytes at `p` lies in 0x80..0xBF.
inline bool HasByteFrom80ToBf(const char* p) {
  const __m128i top = _mm_and_si128(LoadBlock(p), _mm_set1_epi8(static_cast<char>(0xC0)));
  return _mm_movemask_epi8(_mm_cmpeq_epi8(top, _mm_set1_epi8(static_cast<char>(0x80)))) != 0;
}

#else

using word::asciiPrefixLength;
using word::blockIsAscii;
using word::countHighBytes;
using word::firstIndex;
using word::hasByteFrom80ToBF;
using word::highMask;
using word::kBlock;
using word::lastIndex;
using word::lineEndMask;
using word::Mask;

#endif

}  // namespace kv::scan
