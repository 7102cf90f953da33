#pragma once
// Chart exports through the real DLL against a stand-in terminal in this
// process: its charts, what it received, and the boxes shown.
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
inline std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}
// A window that existed: its handle names no window any more.
inline HWND GoneWindow()
{
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(window);
    return window;
}
inline HANDLE ActiveChartMutex()
{
    return CreateMutexA(nullptr, FALSE,
        MT4::Windows::MutexName(MT4::Windows::MutexActiveChart, GetCurrentProcessId()).c_str());
}

// The box of the export `name` refused by MT4::Windows::`method` ("Ошибка в
// методе" when it failed on the way).
inline Box Refusal(const std::string& name, const std::string& method, const std::string& why, bool failed = false)
{
    const std::string by = failed ? "Ошибка в методе" : "Метод";
    return { name + "()", by + " \"MT4::Windows::" + method + "()\".\n" + why };
}
inline Box ZeroHandle(const std::string& name, const std::string& method)
{
    return Refusal(name, method, "Неверный системный дескриптор графика.");
}

class Fixture : public ::testing::Test {
protected:
    explicit Fixture(const StandIn::Scenario& scenario = StandIn::Scenario::Named("english"))
        : terminal(scenario)
    {
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        terminal.Log().Clear();
    }

    // The export `name` called with `args` (each 32 bits wide, a pointer or a double).
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
            [&](const std::vector<Event>& all) {
                return all.size() - std::count_if(all.begin(), all.end(), other) >= count;
            },
            5000);
        std::vector<Event> events = terminal.Log().Take();
        events.erase(std::remove_if(events.begin(), events.end(), other), events.end());
        return events;
    }
    std::vector<Event> Received(Event::Kind kind, size_t count) { return Received(count, kind); }
    // The commands received once `count` are there, each sent to `window` if one is given.
    std::vector<WPARAM> Commands(size_t count = 1, HWND window = nullptr)
    {
        std::vector<WPARAM> commands;
        for (const Event& event : Received(Event::Command, count)) {
            EXPECT_TRUE(!window || event.window == window) << event;
            commands.push_back(event.wParam);
        }
        return commands;
    }

    Event Expected(Event::Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
        const std::string& text = std::string()) const
    {
        return Event { kind, window, message, wParam, lParam, text, terminal.UiThread() };
    }
    Event Command(HWND window, WPARAM id) const { return Expected(Event::Command, window, WM_COMMAND, id, 0); }
    // Chart i became the active one in place of the frame `previous`.
    Event Activated(size_t i, HWND previous) const
    {
        return Expected(Event::Activate, View(i), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous),
            reinterpret_cast<LPARAM>(Frame(i)), Title(i));
    }

    // The window goes within 5 s.
    static bool Gone(HWND window)
    {
        for (int i = 0; i < 500 && IsWindow(window); ++i)
            Sleep(10);
        return !IsWindow(window);
    }
    // Nothing more arrives within `ms`.
    bool Quiet(DWORD ms)
    {
        return !terminal.Log().WaitFor([](const std::vector<Event>& all) { return !all.empty(); }, ms);
    }

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
