#include "formats/builtin_set.h"

namespace tessaly::formats {

const BuiltinCharsetInfo* builtinSetNamed(std::string_view name) {
    for (const BuiltinCharsetInfo& set : builtinCharsets())
        if (set.name == name) return &set;
    return nullptr;
}

Charset builtinSet(BuiltinCharset set) {
    Charset out;
    writeBuiltinCharset(out, set);
    return out;
}

std::bitset<GlyphCount> builtinSetCodes(BuiltinCharset set) {
    const BuiltinCharsetInfo& info = builtinCharsetInfo(set);
    const std::size_t glyphs = info.table.size() / GlyphBytes * (info.invertedCopy ? 2 : 1);
    std::bitset<GlyphCount> codes;
    for (std::size_t code = 0; code < GlyphCount && (info.table.empty() || code < glyphs); ++code)
        codes.set(code);
    return codes;
}

} // namespace tessaly::formats
