#include "Utils/Types.h"

namespace Utils::Types {

int BytesOf(Code code, int64_t value)
{
    switch (code) {
    case Code::Int8:
    case Code::Int16:
    case Code::Int32:
    case Code::Int64:
        if (value == 0)
            return 1;
        if (value >= INT8_MIN && value <= INT8_MAX)
            return -1;
        if (value >= INT16_MIN && value <= INT16_MAX)
            return -2;
        if (value >= INT32_MIN && value <= INT32_MAX)
            return -4;
        return -8;
    case Code::UInt8:
    case Code::UInt16:
    case Code::UInt32:
    case Code::UInt64: {
        const auto unsignedValue = static_cast<uint64_t>(value);
        if (unsignedValue <= UINT8_MAX)
            return 1;
        if (unsignedValue <= UINT16_MAX)
            return 2;
        if (unsignedValue <= UINT32_MAX)
            return 4;
        return 8;
    }
    default:
        throw "Ошибка в функции \"Utils::Types::Bytes()\".\nНеподходящий тип данных.";
    }
}

}  // namespace Utils::Types
