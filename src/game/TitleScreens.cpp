#include "game/TitleScreens.h"

#include <cstdio>

#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "device/Sound.h"
#include "device/StepSine.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/KeptGame.h"
#include "game/ScreenInput.h"
#include "game/TextItems.h"
#include "game/TitleLayout.h"
#include "platform/Clock.h"
#include "platform/PageControls.h"
#include "platform/Version.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/Solidboard.h"
#include "scene/Solidpiece.h"
#include "scene/Solidpointer.h"

int g_menuCursor = 0;
int g_levelCursor = kLevelCursorOpen;
int g_configCursor = 0;

namespace {

constexpr int kOrbitSegments = 64; // two laps of 32 steps; the segments repeat for ever
constexpr double kLightOrbitRadius = 500.0;
constexpr uint32_t kLightStepMs = 100; // 3.2 s a lap
constexpr double kEyeOrbitRadius = 2000.0;
constexpr uint32_t kEyeStepMs = 500; // 16 s a lap
constexpr uint32_t kEyeFirstStepMs = 100;
constexpr int kConfigBack = 5;
constexpr int kConfigFog = 3;
constexpr int kConfigSpeed = 4;

enum TMenuLine : int {
    menuBlack = 0,
    menuWhite = 1,
    menuTwoPlayers = 2,
    menuConfig = 3,
    menuExit = 4,
};

const char* const kMenuText[kMenuLines] = {"1 Player Game (Black)", "1 Player Game (White)",
                                           "2 Players Game", "Config", "[ EXIT ]"};

void SetTitleState(int state) {
    g_titleState = state;
    g_stateTime = GetTickCount();
}

void StartGame() {
    g_scene = sceneGame;
    g_gameState = gsStart;
    g_stateTime = GetTickCount();
}

void RunInit() {
    g_device->SetLightState(D3DLIGHTSTATE_MATERIAL, g_materialHandle);
    g_device->SetLightState(D3DLIGHTSTATE_AMBIENT, kSceneAmbient);
    // The light circles the centre at its current height, queued behind what it still has.
    TMovement3D& light = g_lights[1]->Position;
    for (int i = 0; i < kOrbitSegments; ++i) {
        light.X.AddSchedule(StepCos(-i) * kLightOrbitRadius, kLightStepMs, true);
        light.Y.AddSchedule(StepSin(-i) * kLightOrbitRadius, kLightStepMs, true);
    }
    // The eye circles the vertical axis; its height and the look-at point stay.
    TMovement3D& eye = g_camera->Eye;
    eye.X.AddSchedule(StepSin(-1) * kEyeOrbitRadius, kEyeFirstStepMs, false);
    eye.Y.AddSchedule(StepCos(-1) * kEyeOrbitRadius, kEyeFirstStepMs, false);
    for (int i = 0; i < kOrbitSegments; ++i) {
        eye.X.AddSchedule(StepSin(i) * kEyeOrbitRadius, kEyeStepMs, true);
        eye.Y.AddSchedule(StepCos(i) * kEyeOrbitRadius, kEyeStepMs, true);
    }
    ApplyBoardColour();
    SetTitleState(tsTitle);
}

void RunTitle() {
    // A game the platform kept from the last run goes on where it was left.
    if (ResumeKeptGame()) {
        return;
    }
    if (Triggered(keySpace)) {
        g_menuCursor = 0;
        SetTitleState(tsMenu);
        PlaySound(sndMove2);
    }
}

void ChooseMenuLine() {
    switch (g_menuCursor) {
    case menuBlack:
    case menuWhite:
        g_playerType[cellBlack] = g_menuCursor == menuBlack ? playerHuman : playerComputer;
        g_playerType[cellWhite] = g_menuCursor == menuBlack ? playerComputer : playerHuman;
        g_levelCursor = kLevelCursorOpen;
        SetTitleState(tsLevel);
        PlaySound(sndMove2);
        break;
    case menuTwoPlayers:
        g_playerType[cellBlack] = playerHuman;
        g_playerType[cellWhite] = playerHuman;
        StartGame();
        break;
    case menuConfig:
        g_configCursor = kConfigBack;
        SetTitleState(tsConfig);
        PlaySound(sndMove2);
        break;
    case menuExit:
        RequestClose();
        break;
    default:
        break;
    }
}

void RunMenu() {
    if (Triggered(keyUp) && g_menuCursor > 0) {
        --g_menuCursor;
        PlaySound(sndMove);
    }
    if (Triggered(keyDown) && g_menuCursor < kMenuLines - 1) {
        ++g_menuCursor;
        PlaySound(sndMove2);
    }
    if (Triggered(keySpace)) {
        ChooseMenuLine();
    }
    if (Triggered(keyEnter)) {
        SetTitleState(tsTitle);
    }
}

// Up and Down on a list: the cursor stops at the ends, the sound plays regardless.
void StepListCursor(int& cursor, int first, int last) {
    if (Triggered(keyUp)) {
        if (cursor > first) {
            --cursor;
        }
        PlaySound(sndMove);
    }
    if (Triggered(keyDown)) {
        if (cursor < last) {
            ++cursor;
        }
        PlaySound(sndMove2);
    }
}

void RunLevel() {
    StepListCursor(g_levelCursor, 1, kLevelCursorLast);
    if (Triggered(keySpace)) {
        g_sage.SetLevel(LevelOfCursor(g_levelCursor));
        StartGame();
    }
    if (Triggered(keyEnter)) {
        SetTitleState(tsMenu);
    }
}

int32_t* ColourStepOfLine(int line) {
    switch (line) {
    case 0:
        return &BoardR;
    case 1:
        return &BoardG;
    case 2:
        return &BoardB;
    default:
        return nullptr;
    }
}

void ToggleFog() {
    FogEnable = FogEnable == 0 ? 1 : 0;
}

void ToggleSpeed() {
    AnimationSpeed = AnimationSpeed == speedFast ? speedNormal : speedFast;
}

// Left (-1) or Right (+1) on the selected configuration line; the colour is applied either way.
void SideStepConfig(int direction) {
    if (int32_t* step = ColourStepOfLine(g_configCursor)) {
        if (direction < 0 && *step > 0) {
            --*step;
        } else if (direction > 0 && *step < kBoardStepMax) {
            ++*step;
        }
    } else if (g_configCursor == kConfigFog) {
        ToggleFog();
    } else if (g_configCursor == kConfigSpeed) {
        ToggleSpeed();
    }
    ApplyBoardColour();
}

// Back to the menu, with the settings saved: a crash later in the run loses none of them.
void LeaveConfig() {
    SetTitleState(tsMenu);
    SaveSettings();
}

void RunConfig() {
    StepListCursor(g_configCursor, 0, kConfigLines - 1);
    if (Triggered(keyLeft)) {
        SideStepConfig(-1);
    }
    if (Triggered(keyRight)) {
        SideStepConfig(+1);
    }
    if (Triggered(keySpace)) {
        if (g_configCursor == kConfigFog) {
            ToggleFog();
        } else if (g_configCursor == kConfigSpeed) {
            ToggleSpeed();
        } else if (g_configCursor == kConfigBack) {
            LeaveConfig();
        }
    }
    if (Triggered(keyEnter)) {
        LeaveConfig();
    }
}

void RunState() {
    switch (g_titleState) {
    case tsInit:
        RunInit();
        break;
    case tsTitle:
        RunTitle();
        break;
    case tsMenu:
        RunMenu();
        break;
    case tsLevel:
        RunLevel();
        break;
    case tsConfig:
        RunConfig();
        break;
    default:
        break;
    }
}

void RenderModels() {
    for (int i = 0; i < kPieceCount; ++i) {
        g_pieces[i]->Render();
    }
    g_boardModel->Render();
}

uint32_t ItemColour(bool selected) {
    return selected ? kColourYellow : kColourGrey;
}

void DrawLine(int top, const char* text, uint32_t colour, int height) {
    DrawTextItem(0, top, kScreenRight, kScreenBottom, text, colour, kFaceTimes, height);
}

void DrawMenu() {
    for (int line = 0; line < kMenuLines; ++line) {
        DrawLine(kMenuTop + kMenuPitch * line, kMenuText[line], ItemColour(line == g_menuCursor),
                 kHeadingHeight);
    }
}

void DrawLevels() {
    DrawLine(kPanelTop, "Level", kColourWhite, kHeadingHeight);
    int top = kListTop;
    for (int level = 1; level <= kPlainLevels; ++level) {
        const bool selected = g_levelCursor == level;
        DrawLine(top, LevelName(level), ItemColour(selected),
                 selected ? kSelectedLineHeight : kLineHeight);
        top += kListPitch;
    }
    // The seventh line holds "Expert" until the cursor presses on past it, then the three levels
    // beyond, each in a colour of its own, the strongest larger; the largest still ends above
    // the title's last lines.
    const int level = LevelOfCursor(g_levelCursor);
    if (g_levelCursor < kExtremeCursor) {
        const bool selected = g_levelCursor >= kExpertCursor;
        DrawLine(top, LevelName(kPlainLevels + 1), ItemColour(selected),
                 selected ? kSelectedLineHeight : kLineHeight);
    } else if (g_levelCursor < kExtremePlusCursor) {
        DrawLine(top - 4, LevelName(level), kColourRed, 24);
    } else {
        DrawLine(top - 6, LevelName(level),
                 g_levelCursor < kMasterCursor ? kColourViolet : kColourAzure, 30);
    }
}

void FormatConfigLine(int line, char* buffer, size_t size) {
    if (const int32_t* step = ColourStepOfLine(line)) {
        std::snprintf(buffer, size, "%c - [%2d]", "RGB"[line], static_cast<int>(*step));
    } else if (line == kConfigFog) {
        std::snprintf(buffer, size, "%s", FogEnable != 0 ? "Fog - [On]" : "Fog - [Off]");
    } else if (line == kConfigSpeed) {
        std::snprintf(buffer, size, "%s",
                      AnimationSpeed == speedFast ? "Speed - [Fast]" : "Speed - [Normal]");
    } else {
        std::snprintf(buffer, size, "%s", "[BACK]");
    }
}

void DrawConfig() {
    DrawLine(kPanelTop, "Config", kColourWhite, kHeadingHeight);
    int top = kListTop;
    for (int line = 0; line < kConfigLines; ++line) {
        char buffer[32];
        FormatConfigLine(line, buffer, sizeof buffer);
        DrawLine(top, buffer, ItemColour(line == g_configCursor), kLineHeight);
        top += kListPitch;
    }
}

// The help line names what the player used last: the keys, the mouse or a finger.
const char* TitleHelpText() {
    switch (g_inputKind) {
    case inputMouse:
        return "Click to choose  -  Right click goes back  -  Esc quits";
    case inputTouch:
        if (g_titleState == tsTitle) {
            return "Tap to start";
        }
        return g_titleState == tsLevel
                   ? "Tap to choose  -  Down goes past Expert  -  Back goes back"
                   : "Tap to choose  -  Back goes back";
    default:
        return "Arrows move  -  Space selects  -  Enter goes back  -  Esc quits";
    }
}

void DrawTitleText() {
    DrawTextItem(0, 172, kScreenRight, 240, "Octavane", kColourWhite, kFaceTimes, 64);
    DrawTextItem(kScreenMiddleX, 240, kScreenRight, 260, kTitleVersionText, kColourWhite,
                 kFaceTimes, 16);
    DrawTextItem(0, 440, kScreenRight, kScreenBottom, "Bellwick Software", kColourWhite, kFaceTimes,
                 16);
    DrawTextItem(0, 460, kScreenRight, kScreenBottom, TitleHelpText(), kColourWhite, kFaceTimes,
                 16);
    switch (g_titleState) {
    case tsTitle:
        DrawTextItem(0, 320, kScreenRight, 360, "PUSH SPACE KEY", kColourWhite, kFaceTimes, 32);
        break;
    case tsMenu:
        DrawMenu();
        break;
    case tsLevel:
        DrawLevels();
        break;
    case tsConfig:
        DrawConfig();
        break;
    default:
        break;
    }
}

} // namespace

int LevelOfCursor(int cursor) {
    if (cursor <= kPlainLevels) {
        return cursor;
    }
    if (cursor < kExtremeCursor) {
        return kPlainLevels + 1;
    }
    if (cursor < kExtremePlusCursor) {
        return kPlainLevels + 2;
    }
    return cursor < kMasterCursor ? kLevelExtremePlus : kLevelMaster;
}

int BoardColourOfStep(int step) {
    return step * 255 / kBoardStepMax;
}

void ApplyBoardColour() {
    g_boardModel->SetColor(BoardColourOfStep(BoardR), BoardColourOfStep(BoardG),
                           BoardColourOfStep(BoardB));
}

void RunTitleScreens() {
    // The camera and the orbiting light send their values to the device.
    g_camera->Update();
    g_lights[1]->Update();
    // The panel of the state.
    RunState();
    // The discs as they last lay, then the board; no pointer here.
    RenderModels();
    // The text.
    DrawTitleText();
}
