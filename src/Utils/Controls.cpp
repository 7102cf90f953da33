#include "Utils/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "Utils/Errors.h"
#include "Utils/Memory.h"
#include "Utils/StringS.h"
#include "Utils/Sync.h"
#include "Utils/Wait.h"

namespace Utils::Controls {

namespace {

// The kinds' names: fixed 25-byte entries.
const char KindNames[][25] = { "", "Button", "CheckBox", "Edit", "Internet Explorer_Server", "ListView",
    "RadioButton", "Static", "TabControl", "TreeView" };

std::string Hex(UINT message)
{
    char text[16] = {};
    std::snprintf(text, sizeof text, "%04X", message);
    return text;
}

// One message to a control, answered within the bound or reported. Before the
// report, `keep` leaves the memory the message points at to a late answer.
template <class Keep>
LRESULT Send(const char* method, HWND window, UINT message, WPARAM wParam, LPARAM lParam, Keep&& keep)
{
    DWORD_PTR result = 0;
    SetLastError(0);
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, Wait::ControlBound, &result))
        return static_cast<LRESULT>(result);
    const DWORD code = GetLastError();
    keep();
    throw Error::Method(method, "Элемент управления не ответил на сообщение 0x" + Hex(message) + ".")
        + LastErrorText(code);
}


}  // namespace

LRESULT Send(const char* method, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Send(method, window, message, wParam, lParam, [] {});
}

namespace {

// Work carried to a control's own thread. A read of thousands of rows sent
// from another thread costs a round trip between the threads per row; carried
// to the control's thread in one round trip, each of its messages is a direct
// call there. The control receives the same messages in the same order: only
// the thread that sends them changes.
//
// For the round trip, the control gets a window procedure of the library in
// front of its own: it runs the work on the library's registered message and
// hands every other message on unchanged. It is taken away again as soon as no
// carried work needs it; if another procedure was put in front of it
// meanwhile, it stays, handing on, and the library stays loaded for it.
// How long one carried turn of a bulk read may hold the control's thread.
constexpr ULONGLONG CarriedSlice = 20;

class Carrier {
public:
    // Runs `work` on the thread of `window` and returns true; false when the
    // window is not another thread's window of this process or the work could
    // not be carried (nothing of it ran): the caller then does it itself. An
    // error thrown by the work is thrown here. The work must own (or share)
    // everything it uses: it may end after its caller gave up waiting.
    static bool Carry(const char* method, HWND window, std::function<void()> work);

private:
    enum : LONG { Waiting, Running, Done, Abandoned };
    static constexpr WPARAM Cookie = 0x52415A34;  // "RAZ4"
    static constexpr LRESULT Carried = 0x52415A34;

    struct Work {
        std::function<void()> body;
        std::exception_ptr error;
        volatile LONG state = Waiting;
    };
    struct Front {
        WNDPROC previous = nullptr;
        bool unicode = false;
        bool installed = false;
        int users = 0;
    };

    static UINT Message();
    static bool Install(HWND window);
    static void Release(HWND window);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    static Sync::CriticalSection s_lock;
    static std::map<HWND, Front> s_fronts;           // every control ever carried to
    static std::set<std::shared_ptr<Work>*> s_handed;  // work sent and not yet taken
};

Sync::CriticalSection Carrier::s_lock;
std::map<HWND, Carrier::Front> Carrier::s_fronts;
std::set<std::shared_ptr<Carrier::Work>*> Carrier::s_handed;

UINT Carrier::Message()
{
    static const UINT message = RegisterWindowMessageA("RazozazER4.CarriedWork");
    return message;
}

bool Carrier::Install(HWND window)
{
    Sync::Lock<Sync::CriticalSection> lock(s_lock);
    Front& front = s_fronts[window];
    if (!front.installed) {
        // Our procedure is of the window's own kind, so no message is
        // translated between ANSI and Unicode on its way through.
        front.unicode = IsWindowUnicode(window) != FALSE;
        const auto ours = reinterpret_cast<LONG_PTR>(&Procedure);
        const LONG_PTR previous = front.unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, ours)
                                                : SetWindowLongPtrA(window, GWLP_WNDPROC, ours);
        if (!previous)
            return false;
        front.previous = reinterpret_cast<WNDPROC>(previous);
        front.installed = true;
    }
    ++front.users;
    return true;
}

void Carrier::Release(HWND window)
{
    Sync::Lock<Sync::CriticalSection> lock(s_lock);
    Front& front = s_fronts[window];
    if (--front.users > 0 || !front.installed)
        return;
    const auto ours = reinterpret_cast<LONG_PTR>(&Procedure);
    const LONG_PTR now
        = front.unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC) : GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (now == ours) {
        const auto previous = reinterpret_cast<LONG_PTR>(front.previous);
        front.unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, previous)
                      : SetWindowLongPtrA(window, GWLP_WNDPROC, previous);
        front.installed = false;
    } else if (now) {
        HMODULE pinned = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
            reinterpret_cast<LPCWSTR>(&Procedure), &pinned);
    } else {
        front.installed = false;  // the window is gone
    }
}

LRESULT CALLBACK Carrier::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Front front;
    std::shared_ptr<Work> work;
    {
        Sync::Lock<Sync::CriticalSection> lock(s_lock);
        front = s_fronts[window];
        auto* handed = reinterpret_cast<std::shared_ptr<Work>*>(lParam);
        if (message == Message() && wParam == Cookie && s_handed.erase(handed)) {
            work = std::move(*handed);
            delete handed;
        }
    }
    if (!work)
        return front.unicode ? CallWindowProcW(front.previous, window, message, wParam, lParam)
                             : CallWindowProcA(front.previous, window, message, wParam, lParam);
    if (InterlockedCompareExchange(&work->state, Running, Waiting) == Waiting) {
        try {
            work->body();
        } catch (...) {
            work->error = std::current_exception();
        }
        InterlockedExchange(&work->state, Done);
    }
    return Carried;
}

bool Carrier::Carry(const char* method, HWND window, std::function<void()> body)
{
    DWORD owner = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &owner);
    if (!thread || owner != GetCurrentProcessId() || thread == GetCurrentThreadId() || !Install(window))
        return false;
    auto work = std::make_shared<Work>();
    work->body = std::move(body);
    auto* handed = new std::shared_ptr<Work>(work);
    {
        Sync::Lock<Sync::CriticalSection> lock(s_lock);
        s_handed.insert(handed);
    }
    DWORD_PTR answer = 0;
    const BOOL sent = SendMessageTimeoutW(
        window, Message(), Cookie, reinterpret_cast<LPARAM>(handed), SMTO_NORMAL, Wait::ControlBound, &answer);
    Release(window);
    if (InterlockedCompareExchange(&work->state, Abandoned, Waiting) == Waiting) {
        // Nothing ran: a late delivery finds the work abandoned, and one that
        // never comes leaves nothing behind.
        Sync::Lock<Sync::CriticalSection> lock(s_lock);
        if (s_handed.erase(handed))
            delete handed;
        return false;
    }
    // The work began on the control's thread: it is waited for as one more
    // message to the control.
    if (!sent && !Wait::Until([&] { return work->state == Done; }, 1, Wait::ControlBound))
        throw Error::Method(method, "Элемент управления не ответил на сообщение 0x" + Hex(Message()) + ".")
            + LastErrorText(ERROR_TIMEOUT);
    if (work->error)
        std::rethrow_exception(work->error);
    return true;
}

}  // namespace

namespace {

// The item structure and its text area for one operation, laid out as item
// then text: in local memory for a control of this process, in one block of
// the owner's memory for a control of another process.
class Query {
public:
    Query(HWND window, uint32_t itemBytes) : m_itemBytes(itemBytes)
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == GetCurrentProcessId())
            m_local = new char[itemBytes + Memory::TextBytes]();
        else
            m_remote = std::make_unique<Memory::Distant>(owner, itemBytes + Memory::TextBytes);
    }
    ~Query()
    {
        if (!m_kept)
            delete[] m_local;
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    LPARAM Item() const { return static_cast<LPARAM>(Start()); }
    char* Text() const { return reinterpret_cast<char*>(Start() + m_itemBytes); }

    template <class T>
    void Put(const T& item)
    {
        if (m_remote)
            ::Utils::Base::Write(*m_remote, &item, sizeof item);
        else
            std::memcpy(m_local, &item, sizeof item);
    }

    template <class T>
    T Get()
    {
        if (m_remote)
            return ::Utils::Base::Read<T>(*m_remote);
        T item;
        std::memcpy(&item, m_local, sizeof item);
        return item;
    }

    // A list-view text of `length` characters, as the control reported it.
    std::string ListText(LRESULT length)
    {
        if (m_remote)
            return ::Utils::Base::ReadA(*m_remote, static_cast<uint32_t>(std::clamp<LRESULT>(length, 0, 260)));
        return std::string(m_local + m_itemBytes, strnlen(m_local + m_itemBytes, Memory::TextBytes));
    }

    // The tree-view text: the whole text area up to its first zero byte.
    std::string TreeText()
    {
        if (!m_remote)
            return std::string(m_local + m_itemBytes, strnlen(m_local + m_itemBytes, Memory::TextBytes));
        char text[Memory::TextBytes] = {};
        ::Utils::Base::ReadA(*m_remote, text, Memory::TextBytes, 0);
        return std::string(text, strnlen(text, sizeof text));
    }

    // A message about this query timed out: its memory stays for a late answer.
    void Keep()
    {
        m_kept = true;
        if (m_remote)
            m_remote->Keep();
    }

    // Sends a message whose lParam is the item.
    LRESULT SendItem(const char* method, HWND window, UINT message, WPARAM wParam)
    {
        return Send(method, window, message, wParam, Item(), [this] { Keep(); });
    }

private:
    DWORD_PTR Start() const { return m_remote ? m_remote->Start() : reinterpret_cast<DWORD_PTR>(m_local); }

    uint32_t m_itemBytes;
    char* m_local = nullptr;
    std::unique_ptr<Memory::Distant> m_remote;
    bool m_kept = false;
};

// The whole text of a window through WM_GETTEXTLENGTH and WM_GETTEXT.
std::string WindowText(const char* method, HWND window)
{
    const auto length = static_cast<size_t>(Controls::Send(method, window, WM_GETTEXTLENGTH));
    std::unique_ptr<char[]> buffer(new char[length + 1]());
    Send(method, window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(buffer.get()),
        [&] { buffer.release(); });
    return std::string(buffer.get(), strnlen(buffer.get(), length + 1));
}

}  // namespace

const char* Name(Kind kind)
{
    const auto index = static_cast<size_t>(kind);
    return index < std::size(KindNames) ? KindNames[index] : KindNames[0];
}

void Check(HWND window, Kind kind)
{
    const std::string name = Name(kind);
    const std::string method = "Utils::Controls::" + name + "::Check";
    if (!window)
        throw Error::Argument(method, "Недействительный системный дескриптор.");
    if (!IsWindow(window)) {
        const DWORD code = GetLastError();
        throw Error::Argument(method, "Отсутсвует указанный " + name + ".") + LastErrorText(code);
    }
    char buffer[260] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    std::string className = buffer;
    StringS::UpperA(className);
    std::string wanted = name;
    StringS::UpperA(wanted);
    if (className.find(wanted) == std::string::npos)
        throw Error::Argument(method, "Класс не является " + name + ".");
    if (!InvalidateRect(window, nullptr, TRUE))
        throw Error::Method(method, "Обновление не удачно.");
}

namespace Static {

std::string GetText(HWND window)
{
    Check(window);
    return WindowText("Utils::Controls::Static::GetText", window);
}

}  // namespace Static

namespace Button {

bool GetCheck(HWND window)
{
    Check(window);
    return Send("Utils::Controls::Button::GetCheck", window, BM_GETCHECK) == BST_CHECKED;
}

void Click(HWND window)
{
    Check(window);
    Send("Utils::Controls::Button::Click", window, BM_CLICK);
}

}  // namespace Button

namespace Edit {

std::string SetText(HWND window, const std::string& text)
{
    const char* method = "Utils::Controls::Edit::SetText";
    Check(window);
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    if (!Send(method, window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.get()), [&] { copy.release(); }))
        throw Error::Method(method, "Текст не установлен.");
    return GetText(window);
}

std::string GetText(HWND window)
{
    Check(window);
    return WindowText("Utils::Controls::Edit::GetText", window);
}

void SetSecret(HWND window, const char* text)
{
    const char* method = "Utils::Controls::Edit::SetSecret";
    Check(window);
    const size_t size = std::strlen(text) + 1;
    std::unique_ptr<char[]> copy(new char[size]);
    std::memcpy(copy.get(), text, size);
    // A field that did not answer in time may still read the copy: it is left
    // to the field, unwiped.
    const LRESULT set
        = Send(method, window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.get()), [&] { copy.release(); });
    SecureZeroMemory(copy.get(), size);
    if (!set)
        throw Error::Method(method, "Текст не установлен.");
}

}  // namespace Edit

namespace ListView {

namespace {

// LVM_SETITEMSTATE: selected and focused.
constexpr UINT SelectedFocused = LVIS_FOCUSED | LVIS_SELECTED;

LVITEMA TextItem(UINT mask, uint32_t row, uint32_t column, char* text)
{
    LVITEMA item = {};
    item.mask = mask;
    item.iItem = static_cast<int>(row);
    item.iSubItem = static_cast<int>(column);
    item.pszText = text;
    item.cchTextMax = Memory::TextBytes;
    return item;
}

}  // namespace

Size GetItem(HWND window)
{
    const char* method = "Utils::Controls::ListView::GetItem";
    Check(window);
    const auto header = reinterpret_cast<HWND>(Send(method, window, LVM_GETHEADER));
    if (!header)
        throw Error::Argument(method, "Не получен системный дескриптор заголовка ListView.");
    Size size;
    size.rows = LOWORD(Send(method, window, LVM_GETITEMCOUNT));
    size.columns = LOWORD(Send(method, header, HDM_GETITEMCOUNT));
    return size;
}

void Visible(HWND window, uint32_t row)
{
    const char* method = "Utils::Controls::ListView::Visible";
    if (row >= GetItem(window).rows)
        throw Error::Argument(method, "Номер введённой строки превышает общее количество строк.");
    if (!Send(method, window, LVM_ENSUREVISIBLE, row, TRUE)) {
        const DWORD code = GetLastError();
        throw Error::Method(method, "Строка не перемещена в зону видимости.") + LastErrorText(code);
    }
}

void KeyDown(HWND window, uint32_t row)
{
    const char* method = "Utils::Controls::ListView::KeyDown";
    if (row >= GetItem(window).rows)
        throw Error::Argument(method, "Указан неверный номер строки.");
    Query query(window, Memory::ListItemBytes);
    LVITEMA item = TextItem(LVIF_STATE, row, 0, query.Text());
    item.state = item.stateMask = SelectedFocused;
    query.Put(item);
    if (!query.SendItem(method, window, LVM_SETITEMSTATE, row)) {
        const DWORD code = GetLastError();
        throw Error::Method(method, "Строка не выделена.") + LastErrorText(code);
    }
}

std::string GetText(HWND window, uint32_t row, uint32_t column)
{
    const char* method = "Utils::Controls::ListView::GetText";
    const Size size = GetItem(window);
    if (column >= size.columns)
        throw Error::Argument(method, "Указан неверный номер столбца.");
    if (row >= size.rows)
        throw Error::Argument(method, "Указан неверный номер строки.");
    if (!Send(method, window, LVM_ENSUREVISIBLE, row, TRUE)) {
        const DWORD code = GetLastError();
        throw Error::Method(method, "Строка не перемещена в зону видимости.") + LastErrorText(code);
    }
    Query query(window, Memory::ListItemBytes);
    LVITEMA item = TextItem(LVIF_TEXT | LVIF_STATE, row, column, query.Text());
    item.state = item.stateMask = SelectedFocused;
    query.Put(item);
    if (!query.SendItem(method, window, LVM_SETITEMSTATE, row)) {
        const DWORD code = GetLastError();
        throw Error::Method(method, "Строка не выделена.") + LastErrorText(code);
    }
    return query.ListText(query.SendItem(method, window, LVM_GETITEMTEXTA, row));
}

std::vector<std::string> GetTextItem(HWND window, Route route)
{
    const char* method = "Utils::Controls::ListView::GetTextItem";
    struct Read {
        bool sized = false;
        std::vector<std::string> texts;
        uint32_t next = 0;
    };
    auto read = std::make_shared<Read>();
    // The size, then the rows from the next one on until `slice` ms have
    // passed. One query for every row: the control fills the same text area
    // each time.
    auto rows = [window, method, read](ULONGLONG slice) {
        if (!read->sized) {
            const Size size = GetItem(window);
            if (size.columns == 0)
                throw Error::Argument(method, "Указан неверный номер столбца.");
            read->texts.resize(size.rows);
            read->sized = true;
        }
        if (read->texts.empty())
            return;
        Query query(window, Memory::ListItemBytes);
        query.Put(TextItem(LVIF_TEXT, 0, 0, query.Text()));
        const ULONGLONG start = GetTickCount64();
        while (read->next < read->texts.size() && GetTickCount64() - start < slice) {
            read->texts[read->next] = query.ListText(query.SendItem(method, window, LVM_GETITEMTEXTA, read->next));
            ++read->next;
        }
    };
    // On the list's own thread in turns of a few milliseconds, so the
    // terminal keeps answering its user in between.
    while (!read->sized || read->next < read->texts.size())
        if (route == Route::PerMessage || !Carrier::Carry(method, window, [rows] { rows(CarriedSlice); }))
            rows(INFINITE);
    return std::move(read->texts);
}

}  // namespace ListView

namespace TreeView {

namespace {

std::string Walk(HWND window, uint32_t line)
{
    const char* method = "Utils::Controls::TreeView::GetText";
    Check(window);
    const uint16_t count = LOWORD(Send(method, window, TVM_GETCOUNT));
    if (count == 0 || static_cast<uint32_t>(count - 1) < line)
        throw Error::Argument(method, "Указан неверный номер строки.");

    Query query(window, Memory::TreeItemBytes);
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE | TVIF_CHILDREN;
    item.state = item.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    item.pszText = query.Text();
    item.cchTextMax = Memory::TextBytes;

    Send(method, window, WM_KEYDOWN, VK_HOME, 0);
    std::vector<HTREEITEM> opened;
    bool lastOpened = false;
    HTREEITEM previous = nullptr;
    for (uint32_t i = 0; i <= line; ++i) {
        const auto current = reinterpret_cast<HTREEITEM>(Send(method, window, TVM_GETNEXTITEM, TVGN_CARET, 0));
        // The selection no longer moves: the walk met the last line before the target.
        if (i > 0 && current == previous)
            throw Error::Argument(method, "Указан неверный номер строки.");
        previous = current;
        item.hItem = current;
        item.pszText = query.Text();
        query.Put(item);
        if (!query.SendItem(method, window, TVM_GETITEMA, 0)) {
            const DWORD code = GetLastError();
            throw Error::Method(method, "Не заполнена структура TV_ITEM.") + LastErrorText(code);
        }
        item = query.Get<TVITEMA>();
        if (i == line)
            break;
        if (item.cChildren > 0) {
            if (!(item.state & TVIS_EXPANDED)) {
                if (!Send(method, window, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(current))) {
                    const DWORD code = GetLastError();
                    throw Error::Method(method, "Не развёрнута ветвь TreeView.") + LastErrorText(code);
                }
                opened.push_back(current);
                lastOpened = true;
            } else {
                lastOpened = false;
            }
        }
        Send(method, window, WM_KEYDOWN, VK_DOWN, 0);
    }
    const std::string text = query.TreeText();

    // The branch opened right before the target stays open.
    if (lastOpened && !opened.empty())
        opened.pop_back();
    if (opened.empty())
        return text;
    // So do the target's ancestors: collapsing one would hide the target and
    // take the selection away from it.
    std::vector<HTREEITEM> ancestors;
    for (auto parent = reinterpret_cast<HTREEITEM>(
             Send(method, window, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(previous)));
         parent; parent = reinterpret_cast<HTREEITEM>(
                     Send(method, window, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(parent))))
        ancestors.push_back(parent);
    for (HTREEITEM branch : opened) {
        if (std::find(ancestors.begin(), ancestors.end(), branch) != ancestors.end())
            continue;
        if (!Send(method, window, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(branch))) {
            const DWORD code = GetLastError();
            throw Error::Method(method, "Не свёрнута ветвь TreeView.") + LastErrorText(code);
        }
    }
    return text;
}

}  // namespace

std::string GetText(HWND window, uint32_t line, Route route)
{
    auto text = std::make_shared<std::string>();
    auto walk = [window, line, text] { *text = Walk(window, line); };
    if (route == Route::PerMessage || !Carrier::Carry("Utils::Controls::TreeView::GetText", window, walk))
        walk();
    return std::move(*text);
}

}  // namespace TreeView

namespace TabControl {

uint16_t SetFocus(HWND window, uint32_t index)
{
    const char* method = "Utils::Controls::TabControl::SetFocus";
    Check(window);
    const uint16_t count = LOWORD(Send(method, window, TCM_GETITEMCOUNT));
    if (index >= count)
        throw "Ошибка в методе \"Utils::Controls::TabControl::SetFocus()\".\nВведённый номер вкладки превышает "
              "количество вкладок.";
    Send(method, window, TCM_SETCURFOCUS, index);
    return count;
}

bool ItemMiddle(HWND window, uint32_t index, POINT& middle)
{
    Query query(window, sizeof(RECT));
    if (!query.SendItem("Utils::Controls::TabControl::ItemMiddle", window, TCM_GETITEMRECT, index))
        return false;
    const RECT rect = query.Get<RECT>();
    middle = { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
    return true;
}

}  // namespace TabControl

}  // namespace Utils::Controls
