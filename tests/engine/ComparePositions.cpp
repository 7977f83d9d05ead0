#include "ComparePositions.h"

#include "engine/FastBridge.h"
#include "engine/PositionText.h"
#include "engine/discsage.h"

#include <gtest/gtest.h>

#include <sstream>

TBoard BoardFromRows(const char* rows, int turn) {
    TBoard board;
    for (int square = 0; square < 64; ++square) {
        board.SetCell(square % 8, square / 8, cellEmpty);
    }
    for (int x = 0, y = 0; *rows != '\0' && y < kBoardSize; ++rows) {
        if (*rows == '/') {
            x = 0;
            ++y;
        } else if (x < kBoardSize) {
            const int cell = *rows == 'X' ? cellBlack : *rows == 'O' ? cellWhite : cellEmpty;
            board.SetCell(x++, y, cell);
        }
    }
    board.turn = turn;
    return board;
}

TSearchRequest RequestOfText(const std::string& line) {
    TPositionText position;
    std::string reason;
    EXPECT_EQ(ParsePositionText(line, &position, &reason), TPositionParse::Position) << reason;
    return TSearchRequest{position.Black, position.White, position.BlackToMove};
}

std::string BoardText(const TBoard& board) {
    std::string text;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const int cell = board.GetCell(x, y);
            text += cell == cellBlack ? 'X' : cell == cellWhite ? 'O' : '.';
        }
        text += '\n';
    }
    return text + (board.GetTurn() == cellBlack ? "Black" : "White") + " to move, passes " +
           std::to_string(board.passes) + "\n";
}

std::vector<TBoard> RandomGame(TRandom& random) {
    std::vector<TBoard> positions{TBoard()};
    for (TBoard board; !board.IsGameOver();) {
        std::vector<int> squares;
        for (int square = 0; square < 64; ++square) {
            if (board.CanPlace(square % 8, square / 8)) {
                squares.push_back(square);
            }
        }
        const int square = squares.empty() ? -1 : squares[random() % squares.size()];
        if (!(square < 0 ? board.Pass() : board.Place(square % 8, square / 8)) ||
            positions.size() == kMaxPlies) {
            ADD_FAILURE() << "the board refuses the legal move " << square
                          << ", or the game runs past " << kMaxPlies << " plies\n"
                          << BoardText(board);
            break;
        }
        positions.push_back(board);
    }
    return positions;
}

bool PlayoutTo(TRandom& random, int empties, TBoard& board) {
    for (const TBoard& position : RandomGame(random)) {
        if (position.GetCount(cellEmpty) <= empties) {
            board = position;
            return !board.IsGameOver();
        }
    }
    return false;
}

std::string CompareSearch(const TBoard& board, int depth, TReferenceAnswer* reference) {
    TReferenceAnswer answer{};
    TReferenceAnswer* expected = reference != nullptr ? reference : &answer;
    *expected = ReferenceSearch(board, depth);
    const TFastAnswer fast = FastSearch(ToFastPosition(board), depth);
    TPhase node(phaseRoot, phaseRoot);
    node.Search(board, 0, depth);
    const TReferenceAnswer& e = *expected;
    if (!e.Spent && e.X == fast.X && e.Y == fast.Y && e.Value == fast.Value && e.X == node.x &&
        e.Y == node.y && e.Value == node.value) {
        return {};
    }
    std::ostringstream text;
    text << "depth " << depth << ": reference (" << e.X << ", " << e.Y << ") value " << e.Value
         << (e.Spent ? " (out of nodes)" : "") << ", fast (" << fast.X << ", " << fast.Y
         << ") value " << fast.Value << ", node (" << node.x << ", " << node.y << ") value "
         << node.value << "\n"
         << BoardText(board);
    return text.str();
}

std::string CompareLevel(const TBoard& board, int level) {
    TReferenceAnswer expected{};
    const std::string search =
        CompareSearch(board, ChooseDepth(level, board.GetCount(cellEmpty)), &expected);
    TSage sage;
    sage.SetLevel(level);
    int x = -9, y = -9;
    const bool moved = sage.Think(board, &x, &y);
    const bool none = board.MustPass() || board.IsGameOver();
    if (search.empty() &&
        (moved ? !none && x == expected.X && y == expected.Y : none && x == -9 && y == -9)) {
        return {};
    }
    std::ostringstream text;
    text << "level " << level << ": Think " << moved << " (" << x << ", " << y << ") "
         << (search.empty() ? BoardText(board) : search);
    return text.str();
}
