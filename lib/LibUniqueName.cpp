#include "LibUniqueName.h"

#include "FindDirectory.h"
#include "Teams.h"

#include <atomic>
#include <ctime>
#include <string>

namespace {

constexpr long kCounterLimit = 10000;

std::atomic<long> sCounter {0};

long NextCounter()
{
    long current = sCounter.load();
    long next;
    do {
        next = current >= kCounterLimit ? 1 : current + 1;
    } while (!sCounter.compare_exchange_weak(current, next));
    return next;
}

} // namespace

void LibUniqueName(BPath& path, const char* prefix)
{
    if (path.Path() == nullptr || *path.Path() == '\0')
        find_directory(B_COMMON_TEMP_DIRECTORY, &path);
    std::string name = prefix != nullptr ? prefix : "";
    name += std::to_string(NextCounter());
    name += std::to_string(long(current_team()));
    name += std::to_string(long(time(nullptr)));
    path.Append(name.c_str());
}
