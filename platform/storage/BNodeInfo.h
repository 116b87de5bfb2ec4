// The file type ("BEOS:TYPE", kept as user.mime_type) and the preferred
// application of a node.
#pragma once

#include "BNode.h"

class BNodeInfo {
public:
    BNodeInfo();
    explicit BNodeInfo(BNode* node);
    virtual ~BNodeInfo();

    status_t SetTo(BNode* node);
    status_t InitCheck() const;

    // `type` receives at most B_MIME_TYPE_LENGTH bytes, zero included.
    status_t GetType(char* type) const;
    // A null type removes it.
    status_t SetType(const char* type);
    status_t GetPreferredApp(char* signature) const;
    status_t SetPreferredApp(const char* signature);

private:
    status_t GetString(const char* name, char* buffer) const;
    status_t SetString(const char* name, const char* value);

    BNode* fNode = nullptr;
};
