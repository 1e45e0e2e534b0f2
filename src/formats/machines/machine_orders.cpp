#include "formats/machines/machine_orders.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace tessaly::formats {
namespace {

// Characters of consecutive codes from `first`.
struct Run {
    int first;
    std::u32string_view chars;
};

constexpr std::u32string_view Ascii =
    U" !\"#$%&'()*+,-./"
    U"0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

// What the PC draws for the control codes 01-1F and for 7F.
constexpr std::u32string_view PcControlPictures = U"☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼";
constexpr std::u32string_view PcHouse = U"⌂";

// A code that the machine shows as the reversed glyph of code - `distance`, for the
// codes from `first` up to `last`.
struct Reversed {
    int first = 0, last = -1, distance = 0;
};

constexpr MachineOrder order(std::string_view name, std::string_view title,
                             std::initializer_list<Run> runs, Reversed reversed = {}) {
    MachineOrder result{name, title, {}, {}};
    result.inverseOf.fill(-1);
    for (const Run& run : runs)
        for (std::size_t i = 0; i < run.chars.size() && run.first + i < 256; ++i)
            result.unicode[run.first + i] = run.chars[i];
    for (int code = reversed.first; code <= reversed.last; ++code)
        result.inverseOf[code] = static_cast<std::int16_t>(code - reversed.distance);
    return result;
}

// The Jupiter Ace's block graphics 01-07, repeated at 09, 11 and 19: it never lights the
// bottom left quadrant.
constexpr std::u32string_view AceBlocks = U"▝▘▀▗▐▚▜";

constexpr std::array<MachineOrder, 9> Orders = {
    order("cga", "IBM PC code page 437",
          {{0x01, PcControlPictures},
           {0x20, Ascii},
           {0x7F, PcHouse},
           {0x80, U"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔"
                  U"╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0"}}),
    order("pc866", "IBM PC code page 866",
          {{0x01, PcControlPictures},
           {0x20, Ascii},
           {0x7F, PcHouse},
           {0x80, U"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмноп░▒▓│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔"
                  U"╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀рстуфхцчшщъыьэюяЁёЄєЇїЎў°∙·√№¤■\u00A0"}}),
    // Screen codes of the upper-case and graphics set; 80-FF are the reversed 00-7F.
    order("c64", "Commodore 64 screen codes, upper case and graphics",
          {{0x00, U"@ABCDEFGHIJKLMNOPQRSTUVWXYZ[£]↑←"},
           {0x20, Ascii.substr(0, 32)},
           {0x40, U"─♠\U0001FB72\U0001FB78\U0001FB77\U0001FB76\U0001FB7A\U0001FB71\U0001FB74╮╰╯"
                  U"\U0001FB7C╲╱\U0001FB7D\U0001FB7E●\U0001FB7B♥\U0001FB70╭╳○♣\U0001FB75♦┼"
                  U"\U0001FB8C│π◥"},
           {0x60, U"\u00A0▌▄▔▁▏▒▕\U0001FB8F◤\U0001FB87├▗└┐▂┌┴┬┤▎▍\U0001FB88\U0001FB82\U0001FB83▃"
                  U"\U0001FB7F▖▝┘▘▚"}},
          {0x80, 0xFF, 0x80}),
    // Internal codes (as in screen memory): ATASCII 20-5F, 00-1F, 60-7F; 80-FF reversed.
    order("atari", "Atari XL internal codes",
          {{0x00, Ascii.substr(0, 64)},
           {0x40, U"♥├\U0001FB87┘┤┐╱╲◢▗◣▝▘\U0001FB82▂▖♣┌─┼●▄▎┬┴▌└␛↑↓←→"},
           {0x60, U"♦abcdefghijklmnopqrstuvwxyz♠|\U0001F8B0◀▶"}},
          {0x80, 0xFF, 0x80}),
    order("zx", "ZX Spectrum",
          {{0x20, Ascii},
           {0x5E, U"↑"},
           {0x60, U"£"},
           {0x7F, U"©"},
           {0x80, U"\u00A0▝▘▀▗▐▚▜▖▞▌▛▄▟▙█"}}),
    // The ZX80's own codes 00-3F; it shows code + 80 (bit 7 set) reversed. (The built-in
    // set, as the ROM's table, holds the reversed glyphs at 40-7F instead.)
    order("zx80", "Sinclair ZX80",
          {{0x00, U" \"▌▄▘▝▖▗▞▒\U0001FB8F\U0001FB8E£$:?()-+*/=><;,.0123456789"
                  U"ABCDEFGHIJKLMNOPQRSTUVWXYZ"}},
          {0x80, 0xBF, 0x80}),
    // Block graphics 00-1F (blank where the Ace leaves out a quadrant), ASCII with ↑, £
    // and ©; 80-FF reversed.
    order("ace", "Jupiter Ace",
          {{0x01, AceBlocks},
           {0x09, AceBlocks},
           {0x11, AceBlocks},
           {0x19, AceBlocks},
           {0x20, Ascii},
           {0x5E, U"↑"},
           {0x60, U"£"},
           {0x7F, U"©"}},
          {0x80, 0xFF, 0x80}),
    // KOI-7 N2: ASCII with ¤ for $ and the Cyrillic capitals at 60-7F; a few graphics
    // below 20; 80-FF reversed in the built-in set.
    order("microsha", "Microsha (KOI-7 N2)",
          {{0x01, U"▘▝▀▗▚▐▜"},
           {0x0B, U"↑"},
           {0x0F, U"↓"},
           {0x10, U"▖▌▞▛▄▙▟█"},
           {0x1B, U"│─"},
           {0x20, Ascii.substr(0, 64)},
           {0x24, U"¤"},
           {0x60, U"ЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧЪ"}},
          {0x80, 0xFF, 0x80}),
    order("latin1", "ISO 8859-1",
          {{0x20, Ascii},
           {0xA0, U"\u00A0¡¢£¤¥¦§¨©ª«¬\u00AD®¯°±²³´µ¶·¸¹º»¼½¾¿ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß"
                  U"àáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ"}}),
};

} // namespace

std::span<const MachineOrder> machineOrders() {
    return Orders;
}

const MachineOrder* machineOrderNamed(std::string_view name) {
    const auto it = std::find_if(Orders.begin(), Orders.end(),
                                 [&](const MachineOrder& o) { return o.name == name; });
    return it == Orders.end() ? nullptr : &*it;
}

} // namespace tessaly::formats
