#include "tests/view/BoardWindowFixture.h"

#include "view/BoardLayout.h"

namespace pebbo::testing {
namespace {

// Draws the shape at four times the size, as a person would with GDI, and
// averages every 4 x 4 square by hand.
Pixels expectedShape(int width, int height) {
    const int big = 4;
    WindowDC screen(nullptr);
    MemoryDC memory(screen.get());
    Bitmap canvas(CreateCompatibleBitmap(screen.get(), width * big, height * big));
    Brush board(CreateSolidBrush(kBoardColorRef));
    Brush white(CreateSolidBrush(RGB(255, 255, 255)));
    Pen edge(CreatePen(PS_SOLID, 4, kBoardColorRef));
    ScopedSelect bitmap(memory.get(), canvas.get());
    ScopedSelect pen(memory.get(), edge.get());
    ScopedSelect brush(memory.get(), board.get());
    Rectangle(memory.get(), 0, 0, width * big, height * big);
    SelectObject(memory.get(), white.get());
    Ellipse(memory.get(), 0, 0, width * big - 1, height * big - 1);

    Pixels result{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned red = 0;
            unsigned green = 0;
            unsigned blue = 0;
            for (int dy = 0; dy < big; ++dy) {
                for (int dx = 0; dx < big; ++dx) {
                    const COLORREF pixel = GetPixel(memory.get(), x * big + dx, y * big + dy);
                    red += GetRValue(pixel);
                    green += GetGValue(pixel);
                    blue += GetBValue(pixel);
                }
            }
            result.values.push_back(RGB(red / 16, green / 16, blue / 16));
        }
    }
    return result;
}

bool isBetween(COLORREF pixel, COLORREF low, COLORREF high) {
    return pixel != low && pixel != high && GetRValue(pixel) >= GetRValue(low) &&
           GetRValue(pixel) <= GetRValue(high) && GetBValue(pixel) >= GetBValue(low) &&
           GetBValue(pixel) <= GetBValue(high);
}

TEST_F(BoardWindowTest, PitsAndStoresShowSoftEdgedWhiteShapesOnTheBoardColour) {
    const COLORREF white = RGB(255, 255, 255);
    for (int index : {0, 6}) {
        SCOPED_TRACE(index);
        const Pixels shown = captureHole(index);
        const int width = shown.width;
        const int height = shown.height;
        EXPECT_EQ(shown.at(0, 0), kBoardColorRef);
        EXPECT_EQ(shown.at(width - 1, 0), kBoardColorRef);
        EXPECT_EQ(shown.at(0, height - 1), kBoardColorRef);
        EXPECT_EQ(shown.at(width - 1, height - 1), kBoardColorRef);
        EXPECT_EQ(shown.at(width / 2, height / 2), white);

        // Along the middle row the edge fades from the board colour to white.
        int softPixels = 0;
        for (int x = 0; x < width / 2; ++x) {
            softPixels += isBetween(shown.at(x, height / 2), kBoardColorRef, white) ? 1 : 0;
        }
        EXPECT_GE(softPixels, 1);

        EXPECT_EQ(shown, expectedShape(width, height));
    }
    // Every pit shows the same image, every store the other one.
    for (int index = 0; index < 14; ++index) {
        EXPECT_EQ(captureHole(index), captureHole(isStore(index) ? 6 : 0)) << index;
    }
}

} // namespace
} // namespace pebbo::testing
