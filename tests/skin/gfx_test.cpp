// Drawing backend: canvas layout, decoding by content, slice sampling, opacity, gradients, text.
// Only pixels are checked, so the same tests run against every backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "platform/gfx/gfx.h"
#include "support/test_images.h"

namespace quelt::gfx {
namespace {

using test::Colour;
using test::ColourAt;
using test::InkBox;

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

class GfxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        token_ = startup();
        ASSERT_TRUE(canvas_.create(120, 80));
    }
    void TearDown() override { shutdown(token_); }

    std::uintptr_t token_ = 0;
    test::ScratchFolder folder_;
    Canvas canvas_;
};

TEST(CanvasTest, CreatesTransparentAndRefusesBadSizes) {
    Canvas canvas;
    EXPECT_FALSE(canvas.create(0, 10));
    EXPECT_FALSE(canvas.create(10, -1));
    EXPECT_FALSE(canvas.valid());
    ASSERT_TRUE(canvas.create(7, 3));
    EXPECT_EQ(canvas.stride(), 28);
    EXPECT_EQ(canvas.pixel(6, 2), 0u);
    EXPECT_EQ(canvas.pixel(7, 0), 0u);  // outside reads 0

    // Wrapped memory keeps its stride; clear touches only the pixels of each row.
    std::vector<std::uint32_t> memory(4 * 3, 0xDEADBEEF);
    ASSERT_TRUE(canvas.wrap(memory.data(), 3, 3, 16));
    canvas.clear();
    EXPECT_EQ(memory[0], 0u);
    EXPECT_EQ(memory[2], 0u);
    EXPECT_EQ(memory[3], 0xDEADBEEFu);                   // row padding untouched
    EXPECT_FALSE(canvas.wrap(memory.data(), 5, 3, 16));  // stride too small
}

TEST_F(GfxTest, DecodesByContentWhateverTheExtension) {
    const std::string path = folder_.file("strip.kesp");
    test::WriteStrip(path, 5, 7, {kRed, kGreen});
    const Image image = Image::fromFile(path);
    ASSERT_TRUE(image.valid());
    EXPECT_EQ(image.width(), 10u);
    EXPECT_EQ(image.height(), 7u);
    EXPECT_EQ(image.lastStatus(), kOk);

    // Pixels are stored premultiplied, B, G, R, A in memory on little-endian machines.
    drawImage(canvas_, image, {0, 0, 10, 7}, {0, 0, 10, 7});
    EXPECT_EQ(canvas_.pixel(0, 0), kRed);
    EXPECT_EQ(canvas_.pixel(9, 6), kGreen);
    const std::uint32_t probe = 1;
    unsigned char first;
    std::memcpy(&first, &probe, 1);
    if (first == 1) {
        EXPECT_EQ(canvas_.data()[0], 0x00);
        EXPECT_EQ(canvas_.data()[2], 0xFF);
        EXPECT_EQ(canvas_.data()[3], 0xFF);
    }
}

TEST_F(GfxTest, UndecodableFilesGiveAnEmptyImage) {
    const Image missing = Image::fromFile(folder_.file("none.kesp"));
    EXPECT_FALSE(missing.valid());
    EXPECT_EQ(missing.width(), 0u);
    EXPECT_EQ(missing.height(), 0u);
    EXPECT_NE(missing.lastStatus(), kOk);

    const std::string junk = folder_.file("junk.png");
    std::ofstream(junk) << "not an image at all";
    const Image garbage = Image::fromFile(junk);
    EXPECT_FALSE(garbage.valid());
    EXPECT_EQ(garbage.width(), 0u);
    EXPECT_NE(drawImage(canvas_, garbage, {0, 0, 1, 1}, {0, 0, 10, 10}), kOk);
    EXPECT_EQ(InkBox(canvas_).count, 0);
}

TEST_F(GfxTest, AnImageOverTheSizeBoundFailsLikeAnUndecodableOne) {
    // 8192 pixels a side is the bound: one more is refused, however cheap it would be to decode.
    const std::string widest = folder_.file("widest.kesp");
    const std::string wider = folder_.file("wider.kesp");
    test::WritePng(widest, 8192, 1, std::vector<std::uint32_t>(8192, kRed));
    test::WritePng(wider, 8193, 1, std::vector<std::uint32_t>(8193, kRed));
    EXPECT_EQ(Image::fromFile(widest).width(), 8192u);
    const Image refused = Image::fromFile(wider);
    EXPECT_FALSE(refused.valid());
    EXPECT_EQ(refused.width(), 0u);
    EXPECT_EQ(refused.lastStatus(), kValueOverflow);
}

TEST_F(GfxTest, StretchedSliceNeverPicksUpItsNeighbours) {
    const std::string path = folder_.file("strip.png");
    test::WriteStrip(path, 4, 4, {kRed, kGreen, kBlue, kWhite});
    const Image image = Image::fromFile(path);
    ASSERT_TRUE(image.valid());

    // Slice 1 (green) enlarged ten times: exactly the destination, all of it pure green.
    drawImage(canvas_, image, {4, 0, 4, 4}, {10, 10, 40, 40});
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 60; ++x) {
            const bool inside = x >= 10 && x < 50 && y >= 10 && y < 50;
            ASSERT_EQ(canvas_.pixel(x, y), inside ? kGreen : 0u) << x << "," << y;
        }
    }
    // Shrunk: whatever the backend covers at the edges is pure green too.
    drawImage(canvas_, image, {4, 0, 4, 4}, {60, 10, 3, 3});
    EXPECT_EQ(canvas_.pixel(61, 11), kGreen);
    for (int y = 0; y < 80; ++y) {
        for (int x = 60; x < 120; ++x) {
            const std::uint32_t p = canvas_.pixel(x, y);
            ASSERT_TRUE(p == 0 || p == kGreen) << x << "," << y;
            ASSERT_TRUE(p == 0 || (x < 63 && y >= 10 && y < 13)) << x << "," << y;
        }
    }
}

TEST_F(GfxTest, SliceAtItsOwnSizeBlendsOverAndClipsAtEveryCanvasEdge) {
    // Straight colours; the top row and the left column are transparent.
    const std::string path = folder_.file("sprite.png");
    test::WritePng(path, 4, 3,
                   {0, 0, 0, 0,              //
                    0, kRed, 0x800000FF, 0,  //
                    0, 0, 0x40FFFFFF, kGreen});
    const Image image = Image::fromFile(path);
    ASSERT_TRUE(image.valid());
    constexpr std::uint32_t kGrey = 0xFF808080;
    for (int y = 0; y < canvas_.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(canvas_.data() + y * canvas_.stride());
        std::fill(row, row + canvas_.width(), kGrey);
    }
    drawImage(canvas_, image, {0, 0, 4, 3}, {-2, 77, 4, 3});   // left column and bottom row out
    drawImage(canvas_, image, {0, 0, 4, 3}, {118, -1, 4, 3});  // right columns and top row out

    struct Expected {
        int x, y;
        std::uint32_t argb;
    };
    const Expected changed[] = {
        {0, 78, 0xFF4040C0},  // half blue over grey
        {0, 79, 0xFFA0A0A0},  // quarter white over grey
        {1, 79, kGreen},
        {119, 0, kRed},
    };
    for (int y = 0; y < canvas_.height(); ++y) {
        for (int x = 0; x < canvas_.width(); ++x) {
            std::uint32_t want = kGrey;
            for (const Expected& e : changed) {
                want = e.x == x && e.y == y ? e.argb : want;
            }
            const Colour got = ColourAt(canvas_, x, y);
            ASSERT_EQ(got.a, 255) << x << "," << y;
            ASSERT_NEAR(got.r, static_cast<int>((want >> 16) & 0xFF), 1) << x << "," << y;
            ASSERT_NEAR(got.g, static_cast<int>((want >> 8) & 0xFF), 1) << x << "," << y;
            ASSERT_NEAR(got.b, static_cast<int>(want & 0xFF), 1) << x << "," << y;
        }
    }
}

TEST_F(GfxTest, OpacityScalesTheImageAlpha) {
    const std::string path = folder_.file("white.png");
    test::WriteStrip(path, 2, 2, {kWhite});
    const Image image = Image::fromFile(path);
    drawImage(canvas_, image, {0, 0, 2, 2}, {0, 0, 10, 10}, 128.0f / 255.0f);
    const Colour half = ColourAt(canvas_, 5, 5);
    EXPECT_NEAR(half.a, 128, 1);
    EXPECT_NEAR(half.r, 255, 2);

    // A half-transparent image keeps its own alpha multiplied by the opacity.
    const std::string glass = folder_.file("glass.png");
    test::WriteStrip(glass, 2, 2, {0x80FF0000});
    drawImage(canvas_, Image::fromFile(glass), {0, 0, 2, 2}, {20, 0, 10, 10}, 0.5f);
    EXPECT_NEAR(ColourAt(canvas_, 25, 5).a, 64, 2);
}

TEST_F(GfxTest, GradientRunsFromLeftColourToRightColour) {
    ASSERT_EQ(fillGradient(canvas_, 10, 20, 110, 30, 0xFEFF0000, 0xFE0000FF), kOk);
    const Colour left = ColourAt(canvas_, 10, 25);
    const Colour right = ColourAt(canvas_, 109, 25);
    EXPECT_EQ(left.a, 254);
    EXPECT_NEAR(left.r, 255, 4);
    EXPECT_NEAR(left.b, 0, 4);
    EXPECT_EQ(right.a, 254);
    EXPECT_NEAR(right.r, 0, 4);
    EXPECT_NEAR(right.b, 255, 4);
    const Colour middle = ColourAt(canvas_, 60, 25);
    EXPECT_NEAR(middle.r, 128, 8);
    EXPECT_NEAR(middle.b, 128, 8);
    // Only the rectangle is filled.
    EXPECT_EQ(canvas_.pixel(9, 25), 0u);
    EXPECT_EQ(canvas_.pixel(110, 25), 0u);
    EXPECT_EQ(canvas_.pixel(50, 19), 0u);
    EXPECT_EQ(canvas_.pixel(50, 30), 0u);
}

// Text: bounding boxes of the ink tell alignment, centring, wrapping and rotation apart.
class TextTest : public GfxTest {
  protected:
    test::Box Draw(const std::string& text, RectF rect, TextStyle style) {
        canvas_.clear();
        drawText(canvas_, text, rect, style);
        return InkBox(canvas_);
    }
    TextStyle Style(float size = 20) {
        TextStyle style;
        style.emPixels = size;
        style.argb = 0xFFFFFFFF;
        return style;
    }
};

TEST_F(TextTest, AlignsHorizontallyAndCentresVertically) {
    TextStyle style = Style();
    const RectF rect{0, 0, 120, 80};
    const auto near = Draw("Hi", rect, style);
    style.align = TextAlign::Centre;
    const auto centre = Draw("Hi", rect, style);
    style.align = TextAlign::Far;
    const auto far = Draw("Hi", rect, style);
    ASSERT_GT(near.count, 0);
    EXPECT_LT(near.left, 6);
    EXPECT_GT(far.right, 112);
    EXPECT_NEAR((centre.left + centre.right) / 2.0, 60, 4);
    for (const auto& box : {near, centre, far}) {
        EXPECT_NEAR((box.top + box.bottom) / 2.0, 40, 6);
    }
}

TEST_F(TextTest, BreaksAtNewlinesAndWordsAndClipsToTheRectangle) {
    const auto one = Draw("Box", {0, 0, 120, 80}, Style(14));
    const auto three = Draw("FW: 3\nCOM: 7\nBoxID: 2", {0, 0, 120, 80}, Style(14));
    EXPECT_GT(three.bottom - three.top, 2 * (one.bottom - one.top));
    EXPECT_NEAR((three.top + three.bottom) / 2.0, 40, 6);

    const auto wrapped = Draw("alpha beta gamma", {10, 0, 50, 80}, Style(14));
    EXPECT_GE(wrapped.left, 10);
    EXPECT_LE(wrapped.right, 60);
    EXPECT_GT(wrapped.bottom - wrapped.top, 2 * (one.bottom - one.top));

    const auto clipped = Draw("WWWWWWWW", {20, 30, 30, 20}, Style(30));
    EXPECT_GE(clipped.left, 20);
    EXPECT_LE(clipped.right, 50);
    EXPECT_GE(clipped.top, 30);
    EXPECT_LE(clipped.bottom, 50);
}

TEST_F(TextTest, RotatesAboutTheCanvasOrigin) {
    TextStyle style = Style(16);
    style.angleDegrees = 90;
    // Clockwise by 90 degrees about (0, 0): the point (x, y) lands on (-y, x).
    const auto box = Draw("Rotated", {10, -60, 100, 40}, style);
    ASSERT_GT(box.count, 0);
    EXPECT_GE(box.left, 18);
    EXPECT_LE(box.right, 62);
    EXPECT_GE(box.top, 8);
    EXPECT_LE(box.bottom, 112);
    EXPECT_GT(box.bottom - box.top, box.right - box.left);  // the line now runs downwards
}

TEST_F(TextTest, BrushAlphaAndColourAreHonoured) {
    TextStyle style = Style(40);
    style.bold = true;
    style.argb = 0xFE00FF00;
    auto box = Draw("HH", {0, 0, 120, 80}, style);
    EXPECT_EQ(box.maxAlpha, 254);
    style.argb = 0x64969696;
    box = Draw("HH", {0, 0, 120, 80}, style);
    EXPECT_EQ(box.maxAlpha, 100);
    // A fully covered pixel of the grey text is (150, 150, 150) at the brush alpha.
    bool found = false;
    for (int y = 0; y < 80 && !found; ++y) {
        for (int x = 0; x < 120 && !found; ++x) {
            const Colour c = ColourAt(canvas_, x, y);
            if (c.a == 100) {
                EXPECT_NEAR(c.r, 150, 3);
                EXPECT_NEAR(c.g, 150, 3);
                EXPECT_NEAR(c.b, 150, 3);
                found = true;
            }
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(TextTest, FacesChangeTheGlyphsAndUnknownFamiliesFallBackToArial) {
    const RectF rect{0, 0, 120, 80};
    TextStyle style = Style(24);
    const auto regular = Draw("Hello", rect, style);
    const std::vector<std::uint8_t> regularPixels(canvas_.data(), canvas_.data() + 120 * 80 * 4);
    style.bold = true;
    const auto bold = Draw("Hello", rect, style);
    EXPECT_GT(bold.count, regular.count);
    style.bold = false;
    style.italic = true;
    Draw("Hello", rect, style);
    const std::vector<std::uint8_t> italicPixels(canvas_.data(), canvas_.data() + 120 * 80 * 4);
    EXPECT_NE(italicPixels, regularPixels);

    style.italic = false;
    style.fontFamily = "No Such Family 4711";
    EXPECT_FALSE(fontFamilyExists(style.fontFamily));
    Draw("Hello", rect, style);
    const std::vector<std::uint8_t> fallback(canvas_.data(), canvas_.data() + 120 * 80 * 4);
    EXPECT_EQ(fallback, regularPixels);
}

// Rows holding ink, counted as runs separated by empty rows: the number of text lines.
int InkLines(const Canvas& canvas) {
    int lines = 0;
    bool previous = false;
    for (int y = 0; y < canvas.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < canvas.width() && !ink; ++x) {
            ink = (canvas.pixel(x, y) >> 24) > 40;
        }
        lines += ink && !previous ? 1 : 0;
        previous = ink;
    }
    return lines;
}

TEST_F(TextTest, SitsAtTheRectangleWithoutPaddingSoTwoDigitPortsKeepThreeLines) {
    // The device box label: 11 pixel Arial in a 50 pixel wide rectangle.
    Draw("FW: 12\nCOM: 12\nBoxID: 1", {0, 0, 50, 59}, Style(11));
    EXPECT_EQ(InkLines(canvas_), 3);
    const auto near = Draw("H", {10, 0, 100, 80}, Style(30));
    EXPECT_LE(near.left, 10 + 3);  // the glyph's own side bearing only
    TextStyle far = Style(30);
    far.align = TextAlign::Far;
    EXPECT_GE(Draw("H", {0, 0, 100, 80}, far).right, 100 - 3);
}

TEST_F(TextTest, AKeptLayoutFollowsEveryChangeOfTextStyleAndRectangle) {
    TextLayout label;
    TextStyle style = Style(20);
    const auto drawn = [&](const std::string& text, RectF rect) {
        canvas_.clear();
        label.draw(canvas_, text, rect, style);
        return InkBox(canvas_);
    };
    const auto hi = drawn("Hi", {0, 0, 120, 80});
    EXPECT_GT(drawn("Hi there", {0, 0, 120, 80}).right, hi.right + 20);
    style.align = TextAlign::Far;
    EXPECT_GT(drawn("Hi", {0, 0, 120, 80}).left, 90);
    EXPECT_GT(drawn("Hi", {0, 0, 60, 80}).right, 50);
    EXPECT_LT(drawn("Hi", {0, 0, 60, 80}).right, 62);
    EXPECT_GT(drawn("Hi", {0, 40, 60, 40}).top, 45);  // moved down: centred in the new rectangle
    style.argb = 0xFE0000FF;
    drawn("Hi", {0, 40, 60, 40});
    const auto ink = InkBox(canvas_);
    const Colour c = ColourAt(canvas_, (ink.left + ink.right) / 2, (ink.top + ink.bottom) / 2);
    EXPECT_LE(c.r, 8);
    style.emPixels = 40;
    EXPECT_GT(drawn("Hi", {0, 0, 120, 80}).bottom - drawn("Hi", {0, 0, 120, 80}).top,
              hi.bottom - hi.top + 10);
}

TEST_F(GfxTest, CopyImageReplacesTheCanvasOnlyAtItsOwnSize) {
    const std::string path = folder_.file("half.png");
    test::WritePng(path, 120, 80, std::vector<std::uint32_t>(120 * 80, 0x80FF0000));
    const Image image = Image::fromFile(path);
    ASSERT_TRUE(image.valid());
    ASSERT_EQ(fillGradient(canvas_, 0, 0, 120, 80, kWhite, kWhite), kOk);
    ASSERT_EQ(copyImage(canvas_, image), kOk);
    // Replaced, not blended: half-transparent red, premultiplied.
    EXPECT_EQ(canvas_.pixel(0, 0) >> 24, 0x80u);
    EXPECT_NEAR(static_cast<int>((canvas_.pixel(119, 79) >> 16) & 0xFF), 0x80, 1);
    EXPECT_EQ(canvas_.pixel(60, 40) & 0xFFFF, 0u);
    Canvas other;
    ASSERT_TRUE(other.create(121, 80));
    EXPECT_EQ(copyImage(other, image), kInvalidParameter);
    EXPECT_EQ(other.pixel(0, 0), 0u);
}

}  // namespace
}  // namespace quelt::gfx
