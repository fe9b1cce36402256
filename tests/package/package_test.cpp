// The packages as a user gets them, in a fresh Wine prefix (tests/package/run-package-test): the
// silent installer, an installer of a newer version over the running program, the silent
// uninstaller. The installers and the executables to compare with come in the environment.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "tests/e2e/support/harness.h"
#include "toolkit/handles_win.h"

namespace kv::e2e {
namespace {

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Karvoss";
constexpr int kInstallerDeadlineMs = 60000;

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

// Where the installer puts things for the current user.
struct Installation {
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
  explicit Process(DWORD pid) : handle_(OpenProcess(SYNCHRONIZE, FALSE, pid)) {}
  bool Ended() const { return handle_.valid() && WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }

 private:
  KernelHandle handle_;
};

// Runs a command line to its end and gives its exit code; -1 when it did not end in time.
DWORD RunToEnd(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return static_cast<DWORD>(-1);
  }
  const KernelHandle thread(process.hThread);
  const KernelHandle program(process.hProcess);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(program, kInstallerDeadlineMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(program, &code);
  return code;
}

std::wstring ImageOf(DWORD pid) {
  const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  wchar_t path[MAX_PATH * 2];
  DWORD size = MAX_PATH * 2;
  return process.valid() && QueryFullProcessImageNameW(process, 0, path, &size)
             ? std::wstring(path, size)
             : std::wstring();
}

// Until the process's start-up is over and it waits for input (Win+Z is registered by then).
bool WaitIdle(DWORD pid) {
  const KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid));
  return process.valid() && WaitForInputIdle(process, kDeadlineMs) == 0;
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
  std::wstring fileVersion;  // from the fixed part: a.b.c.d
  std::wstring publisher;    // CompanyName
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
  if (VerQueryValueW(block.data(), L"\\StringFileInfo\\041904E3\\CompanyName", &value, &length) &&
      length > 0) {
    record.publisher = static_cast<const wchar_t*>(value);
  }
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
  }
  void TearDown() override { CoUninitialize(); }

  // The silent installer of build/dist: files, shortcuts, registration, and Karvoss running and
  // answering Win+Z.
  void Install() {
    ASSERT_EQ(RunToEnd(L'"' + setup_ + L"\" /S"), 0u);
    ASSERT_TRUE(FileExists(at_.exe));
    EXPECT_TRUE(ReadFileBytes(at_.exe) == ReadFileBytes(builtExe_))
        << "the installer holds another karvoss.exe than the build's: run scripts/package";
    EXPECT_TRUE(FileExists(at_.uninstaller));
    for (const std::wstring& shortcut : {at_.menuShortcut, at_.startupShortcut}) {
      const ShortcutTarget target = TargetOf(shortcut);
      EXPECT_TRUE(SamePath(target.program, at_.exe))
          << Utf8(shortcut) << " starts \"" << Utf8(target.program) << '"';
      EXPECT_TRUE(SamePath(target.folder, at_.folder)) << Utf8(shortcut);
    }

    const VersionRecord record = VersionOf(at_.exe);
    ASSERT_FALSE(record.fileVersion.empty());
    EXPECT_EQ(record.publisher, L"Karvoss");
    EXPECT_EQ(RegistryText(L"DisplayName"), L"Karvoss");
    EXPECT_EQ(RegistryText(L"DisplayVersion"), record.fileVersion);
    EXPECT_EQ(RegistryText(L"Publisher"), record.publisher);
    EXPECT_EQ(RegistryText(L"DisplayIcon"), at_.exe + L",0");
    EXPECT_EQ(RegistryText(L"InstallLocation"), at_.folder);
    EXPECT_EQ(RegistryText(L"UninstallString"), L'"' + at_.uninstaller + L'"');
    EXPECT_EQ(RegistryText(L"QuietUninstallString"), L'"' + at_.uninstaller + L"\" /S");
    EXPECT_EQ(RegistryNumber(L"NoModify"), 1u);
    EXPECT_EQ(RegistryNumber(L"NoRepair"), 1u);
    EXPECT_GE(RegistryNumber(L"EstimatedSize"), ReadFileBytes(at_.exe).size() / 1024);

    std::vector<Running> running;
    ASSERT_TRUE(Poll([&] { return (running = RunningFrom(at_.exe)).size() == 1; }))
        << running.size() << " instances of the installed Karvoss";
    const HWND bar = running[0].bar;
    ASSERT_TRUE(WaitIdle(running[0].pid));
    PressWinZ();
    EXPECT_TRUE(Poll([&] { return BarDownAtTop(bar); })) << "Win+Z did not bring the bar down";
    PressWinZ();
    EXPECT_TRUE(Poll([&] { return !IsWindowVisible(bar); }));
  }

  // The installer of a newer version while the installed one runs and has a history.
  void UpgradeOverRunningCopy() {
    const std::vector<Running> before = RunningFrom(at_.exe);
    ASSERT_EQ(before.size(), 1u);
    const Process old(before[0].pid);
    CreateDirectoryW(at_.data.c_str(), nullptr);
    WriteFileBytes(at_.history, kHistory);
    const std::wstring oldVersion = VersionOf(at_.exe).fileVersion;
    const std::wstring newVersion = VersionOf(nextExe_).fileVersion;
    ASSERT_NE(oldVersion, newVersion);

    ASSERT_EQ(RunToEnd(L'"' + nextSetup_ + L"\" /S"), 0u);
    EXPECT_TRUE(old.Ended()) << "the installer ended before the old Karvoss";
    std::vector<Running> after;
    ASSERT_TRUE(Poll([&] {
      after = RunningFrom(at_.exe);
      return after.size() == 1 && after[0].pid != before[0].pid;
    })) << after.size()
        << " instances of the installed Karvoss";
    EXPECT_EQ(VersionOf(at_.exe).fileVersion, newVersion);
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

  // The silent uninstaller copies itself to the temporary folder and returns at once; the copy
  // does the work.
  void Uninstall() {
    const std::vector<Running> running = RunningFrom(at_.exe);
    ASSERT_EQ(running.size(), 1u);
    const Process karvoss(running[0].pid);
    ASSERT_EQ(RunToEnd(L'"' + at_.uninstaller + L"\" /S"), 0u);
    EXPECT_TRUE(Poll(
        [&] {
          return karvoss.Ended() && !FileExists(at_.exe) && !FileExists(at_.uninstaller) &&
                 !FileExists(at_.menuShortcut) && !FileExists(at_.startupShortcut) &&
                 !UninstallKeyExists();
        },
        kInstallerDeadlineMs));
    EXPECT_TRUE(karvoss.Ended());
    EXPECT_FALSE(FileExists(at_.exe));
    EXPECT_FALSE(FileExists(at_.uninstaller));
    EXPECT_FALSE(FileExists(at_.menuShortcut));
    EXPECT_FALSE(FileExists(at_.startupShortcut));
    EXPECT_FALSE(UninstallKeyExists());
    EXPECT_TRUE(RunningFrom(at_.exe).empty());
    EXPECT_EQ(ReadFileBytes(at_.history), kHistory);
  }

  static constexpr char kHistory[] = "notepad\r\nwinver\r\n";
  const Installation at_;
  std::wstring setup_, nextSetup_, builtExe_, nextExe_;
};

TEST_F(Package, InstallsRunsUpgradesOverTheRunningCopyAndUninstallsKeepingData) {
  ASSERT_NO_FATAL_FAILURE(Install());
  ASSERT_NO_FATAL_FAILURE(UpgradeOverRunningCopy());
  ASSERT_NO_FATAL_FAILURE(Uninstall());
}

}  // namespace
}  // namespace kv::e2e
