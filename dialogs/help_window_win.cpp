#include "dialogs/help_window_win.h"

#include "resources/resources.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TForm3";

// Courier New 13 px, fixed-pitch: the text's columns depend on it.
const Font kMemoFont{.face = "Courier New", .height = 13, .fixedPitch = true};

}  // namespace

std::wstring TForm3::MemoText() {
  std::wstring text = Widen(resources::kHelpText);
  // The resource ends every line with CR LF; the memo holds the lines, not an empty 111th.
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0)
    text.resize(text.size() - 2);
  return text;
}

void TForm3::Create(HWND owner, std::function<void()> showAbout) {
  showAbout_ = std::move(showAbout);
  CreateDialogForm(
      {.className = kClassName, .text = "Справка", .bounds = {0, 0, 535, 518}, .parent = owner},
      "Справка");
  // No word wrap: a line broken at the memo's edge would lose the text's column layout.
  Memo1.Create({.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                         ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_LEFT,
                .exStyle = WS_EX_CLIENTEDGE,
                .bounds = {8, 24, 8 + 521, 24 + 457},
                .parent = Hwnd()});
  Memo1.Colors().Set(clBlack, clSilver);
  // The help text is longer than an edit's default limit of 32767 characters would allow for
  // typing; it is only set, but lift the limit so nothing is ever cut.
  SendMessageW(Memo1.Hwnd(), EM_SETLIMITTEXT, 0, 0);

  Button2.Create(*this, {8, 488, 8 + 155, 488 + 25}, "О программе");
  Button2.OnClick = [this] { Button2Click(); };
  Button1.Create(*this, {168, 488, 168 + 361, 488 + 25}, "Закрыть");
  Button1.SetModalResult(kModalResultOk);

  Memo1.SetAccessibleName("Справка");
  SetEscapeResult(kModalResultCancel);
  SetTabOrder({Memo1.Hwnd(), Button2.Hwnd(), Button1.Hwnd()});
}

void TForm3::FormShow() {
  // The text and its font come with the first showing: until then the waiting program does
  // not carry the font file.
  if (memoFilled_)
    return;
  memoFilled_ = true;
  HWND memo = Memo1.Hwnd();
  SendMessageW(memo, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(kMemoFont)), FALSE);
  SetMemoMargins();
  SetWindowTextW(memo, MemoText().c_str());
}

// Narrow margins: 62 characters of 8 pixels (at 96 DPI) just fit beside the scroll bar.
void TForm3::SetMemoMargins() {
  const int margin = Scale()(1);
  SendMessageW(Memo1.Hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
               MAKELPARAM(margin, margin));
}

void TForm3::DpiChanged() {
  // The font came with the rest of the form's; the margins are reset by a new font.
  if (memoFilled_)
    SetMemoMargins();
  DialogForm::DpiChanged();
}

void TForm3::Button2Click() {
  if (showAbout_)
    showAbout_();
}

}  // namespace kv
