// Master against Extreme+: ten fixed openings of four to six moves, each played out once with
// Master as Black and once as White, both levels choosing every move after the opening. Prints
// each game, then Master's wins, draws and losses and the discs of both sides in total.
//   master_match
// Master searches as Extreme+ does until kExactEmpties squares are empty and plays perfectly
// from there: it must not lose on average.
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

#include "engine/EndgameSolver.h"
#include "engine/Reversiutil.h"
#include "engine/discsage.h"

namespace {

// Common openings in the usual notation (column a-h, row 1-8 from the top, Black first, d4 and
// e5 white at the start).
constexpr const char* kOpenings[] = {
    "f5d6c3d3c4",   // tiger
    "f5d6c5f4e3f6", // rose
    "f5f6e6f4c3",   // buffalo
    "f5f6e6f4g5",   // heath
    "f5f4e3f6d3",   // parallel
    "f5d6c4d3c3",   // perpendicular, another line
    "f5f6e6d6",     // diagonal, four moves
    "f5d6c5f4e3",   // rose's first five
    "f5f4e3d6",     // parallel, four moves
    "f5d6c3d3c4f4", // tiger with f4
};

// Plays `moves` from the initial position; false (and a message) if one is not legal.
bool PlayOpening(const char* moves, TBoard& board) {
    const std::string text = moves;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        if (!board.Place(text[i] - 'a', text[i + 1] - '1')) {
            std::fprintf(stderr, "opening %s: %s is not a legal move\n", moves,
                         text.substr(i, 2).c_str());
            return false;
        }
    }
    return true;
}

struct TGame {
    int Master = 0; // discs at the end
    int Other = 0;
    double Seconds = 0;
};

TGame PlayOut(TBoard board, int masterColour) {
    TSage master;
    TSage extremePlus;
    master.SetLevel(kLevelMaster);
    extremePlus.SetLevel(kLevelExtremePlus);
    const auto start = std::chrono::steady_clock::now();
    while (!board.IsGameOver()) {
        const TSage& mover = board.GetTurn() == masterColour ? master : extremePlus;
        int x = 0;
        int y = 0;
        if (mover.Think(board, &x, &y)) {
            board.Place(x, y);
        } else {
            board.Pass();
        }
    }
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
    const int otherColour = masterColour == cellBlack ? cellWhite : cellBlack;
    return {board.GetCount(masterColour), board.GetCount(otherColour), taken.count()};
}

} // namespace

int main() {
    std::printf("Master (level %d) against Extreme+ (level %d), exact from %d empty squares\n\n",
                kLevelMaster, kLevelExtremePlus, kExactEmpties);
    std::printf("%-14s %-7s %7s %9s %8s\n", "opening", "Master", "result", "discs", "seconds");
    int wins = 0;
    int draws = 0;
    int losses = 0;
    int masterDiscs = 0;
    int otherDiscs = 0;
    for (const char* opening : kOpenings) {
        TBoard board;
        if (!PlayOpening(opening, board)) {
            return 2;
        }
        for (const int colour : {cellBlack, cellWhite}) {
            const TGame game = PlayOut(board, colour);
            const char* result = game.Master > game.Other   ? "win"
                                 : game.Master < game.Other ? "loss"
                                                            : "draw";
            wins += game.Master > game.Other ? 1 : 0;
            draws += game.Master == game.Other ? 1 : 0;
            losses += game.Master < game.Other ? 1 : 0;
            masterDiscs += game.Master;
            otherDiscs += game.Other;
            std::printf("%-14s %-7s %7s %4d-%-4d %8.1f\n", opening,
                        colour == cellBlack ? "Black" : "White", result, game.Master, game.Other,
                        game.Seconds);
            std::fflush(stdout);
        }
    }
    std::printf("\nMaster: %d wins, %d draws, %d losses; discs %d to %d\n", wins, draws, losses,
                masterDiscs, otherDiscs);
    return 0;
}
