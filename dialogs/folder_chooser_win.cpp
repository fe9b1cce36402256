#include "dialogs/folder_chooser_win.h"

#include <commctrl.h>

#include "dialogs/sort_order_win.h"
#include "toolkit/errors.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"Tf_Dir";
constexpr int kRowHeight = 16;
constexpr int kIndent = 10;      // per level of the folder list
constexpr int kGlyphWidth = 18;  // glyph and the gap after it
constexpr int kDropDownRows = 8;
// Owner-drawn controls need an id: WM_DRAWITEM with a zero id is a menu's.
constexpr int kDriveComboId = 1;
constexpr int kFolderListId = 2;

constexpr Color kFolderFill = rgb(255, 214, 92);
constexpr Color kFolderFlap = rgb(255, 236, 160);
constexpr Color kFolderOutline = rgb(128, 96, 0);
constexpr Color kDriveFill = rgb(192, 192, 192);
constexpr Color kDriveOutline = rgb(64, 64, 64);
constexpr Color kDriveLight = rgb(0, 192, 0);

void FillRectColor(HDC dc, RECT r, Color c) {
  FillSolidRect(dc, r, c);
}

// A shape filled and outlined in one go.
class ShapeTools {
 public:
  ShapeTools(HDC dc, Color fill, Color outline)
      : brush_(CreateSolidBrush(ToColorRef(fill))),
        pen_(CreatePen(PS_SOLID, 1, ToColorRef(outline))),
        selectBrush_(dc, brush_),
        selectPen_(dc, pen_) {}

 private:
  GdiObject<HBRUSH> brush_;
  GdiObject<HPEN> pen_;
  ScopedSelect selectBrush_;
  ScopedSelect selectPen_;
};

// A folder 15 x 11 with its tab; an open folder shows its front flap tilted.
void DrawFolderGlyph(HDC dc, int x, int y, bool open) {
  {
    ShapeTools tools(dc, kFolderFill, kFolderOutline);
    Rectangle(dc, x + 1, y + 3, x + 7, y + 5);
    Rectangle(dc, x + 1, y + 4, x + 16, y + 14);
  }
  if (open) {
    ShapeTools tools(dc, kFolderFlap, kFolderOutline);
    const POINT flap[] = {{x + 4, y + 7}, {x + 17, y + 7}, {x + 14, y + 13}, {x + 1, y + 13}};
    Polygon(dc, flap, 4);
  }
}

void DrawDriveGlyph(HDC dc, int x, int y, UINT type) {
  if (type == DRIVE_CDROM) {
    ShapeTools tools(dc, kDriveFill, kDriveOutline);
    Ellipse(dc, x + 2, y + 2, x + 15, y + 15);
    Ellipse(dc, x + 7, y + 7, x + 10, y + 10);
    return;
  }
  {
    ShapeTools tools(dc, kDriveFill, kDriveOutline);
    if (type == DRIVE_REMOVABLE)
      Rectangle(dc, x + 3, y + 3, x + 14, y + 14);
    else
      Rectangle(dc, x + 1, y + 6, x + 16, y + 12);
  }
  FillRectColor(dc, {x + 12, y + 8, x + 14, y + 10}, kDriveLight);
  if (type == DRIVE_REMOTE) {
    FillRectColor(dc, {x + 8, y + 12, x + 9, y + 15}, kDriveOutline);
    FillRectColor(dc, {x + 3, y + 14, x + 14, y + 15}, kDriveOutline);
  }
}

// Background, and the colours for the text, of an owner-drawn row.
Color PrepareRow(const DRAWITEMSTRUCT& item) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRectColor(item.hDC, item.rcItem,
                selected ? ResolveColor(systemColor(COLOR_HIGHLIGHT)) : clWhite);
  SetBkMode(item.hDC, TRANSPARENT);
  return selected ? ResolveColor(systemColor(COLOR_HIGHLIGHTTEXT)) : clBlack;
}

void DrawRowText(const DRAWITEMSTRUCT& item, int left, const std::wstring& text, Color color) {
  SetTextColor(item.hDC, ToColorRef(color));
  RECT r = item.rcItem;
  r.left = left;
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

std::string CurrentFolder() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring buffer(n, L'\0');
  const DWORD written = GetCurrentDirectoryW(n, buffer.data());
  buffer.resize(written < n ? written : 0);
  return Narrow(buffer);
}

bool FolderExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::vector<std::string> ListSubfoldersOnDisk(const std::string& folder) {
  std::vector<std::string> names;
  std::wstring pattern = Widen(folder);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
    pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                 FindExSearchLimitToDirectories, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE)
    return names;
  do {
    const DWORD a = data.dwFileAttributes;
    const std::wstring name = data.cFileName;
    if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) &&
        name != L"." && name != L"..") {
      names.push_back(Narrow(name));
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

// ---------------------------------------------------------------------------------------------
// DriveComboBox

void DriveComboBox::Create(HWND parent, Rect b, HFONT font) {
  brush_.reset(CreateSolidBrush(ToColorRef(clWhite)));
  constexpr int kClosedHeight = 19;
  CreateControl(0, WC_COMBOBOXW, L"",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
                    CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                {b.left, b.top, b.right, b.top + kClosedHeight + kDropDownRows * kRowHeight + 2},
                parent, kDriveComboId);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(hwnd(), CB_SETITEMHEIGHT, 0, kRowHeight);
  // The selection field's height makes the closed box the designed height.
  RECT r{};
  GetWindowRect(hwnd(), &r);
  const auto field =
      static_cast<int>(SendMessageW(hwnd(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  const int frame = (r.bottom - r.top) - field;
  SendMessageW(hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kClosedHeight - frame);
}

void DriveComboBox::Fill() {
  drives_.clear();
  const DWORD n = GetLogicalDriveStringsW(0, nullptr);
  std::wstring buffer(n + 1, L'\0');
  GetLogicalDriveStringsW(n, buffer.data());
  for (const wchar_t* root = buffer.c_str(); *root; root += wcslen(root) + 1) {
    wchar_t letter = root[0];
    if (letter >= L'a' && letter <= L'z')
      letter = static_cast<wchar_t>(letter - L'a' + L'A');
    if (letter < L'A' || letter > L'Z')
      continue;
    const UINT type = GetDriveTypeW(root);
    std::wstring text{static_cast<wchar_t>(letter - L'A' + L'a'), L':'};
    // Only fixed and RAM drives are asked for their label: asking an empty removable drive
    // would wait for it.
    if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
      wchar_t label[MAX_PATH + 1] = {};
      if (GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
          label[0]) {
        text += L" [";
        text += label;
        text += L"]";
      }
    }
    drives_.push_back({static_cast<char>(letter), type, text});
  }
  SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
  for (const Drive& d : drives_)
    SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.text.c_str()));
  SelectDrive(shown_);
}

void DriveComboBox::SelectDrive(std::optional<char> letter) {
  shown_ = letter;
  int index = -1;
  for (size_t i = 0; letter && i < drives_.size(); ++i) {
    if (drives_[i].letter == *letter)
      index = static_cast<int>(i);
  }
  SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::optional<char> DriveComboBox::SelectedDrive() const {
  const auto index = static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0));
  if (index < 0 || index >= static_cast<int>(drives_.size()))
    return std::nullopt;
  return drives_[static_cast<size_t>(index)].letter;
}

void DriveComboBox::CheckChange() {
  // Browsing the open list with the arrow keys changes the selection too; a drive counts as
  // chosen once the list is closed.
  if (SendMessageW(hwnd(), CB_GETDROPPEDSTATE, 0, 0))
    return;
  const std::optional<char> selected = SelectedDrive();
  if (selected && selected != shown_ && OnChange)
    OnChange(*selected);
}

void DriveComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
  const Color textColor = PrepareRow(item);
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= drives_.size())
    return;
  const Drive& d = drives_[item.itemID];
  const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - kRowHeight) / 2;
  DrawDriveGlyph(item.hDC, item.rcItem.left + 2, top, d.type);
  DrawRowText(item, item.rcItem.left + 2 + kGlyphWidth + 2, d.text, textColor);
  if (item.itemState & ODS_FOCUS)
    DrawFocusRect(item.hDC, &item.rcItem);
}

bool DriveComboBox::Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (msg) {
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      result = TRUE;
      return true;
    case WM_COMMAND:
      switch (HIWORD(wparam)) {
        case CBN_SELCHANGE:
        case CBN_SELENDOK:
        case CBN_CLOSEUP:
          CheckChange();
          break;
      }
      return false;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wparam), ToColorRef(clWhite));
      result = reinterpret_cast<LRESULT>(brush_.get());
      return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// DirectoryListBox

void DirectoryListBox::Create(HWND parent, Rect b, HFONT font) {
  brush_.reset(CreateSolidBrush(ToColorRef(clWhite)));
  CreateControl(WS_EX_CLIENTEDGE, WC_LISTBOXW, L"",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                    LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                {b.left, b.top, b.right, b.bottom}, parent, kFolderListId);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(hwnd(), LB_SETITEMHEIGHT, 0, kRowHeight);
}

void DirectoryListBox::SetRows(FolderRows rows) {
  rows_ = std::move(rows);
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
  for (const FolderRow& row : rows_.rows)
    SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(row.text).c_str()));
  SendMessageW(hwnd(), LB_SETCURSEL, rows_.rows.empty() ? static_cast<WPARAM>(-1) : rows_.selected,
               0);
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void DirectoryListBox::OpenHighlighted() {
  const auto index = static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0));
  if (index < 0 || index >= static_cast<int>(rows_.rows.size()) || !OnOpen)
    return;
  // A copy: opening rebuilds the rows.
  const FolderRow row = rows_.rows[static_cast<size_t>(index)];
  OnOpen(row);
}

void DirectoryListBox::DrawItem(const DRAWITEMSTRUCT& item) {
  const Color textColor = PrepareRow(item);
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= rows_.rows.size())
    return;
  const FolderRow& row = rows_.rows[item.itemID];
  const int x = item.rcItem.left + 2 + row.level * kIndent;
  DrawFolderGlyph(item.hDC, x, item.rcItem.top, row.onOpenPath);
  DrawRowText(item, x + kGlyphWidth + 2, Widen(row.text), textColor);
  if (item.itemState & ODS_FOCUS)
    DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT DirectoryListBox::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_GETDLGCODE: {
      LRESULT code = DefaultHandle(msg, wparam, lparam);
      const auto* m = reinterpret_cast<const MSG*>(lparam);
      // Enter opens the highlighted row instead of going to the form.
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (wparam == VK_RETURN) {
        OpenHighlighted();
        return 0;
      }
      break;
    case WM_CHAR:
      if (wparam == L'\r')
        return 0;
      break;
  }
  return DefaultHandle(msg, wparam, lparam);
}

bool DirectoryListBox::Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (msg) {
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      result = TRUE;
      return true;
    case WM_COMMAND:
      if (HIWORD(wparam) == LBN_DBLCLK)
        OpenHighlighted();
      return false;
    case WM_CTLCOLORLISTBOX:
      SetBkColor(reinterpret_cast<HDC>(wparam), ToColorRef(clWhite));
      result = reinterpret_cast<LRESULT>(brush_.get());
      return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Tf_Dir

void Tf_Dir::Create(HWND owner) {
  CreateDialogForm(kClassName, "Папка", "Выбрать папку", 287, 241, owner);
  DriveComboBox1.Create(hwnd(), {8, 24, 8 + 161, 24 + 19}, FormFont());
  DriveComboBox1.OnChange = [this](char letter) { DriveComboBox1Change(letter); };
  sButton1.Create(*this, {176, 24, 176 + 51, 24 + 19}, "Ok", kModalResultOk);
  sButton2.Create(*this, {232, 24, 232 + 51, 24 + 19}, "Отмена", kModalResultCancel);
  DirectoryListBox1.Create(hwnd(), {8, 48, 8 + 273, 48 + 185}, FormFont());
  DirectoryListBox1.OnOpen = [this](const FolderRow& row) { ChangeFolder(row.path); };
  // No button answers Esc here; the chooser closes with "Отмена"'s result.
  SetEscapeResult(kModalResultCancel);
  SetTabOrder({DirectoryListBox1.hwnd(), DriveComboBox1.hwnd(), sButton1.hwnd(), sButton2.hwnd()});
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
  if (FolderExists(openFolder_)) {
    DirectoryListBox1.SetRows(
        BuildFolderRows(openFolder_, ListSubfoldersOnDisk, SortsBeforeInUserLocale));
  }
}

void Tf_Dir::SetOpenFolder(const std::string& folder) {
  ChangeFolder(folder);
}

void Tf_Dir::ChangeFolder(const std::string& folder) {
  if (!SetCurrentDirectoryW(Widen(folder).c_str()))
    throw FileError(ioErrorMessage(static_cast<int>(GetLastError())));
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
  if (auto it = driveFolders_.find(letter); it != driveFolders_.end() && FolderExists(it->second)) {
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
