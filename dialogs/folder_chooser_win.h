// Tf_Dir, the folder chooser: a drive drop-down over a folder list whose one state value, the
// open folder, is the chooser's result and the process's current folder.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "dialogs/dialog_form_win.h"
#include "dialogs/drive_list_win.h"
#include "dialogs/folder_list_win.h"
#include "toolkit/file_system.h"
#include "widgets/button_win.h"

namespace kv {

class Tf_Dir final : public DialogForm {
 public:
  explicit Tf_Dir(FileSystem& fs) : fs_(fs) {}

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

  FileSystem& fs_;
  std::string openFolder_;
  // The folder last open on each drive, so choosing a drive again returns there.
  std::map<char, std::string> driveFolders_;
};

}  // namespace kv
