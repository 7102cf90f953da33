#pragma once
// The terminal as the library sees it: the process served, its paths, the
// internal message, the main window, the chart area, the panels and their
// controls found under their localized names, the tab lists and the named
// mutexes that serialise the operations across threads. Filled by Init; the
// operations of each family live in their own WindowsXxx.cpp.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "MT4/Localization.h"
#include "MT4/MqlString.h"
#include "Utils/Base.h"
#include "Utils/Sync.h"
#include "Utils/Wait.h"
#include "Utils/Windows.h"

namespace MT4 {

class Windows : public virtual Utils::Base {
public:
    // A list of localized tab names in the terminal's order, and the index of each.
    struct TabList {
        std::vector<std::string> names;
        std::map<std::string, int> index;
        void Add(const std::string& name);
    };

    enum MutexId {
        MutexActiveChart,
        MutexDataWindow,
        MutexDeleteIndicators,
        MutexMarketWatch,
        MutexNavigator,
        MutexTerminal,
        MutexTester,
        MutexTickIndicators,
        MutexCount
    };

    // --- start-up ---------------------------------------------------------
    // Discovers the terminal of `processId` (0 = this process).
    void Init(DWORD processId);
    // Its first steps alone: forgets everything, then takes the process, its
    // executable and the internal message; the searches are the caller's.
    void Attach(DWORD processId);
    HWND HandleMetaTrader();
    HWND HandleMDIClient();
    // Full path of the executable of a process (its first module).
    static std::string ExecutablePath(DWORD processId);
    static std::string MutexName(MutexId id, DWORD processId);

    // --- panels and localization --------------------------------------------
    void InitLocalization();
    void InitTabLists();
    HWND HandleDataWindow();
    HWND HandleMarketWatch();
    HWND HandleNavigator();
    HWND HandleTerminal();
    HWND HandleTester();
    HWND HandlePanelStandart();
    HWND HandlePanelCharts();
    HWND HandlePanelLineStudies();
    HWND HandlePanelPeriodicity();
    HWND HandlePanelStandard();
    HWND HandleListDataWindow();
    HWND HandleListMarketWatch();
    HWND HandleTreeNavigator();
    void HandleListsTerminal();

    // --- main window --------------------------------------------------------
    void MetaTraderTitle(BOOL show);

    // --- panels and terminal dialogs ---------------------------------------
    // `panel` is one of the five panels (DataWindow … Tester).
    BOOL IsVisiblePanel(Name panel);
    void ShowPanel(Name panel);
    void HidePanel(Name panel);
    HWND OpenOptions(WORD tab);
    HWND OpenHistoryCenter();
    HWND OpenGlobalVariables();

    // --- Terminal tabs --------------------------------------------------------
    void SetTerminalTab(WORD tab);
    void SetTerminalTabByName(const std::string& name);

    // --- login and trade servers ----------------------------------------------
    // Account 0 or below leaves the fields as the dialog shows them.
    // The password is the caller's text: the library keeps no copy of it.
    void Login(int32_t account, const char* password, const std::string& server, bool savePassword);
    std::string GetNameServer();
    // The login dialog's items (the password field has no id: it is the edit
    // with the password style).
    static constexpr int LoginAccountField = 0x049D;
    static constexpr int LoginServerField = 0x050D;
    static constexpr int LoginSaveBox = 0x04FC;
    // Posts the login command and looks for the login dialog `attempts` times,
    // `pause` ms apart; `method` names the caller in the error texts.
    HWND OpenLoginDialog(const char* method, int attempts, DWORD pause);
    HWND LoginPasswordField(HWND dialog) const;
    BOOL RescanServers();

    // --- account number masking -----------------------------------------------
    // Shows `number` in place of the account number in the main window's
    // title, from now on; the first call subclasses the main window.
    void SetAccountNumber(int32_t number);
    // The main window's message handler while the masking is on.
    static int ReplacAccountNumbers(UINT* message, WPARAM* wParam, LPARAM* lParam);

    // --- charts -------------------------------------------------------------
    // The active-chart mutex held by this thread: released by Release, which
    // reports a failure, or at the latest when the hold goes. A terminal
    // without the mutex gives a hold of nothing.
    class ActiveChartHold {
    public:
        // Waits for the mutex without a time limit; only a failed wait is an
        // error, named after `method`. An abandoned mutex counts as acquired.
        ActiveChartHold(Utils::Sync::Mutex& mutex, const char* method);
        ActiveChartHold(ActiveChartHold&& other) noexcept : m_mutex(other.m_mutex) { other.m_mutex = nullptr; }
        ActiveChartHold(const ActiveChartHold&) = delete;
        ActiveChartHold& operator=(const ActiveChartHold&) = delete;
        ActiveChartHold& operator=(ActiveChartHold&&) = delete;
        ~ActiveChartHold();
        void Release();

    private:
        Utils::Sync::Mutex* m_mutex;
    };

    // A check box of the Common page of a chart's Properties and the names
    // under which its operations report.
    enum class ChartSetting {
        ShowAsk,
        ShowObjectDescriptions,
        Foreground,
        ShowGrid,
        Offline,
        ShowOHLC,
        ScaleFix,
        ScaleFix1To1,
        AutoScroll,
        ShowPeriodSeparators,
        Shift,
        ShowVolume,
    };
    // A caller's element of a check-box list: the control id, the state (in:
    // nonzero asks for checked; out: 1 or 0), and a value left alone.
    struct ChartCheckBoxEntry {
        int32_t id;
        int32_t state;
        int32_t unused;
    };
    // The Properties dialog of a chart and its page.
    struct PropertiesDialog {
        HWND dialog;
        HWND page;
    };

    // Every chart window (descendant of the chart area whose class begins with
    // "AfxFrameOrView"), in the system's enumeration order.
    std::vector<HWND> Charts() const;
    // The zero-handle check of every chart operation; `method` names it in
    // the message ("CloseChart").
    static void CheckChart(HWND chart, const char* method);
    bool IsChart(HWND window) const;
    bool IsChartActive(HWND chart) const;
    [[nodiscard]] ActiveChartHold SetActiveChartStart(HWND chart);
    void SetActiveChart(HWND chart);
    BOOL CloseChart(HWND chart);
    void CloseAllCharts();

    // Display settings.
    int GetSetting(ChartSetting setting, HWND chart);
    int SetSetting(ChartSetting setting, HWND chart, bool checked);
    BOOL ToggleSetting(ChartSetting setting, HWND chart);
    int GetViewChart(HWND chart);
    BOOL SetViewChart(HWND chart, WORD view);
    void SetScale(HWND chart, double first, double second);
    // Opens the chart's Properties on the Colors page (0) or the Common page
    // (any other value) and leaves it open.
    PropertiesDialog OpenPropertiesChart(HWND chart, WORD page);
    void PropertiesChartCheckBox(HWND chart, bool write, ChartCheckBoxEntry* entries, WORD count);

    // Timeframes and templates.
    void SetTimeframeByNumber(HWND chart, int32_t index);
    void SetTimeframeByPeriod(HWND chart, int32_t minutes);
    void SetTimeframeByName(HWND chart, const std::string& name);
    BOOL SetTemplateByNumber(HWND chart, int32_t number);
    void SetTemplateByName(HWND chart, const std::string& name);

    // Navigation and keys.
    BOOL Zoom(HWND chart, bool in);
    void StepByStep(HWND chart);
    BOOL DeselectObjects(HWND chart);
    void SetBar(HWND chart, int32_t time);
    BOOL ChartKeyDown(HWND chart, int32_t key);
    BOOL ChartKeyUp(HWND chart, int32_t key);
    void ChartHotKeys(HWND chart, int32_t key, int32_t modifier);

    // The chart's command line.
    BOOL IsCmd(HWND chart);
    BOOL IsVisibleCmd(HWND chart);
    HWND OpenCmd(HWND chart);
    HWND CreatCmd(HWND chart);
    void CloseCmd(HWND chart);
    void WriteCmd(HWND chart, const std::string& text);
    void ClearCmd(HWND chart);
    std::string ReadCmd(HWND chart);
    void SetToolChartPeriod(HWND chart, const std::string& symbol, int32_t minutes);
    void SetToolChartNumberPeriod(HWND chart, const std::string& symbol, WORD index);
    void SetToolChartNamePeriod(HWND chart, const std::string& symbol, const std::string& name);

    // Offline and deleted charts.
    HWND OpenOfflineChart(const std::string& symbol, const std::string& period);
    HWND OpenDeletetChart(int32_t number);

    // The terminal's top-level dialogs ("#32770") whose title passes the test.
    std::vector<HWND> Dialogs(Utils::Windows::Match titleMatch, const std::string& title) const;
    // The first such dialog that is not among `before` (taken before the
    // command that opens it was sent), polled every 50 ms: a dialog left open
    // by another program or by the user is never taken for the new one.
    // Throws `timeout` when none came within Utils::Wait::DialogBound.
    HWND WaitForDialog(Utils::Windows::Match titleMatch, const std::string& title,
        const std::vector<HWND>& before, const char* timeout) const;
    // The topmost chart that is not among `before` (taken before the command
    // that opens it), waited for within Utils::Wait::DialogBound; null when
    // none came.
    HWND WaitForNewChart(const std::vector<HWND>& before) const;
    // Returns once the window has gone; throws `timeout` when it is still
    // there after Utils::Wait::DialogBound.
    static void WaitUntilGone(HWND window, const char* timeout);

    // --- programs on charts ------------------------------------------------
    // Attach a program by name: the internal message with the kind's code and
    // the name, then the parameters dialog, confirmed with OK when `confirm`.
    // 1 when the terminal accepted the request, else 0.
    int LoadStdIndicator(HWND chart, const char* name, bool confirm);
    int LoadExpert(HWND chart, const char* name, bool confirm);
    int LoadCustomIndicator(HWND chart, const char* name, bool confirm);
    int LoadScript(HWND chart, const char* name, bool confirm);
    BOOL DeleteExpert(HWND chart);
    BOOL DeleteScript(HWND chart);
    BOOL PropertiesExpert(HWND chart);
    void SetExperts();
    // Answers the terminal's question about stopping an expert or removing a
    // script: Yes or No; the question's window, or null when there is none.
    HWND DialogScript(bool yes);
    // Opens the indicator list of the chart and leaves it open.
    HWND ListIndicators(HWND chart);
    // With the chart held active (the hold is the caller's until the list has
    // gone): opens the active chart's indicator list and returns it.
    HWND OpenIndicatorList();
    // The indicators of one window of the chart (-1 all, 0 the main chart, N
    // sub-window N): how many there are; the first `size` go into `names`.
    uint16_t GetNamesIndicators(HWND chart, int32_t window, const StringArray& names, int32_t size);
    // Queues the removal of the indicators whose lines begin with one of the
    // names; one worker serves the queue in order.
    void DeleteIndicatorsByName(HWND chart, int32_t window, const StringArray& names, int32_t number);
    // Make the chart's expert, or its indicators, run once.
    void TickExpert(HWND chart);
    void TickIndicators(HWND chart);

    // --- Market Watch --------------------------------------------------------
    // The Market Watch list (its first column holds the symbols).
    HWND MarketWatchList() { return Control(Text(Name::MarketWatch)); }
    // Copies the symbols into the caller's `size` elements, each cut to its
    // capacity; -> how many elements were written.
    int32_t GetAllSymbols(const StringArray& array, int32_t size);
    // The first row whose symbol begins with `symbol`, or -1.
    int16_t LineBySymbol(const std::string& symbol);
    std::string SymbolByLine(uint16_t row);
    // Selects the row, has the terminal open a chart for it and returns the
    // new chart window; `symbol` receives the row's symbol.
    HWND OpenChartByNumber(uint16_t row, std::string& symbol);
    // The quotes loader's form: a negative row is refused.
    HWND OpenChartByNumber(int32_t row, std::string& symbol);
    // The same for the row whose symbol equals `symbol`; a timeframe name that
    // is not empty is set on the new chart.
    HWND OpenChartByName(const std::string& symbol, const std::string& timeframe);

    // --- mailbox ---------------------------------------------------------------
    // The Mailbox tab's list (columns time, from, subject).
    HWND MailboxList() { return Control(Text(Name::TerminalMailbox)); }
    uint32_t MailboxSize();
    std::string MailboxGetStringTime(uint32_t line);
    uint32_t MailboxGetTime(uint32_t line);
    std::string MailboxGetFrom(uint32_t line);
    std::string MailboxGetTheme(uint32_t line);
    // The first line from `start` (at most `count` lines; all when negative)
    // whose time begins with `time`, whose sender contains `from` and whose
    // subject contains `theme`; -1 when none does.
    int32_t MailboxGetLine(const std::string& time, const std::string& from, const std::string& theme,
        uint32_t start, int32_t count);
    // Opens the message of the line; -> its window, or null when none is found.
    HWND MailboxOpen(uint32_t line);
    bool MailboxDelete(uint32_t line);
    // Posts WM_CLOSE to every top-level window whose title begins with `name`.
    bool MailboxCloseByName(const std::string& name);
    std::string MailboxReadHTML(HWND message);
    std::string MailboxReadText(HWND message);

    // --- what start-up found ------------------------------------------------
    DWORD ProcessId() const { return m_processId; }
    const std::string& ExecutablePathText() const { return m_executablePath; }
    const std::string& Directory() const { return m_directory; }
    UINT InternalMessage() const { return m_internalMessage; }
    HWND MainWindow() const { return m_mainWindow; }
    // The main window as the target of a command: refused with a box when
    // start-up did not find it, as a post to no window lands in the caller's
    // own queue and would count as done.
    HWND MainTarget() const;
    // The detail of a worker's start before the library's start-up gave it a model.
    static constexpr const char* NoModel = "Не выполнен запуск библиотеки.";
    static constexpr const char* NoMainWindow =
        "Ошибка в методе \"MT4::Windows::HandleMetaTrader()\".\nНе получен системный дескриптор окна МТ4.";
    HWND ChartArea() const { return m_chartArea; }
    HWND StandardDock() const { return m_standardDock; }
    Language GetLanguage() const { return m_language; }
    const std::string& Text(Name name) const { return m_names[static_cast<int>(name)]; }
    // Handles by localized name; a name never stored gives null.
    HWND Panel(const std::string& name) const { return Lookup(m_panels, name); }
    HWND Control(const std::string& name) const { return Lookup(m_controls, name); }
    const TabList& TerminalTabs() const { return m_terminalTabs; }
    const TabList& TesterTabs() const { return m_testerTabs; }
    const TabList& OptionsTabs() const { return m_optionsTabs; }
    Utils::Sync::Mutex& GetMutex(MutexId id) { return m_mutexes[id]; }

private:
    // The request and dialog search shared by the four loads; `search`: look
    // for the parameters dialog also without `confirm`.
    int Load(const char* method, WPARAM code, const std::string& title, HWND chart, const char* name, bool confirm,
        bool search);
    void Clear();
    void CreateMutexes();
    HWND HandlePanel(Name name, const char* method, int controlId);
    HWND HandleInnerControl(Name panel, int controlId, const char* error);
    HWND OpenChartAt(const char* method, uint32_t row, std::string& symbol);
    HWND NewChart(const char* method);
    // The mailbox list, after the line was checked against its count.
    HWND MailboxLine(const char* method, uint32_t line, bool withNumber = true);
    HWND MailboxBrowser(HWND message);
    // Posts the command that opens a dialog and waits, bounded, for the
    // dialog titled `name` (exactly or as a prefix) to appear.
    HWND OpenDialog(const char* method, UINT command, Name name, bool titlePrefix);
    HWND FindLoginDialog() const;
    // With the active-chart mutex held: the chart's Properties on a page.
    PropertiesDialog OpenProperties(HWND chart, WORD page);
    // The check-box routine of the Get and Set operations of the settings.
    int ChartCheckBox(int id, HWND chart, const char* method, bool change, bool checked);
    // Presses OK and returns once the dialog has gone.
    static void CloseProperties(HWND dialog);
    // Writes "SYMBOL,PERIOD" into the chart's command line and carries it out.
    void ToolChart(HWND chart, const std::string& symbol, DWORD minutes);
    // A lookup never inserts: the model is read by many threads at once.
    static HWND Lookup(const std::map<std::string, HWND>& handles, const std::string& name)
    {
        const auto found = handles.find(name);
        return found == handles.end() ? nullptr : found->second;
    }
    // Up to 600 attempts 100 ms apart while `find` gives null; then throws `error`.
    template <class Find>
    static HWND WaitForHandle(Find&& find, const char* error);

    DWORD m_processId = 0;
    std::string m_processIdText;
    std::string m_executablePath;
    std::string m_directory;
    UINT m_internalMessage = 0;
    HWND m_mainWindow = nullptr;
    HWND m_chartArea = nullptr;
    HWND m_standardDock = nullptr;
    Language m_language = Language::None;
    std::string m_names[NameCount];
    std::map<std::string, HWND> m_panels;
    std::map<std::string, HWND> m_controls;
    TabList m_terminalTabs;
    TabList m_testerTabs;
    TabList m_optionsTabs;
    Utils::Sync::Mutex m_mutexes[MutexCount];
};

template <class Find>
HWND Windows::WaitForHandle(Find&& find, const char* error)
{
    HWND window = Utils::Wait::Retry(600, 100, find);
    if (!window)
        throw error;
    return window;
}

}  // namespace MT4
