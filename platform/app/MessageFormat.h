// The flattened form of a message, in the R5 layout ('FOB1'): reads either
// byte order, writes little-endian, and refuses anything inconsistent.
#pragma once

#include "BMessage.h"

#include <cstdio>
#include <string>
#include <vector>

namespace MessageFormat {

constexpr uint32 kMagic = FourCC('F', 'O', 'B', '1');
constexpr size_t kHeaderSize = 17;
// Messages nested deeper than this are refused, by the reader and when added.
constexpr int kMaxDepth = 64;
// Items of no size cost no input bytes; one read accepts at most this many.
constexpr size_t kMaxEmptyItems = 65536;

// Field record flags.
enum : uint8 {
    kFieldValid = 0x01,
    kFieldMiniData = 0x02,
    kFieldFixedSize = 0x04,
    kFieldSingleItem = 0x08,
};

// Items of types with a size of their own, and raw items that all agree in
// size, lie back to back; strings, messages and raw items of differing sizes
// are written in the variable layout. The layout follows from the items alone,
// so equal messages always flatten to equal bytes.
bool IsFixedLayout(type_code type, const std::vector<std::string>& items);

// How many levels of messages lie inside `message` (0 when it holds none).
int NestingDepth(const BMessage& message);

size_t FlattenedSize(const BMessage& message);
std::string Flatten(const BMessage& message);

// Reads the message at the start of `data`; never reads beyond `size`. On
// error `result` is left empty.
status_t Unflatten(const char* data, size_t size, BMessage& result);

// The header checksum over the header bytes from offset 8 on.
uint32 HeaderChecksum(const uint8* header, size_t headerSize);

// A readable dump, nested messages indented.
void Print(const BMessage& message, FILE* stream, int indent);

} // namespace MessageFormat
