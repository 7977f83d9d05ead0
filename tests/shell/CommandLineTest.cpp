#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

struct TCommandRow {
    std::vector<const char*> Args; // after the program's name
    TCommandAction Action;
    bool Windowed;
    const char* BadOption;
};

const TCommandRow kRows[] = {
    {{}, TCommandAction::Run, false, ""},
    {{"--window"}, TCommandAction::Run, true, ""},
    {{"--help"}, TCommandAction::Help, false, ""},
    {{"-h"}, TCommandAction::Help, false, ""},
    {{"--version"}, TCommandAction::Version, false, ""},
    {{"--version", "--help"}, TCommandAction::Help, false, ""},
    {{"--window", "--version"}, TCommandAction::Version, true, ""},
    {{"--bogus"}, TCommandAction::Error, false, "--bogus"},
    {{"--help", "-x", "--bogus"}, TCommandAction::Error, false, "-x"},
    {{"--Window"}, TCommandAction::Error, false, "--Window"},
    {{"--window=1"}, TCommandAction::Error, false, "--window=1"},
    {{"-"}, TCommandAction::Error, false, "-"},
    {{"game.sav"}, TCommandAction::Error, false, "game.sav"},
    {{""}, TCommandAction::Error, false, ""},
};

TEST(CommandLine, EachLineGivesItsAction) {
    for (const TCommandRow& row : kRows) {
        std::vector<const char*> argv{"octavane"};
        argv.insert(argv.end(), row.Args.begin(), row.Args.end());
        std::string shown;
        for (const char* arg : row.Args) {
            shown += std::string(" '") + arg + "'";
        }
        SCOPED_TRACE("octavane" + shown);
        const TCommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(line.Action, row.Action);
        EXPECT_EQ(line.Windowed, row.Windowed);
        EXPECT_EQ(line.BadOption, row.BadOption);
    }
}

TEST(CommandLine, UsageNamesEveryOptionAndTheWindowKeys) {
    const std::string usage = UsageText();
    for (const char* word : {"--window", "--help", "-h", "--version", "F11", "Alt+Enter"}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(usage.back(), '\n');
}

} // namespace
