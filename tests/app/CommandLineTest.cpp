#include "app/CommandLine.h"
#include "app/SolveCommand.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
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
        {{"game.sav"}, Error, false, "game.sav"},
        {{"--solve", "ffo.txt"}, Solve, false, ""},
        {{"--solve", "-", "--help"}, Help, false, ""},
    };
    for (const auto& row : rows) {
        std::vector<const char*> argv{"octavane"};
        argv.insert(argv.end(), row.Args.begin(), row.Args.end());
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        const TCommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(line.Action, row.Action);
        EXPECT_EQ(line.Windowed, row.Windowed);
        EXPECT_EQ(line.BadOption, row.BadOption);
        EXPECT_EQ(line.Problem.empty(), row.Action != Error);
    }
    const char* solve[] = {"octavane", "--window", "--solve", "-"};
    EXPECT_EQ(ParseCommandLine(4, solve).SolveFile, "-");
}

// Good lines answered in order, four fields each; each bad one named by its number.
TEST(SolveCommand, AnswersEachPositionAndNamesEachBadLine) {
    const std::string empty(62, '-');
    std::istringstream in("XO" + empty +
                          " X ; Black takes the last white disc\n" // c1 +64
                          "; a comment alone\n" +
                          "XO" + empty.substr(1) + " X\n\n" + // 63 squares, then a blank line
                          "XO" + empty + " O\n" +             // pass -64
                          "Xo" + empty + " X\nXO" + empty + " B\nXO" + empty + "\n" + "X" + empty +
                          "O X\r\n"); // -- 0
    std::ostringstream out, err;
    EXPECT_EQ(SolvePositions(in, out, err), kExitBadPositions);
    const std::string answer = R"( \d+ \d+\.\d{3}\n)";
    EXPECT_TRUE(std::regex_match(
        out.str(), std::regex("c1 \\+64" + answer + "pass -64" + answer + "-- 0" + answer)))
        << out.str();
    EXPECT_TRUE(std::regex_match(err.str(), std::regex(".*line 3: the board has 63.*\n"
                                                       ".*line 6: square b1 is 'o'.*\n"
                                                       ".*line 7: the side to move is \"B\".*\n"
                                                       ".*line 8: the side to move \\(X or O\\) "
                                                       "is missing.*\n")))
        << err.str();
}
