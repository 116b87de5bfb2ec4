// A node of the file system (file, folder or symbolic link) and its typed
// attributes. A node set to a link is the link itself, never its target.
// Attributes live in user extended attributes where the kernel keeps them
// and in the attribute store elsewhere (docs/attributes.md).
#pragma once

#include "AttributeStore.h"
#include "NodeAttributeIO.h"
#include "StorageDefs.h"
#include "entry_ref.h"

#include <string>
#include <sys/stat.h>
#include <vector>

class BNode {
public:
    BNode();
    explicit BNode(const char* path);
    explicit BNode(const entry_ref* ref);
    BNode(const BNode& node);
    BNode& operator=(const BNode& node);
    virtual ~BNode();

    status_t SetTo(const char* path);
    status_t SetTo(const entry_ref* ref);
    virtual void Unset();
    status_t InitCheck() const;

    status_t GetStat(struct stat* st) const;

    ssize_t WriteAttr(
        const char* name, type_code type, off_t offset, const void* buffer, size_t length);
    ssize_t ReadAttr(
        const char* name, type_code type, off_t offset, void* buffer, size_t length) const;
    status_t RemoveAttr(const char* name);
    status_t RenameAttr(const char* oldName, const char* newName);
    status_t GetAttrInfo(const char* name, attr_info* info) const;

    // Names one attribute per call into `buffer` (B_ATTR_NAME_LENGTH bytes);
    // B_ENTRY_NOT_FOUND after the last one.
    status_t GetNextAttrName(char* buffer);
    status_t RewindAttrs();

    // The absolute path the node was set to.
    const char* Path() const { return fTarget.path.c_str(); }

    bool operator==(const BNode& other) const;
    bool operator!=(const BNode& other) const { return !(*this == other); }

protected:
    // For BFile: the node is the file open on `fd` (owned by the caller).
    status_t SetToDescriptor(int fd, const std::string& absolutePath);
    int Descriptor() const { return fTarget.fd; }
    status_t SetInitStatus(status_t status) { return fStatus = status; }

private:
    status_t SetToPath(const std::string& path);

    NodeAttributeIO::Target fTarget;
    status_t fStatus = B_NO_INIT;
    std::vector<std::string> fAttrNames;
    size_t fNextAttr = 0;
    bool fAttrsListed = false;
};
