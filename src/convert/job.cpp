#include "convert/job.h"

#include "formats/ascii_name.h"
#include "formats/bdf.h"
#include "formats/builtin_set.h"
#include "formats/c_source.h"
#include "formats/machine_orders.h"
#include "formats/source_text.h"

namespace tessaly::convert {

namespace {

using formats::AsmSyntax;

bool fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

// The side of `path`: its format named by `named` (--from / --to) or by its extension.
bool sideOf(const std::string& path, const std::optional<std::string>& named, const char* option,
            FileSide& side, std::string& error) {
    side.path = path;
    bool gzip = false;
    const std::optional<FileFormat> byName = formatOfPath(path, gzip);
    side.gzip = gzip;
    if (named) {
        const std::optional<FileFormat> format = formatNamed(*named);
        if (!format || *format == FileFormat::Builtin)
            return fail(error, std::string(option) + " '" + *named + "' is no format; see --help");
        if (byName == FileFormat::Builtin)
            return fail(error, "built-in sets take no " + std::string(option));
        side.format = *format;
        return true;
    }
    if (!byName) {
        if (path == "-")
            return fail(error, std::string("standard ") +
                                   (std::string_view(option) == "--from" ? "input" : "output") +
                                   " needs " + option + " FORMAT");
        return fail(error, "cannot tell the format of '" + path + "' from its name: give " +
                               option + " FORMAT");
    }
    side.format = *byName;
    return true;
}

bool isSource(FileFormat f) {
    return f == FileFormat::Asm || f == FileFormat::C || f == FileFormat::CHeader;
}

bool hasFormat(const Job& job, FileFormat f) {
    return job.output.format == f || (job.fontOut && job.fontOut->format == f);
}

// The name written into OUTPUT: `given` (--name), checked for that format, or one made
// from the file's name.
bool outputName(const std::optional<std::string>& given, const FileSide& side, AsmSyntax syntax,
                const std::string& fallback, std::string& name, std::string& error) {
    const std::function<bool(std::string_view)> allowed = [&](std::string_view n) {
        if (side.format == FileFormat::C || side.format == FileFormat::CHeader)
            return formats::cNameAllowed(n);
        if (side.format == FileFormat::Asm) return formats::asmLabelAllowed(n, syntax);
        if (side.format == FileFormat::Bdf) return formats::bdfFamilyAllowed(n);
        return formats::isIdentifier(n);
    };
    if (!given) {
        name = nameFromPath(side.path, fallback, allowed);
        return true;
    }
    if (!allowed(*given) && side.format == FileFormat::Bdf)
        return fail(error, "--name '" + *given +
                               "' is no BDF family name: printable ASCII, spaces inside, and no "
                               "'-', '*', '?', '\"' or ','");
    if (!allowed(*given))
        return fail(error, "--name '" + *given +
                               "' is no name this output takes: a letter, then letters, digits "
                               "and '_', and no keyword, register or instruction name");
    name = *given;
    return true;
}

} // namespace

std::string nameFromPath(const std::string& path, const std::string& fallback,
                         const std::function<bool(std::string_view)>& allowed) {
    if (path == "-") return fallback;
    std::string name = formats::asciiName(fileStem(path));
    if (name.empty()) return fallback;
    if (!allowed(name)) name = fallback + "_" + name;
    return allowed(name) ? name : fallback;
}

// --info FILE: the input side only, and the options that say how to read it.
bool planInfo(const Options& o, Job& job, std::string& error) {
    job.mode = Mode::Info;
    if (!sideOf(o.input, o.from, "--from", job.input, error)) return false;
    if (job.input.format == FileFormat::Builtin &&
        !formats::builtinSetNamed(o.input.substr(BuiltinPrefix.size())))
        return fail(error, "no built-in set '" + o.input.substr(BuiltinPrefix.size()) + "'");
    if (!readsSet(job.input.format))
        return fail(error, "--info reads a character set or font, not " +
                               std::string(formatName(job.input.format)));
    const bool others = o.first || o.count || o.loadAddress || o.scale || o.syntax || o.name ||
                        o.ink || o.grid || o.font || o.fontOut || o.fromPicture || o.map || o.at ||
                        o.skip || o.rows || o.order;
    if (others) return fail(error, "--info takes only --from, --size and --paper");
    if (o.size && job.input.format != FileFormat::FreeType)
        return fail(error,
                    "--size chooses the pixel size of a TrueType, OpenType, OTB, PCF or .fon font");
    if (o.paper && !isPicture(job.input.format)) return fail(error, "--paper needs a picture");
    job.pixelSize = o.size.value_or(0);
    job.paperGiven = o.paper;
    return true;
}

bool planJob(const Options& o, Job& job, std::string& error) {
    job = Job{};
    if (o.info) return planInfo(o, job, error);
    if (o.map && o.fromPicture) return fail(error, "--map and --from-picture exclude each other");
    job.mode = o.map ? Mode::Map : o.fromPicture ? Mode::FromPicture : Mode::Set;
    if (o.map) job.map = *o.map;

    // INPUT
    if (job.mode == Mode::Map) {
        // Any file reads as a map; only the map's own formats may be named.
        job.input.path = o.input;
        job.input.format = FileFormat::Map;
        bool gzip = false;
        const std::optional<FileFormat> byName = formatOfPath(o.input, gzip);
        job.input.gzip = gzip;
        if (byName == FileFormat::Builtin)
            return fail(error, "--map reads a map file, not a built-in set");
        if (o.from && *o.from != "map" && *o.from != "raw")
            return fail(error, "--map reads INPUT as a map: --from can only be map or raw");
    } else if (!sideOf(o.input, o.from, "--from", job.input, error)) {
        return false;
    }
    if (job.input.format == FileFormat::Builtin &&
        !formats::builtinSetNamed(o.input.substr(BuiltinPrefix.size()))) {
        std::string names;
        for (const auto& n : formats::builtinSetNames()) {
            names += ' ';
            names += n.name;
        }
        return fail(error, "no built-in set '" + o.input.substr(BuiltinPrefix.size()) +
                               "'; the sets are:" + names);
    }
    if (job.mode == Mode::Set && !readsSet(job.input.format)) {
        if (job.input.format == FileFormat::Map)
            return fail(error, "'" + o.input + "' is a screen map: give --map WxH");
        return fail(error, std::string(formatName(job.input.format)) +
                               " files cannot be read, only written");
    }
    if (job.mode == Mode::FromPicture && !isPicture(job.input.format))
        return fail(error, "--from-picture reads a picture (.png or .bmp)");

    // OUTPUT
    if (!sideOf(o.output, o.to, "--to", job.output, error)) return false;
    if (job.output.format == FileFormat::Builtin)
        return fail(error, "built-in sets cannot be written");
    if (job.output.format == FileFormat::FreeType)
        return fail(error, "TrueType, OpenType, PCF and .fon fonts can be read, not written");
    if (job.mode == Mode::Set && !writesSet(job.output.format))
        return fail(error, "a character set cannot be written as a screen map (" +
                               std::string(formatName(job.output.format)) + ")");
    if (job.mode != Mode::Set && !writesMap(job.output.format))
        return fail(error, "a screen map cannot be written as " +
                               std::string(formatName(job.output.format)));
    if (job.mode == Mode::FromPicture && isPicture(job.output.format))
        return fail(error, "--from-picture writes the map as .map, raw, prg, assembler or C");

    // The second set: drawn with (--font) or written (--font-out).
    if (o.font) {
        if (job.mode == Mode::Set || (job.mode == Mode::Map && !isPicture(job.output.format)))
            return fail(error, "--font draws a map picture (--map and a .png or .bmp OUTPUT) or "
                               "gives --from-picture the glyphs to match");
        if (*o.font == "-") return fail(error, "--font must name a file");
        FileSide font;
        if (!sideOf(*o.font, std::nullopt, "--font", font, error)) return false;
        if (!readsSet(font.format))
            return fail(error, "--font '" + *o.font + "' is no readable set");
        if (font.format == FileFormat::Builtin &&
            !formats::builtinSetNamed(o.font->substr(BuiltinPrefix.size())))
            return fail(error, "no built-in set '" + o.font->substr(BuiltinPrefix.size()) + "'");
        job.font = font;
    } else if (job.mode == Mode::Map && isPicture(job.output.format)) {
        return fail(error, "a map picture needs --font SET to draw the codes with");
    }
    if (o.fontOut) {
        if (job.mode != Mode::FromPicture) return fail(error, "--font-out needs --from-picture");
        if (*o.fontOut == "-") return fail(error, "--font-out must name a file");
        FileSide fontOut;
        if (!sideOf(*o.fontOut, std::nullopt, "--font-out", fontOut, error)) return false;
        if (!writesSet(fontOut.format))
            return fail(error,
                        "--font-out '" + *o.fontOut + "' is no set format that can be written");
        job.fontOut = fontOut;
    } else if (job.mode == Mode::FromPicture && !job.font) {
        return fail(error, "--from-picture needs --font-out SET for the glyphs, or --font SET");
    } else if (job.mode == Mode::FromPicture && o.add) {
        return fail(error, "--add needs --font-out SET for the font with the glyphs added");
    }

    // Options that only some sides use.
    const bool writesGlyphs = job.mode == Mode::Set || job.mode == Mode::FromPicture;
    const bool fontIn = job.mode == Mode::Set && isFont(job.input.format);
    const bool unicodeOut =
        job.output.format == FileFormat::Psf || job.output.format == FileFormat::Bdf ||
        (job.fontOut &&
         (job.fontOut->format == FileFormat::Psf || job.fontOut->format == FileFormat::Bdf));
    const bool orderLaysOut = o.order && fontIn;
    // Files without codes are placed by where their glyphs stand; the others keep codes.
    const FileFormat in = job.input.format;
    const bool byPlace =
        (job.mode == Mode::Set && (in == FileFormat::Raw || in == FileFormat::Prg ||
                                   in == FileFormat::Psf || isPicture(in))) ||
        job.mode == Mode::FromPicture;
    const bool skips = job.mode == Mode::Set &&
                       (in == FileFormat::Raw || in == FileFormat::Prg || in == FileFormat::Psf);
    if ((o.at || o.skip) && orderLaysOut)
        return fail(error, std::string(o.at ? "--at" : "--skip") +
                               " and --order exclude each other: --order places the glyphs by "
                               "their Unicode");
    if ((o.at || o.skip) && job.mode == Mode::Set && !byPlace)
        return fail(error, std::string(o.at ? "--at" : "--skip") +
                               " places the glyphs of a file without codes (raw, prg, PSF, "
                               "picture); BDF and FreeType fonts and built-in sets keep their "
                               "codes");
    const bool pictureOut = isPicture(job.output.format);
    const bool anyPicture = pictureOut || isPicture(job.input.format) ||
                            (job.fontOut && isPicture(job.fontOut->format));
    const struct {
        bool given, used;
        const char* message;
    } rules[] = {
        {o.first.has_value(), writesGlyphs,
         "--first chooses the codes of a set written; a map has none"},
        {o.count.has_value(), writesGlyphs, "--count counts the glyphs of a set written"},
        {o.at.has_value(), byPlace, "--at places the glyphs read from a set or a cut picture"},
        {o.skip.has_value(), skips,
         "--skip leaves out glyphs at the start of a raw, prg or PSF file"},
        {o.rows.has_value(), fontIn, "--rows takes 8 rows of a PSF, BDF or FreeType font's glyphs"},
        {o.size.has_value(), job.mode == Mode::Set && in == FileFormat::FreeType,
         "--size chooses the pixel size of a TrueType, OpenType, OTB, PCF or .fon font"},
        {o.order.has_value(), fontIn || unicodeOut,
         "--order lays out a font that carries Unicode (PSF, BDF, TrueType, OpenType, PCF) or "
         "labels a PSF or BDF written"},
        {o.loadAddress.has_value(), hasFormat(job, FileFormat::Prg),
         "--load-address needs a .prg output"},
        {o.syntax.has_value(), hasFormat(job, FileFormat::Asm),
         "--syntax needs an assembler output (.s .asm .inc)"},
        {o.name.has_value(), isSource(job.output.format) || job.output.format == FileFormat::Bdf,
         "--name names the array or label of an assembler, C or BDF output"},
        {o.scale.has_value(), anyPicture, "--scale needs a picture (.png or .bmp)"},
        {o.ink.has_value(), pictureOut || (job.fontOut && isPicture(job.fontOut->format)),
         "--ink needs a picture output"},
        {o.paper.has_value(), anyPicture, "--paper needs a picture"},
        {o.grid, job.mode == Mode::Map && pictureOut, "--grid needs --map and a picture output"},
        {o.crop.has_value(), isPicture(job.input.format), "--crop needs a picture INPUT"},
        {o.columns.has_value(),
         (job.mode == Mode::Set && (pictureOut || isPicture(job.input.format))) ||
             (job.fontOut && isPicture(job.fontOut->format)),
         "--columns needs a set picture (.png or .bmp)"},
        {o.add, job.mode == Mode::FromPicture && job.font,
         "--add needs --from-picture and --font SET"},
    };
    for (const auto& rule : rules)
        if (rule.given && !rule.used) return fail(error, rule.message);

    job.at = o.at.value_or(0);
    job.skip = o.skip.value_or(0);
    job.firstRow = o.rows;
    job.pixelSize = o.size.value_or(0);
    if (o.order) job.order = formats::machineOrderNamed(*o.order);
    job.first = o.first.value_or(0);
    job.count = o.count.value_or(GlyphCount - job.first);
    job.countGiven = o.count.has_value();
    if (job.first + job.count > GlyphCount)
        return fail(error, "--first " + std::to_string(job.first) + " --count " +
                               std::to_string(job.count) + " goes past code 255");
    job.loadAddress = o.loadAddress.value_or(0x3000);
    job.syntax = o.syntax.value_or(AsmSyntax::Ca65);
    job.scale = o.scale.value_or(job.mode == Mode::Map ? 2 : 1);
    job.ink = o.ink.value_or(rgb(255, 255, 255));
    job.paper = o.paper.value_or(rgb(0, 0, 0));
    job.paperGiven = o.paper;
    job.grid = o.grid;
    job.crop = o.crop;
    job.columns = o.columns.value_or(16);
    job.add = o.add;

    const std::string fallback = job.mode == Mode::Set ? "font" : "map";
    if (!outputName(o.name, job.output, job.syntax, fallback, job.name, error)) return false;
    if (job.fontOut &&
        !outputName(std::nullopt, *job.fontOut, job.syntax, "font", job.fontOutName, error))
        return false;
    return true;
}

} // namespace tessaly::convert
