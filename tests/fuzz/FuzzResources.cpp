// Feeds arbitrary bytes to the resource container reader as if they were a
// file: it must never read out of bounds, crash or hang, and whatever it
// accepts must lie inside the bytes.
#include "ByteSource.h"
#include "ElfExtent.h"
#include "ResourceFormat.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemoryByteSource source(data, size);
    elf_content_end(source);
    ResourceFormat::Index index = ResourceFormat::ReadIndex(source);
    if (index.state != ResourceFormat::State::Valid)
        return 0;
    for (const ResourceFormat::Entry& entry : index.entries) {
        if (entry.offset > size || entry.size > size - entry.offset)
            abort();
        uint32 crc;
        if (!ResourceFormat::ChecksumRange(source, entry.offset, entry.size, crc))
            abort();
    }
    return 0;
}
