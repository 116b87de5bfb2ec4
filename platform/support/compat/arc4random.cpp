// The static C++ runtime seeds std::random_device with arc4random, which the
// C library only has from version 2.36 on. Defined here, in the programs
// themselves, the runtime takes this one, and the programs keep running on
// the older C libraries of the systems they are installed on.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <sys/random.h>
#include <unistd.h>

extern "C" uint32_t arc4random()
{
    uint32_t value = 0;
    if (getrandom(&value, sizeof value, 0) == ssize_t(sizeof value))
        return value;
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint32_t(now.tv_nsec) ^ uint32_t(getpid()) << 16;
}

extern "C" void arc4random_buf(void* buffer, size_t size)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        const uint32_t value = arc4random();
        const size_t chunk = size < sizeof value ? size : sizeof value;
        for (size_t i = 0; i < chunk; ++i)
            bytes[i] = static_cast<unsigned char>(value >> (8 * i));
        bytes += chunk;
        size -= chunk;
    }
}

extern "C" uint32_t arc4random_uniform(uint32_t bound)
{
    if (bound < 2)
        return 0;
    // Rejects the values that would favour the low remainders.
    const uint32_t floor = -bound % bound;
    for (;;) {
        const uint32_t value = arc4random();
        if (value >= floor)
            return value % bound;
    }
}
