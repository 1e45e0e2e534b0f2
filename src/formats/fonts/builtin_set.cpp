#include "formats/fonts/builtin_set.h"

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
    // The Spectrum's codes 0-31 are control codes, blank in its table to keep codes in place.
    const std::size_t first = set == BuiltinCharset::ZxSpectrum ? 32 : 0;
    std::bitset<GlyphCount> codes;
    for (std::size_t code = first; code < GlyphCount && (info.table.empty() || code < glyphs);
         ++code)
        codes.set(code);
    return codes;
}

} // namespace tessaly::formats
