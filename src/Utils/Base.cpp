#include "Utils/Base.h"

#include <string>

namespace Utils {

namespace {

CRITICAL_SECTION* g_CPointerCS = nullptr;

std::string PlaceholderText(const char* relation, const char* method)
{
    return std::string("Этт метод позволяет сравнивать объекты по условию \"") + relation
        + "\" внутри класса умного указателя.\n"
          "Для использования этого метода необходимо определить его в своём коде.\n"
          "Основной метод \""
        + method + "()\".\nТщательно проверьте этот метод, если он нужен.";
}

}  // namespace

CRITICAL_SECTION* PointerLock()
{
    CRITICAL_SECTION* lock = static_cast<CRITICAL_SECTION*>(
        InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&g_CPointerCS), nullptr, nullptr));
    if (lock)
        return lock;
    auto* created = new CRITICAL_SECTION;
    InitializeCriticalSectionAndSpinCount(created, 1);
    lock = static_cast<CRITICAL_SECTION*>(
        InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&g_CPointerCS), created, nullptr));
    if (lock) {  // another thread was first
        DeleteCriticalSection(created);
        delete created;
        return lock;
    }
    return created;
}

void DeletePointerLock()
{
    auto* lock = static_cast<CRITICAL_SECTION*>(
        InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&g_CPointerCS), nullptr));
    if (lock) {
        DeleteCriticalSection(lock);
        delete lock;
    }
}

bool Base::Less(const Base&) const
{
    throw PlaceholderText("меньше", "Utils::Base::Less");
}

bool Base::Equals(const Base&) const
{
    throw PlaceholderText("равно", "Utils::Base::Equals");
}

void Base::Release()
{
    bool destroy = false;
    {
        PointerLockGuard lock;
        const LONG count = --m_count;
        if (count < 0)
            throw "Ошибка в методе \"Utils::Base::Release()\".\nОтрицательное значение счётчика указателей.";
        destroy = count == 0;
    }
    if (destroy)
        delete this;
}

}  // namespace Utils
