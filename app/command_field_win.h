// ECommand: the platform's editable drop-down combo box, filled in its own colour, with the
// history in its list and the platform's suggestion list under it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/suggestions_win.h"
#include "toolkit/accessible_win.h"
#include "toolkit/controls_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/painting.h"

namespace kv {

// A combo box to a screen reader, named (SetAccessibleName, before Create) with its edit, its
// text the value.
class CommandField final : public Window, public NamedAccessible {
 public:
  CommandField() : NamedAccessible(ROLE_SYSTEM_COMBOBOX) {}

  // The closed box's designed height, at 96 DPI.
  static constexpr int kHeight = 32;

  // Creates the box at `bounds` (at 96 DPI), the closed box's place; its list drops below.
  void Create(HWND parent, Rect bounds, HFONT font);
  HWND EditHandle() const { return edit_.Hwnd(); }

  // sPainting: the indexed colour setter (index 3 sets the fill and stops following the
  // parent's colour) repaints the field.
  TsPainting& Painting() { return painting_; }
  void SetFontColor(Color c);
  void SetKeyPress(std::function<void(char&)> handler) { keyPress_ = std::move(handler); }

  std::string Text() const;
  // Sets the text and tells a screen reader, which reads out a result shown in the field.
  void SetText(const std::string& text);
  AccessiblePart DescribeAccessible(int part) override;
  void SelectAll();

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
  void DpiChanged() override;

 private:
  // The combo box's own edit, where the keys arrive: the list is filled before a key that
  // reads it.
  class FieldEdit final : public Edit {
   public:
    explicit FieldEdit(CommandField& field) : field_(field) {}

   protected:
    LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

   private:
    CommandField& field_;
  };

  static bool NeedsList(UINT msg, WPARAM wparam);
  // The rows' and the closed box's heights at the field's scale.
  void SetHeights();
  // Enter and Esc go to the key-press handler first, which may swallow them.
  void EditKeyPress(wchar_t& ch);
  HBRUSH FillBrush();
  void FillList();
  void Paint();
  void InvalidateButton();
  void DrawRow(const DRAWITEMSTRUCT& item);
  void TextChanged();

  FieldEdit edit_{*this};
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

}  // namespace kv
