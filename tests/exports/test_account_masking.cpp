// The account number in the terminal's title replaced by another: titles
// the terminal sets are rewritten, an already masked one is left alone, the
// number changes without a second subclassing, a title without a colon is
// refused, and the masking outlives a later start-up.
#include <gtest/gtest.h>

#include "Utils/Errors.h"
#include "standin/Helpers.h"
#include "support/StandInProcess.h"
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

class MaskingTest : public Support::TerminalTest {
protected:
    void Mask(int32_t number) { library.Get<Support::VoidOfIntFn>("VelmorSetAccountNumber")(number); }

    // The terminal sets its title, as it does when its account or active chart changes.
    std::string TitleAfter(const std::string& title)
    {
        terminal.OnUiThread([&] { SetWindowTextA(Main(), title.c_str()); });
        return StandInTest::TextOf(Main());
    }

    // The titles the main window took, in order.
    std::vector<std::string> Titles(const std::vector<Event>& events) const
    {
        std::vector<std::string> titles;
        for (const Event& event : events)
            if (event.kind == Event::Title)
                titles.push_back(event.text);
        return titles;
    }

    LONG_PTR Procedure() const { return GetWindowLongPtrA(Main(), GWLP_WNDPROC); }
};

TEST_F(MaskingTest, TheFirstMessageMasksTheTitleAndEveryLaterTitleIsRewritten)
{
    Mask(777);
    // The first message after the masking began: the title is masked at
    // once, and the command still reaches the terminal.
    EXPECT_NE(library.Get<Support::IntFn>("VelmorRescanServers")(), 0);
    EXPECT_EQ(Received(2),
        (std::vector<Event> { Expected(Event::Title, Main(), WM_SETTEXT, 0, 0, "777: MetaTrader"), Command(0x9218) }));

    // Another chart becomes active and the terminal sets its title.
    const StandIn::Windows& handles = terminal.Handles();
    terminal.OnUiThread([&] {
        SendMessageA(handles.chartArea, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(handles.chartFrames[0]), 0);
    });
    EXPECT_EQ(Titles(terminal.Log().Take()), (std::vector<std::string> { "777: MetaQuotes-Demo - [EURUSD,H1]" }));
    EXPECT_EQ(StandInTest::TextOf(Main()), "777: MetaQuotes-Demo - [EURUSD,H1]");
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(MaskingTest, AMaskedTitleIsLeftAloneAnAccountThatMerelyBeginsWithTheNumberIsNot)
{
    Mask(777);
    EXPECT_EQ(TitleAfter("777: Demo - [EURUSD,H1]"), "777: Demo - [EURUSD,H1]");
    EXPECT_EQ(TitleAfter("7771234: Demo - [EURUSD,H1]"), "777: Demo - [EURUSD,H1]");
    Mask(-5);
    EXPECT_EQ(TitleAfter("12345678: Demo"), "-5: Demo");
}

TEST_F(MaskingTest, ASecondNumberChangesTheTitlesWithoutASecondSubclassing)
{
    const LONG_PTR own = Procedure();
    Mask(777);
    const LONG_PTR masking = Procedure();
    EXPECT_NE(masking, own);
    EXPECT_EQ(TitleAfter("12345678: Demo"), "777: Demo");
    Mask(888);
    EXPECT_EQ(Procedure(), masking);
    EXPECT_EQ(TitleAfter("12345678: Demo"), "888: Demo");
}

TEST_F(MaskingTest, ATitleWithoutAColonIsRefusedAndThePreviousTitleStays)
{
    Mask(777);
    EXPECT_EQ(TitleAfter("12345678: Demo"), "777: Demo");
    terminal.Log().Clear();
    EXPECT_EQ(TitleAfter("MetaTrader 4"), "777: Demo");
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "MT4::Windows::ReplacAccountNumbers()",
            "Ошибка в методе \"MT4::Windows::ReplacAccountNumbers()\".\nВ заголовке окна нет двоеточия: номер "
            "счёта в нём не заменён." } }));
    EXPECT_TRUE(Titles(terminal.Log().Take()).empty());
}

TEST_F(MaskingTest, TheMaskingOutlivesALaterStartUp)
{
    Mask(777);
    const LONG_PTR masking = Procedure();
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    EXPECT_EQ(TitleAfter("12345678: Demo"), "777: Demo");
    EXPECT_EQ(Procedure(), masking);
}

// The window procedure of another process cannot be replaced: the call says
// so instead of leaving the title unmasked in silence.
TEST(MaskingOtherProcessTest, AnotherProcessesTerminalCannotBeMasked)
{
    Support::StandInProcess other("english");
    Support::Library library;
    Support::BoxWatcher boxes;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(static_cast<int32_t>(other.Pid()));
    library.Get<Support::VoidOfIntFn>("VelmorSetAccountNumber")(777);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorSetAccountNumber()",
            "Ошибка в методе \"Utils::SUBCLASSING::Subclass()\".\nНе получена оконная процедура окна."
                + LastErrorText(ERROR_ACCESS_DENIED) } }));
    EXPECT_EQ(StandInTest::TextOf(other.Main()), "12345678: MetaQuotes-Demo - [USDJPY,D1]");
    EXPECT_EQ(other.Close(), 0u);
}

}  // namespace
