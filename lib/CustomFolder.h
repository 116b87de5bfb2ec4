// One install place a product defines: a standard folder plus a path below
// it, and whether an existing folder there is replaced at install time.
// Kept in three forms: the configuration entry, a one-line attribute text
// ("Docs;2009;Stowsmith;1;") and numbered preference keys.
#pragma once

#include "FindDirectory.h"
#include "LibString.h"

class BMessage;

class CustomFolder {
public:
    CustomFolder();
    explicit CustomFolder(const char* name);
    CustomFolder(const CustomFolder& other);
    CustomFolder& operator=(const CustomFolder& other);
    virtual ~CustomFolder();

    // Each setter returns the object, so calls chain.
    CustomFolder& SetName(const char* name);
    CustomFolder& ParentFolder(const directory_which& which);
    CustomFolder& SubFolder(const char* path);
    CustomFolder& Replace(const bool& replace);
    CustomFolder& CommonDef(const bool& common);

    const char* Name() const { return fName; }
    directory_which ParentFolder() const { return fParentFolder; }
    const char* SubFolder() const { return fSubFolder; }
    bool Replace() const { return fReplace; }
    bool CommonDef() const { return fCommonDef; }

    // "name;parent;sub;replace;" (the common flag is not part of it).
    LibString AttrDescription() const;
    // Reads that text back, leaving the common flag alone. Text that does not
    // hold four fields with numbers where numbers belong changes nothing and
    // answers false.
    bool SetFromAttrDescription(const LibString& text);

    // The name is the definition's identity (case-sensitive).
    bool operator==(const CustomFolder& other) const;
    bool operator>(const CustomFolder& other) const;

    // The keys of one "custom_folder" entry of a configuration record.
    status_t Write(BMessage& message) const;
    void Read(const BMessage& message);
    // The keys of position `n` of a saved set of preferences.
    status_t WritePref(const long& n, BMessage& message) const;
    void ReadPref(const long& n, BMessage& message);
    // Whether a saved set holds a definition at position `n`.
    static bool HasPref(const long& n, const BMessage& message);

    void PrintToStream() const;

private:
    LibString fName;
    // Unset by the design until a setter or a read; here the user's home
    // folder, the most harmless place to start from.
    directory_which fParentFolder = B_USER_DIRECTORY;
    LibString fSubFolder;
    bool fReplace = true;
    bool fCommonDef = false;
};
