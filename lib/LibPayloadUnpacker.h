// Unpacks an installer's payload entries ahead of their turn: while the
// caller places one item (and perhaps asks the user about it), the next
// ones are already being unpacked on the other processors, each in a hidden
// folder beside its destination, within a fixed number of items and a
// bounded queue of files. Items are placed strictly in the order they were
// added; a stop or a failure leaves nothing of an item not yet placed.
#pragma once

#include "LibAppResource.h"
#include "LibArchivePlacer.h"
#include "ZipWriterPool.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class LibPayloadUnpacker {
public:
    // `options`: the stop check (asked while waiting, on the calling thread;
    // it may unwind) and the progress of the item being placed. The
    // payloads' checksums must have been verified already.
    LibPayloadUnpacker(LibAppResource& resources, const LibExtractOptions& options);
    // Stops what is under way and removes every item not placed.
    ~LibPayloadUnpacker();
    LibPayloadUnpacker(const LibPayloadUnpacker&) = delete;
    LibPayloadUnpacker& operator=(const LibPayloadUnpacker&) = delete;

    // Payload `id` is to go to the full path `destination`, every node of
    // it carrying `everyNode`. Returns its turn (0, 1, ...).
    size_t Add(const long& id, const char* destination, const ZipAttributeList& everyNode = {});
    // Waits until item `turn` (the next one) is unpacked, gives it to
    // `prepare` while still hidden and renames it to its destination,
    // replacing a file there. A missing payload places nothing and gives
    // true, as LibAppResource::ExtractEntry does.
    bool Place(size_t turn, const std::function<void(const char* item)>& prepare);

    const char* ErrorMessage() const { return fError.c_str(); }
    status_t LastStatus() const { return fStatus; }

private:
    struct Item {
        long id = 0;
        std::string destination;
        ZipAttributeList everyNode;
        enum class State { Waiting, Unpacking, InTurn } state = State::Waiting;
        std::unique_ptr<LibArchivePlacer> placer;
        bool handedOn = false; // every file is with the writers
    };

    // Starts and feeds the items from `turn` on, in order, as far ahead as
    // allowed.
    void Feed(size_t turn);
    void Start(Item& item);
    // A payload the file does not hold as a byte range: in its turn, whole.
    bool PlaceInTurn(Item& item, const std::function<void(const char* item)>& prepare);
    bool Fail(status_t status, const std::string& message);

    LibAppResource& fResources;
    LibExtractOptions fOptions;
    // Declared first, so that it goes last: the items' extractions use it.
    ZipWriterPool fWriters;
    std::vector<Item> fItems;
    // The emptied staging folders of placed items, removed all together at
    // the end rather than one by one while the others are being built.
    std::vector<std::unique_ptr<LibArchivePlacer>> fPlaced;
    std::string fError;
    status_t fStatus = B_OK;
};
