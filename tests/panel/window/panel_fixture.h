#pragma once
// A main panel on headless window hosts, over a private copy of the shipped skin folder, with
// a logic that records the start-up steps and lets a test choose the working frame.
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "device/frame.h"
#include "panel/window/frame_main.h"
#include "support/basic_panel_logic.h"
#include "support/headless_window_host.h"
#include "tools/boxsim/in_memory_port.h"

namespace quelt::test {

// `<scratch>/GUISkin`, a copy of the shipped skin set, removed afterwards.
class SkinCopy {
  public:
    SkinCopy();
    ~SkinCopy();
    SkinCopy(const SkinCopy&) = delete;
    SkinCopy& operator=(const SkinCopy&) = delete;

    const std::string& base() const { return base_; }
    std::filesystem::path file(const std::string& relative) const;
    // Replaces the file's bytes by zeros of the same length (same size, undecodable).
    void spoil(const std::string& relative) const;
    // Replaces the file by a solid grey PNG of the given size, padded to the file's length so the
    // skin check still passes.
    void replaceWithPng(const std::string& relative, int width, int height) const;

  private:
    std::string base_;
};

struct Recorder {
    std::vector<std::string> steps;
    DeviceFrame working = initialWorkingFrame();
};

class PanelHarness {
  public:
    explicit PanelHarness(const std::string& exeFolder);
    ~PanelHarness();

    // Creates the panel window and runs its initialisation (as the modal run does).
    void start();
    // Creates the window, builds the controls and the canvas, without the start-up pause.
    bool build();
    // Handles everything queued on the panel (the handlers of posted messages).
    void pump() { panelHost->pump(); }

    void press(int x, int y) { panelHost->injectPointer(PointerAction::Press, x, y, 1); }
    void release(int x, int y) { panelHost->injectPointer(PointerAction::Release, x, y, 0); }
    void move(int x, int y) { panelHost->injectPointer(PointerAction::Move, x, y, 1); }
    std::vector<HostEvent> posts() const { return panelHost->eventsOf(HostCall::Post); }

    Recorder recorder;
    HeadlessWindowHost* panelHost = nullptr;
    HeadlessWindowHost* splashHost = nullptr;
    std::unique_ptr<CGUIGDIPlusMfcFrameMain> panel;
    PanelControls& c() { return panel->controls(); }

  private:
    std::string exeFolder_;
};

struct SimulatedBox {
    int com = 0;
    int boxId = 0;
    int firmware = 12;
};

// The panel with its real logic on headless hosts, talking to simulated boxes on the in-memory
// bus; the process flags are cleared before and after.
class SimulatedPanel {
  public:
    explicit SimulatedPanel(std::initializer_list<SimulatedBox> boxes);
    ~SimulatedPanel();
    SimulatedPanel(const SimulatedPanel&) = delete;
    SimulatedPanel& operator=(const SimulatedPanel&) = delete;

    // A click (press and release) at the point, then everything it queued handled.
    void click(int x, int y);
    PanelControls& c() { return panel->controls(); }

    SkinCopy skin;
    sim::FakeClock clock;
    sim::InMemoryBus bus{clock};
    HeadlessWindowHost* host = nullptr;
    HeadlessWindowHost* splash = nullptr;
    std::unique_ptr<CGUIGDIPlusMfcFrameMain> panel;
};

}  // namespace quelt::test
