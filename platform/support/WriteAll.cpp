#include "WriteAll.h"

#include <cerrno>
#include <unistd.h>

namespace {

// `put` writes some of what is left at `done` and answers like write(2).
template<typename Put> status_t WriteLoop(const void* data, size_t size, size_t* written, Put put)
{
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    status_t status = B_OK;
    while (done < size) {
        ssize_t wrote = put(bytes + done, size - done, done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            if (wrote == 0)
                errno = EIO;
            status = status_from_errno(errno);
            break;
        }
        done += size_t(wrote);
    }
    if (written != nullptr)
        *written = done;
    return status;
}

} // namespace

status_t write_all(int fd, const void* data, size_t size, size_t* written)
{
    return WriteLoop(data, size, written,
        [fd](const char* bytes, size_t left, size_t) { return write(fd, bytes, left); });
}

status_t write_all_at(int fd, off_t offset, const void* data, size_t size, size_t* written)
{
    return WriteLoop(
        data, size, written, [fd, offset](const char* bytes, size_t left, size_t done) {
            return pwrite(fd, bytes, left, offset + off_t(done));
        });
}
