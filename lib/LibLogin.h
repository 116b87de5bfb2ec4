// The user's login name.
#pragma once

#include "LibString.h"

// The name the system records for this session, else the name of the
// current user's password entry, else empty.
LibString LibGetLogin();
