// Where the whole-program mouse test must point: the window pixel of a logical screen point, or
// of a world point as the game's play view shows it, in a full-screen window of the given size.
// Worked out forwards (view, projection, clip window, letterbox), independently of the program's
// own picking.
//   e2e_screen_point WIDTH HEIGHT logical X Y
//   e2e_screen_point WIDTH HEIGHT world X Y Z
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>

#include "platform/Present.h"
#include "scene/Camera.h"
#include "scene/Transmat.h"

int main(int argc, char** argv) {
    const std::string kind = argc > 5 ? argv[3] : "";
    if (kind != "logical" && (kind != "world" || argc < 7)) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT logical X Y | world X Y Z\n", argv[0]);
        return 2;
    }
    double x = std::atof(argv[4]), y = std::atof(argv[5]), z = argc > 6 ? std::atof(argv[6]) : 0;
    if (kind == "world") {
        // The play view: step 6 of 32 round the board at radius 2000, 2000 high.
        const float angle = 6 * std::numbers::pi_v<float> / 16;
        const TVector eye{std::cos(angle) * 2000, std::sin(angle) * 2000, 2000};
        const TMatrix m = MatrixMultiply(
            MatrixView(eye, {0, 0, 0}, {0, 0, 1}, 0.0f),
            MatrixProjection(TCamera::kDefaultNear, TCamera::kDefaultFar, TCamera::DefaultFov));
        const double w = x * m._14 + y * m._24 + z * m._34 + m._44;
        const double cx = (x * m._11 + y * m._21 + z * m._31 + m._41) / w;
        y = (0.75 - (x * m._12 + y * m._22 + z * m._32 + m._42) / w) / 1.5 * 480.0;
        x = (cx + 1.0) * 320.0;
    }
    const TScreenArea area = FitScreenArea(std::atoi(argv[1]), std::atoi(argv[2]), 640, 480);
    std::printf("%ld %ld\n", std::lround(area.X + x * area.Scale - 0.5),
                std::lround(area.Y + y * area.Scale - 0.5));
    return 0;
}
