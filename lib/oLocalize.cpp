#include "oLocalize.h"

#include "BNode.h"

#include <cstring>
#include <mutex>
#include <string>

namespace {

constexpr char kLanguageAttr[] = "language";
constexpr char kDefaultLanguage[] = "en";

// A choice the executable could not record (a read-only volume, a file of
// another user) still holds in this process, for that executable: else the
// user's choice of language would change nothing. Lookups run on several
// threads, to the process's very end (never destroyed).
struct Unrecorded {
    std::mutex lock;
    std::string path;
    std::string code;
};

Unrecorded& UnrecordedState()
{
    static auto* state = new Unrecorded;
    return *state;
}

bool UnrecordedChoice(const char* path, LibString& code)
{
    Unrecorded& state = UnrecordedState();
    std::lock_guard<std::mutex> hold(state.lock);
    if (state.path.empty() || state.path != path)
        return false;
    code = state.code.c_str();
    return true;
}

void KeepUnrecorded(const char* path, const char* code, bool recorded)
{
    Unrecorded& state = UnrecordedState();
    std::lock_guard<std::mutex> hold(state.lock);
    if (!recorded) {
        state.path = path;
        state.code = code;
    } else if (state.path == path) {
        state.path.clear();
    }
}

} // namespace

int32 lib_language_index(const char* code)
{
    if (code == nullptr)
        return -1;
    for (int32 i = 0; i < kLanguageCount; ++i) {
        if (strcmp(code, kLanguageCodes[i]) == 0)
            return i;
    }
    return -1;
}

oLocalize::oLocalize()
    : oResources(B_READ_ONLY)
{
    ObtainLanguage();
}

void oLocalize::ObtainLanguage()
{
    fLanguage = kDefaultLanguage;
    if (*ExecutablePath() == '\0' || UnrecordedChoice(ExecutablePath(), fLanguage))
        return;
    BNode node(ExecutablePath());
    char code[kMaxCodeLength + 1] = {};
    ssize_t read = node.ReadAttr(kLanguageAttr, B_STRING_TYPE, 0, code, kMaxCodeLength);
    if (read == B_ENTRY_NOT_FOUND) {
        SetLanguage(kDefaultLanguage);
        return;
    }
    if (read < 0)
        return;
    code[read] = '\0';
    fLanguage = code;
}

bool oLocalize::SetLanguage(const char* code)
{
    if (code == nullptr || strlen(code) > size_t(kMaxCodeLength))
        return false;
    fLanguage = code;
    if (*ExecutablePath() == '\0')
        return false;
    // An attribute, not a write into the file: Linux lets a running
    // program's attributes change while its bytes stay locked.
    BNode node(ExecutablePath());
    ssize_t wrote = node.WriteAttr(kLanguageAttr, B_STRING_TYPE, 0, code, strlen(code));
    KeepUnrecorded(ExecutablePath(), code, wrote >= 0);
    return wrote >= 0;
}

LibString oLocalize::GetString(const long& number)
{
    LibString name;
    name.Formatted("%s:%ld", static_cast<const char*>(fLanguage), number);
    return GetString(static_cast<const char*>(name));
}
