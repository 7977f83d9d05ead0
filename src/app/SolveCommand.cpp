#include "app/SolveCommand.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "engine/EndgameSolver.h"
#include "engine/PositionText.h"

namespace {

std::string MoveField(int square) {
    return square == kSolvePass ? "pass" : square == kSolveNoMove ? "--" : SquareName(square);
}

std::string ScoreField(int score) {
    char text[16];
    std::snprintf(text, sizeof text, score > 0 ? "+%d" : "%d", score);
    return text;
}

std::string SecondsField(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

void SolveOne(const TPositionText& position, std::ostream& output) {
    const TBitboard own = position.BlackToMove ? position.Black : position.White;
    const TBitboard opp = position.BlackToMove ? position.White : position.Black;
    // A table of its own for each position, so that each line's nodes and time stand alone.
    TEndgameSolver solver;
    const auto start = std::chrono::steady_clock::now();
    const TSolveResult result = solver.Solve(own, opp);
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
    output << MoveField(result.Square) << ' ' << ScoreField(result.Score) << ' ' << result.Nodes
           << ' ' << SecondsField(taken.count()) << std::endl;
}

} // namespace

int SolvePositions(std::istream& input, std::ostream& output, std::ostream& errors) {
    int status = 0;
    int number = 0;
    for (std::string line; std::getline(input, line);) {
        ++number;
        TPositionText position;
        std::string reason;
        switch (ParsePositionText(line, &position, &reason)) {
        case TPositionParse::Blank:
            break;
        case TPositionParse::Bad:
            errors << "Octavane: line " << number << ": " << reason << std::endl;
            status = kExitBadPositions;
            break;
        case TPositionParse::Position:
            SolveOne(position, output);
            break;
        }
    }
    return status;
}

int SolveFile(const std::string& path, std::ostream& output, std::ostream& errors) {
    if (path == "-") {
        return SolvePositions(std::cin, output, errors);
    }
    std::ifstream file(path);
    if (!file) {
        errors << "Octavane: cannot read the positions file " << path << std::endl;
        return kExitBadPositions;
    }
    return SolvePositions(file, output, errors);
}
