// A chart's display settings through its Properties dialog, against the
// stand-in terminal: what each export clicked, what it returned, and that the
// dialog is gone afterwards.
#include <windows.h>
#include <commctrl.h>

#include <thread>

#include "ChartFixture.h"
#include "MT4/Windows.h"

namespace ChartTest {
namespace {

using StandIn::ChartSetting;
using Entry = MT4::Windows::ChartCheckBoxEntry;
using CheckBoxFn = void(WINAPI*)(int32_t, int32_t, Entry*, int32_t);
using ScaleFn = void(WINAPI*)(int32_t, double, double);

const int Settings = static_cast<int>(ChartSetting::Count);
const char* const Names[Settings] = { "ShowAsk", "ShowObjectDescript", "Foreground", "ShowGrid", "Offline",
    "ShowOHLC", "ScaleFix", "ScaleFix1To1", "AutoScroll", "ShowPeriodSeparators", "Shift", "ShowVolume" };
const UINT Boxes[Settings] = { 1248, 1251, 1252, 1253, 1257, 1258, 1259, 1260, 1261, 1262, 1263, 1264 };

// The first chart holds every other setting, the second the terminal's defaults.
StandIn::Scenario Patterned(StandIn::Language language = StandIn::Language::English)
{
    StandIn::Scenario scenario;
    scenario.language = language;
    StandIn::ChartSpec first { "EURUSD", 60 };
    for (int i = 0; i < Settings; ++i)
        first.settings[i] = i % 2 == 0;
    first.view = 2;
    scenario.charts = { first, { "GBPUSD", 240 } };
    return scenario;
}

// Every Properties dialog of this process (class "#32770", title beginning
// with the English or the Russian word).
BOOL CALLBACK CollectProperties(HWND window, LPARAM found)
{
    char className[64] = "", title[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const std::string text = title;
    if (process == GetCurrentProcessId() && std::string(className) == "#32770"
        && (text.rfind("Properties of", 0) == 0 || text.rfind("Свойства", 0) == 0))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> PropertiesDialogs()
{
    std::vector<HWND> found;
    EnumWindows(CollectProperties, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class SettingsTest : public Fixture {
protected:
    explicit SettingsTest(const StandIn::Scenario& scenario = Patterned())
        : Fixture(scenario)
    {
    }

    int32_t Get(int setting, HWND chart)
    {
        return Fn<Support::IntOfIntFn>(("VelmorGet" + std::string(Names[setting])).c_str())(Id(chart));
    }
    int32_t Set(int setting, HWND chart, int32_t checked)
    {
        return Fn<IntOfIntIntFn>(("VelmorSet" + std::string(Names[setting])).c_str())(Id(chart), checked);
    }

    // The commands and clicks the terminal received (Properties command,
    // check boxes, OK), once the dialog has been closed.
    std::vector<WPARAM> Commands()
    {
        std::vector<WPARAM> commands;
        for (const Event& event : Received(Event::Command, 1))
            commands.push_back(event.wParam);
        return commands;
    }
};

TEST_F(SettingsTest, EachGetReadsItsCheckBoxAndLeavesTheChartAndNoDialogBehind)
{
    const StandIn::ChartSpec before = terminal.Chart(View(0));
    for (int i = 0; i < Settings; ++i) {
        EXPECT_EQ(Get(i, View(0)), i % 2 == 0 ? 1 : 0) << Names[i];
        EXPECT_TRUE(PropertiesDialogs().empty()) << Names[i];
    }
    EXPECT_EQ(Get(3, View(1)), 1); // the other chart's grid
    const StandIn::ChartSpec after = terminal.Chart(View(0));
    EXPECT_TRUE(std::equal(before.settings, before.settings + Settings, after.settings));
    EXPECT_EQ(after.fixedMaximum, before.fixedMaximum);
    EXPECT_TRUE(boxes.Take().empty());

    // The chart is activated once; each reading is the command and OK.
    std::vector<Event> received = Received(Event::Command, 26);
    ASSERT_EQ(received.size(), 26u);
    EXPECT_EQ(received[0], Command(View(0), 33157));
    EXPECT_EQ(received[1].wParam, static_cast<WPARAM>(IDOK));
    EXPECT_EQ(received[24], Command(View(1), 33157));
    for (size_t i = 0; i < received.size(); ++i)
        EXPECT_EQ(received[i].wParam, i % 2 == 0 ? 33157u : static_cast<WPARAM>(IDOK)) << i;
}

TEST_F(SettingsTest, ASetClicksOnlyWhenTheStateDiffersAndReturnsTheStateReadBack)
{
    EXPECT_EQ(Set(3, View(0), 5), 1);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33157, 1253, IDOK }));
    EXPECT_EQ(Set(3, View(0), 5), 1);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33157, IDOK }));
    EXPECT_TRUE(terminal.Chart(View(0)).Setting(ChartSetting::Grid));
    EXPECT_EQ(Set(3, View(0), 0), 0);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33157, 1253, IDOK }));

    // Every setting turned over on the first chart, which holds every other one.
    for (int i = 0; i < Settings; ++i) {
        const int32_t wanted = i % 2 == 0 ? 0 : -1;
        EXPECT_EQ(Set(i, View(0), wanted), wanted ? 1 : 0) << Names[i];
        EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33157, Boxes[i], IDOK })) << Names[i];
        EXPECT_EQ(terminal.Chart(View(0)).settings[i], wanted != 0) << Names[i];
    }
    EXPECT_TRUE(PropertiesDialogs().empty());

    EXPECT_EQ(Set(1, 0, 1), 0);
    EXPECT_EQ(Get(3, 0), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorSetShowObjectDescriptions()", ZeroHandle("SetShowObjectDescriptions") },
            { "VelmorGetShowGrid()", ZeroHandle("GetShowGrid") } }));
}

TEST_F(SettingsTest, TogglesAndDisplayTypesArePostedToTheChart)
{
    const char* const toggles[4]
        = { "VelmorAutoScroll", "VelmorShift", "VelmorShowGrid", "VelmorShowVolume" };
    for (const char* toggle : toggles)
        EXPECT_NE(Fn<Support::IntOfIntFn>(toggle)(Id(View(1))), 0) << toggle;
    auto setView = Fn<IntOfIntIntFn>("VelmorSetViewChart");
    for (int32_t view : { 0, 2, 1, 65536 })
        EXPECT_NE(setView(Id(View(1)), view), 0);
    std::vector<WPARAM> posted;
    for (const Event& event : Received(Event::Command, 8)) {
        EXPECT_EQ(event.window, View(1));
        posted.push_back(event.wParam);
    }
    EXPECT_EQ(posted, (std::vector<WPARAM> { 33017, 33023, 33021, 33024, 33018, 33022, 33019, 33018 }));
    const StandIn::ChartSpec chart = terminal.Chart(View(1));
    EXPECT_FALSE(chart.Setting(ChartSetting::AutoScroll));
    EXPECT_TRUE(chart.Setting(ChartSetting::Shift));
    EXPECT_FALSE(chart.Setting(ChartSetting::Grid));
    EXPECT_TRUE(chart.Setting(ChartSetting::Volume));

    auto getView = Fn<Support::IntOfIntFn>("VelmorGetViewChart");
    EXPECT_EQ(getView(Id(View(1))), 0);
    EXPECT_EQ(getView(Id(View(0))), 2);
    EXPECT_EQ(setView(Id(View(1)), 3), 0);
    EXPECT_EQ(getView(0), -1);
    EXPECT_EQ(Fn<Support::IntOfIntFn>("VelmorShowVolume")(0), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> {
            { "VelmorSetViewChart()",
                "Метод \"MT4::Windows::SetViewChart()\".\nНеверно выбран вид отображаемой цены." },
            { "VelmorGetViewChart()", ZeroHandle("GetViewChart") },
            { "VelmorShowVolume()", ZeroHandle("ShowVolume") } }));
}

TEST_F(SettingsTest, TheScaleIsFixedAndWrittenWithSixDecimals)
{
    Fn<ScaleFn>("VelmorSetScale")(Id(View(1)), 1.5, 0.65);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33157, 1259, IDOK }));
    StandIn::ChartSpec chart = terminal.Chart(View(1));
    EXPECT_TRUE(chart.Setting(ChartSetting::ScaleFix));
    EXPECT_EQ(chart.fixedMaximum, "1.500000");
    EXPECT_EQ(chart.fixedMinimum, "0.650000");

    // Fixed already: nothing to click.
    Fn<ScaleFn>("VelmorSetScale")(Id(View(1)), -2.0, 1234.5678915);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33157, IDOK }));
    chart = terminal.Chart(View(1));
    EXPECT_EQ(chart.fixedMaximum, "-2.000000");
    EXPECT_EQ(chart.fixedMinimum, "1234.567892");
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(SettingsTest, TheCheckBoxListIsReadAndWrittenUpToItsCountOnly)
{
    auto checkBoxes = Fn<CheckBoxFn>("VelmorPropertiesChartCheckBox");
    Entry entries[3] = { { 1253, 7, 0x11111111 }, { 1264, 7, 0x22222222 }, { 1248, 7, 0x33333333 } };
    checkBoxes(Id(View(1)), 0, entries, 2);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33157, IDOK }));
    EXPECT_EQ(entries[0].state, 1);
    EXPECT_EQ(entries[1].state, 0);
    EXPECT_EQ(entries[0].unused, 0x11111111);
    EXPECT_EQ(entries[1].unused, 0x22222222);
    EXPECT_EQ(entries[2].state, 7); // past the count

    // Grid off, volumes on; only the low 16 bits of the count count.
    entries[0].state = 0;
    entries[1].state = 9;
    checkBoxes(Id(View(1)), 1, entries, 0x10002);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33157, 1253, 1264, IDOK }));
    EXPECT_EQ(entries[0].state, 0);
    EXPECT_EQ(entries[1].state, 1);
    EXPECT_EQ(entries[2].state, 7);
    const StandIn::ChartSpec chart = terminal.Chart(View(1));
    EXPECT_FALSE(chart.Setting(ChartSetting::Grid));
    EXPECT_TRUE(chart.Setting(ChartSetting::Volume));

    checkBoxes(Id(View(1)), 1, nullptr, 0);
    EXPECT_EQ(Commands(), (std::vector<WPARAM> { 33157, IDOK }));
    checkBoxes(Id(View(1)), 0, nullptr, 2);
    checkBoxes(0, 0, entries, 1);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> {
            { "PropertiesChartCheckBox()",
                "Метод \"MT4::Windows::PropertiesChartCheckBox()\".\nНе передан массив флажков.\n"
                "Количество элементов: 2" },
            { "PropertiesChartCheckBox()", ZeroHandle("PropertiesChartCheckBox") } }));
    EXPECT_TRUE(Quiet(200)); // no dialog was opened for either
    EXPECT_TRUE(PropertiesDialogs().empty());
}

// A control of another kind is refused; the dialog stays for the user.
TEST_F(SettingsTest, AnEntryThatIsNoCheckBoxIsRefusedWithTheDialogLeftOpen)
{
    Entry entries[2] = { { 1253, 0, 0 }, { 1255, 0, 0 } };
    Fn<CheckBoxFn>("VelmorPropertiesChartCheckBox")(Id(View(1)), 0, entries, 2);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "PropertiesChartCheckBox()",
            "Метод \"Utils::Controls::Button::Check()\".\nКласс не является Button." } }));
    EXPECT_EQ(entries[0].state, 1);
    const std::vector<HWND> open = PropertiesDialogs();
    ASSERT_EQ(open.size(), 1u);
    SendMessageA(GetDlgItem(open[0], IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(Gone(open[0]));
    EXPECT_EQ(Get(3, View(1)), 1); // the mutex is free again
}

TEST_F(SettingsTest, PropertiesOpenOnTheAskedPageAndStayOpen)
{
    auto open = Fn<IntOfIntIntFn>("VelmorOpenPropertiesChart");
    for (int32_t page : { 0, 2, 65536 }) {
        HWND dialog = AsWindowOf(open(Id(View(0)), page));
        ASSERT_NE(dialog, nullptr) << page;
        EXPECT_EQ(TextOf(dialog), "Properties of EURUSD,H1");
        const bool common = page == 2;
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 0x3020), TCM_GETCURSEL, 0, 0), common ? 1 : 0);
        HWND shown = FindWindowExA(dialog, nullptr, "#32770", common ? "Common" : "Colors");
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(IsWindowVisible(shown));
        EXPECT_EQ(PropertiesDialogs(), std::vector<HWND> { dialog });
        SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        EXPECT_TRUE(Gone(dialog));
    }
    EXPECT_EQ(open(0, 1), 0);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorOpenPropertiesChart()", ZeroHandle("OpenPropertiesChart") } }));
}

// Each thread holds the active-chart mutex from activating its chart until
// its dialog has gone, so neither reads the other's dialog.
TEST_F(SettingsTest, TwoThreadsReadingTwoChartsEachGetTheirOwnChart)
{
    std::vector<int32_t> first, second;
    std::thread one([&] {
        for (int i = 0; i < 6; ++i)
            first.push_back(Get(3, View(0)));
    });
    std::thread two([&] {
        for (int i = 0; i < 6; ++i)
            second.push_back(Get(3, View(1)));
    });
    one.join();
    two.join();
    EXPECT_EQ(first, std::vector<int32_t>(6, 0));
    EXPECT_EQ(second, std::vector<int32_t>(6, 1));
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_TRUE(PropertiesDialogs().empty());
}

class LaggingSettingsTest : public SettingsTest {
protected:
    static StandIn::Scenario Lagging()
    {
        StandIn::Scenario scenario = Patterned();
        scenario.lagMs = 300;
        return scenario;
    }
    LaggingSettingsTest() : SettingsTest(Lagging()) { }
};

// Another chart's dialog is open (left by VelmorOpenPropertiesChart) and this
// chart's own comes late: the open one is never taken for it.
TEST_F(LaggingSettingsTest, AnotherChartsOpenDialogIsNeverTakenForThisChartsLateOne)
{
    HWND left = AsWindowOf(Fn<IntOfIntIntFn>("VelmorOpenPropertiesChart")(Id(View(1)), 1));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(Set(3, View(0), 1), 1);
    EXPECT_TRUE(terminal.Chart(View(0)).Setting(ChartSetting::Grid));
    EXPECT_EQ(PropertiesDialogs(), std::vector<HWND> { left });
    SendMessageA(GetDlgItem(left, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(Gone(left));
    EXPECT_TRUE(terminal.Chart(View(1)).Setting(ChartSetting::Grid));
    EXPECT_TRUE(boxes.Take().empty());
}

class RussianSettingsTest : public SettingsTest {
protected:
    RussianSettingsTest()
        : SettingsTest(Patterned(StandIn::Language::Russian))
    {
    }
};

TEST_F(RussianSettingsTest, TheRussianDialogIsFoundByItsRussianWords)
{
    EXPECT_EQ(Get(0, View(0)), 1);
    EXPECT_EQ(Set(11, View(0), 1), 1);
    EXPECT_EQ(Fn<Support::IntOfIntFn>("VelmorGetViewChart")(Id(View(0))), 2);
    HWND dialog = AsWindowOf(Fn<IntOfIntIntFn>("VelmorOpenPropertiesChart")(Id(View(0)), 0));
    EXPECT_EQ(TextOf(dialog), "Свойства EURUSD,H1");
    EXPECT_NE(FindWindowExA(dialog, nullptr, "#32770", "Цвета"), nullptr);
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(boxes.Take().empty());
}

} // namespace
} // namespace ChartTest
