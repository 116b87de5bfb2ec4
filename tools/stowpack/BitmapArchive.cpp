#include "BitmapArchive.h"

namespace BitmapArchive {

BMessage Make(
    const char* className, int32 width, int32 height, int32 colorSpace, const std::string& pixels)
{
    BMessage archive;
    archive.AddString("class", className);
    archive.AddRect("_frame", BRect(0, 0, float(width - 1), float(height - 1)));
    archive.AddInt32("_cspace", colorSpace);
    archive.AddInt32("_bmflags", 0);
    archive.AddInt32("_rowbytes", width * 4);
    archive.AddData("_data", B_RAW_TYPE, pixels.data(), ssize_t(pixels.size()));
    return archive;
}

} // namespace BitmapArchive
