#include "app/event_loop.h"
#include "app/ids.h"
#include "io/paths.h"
#include "support/test_app.h"
#include "support/utf8_path.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Message = FakePlatform::Message;

// Each drawing that can fail to start, in turn: its message comes once per redraw, the
// model change stays, and the program handles the next event.
TEST(InjectedFaults, EachFailingDrawingIsReportedOnceAndTheProgramGoesOn) {
    struct Case {
        int id;
        const char* text;
    };
    const Case cases[] = {{GadgetCharsetView, "draw cursor error!"},
                          {GadgetGlyphEditor, "draw character error!"},
                          {GadgetMapCanvas, "draw char map error!"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TestApp t;
        ASSERT_TRUE(t.start());
        t.state().mapWindowShown = true;
        t.platform.failCanvasDrawing.insert(c.id);
        t.platform.pushCommand(CmdInvert);
        t.platform.pushPointer(GadgetCharsetView, EventKind::PointerMove, 40, 40);
        t.platform.pushCommand(CmdShiftLeft);
        runEventLoop(*t.app);
        EXPECT_EQ(t.platform.messages, (std::vector<Message>(2, Message{"tessaly", c.text})));
        EXPECT_EQ(t.app->charset.bytes[0], 0xFF); // both commands ran
        EXPECT_EQ(t.platform.eventsLeft(), 0);
    }
}

// A fresh folder per test, removed afterwards.
struct Folder {
    fs::path dir = fs::temp_directory_path() /
                   ("tessaly-faults-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Folder() {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~Folder() { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return utf8Of(dir / pathOf(name)); }
    static void write(const std::string& file, const Bytes& bytes) {
        std::ofstream(pathOf(file), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    static Bytes read(const std::string& file) {
        std::ifstream in(pathOf(file), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
    }
};

struct FileFaults : ::testing::Test {
    TestApp t;
    Folder folder;
    void SetUp() override {
        ASSERT_TRUE(t.start());
        for (int i = 0; i < CharsetBytes; ++i) t.app->charset.bytes[i] = std::uint8_t(i * 3);
    }
    void save(int command, const std::string& answer) {
        t.platform.fileAnswers = {{answer, 0}};
        t.platform.pushCommand(command);
        runEventLoop(*t.app);
    }
};

TEST_F(FileFaults, ADirectoryOrAMissingFileChangesNeitherTheStoreNorTheMap) {
    const Charset store = t.app->charset;
    const ScreenMap map = t.app->screenMap;
    t.platform.pushDrop(GadgetCharsetView, folder.dir.string());
    t.platform.pushDrop(GadgetMapCanvas, folder.dir.string());
    t.platform.pushDrop(GadgetCharsetView, folder.path("gone.fnt"));
    runEventLoop(*t.app);
    EXPECT_EQ(t.platform.messages,
              (std::vector<Message>{{"No file", folder.dir.string()},
                                    {"Open File", "unable to open:" + folder.dir.string()},
                                    {"No file", folder.path("gone.fnt")}}));
    EXPECT_EQ(t.app->charset.bytes, store.bytes);
    EXPECT_EQ(t.app->screenMap.cells, map.cells);
}

TEST_F(FileFaults, AFullDeviceLeavesTheOldFileAsItWasAndNothingElse) {
#ifdef _WIN32
    GTEST_SKIP() << "a file size limit stands in for a full device only on POSIX; failed "
                    "writes of the Windows replacement are tested in ReplaceFileWin32";
#elif defined(__EMSCRIPTEN__)
    GTEST_SKIP() << "WebAssembly has no file size limits to stand in for a full device";
#else
    const std::string target = folder.path("set.fnt");
    Folder::write(target, Bytes(100, 0xAA));
    // A file size limit makes writes past 1000 bytes fail as on a full device.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    save(CmdSaveCharset2048, target);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(t.platform.messages, (std::vector<Message>{{"Save file", "File Error:" + target}}));
    EXPECT_EQ(Folder::read(target), Bytes(100, 0xAA));
    EXPECT_EQ(folder.entries(), 1u); // no temporary file left
#endif
}

TEST_F(FileFaults, AFolderThatCannotTakeTheFileGivesAFileError) {
    // A path through a regular file cannot be created, whoever runs the test.
    Folder::write(folder.path("plain"), Bytes{1});
    const std::string target = folder.path("plain") + "/set.fnt";
    save(CmdSaveCharset2048, target);
    EXPECT_EQ(t.platform.messages, (std::vector<Message>{{"Save file", "File Error:" + target}}));
#ifndef _WIN32 // Windows has no mode bits that keep files out of a folder
    if (::geteuid() != 0) { // permissions do not bind root
        fs::create_directories(folder.path("locked"));
        fs::permissions(folder.path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
        save(CmdSaveMap, folder.path("locked") + "/screen");
        EXPECT_EQ(t.platform.messages.back().text, "File Error:" + folder.path("locked") + "/screen.map");
        fs::permissions(folder.path("locked"), fs::perms::owner_all);
    }
#endif
}

TEST_F(FileFaults, ASpecialFileIsNeverReplaced) {
#ifdef _WIN32
    // Device names stand for the device in every folder, with any extension.
    for (const char* name : {"nul", "con", "aux.fnt", "com1", "lpt1.fnt"}) {
        SCOPED_TRACE(name);
        t.platform.messages.clear();
        const std::string device = withExtension(folder.path(name), ".fnt");
        save(CmdSaveCharset2048, folder.path(name));
        EXPECT_EQ(t.platform.messages,
                  (std::vector<Message>{{"Save file", "File Error:" + device}}));
        EXPECT_EQ(folder.entries(), 0u);
    }
#elif defined(__EMSCRIPTEN__)
    GTEST_SKIP() << "WebAssembly's file systems make no FIFOs or devices";
#else
    const std::string fifo = folder.path("pipe.fnt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    save(CmdSaveCharset2048, fifo);
    EXPECT_EQ(t.platform.messages, (std::vector<Message>{{"Save file", "File Error:" + fifo}}));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(folder.entries(), 1u);
#endif
}

TEST_F(FileFaults, PathsWithSpacesAndNonAsciiCharactersSaveAndLoad) {
    fs::create_directories(folder.dir / "my fonts");
    const std::string name = folder.path("my fonts/Шрифт ä");
    save(CmdSaveCharset2048, name);
    EXPECT_TRUE(t.platform.messages.empty());
    EXPECT_EQ(Folder::read(name + ".fnt"),
              Bytes(t.app->charset.bytes.begin(), t.app->charset.bytes.end()));
    const Charset saved = t.app->charset;
    t.platform.pushCommand(CmdEraseAll);
    t.platform.pushDrop(GadgetCharsetView, name + ".fnt");
    runEventLoop(*t.app);
    EXPECT_EQ(t.app->charset.bytes, saved.bytes);
    EXPECT_EQ(t.state().lastPath, folder.path("my fonts") + "/");
}

} // namespace
} // namespace tessaly
