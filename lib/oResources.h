// The running program's own resources, opened on its executable file, with
// lookups of text resources by name.
#pragma once

#include "BResources.h"
#include "LibString.h"

class BBitmap;

// Bitmaps among the resources: flattened bitmap archives, looked up by name.
constexpr type_code kBitmapResourceType = FourCC('B', 'B', 'M', 'P');

class oResources : public BResources {
public:
    // Opens the running program's executable with `openMode` (B_READ_ONLY,
    // 0, for lookups). Linux refuses a running program's file for writing:
    // a writing open then falls back to reading, so lookups still work and
    // every change fails. Unattached when the executable cannot be found.
    explicit oResources(const unsigned long& openMode);
    ~oResources() override;

    // The 'CSTR' resource of that name as text; empty when missing.
    LibString GetString(const char* name);
    bool HasString(const char* name);
    // A new bitmap, the caller's, from the 'BBMP' resource of that name (a
    // flattened bitmap archive); null when missing or not a whole bitmap.
    BBitmap* GetBitmap(const char* name);

    // The executable's path; empty when unattached.
    const char* ExecutablePath() const { return fExecutablePath; }

private:
    LibString fExecutablePath;
};
