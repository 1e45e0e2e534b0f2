#include "formats/sources/c_source.h"

#include "formats/sources/source_text.h"

#include <algorithm>
#include <functional>

namespace tessaly::formats {

namespace {

constexpr std::string_view Keywords[] = {
    "auto",      "break",   "case",     "char",      "const",    "continue",  "default",
    "do",        "double",  "else",     "enum",      "extern",   "float",     "for",
    "goto",      "if",      "inline",   "int",       "long",     "register",  "restrict",
    "return",    "short",   "signed",   "sizeof",    "static",   "struct",    "switch",
    "typedef",   "union",   "unsigned", "void",      "volatile", "while",     "alignas",
    "alignof",   "bool",    "class",    "constexpr", "delete",   "false",     "friend",
    "namespace", "new",     "nullptr",  "operator",  "private",  "protected", "public",
    "template",  "this",    "throw",    "true",      "try",      "catch",     "typename",
    "using",     "virtual", "asm",      "main"};

std::string hexByte(int v) {
    static const char digits[] = "0123456789ABCDEF";
    return {'0', 'x', digits[(v >> 4) & 15], digits[v & 15]};
}

std::string upperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

void dataLine(std::string& s, std::span<const std::uint8_t> bytes, const std::string& comment) {
    s += "   ";
    for (std::uint8_t b : bytes) {
        s += ' ';
        s += hexByte(b);
        s += ',';
    }
    s += " /* " + comment + " */\n";
}

// The file around the array: the guard of a header, the comment, the declaration.
std::vector<std::uint8_t> arrayFile(const std::string& name, bool header, std::size_t size,
                                    const std::string& description,
                                    const std::function<void(std::string&)>& lines) {
    const std::string guard = upperCase(name) + "_H";
    // A header declares the array in every file that includes it and defines it in the
    // one that asks, so that the program holds it once.
    const std::string implementation = upperCase(name) + "_IMPLEMENTATION";
    const std::string declaration =
        "const unsigned char " + name + "[" + std::to_string(size) + "]";
    std::string s;
    if (header) s += "#ifndef " + guard + "\n#define " + guard + "\n\n";
    s += "/* " + description + " */\n";
    if (header)
        s += "/* Declares the array; defines it where " + implementation +
             " is defined before the #include:\n   do that in exactly one source file. */\n";
    // The declaration first gives the array external linkage in C++ too, where a const
    // at namespace scope would otherwise be local to its file; C takes it unchanged.
    s += "extern " + declaration + ";\n";
    if (header) s += "\n#ifdef " + implementation + "\n";
    s += declaration + " = {\n";
    lines(s);
    s += "};\n";
    if (header) s += "#endif\n\n#endif\n";
    return {s.begin(), s.end()};
}

} // namespace

bool cNameAllowed(std::string_view name) {
    if (!isIdentifier(name)) return false;
    return std::find(std::begin(Keywords), std::end(Keywords), name) == std::end(Keywords);
}

std::vector<std::uint8_t> writeCSet(const Charset& set, int first, int count,
                                    const std::string& name, bool header) {
    return arrayFile(name, header, static_cast<std::size_t>(count) * GlyphBytes,
                     setDescription(first, count, "0x"), [&](std::string& s) {
                         for (int code = first; code < first + count; ++code)
                             dataLine(s, glyph(set, code), codeComment(code, "0x"));
                     });
}

std::vector<std::uint8_t> writeCMap(const CodeMap& map, const std::string& name, bool header) {
    return arrayFile(name, header, map.codes.size(), mapDescription(map), [&](std::string& s) {
        forEachMapLine(map, [&](std::span<const std::uint8_t> codes, const std::string& where) {
            dataLine(s, codes, where);
        });
    });
}

} // namespace tessaly::formats
