// The canonical JSON form of a message, both ways (docs/message-json.md):
// {"what": 0, "fields": [{"name": "app_name", "type": "CSTR", "values": [...]}]}
// Writing gives one fixed text for a message; reading it back gives the same
// message, whose flattened bytes equal those of the original.
#pragma once

#include "BMessage.h"

#include <string>

class JsonValue;

class MessageJson {
public:
    // How raw data (pictures, icons, sounds) is written.
    enum class RawData {
        Whole,   // every byte, in base64: the form Read takes back
        Counted, // more than 64 bytes as {"bytes": N}, for people to read
    };

    // The message as canonical JSON text, ending with a newline.
    static std::string Write(const BMessage& message, RawData raw = RawData::Whole);

    // Builds `message` from a JSON document in that form. On failure the
    // message is left empty and `error` names the offending place.
    static bool Read(const std::string& document, BMessage& message, std::string& error);

private:
    static void WriteMessage(std::string& out, const BMessage& message, size_t indent, RawData raw);
    static std::string ValueText(type_code type, const std::string& item, RawData raw);
    static bool ReadMessage(
        const JsonValue& value, BMessage& message, const std::string& where, std::string& error);
    static bool ReadField(
        const JsonValue& value, BMessage& message, const std::string& where, std::string& error);
    static bool ReadItem(type_code type, const JsonValue& value, std::string& item,
        const std::string& where, std::string& error);
};
