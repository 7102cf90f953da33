// A chart's display settings through its Properties dialog, against the stand-in
// terminal: what each export clicked, what it returned, and that the dialog is gone.
#include "ChartFixture.h"

#include <commctrl.h>

#include <thread>

namespace ChartTest {
namespace {

using StandIn::ChartSetting;
using Entry = MT4::Windows::ChartCheckBoxEntry;

const int Settings = static_cast<int>(ChartSetting::Count);
const char* const Names[Settings] = { "ShowAsk", "ShowObjectDescript", "Foreground", "ShowGrid", "Offline",
    "ShowOHLC", "ScaleFix", "ScaleFix1To1", "AutoScroll", "ShowPeriodSeparators", "Shift", "ShowVolume" };
const WPARAM Boxes[Settings] = { 1248, 1251, 1252, 1253, 1257, 1258, 1259, 1260, 1261, 1262, 1263, 1264 };
using Clicked = std::vector<WPARAM>;

// The first chart holds every other setting, the second the terminal's defaults.
StandIn::Scenario Patterned()
{
    StandIn::Scenario scenario;
    StandIn::ChartSpec first { "EURUSD", 60 };
    for (int i = 0; i < Settings; ++i)
        first.settings[i] = i % 2 == 0;
    first.view = 2;
    scenario.charts = { first, { "GBPUSD", 240 } };
    return scenario;
}
// In Russian, and each dialog comes 300 ms after its command.
StandIn::Scenario RussianLagging()
{
    StandIn::Scenario scenario = Patterned();
    scenario.language = StandIn::Language::Russian;
    scenario.lagMs = 300;
    return scenario;
}

// Every Properties dialog of this process, English or Russian.
std::vector<HWND> PropertiesDialogs()
{
    std::vector<HWND> found;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr;) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        const std::string text = TextOf(window);
        if (process == GetCurrentProcessId() && (text.rfind("Properties of", 0) == 0 || text.rfind("Свойства", 0) == 0))
            found.push_back(window);
    }
    return found;
}

template <StandIn::Scenario (*Make)()> class Settings_ : public On<Make> {
protected:
    int32_t Get(int i, HWND chart) { return this->Call(("VelmorGet" + std::string(Names[i])).c_str(), Id(chart)); }
    int32_t Set(int i, HWND chart, int32_t on) { return this->Call(("VelmorSet" + std::string(Names[i])).c_str(), Id(chart), on); }
    // The check boxes clicked between the Properties command to `chart` and OK.
    Clicked Clicks(HWND chart)
    {
        const std::vector<Event> in = this->Received(Event::Command, 2);
        Clicked clicks;
        for (size_t i = 1; i + 1 < in.size(); ++i)
            clicks.push_back(in[i].wParam);
        EXPECT_TRUE(in.size() >= 2 && in.front() == this->Command(chart, 33157) && in.back().wParam == IDOK)
            << ::testing::PrintToString(in);
        return clicks;
    }
};
using SettingsTest = Settings_<Patterned>;

// Each setting read, then turned over, on the first chart (it holds every
// other one); a set clicks only when the state differs and returns the state
// read back.
TEST_F(SettingsTest, EachGetOnlyReadsAndEachSetClicksOnlyWhenTheStateDiffers)
{
    for (int i = 0; i < Settings; ++i) {
        SCOPED_TRACE(Names[i]);
        const bool was = i % 2 == 0;
        EXPECT_EQ(Get(i, View(0)), was ? 1 : 0);
        EXPECT_EQ(Clicks(View(0)), Clicked {});
        EXPECT_EQ(Set(i, View(0), was ? 0 : -1), was ? 0 : 1);
        EXPECT_EQ(Clicks(View(0)), Clicked { Boxes[i] });
        EXPECT_EQ(terminal.Chart(View(0)).settings[i], !was);
        EXPECT_TRUE(PropertiesDialogs().empty());
    }
    EXPECT_EQ(Get(3, View(1)), 1); // the other chart's grid
    EXPECT_EQ(Clicks(View(1)), Clicked {});
    EXPECT_EQ(Set(3, View(1), 5), 1);
    EXPECT_EQ(Clicks(View(1)), Clicked {});
    EXPECT_EQ(Set(3, View(1), 0), 0);
    EXPECT_EQ(Clicks(View(1)), Clicked { 1253 });

    // The scale is fixed and written with six decimals; fixed already, nothing to click.
    Call<void>("VelmorSetScale", Id(View(1)), 1.5, 0.65);
    EXPECT_EQ(Clicks(View(1)), Clicked { 1259 });
    EXPECT_TRUE(terminal.Chart(View(1)).Setting(ChartSetting::ScaleFix));
    EXPECT_EQ(terminal.Chart(View(1)).fixedMaximum + " " + terminal.Chart(View(1)).fixedMinimum, "1.500000 0.650000");
    Call<void>("VelmorSetScale", Id(View(1)), -2.0, 1234.5678915);
    EXPECT_EQ(Clicks(View(1)), Clicked {});
    EXPECT_EQ(terminal.Chart(View(1)).fixedMaximum + " " + terminal.Chart(View(1)).fixedMinimum, "-2.000000 1234.567892");
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(SettingsTest, TogglesAndDisplayTypesArePostedToTheChart)
{
    for (const char* toggle : { "VelmorAutoScroll", "VelmorShift", "VelmorShowGrid", "VelmorShowVolume" })
        EXPECT_NE(Call(toggle, Id(View(1))), 0) << toggle;
    for (int32_t view : { 0, 2, 1, 65536 })
        EXPECT_NE(Call("VelmorSetViewChart", Id(View(1)), view), 0);
    EXPECT_EQ(Commands(8, View(1)), (Clicked { 33017, 33023, 33021, 33024, 33018, 33022, 33019, 33018 }));
    for (auto [setting, on] : { std::pair { ChartSetting::AutoScroll, false }, { ChartSetting::Shift, true },
             { ChartSetting::Grid, false }, { ChartSetting::Volume, true } })
        EXPECT_EQ(terminal.Chart(View(1)).Setting(setting), on);
    EXPECT_EQ(Call("VelmorGetViewChart", Id(View(1))), 0);
    EXPECT_EQ(Call("VelmorGetViewChart", Id(View(0))), 2);
    EXPECT_EQ(Call("VelmorSetViewChart", Id(View(1)), 3), 0);
    EXPECT_EQ(boxes.Take(),
        std::vector<Box> { Refusal("VelmorSetViewChart", "SetViewChart", "Неверно выбран вид отображаемой цены.") });
}

// Up to the count (its low 16 bits) only; a control of another kind is
// refused and its dialog left for the user.
TEST_F(SettingsTest, TheCheckBoxListIsReadAndWrittenUpToItsCountOnly)
{
    auto checkBoxes = [&](int32_t write, Entry* entries, int32_t count) {
        Call<void>("VelmorPropertiesChartCheckBox", Id(View(1)), write, entries, count);
    };
    auto states = [](const Entry* e) { return std::vector<int32_t> { e[0].state, e[1].state, e[2].state }; };
    Entry entries[3] = { { 1253, 7, 0x11111111 }, { 1264, 7, 0x22222222 }, { 1248, 7, 0x33333333 } };
    checkBoxes(0, entries, 2);
    EXPECT_EQ(Clicks(View(1)), Clicked {});
    EXPECT_EQ(states(entries), (std::vector<int32_t> { 1, 0, 7 }));
    EXPECT_EQ(entries[1].unused, 0x22222222);
    entries[0].state = 0; // grid off, volumes on
    entries[1].state = 9;
    checkBoxes(1, entries, 0x10002);
    EXPECT_EQ(Clicks(View(1)), (Clicked { 1253, 1264 }));
    EXPECT_EQ(states(entries), (std::vector<int32_t> { 0, 1, 7 }));
    EXPECT_FALSE(terminal.Chart(View(1)).Setting(ChartSetting::Grid));
    EXPECT_TRUE(terminal.Chart(View(1)).Setting(ChartSetting::Volume));
    checkBoxes(1, nullptr, 0);
    EXPECT_EQ(Clicks(View(1)), Clicked {});
    checkBoxes(0, nullptr, 2);
    EXPECT_TRUE(Quiet(200)); // no dialog opened

    Entry other[2] = { { 1264, 0, 0 }, { 1255, 0, 0 } };
    checkBoxes(0, other, 2);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { Refusal("PropertiesChartCheckBox", "PropertiesChartCheckBox",
                                "Не передан массив флажков.\nКоличество элементов: 2"),
            { "PropertiesChartCheckBox()", "Метод \"Utils::Controls::Button::Check()\".\nКласс не является Button." } }));
    EXPECT_EQ(other[0].state, 1);
    const std::vector<HWND> open = PropertiesDialogs();
    ASSERT_EQ(open.size(), 1u);
    SendMessageA(GetDlgItem(open[0], IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(Gone(open[0]));
    EXPECT_EQ(Get(3, View(1)), 0); // the mutex is free again
}

TEST_F(SettingsTest, PropertiesOpenOnTheAskedPageAndStayOpen)
{
    for (int32_t page : { 0, 2, 65536 }) {
        HWND dialog = AsWindowOf(Call("VelmorOpenPropertiesChart", Id(View(0)), page));
        EXPECT_EQ(PropertiesDialogs(), std::vector<HWND> { dialog });
        EXPECT_EQ(TextOf(dialog), "Properties of EURUSD,H1");
        const bool common = page == 2;
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 0x3020), TCM_GETCURSEL, 0, 0), common ? 1 : 0);
        HWND shown = FindWindowExA(dialog, nullptr, "#32770", common ? "Common" : "Colors");
        EXPECT_TRUE(shown && IsWindowVisible(shown)) << page;
        SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        EXPECT_TRUE(Gone(dialog));
    }
    EXPECT_TRUE(boxes.Take().empty());
}

// Each thread holds the active-chart mutex from activating its chart until
// its dialog has gone, so neither reads the other's dialog.
TEST_F(SettingsTest, TwoThreadsReadingTwoChartsEachGetTheirOwnChart)
{
    std::vector<int32_t> first, second;
    auto reading = [&](std::vector<int32_t>* into, HWND chart) {
        for (int i = 0; i < 6; ++i)
            into->push_back(Get(3, chart));
    };
    std::thread one(reading, &first, View(0)), two(reading, &second, View(1));
    one.join();
    two.join();
    EXPECT_EQ(first, std::vector<int32_t>(6, 0));
    EXPECT_EQ(second, std::vector<int32_t>(6, 1));
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_TRUE(PropertiesDialogs().empty());
}

// Another chart's dialog is open (left by VelmorOpenPropertiesChart) and this
// chart's own comes late: the open one is never taken for it. The Russian
// dialog is found by its Russian words.
using RussianLaggingSettingsTest = Settings_<RussianLagging>;
TEST_F(RussianLaggingSettingsTest, AnotherChartsOpenDialogIsNeverTakenForThisChartsLateOne)
{
    HWND left = AsWindowOf(Call("VelmorOpenPropertiesChart", Id(View(1)), 0));
    EXPECT_EQ(TextOf(left), "Свойства GBPUSD,H4");
    EXPECT_NE(FindWindowExA(left, nullptr, "#32770", "Цвета"), nullptr);
    EXPECT_EQ(Get(0, View(0)), 1);
    EXPECT_EQ(Set(3, View(0), 1), 1);
    EXPECT_TRUE(terminal.Chart(View(0)).Setting(ChartSetting::Grid));
    EXPECT_EQ(Call("VelmorGetViewChart", Id(View(0))), 2);
    EXPECT_EQ(PropertiesDialogs(), std::vector<HWND> { left });
    SendMessageA(GetDlgItem(left, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(Gone(left));
    EXPECT_TRUE(terminal.Chart(View(1)).Setting(ChartSetting::Grid));
    EXPECT_TRUE(boxes.Take().empty());
}

} // namespace
} // namespace ChartTest
