#include "statistics/paired_comparison.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "statistics/paired_verdict_text.h"
#include "statistics/percentile_bootstrap.h"
#include "statistics/sign_test.h"
#include "statistics/signed_rank_test.h"
#include "statistics/splitmix64.h"

// The expected p-values were computed apart from this code: binomial tails
// as exact fractions of integer binomial coefficients, signed-rank tails by
// enumerating every sign pattern, and the normal approximation by hand with
// exact fractions for the ranks and the tie term.

namespace {

// Cases of one run each with the given old and new counts.
std::vector<PairedCase> singleRuns(const std::vector<std::pair<int64_t, int64_t>>& pairs) {
  std::vector<PairedCase> cases;
  for (const auto& pair : pairs) cases.push_back({{pair.first}, {pair.second}});
  return cases;
}

// Differences +-1 .. +-n whose positive ones have the given magnitudes.
std::vector<double> signedRanks(int n, const std::vector<int>& positive) {
  std::vector<double> differences;
  for (int rank = 1; rank <= n; ++rank) differences.push_back(-rank);
  for (int rank : positive) differences[static_cast<size_t>(rank - 1)] = rank;
  return differences;
}

// Every figure that a caller writes to JSON.
void expectFinite(const PairedStatistics& s) {
  const double figures[] = {s.signTestP,
                            s.wilcoxonP,
                            s.geometricMeanRatio,
                            s.geometricMeanRatioCi95.low,
                            s.geometricMeanRatioCi95.high,
                            s.meanRelativeChange,
                            s.meanRelativeChangeCi95.low,
                            s.meanRelativeChangeCi95.high};
  for (double figure : figures) EXPECT_TRUE(std::isfinite(figure)) << figure;
  for (const CaseChange& change : s.changes) {
    EXPECT_TRUE(std::isfinite(change.standardError));
    EXPECT_TRUE(std::isfinite(change.inStandardErrors));
  }
}

// Cases whose true geometric mean ratio is 1.05: log ratios spread evenly
// over ln 1.05 +- 0.1, as a uniform sample would be without its luck.
std::vector<PairedCase> ratioNear105(size_t n) {
  std::vector<PairedCase> cases;
  for (size_t i = 0; i < n; ++i) {
    const double unit = (static_cast<double>(i) + 0.5) / static_cast<double>(n);
    const double logRatio = std::log(1.05) + 0.2 * unit - 0.1;
    cases.push_back({{1000000}, {std::llround(1000000 * std::exp(logRatio))}});
  }
  return cases;
}

// Equal ratios written with other scales and run counts: 1.1 four times,
// 1/1.1 twice, 1.2, 0.9 and 1.05 three times each (one of them 1/1.05),
// 1.02, 1.15 and 1.25 twice each; and two equal cases. 28 are ranked, W+ is
// 301, sum(t^3 - t) is 300 and the variance 7689/4.
std::vector<PairedCase> tiedRatioCases() {
  return {{{100}, {110}},  {{10}, {11}},    {{200, 200}, {220, 220}}, {{1000}, {1100}},
          {{110}, {100}},  {{11, 11, 11}, {10, 10, 10}},             {{100}, {120}},
          {{50}, {60}},    {{300}, {360}},  {{100}, {90}},            {{10}, {9}},
          {{200}, {180}},  {{100}, {105}},  {{20}, {21}},             {{105}, {100}},
          {{100}, {130}},  {{100}, {100}},  {{7, 7}, {7, 7}},         {{100}, {95}},
          {{100}, {102}},  {{50}, {51}},    {{100}, {140}},           {{100}, {98}},
          {{100}, {115}},  {{40}, {46}},    {{100}, {97}},            {{100}, {125}},
          {{80}, {100}},   {{100}, {108}},  {{100}, {103}}};
}

TEST(PairedSignTest, MatchesExactBinomialTails) {
  EXPECT_EQ(2 * std::ldexp(1.0, -12), signTestPValue(0, 12));
  EXPECT_EQ(2 * std::ldexp(1.0, -12), signTestPValue(12, 0));
  EXPECT_EQ(0.109375, signTestPValue(8, 2));
  EXPECT_EQ(1.0, signTestPValue(5, 5));  // the middle term counts in both tails
  EXPECT_EQ(1.0, signTestPValue(0, 0));
  EXPECT_EQ(1.0, signTestPValue(1, 0));
}

TEST(PairedSignTest, StaysAccurateForLargeCounts) {
  // n = 1001 is past the direct sums; n = 100000 would overflow them.
  EXPECT_NEAR(0.20610731083295322, signTestPValue(480, 521), 1e-9 * 0.206);
  EXPECT_NEAR(0.0015823598788515956, signTestPValue(49500, 50500), 1e-8 * 0.00158);
  EXPECT_NEAR(2.588716038346898e-10, signTestPValue(51000, 49000), 1e-8 * 2.59e-10);
  EXPECT_EQ(1.0, signTestPValue(50000, 50000));
  EXPECT_EQ(0.0, signTestPValue(0, 100000));  // 2^-99999 is below every double
}

TEST(PairedSignedRankTest, MatchesTheExactDistributionAtTheTablesCriticalValue) {
  // n = 10: the two-sided 5 % critical value is W = 8.
  SignedRankResult atCritical = signedRankTest(signedRanks(10, {1, 3, 4}), 0);
  EXPECT_TRUE(atCritical.exact);
  EXPECT_EQ(8, atCritical.positiveRankSum);
  EXPECT_EQ(0.048828125, atCritical.pValue);
  EXPECT_EQ(0.064453125, signedRankTest(signedRanks(10, {2, 3, 4}), 0).pValue);
  // The mirror image has W+ = 55 - 8 and the same p-value.
  EXPECT_EQ(0.048828125,
            signedRankTest(signedRanks(10, {2, 5, 6, 7, 8, 9, 10}), 0).pValue);
  EXPECT_EQ(0.00048828125,
            signedRankTest(signedRanks(12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), 0).pValue);
}

TEST(PairedSignedRankTest, LeavesOutZerosAndSwitchesToTheNormalPastTheExactLimit) {
  std::vector<double> withZeros = signedRanks(10, {1, 3, 4});
  withZeros.push_back(0);
  withZeros.push_back(0);
  SignedRankResult result = signedRankTest(withZeros, 0);
  EXPECT_EQ(10u, result.nonzero);
  EXPECT_EQ(0.048828125, result.pValue);
  EXPECT_TRUE(signedRankTest(signedRanks(25, {1}), 0).exact);
  EXPECT_FALSE(signedRankTest(signedRanks(26, {1}), 0).exact);
  SignedRankResult none = signedRankTest({0, 0}, 0);
  EXPECT_EQ(0u, none.nonzero);
  EXPECT_EQ(1.0, none.pValue);
}

TEST(PairedBootstrap, UsesSplitMix64sPublishedSequence) {
  SplitMix64 random(0);
  EXPECT_EQ(0xE220A8397B1DCDAFu, random.next());
  EXPECT_EQ(0x6E789E6AA1B965F4u, random.next());
  EXPECT_EQ(0x06C45D188009454Fu, random.next());
  SplitMix64 single(7);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(0u, single.below(1));
}

TEST(PairedBootstrap, GivesOneValueItselfAndNothingForNone) {
  const ConfidenceInterval one = bootstrapMeanInterval95({0.1}, 5);
  EXPECT_EQ(0.1, one.low);
  EXPECT_EQ(0.1, one.high);
  const ConfidenceInterval none = bootstrapMeanInterval95({}, 5);
  EXPECT_EQ(0.0, none.low);
  EXPECT_EQ(0.0, none.high);
}

TEST(PairedComparison, TiedRatiosGoToTheNormalApproximation) {
  PairedStatistics statistics = comparePaired(tiedRatioCases());
  EXPECT_EQ(19u, statistics.better);
  EXPECT_EQ(9u, statistics.worse);
  EXPECT_EQ(2u, statistics.equal);
  EXPECT_EQ(28u, statistics.rankedCases);
  EXPECT_FALSE(statistics.wilcoxonExact);
  EXPECT_NEAR(0.02616054028247861, statistics.wilcoxonP, 1e-12);
  EXPECT_NEAR(0.08715855330228806, statistics.signTestP, 1e-15);
  EXPECT_EQ(Verdict::Better, statistics.verdict);
}

TEST(PairedComparison, ARunAgainstItselfIsAllEqual) {
  std::vector<PairedCase> cases = {
      {{120, 135, 128}, {120, 135, 128}}, {{0, 0}, {0, 0}}, {{7}, {7}}, {{999, 1001}, {999, 1001}}};
  PairedStatistics statistics = comparePaired(cases);
  EXPECT_EQ(0u, statistics.better);
  EXPECT_EQ(0u, statistics.worse);
  EXPECT_EQ(4u, statistics.equal);
  EXPECT_EQ(1.0, statistics.signTestP);
  EXPECT_EQ(1.0, statistics.wilcoxonP);
  EXPECT_EQ(3u, statistics.logRatioCases);
  EXPECT_EQ(0u, statistics.rankedCases);
  EXPECT_EQ(1.0, statistics.geometricMeanRatio);
  EXPECT_EQ(1.0, statistics.geometricMeanRatioCi95.low);
  EXPECT_EQ(1.0, statistics.geometricMeanRatioCi95.high);
  EXPECT_EQ(0.0, statistics.meanRelativeChange);
  EXPECT_EQ(0.0, statistics.meanRelativeChangeCi95.low);
  EXPECT_EQ(0.0, statistics.meanRelativeChangeCi95.high);
  EXPECT_EQ(0u, statistics.beyondTwoStandardErrors);
  EXPECT_EQ(Verdict::NotDistinguishable, statistics.verdict);
}

TEST(PairedComparison, MeansAreComparedExactlyBeyondDoublePrecision) {
  const int64_t big = int64_t{1} << 60;  // sums near 2^63, products past 2^64
  PairedStatistics statistics = comparePaired({
      {{big, big, big, big, big, big}, {big, big, big, big, big}},      // equal
      {{big, big, big, big, big, big}, {big, big, big, big, big + 1}},  // higher by 1/5
      {{big + 1, big, big, big, big, big}, {big, big, big, big, big}},  // lower by 1/6
      {{1, 2, 3}, {2, 2}},                                              // equal
  });
  EXPECT_EQ(0, statistics.changes[0].direction);
  EXPECT_EQ(1, statistics.changes[1].direction);
  EXPECT_EQ(-1, statistics.changes[2].direction);
  EXPECT_EQ(0, statistics.changes[3].direction);
  EXPECT_EQ(1u, statistics.better);
  EXPECT_EQ(1u, statistics.worse);
  EXPECT_EQ(2u, statistics.equal);
  expectFinite(statistics);
}

TEST(PairedComparison, CountsChangesBeyondTwoStandardErrors) {
  PairedStatistics statistics = comparePaired({
      {{10, 12, 14}, {15, 17, 19}},  // SE sqrt(8/3), change 5: beyond
      {{10, 14}, {11, 15}},          // SE sqrt(8), change 1: within
      {{5, 5}, {6, 6}},              // SE 0, changed: beyond
      {{5}, {5}},                    // SE 0, unchanged
      {{10, 14}, {16, 20}},          // SE sqrt(8), change 6: beyond
      {{10, 14}, {16}},              // SE 2, change 4: exactly two, within
  });
  EXPECT_EQ(3u, statistics.beyondTwoStandardErrors);
  const std::vector<CaseChange>& c = statistics.changes;
  EXPECT_DOUBLE_EQ(1.632993161855452, c[0].standardError);
  EXPECT_DOUBLE_EQ(3.0618621784789726, c[0].inStandardErrors);
  EXPECT_DOUBLE_EQ(0.35355339059327373, c[1].inStandardErrors);
  EXPECT_EQ(0.0, c[2].standardError);
  EXPECT_EQ(0.0, c[2].inStandardErrors);
  EXPECT_EQ(1, c[2].direction);
  EXPECT_EQ(0, c[3].direction);
  EXPECT_DOUBLE_EQ(2.1213203435596424, c[4].inStandardErrors);
  EXPECT_EQ(2.0, c[5].standardError);
  EXPECT_EQ(2.0, c[5].inStandardErrors);
}

TEST(PairedComparison, ZeroScoresStayFiniteAndTheSignTestDecidesForThem) {
  PairedStatistics empty = comparePaired({});
  expectFinite(empty);
  EXPECT_EQ(Verdict::NotDistinguishable, empty.verdict);

  PairedStatistics edges = comparePaired(
      {{{0}, {0}}, {{0}, {5}}, {{5}, {0}}, {{}, {3}}, {{4, 4}, {}}, {{3}, {6}}});
  expectFinite(edges);
  EXPECT_EQ(2u, edges.better);  // the cases without runs count nowhere
  EXPECT_EQ(1u, edges.worse);
  EXPECT_EQ(1u, edges.equal);
  EXPECT_EQ(1u, edges.logRatioCases);
  EXPECT_EQ(2u, edges.relativeChangeCases);
  EXPECT_DOUBLE_EQ(0, edges.meanRelativeChange);  // (-1 + 1) / 2
  EXPECT_DOUBLE_EQ(2, edges.geometricMeanRatio);

  // Twelve cases from nothing to something: no logarithms, so the sign test.
  std::vector<PairedCase> fromZero(12, PairedCase{{0, 0}, {3, 5}});
  PairedStatistics rising = comparePaired(fromZero);
  EXPECT_EQ(0u, rising.rankedCases);
  EXPECT_EQ(Verdict::Better, rising.verdict);
  for (PairedCase& c : fromZero) std::swap(c.oldRuns, c.newRuns);
  EXPECT_EQ(Verdict::Worse, comparePaired(fromZero).verdict);
}

TEST(PairedBootstrap, IsReproducibleAndCoversTheTrueRatioMoreTightlyWithMoreCases) {
  const std::vector<PairedCase> few = ratioNear105(40);
  PairedStatistics first = comparePaired(few);
  PairedStatistics second = comparePaired(few);
  EXPECT_EQ(first.geometricMeanRatioCi95.low, second.geometricMeanRatioCi95.low);
  EXPECT_EQ(first.geometricMeanRatioCi95.high, second.geometricMeanRatioCi95.high);
  EXPECT_EQ(first.meanRelativeChangeCi95.low, second.meanRelativeChangeCi95.low);
  EXPECT_EQ(first.meanRelativeChangeCi95.high, second.meanRelativeChangeCi95.high);

  PairedStatistics many = comparePaired(ratioNear105(640));
  for (const PairedStatistics* s : {&first, &many}) {
    EXPECT_LT(s->geometricMeanRatioCi95.low, 1.05);
    EXPECT_GT(s->geometricMeanRatioCi95.high, 1.05);
    EXPECT_LT(s->geometricMeanRatioCi95.low, s->geometricMeanRatio);
    EXPECT_GT(s->geometricMeanRatioCi95.high, s->geometricMeanRatio);
  }
  const double fewWidth = first.geometricMeanRatioCi95.high - first.geometricMeanRatioCi95.low;
  const double manyWidth = many.geometricMeanRatioCi95.high - many.geometricMeanRatioCi95.low;
  // The width shrinks as one over the root of the count: by about four here.
  EXPECT_LT(manyWidth, fewWidth / 3);
  EXPECT_GT(manyWidth, fewWidth / 6);
}

TEST(PairedVerdictText, NamesTheSideAndTheFigures) {
  std::vector<std::pair<int64_t, int64_t>> pairs;
  for (int64_t i = 1; i <= 12; ++i) pairs.push_back({1000, 1000 + 10 * i});
  PairedStatistics better = comparePaired(singleRuns(pairs));
  EXPECT_EQ(Verdict::Better, better.verdict);
  const std::string text = pairedVerdictText(better);
  // exp(mean ln(1 + i/100)) over i = 1 .. 12 is 1.0644 to four decimals.
  EXPECT_EQ(0u, text.find("Nova razlicica je boljsa: Wilcoxon p = 4.88e-4, predznacni test p = "
                          "4.88e-4, geometrijsko povprecje razmerij 1.0644 (95 % interval "))
      << text;
  EXPECT_NE(std::string::npos, text.find("), boljsih 12, slabsih 0, enakih 0")) << text;

  for (auto& pair : pairs) std::swap(pair.first, pair.second);
  PairedStatistics worse = comparePaired(singleRuns(pairs));
  EXPECT_EQ(Verdict::Worse, worse.verdict);
  EXPECT_EQ(0u, pairedVerdictText(worse).find("Nova razlicica je slabsa: Wilcoxon p = 4.88e-4"));

  PairedStatistics same = comparePaired({{{120, 135, 128}, {120, 135, 128}}, {{0, 0}, {0, 0}},
                                          {{7}, {7}}, {{999, 1001}, {999, 1001}}});
  EXPECT_EQ(
      "Nova razlicica ni razlocljiva od stare pri 5 %: Wilcoxon p = 1.00, predznacni test p = "
      "1.00, geometrijsko povprecje razmerij 1.0000 (95 % interval 1.0000 do 1.0000), boljsih 0, "
      "slabsih 0, enakih 4",
      pairedVerdictText(same));

  const std::string tied = pairedVerdictText(comparePaired(tiedRatioCases()));
  EXPECT_NE(std::string::npos,
            tied.find("je boljsa: Wilcoxon p = 0.0262, predznacni test p = 0.0872, "))
      << tied;
}

}  // namespace
