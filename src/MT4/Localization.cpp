#include "MT4/Localization.h"

namespace MT4 {

namespace {

struct Pair {
    const char* russian;
    const char* english;
};

// In the order of MT4::Name.
const Pair Names[NameCount] = {
    { "Графики", "Charts" },
    { "Графические инструменты", "Line Studies" },
    { "Период", "Periodicity" },
    { "Стандартная", "Standard" },
    { "Окно данных", "Data Window" },
    { "Обзор рынка", "Market Watch" },
    { "Навигатор", "Navigator" },
    { "Терминал", "Terminal" },
    { "Тестер", "Tester" },
    { "Глобальные переменные", "Global Variables" },
    { "Архив котировок", "History Center" },
    { "Открыть график автономно", "OpenRead Offline Chart" },
    { "Настройки", "Options" },
    { "Свойства", "Properties of" },
    { "Вы действительно хотите удалить скрипт", "Do you really want to stop script" },
    { "Вы действительно хотите остановить", "Do you really want to stop" },
    { "Открыть", "Open" },
    { "Список индикаторов на", "Indicators on" },
    { "Торговля", "Trade" },
    { "История счета", "Account history" },
    { "Новости", "News" },
    { "Сигналы", "Alerts" },
    { "Почтовый ящик", "Mailbox" },
    { "Эксперты", "Experts" },
    { "Журнал", "Jornal" },
    { "Настройки", "Settings" },
    { "Журнал", "Jornal" },
    { "Графики", "Charts" },
    { "Почта", "Email" },
    { "События", "Events" },
    { "Советники", "Expert Advisors" },
    { "Объекты", "Objects" },
    { "Публикация", "Publisher" },
    { "Сервер", "Server" },
    { "Торговля", "Trade" },
    { "Цвета", "Colors" },
    { "Общие", "Common" },
    { "Главный график", "Main chart" },
    { "Окно индикатора", "Indicator window" },
    { "Счета", "Accounts" },
    { "Пользовательские Индикаторы", "Custom Indicators" },
    { "Советники", "Expert Advisors" },
    { "Индикаторы", "Indicators" },
    { "Скрипты", "Scripts" },
};

}  // namespace

const char* Localized(Language language, Name name)
{
    const Pair& pair = Names[static_cast<int>(name)];
    return language == Language::Russian ? pair.russian : pair.english;
}

}  // namespace MT4
