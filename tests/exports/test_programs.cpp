// Programs on charts through the real DLL against the stand-in: loads, refusals, removals, names, removal by name.
#include <gtest/gtest.h>
#include <functional>
#include <future>

#include "MT4/MqlString.h"
#include "Utils/Wait.h"
#include "Utils/Windows.h"
#include "support/StandInProcess.h"
#include "support/TerminalTest.h"

using StandIn::ChartPrograms;
using StandIn::Event;
using Boxes = std::vector<Support::Box>;
using Events = std::vector<Event>;
using Match = Utils::Windows::Match;
namespace {
using LoadFn = int32_t(WINAPI*)(int32_t, const char*, int32_t);
using NamesFn = int32_t(WINAPI*)(int32_t, int32_t, MT4::MqlString*, int32_t);
using RemoveFn = void(WINAPI*)(int32_t, int32_t, MT4::MqlString*, int32_t);
using Listed = std::pair<int32_t, std::vector<std::string>>;
using Names = std::vector<std::string>;
StandIn::Scenario WithPrograms(bool askRemoval, DWORD lagMs)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.programs = { { "MACD Sample", "PeriodConverter", { { "Moving Average", "MA(14)", "Bollinger Bands" },
        { "MACD" }, { "Relative Strength Index" } } }, { "", "", { { "Moving Average" } } } };
    scenario.askRemoval = askRemoval;
    if (lagMs)  // else the lag the run asks for (RAZ_STANDIN_LAG_MS)
        scenario.lagMs = lagMs;
    return scenario;
}

int32_t AsInteger(HWND window) { return static_cast<int32_t>(reinterpret_cast<INT_PTR>(window)); }
HWND AsWindow(int32_t value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(value)); }
template <class Done> bool Within5s(Done&& done) { return Utils::Wait::Until(done, 10, 5000); }

void ExpectSettles(StandIn::Terminal& terminal, HWND view, const ChartPrograms& expected)
{
    Within5s([&] { return terminal.Programs(view) == expected; });
    EXPECT_EQ(terminal.Programs(view), expected);
}
std::vector<MT4::MqlString> Descriptors(Names& texts, int32_t capacity)
{
    std::vector<MT4::MqlString> names;
    for (std::string& text : texts)
        names.push_back({ capacity ? capacity : static_cast<int32_t>(text.size() + 1), text.data() });
    return names;
}
std::string BadChart(std::string method) { return "Метод \"MT4::Windows::" + method + "()\".\n"
    "Неверный системный дескриптор графика."; }
struct Removal { size_t chart; int32_t window; Names names; };

class ProgramsTest : public Support::TerminalTest {
protected:
    explicit ProgramsTest(DWORD lagMs = 0) : TerminalTest(WithPrograms(false, lagMs)) { }
    void TearDown() override { EXPECT_EQ(boxes.Take(), Boxes {}); }  // no box beyond those a test took

    HWND View(size_t chart) const { return terminal.Handles().chartViews.at(chart); }
    int32_t Chart(size_t chart) const { return AsInteger(View(chart)); }
    LoadFn Load(const std::string& kind) const { return library.Get<LoadFn>(("VelmorLoad" + kind).c_str()); }
    int32_t Call(const char* name, int32_t chart) { return library.Get<Support::IntOfIntFn>(name)(chart); }
    Listed ListNames(int32_t window, size_t buffers, int32_t size, int32_t capacity = 32)  // no buffers: no array
    {
        Names texts(buffers, std::string(static_cast<size_t>(capacity), '#'));
        const int32_t count = library.Get<NamesFn>("VelmorGetNamesIndicators")(
            Chart(0), window, buffers ? Descriptors(texts, capacity).data() : nullptr, size);
        for (std::string& text : texts)
            text = text.c_str();
        return { count, texts };
    }
    Events Of(Event::Kind kind)
    {
        Events events = terminal.Log().Take();
        std::erase_if(events, [=](const Event& event) { return event.kind != kind; });
        return events;
    }
    void CancelDialog(const std::string& title, DWORD process = GetCurrentProcessId())
    {
        HWND found = nullptr;
        ASSERT_TRUE(Within5s([&] { return (found = Utils::Windows::FindFirst(nullptr, process, Match::Exact, "#32770",
                                           Match::Exact, title)); })) << title;
        Cancel(found);
    }
};

// Loads (unconfirmed: the dialog stays open) land where each kind belongs; the expert's Properties, switch and removal.
TEST_F(ProgramsTest, LoadsAttachEachKindWhereItBelongsThenTheExpertIsSwitchedAndRemoved)
{
    const struct { const char *kind, *name; int32_t confirm; } rows[] = { { "StdIndicator", "Moving Average", 0 },
        { "Script", "PeriodConverter", 0 }, { "Expert", "MACD Sample", 1 }, { "CustomIndicator", "ZigZag", 1 },
        { "StdIndicator", "MACD", 1 }, { "Script", "PeriodConverter", 1 } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Load(row.kind)(Chart(1), row.name, row.confirm), 1);
        if (!row.confirm)
            CancelDialog(row.name);
    }
    ExpectSettles(terminal, View(1), { "MACD Sample", "PeriodConverter", { { "Moving Average", "ZigZag" }, { "MACD" } } });
    std::vector<WPARAM> codes;
    for (const Event& event : Of(Event::Internal)) {
        EXPECT_EQ(std::make_pair(event.window, event.thread), std::make_pair(View(1), terminal.UiThread()));
        codes.push_back(event.wParam);
    }
    EXPECT_EQ(codes, (std::vector<WPARAM> { 13, 16, 14, 15, 13, 16 }));
    auto command = [this](HWND window, WPARAM id) { return Expected(Event::Command, window, WM_COMMAND, id, 0); };
    EXPECT_NE(Call("VelmorPropertiesExpert", Chart(0)), 0);
    CancelDialog("MACD Sample");
    library.Get<Support::VoidFn>("VelmorSetExperts")();
    EXPECT_FALSE(terminal.ExpertsEnabled());
    library.Get<Support::VoidFn>("VelmorSetExperts")();
    EXPECT_TRUE(terminal.ExpertsEnabled());
    EXPECT_EQ(Of(Event::Command), (Events { command(View(0), 33048), command(Main(), 33020), command(Main(), 33020) }));
    EXPECT_NE(Call("VelmorDeleteExpert", Chart(0)), 0);
    EXPECT_EQ(Call("VelmorDeleteScript", Chart(0)), 1);
    ExpectSettles(terminal, View(0), { "", "", terminal.Programs(View(0)).windows });  // the 2nd command may come later
    EXPECT_EQ(Received(3), (Events { command(View(0), 33050), command(View(0), 35426), command(View(0), 35426) }));
}

// Refusals and an unknown name end with one box; the Navigator mutex is let go (not abandoned) and waited for.
TEST_F(ProgramsTest, RefusalsAndAnUnknownNameEndWithOneBoxAndLoadsTakeTurnsAtTheNavigator)
{
    const std::string tooLong(260, 'x'), unknown(259, 'y'), names = "Метод \"MT4::Windows::GetNamesIndicators()\".\n";
    const struct { const char* name; std::function<int32_t()> call; std::string text; } rows[] = {
        { "VelmorLoadExpert", [&] { return Load("Expert")(Chart(0), tooLong.c_str(), 1); },
            "Ошибка в методе \"Utils::StringC::AnsiToCurrentCode()\".\nСтрока не скопирована." },
        { "VelmorLoadScript", [&] { return Load("Script")(0, "PeriodConverter", 1); }, BadChart("LoadScript") },
        { "VelmorDeleteScript", [&] { return Call("VelmorDeleteScript", 0); }, BadChart("DeleteScript") },
        { "VelmorGetNamesIndicators", [&] { return ListNames(0, 1, 0).first; },
            names + "Неверно указан размер массива с именами индикаторов." },
        { "VelmorGetNamesIndicators", [&] { return ListNames(0, 0, 3).first; },
            names + "Не указан массив с именами индикаторов." },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.call(), 0);
        EXPECT_EQ(boxes.Take(), (Boxes { { row.name + std::string("()"), row.text } }));
    }
    EXPECT_EQ(terminal.Log().Take(), Events {});
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(std::async(std::launch::async, [&] { return Load("Expert")(Chart(0), unknown.c_str(), 1); }).get(), 0);
    EXPECT_GE(GetTickCount64() - start, 10000u);
    EXPECT_LT(GetTickCount64() - start, 12000u);
    EXPECT_EQ(boxes.Take(), (Boxes { { "VelmorLoadExpert()", "Ошибка в методе \"MT4::Windows::LoadExpert()\".\n"
                                     "Окно параметров \"" + unknown + "\" не появилось за отведённое время." } }));
    EXPECT_EQ(Of(Event::Internal).size(), 1u);
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE,
        ("MT4::Windows::Mutex_Navigator_" + std::to_string(GetCurrentProcessId())).c_str());
    ASSERT_EQ(WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    auto loaded = std::async(std::launch::async, [&] { return Load("Expert")(Chart(1), "MACD Sample", 1); });
    Sleep(300);
    EXPECT_EQ(Of(Event::Internal), Events {});
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    EXPECT_EQ(loaded.get(), 1);
}

// The name goes over in the other process's memory; serving this process again, the other's chart is refused.
TEST_F(ProgramsTest, ALoadIntoAnotherProcessHandsTheNameOverInItsMemory)
{
    Support::StandInProcess other("english");
    const auto init = library.Get<Support::VoidOfIntFn>("VelmorInit");
    init(static_cast<int32_t>(other.Pid()));
    const int32_t chart = AsInteger(
        Utils::Windows::DescendantsWithClassPrefix(GetDlgItem(other.Main(), 0xE900), "AfxFrameOrView").at(0));
    EXPECT_EQ(Load("Expert")(chart, "MACD Sample", 0), 1);
    CancelDialog("MACD Sample", other.Pid());
    EXPECT_EQ(Load("CustomIndicator")(chart, "Heiken Ashi", 1), 1);
    init(0);
    EXPECT_EQ(Load("Expert")(chart, "MACD Sample", 0), 0);
    EXPECT_EQ(boxes.Take(), (Boxes { { "VelmorLoadExpert()", BadChart("LoadExpert") } }));
}

// No keeps the expert or script, Yes removes it; the library answers the terminal's question (no box watcher here).
TEST(RemovalQuestionTest, NoKeepsTheExpertOrScriptAndYesRemovesIt)
{
    StandIn::Terminal terminal(WithPrograms(true, 0));
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    const auto dialogScript = library.Get<Support::IntOfIntFn>("VelmorDialogScript");
    EXPECT_EQ(dialogScript(1), 0);  // nothing asked yet
    const HWND view = terminal.Handles().chartViews.at(0);
    const auto windows = terminal.Programs(view).windows;
    const struct { const char* remove; ChartPrograms kept, removed; } rows[] = {
        { "VelmorDeleteExpert", { "MACD Sample", "PeriodConverter", windows }, { "", "PeriodConverter", windows } },
        { "VelmorDeleteScript", { "", "PeriodConverter", windows }, { "", "", windows } } };
    for (const auto& row : rows)
        for (int32_t yes : { 0, 1 }) {
            SCOPED_TRACE(row.remove + std::string(yes ? " yes" : " no"));
            EXPECT_EQ(library.Get<Support::IntOfIntFn>(row.remove)(AsInteger(view)), 1);
            HWND question = nullptr;
            EXPECT_TRUE(Within5s([&] { return (question = AsWindow(dialogScript(yes))); }));
            ASSERT_TRUE(Within5s([&] { return !IsWindow(question); }));
            ExpectSettles(terminal, view, yes ? row.removed : row.kept);
        }
}

// Names count every line of the window asked for; one worker removes, in order, the lines a name begins (-1: all).
TEST_F(ProgramsTest, NamesAndRemovalByNameKeepToTheWindowAskedFor)
{
    const std::string unread(32, '#');
    EXPECT_EQ(ListNames(0, 3, 2), (Listed { 3, { "Moving Average", "MA(14)", unread } }));  // two of three asked for
    EXPECT_EQ(ListNames(-1, 3, 3), (Listed { 5, { "Moving Average", "MA(14)", "Bollinger Bands" } }));
    EXPECT_EQ(ListNames(2, 2, 2), (Listed { 1, { "Relative Strength Index", unread } }));
    EXPECT_EQ(ListNames(3, 1, 1), (Listed { 0, { unread } }));  // no such sub-window
    EXPECT_EQ(ListNames(0, 1, 1, 5), (Listed { 3, { "Movi" } }));  // cut to the capacity
    const ChartPrograms untouched { "", "", { { "Moving Average" } } };
    const auto first = [](std::vector<Names> w) { return ChartPrograms { "MACD Sample", "PeriodConverter", w }; };
    const struct { const char* name; std::vector<Removal> removals; ChartPrograms first, second; } rows[] = {
        { "MACD (its window goes with it) and MA(14), not Moving Average", { { 0, -1, { "MA" } } },
            first({ { "Moving Average", "Bollinger Bands" }, { "Relative Strength Index" } }), untouched },
        { "only in the window asked for", { { 0, 0, { "Relative" } }, { 0, 1, { "Relative", "Bollinger" } } },
            first({ { "Moving Average", "Bollinger Bands" } }), untouched },
        { "two charts, in their order", { { 1, 0, { "Moving" } }, { 0, 0, { "Bollinger" } } },
            first({ { "Moving Average" } }), {} },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        terminal.Log().Clear();
        for (Removal r : row.removals)
            library.Get<RemoveFn>("VelmorDeleteIndicatorsByName")(
                Chart(r.chart), r.window, Descriptors(r.names, 0).data(), static_cast<int32_t>(r.names.size()));
        ExpectSettles(terminal, View(0), row.first);
        ExpectSettles(terminal, View(1), row.second);
        EXPECT_TRUE(Within5s([] { return !Utils::Windows::FindFirst(nullptr, GetCurrentProcessId(), Match::Exact,
            "#32770", Match::Prefix, "Indicators on"); }));  // the worker is done before the next row and the end
    }
    const Events activated = Of(Event::Activate);
    ASSERT_EQ(activated.size(), 2u);
    EXPECT_EQ(std::make_pair(activated[0].window, activated[1].window), std::make_pair(View(1), View(0)));
}

// Lists left open, of this chart and of another, are neither read nor closed for this chart's late one.
struct LaggingListTest : ProgramsTest { LaggingListTest() : ProgramsTest(300) { } };
TEST_F(LaggingListTest, ListsLeftOpenOfThisOrAnotherChartAreNeverReadForThisChartsLateOne)
{
    const HWND same = AsWindow(Call("VelmorListIndicators", Chart(0)));
    const HWND other = AsWindow(Call("VelmorListIndicators", Chart(1)));
    ASSERT_TRUE(same && other);
    EXPECT_EQ(ListNames(-1, 3, 3), (Listed { 5, { "Moving Average", "MA(14)", "Bollinger Bands" } }));
    EXPECT_TRUE(IsWindow(same) && IsWindow(other));
    Cancel(other);
    Cancel(same);
}

}  // namespace
