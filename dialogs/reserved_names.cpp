#include "dialogs/reserved_names.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "interpreter/built_in_words.h"

namespace kv {
namespace {

// The names past the built-in and session words: the shortcut names, the network words and the
// system programs the help text lists. Their order and the second "odbc" are the list's own, so
// they are kept as written rather than made from the shortcut table (a test checks they hold it).
constexpr std::string_view kOtherNames[] = {
    "sertificates",
    "indexserv",
    "compman",
    "devman",
    "defrag",
    "diskman",
    "events",
    "shared",
    "grpol",
    "grandus",
    "remmem",
    "roremmem",
    "perfomance",
    "respol",
    "locsaf",
    "services",
    "wmi",
    "admin",
    "odbc",
    "verifier",
    "utilman",
    "watson",
    "syskey",
    "iexpress",
    "checkdisk",
    "chkdsk",
    "bluetooth",
    "sysconfig",
    "msconfig",
    "sheduled",
    "shareddde",
    "clipboard",
    "filesign",
    "sigverif",
    "netsql",
    "remdesktop",
    "configs",
    "sysedit",
    "registry",
    "regedit",
    "mysymbols",
    "directx",
    "dxdiag",
    "components",
    "telnet",
    "ping",
    "cmd",
    "charmap",
    "word",
    "excel",
    "wab",
    "taskmgr",
    "taskman",
    "winword",
    "outlook",
    "letter",
    "mailto:",
    "ppoint",
    "command",
    "javaconfig",
    "firebird",
    "imagedrive",
    "infocard",
    "ac97",
    "specialconfig",
    "uninstaller",
    "desktopconfig",
    "firewallconfig",
    "devinstaller",
    "internetconfig",
    "languageconfig",
    "gamedevs",
    "mouseconfig",
    "soundconfig",
    "network",
    "netconfig",
    "systemconfig",
    "powerconfig",
    "phoneconfig",
    "clockconfig",
    "security",
    "autoupdate",
    "odbc",
    "bluetoothconfig",
    "bde",
};

std::vector<std::string_view> CollectReservedNames() {
  std::vector<std::string_view> names;
  for (const BuiltInWord& word : BuiltInWords()) {
    if (word.reserved == Reserved::yes)
      names.push_back(word.name);
  }
  names.insert(names.end(), std::begin(kOtherNames), std::end(kOtherNames));
  return names;
}

}  // namespace

std::span<const std::string_view> ReservedNames() {
  static const std::vector<std::string_view> names = CollectReservedNames();
  return names;
}

bool IsReservedName(std::string_view name) {
  return std::ranges::find(ReservedNames(), name) != ReservedNames().end();
}

}  // namespace kv
