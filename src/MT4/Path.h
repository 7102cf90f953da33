#pragma once
// The terminal's working directories and files, derived from the directory
// of its executable.
#include <string>

#include "Utils/Base.h"

namespace MT4 {

class Path : public virtual Utils::Base {
public:
    // For the process that loaded the library (its executable's directory
    // becomes the current directory).
    Path();
    // For a served terminal whose directory is `terminalDirectory`.
    void Init(const std::string& terminalDirectory);

    // The trade server's folder inside `historyDirectory`: the sub-folder whose
    // "symbols.sel" was written last (the terminal rewrites the selection of the
    // server it is connected to); without any, the sub-folder written last;
    // empty when there is no sub-folder.
    static std::string ServerFolder(const std::string& historyDirectory);

    const std::string& TerminalDirectory() const { return m_terminalDirectory; }
    const std::string& FilesDirectory() const { return m_filesDirectory; }
    const std::string& HistoryDirectory() const { return m_historyDirectory; }
    const std::string& TerminalExecutable() const { return m_terminalExecutable; }
    const std::string& ServerFolderName() const { return m_serverFolder; }
    // Empty when no server folder is known.
    const std::string& ServerHistoryDirectory() const { return m_serverHistoryDirectory; }
    const std::string& SymbolSelectionFile() const { return m_symbolSelectionFile; }

private:
    void Clear();
    void Derive();

    std::string m_terminalDirectory;
    std::string m_filesDirectory;
    std::string m_historyDirectory;
    std::string m_terminalExecutable;
    std::string m_serverFolder;
    std::string m_serverHistoryDirectory;
    std::string m_symbolSelectionFile;
};

}  // namespace MT4
