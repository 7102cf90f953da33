#include "Panels.h"

#include "Mailbox.h"
#include "MarketWatch.h"
#include "TerminalCommands.h"
#include "Texts.h"
#include "Ui.h"

#include <commctrl.h>

#include <stdexcept>

namespace StandIn {

namespace {

constexpr int ToolbarWidth = 180;
constexpr int TabStripHeight = 24;

std::vector<HWND> VisibleChildren(HWND window)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            children.push_back(child);
    return children;
}

void AddColumn(HWND list, int index, const char* caption, int width)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(caption);
    column.cx = width;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

HWND CreateTabStrip(HWND parent, UINT id, const char* const* captions, int count, DWORD style)
{
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_BOTTOM | style,
        0, 0, 0, 0, parent, ChildId(id), GetModuleHandleA(nullptr), nullptr);
    if (!tabs)
        throw std::runtime_error("cannot create a tab strip");
    SendMessageA(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (int i = 0; i < count; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(captions[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    return tabs;
}

// Dock bars ---------------------------------------------------------------

void DockBar::Create(HWND main, UINT id)
{
    Window::Create(0, ClassName::ControlBar, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0,
        0, main, id);
}

LRESULT DockBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        return OnSize(message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

// Across: toolbars side by side at their width, panels sharing the width.
// Down: panels sharing the height.
LRESULT DockBar::OnSize(UINT, WPARAM, LPARAM)
{
    RECT client;
    GetClientRect(Handle(), &client);
    const std::vector<HWND> children = VisibleChildren(Handle());
    const int count = static_cast<int>(children.size());
    for (int i = 0; i < count; ++i) {
        char className[64] = "";
        GetClassNameA(children[i], className, sizeof className);
        if (m_direction == Direction::Down)
            MoveWindow(children[i], 0, client.bottom * i / count, client.right, client.bottom / count, TRUE);
        else if (lstrcmpA(className, TOOLBARCLASSNAMEA) == 0)
            MoveWindow(children[i], ToolbarWidth * i, 0, ToolbarWidth - 2, client.bottom, TRUE);
        else
            MoveWindow(children[i], client.right * i / count, 0, client.right / count, client.bottom, TRUE);
    }
    return 0;
}

// Control bars ------------------------------------------------------------

void ControlBar::Create(HWND parent, const char* title, UINT id)
{
    Window::Create(0, ClassName::ControlBar, title, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
        0, 0, parent, id);
}

LRESULT ControlBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        return OnSize(message, wParam, lParam);
    case WM_PAINT:
        return OnPaint(message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

LRESULT ControlBar::OnSize(UINT, WPARAM, LPARAM)
{
    RECT client;
    GetClientRect(Handle(), &client);
    const int caption = CaptionHeight();
    if (HWND content = GetWindow(Handle(), GW_CHILD))
        MoveWindow(content, 2, caption + 2, client.right - 4, client.bottom - caption - 4, TRUE);
    return 0;
}

// A docked bar shows its panel's title above the content.
LRESULT ControlBar::OnPaint(UINT, WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    char title[128] = "";
    const int length = GetWindowTextA(Handle(), title, sizeof title);
    if (length > 0) {
        RECT caption;
        GetClientRect(Handle(), &caption);
        caption.bottom = CaptionHeight();
        FillRect(dc, &caption, reinterpret_cast<HBRUSH>(COLOR_INACTIVECAPTION + 1));
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INACTIVECAPTIONTEXT));
        caption.left += 4;
        DrawTextA(dc, title, length, &caption, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    }
    EndPaint(Handle(), &paint);
    return 0;
}

int ControlBar::CaptionHeight() const { return GetWindowTextLengthA(Handle()) > 0 ? 16 : 0; }

// Floating frames ---------------------------------------------------------

void FloatingFrame::Create(HWND main, const char* title, int index)
{
    Window::Create(WS_EX_TOOLWINDOW, ClassName::FloatingFrame, title,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, 60 + 40 * index, 120 + 40 * index, 260,
        320, main, 0);
}

LRESULT FloatingFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        return OnSize(message, wParam, lParam);
    case WM_CLOSE:
        return OnClose(message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

void FloatingFrame::Layout()
{
    RECT client;
    GetClientRect(Handle(), &client);
    if (HWND bar = GetWindow(Handle(), GW_CHILD))
        MoveWindow(bar, 0, 0, client.right, client.bottom, TRUE);
}

LRESULT FloatingFrame::OnSize(UINT, WPARAM, LPARAM)
{
    Layout();
    return 0;
}

// Closing a floating panel hides it; the panel lives as long as the terminal.
LRESULT FloatingFrame::OnClose(UINT, WPARAM, LPARAM)
{
    ShowWindow(Handle(), SW_HIDE);
    return 0;
}

// Panels ------------------------------------------------------------------

void Panel::Create(HWND bar)
{
    m_ui.Handles().panel[static_cast<int>(m_id)] = Window::Create(0, ClassName::PanelContent, "",
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, bar, Id::Panel[static_cast<int>(m_id)]);
}

LRESULT Panel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(message, wParam, lParam);
    case WM_SIZE:
        return OnSize(message, wParam, lParam);
    case WM_NOTIFY:
        return OnNotify(message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

LRESULT Panel::OnCreate(UINT, WPARAM, LPARAM)
{
    CreateControls();
    return 0;
}

LRESULT Panel::OnSize(UINT, WPARAM, LPARAM lParam)
{
    Layout(LOWORD(lParam), HIWORD(lParam));
    return 0;
}

LRESULT Panel::OnNotify(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

HWND Panel::CreateControl(const char* className, DWORD style, UINT id)
{
    HWND control = CreateWindowExA(WS_EX_CLIENTEDGE, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
        Handle(), ChildId(id), GetModuleHandleA(nullptr), nullptr);
    if (!control)
        throw std::runtime_error("cannot create a " + std::string(className));
    return control;
}

void DataWindowPanel::CreateControls()
{
    m_ui.Handles().dataWindowList = CreateControl(WC_LISTVIEWA, LVS_REPORT | LVS_NOSORTHEADER, Id::DataWindowList);
}

void DataWindowPanel::Layout(int width, int height)
{
    MoveWindow(m_ui.Handles().dataWindowList, 0, 0, width, height, TRUE);
}

// One row per scenario symbol: Symbol, Bid, Ask.
void MarketWatchPanel::CreateControls()
{
    HWND list = CreateControl(WC_LISTVIEWA, LVS_REPORT | LVS_SHOWSELALWAYS, Id::MarketWatchList);
    AddColumn(list, 0, m_ui.Text().symbolColumn, 80);
    AddColumn(list, 1, "Bid", 60);
    AddColumn(list, 2, "Ask", 60);
    const std::vector<QuoteSpec>& rows = m_ui.Setup().marketWatch;
    SendMessageA(list, LVM_SETITEMCOUNT, rows.size(), 0);
    for (size_t row = 0; row < rows.size(); ++row) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = const_cast<char*>(rows[row].symbol.c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        const std::string* prices[] = { &rows[row].bid, &rows[row].ask };
        for (int column = 1; column <= 2; ++column) {
            item.iSubItem = column;
            item.pszText = const_cast<char*>(prices[column - 1]->c_str());
            SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        }
    }
    m_ui.Handles().marketWatchList = list;
    ServeMarketWatch(m_ui, list);
}

void MarketWatchPanel::Layout(int width, int height)
{
    MoveWindow(m_ui.Handles().marketWatchList, 0, 0, width, height, TRUE);
}

// The root nodes, collapsed, with the account and the scenario's programs
// under them; the first root is selected: the terminal's tree always has a
// selection.
void NavigatorPanel::CreateControls()
{
    HWND tree = CreateControl(WC_TREEVIEWA, TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS,
        Id::NavigatorTree);
    const Scenario& setup = m_ui.Setup();
    const std::vector<std::string> account = { setup.account };
    const std::vector<std::string>* leaves[NavigatorNodeCount]
        = { &account, &setup.indicators, &setup.experts, &setup.customIndicators, &setup.scripts };
    const auto insert = [tree](HTREEITEM parent, const char* text) {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(text);
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    };
    HTREEITEM first = nullptr;
    for (int node = 0; node < NavigatorNodeCount; ++node) {
        HTREEITEM root = insert(TVI_ROOT, m_ui.Text().navigatorNodes[node]);
        for (const std::string& leaf : *leaves[node])
            insert(root, leaf.c_str());
        first = first ? first : root;
    }
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
    m_ui.Handles().navigatorTree = tree;
}

void NavigatorPanel::Layout(int width, int height)
{
    MoveWindow(m_ui.Handles().navigatorTree, 0, 0, width, height, TRUE);
}

// Lists are created in tab order: children are enumerated in creation
// order, so list i is the i-th list view found under the panel.
void TerminalPanel::CreateControls()
{
    // Each tab as wide as its caption, as the terminal's own strip has them.
    m_tabs = CreateTabStrip(Handle(), Id::TerminalTabs, m_ui.Text().terminalTabs, TerminalTabCount, 0);
    JournalClicks(m_ui, m_tabs);
    for (int i = 0; i < m_ui.Setup().terminalLists; ++i)
        m_lists.push_back(CreateControl(WC_LISTVIEWA, LVS_REPORT, Id::TerminalListFirst + i));
    for (size_t i = 1; i < m_lists.size(); ++i)
        ShowWindow(m_lists[i], SW_HIDE);
    m_ui.Handles().terminalTabs = m_tabs;
    m_ui.Handles().terminalLists = m_lists;
    if (m_lists.size() > MailboxTab)
        ServeMailbox(m_ui, m_lists[MailboxTab]);
}

void TerminalPanel::Layout(int width, int height)
{
    const int listHeight = height > TabStripHeight ? height - TabStripHeight : 0;
    for (HWND list : m_lists)
        MoveWindow(list, 0, 0, width, listHeight, TRUE);
    MoveWindow(m_tabs, 0, listHeight, width, height - listHeight, TRUE);
}

LRESULT TerminalPanel::OnNotify(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom == m_tabs && header->code == TCN_SELCHANGE) {
        ShowListOfTab(static_cast<int>(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0)));
        return 0;
    }
    return Panel::OnNotify(message, wParam, lParam);
}

void TerminalPanel::ShowListOfTab(int tab)
{
    for (size_t i = 0; i < m_lists.size(); ++i)
        ShowWindow(m_lists[i], static_cast<int>(i) == tab ? SW_SHOWNA : SW_HIDE);
}

void TesterPanel::CreateControls()
{
    m_tabs = CreateTabStrip(Handle(), Id::TesterTabs, m_ui.Text().testerTabs, TesterTabCount);
    m_ui.Handles().testerTabs = m_tabs;
}

void TesterPanel::Layout(int width, int height)
{
    const int top = height > TabStripHeight ? height - TabStripHeight : 0;
    MoveWindow(m_tabs, 0, top, width, height - top, TRUE);
}

}  // namespace StandIn
