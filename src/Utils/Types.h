#pragma once
// Classification of value types and the width a value needs.
#include <cstdint>
#include <type_traits>

namespace Utils::Types {

// A code for each integer width and signedness, and for the floating types.
enum class Code {
    Unknown,
    Int8,
    UInt8,
    Int16,
    UInt16,
    Int32,
    UInt32,
    Int64,
    UInt64,
    Float,
    Double,
    LongDouble,
};

template <class T>
constexpr Code Classify()
{
    using U = std::remove_cv_t<T>;
    if constexpr (std::is_same_v<U, float>)
        return Code::Float;
    else if constexpr (std::is_same_v<U, double>)
        return Code::Double;
    else if constexpr (std::is_same_v<U, long double>)
        return Code::LongDouble;
    else if constexpr (std::is_integral_v<U> && !std::is_same_v<U, bool>) {
        constexpr bool isSigned = std::is_signed_v<U>;
        switch (sizeof(U)) {
        case 1:
            return isSigned ? Code::Int8 : Code::UInt8;
        case 2:
            return isSigned ? Code::Int16 : Code::UInt16;
        case 4:
            return isSigned ? Code::Int32 : Code::UInt32;
        case 8:
            return isSigned ? Code::Int64 : Code::UInt64;
        }
    }
    return Code::Unknown;
}

// The number of bytes of the narrowest integer of the value's signedness that
// holds it exactly: 1 for 0; otherwise -1, -2, -4 or -8 for a signed type and
// 1, 2, 4 or 8 for an unsigned one. A type outside the integer table throws.
int BytesOf(Code code, int64_t value);

template <class T>
int Bytes(T value)
{
    constexpr Code code = Classify<T>();
    if constexpr (std::is_integral_v<T>)
        return BytesOf(code, static_cast<int64_t>(value));
    else
        return BytesOf(code, 0);
}

}  // namespace Utils::Types
