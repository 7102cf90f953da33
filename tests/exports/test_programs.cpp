// Programs on charts through the real DLL against the stand-in terminal:
// loads with and without confirmation, the name rule and a name the terminal
// does not know, loads into another process, removing experts and scripts and
// the script question, the experts switch, and the indicator list: names by
// window and removal by names through the queue.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>

#include "MT4/MqlString.h"
#include "StandIn.h"
#include "Utils/Wait.h"
#include "Utils/Windows.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"
#include "support/StandInProcess.h"

using StandIn::ChartPrograms;
using StandIn::Event;
using Support::Box;
using Match = Utils::Windows::Match;

namespace {

using LoadFn = int32_t(WINAPI*)(int32_t, const char*, int32_t);
using NamesFn = int32_t(WINAPI*)(int32_t, int32_t, MT4::MqlString*, int32_t);
using DeleteByNameFn = void(WINAPI*)(int32_t, int32_t, MT4::MqlString*, int32_t);

constexpr DWORD Patience = 5000;

// Chart 0 holds an expert, a script, three indicators on the main chart and
// one in each of two sub-windows; chart 1 holds one indicator.
StandIn::Scenario WithPrograms(bool askRemoval = false, DWORD lagMs = 0)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.programs = {
        { "MACD Sample", "PeriodConverter", { { "Moving Average", "MA(14)", "Bollinger Bands" }, { "MACD" },
                                                { "Relative Strength Index" } } },
        { "", "", { { "Moving Average" } } },
    };
    scenario.askRemoval = askRemoval;
    scenario.lagMs = lagMs;
    return scenario;
}

int32_t AsInteger(HWND window)
{
    return static_cast<int32_t>(reinterpret_cast<INT_PTR>(window));
}

class ProgramsTest : public ::testing::Test {
protected:
    explicit ProgramsTest(bool askRemoval = false, DWORD lagMs = 0) : terminal(WithPrograms(askRemoval, lagMs))
    {
    }

    void SetUp() override
    {
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        terminal.Log().Clear();
    }

    HWND View(size_t chart) const { return terminal.Handles().chartViews.at(chart); }
    int32_t Chart(size_t chart) const { return AsInteger(View(chart)); }
    // Waits (bounded) until the chart holds `expected`.
    ChartPrograms ProgramsOnceSettled(size_t chart, const ChartPrograms& expected)
    {
        Utils::Wait::Until([&] { return terminal.Programs(View(chart)) == expected; }, 10, Patience);
        return terminal.Programs(View(chart));
    }
    // A dialog of this process with exactly this title, waited for (bounded).
    HWND Dialog(const std::string& title, DWORD processId = GetCurrentProcessId())
    {
        HWND found = nullptr;
        Utils::Wait::Until([&] {
            found = Utils::Windows::FindFirst(nullptr, processId, Match::Exact, "#32770", Match::Exact, title);
            return found != nullptr;
        }, 20, Patience);
        return found;
    }
    bool ListGone()
    {
        return Utils::Wait::Until([&] {
            return !Utils::Windows::FindFirst(nullptr, GetCurrentProcessId(), Match::Exact, "#32770", Match::Prefix,
                "Indicators on");
        }, 20, Patience);
    }
    static void Cancel(HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }
    std::vector<Event> Of(Event::Kind kind)
    {
        std::vector<Event> events = terminal.Log().Take();
        events.erase(std::remove_if(events.begin(), events.end(), [kind](const Event& e) { return e.kind != kind; }),
            events.end());
        return events;
    }

    StandIn::Terminal terminal;
    Support::Library library;
    LoadFn loadExpert = library.Get<LoadFn>("VelmorLoadExpert");
    LoadFn loadScript = library.Get<LoadFn>("VelmorLoadScript");
    LoadFn loadStdIndicator = library.Get<LoadFn>("VelmorLoadStdIndicator");
    LoadFn loadCustomIndicator = library.Get<LoadFn>("VelmorLoadCustomIndicator");
};

class ProgramsWithBoxesTest : public ProgramsTest {
protected:
    explicit ProgramsWithBoxesTest(DWORD lagMs = 0) : ProgramsTest(false, lagMs) { }
    Support::BoxWatcher boxes;
};

TEST_F(ProgramsWithBoxesTest, ConfirmedLoadsAttachEachKindWhereItBelongs)
{
    EXPECT_EQ(loadExpert(Chart(1), "MACD Sample", 1), 1);
    EXPECT_EQ(loadCustomIndicator(Chart(1), "ZigZag", 1), 1);
    EXPECT_EQ(loadStdIndicator(Chart(1), "MACD", 1), 1);
    EXPECT_EQ(loadScript(Chart(1), "PeriodConverter", 1), 1);
    const ChartPrograms expected { "MACD Sample", "PeriodConverter", { { "Moving Average", "ZigZag" }, { "MACD" } } };
    EXPECT_EQ(ProgramsOnceSettled(1, expected), expected);
    std::vector<WPARAM> codes;
    for (const Event& event : Of(Event::Internal)) {
        EXPECT_EQ(event.window, View(1));
        EXPECT_EQ(event.thread, terminal.UiThread());
        codes.push_back(event.wParam);
    }
    EXPECT_EQ(codes, (std::vector<WPARAM> { 14, 15, 13, 16 }));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST_F(ProgramsWithBoxesTest, WithoutConfirmationTheDialogStaysOpenAndAScriptIsNotWaitedFor)
{
    EXPECT_EQ(loadStdIndicator(Chart(1), "Moving Average", 0), 1);
    HWND dialog = Dialog("Moving Average");  // shown before the load returned
    ASSERT_NE(dialog, nullptr);
    Cancel(dialog);
    ASSERT_TRUE(ListGone());
    EXPECT_EQ(loadScript(Chart(1), "PeriodConverter", 0), 1);
    HWND script = Dialog("PeriodConverter");
    ASSERT_NE(script, nullptr);
    Cancel(script);
    EXPECT_EQ(ProgramsOnceSettled(1, terminal.Programs(View(1))), (ChartPrograms { "", "", { { "Moving Average" } } }));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST_F(ProgramsWithBoxesTest, ANameTakesAt259BytesAndAChartHandleMustNotBeZero)
{
    const std::string tooLong(260, 'x');
    EXPECT_EQ(loadExpert(Chart(0), tooLong.c_str(), 1), 0);
    EXPECT_EQ(loadScript(0, "PeriodConverter", 1), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> {
            { "VelmorLoadExpert()", "Ошибка в методе \"Utils::StringC::AnsiToCurrentCode()\".\nСтрока не скопирована." },
            { "VelmorLoadScript()", "Метод \"MT4::Windows::LoadScript()\".\nНеверный системный дескриптор графика." } }));
    EXPECT_EQ(terminal.Log().Take(), std::vector<Event> {});
}

TEST_F(ProgramsWithBoxesTest, ANameTheTerminalDoesNotKnowEndsAtTheBoundAndFreesTheNavigator)
{
    const std::string unknown(259, 'y');
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(loadExpert(Chart(0), unknown.c_str(), 1), 0);
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_GE(took, 10000u);
    EXPECT_LT(took, 12000u);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorLoadExpert()",
            "Ошибка в методе \"MT4::Windows::LoadExpert()\".\nОкно параметров \"" + unknown
                + "\" не появилось за отведённое время." } }));
    const std::vector<Event> received = Of(Event::Internal);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].wParam, 14u);
    // Another thread takes the Navigator mutex at once.
    DWORD waited = WAIT_FAILED;
    std::thread other([&] {
        HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE,
            ("MT4::Windows::Mutex_Navigator_" + std::to_string(GetCurrentProcessId())).c_str());
        waited = WaitForSingleObject(mutex, 0);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    });
    other.join();
    EXPECT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0));
}

// Loads take turns: one waits while another program's holds the Navigator.
TEST_F(ProgramsWithBoxesTest, ALoadWaitsWhileAnotherHoldsTheNavigator)
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE,
        ("MT4::Windows::Mutex_Navigator_" + std::to_string(GetCurrentProcessId())).c_str());
    ASSERT_EQ(WaitForSingleObject(mutex, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    int32_t loaded = -1;
    std::thread other([&] { loaded = loadExpert(Chart(1), "MACD Sample", 1); });
    Sleep(300);
    EXPECT_EQ(Of(Event::Internal), std::vector<Event> {});
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    other.join();
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(Of(Event::Internal).size(), 1u);
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST_F(ProgramsWithBoxesTest, ALoadIntoAnotherProcessHandsTheNameOverInItsMemory)
{
    Support::StandInProcess other("english");
    library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(other.Pid()));
    const std::vector<HWND> views = Utils::Windows::DescendantsWithClassPrefix(
        GetDlgItem(other.Main(), 0xE900), "AfxFrameOrView");
    ASSERT_FALSE(views.empty());
    EXPECT_EQ(loadExpert(AsInteger(views[0]), "MACD Sample", 0), 1);
    HWND dialog = Dialog("MACD Sample", other.Pid());
    ASSERT_NE(dialog, nullptr);
    Cancel(dialog);
    EXPECT_EQ(loadCustomIndicator(AsInteger(views[0]), "Heiken Ashi", 1), 1);
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
    // Serving this process again, the other's chart is refused: the name's
    // address would mean nothing there.
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    EXPECT_EQ(loadExpert(AsInteger(views[0]), "MACD Sample", 0), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorLoadExpert()",
            "Метод \"MT4::Windows::LoadExpert()\".\nНеверный системный дескриптор графика." } }));
}

TEST_F(ProgramsWithBoxesTest, ExpertAndScriptRemovalPropertiesAndTheExpertsSwitch)
{
    EXPECT_NE(library.Get<Support::IntOfIntFn>("VelmorDeleteExpert")(Chart(0)), 0);
    EXPECT_EQ(library.Get<Support::IntOfIntFn>("VelmorDeleteScript")(Chart(0)), 1);
    const ChartPrograms left { "", "", terminal.Programs(View(0)).windows };
    EXPECT_EQ(ProgramsOnceSettled(0, left), left);
    auto command = [this](HWND window, WPARAM id) {
        return Event { Event::Command, window, WM_COMMAND, id, 0, {}, terminal.UiThread() };
    };
    // The second removal command is posted: it may come after the script is gone.
    terminal.Log().WaitFor([](const std::vector<Event>& events) { return events.size() >= 3; }, Patience);
    EXPECT_EQ(terminal.Log().Take(),
        (std::vector<Event> { command(View(0), 33050), command(View(0), 35426), command(View(0), 35426) }));

    EXPECT_NE(loadExpert(Chart(0), "Moving Average", 1), 0);
    ProgramsOnceSettled(0, { "Moving Average", "", left.windows });
    terminal.Log().Clear();
    EXPECT_NE(library.Get<Support::IntOfIntFn>("VelmorPropertiesExpert")(Chart(0)), 0);
    HWND properties = Dialog("Moving Average");
    ASSERT_NE(properties, nullptr);
    Cancel(properties);

    library.Get<void(WINAPI*)()>("VelmorSetExperts")();
    EXPECT_FALSE(terminal.ExpertsEnabled());
    library.Get<void(WINAPI*)()>("VelmorSetExperts")();
    EXPECT_TRUE(terminal.ExpertsEnabled());
    EXPECT_EQ(Of(Event::Command), (std::vector<Event> { command(View(0), 33048), command(terminal.Handles().main, 33020),
                                      command(terminal.Handles().main, 33020) }));

    EXPECT_EQ(library.Get<Support::IntOfIntFn>("VelmorDeleteScript")(0), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorDeleteScript()",
            "Метод \"MT4::Windows::DeleteScript()\".\nНеверный системный дескриптор графика." } }));
}

// The question box of the terminal is answered by the library: no box watcher.
class RemovalQuestionTest : public ProgramsTest {
protected:
    RemovalQuestionTest() : ProgramsTest(true) { }
    HWND Answer(int32_t yes)
    {
        HWND answered = nullptr;
        Utils::Wait::Until([&] {
            answered = reinterpret_cast<HWND>(static_cast<INT_PTR>(dialogScript(yes)));
            return answered != nullptr;
        }, 50, Patience);
        return answered;
    }
    Support::IntOfIntFn dialogScript = library.Get<Support::IntOfIntFn>("VelmorDialogScript");
};

// The expert stop question, then the script removal question (the first is
// a prefix of the second in English): No keeps the program, Yes removes it.
TEST_F(RemovalQuestionTest, NoKeepsTheExpertOrScriptAndYesRemovesIt)
{
    EXPECT_EQ(dialogScript(1), 0);  // nothing asked yet
    const int32_t chart = Chart(0);
    const auto windows = terminal.Programs(View(0)).windows;
    const struct {
        const char* remove;
        StandIn::ChartPrograms kept, removed;
    } rows[] = { { "VelmorDeleteExpert", { "MACD Sample", "PeriodConverter", windows },
                     { "", "PeriodConverter", windows } },
        { "VelmorDeleteScript", { "", "PeriodConverter", windows }, { "", "", windows } } };
    for (const auto& row : rows) {
        auto remove = library.Get<Support::IntOfIntFn>(row.remove);
        EXPECT_EQ(remove(chart), 1) << row.remove;
        HWND question = Answer(0);
        EXPECT_NE(question, nullptr) << row.remove;
        ASSERT_TRUE(Utils::Wait::Until([&] { return !IsWindow(question); }, 10, Patience));
        EXPECT_EQ(terminal.Programs(View(0)), row.kept) << row.remove;
        EXPECT_EQ(remove(chart), 1) << row.remove;
        EXPECT_NE(Answer(1), nullptr) << row.remove;
        EXPECT_EQ(ProgramsOnceSettled(0, row.removed), row.removed) << row.remove;
    }
}

class IndicatorListTest : public ProgramsWithBoxesTest {
protected:
    explicit IndicatorListTest(DWORD lagMs = 0) : ProgramsWithBoxesTest(lagMs) { }

    // Descriptors over buffers of `capacity` bytes, filled with '#'.
    struct Names {
        Names(size_t count, int32_t capacity) : buffers(count, std::string(static_cast<size_t>(capacity), '#'))
        {
            for (std::string& buffer : buffers)
                descriptors.push_back({ capacity, buffer.data() });
        }
        std::string Text(size_t i) const { return std::string(buffers[i].c_str()); }
        std::vector<std::string> buffers;
        std::vector<MT4::MqlString> descriptors;
    };

    int32_t GetNames(int32_t window, Names& names, int32_t size)
    {
        return library.Get<NamesFn>("VelmorGetNamesIndicators")(Chart(0), window, names.descriptors.data(), size);
    }
    void DeleteByName(size_t chart, int32_t window, std::vector<std::string> texts)
    {
        std::vector<MT4::MqlString> names;
        for (std::string& text : texts)
            names.push_back({ static_cast<int32_t>(text.size() + 1), text.data() });
        library.Get<DeleteByNameFn>("VelmorDeleteIndicatorsByName")(
            Chart(chart), window, names.data(), static_cast<int32_t>(names.size()));
    }
};

TEST_F(IndicatorListTest, NamesByWindowCountAllAndFillWhatTheArrayHolds)
{
    Names names(3, 32);
    EXPECT_EQ(GetNames(0, names, 2), 3);  // three on the main chart, two asked for
    EXPECT_EQ(names.Text(0), "Moving Average");
    EXPECT_EQ(names.Text(1), "MA(14)");
    EXPECT_EQ(names.buffers[2], std::string(32, '#'));
    EXPECT_EQ(GetNames(-1, names, 3), 5);
    EXPECT_EQ(names.Text(2), "Bollinger Bands");
    EXPECT_EQ(GetNames(2, names, 3), 1);
    EXPECT_EQ(names.Text(0), "Relative Strength Index");
    EXPECT_EQ(GetNames(3, names, 3), 0);  // no such sub-window
    Names short_(1, 5);
    EXPECT_EQ(GetNames(1, short_, 1), 1);
    EXPECT_EQ(short_.Text(0), "MACD");
    EXPECT_EQ(GetNames(0, short_, 1), 3);
    EXPECT_EQ(short_.Text(0), "Movi");  // cut to the capacity
    EXPECT_TRUE(ListGone());
    EXPECT_EQ(GetNames(0, names, 0), 0);
    EXPECT_EQ(library.Get<NamesFn>("VelmorGetNamesIndicators")(Chart(0), 0, nullptr, 3), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorGetNamesIndicators()",
                                "Метод \"MT4::Windows::GetNamesIndicators()\".\nНеверно указан размер массива с "
                                "именами индикаторов." },
            { "VelmorGetNamesIndicators()",
                "Метод \"MT4::Windows::GetNamesIndicators()\".\nНе указан массив с именами индикаторов." } }));
}

TEST_F(IndicatorListTest, ANameRemovesEveryIndicatorItBeginsInAllWindows)
{
    DeleteByName(0, -1, { "MA" });  // MACD (its window goes with it) and MA(14), not Moving Average
    const ChartPrograms expected { "MACD Sample", "PeriodConverter",
        { { "Moving Average", "Bollinger Bands" }, { "Relative Strength Index" } } };
    EXPECT_EQ(ProgramsOnceSettled(0, expected), expected);
    EXPECT_TRUE(ListGone());
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST_F(IndicatorListTest, AWindowNumberLimitsTheRemovalToThatWindow)
{
    DeleteByName(0, 1, { "Relative", "Bollinger" });  // neither is in window 1
    DeleteByName(0, 2, { "Relative" });
    const ChartPrograms expected { "MACD Sample", "PeriodConverter",
        { { "Moving Average", "MA(14)", "Bollinger Bands" }, { "MACD" } } };
    EXPECT_EQ(ProgramsOnceSettled(0, expected), expected);
    EXPECT_TRUE(ListGone());
}

TEST_F(IndicatorListTest, RequestsForTwoChartsAreServedInTheirOrder)
{
    DeleteByName(1, 0, { "Moving" });
    DeleteByName(0, 0, { "Moving", "Bollinger" });
    const ChartPrograms second { "MACD Sample", "PeriodConverter",
        { { "MA(14)" }, { "MACD" }, { "Relative Strength Index" } } };
    EXPECT_EQ(ProgramsOnceSettled(0, second), second);
    EXPECT_EQ(ProgramsOnceSettled(1, ChartPrograms {}), ChartPrograms {});
    std::vector<HWND> activated;
    for (const Event& event : Of(Event::Activate))
        activated.push_back(event.window);
    EXPECT_EQ(activated, (std::vector<HWND> { View(1), View(0) }));
    EXPECT_TRUE(ListGone());  // the worker is done before its terminal goes
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

class LaggingIndicatorListTest : public IndicatorListTest {
protected:
    LaggingIndicatorListTest() : IndicatorListTest(300) { }
};

// Lists left open (by VelmorListIndicators, as a user leaves them), of this
// chart and of another, while this chart's own comes late: neither is read
// nor closed for it.
TEST_F(LaggingIndicatorListTest, ListsLeftOpenOfThisOrAnotherChartAreNeverReadForThisChartsLateOne)
{
    auto list = [&](size_t chart) {
        return reinterpret_cast<HWND>(
            static_cast<INT_PTR>(library.Get<Support::IntOfIntFn>("VelmorListIndicators")(Chart(chart))));
    };
    const HWND same = list(0), other = list(1);
    ASSERT_NE(same, nullptr);
    ASSERT_NE(other, nullptr);
    Names names(3, 32);
    EXPECT_EQ(GetNames(-1, names, 3), 5);
    EXPECT_EQ(names.Text(2), "Bollinger Bands");
    EXPECT_TRUE(IsWindow(same) && IsWindow(other));
    Cancel(other);
    Cancel(same);
    EXPECT_TRUE(ListGone());
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

}  // namespace
