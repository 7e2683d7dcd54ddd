#ifndef SKEDOMAT_BATCH_ERROR_TAIL_H
#define SKEDOMAT_BATCH_ERROR_TAIL_H

#include <cstddef>
#include <string>

// The end of what a child wrote on its standard error, as the batch keeps
// it to say why a case failed: its last lines, at most MaxTailLines of
// them and at most MaxTailBytes bytes.
const size_t MaxTailLines = 20;
const size_t MaxTailBytes = 2048;

// The tail of `text`.
std::string tailOf(const std::string& text);

// The tail of the file at `path`, read from its end only; empty when it
// cannot be read.
std::string fileTail(const std::string& path);

#endif  // SKEDOMAT_BATCH_ERROR_TAIL_H
