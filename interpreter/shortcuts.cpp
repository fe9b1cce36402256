#include "interpreter/shortcuts.h"

namespace kv {
namespace {

using enum ShortcutKind;

// The names keep their historical spellings ("sertificates", "perfomance", "sheduled"): they are
// what users have learnt to type.
constexpr std::array<ShortcutRow, kShortcutCount> kRows = {{
    {"sertificates", "certmgr.msc", "", Console, false},
    {"indexserv", "ciadv.msc", "", Console, false},
    {"compman", "compmgmt.msc", "", Console, false},
    {"devman", "devmgmt.msc", "", Console, false},
    {"defrag", "dfrg.msc", "", Console, false},
    {"diskman", "diskmgmt.msc", "", Console, false},
    {"events", "eventvwr.msc", "", Console, false},
    {"shared", "fsmgmt.msc", "", Console, false},
    {"grpol", "gpedit.msc", "", Console, false},
    {"grandus", "lusrmgr.msc", "", Console, false},
    {"remmem", "ntmsmgr.msc", "", Console, false},
    {"roremmem", "ntmsoprq.msc", "", Console, false},
    {"perfomance", "perfmon.msc", "", Console, false},
    {"respol", "rsop.msc", "", Console, false},
    {"locsaf", "secpol.msc", "", Console, false},
    {"services", "services.msc", "", Console, false},
    {"wmi", "wmimgmt.msc", "", Console, false},
    {"javaconfig", "control", "javacpl.cpl", Applet, false},
    {"firebird", "control", "Firebird2Control.cpl", Applet, false},
    {"imagedrive", "control", "ImageDrive.cpl", Applet, false},
    {"infocard", "control", "infocardcpl.cpl", Applet, false},
    {"ac97", "control", "alsndmgr.cpl", Applet, false},
    {"specialconfig", "control", "access.cpl", Applet, false},
    {"uninstaller", "control", "appwiz.cpl", Applet, false},
    {"desktopconfig", "control", "desk.cpl", Applet, false},
    {"firewallconfig", "control", "firewall.cpl", Applet, false},
    {"devinstaller", "control", "hdwwiz.cpl", Applet, false},
    {"internetconfig", "control", "inetcpl.cpl", Applet, false},
    {"languageconfig", "control", "intl.cpl", Applet, false},
    {"gamedevs", "control", "joy.cpl", Applet, false},
    {"mouseconfig", "control", "main.cpl", Applet, false},
    {"soundconfig", "control", "mmsys.cpl", Applet, false},
    {"network", "control", "ncpa.cpl", Applet, false},
    {"netconfig", "control", "netsetup.cpl", Applet, false},
    {"systemconfig", "control", "sysdm.cpl", Applet, false},
    {"powerconfig", "control", "powercfg.cpl", Applet, false},
    {"phoneconfig", "control", "telephon.cpl", Applet, true},
    {"clockconfig", "control", "timedate.cpl", Applet, false},
    {"security", "control", "wscui.cpl", Applet, false},
    {"autoupdate", "control", "wuaucpl.cpl", Applet, false},
    {"odbc", "control", "odbccp32.cpl", Applet, false},
    {"bluetoothconfig", "control", "bthprops.cpl", Applet, false},
    {"bde", "control", "BDEADMIN.CPL", Applet, false},
    {"admin", "control admintools.cpl", "", Program, false},
    {"watson", "drwtsn32", "", Program, false},
    {"checkdisk", "chkdsk", "", Program, false},
    {"bluetooth", "fsquirt", "", Program, false},
    {"sysconfig", "msconfig", "", Program, false},
    {"sheduled", "control schedtasks", "", Program, false},
    {"shareddde", "ddeshare", "", Program, false},
    {"clipboard", "clipbrd", "", Program, false},
    {"filesign", "sigverif", "", Program, false},
    {"netsql", "cliconfg", "", Program, false},
    {"remdesktop", "mstsc", "", Program, false},
    {"configs", "sysedit", "", Program, false},
    {"registry", "regedit", "", Program, false},
    {"mysymbols", "eudcedit", "", Program, false},
    {"directx", "dxdiag", "", Program, false},
    {"components", "dcomcnfg", "", Program, false},
    {"word", "winword", "", Program, false},
    {"outlook", "msimn", "", Program, false},
    {"letter", "mailto:", "", Program, false},
    {"taskman", "taskmgr", "", Program, false},
    {"ppoint", "POWERPNT", "", Program, false},
    {"command", "command", "", Program, false},
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
