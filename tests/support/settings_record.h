// A settings record as config.cfg holds it, built from its fields, for tests of the start-up.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings.h"

namespace kv::test {

inline std::string SettingsRecord(std::uint8_t delay, Color edge, Color middle, Color text,
                                  const std::string& filler = std::string(3, '\0')) {
  Settings s;
  s.Delay = delay;
  for (int i = 0; i < 3; ++i)
    s.Filler[i] = static_cast<std::uint8_t>(filler[i]);
  s.EdgeColor = edge;
  s.MiddleColor = middle;
  s.TextColor = text;
  return EncodeSettingsRecord(s);
}

}  // namespace kv::test
