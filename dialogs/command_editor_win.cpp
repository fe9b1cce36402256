#include "dialogs/command_editor_win.h"

#include <commdlg.h>
#include <commctrl.h>

#include <vector>

#include "dialogs/folder_chooser_win.h"
#include "dialogs/sort_order_win.h"
#include "toolkit/common_dialogs_win.h"
#include "toolkit/application_win.h"
#include "toolkit/errors.h"
#include "toolkit/message_box_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TForm2";
constexpr UINT_PTR kEditFilterId = 0x4B53;  // "KS"
constexpr DWORD kFileNameCapacity = 32768;

constexpr Rect At(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

bool IsUnstorableChar(WPARAM ch) {
  return ch == L'|' || ch == L'\r' || ch == L'\n' || ch == 0;
}

// The edits refuse what a stored line cannot carry: "|" (the field separator) and line breaks.
LRESULT CALLBACK EditFilterProcedure(HWND edit, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                     DWORD_PTR) {
  switch (msg) {
    case WM_CHAR:
      if (IsUnstorableChar(wparam))
        return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, EditFilterProcedure, kEditFilterId);
      break;
  }
  return DefSubclassProc(edit, msg, wparam, lparam);
}

std::wstring FilterForDialog(const std::string& filter) {
  std::wstring wide = Widen(filter);
  for (wchar_t& c : wide) {
    if (c == L'|')
      c = L'\0';
  }
  wide.push_back(L'\0');
  return wide;  // the terminating pair: this NUL and the string's own
}

}  // namespace

std::string StripUnstorableText(HWND edit, const AnsiCodec& codec) {
  const std::string text = WindowText(edit);
  const CodePageSplit split = SplitByCodePage(StripUnstorableChars(text), codec);
  if (split.kept == text)
    return {};
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  // The caret keeps its place among the characters that stay.
  const std::wstring wide = Widen(text);
  const std::string before = Narrow(wide.substr(0, std::min<size_t>(end, wide.size())));
  const auto caret =
      static_cast<WPARAM>(Widen(SplitByCodePage(StripUnstorableChars(before), codec).kept).size());
  SetWindowTextUtf8(edit, split.kept);
  SendMessageW(edit, EM_SETSEL, caret, static_cast<LPARAM>(caret));
  return split.refused;
}

TForm2::TForm2(FileSystem& fs, const AnsiCodec& codec, std::string storePath)
    : fs_(fs), codec_(codec), storePath_(std::move(storePath)), model_(SortsBeforeInUserLocale) {}

HWND TForm2::AddFieldEdit(Rect bounds) {
  HWND edit = AddEdit(bounds);
  SetWindowSubclass(edit, EditFilterProcedure, kEditFilterId, 0);
  return edit;
}

void TForm2::Create(HWND owner, std::function<Tf_Dir&()> folderChooser) {
  folderChooser_ = std::move(folderChooser);
  CreateDialogForm(kClassName, "Редактор команд", "Редактор команд", 497, 270, owner);

  // Not sorted by the list box itself: rows go where the model puts their whole line.
  const Rect names = At(8, 24, 121, 241);
  CommsNames = CreateChildControl(
      WS_EX_CLIENTEDGE, WC_LISTBOXW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
      {names.left, names.top, names.right, names.bottom}, hwnd(), FormFont());

  AddLabel(136, 24, "Имя:");
  Comm = AddFieldEdit(At(136, 40, 353, 21));
  AddLabel(136, 69, "Команда/путь:");
  FileBrowse.Create(*this, At(464, 66, 21, 21), "...");
  Path = AddFieldEdit(At(136, 88, 353, 21));
  AddLabel(136, 117, "Параметры:");
  ParamFileBrowse.Create(*this, At(464, 113, 21, 21), "...");
  Param = AddFieldEdit(At(136, 136, 353, 21));
  AddLabel(136, 164, "Рабочая папка:");
  DirBrowse.Create(*this, At(368, 162, 21, 21), "...");
  ExtractDirFromPath.Create(*this, At(392, 162, 97, 21), "Из имени файла");
  Dir = AddFieldEdit(At(136, 184, 353, 21));
  bAddEdit.Create(*this, At(136, 214, 129, 21), "Добавить/Изменить");
  ClearButton.Create(*this, At(272, 214, 105, 21), "Очистить");
  DelButton.Create(*this, At(384, 214, 105, 21), "Удалить");
  OkB.Create(*this, At(272, 246, 105, 21), "Ок");
  CancelB.Create(*this, At(384, 246, 105, 21), "Отмена", 0, true);

  FileBrowse.OnClick = [this] { FileBrowseClick(); };
  ParamFileBrowse.OnClick = [this] { ParamFileBrowseClick(); };
  DirBrowse.OnClick = [this] { DirBrowseClick(); };
  ExtractDirFromPath.OnClick = [this] { ExtractDirFromPathClick(); };
  bAddEdit.OnClick = [this] { bAddEditClick(); };
  ClearButton.OnClick = [this] { ClearButtonClick(); };
  DelButton.OnClick = [this] { DelButtonClick(); };
  OkB.OnClick = [this] { OkBClick(); };
  CancelB.OnClick = [this] { CancelBClick(); };
  bAddEdit.SetEnabled(false);

  SetTabOrder({Comm, Path, Param, Dir, bAddEdit.hwnd(), ClearButton.hwnd(), DelButton.hwnd(),
               FileBrowse.hwnd(), ParamFileBrowse.hwnd(), DirBrowse.hwnd(),
               ExtractDirFromPath.hwnd(), OkB.hwnd(), CancelB.hwnd(), CommsNames});
}

CommandEntry TForm2::EditTexts() const {
  return {WindowText(Comm), WindowText(Path), WindowText(Param), WindowText(Dir)};
}

void TForm2::SetEditTexts(const CommandEntry& entry) {
  SetWindowTextUtf8(Comm, entry.name);
  SetWindowTextUtf8(Path, entry.path);
  SetWindowTextUtf8(Param, entry.parameters);
  SetWindowTextUtf8(Dir, entry.workingFolder);
  UpdateAddButton();
}

void TForm2::FillNames() {
  SendMessageW(CommsNames, WM_SETREDRAW, FALSE, 0);
  SendMessageW(CommsNames, LB_RESETCONTENT, 0, 0);
  for (const std::string& name : model_.CommsNames())
    SendMessageW(CommsNames, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
  SendMessageW(CommsNames, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(CommsNames, nullptr, TRUE);
}

void TForm2::UpdateAddButton() {
  const bool enabled = !model_.ReadOnly() && AddButtonEnabled(WindowText(Comm), WindowText(Path));
  if (enabled == bAddEdit.Enabled())
    return;
  // A disabled window loses the focus to nowhere, and Esc would then reach no one: the name
  // edit, where the next entry starts, takes it instead.
  if (!enabled && GetFocus() == bAddEdit.hwnd())
    SetFocus(Comm);
  bAddEdit.SetEnabled(enabled);
}

void TForm2::FormShow() {
  // A store that exists but cannot be read is reported; the window opens all the same with the
  // lists it had, for looking only: "Ок" must not replace a file it never read.
  try {
    if (model_.LoadStore(fs_, codec_, storePath_))
      FillNames();
  } catch (const FileError& e) {
    ShowErrorBox(errorBoxText(e.what()) + "\n\n" + std::string(kStoreUnreadNotice));
  }
  OkB.SetEnabled(!model_.ReadOnly());
  DelButton.SetEnabled(!model_.ReadOnly());
  SetEditTexts({});
}

void TForm2::CommsNamesClick() {
  const auto row = static_cast<int>(SendMessageW(CommsNames, LB_GETCURSEL, 0, 0));
  if (row < 0)
    return;
  SetEditTexts(model_.EditValuesForRow(static_cast<size_t>(row)));
}

void TForm2::bAddEditClick() {
  const CommandEntry edits = EditTexts();
  if (!AddButtonEnabled(edits.name, edits.path))
    return;
  const AddEditOutcome outcome = model_.bAddEditClick(edits);
  if (outcome.action == AddEditOutcome::Action::ShowReservedMessage) {
    ShowPlainMessage(kReservedNameMessage);
    return;
  }
  if (outcome.addedRow) {
    const size_t row = *outcome.addedRow;
    SendMessageW(CommsNames, LB_INSERTSTRING, row,
                 reinterpret_cast<LPARAM>(Widen(model_.CommsNames()[row]).c_str()));
  }
  SetEditTexts({});
}

void TForm2::DelButtonClick() {
  const auto selected = static_cast<int>(SendMessageW(CommsNames, LB_GETCURSEL, 0, 0));
  const std::optional<size_t> row =
      selected >= 0 ? std::optional<size_t>(static_cast<size_t>(selected)) : std::nullopt;
  if (model_.DelButtonClick(row))
    SendMessageW(CommsNames, LB_DELETESTRING, *row, 0);
  SetEditTexts({});
}

void TForm2::ClearButtonClick() {
  SetEditTexts({});
}

std::optional<std::string> TForm2::RunOpenDialog(const std::string& filter) {
  const std::wstring filterText = FilterForDialog(filter);
  std::vector<wchar_t> file(kFileNameCapacity, L'\0');
  odFileName_.copy(file.data(), std::min<size_t>(odFileName_.size(), kFileNameCapacity - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd();
  ofn.lpstrFilter = filterText.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kFileNameCapacity;
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  if (!ShowOpenFileDialog(ofn))
    return std::nullopt;
  odFileName_ = file.data();
  return Narrow(odFileName_);
}

void TForm2::FileBrowseClick() {
  const std::optional<std::string> file = RunOpenDialog("Приложения|*.exe|Все файлы|*.*");
  if (!file)
    return;
  SetWindowTextUtf8(Path, *file);
  SetWindowTextUtf8(Dir, FolderOfFileName(*file));
}

void TForm2::ParamFileBrowseClick() {
  const std::optional<std::string> file = RunOpenDialog("Все файлы|*.*");
  if (file)
    SetWindowTextUtf8(Param, *file);
}

void TForm2::DirBrowseClick() {
  Tf_Dir& chooser = folderChooser_();
  const std::string dir = WindowText(Dir);
  if (!dir.empty() && fs_.directoryExists(dir))
    chooser.SetOpenFolder(dir);
  if (chooser.ShowModal() == kModalResultOk)
    SetWindowTextUtf8(Dir, chooser.OpenFolder());
}

void TForm2::ExtractDirFromPathClick() {
  if (const std::optional<std::string> folder = kv::ExtractDirFromPath(WindowText(Path)))
    SetWindowTextUtf8(Dir, *folder);
}

void TForm2::OkBClick() {
  if (model_.ReadOnly())
    return;
  // Another program (or a second editor over a synced folder) may have changed the file since
  // it was read: its change is not overwritten without asking.
  if (model_.StoreChangedOnDisk(fs_, storePath_) && !AskYesNo(kStoreChangedQuestion))
    return;
  // A failed write is shown and the window stays open, so the user can retry or cancel.
  model_.SaveStore(fs_, codec_, storePath_);
  SetModalResult(kModalResultOk);
}

void TForm2::CancelBClick() {
  SetModalResult(kModalResultCancel);
}

LRESULT TForm2::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_COMMAND && lparam) {
    const auto control = reinterpret_cast<HWND>(lparam);
    const WORD code = HIWORD(wparam);
    if (control == CommsNames && code == LBN_SELCHANGE) {
      CommsNamesClick();
      return 0;
    }
    if (code == EN_CHANGE &&
        (control == Comm || control == Path || control == Param || control == Dir)) {
      // Catches what the key filter does not see: pasted text, a picked file or folder.
      const std::string refused = StripUnstorableText(control, codec_);
      UpdateAddButton();
      if (!refused.empty())
        ShowPlainMessage(CodePageRefusalMessage(refused));
      return 0;
    }
  }
  return DialogForm::Handle(msg, wparam, lparam);
}

}  // namespace kv
