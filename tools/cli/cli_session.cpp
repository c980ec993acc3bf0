#include "tools/cli/cli_session.h"

#include "base/ui_strings.h"

namespace quelt::cli {

Session::Session(const CliEnvironment& environment, bool json)
    : env(environment),
      sink(edits),
      link(sink, environment.clock, environment.portFactory),
      console(environment.out, environment.err, json) {}

int Session::connect(int box) {
    const bool found = link.discoverBoxes() == 1;
    // With --json a failure is one object: the skipped ports go into it instead.
    if (found ? warnSkipped : !console.json()) {
        for (const std::string& line : skippedLines(link)) {
            env.err << "quelt-cli: warning: " << line << "\n";
        }
    }
    if (!found) {
        return console.fail(kExitFailed, uiStrings().error(ui_error::kSerialComInit),
                            Json{{"skipped", skippedJson(link, true)}});
    }
    if (box >= link.boxCount()) {
        return console.fail(kExitUsage, "no box " + std::to_string(box) + ": " +
                                            std::to_string(link.boxCount()) +
                                            " found; no command was sent");
    }
    return select(box);
}

int Session::select(int index, const std::string& context) {
    if (index == link.currentBoxIndex() || link.selectBox(index) == 1) {
        return kExitOk;
    }
    return failed(ui_error::kSwitchDevice, context);
}

int Session::runWorker(OperationKind kind, int button, const std::string& context) {
    if (link.startOperation(kind, button) != 1) {
        return console.fail(kExitFailed, context + "the operation could not be started");
    }
    link.waitForWorkers();
    return sink.firstError() ? failed(0, context) : kExitOk;
}

int Session::failed(int fallback, const std::string& context) {
    return console.fail(kExitFailed,
                        context + uiStrings().error(sink.firstError().value_or(fallback)));
}

}  // namespace quelt::cli
