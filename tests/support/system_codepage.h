// glibc's own code-page tables, the reference the codec tests compare against.
#pragma once

#include <string>

namespace kv::test {

// Converts with iconv; characters iconv cannot convert end the output there.
std::string IconvConvert(const char* to, const char* from, std::string input);

}  // namespace kv::test
