#pragma once

#include "charset/builtin_charsets.h"

#include <bitset>
#include <string_view>

// The editor's built-in sets as files (builtin:c64, ...), by the names in the one list of
// charset/builtin_charsets.h.

namespace tessaly::formats {

// The set of that name after "builtin:"; null when there is none.
const BuiltinCharsetInfo* builtinSetNamed(std::string_view name);

// The set as the editor holds it after choosing it over a blank store: codes the set
// does not fill stay blank.
Charset builtinSet(const BuiltinCharsetInfo& set);

// The codes the set fills: from its first code to the end of its table and the inverted
// copy after it, or all 256 of a generated set.
std::bitset<GlyphCount> builtinSetCodes(const BuiltinCharsetInfo& set);

} // namespace tessaly::formats
