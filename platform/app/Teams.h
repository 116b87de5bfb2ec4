// Teams are processes: the threads of team N are the entries of
// /proc/N/task. Linux stops and continues a process as a whole, so
// suspending "every thread" of a team is stopping the process.
#pragma once

#include "SupportDefs.h"

#include <string>

// The running program's own team.
team_id current_team();

// The user CPU time of every live thread of `team`, summed, in microseconds.
status_t team_user_time(team_id team, bigtime_t* userTime);

// Stops the team when any of its threads is running, ready, asleep or
// waiting. The calling program's own team is refused (B_NOT_ALLOWED): no
// thread would be left to continue it.
status_t suspend_team_threads(team_id team);
// Continues the team when any of its threads is stopped.
status_t resume_team_threads(team_id team);

// The state letter of each thread of `team` as /proc reports it ('R'
// running, 'S' asleep, 'D' waiting, 'T' stopped, ...), in task order.
status_t team_thread_states(team_id team, std::string* states);
