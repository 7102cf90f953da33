// Panels shown and hidden by the View menu's toggles, sent only when the visibility differs,
// and the dialogs opened from the menus, found by their titles, Options on each tab (the low
// 16 bits count): docked and floating, in English and Russian, through the real DLL.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

StandIn::Scenario English(void (*change)(StandIn::Scenario&))
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("english");
    change(scenario);
    return scenario;
}

struct Language {
    StandIn::Scenario scenario;
    int32_t id;
    std::string history, variables, options;
    std::vector<std::string> pages;
    int renamed;  // the tab whose page this build titles otherwise, or -1
};

class PanelTest : public Support::TerminalTest, public ::testing::WithParamInterface<Language> {
protected:
    PanelTest(const StandIn::Scenario& scenario = GetParam().scenario) : TerminalTest(scenario) { }
    void Call(const std::string& name) { library.Get<Support::VoidFn>(name.c_str())(); }
    int32_t Visible(const std::string& panel) { return library.Get<Support::IntFn>(("VelmorIsVisible" + panel).c_str())(); }
    HWND Open(const char* name) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(library.Get<Support::IntFn>(name)())); }
    static int Tab(HWND dialog) { return static_cast<int>(SendMessageA(GetDlgItem(dialog, 0x3020), TCM_GETCURSEL, 0, 0)); }
};

// History Center is found by the beginning of its title. A tab beyond the dialog's,
// or whose page has another title, is refused and its dialog stays.
TEST_P(PanelTest, EachPanelAndDialogAnswersItsCommand)
{
    const Language& language = GetParam();
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

    EXPECT_EQ(library.Get<Support::IntFn>("VelmorGetLocalization")(), language.id);
    HWND history = Open("VelmorOpenHistoryCenter");
    EXPECT_EQ(StandInTest::TextOf(history), language.history + " - MetaQuotes-Demo");
    Cancel(history);
    HWND variables = Open("VelmorOpenGlobalVariables");
    EXPECT_EQ(StandInTest::TextOf(variables), language.variables);
    Cancel(variables);
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x81EE), Command(0x8A4B) }));
    EXPECT_TRUE(boxes.Take().empty());

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

const std::vector<std::string> EnglishPages
    = { "Server", "Charts", "Objects", "Trade", "Expert Advisors", "Email", "Publisher", "Events" };

INSTANTIATE_TEST_SUITE_P(Terminals, PanelTest,
    ::testing::Values(
        Language { StandIn::Scenario::Named("english"), 32000, "History Center", "Global Variables", "Options", EnglishPages, -1 },
        Language { StandIn::Scenario::Named("floating"), 32000, "History Center", "Global Variables", "Options", EnglishPages, -1 },
        Language { StandIn::Scenario::Named("russian"), 32025, "Архив котировок", "Глобальные переменные", "Настройки",
            { "Сервер", "Графики", "Объекты", "Торговля", "Советники", "Почта", "Публикация", "События" }, -1 },
        Language { English([](StandIn::Scenario& s) { s.optionsPages = { "Server", "Charts", "Objects", "Trade", "Experts" }; }),
            32000, "History Center", "Global Variables", "Options",
            { "Server", "Charts", "Objects", "Trade", "Experts", "Email", "Publisher", "Events" }, 4 }));

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

}  // namespace
