// Programs on charts: attaching them by name through the terminal's internal
// message, removing experts and scripts, the indicator list and the queued
// removal of indicators by name.
#include <windows.h>
#include <commctrl.h>
#include <process.h>

#include <array>
#include <optional>
#include <cstring>
#include <deque>
#include <memory>

#include "MT4/Windows.h"
#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "Utils/Memory.h"
#include "Utils/SendMessage.h"
#include "Utils/Wait.h"
#include "Utils/Windows.h"
#include "exports/Frame.h"

namespace MT4 {

namespace {

using Match = Utils::Windows::Match;

// Codes of the internal message.
constexpr WPARAM LoadStdIndicatorCode = 13;
constexpr WPARAM LoadExpertCode = 14;
constexpr WPARAM LoadCustomIndicatorCode = 15;
constexpr WPARAM LoadScriptCode = 16;

// Terminal commands.
constexpr WPARAM RemoveExpertCommand = 33050;
constexpr WPARAM RemoveScriptCommand = 35426;
constexpr WPARAM ExpertPropertiesCommand = 33048;
constexpr WPARAM ExpertsOnOffCommand = 33020;
constexpr WPARAM IndicatorListCommand = 35419;

// Controls of the indicator list and of the terminal's question box.
constexpr int TreeItem = 1164;
constexpr int DeleteItem = 1162;
constexpr int CloseItem = IDOK;
constexpr int QuestionTextItem = 0xFFFF;

constexpr size_t NameBytes = 260;
constexpr DWORD DialogPoll = 50;          // looking for a dialog
constexpr DWORD FailedAttemptPause = 200;  // after a failed attempt at the parameters dialog
constexpr DWORD RepostPause = 100;        // after a post the terminal did not take
constexpr DWORD SettlePause = 100;        // while the indicator tree changes

const char* const QuestionTitle = "MetaTrader";
const char* const CustomIndicatorTitle = "Custom Indicator - ";
const char* const RemovalCaption = "MT4::Windows::DeleteIndicatorsByName()";

bool BeginsWith(const std::string& text, const std::string& prefix)
{
    return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

// Presses a dialog button unless it is checked already.
void Click(HWND button)
{
    if (!Utils::Controls::Button::GetCheck(button))
        Utils::Controls::Button::Click(button);
}

// Presses the Close button of the indicator list when the scope is left,
// also on a failure: the list is modal and would hold the terminal's window.
class ListCloser {
public:
    ListCloser(HWND dialog, const char* method) : m_dialog(dialog), m_method(method) { }
    ~ListCloser()
    {
        if (!m_dialog || !IsWindow(m_dialog))
            return;
        try {
            Click(GetDlgItem(m_dialog, CloseItem));
        } catch (...) {
            // Leaving on a failure already: the first text is the one reported.
        }
    }
    // Presses Close and waits until the list has gone, so that the next
    // look for a list never finds this one.
    void Close()
    {
        HWND dialog = m_dialog;
        m_dialog = nullptr;
        Click(GetDlgItem(dialog, CloseItem));
        if (!Utils::Wait::Until([dialog] { return !IsWindow(dialog); }, DialogPoll, Utils::Wait::DialogBound))
            throw Utils::Error::Method(m_method, "Окно \"Список индикаторов\" не закрылось за отведённое время.");
    }
    ListCloser(const ListCloser&) = delete;
    ListCloser& operator=(const ListCloser&) = delete;

private:
    HWND m_dialog;
    const char* m_method;
};

// The windows of a chart as the indicator tree shows them: the main chart's
// header, then its indicators; each sub-window's header ("Indicator window
// N"), then its indicators. Fed the lines in order, it tells which window a
// line belongs to and whether it is an indicator line of the window asked for.
class Sections {
public:
    Sections(const Windows& terminal, int32_t window)
        : m_main(terminal.Text(Name::IndicatorListMainChart))
        , m_sub(terminal.Text(Name::IndicatorListWindow))
        , m_window(window)
    {
    }

    // Takes the next line; true for an indicator line of the window asked
    // for (any window for a negative number). Header lines never are.
    bool Take(const std::string& line)
    {
        if (BeginsWith(line, m_main)) {
            m_current = 0;
            return false;
        }
        if (BeginsWith(line, m_sub)) {
            m_current = SubWindowNumber(line);
            return false;
        }
        if (m_window >= 0 && m_current != m_window)
            return false;
        m_seen = true;
        return true;
    }

    // The window asked for lay before the line just taken: no later line
    // belongs to it.
    bool Passed() const { return m_window >= 0 && m_seen && m_current != m_window; }

private:
    // "Indicator window 12" is window 12; a header without a number is no
    // window a caller can ask for.
    int32_t SubWindowNumber(const std::string& line) const
    {
        size_t at = m_sub.size();
        if (at >= line.size() || line[at] != ' ')
            return Unnumbered;
        int64_t number = 0;
        const size_t first = ++at;
        for (; at < line.size() && line[at] >= '0' && line[at] <= '9' && number <= INT32_MAX; ++at)
            number = number * 10 + (line[at] - '0');
        return at == first || number > INT32_MAX ? Unnumbered : static_cast<int32_t>(number);
    }

    static constexpr int32_t Unnumbered = -2;
    std::string m_main;
    std::string m_sub;
    int32_t m_window;
    int32_t m_current = 0;  // line 0 is the main chart's header
    bool m_seen = false;
};

// The number of lines of the tree once it has stopped changing: read every
// 100 ms until a reading equals the one before (`previous` first).
uint32_t SettledCount(HWND tree, uint32_t previous)
{
    uint32_t count = 0;
    Utils::Wait::Until(
        [&] {
            Utils::Controls::TreeView::Check(tree);
            count = LOWORD(Utils::Controls::Send("MT4::Windows::ListIndicators", tree, TVM_GETCOUNT));
            const bool settled = count == previous;
            previous = count;
            return settled;
        },
        SettlePause, Utils::Wait::DialogBound);
    return count;
}

// --- the removal queue --------------------------------------------------------

struct RemovalRequest {
    HWND chart;
    int32_t window;
    std::vector<std::string> names;
};

// The queue of the process and its one worker, guarded by the DeleteIndicators
// mutex. A worker that ended is kept until the next one starts, which waits
// for its end and closes its handle.
struct RemovalQueue {
    std::deque<RemovalRequest> requests;
    HANDLE worker = nullptr;
    HANDLE ended = nullptr;
};

RemovalQueue& Removals()
{
    static RemovalQueue queue;
    return queue;
}

bool MatchesAny(const std::string& line, const std::vector<std::string>& names)
{
    for (const std::string& name : names)
        if (BeginsWith(line, name))
            return true;
    return false;
}

// One request: the chart's indicator list is opened, every indicator line of
// the window asked for that begins with one of the names is deleted, and the
// list is closed.
void Remove(Windows& terminal, const RemovalRequest& request)
{
    if (!terminal.IsChart(request.chart))
        return;
    // The chart stays active until its list has gone: no other program's
    // list is ever taken for it.
    Windows::ActiveChartHold active = terminal.SetActiveChartStart(request.chart);
    HWND dialog = terminal.OpenIndicatorList();
    if (!dialog)
        throw "Ошибка в методе \"MT4::Windows::DeleteIndicatorsByName()\".\nНеудачный вызов окна \"Список "
              "индикаторов\".";
    ListCloser closer(dialog, "MT4::Windows::DeleteIndicatorsByName");
    if (!GetDlgItem(dialog, CloseItem))
        throw "Ошибка в методе \"MT4::Windows::DeleteIndicatorsByName()\".\nНе получен системный дескриптор кнопки "
              "\"Закрыть\".";
    HWND remove = GetDlgItem(dialog, DeleteItem);
    if (!remove)
        throw "Ошибка в методе \"MT4::Windows::DeleteIndicatorsByName()\".\nНе получен системный дескриптор кнопки "
              "\"Удалить\".";
    HWND tree = GetDlgItem(dialog, TreeItem);
    if (!tree)
        throw "Ошибка в методе \"MT4::Windows::DeleteIndicatorsByName()\".\nНе получен системный дескриптор списка "
              "индикаторов.";

    Sections sections(terminal, request.window);
    uint32_t count = SettledCount(tree, 0);
    for (uint32_t position = 1; position < count && !sections.Passed();) {
        const std::string line = Utils::Controls::TreeView::GetText(tree, position);
        if (!sections.Take(line) || !MatchesAny(line, request.names)) {
            ++position;
            continue;
        }
        // The line is selected: Delete takes it away, and the next line moves up.
        Utils::Controls::Send("MT4::Windows::DeleteIndicatorsByName", remove, BM_CLICK);
        const uint32_t before = count;
        count = SettledCount(tree, count);
        if (count == before)
            ++position;  // the terminal kept the line: never ask again
        else if (request.window > 0 && before - count > 1)
            break;  // the sub-window went with its last indicator
    }
    closer.Close();
}

unsigned __stdcall RemovalWorker(void*)
{
    Utils::Pointer<Windows> terminal;
    Utils::Sync::Mutex& mutex = terminal->GetMutex(Windows::MutexDeleteIndicators);
    RemovalQueue& queue = Removals();
    for (;;) {
        RemovalRequest request;
        {
            Utils::Sync::Lock<Utils::Sync::Mutex> lock(mutex);
            if (queue.requests.empty()) {
                queue.ended = queue.worker;
                queue.worker = nullptr;
                return 0;
            }
            request = queue.requests.front();
        }
        try {
            Remove(*terminal, request);
        } catch (...) {
            // The request stays first in the queue for the next worker.
            Frame::ReportCurrent(RemovalCaption, "", GetLastError());
            Utils::Sync::Lock<Utils::Sync::Mutex> lock(mutex);
            queue.ended = queue.worker;
            queue.worker = nullptr;
            return 1;
        }
        Utils::Sync::Lock<Utils::Sync::Mutex> lock(mutex);
        queue.requests.pop_front();
    }
}

// Under the DeleteIndicators mutex.
void StartRemovalWorker(RemovalQueue& queue)
{
    if (queue.ended) {
        // It let go of the queue as its last step; its end is a moment away.
        Utils::Wait::ForObject(queue.ended, Utils::Wait::WorkerEndBound);
        CloseHandle(queue.ended);
        queue.ended = nullptr;
    }
    queue.worker = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, RemovalWorker, nullptr, 0, nullptr));
    if (!queue.worker)
        throw "Метод \"MT4::Windows::DeleteIndicatorsByName()\".\nФункция потока не запущена.";
}

}  // namespace

// --- loading ----------------------------------------------------------------

int Windows::LoadStdIndicator(HWND chart, const char* name, bool confirm)
{
    return Load("LoadStdIndicator", LoadStdIndicatorCode, name, chart, name, confirm, true);
}

int Windows::LoadExpert(HWND chart, const char* name, bool confirm)
{
    return Load("LoadExpert", LoadExpertCode, name, chart, name, confirm, true);
}

int Windows::LoadCustomIndicator(HWND chart, const char* name, bool confirm)
{
    return Load("LoadCustomIndicator", LoadCustomIndicatorCode, CustomIndicatorTitle + std::string(name), chart,
        name, confirm, true);
}

int Windows::LoadScript(HWND chart, const char* name, bool confirm)
{
    return Load("LoadScript", LoadScriptCode, name, chart, name, confirm, false);
}

int Windows::Load(const char* method, WPARAM code, const std::string& title, HWND chart, const char* name,
    bool confirm, bool search)
{
    CheckChart(chart, method);
    const std::string qualified = std::string("MT4::Windows::") + method;
    // The name's address is valid in the served process only: a chart of
    // another process would be sent an address that means nothing there.
    DWORD owner = 0;
    if (!GetWindowThreadProcessId(chart, &owner) || owner != m_processId)
        throw Utils::Error::Argument(qualified, "Неверный системный дескриптор графика.");
    Utils::Sync::Lock<Utils::Sync::Mutex> navigator(m_mutexes[MutexNavigator]);
    // The terminal runs every dialog modally on its one thread: a parameters
    // dialog opened while another program's Properties dialog is up would
    // nest in it, and neither could close before the other. A load that uses
    // its dialog does so under the active-chart mutex, as the Properties
    // operations do.
    std::optional<ActiveChartHold> dialogs;
    if (confirm || search)
        dialogs.emplace(m_mutexes[MutexActiveChart], method);
    // A parameters dialog already open (another program's, the user's) is
    // never taken for the one this request opens.
    const std::vector<HWND> before = Dialogs(Match::Exact, title);

    int accepted = 0;
    if (m_processId == GetCurrentProcessId()) {
        // The name lives as long as the send, also when the wait for it ends
        // at its bound and the terminal reads it later.
        auto copy = std::make_shared<std::array<char, NameBytes>>();
        std::strncpy(copy->data(), name, NameBytes - 1);
        Utils::SendMessage send(chart, m_internalMessage, code, reinterpret_cast<LPARAM>(copy->data()), copy);
        accepted = send.Result() != 0;
    } else {
        const uint32_t size = static_cast<uint32_t>(std::strlen(name)) + 1;
        Utils::Memory::Distant block(m_processId, size);
        block.GeneralWrite(0, name, size);
        DWORD_PTR result = 0;
        SetLastError(0);
        if (!SendMessageTimeoutA(chart, m_internalMessage, code, static_cast<LPARAM>(block.Start()), SMTO_NORMAL,
                Utils::Wait::SendBound, &result)
            && GetLastError() == ERROR_TIMEOUT) {
            block.Keep();  // the terminal may still read the name
            throw Utils::Error::Method(qualified,
                "Терминал не обработал запрос за отведённое время ("
                    + std::to_string(Utils::Wait::SendBound / 1000) + " с).");
        }
        accepted = result != 0;
    }

    if (!confirm && !search)
        return accepted;
    // The terminal shows the parameters dialog when it has taken the request.
    const bool found = Utils::Wait::Until(
        [&] {
            try {
                HWND dialog = Utils::Windows::FirstNew(Dialogs(Match::Exact, title), before);
                if (confirm)
                    Click(GetDlgItem(dialog, IDOK));
                return dialog != nullptr;
            } catch (...) {
                Utils::Wait::Pause(FailedAttemptPause - DialogPoll);  // with the poll's own pause
                return false;
            }
        },
        DialogPoll, Utils::Wait::DialogBound);
    if (!found)
        throw Utils::Error::Method(qualified, "Окно параметров \"" + title + "\" не появилось за отведённое время.");
    return accepted;
}

// --- experts and scripts ----------------------------------------------------

BOOL Windows::DeleteExpert(HWND chart)
{
    CheckChart(chart, "DeleteExpert");
    return PostMessageA(chart, WM_COMMAND, RemoveExpertCommand, 0);
}

BOOL Windows::DeleteScript(HWND chart)
{
    CheckChart(chart, "DeleteScript");
    if (!PostMessageA(chart, WM_COMMAND, RemoveScriptCommand, 0))
        return FALSE;
    return PostMessageA(chart, WM_COMMAND, RemoveScriptCommand, 0) ? TRUE : FALSE;
}

BOOL Windows::PropertiesExpert(HWND chart)
{
    CheckChart(chart, "PropertiesExpert");
    return PostMessageA(chart, WM_COMMAND, ExpertPropertiesCommand, 0);
}

void Windows::SetExperts()
{
    DWORD_PTR result = 0;
    SetLastError(0);
    if (!SendMessageTimeoutA(MainTarget(), WM_COMMAND, ExpertsOnOffCommand, 0, SMTO_NORMAL, Utils::Wait::SendBound,
            &result)
        && GetLastError() == ERROR_TIMEOUT)
        throw Utils::Error::Method("MT4::Windows::SetExperts",
            "Терминал не обработал команду за отведённое время (" + std::to_string(Utils::Wait::SendBound / 1000)
                + " с).");
}

HWND Windows::DialogScript(bool yes)
{
    HWND question = Utils::Windows::FindFirst(nullptr, m_processId, Match::Exact, "#32770", Match::Exact, QuestionTitle);
    HWND label = question ? GetDlgItem(question, QuestionTextItem) : nullptr;
    if (!label)
        return nullptr;
    const std::string text = Utils::Controls::Static::GetText(label);
    if (!BeginsWith(text, Text(Name::ExpertStopQuestion)) && !BeginsWith(text, Text(Name::ScriptRemovalQuestion)))
        return nullptr;
    Click(GetDlgItem(question, yes ? IDYES : IDNO));
    return question;
}

// --- indicators -------------------------------------------------------------

HWND Windows::ListIndicators(HWND chart)
{
    CheckChart(chart, "ListIndicators");
    ActiveChartHold active = SetActiveChartStart(chart);
    HWND dialog = OpenIndicatorList();
    active.Release();
    return dialog;
}

HWND Windows::OpenIndicatorList()
{
    const std::vector<HWND> before = Dialogs(Match::Prefix, Text(Name::IndicatorList));
    const bool posted = Utils::Wait::Until(
        [&] { return PostMessageA(MainTarget(), WM_COMMAND, IndicatorListCommand, 0) != FALSE; }, RepostPause,
        Utils::Wait::DialogBound);
    if (!posted)
        throw Utils::Error::Method("MT4::Windows::ListIndicators", "Команда открытия списка индикаторов не отправлена.")
            + Utils::Error::LastError();
    return WaitForDialog(Match::Prefix, Text(Name::IndicatorList), before,
        "Ошибка в методе \"MT4::Windows::ListIndicators()\".\nОкно \"Список индикаторов\" не появилось за "
        "отведённое время.");
}

uint16_t Windows::GetNamesIndicators(HWND chart, int32_t window, const StringArray& names, int32_t size)
{
    CheckChart(chart, "GetNamesIndicators");
    if (size <= 0)
        throw "Метод \"MT4::Windows::GetNamesIndicators()\".\nНеверно указан размер массива с именами индикаторов.";
    if (names.Null())
        throw "Метод \"MT4::Windows::GetNamesIndicators()\".\nНе указан массив с именами индикаторов.";
    ActiveChartHold active = SetActiveChartStart(chart);
    HWND dialog = OpenIndicatorList();
    if (!dialog)
        throw "Ошибка в методе \"MT4::Windows::GetNamesIndicators()\".\nНеудачный вызов окна \"Список индикаторов\".";
    ListCloser closer(dialog, "MT4::Windows::GetNamesIndicators");
    HWND tree = GetDlgItem(dialog, TreeItem);
    if (!tree)
        throw "Ошибка в методе \"MT4::Windows::GetNamesIndicators()\".\nНе получен системный дескриптор списка "
              "индикаторов.";
    Utils::Controls::TreeView::Check(tree);
    const uint32_t count = LOWORD(Utils::Controls::Send("MT4::Windows::GetNamesIndicators", tree, TVM_GETCOUNT));

    Sections sections(*this, window);
    uint16_t found = 0;
    for (uint32_t line = 0; line < count && !sections.Passed(); ++line) {
        const std::string text = Utils::Controls::TreeView::GetText(tree, line);
        if (!sections.Take(text))
            continue;
        if (found < size)
            names.Write(found, text);
        ++found;
    }
    closer.Close();
    return found;
}

void Windows::DeleteIndicatorsByName(HWND chart, int32_t window, const StringArray& names, int32_t number)
{
    RemovalRequest request { chart, window, {} };
    for (int32_t i = 0; !names.Null() && i < number; ++i)
        request.names.push_back(names.Read(static_cast<size_t>(i)));
    Utils::Sync::Lock<Utils::Sync::Mutex> lock(m_mutexes[MutexDeleteIndicators]);
    RemovalQueue& queue = Removals();
    queue.requests.push_back(std::move(request));
    if (!queue.worker)
        StartRemovalWorker(queue);
}

}  // namespace MT4
