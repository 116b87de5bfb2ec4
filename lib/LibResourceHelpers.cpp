#include "LibResourceHelpers.h"

#include <algorithm>
#include <cstring>

namespace {

// The resource's bytes when it has exactly `size` of them.
const void* Exactly(BResources& resources, type_code type, const long& id, size_t size)
{
    if (id < INT32_MIN || id > INT32_MAX)
        return nullptr;
    size_t found = 0;
    const void* data = resources.LoadResource(type, int32(id), &found);
    return data != nullptr && found == size ? data : nullptr;
}

// The text of 'CSTR' `id` and its length, without a terminating zero.
const char* Text(BResources& resources, const long& id, size_t& length)
{
    if (id < INT32_MIN || id > INT32_MAX)
        return nullptr;
    size_t size = 0;
    const auto* data
        = static_cast<const char*>(resources.LoadResource(B_STRING_TYPE, int32(id), &size));
    if (data != nullptr)
        length = strnlen(data, size);
    return data;
}

} // namespace

bool LibFindRGBResource(BResources& resources, const long& id, rgb_color& color)
{
    const auto* data = static_cast<const uint8*>(Exactly(resources, B_RGB_COLOR_TYPE, id, 4));
    if (data == nullptr)
        return false;
    color = rgb_color {data[0], data[1], data[2], data[3]};
    return true;
}

bool LibFindRectResource(BResources& resources, const long& id, BRect& rect)
{
    const void* data = Exactly(resources, B_RECT_TYPE, id, 4 * sizeof(float));
    if (data == nullptr)
        return false;
    float edges[4];
    memcpy(edges, data, sizeof edges);
    rect = BRect(edges[0], edges[1], edges[2], edges[3]);
    return true;
}

bool LibFindShortResource(BResources& resources, const long& id, signed char& value)
{
    const void* data = Exactly(resources, B_INT8_TYPE, id, 1);
    if (data == nullptr)
        return false;
    memcpy(&value, data, 1);
    return true;
}

bool LibFindLongResource(BResources& resources, const long& id, long& value)
{
    const void* data = Exactly(resources, B_INT32_TYPE, id, sizeof(int32));
    if (data == nullptr)
        return false;
    int32 number;
    memcpy(&number, data, sizeof number);
    value = number;
    return true;
}

bool LibFindBoolResource(BResources& resources, const long& id, bool& value)
{
    const auto* data = static_cast<const uint8*>(Exactly(resources, B_BOOL_TYPE, id, 1));
    if (data == nullptr)
        return false;
    value = data[0] != 0;
    return true;
}

bool LibFindStringResource(BResources& resources, const long& id, char* text)
{
    if (text == nullptr)
        return false;
    text[0] = '\0';
    size_t length = 0;
    const char* data = Text(resources, id, length);
    if (data == nullptr)
        return false;
    memcpy(text, data, length);
    text[length] = '\0';
    return true;
}

bool LibFindStringResource(BResources& resources, const long& id, char* text, const size_t& size)
{
    if (text == nullptr || size == 0)
        return false;
    text[0] = '\0';
    size_t length = 0;
    const char* data = Text(resources, id, length);
    if (data == nullptr)
        return false;
    length = std::min(length, size - 1);
    memcpy(text, data, length);
    text[length] = '\0';
    return true;
}
