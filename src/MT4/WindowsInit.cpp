// Start-up: which process is served, where its executable lies, its main
// window and chart area, and the named mutexes.
#include <windows.h>
#include <tlhelp32.h>

#include "MT4/Windows.h"
#include "Utils/Errors.h"
#include "Utils/Paths.h"
#include "Utils/Wait.h"
#include "Utils/Windows.h"

namespace MT4 {

namespace {

const char* const MutexPrefixes[Windows::MutexCount] = {
    "MT4::Windows::Mutex_ActiveChart_",
    "MT4::Windows::Mutex_DataWindow_",
    "MT4::Windows::Mutex_DeleteIndicators_",
    "MT4::Windows::Mutex_MarketWatch_",
    "MT4::Windows::Mutex_Navigator_",
    "MT4::Windows::Mutex_Terminal_",
    "MT4::Windows::Mutex_Tester_",
    "MT4::Windows::Mutex_TickIndicators_",
};

}  // namespace


void Windows::TabList::Add(const std::string& name)
{
    index[name] = static_cast<int>(names.size());
    names.push_back(name);
}

std::string Windows::MutexName(MutexId id, DWORD processId)
{
    return MutexPrefixes[id] + std::to_string(processId);
}

void Windows::Clear()
{
    m_processId = 0;
    m_processIdText.clear();
    m_executablePath.clear();
    m_directory.clear();
    m_internalMessage = 0;
    m_mainWindow = nullptr;
    m_chartArea = nullptr;
    m_standardDock = nullptr;
    m_language = Language::None;
    for (std::string& name : m_names)
        name.clear();
    m_panels.clear();
    m_controls.clear();
    m_terminalTabs = TabList();
    m_testerTabs = TabList();
    m_optionsTabs = TabList();
}

void Windows::Attach(DWORD processId)
{
    Clear();
    m_processId = processId ? processId : GetCurrentProcessId();
    m_processIdText = std::to_string(m_processId);
    m_executablePath = ExecutablePath(m_processId);
    m_directory = Utils::Paths::DirectoryOf(m_executablePath);
    m_internalMessage = RegisterWindowMessageA("MetaTrader4_Internal_Message");
    if (!m_internalMessage)
        throw "Ошибка в методе \"MT4::Windows::Init()\".\nНе определено новое сообщение окна.";
}

void Windows::Init(DWORD processId)
{
    Attach(processId);
    HandleMetaTrader();
    HandleMDIClient();

    InitLocalization();
    InitTabLists();
    HandleDataWindow();
    HandleMarketWatch();
    HandleNavigator();
    HandleTerminal();
    HandleTester();
    HandlePanelStandart();
    HandlePanelCharts();
    HandlePanelLineStudies();
    HandlePanelPeriodicity();
    HandlePanelStandard();
    HandleListDataWindow();
    HandleListMarketWatch();
    HandleListsTerminal();
    HandleTreeNavigator();

    CreateMutexes();
}

void Windows::CreateMutexes()
{
    for (int id = 0; id < MutexCount; ++id)
        m_mutexes[id].Create(MutexName(static_cast<MutexId>(id), m_processId), FALSE, INFINITE);
}

std::string Windows::ExecutablePath(DWORD processId)
{
    SetLastError(0);
    HANDLE snapshot = INVALID_HANDLE_VALUE;
    // A snapshot can fail while the process is starting or loading modules;
    // a process id that names no process never gives one.
    Utils::Wait::Until(
        [&] {
            snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
            return snapshot != INVALID_HANDLE_VALUE;
        },
        500, Utils::Wait::SnapshotBound);
    if (snapshot == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        throw Utils::Error::Method("MT4::Windows::ExecutablePath",
                  "Не получен список модулей процесса " + std::to_string(processId) + ".")
            + LastErrorText(code);
    }
    std::string path;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == processId) {
            path = entry.szExePath;
            break;
        }
    }
    if (!CloseHandle(snapshot))
        return "ERROR";
    return path;
}

HWND Windows::HandleMetaTrader()
{
    m_mainWindow = WaitForHandle(
        [&] {
            return Utils::Windows::FindFirst(
                nullptr, m_processId, Utils::Windows::Match::Exact, "MetaQuotes::MetaTrader::4.00");
        },
        NoMainWindow);
    return m_mainWindow;
}

HWND Windows::HandleMDIClient()
{
    m_chartArea = WaitForHandle([&] { return GetDlgItem(m_mainWindow, 0xE900); },
        "Ошибка в методе \"MT4::Windows::HandleMDIClient()\".\nНе получен системный дескриптор окна области "
        "графиков.");
    return m_chartArea;
}

}  // namespace MT4
