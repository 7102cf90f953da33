// The terminal's directories: the trailing-backslash rule, the derived
// directories and files, the trade server's folder, the current directory.
#include <gtest/gtest.h>

#include <windows.h>

#include "MT4/Path.h"
#include "Utils/Paths.h"
#include "support/StandInProcess.h"

namespace {

// A scratch terminal directory with a history folder the test fills.
class ScratchTerminal {
public:
    ScratchTerminal()
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "RazozazER4Paths" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA((root + "history").c_str(), nullptr);
    }
    ~ScratchTerminal() { Support::InstallFolder::Remove(root); }

    // A server folder, with a symbols.sel written at `selectionTime` (or none),
    // and the folder's own time set to `folderTime`.
    void Server(const std::string& name, ULONGLONG folderTime, ULONGLONG selectionTime = 0)
    {
        const std::string folder = root + "history\\" + name;
        CreateDirectoryA(folder.c_str(), nullptr);
        if (selectionTime) {
            HANDLE file = CreateFileA((folder + "\\symbols.sel").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                FILE_ATTRIBUTE_NORMAL, nullptr);
            SetTime(file, selectionTime);
            CloseHandle(file);
        }
        HANDLE directory = CreateFileA(folder.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        SetTime(directory, folderTime);
        CloseHandle(directory);
    }

    std::string root;

private:
    static void SetTime(HANDLE handle, ULONGLONG days)
    {
        // Days after 2020-01-01 in FILETIME units.
        ULARGE_INTEGER value;
        value.QuadPart = 132223104000000000ull + days * 864000000000ull;
        FILETIME time = { value.LowPart, value.HighPart };
        SetFileTime(handle, nullptr, nullptr, &time);
    }
};

TEST(PathsTest, DirectoryGetsOneTrailingBackslashOnlyWhenValid)
{
    EXPECT_EQ(Utils::Paths::NormalizeDirectory("C:\\MT4"), "C:\\MT4\\");
    EXPECT_EQ(Utils::Paths::NormalizeDirectory("C:\\MT4\\"), "C:\\MT4\\");
    EXPECT_EQ(Utils::Paths::NormalizeDirectory(""), "");
    EXPECT_EQ(Utils::Paths::NormalizeDirectory("C"), "C");
    const std::string tooLong(261, 'a');
    EXPECT_EQ(Utils::Paths::NormalizeDirectory(tooLong), tooLong);
    const std::string longest(260, 'a');
    EXPECT_EQ(Utils::Paths::NormalizeDirectory(longest), longest + "\\");
    EXPECT_EQ(Utils::Paths::DirectoryOf("C:\\MT4\\terminal.exe"), "C:\\MT4\\");
    EXPECT_EQ(Utils::Paths::DirectoryOf("terminal.exe"), "");
}

TEST(PathsTest, SetCurrentAcceptsADirectoryWithItsBackslashAndRejectsAMissingOne)
{
    ScratchTerminal scratch;
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    Utils::Paths::SetCurrent(scratch.root);
    char now[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, now);
    EXPECT_EQ(Utils::Paths::WithBackslash(now), scratch.root);
    SetCurrentDirectoryA(before);
    try {
        Utils::Paths::SetCurrent(scratch.root + "missing\\");
        FAIL() << "no throw";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Метод \"Utils::Paths::SetCurrent()\".\nКаталог отсутсвует.");
    }
}

TEST(PathTest, DerivesEveryDirectoryAndFileFromTheTerminalDirectory)
{
    ScratchTerminal scratch;
    scratch.Server("Broker-Live", 10, 20);
    Utils::Pointer<MT4::Path> path;
    std::string given = scratch.root;
    given.pop_back();  // without its final "\"
    path->Init(given, GetCurrentProcessId());
    EXPECT_EQ(path->TerminalDirectory(), scratch.root);
    EXPECT_EQ(path->FilesDirectory(), scratch.root + "experts\\files\\");
    EXPECT_EQ(path->HistoryDirectory(), scratch.root + "history\\");
    EXPECT_EQ(path->TerminalExecutable(), scratch.root + "terminal.exe");
    EXPECT_EQ(path->ServerFolderName(), "Broker-Live");
    EXPECT_EQ(path->ServerHistoryDirectory(), scratch.root + "history\\Broker-Live\\");
    EXPECT_EQ(path->SymbolSelectionFile(), scratch.root + "history\\Broker-Live\\symbols.sel");
}

TEST(PathTest, ServerFolderIsTheOneWhoseSelectionWasWrittenLast)
{
    ScratchTerminal scratch;
    const std::string history = scratch.root + "history\\";
    EXPECT_EQ(MT4::Path::ServerFolder(history), "");
    scratch.Server("Old-Server", 5);
    scratch.Server("Demo-Server", 3);
    EXPECT_EQ(MT4::Path::ServerFolder(history), "Old-Server");  // no selection anywhere: the newest folder
    scratch.Server("Live-Server", 1, 8);
    scratch.Server("Demo-Server", 9, 7);
    scratch.Server("Old-Server", 30);
    EXPECT_EQ(MT4::Path::ServerFolder(history), "Live-Server");
}

TEST(PathTest, NoServerFolderLeavesTheServerPathsEmpty)
{
    ScratchTerminal scratch;
    Utils::Pointer<MT4::Path> path;
    path->Init(scratch.root, GetCurrentProcessId());
    EXPECT_EQ(path->ServerHistoryDirectory(), "");
    EXPECT_EQ(path->SymbolSelectionFile(), "");
    EXPECT_EQ(path->HistoryDirectory(), scratch.root + "history\\");
}

TEST(PathTest, DataFolderIsTheOneWhoseOriginNamesTheInstallFolderInEitherEncoding)
{
    ScratchTerminal scratch;
    const std::string install = "C:\\Program Files\\Терминал\\";
    const std::string terminals = scratch.root + "MetaQuotes\\Terminal\\";
    CreateDirectoryA((scratch.root + "MetaQuotes").c_str(), nullptr);
    CreateDirectoryA(terminals.c_str(), nullptr);
    const std::wstring appData(scratch.root.begin(), scratch.root.end());  // ASCII temp path
    const std::wstring wide = L"c:\\program files\\Терминал\r\n";
    const std::string bom = "\xFF\xFE";
    const struct {
        std::string origin;  // the file's bytes; "-" for no file
        bool names;
    } rows[] = {
        { bom + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2), true },
        { "C:\\Program Files\\Терминал", true },  // ANSI, without the final "\\"
        { "C:\\Program Files\\Терминал 2\\", false },
        { std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2), false },  // no mark: ANSI
        { "-", false },
    };
    for (const auto& row : rows) {
        const std::string folder = terminals + "0123456789ABCDEF0123456789ABCDEF\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        DeleteFileA((folder + "origin.txt").c_str());
        if (row.origin != "-") {
            HANDLE file = CreateFileA((folder + "origin.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            WriteFile(file, row.origin.data(), static_cast<DWORD>(row.origin.size()), &written, nullptr);
            CloseHandle(file);
        }
        EXPECT_EQ(MT4::Path::DataFolder(install, appData), row.names ? folder : "") << row.origin;
    }
}

TEST(PathTest, PortableSwitchIsReadFromThisOrAnotherProcesssCommandLine)
{
    EXPECT_TRUE(MT4::Path::Portable(L"\"C:\\MT4\\terminal.exe\" /skipupdate /PORTABLE"));
    EXPECT_FALSE(MT4::Path::Portable(L"\"C:\\MT4 /portable\\terminal.exe\""));
    EXPECT_FALSE(MT4::Path::Portable(L"terminal.exe /portable2"));

    // A suspended copy of this program, with the switch.
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring given = L"\"" + std::wstring(program) + L"\" --gtest_list_tests /portable";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(program, &given[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
        &startup, &process));
    std::wstring read;
    EXPECT_TRUE(MT4::Path::CommandLineOf(process.dwProcessId, read));
    EXPECT_EQ(read, given);
    TerminateProcess(process.hProcess, 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_FALSE(MT4::Path::CommandLineOf(0xFFFFFFF0, read));
}

}  // namespace
