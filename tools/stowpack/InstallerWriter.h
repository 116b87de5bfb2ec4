// Writes an installer: a copy of the base program with every payload item
// zipped into it as 'RAWT' 2100 + i, the deinstaller as 'RAWT' 2001 and the
// record as 'CSTR' 2002. The copy is made beside the output and renamed
// into place only when whole, with mode 0755.
#pragma once

#include "BResources.h"
#include "ProductReader.h"

#include <iosfwd>
#include <string>

struct InstallerPaths {
    std::string base;        // the installer program without payload
    std::string deinstaller; // the deinstaller program
    std::string output;
};

class InstallerWriter {
public:
    static constexpr int32 kRecordId = 2002;
    static constexpr int32 kDeinstallerId = 2001;
    static constexpr int32 kFirstItemId = 2100;
    static constexpr const char* kRecordName = "STK:configuration";
    static constexpr const char* kDeinstallerName = "Stowclear";
    // Payloads at least this large are reported item by item.
    static constexpr uint64 kProgressBytes = 16 * 1024 * 1024;

    InstallerWriter(const InstallerPaths& paths, std::ostream& progress);

    bool Write(Product& product, std::string& error);

private:
    bool CheckInputs(const Product& product, std::string& error) const;
    bool AddPayload(BResources& resources, const Product& product, std::string& error);
    bool AddDeinstaller(BResources& resources, Product& product, std::string& error);
    void RemoveOldEntries(BResources& resources) const;
    bool Finish(BResources& resources, Product& product, std::string& error);

    InstallerPaths fPaths;
    std::ostream& fProgress;
    std::string fTemporary;
};
