// Groups, custom folders, places, requirements and media of a product
// description.
#include "ProductReader.h"

#include "FindDirectory.h"
#include "JsonValue.h"
#include "PngBitmap.h"
#include "RecordKeys.h"
#include "WavSound.h"

#include <filesystem>

namespace {

std::string Index(const std::string& where, size_t i)
{
    return where + "[" + std::to_string(i) + "]";
}

std::string Quote(const std::string& text)
{
    return "\"" + text + "\"";
}

constexpr int32 kAboutWidth = 150;
constexpr int32 kAboutHeight = 200;

} // namespace

void ProductReader::ReadGroups(const JsonValue& value, BMessage& groups)
{
    fGroupsDefined = true;
    if (value.kind != JsonValue::Kind::Array) {
        Error("groups", "must be a list of group objects, not " + std::string(value.KindName()));
        return;
    }
    for (size_t i = 0; i < value.items.size(); ++i) {
        std::string where = Index("groups", i);
        Members members;
        if (!Collect(value.items[i], where, {"group_name", "group_description"}, members))
            continue;
        std::string name, description;
        const JsonValue* nameValue = members.Find("group_name");
        const JsonValue* descriptionValue = members.Find("group_description");
        if (nameValue == nullptr) {
            Error(where, "a group needs a \"group_name\"");
            continue;
        }
        if (!String(*nameValue, where + ".group_name", name))
            continue;
        if (descriptionValue != nullptr
            && !String(*descriptionValue, where + ".group_description", description))
            continue;
        if (name.empty() || name.find(';') != std::string::npos) {
            Error(where + ".group_name", "must not be empty nor contain \";\"");
            continue;
        }
        if (!fGroups.insert(name).second) {
            Error(where + ".group_name", Quote(name) + " is defined twice");
            continue;
        }
        groups.AddString("group_name", name);
        groups.AddString("group_description", description);
    }
}

void ProductReader::ReadCustomFolders(const JsonValue& value, BMessage& folders)
{
    if (value.kind != JsonValue::Kind::Array) {
        Error("custom_folder",
            "must be a list of custom folder objects, not " + std::string(value.KindName()));
        return;
    }
    for (size_t i = 0; i < value.items.size(); ++i) {
        std::string where = Index("custom_folder", i);
        Members members;
        if (!Collect(value.items[i], where,
                {"custom_folder_name", "custom_root_dir", "custom_sub_dir",
                    "custom_replace_existing"},
                members))
            continue;
        const JsonValue* nameValue = members.Find("custom_folder_name");
        const JsonValue* rootValue = members.Find("custom_root_dir");
        const JsonValue* subValue = members.Find("custom_sub_dir");
        const JsonValue* replaceValue = members.Find("custom_replace_existing");
        std::string name, sub;
        int32 root = 0;
        bool replace = false;
        if (nameValue == nullptr || rootValue == nullptr) {
            Error(where, "a custom folder needs \"custom_folder_name\" and \"custom_root_dir\"");
            continue;
        }
        bool good = String(*nameValue, where + ".custom_folder_name", name);
        good = RootFolder(*rootValue, where + ".custom_root_dir", root) && good;
        good = (subValue == nullptr || String(*subValue, where + ".custom_sub_dir", sub)) && good;
        good = (replaceValue == nullptr
                   || Bool(*replaceValue, where + ".custom_replace_existing", replace))
            && good;
        if (!good)
            continue;
        if (name.empty() || name == "User Selected" || name == "None" || name == "Current"
            || standard_folder_named(name.c_str()) != nullptr) {
            Error(where + ".custom_folder_name",
                Quote(name) + " cannot name a custom folder: it is empty or a place name already");
            continue;
        }
        if (!fCustomFolders.insert(name).second) {
            Error(where + ".custom_folder_name", Quote(name) + " is defined twice");
            continue;
        }
        CheckSubFolder(sub, replace, where);
        BMessage folder;
        folder.AddString("custom_folder_name", name);
        folder.AddInt32("custom_root_dir", root);
        folder.AddString("custom_sub_dir", sub);
        folder.AddBool("custom_replace_existing", replace);
        folders.AddMessage("custom_folder", &folder);
    }
}

// A standard folder by its value (2009) or by its name ("Common
// Documentation"); the record keeps the value.
bool ProductReader::RootFolder(const JsonValue& value, const std::string& where, int32& which)
{
    if (value.kind == JsonValue::Kind::String) {
        if (const StandardFolder* folder = standard_folder_named(value.text.c_str())) {
            which = folder->which;
            return true;
        }
        Error(where, Quote(value.text) + " is not a standard folder name");
        return false;
    }
    if (!Long(value, where, which))
        return false;
    if (standard_folder(directory_which(which)) != nullptr)
        return true;
    Error(where, std::to_string(which) + " is not the value of a standard folder");
    return false;
}

// The sub-folder stays inside its standard folder, and a folder that is
// replaced at install time is never the standard folder itself.
void ProductReader::CheckSubFolder(const std::string& sub, bool replace, const std::string& where)
{
    std::filesystem::path path(sub);
    if (path.is_absolute()) {
        Error(where + ".custom_sub_dir", "must be a path below the root folder, not absolute");
        return;
    }
    for (const auto& part : path) {
        if (part == "..") {
            Error(where + ".custom_sub_dir", "must not leave the root folder with \"..\"");
            return;
        }
    }
    if (replace && path.lexically_normal().string().find_first_not_of("./") == std::string::npos)
        Error(where + ".custom_replace_existing",
            "would replace the whole root folder; name a sub-folder in \"custom_sub_dir\"");
}

bool ProductReader::IsPlace(const std::string& name, bool linkPlace) const
{
    return name == "User Selected" || (linkPlace && name == "None")
        || fCustomFolders.count(name) > 0 || standard_folder_named(name.c_str()) != nullptr;
}

void ProductReader::ReadDiskSpace(const JsonValue& value, BMessage& amount)
{
    const std::string where = "req_disk_space_amount";
    Members members;
    if (!Collect(value, where, {"value", "value_type", "value_conversion"}, members))
        return;
    const JsonValue* bytes = members.Find("value");
    const JsonValue* unit = members.Find("value_type");
    const JsonValue* conversion = members.Find("value_conversion");
    double number;
    if (bytes == nullptr) {
        Error(where, "needs \"value\", the amount in bytes");
    } else if (Double(*bytes, where + ".value", number)) {
        if (number < 0)
            Error(where + ".value", "must not be negative");
        else
            amount.AddDouble("value", number);
    }
    int32 code;
    if (unit != nullptr && unit->kind == JsonValue::Kind::String) {
        if (unit->text.size() == 4)
            amount.AddInt32("value_type",
                int32(FourCC(unit->text[0], unit->text[1], unit->text[2], unit->text[3])));
        else
            Error(where + ".value_type", "is a number or a code of four characters (\"kb  \")");
    } else if (unit != nullptr && Long(*unit, where + ".value_type", code)) {
        amount.AddInt32("value_type", code);
    }
    if (conversion != nullptr && Double(*conversion, where + ".value_conversion", number))
        amount.AddFloat("value_conversion", float(number));
}

void ProductReader::ReadLibraries(const JsonValue& value, BMessage& libraries)
{
    const std::string where = "req_shared_library";
    Members members;
    if (!Collect(value, where, {"req_shared_librry_req", "req_shared_library_name"}, members))
        return;
    bool required;
    if (const JsonValue* flag = members.Find("req_shared_librry_req")) {
        if (Bool(*flag, where + ".req_shared_librry_req", required))
            libraries.AddBool("req_shared_librry_req", required);
    }
    std::vector<std::string> names;
    if (const JsonValue* list = members.Find("req_shared_library_name"))
        StringList(*list, where + ".req_shared_library_name", names);
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty() || names[i].find('/') != std::string::npos)
            Error(Index(where + ".req_shared_library_name", i),
                "is a library's file name, looked for in LIBRARY_PATH, without \"/\"");
        else
            libraries.AddString("req_shared_library_name", names[i]);
    }
}

void ProductReader::ReadApps(const JsonValue& value, BMessage& apps)
{
    const std::string where = "req_apps";
    Members members;
    if (!Collect(value, where, {"req_app_req", "req_app_name"}, members))
        return;
    bool required;
    if (const JsonValue* flag = members.Find("req_app_req")) {
        if (Bool(*flag, where + ".req_app_req", required))
            apps.AddBool("req_app_req", required);
    }
    std::vector<std::string> names;
    if (const JsonValue* list = members.Find("req_app_name"))
        StringList(*list, where + ".req_app_name", names);
    for (size_t i = 0; i < names.size(); ++i) {
        size_t open = names[i].find('(');
        size_t close = names[i].find(')', open == std::string::npos ? 0 : open);
        if (open == std::string::npos || close == std::string::npos || close == open + 1)
            Warning(Index(where + ".req_app_name", i),
                "names no signature in parentheses (\"Name (application/x-vnd.Maker-App)\"); "
                "such an application is never found");
        apps.AddString("req_app_name", names[i]);
    }
}

void ProductReader::ReadAboutImage(const JsonValue& value, Product& product)
{
    std::string given, error;
    if (!String(value, kAboutImageKey, given))
        return;
    BMessage archive;
    int32 width, height;
    if (!PngBitmap::Read(Resolve(given), archive, width, height, error)) {
        Error(kAboutImageKey, error);
        return;
    }
    if (width != kAboutWidth || height != kAboutHeight)
        Warning(kAboutImageKey,
            "the picture is " + std::to_string(width) + " by " + std::to_string(height)
                + " pixels; the window shows 150 by 200 from the top left corner");
    product.record.AddMessage(kAboutImageKey, &archive);
}

void ProductReader::ReadAudio(const JsonValue& value, Product& product)
{
    std::string given, error;
    if (!String(value, "audio_file", given))
        return;
    std::string path = Resolve(given);
    BMessage sound;
    if (!WavSound::Read(path, sound, error)) {
        Error("audio_file", error);
        return;
    }
    product.record.AddString("audio_file", std::filesystem::path(path).filename().string());
    product.record.AddMessage("audio_data", &sound);
}
