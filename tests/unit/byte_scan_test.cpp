#include "toolkit/byte_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kv {
namespace {

// Byte-by-byte answers to the questions the block scans answer.
struct Expected {
  bool ascii = true;
  size_t asciiPrefix = 0;
  size_t lastHigh = 0;  // meaningful when the block is not ASCII
  size_t highCount = 0;
  bool from80ToBF = false;
  size_t firstLineEnd = 0;  // the block's size when it has none
};

Expected ExpectedFor(const std::string& block) {
  Expected e;
  e.asciiPrefix = block.size();
  e.firstLineEnd = block.size();
  for (size_t i = 0; i < block.size(); ++i) {
    const auto byte = static_cast<unsigned char>(block[i]);
    if (byte >= 0x80 && e.ascii) {
      e.ascii = false;
      e.asciiPrefix = i;
    }
    e.highCount += byte >= 0x80;
    if (byte >= 0x80)
      e.lastHigh = i;
    e.from80ToBF |= byte >= 0x80 && byte <= 0xBF;
    if ((byte == '\r' || byte == '\n' || byte == 0) && e.firstLineEnd == block.size())
      e.firstLineEnd = i;
  }
  return e;
}

// Blocks built from the bytes that matter to the scans, placed at every position, plus a
// deterministic stream of arbitrary ones.
std::vector<std::string> SampleBlocks(size_t size) {
  std::vector<std::string> blocks;
  const unsigned char special[] = {0x00, 0x0A, 0x0D, 0x41, 0x7F, 0x80,
                                   0x98, 0xBF, 0xC0, 0xFF, 0x0B};
  for (unsigned char a : special) {
    for (size_t at = 0; at < size; ++at) {
      std::string block(size, 'x');
      block[at] = static_cast<char>(a);
      blocks.push_back(block);
      for (unsigned char b : special) {
        std::string two = block;
        two[size - 1 - at] = static_cast<char>(b);
        blocks.push_back(two);
      }
    }
  }
  std::uint32_t state = 12345;
  for (int n = 0; n < 2000; ++n) {
    std::string block(size, '\0');
    for (char& c : block) {
      state = state * 1103515245u + 12345u;
      c = static_cast<char>(state >> 24);
    }
    blocks.push_back(block);
  }
  return blocks;
}

template <typename Scan>
void CheckScans(size_t size, Scan scan) {
  for (const std::string& block : SampleBlocks(size)) {
    const Expected e = ExpectedFor(block);
    scan(block, e);
  }
}

// The first marked byte of a mask, or the block's size for an empty mask.
template <typename Mask, typename FirstIndex>
size_t FirstOrSize(Mask mask, size_t size, FirstIndex firstIndex) {
  return mask == 0 ? size : firstIndex(mask);
}

TEST(ByteScan, WordScansAgreeWithAByteLoop) {
  namespace w = scan::word;
  CheckScans(w::kBlock, [](const std::string& block, const Expected& e) {
    const char* p = block.data();
    const std::string shown = testing::PrintToString(block);
    ASSERT_EQ(w::BlockIsAscii(p), e.ascii) << shown;
    ASSERT_EQ(w::AsciiPrefixLength(p), e.asciiPrefix) << shown;
    ASSERT_EQ(w::CountHighBytes(p), e.highCount) << shown;
    if (!e.ascii) {
      ASSERT_EQ(w::LastIndex(w::HighMask(p)), e.lastHigh) << shown;
    }
    ASSERT_EQ(w::HasByteFrom80ToBf(p), e.from80ToBF) << shown;
    ASSERT_EQ(FirstOrSize(w::HighMask(p), w::kBlock, w::FirstIndex), e.asciiPrefix) << shown;
    ASSERT_EQ(FirstOrSize(w::LineEndMask(p), w::kBlock, w::FirstIndex), e.firstLineEnd) << shown;
  });
}

TEST(ByteScan, BlockScansOfThisMachineAgreeWithAByteLoop) {
  CheckScans(scan::kBlock, [](const std::string& block, const Expected& e) {
    const char* p = block.data();
    const std::string shown = testing::PrintToString(block);
    ASSERT_EQ(scan::BlockIsAscii(p), e.ascii) << shown;
    ASSERT_EQ(scan::AsciiPrefixLength(p), e.asciiPrefix) << shown;
    ASSERT_EQ(scan::CountHighBytes(p), e.highCount) << shown;
    if (!e.ascii) {
      ASSERT_EQ(scan::LastIndex(scan::HighMask(p)), e.lastHigh) << shown;
    }
    ASSERT_EQ(scan::HasByteFrom80ToBf(p), e.from80ToBF) << shown;
    ASSERT_EQ(FirstOrSize(scan::HighMask(p), scan::kBlock, scan::FirstIndex), e.asciiPrefix)
        << shown;
    ASSERT_EQ(FirstOrSize(scan::LineEndMask(p), scan::kBlock, scan::FirstIndex), e.firstLineEnd)
        << shown;
  });
}

}  // namespace
}  // namespace kv
