// The bar window, TForm1, and its controls: the panel, the command field and the two flat
// buttons. Messages go to the portable TForm1 handlers; the view operations they need are here.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/bar.h"
#include "app/command_field_win.h"
#include "toolkit/form_win.h"
#include "toolkit/timer_win.h"
#include "widgets/painting.h"
#include "widgets/panel_win.h"
#include "widgets/png_button_win.h"

namespace kv {

class BarWindow final : public Form, public BarView {
 public:
  BarWindow();

  // Creates the window and its controls, hidden.
  void Create(TForm1& logic);
  // The bar's creation handler; an error it raises is shown in the default error box.
  void RunFormCreate();
  // Creates the command field's window if it does not exist yet; false when it did.
  bool CreateField();

  // BarView.
  void ShowBarWindow() override;
  void ActivateBar() override;
  void HideBarWindow() override;
  bool IsBarShowing() override;
  bool IsBarActive() override;
  int BarTop() override;
  void SetBarTop(int top) override;
  void SetBarBounds(int left, int top, int width) override;
  int ScreenWidth() override;
  DpiScale BarScale() override { return Scale(); }
  void SetBarAlpha(int alpha) override;
  void RepaintBar() override;
  void PaintChanges() override;
  void RepaintPan() override;
  void RepaintField() override;
  void ProcessMessages() override;
  void SetTimer1(bool on) override;
  void SetQTTimer(bool on) override;
  void SetSaveTimer(bool on) override;
  std::string FieldText() override;
  void SetFieldText(const std::string& text) override;
  void SelectAllField() override;
  void FocusField() override;
  void SetDropDownItems(const std::vector<std::string>& items) override;
  void CloseSuggestions() override;
  Rect FieldBounds() override;
  Rect OkBBounds() override { return OkB.Bounds(); }
  Rect CloseBBounds() override { return CloseB.Bounds(); }
  void SetOkBLeft(int left) override { OkB.SetLeft(left); }
  void SetCloseBLeft(int left) override { CloseB.SetLeft(left); }
  void PopupExitMenu(Point screen) override;
  bool BringOpenDialogToFront() override;
  void SetPanelGradient(const std::string& data) override;
  void SetButtonsFontColor(Color c) override;
  void SetFieldColor(Color c) override;
  void SetFieldFontColor(Color c) override;

  TsPanel& Panel() { return Pan; }

  // Called at every show, as the bar is shown.
  std::function<void()> OnShow;
  // The suggestion list under the field, with the history and the names of the user's
  // commands, the dispatcher's words and the shortcuts.
  void AttachSuggestions();

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;
  bool PreTranslate(MSG& msg) override;
  // Back in its place at the new scale: hidden at the new hidden top, or pinned where it was.
  void DpiChanged() override;

 private:
  void LayOut(int clientWidth);
  void RefrontTimerTimer();
  CommandField& Field();  // created now if it does not exist yet

  TForm1* logic_ = nullptr;
  TsPanel Pan;
  CommandField ECommand;
  PngButtonControl OkB;
  PngButtonControl CloseB;
  Timer Timer1;
  Timer QTTimer;
  Timer SaveTimer;
  Timer RefrontTimer;  // one look, after a dialog was brought forward
  HWND fronted_ = nullptr;
  MenuHandle PopupMenu1;
  int alpha_ = -1;
};

}  // namespace kv
