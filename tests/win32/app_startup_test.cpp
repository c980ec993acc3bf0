// quelt-panel.exe started while another copy holds the single-instance mutex: it ends at once
// with 0 and without a window. scripts/wine/check-startup-calls.sh runs this test with wine's
// trace and QUELT_TRACE=1 on, and checks that the program made its Windows start-up calls and
// wrote its trace line before ending.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace quelt {
namespace {

// The build tree's path of the program as Windows sees it (wine maps / to drive Z:).
std::wstring programPath() {
    const std::string path = QUELT_PANEL_EXE;
    std::wstring wide = path.front() == '/' ? L"Z:" : L"";
    for (char c : path) {
        wide.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
    }
    return wide;
}

TEST(PanelProgram, ASecondCopyEndsAtOnceWithZero) {
    HANDLE firstCopy = CreateMutexW(nullptr, FALSE, L"CPanorilApp");
    ASSERT_NE(firstCopy, nullptr);
    const std::wstring program = programPath();
    std::wstring commandLine = L"\"" + program + L"\"";
    // The program writes its trace (with QUELT_TRACE=1) to the standard error it inherits.
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                               nullptr, nullptr, &startup, &process))
        << GetLastError();
    const DWORD waited = WaitForSingleObject(process.hProcess, 120000);
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(firstCopy);
}

}  // namespace
}  // namespace quelt
