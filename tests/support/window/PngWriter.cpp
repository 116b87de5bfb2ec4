#include "PngWriter.h"

#include <fstream>
#include <zlib.h>

namespace stowtest {

namespace {

void PutBig(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((value >> shift) & 0xff);
}

void Chunk(std::string& out, const char* type, const std::string& data)
{
    PutBig(out, uint32_t(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    PutBig(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

} // namespace

uint32_t Pixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    const uint8_t* pixel = &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
    return uint32_t(pixel[0]) << 24 | uint32_t(pixel[1]) << 16 | uint32_t(pixel[2]) << 8 | pixel[3];
}

bool WritePng(const std::string& path, const Pixels& pixels)
{
    if (pixels.width <= 0 || pixels.height <= 0
        || pixels.rgba.size() != size_t(pixels.width) * size_t(pixels.height) * 4)
        return false;
    std::string header;
    PutBig(header, uint32_t(pixels.width));
    PutBig(header, uint32_t(pixels.height));
    header += std::string("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA
    std::string raw;
    size_t row = size_t(pixels.width) * 4;
    for (int y = 0; y < pixels.height; ++y) {
        raw += '\0'; // no filter
        raw.append(reinterpret_cast<const char*>(&pixels.rgba[row * size_t(y)]), row);
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::string compressed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(compressed.data()), &size,
            reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()), 9)
        != Z_OK)
        return false;
    compressed.resize(size);
    std::string file("\x89PNG\r\n\x1a\n", 8);
    Chunk(file, "IHDR", header);
    Chunk(file, "IDAT", compressed);
    Chunk(file, "IEND", "");
    std::ofstream out(path, std::ios::binary);
    out.write(file.data(), std::streamsize(file.size()));
    return bool(out);
}

} // namespace stowtest
