#include "MT4/Path.h"

#include <shellapi.h>
#include <shlobj.h>
#include <winternl.h>

#include <vector>

#include "MT4/Windows.h"
#include "Utils/Paths.h"

namespace MT4 {

namespace {

// origin.txt holds one path: more than this is not an origin file.
constexpr DWORD OriginBytesMax = 4 * MAX_PATH;
// The longest command line Windows keeps, in bytes.
constexpr USHORT CommandLineBytesMax = 0xFFFE;

std::wstring Wide(const std::string& text)
{
    if (text.empty())
        return {};
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], static_cast<int>(wide.size()));
    return wide;
}

std::string Ansi(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
        nullptr, nullptr);
    std::string ansi(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &ansi[0], size, nullptr, nullptr);
    return ansi;
}

// Without the spaces and line ends around it and without a final "\".
std::wstring Bare(std::wstring path)
{
    const size_t first = path.find_first_not_of(L" \t\r\n");
    path.erase(0, first == std::wstring::npos ? path.size() : first);
    while (!path.empty() && (path.back() == L'\\' || path.back() == L' ' || path.back() == L'\t'
                                || path.back() == L'\r' || path.back() == L'\n'))
        path.pop_back();
    return path;
}

// The text of an origin.txt; false when the file is missing, unreadable or
// too long to be one.
bool ReadOrigin(const std::wstring& file, std::wstring& text)
{
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> bytes(OriginBytesMax + 1);
    DWORD read = 0;
    const BOOL ok = ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(handle);
    if (!ok || read > OriginBytesMax)
        return false;
    if (read >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
        text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (read - 2) / 2);
    else
        text = Wide(std::string(bytes.data(), read));
    return true;
}

// The user's application data folder: this process's user's, which is the
// served terminal's (the library runs in its process; a terminal served from
// another process is assumed to run under the same user).
std::wstring AppData()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

}  // namespace

Path::Path()
{
    Clear();
    Utils::Paths::SetCurrent(Utils::Paths::DirectoryOf(Windows::ExecutablePath(GetCurrentProcessId())));
    char current[260] = {};
    GetCurrentDirectoryA(sizeof current, current);
    m_terminalDirectory = Utils::Paths::NormalizeDirectory(current);
    Derive(GetCurrentProcessId());
}

void Path::Init(const std::string& terminalDirectory, DWORD processId)
{
    Clear();
    m_terminalDirectory = Utils::Paths::NormalizeDirectory(terminalDirectory);
    Derive(processId);
}

void Path::Clear()
{
    m_terminalDirectory.clear();
    m_dataDirectory.clear();
    m_filesDirectory.clear();
    m_historyDirectory.clear();
    m_terminalExecutable.clear();
    m_serverFolder.clear();
    m_serverHistoryDirectory.clear();
    m_symbolSelectionFile.clear();
}

void Path::Derive(DWORD processId)
{
    // A folder the install folder holds is the terminal's (a terminal before
    // build 600, or one started with /portable); one it lacks is looked for in
    // the data folder. A command line that cannot be read leaves the install
    // folder's rule.
    m_filesDirectory = m_terminalDirectory + "experts\\files\\";
    m_historyDirectory = m_terminalDirectory + "history\\";
    const bool hasFiles = Utils::Paths::DirectoryExists(m_filesDirectory);
    const bool hasHistory = Utils::Paths::DirectoryExists(m_historyDirectory);
    std::wstring commandLine;
    if (!(hasFiles && hasHistory) && CommandLineOf(processId, commandLine) && !Portable(commandLine))
        m_dataDirectory = DataFolder(m_terminalDirectory, AppData());
    if (!m_dataDirectory.empty()) {
        if (!hasFiles)
            m_filesDirectory = m_dataDirectory + "MQL4\\Files\\";
        if (!hasHistory)
            m_historyDirectory = m_dataDirectory + "history\\";
    }
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

std::string Path::DataFolder(const std::string& installDirectory, const std::wstring& appData)
{
    const std::wstring install = Bare(Wide(installDirectory));
    if (install.empty() || appData.empty())
        return {};
    const std::wstring terminals = Bare(appData) + L"\\MetaQuotes\\Terminal\\";
    std::string found;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((terminals + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return found;
    do {
        const std::wstring name = entry.cFileName;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == L"." || name == L"..")
            continue;
        std::wstring origin;
        if (!ReadOrigin(terminals + name + L"\\origin.txt", origin))
            continue;
        origin = Bare(origin);
        if (CompareStringOrdinal(origin.c_str(), static_cast<int>(origin.size()), install.c_str(),
                static_cast<int>(install.size()), TRUE)
            == CSTR_EQUAL)
            found = Ansi(terminals + name + L"\\");
    } while (found.empty() && FindNextFileW(find, &entry));
    FindClose(find);
    return found;
}

bool Path::Portable(const std::wstring& commandLine)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(commandLine.c_str(), &count);
    if (!arguments)
        return false;
    bool portable = false;
    for (int i = 1; i < count && !portable; ++i)
        portable = CompareStringOrdinal(arguments[i], -1, L"/portable", -1, TRUE) == CSTR_EQUAL;
    LocalFree(arguments);
    return portable;
}

bool Path::CommandLineOf(DWORD processId, std::wstring& commandLine)
{
    if (processId == GetCurrentProcessId()) {
        commandLine = GetCommandLineW();
        return true;
    }
    // Another process's: from its process parameters, read out of its memory.
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!query || !process) {
        if (process)
            CloseHandle(process);
        return false;
    }
    PROCESS_BASIC_INFORMATION basic = {};
    PEB peb = {};
    RTL_USER_PROCESS_PARAMETERS parameters = {};
    bool ok = query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) >= 0 && basic.PebBaseAddress
        && ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr)
        && ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr)
        && parameters.CommandLine.Length <= CommandLineBytesMax;
    if (ok) {
        std::wstring text(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
        ok = text.empty()
            || ReadProcessMemory(process, parameters.CommandLine.Buffer, &text[0], text.size() * sizeof(wchar_t),
                nullptr);
        if (ok)
            commandLine = text;
    }
    CloseHandle(process);
    return ok;
}

}  // namespace MT4
