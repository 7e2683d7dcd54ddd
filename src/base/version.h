#ifndef SKEDOMAT_BASE_VERSION_H
#define SKEDOMAT_BASE_VERSION_H

// The program's version, as `--version` shows it and results files record
// it: major.minor.patch.
const char ProgramVersion[] = "1.2.0";

#endif  // SKEDOMAT_BASE_VERSION_H
