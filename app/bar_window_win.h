// The bar window, TForm1, and its controls: the panel, the command field and the two flat
// buttons. Messages go to the portable TForm1 handlers; the view operations they need are here.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/bar.h"
#include "app/suggestions_win.h"
#include "toolkit/form_win.h"
#include "toolkit/timer_win.h"
#include "widgets/painting.h"
#include "widgets/panel_win.h"
#include "widgets/png_button_win.h"

namespace kv {

// ECommand: the platform's editable drop-down combo box, filled in its own colour.
class CommandField final : public Window {
 public:
  void Create(HWND parent, RECT bounds, HFONT font);
  HWND Edit() const { return edit_; }

  // sPainting: the indexed colour setter (index 3 sets the fill and stops following the
  // parent's colour) repaints the field.
  TsPainting& Painting() { return painting_; }
  void SetFontColor(Color c);
  void SetKeyPress(std::function<void(char&)> handler) { keyPress_ = std::move(handler); }

  // Makes the drop-down list a copy of `items` (the history, also offered while typing); the
  // field's text and selection stay. A long list is copied when it is first needed (dropped
  // down, walked with the keys or the wheel).
  void SetItems(const std::vector<std::string>& items);

  // Puts the platform's suggestion list under the field (once; COM must be entered). `names`
  // gives the names to offer; they are asked for again when `version` has changed.
  void AttachSuggestions(std::function<std::vector<std::string>()> names,
                         std::function<unsigned()> version);
  // A key message about to reach the field. With the suggestion list open, Esc closes only the
  // list (putting back the typed text when a row was walked to) and Enter closes it and runs
  // the field's text as it stands; true when the key was taken so.
  bool TakeSuggestionKey(UINT msg, WPARAM key);
  void CloseSuggestions();

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;
  bool Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  static LRESULT CALLBACK EditProcedure(HWND edit, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                        DWORD_PTR data);
  static bool NeedsList(UINT msg, WPARAM wparam);
  HBRUSH FillBrush();
  void FillList();
  void Paint();
  void InvalidateButton();
  void DrawRow(const DRAWITEMSTRUCT& item);

  HWND edit_ = nullptr;
  TsPainting painting_;
  Color fontColor_ = clWindowText;
  GdiObject<HBRUSH> brush_;
  Color brushColor_ = -1;
  std::function<void(char&)> keyPress_;
  HWND list_ = nullptr;
  std::shared_ptr<const std::vector<std::string>> items_;
  bool listPending_ = false;
  bool hot_ = false;  // the pointer is over the field (outside its edit)
  HFONT font_ = nullptr;
  std::unique_ptr<FieldSuggestions> suggestions_;
  std::function<std::vector<std::string>()> suggestionNames_;
  std::function<unsigned()> suggestionNamesVersion_;
  unsigned namesVersion_ = 0;
  bool suggestionsTried_ = false;
};

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

 private:
  void LayOut(int clientWidth);
  CommandField& Field();  // created now if it does not exist yet

  TForm1* logic_ = nullptr;
  TsPanel Pan;
  CommandField ECommand;
  PngButtonControl OkB;
  PngButtonControl CloseB;
  Timer Timer1;
  Timer QTTimer;
  Timer SaveTimer;
  MenuHandle PopupMenu1;
  int alpha_ = -1;
  GdiObject<HFONT> fieldFont_;
};

}  // namespace kv
