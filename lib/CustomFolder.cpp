#include "CustomFolder.h"

#include "BMessage.h"
#include "LibStringIterator.h"

#include <cstdio>
#include <string>

namespace {

const char* const kEntryName = "custom_folder_name";
const char* const kEntryRoot = "custom_root_dir";
const char* const kEntrySub = "custom_sub_dir";
const char* const kEntryReplace = "custom_replace_existing";

std::string PrefKey(const char* stem, long n)
{
    return std::string(stem) + "_" + std::to_string(n);
}

const char* StringOf(const BMessage& message, const std::string& name)
{
    const char* text = nullptr;
    return message.FindString(name.c_str(), &text) == B_OK && text != nullptr ? text : "";
}

int32 Int32Of(const BMessage& message, const std::string& name)
{
    int32 value = 0;
    return message.FindInt32(name.c_str(), &value) == B_OK ? value : 0;
}

bool BoolOf(const BMessage& message, const std::string& name)
{
    bool value = false;
    return message.FindBool(name.c_str(), &value) == B_OK && value;
}

status_t AddAll(BMessage& message, const std::string& nameKey, const std::string& rootKey,
    const std::string& subKey, const std::string& replaceKey, const CustomFolder& folder)
{
    status_t status = message.AddString(nameKey.c_str(), folder.Name());
    if (status == B_OK)
        status = message.AddInt32(rootKey.c_str(), folder.ParentFolder());
    if (status == B_OK)
        status = message.AddString(subKey.c_str(), folder.SubFolder());
    if (status == B_OK)
        status = message.AddBool(replaceKey.c_str(), folder.Replace());
    return status;
}

} // namespace

CustomFolder::CustomFolder() = default;

CustomFolder::CustomFolder(const char* name)
    : fName(name)
{ }

CustomFolder::CustomFolder(const CustomFolder& other)
    : fName(other.fName)
    , fParentFolder(other.fParentFolder)
    , fSubFolder(other.fSubFolder)
    , fReplace(other.fReplace)
    , fCommonDef(other.fCommonDef)
{ }

CustomFolder& CustomFolder::operator=(const CustomFolder& other)
{
    if (&other == this)
        return *this;
    fName = other.fName;
    fParentFolder = other.fParentFolder;
    fSubFolder = other.fSubFolder;
    fReplace = other.fReplace;
    fCommonDef = other.fCommonDef;
    return *this;
}

CustomFolder::~CustomFolder() = default;

CustomFolder& CustomFolder::SetName(const char* name)
{
    fName = name != nullptr ? name : "";
    return *this;
}

CustomFolder& CustomFolder::ParentFolder(const directory_which& which)
{
    fParentFolder = which;
    return *this;
}

CustomFolder& CustomFolder::SubFolder(const char* path)
{
    fSubFolder = path != nullptr ? path : "";
    return *this;
}

CustomFolder& CustomFolder::Replace(const bool& replace)
{
    fReplace = replace;
    return *this;
}

CustomFolder& CustomFolder::CommonDef(const bool& common)
{
    fCommonDef = common;
    return *this;
}

LibString CustomFolder::AttrDescription() const
{
    // Built piece by piece: a formatted buffer would cut long names.
    LibString text(fName);
    text.Concat(";");
    text += long(fParentFolder);
    text.Concat(";");
    text.Concat(fSubFolder);
    text.Concat(fReplace ? ";1;" : ";0;");
    return text;
}

bool CustomFolder::SetFromAttrDescription(const LibString& text)
{
    LibStringIterator fields(text);
    LibString name;
    LibString parent;
    LibString sub;
    LibString replace;
    if (!fields.GetNextField(';', name) || !fields.GetNextField(';', parent)
        || !fields.GetNextField(';', sub) || !fields.GetNextField(';', replace))
        return false;
    int32 parentValue = 0;
    int32 replaceValue = 0;
    if (!parent.GetInt32(parentValue) || !replace.GetInt32(replaceValue))
        return false;
    fName = name;
    fParentFolder = directory_which(parentValue);
    fSubFolder = sub;
    fReplace = replaceValue != 0;
    return true;
}

bool CustomFolder::operator==(const CustomFolder& other) const
{
    return fName.Compare(other.fName) == 0;
}

bool CustomFolder::operator>(const CustomFolder& other) const
{
    return fName.Compare(other.fName) > 0;
}

status_t CustomFolder::Write(BMessage& message) const
{
    return AddAll(message, kEntryName, kEntryRoot, kEntrySub, kEntryReplace, *this);
}

void CustomFolder::Read(const BMessage& message)
{
    fName = StringOf(message, kEntryName);
    fParentFolder = directory_which(Int32Of(message, kEntryRoot));
    fSubFolder = StringOf(message, kEntrySub);
    fReplace = BoolOf(message, kEntryReplace);
}

status_t CustomFolder::WritePref(const long& n, BMessage& message) const
{
    return AddAll(message, PrefKey("custom_folder_name", n), PrefKey("custom_folder_parent", n),
        PrefKey("custom_folder_sub_dir", n), PrefKey("custom_folder_replace", n), *this);
}

void CustomFolder::ReadPref(const long& n, BMessage& message)
{
    fName = StringOf(message, PrefKey("custom_folder_name", n));
    fParentFolder = directory_which(Int32Of(message, PrefKey("custom_folder_parent", n)));
    fSubFolder = StringOf(message, PrefKey("custom_folder_sub_dir", n));
    fReplace = BoolOf(message, PrefKey("custom_folder_replace", n));
}

bool CustomFolder::HasPref(const long& n, const BMessage& message)
{
    return message.HasString(PrefKey("custom_folder_name", n).c_str());
}

void CustomFolder::PrintToStream() const
{
    fprintf(stderr, "CustomFolder name (%s), sub (%s), replace %d, common %d\n",
        static_cast<const char*>(fName), static_cast<const char*>(fSubFolder), fReplace ? 1 : 0,
        fCommonDef ? 1 : 0);
}
