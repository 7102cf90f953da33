// The stand-in's mailbox: the list of the Mailbox tab, the message windows a
// double click opens, the pages they hand out to other threads, Delete.
#include <gtest/gtest.h>

#include "Helpers.h"
#include "HtmlDocument.h"
#include "StandIn.h"

#include <commctrl.h>
#include <mshtml.h>
#include <oleacc.h>

using namespace StandInTest;
using StandIn::Event;

namespace {

std::string Header(HWND list, int column)
{
    char text[64] = "";
    LVCOLUMNA caption = {};
    caption.mask = LVCF_TEXT;
    caption.pszText = text;
    caption.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&caption));
    return text;
}

void Select(HWND list, int row)
{
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

HWND TopLevelTitled(const std::string& title)
{
    for (HWND window : WindowsOfThisProcess())
        if (!(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) && TextOf(window) == title)
            return window;
    return nullptr;
}

// The body of the page a browser control hands out, read the way any
// program of another apartment reads it.
struct PageRead {
    HRESULT result = E_FAIL;
    std::wstring markup;
    std::wstring text;
};

PageRead ReadPage(HWND browser)
{
    PageRead read;
    CoInitialize(nullptr);
    {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(browser, RegisterWindowMessageA("WM_HTML_GETOBJECT"), 0, 0, SMTO_ABORTIFHUNG, 5000,
            &answer);
        IHTMLDocument* document = nullptr;
        IDispatch* script = nullptr;
        IHTMLWindow2* window = nullptr;
        IHTMLDocument2* document2 = nullptr;
        IHTMLElement* body = nullptr;
        read.result = ObjectFromLresult(answer, __uuidof(IHTMLDocument), 0, reinterpret_cast<void**>(&document));
        if (SUCCEEDED(read.result))
            read.result = document->get_Script(&script);
        if (SUCCEEDED(read.result))
            read.result = script->QueryInterface(__uuidof(IHTMLWindow2), reinterpret_cast<void**>(&window));
        if (SUCCEEDED(read.result))
            read.result = window->get_document(&document2);
        if (SUCCEEDED(read.result))
            read.result = document2->get_body(&body);
        BSTR markup = nullptr, text = nullptr;
        if (SUCCEEDED(read.result) && SUCCEEDED(read.result = body->get_innerHTML(&markup))
            && SUCCEEDED(read.result = body->get_innerText(&text))) {
            read.markup = markup;
            read.text = text;
        }
        SysFreeString(markup);
        SysFreeString(text);
        for (IUnknown* object : std::initializer_list<IUnknown*> { body, document2, window, script, document })
            if (object)
                object->Release();
    }
    CoUninitialize();
    return read;
}

class MailboxTest : public ::testing::Test {
protected:
    HWND List() const { return terminal.Handles().terminalLists.at(4); }

    StandIn::Terminal terminal { StandIn::Scenario::Named("english") };
};

TEST_F(MailboxTest, ListShowsEveryMessageInTheColumnsTimeFromAndHeadline)
{
    EXPECT_EQ(Header(List(), 0), "Time");
    EXPECT_EQ(Header(List(), 1), "From");
    EXPECT_EQ(Header(List(), 2), "Headline");
    const auto& mailbox = StandIn::Scenario().mailbox;
    ASSERT_EQ(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(mailbox.size()));
    for (size_t row = 0; row < mailbox.size(); ++row) {
        const int line = static_cast<int>(row);
        EXPECT_EQ(Cell(List(), line, 0), mailbox[row].time);
        EXPECT_EQ(Cell(List(), line, 1), mailbox[row].from);
        EXPECT_EQ(Cell(List(), line, 2), mailbox[row].subject);
    }
}

TEST_F(MailboxTest, DoubleClickOpensTheSelectedMessageInAWindowWithItsBrowser)
{
    Select(List(), 1);
    terminal.Log().Clear();
    EXPECT_EQ(SendMessageA(List(), WM_LBUTTONDBLCLK, 7, 0), 0);
    EXPECT_EQ(terminal.Log().Take(),
        (std::vector<Event> { { Event::Mouse, List(), WM_LBUTTONDBLCLK, 7, 0, "", terminal.UiThread() } }));
    HWND message = TopLevelTitled("Ваш счёт открыт");
    ASSERT_TRUE(message);
    EXPECT_EQ(GetWindow(message, GW_OWNER), terminal.Handles().main);
    const std::vector<HWND> browsers = DescendantsOfClass(message, "Internet Explorer_Server");
    ASSERT_EQ(browsers.size(), 1u);

    // The same message again comes to the front instead of a second window.
    SendMessageA(List(), WM_LBUTTONDBLCLK, 0, 0);
    int windows = 0;
    for (HWND window : WindowsOfThisProcess())
        windows += TextOf(window) == "Ваш счёт открыт";
    EXPECT_EQ(windows, 1);

    // WM_CLOSE is journaled and closes the window.
    terminal.Log().Clear();
    SendMessageA(message, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(message));
    EXPECT_EQ(terminal.Log().Take(),
        (std::vector<Event> { { Event::Close, message, WM_CLOSE, 0, 0, "", terminal.UiThread() } }));
}

TEST_F(MailboxTest, PageGivesItsMarkupAndTextToAnotherApartment)
{
    Select(List(), 2);
    SendMessageA(List(), WM_LBUTTONDBLCLK, 0, 0);
    HWND message = TopLevelTitled("Margin level  ");
    ASSERT_TRUE(message);
    const PageRead read = ReadPage(DescendantsOfClass(message, "Internet Explorer_Server").at(0));
    ASSERT_EQ(read.result, S_OK);
    EXPECT_EQ(read.markup, StandIn::Html::Wide(StandIn::Scenario().mailbox[2].body));
    EXPECT_EQ(read.text, L"Margin level: 150\u00A0%\r\n<EURUSD> & \u4E16\u2026");
}

TEST_F(MailboxTest, DeleteRemovesTheSelectedMessageOnly)
{
    Select(List(), 0);
    terminal.Log().Clear();
    EXPECT_EQ(SendMessageA(List(), WM_KEYDOWN, VK_DELETE, 1), 0);
    EXPECT_EQ(terminal.Log().Take(),
        (std::vector<Event> { { Event::Key, List(), WM_KEYDOWN, VK_DELETE, 1, "", terminal.UiThread() } }));
    ASSERT_EQ(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(Cell(List(), 0, 2), "Ваш счёт открыт");
    EXPECT_EQ(Cell(List(), 1, 2), "Margin level  ");

    // The message that moved up opens, not the deleted one.
    Select(List(), 0);
    SendMessageA(List(), WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_TRUE(TopLevelTitled("Ваш счёт открыт"));
    EXPECT_FALSE(TopLevelTitled("Welcome!"));
}

TEST(MailboxLanguageTest, RussianListHasRussianColumnsAndAnEmptyMailboxNoLines)
{
    StandIn::Scenario scenario = StandIn::Scenario::Named("russian");
    scenario.mailbox.clear();
    StandIn::Terminal russian(scenario);
    HWND list = russian.Handles().terminalLists.at(4);
    EXPECT_EQ(Header(list, 0), "Время");
    EXPECT_EQ(Header(list, 1), "От");
    EXPECT_EQ(Header(list, 2), "Заголовок");
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, WM_LBUTTONDBLCLK, 0, 0), 0);  // nothing selected, nothing opens
    EXPECT_EQ(SendMessageA(list, WM_KEYDOWN, VK_DELETE, 1), 0);
}

TEST(PageTextTest, TextFollowsTheBrowsersRules)
{
    using StandIn::Html::TextOf;
    EXPECT_EQ(TextOf(L"<p>One</p><p>Two</p>"), L"One\r\nTwo");
    EXPECT_EQ(TextOf(L"  a \r\n\t b  "), L"a b");
    EXPECT_EQ(TextOf(L"a<br>b<BR/>c<br />d"), L"a\r\nb\r\nc\r\nd");
    EXPECT_EQ(TextOf(L"<b>bold</b> <i>and</i> plain"), L"bold and plain");
    EXPECT_EQ(TextOf(L"&lt;&gt;&amp;&quot;&apos;&nbsp;&#1025;&#x451;"), L"<>&\"'\u00A0\u0401\u0451");
    EXPECT_EQ(TextOf(L"&unknown; & &#99999999;"), L"&unknown; & &#99999999;");
    EXPECT_EQ(TextOf(L""), L"");
    EXPECT_EQ(TextOf(L"<div></div>"), L"");
}

}  // namespace
