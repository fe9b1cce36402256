#include "app/hotkey_keys.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

constexpr HeldModifiers kWin{true, false, false, false};
constexpr HeldModifiers kNone{};

TEST(WinZRecognizer, ZWithTheWindowsKeyTogglesOnceAndNoneOfItsEventsPass) {
  WinZRecognizer r;
  const KeyVerdict press = r.OnKey(kVkZ, true, kWin, 1000);
  EXPECT_TRUE(press.swallow && press.toggle && press.maskWindowsKey);
  // Key repeat while held: swallowed, no further toggle.
  for (unsigned t = 1500; t < 4000; t += 500) {
    const KeyVerdict repeat = r.OnKey(kVkZ, true, kWin, t);
    EXPECT_TRUE(repeat.swallow);
    EXPECT_FALSE(repeat.toggle || repeat.maskWindowsKey);
  }
  // The release is swallowed even after the Windows key went up first.
  EXPECT_FALSE(r.OnKey(0x5B, false, kNone, 4100).swallow);
  const KeyVerdict release = r.OnKey(kVkZ, false, kNone, 4200);
  EXPECT_TRUE(release.swallow);
  EXPECT_FALSE(release.toggle);
  // The next Win+Z toggles again.
  EXPECT_TRUE(r.OnKey(kVkZ, true, kWin, 4300).toggle);
}

TEST(WinZRecognizer, ZAloneOrWithAnotherModifierAndOtherKeysPassUntouched) {
  const HeldModifiers cases[] = {kNone,
                                 {true, true, false, false},
                                 {true, false, true, false},
                                 {true, false, false, true},
                                 {false, true, false, false}};
  for (const HeldModifiers& held : cases) {
    WinZRecognizer r;
    const KeyVerdict press = r.OnKey(kVkZ, true, held, 0);
    EXPECT_FALSE(press.swallow || press.toggle || press.maskWindowsKey);
    EXPECT_FALSE(r.OnKey(kVkZ, false, held, 10).swallow);
  }
  WinZRecognizer r;
  for (unsigned vk : {0x59u, 0x5Bu, kVkMaskKey}) {
    EXPECT_FALSE(r.OnKey(vk, true, kWin, 0).swallow);
    EXPECT_FALSE(r.OnKey(vk, false, kWin, 10).swallow);
  }
}

// A Z release the hook never saw (let go on the secure desktop, across sleep) must not make the
// next Z a "repeat": another key pressed since, or a pause longer than any repeat delay, ends it.
TEST(WinZRecognizer, AMissedReleaseIsForgottenOnceZCannotBeRepeating) {
  WinZRecognizer afterAnotherKey;
  ASSERT_TRUE(afterAnotherKey.OnKey(kVkZ, true, kWin, 0).toggle);
  afterAnotherKey.OnKey('X', true, kNone, 100);
  EXPECT_FALSE(afterAnotherKey.OnKey(kVkZ, true, kNone, 200).swallow);  // a plain z
  WinZRecognizer afterAPause;
  ASSERT_TRUE(afterAPause.OnKey(kVkZ, true, kWin, 0xFFFFFF00u).toggle);  // the clock wraps
  EXPECT_FALSE(afterAPause.OnKey(kVkZ, true, kNone, 0xFFFFFF00u + 1500).swallow);
  WinZRecognizer winDownAgain;
  ASSERT_TRUE(winDownAgain.OnKey(kVkZ, true, kWin, 0).toggle);
  winDownAgain.OnKey(0x5B, true, kNone, 50);
  EXPECT_TRUE(winDownAgain.OnKey(kVkZ, true, kWin, 60).toggle);  // the next Win+Z toggles
}

HeldKey Key(unsigned vk, bool down) {
  return {vk, 0, 0, down};
}

std::vector<unsigned> Codes(const std::vector<HeldKey>& keys) {
  std::vector<unsigned> codes;
  for (const HeldKey& k : keys)
    codes.push_back(k.virtualKey * 2 + (k.down ? 1 : 0));
  return codes;
}

// Win down, Z down: Win+Z. What was down then passes; what is typed after is held, in order,
// and sent again only once the earlier batch has come back, so nothing overtakes it.
TEST(TypingHold, HoldsWhatIsTypedAfterWinZInOrderAndLetsEarlierKeysGo) {
  TypingHold hold;
  EXPECT_FALSE(hold.OnKey(Key(0x5B, true)));
  hold.Track(Key(kVkZ, true));
  hold.Start(1000);
  EXPECT_TRUE(hold.Holding());
  EXPECT_TRUE(hold.OnKey(Key(0x10, true)));  // Shift for a capital A
  EXPECT_TRUE(hold.OnKey(Key('A', true)));
  hold.Track(Key(kVkZ, false));
  EXPECT_FALSE(hold.OnKey(Key(0x5B, false)));  // Win goes up now, not later
  EXPECT_TRUE(hold.OnKey(Key('A', false)));
  EXPECT_TRUE(hold.OnKey(Key(0x10, false)));
  const std::vector<HeldKey> sent = hold.Release(1050);
  EXPECT_EQ(Codes(sent), (std::vector<unsigned>{0x21, 0x83, 0x82, 0x20}));
  EXPECT_TRUE(hold.OnKey(Key('B', true)));  // typed while the batch is on its way
  for (size_t i = 0; i + 1 < sent.size(); ++i)
    EXPECT_TRUE(hold.OnResent(1060).empty());
  EXPECT_EQ(Codes(hold.OnResent(1070)), (std::vector<unsigned>{'B' * 2 + 1}));
  EXPECT_TRUE(hold.OnResent(1080).empty());
  EXPECT_FALSE(hold.Holding());
  EXPECT_FALSE(hold.OnKey(Key('B', false)));
}

TEST(TypingHold, OverdueAfterTheLongestHoldAndFreeWhenNothingWasTyped) {
  TypingHold hold;
  hold.Start(0xFFFFFFF0u);
  EXPECT_FALSE(hold.Overdue(0xFFFFFFF0u + TypingHold::kLongestHoldMs - 1));
  EXPECT_TRUE(hold.Overdue(0xFFFFFFF0u + TypingHold::kLongestHoldMs));
  EXPECT_TRUE(hold.Release(5).empty());
  EXPECT_FALSE(hold.Holding());
  EXPECT_FALSE(hold.OnKey(Key('C', true)));
}

// A batch that never comes back (the system dropped it) must not block typing for good.
TEST(TypingHold, ABatchThatNeverComesBackIsGivenUpOnceOverdue) {
  TypingHold hold;
  hold.Start(0);
  hold.OnKey(Key('A', true));
  ASSERT_EQ(hold.Release(10).size(), 1u);
  EXPECT_TRUE(hold.OnKey(Key('B', true)));
  EXPECT_FALSE(hold.Overdue(10 + TypingHold::kLongestHoldMs - 1));
  ASSERT_TRUE(hold.Overdue(10 + TypingHold::kLongestHoldMs));
  EXPECT_EQ(Codes(hold.GiveUp()), (std::vector<unsigned>{'B' * 2 + 1}));
  EXPECT_FALSE(hold.Holding());
  EXPECT_TRUE(hold.OnResent(400).empty());  // the lost batch turning up after all
  EXPECT_FALSE(hold.OnKey(Key('C', true)));
}

}  // namespace
}  // namespace kv
