// Panels shown, hidden and queried through the View menu's commands, and the
// dialogs opened from the terminal's menus, found by their English and
// Russian titles, through the real DLL against the stand-in terminal.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

class PanelTest : public Support::TerminalTest {
protected:
    using TerminalTest::TerminalTest;
    void Call(const std::string& name) { library.Get<Support::VoidFn>(name.c_str())(); }
    int32_t Visible(const std::string& panel) { return library.Get<Support::IntFn>(("VelmorIsVisible" + panel).c_str())(); }
};

class LayoutTest : public PanelTest, public ::testing::WithParamInterface<const char*> {
protected:
    LayoutTest() : PanelTest(StandIn::Scenario::Named(GetParam())) { }
};

// Docked or floating, each panel shown and hidden twice: the toggle goes out once per change.
TEST_P(LayoutTest, ShowAndHideSendTheToggleOnlyWhenTheVisibilityDiffers)
{
    const std::pair<std::string, UINT> panels[] = { { "DataWindow", 0x8216 }, { "MarketWatch", 0x821D },
        { "Navigator", 0x821E }, { "Terminal", 0x8222 }, { "Tester", 0x8223 } };
    for (const auto& [name, toggle] : panels) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Visible(name), 1);
        Call("VelmorShow" + name);
        Call("VelmorHide" + name);
        EXPECT_EQ(Visible(name), 0);
        Call("VelmorHide" + name);
        Call("VelmorShow" + name);
        EXPECT_EQ(Visible(name), 1);
        EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(toggle), Command(toggle) }));
    }
    EXPECT_TRUE(boxes.Take().empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTest, ::testing::Values("english", "floating"));

StandIn::Scenario English(void (*change)(StandIn::Scenario&))
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    change(scenario);
    return scenario;
}

class MissingPanelTest : public PanelTest {
protected:
    MissingPanelTest() : PanelTest(English([](StandIn::Scenario& s) {
        s.placement[static_cast<int>(StandIn::PanelId::Tester)] = StandIn::Placement::Absent; })) { }
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

struct Language {
    StandIn::Scenario scenario;
    std::string history, variables, options;
    std::vector<std::string> pages;
    int renamed;  // the tab whose page this build titles otherwise, or -1
};

class DialogTest : public PanelTest, public ::testing::WithParamInterface<Language> {
protected:
    DialogTest() : PanelTest(GetParam().scenario) { }
    HWND Open(const char* name) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(library.Get<Support::IntFn>(name)())); }
    static int Tab(HWND dialog) { return static_cast<int>(SendMessageA(GetDlgItem(dialog, 0x3020), TCM_GETCURSEL, 0, 0)); }
};

// History Center is found by the beginning of its title, the others by all of
// it; Options opens on each tab (only the low 16 bits count). A tab beyond the
// dialog's, or whose page has another title, is refused and its dialog stays.
TEST_P(DialogTest, EachDialogIsFoundByItsTitleAndOptionsOpensOnEachTab)
{
    const Language& language = GetParam();
    HWND history = Open("VelmorOpenHistoryCenter");
    EXPECT_EQ(StandInTest::TextOf(history), language.history + " - MetaQuotes-Demo");
    Cancel(history);
    HWND variables = Open("VelmorOpenGlobalVariables");
    EXPECT_EQ(StandInTest::TextOf(variables), language.variables);
    Cancel(variables);
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x81EE), Command(0x8A4B) }));

    const std::string error = "Ошибка в методе \"";
    const Box renamed { "VelmorOpenOptions()",
        error + "MT4::Windows::OpenOptions()\".\nНе получен системный дескриптор вкладки \"Expert Advisors\"." };
    const Box beyond { "VelmorOpenOptions()",
        error + "Utils::Controls::TabControl::SetFocus()\".\nВведённый номер вкладки превышает количество вкладок." };
    auto options = library.Get<Support::IntOfIntFn>("VelmorOpenOptions");
    for (int32_t tab : { 7, 6, 5, 4, 3, 2, 1, 0, 0x70003, 8 }) {
        SCOPED_TRACE(tab);
        const int shown = tab == 8 ? 0 : tab & 0xFFFF;
        const bool refused = tab == 8 || shown == language.renamed;
        const int32_t returned = options(tab);
        HWND dialog = DialogTitled(language.options);
        EXPECT_EQ(returned, refused ? 0 : static_cast<int32_t>(reinterpret_cast<INT_PTR>(dialog)));
        EXPECT_EQ(Tab(dialog), shown);
        EXPECT_EQ(StandInTest::TextOf(reinterpret_cast<HWND>(SendMessageA(dialog, PSM_GETCURRENTPAGEHWND, 0, 0))),
            language.pages[shown]);
        Cancel(dialog);
        EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x81F1) }));
        EXPECT_EQ(boxes.Take(), !refused ? std::vector<Box> {} : std::vector<Box> { tab == 8 ? beyond : renamed });
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogTest,
    ::testing::Values(Language { StandIn::Scenario::Named("english"), "History Center", "Global Variables", "Options",
                          { "Server", "Charts", "Objects", "Trade", "Expert Advisors", "Email", "Publisher", "Events" }, -1 },
        Language { StandIn::Scenario::Named("russian"), "Архив котировок", "Глобальные переменные", "Настройки",
            { "Сервер", "Графики", "Объекты", "Торговля", "Советники", "Почта", "Публикация", "События" }, -1 },
        Language { English([](StandIn::Scenario& s) { s.optionsPages = { "Server", "Charts", "Objects", "Trade", "Experts" }; }),
            "History Center", "Global Variables", "Options",
            { "Server", "Charts", "Objects", "Trade", "Experts", "Email", "Publisher", "Events" }, 4 }));

}  // namespace
