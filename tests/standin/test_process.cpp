// standin.exe in a process of its own: prints its one line, serves its
// windows, and exits 0 after WM_CLOSE.
#include <gtest/gtest.h>

#include <cstdio>

#include "Helpers.h"

using namespace StandInTest;

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH];
    std::string folder(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return folder.erase(folder.find_last_of('\\') + 1);
}

// Reads up to the first line end, at most timeoutMs.
std::string ReadLine(HANDLE pipe, DWORD timeoutMs)
{
    std::string line;
    const DWORD start = GetTickCount();
    while (line.find('\n') == std::string::npos && GetTickCount() - start < timeoutMs) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
            break;
        if (!available) {
            Sleep(10);
            continue;
        }
        char buffer[256];
        DWORD read = 0;
        ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &read, nullptr);
        line.append(buffer, read);
    }
    return line;
}

TEST(ProcessTest, StandInExePrintsItsLineAndExitsZeroAfterWmClose)
{
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, nullptr, TRUE };
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
        OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdError = nul;
    startup.hStdOutput = writeEnd;
    PROCESS_INFORMATION process = {};
    const std::string terminalFolder = ProgramFolder() + "..\\terminal\\";
    std::string commandLine = "\"" + terminalFolder + "standin.exe\" english";
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
        &process));
    CloseHandle(writeEnd);

    const std::string line = ReadLine(readEnd, 30000);
    unsigned long pid = 0;
    unsigned long long main = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "standin pid=%lu main=0x%llx", &pid, &main), 2) << line;
    char expected[80];
    std::snprintf(expected, sizeof expected, "standin pid=%lu main=0x%llx\n",
        static_cast<unsigned long>(process.dwProcessId), main);
    EXPECT_EQ(line, expected);
    const HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(main));
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    EXPECT_EQ(owner, process.dwProcessId);
    EXPECT_EQ(ClassOf(window), "MetaQuotes::MetaTrader::4.00");
    EXPECT_EQ(TextOf(window), "12345678: MetaQuotes-Demo - [USDJPY,D1]");
    EXPECT_NE(GetFileAttributesA((terminalFolder + "history\\MetaQuotes-Demo\\symbols.sel").c_str()),
        INVALID_FILE_ATTRIBUTES);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    TerminateProcess(process.hProcess, 1);  // only if it hung
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(readEnd);
    CloseHandle(nul);
}

}  // namespace
