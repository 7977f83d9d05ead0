#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "device/StepSine.h"
#include "game/GameHistory.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/Screens.h"
#include "game/TextItems.h"
#include "game/TitleMouse.h"
#include "game/TitleScreens.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/PageControls.h"
#include "platform/Timers.h"
#include "platform/recording/RecordingDevice3D.h"
#include "platform/recording/RecordingPresent.h"
#include "platform/recording/RecordingText.h"
#include "scene/Camera.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidring.h"

// A bench for the screens: a clock moved by hand, the real scene on the recording device, the
// keys and the mouse set per frame, and each frame's sound requests and text written down.

constexpr uint32_t kYellow = 0x00FFFF; // the chosen line and the side to move

struct TScreenPoint {
    double X, Y;
};
using TSounds = std::vector<std::pair<int, int64_t>>; // (id, delay), sorted

class TScreenRig {
  public:
    TManualClock Clock{100000};
    TMouseFrame MouseNext;
    TSounds Sounds; // the requests of the frames so far, (id, delay)
    TRecordingLog Log{1 << 16};
    TRecordingClipboard Clip; // the system clipboard while the rig lives

    TScreenRig() {
        FillSinTable();
        ResetMessageQueue();
        RuntimeSrand(1);
        SetDeviceSources(TDeviceSources{&Presenter, nullptr, nullptr});
        EXPECT_EQ(InitGraphics(nullptr), DD_OK) << GraphicsFailure();
        // Every screen global as the program starts.
        g_scene = sceneTitle;
        g_titleState = tsInit;
        g_gameState = gsStart;
        g_stateTime = g_menuCursor = g_configCursor = 0;
        g_levelCursor = kLevelCursorOpen;
        g_gameBoard = g_shownBoard = TBoard();
        g_sage = TSage();
        g_playerType[cellBlack] = g_playerType[cellWhite] = playerHuman;
        g_cursorX = g_cursorY = 3;
        g_lastMove = TLastMove();
        g_waitTime = 0;
        g_moveSoundToggle = g_takingBack = false;
        std::fill(std::begin(g_keyState), std::end(g_keyState), 0);
        g_mouse = TMouseFrame{};
        g_inputKind = inputKeys;
        PageControls().Reset();
        ResetTitleMouse();
        ClearGameHistory();
        ResetSettings();
        SetClipboard(&Clip);
    }
    ~TScreenRig() {
        SetClipboard(nullptr);
        ReleaseGraphics();
        SetDeviceSources(TDeviceSources{});
    }

    // One frame with exactly these keys down and the mouse of MouseNext, whose events then go.
    void Frame(std::initializer_list<int> keys = {}) {
        std::fill(std::begin(g_keyState), std::end(g_keyState), 0);
        for (int key : keys) {
            g_keyState[key] = KEY_TRIGGERED | KEY_HELD;
        }
        g_mouse = MouseNext;
        MouseNext = TMouseFrame{MouseNext.HasPosition, MouseNext.X, MouseNext.Y};
        Log.Clear();
        Text.ClearLog();
        RunScreens();
        // A sound request arms the timer of its id: read them off and empty the table.
        for (int id = 0; id < sndCount; ++id) {
            const int64_t left = MainTimers().RemainingMs(kSoundTimerBase + id, Clock.Now());
            if (left >= 0) {
                Sounds.push_back({id, left});
            }
        }
        MainTimers().Clear();
    }
    void Press(int key, int times = 1) {
        for (int i = 0; i < times; ++i) {
            Frame({key});
            Frame();
        }
    }
    // Press `key`, then frames until the game is in `state` (see RunUntil).
    bool PressUntil(int key, int state = gsHuman, uint32_t ms = 10000) {
        Press(key);
        return RunUntil(state, ms);
    }
    // One frame with the mouse at p, moved there if it was elsewhere, with these clicks.
    void Mouse(TScreenPoint p, bool left = false, bool right = false) {
        const bool moved = !MouseNext.HasPosition || MouseNext.X != p.X || MouseNext.Y != p.Y;
        MouseNext = TMouseFrame{true, p.X, p.Y, moved, left, right};
        Frame();
    }
    // Frames every 20 ms for `ms`, these keys down in each.
    void RunFor(uint32_t ms, std::initializer_list<int> keys = {}) {
        for (uint32_t passed = 0; passed < ms; passed += 20) {
            Clock.Advance(20);
            Frame(keys);
        }
    }
    // Frames 20 ms apart until the game is in `state`; false if not within `ms`.
    bool RunUntil(int state, uint32_t ms = 10000) {
        for (uint32_t passed = 0; passed <= ms && g_gameState != state; passed += 20) {
            Clock.Advance(20);
            Frame();
        }
        return g_scene == sceneGame && g_gameState == state;
    }
    // The game in play goes on from `board`, as if it had been reached.
    void ShowBoard(const TBoard& board) {
        g_gameBoard = g_shownBoard = board;
        g_gameState = gsNextTurn;
        Sounds.clear();
        Frame();
    }
    // Space on (column, row) in a human's turn; the time the move's animation began.
    uint32_t PlayAt(int column, int row) {
        std::tie(g_cursorX, g_cursorY) = std::pair(column, row);
        Frame({keySpace});
        Frame();
        EXPECT_EQ(g_gameState, gsWait);
        return g_stateTime;
    }
    // A game of these players from its start to its first human turn (or `state`).
    void StartGame(int black, int white, int state = gsHuman) {
        g_playerType[cellBlack] = black;
        g_playerType[cellWhite] = white;
        g_scene = sceneGame;
        g_gameState = gsStart;
        Frame();
        EXPECT_TRUE(RunUntil(state)) << "never in state " << state;
        Sounds.clear();
    }
    // The sounds asked for since the list was last emptied, sorted; the list empties.
    TSounds TakeSounds() {
        TSounds heard;
        heard.swap(Sounds);
        std::sort(heard.begin(), heard.end());
        return heard;
    }
    // The knocks (a refusal's sound, at once) since the list was last emptied.
    int Knocks() const {
        return static_cast<int>(std::count_if(Sounds.begin(), Sounds.end(), [](auto& s) {
            return s == std::pair<int, int64_t>(sndDown, 0);
        }));
    }
    // The cursor's steps heard (its two alternating voices).
    int CursorSounds() const {
        return static_cast<int>(std::count_if(Sounds.begin(), Sounds.end(), [](auto& s) {
            return s.first == sndMove || s.first == sndMove2;
        }));
    }
    // The last frame's draw of this text (in this colour, if one is given), or null.
    const TTextCall* FindText(const std::string& text, uint32_t colour = 0) const {
        const auto& calls = Text.Calls();
        const auto it = std::find_if(calls.begin(), calls.end(), [&](const TTextCall& call) {
            return call.Kind == textDrawText && call.Text == text &&
                   (!colour || call.Color == colour);
        });
        return it == calls.end() ? nullptr : &*it;
    }
    // Where the draws of the last frame in this colour were put (x, y).
    std::vector<std::pair<double, double>> DrawnIn(const D3DCOLORVALUE& colour) const {
        std::vector<std::pair<double, double>> places;
        D3DMATRIX world{};
        bool chosen = false;
        for (const TRecordedCall& call : Log.GetCalls()) {
            if (call.Kind == callSetTransform && call.Type == D3DTRANSFORMSTATE_WORLD) {
                world = call.Matrix();
            } else if (call.Kind == callSetMaterial) {
                chosen = call.Material().diffuse == colour;
            } else if (call.Kind == callDrawPrimitive && chosen) {
                places.emplace_back(world._41, world._42);
            }
        }
        return places;
    }
    const std::vector<TTextCall>& TextCalls() const { return Text.Calls(); }
    // The height of the font a draw of the last frame was made with.
    int FontHeight(const TTextCall& draw) const {
        for (const TTextCall& call : Text.Calls()) {
            if (call.Kind == textCreateFont && call.Font == draw.Font) {
                return call.Height;
            }
        }
        return 0;
    }
    // The middle of a panel line of the last frame.
    TScreenPoint Line(const std::string& text) const {
        const TTextCall* item = FindText(text);
        EXPECT_NE(item, nullptr) << text;
        return item ? TScreenPoint{320, item->Rect.top + 8.0} : TScreenPoint{-1, -1};
    }

  private:
    TScopedClock UseClock{Clock};
    TRecordingDirect3D Direct3D{Log};
    TRecordingText Text;
    TRecordingPresenter Presenter{&Direct3D, &Text};
};

// Where the centre of square (column, row) shows on the logical screen, worked out forwards
// through the matrices the camera last gave the device.
inline TScreenPoint ScreenPointOfSquare(int column, int row) {
    const TMatrix m = MatrixMultiply(g_camera->View, g_camera->Projection);
    const float x = static_cast<float>(CellToWorld(column));
    const float y = static_cast<float>(CellToWorld(row));
    const float w = x * m._14 + y * m._24 + m._44;
    return {((x * m._11 + y * m._21 + m._41) / w + 1.0) * 320.0,
            (0.75 - (x * m._12 + y * m._22 + m._42) / w) / 1.5 * 480.0};
}

// A board of these discs (column, row, cell), Black to move.
inline TBoard BoardOf(std::initializer_list<std::tuple<int, int, int>> discs, int passes = 0) {
    TBoard board;
    for (int i = 0; i < 64; ++i) {
        board.SetCell(i % 8, i / 8, cellEmpty);
    }
    for (const auto& [x, y, cell] : discs) {
        board.SetCell(x, y, cell);
    }
    board.passes = passes;
    return board;
}
inline bool SameBoard(const TBoard& a, const TBoard& b) {
    return std::memcmp(&a, &b, sizeof(TBoard)) == 0;
}
// The game is at `board`, its discs shown and the overlay giving its counts and side to move.
inline void ExpectShown(const TScreenRig& rig, const TBoard& board) {
    ASSERT_TRUE(SameBoard(g_gameBoard, board) && SameBoard(g_shownBoard, board));
    char black[8], white[8];
    std::snprintf(black, sizeof black, "%2d", board.GetCount(cellBlack));
    std::snprintf(white, sizeof white, "%2d", board.GetCount(cellWhite));
    EXPECT_TRUE(rig.FindText(black) && rig.FindText(white)) << black << " - " << white;
    EXPECT_NE(rig.FindText(board.GetTurn() == cellBlack ? "Black" : "White", kYellow), nullptr);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(g_pieces[i]->Visible, board.GetCell(i % 8, i / 8) != cellEmpty) << i;
    }
}

// The engine's move at this level on `board`, (-1, -1) for a pass.
inline std::pair<int, int> EngineMove(const TBoard& board, int level) {
    TSage sage;
    sage.SetLevel(level);
    int x = -1, y = -1;
    return sage.Think(board, &x, &y) ? std::pair(x, y) : std::pair(-1, -1);
}

// One human turn played as level 1 would choose: Space on its square, or Enter for a pass; the
// square goes on the end of `record` (column a..h, row 1..8 from the top), when one is given.
inline void PlayLevelOneTurn(TScreenRig& rig, std::string* record = nullptr) {
    const auto [x, y] = EngineMove(g_gameBoard, 1);
    if (x >= 0) {
        std::tie(g_cursorX, g_cursorY) = std::pair(x, y);
        if (record != nullptr) {
            *record += {static_cast<char>('a' + x), static_cast<char>('1' + y)};
        }
        rig.Frame({keySpace});
    } else {
        rig.Frame({keyEnter});
    }
    ASSERT_EQ(g_gameState, gsAnimate);
}
