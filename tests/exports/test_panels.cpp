// Panels toggled from the View menu only when their visibility differs, and the dialogs opened from the menus, found by
// their titles, Options on each tab (the low 16 bits count): docked and floating, in English and Russian.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

struct Language {  // renamed: the tab whose page this build titles otherwise, or -1
    StandIn::Scenario scenario;
    int32_t id; std::string history, variables, options; std::vector<std::string> pages; int renamed;
};

const Language English { StandIn::Scenario::Named("english"), 32000, "History Center", "Global Variables", "Options",
    { "Server", "Charts", "Objects", "Trade", "Expert Advisors", "Email", "Publisher", "Events" }, -1 };

Language Changed(void (*change)(Language&)) { Language language = English; change(language); return language; }

class PanelTest : public Support::TerminalTest, public ::testing::WithParamInterface<Language> {
protected:
    PanelTest(const StandIn::Scenario& scenario = GetParam().scenario) : TerminalTest(scenario) { }
    void Call(const std::string& name) { library.Get<Support::VoidFn>(name.c_str())(); }
    int32_t Visible(const std::string& panel) { return library.Get<Support::IntFn>(("VelmorIsVisible" + panel).c_str())(); }
    HWND Open(const char* name) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(library.Get<Support::IntFn>(name)())); }
};

// History Center is found by its title's beginning; a tab beyond the dialog's or titled otherwise is refused, the dialog stays.
TEST_P(PanelTest, EachPanelAndDialogAnswersItsCommand)
{
    const Language& language = GetParam();
    const std::pair<std::string, UINT> panels[] = { { "DataWindow", 0x8216 }, { "MarketWatch", 0x821D },
        { "Navigator", 0x821E }, { "Terminal", 0x8222 }, { "Tester", 0x8223 } };
    const std::pair<std::string, int32_t> calls[] = { { "Show", 1 }, { "Hide", 0 }, { "Hide", 0 }, { "Show", 1 } };
    for (const auto& [name, toggle] : panels) {
        SCOPED_TRACE(name);
        for (const auto& [call, visible] : calls) {
            Call("Velmor" + call + name);
            EXPECT_EQ(Visible(name), visible) << call;
        }
        EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(toggle), Command(toggle) }));
    }

    EXPECT_EQ(library.Get<Support::IntFn>("VelmorGetLocalization")(), language.id);
    for (const auto& [name, title] : { std::pair { "VelmorOpenHistoryCenter", language.history + " - MetaQuotes-Demo" },
             std::pair { "VelmorOpenGlobalVariables", language.variables } }) {
        HWND dialog = Open(name);
        EXPECT_EQ(StandInTest::TextOf(dialog), title);
        Cancel(dialog);
    }
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x81EE), Command(0x8A4B) }));
    EXPECT_TRUE(boxes.Take().empty());

    const Box renamed { "VelmorOpenOptions()", "Ошибка в методе \"MT4::Windows::OpenOptions()\".\nНе получен системный "
        "дескриптор вкладки \"Expert Advisors\"." };
    const Box beyond { "VelmorOpenOptions()", "Ошибка в методе \"Utils::Controls::TabControl::SetFocus()\".\nВведённый "
        "номер вкладки превышает количество вкладок." };
    auto options = library.Get<Support::IntOfIntFn>("VelmorOpenOptions");
    for (int32_t tab : { 7, 6, 5, 4, 3, 2, 1, 0, 0x70003, 8 }) {
        SCOPED_TRACE(tab);
        const int shown = tab == 8 ? 0 : tab & 0xFFFF;
        const bool refused = tab == 8 || shown == language.renamed;
        const int32_t returned = options(tab);
        HWND dialog = DialogTitled(language.options);
        EXPECT_EQ(returned, refused ? 0 : static_cast<int32_t>(reinterpret_cast<INT_PTR>(dialog)));
        EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 0x3020), TCM_GETCURSEL, 0, 0), shown);
        EXPECT_EQ(StandInTest::TextOf(reinterpret_cast<HWND>(SendMessageA(dialog, PSM_GETCURRENTPAGEHWND, 0, 0))),
            language.pages[shown]);
        Cancel(dialog);
        EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x81F1) }));
        EXPECT_EQ(boxes.Take(), !refused ? std::vector<Box> {} : std::vector<Box> { tab == 8 ? beyond : renamed });
    }
}

INSTANTIATE_TEST_SUITE_P(Terminals, PanelTest,
    ::testing::Values(English, Changed([](Language& l) { l.scenario = StandIn::Scenario::Named("floating"); }),
        Language { StandIn::Scenario::Named("russian"), 32025, "Архив котировок", "Глобальные переменные", "Настройки",
            { "Сервер", "Графики", "Объекты", "Торговля", "Советники", "Почта", "Публикация", "События" }, -1 },
        Changed([](Language& l) {
            l.scenario.optionsPages = { "Server", "Charts", "Objects", "Trade", l.pages[4] = "Experts" };
            l.renamed = 4;
        })));

class MissingPanelTest : public PanelTest {
protected:
    MissingPanelTest() : PanelTest(Changed([](Language& l) {
        l.scenario.placement[static_cast<int>(StandIn::PanelId::Tester)] = StandIn::Placement::Absent; }).scenario) { }
};

// Start-up stops at the panel it cannot find and every call tries again; the panel counts as hidden.
TEST_F(MissingPanelTest, AMissingPanelCountsAsHiddenShowSendsTheToggleHideNothing)
{
    boxes.Take();
    EXPECT_EQ(Visible("Tester"), 0);
    Call("VelmorHideTester");
    Call("VelmorShowTester");
    EXPECT_EQ(terminal.Log().Take(), (std::vector<Event> { Command(0x8223) }));
    const Box startUp { "RazozazER4.dll", "Ошибка в функции \"Init()\".\n\nОшибка в методе \"MT4::Windows::HandleTester()\"."
        "\nНе получен системный дескриптор первого окна \"Tester\"." };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { startUp, startUp, startUp }));
}

}  // namespace
