#include "toolkit/window_win.h"

#include <commctrl.h>

#include <stdexcept>

#include "toolkit/accessible_win.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "toolkit/foreground.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr wchar_t kObjectProperty[] = L"Karvoss.Window";
constexpr UINT_PTR kSubclassId = 0x4B56;  // "KV"

HWND ReflectionTarget(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
      return reinterpret_cast<HWND>(lparam);
    case WM_NOTIFY:
      return reinterpret_cast<NMHDR*>(lparam)->hwndFrom;
    case WM_DRAWITEM:
      return wparam ? reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->hwndItem : nullptr;
    default:
      return nullptr;
  }
}

}  // namespace

namespace {

void SendOwnInput(INPUT input) {
  if (input.type == INPUT_KEYBOARD)
    input.ki.dwExtraInfo = kOwnInputTag;
  else
    input.mi.dwExtraInfo = kOwnInputTag;
  SendInput(1, &input, sizeof input);
}

// Tries one step; the caller asks the system afterwards whether it worked.
void TryForegroundStep(ForegroundStep step, HWND window, HWND foreground) {
  INPUT input{};
  switch (step) {
    case ForegroundStep::plainRequest:
      // A process that sent the last input may take the foreground (SetForegroundWindow's
      // remarks); an empty mouse input moves nothing.
      input.type = INPUT_MOUSE;
      SendOwnInput(input);
      SetForegroundWindow(window);
      break;
    case ForegroundStep::joinInput: {
      const DWORD thisThread = GetCurrentThreadId();
      const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
      if (AttachThreadInput(thisThread, foregroundThread, TRUE)) {
        SetForegroundWindow(window);
        AttachThreadInput(thisThread, foregroundThread, FALSE);
      }
      break;
    }
    case ForegroundStep::altRelease:
      // The system lets SetForegroundWindow through after the Alt key (LockSetForegroundWindow's
      // remarks).
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = VK_MENU;
      input.ki.dwFlags = KEYEVENTF_KEYUP;
      SendOwnInput(input);
      SetForegroundWindow(window);
      break;
    default:
      break;
  }
}

}  // namespace

bool TakeForeground(HWND window) {
  ForegroundStep step = ForegroundStep::none;
  for (;;) {
    HWND foreground = GetForegroundWindow();
    ForegroundReport report;
    report.inForeground = foreground == window;
    report.joinable = foreground &&
                      GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId() &&
                      !IsHungAppWindow(foreground);
    step = NextForegroundStep(step, report);
    if (step == ForegroundStep::done) {
      SetActiveWindow(window);
      return true;
    }
    if (step == ForegroundStep::giveUp)
      return false;
    TryForegroundStep(step, window, foreground);
  }
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  // The object rides in GWLP_USERDATA: reading a window property would cost Wine a server round
  // trip on every message.
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetPropW(hwnd, kObjectProperty, self);  // for FromHandle, shared with subclassed controls
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self)
    return DefWindowProcW(hwnd, msg, wparam, lparam);
  const LRESULT result = self->Dispatch(msg, wparam, lparam);
  if (msg == WM_NCDESTROY)
    self->Detach();
  return result;
}

LRESULT CALLBACK SubclassProcedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                   DWORD_PTR data) {
  auto* self = reinterpret_cast<Window*>(data);
  const LRESULT result = self->Dispatch(msg, wparam, lparam);
  if (msg == WM_NCDESTROY)
    self->Detach();
  return result;
}

Window::~Window() {
  if (hwnd_) {
    HWND hwnd = hwnd_;
    const bool destroy = destroyWithObject_;
    Detach();
    if (destroy)
      DestroyWindow(hwnd);
  }
}

void Window::RegisterWindowClass(const wchar_t* name, UINT style, HCURSOR cursor,
                                 HBRUSH background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing))
    return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = WindowProcedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  RegisterClassExW(&wc);
}

namespace {

[[noreturn]] void ThrowCreationError(const wchar_t* className) {
  throw std::runtime_error("Cannot create window \"" + Narrow(className) + "\". " +
                           SystemErrorText(GetLastError()));
}

}  // namespace

DpiScale ScaleOf(HWND hwnd) {
  if (const Window* window = Window::FromHandle(hwnd))
    return window->Scale();
  return WindowScale(hwnd);
}

DpiScale CreationScale(const WindowArgs& args) {
  if ((args.style & WS_CHILD) && args.parent)
    return ScaleOf(args.parent);
  // A top-level window is made on the primary monitor; a form that finds itself at another
  // scale lays itself out again (Form::CreateForm).
  return SystemScale();
}

namespace {

HWND CreateAtScale(const WindowArgs& args, DpiScale scale, void* object) {
  const Rect b = scale(args.bounds);
  HWND hwnd = CreateWindowExW(args.exStyle, args.className, Widen(args.text).c_str(), args.style,
                              b.left, b.top, b.width(), b.height(), args.parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                              GetModuleHandleW(nullptr), object);
  if (hwnd && args.font)
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
  return hwnd;
}

HWND CreateAtScaleOrThrow(const WindowArgs& args, DpiScale scale, void* object) {
  HWND hwnd = CreateAtScale(args, scale, object);
  if (!hwnd)
    ThrowCreationError(args.className);
  return hwnd;
}

}  // namespace

HWND TryCreateWindowFromArgs(const WindowArgs& args, void* object) {
  return CreateAtScale(args, CreationScale(args), object);
}

HWND CreateWindowFromArgs(const WindowArgs& args, void* object) {
  return CreateAtScaleOrThrow(args, CreationScale(args), object);
}

// The scale and the designed bounds are known before the window is: its creation messages may
// lay out what it holds.
void Window::CreateOwnWindow(const WindowArgs& args) {
  scale_ = CreationScale(args);
  designed_ = args.bounds;
  placedByDesign_ = true;
  CreateAtScaleOrThrow(args, scale_, this);
}

void Window::CreateControl(const WindowArgs& args) {
  const DpiScale scale = CreationScale(args);
  AttachControl(CreateAtScaleOrThrow(args, scale, nullptr));
  scale_ = scale;
  designed_ = args.bounds;
  placedByDesign_ = true;
  destroyWithObject_ = true;
}

void Window::AttachControl(HWND control) {
  hwnd_ = control;
  scale_ = ScaleOf(GetParent(control));
  destroyWithObject_ = false;
  SetPropW(hwnd_, kObjectProperty, this);
  SetWindowSubclass(hwnd_, SubclassProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  subclassed_ = true;
}

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

void Window::Detach() {
  if (!hwnd_)
    return;
  RemovePropW(hwnd_, kObjectProperty);
  if (!subclassed_)
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  if (subclassed_)
    RemoveWindowSubclass(hwnd_, SubclassProcedure, kSubclassId);
  subclassed_ = false;
  hwnd_ = nullptr;
}

void Window::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(hwnd_, nullptr, left, top, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

RECT Window::Bounds() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  if (HWND parent = GetParent(hwnd_); parent && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

void Window::ApplyScale(DpiScale scale, const std::function<HFONT(HFONT)>& fontAt) {
  scale_ = scale;
  if (placedByDesign_) {
    const Rect r = scale(designed_);
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width(), r.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  if (fontAt) {
    auto* font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    if (HFONT scaled = font ? fontAt(font) : nullptr)
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), TRUE);
  }
  DpiChanged();
}

void Window::Invalidate(bool erase) {
  InvalidateRect(hwnd_, nullptr, erase);
}
void Window::Update() {
  UpdateWindow(hwnd_);
}

LRESULT Window::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  return DefaultHandle(msg, wparam, lparam);
}

LRESULT Window::DefaultHandle(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (subclassed_)
    return DefSubclassProc(hwnd_, msg, wparam, lparam);
  return DefWindowProcW(hwnd_, msg, wparam, lparam);
}

bool Window::ReflectToChild(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  HWND target = ReflectionTarget(msg, wparam, lparam);
  if (!target || target == hwnd_)
    return false;
  Window* child = FromHandle(target);
  return child && child->Reflected(msg, wparam, lparam, result);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
  // No C++ exception may unwind through the system's code: a handler's error ends the handler
  // and is shown in the default error box.
  try {
    LRESULT reflected = 0;
    if (ReflectToChild(msg, wparam, lparam, reflected))
      return reflected;
    if (IsAccessibilityMessage(msg) &&
        AnswerAccessibility(*this, hwnd_, msg, wparam, lparam, reflected))
      return reflected;
    return Handle(msg, wparam, lparam);
  } catch (const std::exception& e) {
    Application::Instance().ShowException(e);
  } catch (...) {
    Application::Instance().ShowException(std::runtime_error("Unexpected error"));
  }
  return 0;
}

}  // namespace kv
