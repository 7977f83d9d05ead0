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
        {{"--Window"}, Error, false, "--Window"},
        {{"--window=1"}, Error, false, "--window=1"},
        {{"game.sav"}, Error, false, "game.sav"},
        {{"--solve", "ffo.txt"}, Solve, false, ""},
        {{"--solve", "-", "--help"}, Help, false, ""},
        {{"--solve"}, Error, false, "--solve"},
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

namespace {

// A position's line: `head`, then `empties` empty squares, then `tail`.
std::string Spaced(const char* head, int empties, const char* tail) {
    std::string line(head);
    line.append(static_cast<std::size_t>(empties), '-');
    line.append(tail);
    return line;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

// Good lines are answered in order, four fields each; each bad one is named by its number on
// the error stream, the lines after it still answered, and the status tells of it.
TEST(SolveCommand, AnswersEachPositionAndNamesEachBadLine) {
    std::string input;
    for (const std::string& line : {
             Spaced("XO", 62, " X ; Black takes the last white disc"), // 1: c1 +64
             std::string("; a comment alone"),                         // 2
             Spaced("XO", 61, " X"),                                   // 3: 63 squares
             std::string(""),                                          // 4
             Spaced("XO", 62, " O"),                                   // 5: pass -64
             Spaced("Xo", 62, " X"),                                   // 6: a bad square
             Spaced("XO", 62, " B"),                                   // 7: a bad side
             Spaced("XO", 62, ""),                                     // 8: no side
             Spaced("X", 62, "O X\r"),                                 // 9: -- 0
         }) {
        input += line + "\n";
    }
    std::istringstream in(input);
    std::ostringstream out, err;
    EXPECT_EQ(SolvePositions(in, out, err), kExitBadPositions);

    const std::vector<std::string> answers = Lines(out.str());
    ASSERT_EQ(answers.size(), 3u) << out.str();
    const std::regex form(R"(^(\S+) ([+-]?\d+) (\d+) (\d+\.\d{3})$)");
    const char* expected[][2] = {{"c1", "+64"}, {"pass", "-64"}, {"--", "0"}};
    for (std::size_t i = 0; i < answers.size(); ++i) {
        std::smatch fields;
        ASSERT_TRUE(std::regex_match(answers[i], fields, form)) << answers[i];
        EXPECT_EQ(fields[1], expected[i][0]);
        EXPECT_EQ(fields[2], expected[i][1]);
    }
    const std::vector<std::string> errors = Lines(err.str());
    ASSERT_EQ(errors.size(), 4u) << err.str();
    const char* named[] = {"line 3: the board has 63", "line 6: square b1 is 'o'",
                           "line 7: the side to move is \"B\"",
                           "line 8: the side to move (X or O) is missing"};
    for (std::size_t i = 0; i < errors.size(); ++i) {
        EXPECT_NE(errors[i].find(named[i]), std::string::npos) << errors[i];
    }

    std::istringstream good(Spaced("XO", 62, " X\n"));
    std::ostringstream goodOut;
    EXPECT_EQ(SolvePositions(good, goodOut, err), 0);
    EXPECT_EQ(SolveFile("/nonexistent/positions.txt", goodOut, err), kExitBadPositions);
}
