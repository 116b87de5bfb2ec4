// A node with typed attribute helpers: texts, booleans, 32-bit integers,
// whole messages, and a file or folder zipped into an attribute and back.
// Each write replaces the attribute, so its type and size are those of the
// last write.
#pragma once

#include "BEntry.h"
#include "BMessage.h"
#include "BNode.h"
#include "LibString.h"

class LibNode : public BNode {
public:
    LibNode();
    explicit LibNode(const char* path);
    explicit LibNode(const entry_ref* ref);
    explicit LibNode(const BEntry* entry);
    ~LibNode() override;

    // 'CSTR', the characters without a terminating zero (a null text writes
    // an empty one). Bytes written, or a negative error.
    ssize_t WriteStringAttr(const char* name, const char* value);
    // The whole attribute as text; bytes read, or a negative error with
    // `value` emptied.
    ssize_t ReadStringAttr(const char* name, LibString& value);

    // 'BOOL', one byte 1 or 0.
    ssize_t WriteBoolAttr(const char* name, const bool& value);
    // True when the attribute is exactly one byte, read into `value`.
    bool ReadBoolAttr(const char* name, bool& value);

    // 'LONG', four bytes in the platform's byte order. A value outside the
    // 32-bit range is refused (B_BAD_VALUE) rather than cut.
    ssize_t WriteInt32Attr(const char* name, const long& value);
    // Always true; `value` changes only when the attribute is four bytes.
    bool ReadInt32Attr(const char* name, long& value);

    // 'RAWT', the message flattened.
    void WriteMessageAttr(const char* name, const BMessage& message);
    // False when the attribute is missing or is not a whole message.
    bool ReadMessageAttr(const char* name, BMessage& message);

    // Zips the file or folder at `path` (level 9, under its leaf name) into
    // 'RAWT' attribute `name`, replacing it only once the archive is whole.
    bool CompressFile(const char* name, const char* path);
    // Places what attribute `name` holds at `destination`: with `unzip` the
    // item, which must be named `name`, else the archive itself. Nothing
    // (and true) when the attribute is missing; false, with `destination`
    // as it was, when the item cannot be placed.
    bool UncompressFile(const char* name, const char* destination, bool unzip);

private:
    // The whole attribute; B_ENTRY_NOT_FOUND when there is none.
    status_t ReadWhole(const char* name, std::string& data);
};
