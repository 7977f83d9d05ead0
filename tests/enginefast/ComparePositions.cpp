#include "ComparePositions.h"

#include "Reference.h"
#include "engine/FastBridge.h"
#include "engine/discsage.h"

#include <sstream>

namespace {

constexpr int maxAttempts = 1000000;

int LegalMoves(const TBoard& board, int squares[64]) {
    int count = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (board.CanPlace(x, y)) {
                squares[count++] = y * 8 + x;
            }
        }
    }
    return count;
}

// Collects positions from random games for which `keep` holds, at most one per game.
template <typename Keep> std::vector<TBoard> Collect(TRandom& random, int count, Keep keep) {
    std::vector<TBoard> found;
    for (int attempt = 0; attempt < maxAttempts && static_cast<int>(found.size()) < count;
         ++attempt) {
        TBoard board;
        while (!keep(board) && PlayRandomMove(random, board)) {
        }
        if (keep(board)) {
            found.push_back(board);
        }
    }
    return found;
}

} // namespace

TScattering ScatterDiscs(TRandom& random) {
    TScattering scattering;
    const int density = static_cast<int>(random() % 100);
    for (int square = 0; square < kFastSquareCount; ++square) {
        if (static_cast<int>(random() % 100) < density) {
            (random() % 2 ? scattering.Own : scattering.Opp) |= FastBit(square);
        }
    }
    return scattering;
}

bool PlayRandomMove(TRandom& random, TBoard& board) {
    if (board.IsGameOver()) {
        return false;
    }
    int squares[64];
    const int count = LegalMoves(board, squares);
    if (count == 0) {
        return board.Pass();
    }
    const int square = squares[std::uniform_int_distribution<int>(0, count - 1)(random)];
    return board.Place(square % 8, square / 8);
}

bool PlayoutTo(TRandom& random, int empties, TBoard& board) {
    board = TBoard();
    while (board.GetCount(cellEmpty) > empties) {
        if (!PlayRandomMove(random, board)) {
            return false;
        }
    }
    return !board.IsGameOver();
}

std::vector<TBoard> PassPositions(TRandom& random, int count) {
    return Collect(random, count, [](const TBoard& board) {
        return !board.IsGameOver() && board.passes == 0 && board.MustPass();
    });
}

std::vector<TBoard> AfterPassPositions(TRandom& random, int count) {
    return Collect(random, count, [](const TBoard& board) {
        return !board.IsGameOver() && board.passes == 1 && !board.MustPass();
    });
}

std::vector<TBoard> DeadlockPositions(TRandom& random, int count) {
    return Collect(random, count, [](const TBoard& board) {
        return !board.IsGameOver() && board.passes == 1 && board.MustPass();
    });
}

std::string CompareSearch(const TBoard& board, int depth) {
    const TReferenceAnswer expected = ReferenceSearch(board, depth);
    const TFastAnswer actual = FastSearch(ToFastPosition(board), depth);
    if (expected.X == actual.X && expected.Y == actual.Y && expected.Value == actual.Value) {
        return {};
    }
    std::ostringstream text;
    text << "depth " << depth << ": reference (" << expected.X << ", " << expected.Y << ") value "
         << expected.Value << ", fast (" << actual.X << ", " << actual.Y << ") value "
         << actual.Value << "\n"
         << BoardText(board);
    return text.str();
}

std::string CompareLevel(const TBoard& board, int level) {
    const int depth = ChooseDepth(level, board.GetCount(cellEmpty));
    const TReferenceAnswer expected = ReferenceSearch(board, depth);
    const TFastAnswer fast = FastSearch(ToFastPosition(board), depth);
    TSage sage;
    sage.SetLevel(level);
    int x = -9;
    int y = -9;
    const bool moved = sage.Think(board, &x, &y);
    const bool mustPass = board.MustPass();
    const bool thinkAgrees =
        moved ? !mustPass && x == expected.X && y == expected.Y : mustPass && x == -9 && y == -9;
    if (thinkAgrees && fast.X == expected.X && fast.Y == expected.Y &&
        fast.Value == expected.Value) {
        return {};
    }
    std::ostringstream text;
    text << "level " << level << " depth " << depth << ": reference (" << expected.X << ", "
         << expected.Y << ") value " << expected.Value << ", fast (" << fast.X << ", " << fast.Y
         << ") value " << fast.Value << ", Think " << moved << " (" << x << ", " << y << ")\n"
         << BoardText(board);
    return text.str();
}

std::string BoardText(const TBoard& board) {
    std::string text;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int cell = board.GetCell(x, y);
            text += cell == cellBlack ? 'X' : cell == cellWhite ? 'O' : '.';
        }
        text += '\n';
    }
    text += board.GetTurn() == cellBlack ? "Black" : "White";
    text += " to move, passes " + std::to_string(board.passes) + "\n";
    return text;
}
