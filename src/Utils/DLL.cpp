#include "Utils/DLL.h"

#include <windows.h>

#include "Utils/Errors.h"

namespace Utils::DLL {

void Increment(const std::string& moduleName)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(0, moduleName.c_str(), &module) || !module) {
        const DWORD code = GetLastError();
        throw Error::Function("Utils::DLL::Increment", "Не загружен модуль \"" + moduleName + "\".")
            + LastErrorText(code);
    }
}

}  // namespace Utils::DLL
