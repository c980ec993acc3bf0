#pragma once
// What quelt-cli prints: one line per box, or JSON with --json; a failure as "quelt-cli: TEXT"
// or, with --json, as {"error": TEXT, "code": N} on the error stream.
#include <functional>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "platform/serial/port_map.h"

namespace quelt::cli {

using Json = nlohmann::ordered_json;  // keys stay in the order they are written

class Console {
  public:
    Console(std::ostream& out, std::ostream& err, bool json) : out_(out), err_(err), json_(json) {}

    bool json() const { return json_; }
    std::ostream& out() { return out_; }
    // One JSON value, compact, as one line of output.
    void print(const Json& value);
    // Reports a failure and returns `code`, the exit status. With --json the members of `more`
    // (an object) join the error object.
    int fail(int code, const std::string& text, const Json& more = nullptr);

  private:
    std::ostream& out_;
    std::ostream& err_;
    bool json_;
};

// "box 0 COM3 FW 12 ID 2"
std::string boxHead(const DeviceLink& link, int index);
// {indexKey: 0, "com": 3, "firmware": 12, "boxId": 2}
Json boxJson(const DeviceLink& link, int index, const char* indexKey);

// The status of table entry `index` as reported in `frame`.
void writeStatus(Console& console, const DeviceLink& link, int index, const DeviceFrame& frame);
void writePattern(Console& console, const DeviceLink& link, int index, const char* state);
void writeAppliedToAll(Console& console, const DeviceLink& link);
// One line per port discovery passed over although it exists ("COM2 (PATH): opened, no reply
// within 20 s — skipped").
std::vector<std::string> skippedLines(const DeviceLink& link);
// [{"com": 2, "path": PATH, "reason": "no-reply"}, ...], each with that line as "text" when
// `withText`.
Json skippedJson(const DeviceLink& link, bool withText);
void writeDiscovery(Console& console, const DeviceLink& link);
// COM1 to COM14: path, where the mapping came from, whether it exists and opens.
void writePorts(Console& console, const std::function<PortReport(int)>& check);

}  // namespace quelt::cli
