#include "formats/builtin_set.h"

namespace tessaly::formats {

namespace {

constexpr BuiltinSetName Names[] = {
    {"cga", "IBM PC CGA", BuiltinCharset::Cga},
    {"pc866", "IBM PC 866", BuiltinCharset::Pc866},
    {"zx", "ZX Spectrum", BuiltinCharset::ZxSpectrum},
    {"zx80", "ZX80", BuiltinCharset::Zx80},
    {"ace", "Jupiter Ace", BuiltinCharset::JupiterAce},
    {"c64", "C64 CAPS", BuiltinCharset::C64Caps},
    {"atari", "Atari XL", BuiltinCharset::Atari},
    {"microsha", "Microsha(USSR)", BuiltinCharset::Microsha},
    {"hex", "Hex numbers", BuiltinCharset::Hex},
};

} // namespace

std::span<const BuiltinSetName> builtinSetNames() {
    return Names;
}

std::optional<BuiltinCharset> builtinSetNamed(std::string_view name) {
    for (const BuiltinSetName& n : Names)
        if (n.name == name) return n.set;
    return std::nullopt;
}

Charset builtinSet(BuiltinCharset set) {
    Charset out;
    writeBuiltinCharset(out, set);
    return out;
}

} // namespace tessaly::formats
