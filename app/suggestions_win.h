// The platform's suggestion list under the command field: the shell's autocomplete object fed by
// a list of our own (see MakeSuggestions). Suggestions only: nothing is appended to what the
// user types, and Enter still runs the field's text as it stands.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/com_ptr_win.h"

struct IAutoComplete2;
struct IAutoCompleteDropDown;

namespace kv {

class SuggestionEnumerator;

class FieldSuggestions {
 public:
  // Attaches the list to `edit`. COM must be entered on this thread; null when the system has no
  // autocomplete object (the field then works without suggestions). A folder listed in the
  // background posts `listedMessage` to `notify`, which then calls FolderListed.
  static std::unique_ptr<FieldSuggestions> Attach(HWND edit, HWND notify, UINT listedMessage);
  ~FieldSuggestions();
  FieldSuggestions(const FieldSuggestions&) = delete;
  FieldSuggestions& operator=(const FieldSuggestions&) = delete;

  // The names offered (see NameSuggestions) and the history, newest first.
  void SetNames(const std::vector<std::string>& names);
  void SetHistory(std::shared_ptr<const std::vector<std::string>> history);

  // The field's text changed to `text`: typed, pasted or deleted (a row walked to in the list
  // is not typed).
  void TextChanged(const std::string& text);
  // A key message about to reach the field, before the autocomplete object sees it.
  void KeyComing(UINT msg, WPARAM key);

  // The suggestion list is in view.
  bool IsOpen() const;
  // Puts the list, when in view, in front of the always-on-top bar it hangs below: it overlaps
  // the bar's lower edge, and a row there must take the click, not the bar.
  void BringListToFront();
  // Takes the list out of view; it stays away until the user types again.
  void CloseList();
  // Esc: closes the list and, when the user had walked the list to a row, puts back what they
  // had typed.
  void Dismiss();
  // A folder was listed in the background: the list is made again with its entries.
  void FolderListed();

 private:
  FieldSuggestions() = default;
  static LRESULT CALLBACK ListPointerProcedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
                                               UINT_PTR id, DWORD_PTR self);
  // The pointer stands still from here on until it moves over the list.
  void PointerRests();
  // The list in view, and all its parts, hear the pointer through ListPointerProcedure.
  void WatchListPointer(HWND list);

  HWND edit_ = nullptr;
  ComPtr<IAutoComplete2> complete_;
  ComPtr<IAutoCompleteDropDown> dropDown_;
  ComPtr<SuggestionEnumerator> enumerator_;
  std::string typed_;     // what the user typed last
  bool walking_ = false;  // the user walks the open list with the keys
  bool settingText_ = false;
  // Where the pointer was at the field's last key or the list's last refresh, until it moves
  // over the list.
  std::optional<POINT> restingPointer_;
  std::vector<HWND> watched_;  // the list's windows that ListPointerProcedure sees
};

}  // namespace kv
