#pragma once

#include "convert/file_formats.h"
#include "convert/options.h"
#include "formats/machines/machine_orders.h"
#include "formats/sources/asm_source.h"

#include <functional>
#include <optional>
#include <string>

// A conversion as the options ask for it, checked as a whole: the formats of every side,
// the options that apply to them, the defaults filled in.

namespace tessaly::convert {

enum class Mode {
    Set,         // a character set from INPUT to OUTPUT
    Map,         // --map: a screen map from INPUT to OUTPUT, drawn with --font for a picture
    FromPicture, // --from-picture: a picture to a map (OUTPUT) and a set (--font-out), or
                 // with --font a map in that set's codes
    Info,        // --info: facts about INPUT on standard output
};

struct Job {
    Mode mode = Mode::Set;
    FileSide input, output;
    std::optional<FileSide> font, fontOut;
    int first = 0; // the codes written: first .. first + count - 1
    int count = 256;
    bool countGiven = false;     // --count, else to the end of the set (or, for a cut
                                 // picture, as many glyphs as it holds)
    int at = 0;   // reading by place (INPUT, or the --font file): the code of the first glyph
    int skip = 0; // reading by place: glyphs left out at the start of the file
    std::optional<int> firstRow; // --rows: of a font taller than 8 rows
    int pixelSize = 0;           // --size; 0: a bitmap font of one size at its size, any other at 8
    const formats::MachineOrder* order = nullptr; // --order
    int loadAddress = 0x3000;
    bool loadAddressGiven = false;
    formats::AsmSyntax syntax = formats::AsmSyntax::Ca65;
    std::string name;        // of the array, label or font written to OUTPUT
    bool nameGiven = false;  // --name, else from OUTPUT's file name
    std::string fontOutName; // of the set written to --font-out
    int scale = 1;
    bool scaleGiven = false; // --scale; else a picture matched against --font finds its own
    Colour ink = rgb(255, 255, 255);
    Colour paper = rgb(0, 0, 0);
    std::optional<Colour> paperGiven; // reading a picture: the paper, when named
    bool grid = false;
    MapSize map;
    std::optional<formats::PictureCrop> crop; // reading a picture: the part that counts
    int columns = 16;                         // glyphs a row of a set picture
    bool add = false; // --from-picture --font: glyphs the font lacks are added to it
};

// False with the usage error to report.
bool planJob(const Options& options, Job& job, std::string& error);

// A name for OUTPUT's array or label taken from its file name: characters that may not
// stand in a name become '_', and `fallback`_ goes in front when the result still is no
// name the format takes ("font" or "map" for standard output).
std::string nameFromPath(const std::string& path, const std::string& fallback,
                         const std::function<bool(std::string_view)>& allowed);

} // namespace tessaly::convert
