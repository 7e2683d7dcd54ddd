#include "submission/submission.h"

#include <string>

#include "base/assertion.h"
#include "base/input_file.h"
#include "base/scan.h"

// Reading the contestant's file. Each function below reads one part of the
// file and raises the form error of that part; the first error ends reading.

namespace {

// The length beyond which InputFile cuts a line, as the messages name it.
std::string lineLimitText() { return intToStr(InputFile::MaxLineLength); }

// `line`, the last line read, between double quotes, every byte as read. A
// cut line is marked as such: the quote shows only its start.
std::string quoted(const std::string& line, const InputFile& is) {
  std::string text = "\"" + line + "\"";
  if (is.lastLineCut())
    text += " (vrstica je daljsa od " + lineLimitText() +
            " bajtov in je odrezana)";
  return text;
}

// Added to a message that a line or the end of the file is missing where
// that may follow a cut line: nothing after the cut was read, and the
// message must say so.
std::string afterCutNote(const InputFile& is) {
  if (!is.lastLineCut()) return "";
  return " (prejsnja vrstica je daljsa od " + lineLimitText() +
         " bajtov in je odrezana)";
}

// Converts the integer at the start of `line`, as "%d" does.
bool startsWithInteger(const std::string& line, int32_t& value) {
  return scanText(line, "%d", {value}) == 1;
}

int32_t readContestantNo(InputFile& is) {
  std::string line;
  if (!is.getline(line))
    raiseAssertion("manjka stevilka tekmovalca", __FILE__, __LINE__);
  if (line.size() != 6)
    raiseAssertion("stevilka tekmovalca bi morala imeti 6 stevk", __FILE__,
                   __LINE__);
  int32_t contestantNo = 0;
  if (!startsWithInteger(line, contestantNo))
    raiseAssertion(
        "v prvi vrstici bi morala biti stevilka tekmovalca, ne pa " +
            quoted(line, is),
        __FILE__, __LINE__);
  return contestantNo;
}

void readTaskName(InputFile& is) {
  std::string line;
  if (!is.getline(line))
    raiseAssertion("manjka druga vrstica", __FILE__, __LINE__);
  if (line != "Tavo")
    raiseAssertion(
        "v drugi vrstici bi moral biti niz \"Tavo\", ne pa " +
            quoted(line, is),
        __FILE__, __LINE__);
}

int32_t readCaseNo(InputFile& is) {
  std::string line;
  if (!is.getline(line))
    raiseAssertion("manjka tretja vrstica", __FILE__, __LINE__);
  int32_t caseNo = 0;
  if (!startsWithInteger(line, caseNo))
    raiseAssertion(
        "v tretji vrstici bi morala biti stevilka testnega primera, ne pa " +
            quoted(line, is),
        __FILE__, __LINE__);
  return caseNo;
}

int32_t readScreeningCount(InputFile& is) {
  std::string line;
  if (!is.getline(line))
    raiseAssertion(
        "manjka cetrta vrstica (stevilo predstav)" + afterCutNote(is),
        __FILE__, __LINE__);
  int32_t count = 0;
  if (!startsWithInteger(line, count))
    raiseAssertion(
        "v cetrti vrstici bi moralo biti stevilo predstav, ne pa " +
            quoted(line, is),
        __FILE__, __LINE__);
  if (count < 0)
    raiseAssertion("stevilo predstav bi moralo biti vecje ali enako 0",
                   __FILE__, __LINE__);
  return count;
}

// Reads the line of screening number `k` (counted from 1).
Screening readScreening(InputFile& is, int64_t k) {
  std::string line;
  if (!is.getline(line))
    raiseAssertion("manjka podatek o " + intToStr(k) + ". predstavi" +
                       afterCutNote(is),
                   __FILE__, __LINE__);
  Screening screening;
  if (scanText(line, "%d %d %d",
               {screening.movieNo, screening.day, screening.startMinute}) != 3)
    raiseAssertion("vrstica za " + intToStr(k) +
                       ". predstavo bi morala vsebovati tri cela stevila "
                       "(ne pa " + quoted(line, is) + ")",
                   __FILE__, __LINE__);
  return screening;
}

// The last screening line must be the end of the file: not one byte more.
void checkEndOfFile(InputFile& is, int32_t nScreenings) {
  char byte;
  if (is.get(byte))
    raiseAssertion("za podatkom o " + intToStr(nScreenings) +
                       ". predstavi bi moral biti konec datoteke" +
                       afterCutNote(is),
                   __FILE__, __LINE__);
}

}  // namespace

void Submission::read(InputFile& is) {
  contestantNo = readContestantNo(is);
  readTaskName(is);
  caseNo = readCaseNo(is);
  screenings.clear();
  int32_t nScreenings = readScreeningCount(is);
  order.clear();
  // The list grows line by line: the declared count may be far larger than
  // the file, and is never trusted to reserve memory.
  for (int64_t k = 1; k <= nScreenings; ++k)
    screenings.push_back(readScreening(is, k));
  checkEndOfFile(is, nScreenings);
}
