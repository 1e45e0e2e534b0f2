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

} // namespace
} // namespace tessaly
