// How long the command field stalls while the user types a path into a large folder, beside the
// same keys typed into a small one in the same run.
//   typing_bench [rounds] [folder]     (default 5 rounds; the temporary folder)
// A folder of 100,000 empty files and one of 100, `large` and `small` in the given folder, are
// typed into character by character: the folder's path up to its last name, then the
// backslash and "f5999", one key at a time as real input. For each key: the time from the key
// to the field showing it, and the longest the field's thread then takes to answer a message in
// the next 300 ms (a suggestion list made later, by a listing that ended meanwhile, stalls it
// there). A key's stall is the larger of the two; the medians over the rounds are printed.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/support/harness.h"

namespace {

using namespace kv::e2e;
using Clock = std::chrono::steady_clock;

constexpr int kLargeFolder = 100000;
constexpr int kSmallFolder = 100;
constexpr wchar_t kTypedName[] = L"f5999";

double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// `count` empty files f00000.txt ... in `name` under `base`, made once: a marker says the folder
// is whole. (Under Wine making 100,000 files takes minutes; scripts/bench-wine makes them on the
// host instead.)
std::wstring FilledFolder(const std::wstring& base, const std::wstring& name, int count) {
  const std::wstring folder = base + L"\\" + name;
  const std::wstring marker = base + L"\\" + name + L".done";
  if (FileExists(marker))
    return folder;
  CreateDirectoryW(base.c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  std::printf("Making %d files in %ls...\n", count, folder.c_str());
  for (int i = 0; i < count; ++i) {
    wchar_t file[16];
    swprintf(file, 16, L"f%05d.txt", i);
    HANDLE h = CreateFileW((folder + L"\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE)
      CloseHandle(h);
  }
  WriteFileBytes(marker, "");
  return folder;
}

// The field's text as the field's thread answers; the time that answer took.
std::wstring AnsweredText(HWND edit, double& answerMs) {
  wchar_t text[1024] = {};
  DWORD_PTR result = 0;
  const auto start = Clock::now();
  SendMessageTimeoutW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000,
                      &result);
  answerMs = Since(start);
  return text;
}

// Types one key and gives its stall (see the top of the file).
double TypeKey(HWND edit, wchar_t key) {
  double answer = 0;
  const std::wstring expected = AnsweredText(edit, answer) + key;
  const auto start = Clock::now();
  TypeText(std::wstring(1, key));
  double keyMs = 0;
  while (AnsweredText(edit, answer) != expected) {
    if (Since(start) > 15000)
      return -1;
    Sleep(1);
  }
  keyMs = Since(start);
  double later = 0;
  const auto watch = Clock::now();
  while (Since(watch) < 300) {
    DWORD_PTR result = 0;
    const auto ping = Clock::now();
    SendMessageTimeoutW(edit, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
    later = std::max(later, Since(ping));
    Sleep(1);
  }
  return std::max(keyMs, later);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
  std::wstring base;
  if (argc > 2) {
    base = argv[2];
  } else {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    base = std::wstring(temp) + L"karvoss-typing-bench";
  }
  const std::wstring large = FilledFolder(base, L"large", kLargeFolder);
  const std::wstring small = FilledFolder(base, L"small", kSmallFolder);

  Karvoss karvoss;
  karvoss.Hotkey();
  if (!karvoss.WaitShown() || !Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }) ||
      !Poll([&] { return karvoss.HasLoaded(L"shell32.dll"); })) {
    std::printf("The bar did not come down with its field.\n");
    return 1;
  }
  const std::wstring keys = std::wstring(L"\\") + kTypedName;
  // [folder][key] over the rounds.
  std::vector<std::vector<double>> stalls[2];
  for (auto& folder : stalls)
    folder.resize(keys.size());
  for (int round = 0; round < rounds; ++round) {
    for (int f = 0; f < 2; ++f) {
      SetForegroundWindow(karvoss.Bar());
      SendMessageW(karvoss.Edit(), EM_SETSEL, 0, -1);
      const std::wstring folder = f == 0 ? small : large;
      TypeText(folder);
      if (!Poll([&] { return karvoss.FieldText() == folder; })) {
        std::printf("The field did not take the folder's path.\n");
        return 1;
      }
      Settle(300);
      for (size_t k = 0; k < keys.size(); ++k)
        stalls[f][k].push_back(TypeKey(karvoss.Edit(), keys[k]));
    }
  }
  std::printf("Field stall per key, ms (median of %d rounds), typing \"\\%ls\" after the folder\n",
              rounds, kTypedName);
  std::printf("%-8s %14s %14s %8s\n", "Key", "100 files", "100,000 files", "Ratio");
  double worst[2] = {0, 0};
  for (size_t k = 0; k < keys.size(); ++k) {
    const double s = Median(stalls[0][k]);
    const double l = Median(stalls[1][k]);
    worst[0] = std::max(worst[0], s);
    worst[1] = std::max(worst[1], l);
    std::printf("%-8lc %14.1f %14.1f %8.2f\n", keys[k], s, l, s > 0 ? l / s : 0);
  }
  std::printf("%-8s %14.1f %14.1f %8.2f\n", "worst", worst[0], worst[1],
              worst[0] > 0 ? worst[1] / worst[0] : 0);
  return 0;
}
