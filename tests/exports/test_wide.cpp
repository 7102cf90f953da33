// Each wide export gives its ANSI one's result, boxes (but the caption) and messages; texts come back in UTF-16,
// elements are filled to their capacity only, and a text the terminal's code page cannot hold is refused.
#include <gtest/gtest.h>
#include <cstring>
#include <cwchar>
#include <deque>
#include <map>
#include "hardening/ExportTable.h"
#include "MT4/MqlString.h"
#include "support/TerminalTest.h"

using StandIn::Event;
using Support::Box;

namespace {

std::string Narrow(const wchar_t* text)
{
    char narrow[4096] = "";
    WideCharToMultiByte(1251, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

// An int, chart `value`, a text (CP1251 here), `value` string elements of 16 characters holding "Nothing", or the
// window of mailbox line `value` (opened once).
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
    bool newWindow = false;  // the result is a window each call opens anew
};

class WideTest : public Support::TerminalTest {
protected:
    static constexpr int32_t Room = 16;

    // The result, the string array's texts, the boxes and the terminal's messages, line by line.
    std::vector<std::string> Call(const Row& row, bool wide)
    {
        const std::string name = "Velmor" + std::string(row.name) + (wide ? "W" : "");
        const Hardening::Export& what = Hardening::ExportNamed(name);
        std::deque<std::string> narrow;
        std::deque<std::wstring> wides;
        std::vector<char> ansiBuffers(8 * Room, '\0');
        std::vector<wchar_t> wideBuffers(8 * Room, L'\0');
        std::vector<MT4::MqlString> ansiArray;
        std::vector<MT4::MqlStringW> wideArray;
        std::vector<Hardening::Slot> slots;
        for (const Arg& arg : row.args) {
            INT_PTR slot = arg.kind == Arg::Chart ? reinterpret_cast<INT_PTR>(terminal.Handles().chartViews.at(arg.value))
                                                  : arg.value;
            if (arg.kind == Arg::Message && !m_messages.count(arg.value))
                m_messages[arg.value] = library.Get<Support::IntOfIntFn>("VelmorMailboxOpen")(static_cast<int32_t>(arg.value));
            slot = arg.kind == Arg::Message ? m_messages[arg.value] : slot;
            if (arg.kind == Arg::Text) {
                narrow.push_back(arg.text);
                wides.emplace_back(arg.text.size(), L'\0');
                wides.back().resize(MultiByteToWideChar(1251, 0, arg.text.data(), static_cast<int>(arg.text.size()),
                    wides.back().data(), static_cast<int>(arg.text.size())));
                slot = wide ? reinterpret_cast<INT_PTR>(wides.back().c_str()) : reinterpret_cast<INT_PTR>(narrow.back().c_str());
            }
            for (int i = 0; arg.kind == Arg::Array && i < arg.value; ++i) {
                std::memcpy(&ansiBuffers[i * Room], "Nothing", 7);
                std::wmemcpy(&wideBuffers[i * Room], L"Nothing", 7);
                ansiArray.push_back({ Room, &ansiBuffers[i * Room] });
                wideArray.push_back({ Room, &wideBuffers[i * Room], 0 });
                slot = wide ? reinterpret_cast<INT_PTR>(wideArray.data()) : reinterpret_cast<INT_PTR>(ansiArray.data());
            }
            slots.push_back({ slot, 0 });
        }
        terminal.Log().Clear();
        boxes.Take();
        const INT_PTR raw = Hardening::Invoke(what, slots);
        if (what.bound.find("returns at once") != std::string::npos || what.bound.find("posted") != std::string::npos)
            Sleep(500);  // a worker's or a posted command's effect comes after the call
        std::vector<std::string> outcome { what.result == "void" ? ""
                : what.result == "int" ? std::to_string(row.newWindow ? raw != 0 : static_cast<int32_t>(raw))
                : !raw ? "null" : wide ? Narrow(reinterpret_cast<const wchar_t*>(raw)) : reinterpret_cast<const char*>(raw) };
        for (size_t i = 0; i < ansiArray.size(); ++i)
            outcome.push_back(wide ? Narrow(&wideBuffers[i * Room]) : std::string(&ansiBuffers[i * Room]));
        for (Box box : boxes.Take()) {
            if (wide && box.caption == name + "()")
                box.caption.erase(box.caption.size() - 3, 1);
            outcome.push_back(box.caption + " | " + box.text);
        }
        // Not compared: a dialog (each call's own) or a window gone since, the memory a request points to, which
        // chart became active and the titles that followed.
        for (Event event : terminal.Log().Take()) {
            if (event.kind == Event::Activate || event.kind == Event::Title)
                continue;
            if (!IsWindow(event.window) || StandInTest::ClassOf(event.window) == "#32770" || row.newWindow)
                event.window = nullptr;
            if (event.kind == Event::Command || event.kind == Event::Internal)
                event.lParam = 0;
            outcome.push_back(StandIn::Describe(event));
        }
        Hardening::CancelDialogs(terminal.UiThread());
        return outcome;
    }

    std::map<INT_PTR, INT_PTR> m_messages;
};

TEST_F(WideTest, EachTwinGivesItsAnsiExportsResultBoxesAndMessages)
{
    const Row rows[] = { { "GetPathDirectoryMT4", {} }, { "GetPathServer", {} },
        { "SetTerminalTabByName", { T("Mailbox") } }, { "GetNameServer", {} }, { "GetNameServer", {} },
        { "Login", { I(0), T(""), T(""), I(0) } }, { "SetTemplateByName", { C(0), T("ADX") } },
        { "SetTimeframeByName", { C(0), T("H4") } }, { "SetTimeframeByName", { C(0), T("Ч4") } },
        { "SetToolChartNamePeriod", { C(0), T("GBPUSD"), T("H1") } },
        { "SetToolChartNumberPeriod", { C(0), T("EURUSD"), I(4) } },
        { "SetToolChartPeriod", { C(0), T("EURUSD"), I(60) } }, { "WriteCmd", { C(1), T("Счёт EURUSD") } },
        { "ReadCmd", { C(1) } }, { "OpenOfflineChart", { T("GBPUSD"), T("D1") }, true },
        { "LoadExpert", { C(1), T("MACD Sample"), I(1) } }, { "LoadCustomIndicator", { C(1), T("ZigZag"), I(1) } },
        { "LoadStdIndicator", { C(1), T("MACD"), I(1) } }, { "LoadScript", { C(1), T("PeriodConverter"), I(1) } },
        { "GetNamesIndicators", { C(1), I(0), A(4), I(4) } },
        { "DeleteIndicatorsByName", { C(2), I(0), A(1), I(1) } }, { "GetAllSymbols", { A(6), I(6) } },
        { "LineBySymbol", { T("USDCHF") } }, { "OpenChartByName", { T("AUDUSD"), T("") }, true },
        { "SymbolByLine", { I(1) } }, { "MailboxCloseByName", { T("Нет такого") } }, { "MailboxGetFrom", { I(1) } },
        { "MailboxGetLine", { T("2012"), T("Служба"), T("счёт"), I(0), I(-1) } },
        { "MailboxGetStringTime", { I(0) } }, { "MailboxGetTheme", { I(1) } }, { "MailboxReadText", { M(1) } },
        { "MailboxReadHTML", { M(1) } }, { "LoaderQuotes", { I(2), I(0), I(0), T("PeriodConverter") } } };
    for (const Row& row : rows) {
        const std::vector<std::string> ansi = Call(row, false);
        EXPECT_EQ(Call(row, true), ansi) << row.name;
    }
}

TEST_F(WideTest, TextsComeBackInUtf16ElementsAreFilledToCapacityAndTextsTheCodePageLacksAreRefused)
{
    EXPECT_EQ(std::wstring(library.Get<const wchar_t*(WINAPI*)(int32_t)>("VelmorMailboxGetFromW")(1)), L"Служба поддержки");
    // Capacities -1, 0, 1, 2, 7, 8 and a null buffer for the five symbols: guards after each, the elements kept.
    const int32_t capacities[] = { -1, 0, 1, 2, 7, 8, 8 };
    std::vector<wchar_t> buffers(7 * 10, L'#');
    std::vector<MT4::MqlStringW> elements;
    for (int i = 0; i < 7; ++i)
        elements.push_back({ capacities[i], i == 6 ? nullptr : &buffers[i * 10], 0x5A5A5A5A });
    const std::vector<MT4::MqlStringW> given = elements;
    EXPECT_EQ(library.Get<int32_t(WINAPI*)(MT4::MqlStringW*, int32_t)>("VelmorGetAllSymbolsW")(elements.data(), 7), 5);
    EXPECT_EQ(std::memcmp(elements.data(), given.data(), sizeof(MT4::MqlStringW) * 7), 0);
    EXPECT_EQ(std::wstring(buffers.data(), buffers.size()),
        std::wstring(20, L'#') + L'\0' + std::wstring(9, L'#') + L'U' + L'\0' + std::wstring(8, L'#') + L"AUDUSD"
            + L'\0' + L"###" + std::wstring(20, L'#'));
    EXPECT_EQ(boxes.Take(), std::vector<Box> {});
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

}  // namespace
