#pragma once

#include <string>

// The program's command line, read before anything else starts. Every argument is an option;
// the first one the program does not know makes the whole line an error.

enum class TCommandAction {
    Run,     // start the game
    Help,    // print the usage on standard output, exit 0
    Version, // print "Octavane <version>" on standard output, exit 0
    Solve,   // solve the positions of SolveFile exactly, print one line each (SolveCommand.h)
    Error,   // print Problem and the usage on standard error, exit 2
};

struct TCommandLine {
    TCommandAction Action = TCommandAction::Run;
    bool Windowed = false; // --window: a resizable window instead of full screen
    std::string SolveFile; // --solve FILE: the file of positions, "-" for standard input
    std::string BadOption; // the first argument not understood, when Action is Error
    std::string Problem;   // what is wrong with it, when Action is Error
};

// Exit status after an option not understood.
inline constexpr int kExitBadCommandLine = 2;

// Reads argv[1..argc-1]. An unknown option (or --solve without its file) wins over --help and
// --version, --help over --version, and both over --solve, wherever they stand.
TCommandLine ParseCommandLine(int argc, const char* const* argv);

// The usage: the options and the keys, one per line, ending in a newline.
const char* UsageText();
// "Octavane <version>", without a newline.
const char* VersionText();
