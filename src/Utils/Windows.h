#pragma once
// Finding the terminal's windows: enumerate the windows of a process (the
// top-level ones, or every descendant of a parent), then keep the first or all
// windows whose class and title pass a test. Each search keeps its state in a
// context of its own, passed through the enumeration's LPARAM, so searches on
// different threads never disturb each other.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

namespace Utils {

class Windows {
public:
    enum class Match { None, Exact, Prefix };

    // State of one enumeration: the value tested against and the slots filled.
    struct Context {
        DWORD processId = 0;
        std::string name; // class name, class prefix or title
        HWND found = nullptr;
        std::vector<HWND> list;
        // An error met inside a callback: an exception must not cross the
        // system's enumeration frames, so it stops the enumeration and is
        // thrown again once the enumeration has returned.
        std::exception_ptr error;
    };

    // EnumChildWindows(parent, ...) or, for a null parent, EnumWindows(...);
    // then throws what a callback met.
    static void Enumerate(HWND parent, WNDENUMPROC callback, Context& context);

    // Enumeration callbacks (lParam = Context*).
    static BOOL CALLBACK FindWindowProcessIDMultiple(HWND window, LPARAM context);
    static BOOL CALLBACK FindClassWindowOne(HWND window, LPARAM context);
    static BOOL CALLBACK FindClassWindowMultiple(HWND window, LPARAM context);
    static BOOL CALLBACK FindPrefixClassWindowOne(HWND window, LPARAM context);
    static BOOL CALLBACK FindPrefixClassWindowMultiple(HWND window, LPARAM context);
    static BOOL CALLBACK FindPrefixTitleWindowOne(HWND window, LPARAM context);
    static BOOL CALLBACK FindTitleWindowOne(HWND window, LPARAM context);
    static BOOL CALLBACK FindPrefixTitleWindowMultiple(HWND window, LPARAM context);

    // The windows of `processId` under `parent` (null: the top-level windows;
    // otherwise every descendant at any depth), in enumeration order.
    static std::vector<HWND> OfProcess(HWND parent, DWORD processId);

    // The first window of the process under `parent` that passes the class
    // test and then the title test; null when none does.
    static HWND FindFirst(HWND parent, DWORD processId, Match classMatch, const std::string& className,
        Match titleMatch = Match::None, const std::string& title = std::string());
    // Every such window, in enumeration order.
    static std::vector<HWND> FindAll(HWND parent, DWORD processId, Match classMatch,
        const std::string& className, Match titleMatch = Match::None,
        const std::string& title = std::string());

    // Every descendant of `parent` (any process) whose class begins with `prefix`.
    static std::vector<HWND> DescendantsWithClassPrefix(HWND parent, const std::string& prefix);

    // The class name of a window, read with up to 10 attempts 500 ms apart;
    // `test` names the test in the error text. A window that no longer exists
    // has no class (empty) instead of an error.
    static std::string ClassName(HWND window, const char* test);
    // The window's text (at most 259 characters), empty when it cannot be read
    // within the bound.
    static std::string Text(HWND window);

    static bool ClassPasses(HWND window, Match match, const std::string& name, const char* test);

    // The first window of `now` that is not among `before`; null when none.
    static HWND FirstNew(const std::vector<HWND>& now, const std::vector<HWND>& before);
    static bool TitlePasses(HWND window, Match match, const std::string& title);
};

} // namespace Utils
