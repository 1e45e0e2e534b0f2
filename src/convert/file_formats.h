#pragma once

#include <optional>
#include <string>
#include <string_view>

// The file formats tessaly-convert knows, by name (--from, --to) and by extension, and
// what each can do.

namespace tessaly::convert {

// FreeType: TrueType, OpenType, OTB, PCF and Windows .fon fonts, read through FreeType.
enum class FileFormat { Raw, Prg, Psf, Bdf, FreeType, Asm, C, CHeader, Map, Png, Bmp, Builtin };

// One side of a conversion: a file (or "-") and its format; `gzip` when it is (to be)
// packed with gzip, from a ".gz" ending.
struct FileSide {
    std::string path;
    FileFormat format = FileFormat::Raw;
    bool gzip = false;
    bool stream() const { return path == "-"; }
};

constexpr std::string_view BuiltinPrefix = "builtin:";

std::optional<FileFormat> formatNamed(std::string_view name);
std::string_view formatName(FileFormat format);
// By the extension (case does not matter), after a ".gz" ending; `gzip` tells about it.
std::optional<FileFormat> formatOfPath(std::string_view path, bool& gzip);
// The file name without folders and without its extensions as formatOfPath reads them.
std::string fileStem(std::string_view path);

bool isPicture(FileFormat format);
bool readsSet(FileFormat format);  // a character set can be read from it
bool writesSet(FileFormat format); // a character set can be written to it
bool writesMap(FileFormat format); // a screen map can be written to it
bool isFont(FileFormat format);    // a font with a cell and codes of its own (PSF, BDF, FreeType)

} // namespace tessaly::convert
