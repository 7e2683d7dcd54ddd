#ifndef SKEDOMAT_BATCH_BATCH_CASE_H
#define SKEDOMAT_BATCH_BATCH_CASE_H

#include <string>

#include "batch/case_result.h"

// One case of a running batch: its files and what became of it.
struct BatchCase {
  std::string casePath;
  std::string submissionPath;
  bool hasSubmission = false;  // a submission is there to evaluate
  bool finished = true;        // false: an interrupt stopped it unfinished
  CaseResult result;
};

#endif  // SKEDOMAT_BATCH_BATCH_CASE_H
