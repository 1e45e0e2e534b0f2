#include "convert/conversion.h"

#include "convert/picture_steps.h"
#include "formats/fonts/builtin_set.h"
#include "formats/fonts/font_layout.h"
#include "formats/fonts/gzip.h"

#include <algorithm>
#include <bitset>
#include <cctype>
#include <cstring>
#include <unordered_set>

namespace tessaly::convert {

namespace {

// Collects the outcome: the first failure ends the conversion.
struct Run {
    Outcome outcome;

    bool fail(const std::string& file, const std::string& error, int code = 1) {
        outcome.exitCode = code;
        outcome.errorFile = file;
        outcome.error = error;
        return false;
    }
    bool step(bool ok, const std::string& file, const std::string& error, int code = 1) {
        return ok || fail(file, error, code);
    }
};

std::string displayName(const FileSide& side) {
    return side.stream() ? "standard input" : side.path;
}

std::string plural(std::size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// The bytes of a side, unpacked when it is gzip: by its name, or by its first bytes for
// formats that could never start with them.
bool unpacked(Run& run, const FileSide& side, const InputBytes& in, Bytes& bytes) {
    const std::string file = displayName(side);
    const bool prefixOnly = side.is(ReadsStart);
    const bool sniff = side.is(Font);
    const bool gzip = side.gzip || (sniff && formats::isGzip(in.bytes));
    if (in.cut && (gzip || !prefixOnly))
        return run.fail(file,
                        "the file is larger than " + std::to_string(InputLimit >> 20) + " MiB");
    if (!gzip) {
        bytes = in.bytes;
        return true;
    }
    std::string error;
    if (!formats::gunzip(in.bytes, InputLimit, bytes, error)) return run.fail(file, error);
    return true;
}

// How the job reads a picture.
PictureInput pictureInput(const Job& job) {
    return {job.paperGiven, job.crop, job.columns};
}

// How a set file is read: where glyphs without codes go, and for fonts their rows and
// order.
struct ReadPlan {
    int at = 0, skip = 0;
    std::optional<int> firstRow;
    int pixelSize = 0;
    const formats::MachineOrder* order = nullptr;
    PictureInput picture;
    bool describe = false; // --info
};

ReadPlan readPlanOf(const Job& job) {
    return {job.at,
            job.skip,
            job.firstRow,
            job.pixelSize,
            job.input.is(Font) ? job.order : nullptr,
            pictureInput(job)};
}

// How the --font file is read: placed by --at and --skip, or a font's by --order, and
// --rows and --size for a font.
ReadPlan fontPlanOf(const Job& job) {
    ReadPlan plan;
    plan.at = job.at;
    plan.skip = job.skip;
    plan.firstRow = job.firstRow;
    plan.pixelSize = job.pixelSize;
    plan.order = job.font && job.font->is(Font) ? job.order : nullptr;
    return plan;
}

// The glyphs of a file that is no picture, as its reader finds them.
bool readGlyphs(Run& run, const FileSide& side, const Bytes& bytes, const ReadPlan& plan,
                formats::FontGlyphs& font) {
    const std::string file = displayName(side);
    if (!side.format->readGlyphs)
        return run.fail(file, "no character set can be read from this format", 2);
    // Raw and prg files may be long: only the glyphs that can reach the set are made.
    const GlyphReading how{static_cast<std::size_t>(plan.skip) + GlyphCount, plan.pixelSize,
                           side.setName(), plan.describe};
    std::string error;
    return run.step(side.format->readGlyphs(bytes, how, font, error), file, error);
}

// The codes from..from+count-1.
std::bitset<GlyphCount> codeRun(int from, int count) {
    std::bitset<GlyphCount> codes;
    for (int code = from; code < from + count && code < GlyphCount; ++code)
        codes.set(static_cast<std::size_t>(code));
    return codes;
}

// A word of a command line as a shell takes it: quoted when it holds more than letters,
// digits and -_./:+,=.
std::string shellWord(const std::string& word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("-_./:+,=", c);
    });
    if (plain) return word;
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The command line that does the job, for advice: the options that are not at their
// defaults in one order, then INPUT and OUTPUT, each file's format named where its name
// does not tell it; every word as a shell takes it.
std::string commandOf(const Job& job) {
    std::string line = "tessaly-convert";
    const auto option = [&line](const char* name, const std::string& value) {
        line += std::string(" ") + name + " " + shellWord(value);
    };
    const auto number = [](int n) { return std::to_string(n); };
    const auto told = [](const FileSide& side) {
        bool gzip = false;
        return formatOfPath(side.path, gzip) == side.format;
    };
    // A --font or --font-out file names its format in front.
    const auto named = [&told](const FileSide& side) {
        return told(side) ? side.path : std::string(side.format->name()) + ":" + side.path;
    };
    const Format& out = *job.output.format;
    if (job.mode == Mode::FromPicture) line += " --from-picture";
    if (job.firstRow) option("--rows", number(*job.firstRow));
    if (job.fontOut) option("--font-out", named(*job.fontOut));
    if (job.map.width > 0) option("--map", number(job.map.width) + "x" + number(job.map.height));
    if (!told(job.input)) option("--from", std::string(job.input.format->name()));
    if (job.skip) option("--skip", number(job.skip));
    if (job.at) option("--at", number(job.at));
    if (job.first) option("--first", number(job.first));
    if (job.countGiven) option("--count", number(job.count));
    if (job.loadAddress != (job.mode == Mode::Set ? out.setLoadAddress : out.mapLoadAddress))
        option("--load-address", number(job.loadAddress));
    if (job.pixelSize) option("--size", number(job.pixelSize));
    if (job.order) option("--order", std::string(job.order->name));
    if (job.syntax != formats::AsmSyntax::Ca65)
        for (const formats::AsmSyntaxName& syntax : formats::asmSyntaxNames())
            if (syntax.syntax == job.syntax) option("--syntax", std::string(syntax.name));
    if (job.nameGiven) option("--name", job.name);
    if (job.scaleGiven) option("--scale", number(job.scale));
    if (job.ink != rgb(255, 255, 255)) option("--ink", colourText(job.ink));
    if (job.paperGiven) option("--paper", colourText(*job.paperGiven));
    if (job.grid) line += " --grid";
    if (job.font) option("--font", named(*job.font));
    if (job.add) line += " --add";
    if (const auto& c = job.crop)
        option("--crop", number(c->x) + "," + number(c->y) + "," + number(c->width) + "x" +
                             number(c->height));
    if (job.columns != 16) option("--columns", number(job.columns));
    // Appended piece by piece: GCC 12 warns wrongly about `" " + word` here.
    (line += ' ') += shellWord(job.input.path);
    if (!told(job.output)) option("--to", std::string(out.name()));
    return (line += ' ') += shellWord(job.output.path);
}

// The set a font's glyphs make laid out by the plan; `held` tells the codes it fills:
// those its glyphs went to, or a built-in set's.
bool laidOut(Run& run, const FileSide& side, const formats::FontGlyphs& font, const ReadPlan& plan,
             Charset& set, std::bitset<GlyphCount>* held) {
    formats::LaidOutFont laid;
    std::string error;
    if (!formats::layOutFont(font, {plan.firstRow, plan.at, plan.skip, plan.order}, laid, error))
        return run.fail(displayName(side), error);
    for (const std::string& note : laid.notes)
        run.outcome.notes.push_back(displayName(side) + ": " + note);
    set = laid.set;
    if (held)
        *held = side.format->builtin()
                    ? formats::builtinSetCodes(*formats::builtinSetNamed(side.setName()))
                    : laid.present;
    return true;
}

// The set of a file; `held` as for laidOut, or for a picture the codes its glyphs went to.
bool readSet(Run& run, const FileSide& side, const InputBytes& in, const ReadPlan& plan,
             Charset& set, std::bitset<GlyphCount>* held = nullptr) {
    const std::string file = displayName(side);
    set = Charset{};
    std::bitset<GlyphCount> codes;
    Bytes bytes;
    if (!side.format->builtin() && !unpacked(run, side, in, bytes)) return false;
    if (side.is(Picture)) {
        std::vector<std::string> notes;
        std::string error;
        if (!run.step(readPictureSet(bytes, plan.picture, plan.at, set, codes, notes, error), file,
                      error))
            return false;
        if (held) *held = codes;
        for (const std::string& note : notes)
            run.outcome.notes.push_back(file + ": " + note);
        return true;
    }
    formats::FontGlyphs font;
    return readGlyphs(run, side, bytes, plan, font) && laidOut(run, side, font, plan, set, held);
}

// What the writers take from the job, with `name` for the side written.
Writing writingOf(const Job& job, const std::string& name, const Charset* font) {
    Writing how{name,        job.loadAddress, job.syntax, job.order, job.scale,
                job.columns, job.ink,         job.paper,  job.grid,  font};
    how.loadAddressGiven = job.loadAddressGiven;
    return how;
}

bool written(Run& run, const FileSide& side, bool ok, const WriteFailure& failure, Bytes& out) {
    if (!ok) return run.fail(side.path, failure.message, failure.exitCode);
    if (side.gzip) out = formats::gzip(out);
    return true;
}

// A command that reads the set by place from code `at`, and what it does: the conversion
// again, or for a --font file, the file placed into a raw set to draw with.
std::string placedCommand(const Job& job, const FileSide& set, int at) {
    const bool font = job.font && &set == &*job.font;
    Job placed = font ? Job{} : job;
    if (font) {
        placed.input = set;
        placed.output = {fileStem(set.path) + "-at" + std::to_string(at) + ".fnt",
                         formatNamed("raw")};
        placed.skip = job.skip;
    }
    placed.at = at;
    return commandOf(placed) + "` places them from code " + std::to_string(at) +
           (font ? ", to draw with --font " + shellWord(placed.output.path) : "");
}

// The codes a machine or a picture shows (`used`) must hold glyphs of the set it draws
// with (`held`): those that hold none show blank, which a note names, with the --at that
// puts the glyphs of a file read by place on them; when none of them holds a glyph,
// nothing would show, and the conversion is refused. `what` says what uses the codes.
bool glyphsShown(Run& run, const Job& job, const FileSide& set, const std::bitset<GlyphCount>& used,
                 const std::bitset<GlyphCount>& held, const std::string& what) {
    const std::bitset<GlyphCount> blank = used & ~held;
    if (blank.none() || held.none()) return true;
    std::string text = displayName(set) + " holds no glyph for ";
    const auto codes = [](const std::bitset<GlyphCount>& c) {
        return (c.count() == 1 ? "code " : "codes ") + formats::codeRanges(c);
    };
    text += blank == used ? (used.count() == 1 ? "" : "any of ") + codes(used) + ", which " + what +
                                ": nothing would show"
                          : codes(blank) + ", which " + what + ": they show blank";
    // A file read by place holds a run of codes: the run moved to the lowest code used
    // may cover more of them.
    const bool placeable = (job.font && &set == &*job.font) || job.mode == Mode::Set;
    if (placeable && (set.is(Sequential) || set.is(Picture))) {
        int lowestUsed = 0, lowestHeld = 0;
        while (!used.test(static_cast<std::size_t>(lowestUsed)))
            ++lowestUsed;
        while (!held.test(static_cast<std::size_t>(lowestHeld)))
            ++lowestHeld;
        const std::bitset<GlyphCount> moved = held >> lowestHeld << lowestUsed;
        if ((used & ~moved).count() < blank.count())
            text += "; its " + plural(held.count(), "glyph") + " are at codes " +
                    formats::codeRanges(held) + ", and `" + placedCommand(job, set, lowestUsed);
    }
    if (blank != used) {
        run.outcome.notes.push_back(text);
        return true;
    }
    // Only --at and --skip can have put the glyphs elsewhere: a usage error.
    return run.fail("", text, &set == &job.input && (job.at || job.skip) ? 2 : 1);
}

bool writeSet(Run& run, const Job& job, const FileSide& side, const std::string& name,
              const Charset& set, const std::bitset<GlyphCount>& held, int first, int count,
              Bytes& out) {
    if (!side.format->writeSet)
        return run.fail(side.path, "no character set can be written in this format", 2);
    const CodeRange printed = side.format->printed;
    if (printed.count > 0 &&
        !glyphsShown(run, job, job.input, codeRun(printed.first, printed.count), held,
                     "the text of " + displayName(side) + " is printed in"))
        return false;
    WriteFailure failure;
    Writing how = writingOf(job, name, nullptr);
    how.held = held;
    return written(run, side, side.format->writeSet(set, first, count, how, out, failure), failure,
                   out);
}

// The top-left cells of a map that fit a machine's screen.
formats::CodeMap cutToScreen(const formats::CodeMap& map, ScreenSize screen) {
    formats::CodeMap cut{
        std::min(map.width, screen.width), std::min(map.height, screen.height), {}};
    for (int row = 0; row < cut.height; ++row) {
        const auto start = map.codes.begin() + static_cast<std::ptrdiff_t>(row * map.width);
        cut.codes.insert(cut.codes.end(), start, start + cut.width);
    }
    return cut;
}

bool writeMap(Run& run, const Job& job, const formats::CodeMap& map, const Writing& how,
              Bytes& out) {
    const FileSide& side = job.output;
    if (!side.format->writeMap)
        return run.fail(side.path, "no screen map can be written in this format", 2);
    const ScreenSize screen = side.format->screen;
    // A screen of 0 cells (an XBin) takes any map.
    const bool cut = side.is(DrawsMap) && screen.width > 0 &&
                     (map.width > screen.width || map.height > screen.height);
    if (cut)
        run.outcome.notes.push_back(displayName(side) + ": the map of " +
                                    std::to_string(map.width) + " x " + std::to_string(map.height) +
                                    " is cut to the screen's " + std::to_string(screen.width) +
                                    " x " + std::to_string(screen.height) + " cells");
    const formats::CodeMap shown = cut ? cutToScreen(map, screen) : map;
    if (how.font && job.font) {
        std::bitset<GlyphCount> used;
        for (std::uint8_t code : shown.codes)
            used.set(code);
        if (!glyphsShown(run, job, *job.font, used, how.held, "the map uses")) return false;
    }
    if (side.format->shownColours) {
        const ShownColours colours = side.format->shownColours(how.ink, how.paper);
        if (colours.ink == colours.paper)
            run.outcome.notes.push_back(displayName(side) + ": ink and paper both become " +
                                        colours.ink +
                                        " on the machine, so the map does not show; choose "
                                        "--ink and --paper further apart");
    }
    WriteFailure failure;
    return written(run, side, side.format->writeMap(shown, how, out, failure), failure, out);
}

void convertSet(Run& run, const Job& job, const InputBytes& input) {
    Charset set;
    std::bitset<GlyphCount> held;
    if (!readSet(run, job.input, input, readPlanOf(job), set, &held)) return;
    writeSet(run, job, job.output, job.name, set, held, job.first, job.count, run.outcome.output);
}

void convertMap(Run& run, const Job& job, const InputBytes& input, const InputBytes* fontBytes) {
    Bytes bytes;
    if (!unpacked(run, job.input, input, bytes)) return;
    const std::string file = displayName(job.input);
    formats::CodeMap map;
    formats::FontGlyphs own; // the set the file holds as well (an XBin's font)
    std::size_t codesRead = 0;
    std::string error;
    if (const auto readMap = job.input.format->readMap) {
        std::vector<std::string> notes;
        if (!run.step(readMap(bytes, map, own, notes, error), file, error)) return;
        // The file gives the size; a --map given must name it.
        const std::string size = std::to_string(map.width) + "x" + std::to_string(map.height);
        if (job.map.width > 0 && (map.width != job.map.width || map.height != job.map.height)) {
            run.fail(file, "the map is " + size + " cells: give --map " + size + ", or no --map");
            return;
        }
        for (const std::string& note : notes)
            run.outcome.notes.push_back(file + ": " + note);
        codesRead = map.codes.size();
    } else if (!formats::readMapCodes(bytes, job.map.width, job.map.height, map, codesRead,
                                      error)) {
        run.fail(file, error);
        return;
    }
    if (codesRead < map.codes.size())
        run.outcome.notes.push_back(file + ": " + plural(codesRead, "code") + " for a map of " +
                                    std::to_string(map.codes.size()) + "; the rest are 0");
    // A file holding a set as well as the map (an XBin): its set to --font-out, or drawn
    // with when --font names the file itself; a font of more rows is not taken unless
    // asked for: by --font-out in this conversion, or on its own when --font draws with
    // another set, which --rows would cut too.
    const bool itself =
        job.font && job.font->path == job.input.path && job.font->format == job.input.format;
    if (!job.fontOut && own.height > GlyphBytes) {
        const FileSide set{fileStem(job.input.path) + ".fnt", formatNamed("raw")};
        Job taking = job;
        if (job.font && !itself) {
            taking = Job{};
            taking.input = job.input;
            taking.output = set;
        } else {
            taking.fontOut = set;
        }
        taking.firstRow = (own.height - GlyphBytes) / 2;
        run.outcome.notes.push_back(
            file + ": its font of " + std::to_string(own.height) + " rows a glyph is not taken: `" +
            commandOf(taking) + "` takes 8 of them, from row " + std::to_string(*taking.firstRow));
    }
    Charset ownSet;
    std::bitset<GlyphCount> ownHeld;
    if (job.fontOut || itself) {
        if (!own.refusal.empty()) {
            run.fail(file, own.refusal);
            return;
        }
        if (!laidOut(run, job.input, own, readPlanOf(job), ownSet, &ownHeld)) return;
    }
    if (job.fontOut && !writeSet(run, job, *job.fontOut, job.fontOutName, ownSet, ownHeld,
                                 job.first, job.count, run.outcome.fontOutput))
        return;
    Charset font;
    Writing how = writingOf(job, job.name, job.font ? &font : nullptr);
    if (itself) {
        font = ownSet;
        how.held = ownHeld;
    } else if (job.font) {
        const InputBytes none;
        if (!readSet(run, *job.font, fontBytes ? *fontBytes : none, fontPlanOf(job), font,
                     &how.held))
            return;
    }
    writeMap(run, job, map, how, run.outcome.output);
}

void convertPicture(Run& run, const Job& job, const InputBytes& input,
                    const InputBytes* fontBytes) {
    const std::string file = displayName(job.input);
    Bytes bytes;
    if (!unpacked(run, job.input, input, bytes)) return;
    // The set matched against: a file without codes placed from --at.
    Charset font;
    std::bitset<GlyphCount> held;
    if (job.font) {
        const InputBytes none;
        if (!readSet(run, *job.font, fontBytes ? *fontBytes : none, fontPlanOf(job), font, &held))
            return;
    }
    formats::CutScreen cut;
    std::vector<std::string> notes;
    std::string error;
    const std::optional<int> scale = job.scaleGiven ? std::optional<int>(job.scale) : std::nullopt;
    if (!run.step(cutPicture(bytes, scale, pictureInput(job), job.at, job.font ? &font : nullptr,
                             held, job.add, cut, notes, error),
                  file, error))
        return;
    for (const std::string& note : notes)
        run.outcome.notes.push_back(file + ": " + note);
    const formats::CodeMap map{cut.width, cut.height, cut.codes};
    // The set written holds the glyphs cut, the font's own and every code the map uses.
    held |= codeRun(cut.firstNew, cut.glyphCount);
    for (std::uint8_t code : cut.codes)
        held.set(code);
    // The set written holds the codes the map uses: to the last cut glyph, or the font
    // with any glyphs added to its last one, unless chosen.
    const int count = job.countGiven ? job.count
                      : job.font     ? std::max(1, cut.setEnd - job.first)
                                     : std::max(job.at + cut.glyphCount - job.first, 1);
    if (job.first + count > GlyphCount) {
        run.fail(file, "--first " + std::to_string(job.first) + " --count " +
                           std::to_string(count) + " goes past code 255");
        return;
    }
    // A program that shows the map shows it with the set read, in the picture's colours.
    Writing how = writingOf(job, job.name, &cut.set);
    how.ink = cut.colours.ink;
    how.paper = cut.colours.paper;
    if ((job.fontOut && !writeSet(run, job, *job.fontOut, job.fontOutName, cut.set, held, job.first,
                                  count, run.outcome.fontOutput)) ||
        !writeMap(run, job, map, how, run.outcome.output))
        return;
    const std::string size =
        "map " + std::to_string(cut.width) + " x " + std::to_string(cut.height) + ", ";
    if (!job.font)
        run.outcome.summary = size + plural(static_cast<std::size_t>(cut.glyphCount), "glyph") +
                              " from code " + std::to_string(job.at);
    else if (cut.glyphCount == 0)
        run.outcome.summary = size + "every cell matched";
    else
        run.outcome.summary = size + plural(static_cast<std::size_t>(cut.glyphCount), "glyph") +
                              " added from code " + std::to_string(cut.firstNew);
}

// The codes a font's glyphs go to as it is read without options.
std::bitset<GlyphCount> codesHeld(const formats::FontGlyphs& font) {
    std::bitset<GlyphCount> present;
    if (font.hasCodes) {
        for (const formats::FontGlyph& g : font.glyphs)
            if (g.code >= 0 && g.code < GlyphCount) present.set(static_cast<std::size_t>(g.code));
    } else {
        for (std::size_t i = 0; i < font.glyphs.size() && i < GlyphCount; ++i)
            present.set(i);
    }
    return present;
}

// A FreeType font's sizes: its bitmap strikes, its outlines.
std::string sizesText(const formats::FontGlyphs& font) {
    std::string strikes;
    for (int height : font.strikes)
        strikes += (strikes.empty() ? "" : ", ") + std::to_string(height);
    std::string text = font.scalable ? "outlines at any --size" : "";
    if (!strikes.empty())
        text += std::string(font.scalable ? "; " : "") + "bitmap strikes of " + strikes +
                " pixels" + (font.strikes.size() > 1 && !font.scalable ? " (--size chooses)" : "");
    return text;
}

// A FreeType font's glyphs that do not fit: wider than 8 pixels, or with ink outside the
// cell.
std::string tooLargeText(const formats::FontGlyphs& font) {
    const auto cut = std::count_if(font.glyphs.begin(), font.glyphs.end(),
                                   [](const formats::FontGlyph& g) { return g.inkCut; });
    if (font.wideGlyphs == 0 && cut == 0) return "none";
    std::string text;
    if (font.wideGlyphs > 0)
        text = std::to_string(font.wideGlyphs) + " wider than 8 pixels (left out)";
    if (cut > 0)
        text += (text.empty() ? "" : ", ") + std::to_string(cut) +
                " with ink outside 8 columns or the cell's rows (cut off)";
    return text;
}

void info(Run& run, const Job& job, const InputBytes& input) {
    const std::string file = displayName(job.input);
    Bytes bytes;
    if (!job.input.format->builtin() && !unpacked(run, job.input, input, bytes)) return;
    std::string text = file + "\n";
    const auto line = [&](const std::string& key, const std::string& value) {
        text += "  " + key + std::string(key.size() < 17 ? 17 - key.size() : 1, ' ') + value + "\n";
    };
    const std::string packed = job.input.gzip || formats::isGzip(input.bytes) ? ", gzip" : "";
    if (job.input.is(Picture)) {
        Charset set;
        ReadPlan plan;
        plan.picture.paper = job.paperGiven;
        if (!readSet(run, job.input, input, plan, set)) return;
        std::bitset<GlyphCount> inked;
        for (int code = 0; code < GlyphCount; ++code) {
            const ConstGlyph g = glyph(set, code);
            inked.set(static_cast<std::size_t>(code),
                      std::any_of(g.begin(), g.end(), [](std::uint8_t r) { return r != 0; }));
        }
        line("format", std::string(job.input.format->name()) + " picture of glyphs");
        line("glyphs", "8x8 pixels");
        line("inked", formats::codeRanges(inked));
        run.outcome.output.assign(text.begin(), text.end());
        return;
    }
    ReadPlan plan;
    plan.pixelSize = job.pixelSize;
    plan.describe = true;
    formats::FontGlyphs font;
    if (!readGlyphs(run, job.input, bytes, plan, font)) return;
    const std::size_t total = font.glyphs.size() + static_cast<std::size_t>(font.droppedGlyphs) +
                              static_cast<std::size_t>(font.wideGlyphs);
    line("format", font.format + packed);
    if (job.input.is(Sized)) line("sizes", sizesText(font));
    std::string size = std::to_string(font.width) + "x" + std::to_string(font.height) + " pixels";
    if (job.input.is(Descent)) size += ", descent " + std::to_string(font.descent);
    const std::string problem = formats::fitProblem(font, std::nullopt);
    if (font.height > 8 && font.width <= 8)
        size += "; --rows FIRST takes 8 of their rows";
    else if (!problem.empty())
        size += "; too wide to read";
    line("glyphs", plural(total, "glyph") + " of " + size);
    if (job.input.is(Sized)) line("too large", tooLargeText(font));
    if (!font.refusal.empty()) line("conversion", "refused: " + font.refusal);
    line("codes", formats::codeRanges(codesHeld(font)) +
                      (font.hasCodes ? "" : " (by place; --at and --skip move them)"));
    if (font.hasUnicode) {
        std::size_t carrying = 0;
        std::unordered_set<char32_t> all;
        for (const formats::FontGlyph& g : font.glyphs) {
            carrying += g.unicode.empty() ? 0 : 1;
            all.insert(g.unicode.begin(), g.unicode.end());
        }
        line("unicode", plural(carrying, "glyph") + " show " + plural(all.size(), "character"));
        const std::unordered_set<char32_t> wide(font.wideCharacters.begin(),
                                                font.wideCharacters.end());
        for (const formats::MachineOrder& order : formats::machineOrders()) {
            int wanted = 0, found = 0, tooWide = 0;
            for (char32_t c : order.unicode) {
                if (c == 0) continue;
                ++wanted;
                found += all.count(c) ? 1 : 0;
                tooWide += !all.count(c) && wide.count(c) ? 1 : 0;
            }
            line("--order " + std::string(order.name),
                 std::to_string(found) + " of " + std::to_string(wanted) + " characters" +
                     (tooWide ? ", " + std::to_string(tooWide) + " more too wide" : "") + "  (" +
                     std::string(order.title) + ")");
        }
    } else {
        line("unicode", "none (--order needs a font that carries Unicode)");
    }
    run.outcome.output.assign(text.begin(), text.end());
}

} // namespace

Outcome convertBytes(const Job& job, const InputBytes& input, const InputBytes* font) {
    Run run;
    switch (job.mode) {
    case Mode::Set:
        convertSet(run, job, input);
        break;
    case Mode::Map:
        convertMap(run, job, input, font);
        break;
    case Mode::FromPicture:
        convertPicture(run, job, input, font);
        break;
    case Mode::Info:
        info(run, job, input);
        break;
    }
    if (run.outcome.exitCode != 0) {
        run.outcome.output.clear();
        run.outcome.fontOutput.clear();
    }
    return std::move(run.outcome);
}

} // namespace tessaly::convert
