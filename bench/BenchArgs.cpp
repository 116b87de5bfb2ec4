#include "BenchArgs.h"

#include <cctype>

BenchArgs::BenchArgs(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word.rfind("--", 0) != 0) {
            if (!fFolder.empty())
                fProblem = "one folder only: '" + fFolder + "' and '" + word + "'";
            fFolder = word;
            continue;
        }
        if (i + 1 >= argc) {
            fProblem = word + " needs a value";
            return;
        }
        fValues[word.substr(2)] = argv[++i];
    }
    if (fProblem.empty() && fFolder.empty())
        fProblem = "no folder given";
}

uint64_t BenchArgs::Number(const std::string& name, uint64_t fallback)
{
    fAsked[name] = true;
    auto found = fValues.find(name);
    if (found == fValues.end())
        return fallback;
    const std::string& text = found->second;
    uint64_t value = 0;
    size_t i = 0;
    for (; i < text.size() && isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value * 10 + uint64_t(text[i] - '0');
    std::string unit = text.substr(i);
    int shift = unit.empty() ? 0 : unit == "K" ? 10 : unit == "M" ? 20 : unit == "G" ? 30 : -1;
    if (i == 0 || i > 15 || shift < 0) {
        if (fProblem.empty())
            fProblem = "--" + name + ": '" + text + "' is not a number such as 12, 64K or 100M";
        return fallback;
    }
    return value << shift;
}

std::string BenchArgs::Text(const std::string& name, const std::string& fallback)
{
    fAsked[name] = true;
    auto found = fValues.find(name);
    return found == fValues.end() ? fallback : found->second;
}

std::string BenchArgs::Unused() const
{
    std::string names;
    for (const auto& [name, value] : fValues) {
        if (fAsked.count(name) == 0)
            names += (names.empty() ? "--" : ", --") + name;
    }
    return names;
}
