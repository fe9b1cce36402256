#include "app/suggestions_win.h"

#include <objbase.h>
#include <shldisp.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "app/suggestions.h"
#include "toolkit/handles_win.h"
#include "toolkit/system_library_win.h"
#include "toolkit/text_win.h"

namespace kv {

using TaskAllocFunction = LPVOID(WINAPI*)(SIZE_T);

namespace {

// The folder's entries as the field offers them (see FolderSuggestions).
std::vector<std::string> ListFolderForSuggestions(const std::string& folder) {
  std::vector<FolderEntry> entries;
  // A drive with no medium in it must not put up the system's "insert a disk" box.
  DWORD oldMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);
  WIN32_FIND_DATAW data{};
  FindHandle find(FindFirstFileExW(Widen(folder + "*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  SetThreadErrorMode(oldMode, nullptr);
  if (!find.valid())
    return {};
  do {
    // A folder of thousands is cut short in FolderSuggestions; reading on would only cost time.
    if (entries.size() > kMaxFolderSuggestions + 2)
      break;
    entries.push_back(
        {Narrow(data.cFileName),
         (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0});
  } while (FindNextFileW(find.get(), &data));
  return FolderSuggestions(folder, entries);
}

// The list's window when in view: the platform's pop-up on this thread that takes no activation
// (the combo box's history list is not one).
HWND ShownListWindow() {
  HWND list = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM data) -> BOOL {
        wchar_t className[16] = {};
        GetClassNameW(w, className, 16);
        if (IsWindowVisible(w) && (GetWindowLongPtrW(w, GWL_STYLE) & WS_POPUP) &&
            (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_NOACTIVATE) &&
            lstrcmpW(className, L"ComboLBox") != 0) {
          *reinterpret_cast<HWND*>(data) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&list));
  return list;
}

}  // namespace

// The strings the autocomplete object enumerates. It may do so on a thread of its own (Windows
// keeps typing responsive that way), so everything it reads comes under a lock: the names the
// field sets on its own thread, and the folder the object asks to expand when the text enters
// one (the text up to its last backslash).
class SuggestionEnumerator final : public IEnumString, public IACList {
 public:
  explicit SuggestionEnumerator(TaskAllocFunction alloc) : alloc_(alloc) {}

  void SetNames(const std::vector<std::string>& names) {
    std::vector<std::wstring> wide;
    wide.reserve(names.size());
    for (const std::string& name : names)
      wide.push_back(Widen(name));
    const std::lock_guard<std::mutex> lock(mutex_);
    names_ = std::move(wide);
  }

  // IUnknown.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object)
      return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumString)) {
      *object = static_cast<IEnumString*>(this);
    } else if (IsEqualIID(iid, IID_IACList)) {
      *object = static_cast<IACList*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
      delete this;
    return static_cast<ULONG>(left);
  }

  // IEnumString.
  STDMETHODIMP Next(ULONG count, LPOLESTR* strings, ULONG* fetched) override {
    if (!strings || (count > 1 && !fetched))
      return E_POINTER;
    Refresh();
    ULONG given = 0;
    while (given < count && next_ < items_.size()) {
      const std::wstring& item = items_[next_];
      const size_t bytes = (item.size() + 1) * sizeof(wchar_t);
      auto* copy = static_cast<wchar_t*>(alloc_(bytes));
      if (!copy)
        break;
      std::memcpy(copy, item.c_str(), bytes);
      strings[given++] = copy;
      ++next_;
    }
    if (fetched)
      *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    Refresh();
    next_ = std::min(items_.size(), next_ + count);
    return next_ < items_.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    const std::lock_guard<std::mutex> lock(mutex_);
    stale_ = true;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumString** clone) override {
    if (clone)
      *clone = nullptr;
    return E_NOTIMPL;
  }

  // IACList.
  STDMETHODIMP Expand(LPCWSTR root) override {
    try {
      std::wstring folder = root ? Widen(SuggestionFolder(Narrow(root))) : std::wstring();
      const std::lock_guard<std::mutex> lock(mutex_);
      folder_ = std::move(folder);
      stale_ = true;
    } catch (const std::exception&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

 private:
  ~SuggestionEnumerator() = default;

  // Makes the list again after a Reset or an Expand. The work waits for the first string asked
  // for: the object may call the two in either order.
  void Refresh() {
    try {
      std::wstring folder;
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!stale_)
          return;
        stale_ = false;
        next_ = 0;
        items_ = names_;
        folder = folder_;
      }
      if (!folder.empty()) {
        for (const std::string& entry : ListFolderForSuggestions(Narrow(folder)))
          items_.push_back(Widen(entry));
      }
    } catch (const std::exception&) {
      // No suggestions this time (out of memory, say); the field itself goes on.
      items_.clear();
    }
  }

  LONG refs_ = 1;
  TaskAllocFunction alloc_;
  std::mutex mutex_;
  std::vector<std::wstring> names_;  // under mutex_
  std::wstring folder_;              // under mutex_; empty when no folder is to be listed
  bool stale_ = true;                // under mutex_
  // Used by the enumerating thread only.
  std::vector<std::wstring> items_;
  size_t next_ = 0;
};

std::unique_ptr<FieldSuggestions> FieldSuggestions::Attach(HWND edit) {
  using CreateFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  const auto create = SystemEntry<CreateFunction>(L"ole32.dll", "CoCreateInstance");
  const auto alloc = SystemEntry<TaskAllocFunction>(L"ole32.dll", "CoTaskMemAlloc");
  if (!edit || !create || !alloc)
    return nullptr;
  std::unique_ptr<FieldSuggestions> suggestions(new FieldSuggestions);
  if (FAILED(create(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER, IID_IAutoComplete2,
                    reinterpret_cast<void**>(&suggestions->complete_)))) {
    return nullptr;
  }
  suggestions->enumerator_ = new SuggestionEnumerator(alloc);
  if (FAILED(suggestions->complete_->Init(edit, static_cast<IEnumString*>(suggestions->enumerator_),
                                          nullptr, nullptr))) {
    return nullptr;
  }
  // ACO_AUTOSUGGEST alone: a list to pick from, never text the user did not type.
  suggestions->complete_->SetOptions(ACO_AUTOSUGGEST);
  suggestions->complete_->QueryInterface(IID_IAutoCompleteDropDown,
                                         reinterpret_cast<void**>(&suggestions->dropDown_));
  return suggestions;
}

FieldSuggestions::~FieldSuggestions() {
  if (enumerator_)
    enumerator_->Release();
  if (dropDown_)
    dropDown_->Release();
  if (complete_)
    complete_->Release();
}

void FieldSuggestions::SetNames(const std::vector<std::string>& names) {
  enumerator_->SetNames(names);
}

bool FieldSuggestions::IsOpen() const {
  DWORD flags = 0;
  return dropDown_ && SUCCEEDED(dropDown_->GetDropDownStatus(&flags, nullptr)) &&
         (flags & ACDD_VISIBLE);
}

void FieldSuggestions::BringListToFront() const {
  if (HWND list = ShownListWindow()) {
    SetWindowPos(list, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

void FieldSuggestions::CloseList() const {
  if (HWND list = ShownListWindow())
    ShowWindow(list, SW_HIDE);
}

}  // namespace kv
