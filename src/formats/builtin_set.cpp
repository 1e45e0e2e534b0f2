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

} // namespace tessaly::formats
