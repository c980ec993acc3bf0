#pragma once
// What the native window tests need from the platform beyond the window host itself.
#include <cstdint>
#include <string>

namespace quelt::testing {

struct ErrorBoxSeen {
    bool found = false;
    std::string title;
    bool owned = false;  // owned by (transient for) a window of ours
    bool modal = false;  // its owner takes no input while it is open
};

// On the UI thread: finds the open error box of this process, reports it and dismisses it.
ErrorBoxSeen dismissOpenErrorBox();

// Colour 0xRRGGBB of a screen pixel.
std::uint32_t screenPixel(int x, int y);

// From now on a toolkit's critical warning (a call on a freed or wrong object) ends the test
// program instead of scrolling by. Nothing to do where the toolkit has no such warnings.
void failOnToolkitCriticals();

}  // namespace quelt::testing

namespace quelt::testing {

// A top-level window titled `title` that the test owns; `receivedText` reads back what a
// debug-viewer hand-over left on it. Call on the UI thread.
class TitledWindow {
  public:
    explicit TitledWindow(const std::string& title);
    ~TitledWindow();
    TitledWindow(const TitledWindow&) = delete;
    TitledWindow& operator=(const TitledWindow&) = delete;
    std::string receivedText() const;

  private:
    void* window_ = nullptr;
};

}  // namespace quelt::testing
