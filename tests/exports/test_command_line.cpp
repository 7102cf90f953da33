// A chart's command line: the keystrokes the terminal received, the line's states, and the texts carried out.
#include "ChartFixture.h"

using namespace ChartTest;

class CommandLineTest : public Fixture {
protected:
    HWND Line() const { return GetDlgItem(View(0), 0x45A); }
    Event Enter(HWND w, std::string text = {}) const { return Expected(Event::Key, w, WM_CHAR, VK_RETURN, 0x1C0001, text); }
    int32_t Cmd(const char* name) { return Call(name, Id(View(0))); }
    std::string Read() { return Call<const char*>("VelmorReadCmd", Id(View(0))); }
    void Write(const char* text) { Call<void>("VelmorWriteCmd", Id(View(0)), text); }
};

TEST_F(CommandLineTest, TheLineIsCreatedHiddenOpenedWrittenReadClearedAndClosed)
{
    EXPECT_EQ(Cmd("VelmorIsCmd") + Cmd("VelmorIsVisibleCmd"), 0);
    Write("EURUSD");
    EXPECT_EQ(Read(), "");
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { Refusal("VelmorWriteCmd", "Командная строка графика невидима.", true),
                                Refusal("VelmorReadCmd", "Отсутствует командная строка графика.", true) }));
    EXPECT_TRUE(terminal.Log().Take().empty());

    const int32_t line = Cmd("VelmorCreatCmd");
    EXPECT_EQ(line, Id(Line()));
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Enter(View(0)), Enter(Line()) }));
    EXPECT_EQ(std::pair(Cmd("VelmorIsCmd"), Cmd("VelmorIsVisibleCmd")), std::pair(1, 0));
    EXPECT_EQ(Cmd("VelmorOpenCmd"), line);
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Enter(View(0)) }));
    EXPECT_EQ(Cmd("VelmorIsVisibleCmd"), 1);
    EXPECT_EQ(Cmd("VelmorOpenCmd"), line); // already open: no keystroke
    EXPECT_TRUE(terminal.Log().Take().empty());
    Write("GBPUSD,240");
    EXPECT_EQ(Read(), "GBPUSD,240");
    Cmd("VelmorClearCmd");
    EXPECT_EQ(Read(), "");
    Write("USDJPY");
    EXPECT_EQ(Title(0), "EURUSD,H1"); // written, not carried out
    Call<void>("VelmorCloseCmd", Id(View(0)));
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Enter(Line(), "USDJPY") }));
    EXPECT_EQ(Title(0), "USDJPY,H1");
    Call<void>("VelmorCloseCmd", Id(View(0))); // hidden already: nothing to do
    EXPECT_TRUE(terminal.Log().Take().empty());
    EXPECT_TRUE(boxes.Take().empty());
}

// "MN", the fallback to 0, the low 16 bits of a number and a name found in a longer text.
TEST_F(CommandLineTest, ASwitchWritesSymbolAndPeriodAndTheChartSwitches)
{
    struct Row { const char *by, *symbol; int32_t number; const char *carriedOut, *title; };
    const std::vector<Row> rows = { { "Period", "GBPUSD", 43200, "GBPUSD,MN", "GBPUSD,MN" },
        { "Period", "GBPUSD", 240, "GBPUSD,240", "GBPUSD,H4" }, { "Period", "USDCHF", 7, "USDCHF,0", "USDCHF,H4" },
        { "NumberPeriod", "EURUSD", 2, "EURUSD,15", "EURUSD,M15" }, { "NumberPeriod", "EURUSD", 9, "EURUSD,0", "EURUSD,M15" },
        { "NumberPeriod", "EURUSD", 0x10008, "EURUSD,MN", "EURUSD,MN" }, { "M15", "AUDUSD", 0, "AUDUSD,15", "AUDUSD,M15" },
        { "AUDUSD,H4", "AUDUSD", 0, "AUDUSD,240", "AUDUSD,H4" }, { "h1", "AUDUSD", 0, "AUDUSD,0", "AUDUSD,H4" } };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.by) + " " + row.carriedOut);
        if (row.by[0] == 'P' || row.by[0] == 'N')
            Call<void>(("VelmorSetToolChart" + std::string(row.by)).c_str(), Id(View(0)), row.symbol, row.number);
        else
            Call<void>("VelmorSetToolChartNamePeriod", Id(View(0)), row.symbol, row.by);
        const std::vector<Event> keys = Received(2, Event::Key);
        EXPECT_TRUE(keys.size() == 2 && keys.back() == Enter(Line(), row.carriedOut)) << ::testing::PrintToString(keys);
        EXPECT_EQ(Title(0), row.title);
    }
    EXPECT_EQ(Cmd("VelmorIsVisibleCmd"), 0);
    EXPECT_TRUE(boxes.Take().empty());
}
