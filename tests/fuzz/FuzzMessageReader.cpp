// The flattened-message reader on arbitrary bytes: it must never crash or
// read past its input; a refused input leaves the message empty; whatever it
// accepts flattens to bytes that read back to the same bytes, also by way of
// the JSON form.
#include "BMessage.h"
#include "MessageJson.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        fprintf(stderr, "FuzzMessageReader: %s\n", what);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BMessage message;
    if (message.Unflatten(reinterpret_cast<const char*>(data), size) != B_OK) {
        Check(message.IsEmpty() && message.what == 0, "a refused input left data behind");
        return 0;
    }
    std::string flat = message.Flatten();
    Check(message.FlattenedSize() == ssize_t(flat.size()), "FlattenedSize disagrees with Flatten");
    BMessage again;
    Check(again.Unflatten(flat) == B_OK, "our own bytes do not read");
    Check(again.Flatten() == flat, "our own bytes do not read back the same");

    std::string json = MessageJson::Write(message);
    BMessage fromJson;
    std::string error;
    Check(MessageJson::Read(json, fromJson, error), "our own JSON does not read");
    Check(fromJson.Flatten() == flat, "the JSON form does not give back the same bytes");
    return 0;
}
