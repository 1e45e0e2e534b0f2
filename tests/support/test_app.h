#pragma once

#include "app/app.h"
#include "app/startup.h"
#include "support/fake_platform.h"

#include <memory>

namespace tessaly {

// A run of the program on a FakePlatform: configure `platform`, then start().
struct TestApp {
    FakePlatform platform;
    std::unique_ptr<App> app = std::make_unique<App>(platform);

    bool start() { return startUp(*app); }
    EditorState& state() { return app->state; }
    Surface& canvas(int id) { return platform.canvases.at(id); }
};

} // namespace tessaly
