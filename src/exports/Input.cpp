// Exports of simulated input and the cursor query.
#include <windows.h>
#include <cstdint>

#include "Utils/Input.h"
#include "exports/Frame.h"

namespace {

void CursorInfo(int32_t* array, int32_t size)
{
    if (size < 1)
        throw "Недостаточен размер массива для заполнения данными.";
    if (!array)
        throw "Не передан массив для заполнения.";
    const Utils::Mouse::MouseInfo info = Utils::Mouse::GetInfo();
    for (int32_t i = 0; i < size && i < Utils::Mouse::MouseInfo::Count; ++i)
        array[i] = info.value[i];
}

}  // namespace

extern "C" {

void WINAPI VelmorGetCursorInfo(int32_t* array, int32_t size)
{
    Frame::Run("VelmorGetCursorInfo()", [&] { CursorInfo(array, size); });
}

}  // extern "C"
