// Programs on charts through the real DLL against the stand-in terminal: loads, refusals, removing
// experts and scripts (and the terminal's question), the experts switch, the indicator list and the
// queued removal of indicators by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

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
using Listed = std::pair<int32_t, std::vector<std::string>>;

// Chart 0: an expert, a script, three indicators on the main chart and one in
// each of two sub-windows; chart 1: one indicator.
StandIn::Scenario WithPrograms(bool askRemoval, DWORD lagMs)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.programs = { { "MACD Sample", "PeriodConverter", { { "Moving Average", "MA(14)", "Bollinger Bands" },
                                                                    { "MACD" }, { "Relative Strength Index" } } },
        { "", "", { { "Moving Average" } } } };
    scenario.askRemoval = askRemoval;
    scenario.lagMs = lagMs;
    return scenario;
}

int32_t AsInteger(HWND window) { return static_cast<int32_t>(reinterpret_cast<INT_PTR>(window)); }
HWND AsWindow(int32_t value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(value)); }

template <class Done> bool Within5s(Done&& done) { return Utils::Wait::Until(done, 10, 5000); }

ChartPrograms Settled(StandIn::Terminal& terminal, HWND view, const ChartPrograms& expected)
{
    Within5s([&] { return terminal.Programs(view) == expected; });
    return terminal.Programs(view);
}

// Waits (bounded) for the process's dialog with exactly this title, and cancels it.
void CancelDialog(const std::string& title, DWORD process = GetCurrentProcessId())
{
    HWND found = nullptr;
    ASSERT_TRUE(Within5s([&] {
        return (found = Utils::Windows::FindFirst(nullptr, process, Match::Exact, "#32770", Match::Exact, title));
    })) << title;
    PostMessageA(found, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(Within5s([&] { return !IsWindow(found); }));
}

// Descriptors of these texts, each of `capacity` bytes (0: of its own size).
std::vector<MT4::MqlString> Descriptors(std::vector<std::string>& texts, int32_t capacity)
{
    std::vector<MT4::MqlString> names;
    for (std::string& text : texts)
        names.push_back({ capacity ? capacity : static_cast<int32_t>(text.size() + 1), text.data() });
    return names;
}

HANDLE Navigator()
{
    return OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE,
        ("MT4::Windows::Mutex_Navigator_" + std::to_string(GetCurrentProcessId())).c_str());
}

std::string BadChart(const char* method)
{
    return std::string("Метод \"MT4::Windows::") + method + "()\".\nНеверный системный дескриптор графика.";
}

class ProgramsTest : public Support::TerminalTest {
protected:
    explicit ProgramsTest(DWORD lagMs = 0) : TerminalTest(WithPrograms(false, lagMs)) { }

    HWND View(size_t chart) const { return terminal.Handles().chartViews.at(chart); }
    int32_t Chart(size_t chart) const { return AsInteger(View(chart)); }
    LoadFn Load(const std::string& kind) const { return library.Get<LoadFn>(("VelmorLoad" + kind).c_str()); }
    int32_t Call(const char* name, int32_t chart) { return library.Get<Support::IntOfIntFn>(name)(chart); }
    // The count, and the buffers (`capacity` bytes, '#' at first) as the names of chart 0 left them.
    Listed Names(int32_t window, size_t buffers, int32_t size, int32_t capacity = 32)
    {
        std::vector<std::string> texts(buffers, std::string(static_cast<size_t>(capacity), '#'));
        const int32_t count = library.Get<NamesFn>("VelmorGetNamesIndicators")(
            Chart(0), window, Descriptors(texts, capacity).data(), size);
        for (std::string& text : texts)
            text = text.c_str();
        return { count, texts };
    }
    void DeleteByName(size_t chart, int32_t window, std::vector<std::string> texts)
    {
        library.Get<void(WINAPI*)(int32_t, int32_t, MT4::MqlString*, int32_t)>("VelmorDeleteIndicatorsByName")(
            Chart(chart), window, Descriptors(texts, 0).data(), static_cast<int32_t>(texts.size()));
    }
    Events Of(Event::Kind kind)
    {
        Events events = terminal.Log().Take();
        events.erase(std::remove_if(events.begin(), events.end(), [=](auto& e) { return e.kind != kind; }),
            events.end());
        return events;
    }
};

// Unconfirmed, a load leaves its dialog open (a script's is not waited for);
// confirmed, each kind lands where it belongs. All by the internal message.
TEST_F(ProgramsTest, LoadsAttachEachKindWhereItBelongs)
{
    const struct {
        const char *kind, *name;
        int32_t confirm;
    } rows[] = { { "StdIndicator", "Moving Average", 0 }, { "Script", "PeriodConverter", 0 },
        { "Expert", "MACD Sample", 1 }, { "CustomIndicator", "ZigZag", 1 }, { "StdIndicator", "MACD", 1 },
        { "Script", "PeriodConverter", 1 } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Load(row.kind)(Chart(1), row.name, row.confirm), 1);
        if (!row.confirm)
            CancelDialog(row.name);
    }
    const ChartPrograms expected { "MACD Sample", "PeriodConverter", { { "Moving Average", "ZigZag" }, { "MACD" } } };
    EXPECT_EQ(Settled(terminal, View(1), expected), expected);
    std::vector<WPARAM> codes;
    for (const Event& event : Of(Event::Internal)) {
        EXPECT_EQ(std::make_pair(event.window, event.thread), std::make_pair(View(1), terminal.UiThread()));
        codes.push_back(event.wParam);
    }
    EXPECT_EQ(codes, (std::vector<WPARAM> { 13, 16, 14, 15, 13, 16 }));
    EXPECT_EQ(boxes.Take(), Boxes {});
}

TEST_F(ProgramsTest, RefusalsReturnZeroWithOneBoxAndSendNothing)
{
    const std::string tooLong(260, 'x');  // a name takes at most 259 bytes
    const struct {
        const char* name;
        std::function<int32_t()> call;
        std::string text;
    } rows[] = {
        { "VelmorLoadExpert", [&] { return Load("Expert")(Chart(0), tooLong.c_str(), 1); },
            "Ошибка в методе \"Utils::StringC::AnsiToCurrentCode()\".\nСтрока не скопирована." },
        { "VelmorLoadScript", [&] { return Load("Script")(0, "PeriodConverter", 1); }, BadChart("LoadScript") },
        { "VelmorDeleteScript", [&] { return Call("VelmorDeleteScript", 0); }, BadChart("DeleteScript") },
        { "VelmorGetNamesIndicators", [&] { return Names(0, 1, 0).first; },
            "Метод \"MT4::Windows::GetNamesIndicators()\".\nНеверно указан размер массива с именами индикаторов." },
        { "VelmorGetNamesIndicators", [&] { return library.Get<NamesFn>("VelmorGetNamesIndicators")(Chart(0), 0, nullptr, 3); },
            "Метод \"MT4::Windows::GetNamesIndicators()\".\nНе указан массив с именами индикаторов." },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.call(), 0);
        EXPECT_EQ(boxes.Take(), (Boxes { { row.name + std::string("()"), row.text } }));
    }
    EXPECT_EQ(terminal.Log().Take(), Events {});
}

// A load holds the Navigator mutex: it lets it go also when its dialog never comes (the name is
// unknown; a thread that ended holding it would leave it abandoned), and waits while another holds it.
TEST_F(ProgramsTest, AnUnknownNameEndsAtTheBoundAndLoadsTakeTurnsAtTheNavigator)
{
    const std::string unknown(259, 'y');
    const ULONGLONG start = GetTickCount64();
    std::thread([&] { EXPECT_EQ(Load("Expert")(Chart(0), unknown.c_str(), 1), 0); }).join();
    EXPECT_GE(GetTickCount64() - start, 10000u);
    EXPECT_LT(GetTickCount64() - start, 12000u);
    EXPECT_EQ(boxes.Take(), (Boxes { { "VelmorLoadExpert()", "Ошибка в методе \"MT4::Windows::LoadExpert()\".\n"
                                     "Окно параметров \"" + unknown + "\" не появилось за отведённое время." } }));
    const Events received = Of(Event::Internal);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].wParam, 14u);

    HANDLE mutex = Navigator();
    ASSERT_EQ(WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    int32_t loaded = -1;
    std::thread other([&] { loaded = Load("Expert")(Chart(1), "MACD Sample", 1); });
    Sleep(300);
    EXPECT_EQ(Of(Event::Internal), Events {});
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    other.join();
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(Of(Event::Internal).size(), 1u);
    EXPECT_EQ(boxes.Take(), Boxes {});
}

// The name goes over in the other process's memory; serving this process
// again, the other's chart is refused: the address would mean nothing there.
TEST_F(ProgramsTest, ALoadIntoAnotherProcessHandsTheNameOverInItsMemory)
{
    Support::StandInProcess other("english");
    library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(other.Pid()));
    const auto views = Utils::Windows::DescendantsWithClassPrefix(GetDlgItem(other.Main(), 0xE900), "AfxFrameOrView");
    ASSERT_FALSE(views.empty());
    EXPECT_EQ(Load("Expert")(AsInteger(views[0]), "MACD Sample", 0), 1);
    CancelDialog("MACD Sample", other.Pid());
    EXPECT_EQ(Load("CustomIndicator")(AsInteger(views[0]), "Heiken Ashi", 1), 1);
    EXPECT_EQ(boxes.Take(), Boxes {});
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    EXPECT_EQ(Load("Expert")(AsInteger(views[0]), "MACD Sample", 0), 0);
    EXPECT_EQ(boxes.Take(), (Boxes { { "VelmorLoadExpert()", BadChart("LoadExpert") } }));
}

TEST_F(ProgramsTest, ExpertAndScriptRemovalPropertiesAndTheExpertsSwitch)
{
    EXPECT_NE(Call("VelmorDeleteExpert", Chart(0)), 0);
    EXPECT_EQ(Call("VelmorDeleteScript", Chart(0)), 1);
    const ChartPrograms left { "", "", terminal.Programs(View(0)).windows };
    EXPECT_EQ(Settled(terminal, View(0), left), left);
    auto command = [this](HWND window, WPARAM id) { return Expected(Event::Command, window, WM_COMMAND, id, 0); };
    // The second removal command is posted: it may come after the script is gone.
    EXPECT_EQ(Received(3), (Events { command(View(0), 33050), command(View(0), 35426), command(View(0), 35426) }));
    EXPECT_NE(Load("Expert")(Chart(0), "Moving Average", 1), 0);
    Settled(terminal, View(0), { "Moving Average", "", left.windows });
    terminal.Log().Clear();
    EXPECT_NE(Call("VelmorPropertiesExpert", Chart(0)), 0);
    CancelDialog("Moving Average");
    library.Get<Support::VoidFn>("VelmorSetExperts")();
    EXPECT_FALSE(terminal.ExpertsEnabled());
    library.Get<Support::VoidFn>("VelmorSetExperts")();
    EXPECT_TRUE(terminal.ExpertsEnabled());
    EXPECT_EQ(Of(Event::Command), (Events { command(View(0), 33048), command(Main(), 33020), command(Main(), 33020) }));
    EXPECT_EQ(boxes.Take(), Boxes {});
}

// The expert stop question, then the script removal question (the first is a
// prefix of the second in English): No keeps the program, Yes removes it. The
// library answers the terminal's box: no box watcher here.
TEST(RemovalQuestionTest, NoKeepsTheExpertOrScriptAndYesRemovesIt)
{
    StandIn::Terminal terminal(WithPrograms(true, 0));
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    auto dialogScript = library.Get<Support::IntOfIntFn>("VelmorDialogScript");
    EXPECT_EQ(dialogScript(1), 0);  // nothing asked yet
    const HWND view = terminal.Handles().chartViews.at(0);
    const auto windows = terminal.Programs(view).windows;
    const struct {
        const char* remove;
        ChartPrograms kept, removed;
    } rows[] = { { "VelmorDeleteExpert", { "MACD Sample", "PeriodConverter", windows }, { "", "PeriodConverter", windows } },
        { "VelmorDeleteScript", { "", "PeriodConverter", windows }, { "", "", windows } } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.remove);
        for (int32_t yes : { 0, 1 }) {
            EXPECT_EQ(library.Get<Support::IntOfIntFn>(row.remove)(AsInteger(view)), 1);
            HWND question = nullptr;
            EXPECT_TRUE(Within5s([&] { return (question = AsWindow(dialogScript(yes))); }));
            ASSERT_TRUE(Within5s([&] { return !IsWindow(question); }));
            EXPECT_EQ(Settled(terminal, view, yes ? row.removed : row.kept), yes ? row.removed : row.kept);
        }
    }
}

TEST_F(ProgramsTest, NamesByWindowCountAllAndFillWhatTheArrayHolds)
{
    const std::string untouched(32, '#');
    EXPECT_EQ(Names(0, 3, 2), (Listed { 3, { "Moving Average", "MA(14)", untouched } }));  // two of three asked for
    EXPECT_EQ(Names(-1, 3, 3), (Listed { 5, { "Moving Average", "MA(14)", "Bollinger Bands" } }));
    EXPECT_EQ(Names(2, 2, 2), (Listed { 1, { "Relative Strength Index", untouched } }));
    EXPECT_EQ(Names(3, 1, 1), (Listed { 0, { untouched } }));  // no such sub-window
    EXPECT_EQ(Names(1, 1, 1, 5), (Listed { 1, { "MACD" } }));
    EXPECT_EQ(Names(0, 1, 1, 5), (Listed { 3, { "Movi" } }));  // cut to the capacity
    EXPECT_EQ(boxes.Take(), Boxes {});
}

// One worker serves the requests in their order; a name removes every indicator
// line it begins, in the window asked for (every window for -1).
TEST_F(ProgramsTest, RemovalByNameTakesWhatANameBeginsInTheWindowAskedFor)
{
    const ChartPrograms untouched { "", "", { { "Moving Average" } } };
    const struct {
        const char* name;
        std::function<void()> requests;
        ChartPrograms first, second;
    } rows[] = {
        { "MACD (its window goes with it) and MA(14), not Moving Average", [&] { DeleteByName(0, -1, { "MA" }); },
            { "MACD Sample", "PeriodConverter", { { "Moving Average", "Bollinger Bands" }, { "Relative Strength Index" } } },
            untouched },
        { "only in the window asked for", [&] {
             DeleteByName(0, 0, { "Relative" });
             DeleteByName(0, 1, { "Relative", "Bollinger" });
         }, { "MACD Sample", "PeriodConverter", { { "Moving Average", "Bollinger Bands" } } }, untouched },
        { "two charts, in their order", [&] {
             DeleteByName(1, 0, { "Moving" });
             DeleteByName(0, 0, { "Bollinger" });
         }, { "MACD Sample", "PeriodConverter", { { "Moving Average" } } }, {} },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        terminal.Log().Clear();
        row.requests();
        EXPECT_EQ(Settled(terminal, View(0), row.first), row.first);
        EXPECT_EQ(Settled(terminal, View(1), row.second), row.second);
        EXPECT_TRUE(Within5s([] {  // the worker is done before the next row, and before its terminal goes
            return !Utils::Windows::FindFirst(nullptr, GetCurrentProcessId(), Match::Exact, "#32770",
                Match::Prefix, "Indicators on");
        }));
    }
    std::vector<HWND> activated;
    for (const Event& event : Of(Event::Activate))
        activated.push_back(event.window);
    EXPECT_EQ(activated, (std::vector<HWND> { View(1), View(0) }));
    EXPECT_EQ(boxes.Take(), Boxes {});
}

class LaggingListTest : public ProgramsTest {
protected:
    LaggingListTest() : ProgramsTest(300) { }
};

// Lists left open (as a user leaves them), of this chart and of another, while
// this chart's own comes late: neither is read nor closed for it.
TEST_F(LaggingListTest, ListsLeftOpenOfThisOrAnotherChartAreNeverReadForThisChartsLateOne)
{
    const HWND same = AsWindow(Call("VelmorListIndicators", Chart(0)));
    const HWND other = AsWindow(Call("VelmorListIndicators", Chart(1)));
    ASSERT_TRUE(same && other);
    EXPECT_EQ(Names(-1, 3, 3), (Listed { 5, { "Moving Average", "MA(14)", "Bollinger Bands" } }));
    EXPECT_TRUE(IsWindow(same) && IsWindow(other));
    Cancel(other);
    Cancel(same);
    EXPECT_EQ(boxes.Take(), Boxes {});
}

}  // namespace
