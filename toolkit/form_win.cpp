#include "toolkit/form_win.h"

#include <algorithm>

#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
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

const Font kFormFont{.face = "MS Sans Serif", .height = 11};

// WM_GETDPISCALEDSIZE of Windows 10, which the build's Windows 7 headers leave out.
constexpr UINT kGetDpiScaledSize = 0x02E4;

}  // namespace

void Form::CreateForm(WindowArgs args, Color color) {
  color_ = color;
  RegisterWindowClass(args.className, CS_DBLCLKS);
  designedClient_ = {args.bounds.width(), args.bounds.height()};
  args.bounds = {0, 0, designedClient_.width, designedClient_.height};
  CreateOwnWindow(args);
  FitClientSize();
  font_ = FontFor(kFormFont);
  // Made at the system's scale; a monitor of another scale (changed since the user logged on)
  // gives the form its own.
  if (const DpiScale monitor = WindowScale(Hwnd()); monitor != Scale())
    Rescale(monitor);
}

void Form::FitClientSize() {
  const Size client = Scale()(designedClient_);
  RECT r{0, 0, client.width, client.height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE)));
  RECT now{};
  GetWindowRect(Hwnd(), &now);
  if (now.right - now.left != r.right - r.left || now.bottom - now.top != r.bottom - r.top) {
    SetWindowPos(Hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

HFONT Form::FontFor(const Font& font) {
  for (const auto& [made, handle] : fonts_) {
    if (made == font)
      return handle;
  }
  return fonts_.emplace_back(font, GdiObject<HFONT>(CreateUiFont(Scale()(font)))).second;
}

void Form::Rescale(DpiScale scale, const RECT* suggested) {
  // The old fonts live until every window has taken its new one.
  std::vector<std::pair<Font, GdiObject<HFONT>>> old;
  old.swap(fonts_);
  SetScale(scale);
  for (const auto& made : old)
    FontFor(made.first);
  font_ = FontFor(kFormFont);
  const auto fontAt = [&](HFONT font) -> HFONT {
    for (size_t i = 0; i < old.size(); ++i) {
      if (old[i].second.Get() == font)
        return fonts_[i].second;
    }
    return nullptr;
  };
  if (suggested) {
    SetWindowPos(Hwnd(), nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  } else {
    FitClientSize();
  }
  // Every window in the form, at any depth; the system's own parts of a control (a combo box's
  // list) carry no object of ours and follow their control.
  std::vector<HWND> children;
  EnumChildWindows(
      Hwnd(),
      [](HWND child, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (Window* window = Window::FromHandle(child))
      window->ApplyScale(scale, fontAt);
  }
  DpiChanged();
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
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
    throw;
  }
  RememberFocus();
  // Owners come back before this form hides, so the activation returns where it came from.
  for (HWND w : disabled)
    EnableWindow(w, TRUE);
  ShowWindow(Hwnd(), SW_HIDE);
  modal_ = false;
  if (focusBefore && IsWindow(focusBefore) && IsWindowVisible(focusBefore))
    SetFocus(focusBefore);
  return modalResult_;
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
    case WM_DPICHANGED:
      // Moved to a monitor of another scale: the system's rectangle keeps the form under the
      // pointer at its new size.
      Rescale(DpiScale(LOWORD(wparam)), reinterpret_cast<const RECT*>(lparam));
      return 0;
    case kGetDpiScaledSize: {
      // The size the form will have at the new scale, so the system's rectangle has it exactly.
      const DpiScale scale(static_cast<int>(wparam));
      const Size client = scale(designedClient_);
      RECT r{0, 0, client.width, client.height};
      AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE)));
      *reinterpret_cast<SIZE*>(lparam) = {r.right - r.left, r.bottom - r.top};
      return TRUE;
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
