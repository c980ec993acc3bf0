#pragma once
// The part of an observer that reads keys through one session object of its own (an X
// connection, a desktop portal session): one installed observer of a kind per process, the
// session kept when installing again so that only the callback changes, and detached before it
// goes so that no event reaches the callback afterwards.
//
// `Session` offers setCallback(std::shared_ptr<const KeyCallback>) and detach(); the backend
// opens it (null when it cannot observe keys).
#include <memory>
#include <utility>

#include "platform/keyboard/keyboard_observer.h"

namespace quelt {

template <class Session>
class SessionKeyObserver : public KeyboardObserver {
  public:
    ~SessionKeyObserver() override { remove(); }

    bool install(KeyCallback callback) override {
        if (installed() != nullptr && installed() != this) {
            return false;
        }
        auto shared = std::make_shared<const KeyCallback>(std::move(callback));
        if (session_) {
            session_->setCallback(std::move(shared));
            return true;
        }
        session_ = open(std::move(shared));
        if (!session_) {
            return false;
        }
        installed() = this;
        return true;
    }

    // A session needs no renewal: what it selected or bound stays as it is.
    bool reinstall() override { return isInstalled(); }

    void remove() override {
        if (session_) {
            session_->detach();
            session_.reset();  // closes it, after a delivery under way returns
            installed() = nullptr;
        }
    }

    bool isInstalled() const override { return session_ != nullptr; }

  protected:
    virtual std::shared_ptr<Session> open(std::shared_ptr<const KeyCallback> callback) = 0;

  private:
    static SessionKeyObserver*& installed() {
        static SessionKeyObserver* observer = nullptr;
        return observer;
    }

    std::shared_ptr<Session> session_;
};

}  // namespace quelt
