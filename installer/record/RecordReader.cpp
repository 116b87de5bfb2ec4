#include "RecordReader.h"

#include "BMessage.h"
#include "BResources.h"
#include "RecordKeys.h"
#include "oResources.h"

#include <cstdio>

RecordReader::Result RecordReader::Read(BResources& resources, BMessage& record)
{
    record.MakeEmpty();
    record.what = 0;
    if (resources.InitCheck() != B_OK || !resources.HasResource(B_STRING_TYPE, kConfigurationId))
        return Result::Missing;
    if (resources.VerifyResource(B_STRING_TYPE, kConfigurationId) != B_OK)
        return Result::Damaged;
    size_t size = 0;
    const void* data = resources.LoadResource(B_STRING_TYPE, kConfigurationId, &size);
    if (data == nullptr)
        return Result::Damaged;
    if (record.Unflatten(static_cast<const char*>(data), size) != B_OK) {
        record.MakeEmpty();
        record.what = 0;
        return Result::NotMessage;
    }
    return Result::Read;
}

bool RecordReader::Load(BResources& resources, BMessage& record)
{
    Result result = Read(resources, record);
    if (result == Result::Missing)
        fprintf(stderr, "Does not have resource %d\n", int(kConfigurationId));
    else if (result != Result::Read)
        fprintf(stderr, "Unable to read resource %d\n", int(kConfigurationId));
    return result == Result::Read;
}

bool RecordReader::LoadOwn(BMessage& record)
{
    oResources resources(B_READ_ONLY);
    return Load(resources, record);
}
