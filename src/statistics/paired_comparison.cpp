#include "statistics/paired_comparison.h"

#include <cmath>

#include "statistics/sign_test.h"
#include "statistics/signed_rank_test.h"

namespace {

// Fixed seeds, so that the same runs always give the same intervals.
const uint64_t GeometricRatioSeed = 0x536B65646F6D6174u;
const uint64_t RelativeChangeSeed = GeometricRatioSeed + 1;

// Log ratios closer than this are the same ratio of means written with
// other run counts; rounding in the logarithms moves them by a few units
// in the last place only, far below it.
const double LogRatioTieTolerance = 1e-12;

struct Score {
  int64_t sum = 0;
  uint64_t runs = 0;
  double mean = 0;
  double sampleVariance = 0;  // 0 with a single run
};

Score scoreOf(const std::vector<int64_t>& runs) {
  Score score;
  score.runs = runs.size();
  for (int64_t count : runs) score.sum += count;
  if (runs.empty()) return score;
  score.mean = static_cast<double>(score.sum) / static_cast<double>(score.runs);
  if (runs.size() < 2) return score;
  double squares = 0;
  for (int64_t count : runs) {
    const double deviation = static_cast<double>(count) - score.mean;
    squares += deviation * deviation;
  }
  score.sampleVariance = squares / static_cast<double>(score.runs - 1);
  return score;
}

// The full 128-bit product of a and b, from four 32-bit partial products.
void multiplyWide(uint64_t a, uint64_t b, uint64_t& high, uint64_t& low) {
  const uint64_t mask = 0xFFFFFFFFu;
  const uint64_t lowLow = (a & mask) * (b & mask);
  const uint64_t lowHigh = (a & mask) * (b >> 32);
  const uint64_t highLow = (a >> 32) * (b & mask);
  const uint64_t highHigh = (a >> 32) * (b >> 32);
  const uint64_t middle = (lowLow >> 32) + (lowHigh & mask) + (highLow & mask);
  low = (lowLow & mask) | (middle << 32);
  high = highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
}

// The sign of a * b - c * d, exactly.
int compareProducts(uint64_t a, uint64_t b, uint64_t c, uint64_t d) {
  uint64_t leftHigh, leftLow, rightHigh, rightLow;
  multiplyWide(a, b, leftHigh, leftLow);
  multiplyWide(c, d, rightHigh, rightLow);
  if (leftHigh != rightHigh) return leftHigh > rightHigh ? 1 : -1;
  if (leftLow != rightLow) return leftLow > rightLow ? 1 : -1;
  return 0;
}

int signOf(int64_t x) { return (x > 0) - (x < 0); }

uint64_t magnitudeOf(int64_t x) {
  return x < 0 ? 0 - static_cast<uint64_t>(x) : static_cast<uint64_t>(x);
}

// The sign of newer's mean minus older's: of newSum * oldRuns - oldSum * newRuns.
int compareMeans(const Score& newer, const Score& older) {
  const int newSign = signOf(newer.sum);
  const int oldSign = signOf(older.sum);
  if (newSign != oldSign) return newSign > oldSign ? 1 : -1;
  if (newSign == 0) return 0;
  const int byMagnitude = compareProducts(magnitudeOf(newer.sum), older.runs,
                                          magnitudeOf(older.sum), newer.runs);
  return newSign > 0 ? byMagnitude : -byMagnitude;
}

CaseChange changeOf(const Score& newer, const Score& older) {
  CaseChange change;
  change.direction = compareMeans(newer, older);
  change.standardError =
      std::sqrt(older.sampleVariance / static_cast<double>(older.runs) +
                newer.sampleVariance / static_cast<double>(newer.runs));
  if (change.direction != 0 && change.standardError > 0)
    change.inStandardErrors = (newer.mean - older.mean) / change.standardError;
  return change;
}

bool beyondTwoStandardErrors(const CaseChange& change, const Score& newer, const Score& older) {
  if (change.direction == 0) return false;
  return change.standardError == 0 ||
         std::fabs(newer.mean - older.mean) > 2 * change.standardError;
}

double meanOf(const std::vector<double>& values) {
  double sum = 0;
  for (double value : values) sum += value;
  return sum / static_cast<double>(values.size());
}

void countChange(const CaseChange& change, PairedStatistics& statistics) {
  if (change.direction > 0)
    ++statistics.better;
  else if (change.direction < 0)
    ++statistics.worse;
  else
    ++statistics.equal;
}

void estimateGeometricRatio(const std::vector<double>& logRatios, PairedStatistics& statistics) {
  statistics.logRatioCases = logRatios.size();
  const SignedRankResult ranks = signedRankTest(logRatios, LogRatioTieTolerance);
  statistics.rankedCases = ranks.nonzero;
  statistics.wilcoxonExact = ranks.exact;
  statistics.wilcoxonP = ranks.pValue;
  if (logRatios.empty()) return;
  statistics.geometricMeanRatio = std::exp(meanOf(logRatios));
  const ConfidenceInterval logInterval = bootstrapMeanInterval95(logRatios, GeometricRatioSeed);
  statistics.geometricMeanRatioCi95 = {std::exp(logInterval.low), std::exp(logInterval.high)};
}

void estimateRelativeChange(const std::vector<double>& relativeChanges,
                            PairedStatistics& statistics) {
  statistics.relativeChangeCases = relativeChanges.size();
  if (relativeChanges.empty()) return;
  statistics.meanRelativeChange = meanOf(relativeChanges);
  statistics.meanRelativeChangeCi95 =
      bootstrapMeanInterval95(relativeChanges, RelativeChangeSeed);
}

Verdict decide(const PairedStatistics& statistics) {
  const size_t changed = statistics.better + statistics.worse;
  if (2 * statistics.rankedCases >= changed) {
    if (statistics.wilcoxonP >= VerdictLevel) return Verdict::NotDistinguishable;
    if (statistics.geometricMeanRatio > 1) return Verdict::Better;
    if (statistics.geometricMeanRatio < 1) return Verdict::Worse;
    return Verdict::NotDistinguishable;
  }
  if (statistics.signTestP >= VerdictLevel) return Verdict::NotDistinguishable;
  if (statistics.better > statistics.worse) return Verdict::Better;
  if (statistics.worse > statistics.better) return Verdict::Worse;
  return Verdict::NotDistinguishable;
}

}  // namespace

PairedStatistics comparePaired(const std::vector<PairedCase>& cases) {
  PairedStatistics statistics;
  statistics.changes.resize(cases.size());
  std::vector<double> logRatios;
  std::vector<double> relativeChanges;
  for (size_t i = 0; i < cases.size(); ++i) {
    if (cases[i].oldRuns.empty() || cases[i].newRuns.empty()) continue;
    const Score older = scoreOf(cases[i].oldRuns);
    const Score newer = scoreOf(cases[i].newRuns);
    const CaseChange change = changeOf(newer, older);
    statistics.changes[i] = change;
    countChange(change, statistics);
    if (beyondTwoStandardErrors(change, newer, older)) ++statistics.beyondTwoStandardErrors;
    if (older.mean > 0 && newer.mean > 0)
      logRatios.push_back(std::log(newer.mean) - std::log(older.mean));
    if (older.mean > 0) relativeChanges.push_back(newer.mean / older.mean - 1);
  }
  statistics.signTestP = signTestPValue(statistics.better, statistics.worse);
  estimateGeometricRatio(logRatios, statistics);
  estimateRelativeChange(relativeChanges, statistics);
  statistics.verdict = decide(statistics);
  return statistics;
}
