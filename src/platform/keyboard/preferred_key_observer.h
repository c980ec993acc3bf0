#pragma once
// Two observers in order of preference: each install tries the preferred one first and, when it
// cannot install, the fallback. The one that installed receives reinstall and remove.
#include <memory>
#include <string>

#include "platform/keyboard/keyboard_observer.h"

namespace quelt {

class PreferredKeyObserver final : public KeyboardObserver {
  public:
    // `fallbackNotice` is the notice while the fallback observes (the fallback's own otherwise).
    PreferredKeyObserver(std::unique_ptr<KeyboardObserver> preferred,
                         std::unique_ptr<KeyboardObserver> fallback, std::string fallbackNotice);
    ~PreferredKeyObserver() override;

    bool install(KeyCallback callback) override;
    bool reinstall() override;
    void remove() override;
    bool isInstalled() const override;
    std::string notice() const override;

  private:
    std::unique_ptr<KeyboardObserver> preferred_;
    std::unique_ptr<KeyboardObserver> fallback_;
    std::string fallbackNotice_;
    KeyboardObserver* active_ = nullptr;  // the one installed, if any
};

}  // namespace quelt
