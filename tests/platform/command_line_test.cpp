#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsAtRunsOfSpacesButNotAtTabs) {
    EXPECT_EQ(splitCommandLine(""), Args{});
    EXPECT_EQ(splitCommandLine("   "), Args{});
    EXPECT_EQ(splitCommandLine("set.fnt"), Args{"set.fnt"});
    EXPECT_EQ(splitCommandLine("  a.fnt   b.fnt "), (Args{"a.fnt", "b.fnt"}));
    EXPECT_EQ(splitCommandLine("a\tb"), Args{"a\tb"});
}

TEST(CommandLine, AQuotedArgumentRunsToTheNextQuoteWithoutTheQuotes) {
    EXPECT_EQ(splitCommandLine("\"C:\\My Fonts\\set.fnt\""), Args{"C:\\My Fonts\\set.fnt"});
    EXPECT_EQ(splitCommandLine("\"a b\" c"), (Args{"a b", "c"}));
    EXPECT_EQ(splitCommandLine("\"unterminated path"), Args{"unterminated path"});
    EXPECT_EQ(splitCommandLine("\"\""), Args{""});
    // Only a quote at the start of an argument quotes; inside a word it is a character.
    EXPECT_EQ(splitCommandLine("a\"b c\" d"), (Args{"a\"b", "c\"", "d"}));
}

TEST(CommandLine, AWholeLineLosesTheProgramPathFirst) {
    const struct {
        std::string line;
        Args args;
    } cases[] = {
        {"", {}},
        {"tessaly.exe", {}},
        {"\"C:\\Program Files\\tessaly.exe\"", {}},
        {"tessaly.exe set.fnt", {"set.fnt"}},
        {"  tessaly.exe   a.fnt  b.fnt ", {"a.fnt", "b.fnt"}},
        {"\"C:\\Program Files\\tessaly.exe\" \"C:\\My Fonts\\a b.fnt\"", {"C:\\My Fonts\\a b.fnt"}},
        // The quoted path ends at its closing quote, whatever follows.
        {"\"C:\\x y\\tessaly.exe\"set.fnt", {"set.fnt"}},
        {"\"C:\\unterminated path\\tessaly.exe set.fnt", {}},
        // A tab ends the path, as it does for the system, but separates no arguments.
        {"tessaly.exe\tset.fnt", {"\tset.fnt"}},
        {"tessaly.exe a\tb.fnt", {"a\tb.fnt"}},
    };
    for (const auto& c : cases) EXPECT_EQ(argumentsOfCommandLine(c.line), c.args) << c.line;
}

} // namespace
} // namespace tessaly
