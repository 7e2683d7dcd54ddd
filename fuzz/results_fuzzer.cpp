// Feeds arbitrary bytes to the results file's reader. Reading must either
// refuse the text or give cases that the writer writes back into a file the
// reader takes again, the same to the byte once written twice: nothing the
// reader accepts can be passed on by `--merge` in a form it would refuse.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "batch/results_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ResultsFile first;
  std::string error;
  if (!parseResultsText(text, first, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  const std::string written = resultsText(first.cases, totalsOf(first.cases));
  ResultsFile second;
  if (!parseResultsText(written, second, error)) std::abort();
  if (resultsText(second.cases, totalsOf(second.cases)) != written) std::abort();
  return 0;
}
