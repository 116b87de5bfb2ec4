// The flattened form of a message, in the R5 layout ('FOB1'): reads either
// byte order, writes little-endian, and refuses anything inconsistent.
#pragma once

#include "BMessage.h"

#include <cstdio>
#include <string>

namespace MessageFormat {

constexpr uint32 kMagic = FourCC('F', 'O', 'B', '1');
constexpr size_t kHeaderSize = 17;
constexpr int kMaxDepth = 64;

// Field record flags.
enum : uint8 {
    kFieldValid = 0x01,
    kFieldMiniData = 0x02,
    kFieldFixedSize = 0x04,
    kFieldSingleItem = 0x08,
};

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
