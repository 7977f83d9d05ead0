#include <gtest/gtest.h>

#include <SDL.h>
#include <filesystem>
#include <functional>
#include <map>

#include "app/App.h"
#include "app/SdlAppPlatform.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "game/Screens.h"
#include "platform/sdl/PngFrame.h"
#include "scene/Camera.h"
#include "scene/Transmat.h"

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
// Mesa's GL driver (unloaded before exit) and fontconfig keep allocations that LeakSanitizer
// cannot attribute; leaks of our own code are checked by the headless test programs.
extern "C" const char* __lsan_default_options() {
    return "detect_leaks=0";
}
#endif

namespace {

// The whole program in this process: SDL on its headless drivers, the real window procedure,
// message loop, devices, OpenGL and screens. Only the clock is ours: each frame moves it by
// 20 ms. Key presses and clicks are SDL events pushed between frames; chosen frames are read
// back from GL between drawing and the flip.

using TPixel = TFrameImage::TPixel;
using TPoint = SDL_Point;

// One run of the program: its clock, its script in frames of 20 ms (key presses, each then a
// wait; actions; read-backs) and the frames read back.
struct TRun {
    TManualClock Clock{5000};
    int Frame = 0, At = 10, LastFrame = 0; // not quit by LastFrame: sent a close request
    std::multimap<int, std::function<void()>> Actions; // each before its frame is drawn
    std::map<int, std::string> Captures;
    std::map<std::string, TFrameImage> Images;
    TGlScreen Screen;

    // An action, then a wait, then the frame read back if named.
    void Do(std::function<void()> action, int waitMs = 0, const char* frame = "") {
        Actions.emplace(At++, std::move(action));
        Capture(frame, waitMs);
    }
    void Press(const std::vector<SDL_Keycode>& keys, int waitMs = 0, const char* frame = "") {
        for (SDL_Keycode key : keys) {
            for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
                SDL_Event event{type};
                event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
                event.key.keysym.sym = key;
                Do([=]() mutable { SDL_PushEvent(&event); }, 20);
            }
        }
        Capture(frame, waitMs);
    }
    void Capture(const std::string& frame, int waitMs = 0) {
        At += waitMs / 20;
        if (!frame.empty()) {
            Captures[At++] = frame;
        }
    }
    // Pixels of a logical rectangle of the 640 x 480 screen in a frame that pass `test`.
    int Count(const std::string& frame, int left, int top, int right, int bottom,
              bool (*test)(TPixel)) const {
        int count = 0;
        const TScreenArea& area = Screen.Area;
        for (int y = area.Y + top * area.Scale; y < area.Y + bottom * area.Scale; ++y) {
            for (int x = area.X + left * area.Scale; x < area.X + right * area.Scale; ++x) {
                count += test(Images.at(frame).At(x, y)) ? 1 : 0;
            }
        }
        return count;
    }
    TPixel Pixel(const std::string& frame, TPoint p) const { return Images.at(frame).At(p.x, p.y); }
}* g_run = nullptr;

// What a pixel shows.
constexpr auto White = [](TPixel p) { return p.R > 230 && p.G > 230 && p.B > 230; };
constexpr auto Yellow = [](TPixel p) { return p.R > 200 && p.G > 200 && p.B < 90; };
constexpr auto Gold = [](TPixel p) {
    return p.R > 120 && p.G > 90 && p.B < p.R * 3 / 4 && p.R > p.G;
};
constexpr auto Brightness = [](TPixel p) { return p.R + p.G + p.B; };
constexpr auto Lit = [](TPixel p) { return p.R + p.G + p.B > 60; };
constexpr auto Red = [](TPixel p) { return p.R > 120 && p.G < p.R / 2 && p.B < p.R / 2; };

const TGlScreen& Screen() {
    return static_cast<TGlPresenter*>(g_presenter)->Screen();
}

void TestFrame() {
    TRun& run = *g_run;
    run.Clock.Advance(20);
    auto [first, last] = run.Actions.equal_range(++run.Frame);
    for (auto it = first; it != last; ++it) {
        it->second();
    }
    if (run.Frame == run.LastFrame) {
        SDL_Event quit{SDL_QUIT};
        SDL_PushEvent(&quit);
    }
    BeginFrame(FogEnable);
    PollInput();
    RunScreens();
    const auto capture = run.Captures.find(run.Frame);
    if (capture != run.Captures.end() && g_presenter != nullptr) {
        run.Screen = Screen();
        run.Images[capture->second] = ReadFrame(run.Screen);
        fs::create_directories(OCTAVANE_FRAMES_DIR);
        SaveFramePng(run.Images[capture->second],
                     std::string(OCTAVANE_FRAMES_DIR) + "/" + capture->second + ".png");
    }
    PresentFrame();
}

// A left click at window pixel p, as SDL reports one.
void PushClick(TPoint p) {
    SDL_Event event{SDL_MOUSEBUTTONDOWN};
    event.button.windowID = SDL_GetWindowID(Screen().Window);
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = SDL_PRESSED;
    event.button.x = p.x;
    event.button.y = p.y;
    SDL_PushEvent(&event);
}

// The window pixel where the camera shows world point (x, y, z) now.
TPoint Project(double wx, double wy, double wz) {
    const TMatrix m = MatrixMultiply(g_camera->View, g_camera->Projection);
    const double w = wx * m._14 + wy * m._24 + wz * m._34 + m._44;
    const double lx = ((wx * m._11 + wy * m._21 + wz * m._31 + m._41) / w + 1.0) * 320.0;
    const double ly = (0.75 - (wx * m._12 + wy * m._22 + wz * m._32 + m._42) / w) / 1.5 * 480.0;
    const TScreenArea& area = Screen().Area;
    return {static_cast<int>(area.X + lx * area.Scale), static_cast<int>(area.Y + ly * area.Scale)};
}

// A two-player game on real frames: the title, the menu, the marks on the legal squares, a
// disc placed by a click and one by the keys (the last ringed), both taken back, Escape to the
// title, and [ EXIT ] from the menu.
TEST(WholeProgramTest, AGameOnRealFrames) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    char config[] = "/tmp/octavane-e2e-XXXXXX";
    ASSERT_NE(::mkdtemp(config), nullptr);
    ::setenv("XDG_CONFIG_HOME", config, 1);
    const fs::path previous = fs::current_path();
    fs::current_path(OCTAVANE_ASSETS_DIR);
    TRun run;
    g_run = &run;
    std::vector<TPoint> marks;        // (3, 2), (2, 3), (5, 4), (4, 5), then (2, 2)
    std::vector<TPoint> ring;         // on the last-move ring round (2, 2), before and after
    std::vector<TPoint> black, white; // round the tops of discs on (2, 3) and (2, 2), clear of
    run.Capture("title", 400);        // the pointer over their middles
    run.Press({SDLK_SPACE}, 100, "menu");
    run.Press({SDLK_DOWN, SDLK_DOWN, SDLK_SPACE, SDLK_l}, 1600, "marks"); // "2 Players Game"
    run.Do([&] {
        for (const auto& [x, y] : {std::pair{3, 2}, {2, 3}, {5, 4}, {4, 5}, {2, 2}}) {
            marks.push_back(Project(CellToWorld(x), CellToWorld(y), 2.0));
        }
        for (const double d : {-1.0, 1.0}) {
            ring.push_back(Project(CellToWorld(2) + 58 * d, CellToWorld(2), 2.0));
            ring.push_back(Project(CellToWorld(2), CellToWorld(2) + 58 * d, 2.0));
            black.push_back(Project(CellToWorld(2) + 30 * d, CellToWorld(3), 20.0));
            white.push_back(Project(CellToWorld(2) + 30 * d, CellToWorld(2), 20.0));
        }
    });
    run.Do([&] { PushClick(marks.at(1)); }, 400, "falling");
    run.Capture("black-moved", 2800);
    run.Press({SDLK_UP, SDLK_SPACE}, 3000, "white-moved");
    run.Press({SDLK_BACKSPACE}, 1000);
    run.Press({SDLK_BACKSPACE}, 1000, "undone");
    run.Press({SDLK_ESCAPE}, 400, "title-again");
    run.Press({SDLK_SPACE, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_SPACE}); // [ EXIT ]
    run.LastFrame = run.At + 200;
    {
        TSdlSystem sdl;
        ASSERT_TRUE(sdl.IsReady()) << sdl.Error();
        TScopedClock useClock(run.Clock);
        TSdlAppPlatform platform;
        EXPECT_EQ(OctavaneWinMain(platform, TestFrame), 0);
    }
    EXPECT_LT(run.Frame, run.At + 10) << "[ EXIT ] did not end the program";
    fs::current_path(previous);
    fs::remove_all(config);
    ASSERT_EQ(marks.size(), 5u);

    // Pixels of logical rectangles of frames that show this: at least so many, at most so many.
    const std::tuple<const char*, int, int, int, int, bool (*)(TPixel), int, int> probes[] = {
        {"title", 0, 60, 640, 420, Lit, 20000, 1 << 30},    // not a black screen
        {"title", 200, 172, 440, 240, White, 400, 1 << 30}, // the title
        {"title", 150, 320, 490, 360, White, 200, 1 << 30}, // the prompt
        {"menu", 150, 288, 490, 316, Yellow, 100, 1 << 30}, // the first line chosen
        {"menu", 150, 330, 490, 342, White, 0, 20},         // no prompt
        {"marks", 0, 440, 640, 480, White, 0, 20},          // none of the title's text
        {"marks", 0, 0, 220, 64, Yellow, 100, 1 << 30},     // "Black" to move
        {"black-moved", 0, 0, 220, 64, Yellow, 0, 20},      // then White
        {"black-moved", 420, 0, 640, 64, Yellow, 100, 1 << 30},
        {"title-again", 200, 172, 440, 240, White, 400, 1 << 30},
    };
    for (const auto& [frame, left, top, right, bottom, test, least, most] : probes) {
        const int count = run.Count(frame, left, top, right, bottom, test);
        EXPECT_TRUE(count >= least && count <= most) << frame << " at " << left << ", " << top;
    }
    // Marks on the four legal squares alone, gone while a move shows, back with the position.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Gold(run.Pixel("marks", marks[i])), i < 4) << "mark " << i;
        EXPECT_EQ(Gold(run.Pixel("undone", marks[i])), i < 4) << "mark " << i << " after undo";
    }
    EXPECT_FALSE(Gold(run.Pixel("falling", marks[0])));
    // A dark disc on (2, 3) after the click, a bright one on (2, 2) after White's move, both
    // gone after the undo; a red ring round White's, the last placed, and none before it.
    int brightest[2] = {}, ringed[2] = {};
    for (size_t i = 0; i < black.size(); ++i) {
        const int board = Brightness(run.Pixel("marks", black[i]));
        EXPECT_LT(Brightness(run.Pixel("black-moved", black[i])), board - 60) << "no black disc";
        EXPECT_GT(Brightness(run.Pixel("undone", black[i])), board - 20) << "the black disc stayed";
        brightest[0] = std::max(brightest[0], Brightness(run.Pixel("white-moved", white[i])));
        brightest[1] = std::max(brightest[1], Brightness(run.Pixel("undone", white[i])));
    }
    for (const TPoint& p : ring) {
        ringed[0] += Red(run.Pixel("marks", p)) ? 1 : 0;
        ringed[1] += Red(run.Pixel("white-moved", p)) ? 1 : 0;
    }
    EXPECT_GT(brightest[0], 500) << "no white disc";
    EXPECT_LT(brightest[1], 450) << "the white disc stayed";
    EXPECT_EQ(ringed[0], 0) << "a ring before the move";
    EXPECT_GE(ringed[1], 3) << "no ring round the last disc";
}

} // namespace
