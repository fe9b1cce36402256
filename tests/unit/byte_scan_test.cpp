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
  size_t highCount = 0;
  bool from80ToBF = false;
  size_t firstLineEnd = 0;
};

Expected expectedFor(const std::string& block) {
  Expected e;
  e.asciiPrefix = block.size();
  e.firstLineEnd = block.size();
  for (size_t i = 0; i < block.size(); ++i) {
    const auto byte = static_cast<unsigned char>(block[i]);
    if (byte >= 0x80) {
      e.ascii = false;
      e.asciiPrefix = std::min(e.asciiPrefix, i);
      ++e.highCount;
    }
    e.from80ToBF |= byte >= 0x80 && byte <= 0xBF;
    if ((byte == '\r' || byte == '\n' || byte == 0) && e.firstLineEnd == block.size())
      e.firstLineEnd = i;
  }
  return e;
}

// Blocks built from the bytes that matter to the scans, placed at every position, plus a
// deterministic stream of arbitrary ones.
std::vector<std::string> sampleBlocks(size_t size) {
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
void checkScans(size_t size, Scan scan) {
  for (const std::string& block : sampleBlocks(size)) {
    const Expected e = expectedFor(block);
    scan(block, e);
  }
}

TEST(ByteScan, WordScansAgreeWithAByteLoop) {
  checkScans(scan::word::kBlock, [](const std::string& block, const Expected& e) {
    const char* p = block.data();
    ASSERT_EQ(scan::word::blockIsAscii(p), e.ascii) << testing::PrintToString(block);
    ASSERT_EQ(scan::word::asciiPrefixLength(p), e.asciiPrefix) << testing::PrintToString(block);
    ASSERT_EQ(scan::word::countHighBytes(p), e.highCount) << testing::PrintToString(block);
    ASSERT_EQ(scan::word::hasByteFrom80ToBF(p), e.from80ToBF) << testing::PrintToString(block);
    ASSERT_EQ(scan::word::firstLineEndInBlock(p), e.firstLineEnd) << testing::PrintToString(block);
  });
}

TEST(ByteScan, BlockScansOfThisMachineAgreeWithAByteLoop) {
  checkScans(scan::kBlock, [](const std::string& block, const Expected& e) {
    const char* p = block.data();
    ASSERT_EQ(scan::blockIsAscii(p), e.ascii) << testing::PrintToString(block);
    ASSERT_EQ(scan::asciiPrefixLength(p), e.asciiPrefix) << testing::PrintToString(block);
    ASSERT_EQ(scan::countHighBytes(p), e.highCount) << testing::PrintToString(block);
    ASSERT_EQ(scan::hasByteFrom80ToBF(p), e.from80ToBF) << testing::PrintToString(block);
    ASSERT_EQ(scan::firstLineEndInBlock(p), e.firstLineEnd) << testing::PrintToString(block);
  });
}

}  // namespace
}  // namespace kv
