#include "dialogs/help_window_win.h"

#include "resources/resources.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TForm3";
constexpr int kMemoFontHeight = 13;

// Courier New 13 px. Asked for as a fixed-pitch modern font, so that where Courier New is
// missing the system still picks a fixed-pitch face: the text's columns depend on it.
HFONT CreateMemoFont() {
  LOGFONTW lf{};
  lf.lfHeight = -kMemoFontHeight;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  wcscpy(lf.lfFaceName, L"Courier New");
  return CreateFontIndirectW(&lf);
}

}  // namespace

void HelpMemo::Create(HWND parent, Rect bounds) {
  brush_.reset(CreateSolidBrush(ToColorRef(clSilver)));
  // No word wrap: a line broken at the memo's edge would lose the text's column layout.
  CreateControl(WS_EX_CLIENTEDGE, L"EDIT", L"",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                    ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_LEFT,
                {bounds.left, bounds.top, bounds.right, bounds.bottom}, parent);
  // The help text is longer than an edit's default limit of 32767 characters would allow for
  // typing; it is only set, but lift the limit so nothing is ever cut.
  SendMessageW(hwnd(), EM_SETLIMITTEXT, 0, 0);
}

void HelpMemo::Fill(HFONT font, const std::wstring& text) {
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // Narrow margins: 62 characters of 8 pixels just fit beside the scroll bar.
  SendMessageW(hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
  SetWindowTextW(hwnd(), text.c_str());
}

bool HelpMemo::Reflected(UINT msg, WPARAM wparam, LPARAM, LRESULT& result) {
  // A read-only edit asks for its colours with WM_CTLCOLORSTATIC.
  if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLOREDIT)
    return false;
  HDC dc = reinterpret_cast<HDC>(wparam);
  SetTextColor(dc, ToColorRef(clBlack));
  SetBkColor(dc, ToColorRef(clSilver));
  result = reinterpret_cast<LRESULT>(brush_.get());
  return true;
}

std::wstring TForm3::MemoText() {
  std::wstring text = Widen(resources::kHelpText);
  // The resource ends every line with CR LF; the memo holds the lines, not an empty 111th.
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0)
    text.resize(text.size() - 2);
  return text;
}

void TForm3::Create(HWND owner, std::function<void()> showAbout) {
  showAbout_ = std::move(showAbout);
  CreateDialogForm(kClassName, "Справка", "Справка", 535, 518, owner);
  Memo1.Create(hwnd(), {8, 24, 8 + 521, 24 + 457});

  Button2.Create(*this, {8, 488, 8 + 155, 488 + 25}, "О программе");
  Button2.OnClick = [this] { Button2Click(); };
  Button1.Create(*this, {168, 488, 168 + 361, 488 + 25}, "Закрыть", kModalResultOk);

  SetTabOrder({Memo1.hwnd(), Button2.hwnd(), Button1.hwnd()});
}

void TForm3::FormShow() {
  // The text and its font come with the first showing: until then the waiting program does
  // not carry the font file.
  if (memoFont_)
    return;
  memoFont_.reset(CreateMemoFont());
  Memo1.Fill(memoFont_, MemoText());
}

void TForm3::Button2Click() {
  if (showAbout_)
    showAbout_();
}

}  // namespace kv
