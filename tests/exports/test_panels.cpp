// Panels shown, hidden and queried through the View menu's commands, and the
// dialogs opened from the terminal's menus, through the real DLL against
// the stand-in terminal.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

struct PanelCase {
    const char* name;
    UINT toggle;
};

const PanelCase Panels[] = { { "DataWindow", 0x8216 }, { "MarketWatch", 0x821D }, { "Navigator", 0x821E },
    { "Terminal", 0x8222 }, { "Tester", 0x8223 } };

class PanelTest : public Support::TerminalTest {
protected:
    using TerminalTest::TerminalTest;

    void Call(const std::string& name) { library.Get<Support::VoidFn>(name.c_str())(); }
    int32_t Visible(const std::string& panel)
    {
        return library.Get<Support::IntFn>(("VelmorIsVisible" + panel).c_str())();
    }
    // Show and hide twice each: the toggle goes out once per change.
    void ShowAndHideTwice(const PanelCase& panel)
    {
        EXPECT_EQ(Visible(panel.name), 1) << panel.name;
        Call(std::string("VelmorShow") + panel.name);
        Call(std::string("VelmorHide") + panel.name);
        EXPECT_EQ(Visible(panel.name), 0) << panel.name;
        Call(std::string("VelmorHide") + panel.name);
        Call(std::string("VelmorShow") + panel.name);
        EXPECT_EQ(Visible(panel.name), 1) << panel.name;
        EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(panel.toggle), Command(panel.toggle) }))
            << panel.name;
    }
};

TEST_F(PanelTest, ShowAndHideSendTheToggleOnlyWhenTheVisibilityDiffers)
{
    for (const PanelCase& panel : Panels)
        ShowAndHideTwice(panel);
    EXPECT_TRUE(boxes.Take().empty());
}

class FloatingPanelTest : public PanelTest {
protected:
    FloatingPanelTest() : PanelTest(StandIn::Scenario::Named("floating")) { }
};

TEST_F(FloatingPanelTest, FloatingPanelsHideAndShowWithTheirFrames)
{
    for (const PanelCase& panel : Panels)
        ShowAndHideTwice(panel);
    for (HWND frame : terminal.Handles().floatingFrame)
        EXPECT_TRUE(IsWindowVisible(frame));
}

StandIn::Scenario WithoutTester()
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.placement[static_cast<int>(StandIn::PanelId::Tester)] = StandIn::Placement::Absent;
    return scenario;
}

class MissingPanelTest : public PanelTest {
protected:
    MissingPanelTest() : PanelTest(WithoutTester()) { }
};

// Start-up stops at the panel it cannot find, and every call tries again and
// says so; the panel's handle stays missing and counts as hidden.
TEST_F(MissingPanelTest, AMissingPanelCountsAsHiddenShowSendsTheToggleHideNothing)
{
    boxes.Take();
    EXPECT_EQ(Visible("Tester"), 0);
    Call("VelmorHideTester");
    Call("VelmorShowTester");
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x8223) }));
    const Box startUp { "RazozazER4.dll",
        "Ошибка в функции \"Init()\".\n\nОшибка в методе \"MT4::Windows::HandleTester()\".\nНе получен системный "
        "дескриптор первого окна \"Tester\"." };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { startUp, startUp, startUp }));
}

// Dialogs ------------------------------------------------------------------

class DialogTest : public PanelTest {
protected:
    using PanelTest::PanelTest;

    HWND Open(const char* name)
    {
        return reinterpret_cast<HWND>(static_cast<INT_PTR>(library.Get<Support::IntFn>(name)()));
    }
};

TEST_F(DialogTest, HistoryCenterIsFoundByTheBeginningOfItsTitleGlobalVariablesByAllOfIt)
{
    HWND history = Open("VelmorOpenHistoryCenter");
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(StandInTest::ClassOf(history), "#32770");
    EXPECT_EQ(StandInTest::TextOf(history), "History Center - MetaQuotes-Demo");
    Cancel(history);
    HWND variables = Open("VelmorOpenGlobalVariables");
    ASSERT_NE(variables, nullptr);
    EXPECT_EQ(StandInTest::TextOf(variables), "Global Variables");
    Cancel(variables);
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x81EE), Command(0x8A4B) }));
    EXPECT_TRUE(boxes.Take().empty());
}

// Options ------------------------------------------------------------------

class OptionsTest : public DialogTest {
protected:
    using DialogTest::DialogTest;

    HWND Options(int32_t tab)
    {
        return reinterpret_cast<HWND>(static_cast<INT_PTR>(library.Get<Support::IntOfIntFn>("VelmorOpenOptions")(tab)));
    }
    static int SelectedTab(HWND dialog)
    {
        return static_cast<int>(SendMessageA(GetDlgItem(dialog, 0x3020), TCM_GETCURSEL, 0, 0));
    }
    static std::string ShownPage(HWND dialog)
    {
        return StandInTest::TextOf(reinterpret_cast<HWND>(SendMessageA(dialog, PSM_GETCURRENTPAGEHWND, 0, 0)));
    }
};

TEST_F(OptionsTest, OptionsOpensOnEachTabWithThatPageShown)
{
    const char* const pages[] = { "Server", "Charts", "Objects", "Trade", "Expert Advisors", "Email", "Publisher",
        "Events" };
    for (int tab = 7; tab >= 0; --tab) {
        HWND dialog = Options(tab);
        ASSERT_NE(dialog, nullptr) << "tab " << tab;
        EXPECT_EQ(StandInTest::TextOf(dialog), "Options");
        EXPECT_EQ(SelectedTab(dialog), tab);
        EXPECT_EQ(ShownPage(dialog), pages[tab]);
        Cancel(dialog);
        EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x81F1) }));
    }
    HWND dialog = Options(0x70003);  // only the low 16 bits count
    EXPECT_EQ(ShownPage(dialog), "Trade");
    Cancel(dialog);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(OptionsTest, ATabBeyondTheDialogsTabsIsRefusedAndTheDialogStaysOpen)
{
    EXPECT_EQ(Options(8), nullptr);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorOpenOptions()",
                                "Ошибка в методе \"Utils::Controls::TabControl::SetFocus()\".\nВведённый номер "
                                "вкладки превышает количество вкладок." } }));
    HWND dialog = DialogTitled("Options");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SelectedTab(dialog), 0);
    Cancel(dialog);
}

StandIn::Scenario RenamedExpertsPage()
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    scenario.optionsPages
        = { "Server", "Charts", "Objects", "Trade", "Experts", "Email", "Publisher", "Events" };
    return scenario;
}

class RenamedPageTest : public OptionsTest {
protected:
    RenamedPageTest() : OptionsTest(RenamedExpertsPage()) { }
};

// A build whose page is titled otherwise: the tab is chosen, its page is
// not found by its name.
TEST_F(RenamedPageTest, APageWithAnotherTitleIsReportedAndTheDialogStaysOpen)
{
    EXPECT_EQ(Options(4), nullptr);
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorOpenOptions()",
                                "Ошибка в методе \"MT4::Windows::OpenOptions()\".\nНе получен системный "
                                "дескриптор вкладки \"Expert Advisors\"." } }));
    HWND dialog = DialogTitled("Options");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ShownPage(dialog), "Experts");
    Cancel(dialog);
    HWND events = Options(7);
    EXPECT_EQ(ShownPage(events), "Events");
    Cancel(events);
}

class RussianDialogTest : public DialogTest {
protected:
    RussianDialogTest() : DialogTest(StandIn::Scenario::Named("russian")) { }
};

TEST_F(RussianDialogTest, DialogsAreFoundByTheirRussianTitles)
{
    HWND history = Open("VelmorOpenHistoryCenter");
    EXPECT_EQ(StandInTest::TextOf(history), "Архив котировок - MetaQuotes-Demo");
    Cancel(history);
    HWND variables = Open("VelmorOpenGlobalVariables");
    EXPECT_EQ(StandInTest::TextOf(variables), "Глобальные переменные");
    Cancel(variables);
    HWND options = reinterpret_cast<HWND>(
        static_cast<INT_PTR>(library.Get<Support::IntOfIntFn>("VelmorOpenOptions")(5)));
    EXPECT_EQ(StandInTest::TextOf(options), "Настройки");
    EXPECT_EQ(StandInTest::TextOf(reinterpret_cast<HWND>(SendMessageA(options, PSM_GETCURRENTPAGEHWND, 0, 0))),
        "Почта");
    Cancel(options);
    EXPECT_TRUE(boxes.Take().empty());
}

}  // namespace
