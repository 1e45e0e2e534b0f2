#pragma once

#include "charset/builtin_charsets.h"

#include <optional>
#include <span>
#include <string_view>

// The editor's built-in sets by short name (builtin:c64, ...), read from the same tables
// its Charset menu uses.

namespace tessaly::formats {

struct BuiltinSetName {
    std::string_view name;  // as written after "builtin:"
    std::string_view title; // the editor's menu entry
    BuiltinCharset set;
};

// In the order of the editor's menu.
std::span<const BuiltinSetName> builtinSetNames();

std::optional<BuiltinCharset> builtinSetNamed(std::string_view name);

// The set as the editor holds it after choosing it over a blank store: codes the set
// does not fill stay blank.
Charset builtinSet(BuiltinCharset set);

} // namespace tessaly::formats
