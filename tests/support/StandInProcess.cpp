#include "support/StandInProcess.h"

#include <cstdio>
#include <stdexcept>

namespace Support {

std::string StandInProcess::Directory()
{
    // The test programs live in <build>\bin, standin.exe in <build>\terminal.
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string bin = path;
    bin.erase(bin.rfind('\\'));
    return bin.substr(0, bin.rfind('\\') + 1) + "terminal\\";
}

StandInProcess::StandInProcess(const std::string& scenario, const std::string& program, const std::string& directory)
{
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, nullptr, TRUE };
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        throw std::runtime_error("no pipe");
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string commandLine = "\"" + directory + program + "\" " + scenario;
    const BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
        directory.c_str(), &startup, &m_process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        throw std::runtime_error(program + " not started");
    }
    // Read the first line: "<name> pid=<pid> main=0x<hex>". The read ends
    // when the line is complete or the process ends (the pipe breaks).
    std::string line;
    char c = 0;
    DWORD read = 0;
    while (ReadFile(readEnd, &c, 1, &read, nullptr) && read == 1 && c != '\n')
        line += c;
    CloseHandle(readEnd);
    unsigned long pid = 0;
    unsigned long long main = 0;
    if (std::sscanf(line.c_str(), "%*s pid=%lu main=0x%llx", &pid, &main) != 2)
        throw std::runtime_error(program + " printed: " + line);
    m_pid = pid;
    m_main = reinterpret_cast<HWND>(static_cast<UINT_PTR>(main));
}

DWORD StandInProcess::Close()
{
    if (!m_process.hProcess)
        return 0;
    PostMessageA(m_main, WM_CLOSE, 0, 0);
    WaitForSingleObject(m_process.hProcess, 10000);
    DWORD code = 0;
    GetExitCodeProcess(m_process.hProcess, &code);
    if (code == STILL_ACTIVE)
        TerminateProcess(m_process.hProcess, 1);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
    m_process = {};
    return code;
}

StandInProcess::~StandInProcess()
{
    Close();
}

InstallFolder::InstallFolder()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "RazStandIn" + std::to_string(GetCurrentProcessId()) + "\\";
    Remove(m_path);
    if (!CreateDirectoryA(m_path.c_str(), nullptr)
        || !CopyFileA((StandInProcess::Directory() + "standin.exe").c_str(), (m_path + "standin.exe").c_str(), TRUE))
        throw std::runtime_error("no install folder " + m_path);
}

void InstallFolder::Remove(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                Remove(folder + name + "\\");
            else
                DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace Support
