#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CommandLine, EachLineGivesItsAction) {
    using enum TCommandAction;
    const struct {
        std::vector<const char*> Args; // after the program's name
        TCommandAction Action;
        bool Windowed;
        const char* BadOption;
    } rows[] = {
        {{}, Run, false, ""},
        {{"--window"}, Run, true, ""},
        {{"--window", "--version"}, Version, true, ""},
        {{"--help", "-x", "--bogus"}, Error, false, "-x"},
        {{"--Window"}, Error, false, "--Window"},
        {{"--window=1"}, Error, false, "--window=1"},
        {{"game.sav"}, Error, false, "game.sav"},
    };
    for (const auto& row : rows) {
        std::vector<const char*> argv{"octavane"};
        argv.insert(argv.end(), row.Args.begin(), row.Args.end());
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        const TCommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(line.Action, row.Action);
        EXPECT_EQ(line.Windowed, row.Windowed);
        EXPECT_EQ(line.BadOption, row.BadOption);
    }
}
