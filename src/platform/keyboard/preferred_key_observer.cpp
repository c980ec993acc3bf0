#include "platform/keyboard/preferred_key_observer.h"

#include <utility>

namespace quelt {

PreferredKeyObserver::PreferredKeyObserver(std::unique_ptr<KeyboardObserver> preferred,
                                           std::unique_ptr<KeyboardObserver> fallback,
                                           std::string fallbackNotice)
    : preferred_(std::move(preferred)),
      fallback_(std::move(fallback)),
      fallbackNotice_(std::move(fallbackNotice)) {}

PreferredKeyObserver::~PreferredKeyObserver() {
    remove();
}

bool PreferredKeyObserver::install(KeyCallback callback) {
    if (active_ != nullptr && active_->isInstalled()) {
        // Replaces the callback of the observer in place; it never switches while installed.
        return active_->install(std::move(callback));
    }
    active_ = nullptr;
    if (preferred_->install(callback)) {
        active_ = preferred_.get();
    } else if (fallback_->install(std::move(callback))) {
        active_ = fallback_.get();
    }
    return active_ != nullptr;
}

bool PreferredKeyObserver::reinstall() {
    return active_ != nullptr && active_->reinstall();
}

void PreferredKeyObserver::remove() {
    if (active_ != nullptr) {
        active_->remove();
        active_ = nullptr;
    }
}

bool PreferredKeyObserver::isInstalled() const {
    return active_ != nullptr && active_->isInstalled();
}

std::string PreferredKeyObserver::notice() const {
    if (active_ == fallback_.get() && active_ != nullptr && !fallbackNotice_.empty()) {
        return fallbackNotice_;
    }
    return active_ != nullptr ? active_->notice() : std::string();
}

}  // namespace quelt
