#pragma once

#include "charset/charset.h"
#include "formats/fonts/font_glyphs.h"
#include "formats/machines/machine_orders.h"
#include "formats/raw/map_codes.h"
#include "formats/sources/asm_source.h"
#include "platform/surface.h"

#include <bitset>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The file formats tessaly-convert knows: one row each in formats(), with its names
// (--from, --to), extensions, what it reads and writes, the functions that do it and its
// lines in --help. Everything else asks the rows: the help's table of formats and every
// message that names formats are made from their traits and functions, so a new format is
// its file in formats/ and its row here.

namespace tessaly::convert {

using Bytes = std::vector<std::uint8_t>;

// How the glyphs of a file are read.
struct GlyphReading {
    std::size_t keep = 0;     // sequential files: the glyphs made, the rest only counted
    int pixelSize = 0;        // --size
    std::string_view setName; // a built-in set: its name after "builtin:"
    bool describe = false;    // --info: read what can be described rather than refuse
};

// What a writer takes from the job.
struct Writing {
    std::string name; // of the array, label or font
    int loadAddress = 0x3000;
    formats::AsmSyntax syntax = formats::AsmSyntax::Ca65;
    const formats::MachineOrder* order = nullptr;
    int scale = 1;
    int columns = 16;
    Colour ink = 0, paper = 0;
    bool grid = false;
    const Charset* font = nullptr; // a map picture or DrawsMap: the set it is shown in
    // The codes the set holds: formats that name their codes (BDF, a PSF's Unicode table)
    // name only these; the others write every code, as a glyph's place is its code.
    std::bitset<GlyphCount> held = std::bitset<GlyphCount>{}.set();
    bool loadAddressGiven = false; // else a failure to fit advises an address that fits
};

struct WriteFailure {
    std::string message;
    int exitCode = 1; // 2 when only the options could make it fail
};

enum FormatTrait : unsigned {
    ReadsMap = 1u << 0,      // --map takes it as INPUT
    Picture = 1u << 1,       // a picture of glyphs (read through picture_steps)
    Font = 1u << 2,          // a font with a cell, codes and Unicode of its own: --rows, --order
    Sequential = 1u << 3,    // glyphs by their place in the file, no codes: --at, --skip
    ReadsStart = 1u << 4,    // only the start of a long file counts
    LoadAddress = 1u << 5,   // writes --load-address
    Syntax = 1u << 6,        // writes in an assembler's --syntax
    UnicodeLabels = 1u << 7, // writes each code's character (--order)
    Sized = 1u << 8,         // --size chooses its pixel size
    Descent = 1u << 9,       // --info tells its descent
    TallGlyphs = 1u << 12,   // glyphs of more than 8 rows, as fonts have: --rows
    DrawsMap = 1u << 10,     // a machine's program that shows a map with --font, --ink, --paper
    ShowsSet = 1u << 11,     // DrawsMap that also shows a set written alone, in --ink, --paper
};

// A machine's text screen, in cells: a larger map is cut to it, with a note.
struct ScreenSize {
    int width = 0;
    int height = 0;
};

// Codes first .. first + count - 1.
struct CodeRange {
    int first = 0;
    int count = 0;
};

// The names of the colours a machine shows for --ink and --paper (one name when both
// become the same).
struct ShownColours {
    std::string ink, paper;
};

struct Format {
    std::string_view names = {};      // "ttf otf": by these for --from/--to, the first in messages
    std::string_view extensions = {}; // ".ttf .otf": by these, after an optional ".gz"
    std::string_view prefix = {};     // or by this start ("builtin:")
    unsigned traits = 0;
    ScreenSize screen = {}; // DrawsMap: the machine's screen (none: any size)
    // A set written for a machine's own text: the codes that text is printed in.
    CodeRange printed = {};
    // DrawsMap: the machine's colours for the ink and paper asked for.
    ShownColours (*shownColours)(Colour ink, Colour paper) = nullptr;
    // A font's glyphs (for formats that are no picture); null when nothing is read.
    bool (*readGlyphs)(std::span<const std::uint8_t> bytes, const GlyphReading& how,
                       formats::FontGlyphs& font, std::string& error) = nullptr;
    bool (*writeSet)(const Charset& set, int first, int count, const Writing& how, Bytes& out,
                     WriteFailure& failure) = nullptr;
    bool (*writeMap)(const formats::CodeMap& map, const Writing& how, Bytes& out,
                     WriteFailure& failure) = nullptr;
    // A map of the size the file itself gives (null: --map WxH gives it), with notes for
    // standard error, and the set the file holds as well (an XBin's font) as its glyphs,
    // with the notes it would add, or none and its refusal.
    bool (*readMap)(std::span<const std::uint8_t> bytes, formats::CodeMap& map,
                    formats::FontGlyphs& font, std::vector<std::string>& notes,
                    std::string& error) = nullptr;
    // The names --name may give (null: the format takes no --name), and what a refused one
    // hears after "--name 'NAME' is no ".
    bool (*nameAllowed)(std::string_view name, formats::AsmSyntax syntax) = nullptr;
    std::string_view badName = {};
    std::string_view notWritten = {}; // the error when it is given as OUTPUT and writes nothing
    // Its lines in the help's table of formats, after the names, extensions and "read,
    // write" made from the row: lines of at most 41 characters, split by '\n'; then a list
    // made when the help is.
    std::string_view help = {};
    std::string (*helpList)() = nullptr;
    // The default --load-address of a set written, and of a map (0: a map program that
    // loads where its machine starts it, and takes no --load-address).
    int setLoadAddress = 0x3000, mapLoadAddress = 0x3000;
    // Why a map program written takes no --load-address ("a C64 program ... loads at
    // $0801"); empty: the refusal names the formats that take one.
    std::string_view fixedAddress = {};

    std::string_view name() const { return names.substr(0, names.find(' ')); }
    bool has(FormatTrait trait) const { return (traits & trait) != 0; }
    bool readsSet() const { return readGlyphs != nullptr || has(Picture); }
    bool writesSet() const { return writeSet != nullptr; }
    bool writesMap() const { return writeMap != nullptr; }
    bool builtin() const { return !prefix.empty(); }
    // A file without codes: its glyphs go by their place (--at, --skip).
    bool byPlace() const { return has(Sequential) || has(Picture); }
    // A map written to it is drawn with --font (a picture, or a machine's program).
    bool drawsMap() const { return has(Picture) || has(DrawsMap); }
};

std::span<const Format> formats();

// One side of a conversion: a file (or "-") and its format; `gzip` when it is (to be)
// packed with gzip, from a ".gz" ending.
struct FileSide {
    std::string path;
    const Format* format = nullptr;
    bool gzip = false;
    bool stream() const { return path == "-"; }
    bool is(FormatTrait trait) const { return format && format->has(trait); }
    // A built-in set: its name after the prefix.
    std::string_view setName() const {
        return std::string_view(path).substr(format->prefix.size());
    }
};

// The words of a list of names or extensions.
std::vector<std::string_view> wordsOf(std::string_view list);

// By --from / --to name; null for no format (built-in sets have none).
const Format* formatNamed(std::string_view name);
// By the prefix or the extension (case does not matter), after a ".gz" ending; `gzip`
// tells about it. Null when neither says.
const Format* formatOfPath(std::string_view path, bool& gzip);
// The file name without folders and without its extensions as formatOfPath reads them.
std::string fileStem(std::string_view path);

// "\n                    NAME      TEXT": a line of a list in the help, after the line
// before it.
std::string helpListLine(std::string_view name, std::string_view text);

// The formats `which` picks, by their names as messages list them: "raw, prg or psf"
// (`last` before the last one); a built-in set is "builtin:NAME".
std::string formatNames(bool (*which)(const Format&), std::string_view last = "or");

// The help's table of formats: a row's names, extensions, what it reads and writes, then
// its own lines.
std::string formatTable();

} // namespace tessaly::convert
