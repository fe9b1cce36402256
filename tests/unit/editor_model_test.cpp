#include "dialogs/editor_model.h"
#include "tests/support/cp1251_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/posix_file_system.h"
#include "toolkit/errors.h"

namespace kv {
namespace {

using Lines = std::vector<std::string>;
using Action = AddEditOutcome::Action;
using test::PosixFileSystem;
using test::ReadBytes;
using test::TemporaryFolder;
using test::WriteBytes;

// Row i of CommsNames must name line i of Comms, whatever happened before.
void ExpectAligned(const CommandEditorModel& model) {
  ASSERT_EQ(model.Comms().size(), model.CommsNames().size());
  for (size_t i = 0; i < model.Comms().size(); ++i)
    EXPECT_EQ(model.CommsNames()[i], SplitEntryLine(model.Comms()[i], '|').name) << i;
}

TEST(SortsBeforeIgnoringCase, OrdersLettersWithoutRegardToCase) {
  struct Pair {
    const char* before;
    const char* after;
  };
  for (const Pair& p :
       {Pair{"apple", "Banana"}, Pair{"Apple", "banana"}, Pair{"a", "ab"}, Pair{"", "a"},
        Pair{"zebra", "антон"}, Pair{"Антон", "борис"}, Pair{"арбуз", "Борис"}, Pair{"ель", "ёж"},
        Pair{"Ёж", "жук"}, Pair{"е", "Ё"}, Pair{"я", "ѐ"}, Pair{"Яблоко", "яблоня"},
        // Blanks and punctuation before digits, digits before letters, so a
        // line sorts by its name first.
        Pair{"note|x", "notepad|x"}, Pair{"a b", "a|"}, Pair{"a_", "a1"}, Pair{"9", "a"},
        Pair{"~", "0"}}) {
    EXPECT_TRUE(SortsBeforeIgnoringCase(p.before, p.after)) << p.before << " < " << p.after;
    EXPECT_FALSE(SortsBeforeIgnoringCase(p.after, p.before)) << p.after << " < " << p.before;
  }
  for (const Pair& p : {Pair{"Notepad", "notepad"}, Pair{"ЁЖ", "ёж"}, Pair{"", ""}}) {
    EXPECT_FALSE(SortsBeforeIgnoringCase(p.before, p.after)) << p.before;
    EXPECT_FALSE(SortsBeforeIgnoringCase(p.after, p.before)) << p.after;
  }
}

TEST(CommandEditorModel, LoadsLinesSortedWithNamesAligned) {
  CommandEditorModel model;
  model.LoadLines({"notepad|np||", "Calc|c||", "", "b|x||", "a b|y||", "a|z||"});
  // The line decides the place: "a b|" sorts before "a|" although "a" sorts before "a b".
  EXPECT_EQ(model.Comms(), (Lines{"", "a b|y||", "a|z||", "b|x||", "Calc|c||", "notepad|np||"}));
  EXPECT_EQ(model.CommsNames(), (Lines{"", "a b", "a", "b", "Calc", "notepad"}));
  ExpectAligned(model);
}

TEST(CommandEditorModel, InsertsAtTheSortedPlaceOfTheInjectedOrder) {
  // Sorted by the first character only, backwards: proves the order is the one injected and
  // that a line goes after those that sort equal to it.
  CommandEditorModel model([](std::string_view a, std::string_view b) {
    return !a.empty() && (b.empty() || a[0] > b[0]);
  });
  model.LoadLines({"a1|x||", "c|x||", "a2|x||"});
  EXPECT_EQ(model.Comms(), (Lines{"c|x||", "a1|x||", "a2|x||"}));
  EXPECT_EQ(model.InsertLine("b|x||"), 1u);
  EXPECT_EQ(model.InsertLine("a3|x||"), 4u);
  EXPECT_EQ(model.InsertLine("d|x||"), 0u);
  EXPECT_EQ(model.Comms(), (Lines{"d|x||", "c|x||", "b|x||", "a1|x||", "a2|x||", "a3|x||"}));
  ExpectAligned(model);
}

TEST(CommandEditorModel, SameNameReplacesTheLineInPlace) {
  CommandEditorModel model;
  model.LoadLines({"calc|calc.exe||", "notepad|C:\\old.exe||", "word|w.exe||"});
  const AddEditOutcome outcome = model.bAddEditClick({"notepad", "C:\\new.exe", "a.txt", "C:\\"});
  EXPECT_EQ(outcome.action, Action::clearEdits);
  EXPECT_EQ(outcome.replacedRows, std::vector<size_t>{1});
  EXPECT_FALSE(outcome.addedRow);
  EXPECT_EQ(model.Comms(),
            (Lines{"calc|calc.exe||", "notepad|C:\\new.exe|a.txt|C:\\", "word|w.exe||"}));
  EXPECT_EQ(model.CommsNames(), (Lines{"calc", "notepad", "word"}));
}

TEST(CommandEditorModel, EveryRowWithTheNameIsReplaced) {
  CommandEditorModel model;
  model.LoadLines({"x|one||", "x|two||", "y|three||"});
  const AddEditOutcome outcome = model.bAddEditClick({"x", "new", "", ""});
  EXPECT_EQ(outcome.replacedRows, (std::vector<size_t>{0, 1}));
  EXPECT_EQ(model.Comms(), (Lines{"x|new||", "x|new||", "y|three||"}));
}

TEST(CommandEditorModel, NameThatOnlyBeginsLikeAnotherAddsANewEntry) {
  CommandEditorModel model;
  model.LoadLines({"notepad|notepad.exe||"});
  const AddEditOutcome outcome = model.bAddEditClick({"note", "C:\\note.exe", "", ""});
  EXPECT_EQ(outcome.action, Action::clearEdits);
  EXPECT_TRUE(outcome.replacedRows.empty());
  EXPECT_EQ(outcome.addedRow, 0u);
  EXPECT_EQ(model.Comms(), (Lines{"note|C:\\note.exe||", "notepad|notepad.exe||"}));
  ExpectAligned(model);
}

TEST(CommandEditorModel, RenamedEntryAddsASecondAndKeepsTheOld) {
  CommandEditorModel model;
  model.LoadLines({"calc|calc.exe||", "np|notepad.exe|`|C:\\"});
  CommandEntry edits = model.EditValuesForRow(1);
  edits.name = "Np2";
  const AddEditOutcome outcome = model.bAddEditClick(edits);
  EXPECT_EQ(outcome.addedRow, 2u);
  EXPECT_EQ(model.Comms(),
            (Lines{"calc|calc.exe||", "np|notepad.exe|`|C:\\", "Np2|notepad.exe||C:\\"}));
  ExpectAligned(model);
}

TEST(CommandEditorModel, ReservedNameIsRefusedOnceAndNothingChanges) {
  CommandEditorModel model;
  model.LoadLines({"calc|calc.exe||"});
  for (const char* name : {"help", "odbc", "ping", "phoneconfig"}) {
    const AddEditOutcome outcome = model.bAddEditClick({name, "x.exe", "", ""});
    EXPECT_EQ(outcome.action, Action::showReservedMessage) << name;
    EXPECT_TRUE(outcome.replacedRows.empty());
    EXPECT_FALSE(outcome.addedRow);
  }
  EXPECT_EQ(model.Comms(), Lines{"calc|calc.exe||"});
  EXPECT_EQ(kReservedNameMessage, "Введенная команда зарезервирована");
}

TEST(CommandEditorModel, NamesThatOnlyLookReservedAreAccepted) {
  CommandEditorModel model;
  for (const char* name : {"Help", "about", "hide", "clearhistory", "help "}) {
    EXPECT_EQ(model.bAddEditClick({name, "x.exe", "", ""}).action, Action::clearEdits) << name;
  }
  EXPECT_EQ(model.Comms().size(), 5u);
  ExpectAligned(model);
}

TEST(CommandEditorModel, ReplacingAStoredReservedNameIsAllowed) {
  // A hand-edited store may hold one; only adding consults the list.
  CommandEditorModel model;
  model.LoadLines({"help|old.exe||"});
  const AddEditOutcome outcome = model.bAddEditClick({"help", "new.exe", "", ""});
  EXPECT_EQ(outcome.action, Action::clearEdits);
  EXPECT_EQ(model.Comms(), Lines{"help|new.exe||"});
}

TEST(CommandEditorModel, SeparatorsAndLineBreaksNeverReachAStoredLine) {
  CommandEditorModel model;
  const AddEditOutcome outcome =
      model.bAddEditClick({"my|cmd", "C:\\a.exe\r\nb", "-x|y", std::string("C:\\\0z", 5)});
  EXPECT_EQ(outcome.addedRow, 0u);
  EXPECT_EQ(model.Comms(), Lines{"mycmd|C:\\a.exeb|-xy|C:\\z"});
  EXPECT_EQ(model.CommsNames(), Lines{"mycmd"});
  EXPECT_EQ(StripUnstorableChars("a|b\rc\nd"), "abcd");
  EXPECT_EQ(StripUnstorableChars("Пуск = `x`"), "Пуск = `x`");
}

TEST(CommandEditorModel, CharactersTheCodePageLacksAreRefusedAndNamed) {
  const Cp1251Codec codec;
  const CodePageSplit split = SplitByCodePage("probé ü é Пуск", codec);
  EXPECT_EQ(split.kept, "prob   Пуск");
  EXPECT_EQ(split.refused, "éü");
  EXPECT_EQ(CodePageRefusalMessage(split.refused), "Символы «éü» нельзя сохранить в файле команд.");
  EXPECT_EQ(CodePageRefusalMessage("é"), "Символ «é» нельзя сохранить в файле команд.");
  EXPECT_TRUE(SplitByCodePage("C:\\Пуск|x", codec).refused.empty());
}

TEST(CommandEditorModel, DeleteWithoutSelectionDeletesNothing) {
  CommandEditorModel model;
  model.LoadLines({"a|x||", "b|y||", "c|z||"});
  EXPECT_FALSE(model.DelButtonClick(std::nullopt));
  EXPECT_FALSE(model.DelButtonClick(3));
  EXPECT_EQ(model.Comms().size(), 3u);
  EXPECT_TRUE(model.DelButtonClick(1));
  EXPECT_EQ(model.Comms(), (Lines{"a|x||", "c|z||"}));
  EXPECT_EQ(model.CommsNames(), (Lines{"a", "c"}));
}

TEST(CommandEditorModel, SelectedRowShowsTheEmptyFieldMarkAsEmpty) {
  CommandEditorModel model;
  model.LoadLines({"a|`|`|`", "b|p|``|` ", "c|p| `|`x", "d", "e|p||"});
  struct Row {
    const char* path;
    const char* parameters;
    const char* folder;
  };
  const Row rows[] = {
      {"`", "", ""}, {"p", "``", "` "}, {"p", " `", "`x"}, {"", "", ""}, {"p", "", ""}};
  for (size_t i = 0; i < std::size(rows); ++i) {
    const CommandEntry edits = model.EditValuesForRow(i);
    EXPECT_EQ(edits.name, model.CommsNames()[i]);
    EXPECT_EQ(edits.path, rows[i].path) << i;
    EXPECT_EQ(edits.parameters, rows[i].parameters) << i;
    EXPECT_EQ(edits.workingFolder, rows[i].folder) << i;
  }
  EXPECT_EQ(model.EditValuesForRow(5).name, "");
}

TEST(CommandEditorModel, StoreFileRoundTrip) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("command.cms");
  CommandEditorModel model;
  model.LoadLines({"kept|k||"});
  EXPECT_FALSE(model.LoadStore(fs, codec, path));
  EXPECT_EQ(model.Comms(), Lines{"kept|k||"});

  WriteBytes(path, "word|w.exe||\nCalc|c.exe||\n\n\xE1\xF0\xE0\xF2|b||");  // брат
  ASSERT_TRUE(model.LoadStore(fs, codec, path));
  EXPECT_EQ(model.CommsNames(), (Lines{"", "Calc", "word", "брат"}));
  model.SaveStore(fs, codec, path);
  EXPECT_EQ(ReadBytes(path), "\r\nCalc|c.exe||\r\nword|w.exe||\r\n\xE1\xF0\xE0\xF2|b||\r\n");

  WriteBytes(path, "");
  ASSERT_TRUE(model.LoadStore(fs, codec, path));
  EXPECT_TRUE(model.Comms().empty());
  EXPECT_TRUE(model.CommsNames().empty());
}

TEST(CommandEditorModel, UnreadableStoreKeepsBothLists) {
  class Locked : public PosixFileSystem {
   public:
    std::string readFile(const std::string& path, size_t) override {
      throw FileError(CannotOpenFileMessage(path, "Access is denied"));
    }
  };
  TemporaryFolder dir;
  Locked fs;
  Cp1251Codec codec;
  const std::string path = dir.File("command.cms");
  WriteBytes(path, "x|y||\r\n");
  CommandEditorModel model;
  model.LoadLines({"a|x||", "b|y||"});
  EXPECT_THROW(model.LoadStore(fs, codec, path), FileError);
  EXPECT_EQ(model.Comms(), (Lines{"a|x||", "b|y||"}));
  ExpectAligned(model);
  // Lists that are not the file's must never replace it.
  EXPECT_TRUE(model.ReadOnly());
  PosixFileSystem healthy;
  EXPECT_TRUE(model.LoadStore(healthy, codec, path));
  EXPECT_FALSE(model.ReadOnly());
}

TEST(CommandEditorModel, NoticesAStoreChangedOnDiskSinceItWasReadOrSaved) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("command.cms");
  CommandEditorModel model;
  EXPECT_FALSE(model.LoadStore(fs, codec, path));
  EXPECT_FALSE(model.StoreChangedOnDisk(fs, path));
  WriteBytes(path, "other|o.exe||\r\n");  // created meanwhile
  EXPECT_TRUE(model.StoreChangedOnDisk(fs, path));

  ASSERT_TRUE(model.LoadStore(fs, codec, path));
  EXPECT_FALSE(model.StoreChangedOnDisk(fs, path));
  WriteBytes(path, "other|p.exe||\r\n");  // same size, other content
  EXPECT_TRUE(model.StoreChangedOnDisk(fs, path));
  model.SaveStore(fs, codec, path);
  EXPECT_FALSE(model.StoreChangedOnDisk(fs, path));
  fs.removeFile(path);  // deleted meanwhile: saving again loses nothing
  EXPECT_FALSE(model.StoreChangedOnDisk(fs, path));
}

TEST(AddButtonEnabled, NeedsANameAndAPath) {
  EXPECT_TRUE(AddButtonEnabled("n", "p"));
  EXPECT_TRUE(AddButtonEnabled(" ", " "));
  EXPECT_FALSE(AddButtonEnabled("n", ""));
  EXPECT_FALSE(AddButtonEnabled("", "p"));
  EXPECT_FALSE(AddButtonEnabled("", ""));
}

struct FolderCase {
  const char* path;
  std::optional<std::string> extracted;  // ExtractDirFromPath
  const char* folder;                    // FolderOfFileName
};

// Names the case in test listings.
void PrintTo(const FolderCase& c, std::ostream* os) {
  *os << testing::PrintToString(std::string(c.path));
}

class FolderPart : public testing::TestWithParam<FolderCase> {};

TEST_P(FolderPart, FollowsTheFolderPartRule) {
  EXPECT_EQ(ExtractDirFromPath(GetParam().path), GetParam().extracted);
  EXPECT_EQ(FolderOfFileName(GetParam().path), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FolderPart,
    testing::Values(FolderCase{"C:\\x.exe", "C:\\", "C:\\"},
                    FolderCase{"C:\\Windows\\notepad.exe", "C:\\Windows", "C:\\Windows"},
                    FolderCase{"C:x.exe", "C:", "C:"}, FolderCase{"C:", "C:", "C:"},
                    FolderCase{"C:\\Windows\\", "C:\\Windows", "C:\\Windows"},
                    FolderCase{"d:\\a b\\c\\x", "d:\\a b\\c", "d:\\a b\\c"},
                    FolderCase{"Ж:\\x", "Ж:\\", "Ж:\\"},
                    // No drive letter: the button does nothing; the file dialog's pick still
                    // gets its folder.
                    FolderCase{"\\\\server\\share\\x.exe", std::nullopt, "\\\\server\\share"},
                    FolderCase{"notepad.exe", std::nullopt, ""},
                    FolderCase{"\\x.exe", std::nullopt, "\\"}, FolderCase{"", std::nullopt, ""},
                    FolderCase{"ab:\\x", std::nullopt, "ab:\\"},
                    FolderCase{"Пуск:\\x", std::nullopt, "Пуск:\\"}));

}  // namespace
}  // namespace kv
