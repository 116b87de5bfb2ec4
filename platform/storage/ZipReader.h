// Reads a payload archive (one file or folder under its leaf name) from a
// file or from a byte range of a larger file, without copying it first:
// lists and checks its members and streams their data with size and CRC
// checks, through fixed buffers whatever the archive's size.
#pragma once

#include "ZipAttributes.h"
#include "ZipExtraFields.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct ZipFileRange;

enum class ZipMemberKind { File, Folder, Link };

struct ZipMember {
    std::string name; // a folder's without its trailing slash
    ZipMemberKind kind = ZipMemberKind::File;
    uint64 size = 0; // uncompressed, as the archive declares it
    uint64 compressedSize = 0;
    bool hasMode = false; // whether the archive keeps a Unix mode
    uint32 mode = 0;      // permission bits to give it (a default without one)
    int64 modified = 0;   // seconds since 1970, from the central directory
    std::string linkTarget;
};

struct ZipListing {
    std::string itemName;
    ZipMemberKind itemKind = ZipMemberKind::File;
    uint64 totalSize = 0; // of all members, as declared
    std::vector<ZipMember> members;
};

// What a member's local header adds to the central directory.
struct ZipMemberDetails {
    ZipExtraFields::Times times; // modification always set, access when known
    ZipAttributeList attributes;
};

class ZipReader {
public:
    // Chunk in which data is read and a stop request honoured.
    static constexpr size_t kChunkSize = 256 * 1024;

    typedef std::function<status_t(const uint8* data, size_t size)> Sink;
    typedef std::function<bool()> StopCheck;

    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    status_t Open(const char* path);
    // The archive is `length` bytes at `offset` of the file.
    status_t Open(const char* path, uint64 offset, uint64 length);
    // As above on a descriptor that stays the caller's and must stay open.
    status_t Open(int fd, uint64 offset, uint64 length);
    // A second reader of the archive `other` has open and has listed, for
    // another thread: it shares the listing (nothing is read again) and
    // reads members on its own. `other` must stay open while it is used.
    status_t OpenLike(const ZipReader& other);
    void Close();

    // Reads the central directory and checks it: one item, safe names, no
    // duplicates, nothing beneath a file or link, links that stay inside.
    // Reads only link members' data.
    status_t List(ZipListing& listing);
    // The same without a copy: valid while the reader stays open.
    status_t List(const ZipListing*& listing);

    // Member `index` of the listing: its local details, then its data (a
    // file's contents or a link's target) through `sink`, chunk by chunk.
    // Fails when the data holds more or fewer bytes than declared (nothing
    // beyond the declared size reaches `sink`) or its CRC differs.
    status_t ReadDetails(size_t index, ZipMemberDetails& details);
    status_t ReadData(size_t index, const Sink& sink, const StopCheck& shouldStop = {});
    // Both at once, reading the member's local header once.
    status_t ReadMember(size_t index, ZipMemberDetails& details, const Sink& sink,
        const StopCheck& shouldStop = {});

    // Reads the whole archive as unpacking it would, writing nothing: the
    // listing's checks, then every member's local details and data (sizes
    // and CRC). Fails at the first damage, naming the member.
    status_t Test(const StopCheck& shouldStop = {});

    // Why the last call failed, for people.
    const std::string& ErrorMessage() const { return fError; }

private:
    struct Entry;
    struct Inflater;
    struct Scanned;

    status_t Attach();
    status_t EnsureScanned();
    status_t Scan();
    status_t ScanEntry(Entry& entry, ZipMember& member);
    status_t ReadZip64Sizes(const uint8* extra, size_t length, ZipMember& member);
    status_t CheckItem();
    status_t ReadLinkTargets();
    status_t Seek(size_t index);
    status_t OpenCurrent(size_t index);
    status_t ReadLocalDetails(size_t index, ZipMemberDetails& details);
    status_t PumpCurrent(size_t index, const Sink& sink, const StopCheck& shouldStop);
    status_t Pump(const ZipMember& member, int method, const Sink& sink,
        const StopCheck& shouldStop, uint32& checksum);
    status_t Fail(status_t status, const std::string& message);
    status_t FailMember(status_t status, const std::string& name, const std::string& reason);

    int fOwnedFd = -1;
    ZipFileRange* fRange = nullptr;
    void* fArchive = nullptr;
    bool fScanned = false;
    status_t fScanStatus = B_NO_INIT;
    // The listing, shared with the readers opened like this one.
    std::shared_ptr<Scanned> fScan;
    std::unique_ptr<Inflater> fInflater;
    std::vector<uint8> fBuffer;
    std::vector<uint8> fLocalExtra;
    std::string fError;
};
