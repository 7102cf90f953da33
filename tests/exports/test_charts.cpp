// Chart enumeration, activation and closing against the stand-in terminal.
#include <thread>

#include "ChartFixture.h"
#include "MT4/Windows.h"

namespace ChartTest {
namespace {

using ArrayFn = int32_t(WINAPI*)(int32_t*, uint32_t);

class ChartsTest : public Fixture {
protected:
    ArrayFn all = Fn<ArrayFn>("VelmorGetAllHandlesCharts");
    Support::IntFn number = Fn<Support::IntFn>("VelmorNumberCharts");
    Support::IntOfIntFn isChart = Fn<Support::IntOfIntFn>("VelmorIsChart");
    Support::IntOfIntFn isActive = Fn<Support::IntOfIntFn>("VelmorIsChartActive");
    Support::VoidOfIntFn activate = Fn<Support::VoidOfIntFn>("VelmorSetActiveChart");
    Support::IntOfIntFn close = Fn<Support::IntOfIntFn>("VelmorCloseChart");
};

// A window that existed: its handle names no window any more.
HWND GoneWindow()
{
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(window);
    return window;
}

TEST_F(ChartsTest, ChartsComeTopmostFirstAndFillNoMoreThanTheArrayOrTheChartsHold)
{
    const int32_t guard = 0x5A5A5A5A;
    const int32_t top = Id(View(2)), middle = Id(View(1)), bottom = Id(View(0));
    EXPECT_EQ(number(), 3);

    std::vector<int32_t> two = { guard, guard, guard };
    EXPECT_EQ(all(two.data(), 2), top);
    EXPECT_EQ(two, (std::vector<int32_t> { top, middle, guard }));

    std::vector<int32_t> five(6, guard);
    EXPECT_EQ(all(five.data(), 5), top);
    EXPECT_EQ(five, (std::vector<int32_t> { top, middle, bottom, guard, guard, guard }));

    std::vector<int32_t> untouched(2, guard);
    EXPECT_EQ(all(untouched.data(), 0), 0);
    EXPECT_EQ(all(nullptr, 4), 0);
    EXPECT_EQ(untouched, std::vector<int32_t>(2, guard));
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorGetAllHandlesCharts()",
                                "Функция \"Utils::Checking::GetCountDirect()\" обнаружила ошибку в методе "
                                "\"Utils::Array::Copy()\".\nОтсутствует количество элементов." },
            { "VelmorGetAllHandlesCharts()",
                "Метод \"Utils::Array::Copy()\".\nНе передан массив для заполнения." } }));
}

TEST_F(ChartsTest, AnythingInsideTheChartAreaIsAChartAndNothingElse)
{
    EXPECT_EQ(isChart(Id(View(0))), 1);
    EXPECT_EQ(isChart(Id(Frame(1))), 1);
    EXPECT_EQ(isChart(Id(terminal.Handles().chartArea)), 0);
    EXPECT_EQ(isChart(Id(Main())), 0);
    EXPECT_EQ(isChart(Id(terminal.Handles().marketWatchList)), 0);
    EXPECT_EQ(isChart(Id(GoneWindow())), 0);
    EXPECT_EQ(isChart(0), 0);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(ChartsTest, ActivationMakesTheChartTheTopmostAndOnlyActiveOne)
{
    EXPECT_EQ(isActive(Id(View(2))), 1);
    activate(Id(View(0)));
    EXPECT_EQ(Received(Event::Activate, 1), (std::vector<Event> { Activated(0, Frame(2)) }));
    EXPECT_EQ(isActive(Id(View(0))), 1);
    EXPECT_EQ(isActive(Id(View(1))), 0);
    EXPECT_EQ(isActive(Id(View(2))), 0);

    EXPECT_EQ(isActive(0), 0);
    activate(0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorIsChartActive()", ZeroHandle("IsChartActive") },
            { "VelmorSetActiveChart()", ZeroHandle("SetActiveChartStart") } }));
}

int g_ticks = 0;
VOID CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

// An indicator activates a chart while an expert holds the active-chart
// mutex: on the terminal's interface thread the wait serves the terminal (a
// timer of that thread keeps firing) until the mutex is free.
TEST_F(ChartsTest, OnTheInterfaceThreadTheWaitForTheActiveChartServesTheTerminal)
{
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread expert([held] {
        HANDLE mutex = CreateMutexA(nullptr, FALSE,
            MT4::Windows::MutexName(MT4::Windows::MutexActiveChart, GetCurrentProcessId()).c_str());
        WaitForSingleObject(mutex, 5000);
        SetEvent(held);
        Sleep(600);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    });
    ASSERT_EQ(WaitForSingleObject(held, 5000), WAIT_OBJECT_0);
    CloseHandle(held);
    g_ticks = 0;
    ULONGLONG took = 0;
    terminal.OnUiThread([&] {
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, CountTick);
        const ULONGLONG start = GetTickCount64();
        activate(Id(View(0)));
        took = GetTickCount64() - start;
        KillTimer(nullptr, timer);
    });
    expert.join();
    EXPECT_GE(took, 500u);
    EXPECT_GE(g_ticks, 5);
    EXPECT_EQ(isActive(Id(View(0))), 1);
    EXPECT_TRUE(boxes.Take().empty());
}

// A window gone, or one outside the chart area, is no chart to activate.
TEST_F(ChartsTest, AnActivationOfNoChartIsRefusedAndLeavesTheActiveChartMutexFree)
{
    const Box refused { "VelmorSetActiveChart()",
        "Ошибка в методе \"MT4::Windows::SetActiveChartStart()\".\nНе получен системный дескриптор родительского "
        "окна графика." };
    activate(Id(GoneWindow()));
    activate(Id(terminal.Handles().marketWatchList));
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { refused, refused }));
    // Another thread activates at once: nobody holds the mutex.
    std::thread other([&] { activate(Id(View(1))); });
    other.join();
    EXPECT_EQ(Received(Event::Activate, 1), (std::vector<Event> { Activated(1, Frame(2)) }));
}

TEST_F(ChartsTest, ClosingPostsTheCloseCommandAndTheChartGoes)
{
    EXPECT_NE(close(Id(View(1))), 0);
    EXPECT_EQ(Received(Event::Command, 1), (std::vector<Event> { Command(View(1), 0xE102) }));
    EXPECT_TRUE(Gone(Frame(1)));
    EXPECT_EQ(number(), 2);
    EXPECT_EQ(isChart(Id(View(1))), 0);

    EXPECT_EQ(close(Id(GoneWindow())), 0); // posted to nothing
    EXPECT_EQ(close(0), 0);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorCloseChart()", ZeroHandle("CloseChart") } }));

    Fn<void(WINAPI*)()>("VelmorCloseAllCharts")();
    EXPECT_EQ(Received(Event::Command, 2),
        (std::vector<Event> { Command(View(2), 0xE102), Command(View(0), 0xE102) }));
    EXPECT_TRUE(Gone(Frame(0)));
    EXPECT_EQ(number(), 0);
    // No chart open: no handle, chart or not, is the active chart.
    EXPECT_EQ(isActive(Id(GoneWindow())), 0);
    EXPECT_EQ(isActive(Id(Main())), 0);
    EXPECT_TRUE(boxes.Take().empty());
}

class NoChartsTest : public Fixture {
protected:
    NoChartsTest()
        : Fixture(StandIn::Scenario::Named("no-charts"))
    {
    }
};

TEST_F(NoChartsTest, WithoutChartsNothingIsCountedWrittenOrPosted)
{
    int32_t handles[2] = { 7, 7 };
    EXPECT_EQ(Fn<Support::IntFn>("VelmorNumberCharts")(), 0);
    EXPECT_EQ(Fn<ArrayFn>("VelmorGetAllHandlesCharts")(handles, 2), 0);
    EXPECT_EQ(Fn<ArrayFn>("VelmorGetAllHandlesCharts")(handles, 0), 0);
    Fn<void(WINAPI*)()>("VelmorCloseAllCharts")();
    EXPECT_EQ(handles[0], 7);
    EXPECT_EQ(handles[1], 7);
    EXPECT_TRUE(Quiet(200));
    EXPECT_TRUE(boxes.Take().empty());
}

} // namespace
} // namespace ChartTest
