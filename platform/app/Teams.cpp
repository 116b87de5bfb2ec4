#include "Teams.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

struct ThreadStat {
    char state = '?';
    unsigned long long userTicks = 0;
};

// One line of /proc/N/task/T/stat. The command name in parentheses may hold
// spaces and parentheses itself, so the fields are counted from the last ")".
bool ReadThreadStat(const std::string& path, ThreadStat* stat)
{
    std::ifstream file(path);
    std::string line;
    if (!std::getline(file, line))
        return false;
    size_t close = line.rfind(')');
    if (close == std::string::npos)
        return false;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    // After the name: state (field 3), ..., utime (field 14).
    for (int index = 3; index <= 14 && fields >> field; ++index) {
        if (index == 3)
            stat->state = field[0];
        else if (index == 14)
            stat->userTicks = strtoull(field.c_str(), nullptr, 10);
    }
    return !fields.fail();
}

status_t ReadTeam(team_id team, std::vector<ThreadStat>* threads)
{
    if (team <= 0)
        return B_BAD_VALUE;
    std::string folder = "/proc/" + std::to_string(team) + "/task";
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return errno == ENOENT ? B_BAD_THREAD_ID : status_from_errno(errno);
    while (struct dirent* item = readdir(dir)) {
        if (item->d_name[0] == '.')
            continue;
        ThreadStat stat;
        // A thread that ended meanwhile is simply not counted.
        if (ReadThreadStat(folder + "/" + item->d_name + "/stat", &stat))
            threads->push_back(stat);
    }
    closedir(dir);
    return threads->empty() ? B_BAD_THREAD_ID : B_OK;
}

status_t Signal(team_id team, int signal)
{
    return kill(team, signal) == 0 ? B_OK : status_from_errno(errno);
}

} // namespace

team_id current_team()
{
    return team_id(getpid());
}

status_t team_user_time(team_id team, bigtime_t* userTime)
{
    if (userTime == nullptr)
        return B_BAD_VALUE;
    *userTime = 0;
    std::vector<ThreadStat> threads;
    status_t status = ReadTeam(team, &threads);
    if (status != B_OK)
        return status;
    long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (ticksPerSecond <= 0)
        ticksPerSecond = 100;
    unsigned long long ticks = 0;
    for (const ThreadStat& thread : threads)
        ticks += thread.userTicks;
    *userTime = bigtime_t(ticks * 1000000ULL / (unsigned long long)ticksPerSecond);
    return B_OK;
}

status_t suspend_team_threads(team_id team)
{
    if (team == getpid())
        return B_NOT_ALLOWED;
    std::vector<ThreadStat> threads;
    status_t status = ReadTeam(team, &threads);
    if (status != B_OK)
        return status;
    for (const ThreadStat& thread : threads) {
        if (strchr("RSD", thread.state) != nullptr)
            return Signal(team, SIGSTOP);
    }
    return B_OK;
}

status_t resume_team_threads(team_id team)
{
    std::vector<ThreadStat> threads;
    status_t status = ReadTeam(team, &threads);
    if (status != B_OK)
        return status;
    for (const ThreadStat& thread : threads) {
        if (thread.state == 'T')
            return Signal(team, SIGCONT);
    }
    return B_OK;
}

status_t team_thread_states(team_id team, std::string* states)
{
    if (states == nullptr)
        return B_BAD_VALUE;
    states->clear();
    std::vector<ThreadStat> threads;
    status_t status = ReadTeam(team, &threads);
    for (const ThreadStat& thread : threads)
        *states += thread.state;
    return status;
}
