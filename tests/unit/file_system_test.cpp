#include "toolkit/file_system.h"

#include <gtest/gtest.h>

#include "tests/support/posix_file_system.h"
#include "toolkit/errors.h"

namespace kv {
namespace {

using test::PosixFileSystem;
using test::ReadBytes;
using test::TemporaryFolder;
using test::WriteBytes;

// Stops the write after the temporary file is complete, as a crash or power loss would.
class CrashBeforeReplace : public PosixFileSystem {
 public:
  void replaceFile(const std::string&, const std::string& target) override {
    throw FileError(CannotCreateFileMessage(target, "injected fault"));
  }
  bool removeFile(const std::string&) override { return false; }  // the process is gone
};

TEST(WriteFileAtomically, ReplacesTheWholeFile) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  const std::string path = dir.File("history.cmh");
  WriteBytes(path, "old line\r\nsecond\r\n");
  writeFileAtomically(fs, path, "new\r\n");
  EXPECT_EQ(ReadBytes(path), "new\r\n");
  EXPECT_FALSE(fs.fileExists(temporaryPathFor(path)));
}

TEST(WriteFileAtomically, FaultBeforeReplaceLeavesOldFileWholeAndIsReported) {
  TemporaryFolder dir;
  CrashBeforeReplace fs;
  const std::string path = dir.File("command.cms");
  WriteBytes(path, "a|b||\r\n");
  try {
    writeFileAtomically(fs, path, "x|y||\r\n");
    FAIL() << "expected FileError";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + path + "\". injected fault");
  }
  EXPECT_EQ(ReadBytes(path), "a|b||\r\n");
  // The stray temporary file is never what a reader gets, and the next save overwrites it.
  EXPECT_EQ(fs.readFile(path, kMaxLineListBytes), "a|b||\r\n");
  PosixFileSystem healthy;
  writeFileAtomically(healthy, path, "z\r\n");
  EXPECT_EQ(ReadBytes(path), "z\r\n");
  EXPECT_FALSE(healthy.fileExists(temporaryPathFor(path)));
}

TEST(WriteFileAtomically, AFolderDeletedMeanwhileIsCreatedAgain) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  const std::string path = dir.File("Data/history.cmh");
  writeFileAtomically(fs, path, "run\r\n");
  EXPECT_EQ(ReadBytes(path), "run\r\n");
}

TEST(WriteFileAtomically, UncreatableFileNamesTheTargetAndRemovesTheTemporary) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  WriteBytes(dir.File("Data"), "a file where the folder belongs");
  const std::string path = dir.File("Data/config.cfg");
  try {
    writeFileAtomically(fs, path, "0123456789abcdef");
    FAIL() << "expected FileError";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + path + "\". ", 0), 0u);
  }
}

TEST(WriteFileAtomically, AStaleTemporaryThatCannotBeOverwrittenDoesNotBlockTheSave) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  const std::string path = dir.File("history.cmh");
  ASSERT_TRUE(fs.createDirectories(temporaryPathFor(path)));
  writeFileAtomically(fs, path, "new\r\n");
  EXPECT_EQ(ReadBytes(path), "new\r\n");
  writeFileAtomically(fs, path, "newer\r\n");
  EXPECT_EQ(ReadBytes(path), "newer\r\n");
}

TEST(ErrorBoxText, AppendsAFullStopOnlyWhenMissing) {
  EXPECT_EQ(ErrorBoxText("Read beyond end of file"), "Read beyond end of file.");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText(""), ".");
}

}  // namespace
}  // namespace kv
