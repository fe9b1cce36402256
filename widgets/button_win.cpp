#include "widgets/button_win.h"

#include <windowsx.h>

#include <cwctype>

#include "toolkit/accessible.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TsButton";

// The layouts' settings of every dialog button.
constexpr char kNormalGradient[] = "8421440;12632256;99;0;0;12632256;12632256;0;0;0";
constexpr char kHotGradient[] =
    "8421504;8421504;10;0;0;8421504;16777215;43;0;0;16777215;10658466;28;0;0;10658466;13816530;18;"
    "0;0;13816530;13816530;0;0;0";

bool ModifierHeld() {
  return (GetKeyState(VK_SHIFT) & 0x8000) || (GetKeyState(VK_CONTROL) & 0x8000) ||
         (GetKeyState(VK_MENU) & 0x8000);
}

bool IsModifierKey(WPARAM key) {
  switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
      return true;
    default:
      return false;
  }
}

Point PointOf(LPARAM lparam) {
  return {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
}

}  // namespace

TsButton::TsButton() : style_(kDialogColor) {
  face_.font = Font{"MS Sans Serif", 11, false};
  face_.fontColor = clBlack;
  style_.Background().Gradient().SetData(kNormalGradient);
  style_.Background().Gradient().SetPercent(kMaxPercent);
  style_.HotBackground().Gradient().SetData(kHotGradient);
  style_.SetOnChange([this] { Repaint(); });
}

void TsButton::Create(Form& form, Rect bounds, const std::string& caption) {
  Create(form, form.Hwnd(), bounds, caption);
}

void TsButton::Create(Form& form, HWND parent, Rect bounds, const std::string& caption) {
  // No CS_DBLCLKS: a quick second press is a second press and a second click.
  RegisterWindowClass(kClassName, 0);
  form_ = &form;
  face_.caption = caption;
  CreateOwnWindow({.className = kClassName,
                   .text = caption,
                   .style = WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                   .bounds = bounds,
                   .parent = parent});
  form.AddDialogKeyTarget(this);
}

void TsButton::Click() {
  if (form_)
    form_->SetModalResult(modalResult_);
  if (OnClick)
    OnClick();
}

void TsButton::SetEnabled(bool enabled) {
  if (Hwnd())
    EnableWindow(Hwnd(), enabled);  // WM_ENABLE updates the face
  else
    face_.enabled = enabled;
}

bool TsButton::Enabled() const {
  return Hwnd() ? IsWindowEnabled(Hwnd()) != 0 : face_.enabled;
}

void TsButton::SetCaption(const std::string& caption) {
  if (Hwnd())
    SetWindowTextUtf8(Hwnd(), caption);  // WM_SETTEXT takes the text and repaints
  else
    face_.caption = caption;
}

bool TsButton::Active() const {
  HWND focus = GetFocus();
  if (Hwnd() && focus == Hwnd())
    return true;
  if (dynamic_cast<TsButton*>(Window::FromHandle(focus)))
    return false;
  return default_;
}

wchar_t TsButton::Accelerator() const {
  const std::wstring caption = Widen(face_.caption);
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&')
      continue;
    if (caption[i + 1] != L'&')
      return caption[i + 1];
    ++i;  // "&&" is a literal ampersand
  }
  return 0;
}

bool TsButton::CanFocus() const {
  return Hwnd() && IsWindowEnabled(Hwnd()) && IsWindowVisible(Hwnd()) &&
         (!form_ || IsWindowEnabled(form_->Hwnd()));
}

void TsButton::SetPressed(bool pressed) {
  if (face_.pressed == pressed)
    return;
  face_.pressed = pressed;
  Repaint();
  NotifyAccessible(Hwnd(), EVENT_OBJECT_STATECHANGE);
}

AccessiblePart TsButton::DescribeAccessible(int) {
  DWORD state = face_.pressed ? STATE_SYSTEM_PRESSED : 0;
  if (Active())
    state |= STATE_SYSTEM_DEFAULT;
  return {.role = ROLE_SYSTEM_PUSHBUTTON,
          .name = accessibleName_.empty() ? NameFromCaption(face_.caption) : accessibleName_,
          .action = kPressAction,
          .state = state};
}

void TsButton::DoAccessibleAction(int) {
  if (CanFocus() && !face_.pressed)
    ClickPushed();
}

void TsButton::SetMouseOver(bool over) {
  if (face_.mouseOver == over)
    return;
  face_.mouseOver = over;
  Repaint();
}

void TsButton::PaintFace(Bitmap& face) {
  face_.enabled = IsWindowEnabled(Hwnd()) != 0;
  face_.scale = Scale();
  PaintPushButton(face, face_, style_, Text(), Colors(), ParentBackdrop());
}

void TsButton::MouseDown(MouseButton button, LPARAM lparam) {
  if (OnMouseDown)
    OnMouseDown(button, PointOf(lparam));
  if (button == MouseButton::left && IsWindowEnabled(Hwnd()) && !face_.pressed) {
    heldByMouse_ = true;
    SetCapture(Hwnd());
    SetPressed(true);
  }
  if (Hwnd() && GetFocus() != Hwnd())
    SetFocus(Hwnd());
}

void TsButton::MouseUp(MouseButton button, LPARAM lparam) {
  const Point at = PointOf(lparam);
  if (OnMouseUp)
    OnMouseUp(button, at);
  if (button != MouseButton::left || !heldByMouse_)
    return;
  heldByMouse_ = false;
  if (GetCapture() == Hwnd())
    ReleaseCapture();
  RECT client{};
  GetClientRect(Hwnd(), &client);
  const bool inside = Rect{0, 0, client.right, client.bottom}.contains(at);
  SetMouseOver(inside);
  SetPressed(false);
  if (inside && IsWindowEnabled(Hwnd()))
    Click();
}

void TsButton::KeyUp() {
  heldByKey_ = false;
  heldKey_ = 0;
  SetPressed(false);  // painted at once: the raised look shows before the click's work
  Click();
}

bool TsButton::DialogKey(int virtualKey) {
  const bool enter = virtualKey == VK_RETURN && Active();
  const bool escape = virtualKey == VK_ESCAPE && cancel_;
  if (!(enter || escape) || ModifierHeld() || !CanFocus() || face_.pressed)
    return false;
  ClickPushed();
  return true;
}

void TsButton::ClickPushed() {
  // The pushed look is painted at once and shows while the click runs; the button comes back
  // up however the click ends (its error is shown by the toolkit).
  SetPressed(true);
  struct Release {
    TsButton& button;
    ~Release() { button.SetPressed(false); }
  } release{*this};
  Click();
}

bool TsButton::DialogChar(wchar_t ch) {
  const wchar_t accelerator = Accelerator();
  if (!accelerator || std::towupper(ch) != std::towupper(accelerator) || !CanFocus() ||
      face_.pressed)
    return false;
  // The release that clicks goes to the focused window, so the button takes the focus.
  if (GetFocus() != Hwnd())
    SetFocus(Hwnd());
  const SHORT scan = VkKeyScanW(ch);
  heldKey_ = scan == -1 ? 0 : static_cast<WPARAM>(LOBYTE(scan));
  heldByKey_ = true;
  SetPressed(true);
  return true;
}

LRESULT TsButton::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_SETTEXT: {
      const LRESULT result = DefaultHandle(msg, wparam, lparam);
      const auto* text = reinterpret_cast<const wchar_t*>(lparam);
      face_.caption = text ? Narrow(text) : std::string();
      Repaint();
      NotifyAccessible(Hwnd(), EVENT_OBJECT_NAMECHANGE);
      return result;
    }
    case WM_ENABLE:
      face_.enabled = wparam != 0;
      if (!face_.enabled) {
        // A disabled window gets no more input: nothing may stay held or hot.
        face_.mouseOver = false;
        heldByKey_ = false;
        if (heldByMouse_) {
          heldByMouse_ = false;
          if (GetCapture() == Hwnd())
            ReleaseCapture();
        }
        face_.pressed = false;
      }
      Repaint();
      NotifyAccessible(Hwnd(), EVENT_OBJECT_STATECHANGE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON | (Active() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case WM_SETFOCUS:
      face_.focused = true;
      Repaint();
      return 0;
    case WM_KILLFOCUS:
      face_.focused = false;
      if (heldByKey_) {
        // The focus left before the key came up: the push is abandoned.
        heldByKey_ = false;
        face_.pressed = heldByMouse_;
      }
      Repaint();
      return 0;
    case WM_LBUTTONDOWN:
      MouseDown(MouseButton::left, lparam);
      return 0;
    case WM_RBUTTONDOWN:
      MouseDown(MouseButton::right, lparam);
      return 0;
    case WM_MBUTTONDOWN:
      MouseDown(MouseButton::middle, lparam);
      return 0;
    case WM_LBUTTONUP:
      MouseUp(MouseButton::left, lparam);
      return 0;
    case WM_RBUTTONUP:
      MouseUp(MouseButton::right, lparam);
      return 0;
    case WM_MBUTTONUP:
      MouseUp(MouseButton::middle, lparam);
      return 0;
    case WM_CAPTURECHANGED:
      // The capture was taken away (a menu, another window): spring back without a click.
      if (heldByMouse_ && reinterpret_cast<HWND>(lparam) != Hwnd()) {
        heldByMouse_ = false;
        SetPressed(false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE) {
        if (!heldByKey_ && !face_.pressed && IsWindowEnabled(Hwnd())) {
          heldByKey_ = true;
          heldKey_ = VK_SPACE;
          SetPressed(true);
        }
        return 0;
      }
      break;
    case WM_CHAR:
      if (wparam == L' ')
        return 0;  // Space clicks at its release, never as a character
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // Injected characters (VK_PACKET) come up under that code, not the letter's own key.
      if (heldByKey_ &&
          (heldKey_ ? wparam == heldKey_ || wparam == VK_PACKET : !IsModifierKey(wparam))) {
        KeyUp();
        return 0;
      }
      break;
  }
  return DrawnControl::Handle(msg, wparam, lparam);
}

}  // namespace kv
