#include "Utils/Checking.h"

#include "Utils/Errors.h"

namespace Utils::Checking {

uint32_t GetCountDirect(const std::string& method, uint32_t total, uint32_t start, uint32_t count)
{
    const std::string head
        = "Функция \"Utils::Checking::GetCountDirect()\" обнаружила ошибку в методе \"" + method + "()\".";
    if (count == 0)
        throw head + "\nОтсутствует количество элементов.";
    if (total != 0 && start < total) {
        const bool overflow = count > UINT32_MAX - start;
        if (count == UINT32_MAX || overflow || start + count > total)
            return total - start;
        return count;
    }
    std::string text = "\n" + head + "\n";
    if (total == 0)
        text += "Количество всех элементов равно нулю.\n";
    text += "Номер стартового элемента больше или равен количеству всех элементов.\n";
    text += "Количество всех элементов: " + std::to_string(total) + "\n";
    text += "Стартовый элемент: " + std::to_string(start) + "\n";
    text += "Количество элементов: " + std::to_string(count) + "\n";
    throw text;
}

}  // namespace Utils::Checking

namespace Utils::Array {

void Copy(const uint32_t* source, uint32_t total, uint32_t* destination, uint32_t size)
{
    const uint32_t n = Checking::GetCountDirect("Utils::Array::Copy", total, 0, size);
    if (!destination)
        throw Error::Argument("Utils::Array::Copy", "Не передан массив для заполнения.");
    for (uint32_t i = 0; i < size && i < total && i < n; ++i)
        destination[i] = source[i];
}

}  // namespace Utils::Array
