#include "Mailbox.h"

#include "HtmlDocument.h"
#include "StandIn.h"
#include "Ui.h"
#include "Window.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace StandIn {

namespace {

constexpr const char* MessageFrameClass = "Afx:00400000:3:00010011:00000000:00000000";
constexpr const char* BrowserClass = "Internet Explorer_Server";

constexpr UINT BrowserId = 0xE900;

const char* const Columns[][3] = {
    { "Время", "От", "Заголовок" },  // Russian
    { "Time", "From", "Headline" },    // English
    { "Zeit", "Von", "Betreff" },      // neither
};

// The browser control of a message window: shows the body's text and hands
// out the page's document.
class BrowserControl : public Window {
public:
    explicit BrowserControl(const MessageSpec& message)
        : m_message(message), m_getObject(RegisterWindowMessageA("WM_HTML_GETOBJECT"))
    {
    }
    void Create(HWND frame)
    {
        Window::Create(0, BrowserClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame, BrowserId);
    }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == m_getObject && m_getObject)
            return OnGetObject(message, wParam, lParam);
        if (message == WM_PAINT)
            return OnPaint(message, wParam, lParam);
        return Default(message, wParam, lParam);
    }

private:
    LRESULT OnGetObject(UINT, WPARAM wParam, LPARAM)
    {
        return Html::DocumentResult(m_message.subject, m_message.body, wParam);
    }

    LRESULT OnPaint(UINT, WPARAM, LPARAM)
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        RECT area;
        GetClientRect(Handle(), &area);
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        InflateRect(&area, -8, -8);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        const std::wstring text = Html::TextOf(Html::Wide(m_message.body));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        EndPaint(Handle(), &paint);
        return 0;
    }

    MessageSpec m_message;
    UINT m_getObject;
};

// A message opened from the list: a top-level window owned by the main
// window, titled with the subject, the browser control filling it.
class MessageWindow : public Window {
public:
    MessageWindow(Ui& ui, const MessageSpec& message, int id) : m_ui(ui), m_browser(message), m_id(id) { }
    int Id() const { return m_id; }
    void Create(const std::string& title, int offset)
    {
        Window::Create(0, MessageFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120 + offset,
            100 + offset, 480, 360, m_ui.Handles().main, 0);
    }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_CREATE:
            m_browser.Create(Handle());
            return 0;
        case WM_SIZE:
            MoveWindow(m_browser.Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_CLOSE:
            m_ui.Record(Event::Close, Handle(), message, wParam, lParam);
            return Default(message, wParam, lParam);
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    Ui& m_ui;
    BrowserControl m_browser;
    int m_id;
};

class Mailbox {
public:
    Mailbox(Ui& ui, HWND list);

private:
    struct Message {
        int id;
        MessageSpec spec;
    };

    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    LRESULT OnDoubleClick(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    int Selected() const;
    void Open(int line);
    void Delete(int line);
    void AskToDelete(int id);

    Ui& m_ui;
    HWND m_list;
    bool m_joined;  // this thread joined an apartment for the pages
    std::vector<Message> m_messages;  // in list order
    std::vector<std::unique_ptr<MessageWindow>> m_windows;
    bool m_asking = false;  // the delete question is open
};

Mailbox::Mailbox(Ui& ui, HWND list)
    : m_ui(ui), m_list(list), m_joined(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
{
    // One message is selected at a time.
    SetWindowLongPtrA(list, GWL_STYLE, GetWindowLongPtrA(list, GWL_STYLE) | LVS_SINGLESEL);
    const auto& captions = Columns[static_cast<int>(ui.Setup().language)];
    const int widths[] = { 110, 160, 300 };
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(captions[i]);
        column.cx = widths[i];
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    for (const MessageSpec& spec : ui.Setup().mailbox) {
        const int line = static_cast<int>(m_messages.size());
        m_messages.push_back({ line, spec });
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = line;
        item.pszText = const_cast<char*>(spec.time.c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        const std::string* cells[] = { &spec.from, &spec.subject };
        for (int column = 1; column < 3; ++column) {
            item.iSubItem = column;
            item.pszText = const_cast<char*>(cells[column - 1]->c_str());
            SendMessageA(list, LVM_SETITEMTEXTA, line, reinterpret_cast<LPARAM>(&item));
        }
    }
    Subclass(list, ListProc, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Mailbox::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* mailbox = reinterpret_cast<Mailbox*>(self);
    switch (message) {
    case WM_LBUTTONDBLCLK:
        return mailbox->OnDoubleClick(message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_DELETE)
            return mailbox->OnKeyDown(message, wParam, lParam);
        break;
    case WM_NCDESTROY:
        mailbox->OnDestroy();
        break;
    }
    return Next(list, message, wParam, lParam);
}

// The terminal opens the selected message, wherever the click was.
LRESULT Mailbox::OnDoubleClick(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_ui.Record(Event::Mouse, m_list, message, wParam, lParam);
    const int line = Selected();
    if (line >= 0)
        Open(line);
    return 0;
}

// With the questions on, the terminal answers the key at once and asks the
// user afterwards; a further key while the question is open asks nothing.
LRESULT Mailbox::OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_ui.Record(Event::Key, m_list, message, wParam, lParam);
    const int line = Selected();
    if (line < 0 || m_asking)
        return 0;
    if (!m_ui.Setup().askRemoval) {
        Delete(line);
        return 0;
    }
    m_asking = true;
    m_ui.After(std::max<DWORD>(m_ui.Setup().lagMs, USER_TIMER_MINIMUM),
        [this, id = m_messages.at(line).id] { AskToDelete(id); });
    return 0;
}

void Mailbox::AskToDelete(int id)
{
    const char* question = m_ui.Setup().language == Language::Russian ? "Удалить выбранное сообщение?"
                                                                       : "Delete the selected message?";
    const int answer = MessageBoxA(m_ui.Handles().main, question, "MetaTrader", MB_YESNO | MB_ICONQUESTION);
    m_asking = false;
    const auto message = std::find_if(m_messages.begin(), m_messages.end(), [id](const Message& m) { return m.id == id; });
    if (answer == IDYES && message != m_messages.end())
        Delete(static_cast<int>(message - m_messages.begin()));
}

void Mailbox::OnDestroy()
{
    const bool joined = m_joined;
    delete this;
    if (joined)
        CoUninitialize();
}

int Mailbox::Selected() const
{
    return static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// A message already open comes to the front; otherwise it opens in a new
// window, cascaded from the others.
void Mailbox::Open(int line)
{
    const Message& message = m_messages.at(line);
    for (const auto& window : m_windows)
        if (window->Id() == message.id && IsWindow(window->Handle())) {
            SetWindowPos(window->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            return;
        }
    std::erase_if(m_windows, [](const auto& window) { return !window->Handle(); });
    auto window = std::make_unique<MessageWindow>(m_ui, message.spec, message.id);
    window->Create(message.spec.subject, 24 * static_cast<int>(m_windows.size() % 8));
    m_windows.push_back(std::move(window));
}

// No confirmation: the line goes at once; its window, if open, stays.
void Mailbox::Delete(int line)
{
    SendMessageA(m_list, LVM_DELETEITEM, line, 0);
    m_messages.erase(m_messages.begin() + line);
}

}  // namespace

void ServeMailbox(Ui& ui, HWND list)
{
    const auto face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    Window::Register(MessageFrameClass, CS_DBLCLKS, face);
    Window::Register(BrowserClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr);
    new Mailbox(ui, list);  // lives as long as the list
}

}  // namespace StandIn
