#pragma once
// The one frame every export runs in: Init(0), the body, and the three catch
// blocks — a text constant, a composed text, anything else — each showing one
// error box, after which the export returns its neutral result.
#include <windows.h>
#include <string>

#include "Utils/Errors.h"
#include "exports/Init.h"

namespace Frame {

// The neutral result of text exports: one zero byte in static storage.
inline constexpr const char* EmptyText = "";
// The same for the wide exports: one zero wide character.
inline constexpr const wchar_t* EmptyWide = L"";

// Shows one box for the exception being handled: `prefix` + its text; for an
// exception that is not a text, "Системная ошибка!" + the last-error text of
// `lastError`. Call only from inside a catch block.
void ReportCurrent(const char* caption, const char* prefix, DWORD lastError) noexcept;

// On the terminal's interface thread, where indicators run: throws the
// refusal of an export that waits for a dialog only that thread can open
// (it would wait for itself).
void CheckInterfaceThread(const char* caption);

// Runs `body`; on any exception shows one box and returns false.
template <class Body>
bool Guard(const char* caption, const char* prefix, Body&& body) noexcept
{
    try {
        body();
        return true;
    } catch (...) {
        const DWORD lastError = GetLastError();
        ReportCurrent(caption, prefix, lastError);
    }
    return false;
}

// An export with a result: `neutral` when the body failed.
template <class R, class Body>
R Call(const char* caption, R neutral, Body&& body) noexcept
{
    R result = neutral;
    Guard(caption, "", [&] {
        Init(0);
        CheckInterfaceThread(caption);
        result = body();
    });
    return result;
}

// An export without a result.
template <class Body>
void Run(const char* caption, Body&& body) noexcept
{
    Guard(caption, "", [&] {
        Init(0);
        CheckInterfaceThread(caption);
        body();
    });
}

}  // namespace Frame
