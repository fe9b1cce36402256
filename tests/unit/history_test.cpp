#include "app/history.h"
#include "tests/support/cp1251_codec.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/posix_file_system.h"
#include "toolkit/errors.h"

namespace kv {
namespace {

using test::PosixFileSystem;
using test::ReadBytes;
using test::TemporaryFolder;
using test::WriteBytes;

class FailingFileSystem : public PosixFileSystem {
 public:
  bool failReads = false;
  bool failWrites = false;
  std::string readFile(const std::string& path, size_t maxBytes) override {
    if (failReads)
      throw FileError(CannotOpenFileMessage(path, "The file is locked"));
    return PosixFileSystem::readFile(path, maxBytes);
  }
  void writeNewFile(const std::string& path, std::string_view bytes,
                    const std::string& reported) override {
    if (failWrites)
      throw FileError(CannotCreateFileMessage(reported, "Access is denied"));
    PosixFileSystem::writeNewFile(path, bytes, reported);
  }
};

class History : public testing::Test {
 protected:
  void Add(const std::string& text) { AddToHistory(fs, codec, path, entries, text); }

  TemporaryFolder dir;
  FailingFileSystem fs;
  Cp1251Codec codec;
  std::string path = dir.File("history.cmh");
  HistoryList entries;
};

TEST_F(History, RepeatedCommandMovesToTheTopOnce) {
  Add("calc");
  Add("notepad");
  Add("calc");
  EXPECT_EQ(entries, (HistoryList{"calc", "notepad"}));
  EXPECT_EQ(ReadBytes(path), "calc\r\nnotepad\r\n");
}

TEST_F(History, CaseAndBlanksMakeDifferentEntries) {
  Add("calc");
  Add("Calc");
  Add("calc ");
  Add("CALC");
  EXPECT_EQ(entries, (HistoryList{"CALC", "calc ", "Calc", "calc"}));
}

TEST_F(History, DuplicatesFromTheFileCollapseToOneAtTheTop) {
  WriteBytes(path, "calc\r\nnotepad\r\ncalc\r\nx\r\ncalc\r\n");
  ASSERT_TRUE(LoadHistory(fs, codec, path, entries));
  EXPECT_EQ(entries.size(), 5u);
  Add("calc");
  EXPECT_EQ(entries, (HistoryList{"calc", "notepad", "x"}));
  EXPECT_EQ(ReadBytes(path), "calc\r\nnotepad\r\nx\r\n");
}

TEST_F(History, TextTakenFromTheListItselfIsAddedIntact) {
  entries = {"a", "b", "c", "b"};
  AddToHistory(fs, codec, path, entries, entries[1]);
  EXPECT_EQ(entries, (HistoryList{"b", "a", "c"}));
}

TEST_F(History, LfOnlyFileLoadsAndIsRewrittenWithCrLf) {
  WriteBytes(path, "calc\nnotepad\n\xEF\xF3\xF1\xEA");
  ASSERT_TRUE(LoadHistory(fs, codec, path, entries));
  EXPECT_EQ(entries, (HistoryList{"calc", "notepad", "пуск"}));
  Add("wordpad");
  EXPECT_EQ(ReadBytes(path), "wordpad\r\ncalc\r\nnotepad\r\n\xEF\xF3\xF1\xEA\r\n");
}

TEST_F(History, MissingFileLeavesTheEntries) {
  entries = {"kept"};
  EXPECT_FALSE(LoadHistory(fs, codec, path, entries));
  EXPECT_EQ(entries, HistoryList{"kept"});
}

TEST_F(History, UnreadableFileIsReportedAndTheEntriesKept) {
  WriteBytes(path, "other\r\n");
  entries = {"kept"};
  fs.failReads = true;
  EXPECT_THROW(LoadHistory(fs, codec, path, entries), FileError);
  EXPECT_EQ(entries, HistoryList{"kept"});
}

TEST_F(History, FailedSaveKeepsTheChangeInMemoryAndTheOldFile) {
  Add("calc");
  fs.failWrites = true;
  try {
    Add("notepad");
    FAIL() << "expected FileError";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + path + "\". Access is denied");
  }
  EXPECT_EQ(entries, (HistoryList{"notepad", "calc"}));
  EXPECT_EQ(ReadBytes(path), "calc\r\n");
}

TEST_F(History, ClearLeavesAZeroByteFile) {
  Add("calc");
  ClearHistory(fs, codec, path, entries);
  EXPECT_TRUE(entries.empty());
  EXPECT_TRUE(fs.fileExists(path));
  EXPECT_EQ(ReadBytes(path), "");
  ASSERT_TRUE(LoadHistory(fs, codec, path, entries));
  EXPECT_TRUE(entries.empty());
}

TEST_F(History, FailedClearStillEmptiesTheList) {
  Add("calc");
  fs.failWrites = true;
  EXPECT_THROW(ClearHistory(fs, codec, path, entries), FileError);
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(ReadBytes(path), "calc\r\n");
}

}  // namespace
}  // namespace kv
