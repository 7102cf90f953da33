// The wide exports against their ANSI ones: called alike (the texts in UTF-16,
// the string elements of 12 bytes), each gives the same result, the same
// boxes apart from its caption and the same messages to the terminal. A text
// the terminal's code page cannot hold is refused with one box.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <map>

#include "hardening/ExportTable.h"
#include "MT4/MqlString.h"
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), wide.data(),
        static_cast<int>(wide.size())));
    return wide;
}

std::string Narrow(const wchar_t* text)
{
    char narrow[4096] = "";
    WideCharToMultiByte(1251, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

// An argument of a row: an int, a chart of the scenario, a text (CP1251 in
// the sources), a string array of `value` elements of 16 characters holding
// "Nothing", or the window of a mailbox message opened before.
struct Arg {
    enum Kind { Int, Chart, Text, Array, Message } kind;
    INT_PTR value = 0;
    std::string text;
};
Arg I(INT_PTR value) { return { Arg::Int, value, {} }; }
Arg C(int index) { return { Arg::Chart, index, {} }; }
Arg T(const char* text) { return { Arg::Text, 0, text }; }
Arg A(int count) { return { Arg::Array, count, {} }; }
Arg M(int line) { return { Arg::Message, line, {} }; }

struct Row {
    const char* name;
    std::vector<Arg> args;
    bool newWindow = false;  // the result is a window the call opened: each call opens its own
};

// What one call gave: its result as text, the string array's texts, its
// boxes and the terminal's messages.
struct Outcome {
    std::string result;
    std::vector<std::string> array;
    std::vector<Box> boxes;
    std::vector<Event> events;
};

class WideTest : public Support::TerminalTest {
protected:
    static constexpr int32_t Room = 16;

    // Calls `name` (the ANSI export, or its twin with `wide`) with the row's
    // arguments, each text and array in the export's own kind.
    Outcome Call(const Row& row, bool wide)
    {
        const std::string name = std::string(row.name) + (wide ? "W" : "");
        const Hardening::Export* what = nullptr;
        for (const Hardening::Export& entry : Hardening::Exports())
            if (entry.name == name)
                what = &entry;
        EXPECT_NE(what, nullptr) << name;
        if (!what)
            return {};
        std::vector<std::string> narrow;
        std::vector<std::wstring> wides;
        std::vector<char> ansiBuffers(8 * Room, '\0');
        std::vector<wchar_t> wideBuffers(8 * Room, L'\0');
        std::vector<MT4::MqlString> ansiArray;
        std::vector<MT4::MqlStringW> wideArray;
        narrow.reserve(8);
        wides.reserve(8);
        std::vector<Hardening::Slot> slots;
        for (const Arg& arg : row.args) {
            Hardening::Slot slot;
            switch (arg.kind) {
            case Arg::Int: slot.integer = arg.value; break;
            case Arg::Chart: slot.integer = reinterpret_cast<INT_PTR>(terminal.Handles().chartViews.at(arg.value)); break;
            case Arg::Message: slot.integer = MessageWindow(static_cast<int32_t>(arg.value)); break;
            case Arg::Text:
                narrow.push_back(arg.text);
                wides.push_back(Wide(arg.text));
                slot.integer = wide ? reinterpret_cast<INT_PTR>(wides.back().c_str())
                                    : reinterpret_cast<INT_PTR>(narrow.back().c_str());
                break;
            case Arg::Array:
                for (int i = 0; i < arg.value; ++i) {
                    std::memcpy(&ansiBuffers[i * Room], "Nothing", 7);
                    std::wmemcpy(&wideBuffers[i * Room], L"Nothing", 7);
                    ansiArray.push_back({ Room, &ansiBuffers[i * Room] });
                    wideArray.push_back({ Room, &wideBuffers[i * Room], 0 });
                }
                slot.integer = wide ? reinterpret_cast<INT_PTR>(wideArray.data())
                                    : reinterpret_cast<INT_PTR>(ansiArray.data());
                break;
            }
            slots.push_back(slot);
        }
        terminal.Log().Clear();
        boxes.Take();
        const INT_PTR raw = Hardening::Invoke(GetProcAddress(GetModuleHandleA("RazozazER4.dll"), name.c_str()), *what, slots);
        // A worker's or a posted command's effect comes after the call.
        if (what->bound.find("returns at once") != std::string::npos || what->bound.find("posted") != std::string::npos)
            Sleep(500);
        Outcome outcome;
        if (what->result == "int")
            outcome.result = row.newWindow ? std::to_string(raw != 0) : std::to_string(static_cast<int32_t>(raw));
        else if (what->result == "string")
            outcome.result = !raw ? "null" : wide ? Narrow(reinterpret_cast<const wchar_t*>(raw)) : reinterpret_cast<const char*>(raw);
        for (size_t i = 0; i < ansiArray.size(); ++i)
            outcome.array.push_back(wide ? Narrow(&wideBuffers[i * Room]) : std::string(&ansiBuffers[i * Room]));
        outcome.boxes = boxes.Take();
        for (Box& box : outcome.boxes)
            if (wide && box.caption == name + "()")
                box.caption = std::string(row.name) + "()";
        // What the library asked of the terminal: its commands, keys, clicks
        // and requests. A dialog is each call's own and not compared (nor a
        // window gone since, such as its buttons), nor the block of
        // memory a request points to; which chart became active and the
        // titles that followed depend on the call before.
        for (Event event : terminal.Log().Take()) {
            if (event.kind == Event::Activate || event.kind == Event::Title)
                continue;
            if (!IsWindow(event.window) || StandInTest::ClassOf(event.window) == "#32770" || row.newWindow)
                event.window = nullptr;
            if (event.kind == Event::Command || event.kind == Event::Internal)
                event.lParam = 0;
            outcome.events.push_back(event);
        }
        CloseDialogs();
        return outcome;
    }

    // The window of mailbox line `line`, opened once.
    INT_PTR MessageWindow(int32_t line)
    {
        if (!m_messages.count(line))
            m_messages[line] = library.Get<Support::IntOfIntFn>("VelmorMailboxOpen")(line);
        return m_messages[line];
    }

    void CloseDialogs()
    {
        for (HWND window : StandInTest::WindowsOfThisProcess())
            if (!GetParent(window) && IsWindowVisible(window) && StandInTest::ClassOf(window) == "#32770"
                && GetWindowThreadProcessId(window, nullptr) == terminal.UiThread())
                Cancel(window);
    }

    std::map<int32_t, INT_PTR> m_messages;
};

TEST_F(WideTest, EachTwinGivesItsAnsiExportsResultBoxesAndMessages)
{
    const Row rows[] = {
        { "VelmorGetPathDirectoryMT4", {} }, { "VelmorGetPathServer", {} },
        { "VelmorSetTerminalTabByName", { T("Mailbox") } }, { "VelmorGetNameServer", {} }, { "VelmorGetNameServer", {} },
        { "VelmorLogin", { I(0), T(""), T(""), I(0) } }, { "VelmorSetTemplateByName", { C(0), T("ADX") } },
        { "VelmorSetTimeframeByName", { C(0), T("H4") } }, { "VelmorSetTimeframeByName", { C(0), T("Ч4") } },
        { "VelmorSetToolChartNamePeriod", { C(0), T("GBPUSD"), T("H1") } },
        { "VelmorSetToolChartNumberPeriod", { C(0), T("EURUSD"), I(4) } },
        { "VelmorSetToolChartPeriod", { C(0), T("EURUSD"), I(60) } },
        { "VelmorWriteCmd", { C(1), T("Счёт EURUSD") } }, { "VelmorReadCmd", { C(1) } },
        { "VelmorOpenOfflineChart", { T("GBPUSD"), T("D1") }, true },
        { "VelmorLoadExpert", { C(1), T("MACD Sample"), I(1) } },
        { "VelmorLoadCustomIndicator", { C(1), T("ZigZag"), I(1) } },
        { "VelmorLoadStdIndicator", { C(1), T("MACD"), I(1) } },
        { "VelmorLoadScript", { C(1), T("PeriodConverter"), I(1) } },
        { "VelmorGetNamesIndicators", { C(1), I(0), A(4), I(4) } },
        { "VelmorDeleteIndicatorsByName", { C(2), I(0), A(1), I(1) } },
        { "VelmorGetAllSymbols", { A(6), I(6) } }, { "VelmorLineBySymbol", { T("USDCHF") } },
        { "VelmorOpenChartByName", { T("AUDUSD"), T("") }, true }, { "VelmorSymbolByLine", { I(1) } },
        { "VelmorMailboxCloseByName", { T("Нет такого") } }, { "VelmorMailboxGetFrom", { I(1) } },
        { "VelmorMailboxGetLine", { T("2012"), T("Служба"), T("счёт"), I(0), I(-1) } },
        { "VelmorMailboxGetStringTime", { I(0) } }, { "VelmorMailboxGetTheme", { I(1) } },
        { "VelmorMailboxReadText", { M(1) } }, { "VelmorMailboxReadHTML", { M(1) } },
        { "VelmorLoaderQuotes", { I(2), I(0), I(0), T("PeriodConverter") } },
    };
    for (const Row& row : rows) {
        const Outcome ansi = Call(row, false);
        const Outcome wide = Call(row, true);
        EXPECT_EQ(wide.result, ansi.result) << row.name;
        EXPECT_EQ(wide.array, ansi.array) << row.name;
        EXPECT_EQ(wide.boxes, ansi.boxes) << row.name;
        EXPECT_EQ(wide.events, ansi.events) << row.name;
    }
}

TEST_F(WideTest, TextsComeBackInUtf16AndStringElementsAreFilledToTheirCapacityOnly)
{
    auto from = library.Get<const wchar_t*(WINAPI*)(int32_t)>("VelmorMailboxGetFromW");
    EXPECT_EQ(std::wstring(from(1)), L"Служба поддержки");
    auto path = library.Get<const wchar_t*(WINAPI*)()>("VelmorGetPathDirectoryMT4W");
    const std::string directory = library.Get<Support::TextFn>("VelmorGetPathDirectoryMT4")();
    EXPECT_EQ(Narrow(path()), directory);

    // Capacities -1, 0, 1, 2, 7 and 8 and a null buffer for the five symbols:
    // each buffer is followed by guards, and the 12-byte elements stay as
    // given.
    const int32_t capacities[] = { -1, 0, 1, 2, 7, 8, 8 };
    std::vector<wchar_t> buffers(7 * 10, L'#');
    std::vector<MT4::MqlStringW> elements;
    for (int i = 0; i < 7; ++i)
        elements.push_back({ capacities[i], i == 6 ? nullptr : &buffers[i * 10], 0x5A5A5A5A });
    const std::vector<MT4::MqlStringW> given = elements;
    auto symbols = library.Get<int32_t(WINAPI*)(MT4::MqlStringW*, int32_t)>("VelmorGetAllSymbolsW");
    EXPECT_EQ(symbols(elements.data(), 7), 5);
    EXPECT_EQ(std::memcmp(elements.data(), given.data(), sizeof(MT4::MqlStringW) * 7), 0);
    EXPECT_EQ(std::wstring(&buffers[0], 20), std::wstring(20, L'#'));
    EXPECT_EQ(std::wstring(&buffers[20], 10), std::wstring(1, L'\0') + std::wstring(9, L'#'));
    EXPECT_EQ(std::wstring(&buffers[30], 10), std::wstring(L"U") + L'\0' + std::wstring(8, L'#'));
    EXPECT_EQ(std::wstring(&buffers[40], 10), std::wstring(L"AUDUSD") + L'\0' + L"###");
    EXPECT_EQ(std::wstring(&buffers[50], 10), std::wstring(10, L'#'));  // five symbols only
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
}

TEST_F(WideTest, ATextTheCodePageCannotHoldIsRefusedWithOneBoxAndTheNeutralResult)
{
    const std::string refused
        = "Метод \"Utils::StringS::ToAnsi()\".\nТекст содержит символы, которых нет в кодовой странице терминала.";
    EXPECT_EQ(library.Get<int32_t(WINAPI*)(const wchar_t*)>("VelmorLineBySymbolW")(L"EUR\u4E16"), -1);
    wchar_t name[] = L"Z\u0101gZag";  // a letter with a best fit ("a"), which must not be taken
    MT4::MqlStringW names[] = { { 8, name, 0 } };
    library.Get<void(WINAPI*)(int32_t, int32_t, MT4::MqlStringW*, int32_t)>("VelmorDeleteIndicatorsByNameW")(
        static_cast<int32_t>(reinterpret_cast<INT_PTR>(terminal.Handles().chartViews.at(0))), 0, names, 1);
    EXPECT_EQ(boxes.Take(),
        (std::vector<Box> { { "VelmorLineBySymbolW()", refused }, { "VelmorDeleteIndicatorsByNameW()", refused } }));
    EXPECT_EQ(terminal.Log().Take(), std::vector<Event> {});
}

TEST(RussianWide, ARussianTabNameInUtf16SelectsTheTabItsCp1251NameSelects)
{
    StandIn::Terminal terminal(StandIn::Scenario::Named("russian"));
    Support::Library library;
    library.Get<Support::VoidOfIntFn>("VelmorInit")(0);
    HWND strip = terminal.Handles().terminalTabs;
    library.Get<Support::VoidOfTextFn>("VelmorSetTerminalTabByName")("Почтовый ящик");
    const std::vector<Event> ansi = terminal.Log().Take();
    library.Get<Support::VoidOfIntFn>("VelmorSetTerminalTabByNumber")(0);
    terminal.Log().Clear();
    library.Get<void(WINAPI*)(const wchar_t*)>("VelmorSetTerminalTabByNameW")(L"Почтовый ящик");
    EXPECT_EQ(terminal.Log().Take(), ansi);
    EXPECT_EQ(SendMessageA(strip, TCM_GETCURSEL, 0, 0), 4);
}

}  // namespace
