// Other programs running on the system, by team (process) id.
#pragma once

#include "SupportDefs.h"

// Seconds of user CPU time used by all threads of the team; 0 for a team
// that does not exist.
double lib_team_cpu_time(long team);
// Suspends the team's running, ready, asleep or waiting threads (Linux stops
// the whole process). The calling program itself is refused.
status_t lib_suspend_team(long team);
// Resumes the team's suspended threads.
status_t lib_resume_team(long team);
