// The payload items of a product description: each item measured on disk,
// its place checked, its entry of "install_instructions" made.
#include "ProductReader.h"

#include "FileIcons.h"
#include "ItemMeasure.h"
#include "ItemSafety.h"
#include "JsonValue.h"

#include <filesystem>
#include <map>

namespace {

std::string Index(const std::string& where, size_t i)
{
    return where + "[" + std::to_string(i) + "]";
}

std::string Quote(const std::string& text)
{
    return "\"" + text + "\"";
}

// What the builder measures; a description that gives them is refused.
const char* const kMeasuredKeys[] = {"file_type", "file_size", "file_creation", "file_modified",
    "file_accessed", "file_icon", "install_to_system"};

bool IsOneOf(const std::string& text, std::initializer_list<const char*> choices)
{
    for (const char* choice : choices) {
        if (text == choice)
            return true;
    }
    return false;
}

} // namespace

void ProductReader::ReadItems(const JsonValue& value, Product& product)
{
    const std::string where = "install_instructions";
    if (value.kind != JsonValue::Kind::Array) {
        Error(where, "must be a list of file objects, not " + std::string(value.KindName()));
        return;
    }
    if (value.items.empty()) {
        Error(where, "lists no item: a product installs at least one");
        return;
    }
    if (value.items.size() > kMaxItems) {
        Error(where, "lists more than " + std::to_string(kMaxItems) + " items");
        return;
    }
    BMessage instructions;
    for (size_t i = 0; i < value.items.size(); ++i) {
        BMessage entry;
        ProductItem item;
        if (!ReadItem(value.items[i], Index(where, i), entry, item))
            continue;
        instructions.AddMessage("install_file", &entry);
        product.items.push_back(item);
    }
    product.record.AddMessage(where.c_str(), &instructions);
    CheckLeafNames(product.items);
}

bool ProductReader::ReadItem(
    const JsonValue& value, const std::string& where, BMessage& entry, ProductItem& item)
{
    std::vector<std::string> allowed = {"file_name", "groups", "install_meta"};
    allowed.insert(allowed.end(), std::begin(kMeasuredKeys), std::end(kMeasuredKeys));
    Members members;
    if (!Collect(value, where, allowed, members))
        return false;
    for (const char* measured : kMeasuredKeys) {
        if (members.Find(measured) != nullptr)
            Error(where + "." + measured,
                std::string(measured) == "install_to_system"
                    ? "is set by the installer's window; leave it out"
                    : "is measured by the builder; leave it out");
    }
    const JsonValue* nameValue = members.Find("file_name");
    std::string given;
    if (nameValue == nullptr) {
        Error(where, "an item needs \"file_name\", the path of its file or folder");
        return false;
    }
    if (!String(*nameValue, where + ".file_name", given) || !ItemPath(given, where, item))
        return false;
    std::vector<std::string> unsafe = ItemSafety::Check(item.path, item.leaf);
    for (const std::string& problem : unsafe)
        Error(where + ".file_name", problem + " (the installer would refuse it)");
    if (!unsafe.empty())
        return false;
    ItemFacts facts;
    std::string error;
    if (!ItemMeasure::Measure(item.path, facts, error)) {
        Error(where + ".file_name", error);
        return false;
    }
    if (facts.size > uint64(INT32_MAX)) {
        Error(where + ".file_name",
            item.path + " holds " + std::to_string(facts.size)
                + " bytes; an item's size must fit the record's 32-bit \"file_size\" "
                  "(at most 2147483647 bytes)");
        return false;
    }
    item.size = facts.size;
    std::string groups;
    if (const JsonValue* groupsValue = members.Find("groups"))
        ReadItemGroups(*groupsValue, where + ".groups", groups);
    BMessage meta;
    ReadInstallMeta(members.Find("install_meta"), where + ".install_meta",
        facts.kind == ItemFacts::Kind::Folder, meta);

    entry.AddString("file_name", item.path);
    entry.AddInt8("file_type", int8(facts.kind));
    entry.AddInt32("file_size", int32(facts.size));
    entry.AddInt32("file_size", int32(facts.size));
    entry.AddInt64("file_creation", facts.created);
    entry.AddInt64("file_modified", facts.modified);
    entry.AddInt64("file_accessed", facts.accessed);
    BMessage icon = FileIcons::Archive(facts.kind);
    entry.AddMessage("file_icon", &icon);
    entry.AddString("groups", groups);
    entry.AddMessage("install_meta", &meta);
    return true;
}

bool ProductReader::ItemPath(const std::string& given, const std::string& where, ProductItem& item)
{
    if (given.empty()) {
        Error(where + ".file_name", "must not be empty");
        return false;
    }
    item.path = Resolve(given);
    item.leaf = std::filesystem::path(item.path).filename().string();
    if (item.leaf.empty() || item.leaf == "." || item.leaf == "..") {
        Error(where + ".file_name", Quote(given) + " names no file or folder");
        return false;
    }
    std::error_code code;
    if (!std::filesystem::exists(item.path, code)) {
        Error(where + ".file_name", "no file or folder at " + item.path);
        return false;
    }
    return true;
}

// A list of names, or the record's own form: each name followed by ";".
void ProductReader::ReadItemGroups(
    const JsonValue& value, const std::string& where, std::string& groups)
{
    std::vector<std::string> names;
    if (value.kind == JsonValue::Kind::String) {
        const std::string& text = value.text;
        if (!text.empty() && text.back() != ';') {
            Error(where, "in the text form every group name ends with \";\"");
            return;
        }
        size_t start = 0;
        for (size_t end; (end = text.find(';', start)) != std::string::npos; start = end + 1)
            names.push_back(text.substr(start, end - start));
    } else if (!StringList(value, where, names)) {
        return;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty() || names[i].find(';') != std::string::npos) {
            Error(Index(where, i), "a group name is not empty and holds no \";\"");
            return;
        }
        if (fGroups.count(names[i]) == 0)
            Warning(where, "the group " + Quote(names[i]) + " is not defined in \"groups\"");
        groups += names[i] + ";";
    }
}

void ProductReader::ReadInstallMeta(
    const JsonValue* value, const std::string& where, bool isFolder, BMessage& meta)
{
    Members members;
    if (value != nullptr
        && !Collect(*value, where,
            {"destination", "destination_exists", "link", "link_exists", "deinstallable",
                "auto_launch", "auto_launch_reason"},
            members))
        return;
    // Each key with its default, in the record's order.
    struct Key {
        const char* name;
        const char* fallback; // null: written only when given
    };
    const Key keys[] = {{"destination", "User Selected"}, {"destination_exists", "Prompt"},
        {"link", "None"}, {"link_exists", "Prompt"}, {"deinstallable", "True"},
        {"auto_launch", nullptr}, {"auto_launch_reason", nullptr}};
    for (const Key& key : keys) {
        const std::string name = key.name;
        const std::string at = where + "." + name;
        const JsonValue* given = members.Find(name);
        std::string text;
        if (given == nullptr && key.fallback == nullptr)
            continue;
        if (given == nullptr)
            text = key.fallback;
        else if (!String(*given, at, text))
            continue;
        if (name == "destination" && !IsPlace(text, false))
            Error(at,
                Quote(text)
                    + " is neither \"User Selected\", a custom folder nor a standard folder name");
        else if (name == "link" && !IsPlace(text, true))
            Error(at,
                Quote(text)
                    + " is neither \"None\", \"User Selected\", a custom folder nor a standard "
                      "folder name");
        else if (name.ends_with("_exists") && !IsOneOf(text, {"Prompt", "Rename", "Replace"}))
            Warning(at, Quote(text) + " is not \"Prompt\", \"Rename\" or \"Replace\"");
        else if ((name == "deinstallable" || name == "auto_launch")
            && !IsOneOf(text, {"True", "False"}))
            Warning(at, Quote(text) + " counts as \"False\"; only \"True\" means yes");
        else if (name == "auto_launch" && text == "True" && isFolder)
            Warning(at, "a folder cannot be run");
        meta.AddString(name.c_str(), text);
    }
}

void ProductReader::CheckLeafNames(const std::vector<ProductItem>& items)
{
    std::map<std::string, size_t> first;
    for (size_t i = 0; i < items.size(); ++i) {
        auto [at, inserted] = first.emplace(items[i].leaf, i);
        if (!inserted)
            Warning("install_instructions",
                "items " + std::to_string(at->second) + " and " + std::to_string(i)
                    + " are both named " + Quote(items[i].leaf)
                    + "; in the product folder the later one replaces the earlier");
    }
}
