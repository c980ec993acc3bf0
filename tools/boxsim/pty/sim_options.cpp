#include "tools/boxsim/pty/sim_options.h"

#include <set>

namespace quelt::sim {

std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    SimOptions options;
    std::set<int> ports;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg != "--port-dir" && arg != "--box" && arg != "--log") {
            error = "unknown argument: " + arg;
            return std::nullopt;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (arg == "--port-dir") {
            options.portDir = value;
        } else if (arg == "--log") {
            options.logPath = value;
        } else {
            auto box = parseBoxSpec(value);
            if (!box) {
                error = "bad box description: " + value;
                return std::nullopt;
            }
            if (!ports.insert(box->com).second) {
                error = "two boxes on COM" + std::to_string(box->com);
                return std::nullopt;
            }
            options.boxes.push_back(std::move(*box));
        }
    }
    if (options.portDir.empty()) {
        error = "--port-dir is required";
        return std::nullopt;
    }
    if (options.boxes.empty()) {
        error = "at least one --box is required";
        return std::nullopt;
    }
    return options;
}

}  // namespace quelt::sim
