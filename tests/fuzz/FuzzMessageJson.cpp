// The JSON form of a message on arbitrary text: it must never crash; a
// refused document leaves the message empty; an accepted one writes a text
// that reads back to the same bytes and the same text.
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
        fprintf(stderr, "FuzzMessageJson: %s\n", what);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string document(reinterpret_cast<const char*>(data), size);
    BMessage message;
    std::string error;
    if (!MessageJson::Read(document, message, error)) {
        Check(message.IsEmpty() && message.what == 0, "a refused document left data behind");
        Check(!error.empty(), "a refused document gave no reason");
        return 0;
    }
    std::string flat = message.Flatten();
    std::string text = MessageJson::Write(message);
    BMessage again;
    Check(MessageJson::Read(text, again, error), "our own JSON does not read");
    Check(again.Flatten() == flat, "our own JSON gives other bytes");
    Check(MessageJson::Write(again) == text, "our own JSON does not read back the same");
    BMessage unflattened;
    Check(unflattened.Unflatten(flat) == B_OK, "the flattened form does not read");
    return 0;
}
