// Hostile data files under a real window system: huge, binary, locked, short and unwritable.
// Every case checks that nothing is lost and that the failure shows as the program shows it (the
// default error box with its text) or not at all; each names the protection it guards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "tests/e2e/support/harness.h"

namespace kv::e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// Windows-1251 bytes as the program shows them.
std::wstring FromCp1251(const std::string& bytes) {
  if (bytes.empty())
    return {};
  const int n =
      MultiByteToWideChar(1251, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(1251, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
  return w;
}

// The line rule of both lists, written out independently: CR, LF or CR LF end a line, the text
// ends at the first NUL, a last line without an end counts, a final end adds nothing.
std::vector<std::string> Lines(const std::string& bytes) {
  const std::string text = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(line);
      line.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
    } else {
      line += text[i];
    }
  }
  if (!line.empty())
    lines.push_back(line);
  return lines;
}

std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines)
    bytes += line + "\r\n";
  return bytes;
}

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Waits until the file has the expected bytes (its size first: the files here are large).
bool WaitFileBytes(const std::wstring& path, const std::string& bytes, int timeoutMs = 30000) {
  return Poll(
      [&] {
        return FileSize(path) == static_cast<long long>(bytes.size()) &&
               ReadFileBytes(path) == bytes;
      },
      timeoutMs);
}

void WaitData(Karvoss& karvoss) {
  karvoss.Bar();
  ASSERT_TRUE(Poll([&] { return FolderExists(karvoss.Folder() + L"\\Data"); }));
}

// The one visible message box: its caption and its last text (the icon has none).
struct Box {
  std::wstring caption;
  std::wstring text;
};

Box WaitBox(Karvoss& karvoss) {
  HWND box = karvoss.WaitMessageBox();
  if (!box)
    return {};
  const WindowText texts = Karvoss::TextsOf(box);
  Box result{texts.caption, texts.statics.empty() ? L"" : texts.statics.back()};
  Karvoss::Confirm(box);
  Poll([&] { return karvoss.MessageBoxes().empty(); });
  return result;
}

// "Cannot open file ..." and "Cannot create file ...": the path, the system's reason, a full stop.
void ExpectFileErrorBox(const Box& box, const std::wstring& verb, const std::wstring& path) {
  EXPECT_EQ(box.caption, L"Karvoss");
  EXPECT_THAT(box.text, StartsWith(L"Cannot " + verb + L" file \"" + path + L"\". "));
  EXPECT_GT(box.text.size(), verb.size() + path.size() + 20) << "no system reason";
  EXPECT_EQ(box.text.back(), L'.');
}

// Shows the bar with the field focused, so that Enter reaches it.
void ShowFocused(Karvoss& karvoss) {
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
}

// Runs the text through the bar once the field has the focus (Enter goes to the focus).
void RunInBar(Karvoss& karvoss, const std::wstring& text) {
  if (!karvoss.BarVisible())
    ShowFocused(karvoss);
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
  karvoss.Run(text);
}

// Hides the bar with Esc, so that the next show reloads both lists.
void HideWithEsc(Karvoss& karvoss) {
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(karvoss.WaitHidden());
}

// After an error box the bar has either slid away (the box took the activation from it) or is
// back and active; either way this leaves it hidden.
void PutAway(Karvoss& karvoss) {
  ASSERT_TRUE(Poll([&] {
    if (!karvoss.BarVisible())
      return karvoss.BarRect().top == -100;
    return karvoss.BarRect().top == 0 && GetForegroundWindow() == karvoss.Bar();
  }));
  if (karvoss.BarVisible())
    karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitHidden());
}

// ---------------------------------------------------------------------------------------------
// Huge histories

std::string MillionLines() {
  std::string text;
  text.reserve(1000000 * 15);
  char line[32];
  for (int i = 0; i < 1000000; ++i) {
    std::snprintf(line, sizeof line, "entry %07d\r\n", i);
    text += line;
  }
  return text;
}

// Guards the deferred copy of a long history into the drop-down list (CommandField::SetItems):
// copied at every show through the combo box, a million entries kept the bar from coming down
// for 80 s under Wine, far past WaitShown's deadline.
TEST(HostileHistory, MillionLinesStillShowAndTakeTheNewCommandOnTop) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  const std::wstring history = karvoss.DataFile(L"history.cmh");
  const std::string old = MillionLines();
  WriteFileBytes(history, old);
  // A deadline far above the quarter second the show takes, far below the eager copy's time.
  karvoss.Hotkey();
  ASSERT_TRUE(Poll([&] { return karvoss.BarVisible() && karvoss.BarRect().top == 0; }, 5000));
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
  RunInBar(karvoss, L"probe.exe|new");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_TRUE(WaitFileBytes(history, "probe.exe|new\r\n" + old));
  EXPECT_EQ(FolderEntries(karvoss.Folder() + L"\\Data"), std::vector<std::wstring>{L"history.cmh"});
}

// Guards the reader's and the writer's unlimited line length, and the code page's round trip: a
// reader with a line buffer would cut or split the line, a lossy conversion would change it.
TEST(HostileHistory, OneMegabyteLineIsOfferedWholeAndKeptByteForByte) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  std::string line;
  const std::string pattern = "abc \xE0\xE1\xE2 \xC0\xC1\xC2 \xB8\xA8 0123456789|";  // Cyrillic
  while (line.size() < (1u << 20))
    line += pattern;
  line.resize(1u << 20);
  const std::wstring history = karvoss.DataFile(L"history.cmh");
  WriteFileBytes(history, line + "\r\n");
  ShowFocused(karvoss);
  ASSERT_EQ(SendMessageW(karvoss.Field(), CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(ComboItems(karvoss.Field())[0], FromCp1251(line));
  RunInBar(karvoss, L"probe.exe|new");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_TRUE(WaitFileBytes(history, "probe.exe|new\r\n" + line + "\r\n"));
}

std::string NumberedLines(int count, const char* prefix) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += prefix + std::to_string(i) + "\r\n";
  return text;
}

// The deferred copy is still a copy: a history too long to copy at the show (over 2,000 entries)
// is in the list once the list is opened with its button, and an arrow key in the closed field
// walks the current history, not the list of an earlier show.
TEST(HostileHistory, LongHistoryReachesTheListWhenItIsOpenedOrWalked) {
  Karvoss karvoss;
  WaitData(karvoss);
  const std::wstring history = karvoss.DataFile(L"history.cmh");
  const std::string first = NumberedLines(2500, "first ");
  WriteFileBytes(history, first);
  ShowFocused(karvoss);
  RECT field{};
  GetWindowRect(karvoss.Field(), &field);
  Click(field.right - 8, (field.top + field.bottom) / 2);  // the drop-down button
  ASSERT_TRUE(Poll([&] { return SendMessageW(karvoss.Field(), CB_GETDROPPEDSTATE, 0, 0) != 0; }));
  std::vector<std::wstring> expected;
  for (const std::string& line : Lines(first))
    expected.push_back(Wide(line));
  EXPECT_THAT(ComboItems(karvoss.Field()), ElementsAreArray(expected));
  PressKey(VK_F4);  // closes it again
  ASSERT_TRUE(Poll([&] { return SendMessageW(karvoss.Field(), CB_GETDROPPEDSTATE, 0, 0) == 0; }));
  HideWithEsc(karvoss);

  WriteFileBytes(history, NumberedLines(2500, "second "));
  ShowFocused(karvoss);
  PressKey(VK_DOWN);  // the field's text is in no entry: the first entry comes up
  EXPECT_TRUE(Poll([&] { return karvoss.FieldText() == L"second 0"; }));
  EXPECT_EQ(SendMessageW(karvoss.Field(), CB_GETCOUNT, 0, 0), 2500);
}

// Guards the bound on what is read: a file of a size no launcher writes is refused at once, not
// loaded into memory, said once, and never rewritten; the bar comes down as quickly as ever.
TEST(HostileHistory, TwoGigabytesAreRefusedAtOnceSaidOnceAndNeverRewritten) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  const std::wstring history = karvoss.DataFile(L"history.cmh");
  constexpr long long kSize = 2LL << 30;
  {
    HANDLE file =
        CreateFileW(history.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "head\r\n", 6, &written, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = kSize;
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(file));  // sparse: no disk space taken
    CloseHandle(file);
  }
  karvoss.Hotkey();
  ASSERT_TRUE(Poll([&] { return karvoss.BarVisible() && karvoss.BarRect().top == 0; }, 5000));
  const Box box = WaitBox(karvoss);
  EXPECT_THAT(box.text, HasSubstr(history));
  EXPECT_THAT(box.text, HasSubstr(L"64 МБ"));
  RunInBar(karvoss, L"probe.exe|big");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  PutAway(karvoss);
  ShowFocused(karvoss);
  Settle(300);
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
  EXPECT_EQ(FileSize(history), kSize);
  HANDLE file = CreateFileW(history.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  char head[6] = {};
  DWORD read = 0;
  ReadFile(file, head, sizeof head, &read, nullptr);
  CloseHandle(file);
  EXPECT_EQ(std::string(head, read), "head\r\n");
}

// ---------------------------------------------------------------------------------------------
// Binary garbage

// Random bytes without NUL, with line ends among them.
std::string Garbage(std::mt19937& random, size_t size) {
  std::uniform_int_distribution<int> byte(1, 255);
  std::string bytes;
  while (bytes.size() < size) {
    const int b = byte(random);
    bytes += static_cast<char>(b % 23 == 0 ? '\n' : b);
  }
  return bytes;
}

// Guards the end of the text at the first NUL (and the code page's round trip of every other
// byte): the entries after the NUL are neither offered nor written back.
TEST(HostileFiles, BinaryHistoryIsReadUpToItsNulAndRewrittenWithoutLoss) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  std::mt19937 random(1251);
  const std::string before = Garbage(random, 3000);
  const std::string bytes = before + '\0' + "\r\nafter the nul\r\n" + Garbage(random, 1000);
  const std::wstring history = karvoss.DataFile(L"history.cmh");
  WriteFileBytes(history, bytes);
  ShowFocused(karvoss);
  const std::vector<std::string> lines = Lines(before);
  ASSERT_GT(lines.size(), 50u);
  std::vector<std::wstring> expected;
  for (const std::string& line : lines)
    expected.push_back(FromCp1251(line));
  EXPECT_THAT(ComboItems(karvoss.Field()), ElementsAreArray(expected));
  EXPECT_EQ(ReadFileBytes(history), bytes);  // a show writes nothing

  RunInBar(karvoss, L"probe.exe|new");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  std::vector<std::string> rewritten{"probe.exe|new"};
  for (const std::string& line : lines) {
    if (line != "probe.exe|new")
      rewritten.push_back(line);
  }
  EXPECT_TRUE(WaitFileBytes(history, CrLfLines(rewritten)));
}

// Guards the end of the command store at the first NUL: the stored line after it, which the
// typed name would also match, is not started.
TEST(HostileFiles, BinaryCommandStoreIsReadUpToItsNul) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  std::mt19937 random(866);
  const std::string probe = Utf8(karvoss.Folder()) + "\\probe.exe";
  const std::string bytes = Garbage(random, 3000) + "\r\nkvgarbage|" + probe + "|before||\r\n" +
                            Garbage(random, 3000) + '\0' + "\r\nkvgarbage|" + probe +
                            "|after||\r\n" + Garbage(random, 1000);
  const std::wstring store = karvoss.DataFile(L"command.cms");
  WriteFileBytes(store, bytes);
  RunInBar(karvoss, L"kvgarbage");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  Settle(500);
  const std::vector<ProbeRecord> records = karvoss.ProbeRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].arguments, "before");
  EXPECT_EQ(ReadFileBytes(store), bytes);
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
}

// ---------------------------------------------------------------------------------------------
// Locked and unwritable files

// Guards the read error of a show: shown in the default error box, the rest of that show's
// preparation skipped, the lists kept, and the bar still working afterwards.
TEST(HostileFiles, LockedCommandStoreAtAShowIsReportedAndTheBarGoesOn) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  const std::string probe = Utf8(karvoss.Folder()) + "\\probe.exe";
  const std::wstring store = karvoss.DataFile(L"command.cms");
  const std::string contents = "kvlocked|" + probe + "|unlocked||\r\n";
  WriteFileBytes(store, contents);
  HANDLE lock = CreateFileW(store.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  karvoss.Hotkey();
  const Box box = WaitBox(karvoss);
  ExpectFileErrorBox(box, L"open", store);
  EXPECT_TRUE(karvoss.Running());
  CloseHandle(lock);
  EXPECT_EQ(ReadFileBytes(store), contents);

  // The next show reads the store again and the stored command runs.
  PutAway(karvoss);
  ShowFocused(karvoss);
  RunInBar(karvoss, L"kvlocked");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_EQ(karvoss.ProbeRecords()[0].arguments, "unlocked");
  EXPECT_TRUE(WaitFileBytes(karvoss.DataFile(L"history.cmh"), "kvlocked\r\n"));
}

// Guards the history's reads against a scanner's hold: a brief hold at the first show is waited
// for; a long one is reported, and the file, read again before the save and still held, is left
// as it is instead of being rewritten from the one new command.
TEST(HostileFiles, HistoryHeldAtAShowKeepsEveryOlderEntry) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  const std::wstring history = karvoss.DataFile(L"history.cmh");
  const std::string old = "old one\r\nold two\r\n";
  WriteFileBytes(history, old);
  {
    HeldFile held(history, 0);
    ASSERT_TRUE(held.Held());
    held.ReleaseAfter(300);
    ShowFocused(karvoss);
    EXPECT_EQ(ComboItems(karvoss.Field()).size(), 2u);
  }
  RunInBar(karvoss, L"probe.exe|brief");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  const std::string afterBrief = "probe.exe|brief\r\n" + old;
  ASSERT_TRUE(WaitFileBytes(history, afterBrief));
  EXPECT_TRUE(karvoss.MessageBoxes().empty());

  PutAway(karvoss);
  {
    HeldFile held(history, 0);
    karvoss.Hotkey();
    ExpectFileErrorBox(WaitBox(karvoss), L"open", history);
    RunInBar(karvoss, L"probe.exe|long");
    ASSERT_TRUE(karvoss.WaitProbeRecords(2));
    ExpectFileErrorBox(WaitBox(karvoss), L"open", history);
  }
  EXPECT_EQ(ReadFileBytes(history), afterBrief);
}

// Guards the folder made again at a save: Data deleted while the program runs costs nothing.
TEST(HostileFiles, DataFolderDeletedWhileRunningIsMadeAgainAtTheNextSave) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  RemoveTree(karvoss.Folder() + L"\\Data");
  ASSERT_FALSE(FolderExists(karvoss.Folder() + L"\\Data"));
  RunInBar(karvoss, L"probe.exe|again");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_TRUE(WaitFileBytes(karvoss.DataFile(L"history.cmh"), "probe.exe|again\r\n"));
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
}

// How a save is refused, and how the test lifts the refusal again.
struct Refusal {
  const char* name;
  HANDLE (*apply)(const std::wstring& path);
  void (*lift)(const std::wstring& path, HANDLE handle);
};

const Refusal kRefusals[] = {
    {"ReadOnly",
     [](const std::wstring& path) -> HANDLE {
       SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
       return nullptr;
     },
     [](const std::wstring& path, HANDLE) {
       SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
     }},
    {"HeldWithoutDeleteSharing",
     [](const std::wstring& path) {
       return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
     },
     [](const std::wstring&, HANDLE handle) { CloseHandle(handle); }},
};

void PrintTo(const Refusal& refusal, std::ostream* os) {
  *os << refusal.name;
}

class RefusedSave : public ::testing::TestWithParam<Refusal> {};

// Guards the rewrite through a temporary file and the error box of a failed save: the old file
// stays whole, the temporary file is removed, the error is shown and the program goes on; once
// the file is writable the next save succeeds.
TEST_P(RefusedSave, KeepsTheOldFileShowsTheErrorAndTheNextSaveSucceeds) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  const std::wstring history = karvoss.DataFile(L"history.cmh");
  const std::string old = "old one\r\nold two\r\n";
  WriteFileBytes(history, old);
  HANDLE handle = GetParam().apply(history);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  RunInBar(karvoss, L"probe.exe|refused");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  ExpectFileErrorBox(WaitBox(karvoss), L"create", history);
  EXPECT_EQ(ReadFileBytes(history), old);
  EXPECT_EQ(FolderEntries(karvoss.Folder() + L"\\Data"), std::vector<std::wstring>{L"history.cmh"});
  GetParam().lift(history, handle);

  ASSERT_TRUE(karvoss.Running());
  PutAway(karvoss);
  ShowFocused(karvoss);  // reloads the history from the file
  RunInBar(karvoss, L"probe.exe|accepted");
  ASSERT_TRUE(karvoss.WaitProbeRecords(2));
  EXPECT_TRUE(WaitFileBytes(history, "probe.exe|accepted\r\n" + old));
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(HostileFiles, RefusedSave, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

// Guards the retried replacement of a file that another process has open, sharing it fully (a
// virus scanner or the search indexer reading it): the save waits for the reader to let go
// instead of failing with "access denied". The temporary file stands while it waits.
TEST(HostileFiles, SaveWaitsForAFullySharingReaderToLetGo) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  const std::wstring history = karvoss.DataFile(L"history.cmh");
  WriteFileBytes(history, "old\r\n");
  HANDLE reader = CreateFileW(history.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  RunInBar(karvoss, L"probe.exe|scanned");
  const bool waiting = Poll([&] { return FileExists(history + L".new"); }, 5000);
  CloseHandle(reader);
  EXPECT_TRUE(waiting);
  EXPECT_TRUE(WaitFileBytes(history, "probe.exe|scanned\r\nold\r\n"));
  EXPECT_TRUE(Poll([&] { return !FileExists(history + L".new"); }));
  Settle(300);
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
}

// A temporary file left by a crash that cannot be overwritten does not block every save: here
// a folder of its name (a read-only one is cleared, but Wine as root writes over it anyway).
TEST(HostileFiles, StaleTemporaryThatCannotBeOverwrittenDoesNotBlockTheSave) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  WaitData(karvoss);
  const std::wstring history = karvoss.DataFile(L"history.cmh");
  ASSERT_TRUE(CreateDirectoryW((history + L".new").c_str(), nullptr));
  RunInBar(karvoss, L"probe.exe|fresh");
  EXPECT_TRUE(WaitFileBytes(history, "probe.exe|fresh\r\n"));
  Settle(200);
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
}

// Guards the silent start-up without a Data folder and the error box of the first save: a file
// named Data stands where the folder should be.
TEST(HostileFiles, DataFolderThatCannotBeCreatedFailsOnlyAtTheFirstSave) {
  Karvoss karvoss(Karvoss::Options{false, L""});
  const std::wstring blocker = karvoss.Folder() + L"\\Data";
  WriteFileBytes(blocker, "not a folder");
  karvoss.AddProbe(L"probe.exe");
  karvoss.Start();
  karvoss.Bar();
  Settle(500);
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
  RunInBar(karvoss, L"probe.exe|first");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  ExpectFileErrorBox(WaitBox(karvoss), L"create", karvoss.DataFile(L"history.cmh"));
  EXPECT_TRUE(karvoss.Running());
  EXPECT_EQ(ReadFileBytes(blocker), "not a folder");
  // The program goes on: the bar slides away and comes back, and the next command runs.
  PutAway(karvoss);
  ShowFocused(karvoss);
  RunInBar(karvoss, L"probe.exe|second");
  ASSERT_TRUE(karvoss.WaitProbeRecords(2));
  ExpectFileErrorBox(WaitBox(karvoss), L"create", karvoss.DataFile(L"history.cmh"));
  EXPECT_TRUE(karvoss.Running());
}

// ---------------------------------------------------------------------------------------------
// Short and long settings records

struct ConfigCase {
  size_t size;
  bool loads;
};

void PrintTo(const ConfigCase& c, std::ostream* os) {
  *os << c.size << " bytes";
}

class ConfigSize : public ::testing::TestWithParam<ConfigCase> {};

// Little-endian record: Delay 0, edge red, middle green, text blue; bytes beyond 16 would read as
// other colours.
std::string ConfigBytes(size_t size) {
  const std::string record("\x00\x01\x02\x03\xFF\x00\x00\x00\x00\xFF\x00\x00\x00\x00\xFF\x00", 16);
  std::string bytes = record.substr(0, std::min<size_t>(size, 16));
  while (bytes.size() < size)
    bytes += static_cast<char>(0x80 + bytes.size() % 64);
  return bytes;
}

COLORREF FieldPixel(Karvoss& karvoss) {
  RECT field{};
  GetWindowRect(karvoss.Field(), &field);
  return ScreenPixel(field.right - 40, field.top + 16);  // right of the selected prompt
}

// Guards the short-record check ("Read beyond end of file", the record is never decoded from
// fewer than 16 bytes) and the reading of the first record only (longer files load).
TEST_P(ConfigSize, LoadsFromTheFirstSixteenBytesOrReportsAShortFile) {
  Karvoss karvoss(Karvoss::Options{false, L""});
  CreateDirectoryW((karvoss.Folder() + L"\\Data").c_str(), nullptr);
  const std::wstring config = karvoss.DataFile(L"config.cfg");
  const std::string bytes = ConfigBytes(GetParam().size);
  WriteFileBytes(config, bytes);
  karvoss.Start();
  karvoss.Bar();
  if (GetParam().loads) {
    Settle(300);
    EXPECT_TRUE(karvoss.MessageBoxes().empty());
  } else {
    const Box box = WaitBox(karvoss);
    EXPECT_EQ(box.caption, L"Karvoss");
    EXPECT_EQ(box.text, L"Read beyond end of file.");
  }
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  // Loaded: the field takes the middle colour; otherwise it keeps its designed silver.
  const COLORREF want = GetParam().loads ? RGB(0, 255, 0) : RGB(192, 192, 192);
  EXPECT_TRUE(Poll([&] { return FieldPixel(karvoss) == want; })) << std::hex << FieldPixel(karvoss);
  EXPECT_EQ(ReadFileBytes(config), bytes);
}

INSTANTIATE_TEST_SUITE_P(HostileFiles, ConfigSize,
                         ::testing::Values(ConfigCase{0, false}, ConfigCase{15, false},
                                           ConfigCase{16, true}, ConfigCase{17, true},
                                           ConfigCase{4096, true}),
                         [](const auto& info) {
                           return "Bytes" + std::to_string(info.param.size);
                         });

}  // namespace
}  // namespace kv::e2e
