#include "tools/boxsim/in_memory_port.h"

namespace quelt::sim {

// One end of the bus, bound to a COM number while open.
class InMemoryPort : public SerialPort {
  public:
    explicit InMemoryPort(InMemoryBus& bus) : bus_(bus) {}
    ~InMemoryPort() override { close(); }

    int open(int portNumber) override {
        if (com_ != 0) {
            return 1;
        }
        const int opened = bus_.openPort(portNumber);
        if (opened != 1) {
            failure_ = opened < 0 ? OpenFailure::Busy : OpenFailure::NoSuchPort;
            return 0;
        }
        com_ = portNumber;
        return 1;
    }
    int isOpen() const override { return com_ != 0 ? 1 : 0; }
    OpenFailure openFailure() const override { return failure_; }
    int write(const std::uint8_t* data, std::size_t length) override {
        return com_ != 0 ? bus_.writePort(com_, data, length) : 0;
    }
    std::size_t readAvailable(std::uint8_t* buffer, std::size_t maximum) override {
        return com_ != 0 ? bus_.readPort(com_, buffer, maximum) : 0;
    }
    // The bus cannot block: the link sleeps on the fake clock, except on a line that dropped.
    PortWait waitReadable(std::chrono::microseconds) override {
        return com_ != 0 ? bus_.portState(com_) : PortWait::CannotWait;
    }
    void close() override {
        if (com_ != 0) {
            bus_.releasePort(com_);
            com_ = 0;
        }
    }

  private:
    InMemoryBus& bus_;
    int com_ = 0;
    OpenFailure failure_ = OpenFailure::None;
};

BoxModel& InMemoryBus::addBox(const BoxConfig& config) {
    std::lock_guard<std::mutex> lock(mutex_);
    Endpoint& endpoint = endpoints_[config.com];
    endpoint.model = std::make_unique<BoxModel>(config);
    return *endpoint.model;
}

void InMemoryBus::addForeignDevice(int com) {
    std::lock_guard<std::mutex> lock(mutex_);
    endpoints_[com].model.reset();
}

void InMemoryBus::addBusyPort(int com) {
    std::lock_guard<std::mutex> lock(mutex_);
    endpoints_[com].busy = true;
}

void InMemoryBus::failWrites(int com, bool fail) {
    std::lock_guard<std::mutex> lock(mutex_);
    endpoints_[com].writesFail = fail;
}

void InMemoryBus::hangUpAfterNextWrite(int com) {
    std::lock_guard<std::mutex> lock(mutex_);
    endpoints_[com].hangUpAfterWrite = true;
}

BoxModel* InMemoryBus::box(int com) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = endpoints_.find(com);
    return it == endpoints_.end() ? nullptr : it->second.model.get();
}

std::vector<int> InMemoryBus::openAttempts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return openAttempts_;
}

std::vector<std::vector<std::uint8_t>> InMemoryBus::writes(int com) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = endpoints_.find(com);
    return it == endpoints_.end() ? std::vector<std::vector<std::uint8_t>>{} : it->second.writes;
}

std::vector<std::pair<int, std::vector<std::uint8_t>>> InMemoryBus::writeLog() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return writeLog_;
}

std::vector<std::uint8_t> InMemoryBus::writtenBytes(int com) const {
    std::vector<std::uint8_t> all;
    for (const auto& piece : writes(com)) {
        all.insert(all.end(), piece.begin(), piece.end());
    }
    return all;
}

void InMemoryBus::clearWrites() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& [com, endpoint] : endpoints_) {
        endpoint.writes.clear();
    }
    writeLog_.clear();
}

int InMemoryBus::openCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    int count = 0;
    for (const auto& [com, endpoint] : endpoints_) {
        count += endpoint.held ? 1 : 0;
    }
    return count;
}

bool InMemoryBus::isHeld(int com) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = endpoints_.find(com);
    return it != endpoints_.end() && it->second.held;
}

SerialPortFactory InMemoryBus::factory() {
    return
        [this]() -> std::unique_ptr<SerialPort> { return std::make_unique<InMemoryPort>(*this); };
}

int InMemoryBus::openPort(int com) {
    std::lock_guard<std::mutex> lock(mutex_);
    openAttempts_.push_back(com);
    auto it = endpoints_.find(com);
    if (it == endpoints_.end()) {
        return 0;
    }
    if (it->second.busy || it->second.held) {
        return -1;
    }
    it->second.held = true;
    it->second.hungUp = false;
    return 1;
}

void InMemoryBus::releasePort(int com) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = endpoints_.find(com);
    if (it != endpoints_.end()) {
        it->second.held = false;
        it->second.pending.clear();  // what was in flight is lost with the port
    }
}

int InMemoryBus::writePort(int com, const std::uint8_t* data, std::size_t length) {
    std::lock_guard<std::mutex> lock(mutex_);
    Endpoint& endpoint = endpoints_[com];
    if (endpoint.writesFail || endpoint.hungUp) {
        return 0;
    }
    endpoint.writes.emplace_back(data, data + length);
    writeLog_.emplace_back(com, endpoint.writes.back());
    if (endpoint.hangUpAfterWrite) {
        endpoint.hangUpAfterWrite = false;
        endpoint.hungUp = true;
        endpoint.pending.clear();
        return 1;
    }
    if (!endpoint.model) {
        return 1;
    }
    const std::int64_t now = clock_.nowMicros();
    for (const ReplyChunk& chunk : endpoint.model->receive(data, length)) {
        const std::int64_t readyAt = now + static_cast<std::int64_t>(chunk.delayMs) * 1000;
        for (std::uint8_t byte : chunk.bytes) {
            endpoint.pending.emplace_back(readyAt, byte);
        }
    }
    return 1;
}

std::size_t InMemoryBus::readPort(int com, std::uint8_t* buffer, std::size_t maximum) {
    std::lock_guard<std::mutex> lock(mutex_);
    Endpoint& endpoint = endpoints_[com];
    const std::int64_t now = clock_.nowMicros();
    std::size_t count = 0;
    while (count < maximum && !endpoint.pending.empty() && endpoint.pending.front().first <= now) {
        buffer[count++] = endpoint.pending.front().second;
        endpoint.pending.pop_front();
    }
    return count;
}

PortWait InMemoryBus::portState(int com) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Endpoint& endpoint = endpoints_[com];
    return endpoint.hungUp ? PortWait::LineLost : PortWait::CannotWait;
}

}  // namespace quelt::sim
