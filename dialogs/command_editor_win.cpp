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
constexpr DWORD kFileNameCapacity = 32768;

constexpr Rect At(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

bool IsUnstorableChar(wchar_t ch) {
  return ch == L'|' || ch == L'\r' || ch == L'\n' || ch == 0;
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

std::string StripUnstorableText(Edit& edit, const AnsiCodec& codec) {
  const std::string text = edit.Text();
  const CodePageSplit split = SplitByCodePage(StripUnstorableChars(text), codec);
  if (split.kept == text)
    return {};
  const size_t end = edit.GetSelection().end;
  // The caret keeps its place among the characters that stay.
  const std::wstring wide = Widen(text);
  const std::string before = Narrow(wide.substr(0, std::min(end, wide.size())));
  const size_t caret = Widen(SplitByCodePage(StripUnstorableChars(before), codec).kept).size();
  edit.SetText(split.kept);
  edit.Select({caret, caret});
  return split.refused;
}

TForm2::TForm2(FileSystem& fs, const AnsiCodec& codec, std::string storePath)
    : fs_(fs), codec_(codec), storePath_(std::move(storePath)), model_(SortsBeforeInUserLocale) {}

void TForm2::CreateFieldEdit(Edit& edit, Rect bounds) {
  CreateEdit(edit, bounds);
  // "|" (the field separator) and line breaks are refused as they are typed.
  edit.OnKeyPress = [](wchar_t& ch) {
    if (IsUnstorableChar(ch))
      ch = 0;
  };
  edit.OnTextChanged = [this, &edit] { FieldEditChanged(edit); };
}

// Catches what the key filter does not see: pasted text, a picked file or folder.
void TForm2::FieldEditChanged(Edit& edit) {
  const std::string refused = StripUnstorableText(edit, codec_);
  UpdateAddButton();
  if (!refused.empty())
    ShowPlainMessage(CodePageRefusalMessage(refused));
}

void TForm2::Create(HWND owner, std::function<Tf_Dir&()> folderChooser) {
  folderChooser_ = std::move(folderChooser);
  CreateDialogForm({.className = kClassName,
                    .text = "Редактор команд",
                    .bounds = {0, 0, 497, 270},
                    .parent = owner},
                   "Редактор команд");

  // Not sorted by the list box itself: rows go where the model puts their whole line.
  CommsNames.Create(
      {.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
       .exStyle = WS_EX_CLIENTEDGE,
       .bounds = At(8, 24, 121, 241),
       .parent = Hwnd(),
       .font = FormFont()});
  CommsNames.OnSelectionChanged = [this] { CommsNamesClick(); };
  CommsNames.SetAccessibleName("Команды");

  AddLabel({.at = {136, 24}, .text = "Имя:"});
  CreateFieldEdit(Comm, At(136, 40, 353, 21));
  AddLabel({.at = {136, 69}, .text = "Команда/путь:"});
  FileBrowse.Create(*this, At(464, 66, 21, 21), "...");
  CreateFieldEdit(Path, At(136, 88, 353, 21));
  AddLabel({.at = {136, 117}, .text = "Параметры:"});
  ParamFileBrowse.Create(*this, At(464, 113, 21, 21), "...");
  CreateFieldEdit(Param, At(136, 136, 353, 21));
  AddLabel({.at = {136, 164}, .text = "Рабочая папка:"});
  DirBrowse.Create(*this, At(368, 162, 21, 21), "...");
  ExtractDirFromPath.Create(*this, At(392, 162, 97, 21), "Из имени файла");
  CreateFieldEdit(Dir, At(136, 184, 353, 21));
  bAddEdit.Create(*this, At(136, 214, 129, 21), "Добавить/Изменить");
  ClearButton.Create(*this, At(272, 214, 105, 21), "Очистить");
  DelButton.Create(*this, At(384, 214, 105, 21), "Удалить");
  OkB.Create(*this, At(272, 246, 105, 21), "Ок");
  CancelB.Create(*this, At(384, 246, 105, 21), "Отмена");
  CancelB.SetCancel(true);

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
  // The edits are read out by their labels' words, the "..." buttons by what they choose.
  Comm.SetAccessibleName("Имя");
  Path.SetAccessibleName("Команда/путь");
  Param.SetAccessibleName("Параметры");
  Dir.SetAccessibleName("Рабочая папка");
  FileBrowse.SetAccessibleName("Выбрать программу");
  ParamFileBrowse.SetAccessibleName("Выбрать файл параметров");
  DirBrowse.SetAccessibleName("Выбрать рабочую папку");

  SetTabOrder({Comm.Hwnd(), Path.Hwnd(), Param.Hwnd(), Dir.Hwnd(), bAddEdit.Hwnd(),
               ClearButton.Hwnd(), DelButton.Hwnd(), FileBrowse.Hwnd(), ParamFileBrowse.Hwnd(),
               DirBrowse.Hwnd(), ExtractDirFromPath.Hwnd(), OkB.Hwnd(), CancelB.Hwnd(),
               CommsNames.Hwnd()});
}

CommandEntry TForm2::EditTexts() const {
  return {Comm.Text(), Path.Text(), Param.Text(), Dir.Text()};
}

void TForm2::SetEditTexts(const CommandEntry& entry) {
  Comm.SetText(entry.name);
  Path.SetText(entry.path);
  Param.SetText(entry.parameters);
  Dir.SetText(entry.workingFolder);
  UpdateAddButton();
}

void TForm2::FillNames() {
  CommsNames.SetItems(model_.CommsNames());
}

void TForm2::UpdateAddButton() {
  const bool enabled = !model_.ReadOnly() && AddButtonEnabled(Comm.Text(), Path.Text());
  if (enabled == bAddEdit.Enabled())
    return;
  // A disabled window loses the focus to nowhere, and Esc would then reach no one: the name
  // edit, where the next entry starts, takes it instead.
  if (!enabled && GetFocus() == bAddEdit.Hwnd())
    SetFocus(Comm.Hwnd());
  bAddEdit.SetEnabled(enabled);
}

void TForm2::FormShow() {
  // A store that exists but cannot be read is reported; the window opens all the same with the
  // lists it had, for looking only: "Ок" must not replace a file it never read.
  try {
    if (model_.LoadStore(fs_, codec_, storePath_))
      FillNames();
  } catch (const FileError& e) {
    ShowErrorBox(ErrorBoxText(e.what()) + "\n\n" + std::string(kStoreUnreadNotice));
  }
  OkB.SetEnabled(!model_.ReadOnly());
  DelButton.SetEnabled(!model_.ReadOnly());
  SetEditTexts({});
}

void TForm2::CommsNamesClick() {
  const int row = CommsNames.SelectedIndex();
  if (row < 0)
    return;
  SetEditTexts(model_.EditValuesForRow(static_cast<size_t>(row)));
}

void TForm2::bAddEditClick() {
  const CommandEntry edits = EditTexts();
  if (!AddButtonEnabled(edits.name, edits.path))
    return;
  const AddEditOutcome outcome = model_.bAddEditClick(edits);
  if (outcome.action == AddEditOutcome::Action::showReservedMessage) {
    ShowPlainMessage(kReservedNameMessage);
    return;
  }
  if (outcome.addedRow) {
    const size_t row = *outcome.addedRow;
    CommsNames.InsertItem(row, model_.CommsNames()[row]);
  }
  SetEditTexts({});
}

void TForm2::DelButtonClick() {
  const int selected = CommsNames.SelectedIndex();
  const std::optional<size_t> row =
      selected >= 0 ? std::optional<size_t>(static_cast<size_t>(selected)) : std::nullopt;
  if (model_.DelButtonClick(row))
    CommsNames.DeleteItem(*row);
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
  ofn.hwndOwner = Hwnd();
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
  Path.SetText(*file);
  Dir.SetText(FolderOfFileName(*file));
}

void TForm2::ParamFileBrowseClick() {
  const std::optional<std::string> file = RunOpenDialog("Все файлы|*.*");
  if (file)
    Param.SetText(*file);
}

void TForm2::DirBrowseClick() {
  Tf_Dir& chooser = folderChooser_();
  const std::string dir = Dir.Text();
  if (!dir.empty() && fs_.directoryExists(dir))
    chooser.SetOpenFolder(dir);
  if (chooser.ShowModal() == kModalResultOk)
    Dir.SetText(chooser.OpenFolder());
}

void TForm2::ExtractDirFromPathClick() {
  if (const std::optional<std::string> folder = kv::ExtractDirFromPath(Path.Text()))
    Dir.SetText(*folder);
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

}  // namespace kv
