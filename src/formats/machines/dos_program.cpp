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
constexpr std::array<std::uint8_t, 0xA8> Code = {
    0xB4, 0x0F,       // 100 mov ah,0Fh        the video mode in use: AL
    0xCD, 0x10,       // 102 int 10h
    0x50,             // 104 push ax            kept for the end
    0x31, 0xC0,       // 105 xor ax,ax          the BIOS's rows less one (0:0484h) and
    0x8E, 0xC0,       // 107 mov es,ax          its glyph height (0:0485h), kept as well
    0x26, 0xA1,       // 109 mov ax,es:[0484h]
    0x84, 0x04,
    0x0E,             // 10D push cs
    0x07,             // 10E pop es
    0x50,             // 10F push ax
    0xB8, 0x03, 0x00, // 110 mov ax,0003h       80x25 colour text
    0xCD, 0x10,       // 113 int 10h
    0xB8, 0x10, 0x11, // 115 mov ax,1110h       load a font and fit the rows to it:
    0xBB, 0x00, 0x08, // 118 mov bx,0800h       8 lines a glyph, block 0 (400 / 8 = 50 rows)
    0xB9, 0x00, 0x01, // 11B mov cx,256         256 codes
    0x31, 0xD2,       // 11E xor dx,dx          from code 0
    0xBD, 0x00, 0x00, // 120 mov bp,FONT        ES:BP (ES = CS in a .com); filled in below
    0xCD, 0x10,       // 123 int 10h
    0xBA, 0xC4, 0x03, // 125 mov dx,3C4h        sequencer
    0xB8, 0x00, 0x01, // 128 mov ax,0100h       reset (index 0 = 1) while the clock changes
    0xEF,             // 12B out dx,ax
    0xB8, 0x01, 0x01, // 12C mov ax,0101h       clocking mode (index 1) = 1: 8-dot cells
    0xEF,             // 12F out dx,ax
    0xB2, 0xCC,       // 130 mov dl,0CCh        miscellaneous output, read
    0xEC,             // 132 in al,dx
    0x24, 0xF3,       // 133 and al,0F3h        clock 0: 25 MHz, as 640 pixels a line need
    0xB2, 0xC2,       // 135 mov dl,0C2h        miscellaneous output, write
    0xEE,             // 137 out dx,al
    0xB2, 0xC4,       // 138 mov dl,0C4h
    0xB8, 0x00, 0x03, // 13A mov ax,0300h       sequencer running again
    0xEF,             // 13D out dx,ax
    0xB2, 0xDA,       // 13E mov dl,0DAh        input status: the attribute controller
    0xEC,             // 140 in al,dx           takes an index next
    0xB2, 0xC0,       // 141 mov dl,0C0h
    0xB0, 0x33,       // 143 mov al,33h         pixel panning (13h), display on (20h)
    0xEE,             // 145 out dx,al
    0xB0, 0x00,       // 146 mov al,0           no shift (mode 3's 8 means none only for
    0xEE,             // 148 out dx,al          9-dot cells)
    0xB4, 0x01,       // 149 mov ah,01h         cursor shape
    0xB9, 0x00, 0x20, // 14B mov cx,2000h       hidden
    0xCD, 0x10,       // 14E int 10h
    0xB8, 0x12, 0x10, // 150 mov ax,1012h       DAC entries from ES:DX
    0x31, 0xDB,       // 153 xor bx,bx          from 0
    0xB9, 0x02, 0x00, // 155 mov cx,2           two: paper, ink
    0xBA, 0x00, 0x00, // 158 mov dx,COLOURS     filled in below
    0xCD, 0x10,       // 15B int 10h
    0xBE, 0x00, 0x00, // 15D mov si,SCREEN      filled in below
    0xB8, 0x00, 0xB8, // 160 mov ax,0B800h      text memory
    0x8E, 0xC0,       // 163 mov es,ax
    0x31, 0xFF,       // 165 xor di,di
    0xB9, 0xA0, 0x0F, // 167 mov cx,4000        80 x 50 cells
    0xFC,             // 16A cld
    0xF3, 0xA5,       // 16B rep movsw
    0x30, 0xE4,       // 16D xor ah,ah          wait for a key
    0xCD, 0x16,       // 16F int 16h
    0x5B,             // 171 pop bx             BL: the rows less one, BH: the height
    0x58,             // 172 pop ax             the mode found
    0x89, 0xC1,       // 173 mov cx,ax
    0x88, 0xD8,       // 175 mov al,bl          rows x height: the scan lines
    0xFE, 0xC0,       // 177 inc al
    0xF6, 0xE7,       // 179 mul bh
    0x53,             // 17B push bx
    0x3D, 0x5E, 0x01, // 17C cmp ax,350         more than 350: the mode's own 400 lines
    0x77, 0x07,       // 17F ja mode
    0xB8, 0x01, 0x12, // 181 mov ax,1201h       350 lines (80x43, EGA's 80x25) for the
    0xB3, 0x30,       // 184 mov bl,30h         mode set next
    0xCD, 0x10,       // 186 int 10h
    0x5B,             // 188 mode: pop bx
    0x89, 0xC8,       // 189 mov ax,cx          set again: its cells and colours
    0x30, 0xE4,       // 18B xor ah,ah
    0xCD, 0x10,       // 18D int 10h
    0x80, 0xF9, 0x03, // 18F cmp cl,3           a colour text mode:
    0x77, 0x13,       // 192 ja done
    0xB8, 0x12, 0x11, // 194 mov ax,1112h       the BIOS font of the height found
    0x80, 0xFF, 0x08, // 197 cmp bh,8           (8: 50 rows of 400 lines, 43 of 350),
    0x74, 0x07,       // 19A je font
    0xB0, 0x11,       // 19C mov al,11h         14 (28 rows), fitting the rows to it;
    0x80, 0xFF, 0x0E, // 19E cmp bh,14          16 is the mode's own
    0x75, 0x04,       // 1A1 jne done
    0x30, 0xDB,       // 1A3 font: xor bl,bl    block 0
    0xCD, 0x10,       // 1A5 int 10h
    0xC3,             // 1A7 done: ret          to the PSP's int 20h: exit
};
// Where the code takes the addresses of its data.
constexpr std::size_t FontOperand = 0x21;
constexpr std::size_t ColoursOperand = 0x59;
constexpr std::size_t ScreenOperand = 0x5E;

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
