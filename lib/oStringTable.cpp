#include "oStringTable.h"

#include "LibString.h"
#include "oLocalize.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kMaxTableSize = 4 * 1024 * 1024;

bool ValidUtf8(const std::string& text)
{
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1
            : (lead >> 5) == 0x6    ? 2
            : (lead >> 4) == 0xe    ? 3
            : (lead >> 3) == 0x1e   ? 4
                                    : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

bool Unescape(const std::string& escaped, std::string& text, std::string& why)
{
    text.clear();
    for (size_t i = 0; i < escaped.size(); ++i) {
        char c = escaped[i];
        if (c == '\t' || c == '\r') {
            why = c == '\t' ? "a tab inside the text (write \\t)" : "a carriage return";
            return false;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        char next = i + 1 < escaped.size() ? escaped[i + 1] : '\0';
        if (next == 'n')
            text += '\n';
        else if (next == 't')
            text += '\t';
        else if (next == '\\')
            text += '\\';
        else {
            why = "unknown escape (only \\n, \\t and \\\\ are known)";
            return false;
        }
        ++i;
    }
    return true;
}

// Whether `name` is "<code>:<digits>" for a code of this table's language.
bool IsTextName(const char* name, const char* code)
{
    size_t codeLength = strlen(code);
    if (name == nullptr || strncmp(name, code, codeLength) != 0 || name[codeLength] != ':')
        return false;
    const char* digits = name + codeLength + 1;
    if (*digits == '\0')
        return false;
    for (; *digits != '\0'; ++digits) {
        if (*digits < '0' || *digits > '9')
            return false;
    }
    return true;
}

} // namespace

bool oStringTable::Read(const char* path, std::string& error)
{
    fTexts.clear();
    FILE* file = path != nullptr ? fopen(path, "rb") : nullptr;
    if (file == nullptr) {
        error = std::string(path ? path : "(null)") + ": cannot be opened";
        return false;
    }
    std::string text;
    std::vector<char> buffer(65536);
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), file)) > 0 && text.size() <= kMaxTableSize)
        text.append(buffer.data(), got);
    bool failed = ferror(file) != 0;
    fclose(file);
    if (failed || text.size() > kMaxTableSize) {
        error = std::string(path) + (failed ? ": cannot be read" : ": too large for a table");
        return false;
    }
    return Parse(text, path, error);
}

bool oStringTable::Parse(const std::string& text, const std::string& origin, std::string& error)
{
    fTexts.clear();
    if (!ValidUtf8(text)) {
        error = origin + ": not UTF-8 text";
        return false;
    }
    size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        ++lineNumber;
        std::string why;
        if (!ParseLine(text.substr(start, end - start), why)) {
            error = origin + ":" + std::to_string(lineNumber) + ": " + why;
            fTexts.clear();
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool oStringTable::ParseLine(const std::string& line, std::string& why)
{
    if (line.empty() || line[0] == '#')
        return true;
    size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0 || tab > 4) {
        why = "expected a number of one to four digits, a tab and the text";
        return false;
    }
    long number = 0;
    for (size_t i = 0; i < tab; ++i) {
        if (line[i] < '0' || line[i] > '9') {
            why = "the number has a character that is no digit";
            return false;
        }
        number = number * 10 + (line[i] - '0');
    }
    std::string text;
    if (!Unescape(line.substr(tab + 1), text, why))
        return false;
    if (!fTexts.emplace(number, text).second) {
        why = "number " + std::to_string(number) + " appears twice";
        return false;
    }
    return true;
}

const char* oStringTable::Find(long number) const
{
    auto found = fTexts.find(number);
    return found != fTexts.end() ? found->second.c_str() : nullptr;
}

int32 oStringTable::ResourceId(int32 languageIndex, long number)
{
    return int32(10000 * (languageIndex + 1) + number);
}

status_t oStringTable::AttachTo(BResources& resources, const char* code) const
{
    int32 index = lib_language_index(code);
    if (index < 0)
        return B_BAD_VALUE;
    std::vector<int32> stale;
    int32 id;
    const char* name;
    size_t length;
    for (int32 i = 0; resources.GetResourceInfo(B_STRING_TYPE, i, &id, &name, &length); ++i) {
        if (IsTextName(name, code))
            stale.push_back(id);
    }
    for (int32 staleId : stale) {
        status_t status = resources.RemoveResource(B_STRING_TYPE, staleId);
        if (status != B_OK)
            return status;
    }
    for (const auto& [number, text] : fTexts) {
        LibString resourceName;
        resourceName.Formatted("%s:%ld", code, number);
        status_t status = resources.AddResource(
            B_STRING_TYPE, ResourceId(index, number), text.c_str(), text.size() + 1, resourceName);
        if (status != B_OK)
            return status;
    }
    return B_OK;
}
