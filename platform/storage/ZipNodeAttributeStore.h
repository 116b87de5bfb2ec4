// Archive attributes kept as the nodes' own attributes (BNode): what the
// writer and the extractor use unless told otherwise.
#pragma once

#include "ZipAttributes.h"

class ZipNodeAttributeStore : public ZipAttributeStore {
public:
    status_t ReadAttributes(const char* path, ZipAttributeList& list) override;
    status_t WriteAttributes(const char* path, const ZipAttributeList& list) override;
    status_t WriteAttributes(int fd, const char* path, const ZipAttributeList& list) override;

    // One store serves every archive: it keeps no state of its own.
    static ZipNodeAttributeStore* Default();
};
