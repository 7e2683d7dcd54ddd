#include "statistics/paired_verdict_text.h"

#include <cmath>
#include <cstdint>

namespace {

// Below this many decimals three significant digits are written with an
// exponent: 0.00123 stays, 0.000123 becomes 1.23e-4.
const int MostPlainDecimals = 5;
// Larger scaled values leave llround's range; they are written with an
// exponent too.
const double LargestScaled = 1e15;

// `digits` with a decimal point before its last `decimals` digits, padded
// with leading zeros so that one digit stands before the point.
std::string withDecimalPoint(uint64_t digits, int decimals) {
  std::string text = std::to_string(digits);
  if (decimals <= 0) return text;
  const size_t places = static_cast<size_t>(decimals);
  if (text.size() <= places) text.insert(0, places + 1 - text.size(), '0');
  text.insert(text.size() - places, ".");
  return text;
}

std::string threeSignificant(double value) {
  if (!(value > 0) || !std::isfinite(value)) return "0";
  int decimals = 0;  // the value is about m / 10^decimals, 100 <= m < 1000
  double scaled = value;
  for (; scaled < 100; ++decimals) scaled *= 10;
  for (; scaled >= 1000; --decimals) scaled /= 10;
  uint64_t digits = static_cast<uint64_t>(std::llround(scaled));
  if (digits == 1000) {  // 999.5 and above round up a digit
    digits = 100;
    --decimals;
  }
  if (decimals >= 0 && decimals <= MostPlainDecimals) return withDecimalPoint(digits, decimals);
  return withDecimalPoint(digits, 2) + "e" + std::to_string(2 - decimals);
}

std::string fixedFour(double value) {
  const double scaled = std::fabs(value) * 10000;
  if (!std::isfinite(value) || scaled >= LargestScaled) return threeSignificant(value);
  const std::string sign = value < 0 && std::llround(scaled) != 0 ? "-" : "";
  return sign + withDecimalPoint(static_cast<uint64_t>(std::llround(scaled)), 4);
}

std::string verdictWords(Verdict verdict) {
  switch (verdict) {
    case Verdict::Better:
      return "Nova razlicica je boljsa";
    case Verdict::Worse:
      return "Nova razlicica je slabsa";
    case Verdict::NotDistinguishable:
      break;
  }
  return "Nova razlicica ni razlocljiva od stare pri 5 %";
}

}  // namespace

std::string pairedVerdictText(const PairedStatistics& statistics) {
  return verdictWords(statistics.verdict) +
         ": Wilcoxon p = " + threeSignificant(statistics.wilcoxonP) +
         ", predznacni test p = " + threeSignificant(statistics.signTestP) +
         ", geometrijsko povprecje razmerij " + fixedFour(statistics.geometricMeanRatio) +
         " (95 % interval " + fixedFour(statistics.geometricMeanRatioCi95.low) + " do " +
         fixedFour(statistics.geometricMeanRatioCi95.high) + "), boljsih " +
         std::to_string(statistics.better) + ", slabsih " + std::to_string(statistics.worse) +
         ", enakih " + std::to_string(statistics.equal);
}
