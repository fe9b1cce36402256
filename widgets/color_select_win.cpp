#include "widgets/color_select_win.h"

#include <commdlg.h>
#include <windowsx.h>

#include "toolkit/accessible.h"
#include "toolkit/common_dialogs_win.h"
#include "widgets/drawn_control_win.h"
#include "widgets/drawing.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TsColorSelect";
constexpr char kNormalGradient[] = "8421504;16777215;99;0;0;16777215;16777215;0;0;0";
constexpr char kHotGradient[] =
    "8421504;16777215;53;0;0;16777215;10658466;28;0;0;10658466;13816530;18;0;0;13816530;"
    "13816530;0;0;0";

}  // namespace

TsColorSelect::TsColorSelect() {
  face_.ImgWidth = 32;
  face_.ImgHeight = 12;
  face_.Spacing = 5;
  face_.Layout = ButtonLayout::blGlyphRight;
  face_.ShowCaption = true;
  face_.font = Font{"MS Sans Serif", 11, false};
  style_.Background().Gradient().SetData(kNormalGradient);
  style_.Background().Gradient().SetPercent(100);
  style_.HotBackground().Gradient().SetData(kHotGradient);
  style_.SetOnChange([this] { MarkStale(); });
}

void TsColorSelect::Create(HWND parent, Rect b, const std::string& name) {
  RegisterWindowClass(kClassName, CS_DBLCLKS);
  name_ = name;
  CreateOwnWindow({.className = kClassName,
                   .style = WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                   .bounds = b,
                   .parent = parent});
  if (Form* form = Form::FormOf(parent))
    form->AddDialogKeyTarget(this);
}

void TsColorSelect::SetColorValue(Color value) {
  face_.ColorValue = value;
  MarkStale();
  NotifyAccessible(Hwnd(), EVENT_OBJECT_VALUECHANGE);
}

AccessiblePart TsColorSelect::DescribeAccessible(int) {
  return {.role = ROLE_SYSTEM_PUSHBUTTON,
          .name = name_,
          .value = DescribeColor(resolveColor(face_.ColorValue, Colors())),
          .action = kPressAction,
          .state = face_.pressed ? STATE_SYSTEM_PRESSED : 0u};
}

void TsColorSelect::DoAccessibleAction(int) {
  if (!choosing_ && IsWindowEnabled(Hwnd()))
    ChoosePressed();
}

bool TsColorSelect::DialogKey(int virtualKey) {
  if (virtualKey != VK_RETURN || GetFocus() != Hwnd() || choosing_)
    return false;
  ChoosePressed();
  return true;
}

void TsColorSelect::Choose() {
  choosing_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{choosing_};
  // The dialog needs the mouse; losing the capture now does not spring the picker back.
  if (GetCapture() == Hwnd())
    ReleaseCapture();
  ChooseColorValue();
}

void TsColorSelect::ChoosePressed() {
  SetPressed(true);
  Choose();
  SetPressed(false);
}

void TsColorSelect::SetMouseOver(bool over) {
  if (face_.mouseOver == over)
    return;
  face_.mouseOver = over;
  MarkStale();
}

void TsColorSelect::SetPressed(bool pressed) {
  if (face_.pressed == pressed)
    return;
  face_.pressed = pressed;
  MarkStale(true);
  NotifyAccessible(Hwnd(), EVENT_OBJECT_STATECHANGE);
}

void TsColorSelect::PaintFace(Bitmap& face) {
  face_.scale = Scale();
  PaintColorSelect(face, face_, style_, Text(), Colors());
}

void TsColorSelect::ChooseColorValue() {
  // The custom colours the user mixed stay offered for the rest of the run.
  static COLORREF customColors[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                      0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                      0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = GetAncestor(Hwnd(), GA_ROOT);
  cc.rgbResult = ToColorRef(resolveColor(face_.ColorValue, Colors()));
  cc.lpCustColors = customColors;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ShowColorDialog(cc))
    return;
  SetColorValue(static_cast<Color>(cc.rgbResult & 0xFFFFFF));
  if (OnChange)
    OnChange();
}

LRESULT TsColorSelect::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (choosing_)
        return 0;
      SetCapture(Hwnd());
      SetPressed(true);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      if (choosing_)
        return 0;
      const bool left = msg == WM_LBUTTONUP;
      if (Inside(lparam)) {
        // The picker keeps its pressed look until the dialog closes.
        Choose();
      }
      if (left) {
        if (GetCapture() == Hwnd())
          ReleaseCapture();
        SetPressed(false);
        POINT cursor{};
        GetCursorPos(&cursor);
        SetMouseOver(WindowFromPoint(cursor) == Hwnd());
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      // Capture taken away by another window: spring back, no dialog.
      if (!choosing_ && reinterpret_cast<HWND>(lparam) != Hwnd())
        SetPressed(false);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      face_.focused = msg == WM_SETFOCUS;
      if (!face_.focused && heldByKey_) {
        // The focus left before Space came up: the push is abandoned.
        heldByKey_ = false;
        SetPressed(false);
      }
      MarkStale();
      return 0;
    case WM_KEYDOWN:
      // Space presses, its release chooses, as on a push button.
      if (wparam == VK_SPACE) {
        if (!heldByKey_ && !face_.pressed && !choosing_) {
          heldByKey_ = true;
          SetPressed(true);
        }
        return 0;
      }
      break;
    case WM_CHAR:
      if (wparam == L' ')
        return 0;
      break;
    case WM_KEYUP:
      if (wparam == VK_SPACE && heldByKey_) {
        heldByKey_ = false;
        ChoosePressed();
        return 0;
      }
      break;
  }
  return DrawnControl::Handle(msg, wparam, lparam);
}

}  // namespace kv
