// Panels shown, hidden and queried through the View menu's commands, and the
// dialogs opened from the terminal's menus, through the real DLL against
// the stand-in terminal.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "standin/Helpers.h"
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
    // Cancel, and wait (bounded) until the dialog is gone.
    static void Close(HWND dialog)
    {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 200 && IsWindow(dialog); ++i)
            Sleep(10);
        EXPECT_FALSE(IsWindow(dialog));
    }
};

TEST_F(DialogTest, HistoryCenterIsFoundByTheBeginningOfItsTitleGlobalVariablesByAllOfIt)
{
    HWND history = Open("VelmorOpenHistoryCenter");
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(StandInTest::ClassOf(history), "#32770");
    EXPECT_EQ(StandInTest::TextOf(history), "History Center - MetaQuotes-Demo");
    Close(history);
    HWND variables = Open("VelmorOpenGlobalVariables");
    ASSERT_NE(variables, nullptr);
    EXPECT_EQ(StandInTest::TextOf(variables), "Global Variables");
    Close(variables);
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x81EE), Command(0x8A4B) }));
    EXPECT_TRUE(boxes.Take().empty());
}

class RussianDialogTest : public DialogTest {
protected:
    RussianDialogTest() : DialogTest(StandIn::Scenario::Named("russian")) { }
};

TEST_F(RussianDialogTest, DialogsAreFoundByTheirRussianTitles)
{
    HWND history = Open("VelmorOpenHistoryCenter");
    EXPECT_EQ(StandInTest::TextOf(history), "Архив котировок - MetaQuotes-Demo");
    Close(history);
    HWND variables = Open("VelmorOpenGlobalVariables");
    EXPECT_EQ(StandInTest::TextOf(variables), "Глобальные переменные");
    Close(variables);
}

}  // namespace
