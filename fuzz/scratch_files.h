#ifndef SKEDOMAT_FUZZ_SCRATCH_FILES_H
#define SKEDOMAT_FUZZ_SCRATCH_FILES_H

#include <cstddef>
#include <cstdint>
#include <string>

// The readers take paths, so every fuzz input is written to a file first.
// Each process gets its own folder in the system's temporary folder, made on
// first use and reused for every input; `path` names a file inside it.
std::string scratchPath(const std::string& name);

// Writes `size` bytes to the scratch file `name`; its path.
std::string writeScratchFile(const std::string& name, const uint8_t* data,
                             size_t size);

// The whole contents of a file; empty when it cannot be read.
std::string readWholeFile(const std::string& path);

#endif  // SKEDOMAT_FUZZ_SCRATCH_FILES_H
