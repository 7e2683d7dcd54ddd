#ifndef SKEDOMAT_BASE_EXIT_STATUS_H
#define SKEDOMAT_BASE_EXIT_STATUS_H

// The exit statuses every command of the program ends with.
const int ExitReportWritten = 0;  // the output was written (whatever it says)
const int ExitUsage = 1;          // a wrong command line; nothing was touched
const int ExitNoReport = 2;       // an output could not be written, or would
                                  // have overwritten an input file

#endif  // SKEDOMAT_BASE_EXIT_STATUS_H
