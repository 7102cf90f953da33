// Chart enumeration, activation and closing, and every chart export's refusal of the zero handle.
#include <thread>

#include "ChartFixture.h"

using namespace ChartTest;

using ChartsTest = Fixture;

TEST_F(ChartsTest, ChartsAreListedTopmostFirstIntoNoMoreThanTheArrayOrTheChartsHold)
{
    const int32_t guard = 0x5A5A5A5A, top = Id(View(2)), middle = Id(View(1)), bottom = Id(View(0));
    EXPECT_EQ(Call("VelmorNumberCharts"), 3);
    std::vector<int32_t> two(3, guard), five(6, guard), untouched(2, guard);
    EXPECT_EQ(Call("VelmorGetAllHandlesCharts", two.data(), 2), top);
    EXPECT_EQ(two, (std::vector<int32_t> { top, middle, guard }));
    EXPECT_EQ(Call("VelmorGetAllHandlesCharts", five.data(), 5), top);
    EXPECT_EQ(five, (std::vector<int32_t> { top, middle, bottom, guard, guard, guard }));
    EXPECT_EQ(Call("VelmorGetAllHandlesCharts", untouched.data(), 0), 0);
    EXPECT_EQ(Call("VelmorGetAllHandlesCharts", static_cast<int32_t*>(nullptr), 4), 0);
    EXPECT_EQ(untouched, std::vector<int32_t>(2, guard));
    const std::string copy = "\"Utils::Array::Copy()\".\n";
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorGetAllHandlesCharts()", "Функция \"Utils::Checking::"
        "GetCountDirect()\" обнаружила ошибку в методе " + copy + "Отсутствует количество элементов." },
        { "VelmorGetAllHandlesCharts()", "Метод " + copy + "Не передан массив для заполнения." } }));

    // Anything inside the chart area is a chart, and nothing else.
    for (HWND chart : { View(0), Frame(1) }) EXPECT_EQ(Call("VelmorIsChart", Id(chart)), 1);
    for (HWND other : { terminal.Handles().chartArea, Main(), terminal.Handles().marketWatchList, GoneWindow(), HWND {} })
        EXPECT_EQ(Call("VelmorIsChart", Id(other)), 0) << other;
    EXPECT_TRUE(boxes.Take().empty());
}

// A window gone, or one outside the chart area, is no chart to activate; a refusal leaves the mutex free.
TEST_F(ChartsTest, ActivationMakesTheChartTheOnlyActiveOneAndNoChartIsRefused)
{
    Call<void>("VelmorSetActiveChart", Id(View(0)));
    EXPECT_EQ(Received(1, Event::Activate), (std::vector<Event> { Activated(0, Frame(2)) }));
    for (size_t i : { 0, 1, 2 })
        EXPECT_EQ(Call("VelmorIsChartActive", Id(View(i))), i == 0 ? 1 : 0) << i;
    Call<void>("VelmorSetActiveChart", Id(GoneWindow()));
    Call<void>("VelmorSetActiveChart", Id(terminal.Handles().marketWatchList));
    const Box refused = Refusal("VelmorSetActiveChart", "Не получен системный дескриптор родительского окна графика.",
        true, "SetActiveChartStart");
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { refused, refused }));
    std::thread([&] { Call<void>("VelmorSetActiveChart", Id(View(1))); }).join();
    EXPECT_EQ(Received(1, Event::Activate), (std::vector<Event> { Activated(1, Frame(0)) }));
}

static int g_ticks = 0;
static VOID CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

// An expert holds the active-chart mutex: on the interface thread the wait serves the terminal (its timer fires).
TEST_F(ChartsTest, OnTheInterfaceThreadTheWaitForTheActiveChartServesTheTerminal)
{
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread expert([held] {
        HANDLE mutex = ActiveChartMutex();
        WaitForSingleObject(mutex, 5000), SetEvent(held), Sleep(600), ReleaseMutex(mutex), CloseHandle(mutex);
    });
    ASSERT_EQ(WaitForSingleObject(held, 5000), WAIT_OBJECT_0);
    CloseHandle(held), g_ticks = 0;
    ULONGLONG took = 0;
    terminal.OnUiThread([&] {
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, CountTick);
        const ULONGLONG start = GetTickCount64();
        Call<void>("VelmorSetActiveChart", Id(View(0)));
        took = GetTickCount64() - start;
        KillTimer(nullptr, timer);
    });
    expert.join();
    EXPECT_TRUE(took >= 500u && g_ticks >= 5) << took << " ms, " << g_ticks << " ticks";
    EXPECT_EQ(Call("VelmorIsChartActive", Id(View(0))), 1);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(ChartsTest, ClosingPostsTheCloseCommandAndWithoutChartsNothingIsListedOrPosted)
{
    EXPECT_NE(Call("VelmorCloseChart", Id(View(1))), 0);
    EXPECT_EQ(Received(1, Event::Command), (std::vector<Event> { Command(View(1), 0xE102) }));
    EXPECT_TRUE(Gone(Frame(1)));
    EXPECT_EQ(Call("VelmorNumberCharts"), 2);
    EXPECT_EQ(Call("VelmorCloseChart", Id(GoneWindow())), 0); // posted to nothing

    Call<void>("VelmorCloseAllCharts");
    EXPECT_EQ(Received(2, Event::Command), (std::vector<Event> { Command(View(2), 0xE102), Command(View(0), 0xE102) }));
    EXPECT_TRUE(Gone(Frame(0)));
    int32_t handles[2] = { 7, 7 };
    EXPECT_EQ(Call("VelmorNumberCharts"), 0);
    EXPECT_EQ(Call("VelmorGetAllHandlesCharts", handles, 2), 0);
    EXPECT_EQ(handles[0], 7);
    EXPECT_EQ(Call("VelmorIsChartActive", Id(GoneWindow())) + Call("VelmorIsChartActive", Id(Main())), 0);
    terminal.Log().Clear();
    Call<void>("VelmorCloseAllCharts");
    EXPECT_TRUE(Quiet(200));
    EXPECT_TRUE(boxes.Take().empty());
}

// The box names the export and the operation (by default the export's name without "Velmor") that refused it.
TEST_F(ChartsTest, EveryChartExportRefusesTheZeroHandleUnderItsName)
{
    using Caller = std::function<int32_t(const char*)>;
    const Caller one = [&](const char* name) { return Call(name, 0); };
    const Caller none = [&](const char* name) { return Call<void>(name, 0), 0; };
    const Caller text = [&](const char* name) { return Call<void>(name, 0, "H1"), 0; };
    const Caller two = [&](const char* name) { return Call(name, 0, 1); };
    const Caller twoNone = [&](const char* name) { return Call<void>(name, 0, 1), 0; };
    MT4::Windows::ChartCheckBoxEntry entry { 1253, 0, 0 };
    struct Row { const char* name; Caller call; const char* method = nullptr; int32_t result = 0; };
    const std::vector<Row> rows = { { "VelmorZoom", two }, { "VelmorChartKeyUp", two }, { "VelmorIsChartActive", one },
        { "VelmorSetActiveChart", none, "SetActiveChartStart" }, { "VelmorCloseChart", one },
        { "VelmorSetShowObjectDescriptions", [&](const char*) { return Call("VelmorSetShowObjectDescript", 0, 1); } },
        { "VelmorGetShowGrid", one }, { "VelmorGetViewChart", one, nullptr, -1 }, { "VelmorShowVolume", one },
        { "VelmorOpenPropertiesChart", two },
        { "PropertiesChartCheckBox", [&](const char*) { return Call<void>("VelmorPropertiesChartCheckBox", 0, 0, &entry, 1), 0; } },
        { "VelmorIsCmd", one, "IsVisibleCmd" }, { "VelmorIsVisibleCmd", one }, { "VelmorOpenCmd", one },
        { "VelmorCreatCmd", one, "OpenCmd" }, { "VelmorCloseCmd", none }, { "VelmorWriteCmd", text },
        { "VelmorClearCmd", none, "WriteCmd" },
        { "VelmorReadCmd", [&](const char* name) { return *Call<const char*>(name, 0) ? -1 : 0; } },
        { "VelmorSetToolChartPeriod", [&](const char* name) { return Call<void>(name, 0, "EURUSD", 60), 0; },
            "SetToolChart" },
        { "VelmorSetTimeframeByNumber", twoNone }, { "VelmorSetTimeframeByPeriod", twoNone },
        { "VelmorSetTimeframeByName", text }, { "VelmorSetTemplateByNumber", two }, { "VelmorSetTemplateByName", text } };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.call(row.name), row.result);
        EXPECT_EQ(boxes.Take(), std::vector<Box> { ZeroHandle(row.name, row.method ? row.method : "") });
    }
    EXPECT_TRUE(Quiet(200));
}
