// TForm3, the help window: the fixed help text in a read-only memo, "О программе" and "Закрыть".
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "dialogs/dialog_form_win.h"
#include "toolkit/controls_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/button_win.h"

namespace kv {

class TForm3 final : public DialogForm {
 public:
  // `showAbout` opens the About window modally (Button2Click).
  void Create(HWND owner, std::function<void()> showAbout);

  void FormShow() override;

  // The memo's text: the 110 help lines joined by CR LF.
  static std::wstring MemoText();

  // A read-only multi-line edit with a vertical scroll bar, black on silver.
  Edit Memo1;
  TsButton Button2;
  TsButton Button1;

 protected:
  void DpiChanged() override;

 private:
  void Button2Click();
  void SetMemoMargins();

  std::function<void()> showAbout_;
  bool memoFilled_ = false;
};

}  // namespace kv
