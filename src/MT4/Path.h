#pragma once
// The terminal's working directories and files. They lie under the directory
// of its executable (the install folder) unless the terminal keeps them in a
// data folder of its user: "%APPDATA%\MetaQuotes\Terminal\<id>\", whose
// origin.txt names the install folder (terminals of build 600 and later that
// were not started with /portable).
#include <windows.h>

#include <string>

#include "Utils/Base.h"

namespace MT4 {

class Path : public virtual Utils::Base {
public:
    // For the process that loaded the library (its executable's directory
    // becomes the current directory).
    Path();
    // For a served terminal whose directory is `terminalDirectory`, running
    // as process `processId`.
    void Init(const std::string& terminalDirectory, DWORD processId);

    // The trade server's folder inside `historyDirectory`: the sub-folder whose
    // "symbols.sel" was written last (the terminal rewrites the selection of the
    // server it is connected to); without any, the sub-folder written last;
    // empty when there is no sub-folder.
    static std::string ServerFolder(const std::string& historyDirectory);
    // The data folder (with its final "\") among the sub-folders of
    // "<appData>\MetaQuotes\Terminal\" whose origin.txt names
    // `installDirectory` (compared without regard to case or a final "\");
    // the file is UTF-16 LE when it begins with the byte-order mark, ANSI
    // otherwise. Empty when none does.
    static std::string DataFolder(const std::string& installDirectory, const std::wstring& appData);
    // True when the command line carries the /portable switch.
    static bool Portable(const std::wstring& commandLine);
    // The command line of a process (this one's or another's of the same
    // bitness); false when it cannot be read.
    static bool CommandLineOf(DWORD processId, std::wstring& commandLine);

    const std::string& TerminalDirectory() const { return m_terminalDirectory; }
    // Empty when the terminal keeps everything in its install folder.
    const std::string& DataDirectory() const { return m_dataDirectory; }
    // "experts\files\" and "history\" of the install folder; where it lacks
    // one, "MQL4\Files\" and "history\" of the data folder.
    const std::string& FilesDirectory() const { return m_filesDirectory; }
    const std::string& HistoryDirectory() const { return m_historyDirectory; }
    const std::string& TerminalExecutable() const { return m_terminalExecutable; }
    const std::string& ServerFolderName() const { return m_serverFolder; }
    // Empty when no server folder is known.
    const std::string& ServerHistoryDirectory() const { return m_serverHistoryDirectory; }
    const std::string& SymbolSelectionFile() const { return m_symbolSelectionFile; }

private:
    void Clear();
    void Derive(DWORD processId);

    std::string m_terminalDirectory;
    std::string m_dataDirectory;
    std::string m_filesDirectory;
    std::string m_historyDirectory;
    std::string m_terminalExecutable;
    std::string m_serverFolder;
    std::string m_serverHistoryDirectory;
    std::string m_symbolSelectionFile;
};

}  // namespace MT4
