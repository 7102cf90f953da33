// The history loader against the stand-in: both orders of a run, its commands, failures, closed charts, start-up.
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include "Utils/Errors.h"
#include "Utils/Wait.h"
#include "support/TerminalTest.h"

using StandIn::Event;
using StandIn::ScriptRun;
using Support::Box;

namespace {

using Flags = std::array<int32_t, 9>;

constexpr DWORD Patience = 15000;
constexpr WPARAM TickCommand = 33324;
const Flags M5AndH1 = { 0, 1, 0, 0, 1 }, H1AndH4 = { 0, 0, 0, 0, 1, 1 }, H1Only = { 0, 0, 0, 0, 1 };

// "Sensor" signals 50 ms after it starts, "Silent" never does, "Broken" fails at once.
StandIn::Scenario Loading()
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.marketWatch = { { "EURUSD", "1.0", "1.1" }, { "GBPUSD", "1.0", "1.1" }, { "USDJPY", "1.0", "1.1" } };
    scenario.scriptActions = { { "Sensor", StandIn::ScriptSpec::Sensor, 50 }, { "Silent", StandIn::ScriptSpec::Never, 0 },
        { "Broken", StandIn::ScriptSpec::Fail, 0 } };
    return scenario;
}

ScriptRun Script(HWND view, const std::string& symbol, int period, const std::string& script = "Sensor")
{ return ScriptRun { view, script, symbol, period }; }

class LoaderTest : public Support::TerminalTest {
protected:
    LoaderTest() : TerminalTest(Loading()) { }
    void TearDown() override { RunEnds(); }  // whatever a failed test left running ends before its terminal
    std::vector<ScriptRun> Runs(size_t count)  // once `count` have started, or at the bound
    {
        Utils::Wait::Until([&] { return terminal.ScriptRuns().size() >= count; }, 10, Patience);
        return terminal.ScriptRuns();
    }
    bool ChartGone(HWND view) { return Utils::Wait::Until([&] { return !IsWindow(view); }, 10, Patience); }
    void RunEnds() { Utils::Wait::Until([&] { return loader(2, 1, H1Only.data(), "") == 2; }, 50, Patience); }
    int32_t(WINAPI* loader)(int32_t, int32_t, const int32_t*, const char*)
        = library.Get<int32_t(WINAPI*)(int32_t, int32_t, const int32_t*, const char*)>("VelmorLoaderQuotes");
};

// One chart per run: auto-scroll off once, each symbol set, each chosen timeframe with the script, then closed.
TEST_F(LoaderTest, EachRunTakesEveryChosenTimeframeAndSymbolInItsOrder)
{
    EXPECT_EQ(loader(1, 1, M5AndH1.data(), "Sensor"), 0);
    ASSERT_EQ(Runs(6).size(), 6u);
    HWND view = terminal.ScriptRuns()[0].view;
    ASSERT_TRUE(ChartGone(view));
    EXPECT_EQ(terminal.ScriptRuns(),
        (std::vector<ScriptRun> { Script(view, "EURUSD", 5), Script(view, "EURUSD", 60), Script(view, "GBPUSD", 5),
            Script(view, "GBPUSD", 60), Script(view, "USDJPY", 5), Script(view, "USDJPY", 60) }));
    std::vector<std::string> steps;  // without the Home keys and ticks of the waits
    for (const Event& event : terminal.Log().Take())
        if (event.kind == Event::Key && !event.text.empty())
            steps.push_back("line " + event.text);
        else if (event.window == view && event.kind == Event::Internal)
            steps.push_back("load " + std::to_string(event.wParam));
        else if (event.window == view && event.kind == Event::Command && event.wParam != TickCommand)
            steps.push_back("command " + std::to_string(event.wParam));
    std::vector<std::string> expected { "command 33157" };
    for (const char* symbol : { "EURUSD", "GBPUSD", "USDJPY" })
        expected.insert(expected.end(),
            { std::string("line ") + symbol + ",1", "command 33138", "load 16", "command 33135", "load 16" });
    expected.push_back("command 57602");
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(loader(1, 0, M5AndH1.data(), "Sensor"), 0);
    const std::vector<ScriptRun> runs = Runs(12);
    ASSERT_EQ(runs.size(), 12u);
    view = runs[6].view;
    ASSERT_TRUE(ChartGone(view));
    EXPECT_EQ(std::vector<ScriptRun>(runs.begin() + 6, runs.end()),
        (std::vector<ScriptRun> { Script(view, "EURUSD", 5), Script(view, "GBPUSD", 5), Script(view, "USDJPY", 5),
            Script(view, "EURUSD", 60), Script(view, "GBPUSD", 60), Script(view, "USDJPY", 60) }));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

// A script that never signals holds its step, sending Home and ticking, until 0 ends the wait or 2 the run.
TEST_F(LoaderTest, ASilentScriptHoldsItsStepUntilTheCallerSteersTheRun)
{
    EXPECT_EQ(loader(1, 1, H1AndH4.data(), "Silent"), 0);
    ASSERT_EQ(Runs(1).size(), 1u);
    const HWND view = terminal.ScriptRuns()[0].view;
    terminal.Log().Take();
    Sleep(1300);
    EXPECT_EQ(terminal.ScriptRuns().size(), 1u);
    std::string waits;  // h: a Home key, t: a tick, in turn
    for (const Event& event : terminal.Log().Take())
        if (event.window == view)
            waits += event.kind == Event::Key && event.message == WM_KEYDOWN && event.wParam == VK_HOME ? 'h'
                : event.kind == Event::Command && event.wParam == TickCommand                             ? 't'
                                                                                                           : '?';
    EXPECT_GE(waits.size(), 4u);
    EXPECT_TRUE(waits.find_first_not_of("ht") == waits.npos && waits.find("hh") == waits.npos
        && waits.find("tt") == waits.npos) << waits;
    EXPECT_EQ(loader(0, 1, H1AndH4.data(), "Sensor"), 1);  // ends this wait only
    ASSERT_EQ(Runs(2).size(), 2u);
    EXPECT_EQ(loader(1, 1, H1AndH4.data(), "Sensor"), 1);  // a run is in progress: nothing starts
    Sleep(600);
    EXPECT_EQ(terminal.ScriptRuns(),
        (std::vector<ScriptRun> { Script(view, "EURUSD", 60, "Silent"), Script(view, "EURUSD", 240, "Silent") }));
    EXPECT_EQ(loader(2, 1, H1AndH4.data(), "Sensor"), 1);
    ASSERT_TRUE(ChartGone(view));
    EXPECT_EQ(terminal.ScriptRuns().size(), 2u);
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
    EXPECT_EQ(loader(2, 0, H1Only.data(), "Sensor"), 2);
    EXPECT_EQ(loader(1, 1, H1Only.data(), "Sensor"), 0);
    const std::vector<ScriptRun> runs = Runs(5);
    ASSERT_EQ(runs.size(), 5u);
    const HWND next = runs[2].view;
    EXPECT_TRUE(ChartGone(next));
    EXPECT_EQ(std::vector<ScriptRun>(runs.begin() + 2, runs.end()),
        (std::vector<ScriptRun> { Script(next, "EURUSD", 60), Script(next, "GBPUSD", 60), Script(next, "USDJPY", 60) }));
}

// A failed script's step waits; a closed chart is replaced; a command but 1 and 2 skips; start-up ends the run.
TEST_F(LoaderTest, AFailedScriptsStepWaitsAClosedChartIsReplacedAndStartUpEndsTheRun)
{
    EXPECT_EQ(loader(1, 0, H1Only.data(), "Broken"), 0);
    ASSERT_EQ(Runs(1).size(), 1u);
    const HWND first = terminal.ScriptRuns()[0].view;
    EXPECT_TRUE(Utils::Wait::Until([&] { return terminal.Programs(first).script.empty(); }, 10, Patience));
    Sleep(900);
    EXPECT_EQ(terminal.ScriptRuns().size(), 1u);
    PostMessageA(GetParent(first), WM_CLOSE, 0, 0);
    ASSERT_EQ(Runs(2).size(), 2u);
    const HWND second = terminal.ScriptRuns()[1].view;
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(loader(3, 0, H1Only.data(), "Sensor"), 1);
    ASSERT_EQ(Runs(3).size(), 3u);
    EXPECT_EQ(terminal.ScriptRuns(),
        (std::vector<ScriptRun> { Script(first, "EURUSD", 60, "Broken"), Script(second, "EURUSD", 60, "Broken"),
            Script(second, "GBPUSD", 60, "Broken") }));
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    EXPECT_TRUE(ChartGone(second));
    EXPECT_EQ(terminal.ScriptRuns().size(), 3u);
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

// With no run a stop or a skip starts nothing; a script name takes at most 259 characters.
TEST_F(LoaderTest, CommandsWithoutARunAndTheArgumentsRefused)
{
    EXPECT_EQ(loader(2, 1, H1Only.data(), "Sensor"), 2);
    EXPECT_EQ(loader(3, 1, H1Only.data(), "Sensor"), 2);
    EXPECT_EQ(loader(1, 1, H1Only.data(), std::string(260, 's').c_str()), -1);
    EXPECT_EQ(loader(1, 1, H1Only.data(), nullptr), -1);
    const HWND view = terminal.Handles().chartViews.at(0);
    library.Get<Support::VoidOfIntFn>("VelmorSensorLoadQuotes")(static_cast<int32_t>(reinterpret_cast<INT_PTR>(view)));
    const std::string event = "MT4::Windows::LoaderQuotes_" + std::to_string(reinterpret_cast<UINT_PTR>(view));
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> {
            { "VelmorLoaderQuotes()", "Метод \"MT4::LoaderQuotes::Run()\".\nИмя скрипта длиннее 259 символов." },
            { "VelmorLoaderQuotes()", "Метод \"MT4::LoaderQuotes::Run()\".\nНе указано имя скрипта." },
            { "VelmorSensorLoadQuotes()", "Ошибка в методе \"Utils::Sync::Event::Open()\".\nСобытие \"" + event
                    + "\" не открыто." + LastErrorText(ERROR_FILE_NOT_FOUND) } }));
    Sleep(300);
    EXPECT_EQ(terminal.Log().Take(), std::vector<Event> {});
    EXPECT_EQ(loader(1, 1, H1Only.data(), std::string(259, 's').c_str()), 0);
    const auto load = [](const Event& e) { return e.kind == Event::Internal && e.wParam == 16; };
    ASSERT_TRUE(terminal.Log().WaitFor([&](auto& events) { return std::any_of(events.begin(), events.end(), load); },
        Patience));
    EXPECT_EQ(loader(2, 1, H1Only.data(), "Sensor"), 1);
    RunEnds();
    EXPECT_EQ(terminal.ScriptRuns(), std::vector<ScriptRun> {});
}

}  // namespace
