#include "tools/cli/cli_app.h"

#include "base/ui_strings.h"
#include "device/device_link.h"
#include "tools/cli/cli_options.h"
#include "tools/cli/frame_edit.h"
#include "tools/cli/report.h"
#include "tools/cli/terminal_sink.h"

namespace quelt::cli {
namespace {

// Indices of the panel's push buttons whose messages start the worker.
constexpr int kButtonHwReset = 1;
constexpr int kButtonSwReset = 2;
constexpr int kButtonApply = 4;

struct Session {
    const CliCommand& command;
    DeviceLink& link;
    TerminalSink& sink;
    std::ostream& out;
    std::ostream& err;

    // The error the operation raised (or `fallback` when it failed without one), exit 1.
    int failed(int fallback) {
        err << "quelt-cli: " << uiStrings().error(sink.firstError().value_or(fallback)) << "\n";
        return kExitFailed;
    }
    int runWorker(OperationKind kind, int button) {
        if (link.startOperation(kind, button) != 1) {
            err << "quelt-cli: the operation could not be started\n";
            return kExitFailed;
        }
        link.waitForWorkers();
        return sink.firstError() ? failed(0) : kExitOk;
    }
    void printCurrentStatus() {
        writeStatus(out, link, link.currentBoxIndex(), link.deviceFrame(), command.json);
    }
};

int runDiscover(Session& s) {
    writeDiscovery(s.out, s.link, s.command.json);
    return kExitOk;
}

int runStatus(Session& s) {
    s.printCurrentStatus();
    return kExitOk;
}

int runApply(Session& s) {
    const std::string problem = checkEdits(s.link.workingFrame(), s.command.edits);
    if (!problem.empty()) {
        s.err << "quelt-cli: " << problem << "; no command was sent\n";
        return kExitUsage;
    }
    s.link.syncToAll = s.command.all ? 1 : 0;
    int status = s.runWorker(OperationKind::Apply, kButtonApply);
    if (status != kExitOk) {
        return status;
    }
    if (s.command.all) {
        writeAppliedToAll(s.out, s.link, s.command.json);
    } else {
        s.printCurrentStatus();
    }
    return kExitOk;
}

int runReset(Session& s) {
    const bool hardware = s.command.reset == ResetChoice::Hardware;
    int status = s.runWorker(hardware ? OperationKind::HardwareReset : OperationKind::SoftwareReset,
                             hardware ? kButtonHwReset : kButtonSwReset);
    if (status == kExitOk) {
        s.printCurrentStatus();
    }
    return status;
}

int runPattern(Session& s) {
    struct PatternAction {
        PatternChoice choice;
        const char* state;
        int errorIndex;
        int (*send)(DeviceLink&);
    };
    static const PatternAction kActions[] = {
        {PatternChoice::On, "on", ui_error::kPatternOn,
         [](DeviceLink& l) { return l.patternOnFromSwitch(DeviceCommand::PatternOn); }},
        {PatternChoice::Rgbw, "rgbw", ui_error::kPatternOn,
         [](DeviceLink& l) { return l.patternOnFromSwitch(DeviceCommand::RgbwPatternOn); }},
        {PatternChoice::Off, "off", ui_error::kPatternOff,
         [](DeviceLink& l) { return l.patternOffFromSwitch(); }},
    };
    for (const PatternAction& action : kActions) {
        if (action.choice != s.command.pattern) {
            continue;
        }
        if (action.send(s.link) != 1) {
            return s.failed(action.errorIndex);
        }
        writePattern(s.out, s.link, s.link.currentBoxIndex(), action.state, s.command.json);
        return kExitOk;
    }
    return kExitUsage;
}

using VerbHandler = int (*)(Session&);
struct VerbEntry {
    Verb verb;
    VerbHandler run;
};
constexpr VerbEntry kVerbs[] = {
    {Verb::Discover, runDiscover}, {Verb::Status, runStatus},   {Verb::Apply, runApply},
    {Verb::Reset, runReset},       {Verb::Pattern, runPattern},
};

}  // namespace

int runCli(const std::vector<std::string>& args, Clock& clock, SerialPortFactory portFactory,
           std::ostream& out, std::ostream& err) {
    const ParseResult parsed = parseCommandLine(args);
    if (parsed.help) {
        out << kCliUsage;
        return kExitOk;
    }
    if (!parsed.command) {
        err << "quelt-cli: " << parsed.error << "\n" << (parsed.showUsage ? kCliUsage : "");
        return kExitUsage;
    }
    const CliCommand& command = *parsed.command;

    // The sink outlives the link: the link's destructor waits for its worker.
    TerminalSink sink(command.edits);
    DeviceLink link(sink, clock, std::move(portFactory));
    Session session{command, link, sink, out, err};

    // As the Serial COM switch does: discovery first, box 0 current.
    if (link.discoverBoxes() != 1) {
        err << "quelt-cli: " << uiStrings().error(ui_error::kSerialComInit) << "\n";
        return kExitFailed;
    }
    if (command.box >= link.boxCount()) {
        err << "quelt-cli: no box " << command.box << ": " << link.boxCount()
            << " found; no command was sent\n";
        return kExitUsage;
    }
    if (command.box != 0 && link.selectBox(command.box) != 1) {
        return session.failed(ui_error::kSwitchDevice);
    }
    for (const VerbEntry& entry : kVerbs) {
        if (entry.verb == command.verb) {
            return entry.run(session);
        }
    }
    return kExitUsage;
}

}  // namespace quelt::cli
