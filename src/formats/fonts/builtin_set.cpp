#include "formats/fonts/builtin_set.h"

namespace tessaly::formats {

const BuiltinCharsetInfo* builtinSetNamed(std::string_view name) {
    for (const BuiltinCharsetInfo& set : builtinCharsets())
        if (set.name == name) return &set;
    return nullptr;
}

Charset builtinSet(const BuiltinCharsetInfo& set) {
    Charset out;
    writeBuiltinCharset(out, set);
    return out;
}

std::bitset<GlyphCount> builtinSetCodes(const BuiltinCharsetInfo& set) {
    const std::size_t glyphs =
        set.generate ? GlyphCount : set.table.size() / GlyphBytes * (set.invertedCopy ? 2 : 1);
    std::bitset<GlyphCount> codes;
    for (std::size_t code = static_cast<std::size_t>(set.firstCode);
         code < GlyphCount && code < glyphs; ++code)
        codes.set(code);
    return codes;
}

} // namespace tessaly::formats
