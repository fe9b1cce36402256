#include "app/exit_request.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(ExitRequest, OnlyTheOneSwitchAsksTheRunningCopyToEnd) {
  for (const char* arguments :
       {"/exit", "-exit", "/EXIT", "/Exit", "  /exit  ", "\"/exit\"", "\t-eXiT"}) {
    EXPECT_TRUE(IsExitRequest(arguments)) << arguments;
  }
  for (const char* arguments : {"", "exit", "/exi", "/exits", "/exit now", "/exit /exit", "--exit",
                                "/quit", "\"/exit", "/ exit"}) {
    EXPECT_FALSE(IsExitRequest(arguments)) << arguments;
  }
}

TEST(ExitRequest, KarvossIsFoundByItsImageNameInAnyFolder) {
  for (const char* image : {"C:\\Users\\Иван\\AppData\\Local\\Programs\\Karvoss\\karvoss.exe",
                            "D:\\Portable Tools\\KARVOSS.EXE", "\\\\server\\share\\Karvoss.exe",
                            "karvoss.exe", "/home/user/.wine/drive_c/karvoss.exe"}) {
    EXPECT_TRUE(IsKarvossImage(image)) << image;
  }
  // Other programs with a window of the bar's class, and names that only look alike.
  for (const char* image :
       {"C:\\Program Files\\Delphi App\\Project1.exe", "C:\\Karvoss\\karvoss.exe.old",
        "C:\\Karvoss\\mykarvoss.exe", "C:\\karvoss.exe\\other.exe", "C:\\Karvoss\\karvoss", ""}) {
    EXPECT_FALSE(IsKarvossImage(image)) << image;
  }
}

TEST(ExitRequest, HungCopiesAreTerminatedOnceAndTheDeadlineEndsTheWait) {
  // Row: elapsed, any running, already terminated, expected step.
  struct Row {
    int elapsedMs;
    bool running;
    bool terminated;
    EndingStep step;
  };
  const Row rows[] = {
      {0, false, false, EndingStep::done},
      {0, true, false, EndingStep::wait},
      {kAskedEndMs - 1, true, false, EndingStep::wait},
      {kAskedEndMs, true, false, EndingStep::terminate},
      {kAskedEndMs, true, true, EndingStep::wait},
      {kEndDeadlineMs - 1, true, true, EndingStep::wait},
      {kEndDeadlineMs, true, true, EndingStep::giveUp},
      {kEndDeadlineMs, true, false, EndingStep::giveUp},
      {kEndDeadlineMs + 1, false, true, EndingStep::done},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(NextEndingStep(row.elapsedMs, row.running, row.terminated), row.step)
        << row.elapsedMs << " ms, running " << row.running << ", terminated " << row.terminated;
  }
}

}  // namespace
}  // namespace kv
