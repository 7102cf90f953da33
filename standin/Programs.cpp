#include "Programs.h"

#include "Charts.h"
#include "Ui.h"

#include <commctrl.h>
#include <process.h>

#include <algorithm>
#include <functional>

namespace StandIn {

namespace {

// Codes of the internal message and commands of the terminal.
constexpr WPARAM FirstLoadCode = 13;  // 13 standard indicator, 14 expert, 15 custom indicator, 16 script
constexpr WPARAM LastLoadCode = 16;
constexpr UINT RemoveExpert = 33050;
constexpr UINT RemoveScriptCommand = 35426;
constexpr UINT ExpertProperties = 33048;
constexpr UINT ExpertsOnOff = 33020;
constexpr UINT IndicatorList = 35419;

// Controls of the indicator list.
constexpr int TreeId = 1164;
constexpr int DeleteId = 1162;

constexpr size_t NameBytes = 260;

struct Words {
    const char* listTitle;
    const char* mainChart;
    const char* indicatorWindow;
    const char* expertQuestion;
    const char* scriptQuestion;
    const char* remove;
    const char* close;
    const char* cancel;
};

const Words English = { "Indicators on", "Main chart", "Indicator window", "Do you really want to stop",
    "Do you really want to stop script", "Delete", "Close", "Cancel" };
const Words Russian = { "Список индикаторов на", "Главный график", "Окно индикатора",
    "Вы действительно хотите остановить", "Вы действительно хотите удалить скрипт", "Удалить", "Закрыть", "Отмена" };

const Words& WordsOf(Language language)
{
    return language == Language::Russian ? Russian : English;
}

thread_local Programs* t_programs = nullptr;  // the programs of this thread's terminal

// A name in this process's memory, read with care: the request may carry any
// address.
std::string ReadName(LPARAM address)
{
    std::string name;
    for (size_t i = 0; i + 1 < NameBytes; ++i) {
        char c = 0;
        SIZE_T read = 0;
        if (!ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const char*>(address) + i, &c, 1, &read)
            || read != 1 || c == '\0')
            break;
        name += c;
    }
    return name;
}

// A modal "#32770" dialog with no controls in its template: the controls are
// made when it opens. `open` fills it, `command` answers its buttons.
struct DialogSpec {
    std::string title;
    int width;
    int height;
    std::function<void(HWND)> open;
    std::function<void(HWND, UINT)> command;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* spec = reinterpret_cast<DialogSpec*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        spec = reinterpret_cast<DialogSpec*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        SetWindowTextA(dialog, spec->title.c_str());
        SetWindowPos(dialog, nullptr, 80, 80, spec->width, spec->height, SWP_NOZORDER);
        spec->open(dialog);
        return TRUE;
    case WM_COMMAND:
        if (spec && HIWORD(wParam) == BN_CLICKED)
            spec->command(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR RunDialog(HWND owner, DialogSpec& spec)
{
    alignas(4) static const WORD Empty[12] = { LOWORD(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU),
        HIWORD(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 };
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(Empty), owner,
        DialogProc, reinterpret_cast<LPARAM>(&spec));
}

HWND AddControl(HWND dialog, const char* className, const char* text, DWORD style, int x, int y, int width,
    int height, int id)
{
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

// OK and Cancel: the answer of a parameters dialog.
INT_PTR RunParameters(HWND owner, const std::string& title, const Words& words)
{
    DialogSpec spec { title, 320, 200,
        [&](HWND dialog) {
            AddControl(dialog, "Button", "OK", BS_DEFPUSHBUTTON, 120, 120, 80, 26, IDOK);
            AddControl(dialog, "Button", words.cancel, BS_PUSHBUTTON, 210, 120, 80, 26, IDCANCEL);
        },
        [](HWND dialog, UINT id) {
            if (id == IDOK || id == IDCANCEL)
                EndDialog(dialog, id);
        } };
    return RunDialog(owner, spec);
}

}  // namespace

void Programs::AddChart(HWND view, const ChartPrograms& programs)
{
    t_programs = this;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_charts[view] = programs;
}

ChartPrograms Programs::Of(HWND view)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_charts.find(view);
    return found == m_charts.end() ? ChartPrograms() : found->second;
}

bool Programs::ExpertsEnabled()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_expertsEnabled;
}

bool Programs::Knows(Kind kind, const std::string& name) const
{
    const Scenario& setup = m_ui.Setup();
    const std::vector<std::string>& known = kind == Kind::Indicator ? setup.indicators
        : kind == Kind::Expert                                       ? setup.experts
        : kind == Kind::CustomIndicator                              ? setup.customIndicators
                                                                     : setup.scripts;
    return std::find(known.begin(), known.end(), name) != known.end()
        || (kind == Kind::Script && ActionOf(name));
}

const ScriptSpec* Programs::ActionOf(const std::string& name) const
{
    for (const ScriptSpec& script : m_ui.Setup().scriptActions)
        if (script.name == name)
            return &script;
    return nullptr;
}

// A load request is answered at once; its parameters dialog opens right
// after, when the sender has its answer.
LRESULT Programs::OnViewInternal(HWND view, WPARAM code, LPARAM value)
{
    if (code < FirstLoadCode || code > LastLoadCode)
        return 0;
    Request request { view, static_cast<Kind>(code - FirstLoadCode), ReadName(value) };
    if (!Knows(request.kind, request.name))
        return 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, OnRequestTimer);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests[timer] = request;
    return 1;
}

void CALLBACK Programs::OnRequestTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    Programs* self = t_programs;
    if (!self)
        return;
    Request request;
    {
        std::lock_guard<std::mutex> lock(self->m_mutex);
        const auto found = self->m_requests.find(timer);
        if (found == self->m_requests.end())
            return;
        request = found->second;
        self->m_requests.erase(found);
    }
    self->Open(request);
}

void Programs::Open(const Request& request)
{
    if (request.kind != Kind::Script || !ActionOf(request.name)) {
        ShowParameters(request);
        return;
    }
    if (IsWindow(request.view))
        Attach(request);
}

void Programs::ShowParameters(const Request& request)
{
    const std::string title
        = request.kind == Kind::CustomIndicator ? "Custom Indicator - " + request.name : request.name;
    if (RunParameters(m_ui.Handles().main, title, WordsOf(m_ui.Setup().language)) == IDOK && IsWindow(request.view))
        Attach(request);
}

void Programs::Attach(const Request& request)
{
    if (request.kind == Kind::Script) {
        StartScript(request.view, request.name);
        return;
    }
    const std::vector<std::string>& own = m_ui.Setup().ownWindowIndicators;
    std::lock_guard<std::mutex> lock(m_mutex);
    ChartPrograms& chart = m_charts[request.view];
    switch (request.kind) {
    case Kind::Expert:
        chart.expert = request.name;
        break;
    case Kind::Script:
        break;
    case Kind::Indicator:
        if (std::find(own.begin(), own.end(), request.name) != own.end()) {
            chart.windows.push_back({ request.name });
            break;
        }
        [[fallthrough]];
    case Kind::CustomIndicator:
        chart.windows.front().push_back(request.name);
        break;
    }
}

void Programs::OnViewCommand(HWND view, UINT command)
{
    switch (command) {
    case RemoveExpert:
        Remove(view, true);
        break;
    case RemoveScriptCommand:
        Remove(view, false);
        break;
    case ExpertProperties: {
        const std::string expert = Of(view).expert;
        if (!expert.empty())
            RunParameters(m_ui.Handles().main, expert, WordsOf(m_ui.Setup().language));
        break;
    }
    default:
        break;
    }
}

// With the questions on, the user is asked first (the expert stop question,
// the script removal question); while a question is open a further request
// is not asked again.
void Programs::Remove(HWND view, bool expert)
{
    const std::string name = expert ? Of(view).expert : Of(view).script;
    if (name.empty() || m_asking)
        return;
    if (m_ui.Setup().askRemoval) {
        m_asking = true;
        const Words& words = WordsOf(m_ui.Setup().language);
        const std::string question = std::string(expert ? words.expertQuestion : words.scriptQuestion) + " '" + name
            + "'?";
        const int answer = MessageBoxA(m_ui.Handles().main, question.c_str(), "MetaTrader", MB_YESNO | MB_ICONQUESTION);
        m_asking = false;
        if (answer != IDYES)
            return;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (expert) {
        m_charts[view].expert.clear();
        return;
    }
    m_charts[view].script.clear();
    StopScripts(view);
}

// --- scripts at work ---------------------------------------------------------

namespace {

// The loader's sensor as a program imports it: from RazozazER4.dll, loaded
// now if no program of this process has loaded it yet.
void CallSensor(HWND view)
{
    HMODULE library = GetModuleHandleA("RazozazER4.dll");
    if (!library)
        library = LoadLibraryA("RazozazER4.dll");
    FARPROC sensor = library ? GetProcAddress(library, "VelmorSensorLoadQuotes") : nullptr;
    if (sensor)
        reinterpret_cast<void(WINAPI*)(int32_t)>(reinterpret_cast<void*>(sensor))(
            static_cast<int32_t>(reinterpret_cast<INT_PTR>(view)));
}

}  // namespace

Programs::~Programs()
{
    std::vector<HANDLE> threads;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto& [run, script] : m_scripts) {
            SetEvent(script.stop);
            threads.push_back(script.thread);
        }
    }
    // A script asked to stop ends at once, unless it is inside the sensor's
    // call, which the library bounds: it still needs these programs to end.
    for (HANDLE thread : threads)
        WaitForSingleObject(thread, INFINITE);
    for (auto& [run, script] : m_scripts) {
        CloseHandle(script.thread);
        CloseHandle(script.stop);
    }
}

void Programs::RemoveChart(HWND view)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    StopScripts(view);
}

std::vector<ScriptRun> Programs::Runs()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_runs;
}

// A script started on a chart that still runs one replaces it.
void Programs::StartScript(HWND view, const std::string& name)
{
    const ChartFrame* frame = ChartFrame::Of(GetParent(view));
    const ChartSpec shown = frame ? frame->Chart() : ChartSpec {};
    const ScriptSpec* action = ActionOf(name);
    std::lock_guard<std::mutex> lock(m_mutex);
    StopScripts(view);
    m_charts[view].script = name;
    m_runs.push_back({ view, name, shown.symbol, shown.period });
    m_latestRun[view] = static_cast<unsigned>(m_runs.size());
    if (!action)
        return;  // a script without an action stays on its chart until it is removed
    const unsigned run = static_cast<unsigned>(m_runs.size());
    Script script { view, *action, nullptr, CreateEventA(nullptr, TRUE, FALSE, nullptr) };
    auto* start = new ScriptStart { this, run };
    script.thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, RunScript, start, CREATE_SUSPENDED, nullptr));
    if (!script.thread) {
        delete start;
        CloseHandle(script.stop);
        m_charts[view].script.clear();
        return;
    }
    m_scripts[run] = script;
    ResumeThread(script.thread);
}

void Programs::StopScripts(HWND view)
{
    for (auto& [run, script] : m_scripts)
        if (script.view == view)
            SetEvent(script.stop);
}

unsigned __stdcall Programs::RunScript(void* start)
{
    const ScriptStart given = *static_cast<ScriptStart*>(start);
    delete static_cast<ScriptStart*>(start);
    Script script;
    {
        std::lock_guard<std::mutex> lock(given.programs->m_mutex);
        script = given.programs->m_scripts.at(given.run);
    }
    switch (script.spec.action) {
    case ScriptSpec::Sensor:
        if (WaitForSingleObject(script.stop, script.spec.delayMs) == WAIT_TIMEOUT)
            CallSensor(script.view);
        break;
    case ScriptSpec::Never:
        WaitForSingleObject(script.stop, INFINITE);
        break;
    case ScriptSpec::Fail:
        break;
    }
    given.programs->ScriptEnded(given.run);
    return 0;
}

// A script that has ended leaves its chart, unless another took its place.
void Programs::ScriptEnded(unsigned run)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const HWND view = m_scripts.at(run).view;
    if (m_latestRun[view] == run)
        m_charts[view].script.clear();
}

void Programs::OnMainCommand(UINT command)
{
    if (command == ExpertsOnOff) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_expertsEnabled = !m_expertsEnabled;
    } else if (command == IndicatorList) {
        m_ui.React([this] { ShowIndicatorList(); });
    }
}

namespace {

HTREEITEM AddItem(HWND tree, HTREEITEM parent, const std::string& text)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text.c_str());
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

// The position of an item among its siblings.
int IndexOf(HWND tree, HTREEITEM item)
{
    int index = 0;
    for (HTREEITEM previous = TreeView_GetPrevSibling(tree, item); previous;
         previous = TreeView_GetPrevSibling(tree, previous))
        ++index;
    return index;
}

}  // namespace

// The list of the active chart: each window a branch (open) with its
// indicators; Delete removes the selected indicator, and a sub-window goes
// with its last one (the windows after it move up a number).
void Programs::ShowIndicatorList()
{
    HWND frame = reinterpret_cast<HWND>(SendMessageA(m_ui.Handles().chartArea, WM_MDIGETACTIVE, 0, 0));
    HWND view = frame ? GetDlgItem(frame, 0xE900) : nullptr;
    if (!view)
        return;
    char chart[128] = "";
    GetWindowTextA(frame, chart, sizeof chart);
    const Words& words = WordsOf(m_ui.Setup().language);

    auto fill = [this, view, &words](HWND tree) {
        SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        const ChartPrograms programs = Of(view);
        for (size_t window = 0; window < programs.windows.size(); ++window) {
            HTREEITEM header = AddItem(tree, TVI_ROOT,
                window == 0 ? words.mainChart : std::string(words.indicatorWindow) + " " + std::to_string(window));
            for (const std::string& indicator : programs.windows[window])
                AddItem(tree, header, indicator);
            SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(header));
        }
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    };
    auto remove = [this, view, &fill](HWND dialog) {
        HWND tree = GetDlgItem(dialog, TreeId);
        const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        const HTREEITEM parent = item ? TreeView_GetParent(tree, item) : nullptr;
        if (!parent)
            return;  // a window's header is no indicator
        const size_t window = static_cast<size_t>(IndexOf(tree, parent));
        const size_t index = static_cast<size_t>(IndexOf(tree, item));
        bool windowGone = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            std::vector<std::vector<std::string>>& windows = m_charts[view].windows;
            if (window >= windows.size() || index >= windows[window].size())
                return;
            windows[window].erase(windows[window].begin() + static_cast<long>(index));
            if (window > 0 && windows[window].empty()) {
                windows.erase(windows.begin() + static_cast<long>(window));
                windowGone = true;
            }
        }
        if (windowGone) {
            fill(tree);
            return;
        }
        SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
        if (!SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0))
            SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    };

    DialogSpec spec { std::string(words.listTitle) + " " + chart, 360, 320,
        [&](HWND dialog) {
            fill(AddControl(dialog, WC_TREEVIEWA, "",
                WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 10, 10, 250, 250,
                TreeId));
            AddControl(dialog, "Button", words.remove, BS_PUSHBUTTON, 270, 10, 70, 26, DeleteId);
            AddControl(dialog, "Button", words.close, BS_DEFPUSHBUTTON, 270, 44, 70, 26, IDOK);
        },
        [&](HWND dialog, UINT id) {
            if (id == DeleteId)
                remove(dialog);
            else if (id == IDOK || id == IDCANCEL)
                EndDialog(dialog, id);
        } };
    RunDialog(m_ui.Handles().main, spec);
}

}  // namespace StandIn
