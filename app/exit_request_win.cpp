#include "app/exit_request_win.h"

#include <windows.h>

#include <vector>

#include "app/exit_request.h"
#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

// The longest a running copy may take to answer one of the messages.
constexpr UINT kAnswerMs = 2000;
constexpr DWORD kPollMs = 50;

struct RunningCopy {
  HWND bar;
  DWORD pid;
  KernelHandle process;
};

std::wstring ImageOf(HANDLE process) {
  wchar_t path[MAX_PATH * 2];
  DWORD size = MAX_PATH * 2;
  return QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size)
                                                             : std::wstring();
}

std::vector<RunningCopy> FindRunningCopies() {
  std::vector<RunningCopy> found;
  for (HWND bar = FindWindowExW(nullptr, nullptr, L"TForm1", nullptr); bar;
       bar = FindWindowExW(nullptr, bar, L"TForm1", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    bool known = pid == GetCurrentProcessId();
    for (const RunningCopy& copy : found)
      known = known || copy.pid == pid;
    if (known)
      continue;
    KernelHandle process(OpenProcess(
        PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
    if (process.Valid() && IsKarvossImage(Narrow(ImageOf(process))))
      found.push_back({bar, pid, std::move(process)});
  }
  return found;
}

// The single-instance mutex lives as long as a Karvoss process does, whatever its file name.
bool InstanceMutexExists() {
  const KernelHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, L"Karvossz"));
  return mutex.Valid();
}

bool Running(const RunningCopy& copy) {
  return WaitForSingleObject(copy.process, 0) == WAIT_TIMEOUT;
}

}  // namespace

int EndRunningKarvoss() {
  const ULONGLONG start = GetTickCount64();
  std::vector<RunningCopy> copies = FindRunningCopies();
  for (const RunningCopy& copy : copies) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(copy.bar, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                        kAnswerMs, &answer);
    SendMessageTimeoutW(copy.bar, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                        kAnswerMs, &answer);
  }
  bool terminated = false;
  for (;;) {
    bool anyRunning = InstanceMutexExists();
    for (const RunningCopy& copy : copies)
      anyRunning = anyRunning || Running(copy);
    const int elapsedMs = static_cast<int>(GetTickCount64() - start);
    switch (NextEndingStep(elapsedMs, anyRunning, terminated)) {
      case EndingStep::done:
        return kExitEnded;
      case EndingStep::giveUp:
        return kExitStillRunning;
      case EndingStep::terminate:
        for (const RunningCopy& copy : copies) {
          if (Running(copy))
            TerminateProcess(copy.process, 1);
        }
        terminated = true;
        break;
      case EndingStep::wait:
        Sleep(kPollMs);
        break;
    }
  }
}

}  // namespace kv
