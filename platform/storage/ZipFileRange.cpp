#include "ZipFileRange.h"

#include "WriteAll.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

ZipFileRange* Range(voidpf stream)
{
    return static_cast<ZipFileRange*>(stream);
}

voidpf Open(voidpf, const void* path, int)
{
    ZipFileRange* range = static_cast<ZipFileRange*>(const_cast<void*>(path));
    if (range != nullptr)
        range->position = 0;
    return range;
}

// Reads up to `size` bytes at `position` of the range; fewer only at its end
// or on an error.
size_t ReadAt(ZipFileRange* range, uint64 position, void* buffer, size_t size)
{
    uint64 left = position < range->length ? range->length - position : 0;
    size_t wanted = size_t(size < left ? size : left);
    size_t done = 0;
    while (done < wanted) {
        ssize_t got = pread(range->fd, static_cast<char*>(buffer) + done, wanted - done,
            off_t(range->base + position + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got < 0 && range->error == 0)
                range->error = errno;
            break;
        }
        done += size_t(got);
    }
    return done;
}

uLong Read(voidpf, voidpf stream, void* buffer, uLong size)
{
    ZipFileRange* range = Range(stream);
    uint64 position = range->position;
    bool small = !range->writable && size < ZipFileRange::kWindowSize / 4;
    bool inWindow = position >= range->windowStart
        && position - range->windowStart + size <= range->windowLength;
    if (small && !inWindow) {
        range->window.resize(ZipFileRange::kWindowSize);
        range->windowStart = position;
        range->windowLength = ReadAt(range, position, range->window.data(), range->window.size());
        inWindow = size <= range->windowLength;
    }
    size_t done;
    if (small && inWindow) {
        memcpy(buffer, range->window.data() + (position - range->windowStart), size);
        done = size;
    } else {
        done = ReadAt(range, position, buffer, size);
    }
    range->position += done;
    return uLong(done);
}

uLong Write(voidpf, voidpf stream, const void* buffer, uLong size)
{
    ZipFileRange* range = Range(stream);
    if (!range->writable)
        return 0;
    size_t done = 0;
    status_t status
        = write_all_at(range->fd, off_t(range->base + range->position), buffer, size, &done);
    if (status != B_OK && range->error == 0)
        range->error = errno;
    range->position += uint64(done);
    if (range->position > range->length)
        range->length = range->position;
    return uLong(done);
}

ZPOS64_T Tell(voidpf, voidpf stream)
{
    return Range(stream)->position;
}

long Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    ZipFileRange* range = Range(stream);
    uint64 from = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        from = range->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        from = range->length;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET)
        return -1;
    uint64 target = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR && int64(offset) < 0) {
        // minizip steps back by handing over a negative offset in its
        // unsigned type, as fseeko would take it.
        uint64 back = 0 - offset;
        if (back > from)
            return -1;
        target = from - back;
    } else {
        if (offset > UINT64_MAX - from)
            return -1;
        target = from + offset;
    }
    // A read-only range ends where it ends; seeking past it is an error.
    if (!range->writable && target > range->length)
        return -1;
    range->position = target;
    return 0;
}

int Close(voidpf, voidpf)
{
    return 0;
}

int Error(voidpf, voidpf stream)
{
    return Range(stream)->error;
}

} // namespace

zlib_filefunc64_def ZipFileRange::Functions()
{
    zlib_filefunc64_def functions = {};
    functions.zopen64_file = Open;
    functions.zread_file = Read;
    functions.zwrite_file = Write;
    functions.ztell64_file = Tell;
    functions.zseek64_file = Seek;
    functions.zclose_file = Close;
    functions.zerror_file = Error;
    functions.opaque = nullptr;
    return functions;
}
