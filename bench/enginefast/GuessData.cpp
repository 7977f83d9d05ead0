// Positions for fitting the solver's guess (src/engine/FastPatterns.h), each with its exact score.
// Plays GAMES games from random openings of 4 to 11 moves, each by one of LEVELS for both sides
// with one move in 25 at random, and solves every position on the way with 12 to 20 empty squares
// where the side to move has a move. Prints one line each:
//
//   score moves corner_moves replies corner_replies discs evaluation | p1 p2 ... p26
//
// the exact final disc difference and the guess's terms for the side to move, then the weight
// file's index of each of the position's patterns, in the order ForEachPattern gives them.
// tools/fit-guess fits the weights to these lines. Run by hand (some minutes per thousand games),
// not by make bench:
//
//   guess_data SEED GAMES LEVEL...

#define OCTAVANE_FAST_ISA fast_plain
#include "engine/FastPatterns.h"

#include "engine/EndgameSolver.h"
#include "engine/FastBridge.h"
#include "engine/discsage.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

using namespace fast_plain;

std::vector<int> LegalSquares(const TBoard& board) {
    std::vector<int> squares;
    for (int square = 0; square < 64; ++square) {
        if (board.CanPlace(square % 8, square / 8)) {
            squares.push_back(square);
        }
    }
    return squares;
}

void PrintPosition(TBitboard own, TBitboard opp, int score) {
    const TBitboard moves = Moves(own, opp);
    const TBitboard replies = Moves(opp, own);
    std::printf("%d %d %d %d %d %d %d |", score, Count(moves), Count(moves & kCorners),
                Count(replies), Count(replies & kCorners), Count(own) - Count(opp),
                FastEvaluate(own, opp));
    ForEachPattern(own, opp, [](int index) { std::printf(" %d", index); });
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: guess_data SEED GAMES LEVEL...\n");
        return 2;
    }
    std::mt19937_64 random(std::strtoull(argv[1], nullptr, 10));
    const int games = std::atoi(argv[2]);
    std::vector<int> levels;
    for (int arg = 3; arg < argc; ++arg) {
        levels.push_back(std::atoi(argv[arg]));
    }
    TEndgameSolver solver;
    for (int game = 0; game < games; ++game) {
        TBoard board;
        const int opening = 4 + static_cast<int>(random() % 8);
        for (int ply = 0; ply < opening && !board.IsGameOver(); ++ply) {
            const std::vector<int> squares = LegalSquares(board);
            if (squares.empty()) {
                board.Pass();
                continue;
            }
            const int square = squares[random() % squares.size()];
            board.Place(square % 8, square / 8);
        }
        TSage sage;
        sage.SetLevel(levels[random() % levels.size()]);
        while (!board.IsGameOver()) {
            const std::vector<int> squares = LegalSquares(board);
            if (squares.empty()) {
                board.Pass();
                continue;
            }
            if (const int empties = board.GetCount(cellEmpty); empties >= 12 && empties <= 20) {
                const TFastPosition position = ToFastPosition(board);
                const TBitboard own = position.BlackToMove ? position.Black : position.White;
                const TBitboard opp = position.BlackToMove ? position.White : position.Black;
                PrintPosition(own, opp, solver.Solve(own, opp).Score);
            }
            int x = 0;
            int y = 0;
            if (random() % 100 < 4 || !sage.Think(board, &x, &y)) {
                const int square = squares[random() % squares.size()];
                x = square % 8;
                y = square / 8;
            }
            board.Place(x, y);
        }
        std::fflush(stdout);
    }
    return 0;
}
