#include "MT4/Path.h"

#include <windows.h>

#include "MT4/Windows.h"
#include "Utils/Paths.h"

namespace MT4 {

Path::Path()
{
    Clear();
    Utils::Paths::SetCurrent(Utils::Paths::DirectoryOf(Windows::ExecutablePath(GetCurrentProcessId())));
    char current[260] = {};
    GetCurrentDirectoryA(sizeof current, current);
    m_terminalDirectory = Utils::Paths::NormalizeDirectory(current);
    Derive();
}

void Path::Init(const std::string& terminalDirectory)
{
    Clear();
    m_terminalDirectory = Utils::Paths::NormalizeDirectory(terminalDirectory);
    Derive();
}

void Path::Clear()
{
    m_terminalDirectory.clear();
    m_filesDirectory.clear();
    m_historyDirectory.clear();
    m_terminalExecutable.clear();
    m_serverFolder.clear();
    m_serverHistoryDirectory.clear();
    m_symbolSelectionFile.clear();
}

void Path::Derive()
{
    m_filesDirectory = m_terminalDirectory + "experts\\files\\";
    m_historyDirectory = m_terminalDirectory + "history\\";
    m_serverFolder = ServerFolder(m_historyDirectory);
    if (!m_serverFolder.empty()) {
        m_serverHistoryDirectory = m_historyDirectory + m_serverFolder + "\\";
        m_symbolSelectionFile = m_serverHistoryDirectory + "symbols.sel";
    }
    m_terminalExecutable = m_terminalDirectory + "terminal.exe";
}

std::string Path::ServerFolder(const std::string& historyDirectory)
{
    // Newest of: the folder's symbols.sel (preferred), else the folder itself.
    std::string best;
    FILETIME bestTime = {};
    bool bestHasSelection = false;
    WIN32_FIND_DATAA folder;
    HANDLE find = FindFirstFileA((historyDirectory + "*").c_str(), &folder);
    if (find == INVALID_HANDLE_VALUE)
        return best;
    do {
        const std::string name = folder.cFileName;
        if (!(folder.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..")
            continue;
        FILETIME time = folder.ftLastWriteTime;
        WIN32_FILE_ATTRIBUTE_DATA selection;
        const bool hasSelection = GetFileAttributesExA(
            (historyDirectory + name + "\\symbols.sel").c_str(), GetFileExInfoStandard, &selection);
        if (hasSelection)
            time = selection.ftLastWriteTime;
        const bool better = best.empty() || (hasSelection && !bestHasSelection)
            || (hasSelection == bestHasSelection && CompareFileTime(&time, &bestTime) > 0);
        if (better) {
            best = name;
            bestTime = time;
            bestHasSelection = hasSelection;
        }
    } while (FindNextFileA(find, &folder));
    FindClose(find);
    return best;
}

}  // namespace MT4
