#include "app/App.h"
#include "device/Settings.h"
#include "engine/SearchWorker.h"
#include "game/GameAnalysis.h"
#include "game/GameHint.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/KeptGame.h"
#include "platform/Clipboard.h"
#include "platform/GameKeeper.h"

TAppPlatform* g_platform = nullptr;
HWND g_hwnd = nullptr;

namespace {

// A start that fails (no window, or graphics that could not be set up) ends the program at
// once with exit code 0, as the window's own close would; the failing step has already said
// on standard error what went wrong, in one line.
constexpr int kExitSetupFailed = 0;

// CreateWindowExA's part: the window exists, then WM_CREATE sets it up. A window that closed
// itself during WM_CREATE counts as not made.
HWND CreateMainWindow(TAppPlatform& platform) {
    HWND window = platform.CreateMainWindow();
    if (!window) {
        return nullptr;
    }
    AdoptWindow(window);
    SendMessage(window, WM_CREATE);
    return IsWindowAlive(window) ? window : nullptr;
}

// The menu's exit line closes the window between frames, as the system's close request does.
void PostCloseToMainWindow() {
    if (g_hwnd) {
        PostMessage(g_hwnd, WM_CLOSE);
    }
}

} // namespace

int OctavaneWinMain(TAppPlatform& platform, TFrameProc frame) {
    g_platform = &platform;
    ResetMessageQueue();

    // 1. Every message of the main window goes to MainWndProc.
    SetMessageTarget(platform.Events(), nullptr, MainWndProc);

    // 2. The window; the devices are set up inside, from WM_CREATE.
    HWND window = CreateMainWindow(platform);
    if (!window) {
        SetMessageTarget(nullptr, nullptr, nullptr);
        g_platform = nullptr;
        return kExitSetupFailed;
    }
    g_hwnd = window;
    SetMessageTarget(platform.Events(), window, MainWndProc);
    SetCloseHandler(PostCloseToMainWindow);
    SetClipboard(platform.Clipboard());

    // 3. The settings, once the window exists; saved even should a library end the process
    // with exit() (Xlib does when the display connection is lost).
    LoadSettings();
    SaveSettingsOnExit();
    // The game in play outlives the run where the platform keeps it; the first title resumes it.
    const std::unique_ptr<TGameKeeper> gameKeeper = OpenPlatformGameKeeper();
    SetGameKeeper(gameKeeper.get());
    OfferKeptGame();

    // 4. The loop, until WM_QUIT; the computer, the hint and the analysis think beside it,
    // each on a worker of its own, so that frames go on and none waits for another. A search
    // still running at the end is stopped or waited for (it is at most one move's search).
    const std::unique_ptr<TSearchWorker> searchWorker = MakeSearchWorker();
    const std::unique_ptr<TSearchWorker> hintWorker = MakeSearchWorker();
    const std::unique_ptr<TSearchWorker> analysisWorker = MakeSearchWorker();
    SetSearchWorker(searchWorker.get());
    SetHintWorker(hintWorker.get());
    SetAnalysisWorker(analysisWorker.get());
    const int exitCode = RunMessageLoop(frame);
    SetAnalysisWorker(nullptr);
    SetHintWorker(nullptr);
    SetSearchWorker(nullptr);

    // 5. The settings, written back.
    SaveSettingsAtEnd();

    SetCloseHandler(nullptr);
    SetClipboard(nullptr);
    SetGameKeeper(nullptr);
    SetMessageTarget(nullptr, nullptr, nullptr);
    g_hwnd = nullptr;
    g_platform = nullptr;
    return exitCode;
}
