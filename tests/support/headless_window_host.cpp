#include "support/headless_window_host.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quelt {

namespace {

HostEvent makeEvent(HostCall call, std::uint32_t message = 0, std::uintptr_t wParam = 0,
                    std::intptr_t lParam = 0) {
    HostEvent event;
    event.call = call;
    event.message = message;
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

}  // namespace

HeadlessWindowHost::HeadlessWindowHost() : loop_(std::make_shared<Loop>()) {}

HeadlessWindowHost::HeadlessWindowHost(HeadlessWindowHost& sameThread) : loop_(sameThread.loop_) {}

HeadlessWindowHost::~HeadlessWindowHost() {
    destroy();
}

void HeadlessWindowHost::record(HostEvent event) {
    event.onUiThread = isUiThread();
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
}

void HeadlessWindowHost::setTitle(const std::string& title) {
    std::lock_guard<std::mutex> lock(mutex_);
    title_ = title;
}

void HeadlessWindowHost::setOwner(const WindowHost& owner) {
    std::lock_guard<std::mutex> lock(mutex_);
    owner_ = &owner;
}

void* HeadlessWindowHost::nativeWindow() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return created_ ? const_cast<HeadlessWindowHost*>(this) : nullptr;
}

std::string HeadlessWindowHost::title() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return title_;
}

const WindowHost* HeadlessWindowHost::ownerAtCreate() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return ownerAtCreate_;
}

bool HeadlessWindowHost::create(int width, int height) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (created_) {
            return true;
        }
        created_ = true;
        ownerAtCreate_ = owner_;
        width_ = width;
        height_ = height;
        alive_ = std::make_shared<HeadlessWindowHost*>(this);
    }
    {
        std::lock_guard<std::mutex> lock(loop_->mutex);
        if (loop_->createdWindows++ == 0) {
            loop_->queue.open();
        }
    }
    HostEvent event = makeEvent(HostCall::Create);
    event.x = width;
    event.y = height;
    record(event);
    return true;
}

void HeadlessWindowHost::destroy() {
    bool wasCreated = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        wasCreated = created_;
        created_ = false;
        visible_ = false;
        captured_ = false;
        alive_.reset();
    }
    if (!wasCreated) {
        return;
    }
    // The loop closes with the thread's last window: callers still waiting on it return.
    {
        std::lock_guard<std::mutex> lock(loop_->mutex);
        if (--loop_->createdWindows == 0) {
            loop_->queue.close();
        }
    }
    record(makeEvent(HostCall::Destroy));
}

bool HeadlessWindowHost::isCreated() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return created_;
}

bool HeadlessWindowHost::post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    HostEvent event = makeEvent(HostCall::Post, message, wParam, lParam);
    record(event);
    std::weak_ptr<HeadlessWindowHost*> target;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!created_) {
            return false;
        }
        target = alive_;
    }
    return loop_->queue.postTask([target, message, wParam, lParam] {
        if (auto host = target.lock()) {
            (*host)->dispatch(message, wParam, lParam);
        }
    });
}

void HeadlessWindowHost::dispatch(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
    if (handler_ != nullptr) {
        handler_->onMessage(message, wParam, lParam);
    }
}

std::intptr_t HeadlessWindowHost::send(std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
    record(makeEvent(HostCall::Send, message, wParam, lParam));
    if (!isCreated()) {
        return 0;
    }
    std::intptr_t result = 0;
    auto handle = [&] {
        if (handler_ != nullptr) {
            result = handler_->onMessage(message, wParam, lParam);
        }
    };
    loop_->queue.runOnUiThread(isUiThread(), handle, nullptr);
    return result;
}

bool HeadlessWindowHost::runOnUiThread(const std::function<void()>& step) {
    return loop_->queue.runOnUiThread(isUiThread(), step, nullptr);
}

bool HeadlessWindowHost::dispatchOne() {
    return loop_->queue.dispatchOne(nullptr);
}

void HeadlessWindowHost::setCapture() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        captured_ = true;
    }
    record(makeEvent(HostCall::SetCapture));
}

void HeadlessWindowHost::releaseCapture() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        captured_ = false;
    }
    record(makeEvent(HostCall::ReleaseCapture));
}

void HeadlessWindowHost::setCursor(CursorShape shape) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        cursor_ = shape;
    }
    HostEvent event = makeEvent(HostCall::SetCursor);
    event.cursor = shape;
    record(event);
}

void HeadlessWindowHost::beginCaptionDrag(int x, int y) {
    HostEvent event = makeEvent(HostCall::CaptionDrag);
    event.x = x;
    event.y = y;
    record(event);
}

void HeadlessWindowHost::move(int x, int y) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        position_ = WindowPoint{x, y};
    }
    HostEvent event = makeEvent(HostCall::Move);
    event.x = x;
    event.y = y;
    record(event);
}

void HeadlessWindowHost::show() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        visible_ = created_;
    }
    record(makeEvent(HostCall::Show));
}

void HeadlessWindowHost::placeAndShow(int x, int y) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        position_ = WindowPoint{x, y};
        visible_ = created_;
    }
    HostEvent event = makeEvent(HostCall::Place);
    event.x = x;
    event.y = y;
    record(event);
}

void HeadlessWindowHost::hide() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        visible_ = false;
    }
    record(makeEvent(HostCall::Hide));
}

bool HeadlessWindowHost::isVisible() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return visible_;
}

WindowRect HeadlessWindowHost::clientRect() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return WindowRect{0, 0, width_, height_};
}

WindowPoint HeadlessWindowHost::screenPosition() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return position_;
}

void HeadlessWindowHost::present(const std::uint32_t* premultipliedArgb, int width, int height,
                                 int strideBytes) {
    HostEvent event = makeEvent(HostCall::Present);
    event.x = width;
    event.y = height;
    record(event);
    if (premultipliedArgb == nullptr || width <= 0 || height <= 0) {
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const bool own = premultipliedArgb == ownFrame_.pixels.data() && width == ownFrame_.width &&
                     height == ownFrame_.height && strideBytes == width * 4;
    if (!own) {
        PresentedFrame frame;
        frame.width = width;
        frame.height = height;
        frame.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        const auto* source = reinterpret_cast<const unsigned char*>(premultipliedArgb);
        for (int row = 0; row < height; ++row) {
            std::memcpy(
                &frame.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width)],
                source + static_cast<std::ptrdiff_t>(row) * strideBytes,
                static_cast<std::size_t>(width) * sizeof(std::uint32_t));
        }
        frame_ = std::move(frame);
    }
    presentedOwn_ = own;
    width_ = width;
    height_ = height;
    ++presents_;
}

std::uint32_t* HeadlessWindowHost::frameBuffer(int width, int height) {
    if (!isUiThread() || width <= 0 || height <= 0) {
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (width != ownFrame_.width || height != ownFrame_.height) {
        presentedOwn_ = false;
        ownFrame_.width = width;
        ownFrame_.height = height;
        ownFrame_.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                0);
    }
    return ownFrame_.pixels.data();
}

void HeadlessWindowHost::showErrorBox(const std::string& text) {
    HostEvent event = makeEvent(HostCall::ErrorBox);
    event.text = text;
    record(event);
    std::function<void(const std::string&)> action;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        action = errorBoxAction_;
    }
    if (action) {
        action(text);
    }
}

int HeadlessWindowHost::run() {
    Loop& loop = *loop_;
    while (!loop.quitRequested.load()) {
        if (!dispatchOne()) {
            if (!loop.queue.isOpen()) {
                break;
            }
            loop.queue.waitForItem(std::chrono::steady_clock::now() + std::chrono::seconds(1));
        }
    }
    loop.quitRequested = false;
    return loop.exitCode.load();
}

void HeadlessWindowHost::quit(int exitCode) {
    HostEvent event = makeEvent(HostCall::Quit);
    event.message = static_cast<std::uint32_t>(exitCode);
    record(event);
    loop_->exitCode = exitCode;
    loop_->quitRequested = true;
    loop_->queue.interrupt();
}

void HeadlessWindowHost::waitPumpingMessages(std::uint32_t ms) {
    HostEvent event = makeEvent(HostCall::Wait);
    event.message = ms;
    record(event);
    if (!realTimeWaits_) {
        pump();
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!loop_->quitRequested.load() && std::chrono::steady_clock::now() < deadline) {
        if (!dispatchOne()) {
            loop_->queue.waitForItem(deadline);
        }
    }
}

int HeadlessWindowHost::pump() {
    int count = 0;
    while (dispatchOne()) {
        ++count;
    }
    return count;
}

bool HeadlessWindowHost::pumpUntil(const std::function<bool()>& done,
                                   std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        if (!dispatchOne()) {
            loop_->queue.waitForItem(std::min(
                deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(20)));
        }
    }
    return true;
}

void HeadlessWindowHost::injectPointer(PointerAction action, int x, int y, std::uint32_t flags) {
    if (handler_ != nullptr) {
        handler_->onPointer(PointerInput{action, x, y, flags});
    }
}

void HeadlessWindowHost::injectDoubleClick(int x, int y, std::uint32_t flags) {
    injectPointer(PointerAction::Press, x, y, flags);
}

void HeadlessWindowHost::setErrorBoxAction(std::function<void(const std::string&)> action) {
    std::lock_guard<std::mutex> lock(mutex_);
    errorBoxAction_ = std::move(action);
}

std::vector<HostEvent> HeadlessWindowHost::events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

std::vector<HostEvent> HeadlessWindowHost::eventsOf(HostCall call) const {
    std::vector<HostEvent> result;
    std::lock_guard<std::mutex> lock(mutex_);
    for (const HostEvent& event : events_) {
        if (event.call == call) {
            result.push_back(event);
        }
    }
    return result;
}

void HeadlessWindowHost::clearEvents() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
}

std::vector<std::string> HeadlessWindowHost::errorBoxTexts() const {
    std::vector<std::string> texts;
    for (const HostEvent& event : eventsOf(HostCall::ErrorBox)) {
        texts.push_back(event.text);
    }
    return texts;
}

bool HeadlessWindowHost::hasCapture() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return captured_;
}

CursorShape HeadlessWindowHost::cursor() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return cursor_;
}

PresentedFrame HeadlessWindowHost::lastFrame() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return presentedOwn_ ? ownFrame_ : frame_;
}

int HeadlessWindowHost::presentCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return presents_;
}

}  // namespace quelt
