#ifndef SKEDOMAT_EXPLAIN_OFFENDING_SCREENINGS_H
#define SKEDOMAT_EXPLAIN_OFFENDING_SCREENINGS_H

#include <cstdint>
#include <string>
#include <vector>

// The screenings (indexes from 0) that one validation message names: the
// screening of a range message ("Pri 3. predstavi ..."), both screenings of
// an overlap message ("4. predstava pokriva ..., 2. predstava pa ..."), none
// for the message about the test-case number.
std::vector<int32_t> screeningsNamedBy(const std::string& message);

#endif  // SKEDOMAT_EXPLAIN_OFFENDING_SCREENINGS_H
