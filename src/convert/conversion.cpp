#include "convert/conversion.h"

#include "convert/picture_steps.h"
#include "formats/asm_source.h"
#include "formats/bdf.h"
#include "formats/builtin_set.h"
#include "formats/c_source.h"
#include "formats/glyph_run.h"
#include "formats/gzip.h"
#include "formats/prg.h"
#include "formats/psf.h"
#include "formats/raw.h"

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
    const bool sniff = side.format == FileFormat::Psf || side.format == FileFormat::Bdf;
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

// Glyph rows placed from `first`, with a note for those that do not fit.
void place(Run& run, const std::string& file, Charset& set, const Bytes& rows,
           std::size_t glyphsInFile, int first) {
    formats::placeGlyphs(set, rows, first);
    const std::size_t room = static_cast<std::size_t>(GlyphCount - first);
    if (glyphsInFile > room)
        run.outcome.notes.push_back(file + ": " + plural(glyphsInFile, "glyph") + "; the first " +
                                    std::to_string(room) + " fill codes " + std::to_string(first) +
                                    "-255, the rest are left out");
}

// How the job reads a picture.
PictureInput pictureInput(const Job& job) {
    return {job.paperGiven, job.crop, job.columns};
}

bool readSet(Run& run, const FileSide& side, const InputBytes& in, int first,
             const PictureInput& picture, Charset& set) {
    const std::string file = displayName(side);
    set = Charset{};
    if (side.format == FileFormat::Builtin) {
        set =
            formats::builtinSet(*formats::builtinSetNamed(side.path.substr(BuiltinPrefix.size())));
        return true;
    }
    Bytes bytes;
    if (!unpacked(run, side, in, bytes)) return false;
    std::string error;
    Bytes rows;
    switch (side.format) {
    case FileFormat::Raw:
        if (!formats::readRaw(bytes, rows, error)) return run.fail(file, error);
        place(run, file, set, rows, (rows.size() + 7) / 8, first);
        return true;
    case FileFormat::Prg: {
        int address = 0;
        if (!formats::readPrg(bytes, rows, address, error)) return run.fail(file, error);
        place(run, file, set, rows, (rows.size() + 7) / 8, first);
        return true;
    }
    case FileFormat::Psf: {
        formats::PsfFont font;
        if (!formats::readPsf(bytes, font, error)) return run.fail(file, error);
        place(run, file, set, font.rows, static_cast<std::size_t>(font.glyphCount), first);
        return true;
    }
    case FileFormat::Bdf: {
        formats::BdfFont font;
        if (!formats::readBdf(bytes, font, error)) return run.fail(file, error);
        if (font.present.none())
            return run.fail(file, "the font has no glyph with an ENCODING from 0 to 255");
        set = font.set;
        return true;
    }
    case FileFormat::Png:
    case FileFormat::Bmp: {
        std::vector<std::string> notes;
        if (!run.step(readPictureSet(bytes, picture, first, set, notes, error), file, error))
            return false;
        for (const std::string& note : notes)
            run.outcome.notes.push_back(file + ": " + note);
        return true;
    }
    default:
        return run.fail(file, "no character set can be read from this format", 2);
    }
}

bool writeSet(Run& run, const Job& job, const FileSide& side, const std::string& name,
              const Charset& set, int first, int count, Bytes& out) {
    switch (side.format) {
    case FileFormat::Raw:
        out = formats::glyphRows(set, first, count);
        break;
    case FileFormat::Prg:
        out = formats::writePrg(formats::glyphRows(set, first, count), job.loadAddress);
        break;
    case FileFormat::Psf:
        out = formats::writePsf(set, first, count);
        break;
    case FileFormat::Bdf:
        out = formats::writeBdf(set, first, count, name);
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
    case FileFormat::Prg:
        out = formats::writePrg(map.codes, job.loadAddress);
        break;
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
    if (!readSet(run, job.input, input, job.first, pictureInput(job), set)) return;
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
        if (!readSet(run, *job.font, fontBytes ? *fontBytes : none, 0, {}, font)) return;
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
        if (!readSet(run, *job.font, fontBytes ? *fontBytes : none, 0, {}, font)) return;
    }
    formats::CutScreen cut;
    std::vector<std::string> notes;
    std::string error;
    if (!run.step(cutPicture(bytes, job.scale, pictureInput(job), job.first,
                             job.font ? &font : nullptr, job.add, cut, notes, error),
                  file, error))
        return;
    for (const std::string& note : notes)
        run.outcome.notes.push_back(file + ": " + note);
    const formats::CodeMap map{cut.width, cut.height, cut.codes};
    // The set written: the glyphs cut, or the font with any glyphs added, to its last one.
    const int count = job.countGiven ? job.count
                      : job.font     ? std::max(1, cut.setEnd - job.first)
                                     : cut.glyphCount;
    if ((job.fontOut && !writeSet(run, job, *job.fontOut, job.fontOutName, cut.set, job.first,
                                  count, run.outcome.fontOutput)) ||
        !writeMap(run, job, map, nullptr, run.outcome.output))
        return;
    const std::string size =
        "map " + std::to_string(cut.width) + " x " + std::to_string(cut.height) + ", ";
    if (!job.font)
        run.outcome.summary = size + plural(static_cast<std::size_t>(cut.glyphCount), "glyph") +
                              " from code " + std::to_string(job.first);
    else if (cut.glyphCount == 0)
        run.outcome.summary = size + "every cell matched";
    else
        run.outcome.summary = size + plural(static_cast<std::size_t>(cut.glyphCount), "glyph") +
                              " added from code " + std::to_string(cut.firstNew);
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
    }
    if (run.outcome.exitCode != 0) {
        run.outcome.output.clear();
        run.outcome.fontOutput.clear();
    }
    return std::move(run.outcome);
}

} // namespace tessaly::convert
