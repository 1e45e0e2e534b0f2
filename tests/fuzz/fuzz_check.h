#pragma once

// For the fuzz targets of the converter's readers, which need no started program: the
// check that aborts with a message, and what every error message must be.

#include <cstdio>
#include <cstdlib>
#include <string>

#ifndef FUZZ_CHECK
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #condition, __FILE__,           \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
#endif

// A message for one line on standard error: some text, no line break.
inline bool oneLine(const std::string& message) {
    return !message.empty() && message.find('\n') == std::string::npos;
}
