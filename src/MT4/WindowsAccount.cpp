// Masking the account number in the main window's title: the main window is
// subclassed and every title the terminal sets has the number before its
// first colon replaced.
#include <windows.h>

#include <string>

#include "MT4/Windows.h"
#include "Utils/Errors.h"
#include "Utils/Subclassing.h"
#include "exports/Frame.h"

namespace MT4 {

namespace {

using Masking = Utils::SUBCLASSING<1>;
using Utils::Subclassing::Consume;
using Utils::Subclassing::Pass;

constexpr size_t TitleSize = 260;

// Shared by every MT4::Windows object and by the terminal's interface
// thread, which runs the handler while programs change the number. The texts
// belong to the masking, not to a start-up: a later start-up of the same
// terminal leaves the masking as it is.
struct MaskingTexts {
    Utils::Sync::CriticalSection lock;
    std::string number;          // the number shown, in decimal
    char title[TitleSize] = {};  // the last title the handler worked on
    // The rewritten title the window is given. Apart from the stored title:
    // the window's own procedure may ask for its text (WM_GETTEXT, which
    // rewrites the stored title) before it has taken the new one.
    char shown[TitleSize] = {};
};

MaskingTexts& Texts()
{
    static MaskingTexts texts;
    return texts;
}

void StoreTitle(char (&buffer)[TitleSize], const std::string& title)
{
    lstrcpynA(buffer, title.c_str(), TitleSize);
}

// A title that already shows the number: the number alone or before the colon.
bool ShowsNumber(const std::string& title, const std::string& number)
{
    return title.compare(0, number.size(), number) == 0
        && (title.size() == number.size() || title[number.size()] == ':');
}

} // namespace

void Windows::SetAccountNumber(int32_t number)
{
    MaskingTexts& texts = Texts();
    Utils::Sync::Lock<Utils::Sync::CriticalSection> lock(texts.lock);
    texts.number = std::to_string(number);
    Utils::Pointer<Masking> masking;
    if (masking->Subclassed() && masking->Window() == m_mainWindow)
        return;
    // The first call, or a main window that is not the one masked so far
    // (a terminal found by a later start-up): that one gets its procedure
    // back and this one is masked from its next message on.
    masking->Restore();
    texts.title[0] = '\0';
    masking->Initialise(&Windows::ReplacAccountNumbers);
    masking->Subclass(m_mainWindow);
}

int Windows::ReplacAccountNumbers(UINT* message, WPARAM*, LPARAM* lParam)
{
    try {
        MaskingTexts& texts = Texts();
        if (*message == WM_SETTEXT) {
            const auto* text = reinterpret_cast<const char*>(*lParam);
            if (!text)
                return Pass;
            Utils::Sync::Lock<Utils::Sync::CriticalSection> lock(texts.lock);
            lstrcpynA(texts.title, text, TitleSize);
            const std::string title = texts.title;
            if (ShowsNumber(title, texts.number))
                return Pass;
            const size_t colon = title.find(':');
            if (colon == std::string::npos)
                throw "Ошибка в методе \"MT4::Windows::ReplacAccountNumbers()\".\nВ заголовке окна нет "
                      "двоеточия: "
                      "номер счёта в нём не заменён.";
            StoreTitle(texts.title, texts.number + title.substr(colon));
            StoreTitle(texts.shown, texts.title);
            *lParam = reinterpret_cast<LPARAM>(texts.shown);
            return Pass;
        }
        std::string masked;
        {
            Utils::Sync::Lock<Utils::Sync::CriticalSection> lock(texts.lock);
            masked = texts.number + ": MetaTrader";
            if (*message == WM_GETTEXT) {
                StoreTitle(texts.title, masked);
                return Pass;
            }
            if (texts.title[0] != '\0')
                return Pass;
            StoreTitle(texts.title, masked);
        }
        // The first message since the masking began: the title is masked at
        // once, and the message that arrived is still delivered.
        SendMessageA(
            Utils::Pointer<Masking>()->Window(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(masked.c_str()));
        return Pass;
    } catch (...) {
        const DWORD code = GetLastError();
        Frame::ReportCurrent("MT4::Windows::ReplacAccountNumbers()", "", code);
        return Consume;
    }
}

} // namespace MT4
