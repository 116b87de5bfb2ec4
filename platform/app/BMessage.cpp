#include "BMessage.h"

#include "MessageFormat.h"

#include <bit>
#include <cinttypes>
#include <cstdio>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "values are kept in little-endian form");

namespace {

template<typename T> std::string BytesOf(const T& value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(T));
}

std::string BytesOf(BRect rect)
{
    float edges[4] = {rect.left, rect.top, rect.right, rect.bottom};
    return std::string(reinterpret_cast<const char*>(edges), sizeof edges);
}

std::string BytesOf(BPoint point)
{
    float xy[2] = {point.x, point.y};
    return std::string(reinterpret_cast<const char*>(xy), sizeof xy);
}

template<typename T> T FromBytes(const std::string& bytes)
{
    T value {};
    if (bytes.size() == sizeof(T))
        memcpy(&value, bytes.data(), sizeof(T));
    return value;
}

template<> BRect FromBytes<BRect>(const std::string& bytes)
{
    float edges[4] = {0, 0, -1, -1};
    if (bytes.size() == sizeof edges)
        memcpy(edges, bytes.data(), sizeof edges);
    return BRect(edges[0], edges[1], edges[2], edges[3]);
}

template<> BPoint FromBytes<BPoint>(const std::string& bytes)
{
    float xy[2] = {0, 0};
    if (bytes.size() == sizeof xy)
        memcpy(xy, bytes.data(), sizeof xy);
    return BPoint(xy[0], xy[1]);
}

template<> bool FromBytes<bool>(const std::string& bytes)
{
    return bytes.size() == 1 && bytes[0] != 0;
}

std::string StringItem(const char* string)
{
    if (string == nullptr)
        string = "";
    return std::string(string, strlen(string) + 1);
}

std::string RefItem(const entry_ref& ref)
{
    std::string item = BytesOf(int64(ref.device)) + BytesOf(int64(ref.directory));
    item.append(ref.name.c_str(), ref.name.size() + 1);
    item.append(ref.directoryPath.c_str(), ref.directoryPath.size() + 1);
    return item;
}

bool RefFromItem(const std::string& item, entry_ref& ref)
{
    size_t nameEnd = item.find('\0', 16);
    if (item.size() < 18 || nameEnd == std::string::npos || item.back() != '\0')
        return false;
    int64 device, directory;
    memcpy(&device, item.data(), 8);
    memcpy(&directory, item.data() + 8, 8);
    ref = entry_ref(dev_t(device), ino_t(directory), item.c_str() + 16,
        item.substr(nameEnd + 1, item.size() - nameEnd - 2));
    return true;
}

} // namespace

bool type_is_fixed_size(type_code type, size_t* itemSize)
{
    size_t size = 0;
    bool fixed = true;
    switch (type) {
    case B_BOOL_TYPE:
    case B_INT8_TYPE:
    case B_UINT8_TYPE:
    case B_CHAR_TYPE:
        size = 1;
        break;
    case B_INT16_TYPE:
    case B_UINT16_TYPE:
        size = 2;
        break;
    case B_INT32_TYPE:
    case B_UINT32_TYPE:
    case B_FLOAT_TYPE:
    case B_RGB_COLOR_TYPE:
        size = 4;
        break;
    case B_INT64_TYPE:
    case B_UINT64_TYPE:
    case B_DOUBLE_TYPE:
    case B_POINT_TYPE:
        size = 8;
        break;
    case B_RECT_TYPE:
        size = 16;
        break;
    case B_STRING_TYPE:
    case B_MESSAGE_TYPE:
    case B_MIME_TYPE:
    case B_REF_TYPE:
        fixed = false;
        break;
    default:
        break; // raw and other types: fixed when their items agree in size
    }
    if (itemSize)
        *itemSize = size;
    return fixed;
}

BMessage::BMessage(uint32 whatCode)
    : what(whatCode)
{ }

BMessage::Field* BMessage::FieldNamed(const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (auto& field : fFields) {
        if (field.name == name)
            return &field;
    }
    return nullptr;
}

const BMessage::Field* BMessage::FieldNamed(const char* name) const
{
    return const_cast<BMessage*>(this)->FieldNamed(name);
}

status_t BMessage::GetInfo(type_code type, int32 index, const char** nameFound,
    type_code* typeFound, int32* countFound) const
{
    if (index < 0)
        return B_BAD_INDEX;
    int32 seen = 0;
    for (const auto& field : fFields) {
        if (type != B_ANY_TYPE && field.type != type)
            continue;
        if (seen++ != index)
            continue;
        if (nameFound)
            *nameFound = field.name.c_str();
        if (typeFound)
            *typeFound = field.type;
        if (countFound)
            *countFound = int32(field.items.size());
        return B_OK;
    }
    return seen == 0 ? B_BAD_TYPE : B_BAD_INDEX;
}

status_t BMessage::GetInfo(const char* name, type_code* typeFound, int32* countFound) const
{
    const Field* field = FieldNamed(name);
    if (field == nullptr)
        return B_NAME_NOT_FOUND;
    if (typeFound)
        *typeFound = field->type;
    if (countFound)
        *countFound = int32(field->items.size());
    return B_OK;
}

status_t BMessage::GetInfo(const char* name, type_code* typeFound, bool* fixedSize) const
{
    const Field* field = FieldNamed(name);
    if (field == nullptr)
        return B_NAME_NOT_FOUND;
    if (typeFound)
        *typeFound = field->type;
    if (fixedSize)
        *fixedSize = field->fixedSize;
    return B_OK;
}

int32 BMessage::CountNames(type_code type) const
{
    int32 count = 0;
    for (const auto& field : fFields) {
        if (type == B_ANY_TYPE || field.type == type)
            ++count;
    }
    return count;
}

status_t BMessage::MakeEmpty()
{
    fFields.clear();
    return B_OK;
}

status_t BMessage::Rename(const char* oldName, const char* newName)
{
    if (newName == nullptr || *newName == '\0')
        return B_BAD_VALUE;
    Field* field = FieldNamed(oldName);
    if (field == nullptr)
        return B_NAME_NOT_FOUND;
    if (FieldNamed(newName) != nullptr && field->name != newName)
        return B_NAME_IN_USE;
    field->name = newName;
    return B_OK;
}

void BMessage::PrintToStream() const
{
    MessageFormat::Print(*this, stdout, 0);
}

ssize_t BMessage::FlattenedSize() const
{
    return ssize_t(MessageFormat::FlattenedSize(*this));
}

status_t BMessage::Flatten(char* buffer, ssize_t size) const
{
    if (buffer == nullptr || size < 0)
        return B_BAD_VALUE;
    std::string bytes = MessageFormat::Flatten(*this);
    if (size_t(size) < bytes.size())
        return B_BAD_VALUE;
    memcpy(buffer, bytes.data(), bytes.size());
    return B_OK;
}

std::string BMessage::Flatten() const
{
    return MessageFormat::Flatten(*this);
}

status_t BMessage::Unflatten(const char* data, size_t size)
{
    BMessage result;
    status_t status = MessageFormat::Unflatten(data, size, result);
    if (status != B_OK) {
        what = 0;
        fFields.clear();
        return status;
    }
    *this = std::move(result);
    return B_OK;
}

status_t BMessage::AddField(Field field)
{
    if (!ValidName(field.name) || field.items.empty())
        return B_BAD_VALUE;
    if (FieldNamed(field.name.c_str()) != nullptr)
        return B_NAME_IN_USE;
    size_t itemSize = 0;
    type_is_fixed_size(field.type, &itemSize);
    for (const auto& item : field.items) {
        if (itemSize != 0 && item.size() != itemSize)
            return B_BAD_VALUE;
        if (field.type == B_STRING_TYPE && (item.empty() || item.back() != '\0'))
            return B_BAD_VALUE;
    }
    field.fixedSize = MessageFormat::IsFixedLayout(field.type, field.items);
    fFields.push_back(std::move(field));
    return B_OK;
}

bool BMessage::ValidName(const std::string& name)
{
    return !name.empty() && name.size() <= kMaxNameLength && name.find('\0') == std::string::npos;
}

status_t BMessage::MakeItem(type_code type, const void* data, ssize_t numBytes, std::string& item)
{
    if (numBytes < 0 || (data == nullptr && numBytes > 0))
        return B_BAD_VALUE;
    item.assign(static_cast<const char*>(data), size_t(numBytes));
    size_t itemSize = 0;
    type_is_fixed_size(type, &itemSize);
    if (itemSize != 0 && item.size() != itemSize)
        return B_BAD_VALUE;
    if (type == B_STRING_TYPE && (item.empty() || item.back() != '\0'))
        return B_BAD_VALUE;
    if (type == B_MESSAGE_TYPE) {
        BMessage nested;
        if (nested.Unflatten(item) != B_OK)
            return B_BAD_VALUE;
        return MessageItem(&nested, item);
    }
    return B_OK;
}

status_t BMessage::MessageItem(const BMessage* message, std::string& item)
{
    if (message == nullptr)
        return B_BAD_VALUE;
    // The message that holds this one must stay readable.
    if (MessageFormat::NestingDepth(*message) + 1 > MessageFormat::kMaxDepth)
        return B_BAD_VALUE;
    item = message->Flatten(); // nested messages are kept in canonical form
    return B_OK;
}

status_t BMessage::AddData(const char* name, type_code type, const void* data, ssize_t numBytes,
    bool isFixedSize, int32 count)
{
    // The layout follows from the items (MessageFormat::IsFixedLayout), so
    // `isFixedSize` and `count` are only hints.
    std::string item;
    status_t status = MakeItem(type, data, numBytes, item);
    if (status != B_OK)
        return status;
    return AddItem(name, type, std::move(item), count);
}

status_t BMessage::AddItem(const char* name, type_code type, std::string item, int32 count)
{
    if (name == nullptr || !ValidName(name))
        return B_BAD_VALUE;
    Field* field = FieldNamed(name);
    if (field == nullptr) {
        Field added;
        added.name = name;
        added.type = type;
        added.fixedSize = type_is_fixed_size(type);
        fFields.push_back(std::move(added));
        field = &fFields.back();
        field->items.reserve(size_t(count > 0 ? count : 1));
    } else if (field->type != type) {
        return B_BAD_TYPE;
    }
    if (field->fixedSize && !field->items.empty() && field->items.front().size() != item.size())
        field->fixedSize = false; // raw items of differing sizes
    field->items.push_back(std::move(item));
    return B_OK;
}

template<typename T> status_t BMessage::AddFixed(const char* name, type_code type, const T& value)
{
    std::string bytes = BytesOf(value);
    return AddData(name, type, bytes.data(), ssize_t(bytes.size()));
}

status_t BMessage::AddRect(const char* name, BRect rect)
{
    return AddFixed(name, B_RECT_TYPE, rect);
}

status_t BMessage::AddPoint(const char* name, BPoint point)
{
    return AddFixed(name, B_POINT_TYPE, point);
}

status_t BMessage::AddString(const char* name, const char* string)
{
    std::string item = StringItem(string);
    return AddData(name, B_STRING_TYPE, item.data(), ssize_t(item.size()), false);
}

status_t BMessage::AddString(const char* name, const std::string& string)
{
    std::string item(string.c_str(), string.size() + 1);
    return AddData(name, B_STRING_TYPE, item.data(), ssize_t(item.size()), false);
}

status_t BMessage::AddInt8(const char* name, int8 value)
{
    return AddFixed(name, B_INT8_TYPE, value);
}

status_t BMessage::AddInt16(const char* name, int16 value)
{
    return AddFixed(name, B_INT16_TYPE, value);
}

status_t BMessage::AddInt32(const char* name, int32 value)
{
    return AddFixed(name, B_INT32_TYPE, value);
}

status_t BMessage::AddInt64(const char* name, int64 value)
{
    return AddFixed(name, B_INT64_TYPE, value);
}

status_t BMessage::AddBool(const char* name, bool value)
{
    return AddFixed(name, B_BOOL_TYPE, uint8(value ? 1 : 0));
}

status_t BMessage::AddFloat(const char* name, float value)
{
    return AddFixed(name, B_FLOAT_TYPE, value);
}

status_t BMessage::AddDouble(const char* name, double value)
{
    return AddFixed(name, B_DOUBLE_TYPE, value);
}

status_t BMessage::AddMessage(const char* name, const BMessage* message)
{
    std::string item;
    status_t status = MessageItem(message, item);
    if (status != B_OK)
        return status;
    return AddItem(name, B_MESSAGE_TYPE, std::move(item), 1);
}

status_t BMessage::AddRef(const char* name, const entry_ref* ref)
{
    if (ref == nullptr)
        return B_BAD_VALUE;
    return AddItem(name, B_REF_TYPE, RefItem(*ref), 1);
}

status_t BMessage::RemoveData(const char* name, int32 index)
{
    Field* field = FieldNamed(name);
    if (field == nullptr)
        return B_NAME_NOT_FOUND;
    if (index < 0 || size_t(index) >= field->items.size())
        return B_BAD_INDEX;
    field->items.erase(field->items.begin() + index);
    if (field->items.empty())
        return RemoveName(name);
    if (!field->fixedSize)
        field->fixedSize = MessageFormat::IsFixedLayout(field->type, field->items);
    return B_OK;
}

status_t BMessage::RemoveName(const char* name)
{
    Field* field = FieldNamed(name);
    if (field == nullptr)
        return B_NAME_NOT_FOUND;
    fFields.erase(fFields.begin() + (field - fFields.data()));
    return B_OK;
}

const std::string* BMessage::Item(
    const char* name, type_code type, int32 index, status_t* error) const
{
    const Field* field = FieldNamed(name);
    status_t status = B_OK;
    if (field == nullptr)
        status = B_NAME_NOT_FOUND;
    else if (type != B_ANY_TYPE && field->type != type)
        status = B_BAD_TYPE;
    else if (index < 0 || size_t(index) >= field->items.size())
        status = B_BAD_INDEX;
    if (error)
        *error = status;
    return status == B_OK ? &field->items[size_t(index)] : nullptr;
}

status_t BMessage::FindData(
    const char* name, type_code type, const void** data, ssize_t* numBytes) const
{
    return FindData(name, type, 0, data, numBytes);
}

status_t BMessage::FindData(
    const char* name, type_code type, int32 index, const void** data, ssize_t* numBytes) const
{
    status_t status;
    const std::string* item = Item(name, type, index, &status);
    if (item == nullptr)
        return status;
    if (data)
        *data = item->data();
    if (numBytes)
        *numBytes = ssize_t(item->size());
    return B_OK;
}

template<typename T>
status_t BMessage::FindFixed(const char* name, type_code type, int32 index, T* value) const
{
    status_t status;
    const std::string* item = Item(name, type, index, &status);
    if (item == nullptr)
        return status;
    if (value)
        *value = FromBytes<T>(*item);
    return B_OK;
}

template<typename T> T BMessage::ValueOf(const char* name, type_code type, int32 index) const
{
    T value {};
    if (FindFixed(name, type, index, &value) != B_OK)
        return T {};
    return value;
}

status_t BMessage::FindRect(const char* name, BRect* rect) const
{
    return FindFixed(name, B_RECT_TYPE, 0, rect);
}

status_t BMessage::FindRect(const char* name, int32 index, BRect* rect) const
{
    return FindFixed(name, B_RECT_TYPE, index, rect);
}

status_t BMessage::FindPoint(const char* name, BPoint* point) const
{
    return FindFixed(name, B_POINT_TYPE, 0, point);
}

status_t BMessage::FindPoint(const char* name, int32 index, BPoint* point) const
{
    return FindFixed(name, B_POINT_TYPE, index, point);
}

status_t BMessage::FindString(const char* name, const char** string) const
{
    return FindString(name, 0, string);
}

status_t BMessage::FindString(const char* name, int32 index, const char** string) const
{
    status_t status;
    const std::string* item = Item(name, B_STRING_TYPE, index, &status);
    if (item == nullptr)
        return status;
    if (string)
        *string = item->c_str();
    return B_OK;
}

status_t BMessage::FindString(const char* name, std::string* string) const
{
    return FindString(name, 0, string);
}

status_t BMessage::FindString(const char* name, int32 index, std::string* string) const
{
    status_t status;
    const std::string* item = Item(name, B_STRING_TYPE, index, &status);
    if (item == nullptr)
        return status;
    if (string)
        string->assign(item->c_str()); // up to the first zero, as C callers see it
    return B_OK;
}

status_t BMessage::FindInt8(const char* name, int8* value) const
{
    return FindFixed(name, B_INT8_TYPE, 0, value);
}

status_t BMessage::FindInt8(const char* name, int32 index, int8* value) const
{
    return FindFixed(name, B_INT8_TYPE, index, value);
}

status_t BMessage::FindInt16(const char* name, int16* value) const
{
    return FindFixed(name, B_INT16_TYPE, 0, value);
}

status_t BMessage::FindInt16(const char* name, int32 index, int16* value) const
{
    return FindFixed(name, B_INT16_TYPE, index, value);
}

status_t BMessage::FindInt32(const char* name, int32* value) const
{
    return FindFixed(name, B_INT32_TYPE, 0, value);
}

status_t BMessage::FindInt32(const char* name, int32 index, int32* value) const
{
    return FindFixed(name, B_INT32_TYPE, index, value);
}

status_t BMessage::FindInt64(const char* name, int64* value) const
{
    return FindFixed(name, B_INT64_TYPE, 0, value);
}

status_t BMessage::FindInt64(const char* name, int32 index, int64* value) const
{
    return FindFixed(name, B_INT64_TYPE, index, value);
}

status_t BMessage::FindBool(const char* name, bool* value) const
{
    return FindFixed(name, B_BOOL_TYPE, 0, value);
}

status_t BMessage::FindBool(const char* name, int32 index, bool* value) const
{
    return FindFixed(name, B_BOOL_TYPE, index, value);
}

status_t BMessage::FindFloat(const char* name, float* value) const
{
    return FindFixed(name, B_FLOAT_TYPE, 0, value);
}

status_t BMessage::FindFloat(const char* name, int32 index, float* value) const
{
    return FindFixed(name, B_FLOAT_TYPE, index, value);
}

status_t BMessage::FindDouble(const char* name, double* value) const
{
    return FindFixed(name, B_DOUBLE_TYPE, 0, value);
}

status_t BMessage::FindDouble(const char* name, int32 index, double* value) const
{
    return FindFixed(name, B_DOUBLE_TYPE, index, value);
}

status_t BMessage::FindMessage(const char* name, BMessage* message) const
{
    return FindMessage(name, 0, message);
}

status_t BMessage::FindMessage(const char* name, int32 index, BMessage* message) const
{
    status_t status;
    const std::string* item = Item(name, B_MESSAGE_TYPE, index, &status);
    if (item == nullptr)
        return status;
    if (message == nullptr)
        return B_BAD_VALUE;
    return message->Unflatten(*item);
}

status_t BMessage::AddPointer(const char* name, const void* pointer)
{
    uint64 value = reinterpret_cast<uintptr_t>(pointer);
    return AddData(name, B_POINTER_TYPE, &value, sizeof(value));
}

status_t BMessage::FindPointer(const char* name, void** pointer) const
{
    return FindPointer(name, 0, pointer);
}

status_t BMessage::FindPointer(const char* name, int32 index, void** pointer) const
{
    const void* data = nullptr;
    ssize_t size = 0;
    status_t status = FindData(name, B_POINTER_TYPE, index, &data, &size);
    if (status != B_OK)
        return status;
    if (size != sizeof(uint64))
        return B_BAD_DATA;
    uint64 value = 0;
    memcpy(&value, data, sizeof(value));
    if (pointer != nullptr)
        *pointer = reinterpret_cast<void*>(uintptr_t(value));
    return B_OK;
}

status_t BMessage::FindRef(const char* name, entry_ref* ref) const
{
    return FindRef(name, 0, ref);
}

status_t BMessage::FindRef(const char* name, int32 index, entry_ref* ref) const
{
    status_t status;
    const std::string* item = Item(name, B_REF_TYPE, index, &status);
    if (item == nullptr)
        return status;
    entry_ref found;
    if (!RefFromItem(*item, found))
        return B_BAD_DATA;
    if (ref)
        *ref = std::move(found);
    return B_OK;
}

const char* BMessage::FindString(const char* name, int32 index) const
{
    const char* string = nullptr;
    if (FindString(name, index, &string) != B_OK)
        return "";
    return string;
}

int8 BMessage::FindInt8(const char* name, int32 index) const
{
    return ValueOf<int8>(name, B_INT8_TYPE, index);
}

int16 BMessage::FindInt16(const char* name, int32 index) const
{
    return ValueOf<int16>(name, B_INT16_TYPE, index);
}

int32 BMessage::FindInt32(const char* name, int32 index) const
{
    return ValueOf<int32>(name, B_INT32_TYPE, index);
}

int64 BMessage::FindInt64(const char* name, int32 index) const
{
    return ValueOf<int64>(name, B_INT64_TYPE, index);
}

bool BMessage::FindBool(const char* name, int32 index) const
{
    return ValueOf<bool>(name, B_BOOL_TYPE, index);
}

float BMessage::FindFloat(const char* name, int32 index) const
{
    return ValueOf<float>(name, B_FLOAT_TYPE, index);
}

double BMessage::FindDouble(const char* name, int32 index) const
{
    return ValueOf<double>(name, B_DOUBLE_TYPE, index);
}

BRect BMessage::FindRect(const char* name, int32 index) const
{
    BRect rect;
    FindFixed(name, B_RECT_TYPE, index, &rect);
    return rect;
}

BPoint BMessage::FindPoint(const char* name, int32 index) const
{
    return ValueOf<BPoint>(name, B_POINT_TYPE, index);
}

bool BMessage::HasData(const char* name, type_code type, int32 index) const
{
    return Item(name, type, index, nullptr) != nullptr;
}

bool BMessage::HasRect(const char* name, int32 index) const
{
    return HasData(name, B_RECT_TYPE, index);
}

bool BMessage::HasPoint(const char* name, int32 index) const
{
    return HasData(name, B_POINT_TYPE, index);
}

bool BMessage::HasString(const char* name, int32 index) const
{
    return HasData(name, B_STRING_TYPE, index);
}

bool BMessage::HasInt8(const char* name, int32 index) const
{
    return HasData(name, B_INT8_TYPE, index);
}

bool BMessage::HasInt16(const char* name, int32 index) const
{
    return HasData(name, B_INT16_TYPE, index);
}

bool BMessage::HasInt32(const char* name, int32 index) const
{
    return HasData(name, B_INT32_TYPE, index);
}

bool BMessage::HasInt64(const char* name, int32 index) const
{
    return HasData(name, B_INT64_TYPE, index);
}

bool BMessage::HasBool(const char* name, int32 index) const
{
    return HasData(name, B_BOOL_TYPE, index);
}

bool BMessage::HasFloat(const char* name, int32 index) const
{
    return HasData(name, B_FLOAT_TYPE, index);
}

bool BMessage::HasDouble(const char* name, int32 index) const
{
    return HasData(name, B_DOUBLE_TYPE, index);
}

bool BMessage::HasMessage(const char* name, int32 index) const
{
    return HasData(name, B_MESSAGE_TYPE, index);
}

bool BMessage::HasRef(const char* name, int32 index) const
{
    return HasData(name, B_REF_TYPE, index);
}

status_t BMessage::ReplaceData(const char* name, type_code type, const void* data, ssize_t numBytes)
{
    return ReplaceData(name, type, 0, data, numBytes);
}

status_t BMessage::ReplaceData(
    const char* name, type_code type, int32 index, const void* data, ssize_t numBytes)
{
    status_t status;
    if (Item(name, type, index, &status) == nullptr)
        return status;
    Field* field = FieldNamed(name);
    std::string item;
    status = MakeItem(field->type, data, numBytes, item);
    if (status != B_OK)
        return status;
    return ReplaceItem(*field, index, std::move(item));
}

status_t BMessage::ReplaceItem(Field& field, int32 index, std::string item)
{
    bool sameSize = field.items[size_t(index)].size() == item.size();
    field.items[size_t(index)] = std::move(item);
    if (!sameSize)
        field.fixedSize = MessageFormat::IsFixedLayout(field.type, field.items);
    return B_OK;
}

template<typename T>
status_t BMessage::ReplaceFixed(const char* name, type_code type, int32 index, const T& value)
{
    std::string bytes = BytesOf(value);
    return ReplaceData(name, type, index, bytes.data(), ssize_t(bytes.size()));
}

status_t BMessage::ReplaceRect(const char* name, BRect rect)
{
    return ReplaceFixed(name, B_RECT_TYPE, 0, rect);
}

status_t BMessage::ReplaceRect(const char* name, int32 index, BRect rect)
{
    return ReplaceFixed(name, B_RECT_TYPE, index, rect);
}

status_t BMessage::ReplacePoint(const char* name, BPoint point)
{
    return ReplaceFixed(name, B_POINT_TYPE, 0, point);
}

status_t BMessage::ReplacePoint(const char* name, int32 index, BPoint point)
{
    return ReplaceFixed(name, B_POINT_TYPE, index, point);
}

status_t BMessage::ReplaceString(const char* name, const char* string)
{
    return ReplaceString(name, 0, string);
}

status_t BMessage::ReplaceString(const char* name, int32 index, const char* string)
{
    std::string item = StringItem(string);
    return ReplaceData(name, B_STRING_TYPE, index, item.data(), ssize_t(item.size()));
}

status_t BMessage::ReplaceInt8(const char* name, int8 value)
{
    return ReplaceFixed(name, B_INT8_TYPE, 0, value);
}

status_t BMessage::ReplaceInt8(const char* name, int32 index, int8 value)
{
    return ReplaceFixed(name, B_INT8_TYPE, index, value);
}

status_t BMessage::ReplaceInt16(const char* name, int16 value)
{
    return ReplaceFixed(name, B_INT16_TYPE, 0, value);
}

status_t BMessage::ReplaceInt16(const char* name, int32 index, int16 value)
{
    return ReplaceFixed(name, B_INT16_TYPE, index, value);
}

status_t BMessage::ReplaceInt32(const char* name, int32 value)
{
    return ReplaceFixed(name, B_INT32_TYPE, 0, value);
}

status_t BMessage::ReplaceInt32(const char* name, int32 index, int32 value)
{
    return ReplaceFixed(name, B_INT32_TYPE, index, value);
}

status_t BMessage::ReplaceInt64(const char* name, int64 value)
{
    return ReplaceFixed(name, B_INT64_TYPE, 0, value);
}

status_t BMessage::ReplaceInt64(const char* name, int32 index, int64 value)
{
    return ReplaceFixed(name, B_INT64_TYPE, index, value);
}

status_t BMessage::ReplaceBool(const char* name, bool value)
{
    return ReplaceFixed(name, B_BOOL_TYPE, 0, uint8(value ? 1 : 0));
}

status_t BMessage::ReplaceBool(const char* name, int32 index, bool value)
{
    return ReplaceFixed(name, B_BOOL_TYPE, index, uint8(value ? 1 : 0));
}

status_t BMessage::ReplaceFloat(const char* name, float value)
{
    return ReplaceFixed(name, B_FLOAT_TYPE, 0, value);
}

status_t BMessage::ReplaceFloat(const char* name, int32 index, float value)
{
    return ReplaceFixed(name, B_FLOAT_TYPE, index, value);
}

status_t BMessage::ReplaceDouble(const char* name, double value)
{
    return ReplaceFixed(name, B_DOUBLE_TYPE, 0, value);
}

status_t BMessage::ReplaceDouble(const char* name, int32 index, double value)
{
    return ReplaceFixed(name, B_DOUBLE_TYPE, index, value);
}

status_t BMessage::ReplaceMessage(const char* name, const BMessage* message)
{
    return ReplaceMessage(name, 0, message);
}

status_t BMessage::ReplaceMessage(const char* name, int32 index, const BMessage* message)
{
    status_t status;
    if (Item(name, B_MESSAGE_TYPE, index, &status) == nullptr)
        return status;
    std::string item;
    status = MessageItem(message, item);
    if (status != B_OK)
        return status;
    return ReplaceItem(*FieldNamed(name), index, std::move(item));
}

status_t BMessage::ReplaceRef(const char* name, const entry_ref* ref)
{
    return ReplaceRef(name, 0, ref);
}

status_t BMessage::ReplaceRef(const char* name, int32 index, const entry_ref* ref)
{
    if (ref == nullptr)
        return B_BAD_VALUE;
    std::string item = RefItem(*ref);
    return ReplaceData(name, B_REF_TYPE, index, item.data(), ssize_t(item.size()));
}
