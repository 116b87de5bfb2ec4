// Random access to bytes that may be a file or a buffer, so that the
// resource reader can be run on either (the fuzzer feeds it buffers).
#pragma once

#include "SupportDefs.h"

#include <string>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64 Size() const = 0;
    // True only when all `length` bytes at `offset` were read.
    virtual bool ReadAt(uint64 offset, void* buffer, size_t length) const = 0;
};

// An open file descriptor (not owned); its size is taken once.
class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(int fd);
    uint64 Size() const override { return fSize; }
    bool ReadAt(uint64 offset, void* buffer, size_t length) const override;

private:
    int fFd;
    uint64 fSize = 0;
};

class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const void* data, size_t size)
        : fData(static_cast<const uint8*>(data))
        , fSize(size)
    { }
    uint64 Size() const override { return fSize; }
    bool ReadAt(uint64 offset, void* buffer, size_t length) const override;

private:
    const uint8* fData;
    size_t fSize;
};
