#include "formats/sources/ascii_name.h"

#include <cstdint>
#include <optional>

namespace tessaly::formats {

namespace {

// U+00C0..U+017F: the Latin letters of Latin-1 and Latin Extended-A without their accents.
constexpr std::string_view LatinLetters[] = {
    "A", "A", "A",  "A",  "A", "A", "AE", "C",  "E",  "E", "E", "E", "I",  "I",  "I", "I", "D", "N",
    "O", "O", "O",  "O",  "O", "_", "O",  "U",  "U",  "U", "U", "Y", "TH", "ss", "a", "a", "a", "a",
    "a", "a", "ae", "c",  "e", "e", "e",  "e",  "i",  "i", "i", "i", "d",  "n",  "o", "o", "o", "o",
    "o", "_", "o",  "u",  "u", "u", "u",  "y",  "th", "y", "A", "a", "A",  "a",  "A", "a", "C", "c",
    "C", "c", "C",  "c",  "C", "c", "D",  "d",  "D",  "d", "E", "e", "E",  "e",  "E", "e", "E", "e",
    "E", "e", "G",  "g",  "G", "g", "G",  "g",  "G",  "g", "H", "h", "H",  "h",  "I", "i", "I", "i",
    "I", "i", "I",  "i",  "I", "i", "IJ", "ij", "J",  "j", "K", "k", "k",  "L",  "l", "L", "l", "L",
    "l", "L", "l",  "L",  "l", "N", "n",  "N",  "n",  "N", "n", "n", "N",  "n",  "O", "o", "O", "o",
    "O", "o", "OE", "oe", "R", "r", "R",  "r",  "R",  "r", "S", "s", "S",  "s",  "S", "s", "S", "s",
    "T", "t", "T",  "t",  "T", "t", "U",  "u",  "U",  "u", "U", "u", "U",  "u",  "U", "u", "U", "u",
    "W", "w", "Y",  "y",  "Y", "Z", "z",  "Z",  "z",  "Z", "z", "s",
};
// U+0410..U+044F: the Russian alphabet, transliterated.
constexpr std::string_view CyrillicLetters[] = {
    "A", "B", "V", "G", "D", "E",  "Zh", "Z",  "I",  "Y",    "K", "L", "M", "N", "O",  "P",
    "R", "S", "T", "U", "F", "Kh", "Ts", "Ch", "Sh", "Shch", "",  "Y", "",  "E", "Yu", "Ya",
    "a", "b", "v", "g", "d", "e",  "zh", "z",  "i",  "y",    "k", "l", "m", "n", "o",  "p",
    "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "",  "y", "",  "e", "yu", "ya",
};
// U+0391..U+03A9 and U+03B1..U+03C9 (U+03A2 is unassigned; U+03C2 is the final sigma).
constexpr std::string_view GreekLetters[] = {
    "A", "V", "G", "D", "E", "Z", "I", "Th", "I", "K",  "L",  "M", "N",
    "X", "O", "P", "R", "",  "S", "T", "Y",  "F", "Ch", "Ps", "O",
};
constexpr std::string_view GreekSmallLetters[] = {
    "a", "v", "g", "d", "e", "z", "i", "th", "i", "k",  "l",  "m", "n",
    "x", "o", "p", "r", "s", "s", "t", "y",  "f", "ch", "ps", "o",
};

// The next code point of `text` from `at`, which moves past it; U+FFFD for a byte that
// starts no well-formed sequence (the byte is then skipped alone).
char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    const int length = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
    if (length == 0 || at + static_cast<std::size_t>(length) > text.size()) {
        ++at;
        return 0xFFFD;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + static_cast<std::size_t>(i)) & 0xC0) != 0x80) {
            ++at;
            return 0xFFFD;
        }
        c = (c << 6) | (byte(at + static_cast<std::size_t>(i)) & 0x3F);
    }
    at += static_cast<std::size_t>(length);
    return c;
}

// The letter's spelling in ASCII (which may be empty: the soft sign), or none.
std::optional<std::string_view> spelled(char32_t c) {
    if (c >= 0xC0 && c < 0x180) return LatinLetters[c - 0xC0];
    if (c >= 0x410 && c < 0x450) return CyrillicLetters[c - 0x410];
    if (c == 0x401) return "Yo";
    if (c == 0x451) return "yo";
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return GreekLetters[c - 0x391];
    if (c >= 0x3B1 && c <= 0x3C9) return GreekSmallLetters[c - 0x3B1];
    return std::nullopt;
}

} // namespace

std::string asciiName(std::string_view utf8) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = nextCodePoint(utf8, at);
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (plain) {
            out += static_cast<char>(c);
        } else if (const std::optional<std::string_view> letters = spelled(c)) {
            out += *letters;
        } else if (c < 0x80 || c == 0xFFFD || (c >= 0xA0 && c < 0xC0)) {
            out += '_'; // punctuation, spaces and signs
        } else {
            out += 'u';
            for (int shift = c > 0xFFFF ? 16 : 12; shift >= 0; shift -= 4)
                out += digits[(c >> shift) & 15];
        }
    }
    return out;
}

} // namespace tessaly::formats
