#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/reserved_names.h"
#include "interpreter/built_in_words.h"
#include "resources/resources.h"

namespace kv {
namespace {

std::vector<std::string> HelpLines() {
  std::vector<std::string> lines;
  std::string_view text = resources::kHelpText;
  while (!text.empty()) {
    const size_t end = text.find("\r\n");
    if (end == std::string_view::npos) {
      ADD_FAILURE() << "text after the last CR LF: " << text;
      break;
    }
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  return lines;
}

// Characters, not bytes: the window shows the text in a fixed-pitch font.
size_t CharCount(std::string_view utf8) {
  size_t count = 0;
  for (char c : utf8)
    count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// The first `chars` characters of a line.
std::string_view Head(std::string_view line, size_t chars) {
  size_t pos = 0;
  for (size_t n = 0; n < chars && pos < line.size(); ++n) {
    ++pos;
    while (pos < line.size() && (static_cast<unsigned char>(line[pos]) & 0xC0) == 0x80)
      ++pos;
  }
  return line.substr(0, pos);
}

// Command words, a blank, at least one hyphen and a blank, filling exactly `column` - 1
// characters, then a description that starts with something other than a blank.
void ExpectDescriptionColumn(const std::string& line, size_t column) {
  SCOPED_TRACE(line);
  const std::string_view prefix = Head(line, column - 1);
  ASSERT_EQ(CharCount(prefix), column - 1);
  ASSERT_LT(prefix.size(), line.size());
  EXPECT_TRUE(prefix.ends_with("- "));
  const size_t blank = prefix.find_last_not_of('-', prefix.size() - 2);
  ASSERT_NE(blank, std::string_view::npos);
  ASSERT_GT(blank, 0u);
  EXPECT_EQ(prefix[blank], ' ');
  EXPECT_NE(prefix[blank - 1], ' ');
  EXPECT_NE(prefix[0], ' ');
  EXPECT_NE(line[prefix.size()], ' ');
}

TEST(HelpText, HasOneHundredTenLinesOfAtMostSixtyTwoCharacters) {
  const auto lines = HelpLines();
  ASSERT_EQ(lines.size(), 110u);
  for (const std::string& line : lines) {
    EXPECT_LE(CharCount(line), 62u) << line;
    EXPECT_EQ(line.find_first_of("\r\n\t"), std::string::npos) << line;
  }
}

TEST(HelpText, BannersAreSixtyTwoCharactersWide) {
  const auto lines = HelpLines();
  ASSERT_EQ(lines.size(), 110u);
  const std::string stars(62, '*');
  const std::string equals(62, '=');
  EXPECT_EQ(lines[10], stars);
  EXPECT_EQ(lines[11], "************* Стандартные команды программы ******************");
  EXPECT_EQ(lines[12], stars);
  EXPECT_EQ(lines[25], equals);
  EXPECT_EQ(lines[26], "================ Зарезервированные команды ===================");
  EXPECT_EQ(lines[27], equals);
  EXPECT_EQ(lines[103], equals);
  EXPECT_EQ(lines[104], "=============== Команды управления Windows ===================");
  EXPECT_EQ(lines[105], equals);
  EXPECT_EQ(lines[109], equals);
  for (size_t i : {11u, 26u, 104u})
    EXPECT_EQ(CharCount(lines[i]), 62u) << lines[i];
}

TEST(HelpText, DescriptionColumnsPerBlock) {
  const auto lines = HelpLines();
  ASSERT_EQ(lines.size(), 110u);
  for (size_t i = 13; i <= 24; ++i) {
    if (i >= 19 && i <= 23) {  // "commed" runs on, indented to the same column
      EXPECT_TRUE(lines[i].starts_with(std::string(16, ' '))) << lines[i];
      EXPECT_NE(lines[i][16], ' ') << lines[i];
    } else {
      ExpectDescriptionColumn(lines[i], 17);
    }
  }
  for (size_t i = 28; i <= 102; ++i)
    ExpectDescriptionColumn(lines[i], 23);
  for (size_t i = 106; i <= 108; ++i)
    ExpectDescriptionColumn(lines[i], 22);
}

TEST(HelpText, ExactLines) {
  const auto lines = HelpLines();
  ASSERT_EQ(lines.size(), 110u);
  EXPECT_EQ(lines[0], "   Консоль  вызывается нажатием сочетания Win+Z. Команды такие");
  EXPECT_EQ(lines[1], "же, как и при вводе в поле \"Выполнить\".");
  EXPECT_EQ(lines[2], "   Все команды регистрозависимые! ");
  EXPECT_EQ(lines[9], "разделитель - пробел");
  EXPECT_EQ(lines[13], "help ---------- Справка (это окно)");
  EXPECT_EQ(lines[17], "exit, quit ---- Выход");
  EXPECT_EQ(lines[18], "commed -------- Редактор  команд (вы можете добавлять свои ко-");
  EXPECT_EQ(lines[23], "                File, filE для программы будут разные!)");
  EXPECT_EQ(lines[24], "clearhistiory - Очистить историю команд");
  EXPECT_EQ(lines[28], "sertificates -------- Сертификаты");
  EXPECT_EQ(lines[40], "perfomance ---------- Пролизводительность");
  EXPECT_EQ(lines[48], "watson -------------- Dr. Watson ");
  EXPECT_EQ(lines[51], "checkdisk ,chkdsk --- Проверка диска");
  EXPECT_EQ(lines[53], "sysconfig, msconfig - Настройка системы");
  EXPECT_EQ(lines[70], "word, winword ------- Запуск Microsoft WOrd");
  EXPECT_EQ(lines[72], "ppoint -------------- Запуск Mirosoft PowerPoint");
  EXPECT_EQ(lines[96], "phoneconfig --------- Телефон и модем ");
  EXPECT_EQ(lines[102], "bde ----------------- BDE Администратор");
  EXPECT_EQ(lines[106], "Shutdown, poweroff - Выключение");
  EXPECT_EQ(lines[107], "Reboot, restart ---- Перезагрузка");
  EXPECT_EQ(lines[108], "Forced, logoff ----- Завершение сеанса");
}

// Every word of the reserved block is a reserved name, and every reserved name past the
// built-in and session words is listed there.
TEST(HelpText, ReservedBlockListsTheReservedNames) {
  const auto lines = HelpLines();
  ASSERT_EQ(lines.size(), 110u);
  std::vector<std::string> listed;
  for (size_t i = 28; i <= 102; ++i) {
    const std::string words = lines[i].substr(0, lines[i].find(" -"));
    size_t pos = 0;
    while (pos < words.size()) {
      const size_t start = words.find_first_not_of(" ,", pos);
      if (start == std::string::npos)
        break;
      const size_t end = std::min(words.find_first_of(" ,", start), words.size());
      listed.push_back(words.substr(start, end - start));
      pos = end;
    }
  }
  for (const std::string& word : listed)
    EXPECT_TRUE(IsReservedName(word)) << word;
  const auto& reserved = ReservedNames();
  const auto words = std::ranges::count(BuiltInWords(), Reserved::yes, &BuiltInWord::reserved);
  for (size_t i = static_cast<size_t>(words); i < reserved.size(); ++i) {
    EXPECT_NE(std::find(listed.begin(), listed.end(), reserved[i]), listed.end()) << reserved[i];
  }
}

}  // namespace
}  // namespace kv
