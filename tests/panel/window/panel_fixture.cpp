#include "panel_fixture.h"

#include <fstream>
#include <iterator>
#include <random>

#include <gtest/gtest.h>

#include "device/flags.h"
#include "panel/window/panel_layout.h"
#include "skin/skin_check.h"
#include "support/test_images.h"

namespace quelt::test {

namespace fsys = std::filesystem;

SkinCopy::SkinCopy() {
    std::random_device random;
    const fsys::path root =
        fsys::temp_directory_path() / ("quelt-panel-test-" + std::to_string(random()));
    fsys::create_directories(root);
    fsys::copy(QUELT_SKIN_SOURCE, root / "GUISkin", fsys::copy_options::recursive);
    base_ = root.string();
}

SkinCopy::~SkinCopy() {
    std::error_code ignored;
    fsys::remove_all(base_, ignored);
}

fsys::path SkinCopy::file(const std::string& relative) const {
    return fsys::path(base_) / "GUISkin" / relative;
}

void SkinCopy::spoil(const std::string& relative) const {
    const fsys::path path = file(relative);
    const auto size = static_cast<std::size_t>(fsys::file_size(path));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string zeros(size, '\0');
    out.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
}

namespace {

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::string BigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

}  // namespace

void SkinCopy::replaceWithPng(const std::string& relative, int width, int height) const {
    const fsys::path path = file(relative);
    const auto size = static_cast<std::size_t>(fsys::file_size(path));
    const std::string scratch = path.string() + ".new";
    WriteGreyPng(scratch, width, height, 0x40);
    std::ifstream in(scratch, std::ios::binary);
    std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    fsys::remove(scratch);
    // A private ancillary chunk before IEND (its last 12 bytes) makes up the difference.
    constexpr std::size_t kChunkOverhead = 12;
    ASSERT_GE(size, png.size() + kChunkOverhead) << relative;
    const std::string body = "quEl" + std::string(size - png.size() - kChunkOverhead, '\0');
    const std::string chunk =
        BigEndian(static_cast<std::uint32_t>(body.size() - 4)) + body + BigEndian(Crc32(body));
    png.insert(png.size() - kChunkOverhead, chunk);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(png.data(), static_cast<std::streamsize>(png.size()));
}

namespace {

// The basic logic, with every start-up step and message written down.
class RecordingLogic : public PanelLogicPort {
  public:
    RecordingLogic(std::unique_ptr<PanelLogicPort> inner, Recorder& recorder)
        : inner_(std::move(inner)), recorder_(recorder) {}

    void buildResolutionLists() override {
        recorder_.steps.push_back("lists");
        inner_->buildResolutionLists();
    }
    void setSkinRoot(const std::string&) override {}
    void refreshResolutionLabels() override { recorder_.steps.push_back("labels"); }
    void rebuildBezelSliders() override { recorder_.steps.push_back("bezels"); }
    void setPanelEnabled(bool enabled) override {
        recorder_.steps.push_back(enabled ? "enable" : "disable");
    }
    DeviceFrame workingFrame() const override { return recorder_.working; }
    void handleMessage(std::uint32_t message, std::uintptr_t wParam) override {
        recorder_.steps.push_back("message " + std::to_string(message));
        inner_->handleMessage(message, wParam);
    }
    void closeAllBoxes() override { recorder_.steps.push_back("close boxes"); }
    bool operationInFlight() const override { return false; }

  private:
    std::unique_ptr<PanelLogicPort> inner_;
    Recorder& recorder_;
};

}  // namespace

PanelHarness::PanelHarness(const std::string& exeFolder) : exeFolder_(exeFolder) {
    PanelEnvironment env;
    env.exeFolder = exeFolder;
    env.makeHost = [this]() -> std::unique_ptr<WindowHost> {
        auto host = std::make_unique<HeadlessWindowHost>();
        (panelHost == nullptr ? panelHost : splashHost) = host.get();
        return host;
    };
    env.wait = [this](WindowHost& host, std::uint32_t ms) {
        recorder.steps.push_back("wait " + std::to_string(ms) +
                                 (splashHost->isVisible() ? " (splash shown)" : ""));
        host.waitPumpingMessages(ms);
        splashHost->pump();
    };
    env.makeLogic = [this](PanelControls& controls, PanelServices& services) {
        return std::unique_ptr<PanelLogicPort>(
            new RecordingLogic(makeBasicPanelLogic(controls, services), recorder));
    };
    env.installKeyboardHook = [this] {
        recorder.steps.push_back("hook installed");
        return true;
    };
    env.removeKeyboardHook = [this] { recorder.steps.push_back("hook removed"); };
    panel = std::make_unique<CGUIGDIPlusMfcFrameMain>(std::move(env));
}

PanelHarness::~PanelHarness() {
    panel.reset();
}

void PanelHarness::start() {
    panelHost->create(kPanelNominalWidth, kPanelNominalHeight);
    panel->OnInitDialog();
}

bool PanelHarness::build() {
    panelHost->create(kPanelNominalWidth, kPanelNominalHeight);
    panel->skinRoot = SkinRootOf(exeFolder_);
    const bool built = panel->createPanelControls();
    return panel->SetBackground(0, 0, panel->skinRoot + panel_skin::kBackground) != 0 && built;
}

SimulatedPanel::SimulatedPanel(std::initializer_list<SimulatedBox> boxes) {
    resetProcessFlags();
    for (const SimulatedBox& box : boxes) {
        sim::BoxConfig config;
        config.com = box.com;
        config.boxId = static_cast<std::uint8_t>(box.boxId);
        config.firmware = static_cast<std::uint8_t>(box.firmware);
        bus.addBox(config);
    }
    PanelEnvironment env;
    env.exeFolder = skin.base();
    env.makeHost = [this]() -> std::unique_ptr<WindowHost> {
        auto made = std::make_unique<HeadlessWindowHost>();
        (host == nullptr ? host : splash) = made.get();
        return made;
    };
    env.wait = [](WindowHost&, std::uint32_t) {};
    env.clock = &clock;
    env.portFactory = bus.factory();
    panel = std::make_unique<CGUIGDIPlusMfcFrameMain>(std::move(env));
    host->create(kPanelNominalWidth, kPanelNominalHeight);
    panel->OnInitDialog();
    host->pump();
}

SimulatedPanel::~SimulatedPanel() {
    panel.reset();
    resetProcessFlags();
}

void SimulatedPanel::click(int x, int y) {
    host->injectPointer(PointerAction::Press, x, y, 1);
    host->injectPointer(PointerAction::Release, x, y, 0);
    host->pump();
}

}  // namespace quelt::test
