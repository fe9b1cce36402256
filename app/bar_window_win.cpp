#include "app/bar_window_win.h"

#include <commctrl.h>

#include "app/suggestions.h"
#include "app/texts.h"
#include "toolkit/application_win.h"
#include "toolkit/dpi_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr UINT_PTR kTimer1Id = 1;
constexpr UINT_PTR kQTTimerId = 2;
constexpr UINT_PTR kSaveTimerId = 3;
constexpr UINT_PTR kRefrontTimerId = 4;
// Long enough for the window that lost the foreground to have handled that.
constexpr UINT kRefrontDelayMs = 150;
constexpr UINT kN1Id = 100;

constexpr char kDesignedGradient[] =
    "16777215;12632256;22;0;0;12632256;12632256;54;0;0;12632256;16777215;23;0;0;16777215;"
    "16777215;0;0;0";

// Designed places within the client area, kDesignedWidth x kBarHeight, at 96 DPI.
constexpr int kDesignedWidth = 437;
constexpr int kFieldRightMargin = 84;
constexpr Rect kFieldDesigned{8, 13, kDesignedWidth - kFieldRightMargin,
                              13 + CommandField::kHeight};
constexpr Rect kOkBDesigned{360, 12, 392, 44};
constexpr Rect kCloseBDesigned{400, 12, 432, 44};

// The caption font of "Ok" and "X", and the field's.
const Font kBarFont{.face = "Arial Black", .height = 17, .bold = true};

// The field's place on a bar of that client width: it keeps its right margin.
Rect FieldBoundsAt(DpiScale scale, int clientWidth) {
  Rect r = scale(kFieldDesigned);
  r.right = clientWidth - scale(kFieldRightMargin);
  return r;
}

}  // namespace

BarWindow::BarWindow()
    : Timer1(kTimer1Id, 1),
      QTTimer(kQTTimerId, 1000),
      SaveTimer(kSaveTimerId, kHistorySaveDelayMs),
      RefrontTimer(kRefrontTimerId, kRefrontDelayMs) {}

void BarWindow::Create(TForm1& logic) {
  logic_ = &logic;
  CreateForm({.className = kClassName,
              .text = std::string(texts::kBarCaption),
              .style = WS_POPUP | WS_CLIPCHILDREN,
              .exStyle = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
              .bounds = {0, 0, kDesignedWidth, kBarHeight}},
             clBtnFace);
  // Fully transparent until the first show prepares it.
  SetLayeredWindowAttributes(Hwnd(), 0, 0, LWA_ALPHA);
  alpha_ = 0;
  Timer1.Attach(Hwnd());
  QTTimer.Attach(Hwnd());
  SaveTimer.Attach(Hwnd());
  RefrontTimer.Attach(Hwnd());

  Pan.Create(Hwnd(), {0, 0, kDesignedWidth, kBarHeight});
  Pan.Background().Gradient().SetPercent(100);
  Pan.SetGradientData(kDesignedGradient);

  // The field's window comes later (CreateField); its colours and keys are kept until then.
  ECommand.Painting().SetColor(0, clBtnHighlight);
  ECommand.Painting().SetColor(3, clSilver);
  ECommand.SetKeyPress([this](char& key) { logic_->ECommandKeyPress(key); });
  ECommand.SetAccessibleName(std::string(texts::kFieldName));

  for (auto* button : {&OkB, &CloseB}) {
    TPNGButton& b = button->Button();
    b.SetButtonStyle(PngButtonStyle::pbsFlat);
    b.SetButtonLayout(PngButtonLayout::pbsImageRight);
    b.SetFont(kBarFont);
    b.SetFontColor(clBlack);
  }
  OkB.Attach(Pan, Scale()(kOkBDesigned));
  OkB.Button().SetCaption("Ok");
  OkB.Button().OnClick = [this] { logic_->OkBClick(); };
  CloseB.Attach(Pan, Scale()(kCloseBDesigned));
  CloseB.Button().SetCaption("X");
  CloseB.SetAccessibleName(std::string(texts::kCloseButtonName));
  CloseB.Button().OnClick = [this] { logic_->CloseBClick(); };
  CloseB.Button().OnMouseDown = [this](MouseButton, Point) { logic_->CloseBMouseDown(); };
  CloseB.Button().OnMouseUp = [this](MouseButton, Point) { logic_->CloseBMouseUp(); };

  PopupMenu1.Reset(CreatePopupMenu());
  AppendMenuW(PopupMenu1, MF_STRING, kN1Id, Widen(texts::kExitMenuItem).c_str());
}

// The field is the costliest control of the bar (the platform's combo box, with the first use
// of the fonts): it is made when the loop is first idle, or at once when the bar needs it
// sooner, so Win+Z right after start-up is not kept waiting for it.
bool BarWindow::CreateField() {
  if (ECommand.Hwnd())
    return false;
  RECT client{};
  GetClientRect(Hwnd(), &client);
  ECommand.Create(Pan.Hwnd(), kFieldDesigned, FontFor(kBarFont));
  ECommand.SetText("ECommand");
  SetTabOrder({ECommand.Hwnd()});
  LayOut(client.right);
  return true;
}

void BarWindow::AttachSuggestions() {
  Field().AttachSuggestions([this] { return NameSuggestions(logic_->CommandLines()); },
                            [this] { return logic_->CommandLinesVersion(); });
}

CommandField& BarWindow::Field() {
  CreateField();
  return ECommand;
}

void BarWindow::RunFormCreate() {
  try {
    logic_->FormCreate();
  } catch (const std::exception& e) {
    Application::Instance().ShowException(e);
  }
}

void BarWindow::LayOut(int clientWidth) {
  const DpiScale scale = Scale();
  const BarMetrics metrics = BarMetricsAt(scale);
  Pan.SetBounds(0, 0, clientWidth, metrics.height);
  if (ECommand.Hwnd()) {
    const Rect designed = FieldBoundsAt(scale, clientWidth);
    RECT field = ECommand.Bounds();
    SetWindowPos(ECommand.Hwnd(), nullptr, 0, 0, designed.width(), field.bottom - field.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The buttons follow the field at once, not only at the first timer tick, so the first slide
  // already shows them in place.
  const Rect f = FieldBounds();
  const Rect ok = scale(kOkBDesigned);
  const Rect close = scale(kCloseBDesigned);
  OkB.SetBounds(ok.offset(f.right + metrics.okBGap - ok.left, 0));
  CloseB.SetBounds(close.offset(f.right + ok.width() + metrics.closeBGap - close.left, 0));
}

void BarWindow::DpiChanged() {
  const int width = ScreenWidth();
  SetBarBounds(0, IsWindowVisible(Hwnd()) ? BarTop() : BarMetricsAt(Scale()).hiddenTop, width);
  LayOut(width);
}

void BarWindow::ShowBarWindow() {
  // The primary monitor's scale may have changed while the bar was up (a message the hidden bar
  // missed): it comes down at the scale it is seen at.
  if (const DpiScale monitor = WindowScale(Hwnd()); monitor != Scale())
    Rescale(monitor);
  ShowWindow(Hwnd(), SW_SHOW);
  TakeForeground(Hwnd());
}

void BarWindow::ActivateBar() {
  TakeForeground(Hwnd());
  FocusField();
}

bool BarWindow::PreTranslate(MSG& msg) {
  const bool toField = ECommand.EditHandle() && msg.hwnd == ECommand.EditHandle();
  // Before the key is translated, so that what comes with the first key already sees its
  // character. Enter and Esc send the bar away: nothing to suggest for them.
  if (toField && OnFirstKey && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) &&
      msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE) {
    const std::function<void()> firstKey = std::move(OnFirstKey);
    OnFirstKey = nullptr;
    firstKey();
  }
  // Before the autocomplete object sees the key: it would put the row under the pointer in the
  // field on Enter, and may or may not keep the Esc from the field.
  if (toField && ECommand.TakeSuggestionKey(msg.message, msg.wParam))
    return true;
  return Form::PreTranslate(msg);
}

bool BarWindow::BringOpenDialogToFront() {
  // A modal dialog (ours, a message box or a common dialog) disables the bar while it is open.
  if (IsWindowEnabled(Hwnd()))
    return false;
  struct Search {
    HWND bar;
    HWND front;
  } search{Hwnd(), nullptr};
  // Top-level windows come in z-order; the dialog that takes input is the only enabled one.
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (w != s->bar && IsWindowVisible(w) && IsWindowEnabled(w)) {
          s->front = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (search.front) {
    TakeForeground(search.front);
    fronted_ = search.front;
    RefrontTimer.SetEnabled(true);
  }
  return true;
}

void BarWindow::RefrontTimerTimer() {
  RefrontTimer.SetEnabled(false);
  // The window that had the foreground may hand it to nobody while it learns it lost it (the
  // desktop then has it): the dialog the user called is asked for once more. A foreground some
  // other program took meanwhile is left alone.
  HWND foreground = GetForegroundWindow();
  if (IsWindow(fronted_) && IsWindowVisible(fronted_) &&
      (!foreground || foreground == GetDesktopWindow() || foreground == GetShellWindow()))
    TakeForeground(fronted_);
  fronted_ = nullptr;
}

void BarWindow::HideBarWindow() {
  ShowWindow(Hwnd(), SW_HIDE);
}
bool BarWindow::IsBarShowing() {
  return IsWindowVisible(Hwnd()) != 0;
}
bool BarWindow::IsBarActive() {
  return GetForegroundWindow() == Hwnd();
}

int BarWindow::BarTop() {
  RECT r{};
  GetWindowRect(Hwnd(), &r);
  return r.top;
}

void BarWindow::SetBarTop(int top) {
  // The suggestion list hangs below the field and would stay behind: never in view while the
  // bar moves.
  if (top != 0)
    ECommand.CloseSuggestions();
  RECT r{};
  GetWindowRect(Hwnd(), &r);
  SetWindowPos(Hwnd(), nullptr, r.left, top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void BarWindow::SetBarBounds(int left, int top, int width) {
  SetWindowPos(Hwnd(), nullptr, left, top, width, BarMetricsAt(Scale()).height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

int BarWindow::ScreenWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}

void BarWindow::SetBarAlpha(int alpha) {
  // Every show asks for 255; only a change goes to the system.
  if (alpha == alpha_)
    return;
  alpha_ = alpha;
  SetLayeredWindowAttributes(Hwnd(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

// No erase and no frame: the bar has no frame, and its panel paints all of it.
void BarWindow::RepaintBar() {
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void BarWindow::PaintChanges() {
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// A slide step moves the bar whole: what was on screen moves with it, so a step paints only
// what the system marked invalid (the strip that came into view), from the composed images.
void BarWindow::RepaintPan() {
  RedrawWindow(Pan.Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void BarWindow::RepaintField() {
  RedrawWindow(Field().Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void BarWindow::ProcessMessages() {
  Application::Instance().ProcessMessages();
}
void BarWindow::SetTimer1(bool on) {
  Timer1.SetEnabled(on);
}
void BarWindow::SetQTTimer(bool on) {
  QTTimer.SetEnabled(on);
}
void BarWindow::SetSaveTimer(bool on) {
  SaveTimer.SetEnabled(on);
}

std::string BarWindow::FieldText() {
  return Field().Text();
}

void BarWindow::SetFieldText(const std::string& text) {
  Field().SetText(text);
}

void BarWindow::SelectAllField() {
  Field().SelectAll();
}

// Straight to the edit, and only when it has not the focus yet: the activation has usually
// given it back already, and a second SetFocus through the combo box costs a round of messages.
void BarWindow::FocusField() {
  HWND edit = Field().EditHandle();
  if (GetFocus() != edit)
    SetFocus(edit);
}

void BarWindow::SetDropDownItems(const std::vector<std::string>& items) {
  Field().SetItems(items);
}

void BarWindow::CloseSuggestions() {
  ECommand.CloseSuggestions();
}

Rect BarWindow::FieldBounds() {
  if (!ECommand.Hwnd()) {
    // Where the field will be.
    RECT client{};
    GetClientRect(Hwnd(), &client);
    return FieldBoundsAt(Scale(), client.right);
  }
  const RECT r = ECommand.Bounds();
  // The window rectangle of a drop-down combo box is the closed box, without its list.
  return {r.left, r.top, r.right, r.bottom};
}

void BarWindow::PopupExitMenu(Point screen) {
  const UINT chosen =
      TrackPopupMenu(PopupMenu1, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                     screen.x, screen.y, 0, Hwnd(), nullptr);
  PostMessageW(Hwnd(), WM_NULL, 0, 0);
  if (chosen == kN1Id)
    logic_->N1Click();
}

void BarWindow::SetPanelGradient(const std::string& data) {
  Pan.SetGradientData(data);
}

void BarWindow::SetButtonsFontColor(Color c) {
  OkB.Button().SetFontColor(c);
  CloseB.Button().SetFontColor(c);
}

void BarWindow::SetFieldColor(Color c) {
  ECommand.Painting().SetColor(3, c);
}
void BarWindow::SetFieldFontColor(Color c) {
  ECommand.SetFontColor(c);
}

LRESULT BarWindow::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_HOTKEY:
      logic_->WMHotKey(LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_TIMER:
      if (wparam == kTimer1Id) {
        logic_->Timer1Timer();
      } else if (wparam == kQTTimerId) {
        logic_->QTTimerTimer();
      } else if (wparam == kSaveTimerId) {
        logic_->SaveTimerTimer();
      } else if (wparam == kRefrontTimerId) {
        RefrontTimerTimer();
      }
      return 0;
    case WM_SIZE:
      LayOut(LOWORD(lparam));
      return 0;
    case WM_DPICHANGED:
      // The primary monitor's scale changed: the bar keeps its own place (DpiChanged), not the
      // system's rectangle for it.
      Rescale(DpiScale(LOWORD(wparam)));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE)
        ECommand.CloseSuggestions();
      break;
    case WM_NCACTIVATE:
      // The bar has no caption or frame to draw in its new state; -1 keeps the state change
      // and skips that painting (WM_NCACTIVATE's documented lParam).
      return DefaultHandle(msg, wparam, -1);
    case WM_ENDSESSION:
      if (wparam)
        Application::Instance().Terminate();
      return 0;
  }
  return Form::Handle(msg, wparam, lparam);
}

}  // namespace kv
