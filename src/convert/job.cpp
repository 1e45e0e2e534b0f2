#include "convert/job.h"

#include "formats/fonts/builtin_set.h"
#include "formats/machines/machine_orders.h"
#include "formats/sources/ascii_name.h"
#include "formats/sources/source_text.h"

namespace tessaly::convert {

namespace {

using formats::AsmSyntax;

bool fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

// A --font or --font-out file whose name does not tell its format names it in front:
// "raw:chargen". The format's name and the file's; none for a name of one letter, which
// on Windows is a drive ("c:font.fnt").
std::optional<std::pair<const Format*, std::string>> namedInFront(const std::string& path) {
    const std::size_t colon = path.find(':');
    if (colon == std::string::npos || colon < 2) return std::nullopt;
    const Format* format = formatNamed(std::string_view(path).substr(0, colon));
    if (!format) return std::nullopt;
    return std::pair{format, path.substr(colon + 1)};
}

// The side of `path`: its format named by `named` (--from / --to), in front of the file
// (--font, --font-out) or by its extension.
bool sideOf(const std::string& path, const std::optional<std::string>& named, const char* option,
            FileSide& side, std::string& error) {
    const bool fontSide = std::string_view(option).starts_with("--font");
    const auto inFront = fontSide ? namedInFront(path) : std::nullopt;
    side.path = inFront ? inFront->second : path;
    bool gzip = false;
    const Format* byName = formatOfPath(side.path, gzip);
    side.gzip = gzip;
    if (inFront) {
        side.format = inFront->first;
        return true;
    }
    if (named) {
        const Format* format = formatNamed(*named);
        if (!format)
            return fail(error, std::string(option) + " '" + *named + "' is no format; see --help");
        if (byName && byName->builtin())
            return fail(error, "built-in sets take no " + std::string(option));
        side.format = format;
        return true;
    }
    if (!byName) {
        if (path == "-")
            return fail(error, std::string("standard ") +
                                   (std::string_view(option) == "--from" ? "input" : "output") +
                                   " needs " + option + " FORMAT");
        return fail(
            error, "cannot tell the format of '" + path + "' from its name: " +
                       (fontSide ? "name it in front, as in " + std::string(option) + " raw:" + path
                                 : "give " + std::string(option) + " FORMAT"));
    }
    side.format = byName;
    return true;
}

// The name written into OUTPUT: `given` (--name), checked for that format, or one made
// from the file's name.
bool outputName(const std::optional<std::string>& given, const FileSide& side, AsmSyntax syntax,
                const std::string& fallback, std::string& name, std::string& error) {
    const Format& format = *side.format;
    const std::function<bool(std::string_view)> allowed = [&](std::string_view n) {
        return format.nameAllowed ? format.nameAllowed(n, syntax) : formats::isIdentifier(n);
    };
    if (!given) {
        name = nameFromPath(side.path, fallback, allowed);
        return true;
    }
    if (!allowed(*given))
        return fail(error, "--name '" + *given + "' is no " + std::string(format.badName));
    name = *given;
    return true;
}

// INPUT's format holds a map of its own (by --from or its name).
bool mapOfItsOwn(const Options& o) {
    bool gzip = false;
    const Format* format = o.from ? formatNamed(*o.from) : formatOfPath(o.input, gzip);
    return format && format->readMap;
}

// OUTPUT's format writes sets (false when it cannot be told: the error comes later).
bool outputTakesSet(const Options& o) {
    bool gzip = false;
    const Format* format = o.to ? formatNamed(*o.to) : formatOfPath(o.output, gzip);
    return !format || format->writesSet();
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

// Each option given is one the mode takes and the sides use, in the order of options(),
// the options that qualify another last. --info refuses every option it does not use with
// one message.
bool optionsFit(const Options& o, const Job& job, std::string& error) {
    const unsigned mode = 1u << static_cast<unsigned>(job.mode);
    if (job.mode == Mode::Info)
        for (std::string_view given : o.given)
            for (const Option& option : options())
                if (option.name == given && !(option.modes & mode))
                    return fail(error, std::string(InfoRefusal));
    for (const bool qualifying : {false, true})
        for (const Option& option : options())
            if (option.qualifies == qualifying && o.gave(option.name) &&
                (!(option.modes & mode) || (option.used && !option.used(job))))
                return fail(error, refusalOf(option, job));
    return true;
}

// A side naming a built-in set must name one there is.
bool builtinKnown(const FileSide& side) {
    return !side.format->builtin() || formats::builtinSetNamed(side.setName()) != nullptr;
}

// --info FILE: the input side only, and the options that say how to read it.
bool planInfo(const Options& o, Job& job, std::string& error) {
    job.mode = Mode::Info;
    if (!sideOf(o.input, o.from, "--from", job.input, error)) return false;
    if (!builtinKnown(job.input))
        return fail(error, "no built-in set '" + std::string(job.input.setName()) + "'");
    if (!job.input.format->readsSet())
        return fail(error, "--info reads a character set or font, not " +
                               std::string(job.input.format->name()));
    if (!optionsFit(o, job, error)) return false;
    job.pixelSize = o.size.value_or(0);
    job.paperGiven = o.paper;
    return true;
}

bool planJob(const Options& o, Job& job, std::string& error) {
    job = Job{};
    if (o.info) return planInfo(o, job, error);
    if (o.map && o.fromPicture) return fail(error, "--map and --from-picture exclude each other");
    job.mode = o.map ? Mode::Map : o.fromPicture ? Mode::FromPicture : Mode::Set;
    // A file that holds its own map (an XBin) is read as one without --map when the output
    // takes no set, or its set goes to --font-out.
    if (job.mode == Mode::Set && mapOfItsOwn(o) && (o.fontOut || !outputTakesSet(o)))
        job.mode = Mode::Map;
    if (o.map) job.map = *o.map;

    // INPUT
    if (job.mode == Mode::Map) {
        // Any file reads as a map of codes, but for formats that hold a map of their own
        // (XBin); only the formats that read as maps may be named.
        job.input.path = o.input;
        job.input.format = formatNamed("map");
        bool gzip = false;
        const Format* byName = formatOfPath(o.input, gzip);
        job.input.gzip = gzip;
        if (byName && byName->builtin())
            return fail(error, "--map reads a map file, not a built-in set");
        const Format* named = o.from ? formatNamed(*o.from) : nullptr;
        if (o.from && !(named && named->has(ReadsMap)))
            return fail(error, "--map reads INPUT as a map: --from can only be " +
                                   formatNames([](const Format& f) { return f.has(ReadsMap); }));
        if (const Format* own = o.from ? named : byName; own && own->readMap)
            job.input.format = own;
    } else if (!sideOf(o.input, o.from, "--from", job.input, error)) {
        return false;
    }
    if (!builtinKnown(job.input)) {
        std::string names;
        for (const BuiltinCharsetInfo& set : builtinCharsets()) {
            names += ' ';
            names += set.name;
        }
        return fail(error, "no built-in set '" + std::string(job.input.setName()) +
                               "'; the sets are:" + names);
    }
    const Format& in = *job.input.format;
    if (job.mode == Mode::Set && !in.readsSet()) {
        if (in.has(ReadsMap))
            return fail(error, "'" + o.input + "' is a screen map: give --map WxH");
        return fail(error, std::string(in.name()) + " files cannot be read, only written");
    }
    if (job.mode == Mode::FromPicture && !in.has(Picture))
        return fail(error, "--from-picture reads a picture: " +
                               formatNames([](const Format& f) { return f.has(Picture); }));

    // OUTPUT
    if (!sideOf(o.output, o.to, "--to", job.output, error)) return false;
    const Format& out = *job.output.format;
    if (!out.writesSet() && !out.writesMap() && !out.notWritten.empty())
        return fail(error, std::string(out.notWritten));
    if (job.mode == Mode::Set && !out.writesSet())
        return fail(error, "a character set cannot be written as " + std::string(out.name()) +
                               ", which takes a screen map (--map WxH); a set is written as " +
                               formatNames([](const Format& f) { return f.writesSet(); }));
    if (job.mode != Mode::Set && !out.writesMap())
        return fail(error, "a screen map cannot be written as " + std::string(out.name()) +
                               "; a map is written as " +
                               formatNames([](const Format& f) { return f.writesMap(); }));
    if (job.mode == Mode::FromPicture && out.has(Picture))
        return fail(error, "--from-picture writes the map as " + formatNames([](const Format& f) {
                               return f.writesMap() && !f.has(Picture);
                           }));

    // The second set: drawn with (--font) or written (--font-out).
    if (o.font) {
        if (job.mode == Mode::Set || (job.mode == Mode::Map && !out.drawsMap()))
            return fail(error, "--font draws a map (--map, and OUTPUT " +
                                   formatNames([](const Format& f) { return f.drawsMap(); }) +
                                   ") or gives --from-picture the glyphs to match");
        if (*o.font == "-") return fail(error, "--font must name a file");
        FileSide font;
        if (!sideOf(*o.font, std::nullopt, "--font", font, error)) return false;
        if (!font.format->readsSet())
            return fail(error, "--font '" + *o.font + "' is no readable set");
        if (!builtinKnown(font))
            return fail(error, "no built-in set '" + std::string(font.setName()) + "'");
        job.font = font;
    } else if (job.mode == Mode::Map && out.drawsMap()) {
        return fail(error,
                    out.has(Picture)
                        ? "a map picture needs --font SET to draw the codes with"
                        : std::string(out.name()) + " shows the map in its set: give --font SET");
    }
    if (o.fontOut) {
        if (job.mode != Mode::FromPicture && !job.input.format->readMap)
            return fail(error, "--font-out needs --from-picture, or an XBin read as a map");
        if (*o.fontOut == "-") return fail(error, "--font-out must name a file");
        FileSide fontOut;
        if (!sideOf(*o.fontOut, std::nullopt, "--font-out", fontOut, error)) return false;
        if (!fontOut.format->writesSet())
            return fail(error,
                        "--font-out '" + *o.fontOut + "' is no set format that can be written");
        job.fontOut = fontOut;
    } else if (job.mode == Mode::FromPicture && !job.font) {
        return fail(error, "--from-picture needs --font-out SET for the glyphs, or --font SET");
    } else if (job.mode == Mode::FromPicture && o.add) {
        return fail(error, "--add needs --font-out SET for the font with the glyphs added");
    }

    // --at and --skip place glyphs by their place in the file; --order by their Unicode.
    const bool orderLaysOut =
        o.order && (job.mode == Mode::Set ? in.has(Font) : job.font && job.font->is(Font));
    const bool byPlace = in.byPlace();
    if ((o.at || o.skip) && orderLaysOut)
        return fail(error, std::string(o.at ? "--at" : "--skip") +
                               " and --order exclude each other: --order places the glyphs by "
                               "their Unicode");
    if ((o.at || o.skip) && job.mode == Mode::Set && !byPlace)
        return fail(
            error,
            std::string(o.at ? "--at" : "--skip") + " places the glyphs of a file without codes (" +
                formatNames([](const Format& f) { return f.byPlace(); }) + "); " +
                formatNames([](const Format& f) { return f.readsSet() && !f.byPlace(); }, "and") +
                " keep their codes");
    if (!optionsFit(o, job, error)) return false;

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
    job.loadAddress =
        o.loadAddress.value_or(job.mode == Mode::Set ? out.setLoadAddress : out.mapLoadAddress);
    job.loadAddressGiven = o.loadAddress.has_value();
    job.syntax = o.syntax.value_or(AsmSyntax::Ca65);
    job.scale = o.scale.value_or(job.mode == Mode::Map ? 2 : 1);
    job.scaleGiven = o.scale.has_value();
    job.ink = o.ink.value_or(rgb(255, 255, 255));
    job.paper = o.paper.value_or(rgb(0, 0, 0));
    job.paperGiven = o.paper;
    job.grid = o.grid;
    job.crop = o.crop;
    job.columns = o.columns.value_or(16);
    job.add = o.add;

    const std::string fallback = job.mode == Mode::Set ? "font" : "map";
    if (!outputName(o.name, job.output, job.syntax, fallback, job.name, error)) return false;
    job.nameGiven = o.name.has_value();
    if (job.fontOut &&
        !outputName(std::nullopt, *job.fontOut, job.syntax, "font", job.fontOutName, error))
        return false;
    return true;
}

} // namespace tessaly::convert
