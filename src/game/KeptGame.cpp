#include "game/KeptGame.h"

#include <cstring>
#include <optional>
#include <sstream>

#include "device/Sound.h"
#include "game/GameAnimation.h"
#include "game/GameHistory.h"
#include "game/GameRecord.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/ScreenInput.h"
#include "platform/Clock.h"
#include "platform/GameKeeper.h"

namespace {

constexpr const char* kHeader = "Octavane game 1";
constexpr const char* kPassText = "--";
// A game has at most 60 moves and fewer passes: more plies than this are not a game.
constexpr size_t kMostPlies = 128;

const char* PlayerText(int player) {
    return player == playerComputer ? "computer" : "human";
}

bool ParsePlayer(std::string_view word, int& player) {
    if (word == "human") {
        player = playerHuman;
    } else if (word == "computer") {
        player = playerComputer;
    } else {
        return false;
    }
    return true;
}

void AppendPly(std::string& text, const TBoard& before, const TBoard& after) {
    TSquare square{};
    text += ' ';
    if (PlyPlacedDisc(before, after, square)) {
        text += static_cast<char>('a' + square.Column);
        text += static_cast<char>('1' + square.Row);
    } else {
        text += kPassText;
    }
}

// Plays one ply written as text on `board`; false when it is not legal there.
bool PlayPly(std::string_view word, TBoard& board) {
    if (board.IsGameOver()) {
        return false;
    }
    if (word == kPassText) {
        return board.MustPass() && board.Pass();
    }
    if (word.size() != 2 || word[0] < 'a' || word[0] > 'h' || word[1] < '1' || word[1] > '8') {
        return false;
    }
    const int column = word[0] - 'a';
    const int row = word[1] - '1';
    return board.CanPlace(column, row) && board.Place(column, row);
}

// The words of one line that starts with `name`; false when the line is another.
bool ReadLine(std::istringstream& in, std::string_view name, std::vector<std::string>& words) {
    std::string line;
    if (!std::getline(in, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    std::istringstream lineIn(line);
    std::string first;
    if (!(lineIn >> first) || first != name) {
        return false;
    }
    words.clear();
    for (std::string word; lineIn >> word;) {
        words.push_back(word);
    }
    return true;
}

// What the keeper last had: nothing is handed on again until one of these changes.
struct TKeptState {
    bool Valid = false;
    bool Finished = false;
    uint32_t Changes = 0;
    TBoard Board;
    int Players[3] = {0, 0, 0};
    int Level = 0;
};
TKeptState g_kept;
std::optional<TKeptGame> g_offered;

bool SameAsKept(bool finished) {
    return g_kept.Valid && g_kept.Finished == finished && g_kept.Changes == GameHistoryChanges() &&
           std::memcmp(&g_kept.Board, &g_gameBoard, sizeof(TBoard)) == 0 &&
           std::memcmp(g_kept.Players, g_playerType, sizeof(g_kept.Players)) == 0 &&
           g_kept.Level == g_sage.GetLevel();
}

void NoteKept(bool finished) {
    g_kept.Valid = true;
    g_kept.Finished = finished;
    g_kept.Changes = GameHistoryChanges();
    g_kept.Board = g_gameBoard;
    std::memcpy(g_kept.Players, g_playerType, sizeof(g_kept.Players));
    g_kept.Level = g_sage.GetLevel();
}

} // namespace

std::string KeptGameText() {
    std::string text = kHeader;
    text += "\nplayers ";
    text += PlayerText(g_playerType[cellBlack]);
    text += ' ';
    text += PlayerText(g_playerType[cellWhite]);
    text += "\nlevel " + std::to_string(g_sage.GetLevel());
    text += "\nplies";
    const size_t plies = GameHistorySize();
    for (size_t ply = 0; ply < plies; ++ply) {
        const TBoard& after = ply + 1 < plies ? GamePositionBefore(ply + 1) : g_gameBoard;
        AppendPly(text, GamePositionBefore(ply), after);
    }
    text += "\nredo";
    const TBoard* before = &g_gameBoard;
    for (size_t i = 0; i < RedoLineSize(); ++i) {
        AppendPly(text, *before, RedoPosition(i));
        before = &RedoPosition(i);
    }
    text += '\n';
    return text;
}

bool ParseKeptGame(std::string_view text, TKeptGame& game) {
    std::istringstream in{std::string(text)};
    std::string header;
    std::vector<std::string> words;
    if (!std::getline(in, header) || header != kHeader) {
        return false;
    }
    if (!ReadLine(in, "players", words) || words.size() != 2 ||
        !ParsePlayer(words[0], game.Players[cellBlack]) ||
        !ParsePlayer(words[1], game.Players[cellWhite])) {
        return false;
    }
    TSage sage;
    if (!ReadLine(in, "level", words) || words.size() != 1 ||
        words[0].find_first_not_of("0123456789") != std::string::npos || words[0].size() > 2 ||
        !sage.SetLevel(std::stoi(words[0]))) {
        return false;
    }
    game.Level = sage.GetLevel();
    if (!ReadLine(in, "plies", words) || words.size() > kMostPlies) {
        return false;
    }
    game.Befores.clear();
    game.Current = TBoard();
    for (const std::string& word : words) {
        game.Befores.push_back(game.Current);
        if (!PlayPly(word, game.Current)) {
            return false;
        }
    }
    if (!ReadLine(in, "redo", words) || game.Befores.size() + words.size() > kMostPlies) {
        return false;
    }
    game.Redo.clear();
    TBoard board = game.Current;
    for (const std::string& word : words) {
        if (!PlayPly(word, board)) {
            return false;
        }
        game.Redo.push_back(board);
    }
    std::string rest;
    return !(in >> rest);
}

void KeepGameInPlay() {
    TGameKeeper* keeper = GameKeeper();
    if (keeper == nullptr || g_scene != sceneGame || g_gameState == gsStart) {
        return;
    }
    const bool finished = g_gameState == gsResult;
    if (SameAsKept(finished)) {
        return;
    }
    if (finished) {
        keeper->Forget();
    } else {
        keeper->Keep(KeptGameText());
    }
    NoteKept(finished);
}

void ForgetKeptGame() {
    g_kept = TKeptState{};
    g_offered.reset();
    if (TGameKeeper* keeper = GameKeeper()) {
        keeper->Forget();
    }
}

bool OfferKeptGame() {
    g_offered.reset();
    TGameKeeper* keeper = GameKeeper();
    std::string text;
    if (keeper == nullptr || !keeper->Kept(text)) {
        return false;
    }
    TKeptGame game;
    if (!ParseKeptGame(text, game) || game.Current.IsGameOver()) {
        keeper->Forget();
        return false;
    }
    g_offered = std::move(game);
    return true;
}

bool ResumeKeptGame() {
    if (!g_offered) {
        return false;
    }
    const TKeptGame game = std::move(*g_offered);
    g_offered.reset();
    // The game as it was: its players and level, its history for undo, its redo line.
    g_playerType[cellBlack] = game.Players[cellBlack];
    g_playerType[cellWhite] = game.Players[cellWhite];
    g_sage.SetLevel(game.Level);
    ClearGameHistory();
    for (const TBoard& before : game.Befores) {
        RecordGamePosition(before);
    }
    SetRedoLine(game.Redo);
    TSquare last{};
    g_gameBoard = game.Current;
    g_shownBoard = game.Current;
    g_lastMove = TLastMove{};
    if (LastPlacedDisc(g_gameBoard, last)) {
        g_lastMove.x = last.Column;
        g_lastMove.y = last.Row;
    }
    g_takingBack = false;
    NoteKept(false);
    // Shown as a game that starts at that position: the discs in place, the camera gliding to
    // the play view, the opening sound, then the next turn.
    g_scene = sceneGame;
    StartGameAnimation();
    StartPointerGlide();
    PlaySound(sndLeady, 0);
    g_waitTime = kMoveWaitMs;
    g_gameState = gsWait;
    g_stateTime = GetTickCount();
    return true;
}
