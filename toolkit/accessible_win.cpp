#include "toolkit/accessible_win.h"

#include <vector>

#include "toolkit/accessible.h"
#include "toolkit/com_ptr_win.h"
#include "toolkit/system_library_win.h"
#include "toolkit/text_win.h"
#include "toolkit/window_win.h"

// Interface ids come from the declarations (__uuidof): oleacc.dll exports some as data, and a
// program that links its import library would get the import's address for the id.

namespace kv {

namespace {

using CreateStdObject = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using ResultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using AllocString = BSTR(WINAPI*)(const OLECHAR*, UINT);

CreateStdObject CreateStandardObject() {
  static const auto entry =
      SystemEntry<CreateStdObject>(L"oleacc.dll", "CreateStdAccessibleObject");
  return entry;
}

ResultFromObject LresultFromObjectEntry() {
  static const auto entry = SystemEntry<ResultFromObject>(L"oleacc.dll", "LresultFromObject");
  return entry;
}

// S_FALSE with no text for an empty one, as the interface has it.
HRESULT ReturnText(const std::string& text, BSTR* out) {
  static const auto alloc = SystemEntry<AllocString>(L"oleaut32.dll", "SysAllocStringLen");
  *out = nullptr;
  if (text.empty())
    return S_FALSE;
  if (!alloc)
    return E_OUTOFMEMORY;
  const std::wstring wide = Widen(text);
  *out = alloc(wide.data(), static_cast<UINT>(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

UINT ActionMessage() {
  static const UINT message = RegisterWindowMessageW(L"Karvoss.AccessibleAction");
  return message;
}

std::vector<HWND> ChildWindows(HWND hwnd) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

void SetChildId(VARIANT* v, long id) {
  v->vt = VT_I4;
  v->lVal = id;
}

}  // namespace

// The object a client holds: the source's description over the system's own object for the
// window, which answers everything the description leaves open.
class AccessibleObject final : public IAccessible, public IOleWindow {
 public:
  AccessibleObject(AccessibleSource* source, HWND hwnd) : source_(source), hwnd_(hwnd) {}

  // The control is gone: the object answers "disconnected" from now on.
  void Forget() {
    source_ = nullptr;
    standard_.Reset();
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
        IsEqualIID(riid, __uuidof(IAccessible))) {
      *out = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(riid, __uuidof(IOleWindow))) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      // No IEnumVARIANT: AccessibleChildren then numbers the children through get_accChild.
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0)
      delete this;
    return left;
  }

  // IOleWindow: how a client finds the window of an element (WindowFromAccessibleObject).
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    *out = hwnd_;
    return source_ ? S_OK : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IDispatch: the interface is used through its vtable only.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
    *out = nullptr;
    IAccessible* standard = Standard();
    return standard ? standard->get_accParent(out) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    *count = 0;
    if (!source_)
      return RPC_E_DISCONNECTED;
    *count = WindowCount() + source_->AccessiblePartCount();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    *out = nullptr;
    AccessibleChild c;
    if (const HRESULT hr = Resolve(child, c); hr != S_OK)
      return hr;
    if (c.kind == AccessibleChild::Kind::self)
      return QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(out));
    if (c.kind == AccessibleChild::Kind::window)
      return WindowObject(ChildWindows(hwnd_)[c.index - 1], out);
    return S_FALSE;  // a part is a simple element, reached through its id
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessiblePart::name, &IAccessible::get_accName);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessiblePart::value, &IAccessible::get_accValue);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return Text(child, out, nullptr, &IAccessible::get_accDescription);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return Text(child, out, nullptr, &IAccessible::get_accHelp);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return Text(child, out, nullptr, &IAccessible::get_accKeyboardShortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessiblePart::action, &IAccessible::get_accDefaultAction);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    *file = nullptr;
    *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    out->vt = VT_EMPTY;
    AccessibleChild c;
    if (const HRESULT hr = ResolveElement(child, c); hr != S_OK)
      return hr;
    const AccessiblePart part = source_->DescribeAccessible(c.index);
    if (part.role == 0 && c.kind == AccessibleChild::Kind::self)
      return Standard() ? Standard()->get_accRole(child, out) : RPC_E_DISCONNECTED;
    SetChildId(out, part.role);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    out->vt = VT_EMPTY;
    AccessibleChild c;
    if (const HRESULT hr = ResolveElement(child, c); hr != S_OK)
      return hr;
    DWORD state = source_->DescribeAccessible(c.index).state;
    if (c.kind == AccessibleChild::Kind::self) {
      state |= WindowAccessibleState(hwnd_);
      // The system's object may call any window focusable (Wine's does); the window's style
      // says whether it is.
      VARIANT standard{};
      if (Standard() && Standard()->get_accState(child, &standard) == S_OK && standard.vt == VT_I4)
        state |= static_cast<DWORD>(standard.lVal) & ~static_cast<DWORD>(STATE_SYSTEM_FOCUSABLE);
    } else if (!IsWindowVisible(hwnd_)) {
      state |= STATE_SYSTEM_INVISIBLE;
    }
    SetChildId(out, static_cast<long>(state));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    out->vt = VT_EMPTY;
    IAccessible* standard = Standard();
    return standard ? standard->get_accFocus(out) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    out->vt = VT_EMPTY;
    if (!source_)
      return RPC_E_DISCONNECTED;
    const int parts = source_->AccessiblePartCount();
    for (int i = 1; i <= parts; ++i) {
      if (source_->DescribeAccessible(i).state & STATE_SYSTEM_SELECTED) {
        SetChildId(out, PartChildId(i, WindowCount()));
        return S_OK;
      }
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    AccessibleChild c;
    if (const HRESULT hr = ResolveElement(child, c); hr != S_OK)
      return hr;
    if (c.kind == AccessibleChild::Kind::self && Standard())
      return Standard()->accSelect(flags, child);
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    *left = *top = *width = *height = 0;
    AccessibleChild c;
    if (const HRESULT hr = ResolveElement(child, c); hr != S_OK)
      return hr;
    if (c.kind == AccessibleChild::Kind::self) {
      RECT r{};
      GetWindowRect(hwnd_, &r);
      *left = r.left;
      *top = r.top;
      *width = r.right - r.left;
      *height = r.bottom - r.top;
      return S_OK;
    }
    const Rect b = source_->DescribeAccessible(c.index).bounds;
    POINT origin{b.left, b.top};
    ClientToScreen(hwnd_, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = b.width();
    *height = b.height();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) override {
    out->vt = VT_EMPTY;
    if (!source_)
      return RPC_E_DISCONNECTED;
    if (start.vt != VT_I4)
      return E_INVALIDARG;
    const long windows = WindowCount();
    const long count = windows + source_->AccessiblePartCount();
    const long to =
        NavigateAmongChildren(start.lVal, static_cast<AccessibleDirection>(direction), count);
    if (to < 0) {
      VARIANT self{};
      SetChildId(&self, CHILDID_SELF);
      return Standard() ? Standard()->accNavigate(direction, self, out) : S_FALSE;
    }
    if (to == 0)
      return S_FALSE;
    if (to <= windows) {
      out->vt = VT_DISPATCH;
      return WindowObject(ChildWindows(hwnd_)[to - 1], &out->pdispVal);
    }
    SetChildId(out, to);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
    out->vt = VT_EMPTY;
    if (!source_)
      return RPC_E_DISCONNECTED;
    POINT at{x, y};
    ScreenToClient(hwnd_, &at);
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (PtInRect(&client, at)) {
      if (const int part = source_->AccessiblePartAt({at.x, at.y}); part > 0) {
        SetChildId(out, PartChildId(part, WindowCount()));
        return S_OK;
      }
    }
    return Standard() ? Standard()->accHitTest(x, y, out) : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    AccessibleChild c;
    if (const HRESULT hr = ResolveElement(child, c); hr != S_OK)
      return hr;
    if (source_->DescribeAccessible(c.index).action.empty()) {
      if (c.kind == AccessibleChild::Kind::self && Standard())
        return Standard()->accDoDefaultAction(child);
      return DISP_E_MEMBERNOTFOUND;
    }
    if (!IsWindowEnabled(hwnd_))
      return E_FAIL;
    // Run from the loop once the client's call has returned: the action may open a dialog.
    PostMessageW(hwnd_, ActionMessage(), static_cast<WPARAM>(c.index), 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~AccessibleObject() = default;

  IAccessible* Standard() {
    if (!source_)
      return nullptr;
    if (!standard_) {
      if (const CreateStdObject create = CreateStandardObject())
        create(hwnd_, OBJID_CLIENT, __uuidof(IAccessible), standard_.Receive());
    }
    return standard_.Get();
  }

  long WindowCount() const { return static_cast<long>(ChildWindows(hwnd_).size()); }

  static HRESULT WindowObject(HWND window, IDispatch** out) {
    const CreateStdObject create = CreateStandardObject();
    return create ? create(window, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(out))
                  : E_FAIL;
  }

  HRESULT Resolve(const VARIANT& child, AccessibleChild& c) {
    if (!source_)
      return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4)
      return E_INVALIDARG;
    c = ClassifyAccessibleChild(child.lVal, WindowCount(), source_->AccessiblePartCount());
    return c.kind == AccessibleChild::Kind::none ? E_INVALIDARG : S_OK;
  }

  // The control itself or one of its parts; a child window is an object of its own.
  HRESULT ResolveElement(const VARIANT& child, AccessibleChild& c) {
    const HRESULT hr = Resolve(child, c);
    return hr == S_OK && c.kind == AccessibleChild::Kind::window ? E_INVALIDARG : hr;
  }

  using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
  // A text of the description (none: only the system's), the system's for the control itself
  // when the description leaves it empty.
  HRESULT Text(const VARIANT& child, BSTR* out, std::string AccessiblePart::*field,
               StandardText standard) {
    *out = nullptr;
    AccessibleChild c;
    if (const HRESULT hr = ResolveElement(child, c); hr != S_OK)
      return hr;
    const std::string text = field ? source_->DescribeAccessible(c.index).*field : std::string();
    if (text.empty() && c.kind == AccessibleChild::Kind::self && Standard())
      return (Standard()->*standard)(child, out);
    return ReturnText(text, out);
  }

  LONG references_ = 1;
  AccessibleSource* source_;
  HWND hwnd_;
  ComPtr<IAccessible> standard_;
};

AccessibleSource::~AccessibleSource() {
  if (object_) {
    object_->Forget();
    object_->Release();
  }
}

int AccessibleSource::AccessiblePartAt(Point at) {
  const int parts = AccessiblePartCount();
  for (int i = 1; i <= parts; ++i) {
    if (DescribeAccessible(i).bounds.contains(at))
      return i;
  }
  return 0;
}

void AccessibleSource::NotifyAccessible(HWND hwnd, DWORD event, int part) {
  if (!hwnd)
    return;
  const long child =
      part == 0 ? CHILDID_SELF : PartChildId(part, static_cast<long>(ChildWindows(hwnd).size()));
  NotifyWinEvent(event, hwnd, OBJID_CLIENT, child);
}

bool AnswerAccessibility(Window& window, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
                         LRESULT& result) {
  if (msg != WM_GETOBJECT && msg != ActionMessage())
    return false;
  auto* source = dynamic_cast<AccessibleSource*>(&window);
  if (!source)
    return false;
  if (msg != WM_GETOBJECT) {
    source->DoAccessibleAction(static_cast<int>(wparam));
    result = 0;
    return true;
  }
  // The object id travels in the low 32 bits; a 64-bit lparam may carry it sign-extended.
  if (static_cast<LONG>(lparam) != OBJID_CLIENT || !source->DescribesItself())
    return false;
  const ResultFromObject lresultFromObject = LresultFromObjectEntry();
  if (!lresultFromObject)
    return false;
  if (!source->object_)
    source->object_ = new AccessibleObject(source, hwnd);
  result =
      lresultFromObject(__uuidof(IAccessible), wparam, static_cast<IAccessible*>(source->object_));
  return true;
}

DWORD WindowAccessibleState(HWND hwnd) {
  DWORD state = 0;
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (!IsWindowVisible(hwnd))
    state |= STATE_SYSTEM_INVISIBLE;
  if (!IsWindowEnabled(hwnd))
    state |= STATE_SYSTEM_UNAVAILABLE;
  else if (style & WS_TABSTOP)
    state |= STATE_SYSTEM_FOCUSABLE;
  if (GetFocus() == hwnd)
    state |= STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED;
  return state;
}

void NotifyWindowAccessible(HWND hwnd, DWORD event) {
  if (hwnd)
    NotifyWinEvent(event, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace kv
