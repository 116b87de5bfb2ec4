#include "InstallConfig.h"

#include "InstallRun.h"

int32 InstallConfig::Action()
{
    InstallRun run(*this);
    return run.Perform();
}
