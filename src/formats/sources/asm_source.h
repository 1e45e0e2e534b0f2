#pragma once

#include "charset/charset.h"
#include "formats/raw/map_codes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Assembler source of a set (one line of 8 bytes a glyph, its code in a comment) or of a
// map (its codes row by row), under one label, for the assemblers of the field.

namespace tessaly::formats {

enum class AsmSyntax { Ca65, Acme, Tass64, Xa, Dasm, Z80 };

struct AsmSyntaxName {
    std::string_view name;
    std::string_view assemblers;
    AsmSyntax syntax;
};
std::span<const AsmSyntaxName> asmSyntaxNames();
std::optional<AsmSyntax> asmSyntaxNamed(std::string_view name);

// A label the syntax takes: a letter, then letters, digits and underscores, and not a
// register or instruction name of its processor; one '_' may come first, as in cc65's
// names of C symbols, except for 64tass, where that makes a local label.
bool asmLabelAllowed(std::string_view label, AsmSyntax syntax);

std::vector<std::uint8_t> writeAsmSet(const Charset& set, int first, int count, AsmSyntax syntax,
                                      const std::string& label);
std::vector<std::uint8_t> writeAsmMap(const CodeMap& map, AsmSyntax syntax,
                                      const std::string& label);

} // namespace tessaly::formats
