#ifndef SKEDOMAT_SIMULATION_SIMULATION_H
#define SKEDOMAT_SIMULATION_SIMULATION_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulation/choice_model_path.h"
#include "simulation/viewer_columns.h"

struct Screening;
struct Submission;
struct TestCase;

// Who has seen a film in the current run, and how often.
struct Viewing {
  int32_t iViewer;
  int32_t nSeen;
};

// Fills the first k positions of `candidates` (k < its length) with a
// uniformly random selection of its entries, in random order.
void pickRandomPrefix(std::vector<int32_t>& candidates, int32_t k);

// One run of the audience simulation over a validated schedule: plays the
// screenings in start order, seats each one's audience and counts the tickets.
class Simulation {
 public:
  explicit Simulation(const TestCase& testCase)
      : testCase(testCase), choiceModelPath(fastestChoiceModelPath()) {}

  // Plays the whole schedule; afterwards nTicketsSold is the run's result.
  void run(const Submission& submission);

  // Clears the run's state and rebuilds the factor tables.
  void reset();
  // Draws the viewers who want a ticket for `screening`; when there are more
  // than seats, the lottery's winners come first.
  void collectCandidates(const Screening& screening,
                         std::vector<int32_t>& candidates);
  // Seats the winners of `candidates` and records their visit.
  void admit(const Screening& screening, std::vector<int32_t>& candidates);

  const TestCase& testCase;
  std::vector<int32_t> lastDay;                // per viewer; -367 before any visit
  std::vector<std::vector<Viewing>> viewings;  // per film, sorted by iViewer
  int32_t nTicketsSold = 0;
  // How collectCandidates computes the chances; the fastest by default, any
  // supported path gives the same run.
  ChoiceModelPath choiceModelPath;

 private:
  // The choice model one viewer at a time, as it is defined.
  void collectReference(const Screening& screening,
                        std::vector<int32_t>& candidates);
  // The same over the viewer columns with the kernel of choiceModelPath.
  void collectBatched(const Screening& screening,
                      std::vector<int32_t>& candidates);
  // Sizes the columns and the admission scratch for the test case.
  void buildScratch();
  // The same, if reset has not.
  void prepareScratch();
  // Puts the viewing counts of the film's viewers into
  // columns.repeatCount, after clearing any left by another pass, adding up
  // the records of a viewer with several; counts them in repeatedRecords.
  void scatterRepeatCounts(int32_t movieNo);
  // Seats the winners of `candidates` as admit does, but appends a record
  // of one viewing for each of them to the film's list, which becomes a log
  // in which a viewer may have several records, in any order.
  void admitToLog(const Screening& screening,
                  std::vector<int32_t>& candidates);
  // Replaces the records of `seen` by one per viewer with their sum,
  // sorted by iViewer.
  void mergeAndSort(std::vector<Viewing>& seen);
  // mergeAndSort on every film's list.
  void sortViewings();
  // Inserts the ascending `newcomers`, none of them in `seen` yet, with one
  // viewing each, keeping `seen` sorted by iViewer; adds a viewing to every
  // record whose scattered count admit marked as seated, and clears the
  // scattered counts.
  void recordVisits(std::vector<Viewing>& seen);

  static const int32_t NoMovie = -1;
  ViewerColumns columns;  // rebuilt by reset
  // The film whose viewers' counts columns.repeatCount holds: the batched
  // pass leaves them for the admit of the same screening, which clears them.
  int32_t scatteredMovie = NoMovie;
  // Scratch of admit: the screening's newcomers.
  std::vector<int32_t> newcomers;
  // How many records of the scattered film's list repeat a viewer of an
  // earlier record.
  size_t repeatedRecords = 0;
  // Scratch of mergeAndSort, 0 between uses: per viewer, the sum of its
  // records, and one bit per viewer.
  std::vector<int32_t> totalSeen;
  std::vector<uint64_t> hasRecord;
};

#endif  // SKEDOMAT_SIMULATION_SIMULATION_H
