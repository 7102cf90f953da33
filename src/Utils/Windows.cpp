#include "Utils/Windows.h"

#include <algorithm>

#include "Utils/Errors.h"
#include "Utils/Wait.h"

namespace Utils {

namespace {

Windows::Context& Of(LPARAM context)
{
    return *reinterpret_cast<Windows::Context*>(context);
}

bool Passes(const std::string& value, Windows::Match match, const std::string& expected)
{
    switch (match) {
    case Windows::Match::Exact:
        return value == expected;
    case Windows::Match::Prefix:
        return value.compare(0, expected.size(), expected) == 0;
    default:
        return true;
    }
}

// The class name buffer as text: trailing zero bytes and white space dropped.
std::string TrimRight(const char* buffer, size_t size)
{
    while (size > 0) {
        const char c = buffer[size - 1];
        if (c != '\0' && c != ' ' && c != '\t' && c != '\r' && c != '\n')
            break;
        --size;
    }
    return std::string(buffer, size);
}

} // namespace

std::string Windows::ClassName(HWND window, const char* test)
{
    char buffer[260] = {};
    const bool read = Wait::Retry(10, 500, [&] {
        if (GetClassNameA(window, buffer, sizeof buffer) != 0)
            return true;
        // A window that is gone will never give its class: it is no match.
        return !IsWindow(window);
    });
    if (!read)
        throw Error::Method(std::string("Utils::Windows::") + test, "Не получен класс окна.");
    return TrimRight(buffer, sizeof buffer);
}

std::string Windows::Text(HWND window)
{
    char buffer[260] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
            SMTO_ABORTIFHUNG | SMTO_BLOCK, Wait::WindowTextBound, &copied))
        return std::string();
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

bool Windows::ClassPasses(HWND window, Match match, const std::string& name, const char* test)
{
    return match == Match::None || Passes(ClassName(window, test), match, name);
}

bool Windows::TitlePasses(HWND window, Match match, const std::string& title)
{
    return match == Match::None || Passes(Text(window), match, title);
}

namespace {

// Runs a callback's test; an exception is kept in the context and stops the
// enumeration.
template <class Test> BOOL Guarded(LPARAM context, Test&& test)
{
    try {
        return test(Of(context));
    } catch (...) {
        Of(context).error = std::current_exception();
        return FALSE;
    }
}

// First-window tests: remember the window, stop on a match.
template <class Passes> BOOL One(HWND window, LPARAM context, Passes&& passes)
{
    return Guarded(context, [&](Windows::Context& state) -> BOOL {
        state.found = window;
        if (passes(state.name))
            return FALSE;
        state.found = nullptr;
        return TRUE;
    });
}

// Collecting tests: append every window that passes.
template <class Passes> BOOL Multiple(HWND window, LPARAM context, Passes&& passes)
{
    return Guarded(context, [&](Windows::Context& state) -> BOOL {
        if (passes(state.name))
            state.list.push_back(window);
        return TRUE;
    });
}

} // namespace

BOOL CALLBACK Windows::FindWindowProcessIDMultiple(HWND window, LPARAM context)
{
    return Guarded(context, [&](Context& state) -> BOOL {
        DWORD owner = 0;
        if (GetWindowThreadProcessId(window, &owner) == 0) {
            if (!IsWindow(window))
                return TRUE; // gone during the search
            throw "Ошибка в методе \"Utils::Windows::FindWindowProcessIDMultiple()\".\nНе получен "
                  "идентификатор "
                  "процесса.";
        }
        if (owner == state.processId)
            state.list.push_back(window);
        return TRUE;
    });
}

BOOL CALLBACK Windows::FindClassWindowOne(HWND window, LPARAM context)
{
    return One(window, context, [&](const std::string& name) {
        return ClassPasses(window, Match::Exact, name, "FindClassWindowOne");
    });
}

BOOL CALLBACK Windows::FindClassWindowMultiple(HWND window, LPARAM context)
{
    return Multiple(window, context, [&](const std::string& name) {
        return ClassPasses(window, Match::Exact, name, "FindClassWindowMultiple");
    });
}

BOOL CALLBACK Windows::FindPrefixClassWindowOne(HWND window, LPARAM context)
{
    return One(window, context, [&](const std::string& name) {
        return ClassPasses(window, Match::Prefix, name, "FindPrefixClassWindowOne");
    });
}

BOOL CALLBACK Windows::FindPrefixClassWindowMultiple(HWND window, LPARAM context)
{
    return Multiple(window, context, [&](const std::string& name) {
        return ClassPasses(window, Match::Prefix, name, "FindPrefixClassWindowMultiple");
    });
}

BOOL CALLBACK Windows::FindPrefixTitleWindowOne(HWND window, LPARAM context)
{
    return One(
        window, context, [&](const std::string& title) { return TitlePasses(window, Match::Prefix, title); });
}

BOOL CALLBACK Windows::FindTitleWindowOne(HWND window, LPARAM context)
{
    return One(
        window, context, [&](const std::string& title) { return TitlePasses(window, Match::Exact, title); });
}

BOOL CALLBACK Windows::FindPrefixTitleWindowMultiple(HWND window, LPARAM context)
{
    return Multiple(
        window, context, [&](const std::string& title) { return TitlePasses(window, Match::Prefix, title); });
}

void Windows::Enumerate(HWND parent, WNDENUMPROC callback, Context& context)
{
    if (parent)
        EnumChildWindows(parent, callback, reinterpret_cast<LPARAM>(&context));
    else
        EnumWindows(callback, reinterpret_cast<LPARAM>(&context));
    if (context.error)
        std::rethrow_exception(context.error);
}

std::vector<HWND> Windows::OfProcess(HWND parent, DWORD processId)
{
    Context context;
    context.processId = processId;
    Enumerate(parent, FindWindowProcessIDMultiple, context);
    return context.list;
}

namespace {

const char* ClassTestName(Windows::Match match, bool one)
{
    if (match == Windows::Match::Exact)
        return one ? "FindClassWindowOne" : "FindClassWindowMultiple";
    return one ? "FindPrefixClassWindowOne" : "FindPrefixClassWindowMultiple";
}

} // namespace

HWND Windows::FindFirst(HWND parent, DWORD processId, Match classMatch, const std::string& className,
    Match titleMatch, const std::string& title)
{
    for (HWND window : OfProcess(parent, processId)) {
        if (ClassPasses(window, classMatch, className, ClassTestName(classMatch, true))
            && TitlePasses(window, titleMatch, title))
            return window;
    }
    return nullptr;
}

std::vector<HWND> Windows::FindAll(HWND parent, DWORD processId, Match classMatch,
    const std::string& className, Match titleMatch, const std::string& title)
{
    std::vector<HWND> passed;
    for (HWND window : OfProcess(parent, processId)) {
        if (ClassPasses(window, classMatch, className, ClassTestName(classMatch, false))
            && TitlePasses(window, titleMatch, title))
            passed.push_back(window);
    }
    return passed;
}

std::vector<HWND> Windows::DescendantsWithClassPrefix(HWND parent, const std::string& prefix)
{
    Context context;
    context.name = prefix;
    if (parent)
        Enumerate(parent, FindPrefixClassWindowMultiple, context);
    return context.list;
}

HWND Windows::FirstNew(const std::vector<HWND>& now, const std::vector<HWND>& before)
{
    for (HWND window : now)
        if (std::find(before.begin(), before.end(), window) == before.end())
            return window;
    return nullptr;
}

} // namespace Utils
