#include "DesktopEntry.h"

#include "FileOperations.h"

#include <cstring>
#include <sys/stat.h>

namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)
        && (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0;
}

} // namespace

DesktopEntry::DesktopEntry(
    const std::string& target, const std::string& name, const std::string& icon)
    : fTarget(target)
    , fName(name)
    , fIcon(icon)
    , fApplication(IsExecutableFile(target))
{ }

std::string DesktopEntry::Text() const
{
    std::string text = "[Desktop Entry]\nVersion=1.0\n";
    text += fApplication ? "Type=Application\n" : "Type=Link\n";
    text += "Name=" + Escaped(fName) + "\n";
    if (fApplication)
        text += "Exec=" + Escaped(ExecArgument(fTarget)) + "\n";
    else
        text += "URL=" + Escaped(FileUrl(fTarget)) + "\n";
    if (!fIcon.empty())
        text += "Icon=" + Escaped(fIcon) + "\n";
    return text;
}

std::string DesktopEntry::FileName(const std::string& name)
{
    std::string id;
    for (char c : name) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
            || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
        id += allowed ? c : '-';
    }
    if (id.empty() || id[0] == '.' || id[0] == '-')
        id.insert(0, "app");
    return id + ".desktop";
}

status_t DesktopEntry::Write(const std::string& path) const
{
    const std::string text = Text();
    return write_file_atomically(path.c_str(), text.data(), text.size(), 0644);
}

// One argument of Exec: quoted when it holds a character the key reserves,
// with '"', '`', '$' and '\' escaped inside the quotes; '%' doubled always.
std::string DesktopEntry::ExecArgument(const std::string& path)
{
    static const char kReserved[] = " \t\n\"'\\><~|&;$*?#`()";
    bool quote = path.find_first_of(kReserved, 0, sizeof kReserved - 1) != std::string::npos;
    std::string argument;
    for (char c : path) {
        if (c == '%')
            argument += "%%";
        else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            argument += std::string("\\") + c;
        else
            argument += c;
    }
    return quote ? "\"" + argument + "\"" : argument;
}

// A value as the file format keeps it: backslashes, line ends and tabs
// escaped, a leading space kept.
std::string DesktopEntry::Escaped(const std::string& value)
{
    std::string escaped;
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '\t')
            escaped += "\\t";
        else if (c == '\r')
            escaped += "\\r";
        else if (c == ' ' && i == 0)
            escaped += "\\s";
        else
            escaped += c;
    }
    return escaped;
}

std::string DesktopEntry::FileUrl(const std::string& path)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
            || (c >= '0' && c <= '9') || strchr("/-._~", c) != nullptr;
        if (plain) {
            url += char(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}
