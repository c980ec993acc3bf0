// The command line of quelt-cli: any words, in any order. The input is split at zero bytes
// into the arguments after the program name. Kept thin: it only calls the parse entry point.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/cli/cli_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    if (size > 0) {
        args.emplace_back();
    }
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back().push_back(static_cast<char>(data[i]));
        }
    }
    (void)quelt::cli::parseCommandLine(args);
    return 0;
}
