// Draws the application icon, a black disc on a square of the green board, as RGBA PNG files.
// Usage: icongen <output directory>   (the repository keeps them in assets/icons)
// The same design, drawn by hand as vectors, is assets/icons/com.bellwick.Octavane.svg; keep the
// two alike when either changes.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#ifdef ICONGEN_HAVE_ZLIB
#include <zlib.h>
#endif

namespace {

// The desktop's sizes, then the web app's (192 and 512 px, the launchers' two).
constexpr int kSizes[] = {48, 128, 256, 192, 512};
// A launcher may cut a maskable icon to any shape that holds the middle circle of 40% of its
// width: the design shrinks into that circle and the board's frame colour fills to the edges.
constexpr int kMaskableSize = 512;
constexpr double kMaskableScale = 0.8;
constexpr int kSamplesPerAxis = 5; // 25 samples a pixel smooth every edge
constexpr const char* kIconName = "com.bellwick.Octavane";

// The design, in units of the icon's width, origin at the top left, y pointing down.
constexpr double kBoardMargin = 0.055;
constexpr double kBoardCornerRadius = 0.09;
constexpr double kFrameWidth = 0.03;
constexpr double kGridHalfWidth = 0.007;
constexpr double kDiscRadius = 0.31;
constexpr double kDiscCentreX = 0.5;
constexpr double kDiscTopY = 0.48;    // the face, seen a little from the front...
constexpr double kDiscBottomY = 0.52; // ...over its side
constexpr double kRimWidth = 0.022;
constexpr double kShadowOffsetX = 0.03;
constexpr double kShadowOffsetY = 0.05;

struct TColour {
    double R = 0, G = 0, B = 0, A = 0;
};

TColour Mix(const TColour& a, const TColour& b, double t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t,
            a.A + (b.A - a.A) * t};
}

// `top` painted over `under`, both with straight (not premultiplied) alpha.
TColour Over(const TColour& under, const TColour& top) {
    const double a = top.A + under.A * (1.0 - top.A);
    if (a <= 0.0) {
        return {};
    }
    const auto channel = [&](double t, double u) {
        return (t * top.A + u * under.A * (1.0 - top.A)) / a;
    };
    return {channel(top.R, under.R), channel(top.G, under.G), channel(top.B, under.B), a};
}

double Clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

double SmoothStep(double edge0, double edge1, double v) {
    const double t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

// Signed distance to the rounded board square: negative inside.
double BoardDistance(double x, double y) {
    const double half = 0.5 - kBoardMargin - kBoardCornerRadius;
    const double qx = std::abs(x - 0.5) - half;
    const double qy = std::abs(y - 0.5) - half;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - kBoardCornerRadius;
}

TColour Board(double x, double y) {
    const double d = BoardDistance(x, y);
    if (d > 0.0) {
        return {};
    }
    const TColour top{0.22, 0.62, 0.32, 1.0};
    const TColour bottom{0.09, 0.40, 0.19, 1.0};
    TColour c = Mix(top, bottom, Clamp01((y - kBoardMargin) / (1.0 - 2.0 * kBoardMargin)));
    // Grid lines every quarter of the inside; the disc hides where they cross.
    const double inner = kBoardMargin + kFrameWidth;
    const double step = (1.0 - 2.0 * inner) / 4.0;
    for (int i = 1; i < 4; ++i) {
        const double at = inner + step * i;
        if (std::abs(x - at) < kGridHalfWidth || std::abs(y - at) < kGridHalfWidth) {
            c = Over(c, {0.04, 0.24, 0.10, 0.7});
        }
    }
    if (d > -kFrameWidth) {
        c = Over(c, {0.05, 0.27, 0.12, 0.9});
    }
    return c;
}

TColour Shadow(double x, double y) {
    const double d =
        std::hypot(x - kDiscCentreX - kShadowOffsetX, y - kDiscBottomY - kShadowOffsetY);
    return {0.0, 0.0, 0.0, 0.45 * (1.0 - SmoothStep(kDiscRadius - 0.04, kDiscRadius + 0.03, d))};
}

// The disc's side, a dark band showing below its face.
TColour Side(double x, double y) {
    if (std::hypot(x - kDiscCentreX, y - kDiscBottomY) > kDiscRadius) {
        return {};
    }
    return Mix({0.16, 0.16, 0.17, 1.0}, {0.05, 0.05, 0.06, 1.0}, Clamp01((x - 0.19) / 0.62));
}

// The face: black, a soft light from the top left, a light rim.
TColour Face(double x, double y) {
    const double dx = x - kDiscCentreX;
    const double dy = y - kDiscTopY;
    const double r = std::hypot(dx, dy);
    if (r > kDiscRadius) {
        return {};
    }
    if (r > kDiscRadius - kRimWidth) {
        const double towardLight = Clamp01(0.5 - 0.5 * (dx + dy) / (r * std::sqrt(2.0)));
        return Mix({0.22, 0.22, 0.24, 1.0}, {0.78, 0.78, 0.80, 1.0}, towardLight);
    }
    const double hx = x - (kDiscCentreX - 0.10);
    const double hy = y - (kDiscTopY - 0.11);
    const double glow = 0.30 * std::exp(-(hx * hx + hy * hy) / (2.0 * 0.09 * 0.09));
    const double v = 0.035 + glow;
    return {v, v, v + 0.01, 1.0};
}

TColour Sample(double x, double y) {
    TColour c = Board(x, y);
    c = Over(c, Shadow(x, y));
    c = Over(c, Side(x, y));
    return Over(c, Face(x, y));
}

TColour MaskableSample(double x, double y) {
    const TColour frame{0.05, 0.27, 0.12, 1.0};
    return Over(frame, Sample(0.5 + (x - 0.5) / kMaskableScale, 0.5 + (y - 0.5) / kMaskableScale));
}

// Rows of RGBA bytes, each row led by PNG's filter byte (0, none).
std::vector<uint8_t> Render(int size, bool maskable) {
    std::vector<uint8_t> rows;
    rows.reserve(static_cast<size_t>(size) * (size * 4 + 1));
    constexpr int n = kSamplesPerAxis;
    for (int py = 0; py < size; ++py) {
        rows.push_back(0);
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0; // premultiplied sums
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const double x = (px + (sx + 0.5) / n) / size;
                    const double y = (py + (sy + 0.5) / n) / size;
                    const TColour c = maskable ? MaskableSample(x, y) : Sample(x, y);
                    r += c.R * c.A;
                    g += c.G * c.A;
                    b += c.B * c.A;
                    a += c.A;
                }
            }
            const auto byte = [](double v) {
                return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0));
            };
            const double unpremultiply = a > 0.0 ? 1.0 / a : 0.0;
            rows.push_back(byte(r * unpremultiply));
            rows.push_back(byte(g * unpremultiply));
            rows.push_back(byte(b * unpremultiply));
            rows.push_back(byte(a / (n * n)));
        }
    }
    return rows;
}

uint32_t Crc32(const uint8_t* data, size_t length, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < length; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(v >> shift));
    }
}

// A zlib stream of `data`: compressed when zlib is at hand, else in stored deflate blocks.
std::vector<uint8_t> ZlibStream(const std::vector<uint8_t>& data) {
#ifdef ICONGEN_HAVE_ZLIB
    uLongf length = compressBound(static_cast<uLong>(data.size()));
    std::vector<uint8_t> out(length);
    if (compress2(out.data(), &length, data.data(), static_cast<uLong>(data.size()),
                  Z_BEST_COMPRESSION) == Z_OK) {
        out.resize(length);
        return out;
    }
#endif
    std::vector<uint8_t> stored = {0x78, 0x01};
    constexpr size_t kMaxBlock = 65535;
    size_t at = 0;
    do {
        const size_t block = std::min(kMaxBlock, data.size() - at);
        const bool last = at + block == data.size();
        stored.push_back(last ? 1 : 0);
        stored.push_back(static_cast<uint8_t>(block));
        stored.push_back(static_cast<uint8_t>(block >> 8));
        stored.push_back(static_cast<uint8_t>(~block));
        stored.push_back(static_cast<uint8_t>(~block >> 8));
        stored.insert(stored.end(), data.begin() + at, data.begin() + at + block);
        at += block;
    } while (at < data.size());
    uint32_t s1 = 1, s2 = 0; // Adler-32
    for (const uint8_t byte : data) {
        s1 = (s1 + byte) % 65521;
        s2 = (s2 + s1) % 65521;
    }
    PutBigEndian(stored, (s2 << 16) | s1);
    return stored;
}

void PutChunk(std::vector<uint8_t>& png, const char (&type)[5], const std::vector<uint8_t>& body) {
    PutBigEndian(png, static_cast<uint32_t>(body.size()));
    const size_t typeAt = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), body.begin(), body.end());
    PutBigEndian(png, Crc32(png.data() + typeAt, png.size() - typeAt));
}

std::vector<uint8_t> EncodePng(int size, const std::vector<uint8_t>& rows) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(size));
    PutBigEndian(header, static_cast<uint32_t>(size));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, progressive
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibStream(rows));
    PutChunk(png, "IEND", {});
    return png;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

bool WriteIcon(const std::string& path, int size, bool maskable) {
    if (!WriteFile(path, EncodePng(size, Render(size, maskable)))) {
        std::fprintf(stderr, "icongen: could not write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen <output directory>\n");
        return 2;
    }
    const std::string dir = argv[1];
    for (const int size : kSizes) {
        const std::string path = dir + "/" + kIconName + "-" + std::to_string(size) + ".png";
        if (!WriteIcon(path, size, false)) {
            return 1;
        }
    }
    const std::string maskable =
        dir + "/" + kIconName + "-maskable-" + std::to_string(kMaskableSize) + ".png";
    return WriteIcon(maskable, kMaskableSize, true) ? 0 : 1;
}
