// Checks shared by the tests of the installer's and the deinstaller's string
// tables: completeness against English, printf conversions kept, no empty
// text, and lookups through a copy of the test program that carries them.
#pragma once

#include "RunningExecutable.h"
#include "TestSupport.h"
#include "oLocalize.h"
#include "oStringTable.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace stowtest {

// The printf conversions of `text` in order ("%s", "%d", "%ld", ...); "%%"
// is no conversion.
inline std::vector<std::string> Conversions(const std::string& text)
{
    std::vector<std::string> found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t end = text.find_first_of("diouxXeEfFgGaAcspn", i + 1);
        if (end == std::string::npos)
            end = text.size() - 1;
        found.push_back(text.substr(i, end - i + 1));
        i = end;
    }
    return found;
}

inline oStringTable LoadTable(const std::string& folder, const char* code)
{
    oStringTable table;
    std::string error;
    EXPECT_TRUE(table.Read(SourcePath(folder + "/" + code + ".txt").c_str(), error)) << error;
    return table;
}

// Every language has English's numbers (less `missing` of its own), the same
// conversions in the same order, and no empty text.
inline void ExpectCompleteTables(
    const std::string& folder, const std::map<std::string, std::set<long>>& missing)
{
    oStringTable english = LoadTable(folder, "en");
    ASSERT_FALSE(english.Texts().empty());
    for (const char* code : kLanguageCodes) {
        SCOPED_TRACE(code);
        oStringTable table = LoadTable(folder, code);
        auto gap = missing.find(code);
        std::set<long> expected;
        for (const auto& [number, text] : english.Texts()) {
            if (gap == missing.end() || gap->second.count(number) == 0)
                expected.insert(number);
        }
        std::set<long> numbers;
        for (const auto& [number, text] : table.Texts()) {
            numbers.insert(number);
            EXPECT_FALSE(text.empty()) << number;
            const char* source = english.Find(number);
            if (source != nullptr) {
                EXPECT_EQ(Conversions(text), Conversions(source)) << number << ": " << text;
            }
        }
        EXPECT_EQ(numbers, expected);
    }
}

// A copy of the running test program, which the build gave its tables,
// made the "running executable" for the lifetime of the object, with a trial
// root so that nothing outside the temporary folder is touched.
class ProgramCopy {
public:
    ProgramCopy()
        : fRoot("STOW_ROOT", fDir.Str())
    {
        std::string self;
        EXPECT_EQ(get_running_executable_path(self), B_OK);
        std::filesystem::copy_file(self, fPath);
        set_running_executable_path(fPath.c_str());
    }
    ~ProgramCopy() { set_running_executable_path(nullptr); }

    const std::string& Path() const { return fPath; }
    const TempDir& Dir() const { return fDir; }

private:
    TempDir fDir;
    ScopedEnv fRoot;
    std::string fPath = (fDir / "program").string();
};

// Every text of every table is what a lookup in that language answers.
inline void ExpectLookupsMatchTables(const std::string& folder)
{
    for (const char* code : kLanguageCodes) {
        SCOPED_TRACE(code);
        oStringTable table = LoadTable(folder, code);
        ASSERT_TRUE(oLocalize().SetLanguage(code));
        oLocalize localize;
        ASSERT_STREQ(localize.Language(), code);
        long highest = table.Texts().rbegin()->first;
        for (long number = 999; number <= highest + 1; ++number) {
            const char* text = table.Find(number);
            EXPECT_STREQ(localize.GetString(number), text ? text : "") << number;
        }
    }
}

} // namespace stowtest
