#pragma once

#include "convert/file_formats.h"
#include "formats/pictures/picture.h"
#include "formats/sources/asm_source.h"
#include "platform/surface.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
    std::vector<std::string_view> given; // the options on the command line, as named in options()

    bool gave(std::string_view option) const;
};

struct Job;

// The modes of a conversion an option may be given in (job.h's Mode).
enum ModeSet : unsigned { InSet = 1, InMap = 2, InFromPicture = 4, InInfo = 8 };

// One option of the command line: how its value is taken, where it may be given and what
// the help says about it.
struct Option {
    std::string_view name = {};  // "--first"
    std::string_view value = {}; // the help's name for its value ("CODE"); empty for none
    // Stores the value (or, without one, the switch); false when the value does not do,
    // with what the option wants in `wants`. Null for --help and --version.
    bool (*take)(const std::string& value, Options& options, std::string& wants) = nullptr;
    unsigned modes = 0;
    // Within those modes, whether the sides of the job use it; null when always.
    bool (*used)(const Job& job) = nullptr;
    // The usage error when it is given where it is not used; "{}" in it (and in the help)
    // stands for the names of the formats `lists` picks. Or `refuse` makes it for the job.
    std::string_view refusal = {};
    bool (*lists)(const Format& format) = nullptr;
    std::string (*refuse)(const Job& job) = nullptr;
    bool qualifies = false;        // changes what another option does: checked after the others
    bool mapSection = false;       // listed under "Screen maps" rather than "Options"
    // Its help lines after the name, the first from column 20; then a list made when the
    // help is, and lines after it. The help ends the last line.
    std::string_view help = {};
    std::string (*helpList)() = nullptr;
    std::string_view helpAfter = {};
};

std::span<const Option> options();

// The usage error of an option given where the job does not use it.
std::string refusalOf(const Option& option, const Job& job);

// The usage error of an option --info does not use.
constexpr std::string_view InfoRefusal = "--info takes only --from, --size and --paper";

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
