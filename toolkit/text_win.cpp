#include "toolkit/text_win.h"

#include <algorithm>

namespace kv {
namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
  if (text.empty())
    return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string FromWide(UINT codePage, std::wstring_view wide) {
  if (wide.empty())
    return {};
  // Without this flag the system writes look-alikes for what the code page lacks ("é" as "e").
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int size = static_cast<int>(wide.size());
  const int n =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), n, nullptr, nullptr);
  return text;
}

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80)
      return false;
  }
  return true;
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  return ToWide(CP_UTF8, utf8);
}
std::string Narrow(std::wstring_view wide) {
  return FromWide(CP_UTF8, wide);
}

// A code page of one byte per character (1251 and its kin) converts lines by table, built once
// from the system's own conversion.
WindowsAnsiCodec::WindowsAnsiCodec() {
  CPINFO info{};
  if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1)
    return;
  table_.twoBytesFromC0 = true;
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    wchar_t wide = 0;
    if (MultiByteToWideChar(CP_ACP, 0, &byte, 1, &wide, 1) != 1)
      wide = static_cast<wchar_t>(b);
    std::string form;
    appendUtf8(form, wide);
    Utf8Form& f = table_.forms[static_cast<size_t>(b)];
    std::copy(form.begin(), form.end(), f.bytes);
    f.size = static_cast<std::uint8_t>(form.size());
    if (b >= 0xC0 && f.size != 2)
      table_.twoBytesFromC0 = false;
  }
  singleByte_ = true;
}

std::string WindowsAnsiCodec::toUtf8(std::string_view ansi) const {
  if (IsAscii(ansi))
    return std::string(ansi);
  return FromWide(CP_UTF8, ToWide(CP_ACP, ansi));
}

std::string WindowsAnsiCodec::fromUtf8(std::string_view utf8) const {
  if (IsAscii(utf8))
    return std::string(utf8);
  return FromWide(CP_ACP, ToWide(CP_UTF8, utf8));
}

bool WindowsAnsiCodec::holds(char32_t codePoint) const {
  if (codePoint < 0x80)
    return true;
  std::string utf8;
  appendUtf8(utf8, codePoint);
  const std::wstring wide = ToWide(CP_UTF8, utf8);
  BOOL usedDefault = FALSE;
  char bytes[8];
  const int n =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                          bytes, sizeof bytes, nullptr, &usedDefault);
  return n > 0 && !usedDefault;
}

std::string SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? std::wstring(buffer, n) : std::wstring();
  if (buffer)
    LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty())
    return "System error " + std::to_string(error);
  return Narrow(text);
}

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int n = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(n));
  return Narrow(text);
}

void SetWindowTextUtf8(HWND hwnd, std::string_view text) {
  SetWindowTextW(hwnd, Widen(text).c_str());
}

}  // namespace kv
