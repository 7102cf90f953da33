// Each step calls the same MT4::Windows method start-up calls, so the probe
// can never disagree with the library about what a terminal build offers; a
// step that throws is reported with the library's own text and the probe goes
// on with the steps that do not depend on it.
#include "Probe.h"

#include <commctrl.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <vector>

#include "MT4/Localization.h"
#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Windows.h"

namespace Probe {

namespace {

std::string Hex(HWND window)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

std::string Quoted(const std::string& text)
{
    return std::string(1, '"').append(text).append(1, '"');
}

std::string ClassOf(HWND window)
{
    return Quoted(Utils::Windows::ClassName(window, "Probe"));
}

// The text of the exception being handled, in the library's three kinds.
std::string CurrentText()
{
    try {
        throw;
    } catch (const char* text) {
        return text;
    } catch (const std::string& text) {
        return text;
    } catch (const std::exception& error) {
        return std::string("Системная ошибка! ").append(error.what());
    } catch (...) {
        return "Системная ошибка!";
    }
}

// The error text on one line: line breaks become " / ".
std::string OneLine(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.compare(line.size() - 3, 3, " / ") != 0)
                line += " / ";
        } else if (c != '\r') {
            line += c;
        }
    }
    while (line.size() >= 3 && line.compare(line.size() - 3, 3, " / ") == 0)
        line.resize(line.size() - 3);
    return line;
}

class Writer {
public:
    explicit Writer(Report& report) : m_report(report) {}

    void Line(const std::string& label, const std::string& value)
    {
        char head[64];
        std::snprintf(head, sizeof head, "%-34s", label.c_str());
        m_report.text.append(head).append(value).append("\n");
    }

    // Runs `find`; a window found is described, a failure is counted and
    // reported with the library's text. Returns the window or null.
    HWND Item(const std::string& label, const std::function<HWND()>& find)
    {
        HWND window = nullptr;
        try {
            window = find();
        } catch (...) {
            Missing(label, CurrentText());
            return nullptr;
        }
        Line(label, "found " + Hex(window) + " " + ClassOf(window));
        return window;
    }

    void Missing(const std::string& label, const std::string& why)
    {
        ++m_report.missing;
        Line(label, "MISSING: " + OneLine(why));
    }

private:
    Report& m_report;
};

// Where a panel's content window lives: docked in the main window, or in a
// floating frame (its class and title).
std::string Placement(HWND content, HWND main)
{
    HWND top = GetAncestor(content, GA_ROOT);
    if (top == main)
        return "docked in " + ClassOf(GetParent(content));
    return "floating in " + ClassOf(top) + " " + Quoted(Utils::Windows::Text(top));
}

// The build of a terminal's executable: the fourth part of its file version
// (4.0.0.1420: 1420); 0 when the file carries no version.
unsigned Build(const std::string& executable, std::string& version)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(executable.c_str(), &ignored);
    if (!size)
        return 0;
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(executable.c_str(), 0, size, data.data())
        || !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed
        || length < sizeof *fixed)
        return 0;
    version = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS))
        + "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
    return LOWORD(fixed->dwFileVersionLS);
}

// The header the user's programs import: today's terminals (build 600 and
// later) pass texts as UTF-16 and use the wide functions.
std::string Header(unsigned build)
{
    if (!build)
        return "unknown: RazozazER4.mqh from build 600, RazozazER4Ansi.mqh before";
    if (build >= 600)
        return "RazozazER4.mqh (build 600 and later: texts through the W functions)";
    return "RazozazER4Ansi.mqh (before build 600: ANSI texts)";
}

}  // namespace

Report Run(DWORD processId)
{
    Report report;
    Writer out(report);
    MT4::Windows terminal;
    try {
        terminal.Attach(processId);
    } catch (...) {
        out.Missing("process " + std::to_string(processId), CurrentText());
        return report;
    }
    out.Line("process", std::to_string(terminal.ProcessId()));
    out.Line("executable", terminal.ExecutablePathText());
    std::string version;
    const unsigned build = Build(terminal.ExecutablePathText(), version);
    out.Line("build", build ? std::to_string(build) + " (file version " + version + ")"
                            : "unknown: the executable carries no file version");
    out.Line("header", Header(build));
    HWND main = out.Item("main window", [&] { return terminal.HandleMetaTrader(); });
    if (!main)
        return report;
    out.Line("title", Quoted(Utils::Windows::Text(main)));
    HWND chartArea = out.Item("chart area", [&] { return terminal.HandleMDIClient(); });

    try {
        terminal.InitLocalization();
        terminal.InitTabLists();
        out.Line("language", terminal.GetLanguage() == MT4::Language::Russian ? "Russian (32025)" : "English (32000)");
    } catch (...) {
        out.Missing("language", CurrentText());
        return report;  // every later search goes by localized names
    }

    struct Panel {
        MT4::Name name;
        HWND (MT4::Windows::*find)();
    };
    const Panel panels[] = { { MT4::Name::DataWindow, &MT4::Windows::HandleDataWindow },
        { MT4::Name::MarketWatch, &MT4::Windows::HandleMarketWatch },
        { MT4::Name::Navigator, &MT4::Windows::HandleNavigator },
        { MT4::Name::Terminal, &MT4::Windows::HandleTerminal }, { MT4::Name::Tester, &MT4::Windows::HandleTester } };
    const Panel toolbars[] = { { MT4::Name::StandardToolbar, &MT4::Windows::HandlePanelStandard },
        { MT4::Name::ChartsToolbar, &MT4::Windows::HandlePanelCharts },
        { MT4::Name::LineStudiesToolbar, &MT4::Windows::HandlePanelLineStudies },
        { MT4::Name::PeriodicityToolbar, &MT4::Windows::HandlePanelPeriodicity } };
    bool found[5] = {};
    for (int i = 0; i < 5; ++i) {
        const std::string label = "panel " + Quoted(terminal.Text(panels[i].name));
        HWND content = out.Item(label, [&] { return (terminal.*panels[i].find)(); });
        if (content) {
            out.Line("", Placement(content, main));
            found[i] = true;
        }
    }
    out.Item("standard dock", [&] { return terminal.HandlePanelStandart(); });
    for (const Panel& toolbar : toolbars)
        out.Item("toolbar " + Quoted(terminal.Text(toolbar.name)), [&] { return (terminal.*toolbar.find)(); });

    // An inner control is looked for only where its panel was found.
    auto inner = [&](bool panelFound, const char* label, HWND (MT4::Windows::*find)()) -> HWND {
        if (!panelFound) {
            out.Missing(label, "its panel is missing");
            return nullptr;
        }
        return out.Item(label, [&] { return (terminal.*find)(); });
    };
    inner(found[0], "Data Window list", &MT4::Windows::HandleListDataWindow);
    HWND marketWatch = inner(found[1], "Market Watch list", &MT4::Windows::HandleListMarketWatch);
    inner(found[2], "Navigator tree", &MT4::Windows::HandleTreeNavigator);
    if (!found[3]) {
        out.Missing("Terminal lists", "its panel is missing");
    } else {
        const HWND panel = terminal.Panel(terminal.Text(MT4::Name::Terminal));
        const std::vector<HWND> lists = Utils::Windows::FindAll(
            panel, terminal.ProcessId(), Utils::Windows::Match::Exact, "SysListView32");
        try {
            terminal.HandleListsTerminal();
            out.Line("Terminal lists", std::to_string(lists.size()) + " \"SysListView32\", one per tab");
        } catch (...) {
            out.Missing("Terminal lists", std::to_string(lists.size()) + " \"SysListView32\" for 7 tabs ("
                    + OneLine(CurrentText()) + ")");
        }
    }

    if (chartArea) {
        const std::vector<HWND> charts = terminal.Charts();
        out.Line("charts", std::to_string(charts.size()));
        for (HWND chart : charts)
            out.Line("", Hex(chart) + " " + ClassOf(chart) + " " + Quoted(Utils::Windows::Text(GetParent(chart))));
    }
    if (marketWatch) {
        try {
            out.Line("Market Watch symbols", std::to_string(Utils::Controls::ListView::GetItem(marketWatch).rows));
        } catch (...) {
            out.Missing("Market Watch symbols", CurrentText());
        }
    }
    // The login dialog, opened as VelmorGetNameServer opens it: the items
    // VelmorLogin fills, then Cancel.
    HWND login = out.Item("login dialog", [&] { return terminal.OpenLoginDialog("Probe", 60, 50); });
    if (login) {
        const std::pair<const char*, int> items[] = { { "login: account field", MT4::Windows::LoginAccountField },
            { "login: server field", MT4::Windows::LoginServerField },
            { "login: save-password box", MT4::Windows::LoginSaveBox }, { "login: OK", IDOK },
            { "login: Cancel", IDCANCEL } };
        for (const auto& [label, id] : items)
            out.Item(label, [&, id = id] {
                HWND item = GetDlgItem(login, id);
                if (!item)
                    throw "no item " + std::to_string(id) + " in the dialog";
                return item;
            });
        out.Item("login: password field", [&] { return terminal.LoginPasswordField(login); });
        PostMessageA(GetDlgItem(login, IDCANCEL), BM_CLICK, 0, 0);
    }
    out.Line("result", report.missing ? std::to_string(report.missing) + " missing: the library cannot serve this "
                                                                          "terminal build fully"
                                      : "everything the library relies on was found");
    return report;
}

}  // namespace Probe
