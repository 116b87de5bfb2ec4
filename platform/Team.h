// The running program as a team (a process).
#pragma once

#include "SupportDefs.h"

team_id current_team();
