#include "LibPayloadUnpacker.h"

#include "BEntry.h"

#include <chrono>
#include <cstdio>

namespace {

// How long the caller waits for the writers before it reports progress
// and looks for a stop again.
constexpr std::chrono::milliseconds kWaitStep {20};

} // namespace

LibPayloadUnpacker::LibPayloadUnpacker(LibAppResource& resources, const LibExtractOptions& options)
    : fResources(resources)
    , fOptions(options)
{ }

LibPayloadUnpacker::~LibPayloadUnpacker()
{
    // Every writer gives up at once; then each item waits for its own.
    for (Item& item : fItems) {
        if (item.placer != nullptr)
            item.placer->Stop();
    }
    fItems.clear();
    fPlaced.clear();
}

size_t LibPayloadUnpacker::Add(
    const long& id, const char* destination, const ZipAttributeList& everyNode)
{
    Item item;
    item.id = id;
    item.destination = destination != nullptr ? destination : "";
    item.everyNode = everyNode;
    fItems.push_back(std::move(item));
    return fItems.size() - 1;
}

void LibPayloadUnpacker::Start(Item& item)
{
    off_t offset = 0;
    size_t size = 0;
    if (fResources.GetResourceRange(B_RAW_TYPE, int32(item.id), &offset, &size) != B_OK) {
        item.state = Item::State::InTurn;
        return;
    }
    LibExtractOptions options;
    options.everyNode = item.everyNode;
    options.writers = &fWriters;
    item.placer = std::make_unique<LibArchivePlacer>(options);
    item.state = Item::State::Unpacking;
    LibArchivePlacer::Request request;
    request.destination = item.destination.c_str();
    // A failure stays with the item until its turn.
    item.placer->Begin(fResources.File(), uint64(offset), size, request);
}

void LibPayloadUnpacker::Feed(size_t turn)
{
    // Each writer may work on an item of its own (a large file each).
    size_t end = std::min(fItems.size(), turn + 1 + size_t(fWriters.Threads()));
    for (size_t i = turn; i < end; ++i) {
        Item& item = fItems[i];
        if (item.state == Item::State::Waiting)
            Start(item);
        if (item.state != Item::State::Unpacking || item.handedOn)
            continue;
        item.handedOn = item.placer->Advance();
        if (!item.handedOn)
            return; // the queue is full: later items wait their turn
    }
}

bool LibPayloadUnpacker::Place(size_t turn, const std::function<void(const char* item)>& prepare)
{
    fError.clear();
    fStatus = B_OK;
    if (turn >= fItems.size())
        return Fail(B_BAD_INDEX, "no such item");
    Item& item = fItems[turn];
    Feed(turn);
    if (item.state != Item::State::Unpacking)
        return PlaceInTurn(item, prepare);
    while (!item.handedOn || !item.placer->Settled()) {
        fWriters.Wait(kWaitStep);
        uint64 written = fWriters.Written();
        if (fOptions.progress)
            fOptions.progress(item.placer->Done(), item.placer->Total());
        if (fOptions.shouldStop && fOptions.shouldStop()) {
            for (Item& each : fItems) {
                if (each.placer != nullptr)
                    each.placer->Stop();
            }
        } else {
            fWriters.Acknowledge(written);
        }
        Feed(turn);
    }
    if (fOptions.progress)
        fOptions.progress(item.placer->Done(), item.placer->Total());
    std::unique_ptr<LibArchivePlacer> placer = std::move(item.placer);
    status_t status = placer->Complete(prepare);
    if (status != B_OK)
        return Fail(status, placer->ErrorMessage());
    fPlaced.push_back(std::move(placer));
    return true;
}

bool LibPayloadUnpacker::PlaceInTurn(
    Item& item, const std::function<void(const char* item)>& prepare)
{
    LibExtractOptions options = fOptions;
    options.everyNode = item.everyNode;
    options.prepare = prepare;
    options.writers = &fWriters;
    fResources.SetExtractOptions(options);
    bool placed = fResources.ExtractEntry(item.id, item.destination.c_str(), true);
    fResources.SetExtractOptions({});
    return placed || Fail(fResources.LastStatus(), fResources.ErrorMessage());
}

bool LibPayloadUnpacker::Fail(status_t status, const std::string& message)
{
    fStatus = status;
    fError = message;
    return false;
}
