// Restarting or shutting down the machine through the system's shutdown
// command, after an installation that needs it.
#pragma once

// Starts the shutdown command of the system's command folder ("BeOS Bin")
// with "-r now" when `restart`, else "-h now", with an argument vector and
// without waiting for it. Under STOW_ROOT that folder lies inside the trial
// root and nothing else is tried, so a test never reaches the real command.
// Otherwise, when the folder holds no shutdown command, /usr/sbin/shutdown
// and /sbin/shutdown are tried, where Linux keeps it. True when a command
// was started; what it then does is not examined.
bool LibShutdown(bool restart);
