#include "Utils/Errors.h"

std::string LastErrorText(DWORD code)
{
    char message[260] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, message, 260, nullptr);
    return "\nLast Error " + std::to_string(code) + ".\n" + message + "\n";
}

void ShowErrorBox(const char* caption, const char* text) noexcept
{
    // Not declared by every SDK header; user32 has exported it since XP.
    using MessageBoxTimeoutProc = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD, DWORD);
    static const auto messageBoxTimeout = reinterpret_cast<MessageBoxTimeoutProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBoxTimeoutA")));
    const UINT style = MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST;  // 0x52010
    if (messageBoxTimeout)
        messageBoxTimeout(nullptr, text, caption, style, 0, 0);
    else
        MessageBoxA(nullptr, text, caption, style);
}

namespace Utils::Error {

std::string MethodHead(const std::string& name)
{
    return "Ошибка в методе \"" + name + "()\".";
}

std::string Method(const std::string& name, const std::string& detail)
{
    return MethodHead(name) + "\n" + detail;
}

std::string Argument(const std::string& name, const std::string& detail)
{
    return "Метод \"" + name + "()\".\n" + detail;
}

std::string Function(const std::string& name, const std::string& detail)
{
    return "Ошибка в функции \"" + name + "()\".\n" + detail;
}

namespace {

// Appended piece by piece (prepending to a temporary trips a false
// -Wrestrict warning of the i686 compiler).
std::string Lines(const std::string& name, const std::string& detail, const std::string& tail)
{
    std::string text(1, '\n');
    text.append(MethodHead(name)).append(1, '\n').append(detail).append(tail);
    return text;
}

}  // namespace

std::string MethodLines(const std::string& name, const std::string& detail)
{
    return Lines(name, detail, "\n");
}

std::string MethodLines(const std::string& name, const std::string& detail, DWORD code)
{
    return Lines(name, detail, LastErrorText(code));
}

std::string LastError()
{
    return LastErrorText(GetLastError());
}

}  // namespace Utils::Error
