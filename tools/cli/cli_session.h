#pragma once
// One run of quelt-cli against the boxes: the device link with its terminal-side sink, the
// console, and the steps the commands share (discovery, box selection, the operation worker).
#include "device/device_link.h"
#include "tools/cli/cli_app.h"
#include "tools/cli/cli_options.h"
#include "tools/cli/report.h"
#include "tools/cli/terminal_sink.h"

namespace quelt::cli {

// Indices of the panel's push buttons whose messages start the worker.
inline constexpr int kButtonHwReset = 1;
inline constexpr int kButtonSwReset = 2;
inline constexpr int kButtonApply = 4;

class Session {
  public:
    Session(const CliEnvironment& env, bool json);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Discovery as the Serial COM switch does it, then entry `box` of the table current.
    // kExitOk, or the exit status after the failure was reported.
    int connect(int box);
    // Makes entry `index` current (reading its status) unless it already is.
    int select(int index, const std::string& context = {});
    // Runs one operation on the worker, as the panel's buttons do, and waits for it. A failure
    // is reported with `context` before the error text.
    int runWorker(OperationKind kind, int button, const std::string& context = {});
    // The error the operation raised (or `fallback` when it raised none), `context` first.
    int failed(int fallback, const std::string& context = {});

    const CliEnvironment& env;
    bool warnSkipped = true;  // ports discovery passed over are reported on the error stream
    SettingEdits edits;       // what the next Apply writes (the sink's "controls")
    TerminalSink sink;
    DeviceLink link;  // declared after the sink: the link's destructor waits for its worker
    Console console;
};

}  // namespace quelt::cli
