// Reads a product description (docs/product-description.md) and checks it
// strictly: the configuration record it makes (without the deinstaller's
// size, which only the build knows), with the payload items measured, and
// the items in entry order. Every problem found is listed, not only the
// first; warnings do not stop the build.
#pragma once

#include "BMessage.h"

#include <set>
#include <string>
#include <vector>

class JsonValue;
struct ScriptEditKeys;

struct ProductItem {
    std::string path; // absolute, as in "file_name"
    std::string leaf; // the name of its resource and of the archive's item
    uint64 size = 0;
};

struct Product {
    BMessage record;
    std::vector<ProductItem> items; // item i is payload 2100 + i
    int32 compression = 6;
    bool includeDeinstaller = true;
};

class ProductReader {
public:
    // Relative paths of the description start in `folder`.
    explicit ProductReader(std::string folder);

    bool Read(const std::string& document, Product& product);

    const std::vector<std::string>& Errors() const { return fErrors; }
    const std::vector<std::string>& Warnings() const { return fWarnings; }

    static constexpr int32 kDefaultCompression = 6;
    static constexpr size_t kMaxItems = 60000;
    static constexpr size_t kMaxTextFile = 1024 * 1024;

private:
    // The members of a JSON object by name; duplicates and names outside
    // `allowed` are reported.
    struct Members {
        std::vector<std::pair<std::string, const JsonValue*>> list;
        const JsonValue* Find(const std::string& name) const;
    };
    bool Collect(const JsonValue& object, const std::string& where,
        const std::vector<std::string>& allowed, Members& members);

    // Top level.
    void ReadTopLevel(const Members& top, Product& product);
    void AddKey(const std::string& name, const JsonValue& value, Product& product);
    void CheckTopLevel(const Members& top);
    void CheckEdit(const Members& top, const ScriptEditKeys& edit);

    // Typed values; each reports a wrong type at `where` and answers false.
    bool String(const JsonValue& value, const std::string& where, std::string& text);
    bool Text(const JsonValue& value, const std::string& where, std::string& text);
    bool Bool(const JsonValue& value, const std::string& where, bool& result);
    bool Long(const JsonValue& value, const std::string& where, int32& result);
    bool Double(const JsonValue& value, const std::string& where, double& result);
    bool StringList(
        const JsonValue& value, const std::string& where, std::vector<std::string>& list);
    std::string Resolve(const std::string& path) const;

    // Groups, custom folders and places.
    void ReadGroups(const JsonValue& value, BMessage& groups);
    void ReadCustomFolders(const JsonValue& value, BMessage& folders);
    bool RootFolder(const JsonValue& value, const std::string& where, int32& which);
    void CheckSubFolder(const std::string& sub, bool replace, const std::string& where);
    bool IsPlace(const std::string& name, bool linkPlace) const;

    // Requirements.
    void ReadDiskSpace(const JsonValue& value, BMessage& amount);
    void ReadLibraries(const JsonValue& value, BMessage& libraries);
    void ReadApps(const JsonValue& value, BMessage& apps);

    // Media.
    void ReadAboutImage(const JsonValue& value, Product& product);
    void ReadAudio(const JsonValue& value, Product& product);

    // Payload items.
    void ReadItems(const JsonValue& value, Product& product);
    bool ReadItem(
        const JsonValue& value, const std::string& where, BMessage& entry, ProductItem& item);
    bool ItemPath(const std::string& given, const std::string& where, ProductItem& item);
    void ReadItemGroups(const JsonValue& value, const std::string& where, std::string& groups);
    void ReadInstallMeta(
        const JsonValue* value, const std::string& where, bool isFolder, BMessage& meta);
    void CheckLeafNames(const std::vector<ProductItem>& items);

    void Error(const std::string& where, const std::string& text);
    void Warning(const std::string& where, const std::string& text);

    std::string fFolder;
    std::set<std::string> fCustomFolders;
    std::set<std::string> fGroups;
    bool fGroupsDefined = false;
    std::vector<std::string> fErrors;
    std::vector<std::string> fWarnings;
};
