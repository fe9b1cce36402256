#include "dialogs/folder_list_win.h"

#include <commctrl.h>

#include "dialogs/folder_glyphs.h"
#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr int kIndent = 10;  // per level of the folder list, at 96 DPI

}  // namespace

std::vector<std::string> ListSubfoldersOnDisk(const std::string& folder) {
  std::vector<std::string> names;
  std::wstring pattern = Widen(folder);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
    pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                   FindExSearchLimitToDirectories, nullptr, 0));
  if (!find.Valid())
    return names;
  do {
    const DWORD a = data.dwFileAttributes;
    const std::wstring name = data.cFileName;
    if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) &&
        name != L"." && name != L"..") {
      names.push_back(Narrow(name));
    }
  } while (FindNextFileW(find, &data));
  return names;
}

void DirectoryListBox::Create(HWND parent, Rect b, HFONT font) {
  ListBox::Create({.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                            LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                   .exStyle = WS_EX_CLIENTEDGE,
                   .bounds = b,
                   .parent = parent,
                   .id = kFolderListId,
                   .font = font});
  SendMessageW(Hwnd(), LB_SETITEMHEIGHT, 0, Scale()(kChooserRowHeight));
  OnDoubleClick = [this] { OpenHighlighted(); };
}

void DirectoryListBox::DpiChanged() {
  SendMessageW(Hwnd(), LB_SETITEMHEIGHT, 0, Scale()(kChooserRowHeight));
}

void DirectoryListBox::SetRows(FolderRows rows) {
  rows_ = std::move(rows);
  std::vector<std::string> texts;
  texts.reserve(rows_.rows.size());
  for (const FolderRow& row : rows_.rows)
    texts.push_back(row.text);
  SetItems(texts);
  SetSelectedIndex(rows_.rows.empty() ? -1 : static_cast<int>(rows_.selected));
}

void DirectoryListBox::OpenHighlighted() {
  const int index = SelectedIndex();
  if (index < 0 || index >= static_cast<int>(rows_.rows.size()) || !OnOpen)
    return;
  // A copy: opening rebuilds the rows.
  const FolderRow row = rows_.rows[static_cast<size_t>(index)];
  OnOpen(row);
}

void DirectoryListBox::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID != static_cast<UINT>(-1) && item.itemID >= rows_.rows.size())
    return;
  const FolderRow* row = item.itemID == static_cast<UINT>(-1) ? nullptr : &rows_.rows[item.itemID];
  const DpiScale scale = Scale();
  const int x = item.rcItem.left + scale(2 + (row ? row->level * kIndent : 0));
  const bool open = row && row->onOpenPath;
  painter_.Draw(
      item, x, scale,
      [&](Bitmap& glyph) {
        PaintFolderGlyph(glyph, {0, 0}, open, scale);
      },
      row ? Widen(row->text) : std::wstring());
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
    case WM_CTLCOLORLISTBOX:
      result = painter_.WhiteBackground(wparam);
      return true;
  }
  return ListBox::Reflected(msg, wparam, lparam, result);
}

}  // namespace kv
