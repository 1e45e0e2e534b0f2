#include "formats/machines/c64_program.h"

#include "formats/bytes.h"

#include <algorithm>

namespace tessaly::formats {

namespace {

constexpr int LoadAddress = 0x0801;
constexpr int SetPage = 0x09, ScreenPage = 0x11, ColourPage = 0x15; // the data in the file
constexpr int EndPage = 0x19;

// The byte tables keep one instruction a line.
// clang-format off

// 10 SYS 2061
constexpr std::uint8_t Basic[] = {
    0x0B, 0x08,                   // the next line at $080B
    0x0A, 0x00,                   // line 10
    0x9E, '2', '0', '6', '1', 0,  // SYS 2061 ($080D)
    0x00, 0x00,                   // no next line
};

// From $080D. The copy subroutine at $084A copies A pages from page X to page Y through
// the zero-page pointers $FB/$FC and $FD/$FE, which BASIC leaves to programs.
constexpr std::uint8_t Code[] = {
    0xA9, 0x80,       // LDA #$80      Shift+Commodore may not switch the set
    0x8D, 0x91, 0x02, // STA $0291
    0xAD, 0x00, 0xDD, // LDA $DD00     VIC bank 0, $0000-$3FFF
    0x09, 0x03,       // ORA #$03
    0x8D, 0x00, 0xDD, // STA $DD00
    0xA9, 0x18,       // LDA #$18      screen at $0400, set at $2000
    0x8D, 0x18, 0xD0, // STA $D018
    0xA9, 0x00,       // LDA #paper
    0x8D, 0x20, 0xD0, // STA $D020     border
    0x8D, 0x21, 0xD0, // STA $D021     background
    0xA2, SetPage,    // LDX #>set
    0xA0, 0x20,       // LDY #$20
    0xA9, 0x08,       // LDA #8        2048 bytes
    0x20, 0x4A, 0x08, // JSR copy
    0xA2, ScreenPage, // LDX #>screen
    0xA0, 0x04,       // LDY #$04
    0xA9, 0x04,       // LDA #4
    0x20, 0x4A, 0x08, // JSR copy
    0xA2, ColourPage, // LDX #>colours
    0xA0, 0xD8,       // LDY #$D8      colour RAM
    0xA9, 0x04,       // LDA #4
    0x20, 0x4A, 0x08, // JSR copy
    0x20, 0xE4, 0xFF, // wait: JSR GETIN
    0xF0, 0xFB,       // BEQ wait
    0x4C, 0x81, 0xFF, // JMP CINT      BASIC's screen and colours back, then READY.
    0x86, 0xFC,       // copy: STX $FC
    0x84, 0xFE,       // STY $FE
    0xAA,             // TAX
    0xA0, 0x00,       // LDY #0
    0x84, 0xFB,       // STY $FB
    0x84, 0xFD,       // STY $FD
    0xB1, 0xFB,       // loop: LDA ($FB),Y
    0x91, 0xFD,       // STA ($FD),Y
    0xC8,             // INY
    0xD0, 0xF9,       // BNE loop
    0xE6, 0xFC,       // INC $FC
    0xE6, 0xFE,       // INC $FE
    0xCA,             // DEX
    0xD0, 0xF2,       // BNE loop
    0x60,             // RTS
};

// clang-format on

constexpr std::size_t PaperOperand = 19; // in Code: LDA #paper

static_assert(LoadAddress + sizeof Basic + sizeof Code <= SetPage * 0x100);

// The file's byte at `address`, after its two-byte load address.
std::size_t at(int address) {
    return static_cast<std::size_t>(address - LoadAddress + 2);
}

} // namespace

std::vector<std::uint8_t> writeC64Program(const Charset& set, const CodeMap& map, int ink,
                                          int paper) {
    std::vector<std::uint8_t> out(at(EndPage * 0x100), 0);
    setLe16(out, 0, LoadAddress);
    std::copy(std::begin(Basic), std::end(Basic), out.begin() + 2);
    std::copy(std::begin(Code), std::end(Code), out.begin() + at(0x080D));
    out[at(0x080D) + PaperOperand] = static_cast<std::uint8_t>(paper & 15);
    std::copy(set.bytes.begin(), set.bytes.end(), out.begin() + at(SetPage * 0x100));

    const std::size_t screen = at(ScreenPage * 0x100), colours = at(ColourPage * 0x100);
    std::fill_n(out.begin() + screen, C64Columns * C64Rows, 32);
    std::fill_n(out.begin() + colours, C64Columns * C64Rows, paper & 15);
    for (int y = 0; y < std::min(map.height, C64Rows); ++y)
        for (int x = 0; x < std::min(map.width, C64Columns); ++x) {
            const std::size_t cell = static_cast<std::size_t>(y * C64Columns + x);
            out[screen + cell] = map.codes[static_cast<std::size_t>(y * map.width + x)];
            out[colours + cell] = static_cast<std::uint8_t>(ink & 15);
        }
    return out;
}

} // namespace tessaly::formats
