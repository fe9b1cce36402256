// The dispatcher's user-facing texts: the prompt it puts back after "clearhistory" and the
// failure texts of a plain launch.
#pragma once

#include <string_view>

namespace kv::texts {

inline constexpr std::string_view kPrompt = "Введите команду (help - справка)";
inline constexpr std::string_view kCommandNotFound = "Команда не найдена (2)";
inline constexpr std::string_view kUnknownErrorStart = "Неизвестная ошибка (";

}  // namespace kv::texts
