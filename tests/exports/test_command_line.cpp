// A chart's command line against the stand-in terminal: the keystrokes it
// received, the states the line goes through, and the texts carried out.
#include "ChartFixture.h"

namespace ChartTest {
namespace {

using TextOfIntFn = const char*(WINAPI*)(int32_t);
using ToolChartFn = void(WINAPI*)(int32_t, const char*, int32_t);
using ToolChartNameFn = void(WINAPI*)(int32_t, const char*, const char*);

constexpr LPARAM EnterData = 0x1C0001;

class CommandLineTest : public Fixture {
protected:
    HWND Line() const { return GetDlgItem(View(0), 0x45A); }
    Event Enter(HWND window, const std::string& carriedOut = std::string()) const
    {
        return Expected(Event::Key, window, WM_CHAR, VK_RETURN, EnterData, carriedOut);
    }
    // The text carried out by the next switch.
    std::string CarriedOut()
    {
        const std::vector<Event> keys = Received(Event::Key, 2);
        return keys.size() == 2 && keys[1].window == Line() ? keys[1].text : "?";
    }

    Support::IntOfIntFn isCmd = Fn<Support::IntOfIntFn>("VelmorIsCmd");
    Support::IntOfIntFn isVisible = Fn<Support::IntOfIntFn>("VelmorIsVisibleCmd");
    Support::IntOfIntFn open = Fn<Support::IntOfIntFn>("VelmorOpenCmd");
    Support::IntOfIntFn create = Fn<Support::IntOfIntFn>("VelmorCreatCmd");
    Support::VoidOfIntFn close = Fn<Support::VoidOfIntFn>("VelmorCloseCmd");
    VoidOfIntTextFn write = Fn<VoidOfIntTextFn>("VelmorWriteCmd");
    Support::VoidOfIntFn clear = Fn<Support::VoidOfIntFn>("VelmorClearCmd");
    TextOfIntFn read = Fn<TextOfIntFn>("VelmorReadCmd");
};

TEST_F(CommandLineTest, TheLineIsCreatedHiddenOpenedWrittenReadClearedAndClosed)
{
    EXPECT_EQ(isCmd(Id(View(0))), 0);
    EXPECT_EQ(isVisible(Id(View(0))), 0);
    write(Id(View(0)), "EURUSD");
    EXPECT_STREQ(read(Id(View(0))), "");
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> {
            { "VelmorWriteCmd()",
                "Ошибка в методе \"MT4::Windows::WriteCmd()\".\nКомандная строка графика невидима." },
            { "VelmorReadCmd()",
                "Ошибка в методе \"MT4::Windows::ReadCmd()\".\nОтсутствует командная строка графика." } }));
    EXPECT_TRUE(terminal.Log().Take().empty());

    const int32_t line = create(Id(View(0)));
    EXPECT_EQ(line, Id(Line()));
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Enter(View(0)), Enter(Line()) }));
    EXPECT_EQ(isCmd(Id(View(0))), 1);
    EXPECT_EQ(isVisible(Id(View(0))), 0);

    EXPECT_EQ(open(Id(View(0))), line);
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Enter(View(0)) }));
    EXPECT_EQ(isVisible(Id(View(0))), 1);
    EXPECT_EQ(open(Id(View(0))), line); // already open: no keystroke
    EXPECT_TRUE(terminal.Log().Take().empty());

    write(Id(View(0)), "GBPUSD,240");
    EXPECT_STREQ(read(Id(View(0))), "GBPUSD,240");
    clear(Id(View(0)));
    EXPECT_STREQ(read(Id(View(0))), "");
    write(Id(View(0)), "USDJPY");
    EXPECT_EQ(Title(0), "EURUSD,H1"); // written, not carried out

    close(Id(View(0)));
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Enter(Line(), "USDJPY") }));
    EXPECT_EQ(isVisible(Id(View(0))), 0);
    EXPECT_EQ(Title(0), "USDJPY,H1");
    close(Id(View(0))); // hidden already: nothing to do
    EXPECT_TRUE(terminal.Log().Take().empty());
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(CommandLineTest, EveryOperationRefusesTheZeroHandleUnderItsName)
{
    EXPECT_EQ(isCmd(0), 0);
    EXPECT_EQ(isVisible(0), 0);
    EXPECT_EQ(open(0), 0);
    EXPECT_EQ(create(0), 0);
    close(0);
    write(0, "x");
    clear(0);
    EXPECT_STREQ(read(0), "");
    Fn<ToolChartFn>("VelmorSetToolChartPeriod")(0, "EURUSD", 60);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorIsCmd()", ZeroHandle("IsVisibleCmd") },
            { "VelmorIsVisibleCmd()", ZeroHandle("IsVisibleCmd") },
            { "VelmorOpenCmd()", ZeroHandle("OpenCmd") }, { "VelmorCreatCmd()", ZeroHandle("OpenCmd") },
            { "VelmorCloseCmd()", ZeroHandle("CloseCmd") }, { "VelmorWriteCmd()", ZeroHandle("WriteCmd") },
            { "VelmorClearCmd()", ZeroHandle("WriteCmd") }, { "VelmorReadCmd()", ZeroHandle("ReadCmd") },
            { "VelmorSetToolChartPeriod()", ZeroHandle("SetToolChart") } }));
    EXPECT_TRUE(terminal.Log().Take().empty());
}

TEST_F(CommandLineTest, ASwitchWritesSymbolAndPeriodAndTheChartSwitches)
{
    auto byPeriod = Fn<ToolChartFn>("VelmorSetToolChartPeriod");
    auto byNumber = Fn<ToolChartFn>("VelmorSetToolChartNumberPeriod");
    auto byName = Fn<ToolChartNameFn>("VelmorSetToolChartNamePeriod");

    byPeriod(Id(View(0)), "GBPUSD", 43200);
    EXPECT_EQ(CarriedOut(), "GBPUSD,MN");
    EXPECT_EQ(Title(0), "GBPUSD,MN");
    byPeriod(Id(View(0)), "GBPUSD", 240);
    EXPECT_EQ(CarriedOut(), "GBPUSD,240");
    EXPECT_EQ(Title(0), "GBPUSD,H4");
    byPeriod(Id(View(0)), "USDCHF", 7);
    EXPECT_EQ(CarriedOut(), "USDCHF,0");
    EXPECT_EQ(Title(0), "USDCHF,H4"); // the terminal keeps the period it has

    byNumber(Id(View(0)), "EURUSD", 2);
    EXPECT_EQ(CarriedOut(), "EURUSD,15");
    byNumber(Id(View(0)), "EURUSD", 9);
    EXPECT_EQ(CarriedOut(), "EURUSD,0");
    byNumber(Id(View(0)), "EURUSD", 0x10008); // the low 16 bits: 8
    EXPECT_EQ(CarriedOut(), "EURUSD,MN");

    byName(Id(View(0)), "AUDUSD", "M15");
    EXPECT_EQ(CarriedOut(), "AUDUSD,15");
    byName(Id(View(0)), "AUDUSD", "AUDUSD,H4");
    EXPECT_EQ(CarriedOut(), "AUDUSD,240");
    byName(Id(View(0)), "AUDUSD", "h1");
    EXPECT_EQ(CarriedOut(), "AUDUSD,0");
    EXPECT_EQ(Title(0), "AUDUSD,H4");
    EXPECT_EQ(isVisible(Id(View(0))), 0);
    EXPECT_TRUE(boxes.Take().empty());
}

} // namespace
} // namespace ChartTest
