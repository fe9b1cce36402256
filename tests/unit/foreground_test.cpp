#include "toolkit/foreground.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

using Step = ForegroundStep;

// The steps taken while the system keeps refusing, with the foreground joinable or not.
std::vector<Step> StepsWhileRefused(bool joinable) {
  std::vector<Step> steps;
  Step step = Step::none;
  do {
    step = NextForegroundStep(step, {false, joinable});
    steps.push_back(step);
  } while (step != Step::giveUp && steps.size() < 10);
  return steps;
}

TEST(ForegroundSteps, EachWayOnceInOrderAndNeverJoiningAHungThread) {
  EXPECT_EQ(StepsWhileRefused(true), (std::vector<Step>{Step::plainRequest, Step::joinInput,
                                                        Step::altRelease, Step::giveUp}));
  EXPECT_EQ(StepsWhileRefused(false),
            (std::vector<Step>{Step::plainRequest, Step::altRelease, Step::giveUp}));
}

TEST(ForegroundSteps, StopsAsSoonAsTheWindowIsInFront) {
  for (Step tried : {Step::none, Step::plainRequest, Step::joinInput, Step::altRelease})
    EXPECT_EQ(NextForegroundStep(tried, {true, true}), Step::done);
}

}  // namespace
}  // namespace kv
