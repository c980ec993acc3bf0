#pragma once
// The queue between other threads and a window's user-interface thread: posted messages and
// steps that a caller waits for, in one FIFO. Thread-safe; the UI thread drains it one item at a
// time, so a nested loop (a modal box) inside a handler keeps draining it.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>

namespace quelt {

class UiQueue {
  public:
    using Dispatch = std::function<void(std::uint32_t, std::uintptr_t, std::intptr_t)>;

    // Queues a message. False when the queue is closed.
    bool post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    // Queues a task that nobody waits for. False when the queue is closed.
    bool postTask(std::function<void()> task);
    // Queues `step`, calls `wake` and waits until the UI thread has run it (true) or the queue
    // was closed first (false, not run).
    bool runAndWait(const std::function<void()>& step, const std::function<void()>& wake);
    // A window host's `runOnUiThread`: `step` runs at once when the caller is the UI thread
    // (`onUiThread`), otherwise as `runAndWait`.
    bool runOnUiThread(bool onUiThread, const std::function<void()>& step,
                       const std::function<void()>& wake);

    // UI thread: takes the oldest item and handles it (messages through `dispatch`).
    // False when the queue was empty.
    bool dispatchOne(const Dispatch& dispatch);
    bool empty() const;
    // Waits until an item is queued, the queue is closed or `deadline` passes. True if an item
    // is queued.
    bool waitForItem(std::chrono::steady_clock::time_point deadline);
    // Wakes `waitForItem` without queueing anything.
    void interrupt();

    // Open: accepts items. Closing drops the queued messages and releases waiting callers.
    void open();
    void close();
    bool isOpen() const;

  private:
    struct Waiter {
        const std::function<void()>* step = nullptr;
        bool finished = false;
        bool ran = false;
    };
    struct Item {
        std::uint32_t message = 0;
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
        Waiter* waiter = nullptr;    // a step when set
        std::function<void()> task;  // a task when set
    };

    void finish(Waiter* waiter, bool ran);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> items_;
    bool open_ = false;
    bool interrupted_ = false;
};

// Runs a UI-only operation of `host` (a window host): inline on its UI thread, without wrapping
// it in a std::function, and carried over by the host's `runOnUiThread` from any other thread.
template <class Host, class F>
bool runUiOperation(Host& host, F&& operation) {
    if (host.isUiThread()) {
        operation();
        return true;
    }
    return host.runOnUiThread(std::function<void()>(std::forward<F>(operation)));
}

}  // namespace quelt
