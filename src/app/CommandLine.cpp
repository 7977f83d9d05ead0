#include "app/CommandLine.h"

#include <cstring>
#include <string>

#include "platform/Version.h"

TCommandLine ParseCommandLine(int argc, const char* const* argv) {
    TCommandLine line;
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            help = true;
        } else if (std::strcmp(arg, "--version") == 0) {
            version = true;
        } else if (std::strcmp(arg, "--window") == 0) {
            line.Windowed = true;
        } else if (std::strcmp(arg, "--solve") == 0 && i + 1 < argc) {
            line.SolveFile = argv[++i];
        } else {
            line.Action = TCommandAction::Error;
            line.BadOption = arg;
            line.Problem = std::strcmp(arg, "--solve") == 0
                               ? "--solve needs a file of positions, or - for standard input"
                               : "unknown option: " + line.BadOption;
            return line;
        }
    }
    if (help) {
        line.Action = TCommandAction::Help;
    } else if (version) {
        line.Action = TCommandAction::Version;
    } else if (!line.SolveFile.empty()) {
        line.Action = TCommandAction::Solve;
    }
    return line;
}

const char* UsageText() {
    return "Usage: octavane [--window]\n"
           "       octavane --solve FILE\n"
           "A 3D Reversi (Othello) game against the computer or a friend.\n"
           "\n"
           "Options:\n"
           "  --window        start in a 960x720 window instead of full screen\n"
           "  --solve FILE    solve each position of FILE (- reads standard input) to the end\n"
           "                  of the game with perfect play, with no window, and print one\n"
           "                  line each: the best move (or pass, or -- when the game is\n"
           "                  over), the final disc difference for the side to move (empty\n"
           "                  squares to the winner), the nodes searched and the seconds.\n"
           "                  A position is a line of 64 characters a1..h8 row by row (X\n"
           "                  black, O white, - empty), a space and X or O to move; text\n"
           "                  after ; is ignored. A bad line is named on standard error and\n"
           "                  the exit status is then 1. Above some 24 empty squares a\n"
           "                  position takes long.\n"
           "  -h, --help      show this help and exit\n"
           "  --version       show the version and exit\n"
           "\n"
           "Keys:\n"
           "  Arrows          move the selection, the board cursor or the view\n"
           "  Space           choose; on the board, place a disc\n"
           "  Enter           go back one screen; on the board, pass\n"
           "  Control (hold)  on the board, look around with the arrows\n"
           "  H               on your turn, a hint (exact near the end)\n"
           "  A               on the board, show or hide the analysis: near the end, the\n"
           "                  exact final disc difference of every move on its square\n"
           "  Backspace       on your turn, take your last move back (also Ctrl+Z)\n"
           "  Shift+Backspace play the move taken back again (also Ctrl+Y)\n"
           "  L               on the board, show or hide the legal squares and the last move\n"
           "  Ctrl+C          copy the game's moves (\"d3c5...\") to the clipboard\n"
           "  Ctrl+V          at the start of a two-player game, play the moves copied\n"
           "  F11, Alt+Enter  switch between full screen and a window\n"
           "  Escape          leave the game for the title; on the title, quit\n"
           "\n"
           "Config's Speed line chooses Normal or Fast moves.\n"
           "The mouse and a gamepad work too.\n";
}

const char* VersionText() {
    static const std::string text = std::string("Octavane ") + kVersionText;
    return text.c_str();
}
