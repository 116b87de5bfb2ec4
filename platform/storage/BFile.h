// A regular file opened for reading and/or writing. Opening by path follows
// symbolic links (unlike BNode); the node is the file reached.
#pragma once

#include "BNode.h"

class BFile : public BNode {
public:
    BFile();
    BFile(const char* path, uint32 openMode);
    BFile(const entry_ref* ref, uint32 openMode);
    BFile(const BFile& file);
    BFile& operator=(const BFile& file);
    ~BFile() override;

    status_t SetTo(const char* path, uint32 openMode);
    status_t SetTo(const entry_ref* ref, uint32 openMode);
    void Unset() override;

    bool IsReadable() const;
    bool IsWritable() const;

    ssize_t Read(void* buffer, size_t size);
    ssize_t ReadAt(off_t location, void* buffer, size_t size) const;
    ssize_t Write(const void* buffer, size_t size);
    ssize_t WriteAt(off_t location, const void* buffer, size_t size);
    off_t Seek(off_t offset, uint32 seekMode);
    off_t Position() const;
    status_t GetSize(off_t* size) const;
    status_t SetSize(off_t size);

    // The mode the file was opened with, and its descriptor (owned by the
    // file) for code that streams from it.
    uint32 OpenMode() const { return fMode; }
    int FileDescriptor() const { return Descriptor(); }

private:
    using BNode::SetTo;
    void Close();

    int fFd = -1;
    uint32 fMode = 0;
};
