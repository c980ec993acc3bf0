#include "platform/serial/port_map.h"

#include <gtest/gtest.h>

namespace quelt {
namespace {

TEST(PortMap, ResolutionTakesTheFirstSourceThatNamesThePort) {
    PortMapSources sources;
    sources.options = {{3, "/dev/opt3"}};
    sources.file = {{3, "/dev/file3"}, {4, "/dev/file4"}};
    sources.portDir = "/tmp/ports";
    struct Case {
        int com;
        const char* path;
        PortSource source;
    };
    const Case cases[] = {
        {3, "/dev/opt3", PortSource::Option},
        {4, "/dev/file4", PortSource::File},
        {5, "/tmp/ports/COM5", PortSource::Env},
    };
    for (const Case& c : cases) {
        const PortMapping m = resolvePort(c.com, sources);
        EXPECT_EQ(m.path, c.path) << c.com;
        EXPECT_EQ(m.source, c.source) << c.com;
    }
    sources.portDir.clear();
    EXPECT_EQ(resolvePort(1, sources).path, "/dev/ttyUSB0");
    EXPECT_EQ(resolvePort(14, sources).path, "/dev/ttyUSB13");
    EXPECT_EQ(resolvePort(14, sources).source, PortSource::Default);
    EXPECT_EQ(resolvePort(0, sources).path, "");
    EXPECT_EQ(resolvePort(15, sources).path, "");
    EXPECT_STREQ(portSourceName(PortSource::Env), "env");
    EXPECT_STREQ(portSourceName(PortSource::Default), "default");
}

TEST(PortMap, PortsFileKeepsGoodLinesAndReportsMalformedOnes) {
    const char* text =
        "# boxes on the wall\n"
        "\n"
        "COM3 = /dev/serial/by-id/usb-Quelt_Box-if00-port0\n"
        "  com4=/dev/ttyACM0   # the second box\n"
        "COM15 = /dev/ttyS0\n"
        "COM0 = /dev/ttyS0\n"
        "COM03 = /dev/ttyS0\n"
        "COM5 =\n"
        "just words\n"
        "COM6 /dev/ttyS1\n"
        "COM3 = /dev/ttyUSB7\r\n";
    const PortsFileText parsed = parsePortsFile(text, "ports.conf");
    const PortPaths expected = {{3, "/dev/ttyUSB7"}, {4, "/dev/ttyACM0"}};
    EXPECT_EQ(parsed.paths, expected);
    ASSERT_EQ(parsed.problems.size(), 6u);
    const char* lines[] = {"ports.conf:5:", "ports.conf:6:", "ports.conf:7:",
                           "ports.conf:8:", "ports.conf:9:", "ports.conf:10:"};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(parsed.problems[i].rfind(lines[i], 0), 0u) << parsed.problems[i];
    }
}

TEST(PortMap, CommandLineAssignment) {
    EXPECT_EQ(parsePortAssignment("COM2=/dev/ttyACM1"),
              std::make_pair(2, std::string("/dev/ttyACM1")));
    EXPECT_EQ(parsePortAssignment("COM14=x"), std::make_pair(14, std::string("x")));
    for (const char* bad :
         {"COM2", "COM2=", "COM15=/dev/x", "PORT2=/dev/x", "=/dev/x", "COMx=/d"}) {
        EXPECT_FALSE(parsePortAssignment(bad)) << bad;
    }
}

}  // namespace
}  // namespace quelt
