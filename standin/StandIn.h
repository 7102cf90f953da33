#pragma once
// The stand-in terminal: a real Win32 program that recreates the trading
// terminal's window structure (classes, control ids, titles) and reacts to
// the commands and messages the library sends, as the terminal would. It runs
// in-process on its own UI thread (StandIn::Terminal) or as standin.exe in a
// process of its own. It keeps a journal of everything it received.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace StandIn {

enum class Language { Russian, English, None };
enum class Placement { Docked, Floating, Absent };  // Absent: a build without that panel
enum class PanelId { DataWindow, MarketWatch, Navigator, Terminal, Tester, Count };
enum class ToolbarId { Standard, Charts, LineStudies, Periodicity, Count };

// A chart's tick handler that does not return until its time is changed or
// the terminal ends (TickBoard::SetDelay, Scenario::tickDelays).
inline constexpr int TickHung = -1;

// The check boxes of the Common page of a chart's Properties, in the order
// of their control ids (1248, 1251, 1252, 1253, 1257 … 1264).
enum class ChartSetting {
    Ask,
    ObjectDescriptions,
    Foreground,
    Grid,
    Offline,
    Ohlc,
    ScaleFix,
    ScaleFix1To1,
    AutoScroll,
    PeriodSeparators,
    Shift,
    Volume,
    Count
};

// A chart: what the scenario opens, and what the chart holds while it is open.
struct ChartSpec {
    std::string symbol;  // "EURUSD"
    int period = 0;      // minutes: 1, 5, 15, 30, 60, 240, 1440, 10080, 43200
    // By ChartSetting; a new chart shows its grid and scrolls automatically.
    bool settings[static_cast<int>(ChartSetting::Count)]
        = { false, false, false, true, false, false, false, false, true, false, false, false };
    int view = 1;                 // price display: 0 bars, 1 candlesticks, 2 line
    std::string fixedMaximum {};  // the fixed-scale edits 1255 and 1256, as the user left them
    std::string fixedMinimum {};
    std::string templateName {};  // the template applied last, empty when none
    int zoom = 2;                 // 0 (farthest) to 5 (closest)
    int steps = 0;                // one-bar steps taken
    long scrollTime = 0;          // the time the chart was last scrolled to
    bool Setting(ChartSetting setting) const { return settings[static_cast<int>(setting)]; }
};

// The programs on a chart: its expert, its script, and the indicators of the
// main chart (window 0) and of each sub-window (1, 2, ...).
struct ChartPrograms {
    std::string expert {};
    std::string script {};
    std::vector<std::vector<std::string>> windows { {} };
    bool operator==(const ChartPrograms&) const = default;
};

// What a script does when it runs. A script the scenario gives an action has
// no inputs: the terminal runs it as soon as it takes the load request, on a
// thread of its own that knows the chart's handle. Sensor: after `delayMs` it
// calls VelmorSensorLoadQuotes with its chart's handle, taken from
// RazozazER4.dll by name as an MQL4 program imports it, and ends. Never: it
// works until it is removed or its chart closes, and calls nothing. Fail: it
// stops at once on an error of its own, calling nothing.
struct ScriptSpec {
    enum Action { Sensor, Never, Fail };
    std::string name;
    Action action = Sensor;
    DWORD delayMs = 0;
};

// A script that started: on which chart, and what the chart showed then.
struct ScriptRun {
    HWND view;
    std::string script;
    std::string symbol;
    int period;
    bool operator==(const ScriptRun&) const = default;
};

// A Market Watch row as the list shows it.
struct QuoteSpec {
    std::string symbol;
    std::string bid;
    std::string ask;
};

// A message of the mailbox: its line in the list and what its window shows.
struct MessageSpec {
    std::string time;     // as the list shows it: "2012.03.05 14:07"
    std::string from;
    std::string subject;  // also the title of the message's window
    std::string body;     // the HTML markup of the page's body
};

struct Scenario {
    Language language = Language::English;
    Placement placement[static_cast<int>(PanelId::Count)] = {};  // all docked
    int terminalLists = 7;                                       // list views in the Terminal panel
    std::vector<ChartSpec> charts = { { "EURUSD", 60 }, { "GBPUSD", 240 }, { "USDJPY", 1440 } };
    std::string account = "12345678";
    std::string server = "MetaQuotes-Demo";
    // A terminal of build 600 and later that keeps its data in a data folder:
    // the server's history goes to DataFolder(<its folder>)\history\<server>\,
    // with an origin.txt naming its folder, and nothing to its own folder;
    // unless it was started with /portable (its own folder, as by default).
    bool dataFolder = false;
    // Market Watch rows (columns Symbol, Bid, Ask), in list order.
    std::vector<QuoteSpec> marketWatch = { { "EURUSD", "1.08650", "1.08662" }, { "GBPUSD", "1.26710", "1.26725" },
        { "USDJPY", "149.520", "149.535" }, { "USDCHF", "0.88120", "0.88135" }, { "AUDUSD", "0.65480", "0.65495" } };
    // The programs the Navigator shows under its nodes (the account is shown
    // under Accounts).
    std::vector<std::string> indicators = { "Moving Average", "MACD", "Relative Strength Index" };
    std::vector<std::string> experts = { "MACD Sample", "Moving Average" };
    std::vector<std::string> customIndicators = { "Heiken Ashi", "ZigZag" };
    std::vector<std::string> scripts = { "PeriodConverter" };
    // The Mailbox tab's messages, top line first.
    std::vector<MessageSpec> mailbox = {
        { "2012.03.05 14:07", "MetaQuotes Software Corp.", "Welcome!",
            "<p>Welcome to the <b>trading terminal</b>.</p><p>Your demo account is ready.</p>" },
        { "2012.03.06 09:30", "Служба поддержки", "Ваш счёт открыт",
            "<p>Здравствуйте!<br>Ваш счёт <b>12345678</b> открыт.</p>" },
        { "2012.03.07 18:45", "Risk Desk", "Margin level  ",
            "<div>Margin level:  150&nbsp;%</div><div>&lt;EURUSD&gt; &amp; &#x4E16;&#8230;</div>" },
    };
    // Commands the terminal journals but does not carry out (a dialog that
    // never opens, a panel that does not toggle).
    std::vector<UINT> ignoredCommands;
    // A terminal that answers nothing: every command and internal message is
    // journaled and nothing more (no dialog shows, no chart changes).
    bool silent = false;
    // A terminal whose interface thread is busy: after each command or
    // internal message it journals, the thread does nothing else for busyMs.
    DWORD busyMs = 0;
    // A terminal that reacts late: the window a command opens (a chart's
    // Properties, the indicator list, a chart from Market Watch) comes lagMs
    // after the command, not inside its handler. Every scenario starts with
    // the value of the environment variable RAZ_STANDIN_LAG_MS (0 unset), so
    // that a whole suite can run once against a late terminal.
    DWORD lagMs = LagFromEnvironment();
    static DWORD LagFromEnvironment();
    // The captions of the Options dialog's eight pages; empty: the language's own.
    std::vector<std::string> optionsPages;
    // The programs on the charts, by chart in scenario order (a chart beyond
    // the list has none); the standard indicators that draw in a sub-window of
    // their own; whether removing the expert or the script, or deleting a
    // mailbox message, asks the user first.
    std::vector<ChartPrograms> programs;
    std::vector<std::string> ownWindowIndicators = { "MACD", "Relative Strength Index" };
    bool askRemoval = false;
    // Scripts that run without a parameters dialog, and what each does (its
    // name also counts as a script the Navigator shows).
    std::vector<ScriptSpec> scriptActions;
    // The template list (template n is entry n), the rows of the offline
    // dialog and the recently deleted charts (entry n reopens with 35000 + n).
    std::vector<std::string> templates = { "ADX", "Bollinger Band", "Momentum", "default" };
    std::vector<ChartSpec> offlineCharts = { { "EURUSD", 60 }, { "GBPUSD", 1440 } };
    std::vector<ChartSpec> deletedCharts = { { "AUDUSD", 60 }, { "USDCHF", 15 } };
    // By chart in scenario order: the ms the chart takes to handle one tick
    // (the indicators' command or the expert's message), or TickHung; a chart
    // beyond the list handles its ticks at once.
    std::vector<int> tickDelays;

    // Named scenarios: "english", "russian", "none" (titles in neither
    // language), "floating" (English, every panel floating), "six-lists"
    // (English, six Terminal lists), "no-charts" (English, no chart),
    // "many-symbols" (English, 5,000 Market Watch rows "S0000" … "S4999").
    static Scenario Named(const std::string& name);
    // A file of "key = value" lines (language, placement.<panel>,
    // terminalLists, chart = SYMBOL,PERIOD (repeatable), account, server,
    // datafolder = yes | no,
    // symbol = SYMBOL,BID,ASK, indicator, expert, customindicator and script =
    // NAME (each repeatable)).
    // Values: language = russian | english | none; <panel> = datawindow,
    // marketwatch, navigator, terminal or tester, = docked | floating | absent. The
    // first chart line replaces the default charts; "chart =" alone leaves
    // none (so for every repeatable key). Blank lines and lines starting with
    // '#' are skipped; a wrong line throws std::runtime_error naming the file
    // and line.
    static Scenario FromFile(const std::string& path);
};

// The data folder a terminal installed in `installFolder` (with its final
// "\\") keeps: "%APPDATA%\\MetaQuotes\\Terminal\\<32 hex digits of the
// folder's path>\\".
std::string DataFolder(const std::string& installFolder);

// One thing the stand-in received, in the order received.
struct Event {
    enum Kind {
        Command,   // WM_COMMAND: wParam = command id
        Internal,  // the registered "MetaTrader4_Internal_Message": wParam, lParam
        Key,       // WM_KEYDOWN / WM_KEYUP / WM_SYSKEYDOWN / WM_SYSKEYUP / WM_CHAR; Enter in a
                   // chart's command line: text = the line carried out
        Mouse,     // WM_MOUSEACTIVATE / WM_LBUTTONDOWN / WM_LBUTTONUP / WM_LBUTTONDBLCLK
        Title,     // the main window's title changed: text = the new title
        Close,     // WM_CLOSE to the main window or to a message window
        Show,      // the main window's show state changed: wParam = SW_* value seen by the window
        Activate,  // a chart frame became the active MDI child: window = its chart view
        Dialog,    // a dialog of the terminal did what it was asked: window = the dialog, text = what
    };
    Kind kind;
    HWND window;  // the window that received it
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;
    DWORD thread;  // the thread it arrived on

    bool operator==(const Event& other) const;
};

std::string Describe(const Event& event);  // one readable line, for test output and the tour
// How the journal shows a password: a fingerprint of it, never the text itself.
std::string Fingerprint(const std::string& secret);
std::ostream& operator<<(std::ostream& out, const Event& event);  // Describe

class Journal {
public:
    void Add(const Event& event);
    std::vector<Event> Take();  // everything since the last Take, in order
    void Clear();
    // Waits until `done` holds for the events not yet taken, at most timeoutMs.
    bool WaitFor(const std::function<bool(const std::vector<Event>&)>& done, DWORD timeoutMs);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Event> m_events;
};

// The tick signals the charts received (the indicators' command 33324 and the
// internal message with wParam 2 and lParam 1), counted per chart with the
// threads they arrived on, and the time each chart takes to handle one.
// Thread-safe: read and changed from any thread, also while the terminal's
// thread is inside a slow or hung handler.
class TickBoard {
public:
    struct Count {
        size_t indicators = 0;
        size_t expert = 0;
        std::map<DWORD, size_t> threads;  // ticks by the thread they arrived on
        // Ticks at whose end another thread's send to the terminal's thread
        // was waiting to be delivered.
        size_t sendsWaiting = 0;
    };
    Count Of(HWND view);
    // The ms the chart takes per tick from now on: 0 at once, TickHung never
    // (a handler hung now returns once this is anything else).
    void SetDelay(HWND view, int ms);
    // The chart's handler: counts the tick, then takes the chart's time.
    void Handle(HWND view, bool expert);
    // The terminal ends: hung handlers return.
    void End();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<HWND, Count> m_counts;
    std::map<HWND, int> m_delays;
    bool m_ended = false;
};

// The windows of a running stand-in, as the terminal builds them.
struct Windows {
    HWND main = nullptr;          // "MetaQuotes::MetaTrader::4.00"
    HWND chartArea = nullptr;     // MDI client, id 0xE900
    HWND standardDock = nullptr;  // the top dock bar, id 0xE81B
    HWND panel[static_cast<int>(PanelId::Count)] = {};         // content windows 0x54, 0x50, 0x52, 0x51, 0x53
    HWND floatingFrame[static_cast<int>(PanelId::Count)] = {};  // top-level frame of a floating panel, else null
    HWND toolbar[static_cast<int>(ToolbarId::Count)] = {};
    HWND dataWindowList = nullptr;   // 0x8A73
    HWND marketWatchList = nullptr;  // 0x8A71
    HWND navigatorTree = nullptr;    // 0x8A6F
    HWND terminalTabs = nullptr;     // 0x471
    HWND testerTabs = nullptr;       // 0x471 in the Tester panel
    // The Terminal panel's list views, list i for tab i, in creation order,
    // which is also the order in which EnumChildWindows finds them.
    std::vector<HWND> terminalLists;
    std::vector<HWND> chartViews;     // chart views ("AfxFrameOrView..." id 0xE900), in scenario order
    std::vector<HWND> chartFrames;    // their MDI child frames
};

// A stand-in terminal on its own UI thread in this process.
class Terminal {
public:
    // Returns when every window exists, with the journal empty; throws
    // std::runtime_error when the windows cannot be built.
    explicit Terminal(const Scenario& scenario = Scenario());
    ~Terminal();  // releases hung tick handlers, destroys the windows (if WM_CLOSE has not already) and ends the UI thread
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    const Windows& Handles() const;
    Journal& Log();
    TickBoard& Ticks();
    DWORD UiThread() const;
    // Runs `work` on the UI thread and returns when it is done; an exception
    // it throws is rethrown here. Does nothing once the UI thread has ended.
    void OnUiThread(const std::function<void()>& work);
    // True once the main window has been destroyed (after WM_CLOSE).
    bool Closed() const;
    // The programs on the chart of this view (none for any other window);
    // whether experts may trade.
    ChartPrograms Programs(HWND view);
    bool ExpertsEnabled();
    // What the chart of this view holds now; throws std::runtime_error when
    // the view is no open chart.
    ChartSpec Chart(HWND view);
    // Every script that started, in order.
    std::vector<ScriptRun> ScriptRuns();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace StandIn
