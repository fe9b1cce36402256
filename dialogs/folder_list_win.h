// DirectoryListBox1 of the folder chooser: the rows of BuildFolderRows, owner-drawn 16 pixels
// high with folder glyphs; a double click or Enter opens the highlighted row.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/chooser_rows_win.h"
#include "dialogs/folder_list.h"
#include "toolkit/controls_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/geometry.h"
#include "toolkit/window_win.h"

namespace kv {

// DirectoryListBox1: the rows of BuildFolderRows, owner-drawn 16 pixels high with folder glyphs.
class DirectoryListBox final : public ListBox {
 public:
  void Create(HWND parent, Rect bounds, HFONT font);
  void SetRows(FolderRows rows);
  const FolderRows& Rows() const { return rows_; }

  // A row was opened: double click, or Enter on the highlighted row.
  std::function<void(const FolderRow& row)> OnOpen;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;
  bool Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  void DpiChanged() override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  void OpenHighlighted();

  FolderRows rows_;
  ChooserRowPainter painter_;
};

// The subfolders of a folder on disk, hidden and system folders left out.
std::vector<std::string> ListSubfoldersOnDisk(const std::string& folder);

}  // namespace kv
