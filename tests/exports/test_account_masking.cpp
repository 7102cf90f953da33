// The account number in the title masked: every title the terminal sets shows the latest number, through one
// subclassing that outlives start-up; a title without a colon, or another process's window, is refused.
#include <gtest/gtest.h>
#include <cstring>
#include "Utils/Errors.h"
#include "support/StandInProcess.h"
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

class MaskingTest : public Support::TerminalTest {
protected:
    void Mask(int32_t number) { library.Get<Support::VoidOfIntFn>("VelmorSetAccountNumber")(number); }
    void Init(int32_t pid) { library.Get<Support::VoidOfIntFn>("VelmorInit")(pid); }
    LONG_PTR Procedure() const { return GetWindowLongPtrA(Main(), GWLP_WNDPROC); }
    Event Title(const std::string& text) const { return Expected(Event::Title, Main(), WM_SETTEXT, 0, 0, text); }
};

TEST_F(MaskingTest, EveryTitleTheTerminalSetsShowsTheLatestNumber)
{
    Support::StandInProcess other("english");
    Init(static_cast<int32_t>(other.Pid()));
    Mask(777);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorSetAccountNumber()", "Ошибка в методе \"Utils::SUBCLASSING::"
        "Subclass()\".\nНе получена оконная процедура окна." + LastErrorText(ERROR_ACCESS_DENIED) } }));
    EXPECT_EQ(StandInTest::TextOf(other.Main()), "12345678: MetaQuotes-Demo - [USDJPY,D1]");
    EXPECT_EQ(other.Close(), 0u);
    Init(0);
    Mask(777);
    const LONG_PTR masking = Procedure();
    EXPECT_NE(library.Get<Support::IntFn>("VelmorRescanServers")(), 0);
    EXPECT_EQ(Received(2), (std::vector<Event> { Title("777: MetaTrader"), Command(0x9218) }));

    const Box noColon { "MT4::Windows::ReplacAccountNumbers()", "Ошибка в методе \"MT4::Windows::ReplacAccountNumbers()\"."
        "\nВ заголовке окна нет двоеточия: номер счёта в нём не заменён." };
    const struct { int32_t number; const char *set, *shown; } rows[] = {  // number 0: the number stays
        { 0, "12345678: MetaQuotes-Demo - [EURUSD,H1]", "777: MetaQuotes-Demo - [EURUSD,H1]" },
        { 0, "777: Demo - [EURUSD,H1]", "777: Demo - [EURUSD,H1]" },
        { 0, "7771234: Demo - [EURUSD,H1]", "777: Demo - [EURUSD,H1]" },
        { -5, "12345678: Demo", "-5: Demo" }, { 888, "12345678: Demo", "888: Demo" }, { 0, "MetaTrader 4", "888: Demo" },
    };
    std::string shown = "777: MetaTrader";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.set);
        if (row.number)
            Mask(row.number);
        terminal.OnUiThread([&] { SetWindowTextA(Main(), row.set); });
        EXPECT_EQ(terminal.Log().Take(), shown == row.shown ? std::vector<Event> {} : std::vector<Event> { Title(row.shown) });
        EXPECT_EQ(StandInTest::TextOf(Main()), shown = row.shown);
        EXPECT_EQ(boxes.Take(), std::strchr(row.set, ':') ? std::vector<Box> {} : std::vector<Box> { noColon });
        EXPECT_EQ(Procedure(), masking);
    }
    Init(0);
    terminal.OnUiThread([&] { SetWindowTextA(Main(), "12345678: Demo"); });
    EXPECT_EQ(StandInTest::TextOf(Main()), "888: Demo");
    EXPECT_EQ(Procedure(), masking);
}

}  // namespace
