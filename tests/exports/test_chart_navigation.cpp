// Zoom, one step, deselection, scrolling to a time and keys.
#include <thread>

#include "ChartFixture.h"

using namespace ChartTest;

using NavigationTest = Fixture;

TEST_F(NavigationTest, ZoomActivatesTheChartBeforeTheTerminalZoomsTheActiveOne)
{
    EXPECT_NE(Call("VelmorZoom", Id(View(0)), 2), 0);
    ExpectActivatedThen(0, 33025);
    EXPECT_NE(Call("VelmorZoom", Id(View(0)), 0), 0);
    EXPECT_NE(Call("VelmorZoom", Id(View(0)), 0), 0);
    EXPECT_EQ(Received(2), (std::vector<Event> { Command(Main(), 33026), Command(Main(), 33026) }));
    EXPECT_EQ(terminal.Chart(View(0)).zoom * 10 + terminal.Chart(View(2)).zoom, 12);
}

// Step and scroll are sent (done when the export returns), deselection and keys posted (the code's low byte).
TEST_F(NavigationTest, StepScrollDeselectionAndKeysReachTheChart)
{
    Call<void>("VelmorStepByStep", Id(View(1)));
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(View(1), 33197) }));
    EXPECT_EQ(terminal.Chart(View(1)).steps, 1);

    const UINT internal = RegisterWindowMessageA("MetaTrader4_Internal_Message");
    Call<void>("VelmorSetBar", Id(View(1)), 0);
    Call<void>("VelmorSetBar", Id(View(1)), 1700000000);
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Expected(Event::Internal, View(1), internal, 55, 0),
                                         Expected(Event::Internal, View(1), internal, 55, 1700000000) }));
    EXPECT_EQ(terminal.Chart(View(1)).scrollTime, 1700000000);
    Call<void>("VelmorSetBar", Id(View(1)), -1);
    EXPECT_EQ(boxes.Take(), std::vector<Box> { Refusal("VelmorSetBar", "Выбрано отрицательное значение времени.") });
    EXPECT_NE(Call("VelmorDeselectObjects", Id(View(1))), 0);
    EXPECT_EQ(Call("VelmorChartKeyDown", Id(View(0)), 0x126), 1);
    EXPECT_EQ(Call("VelmorChartKeyUp", Id(View(0)), 0x326), 1);
    auto up = [&](UINT message) { return Expected(Event::Key, View(0), message, VK_UP, 1); };
    EXPECT_EQ(Received(3), (std::vector<Event> { Command(View(1), 35462), up(WM_KEYDOWN), up(WM_KEYUP) }));
    EXPECT_EQ(Call("VelmorChartKeyDown", Id(GoneWindow()), VK_UP), 0); // a post that fails is no error
    EXPECT_TRUE(boxes.Take().empty());
}

// The keys reach the window with the keyboard focus; while another thread holds the active-chart mutex none is.
TEST_F(NavigationTest, HotKeysWaitForTheActiveChartMutexAndReachTheFocusedChart)
{
    terminal.OnUiThread([&] { SetForegroundWindow(Main()), SetFocus(Main()); });
    terminal.Log().Clear();
    HANDLE mutex = ActiveChartMutex();
    ASSERT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    std::thread pressing([&] { Call<void>("VelmorChartHotKeys", Id(View(2)), 0x153, 0x111); });
    EXPECT_TRUE(Quiet(300));
    ReleaseMutex(mutex);
    pressing.join();
    auto key = [&](UINT m, WPARAM k, bool up) { return Expected(Event::Key, View(2), m, k, up ? 0xC1450001u : 0x01450001); };
    EXPECT_EQ(Received(5), (std::vector<Event> { key(WM_KEYDOWN, VK_CONTROL, false), key(WM_KEYDOWN, 'S', false),
                               key(WM_CHAR, 0x13, false), key(WM_KEYUP, 'S', true), key(WM_KEYUP, VK_CONTROL, true) }));

    // A refused modifier or chart presses nothing and leaves the mutex free.
    Call<void>("VelmorChartHotKeys", Id(View(2)), 'S', 0x41);
    Call<void>("VelmorChartHotKeys", 0, 'S', VK_CONTROL);
    const Box modifier { "VelmorChartsHotKeys()", "Метод \"Utils::Keyboard::Hot()\".\nКод второй клавиши выбран неверно." };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { modifier, ZeroHandle("VelmorChartsHotKeys", "ChartHotKeys") }));
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    ReleaseMutex(mutex), CloseHandle(mutex);
    EXPECT_TRUE(Quiet(100));
}
