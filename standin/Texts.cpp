#include "Texts.h"

namespace StandIn {

namespace {

const Texts Russian = {
    { "Окно данных", "Обзор рынка", "Навигатор", "Терминал", "Тестер" },
    { "Стандартная", "Графики", "Графические инструменты", "Период" },
    { "Торговля", "История счета", "Новости", "Сигналы", "Почтовый ящик", "Эксперты", "Журнал" },
    { "Настройки", "Журнал" },
    { "Счета", "Индикаторы", "Советники", "Пользовательские Индикаторы", "Скрипты" },
    "Символ",
};

const Texts English = {
    { "Data Window", "Market Watch", "Navigator", "Terminal", "Tester" },
    { "Standard", "Charts", "Line Studies", "Periodicity" },
    { "Trade", "Account history", "News", "Alerts", "Mailbox", "Experts", "Journal" },
    { "Settings", "Journal" },
    { "Accounts", "Indicators", "Expert Advisors", "Custom Indicators", "Scripts" },
    "Symbol",
};

// An interface in a third language: no panel title begins with a Russian or
// an English one.
const Texts Other = {
    { "Datenfenster", "Marktuebersicht", "Explorer", "Werkzeugkasten", "Strategietester" },
    { "Standard-Leiste", "Diagramme", "Zeichenwerkzeuge", "Zeitrahmen" },
    { "Handel", "Kontoverlauf", "Nachrichten", "Warnungen", "Postfach", "Experten", "Protokoll" },
    { "Einstellungen", "Protokoll" },
    { "Konten", "Indikatoren", "Fachberater", "Eigene Indikatoren", "Skripte" },
    "Symbol",
};

struct Period {
    int minutes;
    const char* name;
};

const Period Periods[] = { { 1, "M1" }, { 5, "M5" }, { 15, "M15" }, { 30, "M30" }, { 60, "H1" }, { 240, "H4" },
    { 1440, "D1" }, { 10080, "W1" }, { 43200, "MN" } };

}  // namespace

const Texts& TextsOf(Language language)
{
    switch (language) {
    case Language::Russian:
        return Russian;
    case Language::English:
        return English;
    default:
        return Other;
    }
}

bool IsStandardPeriod(int period)
{
    for (const Period& p : Periods)
        if (p.minutes == period)
            return true;
    return false;
}

std::string PeriodName(int period)
{
    for (const Period& p : Periods)
        if (p.minutes == period)
            return p.name;
    std::string name = "M";
    return name.append(std::to_string(period));
}

}  // namespace StandIn
