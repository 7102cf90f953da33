#include "HostileValues.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace Hardening {

namespace {

constexpr unsigned char GuardByte = 0xCD;
constexpr int32_t GuardInt = static_cast<int32_t>(0xCDCDCDCD);
constexpr size_t GuardBytes = 32;
constexpr int ElementCapacity = 4;  // each string element's buffer: 3 characters and the zero

std::string Hex(INT_PTR value)
{
    char text[32];
    wsprintfA(text, "0x%IX", value);
    return text;
}

class IntValue : public Value {
public:
    IntValue(int32_t value, std::string what) : m_value(value), m_what(std::move(what)) { }
    Slot Get() const override { return { m_value, 0 }; }
    std::string Describe() const override { return m_what; }

private:
    int32_t m_value;
    std::string m_what;
};

std::shared_ptr<Value> Int(int32_t value, const std::string& what)
{
    return std::make_shared<IntValue>(value, what);
}

std::shared_ptr<Value> Window(HWND window, const std::string& what)
{
    return Int(static_cast<int32_t>(reinterpret_cast<INT_PTR>(window)), what + " " + Hex(reinterpret_cast<INT_PTR>(window)));
}

class DoubleValue : public Value {
public:
    DoubleValue(double value, std::string what) : m_value(value), m_what(std::move(what)) { }
    Slot Get() const override { return { 0, m_value }; }
    std::string Describe() const override { return m_what; }

private:
    double m_value;
    std::string m_what;
};

// A text (or none) followed by its zero and guard bytes; a buffer the
// library may write into has the text's room and not a byte more. `Char` is
// char for an ANSI text, wchar_t for a UTF-16 one (the characters here are
// ASCII, widened one by one).
template <class Char>
class TextValue : public Value {
public:
    explicit TextValue(const std::string* text, std::string what) : m_what(std::move(what))
    {
        if (!text)
            return;
        m_length = text->size();
        m_memory.assign(m_length + 1 + GuardBytes, static_cast<Char>(GuardChar));
        std::copy(text->begin(), text->end(), m_memory.begin());
        m_memory[m_length] = Char();
    }
    Slot Get() const override { return { reinterpret_cast<INT_PTR>(m_memory.empty() ? nullptr : m_memory.data()), 0 }; }
    std::string Describe() const override { return m_what; }
    long long Capacity() const override { return m_memory.empty() ? -1 : static_cast<long long>(m_length + 1); }
    std::string Check(uint32_t) const override
    {
        for (size_t i = m_length + 1; i < m_memory.size(); ++i)
            if (m_memory[i] != static_cast<Char>(GuardChar))
                return m_what + ": character " + std::to_string(i) + " written past the text's "
                    + std::to_string(m_length + 1) + " characters";
        return {};
    }

private:
    static constexpr unsigned GuardChar = sizeof(Char) == 1 ? GuardByte : 0xCDCD;
    std::string m_what;
    size_t m_length = 0;
    std::vector<Char> m_memory;
};

// Ints all set to the guard value; `stride` ints per element (an entry of
// three for the Properties check boxes).
class IntArrayValue : public Value {
public:
    IntArrayValue(size_t stride, std::string what)
        : m_stride(stride), m_memory(Backing * stride, GuardInt), m_what(std::move(what))
    {
    }
    Slot Get() const override { return { reinterpret_cast<INT_PTR>(m_memory.data()), 0 }; }
    std::string Describe() const override { return m_what; }
    long long Capacity() const override { return SoundCount; }
    std::string Check(uint32_t size) const override
    {
        for (size_t i = static_cast<size_t>(size) * m_stride; i < m_memory.size(); ++i)
            if (m_memory[i] != GuardInt)
                return m_what + ": int " + std::to_string(i) + " written, the size given was " + std::to_string(size);
        return {};
    }

private:
    size_t m_stride;
    std::vector<int32_t> m_memory;
    std::string m_what;
};

enum class Shape { Sound, NullBuffers, ZeroCapacity, NegativeCapacity };

// String elements: each element's capacity as given, each buffer holding
// "abc" (its room: 4 characters) followed by guard bytes. `Element` is the
// ANSI element (capacity, buffer) or the UTF-16 one (capacity, buffer,
// reserved, whose reserved field holds a guard value).
template <class Element>
class TextArrayValue : public Value {
public:
    using Char = std::remove_pointer_t<decltype(Element::buffer)>;
    TextArrayValue(Shape shape, std::string what) : m_what(std::move(what))
    {
        m_buffers.assign(Backing * (ElementCapacity + GuardBytes), static_cast<Char>(GuardInt));
        for (size_t i = 0; i < Backing; ++i) {
            Char* buffer = &m_buffers[i * (ElementCapacity + GuardBytes)];
            std::copy_n("abc", ElementCapacity, buffer);
            Element element {};
            std::memset(&element, GuardByte, sizeof element);
            element.capacity = ElementCapacity;
            element.buffer = buffer;
            if (shape == Shape::NullBuffers)
                element.buffer = nullptr;
            else if (shape == Shape::ZeroCapacity)
                element.capacity = 0;
            else if (shape == Shape::NegativeCapacity)
                element.capacity = -1;
            m_elements.push_back(element);
        }
        m_original = m_elements;
        m_originalBuffers = m_buffers;
    }
    Slot Get() const override { return { reinterpret_cast<INT_PTR>(m_elements.data()), 0 }; }
    std::string Describe() const override { return m_what; }
    long long Capacity() const override { return SoundCount; }
    std::string Check(uint32_t size) const override
    {
        for (size_t i = 0; i < Backing; ++i) {
            if (std::memcmp(&m_elements[i], &m_original[i], sizeof(Element)) != 0)
                return m_what + ": element " + std::to_string(i) + " itself changed";
            const size_t start = i * (ElementCapacity + GuardBytes);
            // An element's own room, when it has any and lies within the size.
            const size_t room = i < size && m_original[i].capacity > 0 && m_original[i].buffer ? ElementCapacity : 0;
            for (size_t j = room; j < ElementCapacity + GuardBytes; ++j)
                if (m_buffers[start + j] != m_originalBuffers[start + j])
                    return m_what + ": element " + std::to_string(i) + ", character " + std::to_string(j)
                        + " written (its room: " + std::to_string(room) + " characters, the size given was "
                        + std::to_string(size) + ")";
        }
        return {};
    }

private:
    std::string m_what;
    std::vector<Char> m_buffers;
    std::vector<Char> m_originalBuffers;
    std::vector<Element> m_elements;
    std::vector<Element> m_original;
};

std::shared_ptr<Value> Text(const Argument& argument, const std::string* text, const std::string& what)
{
    if (argument.wide)
        return std::make_shared<TextValue<wchar_t>>(text, what);
    return std::make_shared<TextValue<char>>(text, what);
}

std::shared_ptr<Value> TextArray(const Argument& argument, Shape shape, const std::string& what)
{
    if (argument.wide)
        return std::make_shared<TextArrayValue<MT4::MqlStringW>>(shape, "wide " + what);
    return std::make_shared<TextArrayValue<MT4::MqlString>>(shape, what);
}

class NullValue : public Value {
public:
    Slot Get() const override { return {}; }
    std::string Describe() const override { return "null"; }
};

}  // namespace

std::shared_ptr<Value> NoArray()
{
    return std::make_shared<NullValue>();
}

Role RoleOf(const Argument& argument)
{
    if (argument.name == "chart" || argument.name == "window")
        return Role::Handle;
    if (argument.name == "size" || argument.name == "count")
        return Role::Count;
    return Role::Other;
}

Values Hostile(const Argument& argument, const Windows& windows)
{
    switch (argument.kind) {
    case Kind::Int:
        switch (RoleOf(argument)) {
        case Role::Handle: {
            Values values { Int(0, "0"), Int(-1, "-1"), Int(0xFFFF, "HWND_BROADCAST"), Window(windows.destroyed, "destroyed window"),
                Window(windows.foreignChart, "chart of another process"),
                Window(windows.foreignMain, "terminal window of another process"),
                Window(windows.own, "plain window of this process"), Int(INT_MAX, "INT_MAX") };
            if (argument.name == "chart")
                values.push_back(Window(windows.terminalMain, "terminal main window"));
            return values;
        }
        case Role::Count:
            return { Int(0, "0"), Int(-1, "-1"), Int(INT_MAX, "INT_MAX"), Int(INT_MIN, "INT_MIN") };
        default:
            return { Int(-1, "-1"), Int(INT_MAX, "INT_MAX"), Int(INT_MIN, "INT_MIN") };
        }
    case Kind::Double:
        return { std::make_shared<DoubleValue>(std::numeric_limits<double>::quiet_NaN(), "NaN"),
            std::make_shared<DoubleValue>(std::numeric_limits<double>::infinity(), "inf"),
            std::make_shared<DoubleValue>(-1e300, "-1e300") };
    case Kind::Text: {
        static const std::string empty, overLong(70000, 'A');
        return { std::make_shared<NullValue>(), Text(argument, &empty, "\"\""),
            Text(argument, &overLong, "70000 characters") };
    }
    case Kind::IntArray:
        return { std::make_shared<NullValue>() };
    case Kind::TextArray:
        return { std::make_shared<NullValue>(), TextArray(argument, Shape::NullBuffers, "elements without buffers"),
            TextArray(argument, Shape::ZeroCapacity, "elements of capacity 0"),
            TextArray(argument, Shape::NegativeCapacity, "elements of capacity -1") };
    }
    return {};
}

std::shared_ptr<Value> Sound(const Argument& argument, const Windows& windows)
{
    switch (argument.kind) {
    case Kind::Int:
        switch (RoleOf(argument)) {
        case Role::Handle:
            return argument.name == "chart" ? Window(windows.chart, "chart") : Int(0, "0");
        case Role::Count:
            return Int(SoundCount, std::to_string(SoundCount));
        default:
            return Int(0, "0");
        }
    case Kind::Double:
        return std::make_shared<DoubleValue>(1.5, "1.5");
    case Kind::Text: {
        static const std::string symbol = "EURUSD";
        return Text(argument, &symbol, "\"EURUSD\"");
    }
    case Kind::IntArray:
        return std::make_shared<IntArrayValue>(argument.name == "entries" ? 3 : 1, "int array");
    case Kind::TextArray:
        return TextArray(argument, Shape::Sound, "string array");
    }
    return nullptr;
}

}  // namespace Hardening
