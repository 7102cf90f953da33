#pragma once
// standin.exe in a process of its own: started with a scenario, its process
// id and main window read from the line it prints, closed with WM_CLOSE.
#include <windows.h>

#include <string>

namespace Support {

class StandInProcess {
public:
    // Starts "<directory>\<program> <scenario>" (by default from
    // <build>\terminal\) and waits (bounded) for its line "<name> pid=<pid>
    // main=0x<window>".
    explicit StandInProcess(const std::string& scenario = "english", const std::string& program = "standin.exe",
        const std::string& directory = Directory());
    ~StandInProcess();  // closes it (WM_CLOSE, then a bounded wait; terminated only if it hangs)
    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    DWORD Pid() const { return m_pid; }
    HWND Main() const { return m_main; }
    // The directory of standin.exe, with its final "\".
    static std::string Directory();
    // Posts WM_CLOSE and waits for the process to end; its exit code, or
    // STILL_ACTIVE if it did not end within the bound.
    DWORD Close();

private:
    PROCESS_INFORMATION m_process = {};
    DWORD m_pid = 0;
    HWND m_main = nullptr;
};

// A fresh folder holding a copy of standin.exe: a terminal installed where no
// other stand-in has written. Removed with all it holds.
class InstallFolder {
public:
    InstallFolder();
    ~InstallFolder() { Remove(m_path); }
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;

    const std::string& Path() const { return m_path; }  // with its final "\"
    // Removes a folder (given with its final "\") and everything in it.
    static void Remove(const std::string& folder);

private:
    std::string m_path;
};

}  // namespace Support
