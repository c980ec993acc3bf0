// The panel's face, pixel for pixel, in the states a user walks through: disconnected, three boxes
// found (one on COM12), a layout chosen with the H bezel mid-drag, busy, the pattern on for the
// second box, Clone with Device Setting Sync. Each frame is compared with a reference rendering
// (tests/panel/window/reference, PNG holding the premultiplied channels as they are) to within 1
// per channel, so a faster drawing path cannot change what the panel looks like.
// QUELT_RECORD_REFERENCES=1 in the environment writes the references instead.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "panel_fixture.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace quelt::test {
namespace {

std::string ReferencePath(const std::string& state) {
    return std::string(QUELT_REFERENCE_DIR) + "/panel-" + state + ".png";
}

void WriteReference(const std::string& state, const PresentedFrame& frame) {
    std::vector<std::uint8_t> bytes;
    for (const std::uint32_t p : frame.pixels) {
        bytes.insert(bytes.end(),
                     {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                      static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 24)});
    }
    stbi_write_png_compression_level = 9;
    ASSERT_NE(stbi_write_png(ReferencePath(state).c_str(), frame.width, frame.height, 4,
                             bytes.data(), frame.width * 4),
              0);
}

// Channels further apart than 1, and the first such pixel.
void ExpectMatchesReference(const std::string& state, const PresentedFrame& frame) {
    if (std::getenv("QUELT_RECORD_REFERENCES") != nullptr) {
        WriteReference(state, frame);
        return;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* data = stbi_load(ReferencePath(state).c_str(), &width, &height, &channels, 4);
    ASSERT_NE(data, nullptr) << ReferencePath(state);
    const std::vector<std::uint8_t> ref(data, data + static_cast<std::size_t>(width) * height * 4);
    stbi_image_free(data);
    ASSERT_EQ(width, frame.width);
    ASSERT_EQ(height, frame.height);
    int off = 0;
    std::string first;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = frame.pixel(x, y);
            const std::uint8_t* r = &ref[(static_cast<std::size_t>(y) * width + x) * 4];
            const int got[4] = {static_cast<int>((p >> 16) & 0xFF),
                                static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF),
                                static_cast<int>(p >> 24)};
            for (int k = 0; k < 4; ++k) {
                if (std::abs(got[k] - r[k]) > 1) {
                    if (off++ == 0) {
                        first = std::to_string(x) + "," + std::to_string(y) + " channel " +
                                std::to_string(k) + ": " + std::to_string(got[k]) + " for " +
                                std::to_string(r[k]);
                    }
                    break;
                }
            }
        }
    }
    EXPECT_EQ(off, 0) << state << ": " << off << " pixels off by more than 1, first at " << first;
}

class PanelLooks : public ::testing::Test, public SimulatedPanel {
  protected:
    PanelLooks() : SimulatedPanel({{3, 1, 12}, {5, 2, 12}, {12, 3, 10}}) {}

    void click(int x, int y) {
        SimulatedPanel::click(x, y);
        settle();
    }
    void settle() {
        ASSERT_TRUE(host->pumpUntil(
            [this] { return !panel->logic().operationInFlight() && panel->busyFlag().load() == 0; },
            std::chrono::seconds(20)));
        host->pump();
    }
    void expectLooks(const std::string& state) {
        panel->redrawPanel();
        ExpectMatchesReference(state, host->lastFrame());
    }
};

TEST_F(PanelLooks, EveryStateOfTheWalkThroughLooksAsBefore) {
    expectLooks("disconnected");
    click(86, 71);  // Serial COM on: COM3, COM5, COM12
    expectLooks("connected");

    click(180, 198);                                         // Stretch 2 x 2
    click(303, 198);                                         // Clock Sync OFF
    click(686, 222);                                         // ID 4
    host->injectPointer(PointerAction::Press, 493, 645, 1);  // H bezel thumb
    host->injectPointer(PointerAction::Move, 560, 645, 1);
    host->pump();
    expectLooks("dragging");
    host->injectPointer(PointerAction::Release, 560, 645, 0);
    host->pump();
    panel->busyFlag() = 1;
    expectLooks("busy");
    panel->busyFlag() = 0;

    click(56, 271);  // the second box
    click(245, 71);  // Pattern on: everything else disabled
    expectLooks("pattern");
    click(245, 71);
    click(180, 222);  // Clone
    click(814, 121);  // Device Setting Sync
    expectLooks("clone-sync");
}

}  // namespace
}  // namespace quelt::test
