// Karvoss beside a floor program and Wine's own Run dialog (rundll32.exe shell32.dll,#61): all
// started several times, alternately, and measured the same way; the medians are printed as a
// table with ratios and the goals they are held to.
//   startup_bench [runs]     (default 9; one more warm-up round is not counted)
// karvoss.exe, floor.exe and probe.exe are taken from this program's folder. The floor has only
// what Karvoss must have: one hidden top-most popup window and the common controls 6.0; it
// answers WM_HOTKEY like the bar, sliding in 19 steps with a full repaint each. Measured:
// - start to ready: the clock starts before CreateProcess; for Karvoss and the floor a WM_HOTKEY
//   is posted as soon as the window exists and the clock stops when it is visible; for the Run
//   dialog when its window is visible;
// - working set (GetProcessMemoryInfo) once idle: waiting hidden after start-up, and with the
//   window shown by the same WM_HOTKEY (Karvoss's bar down, before any key is typed);
// - WM_HOTKEY to the window at top 0 (no config.cfg, so Delay 0), at the first show and later;
// - Enter in the bar to the started probe's record in its log, beside the same probe started by
//   this program with ShellExecuteW.
#include <windows.h>

#include "tests/e2e/support/common.h"
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using kv::e2e::FocusOf;
using kv::e2e::RemoveTree;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Polls as fast as the system lets a thread sleep; false after the deadline.
bool Until(const std::function<bool()>& condition, int timeoutMs = 15000) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (Clock::now() > deadline)
      return false;
    Sleep(1);
  }
  return true;
}

std::wstring Folder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/"));
}

HWND WindowOf(DWORD pid, const wchar_t* className) {
  for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w;
       w = FindWindowExW(nullptr, w, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid)
      return w;
  }
  return nullptr;
}

struct Memory {
  double workingSetMb = 0;
  double privateMb = 0;
};

Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  Memory m;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters)) {
    m.workingSetMb = counters.WorkingSetSize / 1048576.0;
    m.privateMb = counters.PrivateUsage / 1048576.0;
  }
  return m;
}

// Idle: done with its start-up input and a moment later, so late allocations count.
Memory IdleMemoryOf(HANDLE process) {
  WaitForInputIdle(process, 5000);
  Sleep(500);
  return MemoryOf(process);
}

class Process {
 public:
  bool Start(const std::wstring& commandLine, const std::wstring& folder) {
    std::wstring line = commandLine;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &si, &info_) != 0;
  }
  ~Process() {
    if (!info_.hProcess)
      return;
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, 10000);
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
  HANDLE Handle() const { return info_.hProcess; }
  DWORD Pid() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_{};
};

bool Fail(const char* what) {
  std::fprintf(stderr, "startup_bench: %s\n", what);
  return false;
}

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A fresh folder with copies of the programs, removed at the end.
class RunFolder {
 public:
  RunFolder(const std::wstring& bin, const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"karvoss-bench-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            name;
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
    for (const wchar_t* file : {L"karvoss.exe", L"floor.exe", L"probe.exe"})
      CopyFileW((bin + L"\\" + file).c_str(), (path_ + L"\\" + file).c_str(), FALSE);
    SetEnvironmentVariableW(L"KARVOSS_PROBE_LOG", Log().c_str());
  }
  ~RunFolder() {
    Sleep(100);  // the probe may still hold its log
    RemoveTree(path_);
  }
  const std::wstring& Path() const { return path_; }
  std::wstring Log() const { return path_ + L"\\probe.log"; }

 private:
  std::wstring path_;
};

bool Visible(HWND w) {
  return IsWindowVisible(w) != 0;
}

bool AtTop(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return IsWindowVisible(w) && r.top == 0;
}

void PostHotkey(HWND w) {
  PostMessageW(w, WM_HOTKEY, 0, MAKELPARAM(MOD_WIN, 'Z'));
}

// One bar-like program (Karvoss or the floor) from start to ready: a WM_HOTKEY posted as soon
// as its window exists has made the window visible.
bool MeasureReady(const RunFolder& folder, const wchar_t* exe, const wchar_t* className,
                  double& readyMs) {
  Process process;
  const auto start = Clock::now();
  if (!process.Start(L"\"" + folder.Path() + L"\\" + exe + L"\"", folder.Path()))
    return Fail("cannot start the program");
  HWND w = nullptr;
  if (!Until([&] { return (w = WindowOf(process.Pid(), className)) != nullptr; }))
    return Fail("the window did not appear");
  PostHotkey(w);
  if (!Until([&] { return Visible(w); }))
    return Fail("the window did not show");
  readyMs = MillisecondsSince(start);
  return true;
}

struct SteadyRun {
  Memory waiting;  // hidden, idle after start-up
  Memory shown;    // bar down, idle
  double firstShowMs = 0;
  double laterShowMs = 0;
  double enterMs = 0;  // Karvoss only
};

// One bar-like program at rest: memory waiting and shown, the first and a later slide, and for
// Karvoss Enter to the started probe.
bool MeasureSteady(const RunFolder& folder, const wchar_t* exe, const wchar_t* className,
                   bool karvoss, SteadyRun& run) {
  Process process;
  if (!process.Start(L"\"" + folder.Path() + L"\\" + exe + L"\"", folder.Path()))
    return Fail("cannot start the program");
  HWND w = nullptr;
  if (!Until([&] { return (w = WindowOf(process.Pid(), className)) != nullptr; }))
    return Fail("the window did not appear");
  run.waiting = IdleMemoryOf(process.Handle());
  if (WindowOf(process.Pid(), L"#32770"))
    return Fail("Karvoss shows a message box (is another Karvoss running in this prefix?)");

  auto hotkey = Clock::now();
  PostHotkey(w);
  if (!Until([&] { return AtTop(w); }))
    return Fail("the window did not come down");
  run.firstShowMs = MillisecondsSince(hotkey);
  HWND field = nullptr;
  if (karvoss) {
    HWND panel = FindWindowExW(w, nullptr, L"TsPanel", nullptr);
    field = FindWindowExW(panel, nullptr, L"ComboBox", nullptr);
    HWND edit = FindWindowExW(field, nullptr, L"Edit", nullptr);
    if (!Until([&] { return GetForegroundWindow() == w && FocusOf(w) == edit; }))
      return Fail("the bar did not take the focus");
  }
  run.shown = IdleMemoryOf(process.Handle());

  PostHotkey(w);
  if (!Until([&] { return !Visible(w); }))
    return Fail("the window did not hide");
  Sleep(200);
  hotkey = Clock::now();
  PostHotkey(w);
  if (!Until([&] { return AtTop(w); }))
    return Fail("the window did not come down again");
  run.laterShowMs = MillisecondsSince(hotkey);

  if (karvoss) {
    if (!Until([&] { return GetForegroundWindow() == w; }))
      return Fail("the bar did not take the foreground");
    Sleep(300);  // the user types
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"probe.exe|bench"));
    INPUT keys[2]{};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_RETURN;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    const auto enter = Clock::now();
    SendInput(2, keys, sizeof(INPUT));
    if (!Until([&] { return FileSize(folder.Log()) > 0; }))
      return Fail("the probe did not run");
    run.enterMs = MillisecondsSince(enter);
  }
  return true;
}

// The platform's own start of the same probe: ShellExecuteW to its log record.
bool MeasureShellExecute(const RunFolder& folder, double& ms) {
  const std::wstring probe = folder.Path() + L"\\probe.exe";
  const auto start = Clock::now();
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", probe.c_str(), L"bench", folder.Path().c_str(), SW_SHOW));
  if (result <= 32)
    return Fail("ShellExecuteW of the probe failed");
  if (!Until([&] { return FileSize(folder.Log()) > 0; }))
    return Fail("the probe did not run");
  ms = MillisecondsSince(start);
  return true;
}

struct RunDialogRun {
  double readyMs = 0;
  Memory shown;
};

bool MeasureRunDialog(RunDialogRun& run) {
  Process rundll;
  const auto start = Clock::now();
  if (!rundll.Start(L"rundll32.exe shell32.dll,#61", L""))
    return Fail("cannot start rundll32.exe");
  HWND w = nullptr;
  if (!Until([&] { return (w = WindowOf(rundll.Pid(), L"#32770")) != nullptr && Visible(w); }))
    return Fail("the Run dialog did not appear");
  run.readyMs = MillisecondsSince(start);
  run.shown = IdleMemoryOf(rundll.Handle());
  return true;
}

struct Round {
  double karvossReady = 0;
  double floorReady = 0;
  SteadyRun karvoss;
  SteadyRun floor;
  RunDialogRun dialog;
  double shellMs = 0;
};

bool MeasureRound(const std::wstring& bin, int index, Round& round) {
  const std::wstring n = std::to_wstring(index);
  {
    RunFolder folder(bin, L"floor-ready-" + n);
    if (!MeasureReady(folder, L"floor.exe", L"KarvossFloor", round.floorReady))
      return false;
  }
  {
    RunFolder folder(bin, L"karvoss-ready-" + n);
    if (!MeasureReady(folder, L"karvoss.exe", L"TForm1", round.karvossReady))
      return false;
  }
  if (!MeasureRunDialog(round.dialog))
    return false;
  {
    RunFolder folder(bin, L"floor-" + n);
    if (!MeasureSteady(folder, L"floor.exe", L"KarvossFloor", false, round.floor))
      return false;
  }
  {
    RunFolder folder(bin, L"karvoss-" + n);
    if (!MeasureSteady(folder, L"karvoss.exe", L"TForm1", true, round.karvoss))
      return false;
  }
  RunFolder folder(bin, L"shell-" + n);
  return MeasureShellExecute(folder, round.shellMs);
}

struct Stats {
  double median = 0;
  double low = 0;
  double high = 0;
};

Stats StatsOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

template <typename Run>
Stats Collect(const std::vector<Run>& runs, const std::function<double(const Run&)>& field) {
  std::vector<double> values;
  for (const Run& r : runs)
    values.push_back(field(r));
  return StatsOf(values);
}

std::string Cell(const Stats& s, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f (%.*f-%.*f)", decimals, s.median, decimals, s.low,
                decimals, s.high);
  return text;
}

std::string Ratio(const Stats& karvoss, const Stats& other) {
  if (other.median <= 0 || karvoss.median <= 0)
    return "n/a";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", karvoss.median / other.median);
  return text;
}

void Row(const char* name, const std::string& floor, const std::string& dialog,
         const std::string& karvoss, const std::string& toFloor, const std::string& toDialog) {
  std::printf("| %-44s | %-19s | %-19s | %-19s | %-7s | %-5s |\n", name, floor.c_str(),
              dialog.c_str(), karvoss.c_str(), toFloor.c_str(), toDialog.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
  const std::wstring bin = Folder();
  if (FindWindowW(L"TForm1", nullptr)) {
    Fail("a Karvoss is already running in this Wine prefix; end it first");
    return 1;
  }

  std::vector<Round> rounds;
  // One warm-up round fills the file cache and starts Wine's shared services.
  for (int i = -1; i < runs; ++i) {
    Round round;
    if (!MeasureRound(bin, i + 1, round))
      return 1;
    if (i >= 0)
      rounds.push_back(round);
  }

  const auto stat = [&](double (*field)(const Round&)) { return Collect<Round>(rounds, field); };
  const Stats kReady = stat([](const Round& r) { return r.karvossReady; });
  const Stats fReady = stat([](const Round& r) { return r.floorReady; });
  const Stats dReady = stat([](const Round& r) { return r.dialog.readyMs; });
  const Stats kWaiting = stat([](const Round& r) { return r.karvoss.waiting.workingSetMb; });
  const Stats fWaiting = stat([](const Round& r) { return r.floor.waiting.workingSetMb; });
  const Stats dShown = stat([](const Round& r) { return r.dialog.shown.workingSetMb; });
  const Stats kShown = stat([](const Round& r) { return r.karvoss.shown.workingSetMb; });
  const Stats fShown = stat([](const Round& r) { return r.floor.shown.workingSetMb; });
  const Stats kFirst = stat([](const Round& r) { return r.karvoss.firstShowMs; });
  const Stats fFirst = stat([](const Round& r) { return r.floor.firstShowMs; });
  const Stats kLater = stat([](const Round& r) { return r.karvoss.laterShowMs; });
  const Stats fLater = stat([](const Round& r) { return r.floor.laterShowMs; });
  const Stats kEnter = stat([](const Round& r) { return r.karvoss.enterMs; });
  const Stats shell = stat([](const Round& r) { return r.shellMs; });

  std::printf("Karvoss beside the floor and Wine's Run dialog: %d rounds, each program once per\n",
              runs);
  std::printf("round, after one warm-up round; median (lowest-highest).\n\n");
  Row("Measure", "floor", "Run dialog (#61)", "karvoss.exe", "K/floor", "K/Run");
  std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(21, '-').c_str(),
              std::string(21, '-').c_str(), std::string(21, '-').c_str(),
              std::string(9, '-').c_str(), std::string(7, '-').c_str());
  Row("Start to ready, ms", Cell(fReady, 1), Cell(dReady, 1), Cell(kReady, 1),
      Ratio(kReady, fReady), Ratio(kReady, dReady));
  Row("Working set, waiting hidden, MB", Cell(fWaiting, 1), Cell(dShown, 1), Cell(kWaiting, 1),
      Ratio(kWaiting, fWaiting), Ratio(kWaiting, dShown));
  Row("Working set, bar down (floor: shown), MB", Cell(fShown, 1), Cell(dShown, 1), Cell(kShown, 1),
      Ratio(kShown, fShown), Ratio(kShown, dShown));
  Row("Win+Z to top 0 (Delay 0), first show, ms", Cell(fFirst, 1), "-", Cell(kFirst, 1),
      Ratio(kFirst, fFirst), "-");
  Row("Win+Z to top 0 (Delay 0), later show, ms", Cell(fLater, 1), "-", Cell(kLater, 1),
      Ratio(kLater, fLater), "-");
  Row("Enter to the started program, ms", "-", "-", Cell(kEnter, 1), "-", "-");
  Row("ShellExecuteW of the same program, ms", Cell(shell, 1), "-", "-", "-", "-");
  std::printf("\n(The Run dialog's working set is with its window on screen.)\n\nGoals:\n");
  const auto goal = [](const char* text, double value, double limit) {
    std::printf("  %-62s %7.2f <= %7.2f  %s\n", text, value, limit,
                value <= limit ? "reached" : "NOT reached");
  };
  goal("start to ready <= 1.25 x floor, ms", kReady.median, 1.25 * fReady.median);
  goal("start to ready below the Run dialog, ms", kReady.median, dReady.median);
  goal("working set waiting hidden <= floor + 2 MB, MB", kWaiting.median, fWaiting.median + 2);
  goal("working set bar down <= floor shown + 1.5 MB, MB", kShown.median, fShown.median + 1.5);
  goal("Win+Z to top 0 (first show) <= 1.25 x floor's slide, ms", kFirst.median,
       1.25 * fFirst.median);
  goal("Win+Z to top 0 (later show) <= 1.25 x floor's slide, ms", kLater.median,
       1.25 * fLater.median);
  goal("Enter to the program <= ShellExecuteW + 5 ms, ms", kEnter.median, shell.median + 5);
  return 0;
}
