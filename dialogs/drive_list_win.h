// DriveComboBox1 of the folder chooser: the logical drives in an owner-drawn drop-down list.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/chooser_rows_win.h"
#include "toolkit/accessible_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/geometry.h"
#include "toolkit/window_win.h"

namespace kv {

// DriveComboBox1: the logical drives, each with a small drawn glyph, its letter and, for a
// fixed drive, its volume label. A combo box named "Диск" to a screen reader, the selected row's
// text its value.
class DriveComboBox final : public Window, public AccessibleSource {
 public:
  void Create(HWND parent, Rect bounds, HFONT font);
  // Lists the drives the system has now.
  void Fill();
  // Selects the drive's row; with no such row (or nullopt, a network folder) selects none.
  void SelectDrive(std::optional<char> letter);
  std::optional<char> SelectedDrive() const;

  // The user picked a drive (the list is closed again).
  std::function<void(char letter)> OnChange;

  AccessiblePart DescribeAccessible(int part) override;

 protected:
  bool Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  void DpiChanged() override;

 private:
  // The rows' and the closed box's heights at the list's scale.
  void SetHeights();
  struct Drive {
    char letter;
    UINT type;
    std::wstring text;
  };
  void DrawItem(const DRAWITEMSTRUCT& item);
  void CheckChange();

  ChooserRowPainter rows_;
  std::vector<Drive> drives_;
  std::optional<char> shown_;  // the drive the chooser currently shows
};

}  // namespace kv
