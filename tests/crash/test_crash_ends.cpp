// A program that crashes under the test set-up ends with its exception code instead of waiting in a crash dialog.
#include <gtest/gtest.h>
#include <windows.h>

TEST(CrashTest, CrashingProgramEndsWithAccessViolationWithinTenSeconds)
{
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, nullptr, TRUE };
    HANDLE quiet = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
        OPEN_EXISTING, 0, nullptr);
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
    // Under qemu-i386 Wine gets no trap number with a page fault and names every fault an illegal instruction.
    EXPECT_EQ(code, static_cast<DWORD>(sizeof(void*) == 8 ? EXCEPTION_ACCESS_VIOLATION : EXCEPTION_ILLEGAL_INSTRUCTION));
    TerminateProcess(process.hProcess, 1);  // only if it hung
    for (HANDLE handle : { process.hThread, process.hProcess, quiet })
        CloseHandle(handle);
}
