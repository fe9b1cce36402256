// The system's plain controls as objects: a label, an edit and a list box. Each is subclassed
// with its object, gets its parent's notifications about it back (reflection) and reports them
// through its callbacks; each answers its own colour request.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/accessible_win.h"
#include "toolkit/color.h"
#include "toolkit/handles_win.h"
#include "toolkit/window_win.h"

namespace kv {

// The text and background colours a control asks its parent for (WM_CTLCOLOR*), answered by the
// control itself.
class ControlColors {
 public:
  void Set(Color text, Color background);
  // The background shows what the parent painted beneath the control.
  void SetTransparent(Color text);
  bool IsSet() const { return set_; }
  // Prepares `dc` and gives the brush to answer with.
  LRESULT Apply(WPARAM dc);

 private:
  bool set_ = false;
  bool transparent_ = false;
  Color text_ = clWindowText;
  Color background_ = clWindow;
  GdiObject<HBRUSH> brush_;
};

// Makes a combo box's closed box `height` pixels high through its selection field's height; the
// frame around the field differs between themes, so the box is measured and corrected.
void SetClosedComboHeight(HWND combo, int height);

// A STATIC text, read out as static text by its window text.
class Label final : public Window, public NamedAccessible {
 public:
  Label();
  // `args.className` is filled in.
  void Create(WindowArgs args);
  ControlColors& Colors() { return colors_; }

 protected:
  bool Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  ControlColors colors_;
};

// An edit; named (SetAccessibleName) after the label beside it, its text is its value.
class Edit : public Window, public NamedAccessible {
 public:
  Edit();
  // `args.className` is filled in.
  void Create(WindowArgs args);

  std::string Text() const;
  void SetText(const std::string& text);
  // The selection in UTF-16 units; an empty one is the caret.
  struct Selection {
    size_t start = 0;
    size_t end = 0;
  };
  Selection GetSelection() const;
  void Select(Selection selection);
  ControlColors& Colors() { return colors_; }

  // The text changed: typed, pasted or set (EN_CHANGE).
  std::function<void()> OnTextChanged;
  // A character typed into the edit; the handler may change it, or set it to 0 to refuse it.
  std::function<void(wchar_t& ch)> OnKeyPress;

  AccessiblePart DescribeAccessible(int part) override;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;
  bool Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  ControlColors colors_;
};

// A list box; its rows are its parts for a screen reader, named by their texts.
class ListBox : public Window, public NamedAccessible {
 public:
  ListBox();
  // `args.className` is filled in.
  void Create(WindowArgs args);

  // Makes the rows `items`, with no row selected.
  void SetItems(const std::vector<std::string>& items);
  void InsertItem(size_t row, const std::string& text);
  void DeleteItem(size_t row);
  // The selected row, -1 for none.
  int SelectedIndex() const;
  void SetSelectedIndex(int row);

  // The user selected another row (LBN_SELCHANGE; the list box needs LBS_NOTIFY).
  std::function<void()> OnSelectionChanged;
  // The user double-clicked a row (LBN_DBLCLK).
  std::function<void()> OnDoubleClick;

  bool DescribesItself() override { return true; }
  int AccessiblePartCount() override;
  AccessiblePart DescribeAccessible(int part) override;

 protected:
  bool Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
};

}  // namespace kv
