#pragma once
// A simulated box: the protocol side of one Quelt box, independent of how bytes travel.
// Used behind ptys by quelt-boxsim and behind the in-memory port by the unit tests.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device/frame.h"

namespace quelt::sim {

enum class FaultKind {
    Silent,     // never answers anything
    Negative,   // answers command `code` with a negative reply (byte 0 = 0xFE)
    BadEnd,     // answers command `code` with byte 15 != 0xAA
    WrongCode,  // answers command `code` with another code in byte 0
    Split,      // every reply in two pieces (10 + 6 bytes) `ms` apart
    Delay,      // every reply `ms` late
    Garbage,    // `count` junk bytes sent right after every reply
};

struct Fault {
    FaultKind kind;
    int code = -1;  // command code for Negative / BadEnd / WrongCode (0xFF = the status request)
    int ms = 0;     // Split / Delay
    int count = 0;  // Garbage
};

// "silent", "nak=C", "badend=C", "wrongcode=C", "split=N", "delay=N", "garbage=N";
// several joined with ','. C is decimal or 0x-hex. nullopt on a malformed text.
std::optional<std::vector<Fault>> parseFaults(const std::string& text);

struct BoxConfig {
    int com = 1;
    std::uint8_t firmware = 12;
    std::uint8_t boxId = 1;
    // Settings bytes 4-14 the box starts with (flags, resolutions, limits, bezels).
    DeviceFrame settings = defaultSettings();
    std::vector<Fault> faults;

    static DeviceFrame defaultSettings();
};

// "COM:FW:ID[:FAULTS]", e.g. "3:12:2" or "5:10:1:nak=0". nullopt on a malformed text.
std::optional<BoxConfig> parseBoxSpec(const std::string& text);

// Bytes to send back, `delayMs` after the request that caused them.
struct ReplyChunk {
    int delayMs = 0;
    std::vector<std::uint8_t> bytes;
};

// One request as the box understood it.
struct Request {
    bool status = false;  // the single status-request byte
    DeviceFrame frame{};  // the 16-byte command (when !status)
};

class BoxModel {
  public:
    explicit BoxModel(BoxConfig config);

    // Bytes received from the panel, in any pieces. A 0xFF byte while no command is partly
    // received is a status request; every other byte collects into a 16-byte command.
    // Returns what to send back, in order.
    std::vector<ReplyChunk> receive(const std::uint8_t* data, std::size_t length);

    const BoxConfig& config() const { return config_; }
    // Replaces the fault list from now on (the state of the box is kept).
    void setFaults(std::vector<Fault> faults) { config_.faults = std::move(faults); }
    std::uint8_t boxId() const { return boxId_; }
    const DeviceFrame& settings() const { return settings_; }
    bool patternOn() const { return patternOn_; }
    bool rgbwPatternOn() const { return rgbwOn_; }
    const std::vector<Request>& requests() const { return requests_; }

  private:
    std::vector<ReplyChunk> answer(const Request& request);
    // The first fault of `kind` (for `code` when code >= 0), or null.
    const Fault* findFault(FaultKind kind, int code) const;
    // What an accepted command changes in the box.
    void takeEffect(const DeviceFrame& command);

    BoxConfig config_;
    std::uint8_t boxId_;
    DeviceFrame settings_;
    bool patternOn_ = false;
    bool rgbwOn_ = false;
    std::vector<std::uint8_t> partial_;
    std::vector<Request> requests_;
};

// One JSON line describing a request (for --log), e.g.
// {"com":3,"kind":"status"} or
// {"com":3,"kind":"command","code":0,"name":"ApplySettings","frame":"00544402..."}
std::string requestJson(int com, const Request& request);

}  // namespace quelt::sim
