#include "exports/Frame.h"

namespace Frame {

namespace {

void Show(const char* caption, const char* prefix, const char* text) noexcept
{
    if (!*prefix) {
        ShowErrorBox(caption, text);
        return;
    }
    try {
        ShowErrorBox(caption, (std::string(prefix) + text).c_str());
    } catch (...) {
        ShowErrorBox(caption, text);
    }
}

}  // namespace

void ReportCurrent(const char* caption, const char* prefix, DWORD lastError) noexcept
{
    try {
        throw;
    } catch (const char* text) {
        Show(caption, prefix, text);
    } catch (const std::string& text) {
        Show(caption, prefix, text.c_str());
    } catch (...) {
        try {
            Show(caption, prefix, ("Системная ошибка!" + LastErrorText(lastError)).c_str());
        } catch (...) {
            Show(caption, prefix, "Системная ошибка!");
        }
    }
}

}  // namespace Frame
