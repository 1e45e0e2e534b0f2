#include "formats/machines/dos_program.h"

#include "formats/bytes.h"

#include <algorithm>
#include <array>

namespace tessaly::formats {

namespace {

// The code, loaded at 100h; after it come the two DAC colours (paper, then ink), the
// 2048 bytes of the font and the screen as 80x50 code and attribute pairs.
// Attribute 01h draws ink on paper through DAC entries 1 and 0 (the attribute controller
// maps 0 and 1 to themselves in mode 3), without bit 7, so nothing blinks; the cells
// outside the map take attribute 00h, paper on paper. The border is DAC 0, paper too.
constexpr std::uint16_t Origin = 0x100;
constexpr std::array<std::uint8_t, 0x6C> Code = {
    0xB4, 0x0F,       // 100 mov ah,0Fh        the video mode in use: AL
    0xCD, 0x10,       // 102 int 10h
    0x50,             // 104 push ax            kept for the end
    0xB8, 0x03, 0x00, // 105 mov ax,0003h       80x25 colour text
    0xCD, 0x10,       // 108 int 10h
    0xB8, 0x10, 0x11, // 10A mov ax,1110h       load a font and fit the rows to it:
    0xBB, 0x00, 0x08, // 10D mov bx,0800h       8 lines a glyph, block 0 (400 / 8 = 50 rows)
    0xB9, 0x00, 0x01, // 110 mov cx,256         256 codes
    0x31, 0xD2,       // 113 xor dx,dx          from code 0
    0xBD, 0x00, 0x00, // 115 mov bp,FONT        ES:BP (ES = CS in a .com); filled in below
    0xCD, 0x10,       // 118 int 10h
    0xBA, 0xC4, 0x03, // 11A mov dx,3C4h        sequencer
    0xB8, 0x00, 0x01, // 11D mov ax,0100h       reset (index 0 = 1) while the clock changes
    0xEF,             // 120 out dx,ax
    0xB8, 0x01, 0x01, // 121 mov ax,0101h       clocking mode (index 1) = 1: 8-dot cells
    0xEF,             // 124 out dx,ax
    0xB2, 0xCC,       // 125 mov dl,0CCh        miscellaneous output, read
    0xEC,             // 127 in al,dx
    0x24, 0xF3,       // 128 and al,0F3h        clock 0: 25 MHz, as 640 pixels a line need
    0xB2, 0xC2,       // 12A mov dl,0C2h        miscellaneous output, write
    0xEE,             // 12C out dx,al
    0xB2, 0xC4,       // 12D mov dl,0C4h
    0xB8, 0x00, 0x03, // 12F mov ax,0300h       sequencer running again
    0xEF,             // 132 out dx,ax
    0xB2, 0xDA,       // 133 mov dl,0DAh        input status: the attribute controller
    0xEC,             // 135 in al,dx           takes an index next
    0xB2, 0xC0,       // 136 mov dl,0C0h
    0xB0, 0x33,       // 138 mov al,33h         pixel panning (13h), display on (20h)
    0xEE,             // 13A out dx,al
    0xB0, 0x00,       // 13B mov al,0           no shift (mode 3's 8 means none only for
    0xEE,             // 13D out dx,al          9-dot cells)
    0xB4, 0x01,       // 13E mov ah,01h         cursor shape
    0xB9, 0x00, 0x20, // 140 mov cx,2000h       hidden
    0xCD, 0x10,       // 143 int 10h
    0xB8, 0x12, 0x10, // 145 mov ax,1012h       DAC entries from ES:DX
    0x31, 0xDB,       // 148 xor bx,bx          from 0
    0xB9, 0x02, 0x00, // 14A mov cx,2           two: paper, ink
    0xBA, 0x00, 0x00, // 14D mov dx,COLOURS     filled in below
    0xCD, 0x10,       // 150 int 10h
    0xBE, 0x00, 0x00, // 152 mov si,SCREEN      filled in below
    0xB8, 0x00, 0xB8, // 155 mov ax,0B800h      text memory
    0x8E, 0xC0,       // 158 mov es,ax
    0x31, 0xFF,       // 15A xor di,di
    0xB9, 0xA0, 0x0F, // 15C mov cx,4000        80 x 50 cells
    0xFC,             // 15F cld
    0xF3, 0xA5,       // 160 rep movsw
    0x30, 0xE4,       // 162 xor ah,ah          wait for a key
    0xCD, 0x16,       // 164 int 16h
    0x58,             // 166 pop ax             the mode found
    0x30, 0xE4,       // 167 xor ah,ah          set again: its font, cells and colours
    0xCD, 0x10,       // 169 int 10h
    0xC3,             // 16B ret                to the PSP's int 20h: exit
};
// Where the code takes the addresses of its data.
constexpr std::size_t FontOperand = 0x16;
constexpr std::size_t ColoursOperand = 0x4E;
constexpr std::size_t ScreenOperand = 0x53;

constexpr std::uint8_t InkOnPaper = 0x01;
constexpr std::uint8_t PaperOnly = 0x00;

void putColour(std::vector<std::uint8_t>& out, Colour colour) {
    for (int channel : {redOf(colour), greenOf(colour), blueOf(colour)})
        out.push_back(static_cast<std::uint8_t>(dacLevel(channel)));
}

} // namespace

int dacLevel(int channel) {
    return (channel * 63 + 127) / 255;
}

std::vector<std::uint8_t> writeDosProgram(const Charset& set, const CodeMap& map, Colour ink,
                                          Colour paper) {
    std::vector<std::uint8_t> out(Code.begin(), Code.end());
    setLe16(out, ColoursOperand, static_cast<std::uint32_t>(Origin + out.size()));
    putColour(out, paper);
    putColour(out, ink);
    setLe16(out, FontOperand, static_cast<std::uint32_t>(Origin + out.size()));
    out.insert(out.end(), set.bytes.begin(), set.bytes.end());
    setLe16(out, ScreenOperand, static_cast<std::uint32_t>(Origin + out.size()));
    for (int row = 0; row < DosRows; ++row)
        for (int column = 0; column < DosColumns; ++column) {
            const bool inMap = row < map.height && column < map.width;
            out.push_back(inMap ? map.codes[static_cast<std::size_t>(row * map.width + column)]
                                : 0);
            out.push_back(inMap ? InkOnPaper : PaperOnly);
        }
    return out;
}

} // namespace tessaly::formats
