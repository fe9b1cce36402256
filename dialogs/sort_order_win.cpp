#include "dialogs/sort_order_win.h"

#include <windows.h>

#include "toolkit/text_win.h"

namespace kv {

bool SortsBeforeInUserLocale(std::string_view a, std::string_view b) {
  const std::wstring wa = Widen(a);
  const std::wstring wb = Widen(b);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                        static_cast<int>(wa.size()), wb.c_str(),
                        static_cast<int>(wb.size())) == CSTR_LESS_THAN;
}

}  // namespace kv
