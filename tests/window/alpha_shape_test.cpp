#include <gtest/gtest.h>

#include <vector>

#include "platform/window/alpha_shape.h"

namespace quelt {
namespace {

TEST(AlphaShape, MergesEqualRowsAndSplitsAtTransparentGaps) {
    // 6 x 4 canvas: rows 0-1 opaque in columns 1-2 and 4; row 2 empty; row 3 half alpha 0-5.
    const int width = 6;
    std::vector<std::uint32_t> canvas(static_cast<std::size_t>(width) * 4, 0);
    for (int y = 0; y < 2; ++y) {
        canvas[static_cast<std::size_t>(y * width + 1)] = 0xFF112233u;
        canvas[static_cast<std::size_t>(y * width + 2)] = 0xFF112233u;
        canvas[static_cast<std::size_t>(y * width + 4)] = 0x01000000u;
    }
    for (int x = 0; x < width; ++x) {
        canvas[static_cast<std::size_t>(3 * width + x)] = 0x7F3F0000u;
    }

    const auto all = alphaShape(canvas.data(), width, 4, width * 4, 1);
    const std::vector<ShapeRect> expected{{1, 0, 2, 2}, {4, 0, 1, 2}, {0, 3, 6, 1}};
    EXPECT_EQ(all, expected);

    const auto visible = alphaShape(canvas.data(), width, 4, width * 4, 128);
    const std::vector<ShapeRect> opaqueOnly{{1, 0, 2, 2}};
    EXPECT_EQ(visible, opaqueOnly);
}

TEST(AlphaShape, FullyTransparentOrEmptyCanvasHasNoRectangles) {
    std::vector<std::uint32_t> canvas(16, 0x00FFFFFFu);  // colour without alpha is outside
    EXPECT_TRUE(alphaShape(canvas.data(), 4, 4, 16, 1).empty());
    EXPECT_TRUE(alphaShape(nullptr, 4, 4, 16, 1).empty());
}

}  // namespace
}  // namespace quelt
