// The packages as a user and a package manager get them, in a fresh Wine prefix
// (tests/package/run-package-test): the silent installer, an installer of a newer version over
// the running program, the registered silent uninstaller, and the cases around them: a file held
// by another program, a Karvoss running from another folder, another install folder, and
// `karvoss.exe /exit`. The installers and the executables to compare with come in the
// environment.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/e2e/support/harness.h"
#include "toolkit/handles_win.h"

namespace kv::e2e {
namespace {

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Karvoss";
constexpr int kInstallerDeadlineMs = 60000;
// The installer's and uninstaller's exit codes (packaging/karvoss.nsi).
constexpr DWORD kExitFileBusy = 3;
constexpr DWORD kExitNewerInstalled = 5;

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2];
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
  return n > 0 && n < MAX_PATH * 2 ? std::wstring(value, n) : std::wstring();
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
    result = path;
  CoTaskMemFree(path);
  return result;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Where the installer puts things for the current user (by default, or in the given folder).
struct Installation {
  Installation() = default;
  explicit Installation(std::wstring in) : folder(std::move(in)) {}
  std::wstring folder = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Karvoss";
  std::wstring exe = folder + L"\\karvoss.exe";
  std::wstring uninstaller = folder + L"\\uninstall.exe";
  std::wstring data = folder + L"\\Data";
  std::wstring history = data + L"\\history.cmh";
  std::wstring menuShortcut = KnownFolder(FOLDERID_Programs) + L"\\Karvoss.lnk";
  std::wstring startupShortcut = KnownFolder(FOLDERID_Startup) + L"\\Karvoss.lnk";
};

// A process handle that can be waited on after the process has ended.
class Process {
 public:
  explicit Process(DWORD pid) : handle_(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid)) {}
  bool Ended() const { return handle_.Valid() && WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }
  void End() const {
    TerminateProcess(handle_, 1);
    WaitForSingleObject(handle_, kDeadlineMs);
  }

 private:
  KernelHandle handle_;
};

// Starts a command line and gives its process (and its thread) to the caller.
bool Launch(std::wstring commandLine, PROCESS_INFORMATION& process) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  return CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process) != 0;
}

// Waits for a started process and gives its exit code; -1 when it did not end in time. This
// thread's messages are handled meanwhile, so a window of the test can see what is sent to it.
DWORD ExitCodeOf(const PROCESS_INFORMATION& process) {
  const KernelHandle thread(process.hThread);
  const KernelHandle program(process.hProcess);
  const ULONGLONG until = GetTickCount64() + kInstallerDeadlineMs;
  HANDLE wait = program;
  while (GetTickCount64() < until) {
    const DWORD left = static_cast<DWORD>(until - GetTickCount64());
    if (MsgWaitForMultipleObjects(1, &wait, FALSE, left, QS_ALLINPUT) == WAIT_OBJECT_0) {
      DWORD code = static_cast<DWORD>(-1);
      GetExitCodeProcess(program, &code);
      return code;
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&msg);
  }
  return static_cast<DWORD>(-1);
}

// Runs a command line to its end and gives its exit code.
DWORD RunToEnd(std::wstring commandLine) {
  PROCESS_INFORMATION process{};
  return Launch(std::move(commandLine), process) ? ExitCodeOf(process) : static_cast<DWORD>(-1);
}

std::wstring ImageOf(DWORD pid) {
  const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  wchar_t path[MAX_PATH * 2];
  DWORD size = MAX_PATH * 2;
  return process.Valid() && QueryFullProcessImageNameW(process, 0, path, &size)
             ? std::wstring(path, size)
             : std::wstring();
}

// Until the process's start-up is over and it waits for input (Win+Z is registered by then).
bool WaitIdle(DWORD pid) {
  const KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid));
  return process.Valid() && WaitForInputIdle(process, kDeadlineMs) == 0;
}

// Every karvoss.exe process, whatever its folder and whether or not it has a window yet.
std::vector<DWORD> KarvossProcesses() {
  std::vector<DWORD> found;
  const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, L"karvoss.exe") == 0)
      found.push_back(entry.th32ProcessID);
  }
  return found;
}

// The one Karvoss left after an installation: one process, idle, without a message box (a second
// copy would be waiting in its "already running" box).
DWORD TheOneKarvoss() {
  const std::vector<DWORD> pids = KarvossProcesses();
  for (DWORD pid : pids) {
    WaitIdle(pid);
    EXPECT_EQ(FindProcessWindow(pid, L"#32770"), nullptr)
        << "a message box of " << Utf8(ImageOf(pid));
  }
  EXPECT_EQ(pids.size(), 1u) << "Karvoss processes";
  return pids.size() == 1 ? pids[0] : 0;
}

// Opens a file the way another program may hold it: without letting anyone else read, write or
// delete it.
KernelHandle Hold(const std::wstring& path) {
  return KernelHandle(
      CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

struct Running {
  HWND bar;
  DWORD pid;
};

// The bars (top-level TForm1 windows) of the processes whose image is `exe`.
std::vector<Running> RunningFrom(const std::wstring& exe) {
  std::vector<Running> found;
  for (HWND window = FindWindowExW(nullptr, nullptr, L"TForm1", nullptr); window;
       window = FindWindowExW(nullptr, window, L"TForm1", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (SamePath(ImageOf(pid), exe))
      found.push_back({window, pid});
  }
  return found;
}

struct VersionRecord {
  std::wstring fileVersion;     // from the fixed part: a.b.c.d
  std::wstring productVersion;  // the version's name: 3.0, 3.0.0.1
  std::wstring publisher;       // CompanyName
  std::wstring description;     // FileDescription
};

VersionRecord VersionOf(const std::wstring& file) {
  VersionRecord record;
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(file.c_str(), &ignored));
  if (block.empty() ||
      !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
    return record;
  }
  void* value = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data(), L"\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    record.fileVersion = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                         std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                         std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
                         std::to_wstring(LOWORD(fixed->dwFileVersionLS));
  }
  // The strings of the record's first language and code page.
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4) {
    return record;
  }
  const auto* translation = static_cast<const WORD*>(value);
  wchar_t strings[32];
  swprintf(strings, 32, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  const auto text = [&](const wchar_t* name) {
    return VerQueryValueW(block.data(), (strings + std::wstring(name)).c_str(), &value, &length) &&
                   length > 0
               ? std::wstring(static_cast<const wchar_t*>(value))
               : std::wstring();
  };
  record.productVersion = text(L"ProductVersion");
  record.publisher = text(L"CompanyName");
  record.description = text(L"FileDescription");
  return record;
}

bool UninstallKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

std::wstring RegistryText(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2];
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return L"<missing>";
  }
  return value;
}

DWORD RegistryNumber(const wchar_t* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

// The program and working folder a shortcut starts.
struct ShortcutTarget {
  std::wstring program;
  std::wstring folder;
};

ShortcutTarget TargetOf(const std::wstring& shortcut) {
  ShortcutTarget target;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return target;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t text[MAX_PATH];
    if (SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ))) {
      if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0)))
        target.program = text;
      if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH)))
        target.folder = text;
    }
    file->Release();
  }
  link->Release();
  return target;
}

// The entries of a running Karvoss's history list, once its field exists.
std::vector<std::wstring> HistoryShownBy(HWND bar) {
  HWND panel = FindWindowExW(bar, nullptr, L"TsPanel", nullptr);
  HWND field = panel ? FindWindowExW(panel, nullptr, L"ComboBox", nullptr) : nullptr;
  return field ? ComboItems(field) : std::vector<std::wstring>{};
}

bool BarDownAtTop(HWND bar) {
  RECT r{};
  return IsWindowVisible(bar) && GetWindowRect(bar, &r) && r.top == 0;
}

std::vector<std::wstring> SortedEntries(const std::wstring& folder) {
  std::vector<std::wstring> names = FolderEntries(folder);
  std::sort(names.begin(), names.end());
  return names;
}

// Another program's top-level window of the bar's class (Delphi names every first form so): the
// end of Karvoss must leave it alone. It counts the end-of-session messages it gets.
class ForeignBar {
 public:
  ForeignBar() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TForm1";
    RegisterClassW(&windowClass);
    hwnd_ = CreateWindowExW(0, L"TForm1", L"Project1", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
    endSessionMessages = 0;
  }
  ~ForeignBar() { DestroyWindow(hwnd_); }
  HWND Hwnd() const { return hwnd_; }
  static inline int endSessionMessages = 0;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_QUERYENDSESSION || msg == WM_ENDSESSION)
      ++endSessionMessages;
    return DefWindowProcW(hwnd, msg, wparam, lparam);
  }
  HWND hwnd_ = nullptr;
};

class Package : public testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (const auto& [name, path] :
         {std::pair{L"KARVOSS_SETUP", &setup_}, std::pair{L"KARVOSS_NEXT_SETUP", &nextSetup_},
          std::pair{L"KARVOSS_BUILT_EXE", &builtExe_}, std::pair{L"KARVOSS_NEXT_EXE", &nextExe_}}) {
      *path = Environment(name);
      ASSERT_TRUE(FileExists(*path)) << Utf8(name) << " names no file: \"" << Utf8(*path) << '"';
    }
    Clean();
  }
  void TearDown() override {
    Clean();
    CoUninitialize();
  }

  // Nothing installed and no Karvoss running, whatever a case left behind.
  void Clean() {
    for (DWORD pid : KarvossProcesses())
      Process(pid).End();
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    RemoveTree(at_.folder);
    RemoveTree(elsewhere_.folder);
    DeleteFileW(at_.menuShortcut.c_str());
    DeleteFileW(at_.startupShortcut.c_str());
  }

  // The silent installer of build/dist, into the default folder or another (/D= comes last):
  // files, shortcuts, registration, one version everywhere, and Karvoss running and answering
  // Win+Z.
  void Install(const Installation& at, const std::wstring& switches = L"") {
    ASSERT_EQ(RunToEnd(L'"' + setup_ + L"\" /S" + switches), 0u);
    ASSERT_TRUE(FileExists(at.exe));
    EXPECT_TRUE(ReadFileBytes(at.exe) == ReadFileBytes(builtExe_))
        << "the installer holds another karvoss.exe than the build's: run scripts/package";
    EXPECT_TRUE(FileExists(at.uninstaller));
    for (const std::wstring& shortcut : {at.menuShortcut, at.startupShortcut}) {
      const ShortcutTarget target = TargetOf(shortcut);
      EXPECT_TRUE(SamePath(target.program, at.exe))
          << Utf8(shortcut) << " starts \"" << Utf8(target.program) << '"';
      EXPECT_TRUE(SamePath(target.folder, at.folder)) << Utf8(shortcut);
    }

    const VersionRecord record = VersionOf(at.exe);
    ASSERT_FALSE(record.productVersion.empty());
    EXPECT_EQ(record.publisher, L"Karvoss");
    EXPECT_TRUE(setup_.ends_with(L"\\karvoss-" + record.productVersion + L"-setup.exe"))
        << Utf8(setup_) << " is not named by version " << Utf8(record.productVersion);
    const VersionRecord setupRecord = VersionOf(setup_);
    EXPECT_EQ(setupRecord.productVersion, record.productVersion);
    EXPECT_EQ(setupRecord.fileVersion, record.fileVersion);
    EXPECT_EQ(setupRecord.description, L"Установка Karvoss");
    EXPECT_EQ(VersionOf(at.uninstaller).description, L"Удаление Karvoss");
    EXPECT_EQ(RegistryText(L"DisplayName"), L"Karvoss");
    EXPECT_EQ(RegistryText(L"DisplayVersion"), record.productVersion);
    EXPECT_EQ(RegistryText(L"Publisher"), record.publisher);
    EXPECT_EQ(RegistryText(L"DisplayIcon"), at.exe + L",0");
    EXPECT_EQ(RegistryText(L"InstallLocation"), at.folder);
    EXPECT_EQ(RegistryText(L"UninstallString"), L'"' + at.uninstaller + L"\" _?=" + at.folder);
    EXPECT_EQ(RegistryText(L"QuietUninstallString"),
              L'"' + at.uninstaller + L"\" /S _?=" + at.folder);
    EXPECT_EQ(RegistryNumber(L"NoModify"), 1u);
    EXPECT_EQ(RegistryNumber(L"NoRepair"), 1u);
    EXPECT_GE(RegistryNumber(L"EstimatedSize"), ReadFileBytes(at.exe).size() / 1024);

    const DWORD pid = TheOneKarvoss();
    EXPECT_TRUE(SamePath(ImageOf(pid), at.exe)) << Utf8(ImageOf(pid));
    const std::vector<Running> running = RunningFrom(at.exe);
    ASSERT_EQ(running.size(), 1u);
    PressWinZ();
    EXPECT_TRUE(Poll([&] { return BarDownAtTop(running[0].bar); }))
        << "Win+Z did not bring the bar down";
    PressWinZ();
    EXPECT_TRUE(Poll([&] { return !IsWindowVisible(running[0].bar); }));
  }

  // The installer of a newer version while the installed one runs and has a history.
  void UpgradeOverRunningCopy() {
    const std::vector<Running> before = RunningFrom(at_.exe);
    ASSERT_EQ(before.size(), 1u);
    const Process old(before[0].pid);
    CreateDirectoryW(at_.data.c_str(), nullptr);
    WriteFileBytes(at_.history, kHistory);
    const std::wstring oldVersion = VersionOf(at_.exe).productVersion;
    const std::wstring newVersion = VersionOf(nextExe_).productVersion;
    ASSERT_NE(oldVersion, newVersion);

    ASSERT_EQ(RunToEnd(L'"' + nextSetup_ + L"\" /S"), 0u);
    EXPECT_TRUE(old.Ended()) << "the installer ended before the old Karvoss";
    std::vector<Running> after;
    ASSERT_TRUE(Poll([&] {
      after = RunningFrom(at_.exe);
      return after.size() == 1 && after[0].pid != before[0].pid;
    })) << after.size()
        << " instances of the installed Karvoss";
    EXPECT_EQ(VersionOf(at_.exe).productVersion, newVersion);
    EXPECT_EQ(RegistryText(L"DisplayVersion"), newVersion);
    EXPECT_EQ(ReadFileBytes(at_.history), kHistory);
    // The new program answers Win+Z and offers the history the old one left.
    const HWND bar = after[0].bar;
    ASSERT_TRUE(WaitIdle(after[0].pid));
    PressWinZ();
    ASSERT_TRUE(Poll([&] { return BarDownAtTop(bar); })) << "Win+Z did not bring the bar down";
    EXPECT_TRUE(Poll([&] {
      return HistoryShownBy(bar) == std::vector<std::wstring>{L"notepad", L"winver"};
    }));
    PressWinZ();
    EXPECT_TRUE(Poll([&] { return !IsWindowVisible(bar); }));
  }

  // The older installer over the newer installation: refused when silent, unless allowed.
  void DowngradeOnlyWhenAllowed() {
    const DWORD newer = TheOneKarvoss();
    const std::wstring newVersion = RegistryText(L"DisplayVersion");
    EXPECT_EQ(RunToEnd(L'"' + setup_ + L"\" /S"), kExitNewerInstalled);
    EXPECT_EQ(RegistryText(L"DisplayVersion"), newVersion);
    EXPECT_EQ(VersionOf(at_.exe).productVersion, newVersion);
    EXPECT_EQ(TheOneKarvoss(), newer) << "the refused installer ended Karvoss";

    ASSERT_EQ(RunToEnd(L'"' + setup_ + L"\" /S /ALLOWDOWNGRADE"), 0u);
    EXPECT_EQ(RegistryText(L"DisplayVersion"), VersionOf(builtExe_).productVersion);
    EXPECT_TRUE(ReadFileBytes(at_.exe) == ReadFileBytes(builtExe_));
    EXPECT_TRUE(SamePath(ImageOf(TheOneKarvoss()), at_.exe));
  }

  // The uninstaller as the list of installed programs runs it silently: it returns when its
  // work is done, except its own file, which a copy of it removes once it has ended. Data stays.
  void Uninstall(const Installation& at) {
    const Process karvoss(TheOneKarvoss());
    const std::string history = ReadFileBytes(at.history);
    ASSERT_EQ(RunToEnd(RegistryText(L"QuietUninstallString")), 0u);
    EXPECT_TRUE(karvoss.Ended());
    EXPECT_FALSE(FileExists(at.exe));
    EXPECT_FALSE(FileExists(at.menuShortcut));
    EXPECT_FALSE(FileExists(at.startupShortcut));
    EXPECT_FALSE(UninstallKeyExists());
    EXPECT_TRUE(Poll([&] { return !FileExists(at.uninstaller); }, kInstallerDeadlineMs));
    EXPECT_TRUE(KarvossProcesses().empty());
    EXPECT_EQ(ReadFileBytes(at.history), history);
  }

  static constexpr char kHistory[] = "notepad\r\nwinver\r\n";
  const Installation at_;
  const Installation elsewhere_{KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Мой Karvoss"};
  std::wstring setup_, nextSetup_, builtExe_, nextExe_;
};

TEST_F(Package, InstallsRunsUpgradesOverTheRunningCopyAndUninstallsKeepingData) {
  ASSERT_NO_FATAL_FAILURE(Install(at_));
  ASSERT_NO_FATAL_FAILURE(UpgradeOverRunningCopy());
  ASSERT_NO_FATAL_FAILURE(DowngradeOnlyWhenAllowed());
  ASSERT_NO_FATAL_FAILURE(Uninstall(at_));
}

TEST_F(Package, SilentSwitchesLeaveOutTheStartupShortcutAndTheStart) {
  ASSERT_EQ(RunToEnd(L'"' + setup_ + L"\" /S /NOSTARTUP /NORUN"), 0u);
  EXPECT_TRUE(FileExists(at_.exe));
  EXPECT_TRUE(FileExists(at_.menuShortcut));
  EXPECT_FALSE(FileExists(at_.startupShortcut));
  // The installer starts Karvoss before it ends, if at all.
  EXPECT_TRUE(KarvossProcesses().empty());
}

TEST_F(Package, SilentUpgradeWithTheProgramHeldFailsAndTheOldVersionStaysRegisteredAndRunning) {
  ASSERT_NO_FATAL_FAILURE(Install(at_));
  const DWORD pid = TheOneKarvoss();
  const Process old(pid);
  const std::wstring version = RegistryText(L"DisplayVersion");
  const std::string uninstaller = ReadFileBytes(at_.uninstaller);
  {
    const KernelHandle held = Hold(at_.exe);
    ASSERT_TRUE(held.Valid());
    EXPECT_EQ(RunToEnd(L'"' + nextSetup_ + L"\" /S"), kExitFileBusy);
  }
  EXPECT_EQ(RegistryText(L"DisplayVersion"), version);
  EXPECT_TRUE(ReadFileBytes(at_.exe) == ReadFileBytes(builtExe_));
  EXPECT_TRUE(ReadFileBytes(at_.uninstaller) == uninstaller);
  EXPECT_EQ(SortedEntries(at_.folder),
            (std::vector<std::wstring>{L"Data", L"karvoss.exe", L"uninstall.exe"}));
  EXPECT_FALSE(old.Ended()) << "the failed installer ended Karvoss";
  EXPECT_EQ(TheOneKarvoss(), pid);
  // Let go, the same upgrade goes through.
  EXPECT_EQ(RunToEnd(L'"' + nextSetup_ + L"\" /S"), 0u);
  EXPECT_EQ(VersionOf(at_.exe).productVersion, VersionOf(nextExe_).productVersion);
  EXPECT_TRUE(SamePath(ImageOf(TheOneKarvoss()), at_.exe));
}

TEST_F(Package, InstallEndsACopyRunningFromAnotherFolderAndTwoInstallersTakeTurns) {
  Karvoss portable;
  ASSERT_TRUE(portable.WaitIdle());
  PROCESS_INFORMATION first{}, second{};
  ASSERT_TRUE(Launch(L'"' + setup_ + L"\" /S", first));
  ASSERT_TRUE(Launch(L'"' + setup_ + L"\" /S", second));
  EXPECT_EQ(ExitCodeOf(first), 0u);
  EXPECT_EQ(ExitCodeOf(second), 0u);
  EXPECT_FALSE(portable.Running());
  const DWORD pid = TheOneKarvoss();
  EXPECT_TRUE(SamePath(ImageOf(pid), at_.exe)) << Utf8(ImageOf(pid));
  const std::vector<Running> installed = RunningFrom(at_.exe);
  ASSERT_EQ(installed.size(), 1u);
  PressWinZ();
  EXPECT_TRUE(Poll([&] { return BarDownAtTop(installed[0].bar); }));
  PressWinZ();
  EXPECT_TRUE(Poll([&] { return !IsWindowVisible(installed[0].bar); }));
}

TEST_F(Package, InstallIntoAnotherFolderMovesTheInstallationAndCopiesItsData) {
  ASSERT_NO_FATAL_FAILURE(Install(at_));
  CreateDirectoryW(at_.data.c_str(), nullptr);
  WriteFileBytes(at_.history, kHistory);
  ASSERT_NO_FATAL_FAILURE(Install(elsewhere_, L" /D=" + elsewhere_.folder));
  EXPECT_EQ(ReadFileBytes(elsewhere_.history), kHistory);
  // The old folder keeps only its Data.
  EXPECT_EQ(SortedEntries(at_.folder), std::vector<std::wstring>{L"Data"});
  EXPECT_EQ(ReadFileBytes(at_.history), kHistory);
  ASSERT_NO_FATAL_FAILURE(Uninstall(elsewhere_));
}

TEST_F(Package, UninstallWithTheProgramHeldFailsAndLeavesItRegisteredAndRunning) {
  ASSERT_NO_FATAL_FAILURE(Install(at_));
  const Process karvoss(TheOneKarvoss());
  {
    const KernelHandle held = Hold(at_.exe);
    ASSERT_TRUE(held.Valid());
    EXPECT_EQ(RunToEnd(RegistryText(L"QuietUninstallString")), kExitFileBusy);
  }
  EXPECT_EQ(RegistryText(L"InstallLocation"), at_.folder);
  for (const std::wstring& file :
       {at_.exe, at_.uninstaller, at_.menuShortcut, at_.startupShortcut}) {
    EXPECT_TRUE(FileExists(file)) << Utf8(file);
  }
  EXPECT_FALSE(karvoss.Ended()) << "the failed uninstaller ended Karvoss";
  ASSERT_NO_FATAL_FAILURE(Uninstall(at_));
}

TEST_F(Package, ExitSwitchEndsTheRunningKarvossOnlyAndWritesNothing) {
  const ForeignBar foreign;
  const TempFolder asker;
  const std::wstring askerExe = asker.Path() + L"\\karvoss.exe";
  ASSERT_TRUE(CopyFileW(builtExe_.c_str(), askerExe.c_str(), FALSE));
  // None runs: done at once.
  EXPECT_EQ(RunToEnd(L'"' + askerExe + L"\" /exit"), 0u);

  // A copy under another name cannot be told from another program, but it holds the single
  // instance: the switch says that one still runs.
  const TempFolder renamedFolder;
  const std::wstring renamed = renamedFolder.Path() + L"\\launcher.exe";
  ASSERT_TRUE(CopyFileW(builtExe_.c_str(), renamed.c_str(), FALSE));
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(Launch(L'"' + renamed + L'"', started));
  const KernelHandle renamedThread(started.hThread);
  const KernelHandle renamedProcess(started.hProcess);
  ASSERT_EQ(WaitForInputIdle(renamedProcess, kDeadlineMs), 0u);
  EXPECT_EQ(RunToEnd(L'"' + askerExe + L"\" /exit"), 1u);
  EXPECT_EQ(WaitForSingleObject(renamedProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  TerminateProcess(renamedProcess, 1);
  WaitForSingleObject(renamedProcess, kDeadlineMs);

  // A copy running from another folder ends as at the end of a session; nothing is written
  // beside the asking copy, and the other program's window gets nothing.
  Karvoss running;
  ASSERT_TRUE(running.WaitIdle());
  EXPECT_EQ(RunToEnd(L'"' + askerExe + L"\" /EXIT"), 0u);
  EXPECT_FALSE(running.Running());
  EXPECT_TRUE(KarvossProcesses().empty());
  EXPECT_EQ(SortedEntries(asker.Path()), std::vector<std::wstring>{L"karvoss.exe"});
  EXPECT_TRUE(IsWindow(foreign.Hwnd()));
  EXPECT_EQ(ForeignBar::endSessionMessages, 0);
}

}  // namespace
}  // namespace kv::e2e
