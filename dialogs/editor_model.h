// The command editor's working copy of the store (TForm2's two lists) and the rules behind its
// buttons. The window mirrors these lists: its name list box must not sort by itself, because
// rows are placed by the whole line, not by the name; it inserts and deletes at the rows given
// here, so row i of CommsNames always names line i of Comms.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/command_store.h"
#include "dialogs/sort_order.h"
#include "toolkit/file_system.h"
#include "toolkit/text_codec.h"

namespace kv {

inline constexpr std::string_view kReservedNameMessage = "Введенная команда зарезервирована";

struct AddEditOutcome {
  enum class Action {
    clearEdits,           // a line was replaced or added: empty the four edits
    showReservedMessage,  // nothing changed: show kReservedNameMessage once, keep the edits
  };
  Action action = Action::clearEdits;
  std::vector<size_t> replacedRows;  // lines replaced in place; their names are unchanged
  std::optional<size_t> addedRow;    // where a new name row was inserted
};

class CommandEditorModel {
 public:
  explicit CommandEditorModel(SortsBefore order = SortsBeforeIgnoringCase);

  // The store's lines, sorted by whole line, and the name field of each.
  const std::vector<std::string>& Comms() const { return comms_; }
  const std::vector<std::string>& CommsNames() const { return commsNames_; }

  // Replaces both lists with `lines`, each put at its sorted place as it arrives (lines that
  // sort equal keep their file order).
  void LoadLines(std::vector<std::string> lines);

  // FormShow: if the store file exists, loads it as LoadLines does and returns true; otherwise
  // both lists keep what they held and it returns false. Throws FileError when the file exists
  // but cannot be read; both lists are then unchanged and the model is read-only until the
  // next load succeeds, so that an unread file is never replaced by lists that lack it.
  bool LoadStore(FileSystem& fs, const AnsiCodec& codec, const std::string& path);
  bool ReadOnly() const { return !baseline_.has_value(); }

  // Whether the file now differs from what the last LoadStore or SaveStore saw (another
  // program, or a second editor, changed, created or replaced it). A file deleted meanwhile
  // counts as unchanged: saving it again loses nothing. Throws FileError when it cannot be read.
  bool StoreChangedOnDisk(FileSystem& fs, const std::string& path) const;

  // OkBClick: writes Comms to the store file. Throws FileError; the lists stay as they are.
  // Never called while ReadOnly.
  void SaveStore(FileSystem& fs, const AnsiCodec& codec, const std::string& path);

  // Puts `line` at its sorted place (after lines that sort equal) and its name at the same row;
  // returns the row.
  size_t InsertLine(std::string line);

  // bAddEditClick with the four edits' texts. Every row whose name equals the name exactly is
  // replaced in place by the composed line; if none is, a reserved name is refused, anything
  // else is inserted at its sorted place. Characters a stored line cannot carry are removed from
  // the edits first (StripUnstorableChars). Called only while AddButtonEnabled holds.
  AddEditOutcome bAddEditClick(const CommandEntry& edits);

  // DelButtonClick: deletes the selected row from both lists; with no selection (or a row that
  // no longer exists) nothing is deleted. Returns whether a row was deleted. The edits are
  // emptied either way.
  bool DelButtonClick(std::optional<size_t> selectedRow);

  // CommsNamesClick: the four edit values for a row; a parameters or working-folder field that
  // is exactly the empty-field mark "`" shows empty. A row that does not exist gives four empty
  // values.
  CommandEntry EditValuesForRow(size_t row) const;

 private:
  // What the store file held when last read or written: a digest of its bytes, none for "no
  // file"; empty while the file could not be read.
  struct Baseline {
    std::optional<size_t> digest;
  };

  SortsBefore order_;
  std::optional<Baseline> baseline_ = Baseline{};
  std::vector<std::string> comms_;
  std::vector<std::string> commsNames_;
};

// Said with the read error when the editor opens without its store.
inline constexpr std::string_view kStoreUnreadNotice =
    "Редактор открыт только для просмотра: файл команд не прочитан, и «Ок» не изменит его.";
// Asked at "Ок" when the store changed on disk since the editor read it.
inline constexpr std::string_view kStoreChangedQuestion =
    "Файл команд изменён другой программой, пока был открыт редактор. Заменить его списком "
    "редактора?";

// The add button is enabled exactly when the name and the path each hold a character (blanks
// count; parameters and working folder may be empty).
bool AddButtonEnabled(std::string_view name, std::string_view path);

// `text` without "|", CR, LF and NUL: the store has no escape, so a separator would shift the
// fields when the line is read back, and a line break or NUL would split or cut the file. The
// edits apply it to what is typed or pasted.
std::string StripUnstorableChars(std::string_view text);

// `text` split into what the ANSI code page of the store holds and what it lacks: a character
// the file cannot keep would come back as "?" and name something else, so the edits refuse it
// and say which.
struct CodePageSplit {
  std::string kept;
  std::string refused;  // each refused character once, in order
};
CodePageSplit SplitByCodePage(std::string_view text, const AnsiCodec& codec);

// The short message naming the characters the edits refused.
std::string CodePageRefusalMessage(std::string_view refused);

// The folder part of a file name: the text up to and including its last "\" or ":", less that
// last character when it is a "\" that follows neither ":" nor "\" (C:\x.exe gives C:\,
// C:\Windows\notepad.exe gives C:\Windows, C:x.exe gives C:, \\server\share\x.exe gives
// \\server\share, \x.exe gives \). No "\" or ":" gives the empty text. FileBrowseClick uses it
// for the picked file.
std::string FolderOfFileName(std::string_view fileName);

// ExtractDirFromPathClick: FolderOfFileName of `path` when its second character is ":" (a drive
// letter path); nullopt, and the working folder stays as it is, otherwise.
std::optional<std::string> ExtractDirFromPath(std::string_view path);

}  // namespace kv
