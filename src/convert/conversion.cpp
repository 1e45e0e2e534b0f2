#include "convert/conversion.h"

#include "convert/picture_steps.h"
#include "formats/asm_source.h"
#include "formats/bdf.h"
#include "formats/builtin_set.h"
#include "formats/c_source.h"
#include "formats/font_layout.h"
#include "formats/freetype_font.h"
#include "formats/glyph_run.h"
#include "formats/gzip.h"
#include "formats/prg.h"
#include "formats/psf.h"
#include "formats/raw.h"

#include <algorithm>
#include <bitset>
#include <cstdio>
#include <unordered_set>

namespace tessaly::convert {

namespace {

using Bytes = std::vector<std::uint8_t>;

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

formats::PictureType pictureType(FileFormat f) {
    return f == FileFormat::Png ? formats::PictureType::Png : formats::PictureType::Bmp;
}

std::string plural(std::size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// The bytes of a side, unpacked when it is gzip: by its name, or by its first bytes for
// formats that could never start with them.
bool unpacked(Run& run, const FileSide& side, const InputBytes& in, Bytes& bytes) {
    const std::string file = displayName(side);
    const bool prefixOnly = side.format == FileFormat::Raw || side.format == FileFormat::Prg;
    const bool sniff = isFont(side.format);
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

// Glyph rows of a sequential file (raw, prg) as a font placed by place; only the glyphs
// up to `keep` are made, the rest counted.
formats::FontGlyphs rowsFont(const Bytes& rows, const std::string& format, std::size_t keep) {
    formats::FontGlyphs font;
    font.format = format;
    const std::size_t total = (rows.size() + GlyphBytes - 1) / GlyphBytes;
    const std::size_t kept = std::min(total, keep);
    font.droppedGlyphs = static_cast<int>(total - kept);
    font.glyphs.resize(kept);
    for (std::size_t i = 0; i < kept; ++i) {
        const std::size_t begin = i * GlyphBytes;
        const std::size_t end = std::min(rows.size(), begin + GlyphBytes);
        font.glyphs[i].rows.assign(rows.begin() + static_cast<std::ptrdiff_t>(begin),
                                   rows.begin() + static_cast<std::ptrdiff_t>(end));
        font.glyphs[i].rows.resize(GlyphBytes, 0);
    }
    return font;
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
};

ReadPlan readPlanOf(const Job& job) {
    return {job.at,
            job.skip,
            job.firstRow,
            job.pixelSize,
            isFont(job.input.format) ? job.order : nullptr,
            pictureInput(job)};
}

// The glyphs of a file that is no picture, as its reader finds them.
bool readGlyphs(Run& run, const FileSide& side, const Bytes& bytes, const ReadPlan& plan,
                formats::FontGlyphs& font) {
    const std::string file = displayName(side);
    std::string error;
    Bytes rows;
    // Raw and prg files may be long: only the glyphs that can reach the set are made.
    const std::size_t keep = static_cast<std::size_t>(plan.skip) + GlyphCount;
    switch (side.format) {
    case FileFormat::Builtin: {
        const Charset set =
            formats::builtinSet(*formats::builtinSetNamed(side.path.substr(BuiltinPrefix.size())));
        font.format = "built-in set";
        font.hasCodes = true;
        font.glyphs.resize(GlyphCount);
        for (int code = 0; code < GlyphCount; ++code) {
            const ConstGlyph g = glyph(set, code);
            font.glyphs[static_cast<std::size_t>(code)].rows.assign(g.begin(), g.end());
            font.glyphs[static_cast<std::size_t>(code)].code = code;
        }
        return true;
    }
    case FileFormat::Raw:
        if (!formats::readRaw(bytes, rows, error)) return run.fail(file, error);
        font = rowsFont(rows, "raw", keep);
        return true;
    case FileFormat::Prg: {
        int address = 0;
        if (!formats::readPrg(bytes, rows, address, error)) return run.fail(file, error);
        char text[48];
        std::snprintf(text, sizeof text, "prg, loading at $%04X", static_cast<unsigned>(address));
        font = rowsFont(rows, text, keep);
        return true;
    }
    case FileFormat::Psf:
        return run.step(formats::readPsf(bytes, font, error), file, error);
    case FileFormat::Bdf:
        if (!formats::readBdf(bytes, font, error)) return run.fail(file, error);
        if (font.glyphs.empty())
            return run.fail(file, "the font has no glyph with an ENCODING from 0 to 255");
        return true;
    case FileFormat::FreeType:
        if (!formats::readFreeTypeFont(bytes, plan.pixelSize, font, error))
            return run.fail(file, error);
        if (font.glyphs.empty()) return run.fail(file, "the font holds no glyph");
        return true;
    default:
        return run.fail(file, "no character set can be read from this format", 2);
    }
}

bool readSet(Run& run, const FileSide& side, const InputBytes& in, const ReadPlan& plan,
             Charset& set) {
    const std::string file = displayName(side);
    set = Charset{};
    Bytes bytes;
    if (side.format != FileFormat::Builtin && !unpacked(run, side, in, bytes)) return false;
    if (isPicture(side.format)) {
        std::vector<std::string> notes;
        std::string error;
        if (!run.step(readPictureSet(bytes, plan.picture, plan.at, set, notes, error), file, error))
            return false;
        for (const std::string& note : notes)
            run.outcome.notes.push_back(file + ": " + note);
        return true;
    }
    formats::FontGlyphs font;
    if (!readGlyphs(run, side, bytes, plan, font)) return false;
    formats::LaidOutFont laid;
    std::string error;
    if (!formats::layOutFont(font, {plan.firstRow, plan.at, plan.skip, plan.order}, laid, error))
        return run.fail(file, error);
    for (const std::string& note : laid.notes)
        run.outcome.notes.push_back(file + ": " + note);
    set = laid.set;
    return true;
}

bool writeSet(Run& run, const Job& job, const FileSide& side, const std::string& name,
              const Charset& set, int first, int count, Bytes& out) {
    switch (side.format) {
    case FileFormat::Raw:
        out = formats::glyphRows(set, first, count);
        break;
    case FileFormat::Prg: {
        std::string error;
        if (!run.step(formats::writePrg(formats::glyphRows(set, first, count), job.loadAddress, out,
                                        error),
                      side.path, error))
            return false;
        break;
    }
    case FileFormat::Psf:
        out = formats::writePsf(set, first, count, job.order ? &job.order->unicode : nullptr);
        break;
    case FileFormat::Bdf:
        out = formats::writeBdf(set, first, count, name, job.order ? &job.order->unicode : nullptr);
        break;
    case FileFormat::Asm:
        out = formats::writeAsmSet(set, first, count, job.syntax, name);
        break;
    case FileFormat::C:
    case FileFormat::CHeader:
        out = formats::writeCSet(set, first, count, name, side.format == FileFormat::CHeader);
        break;
    case FileFormat::Png:
    case FileFormat::Bmp: {
        std::string error;
        if (!run.step(writePictureSet(set, first, count, pictureType(side.format), job.scale,
                                      job.columns, job.ink, job.paper, out, error),
                      side.path, error, 2)) // only the options can make it too large
            return false;
        break;
    }
    default:
        return run.fail(side.path, "no character set can be written in this format", 2);
    }
    if (side.gzip) out = formats::gzip(out);
    return true;
}

bool writeMap(Run& run, const Job& job, const formats::CodeMap& map, const Charset* font,
              Bytes& out) {
    const FileSide& side = job.output;
    switch (side.format) {
    case FileFormat::Map:
    case FileFormat::Raw:
        out = map.codes;
        break;
    case FileFormat::Prg: {
        std::string error;
        if (!run.step(formats::writePrg(map.codes, job.loadAddress, out, error), side.path, error))
            return false;
        break;
    }
    case FileFormat::Asm:
        out = formats::writeAsmMap(map, job.syntax, job.name);
        break;
    case FileFormat::C:
    case FileFormat::CHeader:
        out = formats::writeCMap(map, job.name, side.format == FileFormat::CHeader);
        break;
    case FileFormat::Png:
    case FileFormat::Bmp: {
        std::string error;
        if (!run.step(writeMapPicture(map, *font, pictureType(side.format), job.scale, job.ink,
                                      job.paper, job.grid, out, error),
                      side.path, error, 2))
            return false;
        break;
    }
    default:
        return run.fail(side.path, "no screen map can be written in this format", 2);
    }
    if (side.gzip) out = formats::gzip(out);
    return true;
}

void convertSet(Run& run, const Job& job, const InputBytes& input) {
    Charset set;
    if (!readSet(run, job.input, input, readPlanOf(job), set)) return;
    writeSet(run, job, job.output, job.name, set, job.first, job.count, run.outcome.output);
}

void convertMap(Run& run, const Job& job, const InputBytes& input, const InputBytes* fontBytes) {
    Bytes bytes;
    if (!unpacked(run, job.input, input, bytes)) return;
    const std::string file = displayName(job.input);
    formats::CodeMap map;
    std::size_t codesRead = 0;
    std::string error;
    if (!formats::readMapCodes(bytes, job.map.width, job.map.height, map, codesRead, error)) {
        run.fail(file, error);
        return;
    }
    if (codesRead < map.codes.size())
        run.outcome.notes.push_back(file + ": " + plural(codesRead, "code") + " for a map of " +
                                    std::to_string(map.codes.size()) + "; the rest are 0");
    Charset font;
    if (job.font) {
        const InputBytes none;
        if (!readSet(run, *job.font, fontBytes ? *fontBytes : none, ReadPlan{}, font)) return;
    }
    writeMap(run, job, map, job.font ? &font : nullptr, run.outcome.output);
}

void convertPicture(Run& run, const Job& job, const InputBytes& input,
                    const InputBytes* fontBytes) {
    const std::string file = displayName(job.input);
    Bytes bytes;
    if (!unpacked(run, job.input, input, bytes)) return;
    Charset font;
    if (job.font) {
        const InputBytes none;
        if (!readSet(run, *job.font, fontBytes ? *fontBytes : none, ReadPlan{}, font)) return;
    }
    formats::CutScreen cut;
    std::vector<std::string> notes;
    std::string error;
    if (!run.step(cutPicture(bytes, job.scale, pictureInput(job), job.at,
                             job.font ? &font : nullptr, job.add, cut, notes, error),
                  file, error))
        return;
    for (const std::string& note : notes)
        run.outcome.notes.push_back(file + ": " + note);
    const formats::CodeMap map{cut.width, cut.height, cut.codes};
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
    if ((job.fontOut && !writeSet(run, job, *job.fontOut, job.fontOutName, cut.set, job.first,
                                  count, run.outcome.fontOutput)) ||
        !writeMap(run, job, map, nullptr, run.outcome.output))
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

void info(Run& run, const Job& job, const InputBytes& input) {
    const std::string file = displayName(job.input);
    Bytes bytes;
    if (job.input.format != FileFormat::Builtin && !unpacked(run, job.input, input, bytes)) return;
    std::string text = file + "\n";
    const auto line = [&](const std::string& key, const std::string& value) {
        text += "  " + key + std::string(key.size() < 17 ? 17 - key.size() : 1, ' ') + value + "\n";
    };
    const std::string packed = job.input.gzip || formats::isGzip(input.bytes) ? ", gzip" : "";
    if (isPicture(job.input.format)) {
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
        line("format", std::string(formatName(job.input.format)) + " picture of glyphs");
        line("glyphs", "8x8 pixels");
        line("inked", formats::codeRanges(inked));
        run.outcome.output.assign(text.begin(), text.end());
        return;
    }
    ReadPlan plan;
    plan.pixelSize = job.pixelSize;
    formats::FontGlyphs font;
    if (!readGlyphs(run, job.input, bytes, plan, font)) return;
    const std::size_t total = font.glyphs.size() + static_cast<std::size_t>(font.droppedGlyphs);
    line("format", font.format + packed);
    std::string size = std::to_string(font.width) + "x" + std::to_string(font.height) + " pixels";
    if (font.format == "BDF" || job.input.format == FileFormat::FreeType)
        size += ", descent " + std::to_string(font.descent);
    const std::string problem = formats::fitProblem(font, std::nullopt);
    if (font.height > 8 && font.width <= 8)
        size += "; --rows FIRST takes 8 of their rows";
    else if (!problem.empty())
        size += "; too wide to read";
    line("glyphs", plural(total, "glyph") + " of " + size);
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
        for (const formats::MachineOrder& order : formats::machineOrders()) {
            int wanted = 0, found = 0;
            for (char32_t c : order.unicode) {
                if (c == 0) continue;
                ++wanted;
                found += all.count(c) ? 1 : 0;
            }
            line("--order " + std::string(order.name),
                 std::to_string(found) + " of " + std::to_string(wanted) + " characters  (" +
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
