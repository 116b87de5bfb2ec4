// A message: a `what` code and named fields of typed values, several values
// per name, nested messages included. Loopers carry messages between threads;
// records and attributes store them in their flattened form (MessageFormat).
#pragma once

#include "BPoint.h"
#include "BRect.h"
#include "SupportDefs.h"
#include "entry_ref.h"

#include <string>
#include <vector>

class BMessage {
public:
    uint32 what = 0;

    BMessage() = default;
    explicit BMessage(uint32 what);
    BMessage(const BMessage&) = default;
    BMessage(BMessage&&) noexcept = default;
    BMessage& operator=(const BMessage&) = default;
    BMessage& operator=(BMessage&&) noexcept = default;
    virtual ~BMessage() = default;

    // One named field: its type, whether its items all have one size, and the
    // items' bytes (a string item includes its terminating zero; a message
    // item is the nested message in flattened form).
    struct Field {
        std::string name;
        type_code type = 0;
        bool fixedSize = true;
        std::vector<std::string> items;
    };

    // Field information.
    status_t GetInfo(type_code type, int32 index, const char** nameFound, type_code* typeFound,
        int32* countFound = nullptr) const;
    status_t GetInfo(const char* name, type_code* typeFound, int32* countFound = nullptr) const;
    status_t GetInfo(const char* name, type_code* typeFound, bool* fixedSize) const;
    int32 CountNames(type_code type) const;
    bool IsEmpty() const { return fFields.empty(); }
    status_t MakeEmpty();
    status_t Rename(const char* oldName, const char* newName);
    void PrintToStream() const;
    const std::vector<Field>& Fields() const { return fFields; }

    // The flattened form; the layout itself lives in MessageFormat.
    ssize_t FlattenedSize() const;
    status_t Flatten(char* buffer, ssize_t size) const;
    std::string Flatten() const;
    // Reads a flattened message of at most `size` bytes. On any error the
    // message is left empty and the error is returned.
    status_t Unflatten(const char* data, size_t size);
    status_t Unflatten(const std::string& data) { return Unflatten(data.data(), data.size()); }

    // Adding. A field's type is fixed by its first value.
    status_t AddData(const char* name, type_code type, const void* data, ssize_t numBytes,
        bool isFixedSize = true, int32 count = 1);
    status_t AddRect(const char* name, BRect rect);
    status_t AddPoint(const char* name, BPoint point);
    status_t AddString(const char* name, const char* string);
    status_t AddString(const char* name, const std::string& string);
    status_t AddInt8(const char* name, int8 value);
    status_t AddInt16(const char* name, int16 value);
    status_t AddInt32(const char* name, int32 value);
    status_t AddInt64(const char* name, int64 value);
    status_t AddBool(const char* name, bool value);
    status_t AddFloat(const char* name, float value);
    status_t AddDouble(const char* name, double value);
    status_t AddMessage(const char* name, const BMessage* message);
    // A reference item ('RREF'): device and folder inode as 64-bit numbers,
    // then the leaf name and the folder's path, each zero-terminated.
    status_t AddRef(const char* name, const entry_ref* ref);
    // A pointer is meaningful only inside this process (the "source" of a
    // control's message); flattened, it is eight raw bytes.
    status_t AddPointer(const char* name, const void* pointer);

    // Removing.
    status_t RemoveData(const char* name, int32 index = 0);
    status_t RemoveName(const char* name);

    // Finding. B_ANY_TYPE matches a field of any type.
    status_t FindData(const char* name, type_code type, const void** data, ssize_t* numBytes) const;
    status_t FindData(
        const char* name, type_code type, int32 index, const void** data, ssize_t* numBytes) const;
    status_t FindRect(const char* name, BRect* rect) const;
    status_t FindRect(const char* name, int32 index, BRect* rect) const;
    status_t FindPoint(const char* name, BPoint* point) const;
    status_t FindPoint(const char* name, int32 index, BPoint* point) const;
    status_t FindString(const char* name, const char** string) const;
    status_t FindString(const char* name, int32 index, const char** string) const;
    status_t FindString(const char* name, std::string* string) const;
    status_t FindString(const char* name, int32 index, std::string* string) const;
    status_t FindInt8(const char* name, int8* value) const;
    status_t FindInt8(const char* name, int32 index, int8* value) const;
    status_t FindInt16(const char* name, int16* value) const;
    status_t FindInt16(const char* name, int32 index, int16* value) const;
    status_t FindInt32(const char* name, int32* value) const;
    status_t FindInt32(const char* name, int32 index, int32* value) const;
    status_t FindInt64(const char* name, int64* value) const;
    status_t FindInt64(const char* name, int32 index, int64* value) const;
    status_t FindBool(const char* name, bool* value) const;
    status_t FindBool(const char* name, int32 index, bool* value) const;
    status_t FindFloat(const char* name, float* value) const;
    status_t FindFloat(const char* name, int32 index, float* value) const;
    status_t FindDouble(const char* name, double* value) const;
    status_t FindDouble(const char* name, int32 index, double* value) const;
    status_t FindMessage(const char* name, BMessage* message) const;
    status_t FindMessage(const char* name, int32 index, BMessage* message) const;
    status_t FindRef(const char* name, entry_ref* ref) const;
    status_t FindPointer(const char* name, void** pointer) const;
    status_t FindPointer(const char* name, int32 index, void** pointer) const;
    status_t FindRef(const char* name, int32 index, entry_ref* ref) const;

    // Value forms: a missing or mistyped field reads as empty, false or 0.
    const char* FindString(const char* name, int32 index = 0) const;
    int8 FindInt8(const char* name, int32 index = 0) const;
    int16 FindInt16(const char* name, int32 index = 0) const;
    int32 FindInt32(const char* name, int32 index = 0) const;
    int64 FindInt64(const char* name, int32 index = 0) const;
    bool FindBool(const char* name, int32 index = 0) const;
    float FindFloat(const char* name, int32 index = 0) const;
    double FindDouble(const char* name, int32 index = 0) const;
    BRect FindRect(const char* name, int32 index = 0) const;
    BPoint FindPoint(const char* name, int32 index = 0) const;

    // Whether item `index` of a field of that type exists.
    bool HasData(const char* name, type_code type, int32 index = 0) const;
    bool HasRect(const char* name, int32 index = 0) const;
    bool HasPoint(const char* name, int32 index = 0) const;
    bool HasString(const char* name, int32 index = 0) const;
    bool HasInt8(const char* name, int32 index = 0) const;
    bool HasInt16(const char* name, int32 index = 0) const;
    bool HasInt32(const char* name, int32 index = 0) const;
    bool HasInt64(const char* name, int32 index = 0) const;
    bool HasBool(const char* name, int32 index = 0) const;
    bool HasFloat(const char* name, int32 index = 0) const;
    bool HasDouble(const char* name, int32 index = 0) const;
    bool HasMessage(const char* name, int32 index = 0) const;
    bool HasRef(const char* name, int32 index = 0) const;

    // Replacing an existing item; a missing one is an error.
    status_t ReplaceData(const char* name, type_code type, const void* data, ssize_t numBytes);
    status_t ReplaceData(
        const char* name, type_code type, int32 index, const void* data, ssize_t numBytes);
    status_t ReplaceRect(const char* name, BRect rect);
    status_t ReplaceRect(const char* name, int32 index, BRect rect);
    status_t ReplacePoint(const char* name, BPoint point);
    status_t ReplacePoint(const char* name, int32 index, BPoint point);
    status_t ReplaceString(const char* name, const char* string);
    status_t ReplaceString(const char* name, int32 index, const char* string);
    status_t ReplaceInt8(const char* name, int8 value);
    status_t ReplaceInt8(const char* name, int32 index, int8 value);
    status_t ReplaceInt16(const char* name, int16 value);
    status_t ReplaceInt16(const char* name, int32 index, int16 value);
    status_t ReplaceInt32(const char* name, int32 value);
    status_t ReplaceInt32(const char* name, int32 index, int32 value);
    status_t ReplaceInt64(const char* name, int64 value);
    status_t ReplaceInt64(const char* name, int32 index, int64 value);
    status_t ReplaceBool(const char* name, bool value);
    status_t ReplaceBool(const char* name, int32 index, bool value);
    status_t ReplaceFloat(const char* name, float value);
    status_t ReplaceFloat(const char* name, int32 index, float value);
    status_t ReplaceDouble(const char* name, double value);
    status_t ReplaceDouble(const char* name, int32 index, double value);
    status_t ReplaceMessage(const char* name, const BMessage* message);
    status_t ReplaceMessage(const char* name, int32 index, const BMessage* message);
    status_t ReplaceRef(const char* name, const entry_ref* ref);
    status_t ReplaceRef(const char* name, int32 index, const entry_ref* ref);

    // Appends a field as given (its layout follows from the items); the reader
    // of the flattened form uses it. Message items must already be canonical
    // flattened messages. Fails when a field of that name exists already.
    status_t AddField(Field field);

    // Names are stored with a one-byte length.
    static constexpr size_t kMaxNameLength = 255;

private:
    static bool ValidName(const std::string& name);
    static status_t MakeItem(type_code type, const void* data, ssize_t numBytes, std::string& item);
    static status_t MessageItem(const BMessage* message, std::string& item);
    status_t AddItem(const char* name, type_code type, std::string item, int32 count);
    status_t ReplaceItem(Field& field, int32 index, std::string item);
    Field* FieldNamed(const char* name);
    const Field* FieldNamed(const char* name) const;
    const std::string* Item(const char* name, type_code type, int32 index, status_t* error) const;
    template<typename T>
    status_t FindFixed(const char* name, type_code type, int32 index, T* value) const;
    template<typename T> T ValueOf(const char* name, type_code type, int32 index) const;
    template<typename T> status_t AddFixed(const char* name, type_code type, const T& value);
    template<typename T>
    status_t ReplaceFixed(const char* name, type_code type, int32 index, const T& value);

    std::vector<Field> fFields;
};

// Whether items of this type always have one size, and that size (0 when the
// type has none of its own).
bool type_is_fixed_size(type_code type, size_t* itemSize = nullptr);
