#include <gtest/gtest.h>

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/App.h"
#include "app/SdlAppPlatform.h"
#include "device/Input.h"
#include "device/Setdx.h"
#include "device/Settings.h"
#include "game/GameAnimation.h"
#include "game/GameScene.h"
#include "game/GameState.h"
#include "game/Screens.h"
#include "platform/KeyState.h"
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
// message loop, device set-up, OpenGL and screens. Only the clock is ours: each frame moves it
// by 20 ms, so the run takes as many frames as it needs and no longer. Key presses are SDL
// events pushed between frames, as the keyboard makes them; chosen frames are read back from GL.

constexpr uint32_t kFrameMs = 20;

struct TRun {
    TManualClock Clock{5000};
    int Frame = 0;
    // Actions keyed by frame number; each runs before that frame is drawn.
    std::multimap<int, std::function<void()>> Actions;
    // Frames to read back, by name.
    std::map<int, std::string> Captures;
    std::map<std::string, TFrameImage> Images;
    std::map<std::string, TGlScreen> Screens;
    int LastFrame = 3000; // a run that has not quit by then is ended by a close request
};

TRun* g_run = nullptr;

void PushKey(Uint32 type, SDL_Keycode key) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

// The frame of the program, with a read-back between drawing and the flip.
void TestFrame() {
    TRun& run = *g_run;
    run.Clock.Advance(kFrameMs);
    ++run.Frame;
    auto [first, last] = run.Actions.equal_range(run.Frame);
    for (auto it = first; it != last; ++it) {
        it->second();
    }
    if (run.Frame == run.LastFrame) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    BeginFrame(FogEnable);
    PollInput();
    RunScreens();
    const auto capture = run.Captures.find(run.Frame);
    if (capture != run.Captures.end() && g_presenter != nullptr) {
        const auto& screen = static_cast<TGlPresenter*>(g_presenter)->Screen();
        run.Images[capture->second] = ReadFrame(screen);
        run.Screens[capture->second] = screen;
        fs::create_directories(OCTAVANE_FRAMES_DIR);
        SaveFramePng(run.Images[capture->second],
                     std::string(OCTAVANE_FRAMES_DIR) + "/" + capture->second + ".png");
    }
    PresentFrame();
}

// A script of key presses and read-backs, in frames of 20 ms.
class TScript {
  public:
    explicit TScript(TRun& run) : Run(run) {}
    TScript& Wait(uint32_t ms) {
        At += static_cast<int>(ms / kFrameMs);
        return *this;
    }
    TScript& Press(SDL_Keycode key) {
        Run.Actions.emplace(At, [key] { PushKey(SDL_KEYDOWN, key); });
        Run.Actions.emplace(At + 2, [key] { PushKey(SDL_KEYUP, key); });
        At += 4;
        return *this;
    }
    TScript& Capture(const std::string& name) {
        Run.Captures[At] = name;
        At += 1;
        return *this;
    }
    TScript& Do(std::function<void()> action) {
        Run.Actions.emplace(At, std::move(action));
        At += 1;
        return *this;
    }
    int Frame() const { return At; }

  private:
    TRun& Run;
    int At = 10;
};

// Screen position in window pixels of a world point, as the camera sees it now.
struct TPoint {
    int X, Y;
    double W = 0.0; // after the projection: what depth fog goes by
};
TPoint Project(const TGlScreen& screen, double wx, double wy, double wz) {
    const TVector eye{static_cast<float>(g_camera->Eye.X.GetValue()),
                      static_cast<float>(g_camera->Eye.Y.GetValue()),
                      static_cast<float>(g_camera->Eye.Z.GetValue())};
    const TVector at{static_cast<float>(g_camera->LookAt.X.GetValue()),
                     static_cast<float>(g_camera->LookAt.Y.GetValue()),
                     static_cast<float>(g_camera->LookAt.Z.GetValue())};
    const TMatrix m = MatrixMultiply(MatrixView(eye, at, g_camera->Up, 0.0f), g_camera->Projection);
    const double x = wx * m._11 + wy * m._21 + wz * m._31 + m._41;
    const double y = wx * m._12 + wy * m._22 + wz * m._32 + m._42;
    const double w = wx * m._14 + wy * m._24 + wz * m._34 + m._44;
    const double lx = (x / w + 1.0) / 2.0 * 640.0;
    const double ly = (0.75 - y / w) / 1.5 * 480.0;
    return {static_cast<int>(screen.Area.X + lx * screen.Area.Scale),
            static_cast<int>(screen.Area.Y + ly * screen.Area.Scale), w};
}

// Pixels of a logical rectangle of the 640 x 480 screen that satisfy `test`.
int CountPixels(const TFrameImage& image, const TGlScreen& screen, int left, int top, int right,
                int bottom, const std::function<bool(TFrameImage::TPixel)>& test) {
    int count = 0;
    const double s = screen.Area.Scale;
    for (int y = static_cast<int>(screen.Area.Y + top * s);
         y < static_cast<int>(screen.Area.Y + bottom * s); ++y) {
        for (int x = static_cast<int>(screen.Area.X + left * s);
             x < static_cast<int>(screen.Area.X + right * s); ++x) {
            count += test(image.At(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool White(TFrameImage::TPixel p) {
    return p.R > 230 && p.G > 230 && p.B > 230;
}
bool Yellow(TFrameImage::TPixel p) {
    return p.R > 200 && p.G > 200 && p.B < 90;
}
bool Lit(TFrameImage::TPixel p) {
    return p.R + p.G + p.B > 60;
}

// The same logical rectangle of two frames differs in at least `atLeast` pixels.
int DifferingPixels(const TRun& run, const std::string& a, const std::string& b, int left, int top,
                    int right, int bottom) {
    const TFrameImage& ia = run.Images.at(a);
    const TFrameImage& ib = run.Images.at(b);
    const TGlScreen& screen = run.Screens.at(a);
    int count = 0;
    const double s = screen.Area.Scale;
    for (int y = static_cast<int>(screen.Area.Y + top * s);
         y < static_cast<int>(screen.Area.Y + bottom * s); ++y) {
        for (int x = static_cast<int>(screen.Area.X + left * s);
             x < static_cast<int>(screen.Area.X + right * s); ++x) {
            const auto pa = ia.At(x, y);
            const auto pb = ib.At(x, y);
            count += (pa.R != pb.R || pa.G != pb.G || pa.B != pb.B) ? 1 : 0;
        }
    }
    return count;
}

class WholeProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
    void SetUp() override {
        Config = fs::temp_directory_path() / ("octavane-e2e-" + std::to_string(::getpid()));
        fs::remove_all(Config);
        fs::create_directories(Config);
        ::setenv("XDG_CONFIG_HOME", Config.c_str(), 1);
        Previous = fs::current_path();
        fs::current_path(OCTAVANE_ASSETS_DIR);
        ResetProgram();
    }
    // What a fresh start of the program finds.
    static void ResetProgram() {
        ResetSettings();
        // A run that quit with a key still down must not hand it to the next one.
        Keyboard().ReleaseAll();
        for (uint8_t& state : g_keyState) {
            state = 0;
        }
        g_scene = sceneTitle;
        g_titleState = tsInit;
        g_gameState = gsStart;
        g_playerType[cellBlack] = playerHuman;
        g_playerType[cellWhite] = playerHuman;
        g_cursorX = 3;
        g_cursorY = 3;
    }
    void TearDown() override {
        fs::current_path(Previous);
        fs::remove_all(Config);
        g_run = nullptr;
    }
    int RunProgram() {
        TSdlSystem sdl;
        EXPECT_TRUE(sdl.IsReady()) << sdl.Error();
        if (!sdl.IsReady()) {
            return -1;
        }
        TScopedClock useClock(Run.Clock);
        TSdlAppPlatform platform;
        g_run = &Run;
        return WinMain(platform, TestFrame);
    }
    std::string SettingsText() const {
        std::ifstream in(Config / "Bellwick" / "Octavane" / "settings.reg");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TRun Run;
    fs::path Config;
    fs::path Previous;
};

TEST_F(WholeProgramTest, TitleMenuAndATwoPlayerGameOnRealFrames) {
    // Screen positions are taken while the run is under way, when the camera is where it is.
    TPoint newDisc{};
    std::vector<TPoint> secondDisc;
    TScript script(Run);
    script.Wait(400).Capture("title").Press(SDLK_SPACE).Wait(100).Capture("menu");
    script.Press(SDLK_DOWN).Press(SDLK_DOWN).Press(SDLK_SPACE); // "2 Players Game"
    script.Wait(1600).Capture("game-start");
    script.Do([&] {
        newDisc = Project(static_cast<TGlPresenter*>(g_presenter)->Screen(), CellToWorld(3),
                          CellToWorld(2), 20.0);
    });
    script.Press(SDLK_UP).Wait(200).Press(SDLK_SPACE).Wait(1000).Capture("move-falling");
    script.Wait(1600).Capture("after-move").Wait(200).Capture("after-move-later");
    script.Do([&] {
        const auto& glScreen = static_cast<TGlPresenter*>(g_presenter)->Screen();
        for (const double d : {-30.0, 30.0}) {
            secondDisc.push_back(Project(glScreen, CellToWorld(4) + d, CellToWorld(2), 20.0));
            secondDisc.push_back(Project(glScreen, CellToWorld(4), CellToWorld(2) + d, 20.0));
        }
    });
    script.Press(SDLK_RIGHT).Wait(200).Press(SDLK_SPACE).Wait(3000).Capture("after-second-move");
    script.Press(SDLK_ESCAPE).Wait(400).Capture("back-at-title").Press(SDLK_ESCAPE);
    Run.LastFrame = script.Frame() + 200;

    EXPECT_EQ(RunProgram(), 0);
    EXPECT_LT(Run.Frame, Run.LastFrame) << "Escape on the title did not quit";
    ASSERT_EQ(Run.Images.size(), 8u);
    const TGlScreen& screen = Run.Screens.at("title");

    // The title: lit 3D behind white title text; the prompt below it.
    const TFrameImage& title = Run.Images.at("title");
    EXPECT_GT(CountPixels(title, screen, 0, 60, 640, 420, Lit), 20000) << "a black screen";
    EXPECT_GT(CountPixels(title, screen, 200, 172, 440, 240, White), 400) << "no title text";
    EXPECT_GT(CountPixels(title, screen, 150, 320, 490, 360, White), 200) << "no prompt";
    // The menu: its first line yellow, no prompt any more.
    const TFrameImage& menu = Run.Images.at("menu");
    EXPECT_GT(CountPixels(menu, screen, 150, 288, 490, 316, Yellow), 100);
    EXPECT_LT(CountPixels(menu, screen, 150, 330, 490, 342, White), 20);
    // The game: none of the title's text, "Black" in yellow at the top left.
    const TFrameImage& start = Run.Images.at("game-start");
    EXPECT_GT(CountPixels(title, screen, 0, 440, 640, 480, White), 300);
    EXPECT_LT(CountPixels(start, screen, 0, 440, 640, 480, White), 20);
    EXPECT_GT(CountPixels(start, screen, 0, 0, 320, 64, Yellow), 100);

    // The new disc: board colour on its square before, a dark disc there after.
    const auto before = start.At(newDisc.X, newDisc.Y);
    const auto after = Run.Images.at("after-move").At(newDisc.X, newDisc.Y);
    EXPECT_GT(before.G, 60) << "square (3, 2) should show the board";
    EXPECT_LT(after.R + after.G + after.B, before.R + before.G + before.B - 60)
        << "no black disc on (3, 2)";
    // White's disc on (4, 2) shows bright around the pointer standing over it.
    int brightest = 0;
    for (const TPoint& p : secondDisc) {
        const auto white = Run.Images.at("after-second-move").At(p.X, p.Y);
        brightest = std::max(brightest, white.R + white.G + white.B);
    }
    EXPECT_GT(brightest, 500) << "no white disc on (4, 2)";

    // The counts changed with the move, and stay put while nothing happens.
    EXPECT_GT(DifferingPixels(Run, "game-start", "after-move", 220, 0, 420, 64), 50);
    EXPECT_EQ(DifferingPixels(Run, "after-move", "after-move-later", 220, 0, 420, 64), 0);
    // The side to move passed to White: yellow moved to the right half.
    const TFrameImage& moved = Run.Images.at("after-move");
    EXPECT_LT(CountPixels(moved, screen, 0, 0, 220, 64, Yellow), 20);
    EXPECT_GT(CountPixels(moved, screen, 420, 0, 640, 64, Yellow), 100);

    // Escape in the game went back to the title.
    EXPECT_GT(CountPixels(Run.Images.at("back-at-title"), screen, 200, 172, 440, 240, White), 400);
    // The settings were written at exit.
    EXPECT_NE(SettingsText().find("\"FogEnable\"=dword:00000000"), std::string::npos);
}

TEST_F(WholeProgramTest, ConfigurationIsShownAndKeptAtExit) {
    TScript script(Run);
    script.Wait(200).Press(SDLK_SPACE).Press(SDLK_DOWN).Press(SDLK_DOWN).Press(SDLK_DOWN);
    script.Press(SDLK_SPACE).Wait(100).Capture("config-before");
    for (int i = 0; i < 4; ++i) {
        script.Press(SDLK_UP); // to "R"
    }
    for (int i = 0; i < 10; ++i) {
        script.Press(SDLK_RIGHT); // red up to 10
    }
    script.Wait(100).Capture("config-red");
    for (int i = 0; i < 3; ++i) {
        script.Press(SDLK_DOWN); // to "Fog"
    }
    script.Press(SDLK_SPACE).Wait(100).Capture("config-fog");
    script.Press(SDLK_ESCAPE);
    Run.LastFrame = script.Frame() + 200;

    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(FogEnable, 1);
    EXPECT_EQ(BoardR, 10);
    const std::string stored = SettingsText();
    EXPECT_NE(stored.find("\"FogEnable\"=dword:00000001"), std::string::npos) << stored;
    EXPECT_NE(stored.find("\"BoardR\"=dword:0000000a"), std::string::npos) << stored;
    EXPECT_NE(stored.find("\"BoardG\"=dword:00000007"), std::string::npos) << stored;
    // The board turned from teal to a light grey-blue: far more red on screen than before.
    const TGlScreen& screen = Run.Screens.at("config-before");
    auto reddish = [](TFrameImage::TPixel p) { return p.R > 80 && p.G > 80; };
    const int before =
        CountPixels(Run.Images.at("config-before"), screen, 0, 60, 640, 270, reddish);
    const int red = CountPixels(Run.Images.at("config-red"), screen, 0, 60, 640, 270, reddish);
    EXPECT_GT(red, before + 5000);
    // Fog shows from the next frame on: the board is darker, and still there.
    const int fogged = CountPixels(Run.Images.at("config-fog"), screen, 0, 60, 640, 270, reddish);
    EXPECT_LT(fogged, red - 5000);
    EXPECT_GT(fogged, red / 10);
}

// The title and a game in play, once without fog and once with it, on the same clock: the near
// squares keep their colour, the far edge is darker, and the board never goes black.
TEST_F(WholeProgramTest, FogDarkensTheFarSquaresOnTheTitleAndInPlay) {
    struct TProbe {
        TPoint Point;
        TFrameImage::TPixel Seen[2]; // fog off, fog on
    };
    std::map<std::string, std::vector<TProbe>> probes;
    int lit[2][2] = {};
    for (const int fog : {0, 1}) {
        Run = TRun{};
        ResetProgram();
        RuntimeSrand(1);
        const fs::path file = Config / "Bellwick" / "Octavane" / "settings.reg";
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "[" << kSettingsKey << "]\n\"FogEnable\"=dword:0000000" << fog
                            << "\n";
        const std::string names[2] = {"fog" + std::to_string(fog) + "-title",
                                      "fog" + std::to_string(fog) + "-game"};
        // Every square, beside its disc: where it is and how far off for the fog.
        auto look = [&](const std::string& scene, int index) {
            const TGlScreen& screen = static_cast<TGlPresenter*>(g_presenter)->Screen();
            const TFrameImage& image = Run.Images.at(names[index]);
            std::vector<TProbe>& list = probes[scene];
            for (int i = 0; i < 64; ++i) {
                const double side = i % 8 == 7 ? -58.0 : 58.0;
                TPoint p = Project(screen, CellToWorld(i % 8) + side, CellToWorld(i / 8), 0);
                // Text is drawn over the fog: the bands of the title's and the counts' lines.
                const double y = (p.Y - screen.Area.Y) / screen.Area.Scale;
                if (y < 64 || (y > 165 && y < 265) || (y > 315 && y < 365) || y > 435) {
                    p.W = -1.0;
                }
                if (fog == 0) {
                    list.push_back({p, {image.At(p.X, p.Y), {}}});
                } else {
                    list[i].Seen[1] = image.At(p.X, p.Y);
                }
            }
            lit[fog][index] = CountPixels(image, screen, 0, 60, 640, 420, Lit);
        };
        TScript script(Run);
        script.Wait(400).Capture(names[0]).Do([&] { look("title", 0); });
        script.Press(SDLK_SPACE).Press(SDLK_DOWN).Press(SDLK_DOWN).Press(SDLK_SPACE);
        script.Wait(1600).Capture(names[1]).Do([&] { look("game", 1); });
        script.Press(SDLK_ESCAPE).Wait(100).Press(SDLK_ESCAPE);
        Run.LastFrame = script.Frame() + 200;
        ASSERT_EQ(RunProgram(), 0);
    }
    // Black linear fog from w = 700 to 1100: each square keeps the share f of its colour.
    for (const auto& [scene, list] : probes) {
        SCOPED_TRACE(scene);
        ASSERT_EQ(list.size(), 64u);
        int clear = 0;
        double farthest = 0.0;
        for (const TProbe& probe : list) {
            if (probe.Point.W < 0.0) {
                continue;
            }
            const double f =
                std::clamp((kFogEnd - probe.Point.W) / (kFogEnd - kFogStart), 0.0, 1.0);
            const int before = probe.Seen[0].R + probe.Seen[0].G + probe.Seen[0].B;
            const int after = probe.Seen[1].R + probe.Seen[1].G + probe.Seen[1].B;
            EXPECT_NEAR(after, f * before, 12 + 0.04 * before) << "square at w " << probe.Point.W;
            clear += f > 0.95 ? 1 : 0;
            farthest = std::max(farthest, probe.Point.W);
        }
        EXPECT_GE(clear, 1) << "the nearest squares should keep their colour";
        EXPECT_GT(farthest, 850.0) << "the far edge should be well into the fog";
    }
    for (int index = 0; index < 2; ++index) {
        EXPECT_GT(lit[1][index], 20000) << "a black screen with fog on";
        EXPECT_GT(lit[1][index], lit[0][index] / 2);
    }
}

TEST_F(WholeProgramTest, ExitInTheMenuEndsTheProgram) {
    TScript script(Run);
    script.Wait(200).Press(SDLK_SPACE);
    for (int i = 0; i < 4; ++i) {
        script.Press(SDLK_DOWN);
    }
    script.Press(SDLK_SPACE);
    Run.LastFrame = script.Frame() + 200;
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_LT(Run.Frame, script.Frame() + 5) << "[ EXIT ] did not end the program";
    EXPECT_NE(SettingsText().find("\"BoardB\"=dword:00000007"), std::string::npos);
}

TEST_F(WholeProgramTest, APassShowsTheHintAndThenTheBanner) {
    TScript script(Run);
    script.Wait(200).Press(SDLK_SPACE).Press(SDLK_DOWN).Press(SDLK_DOWN).Press(SDLK_SPACE);
    script.Wait(1600);
    // Black to move with no legal move: White on (0, 0) and (7, 7), Black on (1, 0).
    script.Do([] {
        TBoard board;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                board.SetCell(x, y, cellEmpty);
            }
        }
        board.SetCell(0, 0, cellWhite);
        board.SetCell(1, 0, cellBlack);
        board.SetCell(7, 7, cellWhite);
        g_gameBoard = board;
        g_shownBoard = board;
        g_gameState = gsNextTurn;
    });
    script.Wait(200).Capture("pass-hint").Press(SDLK_RETURN).Wait(200).Capture("pass-banner");
    script.Wait(1200).Capture("after-pass").Press(SDLK_ESCAPE).Wait(100).Press(SDLK_ESCAPE);
    Run.LastFrame = script.Frame() + 200;

    EXPECT_EQ(RunProgram(), 0);
    ASSERT_EQ(Run.Images.size(), 3u);
    const TGlScreen& screen = Run.Screens.at("pass-hint");
    // The hint at the bottom right, in a face that has its characters.
    EXPECT_GT(CountPixels(Run.Images.at("pass-hint"), screen, 320, 420, 640, 444, White), 150);
    EXPECT_LT(CountPixels(Run.Images.at("pass-banner"), screen, 320, 420, 640, 444, White), 20);
    // "Black Pass" across the middle for the wait, gone after it.
    // (White discs of the position left on the board are in that band too.)
    const int banner = CountPixels(Run.Images.at("pass-banner"), screen, 100, 208, 540, 272, White);
    const int after = CountPixels(Run.Images.at("after-pass"), screen, 100, 208, 540, 272, White);
    EXPECT_GT(banner, after + 400);
}

// A mouse click at window pixel `p` of the program's window, as SDL reports one.
void PushClick(TPoint p) {
    SDL_Window* window = static_cast<TGlPresenter*>(g_presenter)->Screen().Window;
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SDL_GetWindowID(window);
    event.motion.x = p.X;
    event.motion.y = p.Y;
    SDL_PushEvent(&event);
    event = SDL_Event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.windowID = SDL_GetWindowID(window);
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = SDL_PRESSED;
    event.button.x = p.X;
    event.button.y = p.Y;
    SDL_PushEvent(&event);
}

bool Gold(TFrameImage::TPixel p) {
    return p.R > 120 && p.G > 90 && p.B < p.R * 3 / 4 && p.R > p.G;
}

// The legal-move marks on real frames, a disc placed by a click, and the move taken back: the
// marks show on the four legal squares (and nowhere else), go while the move shows, and come
// back with the position; the choice is written at exit.
TEST_F(WholeProgramTest, MarksAClickAndUndoOnRealFrames) {
    std::vector<TPoint> squares; // (3, 2), (2, 3), (5, 4), (4, 5), then (2, 2) with no move
    std::vector<TPoint> discTop;
    TScript script(Run);
    script.Wait(200).Press(SDLK_SPACE).Press(SDLK_DOWN).Press(SDLK_DOWN).Press(SDLK_SPACE);
    script.Wait(1600).Press(SDLK_l).Wait(100).Capture("marks");
    script.Do([&] {
        const auto& screen = static_cast<TGlPresenter*>(g_presenter)->Screen();
        const int cells[5][2] = {{3, 2}, {2, 3}, {5, 4}, {4, 5}, {2, 2}};
        for (const auto& c : cells) {
            squares.push_back(Project(screen, CellToWorld(c[0]), CellToWorld(c[1]), 2.0));
        }
        // Round the top of a disc on (2, 3), clear of the pointer standing over its middle.
        for (const double d : {-30.0, 30.0}) {
            discTop.push_back(Project(screen, CellToWorld(2) + d, CellToWorld(3), 20.0));
            discTop.push_back(Project(screen, CellToWorld(2), CellToWorld(3) + d, 20.0));
        }
    });
    script.Do([&] { PushClick(squares[1]); }).Wait(400).Capture("move-shown");
    script.Wait(2800).Capture("after-click");
    script.Press(SDLK_BACKSPACE).Wait(1000).Capture("after-undo");
    script.Press(SDLK_ESCAPE).Wait(100).Press(SDLK_ESCAPE);
    Run.LastFrame = script.Frame() + 200;

    EXPECT_EQ(RunProgram(), 0);
    ASSERT_EQ(Run.Images.size(), 4u);
    ASSERT_EQ(squares.size(), 5u);
    const TFrameImage& marks = Run.Images.at("marks");
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Gold(marks.At(squares[i].X, squares[i].Y))) << "no mark on legal square " << i;
    }
    EXPECT_FALSE(Gold(marks.At(squares[4].X, squares[4].Y))) << "a mark on (2, 2)";
    EXPECT_FALSE(Gold(Run.Images.at("move-shown").At(squares[0].X, squares[0].Y)));
    // The click put a black disc on (2, 3); undo took it away and the marks came back.
    const auto brightness = [&](const char* frame, TPoint p) {
        const auto pixel = Run.Images.at(frame).At(p.X, p.Y);
        return pixel.R + pixel.G + pixel.B;
    };
    for (const TPoint& p : discTop) {
        const int board = brightness("marks", p);
        EXPECT_LT(brightness("after-click", p), board - 60) << "no black disc on (2, 3)";
        // The board again, lit brighter now that the light hovers over the cursor there.
        EXPECT_GT(brightness("after-undo", p), board - 20) << "the disc on (2, 3) stayed";
    }
    const TFrameImage& undone = Run.Images.at("after-undo");
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Gold(undone.At(squares[i].X, squares[i].Y))) << "mark " << i << " after undo";
    }
    EXPECT_NE(SettingsText().find("\"ShowMoves\"=dword:00000001"), std::string::npos);
}

} // namespace
