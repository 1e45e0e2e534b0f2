#include "io/file_test.h"

#ifdef _WIN32
#include "io/file_access.h"
#include "support/windows_files.h"

#include <cerrno>
#else
#include "support/unprivileged.h"

#include <csignal>
#include <iostream>

#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace tessaly {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32

TEST(ReplaceFile, ASaveKeepsLinksOwnerAndGroupAndFailsBeforeAByteChanges) {
    GTEST_SKIP() << "owners, groups, modes, symbolic links and file size limits are POSIX's; "
                    "the Windows replacement has its own cases in ReplaceFileWin32";
}

// What stands in the way of a save on Windows.
enum class Hold { None, ReadWrite, Alone }; // another program has the target open, sharing...

struct WinCase {
    const char* what;
    std::size_t oldSize; // 0: no target yet
    bool readOnly;
    bool hardLinked; // a second name "other.fnt" for the target
    Hold hold;
    bool saved;
};

// A save over each kind of target: a new file is renamed over the old one, or a hard-linked
// one written in place so that its other name sees the new bytes too. A read-only target,
// or one another program keeps from being replaced, is refused with the old bytes kept.
// No temporary file stays behind either way.
struct ReplaceFileWin32 : FileTest {};

TEST_F(ReplaceFileWin32, ReplacesOrRefusesAndLeavesNoTemporaryFile) {
    const WinCase cases[] = {
        {"a new file", 0, false, false, Hold::None, true},
        {"an existing file", 3000, false, false, Hold::None, true},
        {"a read-only file", 3000, true, false, Hold::None, false},
        {"hard-linked, growing", 100, false, true, Hold::None, true},
        {"hard-linked, shrinking", 3000, false, true, Hold::None, true},
        {"held open, not to be renamed over", 3000, false, false, Hold::ReadWrite, false},
        {"hard-linked, held open for itself alone", 100, false, true, Hold::Alone, false},
        {"hard-linked and read-only", 100, true, true, Hold::None, false},
    };
    for (int i = 0; i < CharsetBytes; ++i) t.app->charset.bytes[i] = std::uint8_t(i % 251);
    const Bytes newBytes(t.app->charset.bytes.begin(), t.app->charset.bytes.end());
    int row = 0;
    for (const WinCase& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path sub = dir / std::to_string(row++);
        fs::create_directory(sub);
        const std::string target = (sub / "set.fnt").string();
        const std::string other = (sub / "other.fnt").string();
        std::vector<std::string> names;
        const Bytes oldBytes(c.oldSize, 0xAA);
        if (c.oldSize != 0) {
            std::ofstream(target, std::ios::binary)
                .write(reinterpret_cast<const char*>(oldBytes.data()), std::streamsize(c.oldSize));
            names.push_back("set.fnt");
        }
        if (c.hardLinked) {
            ASSERT_TRUE(makeHardLink(target, other));
            names.push_back("other.fnt");
        }
        if (c.readOnly) {
            ASSERT_TRUE(setReadOnly(target, true));
        }
        std::sort(names.begin(), names.end());

        t.platform.messages.clear();
        {
            std::unique_ptr<HeldOpen> held;
            if (c.hold != Hold::None) {
                held = std::make_unique<HeldOpen>(
                    target, c.hold == Hold::Alone ? 0 : HeldOpen::ShareRead | HeldOpen::ShareWrite);
                ASSERT_TRUE(held->held());
            }
            command(CmdSaveCharset2048, target);
            // Why it was refused, as tessaly-convert says: each of these is denied.
            errno = 0;
            EXPECT_TRUE(c.saved || (!replaceFile(target, newBytes) && errno == EACCES));
        }
        EXPECT_EQ(messageLines(t.platform.messages),
                  c.saved ? "" : "Save file|File Error:" + target + "\n");
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(sub))
            found.push_back(e.path().filename().string());
        std::sort(found.begin(), found.end());
        if (c.oldSize == 0 && c.saved) names = {"set.fnt"};
        EXPECT_EQ(found, names);
        EXPECT_EQ(readFile(target), c.saved ? newBytes : oldBytes);
        if (c.hardLinked) {
            EXPECT_EQ(linkCount(target), 2u);
            EXPECT_EQ(readFile(other), readFile(target));
        }
        if (c.readOnly) {
            EXPECT_TRUE(setReadOnly(target, false)); // so that the folder can go
        }
    }
}

#else

// Whose file the target is. The saver is unprivilegedUser(): nobody under root.
enum class Owner { None, Saver, OtherUser, OtherGroup };
// What the save must do to the target.
enum class Outcome { Renamed, InPlace, Refused };

struct Case {
    const char* what;
    Owner owner;
    std::size_t oldSize;
    bool hardLinked; // a second name "other.fnt" for the target
    bool viaSymlink; // saved as "link.fnt", a symbolic link to the target
    bool folderTakesFiles;
    rlim_t sizeLimit; // a file size limit acts as a full device
    Outcome outcome;
};

// A save as the unprivileged user over each kind of target: the new file is renamed over
// the old one unless that would lose a link, the owner or the group, or cannot be done in
// the folder; then the target is written in place. Owner, group and permissions are kept
// either way, and no temporary file is left.
TEST(ReplaceFile, ASaveKeepsLinksOwnerAndGroupAndFailsBeforeAByteChanges) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "WebAssembly has no processes to save as another user and no file size "
                    "limits";
#endif
    constexpr rlim_t None = RLIM_INFINITY;
    const Case cases[] = {
        {"a plain file", Owner::Saver, 3000, false, false, true, None, Outcome::Renamed},
        {"through a link", Owner::Saver, 3000, false, true, true, None, Outcome::Renamed},
        {"hard-linked, shrinking", Owner::Saver, 3000, true, false, true, None, Outcome::InPlace},
        {"folder takes no file, growing", Owner::Saver, 100, false, false, false, None,
         Outcome::InPlace},
        {"another user's", Owner::OtherUser, 3000, false, false, true, None, Outcome::InPlace},
        {"another group's", Owner::OtherGroup, 100, false, false, true, None, Outcome::InPlace},
        {"full device, in place", Owner::Saver, 100, true, false, true, 1000, Outcome::Refused},
        {"new file, folder takes none", Owner::None, 0, false, false, false, None,
         Outcome::Refused},
    };
    const User saver = unprivilegedUser();
    const bool root = ::geteuid() == 0;
    const fs::path base =
        fs::temp_directory_path() / ("tessaly-replace-" + std::to_string(::getpid()));
    fs::remove_all(base);
    fs::create_directories(base);
    fs::permissions(base, fs::perms(0755));

    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!root && (c.owner == Owner::OtherUser || c.owner == Owner::OtherGroup)) {
            std::cout << "not run without root (needs a file of another owner): " << c.what << '\n';
            continue;
        }
        TestApp t;
        ASSERT_TRUE(t.start());
        for (int i = 0; i < CharsetBytes; ++i) t.app->charset.bytes[i] = std::uint8_t(i % 251);
        const Bytes newBytes(t.app->charset.bytes.begin(), t.app->charset.bytes.end());
        const Bytes oldBytes(c.oldSize, 0xAA);

        const fs::path dir = base / std::to_string(row++);
        fs::create_directory(dir);
        const std::string target = (dir / "set.fnt").string();
        std::vector<std::string> names;
        if (c.owner != Owner::None) {
            std::ofstream(target, std::ios::binary)
                .write(reinterpret_cast<const char*>(oldBytes.data()), std::streamsize(c.oldSize));
            names.push_back("set.fnt");
            // Each owner's file writable by the saver, by a permission a rename must keep.
            const gid_t group = c.owner == Owner::OtherGroup ? 0 : saver.gid;
            if (c.owner != Owner::OtherUser) {
                ASSERT_EQ(::chown(target.c_str(), saver.uid, group), 0);
            }
            ASSERT_EQ(::chmod(target.c_str(), c.owner == Owner::OtherUser ? 0666 : 0640), 0);
        }
        if (c.hardLinked) {
            ASSERT_EQ(::link(target.c_str(), (dir / "other.fnt").c_str()), 0);
            names.push_back("other.fnt");
        }
        if (c.viaSymlink) {
            fs::create_symlink("set.fnt", dir / "link.fnt");
            names.push_back("link.fnt");
        }
        std::sort(names.begin(), names.end());
        ASSERT_EQ(::chown(dir.c_str(), saver.uid, saver.gid), 0);
        ASSERT_EQ(::chmod(dir.c_str(), c.folderTakesFiles ? 0755 : 0555), 0);
        struct stat before {};
        ::stat(target.c_str(), &before);

        const std::string saved = (dir / (c.viaSymlink ? "link.fnt" : "set.fnt")).string();
        const std::string shown = runUnprivileged([&] {
            if (c.sizeLimit != RLIM_INFINITY) {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{c.sizeLimit, c.sizeLimit};
                if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("<no limit>");
            }
            t.platform.fileAnswers = {{saved, 0}};
            t.platform.pushCommand(CmdSaveCharset2048);
            runEventLoop(*t.app);
            return messageLines(t.platform.messages);
        });
        ::chmod(dir.c_str(), 0755);

        const bool refused = c.outcome == Outcome::Refused;
        EXPECT_EQ(shown, refused ? "Save file|File Error:" + saved + "\n" : "");
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(dir)) found.push_back(e.path().filename());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, names); // nothing left beside them
        if (c.owner == Owner::None) continue;

        EXPECT_EQ(readFile(target), refused ? oldBytes : newBytes);
        struct stat after {};
        ASSERT_EQ(::stat(target.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino == before.st_ino, c.outcome != Outcome::Renamed);
        if (c.hardLinked) {
            EXPECT_EQ(after.st_nlink, 2u);
            EXPECT_EQ(readFile((dir / "other.fnt").string()), readFile(target));
        }
        EXPECT_EQ(fs::is_symlink(dir / "link.fnt"), c.viaSymlink);
    }
    fs::remove_all(base);
}

#endif

} // namespace
} // namespace tessaly
