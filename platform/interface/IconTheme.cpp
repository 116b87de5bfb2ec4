#include "IconTheme.h"

#include "NativeModule.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr int kMaxIconSide = 1024;
constexpr int kSizes[] = {8, 16, 22, 24, 32, 48, 64, 96, 128, 256, 512};

std::string Environment(const char* name, const char* fallback)
{
    const char* value = getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

std::vector<std::string> BaseFolders()
{
    std::string home = Environment("HOME", "/");
    std::vector<std::string> folders = {home + "/.icons",
        Environment("XDG_DATA_HOME", (home + "/.local/share").c_str()) + "/icons"};
    std::string dataDirs = Environment("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    size_t start = 0;
    while (start <= dataDirs.size()) {
        size_t end = dataDirs.find(':', start);
        if (end == std::string::npos)
            end = dataDirs.size();
        if (end > start)
            folders.push_back(dataDirs.substr(start, end - start) + "/icons");
        start = end + 1;
    }
    return folders;
}

// "key=value" of a settings or index file.
std::string ReadKey(const std::string& path, const std::string& key)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        size_t equal = line.find('=');
        if (equal == std::string::npos)
            continue;
        std::string name = line.substr(0, equal);
        name.erase(name.find_last_not_of(" \t") + 1);
        if (name != key)
            continue;
        std::string value = line.substr(equal + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        value.erase(value.find_last_not_of(" \t\r") + 1);
        return value;
    }
    return "";
}

std::vector<std::string> Inherited(const std::string& theme, const std::vector<std::string>& bases)
{
    for (const std::string& base : bases) {
        std::string index = base + "/" + theme + "/index.theme";
        if (!fs::exists(index))
            continue;
        std::string list = ReadKey(index, "Inherits");
        std::vector<std::string> parents;
        size_t start = 0;
        while (start < list.size()) {
            size_t end = list.find(',', start);
            if (end == std::string::npos)
                end = list.size();
            if (end > start)
                parents.push_back(list.substr(start, end - start));
            start = end + 1;
        }
        return parents;
    }
    return {};
}

void Receive(void* context, const uint8_t* rgba, int width, int height, int stride)
{
    auto* icon = static_cast<IconTheme::Icon*>(context);
    icon->width = width;
    icon->height = height;
    icon->rgba.resize(size_t(width) * size_t(height) * 4);
    for (int row = 0; row < height; ++row)
        memcpy(&icon->rgba[size_t(row) * size_t(width) * 4], rgba + size_t(row) * size_t(stride),
            size_t(width) * 4);
}

// Sizes to try: the closest first, larger before smaller at equal distance.
std::vector<int> SizeOrder(int size)
{
    std::vector<int> sizes(std::begin(kSizes), std::end(kSizes));
    std::stable_sort(sizes.begin(), sizes.end(), [size](int a, int b) {
        int da = a >= size ? a - size : 2 * (size - a);
        int db = b >= size ? b - size : 2 * (size - b);
        return da < db;
    });
    return sizes;
}

std::string FindFile(const std::vector<std::string>& names, int size)
{
    std::vector<std::string> bases = BaseFolders();
    for (const std::string& theme : IconTheme::Themes()) {
        for (int candidate : SizeOrder(size)) {
            std::string sizeName = std::to_string(candidate) + "x" + std::to_string(candidate);
            for (const std::string& base : bases) {
                std::error_code error;
                fs::path folder = fs::path(base) / theme / sizeName;
                if (!fs::is_directory(folder, error))
                    continue;
                for (const std::string& name : names) {
                    for (const auto& context : fs::directory_iterator(folder, error)) {
                        fs::path file = context.path() / (name + ".png");
                        if (fs::is_regular_file(file, error))
                            return file.string();
                    }
                }
            }
        }
    }
    return "";
}

} // namespace

std::vector<std::string> IconTheme::Themes()
{
    static std::once_flag once;
    static std::vector<std::string> themes;
    std::call_once(once, [] {
        std::vector<std::string> bases = BaseFolders();
        std::string config
            = Environment("XDG_CONFIG_HOME", (Environment("HOME", "/") + "/.config").c_str());
        std::vector<std::string> queue;
        std::string chosen = ReadKey(config + "/gtk-3.0/settings.ini", "gtk-icon-theme-name");
        if (!chosen.empty())
            queue.push_back(chosen);
        queue.push_back("Adwaita");
        std::set<std::string> seen;
        for (size_t i = 0; i < queue.size() && themes.size() < 16; ++i) {
            if (!seen.insert(queue[i]).second)
                continue;
            themes.push_back(queue[i]);
            for (const std::string& parent : Inherited(queue[i], bases))
                queue.push_back(parent);
        }
        if (seen.insert("hicolor").second)
            themes.push_back("hicolor");
    });
    return themes;
}

bool IconTheme::Load(const std::vector<std::string>& names, int size, Icon& icon)
{
    static std::mutex lock;
    static std::map<std::pair<std::string, int>, Icon> cache;
    native::Module* module = NativeModule::Get();
    if (module == nullptr || names.empty())
        return false;
    std::string key;
    for (const std::string& name : names)
        key += name + ";";
    std::lock_guard<std::mutex> hold(lock);
    auto found = cache.find({key, size});
    if (found == cache.end()) {
        Icon loaded;
        std::string file = FindFile(names, size);
        if (!file.empty())
            module->ReadPng(file.c_str(), kMaxIconSide, Receive, &loaded);
        found = cache.emplace(std::make_pair(key, size), std::move(loaded)).first;
    }
    icon = found->second;
    return icon.width > 0;
}
