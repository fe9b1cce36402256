// The order of the platform's sorted list boxes: CompareString in the user's locale, case
// ignored.
#pragma once

#include "dialogs/sort_order.h"

namespace kv {

bool SortsBeforeInUserLocale(std::string_view a, std::string_view b);

}  // namespace kv
