// The platform's suggestion list under the command field: the shell's autocomplete object fed by
// a list of our own. Suggestions only: nothing is appended to what the user types, and Enter
// still runs the field's text as it stands.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct IAutoComplete2;
struct IAutoCompleteDropDown;

namespace kv {

class SuggestionEnumerator;

class FieldSuggestions {
 public:
  // Attaches the list to `edit`. COM must be entered on this thread; null when the system has no
  // autocomplete object (the field then works without suggestions).
  static std::unique_ptr<FieldSuggestions> Attach(HWND edit);
  ~FieldSuggestions();
  FieldSuggestions(const FieldSuggestions&) = delete;
  FieldSuggestions& operator=(const FieldSuggestions&) = delete;

  // The names offered besides the typed folder's entries (see NameSuggestions).
  void SetNames(const std::vector<std::string>& names);
  // The suggestion list is in view.
  bool IsOpen() const;
  // Puts the list, when in view, in front of the always-on-top bar it hangs below: it overlaps
  // the bar's lower edge, and a row there must take the click, not the bar.
  void BringListToFront() const;
  // Takes the list out of view.
  void CloseList() const;

 private:
  FieldSuggestions() = default;
  IAutoComplete2* complete_ = nullptr;
  IAutoCompleteDropDown* dropDown_ = nullptr;
  SuggestionEnumerator* enumerator_ = nullptr;
};

}  // namespace kv
