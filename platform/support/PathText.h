// Path arithmetic on text, for code that already holds absolute paths.
#pragma once

#include <string>

inline std::string join_path(const std::string& folder, const std::string& leaf)
{
    if (folder.empty() || folder == "/")
        return "/" + leaf;
    return folder.back() == '/' ? folder + leaf : folder + "/" + leaf;
}

// "/a/b" gives "/a", "/a" gives "/", "b" gives ".".
inline std::string parent_path(const std::string& path)
{
    size_t end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    size_t slash = path.rfind('/', end - 1);
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// "/a/b/" gives "b", "/" gives "/".
inline std::string leaf_name(const std::string& path)
{
    size_t end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    size_t slash = path.rfind('/', end - 1);
    if (end == 1 && path[0] == '/')
        return "/";
    return path.substr(slash == std::string::npos ? 0 : slash + 1,
        end - (slash == std::string::npos ? 0 : slash + 1));
}
