// A chart's display settings through its Properties dialog: what each export clicked and returned, and the dialog gone.
#include "ChartFixture.h"

#include <commctrl.h>

#include <thread>

using namespace ChartTest;

using StandIn::ChartSetting;
using Entry = MT4::Windows::ChartCheckBoxEntry;
using Clicked = std::vector<WPARAM>;

const int Settings = static_cast<int>(ChartSetting::Count);
const std::string Names[Settings] = { "ShowAsk", "ShowObjectDescript", "Foreground", "ShowGrid", "Offline",
    "ShowOHLC", "ScaleFix", "ScaleFix1To1", "AutoScroll", "ShowPeriodSeparators", "Shift", "ShowVolume" };
const WPARAM Boxes[Settings] = { 1248, 1251, 1252, 1253, 1257, 1258, 1259, 1260, 1261, 1262, 1263, 1264 };

// The first chart holds every other setting (the even ones), the second the terminal's defaults.
const decltype(StandIn::Scenario::charts) Charts = { { "EURUSD", 60,
    { true, false, true, false, true, false, true, false, true, false, true, false }, 2 }, { "GBPUSD", 240 } };
static StandIn::Scenario Patterned() { StandIn::Scenario s; s.charts = Charts; return s; }
// In Russian, and each dialog comes 300 ms after its command.
static StandIn::Scenario RussianLagging()
{ auto s = Patterned(); return s.language = StandIn::Language::Russian, s.lagMs = 300, s; }

// Every Properties dialog of this process, English or Russian.
static std::vector<HWND> PropertiesDialogs()
{
    std::vector<HWND> found;
    DWORD process = 0;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr;)
        if (const std::string text = TextOf(window); GetWindowThreadProcessId(window, &process)
            && process == GetCurrentProcessId() && (text.rfind("Properties of", 0) == 0 || text.rfind("Свойства", 0) == 0))
            found.push_back(window);
    return found;
}

template <StandIn::Scenario (*Make)()> class Settings_ : public On<Make> {
protected:
    int32_t Get(int i, HWND chart) { return this->Call(("VelmorGet" + Names[i]).c_str(), Id(chart)); }
    int32_t Set(int i, HWND chart, int32_t on) { return this->Call(("VelmorSet" + Names[i]).c_str(), Id(chart), on); }
    // The check boxes clicked between the Properties command to `chart` and OK.
    Clicked Clicks(HWND chart)
    {
        const std::vector<Event> in = this->Received(2, Event::Command);
        EXPECT_TRUE(in.size() >= 2 && in.front() == this->Command(chart, 33157) && in.back().wParam == IDOK)
            << ::testing::PrintToString(in);
        Clicked clicks;
        for (size_t i = 1; i + 1 < in.size(); ++i) clicks.push_back(in[i].wParam);
        return clicks;
    }
    std::string Scale() { auto c = this->terminal.Chart(this->View(1)); return c.fixedMaximum + " " + c.fixedMinimum; }
};
using SettingsTest = Settings_<Patterned>;

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
    EXPECT_EQ(Set(3, View(1), 5), 1); // the grid on already
    EXPECT_EQ(Clicks(View(1)), Clicked {});

    // The scale is fixed and written with six decimals; fixed already, nothing to click.
    Call<void>("VelmorSetScale", Id(View(1)), 1.5, 0.65);
    EXPECT_EQ(Clicks(View(1)), Clicked { 1259 });
    EXPECT_EQ(Scale(), "1.500000 0.650000");
    Call<void>("VelmorSetScale", Id(View(1)), -2.0, 1234.5678915);
    EXPECT_EQ(Clicks(View(1)), Clicked {});
    EXPECT_EQ(Scale(), "-2.000000 1234.567892");
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(SettingsTest, TogglesAndDisplayTypesArePostedToTheChart)
{
    for (const char* toggle : { "VelmorAutoScroll", "VelmorShift", "VelmorShowGrid", "VelmorShowVolume" })
        EXPECT_NE(Call(toggle, Id(View(1))), 0) << toggle;
    for (int32_t view : { 0, 2, 1, 65536 })
        EXPECT_NE(Call("VelmorSetViewChart", Id(View(1)), view), 0);
    EXPECT_EQ(Commands(8, View(1)), (Clicked { 33017, 33023, 33021, 33024, 33018, 33022, 33019, 33018 }));
    const auto& chart = terminal.Chart(View(1));
    EXPECT_EQ(std::vector<bool>({ chart.Setting(ChartSetting::AutoScroll), chart.Setting(ChartSetting::Shift),
                  chart.Setting(ChartSetting::Grid), chart.Setting(ChartSetting::Volume) }),
        std::vector<bool>({ false, true, false, true }));
    EXPECT_EQ(Call("VelmorGetViewChart", Id(View(1))), 0);
    EXPECT_EQ(Call("VelmorSetViewChart", Id(View(1)), 3), 0);
    EXPECT_EQ(boxes.Take(), std::vector<Box> { Refusal("VelmorSetViewChart", "Неверно выбран вид отображаемой цены.") });
}

// Up to the count (its low 16 bits) only; a control of another kind is refused and its dialog left for the user.
TEST_F(SettingsTest, TheCheckBoxListIsReadAndWrittenUpToItsCountOnly)
{
    auto checkBoxes = [&](int32_t write, Entry* e, int32_t n) {
        Call<void>("VelmorPropertiesChartCheckBox", Id(View(1)), write, e, n); };
    auto states = [](const Entry* e) { return std::vector<int32_t> { e[0].state, e[1].state, e[2].state }; };
    Entry entries[3] = { { 1253, 7, 0x11111111 }, { 1264, 7, 0x22222222 }, { 1248, 7, 0x33333333 } };
    checkBoxes(0, entries, 2);
    EXPECT_EQ(Clicks(View(1)), Clicked {});
    EXPECT_EQ(states(entries), (std::vector<int32_t> { 1, 0, 7 }));
    EXPECT_EQ(entries[1].unused, 0x22222222);
    entries[0].state = 0, entries[1].state = 9; // grid off, volumes on
    checkBoxes(1, entries, 0x10002);
    EXPECT_EQ(Clicks(View(1)), (Clicked { 1253, 1264 }));
    EXPECT_EQ(states(entries), (std::vector<int32_t> { 0, 1, 7 }));
    const auto chart = terminal.Chart(View(1));
    EXPECT_TRUE(!chart.Setting(ChartSetting::Grid) && chart.Setting(ChartSetting::Volume));
    checkBoxes(1, nullptr, 0);
    EXPECT_EQ(Clicks(View(1)), Clicked {});
    checkBoxes(0, nullptr, 2);
    EXPECT_TRUE(Quiet(200)); // no dialog opened
    Entry other[2] = { { 1264, 0, 0 }, { 1255, 0, 0 } };
    checkBoxes(0, other, 2);
    const Box notButton { "PropertiesChartCheckBox()", "Метод \"Utils::Controls::Button::Check()\".\nКласс не является Button." };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> {
        Refusal("PropertiesChartCheckBox", "Не передан массив флажков.\nКоличество элементов: 2"), notButton }));
    EXPECT_EQ(other[0].state, 1);
    const std::vector<HWND> open = PropertiesDialogs();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_TRUE(Cancelled(open[0]));
    EXPECT_EQ(Get(3, View(1)), 0); // the mutex is free again
}

TEST_F(SettingsTest, PropertiesOpenOnTheAskedPageAndStayOpen)
{
    for (int32_t page : { 0, 2, 65536 }) {
        SCOPED_TRACE(page);
        HWND dialog = AsWindowOf(Call("VelmorOpenPropertiesChart", Id(View(0)), page));
        EXPECT_EQ(PropertiesDialogs(), std::vector<HWND> { dialog });
        EXPECT_EQ(TextOf(dialog), "Properties of EURUSD,H1");
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 0x3020), TCM_GETCURSEL, 0, 0), page == 2 ? 1 : 0);
        HWND shown = FindWindowExA(dialog, nullptr, "#32770", page == 2 ? "Common" : "Colors");
        EXPECT_TRUE(shown && IsWindowVisible(shown));
        EXPECT_TRUE(Cancelled(dialog));
    }
    EXPECT_TRUE(boxes.Take().empty());
}

// Each thread holds the active-chart mutex until its dialog has gone, so neither reads the other's dialog.
TEST_F(SettingsTest, TwoThreadsReadingTwoChartsEachGetTheirOwnChart)
{
    std::vector<int32_t> first, second;
    auto reading = [&](std::vector<int32_t>* to, HWND c) { for (int i = 0; i < 6; ++i) to->push_back(Get(3, c)); };
    std::thread one(reading, &first, View(0)), two(reading, &second, View(1));
    one.join(), two.join();
    EXPECT_EQ(first, std::vector<int32_t>(6, 0));
    EXPECT_EQ(second, std::vector<int32_t>(6, 1));
    EXPECT_TRUE(boxes.Take().empty() && PropertiesDialogs().empty());
}

// Another chart's dialog is open and this chart's own comes late: the open one is never taken for it.
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
    EXPECT_TRUE(Cancelled(left));
    EXPECT_TRUE(terminal.Chart(View(1)).Setting(ChartSetting::Grid));
    EXPECT_TRUE(boxes.Take().empty());
}
