#include "LibMessageBox.h"

#include "BAlert.h"

#include <cstdio>
#include <string>

LibString lib_message_box_text(const char* format, va_list args)
{
    if (format == nullptr)
        return LibString("");
    va_list measure;
    va_copy(measure, args);
    int length = vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0)
        return LibString("");
    std::string text(size_t(length) + 1, '\0');
    vsnprintf(text.data(), text.size(), format, args);
    text.resize(size_t(length));
    size_t limit = kMessageBoxTextSize - 1;
    if (text.size() > limit) {
        // Step back over continuation bytes so no character is split.
        size_t cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            cut--;
        text.resize(cut);
    }
    return LibString(text.c_str());
}

namespace {

BAlert MessageBox(const LibString& text, alert_type type)
{
    BAlert alert("", text, "OK", nullptr, nullptr, B_WIDTH_AS_USUAL, type);
    alert.SetShortcut(0, 'O');
    alert.SetDefaultButton(0);
    alert.SetPurpose(kMessageBoxPurpose);
    return alert;
}

int32 Wait(alert_type type, const char* format, va_list args)
{
    BAlert alert = MessageBox(lib_message_box_text(format, args), type);
    return alert.Go();
}

} // namespace

int32 LibError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int32 button = Wait(B_STOP_ALERT, format, args);
    va_end(args);
    return button;
}

int32 LibWarning(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int32 button = Wait(B_WARNING_ALERT, format, args);
    va_end(args);
    return button;
}

int32 LibInfo(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int32 button = Wait(B_INFO_ALERT, format, args);
    va_end(args);
    return button;
}

void LibInfoNoWait(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    BAlert alert = MessageBox(lib_message_box_text(format, args), B_INFO_ALERT);
    va_end(args);
    alert.GoWithoutWaiting();
}
