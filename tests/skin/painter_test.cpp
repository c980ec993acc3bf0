// Painter and canvas: opacity rules, whole-file drawing, measuring, gradients, texts, and the
// background composition of a skinned window.
#include <gtest/gtest.h>

#include "skin/skin_canvas.h"
#include "skin/skin_painter.h"
#include "support/test_images.h"

namespace quelt {
namespace {

using test::ColourAt;
using test::InkBox;

TEST(PainterRules, OpacityBrushAlphaAndColourConversion) {
    EXPECT_FLOAT_EQ(OpacityScale(255), 1.0f);
    EXPECT_NEAR(OpacityScale(128), 0.502f, 0.0005f);
    EXPECT_FLOAT_EQ(OpacityScale(300), OpacityScale(255));
    EXPECT_FLOAT_EQ(OpacityScale(0), 0.0f);

    EXPECT_EQ(TextBrushAlpha(255), 254);
    EXPECT_EQ(TextBrushAlpha(256), 254);
    EXPECT_EQ(TextBrushAlpha(100), 100);
    EXPECT_EQ(TextBrushAlpha(-1), 255);  // low byte

    EXPECT_EQ(ColourToArgb(0x000000FF, 254), 0xFEFF0000u);  // red sits in the low byte
    EXPECT_EQ(ColourToArgb(0x00FF0000, 254), 0xFE0000FFu);
    EXPECT_EQ(ColourToArgb(0x00123456, 1), 0x01563412u);
}

class PainterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(canvas_.create(100, 60));
        white_ = folder_.file("white.kesp");
        test::WriteStrip(white_, 4, 3, {0xFFFFFFFF});
    }
    test::ScratchFolder folder_;
    gfx::Canvas canvas_;
    std::string white_;
    SkinPainter painter_;
};

TEST_F(PainterTest, DoesNothingUntilStarted) {
    EXPECT_NE(painter_.DrawImageFile(white_, &canvas_, 0, 0, 10, 10, 255), gfx::kOk);
    painter_.FillGradient(&canvas_, 0xFF, 0xFF0000, 0, 0, 50, 50);
    painter_.DrawText(&canvas_, "text", 1, 20, 0xFFFFFF, 255, 0, 0, "Arial", 0, 0, 100, 60);
    SkinRect size{1, 2, 3, 4};
    painter_.GetImageSize(white_, &canvas_, size);
    EXPECT_EQ(InkBox(canvas_).count, 0);
}

TEST_F(PainterTest, DrawsWholeFilesAtTheRequestedOpacity) {
    painter_.Start();
    painter_.DrawImageFile(white_, &canvas_, 0, 0, 20, 20, 255);
    painter_.DrawImageFile(white_, &canvas_, 30, 0, 20, 20, 128);
    painter_.DrawImageFile(white_, &canvas_, 60, 0, 20, 20, 300);
    EXPECT_EQ(canvas_.pixel(10, 10), 0xFFFFFFFFu);
    EXPECT_NEAR(ColourAt(canvas_, 40, 10).a, 128, 1);
    EXPECT_EQ(canvas_.pixel(70, 10), 0xFFFFFFFFu);
    EXPECT_EQ(canvas_.pixel(25, 10), 0u);
    EXPECT_EQ(InkBox(canvas_).bottom, 20);

    SkinRect size;
    EXPECT_EQ(painter_.GetImageSize(white_, &canvas_, size), gfx::kOk);
    EXPECT_EQ(size, (SkinRect{0, 0, 4, 3}));
    size = {1, 2, 3, 4};
    EXPECT_NE(painter_.GetImageSize(folder_.file("missing.kesp"), &canvas_, size), gfx::kOk);
    EXPECT_EQ(size, (SkinRect{0, 0, 0, 0}));
    EXPECT_NE(painter_.DrawImageFile(folder_.file("missing.kesp"), &canvas_, 0, 30, 9, 9, 255),
              gfx::kOk);
}

TEST_F(PainterTest, GradientEndsCarryAlpha254) {
    painter_.Start();
    painter_.FillGradient(&canvas_, 0x000000FF, 0x00FF0000, 0, 0, 100, 10);
    const auto left = ColourAt(canvas_, 0, 5);
    const auto right = ColourAt(canvas_, 99, 5);
    EXPECT_EQ(left.a, 254);
    EXPECT_NEAR(left.r, 255, 4);
    EXPECT_NEAR(left.b, 0, 4);
    EXPECT_EQ(right.a, 254);
    EXPECT_NEAR(right.r, 0, 4);
    EXPECT_NEAR(right.b, 255, 4);
}

TEST_F(PainterTest, TextBrushAlphaFollowsTheAlphaRule) {
    painter_.Start();
    const auto maxAlpha = [&](int alpha) {
        canvas_.clear();
        painter_.DrawText(&canvas_, "HH", 1, 40, 0x0000FF00, alpha, 0, 1, "Arial", 0, 0, 100, 60);
        return InkBox(canvas_).maxAlpha;
    };
    EXPECT_EQ(maxAlpha(255), 254);
    EXPECT_EQ(maxAlpha(256), 254);
    EXPECT_EQ(maxAlpha(100), 100);
}

TEST(SkinCanvasTest, BackgroundSizesTheCanvas) {
    test::ScratchFolder folder;
    const std::string background = folder.file("bk.kesp");
    test::WriteStrip(background, 40, 30, {0xFF102030});
    SkinCanvas canvas;
    EXPECT_EQ(canvas.dc(), nullptr);

    EXPECT_EQ(canvas.SetBackground(0, 0, background), 1);
    EXPECT_EQ(canvas.composed, 1);
    EXPECT_EQ(canvas.windowRect, (SkinRect{0, 0, 40, 30}));
    EXPECT_EQ(canvas.imageRect, (SkinRect{0, 0, 40, 30}));
    ASSERT_NE(canvas.dc(), nullptr);
    EXPECT_EQ(canvas.dc()->width(), 40);

    EXPECT_EQ(canvas.SetBackground(400, 300, background), 1);
    EXPECT_EQ(canvas.windowRect, (SkinRect{0, 0, 400, 300}));
    EXPECT_EQ(canvas.canvasRect, (SkinRect{0, 0, 400, 300}));
    EXPECT_EQ(canvas.dc()->height(), 300);
    EXPECT_EQ(canvas.backgroundPath, background);

    SkinCanvas missing;
    EXPECT_EQ(missing.SetBackground(0, 0, folder.file("none.kesp")), 0);
    EXPECT_EQ(missing.composed, 0);
    EXPECT_EQ(missing.dc(), nullptr);
    missing.PaintBackground(0, 0, 0, 0, 255, background);  // no canvas: nothing happens
    EXPECT_EQ(missing.dc(), nullptr);
}

TEST(SkinCanvasTest, PaintBackgroundClearsAndKeepsTransparencyOutsideTheImage) {
    test::ScratchFolder folder;
    const std::string background = folder.file("bk.kesp");
    // Left half opaque blue, right half fully transparent.
    test::WriteStrip(background, 10, 10, {0xFF0000FF, 0x00000000});
    SkinCanvas canvas;
    ASSERT_EQ(canvas.SetBackground(30, 10, background), 1);
    canvas.FillGradient(0x000000FF, 0x000000FF, {0, 0, 30, 10});  // leftover of a previous frame
    canvas.PaintBackground(0, 0, 0, 0, 255, background);
    EXPECT_EQ(canvas.dc()->pixel(5, 5), 0xFF0000FFu);
    EXPECT_EQ(canvas.dc()->pixel(15, 5), 0u);  // transparent part of the image
    EXPECT_EQ(canvas.dc()->pixel(25, 5), 0u);  // not covered by the image
    canvas.FillGradient(0x000000FF, 0x00FF0000, {20, 0, 30, 10});
    EXPECT_EQ(ColourAt(*canvas.dc(), 20, 5).a, 254);

    // Another image path paints that image (decoded images are kept per path), half opaque.
    const std::string other = folder.file("other.kesp");
    test::WriteStrip(other, 5, 5, {0xFFFF0000});
    canvas.PaintBackground(0, 0, 30, 10, 128, other);
    EXPECT_EQ(canvas.imageRect, (SkinRect{0, 0, 5, 5}));
    EXPECT_EQ(canvas.backgroundPath, other);
    EXPECT_NEAR(ColourAt(*canvas.dc(), 25, 5).a, 128, 1);
    EXPECT_NEAR(ColourAt(*canvas.dc(), 25, 5).r, 255, 2);
    canvas.PaintBackground(0, 0, 0, 0, 255, background);
    EXPECT_EQ(canvas.dc()->pixel(5, 5), 0xFF0000FFu);
    EXPECT_EQ(canvas.dc()->pixel(25, 5), 0u);
}

}  // namespace
}  // namespace quelt
