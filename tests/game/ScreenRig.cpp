#include "ScreenRig.h"

#include <cmath>

#include <gtest/gtest.h>

#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "device/StepSine.h"
#include "game/GameAnimation.h"
#include "game/GameHistory.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/Screens.h"
#include "game/TitleMouse.h"
#include "game/TitleScreens.h"
#include "platform/RecordingPresent.h"
#include "platform/Text.h"
#include "platform/Timers.h"
#include "scene/Camera.h"
#include "scene/Solidboard.h"

namespace {

// Text drawn through DrawScreenText, one item per font made: the last draw with the font is the
// coloured line in its own place (the four before it are its outline).
class TItemText final : public TTextDevice {
  public:
    std::vector<TTextItem> Items;

    int32_t GetDC() override { return 0; }
    int32_t ReleaseDC() override { return 0; }
    HFONT CreateFont(const char*, int) override {
        Items.push_back(TTextItem{});
        return static_cast<HFONT>(Items.size());
    }
    void DeleteFont(HFONT) override {}
    void DrawText(HFONT font, const char* text, const RECT& rect, COLORREF color) override {
        if (font != 0 && font <= Items.size()) {
            Items[font - 1] = TTextItem{text, static_cast<int>(rect.top), color};
        }
    }
};

} // namespace

struct TScreenRig::TParts {
    TRecordingLog Log{1 << 16};
    TRecordingDirect3D Direct3D{Log};
    TItemText Text;
    TRecordingPresenter Presenter{&Direct3D, &Text};
};

TScreenRig::TScreenRig() : Parts(std::make_unique<TParts>()) {
    FillSinTable();
    ResetMessageQueue();
    RuntimeSrand(1);
    SetDeviceSources(TDeviceSources{&Parts->Presenter, nullptr, nullptr});
    if (InitGraphics(nullptr) != DD_OK) {
        ADD_FAILURE() << "graphics set-up failed: " << GraphicsFailure();
    }
    // Every screen global as the program starts.
    g_scene = sceneTitle;
    g_titleState = tsInit;
    g_gameState = gsStart;
    g_stateTime = 0;
    g_menuCursor = 0;
    g_levelCursor = kLevelCursorOpen;
    g_configCursor = 0;
    g_gameBoard = TBoard();
    g_shownBoard = TBoard();
    g_sage = TSage();
    g_playerType[cellBlack] = playerHuman;
    g_playerType[cellWhite] = playerHuman;
    g_cursorX = 3;
    g_cursorY = 3;
    g_lastMove = TLastMove();
    g_waitTime = 0;
    g_moveSoundToggle = false;
    std::fill(std::begin(g_keyState), std::end(g_keyState), 0);
    g_mouse = TMouseFrame{};
    ResetTitleMouse();
    ClearGameHistory();
    g_takingBack = false;
    ResetSettings();
}

TScreenRig::~TScreenRig() {
    ReleaseGraphics();
    SetDeviceSources(TDeviceSources{});
    ResetMessageQueue();
    ResetSettings();
}

void TScreenRig::Frame(std::initializer_list<int> keys) {
    std::fill(std::begin(g_keyState), std::end(g_keyState), 0);
    for (int key : keys) {
        g_keyState[key] = KEY_TRIGGERED | KEY_HELD;
    }
    g_mouse = MouseNext;
    MouseNext.Moved = MouseNext.LeftClick = MouseNext.RightClick = false;
    MouseNext.Wheel = 0;
    Parts->Log.Clear();
    Parts->Text.Items.clear();
    RunScreens();
    // Every sound request arms the timer of its id: read them off, and empty the table.
    for (int id = 0; id < sndCount; ++id) {
        const int64_t remaining = MainTimers().RemainingMs(kSoundTimerBase + id, Clock.Now());
        if (remaining >= 0) {
            SoundLog.push_back(TSoundRequest{id, static_cast<uint32_t>(remaining)});
        }
    }
    MainTimers().Clear();
}

void TScreenRig::MoveMouse(double x, double y) {
    MouseNext = TMouseFrame{true, x, y, true};
    Frame();
}

void TScreenRig::Click(double x, double y, bool right) {
    MouseNext.Moved = !MouseNext.HasPosition || MouseNext.X != x || MouseNext.Y != y;
    MouseNext.HasPosition = true;
    MouseNext.X = x;
    MouseNext.Y = y;
    (right ? MouseNext.RightClick : MouseNext.LeftClick) = true;
    Frame();
}

void TScreenRig::Press(int key, int times) {
    for (int i = 0; i < times; ++i) {
        Frame({key});
        Frame();
    }
}

void TScreenRig::RunFor(uint32_t ms, std::initializer_list<int> keys, uint32_t frameMs) {
    for (uint32_t passed = 0; passed < ms; passed += frameMs) {
        Clock.Advance(frameMs);
        Frame(keys);
    }
}

bool TScreenRig::RunUntilGameState(int state, uint32_t ms) {
    for (uint32_t passed = 0; passed <= ms; passed += 20) {
        if (g_scene == sceneGame && g_gameState == state) {
            return true;
        }
        Clock.Advance(20);
        Frame();
    }
    return false;
}

void TScreenRig::StartGame(int black, int white) {
    g_playerType[cellBlack] = black;
    g_playerType[cellWhite] = white;
    g_scene = sceneGame;
    g_gameState = gsStart;
    Frame();
    EXPECT_TRUE(RunUntilGameState(gsHuman)) << "no human turn";
    ClearSounds();
}

bool TScreenRig::MoveCursorTo(int x, int y) {
    for (int presses = 0; presses < 16 && (g_cursorX != x || g_cursorY != y); ++presses) {
        Press(g_cursorX < x ? keyRight : g_cursorX > x ? keyLeft : g_cursorY < y ? keyDown : keyUp);
    }
    EXPECT_TRUE(g_cursorX == x && g_cursorY == y) << "the cursor cannot reach " << x << ", " << y;
    return g_cursorX == x && g_cursorY == y;
}

std::vector<TSoundRequest> TScreenRig::SoundsOf(int id) const {
    std::vector<TSoundRequest> found;
    std::copy_if(SoundLog.begin(), SoundLog.end(), std::back_inserter(found),
                 [id](const TSoundRequest& request) { return request.Id == id; });
    return found;
}

const std::vector<TTextItem>& TScreenRig::Texts() const {
    return Parts->Text.Items;
}

const TTextItem* TScreenRig::FindText(const std::string& text) const {
    for (const TTextItem& item : Parts->Text.Items) {
        if (item.Text == text) {
            return &item;
        }
    }
    return nullptr;
}

std::string TScreenRig::Yellow() const {
    for (const TTextItem& item : Parts->Text.Items) {
        if (item.Colour == 0x00FFFF) {
            return item.Text;
        }
    }
    return "";
}

const TRecordingLog& TScreenRig::Log() const {
    return Parts->Log;
}

TRgb BoardColourDrawn(const TRecordingLog& log) {
    // The board's first batch is its 64 squares; their material is the board colour.
    const auto& calls = log.GetCalls();
    for (size_t i = 0; i + 1 < calls.size(); ++i) {
        if (calls[i].Kind == callSetMaterial && calls[i + 1].Kind == callDrawPrimitive &&
            calls[i + 1].Type == D3DPT_TRIANGLEFAN && calls[i + 1].Count == 4) {
            const D3DCOLORVALUE& d = calls[i].Material().diffuse;
            return {static_cast<int>(std::lround(d.r * 255)),
                    static_cast<int>(std::lround(d.g * 255)),
                    static_cast<int>(std::lround(d.b * 255))};
        }
    }
    return {};
}

TScreenPoint ScreenPointOfSquare(int column, int row) {
    const TMatrix m = MatrixMultiply(g_camera->View, g_camera->Projection);
    const float x = static_cast<float>(CellToWorld(column));
    const float y = static_cast<float>(CellToWorld(row));
    const float cx = x * m._11 + y * m._21 + m._41;
    const float cy = x * m._12 + y * m._22 + m._42;
    const float w = x * m._14 + y * m._24 + m._44;
    return {(cx / w + 1.0) * 320.0, (0.75 - cy / w) / 1.5 * 480.0};
}
