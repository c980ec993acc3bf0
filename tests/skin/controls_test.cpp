// Control records: loading, and which slice of the strip each state draws.
#include <gtest/gtest.h>

#include "skin/skin_controls.h"
#include "skin/skin_slider.h"
#include "skin/skin_static.h"
#include "support/test_images.h"

namespace quelt {
namespace {

// Windows test executables carry a four-slice "PNG" resource; elsewhere no resource exists.
#ifdef QUELT_TEST_PNG_RESOURCE
constexpr int kPngResource = QUELT_TEST_PNG_RESOURCE;
#else
constexpr int kPngResource = 0;
#endif

constexpr std::uint32_t kSlices[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(canvas_.create(60, 40));
        strip4_ = folder_.file("four.kesp");
        strip3_ = folder_.file("three.kesp");
        strip2_ = folder_.file("two.kesp");
        test::WriteStrip(strip4_, 3, 2, {kSlices[0], kSlices[1], kSlices[2], kSlices[3]});
        test::WriteStrip(strip3_, 3, 2, {kSlices[0], kSlices[1], kSlices[2]});
        test::WriteStrip(strip2_, 3, 2, {kSlices[0], kSlices[1]});
    }
    // Colour in the middle of the rectangle after drawing on a clear canvas.
    template <typename Control>
    std::uint32_t Drawn(Control& control, int x = 10, int y = 10) {
        canvas_.clear();
        control.Draw(&canvas_);
        return canvas_.pixel(x, y);
    }
    test::ScratchFolder folder_;
    gfx::Canvas canvas_;
    std::string strip4_, strip3_, strip2_;
};

TEST(SliceArithmetic, IntegerOriginRealWidth) {
    const auto a = SliceSource(100, 10, 4, 3);
    EXPECT_FLOAT_EQ(a.x, 75);
    EXPECT_FLOAT_EQ(a.width, 25);
    for (int k = 0; k < 4; ++k) {
        const auto b = SliceSource(101, 10, 4, k);
        EXPECT_FLOAT_EQ(b.x, 25.0f * k);
        EXPECT_FLOAT_EQ(b.width, 25.25f);
    }
    EXPECT_FLOAT_EQ(SliceSource(200, 5, 2, 1).x, 100);
    EXPECT_FLOAT_EQ(SliceSource(200, 5, 2, 1).width, 100);
    EXPECT_FLOAT_EQ(SliceSource(100, 5, 3, 2).x, 66);
    EXPECT_NEAR(SliceSource(100, 5, 3, 2).width, 33.333f, 0.001f);
    // An inverted rectangle draws with its absolute size from its left/top.
    const auto d = SliceDest({30, 20, 10, 5});
    EXPECT_FLOAT_EQ(d.x, 30);
    EXPECT_FLOAT_EQ(d.width, 20);
    EXPECT_FLOAT_EQ(d.height, 15);
}

TEST_F(ControlsTest, FourSliceControlsDrawTheSliceOfTheirState) {
    SkinButton button;
    button.Assign({.imagePath = strip4_, .rect = {0, 0, 20, 20}, .visible = 1});
    ASSERT_EQ(button.Load(), 1);
    SkinCheckBox box;
    box.Assign({.imagePath = strip4_, .rect = {0, 0, 20, 20}, .visible = 1});
    ASSERT_EQ(box.Load(), 1);
    SkinSwitch toggle;
    toggle.Assign({.imagePath = strip4_, .rect = {0, 0, 20, 20}});
    ASSERT_EQ(toggle.Load(), 1);
    for (int state = 0; state < 4; ++state) {
        button.state = box.state = toggle.state = state;
        EXPECT_EQ(Drawn(button), kSlices[state]) << state;
        EXPECT_EQ(Drawn(box), kSlices[state]) << state;
        EXPECT_EQ(Drawn(toggle), kSlices[state]) << state;
        EXPECT_EQ(Drawn(box, 19, 19), kSlices[state]) << state;  // edge: no neighbouring slice
    }
    // Hidden controls are not drawn; a switch has no such flag.
    button.visible = box.visible = 0;
    EXPECT_EQ(Drawn(button), 0u);
    EXPECT_EQ(Drawn(box), 0u);
    EXPECT_EQ(Drawn(toggle, 0, 0), kSlices[3]);
    EXPECT_EQ(canvas_.pixel(20, 10), 0u);
    toggle.Draw(nullptr);  // no canvas: nothing to do
}

TEST_F(ControlsTest, LoadReportsUnusableImagesAndNeverReplacesOne) {
    SkinButton button;
    button.Assign(
        {.imagePath = folder_.file("missing.kesp"), .rect = {0, 0, 20, 20}, .visible = 1});
    EXPECT_EQ(button.Load(), 0);
    ASSERT_NE(button.image, nullptr);  // the failed image is kept
    EXPECT_EQ(Drawn(button), 0u);
    button.imagePath = strip4_;
    EXPECT_EQ(button.Load(), 0);  // already holds an image
    button.Release();
    EXPECT_EQ(button.image, nullptr);
    EXPECT_EQ(button.Load(), 1);
    const SkinImage* first = button.image.get();
    EXPECT_EQ(button.Load(), 0);
    EXPECT_EQ(button.image.get(), first);

    SkinButton fromResource;
    fromResource.Assign({.resourceId = 4711, .rect = {0, 0, 5, 5}, .visible = 1});
    EXPECT_EQ(fromResource.Load(), 0);  // no such resource in the test executable

    if (kPngResource == 0) {
        EXPECT_FALSE(SkinImage::FromResource(7001)->native().valid());
        return;
    }
    SkinButton resourceButton;
    resourceButton.Assign({.resourceId = kPngResource, .rect = {0, 0, 20, 20}, .visible = 1});
    ASSERT_EQ(resourceButton.Load(), 1);
    EXPECT_EQ(resourceButton.image->Width(), 8u);
    resourceButton.state = 2;
    EXPECT_EQ(Drawn(resourceButton), kSlices[2]);
}

TEST_F(ControlsTest, StaticImageAndSliderUseTwoAndThreeSlices) {
    SkinStaticImage picture;
    picture.Assign({.imagePath = strip2_, .rect = {0, 0, 20, 20}, .visible = 1});
    ASSERT_EQ(picture.Load(), 1);
    EXPECT_EQ(Drawn(picture), kSlices[0]);
    picture.state = 1;
    EXPECT_EQ(Drawn(picture), kSlices[1]);
    picture.visible = 0;
    EXPECT_EQ(Drawn(picture), 0u);

    SkinSlider slider;
    slider.Assign({.thumbPath = strip3_,
                   .barPath = strip3_,
                   .thumbRect = {0, 0, 10, 10},
                   .barRect = {30, 0, 40, 40},
                   .minPos = 5,
                   .maxPos = 45,
                   .stopCount = 3,
                   .visible = 1});
    ASSERT_EQ(slider.Load(), 1);
    for (int state = 0; state < 3; ++state) {
        slider.state = state;
        canvas_.clear();
        slider.Draw(&canvas_);
        EXPECT_EQ(canvas_.pixel(2, 2), kSlices[state]);    // thumb, moved to the first stop at x 0
        EXPECT_EQ(canvas_.pixel(35, 20), kSlices[state]);  // bar
    }
    slider.barImage = SkinImage::FromFile(folder_.file("missing.kesp"));
    EXPECT_EQ(Drawn(slider, 2, 2), 0u);  // either image unusable: nothing drawn
}

TEST(SkinTextRules, BrushStyleAndAlignment) {
    SkinText label;
    label.Assign({.text = "x", .colour = 0x000000FF, .alpha = 255, .visible = 1});
    EXPECT_EQ(label.BrushArgb(), 0xFEFF0000u);
    label.alpha = 220;
    EXPECT_EQ(label.BrushArgb(), 0xDCFF0000u);
    label.disabled = 1;
    EXPECT_EQ(label.BrushArgb(), 0xDC969696u);
    EXPECT_EQ(label.FontStyle(), 0);
    label.bold = 1;
    label.italic = 1;
    EXPECT_EQ(label.FontStyle(), 3);
}

TEST_F(ControlsTest, TextLabelsDrawInTheirColourOrGrey) {
    SkinText label;
    label.Assign({.text = "HH",
                  .rect = {0, 0, 60, 40},
                  .fontSize = 30,
                  .bold = 1,
                  .align = 7,  // unknown alignment: near
                  .colour = 0x000000FF,
                  .alpha = 220,
                  .visible = 1});
    canvas_.clear();
    label.Draw(&canvas_);
    auto box = test::InkBox(canvas_);
    EXPECT_EQ(box.maxAlpha, 220);
    EXPECT_LT(box.left, 10);  // near: at the left, beyond the face's own side bearing
    const auto firstFull = [&] {
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 60; ++x) {
                if (test::ColourAt(canvas_, x, y).a == 220) {
                    return test::ColourAt(canvas_, x, y);
                }
            }
        }
        return test::Colour{};
    };
    EXPECT_NEAR(firstFull().r, 255, 2);
    label.disabled = 1;
    canvas_.clear();
    label.Draw(&canvas_);
    const auto grey = firstFull();
    EXPECT_NEAR(grey.r, 150, 3);
    EXPECT_NEAR(grey.g, 150, 3);
    EXPECT_NEAR(grey.b, 150, 3);
    label.visible = 0;
    canvas_.clear();
    label.Draw(&canvas_);
    EXPECT_EQ(test::InkBox(canvas_).count, 0);
}

}  // namespace
}  // namespace quelt
