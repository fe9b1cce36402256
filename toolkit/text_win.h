// UTF-8 inside the program, UTF-16 at the window API, the ANSI code page in files.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "toolkit/text_codec.h"

namespace kv {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// The system's ANSI code page (Windows-1251 on a Russian system).
class WindowsAnsiCodec final : public AnsiCodec {
 public:
  WindowsAnsiCodec();
  std::string toUtf8(std::string_view ansi) const override;
  std::string fromUtf8(std::string_view utf8) const override;
  bool holds(char32_t codePoint) const override;
  const SingleByteTable* singleByteTable() const override {
    return singleByte_ ? &table_ : nullptr;
  }

 private:
  SingleByteTable table_{};
  bool singleByte_ = false;
};

// The system's text for an error code, without the trailing line end.
std::string SystemErrorText(DWORD error);

// The text of a window (UTF-8).
std::string WindowText(HWND hwnd);
void SetWindowTextUtf8(HWND hwnd, std::string_view text);

}  // namespace kv
