#include "dialogs/drive_list_win.h"

#include <commctrl.h>

#include "dialogs/folder_glyphs.h"
#include "toolkit/controls_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr int kDropDownRows = 8;
constexpr int kClosedHeight = 19;  // at 96 DPI

}  // namespace

void DriveComboBox::Create(HWND parent, Rect b, HFONT font) {
  CreateControl({.className = WC_COMBOBOXW,
                 .style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
                          CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                 .bounds = {b.left, b.top, b.right,
                            b.top + kClosedHeight + kDropDownRows * kChooserRowHeight + 2},
                 .parent = parent,
                 .id = kDriveComboId,
                 .font = font});
  SetHeights();
}

void DriveComboBox::SetHeights() {
  SendMessageW(Hwnd(), CB_SETITEMHEIGHT, 0, Scale()(kChooserRowHeight));
  // The selection field's height makes the closed box the designed height.
  RECT r{};
  GetWindowRect(Hwnd(), &r);
  const auto field =
      static_cast<int>(SendMessageW(Hwnd(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  const int frame = (r.bottom - r.top) - field;
  SendMessageW(Hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Scale()(kClosedHeight) - frame);
}

void DriveComboBox::DpiChanged() {
  SetHeights();
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
  SendMessageW(Hwnd(), CB_RESETCONTENT, 0, 0);
  for (const Drive& d : drives_)
    SendMessageW(Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.text.c_str()));
  SelectDrive(shown_);
}

void DriveComboBox::SelectDrive(std::optional<char> letter) {
  shown_ = letter;
  int index = -1;
  for (size_t i = 0; letter && i < drives_.size(); ++i) {
    if (drives_[i].letter == *letter)
      index = static_cast<int>(i);
  }
  SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

AccessiblePart DriveComboBox::DescribeAccessible(int) {
  AccessiblePart described{.role = ROLE_SYSTEM_COMBOBOX, .name = "Диск"};
  const auto index = static_cast<size_t>(SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0));
  if (index < drives_.size())
    described.value = Narrow(drives_[index].text);
  return described;
}

std::optional<char> DriveComboBox::SelectedDrive() const {
  const auto index = static_cast<int>(SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0));
  if (index < 0 || index >= static_cast<int>(drives_.size()))
    return std::nullopt;
  return drives_[static_cast<size_t>(index)].letter;
}

void DriveComboBox::CheckChange() {
  // Browsing the open list with the arrow keys changes the selection too; a drive counts as
  // chosen once the list is closed.
  if (SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0))
    return;
  const std::optional<char> selected = SelectedDrive();
  if (selected && selected != shown_ && OnChange)
    OnChange(*selected);
}

void DriveComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID != static_cast<UINT>(-1) && item.itemID >= drives_.size())
    return;
  const Drive* d = item.itemID == static_cast<UINT>(-1) ? nullptr : &drives_[item.itemID];
  const DriveKind kind = !d                           ? DriveKind::fixed
                         : d->type == DRIVE_CDROM     ? DriveKind::cdrom
                         : d->type == DRIVE_REMOVABLE ? DriveKind::removable
                         : d->type == DRIVE_REMOTE    ? DriveKind::remote
                                                      : DriveKind::fixed;
  const DpiScale scale = Scale();
  rows_.Draw(
      item, item.rcItem.left + scale(2), scale,
      [&](Bitmap& glyph) {
        PaintDriveGlyph(glyph, {0, 0}, kind, scale);
      },
      d ? d->text : std::wstring());
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
      result = rows_.WhiteBackground(wparam);
      return true;
  }
  return false;
}

}  // namespace kv
