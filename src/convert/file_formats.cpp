#include "convert/file_formats.h"

#include <algorithm>

namespace tessaly::convert {

namespace {

struct Known {
    std::string_view name;
    FileFormat format;
};
constexpr Known Names[] = {
    {"raw", FileFormat::Raw},         {"prg", FileFormat::Prg},      {"psf", FileFormat::Psf},
    {"bdf", FileFormat::Bdf},         {"ttf", FileFormat::FreeType}, {"otf", FileFormat::FreeType},
    {"otb", FileFormat::FreeType},    {"pcf", FileFormat::FreeType}, {"fon", FileFormat::FreeType},
    {"asm", FileFormat::Asm},         {"c", FileFormat::C},          {"h", FileFormat::CHeader},
    {"map", FileFormat::Map},         {"png", FileFormat::Png},      {"bmp", FileFormat::Bmp},
    {"builtin", FileFormat::Builtin},
};
constexpr Known Extensions[] = {
    {".fnt", FileFormat::Raw},      {".bin", FileFormat::Raw},      {".chr", FileFormat::Raw},
    {".rom", FileFormat::Raw},      {".prg", FileFormat::Prg},      {".64c", FileFormat::Prg},
    {".psf", FileFormat::Psf},      {".psfu", FileFormat::Psf},     {".bdf", FileFormat::Bdf},
    {".ttf", FileFormat::FreeType}, {".otf", FileFormat::FreeType}, {".otb", FileFormat::FreeType},
    {".pcf", FileFormat::FreeType}, {".fon", FileFormat::FreeType}, {".s", FileFormat::Asm},
    {".asm", FileFormat::Asm},      {".inc", FileFormat::Asm},      {".c", FileFormat::C},
    {".h", FileFormat::CHeader},    {".map", FileFormat::Map},      {".png", FileFormat::Png},
    {".bmp", FileFormat::Bmp},
};

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return out;
}

std::string_view fileName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool endsWith(std::string_view s, std::string_view end) {
    return s.size() > end.size() && s.substr(s.size() - end.size()) == end;
}

} // namespace

std::optional<FileFormat> formatNamed(std::string_view name) {
    for (const Known& k : Names)
        if (k.name == name) return k.format;
    return std::nullopt;
}

std::string_view formatName(FileFormat format) {
    for (const Known& k : Names)
        if (k.format == format) return k.name;
    return "?";
}

std::optional<FileFormat> formatOfPath(std::string_view path, bool& gzip) {
    if (path.starts_with(BuiltinPrefix)) {
        gzip = false;
        return FileFormat::Builtin;
    }
    std::string name = lower(fileName(path));
    gzip = endsWith(name, ".gz");
    if (gzip) name.resize(name.size() - 3);
    for (const Known& k : Extensions)
        if (endsWith(name, k.name)) return k.format;
    return std::nullopt;
}

std::string fileStem(std::string_view path) {
    std::string_view name = fileName(path);
    bool gzip = false;
    if (formatOfPath(name, gzip)) {
        const std::size_t dots = gzip ? 2 : 1;
        for (std::size_t i = 0; i < dots; ++i) {
            const std::size_t dot = name.find_last_of('.');
            if (dot != std::string_view::npos) name = name.substr(0, dot);
        }
    }
    return std::string(name);
}

bool isPicture(FileFormat format) {
    return format == FileFormat::Png || format == FileFormat::Bmp;
}

bool readsSet(FileFormat format) {
    switch (format) {
    case FileFormat::Raw:
    case FileFormat::Prg:
    case FileFormat::Psf:
    case FileFormat::Bdf:
    case FileFormat::FreeType:
    case FileFormat::Png:
    case FileFormat::Bmp:
    case FileFormat::Builtin:
        return true;
    default:
        return false;
    }
}

bool writesSet(FileFormat format) {
    return format != FileFormat::Builtin && format != FileFormat::Map &&
           format != FileFormat::FreeType;
}

bool writesMap(FileFormat format) {
    return format != FileFormat::Builtin && !isFont(format);
}

bool isFont(FileFormat format) {
    return format == FileFormat::Psf || format == FileFormat::Bdf || format == FileFormat::FreeType;
}

} // namespace tessaly::convert
