#pragma once
// Error texts of the library: the shapes every thrown text follows, the
// last-error suffix and the error box. Failures are thrown either as a text
// constant (const char*) or as a composed std::string.
#include <windows.h>
#include <string>

// "\nLast Error <code>.\n<system message>\n"
std::string LastErrorText(DWORD code);

// One error box: no owner, MB_OK | MB_ICONERROR | MB_TASKMODAL |
// MB_SETFOREGROUND | MB_TOPMOST; returns when the user closed it.
void ShowErrorBox(const char* caption, const char* text) noexcept;

namespace Utils::Error {

// "Ошибка в методе \"<name>()\"." — a failure inside a class method.
std::string MethodHead(const std::string& name);
// MethodHead + "\n" + detail.
std::string Method(const std::string& name, const std::string& detail);
// "Метод \"<name>()\".\n" + detail — a method given an unusable argument.
std::string Argument(const std::string& name, const std::string& detail);
// "Ошибка в функции \"<name>()\".\n" + detail — a failure in a free function.
std::string Function(const std::string& name, const std::string& detail);
// "\n" + MethodHead + "\n" + detail + "\n": the line-by-line shape of texts
// that callers may wrap again behind their own method line.
std::string MethodLines(const std::string& name, const std::string& detail);
// The same after a failed system call: the detail is followed directly by
// LastErrorText(code), which ends the text.
std::string MethodLines(const std::string& name, const std::string& detail, DWORD code);
// LastErrorText of GetLastError(), read first.
std::string LastError();

}  // namespace Utils::Error
