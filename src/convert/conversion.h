#pragma once

#include "convert/job.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A planned conversion from the input bytes to the output bytes, with no file touched:
// main reads the files before and writes the results after, when all went well.

namespace tessaly::convert {

// Inputs are read up to this many bytes; more is an error, except for raw and prg sets,
// of which only the start counts.
constexpr std::size_t InputLimit = std::size_t{64} << 20;

struct InputBytes {
    std::vector<std::uint8_t> bytes;
    bool cut = false; // the file went on past InputLimit
};

struct Outcome {
    int exitCode = 0;      // 0 done, 1 a bad input, 2 not possible in this build
    std::string errorFile; // the file the error is about
    std::string error;
    std::vector<std::string> notes; // for standard error, also on success
    std::string summary;            // --from-picture: the map's size, for standard output
    std::vector<std::uint8_t> output;
    std::vector<std::uint8_t> fontOutput; // --from-picture: the set for --font-out
};

// `font` holds the bytes of --font when that names a file.
Outcome convertBytes(const Job& job, const InputBytes& input, const InputBytes* font);

} // namespace tessaly::convert
