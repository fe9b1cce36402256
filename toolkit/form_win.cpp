#include "toolkit/form_win.h"

#include <algorithm>

#include "toolkit/application_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

bool ModifierHeld(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

// Top-level windows of this thread that a modal form disables while it is open.
std::vector<HWND> DisableThreadWindows(HWND except) {
  struct Context {
    HWND except;
    std::vector<HWND> disabled;
  } context{except, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* c = reinterpret_cast<Context*>(data);
        if (hwnd != c->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
          EnableWindow(hwnd, FALSE);
          c->disabled.push_back(hwnd);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&context));
  return context.disabled;
}

}  // namespace

void Form::CreateForm(WindowArgs args, Color color) {
  color_ = color;
  RegisterWindowClass(args.className, CS_DBLCLKS);
  RECT r{0, 0, args.bounds.width(), args.bounds.height()};
  AdjustWindowRectEx(&r, args.style, FALSE, args.exStyle);
  args.bounds = {0, 0, r.right - r.left, r.bottom - r.top};
  owner_ = args.parent;
  args.parent = nullptr;
  CreateOwnWindow(args);
  font_.Reset(CreateUiFont({.face = "MS Sans Serif", .height = 11}));
}

Form* Form::FormOf(HWND hwnd) {
  HWND root = GetAncestor(hwnd, GA_ROOT);
  return dynamic_cast<Form*>(Window::FromHandle(root));
}

int Form::ShowModal() {
  if (!shownBefore_) {
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    SetWindowPos(Hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    shownBefore_ = true;
  }
  HWND focusBefore = GetFocus();
  const std::vector<HWND> disabled = DisableThreadWindows(Hwnd());
  modalResult_ = 0;
  modal_ = true;
  Application& app = Application::Instance();
  try {
    SetOwnerWindow(owner_);
    ShowWindow(Hwnd(), SW_SHOW);
    SetForegroundWindow(Hwnd());
    FormShow();
    // Activation gives the focus to the form itself when no control of it had the focus yet;
    // the first control of the tab order takes it then.
    HWND focus = GetFocus();
    if (!focus || focus == Hwnd() || FormOf(focus) != this)
      FocusFirst();
    while (modalResult_ == 0) {
      app.HandleMessage();
      if (app.Terminated())
        modalResult_ = kModalResultCancel;
    }
  } catch (...) {
    for (HWND w : disabled)
      EnableWindow(w, TRUE);
    modal_ = false;
    ShowWindow(Hwnd(), SW_HIDE);
    SetOwnerWindow(nullptr);
    throw;
  }
  RememberFocus();
  // Owners come back before this form hides, so the activation returns where it came from.
  for (HWND w : disabled)
    EnableWindow(w, TRUE);
  ShowWindow(Hwnd(), SW_HIDE);
  SetOwnerWindow(nullptr);
  modal_ = false;
  if (focusBefore && IsWindow(focusBefore) && IsWindowVisible(focusBefore))
    SetFocus(focusBefore);
  return modalResult_;
}

void Form::SetOwnerWindow(HWND owner) {
  // GWLP_HWNDPARENT of a top-level window is its owner.
  SetWindowLongPtrW(Hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

void Form::RememberFocus() {
  HWND focus = GetFocus();
  if (focus && IsChild(Hwnd(), focus))
    lastFocus_ = focus;
}

void Form::FocusFirst() {
  if (lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_) &&
      IsWindowVisible(lastFocus_)) {
    SetFocus(lastFocus_);
    return;
  }
  for (HWND w : tabOrder_) {
    if (IsWindowEnabled(w) && IsWindowVisible(w)) {
      SetFocus(w);
      return;
    }
  }
  SetFocus(Hwnd());
}

bool Form::MoveFocus(bool backwards) {
  if (tabOrder_.empty())
    return false;
  HWND focus = GetFocus();
  // A combo box's edit is a child of the combo box in the tab order.
  auto it = std::find_if(tabOrder_.begin(), tabOrder_.end(),
                         [&](HWND w) { return w == focus || IsChild(w, focus); });
  const int n = static_cast<int>(tabOrder_.size());
  int index =
      it == tabOrder_.end() ? (backwards ? 0 : n - 1) : static_cast<int>(it - tabOrder_.begin());
  for (int step = 0; step < n; ++step) {
    index = (index + (backwards ? n - 1 : 1)) % n;
    HWND candidate = tabOrder_[index];
    if (IsWindowEnabled(candidate) && IsWindowVisible(candidate)) {
      SetFocus(candidate);
      return true;
    }
  }
  return false;
}

bool Form::PreTranslate(MSG& msg) {
  const bool alt = ModifierHeld(VK_MENU);
  const bool ctrl = ModifierHeld(VK_CONTROL);
  const bool shift = ModifierHeld(VK_SHIFT);
  HWND focus = GetFocus();
  const LRESULT code =
      focus ? SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) : 0;
  if (msg.message == WM_KEYDOWN) {
    if (msg.wParam == VK_TAB && !alt && !ctrl && !(code & DLGC_WANTTAB)) {
      return MoveFocus(shift);
    }
    if ((msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) && !alt && !ctrl && !shift) {
      if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))
        return false;
      for (DialogKeyTarget* target : keyTargets_) {
        if (target->DialogKey(static_cast<int>(msg.wParam)))
          return true;
      }
      if (msg.wParam == VK_ESCAPE && escapeResult_ != 0) {
        SetModalResult(escapeResult_);
        return true;
      }
    }
  } else if (msg.message == WM_SYSCHAR || (msg.message == WM_CHAR && !(code & DLGC_WANTCHARS))) {
    for (DialogKeyTarget* target : keyTargets_) {
      if (target->DialogChar(static_cast<wchar_t>(msg.wParam)))
        return true;
    }
  }
  return false;
}

LRESULT Form::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r{};
      GetClientRect(Hwnd(), &r);
      FillSolidRect(reinterpret_cast<HDC>(wparam), r, color_);
      return 1;
    }
    case WM_CLOSE:
      if (modal_)
        SetModalResult(kModalResultCancel);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        RememberFocus();
      } else if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
  }
  return DefaultHandle(msg, wparam, lparam);
}

}  // namespace kv
