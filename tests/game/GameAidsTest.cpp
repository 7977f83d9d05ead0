#include <map>
#include <regex>

#include "ManualWorker.h"
#include "ScreenRig.h"
#include "engine/PositionText.h"
#include "game/GameAids.h"
#include "game/GameAnalysis.h"
#include "game/GameHint.h"
#include "scene/Solidring.h"

namespace {

// Positions of real games, each line as the common text form writes it.
// kExactEmpties empty squares, Black to move: Extreme plays b7 (-8), the solver e7 (+4, the only
// best).
constexpr const char* kLate = "X-OO-X---XOOXX-XXOXXXOX-OOOXOOOO-OXXOXO-OXOOXOXXO-OX-X-XO----X-- X";
// One more empty square, White to move: Extreme plays c7.
constexpr const char* kOpen = "X-OO-X---XOOXX-XXOXXXOX-OOOXOOOO-OXXOXO-OXOXXOXXO--X-X-XO----X-- O";
// Twelve empty squares, Black to move; the exact value of each move (c1, b7, a8, d8, e8, g8).
constexpr const char* kShort = "OO-----XXOOXXXXXOOOOXXXXOOXOXXOXOXOOOOXXOOXOXXXXO-XOOOX---X--O-X X";
const std::map<int, std::string> kShortValues = {{2, "0"},   {49, "-10"}, {56, "+6"},
                                                 {59, "+4"}, {60, "0"},   {62, "+6"}};

TBoard BoardOfText(const char* text) {
    TPositionText p;
    std::string reason;
    EXPECT_EQ(ParsePositionText(text, &p, &reason), TPositionParse::Position) << reason;
    return RequestBoard(TSearchRequest{p.Black, p.White, p.BlackToMove});
}

// A value's text and colour, by square.
using TValues = std::map<int, std::pair<std::string, uint32_t>>;

class GameAidsTest : public ::testing::Test {
  protected:
    GameAidsTest() {
        SetSearchWorker(&Computer);
        SetHintWorker(&Hints);
        SetAnalysisWorker(&Analysis);
    }
    ~GameAidsTest() override {
        SetAnalysisWorker(nullptr);
        SetHintWorker(nullptr);
        SetSearchWorker(nullptr);
        g_analysisOn = false;
    }

    // A game of these players showing `text`'s position, up to the human's turn there.
    void ShowPosition(const char* text, int black = playerHuman, int white = playerHuman) {
        Rig.StartGame(black, white);
        Rig.ShowBoard(BoardOfText(text));
        ASSERT_EQ(g_gameState, gsHuman);
    }

    // The analysis's values in the last frame, by the square they are centred on: each a signed
    // number (or "0") in colour, within two pixels of where the camera shows the square's centre.
    TValues DrawnValues() const {
        static const std::regex value("[+-][1-9][0-9]?|0");
        TValues drawn;
        for (const TTextCall& call : Rig.TextCalls()) {
            if (call.Kind != textDrawText || call.Color == 0 ||
                !std::regex_match(call.Text, value)) {
                continue;
            }
            const double x = (call.Rect.left + call.Rect.right) / 2.0;
            const double y = (call.Rect.top + call.Rect.bottom) / 2.0;
            int found = -1;
            for (int square = 0; square < 64; ++square) {
                const TScreenPoint p = ::ScreenPointOfSquare(square % 8, square / 8);
                if (std::abs(p.X - x) <= 2.0 && std::abs(p.Y - y) <= 2.0) {
                    found = square;
                }
            }
            EXPECT_GE(found, 0) << call.Text << " off every square's centre";
            EXPECT_EQ(drawn.count(found), 0u) << "two values on square " << found;
            drawn[found] = {call.Text, call.Color};
        }
        return drawn;
    }

    TManualWorker Computer, Hints, Analysis;
    TScreenRig Rig;
};

// The frames go on while the hint thinks; its answer moves the cursor in the next frame, with
// the cursor's step, and plays nothing. Before the point the analysis rings Extreme's move.
TEST_F(GameAidsTest, TheHintIsTheSolversMoveFromThePointAndExtremesBefore) {
    for (const char* text : {kLate, kOpen}) {
        SCOPED_TRACE(text);
        ShowPosition(text);
        const TBoard board = g_gameBoard;
        std::tie(g_cursorX, g_cursorY) = std::pair(0, 0);
        Rig.Press(keyHint);
        const TSearchRequest asked = Hints.Requests.back();
        EXPECT_TRUE(text == kLate ? asked.Kind == TSearchKind::Exact
                                  : asked.Kind == TSearchKind::Level && asked.Level == kHintLevel);
        EXPECT_TRUE(SamePosition(RequestBoard(asked), board));
        Rig.RunFor(200);
        EXPECT_EQ(std::pair(g_cursorX, g_cursorY), std::pair(0, 0)) << "moved before the answer";
        Rig.Sounds.clear();
        Hints.Finish();
        Rig.Frame();
        EXPECT_EQ(std::pair(g_cursorX, g_cursorY),
                  text == kLate ? std::pair(4, 6) : EngineMove(board, kHintLevel));
        EXPECT_EQ(Rig.CursorSounds(), 1);
        EXPECT_TRUE(SameBoard(g_gameBoard, board) && g_gameState == gsHuman) << "the hint played";
        Rig.Press(keyAnalysis);
        const TSearchRequest analysed = Analysis.Requests.back();
        EXPECT_TRUE(Rig.DrawnIn(TSolidRing::kPreferredColour).empty());
        Analysis.Finish();
        Rig.Frame();
        if (text == kLate) {
            EXPECT_EQ(analysed.Kind, TSearchKind::ExactMove);
            Rig.Press(keyAnalysis);
            Analysis.Finish(); // the search left behind ends
            continue;
        }
        EXPECT_TRUE(analysed.Kind == TSearchKind::Level && analysed.Level == kHintLevel);
        EXPECT_EQ(Rig.DrawnIn(TSolidRing::kPreferredColour),
                  (std::vector{std::pair(CellToWorld(g_cursorX), CellToWorld(g_cursorY))}));
        EXPECT_TRUE(DrawnValues().empty());
        Rig.PlayAt(g_cursorX, g_cursorY);
        EXPECT_TRUE(Rig.DrawnIn(TSolidRing::kPreferredColour).empty())
            << "the ring outlived its turn";
    }
    EXPECT_TRUE(Hints.Waits == 0 && Computer.Requests.empty())
        << "a frame waited, or the computer was asked";
}

// A hint asked again goes on; a move, leaving or a new game stops it, so it never moves the
// cursor of another position, even the same position of the next game.
TEST_F(GameAidsTest, AHintForAnotherPositionNeverShows) {
    ShowPosition(kLate);
    Rig.Press(keyHint);
    Rig.Press(keyHint);
    EXPECT_EQ(Hints.Requests.size(), 1u) << "asked twice for one position";
    Rig.PlayAt(1, 6); // b7
    EXPECT_EQ(Hints.Stops, 1);
    Hints.Finish();
    Rig.RunFor(3000);
    EXPECT_EQ(std::pair(g_cursorX, g_cursorY), std::pair(1, 6)) << "a stale hint";

    Rig.StartGame(playerHuman, playerHuman);
    Rig.Press(keyHint);
    ReturnToTitle();
    Rig.RunFor(100);
    EXPECT_EQ(Hints.Stops, 2);
    Rig.StartGame(playerHuman, playerHuman); // the same position, in another game
    std::tie(g_cursorX, g_cursorY) = std::pair(7, 7);
    Hints.Finish();
    Rig.RunFor(200);
    EXPECT_EQ(std::pair(g_cursorX, g_cursorY), std::pair(7, 7)) << "a hint of the last game";
    Rig.Press(keyHint); // the search stopped earlier has ended: asked anew
    Hints.Finish();
    Rig.Frame();
    EXPECT_EQ(std::pair(g_cursorX, g_cursorY), EngineMove(TBoard(), kHintLevel));
}

// In scan order, from the mover's side, centred on its square; once all are known the best turn
// green. No ring shows with them. A again hides them.
TEST_F(GameAidsTest, TheAnalysisShowsEachExactValueAsItsSearchEnds) {
    ShowPosition(kShort);
    Rig.Press(keyAnalysis);
    TValues expected;
    for (const auto& [square, value] : kShortValues) {
        SCOPED_TRACE(square);
        const TSearchRequest& asked = Analysis.Requests.at(expected.size());
        EXPECT_TRUE(asked.Kind == TSearchKind::ExactMove && asked.Square == square);
        EXPECT_TRUE(SamePosition(RequestBoard(asked), g_gameBoard));
        Rig.Frame();
        EXPECT_EQ(DrawnValues(), expected) << "before its answer";
        Analysis.Finish();
        Rig.Frame();
        expected[square] = {value, kColourWhite};
        if (expected.size() == kShortValues.size()) {
            expected[56] = expected[62] = {"+6", kColourGreen}; // a8, g8
        }
        EXPECT_EQ(DrawnValues(), expected);
    }
    EXPECT_TRUE(Rig.DrawnIn(TSolidRing::kPreferredColour).empty()) << "a ring beside the numbers";
    EXPECT_EQ(Analysis.Waits, 0);
    Rig.Press(keyAnalysis);
    EXPECT_TRUE(DrawnValues().empty());
}

// No value shows while the discs move or the computer thinks, nor a late answer; the next human
// turn's position is worked out anew, and so is a position an undo goes back to.
TEST_F(GameAidsTest, AMovePlayedMeanwhileStopsTheWorkAndNoStaleValueShows) {
    ShowPosition(kShort, playerHuman, playerComputer);
    Rig.Press(keyAnalysis);
    Analysis.Finish();
    Rig.Frame();
    ASSERT_EQ(DrawnValues().size(), 1u);
    const uint32_t start = Rig.PlayAt(6, 7); // g8, while b7's value is worked out
    EXPECT_EQ(Analysis.Stops, 1);
    EXPECT_TRUE(DrawnValues().empty()) << "a value over the falling disc";
    Analysis.Finish(); // the answer for the position left behind
    while (g_gameState != gsHuman && Rig.Clock.Now() - start < 20000) {
        Rig.Clock.Advance(20);
        Rig.Frame();
        ASSERT_TRUE(DrawnValues().empty()) << "a value in state " << g_gameState;
        if (g_gameState == gsComputer) {
            Computer.Finish();
        }
    }
    ASSERT_EQ(Analysis.Requests.size(), 3u) << "the new position not asked about";
    EXPECT_TRUE(SamePosition(RequestBoard(Analysis.Requests.back()), g_gameBoard));
    Analysis.Finish();
    Rig.Frame();
    EXPECT_EQ(DrawnValues(), (TValues{{2, {"+8", kColourWhite}}})) << "c1, the first legal square";

    Rig.Press(keyUndo); // back to the first position, the same side to move
    ASSERT_TRUE(Rig.RunUntil(gsHuman));
    EXPECT_EQ(Analysis.Stops, 2);
    EXPECT_TRUE(DrawnValues().empty()) << "values of the position taken back";
    Analysis.Finish();
    Rig.Frame();
    EXPECT_TRUE(DrawnValues().empty());
    EXPECT_TRUE(SamePosition(RequestBoard(Analysis.Requests.back()), BoardOfText(kShort)) &&
                Analysis.Requests.back().Square == 2);

    ReturnToTitle(); // leaving stops the work too
    Rig.Frame();
    EXPECT_EQ(Analysis.Stops, 3);
}

} // namespace
