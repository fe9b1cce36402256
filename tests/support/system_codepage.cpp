#include "tests/support/system_codepage.h"

#include <iconv.h>

namespace kv::test {

std::string IconvConvert(const char* to, const char* from, std::string input) {
  iconv_t cd = iconv_open(to, from);
  std::string out(input.size() * 4 + 4, '\0');
  char* in = input.data();
  size_t inLeft = input.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace kv::test
