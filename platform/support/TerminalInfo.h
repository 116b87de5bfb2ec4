// Whether an output goes to a terminal, and how large that terminal is, for
// command lines that draw progress only where someone watches it and for
// guided flows that show a screenful at a time.
#pragma once

// Standard error (2) and so on.
bool is_terminal(int fd);
// The terminal's width in columns; 80 when it cannot be told.
int terminal_columns(int fd);
// Its height in lines; 24 when it cannot be told.
int terminal_rows(int fd);
