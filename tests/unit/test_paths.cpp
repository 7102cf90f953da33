// The terminal's directories: trailing backslashes, derived paths, server and data folders, the portable switch.
#include <gtest/gtest.h>
#include <fstream>
#include "MT4/Path.h"
#include "Utils/Paths.h"
#include "support/StandInProcess.h"
#include "support/Thrown.h"

namespace {

struct ScratchTerminal {
    ScratchTerminal()
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "RazozazER4Paths" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA((root + "history").c_str(), nullptr);
    }
    ~ScratchTerminal() { Support::InstallFolder::Remove(root); }

    // A server folder written `folderDay` days after 2020-01-01, with symbols.sel on `selectionDay` (0: none).
    void Server(const std::string& name, ULONGLONG folderDay, ULONGLONG selectionDay = 0)
    {
        const std::string folder = root + "history\\" + name;
        CreateDirectoryA(folder.c_str(), nullptr);
        if (selectionDay)
            Dated(CreateFileA((folder + "\\symbols.sel").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr), selectionDay);
        Dated(CreateFileA(folder.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS, nullptr), folderDay);
    }
    static void Dated(HANDLE handle, ULONGLONG day)
    {
        const ULONGLONG time = 132223104000000000ull + day * 864000000000ull;
        const FILETIME written = { static_cast<DWORD>(time), static_cast<DWORD>(time >> 32) };
        SetFileTime(handle, nullptr, nullptr, &written);
        CloseHandle(handle);
    }

    std::string root;
};

TEST(PathsTest, DirectoriesGetOneTrailingBackslashOnlyWhenValidMustExistToBeCurrentAndPortableIsAWord)
{
    using Utils::Paths::NormalizeDirectory;
    for (const auto& [given, normal] : { std::pair<std::string, std::string> { "C:\\MT4", "C:\\MT4\\" },
             { "C:\\MT4\\", "C:\\MT4\\" }, { "", "" }, { "C", "C" }, { std::string(261, 'a'), std::string(261, 'a') },
             { std::string(260, 'a'), std::string(260, 'a') + "\\" } })
        EXPECT_EQ(NormalizeDirectory(given), normal) << given;
    EXPECT_EQ(Utils::Paths::DirectoryOf("C:\\MT4\\terminal.exe"), "C:\\MT4\\");
    EXPECT_EQ(Utils::Paths::DirectoryOf("terminal.exe"), "");
    EXPECT_TRUE(MT4::Path::Portable(L"\"C:\\MT4\\terminal.exe\" /skipupdate /PORTABLE"));  // a word in any case
    EXPECT_FALSE(MT4::Path::Portable(L"\"C:\\MT4 /portable\\terminal.exe\""));
    EXPECT_FALSE(MT4::Path::Portable(L"terminal.exe /portable2"));

    ScratchTerminal scratch;
    char before[MAX_PATH] = {}, now[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    Utils::Paths::SetCurrent(scratch.root);
    GetCurrentDirectoryA(MAX_PATH, now);
    EXPECT_EQ(Utils::Paths::WithBackslash(now), scratch.root);
    SetCurrentDirectoryA(before);
    EXPECT_EQ(Support::Thrown([&] { Utils::Paths::SetCurrent(scratch.root + "missing\\"); }),
        "Метод \"Utils::Paths::SetCurrent()\".\nКаталог отсутсвует.");
}

TEST(PathTest, ServerFolderIsTheOneWhoseSelectionWasWrittenLastAndTheFilesDeriveFromIt)
{
    ScratchTerminal scratch;
    const std::string history = scratch.root + "history\\";
    Utils::Pointer<MT4::Path> path;
    path->Init(scratch.root, GetCurrentProcessId());
    EXPECT_EQ(path->HistoryDirectory(), history);
    EXPECT_EQ(path->ServerHistoryDirectory(), "");
    EXPECT_EQ(path->SymbolSelectionFile(), "");
    scratch.Server("Old-Server", 5);
    scratch.Server("Demo-Server", 3);
    EXPECT_EQ(MT4::Path::ServerFolder(history), "Old-Server");  // no selection anywhere: the newest folder
    scratch.Server("Live-Server", 1, 8);
    scratch.Server("Demo-Server", 9, 7);
    scratch.Server("Old-Server", 30);
    EXPECT_EQ(MT4::Path::ServerFolder(history), "Live-Server");

    std::string given = scratch.root;
    given.pop_back();  // without its final "\"
    path->Init(given, GetCurrentProcessId());
    EXPECT_EQ(path->TerminalDirectory(), scratch.root);
    EXPECT_EQ(path->FilesDirectory(), scratch.root + "experts\\files\\");
    EXPECT_EQ(path->TerminalExecutable(), scratch.root + "terminal.exe");
    EXPECT_EQ(path->ServerFolderName(), "Live-Server");
    EXPECT_EQ(path->ServerHistoryDirectory(), history + "Live-Server\\");
    EXPECT_EQ(path->SymbolSelectionFile(), history + "Live-Server\\symbols.sel");
}

TEST(PathTest, DataFolderIsTheOneWhoseOriginNamesTheInstallFolderInEitherEncoding)
{
    ScratchTerminal scratch;
    const std::string terminals = scratch.root + "MetaQuotes\\Terminal\\";
    const std::string folder = terminals + "0123456789ABCDEF0123456789ABCDEF\\";
    for (const std::string& directory : { scratch.root + "MetaQuotes", terminals, folder })
        CreateDirectoryA(directory.c_str(), nullptr);
    const std::wstring wide = L"c:\\program files\\Терминал\r\n";
    const std::string utf16(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    for (const auto& [origin, names] : { std::pair<std::string, bool> { "\xFF\xFE" + utf16, true },
             { "C:\\Program Files\\Терминал", true },  // ANSI, without the final "\"
             { "C:\\Program Files\\Терминал 2\\", false }, { utf16, false } /* no mark: ANSI */, { "-", false } }) {
        DeleteFileA((folder + "origin.txt").c_str());
        if (origin != "-")
            std::ofstream(folder + "origin.txt", std::ios::binary) << origin;
        EXPECT_EQ(MT4::Path::DataFolder("C:\\Program Files\\Терминал\\",
                      std::wstring(scratch.root.begin(), scratch.root.end())),  // an ASCII temp path
            names ? folder : "")
            << origin;
    }
}

}  // namespace
