// The command: arguments, file search, summary.
#ifndef SETWIN_SETWIN_H
#define SETWIN_SETWIN_H

constexpr int EXIT_STATUS_USAGE = 8;
constexpr int EXIT_STATUS_NO_MEMORY = 1;

// Runs the whole program on its argument vector and returns the process exit status.
int run_setwin(int argument_count, char **arguments);

#endif
