#include "formats/sources/asm_source.h"

#include "formats/sources/source_text.h"

#include <algorithm>
#include <array>

namespace tessaly::formats {

namespace {

constexpr AsmSyntaxName Names[] = {
    {"ca65", "cc65's ca65", AsmSyntax::Ca65},
    {"acme", "ACME, to include after * = ADDRESS", AsmSyntax::Acme},
    {"64tass", "64tass", AsmSyntax::Tass64},
    {"xa", "xa (xa65)", AsmSyntax::Xa},
    {"dasm", "DASM, to include after processor 6502 and org ADDRESS", AsmSyntax::Dasm},
    {"z80", "pasmo, z80asm", AsmSyntax::Z80},
};

// ACME and DASM assemble nothing without an origin (and DASM a processor), which the
// program that includes the data sets: the file says so at its top.
std::string includeNote(AsmSyntax syntax) {
    if (syntax == AsmSyntax::Acme) return "; include with !source after setting * = ADDRESS\n";
    if (syntax == AsmSyntax::Dasm) return "; include after processor 6502 and org ADDRESS\n";
    return {};
}

// Names the assemblers take as registers or instructions wherever a label may stand.
constexpr std::string_view Reserved6502[] = {
    "a",   "x",   "y",   "adc", "ahx", "alr", "anc", "and", "arr", "asl", "axs", "bbr",
    "bbs", "bcc", "bcs", "beq", "bit", "bmi", "bne", "bpl", "bra", "brk", "bvc", "bvs",
    "clc", "cld", "cli", "clv", "cmp", "cpx", "cpy", "dcp", "dec", "dex", "dey", "eor",
    "inc", "inx", "iny", "isc", "jam", "jmp", "jsr", "kil", "las", "lax", "lda", "ldx",
    "ldy", "lsr", "nop", "ora", "pha", "php", "phx", "phy", "pla", "plp", "plx", "ply",
    "rla", "rmb", "rol", "ror", "rra", "rti", "rts", "sax", "sbc", "sbx", "sec", "sed",
    "sei", "sha", "shx", "shy", "slo", "smb", "sre", "sta", "stp", "stx", "sty", "stz",
    "tas", "tax", "tay", "trb", "tsb", "tsx", "txa", "txs", "tya", "wai", "xaa"};
constexpr std::string_view ReservedZ80[] = {
    "a",      "b",     "c",    "d",      "e",     "h",    "l",    "i",     "r",     "af",
    "bc",     "de",    "hl",   "ix",     "iy",    "sp",   "ixh",  "ixl",   "iyh",   "iyl",
    "nz",     "z",     "nc",   "po",     "pe",    "p",    "m",    "adc",   "add",   "and",
    "bit",    "call",  "ccf",  "cp",     "cpd",   "cpdr", "cpi",  "cpir",  "cpl",   "daa",
    "dec",    "di",    "djnz", "ei",     "ex",    "exx",  "halt", "im",    "in",    "inc",
    "ind",    "indr",  "ini",  "inir",   "jp",    "jr",   "ld",   "ldd",   "lddr",  "ldi",
    "ldir",   "neg",   "nop",  "or",     "otdr",  "otir", "out",  "outd",  "outi",  "pop",
    "push",   "res",   "ret",  "reti",   "retn",  "rl",   "rla",  "rlc",   "rlca",  "rld",
    "rr",     "rra",   "rrc",  "rrca",   "rrd",   "rst",  "sbc",  "scf",   "set",   "sla",
    "sll",    "sra",   "srl",  "sub",    "xor",   "org",  "equ",  "defb",  "defw",  "defs",
    "defm",   "db",    "dw",   "ds",     "dm",    "end",  "if",   "else",  "endif", "include",
    "incbin", "macro", "endm", "public", "extrn", "proc", "endp", "local", "rept",  "irp"};

struct Style {
    std::string_view data; // the byte directive, indented
    bool colon;            // the label takes a colon
};

Style styleOf(AsmSyntax syntax) {
    switch (syntax) {
    case AsmSyntax::Ca65:
        return {".byte", true};
    case AsmSyntax::Acme:
        return {"!byte", false};
    case AsmSyntax::Tass64:
        return {".byte", false};
    case AsmSyntax::Xa:
        return {".byt", false};
    case AsmSyntax::Dasm:
        return {"dc.b", false};
    case AsmSyntax::Z80:
        return {"defb", true};
    }
    return {".byte", true};
}

std::string hex2(int v) {
    static const char digits[] = "0123456789ABCDEF";
    return {'$', digits[(v >> 4) & 15], digits[v & 15]};
}

void beginLabel(std::string& s, AsmSyntax syntax, const std::string& label) {
    if (syntax == AsmSyntax::Ca65) s += ".export " + label + "\n";
    s += label + (styleOf(syntax).colon ? ":\n" : "\n");
}

void dataLine(std::string& s, AsmSyntax syntax, std::span<const std::uint8_t> bytes,
              const std::string& comment) {
    s += "        ";
    s += styleOf(syntax).data;
    s += ' ';
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) s += ',';
        s += hex2(bytes[i]);
    }
    s += " ; " + comment + "\n";
}

} // namespace

std::span<const AsmSyntaxName> asmSyntaxNames() {
    return Names;
}

std::optional<AsmSyntax> asmSyntaxNamed(std::string_view name) {
    for (const AsmSyntaxName& n : Names)
        if (n.name == name) return n.syntax;
    return std::nullopt;
}

bool asmLabelAllowed(std::string_view label, AsmSyntax syntax) {
    // cc65 gives C names a leading '_' (the C array font is _font to the assembler). 64tass
    // takes such a label as a cheap local one, which no other file could reach.
    const bool underscored = label.size() > 1 && label[0] == '_' && syntax != AsmSyntax::Tass64;
    if (!isIdentifier(underscored ? label.substr(1) : label)) return false;
    const std::string lower = lowerCase(label);
    const auto reserved = [&](auto& words) {
        return std::find(std::begin(words), std::end(words), lower) != std::end(words);
    };
    return syntax == AsmSyntax::Z80 ? !reserved(ReservedZ80) : !reserved(Reserved6502);
}

std::vector<std::uint8_t> writeAsmSet(const Charset& set, int first, int count, AsmSyntax syntax,
                                      const std::string& label) {
    std::string s = "; " + setDescription(first, count, "$") + "\n" + includeNote(syntax);
    beginLabel(s, syntax, label);
    for (int code = first; code < first + count; ++code)
        dataLine(s, syntax, glyph(set, code), codeComment(code, "$"));
    return {s.begin(), s.end()};
}

std::vector<std::uint8_t> writeAsmMap(const CodeMap& map, AsmSyntax syntax,
                                      const std::string& label) {
    std::string s = "; " + mapDescription(map) + "\n" + includeNote(syntax);
    beginLabel(s, syntax, label);
    forEachMapLine(map, [&](std::span<const std::uint8_t> codes, const std::string& where) {
        dataLine(s, syntax, codes, where);
    });
    return {s.begin(), s.end()};
}

} // namespace tessaly::formats
