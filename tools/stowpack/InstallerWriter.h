// Writes an installer: a copy of the base program with every payload item
// zipped into it as 'RAWT' 2100 + i, the deinstaller as 'RAWT' 2001 and the
// record as 'CSTR' 2002. The copy is made beside the output and renamed
// into place only when whole, with mode 0755. The archives wait on disk
// until they are copied in, so memory stays flat for items of any size.
#pragma once

#include "LibAppResource.h"
#include "ProductReader.h"
#include "RecordKeys.h"

#include <iosfwd>
#include <string>

struct InstallerPaths {
    std::string base;        // the installer program without payload
    std::string deinstaller; // the deinstaller program
    std::string output;
};

class InstallerWriter {
public:
    static constexpr const char* kDeinstallerName = "Stowclear";
    // Payloads at least this large are reported item by item.
    static constexpr uint64 kProgressBytes = 16 * 1024 * 1024;

    InstallerWriter(const InstallerPaths& paths, std::ostream& progress);

    bool Write(Product& product, std::string& error);

private:
    bool CheckInputs(const Product& product, std::string& error) const;
    static bool CarriesStringTables(const std::string& program, std::string& error);
    bool AddPayload(LibAppResource& resources, const Product& product, std::string& error);
    bool AddDeinstaller(LibAppResource& resources, Product& product, std::string& error);
    void RemoveOldEntries(LibAppResource& resources) const;
    bool Finish(LibAppResource& resources, Product& product, std::string& error);

    InstallerPaths fPaths;
    std::ostream& fProgress;
    std::string fTemporary;
};
