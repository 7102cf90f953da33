// Exports of the login dialog and the trade servers.
#include <windows.h>
#include <cstdint>

#include "MT4/SyncText.h"
#include "MT4/Windows.h"
#include "exports/Arguments.h"
#include "exports/Frame.h"

extern "C" {

void WINAPI VelmorLogin(int32_t account, const char* password, const char* server, int32_t savePassword)
{
    Frame::Run("VelmorLogin()", [=] {
        Utils::Pointer<MT4::Windows>()->Login(account, password ? password : "", Text(server), savePassword != 0);
    });
}

void WINAPI VelmorLoginW(int32_t account, const wchar_t* password, const wchar_t* server, int32_t savePassword)
{
    Frame::Run("VelmorLoginW()", [=] {
        // The converted password is wiped once the dialog has it, on failure too.
        std::string secret = Text(password);
        struct Wipe {
            std::string& text;
            ~Wipe() { SecureZeroMemory(text.data(), text.size()); }
        } wipe { secret };
        Utils::Pointer<MT4::Windows>()->Login(account, secret.c_str(), Text(server), savePassword != 0);
    });
}

const char* WINAPI VelmorGetNameServer()
{
    return Frame::Call("VelmorGetNameServer()", Frame::EmptyText,
        [] { return Utils::Pointer<MT4::SyncText>()->Set(Utils::Pointer<MT4::Windows>()->GetNameServer()); });
}

const wchar_t* WINAPI VelmorGetNameServerW()
{
    return Frame::Call("VelmorGetNameServerW()", Frame::EmptyWide,
        [] { return WideResult(Utils::Pointer<MT4::Windows>()->GetNameServer()); });
}

int32_t WINAPI VelmorRescanServers()
{
    return Frame::Call(
        "VelmorRescanServers()", 0, [] { return Utils::Pointer<MT4::Windows>()->RescanServers(); });
}

} // extern "C"
