#include "app/suggestions_win.h"

#include <objbase.h>
#include <shldisp.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "app/suggestions.h"
#include "toolkit/handles_win.h"
#include "toolkit/system_library_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

using TaskAllocFunction = LPVOID(WINAPI*)(SIZE_T);

// The strings the autocomplete object enumerates. It asks again (Reset) when the text enters
// another folder (Expand), so the list is made from the field's text at that moment.
class SuggestionEnumerator final : public IEnumString, public IACList {
 public:
  SuggestionEnumerator(HWND edit, FieldSuggestions::Source source, TaskAllocFunction alloc)
      : edit_(edit), source_(std::move(source)), alloc_(alloc) {}

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
    next_ = std::min(items_.size(), next_ + count);
    return next_ < items_.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    items_.clear();
    next_ = 0;
    try {
      for (const std::string& item : source_(WindowText(edit_)))
        items_.push_back(Widen(item));
    } catch (const std::exception&) {
      // No suggestions this time (out of memory, say); the field itself goes on.
      items_.clear();
    }
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumString** clone) override {
    if (clone)
      *clone = nullptr;
    return E_NOTIMPL;
  }

  // IACList: the folder is read from the field's text at the Reset that follows.
  STDMETHODIMP Expand(LPCWSTR) override { return S_OK; }

 private:
  ~SuggestionEnumerator() = default;

  LONG refs_ = 1;
  HWND edit_;
  FieldSuggestions::Source source_;
  TaskAllocFunction alloc_;
  std::vector<std::wstring> items_;
  size_t next_ = 0;
};

}  // namespace

std::unique_ptr<FieldSuggestions> FieldSuggestions::Attach(HWND edit, Source source) {
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
  auto* enumerator = new SuggestionEnumerator(edit, std::move(source), alloc);
  const HRESULT attached =
      suggestions->complete_->Init(edit, static_cast<IEnumString*>(enumerator), nullptr, nullptr);
  enumerator->Release();  // the autocomplete object holds it now
  if (FAILED(attached))
    return nullptr;
  // ACO_AUTOSUGGEST alone: a list to pick from, never text the user did not type.
  suggestions->complete_->SetOptions(ACO_AUTOSUGGEST);
  suggestions->complete_->QueryInterface(IID_IAutoCompleteDropDown,
                                         reinterpret_cast<void**>(&suggestions->dropDown_));
  return suggestions;
}

FieldSuggestions::~FieldSuggestions() {
  if (dropDown_)
    dropDown_->Release();
  if (complete_)
    complete_->Release();
}

bool FieldSuggestions::IsOpen() const {
  DWORD flags = 0;
  return dropDown_ && SUCCEEDED(dropDown_->GetDropDownStatus(&flags, nullptr)) &&
         (flags & ACDD_VISIBLE);
}

void FieldSuggestions::BringListToFront() const {
  // The list's window is the platform's: a pop-up of this thread that takes no activation (the
  // history list of the combo box is not one).
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
  if (list) {
    SetWindowPos(list, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

std::vector<std::string> ListFolderForSuggestions(const std::string& folder) {
  std::vector<FolderEntry> entries;
  // A drive with no medium in it must not put up the system's "insert a disk" box.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  WIN32_FIND_DATAW data{};
  FindHandle find(FindFirstFileExW(Widen(folder + "*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  SetErrorMode(oldMode);
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

std::vector<std::string> SuggestionsFor(const std::string& typed,
                                        const std::vector<std::string>& commandLines) {
  std::vector<std::string> items = NameSuggestions(commandLines);
  if (const std::string folder = SuggestionFolder(typed); !folder.empty()) {
    std::vector<std::string> entries = ListFolderForSuggestions(folder);
    items.insert(items.end(), std::make_move_iterator(entries.begin()),
                 std::make_move_iterator(entries.end()));
  }
  return items;
}

}  // namespace kv
