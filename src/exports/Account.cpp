// Export of the account-number masking in the terminal's title.
#include <windows.h>
#include <cstdint>

#include "MT4/Windows.h"
#include "exports/Frame.h"

extern "C" {

void WINAPI VelmorSetAccountNumber(int32_t number)
{
    Frame::Run("VelmorSetAccountNumber()", [=] { Utils::Pointer<MT4::Windows>()->SetAccountNumber(number); });
}

} // extern "C"
