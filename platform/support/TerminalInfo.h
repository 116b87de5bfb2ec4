// Whether an output goes to a terminal, and how wide that terminal is, for
// command lines that draw progress only where someone watches it.
#pragma once

// Standard error (2) and so on.
bool is_terminal(int fd);
// The terminal's width in columns; 80 when it cannot be told.
int terminal_columns(int fd);
