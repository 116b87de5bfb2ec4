#include "LibTeams.h"

#include "Teams.h"

namespace {

bool IsTeamId(long team)
{
    return team > 0 && team <= INT32_MAX;
}

} // namespace

double lib_team_cpu_time(long team)
{
    bigtime_t userTime = 0;
    if (!IsTeamId(team) || team_user_time(team_id(team), &userTime) != B_OK)
        return 0;
    return double(userTime) / 1000000.0;
}

status_t lib_suspend_team(long team)
{
    return IsTeamId(team) ? suspend_team_threads(team_id(team)) : B_BAD_VALUE;
}

status_t lib_resume_team(long team)
{
    return IsTeamId(team) ? resume_team_threads(team_id(team)) : B_BAD_VALUE;
}
