#include <gtest/gtest.h>

#include <vector>

#include "platform/window/frame_changes.h"

namespace quelt {
namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 5;
constexpr int kStride = 10;  // pixels per row: two of padding that never count

struct Frame {
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kStride * kHeight, 0xFF000000u);
    void set(int x, int y, std::uint32_t value) { pixels[y * kStride + x] = value; }
};

ShapeRect feed(FrameChanges& changes, const Frame& frame, int width = kWidth) {
    return changes.update(frame.pixels.data(), width, kHeight, kStride * 4);
}

TEST(FrameChanges, BoundsEveryChangedPixelAndRemembersTheFrame) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> changed;  // x, y
        ShapeRect expected;
    };
    const std::vector<Case> cases{
        {"nothing", {}, {}},
        {"one pixel", {{3, 2}}, {3, 2, 1, 1}},
        {"corners", {{0, 0}, {7, 4}}, {0, 0, 8, 5}},
        {"left column found in a later row", {{5, 1}, {6, 1}, {2, 3}}, {2, 1, 5, 3}},
        {"right column found in a later row", {{1, 0}, {7, 2}}, {1, 0, 7, 3}},
        {"last row only", {{4, 4}, {5, 4}}, {4, 4, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameChanges changes;
        Frame frame;
        EXPECT_EQ(feed(changes, frame), (ShapeRect{0, 0, kWidth, kHeight}));  // first: all new
        for (const auto& [x, y] : c.changed) {
            frame.set(x, y, 0xFF123456u);
        }
        EXPECT_EQ(feed(changes, frame), c.expected);
        EXPECT_EQ(feed(changes, frame), ShapeRect{});  // the same frame again
    }
}

TEST(FrameChanges, PaddingSizeAndForgetting) {
    FrameChanges changes;
    Frame frame;
    feed(changes, frame);
    frame.set(8, 1, 0x12345678u);  // padding beyond the row's width
    frame.set(9, 3, 0x12345678u);
    EXPECT_EQ(feed(changes, frame), ShapeRect{});

    EXPECT_EQ(feed(changes, frame, kWidth - 1), (ShapeRect{0, 0, kWidth - 1, kHeight}));
    EXPECT_EQ(feed(changes, frame, kWidth - 1), ShapeRect{});

    changes.forget();
    EXPECT_EQ(feed(changes, frame, kWidth - 1), (ShapeRect{0, 0, kWidth - 1, kHeight}));

    EXPECT_EQ(changes.update(nullptr, kWidth, kHeight, kStride * 4), ShapeRect{});
    EXPECT_EQ(feed(changes, frame), (ShapeRect{0, 0, kWidth, kHeight}));  // nothing was kept
}

}  // namespace
}  // namespace quelt
