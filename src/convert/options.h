#pragma once

#include "formats/asm_source.h"
#include "formats/picture.h"
#include "platform/surface.h"

#include <optional>
#include <span>
#include <string>

// The command line of tessaly-convert, as given: parsing checks each option's own value;
// job.h checks how they fit together.

namespace tessaly::convert {

struct MapSize {
    int width = 0;
    int height = 0;
};

struct Options {
    std::string input, output;
    std::optional<std::string> from, to; // format names
    std::optional<int> first, count, loadAddress, scale;
    std::optional<int> at, skip, rows, size;
    std::optional<std::string> order;
    bool info = false; // --info: INPUT is the only file
    std::optional<formats::AsmSyntax> syntax;
    std::optional<std::string> name;
    std::optional<Colour> ink, paper;
    bool grid = false;
    std::optional<std::string> font, fontOut;
    bool fromPicture = false;
    std::optional<MapSize> map;
    std::optional<formats::PictureCrop> crop;
    std::optional<int> columns;
    bool add = false;
};

enum class Action { Convert, Help, Version };

struct ParsedArguments {
    Action action = Action::Convert;
    Options options;
    std::string error; // a usage error when not empty
};

// The arguments after the program name. Options take their value as the next argument
// or after '='; "--" ends the options; "-" is a file name (standard input or output).
// --info takes one file.
ParsedArguments parseArguments(std::span<const std::string> arguments);

std::string helpText();
std::string versionText();

} // namespace tessaly::convert
