// Karvoss beside Wine's own Run dialog (rundll32.exe shell32.dll,#61): both started several
// times, alternately, and measured the same way; the medians are printed as a table with ratios.
//   startup_bench [runs]     (default 7; one more warm-up run of each is not counted)
// karvoss.exe and probe.exe are taken from this program's folder. Measured:
// - process start to its window created: the clock starts before CreateProcess and stops when a
//   window of the class (TForm1, or the Run dialog's #32770) belongs to the new process;
// - memory once the process is idle: working set and private bytes (GetProcessMemoryInfo);
// - for Karvoss: WM_HOTKEY to the bar visible at top 0 (no config.cfg, so Delay 0), and Enter in
//   the bar to the started probe's record in its log.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

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

void RemoveTree(const std::wstring& path) {
  std::wstring from = path + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&op);
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
  HANDLE handle() const { return info_.hProcess; }
  DWORD pid() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_{};
};

struct KarvossRun {
  double windowMs = 0;
  Memory waiting;  // bar hidden, after start-up
  Memory shown;    // bar down
  double hotkeyMs = 0;
  double enterMs = 0;
};

struct RunDialogRun {
  double windowMs = 0;
  Memory shown;
};

bool Fail(const char* what) {
  std::fprintf(stderr, "startup_bench: %s\n", what);
  return false;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool MeasureKarvoss(const std::wstring& bin, int index, KarvossRun& run) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"karvoss-bench-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(index);
  RemoveTree(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  struct Cleanup {
    std::wstring folder;
    ~Cleanup() { RemoveTree(folder); }
  } cleanup{folder};
  CopyFileW((bin + L"\\karvoss.exe").c_str(), (folder + L"\\karvoss.exe").c_str(), FALSE);
  CopyFileW((bin + L"\\probe.exe").c_str(), (folder + L"\\probe.exe").c_str(), FALSE);
  const std::wstring log = folder + L"\\probe.log";
  SetEnvironmentVariableW(L"KARVOSS_PROBE_LOG", log.c_str());

  HWND bar = nullptr;
  {
    Process karvoss;
    const auto start = Clock::now();
    if (!karvoss.Start(L"\"" + folder + L"\\karvoss.exe\"", folder))
      return Fail("cannot start karvoss.exe");
    if (!Until([&] { return (bar = WindowOf(karvoss.pid(), L"TForm1")) != nullptr; }))
      return Fail("the bar window did not appear");
    run.windowMs = MillisecondsSince(start);
    run.waiting = IdleMemoryOf(karvoss.handle());
    if (WindowOf(karvoss.pid(), L"#32770"))
      return Fail("Karvoss shows a message box (is another Karvoss running in this prefix?)");

    const auto hotkey = Clock::now();
    PostMessageW(bar, WM_HOTKEY, 0, MAKELPARAM(MOD_WIN, 'Z'));
    const bool shown = Until([&] {
      RECT r{};
      GetWindowRect(bar, &r);
      return IsWindowVisible(bar) && r.top == 0;
    });
    if (!shown)
      return Fail("the bar did not come down");
    run.hotkeyMs = MillisecondsSince(hotkey);

    HWND panel = FindWindowExW(bar, nullptr, L"TsPanel", nullptr);
    HWND field = FindWindowExW(panel, nullptr, L"ComboBox", nullptr);
    HWND edit = FindWindowExW(field, nullptr, L"Edit", nullptr);
    if (!Until([&] { return GetForegroundWindow() == bar && FocusOf(bar) == edit; }))
      return Fail("the bar did not take the focus");
    run.shown = IdleMemoryOf(karvoss.handle());
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"probe.exe|bench"));
    INPUT keys[2]{};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_RETURN;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    const auto enter = Clock::now();
    SendInput(2, keys, sizeof(INPUT));
    if (!Until([&] { return FileSize(log) > 0; }))
      return Fail("the probe did not run");
    run.enterMs = MillisecondsSince(enter);
  }
  // The probe may still hold its log.
  Sleep(100);
  return true;
}

bool MeasureRunDialog(RunDialogRun& run) {
  Process rundll;
  const auto start = Clock::now();
  if (!rundll.Start(L"rundll32.exe shell32.dll,#61", L""))
    return Fail("cannot start rundll32.exe");
  if (!Until([&] { return WindowOf(rundll.pid(), L"#32770") != nullptr; }))
    return Fail("the Run dialog did not appear");
  run.windowMs = MillisecondsSince(start);
  run.shown = IdleMemoryOf(rundll.handle());
  return true;
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

void Row(const char* name, const std::string& karvoss, const std::string& other,
         const std::string& ratio) {
  std::printf("| %-44s | %-22s | %-22s | %-5s |\n", name, karvoss.c_str(), other.c_str(),
              ratio.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 7;
  const std::wstring bin = Folder();
  if (FindWindowW(L"TForm1", nullptr)) {
    Fail("a Karvoss is already running in this Wine prefix; end it first");
    return 1;
  }

  std::vector<KarvossRun> karvoss;
  std::vector<RunDialogRun> dialog;
  // One warm-up run of each fills the file cache and starts Wine's shared services.
  for (int i = -1; i < runs; ++i) {
    KarvossRun k;
    RunDialogRun r;
    if (!MeasureKarvoss(bin, i + 1, k) || !MeasureRunDialog(r))
      return 1;
    if (i >= 0) {
      karvoss.push_back(k);
      dialog.push_back(r);
    }
  }

  using K = KarvossRun;
  using R = RunDialogRun;
  const Stats kWindow = Collect<K>(karvoss, [](const K& r) { return r.windowMs; });
  const Stats rWindow = Collect<R>(dialog, [](const R& r) { return r.windowMs; });
  const Stats kShownWs = Collect<K>(karvoss, [](const K& r) { return r.shown.workingSetMb; });
  const Stats kWaitingWs = Collect<K>(karvoss, [](const K& r) { return r.waiting.workingSetMb; });
  const Stats rWs = Collect<R>(dialog, [](const R& r) { return r.shown.workingSetMb; });
  const Stats kPrivate = Collect<K>(karvoss, [](const K& r) { return r.shown.privateMb; });
  const Stats rPrivate = Collect<R>(dialog, [](const R& r) { return r.shown.privateMb; });
  const Stats kHotkey = Collect<K>(karvoss, [](const K& r) { return r.hotkeyMs; });
  const Stats kEnter = Collect<K>(karvoss, [](const K& r) { return r.enterMs; });

  std::printf(
      "Karvoss beside Wine's Run dialog: %d runs each, alternately, after one warm-up run\n", runs);
  std::printf("of each; median (lowest-highest); ratio = Karvoss / Run dialog.\n\n");
  Row("Measure", "karvoss.exe", "Run dialog (#61)", "ratio");
  std::printf("|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(24, '-').c_str(),
              std::string(24, '-').c_str(), std::string(7, '-').c_str());
  Row("Process start to window created, ms", Cell(kWindow, 1), Cell(rWindow, 1),
      Ratio(kWindow, rWindow));
  Row("Working set, window on screen, MB", Cell(kShownWs, 1), Cell(rWs, 1), Ratio(kShownWs, rWs));
  Row("Working set, Karvoss waiting hidden, MB", Cell(kWaitingWs, 1), Cell(rWs, 1),
      Ratio(kWaitingWs, rWs));
  Row("Private bytes, window on screen, MB", Cell(kPrivate, 1), Cell(rPrivate, 1),
      Ratio(kPrivate, rPrivate));
  Row("WM_HOTKEY to the bar at top 0 (Delay 0), ms", Cell(kHotkey, 1), "-", "-");
  Row("Enter to the started program's record, ms", Cell(kEnter, 1), "-", "-");
  if (kPrivate.median <= 0)
    std::printf("\nPrivate bytes read 0 under Wine (GetProcessMemoryInfo leaves them unset).\n");
  return 0;
}
