#include "formats/machines/msx_cartridge.h"

#include "formats/machines/machine_colours.h"

#include <algorithm>
#include <span>

namespace tessaly::formats {

namespace {

// The ROM at $4000-$7FFF: the header and the code, then the tables the code copies.
constexpr int Origin = 0x4000, RomSize = 0x4000;
constexpr int Patterns = Origin + MsxSetSkip * GlyphBytes; // 2048 bytes
constexpr int Names = Patterns + 0x800;                    // 768 bytes
constexpr int Colours = Names + MsxColumns * MsxRows;      // 32 bytes
constexpr int Init = Origin + 0x10, Registers = 0x405B;    // the code's start, its table

// The VRAM tables of Graphic 1 where BASIC's SCREEN 1 puts them.
constexpr int VramPatterns = 0x0000, VramNames = 0x1800, VramColours = 0x2000;
constexpr int VramSprites = 0x1B00; // the sprite attributes: $D0 first ends the list

// The MSX BIOS entry points used (C-BIOS has them too); the VDP is reached only through them.
constexpr int Disscr = 0x0041; // display off
constexpr int Enascr = 0x0044; // display on
constexpr int Wrtvdp = 0x0047; // VDP register C = B
constexpr int Wrtvrm = 0x004D; // VRAM (HL) = A
constexpr int Ldirvm = 0x005C; // BC bytes from (HL) to VRAM DE
constexpr int Chget = 0x009F;  // waits for a key
constexpr int Kilbuf = 0x0156; // empties the key buffer

constexpr std::uint8_t lo(int word) {
    return static_cast<std::uint8_t>(word & 0xFF);
}
constexpr std::uint8_t hi(int word) {
    return static_cast<std::uint8_t>(word >> 8);
}

// The byte tables keep one instruction a line.
// clang-format off

// The header: "AB", INIT, then no STATEMENT, DEVICE or TEXT, and six reserved bytes.
constexpr std::uint8_t Header[Init - Origin] = {'A', 'B', lo(Init), hi(Init)};

// From $4010, hand-assembled; the VDP's registers follow the code.
constexpr std::uint8_t Code[] = {
    0xCD, lo(Disscr), hi(Disscr),             // 4010 call DISSCR
    0x21, lo(Registers), hi(Registers),       // 4013 ld hl,registers
    0x0E, 0x00,                               // 4016 ld c,0
    0x46,                                     // 4018 next: ld b,(hl)
    0xC5,                                     // 4019 push bc    WRTVDP changes BC
    0xCD, lo(Wrtvdp), hi(Wrtvdp),             // 401A call WRTVDP
    0xC1,                                     // 401D pop bc
    0x23,                                     // 401E inc hl
    0x0C,                                     // 401F inc c
    0x79,                                     // 4020 ld a,c
    0xFE, 0x08,                               // 4021 cp 8
    0x20, 0xF3,                               // 4023 jr nz,next
    0x21, lo(Patterns), hi(Patterns),         // 4025 ld hl,patterns
    0x11, lo(VramPatterns), hi(VramPatterns), // 4028 ld de,0000h
    0x01, 0x00, 0x08,                         // 402B ld bc,2048
    0xCD, lo(Ldirvm), hi(Ldirvm),             // 402E call LDIRVM
    0x21, lo(Names), hi(Names),               // 4031 ld hl,names
    0x11, lo(VramNames), hi(VramNames),       // 4034 ld de,1800h
    0x01, 0x00, 0x03,                         // 4037 ld bc,768
    0xCD, lo(Ldirvm), hi(Ldirvm),             // 403A call LDIRVM
    0x21, lo(Colours), hi(Colours),           // 403D ld hl,colours
    0x11, lo(VramColours), hi(VramColours),   // 4040 ld de,2000h
    0x01, 0x20, 0x00,                         // 4043 ld bc,32
    0xCD, lo(Ldirvm), hi(Ldirvm),             // 4046 call LDIRVM
    0x21, lo(VramSprites), hi(VramSprites),   // 4049 ld hl,1B00h
    0x3E, 0xD0,                               // 404C ld a,0D0h  no sprites
    0xCD, lo(Wrtvrm), hi(Wrtvrm),             // 404E call WRTVRM
    0xCD, lo(Enascr), hi(Enascr),             // 4051 call ENASCR
    0xCD, lo(Kilbuf), hi(Kilbuf),             // 4054 call KILBUF  no key pressed before counts
    0xCD, lo(Chget), hi(Chget),               // 4057 call CHGET
    0xC9,                                     // 405A ret        to the BIOS, then BASIC
    // 405B registers: Graphic 1; 16K, interrupts on and the display off until ENASCR;
    // the names at 1800h, the colours at 2000h, the patterns at 0000h, the sprite
    // attributes at 1B00h and their patterns at 3800h; the backdrop (filled in).
    0x00, 0xA0, VramNames / 0x400, VramColours / 0x40, VramPatterns / 0x800,
    VramSprites / 0x80, 0x07, 0x00,
};

// clang-format on

constexpr std::size_t BackdropValue = sizeof Code - 1;

static_assert(Init + sizeof Code - 8 == Registers && Init + sizeof Code <= Patterns);

std::size_t at(int address) {
    return static_cast<std::size_t>(address - Origin);
}

} // namespace

int msxColour(Colour colour) {
    return 1 + nearestColour(colour, std::span(Tms9918Palette).subspan(1));
}

std::vector<std::uint8_t> writeMsxCartridge(const Charset& set, const CodeMap& map, int ink,
                                            int paper) {
    std::vector<std::uint8_t> rom(RomSize, 0xFF);
    std::copy(std::begin(Header), std::end(Header), rom.begin());
    std::copy(std::begin(Code), std::end(Code), rom.begin() + sizeof Header);
    rom[sizeof Header + BackdropValue] = static_cast<std::uint8_t>(paper & 15);
    std::copy(set.bytes.begin(), set.bytes.end(), rom.begin() + at(Patterns));

    const std::size_t names = at(Names);
    std::fill_n(rom.begin() + names, MsxColumns * MsxRows, 32);
    for (int y = 0; y < std::min(map.height, MsxRows); ++y)
        for (int x = 0; x < std::min(map.width, MsxColumns); ++x)
            rom[names + static_cast<std::size_t>(y * MsxColumns + x)] =
                map.codes[static_cast<std::size_t>(y * map.width + x)];
    // One ink and paper pair for each eight codes.
    std::fill_n(rom.begin() + at(Colours), GlyphCount / 8, (ink & 15) << 4 | (paper & 15));
    return rom;
}

} // namespace tessaly::formats
