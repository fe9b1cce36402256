// Tf_Dir, the folder chooser: a drive drop-down over a folder list whose one state value, the
// open folder, is the chooser's result and the process's current folder.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/dialog_form_win.h"
#include "dialogs/folder_list.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/button_win.h"

namespace kv {

// DriveComboBox1: the logical drives, each with a small drawn glyph, its letter and, for a
// fixed drive, its volume label.
class DriveComboBox final : public Window {
 public:
  void Create(HWND parent, Rect bounds, HFONT font);
  // Lists the drives the system has now.
  void Fill();
  // Selects the drive's row; with no such row (or nullopt, a network folder) selects none.
  void SelectDrive(std::optional<char> letter);
  std::optional<char> SelectedDrive() const;

  // The user picked a drive (the list is closed again).
  std::function<void(char letter)> OnChange;

 protected:
  bool Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  struct Drive {
    char letter;
    UINT type;
    std::wstring text;
  };
  void DrawItem(const DRAWITEMSTRUCT& item);
  void CheckChange();

  std::vector<Drive> drives_;
  std::optional<char> shown_;  // the drive the chooser currently shows
  GdiObject<HBRUSH> brush_;
};

// DirectoryListBox1: the rows of BuildFolderRows, owner-drawn 16 pixels high with folder glyphs.
class DirectoryListBox final : public Window {
 public:
  void Create(HWND parent, Rect bounds, HFONT font);
  void SetRows(FolderRows rows);
  const FolderRows& Rows() const { return rows_; }

  // A row was opened: double click, or Enter on the highlighted row.
  std::function<void(const FolderRow& row)> OnOpen;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;
  bool Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  void OpenHighlighted();

  FolderRows rows_;
  GdiObject<HBRUSH> brush_;
};

class Tf_Dir final : public DialogForm {
 public:
  // The open folder starts as the process's current folder.
  void Create(HWND owner);

  // The open folder, a full path: the result after "Ok".
  const std::string& OpenFolder() const { return openFolder_; }
  // Opens `folder` (an existing folder) as if the user had; on another drive the drop-down
  // switches first. Throws FileError ("I/O error %d") when the folder cannot be made current.
  void SetOpenFolder(const std::string& folder);

  void FormShow() override;

  DriveComboBox DriveComboBox1;
  TsButton sButton1;
  TsButton sButton2;
  DirectoryListBox DirectoryListBox1;

 private:
  void DriveComboBox1Change(char letter);
  // Makes `folder` current and the open folder, and rebuilds the list; the list and the
  // drop-down are untouched when it cannot be made current.
  void ChangeFolder(const std::string& folder);

  std::string openFolder_;
  // The folder last open on each drive, so choosing a drive again returns there.
  std::map<char, std::string> driveFolders_;
};

// The subfolders of a folder on disk, hidden and system folders left out.
std::vector<std::string> ListSubfoldersOnDisk(const std::string& folder);

}  // namespace kv
