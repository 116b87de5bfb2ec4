#include "ZipNames.h"

#include <vector>

namespace ZipNames {

namespace {

// Hops through links, and path components walked, before giving up.
constexpr int kMaxLinkHops = 40;
constexpr size_t kMaxSteps = 4096;

std::vector<std::string> Split(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

std::string Join(const std::vector<std::string>& parts)
{
    std::string path;
    for (const std::string& part : parts) {
        if (!path.empty())
            path += '/';
        path += part;
    }
    return path;
}

class LinkWalker {
public:
    LinkWalker(const std::map<std::string, std::string>& links, std::string& why)
        : fLinks(links)
        , fWhy(why)
    { }

    // Walks `target` from the folder `stack`; the stack ends where it leads.
    bool Walk(std::vector<std::string>& stack, const std::string& target, int hops)
    {
        if (target.empty())
            return Refuse("its target is empty");
        if (target.find('\0') != std::string::npos)
            return Refuse("its target holds a NUL character");
        if (target[0] == '/')
            return Refuse("its target is an absolute path");
        for (const std::string& part : Split(target)) {
            if (++fSteps > kMaxSteps)
                return Refuse("its target is too long to follow");
            if (part.empty() || part == ".")
                continue;
            if (part == "..") {
                // The stack's first entry is the item itself: leaving it
                // leaves the item.
                if (stack.size() <= 1)
                    return Refuse("its target leads outside the item");
                stack.pop_back();
                continue;
            }
            stack.push_back(part);
            auto link = fLinks.find(Join(stack));
            if (link == fLinks.end())
                continue;
            if (hops >= kMaxLinkHops)
                return Refuse("its target goes through too many links");
            stack.pop_back();
            if (!Walk(stack, link->second, hops + 1))
                return false;
        }
        return true;
    }

private:
    bool Refuse(const char* reason)
    {
        fWhy = reason;
        return false;
    }

    const std::map<std::string, std::string>& fLinks;
    std::string& fWhy;
    size_t fSteps = 0;
};

} // namespace

bool Normalize(const std::string& raw, std::string& name, bool& endsWithSlash, std::string& why)
{
    name = raw;
    endsWithSlash = !name.empty() && name.back() == '/';
    if (endsWithSlash)
        name.pop_back();
    if (name.find('\0') != std::string::npos) {
        why = "the name holds a NUL character";
        return false;
    }
    if (name.empty()) {
        why = "the name is empty";
        return false;
    }
    if (name[0] == '/') {
        why = "the name is an absolute path";
        return false;
    }
    std::vector<std::string> parts = Split(name);
    if (parts.size() > kMaxDepth) {
        why = "the name is nested too deeply";
        return false;
    }
    for (const std::string& part : parts) {
        if (part.empty() || part == "." || part == "..") {
            why = "the name holds an empty, \".\" or \"..\" component";
            return false;
        }
    }
    return true;
}

std::string TopComponent(const std::string& name)
{
    return name.substr(0, name.find('/'));
}

std::string Parent(const std::string& name)
{
    size_t slash = name.rfind('/');
    return slash == std::string::npos ? std::string() : name.substr(0, slash);
}

bool LinkStaysInside(const std::string& linkPath, const std::string& target,
    const std::map<std::string, std::string>& links, std::string& why)
{
    std::vector<std::string> stack = Split(linkPath);
    stack.pop_back();
    if (stack.empty()) {
        why = "a link cannot be the item itself";
        return false;
    }
    LinkWalker walker(links, why);
    return walker.Walk(stack, target, 0);
}

} // namespace ZipNames
