#ifndef SKEDOMAT_BASE_PATH_SPELLING_H
#define SKEDOMAT_BASE_PATH_SPELLING_H

#include <string>

// Paths judged by their spelling alone, with the separators of the platform
// the program runs on. Used where the file system cannot answer: a path
// spelt "in.txt/" names no file to the system, yet it is meant as "in.txt".

// `path` with "." and ".." components resolved by spelling and trailing
// separators dropped: "in.txt/", "./in.txt/." and "d/../in.txt" all become
// "in.txt". An empty result becomes ".".
std::string lexicallyNormal(const std::string& path);

// True when the last component of `path` cannot name a file: the path is
// empty, ends in a separator, or ends in "." or "..".
bool namesAFolder(const std::string& path);

#endif  // SKEDOMAT_BASE_PATH_SPELLING_H
