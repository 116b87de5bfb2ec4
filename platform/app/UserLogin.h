// The name the user logged in with.
#pragma once

#include <string>

// The login name the system records for this process's session, else the
// name of the password entry of the real user id, else empty.
std::string login_name();
