#include "app/event_loop.h"
#include "app/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace tessaly {
namespace {

// The number of events: a quick storm by default, the long one (a million events) when
// TESSALY_STORM_EVENTS asks for it, as `scripts/test --long` does.
long stormSize() {
    const char* text = std::getenv("TESSALY_STORM_EVENTS");
    return text ? std::atol(text) : 20'000;
}

class Storm {
  public:
    explicit Storm(TestApp& t, std::filesystem::path folder)
        : t_(t), folder_(std::move(folder)), random_(20261207) {}

    Event next() {
        Event e;
        const int kind = pick(100);
        if (kind < 70) {
            // Pointer, key and control events on every control, and ids no control has.
            e.kind = static_cast<EventKind>(static_cast<int>(EventKind::PointerDown) + pick(6));
            if (pick(10) == 0) e.kind = EventKind::ControlChanged;
            e.control = pick(17) - 1;
            e.x = pick(6001) - 3000;
            e.y = pick(6001) - 3000;
            if (pick(2)) { // mostly over the canvases
                e.x = pick(300) - 20;
                e.y = pick(300) - 20;
            }
            e.button = static_cast<Button>(pick(4));
            e.buttons = pick(8);
            e.key = static_cast<Key>(pick(9));
            e.value = pick(400) - 50;
        } else if (kind < 90) {
            e.kind = EventKind::Command;
            e.command = pick(50) - 3;
            scriptDialogs();
        } else if (kind < 93) {
            e.kind = EventKind::FilesDropped;
            e.control = pick(2) ? GadgetCharsetView : GadgetMapCanvas;
            e.paths = anyPath();
        } else if (kind < 96) {
            e.kind = EventKind::WindowClosed;
            e.window = pick(3);
        }
        return e;
    }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string anyPath() {
        static const char* names[] = {"a.fnt", "b.map", "c.bmp", "missing.fnt", "", "  "};
        return (folder_ / names[pick(6)]).string();
    }

    // Answers for whatever dialog or popup the command may open.
    void scriptDialogs() {
        FakePlatform& p = t_.platform;
        p.fileAnswers.clear();
        p.colourAnswers.clear();
        p.popupAnswers.clear();
        if (pick(10) == 0) p.fileAnswers.push_back({anyPath(), pick(3)});
        if (pick(2)) p.colourAnswers.push_back(rgb(pick(256), pick(256), pick(256)));
        p.popupAnswers.push_back(pick(50) - 3);
    }

    TestApp& t_;
    std::filesystem::path folder_;
    std::mt19937 random_;
};

void checkInvariants(TestApp& t) {
    const EditorState& s = t.state();
    ASSERT_GE(s.cursorColumn, 0);
    ASSERT_LE(s.cursorColumn, 15);
    ASSERT_GE(s.cursorRow, 0);
    ASSERT_LE(s.cursorRow, 15);
    ASSERT_EQ(s.currentChar, s.cursorRow * 16 + s.cursorColumn);
    const bool none = s.selectedMapX == -1 && s.selectedMapY == -1;
    const bool inside = s.selectedMapX >= 0 && s.selectedMapX < 80 && s.selectedMapY >= 0 &&
                        s.selectedMapY < 50;
    ASSERT_TRUE(none || inside) << s.selectedMapX << "," << s.selectedMapY;
    for (std::int32_t cell : t.app->screenMap.cells) ASSERT_TRUE(cell >= 0 && cell <= 255);
    ASSERT_TRUE(s.mapWidth == 32 || s.mapWidth == 40 || s.mapWidth == 64 || s.mapWidth == 80);
}

TEST(EventStorm, ARandomStreamOfEveryKindKeepsTheStateConsistent) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("tessaly-storm-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                         "-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder);
    TestApp t;
    t.platform.workingDirectory = folder.string();
    ASSERT_TRUE(t.start());
    Storm storm(t, folder);

    const long total = stormSize();
    const auto start = std::chrono::steady_clock::now();
    long n = 0;
    for (; n < total; ++n) {
        t.platform.pushEvent(storm.next());
        // Popup picks queue further commands: handle everything queued.
        while (std::optional<Event> e = t.platform.waitEvent()) dispatchEvent(*t.app, *e);
        if (n % 1000 == 999) {
            checkInvariants(t);
            if (HasFatalFailure()) break;
            t.platform.messages.clear();
            t.platform.dialogs.clear();
            t.platform.popupsShown.clear();
            for (auto& [id, window] : t.platform.windows) window.titleHistory.clear();
            for (auto& [id, control] : t.platform.controls) control.textHistory.clear();
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%ld events in %.1f s: %.0f events per second\n", n, seconds, n / seconds);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace tessaly
