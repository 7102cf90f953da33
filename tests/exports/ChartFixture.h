#pragma once
// Chart exports through the real DLL against a stand-in terminal in this
// process: its charts, what it received, and the boxes shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "StandIn.h"
#include "support/BoxWatcher.h"
#include "support/Library.h"

namespace ChartTest {

using StandIn::Event;
using Support::Box;

using IntOfIntIntFn = int32_t(WINAPI*)(int32_t, int32_t);
using VoidOfIntTextFn = void(WINAPI*)(int32_t, const char*);

inline int32_t Id(HWND window)
{
    return static_cast<int32_t>(reinterpret_cast<INT_PTR>(window));
}

inline HWND AsWindowOf(int32_t id)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(id));
}

// The zero-handle message of a chart operation.
inline std::string ZeroHandle(const std::string& method)
{
    return "Метод \"MT4::Windows::" + method + "()\".\nНеверный системный дескриптор графика.";
}

class Fixture : public ::testing::Test {
protected:
    explicit Fixture(const StandIn::Scenario& scenario = StandIn::Scenario::Named("english"))
        : terminal(scenario)
    {
        library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
        terminal.Log().Clear();
    }

    template <class F> F Fn(const char* name) const { return library.Get<F>(name); }

    // The scenario's charts, by scenario order (the last one is on top).
    HWND View(size_t i) const { return terminal.Handles().chartViews.at(i); }
    HWND Frame(size_t i) const { return terminal.Handles().chartFrames.at(i); }
    HWND Main() const { return terminal.Handles().main; }

    // What the terminal received once `count` events are there (at most 5 s).
    std::vector<Event> Received(size_t count)
    {
        terminal.Log().WaitFor(
            [count](const std::vector<Event>& events) { return events.size() >= count; }, 5000);
        return terminal.Log().Take();
    }

    // Only the events of one kind, once `count` of them are there.
    std::vector<Event> Received(Event::Kind kind, size_t count)
    {
        auto of = [kind](const std::vector<Event>& events) {
            return static_cast<size_t>(std::count_if(
                events.begin(), events.end(), [kind](const Event& e) { return e.kind == kind; }));
        };
        terminal.Log().WaitFor([&](const std::vector<Event>& events) { return of(events) >= count; }, 5000);
        std::vector<Event> events = terminal.Log().Take();
        events.erase(
            std::remove_if(events.begin(), events.end(), [kind](const Event& e) { return e.kind != kind; }),
            events.end());
        return events;
    }

    Event Expected(Event::Kind kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
        const std::string& text = std::string()) const
    {
        return Event { kind, window, message, wParam, lParam, text, terminal.UiThread() };
    }
    Event Command(HWND window, WPARAM command) const
    {
        return Expected(Event::Command, window, WM_COMMAND, command, 0);
    }
    // Chart i became the active one in place of the frame `previous`.
    Event Activated(size_t i, HWND previous) const
    {
        return Expected(Event::Activate, View(i), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous),
            reinterpret_cast<LPARAM>(Frame(i)), Title(i));
    }

    HWND ActiveFrame() const
    {
        return reinterpret_cast<HWND>(SendMessageA(terminal.Handles().chartArea, WM_MDIGETACTIVE, 0, 0));
    }
    std::string Title(size_t i) const
    {
        char text[256] = "";
        GetWindowTextA(Frame(i), text, sizeof text);
        return text;
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
        const bool arrived
            = terminal.Log().WaitFor([](const std::vector<Event>& events) { return !events.empty(); }, ms);
        return !arrived;
    }

    StandIn::Terminal terminal;
    Support::Library library;
    Support::BoxWatcher boxes;
};

} // namespace ChartTest
