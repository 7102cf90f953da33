// The tour: a stand-in terminal in this process, RazozazER4.dll loaded by
// name as the terminal loads it for the programs that import it, and every
// export built so far called once. Prints one table per family: export,
// arguments, result, what the terminal received. Saves a screenshot of the
// terminal, one of a dialog (the error box a failing export shows) and one
// of the Options dialog the library opened.
//
//   tour.exe [scenario] [terminal.png] [dialog.png] [options.png]
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <thread>
#include <string>
#include <type_traits>

#include "Screenshot.h"
#include "StandIn.h"

namespace {

class Tour {
public:
    Tour(StandIn::Terminal& terminal, HMODULE library) : m_terminal(terminal), m_library(library) {}

    template <class F>
    F Get(const char* name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m_library, name)));
    }

    // One row: runs `call`, which returns the result as text, then lists what
    // the terminal received meanwhile.
    void Row(const std::string& name, const std::string& arguments, const std::function<std::string()>& call)
    {
        m_terminal.Log().Clear();
        const std::string result = call();
        Sleep(50);  // posted messages reach the terminal's thread
        std::printf("%-28s %-14s %-34s", name.c_str(), arguments.c_str(), result.c_str());
        const std::vector<StandIn::Event> events = m_terminal.Log().Take();
        if (events.empty())
            std::printf(" -\n");
        for (size_t i = 0; i < events.size(); ++i)
            std::printf("%s%s\n", i ? "                                                                              " : " ",
                StandIn::Describe(events[i]).c_str());
    }

    // Starts the table of one family.
    void Family(const char* title)
    {
        std::printf("\n== %s\n%-28s %-14s %-34s %s\n", title, "export", "arguments", "result",
            "the terminal received");
    }

    // Runs `call`, which must fail: saves a screenshot of the error box it
    // shows (captioned `caption`), closes the box and returns its text.
    std::string ErrorBox(const char* caption, const std::string& screenshot, const std::function<void()>& call)
    {
        std::string line = "(no box)";
        std::thread watcher([&] {
            for (int i = 0; i < 200; ++i) {  // at most 10 s
                HWND box = FindWindowA("#32770", caption);
                if (box) {
                    Sleep(300);  // drawn
                    m_dialogSaved = SaveWindowPng(box, screenshot);
                    char text[512] = {};
                    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                    line = text;  // on one line
                    for (char& c : line)
                        c = c == '\n' ? ' ' : c;
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                    return;
                }
                Sleep(50);
            }
        });
        call();
        watcher.join();
        return "box: " + line;
    }

    bool DialogSaved() const { return m_dialogSaved; }

    void Int(const char* name)
    {
        Row(name, "", [&] { return Hex(Get<int32_t(WINAPI*)()>(name)()); });
    }

    void Text(const char* name)
    {
        Row(name, "", [&] {
            const char* text = Get<const char*(WINAPI*)()>(name)();
            // Appended, not prepended: the i686 compiler warns falsely (-Wrestrict) on "\"" + string.
            return text ? std::string(1, '"').append(text).append(1, '"') : std::string("null");
        });
    }

    void VoidOfInt(const char* name, int32_t argument)
    {
        Row(name, Hex(argument), [&] {
            Get<void(WINAPI*)(int32_t)>(name)(argument);
            return std::string("-");
        });
    }

    void Void(const char* name)
    {
        Row(name, "", [&] {
            Get<void(WINAPI*)()>(name)();
            return std::string("-");
        });
    }

    void VoidOfText(const char* name, const char* argument)
    {
        Row(name, Quote(argument), [&] {
            Get<void(WINAPI*)(const char*)>(name)(argument);
            return std::string("-");
        });
    }

    // One row for an export of type F called with `args`; `arguments` shows them.
    template <class F, class... A>
    void Call(const char* name, const std::string& arguments, A... args)
    {
        Row(name, arguments, [&] {
            using R = std::invoke_result_t<F, A...>;
            if constexpr (std::is_void_v<R>) {
                Get<F>(name)(args...);
                return std::string("-");
            } else if constexpr (std::is_same_v<R, const wchar_t*>) {
                return Wide(Get<F>(name)(args...));
            } else if constexpr (std::is_pointer_v<R>) {
                const char* text = Get<F>(name)(args...);
                return std::string(1, '"').append(text ? text : "").append(1, '"');
            } else {
                return Hex(Get<F>(name)(args...));
            }
        });
    }

    // A returned text as the table shows it: quoted, line breaks as "/".
    static std::string Quote(const char* text)
    {
        if (!text)
            return "null";
        std::string shown(1, '"');
        for (const char* c = text; *c; ++c)
            if (*c != '\r')
                shown += *c == '\n' ? '/' : *c;
        return shown.append(1, '"');
    }

    // A wide text as the table shows it: L"…", in this process's code page.
    static std::string Wide(const wchar_t* text)
    {
        if (!text)
            return "null";
        const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
        std::string ansi(size > 0 ? static_cast<size_t>(size) : 1, '\0');
        WideCharToMultiByte(CP_ACP, 0, text, -1, ansi.data(), size, nullptr, nullptr);
        return "L" + Quote(ansi.c_str());
    }

    static std::string Hex(int32_t value)
    {
        char text[32];
        std::snprintf(text, sizeof text, value >= 0 && value < 100000 ? "%ld" : "0x%lX", static_cast<long>(value));
        return text;
    }

private:
    StandIn::Terminal& m_terminal;
    HMODULE m_library;
    bool m_dialogSaved = false;
};

// A dialog the library opened: its handle and title; closed again with
// Cancel, after a screenshot when one is asked for.
std::string ShowDialog(int32_t handle, const std::string& screenshot = std::string())
{
    HWND dialog = reinterpret_cast<HWND>(static_cast<INT_PTR>(handle));
    char title[128] = "";
    GetWindowTextA(dialog, title, sizeof title);
    bool saved = true;
    if (!screenshot.empty()) {
        Sleep(300);  // drawn
        saved = SaveWindowPng(dialog, screenshot);
    }
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 200 && IsWindow(dialog); ++i)
        Sleep(10);
    return Tour::Hex(handle) + " " + Tour::Quote(title) + (saved ? "" : " (screenshot not saved)");
}

// Panels, Terminal tabs, the dialogs, login and the account-number masking.
void PanelsAndDialogs(Tour& tour, const std::string& optionsShot)
{
    tour.Family("Panels and terminal dialogs");
    tour.Void("VelmorHideTester");
    tour.Int("VelmorIsVisibleTester");
    tour.Void("VelmorHideNavigator");
    tour.Void("VelmorShowNavigator");
    tour.Void("VelmorShowNavigator");
    tour.Int("VelmorIsVisibleNavigator");
    for (const char* panel : { "Terminal", "DataWindow", "MarketWatch" }) {
        tour.Void(("VelmorHide" + std::string(panel)).c_str());
        tour.Int(("VelmorIsVisible" + std::string(panel)).c_str());
        tour.Void(("VelmorShow" + std::string(panel)).c_str());
    }
    tour.Void("VelmorShowTester");
    tour.Row("VelmorOpenOptions", "4", [&] {
        return ShowDialog(tour.Get<int32_t(WINAPI*)(int32_t)>("VelmorOpenOptions")(4), optionsShot);
    });
    tour.Row("VelmorOpenHistoryCenter", "", [&] {
        return ShowDialog(tour.Get<int32_t(WINAPI*)()>("VelmorOpenHistoryCenter")());
    });
    tour.Row("VelmorOpenGlobalVariables", "", [&] {
        return ShowDialog(tour.Get<int32_t(WINAPI*)()>("VelmorOpenGlobalVariables")());
    });

    tour.Family("Terminal tabs");
    tour.VoidOfInt("VelmorSetTerminalTabByNumber", 4);
    tour.VoidOfText("VelmorSetTerminalTabByName", "Jornal");
    tour.Call<void(WINAPI*)(const wchar_t*)>("VelmorSetTerminalTabByNameW", "L\"Mailbox\"", L"Mailbox");

    tour.Family("Login and trade servers");
    tour.Text("VelmorGetNameServer");
    tour.Call<const wchar_t*(WINAPI*)()>("VelmorGetNameServerW", "");
    tour.Int("VelmorRescanServers");
    auto login = [&](int32_t account, const char* server) {
        tour.Row("VelmorLogin", Tour::Hex(account) + ", \"****\", " + Tour::Quote(server) + ", 1", [&] {
            tour.Get<void(WINAPI*)(int32_t, const char*, const char*, int32_t)>("VelmorLogin")(
                account, "s3cret", server, 1);
            return std::string("-");
        });
    };
    login(87654321, "Broker-Live");

    tour.Family("Account number masking");
    tour.VoidOfInt("VelmorSetAccountNumber", 777);
    tour.Int("VelmorRescanServers");
    login(12345678, "MetaQuotes-Demo");
}

int32_t Id(HWND window)
{
    return static_cast<int32_t>(reinterpret_cast<INT_PTR>(window));
}

// The chart families, on the scenario's three charts.
void ChartsTour(Tour& tour, StandIn::Terminal& terminal)
{
    using Int0 = int32_t(WINAPI*)();
    using Int1 = int32_t(WINAPI*)(int32_t);
    using Int2 = int32_t(WINAPI*)(int32_t, int32_t);
    using Void1 = void(WINAPI*)(int32_t);
    using Void2 = void(WINAPI*)(int32_t, int32_t);
    using VoidText = void(WINAPI*)(int32_t, const char*);
    const std::vector<HWND>& views = terminal.Handles().chartViews;
    const int32_t eurusd = Id(views.at(0)), gbpusd = Id(views.at(1)), usdjpy = Id(views.at(2));

    tour.Family("Charts");
    tour.Call<Int0>("VelmorNumberCharts", "");
    tour.Row("VelmorGetAllHandlesCharts", "array, 8", [&] {
        int32_t handles[8] = {};
        const int32_t first = tour.Get<int32_t(WINAPI*)(int32_t*, uint32_t)>("VelmorGetAllHandlesCharts")(handles, 8);
        return Tour::Hex(first) + " [" + Tour::Hex(handles[0]) + " " + Tour::Hex(handles[1]) + " "
            + Tour::Hex(handles[2]) + " " + Tour::Hex(handles[3]) + "]";
    });
    tour.Call<Int1>("VelmorIsChart", "EURUSD,H1", eurusd);
    tour.Call<Void1>("VelmorSetActiveChart", "EURUSD,H1", eurusd);
    tour.Call<Int1>("VelmorIsChartActive", "EURUSD,H1", eurusd);

    tour.Family("Chart settings");
    const char* const settings[12] = { "ShowAsk", "ShowObjectDescript", "Foreground", "ShowGrid", "Offline",
        "ShowOHLC", "ScaleFix", "ScaleFix1To1", "AutoScroll", "ShowPeriodSeparators", "Shift", "ShowVolume" };
    const int32_t wanted[12] = { 1, 1, 0, 0, 0, 1, 0, 0, 1, 1, 1, 1 };
    for (const char* setting : settings)
        tour.Call<Int1>(("VelmorGet" + std::string(setting)).c_str(), "EURUSD,H1", eurusd);
    for (int i = 0; i < 12; ++i)
        tour.Call<Int2>(("VelmorSet" + std::string(settings[i])).c_str(), "EURUSD,H1, " + Tour::Hex(wanted[i]),
            eurusd, wanted[i]);
    for (const char* toggle : { "VelmorAutoScroll", "VelmorShift", "VelmorShowGrid", "VelmorShowVolume" })
        tour.Call<Int1>(toggle, "EURUSD,H1", eurusd);
    tour.Call<Int1>("VelmorGetViewChart", "EURUSD,H1", eurusd);
    tour.Call<Int2>("VelmorSetViewChart", "EURUSD,H1, 2", eurusd, 2);
    tour.Call<void(WINAPI*)(int32_t, double, double)>("VelmorSetScale", "EURUSD,H1, 1.1, 1.05", eurusd, 1.1, 1.05);
    tour.Row("VelmorOpenPropertiesChart", "EURUSD,H1, 1", [&] {
        const int32_t dialog = tour.Get<Int2>("VelmorOpenPropertiesChart")(eurusd, 1);
        char title[128] = "";
        HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(dialog));
        GetWindowTextA(window, title, sizeof title);
        SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);  // the caller closes it
        return Tour::Hex(dialog) + " \"" + title + "\"";
    });
    tour.Row("VelmorPropertiesChartCheckBox", "EURUSD,H1, read 1253 1264", [&] {
        int32_t entries[2][3] = { { 1253, 0, 0 }, { 1264, 0, 0 } };
        tour.Get<void(WINAPI*)(int32_t, int32_t, int32_t*, int32_t)>("VelmorPropertiesChartCheckBox")(
            eurusd, 0, &entries[0][0], 2);
        return "grid " + Tour::Hex(entries[0][1]) + ", volumes " + Tour::Hex(entries[1][1]);
    });

    tour.Family("Timeframes and templates");
    tour.Call<Void2>("VelmorSetTimeframeByNumber", "GBPUSD,H4, 6", gbpusd, 6);
    tour.Call<Void2>("VelmorSetTimeframeByPeriod", "GBPUSD,D1, 60", gbpusd, 60);
    tour.Call<VoidText>("VelmorSetTimeframeByName", "GBPUSD,H1, \"M15\"", gbpusd, "M15");
    tour.Call<void(WINAPI*)(int32_t, const wchar_t*)>("VelmorSetTimeframeByNameW", "GBPUSD,M15, L\"M15\"", gbpusd, L"M15");
    tour.Call<Int2>("VelmorSetTemplateByNumber", "GBPUSD,M15, 0", gbpusd, 0);
    tour.Call<VoidText>("VelmorSetTemplateByName", "GBPUSD,M15, \"Momentum\"", gbpusd, "Momentum");

    tour.Family("Chart navigation and keys");
    tour.Call<Int2>("VelmorZoom", "USDJPY,D1, 1", usdjpy, 1);
    tour.Call<Void1>("VelmorStepByStep", "USDJPY,D1", usdjpy);
    tour.Call<Int1>("VelmorDeselectObjects", "USDJPY,D1", usdjpy);
    tour.Call<Void2>("VelmorSetBar", "USDJPY,D1, 1700000000", usdjpy, 1700000000);
    tour.Call<Int2>("VelmorChartKeyDown", "USDJPY,D1, VK_LEFT", usdjpy, VK_LEFT);
    tour.Call<Int2>("VelmorChartKeyUp", "USDJPY,D1, VK_LEFT", usdjpy, VK_LEFT);
    tour.Call<void(WINAPI*)(int32_t, int32_t, int32_t)>(
        "VelmorChartHotKeys", "USDJPY,D1, VK_END, VK_CONTROL", usdjpy, VK_END, VK_CONTROL);

    tour.Family("Chart command line");
    tour.Call<Int1>("VelmorCreatCmd", "USDJPY,D1", usdjpy);
    tour.Call<Int1>("VelmorIsCmd", "USDJPY,D1", usdjpy);
    tour.Call<Int1>("VelmorOpenCmd", "USDJPY,D1", usdjpy);
    tour.Call<Int1>("VelmorIsVisibleCmd", "USDJPY,D1", usdjpy);
    tour.Call<VoidText>("VelmorWriteCmd", "USDJPY,D1, \"AUDUSD\"", usdjpy, "AUDUSD");
    tour.Call<const char*(WINAPI*)(int32_t)>("VelmorReadCmd", "USDJPY,D1", usdjpy);
    tour.Call<const wchar_t*(WINAPI*)(int32_t)>("VelmorReadCmdW", "USDJPY,D1", usdjpy);
    tour.Call<Void1>("VelmorClearCmd", "USDJPY,D1", usdjpy);
    tour.Call<Void1>("VelmorCloseCmd", "USDJPY,D1", usdjpy);
    using ToolChart = void(WINAPI*)(int32_t, const char*, int32_t);
    tour.Call<ToolChart>("VelmorSetToolChartPeriod", "USDJPY,D1, \"AUDUSD\", 240", usdjpy, "AUDUSD", 240);
    tour.Call<ToolChart>("VelmorSetToolChartNumberPeriod", "AUDUSD,H4, \"USDJPY\", 8", usdjpy, "USDJPY", 8);
    tour.Call<void(WINAPI*)(int32_t, const char*, const char*)>(
        "VelmorSetToolChartNamePeriod", "USDJPY,MN, \"USDJPY\", \"H1\"", usdjpy, "USDJPY", "H1");

    tour.Family("Offline and deleted charts");
    tour.Call<int32_t(WINAPI*)(const char*, const char*)>(
        "VelmorOpenOfflineChart", "\"GBPUSD\", \"D1\"", "GBPUSD", "D1");
    tour.Call<int32_t(WINAPI*)(const wchar_t*, const wchar_t*)>(
        "VelmorOpenOfflineChartW", "L\"EURUSD\", L\"H1\"", L"EURUSD", L"H1");
    int32_t reopened = 0;
    tour.Row("VelmorOpenDeletetChart", "0", [&] {
        reopened = tour.Get<Int1>("VelmorOpenDeletetChart")(0);
        return Tour::Hex(reopened);
    });
    tour.Call<Int1>("VelmorCloseChart", "AUDUSD,H1", reopened);
}

// Waits (at most 2 s) for a dialog of this process titled `title` and
// cancels it; tells what was found.
std::string CancelDialog(const char* title)
{
    for (int i = 0; i < 200; ++i) {
        if (HWND dialog = FindWindowA("#32770", title)) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return std::string("dialog \"") + title + "\" cancelled";
        }
        Sleep(10);
    }
    return std::string("no dialog \"") + title + "\"";
}

// Programs on the first two charts, their ticks and the refresh engine.
void ProgramsTour(Tour& tour, StandIn::Terminal& terminal)
{
    using Load = int32_t(WINAPI*)(int32_t, const char*, int32_t);
    using Int1 = int32_t(WINAPI*)(int32_t);
    using Void0 = void(WINAPI*)();
    using Void1 = void(WINAPI*)(int32_t);
    using Void2 = void(WINAPI*)(int32_t, int32_t);
    struct Element {  // an MQL4 string: capacity, then the caller's buffer
        int32_t capacity;
        char* text;
    };
    const std::vector<HWND>& views = terminal.Handles().chartViews;
    const int32_t eurusd = Id(views.at(0)), gbpusd = Id(views.at(1));

    tour.Family("Programs on charts");
    tour.Call<Load>("VelmorLoadExpert", "EURUSD,H1, \"MACD Sample\", 1", eurusd, "MACD Sample", 1);
    tour.Call<Load>("VelmorLoadStdIndicator", "EURUSD,H1, \"MACD\", 1", eurusd, "MACD", 1);
    tour.Call<Load>("VelmorLoadCustomIndicator", "EURUSD,H1, \"ZigZag\", 1", eurusd, "ZigZag", 1);
    tour.Call<Load>("VelmorLoadScript", "GBPUSD,H4, \"PeriodConverter\", 1", gbpusd, "PeriodConverter", 1);
    tour.Row("VelmorGetNamesIndicators", "EURUSD,H1, -1, array, 4", [&] {
        char buffers[4][32] = {};
        Element names[4];
        for (int i = 0; i < 4; ++i)
            names[i] = { 32, buffers[i] };
        const int32_t count = tour.Get<int32_t(WINAPI*)(int32_t, int32_t, Element*, int32_t)>(
            "VelmorGetNamesIndicators")(eurusd, -1, names, 4);
        std::string shown = Tour::Hex(count);
        for (int i = 0; i < count && i < 4; ++i)
            shown.append(i ? "," : ": ").append(buffers[i]);
        return shown;
    });
    tour.Row("VelmorGetNamesIndicatorsW", "EURUSD,H1, -1, array, 4", [&] {
        struct WideElement {  // a string of today's MQL4: capacity, the caller's buffer, reserved
            int32_t capacity;
            wchar_t* text;
            int32_t reserved;
        };
        wchar_t buffers[4][32] = {};
        WideElement names[4];
        for (int i = 0; i < 4; ++i)
            names[i] = { 32, buffers[i], 0 };
        const int32_t count = tour.Get<int32_t(WINAPI*)(int32_t, int32_t, WideElement*, int32_t)>(
            "VelmorGetNamesIndicatorsW")(eurusd, -1, names, 4);
        std::string shown = Tour::Hex(count);
        for (int i = 0; i < count && i < 4; ++i)
            shown.append(i ? "," : ": ").append(Tour::Wide(buffers[i]));
        return shown;
    });
    tour.Row("VelmorListIndicators", "EURUSD,H1", [&] {
        const int32_t dialog = tour.Get<Int1>("VelmorListIndicators")(eurusd);
        PostMessageA(reinterpret_cast<HWND>(static_cast<INT_PTR>(dialog)), WM_COMMAND, 1, 0);  // Close
        return Tour::Hex(dialog) + " (closed)";
    });
    tour.Row("VelmorDeleteIndicatorsByName", "EURUSD,H1, -1, \"Zig\"", [&] {
        char zig[] = "Zig";
        Element names[1] = { { 4, zig } };
        tour.Get<void(WINAPI*)(int32_t, int32_t, Element*, int32_t)>("VelmorDeleteIndicatorsByName")(
            eurusd, -1, names, 1);
        Sleep(1500);  // the removal runs on the library's own worker
        return std::string("-");
    });
    tour.Row("VelmorPropertiesExpert", "EURUSD,H1", [&] {
        const int32_t posted = tour.Get<Int1>("VelmorPropertiesExpert")(eurusd);
        return Tour::Hex(posted) + " " + CancelDialog("MACD Sample");
    });
    tour.Call<Int1>("VelmorDeleteExpert", "EURUSD,H1", eurusd);
    tour.Call<Int1>("VelmorDeleteScript", "GBPUSD,H4", gbpusd);
    tour.Call<Int1>("VelmorDialogScript", "1", 1);
    tour.Call<Void0>("VelmorSetExperts", "");
    tour.Call<Void0>("VelmorSetExperts", "");

    tour.Family("Ticks and chart refresh");
    tour.Call<Void1>("VelmorTickExpert", "EURUSD,H1", eurusd);
    tour.Call<Void1>("VelmorTickIndicators", "EURUSD,H1", eurusd);
    tour.Row("VelmorRefreshChart", "GBPUSD,H4, 2 (0.3 s)", [&] {
        tour.Get<Void2>("VelmorRefreshChart")(gbpusd, 2);
        Sleep(300);
        return std::string("-");
    });
    tour.Call<Void1>("VelmorStopRefreshChart", "GBPUSD,H4", gbpusd);
    tour.Row("VelmorRefreshAllCharts", "1 (0.15 s)", [&] {
        tour.Get<Void1>("VelmorRefreshAllCharts")(1);
        Sleep(150);
        return std::string("-");
    });
    tour.Call<Void1>("VelmorStopRefreshAllCharts", "1", 1);
    tour.Row("VelmorRefreshAllOnceCharts", "(0.3 s)", [&] {
        tour.Get<Void0>("VelmorRefreshAllOnceCharts")();
        Sleep(300);  // one pass over every chart, then the worker ends
        return std::string("-");
    });
    tour.Call<Void1>("VelmorStopRefreshAllCharts", "1", 1);
}

// The loader over the three Market Watch symbols: a run on M1 and M5 with a
// script that signals once it has its chart, then a run whose script never
// signals, steered by hand: the sensor called as the script would, a step
// skipped, the run stopped.
void LoaderTour(Tour& tour, StandIn::Terminal& terminal)
{
    using Loader = int32_t(WINAPI*)(int32_t, int32_t, const int32_t*, const char*);
    const int32_t m1AndM5[9] = { 1, 1, 0, 0, 0, 0, 0, 0, 0 };
    const int32_t m1[9] = { 1, 0, 0, 0, 0, 0, 0, 0, 0 };
    // The scripts that started during this family, the first `count` waited for.
    const size_t before = terminal.ScriptRuns().size();
    auto runs = [&](size_t count) {
        for (int i = 0; i < 300 && terminal.ScriptRuns().size() < before + count; ++i)
            Sleep(20);
        const std::vector<StandIn::ScriptRun> all = terminal.ScriptRuns();
        return std::vector<StandIn::ScriptRun>(all.begin() + static_cast<long>(before), all.end());
    };
    auto gone = [](HWND view) {
        for (int i = 0; i < 300 && IsWindow(view); ++i)
            Sleep(20);
        return IsWindow(view) ? std::string(", chart still open") : std::string(", chart closed");
    };
    // What the scripts saw from run `first` on; the Home keys and ticks of the
    // waits are left out of the table.
    auto seen = [&](size_t first) {
        std::string shown;
        const std::vector<StandIn::ScriptRun> all = runs(0);
        for (size_t i = first; i < all.size(); ++i)
            shown.append(" ").append(all[i].symbol).append(all[i].period == 1 ? ",M1" : ",M5");
        terminal.Log().Clear();
        return shown;
    };
    auto loader = [&](int32_t command, int32_t bySymbols, const int32_t* flags, const char* script) {
        return tour.Get<Loader>("VelmorLoaderQuotes")(command, bySymbols, flags, script);
    };

    tour.Family("History quotes loader");
    tour.Row("VelmorLoaderQuotes", "1, 1, M1 M5, \"QuotesSensor\"", [&] {
        const int32_t started = loader(1, 1, m1AndM5, "QuotesSensor");
        const std::vector<StandIn::ScriptRun> all = runs(6);
        const std::string closed = all.empty() ? std::string() : gone(all[0].view);
        return Tour::Hex(started) + "; scripts ran on" + seen(0) + closed;
    });
    HWND view = nullptr;
    tour.Row("VelmorLoaderQuotes", "1, 1, M1, \"NeverDone\"", [&] {
        const int32_t started = loader(1, 1, m1, "NeverDone");
        const std::vector<StandIn::ScriptRun> all = runs(7);
        view = all.size() == 7 ? all[6].view : nullptr;
        return Tour::Hex(started) + "; waiting on" + seen(6);
    });
    if (!view) {
        std::printf("(the loader's script did not start: the tour leaves the loader here)\n");
        return;
    }
    tour.Row("VelmorSensorLoadQuotes", "its chart", [&] {
        tour.Get<void(WINAPI*)(int32_t)>("VelmorSensorLoadQuotes")(Id(view));
        runs(8);
        return "-; next:" + seen(7);
    });
    tour.Row("VelmorLoaderQuotes", "0 (skip)", [&] {
        const int32_t running = loader(0, 1, m1, "NeverDone");
        runs(9);
        return Tour::Hex(running) + "; next:" + seen(8);
    });
    tour.Row("VelmorLoaderQuotes", "2 (stop)", [&] {
        const int32_t running = loader(2, 1, m1, "NeverDone");
        const std::string closed = gone(view);
        terminal.Log().Clear();
        return Tour::Hex(running) + closed;
    });
    tour.Call<int32_t(WINAPI*)(int32_t, int32_t, const int32_t*, const wchar_t*)>(
        "VelmorLoaderQuotesW", "2 (stop, no run), L\"NeverDone\"", 2, 1, m1, L"NeverDone");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string scenario = argc > 1 ? argv[1] : "english";
    const std::string screenshot = argc > 2 ? argv[2] : "standin.png";
    const std::string dialogShot = argc > 3 ? argv[3] : "dialog.png";
    const std::string optionsShot = argc > 4 ? argv[4] : "options.png";
    const ULONGLONG started = GetTickCount64();
    // Three Market Watch symbols (a short load) and the loader's scripts:
    // one that signals 50 ms after it starts, one that never does.
    StandIn::Scenario setup = StandIn::Scenario::Named(scenario);
    setup.marketWatch.resize(3);
    setup.scriptActions = { { "QuotesSensor", StandIn::ScriptSpec::Sensor, 50 },
        { "NeverDone", StandIn::ScriptSpec::Never, 0 } };
    StandIn::Terminal terminal(setup);
    HMODULE library = LoadLibraryA("RazozazER4.dll");
    if (!library) {
        std::printf("RazozazER4.dll not loaded (error %lu)\n", GetLastError());
        return 1;
    }
    const StandIn::Windows& handles = terminal.Handles();
    std::printf("stand-in terminal \"%s\" in process %lu, main window 0x%lX\n\n", scenario.c_str(),
        GetCurrentProcessId(), static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(handles.main)));

    Tour tour(terminal, library);
    tour.Family("Start-up");
    tour.VoidOfInt("VelmorInit", 0);
    tour.Family("Main window");
    tour.Int("VelmorHandleMT4");
    tour.Int("VelmorGetProcessId");
    tour.Int("VelmorGetLocalization");
    tour.VoidOfInt("VelmorMetaTraderKeyDown", 0x141);
    tour.Int("VelmorMetaTraderMaximize");
    tour.Int("VelmorMetaTraderMinimize");
    tour.Int("VelmorMetaTraderRestore");
    tour.Int("VelmorMetaTraderHide");
    tour.Int("VelmorMetaTraderShow");
    tour.VoidOfInt("VelmorMetaTraderTitle", 0);
    tour.VoidOfInt("VelmorMetaTraderTitle", 1);
    terminal.OnUiThread([&] {
        SetForegroundWindow(handles.main);
        SetFocus(handles.main);
    });
    tour.Row("VelmorMetaTraderHotKeys", "'S', VK_CONTROL", [&] {
        tour.Get<void(WINAPI*)(int32_t, int32_t)>("VelmorMetaTraderHotKeys")('S', VK_CONTROL);
        return std::string("-");
    });
    tour.Row("VelmorMetaTraderHotKeys", "'S', 0x41", [&] {
        return tour.ErrorBox("VelmorMetaTraderHotKeys()", dialogShot,
            [&] { tour.Get<void(WINAPI*)(int32_t, int32_t)>("VelmorMetaTraderHotKeys")('S', 0x41); });
    });

    tour.Family("Terminal paths");
    tour.Text("VelmorGetPathDirectoryMT4");
    tour.Text("VelmorGetPathServer");
    tour.Call<const wchar_t*(WINAPI*)()>("VelmorGetPathDirectoryMT4W", "");
    tour.Call<const wchar_t*(WINAPI*)()>("VelmorGetPathServerW", "");

    tour.Family("Input");
    RECT chart;
    GetWindowRect(handles.chartViews.at(0), &chart);
    SetCursorPos(chart.left + 40, chart.top + 30);
    tour.Row("VelmorGetCursorInfo", "array, 6", [&] {
        int32_t info[6] = {};
        tour.Get<void(WINAPI*)(int32_t*, int32_t)>("VelmorGetCursorInfo")(info, 6);
        char text[128];
        std::snprintf(text, sizeof text, "0x%lX (%ld,%ld) (%ld,%ld) 0x%06lX", static_cast<unsigned long>(info[0]),
            static_cast<long>(info[1]), static_cast<long>(info[2]), static_cast<long>(info[3]),
            static_cast<long>(info[4]), static_cast<unsigned long>(info[5]));
        return std::string(text);
    });

    PanelsAndDialogs(tour, optionsShot);
    ChartsTour(tour, terminal);
    ProgramsTour(tour, terminal);

    Sleep(200);
    const bool saved = SaveWindowPng(handles.main, screenshot);
    tour.Family("Market Watch");
    tour.Int("VelmorGetNumberTools");
    tour.Row("VelmorSymbolByLine", "2", [&] { return Tour::Quote(tour.Get<const char*(WINAPI*)(int32_t)>("VelmorSymbolByLine")(2)); });
    tour.Call<const wchar_t*(WINAPI*)(int32_t)>("VelmorSymbolByLineW", "2", 2);
    tour.Row("VelmorLineBySymbol", "\"USDJPY\"", [&] {
        return Tour::Hex(tour.Get<int32_t(WINAPI*)(const char*)>("VelmorLineBySymbol")("USDJPY"));
    });
    tour.Row("VelmorGetAllSymbols", "array, 5", [&] {
        struct Element {  // an MQL4 string: capacity, then the caller's buffer
            int32_t capacity;
            char* text;
        };
        char buffers[5][12] = {};
        Element elements[5];
        for (int i = 0; i < 5; ++i)
            elements[i] = { 12, buffers[i] };
        const int32_t count = tour.Get<int32_t(WINAPI*)(Element*, int32_t)>("VelmorGetAllSymbols")(elements, 5);
        std::string shown = Tour::Hex(count);
        for (int i = 0; i < count && i < 5; ++i)
            shown.append(i ? "," : ": ").append(buffers[i]);
        return shown;
    });
    tour.Row("VelmorOpenChartByNumber", "1, buffer, 16", [&] {
        char symbol[16] = {};
        const int32_t chart = tour.Get<int32_t(WINAPI*)(int32_t, char*, int32_t)>("VelmorOpenChartByNumber")(1, symbol, 16);
        return Tour::Hex(chart) + " " + Tour::Quote(symbol);
    });
    tour.Row("VelmorOpenChartByName", "\"USDJPY\", \"H4\"", [&] {
        return Tour::Hex(tour.Get<int32_t(WINAPI*)(const char*, const char*)>("VelmorOpenChartByName")("USDJPY", "H4"));
    });

    tour.Family("Mailbox");
    using IntOfInt = int32_t(WINAPI*)(int32_t);
    using TextOfInt = const char*(WINAPI*)(int32_t);
    tour.Int("VelmorMailboxSize");
    tour.Row("VelmorMailboxGetStringTime", "0", [&] { return Tour::Quote(tour.Get<TextOfInt>("VelmorMailboxGetStringTime")(0)); });
    tour.Row("VelmorMailboxGetTime", "0", [&] { return Tour::Hex(tour.Get<IntOfInt>("VelmorMailboxGetTime")(0)); });
    tour.Row("VelmorMailboxGetFrom", "1", [&] { return Tour::Quote(tour.Get<TextOfInt>("VelmorMailboxGetFrom")(1)); });
    tour.Row("VelmorMailboxGetTheme", "2", [&] { return Tour::Quote(tour.Get<TextOfInt>("VelmorMailboxGetTheme")(2)); });
    tour.Call<const wchar_t*(WINAPI*)(int32_t)>("VelmorMailboxGetFromW", "1", 1);
    tour.Row("VelmorMailboxGetLine", "\"\", \"Risk\", \"\", 0, -1", [&] {
        return Tour::Hex(tour.Get<int32_t(WINAPI*)(const char*, const char*, const char*, int32_t, int32_t)>(
            "VelmorMailboxGetLine")("", "Risk", "", 0, -1));
    });
    int32_t message = 0;
    tour.Row("VelmorMailboxOpen", "0", [&] { return Tour::Hex(message = tour.Get<IntOfInt>("VelmorMailboxOpen")(0)); });

    tour.Family("Message bodies");
    tour.Row("VelmorMailboxReadText", "message", [&] { return Tour::Quote(tour.Get<TextOfInt>("VelmorMailboxReadText")(message)); });
    tour.Call<const wchar_t*(WINAPI*)(int32_t)>("VelmorMailboxReadTextW", "message", message);
    tour.Row("VelmorMailboxReadHTML", "message", [&] { return Tour::Quote(tour.Get<TextOfInt>("VelmorMailboxReadHTML")(message)); });

    tour.Family("Mailbox: closing and deleting");
    tour.Row("VelmorMailboxCloseByHandle", "message", [&] { return Tour::Hex(tour.Get<IntOfInt>("VelmorMailboxCloseByHandle")(message)); });
    tour.Row("VelmorMailboxOpen", "1", [&] { return Tour::Hex(tour.Get<IntOfInt>("VelmorMailboxOpen")(1)); });
    tour.Row("VelmorMailboxCloseByName", "subject of 1", [&] {
        return Tour::Hex(tour.Get<int32_t(WINAPI*)(const char*)>("VelmorMailboxCloseByName")("Ваш счёт"));
    });
    tour.Row("VelmorMailboxDelete", "2", [&] { return Tour::Hex(tour.Get<IntOfInt>("VelmorMailboxDelete")(2)); });

    LoaderTour(tour, terminal);

    tour.Family("Closing");
    tour.Call<void(WINAPI*)()>("VelmorCloseAllCharts", "");
    tour.Int("VelmorMetaTraderClose");
    std::printf("\nscreenshot of the terminal: %s%s\n", screenshot.c_str(), saved ? "" : " (not saved)");
    std::printf("screenshot of a dialog: %s%s\n", dialogShot.c_str(), tour.DialogSaved() ? "" : " (not saved)");
    std::printf("screenshot of the Options dialog: %s\n", optionsShot.c_str());
    std::printf("tour finished in %.1f s\n", (GetTickCount64() - started) / 1000.0);
    return 0;
}
