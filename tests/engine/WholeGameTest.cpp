#include "ComparePositions.h"
#include "engine/discsage.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

// {Black's level, White's level, every move ("x,y" or "pass"), final Black, White and empty}
struct TGameCase {
    int black, white;
    const char* moves;
    int blackDiscs, whiteDiscs, empties;
};

// Games with the computer on both sides, as the game scene plays them: Think for the side to
// move, then Place, or Pass when Think answers false.
TEST(WholeGame, EachPairingOfLevelsPlaysItsOwnGameMoveForMove) {
    const TGameCase games[] = {
        {1, 1,
         "3,2 2,2 2,3 4,2 5,2 2,4 1,3 6,1 3,1 3,0 5,3 1,1 7,0 5,4 2,5 6,3 7,3 3,5 4,5 4,6 2,1 1,2 "
         "2,0 4,1 1,0 0,0 5,1 4,0 5,6 3,6 5,0 6,0 3,7 1,4 0,2 1,5 0,4 5,5 6,6 7,7 6,4 0,3 0,1 7,4 "
         "1,6 0,5 0,6 0,7 7,2 6,7 7,5 6,2 7,1 5,7 2,6 2,7 4,7 6,5 7,6 pass 1,7",
         32, 32, 0},
        // Ends by two passes with one square empty.
        {1, 5,
         "3,2 2,2 2,3 4,2 5,2 2,4 1,3 0,2 1,2 6,2 4,5 5,3 1,1 3,5 5,5 6,5 6,3 0,0 0,3 1,4 0,1 0,4 "
         "6,6 7,7 2,5 1,6 2,6 1,7 4,1 6,1 0,5 2,1 1,0 2,0 4,6 0,6 3,1 3,0 7,0 5,6 0,7 4,0 2,7 5,4 "
         "7,1 5,1 3,6 6,4 7,3 1,5 7,6 6,7 pass 7,2 pass 7,5 pass 5,0 pass 7,4 pass 5,7 pass 4,7 "
         "pass 3,7 pass pass",
         6, 57, 1},
    };
    for (const TGameCase& game : games) {
        SCOPED_TRACE("levels " + std::to_string(game.black) + " and " + std::to_string(game.white));
        TSage sages[2];
        sages[0].SetLevel(game.black);
        sages[1].SetLevel(game.white);
        TBoard board;
        std::ostringstream moves; // each move after a space
        for (int ply = 0; !board.IsGameOver(); ++ply) {
            ASSERT_LT(ply, kMaxPlies) << "the game does not end:" << moves.str();
            int x = -1;
            int y = -1;
            if (sages[board.GetTurn() == cellWhite].Think(board, &x, &y)) {
                ASSERT_TRUE(board.Place(x, y)) << "illegal answer " << x << "," << y << "\n"
                                               << BoardText(board);
                moves << ' ' << x << ',' << y;
            } else {
                ASSERT_TRUE(board.Pass()) << "Think passed with a move left\n" << BoardText(board);
                moves << " pass";
            }
        }
        EXPECT_EQ(moves.str(), std::string(" ") + game.moves);
        EXPECT_EQ(board.GetCount(cellBlack), game.blackDiscs);
        EXPECT_EQ(board.GetCount(cellWhite), game.whiteDiscs);
        EXPECT_EQ(board.GetCount(cellEmpty), game.empties);
    }
}
