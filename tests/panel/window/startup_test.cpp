// Start-up of the main panel on headless hosts: the order of its steps, each way it can fail,
// the layout it builds, the teardown and the single-instance application object.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <span>

#include "app/panoril_app.h"
#include "panel/panel_messages.h"
#include "panel/window/panel_layout.h"
#include "panel_fixture.h"
#include "platform/instance/single_instance.h"
#include "skin/skin_check.h"

namespace quelt::test {
namespace {

using Steps = std::vector<std::string>;

bool Has(const Steps& steps, const std::string& step) {
    return std::find(steps.begin(), steps.end(), step) != steps.end();
}

TEST(PanelStartup, RunsItsStepsInOrderAndShowsTheCentredPanel) {
    SkinCopy skin;
    PanelHarness h(skin.base());
    h.start();

    EXPECT_EQ(h.recorder.steps, (Steps{"wait 2500 (splash shown)", "lists", "labels", "bezels",
                                       "disable", "message 1035", "hook installed"}));
    EXPECT_TRUE(h.panelHost->errorBoxTexts().empty());
    EXPECT_FALSE(h.panelHost->quitRequested());
    EXPECT_TRUE(h.panel->keyboardHookInstalled());

    // 1035 was sent, not posted, and placed the panel on the 1600 x 1050 area.
    ASSERT_EQ(h.panelHost->eventsOf(HostCall::Send).size(), 1u);
    EXPECT_EQ(h.panelHost->eventsOf(HostCall::Send)[0].message, msg::StartupDone);
    EXPECT_TRUE(h.panelHost->isVisible());
    const WindowPoint at = h.panelHost->screenPosition();
    EXPECT_EQ(at.x, 236);
    EXPECT_EQ(at.y, 185);
    // Placed and shown in one step (not topmost), never by a bare move or show.
    const auto placed = h.panelHost->eventsOf(HostCall::Place);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].x, 236);
    EXPECT_EQ(placed[0].y, 185);
    EXPECT_TRUE(h.panelHost->eventsOf(HostCall::Move).empty());
    EXPECT_TRUE(h.panelHost->eventsOf(HostCall::Show).empty());
    const PresentedFrame frame = h.panelHost->lastFrame();
    EXPECT_EQ(frame.width, 1127);
    EXPECT_EQ(frame.height, 679);

    EXPECT_EQ(h.c().panelLabels[ctl::kTitleLabel].text, "Quelt Control Center - v1.05a");
    // The native windows: the panel's title for the taskbar, the splash owned by the panel.
    EXPECT_EQ(h.panelHost->title(), "Quelt Control Center");
    EXPECT_EQ(h.splashHost->ownerAtCreate(), h.panelHost);

    // The splash centred itself during the pause and is hidden at the end.
    EXPECT_FALSE(h.splashHost->isVisible());
    const WindowRect splash = h.splashHost->clientRect();
    ASSERT_GT(splash.width(), 0);
    const auto moves = h.splashHost->eventsOf(HostCall::Place);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().x, (1600 - splash.width()) / 2);
    EXPECT_EQ(moves.back().y, (1050 - splash.height()) / 2);
}

// Each way of breaking the skin folder ends the start with error 2 and a quit with 0, no hook.
struct BrokenSkin {
    const char* name;
    void (*breakIt)(const SkinCopy&);
    bool controlsBuilt;
};

void ExtraFile(const SkinCopy& skin) {
    std::ofstream(skin.file("GUIFrameMain/extra.kesp")).put('\0');
}
void EmptyExtraFile(const SkinCopy& skin) {
    std::ofstream(skin.file("GUIFrameSplash/x.kesp"));
}
void LongerFile(const SkinCopy& skin) {
    std::ofstream(skin.file("GUIFrameMain/GUIFrameMainCtrlBtn_Exit.kesp"), std::ios::app).put('x');
}
void SpoiledPicture(const SkinCopy& skin) {
    skin.spoil("GUIFrameMain/GUIFrameMainStcImage_Clone.kesp");
}
void SpoiledBackground(const SkinCopy& skin) {
    skin.spoil("GUIFrameMain/GUIFrameMainBK.kesp");
}
// Files that decode but must not be used: over the size bound, or a face too small for the
// 1127 x 679 layout (the window would be smaller than its controls).
void OversizedPicture(const SkinCopy& skin) {
    skin.replaceWithPng("GUIFrameMain/GUIFrameMainStcImage_HotKeyInfo.kesp", 8193, 1);
}
void OnePixelBackground(const SkinCopy& skin) {
    skin.replaceWithPng("GUIFrameMain/GUIFrameMainBK.kesp", 1, 1);
}
void BackgroundOneColumnShort(const SkinCopy& skin) {
    skin.replaceWithPng("GUIFrameMain/GUIFrameMainBK.kesp", 1126, 679);
}
void BackgroundOneRowShort(const SkinCopy& skin) {
    skin.replaceWithPng("GUIFrameMain/GUIFrameMainBK.kesp", 1127, 678);
}

class PanelStartupFailure : public ::testing::TestWithParam<BrokenSkin> {};

TEST_P(PanelStartupFailure, ShowsOneErrorAndQuits) {
    SkinCopy skin;
    GetParam().breakIt(skin);
    PanelHarness h(skin.base());
    h.start();

    EXPECT_EQ(h.panelHost->errorBoxTexts(), (Steps{"Panoril initialize fail."}));
    EXPECT_TRUE(h.panelHost->quitRequested());
    EXPECT_EQ(h.panelHost->exitCode(), 0);
    EXPECT_FALSE(h.panel->keyboardHookInstalled());
    EXPECT_FALSE(Has(h.recorder.steps, "lists"));
    EXPECT_FALSE(h.panelHost->isVisible());
    // The title is only set after the background; the other labels exist once controls are built.
    EXPECT_EQ(h.c().panelLabels[ctl::kTitleLabel].text,
              GetParam().controlsBuilt ? "QueltControlCenter Vx.xx - FWVer: Vx.xx" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Skins, PanelStartupFailure,
    ::testing::Values(BrokenSkin{"ExtraFile", ExtraFile, false},
                      BrokenSkin{"EmptyExtraFile", EmptyExtraFile, false},
                      BrokenSkin{"LongerFile", LongerFile, false},
                      BrokenSkin{"SpoiledPicture", SpoiledPicture, true},
                      BrokenSkin{"SpoiledBackground", SpoiledBackground, true},
                      BrokenSkin{"OversizedPicture", OversizedPicture, true},
                      BrokenSkin{"OnePixelBackground", OnePixelBackground, true},
                      BrokenSkin{"BackgroundOneColumnShort", BackgroundOneColumnShort, true},
                      BrokenSkin{"BackgroundOneRowShort", BackgroundOneRowShort, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PanelStartup, ALargerBackgroundGivesALargerPanel) {
    SkinCopy skin;
    skin.replaceWithPng("GUIFrameMain/GUIFrameMainBK.kesp", 1200, 700);
    PanelHarness h(skin.base());
    h.start();
    EXPECT_TRUE(h.panelHost->errorBoxTexts().empty());
    EXPECT_EQ(h.panelHost->lastFrame().width, 1200);
    EXPECT_EQ(h.panelHost->lastFrame().height, 700);
}

// A splash image that cannot be used leaves only the splash out: it is never shown (an empty
// window would be an opaque black box on X without a compositor) and the start goes on.
TEST(PanelStartup, AnUnusableSplashIsNeverShownAndTheStartGoesOn) {
    for (const bool spoiled : {true, false}) {
        SCOPED_TRACE(spoiled ? "undecodable" : "too small for the version text");
        SkinCopy skin;
        if (spoiled) {
            skin.spoil("GUIFrameSplash/GUIFrameSplashBK.kesp");
        } else {
            skin.replaceWithPng("GUIFrameSplash/GUIFrameSplashBK.kesp", 263, 340);
        }
        PanelHarness h(skin.base());
        h.start();
        EXPECT_TRUE(h.splashHost->eventsOf(HostCall::Show).empty());
        EXPECT_EQ(h.splashHost->presentCount(), 0);
        EXPECT_TRUE(h.panelHost->errorBoxTexts().empty());
        EXPECT_TRUE(h.panelHost->isVisible());
    }
}

TEST(PanelStartup, MissingSkinFolderFailsAndTheModalRunEndsWithZero) {
    PanelHarness h("/nonexistent-quelt-folder");
    EXPECT_EQ(h.panel->DoModal(), 0);
    EXPECT_EQ(h.panelHost->errorBoxTexts().size(), 1u);
    // Teardown ran: boxes closed, no hook to remove.
    EXPECT_TRUE(Has(h.recorder.steps, "close boxes"));
    EXPECT_FALSE(Has(h.recorder.steps, "hook removed"));
}

TEST(PanelLayout, BuildsEveryControlAndReportsAMissingPicture) {
    SkinCopy skin;
    std::filesystem::remove(skin.file("GUIFrameMain/GUIFrameMainStcImage_Clone.kesp"));
    PanelControls c;
    EXPECT_FALSE(createPanelControls(c, SkinRootOf(skin.base()), uiStrings()));

    // Everything else was still built and loaded.
    EXPECT_EQ(c.staticImages[5].image->Width(), 0u);
    EXPECT_GT(c.staticImages[4].image->Width(), 0u);
    EXPECT_GT(c.bezelSliders[1].barImage->Width(), 0u);
    EXPECT_EQ(c.panelLabels[35].text, "Device Setting Sync");
    EXPECT_EQ(c.panelLabels[34].rect, (SkinRect{703, 261, 770, 280}));
    EXPECT_EQ(c.deviceInfoTexts[5].rect, (SkinRect{96, 594, 146, 653}));
    EXPECT_EQ(c.deviceInfoTexts[5].visible, 0);

    for (std::span<SkinRadioButton> group :
         {std::span<SkinRadioButton>(c.modeGroup), std::span<SkinRadioButton>(c.clockSyncGroup),
          std::span<SkinRadioButton>(c.frameRateGroup), std::span<SkinRadioButton>(c.hLimitGroup),
          std::span<SkinRadioButton>(c.vLimitGroup), std::span<SkinRadioButton>(c.deviceIdGroup)}) {
        for (std::size_t k = 0; k < group.size(); ++k) {
            EXPECT_EQ(group[k].state, k == 0 ? 1 : 0);
            EXPECT_EQ(group[k].visible, 1);
        }
    }
    for (const SkinRadioButton& box : c.deviceBoxGroup) {
        EXPECT_EQ(box.state, 0);
        EXPECT_EQ(box.visible, 0);
    }
    EXPECT_EQ(c.deviceBoxGroup[5].rect, (SkinRect{17, 589, 95, 657}));
    EXPECT_EQ(c.buttons[ctl::kAdvanceButton].visible, 0);
    EXPECT_EQ(c.buttons[ctl::kAdvanceButton].message, 1228);
    EXPECT_EQ(c.resolutionSliders[2].barRect, c.resolutionSliders[0].barRect);
    EXPECT_EQ(c.resolutionSliders[3].barRect, c.resolutionSliders[1].barRect);
    EXPECT_EQ(c.resolutionSliders[0].stopCount, 14);
    EXPECT_EQ(c.resolutionSliders[2].stopCount, 5);
    EXPECT_EQ(c.bezelSliders[0].stopCount, 251);
}

TEST(PanelTeardown, RemovesTheHookClosesTheBoxesAndReleasesTheImages) {
    SkinCopy skin;
    PanelHarness h(skin.base());
    h.start();
    h.recorder.steps.clear();
    h.panel->OnDestroy();

    EXPECT_EQ(h.recorder.steps, (Steps{"hook removed", "close boxes"}));
    EXPECT_FALSE(h.panel->keyboardHookInstalled());
    EXPECT_EQ(h.c().buttons[0].image, nullptr);
    EXPECT_EQ(h.c().staticImages[0].image, nullptr);
    EXPECT_TRUE(h.c().bezelSliders[0].stops.empty());
    EXPECT_EQ(h.c().modeGroup[3].image, nullptr);
}

TEST(PanelExit, ReleasingTheExitButtonEndsTheRunWithZero) {
    SkinCopy skin;
    PanelHarness h(skin.base());
    h.start();
    h.press(1090, 15);
    h.release(1090, 15);
    h.pump();
    EXPECT_TRUE(h.panelHost->quitRequested());
    EXPECT_EQ(h.panelHost->run(), 0);
    EXPECT_EQ(h.c().buttons[ctl::kExitButton].pending, 0);
}

TEST(PanorilApp, ASecondCopyEndsAtOnceWithoutAWindow) {
    SkinCopy lockFolder;  // any private folder
    const std::string name = "CPanorilAppTest";
    const SingleInstance first(name, lockFolder.base());
    ASSERT_FALSE(first.anotherCopyRunning());

    int hostsMade = 0;
    CPanorilApp::Options options;
    options.instanceName = name;
    options.lockFolder = lockFolder.base();
    options.panel.makeHost = [&hostsMade]() -> std::unique_ptr<WindowHost> {
        ++hostsMade;
        return std::make_unique<HeadlessWindowHost>();
    };
    CPanorilApp second(options);
    EXPECT_EQ(second.InitInstance(), 0);
    EXPECT_EQ(hostsMade, 0);
}

TEST(PanorilApp, AFailedStartEndsTheProgramWithZero) {
    SkinCopy lockFolder;
    CPanorilApp::Options options;
    options.instanceName = "CPanorilAppTestAlone";
    options.lockFolder = lockFolder.base();
    options.panel.exeFolder = "/nonexistent-quelt-folder";
    options.panel.makeHost = [] { return std::make_unique<HeadlessWindowHost>(); };
    options.panel.wait = [](WindowHost&, std::uint32_t) {};
    CPanorilApp app(options);
    EXPECT_EQ(app.InitInstance(), 0);
}

}  // namespace
}  // namespace quelt::test
