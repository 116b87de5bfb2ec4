#include "ElfExtent.h"

#include <algorithm>
#include <vector>

namespace {

constexpr uint32 kSectionNoBits = 8; // SHT_NOBITS: occupies no file space
constexpr uint64 kMaxSections = 1 << 20;

// Reads the ELF header fields in the file's class and byte order.
class ElfReader {
public:
    ElfReader(const uint8* bytes, bool is64, bool bigEndian)
        : fBytes(bytes)
        , fIs64(is64)
        , fBigEndian(bigEndian)
    { }
    uint64 Get(size_t at, int size) const
    {
        uint64 value = 0;
        for (int i = 0; i < size; ++i) {
            int shift = fBigEndian ? 8 * (size - 1 - i) : 8 * i;
            value |= uint64(fBytes[at + i]) << shift;
        }
        return value;
    }
    // A field that is 4 bytes in 32-bit files and 8 in 64-bit ones.
    uint64 Word(size_t at32, size_t at64) const { return fIs64 ? Get(at64, 8) : Get(at32, 4); }

private:
    const uint8* fBytes;
    bool fIs64;
    bool fBigEndian;
};

bool Extend(uint64& end, uint64 offset, uint64 size, uint64 fileSize)
{
    if (offset > fileSize || size > fileSize - offset)
        return false;
    end = std::max(end, offset + size);
    return true;
}

// Reads `count` table entries of `entrySize` bytes at `offset`.
bool ReadTable(const ByteSource& source, uint64 offset, uint64 count, uint64 entrySize,
    std::vector<uint8>& table)
{
    if (count == 0)
        return true;
    if (entrySize == 0 || count > kMaxSections || entrySize > 4096)
        return false;
    table.resize(size_t(count * entrySize));
    return source.ReadAt(offset, table.data(), table.size());
}

} // namespace

int64 elf_content_end(const ByteSource& source)
{
    uint8 header[64] = {};
    uint64 fileSize = source.Size();
    if (fileSize < 52 || !source.ReadAt(0, header, std::min<uint64>(64, fileSize)))
        return -1;
    if (header[0] != 0x7f || header[1] != 'E' || header[2] != 'L' || header[3] != 'F')
        return -1;
    if ((header[4] != 1 && header[4] != 2) || (header[5] != 1 && header[5] != 2))
        return -1;
    bool is64 = header[4] == 2;
    if (is64 && fileSize < 64)
        return -1;
    ElfReader elf(header, is64, header[5] == 2);
    uint64 programOffset = elf.Word(28, 32);
    uint64 sectionOffset = elf.Word(32, 40);
    uint64 headerSize = elf.Get(is64 ? 52 : 40, 2);
    uint64 programEntrySize = elf.Get(is64 ? 54 : 42, 2);
    uint64 programCount = elf.Get(is64 ? 56 : 44, 2);
    uint64 sectionEntrySize = elf.Get(is64 ? 58 : 46, 2);
    uint64 sectionCount = elf.Get(is64 ? 60 : 48, 2);

    uint64 end = 0;
    if (!Extend(end, 0, headerSize, fileSize)
        || !Extend(end, programOffset, programCount * programEntrySize, fileSize))
        return -1;
    std::vector<uint8> table;
    if (!ReadTable(source, programOffset, programCount, programEntrySize, table))
        return -1;
    for (uint64 i = 0; i < programCount; ++i) {
        ElfReader entry(table.data() + i * programEntrySize, is64, header[5] == 2);
        if (programEntrySize < (is64 ? 56u : 32u))
            return -1;
        if (!Extend(end, entry.Word(4, 8), entry.Word(16, 32), fileSize))
            return -1;
    }

    if (sectionOffset == 0)
        return int64(end);
    size_t minimumEntry = is64 ? 64 : 40;
    if (sectionEntrySize < minimumEntry)
        return -1;
    // With very many sections the count lives in section 0's size field.
    if (sectionCount == 0) {
        if (!ReadTable(source, sectionOffset, 1, sectionEntrySize, table))
            return -1;
        sectionCount = ElfReader(table.data(), is64, header[5] == 2).Word(20, 32);
    }
    if (sectionCount > kMaxSections
        || !Extend(end, sectionOffset, sectionCount * sectionEntrySize, fileSize)
        || !ReadTable(source, sectionOffset, sectionCount, sectionEntrySize, table))
        return -1;
    for (uint64 i = 0; i < sectionCount; ++i) {
        ElfReader entry(table.data() + i * sectionEntrySize, is64, header[5] == 2);
        if (entry.Get(4, 4) == kSectionNoBits)
            continue;
        if (!Extend(end, entry.Word(16, 24), entry.Word(20, 32), fileSize))
            return -1;
    }
    return int64(end);
}
