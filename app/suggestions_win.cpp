#include "app/suggestions_win.h"

#include <commctrl.h>
#include <objbase.h>
#include <shldisp.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "app/folder_lister_win.h"
#include "app/suggestions.h"
#include "toolkit/handles_win.h"
#include "toolkit/system_library_win.h"
#include "toolkit/text_win.h"

namespace kv {

using TaskAllocFunction = LPVOID(WINAPI*)(SIZE_T);

namespace {

std::optional<std::string> LookUpEnvironment(std::string_view name) {
  const std::wstring wide = Widen(name);
  const DWORD size = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  if (size == 0)
    return std::nullopt;
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(wide.c_str(), value.data(), size));
  return Narrow(value);
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

// The strings the autocomplete object enumerates, made for the text the field last reported.
// The object may enumerate on a thread of its own (Windows does, and keeps typing responsive
// that way): everything set from the field's thread is read under a lock, and a folder is
// listed right there. Where it enumerates on the field's thread, the folder is listed in the
// background and the object is asked to look again when the listing is done.
class SuggestionEnumerator final : public IEnumString, public IACList {
 public:
  SuggestionEnumerator(TaskAllocFunction alloc, HWND notify, UINT listedMessage)
      : alloc_(alloc),
        fieldThread_(GetCurrentThreadId()),
        notify_(notify),
        listedMessage_(listedMessage) {}

  void SetNames(std::vector<std::string> names) {
    const std::lock_guard<std::mutex> lock(mutex_);
    names_ = std::move(names);
    made_.reset();
  }

  void SetHistory(std::shared_ptr<const std::vector<std::string>> history) {
    const std::lock_guard<std::mutex> lock(mutex_);
    history_ = std::move(history);
    made_.reset();
  }

  // The list is to be made for `typed`; false when the one made last does not hold every
  // offer for it.
  bool SetTyped(const std::string& typed) {
    const std::lock_guard<std::mutex> lock(mutex_);
    typed_ = typed;
    suppressed_ = false;
    return made_ && madeComplete_ && SuggestionsCover(*made_, typed);
  }

  // Nothing is offered until the next SetTyped.
  void Suppress() {
    const std::lock_guard<std::mutex> lock(mutex_);
    suppressed_ = true;
    made_.reset();
  }

  bool Suppressed() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return suppressed_;
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
    const size_t skipped = std::min<size_t>(count, items_.size() - next_);
    next_ += skipped;
    return skipped == count ? S_OK : S_FALSE;
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

  // IACList: the object names the folder it means to complete; the typed text says the same.
  STDMETHODIMP Expand(LPCWSTR) override { return Reset(); }

 private:
  ~SuggestionEnumerator() = default;

  // Makes the list again after a Reset or an Expand. The work waits for the first string asked
  // for: the object may call the two in either order.
  void Refresh() {
    std::string typed;
    std::vector<std::string> names;
    std::shared_ptr<const std::vector<std::string>> history;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (!stale_)
        return;
      stale_ = false;
      next_ = 0;
      items_.clear();
      if (suppressed_ || typed_.empty()) {
        made_.reset();
        return;
      }
      typed = typed_;
      names = names_;
      history = history_;
    }
    bool complete = false;
    try {
      const std::optional<PathQuery> path = ParsePathQuery(typed, LookUpEnvironment);
      FolderListing listing;
      bool final = true;
      if (path && GetCurrentThreadId() == fieldThread_) {
        if (!lister_)
          lister_ = std::make_unique<BackgroundLister>(notify_, listedMessage_);
        listing = lister_->Take(*path, final);
      } else if (path) {
        listing = ListFolder(path->folder, path->namePrefix);
      }
      static const std::vector<std::string> kNoHistory;
      const SuggestionList list =
          MakeSuggestions(typed, history ? *history : kNoHistory, names, path ? &*path : nullptr,
                          listing.names, listing.complete);
      for (const std::string& item : list.items)
        items_.push_back(Widen(item));
      complete = list.complete && final;
    } catch (const std::exception&) {
      // No suggestions this time (out of memory, say); the field itself goes on.
      items_.clear();
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    made_ = typed;
    madeComplete_ = complete;
  }

  LONG refs_ = 1;
  const TaskAllocFunction alloc_;
  const DWORD fieldThread_;
  const HWND notify_;
  const UINT listedMessage_;
  std::mutex mutex_;
  std::vector<std::string> names_;                           // under mutex_
  std::shared_ptr<const std::vector<std::string>> history_;  // under mutex_
  std::string typed_;                                        // under mutex_
  bool suppressed_ = true;                                   // under mutex_
  bool stale_ = true;                                        // under mutex_
  std::optional<std::string> made_;  // under mutex_: the text the last list was made for
  bool madeComplete_ = false;        // under mutex_
  // Used by the enumerating thread only.
  std::vector<std::wstring> items_;
  size_t next_ = 0;
  std::unique_ptr<BackgroundLister> lister_;
};

std::unique_ptr<FieldSuggestions> FieldSuggestions::Attach(HWND edit, HWND notify,
                                                           UINT listedMessage) {
  using CreateFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  const auto create = SystemEntry<CreateFunction>(L"ole32.dll", "CoCreateInstance");
  const auto alloc = SystemEntry<TaskAllocFunction>(L"ole32.dll", "CoTaskMemAlloc");
  if (!edit || !create || !alloc)
    return nullptr;
  std::unique_ptr<FieldSuggestions> suggestions(new FieldSuggestions);
  suggestions->edit_ = edit;
  if (FAILED(create(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER, IID_IAutoComplete2,
                    suggestions->complete_.Receive()))) {
    return nullptr;
  }
  suggestions->enumerator_.Reset(new SuggestionEnumerator(alloc, notify, listedMessage));
  if (FAILED(suggestions->complete_->Init(
          edit, static_cast<IEnumString*>(suggestions->enumerator_.Get()), nullptr, nullptr)) ||
      FAILED(suggestions->complete_->QueryInterface(IID_IAutoCompleteDropDown,
                                                    suggestions->dropDown_.Receive()))) {
    return nullptr;
  }
  // ACO_AUTOSUGGEST alone: a list to pick from, never text the user did not type.
  suggestions->complete_->SetOptions(ACO_AUTOSUGGEST);
  return suggestions;
}

// The references go in the order they always went: the list, the drop-down, the object.
FieldSuggestions::~FieldSuggestions() {
  for (HWND w : watched_)
    RemoveWindowSubclass(w, ListPointerProcedure, 0);
  enumerator_.Reset();
  dropDown_.Reset();
  complete_.Reset();
}

void FieldSuggestions::SetNames(const std::vector<std::string>& names) {
  enumerator_->SetNames(names);
}

void FieldSuggestions::SetHistory(std::shared_ptr<const std::vector<std::string>> history) {
  enumerator_->SetHistory(std::move(history));
}

void FieldSuggestions::TextChanged(const std::string& text) {
  if (settingText_ || walking_)
    return;
  typed_ = text;
  // IAutoCompleteDropDown::ResetEnumerator: the object asks for the strings again before it
  // narrows them for this text.
  if (!enumerator_->SetTyped(text))
    dropDown_->ResetEnumerator();
}

void FieldSuggestions::KeyComing(UINT msg, WPARAM key) {
  PointerRests();
  // Where the platform shows the list after the key that brought it (Windows, enumerating on a
  // thread of its own), its windows are watched from the next key on.
  if (HWND list = ShownListWindow())
    WatchListPointer(list);
  if (msg == WM_CHAR) {
    walking_ = false;
  } else if (msg == WM_KEYDOWN) {
    switch (key) {
      case VK_UP:
      case VK_DOWN:
      case VK_PRIOR:
      case VK_NEXT:
        // The object puts the row walked to in the field: that is not typed text.
        if (IsOpen())
          walking_ = true;
        break;
      case VK_SHIFT:
      case VK_CONTROL:
      case VK_MENU:
      case VK_RETURN:
      case VK_ESCAPE:
        break;
      default:
        walking_ = false;
    }
  }
}

// IAutoCompleteDropDown::GetDropDownStatus says whether the list is in view, wherever and
// however the platform draws it.
bool FieldSuggestions::IsOpen() const {
  DWORD flags = 0;
  return SUCCEEDED(dropDown_->GetDropDownStatus(&flags, nullptr)) && (flags & ACDD_VISIBLE);
}

void FieldSuggestions::BringListToFront() {
  if (!IsOpen())
    return;
  if (HWND list = ShownListWindow()) {
    WatchListPointer(list);
    SetWindowPos(list, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

void FieldSuggestions::PointerRests() {
  POINT at{};
  if (GetCursorPos(&at))
    restingPointer_ = at;
}

void FieldSuggestions::WatchListPointer(HWND list) {
  const auto watch = [](HWND w, LPARAM data) -> BOOL {
    auto* self = reinterpret_cast<FieldSuggestions*>(data);
    if (std::find(self->watched_.begin(), self->watched_.end(), w) == self->watched_.end() &&
        SetWindowSubclass(w, ListPointerProcedure, 0, reinterpret_cast<DWORD_PTR>(self))) {
      self->watched_.push_back(w);
    }
    return TRUE;
  };
  watch(list, reinterpret_cast<LPARAM>(this));
  EnumChildWindows(list, watch, reinterpret_cast<LPARAM>(this));
}

// The list picks the row under the pointer as the pointer moves over it. The system also says
// the pointer moves when a window appears or is raised under a pointer standing still, and says
// it late, when the thread next waits: the list made for a key would pick the row under the
// resting pointer behind the user's back, and Down would go on from that row (past the only
// one, back to the typed text). So a row is picked only by a pointer that moved since the
// field's last key, and a click picks the row under it whatever came before.
LRESULT CALLBACK FieldSuggestions::ListPointerProcedure(HWND hwnd, UINT msg, WPARAM wparam,
                                                        LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<FieldSuggestions*>(data);
  switch (msg) {
    case WM_MOUSEMOVE: {
      POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ClientToScreen(hwnd, &at);
      if (self->restingPointer_ && at.x == self->restingPointer_->x &&
          at.y == self->restingPointer_->y) {
        return 0;
      }
      self->restingPointer_.reset();
      break;
    }
    case WM_LBUTTONDOWN:
      if (self->restingPointer_) {
        self->restingPointer_.reset();
        DefSubclassProc(hwnd, WM_MOUSEMOVE, wparam, lparam);
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, ListPointerProcedure, 0);
      std::erase(self->watched_, hwnd);
      break;
  }
  return DefSubclassProc(hwnd, msg, wparam, lparam);
}

void FieldSuggestions::CloseList() {
  walking_ = false;
  enumerator_->Suppress();
  if (!IsOpen())
    return;
  // IAutoComplete2::SetOptions: without ACO_AUTOSUGGEST there is no list to show, so it goes at
  // once (IAutoComplete::Enable(FALSE) leaves it in view under Wine); the option comes straight
  // back for the next text typed.
  DWORD options = ACO_AUTOSUGGEST;
  complete_->GetOptions(&options);
  complete_->SetOptions(options & ~static_cast<DWORD>(ACO_AUTOSUGGEST));
  complete_->SetOptions(options | ACO_AUTOSUGGEST);
  // Should the platform keep it all the same, made again it holds nothing now.
  if (IsOpen())
    dropDown_->ResetEnumerator();
}

void FieldSuggestions::Dismiss() {
  const bool walked = walking_;
  CloseList();
  if (!walked)
    return;
  settingText_ = true;
  SetWindowTextW(edit_, Widen(typed_).c_str());
  const int end = GetWindowTextLengthW(edit_);
  SendMessageW(edit_, EM_SETSEL, end, end);
  settingText_ = false;
}

void FieldSuggestions::FolderListed() {
  // A list made again under the keys that walk it would lose the row walked to; the entries
  // come with the next key typed instead (the list made last was not complete).
  if (walking_ || enumerator_->Suppressed() || GetFocus() != edit_)
    return;
  PointerRests();
  dropDown_->ResetEnumerator();
  // ResetEnumerator makes a list in view again; a list not in view the object makes after a
  // character message, and UNICODE_NOCHAR is one that puts nothing in the field.
  if (!IsOpen())
    SendMessageW(edit_, WM_UNICHAR, UNICODE_NOCHAR, 0);
}

}  // namespace kv
