#include "TerminalInfo.h"

#include <sys/ioctl.h>
#include <unistd.h>

bool is_terminal(int fd)
{
    return isatty(fd) == 1;
}

int terminal_columns(int fd)
{
    struct winsize size = {};
    if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0)
        return 80;
    return size.ws_col;
}

int terminal_rows(int fd)
{
    struct winsize size = {};
    if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_row == 0)
        return 24;
    return size.ws_row;
}
