#include "toolkit/shell_win.h"

#include <objbase.h>

#include "toolkit/system_library_win.h"

namespace kv {

Shell::~Shell() {
  if (!comEntered_)
    return;
  using Function = void(WINAPI*)();
  if (const auto leave = SystemEntry<Function>(L"ole32.dll", "CoUninitialize"))
    leave();
}

void Shell::Load() {
  if (loaded_)
    return;
  loaded_ = true;
  // The shell's "open" of documents and addresses may need COM on this thread.
  using Enter = HRESULT(WINAPI*)(LPVOID, DWORD);
  if (const auto enter = SystemEntry<Enter>(L"ole32.dll", "CoInitializeEx")) {
    comEntered_ = SUCCEEDED(enter(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }
  execute_ = SystemEntry<ShellExecuteFunction>(L"shell32.dll", "ShellExecuteW");
}

int Shell::Open(const std::wstring& file, const std::wstring& parameters,
                const std::wstring& directory) {
  Load();
  if (!execute_)
    return 0;
  const HINSTANCE result =
      execute_(nullptr, L"open", file.c_str(), parameters.c_str(), directory.c_str(), SW_SHOW);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace kv
