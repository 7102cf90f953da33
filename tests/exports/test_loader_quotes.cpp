// The history-quotes loader through the real DLL against the stand-in: the
// order of symbols and timeframes its script saw in both orders, the
// commands that steer a run, a chart closed by hand, a script that never
// signals, the sensor with nothing waiting, an empty Market Watch, the
// script name's limit, start-up during a run and the loader's destruction.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "MT4/LoaderQuotes.h"
#include "StandIn.h"
#include "Utils/Errors.h"
#include "Utils/Wait.h"
#include "support/TerminalTest.h"

using StandIn::Event;
using StandIn::ScriptRun;
using StandIn::ScriptSpec;
using Support::Box;

namespace {

using LoaderFn = int32_t(WINAPI*)(int32_t, int32_t, const int32_t*, const char*);
using Flags = std::array<int32_t, 9>;

constexpr DWORD Patience = 15000;
const Flags M5AndH1 = { 0, 1, 0, 0, 1, 0, 0, 0, 0 };
const Flags H1AndH4 = { 0, 0, 0, 0, 1, 1, 0, 0, 0 };
const Flags H1Only = { 0, 0, 0, 0, 1, 0, 0, 0, 0 };

// Three symbols; "Sensor" signals 50 ms after it starts, "Silent" never
// does, "Broken" stops on an error at once.
StandIn::Scenario Loading(std::vector<std::string> symbols = { "EURUSD", "GBPUSD", "USDJPY" })
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.marketWatch.clear();
    for (const std::string& symbol : symbols)
        scenario.marketWatch.push_back({ symbol, "1.00000", "1.00010" });
    scenario.scriptActions = { { "Sensor", ScriptSpec::Sensor, 50 }, { "Silent", ScriptSpec::Never, 0 },
        { "Broken", ScriptSpec::Fail, 0 } };
    return scenario;
}

class LoaderTest : public Support::TerminalTest {
protected:
    explicit LoaderTest(const StandIn::Scenario& scenario = Loading()) : TerminalTest(scenario) { }

    void TearDown() override
    {
        RunEnds();  // whatever a failed test left running ends before its terminal
    }

    // Waits (bounded) until `count` scripts have started.
    std::vector<ScriptRun> Runs(size_t count)
    {
        Utils::Wait::Until([&] { return terminal.ScriptRuns().size() >= count; }, 10, Patience);
        return terminal.ScriptRuns();
    }
    // Waits (bounded) until the loader's chart is gone: the end of a run
    // closes it.
    bool ChartGone(HWND view)
    {
        return Utils::Wait::Until([&] { return !IsWindow(view); }, 10, Patience);
    }
    // Stops a run in progress and waits (bounded) for its end: a stop finds
    // no run in progress.
    void RunEnds()
    {
        Utils::Wait::Until([&] { return loader(2, 1, H1Only.data(), "") == 2; }, 50, Patience);
    }
    // The commands, command-line texts and load requests that reached `view`,
    // without the Home keys and ticks of the waits.
    std::vector<std::string> Steps(HWND view)
    {
        std::vector<std::string> steps;
        for (const Event& event : terminal.Log().Take()) {
            if (event.kind == Event::Key && !event.text.empty())  // carried out in the command line
                steps.push_back("line " + event.text);
            else if (event.window != view)
                continue;
            else if (event.kind == Event::Internal)
                steps.push_back("load " + std::to_string(event.wParam));
            else if (event.kind == Event::Command && event.wParam != TickCommand)
                steps.push_back("command " + std::to_string(event.wParam));
        }
        return steps;
    }
    static ScriptRun Run(HWND view, const std::string& symbol, int period, const std::string& script = "Sensor")
    {
        return ScriptRun { view, script, symbol, period };
    }

    static constexpr WPARAM TickCommand = 33324;
    LoaderFn loader = library.Get<LoaderFn>("VelmorLoaderQuotes");
    Support::VoidOfIntFn sensor = library.Get<Support::VoidOfIntFn>("VelmorSensorLoadQuotes");
};

TEST_F(LoaderTest, SymbolFirstRunTakesEveryChosenTimeframeOfASymbolBeforeTheNextSymbol)
{
    EXPECT_EQ(loader(1, 1, M5AndH1.data(), "Sensor"), 0);
    std::vector<ScriptRun> runs = Runs(6);
    ASSERT_EQ(runs.size(), 6u);
    const HWND view = runs[0].view;
    ASSERT_TRUE(ChartGone(view));
    EXPECT_EQ(terminal.ScriptRuns(),
        (std::vector<ScriptRun> { Run(view, "EURUSD", 5), Run(view, "EURUSD", 60), Run(view, "GBPUSD", 5),
            Run(view, "GBPUSD", 60), Run(view, "USDJPY", 5), Run(view, "USDJPY", 60) }));
    // One chart for the whole run, auto-scroll switched off once through its
    // Properties, each symbol set with the first timeframe, then the chosen
    // timeframes each with the script, and the chart closed at the end.
    EXPECT_EQ(Steps(view),
        (std::vector<std::string> { "command 33157", "line EURUSD,1", "command 33138", "load 16", "command 33135",
            "load 16", "line GBPUSD,1", "command 33138", "load 16", "command 33135", "load 16", "line USDJPY,1",
            "command 33138", "load 16", "command 33135", "load 16", "command 57602" }));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST_F(LoaderTest, TimeframeFirstRunTakesEverySymbolOnATimeframeBeforeTheNextTimeframe)
{
    EXPECT_EQ(loader(1, 0, M5AndH1.data(), "Sensor"), 0);
    std::vector<ScriptRun> runs = Runs(6);
    ASSERT_EQ(runs.size(), 6u);
    const HWND view = runs[0].view;
    ASSERT_TRUE(ChartGone(view));
    EXPECT_EQ(terminal.ScriptRuns(),
        (std::vector<ScriptRun> { Run(view, "EURUSD", 5), Run(view, "GBPUSD", 5), Run(view, "USDJPY", 5),
            Run(view, "EURUSD", 60), Run(view, "GBPUSD", 60), Run(view, "USDJPY", 60) }));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
    // The command is 1 again: the next run goes through to its end.
    EXPECT_EQ(loader(1, 1, H1Only.data(), "Sensor"), 0);
    runs = Runs(9);
    ASSERT_EQ(runs.size(), 9u);
    ASSERT_TRUE(ChartGone(runs[6].view));
    EXPECT_EQ(std::vector<ScriptRun>(runs.begin() + 6, runs.end()),
        (std::vector<ScriptRun> { Run(runs[6].view, "EURUSD", 60), Run(runs[6].view, "GBPUSD", 60),
            Run(runs[6].view, "USDJPY", 60) }));
}

// A script that never signals holds its step, sending Home and ticking, until
// the caller steers: 0 ends that one wait, 2 ends the run after its wait.
TEST_F(LoaderTest, ASilentScriptHoldsItsStepUntilTheCallerSteersTheRun)
{
    EXPECT_EQ(loader(1, 1, H1AndH4.data(), "Silent"), 0);
    ASSERT_EQ(Runs(1).size(), 1u);
    const HWND view = terminal.ScriptRuns()[0].view;
    terminal.Log().Take();
    Sleep(1300);
    EXPECT_EQ(terminal.ScriptRuns().size(), 1u);
    std::vector<std::string> waits;
    for (const Event& event : terminal.Log().Take())
        if (event.window == view)
            waits.push_back(event.kind == Event::Key && event.message == WM_KEYDOWN && event.wParam == VK_HOME ? "home"
                    : event.kind == Event::Command && event.wParam == TickCommand                                 ? "tick"
                                                                                                                   : "other");
    ASSERT_GE(waits.size(), 4u);
    for (size_t i = 0; i < waits.size(); ++i) {
        EXPECT_NE(waits[i], "other") << i;
        if (i > 0) {
            EXPECT_NE(waits[i], waits[i - 1]) << i;  // a Home key, then a tick, and again
        }
    }

    EXPECT_EQ(loader(0, 1, H1AndH4.data(), "Sensor"), 1);  // ends this wait only
    ASSERT_EQ(Runs(2).size(), 2u);
    EXPECT_EQ(loader(1, 1, H1AndH4.data(), "Sensor"), 1);  // a run is in progress: nothing starts
    Sleep(600);
    EXPECT_EQ(terminal.ScriptRuns(), (std::vector<ScriptRun> { Run(view, "EURUSD", 60, "Silent"),
                                          Run(view, "EURUSD", 240, "Silent") }));
    EXPECT_EQ(loader(2, 1, H1AndH4.data(), "Sensor"), 1);
    ASSERT_TRUE(ChartGone(view));
    EXPECT_EQ(terminal.ScriptRuns().size(), 2u);
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});

    // No run in progress: a stop starts nothing and stores nothing; a run
    // starts with the order and timeframes stored and the command back at 1.
    EXPECT_EQ(loader(2, 0, H1Only.data(), "Sensor"), 2);
    EXPECT_EQ(loader(1, 1, H1AndH4.data(), "Sensor"), 0);
    std::vector<ScriptRun> runs = Runs(8);
    ASSERT_EQ(runs.size(), 8u);
    const HWND next = runs[2].view;
    EXPECT_TRUE(ChartGone(next));
    EXPECT_EQ(std::vector<ScriptRun>(runs.begin() + 2, runs.end()),
        (std::vector<ScriptRun> { Run(next, "EURUSD", 60), Run(next, "EURUSD", 240), Run(next, "GBPUSD", 60),
            Run(next, "GBPUSD", 240), Run(next, "USDJPY", 60), Run(next, "USDJPY", 240) }));
}

// The loader cannot tell a script that failed from one still at work: the
// step waits all the same, with the script gone from the chart.
TEST_F(LoaderTest, AScriptThatFailsLeavesItsChartAndItsStepWaitsUntilSkipped)
{
    EXPECT_EQ(loader(1, 0, H1Only.data(), "Broken"), 0);
    ASSERT_EQ(Runs(1).size(), 1u);
    const HWND view = terminal.ScriptRuns()[0].view;
    EXPECT_TRUE(Utils::Wait::Until([&] { return terminal.Programs(view).script.empty(); }, 10, Patience));
    Sleep(900);
    EXPECT_EQ(terminal.ScriptRuns().size(), 1u);
    EXPECT_EQ(loader(3, 0, H1Only.data(), "Sensor"), 1);  // any command but 1 and 2 skips the wait
    ASSERT_EQ(Runs(2).size(), 2u);
    EXPECT_EQ(terminal.ScriptRuns(),
        (std::vector<ScriptRun> { Run(view, "EURUSD", 60, "Broken"), Run(view, "GBPUSD", 60, "Broken") }));
    EXPECT_EQ(loader(2, 0, H1Only.data(), "Sensor"), 1);
    EXPECT_TRUE(ChartGone(view));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST_F(LoaderTest, AChartClosedDuringAWaitIsReplacedAndTheSameStepTakenAgain)
{
    EXPECT_EQ(loader(1, 1, H1AndH4.data(), "Silent"), 0);
    ASSERT_EQ(Runs(1).size(), 1u);
    const HWND first = terminal.ScriptRuns()[0].view;
    PostMessageA(GetParent(first), WM_CLOSE, 0, 0);
    ASSERT_EQ(Runs(2).size(), 2u);
    const HWND second = terminal.ScriptRuns()[1].view;
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(terminal.ScriptRuns(),
        (std::vector<ScriptRun> { Run(first, "EURUSD", 60, "Silent"), Run(second, "EURUSD", 60, "Silent") }));
    EXPECT_EQ(loader(2, 1, H1AndH4.data(), "Sensor"), 1);
    EXPECT_TRUE(ChartGone(second));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST_F(LoaderTest, TheSensorOfAChartNoLoaderWaitsOnReportsTheEventThatIsNotThere)
{
    const HWND view = terminal.Handles().chartViews.at(0);
    sensor(static_cast<int32_t>(reinterpret_cast<INT_PTR>(view)));
    const std::string name = "MT4::Windows::LoaderQuotes_" + std::to_string(reinterpret_cast<UINT_PTR>(view));
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorSensorLoadQuotes()",
            "Ошибка в методе \"Utils::Sync::Event::Open()\".\nСобытие \"" + name + "\" не открыто."
                + LastErrorText(ERROR_FILE_NOT_FOUND) } }));
}

TEST_F(LoaderTest, AScriptNameTakesAt259CharactersAndALongerOneStartsNothing)
{
    const std::string longest(259, 's');
    const std::string tooLong(260, 's');
    EXPECT_EQ(loader(2, 1, H1Only.data(), "Sensor"), 2);  // no run to stop: none starts
    EXPECT_EQ(loader(3, 1, H1Only.data(), "Sensor"), 2);
    EXPECT_EQ(loader(1, 1, H1Only.data(), tooLong.c_str()), -1);
    EXPECT_EQ(loader(1, 1, H1Only.data(), nullptr), -1);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> {
            { "VelmorLoaderQuotes()", "Метод \"MT4::LoaderQuotes::Run()\".\nИмя скрипта длиннее 259 символов." },
            { "VelmorLoaderQuotes()", "Метод \"MT4::LoaderQuotes::Run()\".\nНе указано имя скрипта." } }));
    Sleep(300);
    EXPECT_EQ(terminal.Log().Take(), std::vector<Event> {});

    // The terminal has no such script: the step waits until it is stopped.
    EXPECT_EQ(loader(1, 1, H1Only.data(), longest.c_str()), 0);
    ASSERT_TRUE(terminal.Log().WaitFor(
        [](const std::vector<Event>& events) {
            for (const Event& event : events)
                if (event.kind == Event::Internal && event.wParam == 16)
                    return true;
            return false;
        },
        Patience));
    EXPECT_EQ(loader(2, 1, H1Only.data(), "Sensor"), 1);
    RunEnds();
    EXPECT_EQ(terminal.ScriptRuns(), std::vector<ScriptRun> {});
}

TEST_F(LoaderTest, StartUpStopsARunInProgressAndClosesItsChart)
{
    EXPECT_EQ(loader(1, 1, H1AndH4.data(), "Silent"), 0);
    ASSERT_EQ(Runs(1).size(), 1u);
    const HWND view = terminal.ScriptRuns()[0].view;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    EXPECT_TRUE(ChartGone(view));
    EXPECT_EQ(terminal.ScriptRuns().size(), 1u);
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

class EmptyMarketWatchTest : public LoaderTest {
protected:
    EmptyMarketWatchTest() : LoaderTest(Loading({})) { }
};

TEST_F(EmptyMarketWatchTest, ARunOverNoSymbolsEndsAtOnceWithoutAChart)
{
    EXPECT_EQ(loader(1, 1, M5AndH1.data(), "Sensor"), 0);
    EXPECT_TRUE(Utils::Wait::Until([&] { return loader(2, 1, M5AndH1.data(), "Sensor") == 2; }, 20, 2000));
    Sleep(200);
    for (const Event& event : terminal.Log().Take())
        EXPECT_NE(event.kind, Event::Command) << event;
    EXPECT_EQ(terminal.ScriptRuns(), std::vector<ScriptRun> {});
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

// The loader itself (the library's code linked here): destroyed during a
// run, it stops the run and waits for its worker, which closes its chart.
TEST_F(LoaderTest, DestroyingTheLoaderDuringARunEndsItsWorkerAndClosesItsChart)
{
    HWND view = nullptr;
    {
        MT4::LoaderQuotes own;
        Utils::Pointer<MT4::Windows> model(nullptr);
        model = new MT4::Windows();
        model->Init(0);
        own.Replace(model);
        EXPECT_EQ(own.Run(1, true, H1AndH4.data(), "Silent"), 0);
        ASSERT_EQ(Runs(1).size(), 1u);
        view = terminal.ScriptRuns()[0].view;
        EXPECT_TRUE(own.Running());
        EXPECT_EQ(own.CommandNow(), 1);
    }
    EXPECT_TRUE(ChartGone(view));
    EXPECT_EQ(terminal.ScriptRuns().size(), 1u);
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

}  // namespace
