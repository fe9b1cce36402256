// The bar's own user-facing texts (the dispatcher's, the prompt among them, are its own).
#pragma once

#include <string_view>

#include "interpreter/texts.h"

namespace kv::texts {

inline constexpr std::string_view kApplicationTitle = "Karvoss";
inline constexpr std::string_view kBarCaption = "Выполнить";
inline constexpr std::string_view kRunning = "Выполнение...";
inline constexpr std::string_view kExitMenuItem = "Выход";
// What a screen reader calls the field and the "X" button.
inline constexpr std::string_view kFieldName = "Команда";
inline constexpr std::string_view kCloseButtonName = "Закрыть";
inline constexpr std::string_view kAlreadyRunning =
    "Программа уже запущена! Нажмите сочетание Win+Z для вызова консоли.";
inline constexpr std::string_view kAlreadyRunningCaption = "Karvoss: повторный запуск ";
inline constexpr std::string_view kHotkeyTaken =
    "Не удалось зарегистрировать сочетание Win+Z: оно занято другой программой.";
inline constexpr std::string_view kConfigOpenError = "Ошибка открытия файла конфигурации";

}  // namespace kv::texts
