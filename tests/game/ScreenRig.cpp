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
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

namespace {

// Text drawn through DrawScreenText, one item per font made: the last draw with the font is the
// coloured line in its own place (the four before it are its outline).
class TItemText final : public TTextDevice {
  public:
    std::vector<TTextItem> Items;

    int32_t GetDC() override { return 0; }
    int32_t ReleaseDC() override { return 0; }
    HFONT CreateFont(const char* face, int height) override {
        Items.push_back(TTextItem{"", 0, 0, 0, 0, 0, face, height});
        return static_cast<HFONT>(Items.size());
    }
    void DeleteFont(HFONT) override {}
    void DrawText(HFONT font, const char* text, const RECT& rect, COLORREF color) override {
        if (font == 0 || font > Items.size()) {
            return;
        }
        TTextItem& item = Items[font - 1];
        item.Text = text;
        item.Left = rect.left;
        item.Top = rect.top;
        item.Right = rect.right;
        item.Bottom = rect.bottom;
        item.Colour = color;
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
    // The real set-up, on the recording devices.
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
    for (uint8_t& state : g_keyState) {
        state = 0;
    }
    g_mouse = TMouseFrame{};
    ResetTitleMouse();
    ClearGameHistory();
    g_takingBack = false;
    ShowMoves = 0;
    Parts->Log.Clear();
}

TScreenRig::~TScreenRig() {
    ReleaseGraphics();
    SetDeviceSources(TDeviceSources{});
    ResetMessageQueue();
}

void TScreenRig::Frame(std::initializer_list<int> keys) {
    for (uint8_t& state : g_keyState) {
        state = 0;
    }
    for (int key : keys) {
        g_keyState[key] = KEY_TRIGGERED | KEY_HELD;
    }
    g_mouse = MouseNext;
    MouseNext.Moved = MouseNext.LeftClick = MouseNext.RightClick = false;
    MouseNext.Wheel = 0;
    Parts->Log.Clear();
    Parts->Text.Items.clear();
    RunScreens();
    CollectSounds();
}

void TScreenRig::MoveMouse(double x, double y) {
    MouseNext.HasPosition = true;
    MouseNext.X = x;
    MouseNext.Y = y;
    MouseNext.Moved = true;
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

void TScreenRig::Press(int key) {
    Frame({key});
    Frame();
}

void TScreenRig::Press(int key, int times) {
    for (int i = 0; i < times; ++i) {
        Press(key);
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

// Every sound request arms the timer of its id; a frame's requests are read off the table and
// the table emptied, so the next frame's requests stand out.
void TScreenRig::CollectSounds() {
    const uint32_t now = Clock.Now();
    for (int id = 0; id < sndCount; ++id) {
        const int64_t remaining = MainTimers().RemainingMs(kSoundTimerBase + id, now);
        if (remaining >= 0) {
            SoundLog.push_back(TSoundRequest{id, static_cast<uint32_t>(remaining), now});
        }
    }
    MainTimers().Clear();
}

std::vector<TSoundRequest> TScreenRig::SoundsOf(int id) const {
    std::vector<TSoundRequest> found;
    for (const TSoundRequest& request : SoundLog) {
        if (request.Id == id) {
            found.push_back(request);
        }
    }
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

const TRecordingLog& TScreenRig::Log() const {
    return Parts->Log;
}

TRgb BoardColourDrawn(const TRecordingLog& log) {
    // The board's first batch is its 64 squares; their material is the board colour.
    TRgb colour;
    const auto& calls = log.GetCalls();
    for (size_t i = 0; i + 1 < calls.size(); ++i) {
        if (calls[i].Kind == callSetMaterial && calls[i + 1].Kind == callDrawPrimitive &&
            calls[i + 1].Type == D3DPT_TRIANGLEFAN && calls[i + 1].Count == 4) {
            const D3DMATERIAL& m = calls[i].Material();
            colour.R = static_cast<int>(std::lround(m.diffuse.r * 255));
            colour.G = static_cast<int>(std::lround(m.diffuse.g * 255));
            colour.B = static_cast<int>(std::lround(m.diffuse.b * 255));
            return colour;
        }
    }
    return colour;
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
