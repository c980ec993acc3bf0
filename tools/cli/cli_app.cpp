#include "tools/cli/cli_app.h"

#include "base/ui_strings.h"
#include "tools/cli/cli_session.h"
#include "tools/cli/frame_edit.h"
#include "tools/cli/profile_commands.h"

namespace quelt::cli {
namespace {

void printCurrentStatus(Session& s) {
    writeStatus(s.console, s.link, s.link.currentBoxIndex(), s.link.deviceFrame());
}

// One handler per command; std::visit refuses to compile while a command lacks one.
struct Handlers {
    Session& s;

    int operator()(const DiscoverArgs&) const {
        s.warnSkipped = false;  // discover lists them in its own output
        if (int status = s.connect(0); status != kExitOk) {
            return status;
        }
        writeDiscovery(s.console, s.link);
        return kExitOk;
    }

    int operator()(const StatusArgs& args) const {
        if (int status = s.connect(args.box); status != kExitOk) {
            return status;
        }
        printCurrentStatus(s);
        return kExitOk;
    }

    int operator()(const ApplyArgs& args) const {
        if (int status = s.connect(args.box); status != kExitOk) {
            return status;
        }
        const std::string problem = checkEdits(s.link.workingFrame(), args.edits);
        if (!problem.empty()) {
            return s.console.fail(kExitUsage, problem + "; no command was sent");
        }
        s.edits = args.edits;
        s.link.syncToAll = args.all ? 1 : 0;
        if (int status = s.runWorker(OperationKind::Apply, kButtonApply); status != kExitOk) {
            return status;
        }
        if (args.all) {
            writeAppliedToAll(s.console, s.link);
        } else {
            printCurrentStatus(s);
        }
        return kExitOk;
    }

    int operator()(const ResetArgs& args) const {
        if (int status = s.connect(args.box); status != kExitOk) {
            return status;
        }
        const bool hardware = args.kind == ResetChoice::Hardware;
        int status =
            s.runWorker(hardware ? OperationKind::HardwareReset : OperationKind::SoftwareReset,
                        hardware ? kButtonHwReset : kButtonSwReset);
        if (status == kExitOk) {
            printCurrentStatus(s);
        }
        return status;
    }

    int operator()(const PatternArgs& args) const {
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
        if (int status = s.connect(args.box); status != kExitOk) {
            return status;
        }
        for (const PatternAction& action : kActions) {
            if (action.choice != args.kind) {
                continue;
            }
            if (action.send(s.link) != 1) {
                return s.failed(action.errorIndex);
            }
            writePattern(s.console, s.link, s.link.currentBoxIndex(), action.state);
            return kExitOk;
        }
        return kExitUsage;
    }

    int operator()(const PortsArgs&) const {
        writePorts(s.console, s.env.checkPort);
        return kExitOk;
    }

    int operator()(const SaveArgs& args) const { return runSave(s, args); }
    int operator()(const RestoreArgs& args) const { return runRestore(s, args); }
};

}  // namespace

int runCli(const std::vector<std::string>& args, const CliEnvironment& env) {
    const ParseResult parsed = parseCommandLine(args);
    if (parsed.help) {
        env.out << cliUsage();
        return kExitOk;
    }
    if (!parsed.command) {
        Console(env.out, env.err, parsed.json).fail(kExitUsage, parsed.error);
        if (parsed.showUsage && !parsed.json) {
            env.err << cliUsage();
        }
        return kExitUsage;
    }
    env.setPortOptions(parsed.command->common.ports);
    // Nothing is sent before a handler connects.
    Session session(env, parsed.command->common.json);
    return std::visit(Handlers{session}, parsed.command->args);
}

}  // namespace quelt::cli
