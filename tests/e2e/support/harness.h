// Drives a real karvoss.exe: a fresh folder per test, the process started from it, its windows
// found by class, real input and window messages, polling with deadlines.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/support/common.h"
#include "toolkit/bitmap.h"

namespace kv::e2e {

inline constexpr int kDeadlineMs = 15000;

// Polls every 20 ms until the condition holds or the deadline passes.
bool Poll(const std::function<bool()>& condition, int timeoutMs = kDeadlineMs);
// Lets the given time pass while still pumping this thread's messages (for "nothing happens
// within" checks only; every positive check polls).
void Settle(int milliseconds);

std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);                    // WM_GETTEXT, so it works across processes
std::vector<std::wstring> ComboItems(HWND combo);  // the rows of a combo box's list
SIZE ClientSize(HWND hwnd);

std::wstring BinFolder();  // where karvoss.exe, probe.exe and this program were built
std::wstring Wide(const std::string& s);

std::string ReadFileBytes(const std::wstring& path);  // "" when missing
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::vector<std::wstring> FolderEntries(const std::wstring& path);

// A fresh empty folder under the temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

struct ProbeRecord {
  std::string program;    // file name of the probe copy that ran
  std::string arguments;  // its command line after the program name
  std::string folder;     // its working folder
};

struct WindowText {
  std::wstring caption;
  std::vector<std::wstring> statics;
};

class Karvoss {
 public:
  struct Options {
    bool start = true;
    std::wstring folder;  // run from this folder instead of a fresh one
  };
  Karvoss();
  explicit Karvoss(Options options);
  ~Karvoss();
  Karvoss(const Karvoss&) = delete;
  Karvoss& operator=(const Karvoss&) = delete;

  void Start();
  const std::wstring& Folder() const { return folder_; }
  std::wstring DataFile(const std::wstring& name) const { return folder_ + L"\\Data\\" + name; }
  // A copy of the probe under this name in the program's folder.
  void AddProbe(const std::wstring& name) const;
  std::vector<ProbeRecord> ProbeRecords() const;
  bool WaitProbeRecords(size_t count) const;

  DWORD Pid() const { return pid_; }
  // Waits until start-up is over and the program waits for input: its own thread has been idle
  // (the field is made then), not only another thread of it.
  bool WaitIdle();
  // The program has loaded this library (by file name, case ignored).
  bool HasLoaded(const wchar_t* library) const;
  bool Running() const;
  bool WaitExit(int timeoutMs = kDeadlineMs) const;

  // The bar window; waits until it exists.
  HWND Bar();
  HWND Field();  // the command field's combo box
  HWND Edit();   // the combo box's edit
  RECT BarRect();
  bool BarVisible();

  void Hotkey();
  bool WaitShown();   // visible at top 0
  bool WaitHidden();  // hidden at its hidden top (-100 at 96 DPI)
  // Shows the bar, replaces the field's text and presses Enter.
  void Run(const std::wstring& text);
  std::wstring FieldText();

  // Visible message boxes (#32770) of this process.
  std::vector<HWND> MessageBoxes() const;
  HWND WaitMessageBox() const;
  static WindowText TextsOf(HWND box);
  static void Confirm(HWND box);  // presses its OK

 private:
  Options options_;
  std::wstring folder_;
  std::wstring probeLog_;
  TempFolder* temp_ = nullptr;
  PROCESS_INFORMATION process_{};
  DWORD pid_ = 0;
  HWND bar_ = nullptr;
};

// Input to the foreground window.
void PressKey(WORD virtualKey);
// Win+Z as a user types it: Windows key down, Z down (and `repeats` key repeats), Z up, Windows
// key up.
void PressWinZ(int repeats = 0);
void TypeText(const std::wstring& text);
void MoveMouse(int x, int y);
void MouseButton(bool down, bool right = false);
void Click(int x, int y);

// Another program holding a file open, as a scanner, an indexer or a backup tool does: opened
// with the given sharing until released (or, after ReleaseAfter, for that long).
class HeldFile {
 public:
  HeldFile(const std::wstring& path, DWORD share);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void ReleaseAfter(int milliseconds);
  void Release();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::thread releaser_;
};

// A plain top-level window of the test program that can take the activation.
class OtherWindow {
 public:
  OtherWindow();
  ~OtherWindow();
  HWND Hwnd() const { return hwnd_; }
  void Activate();

 private:
  HWND hwnd_ = nullptr;
};

COLORREF ScreenPixel(int x, int y);
// A copy of a screen rectangle, read in one go (far faster than pixel by pixel).
Bitmap CaptureScreen(int x, int y, int width, int height);
// The window of the given class that belongs to the process, if any.
HWND FindProcessWindow(DWORD pid, const wchar_t* className, bool visibleOnly = false);

}  // namespace kv::e2e
