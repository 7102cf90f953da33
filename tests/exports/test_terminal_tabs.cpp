// Terminal tabs selected by number (its low 16 bits) and by caption (byte for byte, anything else: the first tab),
// in English and Russian: the exact clicks on the tab strip, the tab and list that follow, and the refusals.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

struct Row { bool byName; const char* name; int32_t number; int tab; };  // tab -1: refused
Row N(int32_t number, int tab) { return { false, nullptr, number, tab }; }
Row C(const char* name, int tab) { return { true, name, 0, tab }; }
struct Language { const char* scenario; std::vector<Row> rows; };

class TerminalTabTest : public Support::TerminalTest, public ::testing::WithParamInterface<Language> {
protected:
    TerminalTabTest() : TerminalTest(StandIn::Scenario::Named(GetParam().scenario)) { }
    HWND Strip() const { return terminal.Handles().terminalTabs; }
    std::vector<Event> Click(int tab) const  // at the middle of the tab, as wide as its caption
    {
        RECT rect = {};
        SendMessageA(Strip(), TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&rect));
        const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        return { Expected(Event::Mouse, Strip(), WM_LBUTTONDOWN, MK_LBUTTON, point),
            Expected(Event::Mouse, Strip(), WM_LBUTTONUP, 0, point) };
    }
    int Selected() const  // checked against the one list that is shown
    {
        const int tab = static_cast<int>(SendMessageA(Strip(), TCM_GETCURSEL, 0, 0));
        for (int i = 0; i < static_cast<int>(terminal.Handles().terminalLists.size()); ++i)
            EXPECT_EQ(IsWindowVisible(terminal.Handles().terminalLists[i]) != FALSE, i == tab) << "list " << i;
        return tab;
    }
};

TEST_P(TerminalTabTest, EachTabIsClickedAndSelectedAnythingElseIsRefusedWithoutAClick)
{
    auto byNumber = library.Get<Support::VoidOfIntFn>("VelmorSetTerminalTabByNumber");
    auto byName = library.Get<Support::VoidOfTextFn>("VelmorSetTerminalTabByName");
    const std::string error = "Ошибка в методе \"MT4::Windows::SetTerminalTab()\".\n";
    const Box refused { "VelmorSetTerminalTabByNumber()", error + "Неверный номер вкладки.\nwTabId = 7" };
    int selected = Selected();
    for (const Row& row : GetParam().rows) {
        SCOPED_TRACE(row.byName ? (row.name ? row.name : "null") : std::to_string(row.number));
        row.byName ? byName(row.name) : byNumber(row.number);
        EXPECT_EQ(terminal.Log().Take(), row.tab < 0 ? std::vector<Event> {} : Click(row.tab));
        EXPECT_EQ(boxes.Take(), row.tab < 0 ? std::vector<Box> { refused } : std::vector<Box> {});
        EXPECT_EQ(Selected(), selected = row.tab < 0 ? selected : row.tab);
    }
    terminal.OnUiThread([&] { DestroyWindow(Strip()); });  // without its strip nothing is clicked
    byNumber(2);
    byName("News");
    const std::string noStrip = error + "Не получен системный дескриптор блока вкладок.";
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorSetTerminalTabByNumber()", noStrip }, { "VelmorSetTerminalTabByName()", noStrip } }));
    EXPECT_TRUE(terminal.Log().Take().empty());
}

INSTANTIATE_TEST_SUITE_P(Languages, TerminalTabTest,
    ::testing::Values(Language { "english", { N(4, 4), C("mailbox", 0), N(6, 6), C("Журнал", 0), N(1, 1), C("journal", 0),
                          N(5, 5), C("", 0), N(2, 2), C(nullptr, 0), N(3, 3), C("Mailbox", 4), C("Jornal", 6),
                          C("Account history", 1), C("Journal", 6), N(0, 0), N(65540, 4), N(7, -1), N(0x10007, -1) } },
        Language { "russian", { C("Почтовый ящик", 4), C("Mailbox", 0), N(3, 3), C("Journal", 0), C("Журнал", 6) } }));

}  // namespace
