#include "dialogs/folder_chooser_win.h"

#include "dialogs/sort_order_win.h"
#include "toolkit/errors.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"Tf_Dir";

std::string CurrentFolder() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring buffer(n, L'\0');
  const DWORD written = GetCurrentDirectoryW(n, buffer.data());
  buffer.resize(written < n ? written : 0);
  return Narrow(buffer);
}

}  // namespace

void Tf_Dir::Create(HWND owner) {
  CreateDialogForm(
      {.className = kClassName, .text = "Папка", .bounds = {0, 0, 287, 241}, .parent = owner},
      "Выбрать папку");
  DriveComboBox1.Create(Hwnd(), {8, 24, 8 + 161, 24 + 19}, FormFont());
  DriveComboBox1.OnChange = [this](char letter) { DriveComboBox1Change(letter); };
  sButton1.Create(*this, {176, 24, 176 + 51, 24 + 19}, "Ok");
  sButton1.SetModalResult(kModalResultOk);
  sButton2.Create(*this, {232, 24, 232 + 51, 24 + 19}, "Отмена");
  sButton2.SetModalResult(kModalResultCancel);
  DirectoryListBox1.Create(Hwnd(), {8, 48, 8 + 273, 48 + 185}, FormFont());
  DirectoryListBox1.OnOpen = [this](const FolderRow& row) { ChangeFolder(row.path); };
  DirectoryListBox1.SetAccessibleName("Папки");
  // No button answers Esc here; the chooser closes with "Отмена"'s result.
  SetEscapeResult(kModalResultCancel);
  SetTabOrder({DirectoryListBox1.Hwnd(), DriveComboBox1.Hwnd(), sButton1.Hwnd(), sButton2.Hwnd()});
  // Only the open folder now; drives and rows are read when the chooser opens (FormShow), so
  // start-up never touches the drives or lists a folder.
  openFolder_ = CurrentFolder();
  const std::optional<char> drive = DriveOfPath(openFolder_);
  if (drive)
    driveFolders_[*drive] = openFolder_;
  DriveComboBox1.SelectDrive(drive);
}

void Tf_Dir::FormShow() {
  // Drives come and go, and so do folders: show what is there now, around the same open folder.
  DriveComboBox1.Fill();
  if (fs_.directoryExists(openFolder_)) {
    DirectoryListBox1.SetRows(
        BuildFolderRows(openFolder_, ListSubfoldersOnDisk, SortsBeforeInUserLocale));
  }
}

void Tf_Dir::SetOpenFolder(const std::string& folder) {
  ChangeFolder(folder);
}

void Tf_Dir::ChangeFolder(const std::string& folder) {
  if (!SetCurrentDirectoryW(Widen(folder).c_str()))
    throw FileError(IoErrorMessage(static_cast<int>(GetLastError())));
  // The system's form of the path: full, without a trailing separator except at a root.
  openFolder_ = CurrentFolder();
  const std::optional<char> drive = DriveOfPath(openFolder_);
  if (drive)
    driveFolders_[*drive] = openFolder_;
  DriveComboBox1.SelectDrive(drive);
  DirectoryListBox1.SetRows(
      BuildFolderRows(openFolder_, ListSubfoldersOnDisk, SortsBeforeInUserLocale));
}

void Tf_Dir::DriveComboBox1Change(char letter) {
  std::string folder;
  if (auto it = driveFolders_.find(letter);
      it != driveFolders_.end() && fs_.directoryExists(it->second)) {
    folder = it->second;
  } else {
    // The drive's own current folder (its root when it has none).
    const wchar_t drive[] = {static_cast<wchar_t>(letter), L':', L'\0'};
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(drive, MAX_PATH, full, nullptr);
    folder = n && n < MAX_PATH ? Narrow(full) : std::string{letter, ':', '\\'};
  }
  try {
    ChangeFolder(folder);
  } catch (...) {
    // A drive that is not ready: the drop-down goes back to the drive the list shows.
    DriveComboBox1.SelectDrive(DriveOfPath(openFolder_));
    throw;
  }
}

}  // namespace kv
