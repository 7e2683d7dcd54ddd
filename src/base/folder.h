#ifndef SKEDOMAT_BASE_FOLDER_H
#define SKEDOMAT_BASE_FOLDER_H

#include <string>
#include <vector>

// Folders as a whole: listing their files, creating and removing them.
// Paths are UTF-8 on every platform, as everywhere in the evaluator; names
// on POSIX systems are whatever bytes the file system holds.

// True when `path` names an existing folder (links followed).
bool isFolder(const std::string& path);

// True when `path` itself is a symbolic link.
bool isLink(const std::string& path);

// The names of the regular files (links followed) in `folder` whose names
// end in `suffix`, sorted by their bytes. False when the folder cannot be
// read; `error` then says why.
bool listFiles(const std::string& folder, const std::string& suffix,
               std::vector<std::string>& names, std::string& error);

// Creates `path` and the folders above it where missing; false, with
// `error`, when that fails.
bool makeFolders(const std::string& path, std::string& error);

// Creates a new, empty folder in `parent` (the system's folder for
// temporary files when empty), named after `prefix`; false, with `error`,
// when that fails.
bool makeTemporaryFolder(const std::string& prefix, std::string& path,
                         std::string& error, const std::string& parent = std::string());

// Removes `path` and everything in it; false when anything stays.
bool removeFolderTree(const std::string& path);

// `name` in `folder`.
std::string pathInFolder(const std::string& folder, const std::string& name);

#endif  // SKEDOMAT_BASE_FOLDER_H
