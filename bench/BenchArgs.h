// The generators' command lines: "--name value" pairs and one folder.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class BenchArgs {
public:
    // Takes every "--name value" pair and exactly one plain argument. On a
    // mistake Problem() says what is wrong.
    BenchArgs(int argc, char** argv);

    bool Valid() const { return fProblem.empty(); }
    const std::string& Problem() const { return fProblem; }
    const std::string& Folder() const { return fFolder; }

    // A whole number, with an optional K, M or G (powers of 1024).
    uint64_t Number(const std::string& name, uint64_t fallback);
    std::string Text(const std::string& name, const std::string& fallback);

    // Names given but never asked for: misspelt options.
    std::string Unused() const;

private:
    std::map<std::string, std::string> fValues;
    std::map<std::string, bool> fAsked;
    std::string fFolder;
    std::string fProblem;
};
