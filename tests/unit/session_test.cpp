#include "interpreter/session.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

class RecordingSession : public SessionControl {
 public:
  std::vector<unsigned> requests;
  bool accept = false;
  bool CallExitWindows(unsigned flags) override {
    requests.push_back(flags);
    return accept;
  }
};

TEST(TCoolDesktop, EachRestartTypeMakesOneRequestWithItsFlags) {
  struct Case {
    TRestartWindows type;
    unsigned flags;
  };
  for (const Case& c :
       {Case{TRestartWindows::rwForced, 0x4}, Case{TRestartWindows::rwLogOff, 0x0},
        Case{TRestartWindows::rwPowerOff, 0x8}, Case{TRestartWindows::rwReboot, 0x2},
        Case{TRestartWindows::rwShutdown, 0x1}}) {
    RecordingSession session;
    TCoolDesktop desktop(session);
    desktop.RestartType = c.type;
    EXPECT_FALSE(desktop.RestartWindows());
    ASSERT_EQ(session.requests.size(), 1u);
    EXPECT_EQ(session.requests[0], c.flags);
  }
}

TEST(TCoolDesktop, DefaultsToShutdownAndReportsAcceptance) {
  RecordingSession session;
  session.accept = true;
  TCoolDesktop desktop(session);
  EXPECT_EQ(desktop.RestartType, TRestartWindows::rwShutdown);
  EXPECT_TRUE(desktop.RestartWindows());
  EXPECT_EQ(session.requests, std::vector<unsigned>{0x1});
  // An out-of-range value logs off.
  EXPECT_EQ(RestartFlags(static_cast<TRestartWindows>(9)), 0x0u);
}

}  // namespace
}  // namespace kv
