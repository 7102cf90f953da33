// Every export with hostile arguments returns, shows at most one box, gives its neutral result with a box and
// writes only where given room; from an indicator it works or is refused at once, as its row says.
#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include "ExportTable.h"
#include "support/StandInProcess.h"
#include "support/TerminalTest.h"

namespace {

using namespace Hardening;
using Boxes = std::vector<Support::Box>;

std::string CaptionOf(const Export& what)
{
    static const std::map<std::string, std::string> others = { { "VelmorChartHotKeys", "VelmorChartsHotKeys()" },
        { "VelmorPropertiesChartCheckBox", "PropertiesChartCheckBox()" },
        { "VelmorSetShowObjectDescript", "VelmorSetShowObjectDescriptions()" } };
    const auto other = others.find(what.name);
    return other != others.end() ? other->second : what.name + "()";
}

void Pump() { for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message); }

// "0", "null", "\"text\"" (a wide text's low bytes) or "-".
std::string ResultText(const Export& what, INT_PTR raw)
{
    if (what.result != "string")
        return what.result == "int" ? std::to_string(static_cast<int32_t>(raw)) : "-";
    std::string text = raw ? "\"" : "null";
    auto unit = [&](size_t i) -> unsigned {
        return what.wide ? reinterpret_cast<const wchar_t*>(raw)[i] : reinterpret_cast<const unsigned char*>(raw)[i];
    };
    for (size_t i = 0; raw && text.size() < 40 && unit(i); ++i)
        text.push_back(static_cast<char>(unit(i)));
    return raw ? text + "\"" : text;
}

bool IsNeutral(const Export& what, INT_PTR raw) { return what.result == "void" || ResultText(what, raw) == what.neutral; }
bool ReturnsAtOnce(const Export& what) { return what.bound.find("returns at once") != std::string::npos; }

HWND Popup(const char* title) { return CreateWindowExA(0, "STATIC", title, WS_POPUP, 0, 0, 10, 10, 0, 0, 0, 0); }

// A terminal whose charts carry programs (the reads and removals reach the code that writes the caller's arrays),
// another in a process of its own, and the windows a handle can point at.
struct World {
    World()
    {
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        DestroyWindow(windows.destroyed);
        for (HWND window : StandInTest::Descendants(foreign.Main()))
            if (!windows.foreignChart && StandInTest::ClassOf(window).rfind("AfxFrameOrView", 0) == 0)
                windows.foreignChart = window;
    }
    ~World() { DestroyWindow(windows.own); }
    StandIn::Terminal terminal { [] {
        StandIn::Scenario scenario = StandIn::Scenario::Named("english");
        scenario.programs.assign(scenario.charts.size(),
            StandIn::ChartPrograms { "MACD Sample", "", { { "Moving Average", "Bollinger Bands" }, { "MACD" } } });
        return scenario;
    }() };
    Support::StandInProcess foreign { "english" };
    Support::Library library;
    Support::BoxWatcher boxes;
    Windows windows { nullptr, terminal.Handles().main, Popup("gone"), foreign.Main() };
};

class HostileInput : public ::testing::TestWithParam<Export> {
protected:
    static void SetUpTestSuite() { s = std::make_unique<World>(); }
    static void TearDownTestSuite() { s.reset(); }

    // A chart still open and a plain window of this process: the sweep may have closed the last ones.
    static const Windows& Current()
    {
        s->windows.chart = nullptr;
        for (HWND view : s->terminal.Handles().chartViews)
            if (!s->windows.chart && IsWindow(view))
                s->windows.chart = view;
        if (!IsWindow(s->windows.own))
            s->windows.own = Popup("plain");
        return s->windows;
    }

    // The call (on the interface thread from an indicator), its time in ms and the boxes it showed.
    static INT_PTR Timed(const Export& what, const Values& values, long long& ms, Boxes& shown)
    {
        const std::vector<Slot> slots = SlotsOf(values);
        s->boxes.Take();
        INT_PTR raw = 0;
        auto call = [&] {
            const auto start = std::chrono::steady_clock::now();
            raw = Invoke(what, slots);
            ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        };
        s_fromAnIndicator ? s->terminal.OnUiThread(call) : call();
        shown = s->boxes.Take();
        return raw;
    }

    void Call(const Export& what, Values values)
    {
        // A count beyond the array makes any library read memory never given: it goes with no array.
        for (size_t i = 0; i < values.size(); ++i)
            if (what.arguments[i].name == "count" && static_cast<uint32_t>(values[i]->slot.integer) > Backing)
                for (size_t j = 0; j < values.size(); ++j)
                    if (what.arguments[j].kind == Kind::IntArray || what.arguments[j].kind == Kind::TextArray)
                        values[j] = Null();
        std::string call = what.name;
        uint32_t size = SoundCount;
        for (size_t i = 0; i < values.size(); ++i) {
            call += (i ? ", " : "(") + values[i]->what + (i + 1 < values.size() ? "" : ")");
            size = IsCount(what.arguments[i]) ? static_cast<uint32_t>(values[i]->slot.integer) : size;
        }
        std::printf("%s", call.c_str());
        std::fflush(stdout);
        long long ms = 0;
        Boxes shown;
        const INT_PTR raw = Timed(what, values, ms, shown);
        if (ReturnsAtOnce(what)) {  // what its worker reports belongs to this call
            Sleep(300);
            const Boxes later = s->boxes.Take();
            shown.insert(shown.end(), later.begin(), later.end());
        }
        std::printf(" -> %s, %lld ms%s%s\n", ResultText(what, raw).c_str(), ms, shown.empty() ? "" : ", box: ",
            shown.empty() ? "" : shown[0].text.substr(0, shown[0].text.find('\n')).c_str());
        EXPECT_LE(shown.size(), 1u) << call;
        if (!shown.empty()) {
            if (shown[0].caption.rfind("MT4::", 0) != 0) {  // not a worker's own report
                EXPECT_EQ(shown[0].caption, CaptionOf(what)) << call;
            }
            EXPECT_TRUE(IsNeutral(what, raw)) << call << " showed a box and returned " << ResultText(what, raw);
        }
        const bool honest = std::all_of(values.begin(), values.end(),  // every count within what the arrays offer
            [&](const auto& value) { return value->capacity < 0 || size <= value->capacity; });
        for (size_t i = 0; honest && i < values.size(); ++i)
            EXPECT_EQ(values[i]->Check(size), "") << call;
        Pump();
        CancelDialogs(s->terminal.UiThread());
    }

    // Each argument's hostile values in turn, the others sound; then every argument hostile at once.
    void Sweep(const Export& what)
    {
        size_t levels = 0;
        for (size_t i = 0; i < what.arguments.size(); ++i) {
            const Values hostile = Hostile(what.arguments[i], Current());
            levels = std::max(levels, hostile.size());
            for (const auto& value : hostile) {
                Values values = SoundValues(what, Current());
                values[i] = value;
                Call(what, values);
            }
        }
        for (size_t level = 0; what.arguments.size() > 1 && level < levels; ++level) {
            Values values;
            for (const Argument& argument : what.arguments) {
                const Values hostile = Hostile(argument, Current());
                values.push_back(hostile[level % hostile.size()]);
            }
            Call(what, values);
        }
        if (ReturnsAtOnce(what))  // its worker ends before the next export: start-up stops it
            s->library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    }

    static inline std::unique_ptr<World> s;
    static inline bool s_fromAnIndicator = false;
};

TEST_P(HostileInput, ReturnsShowsAtMostOneBoxGivesItsNeutralResultWithABoxAndWritesOnlyWhereGivenRoom)
{
    const Export& what = GetParam();
    // VelmorInit with a process id looks for that terminal for about 60 s: the start-up failure tests cover it.
    if (what.name == "VelmorInit" || what.arguments.empty() || !Address(what))
        GTEST_SKIP() << "left out, takes no argument or not exported yet";
    s_fromAnIndicator = false;
    Sweep(what);
}

// With sound arguments on the interface thread an export works (at once, or serving messages while it waits) or
// is refused at once with a box, the terminal left enabled and answering; what works then takes the hostile sweep
// there (64-bit only: under qemu-i386 this pass would double the longest entry).
class FromAnIndicator : public HostileInput { };

TEST_P(FromAnIndicator, DoesItsWorkOrIsRefusedAtOnceAsItsRowSays)
{
    const Export& what = GetParam();
    if (what.name == "VelmorInit" || what.name == "VelmorMetaTraderClose" || what.name == "VelmorCloseAllCharts"
        || !Address(what))
        GTEST_SKIP() << "left out, ends the terminal or charts the later rows use, or not exported yet";
    const Values values = SoundValues(what, Current());
    const HWND main = s->terminal.Handles().main;
    const BOOL enabled = IsWindowEnabled(main);
    long long ms = 0;
    Boxes shown;
    s_fromAnIndicator = true;
    const INT_PTR raw = Timed(what, values, ms, shown);
    std::printf("%s: %s, %s, %lld ms\n", what.name.c_str(), what.indicator.c_str(), ResultText(what, raw).c_str(), ms);
    if (what.indicator == "refused") {
        const std::string caption = CaptionOf(what);
        EXPECT_EQ(shown, (Boxes { { caption, "Ошибка в методе \"" + caption
                    + "\".\nФункция ждёт диалог, который открывает поток интерфейса терминала, и не может быть "
                      "вызвана из индикатора (индикатор работает в этом же потоке). Вызовите её из эксперта или "
                      "скрипта." } }));
        EXPECT_TRUE(IsNeutral(what, raw));
        EXPECT_LT(ms, 1000);
        DWORD_PTR answer = 0;
        EXPECT_EQ(IsWindowEnabled(main), enabled);
        EXPECT_NE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0);
    } else {
        // The same call from a program's thread succeeds or fails alike (a hidden main window is not visible again).
        const INT_PTR again = Invoke(what, SlotsOf(values));
        EXPECT_TRUE(what.name == "VelmorMetaTraderHide" || IsNeutral(what, raw) == IsNeutral(what, again))
            << ResultText(what, raw) << " then " << ResultText(what, again);
        EXPECT_EQ(shown, s->boxes.Take());
        EXPECT_LT(ms, what.indicator == "works" ? 1000 : 10000) << what.bound;
    }
    if (ReturnsAtOnce(what))
        s->library.Get<Support::VoidOfIntFn>("VelmorInit")(0);  // its worker ends before the next row
    Sleep(200);  // a command the call posted has opened its dialog
    Pump();
    CancelDialogs(s->terminal.UiThread());
#ifdef _WIN64
    if (what.indicator != "refused")
        Sweep(what);
#endif
}

// -1 and HWND_BROADCAST as a chart or window are refused like handle 0, and nothing reaches the terminal.
class BroadcastHandle : public Support::TerminalTest { };

TEST_F(BroadcastHandle, IsRefusedAsNoWindowInsteadOfReachingEveryWindow)
{
    const std::string zeroHandle = "\".\nНеверный системный дескриптор графика.";
    for (int32_t broadcast : { -1, 0xFFFF }) {
        EXPECT_EQ(library.Get<Support::IntOfIntFn>("VelmorCloseChart")(broadcast), 0);
        library.Get<Support::VoidOfIntFn>("VelmorStepByStep")(broadcast);
        EXPECT_EQ(library.Get<Support::IntOfIntFn>("VelmorMailboxCloseByHandle")(broadcast), 0);
        EXPECT_EQ(boxes.Take(), (Boxes { { "VelmorCloseChart()", "Метод \"MT4::Windows::CloseChart()" + zeroHandle },
                                    { "VelmorStepByStep()", "Метод \"MT4::Windows::StepByStep()" + zeroHandle } }));
    }
    Sleep(100);
    Pump();
    EXPECT_EQ(terminal.Log().Take(), std::vector<StandIn::Event>());
    EXPECT_FALSE(terminal.Closed());
}

std::string NameOf(const ::testing::TestParamInfo<Export>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Exports, HostileInput, ::testing::ValuesIn(Exports()), NameOf);
INSTANTIATE_TEST_SUITE_P(Exports, FromAnIndicator, ::testing::ValuesIn(Exports()), NameOf);

}  // namespace
