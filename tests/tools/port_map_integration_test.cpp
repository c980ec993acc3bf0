// quelt-cli finding boxes through the port map, reporting the ports it passed over, and giving
// its ports back when a signal ends it: against quelt-boxsim on pseudo-terminals.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "tests/tools/tool_process.h"

namespace quelt::testing {
namespace {

const std::vector<std::string> kAsNobody = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup",
                                            "--clear-groups"};

bool canRunAsNobody() {
    return ::geteuid() == 0 && fs::exists(kAsNobody[0]);
}

// Whether `nobody` can open `tty` for reading and writing (a child process drops root first).
int openErrorAsNobody(const fs::path& tty) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(100);
        }
        const int fd = ::open(tty.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ::_exit(fd >= 0 ? 0 : errno);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

using PortMapTest = ToolsTest;

// The box is on the simulator's COM2; the port map puts it on COM5 without QUELT_PORT_DIR.
TEST_F(PortMapTest, ABoxIsReachedThroughThePortsFileOrTheOption) {
    startSimulator({"2:12:3"});
    const std::string device = (ports() / "COM2").string();
    const fs::path file = dir_.path() / "ports.conf";
    std::ofstream(file) << "# the wall\nCOM5 = " << device << "\nCOM6 " << device << "\n";
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::vector<std::string> env;
        std::string err;
    } cases[] = {
        {"ports file",
         {"discover", "--json"},
         {"QUELT_PORTS_FILE=" + file.string()},
         "quelt: ports file " + file.string() +
             ":3: not \"COMn = PATH\" (n 1 to 14), line ignored\n"},
        {"option", {"discover", "--json", "--port", "COM5=" + device}, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult r = CliProcess({}, dir_.path(), c.args, c.env).finish();
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(
            r.out,
            "{\"boxes\":[{\"index\":0,\"com\":5,\"firmware\":12,\"boxId\":3}],\"skipped\":[]}\n");
        EXPECT_EQ(r.err, c.err);
    }
}

TEST_F(PortMapTest, PortsListsFourteenEntriesAndSendsNothing) {
    startSimulator({"3:12:1"});
    const CliResult r = cli({"ports", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto ports = nlohmann::json::parse(r.out).at("ports");
    ASSERT_EQ(ports.size(), 14u);
    for (int com = 1; com <= 14; ++com) {
        const auto& entry = ports[static_cast<std::size_t>(com - 1)];
        EXPECT_EQ(entry.at("com"), com);
        EXPECT_EQ(entry.at("path"), (this->ports() / ("COM" + std::to_string(com))).string());
        EXPECT_EQ(entry.at("source"), "env");
        EXPECT_EQ(entry.at("exists"), com == 3);
        EXPECT_EQ(entry.at("openable"), com == 3);
        EXPECT_EQ(entry.at("error").is_null(), com == 3);
    }
    EXPECT_EQ(readFile(log()), "");
}

// A silent port in front of the box is listed after it (the JSON form: tools_integration_test).
TEST_F(PortMapTest, ASilentPortIsReportedAsSkipped) {
    startSimulator({"1:12:1:silent", "2:12:3"});
    const CliResult r = cli({"discover"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "box 0 COM2 FW 12 ID 3\nCOM1 (" + (ports() / "COM1").string() +
                         "): opened, no reply within 20 s \u2014 skipped\n");
}

// Ended by a signal while it waits for a reply, quelt-cli gives the port back: exclusive mode is
// cleared, so a user who is not root can open it again.
TEST_F(PortMapTest, ASignalDuringAReplyWaitLeavesThePortOpenable) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "not root: cannot check the port as another user";
    }
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        std::error_code ec;
        fs::remove(log(), ec);
        startSimulator({"1:12:1:delay=5000"});
        const fs::path tty = fs::canonical(ports() / "COM1");
        ::chmod(tty.c_str(), 0666);
        CliProcess cli(ports(), dir_.path(), {"status"});
        ASSERT_FALSE(waitForLines(log(), 1).empty());
        cli.signal(signalNumber);
        EXPECT_EQ(cli.finish().exitCode, 128 + signalNumber);
        EXPECT_EQ(openErrorAsNobody(tty), 0);
        sim_.reset();
    }
}

TEST_F(PortMapTest, APortTheUserMayNotOpenSaysSoWithItsPath) {
    if (!canRunAsNobody()) {
        GTEST_SKIP() << "not root, or no setpriv: cannot run quelt-cli as another user";
    }
    startSimulator({"1:12:1"});
    const std::string tty = fs::canonical(ports() / "COM1").string();
    ::chmod(tty.c_str(), 0600);
    const std::string text =
        "COM1 (" + tty +
        "): Permission denied (add your user to the dialout group: sudo usermod -aG dialout "
        "$USER, then log in again) \u2014 skipped";
    CliResult r =
        CliProcess({}, dir_.path(), {"status", "--port", "COM1=" + tty}, {}, kAsNobody).finish();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quelt-cli: warning: " + text +
                         "\nquelt-cli: The Serial COM initialize fail.\nPlease check again.\n");
    r = CliProcess({}, dir_.path(), {"status", "--json", "--port", "COM1=" + tty}, {}, kAsNobody)
            .finish();
    EXPECT_EQ(r.exitCode, 1);
    const auto error = nlohmann::json::parse(r.err);
    EXPECT_EQ(error.at("code"), 1);
    const nlohmann::json entry = {
        {"com", 1}, {"path", tty}, {"reason", "permission-denied"}, {"text", text}};
    EXPECT_EQ(error.at("skipped"), nlohmann::json::array({entry}));
    EXPECT_EQ(readFile(log()), "");
}

}  // namespace
}  // namespace quelt::testing
