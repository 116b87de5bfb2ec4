#include "InstallConfig.h"

#include <cstdarg>
#include <string>

namespace {

std::string FormatText(const char* format, va_list args)
{
    va_list measure;
    va_copy(measure, args);
    int length = vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0)
        return {};
    std::string text(size_t(length) + 1, '\0');
    vsnprintf(text.data(), text.size(), format, args);
    text.resize(size_t(length));
    return text;
}

// Cuts `text` to at most `limit` bytes without splitting a UTF-8 character.
void CutAtCharacter(std::string& text, size_t limit)
{
    if (text.size() <= limit)
        return;
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        cut--;
    text.resize(cut);
}

} // namespace

void InstallConfig::OpenLog(const char* path)
{
    if (!FindBool("opt_log") || path == nullptr)
        return;
    CloseLog();
    fLogFile = fopen(path, "w");
}

void InstallConfig::Log(const char* format, ...)
{
    if (fLogFile == nullptr || format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    vfprintf(fLogFile, format, args);
    va_end(args);
    // Written through at once, so that a stopped run leaves what it did.
    fflush(fLogFile);
}

void InstallConfig::CloseLog()
{
    if (fLogFile == nullptr)
        return;
    fclose(fLogFile);
    fLogFile = nullptr;
}

void InstallConfig::UpdateStatus(const char* format, ...)
{
    if (format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    std::string text = FormatText(format, args);
    va_end(args);
    SendStatus(text);
}

void InstallConfig::Notice(const char* format, ...)
{
    if (format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    std::string text = FormatText(format, args);
    va_end(args);
    fRunNotices.push_back(text);
    SendStatus(text);
}

void InstallConfig::SendStatus(std::string text)
{
    BMessenger* messenger = Messenger();
    if (messenger == nullptr)
        return;
    CutAtCharacter(text, kStatusTextSize - 1);
    BMessage status(kInstallStatusMessage);
    status.AddString("message", text);
    messenger->SendMessage(&status);
}
