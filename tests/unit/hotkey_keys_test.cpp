#include "app/hotkey_keys.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

constexpr HeldModifiers kWin{true, false, false, false};
constexpr HeldModifiers kNone{};

TEST(WinZRecognizer, ZWithTheWindowsKeyTogglesOnceAndNoneOfItsEventsPass) {
  WinZRecognizer r;
  const KeyVerdict press = r.OnKey(kVkZ, true, kWin);
  EXPECT_TRUE(press.swallow && press.toggle && press.maskWindowsKey);
  // Key repeat while held: swallowed, no further toggle.
  for (int i = 0; i < 3; ++i) {
    const KeyVerdict repeat = r.OnKey(kVkZ, true, kWin);
    EXPECT_TRUE(repeat.swallow);
    EXPECT_FALSE(repeat.toggle || repeat.maskWindowsKey);
  }
  // The release is swallowed even after the Windows key went up first.
  const KeyVerdict release = r.OnKey(kVkZ, false, kNone);
  EXPECT_TRUE(release.swallow);
  EXPECT_FALSE(release.toggle);
  // The next Win+Z toggles again.
  EXPECT_TRUE(r.OnKey(kVkZ, true, kWin).toggle);
}

TEST(WinZRecognizer, ZAloneOrWithAnotherModifierAndOtherKeysPassUntouched) {
  const HeldModifiers cases[] = {kNone,
                                 {true, true, false, false},
                                 {true, false, true, false},
                                 {true, false, false, true},
                                 {false, true, false, false}};
  for (const HeldModifiers& held : cases) {
    WinZRecognizer r;
    const KeyVerdict press = r.OnKey(kVkZ, true, held);
    EXPECT_FALSE(press.swallow || press.toggle || press.maskWindowsKey);
    EXPECT_FALSE(r.OnKey(kVkZ, false, held).swallow);
  }
  WinZRecognizer r;
  for (unsigned vk : {0x59u, 0x5Bu, kVkMaskKey}) {
    EXPECT_FALSE(r.OnKey(vk, true, kWin).swallow);
    EXPECT_FALSE(r.OnKey(vk, false, kWin).swallow);
  }
}

}  // namespace
}  // namespace kv
