#include "StandIn.h"
#include "Texts.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace StandIn {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// "S0000" … with prices that differ row by row.
std::vector<QuoteSpec> ManySymbols(int count)
{
    std::vector<QuoteSpec> rows;
    for (int i = 0; i < count; ++i) {
        char symbol[16], bid[16], ask[16];
        std::snprintf(symbol, sizeof symbol, "S%04d", i);
        std::snprintf(bid, sizeof bid, "1.%05d", i);
        std::snprintf(ask, sizeof ask, "1.%05d", i + 12);
        rows.push_back({ symbol, bid, ask });
    }
    return rows;
}

const char* const PanelKeys[PanelCount] = { "datawindow", "marketwatch", "navigator", "terminal", "tester" };

// Reads one "key = value" line into the scenario; false for a wrong line.
class FileReader {
public:
    explicit FileReader(Scenario& scenario) : m_scenario(scenario) { }

    bool Read(const std::string& key, const std::string& value)
    {
        if (key == "language")
            return ReadLanguage(Lower(value));
        if (key.rfind("placement.", 0) == 0)
            return ReadPlacement(key.substr(10), Lower(value));
        if (key == "terminallists")
            return ReadNumber(value, 0, 32, m_scenario.terminalLists);
        if (key == "chart")
            return ReadChart(value);
        if (key == "symbol")
            return ReadQuote(value);
        if (key == "indicator")
            return ReadName(value, m_scenario.indicators);
        if (key == "expert")
            return ReadName(value, m_scenario.experts);
        if (key == "customindicator")
            return ReadName(value, m_scenario.customIndicators);
        if (key == "script")
            return ReadName(value, m_scenario.scripts);
        if (key == "account")
            m_scenario.account = value;
        else if (key == "server")
            m_scenario.server = value;
        else if (key == "datafolder" && (Lower(value) == "yes" || Lower(value) == "no"))
            m_scenario.dataFolder = Lower(value) == "yes";
        else
            return false;
        return true;
    }

private:
    bool ReadLanguage(const std::string& value)
    {
        if (value == "russian")
            m_scenario.language = Language::Russian;
        else if (value == "english")
            m_scenario.language = Language::English;
        else if (value == "none")
            m_scenario.language = Language::None;
        else
            return false;
        return true;
    }

    bool ReadPlacement(const std::string& panel, const std::string& value)
    {
        const auto found = std::find(std::begin(PanelKeys), std::end(PanelKeys), panel);
        if (found == std::end(PanelKeys))
            return false;
        Placement& placement = m_scenario.placement[found - std::begin(PanelKeys)];
        if (value == "docked")
            placement = Placement::Docked;
        else if (value == "floating")
            placement = Placement::Floating;
        else if (value == "absent")
            placement = Placement::Absent;
        else
            return false;
        return true;
    }

    // The first chart line replaces the default charts; "chart =" alone
    // leaves no chart.
    bool ReadChart(const std::string& value)
    {
        if (!m_chartsGiven)
            m_scenario.charts.clear();
        m_chartsGiven = true;
        if (value.empty())
            return true;
        const auto comma = value.find(',');
        if (comma == std::string::npos)
            return false;
        ChartSpec chart { Trim(value.substr(0, comma)), 0 };
        if (chart.symbol.empty() || !ReadNumber(Trim(value.substr(comma + 1)), 1, 43200, chart.period)
            || !IsStandardPeriod(chart.period))
            return false;
        m_scenario.charts.push_back(chart);
        return true;
    }

    // SYMBOL,BID,ASK; the first line replaces the default rows.
    bool ReadQuote(const std::string& value)
    {
        if (!Given(&m_scenario.marketWatch))
            m_scenario.marketWatch.clear();
        if (value.empty())
            return true;
        const auto first = value.find(',');
        const auto second = first == std::string::npos ? first : value.find(',', first + 1);
        if (second == std::string::npos)
            return false;
        QuoteSpec quote { Trim(value.substr(0, first)), Trim(value.substr(first + 1, second - first - 1)),
            Trim(value.substr(second + 1)) };
        if (quote.symbol.empty())
            return false;
        m_scenario.marketWatch.push_back(quote);
        return true;
    }

    // A program name; the first line of a key replaces its default names.
    bool ReadName(const std::string& value, std::vector<std::string>& names)
    {
        if (!Given(&names))
            names.clear();
        if (!value.empty())
            names.push_back(value);
        return true;
    }

    // Whether a line of this list came before (the first one is noted).
    bool Given(const void* list)
    {
        if (std::find(m_given.begin(), m_given.end(), list) != m_given.end())
            return true;
        m_given.push_back(list);
        return false;
    }

    static bool ReadNumber(const std::string& value, int low, int high, int& number)
    {
        if (value.empty() || value.size() > 6 || value.find_first_not_of("0123456789") != std::string::npos)
            return false;
        number = std::stoi(value);
        return number >= low && number <= high;
    }

    Scenario& m_scenario;
    bool m_chartsGiven = false;
    std::vector<const void*> m_given;
};

}  // namespace

DWORD Scenario::LagFromEnvironment()
{
    char value[16] = {};
    if (!GetEnvironmentVariableA("RAZ_STANDIN_LAG_MS", value, sizeof value))
        return 0;
    return static_cast<DWORD>(std::strtoul(value, nullptr, 10));
}

Scenario Scenario::Named(const std::string& name)
{
    Scenario scenario;
    if (name == "english")
        return scenario;
    if (name == "russian")
        scenario.language = Language::Russian;
    else if (name == "none")
        scenario.language = Language::None;
    else if (name == "floating")
        std::fill(std::begin(scenario.placement), std::end(scenario.placement), Placement::Floating);
    else if (name == "six-lists")
        scenario.terminalLists = 6;
    else if (name == "no-charts")
        scenario.charts.clear();
    else if (name == "many-symbols")
        scenario.marketWatch = ManySymbols(5000);
    else
        throw std::invalid_argument("no scenario named \"" + name + "\"");
    return scenario;
}

Scenario Scenario::FromFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read the scenario file " + path);
    Scenario scenario;
    FileReader reader(scenario);
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos
            || !reader.Read(Lower(Trim(line.substr(0, equals))), Trim(line.substr(equals + 1))))
            throw std::runtime_error(path + ":" + std::to_string(number) + ": cannot use \"" + line + "\"");
    }
    return scenario;
}

}  // namespace StandIn
