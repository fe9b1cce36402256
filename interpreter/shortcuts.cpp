#include "interpreter/shortcuts.h"

namespace kv {
namespace {

using enum ShortcutKind;

// The names keep their historical spellings ("sertificates", "perfomance", "sheduled"): they are
// what users have learnt to type.
constexpr std::array<ShortcutRow, kShortcutCount> kRows = {{
    {"sertificates", "certmgr.msc", "", console, false},
    {"indexserv", "ciadv.msc", "", console, false},
    {"compman", "compmgmt.msc", "", console, false},
    {"devman", "devmgmt.msc", "", console, false},
    {"defrag", "dfrg.msc", "", console, false},
    {"diskman", "diskmgmt.msc", "", console, false},
    {"events", "eventvwr.msc", "", console, false},
    {"shared", "fsmgmt.msc", "", console, false},
    {"grpol", "gpedit.msc", "", console, false},
    {"grandus", "lusrmgr.msc", "", console, false},
    {"remmem", "ntmsmgr.msc", "", console, false},
    {"roremmem", "ntmsoprq.msc", "", console, false},
    {"perfomance", "perfmon.msc", "", console, false},
    {"respol", "rsop.msc", "", console, false},
    {"locsaf", "secpol.msc", "", console, false},
    {"services", "services.msc", "", console, false},
    {"wmi", "wmimgmt.msc", "", console, false},
    {"javaconfig", "control", "javacpl.cpl", applet, false},
    {"firebird", "control", "Firebird2Control.cpl", applet, false},
    {"imagedrive", "control", "ImageDrive.cpl", applet, false},
    {"infocard", "control", "infocardcpl.cpl", applet, false},
    {"ac97", "control", "alsndmgr.cpl", applet, false},
    {"specialconfig", "control", "access.cpl", applet, false},
    {"uninstaller", "control", "appwiz.cpl", applet, false},
    {"desktopconfig", "control", "desk.cpl", applet, false},
    {"firewallconfig", "control", "firewall.cpl", applet, false},
    {"devinstaller", "control", "hdwwiz.cpl", applet, false},
    {"internetconfig", "control", "inetcpl.cpl", applet, false},
    {"languageconfig", "control", "intl.cpl", applet, false},
    {"gamedevs", "control", "joy.cpl", applet, false},
    {"mouseconfig", "control", "main.cpl", applet, false},
    {"soundconfig", "control", "mmsys.cpl", applet, false},
    {"network", "control", "ncpa.cpl", applet, false},
    {"netconfig", "control", "netsetup.cpl", applet, false},
    {"systemconfig", "control", "sysdm.cpl", applet, false},
    {"powerconfig", "control", "powercfg.cpl", applet, false},
    {"phoneconfig", "control", "telephon.cpl", applet, true},
    {"clockconfig", "control", "timedate.cpl", applet, false},
    {"security", "control", "wscui.cpl", applet, false},
    {"autoupdate", "control", "wuaucpl.cpl", applet, false},
    {"odbc", "control", "odbccp32.cpl", applet, false},
    {"bluetoothconfig", "control", "bthprops.cpl", applet, false},
    {"bde", "control", "BDEADMIN.CPL", applet, false},
    {"admin", "control admintools.cpl", "", program, false},
    {"watson", "drwtsn32", "", program, false},
    {"checkdisk", "chkdsk", "", program, false},
    {"bluetooth", "fsquirt", "", program, false},
    {"sysconfig", "msconfig", "", program, false},
    {"sheduled", "control schedtasks", "", program, false},
    {"shareddde", "ddeshare", "", program, false},
    {"clipboard", "clipbrd", "", program, false},
    {"filesign", "sigverif", "", program, false},
    {"netsql", "cliconfg", "", program, false},
    {"remdesktop", "mstsc", "", program, false},
    {"configs", "sysedit", "", program, false},
    {"registry", "regedit", "", program, false},
    {"mysymbols", "eudcedit", "", program, false},
    {"directx", "dxdiag", "", program, false},
    {"components", "dcomcnfg", "", program, false},
    {"word", "winword", "", program, false},
    {"outlook", "msimn", "", program, false},
    {"letter", "mailto:", "", program, false},
    {"taskman", "taskmgr", "", program, false},
    {"ppoint", "POWERPNT", "", program, false},
    {"command", "command", "", program, false},
}};

}  // namespace

const std::array<ShortcutRow, kShortcutCount>& SystemShortcuts() {
  return kRows;
}

const ShortcutRow* FindShortcut(std::string_view typed) {
  for (const ShortcutRow& row : kRows) {
    if (row.name == typed)
      return &row;
  }
  return nullptr;
}

}  // namespace kv
