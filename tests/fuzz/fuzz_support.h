#pragma once

// Shared by the fuzz targets: one started program, a scratch folder for the files the
// fuzzer's bytes become, and a check that aborts with a message.

#include "fuzz_check.h"

#include "app/app.h"
#include "app/startup.h"
#include "support/fake_platform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace tessaly {

struct FuzzProgram {
    FakePlatform platform;
    std::unique_ptr<App> app = std::make_unique<App>(platform);
    std::filesystem::path folder;

    FuzzProgram() {
        startUp(*app);
        // The loaders are what is fuzzed; leaving the map undrawn makes each run cheaper.
        app->state.mapWindowCreated = false;
        folder = std::filesystem::temp_directory_path() /
                 ("tessaly-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }

    std::string writeFile(const std::uint8_t* data, std::size_t size) {
        const std::string path = (folder / "input.bin").string();
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }
};

inline FuzzProgram& fuzzProgram() {
    static FuzzProgram program;
    return program;
}

} // namespace tessaly
