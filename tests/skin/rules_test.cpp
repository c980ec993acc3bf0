// Pointer, radio-group and enabling rules over control arrays.
#include <gtest/gtest.h>

#include <array>

#include "skin/control_rules.h"

namespace quelt {
namespace {

TEST(ToggleRules, PressTogglesTheFirstEnabledHitAndPostsOnce) {
    std::array<SkinCheckBox, 2> boxes;
    boxes[0].Assign({.rect = {0, 0, 10, 10}, .visible = 1, .message = 1025});
    boxes[1].Assign({.rect = {0, 0, 10, 10}, .visible = 1, .message = 1025});
    boxes[0].state = 2;  // disabled: passed over, the scan goes on
    EXPECT_EQ(PressToggles(boxes, 5, 5), 1);
    EXPECT_EQ(boxes[0].state, 2);
    EXPECT_EQ(boxes[1].state, 1);
    EXPECT_EQ(boxes[1].IsOn(), 1);
    EXPECT_TRUE(ClaimPost(boxes[1].pending));
    // Second click while the message is pending: the state toggles, nothing more is posted.
    EXPECT_EQ(PressToggles(boxes, 5, 5), 1);
    EXPECT_EQ(boxes[1].state, 0);
    EXPECT_FALSE(ClaimPost(boxes[1].pending));

    boxes[1].state = 3;
    EXPECT_EQ(PressToggles(boxes, 5, 5), -1);
    EXPECT_EQ(boxes[1].state, 3);
    EXPECT_EQ(PressToggles(boxes, 10, 5), -1);  // right edge is outside
    boxes[0].visible = boxes[1].visible = 0;
    boxes[1].state = 0;
    EXPECT_EQ(PressToggles(boxes, 5, 5), -1);  // hidden controls are not hit
}

TEST(ToggleRules, SwitchesHaveNoVisibilityAndInvertedRectsHoldNothing) {
    std::array<SkinSwitch, 2> switches;
    switches[0].Assign({.rect = {20, 0, 10, 10}});
    switches[1].Assign({.rect = {0, 0, 30, 10}});
    EXPECT_EQ(PressToggles(switches, 15, 5), 1);
    EXPECT_EQ(switches[1].state, 1);
    EXPECT_TRUE(IsLive(switches[1], 15, 5));
    EXPECT_FALSE(IsLive(switches[0], 15, 5));
}

TEST(RadioRules, PressTurnsOnAnOffMemberAndTheChoiceUpdatesTheGroup) {
    std::array<SkinRadioButton, 3> group;
    for (int i = 0; i < 3; ++i) {
        group[i].Assign({.rect = {i * 10, 0, i * 10 + 10, 10}, .visible = 1});
    }
    group[0].state = 1;
    EXPECT_EQ(PressRadio(group, 5, 5), -1);  // already on: nothing
    group[2].state = 3;                      // on but disabled
    EXPECT_EQ(PressRadio(group, 25, 5), -1);
    EXPECT_EQ(PressRadio(group, 15, 5), 1);
    SelectRadio(group, 1);
    EXPECT_EQ(group[0].state, 0);
    EXPECT_EQ(group[1].state, 1);
    EXPECT_EQ(group[2].state, 3);  // disabled members keep their state
}

TEST(ButtonRules, ReleaseOperatesOnlyOnTheButton) {
    std::array<SkinButton, 2> buttons;
    buttons[0].Assign({.rect = {0, 0, 10, 10}, .visible = 1});
    buttons[1].Assign({.rect = {20, 0, 30, 10}, .visible = 1});
    EXPECT_EQ(PressButtons(buttons, 25, 5), 1);
    EXPECT_EQ(buttons[1].state, 2);
    EXPECT_EQ(ReleaseButtons(buttons, 50, 50), -1);  // dragged off: restored, not operated
    EXPECT_EQ(buttons[1].state, 0);
    EXPECT_EQ(PressButtons(buttons, 25, 5), 1);
    EXPECT_EQ(ReleaseButtons(buttons, 29, 9), 1);
    EXPECT_EQ(buttons[1].state, 0);
    EXPECT_EQ(ReleaseButtons(buttons, 29, 9), -1);  // nothing pressed any more

    SetEnabled(buttons[0], false);
    EXPECT_EQ(PressButtons(buttons, 5, 5), -1);
    EXPECT_FALSE(IsLive(buttons[0], 5, 5));
    EXPECT_EQ(buttons[0].state, 3);
    SetEnabled(buttons[0], true);
    EXPECT_EQ(buttons[0].state, 0);
}

TEST(TwoStateRule, HoldsAsWrittenForEveryStartingState) {
    // Enable: 3 -> 1, else 0 (so an enabled member that is on turns off).
    EXPECT_EQ(TwoStateEnabled(0, true), 0);
    EXPECT_EQ(TwoStateEnabled(1, true), 0);
    EXPECT_EQ(TwoStateEnabled(2, true), 0);
    EXPECT_EQ(TwoStateEnabled(3, true), 1);
    // Disable: 1 -> 3, else 2 (so a disabled member that is on turns off).
    EXPECT_EQ(TwoStateEnabled(0, false), 2);
    EXPECT_EQ(TwoStateEnabled(1, false), 3);
    EXPECT_EQ(TwoStateEnabled(2, false), 2);
    EXPECT_EQ(TwoStateEnabled(3, false), 2);
}

TEST(EnableRules, TwoStateControlsKeepTheirValue) {
    SkinCheckBox box;
    box.state = 1;
    SetEnabled(box, false);
    EXPECT_EQ(box.state, 3);
    SetEnabled(box, true);
    EXPECT_EQ(box.state, 1);
    box.state = 0;
    SetEnabled(box, false);
    EXPECT_EQ(box.state, 2);
    SetEnabled(box, true);
    EXPECT_EQ(box.state, 0);

    SkinSlider slider;
    SetEnabled(slider, false);
    EXPECT_EQ(slider.state, 2);
    SkinStaticImage picture;
    SetEnabled(picture, false);
    EXPECT_EQ(picture.state, 1);
    SkinText label;
    SetEnabled(label, false);
    EXPECT_EQ(label.disabled, 1);
    SetEnabled(label, true);
    EXPECT_EQ(label.disabled, 0);
}

TEST(SliderRules, PressDragAndRelease) {
    std::array<SkinSlider, 2> sliders;
    for (auto& slider : sliders) {
        slider.Assign({.thumbRect = {100, 0, 136, 19},
                       .barRect = {110, 320, 126, 660},
                       .minPos = 331,
                       .maxPos = 645,
                       .stopCount = 14,
                       .snapDistance = 10,
                       .visible = 1,
                       .orientation = 1});
        slider.Load();
    }
    sliders[0].state = 2;
    EXPECT_EQ(PressSliders(sliders, 115, 352), 1);  // disabled first slider is passed over
    EXPECT_EQ(sliders[0].state, 2);
    EXPECT_EQ(sliders[1].state, 1);
    EXPECT_EQ(sliders[1].GetStop(), 1);  // a press on the bar jumps to the stop in reach
    EXPECT_EQ(MoveSliders(sliders, 0, 375), 1);
    EXPECT_EQ(sliders[1].GetStop(), 2);
    EXPECT_EQ(ReleaseSliders(sliders), 1);
    EXPECT_EQ(sliders[1].state, 0);
    EXPECT_EQ(ReleaseSliders(sliders), -1);
    EXPECT_EQ(MoveSliders(sliders, 0, 0), -1);

    // Disabled in the middle of a drag: the release does nothing.
    PressSliders(sliders, 115, 400);
    SetEnabled(sliders[1], false);
    EXPECT_EQ(ReleaseSliders(sliders), -1);
    EXPECT_EQ(sliders[1].state, 2);
}

}  // namespace
}  // namespace quelt
