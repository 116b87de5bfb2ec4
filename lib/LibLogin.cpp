#include "LibLogin.h"

#include "UserLogin.h"

LibString LibGetLogin()
{
    return LibString(login_name().c_str());
}
