#include "interpreter/shortcuts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace kv {
namespace {

struct Expected {
  const char* name;
  const char* target;  // the console or program file, or the applet handed to "control"
};

const std::vector<Expected> kConsoles = {
    {"sertificates", "certmgr.msc"}, {"indexserv", "ciadv.msc"}, {"compman", "compmgmt.msc"},
    {"devman", "devmgmt.msc"},       {"defrag", "dfrg.msc"},     {"diskman", "diskmgmt.msc"},
    {"events", "eventvwr.msc"},      {"shared", "fsmgmt.msc"},   {"grpol", "gpedit.msc"},
    {"grandus", "lusrmgr.msc"},      {"remmem", "ntmsmgr.msc"},  {"roremmem", "ntmsoprq.msc"},
    {"perfomance", "perfmon.msc"},   {"respol", "rsop.msc"},     {"locsaf", "secpol.msc"},
    {"services", "services.msc"},    {"wmi", "wmimgmt.msc"}};

const std::vector<Expected> kApplets = {{"javaconfig", "javacpl.cpl"},
                                        {"firebird", "Firebird2Control.cpl"},
                                        {"imagedrive", "ImageDrive.cpl"},
                                        {"infocard", "infocardcpl.cpl"},
                                        {"ac97", "alsndmgr.cpl"},
                                        {"specialconfig", "access.cpl"},
                                        {"uninstaller", "appwiz.cpl"},
                                        {"desktopconfig", "desk.cpl"},
                                        {"firewallconfig", "firewall.cpl"},
                                        {"devinstaller", "hdwwiz.cpl"},
                                        {"internetconfig", "inetcpl.cpl"},
                                        {"languageconfig", "intl.cpl"},
                                        {"gamedevs", "joy.cpl"},
                                        {"mouseconfig", "main.cpl"},
                                        {"soundconfig", "mmsys.cpl"},
                                        {"network", "ncpa.cpl"},
                                        {"netconfig", "netsetup.cpl"},
                                        {"systemconfig", "sysdm.cpl"},
                                        {"powerconfig", "powercfg.cpl"},
                                        {"phoneconfig", "telephon.cpl"},
                                        {"clockconfig", "timedate.cpl"},
                                        {"security", "wscui.cpl"},
                                        {"autoupdate", "wuaucpl.cpl"},
                                        {"odbc", "odbccp32.cpl"},
                                        {"bluetoothconfig", "bthprops.cpl"},
                                        {"bde", "BDEADMIN.CPL"}};

const std::vector<Expected> kPrograms = {{"admin", "control admintools.cpl"},
                                         {"watson", "drwtsn32"},
                                         {"checkdisk", "chkdsk"},
                                         {"bluetooth", "fsquirt"},
                                         {"sysconfig", "msconfig"},
                                         {"sheduled", "control schedtasks"},
                                         {"shareddde", "ddeshare"},
                                         {"clipboard", "clipbrd"},
                                         {"filesign", "sigverif"},
                                         {"netsql", "cliconfg"},
                                         {"remdesktop", "mstsc"},
                                         {"configs", "sysedit"},
                                         {"registry", "regedit"},
                                         {"mysymbols", "eudcedit"},
                                         {"directx", "dxdiag"},
                                         {"components", "dcomcnfg"},
                                         {"word", "winword"},
                                         {"outlook", "msimn"},
                                         {"letter", "mailto:"},
                                         {"taskman", "taskmgr"},
                                         {"ppoint", "POWERPNT"},
                                         {"command", "command"}};

TEST(SystemShortcuts, RowsAreInTestOrderWithTheirExactTargets) {
  const auto& rows = SystemShortcuts();
  ASSERT_EQ(rows.size(), kConsoles.size() + kApplets.size() + kPrograms.size());
  size_t i = 0;
  for (const Expected& e : kConsoles) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(rows[i].name, e.name);
    EXPECT_EQ(rows[i].file, e.target);
    EXPECT_EQ(rows[i].parameters, "");
    EXPECT_EQ(rows[i++].kind, ShortcutKind::console);
  }
  for (const Expected& e : kApplets) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(rows[i].name, e.name);
    EXPECT_EQ(rows[i].file, "control");
    EXPECT_EQ(rows[i].parameters, e.target);
    EXPECT_EQ(rows[i++].kind, ShortcutKind::applet);
  }
  for (const Expected& e : kPrograms) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(rows[i].name, e.name);
    EXPECT_EQ(rows[i].file, e.target);
    EXPECT_EQ(rows[i].parameters, "");
    EXPECT_EQ(rows[i++].kind, ShortcutKind::program);
  }
}

TEST(SystemShortcuts, OnlyPhoneconfigHidesTheBar) {
  for (const ShortcutRow& row : SystemShortcuts())
    EXPECT_EQ(row.hidesBar, row.name == "phoneconfig") << row.name;
}

TEST(FindShortcut, FindsEveryRowByItsExactName) {
  std::set<std::string_view> names;
  for (const ShortcutRow& row : SystemShortcuts()) {
    EXPECT_EQ(FindShortcut(row.name), &row);
    names.insert(row.name);
  }
  EXPECT_EQ(names.size(), kShortcutCount);
}

TEST(FindShortcut, AnythingButTheExactNameIsNoShortcut) {
  for (const char* typed :
       {"Phoneconfig", "PHONECONFIG", "phoneconfig ", " phoneconfig", "phone", "", "Word",
        // Listed in the help text but without a row of their own.
        "chkdsk", "msconfig", "sigverif", "sysedit", "regedit", "dxdiag", "winword", "taskmgr",
        "mailto:", "cmd", "charmap", "excel", "wab", "verifier", "utilman", "syskey", "iexpress"}) {
    EXPECT_EQ(FindShortcut(typed), nullptr) << typed;
  }
}

}  // namespace
}  // namespace kv
