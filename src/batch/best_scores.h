#ifndef SKEDOMAT_BATCH_BEST_SCORES_H
#define SKEDOMAT_BATCH_BEST_SCORES_H

#include <map>
#include <string>
#include <vector>

#include "batch/case_result.h"

// The best score known for each case, kept between batches in a JSON file
// keyed by case name: {"0000": 1234.5, "0001": 877}. Relative scores are
// taken against it: a case's score divided by its best, 0 for a case without
// a score or a best of 0. After a batch the best of each scored case is
// raised to its score, unless the table is frozen. Its reader and writer
// are both here; the reader takes only scores a batch can write: 0, or
// finite and at least one ticket over the most runs there can be.
class BestScores {
 public:
  // Reads the file at `path` (a regular file); a file that does not exist is
  // an empty table.
  // False, with `error`, when it exists but is no such table.
  bool read(const std::string& path, std::string& error);

  // Gives each result its best and relative score; raises the table to the
  // results' scores first unless `frozen`.
  void apply(std::vector<CaseResult>& results, bool frozen);

  // The table as the file holds it, with a final line end.
  std::string fileText() const;

 private:
  std::map<std::string, std::string> scores_;  // a score's exact text
};

#endif  // SKEDOMAT_BATCH_BEST_SCORES_H
