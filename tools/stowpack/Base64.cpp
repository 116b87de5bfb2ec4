#include "Base64.h"

#include <cstdint>

namespace Base64 {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

} // namespace

std::string Encode(const std::string& bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    size_t at = 0;
    for (; at + 3 <= bytes.size(); at += 3) {
        uint32_t group = uint32_t(uint8_t(bytes[at])) << 16 | uint32_t(uint8_t(bytes[at + 1])) << 8
            | uint8_t(bytes[at + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            text.push_back(kAlphabet[(group >> shift) & 63]);
    }
    size_t left = bytes.size() - at;
    if (left == 0)
        return text;
    uint32_t group = uint32_t(uint8_t(bytes[at])) << 16;
    if (left == 2)
        group |= uint32_t(uint8_t(bytes[at + 1])) << 8;
    text.push_back(kAlphabet[(group >> 18) & 63]);
    text.push_back(kAlphabet[(group >> 12) & 63]);
    text.push_back(left == 2 ? kAlphabet[(group >> 6) & 63] : '=');
    text.push_back('=');
    return text;
}

bool Decode(const std::string& text, std::string& bytes)
{
    bytes.clear();
    if (text.size() % 4 != 0)
        return false;
    bytes.reserve(text.size() / 4 * 3);
    for (size_t at = 0; at < text.size(); at += 4) {
        bool last = at + 4 == text.size();
        int padding = 0;
        if (last && text[at + 3] == '=')
            padding = text[at + 2] == '=' ? 2 : 1;
        uint32_t group = 0;
        for (int i = 0; i < 4; ++i) {
            int value = i < 4 - padding ? ValueOf(text[at + size_t(i)]) : 0;
            if (value < 0)
                return false;
            group = group << 6 | uint32_t(value);
        }
        bytes.push_back(char(group >> 16));
        if (padding < 2)
            bytes.push_back(char(group >> 8));
        if (padding < 1)
            bytes.push_back(char(group));
        // The bits the padding leaves unused must be zero.
        if ((padding == 2 && (group & 0xffff) != 0) || (padding == 1 && (group & 0xff) != 0))
            return false;
    }
    return true;
}

} // namespace Base64
