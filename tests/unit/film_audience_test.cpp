#include "simulation/fast/film_audience.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// The viewers at the edges of the codes' words, and others.
const int32_t NViewers = 100;
const int32_t Viewers[] = {0, 1, 30, 31, 32, 33, 63, 64, 65, 98, 99};

std::vector<Viewing> recordsOf(const FilmAudience& audience) {
  std::vector<Viewing> seen;
  audience.appendTo(seen);
  return seen;
}

TEST(FilmAudience, CountsEveryViewingOfEveryViewer) {
  // Viewer Viewers[i] sees the film i times, interleaved with the others,
  // so that codes change beside each other within one word.
  FilmAudience audience;
  audience.resize(NViewers);
  std::map<int32_t, int32_t> expected;
  const int32_t NKinds = static_cast<int32_t>(sizeof Viewers / sizeof *Viewers);
  for (int32_t round = 0; round < NKinds; ++round) {
    for (int32_t i = round + 1; i < NKinds; ++i) {
      audience.addViewing(Viewers[i]);
      ++expected[Viewers[i]];
    }
  }
  for (int32_t v = 0; v < NViewers; ++v) {
    const int32_t count = expected.count(v) != 0 ? expected[v] : 0;
    ASSERT_EQ(audience.countOf(v), count) << "viewer " << v;
    ASSERT_EQ(seenCodeOf(audience.codes(), v),
              count < SeenMore ? count : static_cast<int32_t>(SeenMore))
        << "viewer " << v;
  }
  const std::vector<Viewing> seen = recordsOf(audience);
  ASSERT_EQ(seen.size(), expected.size());
  size_t i = 0;
  for (const auto& entry : expected) {
    EXPECT_EQ(seen[i].iViewer, entry.first);
    EXPECT_EQ(seen[i].nSeen, entry.second);
    ++i;
  }
}

TEST(FilmAudience, AssignReadsAListAndReplacesWhatWasThere) {
  FilmAudience audience;
  audience.resize(NViewers);
  for (int32_t v : Viewers) audience.addViewing(v);
  const std::vector<Viewing> list = {
      {0, 5}, {31, 1}, {32, 2}, {33, 3}, {64, 1100}, {99, 1}};
  audience.assign(list);
  const std::vector<Viewing> seen = recordsOf(audience);
  ASSERT_EQ(seen.size(), list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(seen[i].iViewer, list[i].iViewer);
    EXPECT_EQ(seen[i].nSeen, list[i].nSeen);
  }
  EXPECT_EQ(audience.countOf(1), 0);
  EXPECT_EQ(audience.countOf(64), 1100);
  // Viewings counted after the list: the repeaters stay sorted when one
  // comes in between them.
  audience.addViewing(32);
  audience.addViewing(1);
  audience.addViewing(64);
  EXPECT_EQ(audience.countOf(32), 3);
  EXPECT_EQ(audience.countOf(1), 1);
  EXPECT_EQ(audience.countOf(64), 1101);
  EXPECT_EQ(audience.countOf(33), 3);
  EXPECT_EQ(audience.countOf(0), 5);
}

TEST(FilmAudience, AppendsAfterTheRecordsAlreadyThere) {
  FilmAudience audience;
  audience.resize(NViewers);
  audience.addViewing(99);
  std::vector<Viewing> seen = {{7, 1}};
  audience.appendTo(seen);
  ASSERT_EQ(seen.size(), 2U);
  EXPECT_EQ(seen[1].iViewer, 99);
  FilmAudience empty;
  empty.resize(1);
  EXPECT_TRUE(recordsOf(empty).empty());
}

}  // namespace
