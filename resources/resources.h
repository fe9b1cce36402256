// Resource files embedded into the program at build time.
#pragma once

#include <string_view>

namespace kv::resources {

// resources/help.txt: the help window's text, UTF-8, CR LF line ends.
extern const std::string_view kHelpText;
// resources/emblem.png: the About window's 48 x 48 RGBA emblem.
extern const std::string_view kEmblemPng;
// resources/emblem-large.png: the same emblem drawn at 192 x 192, for large display scales.
extern const std::string_view kEmblemLargePng;

}  // namespace kv::resources
