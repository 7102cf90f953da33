// Terminal tabs selected by number and by caption: the exact clicks on the
// tab strip, the tab and list that follow, and the refusals.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

class TerminalTabTest : public Support::TerminalTest {
protected:
    using TerminalTest::TerminalTest;

    void ByNumber(int32_t tab) { library.Get<Support::VoidOfIntFn>("VelmorSetTerminalTabByNumber")(tab); }
    void ByName(const char* name) { library.Get<Support::VoidOfTextFn>("VelmorSetTerminalTabByName")(name); }

    HWND Strip() const { return terminal.Handles().terminalTabs; }
    // A press and a release at the middle of the tab: the tabs are as wide as
    // their captions.
    std::vector<Event> Click(int tab) const
    {
        RECT rect = {};
        SendMessageA(Strip(), TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&rect));
        const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        return { Expected(Event::Mouse, Strip(), WM_LBUTTONDOWN, MK_LBUTTON, point),
            Expected(Event::Mouse, Strip(), WM_LBUTTONUP, 0, point) };
    }
    // The selected tab, checked against the one list that is shown.
    int Selected() const
    {
        const int tab = static_cast<int>(SendMessageA(Strip(), TCM_GETCURSEL, 0, 0));
        const std::vector<HWND>& lists = terminal.Handles().terminalLists;
        for (int i = 0; i < static_cast<int>(lists.size()); ++i)
            EXPECT_EQ(IsWindowVisible(lists[i]) != FALSE, i == tab) << "list " << i;
        return tab;
    }
};

TEST_F(TerminalTabTest, EachNumberClicksItsPointAndSelectsItsTab)
{
    for (int tab : { 4, 0, 6, 1, 5, 2, 3 }) {
        ByNumber(tab);
        EXPECT_EQ(terminal.Log().Take(), Click(tab)) << "tab " << tab;
        EXPECT_EQ(Selected(), tab);
    }
    ByNumber(65540);  // only the low 16 bits count
    EXPECT_EQ(terminal.Log().Take(), Click(4));
    EXPECT_EQ(Selected(), 4);
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(TerminalTabTest, ANumberAboveSixIsRefusedWithoutAClick)
{
    ByNumber(2);
    terminal.Log().Clear();
    ByNumber(7);
    ByNumber(0x10007);
    const Box refused { "VelmorSetTerminalTabByNumber()",
        "Ошибка в методе \"MT4::Windows::SetTerminalTab()\".\nНеверный номер вкладки.\nwTabId = 7" };
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { refused, refused }));
    EXPECT_TRUE(terminal.Log().Take().empty());
    EXPECT_EQ(Selected(), 2);
}

// Captions compare byte for byte; anything else selects the first tab.
TEST_F(TerminalTabTest, ACaptionSelectsItsTabAnyOtherNameTheFirst)
{
    const struct {
        const char* name;
        int tab;
    } cases[] = { { "Mailbox", 4 }, { "mailbox", 0 }, { "Jornal", 6 }, { "Журнал", 0 }, { "Account history", 1 },
        { "Journal", 6 }, { "journal", 0 }, { "", 0 }, { nullptr, 0 } };
    for (const auto& c : cases) {
        ByNumber(3);
        terminal.Log().Clear();
        ByName(c.name);
        EXPECT_EQ(terminal.Log().Take(), Click(c.tab)) << (c.name ? c.name : "null");
        EXPECT_EQ(Selected(), c.tab);
    }
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(TerminalTabTest, APanelWithoutItsTabStripIsReportedWithoutAClick)
{
    terminal.OnUiThread([&] { DestroyWindow(Strip()); });
    ByNumber(2);
    ByName("News");
    const std::string text
        = "Ошибка в методе \"MT4::Windows::SetTerminalTab()\".\nНе получен системный дескриптор блока вкладок.";
    EXPECT_EQ(boxes.Take(), (std::vector<Box> { { "VelmorSetTerminalTabByNumber()", text },
                                { "VelmorSetTerminalTabByName()", text } }));
    EXPECT_TRUE(terminal.Log().Take().empty());
}

class RussianTerminalTabTest : public TerminalTabTest {
protected:
    RussianTerminalTabTest() : TerminalTabTest(StandIn::Scenario::Named("russian")) { }
};

TEST_F(RussianTerminalTabTest, RussianCaptionsSelectTheirTabsEnglishOnesTheFirst)
{
    ByName("Почтовый ящик");
    EXPECT_EQ(terminal.Log().Take(), Click(4));
    ByName("Mailbox");
    EXPECT_EQ(terminal.Log().Take(), Click(0));
    ByName("Journal");
    EXPECT_EQ(terminal.Log().Take(), Click(0));
    ByName("Журнал");
    EXPECT_EQ(terminal.Log().Take(), Click(6));
    EXPECT_EQ(Selected(), 6);
}

}  // namespace
