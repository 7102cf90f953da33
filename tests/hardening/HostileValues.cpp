#include "ExportTable.h"
#include <climits>
#include <cstring>
#include <limits>
#include <type_traits>
#include "MT4/MqlString.h"

namespace Hardening {

namespace {

using Bytes = std::vector<unsigned char>;
constexpr size_t GuardBytes = 32;   // 0xCD after every text and buffer
constexpr int ElementCapacity = 4;  // "abc" and the zero

std::shared_ptr<Value> Int(int32_t value, const std::string& what) { return std::make_shared<Value>(Slot { value, 0 }, what); }
std::shared_ptr<Value> Real(double value, const std::string& what) { return std::make_shared<Value>(Slot { 0, value }, what); }

std::shared_ptr<Value> Window(HWND window, const std::string& what)
{
    char hex[32];
    wsprintfA(hex, " 0x%IX", reinterpret_cast<INT_PTR>(window));
    return Int(static_cast<int32_t>(reinterpret_cast<INT_PTR>(window)), what + hex);
}

template <class Char>
std::shared_ptr<Value> Text(const std::string& text, const std::string& what)
{
    std::vector<Char> chars(text.begin(), text.end());
    chars.push_back(Char());
    const size_t room = chars.size() * sizeof(Char);
    Bytes bytes(reinterpret_cast<const unsigned char*>(chars.data()), reinterpret_cast<const unsigned char*>(chars.data()) + room);
    bytes.resize(room + GuardBytes * sizeof(Char), 0xCD);
    return std::make_shared<Value>(Slot {}, what, static_cast<long long>(chars.size()), Value::Blocks { bytes },
        [room](size_t, uint32_t) { return room; });
}

enum class Shape { Sound, NullBuffers, ZeroCapacity, NegativeCapacity };

// The elements (UTF-16 ones with a reserved word, a guard) in one block, each buffer "abc" and guards in one of its own.
template <class Element>
std::shared_ptr<Value> TextArray(Shape shape, const std::string& what)
{
    using Char = std::remove_pointer_t<decltype(Element::buffer)>;
    std::vector<Bytes> blocks(1 + Backing, Bytes((ElementCapacity + GuardBytes) * sizeof(Char), 0xCD));
    blocks[0].assign(Backing * sizeof(Element), 0xCD);
    for (size_t i = 0; i < Backing; ++i) {
        const Char abc[ElementCapacity] = { 'a', 'b', 'c', 0 };
        std::memcpy(blocks[1 + i].data(), abc, sizeof abc);
        Element element;
        std::memcpy(&element, &blocks[0][i * sizeof element], sizeof element);
        element.buffer = shape == Shape::NullBuffers ? nullptr : reinterpret_cast<Char*>(blocks[1 + i].data());
        element.capacity = shape == Shape::ZeroCapacity ? 0 : shape == Shape::NegativeCapacity ? -1 : ElementCapacity;
        std::memcpy(&blocks[0][i * sizeof element], &element, sizeof element);
    }
    return std::make_shared<Value>(Slot {}, (sizeof(Char) == 1 ? "" : "wide ") + what, SoundCount, std::move(blocks),
        [shape](size_t block, uint32_t size) {
            return block > 0 && block - 1 < size && shape == Shape::Sound ? ElementCapacity * sizeof(Char) : 0;
        });
}

std::shared_ptr<Value> Text(const Argument& arg, const std::string& text, const std::string& what)
{ return arg.wide ? Text<wchar_t>(text, what) : Text<char>(text, what); }
std::shared_ptr<Value> TextArray(const Argument& arg, Shape shape, const std::string& what)
{ return arg.wide ? TextArray<MT4::MqlStringW>(shape, what) : TextArray<MT4::MqlString>(shape, what); }

}  // namespace

std::string Value::Check(uint32_t size) const
{
    for (size_t block = 0; block < blocks.size(); ++block)
        for (size_t at = room(block, size); at < blocks[block].size(); ++at)
            if (blocks[block][at] != original[block][at])
                return what + ": byte " + std::to_string(at) + " of block " + std::to_string(block) + " written (room "
                    + std::to_string(room(block, size)) + " bytes, size given " + std::to_string(size) + ")";
    return {};
}

std::shared_ptr<Value> Null() { return Int(0, "null"); }

std::vector<Slot> SlotsOf(const Values& values)
{
    std::vector<Slot> slots;
    for (const auto& value : values)
        slots.push_back(value->slot);
    return slots;
}

bool IsCount(const Argument& arg) { return arg.kind == Kind::Int && (arg.name == "size" || arg.name == "count"); }

Values Hostile(const Argument& argument, const Windows& windows)
{
    switch (argument.kind) {
    case Kind::Int:
        if (argument.name == "chart" || argument.name == "window") {
            Values values { Int(0, "0"), Int(-1, "-1"), Int(0xFFFF, "HWND_BROADCAST"),
                Window(windows.destroyed, "destroyed window"), Window(windows.foreignChart, "chart of another process"),
                Window(windows.foreignMain, "terminal window of another process"),
                Window(windows.own, "plain window of this process"), Int(INT_MAX, "INT_MAX") };
            if (argument.name == "chart")
                values.push_back(Window(windows.terminalMain, "terminal main window"));
            return values;
        }
        if (IsCount(argument))
            return { Int(0, "0"), Int(-1, "-1"), Int(INT_MAX, "INT_MAX"), Int(INT_MIN, "INT_MIN") };
        return { Int(-1, "-1"), Int(INT_MAX, "INT_MAX"), Int(INT_MIN, "INT_MIN") };
    case Kind::Double:
        return { Real(std::numeric_limits<double>::quiet_NaN(), "NaN"), Real(std::numeric_limits<double>::infinity(), "inf"),
            Real(-1e300, "-1e300") };
    case Kind::Text:
        return { Null(), Text(argument, "", "\"\""), Text(argument, std::string(70000, 'A'), "70000 characters") };
    case Kind::IntArray:
        return { Null() };
    case Kind::TextArray:
        return { Null(), TextArray(argument, Shape::NullBuffers, "elements without buffers"),
            TextArray(argument, Shape::ZeroCapacity, "elements of capacity 0"),
            TextArray(argument, Shape::NegativeCapacity, "elements of capacity -1") };
    }
    return {};
}

std::shared_ptr<Value> Sound(const Argument& argument, const Windows& windows)
{
    const size_t stride = argument.name == "entries" ? 3 : 1;  // the Properties check boxes: three ints each
    switch (argument.kind) {
    case Kind::Int:
        if (argument.name == "chart")
            return Window(windows.chart, "chart");
        return IsCount(argument) ? Int(SoundCount, std::to_string(SoundCount)) : Int(0, "0");
    case Kind::Double:
        return Real(1.5, "1.5");
    case Kind::Text:
        return Text(argument, "EURUSD", "\"EURUSD\"");
    case Kind::IntArray:
        return std::make_shared<Value>(Slot {}, "int array", SoundCount, Value::Blocks { Bytes(Backing * stride * 4, 0xCD) },
            [stride](size_t, uint32_t size) { return size * stride * 4; });
    case Kind::TextArray:
        return TextArray(argument, Shape::Sound, "string array");
    }
    return nullptr;
}

Values SoundValues(const Export& what, const Windows& windows)
{
    Values values;
    for (const Argument& argument : what.arguments)
        values.push_back(Sound(argument, windows));
    return values;
}

}  // namespace Hardening
