#include "game/GameRecord.h"

#include "game/GameHistory.h"

namespace {

constexpr int kMostMoves = 60; // the squares that are empty at the start

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendSquare(std::string& text, const TSquare& square) {
    text += static_cast<char>('a' + square.Column);
    text += static_cast<char>('1' + square.Row);
}

// Calls `each(before, after)` for every ply of the game in play, oldest first.
template <typename TEach> void ForEachPly(const TBoard& current, TEach each) {
    const size_t plies = GameHistorySize();
    for (size_t ply = 0; ply < plies; ++ply) {
        const TBoard& after = ply + 1 < plies ? GamePositionBefore(ply + 1) : current;
        each(GamePositionBefore(ply), after);
    }
}

} // namespace

bool PlyPlacedDisc(const TBoard& before, const TBoard& after, TSquare& square) {
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            if (before.GetCell(column, row) == cellEmpty &&
                after.GetCell(column, row) != cellEmpty) {
                square = {column, row};
                return true;
            }
        }
    }
    return false;
}

std::string GameRecordText(const TBoard& current) {
    std::string text;
    ForEachPly(current, [&text](const TBoard& before, const TBoard& after) {
        TSquare square{};
        if (PlyPlacedDisc(before, after, square)) {
            AppendSquare(text, square);
        }
    });
    return text;
}

bool LastPlacedDisc(const TBoard& current, TSquare& square) {
    bool found = false;
    ForEachPly(current, [&](const TBoard& before, const TBoard& after) {
        TSquare placed{};
        if (PlyPlacedDisc(before, after, placed)) {
            square = placed;
            found = true;
        }
    });
    return found;
}

bool ParseGameRecord(std::string_view text, std::vector<TSquare>& moves) {
    moves.clear();
    for (size_t i = 0; i < text.size();) {
        if (IsSeparator(text[i])) {
            ++i;
            continue;
        }
        if (i + 1 >= text.size() || moves.size() == kMostMoves) {
            return false;
        }
        const char column = Lower(text[i]);
        const char row = text[i + 1];
        if (column < 'a' || column > 'h' || row < '1' || row > '8') {
            return false;
        }
        moves.push_back({column - 'a', row - '1'});
        i += 2;
    }
    return !moves.empty();
}

bool ReplayGameRecord(const std::vector<TSquare>& moves, std::vector<TBoard>& befores,
                      TBoard& final) {
    befores.clear();
    TBoard board;
    for (const TSquare& move : moves) {
        if (board.IsGameOver()) {
            return false;
        }
        if (board.MustPass()) {
            befores.push_back(board);
            board.Pass();
        }
        if (!board.CanPlace(move.Column, move.Row)) {
            return false;
        }
        befores.push_back(board);
        board.Place(move.Column, move.Row);
    }
    // Neither side can move: the game ended with two passes, which are played too.
    if (!board.IsGameOver() && board.MustPass()) {
        TBoard other = board;
        other.Pass();
        if (other.MustPass()) {
            befores.push_back(board);
            befores.push_back(other);
            other.Pass();
            board = other;
        }
    }
    final = board;
    return true;
}
