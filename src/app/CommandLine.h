#pragma once

#include <string>

// The program's command line, read before anything else starts. Every argument is an option;
// the first one the program does not know makes the whole line an error.

enum class TCommandAction {
    Run,     // start the game
    Help,    // print the usage on standard output, exit 0
    Version, // print "Octavane <version>" on standard output, exit 0
    Error,   // print the unknown option and the usage on standard error, exit 2
};

struct TCommandLine {
    TCommandAction Action = TCommandAction::Run;
    bool Windowed = false; // --window: a resizable window instead of full screen
    std::string BadOption; // the first unknown argument, when Action is Error
};

// Exit status after an unknown option.
inline constexpr int kExitBadCommandLine = 2;

// Reads argv[1..argc-1]. An unknown option wins over --help and --version, and --help over
// --version, wherever they stand.
TCommandLine ParseCommandLine(int argc, const char* const* argv);

// The usage: the options and the keys, one per line, ending in a newline.
const char* UsageText();
// "Octavane <version>", without a newline.
const char* VersionText();
