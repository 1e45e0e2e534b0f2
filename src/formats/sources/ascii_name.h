#pragma once

#include <string>
#include <string_view>

// Names for labels and arrays made from file names, which may be in any script.

namespace tessaly::formats {

// `utf8` in ASCII letters, digits and '_': Latin letters lose their accents, Russian and
// Greek letters are transliterated (шрифт: shrift), other letters become uXXXX, and
// spaces, punctuation and malformed bytes become '_'.
std::string asciiName(std::string_view utf8);

} // namespace tessaly::formats
