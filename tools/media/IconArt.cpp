#include "tools/media/IconArt.h"

#include <algorithm>
#include <cmath>

namespace pebbo {

namespace {

struct Rgb {
    double r, g, b;
};

constexpr Rgb kBoard{128, 128, 64};
constexpr Rgb kRim{84, 84, 40};
constexpr Rgb kPit{255, 255, 255};
constexpr Rgb kSlate{60, 60, 75};
constexpr Rgb kRed{165, 55, 45};
constexpr Rgb kBlue{45, 90, 160};

// Premultiplied colour per pixel; opaque shapes are painted over each other
// with their coverage, measured on a 4 x 4 grid of samples per pixel.
class Canvas {
public:
    explicit Canvas(int32_t size) : size_(size), pixels_(static_cast<size_t>(size * size)) {}

    template <typename Inside> void fill(Inside inside, Rgb colour) {
        constexpr int grid = 4;
        for (int32_t y = 0; y < size_; ++y) {
            for (int32_t x = 0; x < size_; ++x) {
                int hits = 0;
                for (int sy = 0; sy < grid; ++sy) {
                    for (int sx = 0; sx < grid; ++sx) {
                        hits += inside(x + (sx + 0.5) / grid, y + (sy + 0.5) / grid) ? 1 : 0;
                    }
                }
                const double cover = static_cast<double>(hits) / (grid * grid);
                Pixel& p = pixels_[static_cast<size_t>(y * size_ + x)];
                p.r = colour.r * cover + p.r * (1.0 - cover);
                p.g = colour.g * cover + p.g * (1.0 - cover);
                p.b = colour.b * cover + p.b * (1.0 - cover);
                p.a = cover + p.a * (1.0 - cover);
            }
        }
    }

    RgbaImage image() const {
        RgbaImage out;
        out.size = size_;
        out.rgba.reserve(pixels_.size() * 4);
        for (const Pixel& p : pixels_) {
            const long alpha = std::lround(p.a * 255.0);
            auto channel = [&](double premultiplied) {
                return alpha == 0 ? 0 : std::clamp(std::lround(premultiplied / p.a), 0L, 255L);
            };
            out.rgba.push_back(static_cast<uint8_t>(channel(p.r)));
            out.rgba.push_back(static_cast<uint8_t>(channel(p.g)));
            out.rgba.push_back(static_cast<uint8_t>(channel(p.b)));
            out.rgba.push_back(static_cast<uint8_t>(alpha));
        }
        return out;
    }

private:
    struct Pixel {
        double r = 0, g = 0, b = 0, a = 0;
    };
    int32_t size_;
    std::vector<Pixel> pixels_;
};

auto roundedRect(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) {
        if (x < left || x > right || y < top || y > bottom) {
            return false;
        }
        const double dx = x - std::clamp(x, left + radius, right - radius);
        const double dy = y - std::clamp(y, top + radius, bottom - radius);
        return dx * dx + dy * dy <= radius * radius;
    };
}

auto ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx;
        const double dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

} // namespace

RgbaImage drawBoardIcon(int32_t size) {
    const double s = size;
    Canvas canvas(size);

    // A darker rim keeps the board readable on light and dark desktops alike.
    const double rim = std::max(1.0, s / 24.0);
    canvas.fill(roundedRect(0.03 * s, 0.19 * s, 0.97 * s, 0.81 * s, 0.16 * s), kRim);
    canvas.fill(
        roundedRect(0.03 * s + rim, 0.19 * s + rim, 0.97 * s - rim, 0.81 * s - rim, 0.16 * s - rim),
        kBoard);

    for (double cx : {0.15, 0.85}) {
        canvas.fill(ellipse(cx * s, 0.5 * s, 0.06 * s, 0.21 * s), kPit);
    }
    for (double cy : {0.36, 0.64}) {
        for (double cx : {0.32, 0.5, 0.68}) {
            canvas.fill(ellipse(cx * s, cy * s, 0.075 * s, 0.075 * s), kPit);
        }
    }

    struct Stone {
        double x, y;
        Rgb colour;
    };
    const Stone stones[] = {{0.295, 0.34, kSlate},
                            {0.35, 0.385, kRed},
                            {0.68, 0.64, kBlue},
                            {0.85, 0.44, kRed},
                            {0.85, 0.56, kSlate}};
    for (const Stone& stone : stones) {
        canvas.fill(ellipse(stone.x * s, stone.y * s, 0.05 * s, 0.05 * s), stone.colour);
    }
    return canvas.image();
}

} // namespace pebbo
