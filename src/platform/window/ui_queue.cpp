#include "platform/window/ui_queue.h"

namespace quelt {

bool UiQueue::post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_) {
            return false;
        }
        items_.push_back(Item{message, wParam, lParam, nullptr, {}});
    }
    changed_.notify_all();
    return true;
}

bool UiQueue::postTask(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!open_) {
            return false;
        }
        items_.push_back(Item{0, 0, 0, nullptr, std::move(task)});
    }
    changed_.notify_all();
    return true;
}

bool UiQueue::runAndWait(const std::function<void()>& step, const std::function<void()>& wake) {
    Waiter waiter;
    waiter.step = &step;
    std::unique_lock<std::mutex> lock(mutex_);
    if (!open_) {
        return false;
    }
    items_.push_back(Item{0, 0, 0, &waiter, {}});
    lock.unlock();
    changed_.notify_all();
    if (wake) {
        wake();
    }
    lock.lock();
    changed_.wait(lock, [&] { return waiter.finished; });
    return waiter.ran;
}

bool UiQueue::runOnUiThread(bool onUiThread, const std::function<void()>& step,
                            const std::function<void()>& wake) {
    if (onUiThread) {
        step();
        return true;
    }
    return runAndWait(step, wake);
}

void UiQueue::finish(Waiter* waiter, bool ran) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waiter->ran = ran;
        waiter->finished = true;
    }
    changed_.notify_all();
}

bool UiQueue::dispatchOne(const Dispatch& dispatch) {
    Item item;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (items_.empty()) {
            return false;
        }
        item = std::move(items_.front());
        items_.pop_front();
    }
    if (item.waiter != nullptr) {
        (*item.waiter->step)();
        finish(item.waiter, true);
    } else if (item.task) {
        item.task();
    } else if (dispatch) {
        dispatch(item.message, item.wParam, item.lParam);
    }
    return true;
}

bool UiQueue::empty() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return items_.empty();
}

bool UiQueue::waitForItem(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_until(lock, deadline, [&] { return !items_.empty() || interrupted_ || !open_; });
    interrupted_ = false;
    return !items_.empty();
}

void UiQueue::interrupt() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        interrupted_ = true;
    }
    changed_.notify_all();
}

void UiQueue::open() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
}

void UiQueue::close() {
    std::deque<Item> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = false;
        dropped.swap(items_);
        for (Item& item : dropped) {
            if (item.waiter != nullptr) {
                item.waiter->finished = true;
                item.waiter->ran = false;
            }
        }
    }
    changed_.notify_all();
}

bool UiQueue::isOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_;
}

}  // namespace quelt
