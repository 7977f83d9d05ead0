#include "engine/discsage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One game with the computer on both sides, as the game scene plays it: Think for the side to
// move, then Place, or Pass when Think answers false.
struct TGameRecord {
    std::vector<std::string> moves; // "x,y" or "pass"
    TBoard final;
};

TGameRecord PlayGame(int blackLevel, int whiteLevel) {
    TSage black;
    TSage white;
    black.SetLevel(blackLevel);
    white.SetLevel(whiteLevel);
    TGameRecord record;
    TBoard& board = record.final;
    while (!board.IsGameOver()) {
        const TSage& sage = board.GetTurn() == cellBlack ? black : white;
        int x = -1;
        int y = -1;
        if (sage.Think(board, &x, &y)) {
            if (!board.Place(x, y)) {
                ADD_FAILURE() << "illegal answer " << x << "," << y;
                break;
            }
            record.moves.push_back(std::to_string(x) + "," + std::to_string(y));
        } else {
            if (!board.Pass()) {
                ADD_FAILURE() << "Think passed with a move available";
                break;
            }
            record.moves.push_back("pass");
        }
    }
    return record;
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

int Count(const std::vector<std::string>& moves, const std::string& what) {
    int n = 0;
    for (const std::string& m : moves) {
        n += m == what;
    }
    return n;
}

} // namespace

TEST(WholeGame, PoorAgainstPoorDrawsThirtyTwoAll) {
    const TGameRecord game = PlayGame(1, 1);
    const std::vector<std::string> firstTen{"3,2", "2,2", "2,3", "4,2", "5,2",
                                            "2,4", "1,3", "6,1", "3,1", "3,0"};
    ASSERT_GE(game.moves.size(), firstTen.size());
    EXPECT_EQ(std::vector<std::string>(game.moves.begin(), game.moves.begin() + 10), firstTen);
    EXPECT_EQ(game.moves.size(), 61u);
    EXPECT_EQ(Count(game.moves, "pass"), 1);
    EXPECT_EQ(game.final.GetCount(cellEmpty), 0);
    EXPECT_EQ(game.final.GetCount(cellBlack), 32);
    EXPECT_EQ(game.final.GetCount(cellWhite), 32);
    // The whole game, move for move.
    EXPECT_EQ(game.moves,
              Split("3,2 2,2 2,3 4,2 5,2 2,4 1,3 6,1 3,1 3,0 5,3 1,1 7,0 5,4 2,5 6,3 7,3 3,5 4,5 "
                    "4,6 2,1 1,2 2,0 4,1 1,0 0,0 5,1 4,0 5,6 3,6 5,0 6,0 3,7 1,4 0,2 1,5 0,4 "
                    "5,5 6,6 7,7 6,4 0,3 0,1 7,4 1,6 0,5 0,6 0,7 7,2 6,7 7,5 6,2 7,1 5,7 2,6 "
                    "2,7 4,7 6,5 7,6 pass 1,7"));
}

TEST(WholeGame, EasyAgainstEasyFillsTheBoardFiftyThreeToEleven) {
    const TGameRecord game = PlayGame(3, 3);
    EXPECT_EQ(game.final.GetCount(cellEmpty), 0);
    EXPECT_EQ(game.final.GetCount(cellBlack), 53);
    EXPECT_EQ(game.final.GetCount(cellWhite), 11);
    EXPECT_EQ(game.moves,
              Split("3,2 2,2 1,2 3,5 3,6 2,4 4,5 4,2 2,3 5,4 2,5 1,5 5,5 2,1 5,2 6,5 6,3 6,4 "
                    "1,3 0,3 4,6 3,7 5,7 5,1 7,3 5,3 7,6 7,5 7,4 1,1 0,5 7,2 7,1 5,6 5,0 0,2 "
                    "0,0 2,6 0,1 0,4 6,2 3,1 1,0 3,0 1,4 6,1 4,1 6,6 6,7 6,0 7,0 4,7 7,7 4,0 "
                    "2,0 0,6 0,7 pass 1,7 1,6 2,7"));
}

TEST(WholeGame, PoorAsBlackAgainstHardEndsByTwoPassesWithOneSquareEmpty) {
    const TGameRecord game = PlayGame(1, 5);
    ASSERT_GE(game.moves.size(), 2u);
    EXPECT_EQ(game.moves[game.moves.size() - 1], "pass");
    EXPECT_EQ(game.moves[game.moves.size() - 2], "pass");
    EXPECT_EQ(game.final.passes, 2);
    EXPECT_EQ(game.final.GetCount(cellEmpty), 1);
    EXPECT_EQ(game.final.GetCount(cellBlack), 6);
    EXPECT_EQ(game.final.GetCount(cellWhite), 57);
    EXPECT_EQ(game.moves,
              Split("3,2 2,2 2,3 4,2 5,2 2,4 1,3 0,2 1,2 6,2 4,5 5,3 1,1 3,5 5,5 6,5 6,3 0,0 "
                    "0,3 1,4 0,1 0,4 6,6 7,7 2,5 1,6 2,6 1,7 4,1 6,1 0,5 2,1 1,0 2,0 4,6 0,6 "
                    "3,1 3,0 7,0 5,6 0,7 4,0 2,7 5,4 7,1 5,1 3,6 6,4 7,3 1,5 7,6 6,7 pass 7,2 "
                    "pass 7,5 pass 5,0 pass 7,4 pass 5,7 pass 4,7 pass 3,7 pass pass"));
}
