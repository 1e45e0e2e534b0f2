#include "formats/machines/zx_tape.h"

#include "formats/bytes.h"
#include "formats/machines/machine_colours.h"

#include <array>

namespace tessaly::formats {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int Chars = 23606; // the system variable: 256 bytes below the glyph of code 32
constexpr int ScreenCells = ZxScreenColumns * ZxScreenRows;

// BASIC's keyword tokens.
enum Token : std::uint8_t {
    Code = 0xAF,
    Usr = 0xC0,
    Load = 0xEF,
    Poke = 0xF4,
    Randomize = 0xF9,
    Clear = 0xFD,
};

// One line of a BASIC program as the ROM stores it.
class BasicLine {
  public:
    BasicLine& token(std::uint8_t t) {
        text_.push_back(t);
        return *this;
    }
    BasicLine& then() { return token(':'); }
    BasicLine& emptyString() { return token('"').token('"'); }
    // The digits as typed, then the hidden 5-byte form the ROM reads: 0x0E and a small
    // integer (0, sign 0, the value little-endian, 0).
    BasicLine& number(int value) {
        for (char digit : std::to_string(value))
            text_.push_back(static_cast<std::uint8_t>(digit));
        text_.insert(text_.end(), {0x0E, 0, 0});
        putLe16(text_, static_cast<std::uint32_t>(value));
        text_.push_back(0);
        return *this;
    }
    // The line number big-endian, the length of the rest little-endian, the text, ENTER.
    Bytes bytes(int lineNumber) const {
        Bytes out{static_cast<std::uint8_t>(lineNumber >> 8),
                  static_cast<std::uint8_t>(lineNumber & 0xFF)};
        putLe16(out, static_cast<std::uint32_t>(text_.size() + 1));
        out.insert(out.end(), text_.begin(), text_.end());
        out.push_back(0x0D);
        return out;
    }

  private:
    Bytes text_;
};

// A tape block: its length, the flag (0x00 a header, 0xFF data), the bytes and the XOR of
// the flag and the bytes.
void putBlock(Bytes& tape, std::uint8_t flag, const Bytes& payload) {
    putLe16(tape, static_cast<std::uint32_t>(payload.size() + 2));
    tape.push_back(flag);
    std::uint8_t check = flag;
    for (std::uint8_t b : payload)
        check ^= b;
    tape.insert(tape.end(), payload.begin(), payload.end());
    tape.push_back(check);
}

// A header and its data block. type 0: a program, param1 its autostart line, param2 its
// length (no variables follow); type 3: code, param1 its address, param2 32768.
void putFile(Bytes& tape, std::uint8_t type, std::string_view name, const Bytes& data, int param1,
             int param2) {
    Bytes header{type};
    for (std::size_t i = 0; i < 10; ++i) {
        const char c = i < name.size() ? name[i] : ' ';
        header.push_back(c >= 32 && c < 127 ? static_cast<std::uint8_t>(c) : '?');
    }
    putLe16(header, static_cast<std::uint32_t>(data.size()));
    putLe16(header, static_cast<std::uint32_t>(param1));
    putLe16(header, static_cast<std::uint32_t>(param2));
    putBlock(tape, 0x00, header);
    putBlock(tape, 0xFF, data);
}

constexpr int LineNumber = 10;

// The start of the program's one line: CLEAR address-1: LOAD "" CODE: (the rest follows).
BasicLine loadingLine(int address) {
    BasicLine line;
    line.token(Clear).number(address - 1).then().token(Load).emptyString().token(Code).then();
    return line;
}

// The program of `line`, starting at that line, then the code block.
Bytes loaderTape(std::string_view name, int address, const BasicLine& line, const Bytes& code) {
    const Bytes program = line.bytes(LineNumber);
    Bytes tape;
    putFile(tape, 0, name, program, LineNumber, static_cast<int>(program.size()));
    putFile(tape, 3, name, code, address, 32768);
    return tape;
}

bool blockFits(std::size_t size, int address, std::string& error) {
    if (address >= ZxLowestLoadAddress && address + size <= 0x10000) return true;
    // Built by appending: GCC 12's optimiser warns, wrongly, about "..." + std::string&&.
    error = std::to_string(size) + " bytes from " + std::to_string(address);
    if (address < ZxLowestLoadAddress) {
        error += " start below ";
        error += std::to_string(ZxLowestLoadAddress);
        error += ", where the tape's BASIC and its workspace lie";
    } else {
        error += " run past 65535 (room for ";
        error += std::to_string(0x10000 - address);
        error += ")";
    }
    return false;
}

// The machine code that draws the screen, for loading at `base`; the attributes, the
// codes and the glyphs follow it in the block (hand-assembled; offsets in the comments).
Bytes drawingCode(int base, int border) {
    const int attributes = base + 71;
    const int font = attributes + 2 * ScreenCells;
    // clang-format off
    Bytes code = {
        0x3E, static_cast<std::uint8_t>(border), //  0 ld a,border
        0xD3, 0xFE,                              //  2 out (254),a
        0x21, 0, 0,                              //  4 ld hl,attributes
        0x11, 0x00, 0x58,                        //  7 ld de,0x5800
        0x01, 0x00, 0x03,                        // 10 ld bc,768
        0xED, 0xB0,                              // 13 ldir        ; hl: the codes
        0x11, 0x00, 0x40,                        // 15 ld de,0x4000 ; a cell's top row
        0xE5,                                    // 18 cell: push hl
        0x6E,                                    // 19 ld l,(hl)
        0x26, 0x00,                              // 20 ld h,0
        0x29, 0x29, 0x29,                        // 22 add hl,hl (x3) ; code * 8
        0x01, 0, 0,                              // 25 ld bc,font
        0x09,                                    // 28 add hl,bc
        0x06, 0x08,                              // 29 ld b,8
        0x7E,                                    // 31 row: ld a,(hl)
        0x12,                                    // 32 ld (de),a
        0x23,                                    // 33 inc hl
        0x14,                                    // 34 inc d      ; the next pixel row
        0x10, 0xFA,                              // 35 djnz row
        0x7A,                                    // 37 ld a,d
        0xD6, 0x08,                              // 38 sub 8
        0x57,                                    // 40 ld d,a
        0xE1,                                    // 41 pop hl
        0x23,                                    // 42 inc hl
        0x1C,                                    // 43 inc e      ; the next cell
        0x20, 0xE4,                              // 44 jr nz,cell
        0x7A,                                    // 46 ld a,d     ; a third done
        0xC6, 0x08,                              // 47 add a,8
        0x57,                                    // 49 ld d,a
        0xFE, 0x58,                              // 50 cp 0x58
        0x38, 0xDC,                              // 52 jr c,cell
        0xAF,                                    // 54 up: xor a  ; every half-row
        0xDB, 0xFE,                              // 55 in a,(254)
        0x2F,                                    // 57 cpl
        0xE6, 0x1F,                              // 58 and 31
        0x20, 0xF8,                              // 60 jr nz,up   ; until no key is down
        0xAF,                                    // 62 down: xor a
        0xDB, 0xFE,                              // 63 in a,(254)
        0x2F,                                    // 65 cpl
        0xE6, 0x1F,                              // 66 and 31
        0x28, 0xF8,                              // 68 jr z,down  ; until one is
        0xC9,                                    // 70 ret        ; to BASIC
    };
    // clang-format on
    setLe16(code, 5, static_cast<std::uint32_t>(attributes));
    setLe16(code, 26, static_cast<std::uint32_t>(font));
    return code;
}


} // namespace

bool writeZxSetTape(std::span<const std::uint8_t> rows, int first, int loadAddress,
                    std::string_view name, std::vector<std::uint8_t>& out, std::string& error) {
    if (!blockFits(rows.size(), loadAddress, error)) return false;
    const int chars = loadAddress - first * 8;
    BasicLine line = loadingLine(loadAddress);
    line.token(Poke).number(Chars).token(',').number(chars & 0xFF).then();
    line.token(Poke).number(Chars + 1).token(',').number(chars >> 8);
    out = loaderTape(name, loadAddress, line, Bytes(rows.begin(), rows.end()));
    return true;
}

bool writeZxMapTape(const CodeMap& map, const Charset& font, std::uint8_t attribute,
                    int loadAddress, std::string_view name, std::vector<std::uint8_t>& out,
                    std::string& error) {
    // Outside the map, ink is paper: whatever code is there shows nothing.
    const auto paperOnly = static_cast<std::uint8_t>((attribute & 0x78) | ((attribute >> 3) & 7));
    Bytes block = drawingCode(loadAddress, (attribute >> 3) & 7);
    Bytes codes(ScreenCells, 0);
    for (int row = 0; row < ZxScreenRows; ++row)
        for (int column = 0; column < ZxScreenColumns; ++column) {
            const bool inside = row < map.height && column < map.width;
            block.push_back(inside ? attribute : paperOnly);
            if (inside)
                codes[static_cast<std::size_t>(row * ZxScreenColumns + column)] =
                    map.codes[static_cast<std::size_t>(row * map.width + column)];
        }
    block.insert(block.end(), codes.begin(), codes.end());
    block.insert(block.end(), font.bytes.begin(), font.bytes.end());
    if (!blockFits(block.size(), loadAddress, error)) return false;
    BasicLine line = loadingLine(loadAddress);
    line.token(Randomize).token(Usr).number(loadAddress);
    out = loaderTape(name, loadAddress, line, block);
    return true;
}

} // namespace tessaly::formats
