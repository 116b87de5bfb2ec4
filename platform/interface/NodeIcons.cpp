#include "NodeIcons.h"

#include "BBitmap.h"
#include "BNodeInfo.h"
#include "BPath.h"
#include "FileTypes.h"
#include "IconTheme.h"
#include "StorageDefs.h"

#include <cmath>
#include <sys/stat.h>

namespace {

std::string Dashed(std::string type)
{
    for (char& c : type) {
        if (c == '/')
            c = '-';
    }
    return type;
}

// Scales the icon into the bitmap by averaging the pixels each one covers
// (weighted by alpha, so transparent pixels do not darken the edges).
void Resample(const IconTheme::Icon& icon, BBitmap* bitmap)
{
    BRect bounds = bitmap->Bounds();
    int width = bounds.IntegerWidth() + 1, height = bounds.IntegerHeight() + 1;
    for (int y = 0; y < height; ++y) {
        int y0 = y * icon.height / height, y1 = std::max(y0 + 1, (y + 1) * icon.height / height);
        for (int x = 0; x < width; ++x) {
            int x0 = x * icon.width / width, x1 = std::max(x0 + 1, (x + 1) * icon.width / width);
            double red = 0, green = 0, blue = 0, alpha = 0;
            int count = 0;
            for (int sy = y0; sy < y1; ++sy) {
                for (int sx = x0; sx < x1; ++sx) {
                    const uint8_t* p
                        = &icon.rgba[(size_t(sy) * size_t(icon.width) + size_t(sx)) * 4];
                    double a = p[3] / 255.0;
                    red += p[0] * a;
                    green += p[1] * a;
                    blue += p[2] * a;
                    alpha += a;
                    ++count;
                }
            }
            rgb_color color = make_color(0, 0, 0, 0);
            if (alpha > 0)
                color = make_color(uint8(red / alpha), uint8(green / alpha), uint8(blue / alpha),
                    uint8(std::lround(255 * alpha / count)));
            bitmap->SetPixel(x, y, color);
        }
    }
    bitmap->Touch();
}

} // namespace

NodeIcons::Choice NodeIcons::ChoiceFor(const char* path)
{
    Choice choice;
    struct stat info;
    if (path == nullptr || lstat(path, &info) != 0)
        return choice;
    if (S_ISLNK(info.st_mode) && stat(path, &info) != 0) {
        choice.themeNames = {"inode-symlink", "emblem-symbolic-link"};
        choice.builtin = BuiltinIcon::kLink;
        return choice;
    }
    if (S_ISDIR(info.st_mode)) {
        BPath parent(path);
        struct stat above;
        bool mountPoint = parent.GetParent(&parent) == B_OK && stat(parent.Path(), &above) == 0
            && above.st_dev != info.st_dev;
        choice.themeNames = mountPoint ? std::vector<std::string> {"drive-harddisk", "folder"}
                                       : std::vector<std::string> {"folder"};
        choice.builtin = mountPoint ? BuiltinIcon::kVolume : BuiltinIcon::kFolder;
        return choice;
    }
    BNode node(path);
    BNodeInfo info2(&node);
    char type[B_MIME_TYPE_LENGTH] = {};
    std::string mime = info2.GetType(type) == B_OK ? type : detect_mime_type(path);
    bool executable = (info.st_mode & 0111) != 0 || mime == kExecutableMimeType;
    if (executable && mime.rfind("text/", 0) != 0) {
        choice.themeNames = {"application-x-executable", "application-x-executable-script"};
        choice.builtin = BuiltinIcon::kProgram;
        return choice;
    }
    if (!mime.empty())
        choice.themeNames.push_back(Dashed(mime));
    std::string group = mime.substr(0, mime.find('/'));
    if (group == "text" || group == "image" || group == "audio" || group == "video")
        choice.themeNames.push_back(group + "-x-generic");
    if (executable)
        choice.themeNames.push_back("text-x-script");
    choice.themeNames.push_back("text-x-generic");
    choice.builtin = executable ? BuiltinIcon::kProgram : BuiltinIcon::kFile;
    return choice;
}

status_t NodeIcons::Draw(const char* path, BBitmap* bitmap)
{
    if (bitmap == nullptr || !bitmap->IsValid())
        return B_BAD_VALUE;
    struct stat info;
    if (path == nullptr || lstat(path, &info) != 0)
        return B_ENTRY_NOT_FOUND;
    Choice choice = ChoiceFor(path);
    BRect bounds = bitmap->Bounds();
    int size = std::max(bounds.IntegerWidth(), bounds.IntegerHeight()) + 1;
    IconTheme::Icon icon;
    if (IconTheme::Load(choice.themeNames, size, icon)) {
        Resample(icon, bitmap);
        return B_OK;
    }
    BBitmap drawn(bounds, B_RGBA32, true);
    BuiltinIcons::Draw(choice.builtin, &drawn);
    bitmap->ImportBits(&drawn);
    return B_OK;
}

status_t BNodeInfo::GetTrackerIcon(BBitmap* icon, icon_size) const
{
    if (fNode == nullptr || fNode->InitCheck() != B_OK)
        return B_NO_INIT;
    return NodeIcons::Draw(fNode->Path(), icon);
}

status_t BNodeInfo::GetTrackerIcon(const entry_ref* ref, BBitmap* icon, icon_size)
{
    if (ref == nullptr)
        return B_BAD_VALUE;
    BPath path(ref);
    if (path.InitCheck() != B_OK)
        return B_ENTRY_NOT_FOUND;
    return NodeIcons::Draw(path.Path(), icon);
}
