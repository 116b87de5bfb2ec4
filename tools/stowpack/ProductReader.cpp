#include "ProductReader.h"

#include "FindDirectory.h"
#include "JsonValue.h"
#include "RecordKeys.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

enum class KeyKind {
    String,
    Text, // a string, or {"file": PATH} naming a text file
    Bool,
    Long,
    Groups,
    AboutImage,
    AudioFile,
    Items,
    CustomFolders,
    DiskSpace,
    Libraries,
    Apps,
    Made, // the builder makes it
};

struct TopLevelKey {
    const char* name;
    KeyKind kind;
};

// Every top-level key, in the order the record holds them.
const TopLevelKey kKeys[] = {
    {"install_folder_name", KeyKind::String},
    {"groups", KeyKind::Groups},
    {kAppNameKey, KeyKind::String},
    {kVersionKey, KeyKind::String},
    {kReleaseDateKey, KeyKind::String},
    {kCompanyKey, KeyKind::String},
    {kSupportEmailKey, KeyKind::String},
    {kAboutImageKey, KeyKind::AboutImage},
    {"audio_file", KeyKind::AudioFile},
    {"audio_data", KeyKind::Made},
    {"license", KeyKind::Text},
    {"install_instructions", KeyKind::Items},
    {"custom_folder", KeyKind::CustomFolders},
    {"opt_log", KeyKind::Bool},
    {"opt_create_startup", KeyKind::Bool},
    {"opt_save_replaced", KeyKind::Bool},
    {"opt_include_deinstall", KeyKind::Bool},
    {"opt_default_folder", KeyKind::String},
    {"opt_created_folder", KeyKind::String},
    {"opt_show_beos_folders", KeyKind::Bool},
    {"opt_compression", KeyKind::Long},
    {"req_disk_space_needed", KeyKind::Bool},
    {"req_disk_space_required", KeyKind::Bool},
    {"req_disk_space_amount", KeyKind::DiskSpace},
    {"req_boot_vol_only", KeyKind::Bool},
    {"req_removable_vol_ok", KeyKind::Bool},
    {"req_shared_vol_ok", KeyKind::Bool},
    {"req_ram_needed", KeyKind::Bool},
    {"req_ram_required", KeyKind::Bool},
    {"req_ram_amount", KeyKind::Long},
    {"req_shared_library", KeyKind::Libraries},
    {"req_apps", KeyKind::Apps},
    {kBootScriptEdit.flag, KeyKind::Bool},
    {kBootScriptEdit.tag, KeyKind::String},
    {kBootScriptEdit.contents, KeyKind::Text},
    {kSetupEnvEdit.flag, KeyKind::Bool},
    {kSetupEnvEdit.tag, KeyKind::String},
    {kSetupEnvEdit.contents, KeyKind::Text},
    {kProfileEdit.flag, KeyKind::Bool},
    {kProfileEdit.tag, KeyKind::String},
    {kProfileEdit.contents, KeyKind::Text},
    {"complete_comments", KeyKind::Text},
    {"complete_restart", KeyKind::Bool},
    {"complete_display_folder", KeyKind::Bool},
    {kDeinstallerSizeKey, KeyKind::Made},
};

std::vector<std::string> TopLevelNames()
{
    std::vector<std::string> names;
    for (const TopLevelKey& key : kKeys)
        names.push_back(key.name);
    return names;
}

std::string Quote(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

ProductReader::ProductReader(std::string folder)
    : fFolder(std::move(folder))
{ }

bool ProductReader::Read(const std::string& document, Product& product)
{
    product = Product();
    fErrors.clear();
    fWarnings.clear();
    fCustomFolders.clear();
    fGroups.clear();
    fGroupsDefined = false;
    JsonValue root;
    std::string error;
    if (!JsonValue::Parse(document, root, error)) {
        Error("", "not valid JSON: " + error);
        return false;
    }
    if (root.kind != JsonValue::Kind::Object) {
        Error("", "a product description is a JSON object, not " + std::string(root.KindName()));
        return false;
    }
    Members top;
    Collect(root, "", TopLevelNames(), top);
    ReadTopLevel(top, product);
    CheckTopLevel(top);
    return fErrors.empty();
}

void ProductReader::ReadTopLevel(const Members& top, Product& product)
{
    // Places and groups are checked against the custom folders and groups,
    // so those are read first.
    BMessage groups, folders;
    if (const JsonValue* value = top.Find("groups"))
        ReadGroups(*value, groups);
    if (const JsonValue* value = top.Find("custom_folder"))
        ReadCustomFolders(*value, folders);
    for (const TopLevelKey& key : kKeys) {
        const JsonValue* value = top.Find(key.name);
        if (key.kind == KeyKind::Groups && value != nullptr)
            product.record.AddMessage("groups", &groups);
        else if (key.kind == KeyKind::CustomFolders && value != nullptr)
            product.record.AddMessage("custom_folder", &folders);
        else if (value != nullptr)
            AddKey(key.name, *value, product);
        else if (key.name == std::string("opt_compression"))
            product.record.AddInt32("opt_compression", product.compression);
    }
}

void ProductReader::AddKey(const std::string& name, const JsonValue& value, Product& product)
{
    BMessage& record = product.record;
    KeyKind kind = KeyKind::Made;
    for (const TopLevelKey& key : kKeys) {
        if (name == key.name)
            kind = key.kind;
    }
    std::string text;
    bool flag;
    int32 number;
    BMessage sub;
    switch (kind) {
    case KeyKind::String:
        if (String(value, name, text))
            record.AddString(name.c_str(), text);
        break;
    case KeyKind::Text:
        if (Text(value, name, text))
            record.AddString(name.c_str(), text);
        break;
    case KeyKind::Bool:
        if (!Bool(value, name, flag))
            break;
        record.AddBool(name.c_str(), flag);
        if (name == "opt_include_deinstall")
            product.includeDeinstaller = flag;
        break;
    case KeyKind::Long:
        if (!Long(value, name, number))
            break;
        if (name == "opt_compression") {
            if (number < 0 || number > 9) {
                Error(name, "the compression level lies between 0 (stored) and 9");
                break;
            }
            product.compression = number;
        } else if (number < 0) {
            Error(name, "must not be negative");
            break;
        }
        record.AddInt32(name.c_str(), number);
        break;
    case KeyKind::AboutImage:
        ReadAboutImage(value, product);
        break;
    case KeyKind::AudioFile:
        ReadAudio(value, product);
        break;
    case KeyKind::Items:
        ReadItems(value, product);
        break;
    case KeyKind::DiskSpace:
        ReadDiskSpace(value, sub);
        record.AddMessage(name.c_str(), &sub);
        break;
    case KeyKind::Libraries:
        ReadLibraries(value, sub);
        record.AddMessage(name.c_str(), &sub);
        break;
    case KeyKind::Apps:
        ReadApps(value, sub);
        record.AddMessage(name.c_str(), &sub);
        break;
    case KeyKind::Made:
        Error(name,
            name == "audio_data" ? "is made by the builder from \"audio_file\"; leave it out"
                                 : "is measured by the builder; leave it out");
        break;
    case KeyKind::Groups:
    case KeyKind::CustomFolders:
        break;
    }
}

// What no single key can check: keys that must be there, and keys that
// only make sense together.
void ProductReader::CheckTopLevel(const Members& top)
{
    for (const char* required : {kAppNameKey, kVersionKey, "opt_created_folder"}) {
        std::string text;
        const JsonValue* value = top.Find(required);
        if (value == nullptr)
            Error(required, "is required");
        else if (value->kind == JsonValue::Kind::String && value->text.empty())
            Error(required, "must not be empty");
    }
    if (top.Find("install_instructions") == nullptr)
        Error("install_instructions", "is required: a product installs at least one item");
    if (const JsonValue* created = top.Find("opt_created_folder")) {
        const std::string& name = created->text;
        if (created->kind == JsonValue::Kind::String
            && (name == "." || name == ".." || name.find('/') != std::string::npos))
            Error("opt_created_folder", "must be a single folder name, without \"/\"");
    }
    if (const JsonValue* folder = top.Find("opt_default_folder")) {
        if (folder->kind == JsonValue::Kind::String && folder->text != "Current"
            && standard_folder_named(folder->text.c_str()) == nullptr)
            Error("opt_default_folder",
                Quote(folder->text) + " is neither \"Current\" nor a standard folder name");
    }
    const JsonValue* startup = top.Find("opt_create_startup");
    if (startup != nullptr && startup->kind == JsonValue::Kind::Bool && startup->boolean
        && fCustomFolders.count("StartUp") == 0)
        Error("opt_create_startup", "needs a custom folder named \"StartUp\"");
    for (const ScriptEditKeys& edit : kScriptEdits)
        CheckEdit(top, edit);
}

void ProductReader::CheckEdit(const Members& top, const ScriptEditKeys& edit)
{
    const JsonValue* enabled = top.Find(edit.flag);
    if (enabled == nullptr || enabled->kind != JsonValue::Kind::Bool || !enabled->boolean)
        return;
    const JsonValue* tag = top.Find(edit.tag);
    if (tag == nullptr || (tag->kind == JsonValue::Kind::String && tag->text.empty())) {
        Error(edit.tag, "is required when " + Quote(edit.flag) + " is true");
        return;
    }
    if (tag->kind == JsonValue::Kind::String && tag->text.find('\n') != std::string::npos)
        Error(edit.tag, "must be one line: it marks the section's first and last lines");
    if (tag->kind == JsonValue::Kind::String && tag->text == "StartUpFolder")
        Error(edit.tag, "\"StartUpFolder\" marks the start-up section; choose another");
    if (top.Find(edit.contents) == nullptr)
        Warning(edit.contents, "is missing: the section will be empty");
}

bool ProductReader::Collect(const JsonValue& object, const std::string& where,
    const std::vector<std::string>& allowed, Members& members)
{
    if (object.kind != JsonValue::Kind::Object) {
        Error(where, "must be an object, not " + std::string(object.KindName()));
        return false;
    }
    std::string prefix = where.empty() ? "" : where + ".";
    for (size_t i = 0; i < object.items.size(); ++i) {
        const std::string& name = object.keys[i];
        bool known = false;
        for (const std::string& candidate : allowed)
            known = known || candidate == name;
        if (!known) {
            std::string hint = name == "req_shared_library_req"
                ? " (the key is spelled \"req_shared_librry_req\")"
                : "";
            Error(prefix + name, "unknown key" + hint);
        } else if (members.Find(name) != nullptr) {
            Error(prefix + name, "is given twice");
        } else {
            members.list.emplace_back(name, &object.items[i]);
        }
    }
    return true;
}

const JsonValue* ProductReader::Members::Find(const std::string& name) const
{
    for (const auto& [key, value] : list) {
        if (key == name)
            return value;
    }
    return nullptr;
}

bool ProductReader::String(const JsonValue& value, const std::string& where, std::string& text)
{
    if (value.kind != JsonValue::Kind::String) {
        Error(where, "must be a string, not " + std::string(value.KindName()));
        return false;
    }
    if (value.text.find('\0') != std::string::npos) {
        Error(where, "must not contain a zero character");
        return false;
    }
    text = value.text;
    return true;
}

bool ProductReader::Text(const JsonValue& value, const std::string& where, std::string& text)
{
    if (value.kind != JsonValue::Kind::Object)
        return String(value, where, text);
    Members members;
    Collect(value, where, {"file"}, members);
    const JsonValue* file = members.Find("file");
    std::string given;
    if (file == nullptr) {
        Error(where, "a text given as an object names its file: {\"file\": PATH}");
        return false;
    }
    if (!String(*file, where + ".file", given))
        return false;
    std::string path = Resolve(given);
    std::error_code code;
    if (!fs::is_regular_file(path, code)) {
        Error(where + ".file", "no text file at " + path);
        return false;
    }
    if (fs::file_size(path, code) > kMaxTextFile) {
        Error(where + ".file", path + " is larger than " + std::to_string(kMaxTextFile) + " bytes");
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad() || !in.is_open()) {
        Error(where + ".file", "cannot read " + path + ": " + strerror(errno));
        return false;
    }
    if (text.find('\0') != std::string::npos) {
        Error(where + ".file", path + " holds a zero byte; it is not a text file");
        return false;
    }
    return true;
}

bool ProductReader::Bool(const JsonValue& value, const std::string& where, bool& result)
{
    if (value.kind != JsonValue::Kind::Bool) {
        Error(where, "must be true or false, not " + std::string(value.KindName()));
        return false;
    }
    result = value.boolean;
    return true;
}

bool ProductReader::Long(const JsonValue& value, const std::string& where, int32& result)
{
    if (value.kind != JsonValue::Kind::Integer || value.integer < INT32_MIN
        || value.integer > INT32_MAX) {
        Error(where, "must be a whole number from -2147483648 to 2147483647");
        return false;
    }
    result = int32(value.integer);
    return true;
}

bool ProductReader::Double(const JsonValue& value, const std::string& where, double& result)
{
    if (value.kind == JsonValue::Kind::Integer) {
        result = double(value.integer);
        return true;
    }
    if (value.kind == JsonValue::Kind::Unsigned) {
        result = double(value.unsignedValue);
        return true;
    }
    if (value.kind == JsonValue::Kind::Number) {
        errno = 0;
        result = strtod(value.text.c_str(), nullptr);
        if (errno == 0 && std::isfinite(result))
            return true;
    }
    Error(where, "must be a finite number");
    return false;
}

bool ProductReader::StringList(
    const JsonValue& value, const std::string& where, std::vector<std::string>& list)
{
    if (value.kind != JsonValue::Kind::Array) {
        Error(where, "must be a list of strings, not " + std::string(value.KindName()));
        return false;
    }
    bool good = true;
    for (size_t i = 0; i < value.items.size(); ++i) {
        std::string text;
        if (String(value.items[i], where + "[" + std::to_string(i) + "]", text))
            list.push_back(text);
        else
            good = false;
    }
    return good;
}

std::string ProductReader::Resolve(const std::string& path) const
{
    fs::path resolved = fs::path(path).is_absolute() ? fs::path(path) : fs::path(fFolder) / path;
    resolved = fs::absolute(resolved).lexically_normal();
    if (resolved.filename().empty() && resolved.has_parent_path() && resolved != "/")
        resolved = resolved.parent_path();
    return resolved.string();
}

void ProductReader::Error(const std::string& where, const std::string& text)
{
    fErrors.push_back(where.empty() ? text : where + ": " + text);
}

void ProductReader::Warning(const std::string& where, const std::string& text)
{
    fWarnings.push_back(where.empty() ? text : where + ": " + text);
}
