#pragma once
// The error text an operation threw (a text constant or a composed text), or
// "no error" when it threw nothing.
#include <string>

namespace Support {

template <class Operation>
std::string Thrown(Operation&& operation)
{
    try {
        operation();
    } catch (const char* text) {
        return text;
    } catch (const std::string& text) {
        return text;
    }
    return "no error";
}

}  // namespace Support
