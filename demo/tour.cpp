// The tour: a stand-in terminal in this process, RazozazER4.dll loaded by
// name as the terminal loads it for the programs that import it, and every
// export built so far called once. Prints one table per family: export,
// arguments, result, what the terminal received. Saves a screenshot of the
// terminal and one of a dialog (the error box a failing export shows).
//
//   tour.exe [scenario] [terminal.png] [dialog.png]
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <thread>
#include <string>

#include "Screenshot.h"
#include "StandIn.h"

namespace {

class Tour {
public:
    Tour(StandIn::Terminal& terminal, HMODULE library) : m_terminal(terminal), m_library(library) {}

    template <class F>
    F Get(const char* name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m_library, name)));
    }

    // One row: runs `call`, which returns the result as text, then lists what
    // the terminal received meanwhile.
    void Row(const std::string& name, const std::string& arguments, const std::function<std::string()>& call)
    {
        m_terminal.Log().Clear();
        const std::string result = call();
        Sleep(50);  // posted messages reach the terminal's thread
        std::printf("%-28s %-14s %-34s", name.c_str(), arguments.c_str(), result.c_str());
        const std::vector<StandIn::Event> events = m_terminal.Log().Take();
        if (events.empty())
            std::printf(" -\n");
        for (size_t i = 0; i < events.size(); ++i)
            std::printf("%s%s\n", i ? "                                                                              " : " ",
                StandIn::Describe(events[i]).c_str());
    }

    // Starts the table of one family.
    void Family(const char* title)
    {
        std::printf("\n== %s\n%-28s %-14s %-34s %s\n", title, "export", "arguments", "result",
            "the terminal received");
    }

    // Runs `call`, which must fail: saves a screenshot of the error box it
    // shows (captioned `caption`), closes the box and returns its text.
    std::string ErrorBox(const char* caption, const std::string& screenshot, const std::function<void()>& call)
    {
        std::string line = "(no box)";
        std::thread watcher([&] {
            for (int i = 0; i < 200; ++i) {  // at most 10 s
                HWND box = FindWindowA("#32770", caption);
                if (box) {
                    Sleep(300);  // drawn
                    m_dialogSaved = SaveWindowPng(box, screenshot);
                    char text[512] = {};
                    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                    line = text;  // on one line
                    for (char& c : line)
                        c = c == '\n' ? ' ' : c;
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                    return;
                }
                Sleep(50);
            }
        });
        call();
        watcher.join();
        return "box: " + line;
    }

    bool DialogSaved() const { return m_dialogSaved; }

    void Int(const char* name)
    {
        Row(name, "", [&] { return Hex(Get<int32_t(WINAPI*)()>(name)()); });
    }

    void Text(const char* name)
    {
        Row(name, "", [&] {
            const char* text = Get<const char*(WINAPI*)()>(name)();
            // Appended, not prepended: the i686 compiler warns falsely (-Wrestrict) on "\"" + string.
            return text ? std::string(1, '"').append(text).append(1, '"') : std::string("null");
        });
    }

    void VoidOfInt(const char* name, int32_t argument)
    {
        Row(name, Hex(argument), [&] {
            Get<void(WINAPI*)(int32_t)>(name)(argument);
            return std::string("-");
        });
    }

    static std::string Hex(int32_t value)
    {
        char text[32];
        std::snprintf(text, sizeof text, value >= 0 && value < 100000 ? "%ld" : "0x%lX", static_cast<long>(value));
        return text;
    }

private:
    StandIn::Terminal& m_terminal;
    HMODULE m_library;
    bool m_dialogSaved = false;
};

}  // namespace

int main(int argc, char** argv)
{
    const std::string scenario = argc > 1 ? argv[1] : "english";
    const std::string screenshot = argc > 2 ? argv[2] : "standin.png";
    const std::string dialogShot = argc > 3 ? argv[3] : "dialog.png";
    const ULONGLONG started = GetTickCount64();
    StandIn::Terminal terminal(StandIn::Scenario::Named(scenario));
    HMODULE library = LoadLibraryA("RazozazER4.dll");
    if (!library) {
        std::printf("RazozazER4.dll not loaded (error %lu)\n", GetLastError());
        return 1;
    }
    const StandIn::Windows& handles = terminal.Handles();
    std::printf("stand-in terminal \"%s\" in process %lu, main window 0x%lX\n\n", scenario.c_str(),
        GetCurrentProcessId(), static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(handles.main)));

    Tour tour(terminal, library);
    tour.Family("Start-up");
    tour.VoidOfInt("VelmorInit", 0);
    tour.Family("Main window");
    tour.Int("VelmorHandleMT4");
    tour.Int("VelmorGetProcessId");
    tour.Int("VelmorGetLocalization");
    tour.VoidOfInt("VelmorMetaTraderKeyDown", 0x141);
    tour.Int("VelmorMetaTraderMaximize");
    tour.Int("VelmorMetaTraderMinimize");
    tour.Int("VelmorMetaTraderRestore");
    tour.Int("VelmorMetaTraderHide");
    tour.Int("VelmorMetaTraderShow");
    tour.VoidOfInt("VelmorMetaTraderTitle", 0);
    tour.VoidOfInt("VelmorMetaTraderTitle", 1);
    terminal.OnUiThread([&] {
        SetForegroundWindow(handles.main);
        SetFocus(handles.main);
    });
    tour.Row("VelmorMetaTraderHotKeys", "'S', VK_CONTROL", [&] {
        tour.Get<void(WINAPI*)(int32_t, int32_t)>("VelmorMetaTraderHotKeys")('S', VK_CONTROL);
        return std::string("-");
    });
    tour.Row("VelmorMetaTraderHotKeys", "'S', 0x41", [&] {
        return tour.ErrorBox("VelmorMetaTraderHotKeys()", dialogShot,
            [&] { tour.Get<void(WINAPI*)(int32_t, int32_t)>("VelmorMetaTraderHotKeys")('S', 0x41); });
    });

    tour.Family("Terminal paths");
    tour.Text("VelmorGetPathDirectoryMT4");
    tour.Text("VelmorGetPathServer");

    tour.Family("Input");
    RECT chart;
    GetWindowRect(handles.chartViews.at(0), &chart);
    SetCursorPos(chart.left + 40, chart.top + 30);
    tour.Row("VelmorGetCursorInfo", "array, 6", [&] {
        int32_t info[6] = {};
        tour.Get<void(WINAPI*)(int32_t*, int32_t)>("VelmorGetCursorInfo")(info, 6);
        char text[128];
        std::snprintf(text, sizeof text, "0x%lX (%ld,%ld) (%ld,%ld) 0x%06lX", static_cast<unsigned long>(info[0]),
            static_cast<long>(info[1]), static_cast<long>(info[2]), static_cast<long>(info[3]),
            static_cast<long>(info[4]), static_cast<unsigned long>(info[5]));
        return std::string(text);
    });

    Sleep(200);
    const bool saved = SaveWindowPng(handles.main, screenshot);
    tour.Family("Closing");
    tour.Int("VelmorMetaTraderClose");
    std::printf("\nscreenshot of the terminal: %s%s\n", screenshot.c_str(), saved ? "" : " (not saved)");
    std::printf("screenshot of a dialog: %s%s\n", dialogShot.c_str(), tour.DialogSaved() ? "" : " (not saved)");
    std::printf("tour finished in %.1f s\n", (GetTickCount64() - started) / 1000.0);
    return 0;
}
