// The splash window on a headless host: its image with the version text at the right of the
// text band, centring on the 1600 x 1050 area, and the drag by a press anywhere.
#include <gtest/gtest.h>

#include "panel/window/frame_splash.h"
#include "panel_fixture.h"
#include "support/headless_window_host.h"

namespace quelt::test {
namespace {

// Pixels in the column range whose colour differs from the same frame without the text.
int Changed(const PresentedFrame& with, const PresentedFrame& without, int left, int right) {
    int changed = 0;
    for (int y = 313; y < 330; ++y) {
        for (int x = left; x < right; ++x) {
            changed += with.pixel(x, y) != without.pixel(x, y) ? 1 : 0;
        }
    }
    return changed;
}

TEST(Splash, DrawsTheVersionRightAlignedCentresItselfAndDrags) {
    SkinCopy skin;
    auto owned = std::make_unique<HeadlessWindowHost>();
    HeadlessWindowHost& host = *owned;
    CGUIGDIPlusMfcFrameSplash splash(std::move(owned), skin.base());
    ASSERT_TRUE(splash.Create());
    const PresentedFrame drawn = host.lastFrame();
    ASSERT_GT(drawn.width, 264);
    ASSERT_GT(drawn.height, 330);

    // The same face without the text, for comparison.
    splash.PaintBackground(0, 0, 0, 0, 255, splash.skinRoot + kSplashImage);
    splash.Present();
    const PresentedFrame plain = host.lastFrame();
    EXPECT_GT(Changed(drawn, plain, 200, 264), 20);  // "v1.05a" ends at the right edge
    EXPECT_EQ(Changed(drawn, plain, 6, 150), 0);

    // The centring message is queued by the initialisation.
    EXPECT_FALSE(host.isVisible());
    host.pump();
    EXPECT_TRUE(host.isVisible());
    EXPECT_EQ(host.screenPosition().x, (1600 - drawn.width) / 2);
    EXPECT_EQ(host.screenPosition().y, (1050 - drawn.height) / 2);

    host.injectPointer(PointerAction::Press, 30, 300, 1);
    const auto drags = host.eventsOf(HostCall::CaptionDrag);
    ASSERT_EQ(drags.size(), 1u);
    EXPECT_EQ(drags[0].x, 30);
    EXPECT_EQ(drags[0].y, 300);
}

// The image must hold the version text (6, 313, 264, 330); an undecodable one or one smaller
// in either direction leaves the splash without a canvas, and such a splash is never shown.
TEST(Splash, AnImageThatCannotHoldTheVersionTextLeavesItHidden) {
    struct Variant {
        const char* name;
        int width;  // 0: undecodable
        int height;
        bool shown;
    };
    for (const Variant& v :
         {Variant{"undecodable", 0, 0, false}, Variant{"263 wide", 263, 340, false},
          Variant{"329 high", 270, 329, false}, Variant{"just large enough", 264, 330, true}}) {
        SCOPED_TRACE(v.name);
        SkinCopy skin;
        if (v.width == 0) {
            skin.spoil("GUIFrameSplash/GUIFrameSplashBK.kesp");
        } else {
            skin.replaceWithPng("GUIFrameSplash/GUIFrameSplashBK.kesp", v.width, v.height);
        }
        auto owned = std::make_unique<HeadlessWindowHost>();
        HeadlessWindowHost& host = *owned;
        CGUIGDIPlusMfcFrameSplash splash(std::move(owned), skin.base());
        EXPECT_TRUE(splash.Create());
        splash.Show();
        host.pump();  // centring still runs
        EXPECT_EQ(host.isVisible(), v.shown);
        EXPECT_EQ(host.eventsOf(HostCall::Show).empty(), !v.shown);
        EXPECT_EQ(host.presentCount() > 0, v.shown);
    }
}

}  // namespace
}  // namespace quelt::test
