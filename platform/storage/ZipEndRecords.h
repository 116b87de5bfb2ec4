// Finishes the end of an archive that minizip has closed. minizip writes
// the Zip64 end records only for an archive past 4 GiB, so that with 65,535
// members or more its entry count is cut to 16 bits; here the Zip64 records
// are added where the count needs them. minizip also marks members with
// Zip64 fields as made on MS-DOS; the creator system goes back to Unix on
// every central header, so that unzip tools read modes and links.
#pragma once

#include "SupportDefs.h"

#include <string>

class ZipEndRecords {
public:
    // The archive is the `size` bytes of `fd` from its start and holds
    // `entries` members; `size` grows by what is added. False with the
    // reason, for people, when the end does not read as minizip writes it.
    static bool Finish(int fd, uint64& size, uint64 entries, uint8 hostSystem, std::string& why);

private:
    struct Directory {
        uint64 entries = 0;
        uint64 size = 0;
        uint64 offset = 0;
        bool hasZip64 = false;
    };

    static bool ReadDirectory(int fd, uint64 size, Directory& directory, std::string& why);
    static bool AddZip64(int fd, uint64& size, const Directory& directory, std::string& why);
    static bool SetHostSystem(
        int fd, const Directory& directory, uint8 hostSystem, std::string& why);
};
