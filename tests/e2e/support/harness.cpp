#include "tests/e2e/support/harness.h"

#include <psapi.h>
#include <shellapi.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "app/bar.h"
#include "toolkit/dpi_win.h"
#include "toolkit/gdi_win.h"

namespace kv::e2e {
namespace {

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256];
  const int n = GetClassNameW(hwnd, name, 256);
  return std::wstring(name, static_cast<size_t>(n));
}

SIZE ClientSize(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return {r.right, r.bottom};
}

std::wstring TextOf(HWND hwnd) {
  const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT n =
      SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return text;
}

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    items.push_back(text);
  }
  return items;
}

bool Poll(const std::function<bool()>& condition, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    PumpMessages();
    if (condition())
      return true;
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    Sleep(20);
  }
}

void Settle(int milliseconds) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
  while (GetTickCount() < until) {
    PumpMessages();
    Sleep(10);
  }
}

std::wstring BinFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/"));
}

std::wstring Wide(const std::string& s) {
  if (s.empty())
    return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE)
    return {};
  std::string bytes;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0)
    bytes.append(buffer, n);
  CloseHandle(f);
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE)
    throw std::runtime_error("cannot write " + Utf8(path));
  DWORD n = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(f);
}

bool FileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> FolderEntries(const std::wstring& path) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE)
    return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..")
      names.push_back(name);
  } while (FindNextFileW(h, &data));
  FindClose(h);
  return names;
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    path_ = std::wstring(base) + L"karvoss-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr))
      break;
  }
}

TempFolder::~TempFolder() {
  RemoveTree(path_);
}

Karvoss::Karvoss() : Karvoss(Options{}) {}

Karvoss::Karvoss(Options options) : options_(std::move(options)) {
  if (options_.folder.empty()) {
    temp_ = new TempFolder();
    folder_ = temp_->Path();
  } else {
    folder_ = options_.folder;
  }
  CopyFileW((BinFolder() + L"\\karvoss.exe").c_str(), (folder_ + L"\\karvoss.exe").c_str(), FALSE);
  probeLog_ = folder_ + L"\\probe.log";
  if (options_.start)
    Start();
}

Karvoss::~Karvoss() {
  if (process_.hProcess) {
    if (Running())
      TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  // Probes may still be writing their records.
  Settle(50);
  delete temp_;
}

namespace {

// Every Karvoss this program starts ends with it: a test that CTest stops at its time limit
// must not leave a copy whose single-instance guard fails every test after it.
HANDLE EndWithThisProgram() {
  static HANDLE job = [] {
    HANDLE created = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    if (created) {
      SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return created;
  }();
  return job;
}

}  // namespace

void Karvoss::Start() {
  SetEnvironmentVariableW(L"KARVOSS_PROBE_LOG", probeLog_.c_str());
  const std::wstring exe = folder_ + L"\\karvoss.exe";
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder_.c_str(), &si, &process_)) {
    throw std::runtime_error("cannot start karvoss.exe");
  }
  if (HANDLE job = EndWithThisProgram())
    AssignProcessToJobObject(job, process_.hProcess);
  pid_ = process_.dwProcessId;
  bar_ = nullptr;
}

void Karvoss::AddProbe(const std::wstring& name) const {
  CopyFileW((BinFolder() + L"\\probe.exe").c_str(), (folder_ + L"\\" + name).c_str(), FALSE);
}

std::vector<ProbeRecord> Karvoss::ProbeRecords() const {
  std::vector<ProbeRecord> records;
  const std::string text = ReadFileBytes(probeLog_);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos)
      break;
    const std::string line = text.substr(start, end - start);
    const size_t tab1 = line.find('\t');
    const size_t tab2 = line.find('\t', tab1 + 1);
    if (tab1 != std::string::npos && tab2 != std::string::npos) {
      records.push_back(
          {line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
    }
    start = end + 1;
  }
  return records;
}

bool Karvoss::WaitProbeRecords(size_t count) const {
  return Poll([&] { return ProbeRecords().size() >= count; });
}

bool Karvoss::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Karvoss::WaitIdle() {
  // The hook thread's queue satisfies WaitForInputIdle before the program's thread is done.
  return process_.hProcess && WaitForInputIdle(process_.hProcess, kDeadlineMs) == 0 &&
         Field() != nullptr;
}

bool Karvoss::HasLoaded(const wchar_t* library) const {
  HMODULE modules[512];
  DWORD bytes = 0;
  if (!EnumProcessModules(process_.hProcess, modules, sizeof modules, &bytes))
    return false;
  for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
    wchar_t name[MAX_PATH] = {};
    if (GetModuleBaseNameW(process_.hProcess, modules[i], name, MAX_PATH) &&
        lstrcmpiW(name, library) == 0) {
      return true;
    }
  }
  return false;
}

bool Karvoss::WaitExit(int timeoutMs) const {
  return Poll([&] { return !Running(); }, timeoutMs);
}

HWND FindProcessWindow(DWORD pid, const wchar_t* className, bool visibleOnly) {
  struct Search {
    DWORD pid;
    const wchar_t* className;
    bool visibleOnly;
    HWND found;
  } search{pid, className, visibleOnly, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == s->pid && ClassOf(hwnd) == s->className &&
            (!s->visibleOnly || IsWindowVisible(hwnd))) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Karvoss::Bar() {
  if (!bar_ || !IsWindow(bar_)) {
    bar_ = nullptr;
    Poll([&] { return (bar_ = FindProcessWindow(pid_, L"TForm1")) != nullptr; });
  }
  if (!bar_)
    throw std::runtime_error("the bar window did not appear");
  return bar_;
}

HWND Karvoss::Field() {
  // Made when the program is first idle after start-up.
  HWND panel = FindWindowExW(Bar(), nullptr, L"TsPanel", nullptr);
  HWND field = nullptr;
  Poll([&] { return (field = FindWindowExW(panel, nullptr, L"ComboBox", nullptr)) != nullptr; });
  return field;
}

HWND Karvoss::Edit() {
  return FindWindowExW(Field(), nullptr, L"Edit", nullptr);
}

RECT Karvoss::BarRect() {
  RECT r{};
  GetWindowRect(Bar(), &r);
  return r;
}

bool Karvoss::BarVisible() {
  return IsWindowVisible(Bar()) != 0;
}

void Karvoss::Hotkey() {
  PostMessageW(Bar(), WM_HOTKEY, 0, MAKELPARAM(MOD_WIN, 'Z'));
}

bool Karvoss::WaitShown() {
  return Poll([&] { return BarVisible() && BarRect().top == 0; });
}

bool Karvoss::WaitHidden() {
  const int top = BarMetricsAt(SystemScale()).hiddenTop;
  return Poll([&] { return !BarVisible() && BarRect().top == top; });
}

void Karvoss::Run(const std::wstring& text) {
  if (!BarVisible()) {
    Hotkey();
    if (!WaitShown())
      throw std::runtime_error("the bar did not come down");
  }
  Poll([&] { return GetForegroundWindow() == Bar(); });
  SendMessageW(Field(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PressKey(VK_RETURN);
}

std::wstring Karvoss::FieldText() {
  return TextOf(Field());
}

std::vector<HWND> Karvoss::MessageBoxes() const {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid_, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == s->pid && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") {
          s->found.push_back(hwnd);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Karvoss::WaitMessageBox() const {
  HWND box = nullptr;
  Poll([&] {
    const auto boxes = MessageBoxes();
    box = boxes.empty() ? nullptr : boxes.front();
    return box != nullptr;
  });
  return box;
}

WindowText Karvoss::TextsOf(HWND box) {
  WindowText result;
  result.caption = TextOf(box);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Static") {
      const std::wstring text = TextOf(child);
      if (!text.empty())
        result.statics.push_back(text);
    }
  }
  return result;
}

void Karvoss::Confirm(HWND box) {
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2]{};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = virtualKey;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void PressWinZ(int repeats) {
  std::vector<INPUT> inputs;
  const auto key = [&](WORD vk, bool down) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    inputs.push_back(i);
  };
  key(VK_LWIN, true);
  for (int i = 0; i <= repeats; ++i)
    key('Z', true);
  key('Z', false);
  key(VK_LWIN, false);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wScan = c;
    inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
  }
}

void MoveMouse(int x, int y) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN);
  input.mi.dy = (y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void MouseButton(bool down, bool right) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                           : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  SendInput(1, &input, sizeof input);
}

void Click(int x, int y) {
  MoveMouse(x, y);
  Settle(30);
  MouseButton(true);
  Settle(30);
  MouseButton(false);
}

HeldFile::HeldFile(const std::wstring& path, DWORD share)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}

HeldFile::~HeldFile() {
  if (releaser_.joinable())
    releaser_.join();
  Release();
}

void HeldFile::ReleaseAfter(int milliseconds) {
  // The hold's length is the condition under test, so this one sleep is the point.
  releaser_ = std::thread([this, milliseconds] {
    Sleep(static_cast<DWORD>(milliseconds));
    Release();
  });
}

void HeldFile::Release() {
  HANDLE handle = InterlockedExchangePointer(&handle_, INVALID_HANDLE_VALUE);
  if (handle != INVALID_HANDLE_VALUE)
    CloseHandle(handle);
}

OtherWindow::OtherWindow() {
  hwnd_ = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 300,
                          200, nullptr, nullptr, nullptr, nullptr);
}

OtherWindow::~OtherWindow() {
  DestroyWindow(hwnd_);
}

void OtherWindow::Activate() {
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
}

COLORREF ScreenPixel(int x, int y) {
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return c;
}

Bitmap CaptureScreen(int x, int y, int width, int height) {
  DibSection dib;
  dib.Resize(width, height);
  HDC screen = GetDC(nullptr);
  BitBlt(dib.Dc(), 0, 0, width, height, screen, x, y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  Bitmap copy(width, height);
  std::memcpy(copy.bits(), dib.Pixels().bits(), static_cast<size_t>(copy.stride()) * height);
  return copy;
}

}  // namespace kv::e2e
