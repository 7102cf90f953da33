// A program that crashes under the test set-up ends with its exception code
// instead of waiting in a crash dialog.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(CrashTest, CrashingProgramEndsWithAccessViolationWithinTenSeconds)
{
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, 0, nullptr);
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, nullptr, TRUE };
    HANDLE quiet = nullptr;
    DuplicateHandle(GetCurrentProcess(), nul, GetCurrentProcess(), &quiet, 0, TRUE, DUPLICATE_SAME_ACCESS);
    (void)inherit;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = quiet;
    PROCESS_INFORMATION process = {};
    char commandLine[] = "crasher.exe";
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    TerminateProcess(process.hProcess, 1);  // only if it hung
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(quiet);
    CloseHandle(nul);
}

}  // namespace
