#pragma once
// Chart exports through the real DLL against a stand-in terminal in this process.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "MT4/Windows.h"
#include "StandIn.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

namespace ChartTest {

using StandIn::Event;
using Support::Box;

inline int32_t Id(HWND window) { return static_cast<int32_t>(reinterpret_cast<INT_PTR>(window)); }
inline HWND AsWindowOf(int32_t id) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(id)); }
inline std::string TextOf(HWND window) { char text[256] = ""; return GetWindowTextA(window, text, sizeof text), text; }
// A window that existed: its handle names no window any more.
inline HWND GoneWindow()
{ HWND w = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, 0, 0, 0, 0); return DestroyWindow(w), w; }
inline HANDLE ActiveChartMutex()
{ return CreateMutexA(0, FALSE, MT4::Windows::MutexName(MT4::Windows::MutexActiveChart, GetCurrentProcessId()).c_str()); }

// The box of the export `name` refused by MT4::Windows::`method` (by default the name without "Velmor");
// `failed`: it failed on the way.
inline Box Refusal(const std::string& name, const std::string& why, bool failed = false, std::string method = {})
{
    if (method.empty())
        method = name.rfind("Velmor", 0) == 0 ? name.substr(6) : name;
    return { name + "()", (failed ? "Ошибка в методе" : "Метод") + (" \"MT4::Windows::" + method + "()\".\n" + why) };
}
inline Box ZeroHandle(const std::string& name, const std::string& method = {})
{ return Refusal(name, "Неверный системный дескриптор графика.", false, method); }

class Fixture : public ::testing::Test {
protected:
    explicit Fixture(const StandIn::Scenario& scenario = StandIn::Scenario::Named("english"))
        : terminal(scenario)
    {
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        terminal.Log().Clear();
    }
    template <class R = int32_t, class... A> R Call(const char* name, A... args) const
    {
        return library.Get<R(WINAPI*)(A...)>(name)(args...);
    }

    // The scenario's charts, by scenario order (the last one is on top).
    HWND View(size_t i) const { return terminal.Handles().chartViews.at(i); }
    HWND Frame(size_t i) const { return terminal.Handles().chartFrames.at(i); }
    HWND Main() const { return terminal.Handles().main; }
    std::string Title(size_t i) const { return TextOf(Frame(i)); }
    // What the terminal received once `count` events (of `kind`, if given) are there (at most 5 s).
    std::vector<Event> Received(size_t count, std::optional<Event::Kind> kind = std::nullopt)
    {
        auto other = [kind](const Event& e) { return kind && e.kind != *kind; };
        terminal.Log().WaitFor(
            [&](const std::vector<Event>& e) { return e.size() - std::count_if(e.begin(), e.end(), other) >= count; }, 5000);
        std::vector<Event> events = terminal.Log().Take();
        events.erase(std::remove_if(events.begin(), events.end(), other), events.end());
        return events;
    }
    // The commands received once `count` are there, each sent to `window` if one is given.
    std::vector<WPARAM> Commands(size_t count = 1, HWND window = nullptr)
    {
        std::vector<WPARAM> commands;
        for (const Event& event : Received(count, Event::Command)) {
            EXPECT_TRUE(!window || event.window == window) << event;
            commands.push_back(event.wParam);
        }
        return commands;
    }

    Event Expected(Event::Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::string text = {}) const
    { return Event { kind, window, message, wParam, lParam, text, terminal.UiThread() }; }
    Event Command(HWND window, WPARAM id) const { return Expected(Event::Command, window, WM_COMMAND, id, 0); }
    // Chart i became the active one in place of the frame `previous`.
    Event Activated(size_t i, HWND previous) const
    { return Expected(Event::Activate, View(i), WM_MDIACTIVATE, WPARAM(previous), LPARAM(Frame(i)), Title(i)); }
    // Chart i was activated in place of the top one (its title redrawn), then `command` reached the main window.
    void ExpectActivatedThen(size_t i, WPARAM command)
    {
        const std::vector<Event> in = Received(3);
        EXPECT_TRUE(in.size() == 3 && in[0] == Activated(i, Frame(2)) && in[1].kind == Event::Title
            && in[2] == Command(Main(), command)) << ::testing::PrintToString(in);
    }
    // The dialog's Cancel clicked: it goes.
    static bool Cancelled(HWND dialog) { return SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0), Gone(dialog); }

    // The window goes within 5 s.
    static bool Gone(HWND w) { for (int i = 0; i < 500 && IsWindow(w); ++i) Sleep(10); return !IsWindow(w); }
    // Nothing more arrives within `ms`.
    bool Quiet(DWORD ms) { return !terminal.Log().WaitFor([](const std::vector<Event>& e) { return !e.empty(); }, ms); }

    StandIn::Terminal terminal;
    Support::Library library;
    Support::BoxWatcher boxes;
};
// A fixture on the scenario `Make` gives.
template <StandIn::Scenario (*Make)()> class On : public Fixture {
protected:
    On() : Fixture(Make()) { }
};

} // namespace ChartTest
