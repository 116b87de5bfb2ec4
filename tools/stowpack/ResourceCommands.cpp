#include "ResourceCommands.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace ResourceArgs {

bool ParseType(const std::string& text, type_code& type)
{
    std::string code = text;
    if (code.size() == 6 && code.front() == '\'' && code.back() == '\'')
        code = code.substr(1, 4);
    if (code.size() != 4)
        return false;
    type = FourCC(code[0], code[1], code[2], code[3]);
    return true;
}

bool ParseId(const std::string& text, int32& id)
{
    if (text.empty() || text.size() > 11)
        return false;
    char* end = nullptr;
    errno = 0;
    long long value = strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX
        || text.find_first_of(" \t\n+") != std::string::npos)
        return false;
    id = int32(value);
    return true;
}

std::string TypeText(type_code type)
{
    return std::string("'") + type_code_text(type).text + "'";
}

std::string Quoted(const std::string& name)
{
    std::string result = "\"";
    for (unsigned char c : name) {
        if (c == '"' || c == '\\') {
            result += '\\';
            result += char(c);
        } else if (c < 0x20 || c == 0x7f) {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\x%02x", c);
            result += escaped;
        } else {
            result += char(c);
        }
    }
    return result + "\"";
}

std::string Explain(status_t status)
{
    switch (status) {
    case B_ENTRY_NOT_FOUND:
        return "No such file or directory";
    case B_PERMISSION_DENIED:
    case B_NOT_ALLOWED:
        return "Permission denied";
    case B_BUSY:
        return "the file is a running program and cannot be changed";
    case B_IS_A_DIRECTORY:
        return "Is a directory";
    case B_BAD_DATA:
        return "the resource container is damaged; nothing was changed";
    case B_DEVICE_FULL:
        return "No space left on device";
    case B_NAME_TOO_LONG:
        return "name too long";
    case B_NO_MEMORY:
        return "out of memory";
    case B_READ_ONLY_DEVICE:
        return "Read-only file system";
    default:
        return "error " + std::to_string(status);
    }
}

bool Open(CommandContext& context, const std::string& path, Access access, BResources& resources,
    int& exitCode)
{
    status_t status;
    if (access == Access::ReadWrite) {
        status = resources.SetTo(path.c_str());
    } else {
        BFile file(path.c_str(), B_READ_ONLY);
        status = file.InitCheck() == B_OK ? resources.SetTo(&file) : file.InitCheck();
    }
    if (status != B_OK) {
        exitCode = Failure(context.err, "cannot open " + path + ": " + Explain(status));
        return false;
    }
    if (resources.ContainerState() == ResourceFormat::State::Damaged) {
        exitCode
            = Failure(context.err, path + ": damaged resource container: " + resources.Problem());
        return false;
    }
    return true;
}

bool ParseTypeAndId(CommandContext& context, const std::string& typeText, const std::string& idText,
    type_code& type, int32& id, int& exitCode)
{
    if (!ParseType(typeText, type)) {
        exitCode = UsageError(context.err, "TYPE must be four characters, such as CSTR");
        return false;
    }
    if (!ParseId(idText, id)) {
        exitCode = UsageError(context.err, "ID must be a whole number");
        return false;
    }
    return true;
}

bool OpenExisting(CommandContext& context, Access access, BResources& resources, type_code& type,
    int32& id, int& exitCode)
{
    const std::string& path = context.args[0];
    if (!ParseTypeAndId(context, context.args[1], context.args[2], type, id, exitCode)
        || !Open(context, path, access, resources, exitCode))
        return false;
    if (resources.HasResource(type, id))
        return true;
    exitCode
        = Failure(context.err, path + ": no resource " + TypeText(type) + " " + std::to_string(id));
    return false;
}

} // namespace ResourceArgs
